// A tone played through the OpenAL device with OpenAL Soft's file-writing backend: the
// written WAV must hold the tone at the channel's level. The backend is chosen by the
// environment when OpenAL starts, so the playing half runs in a child process.
#include <gtest/gtest.h>

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>
#include <vector>

#include "engine/sound/PXDeviceSoundManager.h"
#include "engine/sound/PXWaveFile.h"
#include "platform/openal/PXOpenALAudioDevice.h"
#include "tests/support/TempDir.h"
#include "tests/support/WaveBuilder.h"

extern char** environ;

namespace {

constexpr int Rate = 44100;
constexpr double Amplitude = 16384.0;

std::vector<uint8_t> Tone(double hz, double seconds)
{
    std::vector<uint8_t> samples;
    for (int i = 0; i < static_cast<int>(seconds * Rate); ++i) {
        auto value =
            static_cast<int16_t>(std::lround(Amplitude * std::sin(2.0 * 3.14159265358979 * hz * i / Rate)));
        WaveBuilder::Put16(samples, static_cast<uint16_t>(value));
    }
    return WaveBuilder().Format(1, Rate, 16).Data(samples).Bytes();
}

// Runs this test program again with only `test` selected and `extra` added to its
// environment; returns its exit status.
int RunChild(const std::string& test, const std::vector<std::string>& extra)
{
    std::vector<std::string> env(extra);
    for (char** e = environ; *e; ++e)
        env.emplace_back(*e);
    std::vector<char*> envp;
    for (std::string& s : env)
        envp.push_back(s.data());
    envp.push_back(nullptr);
    std::string self = "/proc/self/exe";
    std::string filter = "--gtest_filter=" + test;
    char* argv[] = {self.data(), filter.data(), nullptr};
    pid_t pid = 0;
    if (posix_spawn(&pid, self.c_str(), nullptr, nullptr, argv, envp.data()) != 0)
        return -1;
    int status = 0;
    if (waitpid(pid, &status, 0) != pid || !WIFEXITED(status))
        return -1;
    return WEXITSTATUS(status);
}

// The child: plays a looping tone at level 0.8 (-9.69 dB) for half a second of real time.
// SF_WAVE_CHILD=ahead opens the output on its own thread first, as the game does.
TEST(OpenALWaveBackend, ChildPlaysTone)
{
    const char* mode = std::getenv("SF_WAVE_CHILD");
    if (!mode)
        GTEST_SKIP() << "started by WrittenFileHoldsTheTone";
    auto device = std::make_unique<PXOpenALAudioDevice>();
    if (std::string(mode) == "ahead")
        device->BeginOpen();
    PXDeviceSoundManager manager(std::move(device));
    ASSERT_EQ(manager.Init(0), 1);
    std::vector<uint8_t> bytes = Tone(441.0, 1.0);
    uint32_t sound = 0;
    uint32_t channel = 0;
    ASSERT_EQ(manager.LoadSoundFromMemory(bytes.data(), bytes.size(), sound), 1);
    ASSERT_EQ(manager.CreateChannel(sound, channel, true), 1);
    manager.SetChannelVolume(channel, 0.8f);
    manager.PlayChannel(channel);
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    EXPECT_TRUE(manager.IsChannelPlaying(channel));
}

// Plays the tone in a child with the output opened per `mode` and checks the file it wrote.
void ExpectToneWritten(const std::string& mode)
{
    TempDir dir;
    std::string out = dir.Folder() + "out.wav";
    {
        std::ofstream conf(dir.Folder() + "alsoft.conf");
        conf << "[general]\nchannels = stereo\nsample-type = int16\nfrequency = " << Rate
             << "\noutput-limiter = false\n[wave]\nfile = " << out << "\n";
    }
    ASSERT_EQ(RunChild("OpenALWaveBackend.ChildPlaysTone", {"SF_WAVE_CHILD=" + mode, "ALSOFT_DRIVERS=wave",
                                                            "ALSOFT_CONF=" + dir.Folder() + "alsoft.conf"}),
              0);

    std::ifstream in(out, std::ios::binary);
    std::vector<uint8_t> file((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    // The backend writes the extensible format (tag 0xFFFE), which our loader refuses;
    // read it as PCM, whose layout it shares.
    ASSERT_GT(file.size(), 22u);
    ASSERT_EQ(file[20] | file[21] << 8, 0xFFFE);
    file[20] = 1;
    file[21] = 0;
    PXWaveData wave;
    ASSERT_EQ(PXParseWave(file.data(), file.size(), wave), 1);
    ASSERT_EQ(wave.format.channels, 2);
    ASSERT_EQ(wave.format.bitsPerSample, 16);
    ASSERT_EQ(wave.format.samplesPerSec, static_cast<uint32_t>(Rate));

    // The RMS per side over the tone's span: from the first to the last frame clearly above
    // silence. The output is dithered, so the frames written before the tone starts (more of
    // them on a loaded machine) are not exactly zero; counting them would lower the level.
    size_t frames = wave.dataSize / 4;
    auto sample = [&](size_t frame, int side) {
        const uint8_t* p = file.data() + wave.dataOffset + 4 * frame + 2 * side;
        return static_cast<int16_t>(p[0] | p[1] << 8);
    };
    auto loud = [&](size_t frame) { return std::abs(sample(frame, 0)) > 256 || std::abs(sample(frame, 1)) > 256; };
    size_t first = 0;
    while (first < frames && !loud(first))
        ++first;
    size_t end = frames;
    while (end > first && !loud(end - 1))
        --end;
    double sum[2] = {0.0, 0.0};
    for (size_t i = first; i < end; ++i) {
        for (int side = 0; side < 2; ++side)
            sum[side] += static_cast<double>(sample(i, side)) * sample(i, side);
    }
    size_t sounding = end - first;
    // At least a fifth of a second of tone, whatever the machine's load did to timing.
    ASSERT_GT(sounding, static_cast<size_t>(Rate / 5));
    for (double side : sum) {
        double db = 20.0 * std::log10(std::sqrt(side / sounding) / (Amplitude / std::sqrt(2.0)));
        EXPECT_NEAR(db, -9.69, 0.5);
    }
}

TEST(OpenALWaveBackend, WrittenFileHoldsTheTone)
{
    for (const char* mode : {"now", "ahead"}) {
        SCOPED_TRACE(std::string("output opened ") + mode);
        ExpectToneWritten(mode);
    }
}

}  // namespace
