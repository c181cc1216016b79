// Row heights and column widths in units that follow the font, rectangles of cells and ranges, points back
// to rows and columns, hit testing, cursors and zoom.
#include "grid/CGXFont.h"
#include "grid/CGXGridCore.h"
#include "grid/CGXGridParam.h"
#include "grid/CGXLongOperation.h"
#include "grid/CGXProperties.h"
#include "grid/CGXStyle.h"
#include "grid/GridResourceIds.h"
#include "platform/display/InputApi.h"
#include "platform/display/WindowApi.h"
#include "platform/framework/CGdiObject.h"
#include "platform/framework/CWnd.h"
#include "platform/framework/FrameworkResources.h"
#include "platform/gdi/Gdi.h"
#include "platform/resources/Resources.h"

#include <algorithm>

namespace {

// Pixels to stored thousandths: never a factor below 1, so a zero unit cannot divide by zero.
LONG Factor(int unit) {
    return std::max<LONG>(1, 1000 / std::max(1, unit));
}

constexpr WORD kResizeMask = 3;
constexpr WORD kResizeOutsideHeaders = 4;
constexpr WORD kResizeNotHeaderEdges = 8;

} // namespace

LONG CGXGridCore::RowPixelsToStored(int pixels) const {
    return pixels * Factor(GetFontHeight());
}

int CGXGridCore::RowStoredToPixels(LONG stored) const {
    return static_cast<int>(stored / Factor(GetFontHeight()));
}

LONG CGXGridCore::ColPixelsToStored(int pixels) const {
    return pixels * Factor(GetCharWidth());
}

int CGXGridCore::ColStoredToPixels(LONG stored) const {
    return static_cast<int>(stored / Factor(GetCharWidth()));
}

// ---- Sizes

int CGXGridCore::GetRowHeight(ROWCOL row) {
    if (!m_pParam || IsRowHidden(row)) {
        return 0;
    }
    LONG stored = 0;
    const int height = m_pParam->m_rowHeights.Lookup(row, stored) ? RowStoredToPixels(stored)
                                                                  : GetDefaultRowHeight();
    const ROWCOL frozen = GetFrozenRows();
    if (m_bLimitRowHeight && row > frozen && m_pGridWnd && m_pGridWnd->GetSafeHwnd() &&
        ::IsWindowVisible(m_pGridWnd->GetSafeHwnd())) {
        CRect grid;
        GetGridRect(grid);
        const int available = grid.Height() - CalcSumOfRowHeights(0, frozen);
        if (height >= available) {
            return std::max(0, available);
        }
    }
    return height;
}

int CGXGridCore::GetColWidth(ROWCOL col) {
    if (!m_pParam || IsColHidden(col)) {
        return 0;
    }
    LONG stored = 0;
    const int width = m_pParam->m_colWidths.Lookup(col, stored) ? ColStoredToPixels(stored)
                                                                : GetDefaultColWidth();
    const ROWCOL frozen = GetFrozenCols();
    if (m_bLimitColWidth && col > frozen && m_pGridWnd && m_pGridWnd->GetSafeHwnd() &&
        ::IsWindowVisible(m_pGridWnd->GetSafeHwnd())) {
        CRect grid;
        GetGridRect(grid);
        const int available = grid.Width() - CalcSumOfColWidths(0, frozen);
        if (width >= available) {
            return std::max(0, available);
        }
    }
    return width;
}

int CGXGridCore::GetDefaultRowHeight() {
    return m_pParam ? RowStoredToPixels(m_pParam->m_nDefaultRowHeight) : 0;
}

int CGXGridCore::GetDefaultColWidth() {
    return m_pParam ? ColStoredToPixels(m_pParam->m_nDefaultColWidth) : 0;
}

BOOL CGXGridCore::StoreRowHeight(ROWCOL row, int height) {
    if (!m_pParam) {
        return FALSE;
    }
    if (height >= 0) {
        m_pParam->m_rowHeights.SetAt(row) = RowPixelsToStored(height);
    } else {
        m_pParam->m_rowHeights.RemoveKey(row);
    }
    SetDocumentModified(TRUE);
    return TRUE;
}

BOOL CGXGridCore::StoreColWidth(ROWCOL col, int width) {
    if (!m_pParam) {
        return FALSE;
    }
    if (width >= 0) {
        m_pParam->m_colWidths.SetAt(col) = ColPixelsToStored(width);
    } else {
        m_pParam->m_colWidths.RemoveKey(col);
    }
    SetDocumentModified(TRUE);
    return TRUE;
}

