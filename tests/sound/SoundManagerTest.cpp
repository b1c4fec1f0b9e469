// The sound manager on the recording device: ids, mute, volume and pan rules, the groups'
// gains, channel lifetimes, fades and WAV loading with its log lines.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <memory>
#include <string>
#include <vector>

#include "engine/core/PXGlobals.h"
#include "engine/files/PXBuffer.h"
#include "engine/sound/PXDeviceSoundManager.h"
#include "engine/sound/PXRecordingAudioDevice.h"
#include "tests/support/FakeSettingsManager.h"
#include "tests/support/TempDir.h"
#include "tests/support/WaveBuilder.h"

namespace {

// A memory stream holding `bytes`, positioned at the start.
std::unique_ptr<PXBuffer> StreamOf(const std::vector<uint8_t>& bytes)
{
    auto stream = std::make_unique<PXBuffer>();
    stream->Allocate(static_cast<uint32_t>(bytes.size()), 0);
    if (!bytes.empty())
        std::copy(bytes.begin(), bytes.end(), stream->GetData());
    return stream;
}

// 8000 samples of 8-bit mono at 8 kHz: one second of sound.
std::vector<uint8_t> OneSecondWave()
{
    return WaveBuilder().Format(1, 8000, 8).Data(std::vector<uint8_t>(8000, 128)).Bytes();
}

class SoundManagerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        g_settings = &settings;
        auto owned = std::make_unique<PXRecordingAudioDevice>();
        device = owned.get();
        manager = std::make_unique<PXDeviceSoundManager>(std::move(owned));
        ASSERT_EQ(manager->Init(0), 1);
    }
    void TearDown() override { g_settings = nullptr; }

    uint32_t LoadOneSecond()
    {
        std::vector<uint8_t> bytes = OneSecondWave();
        uint32_t id = 999;
        EXPECT_EQ(manager->LoadSoundFromMemory(bytes.data(), bytes.size(), id), 1);
        return id;
    }
    uint32_t NewChannel(uint32_t sound, bool loop = false)
    {
        uint32_t id = 999;
        EXPECT_EQ(manager->CreateChannel(sound, id, loop), 1);
        return id;
    }
    // The voice the channel plays on: voices are numbered like channels in these tests.
    PXRecordedVoice& Voice(uint32_t channel) { return *device->Voices().at(channel); }

    TempDir dir;
    FakeSettingsManager settings{dir.Folder()};
    PXRecordingAudioDevice* device = nullptr;
    std::unique_ptr<PXDeviceSoundManager> manager;
};

TEST(SoundManagerInit, WithoutADeviceTheManagerStaysSilentAndRefusesEverything)
{
    auto owned = std::make_unique<PXRecordingAudioDevice>();
    owned->SetOpenFails(true);
    PXDeviceSoundManager manager(std::move(owned));
    EXPECT_EQ(manager.Init(0), 0);
    EXPECT_FALSE(manager.IsInitialised());

    std::vector<uint8_t> bytes = OneSecondWave();
    uint32_t id = 77;
    EXPECT_EQ(manager.LoadSound(StreamOf(bytes).get(), id), 0);
    EXPECT_EQ(manager.LoadSoundFromMemory(bytes.data(), bytes.size(), id), 0);
    EXPECT_EQ(manager.CreateChannel(0, id, false), 0);
    EXPECT_EQ(id, 77u);
    EXPECT_EQ(manager.Update(10.0f), 0);
    EXPECT_EQ(manager.UnloadSound(0), 0);
    EXPECT_EQ(manager.PlayChannel(0), 0);
    EXPECT_EQ(manager.SetChannelVolume(0, 1.0f), 0);
    EXPECT_EQ(manager.SetChannelGroup(0, PXSoundGroup::Music), 0);
    EXPECT_EQ(manager.FadeOutAllChannels(10.0f), 0);
    EXPECT_EQ(manager.StopAllChannels(), 0);
    EXPECT_FALSE(manager.IsChannelPlaying(0));
    // The switches work regardless.
    EXPECT_EQ(manager.SetSoundEnabled(false), 1);
    EXPECT_EQ(manager.SetSwappedStereo(true), 1);

    PXDeviceSoundManager noDevice(nullptr);
    EXPECT_EQ(noDevice.Init(0), 0);
}

