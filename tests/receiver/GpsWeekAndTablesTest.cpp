// GPS week dates, the LORAN line check and the satellite channel tables.
#include "receiver/GpsWeekToDate.h"
#include "receiver/SatelliteChannelTable.h"

#include <gtest/gtest.h>

#include <array>

namespace {

TEST(GpsWeekToDate, Table) {
    struct Case {
        WORD week;
        LONG seconds;
        int year, month, day, hour, minute, second;
    } cases[] = {
        {0, 0, 1980, 1, 6, 0, 0, 0},
        {0, 86399, 1980, 1, 6, 23, 59, 59},
        {0, 86400, 1980, 1, 7, 0, 0, 0},
        {1042, 6 * 86400, 2000, 1, 1, 0, 0, 0},
        {1042, 5 * 86400 + 86399, 1999, 12, 31, 23, 59, 59},
        {1060, 1 * 86400, 2000, 5, 1, 0, 0, 0}, // after 29 February of a 400-year leap year
        {1055, 3 * 86400 + 45296, 2000, 3, 29, 12, 34, 56},
        {2190, 604799, 2022, 1, 1, 23, 59, 59},
        {2191, 0, 2022, 1, 2, 0, 0, 0},
        {2399, 2 * 86400, 2025, 12, 30, 0, 0, 0},
        {2303, 345600, 2024, 2, 29, 0, 0, 0},
        {1929, 540000, 2016, 12, 31, 6, 0, 0}, // the last day of a four-year cycle
    };
    for (const Case& c : cases) {
        BYTE second, minute, hour, day, month;
        WORD year;
        GpsWeekToDate(c.week, c.seconds, &second, &minute, &hour, &day, &month, &year);
        EXPECT_EQ((std::array<int, 6>{year, month, day, hour, minute, second}),
                  (std::array<int, 6>{c.year, c.month, c.day, c.hour, c.minute, c.second}))
            << "week " << c.week << " seconds " << c.seconds;
    }
}

TEST(IsLoranLine, Table) {
    struct Case {
        const char16_t* line;
        BOOL loran;
    } cases[] = {
        {u"  AB12  ", TRUE}, {u"A,B", FALSE},          {u"AB CD", FALSE},    {u"", TRUE},
        {u" \t ", TRUE},     {u"\u00C9t\u00E9", TRUE}, {u"T0\u00B7", FALSE}, {u"1\u00852", FALSE},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(IsLoranLine(CString(c.line)), c.loran) << std::u16string(c.line).size();
    }
}

TEST(SatelliteChannelTables, StartAndResetToTheTemplateRow) {
    SatelliteChannelTables tables;
    for (const SatelliteChannelTable* t : {&tables.m_satTable, &tables.m_satTableSorted,
                                           &tables.m_satTablePrevious, &tables.m_satTableShown}) {
        for (const SatelliteChannelRow& row : *t) {
            EXPECT_EQ(row, (SatelliteChannelRow{256, 0, 0, 0, 0, 0, 0}));
        }
    }
    tables.m_satTable[3].SetModeAndFlags(8, kSatFlagUsed | kSatFlagUnhealthy);
    EXPECT_EQ(tables.m_satTable[3].state, 0x9008);
    EXPECT_EQ(tables.m_satTable[3].Mode(), 8);
    EXPECT_EQ(tables.m_satTable[3].Flags(), 0x90);
    tables.m_satTableShown[15].elevation = -1;
    tables.Reset();
    EXPECT_EQ(tables.m_satTable[3], SatelliteChannelTables::m_emptySatRow);
    EXPECT_EQ(tables.m_satTableShown[15], SatelliteChannelTables::m_emptySatRow);
}

} // namespace
