#include "platform/base/COleDateTime.h"
#include "platform/base/CodePage.h"
#include "platform/base/TimeConversions.h"

#include "TimeTestSupport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

constexpr double kPiDay1995 = 34772.0 + 45689.0 / 86400.0; // 1995-03-14 12:41:29

struct Expected {
    int year, month, day, hour, minute, second, dayOfWeek;
};

void ExpectFields(const COleDateTime& date, const Expected& e) {
    EXPECT_EQ(date.GetStatus(), COleDateTime::valid);
    EXPECT_EQ(date.GetYear(), e.year);
    EXPECT_EQ(date.GetMonth(), e.month);
    EXPECT_EQ(date.GetDay(), e.day);
    EXPECT_EQ(date.GetHour(), e.hour);
    EXPECT_EQ(date.GetMinute(), e.minute);
    EXPECT_EQ(date.GetSecond(), e.second);
    EXPECT_EQ(date.GetDayOfWeek(), e.dayOfWeek);
}

} // namespace

TEST(OleDateTime, EncodingCountsDaysFrom30December1899) {
    struct Case {
        double value;
        Expected fields;
    };
    const Case cases[] = {
        {0.0, {1899, 12, 30, 0, 0, 0, 7}},
        {2.5, {1900, 1, 1, 12, 0, 0, 2}},
        // Before the epoch the fraction still runs forward from midnight.
        {-1.25, {1899, 12, 29, 6, 0, 0, 6}},
        {-1.75, {1899, 12, 29, 18, 0, 0, 6}},
        {35503.0, {1997, 3, 14, 0, 0, 0, 6}},
        {kPiDay1995, {1995, 3, 14, 12, 41, 29, 3}},
        {kMinOleDate, {100, 1, 1, 0, 0, 0, 6}},
        {kMaxOleDate + 86399.0 / 86400.0, {9999, 12, 31, 23, 59, 59, 6}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.value);
        ExpectFields(COleDateTime(c.value), c.fields);
        const COleDateTime built(c.fields.year, c.fields.month, c.fields.day, c.fields.hour, c.fields.minute,
                                 c.fields.second);
        EXPECT_EQ(built.GetStatus(), COleDateTime::valid);
        EXPECT_NEAR(built.m_dt, c.value, 1e-9);
    }
    EXPECT_EQ(COleDateTime(kPiDay1995).GetDayOfYear(), 73);
    EXPECT_EQ(COleDateTime(2000, 12, 31, 0, 0, 0).GetDayOfYear(), 366);
    EXPECT_EQ(COleDateTime(1899, 12, 30, 6, 0, 0).m_dt, 0.25);
}

TEST(OleDateTime, BreakdownRoundsToTheSecond) {
    ExpectFields(COleDateTime(0.5 - 0.4 / 86400.0), {1899, 12, 30, 12, 0, 0, 7});
    ExpectFields(COleDateTime(0.5 + 0.6 / 86400.0), {1899, 12, 30, 12, 0, 1, 7});
    // Rounding carries into the next day, forward in time on both sides of the epoch.
    ExpectFields(COleDateTime(1.0 - 0.2 / 86400.0), {1899, 12, 31, 0, 0, 0, 1});
    ExpectFields(COleDateTime(-1.0 - 86399.8 / 86400.0), {1899, 12, 30, 0, 0, 0, 7});
}

TEST(OleDateTime, ValuesOutsideTheCalendarAreInvalid) {
    for (double bad : {kMinOleDate - 1.0, kMaxOleDate + 1.0, std::numeric_limits<double>::quiet_NaN(),
                       std::numeric_limits<double>::infinity(), -1e300}) {
        const COleDateTime date(bad);
        EXPECT_EQ(date.GetStatus(), COleDateTime::invalid) << bad;
        EXPECT_EQ(date.GetYear(), AFX_OLE_DATETIME_ERROR);
        EXPECT_EQ(date.GetDayOfYear(), AFX_OLE_DATETIME_ERROR);
        EXPECT_EQ(date.Format().str(), u"Invalid DateTime");
        SYSTEMTIME st{};
        EXPECT_FALSE(date.GetAsSystemTime(st));
    }
    COleDateTime null;
    null.SetStatus(COleDateTime::null);
    EXPECT_EQ(null.GetMonth(), AFX_OLE_DATETIME_ERROR);
    EXPECT_EQ(null.Format().str(), u"");
    EXPECT_EQ(null.Format(u"%Y").str(), u"");
}