BOOL CGXGridCore::StoreDefaultRowHeight(int height) {
    if (!m_pParam || height <= 0) {
        return FALSE;
    }
    m_pParam->m_nDefaultRowHeight = RowPixelsToStored(height);
    SetDocumentModified(TRUE);
    return TRUE;
}

BOOL CGXGridCore::StoreDefaultColWidth(int width) {
    if (!m_pParam || width <= 0) {
        return FALSE;
    }
    m_pParam->m_nDefaultColWidth = ColPixelsToStored(width);
    SetDocumentModified(TRUE);
    return TRUE;
}

BOOL CGXGridCore::SetRowHeight(ROWCOL from, ROWCOL to, int height, const int* heights, UINT flags, int ctCmd) {
    if (to == 0) {
        to = from;
    }
    if (from > to) {
        return FALSE;
    }
    CGXLongOperation operation;
    std::vector<int> old;
    GetRowHeights(from, to, old);
    for (ROWCOL row = from; row <= to; ++row) {
        StoreRowHeight(row, heights ? heights[row - from] : height);
        if (row == kGridMaxRowCol) {
            break;
        }
    }
    UpdateChangedRowHeights(from, to, flags, TRUE);
    if (auto* factory = RecordingFactory(ctCmd)) {
        RecordCommand(factory->CreateSetRowHeightCmd(from, to, std::move(old)), ctCmd);
        if (ctCmd == kCmdUndo || ctCmd == kCmdRedo) {
            SetAdvancedUndoCell(from, GetLeftCol(), TRUE);
        }
    }
    return TRUE;
}

BOOL CGXGridCore::SetColWidth(ROWCOL from, ROWCOL to, int width, const int* widths, UINT flags, int ctCmd) {
    if (to == 0) {
        to = from;
    }
    if (from > to) {
        return FALSE;
    }
    CGXLongOperation operation;
    std::vector<int> old;
    GetColWidths(from, to, old);
    for (ROWCOL col = from; col <= to; ++col) {
        StoreColWidth(col, widths ? widths[col - from] : width);
        if (col == kGridMaxRowCol) {
            break;
        }
    }
    UpdateChangedColWidths(from, to, flags, TRUE);
    if (auto* factory = RecordingFactory(ctCmd)) {
        RecordCommand(factory->CreateSetColWidthCmd(from, to, std::move(old)), ctCmd);
        if (ctCmd == kCmdUndo || ctCmd == kCmdRedo) {
            SetAdvancedUndoCell(GetTopRow(), from, TRUE);
        }
    }
    return TRUE;
}

BOOL CGXGridCore::SetDefaultRowHeight(int height, UINT flags, int ctCmd) {
    const int old = GetDefaultRowHeight();
    if (!StoreDefaultRowHeight(height)) {
        return FALSE;
    }
    UpdateChangedRowHeights(1, GetRowCount(), flags, TRUE);
    if (auto* factory = RecordingFactory(ctCmd)) {
        RecordCommand(factory->CreateSetDefaultRowHeightCmd(old), ctCmd);
    }
    return TRUE;
}

BOOL CGXGridCore::SetDefaultColWidth(int width, UINT flags, int ctCmd) {
    const int old = GetDefaultColWidth();
    if (!StoreDefaultColWidth(width)) {
        return FALSE;
    }
    UpdateChangedColWidths(1, GetColCount(), flags, TRUE);
    if (auto* factory = RecordingFactory(ctCmd)) {
        RecordCommand(factory->CreateSetDefaultColWidthCmd(old), ctCmd);
    }
    return TRUE;
}

void CGXGridCore::UpdateChangedRowHeights(ROWCOL from, ROWCOL to, UINT flags, BOOL hint) {
    m_nLastVisibleRow = kGridNoRowCol;
    if (GetRowHeight(from) == 0 && m_bCurrentCellValid && m_nCurrentRow >= from && m_nCurrentRow <= to) {
        SyncCurrentCell(TRUE);
    }
    if (m_pParam && !m_pParam->m_bLockUpdate) {
        Redraw(flags, FALSE);
    }
    if (auto* hints = HintSender(hint)) {
        hints->HintChangedRowHeights(this, from, to, flags);
    }
}

