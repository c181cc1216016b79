#include "KernelTestSupport.h"

#include <atomic>
#include <unistd.h>
#include <vector>

using namespace kernel_test;

namespace {

constexpr DWORD kObject0 = WAIT_OBJECT_0;
constexpr DWORD kTimeout = WAIT_TIMEOUT;

struct Events {
    explicit Events(std::initializer_list<std::pair<bool, bool>> manualAndInitial) {
        for (auto [manual, initial] : manualAndInitial) {
            handles.push_back(CreateEventW(nullptr, manual, initial, nullptr));
        }
    }
    ~Events() {
        for (HANDLE h : handles) {
            CloseHandle(h);
        }
    }
    bool Signalled(std::size_t i) const { return WaitForSingleObject(handles[i], 0) == kObject0; }
    std::vector<HANDLE> handles;
};

constexpr std::pair<bool, bool> kAutoSet{false, true};
constexpr std::pair<bool, bool> kAutoClear{false, false};
constexpr std::pair<bool, bool> kManualSet{true, true};
constexpr std::pair<bool, bool> kManualClear{true, false};

} // namespace

TEST(Wait, ManualResetStaysSignalledAutoResetIsConsumedOnce) {
    Events e{kManualSet, kAutoSet};
    EXPECT_TRUE(e.Signalled(0));
    EXPECT_TRUE(e.Signalled(0));
    EXPECT_TRUE(e.Signalled(1));
    EXPECT_FALSE(e.Signalled(1));

    ASSERT_TRUE(ResetEvent(e.handles[0]));
    EXPECT_FALSE(e.Signalled(0));
    ASSERT_TRUE(SetEvent(e.handles[1]));
    ASSERT_TRUE(SetEvent(e.handles[1])); // setting twice still releases only one wait
    EXPECT_TRUE(e.Signalled(1));
    EXPECT_FALSE(e.Signalled(1));
}

TEST(Wait, AnyAnswersTheLowestSignalledIndexAndTakesOnlyThatObject) {
    Events e{kAutoClear, kAutoSet, kAutoSet};
    EXPECT_EQ(WaitForMultipleObjects(3, e.handles.data(), FALSE, 0), kObject0 + 1);
    EXPECT_FALSE(e.Signalled(1));
    EXPECT_TRUE(e.Signalled(2));
}

TEST(Wait, AllTakesEveryObjectOrNone) {
    Events e{kAutoSet, kManualSet, kAutoClear};
    // One object missing: the wait times out and consumes nothing.
    EXPECT_EQ(WaitForMultipleObjects(3, e.handles.data(), TRUE, 20), kTimeout);
    EXPECT_TRUE(e.Signalled(0));
    SetEvent(e.handles[0]);

    SetEvent(e.handles[2]);
    EXPECT_EQ(WaitForMultipleObjects(3, e.handles.data(), TRUE, 0), kObject0);
    EXPECT_FALSE(e.Signalled(0));
    EXPECT_TRUE(e.Signalled(1));
    EXPECT_FALSE(e.Signalled(2));
}

