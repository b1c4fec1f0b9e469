// The high-score screen on the headless screen: entering a new score, the name-entry dialog
// (the first character replaces the offered name, 32 characters, "QMS" for none, Enter, OK
// and Escape), ending the entry on the screen itself, the ten rows from g_highScores with
// the arrow, and the ways back to the menu; Tab and the pad reaching the dialog's OK and the
// screen's Done.
#include <gtest/gtest.h>

#include "engine/core/PXEvent.h"
#include "engine/gui/PXEntityDialogBox.h"
#include "engine/gui/PXEntityHighScoreInputScene.h"
#include "game/SFEntityHighScoreMenuScene.h"
#include "game/SFHighScore.h"
#include "tests/dialogs/DialogFixture.h"
#include "tests/gui/FocusProbe.h"
#include "tests/support/FakeSettingsManager.h"
#include "tests/support/TempDir.h"

namespace dialogtest {
namespace {

class HighScoreSceneTest : public DialogTest {
protected:
    void SetUp() override
    {
        DialogTest::SetUp();
        ASSERT_TRUE(registry.RegisterPrototype(&g_highScoreMenuScenePrototype, "SFHighScoreMenuScene"));
        g_highScores.RemoveAll();
        g_newHighScore.reset();
        g_lastHighScoreName = "Alice";
        Define("class = probe\ntype = Row\nText = 1\n");
        Define("class = probe\ntype = Arrow\nSize = 8, 8\n");
        Define("class = probe\ntype = DoneBtn\nSize = 40, 20\n");
        Define("class = PXDialogBox\ntype = plainbox\n");
        std::string screenText = "class = SFHighScoreMenuScene\ntype = highscores\nTransType = 2\n"
                                 "ArrowEnt = probe, Arrow\nDoneEnt = probe, DoneBtn\nDoneEntPos = 500, 440\n";
        for (int row = 1; row <= 10; ++row) {
            const std::string r = std::to_string(row);
            const std::string y = std::to_string(227 + 15 * (row - 1));
            for (const char* column : {"Name", "Score", "Level"}) {
                screenText += std::string(column) + r + "Ent = probe, Row\n" + column + r + "EntPos = 60, " + y + "\n";
            }
        }
        Define(screenText);
    }

    void TearDown() override
    {
        DialogTest::TearDown();
        g_highScores.RemoveAll();
        g_newHighScore.reset();
        g_lastHighScoreName.clear();
        g_settings = nullptr;
    }

    // The name-entry dialog: a text field without a font (typing works, nothing is drawn)
    // and an OK probe (or the element `ok` names).
    void DefineNameEntryDialog(const std::string& ok = "probe, OKBtn")
    {
        Define("class = text\ntype = NameText\n");
        Define("class = probe\ntype = OKBtn\nSize = 30, 20\n");
        Define("class = PXVectorFrame\ntype = frame\nHasTitle = 1\n");
        Define("class = PXHighScoreInputScene\ntype = hsinput\nNameEntryEnt = text, NameText\n"
               "NameEntryEntPos = 10, 10\nOKButtonEnt = " + ok + "\nOKButtonEntPos = 100, 40\n");
        Define("class = PXDialogScene\ntype = scoreinputbox\nSceneEnt = PXHighScoreInputScene, hsinput\n"
               "FrameEnt = PXVectorFrame, frame\nWidth = 300\nHeight = 100\n");
    }

    std::unique_ptr<SFEntityHighScoreMenuScene> MakeScene()
    {
        return Make<SFEntityHighScoreMenuScene>({"SFHighScoreMenuScene", "highscores"}, PXKind::Scene);
    }

    static void AddEntry(uint32_t score, uint32_t level, uint32_t mode, const std::string& name)
    {
        g_highScores.InsertEntry(SFHighScore(score, level, mode, name), false);
    }

    static std::string TextOf(PXSceneElement* record)
    {
        auto* probe = record != nullptr ? dynamic_cast<Probe*>(record->entity.get()) : nullptr;
        return probe != nullptr ? probe->text : "<none>";
    }

