#include "platform/base/WideFormat.h"

#include "platform/base/CodePage.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <initializer_list>
#include <string_view>

namespace {

constexpr int kMaxNumberPrecision = 512;
// The original converted doubles to this many significant digits and padded the rest with zeros.
constexpr int kSignificantDigits = 17;

enum class Length { None, HH, H, L, LL, BigL, I64, I32, I, W, Z, J, T };

// Left uninitialised on purpose: ParseConversion sets every member, and a format's plan holds dozens.
struct Conversion {
    bool left;
    bool plus;
    bool space;
    bool alt;
    bool zero;
    bool widthArg;
    bool precisionArg;
    int width;
    int precision;
    Length length;
    char16_t conv;
};

bool IsDigit(char16_t c) {
    return c >= u'0' && c <= u'9';
}

// Reads a decimal field; false when it exceeds kMaxFormatField.
bool ParseNumber(const char16_t*& p, int& value) {
    value = 0;
    while (IsDigit(*p)) {
        value = value * 10 + (*p - u'0');
        if (value > kMaxFormatField) {
            return false;
        }
        ++p;
    }
    return true;
}

bool Allowed(Length len, std::initializer_list<Length> set) {
    for (Length l : set) {
        if (l == len) {
            return true;
        }
    }
    return false;
}

// Parses one conversion; p points just past the '%' and is left past the conversion character.
bool ParseConversion(const char16_t*& p, Conversion& s) {
    // Field by field rather than from a temporary: copying the small members as a block is measurably slow.
    s.left = s.plus = s.space = s.alt = s.zero = s.widthArg = s.precisionArg = false;
    s.width = 0;
    s.precision = -1;
    s.length = Length::None;
    if (*p == u'%') {
        s.conv = u'%';
        ++p;
        return true;
    }
    for (;; ++p) {
        if (*p == u'-') {
            s.left = true;
        } else if (*p == u'+') {
            s.plus = true;
        } else if (*p == u' ') {
            s.space = true;
        } else if (*p == u'#') {
            s.alt = true;
        } else if (*p == u'0') {
            s.zero = true;
        } else {
            break;
        }
    }
    if (*p == u'*') {
        s.widthArg = true;
        ++p;
    } else if (!ParseNumber(p, s.width)) {
        return false;
    }
    if (*p == u'.') {
        ++p;
        if (*p == u'*') {
            s.precisionArg = true;
            ++p;
        } else if (!ParseNumber(p, s.precision)) {
            return false;
        }
    }
    switch (*p) {
    case u'h':
        ++p;
        s.length = Length::H;
        if (*p == u'h') {
            ++p;
            s.length = Length::HH;
        }
        break;
    case u'l':
        ++p;
        s.length = Length::L;
        if (*p == u'l') {
            ++p;
            s.length = Length::LL;
        }
        break;
    case u'L':
        ++p;
        s.length = Length::BigL;
        break;
    case u'I':
        ++p;
        s.length = Length::I;
        if (p[0] == u'6' && p[1] == u'4') {
            p += 2;
            s.length = Length::I64;
        } else if (p[0] == u'3' && p[1] == u'2') {
            p += 2;
            s.length = Length::I32;
        }
        break;
    case u'w':
        ++p;
        s.length = Length::W;
        break;
    case u'z':
        ++p;
        s.length = Length::Z;
        break;
    case u'j':
        ++p;
        s.length = Length::J;
        break;
    case u't':
        ++p;
        s.length = Length::T;
        break;
    default:
        break;
    }
    s.conv = *p;
    if (s.conv == 0) {
        return false;
    }
    ++p;
    using enum Length;
    switch (s.conv) {
    case u'd':
    case u'i':
    case u'u':
    case u'o':
    case u'x':
    case u'X':
        return Allowed(s.length, {None, HH, H, L, LL, I64, I32, I, Z, J, T});
    case u'c':
    case u'C':
    case u's':
    case u'S':
        return Allowed(s.length, {None, H, L, W});
    case u'e':
    case u'E':
    case u'f':
    case u'F':
    case u'g':
    case u'G':
    case u'a':
    case u'A':
        return Allowed(s.length, {None, L, BigL});
    case u'p':
        return s.length == None;
    default:
        // Includes 'n', which writes through a pointer and is refused, and '%' after flags or a width.
        return false;
    }
}

// Wraps the va_list so that helpers can consume it by reference.
struct ArgList {
    va_list ap;
};

long long FetchSigned(ArgList& a, Length len) {
    switch (len) {
    case Length::HH:
        return static_cast<signed char>(va_arg(a.ap, int));
    case Length::H:
        return static_cast<short>(va_arg(a.ap, int));
    case Length::LL:
    case Length::I64:
        return va_arg(a.ap, long long);
    case Length::I:
    case Length::Z:
    case Length::T:
        return va_arg(a.ap, std::ptrdiff_t);
    case Length::J:
        return va_arg(a.ap, std::intmax_t);
    default:
        return va_arg(a.ap, int);
    }
}

unsigned long long FetchUnsigned(ArgList& a, Length len) {
    switch (len) {
    case Length::HH:
        return static_cast<unsigned char>(va_arg(a.ap, unsigned int));
    case Length::H:
        return static_cast<unsigned short>(va_arg(a.ap, unsigned int));
    case Length::LL:
    case Length::I64:
        return va_arg(a.ap, unsigned long long);
    case Length::I:
    case Length::Z:
    case Length::T:
        return va_arg(a.ap, std::size_t);
    case Length::J:
        return va_arg(a.ap, std::uintmax_t);
    default:
        return va_arg(a.ap, unsigned int);
    }
}

// Pads and writes one converted field: blanks, prefix (sign or radix prefix), zeros, text, blanks.
template <typename Unit>
void Emit(std::u16string& out, const Conversion& s, std::string_view prefix, const Unit* text, size_t len) {
    const size_t padding = static_cast<size_t>(s.width) > len + prefix.size()
                               ? static_cast<size_t>(s.width) - len - prefix.size()
                               : 0;
    // One resize, then the units written in place.
    const size_t start = out.size();
    out.resize(start + padding + prefix.size() + len);
    char16_t* p = out.data() + start;
    if (!s.left && !s.zero) {
        p = std::fill_n(p, padding, u' ');
    }
    for (char c : prefix) {
        *p++ = static_cast<unsigned char>(c);
    }
    if (s.zero && !s.left) {
        p = std::fill_n(p, padding, u'0');
    }
    if constexpr (sizeof(Unit) == 1) {
        for (size_t i = 0; i < len; ++i) {
            *p++ = static_cast<unsigned char>(text[i]);
        }
    } else {
        p = std::copy_n(text, len, p);
    }
    if (s.left) {
        std::fill_n(p, padding, u' ');
    }
}

void FormatInteger(std::u16string& out, Conversion& s, ArgList& a) {
    bool isSigned = s.conv == u'd' || s.conv == u'i';
    unsigned long long number;
    bool negative = false;
    if (isSigned) {
        long long v = FetchSigned(a, s.length);
        negative = v < 0;
        number = negative ? 0ull - static_cast<unsigned long long>(v) : static_cast<unsigned long long>(v);
    } else {
        number = FetchUnsigned(a, s.length);
    }
    unsigned radix = s.conv == u'o' ? 8 : (s.conv == u'x' || s.conv == u'X') ? 16 : 10;
    const char* digitSet = s.conv == u'x' ? "0123456789abcdef" : "0123456789ABCDEF";

    char prefix[2];
    size_t prefixLen = 0;
    if (radix == 16 && s.alt && number != 0) {
        prefix[0] = '0';
        prefix[1] = s.conv == u'x' ? 'x' : 'X';
        prefixLen = 2;
    }
    if (s.precision < 0) {
        s.precision = 1;
    } else {
        s.zero = false;
        if (s.precision > kMaxNumberPrecision) {
            s.precision = kMaxNumberPrecision;
        }
    }
    char buffer[kMaxNumberPrecision + 32];
    char* end = buffer + sizeof buffer;
    char* text = end;
    int precision = s.precision;
    if (radix == 10) {
        // The common case, with a division the compiler turns into a multiplication.
        while (precision-- > 0 || number != 0) {
            *--text = static_cast<char>('0' + number % 10);
            number /= 10;
        }
    }
    while (precision-- > 0 || number != 0) {
        *--text = digitSet[number % radix];
        number /= radix;
    }
    if (radix == 8 && s.alt && (text == end || *text != '0')) {
        *--text = '0';
    }
    if (isSigned) {
        if (negative) {
            prefix[0] = '-';
            prefixLen = 1;
        } else if (s.plus) {
            prefix[0] = '+';
            prefixLen = 1;
        } else if (s.space) {
            prefix[0] = ' ';
            prefixLen = 1;
        }
    }
    Emit(out, s, std::string_view(prefix, prefixLen), text, static_cast<size_t>(end - text));
}

void FormatPointer(std::u16string& out, Conversion& s, ArgList& a) {
    auto number = reinterpret_cast<std::uintptr_t>(va_arg(a.ap, const void*));
    char buffer[2 * sizeof(void*)];
    for (int i = static_cast<int>(sizeof buffer) - 1; i >= 0; --i) {
        buffer[i] = "0123456789ABCDEF"[number & 15];
        number >>= 4;
    }
    // The original formats a pointer as "%X" with a forced precision, which also drops the '0' flag.
    s.zero = false;
    std::string_view prefix = s.alt ? "0X" : "";
    Emit(out, s, prefix, buffer, sizeof buffer);
}

// A double's sign and its first 17 significant digits (or the original's text for infinity and NaN, which
// the layout code treats as digits), with the decimal point after decpt digits.
struct Digits {
    char text[kSignificantDigits + 1];
    int count = 0;
    int decpt = 1;
    bool negative = false;

