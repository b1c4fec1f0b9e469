// PXWin32SettingsManager on the registry of the test's Wine prefix, under a company name
// of its own that the fixture removes again; and the shell's data folders.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "platform/win32/PXWin32SettingsManager.h"
#include "tests/settings/SettingsStoreSuite.h"
#include "tests/support/TempDir.h"

namespace {

constexpr const char* Company = "QuillmoorTest";

void DeleteTestCompanyKey()
{
    RegDeleteTreeA(HKEY_CURRENT_USER, (std::string("Software\\") + Company).c_str());
}

// The shared store suite on the registry: a second instance reads what the first wrote.
INSTANTIATE_TEST_SUITE_P(Stores, SettingsStoreTest,
                         ::testing::Values(SettingsStoreMaker{"Registry",
                                                              [] {
                                                                  return std::unique_ptr<PXSettingsManager>(
                                                                      std::make_unique<PXWin32SettingsManager>(
                                                                          Company, "Shardfall"));
                                                              },
                                                              true, DeleteTestCompanyKey}),
                         SettingsStoreName);

class Win32SettingsTest : public ::testing::Test {
protected:
    void TearDown() override
    {
        settings.CloseKey();
        DeleteTestCompanyKey();
    }
    PXWin32SettingsManager settings{Company, "Shardfall"};
};

TEST_F(Win32SettingsTest, ValuesRoundTripAsTheirBits)
{
    ASSERT_EQ(settings.OpenGameKey(), 1);
    EXPECT_EQ(settings.GetKeyPath(), "Software\\QuillmoorTest\\Shardfall");
    EXPECT_EQ(settings.SetInt("Full Screen", 0), 1);
    EXPECT_EQ(settings.SetUInt("Big", 0xFFFFFFF0u), 1);
    EXPECT_EQ(settings.SetFloat("Level", 0.5f), 1);
    EXPECT_EQ(settings.SetString("LastHighScoreName", "Ann"), 1);

    int32_t full = 7;
    uint32_t big = 0;
    float level = 0;
    int32_t bigAsInt = 0;
    std::string name;
    EXPECT_EQ(settings.GetInt("Full Screen", full), 1);
    EXPECT_EQ(settings.GetUInt("Big", big), 1);
    EXPECT_EQ(settings.GetInt("Big", bigAsInt), 1);
    EXPECT_EQ(settings.GetFloat("Level", level), 1);
    EXPECT_EQ(settings.GetString("LastHighScoreName", name), 1);
    EXPECT_EQ(full, 0);
    EXPECT_EQ(big, 0xFFFFFFF0u);
    EXPECT_EQ(bigAsInt, -16);
    EXPECT_EQ(level, 0.5f);
    EXPECT_EQ(name, "Ann");

    // The stored types are the registry's own.
    HKEY key;
    ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\QuillmoorTest\\Shardfall", 0, KEY_READ, &key),
              ERROR_SUCCESS);
    DWORD type = 0, size = 0;
    RegQueryValueExA(key, "Full Screen", nullptr, &type, nullptr, &size);
    EXPECT_EQ(type, static_cast<DWORD>(REG_DWORD));
    RegQueryValueExA(key, "LastHighScoreName", nullptr, &type, nullptr, &size);
    EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(size, 4u) << "stored with its terminating zero";
    RegCloseKey(key);
}

TEST_F(Win32SettingsTest, FailedReadsLeaveTheDefault)
{
    int32_t value = 42;
    std::string text = "default";
    EXPECT_EQ(settings.GetInt("Missing", value), 0) << "no key path yet";
    ASSERT_EQ(settings.OpenGameKey(), 1);
    EXPECT_EQ(settings.GetInt("Missing", value), 0);
    EXPECT_EQ(settings.GetString("Missing", text), 0);
    // 1023 characters and the zero fit the 1024-byte buffer; one more does not.
    ASSERT_EQ(settings.SetString("Fits", std::string(1023, 'x')), 1);
    ASSERT_EQ(settings.SetString("TooLong", std::string(1024, 'x')), 1);
    EXPECT_EQ(settings.GetString("Fits", text), 1);
    EXPECT_EQ(text.size(), 1023u);
    text = "default";
    EXPECT_EQ(settings.GetString("TooLong", text), 0);
    EXPECT_EQ(value, 42);
    EXPECT_EQ(text, "default");
    EXPECT_EQ(settings.CloseKey(), 0) << "no key stays open between operations";
}

TEST_F(Win32SettingsTest, SubKeysAreListedAndDeletedWithTheirChildren)
{
    ASSERT_EQ(settings.OpenGameSubKey("Profiles/One"), 1);
    ASSERT_EQ(settings.SetInt("x", 1), 1);
    ASSERT_EQ(settings.OpenGameSubKey("Two"), 1);
    ASSERT_EQ(settings.SetInt("x", 2), 1);
    ASSERT_EQ(settings.OpenGameKey(), 1);
    std::vector<std::string> names;
    EXPECT_EQ(settings.ListSubKeys(names), 0);
    EXPECT_EQ(names, (std::vector<std::string>{"Profiles", "Two"}));

    EXPECT_EQ(settings.DeleteSubKey("Profiles"), 1);
    names.clear();
    settings.ListSubKeys(names);
    EXPECT_EQ(names, std::vector<std::string>{"Two"});
}

TEST_F(Win32SettingsTest, DataFoldersAreMadeUnderTheShellFolders)
{
    const std::string user = settings.GetUserDataFolder("");
    const std::string shared = settings.GetSharedDataFolder("Saves");
    const std::string userTail = "/QuillmoorTest/Shardfall/";
    ASSERT_GT(user.size(), userTail.size());
    EXPECT_EQ(user.substr(user.size() - userTail.size()), userTail);
    EXPECT_EQ(shared.substr(shared.size() - 6), "Saves/");
    for (const std::string& folder : {user, shared}) {
        const DWORD attributes = GetFileAttributesA(folder.c_str());
        EXPECT_NE(attributes, INVALID_FILE_ATTRIBUTES) << folder;
        EXPECT_TRUE(attributes & FILE_ATTRIBUTE_DIRECTORY) << folder;
    }
    RemoveDirectoryA(user.c_str());
    RemoveDirectoryA((shared + "..").c_str());
}

TEST(Win32SettingsFolders, CreateFoldersMakesEveryMissingParent)
{
    TempDir dir;
    const std::string deep = dir.Folder() + "a\\b/c/";
    EXPECT_TRUE(PXWin32SettingsManager::CreateFolders(deep));
    EXPECT_TRUE(PXWin32SettingsManager::CreateFolders(deep)) << "an existing folder counts as made";
    dir.Write("file", "x");
    EXPECT_FALSE(PXWin32SettingsManager::CreateFolders(dir.Folder() + "file"));
}

}  // namespace
