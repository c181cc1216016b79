// Everything a grid shows and keeps apart from its window: the cell data, the styles map, the properties,
// the selection and covered cells, row heights and column widths, frozen and header rows and columns, the
// undo and redo lists and the switches that govern user interaction. A grid makes its own or is given one;
// the satellite-enable grid loads one from its layout resource. It owns its properties, styles map, data
// and print device, or only borrows them.
//
// The pools of the floating and merged cells and the print device belong to features above the grid
// library; the parameter object owns, archives and hands them on as objects.
#pragma once

#include "grid/CGXCollMapDWordToLong.h"
#include "grid/CGXRangeList.h"
#include "grid/GridContainers.h"
#include "grid/GridDefs.h"
#include "platform/base/CArrays.h"
#include "platform/base/CLists.h"
#include "platform/base/CMaps.h"
#include "platform/base/CObject.h"
#include "platform/base/CString.h"

class CArchive;
class CGXData;
class CGXProperties;
class CGXStylesMap;
class GridLibraryState;

class CGXGridParam : public CObject {
    DECLARE_SERIAL(CGXGridParam)
public:
    // Row 0's height and column 0's width in a new parameter object, and the defaults of the others, in
    // thousandths of a line and of a character.
    static constexpr LONG kHeaderRowHeight = 1400;
    static constexpr LONG kHeaderColWidth = 6000;
    static constexpr LONG kDefaultRowHeight = 1200;
    static constexpr LONG kDefaultColWidth = 10000;

    CGXGridParam();
    ~CGXGridParam() override;

    // Through the application-wide document archive object (the archive form, version 9).
    void Serialize(CArchive& ar) override;
    // Through the application-wide parameter copy object; nothing without it.
    virtual CGXGridParam& Assign(const CGXGridParam& other);

    // The covered-cell pool through the application-wide pool object, when there is none yet.
    void CreateCoveredCellPool();
    // Refills the covered-cell pool from the covered ranges.
    void RebuildCoveredCellPool();

    // Each deletes the current object when it owns it, then keeps the new one and flag.
    void SetProperties(CGXProperties* properties, BOOL own = TRUE);
    void SetStylesMap(CGXStylesMap* stylesMap, BOOL own = TRUE);
    void SetData(CGXData* data, BOOL own = TRUE);
    void SetPrintDevice(CObject* printDevice, BOOL own = TRUE);
    CGXProperties* GetProperties() const { return m_pProperties; }
    CGXStylesMap* GetStylesMap() const { return m_pStylesMap; }
    CGXData* GetData() const { return m_pData; }
    CObject* GetPrintDevice() const { return m_pPrintDevice; }

    CObList& GetUndoList() { return m_undoList; }
    CObList& GetRedoList() { return m_redoList; }
    void EmptyRedoList();
    void EnableUndo(BOOL enable) { m_bUndoEnabled = enable; }

    void SetSelectionFlags(WORD flags) { m_wSelectionFlags = flags; }
    BOOL TestSelectionFlags(WORD bits) const { return (m_wSelectionFlags & bits) != 0; }
    void SetColResizeFlags(WORD flags) { m_wColResizeFlags = flags; }
    void SetRowResizeFlags(WORD flags) { m_wRowResizeFlags = flags; }
    BOOL TestColResizeFlags(WORD bits) const { return (m_wColResizeFlags & bits) != 0; }
    BOOL TestRowResizeFlags(WORD bits) const { return (m_wRowResizeFlags & bits) != 0; }
    BOOL TestCurrentCellSelectFlags(WORD bits) const { return (m_wCurrentCellSelectFlags & bits) != 0; }
    BOOL IsDragColsEnabled() const { return m_bDragCols; }
    BOOL IsThumbTrackEnabled() const { return m_bThumbTrack; }
    BOOL GetTabFlag() const { return m_bTabFlag; }

