// A packed device-independent bitmap (header, colour table and bits in one global memory block) and the
// drawing of such a block into a rectangle: clipped and aligned, stretched, or scaled keeping its aspect.
#pragma once

#include "platform/base/CObject.h"
#include "platform/base/CRect.h"
#include "platform/gdi/GdiTypes.h"

class CDC;

class CGXDIB : public CObject {
    DECLARE_DYNCREATE(CGXDIB)
public:
    // Drawing modes.
    enum Mode : int { kClipAndAlign = 0, kStretch = 1, kKeepAspect = 2 };
    // Alignment flags.
    enum : UINT { kCenter = 1, kRight = 2, kVCenter = 4, kBottom = 8 };

    CGXDIB() = default;
    // Frees the block when it was attached as owned.
    ~CGXDIB() override;
    CGXDIB(const CGXDIB&) = delete;
    CGXDIB& operator=(const CGXDIB&) = delete;

    // Releases the current block and reads the sizes from the new one's header. The block stays the
    // caller's (a pool's) unless `owned`. TRUE for a non-null handle.
    BOOL AttachHandle(HGLOBAL handle, BOOL owned = FALSE);
    // The block, no longer held.
    HGLOBAL DetachHandle();

    HGLOBAL GetHandle() const { return m_handle; }
    int GetColorCount() const { return m_colorCount; }
    LONG GetWidth() const { return m_width; }
    LONG GetHeight() const { return m_height; }

    // Draws the block into the rectangle; the source is the whole bitmap unless given.
    static void Draw(CDC* dc, HGLOBAL dib, const CRect& dest, int mode, UINT flags, const CRect* source = nullptr);
    // Where Draw puts the bitmap: the destination and the source (its rows counted from the bottom, as the
    // bits are stored). FALSE when there is nothing to draw.
    static BOOL CalcPlacement(LONG width, LONG height, const CRect& dest, int mode, UINT flags,
                              const CRect* source, CRect& destOut, CRect& sourceOut);
    // Colour-table entries: biClrUsed, else 2, 16 or 256 for 1, 4 or 8 bits per pixel, else 0.
    static int DibColorCount(const BITMAPINFOHEADER& header);
    // Where the bits begin: after the header, the colour masks of a bit-field bitmap and the colour table.
    static DWORD DibBitsOffset(const BITMAPINFOHEADER& header);
    // Whether `size` bytes hold a whole packed DIB of a kind the drawing takes.
    static bool IsWholeDib(const BYTE* data, size_t size);

private:
    void Release();

    HGLOBAL m_handle = nullptr;
    BOOL m_bOwned = FALSE;
    int m_colorCount = 0;
    LONG m_width = 0;
    LONG m_height = 0;
};
