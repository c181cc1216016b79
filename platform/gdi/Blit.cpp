// Raster operations: pattern fills, blits with every ROP3 code, stretching, masks, DIBs to the device, and
// single pixels.
#include "platform/gdi/GdiPrivate.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace gdi {

namespace {
bool UsesSource(uint8_t rop) {
    return ((rop >> 2) & 0x33) != (rop & 0x33);
}
bool UsesPattern(uint8_t rop) {
    return ((rop >> 4) & 0x0F) != (rop & 0x0F);
}

// Source columns (or rows) for each destination column: [first, last) in source pixels.
struct Sampling {
    std::vector<int> first;
    std::vector<int> last;
};

// dst pixels [0, dn) from source pixels starting at s0 with sn pixels (sn < 0: mirrored).
Sampling Sample(int dn, int s0, int sn, bool combine) {
    Sampling m;
    m.first.resize(static_cast<size_t>(dn));
    m.last.resize(static_cast<size_t>(dn));
    int an = std::abs(sn);
    for (int i = 0; i < dn; ++i) {
        long long a;
        long long b;
        if (combine && an > dn) {
            a = static_cast<long long>(i) * an / dn;
            b = static_cast<long long>(i + 1) * an / dn;
        } else {
            a = (static_cast<long long>(2 * i + 1) * an) / (2LL * dn); // nearest by centre
            b = a + 1;
        }
        if (sn < 0) {
            m.first[i] = static_cast<int>(s0 - b);
            m.last[i] = static_cast<int>(s0 - a);
        } else {
            m.first[i] = static_cast<int>(s0 + a);
            m.last[i] = static_cast<int>(s0 + b);
        }
    }
    return m;
}
} // namespace

