// GPS-UTC offset, leap-second state, T-RAIM status, DOPs and the differential-correction age.
#include "tests/receiver/OncoreTestSupport.h"

#include <gtest/gtest.h>

namespace {

using namespace oncore_test;

TEST(OncoreTime, UtcOffsetAndLeapSecondPending) {
    RecordingOncoreView view;
    view.rawWindowShown = TRUE;
    OncoreDecoder decoder(view);
    EXPECT_EQ(Decode(decoder, OncoreBuilder("Bo", 5).Put(4, 18, 1)), "@@Bo - UTC offset = 18 seconds\n");
    EXPECT_EQ(view.gpsUtcOffsetSec, 18);

    struct Case {
        int value;
        const char* text;
    } cases[] = {{0, "@@Bj No leap second pending\n"},
                 {1, "@@Bj Addition of one leap second is pending\n"},
                 {2, "@@Bj Subtraction of one leap second is pending\n"},
                 {3, "@@Bj ...\n"}};
    for (const Case& c : cases) {
        EXPECT_EQ(Decode(decoder, OncoreBuilder("Bj", 5).Put(4, c.value, 1)), c.text);
        EXPECT_EQ(view.leapSecondPending, c.value);
    }
}

TEST(OncoreTime, LeapEventDateDecidesThePendingState) {
    struct Case {
        int present, future, year, month, day, pending;
    } cases[] = {
        {17, 18, 2021, 2, 28, 1},  {17, 18, 2021, 2, 15, 1}, {18, 17, 2021, 3, 1, 2},
        {17, 17, 2022, 1, 1, 0},   {17, 18, 2021, 2, 14, 0}, {17, 18, 2021, 1, 31, 0},
        {17, 18, 2020, 12, 31, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.day);
        RecordingOncoreView view; // today is 2021-02-15
        OncoreDecoder decoder(view);
        OncoreBuilder b("Gj", 18);
        b.Put(4, c.present, 1).Put(5, c.future, 1).Put(6, c.year, 2).Put(8, c.month, 1).Put(9, c.day, 1);
        b.Put(10, 59, 1).Put(11, 5, 4).Put(15, 1, 1).Put(16, 2, 1).Put(17, 3, 1);
        const std::string text = Decode(decoder, b);
        EXPECT_EQ(view.leapSecondPending, c.pending);
        if (c.pending == 1 && c.day == 28) {
            EXPECT_EQ(text, "@@Gj,17,18,2021,2,28,59.000000005,1,2,3\n");
        }
    }
}

OncoreBuilder Traim(const char* id, int units) {
    OncoreBuilder b(id, units);
    b.Put(5, 1, 1).Put(6, 10, 2).Put(8, 3, 1);
    for (int at = 9; at <= 18; ++at) {
        b.Put(at, at - 9, 1);
    }
    b.Put(19, 1, 1).Put(20, 0, 1).Put(21, 1, 1).Put(22, 7, 1).Put(23, 25, 2).Put(25, 0xFE, 1);
    b.Put(26, 12, 1).Put(27, 123456789, 4);
    return b;
}

TEST(OncoreTraim, SixAndEightChannelStatusTexts) {
    RecordingOncoreView view;
    view.rawWindowShown = TRUE;
    OncoreDecoder decoder(view);
    const std::string text = Decode(decoder, Traim("Bn", 56));
    EXPECT_EQ(text,
              "@@Bn, TRAIM (6-ch) ENABLED, limit = 1000 nsec, 1PPS is ON if T-RAIM is OK, 0123456789, pulse "
              "status is ON, 1PPS pulse sync is referenced to UTC, Time RAIM solution status is ALARM, Time "
              "RAIM status is ERROR, Sawtooth = -2.00, One-Sigma Accuracy = 25, 12, 0.123456789, 0, "
              "0.000000000, 0, 0.000000000, 0, 0.000000000, 0, 0.000000000, 0, 0.000000000\n");
    // The first status after start (or a T-RAIM set-up) reaches the receiver-ID window, once.
    ASSERT_EQ(view.rxIdAdded.size(), 1u);
    EXPECT_EQ(Narrow(view.rxIdAdded[0]) + "\n", text);
    EXPECT_FALSE(view.showTraimStatusOnce);

    OncoreBuilder en = Traim("En", 66);
    en.Put(5, 0, 1).Put(6, 3, 2).Put(8, 9, 1).Put(19, 5, 1).Put(20, 1, 1).Put(21, 2, 1).Put(22, 0, 1);
    const std::string eight = Decode(decoder, en);
    EXPECT_EQ(
        eight.rfind(
            "@@En, TRAIM (8-ch) DISBLED, limit = 300 nsec, 1PPS state ERROR, 0123456789, pulse status "
            "is ERROR, 1PPS pulse sync is referenced to GPS, Time RAIM solution status is UNKNOWN, Time "
            "RAIM status is detection and isolation possible, Sawtooth = -2.00",
            0),
        0u)
        << eight;
    EXPECT_EQ(std::count(eight.begin(), eight.end(), ','), 10 + 2 * 8);
    EXPECT_EQ(view.rxIdAdded.size(), 1u);
}

TEST(OncoreTraim, TwelveChannelStatus) {
    RecordingOncoreView view;
    view.rawWindowShown = TRUE;
    view.showTraimStatusOnce = FALSE;
    OncoreDecoder decoder(view);
    OncoreBuilder b("Hn", 75);
    b.Put(4, 1, 1).Put(5, 0, 1).Put(6, 9, 1).Put(7, 1, 1).Put(8, 0x00A0000F, 4).Put(12, 7, 2).Put(14, 3, 1);
    b.Put(15, 31, 1).Put(16, 1000, 4);
    const std::string text = Decode(decoder, b);
    EXPECT_EQ(
        text.rfind("@@Hn , Pulse on, 1PPS Ref to UTC, T-RAIM Solution Status UNKNOWN, T-RAIM Status Can "
                   "Detect But Not Isolate, SVIDs Removed= 0x00A0000F, Sawtooth 03.00, One-Sigma Accuracy 7, "
                   "31, 0.000001000, 0, 0.000000000",
                   0),
        0u)
        << text;
    EXPECT_TRUE(view.rxIdAdded.empty());
}

TEST(OncoreDops, DopsAndTheDifferentialAge) {
    RecordingOncoreView view;
    view.rawWindowShown = TRUE;
    OncoreDecoder decoder(view);
    OncoreBuilder bk("Bk", 66);
    bk.Put(4, 25, 2).Put(6, 18, 2).Put(8, 11, 2).Put(10, 14, 2).Put(12, 9, 2).Put(22, 35, 2);
    EXPECT_EQ(Decode(decoder, bk),
              "@@Bk GDOP = 2.5, PDOP =  1.8, HDOP =  1.1, VDOP =  1.4 TDOP = 0.9 ... \n");
    ASSERT_EQ(view.dops.size(), 1u);
    EXPECT_EQ(view.dops[0], (std::vector<double>{25 * 0.1, 18 * 0.1, 11 * 0.1, 14 * 0.1, 9 * 0.1}));
    EXPECT_EQ(view.Cell(21, 1), u"<unset>"); // no corrections announced

    EXPECT_EQ(Decode(decoder, OncoreBuilder("Ck", 4)), "@@Ck: incoming DGPS\n");
    EXPECT_EQ(view.dgpsStatus, 1);
    Decode(decoder, bk);
    EXPECT_EQ(view.Cell(21, 1), u"Receiving DGPS, Age 3.5 sec");
    EXPECT_EQ(view.dgpsStatus, 1);

    // An age of 0 is shown once and ends the differential state.
    OncoreBuilder ek("Ek", 68);
    ek.Put(4, 25, 2).Put(22, 0, 2);
    EXPECT_EQ(Decode(decoder, ek).rfind("@@Ek, GDOP = 2.5, PDOP =  0.0", 0), 0u);
    EXPECT_EQ(view.Cell(21, 1), u"Receiving DGPS, Age 0.0 sec");
    EXPECT_EQ(view.dgpsStatus, 0);
    view.cells.clear();
    Decode(decoder, bk);
    EXPECT_EQ(view.Cell(21, 1), u"<unset>");
}

} // namespace

