// The clock-setting step runs on the GUI thread between the 1PPS stamp and SetSystemTime: every
// microsecond it takes is latency that the learned correction has to absorb.
#include "app/ClockStep.h"
#include "app/GpsTime.h"

#include <benchmark/benchmark.h>

static void BM_ClockStep(benchmark::State& state) {
    ClockStepInput in;
    in.rxTime = CTime(1710072000); // 2024-03-10 12:00:00 UTC
    in.pcTime = 1710072000;
    in.pcMillis = 250;
    in.correctionMs = 100;
    in.learnedCorrectionMs = -3;
    in.setClockNow = TRUE;
    in.tickHandled = TRUE;
    in.receiverModel = 3;
    in.millisSinceStartupStamp = 200;
    in.settings.timeSyncMode = kSyncEverySecond;
    in.settings.maxCorrectionSec = 3600;
    for (auto _ : state) {
        ClockStepResult out = ComputeClockStep(in);
        benchmark::DoNotOptimize(out);
        in.rxTime += CTimeSpan(1);
        in.pcTime += 1;
        in.learnedCorrectionMs = out.learnedCorrectionMs;
        in.lastShownLatency = out.learnedCorrectionMs;
        in.setClockNow = out.setClockNow;
    }
}
BENCHMARK(BM_ClockStep);

static void BM_ClockSetRecord(benchmark::State& state) {
    SYSTEMTIME st{2024, 3, 0, 10, 12, 0, 0, 250};
    for (auto _ : state) {
        benchmark::DoNotOptimize(ReportClockSet(TRUE, kSyncEverySecond, st, -12, nullptr));
    }
}
BENCHMARK(BM_ClockSetRecord);

static void BM_SiderealTexts(benchmark::State& state) {
    CGpsTime gps;
    gps.SetLocation(32.9, -117.1);
    gps.SetTime(CTime(1710072000));
    for (auto _ : state) {
        benchmark::DoNotOptimize(gps.GetSiderealTimeText(1));
        benchmark::DoNotOptimize(gps.GetSiderealTimeText(0));
    }
}
BENCHMARK(BM_SiderealTexts);
