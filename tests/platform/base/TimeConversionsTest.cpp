#include "platform/base/TimeConversions.h"
#include "platform/base/LastError.h"

#include "TimeTestSupport.h"

#include <gtest/gtest.h>

namespace {

SYSTEMTIME MakeSystemTime(int year, int month, int day, int hour, int minute, int second, int ms,
                          int dayOfWeek = 0) {
    SYSTEMTIME st{};
    st.wYear = static_cast<WORD>(year);
    st.wMonth = static_cast<WORD>(month);
    st.wDay = static_cast<WORD>(day);
    st.wHour = static_cast<WORD>(hour);
    st.wMinute = static_cast<WORD>(minute);
    st.wSecond = static_cast<WORD>(second);
    st.wMilliseconds = static_cast<WORD>(ms);
    st.wDayOfWeek = static_cast<WORD>(dayOfWeek);
    return st;
}

void ExpectSameSystemTime(const SYSTEMTIME& a, const SYSTEMTIME& b) {
    EXPECT_EQ(a.wYear, b.wYear);
    EXPECT_EQ(a.wMonth, b.wMonth);
    EXPECT_EQ(a.wDay, b.wDay);
    EXPECT_EQ(a.wDayOfWeek, b.wDayOfWeek);
    EXPECT_EQ(a.wHour, b.wHour);
    EXPECT_EQ(a.wMinute, b.wMinute);
    EXPECT_EQ(a.wSecond, b.wSecond);
    EXPECT_EQ(a.wMilliseconds, b.wMilliseconds);
}

} // namespace

TEST(TimeConversions, SystemTimeFileTimeAndUnixSecondsRoundTrip) {
    struct Case {
        SYSTEMTIME fields; // with the expected day of the week
        std::int64_t unixSeconds;
    };
    const Case cases[] = {
        {MakeSystemTime(1601, 1, 1, 0, 0, 0, 0, 1), -11644473600LL},
        {MakeSystemTime(1970, 1, 1, 0, 0, 0, 0, 4), 0},
        {MakeSystemTime(1969, 12, 31, 23, 59, 59, 999, 3), -1},
        {MakeSystemTime(2038, 1, 19, 3, 14, 8, 0, 2), 2147483648LL},
        {MakeSystemTime(2000, 2, 29, 23, 59, 59, 500, 2), 951868799},
        {MakeSystemTime(2100, 3, 1, 0, 0, 0, 0, 1), 4107542400LL},
        {MakeSystemTime(1995, 3, 14, 12, 41, 29, 7, 2), 795184889},
        {MakeSystemTime(30827, 12, 31, 23, 59, 59, 999, 5), 910670515199LL},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.unixSeconds);
        FILETIME ft{};
        ASSERT_TRUE(SystemTimeToFileTime(&c.fields, &ft));
        EXPECT_EQ(FileTimeToTicks(ft), static_cast<ULONGLONG>((c.unixSeconds + kFileTimeEpochOffsetSeconds) *
                                                                  kFileTimeTicksPerSecond +
                                                              c.fields.wMilliseconds * 10000LL));
        SYSTEMTIME back{};
        ASSERT_TRUE(FileTimeToSystemTime(&ft, &back));
        ExpectSameSystemTime(back, c.fields);

        std::int64_t seconds = 0;
        std::int32_t nanoseconds = 0;
        ASSERT_TRUE(FileTimeToUnixTime(ft, &seconds, &nanoseconds));
        EXPECT_EQ(seconds, c.unixSeconds);
        EXPECT_EQ(nanoseconds, c.fields.wMilliseconds * 1000000);

        SYSTEMTIME fromUnix{};
        ASSERT_TRUE(UnixTimeToSystemTime(c.unixSeconds, c.fields.wMilliseconds, &fromUnix));
        ExpectSameSystemTime(fromUnix, c.fields);
        int ms = -1;
        ASSERT_TRUE(SystemTimeToUnixTime(c.fields, &seconds, &ms));
        EXPECT_EQ(seconds, c.unixSeconds);
        EXPECT_EQ(ms, c.fields.wMilliseconds);
    }
}

