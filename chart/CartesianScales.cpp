// Scales and frames of the charts drawn on rectangular axes: the scale routines place the two scale objects
// along the edges of the display rectangle, shrink the rectangle until their labels fit and leave the tick
// positions in the tick lists; the frame routines draw tick marks, grid lines and the frame from those lists.
#include "chart/ChartMath.h"
#include "chart/SRGDateScale.h"
#include "chart/SRGDecimalScale.h"
#include "chart/SRGIndexScale.h"
#include "chart/SRGLogScale.h"
#include "chart/SRGTickMarks.h"
#include "chart/SRGraph.h"
#include "chart/SRGraphDisplay.h"

#include "platform/framework/CDC.h"

namespace {
// The bit that makes a scale keep its own label angle and side instead of turning them across the line.
constexpr DWORD kOwnLabelAngle = 0x80000000;
// The two passes of a scale routine: measure, then paint.
constexpr int kMeasure = 0;
constexpr int kPaint = 1;
} // namespace

void SRGraphDisplay::ApplyTextAttributes(SRGraphLabel* block) {
    block->SetFontSize(m_nFontSize);
    block->SetFaceName(GetFaceName());
    block->SetColor(GetColor());
    block->SetFontStyle(m_nFontStyle);
}

void SRGraphDisplay::ScopeScale(SRGraphLabelBlock* scale, bool displayScope) {
    if (displayScope) {
        scale->SetScope(m_nResolvedFirstItem, m_nResolvedLastItem, m_nResolvedFirstGroup, m_nResolvedLastGroup);
    } else {
        scale->SetScope(-1, -1, -1, -1);
    }
}

CSize SRGraphDisplay::GetDepthOffset() {
    const double depth = m_style.HasOption(SRGO_FIXED_SIZES) ? SRGTrunc(m_style.m_dSecondLimit) : 10.0;
    return CSize(SRGRound(depth * PrinterScaleX(m_pDC)), SRGRound(depth * PrinterScaleY(m_pDC)));
}

void SRGraphDisplay::PlaceHorizontalScale(SRGDecimalScale* scale, int endInset, int pass, int& leftTaken) {
    CRect& r = m_rectDisplay;
    scale->SetStartPoint(r.left, r.bottom);
    scale->SetEndPoint(r.right - endInset, r.bottom);
    scale->SetLabelSide(0);
    scale->SetDepths(scale->GetDepth(), scale->GetDepthY(), 1.25 * GetDepth());
    if (!m_style.HasThird(SRGT_KEEP_CATEGORY_STYLE)) {
        // Upright labels centred under their ticks.
        scale->GetStyle().m_dwOptions |= kOwnLabelAngle;
        scale->GetStyle().m_dRotation = 0.0;
        scale->SetSide(SRGL_BELOW);
        scale->BuildLabels();
        scale->SetAvoidOverlap(TRUE);
    } else {
        scale->BuildLabels();
    }
    scale->SetDrawFlag(pass);
    scale->DrawComponent(m_pDC, m_pWindow);
    if (pass != kMeasure || m_style.HasOption(SRGO_EXPLICIT_RECT)) {
        return;
    }
    const CRect block = scale->GetBlockRect();
    const int offset = SRGTrunc(scale->GetDepthX());
    r.bottom -= block.Height() + offset;
    if (block.IsRectNull()) {
        return;
    }
    if (block.right > r.right) {
        r.right -= block.right - r.right;
    }
    if (block.left < r.left) {
        leftTaken = r.left - block.left;
        r.left += leftTaken;
    }
}

void SRGraphDisplay::PlaceVerticalScale(SRGDecimalScale* scale, POINT start, POINT end, bool onRight, int pass,
                                        int leftTaken) {
    CRect& r = m_rectDisplay;
    scale->SetStartPoint(start.x, start.y);
    scale->SetEndPoint(end.x, end.y);
    scale->SetLabelSide(onRight ? 1 : 0);
    scale->SetDepths(scale->GetDepth(), scale->GetDepthY(), 1.25 * GetDepth());
    scale->BuildLabels();
    scale->SetDrawFlag(pass);
    scale->DrawComponent(m_pDC, m_pWindow);
    if (pass != kMeasure || m_style.HasOption(SRGO_EXPLICIT_RECT)) {
        return;
    }
    const CRect block = scale->GetBlockRect();
    const int room = block.Width() - leftTaken + SRGTrunc(scale->GetDepthX());
    if (room > 0) {
        if (onRight) {
            r.right -= room;
        } else {
            r.left += room;
        }
    }
    if (!block.IsRectNull() && block.top < r.top) {
        r.top += r.top - block.top;
    }
}

