// The bookkeeping every screen shares (PXWindowScreen2D), seen through the memory screen:
// the creation checks and their log lines, frame-buffer locks, Clear and present pacing.
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "engine/core/PXGlobals.h"
#include "engine/graphics/PXMemoryScreen2D.h"
#include "tests/support/FakeSettingsManager.h"
#include "tests/support/HeldFrame.h"
#include "tests/support/TempDir.h"

namespace {

PXScreenDesc Desc(uint32_t width, uint32_t height, uint32_t bitsPerPixel)
{
    PXScreenDesc desc;
    desc.width = width;
    desc.height = height;
    desc.pixelFormat.bitsPerPixel = bitsPerPixel;
    return desc;
}

// A memory screen that logs its creation like a windowed one, and whose window or frame
// buffer can be refused.
class FailingScreen : public PXMemoryScreen2D {
public:
    bool refuseWindow = false;
    bool refuseFrame = false;

protected:
    bool AcceptsDepth(uint32_t depth) const override { return depth == 16; }
    bool LogsCreation() const override { return true; }
    bool OpenWindow(PXScreenDesc* desc) override
    {
        return !refuseWindow && PXMemoryScreen2D::OpenWindow(desc);
    }
    bool CreateFrameBuffer(uint32_t width, uint32_t height, uint32_t bytesPerPixel) override
    {
        return !refuseFrame && PXMemoryScreen2D::CreateFrameBuffer(width, height, bytesPerPixel);
    }
};

class WindowScreenLogTest : public ::testing::Test {
protected:
    void SetUp() override { g_settings = &settings; }
    void TearDown() override { g_settings = nullptr; }

