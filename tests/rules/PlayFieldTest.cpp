// The rules on hand-built positions: removal and scoring, chains, completion, gravity, lock
// delay, spawning, levels, start rows and game over.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <vector>

#include "engine/core/PXRandom.h"
#include "game/SFPlayField.h"

namespace {

constexpr SFCell Up(uint8_t colour)
{
    return SFCell{colour, SFCell::Up};
}
constexpr SFCell Down(uint8_t colour)
{
    return SFCell{colour, SFCell::Down};
}

struct Placed {
    int x;
    int y;
    SFCell cell;
};

struct GameOverEntry {
    int32_t score, level, mode;
};

class Recorder : public SFPlayFieldListener {
public:
    void PlaySound(SFSound sound) override { sounds.push_back(sound); }
    void StartExplosion(int32_t x, int32_t y) override
    {
        explosions.push_back({x, y});
        if (onExplosion)
            onExplosion();
    }
    void PlaceTurnScore(float x, float y) override { turnScoreAt.push_back({x, y}); }
    void TurnEnded(int32_t points) override { turnsEnded.push_back(points); }
    void LevelUp(int32_t level) override { levelUps.push_back(level); }
    void WarpPointer(int32_t column) override { warps.push_back(column); }
    void GameOver(int32_t score, int32_t level, int32_t mode) override
    {
        gameOvers.push_back({score, level, mode});
    }

    int Count(SFSound sound) const
    {
        int n = 0;
        for (SFSound s : sounds)
            n += s == sound;
        return n;
    }

    std::vector<SFSound> sounds;
    std::vector<std::pair<int32_t, int32_t>> explosions;
    std::vector<std::pair<float, float>> turnScoreAt;
    std::vector<int32_t> turnsEnded;
    std::vector<int32_t> levelUps;
    std::vector<int32_t> warps;
    std::vector<GameOverEntry> gameOvers;
    std::function<void()> onExplosion;
};

class PlayFieldTest : public ::testing::Test {
protected:
    void SetUp() override { GlobalRandom().Seed(1234); }

    // A field whose board has been emptied (no floor) and which has no current piece yet.
    std::unique_ptr<SFPlayField> EmptyField(int difficulty)
    {
        auto field = std::make_unique<SFPlayField>(difficulty, &m_events);
        field->Board().Clear();
        return field;
    }

    static void Place(SFPlayField& field, const std::vector<Placed>& cells)
    {
        for (const Placed& p : cells)
            field.Board().Set(p.x, p.y, p.cell);
    }

    // Runs 10 ms frames until the turn in progress has ended.
    static void RunTurn(SFPlayField& field)
    {
        for (int i = 0; i < 10000 && field.TurnActive(); ++i)
            field.Update(10.0f);
        ASSERT_FALSE(field.TurnActive());
    }

