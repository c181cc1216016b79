// The grid's shape: counts, frozen and header rows and columns, the top row and left column, visible
// indices, and inserting and removing rows and columns.
#include "grid/CGXControl.h"
#include "grid/CGXData.h"
#include "grid/CGXGridCore.h"
#include "grid/CGXGridParam.h"
#include "grid/CGXLongOperation.h"
#include "grid/CGXStyle.h"
#include "grid/GridLibraryState.h"
#include "platform/display/InputApi.h"
#include "platform/display/VirtualKeys.h"

#include <algorithm>

namespace {

constexpr UINT kFlagsMask = 7;
constexpr UINT kFlagRepaint = 1;
constexpr UINT kFlagUpdateNow = 2;
constexpr UINT kFlagScroll = 4;

enum ScrollDirection : int { kScrollUp = 1, kScrollLeft = 2, kScrollDown = 3, kScrollRight = 4 };

} // namespace

// ---- Counts

ROWCOL CGXGridCore::GetRowCount() {
    return m_pParam && m_pParam->GetData() ? m_pParam->GetData()->GetRowCount() : 0;
}

ROWCOL CGXGridCore::GetColCount() {
    return m_pParam && m_pParam->GetData() ? m_pParam->GetData()->GetColCount() : 0;
}

BOOL CGXGridCore::SetRowCount(ROWCOL count, UINT flags) {
    const ROWCOL current = GetRowCount();
    if (count < current) {
        return RemoveRows(count + 1, current, flags, kCmdNormal);
    }
    if (count > current) {
        return InsertRows(current + 1, count - current, nullptr, nullptr, nullptr, 0, flags, kCmdNormal);
    }
    return TRUE;
}

BOOL CGXGridCore::SetColCount(ROWCOL count, UINT flags) {
    const ROWCOL current = GetColCount();
    if (count < current) {
        return RemoveCols(count + 1, current, flags, kCmdNormal);
    }
    if (count > current) {
        return InsertCols(current + 1, count - current, nullptr, nullptr, nullptr, 0, flags, kCmdNormal);
    }
    return TRUE;
}

BOOL CGXGridCore::StoreRowCount(ROWCOL count) {
    if (IsStoreRefused() || !m_pParam || !m_pParam->GetData() || !m_pParam->GetData()->SetRowCount(count)) {
        return FALSE;
    }
    SetDocumentModified(TRUE);
    return TRUE;
}

BOOL CGXGridCore::StoreColCount(ROWCOL count) {
    if (IsStoreRefused() || !m_pParam || !m_pParam->GetData() || !m_pParam->GetData()->SetColCount(count)) {
        return FALSE;
    }
    SetDocumentModified(TRUE);
    return TRUE;
}

void CGXGridCore::UpdateChangedRowCount(ROWCOL oldCount, UINT flags, BOOL hint) {
    flags &= kFlagsMask;
    if (m_bCurrentCellValid && m_nCurrentRow > GetRowCount()) {
        SyncCurrentCell(FALSE);
    }
    if (m_pParam && !m_pParam->m_bLockUpdate) {
        const ROWCOL row = std::min(oldCount, GetRowCount());
        if (flags) {
            UpdateScrollbars(FALSE);
        }
        CRect grid;
        GetGridRect(grid);
        if (m_bInitDone && row <= CalcBottomRowFromRect(grid)) {
            CRect below = CalcRectBelowRow(row);
            InvalidateGridRect(&below);
        }
        if (flags & kFlagUpdateNow) {
            UpdateGridWindow();
        }
    }
    if (auto* hints = HintSender(hint)) {
        hints->HintChangedRowCount(this, oldCount, flags);
    }
}

