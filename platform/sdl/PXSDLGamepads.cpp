// SDL game controllers as the engine's pads.
#include "platform/sdl/PXSDLGamepads.h"

#include <algorithm>

int32_t PXSDLGamepads::PadButton(uint8_t button)
{
    switch (button) {
    case SDL_CONTROLLER_BUTTON_A:
        return PadSouth;
    case SDL_CONTROLLER_BUTTON_B:
        return PadEast;
    case SDL_CONTROLLER_BUTTON_X:
        return PadWest;
    case SDL_CONTROLLER_BUTTON_Y:
        return PadNorth;
    case SDL_CONTROLLER_BUTTON_BACK:
        return PadBack;
    case SDL_CONTROLLER_BUTTON_START:
        return PadStart;
    case SDL_CONTROLLER_BUTTON_DPAD_UP:
        return PadUp;
    case SDL_CONTROLLER_BUTTON_DPAD_DOWN:
        return PadDown;
    case SDL_CONTROLLER_BUTTON_DPAD_LEFT:
        return PadLeft;
    case SDL_CONTROLLER_BUTTON_DPAD_RIGHT:
        return PadRight;
    case SDL_CONTROLLER_BUTTON_LEFTSHOULDER:
        return PadLeftShoulder;
    case SDL_CONTROLLER_BUTTON_RIGHTSHOULDER:
        return PadRightShoulder;
    default:
        return 0;
    }
}

void PXSDLGamepads::OpenPresent(PXEventQueue& queue)
{
    const int count = SDL_NumJoysticks();
    for (int index = 0; index < count; ++index) {
        Open(index, queue);
    }
}

void PXSDLGamepads::Open(int deviceIndex, PXEventQueue& queue)
{
    if (!SDL_IsGameController(deviceIndex)) {
        return;
    }
    // SDL also announces the controllers that were there at start: each opens once.
    const SDL_JoystickID id = SDL_JoystickGetDeviceInstanceID(deviceIndex);
    if (id < 0 || m_state.Has(id)) {
        return;
    }
    Controller controller(SDL_GameControllerOpen(deviceIndex));
    if (!controller) {
        return;
    }
    m_controllers.emplace_back(id, std::move(controller));
    m_state.Add(id, queue);
}

void PXSDLGamepads::Close(SDL_JoystickID id, PXEventQueue& queue)
{
    m_state.Remove(id, queue);
    m_controllers.erase(std::remove_if(m_controllers.begin(), m_controllers.end(),
                                       [id](const auto& entry) { return entry.first == id; }),
                        m_controllers.end());
}

bool PXSDLGamepads::Handle(const SDL_Event& event, PXEventQueue& queue)
{
    switch (event.type) {
    case SDL_CONTROLLERDEVICEADDED:
        Open(event.cdevice.which, queue);
        return true;
    case SDL_CONTROLLERDEVICEREMOVED:
        Close(event.cdevice.which, queue);
        return true;
    case SDL_CONTROLLERBUTTONDOWN:
    case SDL_CONTROLLERBUTTONUP:
        m_state.SetButton(event.cbutton.which, PadButton(event.cbutton.button),
                          event.type == SDL_CONTROLLERBUTTONDOWN, queue);
        return true;
    case SDL_CONTROLLERAXISMOTION:
        if (event.caxis.axis == SDL_CONTROLLER_AXIS_LEFTX) {
            m_state.SetStickX(event.caxis.which, event.caxis.value, queue);
        } else if (event.caxis.axis == SDL_CONTROLLER_AXIS_LEFTY) {
            m_state.SetStickY(event.caxis.which, event.caxis.value, queue);
        }
        return true;
    default:
        return false;
    }
}
