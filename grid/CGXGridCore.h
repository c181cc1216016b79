// The grid engine: one object per grid, mixed into the window class that draws it. The engine owns none of
// the grid's content: counts, sizes, styles, frozen rows and the rest live in the parameter object, which the
// engine makes or borrows. Optional behaviour is delegated to per-grid feature objects; each forwarder does
// nothing and answers 0 when its feature is not installed.
//
// Changes follow three steps a derived grid can hook: the request (Set/Insert/Remove) stores the current
// cell's edit and calls the Store step (the data change) and then the Update step (the screen).
//
// The class is large; its work is spread over focused source files by area (structure, sizes, drawing,
// current cell, mouse, keys, ranges, scrolling).
#pragma once

#include "grid/CGXCellTipHandler.h"
#include "grid/CGXPenValue.h"
#include "grid/CGXRange.h"
#include "grid/GridCoreFeatures.h"
#include "grid/GridDefs.h"
#include "platform/base/CString.h"
#include "platform/base/Win32Types.h"
#include "platform/display/WindowConstants.h"
#include "platform/framework/CDC.h"
#include "platform/framework/CGdiObject.h"

#include <list>
#include <map>
#include <memory>
#include <vector>

class CCmdUI;
class CDocument;
class CView;
class CBrush;
class CFont;
class CGXBrushValue;
class CGXControl;
class CGXFont;
class CPen;
struct GridDrawTable;
class CGXGridParam;
class CGXPluginComponent;
class CGXLongOperation;
class CGXProperties;
class CGXStylesMap;
class CGXRangeList;
class CGXStyle;
class CObArray;
class CScrollBar;
class CWnd;
class GridLibraryState;
struct CRuntimeClass;

// Hit-test codes.
enum GridHit : int {
    kHitNothing = 0,
    kHitColEdge = 1,
    kHitRowEdge = 2,
    kHitCell = 3,
    kHitHeader = 4,
    kHitSelectionFrame = 5,
    kHitFillHandle = 6,
    kHitHiddenCol = 7,
    kHitHiddenRow = 8
};

enum class GridButton { Left, Middle, Right };

// Command types of the request steps.
enum GridCommandType : int { kCmdNormal = 0, kCmdRollback = 1, kCmdUndo = 2, kCmdRedo = 3 };

class CGXGridCore {
public:
    CGXGridCore(CWnd* gridWnd = nullptr, CDocument* document = nullptr, DWORD reserved = 0);
    virtual ~CGXGridCore();
    CGXGridCore(const CGXGridCore&) = delete;
    CGXGridCore& operator=(const CGXGridCore&) = delete;

    // ---- Set-up, parameter object, features, controls
    virtual void InitializeGrid();
    void SetParam(CGXGridParam* param, BOOL own = TRUE);
    CGXGridParam* GetParam() const { return m_pParam; }
    CWnd* GridWnd() const { return m_pGridWnd; }
    BOOL IsInitDone() const { return m_bInitDone; }
    void GetGridRect(RECT& rect) const;
    void SetGridRect(BOOL set, const RECT* rect = nullptr);
    virtual void SetPrintingMode(BOOL printing, BOOL takeMetrics = FALSE);
    BOOL IsPrinting() const { return m_bPrinting; }
    virtual void SetDocumentModified(BOOL modified = TRUE);
    // The document's other views, while the grid sends them hints.
    virtual void UpdateAllViews(CView* sender, LPARAM hintCode, CObject* hint);
    // Replays a hint another view of the document sent.
    virtual void ProcessUpdateHint(CObject* hint);
    // The update-hint feature when a step is to send its hint (asked, the document wants hints, installed).
    CGXAbstractGridUpdateHintImp* HintSender(BOOL hint);
    void SetUpdateViews(BOOL on) { m_bUpdateViews = on; }

    void AddToAutoDeleteList(CGXFeatureObject* object);
    size_t GetAutoDeleteCount() const { return m_autoDeleteList.size(); }
    CGXFeatureObject* GetFeature(int entry) const { return m_features[entry]; }
    // Makes the feature when its entry is empty; the grid deletes it.
    template <class Concrete>
    void InstallFeature(int entry) {
        if (!m_features[entry]) {
            auto* object = new Concrete;
            m_features[entry] = object;
            AddToAutoDeleteList(object);
        }
    }

    // The feature objects of covered cells (with the application's pool and the spanned drawing), hidden
    // rows and columns, and clearing cells; each made once.
    void InstallCoveredCells();
    void InstallDrawSpannedCells();
    void InstallHideCells();
    void InstallClearCells();

    void RegisterControl(WORD id, CGXControl* control, BOOL isDefault = FALSE, BOOL registerName = TRUE);
    virtual CGXControl* GetRegisteredControl(WORD id);
    CGXControl* GetDefaultControl() const { return m_pDefaultControl; }
    const CGXStyle& GetStandardStyle();
    const CGXStyle& GetBaseStyle(WORD id) const;

    virtual BOOL SetReadOnly(BOOL readOnly = TRUE);
    virtual BOOL IsReadOnly();
    virtual BOOL StoreReadOnly(BOOL readOnly);
    virtual void UpdateReadOnly(BOOL oldReadOnly, BOOL hint);
    // Store steps refuse while the grid is read-only and its parameter protects the data.
    BOOL IsStoreRefused();

