#include "platform/base/WideRuntime.h"

#include "platform/base/CodePage.h"
#include "platform/base/WideFormat.h"

#include <array>
#include <cerrno>
#include <climits>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <initializer_list>
#include <locale.h>
#include <string>
#include <type_traits>
#include <utility>
#include <wctype.h>

namespace {

// ---- Character classes ----------------------------------------------------------------------------------

enum : std::uint16_t {
    kCntrl = 1 << 0,
    kSpace = 1 << 1,
    kPunct = 1 << 2,
    kDigit = 1 << 3,
    kXdigit = 1 << 4,
    kUpper = 1 << 5,
    kLower = 1 << 6,
    kAlpha = 1 << 7,
    kPrint = 1 << 8,
    kGraph = 1 << 9,
};

constexpr std::array<std::uint16_t, 256> MakeLatin1Classes() {
    std::array<std::uint16_t, 256> t{};
    for (int c = 0; c < 256; ++c) {
        std::uint16_t v = 0;
        if (c < 0x20 || (c >= 0x7F && c < 0xA0)) {
            v = kCntrl;
            if ((c >= 0x09 && c <= 0x0D) || c == 0x85) {
                v |= kSpace;
            }
        } else if (c == 0x20 || c == 0xA0) {
            v = kSpace | kPrint;
        } else if (c >= '0' && c <= '9') {
            v = kDigit | kXdigit;
        } else if (c >= 'A' && c <= 'Z') {
            v = kUpper | kAlpha | (c <= 'F' ? kXdigit : 0);
        } else if (c >= 'a' && c <= 'z') {
            v = kLower | kAlpha | (c <= 'f' ? kXdigit : 0);
        } else if (c == 0xAA || c == 0xB5 || c == 0xBA) {
            v = kLower | kAlpha;
        } else if (c >= 0xC0 && c <= 0xDE && c != 0xD7) {
            v = kUpper | kAlpha;
        } else if (c >= 0xDF && c != 0xF7) {
            v = kLower | kAlpha;
        } else {
            v = kPunct;
        }
        if (!(v & kCntrl)) {
            v |= kPrint;
            if (!(v & kSpace)) {
                v |= kGraph;
            }
        }
        t[static_cast<size_t>(c)] = v;
    }
    return t;
}

constexpr std::array<std::uint16_t, 256> kLatin1 = MakeLatin1Classes();

// Unicode classification for units above U+00FF, independent of the process locale.
locale_t UnicodeLocale() {
    static locale_t locale = [] {
        for (const char* name : {"C.UTF-8", "C.utf8", "en_US.UTF-8"}) {
            if (locale_t l = newlocale(LC_CTYPE_MASK, name, static_cast<locale_t>(nullptr))) {
                return l;
            }
        }
        return static_cast<locale_t>(nullptr);
    }();
    return locale;
}

using LocaleClassifier = int (*)(wint_t, locale_t);

int Classify(char16_t c, std::uint16_t bits, LocaleClassifier high) {
    if (c < 0x100) {
        return (kLatin1[c] & bits) != 0;
    }
    if (c >= 0xD800 && c <= 0xDFFF) {
        return 0;
    }
    if (locale_t l = UnicodeLocale()) {
        return high(c, l) != 0;
    }
    // No Unicode locale at all: treat the rest as printable symbols.
    return (bits & (kPrint | kGraph | kPunct)) != 0;
}

char16_t MapCase(char16_t c, bool upper) {
    if (c < 0x100) {
        if (upper) {
            if ((c >= u'a' && c <= u'z') || (c >= 0xE0 && c <= 0xFE && c != 0xF7)) {
                return static_cast<char16_t>(c - 0x20);
            }
            return c == 0xFF ? char16_t{0x178} : c == 0xB5 ? char16_t{0x39C} : c;
        }
        if ((c >= u'A' && c <= u'Z') || (c >= 0xC0 && c <= 0xDE && c != 0xD7)) {
            return static_cast<char16_t>(c + 0x20);
        }
        return c;
    }
    if (c >= 0xD800 && c <= 0xDFFF) {
        return c;
    }
    locale_t l = UnicodeLocale();
    if (!l) {
        return c;
    }
    wint_t mapped = upper ? towupper_l(c, l) : towlower_l(c, l);
    return mapped <= 0xFFFF ? static_cast<char16_t>(mapped) : c;
}

// ---- Numbers ----------------------------------------------------------------------------------------------

locale_t CLocale() {
    static locale_t locale = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
    return locale;
}

int DigitValue(char16_t c) {
    if (c >= u'0' && c <= u'9') {
        return c - u'0';
    }
    if (c >= u'a' && c <= u'z') {
        return c - u'a' + 10;
    }
    if (c >= u'A' && c <= u'Z') {
        return c - u'A' + 10;
    }
    return 99;
}

struct ParsedInteger {
    unsigned long long magnitude = 0;
    bool negative = false;
    bool overflow = false;
    bool digits = false;
    const char16_t* end = nullptr;
};

// The strtol family's scanner: white space, sign, "0x" for base 16 (or 0), digits. negativeLimit and
// positiveLimit bound the magnitude for each sign.
ParsedInteger ParseInteger(const char16_t* text, int base, unsigned long long positiveLimit,
                           unsigned long long negativeLimit) {
    ParsedInteger r;
    r.end = text;
    if (base < 0 || base == 1 || base > 36) {
        errno = EINVAL;
        return r;
    }
    const char16_t* p = text;
    while (iswspace(*p)) {
        ++p;
    }
    if (*p == u'-' || *p == u'+') {
        r.negative = *p++ == u'-';
    }
    if ((base == 0 || base == 16) && p[0] == u'0' && (p[1] == u'x' || p[1] == u'X') &&
        DigitValue(p[2]) < 16) {
        p += 2;
        base = 16;
    } else if (base == 0) {
        base = *p == u'0' ? 8 : 10;
    }
    unsigned long long limit = r.negative ? negativeLimit : positiveLimit;
    for (int d; (d = DigitValue(*p)) < base; ++p) {
        r.digits = true;
        if (r.overflow) {
            continue;
        }
        if (r.magnitude > (limit - static_cast<unsigned>(d)) / static_cast<unsigned>(base)) {
            r.overflow = true;
        } else {
            r.magnitude = r.magnitude * static_cast<unsigned>(base) + static_cast<unsigned>(d);
        }
    }
    if (r.digits) {
        r.end = p;
    }
    if (r.overflow) {
        errno = ERANGE;
    }
    return r;
}

template <typename T>
T SignedResult(const ParsedInteger& r, T min, T max) {
    if (r.overflow) {
        return r.negative ? min : max;
    }
    return r.negative ? static_cast<T>(0ull - r.magnitude) : static_cast<T>(r.magnitude);
}

void SetEnd(char16_t** end, const char16_t* at) {
    if (end) {
        *end = const_cast<char16_t*>(at);
    }
}

// Reads the C syntax of a decimal floating number (no "inf", "nan" or hex) from p, at most max units, into
// ascii (sign, mantissa, 'e' and exponent). exponentLetters are the units that start an exponent. Answers
// the units used, 0 when there is no number.
size_t ScanFloat(const char16_t* p, size_t max, std::string& ascii, const char16_t* exponentLetters) {
    size_t i = 0;
    ascii.clear();
    if (i < max && (p[i] == u'+' || p[i] == u'-')) {
        ascii.push_back(static_cast<char>(p[i++]));
    }
    bool digits = false;
    while (i < max && p[i] >= u'0' && p[i] <= u'9') {
        ascii.push_back(static_cast<char>(p[i++]));
        digits = true;
    }
    if (i < max && p[i] == u'.') {
        ascii.push_back('.');
        ++i;
        while (i < max && p[i] >= u'0' && p[i] <= u'9') {
            ascii.push_back(static_cast<char>(p[i++]));
            digits = true;
        }
    }
    if (!digits) {
        return 0;
    }
    if (i < max && p[i] && std::char_traits<char16_t>::find(exponentLetters, 4, p[i])) {
        size_t j = i + 1;
        std::string exponent = "e";
        if (j < max && (p[j] == u'+' || p[j] == u'-')) {
            exponent.push_back(static_cast<char>(p[j++]));
        }
        bool expDigits = false;
        while (j < max && p[j] >= u'0' && p[j] <= u'9') {
            exponent.push_back(static_cast<char>(p[j++]));
            expDigits = true;
        }
        if (expDigits) {
            ascii += exponent;
            i = j;
        }
    }
    return i;
}

double AsciiToDouble(const std::string& ascii) {
    if (locale_t l = CLocale()) {
        return strtod_l(ascii.c_str(), nullptr, l);
    }
    return std::strtod(ascii.c_str(), nullptr);
}

template <typename T>
char16_t* UnsignedToText(T value, bool negative, char16_t* buffer, int radix) {
    if (!buffer) {
        return buffer;
    }
    if (radix < 2 || radix > 36) {
        buffer[0] = 0;
        return buffer;
    }
    char16_t digits[72];
    int n = 0;
    do {
        auto d = static_cast<int>(value % static_cast<unsigned>(radix));
        digits[n++] = static_cast<char16_t>(d < 10 ? u'0' + d : u'a' + d - 10);
        value /= static_cast<unsigned>(radix);
    } while (value != 0);
    char16_t* p = buffer;
    if (negative) {
        *p++ = u'-';
    }
    while (n > 0) {
        *p++ = digits[--n];
    }
    *p = 0;
    return buffer;
}

template <typename S>
char16_t* SignedToText(S value, char16_t* buffer, int radix) {
    using U = std::make_unsigned_t<S>;
    bool negative = radix == 10 && value < 0;
    U magnitude = negative ? static_cast<U>(U{0} - static_cast<U>(value)) : static_cast<U>(value);
    return UnsignedToText(magnitude, negative, buffer, radix);
}

// ---- Formatting into caller buffers -----------------------------------------------------------------------

// Formats into text; false for an invalid format (buffer then gets an empty string when it has room).
bool FormatTo(std::u16string& text, char16_t* buffer, size_t room, const char16_t* format, va_list args) {
    if (AppendFormatV(text, format, args)) {
        return true;
    }
    if (buffer && room > 0) {
        buffer[0] = 0;
    }
    return false;
}

// ---- Scanning ---------------------------------------------------------------------------------------------

enum class ScanLength { None, HH, H, L, LL, BigL, I64, I32, I, W, Z, J, T };

struct ScanSpec {
    bool suppress = false;
    size_t width = SIZE_MAX;
    ScanLength length = ScanLength::None;
    char16_t conv = 0;
    const char16_t* set = nullptr; // first unit after '[' (and '^')
    const char16_t* setEnd = nullptr;
    bool setNegated = false;
};

bool ScanAllowed(ScanLength len, std::initializer_list<ScanLength> set) {
    for (ScanLength l : set) {
        if (l == len) {
            return true;
        }
    }
    return false;
}

// Parses one scan conversion; p points past the '%'.
bool ParseScanSpec(const char16_t*& p, ScanSpec& s) {
    s = ScanSpec{};
    if (*p == u'*') {
        s.suppress = true;
        ++p;
    }
    if (*p >= u'0' && *p <= u'9') {
        size_t w = 0;
        while (*p >= u'0' && *p <= u'9') {
            w = w * 10 + static_cast<size_t>(*p++ - u'0');
            if (w > static_cast<size_t>(kMaxFormatField)) {
                return false;
            }
        }
        if (w == 0) {
            return false;
        }
        s.width = w;
    }
    using enum ScanLength;
    switch (*p) {
    case u'h':
        s.length = *++p == u'h' ? (++p, HH) : H;
        break;
    case u'l':
        s.length = *++p == u'l' ? (++p, LL) : L;
        break;
    case u'L':
        ++p;
        s.length = BigL;
        break;
    case u'I':
        ++p;
        s.length = I;
        if (p[0] == u'6' && p[1] == u'4') {
            p += 2;
            s.length = I64;
        } else if (p[0] == u'3' && p[1] == u'2') {
            p += 2;
            s.length = I32;
        }
        break;
    case u'w':
        ++p;
        s.length = W;
        break;
    case u'z':
        ++p;
        s.length = Z;
        break;
    case u'j':
        ++p;
        s.length = J;
        break;
    case u't':
        ++p;
        s.length = T;
        break;
    default:
        break;
    }
    s.conv = *p;
    if (!s.conv) {
        return false;
    }
    ++p;
    switch (s.conv) {
    case u'd':
    case u'i':
    case u'u':
    case u'o':
    case u'x':
    case u'X':
    case u'n':
        return ScanAllowed(s.length, {None, HH, H, L, LL, I64, I32, I, Z, J, T});
    case u'p':
        return s.length == None;
    case u'e':
    case u'E':
    case u'f':
    case u'F':
    case u'g':
    case u'G':
    case u'a':
    case u'A':
        return ScanAllowed(s.length, {None, L, BigL});
    case u'c':
    case u'C':
    case u's':
    case u'S':
        return ScanAllowed(s.length, {None, H, L, W});
    case u'[':
        if (*p == u'^') {
            s.setNegated = true;
            ++p;
        }
        s.set = p;
        if (*p == u']') {
            ++p;
        }
        while (*p && *p != u']') {
            ++p;
        }
        if (!*p) {
            return false;
        }
        s.setEnd = p++;
        return ScanAllowed(s.length, {None, H, L, W});
    default:
        return false;
    }
}

// Membership in a scan set; a '-' between two units makes a range unless the first ended a range already.
bool InSet(const ScanSpec& s, char16_t c) {
    bool found = false;
    const char16_t* p = s.set;
    char16_t previous = 0;
    bool havePrevious = false;
    while (p < s.setEnd) {
        char16_t u = *p++;
        if (u == u'-' && havePrevious && p < s.setEnd) {
            char16_t to = *p++;
            char16_t lo = previous < to ? previous : to;
            char16_t hi = previous < to ? to : previous;
            found = found || (c >= lo && c <= hi);
            havePrevious = false;
            continue;
        }
        found = found || c == u;
        previous = u;
        havePrevious = true;
    }
    return found != s.setNegated;
}

struct ScanArgs {
    va_list ap;
};

void StoreInteger(ScanArgs& a, ScanLength len, unsigned long long v) {
    switch (len) {
    case ScanLength::HH:
        *va_arg(a.ap, signed char*) = static_cast<signed char>(v);
        break;
    case ScanLength::H:
        *va_arg(a.ap, short*) = static_cast<short>(v);
        break;
    case ScanLength::LL:
    case ScanLength::I64:
        *va_arg(a.ap, long long*) = static_cast<long long>(v);
        break;
    case ScanLength::I:
    case ScanLength::Z:
        *va_arg(a.ap, size_t*) = static_cast<size_t>(v);
        break;
    case ScanLength::T:
        *va_arg(a.ap, std::ptrdiff_t*) = static_cast<std::ptrdiff_t>(v);
        break;
    case ScanLength::J:
        *va_arg(a.ap, std::intmax_t*) = static_cast<std::intmax_t>(v);
        break;
    default:
        // Also "%ld": a LONG, as long was 32 bits on the original.
        *va_arg(a.ap, int*) = static_cast<int>(static_cast<unsigned int>(v));
        break;
    }
}

bool ScanNarrow(const ScanSpec& s) {
    if (s.length == ScanLength::H) {
        return true;
    }
    if (s.length == ScanLength::L || s.length == ScanLength::W) {
        return false;
    }
    return s.conv == u'S' || s.conv == u'C';
}

// Stores units (and a terminator when asked) as wide units or narrow Windows-1252 bytes.
void StoreText(ScanArgs& a, const ScanSpec& s, const char16_t* text, size_t len, bool terminate) {
    if (ScanNarrow(s)) {
        char* dest = va_arg(a.ap, char*);
        for (size_t i = 0; i < len; ++i) {
            std::string byte = Utf16ToCp1252(std::u16string_view(text + i, 1));
            dest[i] = byte.empty() ? '?' : byte[0];
        }
        if (terminate) {
            dest[len] = 0;
        }
    } else {
        char16_t* dest = va_arg(a.ap, char16_t*);
        std::memcpy(dest, text, len * sizeof(char16_t));
        if (terminate) {
            dest[len] = 0;
        }
    }
}

bool ValidateScanFormat(const char16_t* format) {
    ScanSpec s;
    for (const char16_t* p = format; *p;) {
        if (*p++ != u'%') {
            continue;
        }
        if (*p == u'%') {
            ++p;
            continue;
        }
        if (!ParseScanSpec(p, s)) {
            return false;
        }
    }
    return true;
}

// Outcome of one conversion.
enum class Step { Done, InputFailure, MatchFailure };

// Reads an integer of the given base (0: by prefix) into value; used counts the units taken.
bool ScanInteger(const char16_t* p, size_t width, int base, unsigned long long& value, size_t& used) {
    size_t i = 0;
    bool negative = false;
    if (i < width && (p[i] == u'+' || p[i] == u'-')) {
        negative = p[i++] == u'-';
    }
    bool digits = false;
    if ((base == 0 || base == 16) && i < width && p[i] == u'0') {
        ++i;
        digits = true;
        if (i < width && (p[i] == u'x' || p[i] == u'X')) {
            ++i;
            base = 16;
        } else if (base == 0) {
            base = 8;
        }
    } else if (base == 0) {
        base = 10;
    }
    value = 0;
    for (int d; i < width && (d = DigitValue(p[i])) < base; ++i) {
        value = value * static_cast<unsigned>(base) + static_cast<unsigned>(d);
        digits = true;
    }
    if (negative) {
        value = 0ull - value;
    }
    used = i;
    return digits;
}

Step ScanOne(const char16_t*& in, const ScanSpec& s, ScanArgs& a) {
    switch (s.conv) {
    case u'c':
    case u'C': {
        size_t width = s.width == SIZE_MAX ? 1 : s.width;
        size_t n = 0;
        while (n < width && in[n]) {
            ++n;
        }
        if (n < width) {
            return Step::InputFailure;
        }
        if (!s.suppress) {
            StoreText(a, s, in, n, false);
        }
        in += n;
        return Step::Done;
    }
    case u's':
    case u'S':
    case u'[': {
        size_t n = 0;
        while (n < s.width && in[n] && (s.conv == u'[' ? InSet(s, in[n]) : !iswspace(in[n]))) {
            ++n;
        }
        if (n == 0) {
            return Step::MatchFailure;
        }
        if (!s.suppress) {
            StoreText(a, s, in, n, true);
        }
        in += n;
        return Step::Done;
    }
    case u'e':
    case u'E':
    case u'f':
    case u'F':
    case u'g':
    case u'G':
    case u'a':
    case u'A': {
        std::string ascii;
        size_t used = ScanFloat(in, s.width, ascii, u"eE\0\0");
        if (used == 0) {
            return Step::MatchFailure;
        }
        in += used;
        if (!s.suppress) {
            double v = AsciiToDouble(ascii);
            if (s.length == ScanLength::None) {
                *va_arg(a.ap, float*) = static_cast<float>(v);
            } else {
                *va_arg(a.ap, double*) = v;
            }
        }
        return Step::Done;
    }
    default: {
        int base = s.conv == u'd' || s.conv == u'u' ? 10 : s.conv == u'o' ? 8 : s.conv == u'i' ? 0 : 16;
        unsigned long long v = 0;
        size_t used = 0;
        if (!ScanInteger(in, s.width, base, v, used)) {
            return Step::MatchFailure;
        }
        in += used;
        if (!s.suppress) {
            if (s.conv == u'p') {
                *va_arg(a.ap, void**) = reinterpret_cast<void*>(static_cast<std::uintptr_t>(v));
            } else {
                StoreInteger(a, s.length, v);
            }
        }
        return Step::Done;
    }
    }
}

int Scan(const char16_t* input, const char16_t* format, ScanArgs& a) {
    const char16_t* in = input;
    const char16_t* f = format;
    int assigned = 0;
    // Input that ends before the first assigned conversion answers EOF, also after suppressed ones.
    auto inputFailure = [&] { return assigned > 0 ? assigned : EOF; };
    while (*f) {
        if (iswspace(*f)) {
            while (iswspace(*f)) {
                ++f;
            }
            while (iswspace(*in)) {
                ++in;
            }
            continue;
        }
        if (*f != u'%' || f[1] == u'%') {
            // A literal unit; "%%" matches one '%'.
            f += *f == u'%' ? 2 : 1;
            char16_t want = f[-1];
            if (!*in) {
                return inputFailure();
            }
            if (*in != want) {
                return assigned;
            }
            ++in;
            continue;
        }
        ++f;
        ScanSpec s;
        ParseScanSpec(f, s);
        if (s.conv == u'n') {
            if (!s.suppress) {
                StoreInteger(a, s.length, static_cast<unsigned long long>(in - input));
            }
            continue;
        }
        if (s.conv != u'c' && s.conv != u'C' && s.conv != u'[') {
            while (iswspace(*in)) {
                ++in;
            }
        }
        if (!*in) {
            return inputFailure();
        }
        Step step = ScanOne(in, s, a);
        if (step == Step::InputFailure) {
            return inputFailure();
        }
        if (step == Step::MatchFailure) {
            return assigned;
        }
        if (!s.suppress) {
            ++assigned;
        }
    }
    return assigned;
}

} // namespace

