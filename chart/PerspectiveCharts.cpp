// Perspective charts: the data inside a box seen in oblique projection, the groups side by side along its
// front edge, the items receding from the back wall (item 0) to the front, the values rising. Columns stand
// on the floor; ribbons join the items of a group.
#include "chart/ChartMath.h"
#include "chart/ChartResourceIds.h"
#include "chart/SRGDecimalScale.h"
#include "chart/SRGLogScale.h"
#include "chart/SRGraph.h"
#include "chart/SRGraphData.h"
#include "chart/SRGraphDataList.h"
#include "chart/SRGraphDisplay.h"
#include "chart/SRGraphException.h"

#include "platform/framework/CDC.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace {
constexpr int kMeasure = 0;
constexpr int kPaint = 1;
} // namespace

void SRGraphDisplay::GetFrontRect3D(CSize& backWall, int& offset) {
    const CRect& r = m_rectDisplay;
    const int width = r.Width(), height = r.Height();
    const double sx = PrinterScaleX(m_pDC), sy = PrinterScaleY(m_pDC);
    const double depth = m_nItemCount * m_style.m_dThirdLimit * sx;
    const double groups = m_nGroupCount * m_style.m_dSecondLimit * sy;
    if (m_style.HasOption(SRGO_FIXED_SIZES) && width > 0 && 0.6 * width >= depth) {
        backWall = CSize(SRGTrunc(std::min(width - depth, groups)), SRGTrunc(height - depth * height / width));
        offset = SRGTrunc(width / 2 - (depth + groups * 0.5));
        return;
    }
    backWall = CSize(SRGTrunc(0.4 * width), height / 2);
    offset = 0;
}

SRGraphDisplay::Box3D SRGraphDisplay::GetBox3D(bool forData) {
    Box3D box;
    const int axis = m_style.GetAxisStyle();
    box.recedeRight = axis == 1 || axis == 5 || axis == 7 || (forData && axis == 0);
    box.valid = box.recedeRight || axis == 4 || axis == 6;
    box.walls = axis == 1 || axis == 6 || axis == 7;
    const CRect& r = m_rectDisplay;
    box.L = r.left;
    box.T = r.top;
    box.R = r.right;
    box.B = r.bottom;
    box.W = r.Width();
    CSize front;
    GetFrontRect3D(front, box.D);
    box.Fw = front.cx;
    box.Fh = front.cy;
    if (box.recedeRight) {
        const int shift = box.D != 0 ? SRGTrunc(m_nItemCount * m_style.m_dThirdLimit * PrinterScaleX(m_pDC) + box.D)
                                     : box.W - box.Fw;
        box.K = CRect(box.L + shift, box.T, box.L + shift + box.Fw, box.T + box.Fh);
    } else {
        box.K = CRect(box.L + box.D, box.T, box.L + box.D + box.Fw, box.T + box.Fh);
    }
    return box;
}

void SRGraphDisplay::Box3D::Slant(int steps, double fixedStep) {
    const int n = std::max(steps, 1);
    f = D != 0 ? fixedStep : 0.6 * W / n;
    v = static_cast<double>(B - K.bottom) / n;
}

// ---- Walls, floor and grid

