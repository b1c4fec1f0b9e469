// Playing with a pad: its buttons reach the play scene through the input map and steer the
// piece with the game's own key repeat; Start pauses, Back asks to quit, a dialog takes the
// buttons while it is open, and unplugging the pad in use pauses the game.
#include <gtest/gtest.h>

#include <vector>

#include "engine/core/PXInputMap.h"
#include "tests/playscene/PlaySceneFixture.h"

namespace playscene {
namespace {

class PadTest : public PlaySceneTest {
protected:
    void TearDown() override
    {
        g_inputMap.RestoreDefaults();
        PlaySceneTest::TearDown();
    }

    struct Position {
        int32_t x;
        int32_t y;
        bool operator==(const Position& other) const { return x == other.x && y == other.y; }
    };

    // Holds an input for `frames` frames of 40 ms, then lets go for as many; where the piece
    // stood after each frame.
    template <typename PressFn, typename ReleaseFn>
    std::vector<Position> Trace(int frames, PressFn press, ReleaseFn release)
    {
        Start();
        PlacePiece(8, 12);
        std::vector<Position> trace;
        press();
        for (int i = 0; i < 2 * frames; ++i) {
            if (i == frames) {
                release();
            }
            scene->Update(40.0f);
            trace.push_back({PieceX(), PieceY()});
        }
        return trace;
    }
};

TEST_F(PadTest, HeldPadButtonsStepThePieceWithTheKeyRepeat)
{
    struct Case {
        const char* what;
        int32_t pad;
        int32_t key;  // the key that does the same
        int32_t dx;   // the way the piece goes
        int32_t dy;
    };
    const Case cases[] = {
        {"D-pad left", PadLeft, KeyArrowLeft, -1, 0},
        {"D-pad right", PadRight, KeyArrowRight, 1, 0},
        {"D-pad down", PadDown, KeyArrowDown, 0, -1},
        {"east", PadEast, KeyArrowDown, 0, -1},
    };
    const int frames = 9;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const std::vector<Position> byPad = Trace(
            frames, [&] { EXPECT_TRUE(scene->OnPadDown(c.pad)); }, [&] { EXPECT_TRUE(scene->OnPadUp(c.pad)); });
        const std::vector<Position> byKey =
            Trace(frames, [&] { scene->OnKeyDown(c.key); }, [&] { scene->OnKeyUp(c.key); });
        EXPECT_TRUE(byPad == byKey);
        // The first step comes with the first frame, then one each repeat delay (120 ms).
        ASSERT_EQ(byPad.size(), 2u * frames);
        const auto steps = [&c](const Position& p) { return c.dx != 0 ? (p.x - 8) * c.dx : (p.y - 12) * c.dy; };
        EXPECT_EQ(steps(byPad[0]), 1);
        EXPECT_EQ(steps(byPad[frames - 1]), 1 + frames * 40 / g_keyRepeatDelay);
        // Let go, the piece no longer moves that way (a falling piece may still fall one row).
        EXPECT_LE(steps(byPad.back()) - steps(byPad[frames - 1]), c.dy != 0 ? 1 : 0);
    }
}

TEST_F(PadTest, SouthTurnsStartPausesAndResumesBackAsksToQuit)
{
    Start();
    PlacePiece(8, 10);
    scene->OnPadDown(PadSouth);
    EXPECT_EQ(scene->Field().Current().rotation, 1);
    scene->OnPadUp(PadSouth);

    EXPECT_TRUE(scene->OnPadDown(PadStart));
    EXPECT_TRUE(scene->IsPaused());
    EXPECT_EQ(scene->GetStatus1(), "Game Paused");
    scene->OnPadDown(PadLeft);  // paused: nothing is held
    EXPECT_FALSE(scene->IsLeftHeld());
    scene->OnPadUp(PadLeft);
    EXPECT_TRUE(scene->OnPadDown(PadStart));
    EXPECT_FALSE(scene->IsPaused());

    EXPECT_TRUE(scene->OnPadDown(PadBack));
    TestMessageBox* box = FrontBox();
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->message, "Are you sure you want to quit?");
    Answer(2);
    EXPECT_EQ(game.changes, std::vector<std::string>{"SFMainMenuScene/mainmenu/2"});
}

