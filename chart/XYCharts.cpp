// Charts whose points carry their own X coordinate: scatter and XY lines from pairs of items, bubbles from
// triples of groups (x, y, size) and vectors from quadruples (x, y and a direction and length, or an offset).
#include "chart/ChartMath.h"
#include "chart/SRGraph.h"
#include "chart/SRGraphData.h"
#include "chart/SRGraphDisplay.h"
#include "chart/SRGraphException.h"

#include "platform/framework/CDC.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace {
constexpr double kTiny = 2.220446e-15;
constexpr double kTinyLength = 2.220446e-14;

// An axis range as drawn: decimal logarithms on a logarithmic axis, a minimum of 0 taken as 0.001.
struct AxisMapping {
    bool logarithmic = false;
    double minimum = 0.0;
    double span = 0.0;
    double Of(double v) const { return logarithmic ? (v > 0.0 ? std::log10(v) : -3.0) : v; }
};

AxisMapping MapAxis(const CScale& range, bool logarithmic) {
    AxisMapping axis;
    axis.logarithmic = logarithmic;
    double minimum = range.m_dMin;
    if (logarithmic && minimum == 0.0) {
        minimum = 0.001;
    }
    axis.minimum = axis.Of(minimum);
    axis.span = axis.Of(range.m_dMax) - axis.minimum;
    return axis;
}
} // namespace

SRGraphDisplay::XYPlot SRGraphDisplay::GetXYPlot(bool xLogarithmic, bool valueLogarithmic) {
    XYPlot plot;
    plot.rect = m_rectDisplay;
    const AxisMapping x = MapAxis(m_xAxisRange, xLogarithmic);
    const AxisMapping y = MapAxis(m_valueAxisRange, valueLogarithmic);
    plot.xLog = xLogarithmic;
    plot.yLog = valueLogarithmic;
    plot.xMin = x.minimum;
    plot.yMin = y.minimum;
    plot.xSpan = x.span;
    plot.ySpan = y.span;
    plot.px = x.span != 0.0 ? plot.rect.Width() / x.span : 0.0;
    plot.py = y.span != 0.0 ? plot.rect.Height() / y.span : 0.0;
    return plot;
}

POINT SRGraphDisplay::XYPlot::At(double x, double y, double rounding) const {
    const AxisMapping xAxis{xLog, xMin, xSpan}, yAxis{yLog, yMin, ySpan};
    return POINT{SRGTrunc(rect.left + (xAxis.Of(x) - xMin) * px + rounding),
                 SRGTrunc(rect.bottom - (yAxis.Of(y) - yMin) * py + rounding)};
}

bool SRGraphDisplay::HasXYData(const XYPlot& plot) {
    if (plot.xSpan == 0.0 || plot.ySpan == 0.0 || m_nGroupCount <= 0 || m_nItemCount <= 0 || !m_pChart || !m_pDC) {
        DrawDefaultData();
        return false;
    }
    return true;
}

void SRGraphDisplay::DrawXY() {
    const int graph = m_style.GetGraphStyle();
    const bool logValues = m_style.HasOption(SRGO_LOG_VALUE_AXIS);
    const bool logX = graph >= 32 ? m_style.HasThird(SRGT_LOG_X_AXIS) != 0 : logValues;
    const XYPlot plot = GetXYPlot(logX, logValues);
    if (!HasXYData(plot)) {
        return;
    }
    struct Pair {
        int xItem, xGroup, yItem, yGroup;
    };
    // The series by the layout of the pairs, each with its palette code.
    std::vector<std::pair<int, std::vector<Pair>>> series;
    if (graph == 19 || graph == 32) {
        for (int g = m_nResolvedFirstGroup; g <= m_nResolvedLastGroup; ++g) {
            std::vector<Pair> pairs;
            const int visited = VisitedItems(g);
            for (int j = 0; j + 1 < visited; j += 2) {
                pairs.push_back(Pair{m_nResolvedFirstItem + j, g, m_nResolvedFirstItem + j + 1, g});
            }
            series.emplace_back(g, pairs);
        }
    } else if (graph == 20 || graph == 33) {
        for (int j = 0; j + 1 < m_nItemCount; j += 2) {
            std::vector<Pair> pairs;
            for (int g = m_nResolvedFirstGroup; g <= m_nResolvedLastGroup; ++g) {
                pairs.push_back(Pair{m_nResolvedFirstItem + j, g, m_nResolvedFirstItem + j + 1, g});
            }
            series.emplace_back(m_nResolvedFirstItem + j / 2, pairs);
        }
    } else {
        for (int offset = 0; offset + 1 < m_nGroupCount; offset += 2) {
            std::vector<Pair> pairs;
            const int g = m_nResolvedFirstGroup + offset;
            for (int j = 0; j < m_nItemCount; ++j) {
                pairs.push_back(Pair{m_nResolvedFirstItem + j, g, m_nResolvedFirstItem + j, g + 1});
            }
            series.emplace_back(m_nResolvedFirstGroup + offset / 2, pairs);
        }
    }
    for (const auto& [code, pairs] : series) {
        SetCurrentGroupIndex(code);
        bool start = true;
        POINT previous{0, 0};
        for (const Pair& pair : pairs) {
            SRGraphData* x = m_pChart->FindItem(pair.xItem, pair.xGroup);
            SRGraphData* y = m_pChart->FindItem(pair.yItem, pair.yGroup);
            if (x->IsNull() != y->IsNull()) {
                ThrowSRGraphException(SRGE_NULL_ITEM);
            }
            if (x->IsNull()) {
                if (m_style.HasOption(SRGO_NULL_BREAKS_LINE)) {
                    start = true;
                }
                continue;
            }
            const POINT p = plot.At(x->GetValue(FALSE), y->GetValue(FALSE), 0.5);
            m_pChart->AddFeedbackPoint(p.x, p.y, pair.xGroup, pair.xItem);
            if (start) {
                DrawDataSymbol(p.x, p.y, &x->GetStyle(), nullptr);
            } else {
                DrawDataObject(previous.x, previous.y, p.x, p.y, &x->GetStyle(), 1, nullptr);
            }
            previous = p;
            start = false;
        }
    }
}

