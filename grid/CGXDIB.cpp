#include "grid/CGXDIB.h"

#include "platform/base/GlobalMemory.h"
#include "platform/framework/CDC.h"
#include "platform/gdi/Gdi.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

IMPLEMENT_DYNCREATE(CGXDIB, CObject)

namespace {

constexpr DWORD kBitFieldMasksSize = 3 * sizeof(DWORD);

// Shrinks a span of `available` to `used` placed by the flags: centred, at the far end, or at the start.
void Place(LONG& start, LONG& end, LONG used, bool center, bool farEnd) {
    const LONG gap = (end - start) - used;
    if (center) {
        start += gap / 2;
    } else if (farEnd) {
        start = end - used;
    }
    end = start + used;
}

} // namespace

CGXDIB::~CGXDIB() {
    Release();
}

void CGXDIB::Release() {
    if (m_handle && m_bOwned) {
        ::GlobalFree(m_handle);
    }
    m_handle = nullptr;
    m_bOwned = FALSE;
    m_colorCount = 0;
    m_width = m_height = 0;
}

BOOL CGXDIB::AttachHandle(HGLOBAL handle, BOOL owned) {
    Release();
    if (!handle) {
        return FALSE;
    }
    m_handle = handle;
    m_bOwned = owned;
    if (const auto* header = static_cast<const BITMAPINFOHEADER*>(::GlobalLock(handle))) {
        m_colorCount = DibColorCount(*header);
        m_width = header->biWidth;
        m_height = header->biHeight;
        ::GlobalUnlock(handle);
    }
    return TRUE;
}

HGLOBAL CGXDIB::DetachHandle() {
    HGLOBAL handle = m_handle;
    m_handle = nullptr;
    m_bOwned = FALSE;
    return handle;
}

int CGXDIB::DibColorCount(const BITMAPINFOHEADER& header) {
    if (header.biClrUsed) {
        return static_cast<int>(header.biClrUsed);
    }
    switch (header.biBitCount) {
    case 1:
        return 2;
    case 4:
        return 16;
    case 8:
        return 256;
    default:
        return 0;
    }
}

DWORD CGXDIB::DibBitsOffset(const BITMAPINFOHEADER& header) {
    // The colour masks of a bit-field bitmap follow a plain header; the larger headers hold them.
    const DWORD masks = header.biCompression == BI_BITFIELDS && header.biSize == sizeof(BITMAPINFOHEADER)
                            ? kBitFieldMasksSize
                            : 0;
    return header.biSize + masks + 4 * static_cast<DWORD>(DibColorCount(header));
}

bool CGXDIB::IsWholeDib(const BYTE* data, size_t size) {
    BITMAPINFOHEADER header;
    if (!data || size < sizeof header) {
        return false;
    }
    std::memcpy(&header, data, sizeof header);
    const int bits = header.biBitCount;
    if (header.biSize < sizeof header || header.biSize > size || header.biWidth <= 0 || header.biHeight == 0 ||
        header.biPlanes != 1 || header.biClrUsed > 256 ||
        (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32) ||
        (header.biCompression != BI_RGB && header.biCompression != BI_BITFIELDS)) {
        return false;
    }
    const unsigned long long stride = (static_cast<unsigned long long>(header.biWidth) * bits + 31) / 32 * 4;
    const unsigned long long rows = static_cast<unsigned long long>(std::llabs(header.biHeight));
    return DibBitsOffset(header) + stride * rows <= size;
}

BOOL CGXDIB::CalcPlacement(LONG width, LONG height, const CRect& dest, int mode, UINT flags, const CRect* source,
                           CRect& destOut, CRect& sourceOut) {
    sourceOut = source ? *source : CRect(0, 0, width, std::labs(height));
    destOut = dest;
    LONG srcWidth = sourceOut.Width();
    LONG srcHeight = sourceOut.Height();
    if (srcWidth <= 0 || srcHeight <= 0 || destOut.Width() <= 0 || destOut.Height() <= 0) {
        return FALSE;
    }
    if (mode == kClipAndAlign) {
        if (srcWidth < destOut.Width()) {
            Place(destOut.left, destOut.right, srcWidth, flags & kCenter, flags & kRight);
        } else {
            srcWidth = destOut.Width();
        }
        if (srcHeight < destOut.Height()) {
            Place(destOut.top, destOut.bottom, srcHeight, flags & kVCenter, flags & kBottom);
        } else {
            // Rows count from the bottom: the top part starts higher up.
            if (!(flags & kBottom)) {
                sourceOut.top += srcHeight - destOut.Height();
            }
            srcHeight = destOut.Height();
        }
        sourceOut.right = sourceOut.left + srcWidth;
        sourceOut.bottom = sourceOut.top + srcHeight;
    } else if (mode == kKeepAspect) {
        const long long scale = std::min(static_cast<long long>(destOut.Width()) * 1000 / srcWidth,
                                         static_cast<long long>(destOut.Height()) * 1000 / srcHeight);
        const auto scaledWidth = static_cast<LONG>(srcWidth * scale / 1000);
        const auto scaledHeight = static_cast<LONG>(srcHeight * scale / 1000);
        Place(destOut.left, destOut.right, scaledWidth, flags & kCenter, flags & kRight);
        Place(destOut.top, destOut.bottom, scaledHeight, flags & kVCenter, flags & kBottom);
    }
    return TRUE;
}

void CGXDIB::Draw(CDC* dc, HGLOBAL dib, const CRect& dest, int mode, UINT flags, const CRect* source) {
    const auto* block = dib ? static_cast<const BYTE*>(::GlobalLock(dib)) : nullptr;
    if (!block) {
        return;
    }
    if (IsWholeDib(block, ::GlobalSize(dib))) {
        const auto* info = reinterpret_cast<const BITMAPINFO*>(block);
        CRect to;
        CRect from;
        if (CalcPlacement(info->bmiHeader.biWidth, info->bmiHeader.biHeight, dest, mode, flags, source, to,
                          from)) {
            ::StretchDIBits(dc ? dc->GetSafeHdc() : nullptr, to.left, to.top, to.Width(), to.Height(), from.left,
                            from.top, from.Width(), from.Height(), block + DibBitsOffset(info->bmiHeader), info,
                            DIB_RGB_COLORS, SRCCOPY);
        }
    }
    ::GlobalUnlock(dib);
}
