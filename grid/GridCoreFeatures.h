// The per-grid feature objects: the grid keeps one table of them, filled by the control factory when the
// grid is made, and forwards to an entry only when it is set (an empty entry answers 0). Only the
// interfaces the engine calls are declared here; the features themselves live in the feature libraries.
#pragma once

#include "grid/GridDefs.h"
#include "grid/GridFeatureInterfaces.h"
#include "platform/base/CRect.h"
#include "platform/base/CString.h"
#include "platform/base/CollectionTemplates.h"
#include "platform/base/Win32Types.h"

#include <vector>

class CCmdUI;
class CDC;
class CGXControl;
class CGXGridCore;
class CGXLongOperation;
class CGXStyle;
struct GridDrawTable;
class CGXRange;
class CGXRangeList;
class CObArray;
class CObject;

// Entries of the per-grid feature table.
enum GridFeatureEntry : int {
    kFeaturePrint = 1,
    kFeatureSort = 2,
    kFeatureOldDrawing = 3,
    kFeatureCoveredCells = 4,
    kFeatureDrawSpannedCells = 5,
    kFeatureFloatCells = 6,
    kFeatureMergeCells = 7,
    kFeatureUndoRedo = 8,
    kFeatureCalcSize = 9,
    kFeatureUpdateHint = 10,
    kFeatureResizeToFit = 11,
    kFeatureHideCells = 12,
    kFeatureFindReplace = 13,
    kFeatureUserSelectRange = 14,
    kFeatureExcelLikeFrame = 15,
    kFeatureExcelLikeFill = 16,
    kFeatureUserDragSelectRange = 17,
    kFeatureMoveRowsCols = 18,
    kFeatureUserResizeCells = 19,
    kFeatureOptimizedUpdate = 20,
    kFeatureMarkEditHeader = 21,
    kFeatureFreezeMenuHelper = 22,
    kFeatureDirectCopyMoveCells = 23,
    kFeatureTextDataExchange = 24,
    kFeatureStyleDataExchange = 25,
    kFeatureCutPaste = 26,
    kFeatureClearCells = 27,
    kFeatureRangeName = 28,
    kFeatureReservedB = 29,
    kFeatureReservedA = 30,
    kFeatureAutoScroll = 34,
    kGridFeatureCount = 35
};

class CGXAbstractGridCoveredCellsImp : public CGXFeatureObject {
public:
    virtual BOOL SetCoveredCellsRowCol(CGXGridCore* grid, ROWCOL top, ROWCOL left, ROWCOL bottom, ROWCOL right,
                                       UINT flags, int ctCmd) = 0;
    virtual CGXRange* GetCoveredCellsRowCol(CGXGridCore* grid, ROWCOL row, ROWCOL col, CGXRange& range) = 0;
    virtual BOOL StoreCoveredCellsRowCol(CGXGridCore* grid, ROWCOL top, ROWCOL left, ROWCOL bottom,
                                         ROWCOL right, BOOL set) = 0;
    virtual void UpdateCoveredCellsRowCol(CGXGridCore* grid, ROWCOL top, ROWCOL left, ROWCOL bottom,
                                          ROWCOL right, UINT flags, BOOL hint) = 0;
    virtual BOOL ExpandRangeByCoveredCells(CGXGridCore* grid, CGXRange& range) = 0;
    // Drop the covered ranges inside removed rows or columns.
    virtual void RemoveCoveredRows(CGXGridCore* grid, ROWCOL from, ROWCOL to, UINT& flags, int ctCmd) = 0;
    virtual void RemoveCoveredCols(CGXGridCore* grid, ROWCOL from, ROWCOL to, UINT& flags, int ctCmd) = 0;
};

// Marks the row and column headers of the current cell while it is edited.
class CGXAbstractGridMarkEditHeaderImp : public CGXFeatureObject {
public:
    virtual BOOL IsHeaderMarked(CGXGridCore* grid, CGXControl* control, ROWCOL row, ROWCOL col,
                                const CGXStyle& style) = 0;
};

