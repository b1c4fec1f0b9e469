// Element records that a scene type subclass reads with AddElementFromKeys into the scene's
// element list and wants to find again by name. The type's Load sorts that list by
// priority, so the records are remembered as slots that follow the sort.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "engine/entity/PXEntity2DScene.h"

class PXSceneRecordSlots {
public:
    // Appends the record read from prefix + "Ent", "EntPos", "EntPriority" to `list` and
    // returns its slot.
    int Add(const std::string& prefix, const PXDefinitionBlock& block, std::vector<PXSceneElement>& list);
    // Sorts `list` by priority, stable, exactly as the scene type's Load does, and keeps every
    // slot on its record. Call it before the base Load.
    void Sort(std::vector<PXSceneElement>& list);
    // The slot's record, or none for an unknown slot.
    PXSceneElement* Get(std::vector<PXSceneElement>& list, int slot) const;

private:
    std::vector<size_t> m_index;  // slot -> position in the list
};