TEST(OleDateTime, SetDateTimeRefusesFieldsOutsideTheCalendar) {
    struct Case {
        int year, month, day, hour, minute, second;
    };
    const Case bad[] = {
        {1995, 2, 30, 0, 0, 0},  {1900, 2, 29, 0, 0, 0},  {1995, 13, 1, 0, 0, 0},  {1995, 0, 1, 0, 0, 0},
        {10000, 1, 1, 0, 0, 0},  {99, 12, 31, 0, 0, 0},   {1995, 4, 31, 0, 0, 0},  {1995, 3, 0, 0, 0, 0},
        {1995, 3, 14, 24, 0, 0}, {1995, 3, 14, 0, 60, 0}, {1995, 3, 14, 0, 0, 60}, {1995, 3, 14, -1, 0, 0},
    };
    for (const Case& c : bad) {
        COleDateTime date(kPiDay1995);
        EXPECT_EQ(date.SetDateTime(c.year, c.month, c.day, c.hour, c.minute, c.second), 1)
            << c.year << "-" << c.month << "-" << c.day << " " << c.hour << ":" << c.minute << ":"
            << c.second;
        EXPECT_EQ(date.GetStatus(), COleDateTime::invalid);
    }
    COleDateTime date;
    EXPECT_EQ(date.SetDateTime(2000, 2, 29, 23, 59, 59), 0);
    EXPECT_EQ(date.GetStatus(), COleDateTime::valid);
    EXPECT_EQ(date.SetDate(1995, 3, 14), 0);
    EXPECT_EQ(date.m_dt, 34772.0);
    EXPECT_EQ(date.SetTime(18, 0, 0), 0);
    EXPECT_EQ(date.m_dt, 0.75);
    EXPECT_EQ(date.SetTime(24, 0, 0), 1);
}

TEST(OleDateTime, OrderAndArithmeticFollowTimeAcrossTheEpoch) {
    const COleDateTime early(-1.0);  // 29 Dec 00:00
    const COleDateTime later(-1.25); // 29 Dec 06:00
    EXPECT_LT(early, later);
    EXPECT_GT(COleDateTime(0.0), later);
    EXPECT_LE(later, later);

    EXPECT_EQ((later + COleDateTimeSpan(0.5)).m_dt, -1.75);
    EXPECT_EQ((COleDateTime(0.25) - COleDateTimeSpan(1.0)).m_dt, -1.25);
    EXPECT_EQ((later + COleDateTimeSpan(1.0)).m_dt, 0.25);
    EXPECT_DOUBLE_EQ((later - COleDateTime(0.0)).m_span, -0.75);
    COleDateTime moving(kPiDay1995);
    moving += COleDateTimeSpan(1, 0, 0, 0);
    moving -= COleDateTimeSpan(0, 12, 0, 0);
    EXPECT_EQ(moving.GetDay(), 15);
    EXPECT_EQ(moving.GetHour(), 0);
    EXPECT_EQ(moving.GetSecond(), 29);

    EXPECT_EQ((COleDateTime(kMaxOleDate) + COleDateTimeSpan(1.0)).GetStatus(), COleDateTime::invalid);
    COleDateTime null;
    null.SetStatus(COleDateTime::null);
    EXPECT_EQ((null + COleDateTimeSpan(1.0)).GetStatus(), COleDateTime::null);
    EXPECT_EQ((COleDateTime(kMaxOleDate + 5.0) + COleDateTimeSpan(-10.0)).GetStatus(), COleDateTime::invalid);
    EXPECT_EQ((null - COleDateTime(1.0)).GetStatus(), COleDateTimeSpan::null);
    EXPECT_EQ((COleDateTime(kMaxOleDate + 5.0) - COleDateTime(1.0)).GetStatus(), COleDateTimeSpan::invalid);
}

