// PXArchiveManager and PXArchiveWriter: lookup by case and slash, duplicates, listing,
// Close results, and archives whose directory or members do not fit the file.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "engine/files/PXArchiveManager.h"
#include "engine/files/PXArchiveWriter.h"
#include "engine/files/PXBuffer.h"
#include "tests/files/ArchiveBytes.h"
#include "tests/support/HostFileManager.h"
#include "tests/support/TempDir.h"

namespace {

std::string Contents(PXFile* stream)
{
    auto* buffer = dynamic_cast<PXBuffer*>(stream);
    if (!buffer)
        return "<not a buffer>";
    return std::string(reinterpret_cast<const char*>(buffer->GetData()), buffer->GetSize());
}

class ArchiveTest : public ::testing::Test {
protected:
    ArchiveTest() { host.SetRoot(dir.Folder()); }

    // Writes the image to "test.pxa" and mounts it through the host manager.
    std::unique_ptr<PXArchiveManager> Mount(const std::string& bytes)
    {
        dir.Write("test.pxa", bytes);
        return std::make_unique<PXArchiveManager>(&host, "test.pxa");
    }

    // An archive with the given members, laid out as the writer lays them.
    std::unique_ptr<PXArchiveManager>
    MountMembers(const std::vector<std::pair<std::string, std::string>>& members)
    {
        std::vector<ArchiveEntryBytes> entries;
        for (const auto& member : members)
            entries.push_back({member.first, 0, static_cast<uint32_t>(member.second.size())});
        uint32_t offset = ArchiveDataStart(entries);
        std::string data;
        for (size_t i = 0; i < members.size(); ++i) {
            entries[i].offset = offset;
            offset += entries[i].size;
            data += members[i].second;
        }
        return Mount(ArchiveBytes(entries, data));
    }

