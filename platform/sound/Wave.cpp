#include "platform/sound/Wave.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <numbers>

namespace {

constexpr DWORD kMinRate = 1000;
constexpr DWORD kMaxRate = 192000;
constexpr size_t kChunkHeader = 8;
constexpr size_t kPcmFormatSize = 16;
constexpr size_t kExtensibleFormatSize = 40;
// The tail of the PCM sub-format GUID, after its first two bytes (the format tag).
constexpr BYTE kPcmGuidTail[14] = {0x00, 0x00, 0x00, 0x00, 0x10, 0x00, 0x80,
                                   0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71};

DWORD Read32(const BYTE* p) {
    return DWORD(p[0]) | DWORD(p[1]) << 8 | DWORD(p[2]) << 16 | DWORD(p[3]) << 24;
}

WORD Read16(const BYTE* p) {
    return static_cast<WORD>(p[0] | p[1] << 8);
}

void Put32(std::vector<BYTE>& out, DWORD v) {
    for (int i = 0; i < 4; ++i) {
        out.push_back(static_cast<BYTE>(v >> (8 * i)));
    }
}

void Put16(std::vector<BYTE>& out, WORD v) {
    out.push_back(static_cast<BYTE>(v));
    out.push_back(static_cast<BYTE>(v >> 8));
}

void PutTag(std::vector<BYTE>& out, const char* tag) {
    for (int i = 0; i < 4; ++i) {
        out.push_back(static_cast<BYTE>(tag[i]));
    }
}

bool ParseFormat(const BYTE* p, size_t size, WaveFormat& format) {
    if (size < kPcmFormatSize) {
        return false;
    }
    WORD tag = Read16(p);
    WORD channels = Read16(p + 2);
    DWORD rate = Read32(p + 4);
    DWORD bytesPerSec = Read32(p + 8);
    WORD blockAlign = Read16(p + 12);
    WORD bits = Read16(p + 14);
    if (tag == WAVE_FORMAT_EXTENSIBLE) {
        if (size < kExtensibleFormatSize || Read16(p + 16) < 22 || Read16(p + 18) != bits ||
            Read16(p + 24) != WAVE_FORMAT_PCM ||
            std::memcmp(p + 26, kPcmGuidTail, sizeof kPcmGuidTail) != 0) {
            return false;
        }
    } else if (tag != WAVE_FORMAT_PCM) {
        return false;
    }
    if ((channels != 1 && channels != 2) || (bits != 8 && bits != 16) || rate < kMinRate || rate > kMaxRate) {
        return false;
    }
    format = WaveFormat{channels, rate, bits};
    return blockAlign == format.BlockAlign() && bytesPerSec == rate * blockAlign;
}

} // namespace

bool ParseWave(const BYTE* image, size_t size, WaveSound& out) {
    if (!image || size < 12 || std::memcmp(image, "RIFF", 4) != 0 || std::memcmp(image + 8, "WAVE", 4) != 0) {
        return false;
    }
    size_t riffEnd = size_t(Read32(image + 4)) + 8;
    if (riffEnd > size || riffEnd < 12) {
        return false;
    }
    WaveFormat format;
    const BYTE* data = nullptr;
    size_t dataSize = 0;
    bool haveFormat = false;
    size_t at = 12;
    while (at < riffEnd) {
        if (riffEnd - at < kChunkHeader) {
            return false;
        }
        const BYTE* chunk = image + at;
        size_t chunkSize = Read32(chunk + 4);
        at += kChunkHeader;
        if (chunkSize > riffEnd - at) {
            return false;
        }
        if (std::memcmp(chunk, "fmt ", 4) == 0) {
            if (haveFormat || !ParseFormat(image + at, chunkSize, format)) {
                return false;
            }
            haveFormat = true;
        } else if (std::memcmp(chunk, "data", 4) == 0) {
            if (data) {
                return false;
            }
            data = image + at;
            dataSize = chunkSize;
        }
        // Chunks are padded to even sizes; the pad of the last one may be missing.
        at += std::min(chunkSize + (chunkSize & 1), riffEnd - at);
    }
    if (!haveFormat || !data) {
        return false;
    }
    out.format = format;
    out.samples.assign(data, data + dataSize - dataSize % format.BlockAlign());
    return true;
}

size_t RiffImageSize(const BYTE* header) {
    if (!header || std::memcmp(header, "RIFF", 4) != 0) {
        return 0;
    }
    return size_t(Read32(header + 4)) + 8;
}

std::vector<BYTE> BuildWave(const WaveFormat& format, const BYTE* samples, size_t bytes) {
    std::vector<BYTE> out;
    out.reserve(44 + bytes + 1);
    PutTag(out, "RIFF");
    Put32(out, static_cast<DWORD>(36 + bytes + (bytes & 1)));
    PutTag(out, "WAVE");
    PutTag(out, "fmt ");
    Put32(out, kPcmFormatSize);
    Put16(out, WAVE_FORMAT_PCM);
    Put16(out, format.channels);
    Put32(out, format.samplesPerSec);
    Put32(out, format.samplesPerSec * format.BlockAlign());
    Put16(out, format.BlockAlign());
    Put16(out, format.bitsPerSample);
    PutTag(out, "data");
    Put32(out, static_cast<DWORD>(bytes));
    if (bytes) {
        out.insert(out.end(), samples, samples + bytes);
    }
    if (bytes & 1) {
        out.push_back(0);
    }
    return out;
}

WaveSound ToneSound(double frequency, int milliseconds, DWORD samplesPerSec, double amplitude) {
    WaveSound sound;
    sound.format = WaveFormat{1, samplesPerSec, 16};
    size_t frames = size_t(samplesPerSec) * size_t(std::max(milliseconds, 0)) / 1000;
    size_t fade = std::max<size_t>(1, samplesPerSec / 200); // 5 ms
    sound.samples.reserve(frames * 2);
    for (size_t i = 0; i < frames; ++i) {
        double envelope = std::min({1.0, double(i) / double(fade), double(frames - 1 - i) / double(fade)});
        double v =
            amplitude * envelope * std::sin(2.0 * std::numbers::pi * frequency * double(i) / samplesPerSec);
        auto sample = static_cast<std::int16_t>(std::lround(v * 32767.0));
        sound.samples.push_back(static_cast<BYTE>(sample & 0xFF));
        sound.samples.push_back(static_cast<BYTE>((sample >> 8) & 0xFF));
    }
    return sound;
}
