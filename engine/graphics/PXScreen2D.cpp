// The renderer's dirty list, image table, tiling, fills and lines.
#include "engine/graphics/PXScreen2D.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "engine/graphics/PXBitmap.h"
#include "engine/graphics/PXPixelMath.h"
#include "engine/graphics/PXScreenDrawing.h"

using namespace pxdraw;

namespace {

void UnionInto(PXRect& a, const PXRect& b)
{
    if (a.right - a.left == 0 || a.bottom - a.top == 0) {
        a = b;
    } else if (!b.IsEmpty()) {
        a = {std::min(a.left, b.left), std::max(a.right, b.right), std::min(a.top, b.top),
             std::max(a.bottom, b.bottom)};
    }
}

// Overlapping or sharing an edge.
bool Meets(const PXRect& e, const PXRect& r)
{
    return e.right >= r.left && e.left <= r.right && e.bottom >= r.top && e.top <= r.bottom;
}

bool Contains(const PXRect& c, const PXRect& r)
{
    return c.left <= r.left && c.right >= r.right && c.top <= r.top && c.bottom >= r.bottom;
}

int32_t ClampToInt32(int64_t v)
{
    return static_cast<int32_t>(std::min<int64_t>(std::max<int64_t>(v, INT32_MIN), INT32_MAX));
}

PXRect WholeSurface(const PXSurfaceDesc& s)
{
    return {0, static_cast<int32_t>(s.width), 0, static_cast<int32_t>(s.height)};
}


} // namespace

uint32_t PXScreen2D::Destroy()
{
    FreeAllImages();
    return 1;
}

void PXScreen2D::CreateImageTable()
{
    if (!m_images) {
        m_images = std::make_unique<std::unordered_map<uint32_t, std::unique_ptr<PXImage>>>();
    }
}

// ---- Dirty list -------------------------------------------------------------------

bool PXScreen2D::AddDirty(const PXRect& r)
{
    if (m_dirtyList.count >= PXDirtyList::Capacity - 1) {
        return false;
    }
    PXRect* rects = m_dirtyList.rects;
    for (int32_t i = 0; i < m_dirtyList.count; ++i) {
        if (!Meets(rects[i], r)) {
            continue;
        }
        UnionInto(rects[i], r);
        // The grown rectangle may now meet others: fold them in until none does.
        for (int32_t j = 0; j < m_dirtyList.count;) {
            if (j == i || !Meets(rects[i], rects[j])) {
                ++j;
                continue;
            }
            UnionInto(rects[i], rects[j]);
            std::copy(rects + j + 1, rects + m_dirtyList.count, rects + j);
            --m_dirtyList.count;
            if (j < i) {
                --i;
            }
            j = 0;
        }
        return true;
    }
    rects[m_dirtyList.count++] = r;
    return true;
}

// Rectangles from another list are moved by the offset and cut to the frame buffer, so
// the list never holds anything outside it.
bool PXScreen2D::AddDirtyList(const PXDirtyList& other, const PXPoint& offset)
{
    const int32_t otherCount = std::min(std::max(other.count, 0), PXDirtyList::Capacity);
    if (m_dirtyList.count + otherCount >= PXDirtyList::Capacity) {
        return false;
    }
    const PXRect whole = {0, m_width, 0, m_height};
    for (int32_t i = 0; i < otherCount; ++i) {
        const PXRect& o = other.rects[i];
        PXRect moved = {ClampToInt32(int64_t{o.left} + offset.x), ClampToInt32(int64_t{o.right} + offset.x),
                        ClampToInt32(int64_t{o.top} + offset.y), ClampToInt32(int64_t{o.bottom} + offset.y)};
        moved = Intersect(moved, whole);
        if (!moved.IsEmpty()) {
            AddDirty(moved);
        }
    }
    return true;
}

uint32_t PXScreen2D::InvalidateRect(const PXRect& r, bool clear)
{
    if (r.left >= r.right || r.top >= r.bottom) {
        return 0;
    }
    ScreenLock lock(*this);
    if (!lock.Ok()) {
        return 1;
    }
    const PXRect whole = WholeSurface(lock.Desc());
    const PXRect c = Intersect(r, whole);
    if (!c.IsEmpty()) {
        if (!AddDirty(c)) {
            m_dirtyList.count = 0;
            AddDirty(whole);
        }
        if (clear) {
            for (int32_t y = c.top; y < c.bottom; ++y) {
                std::fill_n(RowOf(lock.Desc(), y) + c.left, c.right - c.left, uint16_t{0});
            }
        }
    }
    return 1;
}

