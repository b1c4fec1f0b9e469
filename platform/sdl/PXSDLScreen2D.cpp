// The SDL window, its renderer, the window surface or streaming texture the picture goes
// through, and the mouse mapping.
#include "platform/sdl/PXSDLScreen2D.h"

#include <SDL.h>
#include <sys/mman.h>
#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>

#include "engine/core/PXLog.h"
#include "platform/sdl/PXSDLDisplayProbe.h"

PXSDLScreen2D::PXSDLScreen2D(PXGame* owner) : PXWindowScreen2D(owner)
{
    CreateImageTable();
}

PXSDLScreen2D::~PXSDLScreen2D()
{
    Destroy();
    if (m_icon != nullptr) {
        SDL_FreeSurface(m_icon);
    }
}

uint32_t PXSDLScreen2D::SetIcon(const PXBitmapDesc& icon)
{
    if (icon.bitsPerPixel != 32 || icon.rows == nullptr || icon.width < 1 || icon.height < 1 ||
        icon.width > 1024 || icon.height > 1024) {
        return 0;
    }
    // Blue, green, red, alpha bytes are ARGB8888 words on a little-endian host.
    SDL_Surface* surface = SDL_CreateRGBSurfaceWithFormat(0, static_cast<int>(icon.width),
                                                          static_cast<int>(icon.height), 32, SDL_PIXELFORMAT_BGRA32);
    if (surface == nullptr) {
        LogF("SetIcon - %s", SDL_GetError());
        return 0;
    }
    for (uint32_t y = 0; y < icon.height; ++y) {
        std::memcpy(static_cast<uint8_t*>(surface->pixels) + static_cast<size_t>(y) * surface->pitch, icon.rows[y],
                    static_cast<size_t>(icon.width) * 4);
    }
    if (m_icon != nullptr) {
        SDL_FreeSurface(m_icon);
    }
    m_icon = surface;
    if (m_window != nullptr) {
        SDL_SetWindowIcon(m_window, m_icon);
    }
    return 1;
}

bool PXSDLScreen2D::OpenWindow(PXScreenDesc* desc)
{
    if (!OpenWindowAndRenderer(desc->fullScreen)) {
        CloseWindow();
        return false;
    }
    return true;
}

bool PXSDLScreen2D::CreateFrameBuffer(uint32_t width, uint32_t height, uint32_t bytesPerPixel)
{
    AllocateFrame(width, height, bytesPerPixel);
    // The picture on show is taken from the frame when a texture first needs it.
    m_shown.clear();
    m_shownCurrent = false;
    m_directSurface = nullptr;
    return true;
}

namespace {

// True for a renderer that draws on the processor: SDL's software one, or OpenGL whose
// driver is a software rasteriser (as on machines without a graphics card).
bool RasterisesOnTheProcessor(SDL_Renderer* renderer)
{
    SDL_RendererInfo info;
    if (SDL_GetRendererInfo(renderer, &info) != 0) {
        return false;
    }
    if ((info.flags & SDL_RENDERER_SOFTWARE) != 0) {
        return true;
    }
    if (info.name == nullptr || std::strncmp(info.name, "opengl", 6) != 0) {
        return false;
    }
    using GetString = const unsigned char* (*)(unsigned int);
    auto getString = reinterpret_cast<GetString>(SDL_GL_GetProcAddress("glGetString"));
    constexpr unsigned int GlRenderer = 0x1F01;
    const unsigned char* name = getString != nullptr ? getString(GlRenderer) : nullptr;
    if (name == nullptr) {
        return false;
    }
    const char* text = reinterpret_cast<const char*>(name);
    for (const char* soft : {"llvmpipe", "softpipe", "Software Rasterizer", "swrast"}) {
        if (std::strstr(text, soft) != nullptr) {
            return true;
        }
    }
    return false;
}

// The first picture writes every pixel of a new window surface, whose shared memory is not
// there yet: one page fault per page, each dear on a virtual machine. Asking for all of the
// pages in one call costs a fraction of that. Kernels before 5.14 refuse, and the pages
// come one fault at a time as before.
void ProvideSurfacePages(SDL_Surface* surface)
{
#ifdef MADV_POPULATE_WRITE
    if (surface == nullptr || surface->pixels == nullptr || surface->h <= 0 || surface->pitch <= 0) {
        return;
    }
    const long pageSize = sysconf(_SC_PAGESIZE);
    if (pageSize <= 0) {
        return;
    }
    const auto first = reinterpret_cast<uintptr_t>(surface->pixels);
    const uintptr_t start = first & ~(static_cast<uintptr_t>(pageSize) - 1);
    const uintptr_t end = first + static_cast<size_t>(surface->pitch) * static_cast<size_t>(surface->h);
    madvise(reinterpret_cast<void*>(start), end - start, MADV_POPULATE_WRITE);
#else
    (void)surface;
#endif
}

}  // namespace

