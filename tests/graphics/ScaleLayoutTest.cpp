// The scaling modes' layout: where the picture lies in a window, the whole factor, the
// mapping of window pixels to frame pixels and back, and the whole-factor enlargement.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "engine/graphics/PXScaleLayout.h"
#include "tests/support/MouseMapping.h"

namespace {

std::string Describe(const PXRect& r)
{
    return "{" + std::to_string(r.left) + "," + std::to_string(r.right) + "," + std::to_string(r.top) + "," +
           std::to_string(r.bottom) + "}";
}

TEST(ScaleMode, NamesReadBackInAnyCase)
{
    struct Case {
        const char* text;
        bool known;
        PXScaleMode mode;
    };
    const Case cases[] = {
        {"sharp", true, PXScaleMode::Sharp},   {"PIXEL", true, PXScaleMode::Pixel},
        {" Smooth\r", true, PXScaleMode::Smooth}, {"", false, PXScaleMode::Sharp},
        {"nearest", false, PXScaleMode::Sharp}, {"sharpest", false, PXScaleMode::Sharp},
        {"pix el", false, PXScaleMode::Sharp},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        PXScaleMode mode = PXScaleMode::Sharp;
        EXPECT_EQ(PXParseScaleMode(c.text, &mode), c.known);
        EXPECT_EQ(mode, c.mode);
        if (c.known) {
            PXScaleMode again = PXScaleMode::Sharp;
            EXPECT_TRUE(PXParseScaleMode(PXScaleModeName(c.mode), &again));
            EXPECT_EQ(again, c.mode);
        }
    }
}

TEST(ScaleLayout, LetterboxKeepsTheFrameShapeCentred)
{
    struct Case {
        int32_t w, h;
        PXRect view;
    };
    const Case cases[] = {
        {640, 480, {0, 640, 0, 480}},
        {1280, 1024, {0, 1280, 32, 992}},   // wider than tall: bars above and below
        {1920, 1080, {240, 1680, 0, 1080}}, // bars left and right
        {0, 0, {0, 0, 0, 0}},               // a minimised window
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.w) + "x" + std::to_string(c.h));
        EXPECT_EQ(Describe(PXLetterbox(c.w, c.h, 640, 480)), Describe(c.view));
    }
}

struct LayoutCase {
    PXScaleMode mode;
    int32_t w, h, maxFactor;
    PXRect view;
    int32_t factor;
    bool exact;
};

const LayoutCase LayoutCases[] = {
    // The most common desktop: 2x, then 1.125 smoothly; whole 2x with a border; or 2.25 smoothly.
    {PXScaleMode::Sharp, 1920, 1080, 8, {240, 1680, 0, 1080}, 2, false},
    {PXScaleMode::Pixel, 1920, 1080, 8, {320, 1600, 60, 1020}, 2, true},
    {PXScaleMode::Smooth, 1920, 1080, 8, {240, 1680, 0, 1080}, 1, false},
    // A whole factor that fills the letterbox needs no smooth step.
    {PXScaleMode::Sharp, 2560, 1440, 8, {320, 2240, 0, 1440}, 3, true},
    {PXScaleMode::Sharp, 640, 480, 8, {0, 640, 0, 480}, 1, true},
    {PXScaleMode::Pixel, 1280, 1024, 8, {0, 1280, 32, 992}, 2, true},
    {PXScaleMode::Pixel, 1919, 1440, 8, {319, 1599, 240, 1200}, 2, true},
    // Bigger displays stop at the largest factor; the texture limit stops earlier.
    {PXScaleMode::Sharp, 3840, 2160, 8, {480, 3360, 0, 2160}, 4, false},
    {PXScaleMode::Pixel, 7680, 4320, 8, {2560, 5120, 1200, 3120}, 4, true},
    {PXScaleMode::Pixel, 1920, 1080, 1, {640, 1280, 300, 780}, 1, true},
    // Smaller than the frame: no whole factor fits, and every mode shrinks to the letterbox.
    {PXScaleMode::Pixel, 600, 400, 8, {33, 566, 0, 400}, 1, false},
    {PXScaleMode::Sharp, 600, 400, 8, {33, 566, 0, 400}, 1, false},
    {PXScaleMode::Pixel, 0, 0, 8, {0, 0, 0, 0}, 1, false},
};

