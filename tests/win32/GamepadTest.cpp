// XInput pads: the button table, and what the game receives from a scripted XInputGetState
// as pads are plugged in, pressed, steered and unplugged.
#include <gtest/gtest.h>

#include <windows.h>
#include <xinput.h>

#include <array>
#include <string>
#include <vector>

#include "platform/win32/PXWin32Gamepads.h"

namespace {

// What the scripted XInputGetState answers for each slot.
struct ScriptedSlot {
    bool connected = false;
    XINPUT_GAMEPAD pad{};
};
std::array<ScriptedSlot, PXWin32Gamepads::Slots> g_slots;
std::array<int, PXWin32Gamepads::Slots> g_reads;

DWORD WINAPI ScriptedGetState(DWORD slot, XINPUT_STATE* state)
{
    if (slot >= g_slots.size()) {
        return ERROR_BAD_ARGUMENTS;
    }
    ++g_reads[slot];
    if (!g_slots[slot].connected) {
        return ERROR_DEVICE_NOT_CONNECTED;
    }
    state->Gamepad = g_slots[slot].pad;
    return ERROR_SUCCESS;
}

std::string Describe(const std::vector<PXEvent>& events)
{
    std::string text;
    for (const PXEvent& e : events) {
        text += "(" + std::to_string(e.type) + "," + std::to_string(e.value) + ")";
    }
    return text;
}

PXEvent Down(int32_t button) { return PXEvent{EventPadDown, button}; }
PXEvent Up(int32_t button) { return PXEvent{EventPadUp, button}; }

TEST(Win32GamepadTable, EveryXInputButtonStandsForItsPadButton)
{
    struct Case {
        const char* what;
        uint16_t xinput;
        int32_t pad;  // 0: not read
    };
    const Case cases[] = {
        {"A", XINPUT_GAMEPAD_A, PadSouth},
        {"B", XINPUT_GAMEPAD_B, PadEast},
        {"X", XINPUT_GAMEPAD_X, PadWest},
        {"Y", XINPUT_GAMEPAD_Y, PadNorth},
        {"Back", XINPUT_GAMEPAD_BACK, PadBack},
        {"Start", XINPUT_GAMEPAD_START, PadStart},
        {"D-pad up", XINPUT_GAMEPAD_DPAD_UP, PadUp},
        {"D-pad down", XINPUT_GAMEPAD_DPAD_DOWN, PadDown},
        {"D-pad left", XINPUT_GAMEPAD_DPAD_LEFT, PadLeft},
        {"D-pad right", XINPUT_GAMEPAD_DPAD_RIGHT, PadRight},
        {"left shoulder", XINPUT_GAMEPAD_LEFT_SHOULDER, PadLeftShoulder},
        {"right shoulder", XINPUT_GAMEPAD_RIGHT_SHOULDER, PadRightShoulder},
        {"left stick click", XINPUT_GAMEPAD_LEFT_THUMB, 0},
        {"right stick click", XINPUT_GAMEPAD_RIGHT_THUMB, 0},
    };
    uint32_t all = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(PXWin32Gamepads::HeldButtons(c.xinput), PXPadState::Bit(c.pad));
        all |= c.xinput;
    }
    // Every bit at once holds every pad button, and each table row is one of the cases.
    uint32_t everyPadButton = 0;
    for (int32_t button = PadSouth; button <= PadRightShoulder; ++button) {
        everyPadButton |= PXPadState::Bit(button);
    }
    EXPECT_EQ(PXWin32Gamepads::HeldButtons(static_cast<uint16_t>(all)), everyPadButton);
    EXPECT_EQ(PXWin32Gamepads::ButtonTable().size(), 12u);
}

class Win32GamepadTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        g_slots = {};
        g_reads = {};
    }

    // One read at `nowMs`; the pad events it queued.
    std::vector<PXEvent> Poll(uint32_t nowMs)
    {
        PXEventQueue queue;
        pads.Poll(nowMs, queue);
        std::vector<PXEvent> events;
        PXEvent e;
        while (queue.Pop(e)) {
            events.push_back(e);
        }
        return events;
    }

    PXWin32Gamepads pads{&ScriptedGetState};
};

