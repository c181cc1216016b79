// The locked string list and the semaphore that carry everything between the GUI and the worker threads.
#include "platform/kernel/Kernel.h"
#include "receiver/CThBufferList.h"
#include "receiver/CrossProcessSemaphore.h"

#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

namespace {

struct SemaphoreDeleter {
    void operator()(CrossProcessSemaphoreRecord* s) const { DestroyCrossProcessSemaphore(s); }
};
using Semaphore = std::unique_ptr<CrossProcessSemaphoreRecord, SemaphoreDeleter>;

Semaphore Binary() {
    return Semaphore(CreateCrossProcessSemaphore(0, 1, nullptr));
}

TEST(ThBufferList, EmptyListAnswersEmptyStringAndStaysEmpty) {
    CThBufferList list;
    EXPECT_EQ(list.RemoveHead(), CString());
    EXPECT_EQ(list.GetCount(), 0);
    EXPECT_TRUE(list.IsEmpty());
    list.AddTail(CString(std::u16string(u"a\0b", 3))); // binary messages carry zero units
    EXPECT_EQ(list.RemoveHead().GetLength(), 3);
}

TEST(ThBufferList, TwoProducersKeepEachOnesOrderAndLoseNothing) {
    CThBufferList list;
    constexpr int kEach = 2000;
    auto produce = [&](char16_t tag) {
        for (int i = 0; i < kEach; ++i) {
            list.AddTail(CString(std::u16string(1, tag) + std::u16string(1, char16_t(i))));
        }
    };
    std::thread a(produce, u'a');
    std::thread b(produce, u'b');
    int nextA = 0;
    int nextB = 0;
    while (nextA + nextB < 2 * kEach) {
        const CString item = list.RemoveHead();
        if (item.IsEmpty()) {
            continue;
        }
        int& next = item[0] == u'a' ? nextA : nextB;
        ASSERT_EQ(item[1], next);
        ++next;
    }
    a.join();
    b.join();
    EXPECT_TRUE(list.IsEmpty());
}

TEST(CrossProcessSemaphore, CreateRefusesBadArguments) {
    const std::u16string longName(129, u'n');
    struct Case {
        LONG initial, maximum;
        const char16_t* name;
    } cases[] = {{0, 0, nullptr}, {2, 1, nullptr}, {-1, 1, nullptr}, {0, 1, longName.c_str()}};
    for (const Case& c : cases) {
        SetLastError(0);
        EXPECT_EQ(CreateCrossProcessSemaphore(c.initial, c.maximum, c.name), nullptr);
        EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
    }
    const std::u16string longest(128, u'n');
    Semaphore ok(CreateCrossProcessSemaphore(0, 1, longest.c_str()));
    EXPECT_NE(ok, nullptr);
}

TEST(CrossProcessSemaphore, TryReleaseAndMaximum) {
    Semaphore s = Binary();
    EXPECT_EQ(WaitCrossProcessSemaphore(s.get(), 0), static_cast<DWORD>(WAIT_TIMEOUT));
    LONG previous = -1;
    EXPECT_TRUE(ReleaseCrossProcessSemaphore(s.get(), 1, &previous));
    EXPECT_EQ(previous, 0);
    SetLastError(0);
    EXPECT_FALSE(ReleaseCrossProcessSemaphore(s.get(), 1, &previous));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
    EXPECT_EQ(previous, 1);
    EXPECT_FALSE(ReleaseCrossProcessSemaphore(s.get(), -1, nullptr));
    EXPECT_EQ(WaitCrossProcessSemaphore(s.get(), 0), 0u);
    EXPECT_EQ(WaitCrossProcessSemaphore(s.get(), 0), static_cast<DWORD>(WAIT_TIMEOUT));
}

TEST(CrossProcessSemaphore, FailedTriesOweNoWakeUps) {
    Semaphore s = Binary();
    for (int i = 0; i < 1000; ++i) {
        ASSERT_EQ(WaitCrossProcessSemaphore(s.get(), 0), static_cast<DWORD>(WAIT_TIMEOUT));
    }
    EXPECT_EQ(WaitCrossProcessSemaphore(s.get(), 5), static_cast<DWORD>(WAIT_TIMEOUT));
    LONG count = -1;
    LONG waiters = -1;
    ASSERT_TRUE(QueryCrossProcessSemaphore(s.get(), &count, &waiters));
    EXPECT_EQ(count, 0);
    EXPECT_EQ(waiters, 0);
}

TEST(CrossProcessSemaphore, NamedPairSharesOneCount) {
    Semaphore first(CreateCrossProcessSemaphore(0, 1, u"link-test"));
    Semaphore second(CreateCrossProcessSemaphore(1, 1, u"link-test")); // attaches: its arguments are ignored
    ASSERT_TRUE(first && second);
    EXPECT_EQ(WaitCrossProcessSemaphore(second.get(), 0), static_cast<DWORD>(WAIT_TIMEOUT));
    EXPECT_TRUE(ReleaseCrossProcessSemaphore(first.get(), 1, nullptr));
    EXPECT_EQ(WaitCrossProcessSemaphore(second.get(), 0), 0u);
    EXPECT_EQ(WaitCrossProcessSemaphore(first.get(), 0), static_cast<DWORD>(WAIT_TIMEOUT));
}

TEST(CrossProcessSemaphore, BlockedWaiterTakesTheReleasedCount) {
    Semaphore s = Binary();
    std::atomic<DWORD> result{99};
    std::thread waiter([&] { result = WaitCrossProcessSemaphore(s.get(), 60'000); });
    LONG waiters = 0;
    while (waiters == 0) {
        QueryCrossProcessSemaphore(s.get(), nullptr, &waiters);
        Sleep(1);
    }
    EXPECT_TRUE(ReleaseCrossProcessSemaphore(s.get(), 1, nullptr));
    waiter.join();
    EXPECT_EQ(result.load(), 0u);
    EXPECT_EQ(WaitCrossProcessSemaphore(s.get(), 0), static_cast<DWORD>(WAIT_TIMEOUT));
}

// The worker threads wait on the events of the transmit and stop semaphores beside other handles, right
// after a failed try: a release must wake them although no Wait is in progress, and leave the count for them.
TEST(CrossProcessSemaphore, EventWatcherWakesOnReleaseWithoutTakingTheCount) {
    Semaphore ready = Binary();
    Semaphore stop = Binary();
    std::atomic<DWORD> woke{99};
    std::atomic<bool> watching{false};
    std::thread watcher([&] {
        EXPECT_EQ(WaitCrossProcessSemaphore(ready.get(), 0), static_cast<DWORD>(WAIT_TIMEOUT));
        EXPECT_EQ(WaitCrossProcessSemaphore(stop.get(), 0), static_cast<DWORD>(WAIT_TIMEOUT));
        const HANDLE events[] = {CrossProcessSemaphoreEvent(ready.get()),
                                 CrossProcessSemaphoreEvent(stop.get())};
        watching = true;
        woke = WaitForMultipleObjects(2, events, FALSE, 60'000);
    });
    while (!watching) {
        Sleep(1);
    }
    Sleep(20);
    EXPECT_TRUE(ReleaseCrossProcessSemaphore(stop.get(), 1, nullptr));
    watcher.join();
    EXPECT_EQ(woke.load(), static_cast<DWORD>(WAIT_OBJECT_0 + 1));
    EXPECT_EQ(WaitCrossProcessSemaphore(stop.get(), 0), 0u);
}

TEST(CrossProcessSemaphore, ManyThreadsNeverTakeMoreThanReleased) {
    Semaphore s(CreateCrossProcessSemaphore(0, 1000, nullptr));
    std::atomic<int> taken{0};
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([&] {
            for (int i = 0; i < 200; ++i) {
                if (WaitCrossProcessSemaphore(s.get(), i % 3) == 0) {
                    ++taken;
                }
            }
        });
    }
    for (int i = 0; i < 300; ++i) {
        while (!ReleaseCrossProcessSemaphore(s.get(), 1, nullptr)) {
            Sleep(0);
        }
    }
    for (std::thread& t : threads) {
        t.join();
    }
    LONG count = 0;
    LONG waiters = 0;
    QueryCrossProcessSemaphore(s.get(), &count, &waiters);
    EXPECT_EQ(taken + count, 300);
    EXPECT_EQ(waiters, 0);
}

TEST(CrossProcessSemaphore, LinkInstancesAreBinaryAndStartTaken) {
    CreateLinkSemaphores();
    for (CrossProcessSemaphore s : {g_receiveGate, g_transmitReady, g_ppsGate, g_stopSemaphore}) {
        ASSERT_NE(s, nullptr);
        EXPECT_EQ(WaitCrossProcessSemaphore(s, 0), static_cast<DWORD>(WAIT_TIMEOUT));
        EXPECT_TRUE(ReleaseCrossProcessSemaphore(s, 1, nullptr));
        EXPECT_FALSE(ReleaseCrossProcessSemaphore(s, 1, nullptr));
    }
    DestroyLinkSemaphores();
    EXPECT_EQ(g_stopSemaphore, nullptr);
}

} // namespace