void SRGraphDisplay::DrawAxes3D() {
    if (!m_pDC) {
        return;
    }
    const Box3D box = GetBox3D(false);
    if (!box.valid) {
        return;
    }
    const int L = box.L, B = box.B, R = box.R, D = box.D, Fw = box.Fw, Fh = box.Fh, W = box.W;
    const CRect& K = box.K;
    const int rise = B - K.bottom;
    CBrush fill;
    HGDIOBJ brush = ::GetStockObject(HOLLOW_BRUSH);
    if (m_style.HasOption(SRGO_FILL_PLOT_AREA)) {
        fill.CreateSolidBrush(m_style.m_crSecond);
        brush = fill.m_hObject;
    }
    CPen* wallPen = GetPen(PS_SOLID, 1, m_style.m_crLine);
    CPen* gridPen = GetPen(PS_SOLID, 1, m_style.m_crColour);
    CPen* oldPen = m_pDC->SelectObject(wallPen);
    HGDIOBJ oldBrush = ::SelectObject(m_pDC->m_hDC, brush);
    auto polyline = [&](std::initializer_list<POINT> points) {
        const POINT* p = points.begin();
        m_pDC->MoveTo(p->x, p->y);
        for (++p; p != points.end(); ++p) {
            m_pDC->LineTo(p->x, p->y);
        }
    };
    auto ticks = [&](CPtrList& list, auto line) {
        for (POSITION pos = list.GetHeadPosition(); pos;) {
            line(*static_cast<const POINT*>(list.GetNext(pos)));
        }
    };
    const int mark = SRGTrunc(GetDepth());
    // The mirror image for views receding to the left: x' = L + R - x.
    const int sign = box.recedeRight ? 1 : -1;
    if (box.walls) {
        m_pDC->SelectObject(wallPen);
        m_pDC->Rectangle(K.left, K.top, K.right, K.bottom);
        const int wallX = box.recedeRight ? K.left : K.right;
        const int frontX = box.recedeRight ? L + D : R - D;
        const POINT wall[5] = {{wallX, K.top}, {wallX, K.bottom}, {frontX, B}, {frontX, B - Fh}, {wallX, K.top}};
        m_pDC->Polygon(wall, 5);
        if (!m_style.HasOption(SRGO_NO_VALUE_TICKS)) {
            ticks(m_valueTicks, [&](const POINT& p) { polyline({{p.x + mark, p.y}, {p.x - mark, p.y}}); });
        }
        m_pDC->SelectObject(gridPen);
        if (!m_style.HasOption(SRGO_NO_VALUE_GRID)) {
            const int farX = box.recedeRight ? K.right : K.left;
            ticks(m_valueTicks,
                  [&](const POINT& p) { polyline({{frontX, p.y}, {wallX, p.y - rise}, {farX, p.y - rise}}); });
        }
        if (!m_style.HasOption(SRGO_NO_X_GRID)) {
            const int back = sign * (W - Fw);
            ticks(m_xTicks, [&](const POINT& p) {
                polyline({{p.x, B}, {p.x + back, K.bottom}, {p.x + back, K.top}});
            });
        }
        if (!m_style.HasOption(SRGO_NO_DEPTH_GRID)) {
            ticks(m_labelTicks, [&](const POINT& p) {
                const int x = p.x - sign * 10;
                polyline({{x, p.y}, {x - sign * Fw, p.y}, {x - sign * Fw, p.y - Fh}});
            });
        }
    }
    m_pDC->SelectObject(wallPen);
    // The floor last: a filled floor covers the grid lines on it.
    const int frontLeft = box.recedeRight ? L + D : R - Fw - D;
    const POINT floor[5] = {{K.right, K.bottom}, {K.left, K.bottom}, {frontLeft, B}, {frontLeft + Fw, B}, {K.right, K.bottom}};
    m_pDC->Polygon(floor, 5);
    ::SelectObject(m_pDC->m_hDC, oldBrush);
    m_pDC->SelectObject(oldPen);
}

// ---- Scales