// ---- Formatting -------------------------------------------------------------------------------------------

int vswprintf(char16_t* buffer, const char16_t* format, va_list args) {
    std::u16string text;
    if (!buffer || !FormatTo(text, buffer, 1, format, args)) {
        return -1;
    }
    std::memcpy(buffer, text.c_str(), (text.size() + 1) * sizeof(char16_t));
    return static_cast<int>(text.size());
}

int swprintf(char16_t* buffer, const char16_t* format, ...) {
    va_list args;
    va_start(args, format);
    int n = vswprintf(buffer, format, args);
    va_end(args);
    return n;
}

int vswprintf(char16_t* buffer, size_t count, const char16_t* format, va_list args) {
    std::u16string text;
    if (!buffer || count == 0 || !FormatTo(text, buffer, count, format, args)) {
        return -1;
    }
    if (text.size() >= count) {
        std::memcpy(buffer, text.data(), (count - 1) * sizeof(char16_t));
        buffer[count - 1] = 0;
        return -1;
    }
    std::memcpy(buffer, text.c_str(), (text.size() + 1) * sizeof(char16_t));
    return static_cast<int>(text.size());
}

int swprintf(char16_t* buffer, size_t count, const char16_t* format, ...) {
    va_list args;
    va_start(args, format);
    int n = vswprintf(buffer, count, format, args);
    va_end(args);
    return n;
}

