#include "dialogs/CustomGraphDisplay.h"

#include "chart/ChartMath.h"
#include "chart/SRGDecimalScale.h"
#include "chart/SRGraph.h"
#include "chart/SRGraphData.h"
#include "chart/SRGraphDataList.h"
#include "chart/SRGraphException.h"
#include "chart/SRGraphLabel.h"

#include "platform/framework/CDC.h"

#include <algorithm>
#include <cmath>
#include <vector>

IMPLEMENT_SERIAL(CustomGraphDisplay, SRGraphDisplay, VERSIONABLE_SCHEMA | 2)

namespace {
constexpr int kDirections = 12;
constexpr double kDegreeInRadians = 0.017453292222222222;
constexpr double kQuarterTurn = 1.5707963;
constexpr double kDirectionStep = 0.5235987666666667;
// The last item drawn of each pair of groups: fine trace, coarse trace, satellites.
constexpr int kLastItemOfPair[] = {179, 35, 32};

double ScreenAngle(double azimuthDegrees) {
    return azimuthDegrees * kDegreeInRadians - kQuarterTurn;
}

POINT PointAt(int cx, int cy, double angle, double distance) {
    return POINT{SRGTrunc(cx + distance * std::cos(angle)), SRGTrunc(cy + distance * std::sin(angle))};
}
} // namespace

CustomGraphDisplay::CustomGraphDisplay() = default;

CustomGraphDisplay::SkyFrame CustomGraphDisplay::GetSkyFrame() const {
    SkyFrame frame;
    const CRect& r = m_rectDisplay;
    frame.cx = r.left + (r.right - r.left) / 2;
    frame.cy = r.top + (r.bottom - r.top) / 2;
    frame.side = std::min(r.right - r.left, r.bottom - r.top);
    frame.radius = 0.4 * frame.side;
    return frame;
}

void CustomGraphDisplay::DrawPolarAxis() {
    const SkyFrame frame = GetSkyFrame();
    if (!m_pDC || frame.radius < 1.0) {
        return;
    }
    CPen* pen = GetPen(PS_SOLID, m_style.m_nLineWidth, m_style.m_crColour);
    CPen* oldPen = m_pDC->SelectObject(pen);
    HGDIOBJ oldBrush = ::SelectObject(m_pDC->m_hDC, ::GetStockObject(HOLLOW_BRUSH));
    if (!m_style.HasOption(SRGO_NO_VALUE_GRID)) {
        for (POSITION pos = m_valueTicks.GetHeadPosition(); pos;) {
            const auto* tick = static_cast<const POINT*>(m_valueTicks.GetNext(pos));
            const int d = SRGTrunc(std::hypot(tick->x - frame.cx, tick->y - frame.cy));
            m_pDC->Ellipse(frame.cx - d, frame.cy - d, frame.cx + d, frame.cy + d);
        }
    }
    if (!m_style.HasOption(SRGO_NO_X_GRID)) {
        for (int i = 0; i < kDirections; ++i) {
            const POINT p = PointAt(frame.cx, frame.cy, i * kDirectionStep - kQuarterTurn, frame.radius);
            m_pDC->MoveTo(frame.cx, frame.cy);
            m_pDC->LineTo(p.x, p.y);
        }
    }
    ::SelectObject(m_pDC->m_hDC, oldBrush);
    m_pDC->SelectObject(oldPen);
}

void CustomGraphDisplay::DrawPolarGrid() {
    if ((m_valueRange.m_dMax == 0.0 && m_valueRange.m_dMin == 0.0) || m_style.GetTagNibble() == 0 || !m_pDC) {
        return;
    }
    const SkyFrame frame = GetSkyFrame();
    PreparePolarScales();

    if (!m_style.HasOption(SRGO_NO_CATEGORY_LABELS)) {
        SRGraphLabelBlock* labels = m_pXScale;
        labels->SetKeepPositions(FALSE);
        labels->SetDrawFlag(1);
        const double ring = 0.425 * frame.side;
        for (int i = 0; i < kDirections; ++i) {
            CString text;
            text.Format(u"%1.0f", i * 30.0);
            labels->SetLabelText(text, i, 1);
            const double angle = i * kDirectionStep - kQuarterTurn;
            const POINT anchor = PointAt(frame.cx, frame.cy, angle, ring);
            // The label block places a label by the screen direction of its anchor from the centre.
            double degrees = angle / kDegreeInRadians;
            if (degrees < 0.0) {
                degrees += 360.0;
            }
            if (SRGraphLabel* label = labels->GetLabel(i)) {
                label->SetSide(SRGTrunc(degrees / 45.0));
                label->SetAnchor(anchor.x, anchor.y);
                label->SetAngle(degrees);
            }
        }
        labels->DrawComponent(m_pDC, m_pWindow);
    }

    if (!m_style.HasOption(SRGO_NO_VALUE_SCALE)) {
        auto* scale = static_cast<SRGDecimalScale*>(m_pYScale);
        scale->SetPositionList(&m_valueTicks);
        scale->SetKeepPositions(TRUE);
        scale->SetStartPoint(frame.cx, frame.cy);
        scale->SetEndPoint(frame.cx, frame.cy - SRGTrunc(0.4 * frame.side + 0.5));
        scale->SetMinimum(0.0);
        scale->SetMaximum(90.0);
        scale->SetStep(30.0);
        scale->SetDescending();
        scale->SetFormat(u" %g ");
        scale->SetDepths(scale->GetDepth(), scale->GetDepthY(), 1.25 * GetDepth());
        scale->SetDrawFlag(1);
        scale->BuildLabels();
        scale->DrawComponent(m_pDC, m_pWindow);
    }
}

