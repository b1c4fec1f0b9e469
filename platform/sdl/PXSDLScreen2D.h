// The screen on an SDL window: the 640 x 480 16-bit frame buffer lives in ordinary
// memory. Present copies its dirty rectangles into the picture on show and converts them
// to 32-bit pixels in a streaming texture, enlarged there by the scaling mode's whole
// factor; one copy then shows the texture in the window's 4:3 view (smoothly stretched
// when the view is not exactly its size) with black bars around it. Mouse positions are
// mapped back to frame pixels through the same layout.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "engine/core/PXStopwatch.h"
#include "engine/graphics/PXScreen2D.h"

struct SDL_Window;
struct SDL_Renderer;
struct SDL_Texture;
union SDL_Event;
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
    // How the frame is laid out in the window's pixels as things stand.
    PXScaleLayout CurrentLayout() const;
    // A window position (as SDL reports the mouse) as a frame position.
    PXPoint WindowToFrame(int32_t x, int32_t y) const;

private:
    bool OpenWindow(bool fullScreen);
    void CloseWindow();
    // Makes the texture anew when the layout changed; false when none can be made.
    bool FollowLayout();
    bool MakeTexture(const PXScaleLayout& layout);
    void UploadRect(const PXRect& rect);
    void UploadDirtyRectangles();
    void DrawPicture();
    bool PictureDue();
    // Rewrites mouse positions of this window's events as frame positions.
    static int MapMouseEvent(void* screen, SDL_Event* event);

    SDL_Window* m_window = nullptr;
    SDL_Renderer* m_renderer = nullptr;
    SDL_Texture* m_texture = nullptr;
    // What the texture was made for.
    PXScaleLayout m_layout;
    // The largest whole factor a texture can take.
    int32_t m_maxFactor = 1;
    SDL_Surface* m_icon = nullptr;
    uint32_t m_pitch = 0;
    std::vector<uint8_t> m_frame;
    // The picture on show, 5-5-5 like the frame: a new texture is filled from it.
    std::vector<uint8_t> m_shown;
    PXClock* m_pacingClock = nullptr;  // not owned
    uint32_t m_presentIntervalMs = 0;
    uint32_t m_lastShownMs = 0;
    bool m_shownOnce = false;
    // The texture holds rectangles that were not shown yet.
    bool m_pictureWaiting = false;
};
