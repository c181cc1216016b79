// Painting the grid: the paint entry, direct and off-screen painting, the cell-drawing loop with its
// drawing table (row backgrounds, cell controls, borders and grid lines, the outside area, inverted cells,
// the current-cell frame), border geometry and invalidation.
#include "grid/CGXControl.h"
#include "grid/CGXData.h"
#include "grid/CGXGridCore.h"
#include "grid/CGXGridParam.h"
#include "grid/CGXProperties.h"
#include "grid/CGXStyle.h"
#include "grid/CGXStylesMap.h"
#include "grid/GridColor.h"
#include "grid/GridDrawTable.h"
#include "platform/display/PaintApi.h"
#include "platform/display/WindowApi.h"
#include "platform/framework/CGdiObject.h"
#include "platform/framework/CWinApp.h"
#include "platform/framework/CWnd.h"
#include "platform/gdi/Gdi.h"

#include <algorithm>
#include <memory>
#include <vector>

namespace {

// Properties colours.
constexpr int kColorGridLines = 0;
constexpr int kColorFixedLines = 1;
constexpr int kColorTrackingLine = 2;
constexpr int kColorDraggingLine = 3;
constexpr int kColorBackground = 4;

enum Side : int { kLeft = 0, kRight = 1, kTop = 2, kBottom = 3 };

constexpr unsigned kPenNull = 5;

COLORREF DrawColor(COLORREF value) {
    return ResolveGridColor(StoreGridColor(value)) & 0xFFFFFF;
}

// The solid fill of the screen path: an opaque empty text, the background colour restored after.
void FillRectColor(CDC* dc, const RECT& rect, COLORREF colour) {
    const COLORREF old = dc->GetBkColor();
    dc->FillSolidRect(&rect, colour);
    dc->SetBkColor(old);
}

} // namespace

// ---- Paint entry

void CGXGridCore::OnGridDraw(CDC* dc) {
    if (!m_pParam || m_pParam->m_bLockUpdate || m_bPrinting) {
        return;
    }
    CRect clip;
    if (dc->GetClipBox(&clip) != ERROR && clip.IsRectEmpty()) {
        return;
    }
    m_bScrollbarsChanged = FALSE;
    UpdateScrollbars(TRUE, TRUE);
    if (m_bScrollbarsChanged) {
        InvalidateGridRect(nullptr);
        return;
    }
    if (m_bPaintWithMemDC) {
        PaintWithMemDC(dc);
    } else {
        PaintDirect(dc);
    }
}

void CGXGridCore::LookupBaseStylesAgain() {
    if (m_pParam && m_pParam->GetStylesMap()) {
        const CGXStylesMap& map = *m_pParam->GetStylesMap();
        map.LookupBaseStyle(map.standardStyleId, m_pStandardStyle);
        map.LookupBaseStyle(map.columnHeaderStyleId, m_pColHeaderStyle);
        map.LookupBaseStyle(map.rowHeaderStyleId, m_pRowHeaderStyle);
    }
}

// The clip rectangle of a paint within the grid rectangle; empty when nothing is to be drawn.
CRect CGXGridCore::PaintClipRect(CDC* dc) {
    CRect grid;
    GetGridRect(grid);
    CRect clip;
    if (dc->GetClipBox(&clip) == ERROR) {
        return grid;
    }
    CRect both;
    both.IntersectRect(&clip, &grid);
    return both;
}

void CGXGridCore::DrawVisibleCells(CDC* dc, const CRect& clip) {
    CRect grid;
    GetGridRect(grid);
    dc->IntersectClipRect(&grid);
    ROWCOL top = 0;
    ROWCOL left = 0;
    ROWCOL bottom = 0;
    ROWCOL right = 0;
    CalcClientRowColFromPtClamped(clip.TopLeft(), top, left);
    CalcClientRowColFromPtClamped(POINT{clip.right - 1, clip.bottom - 1}, bottom, right);
    DrawCells(top, left, bottom, right, dc);
}

void CGXGridCore::PaintDirect(CDC* dc) {
    LookupBaseStylesAgain();
    FreeObjectCache();
    CFont* oldFont = LoadFont(dc, m_pStandardStyle, nullptr);
    GetFontMetrics(dc, m_nCharWidth, m_nLineHeight);
    const CRect clip = PaintClipRect(dc);
    if (!clip.IsRectEmpty()) {
        if (m_bRectGridSet) {
            // Just outside the rectangle; the bottom line one pixel longer to close the corner.
            const CRect& r = m_rectGrid;
            CPen black(PS_SOLID, 1, RGB(0, 0, 0));
            CPen* oldPen = dc->SelectObject(&black);
            dc->MoveTo(r.left - 1, r.top - 1);
            dc->LineTo(r.right, r.top - 1);
            dc->LineTo(r.right, r.bottom);
            dc->MoveTo(r.left - 1, r.top - 1);
            dc->LineTo(r.left - 1, r.bottom);
            dc->LineTo(r.right + 1, r.bottom);
            dc->SelectObject(oldPen);
        }
        DrawVisibleCells(dc, clip);
    }
    if (oldFont) {
        dc->SelectObject(oldFont);
    }
    ReleaseGridDC();
}

