// The drawing table of one pass of the grid's cell-drawing loop: the visible rows and columns it draws,
// their pixel positions, each cell's composed style and flags. The spanned-cell drawing marks and draws the
// cells of covered (merged, floated) ranges in it.
#pragma once

#include "grid/GridDefs.h"
#include "platform/base/Win32Types.h"
#include "platform/base/CRect.h"

#include <vector>

class CDC;
class CGXControl;
class CGXStyle;

// Cell flags of the drawing table.
constexpr WORD kCellBorderLeft = 0x0001;
constexpr WORD kCellBorderRight = 0x0002;
constexpr WORD kCellBorderTop = 0x0004;
constexpr WORD kCellBorderBottom = 0x0008;
constexpr WORD kCellSelected = 0x0010;
constexpr WORD kCellOwnBackground = 0x0020;
// The cell belongs to a spanned range; with kCellSpanDrawnElsewhere the range's first visible cell draws it.
constexpr WORD kCellSpanned = 0x0040;
constexpr WORD kCellSpanCovered = 0x0080;
constexpr WORD kCellSpanDrawnElsewhere = 0x0100;
constexpr WORD kCellHorzLine = 0x0200;
constexpr WORD kCellVertLine = 0x0400;
constexpr WORD kCellFrozenColsEdge = 0x0800;
constexpr WORD kCellFrozenRowsEdge = 0x1000;

struct GridDrawTable {
    ROWCOL rows = 0; // n visible rows drawn, m columns
    ROWCOL cols = 0;
    ROWCOL firstRow = 0; // first visible indices
    ROWCOL firstCol = 0;
    std::vector<int> heights, ys, widths, xs;
    std::vector<ROWCOL> gridRows, gridCols; // n + 1 and m + 1 entries
    std::vector<const CGXStyle*> styles;
    std::vector<WORD> flags;
    CDC* dc = nullptr;
    BOOL invertSelected = FALSE;
    BOOL keepColours = TRUE;
    CRect currentFrame;
    CGXControl* currentControl = nullptr;
    BOOL frameDrawn = FALSE;
    BOOL spansPresent = FALSE;

    size_t Cell(ROWCOL i, ROWCOL j) const { return static_cast<size_t>(i) * cols + j; }
    CRect CellRect(ROWCOL i, ROWCOL j) const {
        return CRect(xs[j], ys[i], xs[j] + widths[j], ys[i] + heights[i]);
    }
};

