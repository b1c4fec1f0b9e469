// A debug counter of input delay: how long after a key press reached the application the
// first picture holding its effect went to the screen. Off unless SF_INPUT_DELAY_LOG=1;
// then one line "input_delay_ms X" per key press is written to the report stream.
#pragma once

#include <cstdio>
#include <vector>

class PXClock;

class PXInputDelay {
public:
    // True when the environment asks for the counter (SF_INPUT_DELAY_LOG=1).
    static bool Requested();
    // Milliseconds on `clock`, to the fine counter's resolution when it has one.
    static double NowMs(PXClock& clock);

    // `report` is not owned; nullptr writes nothing (the delays are still returned).
    explicit PXInputDelay(FILE* report = stdout);

    // A key press was taken from the operating system at `nowMs`.
    void KeyPressed(double nowMs);
    // A frame begins: it handles every press taken so far.
    void FrameStarted();
    // The frame ended at `nowMs`; when it put a picture on the screen, every press it or an
    // earlier frame handled is shown now. Returns the delays reported by this call.
    std::vector<double> FrameEnded(double nowMs, bool pictureShown);

private:
    FILE* m_report;
    std::vector<double> m_received;  // taken, no frame has handled them yet
    std::vector<double> m_handled;   // handled, no picture has shown them yet
};