TEST(TimeConversions, InvalidSystemTimesAndFileTimesAreRefused) {
    const SYSTEMTIME bad[] = {
        MakeSystemTime(2100, 2, 29, 0, 0, 0, 0),    MakeSystemTime(1600, 12, 31, 23, 59, 59, 0),
        MakeSystemTime(30828, 1, 1, 0, 0, 0, 0),    MakeSystemTime(1995, 13, 1, 0, 0, 0, 0),
        MakeSystemTime(1995, 0, 1, 0, 0, 0, 0),     MakeSystemTime(1995, 4, 31, 0, 0, 0, 0),
        MakeSystemTime(1995, 3, 0, 0, 0, 0, 0),     MakeSystemTime(1995, 3, 14, 24, 0, 0, 0),
        MakeSystemTime(1995, 3, 14, 0, 60, 0, 0),   MakeSystemTime(1995, 3, 14, 0, 0, 60, 0),
        MakeSystemTime(1995, 3, 14, 0, 0, 0, 1000),
    };
    for (const SYSTEMTIME& st : bad) {
        SCOPED_TRACE(st.wYear * 10000 + st.wMonth * 100 + st.wDay);
        FILETIME ft{};
        SetLastError(0);
        EXPECT_FALSE(SystemTimeToFileTime(&st, &ft));
        EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
    }

    // The largest FILETIME still breaks down (into a year SYSTEMTIME cannot be built from); one tick more
    // is negative as a signed count and refused.
    FILETIME last = TicksToFileTime(0x7FFFFFFFFFFFFFFFULL);
    SYSTEMTIME st{};
    ASSERT_TRUE(FileTimeToSystemTime(&last, &st));
    ExpectSameSystemTime(st, MakeSystemTime(30828, 9, 14, 2, 48, 5, 477, 4));
    FILETIME beyond = TicksToFileTime(0x8000000000000000ULL);
    SetLastError(0);
    EXPECT_FALSE(FileTimeToSystemTime(&beyond, &st));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));

    FILETIME ft{};
    EXPECT_FALSE(UnixTimeToFileTime(-kFileTimeEpochOffsetSeconds - 1, 0, &ft));
    EXPECT_FALSE(UnixTimeToFileTime(0, 1000000000, &ft));
    EXPECT_FALSE(UnixTimeToSystemTime(0, 1000, &st));
    EXPECT_FALSE(UnixTimeToSystemTime(910670515200LL, 0, &st));
}

TEST(TimeConversions, UtcBreakdownMatchesTheCLibraryFarBeyond2038) {
    // Steps of an odd size walk through every time of day, weekday and leap rule.
    for (std::int64_t t = -62135596800LL; t < 253402300800LL; t += 86400LL * 97 + 3607) {
        struct tm ours {};
        struct tm theirs {};
        const time_t tt = static_cast<time_t>(t);
        ASSERT_TRUE(UtcTmFromSeconds(t, &ours));
        ASSERT_NE(gmtime_r(&tt, &theirs), nullptr);
        ASSERT_EQ(ours.tm_year, theirs.tm_year) << t;
        ASSERT_EQ(ours.tm_yday, theirs.tm_yday) << t;
        ASSERT_EQ(ours.tm_mon, theirs.tm_mon) << t;
        ASSERT_EQ(ours.tm_mday, theirs.tm_mday) << t;
        ASSERT_EQ(ours.tm_wday, theirs.tm_wday) << t;
        ASSERT_EQ(ours.tm_hour * 3600 + ours.tm_min * 60 + ours.tm_sec,
                  theirs.tm_hour * 3600 + theirs.tm_min * 60 + theirs.tm_sec)
            << t;
        ASSERT_EQ(SecondsFromUtcTm(ours), t);
    }
}

