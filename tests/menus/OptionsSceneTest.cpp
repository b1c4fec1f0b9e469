// The options screen over a game object: what it shows, sliders that change the options at
// once, plates that switch, binding keys and pad buttons with refusals and cancels, the
// defaults, and the way back.
#include <gtest/gtest.h>

#include "engine/core/PXInputMap.h"
#include "engine/gui/PXEntity2DGUISlider.h"
#include "game/SFEntityOptionsMenuScene.h"
#include "game/SFGame.h"
#include "game/SFOptions.h"
#include "tests/menus/MenuFixture.h"

namespace menutest {
namespace {

using Slot = SFEntityOptionsMenuSceneType::Slot;
using Action = PXInputAction;

// Every slot of the screen: sliders, text probes and 150 x 26 plates in the real layout.
std::string OptionsKeys()
{
    struct Placed {
        const char* prefix;
        const char* ref;
        int x, y;
    };
    const Placed placed[] = {
        {"MusicVolume", "slider, vol", 290, 80},   {"MusicVolumeText", "probe, label", 502, 82},
        {"EffectsVolume", "slider, vol", 290, 110}, {"EffectsVolumeText", "probe, label", 502, 112},
        {"KeyRepeat", "slider, rep", 290, 140},     {"KeyRepeatText", "probe, label", 502, 142},
        {"FullScreen", "probe, plate", 290, 170},   {"FullScreenText", "probe, label", 300, 172},
        {"SwapMouse", "probe, plate", 290, 200},    {"SwapMouseText", "probe, label", 300, 202},
        {"LeftKey", "probe, plate", 290, 262},      {"LeftKeyText", "probe, label", 300, 264},
        {"LeftPad", "probe, plate", 452, 262},      {"LeftPadText", "probe, label", 462, 264},
        {"RightKey", "probe, plate", 290, 292},     {"RightKeyText", "probe, label", 300, 294},
        {"RightPad", "probe, plate", 452, 292},     {"RightPadText", "probe, label", 462, 294},
        {"TurnKey", "probe, plate", 290, 322},      {"TurnKeyText", "probe, label", 300, 324},
        {"TurnPad", "probe, plate", 452, 322},      {"TurnPadText", "probe, label", 462, 324},
        {"DropKey", "probe, plate", 290, 352},      {"DropKeyText", "probe, label", 300, 354},
        {"DropPad", "probe, plate", 452, 352},      {"DropPadText", "probe, label", 462, 354},
        {"PauseKey", "probe, plate", 290, 382},     {"PauseKeyText", "probe, label", 300, 384},
        {"PausePad", "probe, plate", 452, 382},     {"PausePadText", "probe, label", 462, 384},
        {"Message", "probe, label", 20, 414},       {"Defaults", "probe, plate", 160, 436},
        {"Done", "probe, plate", 380, 436},
    };
    std::string keys = "TransType 3\n";
    for (const Placed& p : placed) {
        keys += std::string(p.prefix) + "Ent " + p.ref + "\n" + p.prefix + "EntPos " + std::to_string(p.x) + ", " +
                std::to_string(p.y) + "\n" + p.prefix + "EntPriority 100\n";
    }
    return keys;
}

class OptionsSceneTest : public MenuTest {
protected:
    void SetUp() override
    {
        MenuTest::SetUp();
        g_game = &sfgame;
        g_inputMap.RestoreDefaults();
        registry.RegisterPrototype(&g_optionsMenuScenePrototype, "SFOptionsMenuScene");
        Define("class = slider\ntype = vol\nRange = 0, 100\nStep = 5\nSize = 200, 26\n");
        Define("class = slider\ntype = rep\nRange = 0, 4\nStep = 1\nSize = 200, 26\n");
        Define("class = probe\ntype = label\nSize 40, 16\n");
        Define("class = probe\ntype = plate\nSize 150, 26\n");
    }
    void TearDown() override
    {
        scene.reset();
        g_inputMap.RestoreDefaults();
        MenuTest::TearDown();
    }
    SFEntityOptionsMenuScene& Open() { return Make<SFEntityOptionsMenuScene>("SFOptionsMenuScene", OptionsKeys()); }
    SFEntityOptionsMenuSceneType& Type() { return *static_cast<SFEntityOptionsMenuSceneType*>(scene->GetType()); }
    PXEntity2DGUIElement* Element(Slot slot) { return Type().GetSlotEntity(slot); }
    std::string Text(Slot slot) { return static_cast<Probe*>(Element(slot))->text; }
    PXEntity2DGUISlider& Slider(Slot slot) { return *dynamic_cast<PXEntity2DGUISlider*>(Element(slot)); }
    void Press(Slot slot) { ASSERT_TRUE(scene->OnElementPressed(Element(slot))); }
    Action LeftKeyAction(int32_t key) { return g_inputMap.ForKey(PXInputContext::Play, key); }