void CGXGridCore::PaintWithMemDC(CDC* screen) {
    LookupBaseStylesAgain();
    FreeObjectCache();
    CRect box;
    screen->GetClipBox(&box);
    if (box.Width() <= 0 || box.Height() <= 0) {
        return;
    }
    CDC mem;
    mem.CreateCompatibleDC(screen);
    PrepareDC(&mem);
    CBitmap bitmap;
    bitmap.CreateCompatibleBitmap(screen, box.Width(), box.Height());
    CBitmap* oldBitmap = mem.SelectObject(&bitmap);
    mem.SetViewportOrg(-box.left, -box.top);
    // Patterns line up with the screen.
    mem.SetBrushOrg(box.left % 8, box.top % 8);
    CFont* oldFont = LoadFont(&mem, m_pStandardStyle, nullptr);
    GetFontMetrics(&mem, m_nCharWidth, m_nLineHeight);
    CRect grid;
    GetGridRect(grid);
    CRect clip;
    clip.IntersectRect(&box, &grid);
    if (!clip.IsRectEmpty()) {
        DrawVisibleCells(&mem, clip);
        if (m_bRectGridSet) {
            // On the rectangle's own last column and row of pixels, without the corner extension.
            const CRect& r = m_rectGrid;
            mem.SelectClipRgn(nullptr);
            CPen black(PS_SOLID, 1, RGB(0, 0, 0));
            CPen* oldPen = mem.SelectObject(&black);
            mem.MoveTo(r.left - 1, r.top - 1);
            mem.LineTo(r.right - 1, r.top - 1);
            mem.LineTo(r.right - 1, r.bottom - 1);
            mem.LineTo(r.left - 1, r.bottom - 1);
            mem.LineTo(r.left - 1, r.top - 1);
            mem.SelectObject(oldPen);
        }
        // Only what was drawn reaches the screen: the grid rectangle and the frame just outside it, never
        // the bitmap's undefined pixels around them.
        CRect drawn = grid;
        if (m_bRectGridSet) {
            drawn.left -= 1;
            drawn.top -= 1;
        }
        CRect copy;
        copy.IntersectRect(&box, &drawn);
        for (const CRect& excluded : m_excludedFromPaint) {
            screen->ExcludeClipRect(&excluded);
        }
        screen->BitBlt(copy.left, copy.top, copy.Width(), copy.Height(), &mem, copy.left, copy.top, SRCCOPY);
    }
    m_excludedFromPaint.clear();
    if (oldFont) {
        mem.SelectObject(oldFont);
    }
    mem.SelectObject(oldBitmap);
    ReleaseGridDC();
}

BOOL CGXGridCore::SetPaintWithMemoryDC(BOOL on) {
    const BOOL old = m_bPaintWithMemDC;
    m_bPaintWithMemDC = on;
    return old;
}

// ---- Lines and properties

BOOL CGXGridCore::LinesOn(BOOL vertical) {
    const CGXProperties* properties = m_pParam ? m_pParam->GetProperties() : nullptr;
    if (!properties) {
        return FALSE;
    }
    if (properties->printing) {
        return vertical ? properties->printVerticalLines : properties->printHorizontalLines;
    }
    return vertical ? properties->verticalLines : properties->horizontalLines;
}

COLORREF CGXGridCore::PropertyColor(int index) {
    const CGXProperties* properties = m_pParam ? m_pParam->GetProperties() : nullptr;
    if (!properties) {
        return RGB(0, 0, 0);
    }
    if (properties->printing && properties->printBlackAndWhite) {
        return index == kColorBackground ? RGB(255, 255, 255) : RGB(0, 0, 0);
    }
    return DrawColor(properties->GetColor(index));
}

// ---- Cell geometry

CRect CGXGridCore::SubtractBorders(const RECT& cell, const CGXStyle& style, BOOL inner) {
    CRect rect(cell);
    if (inner && style.GetInclude(kStyleDraw3dFrame) && style.GetDraw3dFrame() != 0) {
        rect.DeflateRect(1, 1);
    }
    const BOOL atRightBottom = m_pParam && m_pParam->m_bGridLinesAtRightBottom;
    const auto width = [&](int side, BOOL gridLineSide, BOOL linesOn) {
        if (style.HasBorder(side) && style.GetBorders(side).GetStyle() != kPenNull) {
            return std::max(1, static_cast<int>(style.GetBorders(side).GetWidth()));
        }
        return inner && gridLineSide && linesOn ? 1 : 0;
    };
    const BOOL vertical = LinesOn(TRUE);
    const BOOL horizontal = LinesOn(FALSE);
    rect.left += width(kLeft, !atRightBottom, vertical);
    rect.right -= width(kRight, atRightBottom, vertical);
    rect.top += width(kTop, !atRightBottom, horizontal);
    rect.bottom -= width(kBottom, atRightBottom, horizontal);
    return rect;
}

CSize CGXGridCore::AddBorders(int width, int height, const CGXStyle& style) {
    CSize size(width, height);
    if (style.GetInclude(kStyleDraw3dFrame) && style.GetDraw3dFrame() != 0) {
        size.cx += 2;
        size.cy += 2;
    }
    const auto border = [&](int side) {
        return style.HasBorder(side) && style.GetBorders(side).GetStyle() != kPenNull
                   ? std::max(1, static_cast<int>(style.GetBorders(side).GetWidth()))
                   : 0;
    };
    const BOOL atRightBottom = m_pParam && m_pParam->m_bGridLinesAtRightBottom;
    const int lineLeft = atRightBottom ? kRight : kLeft;
    const int lineTop = atRightBottom ? kBottom : kTop;
    for (int side : {kLeft, kRight}) {
        const int b = border(side);
        size.cx += b ? b : (side == lineLeft && LinesOn(TRUE) ? 1 : 0);
    }
    for (int side : {kTop, kBottom}) {
        const int b = border(side);
        size.cy += b ? b : (side == lineTop && LinesOn(FALSE) ? 1 : 0);
    }
    return size;
}

