// The keyboard/pad focus on the screens: moving it by direction and in definition order,
// showing it only once a key is used, the pointer taking it, Press doing what a click does
// on every main-menu button, the pad in the menu and on the instructions, and the play scene
// that takes none while its quit question still does.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/gui/PXDialogClasses.h"
#include "game/SFEntityMainGameScene.h"
#include "game/SFEntityMainGameSceneType.h"
#include "tests/menus/MenuFixture.h"

namespace menutest {
namespace {

// Six focus probes of 80 x 40 and a decoration between them that takes no focus:
//   A B C
//   D   E
//     F
// The priorities run against the definition order, so the sorted element list is reversed.
const char* const GridKeys =
    "NumGUIElements 7\n"
    "GUIElement1Ent focusprobe, box\nGUIElement1Pos 10, 10\nGUIElement1Priority 9\n"
    "GUIElement2Ent focusprobe, box\nGUIElement2Pos 110, 10\nGUIElement2Priority 8\n"
    "GUIElement3Ent probe, backdrop\nGUIElement3Priority 7\n"
    "GUIElement4Ent focusprobe, box\nGUIElement4Pos 210, 10\nGUIElement4Priority 6\n"
    "GUIElement5Ent focusprobe, box\nGUIElement5Pos 10, 110\nGUIElement5Priority 5\n"
    "GUIElement6Ent focusprobe, box\nGUIElement6Pos 210, 110\nGUIElement6Priority 4\n"
    "GUIElement7Ent focusprobe, box\nGUIElement7Pos 110, 210\nGUIElement7Priority 3\n";

// What a menu did: the requests to the game and the globals its buttons change.
struct Outcome {
    std::vector<Change> changes;
    bool quits = false;
    int difficulty = 1;
    size_t opened = 0;
    bool operator==(const Outcome& o) const
    {
        return changes == o.changes && quits == o.quits && difficulty == o.difficulty && opened == o.opened;
    }
};

std::ostream& operator<<(std::ostream& out, const Outcome& o)
{
    out << "{";
    for (const Change& c : o.changes) {
        out << c << " ";
    }
    return out << "quits " << o.quits << " difficulty " << o.difficulty << " opened " << o.opened << "}";
}

class FocusTest : public MenuTest {
protected:
    void SetUp() override
    {
        MenuTest::SetUp();
        registry.RegisterPrototype(&g_2DScenePrototype, "2DScene");
        Define("class = focusprobe\ntype = box\nSize 80, 40\n");
        Define("class = focusprobe\ntype = fbutton\nSize 100, 20\n");
    }

    PXEntity2DScene& Grid() { return Make<PXEntity2DScene>("2DScene", GridKeys); }

    // The focus probes of the scene in definition order: A to F.
    std::vector<FocusProbe*> Probes() const
    {
        std::vector<FocusProbe*> probes;
        for (PXEntity2DGUIElement* e : scene->SceneType()->ElementsInDefinitionOrder()) {
            if (auto* p = dynamic_cast<FocusProbe*>(e)) {
                probes.push_back(p);
            }
        }
        return probes;
    }
    FocusProbe* At(char name) const { return Probes()[static_cast<size_t>(name - 'A')]; }
    // The letter of the element showing the focus, '-' for none.
    char Shown() const
    {
        const std::vector<FocusProbe*> probes = Probes();
        for (size_t i = 0; i < probes.size(); ++i) {
            if (scene->GetShownFocus() == probes[i]) {
                return static_cast<char>('A' + i);
            }
        }
        return '-';
    }
    // Shows the focus, then walks it with Tab to the element.
    void FocusOn(char name)
    {
        for (int i = 0; i < 8 && Shown() != name; ++i) {
            scene->OnKeyDown(KeyTab);
        }
        ASSERT_EQ(name, Shown());
    }
    void PointerAt(int x, int y)
    {
        g_mouseX = x;
        g_mouseY = y;
        scene->Update(16.0f);
    }

