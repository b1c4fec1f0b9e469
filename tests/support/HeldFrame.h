// Brings a screen to a held frame the way the game's frames do: pacing of 16 ms on a hand-set
// clock, then three frames 10 ms apart, each with something dirty. The third Present
// foresees the next picture too early (see PXWindowScreen2D::Present), so the frame after
// it is held. The clock is the caller's and must outlive the pacing.
#pragma once

#include "engine/graphics/PXWindowScreen2D.h"
#include "tests/support/ScriptedClock.h"

inline void PresentUntilAFrameIsHeld(PXWindowScreen2D& screen, ScriptedClock& clock)
{
    screen.SetPresentPacing(&clock, 16);
    for (int frame = 0; frame < 3; ++frame) {
        screen.InvalidateRect({0, 1, 0, 1}, false);
        clock.ms += 10;
        screen.Present();
    }
}
