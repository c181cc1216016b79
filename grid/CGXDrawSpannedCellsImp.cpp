#include "grid/CGXDrawSpannedCellsImp.h"

#include "grid/CGXControl.h"
#include "grid/CGXGridCore.h"
#include "grid/CGXGridParam.h"
#include "grid/CGXRange.h"
#include "grid/CGXStyle.h"
#include "grid/GridDrawTable.h"
#include "platform/framework/CDC.h"

#include <algorithm>

namespace {

enum Side : int { kLeft = 0, kRight = 1, kTop = 2, kBottom = 3 };

// The range holding the cell and whether it is a covered one. While the cell is the active current cell,
// a merged or floated range counts only from its first column (row-wise, floated) or first row.
BOOL FindSpan(CGXGridCore* grid, ROWCOL row, ROWCOL col, CGXRange& range, BOOL& covered) {
    covered = grid->GetCoveredCellsRowCol(row, col, range) != nullptr;
    if (covered) {
        return TRUE;
    }
    const BOOL activeCurrent = grid->IsCurrentCell(row, col) && grid->IsActiveCurrentCell();
    if (grid->GetMergedCellsRowCol(row, col, range, 0) || grid->GetFloatedCellsRowCol(row, col, range)) {
        return !activeCurrent || range.left == col;
    }
    if (grid->GetMergedCellsRowCol(row, col, range, 1)) {
        return !activeCurrent || range.top == row;
    }
    return FALSE;
}

// The last table index from `first` on whose grid index lies inside [low, high].
ROWCOL LastInside(const std::vector<ROWCOL>& indexes, ROWCOL count, ROWCOL first, ROWCOL low, ROWCOL high) {
    ROWCOL last = first;
    while (last + 1 < count && indexes[last + 1] >= low && indexes[last + 1] <= high) {
        ++last;
    }
    return last;
}

} // namespace

void CGXGridCore::InstallDrawSpannedCells() {
    InstallFeature<CGXDrawSpannedCellsImp>(kFeatureDrawSpannedCells);
}

BOOL CGXDrawSpannedCellsImp::PrepareSpannedCell(CGXGridCore* grid, GridDrawTable& t, ROWCOL i, ROWCOL j) {
    CGXRange range;
    BOOL covered = FALSE;
    if (!FindSpan(grid, t.gridRows[i], t.gridCols[j], range, covered)) {
        return FALSE;
    }
    const size_t first = t.Cell(i, j);
    if (!t.styles[first]) {
        t.styles[first] = &grid->LookupStyleRowCol(range.top, range.left);
    }
    const CGXStyle* style = t.styles[first];
    const ROWCOL lastI = LastInside(t.gridRows, t.rows, i, range.top, range.bottom);
    const ROWCOL lastJ = LastInside(t.gridCols, t.cols, j, range.left, range.right);

    const BOOL atRightBottom = grid->GetParam()->m_bGridLinesAtRightBottom;
    const BOOL bordersRight = style->HasBorder(kRight);
    const BOOL bordersBottom = style->HasBorder(kBottom);
    const BOOL bordersLeft = style->HasBorder(kLeft);
    const BOOL bordersTop = style->HasBorder(kTop);
    const BOOL frozenColsEdge = range.right > grid->GetHeaderCols() && range.right == grid->GetFrozenCols();
    const BOOL frozenRowsEdge = range.bottom > grid->GetHeaderRows() && range.bottom == grid->GetFrozenRows();
    for (ROWCOL ii = i; ii <= lastI; ++ii) {
        for (ROWCOL jj = j; jj <= lastJ; ++jj) {
            const size_t cell = t.Cell(ii, jj);
            const ROWCOL row = t.gridRows[ii];
            const ROWCOL col = t.gridCols[jj];
            WORD flags = kCellSpanned;
            if (cell != first) {
                if (!covered && grid->IsCurrentCell(row, col) && grid->IsActiveCurrentCell()) {
                    continue; // the active current cell inside a merged or floated range draws itself
                }
                t.styles[cell] = style;
                flags |= kCellSpanDrawnElsewhere | (covered ? kCellSpanCovered : 0);
            }
            if (atRightBottom) {
                if (col == range.right) {
                    flags |= bordersRight ? kCellBorderRight : kCellVertLine;
                }
                if (row == range.bottom) {
                    flags |= bordersBottom ? kCellBorderBottom : kCellHorzLine;
                }
            } else {
                if (col == range.left) {
                    flags |= bordersLeft ? kCellBorderLeft : kCellVertLine;
                }
                if (row == range.top) {
                    flags |= bordersTop ? kCellBorderTop : kCellHorzLine;
                }
            }
            if (frozenColsEdge && col == range.right && !bordersRight) {
                flags |= kCellFrozenColsEdge;
            }
            if (frozenRowsEdge && row == range.bottom && !bordersBottom) {
                flags |= kCellFrozenRowsEdge;
            }
            t.flags[cell] = flags;
        }
    }
    t.spansPresent = TRUE;
    if (t.keepColours) {
        t.flags[first] |= kCellOwnBackground;
    }
    return TRUE;
}

