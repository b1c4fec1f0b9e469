// The renderer's image blits: copy, alpha, modulate, colour add, additive, masked,
// flipped, stretched and raw bitmap copies.
#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstring>
#include <optional>

#include "engine/graphics/PXPixelMath.h"
#include "engine/graphics/PXScreen2D.h"
#include "engine/graphics/PXScreenDrawing.h"

using namespace pxdraw;

namespace {

// Where a clipped blit reads: the source of frame pixel (X, Y) is
// src[(srcTop + (Y - clip.top) * rowStep) * srcPitch + srcLeft + (X - clip.left)].
struct SourceMap {
    const uint16_t* src;
    size_t srcPitch;
    int64_t srcLeft;
    int64_t srcTop;
    int64_t rowStep;
};

// Runs op(dest pixel, source pixel, source index) over the clip rectangle.
template <typename Op>
void ForEachPixel(const PXSurfaceDesc& surface, const PXRect& clip, const SourceMap& m, Op op)
{
    const int32_t n = clip.right - clip.left;
    for (int32_t y = clip.top; y < clip.bottom; ++y) {
        const int64_t sy = m.srcTop + (y - clip.top) * m.rowStep;
        const size_t base = static_cast<size_t>(sy) * m.srcPitch + static_cast<size_t>(m.srcLeft);
        uint16_t* d = RowOf(surface, y) + clip.left;
        const uint16_t* s = m.src + base;
        for (int32_t i = 0; i < n; ++i) {
            op(d[i], s[i], base + static_cast<size_t>(i));
        }
    }
}

SourceMap MapImage(const PXImage& image, const PXRect& clip, int64_t destLeft, int64_t destTop, uint32_t srcX,
                   uint32_t srcY)
{
    return {image.pixels.data(), image.width, int64_t{srcX} + (clip.left - destLeft),
            int64_t{srcY} + (clip.top - destTop), 1};
}

// Effective size of a source span: to the edge for -1, else cut at the edge.
uint32_t EffectiveSize(uint32_t requested, uint32_t total, uint32_t start)
{
    const uint32_t available = total - start;  // callers ensure start < total
    return requested == PXToEdge ? available : std::min(requested, available);
}

// Keyed copy of a block of rows: a branch-free select per pixel, which compilers turn into vector code.
// On x86-64 an AVX2 copy is chosen at load time where the processor has it.
PX_VECTOR_CLONES
void KeyedCopyRows(uint8_t* dest, size_t destPitch, const uint16_t* src, ptrdiff_t srcStride, size_t n,
                   size_t rows)
{
    for (size_t r = 0; r < rows; ++r) {
        uint16_t* __restrict d = reinterpret_cast<uint16_t*>(dest + r * destPitch);
        const uint16_t* __restrict s = src + static_cast<ptrdiff_t>(r) * srcStride;
        for (size_t i = 0; i < n; ++i) {
            const uint16_t sp = s[i];
            d[i] = sp != 0 ? sp : d[i];
        }
    }
}

// Constant-alpha blend of a block of rows (keyed: black source pixels keep the destination).
PX_VECTOR_CLONES
void AlphaRows(uint8_t* dest, size_t destPitch, const uint16_t* src, size_t srcPitch, size_t n, size_t rows,
               int16_t a, bool keyed)
{
    for (size_t r = 0; r < rows; ++r) {
        uint16_t* __restrict d = reinterpret_cast<uint16_t*>(dest + r * destPitch);
        const uint16_t* __restrict s = src + r * srcPitch;
        if (keyed) {
            for (size_t i = 0; i < n; ++i) {
                const uint16_t blended = PXPixel::BlendNarrow(d[i], s[i], a);
                d[i] = s[i] != 0 ? blended : d[i];
            }
        } else {
            for (size_t i = 0; i < n; ++i) {
                d[i] = PXPixel::BlendNarrow(d[i], s[i], a);
            }
        }
    }
}

// Keyed saturating add of a block of rows: black source pixels keep the destination.
PX_VECTOR_CLONES
void SaturatingAddRows(uint8_t* dest, size_t destPitch, const uint16_t* src, size_t srcPitch, size_t n,
                       size_t rows)
{
    for (size_t r = 0; r < rows; ++r) {
        uint16_t* __restrict d = reinterpret_cast<uint16_t*>(dest + r * destPitch);
        const uint16_t* __restrict s = src + r * srcPitch;
        for (size_t i = 0; i < n; ++i) {
            const uint16_t sum = PXPixel::SaturatingAddNarrow(d[i], s[i]);
            d[i] = s[i] != 0 ? sum : d[i];
        }
    }
}

// Mask-weighted blend of a block of rows; black source pixels keep the destination. The
// mask has the image's size, so it steps through its rows like the source.
PX_VECTOR_CLONES
void MaskedRows(uint8_t* dest, size_t destPitch, const uint16_t* src, const uint8_t* mask, size_t srcPitch,
                size_t n, size_t rows)
{
    for (size_t r = 0; r < rows; ++r) {
        uint16_t* __restrict d = reinterpret_cast<uint16_t*>(dest + r * destPitch);
        const uint16_t* __restrict s = src + r * srcPitch;
        const uint8_t* __restrict m = mask + r * srcPitch;
        // Blocks the mask leaves out keep the destination and are skipped.
        size_t at = 0, from = 0;
        while (PXPixel::NextWeightedRun(m, n, &at, &from)) {
            for (size_t k = from; k < at; ++k) {
                const uint16_t blended = PXPixel::BlendNarrow(d[k], s[k], static_cast<int16_t>(m[k]));
                d[k] = s[k] != 0 ? blended : d[k];
            }
        }
    }
}

// Source times colour factors for a block of rows (keyed: black source pixels are skipped).
PX_VECTOR_CLONES
void ModulatedRows(uint8_t* dest, size_t destPitch, const uint16_t* src, size_t srcPitch, size_t n,
                   size_t rows, uint16_t kRed, uint16_t kGreen, uint16_t kBlue, bool keyed)
{
    for (size_t r = 0; r < rows; ++r) {
        uint16_t* __restrict d = reinterpret_cast<uint16_t*>(dest + r * destPitch);
        const uint16_t* __restrict s = src + r * srcPitch;
        for (size_t i = 0; i < n; ++i) {
            const uint16_t v = PXPixel::ModulateNarrow(s[i], kRed, kGreen, kBlue);
            d[i] = (!keyed || s[i] != 0) ? v : d[i];
        }
    }
}

// Saturating add of the source scaled by i/256 for a block of rows; black is skipped.
PX_VECTOR_CLONES
void AdditiveRows(uint8_t* dest, size_t destPitch, const uint16_t* src, size_t srcPitch, size_t n,
                  size_t rows, uint16_t intensity)
{
    for (size_t r = 0; r < rows; ++r) {
        uint16_t* __restrict d = reinterpret_cast<uint16_t*>(dest + r * destPitch);
        const uint16_t* __restrict s = src + r * srcPitch;
        for (size_t i = 0; i < n; ++i) {
            const uint16_t v = PXPixel::SaturatingAddNarrow(
                d[i], PXPixel::ModulateNarrow(s[i], intensity, intensity, intensity));
            d[i] = s[i] != 0 ? v : d[i];
        }
    }
}

}  // namespace

