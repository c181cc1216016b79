// Region objects and painting them.
#include "platform/gdi/GdiPrivate.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace gdi {

namespace {
HRGN NewRegion(Region r) {
    auto obj = std::make_shared<RegionObject>();
    obj->rgn = std::move(r);
    return static_cast<HRGN>(AddObject(std::move(obj)));
}

RegionObject* GetRgn(HRGN h) {
    RegionObject* r = Get<RegionObject>(h, Kind::Region);
    if (!r) {
        SetLastError(ERROR_INVALID_HANDLE);
    }
    return r;
}

// A closed shape sampled at pixel centres.
Region ShapeRegion(const std::vector<std::pair<double, double>>& pts) {
    return PolygonRegion({PathFigure{pts, true}}, false);
}
} // namespace

Region LogicalRegionToSurface(Dc& dc, const Region& rgn) {
    Region out;
    if (IsPureTranslation(dc.s)) {
        out = rgn;
        out.Translate(dc.s.viewportOrg.x - dc.s.windowOrg.x + dc.origin.x,
                      dc.s.viewportOrg.y - dc.s.windowOrg.y + dc.origin.y);
        return out;
    }
    int n = 0;
    const pixman_box32_t* b = rgn.Rects(&n);
    for (int i = 0; i < n; ++i) {
        RECT r = ToDeviceRect(dc.s, RECT{b[i].x1, b[i].y1, b[i].x2, b[i].y2});
        OffsetRect(&r, dc.origin.x, dc.origin.y);
        out.UnionRect(r);
    }
    return out;
}

} // namespace gdi

using namespace gdi;

HRGN CreateRectRgn(int left, int top, int right, int bottom) {
    return NewRegion(Region(RECT{left, top, right, bottom}));
}

HRGN CreateRectRgnIndirect(const RECT* rect) {
    if (!rect) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    return CreateRectRgn(rect->left, rect->top, rect->right, rect->bottom);
}

HRGN CreateEllipticRgn(int left, int top, int right, int bottom) {
    RECT r{std::min(left, right), std::min(top, bottom), std::max(left, right), std::max(top, bottom)};
    if (r.right - r.left < 1 || r.bottom - r.top < 1) {
        return NewRegion(Region());
    }
    double cx = (r.left + r.right) / 2.0;
    double cy = (r.top + r.bottom) / 2.0;
    GDI_LOCK();
    return NewRegion(
        ShapeRegion(EllipsePoints(cx, cy, (r.right - r.left) / 2.0, (r.bottom - r.top) / 2.0, 0, 0, true)));
}

HRGN CreateEllipticRgnIndirect(const RECT* rect) {
    if (!rect) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    return CreateEllipticRgn(rect->left, rect->top, rect->right, rect->bottom);
}

HRGN CreateRoundRectRgn(int left, int top, int right, int bottom, int widthEllipse, int heightEllipse) {
    RECT r{std::min(left, right), std::min(top, bottom), std::max(left, right), std::max(top, bottom)};
    if (r.right - r.left < 1 || r.bottom - r.top < 1) {
        return NewRegion(Region());
    }
    double rx = std::min(std::abs(widthEllipse) / 2.0, (r.right - r.left) / 2.0);
    double ry = std::min(std::abs(heightEllipse) / 2.0, (r.bottom - r.top) / 2.0);
    if (rx < 1 || ry < 1) {
        return NewRegion(Region(r));
    }
    std::vector<std::pair<double, double>> pts;
    auto arc = [&](double cx, double cy, double a0) {
        auto part = EllipsePoints(cx, cy, rx, ry, a0, a0 + M_PI / 2, false);
        pts.insert(pts.end(), part.begin(), part.end());
    };
    arc(r.right - rx, r.top + ry, 0);
    arc(r.left + rx, r.top + ry, M_PI / 2);
    arc(r.left + rx, r.bottom - ry, M_PI);
    arc(r.right - rx, r.bottom - ry, 1.5 * M_PI);
    GDI_LOCK();
    return NewRegion(ShapeRegion(pts));
}

