// The per-grid feature objects: the grid keeps one table of them, filled by the control factory when the
// grid is made, and forwards to an entry only when it is set (an empty entry answers 0). Only the
// interfaces the engine calls are declared here; the features themselves live in the feature libraries.
#pragma once

#include "grid/GridDefs.h"
#include "grid/GridFeatureInterfaces.h"
#include "platform/base/CRect.h"
#include "platform/base/CString.h"

class CCmdUI;
class CDC;
class CGXControl;
class CGXGridCore;
class CGXStyle;
struct GridDrawTable;
class CGXRange;
class CGXRangeList;
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

class CGXAbstractCommandFactory : public CGXFeatureObject {
public:
    // The records of hiding and covering, for AddCommand; null while the factory keeps none. The hide
    // records take over the array of old states (new[]).
    virtual CObject* CreateHideRowsCommand(ROWCOL, ROWCOL, BOOL* oldStates, int) {
        delete[] oldStates;
        return nullptr;
    }
    virtual CObject* CreateHideColsCommand(ROWCOL, ROWCOL, BOOL* oldStates, int) {
        delete[] oldStates;
        return nullptr;
    }
    virtual CObject* CreateCoveredCellsCommand(ROWCOL, ROWCOL, ROWCOL, ROWCOL, int) { return nullptr; }
    virtual BOOL Undo(CGXGridCore* grid) = 0;
    virtual BOOL Redo(CGXGridCore* grid) = 0;
    virtual void BeginTrans(CGXGridCore* grid, LPCTSTR name) = 0;
    virtual void CommitTrans(CGXGridCore* grid) = 0;
    virtual void Rollback(CGXGridCore* grid) = 0;
    virtual void AddCommand(CGXGridCore* grid, CObject* command, int ctCmd) = 0;
    virtual void OnUpdateEditUndo(CGXGridCore* grid, CCmdUI* cmdUI) = 0;
    virtual void OnUpdateEditRedo(CGXGridCore* grid, CCmdUI* cmdUI) = 0;
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

class CGXAbstractGridUserResizeCellsImp : public CGXFeatureObject {
public:
    virtual void BeginTrackSize(CGXGridCore* grid, POINT point, int hitCode) = 0;
    virtual void TrackSize(CGXGridCore* grid, POINT point) = 0;
    virtual void EndTrackSize(CGXGridCore* grid, POINT point) = 0;
    virtual void CancelTrackSize(CGXGridCore* grid) = 0;
};

// The auto-scroll plug-in: drives the scroll timer while the mouse is held outside the cells.
class CGXAbstractAutoScrollPlugin : public CGXFeatureObject {
public:
    virtual void OnTimer(CGXGridCore* grid, UINT_PTR timerId) = 0;
};