uint32_t PXScreen2D::InvalidateList(const PXDirtyList& other)
{
    return InvalidateListOffset(other, PXPoint{});
}

uint32_t PXScreen2D::InvalidateListOffset(const PXDirtyList& other, const PXPoint& offset)
{
    ScreenLock lock(*this);
    if (!lock.Ok()) {
        return 1;
    }
    if (!AddDirtyList(other, offset)) {
        m_dirtyList.count = 0;
        AddDirty(WholeSurface(lock.Desc()));
    }
    return 1;
}

void PXScreen2D::InvalidateWhole()
{
    InvalidateRect({0, m_width, 0, m_height}, false);
}

bool PXScreen2D::SetDirtyTracking(bool on)
{
    m_dirtyTracking = on;
    return on;
}

// ---- Image table ------------------------------------------------------------------

PXImage* PXScreen2D::FindImage(uint32_t id) const
{
    if (!m_images) {
        return nullptr;
    }
    const auto it = m_images->find(id);
    return it == m_images->end() ? nullptr : it->second.get();
}

uint32_t PXScreen2D::CreateImage(const PXBitmapDesc& bitmap, uint32_t* outId, uint32_t flags)
{
    if (!m_images || outId == nullptr) {
        return 0;
    }
    auto image = std::make_unique<PXImage>();
    if (!ConvertBitmap(*image, bitmap, m_pixelFormat, flags)) {
        return 0;
    }
    return AddImage(std::move(image), outId);
}

uint32_t PXScreen2D::AddImage(std::unique_ptr<PXImage> image, uint32_t* outId)
{
    if (!m_images || !image || outId == nullptr) {
        return 0;
    }
    (*m_images)[m_nextImageId] = std::move(image);
    *outId = m_nextImageId++;
    return 1;
}

uint32_t PXScreen2D::GetImage(uint32_t id, PXImage** out)
{
    PXImage* image = FindImage(id);
    if (image == nullptr || out == nullptr) {
        return 0;
    }
    *out = image;
    return 1;
}

uint32_t PXScreen2D::SetImageOrigin(uint32_t id, const PXPoint& origin)
{
    PXImage* image = FindImage(id);
    if (image == nullptr) {
        return 0;
    }
    image->originX = origin.x;
    image->originY = origin.y;
    return 1;
}

uint32_t PXScreen2D::GetImageName(uint32_t id, std::string* out)
{
    PXImage* image = FindImage(id);
    if (image == nullptr || out == nullptr) {
        return 0;
    }
    *out = image->name;
    return 1;
}

uint32_t PXScreen2D::FreeImage(uint32_t id)
{
    if (FindImage(id) == nullptr) {
        return 0;
    }
    m_images->erase(id);
    return 1;
}

bool PXScreen2D::HasImage(uint32_t id)
{
    return FindImage(id) != nullptr;
}

uint32_t PXScreen2D::FreeAllImages()
{
    if (!m_images) {
        return 0;
    }
    m_images->clear();
    ++m_imagesLost;
    return 1;
}

uint32_t PXScreen2D::LockImage(uint32_t id, PXSurfaceDesc* out)
{
    PXImage* image = FindImage(id);
    if (image == nullptr || out == nullptr) {
        return 0;
    }
    ++image->lockCount;
    out->bytesPerPixel = 2;
    out->width = image->width;
    out->height = image->height;
    out->pitch = image->width * 2;
    out->pixels = reinterpret_cast<uint8_t*>(image->pixels.data());
    return 1;
}

uint32_t PXScreen2D::UnlockImage(uint32_t id)
{
    PXImage* image = FindImage(id);
    if (image == nullptr) {
        return 0;
    }
    if (image->lockCount > 0) {
        --image->lockCount;
    }
    return 1;
}

uint32_t PXScreen2D::HalveImage(uint32_t id)
{
    PXImage* old = FindImage(id);
    if (old == nullptr || old->lockCount != 0) {
        return 0;
    }
    auto half = std::make_unique<PXImage>();
    half->width = old->width >> 1;
    half->height = old->height >> 1;
    half->pixels.resize(static_cast<size_t>(half->width) * half->height);
    // A picture without pixels may still have a huge side: walk no rows for it.
    for (uint32_t y = 0; !half->pixels.empty() && y < half->height; ++y) {
        for (uint32_t x = 0; x < half->width; ++x) {
            half->pixels[static_cast<size_t>(y) * half->width + x] =
                old->pixels[static_cast<size_t>(2 * y) * old->width + 2 * x];
        }
    }
    (*m_images)[id] = std::move(half);
    return 1;
}

