// The WAVE reader over arbitrary bytes: it must never read out of bounds, and whatever it accepts must be
// whole frames of a format it supports that write out and read back unchanged.
#include "platform/sound/Wave.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // A copy of exactly the input, so that any read past it is caught.
    std::vector<BYTE> image(data, data + size);
    WaveSound sound;
    if (!ParseWave(image.data(), image.size(), sound)) {
        return 0;
    }
    const WaveFormat& f = sound.format;
    if ((f.channels != 1 && f.channels != 2) || (f.bitsPerSample != 8 && f.bitsPerSample != 16) ||
        sound.samples.size() % f.BlockAlign() != 0 || sound.samples.size() > size) {
        std::abort();
    }
    std::vector<BYTE> written = BuildWave(f, sound.samples.data(), sound.samples.size());
    WaveSound back;
    if (!ParseWave(written.data(), written.size(), back) || !(back.format == f) ||
        back.samples != sound.samples) {
        std::abort();
    }
    return 0;
}
