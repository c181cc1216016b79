// The time of the current tick as the view keeps it: the receiver's UTC instant with its Modified Julian
// Date, the reference location for local sidereal time, and the receiver's timing offsets folded into the
// millisecond correction that the clock setting subtracts from the measured PC offset.
#pragma once

#include "platform/base/CString.h"
#include "platform/base/CTime.h"
#include "platform/base/Win32Types.h"

// A receiver time is a true UTC instant; its calendar fields are its UTC breakdown whatever the PC's time
// zone. kNoReceiverTime stands for "no receiver time yet" and, being before 1970, fails every such check.
constexpr __time64_t kNoReceiverTime = -1;
inline bool IsReceiverTime(const CTime& time) {
    return time.GetTime() >= 0;
}

// The view's span helpers, shared with the decoders: change the time in place and return it.
CTime& AddTimeSpan(CTime& time, const CTimeSpan& span);
CTime& SubtractTimeSpan(CTime& time, const CTimeSpan& span);

class CGpsTime {
public:
    CGpsTime();
    virtual ~CGpsTime() = default;

    void SetTime(const CTime& time);
    CTime GetTime() const { return m_time; }

    // UTC fields of the held time; 0 when it does not break down (no receiver time).
    int GetYear() const;
    int GetMonth() const;
    int GetDay() const;
    int GetHour() const;
    int GetMinute() const;
    int GetSecond() const;
    // 1 = Sunday.
    int GetDayOfWeek() const;
    // 1..366.
    int GetDayOfYear() const;
    // strftime-style pattern on the UTC fields.
    CString Format(LPCTSTR format) const;
    CTime SubtractSpan(const CTimeSpan& span) const { return m_time - span; }

    DWORD GetMjd() const { return m_mjd; }
    double GetDayFraction() const;
    double GetMjdWithFraction() const;
    // flag 1: local mean sidereal time at the stored longitude; anything else Greenwich.
    CString GetSiderealTimeText(int flag) const;
    // Weeks since 6 January 1980, not reduced modulo 1024.
    UINT GetGpsWeek() const;

    void SetLocation(double latitude, double longitude);
    double GetLatitude() const { return m_latitude; }
    double GetLongitude() const { return m_longitude; }

    void SetEpochOffset(LONG milliseconds);
    LONG GetEpochOffset() const { return m_epochOffset; }
    void SetPpsOffset(ULONG nanoseconds);
    ULONG GetPpsOffset() const { return m_ppsOffset; }
    void SetCableDelay(ULONG nanoseconds);
    ULONG GetCableDelay() const { return m_cableDelay; }
    // Milliseconds, -500..+499 for a non-negative offset sum, -999..-1 for a negative one.
    int GetCorrection() const { return m_correction < 500 ? m_correction : m_correction - 1000; }

private:
    bool Fields(struct tm* out) const;
    void RecomputeCorrection();

    CTime m_time;
    DWORD m_mjd = 0;
    double m_latitude = 0.0;
    double m_longitude = 0.0;
    LONG m_epochOffset = 0;
    ULONG m_ppsOffset = 0;
    ULONG m_cableDelay = 0;
    int m_correction = 0;
};
