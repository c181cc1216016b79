// The grid's covered cells: a block of cells shown as one, its top-left cell's style and value filling it.
// The parameter object keeps the ranges and their pool (GridCoveredRanges); this feature adds what the grid
// does around them: the read-only lock, the undo record, redrawing, keeping the current cell on a block's
// top-left cell and following row and column removal.
#pragma once

#include "grid/CGXRange.h"
#include "grid/GridCoreFeatures.h"

#include <vector>

class CGXGridCoveredCellsImp : public CGXAbstractGridCoveredCellsImp {
public:
    // A one-cell range uncovers the range starting there.
    BOOL SetCoveredCellsRowCol(CGXGridCore* grid, ROWCOL top, ROWCOL left, ROWCOL bottom, ROWCOL right,
                               UINT flags, int ctCmd) override;
    CGXRange* GetCoveredCellsRowCol(CGXGridCore* grid, ROWCOL row, ROWCOL col, CGXRange& range) override;
    BOOL StoreCoveredCellsRowCol(CGXGridCore* grid, ROWCOL top, ROWCOL left, ROWCOL bottom, ROWCOL right,
                                 BOOL set) override;
    void UpdateCoveredCellsRowCol(CGXGridCore* grid, ROWCOL top, ROWCOL left, ROWCOL bottom, ROWCOL right,
                                  UINT flags, BOOL hint) override;
    // TRUE when the range grew.
    BOOL ExpandRangeByCoveredCells(CGXGridCore* grid, CGXRange& range) override;
    // Before rows are removed: a range losing its top row is uncovered, one losing its bottom rows keeps
    // the part above them. `flags` becomes 1 when anything changed.
    void RemoveCoveredRows(CGXGridCore* grid, ROWCOL from, ROWCOL to, UINT& flags, int ctCmd) override;
    void RemoveCoveredCols(CGXGridCore* grid, ROWCOL from, ROWCOL to, UINT& flags, int ctCmd) override;

private:
    void ApplyRemovalChanges(CGXGridCore* grid, const std::vector<CGXRange>& changes, UINT& flags);
};