bool BlitCore(Dc& dst, const RECT& dest, const BlitSource& src, DWORD rop, const Surface* mask, POINT maskOrg,
              DWORD backRop) {
    Surface ds;
    if (!TargetSurface(dst, &ds)) {
        return true;
    }
    uint8_t fore = static_cast<uint8_t>((rop >> 16) & 0xFF);
    uint8_t back = static_cast<uint8_t>((backRop >> 16) & 0xFF);
    bool needS = UsesSource(fore) || (mask && UsesSource(back));
    bool needP = UsesPattern(fore) || (mask && UsesPattern(back));
    if (needS && !src.surf) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return false;
    }
    // Destination in surface coordinates; mirrored sources have right < left in src.rect.
    RECT d{dest.left + dst.origin.x, dest.top + dst.origin.y, dest.right + dst.origin.x,
           dest.bottom + dst.origin.y};
    int dw = d.right - d.left;
    int dh = d.bottom - d.top;
    if (dw <= 0 || dh <= 0) {
        return true;
    }
    Region clip = EffectiveClip(dst);
    clip.IntersectRect(d);
    if (clip.Empty()) {
        return true;
    }
    Paint pat;
    if (needP) {
        pat = BrushPaint(dst, dst.s.brush, ds.mono);
        if (pat.none) {
            pat = SolidPaint(0); // a null brush blits as black
        }
    }
    int sw = src.rect.right - src.rect.left;
    int sh = src.rect.bottom - src.rect.top;
    int stretchMode = dst.s.stretchMode;
    bool shrinkCombine = needS && (std::abs(sw) > dw || std::abs(sh) > dh) && stretchMode != COLORONCOLOR;
    Sampling cols;
    Sampling rows;
    std::vector<uint32_t> copy; // the source rows when source and destination overlap
    const Surface* ss = src.surf;
    Surface snapshot;
    if (needS) {
        cols = Sample(dw, sw < 0 ? src.rect.left : src.rect.left, sw, shrinkCombine);
        rows = Sample(dh, sh < 0 ? src.rect.top : src.rect.top, sh, shrinkCombine);
        if (ss->data == ds.data) {
            // Same pixels: read from a snapshot.
            copy.resize(static_cast<size_t>(ss->height) * ss->width);
            for (int y = 0; y < ss->height; ++y) {
                std::memcpy(copy.data() + static_cast<size_t>(y) * ss->width, ss->Row(y),
                            sizeof(uint32_t) * static_cast<size_t>(ss->width));
            }
            snapshot = *ss;
            snapshot.data = copy.data();
            snapshot.stride = ss->width;
            ss = &snapshot;
        }
    }
    auto convert = [&](uint32_t p) -> uint32_t {
        p &= 0xFFFFFF;
        if (src.mono && !ds.mono) {
            return p ? src.monoBg : src.monoFg;
        }
        if (!src.mono && ds.mono) {
            return p == src.srcBk ? 0xFFFFFFu : 0u;
        }
        return p;
    };
    auto sourceAt = [&](int i, int j, bool* ok) -> uint32_t {
        int x0 = cols.first[i];
        int x1 = cols.last[i];
        int y0 = rows.first[j];
        int y1 = rows.last[j];
        x0 = std::max(x0, 0);
        y0 = std::max(y0, 0);
        x1 = std::min(x1, ss->width);
        y1 = std::min(y1, ss->height);
        if (x0 >= x1 || y0 >= y1) {
            *ok = false;
            return 0;
        }
        *ok = true;
        if (!shrinkCombine || (x1 - x0 == 1 && y1 - y0 == 1)) {
            return convert(ss->Row(y0)[x0]);
        }
        if (stretchMode == HALFTONE) {
            uint64_t r = 0;
            uint64_t g = 0;
            uint64_t b = 0;
            uint64_t n = 0;
            for (int y = y0; y < y1; ++y) {
                for (int x = x0; x < x1; ++x) {
                    uint32_t p = convert(ss->Row(y)[x]);
                    r += (p >> 16) & 0xFF;
                    g += (p >> 8) & 0xFF;
                    b += p & 0xFF;
                    ++n;
                }
            }
            return static_cast<uint32_t>(((r / n) << 16) | ((g / n) << 8) | (b / n));
        }
        bool andScans = stretchMode == BLACKONWHITE;
        uint32_t acc = andScans ? 0xFFFFFFu : 0u;
        for (int y = y0; y < y1; ++y) {
            for (int x = x0; x < x1; ++x) {
                uint32_t p = convert(ss->Row(y)[x]);
                acc = andScans ? (acc & p) : (acc | p);
            }
        }
        return acc;
    };
    // Fast path: plain copy, same size, same format.
    bool plainCopy = !mask && fore == 0xCC && !shrinkCombine && sw == dw && sh == dh && src.mono == ds.mono;
    int n = 0;
    const pixman_box32_t* boxes = clip.Rects(&n);
    for (int k = 0; k < n; ++k) {
        const pixman_box32_t& b = boxes[k];
        for (int y = b.y1; y < b.y2; ++y) {
            uint32_t* row = ds.Row(y);
            int j = y - d.top;
            if (plainCopy) {
                int sy = rows.first[j];
                if (sy < 0 || sy >= ss->height) {
                    continue;
                }
                int sx0 = cols.first[b.x1 - d.left];
                int x0 = b.x1;
                int x1 = b.x2;
                if (sx0 < 0) {
                    x0 += -sx0;
                    sx0 = 0;
                }
                x1 = std::min(x1, x0 + (ss->width - sx0));
                if (x0 < x1) {
                    std::memcpy(row + x0, ss->Row(sy) + sx0, sizeof(uint32_t) * static_cast<size_t>(x1 - x0));
                }
                continue;
            }
            for (int x = b.x1; x < b.x2; ++x) {
                int i = x - d.left;
                uint8_t code = fore;
                if (mask) {
                    int mx = maskOrg.x + i;
                    int my = maskOrg.y + j;
                    bool bit = mx >= 0 && my >= 0 && mx < mask->width && my < mask->height &&
                               (mask->Row(my)[mx] & 0xFFFFFF) != 0;
                    code = bit ? fore : back;
                }
                uint32_t s = 0;
                if (UsesSource(code)) {
                    bool ok = false;
                    s = sourceAt(i, j, &ok);
                    if (!ok) {
                        continue; // nothing to read there: the destination stays
                    }
                }
                uint32_t p = 0;
                if (UsesPattern(code)) {
                    bool skip = false;
                    p = pat.At(x, y, &skip);
                    if (skip) {
                        p = ResolveColor(dst, dst.s.bkColor, ds.mono);
                    }
                }
                row[x] = Rop3(code, p, s, row[x]);
            }
        }
    }
    FinishDrawing(dst);
    return true;
}