void SRGraphDisplay::DrawScales3D() {
    if (m_nGroupCount <= 0 || m_nItemCount <= 0 || m_style.GetTagNibble() == 0 || !m_pDC || !m_pChart) {
        return;
    }
    const int saved = m_pDC->SaveDC();
    struct Restore {
        CDC* dc;
        int saved;
        ~Restore() { dc->RestoreDC(saved); }
    } restore{m_pDC, saved};
    if (!m_pYScale) {
        m_pYScale = m_style.HasOption(SRGO_LOG_VALUE_AXIS) ? new SRGLogScale : new SRGDecimalScale;
    }
    if (!m_pXScale) {
        m_pXScale = new SRGraphLabelBlock;
    }
    if (!m_pLabelBlock) {
        m_pLabelBlock = new SRGraphLabelBlock;
    }
    auto* values = dynamic_cast<SRGDecimalScale*>(m_pYScale);
    if (!values) {
        return;
    }
    const bool displayScope = m_style.HasThird(SRGT_SCALES_USE_SCOPE);
    ScopeScale(values, displayScope);
    ScopeScale(m_pXScale, displayScope);
    const std::vector<int> order = GroupsByAverage();
    const bool fits = !m_style.HasOption(SRGO_EXPLICIT_RECT);
    CRect& r = m_rectDisplay;
    for (int pass = kMeasure; pass <= kPaint; ++pass) {
        const Box3D box = GetBox3D(true);
        values->SetDrawFlag(pass);
        // A negative minimum: the data routines turn the chart into columns; no scales meanwhile.
        if (!(m_valueRange.m_dMin >= 0.0)) {
            return;
        }
        if (!m_style.HasOption(SRGO_NO_VALUE_SCALE)) {
            values->SetParentGraph(m_pChart);
            values->BeginDraw(m_pDC, m_pWindow);
            values->SetMinimum(m_valueRange.m_dMin);
            values->SetMaximum(m_valueRange.m_dMax);
            ApplyTextAttributes(values);
            values->SetStep(0);
            values->SetKeepPositions(TRUE);
            values->SetPositionList(&m_valueTicks);
            values->SetAscending();
            const int x = box.recedeRight ? box.L : box.R;
            values->SetStartPoint(x, box.B);
            values->SetEndPoint(x, box.B - box.Fh);
            values->SetLabelSide(box.recedeRight ? 0 : 1);
            values->SetDepths(values->GetDepth(), values->GetDepthY(), 1.25 * GetDepth());
            values->BuildLabels();
            values->DrawComponent(m_pDC, m_pWindow);
            if (pass == kMeasure && fits) {
                const CRect block = values->GetBlockRect();
                const int needed = SRGTrunc(values->GetDepthX()) + block.Width();
                if (box.D < needed) {
                    (box.recedeRight ? r.left : r.right) += (box.recedeRight ? 1 : -1) * (needed - box.D);
                }
                if (!block.IsRectNull() && block.top < r.top) {
                    r.top += r.top - block.top;
                }
            }
        }
        if (!m_style.HasOption(SRGO_HIDDEN_GROUP)) {
            SRGraphLabelBlock* groups = m_pXScale;
            groups->SetParentGraph(m_pChart);
            groups->BeginDraw(m_pDC, m_pWindow);
            groups->SetDrawFlag(pass);
            if (m_bChanged || !m_style.HasOption(SRGO_KEEP_GROUP_ORDER)) {
                for (size_t j = 0; j < order.size(); ++j) {
                    groups->SetLabelText(m_pChart->GetGroupAnnotation(order[j], 1), static_cast<int>(j), 1);
                }
                while (groups->GetCount() > m_nGroupCount) {
                    groups->RemoveLast();
                }
            }
            ApplyTextAttributes(groups);
            groups->SetKeepPositions(TRUE);
            groups->SetPositionList(&m_xTicks);
            groups->SetAvoidOverlap(TRUE);
            groups->SetMoveFactors(0, 1);
            const int u = box.Fw / m_nGroupCount / 2;
            if (box.recedeRight) {
                groups->SetAllSides(0);
                groups->SetAllAngles(270);
                groups->ArrangeLabels(box.L + u, box.B + 5, box.L + box.Fw - u, box.B + 5);
            } else {
                groups->SetAllSides(4);
                groups->SetAllAngles(90);
                groups->ArrangeLabels(box.R - u, box.B + 5, box.R - box.Fw + u, box.B + 5);
            }
            groups->DrawComponent(m_pDC, m_pWindow);
            if (pass == kMeasure && fits) {
                r.bottom -= groups->GetBlockRect().Height();
            }
        }
        if (!m_style.HasOption(SRGO_NO_CATEGORY_LABELS)) {
            DrawItemLabels3D(box, pass, fits);
        }
    }
}