TEST_F(SoundManagerTest, InitSucceedsOnlyOnce)
{
    EXPECT_EQ(manager->Init(0), 0);
    EXPECT_TRUE(manager->IsInitialised());
}

TEST(SoundManagerSwitches, MasterVolumeIsKeptWithinRange)
{
    struct Case {
        float given;
        float stored;
    };
    const Case cases[] = {{0.0f, 0.01f},
                          {2.0f, 1.0f},
                          {0.5f, 0.5f},
                          {0.01f, 0.01f},
                          {-3.0f, 0.01f},
                          {1.0f, 1.0f},
                          {std::numeric_limits<float>::quiet_NaN(), 0.01f}};
    PXDeviceSoundManager manager(nullptr);
    EXPECT_EQ(manager.GetVolume(), 1.0f);
    for (const Case& c : cases) {
        manager.SetVolume(c.given);
        EXPECT_EQ(manager.GetVolume(), c.stored) << "given " << c.given;
    }
}

TEST(SoundManagerSwitches, GroupGainsAreKeptWithinRangeAndApart)
{
    struct Case {
        float given;
        float stored;
    };
    const Case cases[] = {{0.25f, 0.25f}, {2.0f, 1.0f}, {-1.0f, 0.0f}, {0.0f, 0.0f},
                          {std::numeric_limits<float>::quiet_NaN(), 0.0f}};
    PXDeviceSoundManager manager(nullptr);
    for (PXSoundGroup group : {PXSoundGroup::Effects, PXSoundGroup::Music})
        EXPECT_EQ(manager.GetGroupVolume(group), 1.0f);
    for (const Case& c : cases) {
        manager.SetGroupVolume(PXSoundGroup::Music, c.given);
        EXPECT_EQ(manager.GetGroupVolume(PXSoundGroup::Music), c.stored) << "given " << c.given;
        EXPECT_EQ(manager.GetGroupVolume(PXSoundGroup::Effects), 1.0f);
    }
}

TEST(SoundManagerSwitches, FlagsReturnWhatTheyStore)
{
    PXDeviceSoundManager manager(nullptr);
    EXPECT_EQ(manager.IsSoundMuted(), 0);
    EXPECT_EQ(manager.SetSoundEnabled(false), 1);
    EXPECT_EQ(manager.SetSoundEnabled(true), 0);
    EXPECT_EQ(manager.SetMusicEnabled(false), 1);
    EXPECT_EQ(manager.IsMusicMuted(), 1);
    EXPECT_EQ(manager.SetSwappedStereo(true), 1);
    EXPECT_EQ(manager.IsStereoSwapped(), 1);
}

TEST(SoundManagerRules, VolumeInHundredthsOfADecibel)
{
    struct Case {
        float master;
        bool muted;
        float level;
        int32_t volume;
    };
    const Case cases[] = {
        {1.0f, false, 1.0f, 0},       {1.0f, false, 0.5f, -3010},  {0.5f, false, 0.5f, -6020},
        {1.0f, false, 0.75f, -1249},  {1.0f, true, 1.0f, -10000},  {0.01f, false, 1.0f, -10000},
        {1.0f, false, 0.05f, -10000}, {1.0f, false, 0.0f, -10000},
    };
    for (const Case& c : cases)
        EXPECT_EQ(PXDeviceSoundManager::VolumeFor(c.master, c.muted, c.level), c.volume)
            << c.master << " " << c.muted << " " << c.level;
}

