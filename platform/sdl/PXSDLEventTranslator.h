// Turns SDL events into the engine's input events, the way the game expects them from a
// window: characters as sign-extended bytes, special keys as codes 256-279, activation; the
// game controllers' events go to the pads object it was given.
#pragma once

#include <SDL.h>

#include "engine/core/PXApplication.h"
#include "engine/core/PXEvent.h"

class PXSDLGamepads;

class PXSDLEventTranslator {
public:
    // `gamepads` (not owned, may be null: controllers are then ignored) must outlive the
    // translator.
    explicit PXSDLEventTranslator(PXSDLGamepads* gamepads = nullptr) : m_gamepads(gamepads) {}

    // Queues the engine events for `event` and answers what the window must do about it.
    PXWindowAction Translate(const SDL_Event& event, PXEventQueue& queue) const;

    // The special-key code for an SDL key, or 0 when the key has none.
    static int32_t SpecialKeyCode(SDL_Keycode key);
    // The character code for keys that produce control characters (Escape, Return,
    // Backspace, Tab), or 0.
    static int32_t ControlCharacter(SDL_Keycode key);
    // Appends a key-down for every character of UTF-8 text that Windows-1252 has, as its
    // sign-extended byte.
    static void QueueText(const char* utf8, PXEventQueue& queue);

private:
    PXSDLGamepads* m_gamepads;
};