void CGXGridCore::UpdateChangedColWidths(ROWCOL from, ROWCOL to, UINT flags, BOOL hint) {
    m_nLastVisibleCol = kGridNoRowCol;
    if (GetColWidth(from) == 0 && m_bCurrentCellValid && m_nCurrentCol >= from && m_nCurrentCol <= to) {
        SyncCurrentCell(TRUE);
    }
    if (m_pParam && !m_pParam->m_bLockUpdate) {
        Redraw(flags, FALSE);
    }
    if (auto* hints = HintSender(hint)) {
        hints->HintChangedColWidths(this, from, to, flags);
    }
}

void CGXGridCore::GetRowHeights(ROWCOL from, ROWCOL to, std::vector<int>& heights) {
    heights.clear();
    for (ROWCOL row = from; row <= to && row != kGridNoRowCol; ++row) {
        heights.push_back(GetRowHeight(row));
    }
}

void CGXGridCore::GetColWidths(ROWCOL from, ROWCOL to, std::vector<int>& widths) {
    widths.clear();
    for (ROWCOL col = from; col <= to && col != kGridNoRowCol; ++col) {
        widths.push_back(GetColWidth(col));
    }
}

// ---- Sums and edges

int CGXGridCore::CalcSumOfRowHeights(ROWCOL from, ROWCOL to, int limit) {
    int sum = 0;
    for (ROWCOL row = from; row <= to && row != kGridNoRowCol; ++row) {
        if (limit && sum > limit) {
            break;
        }
        sum += GetRowHeight(row);
    }
    return sum;
}

int CGXGridCore::CalcSumOfColWidths(ROWCOL from, ROWCOL to, int limit) {
    int sum = 0;
    for (ROWCOL col = from; col <= to && col != kGridNoRowCol; ++col) {
        if (limit && sum > limit) {
            break;
        }
        sum += GetColWidth(col);
    }
    return sum;
}

int CGXGridCore::CalcSumOfClientRowHeights(ROWCOL from, ROWCOL to, int limit) {
    int sum = 0;
    const ROWCOL count = GetRowCount();
    for (ROWCOL v = from; v <= to && v != kGridNoRowCol; ++v) {
        const ROWCOL row = GetRow(v);
        if (row > count || (limit && sum > limit)) {
            break;
        }
        sum += GetRowHeight(row);
    }
    return sum;
}

int CGXGridCore::CalcSumOfClientColWidths(ROWCOL from, ROWCOL to, int limit) {
    int sum = 0;
    const ROWCOL count = GetColCount();
    for (ROWCOL v = from; v <= to && v != kGridNoRowCol; ++v) {
        const ROWCOL col = GetCol(v);
        if (col > count || (limit && sum > limit)) {
            break;
        }
        sum += GetColWidth(col);
    }
    return sum;
}

int CGXGridCore::CalcClientRowTop(ROWCOL visibleIndex) {
    CRect grid;
    GetGridRect(grid);
    return grid.top + (visibleIndex == 0 ? 0 : CalcSumOfClientRowHeights(0, visibleIndex - 1));
}

int CGXGridCore::CalcClientColLeft(ROWCOL visibleIndex) {
    CRect grid;
    GetGridRect(grid);
    return grid.left + (visibleIndex == 0 ? 0 : CalcSumOfClientColWidths(0, visibleIndex - 1));
}

CRect CGXGridCore::CalcRectBelowRow(ROWCOL row) {
    CRect rect;
    GetGridRect(rect);
    ROWCOL v = GetClientRow(row);
    if (row != 0 && v == 0) {
        v = GetFrozenRows(); // scrolled out: below the frozen rows
        row = v;
    }
    rect.top = std::min<LONG>(rect.bottom, CalcClientRowTop(v) + GetRowHeight(row));
    return rect;
}

CRect CGXGridCore::CalcRectRightOfCol(ROWCOL col) {
    CRect rect;
    GetGridRect(rect);
    ROWCOL v = GetClientCol(col);
    if (col != 0 && v == 0) {
        v = GetFrozenCols();
        col = v;
    }
    rect.left = std::min<LONG>(rect.right, CalcClientColLeft(v) + GetColWidth(col));
    return rect;
}

// ---- Points to rows and columns