    SFGame sfgame;
};

TEST_F(OptionsSceneTest, ShowsTheOptionsAndBindingsItOpensOn)
{
    sfgame.GetOptions().musicVolume = 40;
    sfgame.GetOptions().effectsVolume = 0;
    sfgame.SetSwapControls(1);
    g_keyRepeatDelay = 85;
    ASSERT_TRUE(g_inputMap.BindKey(PXInputContext::Play, Action::MoveLeft, 1, 'j'));
    Open();
    EXPECT_EQ(Slider(Slot::MusicVolume).GetValue(), 40);
    EXPECT_EQ(Text(Slot::MusicVolumeText), "40%");
    EXPECT_EQ(Slider(Slot::EffectsVolume).GetValue(), 0);
    EXPECT_EQ(Text(Slot::EffectsVolumeText), "0%");
    EXPECT_EQ(Slider(Slot::KeyRepeat).GetValue(), 3);
    EXPECT_EQ(Text(Slot::KeyRepeatText), "Quick");
    EXPECT_EQ(Text(Slot::SwapMouseText), "On");
    EXPECT_EQ(Text(Slot::LeftKeyText), "Left, J");
    EXPECT_EQ(Text(Slot::TurnKeyText), "Space, Up");
    EXPECT_EQ(Text(Slot::DropPadText), "B, Down");
    EXPECT_EQ(Text(Slot::Message), "");
}

TEST_F(OptionsSceneTest, SlidersChangeTheOptionsAtOnce)
{
    Open();
    // The focus starts on the music slider: Left takes a step off at once.
    ASSERT_TRUE(scene->OnKeyDown(KeyArrowLeft));
    EXPECT_EQ(sfgame.GetOptions().musicVolume, 95);
    EXPECT_EQ(Text(Slot::MusicVolumeText), "95%");
    EXPECT_FLOAT_EQ(sound.GetGroupVolume(PXSoundGroup::Music), PXVolumeGain(95));
    EXPECT_FLOAT_EQ(sound.GetGroupVolume(PXSoundGroup::Effects), PXVolumeGain(100));
    // Down to the effects slider, Home to silence.
    ASSERT_TRUE(scene->OnKeyDown(KeyArrowDown));
    ASSERT_TRUE(scene->OnKeyDown(KeyHome));
    EXPECT_EQ(sfgame.GetOptions().effectsVolume, 0);
    EXPECT_FLOAT_EQ(sound.GetGroupVolume(PXSoundGroup::Effects), 0.0f);
    EXPECT_FLOAT_EQ(sound.GetGroupVolume(PXSoundGroup::Music), PXVolumeGain(95));
    // The key repeat: End is the fastest step, and a held move steps at its delay.
    ASSERT_TRUE(scene->OnKeyDown(KeyArrowDown));
    ASSERT_TRUE(scene->OnKeyDown(KeyEnd));
    EXPECT_EQ(Text(Slot::KeyRepeatText), "Fast");
    EXPECT_EQ(g_keyRepeatDelay, SFOptions::KeyRepeatDelays.back());
}

TEST_F(OptionsSceneTest, PlatesSwitchTheScreenAndTheMouseButtons)
{
    Open();
    const bool before = screen.IsFullScreen();
    // A click on the text over a plate presses the plate.
    ASSERT_TRUE(Click(305, 175));
    EXPECT_NE(screen.IsFullScreen(), before);
    EXPECT_EQ(Text(Slot::FullScreenText), screen.IsFullScreen() ? "On" : "Off");
    Press(Slot::SwapMouse);
    EXPECT_EQ(sfgame.GetSwapControls(), 1);
    EXPECT_EQ(Text(Slot::SwapMouseText), "On");
    Press(Slot::SwapMouse);
    EXPECT_EQ(sfgame.GetSwapControls(), 0);
}

TEST_F(OptionsSceneTest, AKeyInUseIsRefusedAndAFreeOneBinds)
{
    auto& options = Open();
    Press(Slot::LeftKey);
    EXPECT_EQ(options.GetCapture(), SFEntityOptionsMenuScene::Capture::Key);
    EXPECT_EQ(Text(Slot::LeftKeyText), "...");
    EXPECT_EQ(Text(Slot::Message), "Press a key for Left (Escape cancels)");

    // S switches the sound in play: refused, the wait goes on and nothing changed.
    ASSERT_TRUE(scene->OnKeyDown('s'));
    EXPECT_EQ(Text(Slot::Message), "S is already used for Sound on/off. Press another key, or Escape to cancel.");
    EXPECT_EQ(options.GetCapture(), SFEntityOptionsMenuScene::Capture::Key);
    EXPECT_EQ(LeftKeyAction(KeyArrowLeft), Action::MoveLeft);
    EXPECT_EQ(LeftKeyAction('s'), Action::ToggleSound);
    // Turn's second key is refused too.
    ASSERT_TRUE(scene->OnKeyDown(KeyArrowUp));
    EXPECT_EQ(LeftKeyAction(KeyArrowUp), Action::Turn);

    // Capital A binds as a: the only key of Left from now on.
    ASSERT_TRUE(scene->OnKeyDown('A'));
    EXPECT_EQ(options.GetCapture(), SFEntityOptionsMenuScene::Capture::None);
    EXPECT_EQ(LeftKeyAction('a'), Action::MoveLeft);
    EXPECT_EQ(LeftKeyAction(KeyArrowLeft), Action::None);
    EXPECT_EQ(Text(Slot::LeftKeyText), "A");
    EXPECT_EQ(Text(Slot::Message), "Left is now A");
    // The scene stays; the game stores the change with its options.
    EXPECT_FALSE(sfgame.IsSceneChangePending());
}

TEST_F(OptionsSceneTest, EscapeAndClicksCancelAWaitAndKeepTheBinding)
{
    auto& options = Open();
    Press(Slot::TurnKey);
    ASSERT_TRUE(scene->OnKeyDown(KeyEscape));
    EXPECT_EQ(options.GetCapture(), SFEntityOptionsMenuScene::Capture::None);
    EXPECT_EQ(Text(Slot::TurnKeyText), "Space, Up");
    EXPECT_EQ(Text(Slot::Message), "");
    // Escape ended the wait, not the screen.
    EXPECT_FALSE(sfgame.IsSceneChangePending());

    Press(Slot::TurnKey);
    Click(5, 5);
    EXPECT_EQ(options.GetCapture(), SFEntityOptionsMenuScene::Capture::None);
    // F7 stays the full-screen key.
    Press(Slot::TurnKey);
    ASSERT_TRUE(scene->OnKeyDown(KeyF7));
    EXPECT_EQ(options.GetCapture(), SFEntityOptionsMenuScene::Capture::Key);
    EXPECT_EQ(g_inputMap.ForKey(PXInputContext::Play, KeyF7), Action::None);
}

TEST_F(OptionsSceneTest, PadButtonsBindFromThePad)
{
    auto& options = Open();
    Press(Slot::TurnPad);
    EXPECT_EQ(Text(Slot::Message), "Press a pad button for Turn (Back cancels)");
    // Keys do not bind a pad button; Start is Pause's.
    ASSERT_TRUE(scene->OnKeyDown('x'));
    EXPECT_EQ(options.GetCapture(), SFEntityOptionsMenuScene::Capture::Pad);
    ASSERT_TRUE(scene->OnPadDown(PadStart));
    EXPECT_EQ(Text(Slot::Message), "Start is already used for Pause. Press another button, or Back to cancel.");
    ASSERT_TRUE(scene->OnPadDown(PadNorth));
    EXPECT_EQ(g_inputMap.ForPad(PXInputContext::Play, PadNorth), Action::Turn);
    EXPECT_EQ(g_inputMap.ForPad(PXInputContext::Play, PadSouth), Action::None);
    EXPECT_EQ(Text(Slot::TurnPadText), "Y");

    Press(Slot::DropPad);
    ASSERT_TRUE(scene->OnPadDown(PadBack));
    EXPECT_EQ(options.GetCapture(), SFEntityOptionsMenuScene::Capture::None);
    EXPECT_EQ(Text(Slot::DropPadText), "B, Down");
}

TEST_F(OptionsSceneTest, RestoreDefaultsUndoesEveryChoice)
{
    Open();
    ASSERT_TRUE(scene->OnKeyDown(KeyHome));
    Press(Slot::SwapMouse);
    Press(Slot::LeftKey);
    ASSERT_TRUE(scene->OnKeyDown('a'));
    Press(Slot::Defaults);
    EXPECT_EQ(sfgame.GetOptions(), SFOptions());
    EXPECT_EQ(sfgame.GetSwapControls(), 0);
    EXPECT_EQ(LeftKeyAction(KeyArrowLeft), Action::MoveLeft);
    EXPECT_EQ(LeftKeyAction('a'), Action::None);
    EXPECT_EQ(Slider(Slot::MusicVolume).GetValue(), 100);
    EXPECT_EQ(Text(Slot::LeftKeyText), "Left");
    EXPECT_TRUE(screen.IsFullScreen());
}

TEST_F(OptionsSceneTest, DoneAndBackLeaveForTheMainMenu)
{
    struct Case {
        const char* what;
        bool (*leave)(PXEntity2DScene& options, PXEntity2DGUIElement* done);
    };
    const Case cases[] = {
        {"Escape", [](PXEntity2DScene& options, PXEntity2DGUIElement*) { return options.OnKeyDown(KeyEscape); }},
        {"the pad's Back", [](PXEntity2DScene& options, PXEntity2DGUIElement*) { return options.OnPadDown(PadBack); }},
        {"Done", [](PXEntity2DScene& options, PXEntity2DGUIElement* done) { return options.OnElementPressed(done); }},
    };
    for (const Case& c : cases) {
        SFGame game;
        g_game = &game;
        Open();
        EXPECT_TRUE(c.leave(*scene, Element(Slot::Done))) << c.what;
        EXPECT_TRUE(game.IsSceneChangePending()) << c.what;
        scene.reset();
        g_game = &sfgame;
    }
}

}  // namespace
}  // namespace menutest
