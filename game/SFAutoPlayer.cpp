// The built-in player: greedy column choice by group size, steered with ordinary player moves.
#include "game/SFAutoPlayer.h"

#include <cinttypes>
#include <cstdio>
#include <cstdlib>

namespace {

// How good is landing `piece` dropped straight down from its row? Bigger joined groups are
// better, a removal is best, and lower is better than higher.
int EvaluateLanding(const SFBoard& board, SFPiece piece)
{
    while (board.CanDrop(piece))
        --piece.y;
    SFBoard after = board;
    for (const SFShapeItem& item : piece.Items()) {
        int y = piece.y + item.rowOffset;
        if (y >= SFBoard::Rows)
            return -1000;  // would end the game
        after.Set(piece.x + item.columnOffset, y,
                  SFCell{static_cast<uint8_t>(piece.slots[item.colourSlot - 1] + 1), item.orientation});
    }
    const std::vector<SFShapeItem>& items = piece.Items();
    int lower = after.GroupSize(piece.x, piece.y + items[0].rowOffset);
    int upper = after.GroupSize(piece.x, piece.y + items[1].rowOffset);
    bool joined = piece.slots[items[0].colourSlot - 1] == piece.slots[items[1].colourSlot - 1];
    int value = joined ? lower : lower + upper;
    if (lower >= 4 || upper >= 4)
        value += 20;
    return value * 4 - piece.y * 2;
}

}  // namespace

void SFAutoPlayer::Plan(const SFPlayField& field)
{
    const SFPiece& current = field.Current();
    int bestValue = -1000000;
    int bestDistance = 0;
    for (int parity = 0; parity < 2; ++parity) {
        for (int column = 0; column < SFBoard::Columns; ++column) {
            SFPiece trial = current;
            trial.x = column;
            trial.rotation = (current.rotation + parity) % 6;
            // The piece enters above the field; judge it from the first row where it fits.
            trial.y = SFBoard::Rows - 2;
            if (!field.Board().Fits(trial))
                continue;
            int value = EvaluateLanding(field.Board(), trial);
            int distance = std::abs(column - current.x) + parity;
            if (value > bestValue || (value == bestValue && distance < bestDistance)) {
                bestValue = value;
                bestDistance = distance;
                m_targetColumn = column;
                m_targetParity = trial.rotation % 2;
            }
        }
    }
    if (bestValue == -1000000) {
        m_targetColumn = current.x;
        m_targetParity = current.rotation % 2;
    }
}

void SFAutoPlayer::Act(SFPlayField& field, float frameTime)
{
    const SFPiece& current = field.Current();
    if (!current.Exists() || field.TurnActive() || field.IsGameOver()) {
        m_planned = false;
        m_elapsed = 0.0f;
        return;
    }
    if (!m_planned || current.y > m_lastY) {
        Plan(field);
        m_planned = true;
    }
    m_lastY = current.y;

    m_elapsed += frameTime;
    if (m_elapsed < m_repeatMs)
        return;
    m_elapsed -= m_repeatMs;

    if (current.y >= SFBoard::Rows - 1) {
        field.StepDown();  // a fresh piece cannot move until it has dropped a row
    } else if (current.rotation % 2 != m_targetParity) {
        int before = current.rotation;
        field.Turn();
        if (field.Current().rotation == before)
            m_targetParity = before % 2;
    } else if (current.x != m_targetColumn) {
        int before = current.x;
        if (current.x < m_targetColumn)
            field.StepRight();
        else
            field.StepLeft();
        if (field.Current().x == before)
            m_targetColumn = before;  // blocked: settle for this column
    } else {
        field.StepDown();
    }
    // A landing without removal spawns the next piece at once: plan it afresh next frame.
    if (!field.Current().Exists() || field.Current().y > m_lastY)
        m_planned = false;
}

namespace {

class ChainRecorder : public SFPlayFieldListener {
public:
    ChainRecorder(const SFPlayField& field, SFGameStats& stats) : m_field(field), m_stats(stats) {}
    void TurnEnded(int32_t) override
    {
        if (m_field.ChainLength() > m_stats.longestChain)
            m_stats.longestChain = m_field.ChainLength();
    }
    void GameOver(int32_t, int32_t, int32_t) override { m_stats.gameOver = true; }

private:
    const SFPlayField& m_field;
    SFGameStats& m_stats;
};

}  // namespace

SFGameStats PlayAutoGame(int32_t difficulty, float frameTime, int64_t maxFrames)
{
    SFGameStats stats;
    SFPlayField field(difficulty);
    ChainRecorder recorder(field, stats);
    field.SetListener(&recorder);
    SFAutoPlayer player;
    while (stats.frames < maxFrames && !field.IsGameOver()) {
        player.Act(field, frameTime);
        field.Update(frameTime);
        ++stats.frames;
    }
    stats.score = field.Score();
    stats.level = field.Level();
    stats.removed = field.TotalRemoved();
    return stats;
}

std::string FormatStats(const SFGameStats& stats)
{
    char line[160];
    std::snprintf(line, sizeof line, "score %d level %d removed %" PRId64 " chain %d frames %" PRId64 "%s",
                  stats.score, stats.level, stats.removed, stats.longestChain, stats.frames,
                  stats.gameOver ? " over" : "");
    return line;
}