ROWCOL CGXGridCore::CalcClientRowFromPt(POINT point, int* edge) {
    CRect grid;
    GetGridRect(grid);
    const ROWCOL count = GetRowCount();
    int y = grid.top;
    ROWCOL v = 0;
    int top = y;
    while (y <= point.y && GetRow(v) <= count) {
        top = y;
        y += GetRowHeight(GetRow(v));
        ++v;
    }
    if (edge) {
        *edge = top;
    }
    if (y == grid.top) {
        return point.y < grid.top ? 0 : kGridNoRowCol;
    }
    if (y <= point.y) {
        return kGridNoRowCol; // below the last row
    }
    return v - 1;
}

ROWCOL CGXGridCore::CalcClientColFromPt(POINT point, int* edge) {
    CRect grid;
    GetGridRect(grid);
    const ROWCOL count = GetColCount();
    int x = grid.left;
    ROWCOL v = 0;
    int left = x;
    while (x <= point.x && GetCol(v) <= count) {
        left = x;
        x += GetColWidth(GetCol(v));
        ++v;
    }
    if (edge) {
        *edge = left;
    }
    if (x == grid.left) {
        return point.x < grid.left ? 0 : kGridNoRowCol;
    }
    if (x <= point.x) {
        return kGridNoRowCol;
    }
    return v - 1;
}

ROWCOL CGXGridCore::CalcBottomRowFromRect(const RECT& rect) {
    const ROWCOL v = CalcClientRowFromPt(POINT{rect.right, rect.bottom});
    return v == kGridNoRowCol ? GetRowCount() : GetRow(v);
}

ROWCOL CGXGridCore::CalcRightColFromRect(const RECT& rect) {
    const ROWCOL v = CalcClientColFromPt(POINT{rect.right, rect.bottom});
    return v == kGridNoRowCol ? GetColCount() : GetCol(v);
}

ROWCOL CGXGridCore::GetLastVisibleRow() {
    if (m_nLastVisibleRow == kGridNoRowCol) {
        CRect grid;
        GetGridRect(grid);
        m_nLastVisibleRow = CalcBottomRowFromRect(grid);
    }
    return m_nLastVisibleRow;
}

ROWCOL CGXGridCore::GetLastVisibleCol() {
    if (m_nLastVisibleCol == kGridNoRowCol) {
        CRect grid;
        GetGridRect(grid);
        m_nLastVisibleCol = CalcRightColFromRect(grid);
    }
    return m_nLastVisibleCol;
}

// ---- Rectangles

CRect CGXGridCore::ComputeCellRangeRect(ROWCOL top, ROWCOL left, ROWCOL bottom, ROWCOL right, BOOL noLimit) {
    if (top > bottom) {
        std::swap(top, bottom);
    }
    if (left > right) {
        std::swap(left, right);
    }
    const ROWCOL frozenRows = GetFrozenRows();
    const ROWCOL frozenCols = GetFrozenCols();
    if ((left > frozenCols && right < GetLeftCol()) || (top > frozenRows && bottom < GetTopRow())) {
        return CRect(0, 0, 0, 0);
    }
    ROWCOL vLeft = GetClientCol(left);
    if (left > frozenCols && left < GetLeftCol()) {
        vLeft = GetClientCol(GetLeftCol());
    }
    ROWCOL vTop = GetClientRow(top);
    if (top > frozenRows && top < GetTopRow()) {
        vTop = GetClientRow(GetTopRow());
    }
    if (!m_bPrinting && (vTop > GetClientRow(GetLastVisibleRow()) + 1 ||
                         vLeft > GetClientCol(GetLastVisibleCol()) + 1)) {
        return CRect(0, 0, 0, 0);
    }
    ROWCOL vRight = GetClientCol(right);
    if (right > frozenCols && right < GetLeftCol()) {
        vRight = frozenCols;
    }
    ROWCOL vBottom = GetClientRow(bottom);
    if (bottom > frozenRows && bottom < GetTopRow()) {
        vBottom = frozenRows;
    }

    CRect grid;
    GetGridRect(grid);
    const int limitX = noLimit ? INT_MAX : 2 * grid.right;
    const int limitY = noLimit ? INT_MAX : 2 * grid.bottom;
    int x = grid.left;
    for (ROWCOL v = 0; v < vLeft && x <= limitX; ++v) {
        x += GetColWidth(GetCol(v));
    }
    int xRight = x;
    for (ROWCOL v = vLeft; v <= vRight && xRight <= limitX; ++v) {
        xRight += GetColWidth(GetCol(v));
    }
    int y = grid.top;
    for (ROWCOL v = 0; v < vTop && y <= limitY; ++v) {
        y += GetRowHeight(GetRow(v));
    }
    int yBottom = y;
    for (ROWCOL v = vTop; v <= vBottom && yBottom <= limitY; ++v) {
        yBottom += GetRowHeight(GetRow(v));
    }
    return CRect(x, y, xRight, yBottom);
}