bool PXScreen2D::ImageBlitClip(const PXSurfaceDesc& surface, uint32_t imageW, uint32_t imageH,
                               int32_t originX, int32_t originY, int32_t x, int32_t y, uint32_t srcX,
                               uint32_t srcY, uint32_t w, uint32_t h, PXRect* clip, int64_t* destLeft,
                               int64_t* destTop) const
{
    // A source start at or past the edge has nothing to copy (and would wrap the sizes).
    if (srcX >= imageW || srcY >= imageH) {
        return false;
    }
    const int64_t width = EffectiveSize(w, imageW, srcX);
    const int64_t height = EffectiveSize(h, imageH, srcY);
    *destLeft = int64_t{x} - originX;
    *destTop = int64_t{y} - originY;
    // Cut to the frame buffer (64-bit, so far-off positions cannot overflow); the caller
    // then draws the parts of it that lie in the dirty list.
    const int64_t frameW = surface.width;
    const int64_t frameH = surface.height;
    const int64_t l = std::max<int64_t>(*destLeft, 0);
    const int64_t r = std::min<int64_t>(*destLeft + width, frameW);
    const int64_t t = std::max<int64_t>(*destTop, 0);
    const int64_t b = std::min<int64_t>(*destTop + height, frameH);
    if (r <= l || b <= t) {
        return false;
    }
    *clip = {static_cast<int32_t>(l), static_cast<int32_t>(r), static_cast<int32_t>(t), static_cast<int32_t>(b)};
    return true;
}