void SRGraphDisplay::DrawRectangularScales(const ScaleLayout& layout) {
    if ((m_valueRange.m_dMax == 0.0 && m_valueRange.m_dMin == 0.0) || m_style.GetTagNibble() == 0 || !m_pDC) {
        return;
    }
    if (!m_pXScale) {
        m_pXScale = layout.groups || layout.floating ? new SRGGroupScale : new SRGIndexScale;
    }
    if (!m_pYScale) {
        if (m_style.HasOption(SRGO_LOG_VALUE_AXIS)) {
            m_pYScale = new SRGLogScale;
        } else if (layout.dateValues) {
            m_pYScale = new SRGDateScale;
        } else {
            m_pYScale = new SRGDecimalScale;
        }
    }
    // Both are scales: the display made them, or a template or archive gave it scale objects.
    auto* categories = dynamic_cast<SRGIndexScale*>(m_pXScale);
    auto* values = dynamic_cast<SRGDecimalScale*>(m_pYScale);
    if (!categories || !values) {
        return;
    }
    for (SRGraphLabelBlock* scale : {static_cast<SRGraphLabelBlock*>(categories), static_cast<SRGraphLabelBlock*>(values)}) {
        ScopeScale(scale, true);
        scale->SetParentGraph(m_pChart);
    }
    const int graph = m_style.GetGraphStyle();
    categories->SetEdgeLabels(layout.floating || (!layout.bars && SRGOneOf(graph, {1, 6, 14, 24, 31, 35, 36})));
    const CSize depth = layout.depth ? GetDepthOffset() : CSize(0, 0);
    const bool categoryPush = m_style.HasOption(SRGO_CATEGORY_LABELS_PUSH);
    const bool valuePush = m_style.HasOption(SRGO_VALUE_LABELS_PUSH);

    auto prepareCategories = [&] {
        categories->BeginDraw(m_pDC, m_pWindow);
        categories->GetStyle().SetTagNibble(categoryPush ? 0xA : 0x9);
        categories->SetKeepPositions(TRUE);
        ApplyTextAttributes(categories);
        categories->SetStep(layout.floating ? 2 : 0);
        if (layout.floating) {
            categories->SetAscending();
        }
    };
    auto prepareValues = [&] {
        values->BeginDraw(m_pDC, m_pWindow);
        values->GetStyle().SetTagNibble(valuePush ? 0xA : 0x9);
        ApplyTextAttributes(values);
        values->SetMinimum(m_valueRange.m_dMin);
        values->SetMaximum(m_valueRange.m_dMax);
        values->SetStep(0);
        values->SetKeepPositions(TRUE);
        values->SetAscending();
    };

    for (int pass = kMeasure; pass <= kPaint; ++pass) {
        int leftTaken = 0;
        const CRect& r = m_rectDisplay;
        if (!layout.bars) {
            if (!m_style.HasOption(SRGO_NO_CATEGORY_LABELS)) {
                prepareCategories();
                categories->SetPositionList(&m_xTicks);
                PlaceHorizontalScale(categories, depth.cx, pass, leftTaken);
            }
            if (!m_style.HasOption(SRGO_NO_VALUE_SCALE)) {
                prepareValues();
                values->SetPositionList(&m_valueTicks);
                if (layout.valuesOnRight) {
                    PlaceVerticalScale(values, POINT{r.right, r.bottom - depth.cy}, POINT{r.right, r.top}, true, pass,
                                       leftTaken);
                } else {
                    PlaceVerticalScale(values, POINT{r.left, r.bottom}, POINT{r.left, r.top + depth.cy}, false, pass,
                                       leftTaken);
                }
            }
            continue;
        }
        if (!m_style.HasOption(SRGO_NO_VALUE_SCALE)) {
            prepareValues();
            values->SetPositionList(&m_xTicks);
            PlaceHorizontalScale(values, depth.cx, pass, leftTaken);
        }
        if (!m_style.HasOption(SRGO_NO_CATEGORY_LABELS)) {
            prepareCategories();
            categories->SetPositionList(&m_valueTicks);
            if (layout.floating) {
                const int rows = m_nGroupCount / 2;
                const int row = rows > 1 ? r.Height() / rows : r.Height();
                PlaceVerticalScale(categories, POINT{r.left, r.bottom - row / 2}, POINT{r.left, r.top + row / 2}, false,
                                   pass, leftTaken);
            } else {
                PlaceVerticalScale(categories, POINT{r.left, r.bottom}, POINT{r.left, r.top + depth.cy}, false, pass,
                                   leftTaken);
            }
        }
    }
}

