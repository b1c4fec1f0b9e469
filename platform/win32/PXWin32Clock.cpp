// Win32 clock for the frame stopwatch.
#include "platform/win32/PXWin32Clock.h"

#include <windows.h>
#include <mmsystem.h>

uint32_t PXWin32Clock::Milliseconds()
{
    return timeGetTime();
}

uint64_t PXWin32Clock::CounterFrequency()
{
    LARGE_INTEGER frequency;
    return QueryPerformanceFrequency(&frequency) ? static_cast<uint64_t>(frequency.QuadPart) : 0;
}

uint64_t PXWin32Clock::Counter()
{
    LARGE_INTEGER counter;
    return QueryPerformanceCounter(&counter) ? static_cast<uint64_t>(counter.QuadPart) : 0;
}