CRect CGXGridCore::CalcCellRect(ROWCOL row, ROWCOL col) {
    return ComputeCellRangeRect(row, col, row, col);
}

CRect CGXGridCore::CalcRangeRectCovered(ROWCOL top, ROWCOL left, ROWCOL bottom, ROWCOL right) {
    CGXRange range(top, left, bottom, right);
    ExpandRangeByCoveredCells(range);
    return ComputeCellRangeRect(range.top, range.left, range.bottom, range.right);
}

CRect CGXGridCore::CalcRangeRectSpanned(ROWCOL top, ROWCOL left, ROWCOL bottom, ROWCOL right) {
    return CalcRangeRectCovered(top, left, bottom, right);
}

CRect CGXGridCore::CalcCellRectSpanned(ROWCOL row, ROWCOL col) {
    return CalcRangeRectSpanned(row, col, row, col);
}

// ---- Hit testing

int CGXGridCore::HitTest(POINT point, ROWCOL* rowOut, ROWCOL* colOut, RECT* cellRect) {
    CRect grid;
    GetGridRect(grid);
    const POINT clamped{std::max<LONG>(0, point.x), std::max<LONG>(0, point.y)};
    if (!grid.PtInRect(clamped) || !grid.PtInRect(point)) {
        return kHitNothing;
    }
    int top = 0;
    int left = 0;
    const ROWCOL vRow = CalcClientRowFromPt(point, &top);
    const ROWCOL vCol = CalcClientColFromPt(point, &left);
    const ROWCOL row = vRow == kGridNoRowCol ? GetRowCount() + 1 : GetRow(vRow);
    const ROWCOL col = vCol == kGridNoRowCol ? GetColCount() + 1 : GetCol(vCol);
    const BOOL inCell = vRow != kGridNoRowCol && vCol != kGridNoRowCol;
    CRect rect;
    if (inCell) {
        rect.SetRect(left, top, left + GetColWidth(col), top + GetRowHeight(row));
    }

    const WORD colFlags = m_pParam ? m_pParam->m_wColResizeFlags : 0;
    const WORD rowFlags = m_pParam ? m_pParam->m_wRowResizeFlags : 0;
    const ROWCOL headerRows = GetHeaderRows();
    const ROWCOL headerCols = GetHeaderCols();
    const BOOL colEdges = (colFlags & kResizeMask) && (row <= headerRows || (colFlags & kResizeOutsideHeaders));
    const BOOL rowEdges = (rowFlags & kResizeMask) && (col <= headerCols || (rowFlags & kResizeOutsideHeaders));
    const int half = m_nHitTolerance / 2;
    const int quarter = m_nHitTolerance / 4;

    int code = kHitNothing;
    ROWCOL hitRow = row;
    ROWCOL hitCol = col;
    if (inCell && colEdges) {
        if (rect.right - point.x <= half) {
            if (!(col <= headerCols && (colFlags & kResizeNotHeaderEdges))) {
                code = kHitColEdge;
            }
        } else if (point.x - rect.left <= half && col > 0) {
            if (col <= headerCols + 1 && (colFlags & kResizeNotHeaderEdges)) {
                // the header's own edge
            } else if (point.x - rect.left > quarter && GetColWidth(col - 1) == 0) {
                code = kHitHiddenCol;
                hitCol = col - 1;
            } else {
                hitCol = col - 1;
                while (hitCol > 0 && GetColWidth(hitCol) == 0) {
                    --hitCol;
                }
                code = kHitColEdge;
            }
        }
    }
    if (inCell && code == kHitNothing && rowEdges) {
        if (rect.bottom - point.y <= half) {
            if (!(row <= headerRows && (rowFlags & kResizeNotHeaderEdges))) {
                code = kHitRowEdge;
            }
        } else if (point.y - rect.top <= half && row > 0) {
            if (row <= headerRows + 1 && (rowFlags & kResizeNotHeaderEdges)) {
                // the header's own edge
            } else if (point.y - rect.top > quarter && GetRowHeight(row - 1) == 0) {
                code = kHitHiddenRow;
                hitRow = row - 1;
            } else {
                hitRow = row - 1;
                while (hitRow > 0 && GetRowHeight(hitRow) == 0) {
                    --hitRow;
                }
                code = kHitRowEdge;
            }
        }
    }
    if (inCell && code == kHitNothing) {
        code = HitTestSelectionFrame(row, col, point, rect);
        if (code == kHitNothing) {
            code = row > headerRows && col > headerCols ? kHitCell : kHitHeader;
        }
    }
    if (rowOut) {
        *rowOut = hitRow;
    }
    if (colOut) {
        *colOut = hitCol;
    }
    if (cellRect && inCell) {
        *cellRect = rect;
    }
    return code;
}