TEST(OleDateTime, ParseAcceptsTheEnglishForms) {
    ScopedTimeZone zone("UTC0");
    ScopedFixedClock clock(1717243200); // 2024-06-01, for dates without a year
    struct Case {
        const char16_t* text;
        int year, month, day, hour, minute, second;
    };
    const Case cases[] = {
        {u"3/14/1995", 1995, 3, 14, 0, 0, 0},
        {u"14 March 1995", 1995, 3, 14, 0, 0, 0},
        {u"March 14, 1995", 1995, 3, 14, 0, 0, 0},
        {u"mar 14 1995", 1995, 3, 14, 0, 0, 0},
        {u"Tuesday, March 14, 1995", 1995, 3, 14, 0, 0, 0},
        {u"1995-03-14", 1995, 3, 14, 0, 0, 0},
        {u"1995/3/14", 1995, 3, 14, 0, 0, 0},
        {u"  3-14-1995  ", 1995, 3, 14, 0, 0, 0},
        {u"14/3/1995", 1995, 3, 14, 0, 0, 0},
        {u"3/14/95", 1995, 3, 14, 0, 0, 0},
        {u"3/14/29", 2029, 3, 14, 0, 0, 0},
        {u"3/14/30", 1930, 3, 14, 0, 0, 0},
        {u"3/14", 2024, 3, 14, 0, 0, 0},
        {u"March 14", 2024, 3, 14, 0, 0, 0},
        {u"March 1995", 1995, 3, 1, 0, 0, 0},
        {u"2/29/2000", 2000, 2, 29, 0, 0, 0},
        {u"12:41", 1899, 12, 30, 12, 41, 0},
        {u"12:41:29", 1899, 12, 30, 12, 41, 29},
        {u"1:05 PM", 1899, 12, 30, 13, 5, 0},
        {u"1:05pm", 1899, 12, 30, 13, 5, 0},
        {u"12:05 AM", 1899, 12, 30, 0, 5, 0},
        {u"12 pm", 1899, 12, 30, 12, 0, 0},
        {u"3/14/1995 12:41:29 PM", 1995, 3, 14, 12, 41, 29},
        {u"1995-03-14 00:41:29", 1995, 3, 14, 0, 41, 29},
        {u"12:41 3/14/1995", 1995, 3, 14, 12, 41, 0},
        {u"March 14, 1995 1:05 PM", 1995, 3, 14, 13, 5, 0},
        {u"1/1/100", 100, 1, 1, 0, 0, 0},
        {u"12/31/9999 23:59:59", 9999, 12, 31, 23, 59, 59},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(Utf16ToUtf8(c.text));
        COleDateTime date;
        EXPECT_TRUE(date.ParseDateTime(c.text));
        ExpectFields(date, {c.year, c.month, c.day, c.hour, c.minute, c.second,
                            COleDateTime(c.year, c.month, c.day, 0, 0, 0).GetDayOfWeek()});
    }
}

TEST(OleDateTime, ParseRefusesOtherText) {
    for (const char16_t* bad : {u"",
                                u"   ",
                                u"hello",
                                u"2/30/1995",
                                u"13/13/1995",
                                u"3/14/10000",
                                u"1/1/99 is fine",
                                u"3/14/0099",
                                u"25:00",
                                u"12:60",
                                u"12:00:60",
                                u"13:00 PM",
                                u"PM",
                                u"1/2/3/4",
                                u"March",
                                u"Tuesday",
                                u"5",
                                u"March April 1995",
                                u"3/14/1995 12:41 12:42",
                                u"12:",
                                u"12::41",
                                u"3/14/1995\u0001",
                                u"3/14/1995 12:41:29:01",
                                u"1234567890/1/1",
                                u"\u0663/14/1995"}) {
        SCOPED_TRACE(Utf16ToUtf8(bad));
        COleDateTime date(kPiDay1995);
        EXPECT_FALSE(date.ParseDateTime(bad));
        EXPECT_EQ(date.GetStatus(), COleDateTime::invalid);
        EXPECT_EQ(date.m_dt, 0.0);
    }
    COleDateTime date;
    EXPECT_FALSE(date.ParseDateTime(nullptr));
}

