// The null audio device: voices keep time like real ones without holding any samples, and
// the sound manager runs on it as on any device.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "engine/core/PXGlobals.h"
#include "engine/sound/PXDeviceSoundManager.h"
#include "engine/sound/PXNullAudioDevice.h"
#include "tests/support/FakeSettingsManager.h"
#include "tests/support/TempDir.h"
#include "tests/support/WaveBuilder.h"

namespace {

// 8-bit mono at 8 kHz: 8 bytes a millisecond.
PXWaveFormat EightKiloHertzMono()
{
    PXWaveFormat format;
    format.formatTag = 1;
    format.channels = 1;
    format.samplesPerSec = 8000;
    format.avgBytesPerSec = 8000;
    format.blockAlign = 1;
    format.bitsPerSample = 8;
    return format;
}

TEST(NullAudioDevice, VoicesKeepTimeWithTheirFrequencyAndLoopFlag)
{
    struct Case {
        const char* name;
        bool play;
        bool loop;
        uint32_t frequency;
        double advanceMs;
        bool playingAfter;
        uint32_t positionAfter;
    };
    // A one-second buffer of 8000 bytes.
    const Case cases[] = {
        {"halfway", true, false, 8000, 500.0, true, 4000},
        {"one-shot at its end stops at the start", true, false, 8000, 1000.0, false, 0},
        {"looping wraps", true, true, 8000, 1250.0, true, 2000},
        {"double rate is twice as far", true, false, 16000, 250.0, true, 4000},
        {"not playing does not move", false, false, 8000, 500.0, false, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        PXNullAudioDevice device;
        ASSERT_TRUE(device.Open());
        std::unique_ptr<PXAudioBuffer> buffer = device.CreateBuffer(EightKiloHertzMono(), 8000, true);
        ASSERT_NE(buffer, nullptr);
        std::vector<uint8_t> samples(8000, 128);
        EXPECT_EQ(buffer->Fill(samples.data(), 8000), PXAudioResult::Ok);
        std::unique_ptr<PXAudioVoice> voice = buffer->CreateVoice();
        ASSERT_NE(voice, nullptr);
        EXPECT_EQ(voice->GetFrequency(), 8000u);
        voice->SetFrequency(c.frequency);
        if (c.play)
            voice->Play(c.loop);
        device.Advance(c.advanceMs);
        EXPECT_EQ(voice->IsPlaying(), c.playingAfter);
        EXPECT_EQ(voice->GetPosition(), c.positionAfter);
    }
}

TEST(NullAudioDevice, StoppedVoicesHoldTheirPlaceAndDestroyedOnesLeave)
{
    PXNullAudioDevice device;
    std::unique_ptr<PXAudioBuffer> buffer = device.CreateBuffer(EightKiloHertzMono(), 8000, false);
    std::unique_ptr<PXAudioVoice> kept = buffer->CreateVoice();
    std::unique_ptr<PXAudioVoice> dropped = buffer->CreateVoice();
    EXPECT_EQ(device.LiveVoices(), 2u);

    kept->Play(false);
    device.Advance(100.0);
    kept->Stop();
    device.Advance(100.0);
    EXPECT_EQ(kept->GetPosition(), 800u);
    kept->Play(false);
    device.Advance(100.0);
    EXPECT_EQ(kept->GetPosition(), 1600u);

    dropped.reset();
    EXPECT_EQ(device.LiveVoices(), 1u);
    kept.reset();
    EXPECT_EQ(device.LiveVoices(), 0u);
    // Nothing is left to move.
    device.Advance(100.0);
}

TEST(NullAudioDevice, FillRefusesMoreThanTheBufferHolds)
{
    PXNullAudioDevice device;
    std::unique_ptr<PXAudioBuffer> buffer = device.CreateBuffer(EightKiloHertzMono(), 4, true);
    const uint8_t samples[8] = {};
    EXPECT_EQ(buffer->Fill(samples, 4), PXAudioResult::Ok);
    EXPECT_EQ(buffer->Fill(samples, 8), PXAudioResult::InvalidParam);
}

TEST(NullAudioDevice, TheSoundManagerDropsFinishedOneShotsAndKeepsLoops)
{
    TempDir dir;
    FakeSettingsManager settings{dir.Folder()};
    g_settings = &settings;
    auto owned = std::make_unique<PXNullAudioDevice>();
    PXNullAudioDevice* device = owned.get();
    {
        PXDeviceSoundManager manager(std::move(owned));
        ASSERT_EQ(manager.Init(0), 1);
        const std::vector<uint8_t> wave =
            WaveBuilder().Format(1, 8000, 8).Data(std::vector<uint8_t>(8000, 128)).Bytes();
        uint32_t sound = 0;
        ASSERT_EQ(manager.LoadSoundFromMemory(wave.data(), wave.size(), sound), 1);
        uint32_t once = 0, looping = 0;
        ASSERT_EQ(manager.CreateChannel(sound, once, false), 1);
        ASSERT_EQ(manager.CreateChannel(sound, looping, true), 1);
        manager.PlayChannel(once);
        manager.PlayChannel(looping);

        device->Advance(1100.0);
        EXPECT_EQ(manager.Update(10.0f), 1);
        EXPECT_FALSE(manager.HasChannel(once));
        EXPECT_TRUE(manager.IsChannelPlaying(looping));
        EXPECT_EQ(device->LiveVoices(), 1u);
    }
    g_settings = nullptr;
}

}  // namespace
