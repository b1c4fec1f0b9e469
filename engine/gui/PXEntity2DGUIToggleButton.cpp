// The toggle button: its own inner buttons, state cycling on click and the state property.
#include "engine/gui/PXEntity2DGUIToggleButton.h"

#include <algorithm>
#include <string>

#include "engine/core/PXGlobals.h"
#include "engine/entity/PXDefinitionBlock.h"
#include "engine/entity/PXDefinitionRead.h"
#include "engine/entity/PXEntityRegistry.h"
#include "engine/gui/PXEntity2DGUIButton.h"

PXEntity2DGUIToggleButtonType::PXEntity2DGUIToggleButtonType(const PXDefinitionBlock* block)
    : PXEntity2DGUIElementType(block)
{
    if (!block)
        return;
    ReadInt(block, "NumStates", &m_numStates);
    m_numStates = std::clamp(m_numStates, 0, MaxStates);
    for (int32_t i = 0; i < m_numStates; ++i) {
        const std::string key = "Button" + std::to_string(i + 1) + "Ent";
        ReadRef(block, key.c_str(), &m_buttonRefs[static_cast<size_t>(i)]);
    }
}

std::unique_ptr<PXEntityBase> PXEntity2DGUIToggleButtonType::CreateEntity()
{
    return std::make_unique<PXEntity2DGUIToggleButton>(this);
}

PXEntity2DGUIToggleButton::PXEntity2DGUIToggleButton(PXEntityBaseType* type) : PXEntity2DGUIElement(type)
{
    if (!g_entityRegistry)
        return;
    for (int32_t i = 0; i < ToggleType()->GetNumStates(); ++i)
        m_buttons[static_cast<size_t>(i)] =
            g_entityRegistry->CreateEntity(ToggleType()->GetButtonRef(i), PXKind::Button);
}

PXEntity2DGUIToggleButton::~PXEntity2DGUIToggleButton() = default;

PXEntity2DGUIElement* PXEntity2DGUIToggleButton::GetButton(uint32_t i) const
{
    if (i >= m_buttons.size())
        return nullptr;
    return dynamic_cast<PXEntity2DGUIElement*>(m_buttons[i].get());
}

bool PXEntity2DGUIToggleButton::SetProperty(int32_t id, int32_t value)
{
    if (id != PXToggleProp::State)
        return PXEntity2DGUIElement::SetProperty(id, value);
    const int32_t states = ToggleType()->GetNumStates();
    // Without states there is nothing to select; the state stays 0.
    if (states == 0)
        return true;
    // Compared unsigned, so a negative value selects the last state.
    const uint32_t state = std::min(static_cast<uint32_t>(value), static_cast<uint32_t>(states - 1));
    if (state != m_state) {
        Invalidate();
        m_state = state;
        Invalidate();
    }
    return true;
}

bool PXEntity2DGUIToggleButton::GetProperty(int32_t id, int32_t* out)
{
    if (id == PXToggleProp::State && out) {
        *out = static_cast<int32_t>(m_state);
        return true;
    }
    return PXEntity2DGUIElement::GetProperty(id, out);
}

bool PXEntity2DGUIToggleButton::GetAltProperty(int32_t id, int32_t* out)
{
    PXEntity2DGUIElement* first = GetButton(0);
    return first ? first->GetAltProperty(id, out) : PXEntity2DGUIElement::GetAltProperty(id, out);
}

bool PXEntity2DGUIToggleButton::Update(float elapsedMs)
{
    if (m_type)
        m_type->Load(false);
    for (size_t i = 0; i < m_buttons.size(); ++i) {
        PXEntity2DGUIElement* button = GetButton(static_cast<uint32_t>(i));
        if (!button)
            continue;
        button->SetPosition(PXPoint{m_x, m_y});
        // The toggle raises the tooltip; its buttons never do.
        button->ResetHover();
        // All of them track the mouse (the next state must not greet it again after a
        // click), but only the shown one sounds.
        if (auto* push = dynamic_cast<PXEntity2DGUIButton*>(button))
            push->SetSilent(i != m_state);
        button->Update(elapsedMs);
    }
    if (PXEntity2DGUIElement* current = Current()) {
        m_width = current->GetWidth();
        m_height = current->GetHeight();
        std::string toolTip;
        if (current->GetStringProperty(PXGuiProp::ToolTip, &toolTip))
            SetStringProperty(PXGuiProp::ToolTip, toolTip);
    }
    return PXEntity2DGUIElement::Update(elapsedMs);
}

bool PXEntity2DGUIToggleButton::Draw()
{
    PXEntity2DGUIElement* current = Current();
    if (!current)
        return true;
    current->SetPosition(PXPoint{m_x, m_y});
    current->SetAlpha(m_alpha);
    return current->Draw();
}

void PXEntity2DGUIToggleButton::Invalidate()
{
    if (PXEntity2DGUIElement* current = Current())
        current->Invalidate();
}

void PXEntity2DGUIToggleButton::SetDisabled(bool disabled)
{
    for (size_t i = 0; i < m_buttons.size(); ++i) {
        if (PXEntity2DGUIElement* button = GetButton(static_cast<uint32_t>(i)))
            button->SetDisabled(disabled);
    }
    PXEntity2DGUIElement::SetDisabled(disabled);
}

bool PXEntity2DGUIToggleButton::Click(const PXPoint& point)
{
    PXEntity2DGUIElement* current = Current();
    const int32_t states = ToggleType()->GetNumStates();
    if (!current || states == 0 || !current->Click(point))
        return false;
    Advance();
    return true;
}

void PXEntity2DGUIToggleButton::Advance()
{
    Invalidate();
    m_state = (m_state + 1) % static_cast<uint32_t>(ToggleType()->GetNumStates());
    SetFocused(m_focused);
    Invalidate();
}

bool PXEntity2DGUIToggleButton::CanTakeFocus() const
{
    const PXEntity2DGUIElement* current = Current();
    return m_visible && !m_disabled && current != nullptr && current->CanTakeFocus();
}

void PXEntity2DGUIToggleButton::SetFocused(bool focused)
{
    // Only the shown button draws the focus.
    for (size_t i = 0; i < m_buttons.size(); ++i) {
        if (PXEntity2DGUIElement* button = GetButton(static_cast<uint32_t>(i)))
            button->SetFocused(focused && i == m_state);
    }
    PXEntity2DGUIElement::SetFocused(focused);
}

PXActionResult PXEntity2DGUIToggleButton::OnInputAction(PXInputAction action)
{
    PXEntity2DGUIElement* current = Current();
    if (!current || ToggleType()->GetNumStates() == 0 || current->OnInputAction(action) != PXActionResult::Pressed)
        return PXActionResult::Ignored;
    Advance();
    return PXActionResult::Pressed;
}