BOOL CGXDrawSpannedCellsImp::DrawSpannedCell(CGXGridCore* grid, GridDrawTable& t, ROWCOL i, ROWCOL j) {
    const size_t cell = t.Cell(i, j);
    const WORD flags = t.flags[cell];
    if (!t.styles[cell]) {
        return FALSE;
    }
    const ROWCOL row = t.gridRows[i];
    const ROWCOL col = t.gridCols[j];
    if (flags & kCellSpanDrawnElsewhere) {
        const CRect rect = t.CellRect(i, j);
        if (!(flags & kCellSpanCovered) && !rect.IsRectEmpty() && grid->IsCurrentCell(row, col)) {
            CGXControl* control = grid->GetRegisteredControl(t.styles[cell]->GetControlId());
            if (control && !control->IsActive()) {
                if (control->IsBoundTo(row, col)) {
                    t.currentControl = control;
                }
                t.currentFrame = grid->SubtractBorders(rect, *t.styles[cell], TRUE);
            }
        }
        return TRUE;
    }
    if (!(flags & kCellSpanned)) {
        return FALSE;
    }
    CGXRange range;
    if (!grid->GetSpannedRangeRowCol(row, col, range)) {
        return FALSE;
    }
    CGXRange coveredRange;
    const BOOL covered = grid->GetCoveredCellsRowCol(row, col, coveredRange) != nullptr;
    const CGXStyle& style = grid->LookupStyleRowCol(range.top, range.left);
    CGXControl* control = nullptr;
    if (grid->IsCurrentCell(row, col) || (covered && grid->IsCurrentCell(range.top, range.left))) {
        control = grid->GetRegisteredControl(style.GetControlId());
    }

    // The four pane parts: frozen or scrolling rows by frozen or scrolling columns.
    const ROWCOL frozenRows = grid->GetFrozenRows();
    const ROWCOL frozenCols = grid->GetFrozenCols();
    const ROWCOL topRow = grid->GetTopRow();
    const ROWCOL leftCol = grid->GetLeftCol();
    const ROWCOL rowBands[2][2] = {{range.top, std::min(range.bottom, frozenRows)},
                                   {std::max(range.top, topRow), range.bottom}};
    const ROWCOL colBands[2][2] = {{range.left, std::min(range.right, frozenCols)},
                                   {std::max(range.left, leftCol), range.right}};
    CDC* dc = t.dc;
    BOOL frameDrawn = FALSE;
    const BOOL limitRows = grid->m_bLimitRowHeight;
    const BOOL limitCols = grid->m_bLimitColWidth;
    try {
        for (const auto& rows : rowBands) {
            for (const auto& cols : colBands) {
                if (rows[0] > rows[1] || cols[0] > cols[1] || rows[1] < row || cols[1] < col) {
                    continue;
                }
                grid->m_bLimitRowHeight = FALSE;
                grid->m_bLimitColWidth = FALSE;
                const CRect rect = grid->ComputeCellRangeRect(rows[0], cols[0], rows[1], cols[1]);
                CRect drawing = rect;
                if (rows[0] > range.top) {
                    drawing.top -= grid->CalcSumOfRowHeights(range.top, rows[0] - 1);
                }
                if (rows[1] < range.bottom) {
                    drawing.bottom += grid->CalcSumOfRowHeights(rows[1] + 1, range.bottom);
                }
                if (cols[0] > range.left) {
                    drawing.left -= grid->CalcSumOfColWidths(range.left, cols[0] - 1);
                }
                if (cols[1] < range.right) {
                    drawing.right += grid->CalcSumOfColWidths(cols[1] + 1, range.right);
                }
                grid->m_bLimitRowHeight = limitRows;
                grid->m_bLimitColWidth = limitCols;
                if (rect.IsRectEmpty()) {
                    continue;
                }
                const BOOL clip = drawing != rect;
                int saved = 0;
                if (clip) {
                    saved = dc->SaveDC();
                    dc->IntersectClipRect(&rect);
                }
                grid->SetDrawCellBackground(TRUE);
                grid->DrawCellControl(dc, range.top, range.left, drawing, style);
                grid->SetDrawCellBackground(FALSE);
                if (style.HasBorder(kTop) || style.HasBorder(kBottom) || style.HasBorder(kLeft) ||
                    style.HasBorder(kRight)) {
                    grid->DrawCellBorders(dc, drawing, style);
                }
                if (control && !control->IsActive() && (!frameDrawn || covered)) {
                    const CRect frame = grid->SubtractBorders(covered ? drawing : t.CellRect(i, j), style, TRUE);
                    if (!frame.IsRectEmpty()) {
                        control->DrawCurrentCellFrame(dc, frame);
                        frameDrawn = TRUE;
                    }
                }
                if (clip) {
                    dc->RestoreDC(saved);
                }
            }
        }
    } catch (...) {
        grid->m_bLimitRowHeight = limitRows;
        grid->m_bLimitColWidth = limitCols;
        grid->SetDrawCellBackground(FALSE);
        throw;
    }
    return TRUE;
}

