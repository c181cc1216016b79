#include "app/ClockSynchroniser.h"

#include "TimekeepingFakeView.h"
#include "platform/base/LastError.h"
#include "receiver/ReceiverState.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

using apptest::Utc;

namespace {

std::string Instant(const UtcInstant& t) {
    struct tm f {};
    UtcTmFromSeconds(t.seconds, &f);
    char text[40];
    snprintf(text, sizeof text, "%02d:%02d:%02d.%03d", f.tm_hour, f.tm_min, f.tm_sec,
             t.nanoseconds / 1000000);
    return text;
}

std::string NewScratchDir() {
    std::filesystem::create_directories(testsupport::ScratchDir());
    std::string dir = (testsupport::ScratchDir() / "sync.XXXXXX").string();
    return mkdtemp(dir.data()) ? dir : std::string();
}

class ClockSync : public ::testing::Test {
protected:
    void SetMode(int mode) {
        view.syncDialog.m_syncMode = mode;
        view.sync.ApplySyncSettings();
    }
    // The receiver's time message for rx and a handled tick, the PC clock pcAheadMs ahead of rx.
    void Step(const CTime& rx, int pcAheadMs, BOOL tick = TRUE) {
        view.TimeMessage(rx);
        clock.Put(rx, pcAheadMs);
        view.tickHandled = tick;
        view.sync.SyncPcClock();
    }
    std::vector<std::string> Sets() const {
        std::vector<std::string> out;
        for (const UtcInstant& t : clock.clock->Sets()) {
            out.push_back(Instant(t));
        }
        return out;
    }

    apptest::ScopedManualClock clock{Utc(2024, 3, 10, 12), 0};
    apptest::FakeTimekeepingView view;
};

} // namespace

TEST_F(ClockSync, EverySecondSetsTheInstalledClockFromTheReceiverTime) {
    SetMode(kSyncEverySecond);
    view.gpsTime.SetEpochOffset(-20);
    Step(Utc(2024, 3, 10, 12, 0, 0), 250);
    // An epoch offset of -20 ms folds to a correction of -19 (rounding toward zero): it counts against the
    // PC and moves the set time back.
    EXPECT_EQ(view.sync.GetPcOffsetMs(), 269);
    EXPECT_EQ(Sets(), (std::vector<std::string>{"11:59:59.981"}));
    EXPECT_TRUE(view.sync.ClockWasSet());
    EXPECT_EQ(view.pcTime.GetTime(), Utc(2024, 3, 10, 12).GetTime());
    EXPECT_EQ(g_ppsTimestamp.load(), Utc(2024, 3, 10, 12).GetTime() * 1000 + 250);
    EXPECT_EQ(view.sync.GetTimeSyncMode(), kSyncEverySecond);
    EXPECT_TRUE(view.boxes.empty());
}

TEST_F(ClockSync, LearnedCorrectionFollowsTheOffsetThatTheLastSetLeft) {
    SetMode(kSyncEverySecond);
    struct Entry {
        int second, aheadMs;
        const char* set;
    } steps[] = {
        {0, 5, "12:00:00.000"},  {1, 5, "12:00:00.999"},    {2, 5, "12:00:01.998"},
        {3, -3, "12:00:02.999"}, {4, 1500, "12:00:04.000"},
    };
    std::vector<std::string> expectedSets;
    for (const auto& s : steps) {
        Step(Utc(2024, 3, 10, 12, 0, s.second), s.aheadMs);
        expectedSets.push_back(s.set);
    }
    EXPECT_EQ(Sets(), expectedSets);
    EXPECT_EQ(view.latencyTexts, (std::vector<std::string>{"-1", "-2", "-1", "0"}));
    EXPECT_EQ(view.sync.GetLearnedCorrectionMs(), 0);
}

