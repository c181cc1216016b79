// Pie charts: every non-null item of the scope a slice, clockwise from three o'clock; flat, or tilted with a
// rim drawn back to front; slices moved out by their explode code; one label beside each slice.
#include "chart/ChartMath.h"
#include "chart/SRGraph.h"
#include "chart/SRGraphData.h"
#include "chart/SRGraphDisplay.h"
#include "chart/SRGraphLabelBlock.h"

#include "platform/base/WideRuntime.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace {
constexpr double kFullTurn = 6.2831852;
constexpr double kArcStep = 0.08726646111111111; // 5 degrees

// How far a slice moves out along its middle, as a share of the radii, by its explode code.
double ExplodeShare(int code) {
    switch (code) {
    case 1:
    case 3:
        return 0.1;
    case 2:
        return 0.05;
    case 4:
        return 0.2;
    default:
        return 0.0;
    }
}

// The label's distance from the centre, as a multiple of the radii.
double LabelDistance(int code) {
    switch (code) {
    case 1:
    case 3:
        return 1.2;
    case 2:
        return 1.15;
    case 4:
        return 1.3;
    default:
        return 1.1;
    }
}

int ExplodeCode(const SRGraphStyle& style) {
    return SRGraphStyle::Field(style.m_dwStyle, 8, 4);
}
} // namespace

SRGraphDisplay::PieGeometry SRGraphDisplay::GetPieGeometry() {
    PieGeometry pie;
    const CRect& r = m_rectDisplay;
    // Within the store: the sum creates the items it reads, and those past the store are empty anyway.
    pie.total = m_pChart->SumOfRange(m_nResolvedFirstGroup, m_nResolvedFirstItem, LastStoredGroup(),
                                     m_nResolvedFirstItem + StoredItemSpan() - 1);
    pie.rx = 0.3 * std::min(r.Width(), r.Height());
    const double tilt = (m_style.GetGraphStyle() == 4 ? 90.0 : m_style.m_dPieAngle) * kSRGRadiansPerDegree;
    pie.ry = std::sin(tilt) * pie.rx;
    const double rim = m_style.HasOption(SRGO_FIXED_SIZES) ? m_style.m_dFirstLimit : pie.ry / 2;
    pie.rim = std::cos(tilt) * rim;
    pie.cx = r.left + r.Width() / 2;
    pie.cy = SRGTrunc(r.top + r.Height() / 2 - pie.rim / 2);
    double start = 0.0;
    int number = 0;
    for (int group = m_nResolvedFirstGroup; group <= LastStoredGroup(); ++group) {
        const int last = m_nResolvedFirstItem + StoredScopeItems(group) - 1;
        for (int index = m_nResolvedFirstItem; index <= last; ++index) {
            SRGraphData* item = m_pChart->FindItem(index, group);
            if (item->IsNull()) {
                continue;
            }
            Slice slice;
            slice.group = group;
            slice.index = index;
            slice.number = number++;
            slice.item = item;
            slice.start = start;
            slice.end = start + item->GetValue(FALSE) * kFullTurn / pie.total;
            const double middle = (slice.start + slice.end) / 2;
            const double share = ExplodeShare(ExplodeCode(item->GetStyle()));
            slice.dx = SRGTrunc(std::cos(middle) * share * pie.rx);
            slice.dy = SRGTrunc(std::sin(middle) * share * pie.ry);
            start = slice.end;
            pie.slices.push_back(slice);
        }
    }
    return pie;
}

POINT SRGraphDisplay::PieGeometry::At(double angle) const {
    return POINT{SRGTrunc(cx + std::cos(angle) * rx), SRGTrunc(cy + std::sin(angle) * ry)};
}

void SRGraphDisplay::DrawPieFace(const Slice& slice, std::vector<POINT>& points, bool log) {
    SRGraphStyle* style = &slice.item->GetStyle();
    OffsetPoints(points.data(), static_cast<int>(points.size()), slice.dx, slice.dy);
    SetCurrentGroupIndex(slice.number);
    if (log) {
        m_pChart->AddFeedbackPolygon(points.data(), static_cast<int>(points.size()), slice.group, slice.index);
    }
    FillPolygon(points.data(), static_cast<int>(points.size()), style, 0);
    DrawOutline(points.data(), static_cast<int>(points.size()), style, 0);
}

