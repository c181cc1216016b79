// Radar charts: one spoke per item of the scope, labelled with the items' annotations, and one closed curve
// (or filled area) per group over the spokes; the web and scales are the polar chart's.
#include "chart/ChartMath.h"
#include "chart/SRGraph.h"
#include "chart/SRGraphData.h"
#include "chart/SRGraphDataList.h"
#include "chart/SRGraphDisplay.h"
#include "chart/SRGraphException.h"

#include <cmath>
#include <vector>

namespace {
constexpr double kFullTurn = 6.2831852;
} // namespace

void SRGraphDisplay::DrawRadarGrid() {
    if (!m_pChart || m_nItemCount <= 0) {
        return;
    }
    DrawWebScales(m_nItemCount, kFullTurn / m_nItemCount, true, [this](int k) {
        return m_pChart->FindItem(m_nResolvedFirstItem + k, 0)->GetAnnotation(GetAnnotationKey());
    });
}

void SRGraphDisplay::DrawRadarAxis() {
    if (m_nItemCount < 3) {
        return;
    }
    DrawWebAxis(m_nItemCount, kFullTurn / m_nItemCount);
}

void SRGraphDisplay::DrawRadar() {
    if (!HasPlotData()) {
        return;
    }
    const PolarFrame frame = GetPolarFrame();
    const double radius = 0.4 * frame.side;
    if (radius < 1.0) {
        return;
    }
    const int spokes = m_nItemCount;
    if (spokes < 3) {
        ThrowSRGraphException(SRGE_GRAPH_TYPE);
    }
    const double perUnit = radius / m_dValueSpan;
    const double base = GetBaseValue();
    const bool logarithmic = m_style.HasOption(SRGO_LOG_VALUE_AXIS);
    const double step = kFullTurn / spokes;
    std::vector<POINT> points(static_cast<size_t>(spokes) + 1);
    for (int group = m_nResolvedFirstGroup; group <= LastStoredGroup(); ++group) {
        SetCurrentGroupIndex(group);
        const int n = std::min(ScopeItems(group) - m_nResolvedFirstItem, spokes);
        if (n <= 0) {
            continue;
        }
        SRGraphDataList* list = m_pChart->GetGroup(group, TRUE);
        // A group shorter than the scope closes its curve over the points it has.
        auto itemIndex = [&](int j) { return m_nResolvedFirstItem + (j >= n ? 0 : j); };
        double u = 0.0;
        for (int j = 0; j < n; ++j) {
            const double t = u - kSRGQuarterTurn;
            u += step;
            const int item = itemIndex(j);
            const double r = (list->GetItem(item, TRUE)->GetValue(logarithmic) - base) * perUnit;
            POINT& p = points[static_cast<size_t>(j)];
            p = POINT{SRGTrunc(frame.cx + std::cos(t) * r + 0.5), SRGTrunc(frame.cy + std::sin(t) * r + 0.5)};
            m_pChart->AddFeedbackPoint(p.x, p.y, group, item);
        }
        points[static_cast<size_t>(n)] = points[0];
        if (m_style.GetGraphStyle() == 23) {
            FillPolygon(points.data(), n + 1, &list->GetStyle(), 0);
            DrawOutline(points.data(), n + 1, &list->GetStyle(), 0);
            continue;
        }
        DrawCurveMarks(points, n, [&](int k) { return &list->GetItem(itemIndex(k), TRUE)->GetStyle(); });
    }
}
