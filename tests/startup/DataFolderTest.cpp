// Where the game looks for its data and which folder it takes.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "game/SFDataFolder.h"
#include "tests/support/TempDir.h"

namespace {

std::vector<std::string> Folders(const std::vector<SFDataPlace>& places)
{
    std::vector<std::string> out;
    for (const SFDataPlace& place : places) {
        out.push_back(place.folder);
    }
    return out;
}

TEST(DataPlaces, ComeInOrderWithoutGapsOrRepeats)
{
    SFDataSources sources;
    sources.optionFolder = "/opt/mine";
    sources.environmentFolder = "/env/data/";
    sources.programFolder = "/usr/bin/";
    sources.installedRelative = "../share/shardfall";
    sources.installedAbsolute = "/usr/local/share/shardfall";
    EXPECT_EQ(Folders(SFDataPlaces(sources)),
              (std::vector<std::string>{"/opt/mine/", "/env/data/", "/usr/bin/", "/usr/share/shardfall/",
                                        "/usr/local/share/shardfall/"}));

    // Nothing named, and the install found relative to the program is the configured one.
    SFDataSources installed;
    installed.programFolder = "/usr/bin/";
    installed.installedRelative = "../share/shardfall";
    installed.installedAbsolute = "/usr/share/shardfall";
    EXPECT_EQ(Folders(SFDataPlaces(installed)),
              (std::vector<std::string>{"/usr/bin/", "/usr/share/shardfall/"}));

    // The working folder is never a place of its own.
    EXPECT_TRUE(SFDataPlaces(SFDataSources{}).empty());
}

class DataFolderTest : public ::testing::Test {
protected:
    std::string Folder(const std::string& name, const std::string& content)
    {
        std::filesystem::create_directories(dir.Path() / name);
        if (!content.empty()) {
            dir.Write(name + "/" + content, "x");
        }
        return dir.Folder() + name + "/";
    }
    TempDir dir;
};

TEST_F(DataFolderTest, TakesTheFirstPlaceThatHoldsTheData)
{
    const std::string named = Folder("named", "");  // named but empty: looked past
    const std::string beside = Folder("bin", "Shardfall.pxa");
    const std::string loose = Folder("loose", "Shardfall/Definitions/a.ent");
    const std::string other = Folder("other", "Shardfall.pxa");

    struct Case {
        std::vector<SFDataPlace> places;
        std::string found;  // empty: none
    };
    const Case cases[] = {
        {{{named, "--data"}, {beside, "program"}, {other, "installed"}}, beside},
        {{{loose, "--data"}, {beside, "program"}}, loose},
        {{{other, "env"}, {beside, "program"}}, other},
        {{{named, "--data"}, {dir.Folder() + "missing/", "program"}}, ""},
        {{}, ""},
    };
    for (const Case& c : cases) {
        std::string found;
        EXPECT_EQ(SFFindDataFolder(c.places, found), c.found.empty() ? 0 : 1);
        EXPECT_EQ(found, c.found);
    }
}

TEST_F(DataFolderTest, AFolderWithoutArchiveOrTreeHoldsNoData)
{
    EXPECT_FALSE(SFHoldsGameData(Folder("config-only", "config.cfg")));
    // A file named like the tree is not the tree.
    EXPECT_FALSE(SFHoldsGameData(Folder("file", "x") + "x/"));
    EXPECT_TRUE(SFHoldsGameData(Folder("packed", "Shardfall.pxa")));
}

TEST(DataFolderMessage, NamesEveryPlaceLookedAt)
{
    const std::vector<SFDataPlace> places = {{"/a/", "named by --data"}, {"/usr/bin/", "beside the program"},
                                             {"/usr/share/shardfall/", "installed data folder"}};
    const std::string text = SFNoDataMessage(places);
    EXPECT_NE(text.find("Shardfall.pxa"), std::string::npos) << text;
    for (const SFDataPlace& place : places) {
        EXPECT_NE(text.find(place.folder + " (" + place.what + ")"), std::string::npos) << text;
    }
}

}  // namespace