std::string Describe(const LayoutCase& c)
{
    return std::string(PXScaleModeName(c.mode)) + " " + std::to_string(c.w) + "x" + std::to_string(c.h);
}

TEST(ScaleLayout, EachModePlacesThePictureAndItsFactor)
{
    for (const LayoutCase& c : LayoutCases) {
        SCOPED_TRACE(Describe(c));
        const PXScaleLayout layout = PXScaleLayout::Compute(c.mode, c.w, c.h, 640, 480, c.maxFactor);
        EXPECT_EQ(Describe(layout.view), Describe(c.view));
        EXPECT_EQ(layout.factor, c.factor);
        EXPECT_EQ(layout.IsExact(), c.exact);
        EXPECT_EQ(layout.EnlargedWidth(), 640 * c.factor);
        EXPECT_EQ(layout.EnlargedHeight(), 480 * c.factor);
    }
}

TEST(ScaleLayout, ViewCornersMapToFrameCornersAndOutsideStaysOutside)
{
    for (const LayoutCase& c : LayoutCases) {
        SCOPED_TRACE(Describe(c));
        const PXScaleLayout layout = PXScaleLayout::Compute(c.mode, c.w, c.h, 640, 480, c.maxFactor);
        const PXRect& v = layout.view;
        // A picture shrunk below the frame's size cannot show every frame pixel.
        if (v.right - v.left < 640) {
            continue;
        }
        for (const ViewCorner& k : ViewCorners(v)) {
            const PXPoint p = layout.OutputToFrame(k.x, k.y);
            EXPECT_EQ(p.x, k.frameX) << k.x << "," << k.y;
            EXPECT_EQ(p.y, k.frameY) << k.x << "," << k.y;
        }
        EXPECT_LT(layout.OutputToFrame(v.left - 1, v.top).x, 0);
        EXPECT_LT(layout.OutputToFrame(v.left, v.top - 1).y, 0);
        EXPECT_GE(layout.OutputToFrame(v.right, v.top).x, 640);
        EXPECT_GE(layout.OutputToFrame(v.left, v.bottom).y, 480);
        // A frame pixel sent to the window and read back is the same pixel.
        for (int32_t x = 0; x < 640; x += 7) {
            const int32_t y = (x * 3) % 480;
            const PXPoint out = layout.FrameToOutput(x, y);
            const PXPoint back = layout.OutputToFrame(out.x, out.y);
            EXPECT_EQ(back.x, x);
            EXPECT_EQ(back.y, y);
        }
    }
}

TEST(ScaleLayout, WholeFactorsMapEverySquareToOneFramePixel)
{
    const PXScaleLayout layout = PXScaleLayout::Compute(PXScaleMode::Pixel, 1920, 1080, 640, 480, 8);
    ASSERT_EQ(layout.factor, 2);
    for (int32_t x = layout.view.left; x < layout.view.right; ++x) {
        const int32_t y = layout.view.top + (x % 960);
        const PXPoint p = layout.OutputToFrame(x, y);
        ASSERT_EQ(p.x, (x - layout.view.left) / 2) << x;
        ASSERT_EQ(p.y, (y - layout.view.top) / 2) << y;
    }
}

