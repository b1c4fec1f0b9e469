// The player's options in the game object: read at start over config.cfg's machine
// defaults and applied before the first song, and saved the frame after a change (the
// options and any change of the play bindings).
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "engine/core/PXInputMap.h"
#include "engine/sound/PXDeviceSoundManager.h"
#include "engine/sound/PXRecordingAudioDevice.h"
#include "tests/spine/SpineFixture.h"
#include "tests/support/WaveBuilder.h"

namespace {

using Action = PXInputAction;
constexpr PXInputContext Play = PXInputContext::Play;
// The game's own song and its id.
constexpr const char* SongFile = "shardfall/sounds/SFSong.wav";
constexpr uint32_t SongId = 1;
constexpr size_t SongBytes = 400;

class GameOptionsTest : public SpineTest {
protected:
    void SetUp() override
    {
        SpineTest::SetUp();
        Write("mainmenu.ent", "class = SFMainMenuScene\ntype = mainmenu\n");
        g_inputMap.RestoreDefaults();
        auto owned = std::make_unique<PXRecordingAudioDevice>();
        device = owned.get();
        manager = std::make_unique<PXDeviceSoundManager>(std::move(owned));
        g_soundManager = manager.get();
    }
    void TearDown() override
    {
        if (g_game != nullptr) {
            game.Shutdown();
        }
        g_inputMap.RestoreDefaults();
        SFOptions::SetMachineKeyRepeatDelay(120);
        SpineTest::TearDown();
    }
    void Start()
    {
        g_game = &game;
        ASSERT_EQ(game.Initialise(), 1);
    }
    void Frame()
    {
        queue.Push(EventTick, 160);
        game.RunFrame(queue);
    }
    void StoreInt(const char* name, int32_t value)
    {
        settings.OpenGameKey();
        settings.SetInt(name, value);
        settings.CloseKey();
    }
    int32_t StoredInt(const char* name)
    {
        int32_t value = -1;
        settings.OpenGameKey();
        settings.GetInt(name, value);
        settings.CloseKey();
        return value;
    }
    std::string StoredText(const char* name)
    {
        std::string value = "(none)";
        settings.OpenGameKey();
        settings.GetString(name, value);
        settings.CloseKey();
        return value;
    }
    std::vector<uint8_t> Wave(size_t bytes) const
    {
        return WaveBuilder().Format(1, 8000, 8).Data(std::vector<uint8_t>(bytes, 128)).Bytes();
    }

    TestGame game;
    PXEventQueue queue;
    PXRecordingAudioDevice* device = nullptr;
    std::unique_ptr<PXDeviceSoundManager> manager;
};

TEST_F(GameOptionsTest, AStoredRepeatDelayOverridesTheMachineDefault)
{
    struct Case {
        const char* config;  // null: no file
        int32_t stored;      // -1: none
        int32_t repeat;
    };
    const Case cases[] = {
        {nullptr, -1, 120},
        {"KeyRepeatDelay 95\n", -1, 95},
        {"KeyRepeatDelay 95\n", 0, 95},
        {"KeyRepeatDelay 95\n", 220, 220},
        {nullptr, 60, 60},
        // Out of range: the machine default, as if nothing was stored.
        {"KeyRepeatDelay 95\n", 5, 95},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.config != nullptr ? c.config : "(no file)") + " stored " +
                     std::to_string(c.stored));
        FakeSettingsManager store{dir.Folder()};
        g_settings = &store;
        if (c.stored >= 0) {
            store.SetInt("Key Repeat Delay", c.stored);
        }
        TempDir data;
        data.Write("mainmenu.ent", "class = SFMainMenuScene\ntype = mainmenu\n");
        if (c.config != nullptr) {
            data.Write("config.cfg", c.config);
        }
        PXFileSystem files;
        files.AddManager(MakeHostFileManager(), data.Folder());
        g_fileSystem = &files;
        g_keyRepeatDelay = 120;
        {
            TestGame local;
            g_game = &local;
            ASSERT_EQ(local.Initialise(), 1);
            EXPECT_EQ(g_keyRepeatDelay, c.repeat);
            local.Shutdown();
        }
        g_game = nullptr;
        g_fileSystem = &fileSystem;
        g_settings = &settings;
    }
}

