#include "platform/base/COleDateTime.h"

#include "platform/base/CTime.h"
#include "platform/base/CTimeSpan.h"
#include "platform/base/TimeConversions.h"

#include <cmath>
#include <optional>
#include <string>
#include <vector>

namespace {

// 1899-12-30 counted from 1970-01-01.
constexpr std::int64_t kOleEpochUnixDays = -25569;
// The widest span the framework accepts, in days.
constexpr double kMaxSpanDays = 3615897.0;

constexpr const char16_t* kInvalidDateTimeText = u"Invalid DateTime";
constexpr const char16_t* kInvalidSpanText = u"Invalid DateTimeSpan";

struct Fields {
    int year = 0;
    int month = 0;
    int day = 0;
    int hour = 0;
    int minute = 0;
    int second = 0;
    int dayOfWeek = 0; // 0 = Sunday
    int dayOfYear = 0; // 0 = 1 January
};

bool InRange(double dt) {
    return std::isfinite(dt) && dt > kMinOleDate - 1.0 && dt < kMaxOleDate + 1.0;
}

// A DATE on a single time line: before the epoch the fraction runs forward from the (negative) day.
double LinearFromDate(double dt) {
    if (dt >= 0.0) {
        return dt;
    }
    const double whole = std::trunc(dt);
    return 2.0 * whole - dt;
}

double DateFromLinear(double linear) {
    if (linear >= 0.0) {
        return linear;
    }
    const double day = std::floor(linear);
    return day - (linear - day);
}

// Nearest whole second, clamped so that no cast overflows.
long long RoundSeconds(double days) {
    constexpr double kLimit = 4.0e18;
    if (std::isnan(days)) {
        return 0;
    }
    const double seconds = std::floor(days * 86400.0 + 0.5);
    if (seconds >= kLimit) {
        return static_cast<long long>(kLimit);
    }
    if (seconds <= -kLimit) {
        return -static_cast<long long>(kLimit);
    }
    return static_cast<long long>(seconds);
}

long long FloorDiv(long long a, long long b) {
    long long q = a / b;
    if (a % b != 0 && (a < 0) != (b < 0)) {
        --q;
    }
    return q;
}

bool BreakDown(double dt, Fields* out) {
    if (!InRange(dt)) {
        return false;
    }
    const long long seconds = RoundSeconds(LinearFromDate(dt));
    const long long days = FloorDiv(seconds, 86400);
    const long long secondOfDay = seconds - days * 86400;
    std::int64_t year = 0;
    CivilFromDays(days + kOleEpochUnixDays, &year, &out->month, &out->day);
    if (year < 100 || year > 9999) {
        return false;
    }
    out->year = static_cast<int>(year);
    out->hour = static_cast<int>(secondOfDay / 3600);
    out->minute = static_cast<int>(secondOfDay / 60 % 60);
    out->second = static_cast<int>(secondOfDay % 60);
    out->dayOfWeek = DayOfWeekFromDays(days + kOleEpochUnixDays);
    out->dayOfYear = static_cast<int>(days + kOleEpochUnixDays - DaysFromCivil(year, 1, 1));
    return true;
}

std::optional<double> DateFromFields(int year, int month, int day, int hour, int minute, int second) {
    if (year < 100 || year > 9999 || month < 1 || month > 12 || day < 1 || day > DaysInMonth(year, month) ||
        hour < 0 || hour > 23 || minute < 0 || minute > 59 || second < 0 || second > 59) {
        return std::nullopt;
    }
    const double days = static_cast<double>(DaysFromCivil(year, month, day) - kOleEpochUnixDays);
    const double time = (hour * 3600 + minute * 60 + second) / 86400.0;
    return days >= 0.0 ? days + time : days - time;
}

void AppendNumber(std::u16string& out, int value, size_t width) {
    const std::string digits = std::to_string(value);
    for (size_t i = digits.size(); i < width; ++i) {
        out += u'0';
    }
    out.append(digits.begin(), digits.end());
}

// ---- Parsing ----

struct Token {
    enum Kind { Number, Word, Separator } kind;
    long long value = 0;  // Number
    int digits = 0;       // Number
    std::u16string word;  // Word, lower case
    char16_t separator{}; // Separator; runs of white space become one ' '
};

bool IsSpace(char16_t ch) {
    return ch == u' ' || ch == u'\t' || ch == u'\r' || ch == u'\n' || ch == 0xA0;
}

bool Tokenize(const char16_t* text, std::vector<Token>& tokens) {
    for (const char16_t* p = text; *p;) {
        if (IsSpace(*p)) {
            while (IsSpace(*p)) {
                ++p;
            }
            tokens.push_back(Token{Token::Separator, 0, 0, {}, u' '});
        } else if (*p >= u'0' && *p <= u'9') {
            Token token{Token::Number, 0, 0, {}, 0};
            while (*p >= u'0' && *p <= u'9') {
                if (++token.digits > 9) {
                    return false;
                }
                token.value = token.value * 10 + (*p++ - u'0');
            }
            tokens.push_back(std::move(token));
        } else if ((*p >= u'a' && *p <= u'z') || (*p >= u'A' && *p <= u'Z')) {
            Token token{Token::Word, 0, 0, {}, 0};
            while ((*p >= u'a' && *p <= u'z') || (*p >= u'A' && *p <= u'Z')) {
                if (token.word.size() > 16) {
                    return false;
                }
                token.word += static_cast<char16_t>(*p >= u'A' && *p <= u'Z' ? *p - u'A' + u'a' : *p);
                ++p;
            }
            tokens.push_back(std::move(token));
        } else if (*p == u'/' || *p == u'-' || *p == u'.' || *p == u':' || *p == u',') {
            tokens.push_back(Token{Token::Separator, 0, 0, {}, *p++});
        } else {
            return false;
        }
    }
    return true;
}

constexpr const char16_t* kMonthWords[12] = {u"january",   u"february", u"march",    u"april",
                                             u"may",       u"june",     u"july",     u"august",
                                             u"september", u"october",  u"november", u"december"};
constexpr const char16_t* kDayWords[7] = {u"sunday",   u"monday", u"tuesday", u"wednesday",
                                          u"thursday", u"friday", u"saturday"};

// Full name or its first three letters (and "sept").
int MatchName(const std::u16string& word, const char16_t* const* names, int count) {
    for (int i = 0; i < count; ++i) {
        const std::u16string_view name(names[i]);
        if (name.compare(word) == 0 || (word.size() == 3 && name.substr(0, 3).compare(word) == 0) ||
            (word.compare(u"sept") == 0 && i == 8)) {
            return i;
        }
    }
    return -1;
}

struct DateNumber {
    long long value;
    int digits;
};

bool LooksLikeYear(const DateNumber& n) {
    return n.digits >= 3 || n.value > 31;
}

// Two-digit years fall in 1930..2029.
long long FullYear(const DateNumber& n) {
    if (n.digits <= 2) {
        return n.value < 30 ? 2000 + n.value : 1900 + n.value;
    }
    return n.value;
}

int CurrentLocalYear() {
    struct tm local {};
    return LocalTmFromSeconds(CurrentUtc().seconds, &local) ? local.tm_year + 1900 : 1970;
}

struct ParsedText {
    bool hasDate = false;
    long long year = 0;
    long long month = 0;
    long long day = 0;
    bool hasTime = false;
    long long hour = 0;
    long long minute = 0;
    long long second = 0;
};

bool ResolveDate(const std::vector<DateNumber>& numbers, int monthName, ParsedText& out) {
    const size_t count = numbers.size();
    if (monthName >= 0) {
        out.month = monthName + 1;
        if (count == 1) {
            if (LooksLikeYear(numbers[0])) { // "March 1995"
                out.year = FullYear(numbers[0]);
                out.day = 1;
            } else { // "March 14"
                out.year = CurrentLocalYear();
                out.day = numbers[0].value;
            }
        } else if (count == 2) {
            if (LooksLikeYear(numbers[0]) && !LooksLikeYear(numbers[1])) { // "1995 March 14"
                out.year = FullYear(numbers[0]);
                out.day = numbers[1].value;
            } else { // "14 March 1995", "March 14, 1995"
                out.day = numbers[0].value;
                out.year = FullYear(numbers[1]);
            }
        } else {
            return false;
        }
    } else if (count == 3) {
        if (LooksLikeYear(numbers[0])) { // "1995-03-14"
            out.year = FullYear(numbers[0]);
            out.month = numbers[1].value;
            out.day = numbers[2].value;
        } else { // "3/14/1995"; "14/3/1995" when the first cannot be a month
            out.month = numbers[0].value;
            out.day = numbers[1].value;
            out.year = FullYear(numbers[2]);
            if (out.month > 12 && out.day <= 12) {
                std::swap(out.month, out.day);
            }
        }
    } else if (count == 2) {
        if (LooksLikeYear(numbers[0])) { // "1995/3"
            out.year = FullYear(numbers[0]);
            out.month = numbers[1].value;
            out.day = 1;
        } else if (LooksLikeYear(numbers[1])) { // "3/1995"
            out.month = numbers[0].value;
            out.year = FullYear(numbers[1]);
            out.day = 1;
        } else { // "3/14"
            out.year = CurrentLocalYear();
            out.month = numbers[0].value;
            out.day = numbers[1].value;
            if (out.month > 12 && out.day <= 12) {
                std::swap(out.month, out.day);
            }
        }
    } else {
        return false;
    }
    out.hasDate = true;
    return true;
}

bool ParseText(const char16_t* text, ParsedText& out) {
    std::vector<Token> tokens;
    if (!Tokenize(text, tokens)) {
        return false;
    }
    // Index of the next token that is not white space.
    auto next = [&tokens](size_t i) {
        while (i < tokens.size() && tokens[i].kind == Token::Separator && tokens[i].separator == u' ') {
            ++i;
        }
        return i;
    };
    auto isWord = [&tokens](size_t i, std::u16string_view word) {
        return i < tokens.size() && tokens[i].kind == Token::Word && tokens[i].word == word;
    };
    auto isSeparator = [&tokens](size_t i, char16_t separator) {
        return i < tokens.size() && tokens[i].kind == Token::Separator && tokens[i].separator == separator;
    };
    auto isNumber = [&tokens](size_t i) { return i < tokens.size() && tokens[i].kind == Token::Number; };

    std::vector<DateNumber> numbers;
    int monthName = -1;
    bool weekday = false;
    for (size_t i = 0; i < tokens.size();) {
        const Token& token = tokens[i];
        if (token.kind == Token::Separator) {
            if (token.separator == u':') {
                return false;
            }
            ++i;
        } else if (token.kind == Token::Word) {
            const int month = MatchName(token.word, kMonthWords, 12);
            if (month >= 0 && monthName < 0) {
                monthName = month;
            } else if (MatchName(token.word, kDayWords, 7) >= 0 && !weekday) {
                weekday = true;
            } else {
                return false;
            }
            ++i;
        } else if (size_t after = next(i + 1);
                   isSeparator(after, u':') || isWord(after, u"am") || isWord(after, u"pm")) {
            if (out.hasTime) {
                return false;
            }
            out.hasTime = true;
            out.hour = token.value;
            size_t j = after;
            if (isSeparator(j, u':')) {
                if (!isNumber(j + 1)) {
                    return false;
                }
                out.minute = tokens[j + 1].value;
                j += 2;
                if (isSeparator(j, u':')) {
                    if (!isNumber(j + 1)) {
                        return false;
                    }
                    out.second = tokens[j + 1].value;
                    j += 2;
                }
            }
            const size_t marker = next(j);
            const bool am = isWord(marker, u"am");
            const bool pm = isWord(marker, u"pm");
            if (am || pm) {
                if (out.hour > 12) {
                    return false;
                }
                out.hour = out.hour % 12 + (pm ? 12 : 0);
                j = marker + 1;
            }
            if (out.hour > 23 || out.minute > 59 || out.second > 59) {
                return false;
            }
            i = j;
        } else {
            if (numbers.size() == 3) {
                return false;
            }
            numbers.push_back(DateNumber{token.value, token.digits});
            ++i;
        }
    }
    if (!numbers.empty() || monthName >= 0) {
        if (!ResolveDate(numbers, monthName, out)) {
            return false;
        }
    } else if (weekday) {
        return false; // a weekday alone names no date
    }
    return out.hasDate || out.hasTime;
}

} // namespace