void SRGraphDisplay::DrawCategoryScales() {
    const int axis = m_style.GetAxisStyle();
    ScaleLayout layout;
    layout.depth = m_style.GetGraphStyle() == 15 || SRGOneOf(axis, {11, 13, 20, 21});
    layout.dateValues = axis >= 18 && axis <= 21;
    layout.valuesOnRight = SRGOneOf(axis, {12, 13, 19, 21});
    DrawRectangularScales(layout);
}

void SRGraphDisplay::DrawBarScales() {
    const int axis = m_style.GetAxisStyle();
    ScaleLayout layout;
    layout.bars = true;
    layout.depth = m_style.GetGraphStyle() == 16 || SRGOneOf(axis, {16, 22});
    layout.dateValues = axis == 22 || axis == 23;
    DrawRectangularScales(layout);
}

void SRGraphDisplay::DrawGroupColumnScales() {
    const int axis = m_style.GetAxisStyle();
    ScaleLayout layout;
    layout.groups = true;
    layout.depth = SRGOneOf(axis, {11, 13, 20, 21});
    layout.dateValues = axis >= 18 && axis <= 21;
    layout.valuesOnRight = SRGOneOf(axis, {12, 13, 19, 21});
    DrawRectangularScales(layout);
}

void SRGraphDisplay::DrawGroupBarScales() {
    const int axis = m_style.GetAxisStyle();
    ScaleLayout layout;
    layout.bars = true;
    layout.groups = true;
    layout.depth = SRGOneOf(axis, {16, 22});
    layout.dateValues = axis == 22 || axis == 23;
    DrawRectangularScales(layout);
}

void SRGraphDisplay::DrawFloatingBarScales() {
    ScaleLayout layout;
    layout.bars = true;
    layout.floating = true;
    layout.dateValues = m_style.GetAxisStyle() == 25;
    DrawRectangularScales(layout);
}

void SRGraphDisplay::DrawXYScales() {
    const bool valueZero = m_valueAxisRange.m_dMax == 0.0 && m_valueAxisRange.m_dMin == 0.0;
    const bool xZero = m_xAxisRange.m_dMax == 0.0 && m_xAxisRange.m_dMin == 0.0;
    if ((valueZero && xZero) || m_style.GetTagNibble() == 0 || !m_pDC) {
        return;
    }
    const int graph = m_style.GetGraphStyle();
    const int axis = m_style.GetAxisStyle();
    const bool valueLog = m_style.HasOption(SRGO_LOG_VALUE_AXIS);
    const bool xLog = graph >= 32 && graph <= 34 ? m_style.HasThird(SRGT_LOG_X_AXIS) != 0 : valueLog;
    if (!m_pXScale) {
        m_pXScale = xLog ? new SRGLogScale : axis == 26 ? static_cast<SRGDecimalScale*>(new SRGDateScale)
                                                        : new SRGDecimalScale;
    }
    if (!m_pYScale) {
        m_pYScale = valueLog ? new SRGLogScale : axis == 27 ? static_cast<SRGDecimalScale*>(new SRGDateScale)
                                                            : new SRGDecimalScale;
    }
    auto* xScale = dynamic_cast<SRGDecimalScale*>(m_pXScale);
    auto* valueScale = dynamic_cast<SRGDecimalScale*>(m_pYScale);
    if (!xScale || !valueScale) {
        return;
    }
    const bool displayScope = m_style.HasThird(SRGT_SCALES_USE_SCOPE);
    auto prepare = [&](SRGDecimalScale* scale, const CScale& range, CPtrList& ticks) {
        ScopeScale(scale, displayScope);
        scale->SetParentGraph(m_pChart);
        scale->BeginDraw(m_pDC, m_pWindow);
        ApplyTextAttributes(scale);
        scale->SetMinimum(range.m_dMin);
        scale->SetMaximum(range.m_dMax);
        scale->SetStep(0);
        scale->SetLabelSide(0);
        scale->SetKeepPositions(TRUE);
        scale->SetPositionList(&ticks);
        scale->SetAvoidOverlap(FALSE);
        scale->SetAscending();
    };
    for (int pass = kMeasure; pass <= kPaint; ++pass) {
        prepare(xScale, m_xAxisRange, m_xTicks);
        prepare(valueScale, m_valueAxisRange, m_valueTicks);
        if (m_style.HasOption(SRGO_EQUAL_UNITS) && !valueLog && !xLog) {
            EqualiseUnits(xScale, valueScale);
        }
        int leftTaken = 0;
        if (!m_style.HasOption(SRGO_NO_CATEGORY_LABELS)) {
            PlaceHorizontalScale(xScale, 0, pass, leftTaken);
        }
        if (!m_style.HasOption(SRGO_NO_VALUE_SCALE)) {
            const CRect& r = m_rectDisplay;
            PlaceVerticalScale(valueScale, POINT{r.left, r.bottom}, POINT{r.left, r.top}, false, pass, leftTaken);
        }
    }
}

