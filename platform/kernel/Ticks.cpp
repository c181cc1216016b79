#include "platform/kernel/Ticks.h"

#include "platform/base/LastError.h"
#include "platform/kernel/KernelDetail.h"

#include <cerrno>
#include <ctime>
#include <sched.h>
#include <unistd.h>

using kernel_detail::MonotonicNs;

DWORD GetTickCount() {
    return static_cast<DWORD>(GetTickCount64());
}

ULONGLONG GetTickCount64() {
    return static_cast<ULONGLONG>(MonotonicNs() / 1'000'000);
}

BOOL QueryPerformanceCounter(LARGE_INTEGER* count) {
    if (count == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    count->QuadPart = MonotonicNs() / 100;
    return TRUE;
}

BOOL QueryPerformanceFrequency(LARGE_INTEGER* frequency) {
    if (frequency == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    frequency->QuadPart = 10'000'000;
    return TRUE;
}

void Sleep(DWORD milliseconds) {
    if (milliseconds == 0) {
        sched_yield();
        return;
    }
    if (milliseconds == INFINITE) {
        for (;;) {
            pause();
        }
    }
    // An absolute deadline, so that interruptions do not stretch the sleep.
    const std::int64_t deadline = MonotonicNs() + static_cast<std::int64_t>(milliseconds) * 1'000'000;
    const timespec until{static_cast<time_t>(deadline / 1'000'000'000),
                         static_cast<long>(deadline % 1'000'000'000)};
    while (clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &until, nullptr) == EINTR) {
    }
}

DWORD SleepEx(DWORD milliseconds, BOOL) {
    Sleep(milliseconds);
    return 0;
}
