// Reads NMEA fields the way the runtime's swscanf reads them with the decoder's formats ("%2u%2u%f",
// "%3u%f", "%u", "%d", "%f", "%1c", literals and suppressed "%*Nu"), without parsing a format string or
// going through text conversions on every number: the sentence decoder reads several dozen numbers per
// second from each receiver.
//
// The rules are swscanf's: white space before every conversion but "%c" is skipped; an integer takes an
// optional sign and at least one digit within its width, and a negative one wraps in its unsigned field; a
// number with a fraction takes an optional sign, digits with at most one point (at least one digit) and an
// exponent only when digits follow its letter, and is rounded to a double and then to a float. A scan stops
// at the first directive that fails, and answers the conversions it assigned, or EOF when the text ended
// before the first of them.
#pragma once

#include <cstddef>
#include <cstdint>

class NmeaScan {
public:
    static constexpr std::size_t kNoWidth = static_cast<std::size_t>(-1);

    explicit NmeaScan(const char16_t* text) : m_in(text) {}

    // A literal unit of the format.
    NmeaScan& Literal(char16_t unit);
    // "%u" or "%Nu"; a null target is "%*Nu".
    NmeaScan& Unsigned(unsigned* value, std::size_t width = kNoWidth);
    // "%d".
    NmeaScan& Int(int* value);
    // "%f" or "%Nf".
    NmeaScan& Float(float* value, std::size_t width = kNoWidth);
    // "%1c".
    NmeaScan& Char(char16_t* value);

    // What swscanf answers: the conversions assigned, or EOF when the text ended before the first one.
    int Result() const;

private:
    enum class State { Running, InputEnded, Mismatch };
    // Skips white space before a conversion; false once the scan has stopped or the text ended.
    bool BeginConversion();
    bool ReadInteger(std::size_t width, std::uint64_t& value);

    const char16_t* m_in;
    int m_assigned = 0;
    State m_state = State::Running;
};
