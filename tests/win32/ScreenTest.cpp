// PXWin32Screen2D on a real window: placement, the frame buffer and the picture on show,
// locking, cursor bookkeeping, the window procedure queueing input, and the window's
// actions carried out by the application shell.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <vector>

#include "engine/core/PXApplication.h"
#include "engine/core/PXGame.h"
#include "engine/core/PXGlobals.h"
#include "engine/sound/PXDeviceSoundManager.h"
#include "engine/sound/PXRecordingAudioDevice.h"
#include "platform/win32/PXWin32Clock.h"
#include "platform/win32/PXWin32Screen2D.h"
#include "tests/support/FakeSettingsManager.h"
#include "tests/support/HostFileManager.h"
#include "tests/support/MouseMapping.h"
#include "tests/support/TempDir.h"

namespace {

class QuietGame : public PXGame {
public:
    int Initialise() override { return 1; }
    void RunFrame(PXEventQueue&) override {}
    void ChangeScene(const std::string&, const std::string&, int) override {}
};

class Win32ScreenTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        screen->SetEventQueue(&queue);
        desc.width = 640;
        desc.height = 480;
        desc.pixelFormat.bitsPerPixel = 16;
        desc.fullScreen = false;
        if (!screen->Create(&desc, "Shardfall Test"))
            GTEST_SKIP() << "no window can be created here (no display)";
    }
    void Pump()
    {
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
    }
    uint16_t Pixel(const uint8_t* pixels, int x, int y)
    {
        uint16_t p;
        std::memcpy(&p, pixels + static_cast<size_t>(y) * screen->GetPitch() + 2 * x, 2);
        return p;
    }

    QuietGame game;
    PXEventQueue queue;
    PXScreenDesc desc;
    std::unique_ptr<PXWin32Screen2D> screen = std::make_unique<PXWin32Screen2D>(&game);
};

TEST_F(Win32ScreenTest, WindowedClientAreaIsTheFrameCentred)
{
    RECT client;
    GetClientRect(screen->GetWindow(), &client);
    EXPECT_EQ(client.right, 640);
    EXPECT_EQ(client.bottom, 480);
    EXPECT_EQ(desc.pixelFormat.redMask, 0x7C00u);
    POINT origin{0, 0};
    ClientToScreen(screen->GetWindow(), &origin);
    EXPECT_NEAR(origin.x, (GetSystemMetrics(SM_CXSCREEN) - 640) / 2, 16);
    EXPECT_NEAR(origin.y, (GetSystemMetrics(SM_CYSCREEN) - 480) / 2, 40);
    EXPECT_EQ(screen->Minimize(true), 1);
    EXPECT_FALSE(IsIconic(screen->GetWindow())) << "minimising is for full screen only";
}

TEST_F(Win32ScreenTest, PresentCopiesOnlyTheDirtyRectangles)
{
    ASSERT_EQ(screen->Present(), 1);
    PXSurfaceDesc frame;
    ASSERT_EQ(screen->LockScreen(&frame), 1);
    for (uint32_t y = 0; y < frame.height; ++y)
        for (uint32_t x = 0; x < frame.width; ++x)
            std::memcpy(frame.pixels + y * frame.pitch + 2 * x, "\xFF\x7F", 2);
    screen->UnlockScreen();
    screen->InvalidateRect({10, 20, 30, 40}, false);
    ASSERT_EQ(screen->Present(), 1);
    EXPECT_EQ(Pixel(screen->GetShownPixels(), 10, 30), 0x7FFF);
    EXPECT_EQ(Pixel(screen->GetShownPixels(), 19, 39), 0x7FFF);
    EXPECT_EQ(Pixel(screen->GetShownPixels(), 20, 39), 0) << "outside the dirty rectangle";
    EXPECT_EQ(Pixel(screen->GetShownPixels(), 10, 40), 0);
    EXPECT_EQ(screen->GetDirtyList()->count, 0);
    EXPECT_EQ(screen->Present(), 1) << "nothing dirty: nothing to do";
}