int _vsnwprintf(char16_t* buffer, size_t count, const char16_t* format, va_list args) {
    std::u16string text;
    if ((!buffer && count > 0) || !FormatTo(text, buffer, count, format, args)) {
        return -1;
    }
    if (count == 0) {
        // No buffer at all asks for the length.
        return buffer || text.empty() ? (text.empty() ? 0 : -1) : static_cast<int>(text.size());
    }
    if (text.size() > count) {
        std::memcpy(buffer, text.data(), count * sizeof(char16_t));
        return -1;
    }
    std::memcpy(buffer, text.data(), text.size() * sizeof(char16_t));
    if (text.size() < count) {
        buffer[text.size()] = 0;
    }
    return static_cast<int>(text.size());
}

int _snwprintf(char16_t* buffer, size_t count, const char16_t* format, ...) {
    va_list args;
    va_start(args, format);
    int n = _vsnwprintf(buffer, count, format, args);
    va_end(args);
    return n;
}

int _vscwprintf(const char16_t* format, va_list args) {
    std::u16string text;
    return AppendFormatV(text, format, args) ? static_cast<int>(text.size()) : -1;
}

int _scwprintf(const char16_t* format, ...) {
    va_list args;
    va_start(args, format);
    int n = _vscwprintf(format, args);
    va_end(args);
    return n;
}

