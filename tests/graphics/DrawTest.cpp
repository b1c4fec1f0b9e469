// Fills, lines, outlines, bevels, tint and tiling.
#include <gtest/gtest.h>

#include <set>
#include <utility>
#include <vector>

#include "tests/graphics/ScreenFixture.h"

namespace {

using DrawTest = ScreenTest;

const PXColor Red = MakeColor(255, 0, 0);
const uint16_t RedPx = Px(31, 0, 0);

// Coordinates of every pixel that is not zero.
std::set<std::pair<int32_t, int32_t>> Lit(const PXMemoryScreen2D& screen, int32_t w, int32_t h)
{
    std::set<std::pair<int32_t, int32_t>> out;
    for (int32_t y = 0; y < h; ++y) {
        for (int32_t x = 0; x < w; ++x) {
            if (screen.GetPixel(x, y) != 0) {
                out.insert({x, y});
            }
        }
    }
    return out;
}

TEST_F(DrawTest, FillExcludesRightAndBottomOutlineIncludesThem)
{
    EXPECT_EQ(1u, screen.FillRect({2, 4, 3, 5}, Red));
    EXPECT_EQ((std::set<std::pair<int32_t, int32_t>>{{2, 3}, {3, 3}, {2, 4}, {3, 4}}), Lit(screen, W, H));

    FillScreen(0);
    EXPECT_EQ(1u, screen.DrawRect({2, 4, 3, 5}, Red));
    EXPECT_EQ((std::set<std::pair<int32_t, int32_t>>{
                  {2, 3}, {3, 3}, {4, 3}, {2, 4}, {4, 4}, {2, 5}, {3, 5}, {4, 5}}),
              Lit(screen, W, H));
}

TEST_F(DrawTest, TranslucentFillBlendsAndRoundsDown)
{
    FillScreen(White);
    EXPECT_EQ(1u, screen.FillRect({0, 1, 0, 1}, MakeColor(0, 0, 0, 128)));
    EXPECT_EQ(Px(15, 15, 15), screen.GetPixel(0, 0));
    EXPECT_EQ(White, screen.GetPixel(1, 0));
}

TEST_F(DrawTest, HorizontalAndVerticalLinesClampToTheFrame)
{
    struct Case {
        bool horizontal;
        int32_t at, from, to;
        size_t expectedLit;
    };
    const Case cases[] = {
        {true, 2, 3, 5, 3},  {true, 2, 5, 3, 0},   {true, H, 0, 5, 0},  {true, -1, 0, 5, 0},
        {true, 2, -9, 99, W}, {false, 2, 3, 5, 3}, {false, W, 0, 5, 0}, {false, 2, -9, 99, H},
    };
    for (const Case& c : cases) {
        FillScreen(0);
        if (c.horizontal) {
            EXPECT_EQ(1u, screen.DrawHLine(c.at, c.from, c.to, Red));
        } else {
            EXPECT_EQ(1u, screen.DrawVLine(c.at, c.from, c.to, Red));
        }
        EXPECT_EQ(c.expectedLit, Lit(screen, W, H).size()) << c.horizontal << " " << c.at << " " << c.from;
    }
    // Translucent lines blend.
    FillScreen(White);
    screen.DrawHLine(0, 0, 0, MakeColor(0, 0, 0, 128));
    EXPECT_EQ(Px(15, 15, 15), screen.GetPixel(0, 0));
}

TEST_F(DrawTest, LineDrawsItsStartButNotItsEnd)
{
    using Points = std::set<std::pair<int32_t, int32_t>>;
    struct Case {
        PXPoint a, b;
        Points expected;
    };
    const Case cases[] = {
        {{0, 0}, {3, 0}, {{0, 0}, {1, 0}, {2, 0}}},
        {{5, 5}, {5, 5}, {}},
        {{3, 3}, {0, 0}, {{3, 3}, {2, 2}, {1, 1}}},
        {{0, 0}, {2, 4}, {{0, 0}, {0, 1}, {1, 2}, {1, 3}}},
        {{-2, 1}, {2, 1}, {{0, 1}, {1, 1}}}, // off-screen points are skipped
    };
    for (const Case& c : cases) {
        FillScreen(0);
        EXPECT_EQ(1u, screen.DrawLine(c.a, c.b, MakeColor(255, 255, 255, 0))); // alpha is ignored
        EXPECT_EQ(c.expected, Lit(screen, W, H));
    }
}

TEST_F(DrawTest, BevelCornersDependOnWhetherLightAndDarkDiffer)
{
    const PXColor fill = MakeColor(8, 8, 8), light = MakeColor(248, 248, 248), dark = MakeColor(128, 0, 0);
    const uint16_t F = Px(1, 1, 1), L = Px(31, 31, 31), D = Px(16, 0, 0);
    EXPECT_EQ(1u, screen.DrawBevelRect({0, 4, 0, 3}, fill, light, dark));
    EXPECT_EQ((std::vector<uint16_t>{L, L, L, F, L, F, F, D, F, D, D, D}), Region(0, 0, 4, 3));

    EXPECT_EQ(1u, screen.DrawBevelRect({0, 4, 0, 3}, fill, light, light));
    EXPECT_EQ((std::vector<uint16_t>{L, L, L, L, L, F, F, L, L, L, L, L}), Region(0, 0, 4, 3));
}

TEST_F(DrawTest, ModulateRectTintsButKeepsBlack)
{
    FillScreen(White);
    screen.SetPixel(W - 1, 1, 0);
    EXPECT_EQ(1u, screen.ModulateRect(W - 3, 1, PXToEdge, 1, MakeColor(255, 255, 255, 128)));
    EXPECT_EQ((std::vector<uint16_t>{White, Px(15, 15, 15), Px(15, 15, 15), 0}), Region(W - 4, 1, 4, 1));
    EXPECT_EQ(White, screen.GetPixel(W - 2, 0));
    EXPECT_EQ(White, screen.GetPixel(W - 2, 2));
}

TEST_F(DrawTest, TileRepeatsAndCutsAtTheArea)
{
    const uint16_t a = Px(1, 0, 0), b = Px(2, 0, 0), c = Px(3, 0, 0), d = Px(4, 0, 0);
    PXImage image;
    const uint32_t id = AddImage(2, 2, {a, b, c, d});
    EXPECT_EQ(1u, screen.TileImage(id, 1, 1, 5, 3, false));
    EXPECT_EQ((std::vector<uint16_t>{0, 0, 0, 0, 0, 0, //
                                     0, a, b, a, b, a,  //
                                     0, c, d, c, d, c,  //
                                     0, a, b, a, b, a,  //
                                     0, 0, 0, 0, 0, 0}),
              Region(0, 0, 6, 5));
    EXPECT_EQ(0, screen.GetPixel(6, 1));
}

TEST_F(DrawTest, TileOffsetScrollsWithoutGaps)
{
    const uint16_t a = Px(1, 0, 0), b = Px(2, 0, 0), c = Px(3, 0, 0);
    const uint32_t id = AddImage(3, 1, {a, b, c});
    struct Case {
        uint32_t srcX0;
        int32_t w;
        std::vector<uint16_t> expected;
    };
    const Case cases[] = {
        {1, 7, {b, c, a, b, c, a, b}},
        {2, 2, {c, a}}, // area narrower than a tile: the first tile is cut, the second starts at 0
        {4, 4, {b, c, a, b}}, // an offset of a tile or more scrolls round
        {3, 3, {a, b, c}},
    };
    for (const Case& cs : cases) {
        FillScreen(0);
        EXPECT_EQ(1u, screen.TileImageOffset(id, cs.srcX0, 0, 0, 0, cs.w, 1, false));
        EXPECT_EQ(cs.expected, Region(0, 0, cs.w, 1)) << cs.srcX0;
        EXPECT_EQ(0, screen.GetPixel(cs.w, 0));
    }
}

TEST_F(DrawTest, TileAlphaBlendsEveryTile)
{
    const uint32_t id = AddImage(1, 1, {White});
    EXPECT_EQ(1u, screen.TileImageAlpha(id, 0, 0, 3, 2, 128, false));
    EXPECT_EQ(std::vector<uint16_t>(6, Px(15, 15, 15)), Region(0, 0, 3, 2));
    EXPECT_EQ(0, screen.GetPixel(3, 0));
}

TEST_F(DrawTest, TilingEmptyAreasAndEmptyImagesEnds)
{
    const uint32_t empty = AddImage(0, 0, {});
    const uint32_t one = AddImage(1, 1, {White});
    EXPECT_EQ(1u, screen.TileImage(empty, 0, 0, W, H, false));
    EXPECT_EQ(1u, screen.TileImageOffset(empty, 1, 1, 0, 0, W, H, false));
    EXPECT_EQ(1u, screen.TileImageAlpha(empty, 0, 0, W, H, 10, false));
    EXPECT_EQ(1u, screen.TileImage(one, 0, 0, W, 0, false));
    EXPECT_EQ(1u, screen.TileImage(one, 0, 0, -5, 4, false));
    EXPECT_TRUE(Lit(screen, W, H).empty());
}

} // namespace