    // ---- Feature forwarders
    virtual BOOL SetCoveredCellsRowCol(ROWCOL top, ROWCOL left, ROWCOL bottom, ROWCOL right, UINT flags = 1,
                                       int ctCmd = kCmdNormal);
    virtual CGXRange* GetCoveredCellsRowCol(ROWCOL row, ROWCOL col, CGXRange& range);
    virtual BOOL StoreCoveredCellsRowCol(ROWCOL top, ROWCOL left, ROWCOL bottom, ROWCOL right, BOOL set);
    virtual void UpdateCoveredCellsRowCol(ROWCOL top, ROWCOL left, ROWCOL bottom, ROWCOL right, UINT flags,
                                          BOOL hint);
    virtual BOOL ExpandRangeByCoveredCells(CGXRange& range);
    // The covered, else merged (row-wise, then column-wise), else floated range holding the cell.
    virtual CGXRange* GetSpannedRangeRowCol(ROWCOL row, ROWCOL col, CGXRange& range);
    // Kind 0 row-wise, 1 column-wise.
    virtual BOOL GetMergedCellsRowCol(ROWCOL row, ROWCOL col, CGXRange& range, int kind);
    virtual BOOL GetFloatedCellsRowCol(ROWCOL row, ROWCOL col, CGXRange& range);
    virtual void DelayMergeCells(const CGXRange& range);
    virtual void DelayFloatCells(const CGXRange& range);
    // TRUE when the spans changed; `grown` gets the range grown by them.
    virtual BOOL EvalMergeCells(const CGXRange& range, BOOL update = TRUE, CGXRange* grown = nullptr,
                                UINT flags = 0);
    virtual BOOL EvalFloatCells(const CGXRange& range, BOOL update = TRUE, CGXRange* grown = nullptr,
                                UINT flags = 0);
    virtual BOOL HideRows(ROWCOL from, ROWCOL to, BOOL hide = TRUE, BOOL* hideArray = nullptr, UINT flags = 1,
                          int ctCmd = kCmdNormal);
    virtual BOOL HideCols(ROWCOL from, ROWCOL to, BOOL hide = TRUE, BOOL* hideArray = nullptr, UINT flags = 1,
                          int ctCmd = kCmdNormal);
    virtual BOOL IsRowHidden(ROWCOL row);
    virtual BOOL IsColHidden(ROWCOL col);
    virtual BOOL StoreHideRow(ROWCOL row, BOOL hide);
    virtual BOOL StoreHideCol(ROWCOL col, BOOL hide);
    virtual BOOL Undo();
    virtual BOOL Redo();
    virtual void BeginTrans(LPCTSTR name);
    virtual void CommitTrans();
    virtual void Rollback();
    virtual void AddCommand(CObject* command, int ctCmd);
    virtual void RemoveCommand(int ctCmd);
    virtual BOOL ExecuteCommand(CObject* command, int ctCmd);
    virtual void SetAdvancedUndoCell(ROWCOL row, ROWCOL col, BOOL setCurrent = TRUE);
    BOOL SetDataUndoMode(BOOL on);
    CObject* GetDataUndoInfo();
    BOOL ApplyDataUndoInfo(CObject* info, BOOL flag, int extra);
    void DiscardDataUndoInfo();
    // The undo feature when a change of this command type is to be recorded: installed, undo enabled and
    // not a rollback.
    CGXAbstractCommandFactory* RecordingFactory(int ctCmd);
    virtual void OnUpdateEditUndo(CCmdUI* cmdUI);
    virtual void OnUpdateEditRedo(CCmdUI* cmdUI);
    virtual BOOL CanCopy();
    virtual BOOL Copy();
    virtual BOOL CopyCells(const CGXRangeList& ranges, BOOL styleOnly = FALSE);
    virtual BOOL CanCut();
    virtual BOOL Cut();
    virtual BOOL CutCells(const CGXRangeList& ranges, BOOL styleOnly = FALSE);
    virtual BOOL CanPaste();
    virtual BOOL Paste();
    virtual BOOL CanClear();
    virtual BOOL Clear(BOOL styleOnly = FALSE);
    virtual BOOL ClearCells(const CGXRangeList& ranges, BOOL styleOnly = FALSE);
    virtual CString GetCopyTextRowCol(ROWCOL row, ROWCOL col);
    virtual BOOL MoveRows(ROWCOL from, ROWCOL to, ROWCOL dest, UINT flags = 1, int ctCmd = kCmdNormal);
    virtual BOOL MoveCols(ROWCOL from, ROWCOL to, ROWCOL dest, UINT flags = 1, int ctCmd = kCmdNormal);

    // ---- Row and column structure
    virtual ROWCOL GetRowCount();
    virtual ROWCOL GetColCount();
    virtual BOOL SetRowCount(ROWCOL count, UINT flags = 1);
    virtual BOOL SetColCount(ROWCOL count, UINT flags = 1);
    virtual BOOL StoreRowCount(ROWCOL count);
    virtual BOOL StoreColCount(ROWCOL count);
    virtual void UpdateChangedRowCount(ROWCOL oldCount, UINT flags, BOOL hint);
    virtual void UpdateChangedColCount(ROWCOL oldCount, UINT flags, BOOL hint);
    // The new rows may get sizes, cells (row by row, `colCount` per row, columns from 0) and base styles;
    // the arrays stay the caller's.
    virtual BOOL InsertRows(ROWCOL row, ROWCOL count, const int* heights = nullptr, const CObArray* cells = nullptr,
                            const CObArray* rowStyles = nullptr, ROWCOL colCount = 0, UINT flags = 1,
                            int ctCmd = kCmdNormal);
    // The cells array holds, for each row from 0 to `rowCount` - 1, the styles of the new columns.
    virtual BOOL InsertCols(ROWCOL col, ROWCOL count, const int* widths = nullptr, const CObArray* cells = nullptr,
                            const CObArray* colStyles = nullptr, ROWCOL rowCount = 0, UINT flags = 1,
                            int ctCmd = kCmdNormal);
    virtual BOOL StoreInsertRows(ROWCOL row, ROWCOL count, BOOL force = FALSE);
    virtual BOOL StoreInsertCols(ROWCOL col, ROWCOL count, BOOL force = FALSE);
    virtual void UpdateInsertRows(ROWCOL row, ROWCOL count, UINT flags, BOOL hint);
    virtual void UpdateInsertCols(ROWCOL col, ROWCOL count, UINT flags, BOOL hint);
    virtual BOOL RemoveRows(ROWCOL from, ROWCOL to, UINT flags = 1, int ctCmd = kCmdNormal);
    virtual BOOL RemoveCols(ROWCOL from, ROWCOL to, UINT flags = 1, int ctCmd = kCmdNormal);
    virtual BOOL StoreRemoveRows(ROWCOL from, ROWCOL to, BOOL force = FALSE);
    virtual BOOL StoreRemoveCols(ROWCOL from, ROWCOL to, BOOL force = FALSE);
    virtual void UpdateRemoveRows(ROWCOL from, ROWCOL to, UINT flags, BOOL hint);
    virtual void UpdateRemoveCols(ROWCOL from, ROWCOL to, UINT flags, BOOL hint);
    virtual BOOL SetFrozenRows(ROWCOL frozen, ROWCOL header = 0, UINT flags = 1, int ctCmd = kCmdNormal);
    virtual BOOL SetFrozenCols(ROWCOL frozen, ROWCOL header = 0, UINT flags = 1, int ctCmd = kCmdNormal);
    virtual ROWCOL GetFrozenRows();
    virtual ROWCOL GetFrozenCols();
    virtual ROWCOL GetHeaderRows();
    virtual ROWCOL GetHeaderCols();
    virtual BOOL StoreFrozenRows(ROWCOL frozen, ROWCOL header);
    virtual BOOL StoreFrozenCols(ROWCOL frozen, ROWCOL header);
    virtual void UpdateFrozenRows(ROWCOL oldFrozen, ROWCOL oldHeader, UINT flags, BOOL hint);
    virtual void UpdateFrozenCols(ROWCOL oldFrozen, ROWCOL oldHeader, UINT flags, BOOL hint);
    BOOL IsFrozenRow(ROWCOL row);
    BOOL IsFrozenCol(ROWCOL col);
    virtual void SetTopRow(ROWCOL row, UINT flags = 1, BOOL hint = TRUE);
    virtual void SetLeftCol(ROWCOL col, UINT flags = 1, BOOL hint = TRUE);
    ROWCOL GetTopRow() const { return m_bPrinting ? m_nPrintTopRow : m_nTopRow; }
    ROWCOL GetLeftCol() const { return m_bPrinting ? m_nPrintLeftCol : m_nLeftCol; }
    ROWCOL GetClientRow(ROWCOL row);
    ROWCOL GetRow(ROWCOL visibleIndex);
    ROWCOL GetClientCol(ROWCOL col);
    ROWCOL GetCol(ROWCOL visibleIndex);
    virtual BOOL CanChangeTopRow(ROWCOL) { return TRUE; }
    virtual BOOL CanChangeLeftCol(ROWCOL) { return TRUE; }
    virtual void OnTopRowChanged() {}
    virtual void OnLeftColChanged() {}
    virtual BOOL CanStartDragSelectRows();
    virtual BOOL CanStartDragSelectCols();