void CGXGridCore::UpdateChangedColCount(ROWCOL oldCount, UINT flags, BOOL hint) {
    flags &= kFlagsMask;
    if (m_bCurrentCellValid && m_nCurrentCol > GetColCount()) {
        SyncCurrentCell(FALSE);
    }
    if (m_pParam && !m_pParam->m_bLockUpdate) {
        const ROWCOL col = std::min(oldCount, GetColCount());
        if (flags) {
            UpdateScrollbars(FALSE);
        }
        CRect grid;
        GetGridRect(grid);
        if (m_bInitDone && col <= CalcRightColFromRect(grid)) {
            CRect right = CalcRectRightOfCol(col);
            InvalidateGridRect(&right);
        }
        if (flags & kFlagUpdateNow) {
            UpdateGridWindow();
        }
    }
    if (auto* hints = HintSender(hint)) {
        hints->HintChangedColCount(this, oldCount, flags);
    }
}

// ---- Frozen and header rows and columns

ROWCOL CGXGridCore::GetFrozenRows() {
    if (!m_pParam || (m_nSplitterRow != 0 && !m_bPrinting)) {
        return 0;
    }
    return m_pParam->m_nFrozenRows;
}

ROWCOL CGXGridCore::GetFrozenCols() {
    if (!m_pParam || (m_nSplitterCol != 0 && !m_bPrinting)) {
        return 0;
    }
    return m_pParam->m_nFrozenCols;
}

ROWCOL CGXGridCore::GetHeaderRows() {
    return m_pParam ? m_pParam->m_nHeaderRows : 0;
}

ROWCOL CGXGridCore::GetHeaderCols() {
    return m_pParam ? m_pParam->m_nHeaderCols : 0;
}

BOOL CGXGridCore::IsFrozenRow(ROWCOL row) {
    return row >= 1 && row <= GetFrozenRows();
}

BOOL CGXGridCore::IsFrozenCol(ROWCOL col) {
    return col >= 1 && col <= GetFrozenCols();
}

BOOL CGXGridCore::StoreFrozenRows(ROWCOL frozen, ROWCOL header) {
    if (!m_pParam || IsStoreRefused()) {
        return FALSE;
    }
    m_pParam->m_nFrozenRows = frozen;
    m_pParam->m_nHeaderRows = header;
    SetDocumentModified(TRUE);
    return TRUE;
}

BOOL CGXGridCore::StoreFrozenCols(ROWCOL frozen, ROWCOL header) {
    if (!m_pParam || IsStoreRefused()) {
        return FALSE;
    }
    m_pParam->m_nFrozenCols = frozen;
    m_pParam->m_nHeaderCols = header;
    SetDocumentModified(TRUE);
    return TRUE;
}

BOOL CGXGridCore::SetFrozenRows(ROWCOL frozen, ROWCOL header, UINT flags, int ctCmd) {
    const ROWCOL oldFrozen = GetFrozenRows();
    const ROWCOL oldHeader = GetHeaderRows();
    if (!StoreFrozenRows(frozen, header)) {
        return FALSE;
    }
    UpdateFrozenRows(oldFrozen, oldHeader, flags, TRUE);
    if (auto* factory = RecordingFactory(ctCmd)) {
        RecordCommand(factory->CreateSetFrozenRowsCmd(oldFrozen, oldHeader), ctCmd);
    }
    return TRUE;
}

BOOL CGXGridCore::SetFrozenCols(ROWCOL frozen, ROWCOL header, UINT flags, int ctCmd) {
    const ROWCOL oldFrozen = GetFrozenCols();
    const ROWCOL oldHeader = GetHeaderCols();
    if (!StoreFrozenCols(frozen, header)) {
        return FALSE;
    }
    UpdateFrozenCols(oldFrozen, oldHeader, flags, TRUE);
    if (auto* factory = RecordingFactory(ctCmd)) {
        RecordCommand(factory->CreateSetFrozenColsCmd(oldFrozen, oldHeader), ctCmd);
    }
    return TRUE;
}

void CGXGridCore::UpdateFrozenRows(ROWCOL oldFrozen, ROWCOL oldHeader, UINT flags, BOOL hint) {
    m_nTopRow = std::max(m_nTopRow, GetFrozenRows() + 1);
    m_nLastVisibleRow = kGridNoRowCol;
    HideCurrentCell();
    if (m_pParam && !m_pParam->m_bLockUpdate) {
        Redraw(flags, FALSE);
    }
    if (auto* hints = HintSender(hint)) {
        hints->HintFrozenRows(this, oldFrozen, oldHeader, flags);
    }
}

