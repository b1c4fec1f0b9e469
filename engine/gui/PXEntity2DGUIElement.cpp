// The GUI element base: visibility and disabled rules, fades, the pulse, tint properties and
// the tooltip hover timer.
#include "engine/gui/PXEntity2DGUIElement.h"

#include <algorithm>
#include <cmath>

#include "engine/core/PXGlobals.h"
#include "engine/entity/PXDefinitionBlock.h"
#include "engine/entity/PXDefinitionRead.h"

PXToolTipHostFinder g_toolTipHostFinder = nullptr;

PXEntity2DGUIElementType::PXEntity2DGUIElementType(const PXDefinitionBlock* block)
{
    if (!block)
        return;
    ReadText(block, "tooltip", &m_toolTip);
    if (block->FindKey("tooltippos")) {
        int pos[2] = {m_toolTipPos.x, m_toolTipPos.y};
        block->ReadInts(pos, 2);
        m_toolTipPos = PXPoint{pos[0], pos[1]};
    }
    ReadFlag(block, "tooltiprelative", &m_toolTipRelative, m_toolTipRelative);
    ReadFlag(block, "dither", &m_dither, false);
}

std::unique_ptr<PXEntityBase> PXEntity2DGUIElementType::CreateEntity()
{
    return std::make_unique<PXEntity2DGUIElement>(this);
}

bool PXEntity2DGUIElementType::IsA(uint32_t kind) const
{
    return kind == PXKind::GuiElement || PXEntityBaseType::IsA(kind);
}

PXEntity2DGUIElement::PXEntity2DGUIElement(PXEntityBaseType* type) : PXEntityBase(type) {}

static uint8_t ClampByte(int32_t value)
{
    return static_cast<uint8_t>(std::clamp(value, 0, 255));
}

bool PXEntity2DGUIElement::SetProperty(int32_t id, int32_t value)
{
    switch (id) {
    case PXGuiProp::TintAlpha:
        m_tint.alpha = ClampByte(value);
        return true;
    case PXGuiProp::TintRed:
        m_tint.red = ClampByte(value);
        return true;
    case PXGuiProp::TintBlue:
        m_tint.blue = ClampByte(value);
        return true;
    case PXGuiProp::TintGreen:
        m_tint.green = ClampByte(value);
        return true;
    default:
        return PXEntityBase::SetProperty(id, value);
    }
}

bool PXEntity2DGUIElement::GetProperty(int32_t id, int32_t* out)
{
    if (!out)
        return false;
    switch (id) {
    case PXGuiProp::TintAlpha:
        *out = m_tint.alpha;
        return true;
    case PXGuiProp::TintRed:
        *out = m_tint.red;
        return true;
    case PXGuiProp::TintBlue:
        *out = m_tint.blue;
        return true;
    case PXGuiProp::TintGreen:
        *out = m_tint.green;
        return true;
    default:
        return PXEntityBase::GetProperty(id, out);
    }
}

bool PXEntity2DGUIElement::SetStringProperty(int32_t id, const std::string& value)
{
    // The tooltip text lives in the type, so every element of the type sees the change.
    if (id == PXGuiProp::ToolTip && GuiType()) {
        GuiType()->SetToolTip(value);
        return true;
    }
    return PXEntityBase::SetStringProperty(id, value);
}

bool PXEntity2DGUIElement::GetStringProperty(int32_t id, std::string* out)
{
    if (id == PXGuiProp::ToolTip && GuiType() && out) {
        *out = GuiType()->GetToolTip();
        return true;
    }
    return PXEntityBase::GetStringProperty(id, out);
}

bool PXEntity2DGUIElement::Update(float elapsedMs)
{
    UpdateFade(elapsedMs);
    UpdatePulse(elapsedMs);
    UpdateToolTip(elapsedMs);
    if (m_type)
        m_type->Load(false);
    return true;
}

void PXEntity2DGUIElement::UpdateFade(float elapsedMs)
{
    if (m_fadeSpeed == 0.0f)
        return;
    // Whole alpha steps are applied; the fraction is carried to the next frame so that a
    // slow fade still moves (without the carry a step under 1 would be lost every frame).
    const float exact = m_fadeSpeed * elapsedMs + m_fadeCarry;
    const int32_t step = static_cast<int32_t>(exact);
    m_fadeCarry = exact - static_cast<float>(step);
    if (step < 1) {
        if (m_alpha < std::abs(step)) {
            m_alpha = 0;
            m_fadeSpeed = 0.0f;
        } else {
            m_alpha += step;
        }
    } else {
        m_alpha += step;
        if (m_alpha > 255) {
            m_alpha = 255;
            m_fadeSpeed = 0.0f;
        }
    }
    // A fade in that has not reached its first step yet must not hide the element, which
    // would cancel the fade.
    if (!(m_alpha == 0 && m_fadeSpeed > 0.0f))
        SetVisible(m_alpha != 0);
    Invalidate();
}

void PXEntity2DGUIElement::UpdatePulse(float elapsedMs)
{
    if (m_pulseSpeed == 0.0f)
        return;
    m_pulseValue += m_pulseSpeed * elapsedMs;
    if (m_pulseValue >= m_pulseMax) {
        m_pulseSpeed = -std::fabs(m_pulseSpeed);
        m_pulseValue = m_pulseMax;
    } else if (m_pulseValue <= m_pulseMin) {
        m_pulseSpeed = std::fabs(m_pulseSpeed);
        m_pulseValue = m_pulseMin;
    }
    m_alpha = static_cast<int32_t>(std::clamp(m_pulseValue, 0.0f, 255.0f));
    Invalidate();
}