TEST(TimeConversions, CalendarFieldsCarryLikeTimegm) {
    EXPECT_EQ(DaysFromCivil(1999, 13, 1), DaysFromCivil(2000, 1, 1));
    EXPECT_EQ(DaysFromCivil(2000, 0, 1), DaysFromCivil(1999, 12, 1));
    EXPECT_EQ(DaysFromCivil(2000, 3, 0), DaysFromCivil(2000, 2, 29));
    EXPECT_EQ(DaysFromCivil(1899, 12, 30), -25569);
    struct tm fields {};
    fields.tm_year = 70;
    fields.tm_mon = 0;
    fields.tm_mday = 1;
    fields.tm_sec = -1;
    EXPECT_EQ(SecondsFromUtcTm(fields), -1);
    EXPECT_EQ(DaysInMonth(1900, 2), 28);
    EXPECT_EQ(DaysInMonth(2000, 2), 29);
    EXPECT_EQ(DaysInMonth(2000, 13), 0);
}

TEST(TimeConversions, LocalFileTimesFollowTheZoneRulesOfTheInstant) {
    ScopedTimeZone zone(kNewYorkZone);
    struct Case {
        std::int64_t utc;
        std::int64_t offset;
    };
    // 1995-07-01 10:00Z (daylight time) and 1995-01-15 12:41:29Z (standard time).
    for (const Case& c : {Case{804592800, -4 * 3600}, Case{790173689, -5 * 3600}}) {
        SCOPED_TRACE(c.utc);
        FILETIME utc{};
        ASSERT_TRUE(UnixTimeToFileTime(c.utc, 123456700, &utc));
        FILETIME local{};
        ASSERT_TRUE(FileTimeToLocalFileTime(&utc, &local));
        EXPECT_EQ(static_cast<std::int64_t>(FileTimeToTicks(local) - FileTimeToTicks(utc)),
                  c.offset * kFileTimeTicksPerSecond);
        FILETIME back{};
        ASSERT_TRUE(LocalFileTimeToFileTime(&local, &back));
        EXPECT_EQ(FileTimeToTicks(back), FileTimeToTicks(utc));
    }

    FILETIME zero = TicksToFileTime(0);
    FILETIME out{};
    SetLastError(0);
    EXPECT_FALSE(FileTimeToLocalFileTime(&zero, &out)); // west of UTC, 1601 begins before the range
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
}

TEST(TimeConversions, CompareFileTimeOrdersBothHalves) {
    const FILETIME low = TicksToFileTime(0x00000001FFFFFFFFULL);
    const FILETIME high = TicksToFileTime(0x0000000200000000ULL);
    EXPECT_EQ(CompareFileTime(&low, &high), -1);
    EXPECT_EQ(CompareFileTime(&high, &low), 1);
    EXPECT_EQ(CompareFileTime(&high, &high), 0);
}

TEST(TimeConversions, CurrentUtcComesFromTheInstalledSource) {
    ScopedFixedClock outer(1000);
    {
        ScopedFixedClock clock(795184889, 250000000);
        const UtcInstant now = CurrentUtc();
        EXPECT_EQ(now.seconds, 795184889);
        EXPECT_EQ(now.nanoseconds, 250000000);
    }
    EXPECT_EQ(CurrentUtc().seconds, 1000);
    // An empty source is the system clock, well past both.
    SetCurrentUtcSource({});
    EXPECT_GT(CurrentUtc().seconds, 1500000000);
}

TEST(TimeConversions, FormatTmRefusesUnknownConversionsAndBrokenFields) {
    struct tm fields {};
    ASSERT_TRUE(UtcTmFromSeconds(795184889, &fields));
    std::u16string out = u"stale";
    EXPECT_TRUE(FormatTm(out, u"%Y-%m-%d", fields, u"UTC"));
    EXPECT_EQ(out, u"1995-03-14");
    for (const char16_t* bad : {u"%Q", u"abc%", u"%#", u"%E", u"%5d", u"%-d"}) {
        out = u"stale";
        EXPECT_FALSE(FormatTm(out, bad, fields, u"UTC"));
        EXPECT_EQ(out, u"");
    }
    fields.tm_mon = 12;
    EXPECT_FALSE(FormatTm(out, u"%b", fields, u"UTC"));
    fields.tm_mon = 2;
    fields.tm_wday = -1;
    EXPECT_FALSE(FormatTm(out, u"%a", fields, u"UTC"));
}