void CGXGridCore::UpdateFrozenCols(ROWCOL oldFrozen, ROWCOL oldHeader, UINT flags, BOOL hint) {
    m_nLeftCol = std::max(m_nLeftCol, GetFrozenCols() + 1);
    m_nLastVisibleCol = kGridNoRowCol;
    HideCurrentCell();
    if (m_pParam && !m_pParam->m_bLockUpdate) {
        Redraw(flags, FALSE);
    }
    if (auto* hints = HintSender(hint)) {
        hints->HintFrozenCols(this, oldFrozen, oldHeader, flags);
    }
}

// ---- Top row and left column

void CGXGridCore::SendTopRowHint(ROWCOL row, UINT flags, BOOL hint) {
    if (auto* hints = HintSender(hint)) {
        hints->HintTopRow(this, row, flags);
    }
}

void CGXGridCore::SetTopRow(ROWCOL row, UINT flags, BOOL hint) {
    HideCellTip();
    const ROWCOL count = GetRowCount();
    row = count == 0 ? 1 : std::min(row, count);
    m_nLastVisibleRow = kGridNoRowCol;
    m_nLastVisibleCol = kGridNoRowCol;
    if (m_bPrinting) {
        m_nPrintTopRow = row;
        SendTopRowHint(row, flags, hint);
        return;
    }
    if (m_pParam && m_pParam->m_bLockUpdate) {
        if (CanChangeTopRow(row)) {
            m_nTopRow = row;
            OnTopRowChanged();
            SendTopRowHint(row, flags, hint);
        }
        return;
    }
    row = std::max(row, GetFrozenRows() + 1);
    flags &= kFlagsMask;
    if (!(flags & (kFlagUpdateNow | kFlagScroll))) {
        if (!CanChangeTopRow(row)) {
            return;
        }
        if (row != m_nTopRow) {
            HideCurrentCellForScroll(TRUE);
        }
        m_nTopRow = row;
        if (flags & kFlagRepaint) {
            UpdateScrollbars(FALSE);
            InvalidateGridRect(nullptr);
        }
        OnTopRowChanged();
        SendTopRowHint(row, flags, hint);
        return;
    }
    if (row < m_nTopRow) {
        ScrollCells(kScrollUp, m_nTopRow - row, flags);
    } else if (row > m_nTopRow) {
        ScrollCells(kScrollDown, row - m_nTopRow, flags);
    }
    if (flags & kFlagUpdateNow) {
        UpdateGridWindow();
    }
    SendTopRowHint(row, flags, hint);
}

void CGXGridCore::SendLeftColHint(ROWCOL col, UINT flags, BOOL hint) {
    if (auto* hints = HintSender(hint)) {
        hints->HintLeftCol(this, col, flags);
    }
}

void CGXGridCore::SetLeftCol(ROWCOL col, UINT flags, BOOL hint) {
    HideCellTip();
    const ROWCOL count = GetColCount();
    col = count == 0 ? 1 : std::min(col, count);
    m_nLastVisibleRow = kGridNoRowCol;
    m_nLastVisibleCol = kGridNoRowCol;
    if (m_bPrinting) {
        m_nPrintLeftCol = col;
        SendLeftColHint(col, flags, hint);
        return;
    }
    if (m_pParam && m_pParam->m_bLockUpdate) {
        if (CanChangeLeftCol(col)) {
            m_nLeftCol = col;
            OnLeftColChanged();
            SendLeftColHint(col, flags, hint);
        }
        return;
    }
    col = std::max(col, GetFrozenCols() + 1);
    flags &= kFlagsMask;
    if (!(flags & (kFlagUpdateNow | kFlagScroll))) {
        if (!CanChangeLeftCol(col)) {
            return;
        }
        if (col != m_nLeftCol) {
            HideCurrentCellForScroll(FALSE);
        }
        m_nLeftCol = col;
        if (flags & kFlagRepaint) {
            UpdateScrollbars(FALSE);
            InvalidateGridRect(nullptr);
        }
        OnLeftColChanged();
        SendLeftColHint(col, flags, hint);
        return;
    }
    if (col < m_nLeftCol) {
        ScrollCells(kScrollLeft, m_nLeftCol - col, flags);
    } else if (col > m_nLeftCol) {
        ScrollCells(kScrollRight, col - m_nLeftCol, flags);
    }
    if (flags & kFlagUpdateNow) {
        UpdateGridWindow();
    }
    SendLeftColHint(col, flags, hint);
}

