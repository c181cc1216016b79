// Formats random format strings against arguments of the types the format asks for, and scans the same text
// with fixed formats and the number readers.
//
// Input: two value-selection bytes, then the format, one byte per unit (up to the first zero byte).
// A scanner of its own, written from the format rules rather than from the engine, decides what each
// conversion consumes. Formats it finds valid are formatted with matching arguments (up to kMaxSlots of
// them); formats it finds invalid are formatted with no arguments at all, which is safe only because the
// engine checks the whole format before it consumes anything. Any disagreement between the two traps.
#include "platform/base/WideFormat.h"
#include "platform/base/WideRuntime.h"

#include <algorithm>
#include <cmath>
#include <cstdarg>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <initializer_list>
#include <iterator>
#include <limits>
#include <string>
#include <type_traits>
#include <vector>

namespace {

constexpr size_t kMaxSlots = 4;

// What one argument slot must hold. Long stands for size_t, ptrdiff_t and intmax_t, which are all long (or
// its unsigned twin) here; Narrow also serves "%p", as a void* and a char* may stand for each other.
enum class Kind { Int, Width, Precision, LongLong, Long, Double, Wide, Narrow };
static_assert(std::is_same_v<std::ptrdiff_t, long> && std::is_same_v<std::intmax_t, long>);
static_assert(sizeof(std::size_t) == sizeof(long));

struct Plan {
    std::vector<Kind> slots;
    bool valid = true;
};

bool StartsWith(const char16_t* p, const char* text) {
    for (; *text; ++p, ++text) {
        if (*p != static_cast<unsigned char>(*text)) {
            return false;
        }
    }
    return true;
}

// Reads a decimal field; false above the engine's documented limit.
bool Field(const char16_t*& p) {
    long value = 0;
    while (*p >= u'0' && *p <= u'9') {
        value = value * 10 + (*p++ - u'0');
        if (value > kMaxFormatField) {
            return false;
        }
    }
    return true;
}

Plan Scan(const char16_t* f) {
    Plan plan;
    static const char* const kLengths[] = {"hh", "h", "ll", "l", "L", "I64", "I32", "I", "w", "z", "j", "t"};
    while (*f) {
        if (*f++ != u'%') {
            continue;
        }
        if (*f == u'%') {
            ++f;
            continue;
        }
        while (*f && *f < 0x80 && std::strchr("-+ #0", static_cast<int>(*f))) {
            ++f;
        }
        if (*f == u'*') {
            plan.slots.push_back(Kind::Width);
            ++f;
        } else if (!Field(f)) {
            plan.valid = false;
            return plan;
        }
        if (*f == u'.') {
            ++f;
            if (*f == u'*') {
                plan.slots.push_back(Kind::Precision);
                ++f;
            } else if (!Field(f)) {
                plan.valid = false;
                return plan;
            }
        }
        std::string length;
        for (const char* l : kLengths) {
            if (StartsWith(f, l)) {
                length = l;
                f += std::strlen(l);
                break;
            }
        }
        char16_t conv = *f;
        if (conv) {
            ++f;
        }
        auto lengthIn = [&length](std::initializer_list<const char*> set) {
            for (const char* l : set) {
                if (length == l) {
                    return true;
                }
            }
            return false;
        };
        Kind kind = Kind::Int;
        bool ok = true;
        switch (conv) {
        case u'd':
        case u'i':
        case u'u':
        case u'o':
        case u'x':
        case u'X':
            ok = !lengthIn({"L", "w"});
            kind = lengthIn({"ll", "I64"})          ? Kind::LongLong
                   : lengthIn({"I", "z", "j", "t"}) ? Kind::Long
                                                    : Kind::Int;
            break;
        case u'c':
        case u'C':
            ok = lengthIn({"", "h", "l", "w"});
            break;
        case u's':
        case u'S':
            ok = lengthIn({"", "h", "l", "w"});
            kind = length == "h" || (conv == u'S' && length.empty()) ? Kind::Narrow : Kind::Wide;
            break;
        case u'e':
        case u'E':
        case u'f':
        case u'F':
        case u'g':
        case u'G':
        case u'a':
        case u'A':
            ok = lengthIn({"", "l", "L"});
            kind = Kind::Double;
            break;
        case u'p':
            ok = length.empty();
            kind = Kind::Narrow;
            break;
        default:
            ok = false;
            break;
        }
        if (!ok) {
            plan.valid = false;
            return plan;
        }
        plan.slots.push_back(kind);
    }
    return plan;
}

struct Values {
    std::uint8_t a = 0;
    std::uint8_t b = 0;