void SRGraphDisplay::DrawPie() {
    if (!m_pChart || !m_pDC || m_nGroupCount <= 0 || m_nItemCount <= 0) {
        DrawDefaultData();
        return;
    }
    if (m_valueRange.m_dMin < 0.0) {
        // A pie cannot show negative values: the display becomes clustered columns.
        FallBackToColumns();
        return;
    }
    const PieGeometry pie = GetPieGeometry();
    if (pie.total == 0.0 || pie.slices.empty()) {
        DrawDefaultData();
        return;
    }
    const std::vector<Slice>& slices = pie.slices;
    std::vector<POINT> points;
    const int rim = SRGTrunc(pie.rim);
    if (pie.ry != pie.rx) {
        // The faces at the slice boundaries, top first.
        std::vector<size_t> order(slices.size());
        for (size_t i = 0; i < order.size(); ++i) {
            order[i] = i;
        }
        std::stable_sort(order.begin(), order.end(),
                         [&](size_t a, size_t b) { return pie.At(slices[a].start).y < pie.At(slices[b].start).y; });
        for (size_t i : order) {
            const POINT p = pie.At(slices[i].start);
            const size_t owner = p.x > pie.cx ? (i == 0 ? slices.size() - 1 : i - 1) : i;
            points = {POINT{pie.cx, pie.cy}, p, POINT{p.x, p.y + rim}, POINT{pie.cx, pie.cy + rim}};
            DrawPieFace(slices[owner], points, false);
        }
        // The outer rims, back to front.
        std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) {
            return pie.At((slices[a].start + slices[a].end) / 2).y < pie.At((slices[b].start + slices[b].end) / 2).y;
        });
        for (size_t i : order) {
            const Slice& slice = slices[i];
            std::vector<POINT> arc;
            for (double a = slice.end; a > slice.start; a -= kArcStep) {
                if (std::sin(a) >= 0.0) {
                    arc.push_back(pie.At(a));
                }
            }
            if (arc.empty()) {
                continue;
            }
            arc.push_back(pie.At(slice.start));
            points = arc;
            for (auto it = arc.rbegin(); it != arc.rend(); ++it) {
                points.push_back(POINT{it->x, it->y + rim});
            }
            points.push_back(arc.front());
            DrawPieFace(slice, points, true);
        }
    }
    // Compared apart: the product of a scope from a file can overflow.
    const bool single = m_nGroupCount == m_nItemCount && (m_nGroupCount == 1 || m_nGroupCount == -1);
    for (const Slice& slice : slices) {
        points.clear();
        if (!single) {
            points.push_back(POINT{pie.cx, pie.cy});
        }
        for (double a = slice.end; a - slice.start > kArcStep; a -= kArcStep) {
            points.push_back(pie.At(a));
        }
        points.push_back(pie.At(slice.start));
        points.push_back(points.front());
        DrawPieFace(slice, points, true);
    }
}

CString SRGraphDisplay::PieLabelText(const Slice& slice, double total) {
    const double value = slice.item->GetValue(FALSE);
    const double share = value * 100 / total;
    CString text;
    switch (slice.item->GetStyle().GetTagNibble()) {
    case 0:
        break;
    case 2:
        text.Format(u"%f", value);
        break;
    case 3:
        text.Format(u"%.2f%%", share);
        break;
    case 5:
        text.Format(u"%s", m_pChart->GetItemAnnotation(slice.group, slice.index, 1).GetString());
        break;
    case 6:
        text.Format(u"%s (%f)", m_pChart->GetItemAnnotation(slice.group, slice.index, 1).GetString(), value);
        break;
    case 7:
        text.Format(u"%s=%f (%.2f%%)", m_pChart->GetItemAnnotation(slice.group, slice.index, 1).GetString(), value,
                    share);
        break;
    case 8:
        text.Format(u"%s (%.2f%%)", m_pChart->GetItemAnnotation(slice.group, slice.index, 1).GetString(), share);
        break;
    default:
        text.Format(u"%g (%.2f%%)", value, share);
        break;
    }
    return text;
}

void SRGraphDisplay::DrawPieLabels() {
    if (m_style.GetTagNibble() < 1 || !m_pChart || !m_pDC || m_nGroupCount <= 0 || m_nItemCount <= 0) {
        return;
    }
    const PieGeometry pie = GetPieGeometry();
    if (pie.total == 0.0) {
        return;
    }
    SRGraphLabelBlock block;
    block.SetParentGraph(m_pChart);
    block.SetAvoidOverlap(TRUE);
    block.BeginDraw(m_pDC, m_pWindow);
    ApplyTextAttributes(&block);
    const bool tilted = m_style.GetGraphStyle() == 13;
    for (const Slice& slice : pie.slices) {
        const double a = (slice.start + slice.end) / 2;
        const double f = LabelDistance(ExplodeCode(slice.item->GetStyle()));
        const int x = SRGTrunc(pie.cx + std::cos(a) * (f * pie.rx + 3));
        int y = SRGTrunc(pie.cy + std::sin(a) * (f * pie.ry + 3));
        if (tilted && y > pie.cy) {
            y += SRGTrunc(pie.rim);
        }
        double degrees = a * kSRGDegreesPerRadian;
        if (degrees < 0.0) {
            degrees += 360.0;
        }
        auto* label = new SRGraphLabel;
        label->GetStyle().SetTagNibble(m_style.HasOption(SRGO_CATEGORY_LABELS_PUSH) ? 0xA : 0x9);
        block.AttachLabel(label, TRUE);
        label->SetAnchor(x, y);
        label->SetSide(SRGTrunc(degrees * 0.022222222222222223) & 7);
        label->SetAngle(degrees);
        label->SetText(PieLabelText(slice, pie.total));
        ApplyTextAttributes(label);
    }
    block.SetDrawFlag(1);
    block.DrawComponent(m_pDC, m_pWindow);
}
