// The time zone as the original reports it, from the process time zone (TZ, else /etc/localtime) and the
// system's zone data.
//
// The zone database describes transitions as instants; the original describes them as yearly rules. This
// year's transitions are found by searching the year (day by day, then to the second), and each is written
// in the rule form: wYear 0, wMonth, wDayOfWeek, wDay 1-4 for the nth such weekday of the month or 5 for
// the last one, and the local clock time at which it happens (in the time in force before it). The names
// are the zone's abbreviations ("CET", "CEST").
#pragma once

#include "platform/base/LastError.h"
#include "platform/base/Win32Types.h"

#include <cstdint>

typedef struct _TIME_ZONE_INFORMATION {
    LONG Bias; // minutes, UTC = local time + Bias
    WCHAR StandardName[32];
    SYSTEMTIME StandardDate;
    LONG StandardBias;
    WCHAR DaylightName[32];
    SYSTEMTIME DaylightDate;
    LONG DaylightBias;
} TIME_ZONE_INFORMATION, *PTIME_ZONE_INFORMATION, *LPTIME_ZONE_INFORMATION;

#define TIME_ZONE_ID_UNKNOWN 0u
#define TIME_ZONE_ID_STANDARD 1u
#define TIME_ZONE_ID_DAYLIGHT 2u
#define TIME_ZONE_ID_INVALID 0xFFFFFFFFu

// TIME_ZONE_ID_UNKNOWN when the zone has no daylight time this year (both dates then have wMonth 0),
// otherwise whether daylight time is in force now. A null pointer gives TIME_ZONE_ID_INVALID with
// ERROR_INVALID_PARAMETER.
DWORD GetTimeZoneInformation(LPTIME_ZONE_INFORMATION info);

// The same for the year of, and the state at, a given UTC instant (seconds since 1970).
DWORD TimeZoneInformationAt(std::int64_t utcSeconds, LPTIME_ZONE_INFORMATION info);