    // ---- Sizes, hit testing, cursors, zoom
    virtual BOOL SetRowHeight(ROWCOL from, ROWCOL to, int height, const int* heights = nullptr, UINT flags = 1,
                              int ctCmd = kCmdNormal);
    virtual BOOL SetColWidth(ROWCOL from, ROWCOL to, int width, const int* widths = nullptr, UINT flags = 1,
                             int ctCmd = kCmdNormal);
    virtual BOOL SetDefaultRowHeight(int height, UINT flags = 1, int ctCmd = kCmdNormal);
    virtual BOOL SetDefaultColWidth(int width, UINT flags = 1, int ctCmd = kCmdNormal);
    virtual int GetRowHeight(ROWCOL row);
    virtual int GetColWidth(ROWCOL col);
    virtual int GetDefaultRowHeight();
    virtual int GetDefaultColWidth();
    virtual BOOL StoreRowHeight(ROWCOL row, int height);
    virtual BOOL StoreColWidth(ROWCOL col, int width);
    virtual BOOL StoreDefaultRowHeight(int height);
    virtual BOOL StoreDefaultColWidth(int width);
    virtual void UpdateChangedRowHeights(ROWCOL from, ROWCOL to, UINT flags, BOOL hint);
    virtual void UpdateChangedColWidths(ROWCOL from, ROWCOL to, UINT flags, BOOL hint);
    void GetRowHeights(ROWCOL from, ROWCOL to, std::vector<int>& heights);
    void GetColWidths(ROWCOL from, ROWCOL to, std::vector<int>& widths);
    virtual int HitTest(POINT point, ROWCOL* row = nullptr, ROWCOL* col = nullptr, RECT* cellRect = nullptr);
    virtual int HitTestSelectionFrame(ROWCOL row, ROWCOL col, POINT point, const RECT& cellRect);
    void BeginTrackSize(POINT point, int hitCode);
    void TrackSize(POINT point);
    void EndTrackSize(POINT point);
    void CancelTrackSize();
    BOOL HasUserResizeFeature() const { return m_features[kFeatureUserResizeCells] != nullptr; }
    // The cursor resource for a point (0 for the arrow), as UpdateCursor would show it.
    virtual UINT CursorIdAt(POINT point);
    void UpdateCursor(POINT point);
    void RefreshCursor(UINT forcedId);
    void SetGridCursor(UINT resourceId, LPCTSTR systemId);
    virtual void SetZoom(int percent, UINT flags = 1);
    virtual int GetZoom();
    virtual BOOL StoreZoom(int percent, BOOL hint = TRUE);
    virtual void UpdateZoom(int oldPercent, UINT flags, BOOL hint);
    void UpdateFontMetrics();
    int GetFontHeight() const { return m_bPrinting ? m_nPrintLineHeight : m_nLineHeight; }
    int GetCharWidth() const { return m_bPrinting ? m_nPrintCharWidth : m_nCharWidth; }
    void CalcFontMetrics(int& charWidth, int& lineHeight);
    virtual void GetFontMetrics(CDC* dc, int& charWidth, int& lineHeight);

    // Rectangles of cells and ranges, in window pixels.
    CRect CalcCellRect(ROWCOL row, ROWCOL col);
    CRect CalcCellRectSpanned(ROWCOL row, ROWCOL col);
    CRect CalcRangeRectCovered(ROWCOL top, ROWCOL left, ROWCOL bottom, ROWCOL right);
    CRect CalcRangeRectSpanned(ROWCOL top, ROWCOL left, ROWCOL bottom, ROWCOL right);
    CRect ComputeCellRangeRect(ROWCOL top, ROWCOL left, ROWCOL bottom, ROWCOL right, BOOL noLimit = FALSE);
    // The visible index under the point (-1 past the last one); `edge` gets its top or left pixel.
    ROWCOL CalcClientRowFromPt(POINT point, int* edge = nullptr);
    ROWCOL CalcClientColFromPt(POINT point, int* edge = nullptr);
    ROWCOL CalcBottomRowFromRect(const RECT& rect);
    ROWCOL CalcRightColFromRect(const RECT& rect);
    int CalcClientRowTop(ROWCOL visibleIndex);
    int CalcClientColLeft(ROWCOL visibleIndex);
    CRect CalcRectBelowRow(ROWCOL row);
    // The part of the grid rectangle that scrolls: below the frozen rows, or right of the frozen columns.
    CRect ScrollArea(BOOL vertical);
    CRect CalcRectRightOfCol(ROWCOL col);
    int CalcSumOfRowHeights(ROWCOL from, ROWCOL to, int limit = 0);
    int CalcSumOfColWidths(ROWCOL from, ROWCOL to, int limit = 0);
    int CalcSumOfClientRowHeights(ROWCOL from, ROWCOL to, int limit = 0);
    int CalcSumOfClientColWidths(ROWCOL from, ROWCOL to, int limit = 0);
    // The last visible row and column at the grid rectangle's bottom-right, cached.
    ROWCOL GetLastVisibleRow();
    ROWCOL GetLastVisibleCol();

