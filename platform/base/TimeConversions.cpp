#include "platform/base/TimeConversions.h"

#include "platform/base/LastError.h"

#include <climits>
#include <memory>
#include <mutex>

namespace {

std::mutex g_sourceMutex;
// Held through a shared_ptr so that a caller can run the source outside the lock (a simulated clock may
// itself take locks).
std::shared_ptr<const UtcSource> g_source;

UtcInstant SystemUtc() {
    timespec ts{};
    clock_gettime(CLOCK_REALTIME, &ts);
    return UtcInstant{static_cast<std::int64_t>(ts.tv_sec), static_cast<std::int32_t>(ts.tv_nsec)};
}

std::int64_t FloorDiv(std::int64_t a, std::int64_t b) {
    std::int64_t q = a / b;
    if ((a % b != 0) && ((a < 0) != (b < 0))) {
        --q;
    }
    return q;
}

constexpr ULONGLONG kMaxFileTimeTicks = static_cast<ULONGLONG>(INT64_MAX);

void FillSystemTime(std::int64_t days, std::int64_t secondOfDay, int milliseconds, SYSTEMTIME* out) {
    std::int64_t year = 0;
    int month = 0;
    int day = 0;
    CivilFromDays(days, &year, &month, &day);
    out->wYear = static_cast<WORD>(year);
    out->wMonth = static_cast<WORD>(month);
    out->wDay = static_cast<WORD>(day);
    out->wDayOfWeek = static_cast<WORD>(DayOfWeekFromDays(days));
    out->wHour = static_cast<WORD>(secondOfDay / 3600);
    out->wMinute = static_cast<WORD>(secondOfDay / 60 % 60);
    out->wSecond = static_cast<WORD>(secondOfDay % 60);
    out->wMilliseconds = static_cast<WORD>(milliseconds);
}

} // namespace

UtcInstant CurrentUtc() {
    std::shared_ptr<const UtcSource> source;
    {
        std::lock_guard<std::mutex> lock(g_sourceMutex);
        source = g_source;
    }
    return source ? (*source)() : SystemUtc();
}

void SetCurrentUtcSource(UtcSource source) {
    std::shared_ptr<const UtcSource> next;
    if (source) {
        next = std::make_shared<const UtcSource>(std::move(source));
    }
    std::lock_guard<std::mutex> lock(g_sourceMutex);
    g_source = std::move(next);
}

UtcSource GetCurrentUtcSource() {
    std::lock_guard<std::mutex> lock(g_sourceMutex);
    return g_source ? *g_source : UtcSource();
}

std::int64_t DaysFromCivil(std::int64_t year, std::int64_t month, std::int64_t day) {
    year += FloorDiv(month - 1, 12);
    month = month - 1 - 12 * FloorDiv(month - 1, 12) + 1;
    // Count from 1 March so that the leap day ends the year.
    year -= month <= 2 ? 1 : 0;
    const std::int64_t era = FloorDiv(year, 400);
    const std::int64_t yearOfEra = year - era * 400;
    const std::int64_t dayOfYear = (153 * (month > 2 ? month - 3 : month + 9) + 2) / 5;
    const std::int64_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + dayOfEra - 719468 + (day - 1);
}

void CivilFromDays(std::int64_t days, std::int64_t* year, int* month, int* day) {
    days += 719468;
    const std::int64_t era = FloorDiv(days, 146097);
    const std::int64_t dayOfEra = days - era * 146097;
    const std::int64_t yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const std::int64_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const std::int64_t mp = (5 * dayOfYear + 2) / 153;
    const int m = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    *day = static_cast<int>(dayOfYear - (153 * mp + 2) / 5 + 1);
    *month = m;
    *year = yearOfEra + era * 400 + (m <= 2 ? 1 : 0);
}

bool IsLeapYear(std::int64_t year) {
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int DaysInMonth(std::int64_t year, int month) {
    static constexpr int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month < 1 || month > 12) {
        return 0;
    }
    return month == 2 && IsLeapYear(year) ? 29 : kDays[month - 1];
}

int DayOfWeekFromDays(std::int64_t days) {
    // 1970-01-01 was a Thursday.
    return static_cast<int>(days + 4 - 7 * FloorDiv(days + 4, 7));
}

std::int64_t SecondsFromUtcTm(const struct tm& fields) {
    const std::int64_t days = DaysFromCivil(static_cast<std::int64_t>(fields.tm_year) + 1900,
                                            std::int64_t{fields.tm_mon} + 1, fields.tm_mday);
    return days * 86400 + std::int64_t{fields.tm_hour} * 3600 + std::int64_t{fields.tm_min} * 60 +
           fields.tm_sec;
}

