// A block of cells: a rectangle of cells, whole rows, whole columns or the whole table. Rows and columns
// compare unsigned. A rows range uses only top and bottom, a columns range only left and right, a table
// range none of the four; an invalid range names no cells.
#pragma once

#include "grid/GridDefs.h"

class CArchive;

class CGXRange {
public:
    enum Type : DWORD { kCells = 0, kRows = 1, kColumns = 2, kTable = 3 };

    // All fields 0: an invalid cells range.
    CGXRange() = default;
    CGXRange(ROWCOL top, ROWCOL left, ROWCOL bottom, ROWCOL right) { SetCells(top, left, bottom, right); }
    // A copy of the range, or an invalid one for null.
    explicit CGXRange(const CGXRange* range) {
        if (range) {
            *this = *range;
        }
    }
    CGXRange(const CGXRange&) = default;
    CGXRange& operator=(const CGXRange&) = default;
    bool operator==(const CGXRange&) const = default;

    // Each setter orders the given rows and columns and makes the range valid.
    CGXRange& SetCells(ROWCOL row1, ROWCOL col1, ROWCOL row2, ROWCOL col2);
    CGXRange& SetRows(ROWCOL row1, ROWCOL row2);
    CGXRange& SetCols(ROWCOL col1, ROWCOL col2);
    CGXRange& SetTable();
    // Fills the open sides from the grid's bounds and makes the range a cells range (a cells range keeps
    // its coordinates); the valid flag stays.
    CGXRange& ExpandToCells(ROWCOL top, ROWCOL left, ROWCOL bottom, ROWCOL right);

    BOOL ContainsCell(ROWCOL row, ROWCOL col) const;
    // This becomes the intersection of a and b; answers the valid flag.
    BOOL IntersectRanges(const CGXRange& a, const CGXRange& b);
    // This becomes the smallest range covering a and b; always valid.
    BOOL UnionRanges(const CGXRange& a, const CGXRange& b);

    BOOL IsValid() const { return valid != 0; }
    BOOL IsCells() const { return type == kCells; }
    BOOL IsRows() const { return type == kRows; }
    BOOL IsCols() const { return type == kColumns; }
    BOOL IsTable() const { return type == kTable; }

    DWORD type = kCells;
    ROWCOL top = 0;
    ROWCOL left = 0;
    ROWCOL bottom = 0;
    ROWCOL right = 0;
    DWORD valid = 0;
};

// Top, left, bottom and right as DWORDs, then the type and the valid flag as BYTEs.
void WriteRangeToArchive(CArchive& ar, const CGXRange& range);
void ReadRangeFromArchive(CArchive& ar, CGXRange& range);
