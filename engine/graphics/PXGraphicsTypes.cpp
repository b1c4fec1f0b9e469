// Pixel-format derivation from a depth and its channel masks.
#include "engine/graphics/PXGraphicsTypes.h"

namespace {

// Width, shift and loss of one channel: zero bits below the mask, then its one bits.
void DeriveChannel(uint32_t mask, uint32_t& width, uint32_t& shift, uint32_t& loss)
{
    shift = 0;
    width = 0;
    if (mask != 0) {
        while (((mask >> shift) & 1u) == 0) {
            ++shift;
        }
        while (shift + width < 32 && ((mask >> (shift + width)) & 1u) != 0) {
            ++width;
        }
    }
    loss = 8 - width;
}

} // namespace

PXPixelFormat MakePixelFormat(uint32_t bitsPerPixel)
{
    PXPixelFormat f;
    uint32_t red = 0, green = 0, blue = 0;
    if (bitsPerPixel == 16) {
        red = 0x7C00;
        green = 0x03E0;
        blue = 0x001F;
    } else if (bitsPerPixel == 24 || bitsPerPixel == 32) {
        red = 0xFF0000;
        green = 0x00FF00;
        blue = 0x0000FF;
    } else {
        return f;
    }
    f.bitsPerPixel = bitsPerPixel;
    f.redMask = red;
    f.greenMask = green;
    f.blueMask = blue;
    DeriveChannel(red, f.redWidth, f.redShift, f.redLoss);
    DeriveChannel(green, f.greenWidth, f.greenShift, f.greenLoss);
    DeriveChannel(blue, f.blueWidth, f.blueShift, f.blueLoss);
    return f;
}