TEST(SoundManagerRules, TheSliderCurveIsTheSquareOfItsShare)
{
    struct Case {
        int32_t percent;
        float gain;
    };
    const Case cases[] = {{-20, 0.0f}, {0, 0.0f},     {1, 0.0001f}, {10, 0.01f},
                          {50, 0.25f}, {75, 0.5625f}, {100, 1.0f},  {250, 1.0f}};
    for (const Case& c : cases)
        EXPECT_FLOAT_EQ(PXVolumeGain(c.percent), c.gain) << c.percent << " %";
}

TEST(SoundManagerRules, AGroupGainLowersTheVolumeByItsDecibels)
{
    struct Case {
        float master;
        bool muted;
        float level;
        float group;
        int32_t volume;
    };
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const Case cases[] = {
        {1.0f, false, 1.0f, 1.0f, 0},          {1.0f, false, 1.0f, 0.25f, -1204},
        {1.0f, false, 0.5f, 0.25f, -4214},     {1.0f, false, 1.0f, 0.01f, -4000},
        {1.0f, false, 1.0f, 0.0001f, -8000},   {1.0f, false, 0.5f, 0.0001f, -10000},
        {1.0f, false, 1.0f, 0.0f, -10000},     {1.0f, false, 1.0f, nan, -10000},
        {1.0f, false, 1.0f, 3.0f, 0},          {1.0f, true, 1.0f, 1.0f, -10000},
        {1.0f, true, 1.0f, 0.25f, -10000},     {0.01f, false, 1.0f, 0.25f, -10000},
    };
    for (const Case& c : cases)
        EXPECT_EQ(PXDeviceSoundManager::VolumeFor(c.master, c.muted, c.level, c.group), c.volume)
            << c.master << " " << c.muted << " " << c.level << " " << c.group;
}