int CGXGridCore::HitTestSelectionFrame(ROWCOL row, ROWCOL col, POINT point, const RECT& cellRect) {
    if (!m_pParam || !(m_bHitSelectionFrame || m_pParam->m_bExcelLikeFrame)) {
        return kHitNothing;
    }
    constexpr int kBand = 4;
    const CRect cell(cellRect);
    CGXRange frame;
    BOOL found = FALSE;
    CGXRangeList& selection = m_pParam->m_selectedRanges;
    if (selection.ContainsCell(0, 0)) {
        if (row != 0 || col != 0) {
            return kHitNothing;
        }
        const BOOL onEdge = point.x - cell.left < kBand || point.y - cell.top < kBand;
        return onEdge ? kHitSelectionFrame : kHitNothing;
    }
    for (POSITION pos = selection.GetHeadPosition(); pos && !found;) {
        const CGXRange* range = selection.GetNextRange(pos);
        if (range->ContainsCell(row, col)) {
            frame = *range;
            found = TRUE;
        }
    }
    if (!found && selection.IsEmpty() && m_bCurrentCellValid) {
        frame.SetCells(m_nCurrentRow, m_nCurrentCol, m_nCurrentRow, m_nCurrentCol);
        ExpandRangeByCoveredCells(frame);
        found = frame.ContainsCell(row, col);
    }
    if (!found) {
        return kHitNothing;
    }
    const BOOL onLeft = !frame.IsRows() && col == frame.left && point.x - cell.left < kBand;
    const BOOL onRight = !frame.IsRows() && col == frame.right && cell.right - point.x <= kBand;
    const BOOL onTop = !frame.IsCols() && row == frame.top && point.y - cell.top < kBand;
    const BOOL onBottom = !frame.IsCols() && row == frame.bottom && cell.bottom - point.y <= kBand;
    if (!(onLeft || onRight || onTop || onBottom)) {
        return kHitNothing;
    }
    if (m_pParam->m_bExcelLikeFrame && cell.right - point.x <= kBand && cell.bottom - point.y <= kBand) {
        return kHitFillHandle;
    }
    return kHitSelectionFrame;
}

// ---- Cursors

UINT CGXGridCore::CursorIdAt(POINT point) {
    if (m_nForcedCursor) {
        return m_nForcedCursor;
    }
    ROWCOL row = 0;
    ROWCOL col = 0;
    const int code = HitTest(point, &row, &col);
    const WORD colFlags = m_pParam ? m_pParam->m_wColResizeFlags : 0;
    const WORD rowFlags = m_pParam ? m_pParam->m_wRowResizeFlags : 0;
    switch (code) {
    case kHitColEdge:
        return (colFlags & kResizeMask) && HasUserResizeFeature() ? IDC_GRID_SIZE_COLUMN : 0;
    case kHitRowEdge:
        return (rowFlags & kResizeMask) && HasUserResizeFeature() ? IDC_GRID_SIZE_ROW : 0;
    case kHitHeader:
        if (row == 0 && col > 0 && m_pParam->TestSelectionFlags(2) &&
            !(m_pParam->m_bDragCols && m_pParam->m_selectedRanges.ContainsCell(0, col))) {
            return IDC_GRID_SELECT_COLUMN;
        }
        if (col == 0 && row > 0 && m_pParam->TestSelectionFlags(1) &&
            !(m_pParam->m_bDragRows && m_pParam->m_selectedRanges.ContainsCell(row, 0))) {
            return IDC_GRID_SELECT_ROW;
        }
        return 0;
    case kHitSelectionFrame:
        return IDC_GRID_DRAG_SELECTION;
    case kHitFillHandle:
        return IDC_GRID_FILL_HANDLE;
    case kHitHiddenCol:
        return IDC_GRID_HIDDEN_COLUMN;
    case kHitHiddenRow:
        return IDC_GRID_HIDDEN_ROW;
    default:
        return 0;
    }
}

