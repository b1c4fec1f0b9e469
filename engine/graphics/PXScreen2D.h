// The software renderer: the dirty-rectangle list, the image table and every drawing
// operation on the 16-bit 5-5-5 frame buffer. A platform screen derives from it and
// supplies the frame buffer (LockScreen/UnlockScreen), the window and presentation.
#pragma once

#include <algorithm>
#include <cstdint>
#include <unordered_map>
#include <memory>
#include <string>

#include "engine/graphics/PXScreen.h"

class PXScreen2D : public PXScreen {
public:
    explicit PXScreen2D(PXGame* owner) : PXScreen(owner) {}

    uint32_t Destroy() override;

    uint32_t Blit(uint32_t id, int32_t x, int32_t y, uint32_t srcX, uint32_t srcY, uint32_t w, uint32_t h,
                  bool keyed) override;
    uint32_t BlitImage(const PXImage* image, int32_t x, int32_t y, uint32_t srcX, uint32_t srcY, uint32_t w,
                       uint32_t h, bool keyed) override;
    uint32_t BlitAlpha(uint32_t id, int32_t x, int32_t y, uint32_t srcX, uint32_t srcY, uint32_t w, uint32_t h,
                       uint32_t alpha, bool keyed) override;
    uint32_t BlitImageAlpha(const PXImage* image, int32_t x, int32_t y, uint32_t srcX, uint32_t srcY, uint32_t w,
                            uint32_t h, uint32_t alpha, bool keyed) override;
    uint32_t BlitModulated(uint32_t id, int32_t x, int32_t y, uint32_t srcX, uint32_t srcY, uint32_t w,
                           uint32_t h, bool keyed, const PXColor& color) override;
    uint32_t BlitImageModulated(const PXImage* image, int32_t x, int32_t y, uint32_t srcX, uint32_t srcY,
                                uint32_t w, uint32_t h, bool keyed, const PXColor& color) override;
    uint32_t BlitFlipped(uint32_t id, int32_t x, int32_t y, uint32_t srcX, uint32_t srcY, uint32_t w, uint32_t h,
                         bool keyed) override;
    uint32_t BlitImageFlipped(const PXImage* image, int32_t x, int32_t y, uint32_t srcX, uint32_t srcY,
                              uint32_t w, uint32_t h, bool keyed) override;
    uint32_t BlitScaled(uint32_t id, int32_t x, int32_t y, uint32_t dstW, uint32_t dstH, uint32_t srcX,
                        uint32_t srcY, uint32_t srcW, uint32_t srcH, bool keyed) override;
    uint32_t BlitImageScaled(const PXImage* image, int32_t x, int32_t y, uint32_t dstW, uint32_t dstH,
                             uint32_t srcX, uint32_t srcY, uint32_t srcW, uint32_t srcH, bool keyed) override;
    uint32_t InvalidateRect(const PXRect& rect, bool clear) override;
    uint32_t InvalidateListOffset(const PXDirtyList& other, const PXPoint& offset) override;
    uint32_t InvalidateList(const PXDirtyList& other) override;
    void ClearDirtyList() override { m_dirtyList.count = 0; }
    bool SetDirtyTracking(bool on) override;
    PXDirtyList* GetDirtyList() override { return &m_dirtyList; }
    uint32_t CreateImage(const PXBitmapDesc& bitmap, uint32_t* outId, uint32_t flags) override;
    uint32_t AddImage(std::unique_ptr<PXImage> image, uint32_t* outId) override;
    uint32_t GetImage(uint32_t id, PXImage** out) override;
    uint32_t SetImageOrigin(uint32_t id, const PXPoint& origin) override;
    uint32_t GetImageName(uint32_t id, std::string* out) override;
    uint32_t FreeImage(uint32_t id) override;
    bool HasImage(uint32_t id) override;
    uint32_t FreeAllImages() override;
    uint32_t LockImage(uint32_t id, PXSurfaceDesc* out) override;
    uint32_t UnlockImage(uint32_t id) override;
    uint32_t BlitColorAdd(uint32_t id, int32_t x, int32_t y, uint32_t srcX, uint32_t srcY, uint32_t w,
                          uint32_t h, bool keyed, const PXColor& color) override;
    uint32_t BlitRaw(const PXBitmapDesc& bitmap, int32_t x, int32_t y, uint32_t srcX, uint32_t srcY, uint32_t w,
                     uint32_t h, bool keyed) override;
    uint32_t BlitAdditive(uint32_t id, int32_t x, int32_t y, uint32_t srcX, uint32_t srcY, uint32_t w,
                          uint32_t h, uint32_t intensity) override;
    uint32_t BlitMasked(uint32_t id, int32_t x, int32_t y, uint32_t srcX, uint32_t srcY, uint32_t w, uint32_t h,
                        const PXBitmapDesc& mask) override;
    uint32_t BlitMaskedAlpha(uint32_t id, int32_t x, int32_t y, uint32_t srcX, uint32_t srcY, uint32_t w,
                             uint32_t h, const PXBitmapDesc& mask, uint32_t alpha) override;
    uint32_t BlitMaskedModulated(uint32_t id, int32_t x, int32_t y, uint32_t srcX, uint32_t srcY, uint32_t w,
                                 uint32_t h, const PXBitmapDesc& mask, const PXColor& color) override;
    uint32_t BlitMaskedColorAdd(uint32_t id, int32_t x, int32_t y, uint32_t srcX, uint32_t srcY, uint32_t w,
                                uint32_t h, const PXBitmapDesc& mask, const PXColor& color) override;
    uint32_t TileImageOffset(uint32_t id, uint32_t srcX0, uint32_t srcY0, int32_t x, int32_t y, int32_t w,
                             int32_t h, bool keyed) override;
    uint32_t TileImage(uint32_t id, int32_t x, int32_t y, int32_t w, int32_t h, bool keyed) override;
    uint32_t TileImageAlpha(uint32_t id, int32_t x, int32_t y, int32_t w, int32_t h, uint32_t alpha,
                            bool keyed) override;
    uint32_t HalveImage(uint32_t id) override;
    uint32_t ModulateRect(int32_t x, int32_t y, uint32_t w, uint32_t h, const PXColor& color) override;
    uint32_t DrawHLine(int32_t y, int32_t x1, int32_t x2, const PXColor& color) override;
    uint32_t DrawVLine(int32_t x, int32_t y1, int32_t y2, const PXColor& color) override;
    uint32_t DrawLine(const PXPoint& a, const PXPoint& b, const PXColor& color) override;
    uint32_t DrawRect(const PXRect& rect, const PXColor& color) override;
    uint32_t FillRect(const PXRect& rect, const PXColor& color) override;
    uint32_t DrawBevelRect(const PXRect& rect, const PXColor& fill, const PXColor& light,
                           const PXColor& dark) override;

