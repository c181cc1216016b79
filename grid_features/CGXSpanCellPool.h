// Which cells are joined into one drawn span: runs of cells in a row (horizontal spans) and runs of cells
// in a column (vertical spans). Each cell's entry holds the first column (or row) of its span; a span is the
// run of equal entries from the looked-up cell on. The pool caches evaluated spans of floating and merged
// cells: it never renumbers what it stores, its callers shift the entries as rows and columns change.
#pragma once

#include "grid/GridFeatureInterfaces.h"
#include "grid_features/CGXDWordArrayPtrArray.h"

class CGXRange;

class CGXSpanCellPool : public CObject {
    DECLARE_SERIAL(CGXSpanCellPool)
public:
    CGXSpanCellPool() = default;
    CGXSpanCellPool(const CGXSpanCellPool&) = delete;
    CGXSpanCellPool& operator=(const CGXSpanCellPool&) = delete;

    // HorzSpans, then VertSpans.
    void Serialize(CArchive& ar) override;

    // Fills left and right (horizontal span) and top and bottom (vertical span) of the range and leaves the
    // rest as the caller set it. TRUE when either direction holds a span.
    virtual BOOL GetSpanCellsRowCol(ROWCOL row, ROWCOL col, CGXRange& range) const;
    // With set: the block becomes one span in each direction in which it is more than one cell long.
    // Without: removes the spans that begin at left (rows top..bottom) and at top (columns left..right).
    // TRUE when anything changed.
    virtual BOOL SetSpanCellsRowCol(ROWCOL top, ROWCOL left, ROWCOL bottom, ROWCOL right, BOOL set);
    virtual BOOL InsertRows(ROWCOL row, ROWCOL count);
    virtual BOOL RemoveRows(ROWCOL first, ROWCOL last);
    virtual BOOL MoveRows(ROWCOL first, ROWCOL last, ROWCOL dest);
    virtual BOOL InsertCols(ROWCOL col, ROWCOL count);
    virtual BOOL RemoveCols(ROWCOL first, ROWCOL last);
    virtual BOOL MoveCols(ROWCOL first, ROWCOL last, ROWCOL dest);
    virtual CGXSpanCellPool& Assign(const CGXSpanCellPool& other);
    void DeleteAll();

    // Indexed by column, then row.
    CGXDWordArrayPtrArray m_VertSpans;
    // Indexed by row, then column.
    CGXDWordArrayPtrArray m_HorzSpans;
};

// Creates, copies and shifts the grid parameter's span pools.
class CGXSpanCellPoolImp : public CGXAbstractSpanCellPoolImp {
public:
    CObject* ClonePool(const CObject* source) override;
    CObject* CreatePool() override;
    void CopyPool(CObject* dest, const CObject* source) override;
    void InsertRows(CObject* pool, ROWCOL row, ROWCOL count) override;
    void RemoveRows(CObject* pool, ROWCOL first, ROWCOL last) override;
    void MoveRows(CObject* pool, ROWCOL first, ROWCOL last, ROWCOL dest) override;
    void InsertCols(CObject* pool, ROWCOL col, ROWCOL count) override;
    void RemoveCols(CObject* pool, ROWCOL first, ROWCOL last) override;
    void MoveCols(CObject* pool, ROWCOL first, ROWCOL last, ROWCOL dest) override;
    void DeleteAll(CObject* pool) override;
};

void InstallSpanCellPool();
