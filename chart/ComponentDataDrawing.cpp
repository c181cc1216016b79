// The component toolkit with which the display routines draw data: lines and ribbons, bars and 3D boxes,
// symbols, markers, line ends and value tags.
#include "chart/ChartMath.h"
#include "chart/ChartResourceIds.h"
#include "chart/ChartStrings.h"
#include "chart/SRGCompiledPolygon.h"
#include "chart/SRGraph.h"
#include "chart/SRGraphComponent.h"
#include "chart/SRGraphData.h"
#include "chart/SRGraphLabelBlock.h"

#include "platform/framework/CDC.h"

#include <algorithm>
#include <cmath>

HBITMAP SRGLoadBitmapResource(LPCTSTR name);

namespace {
// The pen style of a line kind: 1-4 solid, 5 dash, 6 dot, 7 dash-dot, 8 dash-dot-dot; -1 for the default
// pen.
int LineKindPenStyle(int kind) {
    switch (kind) {
    case 1:
    case 2:
    case 3:
    case 4:
        return PS_SOLID;
    case 5:
        return PS_DASH;
    case 6:
        return PS_DOT;
    case 7:
        return PS_DASHDOT;
    case 8:
        return PS_DASHDOTDOT;
    default:
        return -1;
    }
}
} // namespace

void SRGraphComponent::DrawDataLine(int x0, int y0, int x1, int y1, SRGraphStyle* style, int paletteCode,
                                    int lineKind, SRGraphData*) {
    if (!m_bDrawing || !m_pDC) {
        return;
    }
    SRGraphStyle fallback;
    if (!style) {
        style = &fallback;
    }
    SelectPen(paletteCode, style->m_nLineWidth);
    const int kind = lineKind == 0 ? style->GetLineKind() : lineKind;
    if (kind == 0) {
        return;
    }
    const int oldMode = m_pDC->SetBkMode(TRANSPARENT);
    if (style->GetShapeKind() == 0x0B) {
        const int w = style->HasOption(SRGO_FIXED_SIZES) ? SRGTrunc(style->m_dSecondLimit) : 10;
        const POINT ribbon[5] = {{x0, y0}, {x0 + w, y0 - w}, {x1 + w, y1 - w}, {x1, y1}, {x0, y0}};
        SRGraphStyle coloured(*style);
        coloured.m_crSecond = SRGPaletteColour(paletteCode);
        FillPolygon(ribbon, 5, &coloured, 0x20);
    } else {
        CPen* pen = nullptr;
        if (kind == 1) {
            pen = m_pPalettePen;
        } else {
            const int penStyle = LineKindPenStyle(kind);
            pen = penStyle < 0 ? GetDefaultPen() : GetPen(penStyle, style->m_nLineWidth, style->m_crLine);
        }
        CPen* old = pen ? m_pDC->SelectObject(pen) : nullptr;
        m_pDC->MoveTo(x0, y0);
        m_pDC->LineTo(x1, y1);
        if (old) {
            m_pDC->SelectObject(old);
        }
    }
    m_pDC->SetBkMode(oldMode);
}

void SRGraphComponent::DrawDataObject(int x0, int y0, int x1, int y1, SRGraphStyle* style, int symbolEnds,
                                      SRGraphData* item) {
    if (!style) {
        return;
    }
    const int shape = style->GetShapeKind();
    auto line = [&] {
        DrawDataLine(x0, y0, x1, y1, style, m_nPaletteCode, style->GetLineKind() == 2 ? 1 : style->GetLineKind(), item);
    };
    switch (shape) {
    case 0:
        break;
    case 1:
    case 3:
    case 18: {
        line();
        if (symbolEnds == 0 || symbolEnds == 2) {
            DrawDataSymbol(x0, y0, style, nullptr);
        }
        if (symbolEnds == 1 || symbolEnds == 2) {
            DrawDataSymbol(x1, y1, style, nullptr);
        }
        const double angle = -SegmentAngle(x0, y0, x1, y1) * kSRGDegreesPerRadian;
        DrawLineEnd(x0, y0, style, 1, angle);
        DrawLineEnd(x1, y1, style, 2, angle);
        break;
    }
    case 2:
        DrawDataSymbol(x1, y1, style, nullptr);
        break;
    case 4:
    case 11:
        line();
        if (item) {
            DrawValueTag(x1, y1, item);
        }
        break;
    case 12:
    case 13:
    case 14:
        line();
        DrawMarker(x1, y1, style, nullptr);
        break;
    default:
        line();
        DrawDataEndHook(x1, y1, style, item);
        break;
    }
}