// A correction near -1000 ms plus a negative learned value takes the total below -1000: the set time moves
// back by whole seconds and keeps 0..999 milliseconds, so the clock is still set and no box appears.
TEST_F(ClockSync, TotalsBelowMinus1000StillSetTheClock) {
    SetMode(kSyncEverySecond);
    view.gpsTime.SetEpochOffset(-999);
    ASSERT_EQ(view.gpsTime.GetCorrection(), -998);
    // PC 993 ms behind the receiver: with the correction of -998 the measured offset is +5.
    for (int second = 0; second < 5; ++second) {
        Step(Utc(2024, 3, 10, 12, 0, second), -993);
        EXPECT_EQ(view.sync.GetPcOffsetMs(), 5);
    }
    EXPECT_EQ(view.sync.GetLearnedCorrectionMs(), -4);
    EXPECT_EQ(Sets(), (std::vector<std::string>{"11:59:59.002", "12:00:00.001", "12:00:01.000",
                                                "12:00:01.999", "12:00:02.998"}));
    EXPECT_TRUE(view.boxes.empty());
    EXPECT_EQ(view.sync.GetTimeSyncMode(), kSyncEverySecond);
}

TEST_F(ClockSync, OnceSetsOneTimeAndFallsBackToOffInTheViewAndTheDialog) {
    SetMode(kSyncOnce);
    Step(Utc(2024, 3, 10, 12, 0, 30), 400);
    Step(Utc(2024, 3, 10, 12, 0, 31), 400);
    EXPECT_EQ(Sets(), (std::vector<std::string>{"12:00:30.000"}));
    EXPECT_EQ(view.sync.GetTimeSyncMode(), kSyncOff);
    EXPECT_EQ(view.syncDialog.m_syncMode, kSyncOff);
}

TEST_F(ClockSync, TicksOverridesLockAndTheMaximumCorrectionGateTheSet) {
    struct Case {
        const char* what;
        BOOL tick, outOfLock, overrideTraim, overrideIntegrity, maxOn;
        int aheadMs;
        bool set;
    } cases[] = {
        {"tick, locked", TRUE, FALSE, FALSE, FALSE, FALSE, 250, true},
        {"no tick", FALSE, FALSE, FALSE, FALSE, FALSE, 250, false},
        {"no tick, TRAIM only", FALSE, FALSE, TRUE, FALSE, FALSE, 250, false},
        {"no tick, both overrides", FALSE, FALSE, TRUE, TRUE, FALSE, 250, true},
        {"out of lock", TRUE, TRUE, FALSE, FALSE, FALSE, 250, false},
        {"out of lock, integrity override", TRUE, TRUE, FALSE, TRUE, FALSE, 250, true},
        {"1500 ms within 1 s", TRUE, FALSE, FALSE, FALSE, TRUE, 1500, true},
        {"2500 ms beyond 1 s", TRUE, FALSE, FALSE, FALSE, TRUE, 2500, false},
    };
    for (const Case& c : cases) {
        apptest::ScopedManualClock caseClock(Utc(2024, 3, 10, 12), 0);
        apptest::FakeTimekeepingView v;
        v.syncDialog.m_syncMode = kSyncEverySecond;
        v.syncDialog.m_maxOn = c.maxOn;
        v.syncDialog.m_maxQty = 1;
        v.syncDialog.m_maxUnits = CSyncClockDialog::kSeconds;
        v.syncDialog.UpdateMaxSeconds();
        v.sync.ApplySyncSettings();
        v.outOfLock = c.outOfLock;
        v.syncDialog.m_overrideTraim = c.overrideTraim;
        v.syncDialog.m_overrideIntegrity = c.overrideIntegrity;
        v.TimeMessage(Utc(2024, 3, 10, 12, 0, 30));
        v.tickHandled = c.tick;
        caseClock.Put(Utc(2024, 3, 10, 12, 0, 30), c.aheadMs);
        v.sync.SyncPcClock();
        // The offset is measured whether or not the clock is set.
        EXPECT_EQ(v.sync.GetPcOffsetMs(), c.aheadMs) << c.what;
        EXPECT_EQ(caseClock.clock->Sets().size(), c.set ? 1u : 0u) << c.what;
    }
}

TEST_F(ClockSync, ModesOutsideTheListCountAsOff) {
    SetMode(7);
    EXPECT_EQ(view.sync.GetTimeSyncMode(), kSyncOff);
    Step(Utc(2024, 3, 10, 0, 0, 0), 250);
    EXPECT_TRUE(Sets().empty());
}

