// Scrolling the cells and keeping the scroll bars in step with the top row and left column.
#include "grid/CGXGridCore.h"
#include "grid/CGXGridParam.h"

#include <algorithm>

void CGXGridCore::UpdateScrollbars(BOOL, BOOL) {}

void CGXGridCore::ScrollCells(int direction, ROWCOL count, UINT) {
    switch (direction) {
    case 1:
        m_nTopRow = std::max(GetFrozenRows() + 1, m_nTopRow > count ? m_nTopRow - count : 1);
        break;
    case 3:
        m_nTopRow += count;
        break;
    case 2:
        m_nLeftCol = std::max(GetFrozenCols() + 1, m_nLeftCol > count ? m_nLeftCol - count : 1);
        break;
    default:
        m_nLeftCol += count;
        break;
    }
    m_nLastVisibleRow = m_nLastVisibleCol = kGridNoRowCol;
    InvalidateGridRect(nullptr);
}

void CGXGridCore::SetScrollBarMode(int bar, int mode, BOOL redraw) {
    if (bar == SB_VERT || bar == SB_BOTH) {
        m_nVScrollMode = mode;
    }
    if (bar == SB_HORZ || bar == SB_BOTH) {
        m_nHScrollMode = mode;
    }
    if (redraw && m_bInitDone) {
        UpdateScrollbars(TRUE);
    }
}

BOOL CGXGridCore::ScrollCellInView(ROWCOL row, ROWCOL col, UINT flags, BOOL) {
    const ROWCOL frozenRows = GetFrozenRows();
    const ROWCOL frozenCols = GetFrozenCols();
    CGXRange covered;
    if (GetCoveredCellsRowCol(row, col, covered)) {
        if (covered.bottom > frozenRows && row < frozenRows + 1) {
            row = frozenRows + 1;
        }
        if (covered.right > frozenCols && col < frozenCols + 1) {
            col = frozenCols + 1;
        }
    }
    CRect grid;
    GetGridRect(grid);
    const ROWCOL bottom = CalcBottomRowFromRect(grid);
    const ROWCOL right = CalcRightColFromRect(grid);
    BOOL scrolled = FALSE;

    if (row > frozenRows && row < m_nTopRow) {
        SetTopRow(row, flags, TRUE);
        scrolled = TRUE;
    } else if (row > m_nTopRow && row >= bottom &&
               (bottom != GetRowCount() || CalcClientRowTop(GetClientRow(bottom) + 1) > grid.bottom)) {
        int sum = GetRowHeight(row) + GetRowHeight(0) + CalcSumOfRowHeights(1, frozenRows);
        ROWCOL top = row;
        while (sum < grid.Height() && top > 1) {
            --top;
            sum += GetRowHeight(top);
        }
        if (sum >= grid.Height() && top < row) {
            ++top;
        }
        SetTopRow(std::min(top, GetRowCount()), flags, TRUE);
        scrolled = TRUE;
    }
    if (col > frozenCols && col < m_nLeftCol) {
        SetLeftCol(col, flags, TRUE);
        scrolled = TRUE;
    } else if (col > m_nLeftCol && col >= right &&
               (right != GetColCount() || CalcClientColLeft(GetClientCol(right) + 1) > grid.right)) {
        int sum = GetColWidth(col) + GetColWidth(0) + CalcSumOfColWidths(1, frozenCols);
        ROWCOL left = col;
        while (sum < grid.Width() && left > 1) {
            --left;
            sum += GetColWidth(left);
        }
        if (sum >= grid.Width() && left < col) {
            ++left;
        }
        SetLeftCol(std::min(left, GetColCount()), flags, TRUE);
        scrolled = TRUE;
    }
    if (flags & 0x06) {
        UpdateGridWindow();
    }
    return scrolled;
}
