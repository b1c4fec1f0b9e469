// Buttons and toggle buttons driven by synthetic mouse state: hover, press and click sounds
// on the recording device, the draw choice for hover, press, latch and disabled, the hit
// rectangle, toggle cycling, and the keyboard/pad focus: drawn as the hover, Press acting as
// a click.
#include <gtest/gtest.h>

#include "engine/gui/PXEntity2DGUIButton.h"
#include "engine/gui/PXEntity2DGUISprite.h"
#include "engine/gui/PXEntity2DGUIToggleButton.h"
#include "tests/gui/GuiFixture.h"

namespace {

constexpr uint16_t Red = Rgb(31, 0, 0);
constexpr uint16_t Green = Rgb(0, 31, 0);
constexpr uint16_t Blue = Rgb(0, 0, 31);
constexpr uint16_t Grey = Rgb(16, 16, 16);

constexpr size_t ContentSamples = 100;
constexpr size_t ClickSamples = 200;
constexpr size_t DownSamples = 300;

class ButtonTest : public GuiFilesTest {
protected:
    void SetUp() override
    {
        GuiFilesTest::SetUp();
        WriteSolidImage("main.bmp", 4, 4, Red);
        WriteSolidImage("down.bmp", 4, 4, Green);
        WriteSolidImage("off.bmp", 4, 4, Grey);
        // A blue border round a key-coloured centre.
        std::vector<uint16_t> frame(16, Blue);
        frame[5] = frame[6] = frame[9] = frame[10] = 0;
        WriteImage("frame.bmp", 4, 4, frame);
        WriteSound("content.wav", ContentSamples);
        WriteSound("click.wav", ClickSamples);
        WriteSound("down.wav", DownSamples);
        Define("class = sprite\ntype = Main\nimage = main.bmp\n");
        Define("class = sprite\ntype = Down\nimage = down.bmp\n");
        Define("class = sprite\ntype = Off\nimage = off.bmp\n");
        Define("class = sprite\ntype = Frame\nimage = frame.bmp\ntransparent = 1\n");
    }

    PXEntity2DGUIButton* MakeButton(const std::string& extra = "", const std::string& name = "")
    {
        const std::string type = name.empty() ? "B" + std::to_string(++m_count) : name;
        PXEntityRef ref =
            Define("class = button\ntype = " + type +
                   "\nMainImageEnt = sprite, Main\nDownImageEnt = sprite, Down\n"
                   "HighlightImageEnt = sprite, Frame\nDisabledImageEnt = sprite, Off\n"
                   "ContentSound = content.wav\nClickSound = click.wav\nDownSound = down.wav\n" +
                   extra);
        auto* button = Create<PXEntity2DGUIButton>(ref, PXKind::Button);
        button->SetPosition(PXPoint{10, 10});
        button->Update(0.0f);
        return button;
    }

    // One frame: update at the mouse state, then draw on a cleared screen.
    void Frame(PXEntity2DGUIElement* element, int32_t mx, int32_t my, bool down)
    {
        MoveMouse(mx, my);
        g_leftButtonDown = down ? 1 : 0;
        element->Update(16.0f);
        ClearScreen();
        DirtyAll();
        element->Draw();
    }

    // Corner and centre pixels of the 4 x 4 button at (10, 10).
    std::pair<uint16_t, uint16_t> Look() const { return {Pixel(10, 10), Pixel(11, 11)}; }