TEST_F(ClockSync, NoReceiverTimeSkipsTheStep) {
    SetMode(kSyncEverySecond);
    g_ppsTimestamp = 1;
    view.pcTime = CTime(kNoReceiverTime);
    view.sync.SyncPcClock();
    EXPECT_EQ(g_ppsTimestamp.load(), 1);
    EXPECT_EQ(view.pcTime.GetTime(), kNoReceiverTime);
    EXPECT_TRUE(Sets().empty());
}

TEST_F(ClockSync, AFailedSetShowsTheBoxOnceAndSwitchesSynchronisationOff) {
    const std::string dir = NewScratchDir();
    ASSERT_FALSE(dir.empty());
    view.logger.SetPath(GpsDataLogger::kNmeaFile, CString(Utf8ToUtf16(dir + "/nmea.txt")));
    view.gpsTime.SetTime(Utc(2024, 3, 10, 11, 59, 59));
    ASSERT_TRUE(view.logger.OpenNewLog(3));
    view.logger.LogSecond() = TRUE;

    SetMode(kSyncEverySecond);
    clock.clock->FailSetsWith(ERROR_PRIVILEGE_NOT_HELD);
    Step(Utc(2024, 3, 10, 12, 0, 0), 250);
    Step(Utc(2024, 3, 10, 12, 0, 1), 250);
    ASSERT_EQ(view.boxes.size(), 1u);
    EXPECT_EQ(view.boxes[0], "Error while trying to set System Time\n"
                             "Value = \"Sunday, March 10, 2024, 12:00:00 UTC\"\n"
                             "SysErr: A required privilege is not held by the client.\r\n\n"
                             "WARNING - Disabling system clock synchronization.\n"
                             "\t use Set PC Clock on main menu to re-enable.");
    EXPECT_EQ(view.sync.GetTimeSyncMode(), kSyncOff);
    EXPECT_EQ(view.syncDialog.m_syncMode, kSyncOff);
    EXPECT_FALSE(view.sync.ClockWasSet());
    view.logger.CloseGpsDataLog();
    EXPECT_EQ(testsupport::ReadWholeFile(dir + "/nmea.txt").find("$PQVRT"), std::string::npos);
}

// A run across a minute with the NMEA common format log open: the clock is set every second, the records
// of the sets and positions land in the log, the file is reopened at the minute and closed with its trailer.
TEST_F(ClockSync, SimulatedRunWritesTheNmeaCommonFormatLog) {
    const std::string dir = NewScratchDir();
    ASSERT_FALSE(dir.empty());
    const std::string path = dir + "/DolivaLog.txt";
    view.interfaceMode = 6;
    view.logType.m_logInterval = 1;
    view.logger.SetPath(GpsDataLogger::kNmeaFile, CString(Utf8ToUtf16(path)));
    view.gpsTime.SetTime(Utc(2024, 3, 10, 12, 0, 57));
    ASSERT_TRUE(view.logger.OpenNewLog(3));
    view.nav.UpdatePosition(32.5, -117.25, 96.0, 130.0, 0);
    view.nav.SetSpeed(0.5);
    view.nav.SetHeading(270.0);
    view.nav.SetTrackedCount(8);
    view.nav.SetFixQuality(2);
    SetMode(kSyncEverySecond);

    struct Second {
        int minute, second, aheadMs;
    } run[] = {{0, 58, 250}, {0, 59, 3}, {1, 0, 2}, {1, 1, -4}};
    for (const Second& s : run) {
        const CTime rx = Utc(2024, 3, 10, 12, s.minute, s.second);
        view.TimeMessage(rx);
        clock.Put(rx, s.aheadMs);
        view.pcTime = rx;
        view.ticks.OnGpsTick();
    }
    EXPECT_EQ(view.reopens, 1);
    EXPECT_EQ(Sets(),
              (std::vector<std::string>{"12:00:58.000", "12:00:58.999", "12:00:59.998", "12:01:00.999"}));
    ASSERT_TRUE(view.logger.CloseGpsDataLog());

    const std::string position = "3230.0000,N,11715.0000,W,000.5,N,270.0,08,2\r\n";
    EXPECT_EQ(testsupport::ReadWholeFile(path),
              "$PQVRM Opened Doliva Version 2.7.29 Log at Sun Mar 10 12:00:57 2024 UTC\r\n"
              "$PQVRA,20240310,120057.00," +
                  position +
                  "$PQVRT,20240310,120058.999,3\r\n"
                  "$PQVRA,20240310,120058.00," +
                  position +
                  "$PQVRT,20240310,120059.998,2\r\n"
                  "$PQVRA,20240310,120059.00," +
                  position +
                  "$PQVRT,20240310,120100.999,-4\r\n"
                  "$PQVRA,20240310,120100.00," +
                  position + "$PQVRM Closed Doliva Version 2.7.29 Log at Sun Mar 10 12:01:01 2024 UTC\r\n");
}