// The size a cell's content needs.
class CGXAbstractCalcSizeImp : public CGXFeatureObject {
public:
    virtual CSize CalcSize(CGXGridCore* grid, CGXControl* control, CDC* dc, ROWCOL row, ROWCOL col,
                           const CGXStyle& style, const CGXStyle* standard, BOOL widthOnly, int extra) = 0;
};

// Whether a control's text may float over empty neighbours.
class CGXAbstractGridFloatCellsImp : public CGXFeatureObject {
public:
    virtual BOOL CanControlFloatCell(CGXGridCore* grid, CGXControl* control, ROWCOL row, ROWCOL col,
                                     const CGXStyle& style, BOOL floatCell) = 0;
    virtual BOOL GetFloatedCellsRowCol(CGXGridCore* grid, ROWCOL row, ROWCOL col, CGXRange& range) = 0;
    virtual void DelayFloatCells(CGXGridCore* grid, const CGXRange& range) = 0;
    virtual BOOL EvalFloatCells(CGXGridCore* grid, const CGXRange& range, BOOL update, CGXRange* grown,
                                UINT flags) = 0;
};

class CGXAbstractGridHideCellsImp : public CGXFeatureObject {
public:
    // Follow the structure: marks of removed rows go, later ones move.
    virtual void RemoveRows(CGXGridCore* grid, ROWCOL from, ROWCOL to) = 0;
    virtual void RemoveCols(CGXGridCore* grid, ROWCOL from, ROWCOL to) = 0;
    virtual void InsertRows(CGXGridCore* grid, ROWCOL row, ROWCOL count) = 0;
    virtual void InsertCols(CGXGridCore* grid, ROWCOL col, ROWCOL count) = 0;
    // The marks travel with moved rows or columns (dest counted after taking them out).
    virtual void MoveRows(CGXGridCore*, ROWCOL, ROWCOL, ROWCOL) {}
    virtual void MoveCols(CGXGridCore*, ROWCOL, ROWCOL, ROWCOL) {}
    virtual BOOL HideRows(CGXGridCore* grid, ROWCOL from, ROWCOL to, BOOL hide, BOOL* hideArray, UINT flags,
                          int ctCmd) = 0;
    virtual BOOL IsRowHidden(CGXGridCore* grid, ROWCOL row) = 0;
    virtual BOOL StoreHideRow(CGXGridCore* grid, ROWCOL row, BOOL hide) = 0;
    virtual BOOL HideCols(CGXGridCore* grid, ROWCOL from, ROWCOL to, BOOL hide, BOOL* hideArray, UINT flags,
                          int ctCmd) = 0;
    virtual BOOL IsColHidden(CGXGridCore* grid, ROWCOL col) = 0;
    virtual BOOL StoreHideCol(CGXGridCore* grid, ROWCOL col, BOOL hide) = 0;
};

class CGXAbstractGridClearCellsImp : public CGXFeatureObject {
public:
    virtual BOOL CanClear(CGXGridCore* grid) = 0;
    virtual BOOL Clear(CGXGridCore* grid, BOOL styleOnly) = 0;
    virtual BOOL ClearCells(CGXGridCore* grid, const CGXRangeList& ranges, BOOL styleOnly) = 0;
};

// Draws covered (and merged and floated) ranges as single cells: the grid's drawing loop offers it each
// table cell first.
class CGXAbstractDrawSpannedCellsImp : public CGXFeatureObject {
public:
    // Marks the table cells of the range holding the cell; FALSE when no range holds it.
    virtual BOOL PrepareSpannedCell(CGXGridCore* grid, GridDrawTable& table, ROWCOL i, ROWCOL j) = 0;
    // TRUE when the cell was drawn (or is drawn by the range's first visible cell).
    virtual BOOL DrawSpannedCell(CGXGridCore* grid, GridDrawTable& table, ROWCOL i, ROWCOL j) = 0;
    virtual BOOL EvaluateSpansForDrawing(CGXGridCore* grid, const CGXRange& range, ROWCOL lastFrozenRow,
                                         ROWCOL lastFrozenCol, ROWCOL topRow, ROWCOL leftCol, ROWCOL lastRow,
                                         ROWCOL lastCol, BOOL a, CGXRange* b, UINT c) = 0;
};

