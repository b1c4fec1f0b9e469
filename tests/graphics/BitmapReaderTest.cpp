// Windows bitmap reader: every depth, row order, palettes, post-processing and refusals.
#include <gtest/gtest.h>

#include <vector>

#include "engine/graphics/PXBitmap.h"
#include "tests/support/ImageFiles.h"

namespace {

using imagefiles::AsBuffer;
using imagefiles::Bmp;
using imagefiles::BuildBmp;

std::vector<uint8_t> Row(const PXBitmapDesc& b, uint32_t r)
{
    const uint32_t bytes = b.width * ((b.bitsPerPixel + 1) / 8);
    return std::vector<uint8_t>(b.rows[r], b.rows[r] + bytes);
}

uint32_t Read(const Bmp& bmp, PXBitmapDesc& out, uint32_t flags = 0)
{
    return ReadBitmapFile(out, AsBuffer(BuildBmp(bmp)).get(), flags);
}

// A 3 x 2 picture in the given depth whose bytes count up, so rows and pixels are told apart.
Bmp Counting(uint16_t depth, int32_t height = 2)
{
    Bmp b;
    b.width = 3;
    b.height = height;
    b.depth = depth;
    const uint32_t rowBytes = 3 * depth / 8;
    uint8_t next = 1;
    for (int r = 0; r < 2; ++r) {
        std::vector<uint8_t> row;
        for (uint32_t i = 0; i < rowBytes; ++i) {
            row.push_back(next++);
        }
        b.rows.push_back(row);
    }
    return b;
}

TEST(BitmapReader, ReadsEveryDepthUprightWithRowPaddingSkipped)
{
    for (uint16_t depth : {8, 16, 24, 32}) {
        for (int32_t height : {2, -2}) { // bottom-up and top-down files give the same picture
            Bmp bmp = Counting(depth, height);
            if (depth == 8) {
                bmp.palette.assign(4 * 256, 0);
            }
            PXBitmapDesc out;
            ASSERT_EQ(1u, Read(bmp, out)) << depth;
            EXPECT_EQ(depth, out.bitsPerPixel);
            EXPECT_EQ(3u, out.width);
            EXPECT_EQ(2u, out.height);
            EXPECT_EQ(bmp.rows[0], Row(out, 0)) << depth << " " << height;
            EXPECT_EQ(bmp.rows[1], Row(out, 1)) << depth << " " << height;
            EXPECT_EQ(depth == 8, out.palette != nullptr);
            // The rows are one continuous run of data.
            EXPECT_EQ(out.data.get() + 3 * depth / 8, out.rows[1]);
        }
    }
}

TEST(BitmapReader, PaletteTakesColoursUsedOrAll256)
{
    Bmp bmp = Counting(8);
    for (int i = 0; i < 256; ++i) {
        bmp.palette.insert(bmp.palette.end(), {uint8_t(i), uint8_t(i + 1), uint8_t(i + 2), 7});
    }
    PXBitmapDesc all;
    ASSERT_EQ(1u, Read(bmp, all));
    EXPECT_EQ(MakeColor(202, 201, 200, 7), all.palette[200]);

    bmp.coloursUsed = 2;
    bmp.palette.resize(8);
    PXBitmapDesc two;
    ASSERT_EQ(1u, Read(bmp, two));
    EXPECT_EQ(MakeColor(3, 2, 1, 7), two.palette[1]);
    EXPECT_EQ(MakeColor(0, 0, 0, 255), two.palette[2]); // the rest stays opaque black
}

// Current tools write the 108- and 124-byte headers by default; the palette comes after
// the header, not at a fixed offset inside it.
TEST(BitmapReader, PaletteFollowsTheHeaderWhateverItsSize)
{
    for (uint32_t headerSize : {40u, 108u, 124u}) {
        SCOPED_TRACE(headerSize);
        Bmp bmp = Counting(8);
        bmp.headerSize = headerSize;
        for (int i = 0; i < 256; ++i) {
            bmp.palette.insert(bmp.palette.end(), {uint8_t(i), uint8_t(255 - i), uint8_t(i / 2), 0});
        }
        PXBitmapDesc out;
        ASSERT_EQ(1u, Read(bmp, out));
        EXPECT_EQ(MakeColor(0, 255, 0, 0), out.palette[0]);
        EXPECT_EQ(MakeColor(100, 55, 200, 0), out.palette[200]);
        EXPECT_EQ(bmp.rows[0], Row(out, 0));

        Bmp deep = Counting(24);
        deep.headerSize = headerSize;
        ASSERT_EQ(1u, Read(deep, out));
        EXPECT_EQ(deep.rows[1], Row(out, 1));
    }
}

TEST(BitmapReader, FlipAndMirrorRotateAndHalfBrightDimsThePalette)
{
    Bmp bmp = Counting(8);
    bmp.coloursUsed = 1;
    bmp.palette = {200, 100, 51, 255};
    PXBitmapDesc out;
    ASSERT_EQ(1u, Read(bmp, out, PXBitmapFlip | PXBitmapMirror | PXBitmapHalfBright));
    EXPECT_EQ((std::vector<uint8_t>{6, 5, 4}), Row(out, 0));
    EXPECT_EQ((std::vector<uint8_t>{3, 2, 1}), Row(out, 1));
    EXPECT_EQ(MakeColor(25, 50, 100, 127), out.palette[0]);
    EXPECT_EQ(MakeColor(0, 0, 0, 127), out.palette[9]);

    // Mirroring moves whole pixels; half brightness has no palette to touch at 24 bits.
    PXBitmapDesc deep;
    ASSERT_EQ(1u, Read(Counting(24), deep, PXBitmapMirror | PXBitmapHalfBright));
    EXPECT_EQ((std::vector<uint8_t>{7, 8, 9, 4, 5, 6, 1, 2, 3}), Row(deep, 0));
}

TEST(BitmapReader, UnsupportedDepthIsReadWithoutPixelsAndFailsConversion)
{
    Bmp bmp;
    bmp.width = 8;
    bmp.height = 1;
    bmp.depth = 4;
    bmp.rows = {{0x12, 0x34, 0x56, 0x78}};
    PXBitmapDesc out;
    ASSERT_EQ(1u, Read(bmp, out));
    EXPECT_EQ(4u, out.bitsPerPixel);
    EXPECT_EQ(nullptr, out.data);
    PXImage image;
    EXPECT_EQ(0u, ConvertBitmap(image, out, MakePixelFormat(16), 0));
}

TEST(BitmapReader, RefusesBadFiles)
{
    struct Case {
        const char* what;
        std::vector<uint8_t> bytes;
    };
    auto with = [](auto change) {
        Bmp b = Counting(24);
        change(b);
        return BuildBmp(b);
    };
    std::vector<uint8_t> badSignature = BuildBmp(Counting(24));
    badSignature[1] = 'N';
    std::vector<uint8_t> truncated = BuildBmp(Counting(24));
    truncated.resize(truncated.size() - 4); // the last row's padding and one pixel byte
    const Case cases[] = {
        {"signature", badSignature},
        {"empty", {}},
        {"header only", std::vector<uint8_t>{'B', 'M', 0, 0}},
        {"too large", with([](Bmp& b) { b.width = 4000, b.height = 1001; })},
        {"too large upside down", with([](Bmp& b) { b.width = 4000, b.height = -1001; })},
        {"negative width", with([](Bmp& b) { b.width = -3; })},
        {"depth over 32", with([](Bmp& b) { b.depth = 48; })},
        {"compressed", with([](Bmp& b) { b.compression = 1; })},
        {"bit fields in a large header", with([](Bmp& b) { b.headerSize = 124, b.depth = 16, b.compression = 3; })},
        {"core header", with([](Bmp& b) { b.headerSize = 12; })},
        {"palette after a header past the end", with([](Bmp& b) { b.depth = 8, b.headerSize = 100000; })},
        {"palette over 256", with([](Bmp& b) { b.depth = 8, b.coloursUsed = 257; })},
        {"palette past the end", with([](Bmp& b) { b.depth = 8, b.height = 1, b.rows = {{1, 2, 3}}; })},
        {"pixels past the end", truncated},
        {"height beyond the data", with([](Bmp& b) { b.height = 200; })},
    };
    for (const Case& c : cases) {
        PXBitmapDesc out;
        out.name = "kept";
        AllocateBitmap(out, 2, 2, 8);
        EXPECT_EQ(0u, ReadBitmapFile(out, AsBuffer(c.bytes).get(), 0)) << c.what;
        EXPECT_EQ(nullptr, out.data) << c.what;
        EXPECT_EQ(0u, out.width) << c.what;
    }
    PXBitmapDesc out;
    EXPECT_EQ(0u, ReadBitmapFile(out, nullptr, 0));
}

TEST(BitmapReader, LargestAllowedSizeIsRead)
{
    Bmp bmp;
    bmp.width = 4999;
    bmp.height = 1;
    bmp.depth = 8;
    bmp.palette.assign(1024, 0);
    bmp.rows = {std::vector<uint8_t>(4999, 9)};
    PXBitmapDesc out;
    ASSERT_EQ(1u, Read(bmp, out));
    EXPECT_EQ(9, out.rows[0][4998]);
}

} // namespace
