// The covered cells of a grid parameter object: its list of covered ranges and the pool that indexes them.
// These are the data-side rules the grid's covered-cells feature applies (it adds the read-only lock, undo,
// redrawing and the current cell): storing, finding and growing ranges, and what removing rows or columns
// does to them.
#pragma once

#include "grid/CGXRange.h"
#include "grid/GridDefs.h"

#include <vector>

class CGXGridParam;

namespace GridCoveredRanges {

// Rows and columns from here on are never covered.
constexpr ROWCOL kFirstUncoverable = 0x7FFFFFFF;

// The covered range holding the cell; FALSE, out untouched, when none does.
BOOL Find(const CGXGridParam& param, ROWCOL row, ROWCOL col, CGXRange& out);

// Covering: a range that would overlap another covered range, or the same range again, is refused; a range
// starting where one starts with another extent replaces it in place (it may grow, not shrink: a range
// reaching beyond the new one counts as overlapping). Uncovering (cover FALSE) removes the range that starts
// exactly at top, left. TRUE when the list changed.
BOOL Store(CGXGridParam& param, ROWCOL top, ROWCOL left, ROWCOL bottom, ROWCOL right, BOOL cover);

// The range grown until every covered range it meets lies wholly inside it.
void ExpandToCoveredCells(const CGXGridParam& param, CGXRange& range);

// What removing rows first..last (or columns) does to the covered ranges: each change is a range to set
// through the grid's covering (a one-cell range uncovers). A range that ends inside the removed rows keeps
// its part above them; one whose top row is removed is uncovered.
std::vector<CGXRange> ChangesForRemovedRows(const CGXGridParam& param, ROWCOL first, ROWCOL last);
std::vector<CGXRange> ChangesForRemovedCols(const CGXGridParam& param, ROWCOL first, ROWCOL last);

} // namespace GridCoveredRanges