// ---- COleDateTime ----

COleDateTime COleDateTime::GetCurrentTime() {
    return COleDateTime(static_cast<__time64_t>(CurrentUtc().seconds));
}

COleDateTime::COleDateTime(WORD dosDate, WORD dosTime) {
    SetDateTime(((dosDate >> 9) & 0x7F) + 1980, (dosDate >> 5) & 0x0F, dosDate & 0x1F, (dosTime >> 11) & 0x1F,
                (dosTime >> 5) & 0x3F, (dosTime & 0x1F) * 2);
}

COleDateTime& COleDateTime::operator=(DATE date) {
    m_dt = date;
    m_status = InRange(date) ? valid : invalid;
    return *this;
}

COleDateTime& COleDateTime::operator=(__time64_t time) {
    SYSTEMTIME fields;
    if (CTime(time).GetAsSystemTime(fields)) {
        *this = fields;
    } else {
        m_dt = 0.0;
        m_status = invalid;
    }
    return *this;
}

COleDateTime& COleDateTime::operator=(const SYSTEMTIME& systemTime) {
    SetDateTime(systemTime.wYear, systemTime.wMonth, systemTime.wDay, systemTime.wHour, systemTime.wMinute,
                systemTime.wSecond);
    return *this;
}

COleDateTime& COleDateTime::operator=(const FILETIME& fileTime) {
    FILETIME local;
    SYSTEMTIME fields;
    if (FileTimeToLocalFileTime(&fileTime, &local) && FileTimeToSystemTime(&local, &fields)) {
        *this = fields;
    } else {
        m_dt = 0.0;
        m_status = invalid;
    }
    return *this;
}

