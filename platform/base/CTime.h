// The framework's calendar time: 64-bit seconds since 1970-01-01T00:00:00Z. The calendar accessors and
// Format break it down in local time (the process time zone); GetGmtTm and FormatGmt in UTC. As with the
// original runtime, times before 1970 or after 3000 do not break down: the accessors answer 0 and Format an
// empty string.
#pragma once

#include "platform/base/CString.h"
#include "platform/base/CTimeSpan.h"
#include "platform/base/Win32Types.h"

#include <ctime>

class CTime {
public:
    // 3000-12-31T23:59:59Z, the last time the runtime breaks down.
    static constexpr __time64_t kMaxTime = 32535215999LL;

    // From the layer's clock hook (CurrentUtc), truncated to the second.
    static CTime GetCurrentTime();

    CTime() = default;
    CTime(__time64_t time) : m_time(time) {}
    // Local time; dst = -1 lets the time zone decide, 0 standard time, 1 daylight time. Fields out of range
    // carry over as mktime does; a result the runtime cannot hold gives the time -1.
    CTime(int year, int month, int day, int hour, int minute, int second, int dst = -1);
    CTime(WORD dosDate, WORD dosTime, int dst = -1);
    // Local fields; a year before 1900 gives the time 0.
    CTime(const SYSTEMTIME& systemTime, int dst = -1);
    // A UTC file time, taken through local time as the framework does; an invalid one gives the time 0.
    CTime(const FILETIME& fileTime, int dst = -1);

    CTime& operator=(__time64_t time) {
        m_time = time;
        return *this;
    }

    __time64_t GetTime() const { return m_time; }
    // Null when the time does not break down.
    struct tm* GetGmtTm(struct tm* out) const;
    struct tm* GetLocalTm(struct tm* out) const;
    // Local fields, milliseconds 0.
    bool GetAsSystemTime(SYSTEMTIME& out) const;

    // Year, month, day and weekday answer 0, hour, minute and second -1 when the time does not break down.
    int GetYear() const;
    int GetMonth() const;
    int GetDay() const;
    int GetHour() const;
    int GetMinute() const;
    int GetSecond() const;
    // 1 = Sunday.
    int GetDayOfWeek() const;

    // strftime with the original runtime's conventions (see FormatTm); an invalid format or a time that
    // does not break down gives an empty string.
    CString Format(LPCTSTR format) const;
    CString Format(UINT formatId) const;
    CString FormatGmt(LPCTSTR format) const;
    CString FormatGmt(UINT formatId) const;

    CTimeSpan operator-(CTime time) const { return CTimeSpan(m_time - time.m_time); }
    CTime operator-(CTimeSpan span) const { return CTime(m_time - span.GetTimeSpan()); }
    CTime operator+(CTimeSpan span) const { return CTime(m_time + span.GetTimeSpan()); }
    CTime& operator+=(CTimeSpan span) {
        m_time += span.GetTimeSpan();
        return *this;
    }
    CTime& operator-=(CTimeSpan span) {
        m_time -= span.GetTimeSpan();
        return *this;
    }
    bool operator==(CTime time) const { return m_time == time.m_time; }
    bool operator!=(CTime time) const { return m_time != time.m_time; }
    bool operator<(CTime time) const { return m_time < time.m_time; }
    bool operator>(CTime time) const { return m_time > time.m_time; }
    bool operator<=(CTime time) const { return m_time <= time.m_time; }
    bool operator>=(CTime time) const { return m_time >= time.m_time; }

private:
    __time64_t m_time = 0;
};
