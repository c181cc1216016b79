#include "KernelTestSupport.h"

#include <thread>
#include <vector>

using namespace kernel_test;

namespace {

template <class Body>
void RunOnThreads(int threads, Body body) {
    std::vector<std::thread> pool;
    for (int t = 0; t < threads; ++t) {
        pool.emplace_back([&body, t] { body(t); });
    }
    for (auto& thread : pool) {
        thread.join();
    }
}

} // namespace

TEST(CriticalSection, IsRecursiveForItsOwnerAndExclusiveForOthers) {
    for (DWORD spin : {0u, 4000u}) {
        CRITICAL_SECTION section;
        ASSERT_TRUE(InitializeCriticalSectionAndSpinCount(&section, spin));
        EnterCriticalSection(&section);
        EXPECT_TRUE(TryEnterCriticalSection(&section));
        BOOL otherGot = TRUE;
        std::thread([&] { otherGot = TryEnterCriticalSection(&section); }).join();
        EXPECT_FALSE(otherGot);
        LeaveCriticalSection(&section);
        std::thread([&] { otherGot = TryEnterCriticalSection(&section); }).join();
        EXPECT_FALSE(otherGot); // entered twice, left once
        LeaveCriticalSection(&section);
        std::thread([&] {
            otherGot = TryEnterCriticalSection(&section);
            LeaveCriticalSection(&section);
        }).join();
        EXPECT_TRUE(otherGot);

        long counter = 0; // plain: only the section protects it
        RunOnThreads(4, [&](int) {
            for (int i = 0; i < 20000; ++i) {
                EnterCriticalSection(&section);
                ++counter;
                LeaveCriticalSection(&section);
            }
        });
        EXPECT_EQ(counter, 80000);
        DeleteCriticalSection(&section);
    }
}

TEST(Interlocked, AnswersAsTheOriginal) {
    LONG volatile value = 5;
    EXPECT_EQ(InterlockedIncrement(&value), 6);
    EXPECT_EQ(InterlockedDecrement(&value), 5);
    EXPECT_EQ(InterlockedExchange(&value, 10), 5);
    EXPECT_EQ(InterlockedExchangeAdd(&value, 3), 10);
    EXPECT_EQ(InterlockedCompareExchange(&value, 1, 99), 13); // no match: unchanged
    EXPECT_EQ(value, 13);
    EXPECT_EQ(InterlockedCompareExchange(&value, 1, 13), 13);
    EXPECT_EQ(value, 1);
    LONG volatile top = 0x7FFFFFFF;
    EXPECT_EQ(InterlockedIncrement(&top), static_cast<LONG>(0x80000000u)); // wraps, as the hardware does

    int a = 0, b = 0;
    PVOID volatile pointer = &a;
    EXPECT_EQ(InterlockedExchangePointer(&pointer, &b), &a);
    EXPECT_EQ(InterlockedCompareExchangePointer(&pointer, &a, &a), &b);
    EXPECT_EQ(pointer, &b);
    EXPECT_EQ(InterlockedCompareExchangePointer(&pointer, &a, &b), &b);
    EXPECT_EQ(pointer, &a);
}

TEST(Interlocked, NoUpdateIsLostUnderContention) {
    constexpr int kThreads = 4;
    constexpr int kRounds = 50000;
    LONG volatile up = 0;
    LONG volatile down = 0;
    LONG volatile sum = 0;
    LONG volatile casCount = 0;
    LONGLONG volatile wide = 0;
    RunOnThreads(kThreads, [&](int t) {
        for (int i = 0; i < kRounds; ++i) {
            InterlockedIncrement(&up);
            InterlockedDecrement(&down);
            InterlockedExchangeAdd(&sum, t + 1);
            InterlockedIncrement64(&wide);
            LONG seen;
            do {
                seen = __atomic_load_n(&casCount, __ATOMIC_RELAXED);
            } while (InterlockedCompareExchange(&casCount, seen + 1, seen) != seen);
        }
    });
    EXPECT_EQ(up, kThreads * kRounds);
    EXPECT_EQ(down, -kThreads * kRounds);
    EXPECT_EQ(sum, kRounds * (1 + 2 + 3 + 4));
    EXPECT_EQ(casCount, kThreads * kRounds);
    EXPECT_EQ(wide, kThreads * kRounds);
}

TEST(Ticks, FollowTheMonotonicClock) {
    const ULONGLONG before64 = GetTickCount64();
    const DWORD before = GetTickCount();
    LARGE_INTEGER frequency{}, qpcBefore{}, qpcAfter{};
    ASSERT_TRUE(QueryPerformanceFrequency(&frequency));
    EXPECT_EQ(frequency.QuadPart, 10'000'000);
    ASSERT_TRUE(QueryPerformanceCounter(&qpcBefore));
    const auto start = Clock::now();
    Sleep(30);
    EXPECT_GE(MsSince(start), 30);
    ASSERT_TRUE(QueryPerformanceCounter(&qpcAfter));
    EXPECT_GE(GetTickCount64() - before64, 29u); // millisecond truncation at both ends
    EXPECT_GE(static_cast<DWORD>(GetTickCount() - before), 29u);
    EXPECT_GE(qpcAfter.QuadPart - qpcBefore.QuadPart, 30 * frequency.QuadPart / 1000);
    const ULONGLONG now64 = GetTickCount64();
    const DWORD now32 = GetTickCount(); // read second: the same count, or a little later
    EXPECT_LE(static_cast<DWORD>(now32 - static_cast<DWORD>(now64)), 1000u);
    Sleep(0);
    EXPECT_EQ(SleepEx(1, TRUE), 0u);
    EXPECT_FALSE(QueryPerformanceCounter(nullptr));
}
