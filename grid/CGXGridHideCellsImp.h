// Hidden rows and columns: one bit per index in the parameter object's two byte arrays (bit n is byte n / 8,
// bit n mod 8, least significant first; bits past the end are 0). A hidden row or column has size 0; the
// marks follow the rows and columns when they are inserted, removed or moved.
#pragma once

#include "grid/GridCoreFeatures.h"

class CByteArray;

// Grows the array to hold bit n, then sets or clears it.
BOOL HiddenBitsSet(CByteArray& bits, ROWCOL n, BOOL value);
BOOL HiddenBitsTest(const CByteArray& bits, ROWCOL n);
// Bits first..last go and the later ones move down; the array ends after its last byte in use. Nothing
// when first lies past the array.
void HiddenBitsRemove(CByteArray& bits, ROWCOL first, ROWCOL last);
// count cleared bits at `at`, the bits from there moving up. Nothing when `at` lies past the array.
void HiddenBitsInsert(CByteArray& bits, ROWCOL at, ROWCOL count);
// The bits first..last move to dest, which is counted after taking them out.
void HiddenBitsMove(CByteArray& bits, ROWCOL first, ROWCOL last, ROWCOL dest);

class CGXGridHideCellsImp : public CGXAbstractGridHideCellsImp {
public:
    void RemoveRows(CGXGridCore* grid, ROWCOL from, ROWCOL to) override;
    void RemoveCols(CGXGridCore* grid, ROWCOL from, ROWCOL to) override;
    void InsertRows(CGXGridCore* grid, ROWCOL row, ROWCOL count) override;
    void InsertCols(CGXGridCore* grid, ROWCOL col, ROWCOL count) override;
    void MoveRows(CGXGridCore* grid, ROWCOL from, ROWCOL to, ROWCOL dest) override;
    void MoveCols(CGXGridCore* grid, ROWCOL from, ROWCOL to, ROWCOL dest) override;
    // A `to` of 0 means `from`; `hideArray` (one entry per row) overrides `hide`. FALSE when no row changed.
    BOOL HideRows(CGXGridCore* grid, ROWCOL from, ROWCOL to, BOOL hide, BOOL* hideArray, UINT flags,
                  int ctCmd) override;
    // A lower splitter pane hides the column headers, and printing without column headers row 0.
    BOOL IsRowHidden(CGXGridCore* grid, ROWCOL row) override;
    BOOL StoreHideRow(CGXGridCore* grid, ROWCOL row, BOOL hide) override;
    BOOL HideCols(CGXGridCore* grid, ROWCOL from, ROWCOL to, BOOL hide, BOOL* hideArray, UINT flags,
                  int ctCmd) override;
    BOOL IsColHidden(CGXGridCore* grid, ROWCOL col) override;
    BOOL StoreHideCol(CGXGridCore* grid, ROWCOL col, BOOL hide) override;

private:
    BOOL IsHidden(CGXGridCore* grid, BOOL rows, ROWCOL index);
    BOOL Hide(CGXGridCore* grid, BOOL rows, ROWCOL from, ROWCOL to, BOOL hide, const BOOL* hideArray, UINT flags,
              int ctCmd);
};
