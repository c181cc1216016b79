// GetTimeZoneInformation from the system's zone data, with this year's transitions in rule form.

#include "SystemTestSupport.h"

using namespace system_test;

namespace {

struct Rule {
    WORD month;
    WORD dayOfWeek;
    WORD week; // 5 = last
    WORD hour;
};

struct ZoneCase {
    const char* zone;
    UtcInstant at;
    DWORD state;
    LONG bias;
    const char16_t* standardName;
    const char16_t* daylightName;
    LONG daylightBias;
    Rule daylightDate; // month 0: none
    Rule standardDate;
};

void ExpectRule(const SYSTEMTIME& st, const Rule& rule, const char* what) {
    SCOPED_TRACE(what);
    EXPECT_EQ(st.wYear, 0);
    EXPECT_EQ(st.wMonth, rule.month);
    EXPECT_EQ(st.wDayOfWeek, rule.dayOfWeek);
    EXPECT_EQ(st.wDay, rule.week);
    EXPECT_EQ(st.wHour, rule.hour);
    EXPECT_EQ(st.wMinute, 0);
    EXPECT_EQ(st.wSecond, 0);
    EXPECT_EQ(st.wMilliseconds, 0);
}

} // namespace

TEST(TimeZone, InformationForSeveralZones) {
    const ZoneCase cases[] = {
        {"Europe/Berlin",
         Utc(2024, 7, 1, 12, 0, 0),
         TIME_ZONE_ID_DAYLIGHT,
         -60,
         u"CET",
         u"CEST",
         -60,
         {3, 0, 5, 2},
         {10, 0, 5, 3}},
        {"Europe/Berlin",
         Utc(2024, 1, 15, 12, 0, 0),
         TIME_ZONE_ID_STANDARD,
         -60,
         u"CET",
         u"CEST",
         -60,
         {3, 0, 5, 2},
         {10, 0, 5, 3}},
        {"America/New_York",
         Utc(2024, 1, 15, 12, 0, 0),
         TIME_ZONE_ID_STANDARD,
         300,
         u"EST",
         u"EDT",
         -60,
         {3, 0, 2, 2},
         {11, 0, 1, 2}},
        // Southern hemisphere: daylight time over the turn of the year.
        {"Australia/Sydney",
         Utc(2024, 1, 15, 12, 0, 0),
         TIME_ZONE_ID_DAYLIGHT,
         -600,
         u"AEST",
         u"AEDT",
         -60,
         {10, 0, 1, 2},
         {4, 0, 1, 3}},
        {"Australia/Sydney",
         Utc(2024, 7, 1, 12, 0, 0),
         TIME_ZONE_ID_STANDARD,
         -600,
         u"AEST",
         u"AEDT",
         -60,
         {10, 0, 1, 2},
         {4, 0, 1, 3}},
        {"UTC",
         Utc(2024, 7, 1, 12, 0, 0),
         TIME_ZONE_ID_UNKNOWN,
         0,
         u"UTC",
         u"UTC",
         0,
         {0, 0, 0, 0},
         {0, 0, 0, 0}},
        {"Asia/Kolkata",
         Utc(2024, 7, 1, 12, 0, 0),
         TIME_ZONE_ID_UNKNOWN,
         -330,
         u"IST",
         u"IST",
         0,
         {0, 0, 0, 0},
         {0, 0, 0, 0}},
        // A POSIX rule needs no zone file.
        {"EST5EDT,M3.2.0,M11.1.0",
         Utc(2024, 7, 1, 12, 0, 0),
         TIME_ZONE_ID_DAYLIGHT,
         300,
         u"EST",
         u"EDT",
         -60,
         {3, 0, 2, 2},
         {11, 0, 1, 2}},
    };
    for (const ZoneCase& c : cases) {
        SCOPED_TRACE(c.zone);
        if (!HaveZone(c.zone)) {
            std::printf("skipped %s: no zone file\n", c.zone);
            continue;
        }
        ScopedTimeZone zone(c.zone);
        TIME_ZONE_INFORMATION info{};
        EXPECT_EQ(TimeZoneInformationAt(c.at.seconds, &info), c.state);
        EXPECT_EQ(info.Bias, c.bias);
        EXPECT_EQ(info.StandardBias, 0);
        EXPECT_EQ(info.DaylightBias, c.daylightBias);
        EXPECT_EQ(std::u16string(info.StandardName), c.standardName);
        EXPECT_EQ(std::u16string(info.DaylightName), c.daylightName);
        ExpectRule(info.DaylightDate, c.daylightDate, "DaylightDate");
        ExpectRule(info.StandardDate, c.standardDate, "StandardDate");
    }
}

TEST(TimeZone, GetTimeZoneInformationReadsTheLayerClock) {
    ScopedTimeZone zone("CET-1CEST,M3.5.0,M10.5.0/3");
    auto clock = std::make_shared<ManualClock>(Utc(2024, 3, 31, 0, 59, 59));
    ScopedSystemClock installed(clock);
    TIME_ZONE_INFORMATION info{};
    EXPECT_EQ(GetTimeZoneInformation(&info), TIME_ZONE_ID_STANDARD);
    // The transition itself: 01:00 UTC is 02:00 standard time, the first second of daylight time.
    clock->Advance(1000);
    EXPECT_EQ(GetTimeZoneInformation(&info), TIME_ZONE_ID_DAYLIGHT);
    EXPECT_EQ(info.Bias, -60);

    EXPECT_EQ(GetTimeZoneInformation(nullptr), TIME_ZONE_ID_INVALID);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
}
