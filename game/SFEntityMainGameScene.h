// The play scene: runs the rules of SFPlayField once a frame and feeds them the player's
// keys, pad and mouse (with key repeat and mouse steering); pausing, the sound and full-screen
// buttons, the hint shimmer, the level banner, explosions and the floating turn score; draws
// the field and the info strip; leaves for the high scores or the main menu.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "engine/core/PXInputMap.h"
#include "engine/entity/PXEntity2DScene.h"
#include "game/SFEntityMainGameSceneType.h"
#include "game/SFPlayField.h"

class SFGame;

class SFEntityMainGameScene : public PXEntity2DScene, public SFPlayFieldListener {
public:
    static constexpr float CursorHideMs = 5000.0f;
    static constexpr float HintLengthMs = 1000.0f;
    static constexpr float BannerLengthMs = 500.0f;
    static constexpr float TurnScoreFadeMs = 1000.0f;
    // The mouse is over the field from x = 81 to 431 inclusive.
    static constexpr int32_t FieldMouseLeft = 81;
    static constexpr int32_t FieldMouseRight = 431;

    struct Explosion {
        int32_t x = 0;
        int32_t y = 0;
        float age = 0.0f;
    };

    // Starts paused ("Click Mouse or" / "Press Any Key") with the start rows of g_difficulty,
    // and fades the menu song out.
    explicit SFEntityMainGameScene(SFEntityMainGameSceneType* type);
    ~SFEntityMainGameScene() override;

    bool Update(float frameTime) override;
    bool Draw() override;
    bool OnMouseUp(const PXPoint* point, int button) override;
    // Keys and pad buttons are read through g_inputMap's play bindings; F7 pauses (the game
    // object switches the screen mode). While a dialog is open they go to the dialog, but a
    // release still lets go of a held move.
    bool OnKeyDown(int key) override;
    bool OnKeyUp(int key) override;
    bool OnPadDown(int button) override;
    bool OnPadUp(int button) override;
    // The pad that was playing is gone: a running game pauses.
    bool OnPadRemoved(bool inUse) override;
    bool OnDialogClosed(PXSceneDialog* dialog) override;
    // Lets go of every held key and mouse drop, so nothing keeps moving once the player is back.
    void OnDeactivate() override;
    bool TakesFocus() const override { return false; }

    // What the rules report.
    void PlaySound(SFSound sound) override;
    void StartExplosion(int32_t x, int32_t y) override;
    void PlaceTurnScore(float x, float y) override;
    void TurnEnded(int32_t turnPoints) override;
    // Starts the 500 ms level banner.
    void LevelUp(int32_t level) override;
    // Moves the system cursor to the middle of the column, keeping its height.
    void WarpPointer(int32_t column) override;
    void GameOver(int32_t score, int32_t level, int32_t mode) override;

    // State, for the info strip, tests and tools.
    SFPlayField& Field() { return m_field; }
    bool IsPaused() const { return m_paused; }
    bool IsGameOver() const { return m_gameOver; }
    // The sound manager's mute state; the Sound button and S change it.
    bool IsSoundOn() const;
    const std::string& GetStatus1() const { return m_status1; }
    const std::string& GetStatus2() const { return m_status2; }
    bool IsDownHeld() const { return m_downHeld; }
    bool IsLeftHeld() const { return m_leftHeld; }
    bool IsRightHeld() const { return m_rightHeld; }
    float GetMouseDropRepeat() const { return m_mouseDropRepeat; }
    bool IsHintActive() const { return m_hintActive; }
    float GetHintTimer() const { return m_hintTimer; }
    int32_t GetHintColour() const { return m_hintColour; }
    bool IsIgnoringMouseMove() const { return m_ignoreMouseMove; }
    float GetMouseIdle() const { return m_mouseIdle; }
    int32_t GetBannerOffset() const { return m_bannerOffset; }
    const std::vector<Explosion>& GetExplosions() const { return m_explosions; }

private:
    // A held move's flag and its repeat time.
    struct Hold {
        bool* held;
        float* repeat;
    };
    // Inputs in the held list: key codes (letters in lower case) as they are, pad buttons
    // from here up.
    static constexpr int32_t PadInput = 0x10000;

    SFEntityMainGameSceneType* GameType() const { return static_cast<SFEntityMainGameSceneType*>(m_type); }
    bool DialogOpen() const { return GetDialogCount() > 0; }
    bool MouseOverField() const;
    bool SwapControls() const;
    int32_t RepeatDelay() const;
    void Pause();
    void Resume();
    // Any key or click while paused: resume, or leave once the game is over.
    void ContinueFromPause();
    void LeaveForHighScores();
    void ToggleSound();
    // The Sound button shows the sound manager's state, however it was changed.
    void ShowSoundState();
    void ShowCursorSprite(bool visible);

    // Input steps: what a play action does when its key or button `input` goes down (false
    // when the press goes on to resume a paused game), and when it comes up (false when the
    // action is no held move).
    bool Press(PXInputAction action, int32_t input);
    bool Release(PXInputAction action, int32_t input);
    Hold HoldOf(PXInputAction action);
    static PXInputAction ActionOf(int32_t input);

    // Update steps.
    void TrackPointerEntry();
    void RunGame(float frameTime);
    void AgeExplosions(float frameTime);
    void StepHint(float frameTime);
    int32_t MostFrequentColour() const;
    void RepeatDrops(float frameTime);
    void RepeatSideSteps(float frameTime);
    void SteerWithMouse(float frameTime);
    void StepTowardColumn(int32_t target);
    void RunPhases(float frameTime);
    void DriftTurnScore(float frameTime);
    void RefreshStatusElements();

    // Draw steps.
    void ReloadLostImages();
    void DrawBackdrop();
    // Whether the backdrop's images cover every pixel of the frame as it is drawn now.
    bool BackdropCoversFrame() const;
    bool BoardHidden() const;
    void DrawBoard();
    void DrawTriangle(int colour, uint8_t orientation, int frame, int32_t x, int32_t y);
    void DrawShimmer(uint8_t orientation, int32_t x, int32_t y);
    void DrawPiece(const SFPiece& piece, int32_t column, int32_t row, int32_t yOffset);
    void DrawProgress();
    void DrawExplosions();
    void DrawTurnScore();

    SFPlayField m_field;

    bool m_paused = true;
    bool m_gameOver = false;
    std::string m_status1 = "Click Mouse or";
    std::string m_status2 = "Press Any Key";

    // The keys and pad buttons of held moves that are down now.
    std::vector<int32_t> m_inputsDown;
    bool m_downHeld = false;
    bool m_leftHeld = false;
    bool m_rightHeld = false;
    float m_downRepeat = 0.0f;
    float m_leftRepeat = 0.0f;
    float m_rightRepeat = 0.0f;
    float m_mouseDropRepeat = 0.0f;

    bool m_mouseOverField = false;
    int32_t m_lastMouseX = 0;
    int32_t m_lastMouseY = 0;
    bool m_ignoreMouseMove = false;
    float m_mouseIdle = 0.0f;

    bool m_hintActive = false;
    float m_hintTimer = 0.0f;
    int32_t m_hintColour = -1;

    std::vector<Explosion> m_explosions;
    float m_explosionLength = 640.0f;

    int32_t m_bannerOffset = 480;
    float m_bannerTimer = 0.0f;

    float m_turnScoreFade = 0.0f;
    float m_turnScoreX = 0.0f;
    float m_turnScoreY = 0.0f;
};