TEST_F(GameOptionsTest, StoredOptionsAreHeardFromTheFirstSongAndSteerThePlay)
{
    StoreInt("Music Volume", 50);
    StoreInt("Effects Volume", 0);
    settings.OpenGameKey();
    settings.SetString("Keys Left", "106,0,0");
    settings.CloseKey();
    const std::vector<uint8_t> song = Wave(SongBytes);
    Write(SongFile, std::string(song.begin(), song.end()));

    // Asked for before the game adds it (after the first picture): it starts then.
    game.PlaySong(SongId, 0.0f);
    Start();
    EXPECT_EQ(game.GetOptions().musicVolume, 50);
    EXPECT_EQ(g_inputMap.ForKey(Play, 'j'), Action::MoveLeft);
    EXPECT_EQ(g_inputMap.ForKey(Play, 'J'), Action::MoveLeft);
    EXPECT_EQ(g_inputMap.ForKey(Play, KeyArrowLeft), Action::None);

    Frame();
    Frame();
    ASSERT_EQ(device->Voices().size(), 1u);
    const PXRecordedVoice& songVoice = *device->Voices().front();
    ASSERT_TRUE(songVoice.playing);
    EXPECT_EQ(songVoice.volume, -1204);

    const std::vector<uint8_t> effect = Wave(100);
    uint32_t sound = 0;
    uint32_t channel = 0;
    ASSERT_EQ(manager->LoadSoundFromMemory(effect.data(), effect.size(), sound), 1);
    ASSERT_EQ(manager->CreateChannel(sound, channel, false), 1);
    EXPECT_EQ(device->Voices().back()->volume, -10000);
}

TEST_F(GameOptionsTest, ChangesAreSavedTheNextFrame)
{
    Start();
    Frame();
    game.GetOptions().musicVolume = 30;
    game.GetOptions().keyRepeatDelay = 85;
    game.ApplyOptions();
    // Heard at once, stored with the next frame.
    EXPECT_FLOAT_EQ(manager->GetGroupVolume(PXSoundGroup::Music), 0.09f);
    EXPECT_EQ(g_keyRepeatDelay, 85);
    EXPECT_EQ(StoredInt("Music Volume"), -1);
    Frame();
    EXPECT_EQ(StoredInt("Music Volume"), 30);
    EXPECT_EQ(StoredInt("Key Repeat Delay"), 85);
    EXPECT_EQ(StoredText("Keys Turn"), "32,256,0");

    // A binding the screen changes in the map is saved too.
    ASSERT_TRUE(g_inputMap.BindKey(Play, Action::Turn, 2, 'k'));
    Frame();
    EXPECT_EQ(StoredText("Keys Turn"), "32,256,107");

    game.GetOptions().RestoreDefaults();
    game.ApplyOptions();
    Frame();
    EXPECT_EQ(StoredInt("Music Volume"), 100);
    EXPECT_EQ(StoredInt("Key Repeat Delay"), 0);
    EXPECT_EQ(StoredText("Keys Turn"), "32,256,0");
    EXPECT_EQ(g_keyRepeatDelay, 120);

    // A value the player put back by hand before the frame is still written.
    game.GetOptions().effectsVolume = 10;
    game.ApplyOptions();
    game.GetOptions().effectsVolume = 100;
    StoreInt("Effects Volume", 55);
    Frame();
    EXPECT_EQ(StoredInt("Effects Volume"), 100);
}

TEST_F(GameOptionsTest, ShutdownWritesTheOptionsAndBindings)
{
    Start();
    ASSERT_TRUE(g_inputMap.BindPad(Play, Action::Pause, 1, PadNorth));
    game.GetOptions().effectsVolume = 45;
    game.Shutdown();
    g_game = nullptr;
    EXPECT_EQ(StoredInt("Effects Volume"), 45);
    EXPECT_EQ(StoredText("Pad Pause"), "6,4");
    EXPECT_EQ(StoredText("Keys Left"), "259,0,0");
}

}  // namespace