BOOL CGXGridCore::CalcClientRowColFromPt(POINT point, ROWCOL& row, ROWCOL& col, RECT* rect) {
    if (point.x < 0 || point.y < 0) {
        row = col = 0;
        return FALSE;
    }
    int top = 0;
    int left = 0;
    row = CalcClientRowFromPt(point, &top);
    col = CalcClientColFromPt(point, &left);
    if (row == kGridNoRowCol || col == kGridNoRowCol) {
        return FALSE;
    }
    if (rect) {
        *rect = CRect(left, top, left + GetColWidth(GetCol(col)), top + GetRowHeight(GetRow(row)));
    }
    return TRUE;
}

void CGXGridCore::CalcClientRowColFromPtClamped(POINT point, ROWCOL& row, ROWCOL& col) {
    CalcClientRowColFromPt(POINT{std::max<LONG>(0, point.x), std::max<LONG>(0, point.y)}, row, col, nullptr);
    if (row == kGridNoRowCol) {
        row = GetClientRow(GetRowCount());
    }
    if (col == kGridNoRowCol) {
        col = GetClientCol(GetColCount());
    }
}

// ---- The cell-drawing loop

void CGXGridCore::DrawCells(ROWCOL top, ROWCOL left, ROWCOL bottom, ROWCOL right, CDC* dc) {
    GridDrawTable table;
    GridDrawTable* outer = m_pDrawTable;
    m_pDrawTable = &table;
    ++m_nDrawingDepth;
    try {
        // Merged and floated ranges are worked out for what is about to be drawn.
        auto* spans = static_cast<CGXAbstractDrawSpannedCellsImp*>(m_features[kFeatureDrawSpannedCells]);
        if (spans && (m_features[kFeatureMergeCells] || m_features[kFeatureFloatCells])) {
            spans->EvaluateSpansForDrawing(this, CGXRange().SetTable(), GetFrozenRows(), GetFrozenCols(),
                                           GetTopRow(), GetLeftCol(), GetLastVisibleRow(), GetLastVisibleCol(),
                                           TRUE, nullptr, 0);
        }
        FillDrawTable(table, top, left, bottom, right, dc);
        DrawTable(table);
    } catch (...) {
        m_pDrawTable = outer;
        --m_nDrawingDepth;
        throw;
    }
    m_pDrawTable = outer;
    --m_nDrawingDepth;
}

void CGXGridCore::FillDrawTable(GridDrawTable& t, ROWCOL top, ROWCOL left, ROWCOL bottom, ROWCOL right,
                                CDC* dc) {
    t.dc = dc;
    t.firstRow = top;
    t.firstCol = left;
    t.rows = bottom >= top ? bottom - top + 1 : 0;
    t.cols = right >= left ? right - left + 1 : 0;
    CRect grid;
    GetGridRect(grid);
    const ROWCOL rowCount = GetRowCount();
    const ROWCOL colCount = GetColCount();
    int y = grid.top + (top == 0 ? 0 : CalcSumOfClientRowHeights(0, top - 1));
    for (ROWCOL i = 0; i <= t.rows; ++i) {
        const ROWCOL row = GetRow(top + i);
        const BOOL inside = i < t.rows;
        t.gridRows.push_back(inside ? row : (row < rowCount ? row : 0));
        if (inside) {
            t.ys.push_back(y);
            t.heights.push_back(GetRowHeight(row));
            y += t.heights.back();
        }
    }
    int x = grid.left + (left == 0 ? 0 : CalcSumOfClientColWidths(0, left - 1));
    for (ROWCOL j = 0; j <= t.cols; ++j) {
        const ROWCOL col = GetCol(left + j);
        const BOOL inside = j < t.cols;
        t.gridCols.push_back(inside ? col : (col < colCount ? col : 0));
        if (inside) {
            t.xs.push_back(x);
            t.widths.push_back(GetColWidth(col));
            x += t.widths.back();
        }
    }
    t.styles.assign(static_cast<size_t>(t.rows) * t.cols, nullptr);
    t.flags.assign(static_cast<size_t>(t.rows) * t.cols, 0);
    t.invertSelected = !m_bPrinting && !m_pParam->m_selectedRanges.IsEmpty();
    const CGXProperties* properties = m_pParam->GetProperties();
    t.keepColours = !(properties && properties->printing && properties->printBlackAndWhite);

    if (m_bCurrentCellValid && !m_bSuspendCurrentCellStyle) {
        ResetCurrentCellCache();
    }
    if (m_features[kFeatureFloatCells]) {
        // A computed value may float over its neighbours differently now.
        for (ROWCOL i = 0; i < t.rows; ++i) {
            for (ROWCOL j = 0; j < t.cols; ++j) {
                const ROWCOL row = t.gridRows[i];
                const ROWCOL col = t.gridCols[j];
                if (row > 0 && col > 0 && IsRecalcCell(row, col)) {
                    DelayFloatCells(CGXRange(row, col, row, col));
                }
            }
        }
    }
    auto* spans = static_cast<CGXAbstractDrawSpannedCellsImp*>(m_features[kFeatureDrawSpannedCells]);
    for (ROWCOL i = 0; i < t.rows; ++i) {
        // A recalculation paint draws a row only from its first computed cell on and leaves the rest of
        // the screen as it is.
        BOOL reached = !m_bRecalcDrawing;
        for (ROWCOL j = 0; j < t.cols; ++j) {
            if (!reached) {
                const ROWCOL row = t.gridRows[i];
                const ROWCOL col = t.gridCols[j];
                reached = row > 0 && col > 0 && IsRecalcCell(row, col);
                if (reached) {
                    m_pParam->m_recalcRanges.AddRange(new CGXRange(row, t.gridCols[t.cols], row, t.gridCols[t.cols]));
                } else {
                    const CRect keep = t.CellRect(i, j);
                    dc->ExcludeClipRect(&keep);
                    m_excludedFromPaint.push_back(keep);
                    continue;
                }
            }
            if (IsCurrentCell(t.gridRows[i], t.gridCols[j])) {
                t.currentControl = GetControlRowCol(t.gridRows[i], t.gridCols[j]);
            }
            if (spans && !(t.flags[t.Cell(i, j)] & kCellSpanned)) {
                spans->PrepareSpannedCell(this, t, i, j);
            }
            PrepareTableCell(t, i, j);
        }
    }
}

