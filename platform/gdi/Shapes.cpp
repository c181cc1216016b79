// Lines, curves and filled shapes, and the path bracket that collects them instead of drawing.
#include "platform/gdi/GdiPrivate.h"

#include <algorithm>
#include <cmath>

namespace gdi {

namespace {

using Pts = std::vector<std::pair<double, double>>;

struct PenInfo {
    bool null = true;
    bool cosmetic = true;
    bool insideFrame = false;
    double width = 1; // device pixels
    Paint paint;
    std::vector<int> dashes; // cosmetic: on/off runs in pixels
    StrokeStyle stroke;
};

PenInfo RealizePen(Dc& dc, bool mono) {
    PenInfo pi;
    Pen* pen = Get<Pen>(dc.s.pen, Kind::Pen);
    if (!pen || pen->LineStyle() == PS_NULL) {
        return pi;
    }
    pi.null = false;
    COLORREF color = pen->dcPen ? dc.s.dcPenColor : pen->color;
    if (pen->ext && pen->Geometric() && pen->brushStyle == BS_HATCHED) {
        auto tmp = std::make_shared<Brush>();
        tmp->style = BS_HATCHED;
        tmp->color = color;
        tmp->hatch = static_cast<int>(pen->hatch);
        HGDIOBJ h = AddObject(tmp);
        pi.paint = BrushPaint(dc, h, mono);
        RemoveObject(h);
    } else {
        pi.paint = SolidPaint(ResolveColor(dc, color, mono));
    }
    int style = pen->LineStyle();
    bool geometric = pen->ext ? pen->Geometric() : pen->width > 1;
    double w = pen->width * std::fabs(ScaleX(dc.s));
    if (geometric && std::lround(w) > 1) {
        pi.cosmetic = false;
        pi.width = std::max(1.0, std::round(w));
    }
    pi.insideFrame = style == PS_INSIDEFRAME;
    if (pi.cosmetic) {
        switch (style) {
        case PS_DASH:
            pi.dashes = {18, 6};
            break;
        case PS_DOT:
            pi.dashes = {3, 3};
            break;
        case PS_DASHDOT:
            pi.dashes = {9, 6, 3, 6};
            break;
        case PS_DASHDOTDOT:
            pi.dashes = {9, 3, 3, 3, 3, 3};
            break;
        case PS_ALTERNATE:
            pi.dashes = {1, 1};
            break;
        case PS_USERSTYLE:
            for (DWORD d : pen->userStyle) {
                pi.dashes.push_back(static_cast<int>(std::max<DWORD>(d, 1)));
            }
            if (pi.dashes.size() % 2) {
                pi.dashes.push_back(pi.dashes.back());
            }
            break;
        default:
            break;
        }
        return pi;
    }
    DWORD cap = pen->ext ? (pen->style & PS_ENDCAP_MASK) : PS_ENDCAP_ROUND;
    DWORD join = pen->ext ? (pen->style & PS_JOIN_MASK) : PS_JOIN_ROUND;
    pi.stroke.width = pi.width;
    pi.stroke.cap = cap == PS_ENDCAP_SQUARE ? CAIRO_LINE_CAP_SQUARE
                    : cap == PS_ENDCAP_FLAT ? CAIRO_LINE_CAP_BUTT
                                            : CAIRO_LINE_CAP_ROUND;
    pi.stroke.join = join == PS_JOIN_BEVEL   ? CAIRO_LINE_JOIN_BEVEL
                     : join == PS_JOIN_MITER ? CAIRO_LINE_JOIN_MITER
                                             : CAIRO_LINE_JOIN_ROUND;
    double unit = pi.width;
    switch (style) {
    case PS_DASH:
        pi.stroke.dashes = {3 * unit, unit};
        break;
    case PS_DOT:
        pi.stroke.dashes = {unit, unit};
        break;
    case PS_DASHDOT:
        pi.stroke.dashes = {3 * unit, unit, unit, unit};
        break;
    case PS_DASHDOTDOT:
        pi.stroke.dashes = {3 * unit, unit, unit, unit, unit, unit};
        break;
    case PS_USERSTYLE:
        for (DWORD d : pen->userStyle) {
            pi.stroke.dashes.push_back(std::max(0.5, d * std::fabs(ScaleX(dc.s))));
        }
        break;
    default:
        break;
    }
    return pi;
}

// A drawing in progress on a DC: its surface and clip, finished (DIB bits, cairo) when it goes.
struct Drawing {
    explicit Drawing(Dc& d) : dc(d) { ok = TargetSurface(dc, &s); }
    ~Drawing() {
        if (ok) {
            FinishDrawing(dc);
        }
    }
    Dc& dc;
    Surface s;
    bool ok = false;
    const Region& Clip() { return EffectiveClip(dc); }
};

// Cosmetic pixels of one line with the pen's style; the dash position carries on in dc.styleRun.
class CosmeticPlotter {
public:
    CosmeticPlotter(Drawing& d, const PenInfo& pen)
        : d_(d), pen_(pen), on_(d.s, d.Clip(), pen.paint, d.dc.s.rop2),
          bkPaint_(SolidPaint(ResolveColor(d.dc, d.dc.s.bkColor, d.s.mono))),
          off_(d.s, d.Clip(), bkPaint_, d.dc.s.rop2) {
        for (int v : pen.dashes) {
            total_ += v;
        }
    }
    void Plot(int x, int y) {
        if (pen_.dashes.empty()) {
            on_.Pixel(x, y);
            return;
        }
        int pos = d_.dc.styleRun++ % total_;
        bool on = true;
        for (size_t i = 0; i < pen_.dashes.size(); ++i) {
            if (pos < pen_.dashes[i]) {
                on = (i % 2) == 0;
                break;
            }
            pos -= pen_.dashes[i];
        }
        if (on) {
            on_.Pixel(x, y);
        } else if (d_.dc.s.bkMode == OPAQUE) {
            off_.Pixel(x, y);
        }
    }
    // Device line from a to b, end pixel excluded.
    void Line(POINT a, POINT b) {
        int ox = d_.dc.origin.x;
        int oy = d_.dc.origin.y;
        BresenhamLine(a.x + ox, a.y + oy, b.x + ox, b.y + oy, [&](int x, int y) { Plot(x, y); });
    }

private:
    Drawing& d_;
    const PenInfo& pen_;
    Painter on_;
    Paint bkPaint_;
    Painter off_;
    int total_ = 0;
};

void PaintSpans(Drawing& d, const std::vector<Span>& spans, const Paint& paint) {
    Painter p(d.s, d.Clip(), paint, d.dc.s.rop2);
    for (const Span& sp : spans) {
        p.SpanClipped(sp.y, sp.x0, sp.x1);
    }
}

RECT ClipBoxOf(Drawing& d) {
    RECT box = d.Clip().Box();
    return box;
}

// Figures given in device coordinates moved to surface coordinates (+0.5 for pixel centres when stroking).
std::vector<PathFigure> ToSurface(const Dc& dc, std::vector<PathFigure> figures, double centre) {
    for (PathFigure& f : figures) {
        for (auto& [x, y] : f.pts) {
            x += dc.origin.x + centre;
            y += dc.origin.y + centre;
        }
    }
    return figures;
}

void StrokeGeometric(Drawing& d, const PenInfo& pen, const std::vector<PathFigure>& deviceFigures) {
    auto figs = ToSurface(d.dc, deviceFigures, 0.5);
    PaintSpans(d, RasterizeStroke(figs, pen.stroke, ClipBoxOf(d)), pen.paint);
}

// The pixels of a cosmetic curve through device points (pixel centres at +0.5), each painted once.
std::vector<Span> CurvePixels(const Pts& pts, bool closed) {
    std::vector<std::pair<int, int>> px; // (y, x)
    POINT prev{0, 0};
    bool have = false;
    auto add = [&](int x, int y) { px.emplace_back(y, x); };
    for (size_t i = 0; i <= pts.size(); ++i) {
        if (i == pts.size() && !closed) {
            break;
        }
        const auto& p = pts[i % pts.size()];
        POINT q{static_cast<LONG>(std::floor(p.first)), static_cast<LONG>(std::floor(p.second))};
        if (have) {
            BresenhamLine(prev.x, prev.y, q.x, q.y, add);
        }
        prev = q;
        have = true;
    }
    if (have) {
        add(prev.x, prev.y);
    }
    std::sort(px.begin(), px.end());
    px.erase(std::unique(px.begin(), px.end()), px.end());
    std::vector<Span> spans;
    for (const auto& [y, x] : px) {
        if (!spans.empty() && spans.back().y == y && spans.back().x1 == x) {
            ++spans.back().x1;
        } else {
            spans.push_back(Span{y, x, x + 1});
        }
    }
    return spans;
}

std::vector<Span> Offset(std::vector<Span> spans, int dx, int dy) {
    for (Span& s : spans) {
        s.y += dy;
        s.x0 += dx;
        s.x1 += dx;
    }
    return spans;
}

// Paints the outline spans of a cosmetic curve with the pen (styled pens are drawn solid along curves'
// pixel order is not kept; dashes follow the sorted pixel order only for straight parts).
void PaintCosmeticCurve(Drawing& d, const PenInfo& pen, const Pts& devicePts, bool closed) {
    if (pen.dashes.empty()) {
        PaintSpans(d, Offset(CurvePixels(devicePts, closed), d.dc.origin.x, d.dc.origin.y), pen.paint);
        return;
    }
    // Styled: walk the curve in order so the dashes follow it, skipping repeated pixels.
    CosmeticPlotter plot(d, pen);
    std::vector<std::pair<int, int>> seen;
    POINT prev{0, 0};
    bool have = false;
    auto visit = [&](int x, int y) {
        if (!seen.empty() && seen.back() == std::make_pair(x, y)) {
            return;
        }
        seen.emplace_back(x, y);
        plot.Plot(x + d.dc.origin.x, y + d.dc.origin.y);
    };
    for (size_t i = 0; i <= devicePts.size(); ++i) {
        if (i == devicePts.size() && !closed) {
            break;
        }
        const auto& p = devicePts[i % devicePts.size()];
        POINT q{static_cast<LONG>(std::floor(p.first)), static_cast<LONG>(std::floor(p.second))};
        if (have) {
            BresenhamLine(prev.x, prev.y, q.x, q.y, visit);
        }
        prev = q;
        have = true;
    }
}

// ---- Path recording
void PathMoveTo(Dc& dc, POINT dev) {
    dc.path.figures.push_back(PathFigure{{{static_cast<double>(dev.x), static_cast<double>(dev.y)}}, false});
}

void PathLineTo(Dc& dc, POINT from, POINT to) {
    if (dc.path.figures.empty() || dc.path.figures.back().closed) {
        PathMoveTo(dc, from);
    }
    dc.path.figures.back().pts.emplace_back(to.x, to.y);
}

void PathAddFigure(Dc& dc, Pts pts, bool closed) {
    dc.path.figures.push_back(PathFigure{std::move(pts), closed});
}

bool InPath(Dc& dc) {
    return dc.path.open;
}

Pts DevicePoints(Dc& dc, const POINT* pts, int n) {
    Pts out;
    out.reserve(static_cast<size_t>(n));
    for (int i = 0; i < n; ++i) {
        POINT p = ToDevice(dc.s, pts[i]);
        out.emplace_back(p.x, p.y);
    }
    return out;
}

void StrokePolyline(Drawing& d, const PenInfo& pen, const std::vector<POINT>& dev, bool closed) {
    if (pen.null || dev.empty()) {
        return;
    }
    if (pen.cosmetic) {
        CosmeticPlotter plot(d, pen);
        for (size_t i = 1; i < dev.size(); ++i) {
            plot.Line(dev[i - 1], dev[i]);
        }
        if (closed && dev.size() > 1) {
            plot.Line(dev.back(), dev.front());
        }
        return;
    }
    PathFigure f;
    for (POINT p : dev) {
        f.pts.emplace_back(p.x, p.y);
    }
    f.closed = closed;
    StrokeGeometric(d, pen, {f});
}

std::vector<POINT> ToDevicePoints(Dc& dc, const POINT* pts, int n) {
    std::vector<POINT> out(static_cast<size_t>(n));
    for (int i = 0; i < n; ++i) {
        out[i] = ToDevice(dc.s, pts[i]);
    }
    return out;
}

void RecordPoints(Dc& dc, const char* op, const POINT* pts, int n) {
    if (!dc.recording) {
        return;
    }
    std::vector<long long> args;
    for (int i = 0; i < n; ++i) {
        args.push_back(pts[i].x);
        args.push_back(pts[i].y);
    }
    Record(dc, op, std::move(args));
}

// Fills device-coordinate polygons with the DC's brush, leaving out `hole` pixels (surface coordinates).
void FillPolygons(Drawing& d, const std::vector<PathFigure>& deviceFigures, bool winding,
                  const Region* hole) {
    Paint paint = BrushPaint(d.dc, d.dc.s.brush, d.s.mono);
    if (paint.none) {
        return;
    }
    auto figs = ToSurface(d.dc, deviceFigures, 0);
    std::vector<Span> spans = RasterizeFill(figs, winding, ClipBoxOf(d));
    if (hole && !hole->Empty()) {
        Region r = RegionFromSpans(spans);
        r.Subtract(*hole);
        FillRegionWithPaint(d.dc, d.s, r, paint, d.dc.s.rop2);
        return;
    }
    PaintSpans(d, spans, paint);
}

RECT NormalRect(RECT r) {
    if (r.left > r.right) {
        std::swap(r.left, r.right);
    }
    if (r.top > r.bottom) {
        std::swap(r.top, r.bottom);
    }
    return r;
}

// Shapes bounded by a rectangle: the outline is drawn on the pixels [l, r-1] x [t, b-1]; the interior inside
// it.
enum class ShapeKind { Ellipse, RoundRect, Arc, Pie, Chord };

struct ShapeGeometry {
    double cx, cy, rx, ry; // outline through pixel centres, in device edge coordinates
};

ShapeGeometry Outline(const RECT& r, double inset) {
    return ShapeGeometry{(r.left + r.right) / 2.0, (r.top + r.bottom) / 2.0,
                         std::max(0.0, (r.right - r.left - 1) / 2.0 - inset),
                         std::max(0.0, (r.bottom - r.top - 1) / 2.0 - inset)};
}

double AngleOf(const ShapeGeometry& g, double x, double y) {
    // Screen y grows down; angles count counter-clockwise as seen on screen.
    return std::atan2(-(y - g.cy) * (g.rx > 0 ? g.rx : 1), (x - g.cx) * (g.ry > 0 ? g.ry : 1));
}

Pts RoundRectPoints(const RECT& r, double ew, double eh, double inset) {
    // Corner ellipses of ew x eh inside the outline box (pixel-centre coordinates).
    double l = r.left + 0.5 + inset;
    double t = r.top + 0.5 + inset;
    double rr = r.right - 0.5 - inset;
    double b = r.bottom - 0.5 - inset;
    double rx = std::min(std::max(ew, 0.0) / 2.0, (rr - l) / 2.0);
    double ry = std::min(std::max(eh, 0.0) / 2.0, (b - t) / 2.0);
    Pts pts;
    auto arc = [&](double cx, double cy, double a0) {
        Pts part = EllipsePoints(cx, cy, rx, ry, a0, a0 + M_PI / 2, false);
        pts.insert(pts.end(), part.begin(), part.end());
    };
    arc(rr - rx, t + ry, 0);          // top right
    arc(l + rx, t + ry, M_PI / 2);    // top left
    arc(l + rx, b - ry, M_PI);        // bottom left
    arc(rr - rx, b - ry, 1.5 * M_PI); // bottom right
    return pts;
}

} // namespace

void FillRegionWithPaint(Dc& dc, const Surface& s, const Region& rgn, const Paint& paint, int rop2) {
    Region r = rgn;
    r.Intersect(EffectiveClip(dc));
    Painter p(s, r, paint, rop2);
    int n = 0;
    const pixman_box32_t* b = r.Rects(&n);
    for (int i = 0; i < n; ++i) {
        for (int y = b[i].y1; y < b[i].y2; ++y) {
            p.SpanRaw(y, b[i].x1, b[i].x2);
        }
    }
}

void FillSpansWithBrush(Dc& dc, const Surface& s, const std::vector<Span>& spans, HGDIOBJ brush, int rop2) {
    Paint paint = BrushPaint(dc, brush, s.mono);
    Painter p(s, EffectiveClip(dc), paint, rop2);
    for (const Span& sp : spans) {
        p.SpanClipped(sp.y, sp.x0, sp.x1);
    }
}

namespace {

// The shared body of Ellipse, RoundRect, Arc, Pie and Chord.
BOOL DrawShape(HDC hdc, ShapeKind kind, int left, int top, int right, int bottom, double p1x, double p1y,
               double p2x, double p2y, bool arcTo) {
    GDI_LOCK();
    Dc* dcp = CheckDc(hdc);
    if (!dcp) {
        return FALSE;
    }
    Dc& dc = *dcp;
    static const char* names[] = {"Ellipse", "RoundRect", "Arc", "Pie", "Chord"};
    Record(
        dc, arcTo ? "ArcTo" : names[static_cast<int>(kind)],
        {left, top, right, bottom, std::lround(p1x), std::lround(p1y), std::lround(p2x), std::lround(p2y)});
    RECT r = NormalRect(ToDeviceRect(dc.s, RECT{left, top, right, bottom}));
    Drawing d(dc);
    bool mono = d.ok && d.s.mono;
    PenInfo pen = RealizePen(dc, mono);
    double inset = 0;
    if (!pen.null && !pen.cosmetic && pen.insideFrame) {
        inset = pen.width / 2.0 - 0.5;
    }
    ShapeGeometry g = Outline(r, inset);
    Pts outline;
    bool closedOutline = true;
    Pts fillPts;
    bool fill = kind == ShapeKind::Ellipse || kind == ShapeKind::RoundRect || kind == ShapeKind::Pie ||
                kind == ShapeKind::Chord;
    double a0 = 0;
    double a1 = 0;
    POINT arcStart{};
    POINT arcEnd{};
    if (kind == ShapeKind::Ellipse) {
        outline = EllipsePoints(g.cx, g.cy, g.rx, g.ry, 0, 0, true);
    } else if (kind == ShapeKind::RoundRect) {
        RECT rr = r;
        double sx = std::fabs(ScaleX(dc.s));
        double sy = std::fabs(ScaleY(dc.s));
        outline = RoundRectPoints(rr, p1x * sx, p1y * sy, inset);
    } else {
        POINT s = ToDevice(dc.s, POINT{static_cast<LONG>(p1x), static_cast<LONG>(p1y)});
        POINT e = ToDevice(dc.s, POINT{static_cast<LONG>(p2x), static_cast<LONG>(p2y)});
        a0 = AngleOf(g, s.x + 0.5, s.y + 0.5);
        a1 = AngleOf(g, e.x + 0.5, e.y + 0.5);
        bool clockwise = dc.s.arcDirection == AD_CLOCKWISE;
        // Mapping modes with y up flip the sense of direction on screen.
        if (ScaleY(dc.s) < 0) {
            clockwise = !clockwise;
        }
        if (clockwise) {
            outline = EllipsePoints(g.cx, g.cy, g.rx, g.ry, a1, a0, false);
            std::reverse(outline.begin(), outline.end());
        } else {
            outline = EllipsePoints(g.cx, g.cy, g.rx, g.ry, a0, a1, false);
        }
        // Parametric angle from the visual angle.
        closedOutline = false;
        if (!outline.empty()) {
            arcStart = POINT{static_cast<LONG>(std::floor(outline.front().first)),
                             static_cast<LONG>(std::floor(outline.front().second))};
            arcEnd = POINT{static_cast<LONG>(std::floor(outline.back().first)),
                           static_cast<LONG>(std::floor(outline.back().second))};
        }
        if (kind == ShapeKind::Pie) {
            outline.emplace_back(g.cx, g.cy);
            closedOutline = true;
        } else if (kind == ShapeKind::Chord) {
            closedOutline = true;
        }
    }
    // Outline points are pixel-centre positions; device pixel = floor.
    if (InPath(dc)) {
        Pts pts;
        for (auto [x, y] : outline) {
            pts.emplace_back(x - 0.5, y - 0.5);
        }
        if (arcTo) {
            POINT cur = ToDevice(dc.s, dc.s.cur);
            PathLineTo(dc, cur, arcStart);
            for (auto& p : pts) {
                dc.path.figures.back().pts.push_back(p);
            }
        } else {
            PathAddFigure(dc, std::move(pts), closedOutline);
        }
        if (arcTo) {
            dc.s.cur = ToLogical(dc.s, arcEnd);
        }
        return TRUE;
    }
    if (!d.ok) {
        return TRUE;
    }
    if (arcTo) {
        POINT cur = ToDevice(dc.s, dc.s.cur);
        if (!pen.null && pen.cosmetic) {
            CosmeticPlotter(d, pen).Line(cur, arcStart);
        } else if (!pen.null) {
            StrokeGeometric(d, pen, {PathFigure{{{cur.x, cur.y}, {arcStart.x, arcStart.y}}, false}});
        }
    }
    if (fill) {
        // The interior: with a pen, inside the outline; without one, the shape one pixel smaller.
        Pts fpts;
        if (pen.null) {
            ShapeGeometry gn{(r.left + r.right - 1) / 2.0, (r.top + r.bottom - 1) / 2.0,
                             (r.right - r.left - 1) / 2.0, (r.bottom - r.top - 1) / 2.0};
            if (kind == ShapeKind::Ellipse) {
                fpts = EllipsePoints(gn.cx, gn.cy, gn.rx, gn.ry, 0, 0, true);
            } else if (kind == ShapeKind::RoundRect) {
                RECT rn{r.left, r.top, r.right - 1, r.bottom - 1};
                fpts =
                    RoundRectPoints(rn, p1x * std::fabs(ScaleX(dc.s)), p1y * std::fabs(ScaleY(dc.s)), -0.5);
            } else {
                for (auto [x, y] : outline) {
                    fpts.emplace_back(x - 0.5 * (x > g.cx ? 1 : 0), y - 0.5 * (y > g.cy ? 1 : 0));
                }
            }
        } else {
            fpts = outline;
        }
        Region hole;
        if (!pen.null) {
            if (pen.cosmetic) {
                hole = RegionFromSpans(Offset(CurvePixels(outline, closedOutline), dc.origin.x, dc.origin.y));
            }
        }
        FillPolygons(d, {PathFigure{fpts, true}}, false, &hole);
    }
    if (!pen.null) {
        if (pen.cosmetic) {
            PaintCosmeticCurve(d, pen, outline, closedOutline);
        } else {
            Pts pts;
            for (auto [x, y] : outline) {
                pts.emplace_back(x - 0.5, y - 0.5);
            }
            StrokeGeometric(d, pen, {PathFigure{pts, closedOutline}});
        }
    }
    if (arcTo) {
        dc.s.cur = ToLogical(dc.s, arcEnd);
    }
    return TRUE;
}

} // namespace

} // namespace gdi

