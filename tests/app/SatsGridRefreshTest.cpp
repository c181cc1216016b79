// The channel rows' refresh: trends, the rows that are shown and their order, the cells written only where
// they changed, the captions of the bars, and the mask of shown GPS satellites.
#include "app/SatsGridRefresh.h"
#include "dialogs/CSatsDataGrid.h"
#include "grid/CGXGridParam.h"
#include "grid/CGXStyle.h"
#include "grid/CGXUserAttribute.h"
#include "grid/GridResourceIds.h"
#include "receiver/ReceiverState.h"
#include "tests/app/AppTestSupport.h"
#include "tests/app/GridTestHost.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace {

class CountingGrid : public CSatsDataGrid {
public:
    BOOL StoreStyleRowCol(ROWCOL row, ROWCOL col, const CGXStyle* style, int mode, int kind) override {
        ++stores;
        return CSatsDataGrid::StoreStyleRowCol(row, col, style, mode, kind);
    }
    int stores = 0;
};

constexpr int kUsed = kSatFlagUsed << 8;

// A used Oncore channel.
SatelliteChannelRow Sat(int prn, int elevation, int azimuth, int signal, int trend = 0, int state = kUsed) {
    return SatelliteChannelRow{prn, elevation, azimuth, signal, 1, state, trend};
}

class SatsGridRefreshTest : public ::testing::Test {
protected:
    SatsGridRefreshTest() {
        grid.SetParam(new CGXGridParam, TRUE);
        grid.Create(u"CGXGridWnd", u"", WS_CHILD | WS_VISIBLE, CRect(0, 0, 520, 420), &host, 7);
        grid.InitializeFromStyle();
        tables.m_satTable.fill(SatelliteChannelTables::m_emptySatRow);
    }
    ~SatsGridRefreshTest() override { grid.DestroyWindow(); }

    SatsGridRefreshResult Refresh(int interfaceMode = kModeMotorolaBinary) {
        grid.stores = 0;
        return SatsGridRefresh(tables, &grid, interfaceMode).Run();
    }
    std::vector<CString> Column(ROWCOL col, ROWCOL rows) {
        std::vector<CString> values;
        for (ROWCOL row = 2; row < 2 + rows; ++row) {
            values.push_back(grid.GetValueRowCol(row, col));
        }
        return values;
    }
    CString Caption(ROWCOL row) {
        return grid.LookupStyleRowCol(row, 6).GetUserAttribute(IDS_GRID_UA_PROGRESS_CAPTION).GetValue();
    }

    apptest::GridTestHost host;
    CountingGrid grid;
    SatelliteChannelTables tables;
};

TEST_F(SatsGridRefreshTest, RowsFollowTheSortMode) {
    struct Case {
        int mode;
        std::vector<CString> elevations;
    };
    // Elevations 10, 45, 30 at azimuths 300, 20, 150 and PRNs 7, 3, 5.
    const Case cases[] = {
        {0, {u"45", u"30", u"10"}}, // PRN 3, 5, 7
        {1, {u"45", u"30", u"10"}},
        {2, {u"45", u"30", u"10"}}, // azimuth 20, 150, 300
        {3, {u"10", u"45", u"30"}}, // signal 30, 20, 10
        {4, {u"10", u"45", u"30"}}, // the table's order
    };
    for (const Case& c : cases) {
        g_satelliteSortMode = c.mode;
        tables.m_satTable[0] = Sat(7, 10, 300, 30);
        tables.m_satTable[1] = Sat(3, 45, 20, 20);
        tables.m_satTable[2] = Sat(5, 30, 150, 10);
        Refresh();
        EXPECT_EQ(Column(2, 3), c.elevations) << "mode " << c.mode;
    }
    g_satelliteSortMode = 2;
    Refresh();
    EXPECT_EQ(Column(4, 3), (std::vector<CString>{u"20", u"150", u"300"}));
}

TEST_F(SatsGridRefreshTest, SecondIdenticalRefreshWritesNothing) {
    tables.m_satTable[0] = Sat(12, 40, 90, 35);
    tables.m_satTable[1] = Sat(15, 20, 200, 30);
    const SatsGridRefreshResult first = Refresh();
    EXPECT_GT(grid.stores, 0);
    EXPECT_TRUE(first.skyPlotChanged);
    const SatsGridRefreshResult second = Refresh();
    EXPECT_EQ(grid.stores, 0);
    EXPECT_FALSE(second.skyPlotChanged);
    EXPECT_EQ(second.shownMask, (1u << 11) | (1u << 14));
    EXPECT_FALSE(grid.GetParam()->m_bLockUpdate);
}