TEST_F(Win32ScreenTest, NestedLocksBlockPresentUntilAllAreUndone)
{
    PXSurfaceDesc a, b;
    ASSERT_EQ(screen->LockScreen(&a), 1);
    ASSERT_EQ(screen->LockScreen(&b), 1);
    EXPECT_EQ(a.pixels, b.pixels);
    EXPECT_EQ(a.pitch, 1280u);
    EXPECT_EQ(screen->Present(), 0);
    PXScreenDesc again = desc;
    EXPECT_EQ(screen->Create(&again, "Shardfall Test"), 0) << "no re-creation while locked";
    for (int i = 0; i < 3; ++i)
        screen->UnlockScreen();
    EXPECT_EQ(screen->GetLockCount(), 0);
    EXPECT_EQ(screen->Present(), 1);
}

TEST_F(Win32ScreenTest, CursorHidingIsCountedOnce)
{
    screen->SetCursorVisible(false);
    screen->SetCursorVisible(false);
    EXPECT_TRUE(screen->IsCursorHidden());
    // ShowCursor answers the new counter: one hide, so showing once more brings it back to 0.
    screen->SetCursorVisible(true);
    EXPECT_FALSE(screen->IsCursorHidden());
    EXPECT_EQ(ShowCursor(FALSE), -1);
    ShowCursor(TRUE);
}

TEST_F(Win32ScreenTest, WindowProcedureQueuesInput)
{
    HWND window = screen->GetWindow();
    PostMessageA(window, WM_MOUSEMOVE, 0, MAKELPARAM(100, 200));
    PostMessageA(window, WM_LBUTTONUP, 0, 0);
    PostMessageA(window, WM_KEYDOWN, VK_F7, 0);
    PostMessageA(window, WM_CHAR, 'q', 0);
    Pump();
    PXEvent e;
    std::vector<PXEvent> got;
    // Activation, and moves of the display's own pointer, may come in between.
    while (queue.Pop(e)) {
        const bool ours = e.type != EventMouseMove || e.value == PackMousePosition(100, 200);
        if (e.type != EventActivate && e.type != EventDeactivate && ours)
            got.push_back(e);
    }
    ASSERT_EQ(got.size(), 4u);
    EXPECT_EQ(got[0].type, EventMouseMove);
    EXPECT_EQ(MouseX(got[0].value), 100);
    EXPECT_EQ(MouseY(got[0].value), 200);
    EXPECT_EQ(got[1].type, EventLeftUp);
    EXPECT_EQ(got[2].value, KeyF7);
    EXPECT_EQ(got[3].value, 'q');
}

// A screen that counts how often the frame is cleared for a redraw.
class CountingWin32Screen : public PXWin32Screen2D {
public:
    using PXWin32Screen2D::PXWin32Screen2D;
    uint32_t Clear() override
    {
        ++clears;
        return PXWin32Screen2D::Clear();
    }
    int clears = 0;
};

// What one message sent to the window did, seen in the wait that sent it while the shell ran.
struct ActionOutcome {
    bool waited = false;
    int clears = 0;
    bool quit = false;
    bool created = true;
    HWND windowAfter = nullptr;
    bool windowLeft = true;
};

// The game's Windows platform in small: the real screen with its window actions handed to
// the shell that runs it, and one wait that finishes the window's own messages, sends one
// scripted message and records what it did; then the process is asked to end.
class OneMessagePlatform : public PXApplicationPlatform {
public:
    explicit OneMessagePlatform(void (*send)(HWND)) : m_send(send) {}

    void SetApplication(PXApplication& application) { m_application = &application; }

