// Turns window messages into the engine's input events: mouse positions in frame pixels,
// characters as sign-extended bytes, special keys as codes 256-279, activation.
#pragma once

#include <cstdint>

#include "engine/core/PXEvent.h"
#include "engine/graphics/PXGraphicsTypes.h"
#include "engine/graphics/PXScaleLayout.h"

// What the window itself must do about a message, besides queueing engine events.
enum class PXWin32WindowAction {
    Default,  // not ours: the default window procedure handles it
    Handled,
    Repaint,  // the window must be painted: clear the frame so the next frame redraws it all
    Close,    // the window is being closed
    Resized,  // the client area changed size
};

class PXWin32EventTranslator {
public:
    // The frame is shown in `view` (client pixels, from PXScaleLayout), a frameWidth x
    // frameHeight picture.
    void SetView(const PXRect& view, int32_t frameWidth, int32_t frameHeight);

    // `message`, `wParam` and `lParam` as the window procedure gets them.
    PXWin32WindowAction Translate(uint32_t message, uintptr_t wParam, intptr_t lParam,
                                  PXEventQueue& queue) const;

    // The special-key code for a virtual key, or 0 when the key has none.
    static int32_t SpecialKeyCode(uintptr_t virtualKey);
    // A client position as a frame position (outside the view it lies outside the frame).
    PXPoint ClientToFrame(int32_t x, int32_t y) const;
    // A frame position as a client position.
    PXPoint FrameToClient(int32_t x, int32_t y) const;

private:
    PXRect m_view{0, 640, 0, 480};
    int32_t m_frameWidth = 640;
    int32_t m_frameHeight = 480;
};
