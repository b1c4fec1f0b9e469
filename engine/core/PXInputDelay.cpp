// The input-delay counter: presses wait for the frame that handles them, then for the
// first picture shown after it.
#include "engine/core/PXInputDelay.h"

#include <cstdlib>
#include <cstring>

#include "engine/core/PXStopwatch.h"

bool PXInputDelay::Requested()
{
    const char* value = std::getenv("SF_INPUT_DELAY_LOG");
    return value != nullptr && std::strcmp(value, "1") == 0;
}

double PXInputDelay::NowMs(PXClock& clock)
{
    const uint64_t frequency = clock.CounterFrequency();
    if (frequency == 0) {
        return static_cast<double>(clock.Milliseconds());
    }
    const uint64_t ticks = clock.Counter();
    // Whole seconds and the rest apart, so that a large counter keeps its fine digits.
    return static_cast<double>(ticks / frequency) * 1000.0 +
           static_cast<double>(ticks % frequency) * 1000.0 / static_cast<double>(frequency);
}

PXInputDelay::PXInputDelay(FILE* report) : m_report(report) {}

void PXInputDelay::KeyPressed(double nowMs)
{
    m_received.push_back(nowMs);
}

void PXInputDelay::FrameStarted()
{
    m_handled.insert(m_handled.end(), m_received.begin(), m_received.end());
    m_received.clear();
}

std::vector<double> PXInputDelay::FrameEnded(double nowMs, bool pictureShown)
{
    std::vector<double> delays;
    if (!pictureShown || m_handled.empty()) {
        return delays;
    }
    for (double received : m_handled) {
        delays.push_back(nowMs - received);
        if (m_report != nullptr) {
            std::fprintf(m_report, "input_delay_ms %.2f\n", nowMs - received);
        }
    }
    if (m_report != nullptr) {
        std::fflush(m_report);
    }
    m_handled.clear();
    return delays;
}