bool COleDateTime::GetAsSystemTime(SYSTEMTIME& out) const {
    Fields fields;
    if (m_status != valid || !BreakDown(m_dt, &fields)) {
        return false;
    }
    out.wYear = static_cast<WORD>(fields.year);
    out.wMonth = static_cast<WORD>(fields.month);
    out.wDayOfWeek = static_cast<WORD>(fields.dayOfWeek);
    out.wDay = static_cast<WORD>(fields.day);
    out.wHour = static_cast<WORD>(fields.hour);
    out.wMinute = static_cast<WORD>(fields.minute);
    out.wSecond = static_cast<WORD>(fields.second);
    out.wMilliseconds = 0;
    return true;
}

namespace {

template <typename Pick>
int Field(const COleDateTime& date, Pick pick) {
    Fields fields;
    if (date.GetStatus() != COleDateTime::valid || !BreakDown(date.m_dt, &fields)) {
        return AFX_OLE_DATETIME_ERROR;
    }
    return pick(fields);
}

} // namespace

int COleDateTime::GetYear() const {
    return Field(*this, [](const Fields& f) { return f.year; });
}

int COleDateTime::GetMonth() const {
    return Field(*this, [](const Fields& f) { return f.month; });
}

int COleDateTime::GetDay() const {
    return Field(*this, [](const Fields& f) { return f.day; });
}