void CGXGridCore::PrepareTableCell(GridDrawTable& t, ROWCOL i, ROWCOL j) {
    const size_t cell = t.Cell(i, j);
    if (t.flags[cell] & kCellSpanned) {
        return;
    }
    const ROWCOL row = t.gridRows[i];
    const ROWCOL col = t.gridCols[j];
    const CGXStyle& style = LookupStyleRowCol(row, col);
    t.styles[cell] = &style;
    if (t.heights[i] == 0 || t.widths[j] == 0) {
        return;
    }
    WORD flags = 0;
    if (m_pStandardStyle && !(style.GetInterior() == m_pStandardStyle->GetInterior())) {
        flags |= kCellOwnBackground;
    }
    if (style.GetInclude(kStyleBorders)) {
        flags |= style.HasBorder(kLeft) ? kCellBorderLeft : 0;
        flags |= style.HasBorder(kRight) ? kCellBorderRight : 0;
        flags |= style.HasBorder(kTop) ? kCellBorderTop : 0;
        flags |= style.HasBorder(kBottom) ? kCellBorderBottom : 0;
    }
    const BOOL atRightBottom = m_pParam->m_bGridLinesAtRightBottom;
    const WORD colMask = atRightBottom ? kCellBorderRight : kCellBorderLeft;
    const WORD rowMask = atRightBottom ? kCellBorderBottom : kCellBorderTop;
    if (!(flags & colMask)) {
        flags |= kCellVertLine;
        if (col > GetHeaderCols() && col == GetFrozenCols()) {
            flags |= kCellFrozenColsEdge;
        }
    }
    if (!(flags & rowMask)) {
        flags |= kCellHorzLine;
        if (row > GetHeaderRows() && row == GetFrozenRows()) {
            flags |= kCellFrozenRowsEdge;
        }
    }
    if (t.invertSelected && m_pParam->m_selectedRanges.ContainsCell(row, col)) {
        flags |= kCellSelected;
    }
    t.flags[cell] = flags;
}

void CGXGridCore::DrawTable(GridDrawTable& t) {
    CDC* dc = t.dc;
    CRect grid;
    GetGridRect(grid);
    for (ROWCOL i = 0; i < t.rows; ++i) {
        DrawTableRowBackground(t, i);
        for (ROWCOL j = 0; j < t.cols; ++j) {
            DrawTableCell(t, i, j);
            if (!m_bRecalcDrawing) {
                RecalcHook1(t.gridRows[i], t.gridCols[j], 0);
            }
        }
        if (t.currentControl && !t.currentFrame.IsRectEmpty() && !t.frameDrawn) {
            t.currentControl->DrawCurrentCellFrame(dc, t.currentFrame);
            t.frameDrawn = TRUE;
        }
        DrawTableRowBorders(t, i);
    }
    if (!m_pParam->m_bTransparentBackground && t.rows && t.cols) {
        const COLORREF outside = m_bPrinting ? RGB(255, 255, 255) : PropertyColor(kColorBackground);
        const BOOL atRightBottom = m_pParam->m_bGridLinesAtRightBottom;
        if (t.gridCols[t.cols - 1] == GetColCount()) {
            CRect right = CalcRectRightOfCol(GetColCount());
            right.bottom = std::min<LONG>(right.bottom, t.ys[t.rows - 1] + t.heights[t.rows - 1]) + 5;
            right.bottom = std::min(right.bottom, grid.bottom);
            FillRectColor(dc, right, outside);
            if (LinesOn(TRUE) && !atRightBottom) {
                DrawTrackingLine(dc, 1, t.firstCol + t.cols, 0);
            }
        }
        if (t.gridRows[t.rows - 1] == GetRowCount()) {
            CRect below = CalcRectBelowRow(GetRowCount());
            FillRectColor(dc, below, outside);
            if (LinesOn(FALSE) && !atRightBottom) {
                DrawTrackingLine(dc, 2, t.firstRow + t.rows, 0);
            }
        }
    }
    for (ROWCOL j = 0; j < t.cols; ++j) {
        DrawTableColBorders(t, j);
    }
    if (t.invertSelected) {
        for (ROWCOL i = 0; i < t.rows; ++i) {
            for (ROWCOL j = 0; j < t.cols; ++j) {
                if (t.flags[t.Cell(i, j)] & kCellSelected) {
                    DrawInvertCell(dc, t.gridRows[i], t.gridCols[j], t.CellRect(i, j));
                }
            }
        }
    }
}

