// Dirty-rectangle list: adding, merging, collapsing when full, list merges and clipping.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <vector>

#include "tests/graphics/ScreenFixture.h"

namespace {

std::vector<PXRect> Rects(PXScreen2D& screen)
{
    const PXDirtyList* list = screen.GetDirtyList();
    return std::vector<PXRect>(list->rects, list->rects + list->count);
}

class DirtyListTest : public ScreenTest {
protected:
    void SetUp() override
    {
        ScreenTest::SetUp();
        screen.ClearDirtyList();
    }
};

TEST_F(DirtyListTest, EmptyRectanglesAreRefused)
{
    const PXRect cases[] = {{5, 5, 0, 4}, {6, 5, 0, 4}, {0, 4, 3, 3}, {0, 4, 4, 2}};
    for (const PXRect& r : cases) {
        EXPECT_EQ(0u, screen.InvalidateRect(r, false));
        EXPECT_EQ(0, screen.GetDirtyList()->count);
    }
}

TEST_F(DirtyListTest, RectanglesAreCutToTheScreen)
{
    EXPECT_EQ(1u, screen.InvalidateRect({-4, 3, 10, 20}, false));
    EXPECT_EQ(1u, screen.InvalidateRect({100, 200, 0, 5}, false)); // wholly outside: nothing added
    ASSERT_EQ(1, screen.GetDirtyList()->count);
    EXPECT_EQ((PXRect{0, 3, 10, H}), screen.GetDirtyList()->rects[0]);
}

TEST_F(DirtyListTest, TouchingRectanglesMergeAndSeparatedOnesStay)
{
    struct Case {
        PXRect a, b;
        size_t expectedCount;
    };
    const Case cases[] = {
        {{0, 4, 0, 4}, {4, 8, 0, 4}, 1}, // share the edge x = 4
        {{0, 4, 0, 4}, {0, 4, 4, 8}, 1}, // share the edge y = 4
        {{0, 4, 0, 4}, {2, 6, 2, 6}, 1}, // overlap
        {{0, 4, 0, 4}, {5, 8, 0, 4}, 2}, // one pixel apart
        {{0, 4, 0, 4}, {0, 4, 5, 8}, 2},
    };
    for (const Case& c : cases) {
        screen.ClearDirtyList();
        screen.InvalidateRect(c.a, false);
        screen.InvalidateRect(c.b, false);
        const std::vector<PXRect> rects = Rects(screen);
        ASSERT_EQ(c.expectedCount, rects.size());
        if (c.expectedCount == 1) {
            EXPECT_EQ((PXRect{std::min(c.a.left, c.b.left), std::max(c.a.right, c.b.right),
                              std::min(c.a.top, c.b.top), std::max(c.a.bottom, c.b.bottom)}),
                      rects[0]);
        }
    }
}

TEST_F(DirtyListTest, AGrownRectangleTakesInEveryOtherOneItNowMeets)
{
    screen.InvalidateRect({0, 2, 0, 2}, false);
    screen.InvalidateRect({6, 8, 0, 2}, false);
    screen.InvalidateRect({1, 7, 0, 1}, false); // grows the first, which now overlaps the second
    EXPECT_EQ((std::vector<PXRect>{{0, 8, 0, 2}}), Rects(screen));

    // The rectangle grown by the merge meets one before it in the list (and the new one
    // touches only the grown one); an unrelated rectangle stays.
    screen.ClearDirtyList();
    screen.InvalidateRect({0, 2, 0, 2}, false);
    screen.InvalidateRect({0, 2, 8, 10}, false);
    screen.InvalidateRect({6, 8, 0, 3}, false);
    screen.InvalidateRect({2, 7, 3, 4}, false);
    EXPECT_EQ((std::vector<PXRect>{{0, 2, 8, 10}, {0, 8, 0, 4}}), Rects(screen));
}

TEST(DirtyListOverlap, NoTwoRectanglesEverOverlapAndEveryAddedOneIsCovered)
{
    PXMemoryScreen2D screen;
    PXScreenDesc desc;
    desc.width = 640;
    desc.height = 480;
    desc.pixelFormat.bitsPerPixel = 16;
    ASSERT_EQ(1u, screen.Create(&desc, "t"));
    screen.ClearDirtyList();
    uint32_t seed = 12345;
    auto next = [&](uint32_t n) {
        seed = seed * 1103515245u + 12345u;
        return static_cast<int32_t>((seed >> 8) % n);
    };
    std::vector<PXRect> added;
    for (int32_t i = 0; i < 60; ++i) {
        const int32_t x = next(600), y = next(440);
        const PXRect r = {x, x + 1 + next(40), y, y + 1 + next(40)};
        added.push_back(r);
        ASSERT_EQ(1u, screen.InvalidateRect(r, false));
        const std::vector<PXRect> rects = Rects(screen);
        for (size_t a = 0; a < rects.size(); ++a) {
            for (size_t b = a + 1; b < rects.size(); ++b) {
                const bool overlap = rects[a].left < rects[b].right && rects[b].left < rects[a].right &&
                                     rects[a].top < rects[b].bottom && rects[b].top < rects[a].bottom;
                ASSERT_FALSE(overlap) << "after add " << i << ": rectangles " << a << " and " << b;
            }
        }
        for (const PXRect& old : added) {
            ASSERT_TRUE(std::any_of(rects.begin(), rects.end(), [&](const PXRect& d) {
                return d.left <= old.left && d.right >= old.right && d.top <= old.top && d.bottom >= old.bottom;
            })) << "after add " << i;
        }
    }
}

TEST_F(DirtyListTest, ClearTurnsOnlyTheVisiblePartBlack)
{
    FillScreen(White);
    screen.InvalidateRect({-2, 2, 10, 14}, true);
    for (int32_t y = 0; y < H; ++y) {
        for (int32_t x = 0; x < W; ++x) {
            const bool cleared = x < 2 && y >= 10;
            EXPECT_EQ(cleared ? 0 : White, screen.GetPixel(x, y)) << x << "," << y;
        }
    }
}

TEST(DirtyListFull, NinetyNinthDisjointRectangleCollapsesToWholeScreen)
{
    PXMemoryScreen2D screen;
    PXScreenDesc desc;
    desc.width = 640;
    desc.height = 480;
    desc.pixelFormat.bitsPerPixel = 16;
    ASSERT_EQ(1u, screen.Create(&desc, "t"));
    screen.ClearDirtyList();
    for (int32_t i = 0; i < 99; ++i) {
        const int32_t x = (i % 20) * 4, y = (i / 20) * 4;
        ASSERT_EQ(1u, screen.InvalidateRect({x, x + 1, y, y + 1}, false));
    }
    ASSERT_EQ(99, screen.GetDirtyList()->count);
    EXPECT_EQ(1u, screen.InvalidateRect({600, 601, 400, 401}, false));
    ASSERT_EQ(1, screen.GetDirtyList()->count);
    EXPECT_EQ((PXRect{0, 640, 0, 480}), screen.GetDirtyList()->rects[0]);
}

TEST_F(DirtyListTest, InvalidateListAddsOrCollapses)
{
    PXDirtyList other;
    other.rects[0] = {0, 2, 0, 2};
    other.rects[1] = {10, 12, 8, 10};
    other.count = 2;
    screen.InvalidateRect({1, 3, 1, 3}, false);
    EXPECT_EQ(1u, screen.InvalidateList(other));
    std::vector<PXRect> rects = Rects(screen);
    ASSERT_EQ(2u, rects.size());
    EXPECT_EQ((PXRect{0, 3, 0, 3}), rects[0]);
    EXPECT_EQ((PXRect{10, 12, 8, 10}), rects[1]);

    // 2 held + 98 more reaches 100: the list becomes the whole screen.
    other.count = 98;
    for (int32_t i = 2; i < 98; ++i) {
        other.rects[i] = {0, 1, 0, 1};
    }
    EXPECT_EQ(1u, screen.InvalidateList(other));
    rects = Rects(screen);
    ASSERT_EQ(1u, rects.size());
    EXPECT_EQ((PXRect{0, W, 0, H}), rects[0]);
}

TEST_F(DirtyListTest, InvalidateListOffsetMovesAndCutsToTheScreen)
{
    PXDirtyList other;
    other.rects[0] = {2, 6, 2, 4};   // moved by (-4, 9): {-2, 2, 11, 13} -> {0, 2, 11, 12}
    other.rects[1] = {30, 40, 0, 1}; // stays off screen
    other.count = 2;
    EXPECT_EQ(1u, screen.InvalidateListOffset(other, PXPoint{-4, 9}));
    const std::vector<PXRect> rects = Rects(screen);
    ASSERT_EQ(1u, rects.size());
    EXPECT_EQ((PXRect{0, 2, 11, 12}), rects[0]);
}

TEST_F(DirtyListTest, ForeignListWithBadCountDoesNotReadPastItsArray)
{
    PXDirtyList other;
    other.count = 5000;
    EXPECT_EQ(1u, screen.InvalidateList(other));
    ASSERT_EQ(1, screen.GetDirtyList()->count);
    EXPECT_EQ((PXRect{0, W, 0, H}), screen.GetDirtyList()->rects[0]);
}

TEST_F(DirtyListTest, EmptyListStopsFillsButNotLines)
{
    const PXColor red = MakeColor(255, 0, 0);
    EXPECT_EQ(1u, screen.FillRect({0, W, 0, H}, red));
    EXPECT_EQ(1u, screen.DrawHLine(0, 0, 3, red));
    EXPECT_EQ(std::vector<uint16_t>(4, Px(31, 0, 0)), Region(0, 0, 4, 1));
    EXPECT_EQ(0, screen.GetPixel(0, 1));
}

// Every clipped drawing operation, run over the whole screen with a few dirty rectangles
// (two apart in one row, the others merged from overlapping adds), must change exactly the
// pixels inside them, each once: blending ones show a second pass as a different value.
TEST_F(DirtyListTest, DrawingChangesExactlyThePixelsInsideTheDirtyRectangles)
{
    const uint16_t ground = Px(8, 12, 16);
    std::vector<uint16_t> pattern;
    for (int32_t i = 0; i < W * H; ++i) {
        pattern.push_back(static_cast<uint16_t>(Px(i % 32, (i * 7) % 32, (i * 3) % 32) | 1));
    }
    const uint32_t image = AddImage(W, H, pattern);
    const uint32_t half = AddImage(W / 2, H / 2, std::vector<uint16_t>(pattern.begin(), pattern.begin() + W * H / 4));
    const PXColor tint = MakeColor(200, 100, 50, 128);
    struct Case {
        const char* name;
        std::function<void()> draw;
    };
    const Case cases[] = {
        {"FillRect opaque", [&] { screen.FillRect({0, W, 0, H}, MakeColor(255, 0, 0)); }},
        {"FillRect blended", [&] { screen.FillRect({0, W, 0, H}, tint); }},
        {"ModulateRect", [&] { screen.ModulateRect(0, 0, PXToEdge, PXToEdge, tint); }},
        {"Blit", [&] { screen.Blit(image, 0, 0, 0, 0, PXToEdge, PXToEdge, false); }},
        {"BlitAlpha", [&] { screen.BlitAlpha(image, 0, 0, 0, 0, PXToEdge, PXToEdge, 100, false); }},
        {"BlitAdditive", [&] { screen.BlitAdditive(image, 0, 0, 0, 0, PXToEdge, PXToEdge, 200); }},
        {"BlitColorAdd", [&] { screen.BlitColorAdd(image, 0, 0, 0, 0, PXToEdge, PXToEdge, false, tint); }},
        {"BlitScaled", [&] { screen.BlitScaled(half, 0, 0, W, H, 0, 0, PXToEdge, PXToEdge, false); }},
    };
    // The last add grows {2, 4, 8, 10} until it overlaps {8, 10, 8, 10}: folded into one.
    const PXRect dirty[] = {{1, 3, 5, 6}, {7, 9, 5, 6}, {2, 4, 8, 10}, {8, 10, 8, 10}, {3, 9, 9, 10}};
    for (const Case& c : cases) {
        FillScreen(ground);
        screen.ClearDirtyList();
        screen.InvalidateRect({0, W, 0, H}, false);
        c.draw();
        const std::vector<uint16_t> once = Frame();

        FillScreen(ground);
        screen.ClearDirtyList();
        for (const PXRect& r : dirty) {
            screen.InvalidateRect(r, false);
        }
        const std::vector<PXRect> list = Rects(screen);
        c.draw();
        for (int32_t y = 0; y < H; ++y) {
            for (int32_t x = 0; x < W; ++x) {
                const bool inside = std::any_of(list.begin(), list.end(), [&](const PXRect& r) {
                    return x >= r.left && x < r.right && y >= r.top && y < r.bottom;
                });
                const uint16_t expected = inside ? once[static_cast<size_t>(y * W + x)] : ground;
                ASSERT_EQ(expected, screen.GetPixel(x, y)) << c.name << " at " << x << "," << y;
            }
        }
    }
}

TEST_F(DirtyListTest, TrackingOffMakesCopiesInvalidateTheWholeScreen)
{
    const uint32_t id = AddImage(1, 1, {White});
    EXPECT_FALSE(screen.SetDirtyTracking(false));
    EXPECT_EQ(1u, screen.FillRect({0, 2, 0, 2}, MakeColor(255, 255, 255)));
    EXPECT_EQ(0, screen.GetDirtyList()->count); // fills do not invalidate
    EXPECT_EQ(1u, screen.Blit(id, 3, 3, 0, 0, PXToEdge, PXToEdge, false));
    ASSERT_EQ(1, screen.GetDirtyList()->count);
    EXPECT_EQ((PXRect{0, W, 0, H}), screen.GetDirtyList()->rects[0]);
    EXPECT_EQ(White, screen.GetPixel(3, 3));
}

TEST(DirtyListUnlockable, InvalidateSucceedsWithoutChangesAndDrawingFails)
{
    PXMemoryScreen2D screen; // never created: no frame buffer
    EXPECT_EQ(1u, screen.InvalidateRect({0, 4, 0, 4}, true));
    PXDirtyList other;
    other.count = 1;
    other.rects[0] = {0, 1, 0, 1};
    EXPECT_EQ(1u, screen.InvalidateList(other));
    EXPECT_EQ(0, screen.GetDirtyList()->count);
    EXPECT_EQ(0u, screen.FillRect({0, 4, 0, 4}, MakeColor(1, 2, 3)));
    EXPECT_EQ(1u, screen.DrawHLine(0, 0, 4, MakeColor(1, 2, 3)));
    EXPECT_EQ(0u, screen.Present());
}

} // namespace
