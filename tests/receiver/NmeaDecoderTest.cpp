// The NMEA decoder's effects on the view, sentence kind by sentence kind.
#include "receiver/NmeaDecoder.h"
#include "tests/receiver/DecoderTestSupport.h"

#include <gtest/gtest.h>

namespace {

using namespace decoder_test;

struct NmeaFixture : ::testing::Test {
    RecordingView view;
    NmeaDecoder decoder{view};

    BOOL Decode(const char16_t* sentence) { return decoder.DecodeNmeaSentence(sentence); }
};

TEST(NextNmeaField, DefaultsTrimmingAndRemainder) {
    struct Case {
        std::u16string sentence, defaultText, field, rest;
    } cases[] = {
        {u"", u"d", u"d", u""},     {u",x", u"d", u"d", u"x"},        {u"  ,x", u"d", u"", u"x"},
        {u"a,b", u"d", u"a", u"b"}, {u" a ,b,c", u"d", u"a", u"b,c"}, {u"last", u"d", u"last", u""},
        {u"  ", u"d", u"", u""},    {u",", u" ", u"", u""},
    };
    for (const Case& c : cases) {
        CString sentence(c.sentence);
        EXPECT_EQ(NmeaDecoder::NextNmeaField(sentence, c.defaultText.c_str()).str(), c.field)
            << Narrow(c.sentence);
        EXPECT_EQ(sentence.str(), c.rest) << Narrow(c.sentence);
    }
}

TEST_F(NmeaFixture, ZdaTakesTheNextTickTimeAndSetsTheClockWithoutTick) {
    EXPECT_TRUE(Decode(u"$GPZDA,235959.60,31,12,2024,00,00"));
    // 59.6 s rounds into the next minute; the tick comes one second after that.
    EXPECT_EQ(view.rxTime.GetTime(), Utc(2025, 1, 1, 0, 0, 1));
    EXPECT_FLOAT_EQ(view.rxSeconds, 59.6f);
    EXPECT_EQ(view.clockSyncs, (std::vector<__time64_t>{Utc(2025, 1, 1, 0, 0, 0)}));
    EXPECT_EQ(view.clockDisplays, 1);
    EXPECT_TRUE(view.decoderTicks);
    EXPECT_TRUE(view.zdaSinceTick);
    EXPECT_FALSE(view.tickSinceZda);

    // A tick came: the next ZDA only prepares the time.
    view.tickSinceZda = TRUE;
    view.tickHandled = TRUE;
    view.zdaSinceTick = FALSE;
    EXPECT_TRUE(Decode(u"$GPZDA,000001.00,01,01,2025,00,00"));
    EXPECT_EQ(view.rxTime.GetTime(), Utc(2025, 1, 1, 0, 0, 2));
    EXPECT_EQ(view.clockSyncs.size(), 1u);
    EXPECT_FALSE(view.tickHandled);
    EXPECT_FALSE(view.tickSinceZda);
}

TEST_F(NmeaFixture, ZdaRepeatIsIgnoredAndNotLogged) {
    EXPECT_TRUE(Decode(u"$GPZDA,120000.00,10,02,2021,00,00"));
    const auto rx = view.rxTime.GetTime();
    const std::size_t logged = view.pvtLines.size();
    EXPECT_TRUE(Decode(u"$GPZDA,120000.00,10,02,2021,00,00"));
    EXPECT_EQ(view.rxTime.GetTime(), rx);
    EXPECT_EQ(view.clockSyncs.size(), 1u);
    EXPECT_EQ(view.pvtLines.size(), logged);
}

TEST_F(NmeaFixture, ZdaInvalidFieldsLeaveTheTime) {
    view.rxTime = CTime(Utc(2020, 5, 5, 5, 5, 5));
    for (const char16_t* bad : {u"$GPZDA,240000.00,10,02,2021,00,00", u"$GPZDA,126000.00,10,02,2021,00,00",
                                u"$GPZDA,120000.00,32,02,2021,00,00", u"$GPZDA,120000.00,10,13,2021,00,00",
                                u"$GPZDA,120000.00,10,02,2021,00,xx", u"$GPZDA,120000.00,10,02,2021,x,00"}) {
        EXPECT_FALSE(Decode(bad)) << Narrow(bad);
    }
    EXPECT_EQ(view.rxTime.GetTime(), Utc(2020, 5, 5, 5, 5, 5));
    EXPECT_TRUE(view.clockSyncs.empty());
}

TEST_F(NmeaFixture, ZdaYearBefore1900KeepsTheTimeButStillTicks) {
    view.rxTime = CTime(Utc(2020, 5, 5, 5, 5, 5));
    EXPECT_TRUE(Decode(u"$GPZDA,120000.00,10,02,0080,00,00"));
    EXPECT_EQ(view.rxTime.GetTime(), Utc(2020, 5, 5, 5, 5, 6));
    EXPECT_EQ(view.clockSyncs, (std::vector<__time64_t>{Utc(2020, 5, 5, 5, 5, 5)}));
    EXPECT_FLOAT_EQ(view.rxSeconds, 0.0f);
}

TEST_F(NmeaFixture, LocalTimeReceiverIsShiftedToUtcOnce) {
    view.gpsRxOnLocalTime = TRUE;
    view.timeZoneBiasMin = -60; // local time is an hour ahead of UTC
    EXPECT_TRUE(Decode(u"$GPZDA,130000.00,10,02,2021,00,00"));
    EXPECT_EQ(view.rxTime.GetTime(), Utc(2021, 2, 10, 12, 0, 1));
    // A ZDA without a usable year must not shift the held time again.
    EXPECT_TRUE(Decode(u"$GPZDA,130001.00,10,02,0000,00,00"));
    EXPECT_EQ(view.rxTime.GetTime(), Utc(2021, 2, 10, 12, 0, 2));
}

TEST_F(NmeaFixture, NoReceiverTimeStaysNoTime) {
    EXPECT_TRUE(Decode(u"$GPZDA,120000.00,10,02,0000,00,00"));
    EXPECT_LT(view.rxTime.GetTime(), 0);
}

TEST_F(NmeaFixture, RmcSuppliesTheTimeOnlyWithoutZda) {
    EXPECT_TRUE(Decode(u"$GPRMC,030719.000,A,3747.0873,S,17518.8938,E,0.69,181.39,311224,,,A"));
    EXPECT_EQ(view.rxTime.GetTime(), Utc(2024, 12, 31, 3, 7, 20));
    EXPECT_EQ(view.clockSyncs, (std::vector<__time64_t>{Utc(2024, 12, 31, 3, 7, 19)}));
    EXPECT_FALSE(view.tickSinceRmc);
    EXPECT_EQ(view.speeds, (std::vector<double>{0.69f}));
    EXPECT_EQ(view.headings, (std::vector<double>{181.39f}));
    EXPECT_TRUE(view.positions.empty());

    // A year from 80 on is in the 1900s (and so far back today that it counts as a week rollover).
    EXPECT_TRUE(Decode(u"$GPRMC,000000.00,A,0000.0000,N,00000.0000,E,0.0,0.0,010180,,"));
    EXPECT_EQ(view.rxTime.GetTime(), AfterRolloverCheck(Utc(1980, 1, 1, 0, 0, 0)) + 1);

    // After a ZDA in the same second, the RMC's time is ignored.
    EXPECT_TRUE(Decode(u"$GPZDA,120000.00,10,02,2021,00,00"));
    EXPECT_TRUE(Decode(u"$GPRMC,120005.00,A,0000.0000,N,00000.0000,E,0.0,0.0,100221,,"));
    EXPECT_EQ(view.rxTime.GetTime(), Utc(2021, 2, 10, 12, 0, 1));
}

TEST_F(NmeaFixture, RmcNotValidDoesNothing) {
    view.logSecond = TRUE;
    EXPECT_TRUE(Decode(u"$GPRMC,030719.000,V,3747.0873,S,17518.8938,E,0.69,181.39,311214,,,N"));
    EXPECT_TRUE(view.pvtLines.empty());
    EXPECT_TRUE(view.speeds.empty());
    EXPECT_LT(view.rxTime.GetTime(), 0);
    // Bad fields: FALSE and no time.
    EXPECT_FALSE(Decode(u"$GPRMC,030719.000,A,3747.0873,X,17518.8938,E,0.69,181.39,311214,,,A"));
    EXPECT_FALSE(Decode(u"$GPRMC,030719.000,A,3747.0873,S,17518.8938,E,0.69,181.39,321214,,,A"));
    EXPECT_LT(view.rxTime.GetTime(), 0);
}

TEST_F(NmeaFixture, GsvPlacesRowsForEighteenSatellites) {
    view.model = 99; // signals kept as sent
    const char16_t* set[] = {
        u"$GPGSV,5,1,18,01,10,100,30,02,11,101,31,03,12,102,32,04,13,103,33",
        u"$GPGSV,5,2,18,05,14,104,34,06,15,105,35,07,16,106,36,08,17,107,37",
        u"$GPGSV,5,3,18,09,18,108,38,10,19,109,39,11,20,110,40,12,21,111,41",
        u"$GPGSV,5,4,18,13,22,112,42,14,23,113,43,15,24,114,44,16,25,115,45",
        u"$GPGSV,5,5,18,17,26,116,46,18,27,117,47",
    };
    for (const char16_t* s : set) {
        EXPECT_TRUE(Decode(s)) << Narrow(s);
    }
    for (int i = 0; i < 16; ++i) {
        EXPECT_EQ(view.table[i].prn, i + 1);
        EXPECT_EQ(view.table[i].elevation, 10 + i);
        EXPECT_EQ(view.table[i].azimuth, 100 + i);
        EXPECT_EQ(view.table[i].signal, 30 + i);
        EXPECT_EQ(view.table[i].Mode(), 8);
        EXPECT_EQ(view.table[i].Flags(), 0x80);
        EXPECT_EQ(view.table[i].used, 1);
    }
    EXPECT_EQ(view.gridRefreshes, 1);
    EXPECT_EQ(view.Cell(18, 6), u"18 Visible");
}

TEST_F(NmeaFixture, GsvTenSatellitesLeaveTheLastRowsAsTemplate) {
    view.model = 99;
    view.table.fill(SatelliteChannelRow{7, 7, 7, 7, 7, 7, 7}); // message 1 must reset it
    EXPECT_TRUE(Decode(u"$GPGSV,3,1,10,01,10,100,30,02,11,101,31,03,12,102,32,04,13,103,33"));
    EXPECT_TRUE(Decode(u"$GPGSV,3,2,10,05,14,104,34,06,15,105,35,07,16,106,36,08,17,107,37"));
    EXPECT_TRUE(Decode(u"$GPGSV,3,3,10,09,18,108,38,10,19,109,,,,,,,,,"));
    EXPECT_EQ(view.table[8].prn, 9);
    EXPECT_EQ(view.table[9].prn, 10);
    EXPECT_EQ(view.table[9].signal, 0);
    EXPECT_EQ(view.table[9].Mode(), 9);
    EXPECT_EQ(view.table[9].used, 0);
    for (int i = 10; i < 16; ++i) {
        EXPECT_EQ(view.table[i], SatelliteChannelTables::m_emptySatRow) << i;
    }
}

TEST_F(NmeaFixture, GsvShortMessageGivesFreeRowsAndBadCountsFail) {
    view.model = 99;
    // Eight items where four groups are claimed: the two missing ones become free rows.
    EXPECT_TRUE(Decode(u"$GPGSV,1,1,04,01,10,100,30,02,11,101,31"));
    EXPECT_EQ(view.table[1].prn, 2);
    for (int i : {2, 3}) {
        EXPECT_EQ(view.table[i].prn, 256);
        EXPECT_EQ(view.table[i].signal, 0);
        EXPECT_EQ(view.table[i].Mode(), 9);
    }
    // A negative satellite number wraps through the unsigned field: it must not become a row's number.
    EXPECT_TRUE(Decode(u"$GPGSV,1,1,02,-8,59,000,35,05,11,101,31"));
    EXPECT_EQ(view.table[0].prn, 256);
    EXPECT_EQ(view.table[1].prn, 5);
    // A group cut in the middle.
    EXPECT_FALSE(Decode(u"$GPGSV,1,1,04,01,10,100,30,02,11"));
    EXPECT_FALSE(Decode(u"$GPGSV,x"));
    // No group at all: the sentence ends before the first one, which refuses it and keeps the table.
    EXPECT_FALSE(Decode(u"$GPGSV,1,1,00"));
    EXPECT_EQ(view.table[1].prn, 5);
}

TEST_F(NmeaFixture, GsvSignalScaleByModel) {
    struct Case {
        int model;
        const char16_t* signal;
        int expected;
    } cases[] = {{19, u"15", 0}, {19, u"40", 23}, {0, u"17", 0},
                 {3, u"45", 25}, {24, u"20", 0},  {6, u"45", 45}};
    int n = 0;
    for (const Case& c : cases) {
        view.model = c.model;
        CString s;
        s.Format(u"$GPGSV,1,1,01,0%d,10,100,%s", ++n % 10, c.signal);
        EXPECT_TRUE(Decode(s));
        EXPECT_EQ(view.table[0].signal, c.expected) << c.model;
        EXPECT_EQ(view.table[0].Mode(), c.expected > 0 ? 8 : 9);
    }
}

TEST_F(NmeaFixture, GgaFixQualityLevels) {
    struct Case {
        int mode;
        const char16_t* quality;
        const char16_t* satellites;
        int level;
    } cases[] = {
        {kModeGenericNmea, u"1", u"03", 1}, {kModeGenericNmea, u"1", u"04", 2},
        {kModeGenericNmea, u"2", u"03", 3}, {kModeGenericNmea, u"0", u"00", 0},
        {kModeGenericNmea, u"6", u"05", 1}, {kModeUbloxNmea, u"1", u"03", 2},
        {kModeUbloxNmea, u"2", u"03", 3},   {kModeUbloxNmea, u"6", u"03", 4},
        {kModeUbloxNmea, u"0", u"08", 0},
    };
    for (const Case& c : cases) {
        InterfaceModeScope mode(c.mode);
        CString s;
        s.Format(u"$GPGGA,120000.00,5155.55442,N,00434.65873,E,%s,%s,1.0,2.0,M,46.0,M,,", c.quality,
                 c.satellites);
        EXPECT_TRUE(Decode(s)) << Narrow(s.str());
        EXPECT_EQ(view.fixQualities.back(), c.level) << Narrow(s.str());
    }
    EXPECT_EQ(view.Cell(18, 8), u"8 Tracked");
}

TEST_F(NmeaFixture, GgaPositionAndHeights) {
    EXPECT_TRUE(Decode(u"$GPGGA,030719.000,3747.0873,S,17518.8938,E,1,08,1.1,59.9,M,23.7,M,,0000"));
    ASSERT_EQ(view.positions.size(), 1u);
    EXPECT_NEAR(view.positions[0].latitude, -(37 + 47.0873 / 60), 1e-7);
    EXPECT_NEAR(view.positions[0].longitude, 175 + 18.8938 / 60, 1e-7);
    EXPECT_NEAR(view.positions[0].heightWgs84, 83.6, 1e-5);
    EXPECT_NEAR(view.positions[0].altitudeMsl, 59.9, 1e-5);
    EXPECT_EQ(view.trackedCounts.back(), 8);

    // Units other than metres count as 0.
    EXPECT_TRUE(Decode(u"$GPGGA,030720.000,3747.0873,S,17518.8938,E,1,08,1.1,59.9,F,23.7,M,,0000"));
    EXPECT_NEAR(view.positions.back().heightWgs84, 23.7, 1e-5);
    EXPECT_NEAR(view.positions.back().altitudeMsl, 0.0, 1e-9);

    struct Case {
        int model;
        float version;
        double wgs84, msl;
    } cases[] = {
        {6, 7.5f, 100.0 - 40.0, 100.0}, {6, 6.9f, 100.0, 60.0},  {10, 8.8f, 140.0, 100.0},
        {11, 0.0f, 140.0, 100.0},       {3, 5.0f, 140.0, 100.0}, {11, 8.79f, 60.0, 100.0},
    };
    for (const Case& c : cases) {
        view.model = c.model;
        view.firmwareVersion = c.version;
        EXPECT_TRUE(Decode(u"$GPGGA,030721.000,3747.0873,S,17518.8938,E,1,08,1.1,100.0,M,40.0,M,,0000"));
        EXPECT_NEAR(view.positions.back().heightWgs84, c.wgs84, 1e-5) << c.model << " " << c.version;
        EXPECT_NEAR(view.positions.back().altitudeMsl, c.msl, 1e-5) << c.model << " " << c.version;
    }
}

TEST_F(NmeaFixture, GgaBadFieldsPassNoPosition) {
    for (const char16_t* bad : {
             u"$GPGGA,030719.000,9147.0873,S,17518.8938,E,1,08,1.1,59.9,M,23.7,M,,0000", // beyond 90
             u"$GPGGA,030719.000,3747.0873,Q,17518.8938,E,1,08,1.1,59.9,M,23.7,M,,0000", // hemisphere
             u"$GPGGA,030719.000,3747.0873,S,18018.8938,E,1,08,1.1,59.9,M,23.7,M,,0000", // beyond 180
             u"$GPGGA,030719.000,3747.0873,S,17518.8938,E,1,,1.1,59.9,M,23.7,M,,0000",   // no satellites
             u"$GPGGA,030719.000,3747.0873,S,17518.8938,E,1,08,1.1,x,M,23.7,M,,0000",    // altitude
             u"$GPGGA,030719.000,3747.0873,S,17518.8938,E,1,08,1.1,59.9,M,x,M,,0000",    // separation
         }) {
        EXPECT_FALSE(Decode(bad)) << Narrow(bad);
    }
    EXPECT_TRUE(view.positions.empty());
    EXPECT_EQ(view.Cell(21, 1), u"<unset>");
}

TEST_F(NmeaFixture, GgaDifferentialText) {
    EXPECT_TRUE(Decode(u"$GPGGA,030719.000,3747.0873,S,17518.8938,E,2,08,1.1,59.9,M,23.7,M,3.25,0042"));
    EXPECT_EQ(view.dgpsStatus, 2);
    EXPECT_EQ(view.Cell(21, 1), u"Receiving DGPS, Age  3.3 sec, Station ID \"0042\"");
    EXPECT_TRUE(Decode(u"$GPGGA,030720.000,3747.0873,S,17518.8938,E,2,08,1.1,59.9,M,23.7,M,,"));
    EXPECT_EQ(view.Cell(21, 1), u"Receiving DGPS");
    EXPECT_TRUE(Decode(u"$GPGGA,030721.000,3747.0873,S,17518.8938,E,1,08,1.1,59.9,M,23.7,M,,"));
    EXPECT_EQ(view.dgpsStatus, 0);
    EXPECT_EQ(view.Cell(21, 1), u"");
    // A station id that does not convert ends the handler.
    EXPECT_FALSE(Decode(u"$GPGGA,030722.000,3747.0873,S,17518.8938,E,2,08,1.1,59.9,M,23.7,M,,x"));
    EXPECT_EQ(view.dgpsStatus, 0);
}

TEST_F(NmeaFixture, GgaRecordIsWrittenAfterEveryNewSentenceOfALoggingSecond) {
    view.logSecond = TRUE;
    EXPECT_TRUE(Decode(u"$GPGGA,030719.000,3747.0873,S,00518.8938,W,1,08,1.1,59.9,M,23.7,M,,0000"));
    const std::u16string record = u"03,07,19.00,37,47.087299,S,05,18.893801,W,1,08,1.1,59.9,M,23.7,M,,0000";
    EXPECT_EQ(decoder.GetPvtRecord().str(), record);
    EXPECT_TRUE(Decode(u"$GPGSA,A,3,17,28,06,01,30,20,26,13,,,,,1.8,1.1,1.5"));
    EXPECT_TRUE(Decode(u"$GPGSA,A,3,17,28,06,01,30,20,26,13,,,,,1.8,1.1,1.5")); // repeat: not logged
    EXPECT_TRUE(Decode(u"$GPVTG,,T,,M,0.211,N,0.391,K,A"));
    EXPECT_FALSE(Decode(u"$GPTXT,01,01,02,u-blox ag - www.u-blox.com"));
    EXPECT_FALSE(Decode(u"$GNGGA,030719.000,3747.0873,S,00518.8938,W,1,08,1.1,59.9,M,23.7,M,,0000"));
    EXPECT_EQ(view.WrittenPvtLines(), std::vector<std::u16string>(5, record));

    // Without the raw window or a logging second the record is left alone.
    view.logSecond = FALSE;
    EXPECT_TRUE(Decode(u"$GPGGA,030720.000,3747.0873,S,00518.8938,W,1,08,1.1,59.9,M,23.7,M,,0000"));
    EXPECT_EQ(decoder.GetPvtRecord().str(), record);
}

// Each GGA builds its record afresh: one whose time does not convert leaves it empty rather than appending
// its position to the last record, which grew by a copy of itself with every such sentence.
TEST_F(NmeaFixture, GgaRecordIsRebuiltNotAppended) {
    view.rawWindowShown = TRUE;
    EXPECT_TRUE(Decode(u"$GPGGA,030719.000,3747.0873,S,00518.8938,W,1,08,1.1,59.9,M,23.7,M,,0000"));
    EXPECT_EQ(decoder.GetPvtRecord().str(),
              u"03,07,19.00,37,47.087299,S,05,18.893801,W,1,08,1.1,59.9,M,23.7,M,,0000");
    for (int i = 0; i < 3; ++i) {
        Decode(u"$GPGGA,x,3747.0873,S,00518.8938,W,1,08,1.1,59.9,M,23.7,M,,0000");
        EXPECT_EQ(decoder.GetPvtRecord().str(), u"");
    }
    EXPECT_TRUE(Decode(u"$GPGGA,030721.000,3747.0873,N,00518.8938,E,1,08,1.1,59.9,M,23.7,M,,0000"));
    EXPECT_EQ(decoder.GetPvtRecord().str(),
              u"03,07,21.00,37,47.087299,N,05,18.893801,E,1,08,1.1,59.9,M,23.7,M,,0000");
}

TEST_F(NmeaFixture, GsaFixTextAndDops) {
    view.fixType = 0;
    EXPECT_TRUE(Decode(u"$GPGSA,A,3,17,28,06,01,30,20,26,13,,,,,1.8,1.1,1.5"));
    EXPECT_EQ(view.Cell(19, 1), u"3-D Fix (A)");
    EXPECT_EQ(view.Cell(20, 1), u"PDOP = 1.8, HDOP = 1.1, VDOP = 1.5");
    ASSERT_EQ(view.dops.size(), 1u);
    EXPECT_EQ(view.dops[0][0], -1.0);
    EXPECT_FLOAT_EQ(view.dops[0][2], 1.1f);
    EXPECT_EQ(view.dops[0][4], -1.0);
    EXPECT_EQ(view.controlUpdates, 1);

    // A 2-D fix keeps the DOP text; empty fields count as 0.
    EXPECT_TRUE(Decode(u"$GPGSA,M,2,02,04,27,,,,,,,,,,,5.3,"));
    EXPECT_EQ(view.Cell(19, 1), u"2-D Fix (M)");
    EXPECT_EQ(view.Cell(20, 1), u"PDOP = 1.8, HDOP = 1.1, VDOP = 1.5");
    EXPECT_EQ(view.dops.size(), 1u);
    EXPECT_TRUE(Decode(u"$GPGSA,A,1,,,,,,,,,,,,,,,"));
    EXPECT_EQ(view.Cell(19, 1), u"No Fix");
    EXPECT_EQ(view.fixTypes, (std::vector<int>{3, 2, 1}));
    EXPECT_FALSE(Decode(u"$GPGSA,A,3,17,28"));
}

TEST_F(NmeaFixture, GarminReportsGoToTheIdWindow) {
    EXPECT_TRUE(Decode(u"$PGRMT,GPS 15L/15H VER 2.05,P,P,R,R,P,C,31"));
    ASSERT_EQ(view.rxIdSet.size(), 1u);
    EXPECT_EQ(view.rxIdSet[0], u"GPS 15L/15H VER 2.05\n"
                               u"ROM checksum test (P=pass, F=fail) = P\n"
                               u"Receiver failure? (P=pass, F=fail) = P\n"
                               u"Stored Data (L=lost, R=retained) = R\n"
                               u"Real time clock (L=lost, R=retained) = R\n"
                               u"Oscillator drift (P=pass, F=fail) = P\n"
                               u"Data collection (C = collecting) = C\n"
                               u"Board temperature (degrees C) = 31\n");

    EXPECT_TRUE(Decode(u"$PGRMI,5155.5544,N,00434.6587,E,210810,083723,R"));
    EXPECT_EQ(view.rxIdAdded, (std::vector<std::u16string>{
                                  u"$PRGMI Initialization Message:\n",
                                  u"  Latitude = 51 deg  55.5544 min N\n",
                                  u"  Longitude = 004 deg  34.6587 min E\n",
                                  u"  Day = 21, Month = 08, Year = 10\n",
                                  u"  Hour = 08, Minute = 37, Second = 23\n",
                                  u"  Acq Reset = R\n",
                              }));

    view.rxIdAdded.clear();
    EXPECT_TRUE(Decode(u"$PGRMO,GPGSV,1"));
    EXPECT_TRUE(Decode(u"$PGRMO"));
    EXPECT_EQ(view.rxIdAdded, (std::vector<std::u16string>{u"$PGRMO: Target Sentence = GPGSV,   Mode = 1\n",
                                                           u"$PGRMO: Target Sentence = NONE,   Mode = \n"}));

    view.rxIdAdded.clear();
    EXPECT_TRUE(Decode(u"$PGRMC,A,100.0,100,,,,,,A,3,1,"));
    ASSERT_EQ(view.rxIdAdded.size(), 13u);
    EXPECT_EQ(view.rxIdAdded[0], u"$PGRMC Configuration Message:\n");
    EXPECT_EQ(view.rxIdAdded[2], u"  Altitude (MSL) = 100.0 meters\n");
    EXPECT_EQ(view.rxIdAdded[4], u"  Semi-major axis =  meters\n");
    EXPECT_EQ(view.rxIdAdded[12], u"  Null field = \n");

    // Without the window nothing is shown.
    view.rxIdDialog = FALSE;
    view.rxIdAdded.clear();
    EXPECT_TRUE(Decode(u"$PGRMO,GPGGA,1"));
    EXPECT_TRUE(view.rxIdAdded.empty());
}

} // namespace