// Equal backgrounds of neighbouring cells are filled with one call; a single cell paints its own.
void CGXGridCore::DrawTableRowBackground(GridDrawTable& t, ROWCOL i) {
    if (m_pParam->m_bTransparentBackground) {
        return;
    }
    for (ROWCOL j = 0; j < t.cols; ++j) {
        t.flags[t.Cell(i, j)] |= kCellOwnBackground;
    }
    ROWCOL j = 0;
    while (j < t.cols) {
        if (t.flags[t.Cell(i, j)] & kCellSpanned) {
            ++j;
            continue;
        }
        const CGXStyle* first = nullptr;
        ROWCOL end = j;
        while (end < t.cols && !(t.flags[t.Cell(i, end)] & kCellSpanned)) {
            const CGXStyle* style = t.styles[t.Cell(i, end)];
            if (style) {
                if (first && !(style->GetInterior() == first->GetInterior())) {
                    break;
                }
                first = first ? first : style;
            }
            ++end;
        }
        if (end - j >= 2 && first) {
            CGXBrushValue brush = first->GetInterior();
            if (!t.keepColours) {
                if (brush.GetStyle() == BS_SOLID) {
                    brush.SetColor(RGB(255, 255, 255)).SetBkColor(RGB(0, 0, 0));
                } else {
                    brush.SetBkColor(RGB(255, 255, 255)).SetColor(RGB(0, 0, 0));
                }
            }
            CRect run(t.xs[j], t.ys[i], t.xs[end - 1] + t.widths[end - 1], t.ys[i] + t.heights[i]);
            FillRectWithBrush(t.dc, run, brush);
            for (ROWCOL k = j; k < end; ++k) {
                t.flags[t.Cell(i, k)] &= static_cast<WORD>(~kCellOwnBackground);
            }
        }
        j = std::max(end, j + 1);
    }
}

void CGXGridCore::DrawTableCell(GridDrawTable& t, ROWCOL i, ROWCOL j) {
    auto* spans = static_cast<CGXAbstractDrawSpannedCellsImp*>(m_features[kFeatureDrawSpannedCells]);
    if (spans && spans->DrawSpannedCell(this, t, i, j)) {
        return;
    }
    const size_t cell = t.Cell(i, j);
    const CGXStyle* style = t.styles[cell];
    const CRect rect = t.CellRect(i, j);
    if (!style || rect.IsRectEmpty() || (t.flags[cell] & kCellSpanned)) {
        return;
    }
    const ROWCOL row = t.gridRows[i];
    const ROWCOL col = t.gridCols[j];
    m_bDrawCellBackground = (t.flags[cell] & kCellOwnBackground) != 0;
    DrawCellControl(t.dc, row, col, rect, *style);
    m_bDrawCellBackground = FALSE;
    if (IsCurrentCell(row, col)) {
        CGXControl* control = GetRegisteredControl(style->GetControlId());
        if (control && !control->IsActive()) {
            t.currentFrame = SubtractBorders(rect, *style, TRUE);
        }
    }
}

void CGXGridCore::DrawCellControl(CDC* dc, ROWCOL row, ROWCOL col, const RECT& rect, const CGXStyle& style) {
    CGXControl* control = GetRegisteredControl(style.GetControlId());
    if (!control) {
        // No control registered at all: the cell still gets its background, or it would keep whatever
        // the surface held (black off-screen).
        CGXControl::DrawCellBackground(this, dc, rect, style, FALSE);
        return;
    }
    if (row > 0 && col > 0 && IsCurrentCell(row, col) && !control->IsBoundTo(row, col)) {
        control->InitCell(row, col);
    }
    control->Draw(dc, rect, row, col, style, m_pStandardStyle);
}

// The pen of one side of a cell: its border, the grid line, or none (style 7).
CGXPenValue CGXGridCore::SidePen(const GridDrawTable& t, ROWCOL i, ROWCOL j, int side, BOOL linesOn,
                                 BOOL boundarySide) {
    const size_t cell = t.Cell(i, j);
    const WORD flags = t.flags[cell];
    static constexpr WORD kBorderBit[] = {kCellBorderLeft, kCellBorderRight, kCellBorderTop, kCellBorderBottom};
    if ((flags & kBorderBit[side]) && t.styles[cell]) {
        return t.styles[cell]->GetBorders(side);
    }
    if (!linesOn) {
        return CGXPenValue();
    }
    const BOOL vertical = side == kLeft || side == kRight;
    const WORD edgeFlag = vertical ? kCellFrozenColsEdge : kCellFrozenRowsEdge;
    const WORD lineFlag = vertical ? kCellVertLine : kCellHorzLine;
    const BOOL atRightBottom = m_pParam->m_bGridLinesAtRightBottom;
    const int lineSide = vertical ? (atRightBottom ? kRight : kLeft) : (atRightBottom ? kBottom : kTop);
    const int farSide = vertical ? kRight : kBottom;
    if (side == farSide && boundarySide && (flags & edgeFlag)) {
        return m_gridLinePen;
    }
    if (side == lineSide && (flags & lineFlag)) {
        return m_gridLinePen;
    }
    return CGXPenValue();
}