namespace {
// The source side of a blit from a DC: its surface and the conversion rules against the destination.
bool SourceFrom(Dc& dst, Dc& srcDc, Surface* holder, BlitSource* out) {
    if (!TargetSurface(srcDc, holder)) {
        return false;
    }
    Surface dsurf;
    bool dstMono = TargetSurface(dst, &dsurf) && dsurf.mono;
    out->surf = holder;
    out->mono = holder->mono;
    out->monoFg = ResolveColor(dst, dst.s.textColor, dstMono);
    out->monoBg = ResolveColor(dst, dst.s.bkColor, dstMono);
    out->srcBk = ResolveColor(srcDc, srcDc.s.bkColor, false);
    return true;
}

RECT DeviceCorners(const DcState& s, int x, int y, int w, int h, bool* mirrorX, bool* mirrorY) {
    POINT a = ToDevice(s, POINT{x, y});
    POINT b = ToDevice(s, POINT{x + w, y + h});
    *mirrorX = b.x < a.x;
    *mirrorY = b.y < a.y;
    // A negative extent runs back from the given pixel, which it includes: (x + w, x].
    if (*mirrorX) {
        ++a.x;
        ++b.x;
    }
    if (*mirrorY) {
        ++a.y;
        ++b.y;
    }
    return RECT{a.x, a.y, b.x, b.y};
}

BOOL Stretch(HDC hdest, int x, int y, int width, int height, HDC hsrc, int xs, int ys, int sw, int sh,
             DWORD rop, HBITMAP maskBmp, int xm, int ym, bool stretch, const char* op) {
    GDI_LOCK();
    Dc* dst = CheckDc(hdest);
    if (!dst) {
        return FALSE;
    }
    uint8_t fore = static_cast<uint8_t>((rop >> 16) & 0xFF);
    uint8_t back = static_cast<uint8_t>((rop >> 24) & 0xFF);
    bool needS = UsesSource(fore) || (maskBmp && UsesSource(back));
    Record(*dst, op, {x, y, width, height, xs, ys, sw, sh, static_cast<long long>(rop)});
    bool mx = false;
    bool my = false;
    RECT dd = DeviceCorners(dst->s, x, y, width, height, &mx, &my);
    RECT dest{std::min(dd.left, dd.right), std::min(dd.top, dd.bottom), std::max(dd.left, dd.right),
              std::max(dd.top, dd.bottom)};
    BlitSource bs;
    Surface holder;
    Dc* src = nullptr;
    if (needS) {
        src = CheckDc(hsrc);
        if (!src || !SourceFrom(*dst, *src, &holder, &bs)) {
            SetLastError(ERROR_INVALID_HANDLE);
            return FALSE;
        }
        bool smx = false;
        bool smy = false;
        RECT sd = DeviceCorners(src->s, xs, ys, stretch ? sw : width, stretch ? sh : height, &smx, &smy);
        // Source in surface pixels, mirrored when one side is.
        RECT sr{std::min(sd.left, sd.right), std::min(sd.top, sd.bottom), std::max(sd.left, sd.right),
                std::max(sd.top, sd.bottom)};
        OffsetRect(&sr, src->origin.x, src->origin.y);
        if (mx != smx) {
            std::swap(sr.left, sr.right);
        }
        if (my != smy) {
            std::swap(sr.top, sr.bottom);
        }
        bs.rect = sr;
    }
    Surface maskSurf;
    const Surface* maskPtr = nullptr;
    if (maskBmp) {
        Bitmap* mb = Get<Bitmap>(maskBmp, Kind::Bitmap);
        if (!mb || !mb->mono) {
            SetLastError(ERROR_INVALID_PARAMETER);
            return FALSE;
        }
        maskSurf = mb->Pixels();
        maskPtr = &maskSurf;
    }
    DWORD foreRop = rop & 0x00FFFFFFu;
    DWORD backRop = static_cast<DWORD>(back) << 16;
    return BlitCore(*dst, dest, bs, foreRop, maskPtr, POINT{xm, ym}, backRop) ? TRUE : FALSE;
}
} // namespace

} // namespace gdi