// ---- Tiling -----------------------------------------------------------------------

uint32_t PXScreen2D::TileImageOffset(uint32_t id, uint32_t srcX0, uint32_t srcY0, int32_t x, int32_t y,
                                     int32_t w, int32_t h, bool keyed)
{
    return TileOffset(id, srcX0, srcY0, x, y, w, h, keyed, true);
}

uint32_t PXScreen2D::TileImageOffsetPlain(uint32_t id, uint32_t srcX0, uint32_t srcY0, int32_t x, int32_t y,
                                          int32_t w, int32_t h, bool keyed)
{
    return TileOffset(id, srcX0, srcY0, x, y, w, h, keyed, false);
}

template <typename Tile>
uint32_t PXScreen2D::LockedTiling(uint32_t id, int32_t w, int32_t h, Tile tile)
{
    PXImage* image = FindImage(id);
    if (image == nullptr) {
        return 0;
    }
    ScreenLock lock(*this);
    if (!lock.Ok()) {
        return 0;
    }
    if (h <= 0 || w <= 0 || image->width == 0 || image->height == 0) {
        return 1;
    }
    return tile(image, lock.Desc());
}

uint32_t PXScreen2D::TileOffset(uint32_t id, uint32_t srcX0, uint32_t srcY0, int32_t x, int32_t y, int32_t w,
                                int32_t h, bool keyed, bool allowFast)
{
    return LockedTiling(id, w, h, [&](PXImage* image, const PXSurfaceDesc& surface) {
        const int64_t iw = image->width;
        const int64_t ih = image->height;
        // An offset of a whole tile or more scrolls round to the same picture; taking the
        // remainder also keeps every tile at least one pixel wide, so the loop always ends.
        srcX0 %= image->width;
        srcY0 %= image->height;
        if (allowFast && !keyed && TilePeriodic(surface, *image, srcX0, srcY0, x, y, w, h)) {
            return 1;
        }
        const int64_t right = int64_t{x} + w;
        const int64_t bottom = int64_t{y} + h;
        uint32_t sy = srcY0;
        for (int64_t cy = y; cy < bottom;) {
            const int64_t rowH = std::min<int64_t>(ih - sy, bottom - cy);
            uint32_t sx = srcX0;
            for (int64_t cx = x; cx < right;) {
                const int64_t tileW = std::min<int64_t>(iw - sx, right - cx);
                BlitImage(image, static_cast<int32_t>(cx), static_cast<int32_t>(cy), sx, sy,
                          static_cast<uint32_t>(tileW), static_cast<uint32_t>(rowH), keyed);
                cx += tileW;
                sx = 0;
            }
            cy += rowH;
            sy = 0;
        }
        return 1;
    });
}

// Unkeyed tiles side by side make a periodic picture. When one dirty rectangle covers the
// whole tiled area, every tile's clip is the tile itself, so the area can be written row
// by row: the first band of rows is built from the image by doubling copies, and every
// later row is a copy of the row one image height above. Gives the same pixels as the
// tile-by-tile loop; returns false when the shortcut does not apply.
bool PXScreen2D::TilePeriodic(const PXSurfaceDesc& surface, const PXImage& image, uint32_t srcX0, uint32_t srcY0,
                              int32_t x, int32_t y, int32_t w, int32_t h)
{
    if (!m_dirtyTracking) {
        InvalidateWhole(); // what the first tile's copy would do
    }
    const int64_t left = int64_t{x} - image.originX;
    const int64_t top = int64_t{y} - image.originY;
    const int64_t l = std::max<int64_t>(left, 0);
    const int64_t r = std::min<int64_t>(left + w, surface.width);
    const int64_t t = std::max<int64_t>(top, 0);
    const int64_t b = std::min<int64_t>(top + h, surface.height);
    if (r <= l || b <= t) {
        return true; // nothing of it is on the screen
    }
    const PXRect area = {static_cast<int32_t>(l), static_cast<int32_t>(r), static_cast<int32_t>(t),
                         static_cast<int32_t>(b)};
    bool covered = m_dirtyList.count >= PXDirtyList::Capacity;
    for (int32_t i = 0; i < m_dirtyList.count && !covered; ++i) {
        covered = Contains(m_dirtyList.rects[i], area);
    }
    if (!covered) {
        return false;
    }
    const int64_t iw = image.width;
    const int64_t ih = image.height;
    const size_t n = static_cast<size_t>(area.right - area.left);
    const size_t period = static_cast<size_t>(std::min<int64_t>(iw, static_cast<int64_t>(n)));
    const int64_t firstCol = (srcX0 + (area.left - left)) % iw;
    const int64_t band = std::min<int64_t>(ih, area.bottom - area.top);
    for (int32_t row = area.top; row < area.bottom; ++row) {
        uint16_t* d = RowOf(surface, row) + area.left;
        if (row - area.top >= band) {
            std::memcpy(d, RowOf(surface, static_cast<int32_t>(row - ih)) + area.left, n * 2);
            continue;
        }
        const int64_t sy = (srcY0 + (row - top)) % ih;
        const uint16_t* src = image.pixels.data() + static_cast<size_t>(sy) * image.width;
        // One period, starting at the right column, then doubled out to the full width.
        const size_t head = std::min(period, static_cast<size_t>(iw - firstCol));
        std::memcpy(d, src + firstCol, head * 2);
        std::memcpy(d + head, src, (period - head) * 2);
        size_t filled = period;
        while (filled < n) {
            const size_t chunk = std::min((filled / period) * period, n - filled);
            std::memcpy(d + filled, d, chunk * 2);
            filled += chunk;
        }
    }
    return true;
}

