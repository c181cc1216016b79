// The navigation messages: status texts, panes, fix, channel rows, the geoid replacement and PVT records.
#include "tests/receiver/OncoreTestSupport.h"

#include <gtest/gtest.h>

namespace {

using namespace oncore_test;

constexpr int kLatMas = 207766190; // 57.71283056 degrees
constexpr int kLonMas = 43281325;  // 12.02259028 degrees

// "@@Ea" (or "@@Ba") on 2021-03-14 12:00:00.25 at a fixed place; the status and DOP bytes as given.
OncoreBuilder Navigation(const char* id, int status, int dopByte = 0, int dop = 35) {
    const bool ea = id[0] == 'E';
    OncoreBuilder b(id, ea ? 73 : 65);
    b.Put(4, 3, 1)
        .Put(5, 14, 1)
        .Put(6, 2021, 2)
        .Put(8, 12, 1)
        .Put(9, 0, 1)
        .Put(10, 0, 1)
        .Put(11, 250000000, 4);
    b.Put(15, kLatMas, 4).Put(19, kLonMas, 4).Put(23, 8644, 4).Put(27, 0, 4);
    b.Put(31, 31, 2).Put(33, 320, 2).Put(35, dop, 2).Put(37, dopByte, 1).Put(38, 9, 1).Put(39, 4, 1);
    b.Put(40, 9, 1).Put(41, 8, 1).Put(42, 56, 1).Put(43, 0xA2, 1);
    b.Put(44, 40, 1).Put(45, 8, 1).Put(46, 15, 1).Put(47, 0x80, 1);
    b.Put(ea ? 72 : 64, status, 1);
    return b;
}

OncoreBuilder Ha(int fixMode, int lowStatus, int dop = 20) {
    OncoreBuilder b("Ha", 151);
    b.Put(4, 3, 1).Put(5, 14, 1).Put(6, 2021, 2).Put(8, 12, 1).Put(9, 0, 1).Put(10, 1, 1);
    b.Put(15, kLatMas, 4).Put(19, kLonMas, 4).Put(23, 8644, 4).Put(27, 0, 4);
    b.Put(47, 150, 2).Put(49, 100, 2).Put(51, 900, 2).Put(53, dop, 2).Put(55, 11, 1).Put(56, 7, 1);
    // Channel 0: PRN 5, used (high bit 3), strength 60, IODE 7, low nibble 9; channel 1: PRN 40, strength 15.
    b.Put(57, 5, 1).Put(58, 8, 1).Put(59, 60, 1).Put(60, 7, 1).Put(61, 0x09, 1).Put(62, 0x59, 1);
    b.Put(63, 40, 1).Put(64, 2, 1).Put(65, 15, 1).Put(66, 1, 1).Put(67, 0x00, 1).Put(68, 0x80, 1);
    b.Put(129, fixMode << 5, 1).Put(130, lowStatus, 1);
    b.Put(131, 1, 1).Put(132, 2, 1).Put(133, -120, 2).Put(135, 70000, 4).Put(139, 61, 2).Put(141, 0x0F, 1);
    b.Put(142, 0x010530, 3).Text(145, "TAG001");
    return b;
}

TEST(OncoreEa, StatusBitsGiveTheTextsPanesAndFix) {
    struct Case {
        int model, status, dopByte, dop;
        const char* statusText;
        const char* dopText;
        int receiverMode, quality;
        std::vector<int> fixTypes;
    } cases[] = {
        {8, 0x28, 0, 0, "3-D Fix, Acquiring Satellites or Position Hold", "", 1, 2, {3, 1}},
        {8, 0x24, 0, 15, "3-D Fix, DGPS: PDOP =  1.5", "", 0, 3, {3}},
        {8, 0x24, 1, 15, "3-D Fix, DGPS: HDOP =  1.5", "", 0, 3, {3}},
        {8, 0x24, 0x40, 15, "3-D Fix, DGPS", "", 0, 3, {3}},
        {8, 0x00, 0, 15, "", "", -1, 0, {}},
        {8, 0xC3, 0x20, 0, "Position Propagate Mode, Poor Geometry (DOP>20), Bad Almanac", "", 2, 4, {}},
        {8, 0x12, 0, 0, "Altitude Hold (2-D Fix), Insufficient Satellites (<3)", "", 0, 0, {2}},
        {10, 0x20, 0, 15, "3-D Fix", "<dops>", 0, 2, {3}},
        {10, 0x10, 0, 15, "Altitude Hold (2-D Fix)", "", 0, 0, {2}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.statusText);
        RecordingOncoreView view;
        view.model = c.model;
        OncoreDecoder decoder(view);
        EXPECT_EQ(Decode(decoder, Navigation("Ea", c.status, c.dopByte, c.dop)), "@@Ea ...\n");
        EXPECT_EQ(view.Cell(19, 1), CString(c.statusText));
        EXPECT_EQ(view.Cell(20, 1), CString(c.dopText));
        EXPECT_EQ(view.receiverMode, std::vector<int>{c.receiverMode});
        EXPECT_EQ(view.fixQualities, std::vector<int>{c.quality});
        EXPECT_EQ(view.fixTypes, c.fixTypes);
    }
}

TEST(OncoreEa, PositionSpeedAndGridCells) {
    RecordingOncoreView view;
    view.model = 8; // in the geoid group: a height of 0 above sea level is "not given"
    view.geoidSeparation = 37.0;
    OncoreDecoder decoder(view);
    Decode(decoder, Navigation("Ea", 0x20, 0x80));
    ASSERT_EQ(view.positions.size(), 1u);
    EXPECT_DOUBLE_EQ(view.positions[0].latitude, kLatMas / 3600000.0);
    EXPECT_DOUBLE_EQ(view.positions[0].longitude, kLonMas / 3600000.0);
    EXPECT_DOUBLE_EQ(view.positions[0].heightWgs84, 86.44);
    EXPECT_DOUBLE_EQ(view.positions[0].altitudeMsl, 86.44 - 37.0);
    EXPECT_EQ(view.startupStamps, 1);
    EXPECT_EQ(view.antenna, std::vector<int>{2});
    EXPECT_EQ(view.antennaStatus, 2);
    EXPECT_DOUBLE_EQ(view.speeds.at(0), 31 * 0.019425);
    EXPECT_DOUBLE_EQ(view.headings.at(0), 32.0);
    EXPECT_EQ(view.trackedCounts, std::vector<int>{4});
    EXPECT_EQ(view.Cell(18, 6), u"9 Visible");
    EXPECT_EQ(view.Cell(18, 8), u"4 Tracked");
    EXPECT_EQ(view.gridRefreshes, 1);

    // Outside the group the height stays 0 and the antenna is not read.
    RecordingOncoreView other;
    other.model = 3;
    OncoreDecoder second(other);
    Decode(second, Navigation("Ea", 0x20, 0x80));
    EXPECT_DOUBLE_EQ(other.positions.at(0).altitudeMsl, 0.0);
    EXPECT_TRUE(other.antenna.empty());
    EXPECT_EQ(other.startupStamps, 0);
    // "@@Ba" replaces the height for M12 receivers but never touches the antenna.
    other.eaPrecedenceTicks = 0;
    Decode(second, Navigation("Ba", 0x20, 0x80));
    EXPECT_DOUBLE_EQ(other.positions.at(1).altitudeMsl, 86.44 - 40.0);
    EXPECT_TRUE(other.antenna.empty());
}

TEST(OncoreEa, ChannelRowsReplaceTheTableAndKeepTheSkyPosition) {
    RecordingOncoreView view;
    view.model = 8;
    view.table[0] = {7, 30, 120, 44, 0, 0, 1};
    view.table[12] = {3, 10, 10, 10, 1, 0, 1};
    OncoreDecoder decoder(view);
    Decode(decoder, Navigation("Ea", 0x20));
    // Channel 0: PRN 9, strength 56 gives 36; channel 1: PRN 40 is beyond 32, strength 15 gives 0.
    EXPECT_EQ(view.table[0], (SatelliteChannelRow{9, 30, 120, 36, 1, 8 | (0xA2 << 8), 1}));
    EXPECT_EQ(view.table[1], (SatelliteChannelRow{0, 0, 0, 0, 1, 8 | (0x80 << 8), 0}));
    EXPECT_EQ(view.table[2], (SatelliteChannelRow{0, 0, 0, 0, 1, 0, 0}));
    EXPECT_EQ(view.table[12], SatelliteChannelTables::m_emptySatRow);

    // Logarithmic levels for the VP, XT and PVT6, and wide ids for the WQT-M8F/M8T.
    RecordingOncoreView vp;
    vp.model = 10;
    OncoreDecoder second(vp);
    Decode(second, Navigation("Ea", 0x20));
    EXPECT_EQ(vp.table[0].signal, 23); // trunc(20 log10(56) - 12.4 + 0.5)
    EXPECT_EQ(vp.table[1].signal, 11);
    RecordingOncoreView wide;
    wide.model = 24;
    OncoreDecoder third(wide);
    Decode(third, Navigation("Ea", 0x20));
    EXPECT_EQ(wide.table[1].prn, 40);
    wide.eaPrecedenceTicks = 0;
    Decode(third, Navigation("Ba", 0x20)); // "@@Ba" keeps wide ids for the M8F only
    EXPECT_EQ(wide.table[1].prn, 0);
    EXPECT_EQ(wide.table[6], SatelliteChannelTables::m_emptySatRow);
}

TEST(OncorePvtRecords, EaAndBaRecordsAreByteExact) {
    RecordingOncoreView view;
    view.model = 3;
    view.logSecond = TRUE;
    OncoreDecoder decoder(view);
    const std::string ea = Decode(decoder, Navigation("Ea", 0x28));
    const std::string eaRecord =
        "03/14/2021, 12:00:00.250000000, 2.07766190e+008, 4.32813250e+007, 86.44, 0.00, "
        "0.31, 32.0, PDOP, 3.5, 9, 4, 9, 8, 56, 0xa2, 40, 8, 15, 0x80, 0, 0, 0, 0x00, 0, 0, "
        "0, 0x00, 0, 0, 0, 0x00, 0, 0, 0, 0x00, 0, 0, 0, 0x00, 0, 0, 0, 0x00, 0x28";
    EXPECT_EQ(ea, "@@Ea, " + eaRecord + "\n");
    EXPECT_EQ(Narrow(view.pvtLines.back()), eaRecord);

    view.eaPrecedenceTicks = 0;
    const std::string ba = Decode(decoder, Navigation("Ba", 0x28, 1));
    const std::string baRecord =
        "03/14/2021, 12:00:00.250000000, 2.07766190e+008,4.32813250e+007,86.44,46.44,0.31,"
        "32.0,HDOP,3.5,9,4,0x28,9,8,56,0xa2,40,8,15,0x80,0,0,0,0x00,0,0,0,0x00,0,0,0,0x00,0,"
        "0,0,0x00";
    EXPECT_EQ(ba, "@@Ba," + baRecord + "\n");

    // Without the raw-data window and outside a logging second no record is built.
    view.logSecond = FALSE;
    EXPECT_EQ(Decode(decoder, Navigation("Ea", 0x28)), "@@Ea ...\n");
    EXPECT_EQ(view.pvtLines.back(), u"");
}

TEST(OncoreHa, StatusChannelsAndRecord) {
    RecordingOncoreView view;
    view.model = 5;
    view.rawWindowShown = TRUE;
    OncoreDecoder decoder(view);
    const std::string text = Decode(decoder, Ha(7, 0x20 | 0x04));
    EXPECT_EQ(view.Cell(19, 1), u"3-D Fix");
    EXPECT_EQ(view.Cell(20, 1), u"PDOP =  2.0");
    EXPECT_EQ(view.receiverMode, std::vector<int>{1});
    EXPECT_EQ(view.fixQualities, std::vector<int>{3});
    EXPECT_EQ(view.antenna, std::vector<int>{2});
    EXPECT_DOUBLE_EQ(view.positions.at(0).altitudeMsl, 86.44 - 40.0);
    EXPECT_DOUBLE_EQ(view.speeds.at(0), 150 * 0.019425);
    EXPECT_DOUBLE_EQ(view.headings.at(0), 90.0);
    EXPECT_EQ(view.Cell(18, 6), u"11 Visible");
    // Channel 0: level 40, flags 0x50 | 0x08 (low nibble 9) | 1 (high bit 0), used by high bit 3.
    EXPECT_EQ(view.table[0], (SatelliteChannelRow{5, 0, 0, 40, 1, 8 | (0x59 << 8), 0}));
    // Channel 1: PRN 40 dropped, level 0, flags 0x80, used by the low byte's bit 7.
    EXPECT_EQ(view.table[1], (SatelliteChannelRow{0, 0, 0, 0, 1, 2 | (0x80 << 8), 0}));
    EXPECT_EQ(view.table[2].used, 0);
    EXPECT_EQ(view.table[12], SatelliteChannelTables::m_emptySatRow);

    std::string record =
        "03/14/2021, 12:00:01.000000000, 2.07766190e+008,4.32813250e+007,86.44,46.44,1.50,1.00,"
        "90.0,PDOP,2.0,11,7,0xe024,\"TAG001\",5,8,60,7,0x0959,40,2,15,1,0x0080";
    for (int k = 2; k < 12; ++k) {
        record += ",0,0,0,0,0x0000";
    }
    record += ",1,2,-120,70000,30.5,0x0f,0x010530";
    EXPECT_EQ(text, "@@Ha, " + record + "\n");
}

TEST(OncoreHa, FixModesAndLowStatusBits) {
    struct Case {
        int fixMode, low;
        const char* statusText;
        const char* dopText;
        int receiverMode, quality;
    } cases[] = {
        {2, 0x00, "Poor Geometry", "", 1, 0},
        {3, 0x80, "Acquiring Satellites, Cold Start or Bad Almanac", "", 1, 0},
        {4, 0x08, "Position Hold, Insufficient Satellites (<3)", "", 1, 1},
        {5, 0x40, "Position Propagate Mode, DGPS", "", 0, 4},
        {6, 0x00, "Altitude Hold (2-D Fix)", "HDOP =  2.0", 0, 0},
        {7, 0x30, "3-D Fix", "PDOP =  2.0", 2, 3},
        {0, 0x00, "", "", -1, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.statusText);
        RecordingOncoreView view;
        OncoreDecoder decoder(view);
        Decode(decoder, Ha(c.fixMode, c.low));
        EXPECT_EQ(view.Cell(19, 1), CString(c.statusText));
        EXPECT_EQ(view.Cell(20, 1), CString(c.dopText));
        EXPECT_EQ(view.receiverMode, std::vector<int>{c.receiverMode});
        EXPECT_EQ(view.fixQualities, std::vector<int>{c.quality});
    }
}

TEST(OncorePvtRecords, HbAndHrRecords) {
    RecordingOncoreView view;
    view.logSecond = TRUE;
    OncoreDecoder decoder(view);
    OncoreBuilder hb("Hb", 51);
    hb.Put(4, 12, 1).Put(5, 31, 1).Put(6, 2020, 2).Put(8, 23, 1).Put(9, 59, 1).Put(10, 59, 1);
    hb.Put(15, -kLatMas, 4).Put(19, -kLonMas, 4).Put(23, -150, 4).Put(27, 1200, 4);
    hb.Put(31, 10, 2).Put(33, 5, 2).Put(35, 1800, 2).Put(37, 12, 2).Put(39, 8, 1).Put(40, 6, 1);
    hb.Put(41, 0xE0, 1).Put(42, 0x06, 1).Text(45, "ABCDEF");
    EXPECT_EQ(Decode(decoder, hb),
              "@@Hb, 12/31/2020, 23:59:59.000000000, -2.07766190e+008,-4.32813250e+007,-1.50,"
              "12.00,0.10,0.05,180.0,PDOP,1.2,8,6,0xe006,\"ABCDEF\"\n");
    EXPECT_EQ(view.antennaStatus, 3);
    EXPECT_TRUE(view.antenna.empty()); // the pane is left alone

    OncoreBuilder hr("Hr", 167);
    hr.Put(4, 1, 1).Put(5, 2, 1).Put(6, 2022, 2).Put(8, 3, 1).Put(9, 4, 1).Put(10, 5, 1).Put(11, 77, 2);
    hr.Put(13, 123456, 4).Put(17, kLatMas, 4).Put(21, kLonMas, 4).Put(25, 8644, 4).Put(29, 250, 2);
    hr.Put(31, 1234, 2).Put(33, 0x1234, 2).Put(35, 17, 2).Put(37, 1, 1).Put(38, 9, 1).Put(39, 0xBEEF, 2);
    hr.Text(161, "HRTAG1");
    EXPECT_EQ(Decode(decoder, hr),
              "@@Hr, 01/02/2022, 03:04:05, 77,123456,2.07766190e+008,4.32813250e+007,86.44,"
              "2.50,123.4,HDOP,1.7,9,0xbeef,0x1234,\"HRTAG1\" \n");
    EXPECT_EQ(view.positions.size(), 0u);
}

} // namespace
