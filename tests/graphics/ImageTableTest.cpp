// The image table, image locks, halving and the screen's lifecycle.
#include <gtest/gtest.h>

#include "engine/graphics/PXBitmap.h"
#include "tests/graphics/ScreenFixture.h"

namespace {

using ImageTableTest = ScreenTest;

PXBitmapDesc Gray8(uint32_t w, uint32_t h)
{
    PXBitmapDesc b;
    AllocateBitmap(b, w, h, 8);
    b.palette.reset(new PXColor[256]);
    for (int i = 0; i < 256; ++i) {
        b.palette[i] = MakeColor(static_cast<uint8_t>(i), static_cast<uint8_t>(i), static_cast<uint8_t>(i));
    }
    b.name = "gray";
    return b;
}

TEST_F(ImageTableTest, IdsAreNeverReused)
{
    uint32_t first = 0, second = 0, third = 0;
    ASSERT_EQ(1u, screen.CreateImage(Gray8(2, 2), &first, 0));
    ASSERT_EQ(1u, screen.CreateImage(Gray8(2, 2), &second, 0));
    EXPECT_EQ(1u, screen.FreeImage(second));
    EXPECT_FALSE(screen.HasImage(second));
    EXPECT_EQ(0u, screen.FreeImage(second));
    ASSERT_EQ(1u, screen.CreateImage(Gray8(2, 2), &third, 0));
    EXPECT_GT(third, second);
    EXPECT_TRUE(screen.HasImage(first));
}

TEST_F(ImageTableTest, FailedConversionUsesUpNoId)
{
    uint32_t before = 0, after = 0, unused = 99;
    ASSERT_EQ(1u, screen.CreateImage(Gray8(1, 1), &before, 0));
    PXBitmapDesc noPalette;
    AllocateBitmap(noPalette, 2, 2, 8);
    PXBitmapDesc badDepth;
    AllocateBitmap(badDepth, 2, 2, 12);
    EXPECT_EQ(0u, screen.CreateImage(noPalette, &unused, 0));
    EXPECT_EQ(0u, screen.CreateImage(badDepth, &unused, 0));
    EXPECT_EQ(99u, unused);
    ASSERT_EQ(1u, screen.CreateImage(Gray8(1, 1), &after, 0));
    EXPECT_EQ(before + 1, after);
}

TEST_F(ImageTableTest, NameOriginAndLocks)
{
    uint32_t id = 0;
    ASSERT_EQ(1u, screen.CreateImage(Gray8(3, 2), &id, 0));
    std::string name;
    EXPECT_EQ(1u, screen.GetImageName(id, &name));
    EXPECT_EQ("gray", name);
    EXPECT_EQ(1u, screen.SetImageOrigin(id, PXPoint{4, -2}));
    EXPECT_EQ(4, Image(id)->originX);
    EXPECT_EQ(-2, Image(id)->originY);

    PXSurfaceDesc surface;
    EXPECT_EQ(0u, screen.LockImage(id, nullptr));
    ASSERT_EQ(1u, screen.LockImage(id, &surface));
    EXPECT_EQ(2u, surface.bytesPerPixel);
    EXPECT_EQ(3u, surface.width);
    EXPECT_EQ(6u, surface.pitch);
    EXPECT_EQ(reinterpret_cast<uint8_t*>(Image(id)->pixels.data()), surface.pixels);
    EXPECT_EQ(0u, screen.HalveImage(id)); // locked
    EXPECT_EQ(1u, screen.UnlockImage(id));
    EXPECT_EQ(1u, screen.UnlockImage(id));
    EXPECT_EQ(0u, Image(id)->lockCount);
    EXPECT_EQ(1u, screen.HalveImage(id));

    EXPECT_EQ(0u, screen.SetImageOrigin(777, PXPoint{}));
    EXPECT_EQ(0u, screen.GetImageName(777, &name));
    EXPECT_EQ(0u, screen.LockImage(777, &surface));
    EXPECT_EQ(0u, screen.HalveImage(777));
}

TEST_F(ImageTableTest, HalveKeepsEvenRowsAndColumns)
{
    const uint16_t p[15] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15};
    const uint32_t id = AddImage(5, 3, std::vector<uint16_t>(p, p + 15), 3, 3);
    Image(id)->name = "five";
    EXPECT_EQ(1u, screen.HalveImage(id));
    PXImage* half = Image(id);
    EXPECT_EQ(2u, half->width);
    EXPECT_EQ(1u, half->height);
    EXPECT_EQ((std::vector<uint16_t>{1, 3}), half->pixels);
    EXPECT_EQ(0, half->originX);
    EXPECT_EQ("", half->name);
}