    // ---- Styles of cells: stored, composed and cached
    // The cell's composed style, owned by the grid until the caches are freed.
    virtual const CGXStyle& LookupStyleRowCol(ROWCOL row, ROWCOL col);
    virtual CGXStyle* CreateStyle();
    virtual void RecycleStyle(CGXStyle* style);
    virtual void ComposeStyleRowCol(ROWCOL row, ROWCOL col, CGXStyle& style, BOOL withStandard = TRUE);
    virtual BOOL StoreStyleRowCol(ROWCOL row, ROWCOL col, const CGXStyle* style, int mode, int kind = 0);
    virtual BOOL LoadStoredStyleRowCol(ROWCOL row, ROWCOL col, CGXStyle& style, int mode, int kind = 0);
    // With an undo array (a record of what the cells held, row by row) the cells get that back instead.
    virtual BOOL SetStyleRange(const CGXRange& range, const CGXStyle* style, int mode = kMergeOverride,
                               int kind = 0, const CObArray* undoArray = nullptr, UINT flags = 1,
                               int ctCmd = kCmdNormal);
    // The stored styles of the cells, row by row (null where a cell stores none); the caller owns the array
    // and its styles. An abort seen through the long operation throws the user exception.
    virtual CObArray* CopyStyleArray(const CGXRange& cells, int kind, CGXLongOperation* operation = nullptr);
    // Asks whether to go on without an undo record; TRUE for OK.
    BOOL ConfirmTooLargeForUndo();
    virtual void UpdateStyleRange(const CGXRange& range, const CGXStyle* style, int mode, int kind, UINT flags,
                                  BOOL hint);
    // The text as the value of every cell of the range.
    virtual BOOL SetValueRange(const CGXRange& range, LPCTSTR text, int mode = kMergeOverride, UINT flags = 1);
    // The text as the user would type it, turned into the cell's value by the cell's control.
    virtual BOOL SetControlTextRowCol(ROWCOL row, ROWCOL col, const CString& text, UINT flags = 1,
                                      const CGXStyle* style = nullptr);
    // The grid's styles map, properties or one base style take the given contents; refused while read-only.
    virtual BOOL ChangeStylesMap(const CGXStylesMap& stylesMap, UINT flags = 1, int ctCmd = kCmdNormal);
    virtual void UpdateStylesMap(UINT flags, BOOL hint);
    virtual BOOL ChangeProperties(const CGXProperties& properties, UINT flags = 1, int ctCmd = kCmdNormal);
    virtual void UpdateProperties(UINT flags, BOOL hint);
    virtual BOOL ChangeBaseStyle(WORD id, const CGXStyle& style, int mode = kMergeOverride, UINT flags = 1,
                                 int ctCmd = kCmdNormal);
    virtual void UpdateBaseStyle(WORD id, UINT flags, BOOL hint);
    // The cell's value text as composed (header labels included).
    const CString& GetValueRowCol(ROWCOL row, ROWCOL col);
    // The value as stored in the cell data, without base styles.
    CString GetStoredValueRowCol(ROWCOL row, ROWCOL col);
    virtual CGXControl* GetControlRowCol(ROWCOL row, ROWCOL col);
    // Empties the current cell's style and control caches (its style changed).
    void ResetCurrentCellCache();
    size_t GetFreeStyleCount() const { return m_styleFreeList.size(); }

    // ---- Helpers of the features
    // Copies of the selected ranges; with an empty selection the current cell when asked. FALSE when empty.
    BOOL GetSelectedRangeList(CGXRangeList& list, BOOL addCurrentCell);
    virtual BOOL IsCellInRangeList(ROWCOL row, ROWCOL col, const CGXRangeList& list);
    void GetCurrentCellText(CString& text);
    // A search found nothing: a beep, no message.
    virtual void OnTextNotFound(LPCTSTR text);

    // ---- Selection, its frame and the fill handle (forwarders: nothing and 0 without the feature)
    virtual void RefreshSelection(const CGXRange* range, BOOL select, BOOL update);
    virtual BOOL SelectRange(const CGXRange& range, BOOL select = TRUE);
    virtual void DrawSelectionChange(const CGXRange& range, const CGXRangeList* before, BOOL update);
    // A null position clears the whole selection.
    void SetSelection(POSITION position, ROWCOL top = 0, ROWCOL left = 0, ROWCOL bottom = 0, ROWCOL right = 0);
    virtual void DrawSelectionRange(POSITION position, ROWCOL top, ROWCOL left, ROWCOL bottom, ROWCOL right,
                                    BOOL update);
    virtual void ClearSelection(BOOL update = TRUE);
    // Hooks of the selection: the new range (or null), whether the mouse or the keys change it.
    virtual BOOL CanChangeSelection(const CGXRange* range, BOOL byMouse, BOOL byKeys);
    virtual void OnChangedSelection(const CGXRange*, BOOL, BOOL) {}
    virtual void OnChangingSelection(const CGXRange*, BOOL, BOOL) {}
    virtual BOOL CanSelectCurrentCell(ROWCOL, ROWCOL, UINT, POINT) { return TRUE; }
    void DrawExcelLikeFrame(CDC* dc, const CGXRange& range, int kind, BOOL flag);
    void UpdateExcelLikeFrame(CDC* dc, BOOL eraseOld, const CGXRange* range);
    void RefreshExcelLikeFrame();
    // Answers the lock state before (0 without the feature).
    BOOL LockExcelLikeFrame(BOOL lock, BOOL redraw);
    virtual BOOL CanStartExcelLikeFill(const CGXRange&, ROWCOL, ROWCOL) { return TRUE; }
    virtual BOOL CanApplyExcelLikeFill(const CGXRange&, const CGXRange&) { return TRUE; }
    // Fills `filled` from `source`.
    virtual BOOL ApplyExcelLikeFill(const CGXRange& filled, const CGXRange& source);
    virtual void AddExcelLikeFillRange(const CGXRange& range);
    void SetExcelLikeFillImp(CGXAbstractGridExcelLikeFillImp* fill, BOOL autoDelete);
    void CancelDragSelect();
    // Set by the user-resize and drag-select features while they track the mouse.
    BOOL m_bSizeTracking = FALSE;
    BOOL m_bDragging = FALSE;

