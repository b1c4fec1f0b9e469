// The game controllers SDL knows: opens each one that is plugged in (at start and later),
// closes it when it is unplugged, and turns its buttons, D-pad and left stick into the
// engine's pad events through PXPadState. Triggers and the right stick are not read.
#pragma once

#include <SDL.h>

#include <memory>
#include <vector>

#include "engine/core/PXEvent.h"
#include "engine/core/PXPadState.h"

class PXSDLGamepads {
public:
    // The game-controller subsystem must be initialised while this object lives.
    PXSDLGamepads() = default;

    PXSDLGamepads(const PXSDLGamepads&) = delete;
    PXSDLGamepads& operator=(const PXSDLGamepads&) = delete;

    // Opens every controller that is plugged in now, queueing EventPadAdded for each.
    void OpenPresent(PXEventQueue& queue);
    // Handles a controller event (device added or removed, button, axis); false for any
    // other event.
    bool Handle(const SDL_Event& event, PXEventQueue& queue);

    // The pad button an SDL controller button stands for, or 0.
    static int32_t PadButton(uint8_t button);

    size_t OpenCount() const { return m_controllers.size(); }
    const PXPadState& State() const { return m_state; }

private:
    struct CloseController {
        void operator()(SDL_GameController* controller) const { SDL_GameControllerClose(controller); }
    };
    using Controller = std::unique_ptr<SDL_GameController, CloseController>;

    void Open(int deviceIndex, PXEventQueue& queue);
    void Close(SDL_JoystickID id, PXEventQueue& queue);

    std::vector<std::pair<SDL_JoystickID, Controller>> m_controllers;
    PXPadState m_state;
};