// ---- Scanning ---------------------------------------------------------------------------------------------

int vswscanf(const char16_t* input, const char16_t* format, va_list args) {
    if (!input || !format || !ValidateScanFormat(format)) {
        errno = EINVAL;
        return EOF;
    }
    ScanArgs a;
    va_copy(a.ap, args);
    int n = Scan(input, format, a);
    va_end(a.ap);
    return n;
}

int swscanf(const char16_t* input, const char16_t* format, ...) {
    va_list args;
    va_start(args, format);
    int n = vswscanf(input, format, args);
    va_end(args);
    return n;
}

// ---- Numbers ----------------------------------------------------------------------------------------------

double wcstod(const char16_t* text, char16_t** end) {
    const char16_t* p = text;
    while (iswspace(*p)) {
        ++p;
    }
    std::string ascii;
    size_t used = ScanFloat(p, SIZE_MAX, ascii, u"eEdD");
    if (used == 0) {
        SetEnd(end, text);
        return 0;
    }
    SetEnd(end, p + used);
    int saved = errno;
    errno = 0;
    double v = AsciiToDouble(ascii);
    if (errno == 0) {
        errno = saved;
    }
    return v;
}

long wcstol(const char16_t* text, char16_t** end, int base) {
    ParsedInteger r = ParseInteger(text, base, 0x7FFFFFFFull, 0x80000000ull);
    SetEnd(end, r.end);
    return SignedResult<long>(r, -0x7FFFFFFFL - 1, 0x7FFFFFFFL);
}

