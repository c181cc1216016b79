// The toolkit's JPEG image reader over arbitrary bytes (picture files are untrusted): the codec's errors must
// end the load cleanly, never inside the library, and a picture it accepts must encode again and come out of
// the encode unchanged. Decoded as on a true-colour screen and as on a palette screen.
#include "toolkit/SECJpeg.h"

#include "platform/base/CMemFile.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

// Larger pictures decode the same way, only slower: kept out so that each run stays quick.
constexpr uint64_t kMaxPixels = 1 << 16;

// Whether the first frame header claims at most kMaxPixels (true when there is none).
bool SmallPicture(const uint8_t* p, size_t n) {
    size_t i = 0;
    while (i + 4 <= n) {
        if (p[i] != 0xFF || p[i + 1] == 0xFF) {
            ++i; // the codec skips what is not a marker
            continue;
        }
        const uint8_t marker = p[i + 1];
        if (marker == 0xD8 || marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7) || marker == 0x00) {
            i += 2;
            continue;
        }
        if (marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC) {
            if (i + 9 > n) {
                return true;
            }
            const uint64_t height = static_cast<uint64_t>(p[i + 5]) << 8 | p[i + 6];
            const uint64_t width = static_cast<uint64_t>(p[i + 7]) << 8 | p[i + 8];
            return width * height <= kMaxPixels;
        }
        i += 2 + (static_cast<size_t>(p[i + 2]) << 8 | p[i + 3]);
    }
    return true;
}

void Check(bool condition, int line = __builtin_LINE()) {
    if (!condition) {
        std::fprintf(stderr, "%s:%d: check failed\n", __FILE__, line);
        std::abort();
    }
}

std::vector<BYTE> Bits(const SECJpeg& image) {
    const size_t bytes = SECRasterImage::GetPaddedRowBytes(image.GetBitsPerPixel(), image.GetWidth()) *
                         static_cast<size_t>(image.GetHeight());
    return std::vector<BYTE>(image.GetBits(), image.GetBits() + bytes);
}

void Decode(std::vector<BYTE>& bytes, bool paletteScreen) {
    CMemFile file(bytes.data(), static_cast<UINT>(bytes.size()));
    SECJpeg image;
    if (paletteScreen) {
        image.SetDisplayFormat(1, 8);
        image.m_bQuantize = TRUE;
    }
    if (!image.ReadImage(&file)) {
        Check(!image.HasImage());
        return;
    }
    Check(image.GetBitsPerPixel() == (paletteScreen ? 8 : 24) && image.AreRowsPadded());
    const std::vector<BYTE> before = Bits(image);
    CMemFile encoded;
    Check(image.WriteImage(&encoded));
    Check(Bits(image) == before);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (!SmallPicture(data, size)) {
        return 0;
    }
    // A copy of exactly `size` bytes, so that any read past the end is caught.
    std::vector<BYTE> bytes(data, data + size);
    Decode(bytes, false);
    Decode(bytes, true);
    return 0;
}
