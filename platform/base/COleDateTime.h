// The automation date: days since 1899-12-30 00:00 as a double with the time of day as its fraction, plus a
// status. Before 1899-12-30 the integer part counts days back and the fraction still runs forward from
// midnight (-1.25 is 1899-12-29 06:00). Valid dates run from 100-01-01 to 9999-12-31; values are rounded to
// the second when broken down. Texts are the en-US forms.
#pragma once

#include "platform/base/CString.h"
#include "platform/base/CTimeSpan.h"
#include "platform/base/Locale.h"
#include "platform/base/Win32Types.h"

#include <ctime>

using DATE = double;

#define VAR_TIMEVALUEONLY 0x00000001
#define VAR_DATEVALUEONLY 0x00000002

// What the accessors answer for a value that is not valid.
#define AFX_OLE_DATETIME_ERROR (-1)

// 100-01-01 00:00 and 9999-12-31 00:00.
constexpr DATE kMinOleDate = -657434.0;
constexpr DATE kMaxOleDate = 2958465.0;

class COleDateTimeSpan;

class COleDateTime {
public:
    enum DateTimeStatus { error = -1, valid = 0, invalid = 1, null = 2 };

    // The local date and time from the layer's clock hook, to the second.
    static COleDateTime GetCurrentTime();

    COleDateTime() = default;
    // Invalid when not finite or outside the valid range.
    COleDateTime(DATE date) { *this = date; }
    // Local time; invalid before 1970 or after 3000, as the runtime's conversion.
    COleDateTime(__time64_t time) { *this = time; }
    // Local fields; milliseconds and weekday are ignored.
    COleDateTime(const SYSTEMTIME& systemTime) { *this = systemTime; }
    // A UTC file time, shown in local time.
    COleDateTime(const FILETIME& fileTime) { *this = fileTime; }
    COleDateTime(int year, int month, int day, int hour, int minute, int second) {
        SetDateTime(year, month, day, hour, minute, second);
    }
    COleDateTime(WORD dosDate, WORD dosTime);

    COleDateTime& operator=(DATE date);
    COleDateTime& operator=(__time64_t time);
    COleDateTime& operator=(const SYSTEMTIME& systemTime);
    COleDateTime& operator=(const FILETIME& fileTime);

    DateTimeStatus GetStatus() const { return m_status; }
    void SetStatus(DateTimeStatus status) { m_status = status; }
    operator DATE() const { return m_dt; }

    bool GetAsSystemTime(SYSTEMTIME& out) const;
    // AFX_OLE_DATETIME_ERROR when the value is not valid.
    int GetYear() const;
    int GetMonth() const;
    int GetDay() const;
    int GetHour() const;
    int GetMinute() const;
    int GetSecond() const;
    // 1 = Sunday.
    int GetDayOfWeek() const;
    // 1 = 1 January.
    int GetDayOfYear() const;

    // 0 and status valid on success; 1 and status invalid (value 0) for fields outside the calendar or
    // years outside 100..9999.
    int SetDateTime(int year, int month, int day, int hour, int minute, int second);
    int SetDate(int year, int month, int day) { return SetDateTime(year, month, day, 0, 0, 0); }
    int SetTime(int hour, int minute, int second) { return SetDateTime(1899, 12, 30, hour, minute, second); }

    // The en-US forms: "3/14/1995", "14 March 1995", "March 14, 1995", "1995-03-14" (and "14/3/1995" when
    // the month cannot be first), times "12:41", "12:41:29", "1:05 PM", either part alone or both in
    // either order; weekday names are allowed. Two-digit years fall in 1930..2029; a date without a year is
    // in the current year. VAR_TIMEVALUEONLY keeps only the time, VAR_DATEVALUEONLY only the date. Text
    // that does not parse makes the value 0 and invalid and answers FALSE.
    BOOL ParseDateTime(LPCTSTR text, DWORD flags = 0, LCID locale = LANG_USER_DEFAULT);

