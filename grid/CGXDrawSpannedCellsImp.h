// Drawing covered, merged and floated ranges as single cells. The first visible table cell of a range marks
// the range's other visible cells (they draw nothing themselves) and draws the range's top-left cell over
// the whole range's rectangle, clipped to what is visible: a range half scrolled out still shows its text
// where it would be with the whole range on screen.
#pragma once

#include "grid/GridCoreFeatures.h"

class CGXDrawSpannedCellsImp : public CGXAbstractDrawSpannedCellsImp {
public:
    BOOL PrepareSpannedCell(CGXGridCore* grid, GridDrawTable& table, ROWCOL i, ROWCOL j) override;
    BOOL DrawSpannedCell(CGXGridCore* grid, GridDrawTable& table, ROWCOL i, ROWCOL j) override;
    // Merged and then floated cells are evaluated in each of the four pane areas the range meets.
    BOOL EvaluateSpansForDrawing(CGXGridCore* grid, const CGXRange& range, ROWCOL lastFrozenRow,
                                 ROWCOL lastFrozenCol, ROWCOL topRow, ROWCOL leftCol, ROWCOL lastRow,
                                 ROWCOL lastCol, BOOL a, CGXRange* b, UINT c) override;
};