int COleDateTime::GetHour() const {
    return Field(*this, [](const Fields& f) { return f.hour; });
}

int COleDateTime::GetMinute() const {
    return Field(*this, [](const Fields& f) { return f.minute; });
}

int COleDateTime::GetSecond() const {
    return Field(*this, [](const Fields& f) { return f.second; });
}

int COleDateTime::GetDayOfWeek() const {
    return Field(*this, [](const Fields& f) { return f.dayOfWeek + 1; });
}

int COleDateTime::GetDayOfYear() const {
    return Field(*this, [](const Fields& f) { return f.dayOfYear + 1; });
}

int COleDateTime::SetDateTime(int year, int month, int day, int hour, int minute, int second) {
    const std::optional<double> date = DateFromFields(year, month, day, hour, minute, second);
    m_dt = date.value_or(0.0);
    m_status = date ? valid : invalid;
    return m_status;
}

BOOL COleDateTime::ParseDateTime(LPCTSTR text, DWORD flags, LCID) {
    ParsedText parsed;
    std::optional<double> date;
    if (text && ParseText(text, parsed)) {
        if (flags & VAR_TIMEVALUEONLY) {
            parsed.hasDate = false;
        }
        if (flags & VAR_DATEVALUEONLY) {
            parsed.hasTime = false;
        }
        if (!parsed.hasDate) {
            parsed.year = 1899;
            parsed.month = 12;
            parsed.day = 30;
        }
        if (!parsed.hasTime) {
            parsed.hour = parsed.minute = parsed.second = 0;
        }
        // The numbers were read with at most nine digits, so they fit; anything beyond the calendar fails.
        if (parsed.year <= 9999 && parsed.month <= 12 && parsed.day <= 31) {
            date = DateFromFields(static_cast<int>(parsed.year), static_cast<int>(parsed.month),
                                  static_cast<int>(parsed.day), static_cast<int>(parsed.hour),
                                  static_cast<int>(parsed.minute), static_cast<int>(parsed.second));
        }
    }
    m_dt = date.value_or(0.0);
    m_status = date ? valid : invalid;
    return date ? TRUE : FALSE;
}