void SRGraphDisplay::DrawItemLabels3D(const Box3D& box, int pass, bool fits) {
    SRGraphLabelBlock* items = m_pLabelBlock;
    items->SetParentGraph(m_pChart);
    items->BeginDraw(m_pDC, m_pWindow);
    items->SetDrawFlag(pass);
    if (m_bChanged) {
        for (int a = 0; a < m_nItemCount; ++a) {
            const CString& text =
                m_pChart->FindItem(m_nResolvedFirstItem + a, m_nResolvedFirstGroup)->GetAnnotation(m_pChart->GetAnnotationKey());
            items->SetLabelText(text, a, 1);
        }
        while (items->GetCount() > m_nItemCount) {
            items->RemoveLast();
        }
    }
    ApplyTextAttributes(items);
    items->SetKeepPositions(TRUE);
    items->SetPositionList(&m_labelTicks);
    items->SetAvoidOverlap(TRUE);
    items->SetMoveFactors(1, 0);
    const int L = box.L, R = box.R, B = box.B, D = box.D, Fw = box.Fw;
    const CRect& K = box.K;
    const int e = box.recedeRight ? (K.left - L) / m_nItemCount : (R - K.right) / m_nItemCount;
    const int q = (B - K.bottom) / m_nItemCount / 2;
    const bool ribbons = m_style.GetGraphStyle() == 10 || m_style.GetGraphStyle() == 17;
    const int e2 = ribbons ? 0 : e / 2;
    const int q2 = ribbons ? 0 : q;
    if (box.recedeRight) {
        items->SetAllSides(1);
        items->ArrangeLabels(R - e2 - D + 10, K.bottom + q2, Fw + L + e2 + D + 10, B - q2);
    } else {
        items->SetAllSides(3);
        items->ArrangeLabels(L + D + e2 - 10, K.bottom + q2, R - Fw - e2 - D - 10, B - q2);
    }
    items->DrawComponent(m_pDC, m_pWindow);
    if (pass != kMeasure || !fits) {
        return;
    }
    const CRect block = items->GetBlockRect();
    CRect& r = m_rectDisplay;
    if (box.recedeRight && block.right > r.right) {
        r.right -= block.right - r.right;
    } else if (!box.recedeRight && !block.IsRectNull() && block.left < r.left) {
        r.left += r.left - block.left;
    }
}

// ---- Data

bool SRGraphDisplay::GiveUpPerspective() {
    if (m_valueRange.m_dMin >= 0.0) {
        return false;
    }
    FallBackToColumns();
    return true;
}

void SRGraphDisplay::FallBackToColumns() {
    m_style.SetAxisStyle(2);
    m_style.SetGraphStyle(3);
    m_style.m_dwThird = (m_style.m_dwThird & ~0xFFu) | 1u;
    m_style.m_bChanged = TRUE;
}

void SRGraphDisplay::DrawFace3D(const POINT (&face)[5], int group, int item, SRGraphStyle* style, int pattern, int rop) {
    m_pChart->AddFeedbackPolygon(face, 5, group, item);
    FillPolygon(face, 5, style, 0);
    if (pattern && m_style.HasOption(SRGO_PATTERN_SHADING)) {
        ShadePolygon(face, 5, pattern, rop);
    }
    DrawOutline(face, 5, style, 0);
}

