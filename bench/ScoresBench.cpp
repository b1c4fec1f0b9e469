// High-score costs: loading a full score file from memory and saving it, and a marked
// insertion into a full table.
#include <benchmark/benchmark.h>

#include <cstring>
#include <string>

#include "engine/files/PXBuffer.h"
#include "game/SFHighScore.h"

namespace {

void FillTable(PXHighScoreTable& table)
{
    for (uint32_t i = 0; i < 10; ++i)
        table.InsertEntry(SFHighScore(1000 * (10 - i), i + 1, i % 4, "Player " + std::to_string(i)), false);
}

void BM_LoadFullTable(benchmark::State& state)
{
    PXHighScoreTable source;
    FillTable(source);
    PXBuffer written;
    source.SaveStream(written);
    const uint32_t size = written.Tell();
    PXBuffer file;
    file.Allocate(size, 0);
    std::memcpy(file.GetData(), written.GetData(), size);

    PXHighScoreTable table;
    SFHighScore scratch;
    for (auto _ : state) {
        file.Seek(0, 0);
        table.LoadStream(file, scratch);
        benchmark::DoNotOptimize(table.First());
    }
}
BENCHMARK(BM_LoadFullTable);

void BM_SaveFullTable(benchmark::State& state)
{
    PXHighScoreTable table;
    FillTable(table);
    PXBuffer file;
    for (auto _ : state) {
        file.Seek(0, 0);
        benchmark::DoNotOptimize(table.SaveStream(file));
    }
}
BENCHMARK(BM_SaveFullTable);

void BM_InsertIntoFullTable(benchmark::State& state)
{
    PXHighScoreTable table;
    FillTable(table);
    const SFHighScore entry(5500, 7, 2, "Newcomer");
    for (auto _ : state)
        benchmark::DoNotOptimize(table.InsertEntry(entry, true));
}
BENCHMARK(BM_InsertIntoFullTable);

}  // namespace