void CGXGridCore::DrawTableRowBorders(GridDrawTable& t, ROWCOL i) {
    DrawTableBorders(t, i, FALSE);
}

void CGXGridCore::DrawTableColBorders(GridDrawTable& t, ROWCOL j) {
    DrawTableBorders(t, j, TRUE);
}

// The lines along one row (top and bottom sides) or one column (left and right), equal pens joined.
void CGXGridCore::DrawTableBorders(GridDrawTable& t, ROWCOL index, BOOL column) {
    const BOOL linesOn = LinesOn(column);
    const ROWCOL gridIndex = column ? t.gridCols[index] : t.gridRows[index];
    const BOOL boundary = gridIndex > (column ? GetHeaderCols() : GetHeaderRows()) &&
                          gridIndex == (column ? GetFrozenCols() : GetFrozenRows());
    const COLORREF gridColour = t.keepColours ? PropertyColor(kColorGridLines) : RGB(0, 0, 0);
    const COLORREF fixedColour = t.keepColours ? PropertyColor(kColorFixedLines) : RGB(0, 0, 0);
    const ROWCOL count = column ? t.rows : t.cols;
    const BOOL atRightBottom = m_pParam->m_bGridLinesAtRightBottom;
    const int sides[2] = {column ? kLeft : kTop, column ? kRight : kBottom};
    for (int side : sides) {
        m_gridLinePen = CGXPenValue(m_pParam->m_nGridLineStyle & 7, 1,
                                    (boundary && (side == kRight || side == kBottom)) ? fixedColour : gridColour);
        ROWCOL k = 0;
        while (k < count) {
            const ROWCOL i = column ? k : index;
            const ROWCOL j = column ? index : k;
            const CGXPenValue pen = SidePen(t, i, j, side, linesOn, boundary);
            if (!pen.IsIncluded()) {
                ++k;
                continue;
            }
            const CGXStyle* firstStyle = t.styles[t.Cell(i, j)];
            const CGXBrushValue interior = firstStyle ? firstStyle->GetInterior() : CGXBrushValue();
            ROWCOL end = k + 1;
            while (end < count) {
                const ROWCOL ei = column ? end : index;
                const ROWCOL ej = column ? index : end;
                if (!(SidePen(t, ei, ej, side, linesOn, boundary) == pen)) {
                    break;
                }
                ++end;
            }
            CRect run = column ? CRect(t.xs[index], t.ys[k], t.xs[index] + t.widths[index],
                                       t.ys[end - 1] + t.heights[end - 1])
                               : CRect(t.xs[k], t.ys[index], t.xs[end - 1] + t.widths[end - 1],
                                       t.ys[index] + t.heights[index]);
            CGXBrushValue lineBrush;
            const BOOL needsBrush = pen.MakeLineBrush(lineBrush, interior, FALSE, !t.keepColours);
            if (pen == m_gridLinePen && !needsBrush) {
                const BOOL far = side == kRight || side == kBottom;
                const int fixed = column ? (far || atRightBottom ? run.right - 1 : run.left)
                                         : (far || atRightBottom ? run.bottom - 1 : run.top);
                if (column) {
                    DrawGridLine(t.dc, fixed, run.top, 1, run.Height(), 1, index, 0, pen.GetColor());
                } else {
                    DrawGridLine(t.dc, run.left, fixed, run.Width(), 1, 2, index, 0, pen.GetColor());
                }
            } else {
                DrawBorderLine(pen, run, side, t.dc, firstStyle ? &interior : nullptr, !t.keepColours);
            }
            k = end;
        }
    }
}

void CGXGridCore::DrawCellBorders(CDC* dc, const RECT& rect, const CGXStyle& style) {
    const CGXBrushValue interior = style.GetInterior();
    for (int side : {kTop, kBottom, kLeft, kRight}) {
        if (style.HasBorder(side)) {
            DrawBorderLine(style.GetBorders(side), rect, side, dc, &interior);
        }
    }
}

void CGXGridCore::DrawBorderLine(const CGXPenValue& pen, const RECT& rect, int side, CDC* dc,
                                 const CGXBrushValue* interior, BOOL blackAndWhite) {
    if (pen.GetStyle() == kPenNull) {
        return;
    }
    const int w = std::max(1, static_cast<int>(pen.GetWidth()));
    const CRect r(rect);
    CRect band = r;
    switch (side) {
    case kLeft:
        band.right = r.left + w;
        break;
    case kRight:
        band.left = r.right - w;
        break;
    case kTop:
        band.bottom = r.top + w;
        break;
    default:
        band.top = r.bottom - w;
        break;
    }
    CGXBrushValue lineBrush;
    if (interior &&
        pen.MakeLineBrush(lineBrush, *interior, side == kTop || side == kBottom, blackAndWhite)) {
        FillRectWithBrush(dc, band, lineBrush);
        return;
    }
    const COLORREF colour = blackAndWhite ? RGB(0, 0, 0) : pen.GetColor() & 0xFFFFFF;
    if (w == 1 && pen.GetStyle() != PS_SOLID) {
        CPen cosmetic(static_cast<int>(pen.GetStyle()), 1, colour);
        CPen* old = dc->SelectObject(&cosmetic);
        switch (side) {
        case kLeft:
            dc->MoveTo(r.left, r.top);
            dc->LineTo(r.left, r.bottom - 1);
            break;
        case kRight:
            dc->MoveTo(r.right - 1, r.top);
            dc->LineTo(r.right - 1, r.bottom - 1);
            break;
        case kTop:
            dc->MoveTo(r.left, r.top);
            dc->LineTo(r.right - 1, r.top);
            break;
        default:
            dc->MoveTo(r.left, r.bottom - 1);
            dc->LineTo(r.right - 1, r.bottom - 1);
            break;
        }
        dc->SelectObject(old);
        return;
    }
    FillRectColor(dc, band, colour);
}