template <typename Draw>
uint32_t PXScreen2D::ClippedBlit(uint32_t imageW, uint32_t imageH, int32_t originX, int32_t originY,
                                 int32_t x, int32_t y, uint32_t srcX, uint32_t srcY, uint32_t w, uint32_t h,
                                 bool invalidateUntracked, Draw draw)
{
    ScreenLock lock(*this);
    if (!lock.Ok()) {
        return 0;
    }
    if (invalidateUntracked && !m_dirtyTracking) {
        InvalidateWhole();
    }
    PXRect area;
    int64_t destLeft, destTop;
    if (ImageBlitClip(lock.Desc(), imageW, imageH, originX, originY, x, y, srcX, srcY, w, h, &area, &destLeft,
                      &destTop)) {
        ForEachDirtyPart(area, [&](const PXRect& clip) { draw(lock.Desc(), clip, destLeft, destTop); });
    }
    return 1;
}

template <typename Draw>
uint32_t PXScreen2D::ImageBlit(const PXImage* image, int32_t x, int32_t y, uint32_t srcX, uint32_t srcY,
                               uint32_t w, uint32_t h, bool invalidateUntracked, Draw draw)
{
    if (image == nullptr) {
        return 0;
    }
    return ClippedBlit(image->width, image->height, image->originX, image->originY, x, y, srcX, srcY, w, h,
                       invalidateUntracked, draw);
}

uint32_t PXScreen2D::Blit(uint32_t id, int32_t x, int32_t y, uint32_t srcX, uint32_t srcY, uint32_t w,
                          uint32_t h, bool keyed)
{
    PXImage* image = FindImage(id);
    return image == nullptr ? 0 : BlitImage(image, x, y, srcX, srcY, w, h, keyed);
}

uint32_t PXScreen2D::BlitImage(const PXImage* image, int32_t x, int32_t y, uint32_t srcX, uint32_t srcY,
                               uint32_t w, uint32_t h, bool keyed)
{
    return ImageBlit(
        image, x, y, srcX, srcY, w, h, true,
        [&](const PXSurfaceDesc& surface, const PXRect& c, int64_t destLeft, int64_t destTop) {
            const SourceMap m = MapImage(*image, c, destLeft, destTop, srcX, srcY);
            const size_t n = static_cast<size_t>(c.right - c.left);
            const uint16_t* first = m.src + static_cast<size_t>(m.srcTop) * m.srcPitch + m.srcLeft;
            if (keyed) {
                KeyedCopyRows(reinterpret_cast<uint8_t*>(RowOf(surface, c.top) + c.left), surface.pitch,
                              first, static_cast<ptrdiff_t>(m.srcPitch), n,
                              static_cast<size_t>(c.bottom - c.top));
                return;
            }
            for (int32_t row = c.top; row < c.bottom; ++row) {
                std::memcpy(RowOf(surface, row) + c.left,
                            first + static_cast<size_t>(row - c.top) * m.srcPitch, n * sizeof(uint16_t));
            }
        });
}

