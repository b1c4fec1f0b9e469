// The file-backed settings store: round trips, key folders, sub-keys, atomic replacement,
// damaged files, and the XDG data folders. Every test points XDG_* and HOME at a TempDir.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "engine/core/PXGlobals.h"
#include "platform/posix/PXPosixSettingsManager.h"
#include "tests/support/FakeSettingsManager.h"
#include "tests/support/TempDir.h"

namespace {

const char* const EnvNames[] = {"XDG_CONFIG_HOME", "XDG_DATA_HOME", "HOME"};
const std::string KeyFolder = "config/Software/Quillmoor/Shardfall/";

class SettingsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        for (int i = 0; i < 3; ++i) {
            const char* value = std::getenv(EnvNames[i]);
            m_saved[i] = value ? value : "";
            m_had[i] = value != nullptr;
        }
        setenv("XDG_CONFIG_HOME", (dir.Path() / "config").c_str(), 1);
        setenv("XDG_DATA_HOME", (dir.Path() / "data").c_str(), 1);
        setenv("HOME", (dir.Path() / "home").c_str(), 1);
        std::filesystem::create_directories(dir.Path() / "log");
        g_settings = &logSink;
    }
    void TearDown() override
    {
        g_settings = nullptr;
        for (int i = 0; i < 3; ++i) {
            if (m_had[i])
                setenv(EnvNames[i], m_saved[i].c_str(), 1);
            else
                unsetenv(EnvNames[i]);
        }
    }
    bool Exists(const std::string& relative) const { return std::filesystem::exists(dir.Path() / relative); }
    bool IsFolder(const std::string& path) const { return std::filesystem::is_directory(path); }
    std::string LogText() const { return dir.Read("log/log.txt"); }

    TempDir dir;
    // The log goes to its own folder so tests can read what the store reported.
    FakeSettingsManager logSink{dir.Folder() + "log/"};
    PXPosixSettingsManager store{"Quillmoor", "Shardfall"};

private:
    std::string m_saved[3];
    bool m_had[3] = {};
};

TEST_F(SettingsTest, ValuesRoundTripThroughTheFile)
{
    const std::vector<std::string> texts = {
        "",
        "Anna Lee",
        "line one\nline two\r\n",
        "tab\tand \\ backslash",
        std::string("\x01\x7f\xff\xc3\xa9", 5),
        std::string(1023, 'x'),
    };
    // Ints and floats round trip in the shared suite (SettingsStoreTest.cpp); here the
    // escaped texts and the file.
    ASSERT_EQ(store.OpenGameKey(), 1);
    EXPECT_EQ(store.SetUInt("Big", 0xFFFFFFFFu), 1);
    for (size_t i = 0; i < texts.size(); ++i)
        EXPECT_EQ(store.SetString("Text\t" + std::to_string(i) + "\n", texts[i]), 1);
    EXPECT_TRUE(Exists(KeyFolder + "values.txt"));
    EXPECT_FALSE(Exists(KeyFolder + "values.txt.tmp"));

    PXPosixSettingsManager again("Quillmoor", "Shardfall");
    ASSERT_EQ(again.OpenGameKey(), 1);
    int32_t i32 = 0;
    uint32_t u32 = 0;
    EXPECT_EQ(again.GetUInt("Big", u32), 1);
    EXPECT_EQ(u32, 0xFFFFFFFFu);
    EXPECT_EQ(again.GetInt("Big", i32), 1);
    EXPECT_EQ(i32, -1) << "all numbers share the same 32 bits";
    for (size_t i = 0; i < texts.size(); ++i) {
        std::string text = "default";
        EXPECT_EQ(again.GetString("Text\t" + std::to_string(i) + "\n", text), 1) << i;
        EXPECT_EQ(text, texts[i]) << i;
    }
    EXPECT_EQ(LogText(), "");
}

TEST_F(SettingsTest, MissingMismatchedAndOverlongValuesLeaveDefaults)
{
    ASSERT_EQ(store.OpenGameKey(), 1);
    ASSERT_EQ(store.SetString("Name", "Bo"), 1);
    ASSERT_EQ(store.SetInt("Swap Controls", 1), 1);
    ASSERT_EQ(store.SetString("Long", std::string(1024, 'y')), 1);
    int32_t number = 77;
    std::string text = "default";
    EXPECT_EQ(store.GetInt("Absent", number), 0);
    EXPECT_EQ(store.GetInt("Name", number), 0);
    EXPECT_EQ(store.GetString("Swap Controls", text), 0);
    EXPECT_EQ(store.GetString("Long", text), 0);
    EXPECT_EQ(store.GetInt("swap controls", number), 0) << "value names are exact";
    EXPECT_EQ(number, 77);
    EXPECT_EQ(text, "default");
}

