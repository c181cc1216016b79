#include "grid/CGXGridClearCellsImp.h"

#include "grid/CGXControl.h"
#include "grid/CGXGridCore.h"
#include "grid/CGXGridParam.h"
#include "grid/CGXLongOperation.h"
#include "grid/CGXRangeList.h"
#include "grid/CGXStyle.h"
#include "grid/GridLibraryState.h"

#include <algorithm>

void CGXGridCore::InstallClearCells() {
    InstallFeature<CGXGridClearCellsImp>(kFeatureClearCells);
}

BOOL CGXGridClearCellsImp::CanClear(CGXGridCore* grid) {
    if (grid->IsReadOnly()) {
        return FALSE;
    }
    CGXRangeList selected;
    return grid->GetSelectedRangeList(selected, TRUE);
}

BOOL CGXGridClearCellsImp::Clear(CGXGridCore* grid, BOOL styleOnly) {
    CGXLongOperation operation;
    CGXRangeList selected;
    if (!grid->GetSelectedRangeList(selected, TRUE)) {
        return FALSE;
    }
    return grid->ClearCells(selected, styleOnly);
}

BOOL CGXGridClearCellsImp::ClearValue(CGXGridCore* grid, ROWCOL row, ROWCOL col) {
    CGXStyle* style = grid->CreateStyle();
    grid->ComposeStyleRowCol(row, col, *style, TRUE);
    BOOL cleared = TRUE;
    CGXControl* control = grid->GetRegisteredControl(style->GetControlId());
    CString shown;
    // A cell that shows nothing is left alone; the control stores the empty text as it would a typed one.
    if (control && control->ValueToDisplayText(shown, row, col, nullptr, *style) && !shown.IsEmpty()) {
        cleared = control->StoreDisplayText(row, col, CString(), 1, style);
    }
    grid->RecycleStyle(style);
    return cleared;
}

BOOL CGXGridClearCellsImp::ClearBlock(CGXGridCore* grid, const CGXRange& block, BOOL styleOnly) {
    if (styleOnly) {
        return grid->SetStyleRange(block, nullptr, kMergeExclude, 0, nullptr, 2);
    }
    for (ROWCOL row = block.top; row <= block.bottom; ++row) {
        for (ROWCOL col = block.left; col <= block.right; ++col) {
            if (!ClearValue(grid, row, col)) {
                return FALSE;
            }
        }
    }
    grid->RedrawRowCol(block.top, block.left, block.bottom, block.right, 1, TRUE);
    return TRUE;
}

BOOL CGXGridClearCellsImp::ClearCells(CGXGridCore* grid, const CGXRangeList& ranges, BOOL styleOnly) {
    const CString& name = GridLibraryState::Instance().GetText(kTextClearCells);
    grid->BeginTrans(name);
    CGXLongOperation operation;
    operation.SetStatusText(name, FALSE);

    const ROWCOL firstRow = grid->GetHeaderRows() + 1;
    const ROWCOL firstCol = grid->GetHeaderCols() + 1;
    const ROWCOL rowCount = grid->GetRowCount();
    const ROWCOL colCount = grid->GetColCount();
    BOOL failed = FALSE;
    // Range by range rather than every row interval with every column interval of the list: two ranges
    // side by side must not clear the cells between them.
    for (POSITION position = ranges.GetHeadPosition(); position && !failed;) {
        const CGXRange* range = ranges.GetNextRange(position);
        if (!range->IsValid()) {
            continue;
        }
        CGXRange block(*range);
        block.ExpandToCells(firstRow, firstCol, rowCount, colCount);
        block.top = std::max(block.top, firstRow);
        block.left = std::max(block.left, firstCol);
        block.bottom = std::min(block.bottom, rowCount);
        block.right = std::min(block.right, colCount);
        if (block.top > block.bottom || block.left > block.right) {
            continue;
        }
        BOOL aborted = FALSE;
        failed = !ClearBlock(grid, block, styleOnly) || (operation.CheckAbort(aborted) && aborted);
    }
    if (failed) {
        if (GetLongOperationState().canRollback) {
            grid->Rollback();
        } else {
            grid->CommitTrans();
        }
        return FALSE;
    }
    grid->CommitTrans();
    return TRUE;
}
