// The SDL window, its renderer and streaming texture, and the 5-5-5 to XRGB conversion.
#include "platform/sdl/PXSDLScreen2D.h"

#include <SDL.h>
#include <sys/resource.h>

#include <algorithm>
#include <array>
#include <cstring>

#include "engine/core/PXLog.h"

namespace {

// 5-5-5 to 0x00RRGGBB for all 32768 pixel values; the top bit of a pixel is ignored.
const std::array<uint32_t, 32768>& ConversionTable()
{
    static const std::array<uint32_t, 32768> table = [] {
        std::array<uint32_t, 32768> t{};
        for (uint32_t p = 0; p < 32768; ++p) {
            const uint32_t r = (p >> 10) & 31, g = (p >> 5) & 31, b = p & 31;
            // Widen 5 bits to 8 so that full intensity stays full (31 -> 255).
            t[p] = (((r << 3) | (r >> 2)) << 16) | (((g << 3) | (g >> 2)) << 8) | ((b << 3) | (b >> 2));
        }
        return t;
    }();
    return table;
}

}  // namespace

uint32_t PXSDLScreen2D::ToXRGB(uint16_t pixel)
{
    return ConversionTable()[pixel & 0x7FFF];
}

PXSDLScreen2D::PXSDLScreen2D(PXGame* owner) : PXScreen2D(owner)
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

uint32_t PXSDLScreen2D::Create(PXScreenDesc* desc, const char* title)
{
    if (m_lockCount > 0 || desc == nullptr) {
        return 0;
    }
    // The log lines keep the texts the game has always written, whatever the platform.
    LogF("CreateWin32Screen2D - Entered Function");
    const uint32_t depth = desc->pixelFormat.bitsPerPixel & ~7u;
    // The presentation converts 5-5-5 pixels only.
    if (depth != 16 || desc->width < 1 || desc->height < 1 || desc->width > 16384 || desc->height > 16384) {
        return 0;
    }
    if (m_created) {
        Destroy();
    }
    m_title = title != nullptr ? title : "";
    m_width = static_cast<int32_t>(desc->width);
    m_height = static_cast<int32_t>(desc->height);
    if (!OpenWindow(desc->fullScreen)) {
        LogF("CreateWin32Screen2D - Failed Creating Window");
        CloseWindow();
        return 0;
    }
    LogF("CreateWin32Screen2D - Window Created");
    LogF("CreateWin32Screen2D - Opening Windowed Mode");
    LogF("CreateWin32Screen2D - Set Window Position");
    m_pitch = ((2 * desc->width) + 3) & ~3u;
    m_frame.assign(static_cast<size_t>(m_pitch) * desc->height, 0);
    m_shown.assign(static_cast<size_t>(desc->width) * desc->height, 0);
    m_fullScreen = desc->fullScreen;
    m_pixelFormat = MakePixelFormat(depth);
    desc->pixelFormat = m_pixelFormat;
    LogF("CreateWin32Screen2D - Created HBITMAP");
    LogF("CreateWin32Screen2D - Showed Window");
    m_created = true;
    Clear();
    LogF("CreateWin32Screen2D - Exiting Function");
    return 1;
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

}  // namespace

bool PXSDLScreen2D::OpenWindow(bool fullScreen)
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
    m_renderer = SDL_CreateRenderer(m_window, -1, SDL_RENDERER_ACCELERATED | SDL_RENDERER_PRESENTVSYNC);
    if (m_renderer != nullptr && RasterisesOnTheProcessor(m_renderer)) {
        // OpenGL emulated on the processor costs several times what SDL's own software
        // renderer does for the same picture.
        SDL_DestroyRenderer(m_renderer);
        m_renderer = nullptr;
    }
    if (m_renderer == nullptr) {
        SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
        m_renderer = SDL_CreateRenderer(m_window, -1, SDL_RENDERER_SOFTWARE);
    }
    if (m_renderer == nullptr) {
        LogF("CreateWin32Screen2D - %s", SDL_GetError());
        return false;
    }
    // Scales the frame to the window with black bars and maps mouse positions back.
    SDL_RenderSetLogicalSize(m_renderer, m_width, m_height);
    m_texture =
        SDL_CreateTexture(m_renderer, SDL_PIXELFORMAT_RGB888, SDL_TEXTUREACCESS_STREAMING, m_width, m_height);
    if (m_texture == nullptr) {
        LogF("CreateWin32Screen2D - %s", SDL_GetError());
        return false;
    }
    SDL_SetRenderDrawColor(m_renderer, 0, 0, 0, 255);
    return true;
}

