// Text output: TextOut and ExtTextOut with alignment, escapement, opaque backgrounds and clipping, tabbed
// text, and grey text.
#include "platform/gdi/GdiPrivate.h"

#include <algorithm>
#include <cmath>

namespace gdi {

namespace {
void FillQuad(Dc& dc, const Surface& s, const Region& clip, double ox, double oy, double ux, double uy,
              double vx, double vy, double x0, double y0, double x1, double y1, uint32_t color) {
    // The text-frame rectangle [x0,x1) x [y0,y1) at origin (ox,oy) with axes u (along) and v (down).
    if (x1 <= x0 || y1 <= y0) {
        return;
    }
    if (uy == 0 && vx == 0 && ux > 0 && vy > 0) {
        Painter p(s, clip, SolidPaint(color), R2_COPYPEN);
        int l = static_cast<int>(std::lround(ox + x0));
        int r = static_cast<int>(std::lround(ox + x1));
        for (int y = static_cast<int>(std::lround(oy + y0)); y < static_cast<int>(std::lround(oy + y1));
             ++y) {
            p.SpanClipped(y, l, r);
        }
        return;
    }
    auto at = [&](double a, double b) { return std::make_pair(ox + ux * a + vx * b, oy + uy * a + vy * b); };
    PathFigure f{{at(x0, y0), at(x1, y0), at(x1, y1), at(x0, y1)}, true};
    RECT box = clip.Box();
    Painter p(s, clip, SolidPaint(color), R2_COPYPEN);
    for (const Span& sp : RasterizeFill({f}, false, box)) {
        p.SpanClipped(sp.y, sp.x0, sp.x1);
    }
    (void)dc;
}
} // namespace

// Draws a run of text; `deviceAdvances` null uses the font's. Answers the advance width in device pixels.
int OutputText(Dc& dc, int x, int y, UINT options, const RECT* rect, const char16_t* text, int count,
               const int* deviceAdvances) {
    RealFont* rf = RealizeFont(dc);
    POINT ref = (dc.s.textAlign & TA_UPDATECP) ? ToDevice(dc.s, dc.s.cur) : ToDevice(dc.s, POINT{x, y});
    std::vector<int> adv = deviceAdvances ? std::vector<int>(deviceAdvances, deviceAdvances + count)
                                          : TextAdvances(dc, text, count);
    int width = 0;
    for (int a : adv) {
        width += a;
    }
    Surface s;
    cairo_surface_t* cs = TargetCairoSurface(dc);
    bool ok = rf && TargetSurface(dc, &s);
    double a = FontEscapement(dc);
    double ux = std::cos(a);
    double uy = -std::sin(a);
    double vx = std::sin(a);
    double vy = std::cos(a);
    if (std::fabs(ux) < 1e-12) {
        ux = 0;
    }
    if (std::fabs(uy) < 1e-12) {
        uy = 0;
    }
    if (std::fabs(vx) < 1e-12) {
        vx = 0;
    }
    if (std::fabs(vy) < 1e-12) {
        vy = 0;
    }
    UINT h = dc.s.textAlign & (TA_LEFT | TA_RIGHT | TA_CENTER);
    UINT v = dc.s.textAlign & (TA_TOP | TA_BOTTOM | TA_BASELINE);
    FontLineMetrics m = LineMetrics(dc);
    double sx = h == TA_RIGHT ? -width : h == TA_CENTER ? -(width / 2) : 0;
    double sy = v == TA_BOTTOM ? -m.descent : v == TA_BASELINE ? 0 : m.ascent;
    double bx = ref.x + dc.origin.x + ux * sx + vx * sy;
    double by = ref.y + dc.origin.y + uy * sx + vy * sy;
    if (ok) {
        Region clip = EffectiveClip(dc);
        if (rect && (options & (ETO_OPAQUE | ETO_CLIPPED))) {
            RECT r = ToDeviceRect(dc.s, *rect);
            OffsetRect(&r, dc.origin.x, dc.origin.y);
            if (options & ETO_OPAQUE) {
                Painter p(s, clip, SolidPaint(ResolveColor(dc, dc.s.bkColor, s.mono)), R2_COPYPEN);
                for (int yy = r.top; yy < r.bottom; ++yy) {
                    p.SpanClipped(yy, r.left, r.right);
                }
            }
            if (options & ETO_CLIPPED) {
                clip.IntersectRect(r);
            }
        }
        if (count > 0) {
            if (dc.s.bkMode == OPAQUE) {
                FillQuad(dc, s, clip, bx, by, ux, uy, vx, vy, 0, -m.ascent, width, m.descent,
                         ResolveColor(dc, dc.s.bkColor, s.mono));
            }
            uint32_t color = ResolveColor(dc, dc.s.textColor, s.mono);
            cairo_surface_mark_dirty(cs);
            DrawGlyphs(dc, s, cs, clip, bx, by, text, count, adv.data(), color);
            if (m.underline) {
                FillQuad(dc, s, clip, bx, by, ux, uy, vx, vy, 0, m.underlinePos, width,
                         m.underlinePos + m.underlineThickness, color);
            }
            if (m.strikeout) {
                FillQuad(dc, s, clip, bx, by, ux, uy, vx, vy, 0, -m.strikeoutPos, width,
                         -m.strikeoutPos + m.strikeoutThickness, color);
            }
        }
        FinishDrawing(dc);
    }
    if (dc.s.textAlign & TA_UPDATECP) {
        double move = h == TA_RIGHT ? -width : h == TA_CENTER ? 0 : width;
        POINT next{static_cast<LONG>(std::lround(ref.x + ux * move)),
                   static_cast<LONG>(std::lround(ref.y + uy * move))};
        dc.s.cur = ToLogical(dc.s, next);
    }
    return width;
}

} // namespace gdi

