// The SDL screen on SDL's offscreen video driver: what Present shows (straight in the window
// surface at whole factors, through the texture when stretched), the lock count, the
// cursor bookkeeping, switching full screen in place, and the three scaling modes at
// 1920 x 1080 (the picture read back from the renderer, the mouse through SDL's events).
#include <gtest/gtest.h>

#include <SDL.h>

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "engine/core/PXGlobals.h"
#include "engine/graphics/PXGraphicsTypes.h"
#include "platform/sdl/PXSDLEventTranslator.h"
#include "platform/sdl/PXSDLScreen2D.h"
#include "tests/support/MouseMapping.h"

// Rectangles in failure messages as their edges.
void PrintTo(const PXRect& r, std::ostream* out)
{
    *out << "{" << r.left << ", " << r.right << ", " << r.top << ", " << r.bottom << "}";
}

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
    void PaintFrame(const std::function<uint16_t(int, int)>& pixel)
    {
        PXSurfaceDesc s;
        ASSERT_EQ(screen->LockScreen(&s), 1u);
        for (int y = 0; y < 480; ++y) {
            auto* row = reinterpret_cast<uint16_t*>(s.pixels + static_cast<size_t>(y) * s.pitch);
            for (int x = 0; x < 640; ++x) {
                row[x] = pixel(x, y);
            }
        }
        screen->UnlockScreen();
    }
    // The whole window read back, rows of its width, as 0x00RRGGBB.
    std::vector<uint32_t> ReadWindow()
    {
        SDL_Renderer* renderer = SDL_GetRenderer(screen->GetWindow());
        int w = 0, h = 0;
        SDL_GetRendererOutputSize(renderer, &w, &h);
        std::vector<uint32_t> out(static_cast<size_t>(w) * h);
        SDL_RenderReadPixels(renderer, nullptr, SDL_PIXELFORMAT_RGB888, out.data(), w * 4);
        for (uint32_t& p : out) {
            p &= 0xFFFFFF;
        }
        return out;
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

// Every pixel differs from its neighbours, in every channel.
uint16_t Pattern(int x, int y)
{
    return static_cast<uint16_t>(((x & 31) << 10) | ((y & 31) << 5) | ((x ^ y) & 31));
}

TEST_F(SDLScreenTest, WholeFactorPicturesGoStraightIntoTheWindowSurfaceWithTheSamePixels)
{
    // The window read back whole: the view shows every frame pixel as a factor x factor
    // square of its 32-bit colour, the bars are black. `changed` marks the pixel painted over.
    auto expectWindowShowsFrame = [&](bool changed) {
        const PXScaleLayout layout = screen->CurrentLayout();
        ASSERT_TRUE(layout.IsExact());
        const PXRect& v = layout.view;
        int w = 0, h = 0;
        SDL_GetRendererOutputSize(SDL_GetRenderer(screen->GetWindow()), &w, &h);
        const std::vector<uint32_t> out = ReadWindow();
        for (int y = 0; y < h; ++y) {
            for (int x = 0; x < w; ++x) {
                uint32_t want = 0;
                if (x >= v.left && x < v.right && y >= v.top && y < v.bottom) {
                    const int fx = (x - v.left) / layout.factor, fy = (y - v.top) / layout.factor;
                    want = PXToXRGB(changed && fx == 5 && fy == 7 ? uint16_t{0x7FFF} : Pattern(fx, fy));
                }
                ASSERT_EQ(out[static_cast<size_t>(y) * w + x], want) << x << "," << y;
            }
        }
    };
    struct Case {
        int width, height;
        PXScaleMode mode;
        bool direct;
    };
    const Case cases[] = {
        {640, 480, PXScaleMode::Sharp, true},
        {1920, 1080, PXScaleMode::Smooth, false},
        {1920, 1080, PXScaleMode::Pixel, true},    // factor 2 with bars, where the smooth view was
        {1280, 960, PXScaleMode::Sharp, true},     // factor 2, no stretch left
        {1920, 1080, PXScaleMode::Sharp, false},   // stretched the rest of the way
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.width) + " x " + std::to_string(c.height) + " " + PXScaleModeName(c.mode));
        SDL_SetWindowSize(screen->GetWindow(), c.width, c.height);
        screen->SetScaleMode(c.mode);
        PaintFrame(Pattern);
        screen->InvalidateRect({0, 640, 0, 480}, false);
        ASSERT_EQ(screen->Present(), 1u);
        EXPECT_EQ(screen->ShowsOnWindowSurface(), c.direct);
        const std::vector<uint32_t> before = ReadWindow();
        // One pixel changes, and only it is dirty.
        Paint(5, 7, 0x7FFF);
        screen->InvalidateRect({5, 6, 7, 8}, false);
        ASSERT_EQ(screen->Present(), 1u);
        if (c.direct) {
            expectWindowShowsFrame(true);
        } else {
            // Stretched smoothly, the white pixel shows where it lies and nowhere far away.
            const std::vector<uint32_t> after = ReadWindow();
            const PXPoint at = screen->CurrentLayout().FrameToOutput(5, 7);
            const PXPoint far = screen->CurrentLayout().FrameToOutput(300, 200);
            EXPECT_NE(after[static_cast<size_t>(at.y) * c.width + at.x], before[static_cast<size_t>(at.y) * c.width + at.x]);
            EXPECT_EQ(after[static_cast<size_t>(far.y) * c.width + far.x], before[static_cast<size_t>(far.y) * c.width + far.x]);
        }
    }
    // From the texture back to the frame's size: the new window surface gets the whole
    // picture with nothing dirty.
    Paint(5, 7, Pattern(5, 7));
    SDL_SetWindowSize(screen->GetWindow(), 640, 480);
    ASSERT_EQ(screen->Present(), 1u);
    EXPECT_TRUE(screen->ShowsOnWindowSurface());
    expectWindowShowsFrame(false);
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

