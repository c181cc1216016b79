#include "tools/simulator/SimTypes.h"

#include <cstdio>

namespace receiversim {

namespace {

// Days since 1970-01-01 of a proleptic Gregorian date, and back.
std::int64_t DaysFromCivil(std::int64_t y, unsigned m, unsigned d) {
    y -= m <= 2 ? 1 : 0;
    const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
    const unsigned yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m > 2 ? m - 3 : m + 9) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<std::int64_t>(doe) - 719468;
}

void CivilFromDays(std::int64_t z, int& year, int& month, int& day) {
    z += 719468;
    const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const unsigned doe = static_cast<unsigned>(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    year = static_cast<int>(static_cast<std::int64_t>(yoe) + era * 400 + (month <= 2 ? 1 : 0));
}

constexpr std::int64_t kNanosPerSecond = 1'000'000'000;
constexpr std::int64_t kGpsEpochUnix = 315'964'800; // 1980-01-06 00:00:00 UTC

std::int64_t FloorDiv(std::int64_t a, std::int64_t b) {
    std::int64_t q = a / b;
    if ((a % b != 0) && ((a < 0) != (b < 0))) {
        --q;
    }
    return q;
}

} // namespace

std::string LineSettings::ToString() const {
    char text[40];
    std::snprintf(text, sizeof text, "%u %u%c%u", static_cast<unsigned>(baud),
                  static_cast<unsigned>(dataBits), static_cast<char>(parity),
                  static_cast<unsigned>(stopBits));
    return text;
}

double LineSettings::CharactersPerSecond() const {
    const int bits = 1 + dataBits + (parity == Parity::None ? 0 : 1) + stopBits;
    return static_cast<double>(baud) / bits;
}

CalendarTime ToCalendar(UtcInstant instant) {
    const std::int64_t ns = instant.time_since_epoch().count();
    const std::int64_t seconds = FloorDiv(ns, kNanosPerSecond);
    const std::int64_t days = FloorDiv(seconds, 86400);
    const std::int64_t secondOfDay = seconds - days * 86400;
    CalendarTime t;
    CivilFromDays(days, t.year, t.month, t.day);
    t.hour = static_cast<int>(secondOfDay / 3600);
    t.minute = static_cast<int>(secondOfDay / 60 % 60);
    t.second = static_cast<int>(secondOfDay % 60);
    t.nanos = static_cast<std::int32_t>(ns - seconds * kNanosPerSecond);
    t.weekday = static_cast<int>(((days % 7) + 11) % 7); // 1970-01-01 was a Thursday
    return t;
}

UtcInstant FromCalendar(int year, int month, int day, int hour, int minute, int second) {
    const std::int64_t days = DaysFromCivil(year, static_cast<unsigned>(month), static_cast<unsigned>(day));
    const std::int64_t seconds = days * 86400 + hour * 3600 + minute * 60 + second;
    return UtcInstant(std::chrono::nanoseconds(seconds * kNanosPerSecond));
}

UtcInstant FloorSecond(UtcInstant instant) {
    const std::int64_t ns = instant.time_since_epoch().count();
    return UtcInstant(std::chrono::nanoseconds(FloorDiv(ns, kNanosPerSecond) * kNanosPerSecond));
}

GpsTime ToGpsTime(UtcInstant instant, int leapSeconds) {
    const std::int64_t ns =
        instant.time_since_epoch().count() + (leapSeconds - kGpsEpochUnix) * kNanosPerSecond;
    constexpr std::int64_t week = 604800 * kNanosPerSecond;
    GpsTime g;
    g.week = FloorDiv(ns, week);
    g.towNanos = ns - g.week * week;
    return g;
}

std::uint8_t XorOf(ByteSpan bytes) {
    std::uint8_t x = 0;
    for (std::uint8_t b : bytes) {
        x ^= b;
    }
    return x;
}

std::string NmeaChecksum(std::string_view body) {
    std::uint8_t x = 0;
    for (char c : body) {
        x ^= static_cast<std::uint8_t>(c);
    }
    char text[3];
    std::snprintf(text, sizeof text, "%02X", static_cast<unsigned>(x));
    return text;
}

Fletcher FletcherOf(ByteSpan bytes) {
    Fletcher f;
    for (std::uint8_t b : bytes) {
        f.a = static_cast<std::uint8_t>(f.a + b);
        f.b = static_cast<std::uint8_t>(f.b + f.a);
    }
    return f;
}

Bytes OncoreFrame(std::string_view id, ByteSpan payload) {
    Bytes out;
    out.reserve(2 + id.size() + payload.size() + 3);
    out.push_back('@');
    out.push_back('@');
    out.insert(out.end(), id.begin(), id.end());
    out.insert(out.end(), payload.begin(), payload.end());
    out.push_back(XorOf(ByteSpan(out).subspan(2)));
    out.push_back('\r');
    out.push_back('\n');
    return out;
}

std::string NmeaSentence(std::string_view body) {
    std::string s = "$";
    s += body;
    s += '*';
    s += NmeaChecksum(body);
    s += "\r\n";
    return s;
}

Bytes UbxFrame(std::uint8_t cls, std::uint8_t id, ByteSpan payload) {
    Bytes out{0xB5, 0x62, cls, id};
    PutLe(out, payload.size(), 2);
    out.insert(out.end(), payload.begin(), payload.end());
    const Fletcher f = FletcherOf(ByteSpan(out).subspan(2));
    out.push_back(f.a);
    out.push_back(f.b);
    return out;
}

void PutBe(Bytes& out, std::uint64_t value, int width) {
    for (int i = width - 1; i >= 0; --i) {
        out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
    }
}

void PutLe(Bytes& out, std::uint64_t value, int width) {
    for (int i = 0; i < width; ++i) {
        out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
    }
}

std::uint64_t GetBe(ByteSpan bytes, std::size_t offset, int width) {
    std::uint64_t v = 0;
    for (int i = 0; i < width; ++i) {
        v = (v << 8) | bytes[offset + static_cast<std::size_t>(i)];
    }
    return v;
}

std::uint64_t GetLe(ByteSpan bytes, std::size_t offset, int width) {
    std::uint64_t v = 0;
    for (int i = width - 1; i >= 0; --i) {
        v = (v << 8) | bytes[offset + static_cast<std::size_t>(i)];
    }
    return v;
}

std::string Printable(ByteSpan bytes, std::size_t maxChars) {
    std::string out;
    for (std::uint8_t b : bytes) {
        if (out.size() >= maxChars) {
            out += "...";
            break;
        }
        if (b >= 0x20 && b < 0x7F && b != '<') {
            out += static_cast<char>(b);
        } else {
            char hex[5];
            std::snprintf(hex, sizeof hex, "<%02X>", static_cast<unsigned>(b));
            out += hex;
        }
    }
    return out;
}

} // namespace receiversim
