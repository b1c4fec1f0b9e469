// A clock a test sets by hand: the millisecond timer and the fine counter read back
// whatever was last stored (frequency 0: no fine counter).
#pragma once

#include <cstdint>

#include "engine/core/PXStopwatch.h"

class ScriptedClock : public PXClock {
public:
    uint32_t ms = 0;
    uint64_t frequency = 0;
    uint64_t counter = 0;
    uint32_t Milliseconds() override { return ms; }
    uint64_t CounterFrequency() override { return frequency; }
    uint64_t Counter() override { return counter; }
};
