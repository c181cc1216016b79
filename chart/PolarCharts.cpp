// Polar charts: 16 angle labels and a radial scale, the web of rings and spokes, and one closed curve per
// pair of groups (directions in degrees clockwise from up, and distances).
#include "chart/ChartMath.h"
#include "chart/SRGCompiledPolygon.h"
#include "chart/SRGDecimalScale.h"
#include "chart/SRGLogScale.h"
#include "chart/SRGraph.h"
#include "chart/SRGraphData.h"
#include "chart/SRGraphDataList.h"
#include "chart/SRGraphDisplay.h"
#include "chart/SRGraphException.h"

#include "platform/framework/CDC.h"

#include <cmath>
#include <functional>
#include <vector>

namespace {
constexpr int kSpokes = 16;
constexpr double kSpokeStep = 0.392699075;
constexpr double kFullTurn = 6.2831852;
} // namespace

SRGraphDisplay::PolarFrame SRGraphDisplay::GetPolarFrame() const {
    PolarFrame frame;
    const CRect& r = m_rectDisplay;
    frame.cx = r.left + (r.right - r.left) / 2;
    frame.cy = r.top + (r.bottom - r.top) / 2;
    frame.side = std::min(r.right - r.left, r.bottom - r.top);
    return frame;
}

void SRGraphDisplay::SpokePoints(const PolarFrame& frame, double radius, int count, double step, POINT* points,
                                 double* angles) {
    double u = 0.0;
    for (int k = 0; k < count; ++k) {
        const double t = u - kSRGQuarterTurn;
        points[k] = POINT{SRGTrunc(frame.cx + std::cos(t) * radius), SRGTrunc(frame.cy + std::sin(t) * radius)};
        if (angles) {
            angles[k] = t;
        }
        u += step;
    }
}

void SRGraphDisplay::PreparePolarScales() {
    if (!m_pXScale) {
        m_pXScale = new SRGraphLabelBlock;
    }
    if (!m_pYScale) {
        m_pYScale = m_style.HasOption(SRGO_LOG_VALUE_AXIS) ? new SRGLogScale : new SRGDecimalScale;
    }
    for (SRGraphLabelBlock* scale : {m_pXScale, m_pYScale}) {
        ScopeScale(scale, m_style.HasThird(SRGT_SCALES_USE_SCOPE));
        scale->SetParentGraph(m_pChart);
        scale->BeginDraw(m_pDC, m_pWindow);
        ApplyTextAttributes(scale);
    }
}

void SRGraphDisplay::DrawPolarGrid() {
    DrawWebScales(kSpokes, kSpokeStep, false, [](int k) {
        CString text;
        text.Format(u"%3.2f", k * 22.5);
        return text;
    });
}

void SRGraphDisplay::DrawWebScales(int spokes, double step, bool trim, const std::function<CString(int)>& text) {
    if ((m_valueRange.m_dMax == 0.0 && m_valueRange.m_dMin == 0.0) || m_style.GetTagNibble() == 0 || !m_pDC ||
        spokes <= 0) {
        return;
    }
    const PolarFrame frame = GetPolarFrame();
    const double radius = 0.425 * frame.side;
    if (radius < 1.0) {
        return;
    }
    PreparePolarScales();
    std::vector<POINT> points(static_cast<size_t>(spokes));
    std::vector<double> angles(static_cast<size_t>(spokes));
    SpokePoints(frame, radius, spokes, step, points.data(), angles.data());

    SRGraphLabelBlock* labels = m_pXScale;
    labels->SetKeepPositions(FALSE);
    labels->SetDrawFlag(1);
    if (!m_style.HasOption(SRGO_NO_CATEGORY_LABELS)) {
        for (int k = 0; k < spokes; ++k) {
            if (m_bChanged) {
                labels->SetLabelText(text(k), k, 1);
            }
            const size_t at = static_cast<size_t>(k);
            const double t = angles[at] < 0.0 ? angles[at] + kFullTurn : angles[at];
            const double d = t * kSRGDegreesPerRadian;
            if (SRGraphLabel* label = labels->GetLabel(k)) {
                label->SetSide(SRGTrunc(d * 0.022222222222222223));
                label->SetAnchor(points[at].x, points[at].y);
                label->SetAngle(d);
            }
        }
        while (trim && labels->GetCount() > spokes) {
            labels->RemoveLast();
        }
        labels->DrawComponent(m_pDC, m_pWindow);
    }

    if (!m_style.HasOption(SRGO_NO_VALUE_SCALE)) {
        auto* scale = static_cast<SRGDecimalScale*>(m_pYScale);
        scale->SetPositionList(&m_valueTicks);
        scale->SetKeepPositions(TRUE);
        scale->SetStartPoint(frame.cx, frame.cy);
        scale->SetEndPoint(frame.cx, frame.cy - SRGRound(0.4 * frame.side));
        scale->SetMaximum(m_valueRange.m_dMax);
        scale->SetMinimum(m_valueRange.m_dMin);
        scale->SetAscending();
        scale->SetFormat(u" %g ");
        const double depth = 1.25 * GetDepth();
        scale->SetDepths(scale->GetDepth(), scale->GetDepthY(), depth);
        scale->SetDrawFlag(1);
        scale->BuildLabels();
        scale->DrawComponent(m_pDC, m_pWindow);
    }
}

void SRGraphDisplay::DrawPolarAxis() {
    DrawWebAxis(kSpokes, kSpokeStep);
}