TEST_F(SettingsTest, EveryOperationClosesTheKey)
{
    ASSERT_EQ(store.OpenGameKey(), 1);
    EXPECT_EQ(store.CloseKey(), 1);
    EXPECT_EQ(store.CloseKey(), 0);
    ASSERT_EQ(store.OpenGameKey(), 1);
    int32_t value = 0;
    EXPECT_EQ(store.SetInt("A", 3), 1);
    EXPECT_EQ(store.CloseKey(), 0);
    // The key path stays, so later operations reopen it on their own.
    EXPECT_EQ(store.GetInt("A", value), 1);
    EXPECT_EQ(value, 3);
}

TEST_F(SettingsTest, UserAndMachineRootsAreSeparateTrees)
{
    ASSERT_EQ(store.OpenGameKey(), 1);
    ASSERT_EQ(store.SetInt("Where", 1), 1);
    EXPECT_EQ(store.UseMachineRoot(), 1);
    ASSERT_EQ(store.OpenGameKey(), 1);
    int32_t value = 0;
    EXPECT_EQ(store.GetInt("Where", value), 0);
    ASSERT_EQ(store.SetInt("Where", 2), 1);
    EXPECT_TRUE(Exists("config/Machine/Software/Quillmoor/Shardfall/values.txt"));
    EXPECT_EQ(store.UseUserRoot(), 1);
    ASSERT_EQ(store.OpenGameKey(), 1);
    EXPECT_EQ(store.GetInt("Where", value), 1);
    EXPECT_EQ(value, 1);
}

TEST_F(SettingsTest, ConfigFolderFallsBackToHome)
{
    for (const char* xdg : {"", "relative/path"}) {
        setenv("XDG_CONFIG_HOME", xdg, 1);
        ASSERT_EQ(store.OpenGameKey(), 1) << xdg;
        ASSERT_EQ(store.SetInt("A", 1), 1);
        EXPECT_TRUE(Exists("home/.config/Software/Quillmoor/Shardfall/values.txt")) << xdg;
    }
    unsetenv("XDG_CONFIG_HOME");
    unsetenv("HOME");
    EXPECT_EQ(store.OpenGameKey(), 0);
    int32_t value = 9;
    EXPECT_EQ(store.SetInt("A", 1), 0);
    EXPECT_EQ(store.GetInt("A", value), 0);
    EXPECT_EQ(value, 9);
}

TEST_F(SettingsTest, SubKeysAreFoldersThatCanBeListedAndDeleted)
{
    ASSERT_EQ(store.OpenGameSubKey("Profiles/Zed"), 1);
    ASSERT_EQ(store.SetInt("Level", 4), 1);
    ASSERT_EQ(store.OpenGameSubKey("Profiles/Amy"), 1);
    ASSERT_EQ(store.OpenGameSubKey("Profiles/Amy/Deep"), 1);
    ASSERT_EQ(store.OpenGameSubKey("Profiles"), 1);
    std::vector<std::string> names = {"kept"};
    EXPECT_EQ(store.ListSubKeys(names), 1);
    EXPECT_EQ(names, (std::vector<std::string>{"kept", "Amy", "Zed"}));

    ASSERT_EQ(store.OpenGameSubKey("Profiles"), 1);
    EXPECT_EQ(store.DeleteSubKey("Amy"), 1);
    for (const char* bad : {"Amy", "", ".", "..", "../Profiles", "Zed/.."})
        EXPECT_EQ(store.DeleteSubKey(bad), 0) << bad;
    EXPECT_FALSE(Exists(KeyFolder + "Profiles/Amy"));
    EXPECT_TRUE(Exists(KeyFolder + "Profiles/Zed/values.txt"));
    EXPECT_TRUE(Exists(KeyFolder + "Profiles"));
}

TEST_F(SettingsTest, KeyPathsCannotLeaveTheirTree)
{
    for (const char* part : {"../Escape", "Shardfall/../../x", "Shardfall//x", "Shardfall/"})
        EXPECT_EQ(store.OpenKey("Quillmoor", part), 0) << part;
    EXPECT_EQ(store.OpenKey("", "Shardfall"), 0);
    EXPECT_FALSE(Exists("config/Software/Escape"));
    EXPECT_FALSE(Exists("config/Software/x"));
}

TEST_F(SettingsTest, LeftoverTemporaryFileIsIgnoredAndReplaced)
{
    ASSERT_EQ(store.OpenGameKey(), 1);
    ASSERT_EQ(store.SetInt("Full Screen", 0), 1);
    // A write that died before its rename leaves a partial temporary file behind.
    dir.Write(KeyFolder + "values.txt.tmp", "PXSettings 1\nu32\tFull Screen\t1");
    int32_t value = 7;
    EXPECT_EQ(store.GetInt("Full Screen", value), 1);
    EXPECT_EQ(value, 0);
    ASSERT_EQ(store.SetInt("Swap Controls", 1), 1);
    EXPECT_FALSE(Exists(KeyFolder + "values.txt.tmp"));
    EXPECT_EQ(store.GetInt("Full Screen", value), 1);
    EXPECT_EQ(value, 0);
    EXPECT_EQ(LogText(), "");
}