    size_t Pick(size_t slot, size_t count) const { return (a + slot * (b | 1)) % count; }
};

constexpr int kInts[] = {0,
                         1,
                         -1,
                         7,
                         42,
                         255,
                         65535,
                         INT32_MAX,
                         INT32_MIN,
                         kMaxFormatField,
                         kMaxFormatField + 1,
                         -kMaxFormatField,
                         -kMaxFormatField - 1,
                         0xB0,
                         0x263A};
constexpr long long kLongLongs[] = {0, -1, 123456789012LL, std::numeric_limits<long long>::min(),
                                    std::numeric_limits<long long>::max()};
constexpr long kLongs[] = {0, 1, -3, 1L << 40, std::numeric_limits<long>::min()};
const char16_t* const kWides[] = {u"wide\u00B0\U0001F600", nullptr, u"", u"%s%n"};
const char* const kNarrows[] = {"narrow\x80\xFF", nullptr, "", "%S"};

double Double(size_t index) {
    auto bits = [](std::uint64_t b) {
        double d;
        std::memcpy(&d, &b, sizeof d);
        return d;
    };
    const double values[] = {0.0,
                             -0.0,
                             1.5,
                             -123.456,
                             0.155,
                             1e300,
                             -1e-300,
                             5e-324,
                             std::numeric_limits<double>::max(),
                             std::numeric_limits<double>::infinity(),
                             -std::numeric_limits<double>::infinity(),
                             std::numeric_limits<double>::quiet_NaN(),
                             bits(0xFFF8000000000000ull),
                             bits(0x7FF0000000000001ull),
                             9.9999999999999995,
                             0.5};
    return values[index % std::size(values)];
}

[[noreturn]] void Fail() {
    __builtin_trap();
}

// Formats through every entry point from one argument list.
void Run(const char16_t* format, int expectOk, ...) {
    va_list args;
    va_start(args, expectOk);
    va_list copy;
    va_copy(copy, args);
    std::u16string out = u"pre";
    bool ok = AppendFormatV(out, format, copy);
    va_end(copy);
    if (ok != (expectOk != 0) || (!ok && out != u"pre")) {
        Fail();
    }
    if (ok) {
        std::u16string text = out.substr(3);
        // The runtime's counted forms must agree with the engine on the text and on truncation.
        char16_t small[9];
        for (size_t count : {size_t{0}, size_t{1}, size_t{8}}) {
            std::memset(small, 0xAA, sizeof small);
            va_copy(copy, args);
            int n = _vsnwprintf(count ? small : nullptr, count, format, copy);
            va_end(copy);
            size_t shown = std::min(count, text.size());
            if (count == 0 ? n != static_cast<int>(text.size())
                           : (text.size() > count ? n != -1 : n != static_cast<int>(text.size()))) {
                Fail();
            }
            if (count && std::memcmp(small, text.data(), shown * sizeof(char16_t)) != 0) {
                Fail();
            }
        }
        va_copy(copy, args);
        if (_vscwprintf(format, copy) != static_cast<int>(text.size())) {
            Fail();
        }
        va_end(copy);
    }
    va_end(args);
}

template <typename... A>
void Call(const std::u16string& format, const Plan& plan, const Values& v, bool expectOk, A... args) {
    constexpr size_t i = sizeof...(A);
    if (i == plan.slots.size()) {
        Run(format.c_str(), expectOk ? 1 : 0, args...);
        return;
    }
    if constexpr (i < kMaxSlots) {
        switch (plan.slots[i]) {
        case Kind::Int:
        case Kind::Width:
        case Kind::Precision: {
            int value = kInts[v.Pick(i, std::size(kInts))];
            bool tooBig = plan.slots[i] == Kind::Width
                              ? value > kMaxFormatField || value < -kMaxFormatField
                              : plan.slots[i] == Kind::Precision && value > kMaxFormatField;
            Call(format, plan, v, expectOk && !tooBig, args..., value);
            break;
        }
        case Kind::LongLong:
            Call(format, plan, v, expectOk, args..., kLongLongs[v.Pick(i, std::size(kLongLongs))]);
            break;
        case Kind::Long:
            Call(format, plan, v, expectOk, args..., kLongs[v.Pick(i, std::size(kLongs))]);
            break;
        case Kind::Double:
            Call(format, plan, v, expectOk, args..., Double(v.Pick(i, 16)));
            break;
        case Kind::Wide:
            Call(format, plan, v, expectOk, args..., kWides[v.Pick(i, std::size(kWides))]);
            break;
        case Kind::Narrow:
            Call(format, plan, v, expectOk, args..., kNarrows[v.Pick(i, std::size(kNarrows))]);
            break;
        }
    }
}

// Scans the text with fixed formats whose destinations are large enough for any field of it.
void ScanText(const std::u16string& text, const Values& v) {
    std::vector<char16_t> w1(text.size() + 4), w2(text.size() + 4);
    std::vector<char> n1(text.size() + 4);
    int i[4] = {};
    unsigned u[2] = {};
    LONG l = 0;
    long long ll = 0;
    double d = 0;
    float f = 0;
    void* p = nullptr;
    short h = 0;
    signed char hh = 0;
    std::size_t z = 0;
    const char16_t* t = text.c_str();
    switch (v.a % 8) {
    case 0:
        swscanf(t, u"%d%n %u", &i[0], &i[1], &u[0]);
        break;
    case 1:
        swscanf(t, u"%2u%2u%f %*1u%3c", &u[0], &u[1], &f, w1.data());
        break;
    case 2:
        swscanf(t, u"%lf,%ld,%lld", &d, &l, &ll);
        break;
    case 3:
        swscanf(t, u"%[0-9a-zA-Z-_. ]%s", w1.data(), w2.data());
        break;
    case 4:
        swscanf(t, u"%[^,],%hs %C", w1.data(), n1.data(), &n1[0]);
        break;
    case 5:
        swscanf(t, u"$GPGGA,%d,%lf,%lc", &i[0], &d, w1.data());
        break;
    case 6:
        swscanf(t, u"%i %o %X %p", &i[0], &i[1], &i[2], &p);
        break;
    default:
        swscanf(t, u"%hhd %hd %zu %I64d %2S", &hh, &h, &z, &ll, n1.data());
        break;
    }
    char16_t* end = nullptr;
    wcstod(t, &end);
    if (end < t || end > t + text.size()) {
        Fail();
    }
    wcstoll(t, &end, v.b % 37);
    if (end < t || end > t + text.size()) {
        Fail();
    }
    wcstoul(t, &end, 0);
    if (end < t || end > t + text.size()) {
        Fail();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
    if (size < 2) {
        return 0;
    }
    Values v{data[0], data[1]};
    std::u16string format;
    for (size_t k = 2; k < size && data[k] != 0; ++k) {
        format.push_back(data[k]);
    }
    ScanText(format, v);
    Plan plan = Scan(format.c_str());
    if (!plan.valid) {
        std::u16string out = u"pre";
        if (AppendFormat(out, format.c_str()) || out != u"pre") {
            Fail();
        }
        return 0;
    }
    if (plan.slots.size() > kMaxSlots) {
        return 0;
    }
    Call(format, plan, v, true);
    return 0;
}