uint32_t PXScreen2D::BlitImageKeyedReference(const PXImage* image, int32_t x, int32_t y, uint32_t srcX,
                                             uint32_t srcY, uint32_t w, uint32_t h)
{
    return ImageBlit(image, x, y, srcX, srcY, w, h, true,
                     [&](const PXSurfaceDesc& surface, const PXRect& c, int64_t destLeft, int64_t destTop) {
                         ForEachPixel(surface, c, MapImage(*image, c, destLeft, destTop, srcX, srcY),
                                      [](uint16_t& d, uint16_t s, size_t) {
                                          if (s != 0) {
                                              d = s;
                                          }
                                      });
                     });
}

uint32_t PXScreen2D::BlitAlpha(uint32_t id, int32_t x, int32_t y, uint32_t srcX, uint32_t srcY, uint32_t w,
                               uint32_t h, uint32_t alpha, bool keyed)
{
    PXImage* image = FindImage(id);
    return image == nullptr ? 0 : BlitImageAlpha(image, x, y, srcX, srcY, w, h, alpha, keyed);
}

uint32_t PXScreen2D::BlitImageAlpha(const PXImage* image, int32_t x, int32_t y, uint32_t srcX, uint32_t srcY,
                                    uint32_t w, uint32_t h, uint32_t alpha, bool keyed)
{
    return ImageBlit(
        image, x, y, srcX, srcY, w, h, false,
        [&](const PXSurfaceDesc& surface, const PXRect& c, int64_t destLeft, int64_t destTop) {
            const SourceMap m = MapImage(*image, c, destLeft, destTop, srcX, srcY);
            const int32_t a = alpha < 256 ? static_cast<int32_t>(alpha) : 256;
            uint8_t* dest = reinterpret_cast<uint8_t*>(RowOf(surface, c.top) + c.left);
            const uint16_t* from = m.src + static_cast<size_t>(m.srcTop) * m.srcPitch + m.srcLeft;
            const size_t n = static_cast<size_t>(c.right - c.left);
            const size_t rows = static_cast<size_t>(c.bottom - c.top);
            if (alpha != 0xFFFF || !keyed) {
                AlphaRows(dest, surface.pitch, from, m.srcPitch, n, rows, static_cast<int16_t>(a), keyed);
            } else {
                SaturatingAddRows(dest, surface.pitch, from, m.srcPitch, n, rows);
            }
        });
}

uint32_t PXScreen2D::BlitImageAlphaReference(const PXImage* image, int32_t x, int32_t y, uint32_t srcX,
                                             uint32_t srcY, uint32_t w, uint32_t h, uint32_t alpha,
                                             bool keyed)
{
    return ImageBlit(image, x, y, srcX, srcY, w, h, false,
                     [&](const PXSurfaceDesc& surface, const PXRect& c, int64_t destLeft, int64_t destTop) {
                         const SourceMap m = MapImage(*image, c, destLeft, destTop, srcX, srcY);
                         const int32_t a = alpha < 256 ? static_cast<int32_t>(alpha) : 256;
                         if (!keyed) {
                             ForEachPixel(surface, c, m, [a](uint16_t& d, uint16_t s, size_t) {
                                 d = PXPixel::Blend(d, s, a);
                             });
                         } else if (alpha == 0xFFFF) {
                             ForEachPixel(surface, c, m, [](uint16_t& d, uint16_t s, size_t) {
                                 if (s != 0) {
                                     d = PXPixel::SaturatingAdd(d, s);
                                 }
                             });
                         } else {
                             ForEachPixel(surface, c, m, [a](uint16_t& d, uint16_t s, size_t) {
                                 if (s != 0) {
                                     d = PXPixel::Blend(d, s, a);
                                 }
                             });
                         }
                     });
}

uint32_t PXScreen2D::BlitModulated(uint32_t id, int32_t x, int32_t y, uint32_t srcX, uint32_t srcY,
                                   uint32_t w, uint32_t h, bool keyed, const PXColor& color)
{
    PXImage* image = FindImage(id);
    return image == nullptr ? 0 : BlitImageModulated(image, x, y, srcX, srcY, w, h, keyed, color);
}