TEST_F(PadTest, AnyOtherButtonStartsThePausedGameAsAKeyDoes)
{
    struct Case {
        int32_t pad;
        bool starts;
    };
    const Case cases[] = {{PadSouth, true}, {PadNorth, true},  {PadWest, true},  {PadUp, true},
                          {PadStart, true}, {PadLeft, false},  {PadDown, false}, {PadEast, false},
                          {PadBack, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE("pad " + std::to_string(c.pad));
        Make();
        scene->OnPadDown(c.pad);
        EXPECT_EQ(scene->IsPaused(), !c.starts);
    }
}

TEST_F(PadTest, AnOpenDialogTakesThePadButtons)
{
    Start();
    PlacePiece(8, 10);
    scene->OnPadDown(PadBack);
    ASSERT_NE(FrontBox(), nullptr);
    scene->OnPadDown(PadSouth);
    scene->OnPadDown(PadLeft);
    EXPECT_EQ(scene->Field().Current().rotation, 0);
    EXPECT_FALSE(scene->IsLeftHeld());
    EXPECT_EQ(scene->GetDialogCount(), 1u);
}

TEST_F(PadTest, AMoveLetGoWhileADialogIsOpenStaysLetGo)
{
    struct Case {
        const char* what;
        bool pad;
    };
    for (const Case& c : {Case{"pad", true}, Case{"keys", false}}) {
        SCOPED_TRACE(c.what);
        Start();
        PlacePiece(8, 10);
        const auto press = [&] { c.pad ? scene->OnPadDown(PadLeft) : scene->OnKeyDown(KeyArrowLeft); };
        const auto release = [&] { c.pad ? scene->OnPadUp(PadLeft) : scene->OnKeyUp(KeyArrowLeft); };
        press();
        scene->Update(10.0f);
        ASSERT_EQ(PieceX(), 7);
        c.pad ? scene->OnPadDown(PadBack) : scene->OnKeyDown(KeyEscape);
        release();
        Answer(4);  // no, go on playing
        for (int i = 0; i < 10; ++i) {
            scene->Update(40.0f);
        }
        EXPECT_EQ(PieceX(), 7);
        EXPECT_FALSE(scene->IsLeftHeld());
    }
}

TEST_F(PadTest, TwoInputsOfOneMoveHoldItUntilBothAreLetGo)
{
    Start();
    PlacePiece(8, 14);
    scene->OnPadDown(PadDown);
    scene->OnPadDown(PadEast);
    scene->OnKeyDown(KeyArrowDown);
    scene->OnPadUp(PadEast);
    scene->OnKeyUp(KeyArrowDown);
    EXPECT_TRUE(scene->IsDownHeld());  // the D-pad still holds the drop
    scene->OnPadUp(PadDown);
    EXPECT_FALSE(scene->IsDownHeld());
}

TEST_F(PadTest, ThePlaySceneReadsItsInputThroughTheInputMap)
{
    ASSERT_TRUE(g_inputMap.BindPad(PXInputContext::Play, PXInputAction::MoveLeft, 0, PadWest));
    ASSERT_TRUE(g_inputMap.BindKey(PXInputContext::Play, PXInputAction::Turn, 0, 'k'));
    ASSERT_TRUE(g_inputMap.BindKey(PXInputContext::Play, PXInputAction::Pause, 0, 0));
    Start();
    PlacePiece(8, 10);
    scene->OnPadDown(PadWest);
    scene->Update(10.0f);
    EXPECT_EQ(PieceX(), 7);
    scene->OnPadUp(PadWest);
    EXPECT_FALSE(scene->IsLeftHeld());

    scene->OnPadDown(PadLeft);  // no longer bound
    EXPECT_FALSE(scene->IsLeftHeld());
    scene->OnKeyDown('K');
    EXPECT_EQ(scene->Field().Current().rotation, 1);
    scene->OnKeyDown('p');  // unbound: an ordinary key, which does not pause a running game
    EXPECT_FALSE(scene->IsPaused());
    scene->OnPadDown(PadStart);
    EXPECT_TRUE(scene->IsPaused());
}

// Pads through the game object, as the platform queues their events.
class PadRemovalTest : public GameDrivenTest {};

TEST_F(PadRemovalTest, UnpluggingThePadInUsePausesAndStopsThePiece)
{
    SFEntityMainGameScene* play = Enter();
    ASSERT_NE(play, nullptr);
    Frame({{EventPadAdded, 0}, {EventPadDown, PadLeft}}, 100);
    Frame({}, 100);
    ASSERT_TRUE(play->IsLeftHeld());
    const int32_t x = play->Field().Current().x;
    ASSERT_LT(x, 8);

    // The platform lets go of what the pad held, then says it was the pad in use.
    Frame({{EventPadUp, PadLeft}, {EventPadRemoved, 1}}, 100);
    EXPECT_TRUE(play->IsPaused());
    EXPECT_EQ(play->GetStatus1(), "Game Paused");
    EXPECT_FALSE(play->IsLeftHeld());

    // Back with the keyboard: the piece stays where it was.
    Frame({{EventKeyDown, 'x'}}, 100);
    ASSERT_FALSE(play->IsPaused());
    for (int i = 0; i < 5; ++i) {
        Frame({}, 1000);
    }
    EXPECT_EQ(play->Field().Current().x, x);
}

TEST_F(PadRemovalTest, UnpluggingAPadNotInUseChangesNothing)
{
    SFEntityMainGameScene* play = Enter();
    ASSERT_NE(play, nullptr);
    Frame({{EventPadAdded, 0}, {EventPadAdded, 1}, {EventPadRemoved, 0}}, 100);
    EXPECT_FALSE(play->IsPaused());

    // A paused game stays paused, and the next pad resumes it.
    Frame({{EventPadDown, PadStart}, {EventPadUp, PadStart}}, 100);
    ASSERT_TRUE(play->IsPaused());
    Frame({{EventPadRemoved, 1}}, 100);
    EXPECT_TRUE(play->IsPaused());
    Frame({{EventPadDown, PadStart}}, 100);
    EXPECT_FALSE(play->IsPaused());
}

}  // namespace
}  // namespace playscene