BOOL CGXDrawSpannedCellsImp::EvaluateSpansForDrawing(CGXGridCore* grid, const CGXRange& range,
                                                     ROWCOL lastFrozenRow, ROWCOL lastFrozenCol, ROWCOL topRow,
                                                     ROWCOL leftCol, ROWCOL lastRow, ROWCOL lastCol, BOOL a,
                                                     CGXRange* b, UINT c) {
    CGXRange cells(range);
    cells.ExpandToCells(0, 0, grid->GetRowCount(), grid->GetColCount());
    cells.bottom = std::min(cells.bottom, grid->GetRowCount());
    cells.right = std::min(cells.right, grid->GetColCount());
    const CGXRange panes[4] = {CGXRange(0, 0, lastFrozenRow, lastFrozenCol),
                               CGXRange(0, leftCol, lastFrozenRow, lastCol),
                               CGXRange(topRow, 0, lastRow, lastFrozenCol),
                               CGXRange(topRow, leftCol, lastRow, lastCol)};
    CGXRange parts[4];
    BOOL present[4] = {};
    for (int k = 0; k < 4; ++k) {
        present[k] = parts[k].IntersectRanges(cells, panes[k]);
    }
    BOOL changed = FALSE;
    for (int k = 0; k < 4; ++k) {
        if (present[k]) {
            changed |= grid->EvalMergeCells(parts[k], a, b, c);
        }
    }
    for (int k = 0; k < 4; ++k) {
        if (present[k]) {
            changed |= grid->EvalFloatCells(parts[k], a, b, c);
        }
    }
    return changed;
}
