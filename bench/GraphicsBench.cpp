// Blit, tile and fill speeds on the headless 640 x 480 screen, each also reported as a
// ratio to a plain memcpy of the same number of bytes ("x_memcpy").
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <memory>
#include <vector>

#include "bench/BenchTiming.h"
#include "engine/graphics/PXBitmap.h"
#include "engine/graphics/PXMemoryScreen2D.h"

namespace {

constexpr int32_t ScreenW = 640;
constexpr int32_t ScreenH = 480;
constexpr uint32_t SpriteW = 32;
constexpr uint32_t SpriteH = 28;

struct Scene {
    PXMemoryScreen2D screen;
    uint32_t sprite = 0;
    uint32_t background = 0;
    PXBitmapDesc mask;

    Scene()
    {
        PXScreenDesc desc;
        desc.width = ScreenW;
        desc.height = ScreenH;
        desc.pixelFormat.bitsPerPixel = 16;
        screen.Create(&desc, "bench");
        // A round sprite: black (keyed) corners, coloured inside.
        auto image = std::make_unique<PXImage>();
        image->width = SpriteW;
        image->height = SpriteH;
        image->pixels.resize(SpriteW * SpriteH);
        for (uint32_t y = 0; y < SpriteH; ++y) {
            for (uint32_t x = 0; x < SpriteW; ++x) {
                const int dx = static_cast<int>(x) - 16, dy = static_cast<int>(y) - 14;
                image->pixels[y * SpriteW + x] =
                    dx * dx + dy * dy < 14 * 14 ? static_cast<uint16_t>(0x4210 + x * 33 + y) : 0;
            }
        }
        screen.AddImage(std::move(image), &sprite);
        auto tile = std::make_unique<PXImage>();
        tile->width = 64;
        tile->height = 64;
        tile->pixels.assign(64 * 64, 0x1234);
        screen.AddImage(std::move(tile), &background);
        AllocateBitmap(mask, SpriteW, SpriteH, 8);
        for (uint32_t i = 0; i < SpriteW * SpriteH; ++i) {
            mask.data[i] = static_cast<uint8_t>(i * 7);
        }
    }
};

Scene& TheScene()
{
    static Scene scene;
    return scene;
}

// Runs op in chunks inside the benchmark loop and reports the best chunk's time per call
// as a multiple of memcpy of `bytes` ("x_memcpy").
template <typename Op>
void Measure(benchmark::State& state, size_t bytes, Op op)
{
    const int64_t callsPerChunk = bytes > 100000 ? 4 : 64;
    BestChunk best;
    for (auto _ : state) {
        best.Time(callsPerChunk, op);
    }
    state.counters["x_memcpy"] = best.Best() / MemcpyNanos(bytes, callsPerChunk);
    state.counters["ns_per_call"] = best.Best();
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * callsPerChunk * static_cast<int64_t>(bytes));
}

constexpr size_t SpriteBytes = SpriteW * SpriteH * 2;
constexpr size_t FrameBytes = ScreenW * ScreenH * 2;

void BM_MemcpyFrame(benchmark::State& state)
{
    std::vector<uint8_t> from(FrameBytes, 1), to(FrameBytes);
    Measure(state, FrameBytes, [&] { std::memcpy(to.data(), from.data(), FrameBytes); });
}

void BM_Blit(benchmark::State& state)
{
    Scene& s = TheScene();
    const bool keyed = state.range(0) != 0;
    Measure(state, SpriteBytes, [&] { s.screen.Blit(s.sprite, 300, 200, 0, 0, PXToEdge, PXToEdge, keyed); });
}

void BM_BlitKeyedReference(benchmark::State& state)
{
    Scene& s = TheScene();
    PXImage* image = nullptr;
    s.screen.GetImage(s.sprite, &image);
    Measure(state, SpriteBytes,
            [&] { s.screen.BlitImageKeyedReference(image, 300, 200, 0, 0, PXToEdge, PXToEdge); });
}

void BM_BlitAlpha(benchmark::State& state)
{
    Scene& s = TheScene();
    const uint32_t alpha = static_cast<uint32_t>(state.range(0));
    Measure(state, SpriteBytes,
            [&] { s.screen.BlitAlpha(s.sprite, 300, 200, 0, 0, PXToEdge, PXToEdge, alpha, true); });
}

