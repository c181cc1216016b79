// The GPS week-rollover check of receiver dates: a date more than 512 weeks before the pivot (the later of
// the PC clock and the build date) is moved on by 1024 weeks until it is not.
#include "receiver/WeekRollover.h"
#include "platform/system/SystemClock.h"
#include "receiver/NmeaDecoder.h"
#include "support/ScopedSystemClock.h"
#include "tests/receiver/DecoderTestSupport.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

using decoder_test::Utc;

constexpr __time64_t kWeek = kSecondsPerWeek;
constexpr __time64_t kRollover = 1024 * kWeek;

TEST(WeekRollover, DatesAgainstThePivot) {
    const __time64_t pivot = Utc(2026, 12, 10, 0, 0, 0);
    const struct {
        const char* what;
        __time64_t receiver, expected;
    } cases[] = {
        // The shared Oncore capture: recorded 2020-04-10, dated 1024 weeks back.
        {"capture", Utc(2000, 8, 25, 4, 50, 0), Utc(2020, 4, 10, 4, 50, 0)},
        {"two rollovers back", Utc(2000, 8, 25, 4, 50, 0) - kRollover, Utc(2020, 4, 10, 4, 50, 0)},
        {"at the window's edge", pivot - 512 * kWeek, pivot - 512 * kWeek},
        {"a second before it", pivot - 512 * kWeek - 1, pivot + 512 * kWeek - 1},
        {"the pivot itself", pivot, pivot},
        {"a date after the pivot", pivot + 600 * kWeek, pivot + 600 * kWeek},
        {"the start of GPS time", Utc(1980, 1, 6, 0, 0, 0), Utc(1980, 1, 6, 0, 0, 0) + 2 * kRollover},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(CorrectWeekRollover(c.receiver, pivot), c.expected) << c.what;
    }
}

TEST(WeekRollover, BuildDateIsAPlausibleDay) {
    EXPECT_EQ(BuildDate() % 86400, 0);
    EXPECT_GE(BuildDate(), Utc(2024, 1, 1, 0, 0, 0));
    EXPECT_LE(BuildDate(), CTime::GetCurrentTime().GetTime() + 86400);
}

// A machine without a real-time clock may start in 1970: the build date still holds the pivot. The raw-data
// window hears of the correction once, and again when it ends.
TEST(WeekRollover, CheckUsesTheBuildDateWhenTheClockIsBehindAndReportsOnce) {
    // A machine clock of 1970.
    testsupport::ScopedSystemClock clock(std::make_shared<ManualClock>(UtcInstant{0, 0}));
    WeekRolloverCheck check;
    CString notice;
    const __time64_t capture = Utc(2000, 8, 25, 4, 50, 0);
    EXPECT_EQ(check.Apply(capture, notice), CorrectWeekRollover(capture, BuildDate()));
    EXPECT_GT(check.Apply(capture, notice), Utc(2020, 1, 1, 0, 0, 0));
    EXPECT_EQ(notice.str(),
              u"WARNING: receiver date 2000-08-25 taken as 2020-04-10 (GPS week rollover, 1024 weeks on)");
    notice.Empty();
    check.Apply(capture + 1, notice);
    EXPECT_TRUE(notice.IsEmpty());
    EXPECT_EQ(check.Apply(BuildDate(), notice), BuildDate());
    EXPECT_EQ(notice.str().substr(0, 14), u"Receiver date ");
}

// The decoders hand over the corrected date: a ZDA of the capture's day, 2000-08-25, gives a tick in 2020.
TEST(WeekRollover, DecodersHandOverTheCorrectedDate) {
    decoder_test::RecordingView view;
    view.tickHandled = TRUE;
    NmeaDecoder nmea(view);
    EXPECT_TRUE(nmea.DecodeNmeaSentence(u"$GPZDA,045000.00,25,08,2000,00,00"));
    EXPECT_EQ(view.rxTime.GetTime(),
              CorrectWeekRollover(Utc(2000, 8, 25, 4, 50, 1),
                                  std::max(CTime::GetCurrentTime().GetTime(), BuildDate())));
    EXPECT_GT(view.rxTime.GetTime(), Utc(2020, 1, 1, 0, 0, 0));
    ASSERT_EQ(view.rawLines.size(), 1u);
    EXPECT_TRUE(view.rawLines[0].starts_with(u"WARNING: receiver date 2000-08-25 taken as "));
    EXPECT_TRUE(nmea.DecodeNmeaSentence(u"$GPZDA,045001.00,25,08,2000,00,00"));
    EXPECT_EQ(view.rawLines.size(), 1u);
}

} // namespace
