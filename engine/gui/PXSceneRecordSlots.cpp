// Slots for named scene element records that survive the priority sort.
#include "engine/gui/PXSceneRecordSlots.h"

#include <algorithm>
#include <numeric>

int PXSceneRecordSlots::Add(const std::string& prefix, const PXDefinitionBlock& block,
                            std::vector<PXSceneElement>& list)
{
    PXEntity2DSceneType::AddElementFromKeys(prefix, block, list);
    m_index.push_back(list.size() - 1);
    return static_cast<int>(m_index.size() - 1);
}

void PXSceneRecordSlots::Sort(std::vector<PXSceneElement>& list)
{
    std::vector<size_t> order(list.size());
    std::iota(order.begin(), order.end(), size_t{0});
    std::stable_sort(order.begin(), order.end(),
                     [&list](size_t a, size_t b) { return list[a].priority < list[b].priority; });
    std::vector<size_t> newPosition(list.size());
    std::vector<PXSceneElement> sorted;
    sorted.reserve(list.size());
    for (size_t i = 0; i < order.size(); ++i) {
        newPosition[order[i]] = i;
        sorted.push_back(std::move(list[order[i]]));
    }
    list = std::move(sorted);
    for (size_t& index : m_index) {
        index = newPosition[index];
    }
}

PXSceneElement* PXSceneRecordSlots::Get(std::vector<PXSceneElement>& list, int slot) const
{
    if (slot < 0 || static_cast<size_t>(slot) >= m_index.size() || m_index[static_cast<size_t>(slot)] >= list.size()) {
        return nullptr;
    }
    return &list[m_index[static_cast<size_t>(slot)]];
}
