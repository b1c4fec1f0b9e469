// "Scores.sfs": the exact record bytes, round trips, every kind of bad file, and a save
// that must never destroy the file already there.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "engine/files/PXBuffer.h"
#include "game/SFHighScore.h"
#include "tests/support/TempDir.h"

namespace {

std::string Word(uint32_t v)
{
    return std::string{char(v & 0xFF), char((v >> 8) & 0xFF), char((v >> 16) & 0xFF), char((v >> 24) & 0xFF)};
}

// One record as the file stores it; sum collects what the checksum adds.
std::string Record(const std::string& name, uint32_t score, uint32_t packed, uint32_t& sum)
{
    sum += uint32_t(name.size()) + score + packed;
    return Word(uint32_t(name.size())) + name + Word(score) + Word(packed);
}

class ScoresFileTest : public ::testing::Test {
protected:
    std::string PathOf(const std::string& name) const { return (m_dir.Path() / name).string(); }
    std::string ScoresPath() const { return PathOf("Scores.sfs"); }

    // Loads bytes written as "Scores.sfs" into a table that starts out filled, so a bad
    // file visibly empties it.
    int LoadBytes(const std::string& bytes)
    {
        m_dir.Write("Scores.sfs", bytes);
        m_table.InsertEntry(SFHighScore(1, 1, 1, "stale"), false);
        SFHighScore scratch;
        m_table.LoadFile(ScoresPath(), scratch);
        return m_table.Count();
    }

    // A well-formed file of two entries.
    static std::string TwoEntries()
    {
        uint32_t sum = 0;
        std::string bytes = Record("Zed", 500, (1u << 30) | 9, sum);
        bytes += Record("Amy", 70, (3u << 30) | 2, sum);
        return bytes + Word(sum);
    }