uint32_t PXScreen2D::BlitImageModulated(const PXImage* image, int32_t x, int32_t y, uint32_t srcX,
                                        uint32_t srcY, uint32_t w, uint32_t h, bool keyed,
                                        const PXColor& color)
{
    return ImageBlit(
        image, x, y, srcX, srcY, w, h, true,
        [&](const PXSurfaceDesc& surface, const PXRect& c, int64_t destLeft, int64_t destTop) {
            const Factors k = FactorsOf(color);
            const SourceMap m = MapImage(*image, c, destLeft, destTop, srcX, srcY);
            ModulatedRows(reinterpret_cast<uint8_t*>(RowOf(surface, c.top) + c.left), surface.pitch,
                          m.src + static_cast<size_t>(m.srcTop) * m.srcPitch + m.srcLeft, m.srcPitch,
                          static_cast<size_t>(c.right - c.left), static_cast<size_t>(c.bottom - c.top),
                          static_cast<uint16_t>(k.red), static_cast<uint16_t>(k.green),
                          static_cast<uint16_t>(k.blue), keyed);
        });
}

uint32_t PXScreen2D::BlitImageModulatedReference(const PXImage* image, int32_t x, int32_t y, uint32_t srcX,
                                                 uint32_t srcY, uint32_t w, uint32_t h, bool keyed,
                                                 const PXColor& color)
{
    return ImageBlit(image, x, y, srcX, srcY, w, h, true,
                     [&](const PXSurfaceDesc& surface, const PXRect& c, int64_t destLeft, int64_t destTop) {
                         const Factors k = FactorsOf(color);
                         ForEachPixel(surface, c, MapImage(*image, c, destLeft, destTop, srcX, srcY),
                                      [k, keyed](uint16_t& d, uint16_t s, size_t) {
                                          if (!keyed || s != 0) {
                                              d = PXPixel::Modulate(s, k.red, k.green, k.blue);
                                          }
                                      });
                     });
}

uint32_t PXScreen2D::BlitFlipped(uint32_t id, int32_t x, int32_t y, uint32_t srcX, uint32_t srcY, uint32_t w,
                                 uint32_t h, bool keyed)
{
    PXImage* image = FindImage(id);
    return image == nullptr ? 0 : BlitImageFlipped(image, x, y, srcX, srcY, w, h, keyed);
}

uint32_t PXScreen2D::BlitImageFlipped(const PXImage* image, int32_t x, int32_t y, uint32_t srcX,
                                      uint32_t srcY, uint32_t w, uint32_t h, bool keyed)
{
    return ImageBlit(
        image, x, y, srcX, srcY, w, h, false,
        [&](const PXSurfaceDesc& surface, const PXRect& c, int64_t destLeft, int64_t destTop) {
            // Destination row Y reads source row height - 1 - srcY - (Y - dest.top).
            const int64_t firstRow = int64_t{image->height} - 1 - srcY - (c.top - destTop);
            const uint16_t* first = image->pixels.data() + static_cast<size_t>(firstRow) * image->width +
                                    static_cast<size_t>(int64_t{srcX} + (c.left - destLeft));
            const size_t n = static_cast<size_t>(c.right - c.left);
            if (keyed) {
                KeyedCopyRows(reinterpret_cast<uint8_t*>(RowOf(surface, c.top) + c.left), surface.pitch,
                              first, -static_cast<ptrdiff_t>(image->width), n,
                              static_cast<size_t>(c.bottom - c.top));
                return;
            }
            for (int32_t row = c.top; row < c.bottom; ++row) {
                std::memcpy(RowOf(surface, row) + c.left,
                            first - static_cast<ptrdiff_t>(row - c.top) * image->width, n * sizeof(uint16_t));
            }
        });
}

uint32_t PXScreen2D::BlitScaled(uint32_t id, int32_t x, int32_t y, uint32_t dstW, uint32_t dstH,
                                uint32_t srcX, uint32_t srcY, uint32_t srcW, uint32_t srcH, bool keyed)
{
    PXImage* image = FindImage(id);
    return image == nullptr ? 0 : BlitImageScaled(image, x, y, dstW, dstH, srcX, srcY, srcW, srcH, keyed);
}

