// RIFF/WAVE images: a reader that checks every size against the bytes it was given, and a writer.
#pragma once

#include "platform/base/Win32Types.h"

#include <cstddef>
#include <vector>

#define WAVE_FORMAT_PCM 0x0001
#define WAVE_FORMAT_EXTENSIBLE 0xFFFE

struct WaveFormat {
    WORD channels = 1;       // 1 or 2
    DWORD samplesPerSec = 0; // 1000 .. 192000
    WORD bitsPerSample = 16; // 8 (unsigned) or 16 (signed, little-endian)

    WORD BlockAlign() const { return static_cast<WORD>(channels * (bitsPerSample / 8)); }
    bool operator==(const WaveFormat&) const = default;
};

struct WaveSound {
    WaveFormat format;
    std::vector<BYTE> samples; // whole frames only

    size_t Frames() const { return format.BlockAlign() ? samples.size() / format.BlockAlign() : 0; }
};

// Reads uncompressed PCM (also in the extensible header) with 8 or 16 bits, mono or stereo. Refuses, with
// false, anything else and anything whose sizes do not fit: a RIFF size beyond the image, a chunk beyond the
// RIFF size, a missing, short or repeated "fmt " or "data" chunk, a header that contradicts itself. Bytes
// after the RIFF size are ignored, and so is a trailing partial frame.
bool ParseWave(const BYTE* image, size_t size, WaveSound& out);

// The size a RIFF image announces in its first 8 bytes (the size field plus 8), 0 when it is not a RIFF
// header; for images given by address only.
size_t RiffImageSize(const BYTE* header);

std::vector<BYTE> BuildWave(const WaveFormat& format, const BYTE* samples, size_t bytes);

// A sine tone, 16-bit mono, faded in and out so that it does not click.
WaveSound ToneSound(double frequency, int milliseconds, DWORD samplesPerSec = 22050, double amplitude = 0.3);
