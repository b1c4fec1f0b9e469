// A screen without a window: the frame buffer is ordinary memory and Present only empties
// the dirty list and counts. Used by tests, benchmarks and tools.
#pragma once

#include <cstdint>

#include "engine/graphics/PXWindowScreen2D.h"

class PXMemoryScreen2D : public PXWindowScreen2D {
public:
    // rowPadding extra bytes at the end of every frame-buffer row (the pitch a platform
    // bitmap may have); must be even.
    explicit PXMemoryScreen2D(PXGame* owner = nullptr, uint32_t rowPadding = 0);
    ~PXMemoryScreen2D() override;

    uint32_t Minimize(bool minimise) override;
    uint32_t SetHighPriority(bool high) override;
    uint32_t SetCursorVisible(bool visible) override;
    uint32_t SetCursorPosition(const PXPoint& point) override;
    uint32_t GetCursorPosition(PXPoint* point) override;
    // Keeps the icon's size: a headless start shows whether the game found its icon.
    uint32_t SetIcon(const PXBitmapDesc& icon) override;

    // Test and tool access to the frame buffer (no lock needed: nothing else moves it).
    uint16_t GetPixel(int32_t x, int32_t y) const;
    void SetPixel(int32_t x, int32_t y, uint16_t value);
    uint32_t GetPresentCount() const { return m_presentCount; }
    // The dirty list as it was when Present last ran.
    const PXDirtyList& GetLastPresented() const { return m_lastPresented; }
    bool IsMinimized() const { return m_minimized; }
    bool IsHighPriority() const { return m_highPriority; }
    // Width and height of the last icon given; 0 x 0 when none was.
    PXPoint GetIconSize() const { return m_iconSize; }

protected:
    // Any whole number of bytes a pixel, 1 to 4.
    bool AcceptsDepth(uint32_t depth) const override { return depth >= 8 && depth <= 32; }
    bool LogsCreation() const override { return false; }
    bool OpenWindow(PXScreenDesc* desc) override;
    bool CreateFrameBuffer(uint32_t width, uint32_t height, uint32_t bytesPerPixel) override;
    bool ReadyToPresent() override { return m_created; }
    void ShowDirtyRectangles() override;

private:
    uint32_t m_rowPadding;
    uint32_t m_presentCount = 0;
    PXDirtyList m_lastPresented;
    PXPoint m_cursor;
    bool m_minimized = false;
    bool m_highPriority = false;
    PXPoint m_iconSize;
};
