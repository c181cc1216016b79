#include "receiver/NmeaScan.h"

#include "platform/base/WideRuntime.h"

#include <charconv>
#include <cstdio>
#include <string>
#include <system_error>

namespace {

bool IsDigit(char16_t c) {
    return c >= u'0' && c <= u'9';
}

// The double nearest the ASCII text of a number (sign, digits, point, exponent), as strtod gives it. Out of
// the double's range strtod's answer (infinity, or the nearest denormal or zero) is wanted, which
// from_chars does not give.
double ToDouble(const char* text, std::size_t size) {
    const char* begin = text;
    const char* end = text + size;
    if (begin < end && *begin == '+') {
        ++begin;
    }
    double value = 0;
    const auto result = std::from_chars(begin, end, value, std::chars_format::general);
    if (result.ec == std::errc{} && result.ptr == end) {
        return value;
    }
    const std::u16string wide(text, text + size);
    return wcstod(wide.c_str(), nullptr);
}

} // namespace

bool NmeaScan::BeginConversion() {
    if (m_state != State::Running) {
        return false;
    }
    while (iswspace(*m_in)) {
        ++m_in;
    }
    if (*m_in == 0) {
        m_state = State::InputEnded;
        return false;
    }
    return true;
}

NmeaScan& NmeaScan::Literal(char16_t unit) {
    if (m_state != State::Running) {
        return *this;
    }
    if (*m_in == 0) {
        m_state = State::InputEnded;
    } else if (*m_in != unit) {
        m_state = State::Mismatch;
    } else {
        ++m_in;
    }
    return *this;
}

bool NmeaScan::ReadInteger(std::size_t width, std::uint64_t& value) {
    std::size_t i = 0;
    bool negative = false;
    if (i < width && (m_in[i] == u'+' || m_in[i] == u'-')) {
        negative = m_in[i++] == u'-';
    }
    bool digits = false;
    value = 0;
    for (; i < width && IsDigit(m_in[i]); ++i) {
        value = value * 10 + static_cast<unsigned>(m_in[i] - u'0');
        digits = true;
    }
    if (!digits) {
        m_state = State::Mismatch;
        return false;
    }
    if (negative) {
        value = 0 - value;
    }
    m_in += i;
    return true;
}

NmeaScan& NmeaScan::Unsigned(unsigned* value, std::size_t width) {
    std::uint64_t read = 0;
    if (BeginConversion() && ReadInteger(width, read) && value != nullptr) {
        *value = static_cast<unsigned>(read);
        ++m_assigned;
    }
    return *this;
}

NmeaScan& NmeaScan::Int(int* value) {
    std::uint64_t read = 0;
    if (BeginConversion() && ReadInteger(kNoWidth, read)) {
        *value = static_cast<int>(static_cast<unsigned>(read));
        ++m_assigned;
    }
    return *this;
}

NmeaScan& NmeaScan::Float(float* value, std::size_t width) {
    if (!BeginConversion()) {
        return *this;
    }
    // The number's ASCII text; a longer one than any field can hold goes through a copy of its own.
    char local[64];
    std::string spill;
    std::size_t size = 0;
    auto put = [&](char16_t c) {
        if (size < sizeof local) {
            local[size] = static_cast<char>(c);
        } else {
            if (spill.empty()) {
                spill.assign(local, size);
            }
            spill.push_back(static_cast<char>(c));
        }
        ++size;
    };
    std::size_t i = 0;
    if (i < width && (m_in[i] == u'+' || m_in[i] == u'-')) {
        put(m_in[i++]);
    }
    bool digits = false;
    for (; i < width && IsDigit(m_in[i]); ++i) {
        put(m_in[i]);
        digits = true;
    }
    if (i < width && m_in[i] == u'.') {
        put(m_in[i++]);
        for (; i < width && IsDigit(m_in[i]); ++i) {
            put(m_in[i]);
            digits = true;
        }
    }
    if (!digits) {
        m_state = State::Mismatch;
        return *this;
    }
    if (i < width && (m_in[i] == u'e' || m_in[i] == u'E')) {
        std::size_t j = i + 1;
        const bool sign = j < width && (m_in[j] == u'+' || m_in[j] == u'-');
        const std::size_t firstDigit = sign ? j + 1 : j;
        std::size_t k = firstDigit;
        while (k < width && IsDigit(m_in[k])) {
            ++k;
        }
        if (k > firstDigit) {
            put(u'e');
            for (; j < k; ++j) {
                put(m_in[j]);
            }
            i = k;
        }
    }
    m_in += i;
    const char* text = spill.empty() ? local : spill.c_str();
    *value = static_cast<float>(ToDouble(text, size));
    ++m_assigned;
    return *this;
}

NmeaScan& NmeaScan::Char(char16_t* value) {
    if (m_state != State::Running) {
        return *this;
    }
    if (*m_in == 0) {
        m_state = State::InputEnded;
        return *this;
    }
    *value = *m_in++;
    ++m_assigned;
    return *this;
}

int NmeaScan::Result() const {
    return m_state == State::InputEnded && m_assigned == 0 ? EOF : m_assigned;
}