    // A main menu whose six buttons take the focus (Quit on top, Hard at the bottom).
    SFEntityMainMenuScene& FocusMenu()
    {
        std::string keys = MenuKeys;
        for (size_t at = keys.find("probe, button"); at != std::string::npos; at = keys.find("probe, button", at)) {
            keys.replace(at, 13, "focusprobe, fbutton");
            at += 19;
        }
        return Menu(keys);
    }
    // Runs `drive` on a fresh focus menu with a fresh game and reports what happened.
    template <typename Drive> Outcome OnFreshMenu(Drive drive)
    {
        FakeGame fresh;
        g_game = &fresh;
        g_difficulty = 1;
        Opened().clear();
        FocusMenu();
        drive();
        Outcome outcome{fresh.changes, fresh.IsQuitRequested(), g_difficulty, Opened().size()};
        scene.reset();
        g_game = &game;
        return outcome;
    }
};

TEST_F(FocusTest, FocusMovesByDirectionToTheNearestAndWalksInDefinitionOrder)
{
    struct Case {
        char from;
        bool pad;  // the code is a pad button, else a key
        int code;
        char to;
    };
    const Case cases[] = {
        // Directions: straight ahead beats nearer elements off to the side; none that way stays.
        {'A', false, KeyArrowRight, 'B'}, {'C', false, KeyArrowRight, 'C'}, {'A', false, KeyArrowLeft, 'A'},
        {'A', false, KeyArrowUp, 'A'},    {'A', false, KeyArrowDown, 'D'},  {'B', false, KeyArrowDown, 'F'},
        {'F', false, KeyArrowUp, 'B'},    {'D', false, KeyArrowRight, 'E'}, {'E', false, KeyArrowLeft, 'D'},
        {'F', false, KeyArrowLeft, 'D'},  {'C', false, KeyArrowDown, 'E'},  {'D', false, KeyArrowUp, 'A'},
        {'E', true, PadUp, 'C'},          {'A', true, PadRight, 'B'},
        // Tab and the shoulders: definition order (not drawing order), the decoration
        // skipped, wrapping at both ends.
        {'A', false, KeyTab, 'B'},        {'B', false, KeyTab, 'C'},        {'F', false, KeyTab, 'A'},
        {'C', true, PadRightShoulder, 'D'}, {'A', true, PadLeftShoulder, 'F'}, {'D', true, PadLeftShoulder, 'C'},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(1, c.from) + " code " + std::to_string(c.code));
        Grid();
        FocusOn(c.from);
        EXPECT_TRUE(c.pad ? scene->OnPadDown(c.code) : scene->OnKeyDown(c.code));
        EXPECT_EQ(c.to, Shown());
        // Only the focused element looks focused.
        for (char name = 'A'; name <= 'F'; ++name) {
            EXPECT_EQ(name == c.to, At(name)->IsFocused()) << name;
        }
    }
}

TEST_F(FocusTest, TheFirstKeyOnlyShowsTheFocusOnTheFirstElement)
{
    for (int key : std::vector<int>{KeyArrowDown, KeyArrowRight, KeyTab, KeyReturn, ' '}) {
        SCOPED_TRACE(key);
        Grid();
        EXPECT_EQ('-', Shown());
        EXPECT_TRUE(scene->OnKeyDown(key));
        EXPECT_EQ('A', Shown());
        EXPECT_TRUE(At('A')->IsFocused());
        // Return or space on a focus nobody could see presses nothing.
        EXPECT_EQ(0, At('A')->presses);
    }
    // Once shown, Return presses the focused element; keys without a focus action do nothing.
    EXPECT_TRUE(scene->OnKeyDown(KeyReturn));
    EXPECT_EQ(1, At('A')->presses);
    EXPECT_FALSE(scene->OnKeyDown('q'));
    EXPECT_EQ('A', Shown());
}

TEST_F(FocusTest, AFocusActionGoesToTheFocusedElementFirst)
{
    Grid();
    FocusOn('B');
    At('B')->offered.clear();
    scene->OnKeyDown(KeyPageDown);
    scene->OnKeyDown(KeyArrowDown);
    // The probe takes neither, so Down moved the focus on.
    EXPECT_EQ((std::vector<PXInputAction>{PXInputAction::PageDown, PXInputAction::FocusDown}), At('B')->offered);
    EXPECT_EQ('F', Shown());
}

TEST_F(FocusTest, APointerMoveTakesTheFocusAndOverNothingHidesIt)
{
    Grid();
    // The first frame only notes where the pointer is.
    PointerAt(250, 30);
    EXPECT_EQ('-', Shown());
    PointerAt(255, 35);
    EXPECT_EQ('C', Shown());
    EXPECT_TRUE(At('C')->IsFocused());
    // Over nothing the focus stays on C but is not drawn; the next key shows it there.
    PointerAt(600, 400);
    EXPECT_EQ('-', Shown());
    EXPECT_FALSE(At('C')->IsFocused());
    EXPECT_TRUE(scene->OnKeyDown(KeyArrowLeft));
    EXPECT_EQ('C', Shown());
    // An element that cannot take the focus does not take it from the pointer either.
    At('D')->SetDisabled(true);
    PointerAt(50, 130);
    EXPECT_EQ('-', Shown());
    // A pointer resting in place leaves the keyboard's choice alone.
    scene->OnKeyDown(KeyTab);
    scene->OnKeyDown(KeyTab);
    const char chosen = Shown();
    PointerAt(50, 130);
    EXPECT_EQ(chosen, Shown());
}

TEST_F(FocusTest, AnElementThatHidesLosesTheFocusToAnother)
{
    Grid();
    FocusOn('B');
    At('B')->SetVisible(false);
    EXPECT_TRUE(scene->OnKeyDown(KeyTab));
    EXPECT_FALSE(At('B')->IsFocused());
    EXPECT_NE('B', Shown());
    EXPECT_NE('-', Shown());
    // Leaving the screen takes the focused look off the elements, which the type keeps.
    FocusProbe* focused = At(Shown());
    scene.reset();
    EXPECT_FALSE(focused->IsFocused());
}

TEST_F(FocusTest, PressByKeyDoesWhatAClickDoesOnEveryMainMenuButton)
{
    const Change instr{"SFInstrMenuScene", "instrmenu", 2};
    struct Case {
        const char* what;
        int tabs;  // after the first Tab that shows the focus on Easy
        int x, y;
    };
    const Case cases[] = {
        {"easy", 0, 20, 105},  {"medium", 1, 20, 135},    {"hard", 2, 20, 175},
        {"high scores", 3, 20, 75}, {"web page", 4, 20, 45}, {"quit", 5, 20, 15},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const Outcome clicked = OnFreshMenu([&] { EXPECT_TRUE(Click(c.x, c.y)); });
        const Outcome pressed = OnFreshMenu([&] {
            for (int i = 0; i <= c.tabs; ++i) {
                scene->OnKeyDown(KeyTab);
            }
            EXPECT_TRUE(scene->OnKeyDown(KeyReturn));
        });
        EXPECT_EQ(clicked, pressed);
        // The click acted at all, and the focus went down the menu in screen order.
        EXPECT_FALSE(clicked == Outcome{});
    }
    // Where a difficulty lands is the menu's business; the three differ.
    EXPECT_EQ(Outcome({{instr}, false, 2, 0}), OnFreshMenu([&] {
                  for (int key : std::vector<int>{KeyTab, KeyArrowDown, KeyArrowDown, KeyReturn}) {
                      scene->OnKeyDown(key);
                  }
              }));
}

TEST_F(FocusTest, PadButtonsDriveTheMenu)
{
    const Change instr{"SFInstrMenuScene", "instrmenu", 2};
    struct Case {
        const char* what;
        std::vector<int> buttons;
        Outcome expected;
    };
    const Case cases[] = {
        {"first press only shows the focus", {PadSouth}, {}},
        {"down shows, south presses easy", {PadDown, PadSouth}, {{instr}, false, 0, 0}},
        {"down twice and start: medium", {PadDown, PadDown, PadStart}, {{instr}, false, 1, 0}},
        {"shoulders walk", {PadRightShoulder, PadRightShoulder, PadRightShoulder, PadLeftShoulder, PadSouth},
         {{instr}, false, 1, 0}},
        {"east is back: quit", {PadEast}, {{}, true, 1, 0}},
        {"back quits", {PadBack}, {{}, true, 1, 0}},
        {"west means nothing here", {PadDown, PadWest, PadNorth}, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(c.expected, OnFreshMenu([&] {
                      for (int button : c.buttons) {
                          scene->OnPadDown(button);
                      }
                  }));
    }
}

TEST_F(FocusTest, InstructionsPadStartsGoesBackOrScrolls)
{
    const Change play{"SFGameScene", "maingame", 1};
    const Change back{"SFMainMenuScene", "mainmenu", 1};
    struct Case {
        int button;
        std::vector<Change> expected;
    };
    const Case cases[] = {
        {PadSouth, {play}}, {PadStart, {play}}, {PadWest, {play}}, {PadEast, {back}}, {PadBack, {back}},
        // The D-pad and the shoulders are navigation: they never start.
        {PadDown, {}},      {PadUp, {}},       {PadLeft, {}},    {PadRightShoulder, {}},
    };
    Make<SFEntityInstrMenuScene>("SFInstrMenuScene", "TransType 1\n");
    for (const Case& c : cases) {
        game.changes.clear();
        EXPECT_TRUE(scene->OnPadDown(c.button)) << c.button;
        EXPECT_EQ(c.expected, game.changes) << c.button;
    }
}

TEST_F(FocusTest, ThePlaySceneTakesNoFocusButItsQuitQuestionDoes)
{
    ASSERT_TRUE(PXRegisterDialogClasses(registry));
    registry.RegisterPrototype(&g_gameScenePrototype, "SFGameScene");
    Define("class = focusprobe\ntype = answer\nSize 30, 20\n");
    Define("class = PXMessageBox\ntype = quitbox\nYesButtonEnt = focusprobe, answer\n"
           "NoButtonEnt = focusprobe, answer2\n");
    Define("class = focusprobe\ntype = answer2\nSize 30, 20\n");
    auto& play = Make<SFEntityMainGameScene>(
        "SFGameScene", "MessageBoxEnt PXMessageBox, quitbox\nPauseEnt focusprobe, box\nPauseEntPos 410, 400\n"
                       "FullscreenEnt focusprobe, box\nFullscreenEntPos 490, 400\n");
    EXPECT_FALSE(play.TakesFocus());
    for (int key : std::vector<int>{KeyTab, KeyReturn}) {
        play.OnKeyDown(key);
    }
    play.OnPadDown(PadRightShoulder);
    PointerAt(420, 410);
    PointerAt(430, 420);
    EXPECT_EQ(nullptr, play.GetShownFocus());
    // Its clicks are its own: a right click on a button presses nothing through the scene.
    auto* pause = static_cast<FocusProbe*>(
        static_cast<SFEntityMainGameSceneType*>(play.GetType())->GetRecord(SFGameRecord::Pause)->entity.get());
    const PXPoint onPause{430, 420};
    play.OnMouseUp(&onPause, 2);
    EXPECT_EQ(0, pause->presses);

    // Escape asks; the box moves its focus with Right and answers with Return.
    play.OnKeyDown(KeyEscape);
    ASSERT_EQ(1u, play.GetDialogCount());
    play.Update(16.0f);
    play.OnKeyDown(KeyArrowRight);
    play.OnKeyDown(KeyArrowRight);
    play.OnKeyDown(KeyReturn);
    EXPECT_EQ(0u, play.GetDialogCount());
    // No: the game goes on.
    EXPECT_TRUE(game.changes.empty());

    // The pad reaches the box too: the first press shows the focus on Yes, the second answers.
    play.OnKeyDown(KeyEscape);
    ASSERT_EQ(1u, play.GetDialogCount());
    play.Update(16.0f);
    play.OnPadDown(PadSouth);
    play.OnPadDown(PadSouth);
    EXPECT_EQ(0u, play.GetDialogCount());
    EXPECT_EQ((std::vector<Change>{{"SFMainMenuScene", "mainmenu", -1}}), game.changes);
}

}  // namespace
}  // namespace menutest
