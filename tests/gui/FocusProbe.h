// Element "focusprobe" for the focus tests: a box of "Size" (w, h) that takes the focus
// while shown and enabled, counts the presses it answers (Press while focused, or a click
// strictly inside it, through the same action) and remembers the other actions it was
// offered. It needs no images, so scenes and dialogs of them are cheap to build.
#pragma once

#include <memory>
#include <vector>

#include "engine/entity/PXDefinitionBlock.h"
#include "engine/entity/PXEntityRegistry.h"
#include "engine/gui/PXEntity2DGUIElement.h"

class FocusProbeType : public PXEntity2DGUIElementType {
public:
    explicit FocusProbeType(const PXDefinitionBlock* block) : PXEntity2DGUIElementType(block)
    {
        if (block != nullptr && block->FindKey("Size")) {
            block->ReadInts(size, 2);
        }
    }
    std::unique_ptr<PXEntityBase> CreateEntity() override;
    int size[2] = {0, 0};
};

class FocusProbe : public PXEntity2DGUIElement {
public:
    explicit FocusProbe(FocusProbeType* type) : PXEntity2DGUIElement(type)
    {
        m_width = type->size[0];
        m_height = type->size[1];
    }
    bool CanTakeFocus() const override { return m_visible && !m_disabled; }
    PXActionResult OnInputAction(PXInputAction action) override
    {
        if (action != PXInputAction::Press) {
            offered.push_back(action);
            return PXActionResult::Ignored;
        }
        ++presses;
        return PXActionResult::Pressed;
    }
    bool Click(const PXPoint& p) override
    {
        const bool inside = m_x < p.x && p.x < m_x + m_width && m_y < p.y && p.y < m_y + m_height;
        return inside && OnInputAction(PXInputAction::Press) == PXActionResult::Pressed;
    }

    int presses = 0;
    std::vector<PXInputAction> offered;
};

inline std::unique_ptr<PXEntityBase> FocusProbeType::CreateEntity()
{
    return std::make_unique<FocusProbe>(this);
}

using FocusProbePrototype = PXEntityTypePrototypeFor<FocusProbeType>;
inline FocusProbePrototype s_focusProbePrototype;
