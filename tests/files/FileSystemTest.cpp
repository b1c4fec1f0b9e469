// The host-folder manager and the file system: mode strings, names without case,
// listings, Close results, mount order and shadowing.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "engine/files/PXArchiveManager.h"
#include "engine/files/PXArchiveWriter.h"
#include "engine/files/PXBuffer.h"
#include "engine/files/PXFileLE.h"
#include "engine/files/PXFileSystem.h"
#include "tests/files/ArchiveBytes.h"
#include "tests/support/HostFileManager.h"
#include "tests/support/TempDir.h"

namespace {

std::string ReadAll(PXFile* stream)
{
    std::string text(stream->GetSize(), '\0');
    stream->Seek(0, 0);
    text.resize(stream->ReadBytes(static_cast<uint32_t>(text.size()), text.data()));
    return text;
}

// An archive image holding `members` (name, contents) in the given order.
std::string ArchiveOf(const std::vector<std::pair<std::string, std::string>>& members)
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
    return ArchiveBytes(entries, data);
}

class HostManagerTest : public ::testing::Test {
protected:
    HostManagerTest() { host.SetRoot(dir.Folder()); }

    TempDir dir;
    HostFileManager host;
};

TEST(HostModeTest, ModeBitsBuildTheModeString)
{
    struct Case {
        uint32_t mode;
        const char* text;
    };
    const Case cases[] = {
        {1, "r"},  {5, "rb"}, {2, "w"},    {6, "wb"}, {3, "r+"}, {7, "r+b"},
        {8, "a+"}, {9, "a+"}, {12, "a+b"}, {4, ""},   {0, ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(HostFileManager::ModeString(c.mode), c.text) << "mode " << c.mode;
}

TEST_F(HostManagerTest, OpensUnderTheRootAndWritesThrough)
{
    EXPECT_EQ(host.Open("", 5), nullptr);
    EXPECT_EQ(host.Open("missing.txt", 5), nullptr);
    EXPECT_EQ(host.Open("new.txt", 4), nullptr);  // neither read nor write
    dir.Write("folder/x", "");
    EXPECT_EQ(host.Open("folder", 1), nullptr);

    PXFile* out = host.Open("new.txt", FileModeWrite | FileModeBinary);
    ASSERT_NE(out, nullptr);
    out->WriteString("abc");
    EXPECT_EQ(host.Close(out), 1);
    EXPECT_EQ(dir.Read("new.txt"), std::string("\x03\0\0\0abc", 7));

    PXFile* append = host.Open("new.txt", FileModeAppend);
    ASSERT_NE(append, nullptr);
    append->WriteUInt8('!');
    EXPECT_EQ(host.Close(append), 1);
    EXPECT_EQ(dir.Read("new.txt"), std::string("\x03\0\0\0abc!", 8));

    PXFile* in = host.Open("new.txt", FileModeRead);
    ASSERT_NE(dynamic_cast<PXFileLE*>(in), nullptr);
    EXPECT_EQ(in->ReadString(), "abc");
    EXPECT_EQ(host.Close(in), 1);
}

TEST_F(HostManagerTest, NamesResolveWithoutCaseAndWithBackslashes)
{
    dir.Write("Shardfall/Sounds/SFSong.wav", "song");
    dir.Write("Shardfall/Images/tri.img", "img");
    const char* names[] = {"Shardfall/Sounds/SFSong.wav", "shardfall/sounds/SFSong.wav",
                           "SHARDFALL\\SOUNDS\\sfsong.WAV", "shardfall/images/TRI.IMG"};
    for (const char* name : names) {
        PXFile* stream = host.Open(name, 5);
        ASSERT_NE(stream, nullptr) << name;
        EXPECT_FALSE(ReadAll(stream).empty());
        EXPECT_EQ(host.Close(stream), 1);
    }
    EXPECT_EQ(host.Open("shardfall/sounds/other.wav", 5), nullptr);

    // A new file in an existing folder spelled another way lands in that folder.
    PXFile* out = host.Open("SHARDFALL/sounds/new.bin", 6);
    ASSERT_NE(out, nullptr);
    host.Close(out);
    EXPECT_EQ(dir.Read("Shardfall/Sounds/new.bin"), "");
    EXPECT_TRUE(std::filesystem::exists(dir.Path() / "Shardfall/Sounds/new.bin"));
}

TEST_F(HostManagerTest, CloseAnswersTwoForStreamsItDidNotOpen)
{
    dir.Write("a.txt", "a");
    PXFileLE stranger(nullptr);
    PXBuffer buffer;
    EXPECT_EQ(host.Close(nullptr), 2);
    EXPECT_EQ(host.Close(&stranger), 2);
    EXPECT_EQ(host.Close(&buffer), 2);
    PXFile* stream = host.Open("a.txt", 1);
    EXPECT_EQ(host.Close(stream), 1);
    EXPECT_EQ(host.Close(stream), 2);
}

TEST_F(HostManagerTest, StreamsStillOpenAreClosedWithTheManager)
{
    {
        HostFileManager manager;
        manager.SetRoot(dir.Folder());
        PXFile* out = manager.Open("left.txt", 2);
        ASSERT_NE(out, nullptr);
        out->WriteBytes(5, "hello");
    }
    // Closing flushed the buffered bytes.
    EXPECT_EQ(dir.Read("left.txt"), "hello");
}

TEST_F(HostManagerTest, ListFilesFollowsPatternAndRecursion)
{
    dir.Write("b.ent", "");
    dir.Write("A.ENT", "");
    dir.Write("c.img", "");
    dir.Write("Scenes/menu.ent", "");
    dir.Write("Scenes/Deep/play.ent", "");
    dir.Write("Scenes/notes.txt", "");
    struct Case {
        const char* pattern;
        const char* prefix;
        bool recursive;
        std::vector<std::string> names;
    };
    const Case cases[] = {
        {"*.ent", "", false, {"A.ENT", "b.ent"}},
        {"*.*", "", false, {"A.ENT", "b.ent", "c.img", "Scenes"}},
        {"scenes/*.ent", "scenes/", false, {"scenes/menu.ent"}},
        // Sub-folders first, depth first, then the folder's own entries.
        {"*.ent", "", true, {HostListedName("Scenes/Deep/play.ent"), HostListedName("Scenes/menu.ent"), "A.ENT", "b.ent"}},
        {"Scenes/*.ent", "x/", true, {"x/" + HostListedName("Deep/play.ent"), "x/menu.ent"}},
        {"*.wav", "", true, {}},
        {"nowhere/*.ent", "", false, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pattern);
        std::vector<std::string> out;
        host.ListFiles(c.pattern, c.prefix, c.recursive, out);
        EXPECT_EQ(out, c.names);
    }
}

TEST_F(HostManagerTest, RecursiveListingDoesNotFollowFolderLinks)
{
    dir.Write("Scenes/menu.ent", "");
    std::error_code ec;
    std::filesystem::create_directory_symlink(dir.Path(), dir.Path() / "Scenes" / "loop", ec);
    // Windows hosts may refuse links to unprivileged users (and Wine makes none).
    if (ec)
        GTEST_SKIP() << "no folder link here: " << ec.message();
    std::vector<std::string> out;
    host.ListFiles("*.ent", "", true, out);
    EXPECT_EQ(out, (std::vector<std::string>{HostListedName("Scenes/menu.ent")}));
}

TEST_F(HostManagerTest, ListDirectoriesNamesOnlyFolders)
{
    dir.Write("Music/Extra/x.xm", "");
    dir.Write("Music/a.mod", "");
    dir.Write("Music/Sfx/b.wav", "");
    std::vector<std::string> out;
    EXPECT_EQ(host.ListDirectories(dir.Folder() + "Music", out), 1);
    EXPECT_EQ(out, (std::vector<std::string>{"Extra", "Sfx"}));
    out.clear();
    EXPECT_EQ(host.ListDirectories(dir.Folder() + "absent", out), 1);
    EXPECT_TRUE(out.empty());
}

class FileSystemTest : public ::testing::Test {
protected:
    // Mounts the folder first and every "*.pxa" in it after it, as the game starts.
    void MountAsGame()
    {
        auto host = MakeHostFileManager();
        ASSERT_EQ(fs.AddManager(std::move(host), dir.Folder()), 1);
        std::vector<std::string> archives;
        fs.ListFiles("*.pxa", "", false, archives);
        for (const std::string& name : archives)
            ASSERT_EQ(fs.AddManager(std::make_unique<PXArchiveManager>(&fs, name), ""), 1);
    }

    TempDir dir;
    PXFileSystem fs;
};

TEST_F(FileSystemTest, LooseFilesShadowArchivesAndEarlierArchivesShadowLater)
{
    dir.Write("Shardfall/Data/a.ent", "loose");
    dir.Write("1.pxa", ArchiveOf({{"Shardfall\\Data\\a.ent", "packed1"}, {"Shardfall\\Data\\b.ent", "b1"}}));
    dir.Write("2.pxa", ArchiveOf({{"shardfall/data/b.ent", "b2"}, {"shardfall/data/c.ent", "c2"}}));
    MountAsGame();

    PXFile* a = fs.Open("shardfall/data/a.ent", 1);
    ASSERT_NE(dynamic_cast<PXFileLE*>(a), nullptr);
    EXPECT_EQ(ReadAll(a), "loose");
    PXFile* b = fs.Open("Shardfall/Data/b.ent", 5);
    ASSERT_NE(dynamic_cast<PXBuffer*>(b), nullptr);
    EXPECT_EQ(ReadAll(b), "b1");
    PXFile* c = fs.Open("SHARDFALL\\DATA\\C.ENT", 5);
    ASSERT_NE(c, nullptr);
    EXPECT_EQ(ReadAll(c), "c2");
    EXPECT_EQ(fs.Open("shardfall/data/d.ent", 5), nullptr);

    // Each stream goes back to the manager that made it.
    EXPECT_EQ(fs.Close(a), 1);
    EXPECT_EQ(fs.Close(b), 1);
    EXPECT_EQ(fs.Close(c), 1);
    EXPECT_EQ(fs.Close(c), 2);
    PXBuffer stranger;
    EXPECT_EQ(fs.Close(&stranger), 2);
}

TEST_F(FileSystemTest, ListFilesGathersEveryManagerInMountOrder)
{
    dir.Write("loose.ent", "");
    dir.Write("Scenes/menu.ent", "");
    dir.Write("a.pxa", ArchiveOf({{"Scenes\\menu.ent", "x"}, {"packed.ent", "y"}, {"pic.img", "z"}}));
    MountAsGame();
    std::vector<std::string> out;
    EXPECT_EQ(fs.ListFiles("*.ent", "", true, out), 0);
    EXPECT_EQ(out,
              (std::vector<std::string>{HostListedName("Scenes/menu.ent"), "loose.ent", "Scenes\\menu.ent", "packed.ent"}));
    out.clear();
    EXPECT_EQ(fs.ListDirectories(dir.Folder() + "Scenes", out), 0);
    EXPECT_TRUE(out.empty());
    EXPECT_EQ(fs.ListDirectories(dir.Path().string(), out), 0);
    EXPECT_EQ(out, (std::vector<std::string>{"Scenes"}));
}

TEST_F(FileSystemTest, BrokenArchiveIsMountedButAnswersNothing)
{
    dir.Write("bad.pxa", "PXA0 but wrong");
    MountAsGame();
    EXPECT_EQ(fs.Open("anything", 5), nullptr);
    PXBuffer buffer;
    EXPECT_EQ(fs.Close(&buffer), 2);
}

TEST_F(FileSystemTest, EmptyFileSystemFindsNothing)
{
    EXPECT_EQ(fs.AddManager(nullptr, "x"), 0);
    EXPECT_EQ(fs.Open("a", 1), nullptr);
    EXPECT_EQ(fs.Close(nullptr), 2);
    std::vector<std::string> out;
    fs.ListFiles("*.*", "", true, out);
    EXPECT_TRUE(out.empty());
}

TEST_F(FileSystemTest, AddManagerSetsTheRoot)
{
    dir.Write("data/x.txt", "x");
    auto host = MakeHostFileManager();
    PXFileManager* mounted = host.get();
    ASSERT_EQ(fs.AddManager(std::move(host), dir.Folder() + "data/"), 1);
    EXPECT_EQ(mounted->GetRoot(), dir.Folder() + "data/");
    PXFile* x = fs.Open("x.txt", 1);
    ASSERT_NE(x, nullptr);
    EXPECT_EQ(ReadAll(x), "x");
    EXPECT_EQ(fs.Close(x), 1);
}

}  // namespace
