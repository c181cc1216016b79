// The date/time objects: the locale-reading parser and formatter, and the one over the platform's date type.
#include "grid/GridLibraryState.h"
#include "grid_input/CGXNoOleDateTimeImp.h"
#include "grid_input/CGXOleDateTimeImp.h"
#include "grid_input/GridDateTime.h"
#include "platform/base/COleDateTime.h"
#include "platform/base/Locale.h"
#include "tests/support/BeforeEachTest.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// The locale cache is process-wide: every test starts with it unread.
const bool kClearCache = testsupport::BeforeEachTest([] { CGXNoOleDateTimeImp::ClearLocaleCache(); });

struct Tm {
    int year, mon, mday, hour, min, sec;
    bool operator==(const Tm&) const = default;
};

Tm Fields(const std::tm& t) {
    return {t.tm_year, t.tm_mon, t.tm_mday, t.tm_hour, t.tm_min, t.tm_sec};
}

std::ostream& operator<<(std::ostream& out, const Tm& t) {
    return out << t.year << "-" << t.mon << "-" << t.mday << " " << t.hour << ":" << t.min << ":" << t.sec;
}

std::string Narrow(const char16_t* text) {
    return std::string(text, text + std::char_traits<char16_t>::length(text));
}

} // namespace

TEST(NoOleDateTime, ParsesDatesAndTimesIntoBrokenDownTime) {
    ASSERT_TRUE(DolivaSetUserLocale(kLocaleEnglishUS)); // month first, ':' between time fields
    InstallNoOleDateTime();
    struct Case {
        const char16_t* text;
        int order;
        BOOL ok;
        Tm expected;
    };
    const Case cases[] = {
        {u"12/31/99 10:30 PM", 3, TRUE, {99, 11, 31, 22, 30, 0}},
        {u"10:30 PM", 3, TRUE, {70, 0, 1, 22, 30, 0}},
        {u"12:00 PM", 3, TRUE, {70, 0, 1, 12, 0, 0}},
        {u"12:00 AM", 3, TRUE, {70, 0, 1, 0, 0, 0}},
        {u"7:05:09", 3, TRUE, {70, 0, 1, 7, 5, 9}},
        {u"13:00 AM", 3, FALSE, {70, 0, 1, 13, 0, 0}},
        {u"13:00 PM", 3, FALSE, {70, 0, 1, 25, 0, 0}},
        {u"10:75", 3, FALSE, {70, 0, 1, 10, 75, 0}},
        {u"311299", 0, TRUE, {99, 11, 31, 0, 0, 0}},
        {u"29/02/00", 0, TRUE, {100, 1, 29, 0, 0, 0}}, // year 0 is a leap year
        {u"29/02/1900", 0, FALSE, {0, 1, 29, 0, 0, 0}},
        {u"31/04/2001", 0, FALSE, {101, 3, 31, 0, 0, 0}},
        {u"1-Jan-99", 0, FALSE, {0, 0, 0, 0, 0, 0}},
        {u"1/1/0037", 0, TRUE, {137, 0, 1, 0, 0, 0}},
        {u"1/1/37", 0, TRUE, {37, 0, 1, 0, 0, 0}},
        {u"2001.12.24", 2, TRUE, {101, 11, 24, 0, 0, 0}},
        {u"", 3, TRUE, {0, 0, 0, 0, 0, 0}},
    };
    CGXAbstractDateTimeImp* imp = GridLibraryState::Instance().dateTimeImp;
    for (const Case& c : cases) {
        std::tm out{};
        out.tm_wday = 5;
        EXPECT_EQ(imp->ParseDateTimeTm(&out, c.text, c.order), c.ok) << Narrow(c.text);
        EXPECT_EQ(Fields(out), c.expected) << Narrow(c.text);
        EXPECT_EQ(out.tm_wday, 0);
    }
    // A month of 13 fails, with the day read before it kept.
    std::tm out{};
    EXPECT_FALSE(imp->ParseDateTimeTm(&out, u"1/13/2001", 0));
    EXPECT_EQ(out.tm_mday, 1);
}

TEST(NoOleDateTime, TimestampsKeepTheYearAsReadAndMarkATimeAlone) {
    ASSERT_TRUE(DolivaSetUserLocale(kLocaleEnglishUS));
    CGXNoOleDateTimeImp imp;
    InstallNoOleDateTime();
    GXTimestamp out;
    ASSERT_TRUE(imp.ParseDateTimeFields(&out, u"12/31/99 10:30 PM", 3));
    EXPECT_EQ(out.year, 1999);
    EXPECT_EQ(out.month, 12);
    EXPECT_EQ(out.hour, 22);
    ASSERT_TRUE(imp.ParseDateTimeFields(&out, u"10:30 PM", 3));
    EXPECT_EQ(out.year, 70);
    EXPECT_EQ(out.month, 0);
    EXPECT_EQ(out.day, 1);
    ASSERT_TRUE(imp.ParseDateTimeFields(&out, u"1/1/0", 0));
    EXPECT_EQ(out.year, 0);
}

