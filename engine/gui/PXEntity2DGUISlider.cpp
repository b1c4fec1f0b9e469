// The slider: its keys, the value grid, the knob's place along the track, the player's
// keys and pointer, and the track, fill and knob it draws.
#include "engine/gui/PXEntity2DGUISlider.h"

#include <algorithm>
#include <cstdint>

#include "engine/core/PXGlobals.h"
#include "engine/core/PXLog.h"
#include "engine/entity/PXDefinitionBlock.h"
#include "engine/entity/PXDefinitionRead.h"
#include "engine/entity/PXEntityRegistry.h"
#include "engine/files/PXResourceCache.h"
#include "engine/graphics/PXScreen2D.h"
#include "engine/gui/PXEntity2DGUIButton.h"
#include "engine/gui/PXPropertyIds.h"

namespace {

// Two integers cut to 1..MaxSize; a missing field keeps its default.
void ReadSize(const PXDefinitionBlock* block, const char* key, int32_t* width, int32_t* height)
{
    if (!block->FindKey(key))
        return;
    int size[2] = {*width, *height};
    block->ReadInts(size, 2);
    *width = std::clamp<int32_t>(size[0], 1, PXEntity2DGUISliderType::MaxSize);
    *height = std::clamp<int32_t>(size[1], 1, PXEntity2DGUISliderType::MaxSize);
}

void ReadColorKey(const PXDefinitionBlock* block, const char* key, PXColor* out, bool* given = nullptr)
{
    if (!block->FindKey(key))
        return;
    block->ReadColor(out);
    if (given)
        *given = true;
}

int32_t ImageSize(PXEntity2DGUIElement* image, int32_t id)
{
    int32_t value = 0;
    if (image)
        image->GetAltProperty(id, &value);
    return std::clamp<int32_t>(value, 0, PXEntity2DGUISliderType::MaxSize);
}

constexpr int32_t MaxPosition = 1 << 20;

PXRect Union(const PXRect& a, const PXRect& b)
{
    return PXRect{std::min(a.left, b.left), std::max(a.right, b.right), std::min(a.top, b.top),
                  std::max(a.bottom, b.bottom)};
}

}  // namespace

PXEntity2DGUISliderType::PXEntity2DGUISliderType(const PXDefinitionBlock* block)
    : PXEntity2DGUIElementType(block)
{
    if (!block)
        return;
    ReadRange(block);
    ReadSize(block, "Size", &m_width, &m_height);
    m_knobHeight = m_height;
    ReadSize(block, "KnobSize", &m_knobWidth, &m_knobHeight);
    ReadColorKey(block, "TrackCol", &m_trackColor);
    ReadColorKey(block, "FillCol", &m_fillColor, &m_fillColorGiven);
    ReadColorKey(block, "KnobCol", &m_knobColor);
    ReadColorKey(block, "KnobFocusCol", &m_knobFocusColor);
    ReadRef(block, "TrackImageEnt", &m_track.ref);
    ReadRef(block, "KnobImageEnt", &m_knob.ref);
    ReadRef(block, "KnobFocusImageEnt", &m_knobFocus.ref);
    ReadText(block, "ChangeSound", &m_changeSoundName);
}

void PXEntity2DGUISliderType::ReadRange(const PXDefinitionBlock* block)
{
    // The type's name for the log lines, read before the cursor moves to the range.
    std::string name;
    ReadText(block, "type", &name);
    if (block->FindKey("Range")) {
        int range[2] = {m_min, m_max};
        block->ReadInts(range, 2);
        if (range[0] > range[1]) {
            LogF("Slider %s: range %d, %d reversed; read as %d, %d", name.c_str(), range[0], range[1],
                 range[1], range[0]);
            std::swap(range[0], range[1]);
        }
        if (range[0] == range[1]) {
            LogF("Slider %s: empty range %d, %d refused; 0, 100 instead", name.c_str(), range[0], range[1]);
        } else {
            m_min = range[0];
            m_max = range[1];
        }
    }
    ReadInt(block, "Step", &m_step);
    if (m_step <= 0)
        m_step = 1;
    const int64_t span = int64_t{m_max} - m_min;
    m_step = static_cast<int32_t>(std::min<int64_t>(m_step, span));
    // A page is a tenth of the range unless given, in whole steps, at least one step.
    int32_t page = 0;
    ReadInt(block, "PageStep", &page);
    const int64_t wanted = page > 0 ? page : span / 10;
    const int64_t steps = std::max<int64_t>(1, (wanted + m_step / 2) / m_step);
    m_pageStep = static_cast<int32_t>(std::min({steps * m_step, span, int64_t{INT32_MAX}}));
    m_value = m_min;
    ReadInt(block, "Value", &m_value);
    m_value = Snap(m_value);
}

PXEntity2DGUISliderType::~PXEntity2DGUISliderType()
{
    PXEntity2DGUISliderType::Unload();
}

std::unique_ptr<PXEntityBase> PXEntity2DGUISliderType::CreateEntity()
{
    return std::make_unique<PXEntity2DGUISlider>(this);
}

