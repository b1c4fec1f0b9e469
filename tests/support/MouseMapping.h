// Helpers of the mouse-mapping checks of the scaling layout and of both screens: the corner
// pixels of the view a frame is shown in with the frame pixels each must map back to, and
// the last mouse position a screen queued.
#pragma once

#include <array>
#include <cstdint>

#include "engine/core/PXEvent.h"
#include "engine/graphics/PXGraphicsTypes.h"

struct ViewCorner {
    int32_t x, y;
    int32_t frameX, frameY;
};

inline std::array<ViewCorner, 4> ViewCorners(const PXRect& v, int32_t frameWidth = 640, int32_t frameHeight = 480)
{
    return {{{v.left, v.top, 0, 0},
             {v.right - 1, v.top, frameWidth - 1, 0},
             {v.left, v.bottom - 1, 0, frameHeight - 1},
             {v.right - 1, v.bottom - 1, frameWidth - 1, frameHeight - 1}}};
}

// Empties the queue; the position of its last mouse move, or far outside the frame.
inline PXPoint LastMousePosition(PXEventQueue& queue)
{
    PXPoint p{-9999, -9999};
    PXEvent e;
    while (queue.Pop(e)) {
        if (e.type == EventMouseMove) {
            p = PXPoint{MouseX(e.value), MouseY(e.value)};
        }
    }
    return p;
}
