// Timing helpers shared by the benchmarks: the best chunk of calls, and a memcpy of the
// same number of bytes timed the same way, for the "x_memcpy" ratios.
#pragma once

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstring>
#include <vector>

using BenchClock = std::chrono::steady_clock;

// Best time per call over chunks of calls: the machine is shared, so the quietest chunk
// is the fairest figure for both the operation and its memcpy reference.
class BestChunk {
public:
    template <typename Op>
    void Time(int64_t calls, Op op)
    {
        const auto start = BenchClock::now();
        for (int64_t i = 0; i < calls; ++i) {
            op();
            benchmark::ClobberMemory();
        }
        const double ns = std::chrono::duration<double, std::nano>(BenchClock::now() - start).count();
        m_best = std::min(m_best, ns / calls);
        m_totalNs += ns;
        m_calls += calls;
    }
    double Best() const { return m_best; }
    double Mean() const { return m_calls > 0 ? m_totalNs / m_calls : 0.0; }

private:
    double m_best = 1e30;
    double m_totalNs = 0.0;
    int64_t m_calls = 0;
};

// Nanoseconds per memcpy of `bytes`, timed the same way as the operations.
inline double MemcpyNanos(size_t bytes, int64_t callsPerChunk)
{
    std::vector<uint8_t> from(bytes, 1), to(bytes, 0);
    BestChunk best;
    for (int chunk = 0; chunk < 40; ++chunk) {
        best.Time(callsPerChunk, [&] { std::memcpy(to.data(), from.data(), bytes); });
    }
    return best.Best();
}