void SRGraphDisplay::EqualiseUnits(SRGDecimalScale* xScale, SRGDecimalScale* valueScale) {
    CRect& r = m_rectDisplay;
    if (r.Width() <= 0 || r.Height() <= 0) {
        return;
    }
    const double dpiX = m_pDC->GetDeviceCaps(LOGPIXELSX);
    const double dpiY = m_pDC->GetDeviceCaps(LOGPIXELSY);
    const double xSpan = m_xAxisRange.m_dMax - m_xAxisRange.m_dMin;
    const double ySpan = m_valueAxisRange.m_dMax - m_valueAxisRange.m_dMin;
    const double ux = xSpan / (r.Width() / dpiX);
    const double uy = ySpan / (r.Height() / dpiY);
    if (!(ux > 0.0) || !(uy > 0.0)) {
        return;
    }
    // The axis with the coarser units keeps them; the other one's plot side shrinks or its range widens.
    auto equalise = [&](bool horizontal, double units, double span, double dpi, CScale& axis, CScale& data,
                        double& drawnSpan, SRGDecimalScale* scale) {
        const int extent = horizontal ? r.Width() : r.Height();
        if (m_style.HasOption(SRGO_FIXED_RANGES)) {
            const int cut = (extent - SRGTrunc(span / units * dpi)) / 2;
            if (horizontal) {
                r.left += cut;
                r.right -= cut;
            } else {
                r.top += cut;
                r.bottom -= cut;
            }
            return;
        }
        const bool dataFollows = data.GetSpan() == axis.GetSpan();
        axis.m_dMax = axis.m_dMin + units * extent / dpi;
        if (dataFollows) {
            data.m_dMax = axis.m_dMax;
        }
        drawnSpan = axis.m_dMax - axis.m_dMin;
        scale->SetMaximum(axis.m_dMax);
    };
    if (ux < uy) {
        equalise(true, uy, xSpan, dpiX, m_xAxisRange, m_xRange, m_dXSpan, xScale);
    } else if (uy < ux) {
        equalise(false, ux, ySpan, dpiY, m_valueAxisRange, m_valueRange, m_dValueSpan, valueScale);
    }
}

// ---- Frames

void SRGraphDisplay::DrawTickList(CPtrList& ticks, int side) {
    SRGTickMarks marks;
    marks.SetParentGraph(m_pChart);
    marks.SetTickPositions(&ticks);
    marks.SetMajorTickLength(SRGTrunc(GetDepth()));
    marks.SetMinorTickCount(0);
    marks.SetMajorTickColor(m_style.m_crLine);
    marks.SetTickSide(side);
    marks.SetDrawnMark(1);
    marks.BeginDraw(m_pDC, m_pWindow);
    marks.Draw();
    marks.EndDraw();
}

void SRGraphDisplay::DrawAxisFrame() {
    if (!m_pDC) {
        return;
    }
    const CRect r = m_rectDisplay;
    CBrush fill;
    HGDIOBJ brush = ::GetStockObject(HOLLOW_BRUSH);
    if (m_style.HasOption(SRGO_FILL_PLOT_AREA)) {
        fill.CreateSolidBrush(m_style.m_crSecond);
        brush = fill.m_hObject;
    }
    // Marks point into the plot, whose drawing is clipped to its rectangle.
    const bool valuesOnRight = SRGOneOf(m_style.GetAxisStyle(), {12, 13, 19, 21});
    if (!m_style.HasOption(SRGO_NO_VALUE_TICKS) && !m_valueTicks.IsEmpty()) {
        DrawTickList(m_valueTicks, valuesOnRight ? 0 : 1);
    }
    if (!m_style.HasOption(SRGO_NO_CATEGORY_TICKS) && !m_xTicks.IsEmpty()) {
        DrawTickList(m_xTicks, 1);
    }
    CPen* oldPen = m_pDC->SelectObject(GetPen(PS_SOLID, 1, m_style.m_crColour));
    if (!m_style.HasOption(SRGO_NO_VALUE_GRID)) {
        for (POSITION pos = m_valueTicks.GetHeadPosition(); pos;) {
            const auto* tick = static_cast<const POINT*>(m_valueTicks.GetNext(pos));
            m_pDC->MoveTo(r.left, tick->y);
            m_pDC->LineTo(r.right, tick->y);
        }
    }
    if (!m_style.HasOption(SRGO_NO_X_GRID)) {
        for (POSITION pos = m_xTicks.GetHeadPosition(); pos;) {
            const auto* tick = static_cast<const POINT*>(m_xTicks.GetNext(pos));
            m_pDC->MoveTo(tick->x, r.bottom);
            m_pDC->LineTo(tick->x, r.top);
        }
    }
    m_pDC->SelectObject(GetPen(PS_SOLID, m_style.m_nLineWidth, m_style.m_crLine));
    HGDIOBJ oldBrush = ::SelectObject(m_pDC->m_hDC, brush);
    m_pDC->Rectangle(r.left, r.top, r.right + 1, r.bottom + 1);
    ::SelectObject(m_pDC->m_hDC, oldBrush);
    m_pDC->SelectObject(oldPen);
}

