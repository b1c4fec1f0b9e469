// Image blits: placement by origin, source rectangles, the per-pixel rules and keying.
#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <vector>

#include "engine/graphics/PXBitmap.h"
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

} // namespace
