// Conversion of decoded bitmaps into 5-5-5 screen images, with and without dithering.
#include <gtest/gtest.h>

#include <vector>

#include "engine/graphics/PXBitmap.h"
#include "tests/graphics/ScreenFixture.h"

namespace {

const PXPixelFormat Format555 = MakePixelFormat(16);

PXBitmapDesc Paletted(uint32_t w, uint32_t h, std::vector<PXColor> colours, std::vector<uint8_t> indices)
{
    PXBitmapDesc b;
    AllocateBitmap(b, w, h, 8);
    b.palette.reset(new PXColor[256]());
    std::copy(colours.begin(), colours.end(), b.palette.get());
    std::copy(indices.begin(), indices.end(), b.data.get());
    b.name = "pal";
    return b;
}

std::vector<uint16_t> Convert(const PXBitmapDesc& b, uint32_t flags = 0)
{
    PXImage image;
    EXPECT_EQ(1u, ConvertBitmap(image, b, Format555, flags));
    EXPECT_EQ(b.width, image.width);
    EXPECT_EQ(b.name, image.name);
    return image.pixels;
}

TEST(Convert, PaletteEntriesBelowThePrecisionBecomeTheKey)
{
    const PXBitmapDesc b = Paletted(3, 1, {MakeColor(8, 8, 8), MakeColor(7, 7, 7), MakeColor(255, 128, 7, 0)},
                                    {0, 1, 2});
    EXPECT_EQ((std::vector<uint16_t>{Px(1, 1, 1), 0, Px(31, 16, 0)}), Convert(b));
}

TEST(Convert, DitheringSpreadsTheDroppedBits)
{
    const PXBitmapDesc b = Paletted(2, 2, {MakeColor(12, 12, 12)}, {0, 0, 0, 0});
    EXPECT_EQ(std::vector<uint16_t>(4, Px(1, 1, 1)), Convert(b));
    EXPECT_EQ((std::vector<uint16_t>{Px(1, 1, 1), Px(1, 1, 1), Px(1, 1, 1), Px(2, 2, 2)}),
              Convert(b, PXBitmapDither));
}

TEST(Convert, DitheringClampsAndDoesNotCarryAcrossRows)
{
    // 254 plus carried error clamps at 255 (-> 31); the carry restarts on every row.
    const PXBitmapDesc b = Paletted(3, 2, {MakeColor(254, 4, 6)}, {0, 0, 0, 0, 0, 0});
    const std::vector<uint16_t> out = Convert(b, PXBitmapDither);
    // Row 0: green 4 -> 0 (error 4, carry 2, down 2); 4+2=6 -> 0 (carry 3, down 3); 4+3=7 -> 0.
    // Row 1 starts without carry: 4 + down 2 = 6 -> 0; then 4 + 3 + 3 = 10 -> 1.
    EXPECT_EQ(31, out[0] >> 10);
    EXPECT_EQ((std::vector<uint16_t>{0, 0, 0, 0, 1, 1}),
              (std::vector<uint16_t>{uint16_t((out[0] >> 5) & 31), uint16_t((out[1] >> 5) & 31),
                                     uint16_t((out[2] >> 5) & 31), uint16_t((out[3] >> 5) & 31),
                                     uint16_t((out[4] >> 5) & 31), uint16_t((out[5] >> 5) & 31)}));
}

TEST(Convert, DirectDepths)
{
    struct Case {
        uint32_t depth;
        std::vector<uint8_t> bytes; // one pixel
        uint16_t expected;
    };
    const Case cases[] = {
        {15, {0x1F, 0x7C}, Px(31, 0, 31)},           // 5-5-5 copy
        {15, {0xE0, 0x03}, Px(0, 31, 0)},
        {16, {0xFF, 0x07}, Px(0, 31, 31)},           // 5-6-5: green loses its low bit
        {16, {0x40, 0x00}, Px(0, 1, 0)},
        {16, {0x20, 0x00}, 0},
        {16, {0x00, 0xF8}, Px(31, 0, 0)},
        {24, {0x10, 0x80, 0xF8}, Px(31, 16, 2)},     // blue, green, red
        {32, {0x10, 0x80, 0xF8, 0x00}, Px(31, 16, 2)}, // the fourth byte is ignored
    };
    for (const Case& c : cases) {
        PXBitmapDesc b;
        AllocateBitmap(b, 1, 1, c.depth);
        std::copy(c.bytes.begin(), c.bytes.end(), b.data.get());
        EXPECT_EQ(std::vector<uint16_t>{c.expected}, Convert(b)) << c.depth;
    }
}

TEST(Convert, Refusals)
{
    PXImage image;
    image.width = 5;
    image.pixels.assign(5, 1);
    PXBitmapDesc noPalette;
    AllocateBitmap(noPalette, 1, 1, 8);
    EXPECT_EQ(0u, ConvertBitmap(image, noPalette, Format555, 0));
    EXPECT_EQ(0u, ConvertBitmap(image, noPalette, Format555, PXBitmapDither));
    EXPECT_EQ(0u, image.width);
    EXPECT_TRUE(image.pixels.empty());
    PXBitmapDesc ok;
    AllocateBitmap(ok, 1, 1, 24);
    EXPECT_EQ(0u, ConvertBitmap(image, ok, MakePixelFormat(32), 0));
    PXBitmapDesc noData;
    noData.bitsPerPixel = 24;
    noData.width = 4;
    noData.height = 4;
    EXPECT_EQ(0u, ConvertBitmap(image, noData, Format555, 0));
}

TEST(Convert, CreateImageDithersOnFlag16)
{
    PXMemoryScreen2D screen;
    PXScreenDesc desc;
    desc.width = 4;
    desc.height = 4;
    desc.pixelFormat.bitsPerPixel = 16;
    ASSERT_EQ(1u, screen.Create(&desc, "t"));
    uint32_t plain = 0, dithered = 0;
    const PXBitmapDesc b = Paletted(2, 2, {MakeColor(12, 12, 12)}, {0, 0, 0, 0});
    ASSERT_EQ(1u, screen.CreateImage(b, &plain, PXBitmapMirror));
    ASSERT_EQ(1u, screen.CreateImage(b, &dithered, PXBitmapDither));
    PXImage* image = nullptr;
    ASSERT_EQ(1u, screen.GetImage(plain, &image));
    EXPECT_EQ(Px(1, 1, 1), image->pixels[3]);
    ASSERT_EQ(1u, screen.GetImage(dithered, &image));
    EXPECT_EQ(Px(2, 2, 2), image->pixels[3]);
}

} // namespace