unsigned long wcstoul(const char16_t* text, char16_t** end, int base) {
    ParsedInteger r = ParseInteger(text, base, 0xFFFFFFFFull, 0xFFFFFFFFull);
    SetEnd(end, r.end);
    if (r.overflow) {
        return 0xFFFFFFFFul;
    }
    return static_cast<std::uint32_t>(r.negative ? 0ull - r.magnitude : r.magnitude);
}

long long wcstoll(const char16_t* text, char16_t** end, int base) {
    ParsedInteger r = ParseInteger(text, base, static_cast<unsigned long long>(LLONG_MAX),
                                   static_cast<unsigned long long>(LLONG_MAX) + 1);
    SetEnd(end, r.end);
    return SignedResult<long long>(r, LLONG_MIN, LLONG_MAX);
}

unsigned long long wcstoull(const char16_t* text, char16_t** end, int base) {
    ParsedInteger r = ParseInteger(text, base, ULLONG_MAX, ULLONG_MAX);
    SetEnd(end, r.end);
    if (r.overflow) {
        return ULLONG_MAX;
    }
    return r.negative ? 0ull - r.magnitude : r.magnitude;
}

long long _wcstoi64(const char16_t* text, char16_t** end, int base) {
    return wcstoll(text, end, base);
}

unsigned long long _wcstoui64(const char16_t* text, char16_t** end, int base) {
    return wcstoull(text, end, base);
}

