// An owning list of ranges: a grid's selection, covered cells or marked ranges. When rows or columns are
// inserted, removed or moved, the list adjusts its ranges so that they keep naming the same cells.
#pragma once

#include "grid/CGXRange.h"
#include "platform/base/CArrays.h"
#include "platform/base/CLists.h"

class CGXRangeList : public CPtrList {
    DECLARE_SERIAL(CGXRangeList)
public:
    CGXRangeList() : CPtrList(10) {}
    ~CGXRangeList() override { DeleteAll(); }

    // WORD version 1, DWORD count, the ranges; storing first drops the invalid ranges. Loading appends.
    void Serialize(CArchive& ar) override;
    // Copies of the other's valid ranges, each added at the head (so in reverse order).
    virtual CGXRangeList& Assign(const CGXRangeList& other);

    CGXRange* GetRangeAt(POSITION position) const {
        return static_cast<CGXRange*>(const_cast<CGXRangeList*>(this)->GetAt(position));
    }
    CGXRange* GetNextRange(POSITION& position) const {
        return static_cast<CGXRange*>(const_cast<CGXRangeList*>(this)->GetNext(position));
    }
    // The list owns the range from now on.
    POSITION AddRange(CGXRange* range) { return AddTail(range); }

    void DeleteAll();
    void DeleteAt(POSITION position);
    void RemoveInvalid();

    // Whether a range other than the one at `skip` holds the cell.
    BOOL ContainsCell(ROWCOL row, ROWCOL col, POSITION skip = nullptr) const;
    // The first range, from the head, holding the cell; null when none does.
    POSITION FindCell(ROWCOL row, ROWCOL col) const;

    void InsertRows(ROWCOL row, ROWCOL count);
    void InsertCols(ROWCOL col, ROWCOL count);
    // Ranges wholly in the removed rows become invalid; the others close the gap, limited to the new last.
    void RemoveRows(ROWCOL first, ROWCOL last, ROWCOL newLastRow);
    void RemoveCols(ROWCOL first, ROWCOL last, ROWCOL newLastCol);
    // Rows first..last move to begin at dest; each range follows its top row.
    void MoveRows(ROWCOL first, ROWCOL last, ROWCOL dest, ROWCOL lastRow);
    void MoveCols(ROWCOL first, ROWCOL last, ROWCOL dest, ROWCOL lastCol);

    // The sorted, joined row intervals the valid ranges cover (rows and table ranges only with rowsOnly);
    // FALSE, both arrays empty, when no range was taken.
    BOOL GetRowArray(ROWCOL lastRow, CDWordArray& starts, CDWordArray& ends, BOOL rowsOnly) const;
    BOOL GetColArray(ROWCOL lastCol, CDWordArray& starts, CDWordArray& ends, BOOL colsOnly) const;
};