void SRGraphDisplay::DrawSmallCross(int x, int y, int group, int item) {
    const double sx = PrinterScaleX(m_pDC), sy = PrinterScaleY(m_pDC);
    const int ox = SRGTrunc(4 * sx), oy = SRGTrunc(4 * sy);
    const CRect& r = m_rectDisplay;
    const POINT ends[4] = {{x - ox, y - oy}, {x + ox, y + oy}, {x + ox, y - oy}, {x - ox, y + oy}};
    bool inside = false;
    for (const POINT& p : ends) {
        inside = inside || r.PtInRect(p);
    }
    if (!inside) {
        return;
    }
    m_pChart->AddFeedbackPoint(x, y, group, item);
    SelectPen(m_nCurrentGroupIndex, SRGTrunc(2 * sx));
    CPen* old = m_pDC->SelectObject(m_pPalettePen);
    m_pDC->MoveTo(ends[0].x, ends[0].y);
    m_pDC->LineTo(ends[1].x, ends[1].y);
    m_pDC->MoveTo(ends[2].x, ends[2].y);
    m_pDC->LineTo(ends[3].x, ends[3].y);
    m_pDC->SelectObject(old);
}

void SRGraphDisplay::DrawBubbles() {
    const XYPlot plot = GetXYPlot(false, false);
    if (!HasXYData(plot)) {
        return;
    }
    struct Bubble {
        double size;
        int group; // the first group of its triple
        int item;
    };
    std::vector<Bubble> bubbles;
    for (int offset = 0; offset + 2 < m_nGroupCount; offset += 3) {
        const int group = m_nResolvedFirstGroup + offset;
        for (int j = 0; j < m_nItemCount; ++j) {
            SRGraphData* size = m_pChart->FindItem(m_nResolvedFirstItem + j, group + 2);
            bubbles.push_back(Bubble{size->IsNull() ? 0.0 : std::fabs(size->GetValue(FALSE)), group, m_nResolvedFirstItem + j});
        }
    }
    // Smaller bubbles are drawn over larger ones.
    std::stable_sort(bubbles.begin(), bubbles.end(), [](const Bubble& a, const Bubble& b) { return a.size > b.size; });
    const bool byArea = m_style.GetGraphStyle() == 42;
    auto measure = [&](const Bubble& b) {
        if (!byArea) {
            return b.size;
        }
        const bool square = m_pChart->FindItem(b.item, b.group)->GetStyle().GetShapeKind() == 5;
        return std::sqrt(square ? b.size : b.size * 0.31830989161357204);
    };
    const double largest = bubbles.empty() ? 0.0 : measure(bubbles.front());
    const double sx = PrinterScaleX(m_pDC), sy = PrinterScaleY(m_pDC);
    double limit = m_style.m_dThirdLimit;
    if (limit <= 0.0) {
        limit = 20.0;
    }
    for (size_t n = 0; n < bubbles.size(); ++n) {
        const Bubble& b = bubbles[n];
        SRGraphData* x = m_pChart->FindItem(b.item, b.group);
        SRGraphData* y = m_pChart->FindItem(b.item, b.group + 1);
        SRGraphData* size = m_pChart->FindItem(b.item, b.group + 2);
        if (x->IsNull() || y->IsNull() || size->IsNull()) {
            continue;
        }
        const POINT centre = plot.At(x->GetValue(FALSE), y->GetValue(FALSE), 0.5);
        SetCurrentGroupIndex(static_cast<int>(n));
        const double r = measure(b);
        double rx = 0.0, ry = 0.0;
        bool drawable = false;
        if (!m_style.HasOption(SRGO_FIXED_SIZES)) {
            rx = r * plot.px;
            ry = r * plot.py;
            drawable = rx >= sx && ry >= sy;
        } else if (r >= kTiny && largest > 0.0 && r / largest * limit >= 1.0) {
            rx = ry = r / largest * limit * std::min(sx, sy);
            drawable = true;
        }
        if (!drawable) {
            DrawSmallCross(centre.x, centre.y, b.group, b.item);
            continue;
        }
        const int h = SRGTrunc(rx + 0.5), v = SRGTrunc(ry + 0.5);
        const CRect box(centre.x - h, centre.y - v, centre.x + h, centre.y + v);
        CRect overlap;
        if (!overlap.IntersectRect(&box, &m_rectDisplay)) {
            continue;
        }
        SRGraphStyle* style = &x->GetStyle();
        DrawDataBar(box.left, box.top, box.right, box.bottom, b.group, b.item, style,
                    style->GetShapeKind() == 5 ? 0x500 : 0x1100, nullptr);
    }
}

