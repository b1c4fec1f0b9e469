// What every screen with a frame buffer shares, window or not: the frame buffer and its
// locking, Clear, the creation steps with their log lines, Present's checks and pacing, and
// the layout of the frame in an output area. A platform screen supplies the steps that
// touch the host (opening the window, making the frame buffer when it is not ordinary
// memory, showing the dirty rectangles).
#pragma once

#include <algorithm>
#include <cstdint>
#include <vector>

#include "engine/core/PXStopwatch.h"
#include "engine/graphics/PXScreen2D.h"

class PXWindowScreen2D : public PXScreen2D {
public:
    explicit PXWindowScreen2D(PXGame* owner) : PXScreen2D(owner) {}

    // Checks the description, replaces an earlier frame buffer and window (freeing every
    // image), then runs the platform's steps: OpenWindow, PlaceWindow, CreateFrameBuffer,
    // ShowWindow. 0 when a check or a step fails.
    uint32_t Create(PXScreenDesc* desc, const char* title) override;
    uint32_t Destroy() override;
    // 0 while the frame buffer is locked or nothing can be shown; a paced Present that
    // comes too early keeps the dirty list for the next one that is due. A paced Present
    // also foresees whether the next one will come too early (one more gap like the last
    // one): that frame is then held (IsDrawingHeld) and never shown, so nobody draws what
    // no one sees; the frame after it draws and shows the whole dirty list.
    uint32_t Present() override;
    uint32_t Clear() override;
    uint32_t LockScreen(PXSurfaceDesc* out) override;
    uint32_t UnlockScreen() override;

    // Shows at most one picture per `intervalMs` on `clock` (not owned); 0 or no clock shows
    // every Present. Without vsync every picture goes through the whole scaled copy of the
    // frame, so the game caps it near the display's rate. A Present that comes too early
    // leaves the dirty list as it is; the next one due shows it all.
    void SetPresentPacing(PXClock* clock, uint32_t intervalMs);
    // Bytes from one frame-buffer row to the next.
    uint32_t GetPitch() const { return m_pitch; }
    // How many Presents put something new on the screen so far.
    uint32_t GetPicturesShown() const { return m_picturesShown; }

protected:
    // The steps of Create. The screen's title, width and height are set before OpenWindow,
    // IsFullScreen after it (OpenWindow may change desc->fullScreen).
    virtual bool AcceptsDepth(uint32_t depth) const { return depth == 16; }
    // Whether Create writes its log lines (a screen without a window keeps quiet).
    virtual bool LogsCreation() const { return true; }
    virtual bool OpenWindow(PXScreenDesc* desc) = 0;
    virtual void PlaceWindow() {}
    // Makes the frame buffer: sets m_framePixels and m_pitch. The default keeps it in
    // ordinary memory (AllocateFrame).
    virtual bool CreateFrameBuffer(uint32_t width, uint32_t height, uint32_t bytesPerPixel);
    virtual void ShowWindow() {}
    // Lets go of the window and whatever the platform made for it, the frame buffer too
    // when the platform made it; Destroy then frees the frame buffer in ordinary memory.
    virtual void CloseWindow() {}

    // Whether Present can show anything now (a window, a frame buffer, ...).
    virtual bool ReadyToPresent() = 0;
    // Shows the dirty rectangles and empties the dirty list.
    virtual void ShowDirtyRectangles() = 0;

    // A frame buffer in ordinary memory, rows padded to 4 bytes plus rowPadding.
    void AllocateFrame(uint32_t width, uint32_t height, uint32_t bytesPerPixel, uint32_t rowPadding = 0);
    // The frame laid out in an outputWidth x outputHeight area in the current scaling mode.
    PXScaleLayout LayoutFor(int32_t outputWidth, int32_t outputHeight, int32_t maxFactor) const
    {
        return PXScaleLayout::Compute(m_scaleMode, outputWidth, outputHeight, m_width, m_height, maxFactor);
    }
    // Calls show(r) for each dirty rectangle cut to the frame, skipping those left empty.
    template <typename Show> void ForEachDirtyRectOnFrame(Show show) const
    {
        for (int32_t i = 0; i < m_dirtyList.count; ++i) {
            PXRect r = m_dirtyList.rects[i];
            r.left = std::max(r.left, 0);
            r.top = std::max(r.top, 0);
            r.right = std::min(r.right, m_width);
            r.bottom = std::min(r.bottom, m_height);
            if (!r.IsEmpty()) {
                show(r);
            }
        }
    }

    uint8_t* m_framePixels = nullptr;  // m_frameMemory's, or the platform's
    uint32_t m_pitch = 0;
    uint32_t m_bytesPerPixel = 0;
    // How the frame is laid out in the window.
    PXScaleLayout m_layout;
    // The platform holds rectangles that were not shown yet.
    bool m_pictureWaiting = false;

private:
    bool PictureDue();
    // Whether the frame after this Present will be held, and the time of this Present.
    void ForeseeNextFrame();
    void ReleaseHold() { m_frameHeld = m_drawingHeld = false; }

    std::vector<uint8_t> m_frameMemory;
    PXClock* m_pacingClock = nullptr;  // not owned
    uint32_t m_presentIntervalMs = 0;
    uint32_t m_lastShownMs = 0;
    bool m_shownOnce = false;
    uint32_t m_picturesShown = 0;
    // The frame being drawn will not be shown (even if a direct lock ends its drawing hold).
    bool m_frameHeld = false;
    uint32_t m_lastPresentMs = 0;
    bool m_presentedOnce = false;
};