// Merged cells (kind 0 row-wise, 1 column-wise) and floated cells: only the calls the engine and the
// spanned drawing make.
class CGXAbstractGridMergeCellsImp : public CGXFeatureObject {
public:
    virtual BOOL GetMergedCellsRowCol(CGXGridCore* grid, ROWCOL row, ROWCOL col, CGXRange& range, int kind) = 0;
    virtual void DelayMergeCells(CGXGridCore* grid, const CGXRange& range) = 0;
    virtual BOOL EvalMergeCells(CGXGridCore* grid, const CGXRange& range, BOOL update, CGXRange* grown,
                                UINT flags) = 0;
};

// The undo feature. The creation operations answer a new command that owns every array and object handed
// to it (null while the factory keeps none); the grid records it with AddCommand. Command types: 0 normal,
// 1 rollback, 2 undo, 3 redo. Apart from the lists and transactions, each operation's default records
// nothing.
// Deletes an array of saved styles (null entries allowed) with its styles.
void DeleteStyleArray(CObArray* array);

class CGXAbstractCommandFactory : public CGXFeatureObject {
public:
    virtual CObject* CreateBlockCmd(LPCTSTR) { return nullptr; }
    virtual CObject* CreateSetRowHeightCmd(ROWCOL, ROWCOL, std::vector<int>) { return nullptr; }
    virtual CObject* CreateSetDefaultRowHeightCmd(int) { return nullptr; }
    virtual CObject* CreateSetColWidthCmd(ROWCOL, ROWCOL, std::vector<int>) { return nullptr; }
    virtual CObject* CreateSetDefaultColWidthCmd(int) { return nullptr; }
    // The records of hiding and covering; the hide records take over the array of old states (new[]).
    virtual CObject* CreateHideRowsCommand(ROWCOL, ROWCOL, BOOL* oldStates, int) {
        delete[] oldStates;
        return nullptr;
    }
    virtual CObject* CreateHideColsCommand(ROWCOL, ROWCOL, BOOL* oldStates, int) {
        delete[] oldStates;
        return nullptr;
    }
    virtual CObject* CreateCoveredCellsCommand(ROWCOL, ROWCOL, ROWCOL, ROWCOL, int) { return nullptr; }
    virtual CObject* CreateMoveRowsCmd(ROWCOL, ROWCOL, ROWCOL) { return nullptr; }
    virtual CObject* CreateMoveColsCmd(ROWCOL, ROWCOL, ROWCOL) { return nullptr; }
    // The rows or columns an insertion made (undoing removes them).
    virtual CObject* CreateRemoveRowsCmd(ROWCOL, ROWCOL) { return nullptr; }
    virtual CObject* CreateRemoveColsCmd(ROWCOL, ROWCOL) { return nullptr; }
    // What a removal took: sizes, cells (row by row) and base styles; the arrays may be null.
    virtual CObject* CreateInsertRowsCmd(ROWCOL first, ROWCOL count, std::vector<int> heights, CObArray* cells,
                                         CObArray* rowStyles, ROWCOL colCount);
    virtual CObject* CreateInsertColsCmd(ROWCOL first, ROWCOL count, std::vector<int> widths, CObArray* cells,
                                         CObArray* colStyles, ROWCOL rowCount);
    virtual CObject* CreateSetStyleRangeCmd(const CGXRange& range, int kind, CObArray* styles);
    virtual CObject* CreateSetFrozenRowsCmd(ROWCOL, ROWCOL) { return nullptr; }
    virtual CObject* CreateSetFrozenColsCmd(ROWCOL, ROWCOL) { return nullptr; }
    // Each keeps a copy of the object before the change.
    virtual CObject* CreateChangeStylesMapCmd(const CGXStylesMap&) { return nullptr; }
    virtual CObject* CreateChangePropertiesCmd(const CGXProperties&) { return nullptr; }
    virtual CObject* CreateChangeBaseStyleCmd(WORD, const CGXStyle&, LPCTSTR) { return nullptr; }