bool PXEntity2DGUISliderType::Load(bool reload)
{
    LoadScope scope(*this);
    return scope.Entered() && LoadWith(reload, [this] { AcquireParts(); });
}

void PXEntity2DGUISliderType::AcquireParts()
{
    for (Picture* picture : {&m_track, &m_knob, &m_knobFocus}) {
        if (!picture->image)
            picture->image =
                CreateEntityAs<PXEntity2DGUIElement>(g_entityRegistry, picture->ref, PXKind::Unknown);
    }
    if (g_resources && !m_changeSound && !m_changeSoundName.empty())
        m_changeSound = g_resources->AcquireSound(m_changeSoundName);
}

bool PXEntity2DGUISliderType::Unload()
{
    return UnloadWith([this] {
        for (Picture* picture : {&m_track, &m_knob, &m_knobFocus})
            picture->image.reset();
        if (m_changeSound && g_resources)
            g_resources->ReleaseSound(m_changeSound);
        m_changeSound = nullptr;
    });
}

int32_t PXEntity2DGUISliderType::Snap(int64_t value) const
{
    if (value >= m_max)
        return m_max;
    if (value <= m_min)
        return m_min;
    const int64_t steps = (value - m_min + m_step / 2) / m_step;
    return static_cast<int32_t>(std::min<int64_t>(m_min + steps * m_step, m_max));
}

// ---- Element ----

PXEntity2DGUISlider::PXEntity2DGUISlider(PXEntity2DGUISliderType* type)
    : PXEntity2DGUIElement(type), m_value(type->GetInitialValue())
{
    m_width = type->GetWidth();
    m_height = type->GetHeight();
}

void PXEntity2DGUISlider::SetValue(int32_t value, bool notify)
{
    const int32_t snapped = SliderType()->Snap(value);
    if (snapped == m_value)
        return;
    Invalidate();
    m_value = snapped;
    Invalidate();
    if (notify) {
        SliderType()->Load(false);
        PXPlaySound(SliderType()->GetChangeSound());
        NotifyChanged();
    }
}

void PXEntity2DGUISlider::StepBy(int64_t delta)
{
    SetValue(SliderType()->Snap(int64_t{m_value} + delta), true);
}

bool PXEntity2DGUISlider::SetProperty(int32_t id, int32_t value)
{
    if (id == PXSliderProp::Value) {
        SetValue(value, false);
        return true;
    }
    return PXEntity2DGUIElement::SetProperty(id, value);
}

bool PXEntity2DGUISlider::GetProperty(int32_t id, int32_t* out)
{
    if (!out)
        return false;
    // Value, Min, Max and Step, in the order of their ids.
    const int32_t values[] = {m_value, GetMin(), GetMax(), GetStep()};
    if (id < PXSliderProp::Value || id > PXSliderProp::Step)
        return PXEntity2DGUIElement::GetProperty(id, out);
    *out = values[id - PXSliderProp::Value];
    return true;
}

// ---- Geometry ----

PXRect PXEntity2DGUISlider::GetKnobRect() const
{
    const PXEntity2DGUISliderType* type = SliderType();
    PXEntity2DGUIElement* image = type->GetKnobImage();
    const int32_t w = image ? ImageSize(image, PXSpriteProp::Width) : type->GetKnobWidth();
    const int32_t h = image ? ImageSize(image, PXSpriteProp::Height) : type->GetKnobHeight();
    const int32_t travel = std::max(0, m_width - w);
    const int64_t span = int64_t{type->GetMax()} - type->GetMin();
    const int64_t along = (int64_t{m_value} - type->GetMin()) * travel / span;
    const int32_t left = m_x + static_cast<int32_t>(along);
    const int32_t top = m_y + (m_height - h) / 2;
    return PXRect{left, left + w, top, top + h};
}

int32_t PXEntity2DGUISlider::KnobCentre() const
{
    const PXRect knob = GetKnobRect();
    return (knob.left + knob.right) / 2;
}

int32_t PXEntity2DGUISlider::Travel() const
{
    const PXRect knob = GetKnobRect();
    return std::max(0, m_width - (knob.right - knob.left));
}

int32_t PXEntity2DGUISlider::ValueAt(int32_t x) const
{
    const PXEntity2DGUISliderType* type = SliderType();
    const int32_t travel = Travel();
    if (travel <= 0)
        return type->GetMin();
    const PXRect knob = GetKnobRect();
    const int64_t along = std::clamp<int64_t>(int64_t{x} - (m_x + (knob.right - knob.left) / 2), 0, travel);
    const int64_t span = int64_t{type->GetMax()} - type->GetMin();
    // Rounded to the nearest value, then to the nearest step.
    return type->Snap(type->GetMin() + (along * span + travel / 2) / travel);
}

PXRect PXEntity2DGUISlider::TrackRect() const
{
    PXEntity2DGUIElement* image = SliderType()->GetTrackImage();
    const int32_t thickness = image ? ImageSize(image, PXSpriteProp::Height) : std::max(2, m_height / 4);
    const int32_t top = m_y + (m_height - thickness) / 2;
    return PXRect{m_x, m_x + m_width, top, top + thickness};
}

// ---- Input ----