bool UtcTmFromSeconds(std::int64_t seconds, struct tm* out) {
    const std::int64_t days = FloorDiv(seconds, 86400);
    const std::int64_t secondOfDay = seconds - days * 86400;
    std::int64_t year = 0;
    int month = 0;
    int day = 0;
    CivilFromDays(days, &year, &month, &day);
    if (year - 1900 < INT_MIN || year - 1900 > INT_MAX) {
        return false;
    }
    *out = tm{};
    out->tm_year = static_cast<int>(year - 1900);
    out->tm_mon = month - 1;
    out->tm_mday = day;
    out->tm_hour = static_cast<int>(secondOfDay / 3600);
    out->tm_min = static_cast<int>(secondOfDay / 60 % 60);
    out->tm_sec = static_cast<int>(secondOfDay % 60);
    out->tm_wday = DayOfWeekFromDays(days);
    out->tm_yday = static_cast<int>(days - DaysFromCivil(year, 1, 1));
    out->tm_isdst = 0;
    return true;
}

bool LocalTmFromSeconds(std::int64_t seconds, struct tm* out) {
    const time_t t = static_cast<time_t>(seconds);
    return localtime_r(&t, out) != nullptr;
}

bool SecondsFromLocalTm(struct tm* fields, std::int64_t* seconds) {
    // mktime answers -1 both for failure and for the second before the epoch; a failure leaves the
    // weekday alone.
    fields->tm_wday = -1;
    const time_t t = mktime(fields);
    if (fields->tm_wday < 0) {
        return false;
    }
    *seconds = static_cast<std::int64_t>(t);
    return true;
}

bool UnixTimeToFileTime(std::int64_t seconds, std::int32_t nanoseconds, FILETIME* out) {
    if (nanoseconds < 0 || nanoseconds >= 1000000000) {
        return false;
    }
    const __int128 ticks =
        (static_cast<__int128>(seconds) + kFileTimeEpochOffsetSeconds) * kFileTimeTicksPerSecond +
        nanoseconds / 100;
    if (ticks < 0 || ticks > static_cast<__int128>(kMaxFileTimeTicks)) {
        return false;
    }
    *out = TicksToFileTime(static_cast<ULONGLONG>(ticks));
    return true;
}

bool FileTimeToUnixTime(const FILETIME& ft, std::int64_t* seconds, std::int32_t* nanoseconds) {
    const ULONGLONG ticks = FileTimeToTicks(ft);
    if (ticks > kMaxFileTimeTicks) {
        return false;
    }
    *seconds = static_cast<std::int64_t>(ticks / kFileTimeTicksPerSecond) - kFileTimeEpochOffsetSeconds;
    *nanoseconds = static_cast<std::int32_t>(ticks % kFileTimeTicksPerSecond * 100);
    return true;
}

bool UnixTimeToSystemTime(std::int64_t seconds, int milliseconds, SYSTEMTIME* out) {
    // Bounds: 1601-01-01T00:00:00 and 30827-12-31T23:59:59.
    constexpr std::int64_t kFirst = -kFileTimeEpochOffsetSeconds;
    constexpr std::int64_t kLast = 910670515199LL;
    if (milliseconds < 0 || milliseconds > 999 || seconds < kFirst || seconds > kLast) {
        return false;
    }
    const std::int64_t days = FloorDiv(seconds, 86400);
    FillSystemTime(days, seconds - days * 86400, milliseconds, out);
    return true;
}

bool IsValidSystemTime(const SYSTEMTIME& st) {
    return st.wYear >= 1601 && st.wYear <= 30827 && st.wMonth >= 1 && st.wMonth <= 12 && st.wDay >= 1 &&
           st.wDay <= DaysInMonth(st.wYear, st.wMonth) && st.wHour < 24 && st.wMinute < 60 &&
           st.wSecond < 60 && st.wMilliseconds < 1000;
}

bool SystemTimeToUnixTime(const SYSTEMTIME& st, std::int64_t* seconds, int* milliseconds) {
    if (!IsValidSystemTime(st)) {
        return false;
    }
    *seconds = DaysFromCivil(st.wYear, st.wMonth, st.wDay) * 86400 + std::int64_t{st.wHour} * 3600 +
               std::int64_t{st.wMinute} * 60 + st.wSecond;
    if (milliseconds) {
        *milliseconds = st.wMilliseconds;
    }
    return true;
}