namespace {

// The scroll offset of the first scrollable index: never below 1.
ROWCOL ScrollOffset(ROWCOL first, ROWCOL frozen) {
    return first > frozen + 1 ? first - frozen : 1;
}

ROWCOL ToVisible(ROWCOL index, ROWCOL first, ROWCOL frozen) {
    if (index == kGridNoRowCol || index == 0 || index <= frozen) {
        return index;
    }
    if (index < first) {
        return 0; // scrolled out above or left
    }
    return index - ScrollOffset(first, frozen) + 1;
}

ROWCOL FromVisible(ROWCOL visible, ROWCOL first, ROWCOL frozen) {
    if (visible == kGridNoRowCol || visible <= frozen) {
        return visible;
    }
    return visible + ScrollOffset(first, frozen) - 1;
}

} // namespace

ROWCOL CGXGridCore::GetClientRow(ROWCOL row) {
    return ToVisible(row, GetTopRow(), GetFrozenRows());
}

ROWCOL CGXGridCore::GetRow(ROWCOL visibleIndex) {
    return FromVisible(visibleIndex, GetTopRow(), GetFrozenRows());
}

ROWCOL CGXGridCore::GetClientCol(ROWCOL col) {
    return ToVisible(col, GetLeftCol(), GetFrozenCols());
}

ROWCOL CGXGridCore::GetCol(ROWCOL visibleIndex) {
    return FromVisible(visibleIndex, GetLeftCol(), GetFrozenCols());
}

BOOL CGXGridCore::CanStartDragSelectRows() {
    return !(::GetKeyState(VK_CONTROL) & 0x8000) && !(::GetKeyState(VK_SHIFT) & 0x8000);
}

BOOL CGXGridCore::CanStartDragSelectCols() {
    return CanStartDragSelectRows();
}

// ---- Inserting and removing

namespace {

CGXStyle* StyleAt(const CObArray* array, INT_PTR index) {
    return array && index < array->GetSize() ? static_cast<CGXStyle*>(array->GetAt(index)) : nullptr;
}

// The data object's own undo information may ride one past the cells of a saved array.
CObject* DataUndoExtra(const CObArray* cells, ULONGLONG cellCount) {
    if (!cells || static_cast<ULONGLONG>(cells->GetSize()) <= cellCount) {
        return nullptr;
    }
    return cells->GetAt(static_cast<INT_PTR>(cellCount));
}

} // namespace

