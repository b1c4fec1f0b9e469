// Costs of the sound manager's per-frame work and of loading a WAV file.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <memory>
#include <vector>

#include "engine/sound/PXDeviceSoundManager.h"
#include "engine/sound/PXRecordingAudioDevice.h"
#include "engine/sound/PXWaveFile.h"

namespace {

void Put16(std::vector<uint8_t>& out, uint16_t v)
{
    out.push_back(static_cast<uint8_t>(v));
    out.push_back(static_cast<uint8_t>(v >> 8));
}

void Put32(std::vector<uint8_t>& out, uint32_t v)
{
    Put16(out, static_cast<uint16_t>(v));
    Put16(out, static_cast<uint16_t>(v >> 16));
}

// A stereo 16-bit 44.1 kHz file of `seconds`, with a LIST chunk before the data.
std::vector<uint8_t> MakeWave(int seconds)
{
    uint32_t dataBytes = static_cast<uint32_t>(seconds) * 44100u * 4u;
    std::vector<uint8_t> out{'R', 'I', 'F', 'F'};
    Put32(out, 4 + 8 + 16 + 8 + 4 + 8 + dataBytes);
    out.insert(out.end(), {'W', 'A', 'V', 'E', 'f', 'm', 't', ' '});
    Put32(out, 16);
    Put16(out, 1);
    Put16(out, 2);
    Put32(out, 44100);
    Put32(out, 44100 * 4);
    Put16(out, 4);
    Put16(out, 16);
    out.insert(out.end(), {'L', 'I', 'S', 'T'});
    Put32(out, 4);
    out.insert(out.end(), {'I', 'N', 'F', 'O', 'd', 'a', 't', 'a'});
    Put32(out, dataBytes);
    out.resize(out.size() + dataBytes, 0);
    return out;
}

void BM_ParseWave(benchmark::State& state)
{
    std::vector<uint8_t> bytes = MakeWave(10);
    for (auto _ : state) {
        PXWaveData wave;
        benchmark::DoNotOptimize(PXParseWave(bytes.data(), bytes.size(), wave));
    }
}
BENCHMARK(BM_ParseWave);

// Loading copies the samples twice (pad buffer, device buffer): the cost of a song.
void BM_LoadTenSecondSong(benchmark::State& state)
{
    std::vector<uint8_t> bytes = MakeWave(10);
    auto device = std::make_unique<PXRecordingAudioDevice>();
    device->SetCallLog(false);
    PXDeviceSoundManager manager(std::move(device));
    manager.Init(0);
    for (auto _ : state) {
        uint32_t id = 0;
        manager.LoadSoundFromMemory(bytes.data(), bytes.size(), id);
        manager.UnloadSound(id);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(bytes.size()));
}
BENCHMARK(BM_LoadTenSecondSong);

// One frame's Update with `range(0)` looping channels fading in.
void BM_UpdateChannels(benchmark::State& state)
{
    std::vector<uint8_t> bytes = MakeWave(1);
    auto device = std::make_unique<PXRecordingAudioDevice>();
    device->SetCallLog(false);
    PXDeviceSoundManager manager(std::move(device));
    manager.Init(0);
    uint32_t sound = 0;
    manager.LoadSoundFromMemory(bytes.data(), bytes.size(), sound);
    for (int64_t i = 0; i < state.range(0); ++i) {
        uint32_t channel = 0;
        manager.CreateChannel(sound, channel, true);
        manager.SetChannelVolume(channel, 0.1f);
        manager.FadeInChannel(channel, 1e9f);
    }
    for (auto _ : state)
        manager.Update(10.0f);
}
BENCHMARK(BM_UpdateChannels)->Arg(8)->Arg(64);

}  // namespace
