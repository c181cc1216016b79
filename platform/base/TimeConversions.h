// The layer's source of the current UTC time, calendar arithmetic, and the SYSTEMTIME / FILETIME calls.
// UTC conversions use the proleptic Gregorian calendar on 64-bit seconds (no 2038 limit); local time goes
// through the process time zone (TZ, localtime_r/mktime).
#pragma once

#include "platform/base/Win32Types.h"

#include <cstdint>
#include <ctime>
#include <functional>
#include <string>
#include <string_view>

struct UtcInstant {
    std::int64_t seconds = 0; // since 1970-01-01T00:00:00Z
    std::int32_t nanoseconds = 0;
};

// The current UTC time from the installed source; by default CLOCK_REALTIME. Everything in the layer that
// needs "now" asks this, so that a simulated clock (or a test) can stand in for the system's.
UtcInstant CurrentUtc();
using UtcSource = std::function<UtcInstant()>;
// An empty source restores the system clock.
void SetCurrentUtcSource(UtcSource source);
// The installed source (empty for the system clock), so that a caller can put it back later.
UtcSource GetCurrentUtcSource();

// Days since 1970-01-01 for a proleptic Gregorian date; the month may lie outside 1..12 (it carries into
// the year) and the day outside the month (it carries into the next ones), as timegm's fields do.
std::int64_t DaysFromCivil(std::int64_t year, std::int64_t month, std::int64_t day);
void CivilFromDays(std::int64_t days, std::int64_t* year, int* month, int* day);
bool IsLeapYear(std::int64_t year);
// 0 for a month outside 1..12.
int DaysInMonth(std::int64_t year, int month);
// 0 = Sunday.
int DayOfWeekFromDays(std::int64_t days);

// timegm and gmtime_r on 64-bit seconds. UtcTmFromSeconds fails only where tm_year cannot hold the year.
std::int64_t SecondsFromUtcTm(const struct tm& fields);
bool UtcTmFromSeconds(std::int64_t seconds, struct tm* out);
// localtime_r and mktime (tm_isdst as given: -1 lets the zone decide). Both fail (FALSE) where the C
// library cannot represent the time.
bool LocalTmFromSeconds(std::int64_t seconds, struct tm* out);
bool SecondsFromLocalTm(struct tm* fields, std::int64_t* seconds);

// FILETIME as one 64-bit count of 100 ns ticks since 1601-01-01.
inline ULONGLONG FileTimeToTicks(const FILETIME& ft) {
    return (static_cast<ULONGLONG>(ft.dwHighDateTime) << 32) | ft.dwLowDateTime;
}
inline FILETIME TicksToFileTime(ULONGLONG ticks) {
    FILETIME ft;
    ft.dwLowDateTime = static_cast<DWORD>(ticks);
    ft.dwHighDateTime = static_cast<DWORD>(ticks >> 32);
    return ft;
}
// Seconds from 1601-01-01 to 1970-01-01.
constexpr std::int64_t kFileTimeEpochOffsetSeconds = 11644473600LL;
constexpr std::int64_t kFileTimeTicksPerSecond = 10000000LL;

// Unix time <-> FILETIME / SYSTEMTIME, all in UTC. The FILETIME range is 1601 to 30828 (the signed 64-bit
// tick count Windows accepts); SYSTEMTIME years run 1601..30827. Out of range answers false.
bool UnixTimeToFileTime(std::int64_t seconds, std::int32_t nanoseconds, FILETIME* out);
bool FileTimeToUnixTime(const FILETIME& ft, std::int64_t* seconds, std::int32_t* nanoseconds);
bool UnixTimeToSystemTime(std::int64_t seconds, int milliseconds, SYSTEMTIME* out);
bool SystemTimeToUnixTime(const SYSTEMTIME& st, std::int64_t* seconds, int* milliseconds);
// Field check of a SYSTEMTIME as SystemTimeToFileTime does it (wDayOfWeek is ignored).
bool IsValidSystemTime(const SYSTEMTIME& st);

// The Win32 calls. Failures set ERROR_INVALID_PARAMETER. Local file times use the offset of the process
// time zone at that instant.
BOOL SystemTimeToFileTime(const SYSTEMTIME* systemTime, LPFILETIME fileTime);
BOOL FileTimeToSystemTime(const FILETIME* fileTime, LPSYSTEMTIME systemTime);
BOOL FileTimeToLocalFileTime(const FILETIME* fileTime, LPFILETIME localFileTime);
BOOL LocalFileTimeToFileTime(const FILETIME* localFileTime, LPFILETIME fileTime);
// -1, 0 or +1.
LONG CompareFileTime(const FILETIME* fileTime1, const FILETIME* fileTime2);

// strftime with the original runtime's conventions in the "C" locale, shared by the time classes:
// %a %A %b %B %c %d %H %I %j %m %M %p %S %U %w %W %x %X %y %Y %z %Z %%, the "#" flag ("%#c" and "%#x" the
// long forms, "%#d" and the other numbers without leading zeros). %z and %Z give the zone name. Answers
// false (and leaves out empty) for an unknown conversion or fields out of range.
bool FormatTm(std::u16string& out, const char16_t* format, const struct tm& fields, std::u16string_view zone);
