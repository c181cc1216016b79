// The packed-DIB reader over arbitrary bytes (bitmap resources and .bmp files are untrusted input): it must
// never read out of bounds, what it accepts must be a bitmap that draws and reads back, and what the plain
// reader accepts must be a plain DIB whose header describes its bits.
#include "platform/gdi/Gdi.h"
#include "platform/gdi/PlainDib.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
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
void CheckPlain(const GdiPlainDib& dib) {
    const BITMAPINFOHEADER& h = dib.header;
    const size_t colours = h.biBitCount <= 8 ? size_t{1} << h.biBitCount : 0;
    const size_t stride = (static_cast<size_t>(h.biWidth) * h.biBitCount + 31) / 32 * 4;
    if (h.biSize != sizeof(BITMAPINFOHEADER) || h.biCompression != BI_RGB || h.biHeight <= 0 ||
        dib.colors.size() != colours || h.biClrUsed > colours || dib.bits.size() != stride * h.biHeight ||
        h.biSizeImage != dib.bits.size()) {
        std::abort();
    }
    // The drawing code trusts such a header: it must find all the bits it expects.
    std::vector<uint8_t> info(sizeof(BITMAPINFOHEADER) + 4 * colours);
    std::memcpy(info.data(), &h, sizeof(h));
    if (colours) {
        std::memcpy(info.data() + sizeof(h), dib.colors.data(), 4 * colours);
    }
    HDC dc = CreateCompatibleDC(nullptr);
    HBITMAP target = CreateBitmap(4, 4, 1, 32, nullptr);
    HGDIOBJ old = SelectObject(dc, target);
    StretchDIBits(dc, 0, 0, 4, 4, 0, 0, h.biWidth, h.biHeight, dib.bits.data(),
                  reinterpret_cast<const BITMAPINFO*>(info.data()), DIB_RGB_COLORS, SRCCOPY);
    SelectObject(dc, old);
    DeleteObject(target);
    DeleteDC(dc);
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
    GdiPlainDib plain;
    if (GdiReadPlainDib(bytes.data(), bytes.size(), &plain)) {
        CheckPlain(plain);
    }
    if (GdiReadPlainBmpFile(bytes.data(), bytes.size(), &plain)) {
        CheckPlain(plain);
    }
    return 0;
}