void PXSDLScreen2D::CloseWindow()
{
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
}

uint32_t PXSDLScreen2D::Destroy()
{
    PXScreen2D::Destroy();
    CloseWindow();
    m_frame.clear();
    m_frame.shrink_to_fit();
    m_shown.clear();
    m_shown.shrink_to_fit();
    m_created = false;
    return 1;
}

void PXSDLScreen2D::SetPresentPacing(PXClock* clock, uint32_t intervalMs)
{
    m_pacingClock = clock;
    m_presentIntervalMs = intervalMs;
    m_shownOnce = false;
}

bool PXSDLScreen2D::PictureDue()
{
    if (m_pacingClock == nullptr || m_presentIntervalMs == 0) {
        return true;
    }
    const uint32_t now = m_pacingClock->Milliseconds();
    if (m_shownOnce && now - m_lastShownMs < m_presentIntervalMs) {
        return false;
    }
    m_shownOnce = true;
    m_lastShownMs = now;
    return true;
}

void PXSDLScreen2D::UploadDirtyRectangles()
{
    const auto& table = ConversionTable();
    for (int32_t i = 0; i < m_dirtyList.count; ++i) {
        PXRect r = m_dirtyList.rects[i];
        r.left = std::max(r.left, 0);
        r.top = std::max(r.top, 0);
        r.right = std::min(r.right, m_width);
        r.bottom = std::min(r.bottom, m_height);
        if (r.IsEmpty()) {
            continue;
        }
        for (int32_t y = r.top; y < r.bottom; ++y) {
            const uint8_t* src = m_frame.data() + static_cast<size_t>(y) * m_pitch;
            uint32_t* dst = m_shown.data() + static_cast<size_t>(y) * static_cast<size_t>(m_width);
            for (int32_t x = r.left; x < r.right; ++x) {
                uint16_t p;
                std::memcpy(&p, src + static_cast<size_t>(x) * 2, 2);
                dst[x] = table[p & 0x7FFF];
            }
        }
        const SDL_Rect rect{r.left, r.top, r.right - r.left, r.bottom - r.top};
        SDL_UpdateTexture(m_texture, &rect,
                          m_shown.data() + static_cast<size_t>(r.top) * static_cast<size_t>(m_width) + r.left,
                          m_width * 4);
        m_pictureWaiting = true;
    }
    ClearDirtyList();
}

uint32_t PXSDLScreen2D::Present()
{
    if (m_lockCount > 0 || m_window == nullptr || m_texture == nullptr || m_frame.empty()) {
        return 0;
    }
    // Too early for a picture: the rectangles stay on the list and the next frame draws
    // them again with its own, so nothing is converted twice.
    if ((m_dirtyList.count > 0 || m_pictureWaiting) && !PictureDue()) {
        return 1;
    }
    UploadDirtyRectangles();
    if (!m_pictureWaiting) {
        return 1;
    }
    SDL_RenderClear(m_renderer);
    SDL_RenderCopy(m_renderer, m_texture, nullptr, nullptr);
    SDL_RenderPresent(m_renderer);
    m_pictureWaiting = false;
    return 1;
}

uint32_t PXSDLScreen2D::Clear()
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
    int wx = 0, wy = 0;
    SDL_RenderLogicalToWindow(m_renderer, static_cast<float>(point.x), static_cast<float>(point.y), &wx, &wy);
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
    float lx = 0, ly = 0;
    SDL_RenderWindowToLogical(m_renderer, wx, wy, &lx, &ly);
    point->x = static_cast<int32_t>(lx);
    point->y = static_cast<int32_t>(ly);
    return 1;
}

uint32_t PXSDLScreen2D::LockScreen(PXSurfaceDesc* out)
{
    if (m_frame.empty()) {
        return 0;
    }
    ++m_lockCount;
    if (out != nullptr) {
        out->bytesPerPixel = 2;
        out->width = static_cast<uint32_t>(m_width);
        out->height = static_cast<uint32_t>(m_height);
        out->pitch = m_pitch;
        out->pixels = m_frame.data();
    }
    return 1;
}

uint32_t PXSDLScreen2D::UnlockScreen()
{
    if (m_lockCount > 0) {
        --m_lockCount;
    }
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
