#include "platform/base/CTime.h"
#include "platform/base/CTimeSpan.h"
#include "platform/base/CodePage.h"
#include "platform/base/TimeConversions.h"

#include "TimeTestSupport.h"

#include <gtest/gtest.h>

#include <climits>

namespace {

constexpr __time64_t kPiDay1995 = 795184889;       // Tuesday 1995-03-14 12:41:29 UTC
constexpr __time64_t kNewYear1995 = 788936643;     // Sunday 1995-01-01 05:04:03 UTC
constexpr __time64_t kNewYear2001 = 978307200;     // Monday 2001-01-01 00:00:00 UTC
constexpr __time64_t kNewYearsEve1995 = 820450800; // Sunday 1995-12-31 23:00:00 UTC
constexpr __time64_t kSummer1995 = 804592800;      // Saturday 1995-07-01 10:00:00 UTC

struct FormatCase {
    __time64_t time;
    const char16_t* format;
    const char16_t* expected;
};

} // namespace

TEST(Time, FormatFollowsTheOriginalRuntimeInTheCLocale) {
    ScopedTimeZone zone("UTC0");
    const FormatCase cases[] = {
        {kPiDay1995, u"%#c", u"Tuesday, March 14, 1995, 12:41:29"},
        {kPiDay1995, u"%c", u"03/14/95 12:41:29"},
        {kPiDay1995, u"%x", u"03/14/95"},
        {kPiDay1995, u"%#x", u"Tuesday, March 14, 1995"},
        {kPiDay1995, u"%X", u"12:41:29"},
        {kPiDay1995, u"%a %A %b %B", u"Tue Tuesday Mar March"},
        {kPiDay1995, u"%d %H %I %M %S %p %w", u"14 12 12 41 29 PM 2"},
        {kPiDay1995, u"%j %#j %U %W", u"073 73 11 11"},
        {kPiDay1995, u"%y %Y %#y %m %#m", u"95 1995 95 03 3"},
        {kPiDay1995, u"%Z|%z", u"UTC|UTC"},
        {kPiDay1995, u"100%% at %H:%M", u"100% at 12:41"},
        {kPiDay1995, u"\u00B0%H\u00B0", u"\u00B012\u00B0"},
        {kPiDay1995, u"", u""},
        // The "#" flag drops leading zeros but leaves the long date's two-digit day alone.
        {kNewYear1995, u"%#d %#H %#M %#S %#I %p", u"1 5 4 3 5 AM"},
        {kNewYear1995, u"%#x", u"Sunday, January 01, 1995"},
        {kNewYear1995, u"%U %W %j", u"01 00 001"},
        {kNewYear2001, u"%U %W %I %p %#c", u"00 01 12 AM Monday, January 01, 2001, 00:00:00"},
        {kNewYearsEve1995, u"%U %W %j", u"53 52 365"},
    };
    for (const FormatCase& c : cases) {
        SCOPED_TRACE(Utf16ToUtf8(c.format));
        const CTime t(c.time);
        EXPECT_EQ(t.Format(c.format).str(), c.expected);
        EXPECT_EQ(t.FormatGmt(c.format).str(), c.expected);
    }
}

TEST(Time, InvalidFormatsAndTimesOutsideTheRuntimeRangeGiveEmptyText) {
    ScopedTimeZone zone("UTC0");
    const CTime t(kPiDay1995);
    for (const char16_t* bad : {u"%Q", u"%H:%", u"%#", u"%Ey", u"%5d"}) {
        EXPECT_EQ(t.Format(bad).str(), u"") << Utf16ToUtf8(bad);
        EXPECT_EQ(t.FormatGmt(bad).str(), u"");
    }
    EXPECT_EQ(t.Format(static_cast<LPCTSTR>(nullptr)).str(), u"");
    for (__time64_t outside : {__time64_t{-86400}, __time64_t{-1}, CTime::kMaxTime + 86400, INT64_MAX}) {
        const CTime odd(outside);
        EXPECT_EQ(odd.Format(u"%Y").str(), u"") << outside;
        EXPECT_EQ(odd.FormatGmt(u"%Y").str(), u"");
        struct tm fields {};
        EXPECT_EQ(odd.GetGmtTm(&fields), nullptr);
        EXPECT_EQ(odd.GetYear(), 0);
        EXPECT_EQ(odd.GetDayOfWeek(), 0);
        EXPECT_EQ(odd.GetHour(), -1);
    }
    EXPECT_EQ(CTime(CTime::kMaxTime).FormatGmt(u"%Y-%m-%d %H:%M:%S").str(), u"3000-12-31 23:59:59");
}

TEST(Time, FieldsAreLocalTimeAndBreakDownLocally) {
    ScopedTimeZone zone(kBerlinZone);
    const CTime summer(1995, 7, 1, 12, 0, 0);
    EXPECT_EQ(summer.GetTime(), kSummer1995);
    EXPECT_EQ(summer.GetHour(), 12);
    EXPECT_EQ(summer.FormatGmt(u"%H").str(), u"10");
    EXPECT_EQ(summer.Format(u"%H %Z").str(), u"12 CEST");
    EXPECT_EQ(summer.GetDayOfWeek(), 7);
    // Forcing standard time reads the same fields an hour later.
    EXPECT_EQ(CTime(1995, 7, 1, 12, 0, 0, 0).GetTime(), kSummer1995 + 3600);
    // Fields out of range carry over, as mktime does.
    EXPECT_EQ(CTime(1995, 6, 30, 36, 0, 0), summer);

    SYSTEMTIME st{};
    ASSERT_TRUE(summer.GetAsSystemTime(st));
    EXPECT_EQ(st.wYear, 1995);
    EXPECT_EQ(st.wMonth, 7);
    EXPECT_EQ(st.wDay, 1);
    EXPECT_EQ(st.wDayOfWeek, 6);
    EXPECT_EQ(st.wHour, 12);
    EXPECT_EQ(CTime(st), summer);

    struct tm gmt {};
    ASSERT_NE(summer.GetGmtTm(&gmt), nullptr);
    EXPECT_EQ(gmt.tm_hour, 10);
    struct tm local {};
    ASSERT_NE(summer.GetLocalTm(&local), nullptr);
    EXPECT_EQ(local.tm_hour, 12);
    EXPECT_EQ(local.tm_isdst, 1);
}

