// The stopwatch's clocks on the multimedia timer and the performance counter.
#pragma once

#include "engine/core/PXStopwatch.h"

class PXWin32Clock : public PXClock {
public:
    uint32_t Milliseconds() override;
    uint64_t CounterFrequency() override;
    uint64_t Counter() override;
};