bool PXEntity2DGUISlider::CanTakeFocus() const
{
    return m_visible && !m_disabled;
}

PXActionResult PXEntity2DGUISlider::OnInputAction(PXInputAction action)
{
    if (!CanTakeFocus())
        return PXActionResult::Ignored;
    const PXEntity2DGUISliderType* type = SliderType();
    switch (action) {
    case PXInputAction::FocusLeft:
        StepBy(-int64_t{type->GetStep()});
        break;
    case PXInputAction::FocusRight:
        StepBy(type->GetStep());
        break;
    case PXInputAction::PageUp:
        StepBy(type->GetPageStep());
        break;
    case PXInputAction::PageDown:
        StepBy(-int64_t{type->GetPageStep()});
        break;
    case PXInputAction::Home:
        SetValue(type->GetMin(), true);
        break;
    case PXInputAction::End:
        SetValue(type->GetMax(), true);
        break;
    default:
        return PXActionResult::Ignored;
    }
    return PXActionResult::Used;
}

bool PXEntity2DGUISlider::IsOver(const PXPoint& point)
{
    return m_x < point.x && point.x < m_x + m_width && m_y < point.y && point.y < m_y + m_height;
}

bool PXEntity2DGUISlider::OnPointerDown(const PXPoint& point)
{
    if (!CanTakeFocus() || !IsOver(point))
        return false;
    m_dragging = true;
    Invalidate();
    SetValue(ValueAt(point.x), true);
    return true;
}

void PXEntity2DGUISlider::OnPointerDrag(const PXPoint& point)
{
    if (m_dragging)
        SetValue(ValueAt(point.x), true);
}

void PXEntity2DGUISlider::OnPointerUp(const PXPoint& point)
{
    OnPointerDrag(point);
    if (m_dragging) {
        m_dragging = false;
        Invalidate();
    }
}

// ---- Update and drawing ----

bool PXEntity2DGUISlider::Update(float elapsedMs)
{
    PXEntity2DGUISliderType* type = SliderType();
    type->Load(false);
    for (PXEntity2DGUIElement* image :
         {type->GetTrackImage(), type->GetKnobImage(), type->GetKnobFocusImage()}) {
        if (image)
            image->Update(elapsedMs);
    }
    const bool hovered = IsOver(PXPoint{g_mouseX, g_mouseY});
    if (hovered != m_hovered) {
        m_hovered = hovered;
        Invalidate();
    }
    return PXEntity2DGUIElement::Update(elapsedMs);
}

void PXEntity2DGUISlider::SetPosition(const PXPoint& point)
{
    // Far outside the frame is as good as any farther place, and keeps the sums of the
    // geometry inside 32 bits.
    const PXPoint kept{std::clamp(point.x, -MaxPosition, MaxPosition),
                       std::clamp(point.y, -MaxPosition, MaxPosition)};
    if (kept.x == m_x && kept.y == m_y)
        return;
    Invalidate();
    PXEntity2DGUIElement::SetPosition(kept);
    Invalidate();
}

PXColor PXEntity2DGUISlider::Faded(const PXColor& color) const
{
    PXColor c = color;
    c.alpha = static_cast<uint8_t>(color.alpha * std::clamp(m_alpha, 0, 255) / 255);
    return c;
}

void PXEntity2DGUISlider::DrawImage(PXEntity2DGUIElement* image, int32_t x, int32_t y)
{
    image->SetPosition(PXPoint{x, y});
    image->SetAlpha(m_alpha);
    image->Draw();
}

bool PXEntity2DGUISlider::Draw()
{
    if (!m_visible || !g_screen)
        return false;
    const PXEntity2DGUISliderType* type = SliderType();
    const PXRect track = TrackRect();
    const PXRect knob = GetKnobRect();
    if (PXEntity2DGUIElement* image = type->GetTrackImage())
        DrawImage(image, track.left, track.top);
    else
        g_screen->FillRect(track, Faded(type->GetTrackColor()));
    if (!type->GetTrackImage() || type->HasFillColor())
        g_screen->FillRect(PXRect{track.left, KnobCentre(), track.top, track.bottom},
                           Faded(type->GetFillColor()));

    PXEntity2DGUIElement* knobImage = type->GetKnobImage();
    if (IsLit() && type->GetKnobFocusImage())
        knobImage = type->GetKnobFocusImage();
    if (knobImage)
        DrawImage(knobImage, knob.left, knob.top);
    else
        g_screen->FillRect(knob, Faded(IsLit() ? type->GetKnobFocusColor() : type->GetKnobColor()));
    // The focus also frames the whole slider.
    if (m_focused)
        g_screen->DrawRect(PXRect{m_x, m_x + m_width - 1, m_y, m_y + m_height - 1},
                           Faded(type->GetKnobFocusColor()));
    return true;
}

void PXEntity2DGUISlider::Invalidate()
{
    if (!g_screen)
        return;
    PXRect area = Union(PXRect{m_x, m_x + m_width, m_y, m_y + m_height}, GetKnobRect());
    area = Union(area, TrackRect());
    g_screen->InvalidateRect(area, true);
}
