// PXWin32Screen2D on a real window: placement, the frame buffer and the picture on show,
// locking, cursor bookkeeping, and the window procedure queueing input and closing.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <vector>

#include "engine/core/PXGame.h"
#include "platform/win32/PXWin32Screen2D.h"
#include "tests/support/MouseMapping.h"

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

TEST_F(Win32ScreenTest, WindowProcedureQueuesInputAndCloses)
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

    SendMessageA(window, WM_CLOSE, 0, 0);
    EXPECT_TRUE(game.IsQuitRequested());
    EXPECT_FALSE(screen->IsCreated());
    EXPECT_EQ(screen->GetWindow(), nullptr);
    EXPECT_FALSE(IsWindow(window));
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

// The window at 1920 x 1080 (beyond a smaller display if need be), the frame painted with
// `pixel`, shown in `mode`; the window's pixels read back as 0x00RRGGBB.
class Win32ScalingTest : public Win32ScreenTest {
protected:
    void SetUp() override
    {
        Win32ScreenTest::SetUp();
        if (IsSkipped())
            return;
        RECT outer{0, 0, 1920, 1080};
        AdjustWindowRectEx(&outer, GetWindowLongA(screen->GetWindow(), GWL_STYLE), FALSE, 0);
        SetWindowPos(screen->GetWindow(), nullptr, 0, 0, outer.right - outer.left, outer.bottom - outer.top,
                     SWP_NOZORDER | SWP_NOACTIVATE);
        Pump();
        RECT client;
        GetClientRect(screen->GetWindow(), &client);
        if (client.right != 1920 || client.bottom != 1080)
            GTEST_SKIP() << "the window cannot be made 1920 x 1080 here";
    }
    void PaintFrame(uint16_t (*pixel)(int, int))
    {
        PXSurfaceDesc s;
        ASSERT_EQ(screen->LockScreen(&s), 1);
        for (int y = 0; y < 480; ++y)
            for (int x = 0; x < 640; ++x) {
                const uint16_t p = pixel(x, y);
                std::memcpy(s.pixels + static_cast<size_t>(y) * s.pitch + 2 * x, &p, 2);
            }
        screen->UnlockScreen();
    }
    std::vector<uint32_t> ShowIn(PXScaleMode mode)
    {
        screen->SetScaleMode(mode);
        EXPECT_EQ(screen->Present(), 1);
        // A copy of the client area into a 32-bit section of our own.
        std::vector<uint32_t> out(1920 * 1080);
        HDC windowDC = GetDC(screen->GetWindow());
        HDC memoryDC = CreateCompatibleDC(windowDC);
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
        info.bmiHeader.biWidth = 1920;
        info.bmiHeader.biHeight = -1080;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        void* bits = nullptr;
        HBITMAP bitmap = CreateDIBSection(windowDC, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        HGDIOBJ old = SelectObject(memoryDC, bitmap);
        BitBlt(memoryDC, 0, 0, 1920, 1080, windowDC, 0, 0, SRCCOPY);
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
    PXPoint MouseAt(int x, int y)
    {
        screen->HandleMessage(WM_MOUSEMOVE, 0, MAKELPARAM(x, y));
        return LastMousePosition(queue);
    }
};

TEST_F(Win32ScalingTest, EveryModeFillsItsViewAndMapsTheMouseCornersBack)
{
    struct Case {
        PXScaleMode mode;
        PXRect view;
        bool enlarged;
    };
    const Case cases[] = {
        {PXScaleMode::Sharp, {240, 1680, 0, 1080}, true},
        {PXScaleMode::Pixel, {320, 1600, 60, 1020}, false},
        {PXScaleMode::Smooth, {240, 1680, 0, 1080}, false},
    };
    PaintFrame([](int, int) { return uint16_t{0x7FFF}; });
    for (const Case& c : cases) {
        SCOPED_TRACE(PXScaleModeName(c.mode));
        const std::vector<uint32_t> out = ShowIn(c.mode);
        const PXRect v = screen->GetView();
        EXPECT_TRUE(v == c.view) << v.left << "," << v.right << "," << v.top << "," << v.bottom;
        EXPECT_EQ(screen->GetEnlargedPixels() != nullptr, c.enlarged);
        // White inside the view, black bars outside it, right up to its edges.
        for (int y : {v.top, (v.top + v.bottom) / 2, v.bottom - 1}) {
            for (int x = 0; x < 1920; ++x) {
                const bool inside = x >= v.left && x < v.right;
                ASSERT_EQ(out[static_cast<size_t>(y) * 1920 + x] > 0xF0F0F0u, inside) << x << "," << y;
            }
        }
        if (v.top > 0) {
            EXPECT_EQ(out[static_cast<size_t>(v.top - 1) * 1920 + 960], 0u);
            EXPECT_EQ(out[static_cast<size_t>(v.bottom) * 1920 + 960], 0u);
        }
        for (const ViewCorner& k : ViewCorners(v)) {
            const PXPoint p = MouseAt(k.x, k.y);
            EXPECT_EQ(p.x, k.frameX) << "client " << k.x << "," << k.y;
            EXPECT_EQ(p.y, k.frameY) << "client " << k.x << "," << k.y;
        }
        EXPECT_LT(MouseAt(v.left - 1, v.top).x, 0);
    }
}

TEST_F(Win32ScalingTest, PixelModeShowsWholeSquaresAndSharpEvenLines)
{
    // Pixel mode: neighbours always differ, so every 2 x 2 square must be one colour and
    // differ from the next square.
    PaintFrame([](int x, int y) { return static_cast<uint16_t>(((x & 31) << 10) | ((y & 31) << 5) | ((x ^ y) & 31)); });
    screen->InvalidateRect({0, 640, 0, 480}, false);
    std::vector<uint32_t> out = ShowIn(PXScaleMode::Pixel);
    const PXRect v = screen->GetView();
    for (int y = v.top; y < v.bottom; y += 2)
        for (int x = v.left; x < v.right; x += 2) {
            const uint32_t square = out[static_cast<size_t>(y) * 1920 + x];
            ASSERT_EQ(out[static_cast<size_t>(y) * 1920 + x + 1], square) << x << "," << y;
            ASSERT_EQ(out[static_cast<size_t>(y + 1) * 1920 + x], square) << x << "," << y;
            ASSERT_EQ(out[static_cast<size_t>(y + 1) * 1920 + x + 1], square) << x << "," << y;
            if (x + 2 < v.right)
                ASSERT_NE(out[static_cast<size_t>(y) * 1920 + x + 2], square) << x << "," << y;
        }

    // Sharp mode: white one-pixel columns at every phase of the 2.25 scale, on black.
    PaintFrame([](int x, int) { return uint16_t(x % 9 == 3 ? 0x7FFF : 0); });
    screen->InvalidateRect({0, 640, 0, 480}, false);
    out = ShowIn(PXScaleMode::Sharp);
    ASSERT_NE(screen->GetEnlargedPixels(), nullptr);
    // The enlarged picture holds each frame pixel as a whole 2 x 2 square.
    const uint32_t* enlarged = screen->GetEnlargedPixels();
    for (int x = 0; x < 1280; ++x)
        ASSERT_EQ(enlarged[static_cast<size_t>(333) * 1280 + x], (x / 2) % 9 == 3 ? 0xFFFFFFu : 0u) << x;
    double narrowest = 1e9, widest = 0;
    for (int line = 3; line < 640; line += 9) {
        const int from = 240 + (line - 3) * 1440 / 640;
        const int to = 240 + (line + 4) * 1440 / 640;
        for (int y : {0, 333, 1079}) {
            double coverage = 0;
            for (int x = from; x < to; ++x)
                coverage += ((out[static_cast<size_t>(y) * 1920 + x] >> 8) & 0xFF) / 255.0;
            narrowest = std::min(narrowest, coverage);
            widest = std::max(widest, coverage);
        }
    }
    // A plain nearest-neighbour stretch at 2.25 gives 2 or 3 whole pixels.
    EXPECT_LE(widest - narrowest, 0.5) << "widths from " << narrowest << " to " << widest;
}

}  // namespace