    // The data object's own undo information (none for the grid's own data object).
    virtual BOOL SetDataUndoMode(CGXGridCore*, BOOL) { return FALSE; }
    virtual CObject* GetDataUndoInfo(CGXGridCore*) { return nullptr; }
    virtual BOOL ApplyDataUndoInfo(CGXGridCore*, CObject*, BOOL, int) { return FALSE; }
    virtual void DiscardDataUndoInfo(CGXGridCore*) {}

    virtual BOOL ExecuteCommand(CObject*, CGXGridCore*, int) { return FALSE; }
    virtual void AddCommand(CGXGridCore* grid, CObject* command, int ctCmd) = 0;
    virtual void RemoveCommand(CGXGridCore*, int) {}
    virtual BOOL Undo(CGXGridCore* grid) = 0;
    virtual BOOL Redo(CGXGridCore* grid) = 0;
    virtual void BeginTrans(CGXGridCore* grid, LPCTSTR name) = 0;
    virtual void CommitTrans(CGXGridCore* grid) = 0;
    virtual void Rollback(CGXGridCore* grid) = 0;
    // The cell to show after an undo or redo step.
    virtual void SetAdvancedUndoCell(CGXGridCore*, ROWCOL, ROWCOL, BOOL) {}
    virtual BOOL OnUpdateEditUndo(CGXGridCore* grid, CCmdUI* cmdUI) = 0;
    virtual BOOL OnUpdateEditRedo(CGXGridCore* grid, CCmdUI* cmdUI) = 0;
    // Save the cells and base styles of rows or columns about to be removed; FALSE when the user declines
    // the removal (too large for the undo buffer). The arrays come in null and may stay so.
    virtual BOOL StoreRemoveRowsUndoInfo(CGXGridCore*, ROWCOL, ROWCOL, ROWCOL, CObArray*&, CObArray*&,
                                         CGXLongOperation&) {
        return TRUE;
    }
    virtual BOOL StoreRemoveColsUndoInfo(CGXGridCore*, ROWCOL, ROWCOL, ROWCOL, CObArray*&, CObArray*&,
                                         CGXLongOperation&) {
        return TRUE;
    }
};

// Update hints: a change made in one view of a document is sent to its other views, which replay it. The
// grid sends them only while its document asks for them (m_bUpdateViews).
class CGXAbstractGridUpdateHintImp : public CGXFeatureObject {
public:
    // Replays a hint another view sent.
    virtual void OnHint(CGXGridCore* grid, CObject* hint) = 0;
    virtual void HintUpdateReadOnly(CGXGridCore* grid, BOOL oldReadOnly) = 0;
    virtual void HintSetCurrentCell(CGXGridCore* grid, ROWCOL row, ROWCOL col, UINT flags) = 0;
    virtual BOOL HintTransferCurrentCell(CGXGridCore* grid, BOOL saveAndValidate, UINT flags) = 0;
    virtual void HintChangedRowCount(CGXGridCore* grid, ROWCOL oldCount, UINT flags) = 0;
    virtual void HintChangedColCount(CGXGridCore* grid, ROWCOL oldCount, UINT flags) = 0;
    virtual void HintFrozenRows(CGXGridCore* grid, ROWCOL oldFrozen, ROWCOL oldHeader, UINT flags) = 0;
    virtual void HintFrozenCols(CGXGridCore* grid, ROWCOL oldFrozen, ROWCOL oldHeader, UINT flags) = 0;
    virtual void HintTopRow(CGXGridCore* grid, ROWCOL row, UINT flags) = 0;
    virtual void HintLeftCol(CGXGridCore* grid, ROWCOL col, UINT flags) = 0;
    virtual void HintInsertRows(CGXGridCore* grid, ROWCOL row, ROWCOL count, UINT flags) = 0;
    virtual void HintInsertCols(CGXGridCore* grid, ROWCOL col, ROWCOL count, UINT flags) = 0;
    virtual void HintRemoveRows(CGXGridCore* grid, ROWCOL from, ROWCOL to, UINT flags) = 0;
    virtual void HintRemoveCols(CGXGridCore* grid, ROWCOL from, ROWCOL to, UINT flags) = 0;
    virtual void HintRedrawRowCol(CGXGridCore* grid, ROWCOL top, ROWCOL left, ROWCOL bottom, ROWCOL right,
                                  UINT flags) = 0;
    virtual void HintRedraw(CGXGridCore* grid, UINT flags) = 0;
    virtual void HintRecalc(CGXGridCore* grid, LPCTSTR errorText) = 0;
    virtual void HintScroll(CGXGridCore* grid, int direction, ROWCOL count) = 0;
    virtual void HintTabName(CGXGridCore* grid, WPARAM value) = 0;
    virtual void HintChangedRowHeights(CGXGridCore* grid, ROWCOL from, ROWCOL to, UINT flags) = 0;
    virtual void HintChangedColWidths(CGXGridCore* grid, ROWCOL from, ROWCOL to, UINT flags) = 0;
    virtual void HintStoreZoom(CGXGridCore* grid, int percent) = 0;
    virtual void HintUpdateZoom(CGXGridCore* grid, int oldPercent, UINT flags) = 0;
    virtual void HintStyleRange(CGXGridCore* grid, const CGXRange& range, const CGXStyle* style, int mode,
                                int kind, UINT flags) = 0;
    virtual void HintStylesMap(CGXGridCore* grid, UINT flags) = 0;
    virtual void HintProperties(CGXGridCore* grid, UINT flags) = 0;
    virtual void HintBaseStyle(CGXGridCore* grid, WORD id, UINT flags) = 0;
};