TEST_F(SettingsTest, FailedWriteKeepsTheOldValues)
{
    ASSERT_EQ(store.OpenGameKey(), 1);
    ASSERT_EQ(store.SetString("LastHighScoreName", "Old"), 1);
    // The temporary file cannot be created: the write fails and the file stays as it was.
    std::filesystem::create_directories(dir.Path() / (KeyFolder + "values.txt.tmp"));
    std::string before = dir.Read(KeyFolder + "values.txt");
    EXPECT_EQ(store.SetString("LastHighScoreName", "New"), 0);
    EXPECT_EQ(dir.Read(KeyFolder + "values.txt"), before);
    std::string name;
    EXPECT_EQ(store.GetString("LastHighScoreName", name), 1);
    EXPECT_EQ(name, "Old");
}

struct DamagedCase {
    const char* name;
    std::string bytes;
};

class DamagedFileTest : public SettingsTest, public ::testing::WithParamInterface<DamagedCase> {};

TEST_P(DamagedFileTest, ReadsAsNoValuesIsLoggedAndIsRewritten)
{
    dir.Write(KeyFolder + "values.txt", GetParam().bytes);
    ASSERT_EQ(store.OpenGameKey(), 1);
    int32_t fullScreen = 1;
    EXPECT_EQ(store.GetInt("Full Screen", fullScreen), 0);
    EXPECT_EQ(fullScreen, 1);
    std::string path = (dir.Path() / (KeyFolder + "values.txt")).string();
    EXPECT_EQ(LogText(), "Settings file " + path + " is damaged; its values are ignored.\r\n");

    ASSERT_EQ(store.SetInt("Full Screen", 0), 1);
    EXPECT_EQ(store.GetInt("Full Screen", fullScreen), 1);
    EXPECT_EQ(fullScreen, 0);
}

INSTANTIATE_TEST_SUITE_P(
    Files, DamagedFileTest,
    ::testing::Values(DamagedCase{"Empty", ""},
                      DamagedCase{"Garbage", std::string("\x00\xff\x13garbage\n", 11)},
                      DamagedCase{"NoHeader", "u32\tFull Screen\t0\n"},
                      DamagedCase{"CutShort", "PXSettings 1\nu32\tFull Screen\t0\nu32\tSwap"},
                      DamagedCase{"UnknownTag", "PXSettings 1\nf64\tFull Screen\t0\n"},
                      DamagedCase{"MissingField", "PXSettings 1\nu32\tFull Screen\n"},
                      DamagedCase{"NumberTooBig", "PXSettings 1\nu32\tFull Screen\t4294967296\n"},
                      DamagedCase{"NumberNotDigits", "PXSettings 1\nu32\tFull Screen\t-1\n"},
                      DamagedCase{"BadEscape", "PXSettings 1\nstr\tName\tA\\q\n"},
                      DamagedCase{"CutEscape", "PXSettings 1\nstr\tName\tA\\x4\n"},
                      DamagedCase{"DuplicateName", "PXSettings 1\nu32\tA\t1\nu32\tA\t2\n"},
                      DamagedCase{"Oversized", "PXSettings 1\n" + std::string(2 * 1024 * 1024, '#') + "\n"}),
    [](const ::testing::TestParamInfo<DamagedCase>& info) { return std::string(info.param.name); });

TEST_F(SettingsTest, DataFoldersAreCreatedUnderXdgDataHome)
{
    std::string base = (dir.Path() / "data").string() + "/Quillmoor/Shardfall/";
    EXPECT_EQ(store.GetUserDataFolder(""), base);
    EXPECT_TRUE(IsFolder(base));
    EXPECT_EQ(store.GetUserDataFolder("Replays"), base + "Replays/");
    EXPECT_EQ(store.GetUserDataFolder("a/b/"), base + "a/b/");
    EXPECT_TRUE(IsFolder(base + "a/b/"));
    EXPECT_EQ(store.GetSharedDataFolder(""), base);

    setenv("XDG_DATA_HOME", (dir.Path() / "data").string().append("/").c_str(), 1);
    EXPECT_EQ(store.GetUserDataFolder(""), base) << "no doubled separator";
}

TEST_F(SettingsTest, DataFolderFallbacks)
{
    unsetenv("XDG_DATA_HOME");
    std::string home = (dir.Path() / "home").string() + "/.local/share/Quillmoor/Shardfall/";
    EXPECT_EQ(store.GetSharedDataFolder("x"), home + "x/");
    EXPECT_TRUE(IsFolder(home + "x/"));

    // A base that is a file: the path is still returned, the caller's open fails later.
    dir.Write("blocked", "file");
    setenv("XDG_DATA_HOME", (dir.Path() / "blocked").c_str(), 1);
    EXPECT_EQ(store.GetUserDataFolder(""), (dir.Path() / "blocked").string() + "/Quillmoor/Shardfall/");

    // With no base at all the sub-folder alone is relative to the working directory.
    unsetenv("XDG_DATA_HOME");
    unsetenv("HOME");
    EXPECT_EQ(store.GetUserDataFolder(""), "");
}

}  // namespace