TEST(OleDateTime, ParseFlagsKeepOnePart) {
    COleDateTime date;
    ASSERT_TRUE(date.ParseDateTime(u"3/14/1995 12:41:29 PM", VAR_TIMEVALUEONLY));
    EXPECT_DOUBLE_EQ(date.m_dt, 45689.0 / 86400.0);
    ASSERT_TRUE(date.ParseDateTime(u"3/14/1995 12:41:29 PM", VAR_DATEVALUEONLY | LOCALE_NOUSEROVERRIDE,
                                   LANG_USER_DEFAULT));
    EXPECT_EQ(date.m_dt, 34772.0);
    ASSERT_TRUE(date.ParseDateTime(u"3/14/1995", VAR_TIMEVALUEONLY));
    EXPECT_EQ(date.m_dt, 0.0);
}

TEST(OleDateTime, FormatGivesTheUsShortDateAndTime) {
    struct Case {
        double value;
        DWORD flags;
        const char16_t* expected;
    };
    const Case cases[] = {
        {kPiDay1995, 0, u"3/14/1995 12:41:29 PM"},
        {34772.0, 0, u"3/14/1995"},
        {0.25, 0, u"6:00:00 AM"},
        {0.0, 0, u"12:00:00 AM"},
        {-1.25, 0, u"12/29/1899 6:00:00 AM"},
        {35503.0 + 13.0 / 24.0, 0, u"3/14/1997 1:00:00 PM"},
        {kPiDay1995, VAR_DATEVALUEONLY, u"3/14/1995"},
        {kPiDay1995, VAR_TIMEVALUEONLY, u"12:41:29 PM"},
        {34772.0, VAR_TIMEVALUEONLY, u"12:00:00 AM"},
        {kMinOleDate, 0, u"1/1/0100"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(COleDateTime(c.value).Format(c.flags, LANG_USER_DEFAULT).str(), c.expected) << c.value;
    }
}

TEST(OleDateTime, FormatWithAPatternBehavesAsTimeFormat) {
    ScopedTimeZone zone("UTC0");
    const COleDateTime date(kPiDay1995);
    EXPECT_EQ(date.Format(u"%#c").str(), u"Tuesday, March 14, 1995, 12:41:29");
    EXPECT_EQ(date.Format(u"%c|%x|%X|%j|%U|%W").str(), u"03/14/95 12:41:29|03/14/95|12:41:29|073|11|11");
    EXPECT_EQ(COleDateTime(0.0).Format(u"%A, %B %d, %Y").str(), u"Saturday, December 30, 1899");
    EXPECT_EQ(COleDateTime(kMinOleDate).Format(u"%Y %#Y %y").str(), u"0100 100 00");
    EXPECT_EQ(date.Format(u"%Q").str(), u"");
    EXPECT_EQ(COleDateTime(kMaxOleDate + 2.0).Format(u"%Y").str(), u"Invalid DateTime");
}

TEST(OleDateTime, ConversionsFromClockValuesUseLocalTime) {
    ScopedTimeZone zone(kNewYorkZone);
    // Sunday 1995-01-15 12:41:29 UTC is 07:41:29 in New York.
    constexpr __time64_t kInstant = 790173689;
    const COleDateTime fromTime(kInstant);
    ExpectFields(fromTime, {1995, 1, 15, 7, 41, 29, 1});
    EXPECT_EQ(COleDateTime(static_cast<__time64_t>(-86400)).GetStatus(), COleDateTime::invalid);

    FILETIME ft{};
    ASSERT_TRUE(UnixTimeToFileTime(kInstant, 0, &ft));
    ExpectFields(COleDateTime(ft), {1995, 1, 15, 7, 41, 29, 1});
    // In daylight time the offset is an hour less.
    ASSERT_TRUE(UnixTimeToFileTime(kInstant + 180 * 86400, 0, &ft));
    ExpectFields(COleDateTime(ft), {1995, 7, 14, 8, 41, 29, 6});

    SYSTEMTIME st{};
    ASSERT_TRUE(fromTime.GetAsSystemTime(st));
    EXPECT_EQ(st.wHour, 7);
    EXPECT_EQ(st.wDayOfWeek, 0);
    EXPECT_EQ(COleDateTime(st), fromTime);

    ScopedFixedClock clock(kInstant, 900000000);
    ExpectFields(COleDateTime::GetCurrentTime(), {1995, 1, 15, 7, 41, 29, 1});
}

TEST(OleDateTimeSpan, PartsComeFromTheSpanRoundedToTheSecond) {
    const COleDateTimeSpan span(1, 2, 3, 4);
    EXPECT_EQ(span.GetStatus(), COleDateTimeSpan::valid);
    EXPECT_EQ(span.GetDays(), 1);
    EXPECT_EQ(span.GetHours(), 2);
    EXPECT_EQ(span.GetMinutes(), 3);
    EXPECT_EQ(span.GetSeconds(), 4);
    EXPECT_EQ(span.GetTotalHours(), 26.0);
    EXPECT_EQ(span.GetTotalMinutes(), 26.0 * 60 + 3);
    EXPECT_EQ(span.GetTotalSeconds(), 93784.0);
    EXPECT_EQ(span.Format(u"%D days %H:%M:%S").str(), u"1 days 02:03:04");

    const COleDateTimeSpan almostADay(1.0 - 0.1 / 86400.0);
    EXPECT_EQ(almostADay.GetDays(), 1);
    EXPECT_EQ(almostADay.GetSeconds(), 0);
    EXPECT_EQ(almostADay.GetTotalDays(), 1.0);

    const COleDateTimeSpan negative(-1.5);
    EXPECT_EQ(negative.GetDays(), -1);
    EXPECT_EQ(negative.GetHours(), -12);
    EXPECT_EQ(negative.GetTotalHours(), -36.0);

    COleDateTimeSpan set;
    set.SetDateTimeSpan(0, 36, 0, 0);
    EXPECT_EQ(set.m_span, 1.5);
    EXPECT_EQ((set * 2.0).m_span, 3.0);
    EXPECT_EQ((set / 3.0).m_span, 0.5);
    EXPECT_EQ((set - negative).m_span, 3.0);
    EXPECT_EQ((-set).m_span, -1.5);
    EXPECT_LT(negative, set);
}

TEST(OleDateTimeSpan, StatusCarriesThroughArithmeticAndFormat) {
    EXPECT_EQ(COleDateTimeSpan(4e6).GetStatus(), COleDateTimeSpan::invalid);
    EXPECT_EQ(COleDateTimeSpan(std::nan("")).GetStatus(), COleDateTimeSpan::invalid);
    EXPECT_EQ((COleDateTimeSpan(1.0) / 0.0).GetStatus(), COleDateTimeSpan::invalid);
    EXPECT_EQ((COleDateTimeSpan(3e6) + COleDateTimeSpan(3e6)).GetStatus(), COleDateTimeSpan::invalid);
    COleDateTimeSpan null;
    null.SetStatus(COleDateTimeSpan::null);
    EXPECT_EQ((null + COleDateTimeSpan(1.0)).GetStatus(), COleDateTimeSpan::null);
    EXPECT_EQ(null.Format(u"%D").str(), u"");
    EXPECT_EQ(COleDateTimeSpan(4e6).Format(u"%D").str(), u"Invalid DateTimeSpan");
}
