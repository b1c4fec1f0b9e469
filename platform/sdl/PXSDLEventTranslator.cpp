// SDL event translation for the main loop.
#include "platform/sdl/PXSDLEventTranslator.h"

#include "engine/core/PXCodePage1252.h"
#include "platform/sdl/PXSDLGamepads.h"

namespace {

int32_t MouseButtonEvent(uint8_t button, bool down)
{
    switch (button) {
    case SDL_BUTTON_LEFT:
        return down ? EventLeftDown : EventLeftUp;
    case SDL_BUTTON_RIGHT:
        return down ? EventRightDown : EventRightUp;
    case SDL_BUTTON_MIDDLE:
        return down ? EventMiddleDown : EventMiddleUp;
    default:
        return 0;
    }
}

}  // namespace

int32_t PXSDLEventTranslator::SpecialKeyCode(SDL_Keycode key)
{
    switch (key) {
    case SDLK_UP:
        return KeyArrowUp;
    case SDLK_DOWN:
        return KeyArrowDown;
    case SDLK_RIGHT:
        return KeyArrowRight;
    case SDLK_LEFT:
        return KeyArrowLeft;
    case SDLK_LCTRL:
    case SDLK_RCTRL:
        return KeyControl;
    case SDLK_LSHIFT:
    case SDLK_RSHIFT:
        return KeyShift;
    case SDLK_PAGEUP:
        return KeyPageUp;
    case SDLK_PAGEDOWN:
        return KeyPageDown;
    case SDLK_HOME:
        return KeyHome;
    case SDLK_END:
        return KeyEnd;
    default:
        break;
    }
    if (key >= SDLK_F1 && key <= SDLK_F12)
        return KeyF1 + static_cast<int32_t>(key - SDLK_F1);
    return 0;
}

int32_t PXSDLEventTranslator::ControlCharacter(SDL_Keycode key)
{
    switch (key) {
    case SDLK_ESCAPE:
        return KeyEscape;
    case SDLK_RETURN:
    case SDLK_RETURN2:
    case SDLK_KP_ENTER:
        return KeyReturn;
    case SDLK_BACKSPACE:
        return KeyBackspace;
    case SDLK_TAB:
        return KeyTab;
    default:
        return 0;
    }
}

void PXSDLEventTranslator::QueueText(const char* utf8, PXEventQueue& queue)
{
    // The game's text is Windows-1252, as a Windows window would type it; control
    // characters come from the key events instead.
    for (char c : Utf8ToCodePage1252(utf8)) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte >= 32 && byte != 127)
            queue.Push(EventKeyDown, CharKeyCode(byte));
    }
}

PXWindowAction PXSDLEventTranslator::Translate(const SDL_Event& event, PXEventQueue& queue) const
{
    switch (event.type) {
    case SDL_MOUSEMOTION:
        queue.Push(EventMouseMove, PackMousePosition(event.motion.x, event.motion.y));
        break;
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP: {
        // A click carries its own position; make sure the game sees it before the button.
        queue.Push(EventMouseMove, PackMousePosition(event.button.x, event.button.y));
        int32_t type = MouseButtonEvent(event.button.button, event.type == SDL_MOUSEBUTTONDOWN);
        if (type != 0)
            queue.Push(type);
        break;
    }
    case SDL_KEYDOWN:
    case SDL_KEYUP: {
        bool down = event.type == SDL_KEYDOWN;
        if (int32_t code = SpecialKeyCode(event.key.keysym.sym))
            queue.Push(down ? EventKeyDown : EventKeyUp, code);
        else if (int32_t character = ControlCharacter(event.key.keysym.sym); character != 0 && down)
            queue.Push(EventKeyDown, character);
        break;
    }
    case SDL_TEXTINPUT:
        QueueText(event.text.text, queue);
        break;
    case SDL_WINDOWEVENT:
        switch (event.window.event) {
        case SDL_WINDOWEVENT_FOCUS_LOST:
            queue.Push(EventDeactivate);
            break;
        case SDL_WINDOWEVENT_FOCUS_GAINED:
            queue.Push(EventActivate);
            break;
        case SDL_WINDOWEVENT_EXPOSED:
            return PXWindowAction::Repaint;
        case SDL_WINDOWEVENT_SIZE_CHANGED:
            return PXWindowAction::Resized;
        default:
            break;
        }
        break;
    case SDL_QUIT:
        return PXWindowAction::Close;
    default:
        if (m_gamepads != nullptr) {
            m_gamepads->Handle(event, queue);
        }
        break;
    }
    return PXWindowAction::None;
}