using namespace gdi;

BOOL MoveToEx(HDC hdc, int x, int y, LPPOINT previous) {
    GDI_LOCK();
    Dc* dc = CheckDc(hdc);
    if (!dc) {
        return FALSE;
    }
    if (previous) {
        *previous = dc->s.cur;
    }
    dc->s.cur = POINT{x, y};
    dc->styleRun = 0;
    if (dc->path.open) {
        PathMoveTo(*dc, ToDevice(dc->s, dc->s.cur));
    }
    Record(*dc, "MoveToEx", {x, y});
    return TRUE;
}

BOOL GetCurrentPositionEx(HDC hdc, LPPOINT point) {
    GDI_LOCK();
    Dc* dc = CheckDc(hdc);
    if (!dc || !point) {
        return FALSE;
    }
    *point = dc->s.cur;
    return TRUE;
}

BOOL LineTo(HDC hdc, int x, int y) {
    GDI_LOCK();
    Dc* dc = CheckDc(hdc);
    if (!dc) {
        return FALSE;
    }
    POINT a = ToDevice(dc->s, dc->s.cur);
    POINT b = ToDevice(dc->s, POINT{x, y});
    dc->s.cur = POINT{x, y};
    if (dc->path.open) {
        PathLineTo(*dc, a, b);
        return TRUE;
    }
    Drawing d(*dc);
    if (!d.ok) {
        return TRUE;
    }
    PenInfo pen = RealizePen(*dc, d.s.mono);
    if (dc->recording) {
        Pen* p = Get<Pen>(dc->s.pen, Kind::Pen);
        Record(*dc, "LineTo",
               {x, y, p ? static_cast<long long>(p->color) : -1, p ? p->LineStyle() : -1, p ? p->width : -1});
    }
    if (pen.null) {
        return TRUE;
    }
    if (pen.cosmetic) {
        CosmeticPlotter(d, pen).Line(a, b);
    } else {
        StrokeGeometric(d, pen, {PathFigure{{{a.x, a.y}, {b.x, b.y}}, false}});
    }
    return TRUE;
}

