// The headless screen's frame buffer and window stand-ins.
#include "engine/graphics/PXMemoryScreen2D.h"

#include <algorithm>
#include <cstring>

PXMemoryScreen2D::PXMemoryScreen2D(PXGame* owner, uint32_t rowPadding)
    : PXScreen2D(owner), m_rowPadding(rowPadding & ~1u)
{
    CreateImageTable();
}

PXMemoryScreen2D::~PXMemoryScreen2D()
{
    Destroy();
}

uint32_t PXMemoryScreen2D::Create(PXScreenDesc* desc, const char* title)
{
    if (m_lockCount > 0 || desc == nullptr) {
        return 0;
    }
    const uint32_t depth = desc->pixelFormat.bitsPerPixel & ~7u;
    if (depth < 8 || depth > 32 || desc->width < 1 || desc->height < 1 || desc->width > 16384 ||
        desc->height > 16384) {
        return 0;
    }
    if (m_created) {
        Destroy();
    }
    m_pitch = (((depth / 8) * desc->width + 3) & ~3u) + m_rowPadding;
    m_frame.assign(static_cast<size_t>(m_pitch) * desc->height, 0);
    m_title = title != nullptr ? title : "";
    m_fullScreen = desc->fullScreen;
    m_width = static_cast<int32_t>(desc->width);
    m_height = static_cast<int32_t>(desc->height);
    m_pixelFormat = MakePixelFormat(depth);
    desc->pixelFormat = m_pixelFormat;
    m_created = true;
    Clear();
    return 1;
}

uint32_t PXMemoryScreen2D::Destroy()
{
    PXScreen2D::Destroy();
    m_frame.clear();
    m_frame.shrink_to_fit();
    m_created = false;
    return 1;
}

uint32_t PXMemoryScreen2D::Present()
{
    if (m_lockCount > 0 || !m_created) {
        return 0;
    }
    m_lastPresented = m_dirtyList;
    ++m_presentCount;
    ClearDirtyList();
    return 1;
}

uint32_t PXMemoryScreen2D::Clear()
{
    PXSurfaceDesc desc;
    if (!LockScreen(&desc)) {
        return 0;
    }
    std::fill(m_frame.begin(), m_frame.end(), uint8_t{0});
    ClearDirtyList();
    InvalidateRect({0, m_width, 0, m_height}, true);
    UnlockScreen();
    return 1;
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

uint32_t PXMemoryScreen2D::LockScreen(PXSurfaceDesc* out)
{
    if (m_frame.empty()) {
        return 0;
    }
    ++m_lockCount;
    if (out != nullptr) {
        out->bytesPerPixel = m_pixelFormat.bitsPerPixel / 8;
        out->width = static_cast<uint32_t>(m_width);
        out->height = static_cast<uint32_t>(m_height);
        out->pitch = m_pitch;
        out->pixels = m_frame.data();
    }
    return 1;
}

uint32_t PXMemoryScreen2D::UnlockScreen()
{
    if (m_lockCount > 0) {
        --m_lockCount;
    }
    return 1;
}

uint16_t PXMemoryScreen2D::GetPixel(int32_t x, int32_t y) const
{
    if (x < 0 || y < 0 || x >= m_width || y >= m_height || m_frame.empty()) {
        return 0;
    }
    uint16_t p;
    std::memcpy(&p, m_frame.data() + static_cast<size_t>(y) * m_pitch + static_cast<size_t>(x) * 2, 2);
    return p;
}

void PXMemoryScreen2D::SetPixel(int32_t x, int32_t y, uint16_t value)
{
    if (x < 0 || y < 0 || x >= m_width || y >= m_height || m_frame.empty()) {
        return;
    }
    std::memcpy(m_frame.data() + static_cast<size_t>(y) * m_pitch + static_cast<size_t>(x) * 2, &value, 2);
}

uint32_t PXMemoryScreen2D::SetIcon(const PXBitmapDesc& icon)
{
    if (icon.bitsPerPixel != 32 || icon.rows == nullptr) {
        return 0;
    }
    m_iconSize = {static_cast<int32_t>(icon.width), static_cast<int32_t>(icon.height)};
    return 1;
}
