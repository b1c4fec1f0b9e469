// The SDL screen on SDL's offscreen video driver: the 5-5-5 conversion, what Present shows,
// the lock count, the cursor bookkeeping and switching full screen in place.
#include <gtest/gtest.h>

#include <SDL.h>

#include <cstdlib>

#include "engine/core/PXGlobals.h"
#include "engine/graphics/PXGraphicsTypes.h"
#include "platform/sdl/PXSDLScreen2D.h"

namespace {

class SDLScreenTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        setenv("SDL_VIDEODRIVER", "offscreen", 1);
        SDL_SetHint(SDL_HINT_RENDER_DRIVER, "software");
    }
    void SetUp() override
    {
        if (SDL_Init(SDL_INIT_VIDEO) != 0) {
            GTEST_SKIP() << "no SDL video driver: " << SDL_GetError();
        }
        screen = std::make_unique<PXSDLScreen2D>(nullptr);
        PXScreenDesc desc;
        desc.width = 640;
        desc.height = 480;
        desc.pixelFormat.bitsPerPixel = 16;
        desc.fullScreen = false;
        ASSERT_EQ(screen->Create(&desc, "Shardfall"), 1u);
        EXPECT_EQ(desc.pixelFormat.redMask, 0x7C00u);
    }
    void TearDown() override
    {
        screen.reset();
        SDL_Quit();
    }
    // The pixel the window shows at frame position (x, y), as 0x00RRGGBB.
    uint32_t Shown(int x, int y)
    {
        SDL_Renderer* renderer = SDL_GetRenderer(screen->GetWindow());
        uint32_t pixel = 0;
        const SDL_Rect r{x, y, 1, 1};
        SDL_RenderReadPixels(renderer, &r, SDL_PIXELFORMAT_RGB888, &pixel, 4);
        return pixel & 0xFFFFFF;
    }
    void Paint(int x, int y, uint16_t value)
    {
        PXSurfaceDesc s;
        ASSERT_EQ(screen->LockScreen(&s), 1u);
        reinterpret_cast<uint16_t*>(s.pixels + static_cast<size_t>(y) * s.pitch)[x] = value;
        screen->UnlockScreen();
    }

    std::unique_ptr<PXSDLScreen2D> screen;
};

TEST(SDLScreenConversion, FiveBitChannelsWidenToEightBits)
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
        EXPECT_EQ(PXSDLScreen2D::ToXRGB(c.pixel), c.xrgb) << std::hex << c.pixel;
    }
}

TEST_F(SDLScreenTest, PresentShowsOnlyTheDirtyRectangles)
{
    int w = 0, h = 0;
    SDL_GetWindowSize(screen->GetWindow(), &w, &h);
    EXPECT_EQ(w, 640);
    EXPECT_EQ(h, 480);

    ASSERT_EQ(screen->Present(), 1u);  // Create cleared and dirtied everything
    Paint(10, 10, 0x7C00);
    Paint(300, 200, 0x03E0);
    screen->InvalidateRect({0, 20, 0, 20}, false);
    ASSERT_EQ(screen->Present(), 1u);
    EXPECT_EQ(screen->GetDirtyList()->count, 0);
    EXPECT_EQ(Shown(10, 10), 0xFF0000u);
    EXPECT_EQ(Shown(300, 200), 0x000000u);  // changed, but not in a dirty rectangle

    // An empty dirty list leaves the picture as it is.
    EXPECT_EQ(screen->Present(), 1u);
    EXPECT_EQ(Shown(10, 10), 0xFF0000u);
}

class StepClock : public PXClock {
public:
    uint32_t Milliseconds() override { return now; }
    uint64_t CounterFrequency() override { return 0; }
    uint64_t Counter() override { return 0; }
    uint32_t now = 1000;
};

TEST_F(SDLScreenTest, PacedPresentKeepsTheDirtyAreasForThePictureThatIsDueNext)
{
    StepClock clock;
    screen->SetPresentPacing(&clock, 16);
    ASSERT_EQ(screen->Present(), 1u);  // the first picture is due at once
    Paint(10, 10, 0x7C00);
    screen->InvalidateRect({0, 20, 0, 20}, false);
    clock.now += 10;
    ASSERT_EQ(screen->Present(), 1u);
    EXPECT_EQ(screen->GetDirtyList()->count, 1);  // kept for the picture that is due next
    EXPECT_EQ(Shown(10, 10), 0x000000u);
    clock.now += 10;
    ASSERT_EQ(screen->Present(), 1u);
    EXPECT_EQ(screen->GetDirtyList()->count, 0);
    EXPECT_EQ(Shown(10, 10), 0xFF0000u);
}

TEST_F(SDLScreenTest, NestedLocksBlockPresentUntilAllAreReleased)
{
    PXSurfaceDesc s;
    ASSERT_EQ(screen->LockScreen(&s), 1u);
    ASSERT_EQ(screen->LockScreen(&s), 1u);
    EXPECT_EQ(s.width, 640u);
    EXPECT_EQ(s.pitch, 1280u);
    EXPECT_EQ(screen->Present(), 0u);
    PXScreenDesc desc;
    desc.width = 640;
    desc.height = 480;
    desc.pixelFormat.bitsPerPixel = 16;
    EXPECT_EQ(screen->Create(&desc, "again"), 0u);
    screen->UnlockScreen();
    screen->UnlockScreen();
    screen->UnlockScreen();
    EXPECT_EQ(screen->GetLockCount(), 0);
    EXPECT_EQ(screen->Present(), 1u);
}

TEST_F(SDLScreenTest, CursorVisibilityIsCountedOnce)
{
    screen->SetCursorVisible(false);
    screen->SetCursorVisible(false);
    EXPECT_TRUE(screen->IsCursorHidden());
    EXPECT_EQ(SDL_ShowCursor(SDL_QUERY), SDL_DISABLE);
    screen->SetCursorVisible(true);
    EXPECT_FALSE(screen->IsCursorHidden());
    EXPECT_EQ(SDL_ShowCursor(SDL_QUERY), SDL_ENABLE);
}

TEST_F(SDLScreenTest, FullScreenToggleKeepsImagesAndTheFrame)
{
    PXBitmapDesc bitmap;
    bitmap.bitsPerPixel = 16;
    bitmap.width = 1;
    bitmap.height = 1;
    bitmap.data = std::make_unique<uint8_t[]>(2);
    bitmap.rows = std::make_unique<uint8_t*[]>(1);
    bitmap.rows[0] = bitmap.data.get();
    uint32_t id = 0;
    ASSERT_EQ(screen->CreateImage(bitmap, &id, 0), 1u);
    EXPECT_FALSE(screen->IsFullScreen());
    EXPECT_TRUE(screen->ToggleFullScreen());
    EXPECT_TRUE(screen->IsFullScreen());
    EXPECT_TRUE(SDL_GetWindowFlags(screen->GetWindow()) & SDL_WINDOW_FULLSCREEN_DESKTOP);
    EXPECT_TRUE(screen->HasImage(id));
    EXPECT_TRUE(screen->ToggleFullScreen());
    EXPECT_FALSE(screen->IsFullScreen());
    // Minimising is for full screen only.
    EXPECT_EQ(screen->Minimize(true), 1u);
    EXPECT_FALSE(SDL_GetWindowFlags(screen->GetWindow()) & SDL_WINDOW_MINIMIZED);
}

}  // namespace