uint32_t PXScreen2D::BlitImageScaled(const PXImage* image, int32_t x, int32_t y, uint32_t dstW, uint32_t dstH,
                                     uint32_t srcX, uint32_t srcY, uint32_t srcW, uint32_t srcH, bool keyed)
{
    if (image == nullptr) {
        return 0;
    }
    std::optional<ScreenLock> lock(std::in_place, *this);
    if (!lock->Ok()) {
        return 0;
    }
    auto effective = [](uint32_t requested, uint32_t total, uint32_t start) {
        if (requested == PXToEdge) {
            return start > total ? total : total - start;
        }
        return start > total ? 0u : std::min(requested, total - start);
    };
    srcW = effective(srcW, image->width, srcX);
    srcH = effective(srcH, image->height, srcY);
    if (srcW == dstW && srcH == dstH) {
        lock.reset();
        return BlitImage(image, x, y, srcX, srcY, srcW, srcH, keyed);
    }
    if (!m_dirtyTracking) {
        InvalidateWhole();
    }
    const PXSurfaceDesc& surface = lock->Desc();
    const PXRect screen = {0, static_cast<int32_t>(surface.width), 0, static_cast<int32_t>(surface.height)};
    const int64_t r = std::min<int64_t>(int64_t{x} + dstW, screen.right);
    const int64_t b = std::min<int64_t>(int64_t{y} + dstH, screen.bottom);
    const PXRect dest = {std::max(x, 0), static_cast<int32_t>(std::max<int64_t>(r, 0)), std::max(y, 0),
                         static_cast<int32_t>(std::max<int64_t>(b, 0))};
    if (dest.IsEmpty()) {
        return 1;
    }
    const float stepX = static_cast<float>(srcW) / static_cast<float>(dstW);
    const float stepY = static_cast<float>(srcH) / static_cast<float>(dstH);
    ForEachDirtyPart(dest, [&](const PXRect& c) {
        float fy = static_cast<float>(int64_t{c.top} - y + srcY) * stepY;
        const float fx0 = static_cast<float>(int64_t{c.left} - x + srcX) * stepX;
        for (int32_t row = c.top; row < c.bottom; ++row, fy += stepY) {
            // Positions past the image (a scaled source offset can reach them) are not drawn.
            const double sy = std::trunc(static_cast<double>(fy));
            if (sy >= image->height) {
                continue;
            }
            const uint16_t* src = image->pixels.data() + static_cast<size_t>(sy) * image->width;
            uint16_t* d = RowOf(surface, row);
            float fx = fx0;
            for (int32_t col = c.left; col < c.right; ++col, fx += stepX) {
                const uint32_t sx = static_cast<uint32_t>(static_cast<double>(fx)) % 65536u;
                if (sx >= image->width) {
                    continue;
                }
                const uint16_t s = src[sx];
                if (!keyed || s != 0) {
                    d[col] = s;
                }
            }
        }
    });
    return 1;
}

uint32_t PXScreen2D::BlitColorAdd(uint32_t id, int32_t x, int32_t y, uint32_t srcX, uint32_t srcY, uint32_t w,
                                  uint32_t h, bool keyed, const PXColor& color)
{
    PXImage* image = FindImage(id);
    return ImageBlit(
        image, x, y, srcX, srcY, w, h, true,
        [&](const PXSurfaceDesc& surface, const PXRect& c, int64_t destLeft, int64_t destTop) {
            const Factors k = FactorsOf(color);
            const uint16_t t = static_cast<uint16_t>(PackPixel(m_pixelFormat, k.red, k.green, k.blue));
            ForEachPixel(surface, c, MapImage(*image, c, destLeft, destTop, srcX, srcY),
                         [t, keyed](uint16_t& d, uint16_t s, size_t) {
                             if (!keyed || s != 0) {
                                 d = PXPixel::WrappingAdd(s, t);
                             }
                         });
        });
}

