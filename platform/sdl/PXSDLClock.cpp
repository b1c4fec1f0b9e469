// SDL clock for the frame stopwatch.
#include "platform/sdl/PXSDLClock.h"

#include <SDL.h>

uint32_t PXSDLClock::Milliseconds()
{
    return SDL_GetTicks();
}

uint64_t PXSDLClock::CounterFrequency()
{
    return SDL_GetPerformanceFrequency();
}

uint64_t PXSDLClock::Counter()
{
    return SDL_GetPerformanceCounter();
}
