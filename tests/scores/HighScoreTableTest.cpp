// The table's ranking: order, ties, the tenth place, the new mark.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "game/SFHighScore.h"

namespace {

struct Row {
    std::string name;
    uint32_t score;
};

void Fill(PXHighScoreTable& table, const std::vector<Row>& rows)
{
    for (const Row& row : rows)
        table.InsertEntry(SFHighScore(row.score, 1, 1, row.name), false);
}

std::vector<Row> Rows(const PXHighScoreTable& table)
{
    std::vector<Row> rows;
    for (const PXHighScore* e = table.First(); e; e = e->nextEntry.get())
        rows.push_back({e->name, e->score});
    return rows;
}

// Ten entries a..j scoring 100, 90, ..., 10.
std::vector<Row> FullTable()
{
    std::vector<Row> rows;
    for (int i = 0; i < 10; ++i)
        rows.push_back({std::string(1, char('a' + i)), uint32_t(100 - 10 * i)});
    return rows;
}

struct InsertCase {
    const char* label;
    std::vector<Row> before;
    uint32_t score;
    int expectedIndex;  // -1: not stored
    std::vector<std::string> expectedNames;
};

class InsertEntryTest : public ::testing::TestWithParam<InsertCase> {};

TEST_P(InsertEntryTest, PlacesTheNewScore)
{
    const InsertCase& c = GetParam();
    PXHighScoreTable table;
    Fill(table, c.before);
    PXHighScore* stored = table.InsertEntry(SFHighScore(c.score, 7, 2, "new"), true);

    if (c.expectedIndex < 0) {
        EXPECT_EQ(stored, nullptr);
    } else {
        ASSERT_NE(stored, nullptr);
        EXPECT_EQ(stored, table.EntryAt(c.expectedIndex));
        EXPECT_EQ(stored->name, "new");
        EXPECT_EQ(stored->score, c.score);
        EXPECT_EQ(static_cast<SFHighScore*>(stored)->level, 7u);
    }
    EXPECT_EQ(table.IndexOfNew(), c.expectedIndex);
    std::vector<std::string> names;
    for (const Row& row : Rows(table))
        names.push_back(row.name);
    EXPECT_EQ(names, c.expectedNames);
}

INSTANTIATE_TEST_SUITE_P(
    Ranking, InsertEntryTest,
    ::testing::Values(
        InsertCase{"EmptyTable", {}, 5, 0, {"new"}}, InsertCase{"Higher", {{"a", 100}}, 200, 0, {"new", "a"}},
        InsertCase{"Lower", {{"a", 100}}, 50, 1, {"a", "new"}},
        InsertCase{
            "EqualGoesAfterAllEquals", {{"a", 100}, {"b", 100}, {"c", 50}}, 100, 2, {"a", "b", "new", "c"}},
        InsertCase{"ZeroScoreAppends", {{"a", 1}}, 0, 1, {"a", "new"}},
        // A signed comparison would put 0x80000000 below 1.
        InsertCase{"ScoresCompareUnsigned", {{"a", 0x80000000u}}, 1, 1, {"a", "new"}},
        InsertCase{"FullTableEqualToFifth",
                   FullTable(),
                   60,
                   5,
                   {"a", "b", "c", "d", "e", "new", "f", "g", "h", "i"}},
        InsertCase{"FullTableTopScoreDropsTenth",
                   FullTable(),
                   500,
                   0,
                   {"new", "a", "b", "c", "d", "e", "f", "g", "h", "i"}},
        InsertCase{"FullTableEqualToTenthReplacesIt",
                   FullTable(),
                   10,
                   9,
                   {"a", "b", "c", "d", "e", "f", "g", "h", "i", "new"}},
        InsertCase{"FullTableBetweenNinthAndTenth",
                   FullTable(),
                   15,
                   9,
                   {"a", "b", "c", "d", "e", "f", "g", "h", "i", "new"}},
        InsertCase{"FullTableBelowTenthIsRefused",
                   FullTable(),
                   9,
                   -1,
                   {"a", "b", "c", "d", "e", "f", "g", "h", "i", "j"}},
        InsertCase{"NinthAndTenthEqual",
                   {{"a", 90},
                    {"b", 80},
                    {"c", 70},
                    {"d", 60},
                    {"e", 50},
                    {"f", 40},
                    {"g", 30},
                    {"h", 20},
                    {"i", 10},
                    {"j", 10}},
                   10,
                   9,
                   {"a", "b", "c", "d", "e", "f", "g", "h", "i", "new"}}),
    [](const ::testing::TestParamInfo<InsertCase>& info) { return std::string(info.param.label); });

TEST(HighScoreTable, NeverHoldsMoreThanTen)
{
    PXHighScoreTable table;
    for (uint32_t s = 1; s <= 25; ++s)
        table.InsertEntry(SFHighScore(s, 0, 0, "x"), false);
    ASSERT_EQ(table.Count(), 10);
    EXPECT_EQ(table.EntryAt(0)->score, 25u);
    EXPECT_EQ(table.EntryAt(9)->score, 16u);
    EXPECT_EQ(table.EntryAt(10), nullptr);
}

TEST(HighScoreTable, OnlyTheLatestMarkedInsertionIsNew)
{
    PXHighScoreTable table;
    table.InsertEntry(SFHighScore(50, 0, 0, "first"), true);
    EXPECT_EQ(table.IndexOfNew(), 0);
    table.InsertEntry(SFHighScore(10, 0, 0, "second"), true);
    EXPECT_EQ(table.IndexOfNew(), 1);
    EXPECT_EQ(table.EntryAt(0)->isNew, 0);

    // An unmarked insertion clears the mark too.
    table.InsertEntry(SFHighScore(30, 0, 0, "third"), false);
    EXPECT_EQ(table.IndexOfNew(), -1);
}

TEST(HighScoreTable, InsertStoresACopyWithoutTheCallersMarkOrLink)
{
    SFHighScore original(40, 12, 3, "Ann");
    original.isNew = 1;
    original.nextEntry = std::make_unique<SFHighScore>(1, 1, 1, "tail");

    PXHighScoreTable table;
    PXHighScore* stored = table.InsertEntry(original, false);
    ASSERT_NE(stored, nullptr);
    EXPECT_NE(stored, &original);
    EXPECT_EQ(stored->isNew, 0);
    EXPECT_EQ(stored->nextEntry, nullptr);
    EXPECT_EQ(table.Count(), 1);
    auto* game = static_cast<SFHighScore*>(stored);
    EXPECT_EQ(game->level, 12u);
    EXPECT_EQ(game->mode, 3u);
    EXPECT_EQ(game->name, "Ann");

    // Changing the caller's entry afterwards leaves the table alone.
    original.score = 999;
    EXPECT_EQ(table.EntryAt(0)->score, 40u);
}

TEST(HighScoreTable, RemoveAllEmptiesTheTable)
{
    PXHighScoreTable table;
    Fill(table, FullTable());
    table.RemoveAll();
    EXPECT_EQ(table.Count(), 0);
    EXPECT_EQ(table.First(), nullptr);
    EXPECT_EQ(table.IndexOfNew(), -1);
    EXPECT_NE(table.InsertEntry(SFHighScore(1, 0, 0, "x"), true), nullptr);
}

}  // namespace