    static PXPoint ArrowAt(SFEntityHighScoreMenuScene& scene)
    {
        auto* type = static_cast<SFEntityHighScoreMenuSceneType*>(scene.GetType());
        PXPoint at;
        type->GetArrow()->entity->GetPosition(&at);
        return at;
    }
};

TEST_F(HighScoreSceneTest, NameEntryDialogStoresTheTypedName)
{
    DefineNameEntryDialog();
    auto keys = [](const std::string& text) { return std::vector<int>(text.begin(), text.end()); };
    enum Close { ByEnter, ByOK, ByEscape };
    struct Case {
        const char* what;
        std::vector<int> keys;
        Close close;
        std::string expected;
    };
    const Case cases[] = {
        {"the first character replaces the last name", keys("Bob"), ByEnter, "Bob"},
        {"Enter at once keeps the last name", {}, ByEnter, "Alice"},
        {"an emptied name is stored as QMS", {KeyBackspace}, ByEnter, "QMS"},
        {"at most 32 characters", keys(std::string(40, 'x')), ByEnter, std::string(32, 'x')},
        {"the OK button ends the entry", keys("Zed"), ByOK, "Zed"},
        {"arrows, Shift and F7 keep the offered name", {KeyArrowLeft, KeyShift, KeyF7}, ByEnter, "Alice"},
        {"a character after them still replaces it", {KeyShift, 'D', 'i'}, ByEnter, "Di"},
        {"Escape keeps the offered name", {}, ByEscape, "Alice"},
        {"Escape keeps a typed name", keys("Eve"), ByEscape, "Eve"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        g_highScores.RemoveAll();
        AddEntry(1000, 9, 3, "Top");
        AddEntry(100, 1, 1, "Low");
        g_lastHighScoreName = "Alice";
        g_newHighScore = std::make_unique<SFHighScore>(500, 3, 2, "Alice");

        std::unique_ptr<SFEntityHighScoreMenuScene> scene = MakeScene();
        ASSERT_NE(nullptr, scene);
        EXPECT_EQ(1, scene->GetHighlightRow());
        EXPECT_TRUE(scene->IsNameEntryActive());
        EXPECT_EQ(0u, scene->GetDialogCount());
        scene->Update(16.0f);  // the dialog opens on the first frame
        ASSERT_EQ(1u, scene->GetDialogCount());
        EXPECT_TRUE(scene->IsModal());
        scene->Update(16.0f);

        auto* input = dynamic_cast<PXEntityHighScoreInputScene*>(scene->FindDialogScene(PXKind::HighScoreInputScene));
        ASSERT_NE(nullptr, input);
        EXPECT_EQ("Alice", input->GetEnteredName());
        for (int key : c.keys) {
            EXPECT_TRUE(scene->OnKeyDown(key));
        }
        if (c.close == ByOK) {
            auto* type = static_cast<PXEntityHighScoreInputSceneType*>(input->GetType());
            PXRect ok;
            type->GetOKButton()->entity->GetRect(&ok);
            PXPoint at{ok.left + 1, ok.top + 1};
            EXPECT_TRUE(scene->OnMouseUp(&at, 1));
        } else {
            EXPECT_TRUE(scene->OnKeyDown(c.close == ByEscape ? KeyEscape : KeyReturn));
        }
        EXPECT_EQ(0u, scene->GetDialogCount());
        EXPECT_FALSE(scene->IsNameEntryActive());
        PXHighScore* entry = g_highScores.EntryAt(1);
        ASSERT_NE(nullptr, entry);
        EXPECT_EQ(c.expected, entry->name);
        EXPECT_EQ(0, entry->isNew);
        EXPECT_EQ(c.expected, g_lastHighScoreName);

        scene->Update(16.0f);
        EXPECT_EQ(34, ArrowAt(*scene).x);
        EXPECT_EQ(227 + 15, ArrowAt(*scene).y);
        EXPECT_NE(nullptr, g_newHighScore);
        scene.reset();
        EXPECT_EQ(nullptr, g_newHighScore);
        EXPECT_EQ(3, g_highScores.Count());
    }
}

TEST_F(HighScoreSceneTest, WithoutTheDialogTheScreenEndsTheEntry)
{
    struct Case {
        const char* what;
        bool click;
    };
    for (const Case& c : {Case{"Enter on the screen", false}, Case{"a click that nothing takes", true}}) {
        SCOPED_TRACE(c.what);
        g_highScores.RemoveAll();
        g_lastHighScoreName = "old";
        g_newHighScore = std::make_unique<SFHighScore>(500, 3, 2, "Carol");
        std::unique_ptr<SFEntityHighScoreMenuScene> scene = MakeScene();
        scene->Update(16.0f);
        EXPECT_EQ(0u, scene->GetDialogCount());
        EXPECT_TRUE(scene->IsNameEntryActive());
        // Keys on the screen type nowhere: the screen has no name field.
        EXPECT_FALSE(scene->OnKeyDown('z'));
        EXPECT_EQ("Carol", g_highScores.EntryAt(0)->name);
        EXPECT_EQ(1, g_highScores.EntryAt(0)->isNew);

        if (c.click) {
            PXPoint empty{5, 5};
            EXPECT_FALSE(scene->OnMouseUp(&empty, 1));
        } else {
            scene->OnKeyDown(KeyReturn);
        }
        EXPECT_FALSE(scene->IsNameEntryActive());
        EXPECT_EQ("Carol", g_highScores.EntryAt(0)->name);
        EXPECT_EQ(0, g_highScores.EntryAt(0)->isNew);
        EXPECT_EQ("Carol", g_lastHighScoreName);
        EXPECT_TRUE(game.changes.empty());
    }
}

// A settled name is on disk at once, so a crash before shut-down keeps it; the save takes in
// what another running copy wrote meanwhile, and the arrow follows the entry to its row.
TEST_F(HighScoreSceneTest, ASettledNameIsSavedAtOnce)
{
    TempDir dir;
    FakeSettingsManager settings(dir.Path().string() + "/");
    g_settings = &settings;
    const std::string path = HighScoreFilePath();
    AddEntry(1000, 9, 3, "Top");
    ASSERT_EQ(1, g_highScores.SaveFile(path));
    PXHighScoreTable other;
    SFHighScore scratch;
    other.LoadFile(path, scratch);
    other.InsertEntry(SFHighScore(800, 7, 1, "Other"), true);
    ASSERT_EQ(1, other.SaveFile(path));

    g_newHighScore = std::make_unique<SFHighScore>(500, 3, 2, "Alice");
    std::unique_ptr<SFEntityHighScoreMenuScene> scene = MakeScene();
    scene->Update(16.0f);
    ASSERT_TRUE(scene->IsNameEntryActive());
    EXPECT_EQ(1, scene->GetHighlightRow());
    scene->OnKeyDown(KeyReturn);

    PXHighScoreTable saved;
    saved.LoadFile(path, scratch);
    std::vector<std::string> names;
    for (const PXHighScore* e = saved.First(); e; e = e->nextEntry.get())
        names.push_back(e->name);
    EXPECT_EQ(names, (std::vector<std::string>{"Top", "Other", "Alice"}));
    EXPECT_EQ(3, g_highScores.Count());
    EXPECT_EQ(2, scene->GetHighlightRow());
    ASSERT_NE(nullptr, scene->GetStoredEntry());
    EXPECT_EQ("Alice", scene->GetStoredEntry()->name);
    EXPECT_EQ(-1, g_highScores.IndexOfNew());
    scene->Update(16.0f);
    EXPECT_EQ(227 + 2 * 15, ArrowAt(*scene).y);
}

TEST_F(HighScoreSceneTest, AScoreBelowTheTableOpensNothing)
{
    DefineNameEntryDialog();
    for (int i = 0; i < 10; ++i) {
        AddEntry(1000, 5, 1, "P" + std::to_string(i));
    }
    g_newHighScore = std::make_unique<SFHighScore>(5, 1, 1, "Alice");
    std::unique_ptr<SFEntityHighScoreMenuScene> scene = MakeScene();
    scene->Update(16.0f);
    scene->Update(16.0f);
    EXPECT_EQ(0u, scene->GetDialogCount());
    EXPECT_FALSE(scene->IsNameEntryActive());
    EXPECT_EQ(-1, scene->GetHighlightRow());
    EXPECT_EQ(-500, ArrowAt(*scene).x);
    EXPECT_EQ(-500, ArrowAt(*scene).y);
    EXPECT_EQ(-1, g_highScores.IndexOfNew());
    scene.reset();
    EXPECT_EQ(nullptr, g_newHighScore);
}

TEST_F(HighScoreSceneTest, RowsListTheSavedTableInOrder)
{
    // Inserted out of order; the table sorts them. Mode 7 cannot come from a file but shows
    // the level text in both columns.
    AddEntry(300, 4, 3, "Cat");
    AddEntry(900, 12, 0, "Ann");
    AddEntry(500, 7, 1, "Bo");
    AddEntry(100, 2, 7, "Dee");
    std::unique_ptr<SFEntityHighScoreMenuScene> scene = MakeScene();
    scene->Update(16.0f);
    auto* type = static_cast<SFEntityHighScoreMenuSceneType*>(scene->GetType());
    struct Row {
        std::string name, score, level;
    };
    const Row expected[] = {
        {"Ann", "12", "900 - Original"}, {"Bo", "7", "500 - Easy"}, {"Cat", "4", "300 - Hard"}, {"Dee", "2", "2"},
    };
    for (int row = 1; row <= 10; ++row) {
        SCOPED_TRACE(row);
        const Row want = row <= 4 ? expected[row - 1] : Row{"", "", ""};
        EXPECT_EQ(want.name, TextOf(type->GetName(row)));
        EXPECT_EQ(want.score, TextOf(type->GetScore(row)));
        EXPECT_EQ(want.level, TextOf(type->GetLevel(row)));
    }
    EXPECT_EQ(-500, ArrowAt(*scene).x);

    // A full table fills all ten rows; medium mode.
    g_highScores.RemoveAll();
    for (int i = 1; i <= 12; ++i) {
        AddEntry(static_cast<uint32_t>(100 * i), static_cast<uint32_t>(i), 2, "N" + std::to_string(i));
    }
    scene->Update(16.0f);
    EXPECT_EQ("N12", TextOf(type->GetName(1)));
    EXPECT_EQ("1200 - Medium", TextOf(type->GetLevel(1)));
    EXPECT_EQ("N3", TextOf(type->GetName(10)));
    EXPECT_EQ("3", TextOf(type->GetScore(10)));
}

TEST_F(HighScoreSceneTest, EscapeDoneAndClosingDialogsLeaveForTheMainMenu)
{
    const std::string menu = "SFMainMenuScene/mainmenu/2";
    struct Case {
        const char* what;
        int key;         // 0: none
        PXPoint click;   // x < 0: none
        int32_t tag;     // 0: no dialog
        int32_t result;
        bool leaves;
    };
    const Case cases[] = {
        {"Escape", KeyEscape, {-1, 0}, 0, 0, true},
        {"another key", 'a', {-1, 0}, 0, 0, false},
        {"Done", 0, {510, 450}, 0, 0, true},
        {"a click beside Done", 0, {400, 450}, 0, 0, false},
        {"quit dialog answered 2", 0, {-1, 0}, 1, 2, true},
        {"dialog 3 answered 3", 0, {-1, 0}, 3, 3, true},
        {"quit dialog answered 3", 0, {-1, 0}, 1, 3, false},
        {"dialog 3 answered 2", 0, {-1, 0}, 3, 2, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        game.changes.clear();
        std::unique_ptr<SFEntityHighScoreMenuScene> scene = MakeScene();
        scene->Update(16.0f);
        if (c.key != 0) {
            EXPECT_EQ(c.leaves, scene->OnKeyDown(c.key));
        }
        if (c.click.x >= 0) {
            PXPoint at = c.click;
            EXPECT_EQ(c.leaves, scene->OnMouseUp(&at, 1));
        }
        if (c.tag != 0) {
            std::unique_ptr<PXEntityDialogBox> box = Make<PXEntityDialogBox>({"PXDialogBox", "plainbox"}, PXKind::DialogBox);
            PXEntityDialogBox* raw = box.get();
            scene->AddDialog(c.tag, std::move(box), nullptr, nullptr, false);
            raw->CloseWithResult(c.result);
            EXPECT_EQ(0u, scene->GetDialogCount());
        }
        EXPECT_EQ(c.leaves ? std::vector<std::string>{menu} : std::vector<std::string>{}, game.changes);
    }
}

// The name dialog and the screen with buttons that take the focus.
class HighScoreFocusTest : public HighScoreSceneTest {
protected:
    void SetUp() override
    {
        HighScoreSceneTest::SetUp();
        ASSERT_TRUE(registry.RegisterPrototype(&s_focusProbePrototype, "focusprobe"));
        Define("class = focusprobe\ntype = FocusOK\nSize = 30, 20\n");
        Define("class = focusprobe\ntype = FocusDone\nSize = 40, 20\n");
        DefineNameEntryDialog("focusprobe, FocusOK");
    }

    // The screen with a new score and its name dialog open.
    std::unique_ptr<SFEntityHighScoreMenuScene> Entering()
    {
        g_highScores.RemoveAll();
        g_lastHighScoreName = "Alice";
        g_newHighScore = std::make_unique<SFHighScore>(500, 3, 2, "Alice");
        std::unique_ptr<SFEntityHighScoreMenuScene> scene = MakeScene();
        scene->Update(16.0f);
        scene->Update(16.0f);
        EXPECT_EQ(1u, scene->GetDialogCount());
        return scene;
    }
};

TEST_F(HighScoreFocusTest, TabReachesOKWhileTypedCharactersStillGoToTheName)
{
    struct Case {
        const char* what;
        std::vector<int> keys;
        std::vector<int> pads;
        std::string expected;
        int okPresses;
    };
    const Case cases[] = {
        {"Tab, then space and letters still type, Return presses OK", {'A', 'l', KeyTab, ' ', 'x', KeyReturn}, {},
         "Al x", 1},
        {"Return without the focus shown closes too", {'B', 'o', KeyReturn}, {}, "Bo", 0},
        {"pad: the first press shows OK, the second presses it", {'C'}, {PadSouth, PadSouth}, "C", 1},
        {"pad: back closes like Escape", {'D'}, {PadEast}, "D", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::unique_ptr<SFEntityHighScoreMenuScene> scene = Entering();
        auto* input = dynamic_cast<PXEntityHighScoreInputScene*>(scene->FindDialogScene(PXKind::HighScoreInputScene));
        ASSERT_NE(nullptr, input);
        PXEntity2DGUIElement* ok = static_cast<PXEntityHighScoreInputSceneType*>(input->GetType())->GetOKButton()->entity.get();
        const int pressesBefore = static_cast<FocusProbe*>(ok)->presses;
        for (int key : c.keys) {
            scene->OnKeyDown(key);
            if (key == KeyTab) {
                EXPECT_EQ(ok, input->GetShownFocus());
            }
        }
        for (int pad : c.pads) {
            EXPECT_EQ(1u, scene->GetDialogCount());
            scene->OnPadDown(pad);
        }
        EXPECT_EQ(0u, scene->GetDialogCount());
        EXPECT_EQ(c.expected, g_highScores.EntryAt(0)->name);
        // OK was pressed through the focus only where the focus was shown.
        EXPECT_EQ(c.okPresses, static_cast<FocusProbe*>(ok)->presses - pressesBefore);
    }
}

TEST_F(HighScoreFocusTest, DoneByKeyOrPadLeavesAsAClickDoes)
{
    const std::string menu = "SFMainMenuScene/mainmenu/2";
    Define("class = SFHighScoreMenuScene\ntype = focusdone\nTransType = 2\nArrowEnt = probe, Arrow\n"
           "DoneEnt = focusprobe, FocusDone\nDoneEntPos = 500, 440\n");
    const auto make = [this] {
        return Make<SFEntityHighScoreMenuScene>({"SFHighScoreMenuScene", "focusdone"}, PXKind::Scene);
    };
    struct Case {
        const char* what;
        std::vector<int> keys;
        std::vector<int> pads;
        bool leaves;
    };
    const Case cases[] = {
        {"Down shows Done, Return presses it", {KeyArrowDown, KeyReturn}, {}, true},
        {"Tab and space", {KeyTab, ' '}, {}, true},
        {"Return alone only shows the focus", {KeyReturn}, {}, false},
        {"pad down and south", {}, {PadDown, PadSouth}, true},
        {"pad east is Back", {}, {PadEast}, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        game.changes.clear();
        std::unique_ptr<SFEntityHighScoreMenuScene> scene = make();
        scene->Update(16.0f);
        for (int key : c.keys) {
            scene->OnKeyDown(key);
        }
        for (int pad : c.pads) {
            scene->OnPadDown(pad);
        }
        EXPECT_EQ(c.leaves ? std::vector<std::string>{menu} : std::vector<std::string>{}, game.changes);
    }
    // The click, for comparison.
    game.changes.clear();
    std::unique_ptr<SFEntityHighScoreMenuScene> scene = make();
    scene->Update(16.0f);
    PXPoint at{510, 450};
    EXPECT_TRUE(scene->OnMouseUp(&at, 1));
    EXPECT_EQ(std::vector<std::string>{menu}, game.changes);
}

}  // namespace
}  // namespace dialogtest