TEST(Wait, AllDoesNotConsumeAnEventWhileWaitingForTheOthers) {
    Events e{kAutoClear, kAutoClear};
    std::atomic<DWORD> result{0xDEAD};
    HANDLE waiter = StartThread([&] {
        result = WaitForMultipleObjects(2, e.handles.data(), TRUE, INFINITE);
        return 0;
    });
    ASSERT_TRUE(WaitForWaiters(e.handles[0], 1));
    SetEvent(e.handles[0]);
    // The waiter has seen the first event (it polls it) but must leave it to this competing wait.
    EXPECT_EQ(WaitForSingleObject(e.handles[0], 5'000), kObject0);
    SetEvent(e.handles[1]);
    EXPECT_EQ(WaitForSingleObject(waiter, 200), kTimeout);
    SetEvent(e.handles[0]);
    Join(waiter);
    EXPECT_EQ(result.load(), kObject0);
    EXPECT_FALSE(e.Signalled(0));
    EXPECT_FALSE(e.Signalled(1));
}

TEST(Wait, AllIsAtomicAgainstACompetingWaiterUnderLoad) {
    // Counting semaphores keep every release, so any partial take by the wait-all shows in the totals.
    constexpr LONG kRounds = 1200;
    HANDLE pair[2] = {CreateSemaphoreW(nullptr, 0, kRounds, nullptr),
                      CreateSemaphoreW(nullptr, 0, kRounds, nullptr)};
    std::atomic<bool> stop{false};
    std::atomic<LONG> bothTaken{0};
    std::atomic<LONG> firstTaken{0};
    HANDLE all = StartThread([&] {
        while (!stop) {
            if (WaitForMultipleObjects(2, pair, TRUE, 5) == kObject0) {
                ++bothTaken;
            }
        }
        return 0;
    });
    HANDLE competitor = StartThread([&] {
        while (!stop) {
            if (WaitForSingleObject(pair[0], 5) == kObject0) {
                ++firstTaken;
            }
        }
        return 0;
    });
    for (LONG i = 0; i < kRounds; ++i) {
        // Either order, sometimes with a pause between, so that both waiters often see only one of the two.
        const int first = i % 2;
        ASSERT_TRUE(ReleaseSemaphore(pair[first], 1, nullptr));
        if (i % 8 < 2) {
            Sleep(1);
        }
        ASSERT_TRUE(ReleaseSemaphore(pair[1 - first], 1, nullptr));
    }
    stop = true;
    Join(all);
    Join(competitor);
    LONG left[2] = {0, 0};
    for (int k = 0; k < 2; ++k) {
        while (WaitForSingleObject(pair[k], 0) == kObject0) {
            ++left[k];
        }
    }
    EXPECT_EQ(bothTaken + firstTaken + left[0], kRounds);
    EXPECT_EQ(bothTaken + left[1], kRounds);
    CloseHandle(pair[0]);
    CloseHandle(pair[1]);
}

TEST(Wait, TimeOutsNeverEndEarly) {
    Events e{kAutoClear, kManualClear};
    for (DWORD ms : {0u, 1u, 30u, 120u}) {
        auto start = Clock::now();
        EXPECT_EQ(WaitForSingleObject(e.handles[0], ms), kTimeout);
        EXPECT_GE(MsSince(start), static_cast<std::int64_t>(ms)) << ms;

        start = Clock::now();
        EXPECT_EQ(WaitForMultipleObjects(2, e.handles.data(), TRUE, ms), kTimeout);
        EXPECT_GE(MsSince(start), static_cast<std::int64_t>(ms)) << ms;
    }
    // A generous bound only: the time-out must end the wait at all.
    auto start = Clock::now();
    EXPECT_EQ(WaitForMultipleObjects(2, e.handles.data(), FALSE, 50), kTimeout);
    EXPECT_LT(MsSince(start), 30'000);
}

TEST(Wait, ASignalFromAnotherThreadEndsAnInfiniteWait) {
    Events e{kAutoClear, kAutoClear};
    HANDLE setter = StartThread([&] {
        Sleep(20);
        SetEvent(e.handles[1]);
        return 0;
    });
    EXPECT_EQ(WaitForMultipleObjects(2, e.handles.data(), FALSE, INFINITE), kObject0 + 1);
    Join(setter);
}

TEST(Wait, PulseOfAManualResetEventReleasesEveryWaiterAndLeavesItReset) {
    Events e{kManualClear};
    EXPECT_TRUE(PulseEvent(e.handles[0])); // nobody waiting: nothing happens
    EXPECT_FALSE(e.Signalled(0));

    std::vector<HANDLE> waiters;
    for (int i = 0; i < 3; ++i) {
        waiters.push_back(StartThread([&] { return WaitForSingleObject(e.handles[0], INFINITE); }));
    }
    ASSERT_TRUE(WaitForWaiters(e.handles[0], 3));
    EXPECT_TRUE(PulseEvent(e.handles[0]));
    for (HANDLE w : waiters) {
        ASSERT_EQ(WaitForSingleObject(w, 60'000), kObject0);
        DWORD code = 0;
        GetExitCodeThread(w, &code);
        EXPECT_EQ(code, kObject0);
        CloseHandle(w);
    }
    EXPECT_FALSE(e.Signalled(0));
}

TEST(Wait, PulseOfAnAutoResetEventReleasesOneWaiter) {
    Events e{kAutoClear};
    HANDLE waiters[2] = {StartThread([&] { return WaitForSingleObject(e.handles[0], INFINITE); }),
                         StartThread([&] { return WaitForSingleObject(e.handles[0], INFINITE); })};
    ASSERT_TRUE(WaitForWaiters(e.handles[0], 2));
    PulseEvent(e.handles[0]);
    const DWORD first = WaitForMultipleObjects(2, waiters, FALSE, 60'000);
    ASSERT_LT(first, kObject0 + 2);
    HANDLE other = waiters[1 - (first - kObject0)];
    EXPECT_EQ(WaitForSingleObject(other, 200), kTimeout);
    EXPECT_FALSE(e.Signalled(0));
    SetEvent(e.handles[0]);
    Join(other);
    CloseHandle(waiters[first - kObject0]);
}

TEST(Wait, HandlesAndDescriptorsTogether) {
    Events e{kAutoClear};
    int pipeFds[2];
    ASSERT_EQ(pipe(pipeFds), 0);
    pollfd fd{pipeFds[0], POLLIN, 0};

    auto start = Clock::now();
    EXPECT_EQ(WaitForHandlesAndFds(1, e.handles.data(), 1, &fd, FALSE, 40), kTimeout);
    EXPECT_GE(MsSince(start), 40);

    ASSERT_EQ(write(pipeFds[1], "x", 1), 1);
    EXPECT_EQ(WaitForHandlesAndFds(1, e.handles.data(), 1, &fd, FALSE, 0), kObject0 + 1);
    EXPECT_TRUE(fd.revents & POLLIN);
    // Handles come first, and the descriptor is only polled, never read.
    SetEvent(e.handles[0]);
    EXPECT_EQ(WaitForHandlesAndFds(1, e.handles.data(), 1, &fd, FALSE, 0), kObject0);
    EXPECT_EQ(WaitForHandlesAndFds(0, nullptr, 1, &fd, FALSE, INFINITE), kObject0);

    // Wait-all needs the handle and a ready descriptor.
    char byte;
    ASSERT_EQ(read(pipeFds[0], &byte, 1), 1);
    SetEvent(e.handles[0]);
    EXPECT_EQ(WaitForHandlesAndFds(1, e.handles.data(), 1, &fd, TRUE, 20), kTimeout);
    EXPECT_TRUE(e.Signalled(0));
    SetEvent(e.handles[0]);
    HANDLE writer = StartThread([&] {
        Sleep(20);
        return static_cast<DWORD>(write(pipeFds[1], "y", 1));
    });
    EXPECT_EQ(WaitForHandlesAndFds(1, e.handles.data(), 1, &fd, TRUE, 60'000), kObject0);
    EXPECT_FALSE(e.Signalled(0));
    Join(writer);
    close(pipeFds[0]);
    close(pipeFds[1]);
}

TEST(Wait, BadArgumentsFail) {
    Events e{kAutoSet};
    HANDLE closed = CreateEventW(nullptr, TRUE, TRUE, nullptr);
    CloseHandle(closed);
    HANDLE mapping = CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, 4096, nullptr);

    for (HANDLE bad : {static_cast<HANDLE>(nullptr), INVALID_HANDLE_VALUE, closed, mapping,
                       reinterpret_cast<HANDLE>(0x1234)}) {
        SetLastError(0);
        EXPECT_EQ(WaitForSingleObject(bad, 0), WAIT_FAILED);
        EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
        HANDLE mixed[2] = {e.handles[0], bad};
        EXPECT_EQ(WaitForMultipleObjects(2, mixed, FALSE, 0), WAIT_FAILED);
    }
    EXPECT_TRUE(e.Signalled(0)); // the failed waits took nothing

    HANDLE twice[2] = {e.handles[0], e.handles[0]};
    EXPECT_EQ(WaitForMultipleObjects(2, twice, TRUE, 0), WAIT_FAILED);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
    std::vector<HANDLE> many(MAXIMUM_WAIT_OBJECTS + 1, e.handles[0]);
    EXPECT_EQ(WaitForMultipleObjects(static_cast<DWORD>(many.size()), many.data(), FALSE, 0), WAIT_FAILED);
    EXPECT_EQ(WaitForMultipleObjects(0, many.data(), FALSE, 0), WAIT_FAILED);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));

    EXPECT_FALSE(SetEvent(closed));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
    EXPECT_FALSE(SetEvent(mapping)); // a handle of another kind
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
    EXPECT_FALSE(CloseHandle(closed));
    EXPECT_FALSE(CloseHandle(nullptr));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
    CloseHandle(mapping);
}
