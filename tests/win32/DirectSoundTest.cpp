// The sound manager on DirectSound: buffers filled through Lock, duplicates per channel,
// the controls of a voice, and the window its focus follows. Skipped where no DirectSound
// device opens.
#include <gtest/gtest.h>

#include <windows.h>

#include <memory>
#include <vector>

#include "platform/win32/PXDirectSoundAudioDevice.h"
#include "platform/win32/PXWin32SoundManager.h"
#include "tests/support/WaveBuilder.h"

namespace {

PXWaveFormat Mono16(uint32_t rate)
{
    PXWaveFormat f;
    f.formatTag = 1;
    f.channels = 1;
    f.samplesPerSec = rate;
    f.blockAlign = 2;
    f.avgBytesPerSec = rate * 2;
    f.bitsPerSample = 16;
    return f;
}

class DirectSoundTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!device.Open())
            GTEST_SKIP() << "no DirectSound device";
    }
    PXDirectSoundAudioDevice device;
};

TEST_F(DirectSoundTest, DuplicatesPlayAndStopOnTheirOwn)
{
    std::vector<uint8_t> samples(22050 * 2, 0x10);
    auto buffer = device.CreateBuffer(Mono16(22050), static_cast<uint32_t>(samples.size()), true);
    ASSERT_NE(buffer, nullptr);
    ASSERT_EQ(buffer->Fill(samples.data(), static_cast<uint32_t>(samples.size())), PXAudioResult::Ok);
    auto first = buffer->CreateVoice();
    auto second = buffer->CreateVoice();
    ASSERT_NE(first, nullptr);
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(first->GetFrequency(), 22050u);

    first->SetPosition(1000);
    EXPECT_EQ(first->GetPosition(), 1000u);
    EXPECT_EQ(second->GetPosition(), 0u) << "each duplicate has its own position";
    first->Play(true);
    EXPECT_TRUE(first->IsPlaying());
    EXPECT_FALSE(second->IsPlaying());
    first->Stop();
    EXPECT_FALSE(first->IsPlaying());

    second->SetFrequency(44100);
    EXPECT_EQ(second->GetFrequency(), 44100u);
    EXPECT_EQ(first->GetFrequency(), 22050u);
    // Out-of-range controls are clamped, not refused or passed on.
    second->SetVolume(-20000);
    second->SetPan(20000);
    second->SetFrequency(0);
    EXPECT_GE(second->GetFrequency(), 100u);
}

TEST(Win32SoundManager, LoadsAndPlaysWaveFilesOnDuplicates)
{
    PXWin32SoundManager sound;
    sound.SetWindow(nullptr);
    if (!sound.Init(8))
        GTEST_SKIP() << "no DirectSound device";
    // An odd data size gets its pad byte.
    const std::vector<uint8_t> wav = WaveBuilder().Format(1, 11025, 8).Data(std::vector<uint8_t>(1001, 128)).Bytes();
    uint32_t id = 99;
    ASSERT_EQ(sound.LoadSoundFromMemory(wav.data(), wav.size(), id), 1);
    uint32_t a = 0, b = 0;
    ASSERT_EQ(sound.CreateChannel(id, a, true), 1);
    ASSERT_EQ(sound.CreateChannel(id, b, false), 1);
    EXPECT_NE(a, b);
    EXPECT_EQ(sound.PlayChannel(a), 1);
    EXPECT_TRUE(sound.IsChannelPlaying(a));
    EXPECT_FALSE(sound.IsChannelPlaying(b));
    EXPECT_EQ(sound.SetChannelVolume(a, 0.5f), 1);
    EXPECT_EQ(sound.SetChannelPan(a, -1.0f), 1);
    EXPECT_EQ(sound.SetChannelFrequency(a, 2.0f), 1);
    EXPECT_EQ(sound.UnloadSound(id), 1);
    EXPECT_FALSE(sound.HasChannel(a)) << "a sound's channels go with it";
    EXPECT_FALSE(sound.HasChannel(b));
}

// The game's window is made after the sound opened; DirectSound's focus must follow it, not
// whichever window was in front at the start.
TEST(Win32SoundManager, FollowsTheGameWindowOnceItExists)
{
    PXWin32SoundManager sound;
    if (!sound.Init(8))
        GTEST_SKIP() << "no DirectSound device";
    HWND window = CreateWindowExA(0, "STATIC", "Shardfall sound focus", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100,
                                  nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    if (window == nullptr)
        GTEST_SKIP() << "no window can be created here (no display)";
    EXPECT_NE(sound.GetCooperativeWindow(), window);
    EXPECT_EQ(sound.SetWindow(window), 1);
    EXPECT_EQ(sound.GetCooperativeWindow(), window);
    DestroyWindow(window);
}

}  // namespace