// The screen in a 1920 x 1080 window: the picture read back whole, and the frame painted
// as a whole.
class SDLScreenScalingTest : public SDLScreenTest {
protected:
    void SetUp() override
    {
        SDLScreenTest::SetUp();
        if (IsSkipped() || HasFatalFailure()) {
            return;
        }
        SDL_SetWindowSize(screen->GetWindow(), 1920, 1080);
        int w = 0, h = 0;
        SDL_GetRendererOutputSize(SDL_GetRenderer(screen->GetWindow()), &w, &h);
        ASSERT_EQ(w, 1920);
        ASSERT_EQ(h, 1080);
    }
    // Shows the frame in `mode` and reads back the whole window, rows of 1920 pixels.
    std::vector<uint32_t> ShowIn(PXScaleMode mode)
    {
        screen->SetScaleMode(mode);
        screen->InvalidateRect({0, 640, 0, 480}, false);
        EXPECT_EQ(screen->Present(), 1u);
        return ReadWindow();
    }
    // Moves SDL's mouse to a window position as the display would and returns the frame
    // position the game's event queue gets.
    PXPoint MouseMovedTo(int x, int y)
    {
        SDL_Event motion{};
        motion.type = SDL_MOUSEMOTION;
        motion.motion.windowID = SDL_GetWindowID(screen->GetWindow());
        motion.motion.x = x;
        motion.motion.y = y;
        SDL_FlushEvent(SDL_MOUSEMOTION);
        EXPECT_EQ(SDL_PushEvent(&motion), 1);
        SDL_Event got{};
        PXEventQueue queue;
        while (SDL_PollEvent(&got)) {
            PXSDLEventTranslator().Translate(got, queue);
        }
        return LastMousePosition(queue);
    }
};

