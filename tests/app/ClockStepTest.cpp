#include "app/ClockStep.h"

#include "AppTestSupport.h"
#include "app/GpsTime.h"

#include <gtest/gtest.h>

#include <string>

using apptest::Utc;

namespace {

// A handled tick at rx with the PC 250 ms ahead and no correction.
ClockStepInput Tick(CTime rx, LONGLONG pcAheadMs = 250) {
    ClockStepInput in;
    in.rxTime = rx;
    const LONGLONG pc = rx.GetTime() * 1000 + pcAheadMs;
    in.pcTime = pc >= 0 ? pc / 1000 : (pc - 999) / 1000;
    in.pcMillis = static_cast<int>(pc - in.pcTime * 1000);
    in.tickHandled = TRUE;
    return in;
}

std::string Fields(const SYSTEMTIME& st) {
    char text[64];
    snprintf(text, sizeof text, "%04u-%02u-%02u %02u:%02u:%02u.%03u w%u", st.wYear, st.wMonth, st.wDay,
             st.wHour, st.wMinute, st.wSecond, st.wMilliseconds, st.wDayOfWeek);
    return text;
}

} // namespace

TEST(ClockStep, NoReceiverTimeSkipsTheStep) {
    ClockStepInput in = Tick(CTime(kNoReceiverTime));
    in.setClockNow = TRUE;
    in.learnedCorrectionMs = 7;
    in.settings.timeSyncMode = kSyncEverySecond;
    const ClockStepResult out = ComputeClockStep(in);
    EXPECT_FALSE(out.ran);
    EXPECT_FALSE(out.setClock);
    EXPECT_EQ(out.learnedCorrectionMs, 7);
    EXPECT_TRUE(out.setClockNow);
}