bool PXSDLScreen2D::OpenWindowAndRenderer(bool fullScreen)
{
    Uint32 flags = SDL_WINDOW_RESIZABLE | SDL_WINDOW_ALLOW_HIGHDPI;
    if (fullScreen) {
        flags |= SDL_WINDOW_FULLSCREEN_DESKTOP;
    }
    // The window's normal size is the frame's, centred; leaving full screen returns to it.
    m_window = SDL_CreateWindow(m_title.c_str(), SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, m_width,
                                m_height, flags);
    if (m_window == nullptr) {
        LogF("CreateWin32Screen2D - %s", SDL_GetError());
        return false;
    }
    if (m_icon != nullptr) {
        SDL_SetWindowIcon(m_window, m_icon);
    }
    // Whichever way the software renderer is reached (chosen below, or named by the
    // SDL_RENDER_DRIVER hint), it draws into the window's own frame buffer: without this SDL
    // may show that frame buffer through an OpenGL texture, which on a processor-rasterised
    // OpenGL costs far more than the whole picture.
    SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
    // Where OpenGL can only be emulated, the accelerated renderer is not even tried: making
    // its context loads the whole emulation, which stays in memory once it is given up.
    if (PXSDLDisplayProbe::MayRenderOnGraphicsCard(m_window)) {
        m_renderer = SDL_CreateRenderer(m_window, -1, SDL_RENDERER_ACCELERATED | SDL_RENDERER_PRESENTVSYNC);
    }
    if (m_renderer != nullptr && RasterisesOnTheProcessor(m_renderer)) {
        // OpenGL emulated on the processor costs several times what SDL's own software
        // renderer does for the same picture.
        SDL_DestroyRenderer(m_renderer);
        m_renderer = nullptr;
    }
    if (m_renderer == nullptr) {
        m_renderer = SDL_CreateRenderer(m_window, -1, SDL_RENDERER_SOFTWARE);
    }
    if (m_renderer == nullptr) {
        LogF("CreateWin32Screen2D - %s", SDL_GetError());
        return false;
    }
    SDL_RendererInfo info;
    m_maxFactor = 1;
    m_softwareRenderer = false;
    if (SDL_GetRendererInfo(m_renderer, &info) == 0) {
        m_softwareRenderer = (info.flags & SDL_RENDERER_SOFTWARE) != 0;
        // 0 means no limit (the software renderer).
        const int32_t wide = info.max_texture_width > 0 ? info.max_texture_width / m_width : 64;
        const int32_t high = info.max_texture_height > 0 ? info.max_texture_height / m_height : 64;
        m_maxFactor = std::max(1, std::min(wide, high));
    }
    m_layout = PXScaleLayout();
    if (!FollowLayout()) {
        return false;
    }
    if (m_direct) {
        ProvideSurfacePages(SDL_GetWindowSurface(m_window));
    }
    SDL_SetRenderDrawColor(m_renderer, 0, 0, 0, 255);
    SDL_AddEventWatch(MapMouseEvent, this);
    return true;
}

bool PXSDLScreen2D::MakeTexture(const PXScaleLayout& layout)
{
    if (m_texture != nullptr) {
        SDL_DestroyTexture(m_texture);
    }
    m_texture = SDL_CreateTexture(m_renderer, SDL_PIXELFORMAT_RGB888, SDL_TEXTUREACCESS_STREAMING,
                                  layout.EnlargedWidth(), layout.EnlargedHeight());
    if (m_texture == nullptr) {
        LogF("CreateWin32Screen2D - %s", SDL_GetError());
        m_layout = PXScaleLayout();
        return false;
    }
    // At the view's exact size nothing is stretched, and nearest copies it as it is.
    SDL_SetTextureScaleMode(m_texture, layout.IsExact() ? SDL_ScaleModeNearest : SDL_ScaleModeLinear);
    m_layout = layout;
    RefreshShown();
    if (m_shownCurrent) {
        UploadRect({0, m_width, 0, m_height});
    }
    return true;
}