    char At(int i) const { return i >= 0 && i < count ? text[i] : '0'; }
};

Digits Decompose(double value) {
    Digits d;
    d.negative = std::signbit(value);
    auto setText = [&d](const char* t) {
        d.count = static_cast<int>(std::strlen(t));
        std::memcpy(d.text, t, static_cast<size_t>(d.count));
    };
    if (std::isinf(value)) {
        setText("1#INF");
        return d;
    }
    if (std::isnan(value)) {
        std::uint64_t bits;
        std::memcpy(&bits, &value, sizeof bits);
        std::uint64_t payload = bits & 0x000FFFFFFFFFFFFFull;
        bool quiet = (payload & 0x0008000000000000ull) != 0;
        if (!quiet) {
            setText("1#SNAN");
        } else if (d.negative && payload == 0x0008000000000000ull) {
            setText("1#IND");
        } else {
            setText("1#QNAN");
        }
        return d;
    }
    if (value == 0) {
        // Zero's exponent is 0, so decpt stays 1.
        setText("0");
        return d;
    }
    char buffer[64];
    auto result = std::to_chars(buffer, buffer + sizeof buffer, std::fabs(value),
                                std::chars_format::scientific, kSignificantDigits - 1);
    *result.ptr = 0;
    // "d.dddddddddddddddde[+-]xx"
    d.text[0] = buffer[0];
    std::memcpy(d.text + 1, buffer + 2, kSignificantDigits - 1);
    d.count = kSignificantDigits;
    const char* e = buffer + 2 + (kSignificantDigits - 1) + 1;
    int exponent = 0;
    std::from_chars(e + (*e == '+' ? 1 : 0), result.ptr, exponent);
    d.decpt = exponent + 1;
    return d;
}

// The longest text a floating conversion lays out: the integer digits of the largest double, the point and
// kMaxNumberPrecision decimals, or a hex mantissa, with room to spare.
constexpr size_t kMaxFloatText = 309 + 1 + kMaxNumberPrecision + 32;

// A fixed-size text built without allocating.
struct FloatText {
    char data[kMaxFloatText];
    size_t size = 0;

