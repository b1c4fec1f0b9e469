// The build's game folder: the packed archive holds exactly the loose tree, byte for byte,
// the sample tuning file sits beside it, and the generator writes the same bytes every run.
#include <string>
#include <vector>

#include "engine/files/PXArchiveManager.h"
#include "engine/files/PXBuffer.h"
#include "game/SFEntityMainGameSceneType.h"
#include "platform/posix/PXPosixFileManager.h"
#include "tests/assets/GeneratedTree.h"

namespace {

using assets::Tree;

const std::string GameDir = SF_BINARY_DIR "/game";
const std::string LooseDir = SF_BINARY_DIR "/game-loose";

TEST(AssetGenerator, WritesTheSameBytesOnEveryRun)
{
    ASSERT_TRUE(Tree::Get().Ok());
    TempDir second;
    ASSERT_TRUE(assets::Generate(second.Path().string()));
    std::vector<std::string> first = assets::FilesUnder(Tree::Get().Root());
    ASSERT_EQ(first, assets::FilesUnder(second.Path()));
    for (const std::string& file : first)
        EXPECT_TRUE(Tree::Get().Bytes(file) == assets::ReadBytes(second.Path() / file)) << file;
}

TEST(AssetGenerator, WritesEveryFileThePlaySceneLoads)
{
    std::vector<std::string> paths = SFEntityMainGameSceneType::AssetPaths();
    paths.push_back("Shardfall/Sounds/SFSong.wav");
    for (const std::string& path : paths)
        EXPECT_TRUE(Tree::Get().Exists(path)) << path;
}

TEST(AssetGenerator, FailsWithoutAUsableOutputFolder)
{
    TempDir dir;
    dir.Write("file", "not a folder");
    const std::string gen = "'" + assets::GeneratorPath() + "'";
    const std::string cases[] = {
        gen,                                                      // no output folder given
        gen + " '" + dir.Folder() + "file/out'",                  // a file stands where a folder must go
        gen + " '" + dir.Folder() + "out' '/nonexistent/fonts'",  // no fonts to render text with
    };
    for (const std::string& command : cases)
        EXPECT_NE(0, std::system((command + " > /dev/null 2>&1").c_str())) << command;
}

TEST(GameFolder, ArchiveHoldsTheLooseTree)
{
    PXPosixFileManager host;
    PXArchiveManager archive(&host, GameDir + "/Shardfall.pxa");
    ASSERT_TRUE(archive.IsLoaded()) << "build the assets target first";
    std::vector<std::string> loose = assets::FilesUnder(LooseDir + "/Shardfall");
    std::vector<std::string> members;
    for (const PXArchiveManager::Entry& e : archive.GetEntries())
        members.push_back(e.name);
    std::sort(members.begin(), members.end());
    for (std::string& name : loose)
        name = "Shardfall/" + name;
    ASSERT_EQ(loose, members);
    for (const std::string& name : members) {
        PXFile* member = archive.Open(name, 5);
        ASSERT_NE(nullptr, member) << name;
        auto* buffer = static_cast<PXBuffer*>(member);
        std::vector<uint8_t> packed(buffer->GetData(), buffer->GetData() + buffer->GetSize());
        EXPECT_TRUE(packed == assets::ReadBytes(LooseDir + "/" + name)) << name;
        archive.Close(member);
    }
}

TEST(GameFolder, SampleTuningFileNamesEveryKey)
{
    std::vector<uint8_t> bytes = assets::ReadBytes(GameDir + "/config.cfg");
    std::string text(bytes.begin(), bytes.end());
    for (const char* key : {"ShowFPS", "KeyRepeatDelay", "SoundLevel", "SwappedStereo", "HighPriorityClass", "Scaling"})
        EXPECT_NE(std::string::npos, text.find(key)) << key;
}

}  // namespace
