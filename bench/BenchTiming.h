// Timing helpers shared by the benchmarks: the best chunk of calls, every frame of a run
// timed on its own, and a memcpy of the same number of bytes timed the same way, for the
// "x_memcpy" ratios.
#pragma once

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstddef>
#include <cstring>
#include <ctime>
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

// Processor time of the process (all its threads) in nanoseconds, where the host has a clock for it
// (else wall time): a frame's cost on a shared machine without the time others ran.
inline double ProcessNanos()
{
#if defined(CLOCK_PROCESS_CPUTIME_ID)
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) * 1e9 + static_cast<double>(now.tv_nsec);
#else
    return std::chrono::duration<double, std::nano>(BenchClock::now().time_since_epoch()).count();
#endif
}

// The processor time of each frame of a run, for the figures a player feels: the mean, a
// high percentile and the worst frame, beside the quietest stretch of a few frames.
// Reading the process clock is a system call (over a microsecond in some virtual
// machines), and a frame's time holds the part of one read that falls between the two
// readings: the least such cost seen with nothing between them is taken off every frame.
class FrameTimes {
public:
    explicit FrameTimes(size_t expected = 0) : m_clockNs(ClockCost()) { m_ns.reserve(expected); }

    template <typename Op>
    void Time(Op op)
    {
        const double start = ProcessNanos();
        op();
        benchmark::ClobberMemory();
        m_ns.push_back(std::max(ProcessNanos() - start - m_clockNs, 0.0));
    }
    // What was taken off each frame for the clock.
    double ClockNanos() const { return m_clockNs; }
    size_t Count() const { return m_ns.size(); }
    double Mean() const
    {
        double total = 0.0;
        for (double ns : m_ns)
            total += ns;
        return m_ns.empty() ? 0.0 : total / static_cast<double>(m_ns.size());
    }
    // The time that `fraction` of the frames (0..1) do not exceed.
    double Percentile(double fraction) const
    {
        if (m_ns.empty())
            return 0.0;
        std::vector<double> sorted = m_ns;
        const size_t rank = static_cast<size_t>(fraction * static_cast<double>(sorted.size() - 1) + 0.5);
        std::nth_element(sorted.begin(), sorted.begin() + static_cast<std::ptrdiff_t>(rank), sorted.end());
        return sorted[rank];
    }
    double Worst() const { return m_ns.empty() ? 0.0 : *std::max_element(m_ns.begin(), m_ns.end()); }
    // Best mean over `run` consecutive frames.
    double BestRun(size_t run) const
    {
        if (m_ns.empty() || run == 0)
            return 0.0;
        run = std::min(run, m_ns.size());
        double window = 0.0;
        for (size_t i = 0; i < run; ++i)
            window += m_ns[i];
        double best = window;
        for (size_t i = run; i < m_ns.size(); ++i) {
            window += m_ns[i] - m_ns[i - run];
            best = std::min(best, window);
        }
        return best / static_cast<double>(run);
    }

private:
    static double ClockCost()
    {
        double least = 1e30;
        for (int i = 0; i < 200; ++i) {
            const double start = ProcessNanos();
            least = std::min(least, ProcessNanos() - start);
        }
        return least;
    }

    double m_clockNs;
    std::vector<double> m_ns;
};

// Nanoseconds per memcpy of `bytes`, timed the same way as the operations. A copy between
// addresses that agree in their low 12 bits stalls on false store-to-load dependencies
// (about a third slower here), and where the allocator puts two blocks is chance: both
// ends live in one block, the source half a page off the destination's page offset, so
// the reference is the copy at its full speed, not a slow one that would flatter every
// ratio.
inline double MemcpyNanos(size_t bytes, int64_t callsPerChunk)
{
    constexpr size_t Page = 4096;
    const size_t span = (bytes + Page - 1) / Page * Page + Page / 2;
    std::vector<uint8_t> block(span + bytes + 64, 1);
    const auto base = reinterpret_cast<uintptr_t>(block.data());
    uint8_t* to = block.data() + ((64 - base % 64) % 64);
    const uint8_t* from = to + span;
    BestChunk best;
    for (int chunk = 0; chunk < 40; ++chunk) {
        best.Time(callsPerChunk, [&] { std::memcpy(to, from, bytes); });
    }
    return best.Best();
}

// The memcpy reference for a ratio taken after a long run: it is short, so a busy moment
// skews it most; the best of a few rounds.
inline double MemcpyReferenceNanos(size_t bytes)
{
    double best = MemcpyNanos(bytes, 4);
    for (int round = 0; round < 4; ++round)
        best = std::min(best, MemcpyNanos(bytes, 4));
    return best;
}
