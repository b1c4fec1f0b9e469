// Same seed, same game: the built-in player's games replay bit for bit in process, and a
// pinned game plays out alike on every host.
#include <gtest/gtest.h>

#include "engine/core/PXRandom.h"
#include "game/SFAutoPlayer.h"

namespace {

TEST(Replay, SameSeedGivesTheSameGamesInProcess)
{
    for (int difficulty = 0; difficulty < 3; ++difficulty) {
        GlobalRandom().Seed(99);
        SFGameStats first = PlayAutoGame(difficulty, 10.0f, 20000);
        GlobalRandom().Seed(99);
        SFGameStats second = PlayAutoGame(difficulty, 10.0f, 20000);
        EXPECT_EQ(FormatStats(first), FormatStats(second)) << "difficulty " << difficulty;
        EXPECT_GT(first.frames, 0);
    }
}

TEST(Replay, FrameCapEndsAGameThatIsNotLost)
{
    GlobalRandom().Seed(5);
    SFGameStats stats = PlayAutoGame(0, 10.0f, 300);
    EXPECT_EQ(stats.frames, 300);
    EXPECT_FALSE(stats.gameOver);
}

TEST(Replay, PinnedGameInProcess)
{
    // The game the sfsim tool pins, played here as it plays it: 10 ms frames.
    GlobalRandom().Seed(7);
    SFGameStats stats = PlayAutoGame(0, 10.0f, 360000);
    EXPECT_EQ(FormatStats(stats), "score 52466 level 29 removed 645 chain 9 frames 52909 over");
}

}  // namespace
