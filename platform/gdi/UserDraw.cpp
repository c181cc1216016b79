// Rectangle fills, 3-D edges, focus rectangles and frame controls in the classic look.
#include "platform/gdi/GdiPrivate.h"
#include "platform/gdi/SystemColors.h"

#include <algorithm>
#include <cmath>

namespace gdi {

namespace {

// The brush of a FillRect call: a handle, or a system colour index + 1.
bool RectPaint(Dc& dc, HBRUSH brush, bool mono, Paint* out, long long* recordedColor) {
    auto v = reinterpret_cast<uintptr_t>(brush);
    if (v > 0 && v <= COLOR_MENUBAR + 1) {
        COLORREF c = GetSysColor(static_cast<int>(v - 1));
        *out = SolidPaint(ResolveColor(dc, c, mono));
        *recordedColor = c;
        return true;
    }
    Brush* b = Get<Brush>(brush, Kind::Brush);
    if (!b) {
        return false;
    }
    *out = BrushPaint(dc, brush, mono);
    *recordedColor =
        b->style == BS_SOLID ? static_cast<long long>(b->dcBrush ? dc.s.dcBrushColor : b->color) : -1;
    return true;
}

// Fills a device rectangle (surface coordinates) through the clip.
void FillSurfaceRect(const Surface& s, const Region& clip, const RECT& r, const Paint& paint,
                     int rop2 = R2_COPYPEN) {
    if (r.right <= r.left || r.bottom <= r.top) {
        return;
    }
    Painter p(s, clip, paint, rop2);
    for (int y = r.top; y < r.bottom; ++y) {
        p.SpanClipped(y, r.left, r.right);
    }
}

// The rectangle in surface coordinates, ordered as the blits these helpers stand on order their
// extents; false when it covers no pixel.
bool SurfaceRect(Dc& dc, const RECT& logical, RECT* out) {
    RECT r = ToDeviceRect(dc.s, logical);
    if (r.right <= r.left || r.bottom <= r.top) {
        return false;
    }
    OffsetRect(&r, dc.origin.x, dc.origin.y);
    *out = r;
    return true;
}

// Pixel drawing in device units for the frame controls.
struct Canvas {
    Dc& dc;
    Surface s;
    bool ok;
    explicit Canvas(Dc& d) : dc(d) { ok = TargetSurface(dc, &s); }
    ~Canvas() {
        if (ok) {
            FinishDrawing(dc);
        }
    }
    // Device (DC-relative) rectangle.
    void Fill(RECT r, COLORREF c) {
        if (!ok) {
            return;
        }
        OffsetRect(&r, dc.origin.x, dc.origin.y);
        FillSurfaceRect(s, EffectiveClip(dc), r, SolidPaint(ResolveColor(dc, c, s.mono)));
    }
    void Pixel(int x, int y, COLORREF c) { Fill(RECT{x, y, x + 1, y + 1}, c); }
    void SysFill(RECT r, int index) { Fill(r, GetSysColor(index)); }
};

// ---- DrawEdge
struct EdgeColors {
    int tl; // system colour index, -1 none
    int br;
};

void EdgeLine(Canvas& c, const RECT& r, UINT flags, EdgeColors col) {
    if (col.tl >= 0) {
        if (flags & BF_TOP) {
            c.SysFill(RECT{r.left, r.top, r.right - ((flags & BF_RIGHT) ? 1 : 0), r.top + 1}, col.tl);
        }
        if (flags & BF_LEFT) {
            c.SysFill(RECT{r.left, r.top, r.left + 1, r.bottom - ((flags & BF_BOTTOM) ? 1 : 0)}, col.tl);
        }
    }
    if (col.br >= 0) {
        if (flags & BF_BOTTOM) {
            c.SysFill(RECT{r.left, r.bottom - 1, r.right, r.bottom}, col.br);
        }
        if (flags & BF_RIGHT) {
            c.SysFill(RECT{r.right - 1, r.top, r.right, r.bottom}, col.br);
        }
    }
}

RECT Deflate(RECT r, UINT flags) {
    if (flags & BF_LEFT) {
        ++r.left;
    }
    if (flags & BF_TOP) {
        ++r.top;
    }
    if (flags & BF_RIGHT) {
        --r.right;
    }
    if (flags & BF_BOTTOM) {
        --r.bottom;
    }
    return r;
}

} // namespace

} // namespace gdi