uint32_t PXScreen2D::BlitRaw(const PXBitmapDesc& bitmap, int32_t x, int32_t y, uint32_t srcX, uint32_t srcY,
                             uint32_t w, uint32_t h, bool keyed)
{
    if (bitmap.bitsPerPixel != 16 || !bitmap.data) {
        return 0;
    }
    return ClippedBlit(bitmap.width, bitmap.height, 0, 0, x, y, srcX, srcY, w, h, false,
                       [&](const PXSurfaceDesc& surface, const PXRect& c, int64_t destLeft, int64_t destTop) {
                           const size_t n = static_cast<size_t>(c.right - c.left);
                           for (int32_t row = c.top; row < c.bottom; ++row) {
                               const size_t sy = static_cast<size_t>(int64_t{srcY} + (row - destTop));
                               const size_t sx = static_cast<size_t>(int64_t{srcX} + (c.left - destLeft));
                               const uint8_t* s = bitmap.data.get() + (sy * bitmap.width + sx) * 2;
                               uint16_t* d = RowOf(surface, row) + c.left;
                               if (!keyed) {
                                   std::memcpy(d, s, n * 2);
                                   continue;
                               }
                               for (size_t i = 0; i < n; ++i) {
                                   uint16_t p;
                                   std::memcpy(&p, s + i * 2, 2);
                                   if (p != 0) {
                                       d[i] = p;
                                   }
                               }
                           }
                       });
}

uint32_t PXScreen2D::BlitAdditive(uint32_t id, int32_t x, int32_t y, uint32_t srcX, uint32_t srcY, uint32_t w,
                                  uint32_t h, uint32_t intensity)
{
    PXImage* image = FindImage(id);
    return ImageBlit(
        image, x, y, srcX, srcY, w, h, false,
        [&](const PXSurfaceDesc& surface, const PXRect& c, int64_t destLeft, int64_t destTop) {
            const uint32_t i = std::min(intensity, 256u);
            const SourceMap m = MapImage(*image, c, destLeft, destTop, srcX, srcY);
            AdditiveRows(reinterpret_cast<uint8_t*>(RowOf(surface, c.top) + c.left), surface.pitch,
                         m.src + static_cast<size_t>(m.srcTop) * m.srcPitch + m.srcLeft, m.srcPitch,
                         static_cast<size_t>(c.right - c.left), static_cast<size_t>(c.bottom - c.top),
                         static_cast<uint16_t>(i));
        });
}

uint32_t PXScreen2D::BlitAdditiveReference(uint32_t id, int32_t x, int32_t y, uint32_t srcX, uint32_t srcY,
                                           uint32_t w, uint32_t h, uint32_t intensity)
{
    PXImage* image = FindImage(id);
    return ImageBlit(image, x, y, srcX, srcY, w, h, false,
                     [&](const PXSurfaceDesc& surface, const PXRect& c, int64_t destLeft, int64_t destTop) {
                         const uint32_t i = std::min(intensity, 256u);
                         ForEachPixel(surface, c, MapImage(*image, c, destLeft, destTop, srcX, srcY),
                                      [i](uint16_t& d, uint16_t s, size_t) {
                                          if (s != 0) {
                                              d = PXPixel::SaturatingAdd(d, PXPixel::Modulate(s, i, i, i));
                                          }
                                      });
                     });
}

namespace {

bool MaskFits(const PXBitmapDesc& mask, const PXImage& image)
{
    return mask.bitsPerPixel == 8 && mask.data && mask.width == image.width && mask.height == image.height;
}

}  // namespace