// The frequent messages whose text only the raw-data window (or its log) shows leave it at its head while
// neither does; everything else they do is done all the same. The first T-RAIM status after a set-up still
// gets its text, for the receiver-ID window.
TEST(OncoreTextsWhenNobodyReads, FrequentMessagesKeepTheirEffectsButBuildNoText) {
    RecordingOncoreView view;
    OncoreDecoder decoder(view);
    EXPECT_EQ(Decode(decoder, OncoreBuilder("Bo", 5).Put(4, 18, 1)), "@@Bo ...\n");
    EXPECT_EQ(view.gpsUtcOffsetSec, 18);
    OncoreBuilder bk("Bk", 66);
    bk.Put(4, 25, 2);
    EXPECT_EQ(Decode(decoder, bk), "@@Bk ...\n");
    EXPECT_EQ(view.dops.size(), 1u);
    OncoreBuilder hn("Hn", 75);
    hn.Put(4, 1, 1);
    EXPECT_EQ(Decode(decoder, hn).rfind("@@Hn , Pulse on", 0), 0u); // the first one, for the window
    EXPECT_EQ(view.rxIdAdded.size(), 1u);
    EXPECT_EQ(Decode(decoder, hn), "@@Hn ...\n");
    EXPECT_EQ(Decode(decoder, Traim("En", 66)), "@@En ...\n");
    EXPECT_EQ(view.rxIdAdded.size(), 1u);

    view.logSecond = TRUE;
    EXPECT_EQ(Decode(decoder, OncoreBuilder("Bo", 5).Put(4, 18, 1)), "@@Bo - UTC offset = 18 seconds\n");
}