bool PXEntity2DGUIElement::IsMouseStrictlyInside() const
{
    return m_x < g_mouseX && g_mouseX < m_x + m_width && m_y < g_mouseY && g_mouseY < m_y + m_height;
}

void PXEntity2DGUIElement::UpdateToolTip(float elapsedMs)
{
    PXEntity2DGUIElementType* type = GuiType();
    const bool mouseInside = IsMouseStrictlyInside();
    if (!m_visible || !type || type->GetToolTip().empty() || !(mouseInside || m_focused)) {
        m_hoverMs = 0.0f;
        return;
    }
    m_hoverMs += elapsedMs;
    if (m_hoverMs <= PXEntity2DGUIElementType::ToolTipDelayMs)
        return;
    PXToolTipHost* host = g_toolTipHostFinder ? g_toolTipHostFinder() : nullptr;
    if (!host)
        return;
    PXPoint at = type->GetToolTipPos();
    if (type->IsToolTipRelative()) {
        // The focus places it as a mouse resting on the element's centre would.
        at.x += mouseInside ? g_mouseX : m_x + m_width / 2;
        at.y += mouseInside ? g_mouseY : m_y + m_height / 2;
    }
    host->ShowToolTip(this, at.x, at.y, type->GetToolTip());
}

bool PXEntity2DGUIElement::Draw()
{
    return true;
}

void PXEntity2DGUIElement::SetPosition(const PXPoint& point)
{
    m_x = point.x;
    m_y = point.y;
}

void PXEntity2DGUIElement::GetPosition(PXPoint* out) const
{
    if (out)
        *out = PXPoint{m_x, m_y};
}

void PXEntity2DGUIElement::GetRect(PXRect* out) const
{
    if (!out)
        return;
    out->left = m_x;
    out->right = m_x + m_width;
    out->top = m_y;
    out->bottom = m_y + m_height;
}

void PXEntity2DGUIElement::SetSize(int32_t width, int32_t height)
{
    m_width = width;
    m_height = height;
}

void PXEntity2DGUIElement::SetRect(int32_t x, int32_t y, int32_t width, int32_t height)
{
    m_x = x;
    m_y = y;
    m_width = width;
    m_height = height;
}

void PXEntity2DGUIElement::StartPulse(float periodMs)
{
    if (periodMs == 0.0f) {
        m_pulseSpeed = 0.0f;
        m_pulseValue = 0.0f;
        m_alpha = 255;
        return;
    }
    // One full rise and fall takes periodMs.
    m_pulseSpeed = 2.0f * std::fabs(m_pulseMax - m_pulseMin) / periodMs;
}

bool PXEntity2DGUIElement::IsPulsing() const
{
    return m_pulseSpeed != 0.0f;
}

void PXEntity2DGUIElement::SetPulseState(float value, float speed)
{
    m_pulseValue = value;
    m_pulseSpeed = speed;
}

void PXEntity2DGUIElement::FadeIn(float ms)
{
    // A zero duration would divide by zero; it means "at once".
    if (ms <= 0.0f) {
        SetAlpha(255);
        SetVisible(true);
        m_fadeSpeed = 0.0f;
        return;
    }
    m_fadeSpeed = static_cast<float>(255 - m_alpha) / ms;
    m_fadeCarry = 0.0f;
}

void PXEntity2DGUIElement::FadeOut(float ms)
{
    if (ms <= 0.0f) {
        SetVisible(false);
        return;
    }
    m_fadeSpeed = -static_cast<float>(m_alpha) / ms;
    m_fadeCarry = 0.0f;
}

void PXEntity2DGUIElement::SetVisible(bool visible)
{
    if (visible != m_visible) {
        if (visible)
            SetDisabled(false);
        Invalidate();
    }
    m_visible = visible;
    if (!visible) {
        SetDisabled(true);
        m_alpha = 0;
        m_fadeSpeed = 0.0f;
    } else if (m_alpha == 0) {
        m_alpha = 255;
    }
}

bool PXEntity2DGUIElement::IsVisible() const
{
    return m_visible;
}

void PXEntity2DGUIElement::SetDisabled(bool disabled)
{
    if (disabled != m_disabled)
        Invalidate();
    m_disabled = disabled;
}

bool PXEntity2DGUIElement::IsDisabled() const
{
    return m_disabled;
}

void PXEntity2DGUIElement::SetAlpha(int32_t alpha)
{
    alpha = std::clamp(alpha, 0, 255);
    if (alpha != m_alpha)
        Invalidate();
    m_alpha = alpha;
}

int32_t PXEntity2DGUIElement::GetAlpha() const
{
    return m_alpha;
}

bool PXEntity2DGUIElement::Click(const PXPoint&)
{
    return false;
}

bool PXEntity2DGUIElement::IsOver(const PXPoint&)
{
    return false;
}

void PXEntity2DGUIElement::Invalidate() {}

bool PXEntity2DGUIElement::CanTakeFocus() const
{
    return false;
}

void PXEntity2DGUIElement::SetFocused(bool focused)
{
    if (focused == m_focused)
        return;
    m_focused = focused;
    Invalidate();
}

PXActionResult PXEntity2DGUIElement::OnInputAction(PXInputAction)
{
    return PXActionResult::Ignored;
}

PXEntity2DGUIFont* PXEntity2DGUIElement::GetFont()
{
    return nullptr;
}

bool PXEntity2DGUIElement::OnPointerDown(const PXPoint&)
{
    return false;
}

void PXEntity2DGUIElement::OnPointerDrag(const PXPoint&) {}

void PXEntity2DGUIElement::OnPointerUp(const PXPoint&) {}

void PXEntity2DGUIElement::NotifyChanged()
{
    if (m_changeListener)
        m_changeListener->OnElementChanged(this);
}
