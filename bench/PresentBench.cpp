// What showing a frame costs on the SDL screen on SDL's offscreen video driver with the
// software renderer (the renderer a machine without a graphics card gets): a whole dirty
// frame in a window of the frame's own size, as a multiple of a memcpy of the frame, beside
// what only filling the window's pixels costs; and in a 1920 x 1080 window in each scaling
// mode, once with the whole frame dirty and once with a tooltip-sized rectangle and the
// cursor dirty, as on a quiet menu.
#include <benchmark/benchmark.h>

#include <SDL.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

#include "bench/BenchTiming.h"
#include "platform/sdl/PXSDLScreen2D.h"

namespace {

struct PresentBench {
    std::unique_ptr<PXSDLScreen2D> screen;

    PresentBench()
    {
        setenv("SDL_VIDEODRIVER", "offscreen", 1);
        SDL_SetHint(SDL_HINT_RENDER_DRIVER, "software");
        if (SDL_Init(SDL_INIT_VIDEO) != 0) {
            return;
        }
        screen = std::make_unique<PXSDLScreen2D>(nullptr);
        PXScreenDesc desc;
        desc.width = 640;
        desc.height = 480;
        desc.pixelFormat.bitsPerPixel = 16;
        if (!screen->Create(&desc, "bench")) {
            screen.reset();
            return;
        }
        // Something to show: a pattern over the whole frame.
        PXSurfaceDesc s;
        screen->LockScreen(&s);
        for (uint32_t y = 0; y < s.height; ++y) {
            auto* row = reinterpret_cast<uint16_t*>(s.pixels + y * s.pitch);
            for (uint32_t x = 0; x < s.width; ++x) {
                row[x] = static_cast<uint16_t>((x * 37 + y * 101) & 0x7FFF);
            }
        }
        screen->UnlockScreen();
    }
};

PresentBench& Bench()
{
    static PresentBench bench;
    return bench;
}

constexpr PXRect WholeFrame = {0, 640, 0, 480};

// The bench's screen in a window of the given size, or nullptr (the benchmark then skips).
PXSDLScreen2D* ScreenAt(benchmark::State& state, int width, int height)
{
    PXSDLScreen2D* screen = Bench().screen.get();
    if (screen == nullptr) {
        state.SkipWithError("no SDL screen on the offscreen driver");
        return nullptr;
    }
    SDL_SetWindowSize(screen->GetWindow(), width, height);
    return screen;
}

// Converting and uploading a whole dirty frame and showing it, at the window's normal size.
void BM_PresentFullFrame(benchmark::State& state)
{
    PXSDLScreen2D* screen = ScreenAt(state, 640, 480);
    if (screen == nullptr)
        return;
    screen->SetScaleMode(PXScaleMode::Sharp);
    screen->InvalidateRect(WholeFrame, false);
    screen->Present();
    FrameTimes presents(static_cast<size_t>(state.max_iterations));
    for (auto _ : state) {
        presents.Time([&] {
            screen->InvalidateRect(WholeFrame, false);
            screen->Present();
        });
    }
    const double memcpyNs = MemcpyReferenceNanos(640 * 480 * 2);
    state.counters["x_memcpy"] = presents.BestRun(8) / memcpyNs;
    state.counters["x_memcpy_mean"] = presents.Mean() / memcpyNs;
    // The floor under any conversion into this window: filling its 32-bit pixels with one
    // value, which writes twice the bytes of the 16-bit frame and reads nothing.
    if (SDL_Surface* surface = SDL_GetWindowSurface(screen->GetWindow())) {
        const size_t bytes = static_cast<size_t>(surface->pitch) * static_cast<size_t>(surface->h);
        BestChunk fill;
        for (int chunk = 0; chunk < 40; ++chunk)
            fill.Time(4, [&] { std::memset(surface->pixels, 0, bytes); });
        state.counters["fill_x_memcpy"] = fill.Best() / memcpyNs;
    }
    state.counters["memcpy_us"] = memcpyNs / 1000.0;
    state.counters["clock_us"] = presents.ClockNanos() / 1000.0;
}
BENCHMARK(BM_PresentFullFrame)->Iterations(2000)->Unit(benchmark::kMicrosecond)->UseRealTime();

void BM_PresentAt1920x1080(benchmark::State& state)
{
    PXSDLScreen2D* screen = ScreenAt(state, 1920, 1080);
    if (screen == nullptr)
        return;
    const auto mode = static_cast<PXScaleMode>(state.range(0));
    const bool whole = state.range(1) != 0;
    screen->SetScaleMode(mode);
    screen->InvalidateRect(WholeFrame, false);
    screen->Present();
    for (auto _ : state) {
        if (whole) {
            screen->InvalidateRect(WholeFrame, false);
        } else {
            screen->InvalidateRect({200, 360, 300, 330}, false);
            screen->InvalidateRect({400, 432, 100, 132}, false);
        }
        screen->Present();
    }
    // The time per iteration is the cost of one frame shown.
    state.SetLabel(std::string(PXScaleModeName(mode)) + (whole ? " whole frame" : " tooltip+cursor"));
}
BENCHMARK(BM_PresentAt1920x1080)
    ->ArgsProduct({{static_cast<int>(PXScaleMode::Sharp), static_cast<int>(PXScaleMode::Pixel),
                    static_cast<int>(PXScaleMode::Smooth)},
                   {1, 0}})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

}  // namespace
