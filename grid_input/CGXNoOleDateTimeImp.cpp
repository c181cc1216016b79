#include "grid_input/CGXNoOleDateTimeImp.h"

#include "grid/GridLibraryState.h"
#include "grid_input/GridDateTime.h"
#include "platform/base/Locale.h"
#include "platform/base/WideRuntime.h"

#include <cwctype>
#include <string>

namespace {

constexpr int kUndetermined = 3;

// The locale settings as last read; shared by every object.
struct LocaleCache {
    int order = kUndetermined;
    BOOL fourDigitYear = FALSE;
    WCHAR dateSeparator = u'/';
    WCHAR timeSeparator = 0;
};

LocaleCache& Cache() {
    static LocaleCache cache;
    return cache;
}

std::u16string LocaleText(LCTYPE type) {
    WCHAR buffer[128] = {};
    GetLocaleInfoW(LOCALE_USER_DEFAULT, type, buffer, static_cast<int>(std::size(buffer)));
    return buffer;
}

bool IsLeapYear(int year) {
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int DaysInMonth(int month, int year) {
    static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return kDays[month - 1] + (month == 2 && IsLeapYear(year) ? 1 : 0);
}

bool IsDigit(char16_t c) {
    return c >= u'0' && c <= u'9';
}

void StripBlanks(std::u16string& text) {
    text.erase(0, text.find_first_not_of(u' ') == std::u16string::npos ? text.size()
                                                                        : text.find_first_not_of(u' '));
}

bool EndsWithNoCase(const std::u16string& text, const char16_t* ending) {
    const std::u16string tail = ending;
    if (text.size() < tail.size()) {
        return false;
    }
    for (size_t i = 0; i < tail.size(); ++i) {
        if (std::towupper(text[text.size() - tail.size() + i]) != tail[i]) {
            return false;
        }
    }
    return true;
}

int ValueOf(const std::u16string& digits) {
    return _wtoi(digits.c_str());
}

// Takes one date field (after an optional separator) from the front of the text; -1 when there is none
// or its digit count or value is outside the limits.
int ReadField(std::u16string& text, size_t maxDigits, int minValue, int maxValue, size_t* digitCount = nullptr) {
    if (text.empty()) {
        return -1;
    }
    StripBlanks(text);
    if (!text.empty() && !IsDigit(text[0])) {
        text.erase(0, 1);
    }
    if (text.empty()) {
        return -1;
    }
    size_t digits = 0;
    while (digits < text.size() && IsDigit(text[digits])) {
        ++digits;
    }
    const int value = ValueOf(text.substr(0, digits));
    if (digits < 1 || digits > maxDigits || value < minValue || value > maxValue) {
        return -1;
    }
    text.erase(0, digits);
    if (digitCount) {
        *digitCount = digits;
    }
    return value;
}

// Years of one or two digits from 1 to 99 are of the 1900s; 0 stays 0.
int ReadYear(std::u16string& text) {
    size_t digits = 0;
    const int year = ReadField(text, 4, 0, 9999, &digits);
    return year >= 1 && year <= 99 && digits <= 2 ? year + 1900 : year;
}

// The two records the parser fills.
struct TimestampFields {
    GXTimestamp& record;
    void Clear() { record = GXTimestamp{}; }
    void PresetTimeOnly() {
        record.year = 70;
        record.month = 0;
        record.day = 1;
    }
    void SetTime(int hour, int minute, int second) {
        record.hour = static_cast<WORD>(hour);
        record.minute = static_cast<WORD>(minute);
        record.second = static_cast<WORD>(second);
    }
    void SetDay(int day) { record.day = static_cast<WORD>(day); }
    void SetMonth(int month) { record.month = static_cast<WORD>(month); }
    void SetYear(int year) { record.year = static_cast<short>(year); }
};

struct TmFields {
    std::tm& record;
    void Clear() { record = std::tm{}; }
    void PresetTimeOnly() {
        record.tm_mday = 1;
        record.tm_mon = 0;
        record.tm_year = 70;
    }
    void SetTime(int hour, int minute, int second) {
        record.tm_hour = hour;
        record.tm_min = minute;
        record.tm_sec = second;
    }
    void SetDay(int day) { record.tm_mday = day; }
    void SetMonth(int month) { record.tm_mon = month - 1; }
    // 0 to 37 mean 2000 to 2037.
    void SetYear(int year) {
        record.tm_year = year >= 1900 ? year - 1900 : (year <= 37 ? year + 100 : year);
    }
};

// Hours before the separator, AM/PM from the ending, then two-digit minutes and seconds at fixed places.
bool ParseTime(std::u16string part, WCHAR separator, int& hour, int& minute, int& second) {
    const size_t at = part.find(separator);
    hour = ValueOf(part.substr(0, at));
    bool ok = true;
    if (EndsWithNoCase(part, u"PM") || EndsWithNoCase(part, u"P")) {
        hour += 12;
        if (hour == 24) {
            hour = 12;
        }
    } else if (EndsWithNoCase(part, u"AM") || EndsWithNoCase(part, u"A")) {
        if (hour > 12) {
            ok = false;
        }
        if (hour == 12) {
            hour = 0;
        }
    }
    ok = ok && hour >= 0 && hour <= 24;
    minute = second = 0;
    if (ok && !part.empty()) {
        part.erase(0, at == std::u16string::npos ? part.size() : at + 1);
        minute = ValueOf(part.substr(0, 2));
        ok = minute >= 0 && minute < 60;
    }
    if (ok && !part.empty()) {
        part.erase(0, std::min<size_t>(3, part.size()));
        second = ValueOf(part.substr(0, 2));
        ok = second >= 0 && second < 60;
    }
    return ok;
}

template <class Fields>
BOOL ParseInto(Fields fields, LPCTSTR text, int order) {
    fields.Clear();
    const std::u16string all = text ? text : u"";
    const WCHAR separator = GetLocaleTimeSeparator(FALSE);
    const size_t blank = all.find(u' ');
    const size_t colon = all.find(separator);
    std::u16string datePart;
    std::u16string timePart;
    if (blank != std::u16string::npos && colon != std::u16string::npos && colon > blank) {
        datePart = all.substr(0, blank);
        timePart = all.substr(blank + 1);
    } else if (colon == std::u16string::npos) {
        datePart = all;
    } else {
        timePart = all;
    }
    StripBlanks(datePart);
    StripBlanks(timePart);

    bool ok = true;
    if (!timePart.empty()) {
        fields.PresetTimeOnly();
        int hour = 0;
        int minute = 0;
        int second = 0;
        ok = ParseTime(timePart, separator, hour, minute, second);
        fields.SetTime(hour, minute, second);
    }
    if (datePart.empty()) {
        return ok ? TRUE : FALSE;
    }
    if (datePart.find_first_not_of(u"0123456789/-. ") != std::u16string::npos) {
        return FALSE;
    }
    if (datePart.size() == 6 && datePart.find_first_not_of(u"0123456789") == std::u16string::npos) {
        datePart = datePart.substr(0, 2) + u"/" + datePart.substr(2, 2) + u"/" + datePart.substr(4, 2);
    }
    if (order == kUndetermined) {
        BOOL fourDigits = FALSE;
        WCHAR dateSeparator = 0;
        order = GetLocaleDateOrder(FALSE, &fourDigits, &dateSeparator);
    }
    if (!ok || order < 0 || order > 2) {
        return FALSE;
    }
    static constexpr char kSequence[3][3] = {{'d', 'm', 'y'}, {'m', 'd', 'y'}, {'y', 'm', 'd'}};
    int day = 0;
    int month = 0;
    int year = 0;
    for (char field : kSequence[order]) {
        const int value = field == 'd' ? ReadField(datePart, 2, 1, 31)
                          : field == 'm' ? ReadField(datePart, 2, 1, 12)
                                         : ReadYear(datePart);
        if (value < 0) {
            return FALSE;
        }
        (field == 'd' ? day : field == 'm' ? month : year) = value;
        if (field == 'd') {
            fields.SetDay(value);
        } else if (field == 'm') {
            fields.SetMonth(value);
        } else {
            fields.SetYear(value);
        }
    }
    return day <= DaysInMonth(month, year) ? TRUE : FALSE;
}

} // namespace

void CGXNoOleDateTimeImp::ReloadLocaleSettings() {
    BOOL fourDigits = FALSE;
    WCHAR separator = 0;
    // Its own queries: the cache is filled even while another object is the installed one.
    GetDateOrder(TRUE, &fourDigits, &separator);
    GetTimeSeparator(TRUE);
}

int CGXNoOleDateTimeImp::GetDateOrder(BOOL reload, BOOL* fourDigitYear, WCHAR* dateSeparator) {
    LocaleCache& cache = Cache();
    if (cache.order == kUndetermined || reload) {
        if (fourDigitYear) {
            *fourDigitYear = FALSE;
        }
        std::u16string pattern = LocaleText(LOCALE_SSHORTDATE);
        cache.order = 1;
        if (!pattern.empty()) {
            for (char16_t& c : pattern) {
                c = static_cast<char16_t>(std::towupper(c));
            }
            cache.order = pattern[0] == u'D' ? 0 : pattern[0] == u'Y' ? 2 : 1;
            cache.fourDigitYear = pattern.find(u"YYYY") != std::u16string::npos;
            size_t letters = 0;
            while (letters < pattern.size() && pattern[letters] != u' ' && std::iswalpha(pattern[letters])) {
                ++letters;
            }
            cache.dateSeparator = letters < pattern.size() ? pattern[letters] : 0;
        }
    }
    if (fourDigitYear) {
        *fourDigitYear = cache.fourDigitYear;
    }
    if (dateSeparator) {
        *dateSeparator = cache.dateSeparator;
    }
    return cache.order;
}

WCHAR CGXNoOleDateTimeImp::GetTimeSeparator(BOOL reload) {
    LocaleCache& cache = Cache();
    if (cache.timeSeparator == 0 || reload) {
        const std::u16string text = LocaleText(LOCALE_STIME);
        cache.timeSeparator = text.empty() ? u':' : text[0];
    }
    return cache.timeSeparator;
}

BOOL CGXNoOleDateTimeImp::ParseDateTimeFields(GXTimestamp* out, LPCTSTR text, int order) {
    return out ? ParseInto(TimestampFields{*out}, text, order) : FALSE;
}

BOOL CGXNoOleDateTimeImp::ParseDateTimeTm(std::tm* out, LPCTSTR text, int order) {
    return out ? ParseInto(TmFields{*out}, text, order) : FALSE;
}

void CGXNoOleDateTimeImp::FormatDateTime(CString& out, const GXTimestamp& timestamp) {
    const bool hasTime = timestamp.hour != 0 || timestamp.minute != 0 || timestamp.second != 0;
    const bool hasDate = timestamp.month != 0;
    BOOL fourDigits = FALSE;
    WCHAR dateSeparator = u'/';
    const int order = GetLocaleDateOrder(FALSE, &fourDigits, &dateSeparator);
    const WCHAR timeSeparator = GetLocaleTimeSeparator(FALSE);

    CString date;
    const int year = fourDigits ? timestamp.year : timestamp.year % 100;
    switch (order) {
    case 0:
        date.Format(fourDigits ? u"%02d%c%02d%c%04d" : u"%02d%c%02d%c%02d", timestamp.day, dateSeparator,
                    timestamp.month, dateSeparator, year);
        break;
    case 1:
        date.Format(fourDigits ? u"%02d%c%02d%c%04d" : u"%02d%c%02d%c%02d", timestamp.month, dateSeparator,
                    timestamp.day, dateSeparator, year);
        break;
    case 2:
        date.Format(fourDigits ? u"%04d%c%02d%c%02d" : u"%02d%c%02d%c%02d", year, dateSeparator,
                    timestamp.month, dateSeparator, timestamp.day);
        break;
    default:
        break;
    }
    out.Empty();
    if (hasDate) {
        out = date;
    }
    if (hasDate && hasTime) {
        out += u" ";
    }
    if (hasTime) {
        CString time;
        time.Format(u"%02d%c%02d%c%02d", timestamp.hour, timeSeparator, timestamp.minute, timeSeparator,
                    timestamp.second);
        out += time;
    }
}

void CGXNoOleDateTimeImp::FormatTime(CString& out, const CTime& time) {
    FormatLocalTime(out, time);
}

void CGXNoOleDateTimeImp::ClearLocaleCache() {
    Cache() = LocaleCache{};
}

void InstallNoOleDateTime() {
    InstallAppFeature<CGXNoOleDateTimeImp>(GridLibraryState::Instance().dateTimeImp);
}
