// The corner pixels of the view a frame is shown in, and the frame pixels each must map
// back to: the mouse-mapping checks of the scaling layout and of both screens.
#pragma once

#include <array>
#include <cstdint>

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