class CGXAbstractGridCutPasteImp : public CGXFeatureObject {
public:
    virtual BOOL CanCopy(CGXGridCore* grid) = 0;
    virtual BOOL Copy(CGXGridCore* grid) = 0;
    virtual BOOL CopyCells(CGXGridCore* grid, const CGXRangeList& ranges, BOOL styleOnly) = 0;
    virtual BOOL CanCut(CGXGridCore* grid) = 0;
    virtual BOOL Cut(CGXGridCore* grid) = 0;
    virtual BOOL CutCells(CGXGridCore* grid, const CGXRangeList& ranges, BOOL styleOnly) = 0;
    virtual BOOL CanPaste(CGXGridCore* grid) = 0;
    virtual BOOL Paste(CGXGridCore* grid) = 0;
};

class CGXAbstractGridTextDataExchangeImp : public CGXFeatureObject {
public:
    virtual CString GetCopyTextRowCol(CGXGridCore* grid, ROWCOL row, ROWCOL col) = 0;
};

// The mouse operations of the interaction features answer TRUE when they took the event, which ends the
// grid's own handling of it.
class CGXAbstractGridUserResizeCellsImp : public CGXFeatureObject {
public:
    virtual BOOL OnMouseMove(CGXGridCore* grid, POINT point, UINT flags, int hit, ROWCOL row, ROWCOL col) = 0;
    virtual BOOL OnLButtonDown(CGXGridCore* grid, POINT point, UINT flags, int hit, ROWCOL row, ROWCOL col) = 0;
    virtual BOOL OnLButtonUp(CGXGridCore* grid, POINT point, UINT flags, int hit, ROWCOL row, ROWCOL col) = 0;
    virtual BOOL OnLButtonDblClk(CGXGridCore* grid, POINT point, UINT flags, int hit, ROWCOL row, ROWCOL col) = 0;
    virtual void BeginTrackSize(CGXGridCore* grid, POINT point, int hitCode) = 0;
    virtual void TrackSize(CGXGridCore* grid, POINT point) = 0;
    virtual void EndTrackSize(CGXGridCore* grid, POINT point) = 0;
    virtual void CancelTrackSize(CGXGridCore* grid) = 0;
};

