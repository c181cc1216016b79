// The WAVE reader over well-formed images and over images that are cut short, lie about their sizes or hold
// something other than 8/16-bit PCM.
#include "platform/sound/Wave.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <utility>
#include <vector>

namespace {

using Bytes = std::vector<BYTE>;

void Put16(Bytes& b, WORD v) {
    b.push_back(static_cast<BYTE>(v));
    b.push_back(static_cast<BYTE>(v >> 8));
}

void Put32(Bytes& b, DWORD v) {
    Put16(b, static_cast<WORD>(v));
    Put16(b, static_cast<WORD>(v >> 16));
}

void Patch32(Bytes& b, size_t at, DWORD v) {
    for (int i = 0; i < 4; ++i) {
        b[at + i] = static_cast<BYTE>(v >> (8 * i));
    }
}

Bytes Fmt(WORD tag, WORD channels, DWORD rate, WORD bits) {
    Bytes b;
    WORD align = static_cast<WORD>(channels * bits / 8);
    Put16(b, tag);
    Put16(b, channels);
    Put32(b, rate);
    Put32(b, rate * align);
    Put16(b, align);
    Put16(b, bits);
    return b;
}

Bytes Extensible(WORD bits, WORD subFormat) {
    Bytes b = Fmt(WAVE_FORMAT_EXTENSIBLE, 2, 48000, bits);
    Put16(b, 22);
    Put16(b, bits);
    Put32(b, 3); // channel mask
    Put16(b, subFormat);
    const BYTE tail[14] = {0x00, 0x00, 0x00, 0x00, 0x10, 0x00, 0x80,
                           0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71};
    b.insert(b.end(), tail, tail + 14);
    return b;
}

// A RIFF image of the chunks, sizes and pads right.
Bytes Riff(const std::vector<std::pair<std::string, Bytes>>& chunks) {
    Bytes b = {'R', 'I', 'F', 'F', 0, 0, 0, 0, 'W', 'A', 'V', 'E'};
    for (const auto& [tag, body] : chunks) {
        b.insert(b.end(), tag.begin(), tag.end());
        Put32(b, static_cast<DWORD>(body.size()));
        b.insert(b.end(), body.begin(), body.end());
        if (body.size() & 1) {
            b.push_back(0);
        }
    }
    Patch32(b, 4, static_cast<DWORD>(b.size() - 8));
    return b;
}

Bytes Samples(size_t n) {
    Bytes b(n);
    for (size_t i = 0; i < n; ++i) {
        b[i] = static_cast<BYTE>(i * 7);
    }
    return b;
}

Bytes Valid() {
    return Riff({{"fmt ", Fmt(WAVE_FORMAT_PCM, 1, 22050, 16)}, {"data", Samples(200)}});
}

struct Accepted {
    const char* what;
    Bytes image;
    WaveFormat format;
    size_t frames;
};

TEST(WaveReader, AcceptsPcmOfEightAndSixteenBitsMonoAndStereo) {
    Bytes trailing = Valid();
    trailing.insert(trailing.end(), {'j', 'u', 'n', 'k'});
    Bytes unpaddedLast = Riff({{"fmt ", Fmt(WAVE_FORMAT_PCM, 1, 8000, 8)}, {"data", Samples(9)}});
    unpaddedLast.pop_back();
    Patch32(unpaddedLast, 4, static_cast<DWORD>(unpaddedLast.size() - 8));
    const Accepted cases[] = {
        {"16-bit mono", Valid(), {1, 22050, 16}, 100},
        {"8-bit stereo, odd data padded, chunks around it",
         Riff({{"LIST", Samples(5)},
               {"fmt ", Fmt(WAVE_FORMAT_PCM, 2, 11025, 8)},
               {"data", Samples(13)},
               {"cue ", Samples(4)}}),
         {2, 11025, 8},
         6},
        {"16-bit stereo at 44.1 kHz, partial frame dropped",
         Riff({{"fmt ", Fmt(WAVE_FORMAT_PCM, 2, 44100, 16)}, {"data", Samples(4 * 25 + 3)}}),
         {2, 44100, 16},
         25},
        {"data before fmt",
         Riff({{"data", Samples(8)}, {"fmt ", Fmt(WAVE_FORMAT_PCM, 1, 48000, 16)}}),
         {1, 48000, 16},
         4},
        {"extensible PCM",
         Riff({{"fmt ", Extensible(16, WAVE_FORMAT_PCM)}, {"data", Samples(40)}}),
         {2, 48000, 16},
         10},
        {"bytes after the RIFF size", trailing, {1, 22050, 16}, 100},
        {"last pad missing", unpaddedLast, {1, 8000, 8}, 9},
        {"no samples", Riff({{"fmt ", Fmt(WAVE_FORMAT_PCM, 1, 8000, 8)}, {"data", {}}}), {1, 8000, 8}, 0},
    };
    for (const Accepted& c : cases) {
        WaveSound sound;
        ASSERT_TRUE(ParseWave(c.image.data(), c.image.size(), sound)) << c.what;
        EXPECT_EQ(sound.format, c.format) << c.what;
        EXPECT_EQ(sound.Frames(), c.frames) << c.what;
        EXPECT_EQ(sound.samples.size(), c.frames * c.format.BlockAlign()) << c.what;
    }
    WaveSound sound;
    Bytes image = Valid();
    ASSERT_TRUE(ParseWave(image.data(), image.size(), sound));
    EXPECT_EQ(sound.samples, Samples(200));
    EXPECT_EQ(RiffImageSize(image.data()), image.size());
}

TEST(WaveReader, RefusesEveryTruncation) {
    // Each prefix is its own allocation, so that reading past it trips the address sanitizer.
    Bytes image =
        Riff({{"LIST", Samples(6)}, {"fmt ", Fmt(WAVE_FORMAT_PCM, 2, 8000, 16)}, {"data", Samples(16)}});
    for (size_t n = 0; n < image.size(); ++n) {
        Bytes prefix(image.begin(), image.begin() + static_cast<std::ptrdiff_t>(n));
        WaveSound sound;
        EXPECT_FALSE(ParseWave(prefix.data(), prefix.size(), sound)) << n << " bytes";
    }
}

TEST(WaveReader, RefusesLyingSizesAndWhatIsNotPcm) {
    auto patched = [](size_t at, DWORD v) {
        Bytes b = Valid();
        Patch32(b, at, v);
        return b;
    };
    Bytes notRiff = Valid();
    notRiff[0] = 'X';
    Bytes notWave = Valid();
    notWave[11] = 'X';
    Bytes shortFmt = Fmt(WAVE_FORMAT_PCM, 1, 8000, 8);
    shortFmt.resize(14);
    Bytes wrongAlign = Fmt(WAVE_FORMAT_PCM, 2, 8000, 16);
    wrongAlign[12] = 2;
    Bytes wrongRate = Fmt(WAVE_FORMAT_PCM, 1, 8000, 16);
    wrongRate[8] = 1;
    Bytes shortExtensible = Extensible(16, WAVE_FORMAT_PCM);
    shortExtensible.resize(30);
    const std::pair<const char*, Bytes> cases[] = {
        {"not RIFF", notRiff},
        {"not WAVE", notWave},
        {"RIFF size past the end", patched(4, static_cast<DWORD>(Valid().size()))},
        {"RIFF size below the header", patched(4, 2)},
        {"RIFF size inside a chunk header", patched(4, 8)},
        {"fmt size past the RIFF", patched(16, 0xFFFFFFF0)},
        {"data size past the RIFF", patched(40, 201)},
        {"data size huge", patched(40, 0xFFFFFFFF)},
        {"fmt too short", Riff({{"fmt ", shortFmt}, {"data", Samples(8)}})},
        {"no fmt", Riff({{"data", Samples(8)}})},
        {"no data", Riff({{"fmt ", Fmt(WAVE_FORMAT_PCM, 1, 8000, 8)}})},
        {"two fmt", Riff({{"fmt ", Fmt(1, 1, 8000, 8)}, {"fmt ", Fmt(1, 1, 8000, 8)}, {"data", Samples(8)}})},
        {"two data", Riff({{"fmt ", Fmt(1, 1, 8000, 8)}, {"data", Samples(8)}, {"data", Samples(8)}})},
        {"IEEE float", Riff({{"fmt ", Fmt(3, 1, 8000, 32)}, {"data", Samples(8)}})},
        {"ADPCM", Riff({{"fmt ", Fmt(2, 1, 8000, 4)}, {"data", Samples(8)}})},
        {"24-bit", Riff({{"fmt ", Fmt(1, 1, 8000, 24)}, {"data", Samples(9)}})},
        {"three channels", Riff({{"fmt ", Fmt(1, 3, 8000, 16)}, {"data", Samples(12)}})},
        {"no channels", Riff({{"fmt ", Fmt(1, 0, 8000, 16)}, {"data", Samples(12)}})},
        {"rate 0", Riff({{"fmt ", Fmt(1, 1, 0, 16)}, {"data", Samples(8)}})},
        {"rate absurd", Riff({{"fmt ", Fmt(1, 1, 4000000, 16)}, {"data", Samples(8)}})},
        {"block align contradicts", Riff({{"fmt ", wrongAlign}, {"data", Samples(8)}})},
        {"byte rate contradicts", Riff({{"fmt ", wrongRate}, {"data", Samples(8)}})},
        {"extensible, not PCM", Riff({{"fmt ", Extensible(16, 3)}, {"data", Samples(8)}})},
        {"extensible, short", Riff({{"fmt ", shortExtensible}, {"data", Samples(8)}})},
    };
    for (const auto& [what, image] : cases) {
        WaveSound sound;
        EXPECT_FALSE(ParseWave(image.data(), image.size(), sound)) << what;
    }
    WaveSound sound;
    EXPECT_FALSE(ParseWave(nullptr, 0, sound));
    EXPECT_EQ(RiffImageSize(notRiff.data()), 0u);
}

TEST(WaveWriter, WritesWhatTheReaderReadsBack) {
    WaveSound tone = ToneSound(440.0, 100, 8000);
    EXPECT_EQ(tone.Frames(), 800u);
    Bytes image = BuildWave(tone.format, tone.samples.data(), tone.samples.size());
    WaveSound back;
    ASSERT_TRUE(ParseWave(image.data(), image.size(), back));
    EXPECT_EQ(back.format, tone.format);
    EXPECT_EQ(back.samples, tone.samples);

    // Faded: it starts and ends in silence, and peaks near the amplitude asked for.
    auto sample = [&](size_t i) {
        return static_cast<std::int16_t>(tone.samples[2 * i] | tone.samples[2 * i + 1] << 8);
    };
    EXPECT_EQ(sample(0), 0);
    EXPECT_LE(std::abs(sample(799)), 400);
    int peak = 0;
    for (size_t i = 0; i < 800; ++i) {
        peak = std::max(peak, std::abs(int(sample(i))));
    }
    EXPECT_NEAR(peak, 0.3 * 32767, 200);
}

} // namespace