void PXSDLScreen2D::RefreshShown()
{
    if (m_shownCurrent || m_framePixels == nullptr) {
        return;
    }
    // Every Present comes after a whole frame is drawn, so the frame is a complete picture.
    const size_t bytes = static_cast<size_t>(m_pitch) * static_cast<size_t>(m_height);
    m_shown.assign(m_framePixels, m_framePixels + bytes);
    m_shownCurrent = true;
}

SDL_Surface* PXSDLScreen2D::DirectSurface(const PXScaleLayout& layout) const
{
    if (!m_softwareRenderer || !layout.IsExact()) {
        return nullptr;
    }
    // The software renderer draws into this same surface, so asking for it makes nothing new.
    SDL_Surface* surface = SDL_GetWindowSurface(m_window);
    const PXRect& v = layout.view;
    if (surface == nullptr || surface->format == nullptr || surface->format->format != SDL_PIXELFORMAT_RGB888 ||
        v.left < 0 || v.top < 0 || v.right > surface->w || v.bottom > surface->h) {
        return nullptr;
    }
    return surface;
}

bool PXSDLScreen2D::FollowLayout()
{
    const PXScaleLayout layout = CurrentLayout();
    SDL_Surface* surface = DirectSurface(layout);
    m_direct = surface != nullptr;
    if (m_direct) {
        // The texture's memory is given back; a later scaled layout makes a new one.
        if (m_texture != nullptr) {
            SDL_DestroyTexture(m_texture);
            m_texture = nullptr;
        }
        if (layout != m_layout) {
            m_directSurface = nullptr;
        }
        m_layout = layout;
        // A surface that does not hold the picture yet is due one, dirty rectangles or not.
        if (surface != m_directSurface && m_framePixels != nullptr) {
            m_pictureWaiting = true;
        }
        return true;
    }
    // The texture path takes over: a later switch back converts the whole frame again.
    m_directSurface = nullptr;
    if (layout == m_layout && m_texture != nullptr) {
        return true;
    }
    if (MakeTexture(layout)) {
        return true;
    }
    // A renderer short of memory for the enlarged texture still shows the frame smoothly.
    m_maxFactor = 1;
    return MakeTexture(CurrentLayout());
}

PXScaleLayout PXSDLScreen2D::CurrentLayout() const
{
    int w = m_width, h = m_height;
    if (m_renderer != nullptr) {
        SDL_GetRendererOutputSize(m_renderer, &w, &h);
    }
    return LayoutFor(w, h, m_maxFactor);
}

PXPoint PXSDLScreen2D::WindowToFrame(int32_t x, int32_t y) const
{
    int winW = 0, winH = 0, outW = 0, outH = 0;
    if (m_window != nullptr) {
        SDL_GetWindowSize(m_window, &winW, &winH);
    }
    if (m_renderer != nullptr) {
        SDL_GetRendererOutputSize(m_renderer, &outW, &outH);
    }
    // On a high-density display a window point covers several output pixels: take the
    // pixel at its centre.
    if (winW > 0 && winH > 0 && outW > 0 && outH > 0 && (winW != outW || winH != outH)) {
        x = static_cast<int32_t>((2 * static_cast<int64_t>(x) + 1) * outW / (2 * static_cast<int64_t>(winW)));
        y = static_cast<int32_t>((2 * static_cast<int64_t>(y) + 1) * outH / (2 * static_cast<int64_t>(winH)));
    }
    return CurrentLayout().OutputToFrame(x, y);
}

int PXSDLScreen2D::MapMouseEvent(void* data, SDL_Event* event)
{
    auto* screen = static_cast<PXSDLScreen2D*>(data);
    if (screen->m_window == nullptr) {
        return 1;
    }
    const Uint32 id = SDL_GetWindowID(screen->m_window);
    if (event->type == SDL_MOUSEMOTION && event->motion.windowID == id) {
        const PXPoint p = screen->WindowToFrame(event->motion.x, event->motion.y);
        event->motion.x = p.x;
        event->motion.y = p.y;
    } else if ((event->type == SDL_MOUSEBUTTONDOWN || event->type == SDL_MOUSEBUTTONUP) &&
               event->button.windowID == id) {
        const PXPoint p = screen->WindowToFrame(event->button.x, event->button.y);
        event->button.x = p.x;
        event->button.y = p.y;
    }
    return 1;
}