// Selecting ranges with the mouse and the keys.
class CGXAbstractGridUserSelectRangeImp : public CGXFeatureObject {
public:
    // Moves the current cell for a key, extending the selection while Shift is down.
    virtual BOOL ExtendSelectionOnMove(CGXGridCore* grid, int direction, int count) = 0;
    virtual BOOL OnLButtonDown(CGXGridCore* grid, POINT point, UINT flags, int hit, ROWCOL row, ROWCOL col) = 0;
    virtual BOOL OnMouseMove(CGXGridCore* grid, POINT point, UINT flags, int hit, ROWCOL row, ROWCOL col) = 0;
    virtual BOOL OnLButtonUp(CGXGridCore* grid, POINT point, UINT flags, int hit, ROWCOL row, ROWCOL col) = 0;
    virtual void RefreshSelection(CGXGridCore* grid, const CGXRange* range, BOOL select, BOOL update) = 0;
    virtual BOOL SelectRange(CGXGridCore* grid, const CGXRange& range, BOOL select) = 0;
    virtual void DrawSelectionChange(CGXGridCore* grid, const CGXRange& range, const CGXRangeList* before,
                                     BOOL update) = 0;
    virtual void SetSelection(CGXGridCore* grid, POSITION position, ROWCOL top, ROWCOL left, ROWCOL bottom,
                              ROWCOL right) = 0;
    virtual void DrawSelectionRange(CGXGridCore* grid, POSITION position, ROWCOL top, ROWCOL left, ROWCOL bottom,
                                    ROWCOL right, BOOL update) = 0;
    virtual void ClearSelection(CGXGridCore* grid, BOOL update) = 0;
    // A click that toggles a cell's selection with Ctrl.
    virtual BOOL OnCtrlClickCell(CGXGridCore* grid, ROWCOL row, ROWCOL col, UINT flags, POINT point) = 0;
};

// The thick frame around the selection.
class CGXAbstractGridExcelLikeFrameImp : public CGXFeatureObject {
public:
    virtual void DrawRangeFrame(CGXGridCore* grid, CDC* dc, const CGXRange& range, int kind, BOOL flag) = 0;
    virtual void DrawSelectionFrame(CGXGridCore* grid, CDC* dc, BOOL eraseOld, const CGXRange* range) = 0;
    virtual void RefreshSelectionFrame(CGXGridCore* grid) = 0;
    // Answers the lock state before.
    virtual BOOL LockSelectionFrame(CGXGridCore* grid, BOOL lock, BOOL redraw) = 0;
};

// The fill handle at the selection frame's corner.
class CGXAbstractGridExcelLikeFillImp : public CGXFeatureObject {
public:
    virtual BOOL OnLButtonDown(CGXGridCore* grid, POINT point, UINT flags, int hit, ROWCOL row, ROWCOL col) = 0;
    virtual BOOL OnMouseMove(CGXGridCore* grid, POINT point, UINT flags, int hit, ROWCOL row, ROWCOL col) = 0;
    virtual BOOL OnLButtonUp(CGXGridCore* grid, POINT point, UINT flags, int hit, ROWCOL row, ROWCOL col) = 0;
    virtual BOOL FillCells(CGXGridCore* grid, const CGXRange& source, const CGXRange& filled) = 0;
    virtual void SelectFilledRange(CGXGridCore* grid, const CGXRange& range) = 0;
};

// Dragging selected rows or columns to a new place.
class CGXAbstractGridUserDragSelectRangeImp : public CGXFeatureObject {
public:
    virtual BOOL OnLButtonDown(CGXGridCore* grid, POINT point, UINT flags, int hit, ROWCOL row, ROWCOL col) = 0;
    virtual BOOL OnMouseMove(CGXGridCore* grid, POINT point, UINT flags, int hit, ROWCOL row, ROWCOL col) = 0;
    virtual BOOL OnLButtonUp(CGXGridCore* grid, POINT point, UINT flags, int hit, ROWCOL row, ROWCOL col) = 0;
    virtual void CancelDragSelect(CGXGridCore* grid) = 0;
};

// The auto-scroll plug-in: drives the scroll timer while the mouse is held outside the cells.
class CGXAbstractAutoScrollPlugin : public CGXFeatureObject {
public:
    virtual void OnTimer(CGXGridCore* grid, UINT_PTR timerId) = 0;
};
