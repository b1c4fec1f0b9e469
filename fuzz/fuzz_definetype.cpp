// Fuzz target: DefineType over random definition files (split at form feeds) with a few
// registered classes, then entity creation from everything that was defined.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "engine/core/PXGlobals.h"
#include "engine/entity/PXDefinitionBlock.h"
#include "engine/entity/PXEntityRegistry.h"

namespace {

// Reads keys of every form, like a concrete element type, and holds entities of its children.
class FuzzType : public PXEntityBaseType {
public:
    FuzzType(const PXDefinitionBlock* block, uint32_t kind) : m_kind(kind)
    {
        if (!block)
            return;
        if (block->FindKey("Pos"))
            block->ReadInts(m_pos, 2);
        if (block->FindKey("Text"))
            block->ReadString(&m_text);
        if (block->FindKey("Color"))
            block->ReadColor(&m_color);
        for (const char* key : {"MainImageEnt", "FontEnt", "CursorEnt"}) {
            PXEntityRef ref;
            if (block->FindKey(key) && block->ReadEntityRef(&ref))
                m_children.push_back(ref);
        }
    }
    std::unique_ptr<PXEntityBase> CreateEntity() override { return std::make_unique<PXEntityBase>(this); }
    bool Load(bool reload) override
    {
        if (reload)
            Unload();
        if (!m_loaded && g_entityRegistry) {
            for (const PXEntityRef& ref : m_children) {
                if (auto child = g_entityRegistry->CreateEntity(ref, PXKind::GuiElement))
                    m_entities.push_back(std::move(child));
            }
        }
        return PXEntityBaseType::Load(false);
    }
    bool Unload() override
    {
        if (m_loaded)
            m_entities.clear();
        return PXEntityBaseType::Unload();
    }
    bool IsA(uint32_t kind) const override { return kind == m_kind || PXEntityBaseType::IsA(kind); }

private:
    uint32_t m_kind;
    int m_pos[2] = {};
    std::string m_text;
    PXColor m_color;
    std::vector<PXEntityRef> m_children;
    std::vector<std::unique_ptr<PXEntityBase>> m_entities;
};

class FuzzPrototype : public PXEntityTypePrototype {
public:
    explicit FuzzPrototype(uint32_t kind) : m_kind(kind) {}
    std::unique_ptr<PXEntityBaseType> CreateType(const PXDefinitionBlock* block) const override
    {
        return std::make_unique<FuzzType>(block, m_kind);
    }

private:
    uint32_t m_kind;
};

FuzzPrototype s_sprite(PXKind::GuiElement);
FuzzPrototype s_button(PXKind::Button);
FuzzPrototype s_scene(PXKind::Scene);

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    PXEntityRegistry registry;
    registry.RegisterPrototype(&s_sprite, "sprite");
    registry.RegisterPrototype(&s_button, "button");
    registry.RegisterPrototype(&s_scene, "2DScene");
    g_entityRegistry = &registry;

    std::string input(reinterpret_cast<const char*>(data), size);
    std::vector<PXEntityRef> defined;
    size_t start = 0;
    while (start <= input.size()) {
        size_t end = input.find('\f', start);
        if (end == std::string::npos)
            end = input.size();
        PXDefinitionBlock block;
        if (block.LoadFromText(input.data() + start, end - start)) {
            bool anonymous = (end - start) % 2 == 1;
            if (const PXEntityRef* ref = registry.DefineType(block, anonymous))
                defined.push_back(*ref);
        }
        start = end + 1;
    }
    for (const PXEntityRef& ref : defined) {
        for (uint32_t kind : {PXKind::Unknown, PXKind::GuiElement, PXKind::Scene}) {
            if (auto entity = registry.CreateEntity(ref, kind)) {
                entity->Update(16.0f);
                entity->GetType()->Load(true);
                entity->Draw();
            }
        }
    }
    registry.ClearTypes();
    g_entityRegistry = nullptr;
    return 0;
}
