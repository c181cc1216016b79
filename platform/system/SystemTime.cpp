#include "platform/system/SystemTime.h"

#include "platform/base/TimeConversions.h"
#include "platform/system/SystemClock.h"
#include "platform/system/TimeZone.h"

#include <ctime>

namespace {

UtcInstant Now() {
    GetSystemClock();
    return CurrentUtc();
}

BOOL SetClock(const UtcInstant& utc) {
    const DWORD error = GetSystemClock()->Set(utc);
    if (error != ERROR_SUCCESS) {
        SetLastError(error);
        return FALSE;
    }
    return TRUE;
}

template <class TimeB>
void FillTimeB(TimeB* out) {
    if (!out) {
        return;
    }
    const UtcInstant now = Now();
    TIME_ZONE_INFORMATION zone{};
    const DWORD state = TimeZoneInformationAt(now.seconds, &zone);
    out->time = static_cast<__time64_t>(now.seconds);
    out->millitm = static_cast<unsigned short>(now.nanoseconds / 1000000);
    out->timezone = static_cast<short>(state == TIME_ZONE_ID_INVALID ? 0 : zone.Bias);
    out->dstflag = static_cast<short>(state == TIME_ZONE_ID_DAYLIGHT ? 1 : 0);
}

} // namespace

void GetSystemTime(LPSYSTEMTIME systemTime) {
    if (!systemTime) {
        return;
    }
    const UtcInstant now = Now();
    if (!UnixTimeToSystemTime(now.seconds, now.nanoseconds / 1000000, systemTime)) {
        *systemTime = SYSTEMTIME{};
    }
}

void GetLocalTime(LPSYSTEMTIME localTime) {
    if (!localTime) {
        return;
    }
    const UtcInstant now = Now();
    struct tm fields {};
    *localTime = SYSTEMTIME{};
    if (!LocalTmFromSeconds(now.seconds, &fields)) {
        return;
    }
    localTime->wYear = static_cast<WORD>(fields.tm_year + 1900);
    localTime->wMonth = static_cast<WORD>(fields.tm_mon + 1);
    localTime->wDayOfWeek = static_cast<WORD>(fields.tm_wday);
    localTime->wDay = static_cast<WORD>(fields.tm_mday);
    localTime->wHour = static_cast<WORD>(fields.tm_hour);
    localTime->wMinute = static_cast<WORD>(fields.tm_min);
    localTime->wSecond = static_cast<WORD>(fields.tm_sec > 59 ? 59 : fields.tm_sec);
    localTime->wMilliseconds = static_cast<WORD>(now.nanoseconds / 1000000);
}

void GetSystemTimeAsFileTime(LPFILETIME fileTime) {
    if (!fileTime) {
        return;
    }
    const UtcInstant now = Now();
    if (!UnixTimeToFileTime(now.seconds, now.nanoseconds, fileTime)) {
        *fileTime = FILETIME{};
    }
}

BOOL SetSystemTime(const SYSTEMTIME* systemTime) {
    std::int64_t seconds = 0;
    int milliseconds = 0;
    if (!systemTime || !SystemTimeToUnixTime(*systemTime, &seconds, &milliseconds)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    return SetClock(UtcInstant{seconds, static_cast<std::int32_t>(milliseconds) * 1000000});
}

BOOL SetLocalTime(const SYSTEMTIME* localTime) {
    if (!localTime || !IsValidSystemTime(*localTime)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    struct tm fields {};
    fields.tm_year = localTime->wYear - 1900;
    fields.tm_mon = localTime->wMonth - 1;
    fields.tm_mday = localTime->wDay;
    fields.tm_hour = localTime->wHour;
    fields.tm_min = localTime->wMinute;
    fields.tm_sec = localTime->wSecond;
    fields.tm_isdst = -1;
    std::int64_t seconds = 0;
    if (!SecondsFromLocalTm(&fields, &seconds)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    return SetClock(UtcInstant{seconds, static_cast<std::int32_t>(localTime->wMilliseconds) * 1000000});
}

void _ftime64(struct __timeb64* timeptr) {
    FillTimeB(timeptr);
}

void _ftime(struct _timeb* timeptr) {
    FillTimeB(timeptr);
}

__time64_t _time64(__time64_t* destTime) {
    const __time64_t now = static_cast<__time64_t>(Now().seconds);
    if (destTime) {
        *destTime = now;
    }
    return now;
}
