// The main menu and instructions scenes: which button acts, where the menus lead, the
// version text, the about page handed to the opener, and the whole path through the game.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/gui/PXEntity2DGUIFont.h"
#include "engine/gui/PXEntity2DGUIText.h"
#include "tests/menus/MenuFixture.h"

namespace menutest {
namespace {

TEST_F(MenuTest, EachButtonActsWithEitherMouseButton)
{
    const Change instr{"SFInstrMenuScene", "instrmenu", 2};
    struct Case {
        const char* what;
        int x, y, button;
        bool quits;
        std::vector<Change> changes;
        int difficulty;
        size_t opened;
    };
    const Case cases[] = {
        {"quit", 20, 15, 1, true, {}, 1, 0},
        {"web page", 20, 45, 1, false, {}, 1, 1},
        {"high scores", 20, 75, 2, false, {{"SFHighScoreMenuScene", "highscores", 2}}, 1, 0},
        {"easy", 20, 105, 1, false, {instr}, 0, 0},
        {"medium", 20, 135, 2, false, {instr}, 1, 0},
        {"hard, right button", 109, 179, 2, false, {instr}, 2, 0},
    };
    for (const Case& c : cases) {
        FakeGame fresh;
        g_game = &fresh;
        g_difficulty = 1;
        Opened().clear();
        Menu();
        EXPECT_TRUE(Click(c.x, c.y, c.button)) << c.what;
        EXPECT_EQ(fresh.IsQuitRequested(), c.quits) << c.what;
        EXPECT_EQ(fresh.changes, c.changes) << c.what;
        EXPECT_EQ(g_difficulty, c.difficulty) << c.what;
        EXPECT_EQ(Opened().size(), c.opened) << c.what;
        scene.reset();
        g_game = &game;
    }
}

TEST_F(MenuTest, ClickOnNoButtonGoesToTheScene)
{
    Menu();
    // Just outside the hard button, and on the backdrop element that is not a menu button.
    EXPECT_FALSE(Click(110, 165));
    EXPECT_FALSE(Click(300, 300, 2));
    EXPECT_FALSE(game.IsQuitRequested());
    EXPECT_TRUE(game.changes.empty());
    EXPECT_EQ(g_difficulty, 1);

    // With a dialog open that takes the click, the scene's routing answers.
    scene->AddDialog(1, std::unique_ptr<PXSceneDialog>(dynamic_cast<PXSceneDialog*>(
                            registry.CreateEntity("testbox", "taker", PXKind::DialogBox).release())),
                     nullptr, nullptr, false);
    EXPECT_TRUE(Click(300, 300));
    EXPECT_TRUE(game.changes.empty());
}

TEST_F(MenuTest, QuitIsTriedFirstWhereButtonsOverlap)
{
    Menu("QuitEnt probe, button\nQuitEntPos 50, 160\nQuitEntPriority 1\n"
         "StartHardGameEnt probe, button\nStartHardGameEntPos 10, 160\nStartHardGameEntPriority 5\n");
    EXPECT_TRUE(Click(60, 165, 2));
    EXPECT_TRUE(game.IsQuitRequested());
    EXPECT_TRUE(game.changes.empty());
    EXPECT_EQ(g_difficulty, 1);
}

TEST_F(MenuTest, MenuButtonsAreDrawnWithTheSceneElements)
{
    Menu().Draw();
    int buttons = 0;
    for (const std::string& line : EventLog()) {
        buttons += line == "draw:button" ? 1 : 0;
    }
    EXPECT_EQ(buttons, 6);
}

TEST_F(MenuTest, VersionTextIsRightJustifiedWhenTheElementExists)
{
    Menu(std::string(MenuKeys) + "VerEnt recorder, ver\nVerEntPos 630, 465\n");
    Recorder* version = nullptr;
    for (const PXSceneElement& e : scene->SceneType()->GetElements()) {
        if (auto* r = dynamic_cast<Recorder*>(e.entity.get())) {
            version = r;
        }
    }
    ASSERT_NE(version, nullptr);
    EXPECT_EQ(version->text, "Ver: 1.1.5");
    EXPECT_EQ(version->properties,
              (std::vector<std::pair<int32_t, int32_t>>{{PXFontProp::Justify, PXJustify::Right}}));
}

TEST_F(MenuTest, MenuWithoutVersionOrSomeButtonsStillWorks)
{
    // Only the hard button: the missing records are skipped, nothing else acts.
    Menu("StartHardGameEnt probe, button\nStartHardGameEntPos 10, 160\n");
    EXPECT_FALSE(Click(20, 15));
    EXPECT_TRUE(Click(20, 165));
    EXPECT_EQ(game.changes, (std::vector<Change>{{"SFInstrMenuScene", "instrmenu", -1}}));
    EXPECT_EQ(g_difficulty, 2);

    // A button whose type does not exist has no entity and is never hit.
    game.changes.clear();
    Menu("QuitEnt probe, nosuch\nQuitEntPos 10, 10\n");
    EXPECT_FALSE(Click(20, 15));
    EXPECT_FALSE(game.IsQuitRequested());
}

TEST_F(MenuTest, EscapeQuitsAndOtherKeysGoToDialogsOnly)
{
    Menu();
    EXPECT_FALSE(scene->OnKeyDown('a'));
    EXPECT_FALSE(scene->OnKeyDown(KeyArrowUp));
    EXPECT_FALSE(game.IsQuitRequested());
    EXPECT_TRUE(game.changes.empty());

    scene->AddDialog(1, std::unique_ptr<PXSceneDialog>(dynamic_cast<PXSceneDialog*>(
                            registry.CreateEntity("testbox", "taker", PXKind::DialogBox).release())),
                     nullptr, nullptr, false);
    EventLog().clear();
    EXPECT_TRUE(scene->OnKeyDown('a'));
    EXPECT_EQ(EventLog(), std::vector<std::string>{"taker:key:97"});

    EXPECT_TRUE(scene->OnKeyDown(KeyEscape));
    EXPECT_TRUE(game.IsQuitRequested());
}

TEST_F(MenuTest, MenuStartsTheSong)
{
    game.AddSong("nosuch/song.wav", 1);
    Menu();
    EXPECT_EQ(game.GetCurrentSong(), 1);
    scene.reset();
    game.Shutdown();
}

TEST_F(MenuTest, ASongAskedForBeforeItIsAddedStartsWhenAdded)
{
    Menu();
    EXPECT_EQ(game.GetCurrentSong(), -1);
    game.AddSong("nosuch/other.wav", 2);
    EXPECT_EQ(game.GetCurrentSong(), -1);
    game.AddSong("nosuch/song.wav", 1);
    EXPECT_EQ(game.GetCurrentSong(), 1);

    // Stopped before it was added: adding it later does not start it.
    game.PlaySong(3, 100.0f);
    game.StopSong(100.0f);
    game.AddSong("nosuch/third.wav", 3);
    EXPECT_EQ(game.GetCurrentSong(), 1);
    scene.reset();
    game.Shutdown();
}

TEST_F(MenuTest, WebPageOpensTheBundledPageOrTheAddress)
{
    const std::string bundled = dir.Folder() + "Shardfall/about.html";
    struct Case {
        const char* what;
        std::string folder;
        bool pageExists;
        std::string expected;
    };
    const Case cases[] = {
        {"page beside the program", dir.Folder(), true, bundled},
        {"no page there", dir.Folder(), false, "https://shardfall.example/"},
        {"program folder unknown", "", true, "https://shardfall.example/"},
    };
    for (const Case& c : cases) {
        std::filesystem::remove_all(dir.Path() / "Shardfall");
        if (c.pageExists) {
            Write("Shardfall/about.html", "<html></html>\n");
        }
        SetProgramFolder(c.folder);
        Opened().clear();
        Menu();
        EXPECT_TRUE(Click(20, 45));
        EXPECT_EQ(Opened(), std::vector<std::string>{c.expected}) << c.what;
        EXPECT_FALSE(game.IsQuitRequested());
        EXPECT_TRUE(game.changes.empty());
    }
}

TEST_F(MenuTest, OpenDocumentWithoutHandlerLogsAndFails)
{
    SetDocumentHandler(nullptr);
    EXPECT_EQ(OpenDocument("https://shardfall.example/"), 0);
    EXPECT_NE(dir.Read("log.txt").find("https://shardfall.example/"), std::string::npos);

    SetDocumentHandler(RecordOpen);
    EXPECT_EQ(OpenDocument("/x/about.html"), 1);
    EXPECT_EQ(Opened(), std::vector<std::string>{"/x/about.html"});
}

TEST_F(MenuTest, InstructionsStartTheGameOrGoBack)
{
    const Change play{"SFGameScene", "maingame", 1};
    const Change back{"SFMainMenuScene", "mainmenu", 1};
    struct Case {
        const char* what;
        int key;
        std::vector<Change> expected;
    };
    const Case cases[] = {
        {"escape", KeyEscape, {back}},
        {"letter", 'a', {play}},
        {"return", 13, {play}},
        {"space", ' ', {play}},
        {"shift", KeyShift, {play}},
        {"character above 127", CharKeyCode(0xE9), {play}},
        {"F1", KeyF1, {play}},
        // F7 has already switched the window mode; it does not start the game too.
        {"F7", KeyF7, {}},
        // The navigation keys scroll the help and do not start.
        {"arrow left", KeyArrowLeft, {}},
        {"arrow down", KeyArrowDown, {}},
        {"tab", KeyTab, {}},
        {"page down", KeyPageDown, {}},
        {"home", KeyHome, {}},
        {"end", KeyEnd, {}},
    };
    Make<SFEntityInstrMenuScene>("SFInstrMenuScene", "TransType 1\n");
    for (const Case& c : cases) {
        game.changes.clear();
        EXPECT_TRUE(scene->OnKeyDown(c.key)) << c.what;
        EXPECT_EQ(game.changes, c.expected) << c.what;
    }
    for (int button : {1, 2}) {
        game.changes.clear();
        EXPECT_TRUE(Click(5, 5, button));
        EXPECT_EQ(game.changes, std::vector<Change>{play}) << "button " << button;
    }
    EXPECT_FALSE(game.IsQuitRequested());
}

// The real game object: the menus are registered under their class names, the first scene
// is the main menu, and a right click on "StartHardGame" leads to the instructions.
class MenuGame : public SFGame {
protected:
    void RegisterPrototypes(PXEntityRegistry& registry) override
    {
        SFGame::RegisterPrototypes(registry);
        RegisterElementClasses(registry);
    }
};

TEST_F(MenuTest, GameStartsInTheMenuAndRightClickStartsAHardGame)
{
    // This test runs its own registry inside the game.
    registry.ClearTypes();
    g_entityRegistry = nullptr;
    Write("button.ent", "class = probe\ntype = button\nSize 100, 20\n");
    Write("mainmenu.ent", std::string("class = SFMainMenuScene\ntype = mainmenu\n") + MenuKeys);
    Write("instrmenu.ent", "class = SFInstrMenuScene\ntype = instrmenu\nTransType 0\n");

    MenuGame real;
    g_game = &real;
    ASSERT_EQ(real.Initialise(), 1);
    ASSERT_NE(dynamic_cast<SFEntityMainMenuScene*>(real.GetScene()), nullptr);
    // The song is loaded after the first picture; the menu's request waits for it.
    EXPECT_EQ(real.GetCurrentSong(), -1);
    PXEventQueue queue;
    real.RunFrame(queue);
    EXPECT_EQ(real.GetCurrentSong(), -1);

    queue.Push(EventTick, 100);
    queue.Push(EventMouseMove, PackMousePosition(50, 170));
    queue.Push(EventRightDown);
    queue.Push(EventRightUp);
    real.RunFrame(queue);
    // The frame that took the click performs the change and starts the transition.
    EXPECT_EQ(g_difficulty, 2);
    EXPECT_TRUE(real.IsTransitionActive());
    EXPECT_EQ(real.GetTransitionStyle(), 2);
    EXPECT_NE(dynamic_cast<SFEntityInstrMenuScene*>(real.GetScene()), nullptr);
    EXPECT_EQ(real.GetScene()->GetType()->GetRef().typeName, "instrmenu");
    EXPECT_EQ(real.GetCurrentSong(), 1);
    real.Shutdown();
}

}  // namespace
}  // namespace menutest
