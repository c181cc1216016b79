#include "app/ClockDisplay.h"

#include "AppTestSupport.h"
#include "app/GpsTime.h"
#include "support/ScopedEnvironment.h"

#include <gtest/gtest.h>

using apptest::Utc;

namespace {

// A tick time with a given fixed correction. trunc(x + 0.5) rounds negative sums toward zero, so a negative
// correction needs an epoch offset one lower.
CGpsTime At(CTime time, LONG correctionMs = 0) {
    CGpsTime t;
    t.SetLocation(32.0, -117.0);
    t.SetEpochOffset(correctionMs < 0 ? correctionMs - 1 : correctionMs);
    t.SetTime(time);
    return t;
}

const char* const kPacific = "PST8PDT,M3.2.0,M11.1.0";

} // namespace

TEST(ClockDisplay, NameTables) {
    EXPECT_EQ(GetMonthName(1), u"Jan");
    EXPECT_EQ(GetMonthName(12), u"Dec");
    EXPECT_EQ(GetMonthName(0), u"Illegal month");
    EXPECT_EQ(GetMonthName(13), u"Illegal month");
    EXPECT_EQ(GetDayName(1), u"Sunday");
    EXPECT_EQ(GetDayName(7), u"Saturday");
    EXPECT_EQ(GetDayName(0), u"Illegal day");
    EXPECT_EQ(GetDayName(8), u"Illegal day");
}

TEST(ClockDisplay, BigClockInEachMode) {
    testsupport::ScopedTimeZone tz(kPacific);
    const CTime pc = Utc(2000, 1, 1, 12, 0, 1);
    struct Case {
        int mode;
        LONG correction;
        LONGLONG offsetMs;
        const char16_t* text;
    } cases[] = {
        {kDisplayUtc, 0, 0, u"12:00:00.000"},
        {kDisplayUtc, 499, 0, u"12:00:00.499"},
        // A negative correction shows the previous second.
        {kDisplayUtc, -20, 0, u"11:59:59.980"},
        {kDisplayUtc, 999, 0, u"11:59:59.999"},
        {kDisplayPc, 0, 0, u"04:00:01.123"},
        {kDisplayLmst, 0, 0, u"10:53:50.54"},
        {kDisplayGmst, 0, 0, u"18:41:50.54"},
        {kDisplayMjd, 0, 0, u"51544.50000"},
        {kDisplayPcMinusUtc, 0, -1234, u"-1.234"},
        {kDisplayPcMinusUtc, 0, 5, u"0.005"},
        {kDisplayPcMinusUtc, 0, 12345678901LL, u"12345678.901"},
        {6, 0, 0, u""},
    };
    for (const Case& c : cases) {
        const CGpsTime gps = At(Utc(2000, 1, 1, 12), c.correction);
        EXPECT_EQ(FormatBigClockText(c.mode, gps, pc, 123, c.offsetMs), c.text) << "mode " << c.mode;
    }
}

TEST(ClockDisplay, UtcInformationBlock) {
    struct Case {
        CTime time;
        LONG correction;
        int gpsUtc, leap;
        const char16_t* text;
    } cases[] = {
        {Utc(2024, 3, 10, 2, 30, 15), -20, 18, 2,
         u"UTC Day #070  02:30:14.980\r\nSunday, 10 Mar 2024\r\nGPS Week = 2305\r\nUTC = GPS - 18 seconds\r\n"
         u"-1 leap second is pending"},
        {Utc(2024, 3, 10, 2, 30, 15), 5, 0, 1,
         u"UTC Day #070  02:30:15.005\r\nSunday, 10 Mar 2024\r\nGPS Week = 2305\r\n+1 leap second is "
         u"pending"},
        // The first second of a year with a negative correction: the time is a second earlier, the day not.
        {Utc(2000, 1, 1), -1, -1, 0,
         u"UTC Day #001  23:59:59.999\r\nSaturday, 01 Jan 2000\r\nGPS Week = 1042"},
        {Utc(2040, 2, 29, 23, 59, 59), 0, 25, 3,
         u"UTC Day #060  23:59:59.000\r\nWednesday, 29 Feb 2040\r\nGPS Week = 3138\r\nUTC = GPS - 25 "
         u"seconds"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(FormatUtcInfoText(At(c.time, c.correction), c.gpsUtc, c.leap), c.text);
    }
}

TEST(ClockDisplay, PcTimeWithTheZoneName) {
    testsupport::ScopedTimeZone tz(kPacific);
    const CTime winter = Utc(2024, 1, 15, 20, 5, 9);
    EXPECT_EQ(FormatPcTimeText(winter, 7, 1, u"PST", u"PDT"), u"12:05:09.007\r\nPST");
    EXPECT_EQ(FormatPcTimeText(Utc(2024, 7, 15, 20, 5, 9), 7, 2, u"PST", u"PDT"), u"13:05:09.007\r\nPDT");
    // Standard or daylight time shows the name as given, even empty; only an unknown state falls back.
    EXPECT_EQ(FormatPcTimeText(winter, 7, 1, u"", u"PDT"), u"12:05:09.007\r\n");
    EXPECT_EQ(FormatPcTimeText(winter, 7, 0, u"", u""), u"12:05:09.007\r\nUnknown Time Zone");
    EXPECT_EQ(FormatPcTimeText(winter, 7, 0, u"UTC", u""), u"12:05:09.007\r\nUTC");
}

TEST(ClockDisplay, SiderealBlock) {
    EXPECT_EQ(FormatSiderealText(At(Utc(2000, 1, 1, 12))), u"10:53:50.54\r\n18:41:50.54\r\n51544.50000");
    EXPECT_EQ(FormatSiderealText(At(Utc(2024, 3, 10, 2, 30, 15))),
              u"05:55:18.62\r\n13:43:18.62\r\n60379.10434");
}

TEST(ClockDisplay, PositionColumns) {
    const PositionColumns c = SplitPositionColumns(u"a\tb\tc\td", u"e\tf\tg\th\ti", u"j\tk");
    EXPECT_EQ(c.latitude, u"a\ne\nj");
    EXPECT_EQ(c.longitude, u"b\nf\nk");
    EXPECT_EQ(c.altitudeGps, u"c\ng\n");
    EXPECT_EQ(c.altitudeMsl, u"d\nh\ti\n");
}

TEST(ClockDisplay, ClockColour) {
    struct Case {
        BOOL outOfLock, tick, decoderTicks;
        int ppsInterface;
        bool useDefault;
        COLORREF colour;
    } cases[] = {
        {TRUE, TRUE, TRUE, 1, false, RGB(255, 0, 0)},
        {FALSE, TRUE, TRUE, 1, false, RGB(0, 0, 128)},
        {FALSE, TRUE, FALSE, 1, true, 0},
        {FALSE, FALSE, FALSE, 1, false, RGB(255, 0, 0)},
        {FALSE, FALSE, TRUE, 0, false, RGB(0, 0, 128)},
    };
    for (const Case& c : cases) {
        const ClockColour colour = ChooseClockColour(c.outOfLock, c.tick, c.decoderTicks, c.ppsInterface);
        EXPECT_EQ(colour.useDefault, c.useDefault);
        if (!c.useDefault) {
            EXPECT_EQ(colour.colour, c.colour);
        }
    }
}

TEST(ClockDisplay, TimeZoneBias) {
    EXPECT_EQ(TimeZoneBiasMinutes(1, 480, 0, -60), 480);
    EXPECT_EQ(TimeZoneBiasMinutes(2, 480, 0, -60), 420);
    EXPECT_EQ(TimeZoneBiasMinutes(0, 480, 5, -60), 480);
}
