// The game reads "Scores.sfs" from the shared data folder at start and writes the table back
// there at shut-down.
#include <gtest/gtest.h>

#include "engine/core/PXHighScore.h"
#include "game/SFHighScore.h"
#include "tests/spine/SpineFixture.h"

namespace {

class ScoreFileTest : public SpineTest {
protected:
    void TearDown() override
    {
        g_highScores.RemoveAll();
        SpineTest::TearDown();
    }
};

TEST_F(ScoreFileTest, StartLoadsAndShutDownSavesTheTable)
{
    const std::string path = dir.Folder() + "Scores.sfs";
    g_highScores.RemoveAll();
    g_highScores.InsertEntry(SFHighScore(700, 6, 2, "Kept"), false);
    ASSERT_EQ(1, g_highScores.SaveFile(path));
    g_highScores.RemoveAll();

    TestGame game;
    g_game = &game;
    ASSERT_EQ(1, game.Initialise());
    ASSERT_EQ(1, g_highScores.Count());
    auto* kept = dynamic_cast<SFHighScore*>(g_highScores.EntryAt(0));
    ASSERT_NE(nullptr, kept);
    EXPECT_EQ("Kept", kept->name);
    EXPECT_EQ(6u, kept->level);
    EXPECT_EQ(2u, kept->mode);

    g_highScores.InsertEntry(SFHighScore(900, 8, 3, "New"), true);
    game.Shutdown();
    g_game = nullptr;

    PXHighScoreTable reread;
    SFHighScore scratch;
    reread.LoadFile(path, scratch);
    ASSERT_EQ(2, reread.Count());
    EXPECT_EQ("New", reread.EntryAt(0)->name);
    EXPECT_EQ("Kept", reread.EntryAt(1)->name);
}

}  // namespace
