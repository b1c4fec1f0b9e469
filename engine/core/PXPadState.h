// What every plugged-in pad holds, turned into the engine's pad events. The platforms feed it
// raw buttons, D-pad and left stick; it merges the D-pad with the stick (a direction is down
// while either holds it), gives the stick a dead zone with hysteresis, queues a down or up for
// each change of what a pad holds, and knows the pad in use (the last one to press anything).
#pragma once

#include <cstdint>
#include <vector>

#include "engine/core/PXEvent.h"

class PXPadState {
public:
    // A stick axis past this (of 32767) holds its direction...
    static constexpr int32_t StickPressAt = 16000;
    // ...until it comes back within this, so a stick resting near the edge does not chatter.
    static constexpr int32_t StickReleaseAt = 12000;
    // No pad is in use.
    static constexpr int32_t NoPad = -1;

    // The bit of `button` in a held mask (0 for a value that is no button).
    static uint32_t Bit(int32_t button);

    // A pad was plugged in under the platform's `id`: queues EventPadAdded. A pad already
    // known is left alone (false).
    bool Add(int32_t id, PXEventQueue& queue);
    // The pad `id` is gone: queues an up for everything it still held, then EventPadRemoved
    // (1 when it was the pad in use). False for a pad not known.
    bool Remove(int32_t id, PXEventQueue& queue);

    // A button (face, shoulder, Back, Start or a D-pad direction) pressed or released.
    void SetButton(int32_t id, int32_t button, bool down, PXEventQueue& queue);
    // Every button at once: `held` is a mask of Bit() values.
    void SetButtons(int32_t id, uint32_t held, PXEventQueue& queue);
    // The left stick's axes, -32768..32767; x grows to the right and y grows downwards.
    void SetStickX(int32_t id, int32_t value, PXEventQueue& queue);
    void SetStickY(int32_t id, int32_t value, PXEventQueue& queue);

    bool Has(int32_t id) const;
    // Whether `button` is down on pad `id`, from its buttons or its stick.
    bool IsHeld(int32_t id, int32_t button) const;
    // The pad that last pressed something, or NoPad.
    int32_t PadInUse() const { return m_inUse; }
    size_t PadCount() const { return m_pads.size(); }

private:
    struct Pad {
        int32_t id = 0;
        uint32_t buttons = 0;
        int32_t stickX = 0;  // -1, 0 or 1: the direction the stick's axis holds
        int32_t stickY = 0;
        uint32_t reported = 0;  // what the game was last told the pad holds
    };

    Pad* Find(int32_t id);
    const Pad* Find(int32_t id) const;
    // Queues the downs and ups from what `pad` was last reported to hold to what it holds now.
    void Report(Pad& pad, PXEventQueue& queue);
    static uint32_t Held(const Pad& pad);
    // The direction (-1, 0, 1) an axis at `value` holds, given the one it held.
    static int32_t StickDirection(int32_t held, int32_t value);

    std::vector<Pad> m_pads;
    int32_t m_inUse = NoPad;
};
