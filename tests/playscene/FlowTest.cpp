// Play scene flow: the type's records, kinds and assets; starting and pausing with their
// status texts; the hint shimmer's colour and length; what is drawn while paused and during a
// level banner; the quit question and the game-over box leading to the next scene.
#include <gtest/gtest.h>

#include <map>

#include "engine/files/PXResourceCache.h"
#include "tests/playscene/PlaySceneFixture.h"

namespace playscene {
namespace {

TEST_F(PlaySceneTest, TypeKeepsItsRecordsThroughThePrioritySortAndPairsItsAssets)
{
    Make();
    auto* type = static_cast<SFEntityMainGameSceneType*>(scene->GetType());
    EXPECT_TRUE(type->IsA(PXKind::GameScene));
    EXPECT_TRUE(type->IsA(PXKind::Scene));
    EXPECT_TRUE(type->IsA(PXKind::Unknown));
    EXPECT_FALSE(type->IsA(PXKind::GuiElement));

    const std::map<SFGameRecord, std::string> names = {
        {SFGameRecord::Score, "score"},          {SFGameRecord::Level, "level"},
        {SFGameRecord::Status1, "status1"},      {SFGameRecord::Status2, "status2"},
        {SFGameRecord::Pause, "pause"},          {SFGameRecord::Sound, "sound"},
        {SFGameRecord::Fullscreen, "fullscreen"}};
    for (const auto& [record, name] : names) {
        ASSERT_NE(Element(record), nullptr) << name;
        EXPECT_EQ(Element(record)->Name(), name);
    }
    // The deco element plus the seven records, all in the base list, sorted.
    const auto& elements = type->GetElements();
    ASSERT_EQ(elements.size(), 8u);
    EXPECT_EQ(elements.front().priority, -1);
    EXPECT_EQ(elements.back().priority, 20);
    PXPoint at;
    Element(SFGameRecord::Pause)->GetPosition(&at);
    EXPECT_EQ(at.x, 410);
    EXPECT_EQ(at.y, 400);

    ASSERT_NE(type->GetTriangles(1), nullptr);
    ASSERT_NE(type->GetTriangles(7), nullptr);
    EXPECT_EQ(type->GetTriangles(8), nullptr);
    ASSERT_NE(type->GetImageList(SFGameImages::Banners), nullptr);
    EXPECT_EQ(type->GetImageList(SFGameImages::Banners)->count, 3u);
    EXPECT_EQ(type->GetImageList(SFGameImages::Explosion), nullptr);  // no such file
    EXPECT_EQ(resources.ImageListCount(), 9u);

    // Unloading gives back every entry it took, and the elements go with it.
    scene.reset();
    type->Unload();
    EXPECT_EQ(resources.ImageListCount(), 0u);
    EXPECT_EQ(type->GetRecordEntity(SFGameRecord::Score), nullptr);
    type->Load(false);
    EXPECT_EQ(resources.ImageListCount(), 9u);
    ASSERT_NE(type->GetRecordEntity(SFGameRecord::Pause), nullptr);
    EXPECT_EQ(static_cast<Probe*>(type->GetRecordEntity(SFGameRecord::Pause))->Name(), "pause");
}

TEST_F(PlaySceneTest, StatusElementsShowScoreLevelAndStatusLines)
{
    Make();
    scene->Update(10.0f);
    EXPECT_EQ(Element(SFGameRecord::Score)->text, "0");
    EXPECT_EQ(Element(SFGameRecord::Level)->text, "1");
    EXPECT_EQ(Element(SFGameRecord::Status1)->text, "Click Mouse or");
    EXPECT_EQ(Element(SFGameRecord::Status2)->text, "Press Any Key");
    EXPECT_FALSE(scene->Field().Current().Exists());  // paused: the rules have not run

    scene->OnKeyDown('q');
    scene->Update(10.0f);
    EXPECT_EQ(Element(SFGameRecord::Status1)->text, "");
    EXPECT_EQ(Element(SFGameRecord::Status2)->text, "");
    EXPECT_TRUE(scene->Field().Current().Exists());

    scene->OnKeyDown('p');
    scene->Field().SetLevel(12);
    scene->Update(10.0f);
    EXPECT_EQ(Element(SFGameRecord::Status1)->text, "Game Paused");
    EXPECT_EQ(Element(SFGameRecord::Status2)->text, "");
    EXPECT_EQ(Element(SFGameRecord::Level)->text, "12");
}

TEST_F(PlaySceneTest, OnlySomeKeysStartTheGame)
{
    struct Case {
        int key;
        bool starts;
    };
    const Case cases[] = {{'x', true},           {' ', true},           {KeyArrowUp, true},    {'P', true},
                          {KeyReturn, true},     {'c', false},          {'S', false},          {KeyF7, false},
                          {KeyArrowDown, false}, {KeyArrowLeft, false}, {KeyArrowRight, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE("key " + std::to_string(c.key));
        Make();
        scene->OnKeyDown(c.key);
        EXPECT_EQ(scene->IsPaused(), !c.starts);
    }
}

TEST_F(PlaySceneTest, PauseKeysAndDeactivation)
{
    Start();
    scene->OnKeyDown('p');
    EXPECT_TRUE(scene->IsPaused());
    scene->OnKeyDown('p');
    EXPECT_FALSE(scene->IsPaused());
    scene->OnKeyDown(KeyF7);
    scene->OnKeyDown(KeyF7);  // F7 pauses, it never resumes
    EXPECT_TRUE(scene->IsPaused());
    EXPECT_EQ(scene->GetStatus1(), "Game Paused");
    scene->OnKeyDown('z');
    EXPECT_FALSE(scene->IsPaused());

    // An inactive game pauses the scene on its next update.
    PXEventQueue queue;
    queue.Push(EventTick, 100);
    queue.Push(EventDeactivate, 0);
    game.RunFrame(queue);
    ASSERT_TRUE(game.IsInactive());
    scene->Update(10.0f);
    EXPECT_TRUE(scene->IsPaused());
    EXPECT_EQ(scene->GetStatus1(), "Game Paused");
}

TEST_F(PlaySceneTest, HintShimmersTheMostFrequentColourLowerOnTies)
{
    struct Case {
        const char* name;
        std::vector<std::pair<int, int>> colourCounts;  // board colour, cells
        int32_t expected;                               // 0-based
    };
    const Case cases[] = {
        {"tie", {{3, 2}, {5, 2}, {2, 1}}, 2},
        {"clear winner", {{6, 3}, {1, 2}}, 5},
        {"gray does not count", {{7, 12}, {4, 1}}, 3},
        {"only the floor", {}, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Make();
        ClearBoard();
        int slot = 0;
        for (const auto& [colour, cells] : c.colourCounts) {
            for (int i = 0; i < cells; ++i, ++slot) {
                // Scattered single triangles high up, apart from each other.
                scene->Field().Board().Set(2 * (slot % 8) + 1, 6 + 2 * (slot / 8),
                                           SFCell{static_cast<uint8_t>(colour), SFCell::Up});
            }
        }
        scene->OnKeyDown('x');
        scene->Update(16.0f);  // the first running frame starts the shimmer
        EXPECT_TRUE(scene->IsHintActive());
        EXPECT_EQ(scene->GetHintColour(), c.expected);
    }
}

TEST_F(PlaySceneTest, HintLastsOneSecondAndReturnsTenToTwentySecondsLater)
{
    Start();
    ASSERT_TRUE(scene->IsHintActive());
    scene->Update(500.0f);
    scene->Update(500.0f);
    EXPECT_TRUE(scene->IsHintActive());
    scene->Update(1.0f);
    EXPECT_FALSE(scene->IsHintActive());
    EXPECT_EQ(scene->GetHintColour(), -1);
    EXPECT_GE(scene->GetHintTimer(), 10000.0f);
    EXPECT_LE(scene->GetHintTimer(), 20000.0f);

    // Paused, the timer stands still.
    const float left = scene->GetHintTimer();
    scene->OnKeyDown('p');
    scene->Update(5000.0f);
    EXPECT_EQ(scene->GetHintTimer(), left);
}

// Pixel probes: inside the floor triangle at column 0 (nothing overlaps it there), and inside
// the lower half of the next piece.
constexpr int32_t FloorX = 116;
constexpr int32_t FloorY = 465;
constexpr int32_t NextX = 464;
constexpr int32_t NextY = 60;

TEST_F(PlaySceneTest, PausedBoardIsHiddenOnMediumAndHardButNotEasy)
{
    struct Case {
        int32_t difficulty;
        bool gameOver;
        bool boardShown;
    };
    const Case cases[] = {{0, false, true}, {1, false, false}, {2, false, false}, {2, true, true}};
    for (const Case& c : cases) {
        SCOPED_TRACE("difficulty " + std::to_string(c.difficulty) + (c.gameOver ? " over" : ""));
        g_difficulty = c.difficulty;
        Make();
        if (c.gameOver) {
            scene->GameOver(0, 1, 3);
        }
        ASSERT_TRUE(scene->IsPaused());
        Render();
        EXPECT_EQ(screen.GetPixel(FloorX, FloorY), c.boardShown ? TriangleColours[6] : BackgroundColour);
        // The next piece is always shown.
        const uint16_t next = screen.GetPixel(NextX, NextY);
        EXPECT_NE(next, 0);
        EXPECT_NE(next, BackgroundColour);
    }
}

TEST_F(PlaySceneTest, ImagesLostByTheScreenAreReloadedBeforeDrawing)
{
    Make();
    Render();
    ASSERT_EQ(screen.GetPixel(FloorX, FloorY), TriangleColours[6]);
    // A re-created screen has no images; the cache entries still hold the old ids.
    screen.FreeAllImages();
    Render();
    EXPECT_EQ(screen.GetPixel(FloorX, FloorY), TriangleColours[6]);
    EXPECT_EQ(screen.GetPixel(200, 100), BackgroundColour);
}

TEST_F(PlaySceneTest, WhereTheBackdropLeavesAGapEveryFrameStartsBlack)
{
    // The fixture's banners are 8 pixels wide and there is no info strip, so most of the
    // banner columns get nothing from the backdrop: what an earlier frame left there goes.
    Make();
    Render();
    const PXPoint gaps[] = {{60, 240}, {600, 240}, {450, 20}};
    for (const PXPoint& p : gaps) {
        screen.SetPixel(p.x, p.y, 0x7FFF);
    }
    Render();
    for (const PXPoint& p : gaps) {
        EXPECT_EQ(screen.GetPixel(p.x, p.y), 0) << p.x << ", " << p.y;
    }
    EXPECT_EQ(screen.GetPixel(200, 100), BackgroundColour);
}

TEST_F(PlaySceneTest, LevelBannerOnLevelOneScrollsInFromTheLastFrame)
{
    Make();
    scene->OnKeyDown('x');
    scene->LevelUp(1);
    scene->Update(250.0f);
    EXPECT_EQ(scene->GetBannerOffset(), 240);
    EXPECT_FALSE(scene->Field().Current().Exists());  // no rules run during the banner
    scene->Draw();
    // Level - 2 = -1 is the last of the three frames, scrolling out at the top; frame 0
    // comes up from the bottom. Both banners alike.
    for (int32_t x : {4, 532}) {
        EXPECT_EQ(screen.GetPixel(x, 100), BannerColours[2]) << x;
        EXPECT_EQ(screen.GetPixel(x, 300), BannerColours[0]) << x;
    }

    scene->Update(250.0f);
    EXPECT_EQ(scene->GetBannerOffset(), 480);
    scene->Update(10.0f);
    EXPECT_TRUE(scene->Field().Current().Exists());
}

TEST_F(PlaySceneTest, QuitQuestionLeadsToTheMainMenuOnlyOnYes)
{
    Start();
    scene->OnKeyDown(KeyEscape);
    TestMessageBox* box = FrontBox();
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->message, "Are you sure you want to quit?");
    EXPECT_EQ(box->buttons, 6);
    EXPECT_EQ(box->GetTag(), 1);

    // While the box is open, keys go to it, explosions stand still and no rule runs, but the
    // status texts are still refreshed.
    const int32_t y = PieceY();
    scene->StartExplosion(200, 200);
    scene->OnKeyDown(KeyArrowDown);
    EXPECT_FALSE(scene->IsDownHeld());
    scene->Field().SetLevel(4);
    scene->Update(2000.0f);
    EXPECT_EQ(PieceY(), y);
    ASSERT_EQ(scene->GetExplosions().size(), 1u);
    EXPECT_EQ(scene->GetExplosions()[0].age, 0.0f);
    EXPECT_EQ(Element(SFGameRecord::Level)->text, "4");

    Answer(4);
    EXPECT_TRUE(game.changes.empty());
    EXPECT_EQ(scene->GetDialogCount(), 0u);

    scene->Update(700.0f);
    EXPECT_TRUE(scene->GetExplosions().empty());  // 640 ms long

    scene->OnKeyDown(KeyEscape);
    Answer(2);
    EXPECT_EQ(game.changes, std::vector<std::string>{"SFMainMenuScene/mainmenu/2"});
}

TEST_F(PlaySceneTest, GameOverPublishesTheScoreAndLeadsToTheHighScores)
{
    g_difficulty = 1;
    Start();
    // A piece that cannot leave the spawn row lands with its upper half above the field.
    scene->Field().Board().Set(8, 15, SFCell{2, SFCell::Up});
    scene->Field().StepDown();
    ASSERT_TRUE(scene->IsGameOver());
    EXPECT_TRUE(scene->IsPaused());
    EXPECT_EQ(scene->GetStatus1(), "");
    EXPECT_EQ(scene->GetStatus2(), "");
    ASSERT_NE(g_newHighScore, nullptr);
    EXPECT_EQ(g_newHighScore->level, 1u);
    EXPECT_EQ(g_newHighScore->mode, 2u);
    EXPECT_EQ(g_newHighScore->name, "Tester");

    TestMessageBox* box = FrontBox();
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->message, "Game Over!\r\n\r\nClick OK to proceed to the high scores.");
    EXPECT_EQ(box->buttons, 1);
    EXPECT_EQ(box->GetTag(), 2);
    Answer(1);
    EXPECT_EQ(game.changes, std::vector<std::string>{"SFHighScoreMenuScene/highscores/2"});

    // Afterwards any key, Escape or a click goes the same way; "P" does not resume.
    game.changes.clear();
    scene->OnKeyDown('p');
    EXPECT_TRUE(scene->IsPaused());
    scene->OnKeyDown('k');
    scene->OnKeyDown(KeyEscape);
    const PXPoint click{200, 200};
    scene->OnMouseUp(&click, 1);
    EXPECT_EQ(game.changes.size(), 3u);
    for (const std::string& change : game.changes) {
        EXPECT_EQ(change, "SFHighScoreMenuScene/highscores/2");
    }
}

}  // namespace
}  // namespace playscene