    GridLibraryState* m_pAppState;
    BOOL m_bNumberRowHeaders = TRUE;
    BOOL m_bLetterColHeaders = TRUE;
    LONG m_nDropDownHeight = 100; // pixels of a drop-down list before it shrinks to its content
    BOOL m_bCheckActiveView = FALSE;
    BOOL m_bTransparentBackground = FALSE;
    WORD m_wRowUndoFlags = 3; // what undo keeps of removed rows and columns
    WORD m_wColUndoFlags = 3;
    LONG m_nMinTrackRowHeight = 0; // the smallest size the user can drag a row or column to
    LONG m_nMinTrackColWidth = 0;
    WORD m_wActivateCell = 1;
    WORD m_wSelectionFlags = 255;
    BOOL m_bDragCols = TRUE;
    BOOL m_bDragRows = TRUE;
    WORD m_wRowResizeFlags = 178;
    WORD m_wColResizeFlags = 178;
    WORD m_wCurrentCellSelectFlags = 0;
    BOOL m_bThumbTrack = TRUE;
    BOOL m_bReadOnlyProtectsData = TRUE;
    BOOL m_bSmartResize = TRUE;
    WORD m_wFloatCellsMode = 0;
    WORD m_wMergeCellsMode = 0;
    BOOL m_bUsePrinterMetrics = FALSE;
    WORD m_wCurrentCellDisplay = 2;
    WORD m_wComposeAllFirst = 0;
    ROWCOL m_nHeaderRows = 0;
    ROWCOL m_nHeaderCols = 0;
    BOOL m_bMoveScrollsAtTop = TRUE;
    CString m_strTabName;
    ROWCOL m_nFrozenRows = 0;
    ROWCOL m_nFrozenCols = 0;
    // The frozen block the freeze commands made: first column, count and where it came from; then rows.
    ROWCOL m_nFrozenColsStart = 0;
    ROWCOL m_nFrozenColsCount = 0;
    ROWCOL m_nFrozenColsOrigin = 0;
    ROWCOL m_nFrozenRowsStart = 0;
    ROWCOL m_nFrozenRowsCount = 0;
    ROWCOL m_nFrozenRowsOrigin = 0;
    BOOL m_bHintCurrentCell = FALSE;
    ROWCOL m_nSavedCurrentRow = 1;
    ROWCOL m_nSavedCurrentCol = 1;
    LONG m_nMaxUndoCount = 512;
    WORD m_nEnterKeyDirection = 4;
    CGXRangeList m_selectedRanges;
    CGXRangeList m_coveredRanges;
    CObject* m_pCoveredCellPool = nullptr;
    // The floating and merged cells' pools: spans on screen and while printing, merged runs along rows and
    // down columns, and the ranges still to be evaluated.
    CObject* m_pFloatCellsSpanPool = nullptr;
    CObject* m_pPrintFloatCellsSpanPool = nullptr;
    CObject* m_pMergeRowsSpanPool = nullptr;
    CObject* m_pMergeColsSpanPool = nullptr;
    CObject* m_pFloatCellsDelayedRanges = nullptr;
    CObject* m_pPrintFloatCellsDelayedRanges = nullptr;
    CObject* m_pMergeCellsDelayedRanges = nullptr;
    BOOL m_bOwnProperties = FALSE;
    CGXProperties* m_pProperties = nullptr;
    BOOL m_bOwnStylesMap = FALSE;
    CGXStylesMap* m_pStylesMap = nullptr;
    BOOL m_bOwnData = FALSE;
    CGXData* m_pData = nullptr;
    BOOL m_bOwnPrintDevice = FALSE;
    CObject* m_pPrintDevice = nullptr;
    BOOL m_bReadOnly = FALSE;
    BOOL m_bTabFlag = TRUE;
    CObList m_undoList;
    CObList m_redoList;
    LONG m_nTransactionLevel = 0;
    BOOL m_bUndoEnabled = TRUE;
    // One bit per row and per column: hidden.
    CByteArray m_abHiddenRows;
    CByteArray m_abHiddenCols;
    CGXMapDWordToLong m_rowHeights;
    CGXMapDWordToLong m_colWidths;
    LONG m_nDefaultRowHeight = kDefaultRowHeight;
    LONG m_nDefaultColWidth = kDefaultColWidth;
    BOOL m_bLockUpdate = FALSE;
    BOOL m_bGridLinesAtRightBottom = FALSE;
    WORD m_nGridLineStyle = 0;
    BOOL m_bSelectCurrentCell = FALSE;
    BOOL m_bExcelLikeFill = FALSE;
    BOOL m_bExcelLikeFrame = FALSE;
    BOOL m_bExcelLikeCurrentCell = FALSE;
    BOOL m_bSortRowsByColHeader = FALSE;
    BOOL m_bSortColsByRowHeader = FALSE;
    ROWCOL m_nLastSortRow = kGridNoRowCol;
    ROWCOL m_nLastSortCol = kGridNoRowCol;
    BOOL m_bLastSortAscending = FALSE;
    BOOL m_bInUse = FALSE; // set by a grid's first initialisation
    BOOL m_bDisableZoom = FALSE;
    BOOL m_bDirectCopyPaste = FALSE;
    BOOL m_bMarkRanges = FALSE;
    BOOL m_bDirectCutPaste = FALSE;
    BOOL m_bShowMarkedRanges = FALSE;
    CGXRangeList m_markedRanges;
    WORD m_wDisplayFlags = 0; // 0x2: edits and cells show the stored value, not the display text
    CGXRangeList m_recalcRanges;
    // Per unique choice list of the tabbed combo boxes: key-to-line and text-to-line maps, and a counter of
    // their changes.
    CGXPtrArrayPtrArray m_choiceKeyMaps;
    CGXPtrArrayPtrArray m_choiceTextMaps;
    LONG m_nChoiceMapsChanges = 0;
    // Objects kept for others by pointer; the parameter deletes them.
    CMapPtrToPtr m_objectMap;
};