    TempDir m_dir;
    PXHighScoreTable m_table;
};

TEST_F(ScoresFileTest, OneEntryFileHasExactBytes)
{
    m_table.InsertEntry(SFHighScore(100, 3, 2, "AB"), false);
    ASSERT_EQ(m_table.SaveFile(ScoresPath()), 1);
    const std::string expected("\x02\x00\x00\x00"
                               "AB"
                               "\x64\x00\x00\x00"
                               "\x03\x00\x00\x80"
                               "\x69\x00\x00\x80",
                               18);
    EXPECT_EQ(m_dir.Read("Scores.sfs"), expected);
    EXPECT_FALSE(std::filesystem::exists(ScoresPath() + ".tmp"));
}

TEST_F(ScoresFileTest, EmptyTableIsJustAZeroChecksum)
{
    ASSERT_EQ(m_table.SaveFile(ScoresPath()), 1);
    EXPECT_EQ(m_dir.Read("Scores.sfs"), std::string(4, '\0'));
    EXPECT_EQ(LoadBytes(std::string(4, '\0')), 0);
}

TEST_F(ScoresFileTest, RoundTripKeepsEveryField)
{
    SFHighScore entries[] = {
        SFHighScore(0xFFFFFFFFu, SFHighScore::LevelMask, 3, std::string(255, 'n')),
        SFHighScore(1000, 17, 1, "Bea"),
        SFHighScore(1000, 4, 2, "Cal"),
        SFHighScore(0, 0, 0, "Z"),
    };
    for (const SFHighScore& e : entries)
        m_table.InsertEntry(e, false);
    ASSERT_EQ(m_table.SaveFile(ScoresPath()), 1);

    PXHighScoreTable loaded;
    SFHighScore scratch;
    loaded.LoadFile(ScoresPath(), scratch);
    ASSERT_EQ(loaded.Count(), 4);
    for (int i = 0; i < 4; ++i) {
        auto* got = static_cast<SFHighScore*>(loaded.EntryAt(i));
        SCOPED_TRACE(i);
        EXPECT_EQ(got->name, entries[i].name);
        EXPECT_EQ(got->score, entries[i].score);
        EXPECT_EQ(got->level, entries[i].level);
        EXPECT_EQ(got->mode, entries[i].mode);
        EXPECT_EQ(got->isNew, 0);
    }
}

TEST_F(ScoresFileTest, NamesThatCouldNotBeReadBackAreStoredReadably)
{
    // An empty name would end the file early and a 300-byte one would be refused; either
    // would lose every other entry on the next start.
    m_table.InsertEntry(SFHighScore(30, 1, 1, ""), false);
    m_table.InsertEntry(SFHighScore(20, 1, 1, std::string(300, 'x')), false);
    m_table.InsertEntry(SFHighScore(10, 1, 1, "Kim"), false);
    ASSERT_EQ(m_table.SaveFile(ScoresPath()), 1);

    PXHighScoreTable loaded;
    SFHighScore scratch;
    loaded.LoadFile(ScoresPath(), scratch);
    ASSERT_EQ(loaded.Count(), 3);
    EXPECT_EQ(loaded.EntryAt(0)->name, "QMS");
    EXPECT_EQ(loaded.EntryAt(1)->name, std::string(255, 'x'));
    EXPECT_EQ(loaded.EntryAt(2)->name, "Kim");
}

TEST_F(ScoresFileTest, LevelBeyondThirtyBitsCannotChangeTheMode)
{
    m_table.InsertEntry(SFHighScore(5, 0xC0000001u, 1, "Lu"), false);
    ASSERT_EQ(m_table.SaveFile(ScoresPath()), 1);
    const std::string bytes = m_dir.Read("Scores.sfs");
    ASSERT_EQ(bytes.size(), 18u);
    EXPECT_EQ(bytes.substr(10, 4), Word((1u << 30) | 1));
}

TEST_F(ScoresFileTest, LoadSortsRecordsAndKeepsTheTenBest)
{
    uint32_t sum = 0;
    std::string bytes;
    for (uint32_t s = 1; s <= 12; ++s)
        bytes += Record("p" + std::to_string(s), s * 10, s, sum);
    bytes += Word(sum);
    ASSERT_EQ(LoadBytes(bytes), 10);
    EXPECT_EQ(m_table.EntryAt(0)->score, 120u);
    EXPECT_EQ(m_table.EntryAt(9)->score, 30u);
    EXPECT_EQ(m_table.IndexOfNew(), -1);
}

TEST_F(ScoresFileTest, NameEndsAtAZeroByteButTheChecksumCountsTheStoredLength)
{
    uint32_t sum = 0;
    std::string bytes = Record(std::string("Al\0xx", 5), 9, 1, sum);
    bytes += Word(sum);
    ASSERT_EQ(LoadBytes(bytes), 1);
    EXPECT_EQ(m_table.EntryAt(0)->name, "Al");
}

TEST_F(ScoresFileTest, LongestNameIsAccepted)
{
    uint32_t sum = 0;
    std::string bytes = Record(std::string(255, 'q'), 9, 1, sum);
    bytes += Word(sum);
    ASSERT_EQ(LoadBytes(bytes), 1);
    EXPECT_EQ(m_table.EntryAt(0)->name.size(), 255u);
}

TEST_F(ScoresFileTest, EveryTruncationEmptiesTheTable)
{
    const std::string good = TwoEntries();
    ASSERT_EQ(LoadBytes(good), 2);
    // Length 0 is an empty file, which is an empty table anyway.
    for (size_t cut = 1; cut < good.size(); ++cut) {
        SCOPED_TRACE(cut);
        EXPECT_EQ(LoadBytes(good.substr(0, cut)), 0);
    }
}

TEST_F(ScoresFileTest, ChangingAnyScoreOrLevelByteEmptiesTheTable)
{
    const std::string good = TwoEntries();
    // First record: score at 7..10, packed at 11..14; second: score at 22..25, packed 26..29.
    for (size_t at : {7u, 8u, 10u, 11u, 14u, 22u, 25u, 26u, 29u}) {
        for (int delta : {1, 0x80}) {
            std::string bad = good;
            bad[at] = char(bad[at] + delta);
            SCOPED_TRACE(testing::Message() << "byte " << at << " delta " << delta);
            EXPECT_EQ(LoadBytes(bad), 0);
        }
    }
}

struct BadFileCase {
    const char* label;
    std::string bytes;
};

class BadScoresFileTest : public ScoresFileTest, public ::testing::WithParamInterface<BadFileCase> {};

TEST_P(BadScoresFileTest, LeavesTheTableEmpty)
{
    EXPECT_EQ(LoadBytes(GetParam().bytes), 0);
}

std::string WithChecksum(const std::string& records, uint32_t checksum)
{
    return records + Word(checksum);
}

INSTANTIATE_TEST_SUITE_P(
    Refused, BadScoresFileTest,
    ::testing::Values(
        BadFileCase{"WrongChecksum", WithChecksum(Word(2) + "AB" + Word(100) + Word(3), 106)},
        BadFileCase{"ChecksumOfZeroAfterRecords", WithChecksum(Word(2) + "AB" + Word(0) + Word(0), 0)},
        // 256 and more: refused without reading; the remaining bytes would pass as a name.
        BadFileCase{"NameLength256", Word(256) + std::string(256, 'a') + Word(0) + Word(0) + Word(256)},
        BadFileCase{"AbsurdNameLength", Word(0xFFFFFFFFu) + std::string(16, 'a')},
        BadFileCase{"EmptyNameRecordMidFile", Word(2) + "AB" + Word(1) + Word(1) + Word(0) + Word(2) + "CD" +
                                                  Word(1) + Word(1) + Word(8)},
        BadFileCase{"BytesAfterTheChecksum",
                    WithChecksum(Word(2) + "AB" + Word(100) + Word(3), 105) + "junk"},
        BadFileCase{"ShortChecksum", Word(2) + "AB" + Word(100) + Word(3) + std::string("\x6b\x00", 2)},
        BadFileCase{"Garbage", std::string("not a score file at all")}),
    [](const ::testing::TestParamInfo<BadFileCase>& info) { return std::string(info.param.label); });

TEST_F(ScoresFileTest, MissingDirectoryOrEmptyPathGivesAnEmptyTable)
{
    SFHighScore scratch;
    const std::string directory = PathOf("Scores.sfs");
    std::filesystem::create_directory(directory);
    for (const std::string& path : {PathOf("absent.sfs"), directory, std::string()}) {
        SCOPED_TRACE(path);
        m_table.InsertEntry(SFHighScore(1, 1, 1, "stale"), false);
        m_table.LoadFile(path, scratch);
        EXPECT_EQ(m_table.Count(), 0);
    }
}

class AtomicSaveTest : public ScoresFileTest {
protected:
    void SetUp() override
    {
        m_old = TwoEntries();
        m_dir.Write("Scores.sfs", m_old);
        m_table.InsertEntry(SFHighScore(42, 1, 1, "Newer"), false);
    }
    std::string m_old;
};

TEST_F(AtomicSaveTest, ReplacesTheOldFileAndLeavesNoTemporary)
{
    ASSERT_EQ(m_table.SaveFile(ScoresPath()), 1);
    PXHighScoreTable loaded;
    SFHighScore scratch;
    loaded.LoadFile(ScoresPath(), scratch);
    ASSERT_EQ(loaded.Count(), 1);
    EXPECT_EQ(loaded.EntryAt(0)->name, "Newer");
    EXPECT_FALSE(std::filesystem::exists(ScoresPath() + ".tmp"));
}

TEST_F(AtomicSaveTest, TemporaryThatCannotBeCreatedLeavesTheOldFile)
{
    std::filesystem::create_directory(ScoresPath() + ".tmp");
    EXPECT_EQ(m_table.SaveFile(ScoresPath()), 0);
    EXPECT_EQ(m_dir.Read("Scores.sfs"), m_old);
}

TEST_F(AtomicSaveTest, FullDiskLeavesTheOldFile)
{
    if (!std::filesystem::exists("/dev/full"))
        GTEST_SKIP() << "no /dev/full on this host";
    // Every write into the temporary fails with "no space left".
    std::filesystem::create_symlink("/dev/full", ScoresPath() + ".tmp");
    EXPECT_EQ(m_table.SaveFile(ScoresPath()), 0);
    EXPECT_EQ(m_dir.Read("Scores.sfs"), m_old);
    EXPECT_FALSE(std::filesystem::is_symlink(ScoresPath() + ".tmp"));
}

TEST_F(AtomicSaveTest, FailedRenameKeepsWhatIsThereAndRemovesTheTemporary)
{
    // A directory with contents in the file's place cannot be replaced by a rename.
    const std::string target = PathOf("Blocked.sfs");
    m_dir.Write("Blocked.sfs/keep", "kept");
    EXPECT_EQ(m_table.SaveFile(target), 0);
    EXPECT_EQ(m_dir.Read("Blocked.sfs/keep"), "kept");
    EXPECT_FALSE(std::filesystem::exists(target + ".tmp"));
}

TEST_F(AtomicSaveTest, MissingFolderSavesNothing)
{
    EXPECT_EQ(m_table.SaveFile(PathOf("no/such/Scores.sfs")), 0);
    EXPECT_EQ(m_table.SaveFile(std::string()), 0);
    EXPECT_EQ(m_dir.Read("Scores.sfs"), m_old);
}

// Two copies of the game running at once: each saves after merging with the file, so
// neither overwrites the other's new entry.
TEST_F(ScoresFileTest, TwoRunningCopiesKeepEachOthersEntries)
{
    m_dir.Write("Scores.sfs", TwoEntries());
    SFHighScore scratch;
    PXHighScoreTable first;
    PXHighScoreTable second;
    first.LoadFile(ScoresPath(), scratch);
    second.LoadFile(ScoresPath(), scratch);
    first.InsertEntry(SFHighScore(300, 4, 2, "First"), true);
    second.InsertEntry(SFHighScore(200, 3, 1, "Second"), true);

    for (PXHighScoreTable* view : {&first, &second}) {
        view->MergeFile(ScoresPath(), scratch);
        ASSERT_EQ(view->SaveFile(ScoresPath()), 1);
    }
    // The later saver also holds the earlier one's entry and still marks its own.
    EXPECT_EQ(second.IndexOfNew(), 2);
    m_table.LoadFile(ScoresPath(), scratch);
    std::vector<std::string> names;
    for (const PXHighScore* e = m_table.First(); e; e = e->nextEntry.get())
        names.push_back(e->name);
    EXPECT_EQ(names, (std::vector<std::string>{"Zed", "First", "Second", "Amy"}));
}

TEST_F(ScoresFileTest, MergeMatchesEqualResultsOneForOne)
{
    // The file holds one result twice and one that differs from ours only in its level.
    uint32_t sum = 0;
    std::string bytes = Record("Amy", 70, (3u << 30) | 2, sum);
    bytes += Record("Amy", 70, (3u << 30) | 2, sum);
    bytes += Record("Amy", 70, (3u << 30) | 5, sum);
    m_dir.Write("Scores.sfs", bytes + Word(sum));
    m_table.InsertEntry(SFHighScore(70, 2, 3, "Amy"), false);
    SFHighScore scratch;

    EXPECT_EQ(m_table.MergeFile(ScoresPath(), scratch), 2);
    EXPECT_EQ(m_table.Count(), 3);
    EXPECT_EQ(m_table.MergeFile(ScoresPath(), scratch), 0);
    EXPECT_EQ(m_table.MergeFile(PathOf("absent.sfs"), scratch), 0);
    EXPECT_EQ(m_table.Count(), 3);
}

TEST(HighScoreStream, SaveAndLoadOverABufferMatchTheFile)
{
    PXHighScoreTable table;
    table.InsertEntry(SFHighScore(100, 3, 2, "AB"), false);
    PXBuffer buffer;
    ASSERT_EQ(table.SaveStream(buffer), 1);
    const uint32_t size = buffer.Tell();
    ASSERT_EQ(size, 18u);

    PXBuffer exact;
    exact.Allocate(size, 0);
    std::memcpy(exact.GetData(), buffer.GetData(), size);
    PXHighScoreTable loaded;
    SFHighScore scratch;
    loaded.LoadStream(exact, scratch);
    ASSERT_EQ(loaded.Count(), 1);
    EXPECT_EQ(static_cast<SFHighScore*>(loaded.First())->level, 3u);
}

TEST(HighScoreBase, BaseEntryHasNoRecordOrText)
{
    PXHighScore base(5, "x");
    PXBuffer buffer;
    uint32_t sum = 7;
    uint32_t length = 9;
    EXPECT_TRUE(base.WriteRecord(buffer, sum));
    EXPECT_EQ(buffer.Tell(), 0u);
    EXPECT_EQ(sum, 7u);
    EXPECT_FALSE(base.ReadRecord(buffer, sum, length));
    EXPECT_EQ(base.ToText(0), "");
    EXPECT_FALSE(base.FromText(std::string(80, '1')));
    std::unique_ptr<PXHighScore> copy = base.Clone();
    EXPECT_EQ(copy->score, 5u);
    EXPECT_EQ(copy->name, "x");
}

}  // namespace