TEST(ClockStep, TriggersAndTheIntegrityGate) {
    struct Case {
        const char* what;
        int mode;
        CTime rx;
        BOOL tick, outOfLock, overrideTraim, overrideIntegrity, deltaOn;
        LONGLONG threshold;
        BOOL decide;
        bool set;
    } cases[] = {
        {"off", kSyncOff, Utc(2024, 3, 10, 12, 0, 30), TRUE, FALSE, FALSE, FALSE, FALSE, 0, FALSE, false},
        {"unknown mode", 9, Utc(2024, 3, 10, 0, 0, 0), TRUE, FALSE, FALSE, FALSE, FALSE, 0, FALSE, false},
        {"once", kSyncOnce, Utc(2024, 3, 10, 12, 0, 30), TRUE, FALSE, FALSE, FALSE, FALSE, 0, TRUE, true},
        {"every second", kSyncEverySecond, Utc(2024, 3, 10, 12, 0, 30), TRUE, FALSE, FALSE, FALSE, FALSE, 0,
         TRUE, true},
        {"minute at :30", kSyncEveryMinute, Utc(2024, 3, 10, 12, 0, 30), TRUE, FALSE, FALSE, FALSE, FALSE, 0,
         FALSE, false},
        {"minute at :00", kSyncEveryMinute, Utc(2024, 3, 10, 12, 1, 0), TRUE, FALSE, FALSE, FALSE, FALSE, 0,
         TRUE, true},
        {"hour at 12:01", kSyncEveryHour, Utc(2024, 3, 10, 12, 1, 0), TRUE, FALSE, FALSE, FALSE, FALSE, 0,
         FALSE, false},
        {"hour at 12:00", kSyncEveryHour, Utc(2024, 3, 10, 12, 0, 0), TRUE, FALSE, FALSE, FALSE, FALSE, 0,
         TRUE, true},
        {"day at 12:00", kSyncEveryDay, Utc(2024, 3, 10, 12, 0, 0), TRUE, FALSE, FALSE, FALSE, FALSE, 0,
         FALSE, false},
        {"day at 00:00", kSyncEveryDay, Utc(2024, 3, 10, 0, 0, 0), TRUE, FALSE, FALSE, FALSE, FALSE, 0, TRUE,
         true},
        // The offset is 250 ms: the delta rule fires from a threshold of 250 down.
        {"delta 100", kSyncEveryMinute, Utc(2024, 3, 10, 12, 0, 30), TRUE, FALSE, FALSE, FALSE, TRUE, 100,
         TRUE, true},
        {"delta 250", kSyncOff, Utc(2024, 3, 10, 12, 0, 30), TRUE, FALSE, FALSE, FALSE, TRUE, 250, TRUE,
         true},
        {"delta 251", kSyncOff, Utc(2024, 3, 10, 12, 0, 30), TRUE, FALSE, FALSE, FALSE, TRUE, 251, FALSE,
         false},
        // Without a tick nothing fires unless TRAIM is overridden; the set then still needs the integrity
        // override.
        {"no tick", kSyncEverySecond, Utc(2024, 3, 10, 12, 0, 30), FALSE, FALSE, FALSE, FALSE, TRUE, 1, FALSE,
         false},
        {"no tick, TRAIM", kSyncEverySecond, Utc(2024, 3, 10, 12, 0, 30), FALSE, FALSE, TRUE, FALSE, FALSE, 0,
         TRUE, false},
        {"no tick, both", kSyncEverySecond, Utc(2024, 3, 10, 12, 0, 30), FALSE, FALSE, TRUE, TRUE, FALSE, 0,
         TRUE, true},
        {"out of lock", kSyncEverySecond, Utc(2024, 3, 10, 12, 0, 30), TRUE, TRUE, FALSE, FALSE, FALSE, 0,
         TRUE, false},
        {"out of lock, integrity", kSyncEverySecond, Utc(2024, 3, 10, 12, 0, 30), TRUE, TRUE, FALSE, TRUE,
         FALSE, 0, TRUE, true},
    };
    for (const Case& c : cases) {
        ClockStepInput in = Tick(c.rx);
        in.tickHandled = c.tick;
        in.outOfLock = c.outOfLock;
        in.settings.timeSyncMode = c.mode;
        in.settings.overrideTraim = c.overrideTraim;
        in.settings.overrideIntegrity = c.overrideIntegrity;
        in.settings.deltaSyncOn = c.deltaOn;
        in.settings.deltaThresholdMs = c.threshold;
        const ClockStepResult out = ComputeClockStep(in);
        EXPECT_TRUE(out.ran);
        EXPECT_EQ(out.pcOffsetMs, 250) << c.what;
        EXPECT_EQ(out.setClockNow, c.decide) << c.what;
        EXPECT_EQ(out.setClock, c.set) << c.what;
    }
}

TEST(ClockStep, MaximumCorrectionComparesWholeSeconds) {
    struct Case {
        LONGLONG aheadMs, maxSec;
        bool set;
    } cases[] = {{1500, 1, true}, {2500, 1, false}, {-1500, 1, true}, {-2500, 1, false}, {100000, 0, true}};
    for (const Case& c : cases) {
        ClockStepInput in = Tick(Utc(2024, 3, 10, 12), c.aheadMs);
        in.settings.timeSyncMode = kSyncEverySecond;
        in.settings.maxCorrectionSec = c.maxSec;
        const ClockStepResult out = ComputeClockStep(in);
        EXPECT_EQ(out.pcOffsetMs, c.aheadMs);
        EXPECT_EQ(out.setClock, c.set) << c.aheadMs;
    }
}

// A receiver 1024 weeks behind puts the PC ahead by more than 2^31 ms: the offset must not wrap, so the
// guard keeps the clock where it is.
TEST(ClockStep, OffsetOfARolledOverReceiverDoesNotWrap) {
    const LONGLONG weeks1024 = 1024LL * 7 * 86400;
    ClockStepInput in = Tick(Utc(2024, 3, 10, 12) - CTimeSpan(weeks1024), weeks1024 * 1000 + 250);
    in.correctionMs = -20;
    in.settings.timeSyncMode = kSyncEverySecond;
    in.settings.maxCorrectionSec = 3600;
    const ClockStepResult out = ComputeClockStep(in);
    EXPECT_EQ(out.pcOffsetMs, weeks1024 * 1000 + 270);
    EXPECT_FALSE(out.setClock);
    EXPECT_EQ(FormatClockSetRecord(out.systemTimeToSet, -out.pcOffsetMs),
              u"$PQVRT,20040725,115959.980,-619315200270");
}

