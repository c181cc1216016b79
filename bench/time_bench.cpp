// Time formatting and parsing run for every grid cell that shows a date and every logged record.
#include "platform/base/COleDateTime.h"
#include "platform/base/CTime.h"
#include "platform/base/TimeConversions.h"

#include <benchmark/benchmark.h>

static void BM_CTimeFormatGmt(benchmark::State& state) {
    const CTime t(795184889);
    for (auto _ : state) {
        benchmark::DoNotOptimize(t.FormatGmt(u"%#c %j %U"));
    }
}
BENCHMARK(BM_CTimeFormatGmt);

static void BM_OleDateTimeParse(benchmark::State& state) {
    COleDateTime date;
    for (auto _ : state) {
        benchmark::DoNotOptimize(date.ParseDateTime(u"Tuesday, March 14, 1995 12:41:29 PM"));
    }
}
BENCHMARK(BM_OleDateTimeParse);

static void BM_OleDateTimeFormat(benchmark::State& state) {
    const COleDateTime date(34772.0 + 45689.0 / 86400.0);
    for (auto _ : state) {
        benchmark::DoNotOptimize(date.Format());
    }
}
BENCHMARK(BM_OleDateTimeFormat);

static void BM_FileTimeRoundTrip(benchmark::State& state) {
    FILETIME ft{};
    UnixTimeToFileTime(795184889, 0, &ft);
    SYSTEMTIME st{};
    for (auto _ : state) {
        FileTimeToSystemTime(&ft, &st);
        SystemTimeToFileTime(&st, &ft);
        benchmark::DoNotOptimize(ft);
    }
}
BENCHMARK(BM_FileTimeRoundTrip);
