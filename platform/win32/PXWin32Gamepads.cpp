// XInput pads as the engine's pads.
#include "platform/win32/PXWin32Gamepads.h"

const std::array<PXWin32Gamepads::ButtonBit, 12>& PXWin32Gamepads::ButtonTable()
{
    static const std::array<ButtonBit, 12> table = {{
        {XINPUT_GAMEPAD_A, PadSouth},
        {XINPUT_GAMEPAD_B, PadEast},
        {XINPUT_GAMEPAD_X, PadWest},
        {XINPUT_GAMEPAD_Y, PadNorth},
        {XINPUT_GAMEPAD_BACK, PadBack},
        {XINPUT_GAMEPAD_START, PadStart},
        {XINPUT_GAMEPAD_DPAD_UP, PadUp},
        {XINPUT_GAMEPAD_DPAD_DOWN, PadDown},
        {XINPUT_GAMEPAD_DPAD_LEFT, PadLeft},
        {XINPUT_GAMEPAD_DPAD_RIGHT, PadRight},
        {XINPUT_GAMEPAD_LEFT_SHOULDER, PadLeftShoulder},
        {XINPUT_GAMEPAD_RIGHT_SHOULDER, PadRightShoulder},
    }};
    return table;
}

uint32_t PXWin32Gamepads::HeldButtons(uint16_t buttons)
{
    uint32_t held = 0;
    for (const ButtonBit& entry : ButtonTable()) {
        if ((buttons & entry.xinput) != 0) {
            held |= PXPadState::Bit(entry.pad);
        }
    }
    return held;
}

PXWin32Gamepads::PXWin32Gamepads()
{
    for (const char* name : {"xinput1_4.dll", "xinput9_1_0.dll"}) {
        m_module.reset(LoadLibraryA(name));
        if (m_module) {
            break;
        }
    }
    if (m_module) {
        // The detour through a function without parameters keeps the cast warning-free.
        const FARPROC found = GetProcAddress(m_module.get(), "XInputGetState");
        m_getState = reinterpret_cast<GetStateFunction>(reinterpret_cast<void (*)()>(found));
    }
}

PXWin32Gamepads::PXWin32Gamepads(GetStateFunction getState) : m_getState(getState) {}

void PXWin32Gamepads::Poll(uint32_t nowMs, PXEventQueue& queue)
{
    if (m_getState == nullptr || (m_polled && nowMs - m_lastPollMs < PollIntervalMs)) {
        return;
    }
    const bool readEmpty = !m_polled || nowMs - m_lastEmptySlotMs >= EmptySlotIntervalMs;
    m_polled = true;
    m_lastPollMs = nowMs;
    if (readEmpty) {
        m_lastEmptySlotMs = nowMs;
    }
    for (DWORD slot = 0; slot < Slots; ++slot) {
        if (readEmpty || m_state.Has(static_cast<int32_t>(slot))) {
            ReadSlot(slot, queue);
        }
    }
}

void PXWin32Gamepads::ReadSlot(DWORD slot, PXEventQueue& queue)
{
    const auto id = static_cast<int32_t>(slot);
    XINPUT_STATE state{};
    if (m_getState(slot, &state) != ERROR_SUCCESS) {
        m_state.Remove(id, queue);
        return;
    }
    m_state.Add(id, queue);
    m_state.SetButtons(id, HeldButtons(state.Gamepad.wButtons), queue);
    m_state.SetStickX(id, state.Gamepad.sThumbLX, queue);
    // XInput's y grows upwards.
    m_state.SetStickY(id, -static_cast<int32_t>(state.Gamepad.sThumbLY), queue);
}
