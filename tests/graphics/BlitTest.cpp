// Image blits: placement by origin, source rectangles, the per-pixel rules and keying.
#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <vector>

#include "engine/graphics/PXBitmap.h"
#include "engine/graphics/PXPixelMath.h"
#include "tests/graphics/ScreenFixture.h"

namespace {

using BlitTest = ScreenTest;

const uint16_t A = Px(10, 20, 30);
const uint16_t B = Px(1, 2, 3);
const uint16_t C = Px(31, 0, 16);

TEST_F(BlitTest, WholeImageIsPlacedByItsOrigin)
{
    const uint32_t id = AddImage(2, 2, {A, B, C, 0}, 8, 8);
    FillScreen(White);
    EXPECT_EQ(1u, screen.Blit(id, 8, 8, 0, 0, PXToEdge, PXToEdge, false));
    EXPECT_EQ((std::vector<uint16_t>{A, B, White, C, 0, White, White, White, White}), Region(0, 0, 3, 3));
}

TEST_F(BlitTest, SourceRectangleAndScreenEdgesCut)
{
    // 3 x 2 image; copy its right 2 x 2 part so that one column falls off the left edge.
    const uint32_t id = AddImage(3, 2, {A, B, C, B, C, A});
    EXPECT_EQ(1u, screen.Blit(id, -1, H - 1, 1, 0, 5, 5, false));
    EXPECT_EQ(C, screen.GetPixel(0, H - 1));
    EXPECT_EQ(0, screen.GetPixel(1, H - 1));
    EXPECT_EQ(0, screen.GetPixel(0, H - 2));
}

TEST_F(BlitTest, SourceStartPastTheImageDrawsNothing)
{
    const uint32_t id = AddImage(2, 2, {A, A, A, A});
    const std::vector<uint16_t> before = Frame();
    EXPECT_EQ(1u, screen.Blit(id, 0, 0, 2, 0, PXToEdge, PXToEdge, false));
    EXPECT_EQ(1u, screen.Blit(id, 0, 0, 0, 7, 1, 1, true));
    EXPECT_EQ(1u, screen.Blit(id, INT32_MAX, INT32_MIN, 0, 0, PXToEdge, PXToEdge, false));
    EXPECT_EQ(before, Frame());
}

TEST_F(BlitTest, KeyedSkipsBlackUnkeyedCopiesIt)
{
    const uint32_t id = AddImage(2, 1, {0, A});
    FillScreen(White);
    screen.Blit(id, 0, 0, 0, 0, PXToEdge, PXToEdge, true);
    screen.Blit(id, 0, 1, 0, 0, PXToEdge, PXToEdge, false);
    EXPECT_EQ((std::vector<uint16_t>{White, A, 0, A}), Region(0, 0, 2, 2));
}

TEST_F(BlitTest, FlippedMirrorsTopToBottom)
{
    const uint32_t id = AddImage(1, 4, {A, B, C, 0}, 0, 1);
    FillScreen(White);
    // Rows 1..2 of the source, keyed, placed with origin y 1.
    EXPECT_EQ(1u, screen.BlitFlipped(id, 0, 1, 0, 1, 1, 2, true));
    EXPECT_EQ((std::vector<uint16_t>{C, B, White}), Region(0, 0, 1, 3));
    EXPECT_EQ(1u, screen.BlitFlipped(id, 2, 0, 0, 0, PXToEdge, PXToEdge, false));
    EXPECT_EQ((std::vector<uint16_t>{C, B, A, White}), Region(2, 0, 1, 4)); // origin y 1 lifts it
}

TEST_F(BlitTest, AlphaRules)
{
    struct Case {
        uint32_t alpha;
        bool keyed;
        uint16_t src, dst, expected;
    };
    const Case cases[] = {
        {256, false, A, White, A},
        {0xFFFFFFFF, false, A, White, A},   // -1 copies exactly
        {0xFFFF, false, A, White, A},       // unkeyed: just a full blend
        {0, false, A, White, White},
        {128, false, Px(0, 0, 0), White, Px(15, 15, 15)},
        {1, false, 0, Px(1, 1, 1), 0},      // the shift rounds toward minus infinity
        {128, true, 0, White, White},       // keyed skips black
        {0xFFFF, true, Px(20, 4, 1), Px(20, 30, 0), Px(31, 31, 1)}, // saturating add
        {0xFFFF, true, White, White, White},
    };
    for (const Case& c : cases) {
        const uint32_t id = AddImage(1, 1, {c.src});
        screen.SetPixel(0, 0, c.dst);
        EXPECT_EQ(1u, screen.BlitAlpha(id, 0, 0, 0, 0, PXToEdge, PXToEdge, c.alpha, c.keyed));
        EXPECT_EQ(c.expected, screen.GetPixel(0, 0)) << "alpha " << c.alpha << " keyed " << c.keyed;
    }
}

TEST_F(BlitTest, ModulatedMultipliesTheSourceByPremultipliedColour)
{
    const uint32_t id = AddImage(2, 1, {White, 0});
    FillScreen(Px(3, 3, 3));
    // k = (255, 128, 0) at alpha 255; then (255, 255, 255) at alpha 128 -> k = 128 each.
    EXPECT_EQ(1u, screen.BlitModulated(id, 0, 0, 0, 0, PXToEdge, PXToEdge, true, MakeColor(255, 128, 0)));
    EXPECT_EQ(1u, screen.BlitModulated(id, 0, 1, 0, 0, PXToEdge, PXToEdge, false,
                                       MakeColor(255, 255, 255, 128)));
    EXPECT_EQ((std::vector<uint16_t>{Px(30, 15, 0), Px(3, 3, 3), Px(15, 15, 15), 0}), Region(0, 0, 2, 2));
}

TEST_F(BlitTest, ColorAddWrapsInsteadOfClamping)
{
    const uint32_t id = AddImage(2, 1, {Px(31, 5, 0), 0});
    FillScreen(White);
    EXPECT_EQ(1u, screen.BlitColorAdd(id, 0, 0, 0, 0, PXToEdge, PXToEdge, true, MakeColor(8, 16, 0)));
    EXPECT_EQ(1u, screen.BlitColorAdd(id, 0, 1, 0, 0, PXToEdge, PXToEdge, false, MakeColor(8, 16, 0)));
    EXPECT_EQ((std::vector<uint16_t>{Px(0, 7, 0), White, Px(0, 7, 0), Px(1, 2, 0)}), Region(0, 0, 2, 2));
}

TEST_F(BlitTest, AdditiveScalesThenSaturates)
{
    struct Case {
        uint32_t intensity;
        uint16_t src, dst, expected;
    };
    const Case cases[] = {
        {0, White, Px(1, 2, 3), Px(1, 2, 3)},
        {256, Px(10, 10, 10), Px(25, 1, 0), Px(31, 11, 10)},
        {300, Px(10, 10, 10), Px(25, 1, 0), Px(31, 11, 10)},
        {128, Px(10, 10, 10), Px(0, 0, 0), Px(5, 5, 5)},
        {256, 0, Px(1, 1, 1), Px(1, 1, 1)},
    };
    for (const Case& c : cases) {
        const uint32_t id = AddImage(1, 1, {c.src});
        screen.SetPixel(0, 0, c.dst);
        EXPECT_EQ(1u, screen.BlitAdditive(id, 0, 0, 0, 0, PXToEdge, PXToEdge, c.intensity));
        EXPECT_EQ(c.expected, screen.GetPixel(0, 0)) << "intensity " << c.intensity;
    }
}

PXBitmapDesc Mask(uint32_t w, uint32_t h, std::vector<uint8_t> values, uint32_t depth = 8)
{
    PXBitmapDesc mask;
    AllocateBitmap(mask, w, h, depth);
    std::copy(values.begin(), values.end(), mask.data.get());
    return mask;
}

TEST_F(BlitTest, MaskedBlendsByTheMaskValue)
{
    const uint32_t id = AddImage(3, 1, {White, White, 0});
    FillScreen(0);
    EXPECT_EQ(1u, screen.BlitMasked(id, 0, 0, 0, 0, PXToEdge, PXToEdge, Mask(3, 1, {0, 255, 255})));
    // 255/256 of white: 31 * 255 / 256 rounds down to 30.
    EXPECT_EQ((std::vector<uint16_t>{0, Px(30, 30, 30), 0}), Region(0, 0, 3, 1));

    // A source sub-rectangle reads the mask at the source position.
    FillScreen(0);
    EXPECT_EQ(1u, screen.BlitMasked(id, 5, 5, 1, 0, 1, 1, Mask(3, 1, {255, 0, 0})));
    EXPECT_EQ(0, screen.GetPixel(5, 5));
}

TEST_F(BlitTest, MaskedVariants)
{
    const uint32_t id = AddImage(1, 1, {Px(20, 20, 20)});
    const PXBitmapDesc full = Mask(1, 1, {255});

    screen.SetPixel(0, 0, 0);
    EXPECT_EQ(1u, screen.BlitMaskedAlpha(id, 0, 0, 0, 0, PXToEdge, PXToEdge, full, 128));
    EXPECT_EQ(Px(9, 9, 9), screen.GetPixel(0, 0)); // (255 * 128) >> 8 = 127: 20 * 127 / 256 -> 9

    screen.SetPixel(0, 0, 0);
    EXPECT_EQ(1u, screen.BlitMaskedAlpha(id, 0, 0, 0, 0, PXToEdge, PXToEdge, full, 5000)); // capped at 255
    EXPECT_EQ(Px(19, 19, 19), screen.GetPixel(0, 0));

    screen.SetPixel(0, 0, 0);
    EXPECT_EQ(1u, screen.BlitMaskedModulated(id, 0, 0, 0, 0, PXToEdge, PXToEdge, Mask(1, 1, {128}),
                                             MakeColor(255, 0, 128)));
    EXPECT_EQ(Px(9, 0, 5), screen.GetPixel(0, 0));

    screen.SetPixel(0, 0, 0);
    EXPECT_EQ(1u, screen.BlitMaskedColorAdd(id, 0, 0, 0, 0, PXToEdge, PXToEdge, full, MakeColor(96, 0, 0)));
    EXPECT_EQ(Px(0, 19, 19), screen.GetPixel(0, 0)); // red 20 + 12 wraps to 0, then 255/256
}

TEST_F(BlitTest, MaskedRefusesMasksOfTheWrongShape)
{
    const uint32_t id = AddImage(2, 2, {A, A, A, A});
    const PXColor c = MakeColor(1, 2, 3);
    const PXBitmapDesc masks[] = {Mask(2, 1, {255, 255}), Mask(1, 2, {255, 255}), Mask(2, 2, {}, 16),
                                  PXBitmapDesc()};
    for (const PXBitmapDesc& m : masks) {
        EXPECT_EQ(0u, screen.BlitMasked(id, 0, 0, 0, 0, PXToEdge, PXToEdge, m));
        EXPECT_EQ(0u, screen.BlitMaskedAlpha(id, 0, 0, 0, 0, PXToEdge, PXToEdge, m, 100));
        EXPECT_EQ(0u, screen.BlitMaskedModulated(id, 0, 0, 0, 0, PXToEdge, PXToEdge, m, c));
        EXPECT_EQ(0u, screen.BlitMaskedColorAdd(id, 0, 0, 0, 0, PXToEdge, PXToEdge, m, c));
    }
    EXPECT_EQ(0, screen.GetPixel(0, 0));
}

TEST_F(BlitTest, MissingImageIdsFail)
{
    const uint32_t id = 12345;
    const PXColor c = MakeColor(1, 2, 3);
    PXBitmapDesc mask;
    EXPECT_EQ(0u, screen.Blit(id, 0, 0, 0, 0, 1, 1, false));
    EXPECT_EQ(0u, screen.BlitAlpha(id, 0, 0, 0, 0, 1, 1, 10, false));
    EXPECT_EQ(0u, screen.BlitModulated(id, 0, 0, 0, 0, 1, 1, false, c));
    EXPECT_EQ(0u, screen.BlitFlipped(id, 0, 0, 0, 0, 1, 1, false));
    EXPECT_EQ(0u, screen.BlitScaled(id, 0, 0, 2, 2, 0, 0, 1, 1, false));
    EXPECT_EQ(0u, screen.BlitColorAdd(id, 0, 0, 0, 0, 1, 1, false, c));
    EXPECT_EQ(0u, screen.BlitAdditive(id, 0, 0, 0, 0, 1, 1, 10));
    EXPECT_EQ(0u, screen.BlitMasked(id, 0, 0, 0, 0, 1, 1, mask));
    EXPECT_EQ(0u, screen.TileImage(id, 0, 0, 4, 4, false));
    EXPECT_EQ(0u, screen.TileImageOffset(id, 1, 1, 0, 0, 4, 4, false));
    EXPECT_EQ(0u, screen.TileImageAlpha(id, 0, 0, 4, 4, 10, false));
    EXPECT_EQ(0u, screen.BlitImage(nullptr, 0, 0, 0, 0, 1, 1, false));
}

TEST_F(BlitTest, ScaledRepeatsPixelsAndIgnoresTheOrigin)
{
    const uint32_t id = AddImage(2, 2, {A, B, C, 0}, 1, 1);
    FillScreen(White);
    EXPECT_EQ(1u, screen.BlitScaled(id, 0, 0, 4, 4, 0, 0, PXToEdge, PXToEdge, true));
    EXPECT_EQ((std::vector<uint16_t>{A, A, B, B, A, A, B, B, C, C, White, White, C, C, White, White}),
              Region(0, 0, 4, 4));

    // Equal sizes go through the plain copy and so use the origin.
    FillScreen(White);
    EXPECT_EQ(1u, screen.BlitScaled(id, 1, 1, 2, 2, 0, 0, PXToEdge, PXToEdge, false));
    EXPECT_EQ((std::vector<uint16_t>{A, B, C, 0}), Region(0, 0, 2, 2));

    // Shrinking samples every other pixel.
    const uint32_t wide = AddImage(4, 1, {A, B, C, A});
    EXPECT_EQ(1u, screen.BlitScaled(wide, 5, 5, 2, 1, 0, 0, PXToEdge, PXToEdge, false));
    EXPECT_EQ((std::vector<uint16_t>{A, C}), Region(5, 5, 2, 1));
}

TEST_F(BlitTest, ScaledSourceOffsetThatRunsPastTheImageIsNotDrawn)
{
    // srcX 2 is scaled along with the position (step 2): the first column read is 4, past the image.
    const uint32_t id = AddImage(4, 1, {A, B, C, A});
    FillScreen(White);
    EXPECT_EQ(1u, screen.BlitScaled(id, 0, 0, 1, 1, 2, 0, 2, 1, false));
    EXPECT_EQ(White, screen.GetPixel(0, 0));
}

TEST_F(BlitTest, ScaledWithTrackingOffInvalidatesTheScreen)
{
    const uint32_t id = AddImage(1, 1, {A});
    screen.ClearDirtyList();
    screen.SetDirtyTracking(false);
    EXPECT_EQ(1u, screen.BlitScaled(id, 2, 2, 3, 3, 0, 0, PXToEdge, PXToEdge, false));
    EXPECT_EQ(1, screen.GetDirtyList()->count);
    EXPECT_EQ(std::vector<uint16_t>(9, A), Region(2, 2, 3, 3));
}

TEST_F(BlitTest, RawCopiesA16BitBitmapWithoutOrigin)
{
    PXBitmapDesc raw;
    AllocateBitmap(raw, 2, 2, 16);
    const uint16_t pixels[4] = {A, 0, B, C};
    std::memcpy(raw.data.get(), pixels, sizeof(pixels));
    FillScreen(White);
    EXPECT_EQ(1u, screen.BlitRaw(raw, 3, 4, 0, 0, PXToEdge, PXToEdge, true));
    EXPECT_EQ((std::vector<uint16_t>{A, White, B, C}), Region(3, 4, 2, 2));
    EXPECT_EQ(1u, screen.BlitRaw(raw, 0, 0, 1, 0, PXToEdge, 1, false));
    EXPECT_EQ((std::vector<uint16_t>{0, White}), Region(0, 0, 2, 1));

    PXBitmapDesc eight;
    AllocateBitmap(eight, 2, 2, 8);
    EXPECT_EQ(0u, screen.BlitRaw(eight, 0, 0, 0, 0, PXToEdge, PXToEdge, false));
    EXPECT_EQ(0u, screen.BlitRaw(PXBitmapDesc(), 0, 0, 0, 0, PXToEdge, PXToEdge, false));
}

TEST_F(BlitTest, KeyedCopyMatchesTheReferenceLoop)
{
    std::mt19937 rng(7);
    for (int round = 0; round < 40; ++round) {
        const uint32_t w = 1 + rng() % 9, h = 1 + rng() % 7;
        std::vector<uint16_t> pixels(w * h);
        for (uint16_t& p : pixels) {
            p = rng() % 3 == 0 ? 0 : static_cast<uint16_t>(rng() & 0x7FFF);
        }
        const uint32_t id = AddImage(w, h, pixels, static_cast<int32_t>(rng() % 3), static_cast<int32_t>(rng() % 3));
        const int32_t x = static_cast<int32_t>(rng() % (W + 6)) - 3;
        const int32_t y = static_cast<int32_t>(rng() % (H + 6)) - 3;
        const uint32_t sx = rng() % w, sy = rng() % h;
        const uint32_t sw = rng() % 2 ? PXToEdge : rng() % 10, sh = rng() % 2 ? PXToEdge : rng() % 10;

        FillScreen(static_cast<uint16_t>(round * 97));
        screen.BlitImageKeyedReference(Image(id), x, y, sx, sy, sw, sh);
        const std::vector<uint16_t> expected = Frame();
        FillScreen(static_cast<uint16_t>(round * 97));
        screen.BlitImage(Image(id), x, y, sx, sy, sw, sh, true);
        ASSERT_EQ(expected, Frame()) << "round " << round;
    }
}

TEST_F(BlitTest, FlippedEqualsCopyingAnUpsideDownImage)
{
    // Reading row H - 1 - srcY - k of the image is reading row srcY + k of its mirror.
    std::mt19937 rng(9);
    for (int round = 0; round < 60; ++round) {
        const uint32_t w = 1 + rng() % 20, h = 1 + rng() % 9;
        std::vector<uint16_t> pixels(w * h);
        for (uint16_t& p : pixels) {
            p = rng() % 3 == 0 ? 0 : static_cast<uint16_t>(rng() & 0x7FFF);
        }
        std::vector<uint16_t> mirrored(w * h);
        for (uint32_t r = 0; r < h; ++r) {
            std::copy_n(pixels.begin() + (h - 1 - r) * w, w, mirrored.begin() + r * w);
        }
        const int32_t ox = static_cast<int32_t>(rng() % 3), oy = static_cast<int32_t>(rng() % 3);
        const uint32_t id = AddImage(w, h, pixels, ox, oy);
        const uint32_t mirror = AddImage(w, h, mirrored, ox, oy);
        const int32_t x = static_cast<int32_t>(rng() % (W + 6)) - 3;
        const int32_t y = static_cast<int32_t>(rng() % (H + 6)) - 3;
        const uint32_t sx = rng() % w, sy = rng() % h;
        const uint32_t sw = rng() % 2 ? PXToEdge : rng() % 12, sh = rng() % 2 ? PXToEdge : rng() % 12;
        const bool keyed = rng() % 2 == 0;
        FillScreen(static_cast<uint16_t>(round * 31));
        screen.BlitImage(Image(mirror), x, y, sx, sy, sw, sh, keyed);
        const std::vector<uint16_t> expected = Frame();
        FillScreen(static_cast<uint16_t>(round * 31));
        EXPECT_EQ(1u, screen.BlitFlipped(id, x, y, sx, sy, sw, sh, keyed));
        ASSERT_EQ(expected, Frame()) << "round " << round;
    }
}

TEST_F(BlitTest, MaskedMatchesTheReferenceLoop)
{
    std::mt19937 rng(3);
    for (int round = 0; round < 60; ++round) {
        const uint32_t w = 1 + rng() % 20, h = 1 + rng() % 7;
        std::vector<uint16_t> pixels(w * h);
        std::vector<uint8_t> values(w * h);
        for (uint32_t i = 0; i < w * h; ++i) {
            pixels[i] = rng() % 3 == 0 ? 0 : static_cast<uint16_t>(rng() & 0x7FFF);
            values[i] = static_cast<uint8_t>(rng() % 4 == 0 ? 255 : rng());
        }
        const uint32_t id = AddImage(w, h, pixels, static_cast<int32_t>(rng() % 3), static_cast<int32_t>(rng() % 3));
        const PXBitmapDesc mask = Mask(w, h, values);
        const int32_t x = static_cast<int32_t>(rng() % (W + 6)) - 3;
        const int32_t y = static_cast<int32_t>(rng() % (H + 6)) - 3;
        const uint32_t sx = rng() % w, sy = rng() % h;
        auto run = [&](bool reference) {
            for (int32_t i = 0; i < W * H; ++i) {
                screen.SetPixel(i % W, i / W, static_cast<uint16_t>((i * 2654435761u) >> 17));
            }
            if (reference) {
                EXPECT_EQ(1u, screen.BlitMaskedReference(id, x, y, sx, sy, PXToEdge, PXToEdge, mask));
            } else {
                EXPECT_EQ(1u, screen.BlitMasked(id, x, y, sx, sy, PXToEdge, PXToEdge, mask));
            }
            return Frame();
        };
        ASSERT_EQ(run(true), run(false)) << "round " << round;
    }
}

// Rows wider than the small screen: the masked blit skips whole blocks of zero weights and
// blends the stretches between them, which must not move, drop or add a pixel at any edge.
TEST(WideMaskedBlitTest, ZeroStretchesAreSkippedAndTheRestBlendedAsTheReferenceLoop)
{
    struct Stretch {
        uint32_t length;
        int weight;  // -1: random weights, not zero
    };
    const std::vector<std::vector<Stretch>> rows = {
        {{31, 0}, {1, 200}},
        {{32, 0}, {5, 255}},
        {{64, 0}, {33, -1}, {32, 0}, {2, 255}},
        {{100, -1}},
        {{40, 0}},
        {{33, 0}, {31, 128}, {32, 0}},
        {{5, -1}, {59, 0}, {64, -1}, {7, 0}},
    };
    constexpr int32_t Width = 160, Height = 2;
    PXMemoryScreen2D screen(nullptr, 6);
    PXScreenDesc desc;
    desc.width = Width;
    desc.height = Height;
    desc.pixelFormat.bitsPerPixel = 16;
    ASSERT_EQ(1u, screen.Create(&desc, "wide"));
    std::mt19937 rng(5);
    for (size_t c = 0; c < rows.size(); ++c) {
        std::vector<uint8_t> row;
        for (const Stretch& st : rows[c]) {
            for (uint32_t i = 0; i < st.length; ++i)
                row.push_back(static_cast<uint8_t>(st.weight >= 0 ? st.weight : 1 + rng() % 255));
        }
        const auto w = static_cast<uint32_t>(row.size());
        std::vector<uint8_t> values;
        std::vector<uint16_t> pixels;
        for (int32_t y = 0; y < Height; ++y) {
            values.insert(values.end(), row.begin(), row.end());
            for (uint32_t x = 0; x < w; ++x)
                pixels.push_back(rng() % 5 == 0 ? 0 : static_cast<uint16_t>(rng() & 0x7FFF));
        }
        auto image = std::make_unique<PXImage>();
        image->width = w;
        image->height = Height;
        image->pixels = pixels;
        uint32_t id = 0;
        ASSERT_EQ(1u, screen.AddImage(std::move(image), &id));
        const PXBitmapDesc mask = Mask(w, Height, values);
        // Placed one pixel in, so that the blocks do not start on the frame's first column.
        auto run = [&](bool reference) {
            std::vector<uint16_t> frame;
            for (int32_t i = 0; i < Width * Height; ++i)
                screen.SetPixel(i % Width, i / Width, static_cast<uint16_t>((i * 2654435761u) >> 17));
            const uint32_t drawn = reference ? screen.BlitMaskedReference(id, 1, 0, 0, 0, PXToEdge, PXToEdge, mask)
                                             : screen.BlitMasked(id, 1, 0, 0, 0, PXToEdge, PXToEdge, mask);
            EXPECT_EQ(1u, drawn);
            for (int32_t i = 0; i < Width * Height; ++i)
                frame.push_back(screen.GetPixel(i % Width, i / Width));
            return frame;
        };
        ASSERT_EQ(run(true), run(false)) << "row " << c;
    }
}

TEST_F(BlitTest, ModulatedAndAdditiveMatchTheirReferenceLoops)
{
    std::mt19937 rng(13);
    const uint32_t intensities[] = {0, 1, 100, 255, 256, 1000};
    for (int round = 0; round < 60; ++round) {
        const uint32_t w = 1 + rng() % 20, h = 1 + rng() % 7;
        std::vector<uint16_t> pixels(w * h);
        for (uint16_t& p : pixels) {
            p = rng() % 3 == 0 ? 0 : static_cast<uint16_t>(rng() & 0x7FFF);
        }
        const uint32_t id = AddImage(w, h, pixels, static_cast<int32_t>(rng() % 3), 0);
        const int32_t x = static_cast<int32_t>(rng() % (W + 6)) - 3;
        const int32_t y = static_cast<int32_t>(rng() % (H + 6)) - 3;
        const PXColor colour = MakeColor(static_cast<uint8_t>(rng()), static_cast<uint8_t>(rng()),
                                         static_cast<uint8_t>(rng()), static_cast<uint8_t>(rng() % 2 ? 255 : rng()));
        const bool keyed = rng() % 2 == 0;
        const uint32_t intensity = intensities[rng() % 6];
        for (int op = 0; op < 2; ++op) {
            auto run = [&](bool reference) {
                for (int32_t i = 0; i < W * H; ++i) {
                    screen.SetPixel(i % W, i / W, static_cast<uint16_t>((i * 2654435761u) >> 17));
                }
                if (op == 0 && reference) {
                    screen.BlitImageModulatedReference(Image(id), x, y, 0, 0, PXToEdge, PXToEdge, keyed, colour);
                } else if (op == 0) {
                    screen.BlitImageModulated(Image(id), x, y, 0, 0, PXToEdge, PXToEdge, keyed, colour);
                } else if (reference) {
                    screen.BlitAdditiveReference(id, x, y, 0, 0, PXToEdge, PXToEdge, intensity);
                } else {
                    screen.BlitAdditive(id, x, y, 0, 0, PXToEdge, PXToEdge, intensity);
                }
                return Frame();
            };
            ASSERT_EQ(run(true), run(false)) << "round " << round << " op " << op;
        }
    }
}

TEST(PixelMath, NarrowModulateAndAddEqualTheInPlaceForms)
{
    for (uint32_t sc = 0; sc < 32; ++sc) {
        const uint16_t s = Px(sc, 31 - sc, (sc * 5) % 32);
        for (uint32_t k = 0; k <= 256; ++k) {
            const uint32_t k2 = 256 - k, k3 = (k * 7) % 257;
            ASSERT_EQ(PXPixel::Modulate(s, k, k2, k3),
                      PXPixel::ModulateNarrow(s, static_cast<uint16_t>(k), static_cast<uint16_t>(k2),
                                              static_cast<uint16_t>(k3)))
                << sc << " " << k;
        }
        for (uint32_t dc = 0; dc < 32; ++dc) {
            const uint16_t d = Px(dc, (dc * 3) % 32, 31 - dc);
            ASSERT_EQ(PXPixel::SaturatingAdd(d, s), PXPixel::SaturatingAddNarrow(d, s)) << sc << " " << dc;
        }
    }
}

TEST(PixelMath, NarrowBlendEqualsTheInPlaceBlend)
{
    // Channels are independent, so every channel pair and alpha covers all cases; the
    // three channels carry different values to catch mixed-up shifts.
    for (uint32_t dc = 0; dc < 32; ++dc) {
        for (uint32_t sc = 0; sc < 32; ++sc) {
            const uint16_t d = Px(dc, 31 - dc, (dc * 7) % 32);
            const uint16_t s = Px(sc, (sc * 3) % 32, 31 - sc);
            for (int32_t a = 0; a <= 256; ++a) {
                ASSERT_EQ(PXPixel::Blend(d, s, a), PXPixel::BlendNarrow(d, s, static_cast<int16_t>(a)))
                    << dc << " " << sc << " " << a;
            }
        }
    }
}

TEST_F(BlitTest, AlphaMatchesTheReferenceLoop)
{
    std::mt19937 rng(5);
    const uint32_t alphas[] = {0, 1, 77, 128, 255, 256, 300, 0xFFFF, 0xFFFFFFFF};
    for (int round = 0; round < 60; ++round) {
        const uint32_t w = 1 + rng() % 20, h = 1 + rng() % 7;
        std::vector<uint16_t> pixels(w * h);
        for (uint16_t& p : pixels) {
            p = rng() % 3 == 0 ? 0 : static_cast<uint16_t>(rng() & 0x7FFF);
        }
        const uint32_t id = AddImage(w, h, pixels, static_cast<int32_t>(rng() % 3), 0);
        const int32_t x = static_cast<int32_t>(rng() % (W + 6)) - 3;
        const int32_t y = static_cast<int32_t>(rng() % (H + 6)) - 3;
        const uint32_t alpha = alphas[rng() % 9];
        const bool keyed = rng() % 2 == 0;
        auto run = [&](bool reference) {
            for (int32_t i = 0; i < W * H; ++i) {
                screen.SetPixel(i % W, i / W, static_cast<uint16_t>((i * 2654435761u) >> 17));
            }
            if (reference) {
                screen.BlitImageAlphaReference(Image(id), x, y, 0, 0, PXToEdge, PXToEdge, alpha, keyed);
            } else {
                screen.BlitImageAlpha(Image(id), x, y, 0, 0, PXToEdge, PXToEdge, alpha, keyed);
            }
            return Frame();
        };
        ASSERT_EQ(run(true), run(false)) << "round " << round;
    }
}

} // namespace