BOOL CGXGridCore::InsertRows(ROWCOL row, ROWCOL count, const int* heights, const CObArray* cells,
                             const CObArray* rowStyles, ROWCOL colCount, UINT flags, int ctCmd) {
    CGXLongOperation operation;
    if (!TransferCurrentCell(TRUE, 2, TRUE)) {
        return FALSE;
    }
    CGXExcelLikeFrameLock frameLock(this);
    BOOL recalc = FALSE;
    CObject* extra = DataUndoExtra(cells, static_cast<ULONGLONG>(count) * colCount);
    if (extra) {
        recalc = ApplyDataUndoInfo(extra, ctCmd != kCmdRollback, TRUE);
    }
    const BOOL oldMode = SetDataUndoMode(m_pParam && m_pParam->m_bUndoEnabled && ctCmd != kCmdRollback);
    const BOOL stored = StoreInsertRows(row, count, FALSE);
    SetDataUndoMode(oldMode);
    if (!stored) {
        return FALSE;
    }
    if (extra) {
        recalc |= ApplyDataUndoInfo(extra, FALSE, TRUE);
    }
    if (heights) {
        for (ROWCOL i = 0; i < count; ++i) {
            StoreRowHeight(row + i, heights[i]);
        }
    }
    if (cells) {
        for (ROWCOL i = 0; i < count; ++i) {
            for (ROWCOL j = 0; j < colCount; ++j) {
                if (CGXStyle* style = StyleAt(cells, static_cast<INT_PTR>(i) * colCount + j)) {
                    StoreStyleRowCol(row + i, j, style, kMergeCopy, 0);
                }
            }
        }
    }
    if (rowStyles) {
        for (ROWCOL i = 0; i < count; ++i) {
            if (CGXStyle* style = StyleAt(rowStyles, i)) {
                StoreStyleRowCol(row + i, 0, style, kMergeCopy, -1);
            }
        }
    }
    UpdateInsertRows(row, count, flags, TRUE);
    if (auto* factory = RecordingFactory(ctCmd)) {
        RecordCommand(factory->CreateRemoveRowsCmd(row, row + count - 1), ctCmd);
        if (ctCmd == kCmdUndo || ctCmd == kCmdRedo) {
            SetAdvancedUndoCell(row, GetLeftCol(), TRUE);
        }
    }
    if (recalc) {
        Recalc(TRUE, nullptr, TRUE);
    }
    return TRUE;
}

BOOL CGXGridCore::InsertCols(ROWCOL col, ROWCOL count, const int* widths, const CObArray* cells,
                             const CObArray* colStyles, ROWCOL rowCount, UINT flags, int ctCmd) {
    CGXLongOperation operation;
    if (!TransferCurrentCell(TRUE, 2, TRUE)) {
        return FALSE;
    }
    CGXExcelLikeFrameLock frameLock(this);
    BOOL recalc = FALSE;
    CObject* extra = DataUndoExtra(cells, static_cast<ULONGLONG>(count) * rowCount);
    if (extra) {
        recalc = ApplyDataUndoInfo(extra, ctCmd != kCmdRollback, TRUE);
    }
    const BOOL oldMode = SetDataUndoMode(m_pParam && m_pParam->m_bUndoEnabled && ctCmd != kCmdRollback);
    const BOOL stored = StoreInsertCols(col, count, FALSE);
    SetDataUndoMode(oldMode);
    if (!stored) {
        return FALSE;
    }
    if (extra) {
        recalc |= ApplyDataUndoInfo(extra, FALSE, TRUE);
    }
    if (widths) {
        for (ROWCOL i = 0; i < count; ++i) {
            StoreColWidth(col + i, widths[i]);
        }
    }
    if (cells) {
        for (ROWCOL j = 0; j < rowCount; ++j) {
            for (ROWCOL i = 0; i < count; ++i) {
                if (CGXStyle* style = StyleAt(cells, static_cast<INT_PTR>(j) * count + i)) {
                    StoreStyleRowCol(j, col + i, style, kMergeCopy, 0);
                }
            }
        }
    }
    if (colStyles) {
        for (ROWCOL i = 0; i < count; ++i) {
            if (CGXStyle* style = StyleAt(colStyles, i)) {
                StoreStyleRowCol(0, col + i, style, kMergeCopy, -1);
            }
        }
    }
    UpdateInsertCols(col, count, flags, TRUE);
    if (auto* factory = RecordingFactory(ctCmd)) {
        RecordCommand(factory->CreateRemoveColsCmd(col, col + count - 1), ctCmd);
        if (ctCmd == kCmdUndo || ctCmd == kCmdRedo) {
            SetAdvancedUndoCell(GetTopRow(), col, TRUE);
        }
    }
    if (recalc) {
        Recalc(TRUE, nullptr, TRUE);
    }
    return TRUE;
}

