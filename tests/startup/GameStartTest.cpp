// The game started headless on the built data: it finds its window icon in either form of
// the data, and a start that cannot go on says why instead of running on.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "engine/core/PXGlobals.h"
#include "engine/files/PXFileSystem.h"
#include "engine/files/PXResourceCache.h"
#include "engine/graphics/PXMemoryScreen2D.h"
#include "engine/gui/PXEntity2DGUIElement.h"
#include "engine/sound/PXDeviceSoundManager.h"
#include "engine/sound/PXRecordingAudioDevice.h"
#include "game/SFGame.h"
#include "tests/support/EngineGlobals.h"
#include "tests/support/FakeSettingsManager.h"
#include "tests/support/HostFileManager.h"
#include "tests/support/TempDir.h"

namespace {

// A screen whose window cannot be opened (no display, or the system refused it).
class NoWindowScreen : public PXMemoryScreen2D {
public:
    uint32_t Create(PXScreenDesc*, const char*) override { return 0; }
};

// Publishes the engine objects around a game that reads its data from `folder`.
class GameStart {
public:
    explicit GameStart(const std::string& folder, PXMemoryScreen2D& screen)
    {
        m_fileSystem.AddManager(MakeHostFileManager(), folder);
        PublishEngineObjects({&game, &screen, &m_fileSystem, &m_resources, &m_sound, &m_settings});
    }
    ~GameStart()
    {
        ClearEngineGlobals();
        g_toolTipHostFinder = nullptr;
    }

    SFGame game;

private:
    TempDir m_home;
    PXFileSystem m_fileSystem;
    PXResourceCache m_resources;
    PXDeviceSoundManager m_sound{std::make_unique<PXRecordingAudioDevice>()};
    FakeSettingsManager m_settings{m_home.Folder()};
};

class GameStartTest : public ::testing::TestWithParam<const char*> {};

// The icon lies only in the archive of the packed game: it must be read once the archives
// are mounted, through the file system, not from a loose file.
TEST_P(GameStartTest, FindsTheWindowIcon)
{
    PXMemoryScreen2D screen;
    {
        GameStart start(std::string(SF_BINARY_DIR) + "/" + GetParam() + "/", screen);
        ASSERT_EQ(start.game.Start(), 1) << start.game.GetStartError();
        EXPECT_EQ(screen.GetIconSize().x, 32);
        EXPECT_EQ(screen.GetIconSize().y, 32);
        start.game.Shutdown();
    }
}

INSTANTIATE_TEST_SUITE_P(BothForms, GameStartTest, ::testing::Values("game", "game-loose"));

// Copies the built archive into `dir`, cut to `keepBytes` (0: half of it, npos: whole);
// returns the folder.
std::string CopyOfArchive(TempDir& dir, size_t keepBytes)
{
    std::ifstream in(SF_BINARY_DIR "/game/Shardfall.pxa", std::ios::binary);
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_GT(bytes.size(), keepBytes == std::string::npos ? 0 : keepBytes);
    dir.Write("Shardfall.pxa", bytes.substr(0, keepBytes == 0 ? bytes.size() / 2 : keepBytes));
    return dir.Folder();
}

// The data is read beside the opening window while config.cfg is read before it and applied
// after the sound opens: its values stand over the sound's start-up defaults.
TEST(ConfiguredStartTest, ConfigStandsOverTheDefaultsOfTheOpeningSound)
{
    TempDir dir;
    const std::string folder = CopyOfArchive(dir, std::string::npos);
    dir.Write("config.cfg", "SoundLevel = 0.5\nSwappedStereo = 1\nKeyRepeatDelay = 77\nScaling = pixel\n");
    const int32_t keyRepeatDelay = g_keyRepeatDelay;
    PXMemoryScreen2D screen;
    {
        GameStart start(folder, screen);
        ASSERT_EQ(start.game.Start(), 1) << start.game.GetStartError();
        EXPECT_FLOAT_EQ(g_soundManager->GetVolume(), 0.5f);
        EXPECT_TRUE(g_soundManager->IsStereoSwapped());
        EXPECT_EQ(g_keyRepeatDelay, 77);
        EXPECT_EQ(screen.GetScaleMode(), PXScaleMode::Pixel);
        EXPECT_EQ(screen.GetIconSize().x, 32);
        start.game.Shutdown();
    }
    g_keyRepeatDelay = keyRepeatDelay;
}

class BrokenStartTest : public ::testing::Test {
protected:
    // Starts the game on `folder`; returns the result and keeps the error text.
    int Start(const std::string& folder, PXMemoryScreen2D& screen)
    {
        GameStart start(folder, screen);
        const int result = start.game.Start();
        error = start.game.GetStartError();
        return result;
    }
    std::string CopyOfArchive(size_t keepBytes) { return ::CopyOfArchive(dir, keepBytes); }

    TempDir dir;
    std::string error;
};

TEST_F(BrokenStartTest, AnArchiveCutShortIsNamed)
{
    PXMemoryScreen2D screen;
    // Half the archive: the directory is whole, the members at the end lie past it.
    EXPECT_EQ(Start(CopyOfArchive(0), screen), 0);
    EXPECT_NE(error.find("Shardfall.pxa"), std::string::npos) << error;
    EXPECT_NE(error.find("damaged"), std::string::npos) << error;
}

TEST_F(BrokenStartTest, AnArchiveCutInItsDirectoryIsNamed)
{
    PXMemoryScreen2D screen;
    EXPECT_EQ(Start(CopyOfArchive(200), screen), 0);
    EXPECT_NE(error.find("Shardfall.pxa"), std::string::npos) << error;
}

TEST_F(BrokenStartTest, NoDefinitionsAtAll)
{
    PXMemoryScreen2D screen;
    dir.Write("config.cfg", "ShowFPS 0\n");
    EXPECT_EQ(Start(dir.Folder(), screen), 0);
    EXPECT_NE(error.find("no definitions"), std::string::npos) << error;
}

TEST_F(BrokenStartTest, NoMainMenu)
{
    PXMemoryScreen2D screen;
    dir.Write("Shardfall/Definitions/Other.ent", "class = 2DScene\ntype = other\n");
    EXPECT_EQ(Start(dir.Folder(), screen), 0);
    EXPECT_NE(error.find("main menu"), std::string::npos) << error;
}

// Without a window the process must not run on unseen; the window is named even when the
// data read meanwhile is damaged too.
TEST_F(BrokenStartTest, NoWindow)
{
    for (const std::string& folder : {std::string(SF_BINARY_DIR "/game/"), CopyOfArchive(200)}) {
        NoWindowScreen screen;
        EXPECT_EQ(Start(folder, screen), 0) << folder;
        EXPECT_NE(error.find("window could not be created"), std::string::npos) << error;
    }
}

}  // namespace
