// The shared frame buffer, creation steps and presentation bookkeeping of the screens.
#include "engine/graphics/PXWindowScreen2D.h"

#include <cstring>

#include "engine/core/PXLog.h"

uint32_t PXWindowScreen2D::Create(PXScreenDesc* desc, const char* title)
{
    if (m_lockCount > 0 || desc == nullptr) {
        return 0;
    }
    // The log lines keep the texts the game has always written, whatever the platform.
    const bool log = LogsCreation();
    if (log) {
        LogF("CreateWin32Screen2D - Entered Function");
    }
    const uint32_t depth = desc->pixelFormat.bitsPerPixel & ~7u;
    if (!AcceptsDepth(depth) || desc->width < 1 || desc->height < 1 || desc->width > 16384 ||
        desc->height > 16384) {
        return 0;
    }
    if (m_created) {
        Destroy();
    }
    ReleaseHold();
    m_presentedOnce = false;
    m_title = title != nullptr ? title : "";
    m_width = static_cast<int32_t>(desc->width);
    m_height = static_cast<int32_t>(desc->height);
    if (!OpenWindow(desc)) {
        if (log) {
            LogF("CreateWin32Screen2D - Failed Creating Window");
        }
        return 0;
    }
    if (log) {
        LogF("CreateWin32Screen2D - Window Created");
        LogF("CreateWin32Screen2D - Opening Windowed Mode");
    }
    m_fullScreen = desc->fullScreen;
    PlaceWindow();
    if (log) {
        LogF("CreateWin32Screen2D - Set Window Position");
    }
    if (!CreateFrameBuffer(desc->width, desc->height, depth / 8)) {
        if (log) {
            LogF("CreateWin32Screen2D - Failed Creating HBITMAP");
        }
        Destroy();
        return 0;
    }
    m_bytesPerPixel = depth / 8;
    m_pixelFormat = MakePixelFormat(depth);
    desc->pixelFormat = m_pixelFormat;
    if (log) {
        LogF("CreateWin32Screen2D - Created HBITMAP");
    }
    ShowWindow();
    if (log) {
        LogF("CreateWin32Screen2D - Showed Window");
    }
    m_created = true;
    Clear();
    if (log) {
        LogF("CreateWin32Screen2D - Exiting Function");
    }
    return 1;
}

bool PXWindowScreen2D::CreateFrameBuffer(uint32_t width, uint32_t height, uint32_t bytesPerPixel)
{
    AllocateFrame(width, height, bytesPerPixel);
    return true;
}

void PXWindowScreen2D::AllocateFrame(uint32_t width, uint32_t height, uint32_t bytesPerPixel,
                                     uint32_t rowPadding)
{
    m_pitch = ((bytesPerPixel * width + 3) & ~3u) + rowPadding;
    m_frameMemory.assign(static_cast<size_t>(m_pitch) * height, 0);
    m_framePixels = m_frameMemory.data();
}

uint32_t PXWindowScreen2D::Destroy()
{
    PXScreen2D::Destroy();
    CloseWindow();
    if (m_framePixels == m_frameMemory.data()) {
        m_framePixels = nullptr;
    }
    m_frameMemory.clear();
    m_frameMemory.shrink_to_fit();
    m_created = false;
    return 1;
}

uint32_t PXWindowScreen2D::LockScreen(PXSurfaceDesc* out)
{
    if (m_framePixels == nullptr) {
        return 0;
    }
    // Whoever reads or writes the frame itself wants it drawn from here on.
    if (!m_lockingToDraw) {
        m_drawingHeld = false;
    }
    ++m_lockCount;
    if (out != nullptr) {
        out->bytesPerPixel = m_bytesPerPixel;
        out->width = static_cast<uint32_t>(m_width);
        out->height = static_cast<uint32_t>(m_height);
        out->pitch = m_pitch;
        out->pixels = m_framePixels;
    }
    return 1;
}

uint32_t PXWindowScreen2D::UnlockScreen()
{
    if (m_lockCount > 0) {
        --m_lockCount;
    }
    return 1;
}

uint32_t PXWindowScreen2D::Clear()
{
    PXSurfaceDesc desc;
    if (!LockScreen(&desc)) {
        return 0;
    }
    std::memset(m_framePixels, 0, static_cast<size_t>(m_pitch) * static_cast<size_t>(m_height));
    ClearDirtyList();
    InvalidateRect({0, m_width, 0, m_height}, true);
    UnlockScreen();
    return 1;
}

void PXWindowScreen2D::SetPresentPacing(PXClock* clock, uint32_t intervalMs)
{
    m_pacingClock = clock;
    m_presentIntervalMs = intervalMs;
    m_shownOnce = false;
    m_presentedOnce = false;
    ReleaseHold();
}

bool PXWindowScreen2D::PictureDue()
{
    if (m_pacingClock == nullptr || m_presentIntervalMs == 0) {
        return true;
    }
    const uint32_t now = m_pacingClock->Milliseconds();
    if (m_shownOnce && now - m_lastShownMs < m_presentIntervalMs) {
        return false;
    }
    m_shownOnce = true;
    m_lastShownMs = now;
    return true;
}

void PXWindowScreen2D::ForeseeNextFrame()
{
    ReleaseHold();
    if (m_pacingClock == nullptr || m_presentIntervalMs == 0) {
        return;
    }
    const uint32_t now = m_pacingClock->Milliseconds();
    if (m_presentedOnce && m_shownOnce) {
        const uint32_t next = now + (now - m_lastPresentMs);
        m_frameHeld = next - m_lastShownMs < m_presentIntervalMs;
        m_drawingHeld = m_frameHeld;
    }
    m_lastPresentMs = now;
    m_presentedOnce = true;
}

uint32_t PXWindowScreen2D::Present()
{
    if (m_lockCount > 0 || !ReadyToPresent()) {
        ReleaseHold();
        return 0;
    }
    // Too early for a picture (or a held frame, which drew nothing): the rectangles stay on
    // the list and the next frame draws them again with its own, so nothing is converted
    // twice.
    const bool changed = m_dirtyList.count > 0 || m_pictureWaiting;
    if (changed && (m_frameHeld || !PictureDue())) {
        ForeseeNextFrame();
        return 1;
    }
    ShowDirtyRectangles();
    if (changed) {
        ++m_picturesShown;
    }
    ForeseeNextFrame();
    return 1;
}
