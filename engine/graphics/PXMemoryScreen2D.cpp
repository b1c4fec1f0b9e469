// The headless screen's frame buffer and window stand-ins.
#include "engine/graphics/PXMemoryScreen2D.h"

#include <cstring>

PXMemoryScreen2D::PXMemoryScreen2D(PXGame* owner, uint32_t rowPadding)
    : PXWindowScreen2D(owner), m_rowPadding(rowPadding & ~1u)
{
    CreateImageTable();
}

PXMemoryScreen2D::~PXMemoryScreen2D()
{
    Destroy();
}

bool PXMemoryScreen2D::OpenWindow(PXScreenDesc*)
{
    return true;
}

bool PXMemoryScreen2D::CreateFrameBuffer(uint32_t width, uint32_t height, uint32_t bytesPerPixel)
{
    AllocateFrame(width, height, bytesPerPixel, m_rowPadding);
    return true;
}

void PXMemoryScreen2D::ShowDirtyRectangles()
{
    m_lastPresented = m_dirtyList;
    ++m_presentCount;
    ClearDirtyList();
}

uint32_t PXMemoryScreen2D::Minimize(bool minimise)
{
    if (m_fullScreen) {
        m_minimized = minimise;
    }
    return 1;
}

uint32_t PXMemoryScreen2D::SetHighPriority(bool high)
{
    m_highPriority = high;
    return 1;
}

uint32_t PXMemoryScreen2D::SetCursorVisible(bool visible)
{
    if (visible == m_cursorHidden) {
        m_cursorHidden = !visible;
    }
    return 1;
}

uint32_t PXMemoryScreen2D::SetCursorPosition(const PXPoint& point)
{
    m_cursor = point;
    return 1;
}

uint32_t PXMemoryScreen2D::GetCursorPosition(PXPoint* point)
{
    if (point == nullptr) {
        return 0;
    }
    *point = m_cursor;
    return 1;
}

uint16_t PXMemoryScreen2D::GetPixel(int32_t x, int32_t y) const
{
    if (x < 0 || y < 0 || x >= m_width || y >= m_height || m_framePixels == nullptr) {
        return 0;
    }
    uint16_t p;
    std::memcpy(&p, m_framePixels + static_cast<size_t>(y) * m_pitch + static_cast<size_t>(x) * 2, 2);
    return p;
}

void PXMemoryScreen2D::SetPixel(int32_t x, int32_t y, uint16_t value)
{
    if (x < 0 || y < 0 || x >= m_width || y >= m_height || m_framePixels == nullptr) {
        return;
    }
    std::memcpy(m_framePixels + static_cast<size_t>(y) * m_pitch + static_cast<size_t>(x) * 2, &value, 2);
}

uint32_t PXMemoryScreen2D::SetIcon(const PXBitmapDesc& icon)
{
    if (icon.bitsPerPixel != 32 || icon.rows == nullptr) {
        return 0;
    }
    m_iconSize = {static_cast<int32_t>(icon.width), static_cast<int32_t>(icon.height)};
    return 1;
}
