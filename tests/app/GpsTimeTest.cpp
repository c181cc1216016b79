#include "app/GpsTime.h"

#include "AppTestSupport.h"
#include "support/ScopedEnvironment.h"

#include <gtest/gtest.h>

using apptest::Utc;

TEST(GpsTime, NewObjectHasNoCorrectionOffsetsOrMjd) {
    CGpsTime t;
    EXPECT_EQ(t.GetCorrection(), 0);
    EXPECT_EQ(t.GetEpochOffset(), 0);
    EXPECT_EQ(t.GetPpsOffset(), 0u);
    EXPECT_EQ(t.GetCableDelay(), 0u);
    EXPECT_EQ(t.GetMjd(), 0u);
}

// MJD, GPS week and calendar fields, checked against dates counted independently of the formula.
TEST(GpsTime, CalendarMjdAndGpsWeek) {
    struct Case {
        CTime time;
        DWORD mjd;
        UINT week;
        int dayOfWeek, dayOfYear;
    } cases[] = {
        {Utc(2000, 1, 1), 51544, 1042, 7, 1},
        {Utc(2004, 12, 31, 23, 59, 59), 53370, 1303, 6, 366},
        {Utc(1980, 1, 6), 44244, 0, 1, 6},
        {Utc(2024, 3, 10, 2, 30), 60379, 2305, 1, 70},
        // Past 2038 and past the 1024- and 2048-week roll-overs: no 32-bit wrap, no modulo.
        {Utc(2040, 2, 29, 12), 66213, 3138, 4, 60},
        {Utc(2099, 12, 31), 88068, 6260, 5, 365},
    };
    for (const Case& c : cases) {
        CGpsTime t;
        t.SetTime(c.time);
        SCOPED_TRACE(apptest::Narrow(t.Format(u"%Y-%m-%d %H:%M:%S")));
        EXPECT_EQ(t.GetMjd(), c.mjd);
        EXPECT_EQ(t.GetGpsWeek(), c.week);
        EXPECT_EQ(t.GetDayOfWeek(), c.dayOfWeek);
        EXPECT_EQ(t.GetDayOfYear(), c.dayOfYear);
    }
}

// The receiver's UTC fields come back as reported in any PC time zone, also in the hour that the local
// clock skips (2024-03-10 02:30 does not exist in US Pacific time).
TEST(GpsTime, FieldsAreUtcWhateverTheTimeZone) {
    for (const char* zone : {"UTC0", "PST8PDT,M3.2.0,M11.1.0", "NZST-12NZDT,M9.5.0,M4.1.0/3"}) {
        testsupport::ScopedTimeZone tz(zone);
        CGpsTime t;
        t.SetTime(Utc(2024, 3, 10, 2, 30, 15));
        EXPECT_EQ(t.GetYear(), 2024) << zone;
        EXPECT_EQ(t.GetMonth(), 3);
        EXPECT_EQ(t.GetDay(), 10);
        EXPECT_EQ(t.GetHour(), 2) << zone;
        EXPECT_EQ(t.GetMinute(), 30);
        EXPECT_EQ(t.GetSecond(), 15);
        EXPECT_EQ(t.Format(u"%d%b%y %H:%M:%S"), u"10Mar24 02:30:15");
        EXPECT_EQ(t.SubtractSpan(CTimeSpan(16)).FormatGmt(u"%H:%M:%S"), u"02:29:59");
    }
}

TEST(GpsTime, NoReceiverTimeIsNotATime) {
    EXPECT_FALSE(IsReceiverTime(CTime(kNoReceiverTime)));
    EXPECT_TRUE(IsReceiverTime(CTime(0)));
    CGpsTime t;
    t.SetTime(Utc(2000, 1, 1));
    t.SetTime(CTime(kNoReceiverTime));
    EXPECT_EQ(t.GetMjd(), 0u);
    EXPECT_EQ(t.GetYear(), 0);
}

TEST(GpsTime, SiderealTimeAndMjdFraction) {
    CGpsTime t;
    t.SetLocation(32.0, -117.0);
    t.SetTime(Utc(2000, 1, 1));
    EXPECT_EQ(t.GetSiderealTimeText(0), u"06:39:52.27");
    EXPECT_EQ(t.GetSiderealTimeText(1), u"22:51:52.27");
    // Any flag other than 1 is Greenwich.
    EXPECT_EQ(t.GetSiderealTimeText(7), u"06:39:52.27");
    t.SetTime(Utc(2000, 1, 1, 12));
    EXPECT_EQ(t.GetSiderealTimeText(0), u"18:41:50.54");
    EXPECT_DOUBLE_EQ(t.GetMjdWithFraction(), 51544.5);
    t.SetTime(Utc(2000, 1, 1, 18, 36, 45));
    EXPECT_DOUBLE_EQ(t.GetDayFraction(), (18 * 3600 + 36 * 60 + 45) / 86400.0);
}

TEST(GpsTime, CorrectionFoldsTheOffsetSum) {
    struct Case {
        LONG epochMs;
        ULONG ppsNs, cableNs;
        int correction;
    } cases[] = {
        {499, 0, 0, 499},
        {500, 0, 0, -500},
        {999, 0, 0, -1},
        {1000, 0, 0, 0},
        {1499, 0, 0, 499},
        {0, 400000, 0, 0},
        {0, 600000, 0, 1},
        {0, 0, 2000000, -1},
        // A negative remainder is kept as it is; trunc(x + 0.5) rounds negative sums toward zero.
        {-600, 0, 0, -599},
        {-20, 0, 0, -19},
        {-1500, 0, 0, -499},
        {0, 4294967295u, 0, 295},
        {100, 250000, 1200000, 99},
    };
    for (const Case& c : cases) {
        CGpsTime t;
        t.SetEpochOffset(c.epochMs);
        t.SetPpsOffset(c.ppsNs);
        t.SetCableDelay(c.cableNs);
        EXPECT_EQ(t.GetCorrection(), c.correction)
            << c.epochMs << " ms, " << c.ppsNs << " ns, " << c.cableNs << " ns";
        EXPECT_EQ(t.GetEpochOffset(), c.epochMs);
        EXPECT_EQ(t.GetPpsOffset(), c.ppsNs);
        EXPECT_EQ(t.GetCableDelay(), c.cableNs);
    }
}

TEST(GpsTime, SpanHelpersChangeTheTimeInPlace) {
    CTime t = Utc(2024, 12, 31, 23, 59, 59);
    EXPECT_EQ(AddTimeSpan(t, CTimeSpan(1)), Utc(2025, 1, 1));
    EXPECT_EQ(t, Utc(2025, 1, 1));
    EXPECT_EQ(SubtractTimeSpan(t, CTimeSpan(3600)), Utc(2024, 12, 31, 23));
}