void PXSDLScreen2D::CloseWindow()
{
    SDL_DelEventWatch(MapMouseEvent, this);
    if (m_texture != nullptr) {
        SDL_DestroyTexture(m_texture);
        m_texture = nullptr;
    }
    if (m_renderer != nullptr) {
        SDL_DestroyRenderer(m_renderer);
        m_renderer = nullptr;
    }
    if (m_window != nullptr) {
        SDL_DestroyWindow(m_window);
        m_window = nullptr;
    }
    m_shown.clear();
    m_shown.shrink_to_fit();
    m_shownCurrent = false;
    m_direct = false;
    m_directSurface = nullptr;
}

void PXSDLScreen2D::UploadRect(const PXRect& rect)
{
    const int32_t f = m_layout.factor;
    const SDL_Rect area{rect.left * f, rect.top * f, (rect.right - rect.left) * f, (rect.bottom - rect.top) * f};
    void* pixels = nullptr;
    int pitch = 0;
    if (SDL_LockTexture(m_texture, &area, &pixels, &pitch) != 0) {
        return;
    }
    PXEnlargeToXRGB(m_shown.data(), m_pitch, rect, f, static_cast<uint8_t*>(pixels), static_cast<size_t>(pitch));
    SDL_UnlockTexture(m_texture);
    m_pictureWaiting = true;
}

void PXSDLScreen2D::UploadDirtyRectangles()
{
    RefreshShown();
    ForEachDirtyRectOnFrame([this](const PXRect& r) {
        const size_t offset = static_cast<size_t>(r.left) * 2;
        const size_t bytes = static_cast<size_t>(r.right - r.left) * 2;
        for (int32_t y = r.top; y < r.bottom; ++y) {
            const size_t row = static_cast<size_t>(y) * m_pitch + offset;
            std::memcpy(m_shown.data() + row, m_framePixels + row, bytes);
        }
        UploadRect(r);
    });
    ClearDirtyList();
}

void PXSDLScreen2D::DrawPicture()
{
    int w = 0, h = 0;
    SDL_GetRendererOutputSize(m_renderer, &w, &h);
    const PXRect& v = m_layout.view;
    // The bars around the view; a renderer's back buffer holds nothing worth keeping.
    const SDL_Rect bars[] = {
        {0, 0, w, v.top},
        {0, v.bottom, w, h - v.bottom},
        {0, v.top, v.left, v.bottom - v.top},
        {v.right, v.top, w - v.right, v.bottom - v.top},
    };
    for (const SDL_Rect& bar : bars) {
        if (bar.w > 0 && bar.h > 0) {
            SDL_RenderFillRect(m_renderer, &bar);
        }
    }
    const SDL_Rect view{v.left, v.top, v.right - v.left, v.bottom - v.top};
    SDL_RenderCopy(m_renderer, m_texture, nullptr, &view);
    SDL_RenderPresent(m_renderer);
    m_pictureWaiting = false;
}

bool PXSDLScreen2D::ReadyToPresent()
{
    if (m_window == nullptr || m_renderer == nullptr || m_framePixels == nullptr) {
        return false;
    }
    // A new window size or mode: a texture of the new factor, filled with the picture on show.
    return FollowLayout();
}

void PXSDLScreen2D::ShowOnSurface(SDL_Surface* surface)
{
    const int32_t f = m_layout.factor;
    const PXRect& v = m_layout.view;
    const auto pitch = static_cast<size_t>(surface->pitch);
    if (SDL_MUSTLOCK(surface) && SDL_LockSurface(surface) != 0) {
        return;
    }
    // Where frame pixel (0, 0) goes.
    uint8_t* origin = static_cast<uint8_t*>(surface->pixels) + static_cast<size_t>(v.top) * pitch +
                      static_cast<size_t>(v.left) * 4;
    const PXRect whole{0, m_width, 0, m_height};
    // A surface not yet drawn whole (new, or after the texture showed the picture) takes the
    // bars and the whole frame; after that only the dirty rectangles are converted and sent,
    // the whole window when the whole frame is dirty (as after an exposure, which loses the
    // bars on the display too).
    bool wholeWindow = surface != m_directSurface;
    SDL_Rect rects[PXDirtyList::Capacity];
    int count = 0;
    if (wholeWindow) {
        const SDL_Rect bars[] = {
            {0, 0, surface->w, v.top},
            {0, v.bottom, surface->w, surface->h - v.bottom},
            {0, v.top, v.left, v.bottom - v.top},
            {v.right, v.top, surface->w - v.right, v.bottom - v.top},
        };
        for (const SDL_Rect& bar : bars) {
            if (bar.w > 0 && bar.h > 0) {
                SDL_FillRect(surface, &bar, 0);
            }
        }
        PXEnlargeToXRGB(m_framePixels, m_pitch, whole, f, origin, pitch);
    } else {
        ForEachDirtyRectOnFrame([&](const PXRect& r) {
            PXEnlargeToXRGB(m_framePixels, m_pitch, r, f,
                            origin + static_cast<size_t>(r.top * f) * pitch + static_cast<size_t>(r.left * f) * 4,
                            pitch);
            wholeWindow = wholeWindow || r == whole;
            if (count < PXDirtyList::Capacity) {
                rects[count++] = SDL_Rect{v.left + r.left * f, v.top + r.top * f, (r.right - r.left) * f,
                                          (r.bottom - r.top) * f};
            }
        });
    }
    if (wholeWindow) {
        rects[0] = SDL_Rect{0, 0, surface->w, surface->h};
        count = 1;
    }
    if (SDL_MUSTLOCK(surface)) {
        SDL_UnlockSurface(surface);
    }
    ClearDirtyList();
    m_shownCurrent = false;
    m_pictureWaiting = false;
    if (count > 0 && SDL_UpdateWindowSurfaceRects(m_window, rects, count) == 0) {
        m_directSurface = surface;
    } else if (count > 0) {
        // Not shown: the next present sends the whole picture again.
        m_directSurface = nullptr;
    }
}

