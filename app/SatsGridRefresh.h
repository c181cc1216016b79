// The refresh of the satellites grid's channel rows from the view's channel tables: each satellite's rising
// or setting trend, the channels not to show dropped, the rest sorted by the user's sort mode and written
// into grid rows 2 to 17, only the cells whose content changed.
#pragma once

#include "grid/GridDefs.h"
#include "platform/base/CString.h"
#include "platform/base/Win32Types.h"
#include "receiver/SatelliteChannelTable.h"

#include <cstddef>

class CGXStyle;
class CSatsDataGrid;

// Sorts `count` rows of `rowSize` bytes on the 32-bit field `column` (qsort: not stable), through
// CompareSatelliteRows; the column is kept program-wide for the comparison.
void SortSatelliteRows(void* rows, std::size_t count, std::size_t rowSize, int column);
// The stored column of two rows as signed integers: ascending, descending in sort modes 1 and 3.
int CompareSatelliteRows(const void* a, const void* b);

struct SatsGridRefreshResult {
    DWORD shownMask = 0;         // bit n-1 for each shown GPS satellite n (1 to 32)
    BOOL skyPlotChanged = FALSE; // a grid row changed
};

class SatsGridRefresh {
public:
    // Without a grid only the tables are worked out.
    SatsGridRefresh(SatelliteChannelTables& tables, CSatsDataGrid* grid, int interfaceMode)
        : m_tables(tables), m_grid(grid), m_interfaceMode(interfaceMode) {}

    SatsGridRefreshResult Run();

    // The caption of a used satellite's bar, and of a channel that is not used.
    static CString SatelliteText(const SatelliteChannelRow& row, int interfaceMode);
    static CString ChannelStateText(const SatelliteChannelRow& row, int interfaceMode);
    // What a grid row holds once emptied: no satellite, and -1 in the cells that were emptied.
    static constexpr SatelliteChannelRow kEmptiedRow{0, -1, -1, -1, 0, 0, 0};

private:
    void WorkOutTrends();
    BOOL IsShown(const SatelliteChannelRow& row) const;
    // Writes the row's changed cells; the first changed column, or 0.
    ROWCOL WriteRow(ROWCOL gridRow, const SatelliteChannelRow& row, SatelliteChannelRow& shown,
                    SatsGridRefreshResult& result);
    ROWCOL EmptyRow(ROWCOL gridRow, SatelliteChannelRow& shown);
    void Store(ROWCOL row, ROWCOL col, const CGXStyle& style);
    void RedrawFrom(ROWCOL row, ROWCOL firstCol);
    BOOL IsUbx() const;

    SatelliteChannelTables& m_tables;
    CSatsDataGrid* m_grid;
    int m_interfaceMode;
};