    // ---- Hooks a derived grid overrides
    virtual BOOL OnStartEditing(ROWCOL, ROWCOL) { return TRUE; }
    virtual BOOL OnValidateCell(ROWCOL, ROWCOL) { return TRUE; }
    virtual BOOL OnEndEditing(ROWCOL, ROWCOL) { return TRUE; }
    virtual BOOL OnCancelEditing(ROWCOL, ROWCOL) { return TRUE; }
    virtual void OnEditingCancelled(ROWCOL, ROWCOL) {}
    virtual BOOL CanClearCell(ROWCOL, ROWCOL) { return TRUE; }
    // The pointer moved over a cell that is not pressed.
    virtual BOOL OnControlMouseRowCol(ROWCOL, ROWCOL, UINT, POINT) { return FALSE; }
    virtual BOOL OnLeftCell(ROWCOL, ROWCOL, ROWCOL, ROWCOL) { return TRUE; }
    virtual void OnInitCurrentCell(ROWCOL row, ROWCOL col);
    virtual void OnMovedCurrentCell(ROWCOL, ROWCOL) {}
    virtual void OnModifyCell(ROWCOL, ROWCOL) { SetDocumentModified(TRUE); }
    // Without the selection feature nothing takes the click.
    virtual BOOL OnLButtonClickedRowCol(ROWCOL row, ROWCOL col, UINT flags, POINT point);
    virtual BOOL OnMButtonClickedRowCol(ROWCOL, ROWCOL, UINT, POINT) { return FALSE; }
    virtual BOOL OnRButtonClickedRowCol(ROWCOL, ROWCOL, UINT, POINT) { return FALSE; }
    virtual BOOL OnLButtonDblClkRowCol(ROWCOL, ROWCOL, UINT, POINT) { return FALSE; }
    virtual BOOL OnMButtonDblClkRowCol(ROWCOL, ROWCOL, UINT, POINT) { return FALSE; }
    virtual BOOL OnRButtonDblClkRowCol(ROWCOL, ROWCOL, UINT, POINT) { return FALSE; }
    virtual void OnClickedButtonRowCol(ROWCOL, ROWCOL) {}
    virtual void SetWarningText(LPCTSTR text);
    virtual void DisplayWarningText();
    const CString& GetWarningText() const { return m_strWarningText; }

    // ---- Current cell (state the structure keeps in step)
    // A current cell beyond the counts is dropped here for good.
    BOOL GetCurrentCell(ROWCOL& row, ROWCOL& col, BOOL allowWhilePrinting = FALSE);
    // -1 matches any row or column.
    BOOL IsCurrentCell(ROWCOL row, ROWCOL col, BOOL allowWhilePrinting = FALSE);
    // Flags: 0x02/0x04 update the window at once, 0x08 scroll into view, 0x10 activate, 0x20 keep the focus
    // where it is, 0x40 no hint, 0x80 do not select.
    virtual BOOL SetCurrentCell(ROWCOL row, ROWCOL col, UINT flags = 0x0A);
    void SetCurrentCellState(BOOL valid, ROWCOL row, ROWCOL col);
    BOOL IsActiveCurrentCell();
    // Whether the grid window or one of its children has the focus.
    BOOL IsGridActive() const { return m_bGridActive; }
    CGXControl* GetCurrentCellControl();
    virtual BOOL CheckEnabledOrValidate(BOOL testNew, ROWCOL row, ROWCOL col, ROWCOL curRow, ROWCOL curCol);
    virtual BOOL ScrollCellInView(ROWCOL row, ROWCOL col, UINT flags = 1, BOOL floatCell = FALSE);
    BOOL m_bAlwaysRedrawCurrentCell = FALSE;

    // ---- Drawing hooks used by the structure and size steps
    virtual void Redraw(UINT flags = 1, BOOL hint = TRUE);
    // Recomputes cells whose values the data object computes and repaints; FALSE for an empty grid, when
    // the data object cannot start, or when a forced one reports an error (the text goes to `errorText`,
    // else to a message box).
    virtual BOOL Recalc(BOOL force = TRUE, CString* errorText = nullptr, BOOL hint = TRUE);
    // Whether the data object computes the cell (the top-left cell of its covered range); FALSE without one.
    virtual BOOL IsRecalcCell(ROWCOL row, ROWCOL col);
    // The data object's recalculation hooks; nothing without a data object.
    virtual void RecalcHook1(ROWCOL row, ROWCOL col, int flag);
    // Not while a recalculation paint runs.
    virtual void RecalcHook2(const CGXRange& range);
    virtual void RecalcHook3(BOOL flag);
    virtual void RecalcHook4();
    virtual BOOL RecalcHook5(CString& text);
    void InvalidateGridRect(const RECT* rect, BOOL erase = TRUE);
    void UpdateGridWindow();
    virtual void UpdateScrollbars(BOOL noRepaint = TRUE, BOOL onlyIfCountsChanged = FALSE);
    // Directions: 1 up, 2 left, 3 down, 4 right; TRUE when the top row or left column moved.
    virtual BOOL ScrollCells(int direction, ROWCOL count, UINT flags = 1);
    // Scrolls and lets the other views follow.
    virtual BOOL ScrollCellsWithHint(int direction, ROWCOL count);
    void ScrollGridWindow(int dx, int dy, const RECT& scrollRect, const RECT& clipRect);
    // An active current cell's window is hidden before its cell moves; the next drawing of the cell places it
    // again (a cell in the frozen rows or columns does not move). TRUE when it was hidden.
    BOOL HideCurrentCellForScroll(BOOL vertical);
    BOOL LockScrollbars(BOOL lock);
    // Positions in grid units; the bar holds them divided by the scroll factor.
    virtual void SetScrollRange(int bar, ROWCOL minPos, ROWCOL maxPos, BOOL redraw = TRUE);
    virtual ROWCOL SetScrollPos(int bar, ROWCOL position, BOOL redraw = TRUE);
    virtual ROWCOL GetScrollPos(int bar);
    int ScrollFactor(int bar) const;
    void StartAutoScroll(BOOL capture, BOOL vertical, BOOL horizontal);
    static constexpr UINT_PTR kAutoScrollTimerId = 992;
    // The parent whose scroll bars the grid borrows (a window of a class the library lists, a tab window),
    // or null.
    CWnd* GetSharedScrollBarParent() const;
    // The borrowed scroll bar of that direction, unless the grid window has its own.
    virtual CScrollBar* GetScrollBarCtrl(int bar) const;
    // Modes: 0 never shown, 10 shown when needed, 12 the parent's bars.
    virtual void SetScrollBarMode(int bar, int mode, BOOL redraw = TRUE);
    int GetScrollBarMode(int bar) const { return bar == SB_VERT ? m_nVScrollMode : m_nHScrollMode; }
    virtual void SyncCurrentCell(BOOL store = TRUE);
    virtual void HideCurrentCell();
    virtual BOOL TransferCurrentCell(BOOL saveAndValidate = TRUE, UINT flags = 1, BOOL hint = TRUE);
    virtual void FreeObjectCache();