TEST(NoOleDateTime, ReadsTheLocaleOrderAndSeparatorsOnceUntilReloaded) {
    struct Case {
        LCID locale;
        int order;
        WCHAR separator;
    };
    const Case cases[] = {
        {kLocaleEnglishUS, 1, u'/'},
        {kLocaleEnglishUK, 0, u'/'},
        {kLocaleGerman, 0, u'.'},
    };
    CGXNoOleDateTimeImp imp;
    for (const Case& c : cases) {
        ASSERT_TRUE(DolivaSetUserLocale(c.locale));
        BOOL fourDigits = FALSE;
        WCHAR separator = 0;
        EXPECT_EQ(imp.GetDateOrder(TRUE, &fourDigits, &separator), c.order) << c.locale;
        EXPECT_TRUE(fourDigits);
        EXPECT_EQ(separator, c.separator) << c.locale;
        EXPECT_EQ(imp.GetTimeSeparator(TRUE), u':');
    }
    // Cached: another locale shows only after a reload.
    ASSERT_TRUE(DolivaSetUserLocale(kLocaleEnglishUS));
    EXPECT_EQ(imp.GetDateOrder(FALSE, nullptr, nullptr), 0);
    imp.ReloadLocaleSettings();
    EXPECT_EQ(imp.GetDateOrder(FALSE, nullptr, nullptr), 1);
}

TEST(NoOleDateTime, FormatsInTheLocaleOrder) {
    ASSERT_TRUE(DolivaSetUserLocale(kLocaleGerman));
    InstallNoOleDateTime();
    CGXAbstractDateTimeImp* imp = GridLibraryState::Instance().dateTimeImp;
    struct Case {
        GXTimestamp record;
        const char16_t* expected;
    };
    const Case cases[] = {
        {{0, 0, 0, 8, 5, 9, 0}, u"08:05:09"},
        {{2001, 12, 24, 0, 0, 0, 0}, u"24.12.2001"},
        {{2001, 2, 3, 4, 5, 6, 0}, u"03.02.2001 04:05:06"},
        {{0, 0, 0, 0, 0, 0, 0}, u""},
    };
    for (const Case& c : cases) {
        CString out(u"stale");
        imp->FormatDateTime(out, c.record);
        EXPECT_EQ(out, CString(c.expected));
    }
}

TEST(DateTimeEntryPoints, AskTheInstalledObjectOrAnswerNeutrally) {
    BOOL fourDigits = 7;
    WCHAR separator = u'x';
    EXPECT_EQ(GetLocaleDateOrder(FALSE, &fourDigits, &separator), 3);
    EXPECT_EQ(fourDigits, 7);
    EXPECT_EQ(separator, u'x');
    EXPECT_EQ(GetLocaleTimeSeparator(FALSE), u':');

    // The first object installed stays.
    InstallOleDateTime();
    CGXAbstractDateTimeImp* ole = GridLibraryState::Instance().dateTimeImp;
    InstallNoOleDateTime();
    EXPECT_EQ(GridLibraryState::Instance().dateTimeImp, ole);
    EXPECT_EQ(GetLocaleDateOrder(TRUE, &fourDigits, &separator), 3);
    EXPECT_EQ(separator, u'x');
    EXPECT_EQ(GetLocaleTimeSeparator(TRUE), 0);
}

TEST(OleDateTime, ParsesAndFormatsThroughThePlatformDate) {
    ASSERT_TRUE(DolivaSetUserLocale(kLocaleEnglishUS));
    CGXOleDateTimeImp imp;
    std::tm out{};
    ASSERT_TRUE(imp.ParseDateTimeTm(&out, u"12/31/1999 10:30:15 PM", 0));
    EXPECT_EQ(Fields(out), (Tm{99, 11, 31, 22, 30, 15}));
    GXTimestamp record;
    record.year = 5;
    EXPECT_FALSE(imp.ParseDateTimeFields(&record, u"not a date", 0));
    EXPECT_EQ(record.year, 0);

    // A time alone formats as the time, not as an invalid date.
    CString text;
    imp.FormatDateTime(text, GXTimestamp{0, 0, 0, 8, 5, 9, 0});
    COleDateTime timeOfDay;
    timeOfDay.SetTime(8, 5, 9);
    EXPECT_EQ(text, timeOfDay.Format(u"%X"));
    imp.FormatDateTime(text, GXTimestamp{2001, 2, 3, 0, 0, 0, 0});
    EXPECT_EQ(text, COleDateTime(2001, 2, 3, 0, 0, 0).Format(u"%x"));
}
