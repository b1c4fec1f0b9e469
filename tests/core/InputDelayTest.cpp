// The input-delay counter: which picture a key press is measured to, and the clock reading.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "engine/core/PXInputDelay.h"
#include "tests/support/ScriptedClock.h"

namespace {

// One step of the main loop as the shell drives the counter.
struct Step {
    enum Kind { Press, Start, End } kind;
    double ms = 0.0;
    bool shown = false;
};

struct DelayCase {
    const char* what;
    std::vector<Step> steps;
    std::vector<double> expected;  // every delay reported, in order
};

TEST(InputDelay, MeasuresEachPressToTheFirstPictureAfterTheFrameThatHandledIt)
{
    const DelayCase cases[] = {
        {"a frame that shows its picture",
         {{Step::Press, 100}, {Step::Start}, {Step::End, 105, true}},
         {5.0}},
        {"a picture held back by the pacing waits for the next one shown",
         {{Step::Press, 100}, {Step::Start}, {Step::End, 104, false}, {Step::Start}, {Step::End, 114, true},
          {Step::Start}, {Step::End, 130, true}},
         {14.0}},
        {"a press after the frame began counts from the next frame",
         {{Step::Start}, {Step::Press, 100}, {Step::End, 103, true}, {Step::Start}, {Step::End, 112, true}},
         {12.0}},
        {"presses of one frame are each reported",
         {{Step::Press, 100}, {Step::Press, 106}, {Step::Start}, {Step::End, 110, true}},
         {10.0, 4.0}},
        {"no picture, no report",
         {{Step::Press, 100}, {Step::Start}, {Step::End, 104, false}},
         {}},
    };
    for (const DelayCase& c : cases) {
        PXInputDelay counter(nullptr);
        std::vector<double> reported;
        for (const Step& step : c.steps) {
            if (step.kind == Step::Press) {
                counter.KeyPressed(step.ms);
            } else if (step.kind == Step::Start) {
                counter.FrameStarted();
            } else {
                const std::vector<double> delays = counter.FrameEnded(step.ms, step.shown);
                reported.insert(reported.end(), delays.begin(), delays.end());
            }
        }
        EXPECT_EQ(reported, c.expected) << c.what;
    }
}

TEST(InputDelay, WritesOneLinePerPress)
{
    FILE* report = std::tmpfile();
    ASSERT_NE(report, nullptr);
    PXInputDelay counter(report);
    counter.KeyPressed(10.0);
    counter.KeyPressed(12.5);
    counter.FrameStarted();
    counter.FrameEnded(20.0, true);
    std::rewind(report);
    char text[128] = {};
    const size_t read = std::fread(text, 1, sizeof text - 1, report);
    std::fclose(report);
    EXPECT_EQ(std::string(text, read), "input_delay_ms 10.00\ninput_delay_ms 7.50\n");
}

TEST(InputDelay, ReadsTheFineCounterWhenThereIsOne)
{
    ScriptedClock clock;
    clock.ms = 4321;
    EXPECT_DOUBLE_EQ(PXInputDelay::NowMs(clock), 4321.0);
    // A nanosecond counter days after boot still resolves a quarter of a millisecond.
    clock.frequency = 1000000000ull;
    clock.counter = 400000ull * 1000000000ull + 250000ull;
    EXPECT_DOUBLE_EQ(PXInputDelay::NowMs(clock) - 400000.0 * 1000.0, 0.25);
}

}  // namespace
