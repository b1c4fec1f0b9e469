// A colour as the frame buffer code reads it: the bytes blue, green, red, alpha in memory.
#pragma once

#include <cstdint>

struct PXColor {
    uint8_t blue = 0;
    uint8_t green = 0;
    uint8_t red = 0;
    uint8_t alpha = 0;
};
