// The screen on an SDL window: the 640 x 480 16-bit frame buffer lives in ordinary
// memory, Present converts its dirty rectangles to 32-bit pixels in a streaming texture
// and shows that texture scaled to the window, keeping the 4:3 picture letterboxed.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "engine/core/PXStopwatch.h"
#include "engine/graphics/PXScreen2D.h"

struct SDL_Window;
struct SDL_Renderer;
struct SDL_Texture;
struct SDL_Surface;

class PXSDLScreen2D : public PXScreen2D {
public:
    explicit PXSDLScreen2D(PXGame* owner);
    ~PXSDLScreen2D() override;

    // Opens the window (a desktop-sized borderless one in full-screen mode) and the frame
    // buffer; a second Create replaces both and frees every image.
    uint32_t Create(PXScreenDesc* desc, const char* title) override;
    uint32_t Destroy() override;
    uint32_t Present() override;
    uint32_t Clear() override;
    uint32_t Minimize(bool minimise) override;
    uint32_t SetHighPriority(bool high) override;
    uint32_t SetCursorVisible(bool visible) override;
    // Cursor positions are frame pixels, whatever the window's size.
    uint32_t SetCursorPosition(const PXPoint& point) override;
    uint32_t GetCursorPosition(PXPoint* point) override;
    uint32_t LockScreen(PXSurfaceDesc* out) override;
    uint32_t UnlockScreen() override;
    // Switches the open window between full screen and windowed in place: the frame
    // buffer and the images stay.
    bool ToggleFullScreen() override;
    // Kept, so that a window opened again by a later Create shows it too.
    uint32_t SetIcon(const PXBitmapDesc& icon) override;

    // Shows at most one picture per `intervalMs` on `clock` (not owned); 0 or no clock shows
    // every Present. Without vsync every picture goes through the whole scaled copy of the
    // frame, so the game caps it near the display's rate. A Present that comes too early
    // leaves the dirty list as it is; the next one due shows it all.
    void SetPresentPacing(PXClock* clock, uint32_t intervalMs);

    SDL_Window* GetWindow() const { return m_window; }
    // The 32-bit pixel (0x00RRGGBB) a 5-5-5 pixel is shown as.
    static uint32_t ToXRGB(uint16_t pixel);

private:
    bool OpenWindow(bool fullScreen);
    void CloseWindow();
    void UploadDirtyRectangles();
    bool PictureDue();

    SDL_Window* m_window = nullptr;
    SDL_Renderer* m_renderer = nullptr;
    SDL_Texture* m_texture = nullptr;
    SDL_Surface* m_icon = nullptr;
    uint32_t m_pitch = 0;
    std::vector<uint8_t> m_frame;
    // The picture on show, converted; rows of m_width pixels.
    std::vector<uint32_t> m_shown;
    PXClock* m_pacingClock = nullptr;  // not owned
    uint32_t m_presentIntervalMs = 0;
    uint32_t m_lastShownMs = 0;
    bool m_shownOnce = false;
    // The texture holds rectangles that were not shown yet.
    bool m_pictureWaiting = false;
};