void CGXGridCore::DrawGridLine(CDC* dc, int x, int y, int cx, int cy, int kind, ROWCOL, UINT flags,
                               COLORREF colour) {
    const CRect rect(x, y, x + cx, y + cy);
    if (flags & 0xC) {
        dc->InvertRect(&rect);
    } else if (flags & 0x2) {
        FillRectColor(dc, rect, PropertyColor(kColorGridLines));
        CPen pen(m_nTrackingLineStyle, 1, PropertyColor(kColorDraggingLine));
        CPen* old = dc->SelectObject(&pen);
        const int oldMode = dc->SetBkMode(OPAQUE);
        dc->MoveTo(x, y);
        dc->LineTo(kind == 1 ? x : x + cx, kind == 1 ? y + cy : y);
        dc->SetBkMode(oldMode);
        dc->SelectObject(old);
    } else if (flags & 0x1) {
        FillRectColor(dc, rect, PropertyColor(kColorTrackingLine));
    } else {
        FillRectColor(dc, rect, colour == CLR_INVALID ? PropertyColor(kColorGridLines) : colour & 0xFFFFFF);
    }
}

CRect CGXGridCore::CalcTrackingLineRect(int kind, ROWCOL visibleIndex) {
    CRect grid;
    GetGridRect(grid);
    if (kind == 1) {
        const int x = CalcClientColLeft(visibleIndex);
        return CRect(x, grid.top, x + 1, std::min<LONG>(grid.bottom, grid.top + CalcSumOfClientRowHeights(
                                                                                    0, GetClientRow(GetRowCount()))));
    }
    const int y = CalcClientRowTop(visibleIndex);
    return CRect(grid.left, y, std::min<LONG>(grid.right, grid.left + CalcSumOfClientColWidths(
                                                                          0, GetClientCol(GetColCount()))),
                 y + 1);
}

void CGXGridCore::DrawTrackingLine(CDC* dc, int kind, ROWCOL visibleIndex, UINT flags) {
    const CRect rect = CalcTrackingLineRect(kind, visibleIndex);
    DrawGridLine(dc, rect.left, rect.top, rect.Width(), rect.Height(), kind, visibleIndex, flags, CLR_INVALID);
}

void CGXGridCore::DrawInvertCell(CDC* dc, ROWCOL row, ROWCOL col, const RECT& rect) {
    const BOOL current = IsCurrentCell(row, col);
    if (!current || m_bInvertCurrentCellOnce || m_pParam->m_wCurrentCellDisplay == 1) {
        dc->InvertRect(&rect);
    }
    if (current && m_pParam->m_bSelectCurrentCell) {
        const CRect r(rect);
        const RECT normal[] = {{r.left, r.top, r.right - 2, r.top + 3},
                               {r.left, r.top + 3, r.left + 3, r.bottom - 2},
                               {r.left, r.bottom - 2, r.right - 2, r.bottom},
                               {r.right - 2, r.top, r.right, r.bottom}};
        const RECT atRightBottom[] = {{r.left, r.top, r.right, r.top + 2},
                                      {r.left, r.top + 2, r.left + 2, r.bottom},
                                      {r.right - 3, r.top + 2, r.right, r.bottom - 3},
                                      {r.left + 2, r.bottom - 3, r.right, r.bottom}};
        for (const RECT& strip : m_pParam->m_bGridLinesAtRightBottom ? atRightBottom : normal) {
            dc->InvertRect(&strip);
        }
    }
    m_bInvertCurrentCellOnce = FALSE;
}

void CGXGridCore::FillRectWithBrush(CDC* dc, const RECT& rect, const CGXBrushValue& brush) {
    if (brush.GetStyle() == BS_NULL) {
        FillRectColor(dc, rect, brush.GetBkColor() & 0xFFFFFF);
        return;
    }
    CBrush* gdiBrush = GetBrush(brush);
    if (!gdiBrush) {
        return;
    }
    const COLORREF oldBk = dc->SetBkColor(brush.GetBkColor() & 0xFFFFFF);
    const COLORREF oldText = dc->SetTextColor(brush.GetColor() & 0xFFFFFF);
    const int oldMode = dc->SetBkMode(OPAQUE);
    dc->FillRect(&rect, gdiBrush);
    dc->SetBkMode(oldMode);
    dc->SetTextColor(oldText);
    dc->SetBkColor(oldBk);
}

// ---- Invalidation

void CGXGridCore::InvalidateGridRect(const RECT* rect, BOOL erase) {
    if (m_pGridWnd && m_pGridWnd->GetSafeHwnd() && ::IsWindowVisible(m_pGridWnd->GetSafeHwnd())) {
        CRect grid;
        GetGridRect(grid);
        ::InvalidateRect(m_pGridWnd->GetSafeHwnd(), rect ? rect : &grid, erase);
    }
}

void CGXGridCore::UpdateGridWindow() {
    if (m_pGridWnd && m_pGridWnd->GetSafeHwnd()) {
        ::UpdateWindow(m_pGridWnd->GetSafeHwnd());
    }
}