BOOL CGXGridCore::StoreInsertRows(ROWCOL row, ROWCOL count, BOOL force) {
    if (!m_pParam || IsStoreRefused()) {
        return FALSE;
    }
    CGXData* data = m_pParam->GetData();
    if (!(data && data->InsertRows(row, count)) && !force) {
        return FALSE;
    }
    SetDocumentModified(TRUE);
    if (auto* hidden = static_cast<CGXAbstractGridHideCellsImp*>(m_features[kFeatureHideCells])) {
        hidden->InsertRows(this, row, count);
    }
    m_pParam->m_rowHeights.InsertKeys(row, count);
    m_pParam->m_selectedRanges.InsertRows(row, count);
    m_pParam->m_coveredRanges.InsertRows(row, count);
    m_pParam->RebuildCoveredCellPool();
    return TRUE;
}

BOOL CGXGridCore::StoreInsertCols(ROWCOL col, ROWCOL count, BOOL force) {
    if (!m_pParam || IsStoreRefused()) {
        return FALSE;
    }
    CGXData* data = m_pParam->GetData();
    if (!(data && data->InsertCols(col, count)) && !force) {
        return FALSE;
    }
    SetDocumentModified(TRUE);
    if (auto* hidden = static_cast<CGXAbstractGridHideCellsImp*>(m_features[kFeatureHideCells])) {
        hidden->InsertCols(this, col, count);
    }
    m_pParam->m_colWidths.InsertKeys(col, count);
    m_pParam->m_selectedRanges.InsertCols(col, count);
    m_pParam->m_coveredRanges.InsertCols(col, count);
    m_pParam->RebuildCoveredCellPool();
    return TRUE;
}

void CGXGridCore::ShiftCurrentCell(ROWCOL& index, ROWCOL from, ROWCOL to, BOOL inserted, ROWCOL count) {
    if (!m_bCurrentCellValid || index < from) {
        return;
    }
    CGXControl* control = m_pCurrentCellControl;
    const BOOL bound = control && control->IsBoundTo(m_nCurrentRow, m_nCurrentCol);
    if (inserted) {
        index += count;
    } else if (index <= to) {
        // The rows or columns that held it are gone: no current cell.
        if (bound) {
            control->ResetCell();
        }
        m_bCurrentCellValid = FALSE;
        m_pCurrentCellControl = nullptr;
        return;
    } else {
        index -= count;
    }
    if (bound) {
        control->InitCell(m_nCurrentRow, m_nCurrentCol);
    }
}

void CGXGridCore::RedrawWithScrollbarsLocked(UINT flags) {
    const BOOL locked = m_bLockScrollbars;
    m_bLockScrollbars = TRUE;
    Redraw(flags, FALSE);
    m_bLockScrollbars = locked;
}

void CGXGridCore::UpdateInsertRows(ROWCOL row, ROWCOL count, UINT flags, BOOL hint) {
    m_nLastVisibleRow = kGridNoRowCol;
    ShiftCurrentCell(m_nCurrentRow, row, kGridNoRowCol, TRUE, count);
    if (m_nTopRow == GetFrozenRows()) {
        m_nTopRow = GetFrozenRows() + 1;
    }
    m_nScrollWord = 0;
    if (!m_pParam->m_bLockUpdate) {
        RedrawWithScrollbarsLocked(flags);
        if (flags & (kFlagUpdateNow | kFlagScroll)) {
            UpdateScrollbars(FALSE);
        }
    }
    if (auto* hints = HintSender(hint)) {
        hints->HintInsertRows(this, row, count, flags);
    }
}

void CGXGridCore::UpdateInsertCols(ROWCOL col, ROWCOL count, UINT flags, BOOL hint) {
    m_nLastVisibleCol = kGridNoRowCol;
    ShiftCurrentCell(m_nCurrentCol, col, kGridNoRowCol, TRUE, count);
    if (m_nLeftCol == GetFrozenCols()) {
        m_nLeftCol = GetFrozenCols() + 1;
    }
    m_nScrollWord = 0;
    if (!m_pParam->m_bLockUpdate) {
        RedrawWithScrollbarsLocked(flags);
        if (flags & (kFlagUpdateNow | kFlagScroll)) {
            UpdateScrollbars(FALSE);
        }
    }
    if (auto* hints = HintSender(hint)) {
        hints->HintInsertCols(this, col, count, flags);
    }
}

