// Class "togglebutton": up to eight buttons, one per state, shown one at a time; a click on
// the shown button advances the state, and so does Press while it has the focus (the shown
// button draws the focus).
#pragma once

#include <array>
#include <cstdint>
#include <memory>

#include "engine/entity/PXEntityRef.h"
#include "engine/gui/PXEntity2DGUIElement.h"
#include "engine/gui/PXPropertyIds.h"

class PXEntity2DGUIButton;

class PXEntity2DGUIToggleButtonType : public PXEntity2DGUIElementType {
public:
    static constexpr int32_t MaxStates = 8;

    explicit PXEntity2DGUIToggleButtonType(const PXDefinitionBlock* block);

    std::unique_ptr<PXEntityBase> CreateEntity() override;

    int32_t GetNumStates() const { return m_numStates; }
    const PXEntityRef& GetButtonRef(int32_t i) const { return m_buttonRefs[static_cast<size_t>(i)]; }

private:
    int32_t m_numStates = 0;
    std::array<PXEntityRef, MaxStates> m_buttonRefs;
};

class PXEntity2DGUIToggleButton : public PXEntity2DGUIElement {
public:
    explicit PXEntity2DGUIToggleButton(PXEntityBaseType* type);
    ~PXEntity2DGUIToggleButton() override;

    bool SetProperty(int32_t id, int32_t value) override;
    bool GetProperty(int32_t id, int32_t* out) override;
    bool GetAltProperty(int32_t id, int32_t* out) override;
    bool Update(float elapsedMs) override;
    bool Draw() override;
    void Invalidate() override;
    void SetDisabled(bool disabled) override;
    bool Click(const PXPoint& point) override;
    bool CanTakeFocus() const override;
    void SetFocused(bool focused) override;
    PXActionResult OnInputAction(PXInputAction action) override;

    uint32_t GetState() const { return m_state; }
    PXEntity2DGUIElement* GetButton(uint32_t i) const;

private:
    PXEntity2DGUIToggleButtonType* ToggleType() const
    {
        return static_cast<PXEntity2DGUIToggleButtonType*>(m_type);
    }
    PXEntity2DGUIElement* Current() const { return GetButton(m_state); }
    // The next state; the focus moves with it to the newly shown button.
    void Advance();

    std::array<std::unique_ptr<PXEntityBase>, PXEntity2DGUIToggleButtonType::MaxStates> m_buttons;
    uint32_t m_state = 0;
};

using PXEntity2DGUIToggleButtonPrototype = PXEntityTypePrototypeFor<PXEntity2DGUIToggleButtonType>;