using namespace gdi;

int FillRect(HDC hdc, const RECT* rect, HBRUSH brush) {
    GDI_LOCK();
    Dc* dc = CheckDc(hdc);
    if (!dc || !rect) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    Surface s;
    bool ok = TargetSurface(*dc, &s);
    Paint paint;
    long long color = -1;
    if (!RectPaint(*dc, brush, ok && s.mono, &paint, &color)) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    Record(*dc, "FillRect", {rect->left, rect->top, rect->right, rect->bottom, color});
    RECT sr;
    if (!ok || !SurfaceRect(*dc, *rect, &sr)) {
        return TRUE;
    }
    FillSurfaceRect(s, EffectiveClip(*dc), sr, paint);
    FinishDrawing(*dc);
    return TRUE;
}

int FrameRect(HDC hdc, const RECT* rect, HBRUSH brush) {
    GDI_LOCK();
    Dc* dc = CheckDc(hdc);
    if (!dc || !rect) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    Surface s;
    bool ok = TargetSurface(*dc, &s);
    Paint paint;
    long long color = -1;
    if (!RectPaint(*dc, brush, ok && s.mono, &paint, &color)) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    Record(*dc, "FrameRect", {rect->left, rect->top, rect->right, rect->bottom, color});
    RECT r;
    if (!ok || !SurfaceRect(*dc, *rect, &r)) {
        return TRUE;
    }
    const Region& clip = EffectiveClip(*dc);
    FillSurfaceRect(s, clip, RECT{r.left, r.top, r.right, r.top + 1}, paint);
    FillSurfaceRect(s, clip, RECT{r.left, r.bottom - 1, r.right, r.bottom}, paint);
    FillSurfaceRect(s, clip, RECT{r.left, r.top + 1, r.left + 1, r.bottom - 1}, paint);
    FillSurfaceRect(s, clip, RECT{r.right - 1, r.top + 1, r.right, r.bottom - 1}, paint);
    FinishDrawing(*dc);
    return TRUE;
}

BOOL InvertRect(HDC hdc, const RECT* rect) {
    GDI_LOCK();
    Dc* dc = CheckDc(hdc);
    if (!dc || !rect) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    Record(*dc, "InvertRect", {rect->left, rect->top, rect->right, rect->bottom});
    Surface s;
    RECT sr;
    if (!TargetSurface(*dc, &s) || !SurfaceRect(*dc, *rect, &sr)) {
        return TRUE;
    }
    FillSurfaceRect(s, EffectiveClip(*dc), sr, SolidPaint(0xFFFFFF), R2_XORPEN);
    FinishDrawing(*dc);
    return TRUE;
}

BOOL DrawFocusRect(HDC hdc, const RECT* rect) {
    GDI_LOCK();
    Dc* dc = CheckDc(hdc);
    if (!dc || !rect) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    Record(*dc, "DrawFocusRect", {rect->left, rect->top, rect->right, rect->bottom});
    Surface s;
    if (!TargetSurface(*dc, &s)) {
        return TRUE;
    }
    RECT d = ToDeviceRect(dc->s, *rect);
    if (d.right <= d.left || d.bottom <= d.top) {
        return TRUE;
    }
    // Every other pixel of the one-pixel frame inverted, the dots aligned to the brush origin.
    std::vector<Span> spans;
    auto dot = [&](int x, int y) {
        if (((x - dc->s.brushOrg.x) + (y - dc->s.brushOrg.y)) % 2 == 0) {
            spans.push_back(Span{y + dc->origin.y, x + dc->origin.x, x + dc->origin.x + 1});
        }
    };
    for (int x = d.left; x < d.right; ++x) {
        dot(x, d.top);
        if (d.bottom - 1 > d.top) {
            dot(x, d.bottom - 1);
        }
    }
    for (int y = d.top + 1; y < d.bottom - 1; ++y) {
        dot(d.left, y);
        if (d.right - 1 > d.left) {
            dot(d.right - 1, y);
        }
    }
    Paint white = SolidPaint(0xFFFFFF);
    Painter p(s, EffectiveClip(*dc), white, R2_XORPEN);
    for (const Span& sp : spans) {
        p.SpanClipped(sp.y, sp.x0, sp.x1);
    }
    FinishDrawing(*dc);
    return TRUE;
}