void SRGraphDisplay::DrawColumns3D() {
    if (!HasPlotData() || GiveUpPerspective()) {
        return;
    }
    Box3D box = GetBox3D(true);
    if (!box.valid) {
        return;
    }
    const int N = m_nItemCount;
    box.Slant(N, m_style.m_dThirdLimit * PrinterScaleX(m_pDC));
    const double gw = box.D != 0 ? m_style.m_dSecondLimit * PrinterScaleX(m_pDC) : 0.4 * box.W / m_nGroupCount;
    const double perUnit = box.Fh / m_dValueSpan;
    const double base = GetBaseValue();
    const bool logarithmic = m_style.HasOption(SRGO_LOG_VALUE_AXIS);
    const std::vector<int> order = GroupsByAverage();
    const double f = box.f, v = box.v;
    for (size_t p = 0; p < order.size(); ++p) {
        const int group = order[p];
        SetCurrentGroupIndex(group);
        const int count = VisitedItems(group);
        for (int w = 0; w < count; ++w) {
            const int index = m_nResolvedFirstItem + w;
            SRGraphData* item = m_pChart->FindItem(index, group);
            if (item->IsNull()) {
                continue;
            }
            SRGraphStyle* style = GetBarStyle(item, group);
            const double y0 = box.K.bottom + (w + 1) * v;
            const double y1 = y0 - (item->GetValue(logarithmic) - base) * perUnit;
            auto pt = [](double x, double y) { return POINT{SRGTrunc(x), SRGTrunc(y)}; };
            if (box.recedeRight) {
                const double x0 = p * gw + box.K.left - (w + 1) * f, x1 = x0 + gw;
                const POINT front[5] = {pt(x0, y0), pt(x1, y0), pt(x1, y1), pt(x0, y1), pt(x0, y0)};
                const POINT side[5] = {pt(x1, y0), pt(x1, y1), pt(x1 + f, y1 - v), pt(x1 + f, y0 - v), pt(x1, y0)};
                const POINT top[5] = {pt(x1, y1), pt(x1 + f, y1 - v), pt(x1 + f - gw, y1 - v), pt(x0, y1), pt(x1, y1)};
                DrawFace3D(front, group, index, style, IDB_SRG_SPARSE_SIDE, R2_MASKPEN);
                DrawFace3D(side, group, index, style, 0, 0);
                DrawFace3D(top, group, index, style, IDB_SRG_SPARSE_TOP, R2_MERGEPEN);
            } else {
                const double x1 = box.K.right + (w + 1) * f - p * gw, x0 = x1 - gw;
                const POINT front[5] = {pt(x1, y0), pt(x0, y0), pt(x0, y1), pt(x1, y1), pt(x1, y0)};
                const POINT side[5] = {pt(x0, y0), pt(x0, y1), pt(x0 - f, y1 - v), pt(x0 - f, y0 - v), pt(x0, y0)};
                const POINT top[5] = {pt(x0, y1), pt(x0 - f, y1 - v), pt(x0 - f + gw, y1 - v), pt(x0 + gw, y1), pt(x0, y1)};
                DrawFace3D(front, group, index, style, IDB_SRG_SPARSE_SIDE, R2_MASKPEN);
                DrawFace3D(side, group, index, style, 0, 0);
                DrawFace3D(top, group, index, style, IDB_SRG_SPARSE_TOP, R2_MERGEPEN);
            }
        }
    }
}

