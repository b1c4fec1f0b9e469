// Game controllers through the event translator, driven by SDL's virtual joysticks: what the
// game receives when a pad is plugged in, pressed, steered and unplugged.
#include <gtest/gtest.h>

#include <SDL.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "platform/sdl/PXSDLEventTranslator.h"
#include "platform/sdl/PXSDLGamepads.h"

namespace {

PXEvent Down(int32_t button) { return PXEvent{EventPadDown, button}; }
PXEvent Up(int32_t button) { return PXEvent{EventPadUp, button}; }

std::string Describe(const std::vector<PXEvent>& events)
{
    std::string text;
    for (const PXEvent& e : events) {
        text += "(" + std::to_string(e.type) + "," + std::to_string(e.value) + ")";
    }
    return text;
}

class GamepadTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER), 0) << SDL_GetError();
        pads = std::make_unique<PXSDLGamepads>();
        translator = std::make_unique<PXSDLEventTranslator>(pads.get());
    }
    void TearDown() override
    {
        // The controllers close before the subsystem goes.
        translator.reset();
        pads.reset();
        for (SDL_JoystickID id : attached) {
            const int index = DeviceIndex(id);
            if (index >= 0) {
                SDL_JoystickDetachVirtual(index);
            }
        }
        SDL_QuitSubSystem(SDL_INIT_GAMECONTROLLER);
    }

    // A virtual pad whose buttons and axes are SDL's controller buttons and axes in order.
    SDL_JoystickID Attach()
    {
        SDL_VirtualJoystickDesc desc{};
        desc.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
        desc.type = SDL_JOYSTICK_TYPE_GAMECONTROLLER;
        desc.naxes = SDL_CONTROLLER_AXIS_MAX;
        desc.nbuttons = SDL_CONTROLLER_BUTTON_MAX;
        desc.name = "Test pad";
        const int index = SDL_JoystickAttachVirtualEx(&desc);
        EXPECT_GE(index, 0) << SDL_GetError();
        const SDL_JoystickID id = SDL_JoystickGetDeviceInstanceID(index);
        attached.push_back(id);
        return id;
    }

    static int DeviceIndex(SDL_JoystickID id)
    {
        for (int index = 0; index < SDL_NumJoysticks(); ++index) {
            if (SDL_JoystickGetDeviceInstanceID(index) == id) {
                return index;
            }
        }
        return -1;
    }

    void Detach(SDL_JoystickID id)
    {
        const int index = DeviceIndex(id);
        ASSERT_GE(index, 0);
        ASSERT_EQ(SDL_JoystickDetachVirtual(index), 0) << SDL_GetError();
    }

    // The joystick the pads object opened for `id`: where the test sets the virtual values.
    static SDL_Joystick* Stick(SDL_JoystickID id) { return SDL_JoystickFromInstanceID(id); }

    void Button(SDL_JoystickID id, int button, bool down)
    {
        ASSERT_NE(Stick(id), nullptr);
        ASSERT_EQ(SDL_JoystickSetVirtualButton(Stick(id), button, down ? 1 : 0), 0) << SDL_GetError();
    }
    void Axis(SDL_JoystickID id, int axis, int value)
    {
        ASSERT_NE(Stick(id), nullptr);
        ASSERT_EQ(SDL_JoystickSetVirtualAxis(Stick(id), axis, static_cast<Sint16>(value)), 0) << SDL_GetError();
    }

    // Lets SDL read the virtual pads and hands every waiting event to the translator; answers
    // the pad events the game would receive (virtual joysticks update within the poll).
    std::vector<PXEvent> Pump()
    {
        SDL_Event event;
        while (SDL_PollEvent(&event)) {
            translator->Translate(event, queue);
        }
        std::vector<PXEvent> events;
        PXEvent e;
        while (queue.Pop(e)) {
            if (e.type >= EventPadDown && e.type <= EventPadRemoved) {
                events.push_back(e);
            }
        }
        return events;
    }

    static void ExpectEvents(const std::vector<PXEvent>& actual, const std::vector<PXEvent>& expected)
    {
        EXPECT_EQ(Describe(actual), Describe(expected));
    }

    std::unique_ptr<PXSDLGamepads> pads;
    std::unique_ptr<PXSDLEventTranslator> translator;
    PXEventQueue queue;
    std::vector<SDL_JoystickID> attached;
};

