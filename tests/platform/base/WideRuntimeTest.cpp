#include "platform/base/WideRuntime.h"

#include "platform/base/CodePage.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <clocale>
#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <type_traits>

namespace {

std::string U8(const char16_t* s) {
    return s ? Utf16ToUtf8(s) : "(nullptr)";
}

// Pads the rest of a buffer with a marker so that writes past the terminator show.
template <size_t N>
void Fill(char16_t (&buffer)[N]) {
    for (auto& u : buffer) {
        u = u'#';
    }
}

int Vsw(char16_t* buffer, size_t count, const char16_t* format, ...) {
    va_list args;
    va_start(args, format);
    int n = vswprintf(buffer, count, format, args);
    va_end(args);
    return n;
}

TEST(WideRuntime, SwprintfFormsCountAndTruncateAsTheOriginal) {
    char16_t buffer[8];
    Fill(buffer);
    EXPECT_EQ(swprintf(buffer, u"%d-%s", 5, u"x"), 3);
    EXPECT_EQ(std::u16string(buffer, 4), std::u16string(u"5-x\0", 4));

    // Counted form: the terminator counts; text that does not fit is cut, terminated and answers -1.
    Fill(buffer);
    EXPECT_EQ(swprintf(buffer, 4, u"%s", u"abc"), 3);
    EXPECT_EQ(U8(buffer), "abc");
    Fill(buffer);
    EXPECT_EQ(swprintf(buffer, 3, u"%s", u"abc"), -1);
    EXPECT_EQ(U8(buffer), "ab");
    EXPECT_EQ(Vsw(buffer, 8, u"%03d", 7), 3);
    EXPECT_EQ(U8(buffer), "007");
    EXPECT_EQ(swprintf(buffer, 0, u"x"), -1);

    // _snwprintf: no terminator when the text fills the buffer exactly, -1 when cut.
    Fill(buffer);
    EXPECT_EQ(_snwprintf(buffer, 3, u"abc"), 3);
    EXPECT_EQ(std::u16string(buffer, 4), u"abc#");
    Fill(buffer);
    EXPECT_EQ(_snwprintf(buffer, 2, u"abc"), -1);
    EXPECT_EQ(std::u16string(buffer, 3), u"ab#");
    Fill(buffer);
    EXPECT_EQ(_snwprintf(buffer, 5, u"abc"), 3);
    EXPECT_EQ(std::u16string(buffer, 5), std::u16string(u"abc\0#", 5));
    EXPECT_EQ(_snwprintf(nullptr, 0, u"%05d", 1), 5);

    EXPECT_EQ(_scwprintf(u"%05d|%s", 3, u"ab"), 8);

    // Invalid formats: -1 and an empty buffer.
    Fill(buffer);
    EXPECT_EQ(swprintf(buffer, 8, u"bad %n"), -1);
    EXPECT_EQ(buffer[0], 0);
    Fill(buffer);
    EXPECT_EQ(_snwprintf(buffer, 8, u"%"), -1);
    EXPECT_EQ(buffer[0], 0);
    EXPECT_EQ(swprintf(buffer, u"%q"), -1);
    EXPECT_EQ(_scwprintf(u"%k"), -1);
}

TEST(WideRuntime, SwscanfReadsFieldsWithCRuntimeRules) {
    double d = 0;
    EXPECT_EQ(swscanf(u" 3.25xyz", u"%lf", &d), 1);
    EXPECT_EQ(d, 3.25);
    EXPECT_EQ(swscanf(u"-.5e1", u"%lf", &d), 1);
    EXPECT_EQ(d, -5.0);
    float f = 0;
    EXPECT_EQ(swscanf(u"1.5", u"%f", &f), 1);
    EXPECT_EQ(f, 1.5f);

    int v[16] = {};
    EXPECT_EQ(swscanf(u"1 2 3 4 5 6 7 8 9 10 11 12 13 14 15 -16",
                      u"%d %d %d %d %d %d %d %d %d %d %d %d %d %d %d %d", &v[0], &v[1], &v[2], &v[3], &v[4],
                      &v[5], &v[6], &v[7], &v[8], &v[9], &v[10], &v[11], &v[12], &v[13], &v[14], &v[15]),
              16);
    EXPECT_EQ(v[0], 1);
    EXPECT_EQ(v[15], -16);

    int a = 0, b = 0;
    EXPECT_EQ(swscanf(u"1234", u"%2d%2d", &a, &b), 2);
    EXPECT_EQ(a, 12);
    EXPECT_EQ(b, 34);
    unsigned h = 0, m = 0;
    EXPECT_EQ(swscanf(u"123456.5", u"%2u%2u%f", &h, &m, &f), 3);
    EXPECT_EQ(m, 34u);
    EXPECT_EQ(f, 56.5f);
    EXPECT_EQ(swscanf(u"78", u"%*1u%1u", &h), 1);
    EXPECT_EQ(h, 8u);
    EXPECT_EQ(swscanf(u"-5", u"%u", &h), 1);
    EXPECT_EQ(h, 4294967291u);

    // Partial matches answer the fields assigned; EOF only when the input ends before the first conversion.
    EXPECT_EQ(swscanf(u"5;6", u"%d,%d", &a, &b), 1);
    EXPECT_EQ(swscanf(u"x", u"%d", &a), 0);
    EXPECT_EQ(swscanf(u"", u"%d", &a), EOF);
    EXPECT_EQ(swscanf(u"   ", u"%d", &a), EOF);
    EXPECT_EQ(swscanf(u"", u"abc%d", &a), EOF);
    EXPECT_EQ(swscanf(u"5", u"%d %d", &a, &b), 1);
    // Suppressed conversions do not count: "$GPGSV,1,1,00" ends before the first group is assigned.
    EXPECT_EQ(swscanf(u"5", u"%*d %d", &a), EOF);
    EXPECT_EQ(swscanf(u"$GPGSV,1,1,00", u"$GPGSV,%*1u,%*1u,%*2u,%2u", &a), EOF);
    EXPECT_EQ(swscanf(u"5,x", u"%*d,%d", &a), 0);
    EXPECT_EQ(swscanf(u"$GPXXX,7", u"$GPGGA,%d", &a), 0);
    EXPECT_EQ(swscanf(u"$GPGGA,7", u"$GPGGA,%d", &a), 1);
    EXPECT_EQ(swscanf(u"5%", u"%d%%", &a), 1);
    EXPECT_EQ(swscanf(u"inf", u"%lf", &d), 0);
    EXPECT_EQ(swscanf(u"5", u"%k", &a), EOF);
    EXPECT_EQ(swscanf(u"5", u"%[abc", &a), EOF);
}

TEST(WideRuntime, SwscanfConversionsStoreTheirTypes) {
    int x = 0;
    EXPECT_EQ(swscanf(u"1aG", u"%x", &x), 1);
    EXPECT_EQ(x, 0x1a);
    EXPECT_EQ(swscanf(u"0xFF", u"%X", &x), 1);
    EXPECT_EQ(x, 255);
    int i1 = 0, i2 = 0, i3 = 0;
    EXPECT_EQ(swscanf(u"0x10 010 -10", u"%i %i %i", &i1, &i2, &i3), 3);
    EXPECT_EQ(i1, 16);
    EXPECT_EQ(i2, 8);
    EXPECT_EQ(i3, -10);

    // "%ld" stores a LONG and nothing past it.
    struct {
        LONG value;
        LONG guard;
    } longs{0, 77};
    EXPECT_EQ(swscanf(u"-2147483648", u"%ld", &longs.value), 1);
    EXPECT_EQ(longs.value, INT_MIN);
    EXPECT_EQ(longs.guard, 77);
    long long big = 0;
    EXPECT_EQ(swscanf(u"9000000000", u"%lld", &big), 1);
    EXPECT_EQ(big, 9000000000LL);
    short s = 0;
    EXPECT_EQ(swscanf(u"-3", u"%hd", &s), 1);
    EXPECT_EQ(s, -3);

    char16_t word[16] = {};
    char16_t rest[16] = {};
    EXPECT_EQ(swscanf(u"  hello world", u"%s", word), 1);
    EXPECT_EQ(U8(word), "hello");
    EXPECT_EQ(swscanf(u"abcdefg", u"%5s", word), 1);
    EXPECT_EQ(U8(word), "abcde");
    EXPECT_EQ(swscanf(u"ab c,def", u"%[^,],%s", word, rest), 2);
    EXPECT_EQ(U8(word), "ab c");
    EXPECT_EQ(U8(rest), "def");
    // A '-' after a range is a member, not the start of another range.
    EXPECT_EQ(swscanf(u"ab-_. 9!x", u"%[0-9a-zA-Z-_. ]", word), 1);
    EXPECT_EQ(U8(word), "ab-_. 9");
    EXPECT_EQ(swscanf(u"]a]b", u"%[]a]", word), 1);
    EXPECT_EQ(U8(word), "]a]");
    EXPECT_EQ(swscanf(u"!", u"%[a-z]", word), 0);

    char16_t c[4] = {u'#', u'#', u'#', u'#'};
    EXPECT_EQ(swscanf(u"xy", u"%1c", c), 1);
    EXPECT_EQ(std::u16string(c, 2), u"x#");
    EXPECT_EQ(swscanf(u" abc", u"%3c", c), 1);
    EXPECT_EQ(std::u16string(c, 4), u" ab#");
    EXPECT_EQ(swscanf(u"ab", u"%3c", c), EOF);

    char narrow[8] = {};
    EXPECT_EQ(swscanf(u"\u00E9t\u00E9 x", u"%S", narrow), 1);
    EXPECT_EQ(std::string(narrow), "\xE9t\xE9");
    char nc = 0;
    EXPECT_EQ(swscanf(u"\u20AC", u"%C", &nc), 1);
    EXPECT_EQ(nc, '\x80');

    int n = -1;
    EXPECT_EQ(swscanf(u"12 ", u"%d%n", &x, &n), 1);
    EXPECT_EQ(n, 2);
    void* p = nullptr;
    EXPECT_EQ(swscanf(u"00ABCDEF", u"%p", &p), 1);
    EXPECT_EQ(p, reinterpret_cast<void*>(0xABCDEF));
}

TEST(WideRuntime, WcstodReadsTheCSyntaxAndSetsTheEnd) {
    struct Row {
        const char16_t* text;
        double value;
        int used;
        bool range;
    };
    const Row rows[] = {
        {u" 1.5xyz", 1.5, 4, false}, {u"-.5", -0.5, 3, false},      {u"1e3", 1000, 3, false},
        {u"1e", 1, 1, false},        {u"1e+", 1, 1, false},         {u"1d2", 100, 3, false},
        {u"12.5.3", 12.5, 4, false}, {u"abc", 0, 0, false},         {u"", 0, 0, false},
        {u".", 0, 0, false},         {u"+", 0, 0, false},           {u"inf", 0, 0, false},
        {u"0x10", 0, 1, false},      {u"1e400", HUGE_VAL, 5, true}, {u"-1e400", -HUGE_VAL, 6, true},
        {u"1e-400", 0, 6, true},     {u"\u00A01", 1, 2, false},
    };
    for (const Row& r : rows) {
        char16_t* end = nullptr;
        errno = 0;
        double v = wcstod(r.text, &end);
        EXPECT_EQ(v, r.value) << U8(r.text);
        EXPECT_EQ(end - r.text, r.used) << U8(r.text);
        EXPECT_EQ(errno == ERANGE, r.range) << U8(r.text);
    }
    EXPECT_EQ(_wtof(u"2.5e1"), 25.0);
}

TEST(WideRuntime, IntegerConversionsClampToTheOriginalRanges) {
    struct Row {
        const char16_t* text;
        int base;
        long long value;
        int used;
        int err;
    };
    const Row longRows[] = {
        {u"  -123abc", 10, -123, 6, 0},
        {u"0x1F", 16, 31, 4, 0},
        {u"0x1F", 0, 31, 4, 0},
        {u"017", 0, 15, 3, 0},
        {u"2147483647", 10, 2147483647, 10, 0},
        {u"2147483648", 10, 2147483647, 10, ERANGE},
        {u"-2147483648", 10, INT_MIN, 11, 0},
        {u"-2147483649", 10, INT_MIN, 11, ERANGE},
        {u"zz", 36, 1295, 2, 0},
        {u"", 10, 0, 0, 0},
        {u"0x", 16, 0, 1, 0},
        {u"12", 1, 0, 0, EINVAL},
    };
    for (const Row& r : longRows) {
        char16_t* end = nullptr;
        errno = 0;
        EXPECT_EQ(wcstol(r.text, &end, r.base), r.value) << U8(r.text);
        EXPECT_EQ(end - r.text, r.used) << U8(r.text);
        EXPECT_EQ(errno, r.err) << U8(r.text);
    }

    errno = 0;
    EXPECT_EQ(wcstoul(u"4294967295", nullptr, 10), 0xFFFFFFFFul);
    EXPECT_EQ(wcstoul(u"-1", nullptr, 10), 0xFFFFFFFFul);
    EXPECT_EQ(errno, 0);
    EXPECT_EQ(wcstoul(u"4294967296", nullptr, 10), 0xFFFFFFFFul);
    EXPECT_EQ(errno, ERANGE);

    errno = 0;
    EXPECT_EQ(wcstoll(u"-9223372036854775808", nullptr, 10), LLONG_MIN);
    EXPECT_EQ(_wcstoi64(u"7fffffffffffffff", nullptr, 16), LLONG_MAX);
    EXPECT_EQ(errno, 0);
    EXPECT_EQ(wcstoll(u"9223372036854775808", nullptr, 10), LLONG_MAX);
    EXPECT_EQ(errno, ERANGE);
    errno = 0;
    EXPECT_EQ(_wcstoui64(u"18446744073709551615", nullptr, 10), ULLONG_MAX);
    EXPECT_EQ(errno, 0);
    EXPECT_EQ(wcstoull(u"18446744073709551616", nullptr, 10), ULLONG_MAX);
    EXPECT_EQ(errno, ERANGE);

    EXPECT_EQ(_wtoi(u" 42x"), 42);
    EXPECT_EQ(_wtoi(u"99999999999"), INT_MAX);
    EXPECT_EQ(_wtol(u"-7"), -7);
    EXPECT_EQ(_wtoi64(u"-9000000000"), -9000000000LL);

    char16_t buffer[72];
    EXPECT_EQ(U8(_itow(-255, buffer, 10)), "-255");
    EXPECT_EQ(U8(_itow(-1, buffer, 16)), "ffffffff");
    EXPECT_EQ(U8(_ltow(LONG{-2}, buffer, 10)), "-2");
    EXPECT_EQ(U8(_ultow(0xFFFFFFFFu, buffer, 2)), std::string(32, '1'));
    EXPECT_EQ(U8(_i64tow(LLONG_MIN, buffer, 10)), "-9223372036854775808");
    EXPECT_EQ(U8(_i64tow(-1, buffer, 16)), "ffffffffffffffff");
    EXPECT_EQ(U8(_ui64tow(35, buffer, 36)), "z");
}

TEST(WideRuntime, StringFunctions) {
    char16_t buffer[16];
    EXPECT_EQ(wcslen(u"abc"), 3u);
    EXPECT_EQ(wcsnlen(u"abc", 2), 2u);

    Fill(buffer);
    wcsncpy(buffer, u"ab", 4);
    EXPECT_EQ(std::u16string(buffer, 5), std::u16string(u"ab\0\0#", 5));
    Fill(buffer);
    wcsncpy(buffer, u"abcdef", 3);
    EXPECT_EQ(std::u16string(buffer, 4), u"abc#");
    wcscpy(buffer, u"ab");
    wcscat(buffer, u"cd");
    wcsncat(buffer, u"efgh", 2);
    EXPECT_EQ(U8(buffer), "abcdef");

    EXPECT_LT(wcscmp(u"a", u"\u00E9"), 0);
    EXPECT_GT(wcscmp(u"\uFFFF", u"a"), 0);
    EXPECT_LT(wcscmp(u"ab", u"abc"), 0);
    EXPECT_EQ(wcsncmp(u"abX", u"abY", 2), 0);
    EXPECT_EQ(_wcsicmp(u"\u00C4bC", u"\u00E4Bc"), 0);
    EXPECT_LT(_wcsicmp(u"a", u"B"), 0);
    EXPECT_EQ(_wcsnicmp(u"COM1x", u"com1y", 4), 0);
    EXPECT_NE(_wcsicmp(u"COM1", u"COM10"), 0);
    EXPECT_LT(wcscoll(u"B", u"a"), 0);
    EXPECT_GT(_wcsicoll(u"B", u"a"), 0);

    const char16_t* text = u"a,b;c,";
    EXPECT_EQ(wcschr(text, u',') - text, 1);
    EXPECT_EQ(wcschr(text, 0) - text, 6);
    EXPECT_EQ(wcschr(text, u'x'), nullptr);
    EXPECT_EQ(wcsrchr(text, u',') - text, 5);
    EXPECT_EQ(wcsstr(text, u"b;") - text, 2);
    EXPECT_EQ(wcsstr(text, u""), text);
    EXPECT_EQ(wcsstr(text, u"bc"), nullptr);
    EXPECT_EQ(wcsspn(u"aab", u"a"), 2u);
    EXPECT_EQ(wcscspn(u"aab", u"b"), 2u);
    EXPECT_EQ(wcspbrk(text, u";,") - text, 1);
    EXPECT_EQ(wcspbrk(text, u"xy"), nullptr);
    // Non-const text answers non-const pointers.
    static_assert(std::is_same_v<decltype(wcschr(buffer, u'a')), char16_t*>);
    static_assert(std::is_same_v<decltype(wcsstr(buffer, u"a")), char16_t*>);

    wcscpy(buffer, u",,a,,bc;d,");
    char16_t* context = nullptr;
    std::string tokens;
    for (char16_t* t = wcstok(buffer, u",;", &context); t; t = wcstok(nullptr, u",;", &context)) {
        tokens += U8(t) + "|";
    }
    EXPECT_EQ(tokens, "a|bc|d|");

    char16_t* copy = _wcsdup(u"Stra\u00DFe \u00FF\u00E9");
    EXPECT_EQ(U8(_wcsupr(copy)), U8(u"STRA\u00DFE \u0178\u00C9"));
    EXPECT_EQ(U8(_wcslwr(copy)), U8(u"stra\u00DFe \u00FF\u00E9"));
    EXPECT_EQ(U8(_wcsrev(copy)), U8(u"\u00E9\u00FF e\u00DFarts"));
    EXPECT_EQ(U8(_wcsset(copy, u'*')), "*********");
    std::free(copy);
    EXPECT_EQ(_wcsdup(nullptr), nullptr);
}

// Restores the process locale after a test changed it.
class ProcessLocale {
public:
    ProcessLocale() : saved_(std::setlocale(LC_ALL, nullptr)) {}
    ~ProcessLocale() { std::setlocale(LC_ALL, saved_.c_str()); }

private:
    std::string saved_;
};

TEST(WideRuntime, ClassificationIsUnicodeWhateverTheProcessLocale) {
    struct Row {
        char16_t c;
        const char* classes; // p print, g graph, a alpha, n alnum, d digit, x xdigit, s space, u upper, l
                             // lower, . punct, c cntrl
    };
    const Row rows[] = {
        {0x00, "c"},      {0x09, "sc"},     {0x20, "ps"},     {u'0', "pgndx"}, {u'F', "pganxu"},
        {u'g', "pganl"},  {u'~', "pg."},    {0x7F, "c"},      {0x80, "c"},     {0x85, "sc"},
        {0x9F, "c"},      {0xA0, "ps"},     {0xAA, "pganl"},  {0xB0, "pg."},   {0xB2, "pg."},
        {0xD7, "pg."},    {0xDF, "pganl"},  {0xE9, "pganl"},  {0xC9, "pganu"}, {0xFF, "pganl"},
        {0x100, "pganu"}, {0x3C9, "pganl"}, {0x4E2D, "pgan"}, {0x20AC, "pg."}, {0x2028, "sc"},
        {0xD800, ""},
    };
    ProcessLocale restore;
    for (const char* locale : {"C", "C.UTF-8"}) {
        if (!std::setlocale(LC_ALL, locale)) {
            continue;
        }
        for (const Row& r : rows) {
            std::string got;
            got += iswprint(r.c) ? "p" : "";
            got += iswgraph(r.c) ? "g" : "";
            got += iswalpha(r.c) ? "a" : "";
            got += iswalnum(r.c) ? "n" : "";
            got += iswdigit(r.c) ? "d" : "";
            got += iswxdigit(r.c) ? "x" : "";
            got += iswspace(r.c) ? "s" : "";
            got += iswupper(r.c) ? "u" : "";
            got += iswlower(r.c) ? "l" : "";
            got += iswpunct(r.c) ? "." : "";
            got += iswcntrl(r.c) ? "c" : "";
            std::string want = r.classes;
            std::sort(got.begin(), got.end());
            std::sort(want.begin(), want.end());
            EXPECT_EQ(got, want) << "unit 0x" << std::hex << static_cast<int>(r.c) << " in locale " << locale;
        }
        EXPECT_EQ(towupper(u'a'), u'A');
        EXPECT_EQ(towupper(char16_t{0xE9}), char16_t{0xC9});
        EXPECT_EQ(towupper(char16_t{0xFF}), char16_t{0x178});
        EXPECT_EQ(towupper(char16_t{0xF7}), char16_t{0xF7});
        EXPECT_EQ(towupper(char16_t{0x3C9}), char16_t{0x3A9});
        EXPECT_EQ(towlower(u'Z'), u'z');
        EXPECT_EQ(towlower(char16_t{0xD7}), char16_t{0xD7});
        EXPECT_EQ(towlower(char16_t{0x178}), char16_t{0xFF});
    }
    static_assert(std::is_same_v<decltype(towupper(TCHAR{})), char16_t>);
}

} // namespace