TEST_F(SatsGridRefreshTest, TrendComesFromTheElevationChange) {
    tables.m_satTable[0] = Sat(9, 30, 100, 30);
    Refresh();
    EXPECT_EQ(grid.GetValueRowCol(2, 3), CString(u""));
    tables.m_satTable[0] = Sat(9, 31, 100, 30);
    Refresh();
    EXPECT_EQ(tables.m_satTableSorted[0].trend, 1);
    EXPECT_EQ(grid.GetValueRowCol(2, 3), CString(TCHAR(0xAD)));
    // Level: the trend stays as it was.
    tables.m_satTable[0] = Sat(9, 31, 100, 30);
    Refresh();
    EXPECT_EQ(grid.GetValueRowCol(2, 3), CString(TCHAR(0xAD)));
    tables.m_satTable[0] = Sat(9, 29, 100, 30);
    Refresh();
    EXPECT_EQ(grid.GetValueRowCol(2, 3), CString(TCHAR(0xAF)));
}

TEST_F(SatsGridRefreshTest, UnusedChannelIsNotShownAndItsRowIsEmptied) {
    tables.m_satTable[0] = Sat(4, 50, 10, 33);
    Refresh();
    EXPECT_EQ(grid.GetValueRowCol(2, 1), CString(u"4"));
    tables.m_satTable[0] = Sat(4, 50, 10, 33, 0, 0); // flags 0x00: not used for the fix
    const SatsGridRefreshResult result = Refresh();
    EXPECT_EQ(tables.m_satTable[0].signal, 0);
    EXPECT_EQ(Column(1, 1), std::vector<CString>{u""});
    EXPECT_EQ(grid.GetValueRowCol(2, 5), CString(u""));
    EXPECT_EQ(result.shownMask, 0u);
    EXPECT_TRUE(result.skyPlotChanged);
}

TEST_F(SatsGridRefreshTest, OutOfRangeValuesLeaveTheOldCells) {
    tables.m_satTable[0] = Sat(6, 40, 90, 30);
    Refresh();
    tables.m_satTable[0] = Sat(6, 91, 360, 45);
    Refresh();
    EXPECT_EQ(grid.GetValueRowCol(2, 2), CString(u"40"));
    EXPECT_EQ(grid.GetValueRowCol(2, 4), CString(u"90"));
    EXPECT_EQ(grid.GetValueRowCol(2, 5), CString(u"30"));
    EXPECT_EQ(grid.GetValueRowCol(2, 6), CString(u"30"));
}

TEST_F(SatsGridRefreshTest, SatelliteCaptionsByInterfaceMode) {
    struct Case {
        int prn;
        int flags;
        int mode;
        const char16_t* caption;
    };
    const Case cases[] = {
        {195, 0x80, kModeMotorolaBinary, u"QZSS"},
        {195, 0x01, kModeUbloxUbx, u"QZSS"},
        {185, 0x80, kModeGenericNmea, u"QZSS"},
        {185, 0x01, kModeUbloxUbx, u""},
        {185, 0x00, kModeUbloxNmea, u"Not Used"},
        {12, 0x80 | 0x40 | 0x01, kModeMotorolaBinary, u"GPS, Momentum Alert, Parity Error"},
        {12, 0x80, 5, u""},
        {70, 0x11, kModeUbloxUbx, u"GLONASS, Unhealthy"},
        {140, 0x80, kModeMotorolaBinary, u"SBAS"},
    };
    for (const Case& c : cases) {
        SatelliteChannelRow row = Sat(c.prn, 10, 10, 30);
        row.SetModeAndFlags(8, c.flags);
        EXPECT_EQ(SatsGridRefresh::SatelliteText(row, c.mode), CString(c.caption)) << c.prn << " in mode " << c.mode;
    }
    SatelliteChannelRow idle = Sat(3, 10, 10, 0, 0, 0);
    EXPECT_EQ(SatsGridRefresh::ChannelStateText(idle, kModeMotorolaBinary), CString(u"Code Search"));
    idle.SetModeAndFlags(9, 0);
    EXPECT_EQ(SatsGridRefresh::ChannelStateText(idle, kModeMotorolaBinary), CString(u"Not Locked"));
    idle.SetModeAndFlags(2, 0x10);
    EXPECT_EQ(SatsGridRefresh::ChannelStateText(idle, kModeUbloxUbx), CString(u"Unhealthy"));
}

TEST_F(SatsGridRefreshTest, CaptionReachesTheBarAndOnlyGpsSatellitesTheMask) {
    g_interfaceMode = kModeGenericNmea;
    tables.m_satTable[0] = Sat(65, 20, 30, 25); // GLONASS
    tables.m_satTable[1] = Sat(1, 60, 30, 38);
    tables.m_satTable[2] = Sat(32, 5, 30, 12);
    g_satelliteSortMode = 4;
    const SatsGridRefreshResult result = Refresh(kModeGenericNmea);
    EXPECT_EQ(grid.GetValueRowCol(2, 1), CString(u"65"));
    EXPECT_EQ(Caption(2), CString(u"GLONASS"));
    EXPECT_EQ(Caption(3), CString(u"GPS"));
    EXPECT_EQ(result.shownMask, 0x80000001u);
    EXPECT_EQ(grid.LookupStyleRowCol(3, 6).GetBorders(kBorderRight).GetStyle(), 1u);
    EXPECT_EQ(grid.LookupStyleRowCol(6, 6).GetBorders(kBorderRight).GetStyle(), 5u);
}

} // namespace