TEST_F(SDLScreenScalingTest, EveryModeFillsItsViewExactlyAndMapsTheMouseCornersBack)
{
    struct Case {
        PXScaleMode mode;
        PXRect view;
    };
    const Case cases[] = {
        {PXScaleMode::Sharp, {240, 1680, 0, 1080}},
        {PXScaleMode::Pixel, {320, 1600, 60, 1020}},
        {PXScaleMode::Smooth, {240, 1680, 0, 1080}},
    };
    PaintFrame([](int, int) { return uint16_t{0x7FFF}; });
    for (const Case& c : cases) {
        SCOPED_TRACE(PXScaleModeName(c.mode));
        const std::vector<uint32_t> out = ShowIn(c.mode);
        EXPECT_EQ(screen->CurrentLayout().view, c.view);
        // White exactly inside the view, black bars exactly outside it.
        for (int y = 0; y < 1080; ++y) {
            for (int x = 0; x < 1920; ++x) {
                const bool inside = x >= c.view.left && x < c.view.right && y >= c.view.top && y < c.view.bottom;
                ASSERT_EQ(out[static_cast<size_t>(y) * 1920 + x], inside ? 0xFFFFFFu : 0u) << x << "," << y;
            }
        }
        const PXRect& v = c.view;
        for (const ViewCorner& k : ViewCorners(v)) {
            const PXPoint p = MouseMovedTo(k.x, k.y);
            EXPECT_EQ(p.x, k.frameX) << "window " << k.x << "," << k.y;
            EXPECT_EQ(p.y, k.frameY) << "window " << k.x << "," << k.y;
            // The game's own warp lands on the same frame pixel.
            ASSERT_EQ(screen->SetCursorPosition({k.frameX, k.frameY}), 1u);
            PXPoint back;
            ASSERT_EQ(screen->GetCursorPosition(&back), 1u);
            EXPECT_EQ(back.x, k.frameX);
            EXPECT_EQ(back.y, k.frameY);
        }
        // One pixel into a bar is outside the frame.
        EXPECT_LT(MouseMovedTo(v.left - 1, v.top).x, 0);
        EXPECT_GE(MouseMovedTo(v.right, v.bottom - 1).x, 640);
    }
}

TEST_F(SDLScreenScalingTest, PixelModeShowsEveryFramePixelAsAWholeSquare)
{
    // Neighbours always differ, so a square that is one pixel short or long shows.
    PaintFrame(Pattern);
    const std::vector<uint32_t> out = ShowIn(PXScaleMode::Pixel);
    const PXRect v = screen->CurrentLayout().view;
    ASSERT_EQ(v, (PXRect{320, 1600, 60, 1020}));
    for (int y = v.top; y < v.bottom; ++y) {
        for (int x = v.left; x < v.right; ++x) {
            ASSERT_EQ(out[static_cast<size_t>(y) * 1920 + x], PXToXRGB(Pattern((x - v.left) / 2, (y - v.top) / 2)))
                << x << "," << y;
        }
    }
}

TEST_F(SDLScreenScalingTest, SharpModeShowsAOnePixelLineEquallyWideEverywhere)
{
    // White one-pixel columns at every phase of the 2.25 scale, on black.
    std::vector<int> lines;
    for (int x = 3; x < 640; x += 9) {
        lines.push_back(x);
    }
    PaintFrame([&](int x, int) { return uint16_t(std::find(lines.begin(), lines.end(), x) != lines.end() ? 0x7FFF : 0); });
    const std::vector<uint32_t> out = ShowIn(PXScaleMode::Sharp);
    const PXRect v = screen->CurrentLayout().view;
    double narrowest = 1e9, widest = 0;
    int fewest = 1 << 30, most = 0;
    for (int line : lines) {
        // The line's screen columns lie well within the 9-pixel gap either side.
        const int from = v.left + (line - 3) * 1440 / 640;
        const int to = v.left + (line + 4) * 1440 / 640;
        for (int y = v.top; y < v.bottom; ++y) {
            double coverage = 0;
            int lit = 0, full = 0;
            for (int x = from; x < to; ++x) {
                const uint32_t green = (out[static_cast<size_t>(y) * 1920 + x] >> 8) & 0xFF;
                coverage += green / 255.0;
                lit += green >= 128 ? 1 : 0;
                full += green >= 250 ? 1 : 0;
            }
            narrowest = std::min(narrowest, coverage);
            widest = std::max(widest, coverage);
            fewest = std::min(fewest, lit);
            most = std::max(most, lit);
            // Crisp: the whole-factor step leaves a full-strength core at every phase.
            ASSERT_GE(full, 1) << "line " << line << " row " << y;
        }
    }
    EXPECT_LE(most - fewest, 1) << "lit pixels from " << fewest << " to " << most;
    // Nearest neighbour at 2.25 alone would give 2 or 3 whole pixels: a whole pixel apart.
    EXPECT_LE(widest - narrowest, 0.5) << "widths from " << narrowest << " to " << widest;
    EXPECT_NEAR((widest + narrowest) / 2, 2.25, 0.3);
}

}  // namespace
