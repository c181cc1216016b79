#include "grid_input/CGXNumberFormattingImp.h"

#include "grid/CGXStyle.h"
#include "grid/GridLibraryState.h"
#include "grid/GridNumberText.h"
#include "platform/base/COleDateTime.h"
#include "platform/base/Exceptions.h"
#include "platform/base/WideRuntime.h"

#include <cmath>
#include <string>

namespace {

// The text of a pattern with the places filled in, e.g. "%%.%dlf" with 2 gives "%.2lf".
CString PlacesPattern(LPCTSTR pattern, int places) {
    CString built;
    built.Format(pattern, places);
    return built;
}

CString Grouped(double value, int places, LPCTSTR positive, LPCTSTR negative) {
    CString digits;
    digits.Format(PlacesPattern(u"%%.%dlf", places), std::fabs(value));
    CString text;
    text.Format(value >= 0 ? positive : negative, static_cast<LPCTSTR>(GroupThousands(digits, u'.', u',')));
    return text;
}

CString DateText(double value, LPCTSTR pattern) {
    return COleDateTime(value).Format(pattern);
}

// Divides out the table's primes while both are divisible; stops at the first prime above the square root of
// the numerator, so the reduction may stay partial (and 0/D stays as it is).
void ReduceFraction(long long& numerator, long long& denominator) {
    static const int kPrimes[] = {2, 3, 5, 7, 11, 13, 17, 19, 23, 29, 31, 37};
    for (int prime : kPrimes) {
        if (std::sqrt(static_cast<double>(numerator)) < prime) {
            return;
        }
        while (numerator % prime == 0 && denominator % prime == 0) {
            numerator /= prime;
            denominator /= prime;
        }
    }
}

CString Fraction(double value, int places) {
    const int digits = places >= 1 && places <= 6 ? places : 3;
    const double magnitude = std::fabs(value);
    long long denominator = 1;
    for (int i = 0; i < digits + 2; ++i) {
        denominator *= 10;
    }
    double whole = 0;
    long long numerator =
        static_cast<long long>(std::modf(magnitude, &whole) * static_cast<double>(denominator));
    ReduceFraction(numerator, denominator);
    CString text;
    text.Format(u" %lld/%lld", numerator, denominator);
    if (magnitude >= 1) {
        CString integer;
        // Beyond the 64-bit range the integer part is printed as a floating-point number.
        if (whole < 9.2e18) {
            integer.Format(u"%lld", static_cast<long long>(whole));
        } else {
            integer.Format(u"%.0f", whole);
        }
        text = integer + text;
    }
    return CString(value < 0 ? u"-" : u" ") + text;
}

CString FormatById(int format, int places, double d, const CString& text) {
    CString out;
    switch (format) {
    case CGXNumberFormattingImp::kScientific:
        out.Format(PlacesPattern(u"%%.%dle", places), d);
        return out;
    case CGXNumberFormattingImp::kFixed:
        out.Format(PlacesPattern(u"%%.%dlf", places), d);
        return out;
    case CGXNumberFormattingImp::kGeneral:
        out.Format(PlacesPattern(u"%%.%dlg", places), d);
        return out;
    case CGXNumberFormattingImp::kDollars:
        return Grouped(d, places, u"$%s ", u"($%s)");
    case CGXNumberFormattingImp::kComma:
        return Grouped(d, places, u"%s ", u"(%s)");
    case CGXNumberFormattingImp::kBlankComma:
        return Grouped(d, places, u" %s ", u"(%s)");
    case CGXNumberFormattingImp::kHex: {
        // Beyond 32 bits (and for NaN) the value has no hexadecimal form of the width the format prints.
        const double magnitude = std::trunc(std::fabs(d));
        const unsigned hex = magnitude <= 4294967295.0 ? static_cast<unsigned>(magnitude) : 0xFFFFFFFFu;
        out.Format(u"0x%X", hex);
        return out;
    }
    case CGXNumberFormattingImp::kLogic:
        return d >= 0 && d < 1 ? u"0" : d >= 1 && d < 2 ? u"1" : u"?";
    case CGXNumberFormattingImp::kDayMonthYear:
        return DateText(d, u"%d-%b-%y");
    case CGXNumberFormattingImp::kDayMonth:
        return DateText(d, u"%d-%b");
    case CGXNumberFormattingImp::kMonthYear:
        return DateText(d, u"%b-%y");
    case CGXNumberFormattingImp::kLocaleDate:
        return COleDateTime(std::trunc(d)).Format(0, LANG_USER_DEFAULT);
    case CGXNumberFormattingImp::kLocaleTime:
        return COleDateTime(std::fmod(d, 1.0)).Format(0, LANG_USER_DEFAULT);
    case CGXNumberFormattingImp::kPercent:
        if (d >= 1.7976931348623156e306) {
            return u" Percent! ";
        }
        out.Format(PlacesPattern(u"%%.%dlf%%%%", places), d * 100);
        return out;
    case CGXNumberFormattingImp::kDottedDate:
        return DateText(d, u"%d.%m.%Y");
    case CGXNumberFormattingImp::kIsoDate:
        return DateText(d, u"%Y-%m-%d");
    case CGXNumberFormattingImp::kLocaleDateTime:
        return COleDateTime(d).Format(0, LANG_USER_DEFAULT);
    case CGXNumberFormattingImp::kFraction:
        return Fraction(d, places);
    case CGXNumberFormattingImp::kHourMinuteAmPm:
        return DateText(d, u"%I:%M %p");
    case CGXNumberFormattingImp::kTimeAmPm:
        return DateText(d, u"%I:%M:%S %p");
    case CGXNumberFormattingImp::kHourMinute:
        return DateText(d, u"%H:%M");
    default:
        if (format < CGXNumberFormattingImp::kBlankComma) {
            return text; // Default, Text and the four user formats
        }
        return u" Format? ";
    }
}

// What the scan of a number text found.
struct NumberScan {
    std::u16string buffer; // digits, point, exponent, signs and ')': what the conversion reads
    bool parentheses = false;
    bool dollar = false;
    int commaCount = 0;
    int commas[19] = {};
    int point = -1;
    int exponent = -1;
    int close = -1;
    int scanned = 0;
    int digits = 0;
    int decimals = 0;
};

bool Scan(LPCTSTR text, NumberScan& scan) {
    constexpr int kMaxScanned = 257;
    const char16_t* p = text;
    while (*p == u' ') {
        ++p;
    }
    if (*p == u'(') {
        scan.parentheses = true;
        ++p;
    }
    if (*p == u'$') {
        scan.dollar = true;
        ++p;
    }
    for (; *p; ++p, ++scan.scanned) {
        if (scan.scanned >= kMaxScanned) {
            return false;
        }
        const char16_t c = *p;
        if (c == u',') {
            if (scan.commaCount == 19) {
                return false;
            }
            scan.commas[scan.commaCount++] = scan.scanned;
            continue;
        }
        if (c == u'.') {
            if (scan.point >= 0) {
                return false;
            }
            scan.point = scan.scanned;
        } else if (c == u'e' || c == u'E') {
            if (scan.exponent >= 0 || scan.parentheses) {
                return false;
            }
            scan.exponent = scan.scanned;
        } else if (c == u'+' || c == u'-') {
            if (scan.parentheses) {
                return false;
            }
        } else if (c >= u'0' && c <= u'9') {
            if (scan.exponent < 0) {
                ++scan.digits;
                if (scan.point >= 0) {
                    ++scan.decimals;
                }
            }
        } else if (c == u')') {
            if (!scan.parentheses || p[1] != 0) {
                return false;
            }
            scan.close = scan.scanned;
        } else if (c == u' ') {
            for (const char16_t* rest = p; *rest; ++rest) {
                if (*rest != u' ') {
                    return false;
                }
            }
            ++scan.scanned; // the trailing blanks count as one
            break;
        } else {
            return false;
        }
        scan.buffer += c;
    }
    return true;
}

// Every comma stands a multiple of four places before the point, else the closing parenthesis, else the
// exponent, else the end.
bool CommasInPlace(const NumberScan& scan) {
    const int reference = scan.point >= 0      ? scan.point
                          : scan.close >= 0    ? scan.close
                          : scan.exponent >= 0 ? scan.exponent
                                               : scan.scanned;
    for (int i = 0; i < scan.commaCount; ++i) {
        const int distance = reference - scan.commas[i];
        if (distance <= 0 || distance % 4 != 0) {
            return false;
        }
    }
    return true;
}

} // namespace