// The receiver's time is that of the 1PPS edge, which the PC acts on milliseconds later. The offset is that
// of the PC clock as it stood at the edge, and the clock is set to the receiver's time plus the time since
// the edge at the moment of the set, waiting for the next whole millisecond (SYSTEMTIME holds no less): a
// delay between edge and set leaves the clock right, and the learned correction has nothing to learn.
TEST_F(ClockSync, TheSetCarriesTheTimeSinceTheEdge) {
    SetMode(kSyncEverySecond);
    clock.Put(Utc(2024, 3, 10, 12, 0, 0), 250); // at the first edge the PC is 250 ms ahead
    const struct {
        std::int64_t delayNs;
        std::int64_t offsetMs;
        const char* set;
        std::int64_t pauseNs;
    } steps[] = {
        {7'300'000, 250, "12:00:00.008", 700'000},
        {11'600'000, 0, "12:00:01.012", 400'000},
        {2'150'000, 0, "12:00:02.002", 0}, // 150 us past a whole millisecond counts as on it
    };
    for (int second = 0; second < 3; ++second) {
        SCOPED_TRACE(second);
        view.TimeMessage(Utc(2024, 3, 10, 12, 0, second));
        view.tickHandled = TRUE;
        view.tickEdgeNs = view.monotonicNs;
        view.pauses.clear();
        // The step runs later, on both clocks.
        view.monotonicNs += steps[second].delayNs;
        clock.clock->AdvanceNanoseconds(steps[second].delayNs);
        view.sync.SyncPcClock();
        EXPECT_EQ(view.sync.GetPcOffsetMs(), steps[second].offsetMs);
        EXPECT_EQ(Instant(clock.clock->Sets().back()), steps[second].set);
        EXPECT_EQ(view.pauses, steps[second].pauseNs ? std::vector<std::int64_t>{steps[second].pauseNs}
                                                     : std::vector<std::int64_t>{});
        // On to the next edge, a second after this one.
        const std::int64_t toNextEdge = 1'000'000'000 - (view.monotonicNs - view.tickEdgeNs);
        view.monotonicNs += toNextEdge;
        clock.clock->AdvanceNanoseconds(toNextEdge);
    }
    EXPECT_EQ(view.sync.GetLearnedCorrectionMs(), 0);
    EXPECT_TRUE(view.latencyTexts.empty());
}

// The edge counts only for the tick it belongs to: a step a decoder drives, or an edge older than a second
// and a half, measures from the step itself.
TEST_F(ClockSync, AnEdgeThatIsNotTheTicksIsIgnored) {
    SetMode(kSyncEverySecond);
    view.syncDialog.m_overrideTraim = TRUE;
    view.syncDialog.m_overrideIntegrity = TRUE;
    for (const bool tick : {false, true}) {
        view.TimeMessage(Utc(2024, 3, 10, 12, 0, 0));
        view.tickHandled = tick;
        view.tickEdgeNs = view.monotonicNs - (tick ? 1'600'000'000 : 5'000'000);
        clock.Put(Utc(2024, 3, 10, 12, 0, 0), 40);
        view.sync.SyncPcClock();
        EXPECT_EQ(view.sync.GetPcOffsetMs(), 40) << tick;
    }
}
