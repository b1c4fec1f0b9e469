// The play scene heard through the recording audio device: which sound each event plays,
// the keys that turn the piece, swap the controls and mute, and the one mute state that the
// Sound button, the S key, the next game and the menu song share.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "engine/gui/PXEntity2DGUIToggleButton.h"
#include "engine/sound/PXDeviceSoundManager.h"
#include "engine/sound/PXRecordingAudioDevice.h"
#include "tests/playscene/PlaySceneFixture.h"
#include "tests/support/RecordedPlays.h"
#include "tests/support/WaveBuilder.h"

namespace playscene {
namespace {

// Each sound file has its own size, so the device's buffers tell them apart.
struct SoundFile {
    SFSound sound;
    const char* path;
    size_t bytes;
};
const SoundFile SoundFiles[] = {
    {SFSound::Impact, "Shardfall/Sounds/Impact.wav", 100},
    {SFSound::Move, "Shardfall/Sounds/Move.wav", 110},
    {SFSound::Switch, "Shardfall/Sounds/Switch.wav", 120},
    {SFSound::Special, "Shardfall/Sounds/specialcomplete.wav", 130},
    {SFSound::Ding, "Shardfall/Sounds/MetalDing_Vibrato.wav", 140},
    {SFSound::DingRising, "Shardfall/Sounds/MetalDing_Vibrato_Up.wav", 150},
    {SFSound::DingFalling, "Shardfall/Sounds/MetalDing_Vibrato_Down.wav", 160},
};
constexpr size_t MoveBytes = 110;
constexpr size_t SwitchBytes = 120;
constexpr size_t SongBytes = 400;

// The play scene with the real Sound toggle button (a picture for sound on, one for sound
// off), the real main menu and a sound manager on the recording device.
class PlaySoundTest : public PlaySceneTest {
protected:
    PlaySoundTest() { soundEnt = "togglebutton, soundtoggle"; }

    void PrepareSound() override
    {
        auto owned = std::make_unique<PXRecordingAudioDevice>();
        device = owned.get();
        manager = std::make_unique<PXDeviceSoundManager>(std::move(owned));
        g_soundManager = manager.get();
        for (const SoundFile& file : SoundFiles) {
            WriteSound(file.path, file.bytes);
        }
        WriteSound("Shardfall/Sounds/SFSong.wav", SongBytes);
        Write("mainmenu.ent", "class = SFMainMenuScene\ntype = mainmenu\n");
        for (const std::string state : {"On", "Off"}) {
            WritePicture("snd" + state + ".bmp");
            Write("snd" + state + "pic.ent",
                  "class = sprite\ntype = Snd" + state + "Pic\nimage = snd" + state + ".bmp\n");
            Write("snd" + state + ".ent",
                  "class = button\ntype = Snd" + state + "\nMainImageEnt = sprite, Snd" + state + "Pic\n");
        }
        Write("soundtoggle.ent", "class = togglebutton\ntype = soundtoggle\nNumStates = 2\n"
                                 "Button1Ent = button, SndOn\nButton2Ent = button, SndOff\n");
    }

    void WriteSound(const std::string& name, size_t bytes)
    {
        const std::vector<uint8_t> wav =
            WaveBuilder().Format(1, 8000, 8).Data(std::vector<uint8_t>(bytes, 128)).Bytes();
        Write(name, std::string(wav.begin(), wav.end()));
    }

    // A 30 x 20 grey bitmap, the size of the button's place in the info strip.
    void WritePicture(const std::string& name)
    {
        const std::vector<std::vector<uint8_t>> rows(20, std::vector<uint8_t>(90, 0x80));
        const std::vector<uint8_t> bytes = imagefiles::BuildBmp(imagefiles::Bmp{30, 20, 24, 0, 0, 40, {}, rows});
        Write(name, std::string(bytes.begin(), bytes.end()));
    }

    int Plays(size_t bytes) const { return RecordedPlays(*device, bytes); }
    // Voices made for the menu song: one each time the menu starts it audibly (its fade-out
    // plays the voice on, so plays would not tell).
    int SongVoices() const { return static_cast<int>(SongVoiceList().size()); }
    std::vector<PXRecordedVoice*> SongVoiceList() const
    {
        std::vector<PXRecordedVoice*> voices;
        const auto& buffers = device->Buffers();
        for (const auto& voice : device->Voices()) {
            if (voice->bufferId < buffers.size() && buffers[voice->bufferId]->size == SongBytes) {
                voices.push_back(voice.get());
            }
        }
        return voices;
    }

    // The Sound button's picture: 0 sound on, 1 sound off.
    uint32_t SoundPicture()
    {
        auto* type = static_cast<SFEntityMainGameSceneType*>(scene->GetType());
        auto* toggle = dynamic_cast<PXEntity2DGUIToggleButton*>(type->GetRecordEntity(SFGameRecord::Sound));
        return toggle != nullptr ? toggle->GetState() : 99;
    }

