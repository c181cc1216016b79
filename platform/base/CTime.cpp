#include "platform/base/CTime.h"

#include "platform/base/TimeConversions.h"

#include <climits>
#include <string>

namespace {

CString FormatWith(LPCTSTR format, const struct tm* fields, std::u16string_view zone) {
    std::u16string out;
    if (!fields || !FormatTm(out, format, *fields, zone)) {
        return CString();
    }
    return CString(std::move(out));
}

std::u16string ZoneName(const struct tm& fields) {
    std::u16string zone;
    for (const char* p = fields.tm_zone; p && *p; ++p) {
        zone += static_cast<char16_t>(static_cast<unsigned char>(*p));
    }
    return zone;
}

} // namespace

CTime CTime::GetCurrentTime() {
    return CTime(static_cast<__time64_t>(CurrentUtc().seconds));
}

CTime::CTime(int year, int month, int day, int hour, int minute, int second, int dst) {
    if (year < INT_MIN + 1900 || month == INT_MIN) {
        m_time = -1;
        return;
    }
    struct tm fields {};
    fields.tm_year = year - 1900;
    fields.tm_mon = month - 1;
    fields.tm_mday = day;
    fields.tm_hour = hour;
    fields.tm_min = minute;
    fields.tm_sec = second;
    fields.tm_isdst = dst;
    std::int64_t seconds = 0;
    m_time = SecondsFromLocalTm(&fields, &seconds) && seconds >= 0 && seconds <= kMaxTime ? seconds : -1;
}

CTime::CTime(WORD dosDate, WORD dosTime, int dst)
    : CTime(((dosDate >> 9) & 0x7F) + 1980, (dosDate >> 5) & 0x0F, dosDate & 0x1F, (dosTime >> 11) & 0x1F,
            (dosTime >> 5) & 0x3F, (dosTime & 0x1F) * 2, dst) {}

CTime::CTime(const SYSTEMTIME& systemTime, int dst) {
    if (systemTime.wYear >= 1900) {
        *this = CTime(systemTime.wYear, systemTime.wMonth, systemTime.wDay, systemTime.wHour,
                      systemTime.wMinute, systemTime.wSecond, dst);
    }
}

CTime::CTime(const FILETIME& fileTime, int dst) {
    FILETIME local;
    SYSTEMTIME fields;
    if (FileTimeToLocalFileTime(&fileTime, &local) && FileTimeToSystemTime(&local, &fields)) {
        *this = CTime(fields, dst);
    }
}

struct tm* CTime::GetGmtTm(struct tm* out) const {
    if (!out || m_time < 0 || m_time > kMaxTime || !UtcTmFromSeconds(m_time, out)) {
        return nullptr;
    }
    return out;
}

struct tm* CTime::GetLocalTm(struct tm* out) const {
    if (!out || m_time < 0 || m_time > kMaxTime || !LocalTmFromSeconds(m_time, out)) {
        return nullptr;
    }
    return out;
}

bool CTime::GetAsSystemTime(SYSTEMTIME& out) const {
    struct tm fields {};
    if (!GetLocalTm(&fields)) {
        return false;
    }
    out.wYear = static_cast<WORD>(fields.tm_year + 1900);
    out.wMonth = static_cast<WORD>(fields.tm_mon + 1);
    out.wDay = static_cast<WORD>(fields.tm_mday);
    out.wDayOfWeek = static_cast<WORD>(fields.tm_wday);
    out.wHour = static_cast<WORD>(fields.tm_hour);
    out.wMinute = static_cast<WORD>(fields.tm_min);
    out.wSecond = static_cast<WORD>(fields.tm_sec);
    out.wMilliseconds = 0;
    return true;
}

int CTime::GetYear() const {
    struct tm fields {};
    return GetLocalTm(&fields) ? fields.tm_year + 1900 : 0;
}

int CTime::GetMonth() const {
    struct tm fields {};
    return GetLocalTm(&fields) ? fields.tm_mon + 1 : 0;
}

int CTime::GetDay() const {
    struct tm fields {};
    return GetLocalTm(&fields) ? fields.tm_mday : 0;
}

int CTime::GetHour() const {
    struct tm fields {};
    return GetLocalTm(&fields) ? fields.tm_hour : -1;
}

int CTime::GetMinute() const {
    struct tm fields {};
    return GetLocalTm(&fields) ? fields.tm_min : -1;
}

int CTime::GetSecond() const {
    struct tm fields {};
    return GetLocalTm(&fields) ? fields.tm_sec : -1;
}

int CTime::GetDayOfWeek() const {
    struct tm fields {};
    return GetLocalTm(&fields) ? fields.tm_wday + 1 : 0;
}

CString CTime::Format(LPCTSTR format) const {
    struct tm fields {};
    const struct tm* local = GetLocalTm(&fields);
    return FormatWith(format, local, local ? ZoneName(*local) : std::u16string());
}

CString CTime::Format(UINT formatId) const {
    std::u16string format;
    return LoadStringResource(formatId, format) ? Format(format.c_str()) : CString();
}

CString CTime::FormatGmt(LPCTSTR format) const {
    struct tm fields {};
    return FormatWith(format, GetGmtTm(&fields), u"UTC");
}

CString CTime::FormatGmt(UINT formatId) const {
    std::u16string format;
    return LoadStringResource(formatId, format) ? FormatGmt(format.c_str()) : CString();
}