using namespace gdi;

BOOL PatBlt(HDC hdc, int x, int y, int width, int height, DWORD rop) {
    GDI_LOCK();
    Dc* dc = CheckDc(hdc);
    uint8_t code = static_cast<uint8_t>((rop >> 16) & 0xFF);
    if (!dc || UsesSource(code)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    Record(*dc, "PatBlt", {x, y, width, height, static_cast<long long>(rop)});
    RECT r = ToDeviceRect(dc->s, RECT{x, y, x + width, y + height});
    return BlitCore(*dc, r, BlitSource{}, rop, nullptr, POINT{}, 0) ? TRUE : FALSE;
}

BOOL BitBlt(HDC dest, int x, int y, int width, int height, HDC src, int xSrc, int ySrc, DWORD rop) {
    return Stretch(dest, x, y, width, height, src, xSrc, ySrc, width, height, rop & 0x00FFFFFFu, nullptr, 0,
                   0, false, "BitBlt");
}

BOOL StretchBlt(HDC dest, int x, int y, int width, int height, HDC src, int xSrc, int ySrc, int srcWidth,
                int srcHeight, DWORD rop) {
    return Stretch(dest, x, y, width, height, src, xSrc, ySrc, srcWidth, srcHeight, rop & 0x00FFFFFFu,
                   nullptr, 0, 0, true, "StretchBlt");
}

BOOL MaskBlt(HDC dest, int x, int y, int width, int height, HDC src, int xSrc, int ySrc, HBITMAP mask,
             int xMask, int yMask, DWORD rop4) {
    if (!mask) {
        return Stretch(dest, x, y, width, height, src, xSrc, ySrc, width, height, rop4 & 0x00FFFFFFu, nullptr,
                       0, 0, false, "MaskBlt");
    }
    return Stretch(dest, x, y, width, height, src, xSrc, ySrc, width, height, rop4, mask, xMask, yMask, false,
                   "MaskBlt");
}

namespace {
// A DIB (whole) decoded into a temporary surface for blitting.
struct DibImage {
    std::vector<uint32_t> px;
    Surface s;
    DibInfo info;
};

bool LoadDib(Dc* dc, const void* bits, const BITMAPINFO* bmi, UINT usage, DibImage* out) {
    if (!bits || !bmi || !ParseDibInfo(bmi, SIZE_MAX, usage, dc, &out->info)) {
        return false;
    }
    size_t size = SIZE_MAX;
    if (out->info.compression == BI_RLE4 || out->info.compression == BI_RLE8) {
        size = bmi->bmiHeader.biSizeImage;
    }
    if (!DecodeDibBits(out->info, static_cast<const uint8_t*>(bits), size, &out->px)) {
        return false;
    }
    out->s.data = out->px.data();
    out->s.stride = out->info.width;
    out->s.width = out->info.width;
    out->s.height = out->info.height;
    out->s.mono = false;
    return true;
}
} // namespace

int StretchDIBits(HDC hdc, int xDest, int yDest, int destWidth, int destHeight, int xSrc, int ySrc,
                  int srcWidth, int srcHeight, const void* bits, const BITMAPINFO* info, UINT usage,
                  DWORD rop) {
    GDI_LOCK();
    Dc* dc = CheckDc(hdc);
    DibImage img;
    if (!dc || !LoadDib(dc, bits, info, usage, &img)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    Record(
        *dc, "StretchDIBits",
        {xDest, yDest, destWidth, destHeight, xSrc, ySrc, srcWidth, srcHeight, static_cast<long long>(rop)});
    bool mx = false;
    bool my = false;
    RECT dd = DeviceCorners(dc->s, xDest, yDest, destWidth, destHeight, &mx, &my);
    RECT dest{std::min(dd.left, dd.right), std::min(dd.top, dd.bottom), std::max(dd.left, dd.right),
              std::max(dd.top, dd.bottom)};
    // Bottom-up DIBs count source rows from the bottom.
    int top = img.info.topDown ? ySrc : img.info.height - ySrc - srcHeight;
    bool smx = srcWidth < 0;
    bool smy = srcHeight < 0;
    RECT sr{xSrc + (smx ? 1 : 0), top + (smy ? 1 : 0), xSrc + srcWidth + (smx ? 1 : 0),
            top + srcHeight + (smy ? 1 : 0)};
    RECT srn{std::min(sr.left, sr.right), std::min(sr.top, sr.bottom), std::max(sr.left, sr.right),
             std::max(sr.top, sr.bottom)};
    if (mx != smx) {
        std::swap(srn.left, srn.right);
    }
    if (my != smy) {
        std::swap(srn.top, srn.bottom);
    }
    BlitSource bs;
    bs.surf = &img.s;
    bs.rect = srn;
    Surface ds;
    bool dstMono = TargetSurface(*dc, &ds) && ds.mono;
    if (dstMono) {
        // A DIB drawn on a monochrome bitmap: each colour to the nearer of black and white.
        for (uint32_t& p : img.px) {
            p = MonoPixel(p);
        }
        bs.mono = true;
    }
    BlitCore(*dc, dest, bs, rop & 0x00FFFFFFu, nullptr, POINT{}, 0);
    return std::abs(srcHeight);
}

int SetDIBitsToDevice(HDC hdc, int xDest, int yDest, DWORD width, DWORD height, int xSrc, int ySrc,
                      UINT startScan, UINT scanLines, const void* bits, const BITMAPINFO* info, UINT usage) {
    GDI_LOCK();
    Dc* dc = CheckDc(hdc);
    DibInfo di;
    if (!dc || !bits || !ParseDibInfo(info, SIZE_MAX, usage, dc, &di) || di.compression == BI_RLE4 ||
        di.compression == BI_RLE8) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    Record(*dc, "SetDIBitsToDevice",
           {xDest, yDest, static_cast<long long>(width), static_cast<long long>(height), xSrc, ySrc});
    // Only scans [startScan, startScan + scanLines) are in `bits`; rows outside stay untouched.
    UINT available =
        std::min<UINT>(scanLines, static_cast<UINT>(std::max(0, di.height - static_cast<int>(startScan))));
    DibInfo part = di;
    part.height = static_cast<int>(available);
    part.topDown = true; // decode storage order as is
    std::vector<uint32_t> rows;
    if (available == 0 || !DecodeDibBits(part, static_cast<const uint8_t*>(bits), SIZE_MAX, &rows)) {
        return 0;
    }
    Surface ds;
    if (!TargetSurface(*dc, &ds)) {
        return static_cast<int>(available);
    }
    const Region& clip = EffectiveClip(*dc);
    POINT o = ToDevice(dc->s, POINT{xDest, yDest});
    for (DWORD k = 0; k < height; ++k) {
        // Storage row for destination row k of the rectangle.
        int storage = di.topDown ? ySrc + static_cast<int>(k) : ySrc + static_cast<int>(height - 1 - k);
        int idx = storage - static_cast<int>(startScan);
        if (idx < 0 || idx >= static_cast<int>(available)) {
            continue;
        }
        int y = o.y + static_cast<int>(k) + dc->origin.y;
        const uint32_t* srow = rows.data() + static_cast<size_t>(idx) * di.width;
        int x0 = o.x + dc->origin.x;
        ForClippedRuns(clip, y, x0, x0 + static_cast<int>(width), [&](int a, int b) {
            for (int x = a; x < b; ++x) {
                int sx = xSrc + (x - x0);
                if (sx >= 0 && sx < di.width) {
                    ds.Row(y)[x] = ds.mono ? MonoPixel(srow[sx]) : srow[sx];
                }
            }
        });
    }
    FinishDrawing(*dc);
    return static_cast<int>(available);
}

COLORREF SetPixel(HDC hdc, int x, int y, COLORREF color) {
    GDI_LOCK();
    Dc* dc = CheckDc(hdc);
    if (!dc) {
        return CLR_INVALID;
    }
    Record(*dc, "SetPixel", {x, y, static_cast<long long>(color)});
    Surface s;
    if (!TargetSurface(*dc, &s)) {
        return CLR_INVALID;
    }
    POINT p = ToDevice(dc->s, POINT{x, y});
    p.x += dc->origin.x;
    p.y += dc->origin.y;
    if (!EffectiveClip(*dc).Contains(p.x, p.y)) {
        return CLR_INVALID;
    }
    uint32_t v = ResolveColor(*dc, color, s.mono);
    s.Row(p.y)[p.x] = v;
    FinishDrawing(*dc);
    return ToColorRef(v);
}

BOOL SetPixelV(HDC hdc, int x, int y, COLORREF color) {
    return SetPixel(hdc, x, y, color) != CLR_INVALID;
}

COLORREF GetPixel(HDC hdc, int x, int y) {
    GDI_LOCK();
    Dc* dc = CheckDc(hdc);
    if (!dc) {
        return CLR_INVALID;
    }
    Surface s;
    if (!TargetSurface(*dc, &s)) {
        return CLR_INVALID;
    }
    POINT p = ToDevice(dc->s, POINT{x, y});
    p.x += dc->origin.x;
    p.y += dc->origin.y;
    if (!EffectiveClip(*dc).Contains(p.x, p.y)) {
        return CLR_INVALID;
    }
    return ToColorRef(s.Row(p.y)[p.x] & 0xFFFFFF);
}

BOOL ExtFloodFill(HDC hdc, int x, int y, COLORREF color, UINT type) {
    GDI_LOCK();
    Dc* dc = CheckDc(hdc);
    if (!dc || (type != FLOODFILLBORDER && type != FLOODFILLSURFACE)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    Surface s;
    if (!TargetSurface(*dc, &s)) {
        return FALSE;
    }
    POINT p = ToDevice(dc->s, POINT{x, y});
    p.x += dc->origin.x;
    p.y += dc->origin.y;
    const Region& clip = EffectiveClip(*dc);
    if (!clip.Contains(p.x, p.y)) {
        return FALSE;
    }
    uint32_t c = ResolveColor(*dc, color, s.mono);
    auto inside = [&](int px, int py) {
        uint32_t v = s.Row(py)[px] & 0xFFFFFF;
        return type == FLOODFILLBORDER ? v != c : v == c;
    };
    if (!inside(p.x, p.y)) {
        return FALSE;
    }
    // Find the area first (the fill may not change the test colour), then paint it.
    std::vector<uint8_t> seen(static_cast<size_t>(s.width) * s.height, 0);
    std::vector<Span> spans;
    std::vector<POINT> stack{p};
    while (!stack.empty()) {
        POINT q = stack.back();
        stack.pop_back();
        if (seen[static_cast<size_t>(q.y) * s.width + q.x]) {
            continue;
        }
        int l = q.x;
        int r = q.x;
        auto ok = [&](int px, int py) {
            return px >= 0 && py >= 0 && px < s.width && py < s.height && clip.Contains(px, py) &&
                   !seen[static_cast<size_t>(py) * s.width + px] && inside(px, py);
        };
        while (ok(l - 1, q.y)) {
            --l;
        }
        while (ok(r + 1, q.y)) {
            ++r;
        }
        for (int i = l; i <= r; ++i) {
            seen[static_cast<size_t>(q.y) * s.width + i] = 1;
        }
        spans.push_back(Span{q.y, l, r + 1});
        for (int dy : {-1, 1}) {
            int ny = q.y + dy;
            for (int i = l; i <= r; ++i) {
                if (ok(i, ny)) {
                    stack.push_back(POINT{i, ny});
                }
            }
        }
    }
    FillSpansWithBrush(*dc, s, spans, dc->s.brush, R2_COPYPEN);
    FinishDrawing(*dc);
    return TRUE;
}

BOOL FloodFill(HDC hdc, int x, int y, COLORREF color) {
    return ExtFloodFill(hdc, x, y, color, FLOODFILLBORDER);
}