void CGXGridCore::UpdateCursor(POINT point) {
    const UINT id = CursorIdAt(point);
    LPCTSTR fallback = IDC_ARROW;
    if (id == IDC_GRID_SIZE_COLUMN) {
        fallback = IDC_SIZEWE;
    } else if (id == IDC_GRID_SIZE_ROW) {
        fallback = IDC_SIZENS;
    }
    SetGridCursor(id, fallback);
}

void CGXGridCore::RefreshCursor(UINT forcedId) {
    m_nForcedCursor = forcedId;
    UpdateCursor(POINT{0, 0});
}

void CGXGridCore::SetGridCursor(UINT resourceId, LPCTSTR systemId) {
    if (resourceId == 0) {
        ::SetCursor(m_hArrowCursor);
        return;
    }
    if (resourceId != m_nLastCursorId || !m_hLastCursor) {
        HMODULE module = DolivaFindResourceModule(MAKEINTRESOURCE(resourceId), RT_GROUP_CURSOR);
        HCURSOR cursor = module ? ::LoadCursorW(module, MAKEINTRESOURCE(resourceId)) : nullptr;
        if (!cursor) {
            cursor = ::LoadCursorW(nullptr, systemId);
        }
        m_nLastCursorId = resourceId;
        m_hLastCursor = cursor;
    }
    ::SetCursor(m_hLastCursor);
}

// ---- Zoom and metrics

int CGXGridCore::GetZoom() {
    if (m_bPrinting || !m_pParam || m_pParam->m_bUsePrinterMetrics) {
        return 100;
    }
    return m_nZoom;
}

BOOL CGXGridCore::StoreZoom(int percent, BOOL hint) {
    m_nZoom = percent;
    if (m_pParam && m_pParam->GetProperties()) {
        m_pParam->GetProperties()->percentSetting = static_cast<DWORD>(percent);
    }
    if (auto* hints = HintSender(hint)) {
        hints->HintStoreZoom(this, percent);
    }
    return TRUE;
}

void CGXGridCore::SetZoom(int percent, UINT flags) {
    const int old = GetZoom();
    StoreZoom(percent, TRUE);
    UpdateZoom(old, flags, TRUE);
}

void CGXGridCore::UpdateZoom(int oldPercent, UINT flags, BOOL hint) {
    FreeObjectCache();
    UpdateFontMetrics();
    if (m_pParam && !m_pParam->m_bLockUpdate && oldPercent != GetZoom()) {
        Redraw(flags, FALSE);
    }
    if (auto* hints = HintSender(hint)) {
        hints->HintUpdateZoom(this, oldPercent, flags);
    }
}

void CGXGridCore::UpdateFontMetrics() {
    CalcFontMetrics(m_nCharWidth, m_nLineHeight);
}

void CGXGridCore::CalcFontMetrics(int& charWidth, int& lineHeight) {
    charWidth = 10;
    lineHeight = 15;
    if (!m_pStandardStyle || !m_pStandardStyle->GetIncludeFont() || !m_pGridWnd ||
        !m_pGridWnd->GetSafeHwnd()) {
        return;
    }
    CClientDC dc(m_pGridWnd);
    CGXFont font(m_pStandardStyle->GetFont());
    font.SetSize(font.GetSize() * GetZoom() * 0.01);
    CFont gdiFont;
    gdiFont.CreateFontIndirect(&font.GetLogFont());
    CFont* old = dc.SelectObject(&gdiFont);
    GetFontMetrics(&dc, charWidth, lineHeight);
    dc.SelectObject(old);
}

void CGXGridCore::GetFontMetrics(CDC* dc, int& charWidth, int& lineHeight) {
    TEXTMETRICW tm{};
    dc->GetTextMetrics(&tm);
    lineHeight = tm.tmHeight + tm.tmExternalLeading;
    // The fixed-pitch bit set means a variable-pitch font.
    charWidth = (tm.tmPitchAndFamily & TMPF_FIXED_PITCH) ? tm.tmAveCharWidth * 3 / 2 : tm.tmAveCharWidth;
    lineHeight = std::max(1, lineHeight);
    charWidth = std::max(1, charWidth);
}
