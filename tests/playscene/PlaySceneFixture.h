// Fixture for the play scene tests: the real game object (its ChangeScene requests recorded)
// on the headless screen, the "maingame" definition with probe elements and a test message
// box, and small solid-colour image lists for the triangles, backgrounds and banners.
#pragma once

#include <gtest/gtest.h>

#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

#include "engine/core/PXRandom.h"
#include "game/SFEntityMainGameScene.h"
#include "game/SFHighScore.h"
#include "tests/spine/SpineFixture.h"
#include "tests/support/ImageFiles.h"

namespace playscene {

// Solid 5-5-5 colours of the test images.
constexpr uint16_t TriangleColours[7] = {0x001F, 0x03E0, 0x7E00, 0x4010, 0x7C00, 0x7FE0, 0x4210};
constexpr uint16_t BackgroundColour = 0x0842;
constexpr uint16_t BannerColours[3] = {0x0010, 0x0200, 0x4000};

// The game with the test element classes beside its own, recording scene requests.
class PlayGame : public SFGame {
public:
    void ChangeScene(const std::string& className, const std::string& entityName, int style) override
    {
        changes.push_back(className + "/" + entityName + "/" + std::to_string(style));
        SFGame::ChangeScene(className, entityName, style);
    }
    std::vector<std::string> changes;

protected:
    void RegisterPrototypes(PXEntityRegistry& registry) override
    {
        SFGame::RegisterPrototypes(registry);
        registry.RegisterPrototype(&s_probePrototype, "probe");
        registry.RegisterPrototype(&s_testBoxPrototype, "testbox");
    }
};

class PlaySceneTest : public SpineTest {
protected:
    void SetUp() override
    {
        SpineTest::SetUp();
        GlobalRandom().Seed(77);
        g_difficulty = 0;
        g_lastHighScoreName = "Tester";
        WriteDefinitions();
        WriteImages();
        PrepareSound();
        g_game = &game;
        ASSERT_EQ(game.Initialise(), 1);
    }
    void TearDown() override
    {
        scene.reset();
        game.Shutdown();
        g_newHighScore.reset();
        g_difficulty = 1;
        SpineTest::TearDown();
    }

    // Runs before the game starts: a fixture that listens to the sound publishes its own
    // sound manager here.
    virtual void PrepareSound() {}

    void WriteDefinitions()
    {
        const char* probes[] = {"score", "level", "status1", "status2", "deco"};
        for (const char* name : probes) {
            Write(std::string("probe_") + name + ".ent",
                  std::string("class = probe\ntype = ") + name + "\nText 1\n");
        }
        for (const char* name : {"pause", "sound", "fullscreen", "cursor"}) {
            Write(std::string("probe_") + name + ".ent",
                  std::string("class = probe\ntype = ") + name + "\nSize 30, 20\n");
        }
        Write("msgbox.ent", "class = testbox\ntype = msgbox\nSize 200, 100\n");
        // The priorities make the base sort move the records around.
        Write("maingame.ent",
              "class = SFGameScene\ntype = maingame\nTransType 2\n"
              "CursorEnt probe, cursor\nMessageBoxEnt testbox, msgbox\n"
              "NumGUIElements 1\nGUIElement1Ent probe, deco\nGUIElement1Priority 5\n"
              "ScoreEnt probe, score\nScoreEntPos 464, 150\nScoreEntPriority 20\n"
              "LevelEnt probe, level\nLevelEntPos 464, 200\n"
              "Status1Ent probe, status1\nStatus2Ent probe, status2\n"
              "PauseEnt probe, pause\nPauseEntPos 410, 400\nPauseEntPriority 10\n"
              "SoundEnt " + soundEnt + "\nSoundEntPos 450, 400\n"
              "FullscreenEnt probe, fullscreen\nFullscreenEntPos 490, 400\nFullscreenEntPriority -1\n");
    }

    void WriteImages()
    {
        const char* colours[] = {"Blue", "Green", "Orange", "Purple", "Red", "Yellow", "Gray"};
        for (int i = 0; i < 7; ++i) {
            WriteList(std::string("Shardfall/Images/Tri_") + colours[i] + ".img",
                      {{32, 28, TriangleColours[i]}});
        }
        WriteList("Shardfall/Images/backgrounds.img", {{16, 16, BackgroundColour}});
        WriteList("Shardfall/Images/banners.img",
                  {{8, 480, BannerColours[0]}, {8, 480, BannerColours[1]}, {8, 480, BannerColours[2]}});
    }

