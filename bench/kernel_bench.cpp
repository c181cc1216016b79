#include "platform/kernel/Kernel.h"

#include <atomic>

#include <benchmark/benchmark.h>

namespace {

struct PingPong {
    HANDLE ping = CreateEventW(nullptr, FALSE, FALSE, nullptr);
    HANDLE pong = CreateEventW(nullptr, FALSE, FALSE, nullptr);
    std::atomic<bool> stop{false};
};

DWORD Partner(LPVOID parameter) {
    auto* pair = static_cast<PingPong*>(parameter);
    for (;;) {
        WaitForSingleObject(pair->ping, INFINITE);
        if (pair->stop) {
            return 0;
        }
        SetEvent(pair->pong);
    }
}

// One round trip: this thread wakes the partner through one auto-reset event and waits for its answer on
// another, as the receive and transmit threads hand work to each other.
void BM_EventPingPong(benchmark::State& state) {
    PingPong pair;
    HANDLE partner = CreateThread(nullptr, 0, &Partner, &pair, 0, nullptr);
    for (auto _ : state) {
        SetEvent(pair.ping);
        WaitForSingleObject(pair.pong, INFINITE);
    }
    pair.stop = true;
    SetEvent(pair.ping);
    WaitForSingleObject(partner, INFINITE);
    CloseHandle(partner);
    CloseHandle(pair.ping);
    CloseHandle(pair.pong);
}
BENCHMARK(BM_EventPingPong)->UseRealTime();

void BM_UncontendedSetAndWait(benchmark::State& state) {
    HANDLE event = CreateEventW(nullptr, FALSE, FALSE, nullptr);
    for (auto _ : state) {
        SetEvent(event);
        benchmark::DoNotOptimize(WaitForSingleObject(event, 0));
    }
    CloseHandle(event);
}
BENCHMARK(BM_UncontendedSetAndWait);

void BM_CriticalSectionEnterLeave(benchmark::State& state) {
    CRITICAL_SECTION section;
    InitializeCriticalSection(&section);
    for (auto _ : state) {
        EnterCriticalSection(&section);
        LeaveCriticalSection(&section);
    }
    DeleteCriticalSection(&section);
}
BENCHMARK(BM_CriticalSectionEnterLeave);

} // namespace
