// Types shared by the receiver simulator's engines, transports and loop: bytes, line settings, timed output,
// UTC calendar conversion and the three protocols' checksums.
#pragma once

#include <chrono>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace receiversim {

using Bytes = std::vector<std::uint8_t>;
using ByteSpan = std::span<const std::uint8_t>;
using UtcInstant = std::chrono::sys_time<std::chrono::nanoseconds>;

enum class Parity : char { None = 'N', Odd = 'O', Even = 'E', Mark = 'M', Space = 'S' };

struct LineSettings {
    std::uint32_t baud = 9600;
    std::uint8_t dataBits = 8;
    Parity parity = Parity::None;
    std::uint8_t stopBits = 1;

    // Two ends understand each other when rate, character size and parity agree; a receiver does not care
    // about the number of stop bits it is sent.
    bool Matches(const LineSettings& other) const {
        return baud == other.baud && dataBits == other.dataBits && parity == other.parity;
    }
    bool operator==(const LineSettings&) const = default;
    // "9600 8N1"
    std::string ToString() const;
    // Characters per second on the wire: start bit, data bits, parity bit and stop bits per character.
    double CharactersPerSecond() const;
};

// Bytes a receiver sends, and when: relative to the 1PPS edge for the output of a second, relative to the
// arrival of the command for an answer. The bytes leave at the receiver's line settings of that moment; a
// program listening at other settings never sees them.
struct Emission {
    std::chrono::microseconds delay{0};
    Bytes bytes;
    LineSettings line;
    std::string label; // one line for the log
};

struct CalendarTime {
    int year = 1970;
    int month = 1; // 1-12
    int day = 1;   // 1-31
    int hour = 0;
    int minute = 0;
    int second = 0;
    std::int32_t nanos = 0;
    int weekday = 4; // 0 Sunday
};

CalendarTime ToCalendar(UtcInstant instant);
UtcInstant FromCalendar(int year, int month, int day, int hour = 0, int minute = 0, int second = 0);
// The whole second at or before the instant.
UtcInstant FloorSecond(UtcInstant instant);

// GPS time of an UTC instant: whole weeks since 1980-01-06 and the time of week, given GPS-UTC in seconds.
struct GpsTime {
    std::int64_t week = 0;
    std::int64_t towNanos = 0;
};
GpsTime ToGpsTime(UtcInstant instant, int leapSeconds);

// Checksums as the three protocols define them.
std::uint8_t XorOf(ByteSpan bytes);
// Two hex digits, upper case, of the XOR of the characters between "$" and "*".
std::string NmeaChecksum(std::string_view body);
struct Fletcher {
    std::uint8_t a = 0;
    std::uint8_t b = 0;
};
Fletcher FletcherOf(ByteSpan bytes);

// Frames: "@@" + id + payload + XOR + CR LF; "$" + body + "*hh" + CR LF; B5 62 class id length payload A B.
Bytes OncoreFrame(std::string_view id, ByteSpan payload);
std::string NmeaSentence(std::string_view body);
Bytes UbxFrame(std::uint8_t cls, std::uint8_t id, ByteSpan payload);

// Big-endian appenders (Oncore) and little-endian appenders (UBX).
void PutBe(Bytes& out, std::uint64_t value, int width);
void PutLe(Bytes& out, std::uint64_t value, int width);
std::uint64_t GetBe(ByteSpan bytes, std::size_t offset, int width);
std::uint64_t GetLe(ByteSpan bytes, std::size_t offset, int width);

// "<B5><62>..." for bytes that are not printable, for the log.
std::string Printable(ByteSpan bytes, std::size_t maxChars = 80);

} // namespace receiversim