void SRGraphComponent::DrawDataBar(int left, int top, int right, int bottom, int group, int item,
                                   SRGraphStyle* style, int kind, SRGraphData* data) {
    if (!style || !m_pDC) {
        return;
    }
    SRGraphStyle highlighted;
    if (style->GetHighlight()) {
        highlighted = *style;
        HighlightLine(group, item, highlighted);
        style = &highlighted;
    }
    const int a = std::min(left, right), c = std::max(left, right);
    const int b = std::min(top, bottom), d = std::max(top, bottom);
    if (kind == 0) {
        kind = style->GetShapeKind() * 0x100;
    }
    if (kind == 0) {
        return;
    }
    const int outlineKind = style->GetLineKind() == 1 ? 2 : 0;
    auto face = [&](const POINT (&points)[5]) {
        if (m_pChart) {
            m_pChart->AddFeedbackPolygon(points, 5, group, item);
        }
        FillPolygon(points, 5, style, 0);
    };
    switch (kind) {
    case 0x600: {
        const double depth = m_style.HasOption(SRGO_FIXED_SIZES) ? m_style.m_dSecondLimit : 10.0;
        const int dx = SRGRound(depth * PrinterScaleX(m_pDC));
        const int dy = SRGRound(depth * PrinterScaleY(m_pDC));
        const POINT topFace[5] = {{a, b}, {c, b}, {c + dx, b - dy}, {a + dx, b - dy}, {a, b}};
        const POINT side[5] = {{c, b}, {c + dx, b - dy}, {c + dx, d - dy}, {c, d}, {c, b}};
        const POINT front[5] = {{a, b}, {c, b}, {c, d}, {a, d}, {a, b}};
        struct Face {
            const POINT* points;
            int pattern;
            int rop;
        };
        const Face faces[3] = {{topFace, IDB_SRG_SPARSE_TOP, R2_MERGEPEN},
                               {side, IDB_SRG_SPARSE_SIDE, R2_MASKPEN},
                               {front, 0, 0}};
        for (const Face& f : faces) {
            const POINT(&points)[5] = *reinterpret_cast<const POINT(*)[5]>(f.points);
            face(points);
            if (f.pattern && m_style.HasOption(SRGO_PATTERN_SHADING)) {
                ShadePolygon(f.points, 5, f.pattern, f.rop);
            }
            DrawOutline(f.points, 5, style, outlineKind);
        }
        break;
    }
    case 0x700:
        break;
    case 0xA00:
    case 0x1100: {
        SRGCompiledPolygon* shape = nullptr;
        if (kind == 0x1100) {
            if (m_pChart) {
                m_pChart->GetShape(CString(SRG_STOCK_SHAPE) + u"CIRCLE", nullptr, shape, 0.0);
            }
        } else {
            for (POSITION pos = m_shapes.GetHeadPosition(); pos && !shape;) {
                auto* own = static_cast<SRGCompiledPolygon*>(m_shapes.GetNext(pos));
                if (own->GetName() == style->m_strShapeName) {
                    shape = own;
                }
            }
            if (!shape) {
                shape = LoadPolygon(style->m_strShapeName, u"POLYGON");
            }
        }
        if (!shape) {
            break;
        }
        POINT* points = shape->FitToRect(RECT{a, b, c, d});
        const int count = shape->GetPointCount();
        if (m_pChart) {
            m_pChart->AddFeedbackPolygon(points, count, group, item);
        }
        FillPolygon(points, count, style, 0);
        DrawOutline(points, count, style, outlineKind);
        break;
    }
    case 0x1300:
        DrawDataLine((a + c) / 2, d, (a + c) / 2, b, style, m_nPaletteCode, 0, data);
        break;
    case 0x1400:
        DrawDataLine(c, (b + d) / 2, a, (b + d) / 2, style, m_nPaletteCode, 0, data);
        break;
    default: {
        const POINT box[5] = {{a, b}, {c, b}, {c, d}, {a, d}, {a, b}};
        face(box);
        DrawOutline(box, 5, style, outlineKind);
        break;
    }
    }
    if (!data) {
        return;
    }
    const int cx = (a + c) / 2, cy = (b + d) / 2;
    switch (data->GetStyle().GetTagPosition()) {
    case 1:
        DrawValueTag(a, b, data);
        break;
    case 2:
        DrawValueTag(cx, b, data);
        break;
    case 3:
        DrawValueTag(c, b, data);
        break;
    case 4:
        DrawValueTag(c, cy, data);
        break;
    case 5:
        DrawValueTag(c, d, data);
        break;
    case 6:
        DrawValueTag(cx, d, data);
        break;
    case 7:
        DrawValueTag(a, d, data);
        break;
    case 8:
        DrawValueTag(cx, cy, data);
        break;
    default:
        DrawValueTag(a, cy, data);
        break;
    }
}

