// Pad state: held masks, the stick's dead zone and the events of a change.
#include "engine/core/PXPadState.h"

#include <algorithm>

namespace {

constexpr int32_t FirstButton = PadSouth;
constexpr int32_t LastButton = PadRightShoulder;

}  // namespace

uint32_t PXPadState::Bit(int32_t button)
{
    if (button < FirstButton || button > LastButton) {
        return 0;
    }
    return 1u << static_cast<uint32_t>(button);
}

PXPadState::Pad* PXPadState::Find(int32_t id)
{
    return const_cast<Pad*>(static_cast<const PXPadState*>(this)->Find(id));
}

const PXPadState::Pad* PXPadState::Find(int32_t id) const
{
    const auto found = std::find_if(m_pads.begin(), m_pads.end(), [id](const Pad& pad) { return pad.id == id; });
    return found == m_pads.end() ? nullptr : &*found;
}

bool PXPadState::Has(int32_t id) const { return Find(id) != nullptr; }

bool PXPadState::Add(int32_t id, PXEventQueue& queue)
{
    if (Has(id)) {
        return false;
    }
    Pad pad;
    pad.id = id;
    m_pads.push_back(pad);
    queue.Push(EventPadAdded, id);
    return true;
}

bool PXPadState::Remove(int32_t id, PXEventQueue& queue)
{
    Pad* pad = Find(id);
    if (pad == nullptr) {
        return false;
    }
    pad->buttons = 0;
    pad->stickX = 0;
    pad->stickY = 0;
    Report(*pad, queue);
    const bool inUse = m_inUse == id;
    if (inUse) {
        m_inUse = NoPad;
    }
    m_pads.erase(m_pads.begin() + (pad - m_pads.data()));
    queue.Push(EventPadRemoved, inUse ? 1 : 0);
    return true;
}

void PXPadState::SetButton(int32_t id, int32_t button, bool down, PXEventQueue& queue)
{
    Pad* pad = Find(id);
    if (pad == nullptr) {
        return;
    }
    SetButtons(id, down ? pad->buttons | Bit(button) : pad->buttons & ~Bit(button), queue);
}

void PXPadState::SetButtons(int32_t id, uint32_t held, PXEventQueue& queue)
{
    if (Pad* pad = Find(id)) {
        pad->buttons = held;
        Report(*pad, queue);
    }
}

void PXPadState::SetStickX(int32_t id, int32_t value, PXEventQueue& queue)
{
    if (Pad* pad = Find(id)) {
        pad->stickX = StickDirection(pad->stickX, value);
        Report(*pad, queue);
    }
}

void PXPadState::SetStickY(int32_t id, int32_t value, PXEventQueue& queue)
{
    if (Pad* pad = Find(id)) {
        pad->stickY = StickDirection(pad->stickY, value);
        Report(*pad, queue);
    }
}

bool PXPadState::IsHeld(int32_t id, int32_t button) const
{
    const Pad* pad = Find(id);
    return pad != nullptr && (Held(*pad) & Bit(button)) != 0;
}

int32_t PXPadState::StickDirection(int32_t held, int32_t value)
{
    // Past the press threshold the stick holds that way; a held direction lets go only once
    // the axis is back inside the release threshold (or pushed hard the other way).
    if (value >= StickPressAt) {
        return 1;
    }
    if (value <= -StickPressAt) {
        return -1;
    }
    if (held > 0 && value > StickReleaseAt) {
        return 1;
    }
    if (held < 0 && value < -StickReleaseAt) {
        return -1;
    }
    return 0;
}

uint32_t PXPadState::Held(const Pad& pad)
{
    uint32_t held = pad.buttons;
    if (pad.stickX != 0) {
        held |= Bit(pad.stickX < 0 ? PadLeft : PadRight);
    }
    if (pad.stickY != 0) {
        held |= Bit(pad.stickY < 0 ? PadUp : PadDown);
    }
    return held;
}

void PXPadState::Report(Pad& pad, PXEventQueue& queue)
{
    // Releases first, so a stick swung straight across lets go of one side before the other.
    const uint32_t held = Held(pad);
    const uint32_t released = pad.reported & ~held;
    const uint32_t pressed = held & ~pad.reported;
    for (int32_t button = FirstButton; button <= LastButton; ++button) {
        if ((released & Bit(button)) != 0) {
            queue.Push(EventPadUp, button);
        }
    }
    for (int32_t button = FirstButton; button <= LastButton; ++button) {
        if ((pressed & Bit(button)) != 0) {
            queue.Push(EventPadDown, button);
            m_inUse = pad.id;
        }
    }
    pad.reported = held;
}