int _wtoi(const char16_t* text) {
    return static_cast<int>(wcstol(text, nullptr, 10));
}
long _wtol(const char16_t* text) {
    return wcstol(text, nullptr, 10);
}
long long _wtoi64(const char16_t* text) {
    return wcstoll(text, nullptr, 10);
}
double _wtof(const char16_t* text) {
    return wcstod(text, nullptr);
}

char16_t* _itow(int value, char16_t* buffer, int radix) {
    return SignedToText(value, buffer, radix);
}
char16_t* _ltow(LONG value, char16_t* buffer, int radix) {
    return SignedToText(value, buffer, radix);
}
char16_t* _ultow(ULONG value, char16_t* buffer, int radix) {
    return UnsignedToText(value, false, buffer, radix);
}
char16_t* _i64tow(long long value, char16_t* buffer, int radix) {
    return SignedToText(value, buffer, radix);
}
char16_t* _ui64tow(unsigned long long value, char16_t* buffer, int radix) {
    return UnsignedToText(value, false, buffer, radix);
}

// ---- Strings ----------------------------------------------------------------------------------------------

size_t wcslen(const char16_t* text) {
    return std::char_traits<char16_t>::length(text);
}

size_t wcsnlen(const char16_t* text, size_t max) {
    size_t n = 0;
    while (n < max && text[n]) {
        ++n;
    }
    return n;
}

