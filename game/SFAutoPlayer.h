// A simple computer player and a headless game runner, for the simulator, replays and benchmarks.
#pragma once

#include <cstdint>
#include <string>

#include "game/SFPlayField.h"

// Steers each new piece toward the column and turn where its halves join the largest groups,
// acting at most once per key-repeat interval like a player holding the keys.
class SFAutoPlayer {
public:
    explicit SFAutoPlayer(float repeatMs = 120.0f) : m_repeatMs(repeatMs) {}

    // Called once per frame before the rules run.
    void Act(SFPlayField& field, float frameTime);

private:
    void Plan(const SFPlayField& field);

    float m_repeatMs;
    float m_elapsed = 0.0f;
    bool m_planned = false;
    int32_t m_lastY = 0;
    int32_t m_targetColumn = 8;
    int32_t m_targetParity = 0;
};

struct SFGameStats {
    int32_t score = 0;
    int32_t level = 1;
    int64_t removed = 0;
    int32_t longestChain = 0;
    int64_t frames = 0;
    bool gameOver = false;
};

// Plays one game with the built-in player at a fixed frame time until the game is lost or
// `maxFrames` frames have run. Draws from the shared random generator.
SFGameStats PlayAutoGame(int32_t difficulty, float frameTime, int64_t maxFrames);

// "score S level L removed R chain C frames F" (with " over" when the game was lost).
std::string FormatStats(const SFGameStats& stats);