BOOL DrawEdge(HDC hdc, LPRECT rect, UINT edge, UINT flags) {
    GDI_LOCK();
    Dc* dc = CheckDc(hdc);
    if (!dc || !rect) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    Record(*dc, "DrawEdge", {rect->left, rect->top, rect->right, rect->bottom, edge, flags});
    RECT r = ToDeviceRect(dc->s, *rect);
    bool hasOuter = edge & BDR_OUTER;
    bool hasInner = edge & BDR_INNER;
    bool soft = flags & BF_SOFT;
    auto level = [&](bool outer) -> EdgeColors {
        UINT bits = outer ? (edge & BDR_OUTER) : ((edge & BDR_INNER) >> 2);
        if (flags & BF_MONO) {
            return outer ? EdgeColors{COLOR_WINDOWFRAME, COLOR_WINDOWFRAME}
                         : EdgeColors{COLOR_WINDOW, COLOR_WINDOW};
        }
        if (flags & BF_FLAT) {
            return outer ? EdgeColors{COLOR_BTNSHADOW, COLOR_BTNSHADOW}
                         : EdgeColors{COLOR_BTNFACE, COLOR_BTNFACE};
        }
        bool raised = bits & 1;
        bool sunken = bits & 2;
        if (raised && sunken) {
            raised = false; // both: the sunken look wins
        }
        if (outer) {
            if (raised) {
                return EdgeColors{soft ? COLOR_BTNHIGHLIGHT : COLOR_3DLIGHT, COLOR_3DDKSHADOW};
            }
            return EdgeColors{soft ? COLOR_3DDKSHADOW : COLOR_BTNSHADOW, COLOR_BTNHIGHLIGHT};
        }
        if (raised) {
            return EdgeColors{soft ? COLOR_3DLIGHT : COLOR_BTNHIGHLIGHT, COLOR_BTNSHADOW};
        }
        return EdgeColors{soft ? COLOR_BTNSHADOW : COLOR_3DDKSHADOW, COLOR_3DLIGHT};
    };
    if (flags & BF_DIAGONAL) {
        // A line between two corners: the side flags name the corner where it ends.
        Canvas c(*dc);
        POINT from{r.left, r.bottom - 1};
        POINT to{r.right - 1, r.top};
        switch (flags & BF_RECT) {
        case BF_TOPLEFT:
            from = POINT{r.right - 1, r.bottom - 1};
            to = POINT{r.left, r.top};
            break;
        case BF_BOTTOMLEFT:
            from = POINT{r.right - 1, r.top};
            to = POINT{r.left, r.bottom - 1};
            break;
        case BF_BOTTOMRIGHT:
            from = POINT{r.left, r.top};
            to = POINT{r.right - 1, r.bottom - 1};
            break;
        default:
            break;
        }
        int lines = 0;
        for (bool outer : {true, false}) {
            if (!(outer ? hasOuter : hasInner)) {
                continue;
            }
            EdgeColors col = level(outer);
            int color = to.y < from.y ? col.tl : col.br;
            int shift = lines++;
            BresenhamLine(from.x, from.y + shift, to.x, to.y + shift,
                          [&](int x, int y) { c.Pixel(x, y, GetSysColor(color)); });
            c.Pixel(to.x, to.y + shift, GetSysColor(color));
        }
        return TRUE;
    }
    {
        Canvas c(*dc);
        RECT cur = r;
        if (hasOuter) {
            EdgeLine(c, cur, flags, level(true));
            cur = Deflate(cur, flags);
        }
        if (hasInner) {
            EdgeLine(c, cur, flags, level(false));
            cur = Deflate(cur, flags);
        }
        if (flags & BF_MIDDLE) {
            c.SysFill(cur, (flags & BF_MONO) ? COLOR_WINDOW : COLOR_BTNFACE);
        }
        if (flags & BF_ADJUST) {
            // Back to logical units: the edges' widths leave the rectangle.
            POINT a = ToLogical(dc->s, POINT{cur.left, cur.top});
            POINT b = ToLogical(dc->s, POINT{cur.right, cur.bottom});
            *rect = RECT{a.x, a.y, b.x, b.y};
        }
    }
    return TRUE;
}