char16_t* wcscpy(char16_t* dest, const char16_t* source) {
    std::memmove(dest, source, (wcslen(source) + 1) * sizeof(char16_t));
    return dest;
}

char16_t* wcsncpy(char16_t* dest, const char16_t* source, size_t count) {
    size_t n = wcsnlen(source, count);
    std::memmove(dest, source, n * sizeof(char16_t));
    for (size_t i = n; i < count; ++i) {
        dest[i] = 0;
    }
    return dest;
}

char16_t* wcscat(char16_t* dest, const char16_t* source) {
    wcscpy(dest + wcslen(dest), source);
    return dest;
}

char16_t* wcsncat(char16_t* dest, const char16_t* source, size_t count) {
    char16_t* end = dest + wcslen(dest);
    size_t n = wcsnlen(source, count);
    std::memmove(end, source, n * sizeof(char16_t));
    end[n] = 0;
    return dest;
}

int wcsncmp(const char16_t* a, const char16_t* b, size_t count) {
    for (size_t i = 0; i < count; ++i) {
        if (a[i] != b[i]) {
            return a[i] < b[i] ? -1 : 1;
        }
        if (!a[i]) {
            break;
        }
    }
    return 0;
}

int wcscmp(const char16_t* a, const char16_t* b) {
    return wcsncmp(a, b, SIZE_MAX);
}

int _wcsnicmp(const char16_t* a, const char16_t* b, size_t count) {
    for (size_t i = 0; i < count; ++i) {
        char16_t x = towlower(a[i]);
        char16_t y = towlower(b[i]);
        if (x != y) {
            return x < y ? -1 : 1;
        }
        if (!x) {
            break;
        }
    }
    return 0;
}

int _wcsicmp(const char16_t* a, const char16_t* b) {
    return _wcsnicmp(a, b, SIZE_MAX);
}
int wcscoll(const char16_t* a, const char16_t* b) {
    return wcscmp(a, b);
}
int _wcsicoll(const char16_t* a, const char16_t* b) {
    return _wcsicmp(a, b);
}

const char16_t* wcschr(const char16_t* text, char16_t c) {
    for (;; ++text) {
        if (*text == c) {
            return text;
        }
        if (!*text) {
            return nullptr;
        }
    }
}

char16_t* wcschr(char16_t* text, char16_t c) {
    return const_cast<char16_t*>(wcschr(static_cast<const char16_t*>(text), c));
}