using namespace gdi;

BOOL ExtTextOutW(HDC hdc, int x, int y, UINT options, const RECT* rect, LPCWSTR text, UINT count,
                 const INT* dx) {
    GDI_LOCK();
    Dc* dc = CheckDc(hdc);
    if (!dc || (count > 0 && !text) || count > 0x7FFFFFF) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    if (dc->recording) {
        std::vector<long long> args{x, y, options};
        if (rect) {
            args.insert(args.end(), {rect->left, rect->top, rect->right, rect->bottom});
        }
        Font* f = Get<Font>(dc->s.font, Kind::Font);
        args.push_back(f ? f->lf.lfEscapement : 0);
        Record(*dc, "ExtTextOut", std::move(args), std::u16string(text ? text : u"", count));
    }
    int n = static_cast<int>(count);
    std::vector<int> adv;
    if (dx && n > 0) {
        double sx = std::fabs(ScaleX(dc->s));
        adv.resize(static_cast<size_t>(n));
        for (int i = 0; i < n; ++i) {
            int v = (options & ETO_PDY) ? dx[2 * i] : dx[i];
            adv[i] = static_cast<int>(std::lround(v * sx));
        }
    }
    OutputText(*dc, x, y, options, rect, text, n, adv.empty() ? nullptr : adv.data());
    return TRUE;
}

