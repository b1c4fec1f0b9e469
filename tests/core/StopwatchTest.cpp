// The frame timer on a scripted clock: the millisecond wrap rule and when the fine counter wins.
#include <gtest/gtest.h>

#include "engine/core/PXStopwatch.h"
#include "tests/support/ScriptedClock.h"

namespace {

TEST(Stopwatch, MillisecondTimerOnly)
{
    ScriptedClock clock;
    clock.ms = 5000;
    PXStopwatch watch(clock);
    EXPECT_TRUE(watch.IsRunning());
    EXPECT_FALSE(watch.IsCounterAvailable());
    clock.ms = 5016;
    EXPECT_DOUBLE_EQ(watch.ElapsedSeconds(), 0.016);
    watch.Reset();
    EXPECT_DOUBLE_EQ(watch.ElapsedSeconds(), 0.0);
}

TEST(Stopwatch, TimerWrapCountsFromTheTop)
{
    ScriptedClock clock;
    clock.ms = 0xFFFFFFF0u;
    PXStopwatch watch(clock);
    clock.ms = 10;
    // (0xFFFFFFFF - start) + now = 15 + 10
    EXPECT_DOUBLE_EQ(watch.ElapsedSeconds(), 0.025);
}

TEST(Stopwatch, CounterIsPreferredWhenItAgrees)
{
    ScriptedClock clock;
    clock.frequency = 1000000;
    clock.ms = 100;
    clock.counter = 1000;
    PXStopwatch watch(clock);
    EXPECT_TRUE(watch.IsCounterAvailable());
    clock.ms = 110;
    clock.counter = 1000 + 10250;  // 10.25 ms on the fine counter
    EXPECT_DOUBLE_EQ(watch.ElapsedSeconds(), 0.01025);
}

TEST(Stopwatch, CounterThatJumpedIsIgnored)
{
    ScriptedClock clock;
    clock.frequency = 1000;
    PXStopwatch watch(clock);
    clock.ms = 20;
    clock.counter = 200 * 1000;  // 200 s: disagrees by more than 100 s
    EXPECT_DOUBLE_EQ(watch.ElapsedSeconds(), 0.020);
}

}  // namespace
