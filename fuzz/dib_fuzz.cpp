// The packed-DIB reader over arbitrary bytes (bitmap resources and .bmp files are untrusted input): it must
// never read out of bounds, and what it accepts must be a bitmap that draws and reads back.
#include "platform/gdi/Gdi.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

namespace {
void Exercise(HBITMAP b) {
    BITMAP bm{};
    if (GetObjectW(b, sizeof(bm), &bm) != sizeof(bm) || bm.bmWidth <= 0 || bm.bmHeight <= 0) {
        std::abort();
    }
    // Draw a corner of it and read the bits back in a common format.
    HDC mem = CreateCompatibleDC(nullptr);
    HDC dst = CreateCompatibleDC(nullptr);
    HBITMAP target = CreateBitmap(8, 8, 1, 32, nullptr);
    HGDIOBJ oldDst = SelectObject(dst, target);
    HGDIOBJ old = SelectObject(mem, b);
    StretchBlt(dst, 0, 0, 8, 8, mem, 0, 0, bm.bmWidth < 16 ? bm.bmWidth : 16,
               bm.bmHeight < 16 ? bm.bmHeight : 16, SRCCOPY);
    SelectObject(mem, old);
    SelectObject(dst, oldDst);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = 8;
    info.bmiHeader.biHeight = 8;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    std::vector<uint32_t> px(64);
    if (GetDIBits(mem, target, 0, 8, px.data(), &info, DIB_RGB_COLORS) != 8) {
        std::abort();
    }
    DeleteObject(target);
    DeleteDC(dst);
    DeleteDC(mem);
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // Copies of exactly `size` bytes, so that any read past the end is caught.
    std::vector<uint8_t> bytes(data, data + size);
    for (bool section : {false, true}) {
        if (HBITMAP b = GdiCreateBitmapFromPackedDib(bytes.data(), bytes.size(), section)) {
            Exercise(b);
            DeleteObject(b);
        }
        if (HBITMAP b = GdiCreateBitmapFromBmpFile(bytes.data(), bytes.size(), section)) {
            Exercise(b);
            DeleteObject(b);
        }
    }
    return 0;
}
