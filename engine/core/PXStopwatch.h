// Frame timer over a millisecond tick counter and an optional high-resolution counter.
#pragma once

#include <cstdint>

// The clocks the stopwatch reads. The platform supplies one; tests supply a scripted one.
class PXClock {
public:
    virtual ~PXClock() = default;
    // 32-bit millisecond timer; it wraps after about 49.7 days.
    virtual uint32_t Milliseconds() = 0;
    // Frequency of the high-resolution counter in ticks per second, or 0 when there is none.
    virtual uint64_t CounterFrequency() = 0;
    virtual uint64_t Counter() = 0;
};

// A clock on std::chrono for hosts without a platform clock of their own.
class PXSystemClock : public PXClock {
public:
    uint32_t Milliseconds() override;
    uint64_t CounterFrequency() override;
    uint64_t Counter() override;
};

class PXStopwatch {
public:
    // The clock is not owned; it must outlive the stopwatch.
    explicit PXStopwatch(PXClock& clock);

    void Reset();
    // Seconds since the last Reset; 0 before the first one.
    double ElapsedSeconds();
    bool IsRunning() const { return m_running; }
    bool IsCounterAvailable() const { return m_counterAvailable; }

private:
    PXClock& m_clock;
    uint32_t m_start = 0;
    uint64_t m_counterStart = 0;
    uint64_t m_frequency = 0;
    bool m_running = false;
    bool m_counterAvailable = false;
};