void CGXGridCore::RedrawRowCol(ROWCOL top, ROWCOL left, ROWCOL bottom, ROWCOL right, UINT flags, BOOL hint) {
    if (!flags || !m_pGridWnd || !::IsWindowVisible(m_pGridWnd->GetSafeHwnd()) || !m_pParam ||
        m_pParam->m_bLockUpdate) {
        return;
    }
    CRect rect = CalcRangeRectSpanned(top, left, bottom, right);
    InvalidateGridRect(&rect);
    if (flags & 2) {
        UpdateGridWindow();
    }
    if (auto* hints = HintSender(hint)) {
        hints->HintRedrawRowCol(this, top, left, bottom, right, flags);
    }
}

void CGXGridCore::RedrawRange(const CGXRange& range, UINT flags, BOOL hint) {
    CGXRange cells(range);
    cells.ExpandToCells(0, 0, GetRowCount(), GetColCount());
    RedrawRowCol(cells.top, cells.left, cells.bottom, cells.right, flags, hint);
}

void CGXGridCore::Redraw(UINT flags, BOOL hint) {
    m_nLastVisibleRow = m_nLastVisibleCol = kGridNoRowCol;
    if (!flags || !m_pParam || m_pParam->m_bLockUpdate) {
        return;
    }
    if (m_nTopRow > GetRowCount()) {
        SetTopRow(GetRowCount(), 0, TRUE);
    }
    if (m_nLeftCol > GetColCount()) {
        SetLeftCol(GetColCount(), 0, TRUE);
    }
    FreeObjectCache();
    if (!m_bInitDone) {
        return;
    }
    InvalidateGridRect(nullptr);
    UpdateScrollbars(TRUE, FALSE);
    if (flags & 2) {
        UpdateGridWindow();
    }
    if (auto* hints = HintSender(hint)) {
        hints->HintRedraw(this, flags);
    }
}

BOOL CGXGridCore::Recalc(BOOL force, CString* errorText, BOOL hint) {
    if (GetRowCount() == 0 || GetColCount() == 0) {
        return FALSE;
    }
    CGXData* data = m_pParam ? m_pParam->GetData() : nullptr;
    if (data) {
        data->m_dwRecalcFlags &= ~CGXData::kRecalcCannotStart;
    }
    if (errorText) {
        errorText->Empty();
    }
    IsRecalcCell(1, 1);
    if (data && (data->m_dwRecalcFlags & CGXData::kRecalcCannotStart)) {
        return FALSE;
    }
    if (force) {
        RecalcHook4();
        RecalcHook3(FALSE);
    }
    const BOOL moving = m_bMovingCurrentCell;
    m_bMovingCurrentCell = TRUE;
    UpdateGridWindow();
    m_bRecalcDrawing = TRUE;
    try {
        Redraw(2, FALSE);
    } catch (...) {
        m_bMovingCurrentCell = moving;
        m_bRecalcDrawing = FALSE;
        throw;
    }
    m_bMovingCurrentCell = moving;
    m_bRecalcDrawing = FALSE;
    if (auto* hints = HintSender(hint)) {
        hints->HintRecalc(this, errorText ? errorText->GetString() : nullptr);
    }
    BOOL result = TRUE;
    if (force) {
        CString text;
        if (RecalcHook5(text)) {
            if (errorText) {
                *errorText = text;
            } else {
                AfxMessageBox(text, MB_OK);
            }
            result = FALSE;
        }
        RecalcHook4();
    }
    // The rows a recalculation paint reached go on with the cells after the last one drawn.
    CGXRangeList& queued = m_pParam->m_recalcRanges;
    while (!queued.IsEmpty()) {
        std::unique_ptr<CGXRange> range(static_cast<CGXRange*>(queued.RemoveHead()));
        RecalcHook1(range->top, range->left, 0);
    }
    return result;
}

BOOL CGXGridCore::IsRecalcCell(ROWCOL row, ROWCOL col) {
    CGXData* data = m_pParam ? m_pParam->GetData() : nullptr;
    if (!data) {
        return FALSE;
    }
    CGXRange covered;
    if (GetCoveredCellsRowCol(row, col, covered)) {
        row = covered.top;
        col = covered.left;
    }
    return data->ResetValue(row, col);
}

void CGXGridCore::RecalcHook1(ROWCOL row, ROWCOL col, int flag) {
    if (CGXData* data = m_pParam ? m_pParam->GetData() : nullptr) {
        data->RecalcCellDrawn(row, col, flag);
    }
}

void CGXGridCore::RecalcHook2(const CGXRange& range) {
    CGXData* data = m_pParam ? m_pParam->GetData() : nullptr;
    if (data && !m_bRecalcDrawing) {
        data->RecalcRangeChanged(range);
    }
}

void CGXGridCore::RecalcHook3(BOOL flag) {
    if (CGXData* data = m_pParam ? m_pParam->GetData() : nullptr) {
        data->RecalcPrepare(flag);
    }
}

void CGXGridCore::RecalcHook4() {
    if (CGXData* data = m_pParam ? m_pParam->GetData() : nullptr) {
        data->RecalcFinish();
    }
}

BOOL CGXGridCore::RecalcHook5(CString& text) {
    CGXData* data = m_pParam ? m_pParam->GetData() : nullptr;
    return data ? data->RecalcErrorText(text) : FALSE;
}
