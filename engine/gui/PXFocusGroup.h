// The keyboard/pad focus over a group of elements: a scene's elements, or a dialog's
// buttons. The group keeps which element has the focus and whether it is shown; the owner
// hands it the candidates (in focus order) with each call, since they may hide or change.
//
// Rules: the focus starts on the first element that can take it, hidden. A focus action
// first goes to the focused element (a list scrolls itself); while the focus is hidden, a
// navigation action the element does not take, or Press, only shows the focus. Once shown,
// Up/Down/Left/Right move it to the nearest element that way (by the elements'
// rectangles), Next/Previous walk the order and wrap. A pointer move puts the focus on the
// element under the pointer; over none, the focus stays but is hidden.
#pragma once

#include <vector>

#include "engine/graphics/PXGraphicsTypes.h"
#include "engine/gui/PXEntity2DGUIElement.h"

class PXFocusGroup {
public:
    using Elements = std::vector<PXEntity2DGUIElement*>;

    struct Outcome {
        PXActionResult result = PXActionResult::Ignored;
        PXEntity2DGUIElement* element = nullptr;  // the focused element that was pressed
    };

    // Handles one action; Ignored when it is not a focus matter (Back, or nothing to focus).
    Outcome Act(PXInputAction action, const Elements& elements);
    // Called once a frame with the pointer's position; only a move changes the focus.
    void FollowPointer(const PXPoint& pointer, const Elements& elements);
    // Puts the focus on `element` (one of `elements`), shown or hidden.
    void Focus(PXEntity2DGUIElement* element, bool shown, const Elements& elements);
    // Takes the focused look off the element (when it is still one of `elements`) and
    // forgets it: the owner is going away, the elements may stay.
    void Release(const Elements& elements);

    // The element holding the focus, shown or not; none before the first call.
    PXEntity2DGUIElement* Focused() const { return m_focus; }
    bool IsShown() const { return m_shown; }

    // The element of `candidates` nearest to `from` in the direction (FocusUp, FocusDown,
    // FocusLeft or FocusRight) by the rectangles' centres, or none.
    static PXEntity2DGUIElement* Nearest(const PXEntity2DGUIElement& from, PXInputAction direction,
                                         const Elements& candidates);

private:
    // The candidates that can take the focus, in order.
    static Elements Usable(const Elements& elements);
    // Keeps the focus on a usable element: the first one when it had none or lost it.
    // False when no element can take it.
    bool Settle(const Elements& usable, const Elements& elements);
    void MoveTo(PXEntity2DGUIElement* element);
    void Show(bool shown);

    PXEntity2DGUIElement* m_focus = nullptr;  // not owned
    bool m_shown = false;
    bool m_pointerKnown = false;
    PXPoint m_pointer;
};