    void Push(char c) { data[size++] = c; }
    void Append(const char* text, size_t n) {
        std::memcpy(data + size, text, n);
        size += n;
    }
};

// The first n digits rounded half up on the digit text, as the original did; a carry out of the first
// digit moves the decimal point. Non-digit characters (the infinity and NaN texts) just step to the next
// character when rounded up.
struct Rounded {
    char digits[kMaxFloatText];
    int count = 0;
    int decpt = 0;

    char At(int i) const { return i >= 0 && i < count ? digits[i] : '0'; }
};

void Round(const Digits& d, int n, Rounded& r) {
    r.decpt = d.decpt;
    r.count = 0;
    if (n < 0) {
        return;
    }
    for (int i = 0; i < n; ++i) {
        r.digits[r.count++] = d.At(i);
    }
    if (d.At(n) >= '5') {
        int i = n - 1;
        while (i >= 0 && r.digits[i] == '9') {
            r.digits[i] = '0';
            --i;
        }
        if (i >= 0) {
            ++r.digits[i];
        } else {
            // All nines (or no digits kept): the digits become "100..." one place further left.
            if (n > 0) {
                --r.count;
            }
            std::memmove(r.digits + 1, r.digits, static_cast<size_t>(r.count));
            r.digits[0] = '1';
            ++r.count;
            ++r.decpt;
        }
    }
}

// Fixed notation with the given number of decimals from already rounded digits.
void LayoutFixed(FloatText& text, const Rounded& r, int decimals, bool forcePoint) {
    if (r.decpt <= 0) {
        text.Push('0');
    } else {
        for (int i = 0; i < r.decpt; ++i) {
            text.Push(r.At(i));
        }
    }
    if (decimals > 0 || forcePoint) {
        text.Push('.');
    }
    for (int j = 0; j < decimals; ++j) {
        text.Push(r.At(r.decpt + j));
    }
}

void LayoutExponent(FloatText& text, const Rounded& r, int decimals, bool forcePoint, char e) {
    text.Push(r.At(0));
    if (decimals > 0 || forcePoint) {
        text.Push('.');
    }
    for (int j = 1; j <= decimals; ++j) {
        text.Push(r.At(j));
    }
    int exponent = r.decpt - 1;
    text.Push(e);
    text.Push(exponent < 0 ? '-' : '+');
    char digits[8];
    auto res = std::to_chars(digits, digits + sizeof digits, exponent < 0 ? -exponent : exponent);
    for (auto n = res.ptr - digits; n < 3; ++n) {
        text.Push('0');
    }
    text.Append(digits, static_cast<size_t>(res.ptr - digits));
}

// Drops trailing zeros of the fraction (before any exponent) and a point left bare.
void CropZeros(FloatText& text) {
    const std::string_view view(text.data, text.size);
    size_t point = view.find('.');
    if (point == std::string_view::npos) {
        return;
    }
    size_t stop = view.find_first_of("eE", point);
    if (stop == std::string_view::npos) {
        stop = text.size;
    }
    size_t last = stop;
    while (last > point + 1 && text.data[last - 1] == '0') {
        --last;
    }
    if (last == point + 1) {
        last = point;
    }
    std::memmove(text.data + last, text.data + stop, text.size - stop);
    text.size -= stop - last;
}

void LayoutHex(FloatText& text, double value, const Digits& d, int precision, bool alt, bool upper,
               Rounded& scratch) {
    if (d.text[0] == '1' && d.count > 1 && d.text[1] == '#') {
        // Infinity and NaN: their texts laid out like "%e" digits, with a binary exponent of zero.
        Round(d, precision + 1, scratch);
        LayoutFixed(text, scratch, precision, alt);
        text.Append(upper ? "P+0" : "p+0", 3);
        return;
    }
    std::uint64_t bits;
    double magnitude = std::fabs(value);
    std::memcpy(&bits, &magnitude, sizeof bits);
    int exponent = static_cast<int>(bits >> 52);
    std::uint64_t mantissa = bits & 0x000FFFFFFFFFFFFFull;
    int lead = 1;
    if (exponent == 0) {
        lead = 0;
        exponent = mantissa == 0 ? 1023 : 1;
    }
    exponent -= 1023;
    if (precision < 13) {
        int drop = (13 - precision) * 4;
        std::uint64_t half = std::uint64_t{1} << (drop - 1);
        bool up = (mantissa & ((half << 1) - 1)) >= half;
        mantissa >>= drop;
        if (up) {
            ++mantissa;
            if (mantissa >> (precision * 4)) {
                mantissa &= (std::uint64_t{1} << (precision * 4)) - 1;
                ++lead;
            }
        }
    }
    const char* digitSet = upper ? "0123456789ABCDEF" : "0123456789abcdef";
    text.Append(upper ? "0X" : "0x", 2);
    text.Push(static_cast<char>('0' + lead));
    if (precision > 0 || alt) {
        text.Push('.');
    }
    int shown = precision < 13 ? precision : 13;
    for (int i = shown - 1; i >= 0; --i) {
        text.Push(digitSet[(mantissa >> (i * 4)) & 15]);
    }
    for (int i = shown; i < precision; ++i) {
        text.Push('0');
    }
    text.Push(upper ? 'P' : 'p');
    text.Push(exponent < 0 ? '-' : '+');
    char digits[8];
    auto res = std::to_chars(digits, digits + sizeof digits, exponent < 0 ? -exponent : exponent);
    text.Append(digits, static_cast<size_t>(res.ptr - digits));
}

// "%f" of a value whose digits all lie within its first 15 significant ones: scaled by 10^precision and
// rounded to a whole number, which gives the same digits as rounding the 17 significant digits half up,
// unless the scaled value lies so close to a half that the two could differ (then this answers false).
bool LayoutFixedFast(FloatText& text, double value, int precision, bool forcePoint) {
    static constexpr double kPowersOfTen[] = {1e0, 1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,
                                              1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15, 1e16, 1e17};
    if (precision >= static_cast<int>(std::size(kPowersOfTen)) || !std::isfinite(value)) {
        return false;
    }
    const double scaled = std::fabs(value) * kPowersOfTen[precision];
    if (!(scaled < 1e15)) {
        return false;
    }
    const double whole = std::floor(scaled);
    const double fraction = scaled - whole; // exact below 2^52
    // The product is off by at most half an ulp, the 17-digit rounding by half a unit of its last digit.
    if (std::fabs(fraction - 0.5) <= scaled * 4e-16) {
        return false;
    }
    std::uint64_t number = static_cast<std::uint64_t>(whole) + (fraction > 0.5 ? 1 : 0);
    char digits[24];
    char* end = digits + sizeof digits;
    char* p = end;
    do {
        *--p = static_cast<char>('0' + number % 10);
        number /= 10;
    } while (number != 0);
    while (end - p < precision + 1) {
        *--p = '0';
    }
    const size_t integerDigits = static_cast<size_t>(end - p) - static_cast<size_t>(precision);
    text.Append(p, integerDigits);
    if (precision > 0 || forcePoint) {
        text.Push('.');
    }
    text.Append(p + integerDigits, static_cast<size_t>(precision));
    return true;
}

void FormatFloat(std::u16string& out, Conversion& s, ArgList& a) {
    double value = va_arg(a.ap, double);
    char16_t conv = s.conv;
    bool upper = conv == u'E' || conv == u'G' || conv == u'A' || conv == u'F';
    char lower = static_cast<char>(upper ? conv - u'A' + u'a' : conv);
    int precision = s.precision;
    if (precision < 0) {
        precision = 6;
    } else if (precision == 0 && lower == 'g') {
        precision = 1;
    } else if (precision > kMaxNumberPrecision) {
        precision = kMaxNumberPrecision;
    }
    bool forcePoint = s.alt && precision == 0;
    FloatText text;
    if (lower != 'f' || !LayoutFixedFast(text, value, precision, forcePoint)) {
        const Digits d = Decompose(value);
        Rounded r;
        switch (lower) {
        case 'f':
            Round(d, d.decpt + precision, r);
            LayoutFixed(text, r, precision, forcePoint);
            break;
        case 'e':
            Round(d, precision + 1, r);
            LayoutExponent(text, r, precision, forcePoint, upper ? 'E' : 'e');
            break;
        case 'g': {
            Round(d, precision, r);
            int x = r.decpt - 1;
            if (x < -4 || x >= precision) {
                LayoutExponent(text, r, precision - 1, forcePoint, upper ? 'E' : 'e');
            } else {
                LayoutFixed(text, r, precision - 1 - x, forcePoint);
            }
            if (!s.alt) {
                CropZeros(text);
            }
            break;
        }
        default:
            LayoutHex(text, value, d, precision, s.alt, upper, r);
            break;
        }
    }
    char prefix = 0;
    if (std::signbit(value)) {
        prefix = '-';
    } else if (s.plus) {
        prefix = '+';
    } else if (s.space) {
        prefix = ' ';
    }
    Emit(out, s, std::string_view(&prefix, prefix ? 1 : 0), text.data, text.size);
}

bool IsNarrow(const Conversion& s) {
    if (s.length == Length::H) {
        return true;
    }
    if (s.length == Length::L || s.length == Length::W) {
        return false;
    }
    return s.conv == u'S' || s.conv == u'C';
}

void FormatChar(std::u16string& out, const Conversion& s, ArgList& a) {
    int value = va_arg(a.ap, int);
    if (IsNarrow(s)) {
        char byte = static_cast<char>(value);
        std::u16string unit = Cp1252ToUtf16(std::string_view(&byte, 1));
        Emit(out, s, {}, unit.data(), unit.size());
    } else {
        char16_t unit = static_cast<char16_t>(value);
        Emit(out, s, {}, &unit, 1);
    }
}

void FormatString(std::u16string& out, const Conversion& s, ArgList& a) {
    static constexpr char16_t kNullWide[] = u"(null)";
    static constexpr char kNullNarrow[] = "(null)";
    size_t limit = s.precision < 0 ? SIZE_MAX : static_cast<size_t>(s.precision);
    if (IsNarrow(s)) {
        const char* text = va_arg(a.ap, const char*);
        if (!text) {
            text = kNullNarrow;
        }
        size_t len = 0;
        while (len < limit && text[len]) {
            ++len;
        }
        std::u16string wide = Cp1252ToUtf16(std::string_view(text, len));
        Emit(out, s, {}, wide.data(), wide.size());
    } else {
        const char16_t* text = va_arg(a.ap, const char16_t*);
        if (!text) {
            text = kNullWide;
        }
        size_t len = 0;
        while (len < limit && text[len]) {
            ++len;
        }
        Emit(out, s, {}, text, len);
    }
}

// The next '%' or the terminating zero.
const char16_t* NextPercentOrEnd(const char16_t* p) {
    while (*p && *p != u'%') {
        ++p;
    }
    return p;
}

// The conversions of a format as the check found them, so that formatting need not parse them again; a
// format with more than kPlanned of them has the rest parsed again as it goes.
struct Plan {
    static constexpr int kPlanned = 32;
    Conversion conversions[kPlanned];
    const char16_t* after[kPlanned];
    int count = 0;
};

bool Validate(const char16_t* format, Plan& plan) {
    const char16_t* p = format;
    Conversion s;
    while (*(p = NextPercentOrEnd(p))) {
        ++p;
        Conversion& target = plan.count < Plan::kPlanned ? plan.conversions[plan.count] : s;
        if (!ParseConversion(p, target)) {
            return false;
        }
        if (plan.count < Plan::kPlanned) {
            plan.after[plan.count] = p;
        }
        ++plan.count;
    }
    return true;
}

bool Format(std::u16string& out, const char16_t* format, const Plan& plan, ArgList& a) {
    const char16_t* p = format;
    Conversion s;
    for (int index = 0; *p; ++index) {
        const char16_t* run = p;
        p = NextPercentOrEnd(p);
        out.append(run, static_cast<size_t>(p - run));
        if (!*p) {
            break;
        }
        ++p;
        if (index < Plan::kPlanned) {
            s = plan.conversions[index];
            p = plan.after[index];
        } else {
            ParseConversion(p, s);
        }
        if (s.conv == u'%') {
            out.push_back(u'%');
            continue;
        }
        if (s.widthArg) {
            int w = va_arg(a.ap, int);
            if (w < 0) {
                s.left = true;
                if (w < -kMaxFormatField) {
                    return false;
                }
                w = -w;
            }
            if (w > kMaxFormatField) {
                return false;
            }
            s.width = w;
        }
        if (s.precisionArg) {
            int prec = va_arg(a.ap, int);
            if (prec > kMaxFormatField) {
                return false;
            }
            s.precision = prec < 0 ? -1 : prec;
        }
        switch (s.conv) {
        case u'c':
        case u'C':
            FormatChar(out, s, a);
            break;
        case u's':
        case u'S':
            FormatString(out, s, a);
            break;
        case u'p':
            FormatPointer(out, s, a);
            break;
        case u'd':
        case u'i':
        case u'u':
        case u'o':
        case u'x':
        case u'X':
            FormatInteger(out, s, a);
            break;
        default:
            FormatFloat(out, s, a);
            break;
        }
    }
    return true;
}

} // namespace

bool AppendFormatV(std::u16string& out, const char16_t* format, va_list args) {
    // Checking the whole format first means an invalid one consumes no argument and appends nothing.
    Plan plan;
    if (!format || !Validate(format, plan)) {
        return false;
    }
    size_t start = out.size();
    ArgList a;
    va_copy(a.ap, args);
    bool ok = Format(out, format, plan, a);
    va_end(a.ap);
    if (!ok) {
        out.resize(start);
    }
    return ok;
}

bool AppendFormat(std::u16string& out, const char16_t* format, ...) {
    va_list args;
    va_start(args, format);
    bool ok = AppendFormatV(out, format, args);
    va_end(args);
    return ok;
}
