// The system-time calls of the original, over the installed SystemClock (SystemClock.h). The readers take
// the layer's UTC source (CurrentUtc), so that they agree with CTime and the rest of the layer; the setters
// go through the installed clock. The first call starts the clock lazily when the program has not called
// InitializeSystemClock().
#pragma once

#include "platform/base/LastError.h"
#include "platform/base/Win32Types.h"

#include <cstdint>

using __time64_t = std::int64_t;

void GetSystemTime(LPSYSTEMTIME systemTime);
void GetLocalTime(LPSYSTEMTIME localTime);
void GetSystemTimeAsFileTime(LPFILETIME fileTime);

// Sets the clock to a UTC time. The fields are checked as the original checks them (year 1601-30827,
// month 1-12, day within the month, hour < 24, minute < 60, second < 60, milliseconds < 1000; the day of
// the week is ignored): otherwise FALSE with ERROR_INVALID_PARAMETER. On the machine's clock the call needs
// CAP_SYS_TIME in the effective set (see AdjustTokenPrivileges), else ERROR_PRIVILEGE_NOT_HELD; on the
// simulated clock it needs no privilege.
BOOL SetSystemTime(const SYSTEMTIME* systemTime);
// The same for local fields, taken through the process time zone.
BOOL SetLocalTime(const SYSTEMTIME* localTime);

// The C runtime's time with milliseconds. timezone is the standard time's offset in minutes west of UTC,
// dstflag is nonzero while daylight time is in force. The time fields are 64-bit.
struct __timeb64 {
    __time64_t time;
    unsigned short millitm;
    short timezone;
    short dstflag;
};
struct _timeb {
    __time64_t time;
    unsigned short millitm;
    short timezone;
    short dstflag;
};
void _ftime64(struct __timeb64* timeptr);
void _ftime(struct _timeb* timeptr);

// Seconds since 1970 from the layer's clock (the C library's time() reads the machine's clock instead).
__time64_t _time64(__time64_t* destTime);
