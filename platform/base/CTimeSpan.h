// A signed span of whole seconds, the difference of two CTime values.
#pragma once

#include "platform/base/CString.h"
#include "platform/base/Win32Types.h"

#include <cstdint>

// The framework's 64-bit time type (the C library's own name for it is not visible to C++ code).
using __time64_t = std::int64_t;

class CTimeSpan {
public:
    CTimeSpan() = default;
    CTimeSpan(__time64_t seconds) : m_timeSpan(seconds) {}
    CTimeSpan(LONG days, int hours, int minutes, int seconds)
        : m_timeSpan(((static_cast<__time64_t>(days) * 24 + hours) * 60 + minutes) * 60 + seconds) {}

    // The parts of a negative span are negative (truncated toward zero).
    LONGLONG GetDays() const { return m_timeSpan / 86400; }
    LONGLONG GetTotalHours() const { return m_timeSpan / 3600; }
    LONG GetHours() const { return static_cast<LONG>(GetTotalHours() - GetDays() * 24); }
    LONGLONG GetTotalMinutes() const { return m_timeSpan / 60; }
    LONG GetMinutes() const { return static_cast<LONG>(GetTotalMinutes() - GetTotalHours() * 60); }
    LONGLONG GetTotalSeconds() const { return m_timeSpan; }
    LONG GetSeconds() const { return static_cast<LONG>(GetTotalSeconds() - GetTotalMinutes() * 60); }
    __time64_t GetTimeSpan() const { return m_timeSpan; }

    CTimeSpan operator+(CTimeSpan span) const { return CTimeSpan(m_timeSpan + span.m_timeSpan); }
    CTimeSpan operator-(CTimeSpan span) const { return CTimeSpan(m_timeSpan - span.m_timeSpan); }
    CTimeSpan operator-() const { return CTimeSpan(-m_timeSpan); }
    CTimeSpan& operator+=(CTimeSpan span) {
        m_timeSpan += span.m_timeSpan;
        return *this;
    }
    CTimeSpan& operator-=(CTimeSpan span) {
        m_timeSpan -= span.m_timeSpan;
        return *this;
    }
    bool operator==(CTimeSpan span) const { return m_timeSpan == span.m_timeSpan; }
    bool operator!=(CTimeSpan span) const { return m_timeSpan != span.m_timeSpan; }
    bool operator<(CTimeSpan span) const { return m_timeSpan < span.m_timeSpan; }
    bool operator>(CTimeSpan span) const { return m_timeSpan > span.m_timeSpan; }
    bool operator<=(CTimeSpan span) const { return m_timeSpan <= span.m_timeSpan; }
    bool operator>=(CTimeSpan span) const { return m_timeSpan >= span.m_timeSpan; }

    // "%D" total days, "%H" "%M" "%S" the two-digit parts, "%%" a percent sign; any other "%x" is kept as
    // it stands.
    CString Format(LPCTSTR format) const;
    CString Format(UINT formatId) const;

private:
    __time64_t m_timeSpan = 0;
};