    // ---- Painting
    // Printing: screen pixels scaled to the device. Otherwise, when the parameter asks for printer metrics,
    // the printer measures and the screen draws at its scale.
    virtual void PrepareDC(CDC* dc, BOOL printing = FALSE);
    // The DC of the drawing in progress, else the grid window's own one with the standard font selected,
    // kept until released.
    CDC* GetGridDC();
    // Not while drawing or while a long operation runs.
    void ReleaseGridDC();
    virtual void OnGridDraw(CDC* dc);
    BOOL SetPaintWithMemoryDC(BOOL on);
    // The next memory-DC paint leaves the rectangle untouched on the screen (a control's window lies there).
    void ExcludeFromNextPaint(const RECT& rect) { m_excludedFromPaint.emplace_back(rect); }
    // Set while a control moves the focus or hides its window, so that focus changes are not taken for the
    // user leaving the grid.
    BOOL IsFocusChangeInProgress() const { return m_bSettingFocus; }
    void SetFocusChangeInProgress(BOOL on) { m_bSettingFocus = on; }
    virtual void DrawCells(ROWCOL top, ROWCOL left, ROWCOL bottom, ROWCOL right, CDC* dc);
    virtual void DrawCellControl(CDC* dc, ROWCOL row, ROWCOL col, const RECT& rect, const CGXStyle& style);
    virtual void DrawInvertCell(CDC* dc, ROWCOL row, ROWCOL col, const RECT& rect);
    // Kind 1 vertical, 2 horizontal; flags 0x8/0x4 invert, 0x2 dragging line, 0x1 tracking line.
    virtual void DrawGridLine(CDC* dc, int x, int y, int cx, int cy, int kind, ROWCOL index, UINT flags,
                              COLORREF colour = CLR_INVALID);
    void DrawBorderLine(const CGXPenValue& pen, const RECT& rect, int side, CDC* dc, const CGXBrushValue* interior,
                        BOOL blackAndWhite = FALSE);
    CRect CalcTrackingLineRect(int kind, ROWCOL visibleIndex);
    void DrawTrackingLine(CDC* dc, int kind, ROWCOL visibleIndex, UINT flags);
    void FillRectWithBrush(CDC* dc, const RECT& rect, const CGXBrushValue& brush);
    // The area inside the cell's borders (and, with inner, its grid lines and 3D frame).
    virtual CRect SubtractBorders(const RECT& cell, const CGXStyle& style, BOOL inner);
    virtual CSize AddBorders(int width, int height, const CGXStyle& style);
    BOOL CalcClientRowColFromPt(POINT point, ROWCOL& row, ROWCOL& col, RECT* rect = nullptr);
    void CalcClientRowColFromPtClamped(POINT point, ROWCOL& row, ROWCOL& col);
    virtual void RedrawRowCol(ROWCOL top, ROWCOL left, ROWCOL bottom, ROWCOL right, UINT flags = 1,
                              BOOL hint = TRUE);
    void RedrawRange(const CGXRange& range, UINT flags = 1, BOOL hint = TRUE);
    // Whether the cell being drawn paints its own background (its neighbours' differ, or it spans cells).
    BOOL IsDrawCellBackground() const { return m_bDrawCellBackground; }
    void SetDrawCellBackground(BOOL on) { m_bDrawCellBackground = on; }
    // The style's top, bottom, left and right borders along the rectangle's sides.
    void DrawCellBorders(CDC* dc, const RECT& rect, const CGXStyle& style);
    BOOL LinesOn(BOOL vertical);
    // A properties colour resolved for drawing (black and white when printing so).
    COLORREF PropertyColor(int index);

    // ---- GDI caches and fonts
    CFont* GetFont(const CGXFont& font);
    CBrush* GetBrush(const CGXBrushValue& brush);
    CPen* GetPen(const CGXPenValue& pen);
    CFont* SelectZoomedFont(CDC* dc, const CGXFont& font);
    // Selects the style's font unless it equals the standard one; answers the font selected before.
    virtual CFont* LoadFont(CDC* dc, const CGXStyle* style, const CGXStyle* standard);

    // ---- Window messages, as the window part hands them on (FALSE: the default handling runs)
    virtual BOOL ProcessKeys(CWnd* sender, UINT message, UINT key, UINT repeat, UINT flags);
    virtual BOOL OnGridLButtonDown(UINT flags, POINT point);
    virtual BOOL OnGridLButtonUp(UINT flags, POINT point);
    virtual BOOL OnGridLButtonDblClk(UINT flags, POINT point);
    virtual BOOL OnGridMButtonDown(UINT flags, POINT point);
    virtual BOOL OnGridMButtonUp(UINT flags, POINT point);
    virtual BOOL OnGridMButtonDblClk(UINT flags, POINT point);
    virtual BOOL OnGridRButtonDown(UINT flags, POINT point);
    virtual BOOL OnGridRButtonUp(UINT flags, POINT point);
    virtual BOOL OnGridRButtonDblClk(UINT flags, POINT point);
    virtual BOOL OnGridMouseMove(UINT flags, POINT point);
    virtual BOOL OnGridSetCursor(UINT hitTest, UINT message);
    virtual BOOL OnGridSize(UINT type, int cx, int cy);
    // Hiding forgets the last size, so that the next size change repaints everything.
    virtual void OnGridShowWindow(BOOL show, UINT status);
    virtual void OnGridSetFocus(CWnd* oldWnd);
    virtual void OnGridKillFocus(CWnd* newWnd);
    virtual UINT OnGridGetDlgCode(UINT code);
    virtual void OnGridCancelMode();
    virtual BOOL OnGridMouseActivate(CWnd* desktop, UINT hitTest, UINT message, int& result);
    virtual void OnGridSysColorChange();
    virtual void OnGridWinIniChange(LPCTSTR section);
    virtual void OnGridTimer(UINT_PTR timerId);
    virtual BOOL OnGridVScroll(UINT code, UINT position, CWnd* scrollBar);
    virtual BOOL OnGridHScroll(UINT code, UINT position, CWnd* scrollBar);
    // Child windows of the current cell get the cell's colours and background brush.
    virtual HBRUSH OnGridCtlColor(CDC* dc, CWnd* wnd, UINT kind);
    virtual BOOL OnGridDestroy() { return FALSE; }
    virtual BOOL OnGridCommand(WPARAM wParam, LPARAM lParam);
    virtual BOOL PreTranslateGridMessage(MSG* msg);
    // The grid window gained (TRUE) or lost the focus to a window outside it. Losing it stores the edit of
    // the current cell; FALSE when that failed or the grid is busy validating.
    virtual BOOL OnActivateGrid(BOOL activate);
    // Offers a window message to the plug-ins first; TRUE when one took it (the grid skips it).
    virtual BOOL ProcessPluginMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
    // The grid owns the plug-in; it borrows the grid window's handle.
    void AddPlugin(CGXPluginComponent* plugin);
    // Cell tips: the grid owns the handler; it sees the pointer only while cell tips are enabled.
    void SetCellTipHandler(CGXAbstractCellTipHandler* handler);
    CGXAbstractCellTipHandler* GetCellTipHandler() const { return m_pCellTip.get(); }
    void EnableCellTips(BOOL enable);
    BOOL GetCellTipsEnabled() const { return m_bCellTips; }
    // A shown tip would stay over a cell that scrolled away.
    void HideCellTip() {
        if (m_pCellTip) {
            m_pCellTip->Hide(this);
        }
    }
    // The three phases of a click on a cell (phase: 4 down, 8 move, 0x10 up, with 0x40 on the pressed
    // cell or 0x20 just off it).
    virtual BOOL ProcessClick(GridButton button, ROWCOL pressRow, ROWCOL pressCol, ROWCOL row, ROWCOL col,
                              POINT point, UINT flags, WORD phase);
    WORD GetButtonState() const { return m_wButtonState; }
    BOOL m_bNoMouseOver = TRUE;
    virtual BOOL QueryParamFlag();
    // Takes the grid's name from its tab, through the tab window's interface.
    virtual void UpdateTabName(WPARAM index);
    virtual BOOL OnValidateCurrentCellRequest(WPARAM);
    // While locked (a tab window resizing), size changes leave the window alone; unlocking repaints it.
    void LockSizeRedraw(BOOL lock);
    // Kinds 0-3 first, previous, next and last record; 4 the record n.
    virtual void MoveToRecord(int kind, LONG n);