TEST(SoundManagerRules, PanFollowsTheLogarithmicLaw)
{
    struct Case {
        float pan;
        bool swapped;
        int32_t result;
    };
    const Case cases[] = {
        {-1.0f, false, -10000},
        {-0.95f, false, -8653},
        {-0.5f, false, -2632},
        {-0.25f, false, -1120},
        {0.0f, false, 0},
        {0.25f, false, 1120},
        {0.5f, false, 2632},
        {1.0f, false, 10000},
        {-0.5f, true, 2632},
        {1.0f, true, -10000},
        {3.0f, false, 10000},
        {-3.0f, false, -10000},
        {std::numeric_limits<float>::quiet_NaN(), false, 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(PXDeviceSoundManager::PanFor(c.pan, c.swapped), c.result) << c.pan << " " << c.swapped;
}

TEST_F(SoundManagerTest, ChannelControlsReachTheVoice)
{
    uint32_t channel = NewChannel(LoadOneSecond());
    EXPECT_EQ(manager->SetChannelVolume(channel, 0.5f), 1);
    EXPECT_EQ(Voice(channel).volume, -3010);
    EXPECT_FLOAT_EQ(manager->GetChannelLevel(channel), 0.5f);
    // The level never drops below 0.1 nor rises above 1 through SetChannelVolume.
    manager->SetChannelVolume(channel, 0.01f);
    EXPECT_FLOAT_EQ(manager->GetChannelLevel(channel), 0.1f);
    manager->SetChannelVolume(channel, 5.0f);
    EXPECT_FLOAT_EQ(manager->GetChannelLevel(channel), 1.0f);

    manager->SetSwappedStereo(true);
    EXPECT_EQ(manager->SetChannelPan(channel, -0.5f), 1);
    EXPECT_EQ(Voice(channel).pan, 2632);

    EXPECT_EQ(manager->SetChannelFrequency(channel, 1.5f), 1);
    EXPECT_EQ(Voice(channel).frequency, 12000u);
    // Relative to the sound's own rate, not to the last setting.
    manager->SetChannelFrequency(channel, 0.5f);
    EXPECT_EQ(Voice(channel).frequency, 4000u);
    // Rates no device plays, and NaN, leave it unchanged.
    for (float factor : {-1.0f, 0.0f, 1000.0f, std::numeric_limits<float>::quiet_NaN()}) {
        manager->SetChannelFrequency(channel, factor);
        EXPECT_EQ(Voice(channel).frequency, 4000u) << factor;
    }
}

TEST_F(SoundManagerTest, EachGroupGainReachesOnlyItsOwnPlayingChannelsAtOnce)
{
    const uint32_t sound = LoadOneSecond();
    const uint32_t effect = NewChannel(sound, true);
    const uint32_t song = NewChannel(sound, true);
    EXPECT_EQ(manager->SetChannelGroup(song, PXSoundGroup::Music), 1);
    manager->PlayChannel(effect);
    manager->PlayChannel(song);
    manager->SetChannelVolume(effect, 0.5f);
    manager->SetChannelVolume(song, 0.5f);
    ASSERT_EQ(Voice(effect).volume, -3010);
    ASSERT_EQ(Voice(song).volume, -3010);

    // No Update in between: the change is heard at once, by its own group only.
    manager->SetGroupVolume(PXSoundGroup::Music, PXVolumeGain(50));
    EXPECT_EQ(Voice(song).volume, -3010 - 1204);
    EXPECT_EQ(Voice(effect).volume, -3010);
    manager->SetGroupVolume(PXSoundGroup::Effects, PXVolumeGain(0));
    EXPECT_EQ(Voice(effect).volume, -10000);
    EXPECT_EQ(Voice(song).volume, -3010 - 1204);
    // The frame's Update keeps what the gains made.
    manager->Update(10.0f);
    EXPECT_EQ(Voice(effect).volume, -10000);
    EXPECT_EQ(Voice(song).volume, -3010 - 1204);
    // Silent is not stopped: the effect plays on and comes back with its gain.
    EXPECT_TRUE(manager->IsChannelPlaying(effect));
    manager->SetGroupVolume(PXSoundGroup::Effects, 1.0f);
    EXPECT_EQ(Voice(effect).volume, -3010);

    // Mute wins over every gain, and lifting it brings each group's own volume back.
    manager->SetSoundEnabled(false);
    manager->Update(10.0f);
    EXPECT_EQ(Voice(effect).volume, -10000);
    EXPECT_EQ(Voice(song).volume, -10000);
    manager->SetGroupVolume(PXSoundGroup::Music, 1.0f);
    EXPECT_EQ(Voice(song).volume, -10000);
    manager->SetSoundEnabled(true);
    manager->Update(10.0f);
    EXPECT_EQ(Voice(effect).volume, -3010);
    EXPECT_EQ(Voice(song).volume, -3010);
}

TEST_F(SoundManagerTest, ANewChannelIsAtItsGroupsGainBeforeItPlays)
{
    manager->SetGroupVolume(PXSoundGroup::Effects, 0.0f);
    const uint32_t sound = LoadOneSecond();
    const uint32_t effect = NewChannel(sound);
    EXPECT_EQ(Voice(effect).volume, -10000);
    // Moving it to the music group gives it that group's gain at once.
    manager->SetGroupVolume(PXSoundGroup::Music, 0.25f);
    manager->SetChannelGroup(effect, PXSoundGroup::Music);
    EXPECT_EQ(Voice(effect).volume, -1204);
    EXPECT_EQ(manager->SetChannelGroup(99, PXSoundGroup::Music), 1);
}

TEST_F(SoundManagerTest, UnknownChannelIdsAreIgnored)
{
    EXPECT_EQ(manager->SetChannelVolume(5, 0.5f), 1);
    EXPECT_EQ(manager->SetChannelPan(5, 0.5f), 1);
    EXPECT_EQ(manager->SetChannelFrequency(5, 2.0f), 1);
    EXPECT_EQ(manager->PlayChannel(5), 1);
    EXPECT_EQ(manager->PauseChannel(5), 1);
    EXPECT_EQ(manager->StopChannel(5), 1);
    EXPECT_EQ(manager->FadeInChannel(5, 10.0f), 1);
    EXPECT_EQ(manager->FadeOutChannel(5, 10.0f), 1);
    EXPECT_FALSE(manager->IsChannelPlaying(5));
    EXPECT_TRUE(device->Voices().empty());
}

TEST_F(SoundManagerTest, SoundAndChannelIdsAreNeverReused)
{
    uint32_t first = LoadOneSecond();
    uint32_t second = LoadOneSecond();
    EXPECT_EQ(first, 0u);
    EXPECT_EQ(second, 1u);
    uint32_t a = NewChannel(first);
    uint32_t b = NewChannel(second);
    uint32_t c = NewChannel(first);
    EXPECT_EQ(manager->StopChannel(c), 1);
    EXPECT_FALSE(manager->HasChannel(c));
    EXPECT_EQ(NewChannel(second), 3u);

    // Unloading a sound ends its channels only.
    EXPECT_EQ(manager->UnloadSound(first), 1);
    EXPECT_FALSE(manager->HasChannel(a));
    EXPECT_TRUE(manager->HasChannel(b));
    EXPECT_TRUE(device->Buffers()[0]->released);
    EXPECT_EQ(manager->UnloadSound(first), 0);
    EXPECT_EQ(LoadOneSecond(), 2u);
    EXPECT_EQ(manager->CreateChannel(first, a, false), 0);
    EXPECT_EQ(NewChannel(second), 4u);
}

TEST_F(SoundManagerTest, MutedSoundsMakeNoChannelsAndDoNotStart)
{
    uint32_t sound = LoadOneSecond();
    uint32_t channel = NewChannel(sound);
    manager->SetSoundEnabled(false);
    uint32_t id = 42;
    EXPECT_EQ(manager->CreateChannel(sound, id, false), 0);
    EXPECT_EQ(id, 42u);
    EXPECT_EQ(manager->PlayChannel(channel), 0);
    EXPECT_EQ(manager->FadeInChannel(channel, 100.0f), 0);
    EXPECT_EQ(manager->SetChannelPan(channel, 1.0f), 0);
    EXPECT_EQ(manager->SetChannelFrequency(channel, 2.0f), 0);
    EXPECT_EQ(Voice(channel).playCalls, 0);
    EXPECT_EQ(Voice(channel).pan, 0);
    EXPECT_EQ(Voice(channel).frequency, 8000u);
}

TEST_F(SoundManagerTest, FinishedOneShotsGoWhileLoopingPausedAndNewChannelsStay)
{
    uint32_t sound = LoadOneSecond();
    uint32_t once = NewChannel(sound);
    uint32_t looping = NewChannel(sound, true);
    uint32_t paused = NewChannel(sound);
    uint32_t fresh = NewChannel(sound);
    for (uint32_t channel : {once, looping, paused})
        manager->PlayChannel(channel);
    EXPECT_TRUE(manager->IsChannelPlaying(once));
    EXPECT_FALSE(manager->IsChannelPlaying(fresh));

    device->Advance(400.0);
    manager->PauseChannel(paused);
    EXPECT_FALSE(manager->IsChannelPlaying(paused));
    device->Advance(700.0);
    EXPECT_EQ(manager->Update(16.0f), 1);

    EXPECT_FALSE(manager->HasChannel(once));
    EXPECT_TRUE(Voice(once).released);
    EXPECT_TRUE(manager->HasChannel(looping));
    EXPECT_TRUE(manager->IsChannelPlaying(looping));
    EXPECT_TRUE(manager->HasChannel(paused));
    EXPECT_TRUE(manager->HasChannel(fresh));

    // Play resumes a paused channel where it stopped.
    EXPECT_EQ(manager->PlayChannel(paused), 1);
    EXPECT_EQ(Voice(paused).position, 3200.0);
    EXPECT_TRUE(manager->IsChannelPlaying(paused));
}

TEST_F(SoundManagerTest, LoopFlagReachesTheVoice)
{
    uint32_t sound = LoadOneSecond();
    uint32_t once = NewChannel(sound);
    uint32_t looping = NewChannel(sound, true);
    manager->PlayChannel(once);
    manager->FadeInChannel(looping, 10.0f);
    EXPECT_FALSE(Voice(once).looping);
    EXPECT_TRUE(Voice(looping).looping);
}

TEST_F(SoundManagerTest, FadeOutHalvesThenEndsTheChannel)
{
    uint32_t channel = NewChannel(LoadOneSecond(), true);
    manager->PlayChannel(channel);
    EXPECT_EQ(manager->FadeOutChannel(channel, 2.0f), 1);
    manager->Update(1.0f);
    EXPECT_FLOAT_EQ(manager->GetChannelLevel(channel), 0.5f);
    EXPECT_EQ(Voice(channel).volume, -3010);
    manager->Update(1.0f);
    EXPECT_FALSE(manager->HasChannel(channel));
    EXPECT_TRUE(Voice(channel).released);
}

TEST_F(SoundManagerTest, FadeInRisesToFullAndStops)
{
    uint32_t channel = NewChannel(LoadOneSecond(), true);
    manager->SetChannelVolume(channel, 0.1f);
    EXPECT_EQ(manager->FadeInChannel(channel, 900.0f), 1);
    EXPECT_TRUE(manager->IsChannelPlaying(channel));
    manager->Update(450.0f);
    EXPECT_NEAR(manager->GetChannelLevel(channel), 0.55f, 1e-5);
    EXPECT_EQ(Voice(channel).volume, -2596);
    manager->Update(600.0f);
    EXPECT_FLOAT_EQ(manager->GetChannelLevel(channel), 1.0f);
    EXPECT_EQ(Voice(channel).volume, 0);
    // The fade is over: a later Update leaves the level alone.
    manager->SetChannelVolume(channel, 0.5f);
    manager->Update(450.0f);
    EXPECT_FLOAT_EQ(manager->GetChannelLevel(channel), 0.5f);
}

TEST_F(SoundManagerTest, MutingDuringAFadeSilencesButKeepsFading)
{
    uint32_t channel = NewChannel(LoadOneSecond(), true);
    manager->FadeOutChannel(channel, 100.0f);
    manager->Update(25.0f);
    EXPECT_EQ(Voice(channel).volume, -1249);
    manager->SetSoundEnabled(false);
    manager->Update(25.0f);
    EXPECT_EQ(Voice(channel).volume, -10000);
    EXPECT_TRUE(manager->HasChannel(channel));
    EXPECT_FLOAT_EQ(manager->GetChannelLevel(channel), 0.5f);
    manager->Update(50.0f);
    EXPECT_FALSE(manager->HasChannel(channel));
}

TEST_F(SoundManagerTest, FadeOutResumesAPausedChannelAndFadeOutAllReachesEveryChannel)
{
    uint32_t sound = LoadOneSecond();
    uint32_t paused = NewChannel(sound);
    uint32_t playing = NewChannel(sound, true);
    manager->PlayChannel(paused);
    manager->PlayChannel(playing);
    manager->PauseChannel(paused);
    EXPECT_EQ(manager->FadeOutAllChannels(10.0f), 1);
    EXPECT_TRUE(manager->IsChannelPlaying(paused));
    manager->Update(5.0f);
    EXPECT_FLOAT_EQ(manager->GetChannelLevel(paused), 0.5f);
    EXPECT_FLOAT_EQ(manager->GetChannelLevel(playing), 0.5f);
    manager->Update(5.0f);
    EXPECT_FALSE(manager->HasChannel(paused));
    EXPECT_FALSE(manager->HasChannel(playing));
}

TEST_F(SoundManagerTest, PausedChannelsStillFade)
{
    uint32_t channel = NewChannel(LoadOneSecond());
    manager->PlayChannel(channel);
    manager->FadeOutChannel(channel, 100.0f);
    manager->PauseChannel(channel);
    manager->Update(50.0f);
    EXPECT_FLOAT_EQ(manager->GetChannelLevel(channel), 0.5f);
    manager->Update(50.0f);
    EXPECT_FALSE(manager->HasChannel(channel));
}

TEST_F(SoundManagerTest, FadesWithoutDurationTakeEffectOnTheNextUpdate)
{
    uint32_t sound = LoadOneSecond();
    uint32_t in = NewChannel(sound, true);
    uint32_t out = NewChannel(sound, true);
    manager->SetChannelVolume(in, 0.2f);
    manager->FadeInChannel(in, 0.0f);
    manager->FadeOutChannel(out, -5.0f);
    // A zero elapsed time must not turn the level into NaN.
    manager->Update(0.0f);
    EXPECT_FLOAT_EQ(manager->GetChannelLevel(in), 0.2f);
    manager->Update(1.0f);
    EXPECT_FLOAT_EQ(manager->GetChannelLevel(in), 1.0f);
    EXPECT_EQ(Voice(in).volume, 0);
    EXPECT_FALSE(manager->HasChannel(out));
}

TEST_F(SoundManagerTest, StopAllChannelsReleasesEveryVoice)
{
    uint32_t sound = LoadOneSecond();
    for (int i = 0; i < 3; ++i)
        manager->PlayChannel(NewChannel(sound));
    EXPECT_EQ(manager->StopAllChannels(), 1);
    EXPECT_EQ(device->LiveVoices(), 0);
    EXPECT_EQ(device->LiveBuffers(), 1);
    EXPECT_EQ(manager->Update(1.0f), 1);
}

TEST_F(SoundManagerTest, LoadingCopiesFormatAndPadsOddData)
{
    std::vector<uint8_t> bytes = WaveBuilder().Format(2, 11025, 8).Data({1, 2, 3, 4, 5}).Bytes();
    bytes.pop_back();  // no pad byte stored in the file
    uint32_t id = 0;
    ASSERT_EQ(manager->LoadSoundFromMemory(bytes.data(), bytes.size(), id), 1);
    const PXRecordedBuffer& buffer = *device->Buffers().at(0);
    EXPECT_EQ(buffer.size, 6u);
    EXPECT_TRUE(buffer.isStatic);
    EXPECT_EQ(buffer.data, (std::vector<uint8_t>{1, 2, 3, 4, 5, 0}));
    EXPECT_EQ(buffer.format.channels, 2);
    EXPECT_EQ(buffer.format.samplesPerSec, 11025u);
    EXPECT_EQ(buffer.format.blockAlign, 2);
}

TEST_F(SoundManagerTest, LoadSoundReadsTheRestOfTheStream)
{
    std::vector<uint8_t> bytes{'j', 'u', 'n', 'k'};
    std::vector<uint8_t> wave = OneSecondWave();
    bytes.insert(bytes.end(), wave.begin(), wave.end());
    std::unique_ptr<PXBuffer> stream = StreamOf(bytes);
    ASSERT_TRUE(stream->Seek(0, 4));
    uint32_t id = 99;
    EXPECT_EQ(manager->LoadSound(stream.get(), id), 1);
    EXPECT_EQ(id, 0u);
    EXPECT_EQ(device->Buffers().at(0)->size, 8000u);

    EXPECT_EQ(manager->LoadSound(StreamOf(std::vector<uint8_t>(bytes.begin(), bytes.begin() + 30)).get(), id),
              0);
    EXPECT_EQ(manager->LoadSound(StreamOf({}).get(), id), 0);
    EXPECT_EQ(manager->LoadSound(nullptr, id), 0);
    EXPECT_EQ(id, 0u);
    // A refused file writes no log line.
    EXPECT_EQ(dir.Read("log.txt"), "");
}

TEST_F(SoundManagerTest, BufferCreationFallsBackThenFailsWithLogLines)
{
    std::vector<uint8_t> bytes = OneSecondWave();
    uint32_t id = 7;
    device->FailNextBuffers(1);
    ASSERT_EQ(manager->LoadSoundFromMemory(bytes.data(), bytes.size(), id), 1);
    EXPECT_EQ(id, 0u);
    EXPECT_FALSE(device->Buffers().at(0)->isStatic);
    EXPECT_EQ(dir.Read("log.txt"), "Failed to create static Sound Buffer\n");

    device->FailNextBuffers(2);
    EXPECT_EQ(manager->LoadSoundFromMemory(bytes.data(), bytes.size(), id), 0);
    EXPECT_EQ(dir.Read("log.txt"), "Failed to create static Sound Buffer\n"
                                   "Failed to create static Sound Buffer\n"
                                   "Failed to create Sound Buffer\n");
    // The failure used up no id.
    EXPECT_EQ(LoadOneSecond(), 1u);
}

TEST_F(SoundManagerTest, FillFailuresLogTheirCause)
{
    struct Case {
        PXAudioResult result;
        const char* line;
    };
    const Case cases[] = {
        {PXAudioResult::BufferLost, "Buffer Lost\n"},
        {PXAudioResult::PriorityLevelNeeded, "Priority Level Needed\n"},
        {PXAudioResult::InvalidParam, "Invalid Param\n"},
        {PXAudioResult::InvalidCall, "Invalid Call\n"},
        {PXAudioResult::Unknown, "Unknown Error\n"},
    };
    std::vector<uint8_t> bytes = OneSecondWave();
    std::string expected;
    for (const Case& c : cases) {
        device->SetFillResult(c.result);
        uint32_t id = 5;
        EXPECT_EQ(manager->LoadSoundFromMemory(bytes.data(), bytes.size(), id), 0);
        EXPECT_EQ(id, 5u);
        expected += std::string("Failed to lock sound buffer\n") + c.line;
    }
    EXPECT_EQ(dir.Read("log.txt"), expected);
    EXPECT_EQ(device->LiveBuffers(), 0);
}

TEST_F(SoundManagerTest, AChannelWithoutAVoiceIsNotCreated)
{
    uint32_t sound = LoadOneSecond();
    device->SetVoicesFail(true);
    uint32_t id = 3;
    EXPECT_EQ(manager->CreateChannel(sound, id, false), 0);
    EXPECT_EQ(id, 3u);
    device->SetVoicesFail(false);
    EXPECT_EQ(NewChannel(sound), 0u);
}

TEST_F(SoundManagerTest, ModuleMusicDoesNothing)
{
    uint32_t music = 12;
    EXPECT_EQ(manager->LoadMusic("song.xm", music), 0);
    EXPECT_EQ(music, 12u);
    EXPECT_EQ(manager->PlayMusic(0), 0);
    EXPECT_EQ(manager->StopMusic(), 0);
    EXPECT_EQ(manager->UnloadMusic(0), 0);
    EXPECT_FALSE(manager->IsMusicPlaying());
}

TEST(SoundManagerShutdown, VoicesAreReleasedBeforeTheirBuffers)
{
    auto owned = std::make_unique<PXRecordingAudioDevice>();
    PXRecordingAudioDevice& device = *owned;
    auto manager = std::make_unique<PXDeviceSoundManager>(std::move(owned));
    ASSERT_EQ(manager->Init(0), 1);
    std::vector<uint8_t> bytes = OneSecondWave();
    uint32_t sound = 0, channel = 0;
    ASSERT_EQ(manager->LoadSoundFromMemory(bytes.data(), bytes.size(), sound), 1);
    ASSERT_EQ(manager->CreateChannel(sound, channel, true), 1);
    manager->PlayChannel(channel);
    // The states outlive the device, which dies with the manager.
    std::shared_ptr<PXRecordedVoice> voice = device.Voices().at(0);
    std::shared_ptr<PXRecordedBuffer> buffer = device.Buffers().at(0);
    manager.reset();
    EXPECT_TRUE(voice->released);
    EXPECT_TRUE(buffer->released);
    EXPECT_LT(voice->releasedAtCall, buffer->releasedAtCall);
}

}  // namespace
