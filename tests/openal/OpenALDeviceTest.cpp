// The OpenAL Soft device rendered through the loopback device: generated tones must come
// out at the level, balance and pitch the sound manager asked for.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <vector>

#include "engine/sound/PXDeviceSoundManager.h"
#include "platform/openal/PXOpenALAudioDevice.h"
#include "tests/support/WaveBuilder.h"

namespace {

constexpr int Rate = 44100;
constexpr double Amplitude = 16384.0;
constexpr double Pi = 3.14159265358979323846;

// A 16-bit sine of `hz` for `seconds`; stereo files carry it on the left only.
std::vector<uint8_t> ToneWave(double hz, double seconds, int channels = 1)
{
    std::vector<uint8_t> samples;
    int frames = static_cast<int>(seconds * Rate);
    for (int i = 0; i < frames; ++i) {
        auto value = static_cast<int16_t>(std::lround(Amplitude * std::sin(2.0 * Pi * hz * i / Rate)));
        WaveBuilder::Put16(samples, static_cast<uint16_t>(value));
        if (channels == 2)
            WaveBuilder::Put16(samples, 0);
    }
    return WaveBuilder().Format(static_cast<uint16_t>(channels), Rate, 16).Data(samples).Bytes();
}

struct Levels {
    double left;
    double right;
};

double ToDb(double rms)
{
    return 20.0 * std::log10(rms / (Amplitude / std::sqrt(2.0)));
}

class OpenALDeviceTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        auto owned = PXOpenALAudioDevice::CreateLoopback(Rate);
        device = owned.get();
        manager = std::make_unique<PXDeviceSoundManager>(std::move(owned));
        ASSERT_EQ(manager->Init(0), 1) << "OpenAL Soft loopback device unavailable";
    }

    uint32_t PlayTone(double hz, double seconds, bool loop, int channels = 1)
    {
        std::vector<uint8_t> bytes = ToneWave(hz, seconds, channels);
        uint32_t sound = 0;
        uint32_t channel = 0;
        EXPECT_EQ(manager->LoadSoundFromMemory(bytes.data(), bytes.size(), sound), 1);
        EXPECT_EQ(manager->CreateChannel(sound, channel, loop), 1);
        return channel;
    }

    std::vector<int16_t> Render(int frames)
    {
        std::vector<int16_t> out(2 * static_cast<size_t>(frames));
        EXPECT_TRUE(device->Render(out.data(), frames));
        return out;
    }

    // RMS per side in decibels against the full-scale tone, measured over 0.1 s after
    // 10 ms of settling (gain and position changes are smoothed in by the mixer).
    Levels Measure()
    {
        std::vector<int16_t> out = Render(Rate / 100 + Rate / 10);
        double left = 0.0;
        double right = 0.0;
        for (size_t i = 2 * (Rate / 100); i < out.size(); i += 2) {
            left += static_cast<double>(out[i]) * out[i];
            right += static_cast<double>(out[i + 1]) * out[i + 1];
        }
        double count = Rate / 10;
        return {ToDb(std::sqrt(left / count)), ToDb(std::sqrt(right / count))};
    }

    PXOpenALAudioDevice* device = nullptr;
    std::unique_ptr<PXDeviceSoundManager> manager;
};

TEST_F(OpenALDeviceTest, ToneComesOutAtTheChannelVolume)
{
    // The volume rule's hundredths of a decibel are real decibels at the output: a level of
    // 0.5 is -3010, so -30.1 dB.
    struct Case {
        float master;
        float level;
        double db;
    };
    const Case cases[] = {{1.0f, 1.0f, 0.0}, {1.0f, 0.5f, -30.1}, {0.5f, 0.5f, -60.2}, {1.0f, 0.8f, -9.69}};
    for (const Case& c : cases) {
        manager->SetVolume(c.master);
        uint32_t channel = PlayTone(441.0, 1.0, true);
        manager->SetChannelVolume(channel, c.level);
        manager->PlayChannel(channel);
        Levels levels = Measure();
        EXPECT_NEAR(levels.left, c.db, 0.2) << c.master << " " << c.level;
        EXPECT_NEAR(levels.right, c.db, 0.2) << c.master << " " << c.level;
        manager->StopAllChannels();
    }
}

TEST_F(OpenALDeviceTest, PanAttenuatesTheOtherSideInDecibels)
{
    for (float pan : {-0.9f, -0.5f, -0.25f, 0.1f, 0.5f, 0.75f}) {
        uint32_t channel = PlayTone(441.0, 1.0, true);
        manager->SetChannelPan(channel, pan);
        manager->PlayChannel(channel);
        double attenuation = std::abs(PXDeviceSoundManager::PanFor(pan, false)) / 100.0;
        Levels levels = Measure();
        double loud = pan < 0 ? levels.left : levels.right;
        double quiet = pan < 0 ? levels.right : levels.left;
        EXPECT_NEAR(loud, 0.0, 0.2) << pan;
        EXPECT_NEAR(quiet, -attenuation, 0.3) << pan;
        manager->StopAllChannels();
    }
}