const char16_t* wcsrchr(const char16_t* text, char16_t c) {
    const char16_t* found = nullptr;
    for (;; ++text) {
        if (*text == c) {
            found = text;
        }
        if (!*text) {
            return found;
        }
    }
}

char16_t* wcsrchr(char16_t* text, char16_t c) {
    return const_cast<char16_t*>(wcsrchr(static_cast<const char16_t*>(text), c));
}

const char16_t* wcsstr(const char16_t* text, const char16_t* find) {
    size_t n = wcslen(find);
    for (; *text; ++text) {
        if (wcsncmp(text, find, n) == 0) {
            return text;
        }
    }
    return n == 0 ? text : nullptr;
}

char16_t* wcsstr(char16_t* text, const char16_t* find) {
    return const_cast<char16_t*>(wcsstr(static_cast<const char16_t*>(text), find));
}

size_t wcsspn(const char16_t* text, const char16_t* set) {
    size_t n = 0;
    while (text[n] && wcschr(set, text[n])) {
        ++n;
    }
    return n;
}

size_t wcscspn(const char16_t* text, const char16_t* set) {
    size_t n = 0;
    while (text[n] && !wcschr(set, text[n])) {
        ++n;
    }
    return n;
}

const char16_t* wcspbrk(const char16_t* text, const char16_t* set) {
    text += wcscspn(text, set);
    return *text ? text : nullptr;
}

char16_t* wcspbrk(char16_t* text, const char16_t* set) {
    return const_cast<char16_t*>(wcspbrk(static_cast<const char16_t*>(text), set));
}

char16_t* wcstok(char16_t* text, const char16_t* delimiters, char16_t** context) {
    char16_t* p = text ? text : *context;
    if (!p) {
        return nullptr;
    }
    p += wcsspn(p, delimiters);
    if (!*p) {
        *context = p;
        return nullptr;
    }
    char16_t* token = p;
    p += wcscspn(p, delimiters);
    if (*p) {
        *p++ = 0;
    }
    *context = p;
    return token;
}

char16_t* _wcsdup(const char16_t* text) {
    if (!text) {
        return nullptr;
    }
    size_t bytes = (wcslen(text) + 1) * sizeof(char16_t);
    auto* copy = static_cast<char16_t*>(std::malloc(bytes));
    if (copy) {
        std::memcpy(copy, text, bytes);
    }
    return copy;
}

char16_t* _wcsupr(char16_t* text) {
    for (char16_t* p = text; *p; ++p) {
        *p = towupper(*p);
    }
    return text;
}

char16_t* _wcslwr(char16_t* text) {
    for (char16_t* p = text; *p; ++p) {
        *p = towlower(*p);
    }
    return text;
}

char16_t* _wcsrev(char16_t* text) {
    size_t n = wcslen(text);
    for (size_t i = 0; i < n / 2; ++i) {
        std::swap(text[i], text[n - 1 - i]);
    }
    return text;
}

char16_t* _wcsset(char16_t* text, char16_t c) {
    for (char16_t* p = text; *p; ++p) {
        *p = c;
    }
    return text;
}

// ---- Character classes ------------------------------------------------------------------------------------

int iswprint(char16_t c) {
    return Classify(c, kPrint, iswprint_l);
}
int iswgraph(char16_t c) {
    return Classify(c, kGraph, iswgraph_l);
}
int iswalnum(char16_t c) {
    return Classify(c, kAlpha | kDigit, iswalnum_l);
}
int iswalpha(char16_t c) {
    return Classify(c, kAlpha, iswalpha_l);
}
int iswdigit(char16_t c) {
    return Classify(c, kDigit, iswdigit_l);
}
int iswxdigit(char16_t c) {
    return Classify(c, kXdigit, iswxdigit_l);
}
int iswspace(char16_t c) {
    return Classify(c, kSpace, iswspace_l);
}
int iswupper(char16_t c) {
    return Classify(c, kUpper, iswupper_l);
}
int iswlower(char16_t c) {
    return Classify(c, kLower, iswlower_l);
}
int iswpunct(char16_t c) {
    return Classify(c, kPunct, iswpunct_l);
}
int iswcntrl(char16_t c) {
    return Classify(c, kCntrl, iswcntrl_l);
}
char16_t towupper(char16_t c) {
    return MapCase(c, true);
}
char16_t towlower(char16_t c) {
    return MapCase(c, false);
}
