// Formatting cost of the program's typical texts: the time-stamped log line, a coordinate and a double shown
// for round-tripping.
#include "platform/base/WideFormat.h"
#include "platform/base/WideRuntime.h"

#include <benchmark/benchmark.h>

#include <string>

namespace {

void LogLine(benchmark::State& state) {
    std::u16string out;
    unsigned ms = 0;
    for (auto _ : state) {
        out.clear();
        AppendFormat(out, u"%04u%02u%02u,%02u%02u%02u.%03u,%i", 2025u, 1u, 31u, 23u, 59u, 59u, ms, -12345);
        ms = (ms + 1) % 1000;
        benchmark::DoNotOptimize(out.data());
    }
}
BENCHMARK(LogLine);

void LogLineIntoBuffer(benchmark::State& state) {
    char16_t buffer[64];
    for (auto _ : state) {
        int n = swprintf(buffer, 64, u"%04u%02u%02u,%02u%02u%02u.%03u,%i", 2025u, 1u, 31u, 23u, 59u, 59u, 7u,
                         -12345);
        benchmark::DoNotOptimize(n);
        benchmark::DoNotOptimize(buffer);
    }
}
BENCHMARK(LogLineIntoBuffer);

void Coordinate(benchmark::State& state) {
    std::u16string out;
    double value = 51.123456789;
    for (auto _ : state) {
        out.clear();
        AppendFormat(out, u"%9.7f\u00B0 %018.16f", value, value);
        benchmark::DoNotOptimize(out.data());
    }
}
BENCHMARK(Coordinate);

void RoundTripDouble(benchmark::State& state) {
    std::u16string out;
    double value = 0.1;
    for (auto _ : state) {
        out.clear();
        AppendFormat(out, u"%.15g", value);
        value += 1e-7;
        benchmark::DoNotOptimize(out.data());
    }
}
BENCHMARK(RoundTripDouble);

} // namespace
