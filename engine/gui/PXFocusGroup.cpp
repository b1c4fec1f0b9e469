// The focus group: settling, moving and showing the focus, and the pointer rule.
#include "engine/gui/PXFocusGroup.h"

#include <algorithm>
#include <cstdlib>
#include <limits>

namespace {

bool Contains(const PXFocusGroup::Elements& elements, const PXEntity2DGUIElement* element)
{
    return std::find(elements.begin(), elements.end(), element) != elements.end();
}

bool IsDirection(PXInputAction action)
{
    return action == PXInputAction::FocusUp || action == PXInputAction::FocusDown ||
           action == PXInputAction::FocusLeft || action == PXInputAction::FocusRight;
}

bool IsWalk(PXInputAction action)
{
    return action == PXInputAction::FocusNext || action == PXInputAction::FocusPrevious;
}

PXPoint Centre(const PXEntity2DGUIElement& element)
{
    PXRect r;
    element.GetRect(&r);
    return PXPoint{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

bool StrictlyInside(const PXEntity2DGUIElement& element, const PXPoint& point)
{
    PXRect r;
    element.GetRect(&r);
    return r.left < point.x && point.x < r.right && r.top < point.y && point.y < r.bottom;
}

}  // namespace

PXFocusGroup::Elements PXFocusGroup::Usable(const Elements& elements)
{
    Elements usable;
    for (PXEntity2DGUIElement* element : elements) {
        if (element != nullptr && element->CanTakeFocus()) {
            usable.push_back(element);
        }
    }
    return usable;
}

bool PXFocusGroup::Settle(const Elements& usable, const Elements& elements)
{
    if (Contains(usable, m_focus)) {
        return true;
    }
    // The element that held the focus loses the look when it still exists (hidden or
    // disabled now); one that is not among the elements any more is not touched.
    if (m_focus != nullptr && m_shown && Contains(elements, m_focus)) {
        m_focus->SetFocused(false);
    }
    m_focus = usable.empty() ? nullptr : usable.front();
    if (m_focus != nullptr && m_shown) {
        m_focus->SetFocused(true);
    }
    return m_focus != nullptr;
}

void PXFocusGroup::MoveTo(PXEntity2DGUIElement* element)
{
    if (element == nullptr || element == m_focus) {
        return;
    }
    if (m_focus != nullptr && m_shown) {
        m_focus->SetFocused(false);
    }
    m_focus = element;
    if (m_shown) {
        m_focus->SetFocused(true);
    }
}

void PXFocusGroup::Show(bool shown)
{
    if (shown == m_shown) {
        return;
    }
    m_shown = shown;
    if (m_focus != nullptr) {
        m_focus->SetFocused(shown);
    }
}

PXEntity2DGUIElement* PXFocusGroup::Nearest(const PXEntity2DGUIElement& from, PXInputAction direction,
                                           const Elements& candidates)
{
    const PXPoint origin = Centre(from);
    PXEntity2DGUIElement* best = nullptr;
    long bestScore = std::numeric_limits<long>::max();
    for (PXEntity2DGUIElement* candidate : candidates) {
        if (candidate == &from) {
            continue;
        }
        const PXPoint c = Centre(*candidate);
        const long dx = c.x - origin.x;
        const long dy = c.y - origin.y;
        long along = 0;
        long across = 0;
        switch (direction) {
        case PXInputAction::FocusUp:
            along = -dy, across = dx;
            break;
        case PXInputAction::FocusDown:
            along = dy, across = dx;
            break;
        case PXInputAction::FocusLeft:
            along = -dx, across = dy;
            break;
        default:
            along = dx, across = dy;
            break;
        }
        if (along <= 0) {
            continue;
        }
        // Straight ahead beats a nearer element off to the side.
        const long score = along + 2 * std::labs(across);
        if (score < bestScore) {
            bestScore = score;
            best = candidate;
        }
    }
    return best;
}

PXFocusGroup::Outcome PXFocusGroup::Act(PXInputAction action, const Elements& elements)
{
    const Elements usable = Usable(elements);
    if (action == PXInputAction::None || !Settle(usable, elements)) {
        return {};
    }
    const bool navigation = IsDirection(action) || IsWalk(action) || action == PXInputAction::Press;
    if (!m_shown) {
        // The element takes its own keys at once (a list scrolls); a press needs a shown focus.
        if (action != PXInputAction::Press && m_focus->OnInputAction(action) == PXActionResult::Used) {
            Show(true);
            return {PXActionResult::Used, nullptr};
        }
        if (navigation) {
            Show(true);
            return {PXActionResult::Used, nullptr};
        }
        return {};
    }
    const PXActionResult result = m_focus->OnInputAction(action);
    if (result != PXActionResult::Ignored) {
        return {result, result == PXActionResult::Pressed ? m_focus : nullptr};
    }
    if (IsDirection(action)) {
        MoveTo(Nearest(*m_focus, action, usable));
        return {PXActionResult::Used, nullptr};
    }
    if (IsWalk(action)) {
        const auto at = std::find(usable.begin(), usable.end(), m_focus);
        const size_t index = static_cast<size_t>(at - usable.begin());
        const size_t count = usable.size();
        MoveTo(usable[action == PXInputAction::FocusNext ? (index + 1) % count : (index + count - 1) % count]);
        return {PXActionResult::Used, nullptr};
    }
    return {};
}

void PXFocusGroup::FollowPointer(const PXPoint& pointer, const Elements& elements)
{
    const bool moved = m_pointerKnown && (pointer.x != m_pointer.x || pointer.y != m_pointer.y);
    m_pointerKnown = true;
    m_pointer = pointer;
    if (!moved) {
        return;
    }
    const Elements usable = Usable(elements);
    if (!Settle(usable, elements)) {
        return;
    }
    for (PXEntity2DGUIElement* element : usable) {
        if (StrictlyInside(*element, pointer)) {
            MoveTo(element);
            Show(true);
            return;
        }
    }
    Show(false);
}

void PXFocusGroup::Focus(PXEntity2DGUIElement* element, bool shown, const Elements& elements)
{
    const Elements usable = Usable(elements);
    if (!Settle(usable, elements) || !Contains(usable, element)) {
        return;
    }
    MoveTo(element);
    Show(shown);
}

void PXFocusGroup::Release(const Elements& elements)
{
    if (m_focus != nullptr && m_shown && Contains(elements, m_focus)) {
        m_focus->SetFocused(false);
    }
    m_focus = nullptr;
    m_shown = false;
}