BOOL TextOutW(HDC hdc, int x, int y, LPCWSTR text, int count) {
    GDI_LOCK();
    Dc* dc = CheckDc(hdc);
    if (!dc || count < 0 || (count > 0 && !text)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    if (dc->recording) {
        Font* f = Get<Font>(dc->s.font, Kind::Font);
        Record(*dc, "TextOut", {x, y, f ? f->lf.lfEscapement : 0}, std::u16string(text ? text : u"", count));
    }
    OutputText(*dc, x, y, 0, nullptr, text, count, nullptr);
    return TRUE;
}

namespace {
// Tab stop after `pos` (logical, relative to the tab origin).
int NextTab(int pos, int tabCount, const INT* tabs, int defaultTab) {
    if (tabCount <= 0 || !tabs) {
        return (pos / defaultTab + 1) * defaultTab;
    }
    if (tabCount == 1) {
        int step = tabs[0] > 0 ? tabs[0] : defaultTab;
        return (pos / step + 1) * step;
    }
    for (int i = 0; i < tabCount; ++i) {
        int t = std::abs(tabs[i]);
        if (t > pos) {
            return t;
        }
    }
    return (pos / defaultTab + 1) * defaultTab;
}

LONG Tabbed(HDC hdc, int x, int y, LPCWSTR text, int count, int tabCount, const INT* tabs, int origin,
            bool draw) {
    GDI_LOCK();
    Dc* dc = CheckDc(hdc);
    if (!dc || count < 0 || (count > 0 && !text)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    TEXTMETRICW tm{};
    FontTextMetrics(*dc, &tm);
    int defaultTab = std::max(1, 8 * static_cast<int>(tm.tmAveCharWidth));
    UINT align = dc->s.textAlign;
    bool updateCp = align & TA_UPDATECP;
    if (updateCp) {
        x = dc->s.cur.x;
        y = dc->s.cur.y;
    }
    if (draw) {
        Record(*dc, "TabbedTextOut", {x, y, tabCount, origin}, std::u16string(text ? text : u"", count));
    }
    dc->s.textAlign = align & ~static_cast<UINT>(TA_UPDATECP);
    bool wasRecording = dc->recording;
    dc->recording = false;
    int pos = x;
    int start = 0;
    for (int i = 0; i <= count; ++i) {
        if (i == count || text[i] == u'\t') {
            SIZE sz{};
            GetTextExtentPoint32W(hdc, text + start, i - start, &sz);
            if (draw && i > start) {
                ExtTextOutW(hdc, pos, y, 0, nullptr, text + start, static_cast<UINT>(i - start), nullptr);
            }
            pos += sz.cx;
            if (i < count) {
                int next = origin + NextTab(pos - origin, tabCount, tabs, defaultTab);
                pos = next;
            }
            start = i + 1;
        }
    }
    dc->recording = wasRecording;
    dc->s.textAlign = align;
    if (draw && updateCp) {
        dc->s.cur.x = pos;
    }
    return MAKELONG(pos - x, tm.tmHeight);
}
} // namespace

LONG TabbedTextOutW(HDC hdc, int x, int y, LPCWSTR text, int count, int tabPositions, const INT* tabStops,
                    int tabOrigin) {
    return Tabbed(hdc, x, y, text, count, tabPositions, tabStops, tabOrigin, true);
}

DWORD GetTabbedTextExtentW(HDC hdc, LPCWSTR text, int count, int tabPositions, const INT* tabStops) {
    return static_cast<DWORD>(Tabbed(hdc, 0, 0, text, count, tabPositions, tabStops, 0, false));
}

BOOL GrayStringW(HDC hdc, HBRUSH brush, GRAYSTRINGPROC outputFunc, LPARAM data, int count, int x, int y,
                 int width, int height) {
    GDI_LOCK();
    Dc* dc = CheckDc(hdc);
    if (!dc) {
        return FALSE;
    }
    const auto* text = reinterpret_cast<const char16_t*>(data);
    if (!outputFunc) {
        if (!text) {
            return FALSE;
        }
        if (count <= 0) {
            count = static_cast<int>(std::char_traits<char16_t>::length(text));
        }
    }
    if ((width == 0 || height == 0) && !outputFunc) {
        SIZE sz{};
        GetTextExtentPoint32W(hdc, text, count, &sz);
        width = width ? width : sz.cx;
        height = height ? height : sz.cy;
    }
    if (width <= 0 || height <= 0) {
        return TRUE;
    }
    Record(*dc, "GrayString", {x, y, width, height},
           outputFunc ? std::u16string() : std::u16string(text, count));
    // Draw black on white into a monochrome bitmap, thin it with a checkerboard, paint what is left.
    HDC mem = CreateCompatibleDC(hdc);
    HBITMAP bmp = CreateBitmap(width, height, 1, 1, nullptr);
    HGDIOBJ oldBmp = SelectObject(mem, bmp);
    PatBlt(mem, 0, 0, width, height, WHITENESS);
    HGDIOBJ oldFont = SelectObject(mem, dc->s.font);
    SetTextColor(mem, RGB(0, 0, 0));
    SetBkMode(mem, TRANSPARENT);
    BOOL ok = TRUE;
    if (outputFunc) {
        ok = outputFunc(mem, data, count);
    } else {
        TextOutW(mem, 0, 0, text, count);
    }
    dc = GetDc(hdc); // the callback may have changed the table
    Bitmap* b = Get<Bitmap>(bmp, Kind::Bitmap);
    Surface ds;
    if (ok && dc && b && TargetSurface(*dc, &ds)) {
        Surface ms = b->Pixels();
        COLORREF c = dc->s.textColor;
        if (Brush* br = Get<Brush>(brush, Kind::Brush); br && br->style == BS_SOLID) {
            c = br->color;
        }
        uint32_t color = ResolveColor(*dc, c, ds.mono);
        std::vector<Span> spans;
        POINT o = ToDevice(dc->s, POINT{x, y});
        for (int yy = 0; yy < height; ++yy) {
            for (int xx = 0; xx < width; ++xx) {
                if ((ms.Row(yy)[xx] & 0xFFFFFF) == 0 && ((xx + yy) & 1) == 0) {
                    spans.push_back(
                        Span{o.y + yy + dc->origin.y, o.x + xx + dc->origin.x, o.x + xx + dc->origin.x + 1});
                }
            }
        }
        Painter p(ds, EffectiveClip(*dc), SolidPaint(color), R2_COPYPEN);
        for (const Span& sp : spans) {
            p.SpanClipped(sp.y, sp.x0, sp.x1);
        }
        FinishDrawing(*dc);
    }
    SelectObject(mem, oldFont);
    SelectObject(mem, oldBmp);
    DeleteObject(bmp);
    DeleteDC(mem);
    return ok;
}