uint32_t PXScreen2D::TileImage(uint32_t id, int32_t x, int32_t y, int32_t w, int32_t h, bool keyed)
{
    return TileImageOffset(id, 0, 0, x, y, w, h, keyed);
}

uint32_t PXScreen2D::TileImageAlpha(uint32_t id, int32_t x, int32_t y, int32_t w, int32_t h, uint32_t alpha,
                                    bool keyed)
{
    return LockedTiling(id, w, h, [&](PXImage* image, const PXSurfaceDesc&) {
        const int64_t iw = image->width;
        const int64_t ih = image->height;
        const int64_t right = int64_t{x} + w;
        const int64_t bottom = int64_t{y} + h;
        for (int64_t cy = y; cy < bottom; cy += ih) {
            const int64_t tileH = std::min(ih, bottom - cy);
            for (int64_t cx = x; cx < right; cx += iw) {
                const int64_t tileW = std::min(iw, right - cx);
                BlitImageAlpha(image, static_cast<int32_t>(cx), static_cast<int32_t>(cy), 0, 0,
                               static_cast<uint32_t>(tileW), static_cast<uint32_t>(tileH), alpha, keyed);
            }
        }
        return 1;
    });
}

// ---- Fills ------------------------------------------------------------------------

uint32_t PXScreen2D::FillRect(const PXRect& rect, const PXColor& color)
{
    ScreenLock lock(*this);
    if (!lock.Ok()) {
        return 0;
    }
    const uint16_t p = static_cast<uint16_t>(PackPixel(m_pixelFormat, color.red, color.green, color.blue));
    ForEachDirtyPart(Intersect(rect, WholeSurface(lock.Desc())), [&](const PXRect& c) {
        for (int32_t y = c.top; y < c.bottom; ++y) {
            uint16_t* row = RowOf(lock.Desc(), y);
            if (color.alpha == 255) {
                std::fill(row + c.left, row + c.right, p);
            } else {
                for (int32_t x = c.left; x < c.right; ++x) {
                    row[x] = PXPixel::Blend(row[x], p, color.alpha);
                }
            }
        }
    });
    return 1;
}

uint32_t PXScreen2D::ModulateRect(int32_t x, int32_t y, uint32_t w, uint32_t h, const PXColor& color)
{
    ScreenLock lock(*this);
    if (!lock.Ok()) {
        return 0;
    }
    const int64_t frameW = lock.Desc().width;
    const int64_t frameH = lock.Desc().height;
    const int64_t ww = (w == PXToEdge || int64_t{w} >= frameW - x) ? frameW - x : int64_t{w};
    const int64_t hh = (h == PXToEdge || int64_t{h} >= frameH - y) ? frameH - y : int64_t{h};
    if (!m_dirtyTracking) {
        InvalidateWhole();
    }
    const PXRect r = {x, ClampToInt32(x + ww), y, ClampToInt32(y + hh)};
    const Factors k = FactorsOf(color);
    ForEachDirtyPart(Intersect(r, WholeSurface(lock.Desc())), [&](const PXRect& c) {
        for (int32_t yy = c.top; yy < c.bottom; ++yy) {
            uint16_t* row = RowOf(lock.Desc(), yy);
            for (int32_t xx = c.left; xx < c.right; ++xx) {
                if (row[xx] != 0) {
                    row[xx] = PXPixel::Modulate(row[xx], k.red, k.green, k.blue);
                }
            }
        }
    });
    return 1;
}

