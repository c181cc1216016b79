// Echoes of the set-up commands and the receiver-specific answers.
#include "receiver/OncoreMessageTable.h"
#include "tests/receiver/OncoreTestSupport.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

using namespace oncore_test;

OncoreBuilder Echo(const char* id) {
    const int length = OncoreMessageLength(static_cast<char16_t>(id[0]), static_cast<char16_t>(id[1]));
    return OncoreBuilder(id, length > 0 ? length - 3 : 19);
}

TEST(OncoreEchoes, SentenceTable) {
    struct Case {
        CString message;
        const char* text;
        bool rxIdWindow;
    } cases[] = {
        {Echo("Aa").Put(4, 7, 1).Put(5, 8, 1).Put(6, 9, 1), "@@Aa Time set to 07:08:09 UTC", true},
        {Echo("Ab").Put(4, 1, 1).Put(5, 5, 1).Put(6, 30, 1), "@@Ab GMT Correction set to -05:30", true},
        {Echo("Ab").Put(4, 0, 1).Put(5, 1, 1), "@@Ab GMT Correction set to +01:00", true},
        {Echo("Ac").Put(4, 13, 1).Put(5, 2, 1).Put(6, 2021, 2), "@@Ac Date set to Illegal month 02, 2021 UTC",
         true},
        {Echo("Ac").Put(4, 3, 1).Put(5, 2, 1).Put(6, 2021, 2), "@@Ac Date set to March 02, 2021 UTC", true},
        {Echo("Ad").Put(4, -180000000, 4), "@@Ad Current Latitude set to -50.00000000 degrees", true},
        {Echo("Af").Put(4, 12345, 4), "@@Af Current Height set to 123.45 meters (WGS84)", true},
        {Echo("Ah").Put(4, 2, 1), "@@Ah Satellite Selection Mode AUTOMATIC HIGHEST-IN-SKY", true},
        {Echo("Ai").Put(4, 3, 1).Put(5, 17, 1), "@@Ai Current Satellite Assignment on Channel 3 is Prn 17 ",
         true},
        {Echo("Ak").Put(4, 15, 2), "@@Ak Current xDop Hysteresis is 1.500000", true},
        {Echo("Am").Put(4, 0, 1).Put(5, 0x80000001, 4), "@@Am Satellite Ignore List Mask = 0x80000001", true},
        {Echo("Am").Put(4, 1, 1), "@@Am Satellite Ignore List ERROR", true},
        {Echo("Ap")
             .Put(4, 1, 1)
             .Put(5, 6378137, 3)
             .Put(8, 500, 2)
             .Put(10, 298, 2)
             .Put(12, 25722356, 4)
             .Put(16, -15, 2)
             .Put(18, 20, 2)
             .Put(20, 0, 2),
         "@@Ap Datum Parameters: ID 1: semi-major axis 6378137.500, inverse flattening 298.257223560, delta "
         "X -1.5, "
         "delta Y 2.0, delta Z 0.0",
         true},
        {Echo("Aq").Put(4, 0, 1), "@@Aq Corrections: Ionospheric  and Tropospheric DISABLED", true},
        {Echo("Aq").Put(4, 4, 1), "@@Aq Corrections: Ionospheric/Tropospheric MODE ERROR", true},
        {Echo("As").Put(4, 3600000, 4).Put(8, -7200000, 4).Put(12, 5050, 4),
         "@@As Position-Hold set to  1.00000000, -2.00000000, 50.50", true},
        {Echo("Aw").Put(4, 1, 1), "@@Aw Time Correction Mode UTC", true},
        {Echo("AA").Put(4, 5, 1), "@@AA Current Ephemeris Hold mode  ", true},
        {Echo("AB").Put(4, 9, 1), "@@AB Application Type set to  STATIC", true},
        {Echo("AD").Put(4, 10, 1).Put(5, 90, 1),
         "@@AD Correction Timer Thresholds (seconds): Position Fix = 10, DGPS Output = 90", true},
        {Echo("AM").Put(4, 2, 1).Put(5, 5, 1).Put(6, 300, 2), "@@AM 2.05,300", true},
        {Echo("AO").Put(4, 1, 1), "@@AO RTCM Port set to 4800 baud", true},
        {Echo("AQ").Put(4, 7, 1), "@@AQ Position Filter Select ERROR.", true},
        {Echo("Cf"), "@@Cf Receiver Set to Default Values", false},
        {Echo("Cg").Put(4, 1, 1), "@@Cg Receiver Mode POSITION FIX (i.e., not IDLE)", true},
        {Echo("Ga").Put(4, 3600000, 4).Put(8, 7200000, 4).Put(12, 1234, 4).Put(16, 1, 1),
         "@@Ga Position Estimate set to 1.00000000 degrees lat, 2.00000000 degrees lng, 12.34 meters MSL "
         "altitude.",
         true},
        {Echo("Gb")
             .Put(4, 1, 1)
             .Put(5, 2, 1)
             .Put(6, 2020, 2)
             .Put(8, 4, 1)
             .Put(9, 5, 1)
             .Put(10, 6, 1)
             .Put(11, 255, 1)
             .Put(12, 3, 1)
             .Put(13, 18, 1),
         "@@Gb Time Estimate set to 1, 2, 2020, 4, 5, 6, 255, 3, 18.", true},
        {Echo("Gc").Put(4, 6, 1),
         "@@Gc 1PPS signal output set to ON IF AT LEAST ONE SATELLITE TRACKED (Short)", true},
        {Echo("Gf").Put(4, 15, 2), "@@Gf - TRAIM Alarm Limit set to 15", true},
        {Echo("Gk").Text(4, "ABC123"), "@@Gk Tag = ABC123", true},
        {Echo("Ir"), "@@Ir Oscillator Learning Table Input Acknowledged.", false},
        {Echo("Sc").Put(4, 0x03, 1), "@@Sc GNSS Constellation Mode is GPS & GLONASS", false},
        {Echo("Sc").Put(4, 0, 1), "@@Sc GNSS Constellation Mode is NONE (illegal)", false},
        {Echo("Sx").Put(4, 0x83, 1), "@@Sx GNSS Receiver Type is GPS + GLONASS + SBAS", false},
        {Echo("Sm").Put(4, 9, 1),
         "@@Sm GNSS Receiver save all settings to non-volitile memory = UNKNOWN, no change (illegal value)",
         false},
        {Echo("Sp").Put(4, 18, 1), "@@Sp GNSS Receiver current number of leap seconds = 18", false},
        {Echo("St").Put(4, 0, 1), "@@St GNSS Receiver Date/Time/PPS Alignment is UNKNOWN (illegal value)",
         false},
        {Echo("St").Put(4, 2, 1),
         "@@St GNSS Receiver Date/Time/PPS Alignment is UTC = UTC (USNO) with leap seconds", false},
        {Echo("Tj"), "@@Tj ...", false},
        {Echo("Wb").Put(4, 0x0A, 1).Put(5, 0xB1, 1), "@@Wb 0AB1", false},
        {Echo("Wo").Put(4, 300, 2), "@@Wo , 300 (0x12C), 300 (0x12C)", false},
        {Echo("Wp").Text(4, "123456789012345"), "@@Wp 123456789012345", false},
        {Echo("Ws").Text(4, "ABCDEFGHIJK"), "@@Ws ABCDEFGHIJK", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        RecordingOncoreView view;
        OncoreDecoder decoder(view);
        EXPECT_EQ(Decode(decoder, c.message), std::string(c.text) + "\n");
        if (c.rxIdWindow) {
            EXPECT_EQ(view.rxIdAdded, std::vector<std::u16string>{CString(c.text).str()});
        } else {
            EXPECT_TRUE(view.rxIdAdded.empty());
        }
    }
}

TEST(OncoreEchoes, TimingOffsetsGoIntoTheTimeValueFirst) {
    RecordingOncoreView view;
    OncoreDecoder decoder(view);
    EXPECT_EQ(Decode(decoder, Echo("Ay").Put(4, 1500, 4)), "@@Ay 1pps offset set to 1.500 microseconds\n");
    EXPECT_EQ(view.ppsOffset, 1500u);
    EXPECT_EQ(Decode(decoder, Echo("Az").Put(4, 87, 4)), "@@Az 1pps cable delay set to 87 nanoseconds\n");
    EXPECT_EQ(view.cableDelay, 87u);
    EXPECT_EQ(Decode(decoder, Echo("Ax").Put(4, -3, 2)), "@@Ax Epoch offset set to -3 msec\n");
    EXPECT_EQ(view.epochOffset, -3);
}

TEST(OncoreEchoes, PositionHoldModeGoesToThePane) {
    RecordingOncoreView view;
    OncoreDecoder decoder(view);
    EXPECT_EQ(Decode(decoder, Echo("At").Put(4, 2, 1)),
              "@@At Position Hold Mode Automatic Site Survey in Progress\n");
    EXPECT_EQ(Decode(decoder, Echo("At").Put(4, 7, 1)), "@@At Position Hold Mode ERROR\n");
    EXPECT_EQ(view.receiverMode, (std::vector<int>{2, 7}));
}

TEST(OncoreEchoes, OnePulseModeRestoresTheModemEventsOnce) {
    RecordingOncoreView view;
    OncoreDecoder decoder(view);
    const CString onePps = Echo("AP").Put(4, 0, 1), hundredPps = Echo("AP").Put(4, 1, 1);
    EXPECT_EQ(Decode(decoder, onePps), "@@AP Pulse Mode set to 1PPS output\n");
    EXPECT_TRUE(view.commMaskWrites.empty()); // one pulse a second from the start
    EXPECT_EQ(Decode(decoder, hundredPps), "@@AP Pulse Mode set to 100PPS output\n");
    EXPECT_FALSE(view.onePpsPulseMode);
    EXPECT_TRUE(view.commMaskWrites.empty());
    Decode(decoder, onePps);
    Decode(decoder, onePps);
    EXPECT_EQ(view.commMaskWrites, std::vector<DWORD>{0x01 | 0x38});
    EXPECT_TRUE(view.onePpsPulseMode);
    EXPECT_EQ(Decode(decoder, Echo("AP").Put(4, 2, 1)), "@@AP Pulse Mode set to ERROR output\n");
    EXPECT_TRUE(view.onePpsPulseMode);
}

} // namespace
