// Visible satellites merged into the channel table, and the text-only almanac, ephemeris and raw messages.
#include "tests/receiver/OncoreTestSupport.h"

#include <gtest/gtest.h>

#include <array>
#include <cstring>

namespace {

using namespace oncore_test;

OncoreBuilder Bb(int count, std::initializer_list<std::array<int, 5>> satellites) {
    OncoreBuilder b("Bb", 89);
    b.Put(4, count, 1);
    int at = 5;
    for (const auto& s : satellites) {
        b.Put(at, s[0], 1)
            .Put(at + 1, s[1], 2)
            .Put(at + 3, s[2], 1)
            .Put(at + 4, s[3], 2)
            .Put(at + 6, s[4], 1);
        at += 7;
    }
    return b;
}

TEST(OncoreBb, MergesSkyPositionsIntoTheChannelTable) {
    RecordingOncoreView view;
    view.rawWindowShown = TRUE;
    view.activeChannels = 8;
    // After a position message: the eight channels hold their satellites (0 for an idle channel).
    for (int i = 0; i < 8; ++i) {
        view.table[i] = {i == 3 ? 21 : 0, 5, 5, 40, 1, 8, 0};
    }
    view.table[9] = {30, 5, 5, 40, 1, 8, 0};
    OncoreDecoder decoder(view);
    const std::string text =
        Decode(decoder, Bb(3, {{21, -300, 45, 300, 0}, {7, 0, 12, 20, 0}, {9, 5, 80, 359, 1}}));
    EXPECT_EQ(text, "@@Bb 3 21 -300 45 300 0 7 0 12 20 0 9 5 80 359 1 \n");
    // The tracked satellite keeps its row; the others take the first free rows (beyond the active channels).
    EXPECT_EQ(view.table[3], (SatelliteChannelRow{21, 45, 300, 40, 1, 8, -1}));
    EXPECT_EQ(view.table[8], (SatelliteChannelRow{7, 12, 20, 0, 0, 0, 1}));
    EXPECT_EQ(view.table[9], (SatelliteChannelRow{9, 80, 359, 0, 1, 8, 1}));
    EXPECT_EQ(view.table[0], (SatelliteChannelRow{0, 0, 0, 40, 1, 8, 0}));
    EXPECT_EQ(view.table[10].prn, 256);
    EXPECT_EQ(view.gridRefreshes, 1);
}

TEST(OncoreBb, ReadsAtMostTwelveAndRefusesAShortList) {
    RecordingOncoreView view;
    view.rawWindowShown = TRUE;
    view.activeChannels = 12;
    OncoreDecoder decoder(view);
    Decode(decoder, Bb(14, {}));
    EXPECT_EQ(view.gridRefreshes, 1);

    OncoreBuilder shortList("Bb", 18); // two satellites need more than 18 units
    shortList.Put(4, 2, 1);
    RecordingOncoreView other;
    other.rawWindowShown = TRUE;
    other.table[0].elevation = 33;
    OncoreDecoder second(other);
    EXPECT_EQ(Decode(second, shortList), "@@Bb 2 \n");
    EXPECT_EQ(other.table[0].elevation, 33);
    EXPECT_EQ(other.gridRefreshes, 0);
}

TEST(OncoreTextMessages, AlmanacEphemerisAndCorrections) {
    RecordingOncoreView view;
    OncoreDecoder decoder(view);
    struct Case {
        CString message;
        const char* text;
    } cases[] = {
        {OncoreBuilder("Bd", 20).Put(4, 0, 1), "@@Bd, No almanac in the receiver\n"},
        {OncoreBuilder("Bd", 20).Put(4, 1, 1).Put(5, 97, 1).Put(6, 144, 1).Put(7, 31, 1).Put(8, 0xFFFFFFFE,
                                                                                             4),
         "@@Bd, Valid almanac in the receiver, week = 97, time = 144, Sats = 31, SV id mask = 0xFFFFFFFE \n"},
        {OncoreBuilder("Bd", 20).Put(4, 2, 1), "@@Bd, Message field error\n"},
        {OncoreBuilder("Bf", 77).Put(4, 5, 1), "@@Bf Sat 05, Ephemeris Data Message\n"},
        {OncoreBuilder("Cc", 77).Put(4, 17, 1), "@@Cc Sat 17, Ephemeris Data Message ECHO\n"},
        {OncoreBuilder("Cb", 30).Put(4, 4, 1).Put(5, 7, 1).Put(6, 0xABCDEF, 3).Put(27, 0x000102, 3),
         "@@Cb SF 4 PG 07 DATA: ABCDEF 000000 000000 000000 000000 000000 000000 000102\n"},
        {OncoreBuilder("Ce", 49)
             .Put(4, 1234, 3)
             .Put(7, 3, 1)
             .Put(8, 0xFFFF9C, 3)
             .Put(11, -1500, 2)
             .Put(13, 9, 1),
         "@@Ce Pseudorange Correction: 123.4 [3, -1.00, -1.500, 9], [0, 0.00, 0.000, 0], [0, 0.00, 0.000, "
         "0], "
         "[0, 0.00, 0.000, 0], [0, 0.00, 0.000, 0], [0, 0.00, 0.000, 0]\n"},
        {OncoreBuilder("Eq", 93).Text(4, "EQ POSITION"), "@@Eq EQ POSITION"},
        {OncoreBuilder("Tk", 62).Text(4, "MFG").Put(59, 0xAB, 1).Put(60, 1, 1).Put(61, 0xFF, 1), "@@Tk MFG"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        const std::string text = Decode(decoder, c.message);
        EXPECT_EQ(text.substr(0, std::strlen(c.text)), c.text);
    }
    const std::string tk = Decode(decoder, cases[8].message);
    EXPECT_TRUE(tk.ends_with(std::string(52, '\0') + "<AB><01><FF>\n"));
    EXPECT_EQ(tk.size(), 5 + 55 + 12 + 1u);
    EXPECT_EQ(view.gridRefreshes, 0);
    EXPECT_TRUE(view.pvtLines.back().empty());
}

TEST(OncoreTextMessages, RangeDataOnlyWhenShownOrLogged) {
    RecordingOncoreView view;
    OncoreDecoder decoder(view);
    OncoreBuilder eg("Eg", 155);
    eg.Put(4, 345600, 3).Put(7, 250000000, 4).Put(11, 8, 1).Put(12, 0x81, 1);
    eg.Put(13, 20000, 3).Put(16, 5, 4).Put(20, 12, 2).Put(22, 0x8000, 2).Put(24, 70000, 3).Put(27, -5, 2);
    eg.Put(29, 44, 1).Put(30, 0x0F, 1);
    EXPECT_EQ(Decode(decoder, eg), "@@Eg ...\n");
    view.logSecond = TRUE;
    const std::string text = Decode(decoder, eg);
    EXPECT_EQ(
        text.rfind("@@Eg, 345600.250000000,8,0x81,20000.000000005,12.5000,70000,-5,44,0x0F,0.000000000,", 0),
        0u)
        << text;
    // The last channel ends after its signed value.
    EXPECT_TRUE(text.ends_with(",0x00,0.000000000,0.0000,0,0\n")) << text;
    EXPECT_TRUE(view.pvtLines.back().empty());
}

TEST(OncoreTextMessages, SatelliteTrackingAndDspData) {
    RecordingOncoreView view;
    OncoreDecoder decoder(view);
    OncoreBuilder sa("Sa", 181);
    sa.Put(4, 7, 1)
        .Put(5, 4, 1)
        .Put(6, 2024, 2)
        .Put(8, 9, 1)
        .Put(9, 8, 1)
        .Put(10, 7, 1)
        .Put(11, 24, 1)
        .Put(12, 3, 1);
    sa.Put(13, 65, 1).Put(14, 1, 1).Put(15, 44, 1).Put(16, 359, 2).Put(18, 60, 1).Put(19, 1, 1);
    const std::string text = Decode(decoder, sa);
    EXPECT_EQ(
        text.rfind("@@Sa 07/04/2024, 09:08:07, SV=24, ST=3, [SVID 65, Type 1, C/No=44, AZ=359, EL=60, Used=1]"
                   "[SVID 0, Type 0, C/No=0, AZ=0, EL=0, Used=0]",
                   0),
        0u)
        << text;

    OncoreBuilder tr("Tr", 594);
    tr.Put(4, 1, 1).Put(5, 2, 1).Put(6, 3, 1).Put(7, 4, 1).Put(8, 5, 1).Put(9, 100, 3).Put(12, 128, 1);
    tr.Put(16, -1000, 4)
        .Put(20, 3, 1)
        .Put(21, 64, 1)
        .Put(22, 0x8000, 2)
        .Put(24, -2, 4)
        .Put(34, 9, 2)
        .Put(52, 77, 1);
    tr.Put(592, 4321, 2);
    const std::string dsp = Decode(decoder, tr);
    EXPECT_EQ(
        dsp.rfind(
            "@@Tr 01,2,03,4,05,100.500000000,0,0,0,-60.975551605,3.2500,-1.500000000,0.000000000,9,0,0,0,"
            "0,0,0,0,0,0,0,0,0,0,0,0,0,77,00,0,00,0,00,",
            0),
        0u)
        << dsp;
    EXPECT_EQ(dsp.substr(dsp.size() - 6), ",4321\n");
}

} // namespace