    int32_t GetLockCount() const { return m_lockCount; }
    bool IsDirtyTracking() const { return m_dirtyTracking; }
    // True while the frame being drawn will not be shown (a paced screen decides it at the
    // Present before): drawing clipped to the dirty list does nothing, and the dirty list
    // waits for the next frame that is shown, which redraws all of it. Whoever writes the
    // frame buffer itself skips that work too; locking the frame ends the hold.
    bool IsDrawingHeld() const { return m_drawingHeld; }
    // The lock the drawing operations take: it leaves a held frame held.
    uint32_t LockToDraw(PXSurfaceDesc* out)
    {
        m_lockingToDraw = true;
        const uint32_t locked = LockScreen(out);
        m_lockingToDraw = false;
        return locked;
    }

    // The plain per-pixel keyed copy; BlitImage's keyed path must match it pixel for pixel.
    uint32_t BlitImageKeyedReference(const PXImage* image, int32_t x, int32_t y, uint32_t srcX, uint32_t srcY,
                                     uint32_t w, uint32_t h);

    // The plain per-pixel constant-alpha loop; BlitImageAlpha must match it pixel for pixel.
    uint32_t BlitImageAlphaReference(const PXImage* image, int32_t x, int32_t y, uint32_t srcX, uint32_t srcY,
                                     uint32_t w, uint32_t h, uint32_t alpha, bool keyed);
    // The plain per-pixel masked loop; BlitMasked must match it pixel for pixel.
    uint32_t BlitMaskedReference(uint32_t id, int32_t x, int32_t y, uint32_t srcX, uint32_t srcY, uint32_t w,
                                 uint32_t h, const PXBitmapDesc& mask);
    // Plain per-pixel loops of the modulated and additive blits, kept as their references.
    uint32_t BlitImageModulatedReference(const PXImage* image, int32_t x, int32_t y, uint32_t srcX, uint32_t srcY,
                                         uint32_t w, uint32_t h, bool keyed, const PXColor& color);
    uint32_t BlitAdditiveReference(uint32_t id, int32_t x, int32_t y, uint32_t srcX, uint32_t srcY, uint32_t w,
                                   uint32_t h, uint32_t intensity);
    // The tile-by-tile loop; TileImageOffset must match it pixel for pixel.
    uint32_t TileImageOffsetPlain(uint32_t id, uint32_t srcX0, uint32_t srcY0, int32_t x, int32_t y, int32_t w,
                                  int32_t h, bool keyed);

protected:
    // Platform screens call this from their constructor.
    void CreateImageTable();