TEST_F(Win32GamepadTest, PlugInPressSteerAndUnplug)
{
    struct Step {
        const char* what;
        int slot;
        bool connected;
        uint16_t buttons;
        int16_t x;
        int16_t y;
        std::vector<PXEvent> expected;
    };
    const int16_t press = PXPadState::StickPressAt;
    const int16_t release = PXPadState::StickReleaseAt;
    const Step steps[] = {
        {"nothing there", 2, false, 0, 0, 0, {}},
        {"plugged in", 2, true, 0, 0, 0, {{EventPadAdded, 2}}},
        {"A", 2, true, XINPUT_GAMEPAD_A, 0, 0, {Down(PadSouth)}},
        {"A up, Start", 2, true, XINPUT_GAMEPAD_START, 0, 0, {Up(PadSouth), Down(PadStart)}},
        {"stick in the dead zone", 2, true, 0, static_cast<int16_t>(press - 1), 0, {Up(PadStart)}},
        {"stick right", 2, true, 0, press, 0, {Down(PadRight)}},
        {"resting near the edge", 2, true, 0, static_cast<int16_t>(release + 1), 0, {}},
        {"D-pad right joins", 2, true, XINPUT_GAMEPAD_DPAD_RIGHT, 0, 0, {}},
        {"stick up (XInput's y grows upwards)", 2, true, XINPUT_GAMEPAD_DPAD_RIGHT, 0, press, {Down(PadUp)}},
        {"stick down", 2, true, XINPUT_GAMEPAD_DPAD_RIGHT, 0, -32768, {Up(PadUp), Down(PadDown)}},
        {"B while held", 2, true, XINPUT_GAMEPAD_DPAD_RIGHT | XINPUT_GAMEPAD_B, 0, -32768, {Down(PadEast)}},
        {"unplugged while held", 2, false, 0, 0, 0,
         {Up(PadEast), Up(PadDown), Up(PadRight), {EventPadRemoved, 1}}},
        {"gone", 2, false, 0, 0, 0, {}},
    };
    uint32_t now = 0;
    for (const Step& s : steps) {
        SCOPED_TRACE(s.what);
        g_slots[static_cast<size_t>(s.slot)].connected = s.connected;
        g_slots[static_cast<size_t>(s.slot)].pad.wButtons = s.buttons;
        g_slots[static_cast<size_t>(s.slot)].pad.sThumbLX = s.x;
        g_slots[static_cast<size_t>(s.slot)].pad.sThumbLY = s.y;
        // Long enough for the empty slots to be read too.
        now += PXWin32Gamepads::EmptySlotIntervalMs;
        std::vector<PXEvent> events = Poll(now);
        // Ups before downs, each in button order; the removal comes last.
        EXPECT_EQ(Describe(events), Describe(s.expected));
    }
}

TEST_F(Win32GamepadTest, TheRemovedPadSaysWhetherItWasInUse)
{
    g_slots[0].connected = true;
    g_slots[3].connected = true;
    EXPECT_EQ(Describe(Poll(0)), Describe({{EventPadAdded, 0}, {EventPadAdded, 3}}));
    g_slots[0].pad.wButtons = XINPUT_GAMEPAD_A;
    Poll(10);
    g_slots[3].pad.wButtons = XINPUT_GAMEPAD_B;
    Poll(20);
    EXPECT_EQ(pads.State().PadInUse(), 3);

    g_slots[0].connected = false;
    EXPECT_EQ(Describe(Poll(30)), Describe({Up(PadSouth), {EventPadRemoved, 0}}));
    g_slots[3].connected = false;
    EXPECT_EQ(Describe(Poll(40)), Describe({Up(PadEast), {EventPadRemoved, 1}}));
}

TEST_F(Win32GamepadTest, ReadsOncePerFrameAndEmptySlotsOncePerSecond)
{
    g_slots[1].connected = true;
    Poll(0);
    EXPECT_EQ(g_reads, (std::array<int, 4>{1, 1, 1, 1}));

    Poll(PXWin32Gamepads::PollIntervalMs - 1);  // within the same frame: nothing is read
    EXPECT_EQ(g_reads, (std::array<int, 4>{1, 1, 1, 1}));

    Poll(PXWin32Gamepads::PollIntervalMs);  // the pad that is there is read each frame
    EXPECT_EQ(g_reads, (std::array<int, 4>{1, 2, 1, 1}));

    // A pad plugged into an empty slot is found within a second.
    g_slots[2].connected = true;
    EXPECT_TRUE(Poll(PXWin32Gamepads::EmptySlotIntervalMs - PXWin32Gamepads::PollIntervalMs).empty());
    EXPECT_EQ(Describe(Poll(PXWin32Gamepads::EmptySlotIntervalMs)), Describe({{EventPadAdded, 2}}));
    EXPECT_EQ(g_reads, (std::array<int, 4>{2, 4, 2, 2}));
}

TEST_F(Win32GamepadTest, WithoutXInputThereAreNoPads)
{
    PXWin32Gamepads none(nullptr);
    EXPECT_FALSE(none.IsAvailable());
    PXEventQueue queue;
    none.Poll(0, queue);
    EXPECT_TRUE(queue.IsEmpty());
}

}  // namespace
