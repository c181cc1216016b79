// Tick counts, the performance counter and sleeping, all on the monotonic clock: the program steps the wall
// clock itself, and none of these may jump when it does.
#pragma once

#include "platform/base/Win32Types.h"

// Milliseconds since an arbitrary start; wraps after about 49.7 days.
DWORD GetTickCount();
ULONGLONG GetTickCount64();

// Counts of 100 ns (a frequency of 10 MHz, as the original commonly reports).
BOOL QueryPerformanceCounter(LARGE_INTEGER* count);
BOOL QueryPerformanceFrequency(LARGE_INTEGER* frequency);

// Sleep(0) gives up the rest of the time slice; INFINITE sleeps for ever.
void Sleep(DWORD milliseconds);
// There are no asynchronous procedure calls, so an alertable sleep is an ordinary one; answers 0.
DWORD SleepEx(DWORD milliseconds, BOOL alertable);