void CustomGraphDisplay::DrawPolarData() {
    if (m_nGroupCount <= 0 || m_nItemCount <= 0 || m_dValueSpan == 0.0 || !m_pChart) {
        DrawDefaultData();
        return;
    }
    if (m_nGroupCount % 2 != 0) {
        ThrowSRGraphException(SRGE_GRAPH_TYPE);
    }
    const SkyFrame frame = GetSkyFrame();
    if (frame.radius < 1.0 || !m_pDC) {
        return;
    }
    const double perUnit = frame.radius / m_dValueSpan;
    const bool logarithmic = m_style.HasOption(SRGO_LOG_VALUE_AXIS);
    const double base = logarithmic ? (m_valueRange.m_dMin > 0.0 ? std::log10(m_valueRange.m_dMin) : -3.0)
                                    : m_valueRange.m_dMin;
    std::vector<POINT> points;
    std::vector<int> items;
    for (int offset = 0; offset + 1 < m_nGroupCount; offset += 2) {
        const int group = m_nResolvedFirstGroup + offset;
        const int pair = offset / 2;
        SetCurrentGroupIndex(pair);
        SRGraphDataList* directions = m_pChart->GetGroup(group, TRUE);
        SRGraphDataList* distances = m_pChart->GetGroup(group + 1, TRUE);
        const int lastItem = kLastItemOfPair[std::min(pair, 2)];
        int n = std::min(directions->GetItemCount(), lastItem) - m_nResolvedFirstItem;
        n = std::min(n, m_nItemCount);
        if (n < 0) {
            continue;
        }
        points.assign(static_cast<size_t>(n) + 2, POINT{});
        items.assign(static_cast<size_t>(n) + 2, m_nResolvedFirstItem);
        for (int j = 0; j <= n; ++j) {
            const int item = j == m_nItemCount ? m_nResolvedFirstItem : m_nResolvedFirstItem + j;
            SRGraphData* direction = directions->GetItem(item, TRUE);
            const double angle = ScreenAngle(direction->GetValue(FALSE));
            const double r = (distances->GetItem(item, TRUE)->GetValue(logarithmic) - base) * perUnit;
            const POINT p{SRGTrunc(frame.cx + r * std::cos(angle) + 0.5), SRGTrunc(frame.cy + r * std::sin(angle) + 0.5)};
            points[static_cast<size_t>(j)] = p;
            items[static_cast<size_t>(j)] = item;
            if (group == kSatelliteGroup && direction->GetStyle().GetShapeKind() != 0) {
                m_pChart->AddFeedbackPointEx(p.x, p.y, kSatelliteGroup, item, kMarkerHitRadius);
            }
        }
        // The figure closes on its first point.
        points[static_cast<size_t>(n) + 1] = points[0];
        items[static_cast<size_t>(n) + 1] = items[0];
        for (int k = 0; k <= n + 1; ++k) {
            SRGraphStyle* style = &directions->GetItem(items[static_cast<size_t>(k)], TRUE)->GetStyle();
            const int kind = style->GetShapeKind();
            if (kind == 0) {
                continue;
            }
            const POINT& p = points[static_cast<size_t>(k)];
            if (kind != 0x04 && k <= n) {
                DrawDataSymbol(p.x, p.y, style, nullptr);
            }
            if (kind != 0x02 && k > 0) {
                const POINT& q = points[static_cast<size_t>(k) - 1];
                DrawDataLine(q.x, q.y, p.x, p.y, style, m_nCurrentGroupIndex, style->GetLineKind() == 2 ? 1 : 0,
                             nullptr);
            }
        }
    }
}
