// The Win32 window, its DIB-section frame buffer, picture on show and sharp mode's enlarged
// picture, and the window procedure.
#include "platform/win32/PXWin32Screen2D.h"

#include <windows.h>

#include <algorithm>
#include <cstring>

#include "engine/core/PXLog.h"

namespace {

constexpr DWORD WindowedStyle = WS_OVERLAPPEDWINDOW;
constexpr DWORD FullScreenStyle = WS_POPUP;

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto* screen = reinterpret_cast<PXWin32Screen2D*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (screen != nullptr) {
        const intptr_t result = screen->HandleMessage(message, wParam, lParam);
        if (result >= 0)
            return result;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

// A top-down DIB section of `width` x `height` pixels: 16-bit 5-5-5 or 32-bit 0x00RRGGBB.
HBITMAP CreateSection(HDC reference, uint32_t width, uint32_t height, uint8_t** pixels, WORD bitCount = 16)
{
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = static_cast<LONG>(width);
    info.bmiHeader.biHeight = -static_cast<LONG>(height);
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = bitCount;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(reference, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    *pixels = bitmap != nullptr ? static_cast<uint8_t*>(bits) : nullptr;
    return bitmap;
}

}  // namespace

PXWin32Screen2D::PXWin32Screen2D(PXGame* owner) : PXWindowScreen2D(owner)
{
    CreateImageTable();
}

PXWin32Screen2D::~PXWin32Screen2D()
{
    Destroy();
}

bool PXWin32Screen2D::OpenWindow(PXScreenDesc* desc)
{
    // A display of fewer than 15 bits per pixel cannot show a window of ours well.
    HDC display = GetDC(nullptr);
    if (display != nullptr) {
        if (GetDeviceCaps(display, BITSPIXEL) < 15)
            desc->fullScreen = true;
        ReleaseDC(nullptr, display);
    }
    return RegisterAndOpen(desc->fullScreen);
}

void PXWin32Screen2D::PlaceWindow()
{
    PlaceWindow(m_fullScreen);
}

void PXWin32Screen2D::ShowWindow()
{
    ::ShowWindow(m_window, SW_SHOWNORMAL);
    UpdateView();
}

bool PXWin32Screen2D::RegisterAndOpen(bool fullScreen)
{
    HINSTANCE instance = GetModuleHandleA(nullptr);
    WNDCLASSEXA windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.style = CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS | CS_OWNDC;
    windowClass.lpfnWndProc = WindowProc;
    windowClass.hInstance = instance;
    // The program's own icon when it carries one, else the system's.
    windowClass.hIcon = LoadIconA(instance, MAKEINTRESOURCEA(1));
    if (windowClass.hIcon == nullptr)
        windowClass.hIcon = LoadIconA(nullptr, IDI_APPLICATION);
    windowClass.hIconSm = windowClass.hIcon;
    windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    windowClass.lpszClassName = m_title.c_str();
    if (!RegisterClassExA(&windowClass) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS)
        return false;
    m_window = CreateWindowExA(0, m_title.c_str(), m_title.c_str(), fullScreen ? FullScreenStyle : WindowedStyle,
                               0, 0, m_width, m_height, nullptr, nullptr, instance, nullptr);
    if (m_window == nullptr)
        return false;
    SetWindowLongPtrA(m_window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    return true;
}

void PXWin32Screen2D::PlaceWindow(bool fullScreen)
{
    const int displayW = GetSystemMetrics(SM_CXSCREEN);
    const int displayH = GetSystemMetrics(SM_CYSCREEN);
    const DWORD style = fullScreen ? FullScreenStyle : WindowedStyle;
    SetWindowLongPtrA(m_window, GWL_STYLE, static_cast<LONG_PTR>(style | (GetWindowLongPtrA(m_window, GWL_STYLE) &
                                                                         WS_VISIBLE)));
    RECT rect{0, 0, fullScreen ? displayW : m_width, fullScreen ? displayH : m_height};
    if (!fullScreen && m_adjustWindowRect)
        AdjustWindowRectEx(&rect, style, FALSE, 0);
    const int w = rect.right - rect.left;
    const int h = rect.bottom - rect.top;
    // Full screen is a borderless window over the whole display, not a display mode.
    const int x = fullScreen ? 0 : (displayW - w) / 2;
    const int y = fullScreen ? 0 : (displayH - h) / 2;
    SetWindowPos(m_window, fullScreen ? HWND_TOP : HWND_NOTOPMOST, x, y, w, h,
                 SWP_FRAMECHANGED | SWP_NOACTIVATE);
}

bool PXWin32Screen2D::CreateFrameBuffer(uint32_t width, uint32_t height, uint32_t)
{
    HDC windowDC = GetDC(m_window);
    if (windowDC == nullptr)
        return false;
    m_pitch = (2 * width + 3) & ~3u;
    m_frameBitmap = CreateSection(windowDC, width, height, &m_framePixels);
    m_shownBitmap = CreateSection(windowDC, width, height, &m_shownPixels);
    m_frameDC = CreateCompatibleDC(windowDC);
    m_shownDC = CreateCompatibleDC(windowDC);
    ReleaseDC(m_window, windowDC);
    if (!m_frameBitmap || !m_shownBitmap || !m_frameDC || !m_shownDC)
        return false;
    m_frameOld = static_cast<HBITMAP>(SelectObject(m_frameDC, m_frameBitmap));
    m_shownOld = static_cast<HBITMAP>(SelectObject(m_shownDC, m_shownBitmap));
    std::memset(m_shownPixels, 0, static_cast<size_t>(m_pitch) * height);
    return true;
}

void PXWin32Screen2D::FreeFrameBuffer()
{
    if (m_frameDC) {
        SelectObject(m_frameDC, m_frameOld);
        DeleteDC(m_frameDC);
    }
    if (m_shownDC) {
        SelectObject(m_shownDC, m_shownOld);
        DeleteDC(m_shownDC);
    }
    if (m_frameBitmap)
        DeleteObject(m_frameBitmap);
    if (m_shownBitmap)
        DeleteObject(m_shownBitmap);
    m_frameDC = m_shownDC = nullptr;
    m_frameBitmap = m_shownBitmap = m_frameOld = m_shownOld = nullptr;
    m_framePixels = m_shownPixels = nullptr;
}

bool PXWin32Screen2D::MakeEnlarged()
{
    HDC windowDC = GetDC(m_window);
    if (windowDC == nullptr)
        return false;
    uint8_t* pixels = nullptr;
    m_enlargedBitmap = CreateSection(windowDC, static_cast<uint32_t>(m_layout.EnlargedWidth()),
                                     static_cast<uint32_t>(m_layout.EnlargedHeight()), &pixels, 32);
    m_enlargedDC = CreateCompatibleDC(windowDC);
    ReleaseDC(m_window, windowDC);
    if (m_enlargedBitmap == nullptr || m_enlargedDC == nullptr || m_shownPixels == nullptr) {
        FreeEnlarged();
        return false;
    }
    m_enlargedOld = static_cast<HBITMAP>(SelectObject(m_enlargedDC, m_enlargedBitmap));
    m_enlargedPixels = reinterpret_cast<uint32_t*>(pixels);
    GdiFlush();
    PXEnlargeToXRGB(m_shownPixels, m_pitch, {0, m_width, 0, m_height}, m_layout.factor, pixels,
                    static_cast<size_t>(m_layout.EnlargedWidth()) * 4);
    return true;
}

void PXWin32Screen2D::FreeEnlarged()
{
    if (m_enlargedDC) {
        if (m_enlargedOld)
            SelectObject(m_enlargedDC, m_enlargedOld);
        DeleteDC(m_enlargedDC);
    }
    if (m_enlargedBitmap)
        DeleteObject(m_enlargedBitmap);
    m_enlargedDC = nullptr;
    m_enlargedBitmap = m_enlargedOld = nullptr;
    m_enlargedPixels = nullptr;
}

void PXWin32Screen2D::CloseWindow()
{
    FreeEnlarged();
    m_layout = PXScaleLayout();
    FreeFrameBuffer();
    if (m_window != nullptr) {
        // The procedure must not reach a screen that no longer has this window.
        SetWindowLongPtrA(m_window, GWLP_USERDATA, 0);
        DestroyWindow(m_window);
        m_window = nullptr;
    }
}

void PXWin32Screen2D::UpdateView()
{
    if (m_window == nullptr || m_width < 1 || m_height < 1)
        return;
    RECT client{};
    GetClientRect(m_window, &client);
    const PXScaleLayout layout = LayoutFor(client.right, client.bottom, PXScaleLayout::LargestFactor);
    // Only a whole factor that still needs the smooth step goes through the enlarged
    // picture; a whole factor alone is stretched exactly from the picture on show.
    const bool enlarge = layout.factor > 1 && !layout.IsExact();
    if (layout != m_layout || enlarge != (m_enlargedDC != nullptr)) {
        FreeEnlarged();
        m_layout = layout;
        if (enlarge && !MakeEnlarged())
            LogF("CreateWin32Screen2D - No enlarged picture; stretching smoothly");
    }
    m_translator.SetView(m_layout.view, m_width, m_height);
    m_barsDirty = true;
}

void PXWin32Screen2D::SetScaleMode(PXScaleMode mode)
{
    m_scaleMode = mode;
    UpdateView();
    // The next Present shows the whole picture in the new layout.
    if (m_created)
        InvalidateRect({0, m_width, 0, m_height}, false);
}

void PXWin32Screen2D::Stretch(HDC windowDC)
{
    const PXRect& v = m_layout.view;
    const int w = v.right - v.left;
    const int h = v.bottom - v.top;
    if (m_layout.IsExact()) {
        // Whole factors: every frame pixel becomes the same square.
        SetStretchBltMode(windowDC, COLORONCOLOR);
        StretchBlt(windowDC, v.left, v.top, w, h, m_shownDC, 0, 0, m_width, m_height, SRCCOPY);
        return;
    }
    SetStretchBltMode(windowDC, HALFTONE);
    SetBrushOrgEx(windowDC, 0, 0, nullptr);
    if (m_enlargedDC != nullptr)
        StretchBlt(windowDC, v.left, v.top, w, h, m_enlargedDC, 0, 0, m_layout.EnlargedWidth(),
                   m_layout.EnlargedHeight(), SRCCOPY);
    else
        StretchBlt(windowDC, v.left, v.top, w, h, m_shownDC, 0, 0, m_width, m_height, SRCCOPY);
}

void PXWin32Screen2D::ShowDirtyRectangles()
{
    if (m_dirtyList.count == 0) {
        return;
    }
    GdiFlush();
    ForEachDirtyRectOnFrame([this](const PXRect& r) {
        BitBlt(m_shownDC, r.left, r.top, r.right - r.left, r.bottom - r.top, m_frameDC, r.left, r.top, SRCCOPY);
        // The whole-factor step, for the dirty rectangles only.
        if (m_enlargedPixels != nullptr) {
            const size_t pitch = static_cast<size_t>(m_layout.EnlargedWidth()) * 4;
            uint8_t* at = reinterpret_cast<uint8_t*>(m_enlargedPixels) +
                          static_cast<size_t>(r.top * m_layout.factor) * pitch +
                          static_cast<size_t>(r.left * m_layout.factor) * 4;
            PXEnlargeToXRGB(m_framePixels, m_pitch, r, m_layout.factor, at, pitch);
        }
    });
    HDC windowDC = GetDC(m_window);
    if (windowDC != nullptr) {
        if (m_barsDirty) {
            RECT client{};
            GetClientRect(m_window, &client);
            PatBlt(windowDC, 0, 0, client.right, client.bottom, BLACKNESS);
            m_barsDirty = false;
        }
        Stretch(windowDC);
        ReleaseDC(m_window, windowDC);
    }
    ClearDirtyList();
}

uint32_t PXWin32Screen2D::Minimize(bool minimise)
{
    if (m_fullScreen && m_window != nullptr)
        ::ShowWindow(m_window, minimise ? SW_MINIMIZE : SW_SHOWNOACTIVATE);
    return 1;
}

uint32_t PXWin32Screen2D::SetHighPriority(bool high)
{
    return SetPriorityClass(GetCurrentProcess(), high ? HIGH_PRIORITY_CLASS : NORMAL_PRIORITY_CLASS) ? 1 : 0;
}

uint32_t PXWin32Screen2D::SetCursorVisible(bool visible)
{
    // ShowCursor keeps a counter: one call per change keeps it balanced.
    if (visible == m_cursorHidden) {
        m_cursorHidden = !visible;
        ShowCursor(visible ? TRUE : FALSE);
    }
    return 1;
}

uint32_t PXWin32Screen2D::SetCursorPosition(const PXPoint& point)
{
    if (m_window == nullptr)
        return 0;
    const PXPoint client = m_translator.FrameToClient(point.x, point.y);
    POINT p{client.x, client.y};
    ClientToScreen(m_window, &p);
    return SetCursorPos(p.x, p.y) ? 1 : 0;
}

uint32_t PXWin32Screen2D::GetCursorPosition(PXPoint* point)
{
    if (point == nullptr || m_window == nullptr)
        return 0;
    POINT p{};
    if (!GetCursorPos(&p) || !ScreenToClient(m_window, &p))
        return 0;
    *point = m_translator.ClientToFrame(p.x, p.y);
    return 1;
}

uint32_t PXWin32Screen2D::LockScreen(PXSurfaceDesc* out)
{
    if (m_lockCount == 0)
        GdiFlush();
    return PXWindowScreen2D::LockScreen(out);
}

bool PXWin32Screen2D::ToggleFullScreen()
{
    if (m_window == nullptr)
        return false;
    m_fullScreen = !m_fullScreen;
    PlaceWindow(m_fullScreen);
    ::ShowWindow(m_window, SW_SHOWNORMAL);
    UpdateView();
    Clear();
    return true;
}

intptr_t PXWin32Screen2D::HandleMessage(uint32_t message, uintptr_t wParam, intptr_t lParam)
{
    PXEventQueue ignored;
    switch (m_translator.Translate(message, wParam, lParam, m_queue != nullptr ? *m_queue : ignored)) {
    case PXWin32WindowAction::Default:
        return -1;
    case PXWin32WindowAction::Handled:
        return message == WM_ACTIVATEAPP ? 0 : 1;
    case PXWin32WindowAction::Repaint: {
        PAINTSTRUCT paint;
        HWND window = m_window;
        BeginPaint(window, &paint);
        m_barsDirty = true;
        HandOn(PXWindowAction::Repaint);
        EndPaint(window, &paint);
        return 0;
    }
    case PXWin32WindowAction::Close:
        // Not the default procedure's DestroyWindow: the window goes with the screen's Destroy.
        HandOn(PXWindowAction::Close);
        return 0;
    case PXWin32WindowAction::Resized:
        UpdateView();
        HandOn(PXWindowAction::Resized);
        return 0;
    }
    return -1;
}

void PXWin32Screen2D::HandOn(PXWindowAction action)
{
    if (m_windowActionHandler)
        m_windowActionHandler(action);
}