void BM_BlitModulated(benchmark::State& state)
{
    Scene& s = TheScene();
    const PXColor c = MakeColor(200, 100, 50, 255);
    Measure(state, SpriteBytes,
            [&] { s.screen.BlitModulated(s.sprite, 300, 200, 0, 0, PXToEdge, PXToEdge, true, c); });
}

void BM_BlitColorAdd(benchmark::State& state)
{
    Scene& s = TheScene();
    const PXColor c = MakeColor(40, 20, 10, 255);
    Measure(state, SpriteBytes,
            [&] { s.screen.BlitColorAdd(s.sprite, 300, 200, 0, 0, PXToEdge, PXToEdge, true, c); });
}

void BM_BlitAdditive(benchmark::State& state)
{
    Scene& s = TheScene();
    Measure(state, SpriteBytes, [&] { s.screen.BlitAdditive(s.sprite, 300, 200, 0, 0, PXToEdge, PXToEdge, 200); });
}

void BM_BlitFlipped(benchmark::State& state)
{
    Scene& s = TheScene();
    Measure(state, SpriteBytes,
            [&] { s.screen.BlitFlipped(s.sprite, 300, 200, 0, 0, PXToEdge, PXToEdge, true); });
}

void BM_BlitScaled2x(benchmark::State& state)
{
    Scene& s = TheScene();
    Measure(state, SpriteBytes * 4, [&] {
        s.screen.BlitScaled(s.sprite, 300, 200, SpriteW * 2, SpriteH * 2, 0, 0, PXToEdge, PXToEdge, true);
    });
}

void BM_BlitMasked(benchmark::State& state)
{
    Scene& s = TheScene();
    const PXColor c = MakeColor(200, 100, 50, 255);
    const int64_t kind = state.range(0);
    Measure(state, SpriteBytes, [&] {
        switch (kind) {
        case 0:
            s.screen.BlitMasked(s.sprite, 300, 200, 0, 0, PXToEdge, PXToEdge, s.mask);
            break;
        case 1:
            s.screen.BlitMaskedAlpha(s.sprite, 300, 200, 0, 0, PXToEdge, PXToEdge, s.mask, 128);
            break;
        case 2:
            s.screen.BlitMaskedModulated(s.sprite, 300, 200, 0, 0, PXToEdge, PXToEdge, s.mask, c);
            break;
        default:
            s.screen.BlitMaskedColorAdd(s.sprite, 300, 200, 0, 0, PXToEdge, PXToEdge, s.mask, c);
            break;
        }
    });
}

void BM_TileFullScreen(benchmark::State& state)
{
    Scene& s = TheScene();
    const bool keyed = state.range(0) != 0;
    Measure(state, FrameBytes, [&] { s.screen.TileImage(s.background, 0, 0, ScreenW, ScreenH, keyed); });
}

void BM_FillRectFullScreen(benchmark::State& state)
{
    Scene& s = TheScene();
    const PXColor c = MakeColor(10, 20, 30, static_cast<uint8_t>(state.range(0)));
    Measure(state, FrameBytes, [&] { s.screen.FillRect({0, ScreenW, 0, ScreenH}, c); });
}

} // namespace

BENCHMARK(BM_MemcpyFrame);
BENCHMARK(BM_Blit)->ArgName("keyed")->Arg(0)->Arg(1);
BENCHMARK(BM_BlitKeyedReference);
BENCHMARK(BM_BlitAlpha)->ArgName("alpha")->Arg(128)->Arg(0xFFFF);
BENCHMARK(BM_BlitModulated);
BENCHMARK(BM_BlitColorAdd);
BENCHMARK(BM_BlitAdditive);
BENCHMARK(BM_BlitFlipped);
BENCHMARK(BM_BlitScaled2x);
BENCHMARK(BM_BlitMasked)->ArgName("kind")->DenseRange(0, 3);
BENCHMARK(BM_TileFullScreen)->ArgName("keyed")->Arg(0)->Arg(1);
BENCHMARK(BM_FillRectFullScreen)->ArgName("alpha")->Arg(255)->Arg(128);