    // ---- Keys
    virtual BOOL OnGridKeyDown(UINT key, UINT repeat, UINT flags);
    virtual BOOL OnGridChar(UINT key, UINT repeat, UINT flags);
    virtual BOOL OnGridCharText(const CString&, UINT, UINT) { return FALSE; }
    virtual BOOL OnGridSysKeyDown(UINT key, UINT repeat, UINT flags);
    // Directions: 1 up, 2 left, 3 down, 4 right, 5 page down, 6 page up, 7 first row, 8 last row, 9 first
    // column, 10 last column, 11 first cell, 12 last cell.
    virtual BOOL ProcessMoveKey(int direction, int count);
    BOOL MoveCurrentCell(int direction, int count = 1, BOOL select = TRUE);
    // Searches from the cell itself for one that may become current (directions 1-4).
    virtual BOOL CalcNextCell(int direction, ROWCOL& row, ROWCOL& col);
    virtual void ScrollRequest(int direction, ROWCOL count);
    // The key auto-repeat of held navigation keys; off by default.
    BOOL m_bKeyAutoRepeat = FALSE;
    virtual void ShowScrollBar(int bar, BOOL show);

    // Undo state the command factory keeps with the grid: a block of commands is running (what the grid
    // records goes into the block, cell requests wait for its end), and the Edit menu's texts.
    struct DeferredUndoCell {
        BOOL pending = FALSE;
        BOOL setCurrent = FALSE;
        ROWCOL row = 0;
        ROWCOL col = 0;
    };
    BOOL m_bBlockCmdExecuting = FALSE;
    DeferredUndoCell m_deferredUndoCell;
    CString m_strUndoFormat;
    CString m_strRedoFormat;

    // Engine state read by derived grids and the window part.
    int m_nHitTolerance = 8;
    BOOL m_bLimitRowHeight = TRUE;
    BOOL m_bLimitColWidth = TRUE;
    BOOL m_bHitSelectionFrame = FALSE;
    UINT m_nForcedCursor = 0;
    ROWCOL m_nSplitterRow = 0;
    ROWCOL m_nSplitterCol = 0;

protected:
    // Records a command made by the undo feature (nothing for null).
    void RecordCommand(CObject* command, int ctCmd);
    void LookupBaseStylesAgain();
    void SendTopRowHint(ROWCOL row, UINT flags, BOOL hint);
    void SendLeftColHint(ROWCOL col, UINT flags, BOOL hint);
    CRect PaintClipRect(CDC* dc);
    void DrawVisibleCells(CDC* dc, const CRect& clip);
    void PaintDirect(CDC* dc);
    void PaintWithMemDC(CDC* dc);
    void FillDrawTable(GridDrawTable& table, ROWCOL top, ROWCOL left, ROWCOL bottom, ROWCOL right, CDC* dc);
    void PrepareTableCell(GridDrawTable& table, ROWCOL i, ROWCOL j);
    void DrawTable(GridDrawTable& table);
    void DrawTableRowBackground(GridDrawTable& table, ROWCOL i);
    void DrawTableCell(GridDrawTable& table, ROWCOL i, ROWCOL j);
    void DrawTableRowBorders(GridDrawTable& table, ROWCOL i);
    void DrawTableColBorders(GridDrawTable& table, ROWCOL j);
    void DrawTableBorders(GridDrawTable& table, ROWCOL index, BOOL column);
    CGXPenValue SidePen(const GridDrawTable& table, ROWCOL i, ROWCOL j, int side, BOOL linesOn, BOOL boundary);
    void FreeGdiCache();
    BOOL PrepareButton(GridButton button, UINT flags, POINT point, int& hit, ROWCOL& row, ROWCOL& col);
    CGXAbstractGridExcelLikeFillImp* FillHandle();
    BOOL ButtonDown(GridButton button, UINT flags, POINT point);
    BOOL ButtonUp(GridButton button, UINT flags, POINT point);
    BOOL ButtonDblClk(GridButton button, UINT flags, POINT point);
    void CoveredTopLeft(ROWCOL& row, ROWCOL& col);
    // The current cell's control hears of a scroll before it happens.
    void TellControlOfScroll(BOOL vertical);
    WORD ClickPhase(WORD phase, ROWCOL row, ROWCOL col) const;
    POINT ClampToGrid(POINT point);
    ROWCOL LastUsefulFirst(BOOL vertical, int room);
    BOOL OnGridScroll(BOOL vertical, UINT code, UINT position);
    void OnEscapeKey();
    void OnEditKey();
    BOOL IsCellEnabledForMove(ROWCOL row, ROWCOL col);

    // Converts between pixels and the stored thousandths of a line or character.
    LONG RowPixelsToStored(int pixels) const;
    int RowStoredToPixels(LONG stored) const;
    LONG ColPixelsToStored(int pixels) const;
    int ColStoredToPixels(LONG stored) const;
    // Where the current cell goes when rows or columns before it come or go.
    // `index` is the current row or column.
    void ShiftCurrentCell(ROWCOL& index, ROWCOL from, ROWCOL to, BOOL inserted, ROWCOL count);
    void RedrawWithScrollbarsLocked(UINT flags);
    void RepaintNewStrips(BOOL everything, int cx, int cy);
    // The next size change repaints the whole window.
    void ResetSizeState();