    std::unique_ptr<PXGame> CreateGame() override { return std::make_unique<QuietGame>(); }
    std::unique_ptr<PXWindowScreen2D> CreateScreen(PXGame& owner) override
    {
        auto made = std::make_unique<CountingWin32Screen>(&owner);
        m_screen = made.get();
        made->SetWindowActionHandler([this](PXWindowAction action) { m_application->HandleWindowAction(action); });
        return made;
    }
    std::unique_ptr<PXFileManager> CreateFileManager() override { return MakeHostFileManager(); }
    std::unique_ptr<PXSoundManager> CreateSoundManager() override
    {
        return std::make_unique<PXDeviceSoundManager>(std::make_unique<PXRecordingAudioDevice>());
    }
    std::unique_ptr<PXSettingsManager> CreateSettingsManager() override
    {
        return std::make_unique<FakeSettingsManager>(m_folder.Folder());
    }
    int Start(PXEventQueue& queue) override
    {
        m_screen->SetEventQueue(&queue);
        PXScreenDesc desc;
        desc.width = 640;
        desc.height = 480;
        desc.pixelFormat.bitsPerPixel = 16;
        desc.fullScreen = false;
        return m_screen->Create(&desc, "Shardfall Test") ? 0 : 1;
    }
    void Stopped() override { m_screen->SetEventQueue(nullptr); }
    PXClock& Clock() override { return m_clock; }
    bool WaitForEvents(int, PXEventQueue&, PXApplication&) override
    {
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageA(&message);
        const HWND window = m_screen->GetWindow();
        const int before = m_screen->clears;
        m_send(window);
        outcome.waited = true;
        outcome.clears = m_screen->clears - before;
        outcome.quit = g_game->IsQuitRequested();
        outcome.created = m_screen->IsCreated();
        outcome.windowAfter = m_screen->GetWindow();
        outcome.windowLeft = IsWindow(window) != 0;
        return false;
    }
    double MillisecondsSinceProcessStart() override { return 0.0; }
    double ProcessorMilliseconds() override { return 0.0; }

    ActionOutcome outcome;

private:
    void (*m_send)(HWND);
    PXApplication* m_application = nullptr;
    TempDir m_folder;
    PXWin32Clock m_clock;
    CountingWin32Screen* m_screen = nullptr;
};