    int m_count = 0;
};

TEST_F(ButtonTest, HitRectFollowsTheMainImageAndIsStrict)
{
    auto* button = MakeButton();
    EXPECT_EQ((PXRect{10, 14, 10, 14}), button->GetHitRect());
    EXPECT_EQ(4, button->GetWidth());
    struct Case {
        int32_t x, y;
        bool over;
    };
    const Case cases[] = {{11, 11, true},  {13, 13, true},  {10, 11, false},
                          {11, 10, false}, {14, 11, false}, {11, 14, false}};
    for (const Case& c : cases) {
        EXPECT_EQ(c.over, button->IsOver(PXPoint{c.x, c.y})) << c.x << "," << c.y;
        EXPECT_EQ(c.over, button->Click(PXPoint{c.x, c.y})) << c.x << "," << c.y;
    }
    // Other alternative ids reach the main image.
    int32_t height = 0;
    EXPECT_TRUE(button->GetAltProperty(PXSpriteProp::Height, &height));
    EXPECT_EQ(4, height);
}

TEST_F(ButtonTest, ContentSoundPlaysOncePerEntry)
{
    auto* button = MakeButton();
    for (int i = 0; i < 5; ++i)
        Frame(button, 12, 12, false);
    EXPECT_EQ(1, PlaysOf(ContentSamples));
    Frame(button, 100, 100, false);
    Frame(button, 12, 12, false);
    EXPECT_EQ(2, PlaysOf(ContentSamples));
    EXPECT_EQ(0, PlaysOf(ClickSamples));
    EXPECT_EQ(0, PlaysOf(DownSamples));
}

TEST_F(ButtonTest, DownSoundOncePerHoldAndClickSoundOnlyThroughClick)
{
    auto* button = MakeButton();
    for (int i = 0; i < 4; ++i)
        Frame(button, 12, 12, true);
    EXPECT_EQ(1, PlaysOf(DownSamples));
    // Pressed from the update that sees the button held over it (a hovered draw clears
    // the hover until the next update).
    button->Update(16.0f);
    EXPECT_TRUE(button->IsPressed());
    Frame(button, 12, 12, false);
    EXPECT_EQ(0, PlaysOf(ClickSamples));
    EXPECT_TRUE(button->Click(PXPoint{12, 12}));
    EXPECT_EQ(1, PlaysOf(ClickSamples));
    EXPECT_FALSE(button->Click(PXPoint{50, 50}));
    EXPECT_EQ(1, PlaysOf(ClickSamples));
    // Leaving and pressing again inside plays the down sound again.
    Frame(button, 100, 100, false);
    Frame(button, 12, 12, true);
    EXPECT_EQ(2, PlaysOf(DownSamples));
}

TEST_F(ButtonTest, DrawChoiceForHoverPressLatchAndDisabled)
{
    struct Case {
        const char* name;
        bool frame;  // HighlightAsFrame
        bool hover;
        bool down;
        bool latched;
        bool disabled;
        uint16_t corner;
        uint16_t centre;
    };
    const Case cases[] = {
        {"idle", true, false, false, false, false, Red, Red},
        {"latched", true, false, false, true, false, Green, Green},
        {"button down outside", true, false, true, false, false, Red, Red},
        {"hover, frame", true, true, false, false, false, Blue, Red},
        {"hover pressed, frame", true, true, true, false, false, Blue, Green},
        {"hover latched, frame", true, true, false, true, false, Blue, Green},
        {"hover, replacement", false, true, false, false, false, Blue, 0},
        {"hover pressed, replacement", false, true, true, false, false, Green, Green},
        {"disabled", true, true, true, false, true, Grey, Grey},
    };
    for (const Case& c : cases) {
        auto* button = MakeButton(c.frame ? "" : "HighlightAsFrame = 0\n");
        button->SetAltProperty(PXButtonProp::Latched, c.latched ? 1 : 0);
        button->SetDisabled(c.disabled);
        Frame(button, c.hover ? 12 : 100, c.hover ? 12 : 100, c.down);
        EXPECT_EQ(c.corner, Look().first) << c.name;
        EXPECT_EQ(c.centre, Look().second) << c.name;
    }
}

TEST_F(ButtonTest, FocusDrawsTheHoverFace)
{
    struct Case {
        const char* name;
        bool frame;  // HighlightAsFrame
        bool down;   // the left button held, the mouse elsewhere
        bool latched;
        bool disabled;
        uint16_t corner;
        uint16_t centre;
    };
    const Case cases[] = {
        {"focused, frame", true, false, false, false, Blue, Red},
        {"focused, replacement", false, false, false, false, Blue, 0},
        {"focused latched, frame", true, false, true, false, Blue, Green},
        // The mouse button held elsewhere does not press a button lit by the focus.
        {"focused, mouse down elsewhere", true, true, false, false, Blue, Red},
        {"focused, disabled", true, false, false, true, Grey, Grey},
    };
    for (const Case& c : cases) {
        auto* button = MakeButton(c.frame ? "" : "HighlightAsFrame = 0\n");
        button->SetAltProperty(PXButtonProp::Latched, c.latched ? 1 : 0);
        button->SetDisabled(c.disabled);
        button->SetFocused(true);
        Frame(button, 100, 100, c.down);
        EXPECT_EQ(c.corner, Look().first) << c.name;
        EXPECT_EQ(c.centre, Look().second) << c.name;
        // Without the focus it is the idle face again.
        button->SetFocused(false);
        Frame(button, 100, 100, false);
        EXPECT_EQ(c.disabled ? Grey : c.latched ? Green : Red, Look().first) << c.name;
    }
}

TEST_F(ButtonTest, FocusSoundsOnArrivalAndPressActsAsAClick)
{
    auto* button = MakeButton();
    EXPECT_TRUE(button->CanTakeFocus());
    button->SetFocused(true);
    button->SetFocused(true);
    EXPECT_EQ(1, PlaysOf(ContentSamples));
    button->SetFocused(false);
    EXPECT_EQ(1, PlaysOf(ContentSamples));
    // The pointer bringing the focus: the hover alone sounds.
    MoveMouse(12, 12);
    button->SetFocused(true);
    button->Update(16.0f);
    EXPECT_EQ(2, PlaysOf(ContentSamples));
    button->SetFocused(false);
    MoveMouse(100, 100);
    button->Update(16.0f);

    for (PXInputAction action : {PXInputAction::FocusDown, PXInputAction::FocusNext, PXInputAction::Back,
                                 PXInputAction::PageDown}) {
        EXPECT_EQ(PXActionResult::Ignored, button->OnInputAction(action));
    }
    EXPECT_EQ(0, PlaysOf(ClickSamples));
    EXPECT_EQ(PXActionResult::Pressed, button->OnInputAction(PXInputAction::Press));
    EXPECT_EQ(1, PlaysOf(ClickSamples));
    EXPECT_TRUE(button->Click(PXPoint{12, 12}));
    EXPECT_EQ(2, PlaysOf(ClickSamples));

    // Disabled or hidden, it neither takes the focus nor acts.
    button->SetDisabled(true);
    EXPECT_FALSE(button->CanTakeFocus());
    EXPECT_EQ(PXActionResult::Ignored, button->OnInputAction(PXInputAction::Press));
    EXPECT_EQ(2, PlaysOf(ClickSamples));
    button->SetDisabled(false);
    button->SetVisible(false);
    EXPECT_FALSE(button->CanTakeFocus());
}

TEST_F(ButtonTest, DisabledButtonRefusesClicksButIsStillOver)
{
    auto* button = MakeButton();
    button->SetDisabled(true);
    EXPECT_FALSE(button->Click(PXPoint{12, 12}));
    EXPECT_TRUE(button->IsOver(PXPoint{12, 12}));
    EXPECT_EQ(0, PlaysOf(ClickSamples));
}

TEST_F(ButtonTest, WithoutDisabledImageTheMainImageIsDrawnAndHiddenDrawsNothing)
{
    PXEntityRef ref = Define("class = button\ntype = Plain\nMainImageEnt = sprite, Main\n");
    auto* button = Create<PXEntity2DGUIButton>(ref, PXKind::Button);
    button->SetPosition(PXPoint{10, 10});
    button->SetDisabled(true);
    Frame(button, 12, 12, false);
    EXPECT_EQ(Red, Look().second);
    button->SetVisible(false);
    ClearScreen();
    DirtyAll();
    EXPECT_FALSE(button->Draw());
    EXPECT_EQ(0, Look().second);
}

TEST_F(ButtonTest, LatchedPropertyAndPressedState)
{
    auto* button = MakeButton();
    int32_t latched = -1;
    EXPECT_TRUE(button->GetAltProperty(PXButtonProp::Latched, &latched));
    EXPECT_EQ(0, latched);
    EXPECT_FALSE(button->IsPressed());
    EXPECT_TRUE(button->SetAltProperty(PXButtonProp::Latched, 5));
    EXPECT_TRUE(button->GetAltProperty(PXButtonProp::Latched, &latched));
    EXPECT_EQ(1, latched);
    EXPECT_TRUE(button->IsPressed());
}

TEST_F(ButtonTest, ButtonsOfOneTypeShareImagesButDrawAtTheirOwnPlaces)
{
    auto* a = MakeButton("", "Twin");
    PXEntityRef ref{"button", "Twin"};
    auto* b = Create<PXEntity2DGUIButton>(ref, PXKind::Button);
    b->SetPosition(PXPoint{30, 30});
    b->Update(0.0f);
    ClearScreen();
    DirtyAll();
    a->Draw();
    b->Draw();
    EXPECT_EQ(Red, Pixel(11, 11));
    EXPECT_EQ(Red, Pixel(31, 31));
    EXPECT_EQ((PXRect{30, 34, 30, 34}), b->GetHitRect());
}

class ToggleTest : public ButtonTest {
protected:
    PXEntity2DGUIToggleButton* MakeToggle(int states, int declared)
    {
        std::string keys = "class = togglebutton\ntype = T" + std::to_string(++m_count) +
                           "\nNumStates = " + std::to_string(declared) + "\n";
        for (int i = 1; i <= states; ++i) {
            Define("class = button\ntype = State" + std::to_string(m_count) + "x" + std::to_string(i) +
                   "\nMainImageEnt = sprite, " + (i % 2 ? "Main" : "Down") + "\nClickSound = click.wav\n" +
                   "ContentSound = content.wav\ntooltip = state " + std::to_string(i) + "\n");
            keys += "Button" + std::to_string(i) + "Ent = button, State" + std::to_string(m_count) + "x" +
                    std::to_string(i) + "\n";
        }
        auto* toggle = Create<PXEntity2DGUIToggleButton>(Define(keys));
        toggle->SetPosition(PXPoint{10, 10});
        toggle->Update(0.0f);
        return toggle;
    }
};

TEST_F(ToggleTest, ClicksCycleTheStatesAndPlayTheInnerClickSound)
{
    auto* toggle = MakeToggle(3, 3);
    for (int i = 0; i < 4; ++i) {
        EXPECT_TRUE(toggle->Click(PXPoint{12, 12}));
        toggle->Update(16.0f);
    }
    EXPECT_EQ(1u, toggle->GetState());
    EXPECT_EQ(4, PlaysOf(ClickSamples));
    EXPECT_FALSE(toggle->Click(PXPoint{10, 12}));  // the edge is outside
    EXPECT_EQ(1u, toggle->GetState());

    // State 1 shows the second button's picture and tooltip.
    ClearScreen();
    DirtyAll();
    toggle->Draw();
    EXPECT_EQ(Green, Pixel(11, 11));
    std::string tip;
    EXPECT_TRUE(toggle->GetStringProperty(PXGuiProp::ToolTip, &tip));
    EXPECT_EQ("state 2", tip);
}

TEST_F(ToggleTest, HoverSoundPlaysOncePerEntryWhateverTheState)
{
    auto* toggle = MakeToggle(3, 3);
    for (int i = 0; i < 3; ++i)
        Frame(toggle, 12, 12, false);
    EXPECT_EQ(1, PlaysOf(ContentSamples));
    // The next state's button is already under the pointer: a click does not greet it again.
    EXPECT_TRUE(toggle->Click(PXPoint{12, 12}));
    Frame(toggle, 12, 12, false);
    EXPECT_EQ(1, PlaysOf(ContentSamples));
    Frame(toggle, 100, 100, false);
    Frame(toggle, 12, 12, false);
    EXPECT_EQ(2, PlaysOf(ContentSamples));
}

TEST_F(ToggleTest, PressAdvancesTheStateAndTheFocusFollowsTheShownButton)
{
    auto* toggle = MakeToggle(3, 3);
    EXPECT_TRUE(toggle->CanTakeFocus());
    toggle->SetFocused(true);
    EXPECT_TRUE(toggle->GetButton(0)->IsFocused());
    EXPECT_FALSE(toggle->GetButton(1)->IsFocused());
    EXPECT_EQ(PXActionResult::Ignored, toggle->OnInputAction(PXInputAction::FocusRight));
    EXPECT_EQ(0u, toggle->GetState());
    EXPECT_EQ(PXActionResult::Pressed, toggle->OnInputAction(PXInputAction::Press));
    EXPECT_EQ(1u, toggle->GetState());
    EXPECT_EQ(1, PlaysOf(ClickSamples));
    EXPECT_FALSE(toggle->GetButton(0)->IsFocused());
    EXPECT_TRUE(toggle->GetButton(1)->IsFocused());
    toggle->SetFocused(false);
    EXPECT_FALSE(toggle->GetButton(1)->IsFocused());

    // Without states, or disabled, there is nothing to focus or press.
    EXPECT_FALSE(MakeToggle(0, 0)->CanTakeFocus());
    toggle->SetDisabled(true);
    EXPECT_FALSE(toggle->CanTakeFocus());
    EXPECT_EQ(PXActionResult::Ignored, toggle->OnInputAction(PXInputAction::Press));
    EXPECT_EQ(1u, toggle->GetState());
}

TEST_F(ToggleTest, StatePropertyClampsUnsigned)
{
    auto* toggle = MakeToggle(3, 3);
    const std::pair<int32_t, int32_t> cases[] = {{7, 2}, {1, 1}, {-1, 2}, {0, 0}};
    for (const auto& c : cases) {
        EXPECT_TRUE(toggle->SetProperty(PXToggleProp::State, c.first));
        int32_t state = -1;
        EXPECT_TRUE(toggle->GetProperty(PXToggleProp::State, &state));
        EXPECT_EQ(c.second, state) << c.first;
    }
}

TEST_F(ToggleTest, AtMostEightStatesAndNoneIsHarmless)
{
    auto* many = MakeToggle(9, 12);
    EXPECT_EQ(8, static_cast<PXEntity2DGUIToggleButtonType*>(many->GetType())->GetNumStates());
    EXPECT_NE(nullptr, many->GetButton(7));
    EXPECT_EQ(nullptr, many->GetButton(8));

    auto* none = MakeToggle(0, 0);
    EXPECT_TRUE(none->SetProperty(PXToggleProp::State, 5));
    EXPECT_EQ(0u, none->GetState());
    EXPECT_FALSE(none->Click(PXPoint{12, 12}));
    EXPECT_TRUE(none->Draw());
}

TEST_F(ToggleTest, DisablingReachesEveryInnerButton)
{
    auto* toggle = MakeToggle(2, 2);
    toggle->SetDisabled(true);
    EXPECT_TRUE(toggle->GetButton(0)->IsDisabled());
    EXPECT_TRUE(toggle->GetButton(1)->IsDisabled());
    EXPECT_FALSE(toggle->Click(PXPoint{12, 12}));
    toggle->SetDisabled(false);
    EXPECT_TRUE(toggle->Click(PXPoint{12, 12}));
}

}  // namespace