    Recorder m_events;
};

const std::vector<Placed> RowOfThree = {{0, 0, Up(1)}, {1, 0, Down(1)}, {2, 0, Up(1)}};
const std::vector<Placed> RowOfFour = {{0, 0, Up(1)}, {1, 0, Down(1)}, {2, 0, Up(1)}, {3, 0, Down(1)}};

TEST_F(PlayFieldTest, GroupsOfThreeStayAndFourGo)
{
    struct Case {
        const char* name;
        std::vector<Placed> cells;
        bool removed;
    };
    const Case cases[] = {
        {"three", RowOfThree, false},
        {"four", RowOfFour, true},
        {"four gray", {{0, 0, Up(7)}, {1, 0, Down(7)}, {1, 1, Up(7)}, {2, 0, Up(7)}}, true},
        {"two pairs of one colour apart",
         {{0, 0, Up(2)}, {1, 0, Down(2)}, {3, 0, Down(2)}, {4, 0, Up(2)}},
         false},
    };
    for (const Case& c : cases) {
        auto field = EmptyField(0);
        Place(*field, c.cells);
        EXPECT_EQ(field->FindMatches(false), c.removed) << c.name;
        EXPECT_EQ(field->FindMatches(true), c.removed) << c.name;
        EXPECT_EQ(field->TurnActive(), c.removed) << c.name;
        RunTurn(*field);
        for (const Placed& p : c.cells)
            EXPECT_EQ(field->Board().At(p.x, p.y).IsEmpty(), c.removed)
                << c.name << " at " << p.x << "," << p.y;
    }
}

TEST_F(PlayFieldTest, RemovesOneTriangleEvery75Ms)
{
    auto field = EmptyField(0);
    Place(*field, RowOfFour);
    ASSERT_TRUE(field->FindMatches(true));
    ASSERT_EQ(field->ClearList().size(), 4u);
    // {frames of 10 ms so far, triangles removed}
    const std::pair<int, int> checkpoints[] = {{7, 0}, {8, 1}, {15, 1}, {16, 2}, {22, 2}, {23, 3}, {31, 4}};
    int frame = 0;
    for (auto [frames, removed] : checkpoints) {
        while (frame < frames) {
            field->Update(10.0f);
            ++frame;
        }
        EXPECT_EQ(field->RemovedCount(), removed) << "after " << frames << " frames";
    }
    EXPECT_TRUE(field->Clearing());
    field->Update(10.0f);  // the list is found empty: completion, then settling
    EXPECT_FALSE(field->Clearing());
}

TEST_F(PlayFieldTest, GroupOfFourScoresByDifficulty)
{
    // 13 + 20 + 31 + 44 on Easy, times difficulty + 1.
    const std::pair<int, int32_t> cases[] = {{0, 108}, {1, 216}, {2, 324}};
    for (auto [difficulty, points] : cases) {
        m_events = Recorder();
        auto field = EmptyField(difficulty);
        Place(*field, RowOfFour);
        ASSERT_TRUE(field->FindMatches(true));
        RunTurn(*field);
        EXPECT_EQ(field->Score(), points) << "difficulty " << difficulty;
        ASSERT_EQ(m_events.turnsEnded.size(), 1u);
        EXPECT_EQ(m_events.turnsEnded[0], points);
        // The turn score starts above the group's first cell (0, 0).
        ASSERT_EQ(m_events.turnScoreAt.size(), 1u);
        EXPECT_FLOAT_EQ(m_events.turnScoreAt[0].first, 136.0f);
        EXPECT_FLOAT_EQ(m_events.turnScoreAt[0].second, 368.0f);
        // The turn's end spawns the next piece and books (4 + 1) / 4 progress.
        EXPECT_TRUE(field->Current().Exists());
        EXPECT_EQ(field->LevelProgress(), 1);
        EXPECT_EQ(field->RemovedCount(), 0);
    }
}

TEST_F(PlayFieldTest, RemovalSoundsAndExplosions)
{
    auto field = EmptyField(0);
    std::vector<Placed> ten;
    for (int x = 0; x < 10; ++x)
        ten.push_back({x, 0, x % 2 == 0 ? Up(3) : Down(3)});
    Place(*field, ten);
    ASSERT_TRUE(field->FindMatches(true));
    RunTurn(*field);
    int dings = m_events.Count(SFSound::Ding) + m_events.Count(SFSound::DingRising) +
                m_events.Count(SFSound::DingFalling);
    EXPECT_EQ(dings, 5);  // every odd count
    EXPECT_EQ(m_events.Count(SFSound::Special), 1);
    ASSERT_EQ(m_events.explosions.size(), 10u);
    // Explosions are centred on the removed cells, in the order found.
    for (int i = 0; i < 10; ++i) {
        EXPECT_EQ(m_events.explosions[i].first, 16 * i + 128);
        EXPECT_EQ(m_events.explosions[i].second, 16 * 28 + 16);
    }
}

TEST_F(PlayFieldTest, TwoGroupsGoOneAfterTheOtherWithSettlingBetween)
{
    auto field = EmptyField(0);
    Place(*field, {
                      // Group A (colour 1) with a lone diamond of colour 2 resting on it.
                      {6, 0, Up(1)},
                      {7, 0, Down(1)},
                      {7, 1, Up(1)},
                      {8, 0, Up(1)},
                      {7, 2, Down(2)},
                      {7, 3, Up(2)},
                      // Group B (colour 4) further right.
                      {12, 0, Up(4)},
                      {13, 0, Down(4)},
                      {13, 1, Up(4)},
                      {14, 0, Up(4)},
                  });
    std::vector<SFCell> atFloor;  // cell (7, 0) at each explosion
    m_events.onExplosion = [&] { atFloor.push_back(field->Board().At(7, 0)); };

    ASSERT_TRUE(field->FindMatches(true));
    EXPECT_EQ(field->ClearList().size(), 4u);  // one group at a time
    RunTurn(*field);

    ASSERT_EQ(m_events.explosions.size(), 8u);
    for (int i = 0; i < 4; ++i) {
        EXPECT_LE(m_events.explosions[i].first, 16 * 8 + 128) << i;
        EXPECT_GE(m_events.explosions[i + 4].first, 16 * 12 + 128) << i;
    }
    // The diamond had fallen onto the floor before group B's first triangle went.
    EXPECT_EQ(atFloor[4], Down(2));
    EXPECT_EQ(field->Board().At(7, 0), Down(2));
    EXPECT_EQ(field->Board().At(7, 1), Up(2));
    EXPECT_TRUE(field->Board().At(7, 2).IsEmpty());
    EXPECT_EQ(field->ChainLength(), 2);
    // The count runs on over both groups: 108 + 58 + 73 + 89 + 106.
    EXPECT_EQ(field->Score(), 434);
    EXPECT_EQ(field->LevelProgress(), 2);  // (8 + 1) / 4
}

TEST_F(PlayFieldTest, BrokenHalvesGrowWholeBeforeAnythingFalls)
{
    auto field = EmptyField(0);
    Place(*field, {
                      {0, 0, Down(1)},
                      {0, 1, Up(1)},
                      {1, 1, Down(1)},
                      {2, 1, Up(1)},    // the group
                      {1, 2, Up(2)},    // upper half of the diamond whose lower half goes
                      {2, 0, Down(3)},  // lower half of the diamond whose upper half goes
                  });
    ASSERT_TRUE(field->FindMatches(true));
    while (field->Clearing())
        field->Update(10.0f);
    EXPECT_TRUE(field->Collapsing());
    EXPECT_EQ(field->Board().At(1, 1), Down(2));
    EXPECT_EQ(field->Board().At(1, 2), Up(2));
    EXPECT_EQ(field->Board().At(2, 1), Up(3));
    EXPECT_EQ(field->Board().At(2, 0), Down(3));

    // Whole again, both diamonds are held where they are: nothing moves afterwards.
    RunTurn(*field);
    EXPECT_EQ(field->Board().At(1, 2), Up(2));
    EXPECT_EQ(field->Board().At(1, 1), Down(2));
    EXPECT_TRUE(field->Board().At(0, 0).IsEmpty());
    EXPECT_TRUE(field->Board().At(0, 1).IsEmpty());
}

TEST_F(PlayFieldTest, SettlingPassesRunEvery50Ms)
{
    auto field = EmptyField(0);
    // A whole diamond of colour 1 goes; the diamond of colour 2 on top of it must come down.
    Place(*field,
          {{6, 0, Up(1)}, {7, 0, Down(1)}, {7, 1, Up(1)}, {8, 0, Up(1)}, {7, 2, Down(2)}, {7, 3, Up(2)}});
    ASSERT_TRUE(field->FindMatches(true));
    while (field->Clearing())
        field->Update(10.0f);
    ASSERT_TRUE(field->Collapsing());  // this frame already put 10 ms on the settling clock
    field->Update(40.0f);
    EXPECT_EQ(field->Board().At(7, 2), Down(2));
    field->Update(1.0f);  // first pass: the lower half runs to the bottom
    EXPECT_EQ(field->Board().At(7, 0), Down(2));
    EXPECT_EQ(field->Board().At(7, 3), Up(2));
    field->Update(51.0f);  // second pass: the upper half follows
    EXPECT_EQ(field->Board().At(7, 1), Up(2));
    RunTurn(*field);
}

TEST_F(PlayFieldTest, ImpactParityRunsOnAcrossFields)
{
    // Each field settles three triangles; every second one of the six plays the impact sound,
    // whichever way the shared parity stood before.
    int impacts[2] = {};
    for (int& count : impacts) {
        Recorder events;
        SFPlayField field(0, &events);
        field.Board().Clear();
        field.Board().Set(4, 3, Up(1));  // falls three rows in one pass
        ASSERT_TRUE(field.SettleStep());
        EXPECT_EQ(field.Board().At(4, 0), Up(1));
        count = events.Count(SFSound::Impact);
    }
    EXPECT_EQ(impacts[0] + impacts[1], 3);
}

TEST_F(PlayFieldTest, FreshPieceMovesOnlyAfterDroppingARow)
{
    auto field = EmptyField(0);
    field->Update(10.0f);  // no current piece yet: gravity spawns one
    ASSERT_TRUE(field->Current().Exists());
    SFPiece fresh = field->Current();
    EXPECT_EQ(fresh.x, 8);
    EXPECT_EQ(fresh.y, 16);

    field->StepLeft();
    field->StepRight();
    field->Turn();
    EXPECT_EQ(field->Current().x, 8);
    EXPECT_EQ(field->Current().rotation, 0);
    EXPECT_TRUE(m_events.sounds.empty());

    field->StepDown();
    EXPECT_EQ(field->Current().y, 15);
    field->StepLeft();
    EXPECT_EQ(field->Current().x, 7);
    field->StepRight();
    field->StepRight();
    EXPECT_EQ(field->Current().x, 9);
    field->Turn();
    EXPECT_EQ(field->Current().rotation, 1);
    EXPECT_EQ(m_events.Count(SFSound::Move), 4);
    EXPECT_EQ(m_events.Count(SFSound::Switch), 1);

    // Turned once, the piece lands with its colours swapped.
    while (field->Current().y > 0)
        field->StepDown();
    field->StepDown();
    EXPECT_EQ(field->Board().At(9, 0).colour, fresh.slots[1] + 1);
    EXPECT_EQ(field->Board().At(9, 1).colour, fresh.slots[0] + 1);
}

TEST_F(PlayFieldTest, BlockedMovesAndTurnsAreUndone)
{
    auto field = EmptyField(0);
    field->Update(10.0f);
    field->StepDown();
    SFPiece& piece = field->Current();
    piece.x = 0;
    field->StepLeft();
    EXPECT_EQ(piece.x, 0);
    piece.x = 16;
    field->StepRight();
    EXPECT_EQ(piece.x, 16);
    // A down-pointing neighbour of the lower half blocks every rotation (all keep a lower down).
    field->Board().Set(15, 15, Down(7));
    piece.rotation = 5;
    field->Turn();
    EXPECT_EQ(piece.rotation, 5);
    EXPECT_EQ(m_events.Count(SFSound::Switch), 0);
}

TEST_F(PlayFieldTest, LockDelayCountsBlockedIntervals)
{
    // {difficulty, expected lock delay at level 1}: the table rows 0, 8 and 16.
    const std::pair<int, int> cases[] = {{0, 0}, {1, 1}, {2, 2}};
    for (auto [difficulty, lock] : cases) {
        auto field = EmptyField(difficulty);
        field->SpawnPiece();
        ASSERT_EQ(field->LockDelay(), lock);
        field->Current().y = 0;
        float interval = static_cast<float>(field->CurrentRow().interval);
        for (int i = 0; i < lock; ++i) {
            field->Update(interval + 1.0f);
            EXPECT_TRUE(field->Board().At(8, 0).IsEmpty())
                << "difficulty " << difficulty << " interval " << i;
            EXPECT_EQ(field->Current().y, 0);
        }
        field->Update(interval + 1.0f);
        EXPECT_EQ(field->Board().At(8, 0).orientation, SFCell::Down) << "difficulty " << difficulty;
        EXPECT_FALSE(field->Board().At(8, 0).IsEmpty()) << "difficulty " << difficulty;
        EXPECT_EQ(field->Current().y, 16);  // the next piece came in at once
    }
}

TEST_F(PlayFieldTest, StepDownLandsAtOnceDespiteLockDelay)
{
    auto field = EmptyField(2);
    field->SpawnPiece();
    ASSERT_EQ(field->LockDelay(), 2);
    field->Current().y = 0;
    field->Update(100.0f);
    EXPECT_GT(field->FallTimer(), 0.0f);
    field->StepDown();
    EXPECT_FALSE(field->Board().At(8, 0).IsEmpty());
    EXPECT_EQ(field->FallTimer(), 0.0f);
    EXPECT_EQ(m_events.Count(SFSound::Impact), 1);
}

TEST_F(PlayFieldTest, GravityDropsOneRowPerInterval)
{
    auto field = EmptyField(0);
    field->SpawnPiece();
    field->Current().y = 10;
    field->Update(499.0f);
    EXPECT_EQ(field->Current().y, 10);
    field->Update(2.0f);
    EXPECT_EQ(field->Current().y, 9);
    field->Update(1001.0f);  // two intervals in one long frame
    EXPECT_EQ(field->Current().y, 7);
    EXPECT_EQ(m_events.Count(SFSound::Move), 3);
}

TEST_F(PlayFieldTest, ProgressPerSpawn)
{
    // {triangles removed since the last spawn, progress gained}
    const std::pair<int, int> cases[] = {{0, 0}, {4, 1}, {6, 1}, {7, 2}, {10, 2}, {11, 3}, {14, 3}};
    for (auto [removed, gained] : cases) {
        auto field = EmptyField(0);
        field->SetLevelProgress(1);
        field->SetRemovedCount(removed);
        field->SpawnPiece();
        EXPECT_EQ(field->LevelProgress(), 1 + gained) << removed << " removed";
        EXPECT_EQ(field->RemovedCount(), 0);
    }
}

TEST_F(PlayFieldTest, LevelRisesInGravityWhenProgressReachesThreshold)
{
    auto field = EmptyField(0);
    int threshold = field->CurrentRow().threshold;
    field->SetLevelProgress(threshold - 1);
    field->Update(10.0f);
    EXPECT_EQ(field->Level(), 1);
    field->SetLevelProgress(threshold);
    field->Update(10.0f);
    EXPECT_EQ(field->Level(), 2);
    EXPECT_EQ(field->LevelProgress(), 0);
    EXPECT_EQ(m_events.levelUps, std::vector<int32_t>{2});
}

TEST_F(PlayFieldTest, TableRowPerDifficultyAndLevel)
{
    struct Case {
        int difficulty, level, row;
    };
    const Case cases[] = {
        {0, 1, 0},  {0, 5, 4},  {0, 14, 13}, {0, 40, 13},  // Easy stops at row 13
        {1, 1, 8},  {1, 8, 15}, {1, 30, 15},               // Medium starts at row 8
        {2, 1, 16}, {2, 8, 23}, {2, 99, 23},               // Hard uses rows 16 to 23
        {7, 1, 16}, {-3, 1, 0},                            // out of range: nearest mode
    };
    for (const Case& c : cases) {
        auto field = EmptyField(c.difficulty);
        field->SetLevel(c.level);
        EXPECT_EQ(field->TableIndex(), c.row) << "difficulty " << c.difficulty << " level " << c.level;
    }
    auto medium = EmptyField(1);
    EXPECT_EQ(medium->CurrentRow().colours, 6);
    EXPECT_EQ(medium->CurrentRow().interval, 410);
    auto hard = EmptyField(2);
    EXPECT_EQ(hard->CurrentRow().lockDelay, 2);
    EXPECT_EQ(hard->CurrentRow().interval, 260);
}

// The late rows, which only Medium (from level 7) and Hard reach, as each level meets them.
TEST_F(PlayFieldTest, LateTableRowsAsMediumAndHardReachThem)
{
    struct Case {
        int difficulty, level;
        SFLevelRow row;
    };
    const Case cases[] = {
        {1, 7, {290, 2, 6, 5}}, {1, 8, {270, 2, 6, 5}},                            // rows 14, 15
        {2, 1, {260, 2, 6, 5}}, {2, 2, {250, 2, 6, 5}}, {2, 3, {240, 2, 6, 5}},  // rows 16 to 18
        {2, 4, {230, 2, 6, 5}}, {2, 5, {220, 2, 6, 5}}, {2, 6, {210, 2, 6, 5}},  // rows 19 to 21
        {2, 7, {200, 2, 6, 5}}, {2, 8, {190, 2, 6, 5}},                            // rows 22, 23
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("difficulty " + std::to_string(c.difficulty) + " level " + std::to_string(c.level));
        auto field = EmptyField(c.difficulty);
        field->SetLevel(c.level);
        const SFLevelRow& row = field->CurrentRow();
        EXPECT_EQ(row.interval, c.row.interval);
        EXPECT_EQ(row.lockDelay, c.row.lockDelay);
        EXPECT_EQ(row.colours, c.row.colours);
        EXPECT_EQ(row.threshold, c.row.threshold);
    }
}

TEST_F(PlayFieldTest, NextPieceColoursComeFromTheRowsColourCount)
{
    auto field = EmptyField(0);  // 3 colours at level 1
    for (int i = 0; i < 50; ++i) {
        field->SpawnPiece();
        for (uint8_t slot : field->Next().slots)
            EXPECT_LT(slot, 3);
        EXPECT_EQ(field->Next().y, 16);
        EXPECT_EQ(field->Next().rotation, 0);
    }
}

TEST_F(PlayFieldTest, SpawnColumnFollowsTheVisiblePointer)
{
    struct Case {
        int mouseX;
        bool visible;
        int column;
        bool warp;
    };
    const Case cases[] = {
        {0, true, 8, false},   {80, true, 8, false},  {81, true, 0, true},   {300, true, 10, true},
        {431, true, 16, true}, {432, true, 8, false}, {300, false, 8, true},
    };
    for (const Case& c : cases) {
        m_events = Recorder();
        auto field = EmptyField(0);
        field->SetPointer(c.mouseX, c.visible);
        field->SpawnPiece();
        EXPECT_EQ(field->Current().x, c.column) << "mouse " << c.mouseX;
        EXPECT_EQ(m_events.warps.size(), c.warp ? 1u : 0u) << "mouse " << c.mouseX;
        if (c.warp && !m_events.warps.empty()) {
            EXPECT_EQ(m_events.warps[0], c.column);
        }
    }
}

TEST_F(PlayFieldTest, StartRowsAreAStaggeredWallWithoutGroups)
{
    for (int difficulty = 0; difficulty < 3; ++difficulty) {
        for (uint32_t seed = 1; seed <= 40; ++seed) {
            GlobalRandom().Seed(seed);
            SFPlayField field(difficulty);
            const SFBoard& board = field.Board();
            EXPECT_FALSE(field.FindMatches(false)) << "difficulty " << difficulty << " seed " << seed;
            EXPECT_FALSE(field.Current().Exists());
            for (int x = 0; x < SFBoard::Columns; x += 2)
                EXPECT_EQ(board.At(x, 0), Up(SFCell::Gray));
            int rows = difficulty + 2;
            int colours = field.CurrentRow().colours;
            for (int r = 0; r < rows; ++r) {
                int diamonds = 0;
                for (int x = 1 - r % 2; x < SFBoard::Columns; x += 2) {
                    SFCell lower = board.At(x, r);
                    SFCell upper = board.At(x, r + 1);
                    EXPECT_EQ(lower.orientation, SFCell::Down);
                    EXPECT_EQ(upper.orientation, SFCell::Up);
                    EXPECT_GE(lower.colour, 1);
                    EXPECT_LE(lower.colour, colours);
                    EXPECT_GE(upper.colour, 1);
                    EXPECT_LE(upper.colour, colours);
                    ++diamonds;
                }
                EXPECT_EQ(diamonds, r % 2 == 0 ? 8 : 9);
            }
            for (int r = rows + 1; r < SFBoard::Rows; ++r)
                for (int x = 0; x < SFBoard::Stride; ++x)
                    EXPECT_TRUE(board.At(x, r).IsEmpty());
        }
    }
}

TEST_F(PlayFieldTest, LandingAboveTheTopRowEndsTheGameOnce)
{
    auto field = EmptyField(1);
    Place(*field, RowOfFour);
    ASSERT_TRUE(field->FindMatches(true));
    RunTurn(*field);
    ASSERT_EQ(field->Score(), 216);
    field->SetLevel(3);

    ASSERT_TRUE(field->Current().Exists());
    ASSERT_EQ(field->Current().y, 16);
    SFPiece piece = field->Current();
    field->Board().Set(8, 15, Down(7));
    field->StepDown();

    ASSERT_EQ(m_events.gameOvers.size(), 1u);
    EXPECT_EQ(m_events.gameOvers[0].score, 216);
    EXPECT_EQ(m_events.gameOvers[0].level, 3);
    EXPECT_EQ(m_events.gameOvers[0].mode, 2);  // Medium
    EXPECT_TRUE(field->IsGameOver());
    // The half inside the field is still written.
    EXPECT_EQ(field->Board().At(8, 16), Down(static_cast<uint8_t>(piece.slots[0] + 1)));

    // Nothing runs afterwards.
    SFPiece after = field->Current();
    field->Update(5000.0f);
    field->StepLeft();
    field->StepDown();
    field->Turn();
    EXPECT_EQ(field->Current().x, after.x);
    EXPECT_EQ(field->Current().y, after.y);
    EXPECT_EQ(field->Current().rotation, after.rotation);
    EXPECT_EQ(m_events.gameOvers.size(), 1u);
}

TEST(WrapFrame, AlwaysIndexesInsideTheList)
{
    struct Case {
        int frame, count, expected;
    };
    const Case cases[] = {{0, 24, 0},   {25, 24, 1}, {-1, 24, 23}, {-25, 24, 23},
                          {-24, 24, 0}, {5, 0, 0},   {3, -2, 0}};
    for (const Case& c : cases)
        EXPECT_EQ(WrapFrame(c.frame, c.count), c.expected) << c.frame << " mod " << c.count;
}

}  // namespace