void SRGraphDisplay::DrawVectors() {
    const XYPlot plot = GetXYPlot(false, false);
    if (!HasXYData(plot)) {
        return;
    }
    const int graph = m_style.GetGraphStyle();
    const bool fixedLength = graph != 45 && m_style.HasOption(SRGO_FIXED_SIZES);
    const double sx = PrinterScaleX(m_pDC), sy = PrinterScaleY(m_pDC);
    double longest = 0.0;
    if (fixedLength) {
        for (int offset = 0; offset + 3 < m_nGroupCount; offset += 4) {
            for (int j = 0; j < m_nItemCount; ++j) {
                SRGraphData* length = m_pChart->FindItem(m_nResolvedFirstItem + j, m_nResolvedFirstGroup + offset + 3);
                if (!length->IsNull()) {
                    longest = std::max(longest, std::fabs(length->GetValue(FALSE)));
                }
            }
        }
    }
    for (int offset = 0; offset + 3 < m_nGroupCount; offset += 4) {
        const int group = m_nResolvedFirstGroup + offset;
        for (int j = 0; j < m_nItemCount; ++j) {
            const int index = m_nResolvedFirstItem + j;
            SRGraphData* data[4];
            bool null = false;
            for (int k = 0; k < 4; ++k) {
                data[k] = m_pChart->FindItem(index, group + k);
                null = null || data[k]->IsNull();
            }
            if (null) {
                continue;
            }
            SetCurrentGroupIndex(offset / 4 * m_nItemCount + j);
            const POINT start = plot.At(data[0]->GetValue(FALSE), data[1]->GetValue(FALSE), 0.0);
            const double a = data[2]->GetValue(FALSE), b = data[3]->GetValue(FALSE);
            POINT from = start, to = start;
            bool arrow = true;
            if (graph == 45) {
                to = POINT{start.x + SRGTrunc(a * plot.px), start.y - SRGTrunc(b * plot.py)};
            } else {
                const double t = (90.0 - a) * kSRGRadiansPerDegree;
                double dx = std::cos(t) * b * plot.px, dy = std::sin(t) * b * plot.py;
                if (fixedLength) {
                    const double scale = longest > 0.0 ? m_style.m_dThirdLimit / longest : 0.0;
                    dx = std::cos(t) * b * scale * sx;
                    dy = std::sin(t) * b * scale * sy;
                }
                arrow = std::fabs(b) > kTinyLength;
                if (graph == 44) {
                    from = POINT{start.x - SRGTrunc(dx / 2), start.y + SRGTrunc(dy / 2)};
                    to = POINT{start.x + SRGTrunc(dx / 2), start.y - SRGTrunc(dy / 2)};
                } else {
                    to = POINT{start.x + SRGTrunc(dx), start.y - SRGTrunc(dy)};
                }
            }
            const double length = PointDistance(from.x, from.y, to.x, to.y);
            if (!arrow || length < 3 * std::min(sx, sy)) {
                DrawSmallCross(start.x, start.y, group, index);
                continue;
            }
            m_pChart->AddFeedbackPoint(start.x, start.y, group, index);
            SRGraphStyle* style = &data[0]->GetStyle();
            DrawMarker(start.x, start.y, style, data[0]);
            m_pChart->AddFeedbackPoint(to.x, to.y, group + 2, index);
            SRGraphStyle line = *style;
            line.SetShapeKind(0x12);
            DrawDataObject(from.x, from.y, to.x, to.y, &line, 8, nullptr);
        }
    }
}