void SRGraphDisplay::DrawAxisFrame3D() {
    if (!m_pDC) {
        return;
    }
    const CRect r = m_rectDisplay;
    const int L = r.left, T = r.top, R = r.right, B = r.bottom;
    const CSize depth = GetDepthOffset();
    const int dx = depth.cx, dy = depth.cy;
    const int t = SRGTrunc(GetDepth());
    if (m_pChart) {
        m_pChart->PushClip();
        m_pChart->ClipToRect(L - t - 1, T - 1, R + t + 1, B + t + 1, RGN_COPY);
    }
    CBrush fill;
    HGDIOBJ brush = ::GetStockObject(HOLLOW_BRUSH);
    if (m_style.HasOption(SRGO_FILL_PLOT_AREA)) {
        fill.CreateSolidBrush(m_style.m_crSecond);
        brush = fill.m_hObject;
    }
    const bool valuesOnRight = SRGOneOf(m_style.GetAxisStyle(), {13, 21});
    CPen* framePen = GetPen(PS_SOLID, m_style.m_nLineWidth, m_style.m_crLine);
    CPen* oldPen = m_pDC->SelectObject(framePen);
    auto line = [&](int x0, int y0, int x1, int y1) {
        m_pDC->MoveTo(x0, y0);
        m_pDC->LineTo(x1, y1);
    };
    if (!m_style.HasOption(SRGO_NO_VALUE_TICKS)) {
        for (POSITION pos = m_valueTicks.GetHeadPosition(); pos;) {
            const int y = static_cast<const POINT*>(m_valueTicks.GetNext(pos))->y;
            valuesOnRight ? line(R, y, R + t, y) : line(L, y, L - t, y);
        }
    }
    if (!m_style.HasOption(SRGO_NO_CATEGORY_TICKS)) {
        for (POSITION pos = m_xTicks.GetHeadPosition(); pos;) {
            const int x = static_cast<const POINT*>(m_xTicks.GetNext(pos))->x;
            line(x, B, x, B + t);
        }
    }
    m_pDC->SelectObject(GetPen(PS_SOLID, 1, m_style.m_crColour));
    if (!m_style.HasOption(SRGO_NO_VALUE_GRID)) {
        for (POSITION pos = m_valueTicks.GetHeadPosition(); pos;) {
            const int y = static_cast<const POINT*>(m_valueTicks.GetNext(pos))->y;
            if (valuesOnRight) {
                line(R, y, L + dx, y);
                m_pDC->LineTo(L, y + dy);
            } else {
                line(L, y, L + dx, y - dy);
                m_pDC->LineTo(R, y - dy);
            }
        }
    }
    if (!m_style.HasOption(SRGO_NO_X_GRID)) {
        for (POSITION pos = m_xTicks.GetHeadPosition(); pos;) {
            const int x = static_cast<const POINT*>(m_xTicks.GetNext(pos))->x;
            line(x, B, x + dx, B - dy);
            m_pDC->LineTo(x + dx, T);
        }
    }
    m_pDC->SelectObject(framePen);
    HGDIOBJ oldBrush = ::SelectObject(m_pDC->m_hDC, brush);
    m_pDC->Rectangle(L + dx, T, R + 1, B - dy + 1);
    const POINT leftWall[5] = {{L, T + dy}, {L + dx, T}, {L + dx, B - dy}, {L, B}, {L, T + dy}};
    m_pDC->Polygon(leftWall, 5);
    const POINT floor[5] = {{L, B}, {L + dx, B - dy}, {R, B - dy}, {R - dx, B}, {L, B}};
    m_pDC->Polygon(floor, 5);
    ::SelectObject(m_pDC->m_hDC, oldBrush);
    m_pDC->SelectObject(oldPen);
    if (m_pChart) {
        m_pChart->PopClip();
    }
}