// Answers FALSE when nothing was removed: a refused store is no success.
BOOL CGXGridCore::RemoveRows(ROWCOL from, ROWCOL to, UINT flags, int ctCmd) {
    if (from > to || !TransferCurrentCell(TRUE, 2, TRUE)) {
        return FALSE;
    }
    CGXExcelLikeFrameLock frameLock(this);
    GridLibraryState& library = GridLibraryState::Instance();
    CGXLongOperation operation;
    operation.SetStatusText(library.GetText(kTextUndoInfo), FALSE);
    const ROWCOL count = to - from + 1;
    const ROWCOL colCount = GetColCount() + 1;
    CObArray* cells = nullptr;
    CObArray* rowStyles = nullptr;
    CGXAbstractCommandFactory* factory = RecordingFactory(ctCmd);
    if (factory && !factory->StoreRemoveRowsUndoInfo(this, from, count, colCount, cells, rowStyles, operation)) {
        return FALSE;
    }
    const BOOL transaction = ctCmd == kCmdNormal;
    if (transaction) {
        BeginTrans(library.GetText(kTextRemovingRows));
    }
    if (auto* covered = static_cast<CGXAbstractGridCoveredCellsImp*>(m_features[kFeatureCoveredCells])) {
        covered->RemoveCoveredRows(this, from, to, flags, ctCmd);
    }
    operation.SetStatusText(library.GetText(kTextRemovingRows), FALSE);
    // The heights go with the command, so that undoing gives the rows back their sizes.
    std::vector<int> heights;
    if (factory) {
        GetRowHeights(from, to, heights);
    }
    const BOOL oldMode = SetDataUndoMode(factory != nullptr);
    const BOOL removed = StoreRemoveRows(from, to, FALSE);
    SetDataUndoMode(oldMode);
    if (removed) {
        UpdateRemoveRows(from, to, flags, TRUE);
        if (factory) {
            RecordCommand(factory->CreateInsertRowsCmd(from, count, std::move(heights), cells, rowStyles, colCount),
                          ctCmd);
            cells = rowStyles = nullptr;
            if (ctCmd == kCmdUndo || ctCmd == kCmdRedo) {
                SetAdvancedUndoCell(from, GetLeftCol(), TRUE);
            }
        }
        m_pParam->m_selectedRanges.DeleteAll();
    }
    DeleteStyleArray(cells);
    DeleteStyleArray(rowStyles);
    if (transaction) {
        CommitTrans();
    }
    return removed;
}

BOOL CGXGridCore::RemoveCols(ROWCOL from, ROWCOL to, UINT flags, int ctCmd) {
    if (from > to || !TransferCurrentCell(TRUE, 2, TRUE)) {
        return FALSE;
    }
    CGXExcelLikeFrameLock frameLock(this);
    GridLibraryState& library = GridLibraryState::Instance();
    CGXLongOperation operation;
    operation.SetStatusText(library.GetText(kTextUndoInfo), FALSE);
    const ROWCOL count = to - from + 1;
    const ROWCOL rowCount = GetRowCount() + 1;
    CObArray* cells = nullptr;
    CObArray* colStyles = nullptr;
    CGXAbstractCommandFactory* factory = RecordingFactory(ctCmd);
    if (factory && !factory->StoreRemoveColsUndoInfo(this, from, count, rowCount, cells, colStyles, operation)) {
        return FALSE;
    }
    // The covered blocks' adjustments and the removal are one undo step, as for rows.
    const BOOL transaction = ctCmd == kCmdNormal;
    if (transaction) {
        BeginTrans(library.GetText(kTextRemovingColumns));
    }
    if (auto* covered = static_cast<CGXAbstractGridCoveredCellsImp*>(m_features[kFeatureCoveredCells])) {
        covered->RemoveCoveredCols(this, from, to, flags, ctCmd);
    }
    operation.SetStatusText(library.GetText(kTextRemovingColumns), FALSE);
    std::vector<int> widths;
    if (factory) {
        GetColWidths(from, to, widths);
    }
    const BOOL oldMode = SetDataUndoMode(factory != nullptr);
    const BOOL removed = StoreRemoveCols(from, to, FALSE);
    SetDataUndoMode(oldMode);
    if (removed) {
        UpdateRemoveCols(from, to, flags, TRUE);
        if (factory) {
            RecordCommand(factory->CreateInsertColsCmd(from, count, std::move(widths), cells, colStyles, rowCount),
                          ctCmd);
            cells = colStyles = nullptr;
            if (ctCmd == kCmdUndo || ctCmd == kCmdRedo) {
                SetAdvancedUndoCell(GetTopRow(), from, TRUE);
            }
        }
        m_pParam->m_selectedRanges.DeleteAll();
    }
    DeleteStyleArray(cells);
    DeleteStyleArray(colStyles);
    if (transaction) {
        CommitTrans();
    }
    return removed;
}