CString COleDateTime::Format(DWORD flags, LCID) const {
    if (m_status == null) {
        return CString();
    }
    Fields fields;
    if (m_status != valid || !BreakDown(m_dt, &fields)) {
        return CString(kInvalidDateTimeText);
    }
    const bool hasDate = !(fields.year == 1899 && fields.month == 12 && fields.day == 30);
    const bool hasTime = fields.hour != 0 || fields.minute != 0 || fields.second != 0;
    bool showDate = hasDate;
    bool showTime = hasTime || !hasDate;
    if (flags & VAR_TIMEVALUEONLY) {
        showDate = false;
        showTime = true;
    } else if (flags & VAR_DATEVALUEONLY) {
        showDate = true;
        showTime = false;
    }
    std::u16string out;
    if (showDate) {
        AppendNumber(out, fields.month, 1);
        out += u'/';
        AppendNumber(out, fields.day, 1);
        out += u'/';
        AppendNumber(out, fields.year, 4);
    }
    if (showTime) {
        if (showDate) {
            out += u' ';
        }
        AppendNumber(out, fields.hour % 12 == 0 ? 12 : fields.hour % 12, 1);
        out += u':';
        AppendNumber(out, fields.minute, 2);
        out += u':';
        AppendNumber(out, fields.second, 2);
        out += fields.hour < 12 ? u" AM" : u" PM";
    }
    return CString(std::move(out));
}

CString COleDateTime::Format(LPCTSTR format) const {
    if (m_status == null) {
        return CString();
    }
    Fields fields;
    if (m_status != valid || !BreakDown(m_dt, &fields)) {
        return CString(kInvalidDateTimeText);
    }
    struct tm t {};
    t.tm_year = fields.year - 1900;
    t.tm_mon = fields.month - 1;
    t.tm_mday = fields.day;
    t.tm_hour = fields.hour;
    t.tm_min = fields.minute;
    t.tm_sec = fields.second;
    t.tm_wday = fields.dayOfWeek;
    t.tm_yday = fields.dayOfYear;
    tzset();
    std::u16string zone;
    for (const char* p = tzname[0]; p && *p; ++p) {
        zone += static_cast<char16_t>(static_cast<unsigned char>(*p));
    }
    std::u16string out;
    FormatTm(out, format, t, zone);
    return CString(std::move(out));
}

CString COleDateTime::Format(UINT formatId) const {
    std::u16string format;
    return LoadStringResource(formatId, format) ? Format(format.c_str()) : CString();
}

bool COleDateTime::operator<(const COleDateTime& other) const {
    return LinearFromDate(m_dt) < LinearFromDate(other.m_dt);
}

COleDateTime COleDateTime::operator+(const COleDateTimeSpan& span) const {
    COleDateTime result;
    if (m_status == null || span.GetStatus() == COleDateTimeSpan::null) {
        result.m_status = null;
    } else if (m_status != valid || span.GetStatus() != COleDateTimeSpan::valid) {
        result.m_status = invalid;
    } else {
        result = DateFromLinear(LinearFromDate(m_dt) + span.m_span);
    }
    return result;
}

