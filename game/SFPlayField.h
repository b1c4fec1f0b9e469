// The puzzle rules: pieces, gravity, removal, settling, chains, scoring and levels. No drawing,
// sound or platform code; the play scene forwards frames and input and hears back through
// SFPlayFieldListener.
#pragma once

#include <cstdint>
#include <vector>

#include "game/SFBoard.h"

// 0 Easy, 1 Medium, 2 Hard; chosen in the main menu before a game starts.
extern int32_t g_difficulty;

struct SFLevelRow {
    int32_t interval;   // fall interval, ms
    int32_t lockDelay;  // extra intervals a blocked piece waits before landing
    int32_t colours;
    int32_t threshold;  // progress points that finish the level
};

constexpr int SFLevelTableRows = 24;
extern const SFLevelRow levelTable[SFLevelTableRows];

// Effects the rules ask the scene to play.
enum class SFSound { Move, Switch, Impact, Ding, DingRising, DingFalling, Special };

// What the scene hears from the rules. Every hook defaults to doing nothing.
class SFPlayFieldListener {
public:
    virtual ~SFPlayFieldListener() = default;
    virtual void PlaySound(SFSound) {}
    // A removed triangle's explosion centre, in screen pixels.
    virtual void StartExplosion(int32_t /*x*/, int32_t /*y*/) {}
    // The first group of a turn was found: place the floating turn score there.
    virtual void PlaceTurnScore(float /*x*/, float /*y*/) {}
    // The turn ended and its points were added: start the turn score's fade.
    virtual void TurnEnded(int32_t /*turnPoints*/) {}
    virtual void LevelUp(int32_t /*level*/) {}
    // A new piece entered while the pointer is over the field: move the pointer to its column.
    virtual void WarpPointer(int32_t /*column*/) {}
    // A piece landed above the top row. `mode` is difficulty + 1.
    virtual void GameOver(int32_t /*score*/, int32_t /*level*/, int32_t /*mode*/) {}
};

// A frame index for image lists: wraps into [0, count) even for negative numbers.
int WrapFrame(int frame, int count);

class SFPlayField {
public:
    static constexpr float RemoveStepMs = 75.0f;
    static constexpr float SettleStepMs = 50.0f;

    // Builds the start position: gray floor, the first (empty) spawn, then the start rows.
    // A difficulty outside 0 to 2 is taken as the nearest valid one.
    explicit SFPlayField(int32_t difficulty = g_difficulty, SFPlayFieldListener* listener = nullptr);

    void SetListener(SFPlayFieldListener* listener);

    // Pointer state used to choose a new piece's column and to ask for the pointer warp.
    void SetPointer(int32_t mouseX, bool cursorVisible);

    // One frame of the rules: removal, settling and the turn's end while a turn is active,
    // else gravity. The scene skips it while paused, a dialog is open or a banner runs.
    void Update(float frameTime);

    // Player moves; ignored without a current piece or after game over.
    void StepDown();
    void StepLeft();
    void StepRight();
    void Turn();

    // The individual steps, public so the scene and tests can drive them one by one.
    int TableIndex() const;
    const SFLevelRow& CurrentRow() const { return levelTable[TableIndex()]; }
    bool CanFall(int x, int y, SFCell cell) const { return m_board.CanFall(x, y, cell); }
    bool Fits(const SFPiece& piece) const { return m_board.Fits(piece); }
    bool CanDrop(const SFPiece& piece) const { return m_board.CanDrop(piece); }
    void FindGroup(int x, int y, std::vector<SFCellRef>& list) const { m_board.FindGroup(x, y, list); }
    bool FindMatches(bool apply);
    bool CompleteDiamonds() { return m_board.CompleteDiamonds(); }
    bool SettleStep();
    void SpawnPiece();
    void LandPiece();
    void FillStartRows(int rows);
    void RemovalFrame(float frameTime);
    void SettleFrame(float frameTime);
    void EndTurnIfDone();
    void GravityFrame(float frameTime);

    // State, read by the scene for drawing and the status texts; tests set up positions
    // through the mutable accessors.
    SFBoard& Board() { return m_board; }
    const SFBoard& Board() const { return m_board; }
    SFPiece& Current() { return m_current; }
    const SFPiece& Current() const { return m_current; }
    const SFPiece& Next() const { return m_next; }
    int32_t Difficulty() const { return m_difficulty; }
    int32_t Level() const { return m_level; }
    void SetLevel(int32_t level) { m_level = level; }
    int32_t LevelProgress() const { return m_levelProgress; }
    void SetLevelProgress(int32_t progress) { m_levelProgress = progress; }
    int32_t Score() const { return m_score; }
    int32_t TurnPoints() const { return m_turnPoints; }
    int32_t RemovedCount() const { return m_removedCount; }
    void SetRemovedCount(int32_t count) { m_removedCount = count; }
    bool TurnActive() const { return m_turnActive; }
    bool Clearing() const { return m_clearing; }
    bool Collapsing() const { return m_collapsing; }
    const std::vector<SFCellRef>& ClearList() const { return m_clearList; }
    int32_t LockDelay() const { return m_lockDelay; }
    float FallTimer() const { return m_fallTimer; }
    bool IsGameOver() const { return m_gameOver; }
    // Groups found in the current (or last) turn, and triangles removed in the whole game.
    int32_t ChainLength() const { return m_chainLength; }
    int64_t TotalRemoved() const { return m_totalRemoved; }

private:
    void Play(SFSound sound);
    void RemoveFirstQueued();
    int SpawnColumn() const;
    bool PointerOverField() const;

    SFPlayFieldListener m_silent;
    SFPlayFieldListener* m_listener = &m_silent;
    std::vector<const SFShapeSet*> m_shapeSets;
    SFBoard m_board;
    SFPiece m_current;
    SFPiece m_next;

    int32_t m_difficulty = 1;
    int32_t m_level = 1;
    int32_t m_levelProgress = 0;
    int32_t m_score = 0;
    int32_t m_turnPoints = 0;
    int32_t m_removedCount = 0;
    bool m_turnActive = false;
    std::vector<SFCellRef> m_clearList;
    bool m_clearing = false;
    bool m_collapsing = false;
    float m_clearTimer = 0.0f;
    float m_collapseTimer = 0.0f;
    float m_fallTimer = 0.0f;
    int32_t m_lockDelay = 0;
    bool m_gameOver = false;

    int32_t m_mouseX = 0;
    bool m_cursorVisible = false;

    int32_t m_chainLength = 0;
    int64_t m_totalRemoved = 0;
};