void PXSDLScreen2D::ShowDirtyRectangles()
{
    if (m_direct) {
        if (SDL_Surface* surface = DirectSurface(m_layout)) {
            ShowOnSurface(surface);
            return;
        }
        // The surface went away under us: the texture path takes the picture.
        m_direct = false;
        m_directSurface = nullptr;
        if (!MakeTexture(m_layout)) {
            return;
        }
    }
    UploadDirtyRectangles();
    if (m_pictureWaiting) {
        DrawPicture();
    }
}

uint32_t PXSDLScreen2D::Minimize(bool minimise)
{
    if (m_fullScreen && m_window != nullptr) {
        if (minimise) {
            SDL_MinimizeWindow(m_window);
        } else {
            SDL_RestoreWindow(m_window);
        }
    }
    return 1;
}

uint32_t PXSDLScreen2D::SetHighPriority(bool high)
{
    // Raising the priority needs a privilege a player rarely has; failing is harmless.
    return setpriority(PRIO_PROCESS, 0, high ? -5 : 0) == 0 ? 1 : 0;
}

uint32_t PXSDLScreen2D::SetCursorVisible(bool visible)
{
    if (visible == m_cursorHidden) {
        m_cursorHidden = !visible;
        SDL_ShowCursor(visible ? SDL_ENABLE : SDL_DISABLE);
    }
    return 1;
}

uint32_t PXSDLScreen2D::SetCursorPosition(const PXPoint& point)
{
    if (m_window == nullptr || m_renderer == nullptr) {
        return 0;
    }
    const PXPoint out = CurrentLayout().FrameToOutput(point.x, point.y);
    int winW = 0, winH = 0, outW = 0, outH = 0;
    SDL_GetWindowSize(m_window, &winW, &winH);
    SDL_GetRendererOutputSize(m_renderer, &outW, &outH);
    int wx = out.x, wy = out.y;
    if (outW > 0 && outH > 0) {
        wx = static_cast<int>(static_cast<int64_t>(out.x) * winW / outW);
        wy = static_cast<int>(static_cast<int64_t>(out.y) * winH / outH);
    }
    SDL_WarpMouseInWindow(m_window, wx, wy);
    return 1;
}

uint32_t PXSDLScreen2D::GetCursorPosition(PXPoint* point)
{
    if (point == nullptr || m_renderer == nullptr) {
        return 0;
    }
    int wx = 0, wy = 0;
    SDL_GetMouseState(&wx, &wy);
    *point = WindowToFrame(wx, wy);
    return 1;
}

bool PXSDLScreen2D::ToggleFullScreen()
{
    if (m_window == nullptr) {
        return false;
    }
    const bool wanted = !m_fullScreen;
    if (SDL_SetWindowFullscreen(m_window, wanted ? SDL_WINDOW_FULLSCREEN_DESKTOP : 0) != 0) {
        LogF("ToggleFullScreen - %s", SDL_GetError());
        return false;
    }
    if (!wanted) {
        // Back to the frame's own size at the display's centre.
        SDL_SetWindowSize(m_window, m_width, m_height);
        SDL_SetWindowPosition(m_window, SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED);
    }
    m_fullScreen = wanted;
    Clear();
    return true;
}
