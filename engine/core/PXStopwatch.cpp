// Frame timer: millisecond timer with its wrap rule, refined by the high-resolution counter.
#include "engine/core/PXStopwatch.h"

#include <chrono>
#include <cmath>

uint32_t PXSystemClock::Milliseconds()
{
    auto now = std::chrono::steady_clock::now().time_since_epoch();
    return static_cast<uint32_t>(std::chrono::duration_cast<std::chrono::milliseconds>(now).count());
}

uint64_t PXSystemClock::CounterFrequency()
{
    return 1000000000ull;
}

uint64_t PXSystemClock::Counter()
{
    auto now = std::chrono::steady_clock::now().time_since_epoch();
    return static_cast<uint64_t>(std::chrono::duration_cast<std::chrono::nanoseconds>(now).count());
}

PXStopwatch::PXStopwatch(PXClock& clock) : m_clock(clock)
{
    m_frequency = m_clock.CounterFrequency();
    m_counterAvailable = m_frequency != 0;
    Reset();
}

void PXStopwatch::Reset()
{
    m_start = m_clock.Milliseconds();
    if (m_counterAvailable)
        m_counterStart = m_clock.Counter();
    m_running = true;
}

double PXStopwatch::ElapsedSeconds()
{
    if (!m_running)
        return 0.0;
    uint32_t now = m_clock.Milliseconds();
    uint32_t ticks = now >= m_start ? now - m_start : (0xFFFFFFFFu - m_start) + now;
    double seconds = ticks * 0.001;
    if (m_counterAvailable) {
        double counted = static_cast<double>(m_clock.Counter() - m_counterStart) / static_cast<double>(m_frequency);
        // The counter is finer, but a counter that jumped (a known fault of some
        // multi-core machines) is not trusted over the millisecond timer.
        if (std::fabs(counted - seconds) < 100.0)
            seconds = counted;
    }
    return seconds;
}