template <typename Rule>
uint32_t PXScreen2D::MaskedBlit(uint32_t id, int32_t x, int32_t y, uint32_t srcX, uint32_t srcY, uint32_t w,
                                uint32_t h, const PXBitmapDesc& mask, Rule rule)
{
    PXImage* image = FindImage(id);
    if (image != nullptr && !MaskFits(mask, *image)) {
        return 0;
    }
    return ImageBlit(image, x, y, srcX, srcY, w, h, false,
                     [&](const PXSurfaceDesc& surface, const PXRect& c, int64_t destLeft, int64_t destTop) {
                         // The mask has the image's size, so a source index is also the mask index.
                         const uint8_t* maskData = mask.data.get();
                         ForEachPixel(surface, c, MapImage(*image, c, destLeft, destTop, srcX, srcY),
                                      [&rule, maskData](uint16_t& d, uint16_t s, size_t at) {
                                          if (s != 0) {
                                              d = rule(d, s, maskData[at]);
                                          }
                                      });
                     });
}

uint32_t PXScreen2D::BlitMasked(uint32_t id, int32_t x, int32_t y, uint32_t srcX, uint32_t srcY, uint32_t w,
                                uint32_t h, const PXBitmapDesc& mask)
{
    PXImage* image = FindImage(id);
    if (image != nullptr && !MaskFits(mask, *image)) {
        return 0;
    }
    return ImageBlit(
        image, x, y, srcX, srcY, w, h, false,
        [&](const PXSurfaceDesc& surface, const PXRect& c, int64_t destLeft, int64_t destTop) {
            const SourceMap m = MapImage(*image, c, destLeft, destTop, srcX, srcY);
            const size_t at = static_cast<size_t>(m.srcTop) * m.srcPitch + static_cast<size_t>(m.srcLeft);
            MaskedRows(reinterpret_cast<uint8_t*>(RowOf(surface, c.top) + c.left), surface.pitch, m.src + at,
                       mask.data.get() + at, m.srcPitch, static_cast<size_t>(c.right - c.left),
                       static_cast<size_t>(c.bottom - c.top));
        });
}

uint32_t PXScreen2D::BlitMaskedReference(uint32_t id, int32_t x, int32_t y, uint32_t srcX, uint32_t srcY,
                                         uint32_t w, uint32_t h, const PXBitmapDesc& mask)
{
    return MaskedBlit(id, x, y, srcX, srcY, w, h, mask,
                      [](uint16_t d, uint16_t s, uint8_t m) { return PXPixel::Blend(d, s, m); });
}

uint32_t PXScreen2D::BlitMaskedAlpha(uint32_t id, int32_t x, int32_t y, uint32_t srcX, uint32_t srcY,
                                     uint32_t w, uint32_t h, const PXBitmapDesc& mask, uint32_t alpha)
{
    const int32_t a = alpha < 255 ? static_cast<int32_t>(alpha) : 255;
    return MaskedBlit(id, x, y, srcX, srcY, w, h, mask,
                      [a](uint16_t d, uint16_t s, uint8_t m) { return PXPixel::Blend(d, s, (m * a) >> 8); });
}

uint32_t PXScreen2D::BlitMaskedModulated(uint32_t id, int32_t x, int32_t y, uint32_t srcX, uint32_t srcY,
                                         uint32_t w, uint32_t h, const PXBitmapDesc& mask,
                                         const PXColor& color)
{
    const Factors k = FactorsOf(color);
    return MaskedBlit(id, x, y, srcX, srcY, w, h, mask, [k](uint16_t d, uint16_t s, uint8_t m) {
        return PXPixel::Blend(d, PXPixel::Modulate(s, k.red, k.green, k.blue), m);
    });
}

uint32_t PXScreen2D::BlitMaskedColorAdd(uint32_t id, int32_t x, int32_t y, uint32_t srcX, uint32_t srcY,
                                        uint32_t w, uint32_t h, const PXBitmapDesc& mask,
                                        const PXColor& color)
{
    const Factors k = FactorsOf(color);
    const uint16_t t = static_cast<uint16_t>(PackPixel(m_pixelFormat, k.red, k.green, k.blue));
    return MaskedBlit(id, x, y, srcX, srcY, w, h, mask, [t](uint16_t d, uint16_t s, uint8_t m) {
        return PXPixel::Blend(d, PXPixel::WrappingAdd(s, t), m);
    });
}