BOOL CGXGridCore::StoreRemoveRows(ROWCOL from, ROWCOL to, BOOL force) {
    if (!m_pParam || IsStoreRefused()) {
        return FALSE;
    }
    CGXData* data = m_pParam->GetData();
    if (!(data && data->RemoveRows(from, to)) && !force) {
        return FALSE;
    }
    SetDocumentModified(TRUE);
    if (auto* hidden = static_cast<CGXAbstractGridHideCellsImp*>(m_features[kFeatureHideCells])) {
        hidden->RemoveRows(this, from, to);
    }
    m_pParam->m_rowHeights.RemoveKeys(from, to);
    m_pParam->m_selectedRanges.RemoveRows(from, to, GetRowCount());
    m_pParam->m_coveredRanges.RemoveRows(from, to, GetRowCount());
    m_pParam->RebuildCoveredCellPool();
    return TRUE;
}

BOOL CGXGridCore::StoreRemoveCols(ROWCOL from, ROWCOL to, BOOL force) {
    if (!m_pParam || IsStoreRefused()) {
        return FALSE;
    }
    CGXData* data = m_pParam->GetData();
    if (!(data && data->RemoveCols(from, to)) && !force) {
        return FALSE;
    }
    SetDocumentModified(TRUE);
    if (auto* hidden = static_cast<CGXAbstractGridHideCellsImp*>(m_features[kFeatureHideCells])) {
        hidden->RemoveCols(this, from, to);
    }
    m_pParam->m_colWidths.RemoveKeys(from, to);
    m_pParam->m_selectedRanges.RemoveCols(from, to, GetColCount());
    m_pParam->m_coveredRanges.RemoveCols(from, to, GetColCount());
    m_pParam->RebuildCoveredCellPool();
    return TRUE;
}

void CGXGridCore::UpdateRemoveRows(ROWCOL from, ROWCOL to, UINT flags, BOOL hint) {
    m_nLastVisibleRow = kGridNoRowCol;
    ShiftCurrentCell(m_nCurrentRow, from, to, FALSE, to - from + 1);
    m_nScrollWord = 0;
    if (!m_pParam->m_bLockUpdate) {
        RedrawWithScrollbarsLocked(flags);
        if (flags) {
            UpdateScrollbars(!(flags & kFlagUpdateNow));
        }
    }
    if (auto* hints = HintSender(hint)) {
        hints->HintRemoveRows(this, from, to, flags);
    }
}

void CGXGridCore::UpdateRemoveCols(ROWCOL from, ROWCOL to, UINT flags, BOOL hint) {
    m_nLastVisibleCol = kGridNoRowCol;
    ShiftCurrentCell(m_nCurrentCol, from, to, FALSE, to - from + 1);
    m_nScrollWord = 0;
    if (!m_pParam->m_bLockUpdate) {
        RedrawWithScrollbarsLocked(flags);
        if (flags) {
            UpdateScrollbars(!(flags & kFlagUpdateNow));
        }
    }
    if (auto* hints = HintSender(hint)) {
        hints->HintRemoveCols(this, from, to, flags);
    }
}
