// Helpers shared by the screen's drawing code: the frame-buffer lock held for one
// operation, row addressing and colour factors. Internal to engine/graphics.
#pragma once

#include <algorithm>
#include <cstddef>

#include "engine/graphics/PXScreen2D.h"

namespace pxdraw {

inline PXRect Intersect(const PXRect& a, const PXRect& b)
{
    return {std::max(a.left, b.left), std::min(a.right, b.right), std::max(a.top, b.top),
            std::min(a.bottom, b.bottom)};
}

inline uint16_t* RowOf(const PXSurfaceDesc& s, int32_t y)
{
    return reinterpret_cast<uint16_t*>(s.pixels + static_cast<size_t>(y) * s.pitch);
}

// Premultiplied channel factors of a colour, each 0..255.
struct Factors {
    uint32_t red, green, blue;
};

inline Factors FactorsOf(const PXColor& c)
{
    return {c.red * c.alpha / 255u, c.green * c.alpha / 255u, c.blue * c.alpha / 255u};
}

// Holds the frame-buffer lock for one drawing operation.
class ScreenLock {
public:
    explicit ScreenLock(PXScreen2D& screen) : m_screen(screen), m_ok(screen.LockToDraw(&m_desc) != 0) {}
    ~ScreenLock()
    {
        if (m_ok) {
            m_screen.UnlockScreen();
        }
    }
    ScreenLock(const ScreenLock&) = delete;
    ScreenLock& operator=(const ScreenLock&) = delete;
    bool Ok() const { return m_ok && m_desc.pixels != nullptr; }
    const PXSurfaceDesc& Desc() const { return m_desc; }

private:
    PXScreen2D& m_screen;
    PXSurfaceDesc m_desc;
    bool m_ok;
};

}  // namespace pxdraw