    TempDir dir;
    FakeSettingsManager settings{dir.Folder()};
};

TEST_F(WindowScreenLogTest, CreationWritesItsStepsAndWhereItFailed)
{
    const std::string entered = "CreateWin32Screen2D - Entered Function\r\n";
    const std::string opened = "CreateWin32Screen2D - Window Created\r\n"
                               "CreateWin32Screen2D - Opening Windowed Mode\r\n"
                               "CreateWin32Screen2D - Set Window Position\r\n";
    struct Case {
        const char* name;
        uint32_t bitsPerPixel;
        bool refuseWindow, refuseFrame;
        uint32_t result;
        std::string log;
    };
    const Case cases[] = {
        {"created", 16, false, false, 1,
         entered + opened +
             "CreateWin32Screen2D - Created HBITMAP\r\n"
             "CreateWin32Screen2D - Showed Window\r\n"
             "CreateWin32Screen2D - Exiting Function\r\n"},
        {"depth refused", 32, false, false, 0, entered},
        {"no window", 16, true, false, 0, entered + "CreateWin32Screen2D - Failed Creating Window\r\n"},
        {"no frame buffer", 16, false, true, 0,
         entered + opened + "CreateWin32Screen2D - Failed Creating HBITMAP\r\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::filesystem::remove(dir.Path() / "log.txt");
        FailingScreen screen;
        screen.refuseWindow = c.refuseWindow;
        screen.refuseFrame = c.refuseFrame;
        PXScreenDesc desc = Desc(8, 6, c.bitsPerPixel);
        EXPECT_EQ(c.result, screen.Create(&desc, "t"));
        EXPECT_EQ(c.log, dir.Read("log.txt"));
        EXPECT_EQ(c.result == 1, screen.IsCreated());
        PXSurfaceDesc surface;
        EXPECT_EQ(c.result, screen.LockScreen(&surface));
    }
}

TEST_F(WindowScreenLogTest, TheMemoryScreenCreatesQuietly)
{
    PXMemoryScreen2D screen;
    PXScreenDesc desc = Desc(8, 6, 16);
    ASSERT_EQ(1u, screen.Create(&desc, "t"));
    EXPECT_EQ("", dir.Read("log.txt"));
}

TEST(WindowScreen, CreateRefusesBadDescriptionsAndKeepsTheScreenItHas)
{
    struct Case {
        const char* name;
        uint32_t width, height, bitsPerPixel;
    };
    const Case cases[] = {
        {"no width", 0, 6, 16},     {"no height", 8, 0, 16},   {"too wide", 16385, 6, 16},
        {"too high", 8, 16385, 16}, {"under 8 bits", 8, 6, 4}, {"over 32 bits", 8, 6, 40},
    };
    PXMemoryScreen2D screen;
    PXScreenDesc good = Desc(8, 6, 16);
    ASSERT_EQ(1u, screen.Create(&good, "first"));
    screen.SetPixel(3, 2, 0x1234);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        PXScreenDesc desc = Desc(c.width, c.height, c.bitsPerPixel);
        EXPECT_EQ(0u, screen.Create(&desc, "second"));
        EXPECT_EQ("first", screen.GetTitle());
        EXPECT_EQ(8, screen.GetWidth());
        EXPECT_EQ(0x1234, screen.GetPixel(3, 2));
    }
    EXPECT_EQ(0u, screen.Create(nullptr, "second"));
}

TEST(WindowScreen, CreateAgainReplacesTheFrameAndFreesTheImages)
{
    PXMemoryScreen2D screen(nullptr, 6);
    PXScreenDesc desc = Desc(8, 6, 16);
    ASSERT_EQ(1u, screen.Create(&desc, "t"));
    auto image = std::make_unique<PXImage>();
    image->width = image->height = 1;
    image->pixels = {1};
    uint32_t id = 0;
    ASSERT_EQ(1u, screen.AddImage(std::move(image), &id));
    PXSurfaceDesc surface;
    ASSERT_EQ(1u, screen.LockScreen(&surface));
    PXScreenDesc larger = Desc(10, 7, 16);
    EXPECT_EQ(0u, screen.Create(&larger, "t"));  // not while the frame is locked
    EXPECT_TRUE(screen.HasImage(id));
    screen.UnlockScreen();

    ASSERT_EQ(1u, screen.Create(&larger, "t"));
    EXPECT_FALSE(screen.HasImage(id));
    ASSERT_EQ(1u, screen.LockScreen(&surface));
    EXPECT_EQ(10u, surface.width);
    EXPECT_EQ(7u, surface.height);
    EXPECT_EQ(2u, surface.bytesPerPixel);
    EXPECT_EQ(20u + 6u, surface.pitch);  // 4-byte rows plus the padding
    screen.UnlockScreen();
}

TEST(WindowScreen, LocksPairUpAndNeedAFrameBuffer)
{
    PXMemoryScreen2D screen;
    PXSurfaceDesc surface;
    EXPECT_EQ(0u, screen.LockScreen(&surface));  // nothing created yet
    EXPECT_EQ(0, screen.GetLockCount());

    PXScreenDesc desc = Desc(8, 6, 16);
    ASSERT_EQ(1u, screen.Create(&desc, "t"));
    ASSERT_EQ(1u, screen.LockScreen(&surface));
    ASSERT_EQ(1u, screen.LockScreen(nullptr));
    EXPECT_EQ(2, screen.GetLockCount());
    screen.UnlockScreen();
    EXPECT_EQ(0u, screen.Present());  // one lock still held
    screen.UnlockScreen();
    EXPECT_EQ(1u, screen.Present());

    screen.Destroy();
    EXPECT_EQ(0u, screen.LockScreen(&surface));
    EXPECT_EQ(0, screen.GetLockCount());
    EXPECT_EQ(0u, screen.Present());
}

TEST(WindowScreen, ClearBlanksEveryRowAndMarksTheWholeFrame)
{
    PXMemoryScreen2D screen(nullptr, 2);
    PXScreenDesc desc = Desc(5, 3, 16);
    ASSERT_EQ(1u, screen.Create(&desc, "t"));
    screen.SetPixel(0, 0, 0x7FFF);
    screen.SetPixel(4, 2, 0x7FFF);
    screen.ClearDirtyList();
    screen.InvalidateRect({1, 2, 1, 2}, false);
    ASSERT_EQ(1u, screen.Clear());
    EXPECT_EQ(0, screen.GetPixel(0, 0));
    EXPECT_EQ(0, screen.GetPixel(4, 2));
    ASSERT_EQ(1, screen.GetDirtyList()->count);
    EXPECT_EQ((PXRect{0, 5, 0, 3}), screen.GetDirtyList()->rects[0]);
}

class StepClock : public PXClock {
public:
    uint32_t Milliseconds() override { return now; }
    uint64_t CounterFrequency() override { return 0; }
    uint64_t Counter() override { return 0; }
    uint32_t now = 0xFFFFFFF0u;  // wraps during the test
};

TEST(WindowScreen, PacingShowsAtMostOnePicturePerIntervalAndKeepsWhatItHeldBack)
{
    struct Step {
        uint32_t advanceMs;
        PXRect dirty;  // an empty one adds nothing
        uint32_t presentsAfter;
        int32_t keptAfter;  // rectangles left on the dirty list
    };
    struct Case {
        const char* name;
        uint32_t intervalMs;
        std::vector<Step> steps;
    };
    const PXRect none{0, 0, 0, 0};
    const Case cases[] = {
        {"paced",
         16,
         {
             {0, {0, 2, 0, 2}, 1, 0},   // the first picture is due at once
             {10, {4, 6, 4, 6}, 1, 1},  // too early: kept
             {5, {0, 1, 5, 6}, 1, 2},   // still too early: both kept
             {1, none, 2, 0},           // due: shows both held-back rectangles
             {3, none, 3, 0},           // nothing to show is never held back
         }},
        {"every present",
         0,
         {
             {0, {0, 2, 0, 2}, 1, 0},
             {1, {4, 6, 4, 6}, 2, 0},
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        PXMemoryScreen2D screen;
        PXScreenDesc desc = Desc(8, 6, 16);
        ASSERT_EQ(1u, screen.Create(&desc, "t"));
        screen.ClearDirtyList();
        StepClock clock;
        screen.SetPresentPacing(&clock, c.intervalMs);
        PXDirtyList held;
        for (const Step& s : c.steps) {
            clock.now += s.advanceMs;
            if (!s.dirty.IsEmpty()) {
                screen.InvalidateRect(s.dirty, false);
            }
            const PXDirtyList before = *screen.GetDirtyList();
            EXPECT_EQ(1u, screen.Present());
            EXPECT_EQ(s.presentsAfter, screen.GetPresentCount());
            EXPECT_EQ(s.keptAfter, screen.GetDirtyList()->count);
            if (s.keptAfter == 0) {
                // What was shown is everything that was dirty, held back or not.
                ASSERT_EQ(before.count, screen.GetLastPresented().count);
                for (int32_t i = 0; i < before.count; ++i) {
                    EXPECT_EQ(before.rects[i], screen.GetLastPresented().rects[i]);
                }
            }
        }
    }
}

// Frames every 10 ms on a screen paced to 16 ms: every other frame is foreseen too early.
// Such a frame draws nothing through the dirty list and is never shown; the frame after it
// draws and shows everything, its own dirty areas and the held frame's.
TEST(WindowScreen, AFrameForeseenTooEarlyDrawsNothingAndTheNextShowsAllOfIt)
{
    struct Frame {
        bool held;
        uint32_t picturesAfter;
    };
    struct Case {
        const char* name;
        uint32_t intervalMs;
        std::vector<Frame> frames;
    };
    const Case cases[] = {
        // The first gap is not known until the second present; after that the gap foresees.
        {"paced", 16, {{false, 1}, {false, 1}, {false, 2}, {true, 2}, {false, 3}, {true, 3}, {false, 4}}},
        {"every present", 0, {{false, 1}, {false, 2}, {false, 3}, {false, 4}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        PXMemoryScreen2D screen;
        PXScreenDesc desc = Desc(8, 6, 16);
        ASSERT_EQ(1u, screen.Create(&desc, "t"));
        StepClock clock;
        screen.SetPresentPacing(&clock, c.intervalMs);
        uint16_t drawn = 0;  // the colour the frame buffer holds at (1, 1)
        for (size_t f = 0; f < c.frames.size(); ++f) {
            SCOPED_TRACE(f);
            const Frame& frame = c.frames[f];
            EXPECT_EQ(frame.held, screen.IsDrawingHeld());
            // The frame's own change, and its picture of the whole scene.
            screen.InvalidateRect({static_cast<int32_t>(f % 6), static_cast<int32_t>(f % 6) + 1, 5, 6}, false);
            const PXColor colour = MakeColor(static_cast<uint8_t>(8 * (f + 1)), 0, 0, 255);
            screen.InvalidateRect({0, 3, 0, 3}, false);
            screen.FillRect({0, 3, 0, 3}, colour);
            if (!frame.held) {
                drawn = static_cast<uint16_t>(PackPixel(screen.GetPixelFormat(), colour.red, 0, 0));
            }
            PXSurfaceDesc s;
            ASSERT_EQ(1u, screen.LockScreen(&s));
            EXPECT_EQ(drawn, reinterpret_cast<const uint16_t*>(s.pixels + s.pitch)[1]);
            screen.UnlockScreen();
            const PXDirtyList before = *screen.GetDirtyList();
            clock.now += 10;
            EXPECT_EQ(1u, screen.Present());
            EXPECT_EQ(frame.picturesAfter, screen.GetPicturesShown());
            if (screen.GetDirtyList()->count == 0) {
                // Shown: everything that was dirty, the held frame's areas too.
                ASSERT_EQ(before.count, screen.GetLastPresented().count);
            } else {
                EXPECT_EQ(before.count, screen.GetDirtyList()->count);
            }
        }
    }
}

TEST(WindowScreen, LockingAHeldFrameDrawsItButItIsStillNotShown)
{
    PXMemoryScreen2D screen;
    PXScreenDesc desc = Desc(8, 6, 16);
    ASSERT_EQ(1u, screen.Create(&desc, "t"));
    ScriptedClock clock;
    PresentUntilAFrameIsHeld(screen, clock);
    ASSERT_TRUE(screen.IsDrawingHeld());
    // Someone takes the frame itself (a snapshot for a transition): drawing resumes.
    PXSurfaceDesc s;
    ASSERT_EQ(1u, screen.LockScreen(&s));
    screen.UnlockScreen();
    EXPECT_FALSE(screen.IsDrawingHeld());
    screen.InvalidateRect({0, 2, 0, 2}, false);
    screen.FillRect({0, 2, 0, 2}, MakeColor(255, 255, 255, 255));
    EXPECT_EQ(0x7FFF, reinterpret_cast<const uint16_t*>(s.pixels)[0]);
    const uint32_t shown = screen.GetPicturesShown();
    clock.ms += 10;
    screen.Present();
    EXPECT_EQ(shown, screen.GetPicturesShown());
    EXPECT_EQ(1, screen.GetDirtyList()->count);
}

}  // namespace
