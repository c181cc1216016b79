// Decoders of the simulator's output written for the tests, apart from the simulator's own code: they check
// each frame's checksum as the protocols define it, and fail the test on anything malformed.
#pragma once

#include "tools/simulator/ReceiverEngine.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <map>
#include <poll.h>
#include <string>
#include <unistd.h>
#include <vector>

namespace simtest {

using receiversim::Bytes;
using receiversim::Emission;

inline Bytes Concat(const std::vector<Emission>& emissions) {
    Bytes out;
    for (const Emission& e : emissions) {
        out.insert(out.end(), e.bytes.begin(), e.bytes.end());
    }
    return out;
}

inline Bytes ToBytes(const std::string& s) {
    return Bytes(s.begin(), s.end());
}

inline std::string ToText(const Bytes& b) {
    return std::string(b.begin(), b.end());
}

// An Oncore command as the program frames it: "@@", id, parameters, XOR of id and parameters, CR LF.
inline std::string OncoreCommand(const std::string& id, const Bytes& params = {}) {
    std::string s = "@@" + id;
    s.append(params.begin(), params.end());
    std::uint8_t x = 0;
    for (std::size_t i = 2; i < s.size(); ++i) {
        x = static_cast<std::uint8_t>(x ^ static_cast<std::uint8_t>(s[i]));
    }
    s += static_cast<char>(x);
    s += "\r\n";
    return s;
}

inline std::string NmeaCommand(const std::string& body) {
    std::uint8_t x = 0;
    for (char c : body) {
        x = static_cast<std::uint8_t>(x ^ static_cast<std::uint8_t>(c));
    }
    char hex[8];
    std::snprintf(hex, sizeof hex, "*%02X\r\n", static_cast<unsigned>(x));
    return "$" + body + hex;
}

inline Bytes UbxCommand(std::uint8_t cls, std::uint8_t id, const Bytes& payload = {}) {
    Bytes f{0xB5,
            0x62,
            cls,
            id,
            static_cast<std::uint8_t>(payload.size() & 0xFF),
            static_cast<std::uint8_t>(payload.size() >> 8)};
    f.insert(f.end(), payload.begin(), payload.end());
    std::uint8_t a = 0, b = 0;
    for (std::size_t i = 2; i < f.size(); ++i) {
        a = static_cast<std::uint8_t>(a + f[i]);
        b = static_cast<std::uint8_t>(b + a);
    }
    f.push_back(a);
    f.push_back(b);
    f.push_back('\r'); // the program's transmit thread ends every command so
    f.push_back('\n');
    return f;
}

struct OncoreMessage {
    std::string id;
    Bytes whole; // "@@" to LF
    Bytes payload;
};

// Whole lengths of the Oncore messages the tests expect, as the receiver's documentation gives them.
inline int ExpectedOncoreLength(const std::string& id) {
    static const std::map<std::string, int> kLengths = {
        {"Ba", 68}, {"Ea", 76}, {"Ha", 154}, {"Hb", 54}, {"Bb", 92}, {"Cj", 294}, {"Bo", 8},  {"Bj", 8},
        {"Gj", 21}, {"Bn", 59}, {"En", 69},  {"Hn", 78}, {"Ca", 9},  {"Fa", 9},   {"Ia", 10}, {"Ce", 52},
        {"Aw", 8},  {"Ag", 8},  {"Gb", 17},  {"Af", 15}, {"Ay", 11}, {"Wb", 9},   {"Cg", 8},  {"Cf", 7},
    };
    const auto it = kLengths.find(id);
    return it == kLengths.end() ? 0 : it->second;
}

inline std::vector<OncoreMessage> DecodeOncore(const Bytes& stream) {
    std::vector<OncoreMessage> out;
    std::size_t pos = 0;
    while (pos < stream.size()) {
        if (stream.size() - pos < 7 || stream[pos] != '@' || stream[pos + 1] != '@') {
            ADD_FAILURE() << "no Oncore message at offset " << pos;
            break;
        }
        const std::string id(stream.begin() + static_cast<std::ptrdiff_t>(pos + 2),
                             stream.begin() + static_cast<std::ptrdiff_t>(pos + 4));
        const int length = ExpectedOncoreLength(id);
        if (length == 0 || pos + static_cast<std::size_t>(length) > stream.size()) {
            ADD_FAILURE() << "unexpected or cut message @@" << id << " at offset " << pos;
            break;
        }
        const Bytes whole(stream.begin() + static_cast<std::ptrdiff_t>(pos),
                          stream.begin() + static_cast<std::ptrdiff_t>(pos) + length);
        std::uint8_t x = 0;
        for (int i = 2; i < length - 3; ++i) {
            x = static_cast<std::uint8_t>(x ^ whole[static_cast<std::size_t>(i)]);
        }
        EXPECT_EQ(x, whole[static_cast<std::size_t>(length - 3)]) << "checksum of @@" << id;
        EXPECT_EQ('\r', whole[static_cast<std::size_t>(length - 2)]) << "@@" << id;
        EXPECT_EQ('\n', whole[static_cast<std::size_t>(length - 1)]) << "@@" << id;
        out.push_back({id, whole, Bytes(whole.begin() + 4, whole.end() - 3)});
        pos += static_cast<std::size_t>(length);
    }
    return out;
}

// NMEA sentences: each "$...*hh" CR LF with the right checksum; returns them without "*hh" and line end.
inline std::vector<std::string> DecodeNmea(const Bytes& stream) {
    std::vector<std::string> out;
    const std::string text = ToText(stream);
    std::size_t pos = 0;
    while (pos < text.size()) {
        const std::size_t end = text.find("\r\n", pos);
        if (end == std::string::npos) {
            ADD_FAILURE() << "sentence without CR LF: " << text.substr(pos);
            break;
        }
        const std::string line = text.substr(pos, end - pos);
        pos = end + 2;
        if (line.size() < 4 || line[0] != '$' || line[line.size() - 3] != '*') {
            ADD_FAILURE() << "not a checksummed sentence: " << line;
            continue;
        }
        const std::string body = line.substr(1, line.size() - 4);
        std::uint8_t x = 0;
        for (char c : body) {
            x = static_cast<std::uint8_t>(x ^ static_cast<std::uint8_t>(c));
        }
        char hex[4];
        std::snprintf(hex, sizeof hex, "%02X", static_cast<unsigned>(x));
        EXPECT_EQ(std::string(hex), line.substr(line.size() - 2)) << line;
        out.push_back(line.substr(0, line.size() - 3));
    }
    return out;
}

struct UbxMessage {
    std::uint8_t cls = 0;
    std::uint8_t id = 0;
    Bytes payload;
};

inline std::vector<UbxMessage> DecodeUbx(const Bytes& stream) {
    std::vector<UbxMessage> out;
    std::size_t pos = 0;
    while (pos < stream.size()) {
        if (stream.size() - pos < 8 || stream[pos] != 0xB5 || stream[pos + 1] != 0x62) {
            ADD_FAILURE() << "no UBX frame at offset " << pos;
            break;
        }
        const std::size_t length = stream[pos + 4] | static_cast<std::size_t>(stream[pos + 5]) << 8;
        if (pos + length + 8 > stream.size()) {
            ADD_FAILURE() << "cut UBX frame at offset " << pos;
            break;
        }
        std::uint8_t a = 0, b = 0;
        for (std::size_t i = pos + 2; i < pos + 6 + length; ++i) {
            a = static_cast<std::uint8_t>(a + stream[i]);
            b = static_cast<std::uint8_t>(b + a);
        }
        EXPECT_EQ(a, stream[pos + 6 + length]);
        EXPECT_EQ(b, stream[pos + 7 + length]);
        out.push_back({stream[pos + 2], stream[pos + 3],
                       Bytes(stream.begin() + static_cast<std::ptrdiff_t>(pos + 6),
                             stream.begin() + static_cast<std::ptrdiff_t>(pos + 6 + length))});
        pos += length + 8;
    }
    return out;
}

inline std::uint64_t Be(const Bytes& b, std::size_t at, int width) {
    std::uint64_t v = 0;
    for (int i = 0; i < width; ++i) {
        v = v << 8 | b[at + static_cast<std::size_t>(i)];
    }
    return v;
}

inline std::uint64_t Le(const Bytes& b, std::size_t at, int width) {
    std::uint64_t v = 0;
    for (int i = width - 1; i >= 0; --i) {
        v = v << 8 | b[at + static_cast<std::size_t>(i)];
    }
    return v;
}

// Reads what arrives on fd until n bytes came or the time is up.
inline Bytes ReadFor(int fd, std::chrono::milliseconds limit, std::size_t n = SIZE_MAX) {
    Bytes out;
    const auto end = std::chrono::steady_clock::now() + limit;
    while (out.size() < n) {
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(end - std::chrono::steady_clock::now());
        if (left.count() <= 0) {
            break;
        }
        pollfd p{fd, POLLIN, 0};
        if (poll(&p, 1, static_cast<int>(left.count())) <= 0) {
            break;
        }
        std::uint8_t buffer[4096];
        const ssize_t got = read(fd, buffer, std::min(sizeof buffer, n - out.size()));
        if (got <= 0) {
            break;
        }
        out.insert(out.end(), buffer, buffer + got);
    }
    return out;
}

} // namespace simtest
