// Input events: the record the platform layer queues and the game drains once a frame.
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>

enum PXEventType : int32_t {
    EventTick = 1,        // value: elapsed time since the previous tick in 0.1 ms units
    EventMouseMove = 2,   // value: low 16 bits x, high 16 bits y (both signed)
    EventLeftDown = 3,
    EventLeftUp = 4,
    EventRightDown = 5,
    EventRightUp = 6,
    EventMiddleDown = 7,
    EventMiddleUp = 8,
    EventKeyDown = 9,     // value: key code
    EventKeyUp = 10,      // value: key code
    EventDeactivate = 11,
    EventActivate = 12,
    EventPadDown = 13,     // value: PXPadButton
    EventPadUp = 14,       // value: PXPadButton
    EventPadAdded = 15,    // value: the platform's id of the pad
    EventPadRemoved = 16,  // value: 1 when it was the pad in use (the last to send a button), else 0
};

// Key codes below 256 are characters (bytes sign-extended from 8 bits, so 128..255
// arrive as -128..-1); codes from 256 up are the special keys.
enum PXKeyCode : int32_t {
    KeyBackspace = 8,
    KeyTab = 9,
    KeyReturn = 13,
    KeyEscape = 27,
    KeyArrowUp = 256,
    KeyArrowDown = 257,
    KeyArrowRight = 258,
    KeyArrowLeft = 259,
    KeyControl = 260,
    KeyShift = 261,
    KeyPageUp = 262,
    KeyPageDown = 263,
    KeyHome = 264,
    KeyEnd = 265,
    KeyF1 = 268,
    KeyF2 = 269,
    KeyF3 = 270,
    KeyF4 = 271,
    KeyF5 = 272,
    KeyF6 = 273,
    KeyF7 = 274,
    KeyF8 = 275,
    KeyF9 = 276,
    KeyF10 = 277,
    KeyF11 = 278,
    KeyF12 = 279,
};

// Gamepad buttons, named by place (the south face button is A on most pads). The platform
// turns the left stick into the four directions, so a stick and a D-pad read the same.
enum PXPadButton : int32_t {
    PadSouth = 1,
    PadEast = 2,
    PadWest = 3,
    PadNorth = 4,
    PadBack = 5,
    PadStart = 6,
    PadUp = 7,
    PadDown = 8,
    PadLeft = 9,
    PadRight = 10,
    PadLeftShoulder = 11,
    PadRightShoulder = 12,
};

struct PXEvent {
    int32_t type = 0;
    int32_t value = 0;
};

// Packs a client position into a mouse-move value and back.
inline int32_t PackMousePosition(int x, int y)
{
    return static_cast<int32_t>((static_cast<uint32_t>(static_cast<uint16_t>(y)) << 16) |
                                static_cast<uint16_t>(x));
}
inline int MouseX(int32_t value) { return static_cast<int16_t>(static_cast<uint32_t>(value) & 0xFFFF); }
inline int MouseY(int32_t value) { return static_cast<int16_t>(static_cast<uint32_t>(value) >> 16); }

// The character byte as a key code: sign-extended from 8 bits.
inline int32_t CharKeyCode(unsigned char c) { return static_cast<int8_t>(c); }

// First-in first-out queue of events. It grows on demand and never drops an event.
class PXEventQueue {
public:
    void Push(int32_t type, int32_t value = 0) { m_events.push_back(PXEvent{type, value}); }
    void Push(const PXEvent& event) { m_events.push_back(event); }

    // Removes the front event into `out`; false when the queue is empty.
    bool Pop(PXEvent& out)
    {
        if (m_events.empty())
            return false;
        out = m_events.front();
        m_events.pop_front();
        return true;
    }

    bool IsEmpty() const { return m_events.empty(); }
    size_t Size() const { return m_events.size(); }
    // The event `index` places from the front; index must be below Size().
    const PXEvent& At(size_t index) const { return m_events[index]; }
    void Clear() { m_events.clear(); }

private:
    std::deque<PXEvent> m_events;
};
