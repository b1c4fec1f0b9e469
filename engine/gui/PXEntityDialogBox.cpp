// The dialog box: frame ownership, dragging, the time-out with its counting title, and the
// base answers to the scene's input.
#include "engine/gui/PXEntityDialogBox.h"

#include <algorithm>
#include <cstdio>

#include "engine/core/PXGlobals.h"
#include "engine/core/PXInputMap.h"
#include "engine/entity/PXDefinitionBlock.h"
#include "engine/entity/PXDefinitionRead.h"
#include "engine/entity/PXEntityRegistry.h"
#include "engine/graphics/PXScreen2D.h"
#include "engine/gui/PXEntityDialogFrame.h"

PXEntityDialogBoxType::PXEntityDialogBoxType(const PXDefinitionBlock* block) : PXEntity2DGUIElementType(block)
{
    if (block == nullptr) {
        return;
    }
    ReadRef(block, "FrameEnt", &m_frameRef);
    ReadInt(block, "Width", &m_width);
    ReadInt(block, "Height", &m_height);
    ReadText(block, "Title", &m_title);
    ReadFloat(block, "TimeOut", &m_timeOut);
}

PXEntityDialogBoxType::~PXEntityDialogBoxType()
{
    PXEntityDialogBoxType::Unload();
}

void PXEntityDialogBoxType::ReadChildRefs(const PXDefinitionBlock* block, const char* const* keys,
                                          size_t count)
{
    m_childRefs.assign(count, PXEntityRef{});
    m_children.resize(count);
    for (size_t i = 0; block != nullptr && i < count; ++i) {
        ReadRef(block, keys[i], &m_childRefs[i]);
    }
}

std::unique_ptr<PXEntityBase> PXEntityDialogBoxType::CreateEntity()
{
    return std::make_unique<PXEntityDialogBox>(this);
}

bool PXEntityDialogBoxType::Load(bool reload)
{
    LoadScope scope(*this);
    return scope.Entered() && LoadWith(reload, [this] {
               for (size_t i = 0; i < m_childRefs.size(); ++i) {
                   m_children[i] = CreateEntityAs<PXEntity2DGUIElement>(g_entityRegistry, m_childRefs[i],
                                                                        PXKind::GuiElement);
                   if (m_children[i] != nullptr) {
                       m_children[i]->GetType()->Load(false);
                   }
               }
           });
}

bool PXEntityDialogBoxType::Unload()
{
    return UnloadWith([this] {
        for (auto& child : m_children) {
            child.reset();
        }
    });
}

bool PXEntityDialogBoxType::IsA(uint32_t kind) const
{
    return kind == PXKind::DialogBox || PXEntity2DGUIElementType::IsA(kind);
}

PXEntityDialogBox::PXEntityDialogBox(PXEntityBaseType* type) : PXSceneDialog(type)
{
    PXEntityDialogBoxType* dialogType = DialogType();
    m_frame = CreateEntityAs<PXEntityDialogFrame>(g_entityRegistry, dialogType->GetFrameRef(), PXKind::DialogFrame);
    if (m_frame != nullptr) {
        m_frame->GetType()->Load(false);
        m_frame->SetOwner(this);
        m_frame->SetTitle(dialogType->GetTitle());
    }
    // The base version on purpose: a subclass sizes itself once its content is known.
    PXEntityDialogBox::SetSize(dialogType->GetDialogWidth(), dialogType->GetDialogHeight());
    if (dialogType->GetTimeOut() > 0.0f) {
        m_timing = true;
        m_remainingMs = dialogType->GetTimeOut();
    }
}

PXEntityDialogBox::~PXEntityDialogBox() = default;

bool PXEntityDialogBox::Update(float elapsedMs)
{
    if (m_dragging) {
        const PXPoint wanted{g_mouseX - m_dragOffset.x, g_mouseY - m_dragOffset.y};
        if (wanted.x != m_x || wanted.y != m_y) {
            Invalidate();
            const int32_t x = std::max(0, std::min(wanted.x, ScreenWidth - m_width));
            const int32_t y = std::max(0, std::min(wanted.y, ScreenHeight - m_height));
            SetPosition({x, y});
            Invalidate();
        }
    }
    if (m_timing) {
        m_remainingMs -= elapsedMs;
        if (m_remainingMs <= 0.0f) {
            // Once: a callback that refuses the close is not asked again every frame.
            m_timing = false;
            CloseWithResult(TimeOutResult);
        }
        if (m_frame != nullptr) {
            char seconds[24];
            std::snprintf(seconds, sizeof(seconds), " (%d)", static_cast<int>(m_remainingMs / 1000.0f));
            m_frame->SetTitle(DialogType()->GetTitle() + seconds);
        }
    }
    if (m_frame != nullptr) {
        m_frame->Update(elapsedMs);
    }
    m_focus.FollowPointer({g_mouseX, g_mouseY}, FocusElements());
    return PXEntity2DGUIElement::Update(elapsedMs);
}