TEST_F(GamepadTest, PluggedInPadIsAnnouncedOnce)
{
    const SDL_JoystickID id = Attach();
    ExpectEvents(Pump(), {{EventPadAdded, id}});
    EXPECT_EQ(pads->OpenCount(), 1u);
    EXPECT_TRUE(pads->State().Has(id));
}

TEST_F(GamepadTest, PadPresentAtStartOpensOnceThoughSDLAlsoAnnouncesIt)
{
    const SDL_JoystickID id = Attach();
    pads->OpenPresent(queue);
    ExpectEvents(Pump(), {{EventPadAdded, id}});
    EXPECT_EQ(pads->OpenCount(), 1u);
}

TEST_F(GamepadTest, ButtonsGoDownAndUpByPlace)
{
    struct Case {
        int sdl;
        int32_t pad;  // 0: not read
    };
    const Case cases[] = {
        {SDL_CONTROLLER_BUTTON_A, PadSouth},
        {SDL_CONTROLLER_BUTTON_B, PadEast},
        {SDL_CONTROLLER_BUTTON_X, PadWest},
        {SDL_CONTROLLER_BUTTON_Y, PadNorth},
        {SDL_CONTROLLER_BUTTON_BACK, PadBack},
        {SDL_CONTROLLER_BUTTON_START, PadStart},
        {SDL_CONTROLLER_BUTTON_DPAD_UP, PadUp},
        {SDL_CONTROLLER_BUTTON_DPAD_DOWN, PadDown},
        {SDL_CONTROLLER_BUTTON_DPAD_LEFT, PadLeft},
        {SDL_CONTROLLER_BUTTON_DPAD_RIGHT, PadRight},
        {SDL_CONTROLLER_BUTTON_LEFTSHOULDER, PadLeftShoulder},
        {SDL_CONTROLLER_BUTTON_RIGHTSHOULDER, PadRightShoulder},
        {SDL_CONTROLLER_BUTTON_GUIDE, 0},
        {SDL_CONTROLLER_BUTTON_LEFTSTICK, 0},
        {SDL_CONTROLLER_BUTTON_RIGHTSTICK, 0},
        {SDL_CONTROLLER_BUTTON_MISC1, 0},
    };
    const SDL_JoystickID id = Attach();
    Pump();
    for (const Case& c : cases) {
        SCOPED_TRACE(SDL_GameControllerGetStringForButton(static_cast<SDL_GameControllerButton>(c.sdl)));
        Button(id, c.sdl, true);
        const std::vector<PXEvent> pressed = Pump();
        Button(id, c.sdl, false);
        const std::vector<PXEvent> released = Pump();
        if (c.pad == 0) {
            ExpectEvents(pressed, {});
            ExpectEvents(released, {});
        } else {
            ExpectEvents(pressed, {Down(c.pad)});
            ExpectEvents(released, {Up(c.pad)});
        }
    }
}

TEST_F(GamepadTest, LeftStickHoldsDirectionsPastTheDeadZoneAndLetsGoWithHysteresis)
{
    struct Step {
        int axis;
        int value;
        std::vector<PXEvent> expected;
    };
    const int x = SDL_CONTROLLER_AXIS_LEFTX;
    const int y = SDL_CONTROLLER_AXIS_LEFTY;
    const int press = PXPadState::StickPressAt;
    const int release = PXPadState::StickReleaseAt;
    const Step steps[] = {
        {x, press - 1, {}},                         // inside the dead zone
        {x, press, {Down(PadRight)}},
        {x, release + 1, {}},                       // resting near the edge: still held
        {x, press + 200, {}},
        {x, release, {Up(PadRight)}},
        {x, release + 1, {}},                       // not pressed again below the threshold
        {x, -press, {Down(PadLeft)}},
        {x, press, {Up(PadLeft), Down(PadRight)}},  // straight across
        {x, 0, {Up(PadRight)}},
        {y, press, {Down(PadDown)}},                // SDL's y grows downwards
        {y, -32768, {Up(PadDown), Down(PadUp)}},
        {x, 32767, {Down(PadRight)}},               // a diagonal holds both
        {y, -release, {Up(PadUp)}},
        {x, 0, {Up(PadRight)}},
    };
    const SDL_JoystickID id = Attach();
    Pump();
    int index = 0;
    for (const Step& s : steps) {
        SCOPED_TRACE("step " + std::to_string(index++));
        Axis(id, s.axis, s.value);
        ExpectEvents(Pump(), s.expected);
    }
}

