// sfsim: plays games headless with the built-in player and prints one result line per game;
// with --fps also the simulated frames per second of wall time.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "engine/core/PXRandom.h"
#include "game/SFAutoPlayer.h"

namespace {

constexpr float FrameTimeMs = 10.0f;

void Usage()
{
    std::fprintf(stderr, "usage: sfsim --seed N --difficulty 0|1|2 --games K [--max-frames F] [--fps]\n");
}

// Whole decimal number within [low, high]; anything else is refused.
bool ParseNumber(const char* text, long long low, long long high, long long& out)
{
    if (!text || !*text)
        return false;
    char* end = nullptr;
    long long value = std::strtoll(text, &end, 10);
    if (*end != '\0' || value < low || value > high)
        return false;
    out = value;
    return true;
}

}  // namespace

int main(int argc, char** argv)
{
    long long seed = 1, difficulty = 1, games = 1, maxFrames = 360000;  // one hour of play
    bool fps = false;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--fps") == 0) {
            fps = true;
            continue;
        }
        const char* value = i + 1 < argc ? argv[i + 1] : nullptr;
        bool ok = false;
        if (std::strcmp(argv[i], "--seed") == 0)
            ok = ParseNumber(value, 0, 0xFFFFFFFFll, seed);
        else if (std::strcmp(argv[i], "--difficulty") == 0)
            ok = ParseNumber(value, 0, 2, difficulty);
        else if (std::strcmp(argv[i], "--games") == 0)
            ok = ParseNumber(value, 1, 1000000, games);
        else if (std::strcmp(argv[i], "--max-frames") == 0)
            ok = ParseNumber(value, 1, 100000000, maxFrames);
        if (!ok) {
            Usage();
            return 2;
        }
        ++i;
    }

    GlobalRandom().Seed(static_cast<uint32_t>(seed));
    g_difficulty = static_cast<int32_t>(difficulty);
    const auto start = std::chrono::steady_clock::now();
    long long frames = 0;
    for (long long game = 1; game <= games; ++game) {
        SFGameStats stats = PlayAutoGame(g_difficulty, FrameTimeMs, maxFrames);
        frames += stats.frames;
        std::printf("game %lld: %s\n", game, FormatStats(stats).c_str());
    }
    if (fps) {
        const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        std::printf("frames %lld in %.3f s: %.0f frames per second\n", frames, seconds,
                    seconds > 0.0 ? static_cast<double>(frames) / seconds : 0.0);
    }
    return 0;
}