HRGN CreatePolyPolygonRgn(const POINT* points, const INT* counts, int polygons, int fillMode) {
    if (!points || !counts || polygons <= 0 || (fillMode != ALTERNATE && fillMode != WINDING)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    std::vector<PathFigure> figures;
    const POINT* p = points;
    for (int i = 0; i < polygons; ++i) {
        if (counts[i] < 0) {
            SetLastError(ERROR_INVALID_PARAMETER);
            return nullptr;
        }
        PathFigure f;
        for (int k = 0; k < counts[i]; ++k) {
            f.pts.emplace_back(p[k].x, p[k].y);
        }
        f.closed = true;
        if (counts[i] >= 3) {
            figures.push_back(std::move(f));
        }
        p += counts[i];
    }
    GDI_LOCK();
    return NewRegion(PolygonRegion(figures, fillMode == WINDING));
}

HRGN CreatePolygonRgn(const POINT* points, int count, int fillMode) {
    return CreatePolyPolygonRgn(points, &count, 1, fillMode);
}

HRGN ExtCreateRegion(const XFORM* xform, DWORD count, const RGNDATA* data) {
    if (!data || count < sizeof(RGNDATAHEADER) || data->rdh.iType != RDH_RECTANGLES ||
        data->rdh.nCount > (count - sizeof(RGNDATAHEADER)) / sizeof(RECT)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    double sx = 1;
    double sy = 1;
    double dx = 0;
    double dy = 0;
    if (xform) {
        if (xform->eM12 != 0 || xform->eM21 != 0) {
            SetLastError(ERROR_INVALID_PARAMETER); // rotated regions are not kept as rectangles
            return nullptr;
        }
        sx = xform->eM11;
        sy = xform->eM22;
        dx = xform->eDx;
        dy = xform->eDy;
    }
    Region r;
    const auto* rects = reinterpret_cast<const RECT*>(data->Buffer);
    for (DWORD i = 0; i < data->rdh.nCount; ++i) {
        RECT rc;
        std::memcpy(&rc, reinterpret_cast<const char*>(rects) + i * sizeof(RECT), sizeof(RECT));
        RECT t{static_cast<LONG>(std::lround(rc.left * sx + dx)),
               static_cast<LONG>(std::lround(rc.top * sy + dy)),
               static_cast<LONG>(std::lround(rc.right * sx + dx)),
               static_cast<LONG>(std::lround(rc.bottom * sy + dy))};
        r.UnionRect(RECT{std::min(t.left, t.right), std::min(t.top, t.bottom), std::max(t.left, t.right),
                         std::max(t.top, t.bottom)});
    }
    return NewRegion(std::move(r));
}

int CombineRgn(HRGN dest, HRGN src1, HRGN src2, int mode) {
    GDI_LOCK();
    RegionObject* d = GetRgn(dest);
    RegionObject* a = GetRgn(src1);
    if (!d || !a || mode < RGN_AND || mode > RGN_COPY) {
        return ERROR;
    }
    if (mode == RGN_COPY) {
        d->rgn = a->rgn;
        return d->rgn.Type();
    }
    RegionObject* b = GetRgn(src2);
    if (!b) {
        return ERROR;
    }
    Region r = a->rgn;
    switch (mode) {
    case RGN_AND:
        r.Intersect(b->rgn);
        break;
    case RGN_OR:
        r.Union(b->rgn);
        break;
    case RGN_XOR:
        r.Xor(b->rgn);
        break;
    case RGN_DIFF:
        r.Subtract(b->rgn);
        break;
    }
    d->rgn = r;
    return d->rgn.Type();
}

BOOL EqualRgn(HRGN a, HRGN b) {
    GDI_LOCK();
    RegionObject* ra = GetRgn(a);
    RegionObject* rb = GetRgn(b);
    if (!ra || !rb) {
        return ERROR;
    }
    return ra->rgn.Equals(rb->rgn);
}

int OffsetRgn(HRGN rgn, int x, int y) {
    GDI_LOCK();
    RegionObject* r = GetRgn(rgn);
    if (!r) {
        return ERROR;
    }
    r->rgn.Translate(x, y);
    return r->rgn.Type();
}

BOOL PtInRegion(HRGN rgn, int x, int y) {
    GDI_LOCK();
    RegionObject* r = GetRgn(rgn);
    return r && r->rgn.Contains(x, y);
}

BOOL RectInRegion(HRGN rgn, const RECT* rect) {
    GDI_LOCK();
    RegionObject* r = GetRgn(rgn);
    if (!r || !rect) {
        return FALSE;
    }
    RECT n{std::min(rect->left, rect->right), std::min(rect->top, rect->bottom),
           std::max(rect->left, rect->right), std::max(rect->top, rect->bottom)};
    return r->rgn.Overlaps(n);
}

int GetRgnBox(HRGN rgn, LPRECT rect) {
    GDI_LOCK();
    RegionObject* r = GetRgn(rgn);
    if (!r || !rect) {
        return ERROR;
    }
    *rect = r->rgn.Box();
    return r->rgn.Type();
}

BOOL SetRectRgn(HRGN rgn, int left, int top, int right, int bottom) {
    GDI_LOCK();
    RegionObject* r = GetRgn(rgn);
    if (!r) {
        return FALSE;
    }
    r->rgn.Set(RECT{left, top, right, bottom});
    return TRUE;
}

DWORD GetRegionData(HRGN rgn, DWORD count, LPRGNDATA data) {
    GDI_LOCK();
    RegionObject* r = GetRgn(rgn);
    if (!r) {
        return 0;
    }
    int n = 0;
    const pixman_box32_t* b = r->rgn.Rects(&n);
    DWORD need = static_cast<DWORD>(sizeof(RGNDATAHEADER) + n * sizeof(RECT));
    if (!data) {
        return need;
    }
    if (count < need) {
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return 0;
    }
    data->rdh.dwSize = sizeof(RGNDATAHEADER);
    data->rdh.iType = RDH_RECTANGLES;
    data->rdh.nCount = static_cast<DWORD>(n);
    data->rdh.nRgnSize = static_cast<DWORD>(n * sizeof(RECT));
    data->rdh.rcBound = r->rgn.Box();
    for (int i = 0; i < n; ++i) {
        RECT rc{b[i].x1, b[i].y1, b[i].x2, b[i].y2};
        std::memcpy(data->Buffer + i * sizeof(RECT), &rc, sizeof(RECT));
    }
    return need;
}

HRGN GdiCreateRegionFromPixman(const pixman_region32_t* region) {
    Region r;
    if (region) {
        pixman_region32_copy(r.get(), const_cast<pixman_region32_t*>(region));
    }
    return NewRegion(std::move(r));
}

bool GdiCopyRegionToPixman(HRGN rgn, pixman_region32_t* out) {
    GDI_LOCK();
    RegionObject* r = Get<RegionObject>(rgn, Kind::Region);
    if (!r || !out) {
        return false;
    }
    pixman_region32_copy(out, r->rgn.get());
    return true;
}

// ---- Painting regions (their coordinates are logical units)
namespace {
BOOL PaintRegion(HDC hdc, HRGN rgn, HGDIOBJ brush, bool invert, const char* op) {
    GDI_LOCK();
    Dc* dc = CheckDc(hdc);
    RegionObject* r = GetRgn(rgn);
    if (!dc || !r) {
        return FALSE;
    }
    RECT box = r->rgn.Box();
    Record(*dc, op, {box.left, box.top, box.right, box.bottom});
    Surface s;
    if (!TargetSurface(*dc, &s)) {
        return TRUE;
    }
    Region sr = LogicalRegionToSurface(*dc, r->rgn);
    if (invert) {
        FillRegionWithPaint(*dc, s, sr, SolidPaint(0xFFFFFF), R2_XORPEN);
    } else {
        FillRegionWithPaint(*dc, s, sr, BrushPaint(*dc, brush, s.mono), dc->s.rop2);
    }
    FinishDrawing(*dc);
    return TRUE;
}
} // namespace

BOOL FillRgn(HDC hdc, HRGN rgn, HBRUSH brush) {
    GDI_LOCK();
    if (!Get<Brush>(brush, Kind::Brush)) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    return PaintRegion(hdc, rgn, brush, false, "FillRgn");
}

BOOL PaintRgn(HDC hdc, HRGN rgn) {
    GDI_LOCK();
    Dc* dc = CheckDc(hdc);
    return dc ? PaintRegion(hdc, rgn, dc->s.brush, false, "PaintRgn") : FALSE;
}

BOOL InvertRgn(HDC hdc, HRGN rgn) {
    return PaintRegion(hdc, rgn, nullptr, true, "InvertRgn");
}

BOOL FrameRgn(HDC hdc, HRGN rgn, HBRUSH brush, int width, int height) {
    GDI_LOCK();
    Dc* dc = CheckDc(hdc);
    RegionObject* r = GetRgn(rgn);
    if (!dc || !r || !Get<Brush>(brush, Kind::Brush) || width < 0 || height < 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    // The frame: the region less its inside, where the inside holds the points whose neighbours width
    // and height away are all in the region.
    Region inner = r->rgn;
    const int offs[4][2] = {{width, 0}, {-width, 0}, {0, height}, {0, -height}};
    for (const auto& o : offs) {
        Region moved = r->rgn;
        moved.Translate(o[0], o[1]);
        inner.Intersect(moved);
    }
    Region frame = r->rgn;
    frame.Subtract(inner);
    RECT box = r->rgn.Box();
    Record(*dc, "FrameRgn", {box.left, box.top, box.right, box.bottom, width, height});
    Surface s;
    if (!TargetSurface(*dc, &s)) {
        return TRUE;
    }
    FillRegionWithPaint(*dc, s, LogicalRegionToSurface(*dc, frame), BrushPaint(*dc, brush, s.mono),
                        dc->s.rop2);
    FinishDrawing(*dc);
    return TRUE;
}
