#include "receiver/SatelliteChannelTable.h"

void SatelliteChannelTables::Fill(SatelliteChannelTable& table) {
    table.fill(m_emptySatRow);
}

void SatelliteChannelTables::Reset() {
    Fill(m_satTable);
    Fill(m_satTableSorted);
    Fill(m_satTablePrevious);
    Fill(m_satTableShown);
}
