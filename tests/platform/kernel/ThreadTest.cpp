#include "KernelTestSupport.h"

#include <atomic>
#include <sys/resource.h>
#include <thread>
#include <unistd.h>

using namespace kernel_test;

namespace {
constexpr DWORD kObject0 = WAIT_OBJECT_0;
constexpr DWORD kTimeout = WAIT_TIMEOUT;
} // namespace

TEST(Thread, ExitCodeIsStillActiveWhileRunningThenTheReturnedValue) {
    HANDLE go = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    DWORD id = 0;
    std::atomic<DWORD> seenId{0};
    HANDLE thread = StartThread(
        [&] {
            seenId = GetCurrentThreadId();
            WaitForSingleObject(go, INFINITE);
            return DWORD{42};
        },
        0, &id);
    ASSERT_NE(thread, nullptr);
    EXPECT_EQ(GetThreadId(thread), id);
    EXPECT_NE(id, GetCurrentThreadId());
    DWORD code = 0;
    ASSERT_TRUE(GetExitCodeThread(thread, &code));
    EXPECT_EQ(code, static_cast<DWORD>(STILL_ACTIVE));
    EXPECT_EQ(WaitForSingleObject(thread, 10), kTimeout);
    SetEvent(go);
    ASSERT_EQ(WaitForSingleObject(thread, 60'000), kObject0);
    EXPECT_EQ(WaitForSingleObject(thread, 0), kObject0); // stays signalled
    ASSERT_TRUE(GetExitCodeThread(thread, &code));
    EXPECT_EQ(code, 42u);
    EXPECT_EQ(seenId.load(), id);
    EXPECT_EQ(GetCurrentThreadId(), static_cast<DWORD>(gettid()));
    EXPECT_EQ(GetCurrentProcessId(), static_cast<DWORD>(getpid()));
    CloseHandle(thread);
    CloseHandle(go);
}

TEST(Thread, CreateSuspendedRunsOnlyAfterResume) {
    std::atomic<bool> ran{false};
    HANDLE thread = StartThread(
        [&] {
            ran = true;
            return DWORD{7};
        },
        CREATE_SUSPENDED);
    ASSERT_NE(thread, nullptr);
    EXPECT_EQ(WaitForSingleObject(thread, 50), kTimeout);
    EXPECT_FALSE(ran);
    EXPECT_EQ(ResumeThread(thread), 1u);
    ASSERT_EQ(WaitForSingleObject(thread, 60'000), kObject0);
    EXPECT_TRUE(ran);
    EXPECT_EQ(ResumeThread(thread), 0u);
    DWORD code = 0;
    GetExitCodeThread(thread, &code);
    EXPECT_EQ(code, 7u);
    CloseHandle(thread);
}

TEST(Thread, ExitThreadUnwindsAndSetsTheExitCode) {
    std::atomic<bool> unwound{false};
    struct Guard {
        std::atomic<bool>& flag;
        ~Guard() { flag = true; }
    };
    HANDLE thread = StartThread([&]() -> DWORD {
        Guard guard{unwound};
        ExitThread(9);
    });
    ASSERT_EQ(WaitForSingleObject(thread, 60'000), kObject0);
    DWORD code = 0;
    GetExitCodeThread(thread, &code);
    EXPECT_EQ(code, 9u);
    EXPECT_TRUE(unwound);
    CloseHandle(thread);
}

TEST(Thread, CurrentThreadPseudoHandleDuplicatesToARealOne) {
    // A thread the layer did not start gets its own object too, signalled when it ends.
    HANDLE real = nullptr;
    std::thread([&] {
        EXPECT_EQ(WaitForSingleObject(GetCurrentThread(), 0), kTimeout);
        EXPECT_EQ(GetThreadId(GetCurrentThread()), GetCurrentThreadId());
        EXPECT_TRUE(DuplicateHandle(GetCurrentProcess(), GetCurrentThread(), GetCurrentProcess(), &real, 0,
                                    FALSE, DUPLICATE_SAME_ACCESS));
    }).join();
    ASSERT_NE(real, nullptr);
    EXPECT_EQ(WaitForSingleObject(real, 0), kObject0);
    DWORD code = STILL_ACTIVE;
    GetExitCodeThread(real, &code);
    EXPECT_EQ(code, 0u);
    EXPECT_TRUE(CloseHandle(real));
    EXPECT_TRUE(CloseHandle(GetCurrentThread())); // a no-op
    EXPECT_EQ(GetThreadPriority(GetCurrentThread()), THREAD_PRIORITY_NORMAL);
}

TEST(Thread, PrioritiesAreKeptAndLoweringReachesTheSystem) {
    HANDLE go = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    DWORD id = 0;
    HANDLE thread = StartThread([&] { return WaitForSingleObject(go, INFINITE); }, 0, &id);
    EXPECT_EQ(GetThreadPriority(thread), THREAD_PRIORITY_NORMAL);
    // Any process may lower a thread's priority; raising it may be refused, which must not fail the call.
    EXPECT_TRUE(SetThreadPriority(thread, THREAD_PRIORITY_LOWEST));
    EXPECT_EQ(GetThreadPriority(thread), THREAD_PRIORITY_LOWEST);
    EXPECT_GT(getpriority(PRIO_PROCESS, id), 0);
    for (int priority : {THREAD_PRIORITY_TIME_CRITICAL, THREAD_PRIORITY_IDLE, THREAD_PRIORITY_ABOVE_NORMAL}) {
        EXPECT_TRUE(SetThreadPriority(thread, priority));
        EXPECT_EQ(GetThreadPriority(thread), priority);
    }
    EXPECT_FALSE(SetThreadPriority(thread, 5));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
    EXPECT_EQ(GetThreadPriority(thread), THREAD_PRIORITY_ABOVE_NORMAL);
    SetEvent(go);
    Join(thread);
    CloseHandle(go);
}

TEST(Thread, BadHandlesAndArguments) {
    HANDLE event = CreateEventW(nullptr, TRUE, TRUE, nullptr);
    DWORD code = 0;
    EXPECT_FALSE(GetExitCodeThread(event, &code));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
    EXPECT_EQ(ResumeThread(event), static_cast<DWORD>(-1));
    EXPECT_EQ(GetThreadPriority(nullptr), THREAD_PRIORITY_ERROR_RETURN);
    EXPECT_FALSE(SetThreadPriority(event, THREAD_PRIORITY_NORMAL));
    EXPECT_EQ(GetThreadId(event), 0u);
    EXPECT_EQ(CreateThread(nullptr, 0, nullptr, nullptr, 0, nullptr), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
    EXPECT_FALSE(DuplicateHandle(GetCurrentProcess(), event, event, nullptr, 0, FALSE, 0));
    CloseHandle(event);
}

TEST(Thread, SmallStackRequestsStillRunDeepWork) {
    HANDLE thread = CreateThread(
        nullptr, 4096,
        [](LPVOID) -> DWORD {
            volatile char buffer[64 * 1024];
            buffer[0] = 1;
            return buffer[0];
        },
        nullptr, STACK_SIZE_PARAM_IS_A_RESERVATION, nullptr);
    ASSERT_NE(thread, nullptr);
    ASSERT_EQ(WaitForSingleObject(thread, 60'000), kObject0);
    DWORD code = 0;
    GetExitCodeThread(thread, &code);
    EXPECT_EQ(code, 1u);
    CloseHandle(thread);
}
