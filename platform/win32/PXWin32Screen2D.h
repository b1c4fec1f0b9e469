// The screen on a Win32 window: the frame buffer is a top-down 16-bit 5-5-5 DIB section;
// Present copies its dirty rectangles into a second DIB section (the picture on show) and
// stretches that onto the client area as the scaling mode lays it out: whole factors
// exactly, other sizes smoothly (halftone), in sharp mode from a 32-bit section that holds
// the picture enlarged by the whole factor. The window procedure queues the window's
// input as engine events and hands the window's actions to the application shell.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "engine/core/PXApplication.h"
#include "engine/graphics/PXWindowScreen2D.h"
#include "platform/win32/PXWin32EventTranslator.h"

struct HWND__;
struct HDC__;
struct HBITMAP__;

class PXWin32Screen2D : public PXWindowScreen2D {
public:
    explicit PXWin32Screen2D(PXGame* owner);
    ~PXWin32Screen2D() override;
    PXWin32Screen2D(const PXWin32Screen2D&) = delete;
    PXWin32Screen2D& operator=(const PXWin32Screen2D&) = delete;

    // Where the window procedure queues input; not owned. Without one, input is dropped.
    void SetEventQueue(PXEventQueue* queue) { m_queue = queue; }
    // Who carries out the window's actions (close, repaint, resize): in the game the
    // shell's PXApplication::HandleWindowAction, called while the message is handled.
    // The screen does only its own part first (painting, the new layout). Without a
    // handler the actions are left undone: a closed window stays open.
    void SetWindowActionHandler(std::function<void(PXWindowAction)> handler)
    {
        m_windowActionHandler = std::move(handler);
    }

    // Create opens the window (borderless over the whole display in full-screen mode) and
    // the frame buffer; a second Create replaces both and frees every image.
    uint32_t Minimize(bool minimise) override;
    uint32_t SetHighPriority(bool high) override;
    uint32_t SetCursorVisible(bool visible) override;
    // Cursor positions are frame pixels, whatever the window's size.
    uint32_t SetCursorPosition(const PXPoint& point) override;
    uint32_t GetCursorPosition(PXPoint* point) override;
    // Waits for the drawing calls still queued on the frame buffer before the first lock.
    uint32_t LockScreen(PXSurfaceDesc* out) override;
    // Switches the open window between full screen and windowed in place: the frame
    // buffer and the images stay.
    bool ToggleFullScreen() override;
    void SetScaleMode(PXScaleMode mode) override;

    HWND__* GetWindow() const { return m_window; }
    // The part of the client area the picture is shown in.
    PXRect GetView() const { return m_layout.view; }
    // How the picture is laid out in the client area.
    const PXScaleLayout& GetLayout() const { return m_layout; }
    // The enlarged picture sharp mode stretches from (null in the other cases), 32-bit
    // 0x00RRGGBB pixels in rows of layout width x factor.
    const uint32_t* GetEnlargedPixels() const { return m_enlargedPixels; }
    // The picture on show (what the last Present copied), rows of GetPitch() bytes.
    const uint8_t* GetShownPixels() const { return m_shownPixels; }

    // The window procedure's work for this screen's window; returns the result, or -1
    // when the default procedure must handle the message.
    intptr_t HandleMessage(uint32_t message, uintptr_t wParam, intptr_t lParam);

protected:
    bool OpenWindow(PXScreenDesc* desc) override;
    void PlaceWindow() override;
    bool CreateFrameBuffer(uint32_t width, uint32_t height, uint32_t bytesPerPixel) override;
    void ShowWindow() override;
    void CloseWindow() override;
    bool ReadyToPresent() override { return m_window != nullptr && m_framePixels != nullptr; }
    void ShowDirtyRectangles() override;

private:
    bool RegisterAndOpen(bool fullScreen);
    void PlaceWindow(bool fullScreen);
    void FreeFrameBuffer();
    void UpdateView();
    bool MakeEnlarged();
    void FreeEnlarged();
    void Stretch(HDC__* windowDC);
    void HandOn(PXWindowAction action);

    HWND__* m_window = nullptr;
    HDC__* m_frameDC = nullptr;
    HDC__* m_shownDC = nullptr;
    HBITMAP__* m_frameBitmap = nullptr;
    HBITMAP__* m_shownBitmap = nullptr;
    HBITMAP__* m_frameOld = nullptr;
    HBITMAP__* m_shownOld = nullptr;
    uint8_t* m_shownPixels = nullptr;
    HDC__* m_enlargedDC = nullptr;
    HBITMAP__* m_enlargedBitmap = nullptr;
    HBITMAP__* m_enlargedOld = nullptr;
    uint32_t* m_enlargedPixels = nullptr;
    // Set when the bars around the picture must be painted black again.
    bool m_barsDirty = true;
    bool m_adjustWindowRect = true;
    PXEventQueue* m_queue = nullptr;
    std::function<void(PXWindowAction)> m_windowActionHandler;
    PXWin32EventTranslator m_translator;
};
