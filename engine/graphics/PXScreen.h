// The abstract screen: window-level state and the full table of screen operations.
// PXScreen2D implements the renderer; a platform screen supplies the window, the frame
// buffer and presentation. The declaration order below is the operation order every
// screen shares.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "engine/graphics/PXGraphicsTypes.h"
#include "engine/graphics/PXScaleLayout.h"

class PXGame;

class PXScreen {
public:
    explicit PXScreen(PXGame* owner) : m_owner(owner) {}
    PXScreen(const PXScreen&) = delete;
    PXScreen& operator=(const PXScreen&) = delete;

    virtual uint32_t Create(PXScreenDesc* desc, const char* title) = 0;
    virtual uint32_t Destroy() = 0;
    virtual uint32_t Present() = 0;
    virtual uint32_t Clear() = 0;
    virtual uint32_t Minimize(bool minimise) = 0;
    virtual uint32_t SetHighPriority(bool high) = 0;
    virtual uint32_t SetCursorVisible(bool visible) = 0;
    virtual uint32_t SetCursorPosition(const PXPoint& point) = 0;
    virtual uint32_t GetCursorPosition(PXPoint* point) = 0;
    // Re-creates the screen with the other full-screen setting; true when that took effect.
    virtual bool ToggleFullScreen();
    virtual bool IsFullScreen() { return m_fullScreen; }
    // How the frame is scaled to a window of another size; takes effect at the next
    // Present. A screen without a window only keeps it.
    virtual void SetScaleMode(PXScaleMode mode) { m_scaleMode = mode; }
    PXScaleMode GetScaleMode() const { return m_scaleMode; }
    // Gives the window the picture of a 32-bit bitmap (blue, green, red, alpha bytes, rows
    // top down) as its icon; 1 when the screen took it. A screen without a window icon (or
    // one that takes it from the program file) keeps its own and answers 0.
    virtual uint32_t SetIcon(const PXBitmapDesc& icon);