    // The scene, the sound manager and the button agree; a turn is heard only with sound on.
    void ExpectSound(bool on)
    {
        EXPECT_EQ(scene->IsSoundOn(), on);
        EXPECT_EQ(manager->IsSoundMuted(), on ? 0 : 1);
        EXPECT_EQ(SoundPicture(), on ? 0u : 1u);
        const int heard = Plays(SwitchBytes);
        PlacePiece(8, 10);
        scene->OnKeyDown(' ');
        EXPECT_EQ(Plays(SwitchBytes), heard + (on ? 1 : 0));
    }

    void ClickSoundButton()
    {
        const PXPoint at{455, 405};
        EXPECT_TRUE(scene->OnMouseUp(&at, 1));
    }

    // The player goes back to the main menu, which starts its song.
    void ShowMenu()
    {
        scene.reset();
        menu = g_entityRegistry->CreateEntity("SFMainMenuScene", "mainmenu", PXKind::Scene);
        ASSERT_NE(menu, nullptr);
    }

    void TearDown() override
    {
        menu.reset();
        PlaySceneTest::TearDown();
    }

    PXRecordingAudioDevice* device = nullptr;
    std::unique_ptr<PXDeviceSoundManager> manager;
    std::unique_ptr<PXEntityBase> menu;
};

TEST_F(PlaySoundTest, EachEventPlaysItsOwnSound)
{
    Start();
    for (const SoundFile& file : SoundFiles) {
        SCOPED_TRACE(file.path);
        scene->PlaySound(file.sound);
        EXPECT_EQ(Plays(file.bytes), 1);
    }
    // The rules ask for them: a step sideways moves, a turn switches.
    PlacePiece(8, 10);
    scene->OnKeyDown(KeyArrowLeft);
    scene->Update(16.0f);
    EXPECT_EQ(Plays(MoveBytes), 2);
    scene->OnKeyDown(' ');
    EXPECT_EQ(Plays(SwitchBytes), 2);
}

TEST_F(PlaySoundTest, SpaceAndUpTurnCSwapsTheControlsSMutes)
{
    Start();
    int turns = 0;
    for (int key : {int{' '}, int{KeyArrowUp}}) {
        SCOPED_TRACE("key " + std::to_string(key));
        PlacePiece(8, 10);
        const int32_t rotation = scene->Field().Current().rotation;
        scene->OnKeyDown(key);
        EXPECT_EQ(scene->Field().Current().rotation, (rotation + 1) % 6);
        EXPECT_EQ(Plays(SwitchBytes), ++turns);
    }
    for (int key : {'C', 'c'}) {
        SCOPED_TRACE("key " + std::to_string(key));
        const int32_t swap = game.GetSwapControls();
        EXPECT_TRUE(scene->OnKeyDown(key));
        EXPECT_EQ(game.GetSwapControls(), swap != 0 ? 0 : 1);
        EXPECT_FALSE(scene->IsPaused());
    }
    for (int key : {'S', 's'}) {
        SCOPED_TRACE("key " + std::to_string(key));
        const bool on = scene->IsSoundOn();
        EXPECT_TRUE(scene->OnKeyDown(key));
        ExpectSound(!on);
    }
}

TEST_F(PlaySoundTest, MuteIsOneStateAcrossGamesAndTheMenu)
{
    // The first main menu: its song is loaded after the first picture, and starts then.
    EXPECT_EQ(SongVoices(), 0);
    PXEventQueue frames;
    game.RunFrame(frames);
    EXPECT_EQ(SongVoices(), 0);
    game.RunFrame(frames);
    ASSERT_EQ(SongVoices(), 1);
    Start();
    ExpectSound(true);
    scene->OnKeyDown('S');
    ExpectSound(false);
    ShowMenu();
    EXPECT_EQ(SongVoices(), 1) << "muted means muted in the menu too";

    // The next game knows, and one click on its button brings the sound back.
    Start();
    ExpectSound(false);
    ClickSoundButton();
    ExpectSound(true);
    ShowMenu();
    EXPECT_EQ(SongVoices(), 2);
}

TEST_F(PlaySoundTest, TheMenuSongIsMusicAndTheGameSoundsAreEffects)
{
    PXEventQueue frames;
    game.RunFrame(frames);
    game.RunFrame(frames);
    ASSERT_EQ(SongVoices(), 1);
    PXRecordedVoice& song = *SongVoiceList().front();
    // Halfway into its fade-in, so that a change of either group would show.
    frames.Push(EventTick, 10000);
    game.RunFrame(frames);
    const int32_t songVolume = song.volume;
    ASSERT_GT(songVolume, -10000);
    ASSERT_LT(songVolume, -1204);

    manager->SetGroupVolume(PXSoundGroup::Effects, 0.0f);
    EXPECT_EQ(song.volume, songVolume);
    manager->SetGroupVolume(PXSoundGroup::Music, 0.0f);
    EXPECT_EQ(song.volume, -10000);

    manager->SetGroupVolume(PXSoundGroup::Effects, 1.0f);
    Start();
    scene->PlaySound(SFSound::Move);
    ASSERT_FALSE(device->Voices().empty());
    EXPECT_EQ(device->Voices().back()->volume, 0) << "an effect is not silenced with the music";
    manager->SetGroupVolume(PXSoundGroup::Effects, 0.0f);
    EXPECT_EQ(device->Voices().back()->volume, -10000);
}

}  // namespace
}  // namespace playscene