COleDateTime COleDateTime::operator-(const COleDateTimeSpan& span) const {
    COleDateTimeSpan negated = -span;
    return *this + negated;
}

COleDateTimeSpan COleDateTime::operator-(const COleDateTime& other) const {
    COleDateTimeSpan result;
    if (m_status == null || other.m_status == null) {
        result.m_status = COleDateTimeSpan::null;
    } else if (m_status != valid || other.m_status != valid) {
        result.m_status = COleDateTimeSpan::invalid;
    } else {
        result.m_span = LinearFromDate(m_dt) - LinearFromDate(other.m_dt);
    }
    return result;
}

// ---- COleDateTimeSpan ----

COleDateTimeSpan::COleDateTimeSpan(double days) : m_span(days) {
    m_status = std::isfinite(days) && std::fabs(days) <= kMaxSpanDays ? valid : invalid;
}

long long COleDateTimeSpan::RoundedSeconds() const {
    const long long seconds = RoundSeconds(m_span < 0 ? -m_span : m_span);
    return m_span < 0 ? -seconds : seconds;
}

double COleDateTimeSpan::GetTotalDays() const {
    return static_cast<double>(RoundedSeconds() / 86400);
}

double COleDateTimeSpan::GetTotalHours() const {
    return static_cast<double>(RoundedSeconds() / 3600);
}

double COleDateTimeSpan::GetTotalMinutes() const {
    return static_cast<double>(RoundedSeconds() / 60);
}

double COleDateTimeSpan::GetTotalSeconds() const {
    return static_cast<double>(RoundedSeconds());
}

LONG COleDateTimeSpan::GetDays() const {
    return static_cast<LONG>(RoundedSeconds() / 86400);
}

LONG COleDateTimeSpan::GetHours() const {
    return static_cast<LONG>(RoundedSeconds() / 3600 % 24);
}

LONG COleDateTimeSpan::GetMinutes() const {
    return static_cast<LONG>(RoundedSeconds() / 60 % 60);
}

LONG COleDateTimeSpan::GetSeconds() const {
    return static_cast<LONG>(RoundedSeconds() % 60);
}

void COleDateTimeSpan::SetDateTimeSpan(LONG days, int hours, int minutes, int seconds) {
    m_span = days + hours / 24.0 + minutes / 1440.0 + seconds / 86400.0;
    m_status = std::fabs(m_span) <= kMaxSpanDays ? valid : invalid;
}

CString COleDateTimeSpan::Format(LPCTSTR format) const {
    if (m_status == null) {
        return CString();
    }
    if (m_status != valid) {
        return CString(kInvalidSpanText);
    }
    return CTimeSpan(static_cast<__time64_t>(RoundedSeconds())).Format(format);
}

CString COleDateTimeSpan::Format(UINT formatId) const {
    std::u16string format;
    return LoadStringResource(formatId, format) ? Format(format.c_str()) : CString();
}

namespace {

COleDateTimeSpan Combine(const COleDateTimeSpan& a, const COleDateTimeSpan& b, double value) {
    COleDateTimeSpan result(value);
    if (a.GetStatus() == COleDateTimeSpan::null || b.GetStatus() == COleDateTimeSpan::null) {
        result.m_span = 0.0;
        result.m_status = COleDateTimeSpan::null;
    } else if (a.GetStatus() != COleDateTimeSpan::valid || b.GetStatus() != COleDateTimeSpan::valid) {
        result.m_status = COleDateTimeSpan::invalid;
    }
    return result;
}

} // namespace

COleDateTimeSpan COleDateTimeSpan::operator+(const COleDateTimeSpan& other) const {
    return Combine(*this, other, m_span + other.m_span);
}

COleDateTimeSpan COleDateTimeSpan::operator-(const COleDateTimeSpan& other) const {
    return Combine(*this, other, m_span - other.m_span);
}

COleDateTimeSpan COleDateTimeSpan::operator-() const {
    return Combine(*this, *this, -m_span);
}

COleDateTimeSpan COleDateTimeSpan::operator*(double factor) const {
    return Combine(*this, *this, m_span * factor);
}

COleDateTimeSpan COleDateTimeSpan::operator/(double divisor) const {
    return Combine(*this, *this, m_span / divisor);
}
