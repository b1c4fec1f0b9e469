// A colour as the frame buffer code reads it: the bytes blue, green, red, alpha in memory.
#pragma once

#include <cstdint>

// Memory order blue, green, red, alpha; alpha 255 is opaque.
struct PXColor {
    uint8_t blue = 0;
    uint8_t green = 0;
    uint8_t red = 0;
    uint8_t alpha = 0;

    bool operator==(const PXColor& o) const
    {
        return blue == o.blue && green == o.green && red == o.red && alpha == o.alpha;
    }
    bool operator!=(const PXColor& o) const { return !(*this == o); }
};

// Builds a colour from its channels in the usual reading order.
inline PXColor MakeColor(uint8_t red, uint8_t green, uint8_t blue, uint8_t alpha = 255)
{
    PXColor c;
    c.red = red;
    c.green = green;
    c.blue = blue;
    c.alpha = alpha;
    return c;
}
