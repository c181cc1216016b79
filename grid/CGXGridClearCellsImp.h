// Clearing cells: the values of the selected (or given) cells, or their whole stored styles, as one undo
// step that a failure or the user's abort takes back.
#pragma once

#include "grid/GridCoreFeatures.h"

class CGXRange;

class CGXGridClearCellsImp : public CGXAbstractGridClearCellsImp {
public:
    // FALSE while the grid is read-only; else whether there is a current cell or a selection to clear.
    BOOL CanClear(CGXGridCore* grid) override;
    // The selection, or the current cell when nothing is selected.
    BOOL Clear(CGXGridCore* grid, BOOL styleOnly) override;
    // styleOnly removes the cells' stored styles (values and formats alike); otherwise every cell that shows
    // a value gets an empty one and the rest are left alone. Only the cells inside the grid's counts and
    // outside the headers are touched.
    BOOL ClearCells(CGXGridCore* grid, const CGXRangeList& ranges, BOOL styleOnly) override;

protected:
    // One cell's value, through its control; FALSE when it cannot be cleared (a read-only cell).
    virtual BOOL ClearValue(CGXGridCore* grid, ROWCOL row, ROWCOL col);

private:
    BOOL ClearBlock(CGXGridCore* grid, const CGXRange& block, BOOL styleOnly);
};
