// The stopwatch's clocks on SDL's millisecond ticks and performance counter.
#pragma once

#include "engine/core/PXStopwatch.h"

class PXSDLClock : public PXClock {
public:
    uint32_t Milliseconds() override;
    uint64_t CounterFrequency() override;
    uint64_t Counter() override;
};