    // Short date and long time, "3/14/1995 12:41:29 PM": midnight shows only the date, a date of
    // 1899-12-30 only the time (VAR_DATEVALUEONLY / VAR_TIMEVALUEONLY force one part). Null gives an empty
    // string, invalid "Invalid DateTime".
    CString Format(DWORD flags = 0, LCID locale = LANG_USER_DEFAULT) const;
    // strftime as CTime::Format; %z and %Z give the process time zone's standard name.
    CString Format(LPCTSTR format) const;
    CString Format(UINT formatId) const;

    bool operator==(const COleDateTime& other) const {
        return m_status == other.m_status && m_dt == other.m_dt;
    }
    bool operator!=(const COleDateTime& other) const { return !(*this == other); }
    // Ordered in time, not by the raw double: -1.25 (29 Dec 06:00) comes after -1.0 (29 Dec 00:00).
    bool operator<(const COleDateTime& other) const;
    bool operator>(const COleDateTime& other) const { return other < *this; }
    bool operator<=(const COleDateTime& other) const { return !(other < *this); }
    bool operator>=(const COleDateTime& other) const { return !(*this < other); }

    // Null if either side is null, invalid if either is invalid or the result leaves the range.
    COleDateTime operator+(const COleDateTimeSpan& span) const;
    COleDateTime operator-(const COleDateTimeSpan& span) const;
    COleDateTime& operator+=(const COleDateTimeSpan& span) { return *this = *this + span; }
    COleDateTime& operator-=(const COleDateTimeSpan& span) { return *this = *this - span; }
    COleDateTimeSpan operator-(const COleDateTime& other) const;

    DATE m_dt = 0.0;
    DateTimeStatus m_status = valid;
};

// A span of days as a double. The parts are taken from the span rounded to the second; those of a negative
// span are negative.
class COleDateTimeSpan {
public:
    enum DateTimeSpanStatus { valid = 0, invalid = 1, null = 2 };

    COleDateTimeSpan() = default;
    // Invalid when not finite or wider than the framework's limit (3615897 days either way).
    COleDateTimeSpan(double days);
    COleDateTimeSpan(LONG days, int hours, int minutes, int seconds) {
        SetDateTimeSpan(days, hours, minutes, seconds);
    }

    DateTimeSpanStatus GetStatus() const { return m_status; }
    void SetStatus(DateTimeSpanStatus status) { m_status = status; }
    operator double() const { return m_span; }

    // Whole units.
    double GetTotalDays() const;
    double GetTotalHours() const;
    double GetTotalMinutes() const;
    double GetTotalSeconds() const;
    LONG GetDays() const;
    LONG GetHours() const;
    LONG GetMinutes() const;
    LONG GetSeconds() const;

    void SetDateTimeSpan(LONG days, int hours, int minutes, int seconds);

    // As CTimeSpan::Format ("%D", "%H", "%M", "%S", "%%"). Null gives an empty string, invalid
    // "Invalid DateTimeSpan".
    CString Format(LPCTSTR format) const;
    CString Format(UINT formatId) const;

    bool operator==(const COleDateTimeSpan& other) const {
        return m_status == other.m_status && m_span == other.m_span;
    }
    bool operator!=(const COleDateTimeSpan& other) const { return !(*this == other); }
    bool operator<(const COleDateTimeSpan& other) const { return m_span < other.m_span; }
    bool operator>(const COleDateTimeSpan& other) const { return m_span > other.m_span; }
    bool operator<=(const COleDateTimeSpan& other) const { return m_span <= other.m_span; }
    bool operator>=(const COleDateTimeSpan& other) const { return m_span >= other.m_span; }

    COleDateTimeSpan operator+(const COleDateTimeSpan& other) const;
    COleDateTimeSpan operator-(const COleDateTimeSpan& other) const;
    COleDateTimeSpan operator-() const;
    COleDateTimeSpan operator*(double factor) const;
    COleDateTimeSpan operator/(double divisor) const;
    COleDateTimeSpan& operator+=(const COleDateTimeSpan& other) { return *this = *this + other; }
    COleDateTimeSpan& operator-=(const COleDateTimeSpan& other) { return *this = *this - other; }
    COleDateTimeSpan& operator*=(double factor) { return *this = *this * factor; }
    COleDateTimeSpan& operator/=(double divisor) { return *this = *this / divisor; }

    double m_span = 0.0;
    DateTimeSpanStatus m_status = valid;

private:
    long long RoundedSeconds() const;
};