TEST_F(OpenALDeviceTest, HardPanSilencesOneSideAndSwappedStereoMirrors)
{
    uint32_t channel = PlayTone(441.0, 1.0, true);
    manager->SetChannelPan(channel, -1.0f);
    manager->PlayChannel(channel);
    Levels left = Measure();
    EXPECT_NEAR(left.left, 0.0, 0.2);
    EXPECT_LT(left.right, -80.0);

    manager->SetSwappedStereo(true);
    manager->SetChannelPan(channel, -1.0f);
    Measure();  // lets the mixer's smoothing settle at the new position
    Levels swapped = Measure();
    EXPECT_LT(swapped.left, -80.0);
    EXPECT_NEAR(swapped.right, 0.0, 0.2);
}

TEST_F(OpenALDeviceTest, FrequencyFactorChangesThePitch)
{
    auto crossings = [](const std::vector<int16_t>& out) {
        int count = 0;
        for (size_t i = 2; i < out.size(); i += 2)
            count += (out[i - 2] < 0) != (out[i] < 0) ? 1 : 0;
        return count;
    };
    uint32_t channel = PlayTone(441.0, 1.0, true);
    manager->PlayChannel(channel);
    EXPECT_NEAR(crossings(Render(Rate / 10)), 88, 2);
    manager->SetChannelFrequency(channel, 2.0f);
    Render(Rate / 100);
    EXPECT_NEAR(crossings(Render(Rate / 10)), 176, 3);
}

TEST_F(OpenALDeviceTest, PauseKeepsThePositionAndOneShotsEnd)
{
    uint32_t channel = PlayTone(441.0, 0.25, false);
    manager->PlayChannel(channel);
    Render(Rate / 10);
    EXPECT_TRUE(manager->IsChannelPlaying(channel));
    manager->PauseChannel(channel);
    EXPECT_FALSE(manager->IsChannelPlaying(channel));
    Levels paused = Measure();
    EXPECT_LT(paused.left, -80.0);

    // 0.1 s of the 0.25 s are left after resuming.
    manager->PlayChannel(channel);
    Render(Rate / 20);
    EXPECT_TRUE(manager->IsChannelPlaying(channel));
    Render(Rate / 10);
    EXPECT_FALSE(manager->IsChannelPlaying(channel));
    manager->Update(16.0f);
    EXPECT_FALSE(manager->HasChannel(channel));
}

TEST_F(OpenALDeviceTest, StereoSoundsKeepTheirChannels)
{
    uint32_t channel = PlayTone(441.0, 1.0, true, 2);
    manager->PlayChannel(channel);
    Levels levels = Measure();
    EXPECT_NEAR(levels.left, 0.0, 0.2);
    EXPECT_LT(levels.right, -80.0);
}

TEST(OpenALDevice, AMissingOutputLeavesTheManagerUninitialised)
{
    // Whether Init opens the output or waits for an opening begun ahead of it.
    for (bool ahead : {false, true}) {
        SCOPED_TRACE(ahead ? "opened ahead" : "opened by Init");
        auto device = std::make_unique<PXOpenALAudioDevice>("no such output device");
        if (ahead)
            device->BeginOpen();
        PXDeviceSoundManager manager(std::move(device));
        EXPECT_EQ(manager.Init(0), 0);
        uint32_t channel = 0;
        EXPECT_EQ(manager.CreateChannel(0, channel, false), 0);
    }
}

TEST(OpenALDevice, PanAngleMatchesTheStereoLawAtItsEnds)
{
    double loud = 0.0;
    EXPECT_NEAR(PXOpenALAudioDevice::AngleForPan(0, loud), 0.0, 1e-9);
    EXPECT_NEAR(loud, 0.5957, 1e-3);  // both speakers at -4.5 dB straight ahead
    // Hard right reaches the stretched azimuth's end: 60 degrees.
    EXPECT_NEAR(PXOpenALAudioDevice::AngleForPan(10000, loud), 3.14159265 / 3.0, 1e-2);
    EXPECT_NEAR(loud, 1.0, 1e-3);
    double mirrored = 0.0;
    EXPECT_DOUBLE_EQ(PXOpenALAudioDevice::AngleForPan(-2632, mirrored),
                     -PXOpenALAudioDevice::AngleForPan(2632, loud));
}

}  // namespace