CString GroupThousands(const CString& digits, WCHAR decimal, WCHAR group) {
    const int length = digits.GetLength();
    int before = digits.Find(u'.');
    if (before < 0) {
        before = length;
    }
    CString out;
    for (int i = 0; i < length; ++i) {
        const WCHAR c = digits[i];
        out += c == u'.' ? decimal : c;
        if (before > 3) {
            --before;
            if (before % 3 == 0) {
                out += group;
            }
        }
    }
    return out;
}

CString CGXNumberFormattingImp::FormatNumber(const CGXStyle& style, LPCTSTR value, int valueType, int, int) {
    const CString text = value ? CString(value) : style.GetValue();
    const int type = value ? valueType : style.GetValueType();
    if (!style.GetIncludeFormat()) {
        return text;
    }
    int format = style.GetFormat();
    const int places = style.GetPlaces();
    if (format == kHidden) {
        return CString();
    }
    if (type != kValueNumber) {
        format = kText;
    }
    try {
        return FormatById(format, places, format == kText ? 0.0 : WideToDouble(text), text);
    } catch (CException* e) {
        e->Delete();
        return text;
    }
}

BOOL CGXNumberFormattingImp::ParseNumber(LPCTSTR text, double* value, int* format, int* places) {
    NumberScan scan;
    if (!text || !Scan(text, scan) || !CommasInPlace(scan)) {
        return FALSE;
    }
    const char16_t* begin = scan.buffer.c_str();
    char16_t* end = nullptr;
    double parsed = wcstod(begin, &end);
    if (scan.parentheses) {
        if (*end != u')') {
            return FALSE;
        }
        ++end;
    }
    const size_t consumed = static_cast<size_t>(end - begin);
    if (consumed == 0 || consumed != scan.buffer.size() ||
        (scan.buffer.size() == 1 && !(scan.buffer[0] >= u'0' && scan.buffer[0] <= u'9'))) {
        return FALSE;
    }
    if (scan.parentheses) {
        parsed = -parsed;
    }
    if (value) {
        *value = parsed;
    }
    const int decimals = scan.decimals > 15 ? 15 : scan.decimals;
    const int digits = scan.digits > 16 ? 16 : scan.digits;
    if (format && places) {
        if (scan.exponent >= 0) {
            *format = kScientific;
            *places = digits - 1;
        } else if (scan.dollar) {
            *format = kDollars;
            *places = decimals;
        } else if (scan.commaCount == 0 && !scan.parentheses) {
            *format = kFixed;
            *places = decimals;
        } else {
            *format = kComma;
            *places = decimals;
        }
    }
    return TRUE;
}

void InstallNumberFormatting() {
    InstallAppFeature<CGXNumberFormattingImp>(GridLibraryState::Instance().numberFormattingImp);
}