BOOL SystemTimeToFileTime(const SYSTEMTIME* systemTime, LPFILETIME fileTime) {
    std::int64_t seconds = 0;
    int milliseconds = 0;
    if (!systemTime || !fileTime || !SystemTimeToUnixTime(*systemTime, &seconds, &milliseconds) ||
        !UnixTimeToFileTime(seconds, milliseconds * 1000000, fileTime)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    return TRUE;
}

BOOL FileTimeToSystemTime(const FILETIME* fileTime, LPSYSTEMTIME systemTime) {
    if (!fileTime || !systemTime || FileTimeToTicks(*fileTime) > kMaxFileTimeTicks) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    // Counted from 1601 directly: the years past 30827 that a FILETIME reaches still break down.
    const std::int64_t ticks = static_cast<std::int64_t>(FileTimeToTicks(*fileTime));
    const std::int64_t seconds = ticks / kFileTimeTicksPerSecond;
    const std::int64_t days = seconds / 86400 - kFileTimeEpochOffsetSeconds / 86400;
    FillSystemTime(days, seconds % 86400,
                   static_cast<int>(ticks % kFileTimeTicksPerSecond / (kFileTimeTicksPerSecond / 1000)),
                   systemTime);
    return TRUE;
}

BOOL FileTimeToLocalFileTime(const FILETIME* fileTime, LPFILETIME localFileTime) {
    std::int64_t seconds = 0;
    std::int32_t nanoseconds = 0;
    struct tm local {};
    if (!fileTime || !localFileTime || !FileTimeToUnixTime(*fileTime, &seconds, &nanoseconds) ||
        !LocalTmFromSeconds(seconds, &local)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    const __int128 ticks = static_cast<__int128>(FileTimeToTicks(*fileTime)) +
                           static_cast<__int128>(local.tm_gmtoff) * kFileTimeTicksPerSecond;
    if (ticks < 0 || ticks > static_cast<__int128>(kMaxFileTimeTicks)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    *localFileTime = TicksToFileTime(static_cast<ULONGLONG>(ticks));
    return TRUE;
}

BOOL LocalFileTimeToFileTime(const FILETIME* localFileTime, LPFILETIME fileTime) {
    std::int64_t localSeconds = 0;
    std::int32_t nanoseconds = 0;
    struct tm fields {};
    std::int64_t seconds = 0;
    if (!localFileTime || !fileTime || !FileTimeToUnixTime(*localFileTime, &localSeconds, &nanoseconds) ||
        !UtcTmFromSeconds(localSeconds, &fields)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    fields.tm_isdst = -1;
    if (!SecondsFromLocalTm(&fields, &seconds) || !UnixTimeToFileTime(seconds, nanoseconds, fileTime)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    return TRUE;
}

LONG CompareFileTime(const FILETIME* fileTime1, const FILETIME* fileTime2) {
    const ULONGLONG a = FileTimeToTicks(*fileTime1);
    const ULONGLONG b = FileTimeToTicks(*fileTime2);
    return a < b ? -1 : (a > b ? 1 : 0);
}

namespace {

constexpr const char16_t* kDayNames[7] = {u"Sunday",   u"Monday", u"Tuesday", u"Wednesday",
                                          u"Thursday", u"Friday", u"Saturday"};
constexpr const char16_t* kDayAbbrevs[7] = {u"Sun", u"Mon", u"Tue", u"Wed", u"Thu", u"Fri", u"Sat"};
constexpr const char16_t* kMonthNames[12] = {u"January",   u"February", u"March",    u"April",
                                             u"May",       u"June",     u"July",     u"August",
                                             u"September", u"October",  u"November", u"December"};
constexpr const char16_t* kMonthAbbrevs[12] = {u"Jan", u"Feb", u"Mar", u"Apr", u"May", u"Jun",
                                               u"Jul", u"Aug", u"Sep", u"Oct", u"Nov", u"Dec"};

// Zero-padded to width; "#" drops the padding.
void AppendNumber(std::u16string& out, long long value, int width, bool noPadding) {
    char digits[24];
    int count = 0;
    const bool negative = value < 0;
    unsigned long long magnitude =
        negative ? 0ULL - static_cast<unsigned long long>(value) : static_cast<unsigned long long>(value);
    do {
        digits[count++] = static_cast<char>('0' + magnitude % 10);
        magnitude /= 10;
    } while (magnitude != 0);
    if (negative) {
        out += u'-';
    }
    for (int i = count; !noPadding && i < width; ++i) {
        out += u'0';
    }
    while (count > 0) {
        out += static_cast<char16_t>(digits[--count]);
    }
}

// The C locale's short date "MM/dd/yy", long date "dddd, MMMM dd, yyyy" and time "HH:mm:ss".
void AppendShortDate(std::u16string& out, const struct tm& t) {
    AppendNumber(out, t.tm_mon + 1, 2, false);
    out += u'/';
    AppendNumber(out, t.tm_mday, 2, false);
    out += u'/';
    AppendNumber(out, ((t.tm_year + 1900) % 100 + 100) % 100, 2, false);
}

void AppendLongDate(std::u16string& out, const struct tm& t) {
    out += kDayNames[t.tm_wday];
    out += u", ";
    out += kMonthNames[t.tm_mon];
    out += u' ';
    AppendNumber(out, t.tm_mday, 2, false);
    out += u", ";
    AppendNumber(out, static_cast<long long>(t.tm_year) + 1900, 4, false);
}

void AppendTime(std::u16string& out, const struct tm& t) {
    AppendNumber(out, t.tm_hour, 2, false);
    out += u':';
    AppendNumber(out, t.tm_min, 2, false);
    out += u':';
    AppendNumber(out, t.tm_sec, 2, false);
}

bool FieldsInRange(const struct tm& t) {
    return t.tm_mon >= 0 && t.tm_mon < 12 && t.tm_wday >= 0 && t.tm_wday < 7 && t.tm_yday >= 0 &&
           t.tm_yday < 366 && t.tm_mday >= 1 && t.tm_mday <= 31 && t.tm_hour >= 0 && t.tm_hour < 24 &&
           t.tm_min >= 0 && t.tm_min < 60 && t.tm_sec >= 0 && t.tm_sec <= 60 && t.tm_year >= -1900 &&
           t.tm_year <= INT_MAX - 1900;
}

} // namespace

bool FormatTm(std::u16string& out, const char16_t* format, const struct tm& t, std::u16string_view zone) {
    out.clear();
    if (!format || !FieldsInRange(t)) {
        return false;
    }
    std::u16string result;
    const long long year = static_cast<long long>(t.tm_year) + 1900;
    for (const char16_t* p = format; *p; ++p) {
        if (*p != u'%') {
            result += *p;
            continue;
        }
        ++p;
        bool alternate = false;
        if (*p == u'#') {
            alternate = true;
            ++p;
        }
        switch (*p) {
        case u'a':
            result += kDayAbbrevs[t.tm_wday];
            break;
        case u'A':
            result += kDayNames[t.tm_wday];
            break;
        case u'b':
            result += kMonthAbbrevs[t.tm_mon];
            break;
        case u'B':
            result += kMonthNames[t.tm_mon];
            break;
        case u'c':
            if (alternate) {
                AppendLongDate(result, t);
                result += u", ";
            } else {
                AppendShortDate(result, t);
                result += u' ';
            }
            AppendTime(result, t);
            break;
        case u'd':
            AppendNumber(result, t.tm_mday, 2, alternate);
            break;
        case u'H':
            AppendNumber(result, t.tm_hour, 2, alternate);
            break;
        case u'I':
            AppendNumber(result, t.tm_hour % 12 == 0 ? 12 : t.tm_hour % 12, 2, alternate);
            break;
        case u'j':
            AppendNumber(result, t.tm_yday + 1, 3, alternate);
            break;
        case u'm':
            AppendNumber(result, t.tm_mon + 1, 2, alternate);
            break;
        case u'M':
            AppendNumber(result, t.tm_min, 2, alternate);
            break;
        case u'p':
            result += t.tm_hour < 12 ? u"AM" : u"PM";
            break;
        case u'S':
            AppendNumber(result, t.tm_sec, 2, alternate);
            break;
        case u'U':
            AppendNumber(result, (t.tm_yday + 7 - t.tm_wday) / 7, 2, alternate);
            break;
        case u'w':
            AppendNumber(result, t.tm_wday, 1, alternate);
            break;
        case u'W':
            AppendNumber(result, (t.tm_yday + 7 - (t.tm_wday + 6) % 7) / 7, 2, alternate);
            break;
        case u'x':
            if (alternate) {
                AppendLongDate(result, t);
            } else {
                AppendShortDate(result, t);
            }
            break;
        case u'X':
            AppendTime(result, t);
            break;
        case u'y':
            AppendNumber(result, (year % 100 + 100) % 100, 2, alternate);
            break;
        case u'Y':
            AppendNumber(result, year, 4, alternate);
            break;
        case u'z':
        case u'Z':
            result += zone;
            break;
        case u'%':
            result += u'%';
            break;
        default: // an unknown conversion, or "%" at the end
            return false;
        }
    }
    out = std::move(result);
    return true;
}