void SRGraphComponent::DrawDataSymbol(int x, int y, SRGraphStyle* style, SRGraphData* item) {
    if (!style) {
        return;
    }
    SRGraphStyle highlighted;
    if (style->GetHighlight()) {
        highlighted = *style;
        HighlightSymbol(highlighted);
        style = &highlighted;
    }
    CString name;
    switch (style->GetShapeKind() * 0x100) {
    case 0:
        return;
    case 0x100:
        name = ChartString(IDS_SRG_SYMBOL_FIRST + (m_nPaletteCode & 7));
        break;
    case 0x200:
    case 0x300: {
        name = style->m_strShapeName.IsEmpty() ? ChartString(IDS_SRG_SYMBOL_FIRST + (m_nPaletteCode & 7))
                                               : style->m_strShapeName;
        const int bar = name.Find(u'|');
        if (bar >= 0) {
            name = name.Left(bar);
        }
        break;
    }
    case 0xC00:
    case 0xD00:
    case 0xE00:
        DrawMarker(x, y, style, item);
        return;
    default:
        name = style->m_strShapeName;
        break;
    }
    SRGCompiledPolygon* shape = nullptr;
    if (!name.IsEmpty() && m_pChart && m_pChart->GetShape(name, u"WIGETS", shape, 0.0) && shape) {
        const int savedCode = m_nPaletteCode;
        m_nPaletteCode >>= 3;
        if (style->HasOption(SRGO_FIXED_SIZES)) {
            const int w = SRGTrunc(10 * style->m_dThirdLimit);
            const int h = SRGTrunc(-10 * style->m_dFirstLimit);
            const int left = x - w / 2;
            const int bottom = y - h / 2;
            shape->FitToRect(RECT{left, bottom + h, left + w, bottom});
        } else if (IsPrinting()) {
            const int w = SRGTrunc(10 * PrinterScaleX(m_pDC));
            const int h = SRGTrunc(-10 * PrinterScaleY(m_pDC));
            const int left = x - w / 2;
            const int bottom = y - h / 2;
            shape->FitToRect(RECT{left, bottom + h, left + w, bottom});
        } else {
            shape->SetScaleX(1.0);
            shape->SetScaleY(1.0);
            shape->PlaceAt(x, y);
        }
        // Fitting and placing compile the points; GetPoints hands them out as they stand.
        const int count = shape->GetPointCount();
        POINT* placed = shape->GetPoints();
        FillPolygon(placed, count, style, 0);
        DrawOutline(placed, count, style, style->GetLineKind() == 1 ? 2 : 0);
        m_nPaletteCode = savedCode;
    }
    if (item) {
        DrawValueTag(x, y, item);
    }
}

void SRGraphComponent::DrawMarker(int x, int y, SRGraphStyle* style, SRGraphData* item) {
    if (!style || !m_pDC) {
        return;
    }
    CBrush solid;
    CPen* pen = nullptr;
    CBrush* brush = nullptr;
    if (style->GetFillKind() == 1) {
        SelectBrush(m_nPaletteCode, m_pChart ? m_pChart->GetColourCount() : 16);
        SelectPen(m_nPaletteCode, 1);
        pen = m_pPalettePen;
        brush = &m_paletteBrush;
    } else {
        pen = GetPen(PS_SOLID, 1, style->m_crSecond);
        solid.CreateSolidBrush(style->m_crSecond);
        brush = &solid;
    }
    int f = style->HasOption(SRGO_FIXED_SIZES) ? SRGTrunc(style->m_dThirdLimit) : 5;
    if (f <= 1) {
        f = 2;
    }
    if (IsPrinting()) {
        f = SRGTrunc(f * PrinterScaleX(m_pDC));
    }
    CPen* oldPen = m_pDC->SelectObject(pen);
    CBrush* oldBrush = m_pDC->SelectObject(brush);
    switch (style->GetShapeKind()) {
    case 13: {
        const POINT square[5] = {{x - f, y - f}, {x + f, y - f}, {x + f, y + f}, {x - f, y + f}, {x - f, y - f}};
        m_pDC->Polygon(square, 5);
        break;
    }
    case 14: {
        const POINT triangle[4] = {{x, y - f}, {x - f, y + f}, {x + f, y + f}, {x, y - f}};
        m_pDC->Polygon(triangle, 4);
        break;
    }
    default:
        m_pDC->Ellipse(x - f, y - f, x + f, y + f);
        break;
    }
    m_pDC->SelectObject(oldBrush);
    m_pDC->SelectObject(oldPen);
    if (item) {
        DrawValueTag(x, y, item);
    }
}