namespace {

void Pattern(Canvas& c, int x0, int y0, const char* const* rows, int h, COLORREF color) {
    for (int y = 0; y < h; ++y) {
        for (int x = 0; rows[y][x]; ++x) {
            if (rows[y][x] == 'X') {
                c.Pixel(x0 + x, y0 + y, color);
            }
        }
    }
}

const char* const kCheck[7] = {"......X", ".....XX", "X...XXX", "XX.XXX.", "XXXXX..", ".XXX...", "..X...."};

void DrawCheckMark(Canvas& c, const RECT& box, COLORREF color) {
    int x = box.left + (box.right - box.left - 7) / 2;
    int y = box.top + (box.bottom - box.top - 7) / 2;
    Pattern(c, x, y, kCheck, 7, color);
}

// Arrow triangle pointing `dir` (0 up, 1 down, 2 left, 3 right) centred in r.
void DrawArrow(Canvas& c, const RECT& r, int dir, COLORREF color, int dx = 0, int dy = 0) {
    int w = r.right - r.left;
    int h = r.bottom - r.top;
    int size = std::max(1, (std::min(w, h) - 4) / 2); // rows of the triangle
    if (size > 4 && std::min(w, h) < 20) {
        size = 4;
    }
    int cx = r.left + w / 2 + dx;
    int cy = r.top + h / 2 + dy;
    for (int i = 0; i < size; ++i) {
        int half = i; // the tip row is one pixel wide
        if (dir == 0 || dir == 1) {
            int y = dir == 0 ? cy - size / 2 + i : cy + (size - 1) / 2 - i;
            c.Fill(RECT{cx - half, y, cx + half + 1, y + 1}, color);
        } else {
            int x = dir == 2 ? cx - size / 2 + i : cx + (size - 1) / 2 - i;
            c.Fill(RECT{x, cy - half, x + 1, cy + half + 1}, color);
        }
    }
}

void ButtonFace(Canvas& c, RECT r, UINT state) {
    if (state & (DFCS_PUSHED | DFCS_CHECKED)) {
        if (state & DFCS_FLAT) {
            c.SysFill(r, COLOR_BTNSHADOW);
            c.SysFill(RECT{r.left + 1, r.top + 1, r.right - 1, r.bottom - 1}, COLOR_BTNFACE);
        } else {
            // Pushed: a dark frame and a shadow line inside.
            c.SysFill(RECT{r.left, r.top, r.right, r.bottom}, COLOR_3DDKSHADOW);
            c.SysFill(RECT{r.left + 1, r.top + 1, r.right - 1, r.bottom - 1}, COLOR_BTNSHADOW);
            c.SysFill(RECT{r.left + 2, r.top + 2, r.right - 1, r.bottom - 1}, COLOR_BTNFACE);
        }
        return;
    }
    HDC hdc = c.dc.self;
    RECT lr = r;
    POINT a = ToLogical(c.dc.s, POINT{lr.left, lr.top});
    POINT b = ToLogical(c.dc.s, POINT{lr.right, lr.bottom});
    RECT logical{a.x, a.y, b.x, b.y};
    UINT flags = BF_RECT | BF_MIDDLE | BF_SOFT;
    if (state & DFCS_FLAT) {
        flags = BF_RECT | BF_MIDDLE | BF_FLAT;
    }
    if (state & DFCS_MONO) {
        flags = BF_RECT | BF_MIDDLE | BF_MONO;
    }
    DrawEdge(hdc, &logical, EDGE_RAISED, flags);
}

const char* const kRadio[12] = {"....OOOO....", "..OOIIIIOO..", ".OIIWWWWIIO.", ".OIWWWWWWIO.",
                                "OIWWWWWWWWIO", "OIWWWWWWWWIO", "OIWWWWWWWWIO", "OIWWWWWWWWIO",
                                ".OIWWWWWWIO.", ".OIIWWWWIIO.", "..OOIIIIOO..", "....OOOO...."};
const char* const kDot[4] = {".XX.", "XXXX", "XXXX", ".XX."};

BOOL DrawButton(Canvas& c, RECT r, UINT state) {
    UINT kind = state & 0x1F;
    if (kind & DFCS_BUTTONPUSH) {
        ButtonFace(c, r, state);
        return TRUE;
    }
    int size = std::min(r.right - r.left, r.bottom - r.top);
    if (kind == DFCS_BUTTONRADIO || kind == DFCS_BUTTONRADIOIMAGE || kind == DFCS_BUTTONRADIOMASK) {
        int x0 = r.left + (r.right - r.left - 12) / 2;
        int y0 = r.top + (r.bottom - r.top - 12) / 2;
        bool mask = kind == DFCS_BUTTONRADIOMASK;
        bool grey = state & (DFCS_PUSHED | DFCS_INACTIVE);
        for (int y = 0; y < 12; ++y) {
            for (int x = 0; x < 12; ++x) {
                char k = kRadio[y][x];
                if (k == '.') {
                    if (mask) {
                        c.Pixel(x0 + x, y0 + y, RGB(255, 255, 255));
                    }
                    continue;
                }
                if (mask) {
                    c.Pixel(x0 + x, y0 + y, RGB(0, 0, 0));
                    continue;
                }
                bool upperLeft = x + y < 11;
                int index = k == 'O'   ? (upperLeft ? COLOR_BTNSHADOW : COLOR_BTNHIGHLIGHT)
                            : k == 'I' ? (upperLeft ? COLOR_3DDKSHADOW : COLOR_3DLIGHT)
                                       : (grey ? COLOR_BTNFACE : COLOR_WINDOW);
                c.Pixel(x0 + x, y0 + y, GetSysColor(index));
            }
        }
        if ((state & DFCS_CHECKED) && !mask) {
            COLORREF dotColor =
                (state & DFCS_INACTIVE) ? GetSysColor(COLOR_BTNSHADOW) : GetSysColor(COLOR_WINDOWTEXT);
            Pattern(c, x0 + 4, y0 + 4, kDot, 4, dotColor);
        }
        return TRUE;
    }
    // Check boxes: a sunken square with a tick.
    int box = std::min(size, 13);
    RECT b{r.left + (r.right - r.left - box) / 2, r.top + (r.bottom - r.top - box) / 2, 0, 0};
    b.right = b.left + box;
    b.bottom = b.top + box;
    if (state & DFCS_MONO) {
        c.SysFill(b, COLOR_WINDOWFRAME);
        c.SysFill(RECT{b.left + 1, b.top + 1, b.right - 1, b.bottom - 1}, COLOR_WINDOW);
    } else if (state & DFCS_FLAT) {
        c.SysFill(b, COLOR_BTNSHADOW);
        c.SysFill(RECT{b.left + 1, b.top + 1, b.right - 1, b.bottom - 1}, COLOR_WINDOW);
    } else {
        POINT la = ToLogical(c.dc.s, POINT{b.left, b.top});
        POINT lb = ToLogical(c.dc.s, POINT{b.right, b.bottom});
        RECT logical{la.x, la.y, lb.x, lb.y};
        DrawEdge(c.dc.self, &logical, EDGE_SUNKEN, BF_RECT);
        bool grey =
            (state & (DFCS_PUSHED | DFCS_INACTIVE)) || ((kind & DFCS_BUTTON3STATE) && (state & DFCS_CHECKED));
        c.SysFill(RECT{b.left + 2, b.top + 2, b.right - 2, b.bottom - 2},
                  grey ? COLOR_BTNFACE : COLOR_WINDOW);
    }
    if (state & DFCS_CHECKED) {
        bool greyMark = (state & DFCS_INACTIVE) || (kind & DFCS_BUTTON3STATE);
        DrawCheckMark(c, b, GetSysColor(greyMark ? COLOR_BTNSHADOW : COLOR_WINDOWTEXT));
    }
    return TRUE;
}

BOOL DrawScroll(Canvas& c, RECT r, UINT state) {
    UINT kind = state & 0x1F;
    if (kind == DFCS_SCROLLSIZEGRIP || kind == DFCS_SCROLLSIZEGRIPRIGHT) {
        c.SysFill(r, COLOR_BTNFACE);
        // Three diagonal ridges in the corner, lit from the top left: two shadow lines nearer the corner and
        // a highlight line beyond them.
        int n = std::min(r.right - r.left, r.bottom - r.top);
        for (int k = 0; k < 3; ++k) {
            for (int line = 0; line < 3; ++line) {
                int dist = 4 * k + 1 + line;
                if (dist >= n) {
                    break;
                }
                COLORREF col = GetSysColor(line == 2 ? COLOR_BTNHIGHLIGHT : COLOR_BTNSHADOW);
                for (int i = 0; i <= dist; ++i) {
                    c.Pixel(r.right - 1 - i, r.bottom - 1 - (dist - i), col);
                }
            }
        }
        return TRUE;
    }
    ButtonFace(c, r, state);
    int dir = kind == DFCS_SCROLLUP                                    ? 0
              : kind == DFCS_SCROLLDOWN || kind == DFCS_SCROLLCOMBOBOX ? 1
              : kind == DFCS_SCROLLLEFT                                ? 2
                                                                       : 3;
    int shift = (state & DFCS_PUSHED) ? 1 : 0;
    if (state & DFCS_INACTIVE) {
        DrawArrow(c, r, dir, GetSysColor(COLOR_BTNHIGHLIGHT), 1 + shift, 1 + shift);
        DrawArrow(c, r, dir, GetSysColor(COLOR_BTNSHADOW), shift, shift);
    } else {
        DrawArrow(c, r, dir, GetSysColor(COLOR_BTNTEXT), shift, shift);
    }
    return TRUE;
}

BOOL DrawCaption(Canvas& c, RECT r, UINT state) {
    ButtonFace(c, r, state);
    int shift = (state & DFCS_PUSHED) ? 1 : 0;
    COLORREF ink = GetSysColor((state & DFCS_INACTIVE) ? COLOR_BTNSHADOW : COLOR_BTNTEXT);
    int w = r.right - r.left;
    int h = r.bottom - r.top;
    int s = std::max(4, std::min(w, h) - 6); // glyph box
    int x0 = r.left + (w - s) / 2 + shift;
    int y0 = r.top + (h - s) / 2 + shift;
    auto draw = [&](COLORREF col, int ox, int oy) {
        switch (state & 0x1F) {
        case DFCS_CAPTIONCLOSE:
            for (int i = 0; i < s; ++i) {
                c.Fill(RECT{x0 + ox + i, y0 + oy + i, x0 + ox + i + 2, y0 + oy + i + 1}, col);
                c.Fill(RECT{x0 + ox + s - 2 - i, y0 + oy + i, x0 + ox + s - i, y0 + oy + i + 1}, col);
            }
            break;
        case DFCS_CAPTIONMIN:
            c.Fill(RECT{x0 + ox, y0 + oy + s - 2, x0 + ox + s - 2, y0 + oy + s}, col);
            break;
        case DFCS_CAPTIONMAX:
            c.Fill(RECT{x0 + ox, y0 + oy, x0 + ox + s, y0 + oy + 2}, col);
            c.Fill(RECT{x0 + ox, y0 + oy, x0 + ox + 1, y0 + oy + s}, col);
            c.Fill(RECT{x0 + ox + s - 1, y0 + oy, x0 + ox + s, y0 + oy + s}, col);
            c.Fill(RECT{x0 + ox, y0 + oy + s - 1, x0 + ox + s, y0 + oy + s}, col);
            break;
        case DFCS_CAPTIONRESTORE: {
            int b = s * 2 / 3;
            int bx = x0 + ox + s - b;
            int by = y0 + oy;
            c.Fill(RECT{bx, by, bx + b, by + 2}, col);
            c.Fill(RECT{bx + b - 1, by, bx + b, by + b}, col);
            int fx = x0 + ox;
            int fy = y0 + oy + s - b;
            c.Fill(RECT{fx, fy, fx + b, fy + 2}, col);
            c.Fill(RECT{fx, fy, fx + 1, fy + b}, col);
            c.Fill(RECT{fx + b - 1, fy, fx + b, fy + b}, col);
            c.Fill(RECT{fx, fy + b - 1, fx + b, fy + b}, col);
            break;
        }
        case DFCS_CAPTIONHELP: {
            int cx = x0 + ox + s / 2;
            c.Fill(RECT{cx - 2, y0 + oy, cx + 2, y0 + oy + 1}, col);
            c.Fill(RECT{cx - 3, y0 + oy + 1, cx - 1, y0 + oy + 3}, col);
            c.Fill(RECT{cx + 1, y0 + oy + 1, cx + 3, y0 + oy + s / 2}, col);
            c.Fill(RECT{cx - 1, y0 + oy + s / 2, cx + 1, y0 + oy + s - 3}, col);
            c.Fill(RECT{cx - 1, y0 + oy + s - 2, cx + 1, y0 + oy + s}, col);
            break;
        }
        default:
            break;
        }
    };
    if (state & DFCS_INACTIVE) {
        draw(GetSysColor(COLOR_BTNHIGHLIGHT), 1, 1);
    }
    draw(ink, 0, 0);
    return TRUE;
}

BOOL DrawMenuMark(Canvas& c, RECT r, UINT state) {
    // Black marks on white, for use as masks, as the original draws them.
    c.Fill(r, RGB(255, 255, 255));
    COLORREF black = RGB(0, 0, 0);
    switch (state & 0x1F) {
    case DFCS_MENUCHECK:
        DrawCheckMark(c, r, black);
        break;
    case DFCS_MENUBULLET: {
        int x0 = r.left + (r.right - r.left - 4) / 2;
        int y0 = r.top + (r.bottom - r.top - 4) / 2;
        Pattern(c, x0, y0, kDot, 4, black);
        break;
    }
    case DFCS_MENUARROW:
        DrawArrow(c, r, 3, black);
        break;
    case DFCS_MENUARROWRIGHT:
        DrawArrow(c, r, 2, black);
        break;
    default:
        break;
    }
    return TRUE;
}

} // namespace

BOOL DrawFrameControl(HDC hdc, LPRECT rect, UINT type, UINT state) {
    GDI_LOCK();
    Dc* dc = CheckDc(hdc);
    if (!dc || !rect) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    Record(*dc, "DrawFrameControl", {rect->left, rect->top, rect->right, rect->bottom, type, state});
    bool wasRecording = dc->recording;
    dc->recording = false;
    RECT r = ToDeviceRect(dc->s, *rect);
    BOOL ok = FALSE;
    {
        Canvas c(*dc);
        switch (type) {
        case DFC_BUTTON:
            ok = DrawButton(c, r, state);
            break;
        case DFC_SCROLL:
            ok = DrawScroll(c, r, state);
            break;
        case DFC_CAPTION:
            ok = DrawCaption(c, r, state);
            break;
        case DFC_MENU:
        case DFC_POPUPMENU:
            ok = DrawMenuMark(c, r, state);
            break;
        default:
            SetLastError(ERROR_INVALID_PARAMETER);
            break;
        }
    }
    dc->recording = wasRecording;
    if (ok && (state & DFCS_ADJUSTRECT)) {
        InflateRect(rect, -2, -2);
    }
    return ok;
}