    struct Frame {
        uint32_t w;
        uint32_t h;
        uint16_t pixel;
    };
    // An image list of solid frames.
    void WriteList(const std::string& name, const std::vector<Frame>& frames)
    {
        imagefiles::List list;
        for (size_t i = 0; i < frames.size(); ++i) {
            imagefiles::ListEntry e;
            e.name = "f" + std::to_string(i);
            e.width = frames[i].w;
            e.height = frames[i].h;
            const uint16_t p = frames[i].pixel;
            e.palette = {uint8_t(((p >> 10) & 0x1F) << 3), uint8_t(((p >> 5) & 0x1F) << 3),
                         uint8_t((p & 0x1F) << 3), 255};
            e.paletteCount = 1;
            e.pixels.assign(static_cast<size_t>(e.width * e.height), 0);
            list.entries.push_back(e);
        }
        const std::vector<uint8_t> bytes = imagefiles::BuildList(list);
        Write(name, std::string(bytes.begin(), bytes.end()));
    }

    // A new play scene of the "maingame" definition (still paused, no piece yet).
    SFEntityMainGameScene& Make()
    {
        scene.reset();
        std::unique_ptr<PXEntityBase> made =
            g_entityRegistry->CreateEntity("SFGameScene", "maingame", PXKind::Scene);
        auto* typed = dynamic_cast<SFEntityMainGameScene*>(made.get());
        EXPECT_NE(typed, nullptr);
        if (typed != nullptr) {
            made.release();
            scene.reset(typed);
        }
        return *scene;
    }

    // An empty board but for the gray floor.
    void ClearBoard()
    {
        SFBoard& board = scene->Field().Board();
        board.Clear();
        for (int x = 0; x < SFBoard::Columns; x += 2) {
            board.Set(x, 0, SFCell{SFCell::Gray, SFCell::Up});
        }
    }

    // A running game on an empty board with the first piece at column 8, row 16.
    SFEntityMainGameScene& Start()
    {
        Make();
        ClearBoard();
        scene->OnKeyDown('x');
        scene->Update(0.0f);
        EXPECT_TRUE(scene->Field().Current().Exists());
        return *scene;
    }

    // Moves the current piece to a free spot where it may go sideways.
    void PlacePiece(int32_t x, int32_t y)
    {
        scene->Field().Current().x = x;
        scene->Field().Current().y = y;
    }

    void Block(int32_t x, int32_t y) { scene->Field().Board().Set(x, y, SFCell{1, SFCell::Up}); }

    int32_t PieceX() { return scene->Field().Current().x; }
    int32_t PieceY() { return scene->Field().Current().y; }

    Probe* Element(SFGameRecord record)
    {
        auto* type = static_cast<SFEntityMainGameSceneType*>(scene->GetType());
        return static_cast<Probe*>(type->GetRecordEntity(record));
    }

    TestMessageBox* FrontBox()
    {
        if (scene->GetDialogCount() == 0) {
            return nullptr;
        }
        return dynamic_cast<TestMessageBox*>(scene->GetDialogs().front().get());
    }

    // Answers the front dialog with `result` through the scene's closing path.
    void Answer(int32_t result)
    {
        PXSceneDialog* dialog = scene->GetDialogs().front().get();
        dialog->SetResult(result);
        scene->CloseDialog(dialog);
    }

    void Render()
    {
        scene->Update(0.0f);
        scene->Draw();
    }

    PlayGame game;
    std::unique_ptr<SFEntityMainGameScene> scene;
    // The Sound record's element.
    std::string soundEnt = "probe, sound";
};

// Drives the real game, whose events reach the scene as the platform queues them.
class GameDrivenTest : public PlaySceneTest {
protected:
    // Enters the play scene through the game and returns it, running with a piece at (8, 10).
    SFEntityMainGameScene* Enter()
    {
        game.ChangeScene("SFGameScene", "maingame", 0);
        for (int i = 0; i < 14; ++i) {
            Frame({}, 1000);
        }
        auto* play = dynamic_cast<SFEntityMainGameScene*>(game.GetScene());
        EXPECT_NE(play, nullptr);
        EXPECT_FALSE(game.IsTransitionActive());
        if (play != nullptr) {
            Frame({{EventKeyDown, 'x'}}, 1000);
            play->Field().Current().x = 8;
            play->Field().Current().y = 10;
        }
        return play;
    }
    // One frame of `tenthsMs` tenths of a millisecond with these events after the tick.
    void Frame(std::initializer_list<PXEvent> events, int32_t tenthsMs)
    {
        queue.Push(EventTick, tenthsMs);
        for (const PXEvent& e : events) {
            queue.Push(e);
        }
        game.RunFrame(queue);
    }

    PXEventQueue queue;
};

}  // namespace playscene