TEST(ScaleConversion, FiveBitChannelsWidenToEightBits)
{
    struct Case {
        uint16_t pixel;
        uint32_t xrgb;
    };
    const Case cases[] = {
        {0x0000, 0x000000},
        {0x7FFF, 0xFFFFFF},
        {0x7C00, 0xFF0000},
        {0x03E0, 0x00FF00},
        {0x001F, 0x0000FF},
        {0x4210, 0x848484},
        {0x8000, 0x000000} /* top bit ignored */,
    };
    for (const Case& c : cases) {
        EXPECT_EQ(PXToXRGB(c.pixel), c.xrgb) << std::hex << c.pixel;
    }
}

TEST(ScaleConversion, WholeRowsConvertEveryPixelValueAsASinglePixelDoes)
{
    // Every 16-bit value once, in rows long enough for the vectorised row conversion (the
    // path whole dirty rows take) and its leftover pixels: 256 rows of 256, then a row of 7.
    constexpr int32_t Width = 256, Height = 257;
    std::vector<uint16_t> picture(static_cast<size_t>(Width) * Height, 0);
    for (uint32_t v = 0; v < 65536; ++v) {
        picture[v] = static_cast<uint16_t>(v);
    }
    for (uint32_t x = 0; x < 7; ++x) {
        picture[65536 + x] = static_cast<uint16_t>(0x7FFF - 0x0C63 * x);
    }
    for (const PXRect& rect : {PXRect{0, Width, 0, Height - 1}, PXRect{0, 7, Height - 1, Height}}) {
        const size_t w = static_cast<size_t>(rect.right - rect.left);
        std::vector<uint32_t> out(w * static_cast<size_t>(rect.bottom - rect.top), 0xDEADBEEF);
        PXEnlargeToXRGB(reinterpret_cast<const uint8_t*>(picture.data()), Width * 2, rect, 1,
                        reinterpret_cast<uint8_t*>(out.data()), w * 4);
        for (int32_t y = rect.top; y < rect.bottom; ++y) {
            for (int32_t x = rect.left; x < rect.right; ++x) {
                const uint16_t p = picture[static_cast<size_t>(y) * Width + x];
                ASSERT_EQ(out[static_cast<size_t>(y - rect.top) * w + x], PXToXRGB(p)) << std::hex << p;
            }
        }
    }
}

TEST(ScaleConversion, EnlargingWritesWholeSquaresOfTheRectangleOnly)
{
    // A 5 x 4 picture with a padded pitch, every pixel different.
    constexpr size_t Pitch = 12;
    std::vector<uint8_t> picture(Pitch * 4, 0xEE);
    auto source = [](int32_t x, int32_t y) { return static_cast<uint16_t>(0x0421 * (1 + x + 5 * y)); };
    for (int32_t y = 0; y < 4; ++y) {
        for (int32_t x = 0; x < 5; ++x) {
            const uint16_t p = source(x, y);
            std::memcpy(&picture[y * Pitch + 2 * x], &p, 2);
        }
    }
    for (int32_t factor : {1, 3}) {
        SCOPED_TRACE(factor);
        const int32_t outW = 5 * factor + 2;  // a padded destination row
        const uint32_t Untouched = 0xDEADBEEF;
        std::vector<uint32_t> out(static_cast<size_t>(outW) * 4 * factor, Untouched);
        const PXRect rect{1, 4, 1, 3};
        uint8_t* at = reinterpret_cast<uint8_t*>(out.data() + static_cast<size_t>(rect.top * factor) * outW +
                                                 rect.left * factor);
        PXEnlargeToXRGB(picture.data(), Pitch, rect, factor, at, static_cast<size_t>(outW) * 4);
        for (int32_t oy = 0; oy < 4 * factor; ++oy) {
            for (int32_t ox = 0; ox < outW; ++ox) {
                const int32_t x = ox / factor, y = oy / factor;
                const bool inside = x >= rect.left && x < rect.right && y >= rect.top && y < rect.bottom;
                const uint32_t want = inside ? PXToXRGB(source(x, y)) : Untouched;
                ASSERT_EQ(out[static_cast<size_t>(oy) * outW + ox], want) << ox << "," << oy;
            }
        }
    }
}

}  // namespace