// ---- Lines and outlines -----------------------------------------------------------

template <bool Horizontal>
uint32_t PXScreen2D::DrawStraightLine(int32_t at, int32_t from, int32_t to, const PXColor& color)
{
    ScreenLock lock(*this);
    if (!lock.Ok()) {
        return 1;
    }
    const int32_t frameW = static_cast<int32_t>(lock.Desc().width);
    const int32_t frameH = static_cast<int32_t>(lock.Desc().height);
    const int32_t along = Horizontal ? frameW : frameH;
    const int32_t across = Horizontal ? frameH : frameW;
    if (at < 0 || at >= across || along == 0) {
        return 1;
    }
    const int32_t a = std::min(std::max(from, 0), along - 1);
    const int32_t b = std::min(std::max(to, 0), along - 1);
    const uint16_t p = static_cast<uint16_t>(PackPixel(m_pixelFormat, color.red, color.green, color.blue));
    for (int32_t i = a; i <= b; ++i) {
        uint16_t& d = Horizontal ? RowOf(lock.Desc(), at)[i] : RowOf(lock.Desc(), i)[at];
        d = color.alpha >= 255 ? p : PXPixel::Blend(d, p, color.alpha);
    }
    return 1;
}

uint32_t PXScreen2D::DrawHLine(int32_t y, int32_t x1, int32_t x2, const PXColor& color)
{
    return DrawStraightLine<true>(y, x1, x2, color);
}

uint32_t PXScreen2D::DrawVLine(int32_t x, int32_t y1, int32_t y2, const PXColor& color)
{
    return DrawStraightLine<false>(x, y1, y2, color);
}

uint32_t PXScreen2D::DrawLine(const PXPoint& a, const PXPoint& b, const PXColor& color)
{
    ScreenLock lock(*this);
    if (!lock.Ok()) {
        return 0;
    }
    const int64_t dx = int64_t{b.x} - a.x;
    const int64_t dy = int64_t{b.y} - a.y;
    const int64_t adx = std::llabs(dx);
    const int64_t ady = std::llabs(dy);
    const int64_t n = ady < adx ? adx : ady;
    if (n == 0) {
        return 1;
    }
    const int64_t stepX = (dx * 256) / n;
    const int64_t stepY = (dy * 256) / n;
    const int64_t frameW = lock.Desc().width;
    const int64_t frameH = lock.Desc().height;
    const uint16_t p = static_cast<uint16_t>(PackPixel(m_pixelFormat, color.red, color.green, color.blue));
    int64_t fx = int64_t{a.x} * 256;
    int64_t fy = int64_t{a.y} * 256;
    for (int64_t i = 0; i < n; ++i) {
        const int64_t px = fx >> 8;
        const int64_t py = fy >> 8;
        if (px >= 0 && px < frameW && py >= 0 && py < frameH) {
            RowOf(lock.Desc(), static_cast<int32_t>(py))[px] = p;
        }
        fx += stepX;
        fy += stepY;
    }
    return 1;
}

namespace {

// Edge arithmetic of the outlines, kept inside the 32-bit range.
int32_t Moved(int32_t v, int32_t by)
{
    return ClampToInt32(int64_t{v} + by);
}

} // namespace

uint32_t PXScreen2D::DrawRect(const PXRect& r, const PXColor& color)
{
    DrawVLine(r.left, r.top, r.bottom, color);
    DrawHLine(r.top, r.left, r.right, color);
    DrawVLine(r.right, r.top, r.bottom, color);
    DrawHLine(r.bottom, r.left, r.right, color);
    return 1;
}

uint32_t PXScreen2D::DrawBevelRect(const PXRect& r, const PXColor& fill, const PXColor& light,
                                   const PXColor& dark)
{
    const uint32_t result = FillRect(r, fill);
    if (light == dark) {
        DrawHLine(r.top, r.left, Moved(r.right, -1), light);
        DrawVLine(r.left, r.top, Moved(r.bottom, -1), light);
        DrawVLine(Moved(r.right, -1), r.top, Moved(r.bottom, -1), dark);
        DrawHLine(Moved(r.bottom, -1), r.left, Moved(r.right, -1), dark);
    } else {
        DrawHLine(r.top, r.left, Moved(r.right, -2), light);
        DrawVLine(r.left, r.top, Moved(r.bottom, -2), light);
        DrawVLine(Moved(r.right, -1), Moved(r.top, 1), Moved(r.bottom, -1), dark);
        DrawHLine(Moved(r.bottom, -1), Moved(r.left, 1), Moved(r.right, -1), dark);
    }
    return result;
}