void SRGraphComponent::DrawLineEnd(int x, int y, SRGraphStyle* style, int end, double angle) {
    if (!style || !m_pChart) {
        return;
    }
    const CString& names = style->m_strShapeName;
    const int bar = names.Find(u'|');
    if (bar < 0) {
        return;
    }
    const CString part = end == 1 ? names.Left(bar) : names.Mid(bar + 1);
    if (part.IsEmpty()) {
        return;
    }
    SRGCompiledPolygon* shape = nullptr;
    if (!m_pChart->GetShape(part, u"LINE_ENDS", shape, angle) || !shape) {
        return;
    }
    const double size = style->HasOption(SRGO_FIXED_SIZES) ? style->m_dSecondLimit : 10.0;
    const double scale = size * PrinterScaleX(m_pDC);
    shape->SetScaleX(scale);
    shape->SetScaleY(scale);
    shape->PlaceAt(x, y);
    POINT* points = shape->GetPoints();
    const int count = shape->GetPointCount();
    FillPolygon(points, count, style, 0);
    DrawOutline(points, count, style, 0);
}

void SRGraphComponent::DrawValueTag(int x, int y, SRGraphData* item) {
    if (!m_bDrawing || !item || !m_pChart) {
        return;
    }
    SRGraphStyle& itemStyle = item->GetStyle();
    CString text;
    switch (itemStyle.GetTagNibble() << 4) {
    case 0x20:
        text.Format(u"%g", item->GetValue(FALSE));
        break;
    case 0x50:
        text = item->GetAnnotation(1);
        break;
    case 0x60:
        text.Format(u"%s (%g)", static_cast<LPCTSTR>(item->GetAnnotation(1)), item->GetValue(FALSE));
        break;
    default:
        return;
    }
    if (!m_pTagLabel) {
        m_pTagLabel = new SRGraphLabel;
    }
    SRGraphLabel* label = m_pTagLabel;
    label->SetParentGraph(m_pChart);
    label->BeginDraw(m_pDC, m_pWindow);
    label->SetText(text);
    label->ApplyItemStyle(itemStyle);
    int ox = 10, oy = 10;
    if (IsPrinting()) {
        ox = SRGTrunc(10 * PrinterScaleX(m_pDC));
        oy = SRGTrunc(10 * PrinterScaleY(m_pDC));
    }
    const int position = itemStyle.GetTagPosition();
    static const int kDx[9] = {-1, -1, 0, 1, 1, 1, 0, -1, 0};
    static const int kDy[9] = {0, -1, -1, -1, 0, 1, 1, 1, 0};
    if (position <= 8) {
        label->SetAnchorPixels(x + kDx[position] * ox, y + kDy[position] * oy);
    }
    switch (m_pChart->GetStyle().GetTagMode()) {
    case 2:
        label->GetStyle().m_strShapeName = SRG_TEMPORARY_TAG;
        m_pChart->AddComponent(label);
        m_pTagLabel = nullptr;
        break;
    case 3: {
        auto* block = dynamic_cast<SRGraphLabelBlock*>(m_pChart->FindTaggedComponent(SRG_TAG_BLOCK));
        if (!block) {
            block = new SRGraphLabelBlock;
            block->GetStyle().m_strShapeName = SRG_TAG_BLOCK;
            block->SetParentGraph(m_pChart);
            block->SetAvoidOverlap(TRUE);
            block->GetStyle().SetTagNibble(0xA);
            block->GetStyle().SetThird(SRGT_LEADER_LINES, m_style.HasThird(SRGT_LEADER_LINES));
            m_pChart->AddComponent(block);
        }
        static const int kMoveX[9] = {-1, -1, 0, 1, 1, 1, 1, -1, 1};
        static const double kMoveY[9] = {0.0, -1.0, -1.0, -1.0, 0.0, 1.0, 0.0, 1.0, -1.0};
        if (position <= 8) {
            label->SetMoveFactors(kMoveX[position], kMoveY[position]);
        }
        label->SetMoveMode(FALSE);
        block->AttachLabel(label, TRUE);
        m_pTagLabel = nullptr;
        break;
    }
    default:
        label->SetDrawnMark(1);
        label->DrawComponent(m_pDC, m_pWindow);
        break;
    }
}

void SRGraphComponent::ShadePolygon(const POINT* points, int count, int pattern, int rop) {
    CBitmap bitmap;
    if (!m_pDC || !bitmap.Attach(SRGLoadBitmapResource(MAKEINTRESOURCEW(pattern)))) {
        return;
    }
    CBrush brush;
    brush.CreatePatternBrush(&bitmap);
    CBrush* oldBrush = m_pDC->SelectObject(&brush);
    HGDIOBJ oldPen = ::SelectObject(m_pDC->m_hDC, ::GetStockObject(NULL_PEN));
    const int oldRop = m_pDC->SetROP2(rop);
    m_pDC->Polygon(points, count);
    m_pDC->SetROP2(oldRop);
    ::SelectObject(m_pDC->m_hDC, oldPen);
    m_pDC->SelectObject(oldBrush);
}
