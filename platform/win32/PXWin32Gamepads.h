// The four XInput pads: XInput is loaded at run time (no link-time dependency; without it
// there are no pads), the pads are read once a frame and their buttons, D-pad and left stick
// become the engine's pad events through PXPadState, as do plugging in and unplugging.
#pragma once

#include <windows.h>
#include <xinput.h>

#include <array>
#include <cstdint>
#include <memory>
#include <type_traits>

#include "engine/core/PXEvent.h"
#include "engine/core/PXPadState.h"

class PXWin32Gamepads {
public:
    // XInputGetState's signature.
    using GetStateFunction = DWORD(WINAPI*)(DWORD slot, XINPUT_STATE* state);

    static constexpr DWORD Slots = XUSER_MAX_COUNT;
    // The pads are read at most this often...
    static constexpr uint32_t PollIntervalMs = 10;
    // ...and the empty slots only this often: asking an empty slot is slow.
    static constexpr uint32_t EmptySlotIntervalMs = 1000;

    // An XInput button bit and the pad button it stands for.
    struct ButtonBit {
        uint16_t xinput;
        int32_t pad;
    };
    // Every XInput button the game reads; the stick clicks are not among them.
    static const std::array<ButtonBit, 12>& ButtonTable();
    // The PXPadState mask of the buttons held in an XInput button word.
    static uint32_t HeldButtons(uint16_t buttons);

    // Loads xinput1_4.dll, or else xinput9_1_0.dll.
    PXWin32Gamepads();
    // Reads the pads through `getState` (nullptr: no pads).
    explicit PXWin32Gamepads(GetStateFunction getState);

    PXWin32Gamepads(const PXWin32Gamepads&) = delete;
    PXWin32Gamepads& operator=(const PXWin32Gamepads&) = delete;

    bool IsAvailable() const { return m_getState != nullptr; }
    // Reads the pads when PollIntervalMs have passed on the millisecond clock `nowMs` since
    // the last read, queueing the events of what changed. The slot number is the pad's id.
    void Poll(uint32_t nowMs, PXEventQueue& queue);

    const PXPadState& State() const { return m_state; }

private:
    struct FreeModule {
        void operator()(HMODULE module) const { FreeLibrary(module); }
    };

    void ReadSlot(DWORD slot, PXEventQueue& queue);

    std::unique_ptr<std::remove_pointer_t<HMODULE>, FreeModule> m_module;
    GetStateFunction m_getState = nullptr;
    PXPadState m_state;
    bool m_polled = false;
    uint32_t m_lastPollMs = 0;
    uint32_t m_lastEmptySlotMs = 0;
};
