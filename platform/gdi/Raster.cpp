// Pixel mixing (ROP2 and ROP3), span painting through clip regions, and shape coverage from cairo with
// antialiasing off (pixel centres decide).
#include "platform/gdi/GdiPrivate.h"

#include <algorithm>
#include <cmath>

namespace gdi {

uint32_t Rop2(int rop2, uint32_t p, uint32_t d) {
    uint32_t r;
    switch (rop2) {
    case R2_BLACK:
        r = 0;
        break;
    case R2_NOTMERGEPEN:
        r = ~(p | d);
        break;
    case R2_MASKNOTPEN:
        r = ~p & d;
        break;
    case R2_NOTCOPYPEN:
        r = ~p;
        break;
    case R2_MASKPENNOT:
        r = p & ~d;
        break;
    case R2_NOT:
        r = ~d;
        break;
    case R2_XORPEN:
        r = p ^ d;
        break;
    case R2_NOTMASKPEN:
        r = ~(p & d);
        break;
    case R2_MASKPEN:
        r = p & d;
        break;
    case R2_NOTXORPEN:
        r = ~(p ^ d);
        break;
    case R2_NOP:
        r = d;
        break;
    case R2_MERGENOTPEN:
        r = ~p | d;
        break;
    case R2_MERGEPEN:
        r = p | d;
        break;
    case R2_MERGEPENNOT:
        r = p | ~d;
        break;
    case R2_WHITE:
        r = 0xFFFFFFu;
        break;
    case R2_COPYPEN:
    default:
        r = p;
        break;
    }
    return r & 0xFFFFFFu;
}

uint32_t Rop3(uint8_t rop, uint32_t p, uint32_t s, uint32_t d) {
    switch (rop) {
    case 0x00:
        return 0;
    case 0xFF:
        return 0xFFFFFFu;
    case 0xCC:
        return s & 0xFFFFFFu;
    case 0x33:
        return ~s & 0xFFFFFFu;
    case 0xEE:
        return (s | d) & 0xFFFFFFu;
    case 0x88:
        return s & d & 0xFFFFFFu;
    case 0x66:
        return (s ^ d) & 0xFFFFFFu;
    case 0x44:
        return s & ~d & 0xFFFFFFu;
    case 0x11:
        return ~(s | d) & 0xFFFFFFu;
    case 0xC0:
        return p & s & 0xFFFFFFu;
    case 0xBB:
        return (~s | d) & 0xFFFFFFu;
    case 0xF0:
        return p & 0xFFFFFFu;
    case 0x5A:
        return (p ^ d) & 0xFFFFFFu;
    case 0x55:
        return ~d & 0xFFFFFFu;
    case 0xAA:
        return d & 0xFFFFFFu;
    case 0xB8:
        return ((p & ~s) | (d & s)) & 0xFFFFFFu; // where the source is set keep the destination
    case 0xE2:
        return ((d & ~s) | (p & s)) & 0xFFFFFFu;
    default:
        break;
    }
    // Bit (P<<2 | S<<1 | D) of the code is the result for that combination.
    uint32_t r = 0;
    for (int i = 0; i < 8; ++i) {
        if ((rop >> i) & 1) {
            uint32_t t = ((i & 4) ? p : ~p) & ((i & 2) ? s : ~s) & ((i & 1) ? d : ~d);
            r |= t;
        }
    }
    return r & 0xFFFFFFu;
}

uint32_t Paint::At(int x, int y, bool* skip) const {
    if (solid) {
        *skip = false;
        return color;
    }
    int px = (x - orgX) % w;
    int py = (y - orgY) % h;
    if (px < 0) {
        px += w;
    }
    if (py < 0) {
        py += h;
    }
    size_t i = static_cast<size_t>(py) * w + px;
    *skip = !hole.empty() && hole[i];
    return pix[i];
}

void Painter::SpanRaw(int y, int x0, int x1) {
    if (paint_.none || y < 0 || y >= s_.height) {
        return;
    }
    x0 = std::max(x0, 0);
    x1 = std::min(x1, s_.width);
    if (x0 >= x1) {
        return;
    }
    uint32_t* row = s_.Row(y);
    if (paint_.solid) {
        uint32_t c = paint_.color;
        if (rop2_ == R2_COPYPEN) {
            std::fill(row + x0, row + x1, c);
        } else if (rop2_ == R2_NOP) {
            return;
        } else {
            for (int x = x0; x < x1; ++x) {
                row[x] = Rop2(rop2_, c, row[x]);
            }
        }
        return;
    }
    int py = (y - paint_.orgY) % paint_.h;
    if (py < 0) {
        py += paint_.h;
    }
    const uint32_t* prow = paint_.pix.data() + static_cast<size_t>(py) * paint_.w;
    const uint8_t* hrow =
        paint_.hole.empty() ? nullptr : paint_.hole.data() + static_cast<size_t>(py) * paint_.w;
    int px = (x0 - paint_.orgX) % paint_.w;
    if (px < 0) {
        px += paint_.w;
    }
    for (int x = x0; x < x1; ++x) {
        if (!hrow || !hrow[px]) {
            row[x] = rop2_ == R2_COPYPEN ? prow[px] : Rop2(rop2_, prow[px], row[x]);
        }
        if (++px == paint_.w) {
            px = 0;
        }
    }
}

void Painter::SpanClipped(int y, int x0, int x1) {
    if (x0 >= x1 || paint_.none) {
        return;
    }
    ForClippedRuns(clip_, y, x0, x1, [&](int a, int b) { SpanRaw(y, a, b); });
}

void Painter::Pixel(int x, int y) {
    if (paint_.none || x < 0 || y < 0 || x >= s_.width || y >= s_.height || !clip_.Contains(x, y)) {
        return;
    }
    bool skip = false;
    uint32_t c = paint_.At(x, y, &skip);
    if (skip) {
        return;
    }
    uint32_t& d = s_.Row(y)[x];
    d = Rop2(rop2_, c, d);
}

// ---- Coverage through cairo
namespace {
constexpr double kLimit = 4.0e6; // well inside cairo's fixed-point range

double Clamp(double v) {
    return std::clamp(v, -kLimit, kLimit);
}

void AddFigures(cairo_t* cr, const std::vector<PathFigure>& figures, double ox, double oy) {
    for (const PathFigure& f : figures) {
        if (f.pts.empty()) {
            continue;
        }
        cairo_move_to(cr, Clamp(f.pts[0].first) - ox, Clamp(f.pts[0].second) - oy);
        for (size_t i = 1; i < f.pts.size(); ++i) {
            cairo_line_to(cr, Clamp(f.pts[i].first) - ox, Clamp(f.pts[i].second) - oy);
        }
        if (f.closed) {
            cairo_close_path(cr);
        }
    }
}

bool Bounds(const std::vector<PathFigure>& figures, double pad, const RECT& clipBox, RECT* out) {
    double x0 = 1e300;
    double y0 = 1e300;
    double x1 = -1e300;
    double y1 = -1e300;
    for (const PathFigure& f : figures) {
        for (auto [x, y] : f.pts) {
            x0 = std::min(x0, x);
            y0 = std::min(y0, y);
            x1 = std::max(x1, x);
            y1 = std::max(y1, y);
        }
    }
    if (x0 > x1) {
        return false;
    }
    RECT r{static_cast<LONG>(std::floor(Clamp(x0 - pad))) - 1,
           static_cast<LONG>(std::floor(Clamp(y0 - pad))) - 1,
           static_cast<LONG>(std::ceil(Clamp(x1 + pad))) + 1,
           static_cast<LONG>(std::ceil(Clamp(y1 + pad))) + 1};
    r.left = std::max(r.left, clipBox.left);
    r.top = std::max(r.top, clipBox.top);
    r.right = std::min(r.right, clipBox.right);
    r.bottom = std::min(r.bottom, clipBox.bottom);
    if (r.left >= r.right || r.top >= r.bottom) {
        return false;
    }
    *out = r;
    return true;
}

template <class Draw>
std::vector<Span> Coverage(const RECT& box, Draw&& draw) {
    std::vector<Span> spans;
    int w = box.right - box.left;
    int h = box.bottom - box.top;
    cairo_surface_t* mask = cairo_image_surface_create(CAIRO_FORMAT_A8, w, h);
    if (cairo_surface_status(mask) != CAIRO_STATUS_SUCCESS) {
        cairo_surface_destroy(mask);
        return spans;
    }
    cairo_t* cr = cairo_create(mask);
    cairo_set_antialias(cr, CAIRO_ANTIALIAS_NONE);
    cairo_set_source_rgba(cr, 0, 0, 0, 1);
    draw(cr);
    cairo_destroy(cr);
    cairo_surface_flush(mask);
    const unsigned char* data = cairo_image_surface_get_data(mask);
    int stride = cairo_image_surface_get_stride(mask);
    for (int y = 0; y < h; ++y) {
        const unsigned char* row = data + static_cast<ptrdiff_t>(y) * stride;
        int x = 0;
        while (x < w) {
            while (x < w && row[x] < 128) {
                ++x;
            }
            int start = x;
            while (x < w && row[x] >= 128) {
                ++x;
            }
            if (x > start) {
                spans.push_back(Span{box.top + y, box.left + start, box.left + x});
            }
        }
    }
    cairo_surface_destroy(mask);
    return spans;
}
} // namespace

std::vector<Span> RasterizeFill(const std::vector<PathFigure>& figures, bool winding, const RECT& clipBox) {
    RECT box;
    if (!Bounds(figures, 0, clipBox, &box)) {
        return {};
    }
    return Coverage(box, [&](cairo_t* cr) {
        cairo_set_fill_rule(cr, winding ? CAIRO_FILL_RULE_WINDING : CAIRO_FILL_RULE_EVEN_ODD);
        std::vector<PathFigure> closed = figures;
        for (PathFigure& f : closed) {
            f.closed = true;
        }
        AddFigures(cr, closed, box.left, box.top);
        cairo_fill(cr);
    });
}

std::vector<Span> RasterizeStroke(const std::vector<PathFigure>& figures, const StrokeStyle& st,
                                  const RECT& clipBox) {
    RECT box;
    double pad = st.width * (st.join == CAIRO_LINE_JOIN_MITER ? st.miterLimit : 1.5) + 2;
    if (!Bounds(figures, pad, clipBox, &box)) {
        return {};
    }
    return Coverage(box, [&](cairo_t* cr) {
        cairo_set_line_width(cr, st.width);
        cairo_set_line_cap(cr, st.cap);
        cairo_set_line_join(cr, st.join);
        cairo_set_miter_limit(cr, st.miterLimit);
        if (!st.dashes.empty()) {
            cairo_set_dash(cr, st.dashes.data(), static_cast<int>(st.dashes.size()), 0);
        }
        AddFigures(cr, figures, box.left, box.top);
        cairo_stroke(cr);
    });
}

Region PolygonRegion(const std::vector<PathFigure>& figures, bool winding) {
    RECT all{-(1 << 22), -(1 << 22), 1 << 22, 1 << 22};
    return RegionFromSpans(RasterizeFill(figures, winding, all));
}

std::vector<std::pair<double, double>> EllipsePoints(double cx, double cy, double rx, double ry, double a0,
                                                     double a1, bool full) {
    // Angles in radians, counter-clockwise on screen (y down), from a0 to a1 going counter-clockwise.
    std::vector<std::pair<double, double>> pts;
    double sweep = full ? 2 * M_PI : a1 - a0;
    if (!full) {
        while (sweep <= 0) {
            sweep += 2 * M_PI;
        }
    }
    double r = std::max(rx, ry);
    int steps = std::max(8, static_cast<int>(std::ceil(std::fabs(sweep) * std::max(r, 1.0) / 0.5)));
    steps = std::min(steps, 20000);
    for (int i = 0; i <= steps; ++i) {
        double a = a0 + sweep * i / steps;
        pts.emplace_back(cx + rx * std::cos(a), cy - ry * std::sin(a));
    }
    return pts;
}

} // namespace gdi