    // Calls part(c) for each piece c of area that lies in a dirty rectangle (area itself when
    // the list is full). The dirty rectangles never overlap, so every pixel is drawn once, and
    // nothing outside them is drawn: an element below must not cover pixels that the
    // elements above it are not asked to redraw.
    template <typename Part>
    void ForEachDirtyPart(const PXRect& area, Part part) const
    {
        if (area.IsEmpty() || m_drawingHeld) {
            return;
        }
        if (m_dirtyList.count >= PXDirtyList::Capacity) {
            part(area);
            return;
        }
        for (int32_t i = 0; i < m_dirtyList.count; ++i) {
            const PXRect& d = m_dirtyList.rects[i];
            const PXRect c = {std::max(d.left, area.left), std::min(d.right, area.right), std::max(d.top, area.top),
                              std::min(d.bottom, area.bottom)};
            if (!c.IsEmpty()) {
                part(c);
            }
        }
    }
    // Adds r to the dirty list, merging into the first rectangle it overlaps or touches; a
    // rectangle grown by a merge takes in every other one it then meets, so the list stays
    // free of overlaps.
    bool AddDirty(const PXRect& r);
    bool AddDirtyList(const PXDirtyList& other, const PXPoint& offset);
    void InvalidateWhole();
    PXImage* FindImage(uint32_t id) const;
    // Area of an image blit on the frame buffer, with the origin rule; false when it is off
    // the frame buffer.
    bool ImageBlitClip(const PXSurfaceDesc& surface, uint32_t imageW, uint32_t imageH, int32_t originX,
                       int32_t originY, int32_t x, int32_t y, uint32_t srcX, uint32_t srcY, uint32_t w,
                       uint32_t h, PXRect* clip, int64_t* destLeft, int64_t* destTop) const;

    // Finds the image and locks the frame buffer, then calls tile(image, surface) for a
    // w x h area of it: 0 without the image or a frame buffer, 1 for an empty area or image.
    template <typename Tile> uint32_t LockedTiling(uint32_t id, int32_t w, int32_t h, Tile tile);
    uint32_t TileOffset(uint32_t id, uint32_t srcX0, uint32_t srcY0, int32_t x, int32_t y, int32_t w, int32_t h,
                        bool keyed, bool allowFast);
    bool TilePeriodic(const PXSurfaceDesc& surface, const PXImage& image, uint32_t srcX0, uint32_t srcY0, int32_t x,
                      int32_t y, int32_t w, int32_t h);
    // Locks the frame buffer and clips a w x h piece of an image placed at (x, y) by its origin;
    // calls draw(surface, clip, destLeft, destTop) for each dirty part of it. 0 without a frame
    // buffer, else 1. With invalidateUntracked an untracked screen is first marked dirty whole.
    template <typename Draw>
    uint32_t ClippedBlit(uint32_t imageW, uint32_t imageH, int32_t originX, int32_t originY, int32_t x, int32_t y,
                         uint32_t srcX, uint32_t srcY, uint32_t w, uint32_t h, bool invalidateUntracked,
                         Draw draw);
    // ClippedBlit of an image by its size and origin; 0 for no image.
    template <typename Draw>
    uint32_t ImageBlit(const PXImage* image, int32_t x, int32_t y, uint32_t srcX, uint32_t srcY, uint32_t w,
                       uint32_t h, bool invalidateUntracked, Draw draw);
    // A line along a row (Horizontal) or a column: `at` is the row or column, from and to
    // the ends along it, both cut to the frame.
    template <bool Horizontal>
    uint32_t DrawStraightLine(int32_t at, int32_t from, int32_t to, const PXColor& color);
    template <typename Rule>
    uint32_t MaskedBlit(uint32_t id, int32_t x, int32_t y, uint32_t srcX, uint32_t srcY, uint32_t w, uint32_t h,
                        const PXBitmapDesc& mask, Rule rule);

    int32_t m_lockCount = 0;
    bool m_drawingHeld = false;
    bool m_lockingToDraw = false;
    PXDirtyList m_dirtyList;
    bool m_dirtyTracking = true;
    std::unique_ptr<std::unordered_map<uint32_t, std::unique_ptr<PXImage>>> m_images;
    uint32_t m_nextImageId = 0;
};
