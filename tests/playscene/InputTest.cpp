// Play scene input: key and mouse-button repeat, mouse steering, the pointer warp, the cursor
// sprite's idle hiding, the info-strip buttons, the turn button, and letting go of held input
// when the application is deactivated.
#include <gtest/gtest.h>

#include "tests/playscene/PlaySceneFixture.h"

namespace playscene {
namespace {

TEST_F(PlaySceneTest, HeldDownDropsOneRowPerRepeatDelayStartingNextFrame)
{
    Start();
    PlacePiece(8, 12);
    scene->OnKeyDown(KeyArrowDown);
    EXPECT_EQ(PieceY(), 12);  // nothing on the press itself

    // 40 ms frames, delay 120: the first row comes with the next frame, then one per 120 ms.
    const int expected[] = {11, 11, 10, 10, 10, 9, 9, 9, 8};
    for (int y : expected) {
        scene->Update(40.0f);
        EXPECT_EQ(PieceY(), y);
    }
    scene->OnKeyUp(KeyArrowDown);
    for (int i = 0; i < 6; ++i) {
        scene->Update(40.0f);
    }
    EXPECT_EQ(PieceY(), 8);

    // A second press while already held does not restart the repeat.
    scene->OnKeyDown(KeyArrowDown);
    scene->Update(10.0f);
    EXPECT_EQ(PieceY(), 7);
    scene->OnKeyDown(KeyArrowDown);
    scene->Update(10.0f);
    EXPECT_EQ(PieceY(), 7);
}

TEST_F(PlaySceneTest, HeldDropButtonFollowsSwapControls)
{
    struct Case {
        int32_t swap;
        uint8_t left;
        uint8_t right;
        int32_t rows;  // dropped after 250 ms
    };
    const Case cases[] = {{0, 0, 1, 2}, {0, 1, 0, 0}, {1, 1, 0, 2}, {1, 0, 1, 0}};
    for (const Case& c : cases) {
        SCOPED_TRACE("swap " + std::to_string(c.swap) + " left " + std::to_string(c.left));
        game.SetSwapControls(c.swap);
        Start();
        PlacePiece(8, 12);
        g_leftButtonDown = c.left;
        g_rightButtonDown = c.right;
        for (int i = 0; i < 25; ++i) {
            scene->Update(10.0f);
        }
        EXPECT_EQ(12 - PieceY(), c.rows);
        g_leftButtonDown = 0;
        g_rightButtonDown = 0;
    }
}

TEST_F(PlaySceneTest, LeftAndRightHeldTogetherStepLeftFirst)
{
    Start();
    PlacePiece(8, 10);
    Block(9, 10);  // column 9 is taken: right first would be refused and end at 7
    scene->OnKeyDown(KeyArrowLeft);
    scene->OnKeyDown(KeyArrowRight);
    scene->Update(10.0f);
    EXPECT_EQ(PieceX(), 8);

    scene->OnKeyUp(KeyArrowRight);
    scene->Update(10.0f);  // 10.1 + 10 ms of the left repeat: no step yet
    EXPECT_EQ(PieceX(), 8);
    for (int i = 0; i < 10; ++i) {
        scene->Update(10.0f);
    }
    EXPECT_EQ(PieceX(), 7);
}

TEST_F(PlaySceneTest, HeldArrowsDoNothingWhilePaused)
{
    Make();
    scene->OnKeyDown(KeyArrowDown);
    scene->OnKeyDown(KeyArrowLeft);
    EXPECT_TRUE(scene->IsPaused());
    EXPECT_FALSE(scene->IsDownHeld());
    EXPECT_FALSE(scene->IsLeftHeld());
}

TEST_F(PlaySceneTest, MouseSteersOnlyWhenMovedAndNeverPastABlockedColumn)
{
    Start();
    PlacePiece(8, 10);
    Block(5, 10);
    // Enter the field over the piece's own column (the entry is the warp's ignored move).
    g_mouseX = 16 * 8 + 128;
    g_mouseY = 200;
    scene->Update(1.0f);
    scene->Update(1.0f);
    ASSERT_EQ(PieceX(), 8);

    // Aim at column 2: the piece stops beside the block at 5, although 2 is free.
    g_mouseX = 120 + 16 * 2 + 4;
    scene->Update(1.0f);
    EXPECT_EQ(PieceX(), 6);

    // A resting mouse steers nothing, even when the piece is elsewhere.
    PlacePiece(11, 10);
    scene->Update(1.0f);
    EXPECT_EQ(PieceX(), 11);

    g_mouseX = 120 + 16 * 14 + 4;
    scene->Update(1.0f);
    EXPECT_EQ(PieceX(), 14);

    // Outside the field the mouse does not steer.
    g_mouseX = 470;
    scene->Update(1.0f);
    EXPECT_EQ(PieceX(), 14);
}

TEST_F(PlaySceneTest, PointerWarpMovesTheCursorAndTheNextMoveIsIgnoredOnce)
{
    Start();
    PlacePiece(8, 10);
    g_mouseX = 500;
    g_mouseY = 200;
    screen.SetCursorPosition({500, 321});
    scene->Update(1.0f);

    // Entering the field warps the cursor to the piece's middle, keeping its height.
    g_mouseX = 300;
    scene->Update(1.0f);
    PXPoint cursor;
    screen.GetCursorPosition(&cursor);
    EXPECT_EQ(cursor.x, 16 * (8 + 8));
    EXPECT_EQ(cursor.y, 321);
    EXPECT_EQ(PieceX(), 8);

    // A warp (as for a new piece) swallows exactly the next movement.
    scene->WarpPointer(4);
    screen.GetCursorPosition(&cursor);
    EXPECT_EQ(cursor.x, 16 * (4 + 8));
    EXPECT_TRUE(scene->IsIgnoringMouseMove());
    g_mouseX = 120 + 16 * 12;
    scene->Update(1.0f);
    EXPECT_EQ(PieceX(), 8);
    EXPECT_FALSE(scene->IsIgnoringMouseMove());
    g_mouseX = 120 + 16 * 11;
    scene->Update(1.0f);
    EXPECT_EQ(PieceX(), 11);
}

TEST_F(PlaySceneTest, CursorSpriteHidesAfterFiveIdleSecondsAndShowsOnTheNextMove)
{
    Start();
    auto* cursor = static_cast<SFEntityMainGameSceneType*>(scene->GetType())->GetCursorEntity();
    ASSERT_NE(cursor, nullptr);
    g_mouseX = 500;
    g_mouseY = 300;
    scene->Update(16.0f);
    for (int i = 0; i < 50; ++i) {
        scene->Update(100.0f);
    }
    EXPECT_TRUE(cursor->IsVisible());  // exactly 5000 ms
    scene->Update(100.0f);
    EXPECT_FALSE(cursor->IsVisible());
    scene->Update(100.0f);
    EXPECT_FALSE(cursor->IsVisible());

    g_mouseY = 301;
    scene->Update(16.0f);
    EXPECT_TRUE(cursor->IsVisible());
    EXPECT_EQ(scene->GetMouseIdle(), 0.0f);
}

TEST_F(PlaySceneTest, InfoStripButtonsPauseMuteAndSwitchTheScreen)
{
    Start();
    const PXPoint pause{415, 405};
    EXPECT_TRUE(scene->OnMouseUp(&pause, 1));
    EXPECT_TRUE(scene->IsPaused());
    EXPECT_EQ(scene->GetStatus1(), "Game Paused");

    const PXPoint soundButton{455, 405};
    EXPECT_TRUE(scene->OnMouseUp(&soundButton, 1));
    EXPECT_FALSE(scene->IsSoundOn());
    EXPECT_EQ(sound.IsSoundMuted(), 1);
    EXPECT_TRUE(scene->IsPaused());  // a button click does not resume

    const bool wasFull = screen.IsFullScreen();
    const PXPoint full{495, 405};
    EXPECT_TRUE(scene->OnMouseUp(&full, 1));
    EXPECT_NE(screen.IsFullScreen(), wasFull);
    EXPECT_EQ(g_modeSwitching, 1);

    // The right button does not press buttons; a release elsewhere resumes.
    scene->OnMouseUp(&pause, 2);
    EXPECT_FALSE(scene->IsPaused());
    EXPECT_EQ(scene->GetStatus1(), "");
}

TEST_F(PlaySceneTest, FullscreenButtonsModeIsWhatTheNextStartOpensIn)
{
    Start();
    ASSERT_TRUE(screen.IsFullScreen());  // no stored setting: full screen
    const PXPoint full{495, 405};
    scene->OnMouseUp(&full, 1);
    ASSERT_FALSE(screen.IsFullScreen());
    EXPECT_EQ(game.GetFullScreen(), 0);

    // Shut down before another frame has run.
    scene.reset();
    game.Shutdown();
    int32_t stored = -1;
    settings.OpenGameKey();
    settings.GetInt("Full Screen", stored);
    settings.CloseKey();
    EXPECT_EQ(stored, 0);
}

TEST_F(PlaySceneTest, TurnButtonTurnsOnlyOverTheField)
{
    struct Case {
        int32_t swap;
        int button;
        int32_t x;
        bool turns;
    };
    const Case cases[] = {{0, 1, 200, true},  {0, 2, 200, false}, {1, 2, 200, true},
                          {1, 1, 200, false}, {0, 1, 81, true},   {0, 1, 432, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE("swap " + std::to_string(c.swap) + " button " + std::to_string(c.button) + " x " +
                     std::to_string(c.x));
        game.SetSwapControls(c.swap);
        Start();
        PlacePiece(8, 10);
        const PXPoint at{c.x, 200};
        scene->OnMouseUp(&at, c.button);
        EXPECT_EQ(scene->Field().Current().rotation, c.turns ? 1 : 0);
    }
}

// The play scene entered through the real game.
class DeactivationTest : public GameDrivenTest {
protected:
    // Holds left and the drop button until both have moved the piece, loses and regains
    // the focus, and checks that the piece no longer moves by itself.
    void CheckHeldInputIsReleased(uint8_t switching)
    {
        SFEntityMainGameScene* play = Enter();
        ASSERT_NE(play, nullptr);
        g_modeSwitching = switching;
        Frame({{EventKeyDown, KeyArrowLeft}, {EventRightDown, 0}}, 600);
        Frame({}, 700);
        ASSERT_TRUE(play->IsLeftHeld());
        ASSERT_LT(play->Field().Current().x, 8);
        ASSERT_LT(play->Field().Current().y, 10);

        // The releases happen while another window has the focus and never arrive.
        Frame({{EventDeactivate, 0}}, 10);
        EXPECT_EQ(game.IsInactive(), switching == 0);
        EXPECT_EQ(g_rightButtonDown, 0);
        EXPECT_FALSE(play->IsLeftHeld());
        EXPECT_EQ(play->GetMouseDropRepeat(), 0.0f);

        Frame({{EventActivate, 0}, {EventKeyDown, 'x'}}, 10);
        ASSERT_FALSE(play->IsPaused());
        const int32_t x = play->Field().Current().x;
        const int32_t y = play->Field().Current().y;
        // 200 ms: several repeats, but less than a fall interval since the last drop.
        Frame({}, 1000);
        Frame({}, 1000);
        EXPECT_EQ(play->Field().Current().x, x);
        EXPECT_EQ(play->Field().Current().y, y);
    }
};

TEST_F(DeactivationTest, DeactivationLetsGoOfHeldKeysAndButtons)
{
    CheckHeldInputIsReleased(0);
}

TEST_F(DeactivationTest, HeldInputIsReleasedEvenDuringAModeSwitch)
{
    // A full-screen switch keeps the game active, but the focus was still lost.
    CheckHeldInputIsReleased(1);
}

}  // namespace
}  // namespace playscene
