#include "platform/base/WideFormat.h"

#include "platform/base/CodePage.h"

#include <gtest/gtest.h>

#include <charconv>
#include <climits>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <string>
#include <vector>

namespace {

template <typename... Args>
std::u16string F(const char16_t* format, Args... args) {
    std::u16string out;
    EXPECT_TRUE(AppendFormat(out, format, args...)) << Utf16ToUtf8(format);
    return out;
}

double FromBits(std::uint64_t bits) {
    double d;
    std::memcpy(&d, &bits, sizeof d);
    return d;
}

struct Case {
    const char16_t* format;
    std::u16string actual;
    std::u16string expected;
};

void Check(const std::vector<Case>& cases) {
    for (const Case& c : cases) {
        EXPECT_EQ(Utf16ToUtf8(c.actual), Utf16ToUtf8(c.expected)) << "format " << Utf16ToUtf8(c.format);
    }
}

#define ROW(expected, format, ...)                                                                           \
    Case {                                                                                                   \
        format, F(format, __VA_ARGS__), expected                                                             \
    }

TEST(WideFormat, StringsAndCharactersFollowTheWideConventions) {
    const char16_t* nullWide = nullptr;
    const char* nullNarrow = nullptr;
    Check({
        ROW(u"wide\u00B0", u"%s", u"wide\u00B0"),
        ROW(u"a|b", u"%ls|%ws", u"a", u"b"),
        ROW(u"narrow\u00B0\u20AC", u"%S", "narrow\xB0\x80"),
        ROW(u"hs", u"%hs", "hs"),
        ROW(u"(null)|(null)|(nu", u"%s|%S|%.3s", nullWide, nullNarrow, nullWide),
        ROW(u"\u263A\u00B0A\u00E9", u"%c%C%hc%lc", 0x263A, '\xB0', 'A', u'\u00E9'),
        ROW(u"   ab|ab   |ab|000ab|a\u00B0", u"%5s|%-5s|%.2s|%05s|%.2S", u"ab", u"ab", u"abc", u"ab",
            "a\xB0z"),
        ROW(u"   x|x   |ab|abc", u"%*s|%*s|%.*s|%.*s", 4, u"x", -4, u"x", 2, u"abcdef", -1, u"abc"),
        ROW(u"  x", u"%3c", u'x'),
        ROW(u"5\u00B0C \U0001F600", u"%d\u00B0C \U0001F600", 5),
        ROW(u"100%", u"%d%%", 100),
    });
    // A zero unit is text like any other.
    EXPECT_EQ(F(u"a%cb", 0), std::u16string(u"a\0b", 3));
}

TEST(WideFormat, IntegersFollowTheOriginalWidthsAndFlags) {
    Check({
        ROW(u"-2147483648|+5| 5|-5", u"%d|%+d|% d|%+d", INT_MIN, 5, 5, -5),
        // "%ld" and "%lu" are 32-bit, as LONG and DWORD.
        ROW(u"-1|4294967295|ffffffff", u"%ld|%lu|%lx", LONG{-1}, DWORD{0xFFFFFFFF}, DWORD{0xFFFFFFFF}),
        ROW(u"9223372036854775807|-9223372036854775808", u"%I64d|%lld", LLONG_MAX, LLONG_MIN),
        ROW(u"18446744073709551615|123456789abcdef0|123456789ABCDEF0", u"%I64u|%I64x|%llX", ULLONG_MAX,
            0x123456789ABCDEF0ull, 0x123456789ABCDEF0ull),
        ROW(u"1099511627776|1099511627776|-3|-1|-7", u"%Iu|%zu|%Id|%I32d|%td", size_t{1} << 40,
            size_t{1} << 40, std::ptrdiff_t{-3}, -1, std::ptrdiff_t{-7}),
        ROW(u"-1|1|-1|1", u"%hd|%hu|%hhd|%hhu", 65535, 65537, 255, 257),
        ROW(u"4294967295|ffffffff|37777777777", u"%u|%x|%o", -1, -1, -1),
        ROW(u"00000ABC|05|1FF|0xff|0XFF|0", u"%08X|%02.2X|%2.2X|%#x|%#X|%#x", 0xABC, 5, 0x1FF, 255, 255, 0),
        ROW(u"010|0|10|0x0000ff", u"%#o|%#o|%o|%#08x", 8, 0, 8, 255),
        ROW(u"42    |-00042|   007|   007|3    ", u"%-6d|%06d|%6.3d|%06.3d|%-05d", 42, -42, 7, 7, 3),
        ROW(u"|     |05|000000123", u"%.0d|%5.0d|%0.2u|%.9u", 0, 0, 5, 123),
        ROW(u"0000000000ABCDEF|0000000000000000|  0000000000000001", u"%p|%p|%018p",
            reinterpret_cast<void*>(0xABCDEF), static_cast<void*>(nullptr), reinterpret_cast<void*>(1)),
        ROW(u"20250131,235959.007,-12", u"%04u%02u%02u,%02u%02u%02u.%03u,%i", 2025, 1, 31, 23, 59, 59, 7,
            -12),
    });
}

TEST(WideFormat, FloatsUseThreeExponentDigitsAndSeventeenSignificantDigits) {
    Check({
        ROW(u"1.500000e+003|1.500000E-005|0.000000e+000", u"%e|%E|%e", 1500.0, 1.5e-5, 0.0),
        ROW(u"1e+010|1e-005|123456|1.23457e+006|0.0001|0.5|0|1E-010", u"%g|%g|%g|%g|%g|%g|%g|%G", 1e10, 1e-5,
            123456.0, 1234567.0, 0.0001, 0.5, 0.0, 1e-10),
        ROW(u"1.00000|100000|1e+100", u"%#g|%#.6g|%.0g", 1.0, 100000.0, 1e100),
        ROW(u"0.1|0.333333333333333|123456789012.345|-1.5e-300", u"%.15g|%.15g|%.15g|%.15g", 0.1, 1.0 / 3,
            123456789012.345, -1.5e-300),
        ROW(u"1.000e+300|4.940656e-324", u"%.3e|%e", 1e300, 5e-324),
        ROW(u"100000000000000000000.000000", u"%f", 1e20),
        // Digits past the 17th significant one print as zeros, and rounding is half up on those 17 digits.
        ROW(u"0.10000000000000001000|0.10000000000000001", u"%.20f|%.17g", 0.1, 0.1),
        ROW(u"12.3450000000000010|0.16|1|3|0.13|0.1|10.0", u"%018.16f|%.2f|%.0f|%.0f|%.2f|%.1f|%.1f", 12.345,
            0.155, 0.5, 2.5, 0.125, 0.05, 9.96),
        ROW(u"-0.000|-0.000000|2e+001", u"%.3f|%f|%.0e", -0.0001, -0.0, 15.0),
        ROW(u"03.1|-3.1|51.5000000\u00B0|1.2500000\u00B0", u"%04.1f|%04.1f|%9.7f\u00B0|%9.7f\u00B0", 3.14159,
            -3.14159, 51.5, 1.25),
        ROW(u"+1.00| 1.0|-00001.500|1.50    |", u"%+.2f|% .1f|%010.3f|%-8.2f|", 1.0, 1.0, -1.5, 1.5),
        ROW(u"3.|3.e+000|1.500000|1.500000", u"%#.0f|%#.0e|%lf|%Lf", 3.0, 3.0, 1.5, 1.5),
        ROW(u"0x1.800000p+0|-0X1.000000P+1|0x1.999999999999ap-4|0x0.000000p+0|0x2p+0", u"%a|%A|%.13a|%a|%.0a",
            1.5, -2.0, 0.1, 0.0, 1.5),
    });
    std::u16string big = F(u"%f", 1e300);
    EXPECT_EQ(Utf16ToUtf8(big), "10000000000000001" + std::string(284, '0') + ".000000");
}

// The "%.Nf" text worked out the slow, plain way: the value's first 17 significant digits (later ones 0),
// rounded half up at the N-th decimal.
std::string FixedBySeventeenDigits(double value, int decimals) {
    char buffer[64];
    auto end =
        std::to_chars(buffer, buffer + sizeof buffer, std::fabs(value), std::chars_format::scientific, 16)
            .ptr;
    std::string digits = std::string(1, buffer[0]) + std::string(buffer + 2, 16);
    const int exponent = std::atoi(std::string(buffer + 19, end).c_str());
    int decpt = value == 0 ? 1 : exponent + 1;
    const int keep = decpt + decimals;
    std::string kept;
    for (int i = 0; i < keep; ++i) {
        kept.push_back(i < 17 ? digits[static_cast<size_t>(i)] : '0');
    }
    if (keep >= 0 && (keep < 17 ? digits[static_cast<size_t>(keep)] : '0') >= '5') {
        int i = keep - 1;
        while (i >= 0 && kept[static_cast<size_t>(i)] == '9') {
            kept[static_cast<size_t>(i--)] = '0';
        }
        if (i >= 0) {
            ++kept[static_cast<size_t>(i)];
        } else {
            kept.insert(kept.begin(), '1');
            ++decpt;
        }
    }
    auto at = [&](int i) {
        return i >= 0 && i < static_cast<int>(kept.size()) ? kept[static_cast<size_t>(i)] : '0';
    };
    std::string text = std::signbit(value) ? "-" : "";
    if (decpt <= 0) {
        text += '0';
    }
    for (int i = 0; i < decpt; ++i) {
        text += at(i);
    }
    if (decimals > 0) {
        text += '.';
    }
    for (int j = 0; j < decimals; ++j) {
        text += at(decpt + j);
    }
    return text;
}

// Fixed notation takes a quicker road for everyday values; the text must not depend on the road. Values
// next to a half (in binary or in their 17 digits) are the ones where the two could part.
TEST(WideFormat, FixedNotationFollowsTheSeventeenDigitRuleOnEveryValue) {
    std::uint64_t seed = 0x9E3779B97F4A7C15ull;
    auto next = [&seed] {
        seed ^= seed << 13;
        seed ^= seed >> 7;
        seed ^= seed << 17;
        return seed;
    };
    std::vector<double> values = {
        0.125, 0.155,          2.5,       0.05,  9.96, 0.005, 1e15 - 0.5, 999999999999999.5, 1e-300,
        -0.0,  123456.7890125, 0.1 + 0.2, 5e-324};
    for (int i = 0; i < 50000; ++i) {
        const double magnitude = std::pow(10.0, static_cast<int>(next() % 32) - 15);
        const double unit = static_cast<double>(next() % 10000000) / 10000000.0;
        double value = magnitude * unit;
        if (i % 3 == 0) {
            // Exactly or nearly a half at some decimal.
            const double step = std::pow(10.0, -static_cast<int>(next() % 10));
            value = (std::floor(value / step) + 0.5) * step;
        }
        values.push_back(next() % 2 ? -value : value);
    }
    int compared = 0;
    for (double value : values) {
        for (int decimals : {0, 1, 2, 3, 6, 9, 12, 16, 17, 20}) {
            char16_t format[16];
            std::u16string f = u"%." + Utf8ToUtf16(std::to_string(decimals)) + u"f";
            std::copy(f.begin(), f.end(), format);
            format[f.size()] = 0;
            ASSERT_EQ(Utf16ToUtf8(F(format, value)), FixedBySeventeenDigits(value, decimals))
                << std::hexfloat << value << " with " << decimals << " decimals";
            ++compared;
        }
    }
    EXPECT_GT(compared, 500000);
}

TEST(WideFormat, InfinityAndNanPrintAsTheOriginalsDigitsDid) {
    const double inf = std::numeric_limits<double>::infinity();
    const double qnan = std::numeric_limits<double>::quiet_NaN();
    const double ind = FromBits(0xFFF8000000000000ull);
    const double snan = FromBits(0x7FF0000000000001ull);
    Check({
        ROW(u"1.#INF00|-1.#INF00|1.#QNAN0|-1.#IND00|1.#SNAN0", u"%f|%f|%f|%f|%f", inf, -inf, qnan, ind, snan),
        ROW(u"1.#INF00e+000|-1.#IND00E+000", u"%e|%E", inf, ind),
        ROW(u"1.#INF|-1.#IND|1.#QNAN|-1.#INF", u"%g|%g|%g|%G", inf, ind, qnan, -inf),
        // Precision rounds the text as if it were digits.
        ROW(u"1|1.$|1.#J|1.#IO|1.#INF|1.#INF0", u"%.0f|%.1f|%.2f|%.3f|%.4f|%.5f", inf, inf, inf, inf, inf,
            inf),
        ROW(u"1.$|1.#R|-1.#IND000", u"%.1f|%.2f|%.7f", qnan, qnan, ind),
        ROW(u"      1.#J|+1.#INF00|1.#INF00  |001.#INF00", u"%10.2f|%+f|%-10f|%010f", inf, inf, inf, inf),
    });
}

TEST(WideFormat, InvalidFormatsAppendNothing) {
    for (const char16_t* bad :
         {u"%n", u"%", u"abc%", u"%k", u"%-", u"%5%", u"%-%", u"%hf", u"%hp", u"%I64s", u"%hhc", u"%Lc",
          u"%wd", u"%Ld", u"%I6d", u"%100001d", u"%.100001f", u"%ll", u"ok %d then %n"}) {
        std::u16string out = u"keep";
        EXPECT_FALSE(AppendFormat(out, bad, 1)) << Utf16ToUtf8(bad);
        EXPECT_EQ(out, u"keep");
    }
    std::u16string out = u"keep";
    EXPECT_FALSE(AppendFormat(out, nullptr));
    // Too wide through '*' is found while formatting; what was appended is taken back.
    EXPECT_FALSE(AppendFormat(out, u"%d %*d", 1, kMaxFormatField + 1, 2));
    EXPECT_FALSE(AppendFormat(out, u"%d %.*f", 1, kMaxFormatField + 1, 2.0));
    EXPECT_FALSE(AppendFormat(out, u"%d %*d", 1, INT_MIN, 2));
    EXPECT_EQ(out, u"keep");
    // The largest allowed field still works.
    EXPECT_TRUE(AppendFormat(out, u"%*d", kMaxFormatField, 1));
    EXPECT_EQ(out.size(), 4u + kMaxFormatField);
}

TEST(WideFormat, AppendsToExistingText) {
    std::u16string out = u"x=";
    ASSERT_TRUE(AppendFormat(out, u"%d", 1));
    ASSERT_TRUE(AppendFormat(out, u"", 1));
    EXPECT_EQ(out, u"x=1");
}

} // namespace
