// DIBs read from untrusted bytes into the one form that image code keeps in memory and writes back: a
// 40-byte header (BI_RGB, positive height), a full colour table for depths up to 8 bits, and uncompressed
// rows padded to 4 bytes, bottom row first. Every header kind, top-down rows, run-length encoding and bit
// fields that the packed-DIB reader accepts are converted to it, so code holding a plain DIB can trust its
// header to describe its bits.
#pragma once

#include "platform/gdi/GdiTypes.h"

#include <cstddef>
#include <vector>

struct GdiPlainDib {
    // biSize 40, biPlanes 1, BI_RGB, biSizeImage = the bits' size. biClrUsed is 0 or the number of colours
    // the source stored (at most the table's size); biClrImportant is at most that.
    BITMAPINFOHEADER header{};
    // 2, 16 or 256 entries for 1, 4 and 8 bits: the stored colours, then black; none for deeper pictures.
    std::vector<RGBQUAD> colors;
    // Rows of ((width x depth + 31) / 32) x 4 bytes, bottom row first.
    std::vector<BYTE> bits;
};

// A packed DIB (header, masks, colour table, bits) of `size` bytes. Bit fields other than the standard
// masks of 16 bits (5-5-5) and 32 bits (8-8-8) become 24-bit rows; RLE4 and RLE8 become 4 and 8-bit rows.
// FALSE with ERROR_INVALID_DATA for what GdiCreateBitmapFromPackedDib refuses, bits cut short included.
BOOL GdiReadPlainDib(const void* data, size_t size, GdiPlainDib* out);
// The same for a .bmp file image (file header first), located as GdiCreateBitmapFromBmpFile locates it.
BOOL GdiReadPlainBmpFile(const void* data, size_t size, GdiPlainDib* out);
// Whether a bitmap of this size can be made: both sides 1 to 32767, at most 2^27 pixels.
bool GdiBitmapSizeAllowed(long long width, long long height);
