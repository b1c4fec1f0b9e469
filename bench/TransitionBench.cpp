// One picture of the scene-change band transition on a 640 x 480 frame, per style: rows
// move as block copies, columns pixel by pixel across every row.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <vector>

#include "game/SFGame.h"

namespace {

PXSurfaceDesc Frame(std::vector<uint16_t>& pixels)
{
    PXSurfaceDesc d;
    d.bytesPerPixel = 2;
    d.width = 640;
    d.height = 480;
    d.pitch = 1280;
    d.pixels = reinterpret_cast<uint8_t*>(pixels.data());
    return d;
}

void BM_TransitionFrame(benchmark::State& state)
{
    std::vector<uint16_t> oldPixels(640 * 480, 0x001F), newPixels(640 * 480, 0x7C00), dest(640 * 480);
    const int32_t style = static_cast<int32_t>(state.range(0));
    float progress = 0.0f;
    for (auto _ : state) {
        SFGame::ComposeTransition(Frame(oldPixels), Frame(newPixels), Frame(dest), style, progress, 50);
        progress = progress >= 0.99f ? 0.0f : progress + 0.01f;
        benchmark::DoNotOptimize(dest.data());
    }
}
BENCHMARK(BM_TransitionFrame)->DenseRange(0, 3);

}  // namespace