TEST(ClockStep, LearnedCorrectionStepsWhileTheLastSetWasClose) {
    struct Step {
        LONGLONG offset;
        BOOL setOnEntry;
        int learned;
    } steps[] = {{5, TRUE, -1},    {5, TRUE, -2},     {-3, TRUE, -1},  {0, TRUE, -1},   {7, FALSE, -1},
                 {1000, TRUE, -2}, {-1000, TRUE, -1}, {1500, TRUE, 0}, {-1001, TRUE, 0}};
    int learned = 0;
    int shown = 0;
    for (const Step& s : steps) {
        // The learned value shifts the set time, never the measured offset.
        ClockStepInput in = Tick(Utc(2024, 3, 10, 12), s.offset);
        in.learnedCorrectionMs = learned;
        in.setClockNow = s.setOnEntry;
        in.lastShownLatency = shown;
        const ClockStepResult out = ComputeClockStep(in);
        EXPECT_EQ(out.pcOffsetMs, s.offset);
        EXPECT_EQ(out.learnedCorrectionMs, s.learned) << "offset " << s.offset;
        EXPECT_EQ(out.latencyChanged, s.learned != shown);
        if (out.latencyChanged) {
            CString expected;
            expected.Format(u"%i", s.learned);
            EXPECT_EQ(out.latencyText, expected);
            shown = s.learned;
        }
        learned = out.learnedCorrectionMs;
    }
}

TEST(ClockStep, LearnedCorrectionStaysWithin999) {
    ClockStepInput in = Tick(Utc(2024, 3, 10, 12), -3);
    in.setClockNow = TRUE;
    in.learnedCorrectionMs = 999;
    EXPECT_EQ(ComputeClockStep(in).learnedCorrectionMs, 999);
    in = Tick(Utc(2024, 3, 10, 12), 3);
    in.setClockNow = TRUE;
    in.learnedCorrectionMs = -999;
    EXPECT_EQ(ComputeClockStep(in).learnedCorrectionMs, -999);
}

TEST(ClockStep, SystemTimeFromTheTotalCorrection) {
    struct Case {
        CTime rx;
        int correction, learned, model, sinceStartup;
        const char* fields;
    } cases[] = {
        {Utc(2024, 3, 10, 12), 0, 0, 0, 0, "2024-03-10 12:00:00.000 w0"},
        {Utc(2024, 3, 10, 12), -20, 0, 0, 0, "2024-03-10 11:59:59.980 w0"},
        {Utc(2024, 3, 10, 12), 499, 999, 0, 0, "2024-03-10 12:00:01.498 w0"},
        {Utc(2024, 3, 10, 12), 0, 999, 0, 0, "2024-03-10 12:00:00.999 w0"},
        {Utc(2024, 3, 10, 12), -500, -500, 0, 0, "2024-03-10 11:59:59.000 w0"},
        // Below -1000 the total still normalises to a whole-second shift and 0..999 ms.
        {Utc(2024, 3, 10, 12), -501, -500, 0, 0, "2024-03-10 11:59:58.999 w0"},
        {Utc(2024, 3, 10, 12), -999, -999, 0, 0, "2024-03-10 11:59:58.002 w0"},
        // One-second rule: listed model, 0 < correction < 500, early in the start-up stamp's second.
        {Utc(2024, 3, 10, 12), 100, 0, 3, 200, "2024-03-10 11:59:59.100 w0"},
        {Utc(2024, 3, 10, 12), 100, 0, 24, 499, "2024-03-10 11:59:59.100 w0"},
        {Utc(2024, 3, 10, 12), 100, 0, 3, 500, "2024-03-10 12:00:00.100 w0"},
        {Utc(2024, 3, 10, 12), 100, 0, 3, -1, "2024-03-10 12:00:00.100 w0"},
        {Utc(2024, 3, 10, 12), 100, 0, 6, 200, "2024-03-10 12:00:00.100 w0"},
        {Utc(2024, 3, 10, 12), 0, 50, 3, 200, "2024-03-10 12:00:00.050 w0"},
        {Utc(2024, 3, 10, 12), 100, 950, 3, 200, "2024-03-10 12:00:01.050 w0"},
        {Utc(2024, 3, 10, 12), 100, -200, 3, 200, "2024-03-10 11:59:59.900 w0"},
        // Across the year's end, with the weekday of the set time.
        {Utc(2024, 12, 31, 23, 59, 59), 200, 800, 0, 0, "2025-01-01 00:00:00.000 w3"},
        {Utc(2025, 1, 1), -20, 0, 0, 0, "2024-12-31 23:59:59.980 w2"},
    };
    for (const Case& c : cases) {
        ClockStepInput in = Tick(c.rx);
        in.correctionMs = c.correction;
        in.learnedCorrectionMs = c.learned;
        in.receiverModel = c.model;
        in.millisSinceStartupStamp = c.sinceStartup;
        const ClockStepResult out = ComputeClockStep(in);
        EXPECT_EQ(Fields(out.systemTimeToSet), c.fields)
            << "correction " << c.correction << ", learned " << c.learned << ", model " << c.model;
    }
}