    GridLibraryState* m_pAppState;
    CWnd* m_pGridWnd;
    CDocument* m_pDocument;
    DWORD m_dwReserved;
    BOOL m_bUpdateViews = FALSE;
    CGXFeatureObject* m_features[kGridFeatureCount] = {};
    std::list<std::unique_ptr<CGXFeatureObject>> m_autoDeleteList;
    std::unique_ptr<CGXAbstractCellTipHandler> m_pCellTip;
    std::vector<CGXPluginComponent*> m_pluginList;
    BOOL m_bCellTips = FALSE;

    CGXGridParam* m_pParam = nullptr;
    BOOL m_bOwnParam = FALSE;
    BOOL m_bInitDone = FALSE;
    CRuntimeClass* m_pStyleClass = nullptr;
    CRuntimeClass* m_pDataClass;
    const CGXStyle* m_pStandardStyle = nullptr;
    const CGXStyle* m_pColHeaderStyle = nullptr;
    const CGXStyle* m_pRowHeaderStyle = nullptr;

    CGXControl* m_pDefaultControl = nullptr;
    CGXControl* m_pLastControl = nullptr;
    WORD m_nLastControlId = 0;
    std::map<WORD, CGXControl*> m_controlMap;

    ROWCOL m_nTopRow = 1;
    ROWCOL m_nLeftCol = 1;
    ROWCOL m_nPrintTopRow = 1;
    ROWCOL m_nPrintLeftCol = 1;
    ROWCOL m_nLastVisibleRow = kGridNoRowCol;
    ROWCOL m_nLastVisibleCol = kGridNoRowCol;
    int m_nScrollWord = 0;

    ROWCOL m_nCurrentRow = 0;
    ROWCOL m_nCurrentCol = 0;
    BOOL m_bCurrentCellValid = FALSE;
    CGXControl* m_pCurrentCellControl = nullptr;

    std::map<std::pair<ROWCOL, ROWCOL>, CGXStyle*> m_styleCache;
    std::list<CGXStyle*> m_styleFreeList;
    std::unique_ptr<CGXStyle> m_pCurrentCellStyle;
    std::unique_ptr<CGXStyle> m_pValueScratch;
    BOOL m_bCacheCurrentCellStyle = TRUE;
    BOOL m_bSuspendCurrentCellStyle = FALSE;
    BOOL m_bLookupValueOnly = FALSE;
    BOOL m_bInSetStyleRange = FALSE;
    BOOL m_bRecalcDrawing = FALSE;
    int m_nDrawingDepth = 0;
    GridDrawTable* m_pDrawTable = nullptr;
    BOOL m_bPaintWithMemDC = FALSE;
    std::vector<CRect> m_excludedFromPaint;
    BOOL m_bScrollbarsChanged = FALSE;
    BOOL m_bDrawCellBackground = FALSE;
    BOOL m_bInvertCurrentCellOnce = FALSE;
    CGXPenValue m_gridLinePen;
    int m_nTrackingLineStyle = PS_DASH;
    std::map<ULONGLONG, std::unique_ptr<CFont>> m_fontCache;
    std::map<ULONGLONG, std::unique_ptr<CBrush>> m_brushCache;
    std::map<ULONGLONG, std::unique_ptr<CPen>> m_penCache;
    std::unique_ptr<CClientDC> m_pClientDC;
    CFont* m_pOldGridDCFont = nullptr;
    CString m_strWarningText;
    BOOL m_bValidatingCell = FALSE;
    BOOL m_bSizeLocked = FALSE;
    BOOL m_bValidationFailed = FALSE;
    BOOL m_bWarningShown = FALSE;
    BOOL m_bFocusLostWhileStoring = FALSE;
    BOOL m_bGridActive = FALSE;
    BOOL m_bSettingFocus = FALSE;
    WORD m_wButtonState = 0;
    UINT m_nButtonFlags = 0;
    ROWCOL m_nPressRow = 0;
    ROWCOL m_nPressCol = 0;
    ROWCOL m_nLastMoveRow = 0;
    ROWCOL m_nLastMoveCol = 0;
    BOOL m_bMovedOffPressCell = FALSE;
    BOOL m_bAutoScrollStop = FALSE;
    CWnd* m_pLastFocusWnd = nullptr;
    // The client size less the scroll bars at the last size change (0: unknown), where the window was
    // and whether its frame was maximised: what the next size change keeps.
    int m_nLastWidth = 0;
    int m_nLastHeight = 0;
    CRect m_rectLastWindow;
    BOOL m_bFrameZoomed = FALSE;
    BOOL m_bPendingLead = FALSE;
    WCHAR m_storedLead = 0;
    BOOL m_bMovingCurrentCell = FALSE;
    ROWCOL m_nLastInitRow = kGridNoRowCol;
    ROWCOL m_nLastInitCol = kGridNoRowCol;

    int m_nZoom = 100;
    // Metrics start at the standard 15/10 so that no size conversion ever divides by zero.
    int m_nLineHeight = 15;
    int m_nCharWidth = 10;
    int m_nPrintLineHeight = 15;
    int m_nPrintCharWidth = 10;
    BOOL m_bPrinting = FALSE;
    CRect m_rectPrint;
    CRect m_rectGrid;
    BOOL m_bRectGridSet = FALSE;
    BOOL m_bLockScrollbars = FALSE;
    int m_nVScrollMode = 0;
    int m_nHScrollMode = 0;
    int m_nVScrollFactor = 2;
    int m_nHScrollFactor = 2;
    BOOL m_bInUpdateScrollbars = FALSE;
    ROWCOL m_nLastScrollRowCount = 0;
    ROWCOL m_nLastScrollColCount = 0;
    BOOL m_bAutoScrollStart = FALSE;
    BOOL m_bAutoScrollVert = FALSE;
    BOOL m_bAutoScrollHorz = FALSE;
    UINT_PTR m_nAutoScrollTimer = 0;

    int m_cxFrame = 0;
    int m_cyFrame = 0;
    int m_cxBorder = 0;
    int m_cyBorder = 0;
    HCURSOR m_hArrowCursor = nullptr;
    UINT m_nLastCursorId = 0;
    HCURSOR m_hLastCursor = nullptr;
};

// Hides the selection frame while rows or columns change; it comes back afterwards unless it was locked.
class CGXExcelLikeFrameLock {
public:
    explicit CGXExcelLikeFrameLock(CGXGridCore* grid) : m_grid(grid), m_old(grid->LockExcelLikeFrame(TRUE, TRUE)) {}
    ~CGXExcelLikeFrameLock() { m_grid->LockExcelLikeFrame(m_old, TRUE); }
    CGXExcelLikeFrameLock(const CGXExcelLikeFrameLock&) = delete;
    CGXExcelLikeFrameLock& operator=(const CGXExcelLikeFrameLock&) = delete;

private:
    CGXGridCore* m_grid;
    BOOL m_old;
};
