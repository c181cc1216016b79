// The framers on traffic recorded from real receivers: every message comes out whole, and the same messages
// come out however the bytes are split into reads.
#include "receiver/OncoreMessageTable.h"
#include "support/TestSupport.h"
#include "tests/receiver/FramerTestSupport.h"

#include <gtest/gtest.h>

#include <cctype>
#include <cstring>
#include <fstream>
#include <functional>
#include <iterator>
#include <sstream>

namespace {

using namespace framer_test;
using Lines = std::vector<std::u16string>;

Bytes ReadCapture(const char* name) {
    std::ifstream in(testsupport::SharedFixturesDir() / "receiver-captures" / name, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Binary captures: the bytes after the leading '#' lines, untouched.
Bytes BinaryCapture(const char* name) {
    const Bytes file = ReadCapture(name);
    std::size_t at = 0;
    while (at < file.size() && file[at] == '#') {
        at = file.find('\n', at);
        at = at == Bytes::npos ? file.size() : at + 1;
    }
    return file.substr(at);
}

// Text captures: the sentences without the '#' lines, each ended with CR LF as a receiver sends it.
std::vector<Bytes> TextCaptureLines(const char* name) {
    std::istringstream in(ReadCapture(name));
    std::vector<Bytes> lines;
    for (Bytes line; std::getline(in, line);) {
        if (!line.empty() && line[0] != '#') {
            lines.push_back(line);
        }
    }
    return lines;
}

void ExpectSameForEveryChunking(const std::function<Lines(const std::vector<std::size_t>&)>& feed,
                                std::size_t size, const Lines& expected) {
    EXPECT_EQ(feed({}), expected) << "whole capture";
    EXPECT_EQ(feed(OneByteAtATime(size)), expected) << "one byte at a time";
    for (unsigned seed = 1; seed <= 20; ++seed) {
        EXPECT_EQ(feed(RandomPieces(size, seed, seed < 10 ? 16 : 2048)), expected) << "seed " << seed;
    }
}

// "oncore-m12.log" names its test oncore_m12.
std::string CaseName(const char* file) {
    std::string name(file, std::strchr(file, '.'));
    for (char& c : name) {
        if (!std::isalnum(static_cast<unsigned char>(c))) {
            c = '_';
        }
    }
    return name;
}

std::string TextCaseName(const testing::TestParamInfo<const char*>& info) {
    return CaseName(info.param);
}

class NmeaFramerCaptures : public testing::TestWithParam<const char*> {};

TEST_P(NmeaFramerCaptures, EverySentenceWholeWithoutItsChecksum) {
    REQUIRE_SHARED_FIXTURES();
    Bytes stream;
    Lines expected;
    for (const Bytes& line : TextCaptureLines(GetParam())) {
        stream += line + "\r\n";
        expected.push_back(Units(line.substr(0, line.size() - 3))); // every recorded sentence carries "*hh"
    }
    ASSERT_GT(expected.size(), 40u);
    ExpectSameForEveryChunking(
        [&](const auto& pieces) { return FeedInPieces<NmeaLineFramer>(stream, pieces); }, stream.size(),
        expected);
}

INSTANTIATE_TEST_SUITE_P(Receivers, NmeaFramerCaptures,
                         testing::Values("oncore.log", "bu353s4.log", "ublox-lea-5h.log"), TextCaseName);

struct BinaryCase {
    const char* file;
    std::size_t messages;
};

std::string BinaryCaseName(const testing::TestParamInfo<BinaryCase>& info) {
    return CaseName(info.param.file);
}

class OncoreFramerCaptures : public testing::TestWithParam<BinaryCase> {};

TEST_P(OncoreFramerCaptures, EveryMessageWhole) {
    REQUIRE_SHARED_FIXTURES();
    const Bytes stream = BinaryCapture(GetParam().file);
    const Lines messages = FeedWhole<MotorolaFramer>(stream);
    ASSERT_EQ(messages.size(), GetParam().messages);
    // The recordings hold nothing but messages: put back checksum, CR and LF and the stream is rebuilt.
    Bytes rebuilt;
    for (const std::u16string& m : messages) {
        Bytes frame(m.begin(), m.end());
        ASSERT_EQ(frame.size() + 3, static_cast<std::size_t>(OncoreMessageLength(m[2], m[3])));
        rebuilt += OncoreFrame(frame.substr(2, 2), frame.substr(4));
    }
    EXPECT_EQ(rebuilt.size(), stream.size());
    EXPECT_TRUE(rebuilt == stream);
    ExpectSameForEveryChunking(
        [&](const auto& pieces) { return FeedInPieces<MotorolaFramer>(stream, pieces); }, stream.size(),
        messages);
}

INSTANTIATE_TEST_SUITE_P(Receivers, OncoreFramerCaptures,
                         testing::Values(BinaryCase{"oncore-binary.log", 82},
                                         BinaryCase{"oncore-m12.log", 68}),
                         BinaryCaseName);

class UbxFramerCaptures : public testing::TestWithParam<BinaryCase> {};

TEST_P(UbxFramerCaptures, EveryFrameWholeAndInOrder) {
    REQUIRE_SHARED_FIXTURES();
    const Bytes stream = BinaryCapture(GetParam().file);
    const Lines frames = FeedWhole<UbxFramer>(stream);
    ASSERT_EQ(frames.size(), GetParam().messages);
    std::size_t at = 0;
    for (const std::u16string& f : frames) {
        const Bytes frame(f.begin(), f.end());
        ASSERT_EQ(frame.size(),
                  8u + static_cast<unsigned char>(frame[4]) + 256u * static_cast<unsigned char>(frame[5]));
        const std::size_t found = stream.find(frame, at);
        ASSERT_NE(found, Bytes::npos);
        // Only the recorder's own lines (JSON) lie between frames.
        for (std::size_t i = at; i < found; ++i) {
            ASSERT_NE(stream[i], '\xB5') << "a frame was skipped at " << i;
        }
        at = found + frame.size();
    }
    ExpectSameForEveryChunking([&](const auto& pieces) { return FeedInPieces<UbxFramer>(stream, pieces); },
                               stream.size(), frames);
}

// The M8T recording ends in the middle of a frame, which stays pending.
INSTANTIATE_TEST_SUITE_P(Receivers, UbxFramerCaptures,
                         testing::Values(BinaryCase{"u-blox-m8t-time.log", 1511},
                                         BinaryCase{"ublox-aek-4t.log", 51}),
                         BinaryCaseName);

} // namespace