TEST(ClockStep, OneSecondRuleModels) {
    for (int model = 0; model < 30; ++model) {
        const bool listed = model == 3 || model == 4 || model == 5 || model == 8 || model == 9 ||
                            model == 17 || model == 18 || (model >= 20 && model <= 24);
        EXPECT_EQ(IsOneSecondRuleModel(model), listed) << model;
    }
}

TEST(ClockStep, ReportAfterASuccessfulSet) {
    SYSTEMTIME st{};
    st.wYear = 2024;
    st.wMonth = 3;
    st.wDay = 10;
    st.wHour = 12;
    st.wMilliseconds = 250;
    ClockSetReport once = ReportClockSet(TRUE, kSyncOnce, st, -12, nullptr);
    EXPECT_TRUE(once.clockWasSet);
    EXPECT_EQ(once.timeSyncMode, kSyncOff);
    EXPECT_EQ(once.logRecord, u"$PQVRT,20240310,120000.250,-12");
    EXPECT_EQ(once.failureMessage, u"");
    ClockSetReport every = ReportClockSet(TRUE, kSyncEveryMinute, st, 4, nullptr);
    EXPECT_EQ(every.timeSyncMode, kSyncEveryMinute);
    EXPECT_EQ(every.logRecord, u"$PQVRT,20240310,120000.250,4");
}

TEST(ClockStep, ReportAfterAFailedSetSwitchesSynchronisationOff) {
    SYSTEMTIME st{};
    st.wYear = 2024;
    st.wMonth = 3;
    st.wDay = 10;
    st.wHour = 2;
    st.wMinute = 30;
    st.wSecond = 5;
    st.wMilliseconds = 980;
    const ClockSetReport report = ReportClockSet(FALSE, kSyncEverySecond, st, 270,
                                                 u"A required privilege is not held by the client.\r\n");
    EXPECT_FALSE(report.clockWasSet);
    EXPECT_EQ(report.timeSyncMode, kSyncOff);
    EXPECT_EQ(report.logRecord, u"");
    EXPECT_EQ(report.failureMessage, u"Error while trying to set System Time\n"
                                     u"Value = \"Sunday, March 10, 2024, 02:30:05 UTC\"\n"
                                     u"SysErr: A required privilege is not held by the client.\r\n\n"
                                     u"WARNING - Disabling system clock synchronization.\n"
                                     u"\t use Set PC Clock on main menu to re-enable.");
}