BOOL Polyline(HDC hdc, const POINT* points, int count) {
    GDI_LOCK();
    Dc* dc = CheckDc(hdc);
    if (!dc || !points || count < 2) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    RecordPoints(*dc, "Polyline", points, count);
    if (dc->path.open) {
        PathAddFigure(*dc, DevicePoints(*dc, points, count), false);
        return TRUE;
    }
    Drawing d(*dc);
    if (!d.ok) {
        return TRUE;
    }
    PenInfo pen = RealizePen(*dc, d.s.mono);
    dc->styleRun = 0;
    StrokePolyline(d, pen, ToDevicePoints(*dc, points, count), false);
    return TRUE;
}

BOOL PolylineTo(HDC hdc, const POINT* points, DWORD count) {
    GDI_LOCK();
    Dc* dc = CheckDc(hdc);
    if (!dc || !points || count == 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    std::vector<POINT> all{dc->s.cur};
    all.insert(all.end(), points, points + count);
    RecordPoints(*dc, "PolylineTo", points, static_cast<int>(count));
    dc->s.cur = points[count - 1];
    if (dc->path.open) {
        for (size_t i = 1; i < all.size(); ++i) {
            PathLineTo(*dc, ToDevice(dc->s, all[i - 1]), ToDevice(dc->s, all[i]));
        }
        return TRUE;
    }
    Drawing d(*dc);
    if (!d.ok) {
        return TRUE;
    }
    PenInfo pen = RealizePen(*dc, d.s.mono);
    StrokePolyline(d, pen, ToDevicePoints(*dc, all.data(), static_cast<int>(all.size())), false);
    return TRUE;
}

BOOL PolyPolyline(HDC hdc, const POINT* points, const DWORD* counts, DWORD polylines) {
    GDI_LOCK();
    if (!CheckDc(hdc) || !points || !counts) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    for (DWORD i = 0; i < polylines; ++i) {
        if (counts[i] < 2) {
            SetLastError(ERROR_INVALID_PARAMETER);
            return FALSE;
        }
    }
    for (DWORD i = 0; i < polylines; ++i) {
        Polyline(hdc, points, static_cast<int>(counts[i]));
        points += counts[i];
    }
    return TRUE;
}

namespace {
Pts Bezier(Pts control) {
    Pts out;
    if (control.empty()) {
        return out;
    }
    out.push_back(control[0]);
    for (size_t i = 0; i + 3 < control.size(); i += 3) {
        auto [x0, y0] = control[i];
        auto [x1, y1] = control[i + 1];
        auto [x2, y2] = control[i + 2];
        auto [x3, y3] = control[i + 3];
        double len =
            std::hypot(x1 - x0, y1 - y0) + std::hypot(x2 - x1, y2 - y1) + std::hypot(x3 - x2, y3 - y2);
        int steps = std::clamp(static_cast<int>(len / 2), 4, 2000);
        for (int k = 1; k <= steps; ++k) {
            double t = static_cast<double>(k) / steps;
            double u = 1 - t;
            double x = u * u * u * x0 + 3 * u * u * t * x1 + 3 * u * t * t * x2 + t * t * t * x3;
            double y = u * u * u * y0 + 3 * u * u * t * y1 + 3 * u * t * t * y2 + t * t * t * y3;
            out.emplace_back(std::round(x), std::round(y));
        }
    }
    return out;
}

BOOL DrawBezier(HDC hdc, const POINT* points, DWORD count, bool to) {
    GDI_LOCK();
    Dc* dc = CheckDc(hdc);
    if (!dc || !points || count == 0 || (to ? count % 3 : (count - 1) % 3) != 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    Pts control;
    if (to) {
        POINT c = ToDevice(dc->s, dc->s.cur);
        control.emplace_back(c.x, c.y);
    }
    Pts dev = DevicePoints(*dc, points, static_cast<int>(count));
    control.insert(control.end(), dev.begin(), dev.end());
    Pts flat = Bezier(control);
    if (to) {
        dc->s.cur = points[count - 1];
    }
    if (dc->path.open) {
        if (to) {
            for (size_t i = 1; i < flat.size(); ++i) {
                PathLineTo(*dc,
                           POINT{static_cast<LONG>(flat[i - 1].first), static_cast<LONG>(flat[i - 1].second)},
                           POINT{static_cast<LONG>(flat[i].first), static_cast<LONG>(flat[i].second)});
            }
        } else {
            PathAddFigure(*dc, flat, false);
        }
        return TRUE;
    }
    Drawing d(*dc);
    if (!d.ok) {
        return TRUE;
    }
    PenInfo pen = RealizePen(*dc, d.s.mono);
    std::vector<POINT> pts;
    for (auto [x, y] : flat) {
        pts.push_back(POINT{static_cast<LONG>(x), static_cast<LONG>(y)});
    }
    StrokePolyline(d, pen, pts, false);
    return TRUE;
}
} // namespace

BOOL PolyBezier(HDC hdc, const POINT* points, DWORD count) {
    return DrawBezier(hdc, points, count, false);
}
BOOL PolyBezierTo(HDC hdc, const POINT* points, DWORD count) {
    return DrawBezier(hdc, points, count, true);
}

BOOL PolyPolygon(HDC hdc, const POINT* points, const INT* counts, int polygons) {
    GDI_LOCK();
    Dc* dc = CheckDc(hdc);
    if (!dc || !points || !counts || polygons <= 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    int total = 0;
    for (int i = 0; i < polygons; ++i) {
        if (counts[i] < 2) {
            SetLastError(ERROR_INVALID_PARAMETER);
            return FALSE;
        }
        total += counts[i];
    }
    RecordPoints(*dc, polygons == 1 ? "Polygon" : "PolyPolygon", points, total);
    std::vector<PathFigure> figures;
    std::vector<std::vector<POINT>> devPolys;
    const POINT* p = points;
    for (int i = 0; i < polygons; ++i) {
        devPolys.push_back(ToDevicePoints(*dc, p, counts[i]));
        PathFigure f;
        for (POINT q : devPolys.back()) {
            f.pts.emplace_back(q.x, q.y);
        }
        f.closed = true;
        figures.push_back(std::move(f));
        p += counts[i];
    }
    if (dc->path.open) {
        for (PathFigure& f : figures) {
            dc->path.figures.push_back(f);
        }
        return TRUE;
    }
    Drawing d(*dc);
    if (!d.ok) {
        return TRUE;
    }
    PenInfo pen = RealizePen(*dc, d.s.mono);
    Region hole;
    if (!pen.null && pen.cosmetic && dc->s.rop2 != R2_COPYPEN) {
        // Keep each pixel painted once so mixes such as XOR stay reversible.
        std::vector<Span> all;
        for (const auto& poly : devPolys) {
            for (size_t i = 0; i < poly.size(); ++i) {
                POINT a = poly[i];
                POINT b = poly[(i + 1) % poly.size()];
                BresenhamLine(a.x + dc->origin.x, a.y + dc->origin.y, b.x + dc->origin.x, b.y + dc->origin.y,
                              [&](int x, int y) {
                                  all.push_back(Span{y, x, x + 1});
                              });
            }
        }
        hole = RegionFromSpans(all);
    }
    FillPolygons(d, figures, dc->s.polyFillMode == WINDING, &hole);
    dc->styleRun = 0;
    for (const auto& poly : devPolys) {
        StrokePolyline(d, pen, poly, true);
    }
    return TRUE;
}

BOOL Polygon(HDC hdc, const POINT* points, int count) {
    int counts[1] = {count};
    return PolyPolygon(hdc, points, counts, 1);
}

BOOL Rectangle(HDC hdc, int left, int top, int right, int bottom) {
    GDI_LOCK();
    Dc* dcp = CheckDc(hdc);
    if (!dcp) {
        return FALSE;
    }
    Dc& dc = *dcp;
    Record(dc, "Rectangle", {left, top, right, bottom});
    RECT r = NormalRect(ToDeviceRect(dc.s, RECT{left, top, right, bottom}));
    if (dc.path.open) {
        // Compatible mode: the path runs along the last pixels inside.
        PathAddFigure(
            dc, {{r.left, r.top}, {r.right - 1, r.top}, {r.right - 1, r.bottom - 1}, {r.left, r.bottom - 1}},
            true);
        return TRUE;
    }
    Drawing d(dc);
    if (!d.ok || r.right <= r.left || r.bottom <= r.top) {
        return TRUE;
    }
    PenInfo pen = RealizePen(dc, d.s.mono);
    int ox = dc.origin.x;
    int oy = dc.origin.y;
    Paint brush = BrushPaint(dc, dc.s.brush, d.s.mono);
    if (pen.null) {
        RECT f{r.left, r.top, r.right - 1, r.bottom - 1};
        if (!brush.none && f.right > f.left && f.bottom > f.top) {
            Painter p(d.s, d.Clip(), brush, dc.s.rop2);
            for (int y = f.top; y < f.bottom; ++y) {
                p.SpanClipped(y + oy, f.left + ox, f.right + ox);
            }
        }
        return TRUE;
    }
    if (pen.cosmetic) {
        if (!brush.none && r.right - r.left > 2 && r.bottom - r.top > 2) {
            Painter p(d.s, d.Clip(), brush, dc.s.rop2);
            for (int y = r.top + 1; y < r.bottom - 1; ++y) {
                p.SpanClipped(y + oy, r.left + 1 + ox, r.right - 1 + ox);
            }
        }
        if (r.right - r.left <= 2 || r.bottom - r.top <= 2) {
            // All border: every pixel once.
            if (pen.dashes.empty()) {
                Painter p(d.s, d.Clip(), pen.paint, dc.s.rop2);
                for (int y = r.top; y < r.bottom; ++y) {
                    p.SpanClipped(y + oy, r.left + ox, r.right + ox);
                }
                return TRUE;
            }
        }
        dc.styleRun = 0;
        std::vector<POINT> frame{
            {r.left, r.top}, {r.right - 1, r.top}, {r.right - 1, r.bottom - 1}, {r.left, r.bottom - 1}};
        StrokePolyline(d, pen, frame, true);
        return TRUE;
    }
    double inset = pen.insideFrame ? pen.width / 2.0 - 0.5 : 0;
    double l = r.left + inset;
    double t = r.top + inset;
    double rr = r.right - 1 - inset;
    double b = r.bottom - 1 - inset;
    if (!brush.none) {
        FillPolygons(
            d,
            {PathFigure{
                {{r.left, r.top}, {r.right - 1, r.top}, {r.right - 1, r.bottom - 1}, {r.left, r.bottom - 1}},
                true}},
            false, nullptr);
    }
    StrokeGeometric(d, pen, {PathFigure{{{l, t}, {rr, t}, {rr, b}, {l, b}}, true}});
    return TRUE;
}

BOOL RoundRect(HDC hdc, int left, int top, int right, int bottom, int width, int height) {
    return DrawShape(hdc, ShapeKind::RoundRect, left, top, right, bottom, width, height, 0, 0, false);
}

BOOL Ellipse(HDC hdc, int left, int top, int right, int bottom) {
    return DrawShape(hdc, ShapeKind::Ellipse, left, top, right, bottom, 0, 0, 0, 0, false);
}

BOOL Arc(HDC hdc, int left, int top, int right, int bottom, int xStart, int yStart, int xEnd, int yEnd) {
    return DrawShape(hdc, ShapeKind::Arc, left, top, right, bottom, xStart, yStart, xEnd, yEnd, false);
}

BOOL ArcTo(HDC hdc, int left, int top, int right, int bottom, int xStart, int yStart, int xEnd, int yEnd) {
    return DrawShape(hdc, ShapeKind::Arc, left, top, right, bottom, xStart, yStart, xEnd, yEnd, true);
}

BOOL Pie(HDC hdc, int left, int top, int right, int bottom, int xStart, int yStart, int xEnd, int yEnd) {
    return DrawShape(hdc, ShapeKind::Pie, left, top, right, bottom, xStart, yStart, xEnd, yEnd, false);
}

BOOL Chord(HDC hdc, int left, int top, int right, int bottom, int xStart, int yStart, int xEnd, int yEnd) {
    return DrawShape(hdc, ShapeKind::Chord, left, top, right, bottom, xStart, yStart, xEnd, yEnd, false);
}

BOOL AngleArc(HDC hdc, int x, int y, DWORD radius, FLOAT startAngle, FLOAT sweepAngle) {
    GDI_LOCK();
    if (!CheckDc(hdc)) {
        return FALSE;
    }
    double a0 = startAngle * M_PI / 180.0;
    double a1 = (startAngle + sweepAngle) * M_PI / 180.0;
    double r = radius;
    int xs = static_cast<int>(std::lround(x + r * std::cos(a0)));
    int ys = static_cast<int>(std::lround(y - r * std::sin(a0)));
    int xe = static_cast<int>(std::lround(x + r * std::cos(a1)));
    int ye = static_cast<int>(std::lround(y - r * std::sin(a1)));
    int saved = GetArcDirection(hdc);
    SetArcDirection(hdc, sweepAngle < 0 ? AD_CLOCKWISE : AD_COUNTERCLOCKWISE);
    int ri = static_cast<int>(radius);
    BOOL ok = ArcTo(hdc, x - ri, y - ri, x + ri + 1, y + ri + 1, xs, ys, xe, ye);
    SetArcDirection(hdc, saved);
    return ok;
}

// ---- Paths
BOOL BeginPath(HDC hdc) {
    GDI_LOCK();
    Dc* dc = CheckDc(hdc);
    if (!dc) {
        return FALSE;
    }
    dc->path = Path{};
    dc->path.open = true;
    Record(*dc, "BeginPath", {});
    return TRUE;
}

BOOL EndPath(HDC hdc) {
    GDI_LOCK();
    Dc* dc = CheckDc(hdc);
    if (!dc || !dc->path.open) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    dc->path.open = false;
    dc->path.closed = true;
    // Figures of one point draw nothing.
    auto& f = dc->path.figures;
    f.erase(std::remove_if(f.begin(), f.end(), [](const PathFigure& x) { return x.pts.size() < 2; }),
            f.end());
    Record(*dc, "EndPath", {});
    return TRUE;
}

BOOL AbortPath(HDC hdc) {
    GDI_LOCK();
    Dc* dc = CheckDc(hdc);
    if (!dc) {
        return FALSE;
    }
    dc->path = Path{};
    return TRUE;
}

BOOL CloseFigure(HDC hdc) {
    GDI_LOCK();
    Dc* dc = CheckDc(hdc);
    if (!dc || !dc->path.open || dc->path.figures.empty()) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    dc->path.figures.back().closed = true;
    return TRUE;
}

namespace {
Dc* ReadyPath(HDC hdc) {
    Dc* dc = CheckDc(hdc);
    if (!dc || !dc->path.closed) {
        SetLastError(ERROR_CAN_NOT_COMPLETE);
        return nullptr;
    }
    return dc;
}

BOOL StrokeFillPath(HDC hdc, bool fill, bool stroke) {
    GDI_LOCK();
    Dc* dc = ReadyPath(hdc);
    if (!dc) {
        return FALSE;
    }
    std::vector<PathFigure> figures = std::move(dc->path.figures);
    dc->path = Path{};
    Drawing d(*dc);
    if (!d.ok) {
        return TRUE;
    }
    if (fill) {
        FillPolygons(d, figures, dc->s.polyFillMode == WINDING, nullptr);
    }
    if (stroke) {
        PenInfo pen = RealizePen(*dc, d.s.mono);
        if (pen.null) {
            return TRUE;
        }
        if (pen.cosmetic) {
            dc->styleRun = 0;
            for (const PathFigure& f : figures) {
                std::vector<POINT> pts;
                for (auto [x, y] : f.pts) {
                    pts.push_back(
                        POINT{static_cast<LONG>(std::lround(x)), static_cast<LONG>(std::lround(y))});
                }
                StrokePolyline(d, pen, pts, f.closed);
            }
        } else {
            StrokeGeometric(d, pen, figures);
        }
    }
    return TRUE;
}
} // namespace

BOOL StrokePath(HDC hdc) {
    return StrokeFillPath(hdc, false, true);
}
BOOL FillPath(HDC hdc) {
    return StrokeFillPath(hdc, true, false);
}
BOOL StrokeAndFillPath(HDC hdc) {
    return StrokeFillPath(hdc, true, true);
}

BOOL FlattenPath(HDC hdc) {
    GDI_LOCK();
    return ReadyPath(hdc) ? TRUE : FALSE; // paths are kept flat
}

BOOL WidenPath(HDC hdc) {
    GDI_LOCK();
    Dc* dc = ReadyPath(hdc);
    if (!dc) {
        return FALSE;
    }
    Surface s;
    bool mono = TargetSurface(*dc, &s) && s.mono;
    PenInfo pen = RealizePen(*dc, mono);
    StrokeStyle st = pen.stroke;
    st.width = pen.cosmetic ? 1 : pen.width;
    RECT all{-(1 << 22), -(1 << 22), 1 << 22, 1 << 22};
    std::vector<PathFigure> centred = dc->path.figures;
    for (PathFigure& f : centred) {
        for (auto& [x, y] : f.pts) {
            x += 0.5;
            y += 0.5;
        }
    }
    Region r = RegionFromSpans(RasterizeStroke(centred, st, all));
    // The widened outline as the rectangles of its area.
    std::vector<PathFigure> rects;
    int n = 0;
    const pixman_box32_t* b = r.Rects(&n);
    for (int i = 0; i < n; ++i) {
        rects.push_back(PathFigure{
            {{b[i].x1, b[i].y1}, {b[i].x2, b[i].y1}, {b[i].x2, b[i].y2}, {b[i].x1, b[i].y2}}, true});
    }
    dc->path.figures = std::move(rects);
    return TRUE;
}

namespace gdi {
// The closed path as a region in device units, and the path cleared.
bool TakePathRegion(Dc& dc, Region* out) {
    if (!dc.path.closed) {
        SetLastError(ERROR_CAN_NOT_COMPLETE);
        return false;
    }
    *out = PolygonRegion(dc.path.figures, dc.s.polyFillMode == WINDING);
    dc.path = Path{};
    return true;
}
} // namespace gdi

BOOL SelectClipPath(HDC hdc, int mode) {
    GDI_LOCK();
    Dc* dc = CheckDc(hdc);
    Region r;
    if (!dc || !TakePathRegion(*dc, &r)) {
        return FALSE;
    }
    auto obj = std::make_shared<RegionObject>();
    obj->rgn = r;
    HRGN h = static_cast<HRGN>(AddObject(obj));
    int result = ExtSelectClipRgn(hdc, h, mode);
    RemoveObject(h);
    return result != ERROR;
}

HRGN PathToRegion(HDC hdc) {
    GDI_LOCK();
    Dc* dc = CheckDc(hdc);
    Region r;
    if (!dc || !TakePathRegion(*dc, &r)) {
        return nullptr;
    }
    auto obj = std::make_shared<RegionObject>();
    obj->rgn = r;
    return static_cast<HRGN>(AddObject(obj));
}

int GetPath(HDC hdc, LPPOINT points, LPBYTE types, int count) {
    GDI_LOCK();
    Dc* dc = CheckDc(hdc);
    if (!dc || !dc->path.closed) {
        SetLastError(ERROR_CAN_NOT_COMPLETE);
        return -1;
    }
    int total = 0;
    for (const PathFigure& f : dc->path.figures) {
        total += static_cast<int>(f.pts.size());
    }
    if (count == 0) {
        return total;
    }
    if (count < total || !points || !types) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return -1;
    }
    int i = 0;
    for (const PathFigure& f : dc->path.figures) {
        for (size_t k = 0; k < f.pts.size(); ++k) {
            POINT dev{static_cast<LONG>(std::lround(f.pts[k].first)),
                      static_cast<LONG>(std::lround(f.pts[k].second))};
            points[i] = ToLogical(dc->s, dev);
            types[i] = k == 0 ? PT_MOVETO : PT_LINETO;
            if (f.closed && k + 1 == f.pts.size()) {
                types[i] |= PT_CLOSEFIGURE;
            }
            ++i;
        }
    }
    return total;
}
