// Feeding the framers in chosen chunkings, and building the frames the receivers send.
#pragma once

#include "platform/base/CString.h"
#include "receiver/MotorolaFramer.h"
#include "receiver/NmeaLineFramer.h"
#include "receiver/UbxFramer.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

namespace framer_test {

using Bytes = std::string;

inline std::u16string Units(const Bytes& bytes) {
    std::u16string units;
    for (unsigned char b : bytes) {
        units.push_back(b);
    }
    return units;
}

inline std::vector<std::u16string> Texts(const std::vector<CString>& messages) {
    std::vector<std::u16string> out;
    for (const CString& m : messages) {
        out.push_back(m.str());
    }
    return out;
}

// Feeds `bytes` in pieces of the given sizes (the last piece takes the rest).
template <class Framer>
std::vector<std::u16string> FeedInPieces(const Bytes& bytes, const std::vector<std::size_t>& sizes) {
    Framer framer;
    std::vector<CString> messages;
    std::size_t at = 0;
    for (std::size_t size : sizes) {
        const std::size_t n = std::min(size, bytes.size() - at);
        framer.Feed(reinterpret_cast<const BYTE*>(bytes.data()) + at, n, messages);
        at += n;
    }
    framer.Feed(reinterpret_cast<const BYTE*>(bytes.data()) + at, bytes.size() - at, messages);
    return Texts(messages);
}

template <class Framer>
std::vector<std::u16string> FeedWhole(const Bytes& bytes) {
    return FeedInPieces<Framer>(bytes, {});
}

inline std::vector<std::size_t> OneByteAtATime(std::size_t total) {
    return std::vector<std::size_t>(total, 1);
}

inline std::vector<std::size_t> RandomPieces(std::size_t total, unsigned seed, std::size_t largest) {
    std::mt19937 random(seed);
    std::uniform_int_distribution<std::size_t> size(1, largest);
    std::vector<std::size_t> pieces;
    for (std::size_t done = 0; done < total;) {
        pieces.push_back(size(random));
        done += pieces.back();
    }
    return pieces;
}

// The messages of the whole stream fed at once, checked to come out the same for one byte at a time, every
// split into two reads, and random read sizes.
template <class Framer>
std::vector<std::u16string> FeedEveryWay(const Bytes& bytes) {
    const std::vector<std::u16string> whole = FeedWhole<Framer>(bytes);
    EXPECT_EQ(FeedInPieces<Framer>(bytes, OneByteAtATime(bytes.size())), whole) << "one byte at a time";
    for (std::size_t split = 1; split < bytes.size() && bytes.size() < 4096; ++split) {
        EXPECT_EQ(FeedInPieces<Framer>(bytes, {split}), whole) << "split at " << split;
    }
    for (unsigned seed = 1; seed <= 5; ++seed) {
        EXPECT_EQ(FeedInPieces<Framer>(bytes, RandomPieces(bytes.size(), seed, 2048)), whole)
            << "seed " << seed;
    }
    return whole;
}

// "@@" + id + payload + XOR checksum + CR LF.
inline Bytes OncoreFrame(const Bytes& id, const Bytes& payload) {
    Bytes frame = "@@" + id + payload;
    unsigned char sum = 0;
    for (std::size_t i = 2; i < frame.size(); ++i) {
        sum ^= static_cast<unsigned char>(frame[i]);
    }
    frame.push_back(static_cast<char>(sum));
    return frame + "\r\n";
}

// The message as the framer delivers it: without checksum, CR and LF.
inline std::u16string OncoreMessage(const Bytes& frame) {
    return Units(frame.substr(0, frame.size() - 3));
}

// 0xB5 0x62 class id length payload CK_A CK_B.
inline Bytes UbxFrame(unsigned char cls, unsigned char id, const Bytes& payload) {
    Bytes frame = "\xB5\x62";
    frame.push_back(static_cast<char>(cls));
    frame.push_back(static_cast<char>(id));
    frame.push_back(static_cast<char>(payload.size() & 0xFF));
    frame.push_back(static_cast<char>(payload.size() >> 8));
    frame += payload;
    unsigned char a = 0;
    unsigned char b = 0;
    for (std::size_t i = 2; i < frame.size(); ++i) {
        a = static_cast<unsigned char>(a + static_cast<unsigned char>(frame[i]));
        b = static_cast<unsigned char>(b + a);
    }
    frame.push_back(static_cast<char>(a));
    frame.push_back(static_cast<char>(b));
    return frame;
}

// An NMEA sentence with its "*hh".
inline Bytes Sentence(const Bytes& body) {
    unsigned char sum = 0;
    for (std::size_t i = 1; i < body.size(); ++i) {
        sum ^= static_cast<unsigned char>(body[i]);
    }
    static const char kHex[] = "0123456789ABCDEF";
    return body + "*" + kHex[sum >> 4] + kHex[sum & 15];
}

} // namespace framer_test
