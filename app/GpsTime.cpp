#include "app/GpsTime.h"

#include <cmath>
#include <cstdint>

CTime& AddTimeSpan(CTime& time, const CTimeSpan& span) {
    time += span;
    return time;
}

CTime& SubtractTimeSpan(CTime& time, const CTimeSpan& span) {
    time -= span;
    return time;
}

CGpsTime::CGpsTime() : m_time(CTime::GetCurrentTime()) {}

bool CGpsTime::Fields(struct tm* out) const {
    return m_time.GetGmtTm(out) != nullptr;
}

void CGpsTime::SetTime(const CTime& time) {
    m_time = time;
    struct tm fields {};
    if (!Fields(&fields)) {
        m_mjd = 0;
        return;
    }
    // No century rule: right for 1901..2099, as the receivers' dates are.
    const int year = fields.tm_year + 1900;
    m_mjd = static_cast<DWORD>((fields.tm_yday + 1) + 15384 +
                               static_cast<int>(std::trunc((year - 1901) * 365.25)));
}

int CGpsTime::GetYear() const {
    struct tm f {};
    return Fields(&f) ? f.tm_year + 1900 : 0;
}

int CGpsTime::GetMonth() const {
    struct tm f {};
    return Fields(&f) ? f.tm_mon + 1 : 0;
}

int CGpsTime::GetDay() const {
    struct tm f {};
    return Fields(&f) ? f.tm_mday : 0;
}

int CGpsTime::GetHour() const {
    struct tm f {};
    return Fields(&f) ? f.tm_hour : 0;
}

int CGpsTime::GetMinute() const {
    struct tm f {};
    return Fields(&f) ? f.tm_min : 0;
}

int CGpsTime::GetSecond() const {
    struct tm f {};
    return Fields(&f) ? f.tm_sec : 0;
}

int CGpsTime::GetDayOfWeek() const {
    struct tm f {};
    return Fields(&f) ? f.tm_wday + 1 : 0;
}

int CGpsTime::GetDayOfYear() const {
    struct tm f {};
    return Fields(&f) ? f.tm_yday + 1 : 0;
}

CString CGpsTime::Format(LPCTSTR format) const {
    return m_time.FormatGmt(format);
}

double CGpsTime::GetDayFraction() const {
    // The constants and the order of the sum are kept: the displayed digits depend on them.
    double fraction = GetHour() * 0.041666666666666664;
    fraction += GetSecond() * 1.1574074074074073e-05;
    fraction += GetMinute() * 0.0006944444444444445;
    return fraction;
}

double CGpsTime::GetMjdWithFraction() const {
    return static_cast<double>(m_mjd) + GetDayFraction();
}

CString CGpsTime::GetSiderealTimeText(int flag) const {
    const double t = (static_cast<double>(m_mjd) - 51544.5) * 2.7378507871321012e-05;
    const double g = t * 100.0021389946972 + 100.2790572732639;
    const double g0 = g - std::trunc(g);
    const double r = t * 5.9006e-11 + 1.002737909350795;
    // The whole 10 days keep s positive without touching its fraction.
    double s = GetDayFraction() * r + g0 + 10.0;
    if (flag == 1) {
        s += m_longitude * 0.002777777777777778;
    }
    const double f = (s - std::trunc(s)) * 86400;
    const auto n = static_cast<unsigned>(std::trunc(f));
    const auto c = static_cast<unsigned>(std::trunc((f - n) * 100));
    CString text;
    text.Format(u"%02u:%02u:%02u.%02u", n / 3600, (n / 60) % 60, n % 60, c);
    return text;
}

UINT CGpsTime::GetGpsWeek() const {
    return (m_mjd - 4u) / 7u - 6320u;
}

void CGpsTime::SetLocation(double latitude, double longitude) {
    m_latitude = latitude;
    m_longitude = longitude;
}

void CGpsTime::SetEpochOffset(LONG milliseconds) {
    m_epochOffset = milliseconds;
    RecomputeCorrection();
}

void CGpsTime::SetPpsOffset(ULONG nanoseconds) {
    m_ppsOffset = nanoseconds;
    RecomputeCorrection();
}

void CGpsTime::SetCableDelay(ULONG nanoseconds) {
    m_cableDelay = nanoseconds;
    RecomputeCorrection();
}

void CGpsTime::RecomputeCorrection() {
    // trunc(x + 0.5) is the receivers' own rounding; negative sums round toward zero with it.
    const double x = m_ppsOffset * 1e-6 + m_epochOffset - m_cableDelay * 1e-6 + 0.5;
    m_correction = static_cast<int>(static_cast<std::int64_t>(std::trunc(x)) % 1000);
}
