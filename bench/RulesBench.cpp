// Simulated frames per second of the rules driven by the built-in player.
#include <benchmark/benchmark.h>

#include "engine/core/PXRandom.h"
#include "game/SFAutoPlayer.h"

namespace {

void BM_RulesAutoPlay(benchmark::State& state)
{
    const int32_t difficulty = static_cast<int32_t>(state.range(0));
    GlobalRandom().Seed(2024);
    int64_t frames = 0;
    for (auto _ : state) {
        SFGameStats stats = PlayAutoGame(difficulty, 10.0f, 30000);
        benchmark::DoNotOptimize(stats.score);
        frames += stats.frames;
    }
    state.counters["frames/s"] = benchmark::Counter(static_cast<double>(frames), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_RulesAutoPlay)->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);

// The start position alone: floor, first spawn and the start rows with their retries.
void BM_RulesNewGame(benchmark::State& state)
{
    GlobalRandom().Seed(2024);
    for (auto _ : state) {
        SFPlayField field(2);
        benchmark::DoNotOptimize(field.Board().At(8, 1));
    }
}
BENCHMARK(BM_RulesNewGame);

}  // namespace