    TempDir dir;
    HostFileManager host;
};

TEST_F(ArchiveTest, NameComparisonFoldsCaseAndSlashes)
{
    EXPECT_EQ(PXArchiveCompareNames("Shardfall\\Images\\Tri_Blue.img", "shardfall/images/tri_blue.img"), 0);
    EXPECT_LT(PXArchiveCompareNames("a/b", "a/c"), 0);
    EXPECT_LT(PXArchiveCompareNames("abc", "abcd"), 0);
    EXPECT_GT(PXArchiveCompareNames("B", "a"), 0);
    EXPECT_NE(PXArchiveCompareNames("a_b", "a/b"), 0);
}

TEST_F(ArchiveTest, MemberIsFoundByCaseAndSlashInsensitiveName)
{
    auto archive = MountMembers({{"Shardfall\\Images\\Tri_Blue.img", "BLUEBYTES"}, {"other.txt", "o"}});
    ASSERT_TRUE(archive->IsLoaded());
    for (const char* name : {"shardfall/images/tri_blue.img", "SHARDFALL\\IMAGES/TRI_BLUE.IMG"}) {
        SCOPED_TRACE(name);
        PXFile* member = archive->Open(name, FileModeRead | FileModeBinary);
        ASSERT_NE(member, nullptr);
        EXPECT_EQ(Contents(member), "BLUEBYTES");
        EXPECT_EQ(member->Tell(), 0u);
        EXPECT_EQ(archive->Close(member), 1);
    }
    EXPECT_EQ(archive->Open("shardfall/images/tri_blue", 5), nullptr);
    EXPECT_EQ(archive->Open("", 5), nullptr);
}

TEST_F(ArchiveTest, DuplicateNamesKeepTheFirstEntry)
{
    auto archive = MountMembers({{"Data/Song.wav", "first"}, {"data/song.WAV", "second"}});
    ASSERT_TRUE(archive->IsLoaded());
    for (const char* name : {"Data/Song.wav", "data/song.WAV"}) {
        PXFile* member = archive->Open(name, 5);
        EXPECT_EQ(Contents(member), "first");
        archive->Close(member);
    }
}

TEST_F(ArchiveTest, MembersAreWritablePrivateCopies)
{
    auto archive = MountMembers({{"a.bin", "abcd"}});
    PXFile* first = archive->Open("a.bin", FileModeWrite);
    first->WriteUInt8('X');
    PXFile* second = archive->Open("a.bin", FileModeRead);
    EXPECT_EQ(Contents(second), "abcd");
    EXPECT_EQ(archive->Close(first), 1);
    EXPECT_EQ(archive->Close(second), 1);
}

TEST_F(ArchiveTest, EmptyArchiveLoadsAndOpensNothing)
{
    auto archive = Mount(ArchiveBytes({}, ""));
    EXPECT_TRUE(archive->IsLoaded());
    EXPECT_EQ(archive->Open("anything", 5), nullptr);
}

TEST_F(ArchiveTest, ListFilesMatchesTheSuffixInEveryFolder)
{
    auto archive =
        MountMembers({{"Top.ENT", "1"}, {"sub\\deep\\b.ent", "2"}, {"c.img", "3"}, {"d.ent", "4"}});
    struct Case {
        const char* pattern;
        std::vector<std::string> names;
    };
    const Case cases[] = {
        {"*.ent", {"Top.ENT", "sub\\deep\\b.ent", "d.ent"}},
        {"scenes/*.ent", {"Top.ENT", "sub\\deep\\b.ent", "d.ent"}},
        {"*.img", {"c.img"}},
        {"sub/deep/b.ent", {"sub\\deep\\b.ent"}},
        {"*", {"Top.ENT", "sub\\deep\\b.ent", "c.img", "d.ent"}},
        {"*.wav", {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pattern);
        std::vector<std::string> out;
        archive->ListFiles(c.pattern, "ignored/", false, out);
        EXPECT_EQ(out, c.names);
    }
    std::vector<std::string> folders;
    EXPECT_EQ(archive->ListDirectories("sub", folders), 0);
    EXPECT_TRUE(folders.empty());
}

TEST_F(ArchiveTest, CloseAnswersOnlyForItsOwnBuffers)
{
    auto archive = MountMembers({{"a", "1"}});
    PXFile* member = archive->Open("a", 5);
    PXBuffer foreign;
    EXPECT_EQ(archive->Close(&foreign), 2);
    EXPECT_EQ(archive->Close(nullptr), 1);
    EXPECT_EQ(archive->Close(member), 1);
    EXPECT_EQ(archive->Close(member), 2);  // already given back

    auto broken = Mount("not an archive at all");
    EXPECT_FALSE(broken->IsLoaded());
    EXPECT_EQ(broken->Close(&foreign), 0);
    EXPECT_EQ(broken->Close(nullptr), 0);
}

TEST_F(ArchiveTest, MalformedArchivesLoadWhatIsSoundOrNothing)
{
    const std::vector<ArchiveEntryBytes> good = {{"a.txt", 0, 3}, {"b.txt", 0, 2}};
    uint32_t start = ArchiveDataStart(good);
    const std::string whole = ArchiveBytes({{"a.txt", start, 3}, {"b.txt", start + 3, 2}}, "AAABB");

    std::string hugeCount = whole;
    hugeCount[11] = '\xFF', hugeCount[12] = '\xFF', hugeCount[13] = '\xFF', hugeCount[14] = '\x7F';
    std::string hugeName = ArchiveBytes({{"a.txt", start, 3}}, "AAA");
    hugeName[15] = '\xF0', hugeName[16] = '\xFF', hugeName[17] = '\xFF', hugeName[18] = '\xFF';

    struct Case {
        const char* what;
        std::string bytes;
        bool loaded;
        std::vector<std::string> listed;
        std::vector<std::pair<std::string, std::string>> opens;  // name -> contents, "" fails
    };
    const Case cases[] = {
        {"intact", whole, true, {"a.txt", "b.txt"}, {{"a.txt", "AAA"}, {"b.txt", "BB"}}},
        {"wrong magic", ArchiveBytes(good, "AAABB", 0x30415850), false, {}, {{"a.txt", ""}}},
        {"empty file", "", false, {}, {{"a.txt", ""}}},
        {"header cut short", whole.substr(0, 12), false, {}, {{"a.txt", ""}}},
        {"second entry cut short", whole.substr(0, 15 + 17 + 6), true, {"a.txt"}, {{"a.txt", ""}}},
        {"last member cut short",
         whole.substr(0, whole.size() - 1),
         true,
         {"a.txt", "b.txt"},
         {{"a.txt", "AAA"}, {"b.txt", ""}}},
        {"count larger than the file",
         hugeCount,
         true,
         {"a.txt", "b.txt"},
         {{"a.txt", "AAA"}, {"b.txt", "BB"}}},
        {"name length larger than the file", hugeName, true, {}, {{"a.txt", ""}}},
        {"offset past the end",
         ArchiveBytes({{"a.txt", 0xFFFFFFF0u, 3}}, "AAA"),
         true,
         {"a.txt"},
         {{"a.txt", ""}}},
        {"offset + size wraps 32 bits",
         ArchiveBytes({{"a.txt", start, 0xFFFFFFFFu}}, "AAA"),
         true,
         {"a.txt"},
         {{"a.txt", ""}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        auto archive = Mount(c.bytes);
        EXPECT_EQ(archive->IsLoaded(), c.loaded);
        std::vector<std::string> listed;
        archive->ListFiles("*.txt", "", false, listed);
        EXPECT_EQ(listed, c.listed);
        for (const auto& open : c.opens) {
            PXFile* member = archive->Open(open.first, 5);
            if (open.second.empty()) {
                EXPECT_EQ(member, nullptr) << open.first;
            } else {
                EXPECT_EQ(Contents(member), open.second);
                EXPECT_EQ(archive->Close(member), 1);
            }
        }
    }
}

// A host manager that remembers what was given back to it.
class RecordingManager : public HostFileManager {
public:
    PXFile* Open(const std::string& name, uint32_t mode) override
    {
        PXFile* stream = HostFileManager::Open(name, mode);
        opened.push_back(stream);
        return stream;
    }
    int Close(PXFile* stream) override
    {
        int result = HostFileManager::Close(stream);
        closed.push_back({stream, result});
        return result;
    }
    std::vector<PXFile*> opened;
    std::vector<std::pair<PXFile*, int>> closed;
};

TEST_F(ArchiveTest, ArchiveStreamIsGivenBackToItsOpener)
{
    dir.Write("test.pxa", ArchiveBytes({}, ""));
    RecordingManager opener;
    opener.SetRoot(dir.Folder());
    {
        PXArchiveManager archive(&opener, "test.pxa");
        ASSERT_TRUE(archive.IsLoaded());
        ASSERT_EQ(opener.opened.size(), 1u);
        EXPECT_TRUE(opener.closed.empty());
    }
    ASSERT_EQ(opener.closed.size(), 1u);
    EXPECT_EQ(opener.closed[0].first, opener.opened[0]);
    EXPECT_EQ(opener.closed[0].second, 1);

    PXArchiveManager missing(&opener, "absent.pxa");
    EXPECT_FALSE(missing.IsLoaded());
    PXArchiveManager noOpener(static_cast<PXFileManager*>(nullptr), "test.pxa");
    EXPECT_FALSE(noOpener.IsLoaded());
}

TEST_F(ArchiveTest, WriterAndReaderRoundTrip)
{
    std::string binary;
    for (int i = 0; i < 40000; ++i)
        binary.push_back(static_cast<char>(i * 7));
    dir.Write("src/Images/Big.bin", binary);
    dir.Write("src/empty", "");
    dir.Write("src/x.ent", "Class sprite\r\n");
    HostFileManager source;
    source.SetRoot(dir.Folder() + "src/");
    const std::vector<std::string> names = {"Images/Big.bin", "empty", "x.ent"};
    std::vector<std::string> progress;
    uint32_t length = PXArchiveWriter::Write(
        source, names, host, "out.pxa", [&](size_t done, size_t total, const std::string& name) {
            progress.push_back(std::to_string(done) + "/" + std::to_string(total) + " " + name);
        });
    EXPECT_EQ(progress, (std::vector<std::string>{"1/3 Images/Big.bin", "2/3 empty", "3/3 x.ent"}));
    std::string bytes = dir.Read("out.pxa");
    EXPECT_EQ(length, bytes.size());
    EXPECT_EQ(bytes.substr(0, 7), std::string("0AXP\x01\x00\x00", 7));

    PXArchiveManager archive(&host, "out.pxa");
    ASSERT_TRUE(archive.IsLoaded());
    ASSERT_EQ(archive.GetEntries().size(), 3u);
    // The data start field names the end of the directory, where the first member begins.
    EXPECT_EQ(archive.GetEntries()[0].offset,
              ArchiveDataStart({{names[0], 0, 0}, {names[1], 0, 0}, {names[2], 0, 0}}));
    const std::string expected[] = {binary, "", "Class sprite\r\n"};
    for (size_t i = 0; i < names.size(); ++i) {
        PXFile* member = archive.Open(names[i], 5);
        ASSERT_NE(member, nullptr) << names[i];
        EXPECT_EQ(Contents(member), expected[i]);
        archive.Close(member);
    }
}

TEST_F(ArchiveTest, WriterFailsWhenAMemberIsMissing)
{
    HostFileManager source;
    source.SetRoot(dir.Folder());
    PXBuffer out;
    EXPECT_EQ(PXArchiveWriter::Write(source, {"missing.bin"}, out), 0u);
}

}  // namespace
