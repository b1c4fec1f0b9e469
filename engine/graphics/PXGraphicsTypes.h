// Value types shared by the screen, the drawing operations and the image readers.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

// Edges in the order left, right, top, bottom; right and bottom are exclusive.
struct PXRect {
    int32_t left = 0;
    int32_t right = 0;
    int32_t top = 0;
    int32_t bottom = 0;

    bool IsEmpty() const { return right <= left || bottom <= top; }
    bool operator==(const PXRect& o) const
    {
        return left == o.left && right == o.right && top == o.top && bottom == o.bottom;
    }
    bool operator!=(const PXRect& o) const { return !(*this == o); }
};

struct PXPoint {
    int32_t x = 0;
    int32_t y = 0;
};

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

struct PXPixelFormat {
    uint32_t bitsPerPixel = 0;
    uint32_t redMask = 0, redWidth = 0, redShift = 0, redLoss = 0;
    uint32_t greenMask = 0, greenWidth = 0, greenShift = 0, greenLoss = 0;
    uint32_t blueMask = 0, blueWidth = 0, blueShift = 0, blueLoss = 0;
};

// The format for a depth: 5-5-5 at 16 bits, 8-8-8 at 24 and 32, all zero otherwise.
PXPixelFormat MakePixelFormat(uint32_t bitsPerPixel);

// Packs 8-bit channel values into a pixel of the format (low bits dropped).
inline uint32_t PackPixel(const PXPixelFormat& f, uint32_t red, uint32_t green, uint32_t blue)
{
    return ((red >> f.redLoss) << f.redShift) | ((green >> f.greenLoss) << f.greenShift) |
           ((blue >> f.blueLoss) << f.blueShift);
}

struct PXSurfaceDesc {
    uint32_t bytesPerPixel = 0;
    uint32_t width = 0;
    uint32_t height = 0;
    uint32_t pitch = 0;
    uint8_t* pixels = nullptr;
};

// A decoded image file in its own depth: rows top first, width x bytes-per-pixel bytes
// each, no padding. Owns its data, row table and palette.
struct PXBitmapDesc {
    std::unique_ptr<uint8_t[]> data;
    std::unique_ptr<uint8_t*[]> rows;
    uint32_t bitsPerPixel = 0;
    uint32_t width = 0;
    uint32_t height = 0;
    std::unique_ptr<PXColor[]> palette; // 256 entries, 8-bit bitmaps only
    std::string name;
};

struct PXScreenDesc {
    uint32_t width = 0;
    uint32_t height = 0;
    PXPixelFormat pixelFormat; // bitsPerPixel in; the rest out
    bool fullScreen = false;
};

struct PXDirtyList {
    static constexpr int32_t Capacity = 100;
    PXRect rects[Capacity];
    int32_t count = 0;
};

// One image in the screen's 16-bit format, owned by the screen's image table.
struct PXImage {
    uint32_t width = 0;
    uint32_t height = 0;
    std::vector<uint16_t> pixels; // width x height, top row first
    int32_t originX = 0;
    int32_t originY = 0;
    std::string name;
    uint32_t lockCount = 0;
};

// Source sizes of this value reach to the edge of the source.
constexpr uint32_t PXToEdge = 0xFFFFFFFFu;
