// PXWin32FileManager on a temporary folder: modes, shared opens, foreign streams, and
// listings (recursive ones name sub-folder entries "folder\name", sorted without case).
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/files/PXFile.h"
#include "engine/files/PXFileSystem.h"
#include "platform/win32/PXWin32FileManager.h"
#include "tests/support/TempDir.h"

namespace {

class Win32FileManagerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_FALSE(dir.Path().empty());
        manager.SetRoot(dir.Folder());
    }
    TempDir dir;
    PXWin32FileManager manager;
};

TEST_F(Win32FileManagerTest, ModeStrings)
{
    struct Case {
        uint32_t mode;
        const char* text;
    };
    const Case cases[] = {{1, "r"}, {5, "rb"}, {2, "w"}, {6, "wb"}, {3, "r+"}, {8, "a+"}, {9, "a+"}, {12, "a+b"}, {0, ""}, {4, ""}};
    for (const Case& c : cases)
        EXPECT_EQ(PXWin32FileManager::ModeString(c.mode), c.text) << c.mode;
}

TEST_F(Win32FileManagerTest, OpensWithoutCaseAndClosesOnlyItsOwn)
{
    dir.Write("Data/Sounds/Song.wav", "RIFF");
    PXFile* file = manager.Open("data\\SOUNDS/song.WAV", 5);
    ASSERT_NE(file, nullptr);
    EXPECT_EQ(file->GetSize(), 4u);
    EXPECT_EQ(manager.Open("Data", 5), nullptr) << "a folder is not a file";
    EXPECT_EQ(manager.Open("", 5), nullptr);
    EXPECT_EQ(manager.Open("missing.bin", 5), nullptr);

    PXWin32FileManager other;
    EXPECT_EQ(other.Close(file), 2);
    EXPECT_EQ(manager.Close(nullptr), 2);
    EXPECT_EQ(manager.Close(file), 1);
    EXPECT_EQ(manager.Close(file), 2) << "a closed stream is no longer ours";
}

TEST_F(Win32FileManagerTest, FilesStayOpenToOthers)
{
    PXFile* writer = manager.Open("log.txt", 8);
    ASSERT_NE(writer, nullptr);
    writer->WriteUInt32(0x64636261);
    // Another open for writing, as a second program would, succeeds meanwhile.
    PXFile* second = manager.Open("log.txt", 6);
    EXPECT_NE(second, nullptr);
    if (second)
        manager.Close(second);
    EXPECT_EQ(manager.Close(writer), 1);
}

TEST_F(Win32FileManagerTest, ListsFilesAndFolders)
{
    dir.Write("b.pxa", "x");
    dir.Write("A.pxa", "x");
    dir.Write("c.txt", "x");
    dir.Write("Sub/z.pxa", "x");
    dir.Write("Sub/Deeper/y.pxa", "x");

    std::vector<std::string> flat;
    manager.ListFiles("*.pxa", "", false, flat);
    EXPECT_EQ(flat, (std::vector<std::string>{"A.pxa", "b.pxa"}));

    std::vector<std::string> deep;
    manager.ListFiles("*.pxa", "", true, deep);
    EXPECT_EQ(deep, (std::vector<std::string>{"Sub\\Deeper\\y.pxa", "Sub\\z.pxa", "A.pxa", "b.pxa"}));

    std::vector<std::string> folders;
    EXPECT_EQ(manager.ListDirectories(dir.Path().string() + "/Sub", folders), 1);
    EXPECT_EQ(folders, std::vector<std::string>{"Deeper"});
    std::vector<std::string> none;
    manager.ListFiles("*.none", "", true, none);
    EXPECT_TRUE(none.empty());
}

TEST_F(Win32FileManagerTest, ServesTheFileSystemWithoutCase)
{
    dir.Write("config.cfg", "ShowFPS 1\n");
    PXFileSystem files;
    auto owned = std::make_unique<PXWin32FileManager>();
    ASSERT_EQ(files.AddManager(std::move(owned), dir.Folder()), 1);
    PXFile* file = files.Open("CONFIG.CFG", 1);
    ASSERT_NE(file, nullptr);
    EXPECT_EQ(files.Close(file), 1);
}

}  // namespace