bool PXEntityDialogBox::Draw()
{
    if (m_frame != nullptr) {
        m_frame->Draw();
    }
    return true;
}

void PXEntityDialogBox::SetPosition(const PXPoint& point)
{
    PXEntity2DGUIElement::SetPosition(point);
    if (m_frame != nullptr) {
        m_frame->SetPosition(point);
    }
}

void PXEntityDialogBox::SetSize(int32_t width, int32_t height)
{
    PXEntity2DGUIElement::SetSize(width, height);
    if (m_frame != nullptr) {
        m_frame->SetSize(width, height);
    }
}

void PXEntityDialogBox::SetRect(int32_t x, int32_t y, int32_t width, int32_t height)
{
    PXEntityDialogBox::SetPosition({x, y});
    PXEntityDialogBox::SetSize(width, height);
}

void PXEntityDialogBox::Invalidate()
{
    if (g_screen != nullptr) {
        g_screen->InvalidateRect(PXRect{m_x, m_x + m_width, m_y, m_y + m_height}, true);
    }
}

void PXEntityDialogBox::StartDragging(const PXPoint& point)
{
    m_dragging = true;
    m_dragOffset = PXPoint{point.x - m_x, point.y - m_y};
}

void PXEntityDialogBox::StopTiming()
{
    if (!m_timing) {
        return;
    }
    m_timing = false;
    if (m_frame != nullptr) {
        m_frame->SetTitle(DialogType()->GetTitle());
    }
}

void PXEntityDialogBox::SetTimeout(float ms)
{
    if (ms > 0.0f) {
        m_timing = true;
        m_remainingMs = ms;
    } else {
        StopTiming();
    }
}

PXPoint PXEntityDialogBox::GetClientOffset() const
{
    return m_frame != nullptr ? m_frame->GetClientOffset() : PXPoint{};
}

bool PXEntityDialogBox::IsInside(const PXPoint* point) const
{
    return point != nullptr && point->x > m_x && point->x < m_x + m_width && point->y > m_y &&
           point->y < m_y + m_height;
}

bool PXEntityDialogBox::DialogMouseUp(const PXPoint* point, int button)
{
    StopTiming();
    if (m_dragging) {
        m_dragging = false;
        return true;
    }
    if (m_frame != nullptr && point != nullptr) {
        m_frame->FrameMouseUp(*point, button);
    }
    return IsInside(point);
}

bool PXEntityDialogBox::DialogMouseAux(const PXPoint* /*point*/, int /*value*/)
{
    return true;
}

bool PXEntityDialogBox::DialogMouseDown(const PXPoint* point, int button)
{
    if (m_frame != nullptr && point != nullptr) {
        m_frame->FrameMouseDown(*point, button);
    }
    return IsInside(point);
}

bool PXEntityDialogBox::DialogKeyAux(int /*value*/)
{
    return true;
}

bool PXEntityDialogBox::DialogKeyDown(int /*key*/)
{
    StopTiming();
    return false;
}

bool PXEntityDialogBox::DialogKeyUp(int /*key*/)
{
    return false;
}

bool PXEntityDialogBox::DialogPadDown(int button)
{
    StopTiming();
    return OnDialogAction(g_inputMap.ForPad(PXInputContext::Menu, button));
}

bool PXEntityDialogBox::OnDialogAction(PXInputAction action)
{
    const PXFocusGroup::Outcome outcome = m_focus.Act(action, FocusElements());
    if (outcome.result == PXActionResult::Pressed) {
        OnFocusPressed(outcome.element);
    }
    return outcome.result != PXActionResult::Ignored;
}

PXFocusGroup::Elements PXEntityDialogBox::FocusElements() const
{
    return {};
}

void PXEntityDialogBox::OnFocusPressed(PXEntity2DGUIElement* /*element*/) {}
