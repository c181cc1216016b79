#include "platform/serial/ModemTracker.h"

#include <gtest/gtest.h>

namespace {

using doliva::serial::kLineCts;
using doliva::serial::kLineDcd;
using doliva::serial::kLineDsr;
using doliva::serial::ModemSample;
using doliva::serial::ModemTracker;

ModemSample Sample(DWORD levels, std::uint32_t dcdCount, std::int64_t seconds = 0) {
    ModemSample s;
    s.stamp.seconds = seconds;
    s.levels = levels;
    s.haveCounts = true;
    s.counts[kLineDcd] = dcdCount;
    return s;
}

struct EdgeCase {
    const char* what;
    bool wasHigh;
    std::uint32_t transitions;
    bool nowHigh;
    DWORD rises;
    bool pulse;
};

class ModemTrackerEdges : public ::testing::TestWithParam<EdgeCase> {};

TEST_P(ModemTrackerEdges, CountsRisesFromCountersAndLevel) {
    const EdgeCase& c = GetParam();
    ModemTracker tracker;
    tracker.Rebase(Sample(c.wasHigh ? MS_RLSD_ON : 0, 10));
    const DWORD events = tracker.Apply(Sample(c.nowHigh ? MS_RLSD_ON : 0, 10 + c.transitions, 42));
    const ModemLineStamp& dcd = tracker.Stamp().dcd;
    EXPECT_EQ(events, c.transitions > 0 ? DWORD{EV_RLSD} : DWORD{0}) << c.what;
    EXPECT_EQ(dcd.rises, c.rises) << c.what;
    EXPECT_EQ(dcd.changes, c.transitions) << c.what;
    EXPECT_EQ(dcd.lastRise.seconds, c.rises > 0 ? 42 : 0) << c.what;
    EXPECT_EQ(dcd.lastWasPulse != FALSE, c.pulse) << c.what;
    EXPECT_EQ(dcd.level != FALSE, c.nowHigh) << c.what;
}

INSTANTIATE_TEST_SUITE_P(
    Table, ModemTrackerEdges,
    ::testing::Values(EdgeCase{"rise", false, 1, true, 1, false}, EdgeCase{"fall", true, 1, false, 0, false},
                      EdgeCase{"pulse already fallen when read", false, 2, false, 1, true},
                      EdgeCase{"dip while high", true, 2, true, 1, false},
                      EdgeCase{"two pulses, the last still high", false, 3, true, 2, false},
                      EdgeCase{"nothing", false, 0, false, 0, false}));

TEST(ModemTracker, WithoutCountersALevelChangeIsOneTransition) {
    ModemTracker tracker;
    ModemSample low;
    tracker.Rebase(low);
    ModemSample high;
    high.levels = MS_DSR_ON | MS_CTS_ON;
    high.stamp.seconds = 7;
    EXPECT_EQ(tracker.Apply(high), DWORD{EV_DSR | EV_CTS});
    EXPECT_EQ(tracker.Stamp().dsr.rises, 1u);
    EXPECT_EQ(tracker.Stamp().cts.lastRise.seconds, 7);
    EXPECT_EQ(tracker.Apply(high), 0u); // the same levels again: no change
}

TEST(ModemTracker, ALevelChangeCountsEvenWhenTheCounterLags) {
    ModemTracker tracker;
    tracker.Rebase(Sample(0, 5));
    EXPECT_EQ(tracker.Apply(Sample(MS_RLSD_ON, 5)), DWORD{EV_RLSD});
    EXPECT_EQ(tracker.Stamp().dcd.rises, 1u);
}

TEST(ModemTracker, RebaseReportsNothingAndSetsTheReference) {
    ModemTracker tracker;
    tracker.Rebase(Sample(MS_RLSD_ON, 100));
    EXPECT_EQ(tracker.Stamp().dcd.rises, 0u);
    EXPECT_EQ(tracker.Apply(Sample(MS_RLSD_ON, 100)), 0u);
    EXPECT_EQ(tracker.Apply(Sample(0, 101)), DWORD{EV_RLSD});
    EXPECT_EQ(tracker.Stamp().dcd.rises, 0u);
}

} // namespace
