// The log file: CR LF lines in the per-user data folder, nothing without a settings manager.
#include <gtest/gtest.h>

#include <string>

#include "engine/core/PXGlobals.h"
#include "engine/core/PXLog.h"
#include "tests/support/FakeSettingsManager.h"
#include "tests/support/TempDir.h"

namespace {

class LogTest : public ::testing::Test {
protected:
    void SetUp() override { g_settings = &settings; }
    void TearDown() override { g_settings = nullptr; }

    TempDir dir;
    FakeSettingsManager settings{dir.Folder()};
};

TEST_F(LogTest, FormattedLinesEndInCrLfAndAppend)
{
    LogF("Unable to open %s", "Shardfall/Images/x.img");
    LogF("%d items", 3);
    Log("raw text");
    EXPECT_EQ(dir.Read("log.txt"), "Unable to open Shardfall/Images/x.img\r\n3 items\r\nraw text");
}

TEST_F(LogTest, OverlongLineIsCutNotOverflowed)
{
    std::string huge(20000, 'x');
    LogF("%s", huge.c_str());
    std::string written = dir.Read("log.txt");
    ASSERT_GE(written.size(), 2u);
    EXPECT_LT(written.size(), huge.size());
    EXPECT_EQ(written.substr(written.size() - 2), "\r\n");
    EXPECT_EQ(written.find_first_not_of('x'), written.size() - 2);
}

TEST_F(LogTest, NothingWithoutSettingsOrFolder)
{
    g_settings = nullptr;
    LogF("lost");
    EXPECT_EQ(dir.Read("log.txt"), "");

    FakeSettingsManager missing(dir.Folder() + "no/such/folder/");
    g_settings = &missing;
    LogF("also lost");  // the folder does not exist: silently nothing
    EXPECT_EQ(dir.Read("log.txt"), "");
}

}  // namespace
