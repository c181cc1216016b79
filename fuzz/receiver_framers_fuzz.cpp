// Untrusted receiver bytes through the three framers. The first byte seeds the read sizes; the rest is the
// stream. Each framer must deliver the same messages whether the stream comes whole or in those reads,
// never hold a message of 800 units or more, and deliver only UBX frames whose checks hold.
#include "receiver/MotorolaFramer.h"
#include "receiver/NmeaLineFramer.h"
#include "receiver/UbxFramer.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

namespace {

template <class Framer, class... Extra>
std::vector<CString> Run(const uint8_t* data, size_t size, uint8_t seed, Extra... extra) {
    Framer framer;
    std::vector<CString> messages;
    if (seed == 0) {
        framer.Feed(data, size, messages, extra...);
        return messages;
    }
    uint32_t state = seed;
    for (size_t at = 0; at < size;) {
        state = state * 1103515245u + 12345u;
        const size_t n = std::min<size_t>(size - at, 1 + (state >> 16) % (seed & 0x80 ? 2048 : 7));
        framer.Feed(data + at, n, messages, extra...);
        at += n;
    }
    return messages;
}

template <class Framer, class... Extra>
void Check(const uint8_t* data, size_t size, uint8_t seed, Extra... extra) {
    const std::vector<CString> whole = Run<Framer>(data, size, 0, extra...);
    const std::vector<CString> pieces = Run<Framer>(data, size, seed == 0 ? 1 : seed, extra...);
    if (whole != pieces) {
        std::abort();
    }
    for (const CString& m : whole) {
        if (m.GetLength() >= 800) {
            std::abort();
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) {
        return 0;
    }
    const uint8_t seed = data[0];
    ++data;
    --size;
    Check<NmeaLineFramer>(data, size, seed);
    Check<MotorolaFramer>(data, size, seed, false);
    Check<MotorolaFramer>(data, size, seed, true);
    Check<UbxFramer>(data, size, seed);
    for (const CString& frame : Run<UbxFramer>(data, size, 0)) {
        if (frame.GetLength() > 0 && frame[0] == 0xB5 && !IsValidUbxFrame(frame.str())) {
            std::abort();
        }
    }
    return 0;
}
