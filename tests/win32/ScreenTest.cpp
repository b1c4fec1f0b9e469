// PXWin32Screen2D on a real window: placement, the frame buffer and the picture on show,
// locking, cursor bookkeeping, and the window procedure queueing input and closing.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>
#include <memory>

#include "engine/core/PXGame.h"
#include "platform/win32/PXWin32Screen2D.h"

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

}  // namespace
