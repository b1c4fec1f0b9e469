// Window-message translation for the window procedure.
#include "platform/win32/PXWin32EventTranslator.h"

#include <windows.h>
#include <windowsx.h>

namespace {

int32_t MouseButtonEvent(uint32_t message)
{
    switch (message) {
    case WM_LBUTTONDOWN:
        return EventLeftDown;
    case WM_LBUTTONUP:
        return EventLeftUp;
    case WM_RBUTTONDOWN:
        return EventRightDown;
    case WM_RBUTTONUP:
        return EventRightUp;
    case WM_MBUTTONDOWN:
        return EventMiddleDown;
    case WM_MBUTTONUP:
        return EventMiddleUp;
    default:
        return 0;
    }
}

}  // namespace

void PXWin32EventTranslator::SetView(const PXRect& view, int32_t frameWidth, int32_t frameHeight)
{
    if (view.IsEmpty() || frameWidth < 1 || frameHeight < 1)
        return;
    m_view = view;
    m_frameWidth = frameWidth;
    m_frameHeight = frameHeight;
}

PXPoint PXWin32EventTranslator::ClientToFrame(int32_t x, int32_t y) const
{
    return PXViewToFrame(m_view, m_frameWidth, m_frameHeight, x, y);
}

PXPoint PXWin32EventTranslator::FrameToClient(int32_t x, int32_t y) const
{
    return PXFrameToView(m_view, m_frameWidth, m_frameHeight, x, y);
}

int32_t PXWin32EventTranslator::SpecialKeyCode(uintptr_t virtualKey)
{
    switch (virtualKey) {
    case VK_UP:
        return KeyArrowUp;
    case VK_DOWN:
        return KeyArrowDown;
    case VK_RIGHT:
        return KeyArrowRight;
    case VK_LEFT:
        return KeyArrowLeft;
    case VK_CONTROL:
        return KeyControl;
    case VK_SHIFT:
        return KeyShift;
    case VK_PRIOR:
        return KeyPageUp;
    case VK_NEXT:
        return KeyPageDown;
    case VK_HOME:
        return KeyHome;
    case VK_END:
        return KeyEnd;
    default:
        if (virtualKey >= VK_F1 && virtualKey <= VK_F12)
            return KeyF1 + static_cast<int32_t>(virtualKey - VK_F1);
        return 0;
    }
}

PXWin32WindowAction PXWin32EventTranslator::Translate(uint32_t message, uintptr_t wParam, intptr_t lParam,
                                                      PXEventQueue& queue) const
{
    switch (message) {
    case WM_MOUSEMOVE: {
        const PXPoint p = ClientToFrame(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
        queue.Push(EventMouseMove, PackMousePosition(p.x, p.y));
        return PXWin32WindowAction::Handled;
    }
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
    case WM_MBUTTONDOWN:
    case WM_MBUTTONUP: {
        // A click carries its own position; the game must see it before the button, or the
        // click lands where the last move left the pointer.
        const PXPoint p = ClientToFrame(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
        queue.Push(EventMouseMove, PackMousePosition(p.x, p.y));
        queue.Push(MouseButtonEvent(message));
        return PXWin32WindowAction::Handled;
    }
    case WM_KEYDOWN:
    case WM_KEYUP:
        if (const int32_t code = SpecialKeyCode(wParam))
            queue.Push(message == WM_KEYDOWN ? EventKeyDown : EventKeyUp, code);
        return PXWin32WindowAction::Handled;
    case WM_SYSKEYDOWN:
    case WM_SYSKEYUP:
        // F10 and keys held with Alt arrive as system keys. F10 is the game's; Alt with a
        // key (Alt+F4 closing the window) stays the system's.
        if (wParam == VK_F10) {
            queue.Push(message == WM_SYSKEYDOWN ? EventKeyDown : EventKeyUp, KeyF10);
            return PXWin32WindowAction::Handled;
        }
        return PXWin32WindowAction::Default;
    case WM_CHAR:
        queue.Push(EventKeyDown, CharKeyCode(static_cast<unsigned char>(wParam & 0xFF)));
        return PXWin32WindowAction::Handled;
    case WM_ACTIVATEAPP:
        queue.Push(LOWORD(wParam) != 0 ? EventActivate : EventDeactivate);
        return PXWin32WindowAction::Handled;
    case WM_PAINT:
        return PXWin32WindowAction::Repaint;
    case WM_CLOSE:
        return PXWin32WindowAction::Close;
    case WM_SIZE:
        return PXWin32WindowAction::Resized;
    default:
        return PXWin32WindowAction::Default;
    }
}