void SRGraphDisplay::DrawRibbons3D() {
    if (!HasPlotData()) {
        return;
    }
    if (m_nItemCount == 1) {
        FallBackToColumns();
        return;
    }
    if (GiveUpPerspective()) {
        return;
    }
    Box3D box = GetBox3D(true);
    if (!box.valid) {
        return;
    }
    const int N = m_nItemCount;
    box.Slant(N - 1, m_style.m_dThirdLimit * PrinterScaleX(m_pDC));
    const double gw = box.D != 0 ? m_style.m_dSecondLimit * PrinterScaleX(m_pDC) : 0.4 * box.W / m_nGroupCount;
    const double perUnit = box.Fh / m_dValueSpan;
    const double base = GetBaseValue();
    const bool logarithmic = m_style.HasOption(SRGO_LOG_VALUE_AXIS);
    const bool sides = m_style.GetGraphStyle() == 10;
    const double f = box.f, v = box.v;
    const std::vector<int> order = GroupsByAverage();
    for (size_t p = 0; p < order.size(); ++p) {
        const int group = order[p];
        SetCurrentGroupIndex(group);
        SRGraphStyle* style = &m_pChart->GetGroup(group, TRUE)->GetStyle();
        const int count = VisitedItems(group);
        std::vector<RibbonEdge> drawn;
        for (int k = 0; k < count; ++k) {
            const int index = m_nResolvedFirstItem + k;
            SRGraphData* item = m_pChart->FindItem(index, group);
            if (item->IsNull()) {
                continue;
            }
            double leftX, rightX;
            if (box.recedeRight) {
                rightX = (p + 1) * gw + box.K.left - k * f;
                leftX = rightX - gw;
            } else {
                leftX = box.K.right + k * f - (p + 1) * gw;
                rightX = leftX + gw;
            }
            const double baseY = box.K.bottom + k * v;
            const int y = SRGTrunc(baseY - (item->GetValue(logarithmic) - base) * perUnit);
            const double value = item->GetValue(logarithmic);
            const RibbonEdge edge{POINT{SRGTrunc(leftX), y}, POINT{SRGTrunc(rightX), y},
                                  POINT{SRGTrunc(box.recedeRight ? rightX : leftX), SRGTrunc(baseY)}, index, value};
            if (!drawn.empty()) {
                // Steep faces are shaded darker, flat ones lighter.
                DrawRibbonTop(drawn.back(), edge, group, style, f / (std::fabs(value - drawn.back().value) * perUnit));
            }
            drawn.push_back(edge);
            if (sides && k == N - 1) {
                // The front face, down to the base line.
                const POINT front[5] = {edge.left, edge.right, POINT{edge.right.x, edge.foot.y}, POINT{edge.left.x, edge.foot.y},
                                        edge.left};
                DrawFace3D(front, group, index, style, IDB_SRG_SHADOW, R2_MASKPEN);
            }
        }
        // The side face along the visible edge, when the ribbon reaches the front.
        if (!sides || drawn.empty() || drawn.back().index != m_nResolvedFirstItem + N - 1) {
            continue;
        }
        std::vector<POINT> side;
        for (const RibbonEdge& e : drawn) {
            side.push_back(box.recedeRight ? e.right : e.left);
        }
        side.push_back(drawn.back().foot);
        const int backX = box.recedeRight ? SRGTrunc((p + 1) * gw + box.K.left) : SRGTrunc(box.K.right - (p + 1) * gw);
        side.push_back(POINT{backX, box.K.bottom});
        side.push_back(side.front());
        m_pChart->AddFeedbackPolygon(side.data(), static_cast<int>(side.size()), group, -1);
        FillPolygon(side.data(), static_cast<int>(side.size()), style, 0);
        DrawOutline(side.data(), static_cast<int>(side.size()), style, 0);
    }
}

void SRGraphDisplay::DrawRibbonTop(const RibbonEdge& previous, const RibbonEdge& current, int group,
                                   SRGraphStyle* style, double ratio) {
    const POINT face[5] = {current.right, current.left, previous.left, previous.right, current.right};
    auto middle = [](POINT a, POINT b) { return POINT{a.x + (b.x - a.x) / 2, a.y + (b.y - a.y) / 2}; };
    const POINT leftMiddle = middle(current.left, previous.left), rightMiddle = middle(previous.right, current.right);
    const POINT near[5] = {current.right, current.left, leftMiddle, rightMiddle, current.right};
    const POINT far[5] = {rightMiddle, leftMiddle, previous.left, previous.right, rightMiddle};
    m_pChart->AddFeedbackPolygon(near, 5, group, current.index);
    m_pChart->AddFeedbackPolygon(far, 5, group, previous.index);
    FillPolygon(face, 5, style, 0);
    if (m_style.HasOption(SRGO_PATTERN_SHADING)) {
        if (ratio < 0.3) {
            ShadePolygon(face, 5, IDB_SRG_SHADOW, R2_MASKPEN);
        } else if (ratio < 0.6) {
            ShadePolygon(face, 5, IDB_SRG_SPARSE_SIDE, R2_MASKPEN);
        } else if (ratio >= 2.0) {
            ShadePolygon(face, 5, IDB_SRG_SPARSE_TOP, R2_MERGEPEN);
        } else if (ratio >= 1.5) {
            ShadePolygon(face, 5, IDB_SRG_CHECKER, R2_MERGEPEN);
        }
    }
    DrawOutline(face, 5, style, 0);
}