TEST_F(ImageTableTest, HalvingAPicturelessTallImageKeepsItEmpty)
{
    // Image lists may hold empty entries with one huge side.
    const uint32_t id = AddImage(0, 0xFFFFFFFF, {}, 0, 0);
    EXPECT_EQ(1u, screen.HalveImage(id));
    PXImage* half = Image(id);
    EXPECT_EQ(0u, half->width);
    EXPECT_EQ(0x7FFFFFFFu, half->height);
    EXPECT_TRUE(half->pixels.empty());
}

TEST_F(ImageTableTest, RecreatingFreesImagesButIdsGoOn)
{
    uint32_t id = 0, next = 0;
    ASSERT_EQ(1u, screen.CreateImage(Gray8(1, 1), &id, 0));
    EXPECT_FALSE(screen.IsFullScreen());
    EXPECT_TRUE(screen.ToggleFullScreen());
    EXPECT_TRUE(screen.IsFullScreen());
    EXPECT_EQ("test", screen.GetTitle());
    EXPECT_EQ(W, screen.GetWidth());
    EXPECT_FALSE(screen.HasImage(id));
    ASSERT_EQ(1u, screen.CreateImage(Gray8(1, 1), &next, 0));
    EXPECT_GT(next, id);
}

TEST_F(ImageTableTest, ToggleWhileLockedChangesNothing)
{
    uint32_t id = 0;
    ASSERT_EQ(1u, screen.CreateImage(Gray8(1, 1), &id, 0));
    PXSurfaceDesc surface;
    ASSERT_EQ(1u, screen.LockScreen(&surface));
    EXPECT_FALSE(screen.ToggleFullScreen());
    EXPECT_FALSE(screen.IsFullScreen());
    EXPECT_TRUE(screen.HasImage(id));
    EXPECT_EQ(0u, screen.Present());
    screen.UnlockScreen();
    screen.UnlockScreen(); // more unlocks than locks stay at 0
    EXPECT_EQ(0, screen.GetLockCount());
    EXPECT_EQ(1u, screen.Present());
}

TEST_F(ImageTableTest, ImagesNeedA16BitScreen)
{
    PXMemoryScreen2D wide;
    PXScreenDesc desc;
    desc.width = 4;
    desc.height = 4;
    desc.pixelFormat.bitsPerPixel = 32;
    ASSERT_EQ(1u, wide.Create(&desc, "wide"));
    EXPECT_EQ(0x00FF0000u, desc.pixelFormat.redMask);
    uint32_t id = 0;
    EXPECT_EQ(0u, wide.CreateImage(Gray8(1, 1), &id, 0));
}

TEST_F(ImageTableTest, PresentEmptiesTheDirtyListAndCounts)
{
    screen.ClearDirtyList();
    screen.InvalidateRect({1, 2, 1, 2}, false);
    EXPECT_EQ(1u, screen.Present());
    EXPECT_EQ(0, screen.GetDirtyList()->count);
    EXPECT_EQ(1, screen.GetLastPresented().count);
    EXPECT_EQ(1u, screen.GetPresentCount());
}

TEST(PixelFormat, DerivedFromDepth)
{
    const PXPixelFormat f16 = MakePixelFormat(16);
    EXPECT_EQ(5u, f16.redWidth);
    EXPECT_EQ(10u, f16.redShift);
    EXPECT_EQ(5u, f16.greenShift);
    EXPECT_EQ(3u, f16.blueLoss);
    const PXPixelFormat f24 = MakePixelFormat(24);
    EXPECT_EQ(8u, f24.greenWidth);
    EXPECT_EQ(16u, f24.redShift);
    EXPECT_EQ(0u, f24.redLoss);
    const PXPixelFormat f8 = MakePixelFormat(8);
    EXPECT_EQ(0u, f8.bitsPerPixel);
    EXPECT_EQ(0u, f8.redMask);
}

TEST(ScreenCursor, VisibilityIsTrackedOnce)
{
    PXMemoryScreen2D screen;
    EXPECT_FALSE(screen.IsCursorHidden());
    screen.SetCursorVisible(false);
    screen.SetCursorVisible(false);
    EXPECT_TRUE(screen.IsCursorHidden());
    screen.SetCursorVisible(true);
    EXPECT_FALSE(screen.IsCursorHidden());
}

} // namespace