void SRGraphDisplay::DrawWebAxis(int spokes, double step) {
    if (!m_pDC || spokes <= 0) {
        return;
    }
    const PolarFrame frame = GetPolarFrame();
    const double radius = 0.4 * frame.side;
    if (radius < 1.0) {
        return;
    }
    std::vector<POINT> points(static_cast<size_t>(spokes));
    SpokePoints(frame, radius, spokes, step, points.data(), nullptr);
    if (m_style.HasOption(SRGO_FILL_PLOT_AREA)) {
        CBrush brush;
        brush.CreateSolidBrush(m_style.m_crSecond);
        CBrush* oldBrush = m_pDC->SelectObject(&brush);
        HGDIOBJ oldPen = ::SelectObject(m_pDC->m_hDC, ::GetStockObject(NULL_PEN));
        for (size_t k = 0; k < points.size(); ++k) {
            const POINT wedge[3] = {{frame.cx, frame.cy}, points[k], points[(k + 1) % points.size()]};
            m_pDC->Polygon(wedge, 3);
        }
        ::SelectObject(m_pDC->m_hDC, oldPen);
        m_pDC->SelectObject(oldBrush);
    }
    CPen* pen = GetPen(PS_SOLID, m_style.m_nLineWidth, m_style.m_crColour);
    CPen* oldPen = m_pDC->SelectObject(pen);
    HGDIOBJ oldBrush = ::SelectObject(m_pDC->m_hDC, ::GetStockObject(HOLLOW_BRUSH));
    if (!m_style.HasOption(SRGO_NO_VALUE_GRID)) {
        for (POSITION pos = m_valueTicks.GetHeadPosition(); pos;) {
            const auto* tick = static_cast<const POINT*>(m_valueTicks.GetNext(pos));
            const int d = tick->y - frame.cy;
            m_pDC->Ellipse(frame.cx - d, frame.cy - d, frame.cx + d, frame.cy + d);
        }
    }
    if (!m_style.HasOption(SRGO_NO_X_GRID)) {
        for (const POINT& p : points) {
            m_pDC->MoveTo(frame.cx, frame.cy);
            m_pDC->LineTo(p.x, p.y);
        }
    }
    ::SelectObject(m_pDC->m_hDC, oldBrush);
    m_pDC->SelectObject(oldPen);
}

void SRGraphDisplay::DrawPolarData() {
    if (m_nGroupCount <= 0 || m_nItemCount <= 0 || m_dValueSpan == 0.0 || !m_pChart) {
        DrawDefaultData();
        return;
    }
    if (m_nGroupCount % 2 != 0) {
        ThrowSRGraphException(SRGE_GRAPH_TYPE);
    }
    const PolarFrame frame = GetPolarFrame();
    const double radius = 0.4 * frame.side;
    if (radius < 1.0) {
        return;
    }
    const double perUnit = radius / m_dValueSpan;
    const bool logarithmic = m_style.HasOption(SRGO_LOG_VALUE_AXIS);
    const double base = GetBaseValue();
    std::vector<POINT> points;
    for (int offset = 0; offset + 1 < m_nGroupCount; offset += 2) {
        const int directions = m_nResolvedFirstGroup + offset;
        // Only the pairs the store holds: a scope read from a file may reach far past them.
        if (directions + 1 > LastStoredGroup()) {
            break;
        }
        SetCurrentGroupIndex(offset / 2);
        SRGraphDataList* angleGroup = m_pChart->GetGroup(directions, FALSE);
        SRGraphDataList* distanceGroup = m_pChart->GetGroup(directions + 1, FALSE);
        const int n = StoredScopeItems(directions);
        if (n <= 0) {
            continue;
        }
        points.assign(static_cast<size_t>(n) + 1, POINT{});
        // Only the points the direction group gives are drawn; the curve closes over them.
        auto itemIndex = [&](int j) { return m_nResolvedFirstItem + (j >= n ? 0 : j); };
        for (int j = 0; j < n; ++j) {
            const int item = itemIndex(j);
            const double a = angleGroup->GetItem(item, TRUE)->GetValue(FALSE);
            const double v = distanceGroup->GetItem(item, TRUE)->GetValue(logarithmic);
            const double r = (v - base) * perUnit;
            const double t = a * kSRGRadiansPerDegree - kSRGQuarterTurn;
            points[static_cast<size_t>(j)] = POINT{SRGTrunc(frame.cx + std::cos(t) * r + 0.5),
                                                   SRGTrunc(frame.cy + std::sin(t) * r + 0.5)};
            m_pChart->AddFeedbackPoint(points[static_cast<size_t>(j)].x, points[static_cast<size_t>(j)].y, directions,
                                       item);
        }
        points[static_cast<size_t>(n)] = points[0];
        if (m_style.GetGraphStyle() == 27) {
            FillPolygon(points.data(), n + 1, &angleGroup->GetStyle(), 0);
        }
        DrawCurveMarks(points, n, [&](int k) { return &angleGroup->GetItem(itemIndex(k), TRUE)->GetStyle(); });
    }
}

void SRGraphDisplay::DrawCurveMarks(const std::vector<POINT>& points, int n,
                                    const std::function<SRGraphStyle*(int)>& styleOf) {
    for (int k = 0; k <= n; ++k) {
        SRGraphStyle* style = styleOf(k);
        const int kind = style->GetShapeKind();
        if (kind == 0) {
            continue;
        }
        const POINT& p = points[static_cast<size_t>(k)];
        if (kind != 4 && k < n) {
            DrawDataSymbol(p.x, p.y, style, nullptr);
        }
        if (kind != 2 && k > 0) {
            const POINT& q = points[static_cast<size_t>(k - 1)];
            DrawDataLine(q.x, q.y, p.x, p.y, style, m_nCurrentGroupIndex, style->GetLineKind() == 2 ? 1 : 0, nullptr);
        }
    }
}