TEST(Time, ConstructionOutsideTheRangeGivesTheFrameworkSentinels) {
    ScopedTimeZone zone("UTC0");
    EXPECT_EQ(CTime(1969, 12, 31, 23, 59, 59).GetTime(), -1);
    EXPECT_EQ(CTime(3001, 1, 1, 0, 0, 0).GetTime(), -1);
    EXPECT_EQ(CTime(1970, 1, 1, 0, 0, 0).GetTime(), 0);
    EXPECT_EQ(CTime(INT_MIN, INT_MIN, INT_MIN, INT_MIN, INT_MIN, INT_MIN).GetTime(), -1);
    EXPECT_EQ(CTime(INT_MAX, INT_MAX, INT_MAX, INT_MAX, INT_MAX, INT_MAX).GetTime(), -1);
    EXPECT_EQ(CTime(2038, 1, 19, 3, 14, 8).GetTime(), 2147483648LL);

    SYSTEMTIME old{};
    old.wYear = 1899;
    old.wMonth = 12;
    old.wDay = 31;
    EXPECT_EQ(CTime(old).GetTime(), 0);

    // DOS date 1995-03-14, time 12:41:28 (two-second steps).
    const WORD dosDate = static_cast<WORD>(((1995 - 1980) << 9) | (3 << 5) | 14);
    const WORD dosTime = static_cast<WORD>((12 << 11) | (41 << 5) | 14);
    EXPECT_EQ(CTime(dosDate, dosTime).GetTime(), kPiDay1995 - 1);
}

TEST(Time, FileTimesAreUtcWhateverTheZone) {
    for (const char* tz : {"UTC0", kNewYorkZone, kBerlinZone}) {
        ScopedTimeZone zone(tz);
        FILETIME ft{};
        ASSERT_TRUE(UnixTimeToFileTime(kSummer1995, 999000000, &ft));
        EXPECT_EQ(CTime(ft).GetTime(), kSummer1995) << tz;
        ASSERT_TRUE(UnixTimeToFileTime(kPiDay1995, 0, &ft));
        EXPECT_EQ(CTime(ft).GetTime(), kPiDay1995) << tz;
    }
    const FILETIME invalid = TicksToFileTime(0xFFFFFFFFFFFFFFFFULL);
    EXPECT_EQ(CTime(invalid).GetTime(), 0);
}

TEST(Time, CurrentTimeComesFromTheClockHook) {
    ScopedFixedClock clock(kPiDay1995, 999999999);
    EXPECT_EQ(CTime::GetCurrentTime().GetTime(), kPiDay1995);
}

TEST(Time, ArithmeticWithSpans) {
    const CTime t(kPiDay1995);
    const CTimeSpan span(1, 2, 3, 4);
    EXPECT_EQ(span.GetTotalSeconds(), 93784);
    EXPECT_EQ((t + span).GetTime(), kPiDay1995 + 93784);
    EXPECT_EQ((t - span).GetTime(), kPiDay1995 - 93784);
    EXPECT_EQ((t + span) - t, span);
    CTime u = t;
    u += span;
    u -= span;
    EXPECT_EQ(u, t);
    EXPECT_TRUE(t < t + span);
    EXPECT_TRUE(t + span > t);
    EXPECT_TRUE(t <= u && t >= u && !(t != u));
    EXPECT_LT(-span, CTimeSpan(0));
}

TEST(TimeSpan, PartsAndFormat) {
    const CTimeSpan span(3, 4, 5, 6);
    EXPECT_EQ(span.GetDays(), 3);
    EXPECT_EQ(span.GetHours(), 4);
    EXPECT_EQ(span.GetTotalHours(), 76);
    EXPECT_EQ(span.GetMinutes(), 5);
    EXPECT_EQ(span.GetTotalMinutes(), 76 * 60 + 5);
    EXPECT_EQ(span.GetSeconds(), 6);
    EXPECT_EQ(span.Format(u"%D days, %H:%M:%S (100%%)").str(), u"3 days, 04:05:06 (100%)");
    // Unknown conversions and a trailing "%" are kept as written.
    EXPECT_EQ(span.Format(u"%Q %D%").str(), u"%Q 3%");
    EXPECT_EQ(span.Format(static_cast<LPCTSTR>(nullptr)).str(), u"");

    const CTimeSpan negative = -span;
    EXPECT_EQ(negative.GetDays(), -3);
    EXPECT_EQ(negative.GetHours(), -4);
    EXPECT_EQ(negative.GetMinutes(), -5);
    EXPECT_EQ(negative.GetSeconds(), -6);
    EXPECT_EQ(negative.Format(u"%D %H:%M:%S").str(), u"-3 -4:-5:-6");

    CTimeSpan sum = span;
    sum += CTimeSpan(0, 20, 0, 0);
    EXPECT_EQ(sum.GetDays(), 4);
    sum -= CTimeSpan(1, 0, 0, 0);
    EXPECT_EQ(sum, span + CTimeSpan(0, 20, 0, 0) - CTimeSpan(86400));
}
