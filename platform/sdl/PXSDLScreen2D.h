// The screen on an SDL window: the 640 x 480 16-bit frame buffer lives in ordinary
// memory. On SDL's software renderer, when the view is the frame enlarged by a whole factor
// (at the window's own size, in pixel mode, or where the factor fits exactly), Present
// converts the dirty rectangles straight into the window's surface and shows just those.
// Otherwise it copies them into the picture on show and converts them to 32-bit pixels in
// a streaming texture, enlarged there by the scaling mode's whole factor; one copy then
// shows the texture in the window's 4:3 view (smoothly stretched when the view is not
// exactly its size) with black bars around it. Mouse positions are mapped back to frame
// pixels through the same layout.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "engine/graphics/PXWindowScreen2D.h"

struct SDL_Window;
struct SDL_Renderer;
struct SDL_Texture;
union SDL_Event;
struct SDL_Surface;

class PXSDLScreen2D : public PXWindowScreen2D {
public:
    explicit PXSDLScreen2D(PXGame* owner);
    ~PXSDLScreen2D() override;

    // Create opens the window (a desktop-sized borderless one in full-screen mode) and the
    // frame buffer; a second Create replaces both and frees every image.
    uint32_t Minimize(bool minimise) override;
    uint32_t SetHighPriority(bool high) override;
    uint32_t SetCursorVisible(bool visible) override;
    // Cursor positions are frame pixels, whatever the window's size.
    uint32_t SetCursorPosition(const PXPoint& point) override;
    uint32_t GetCursorPosition(PXPoint* point) override;
    // Switches the open window between full screen and windowed in place: the frame
    // buffer and the images stay.
    bool ToggleFullScreen() override;
    // Kept, so that a window opened again by a later Create shows it too.
    uint32_t SetIcon(const PXBitmapDesc& icon) override;

    SDL_Window* GetWindow() const { return m_window; }
    // How the frame is laid out in the window's pixels as things stand.
    PXScaleLayout CurrentLayout() const;
    // A window position (as SDL reports the mouse) as a frame position.
    PXPoint WindowToFrame(int32_t x, int32_t y) const;
    // Whether the last Present converted straight into the window's surface (no texture).
    bool ShowsOnWindowSurface() const { return m_direct; }

protected:
    bool OpenWindow(PXScreenDesc* desc) override;
    bool CreateFrameBuffer(uint32_t width, uint32_t height, uint32_t bytesPerPixel) override;
    void CloseWindow() override;
    // A window, a renderer, a frame buffer and a texture for the window's current layout.
    bool ReadyToPresent() override;
    void ShowDirtyRectangles() override;

private:
    bool OpenWindowAndRenderer(bool fullScreen);
    // Chooses between the window surface and the texture for the window's current layout,
    // and makes the texture anew when the layout changed; false when none can be made.
    bool FollowLayout();
    // The window's surface when the picture can go straight into it: the software
    // renderer (which draws into that same surface), a view that is the frame enlarged by
    // a whole factor, and 32-bit pixels the conversion writes. nullptr otherwise.
    SDL_Surface* DirectSurface(const PXScaleLayout& layout) const;
    bool MakeTexture(const PXScaleLayout& layout);
    // Copies the frame into the picture on show when presents went past it.
    void RefreshShown();
    void UploadRect(const PXRect& rect);
    void UploadDirtyRectangles();
    void DrawPicture();
    void ShowOnSurface(SDL_Surface* surface);
    // Rewrites mouse positions of this window's events as frame positions.
    static int MapMouseEvent(void* screen, SDL_Event* event);

    SDL_Window* m_window = nullptr;
    SDL_Renderer* m_renderer = nullptr;
    SDL_Texture* m_texture = nullptr;
    // The largest whole factor a texture can take.
    int32_t m_maxFactor = 1;
    SDL_Surface* m_icon = nullptr;
    // The picture on show, 5-5-5 like the frame: a new texture is filled from it. Kept
    // only while the texture shows the picture (and made when a texture first needs it).
    std::vector<uint8_t> m_shown;
    bool m_shownCurrent = false;
    bool m_softwareRenderer = false;
    // Presents go straight into the window surface.
    bool m_direct = false;
    // The window surface that holds the whole picture (not owned; nullptr: none does yet,
    // so the next present converts the whole frame).
    SDL_Surface* m_directSurface = nullptr;
};
