// What a grid shows: the row and column counts, a style for each cell that has one, and a base style per
// row and per column. Row 0 and column 0 are the headers; cells count from 1. Every operation is virtual so
// that a derived class can take its data from elsewhere.
#pragma once

#include "grid/CGXStyle.h"
#include "grid/CGXStylePtrArray.h"
#include "grid/GridDefs.h"
#include "platform/base/CObject.h"

class CArchive;
class CDWordArray;
class CGXGridParam;
class CGXRange;
class GridLibraryState;

class CGXData : public CObject {
    DECLARE_SERIAL(CGXData)
public:
    // Style kinds for StoreStyle and GetStyle.
    static constexpr int kBaseStyleKind = -1;
    // A stored cell value is checked for a number (StoreStyle with this kind).
    static constexpr int kDetectNumberKind = 1;

    CGXData();
    ~CGXData() override;

    // Through the application-wide document archive object.
    void Serialize(CArchive& ar) override;

    // Deletes every style; the counts stay.
    virtual void DeleteContents();
    // A copy of the other's counts and styles.
    virtual CGXData& operator=(const CGXData& other);
    // Called when a parameter object takes the data; nothing here.
    virtual void InitParam(CGXGridParam* param);
    virtual ROWCOL GetRowCount() const { return m_rowCount; }
    virtual ROWCOL GetColCount() const { return m_colCount; }
    // Rows beyond n are removed, or rows added after the last. TRUE.
    virtual BOOL SetRowCount(ROWCOL count);
    virtual BOOL SetColCount(ROWCOL count);
    // count empty rows (with their base styles) before `row`. TRUE.
    virtual BOOL InsertRows(ROWCOL row, ROWCOL count);
    virtual BOOL InsertCols(ROWCOL col, ROWCOL count);
    // Rows from..to (as many as there are); nothing when from is beyond the last row. TRUE.
    virtual BOOL RemoveRows(ROWCOL from, ROWCOL to);
    virtual BOOL RemoveCols(ROWCOL from, ROWCOL to);
    // The block from..to so that it begins at dest. TRUE.
    virtual BOOL MoveRows(ROWCOL from, ROWCOL to, ROWCOL dest);
    virtual BOOL MoveCols(ROWCOL from, ROWCOL to, ROWCOL dest);
    // Through the application-wide data copy and move object; FALSE without it.
    virtual BOOL CopyCells(CGXRange range, ROWCOL destRow, ROWCOL destCol);
    virtual BOOL MoveCells(const CGXRange* range, ROWCOL destRow, ROWCOL destCol, CObject** undoInfo,
                           BOOL createUndoInfo, int reserved);
    // Stores (mode 0-3) into a cell, or with kind -1 into the row base style (row not 0) or the column base
    // style; a null style removes. With kind 1 a value text that parses as a number gets the number type.
    virtual BOOL StoreStyle(ROWCOL row, ROWCOL col, const CGXStyle* style, int mode, int kind);
    // The stored style merged into `out` (mode 2 assigns); FALSE, `out` untouched, when there is none or the
    // cell lies beyond the counts.
    virtual BOOL GetStyle(ROWCOL row, ROWCOL col, CGXStyle& out, int mode, int kind) const;
    // Through the application-wide sort reordering object; FALSE without it.
    virtual BOOL MoveDataRows(const CGXRange& range, const CDWordArray& order);
    virtual BOOL MoveDataCols(const CGXRange& range, const CDWordArray& order);
    // Empties the value of the first scratch style; 0. The grid asks it whether a cell is one a derived
    // data source computes (a recalculation cell).
    virtual BOOL ResetValue(ROWCOL row, ROWCOL col);

    // Recalculation hooks for derived data sources that compute cell values; this class computes nothing.
    // The cell was drawn (flag 0).
    virtual void RecalcCellDrawn(ROWCOL, ROWCOL, int) {}
    // The cells of the range were stored.
    virtual void RecalcRangeChanged(const CGXRange&) {}
    virtual void RecalcPrepare(BOOL) {}
    virtual void RecalcFinish() {}
    // A text of what went wrong in the last recalculation; FALSE when there is none.
    virtual BOOL RecalcErrorText(CString&) { return FALSE; }
    // Bit 0x4: a recalculation could not start. The grid clears it before asking.
    static constexpr DWORD kRecalcCannotStart = 0x4;
    DWORD m_dwRecalcFlags = 0;

    // The stores, for the archive code and the copy and reordering features.
    CGXStylePtrArrayPtrArray& GetCells() { return m_cells; }
    CGXStylePtrArray& GetRowBaseStyles() { return m_rowBaseStyles; }
    CGXStylePtrArray& GetColBaseStyles() { return m_colBaseStyles; }
    const CGXStylePtrArrayPtrArray& GetCells() const { return m_cells; }
    const CGXStylePtrArray& GetRowBaseStyles() const { return m_rowBaseStyles; }
    const CGXStylePtrArray& GetColBaseStyles() const { return m_colBaseStyles; }
    // Sets the counts without touching the stores (the archive reader).
    void SetCounts(ROWCOL rows, ROWCOL cols) {
        m_rowCount = rows;
        m_colCount = cols;
    }

    CGXStyle m_scratchStyle1;
    CGXStyle m_scratchStyle2;
    GridLibraryState* m_pAppState;

private:
    ROWCOL m_rowCount = 0;
    ROWCOL m_colCount = 0;
    CGXStylePtrArrayPtrArray m_cells;
    CGXStylePtrArray m_rowBaseStyles;
    CGXStylePtrArray m_colBaseStyles;
};