    virtual uint32_t Blit(uint32_t id, int32_t x, int32_t y, uint32_t srcX, uint32_t srcY, uint32_t w,
                          uint32_t h, bool keyed) = 0;
    virtual uint32_t BlitImage(const PXImage* image, int32_t x, int32_t y, uint32_t srcX, uint32_t srcY,
                               uint32_t w, uint32_t h, bool keyed) = 0;
    virtual uint32_t BlitAlpha(uint32_t id, int32_t x, int32_t y, uint32_t srcX, uint32_t srcY, uint32_t w,
                               uint32_t h, uint32_t alpha, bool keyed) = 0;
    virtual uint32_t BlitImageAlpha(const PXImage* image, int32_t x, int32_t y, uint32_t srcX, uint32_t srcY,
                                    uint32_t w, uint32_t h, uint32_t alpha, bool keyed) = 0;
    virtual uint32_t BlitModulated(uint32_t id, int32_t x, int32_t y, uint32_t srcX, uint32_t srcY, uint32_t w,
                                   uint32_t h, bool keyed, const PXColor& color) = 0;
    virtual uint32_t BlitImageModulated(const PXImage* image, int32_t x, int32_t y, uint32_t srcX,
                                        uint32_t srcY, uint32_t w, uint32_t h, bool keyed,
                                        const PXColor& color) = 0;
    virtual uint32_t BlitFlipped(uint32_t id, int32_t x, int32_t y, uint32_t srcX, uint32_t srcY, uint32_t w,
                                 uint32_t h, bool keyed) = 0;
    virtual uint32_t BlitImageFlipped(const PXImage* image, int32_t x, int32_t y, uint32_t srcX, uint32_t srcY,
                                      uint32_t w, uint32_t h, bool keyed) = 0;
    virtual uint32_t BlitScaled(uint32_t id, int32_t x, int32_t y, uint32_t dstW, uint32_t dstH, uint32_t srcX,
                                uint32_t srcY, uint32_t srcW, uint32_t srcH, bool keyed) = 0;
    virtual uint32_t BlitImageScaled(const PXImage* image, int32_t x, int32_t y, uint32_t dstW, uint32_t dstH,
                                     uint32_t srcX, uint32_t srcY, uint32_t srcW, uint32_t srcH,
                                     bool keyed) = 0;
    virtual uint32_t InvalidateRect(const PXRect& rect, bool clear) = 0;
    virtual uint32_t InvalidateListOffset(const PXDirtyList& other, const PXPoint& offset) = 0;
    virtual uint32_t InvalidateList(const PXDirtyList& other) = 0;
    virtual void ClearDirtyList() = 0;
    virtual bool SetDirtyTracking(bool on) = 0;
    virtual PXDirtyList* GetDirtyList() = 0;
    virtual uint32_t LockScreen(PXSurfaceDesc* out) = 0;
    virtual uint32_t UnlockScreen() = 0;
    virtual uint32_t CreateImage(const PXBitmapDesc& bitmap, uint32_t* outId, uint32_t flags) = 0;
    virtual uint32_t AddImage(std::unique_ptr<PXImage> image, uint32_t* outId) = 0;
    virtual uint32_t GetImage(uint32_t id, PXImage** out) = 0;
    virtual uint32_t SetImageOrigin(uint32_t id, const PXPoint& origin) = 0;
    virtual uint32_t GetImageName(uint32_t id, std::string* out) = 0;
    virtual uint32_t FreeImage(uint32_t id) = 0;
    virtual bool HasImage(uint32_t id) = 0;
    virtual uint32_t FreeAllImages() = 0;
    virtual uint32_t LockImage(uint32_t id, PXSurfaceDesc* out) = 0;
    virtual uint32_t UnlockImage(uint32_t id) = 0;
    virtual uint32_t BlitColorAdd(uint32_t id, int32_t x, int32_t y, uint32_t srcX, uint32_t srcY, uint32_t w,
                                  uint32_t h, bool keyed, const PXColor& color) = 0;
    virtual uint32_t BlitRaw(const PXBitmapDesc& bitmap, int32_t x, int32_t y, uint32_t srcX, uint32_t srcY,
                             uint32_t w, uint32_t h, bool keyed) = 0;
    virtual uint32_t BlitAdditive(uint32_t id, int32_t x, int32_t y, uint32_t srcX, uint32_t srcY, uint32_t w,
                                  uint32_t h, uint32_t intensity) = 0;
    virtual uint32_t BlitMasked(uint32_t id, int32_t x, int32_t y, uint32_t srcX, uint32_t srcY, uint32_t w,
                                uint32_t h, const PXBitmapDesc& mask) = 0;
    virtual uint32_t BlitMaskedAlpha(uint32_t id, int32_t x, int32_t y, uint32_t srcX, uint32_t srcY,
                                     uint32_t w, uint32_t h, const PXBitmapDesc& mask, uint32_t alpha) = 0;
    virtual uint32_t BlitMaskedModulated(uint32_t id, int32_t x, int32_t y, uint32_t srcX, uint32_t srcY,
                                         uint32_t w, uint32_t h, const PXBitmapDesc& mask,
                                         const PXColor& color) = 0;
    virtual uint32_t BlitMaskedColorAdd(uint32_t id, int32_t x, int32_t y, uint32_t srcX, uint32_t srcY,
                                        uint32_t w, uint32_t h, const PXBitmapDesc& mask,
                                        const PXColor& color) = 0;
    virtual uint32_t TileImageOffset(uint32_t id, uint32_t srcX0, uint32_t srcY0, int32_t x, int32_t y,
                                     int32_t w, int32_t h, bool keyed) = 0;
    virtual uint32_t TileImage(uint32_t id, int32_t x, int32_t y, int32_t w, int32_t h, bool keyed) = 0;
    virtual uint32_t TileImageAlpha(uint32_t id, int32_t x, int32_t y, int32_t w, int32_t h, uint32_t alpha,
                                    bool keyed) = 0;
    virtual uint32_t HalveImage(uint32_t id) = 0;
    virtual uint32_t ModulateRect(int32_t x, int32_t y, uint32_t w, uint32_t h, const PXColor& color) = 0;
    virtual uint32_t DrawHLine(int32_t y, int32_t x1, int32_t x2, const PXColor& color) = 0;
    virtual uint32_t DrawVLine(int32_t x, int32_t y1, int32_t y2, const PXColor& color) = 0;
    virtual uint32_t DrawLine(const PXPoint& a, const PXPoint& b, const PXColor& color) = 0;
    virtual uint32_t DrawRect(const PXRect& rect, const PXColor& color) = 0;
    virtual uint32_t FillRect(const PXRect& rect, const PXColor& color) = 0;
    virtual uint32_t DrawBevelRect(const PXRect& rect, const PXColor& fill, const PXColor& light,
                                   const PXColor& dark) = 0;

    virtual ~PXScreen() = default;

    const std::string& GetTitle() const { return m_title; }
    int32_t GetWidth() const { return m_width; }
    int32_t GetHeight() const { return m_height; }
    const PXPixelFormat& GetPixelFormat() const { return m_pixelFormat; }
    PXGame* GetOwner() const { return m_owner; }
    bool IsCreated() const { return m_created; }
    bool IsCursorHidden() const { return m_cursorHidden; }
    // How often the screen has let go of all its images (each re-creation does): a resource
    // that failed to load is tried again only once this has changed.
    uint32_t GetImagesLostCount() const { return m_imagesLost; }

protected:
    std::string m_title;
    int32_t m_width = 0;
    int32_t m_height = 0;
    PXPixelFormat m_pixelFormat;
    bool m_fullScreen = true;
    PXGame* m_owner; // not owned
    bool m_created = false;
    bool m_cursorHidden = false;
    PXScaleMode m_scaleMode = PXScaleMode::Sharp;
    uint32_t m_imagesLost = 0;
};