TEST_F(GamepadTest, TriggersAndTheRightStickAreIgnored)
{
    const SDL_JoystickID id = Attach();
    Pump();
    for (int axis : {SDL_CONTROLLER_AXIS_RIGHTX, SDL_CONTROLLER_AXIS_RIGHTY, SDL_CONTROLLER_AXIS_TRIGGERLEFT,
                     SDL_CONTROLLER_AXIS_TRIGGERRIGHT}) {
        Axis(id, axis, 32767);
        ExpectEvents(Pump(), {});
        Axis(id, axis, -32768);
        ExpectEvents(Pump(), {});
    }
}

TEST_F(GamepadTest, DpadAndStickMergeIntoOneDirection)
{
    const SDL_JoystickID id = Attach();
    Pump();
    const int left = SDL_CONTROLLER_BUTTON_DPAD_LEFT;
    Button(id, left, true);
    ExpectEvents(Pump(), {Down(PadLeft)});
    Axis(id, SDL_CONTROLLER_AXIS_LEFTX, -30000);
    ExpectEvents(Pump(), {});  // already down
    Button(id, left, false);
    ExpectEvents(Pump(), {});  // the stick still holds it
    Button(id, left, true);
    ExpectEvents(Pump(), {});
    Axis(id, SDL_CONTROLLER_AXIS_LEFTX, 0);
    ExpectEvents(Pump(), {});  // the D-pad still holds it
    Button(id, left, false);
    ExpectEvents(Pump(), {Up(PadLeft)});
}

TEST_F(GamepadTest, UnpluggedPadLetsGoOfWhatItHeldThenIsRemovedAsThePadInUse)
{
    const SDL_JoystickID id = Attach();
    Pump();
    Button(id, SDL_CONTROLLER_BUTTON_A, true);
    Axis(id, SDL_CONTROLLER_AXIS_LEFTX, 30000);
    Pump();
    EXPECT_EQ(pads->State().PadInUse(), id);

    Detach(id);
    const std::vector<PXEvent> events = Pump();
    ASSERT_FALSE(events.empty());
    EXPECT_EQ(Describe({events.back()}), Describe({{EventPadRemoved, 1}}));
    std::vector<PXEvent> ups(events.begin(), events.end() - 1);
    std::sort(ups.begin(), ups.end(), [](const PXEvent& a, const PXEvent& b) { return a.value < b.value; });
    ExpectEvents(ups, {Up(PadSouth), Up(PadRight)});
    EXPECT_EQ(pads->OpenCount(), 0u);
    EXPECT_EQ(pads->State().PadInUse(), PXPadState::NoPad);
}

TEST_F(GamepadTest, UnpluggingAPadNotInUseSaysSo)
{
    const SDL_JoystickID first = Attach();
    const SDL_JoystickID second = Attach();
    Pump();
    // SDL reads a virtual pad's state when polled: each press and release is pumped.
    Button(first, SDL_CONTROLLER_BUTTON_START, true);
    Pump();
    Button(first, SDL_CONTROLLER_BUTTON_START, false);
    Pump();
    Button(second, SDL_CONTROLLER_BUTTON_B, true);
    Pump();
    Button(second, SDL_CONTROLLER_BUTTON_B, false);
    Pump();
    EXPECT_EQ(pads->State().PadInUse(), second);

    Detach(first);
    ExpectEvents(Pump(), {{EventPadRemoved, 0}});
    Detach(second);
    ExpectEvents(Pump(), {{EventPadRemoved, 1}});
    EXPECT_EQ(pads->OpenCount(), 0u);
}

TEST_F(GamepadTest, ATranslatorWithoutPadsIgnoresControllers)
{
    const PXSDLEventTranslator bare;
    SDL_Event event{};
    event.type = SDL_CONTROLLERBUTTONDOWN;
    event.cbutton.button = SDL_CONTROLLER_BUTTON_A;
    EXPECT_EQ(bare.Translate(event, queue), PXWindowAction::None);
    EXPECT_TRUE(queue.IsEmpty());
}

}  // namespace