// Closing quits the game and destroys the window; a resized or exposed window has the
// whole frame redrawn; input does neither.
TEST(Win32WindowActionTest, TheShellCarriesOutWhatTheWindowAsks)
{
    struct Case {
        const char* name;
        void (*send)(HWND);
        bool closes;
        bool clears;
    };
    const Case cases[] = {
        {"close", [](HWND w) { SendMessageA(w, WM_CLOSE, 0, 0); }, true, false},
        {"resize", [](HWND w) { SetWindowPos(w, nullptr, 0, 0, 800, 600, SWP_NOMOVE | SWP_NOZORDER); }, false, true},
        {"expose", [](HWND w) { RedrawWindow(w, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW); }, false, true},
        {"input", [](HWND w) { SendMessageA(w, WM_MOUSEMOVE, 0, MAKELPARAM(5, 6)); }, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        OneMessagePlatform platform(c.send);
        PXApplication application(platform);
        platform.SetApplication(application);
        if (application.Run("") != 0)
            GTEST_SKIP() << "no window can be created here (no display)";
        const ActionOutcome& got = platform.outcome;
        ASSERT_TRUE(got.waited);
        EXPECT_EQ(got.quit, c.closes);
        EXPECT_EQ(got.created, !c.closes);
        EXPECT_EQ(got.windowAfter == nullptr, c.closes);
        EXPECT_EQ(got.windowLeft, !c.closes);
        if (!c.closes) {
            EXPECT_EQ(got.clears > 0, c.clears);
        }
    }
}

TEST_F(Win32ScreenTest, FullScreenCoversTheDisplayAndBack)
{
    ASSERT_TRUE(screen->ToggleFullScreen());
    EXPECT_TRUE(screen->IsFullScreen());
    RECT client;
    GetClientRect(screen->GetWindow(), &client);
    EXPECT_EQ(client.right, GetSystemMetrics(SM_CXSCREEN));
    EXPECT_EQ(client.bottom, GetSystemMetrics(SM_CYSCREEN));
    const PXRect view = screen->GetView();
    EXPECT_EQ((view.right - view.left) * 3, (view.bottom - view.top) * 4) << "the picture keeps 4:3";
    ASSERT_TRUE(screen->ToggleFullScreen());
    GetClientRect(screen->GetWindow(), &client);
    EXPECT_EQ(client.right, 640);
    EXPECT_EQ(client.bottom, 480);
}

// Full screen on whatever display Wine has, with a 400 x 300 frame: on the usual displays
// (1280 x 1024, 1920 x 1080) sharp mode then needs both its whole factor (3) and a smooth
// step. The frame painted with `pixel`, shown in a mode, the window's pixels read back.
class Win32ScalingTest : public Win32ScreenTest {
protected:
    static constexpr int FrameW = 400;
    static constexpr int FrameH = 300;

    void SetUp() override
    {
        Win32ScreenTest::SetUp();
        if (IsSkipped())
            return;
        desc.width = FrameW;
        desc.height = FrameH;
        desc.fullScreen = true;
        ASSERT_EQ(screen->Create(&desc, "Shardfall Test"), 1);
        Pump();
        RECT client;
        GetClientRect(screen->GetWindow(), &client);
        clientW = client.right;
        clientH = client.bottom;
        ASSERT_GE(clientW, 3 * FrameW);
        ASSERT_GE(clientH, 3 * FrameH);
    }
    PXScaleLayout Expected(PXScaleMode mode) const
    {
        return PXScaleLayout::Compute(mode, clientW, clientH, FrameW, FrameH, PXScaleLayout::LargestFactor);
    }
    void PaintFrame(uint16_t (*pixel)(int, int))
    {
        PXSurfaceDesc s;
        ASSERT_EQ(screen->LockScreen(&s), 1);
        for (int y = 0; y < FrameH; ++y)
            for (int x = 0; x < FrameW; ++x) {
                const uint16_t p = pixel(x, y);
                std::memcpy(s.pixels + static_cast<size_t>(y) * s.pitch + 2 * x, &p, 2);
            }
        screen->UnlockScreen();
        screen->InvalidateRect({0, FrameW, 0, FrameH}, false);
    }
    // Shows the frame in `mode` and copies the client area into 0x00RRGGBB pixels.
    std::vector<uint32_t> ShowIn(PXScaleMode mode)
    {
        screen->SetScaleMode(mode);
        EXPECT_EQ(screen->Present(), 1);
        std::vector<uint32_t> out(static_cast<size_t>(clientW) * clientH);
        HDC windowDC = GetDC(screen->GetWindow());
        HDC memoryDC = CreateCompatibleDC(windowDC);
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
        info.bmiHeader.biWidth = clientW;
        info.bmiHeader.biHeight = -clientH;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        void* bits = nullptr;
        HBITMAP bitmap = CreateDIBSection(windowDC, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        HGDIOBJ old = SelectObject(memoryDC, bitmap);
        BitBlt(memoryDC, 0, 0, clientW, clientH, windowDC, 0, 0, SRCCOPY);
        GdiFlush();
        std::memcpy(out.data(), bits, out.size() * 4);
        SelectObject(memoryDC, old);
        DeleteObject(bitmap);
        DeleteDC(memoryDC);
        ReleaseDC(screen->GetWindow(), windowDC);
        for (uint32_t& p : out)
            p &= 0xFFFFFF;
        return out;
    }
    uint32_t At(const std::vector<uint32_t>& out, int x, int y) const
    {
        return out[static_cast<size_t>(y) * clientW + x];
    }
    PXPoint MouseAt(int x, int y)
    {
        screen->HandleMessage(WM_MOUSEMOVE, 0, MAKELPARAM(x, y));
        return LastMousePosition(queue);
    }

    int clientW = 0;
    int clientH = 0;
};

TEST_F(Win32ScalingTest, EveryModeFillsItsViewAndMapsTheMouseCornersBack)
{
    PaintFrame([](int, int) { return uint16_t{0x7FFF}; });
    for (PXScaleMode mode : {PXScaleMode::Sharp, PXScaleMode::Pixel, PXScaleMode::Smooth}) {
        SCOPED_TRACE(PXScaleModeName(mode));
        const std::vector<uint32_t> out = ShowIn(mode);
        const PXScaleLayout want = Expected(mode);
        EXPECT_TRUE(screen->GetLayout() == want);
        const PXRect v = screen->GetView();
        EXPECT_EQ(screen->GetEnlargedPixels() != nullptr, mode == PXScaleMode::Sharp && !want.IsExact());
        // White inside the view, black bars outside it, right up to its edges.
        for (int y : {v.top, (v.top + v.bottom) / 2, v.bottom - 1}) {
            for (int x = 0; x < clientW; ++x) {
                const bool inside = x >= v.left && x < v.right;
                ASSERT_EQ(At(out, x, y) > 0xF0F0F0u, inside) << x << "," << y;
            }
        }
        for (int x : {v.left, (v.left + v.right) / 2, v.right - 1}) {
            for (int y = 0; y < clientH; ++y) {
                const bool inside = y >= v.top && y < v.bottom;
                ASSERT_EQ(At(out, x, y) > 0xF0F0F0u, inside) << x << "," << y;
            }
        }
        for (const ViewCorner& k : ViewCorners(v, FrameW, FrameH)) {
            const PXPoint p = MouseAt(k.x, k.y);
            EXPECT_EQ(p.x, k.frameX) << "client " << k.x << "," << k.y;
            EXPECT_EQ(p.y, k.frameY) << "client " << k.x << "," << k.y;
        }
        EXPECT_LT(MouseAt(v.left - 1, v.top).x, 0);
        EXPECT_GE(MouseAt(v.left, v.bottom).y, FrameH);
    }
}

TEST_F(Win32ScalingTest, PixelModeShowsWholeSquaresAndSharpEvenLines)
{
    // Pixel mode: neighbours always differ, so every square must be one colour and differ
    // from the next square.
    PaintFrame([](int x, int y) { return static_cast<uint16_t>(((x & 31) << 10) | ((y & 31) << 5) | ((x ^ y) & 31)); });
    std::vector<uint32_t> out = ShowIn(PXScaleMode::Pixel);
    const PXScaleLayout pixel = screen->GetLayout();
    const int f = pixel.factor;
    ASSERT_GE(f, 3);
    for (int y = pixel.view.top; y < pixel.view.bottom; y += f) {
        for (int x = pixel.view.left; x < pixel.view.right; x += f) {
            const uint32_t square = At(out, x, y);
            for (int i = 0; i < f * f; ++i)
                ASSERT_EQ(At(out, x + i % f, y + i / f), square) << x << "," << y;
            if (x + f < pixel.view.right) {
                ASSERT_NE(At(out, x + f, y), square) << x << "," << y;
            }
        }
    }

    // Sharp mode: white one-pixel columns at every phase of the scale, on black.
    PaintFrame([](int x, int) { return uint16_t(x % 9 == 3 ? 0x7FFF : 0); });
    out = ShowIn(PXScaleMode::Sharp);
    const PXScaleLayout sharp = screen->GetLayout();
    ASSERT_FALSE(sharp.IsExact());
    ASSERT_NE(screen->GetEnlargedPixels(), nullptr);
    // The enlarged picture holds each frame pixel as a whole square.
    const uint32_t* enlarged = screen->GetEnlargedPixels();
    for (int x = 0; x < sharp.EnlargedWidth(); ++x)
        ASSERT_EQ(enlarged[static_cast<size_t>(100) * sharp.EnlargedWidth() + x],
                  (x / sharp.factor) % 9 == 3 ? 0xFFFFFFu : 0u)
            << x;
    const PXRect& v = sharp.view;
    const double scale = static_cast<double>(v.right - v.left) / FrameW;
    double narrowest = 1e9, widest = 0;
    for (int line = 3; line < FrameW; line += 9) {
        const int from = v.left + (line - 3) * (v.right - v.left) / FrameW;
        const int to = v.left + (line + 4) * (v.right - v.left) / FrameW;
        for (int y : {v.top, (v.top + v.bottom) / 2, v.bottom - 1}) {
            double coverage = 0;
            for (int x = from; x < to; ++x)
                coverage += ((At(out, x, y) >> 8) & 0xFF) / 255.0;
            narrowest = std::min(narrowest, coverage);
            widest = std::max(widest, coverage);
        }
    }
    // A plain nearest-neighbour stretch gives whole pixels: widths a whole pixel apart.
    EXPECT_LE(widest - narrowest, 0.5) << "widths from " << narrowest << " to " << widest;
    EXPECT_NEAR((widest + narrowest) / 2, scale, 0.35);
}

}  // namespace
