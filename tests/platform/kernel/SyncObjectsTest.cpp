#include "KernelTestSupport.h"

#include <atomic>
#include <thread>

using namespace kernel_test;

namespace {
constexpr DWORD kObject0 = WAIT_OBJECT_0;
constexpr DWORD kAbandoned0 = WAIT_ABANDONED_0;
constexpr DWORD kTimeout = WAIT_TIMEOUT;

DWORD WaitFromOtherThread(HANDLE handle, DWORD ms) {
    DWORD result = 0;
    std::thread([&] { result = WaitForSingleObject(handle, ms); }).join();
    return result;
}
} // namespace

TEST(Mutex, IsRecursiveForItsOwnerAndExclusiveForOthers) {
    HANDLE mutex = CreateMutexW(nullptr, TRUE, nullptr);
    ASSERT_NE(mutex, nullptr);
    EXPECT_EQ(WaitForSingleObject(mutex, 0), kObject0);
    EXPECT_EQ(WaitFromOtherThread(mutex, 10), kTimeout);
    EXPECT_TRUE(ReleaseMutex(mutex));
    EXPECT_EQ(WaitFromOtherThread(mutex, 0), kTimeout); // still owned once
    EXPECT_TRUE(ReleaseMutex(mutex));
    EXPECT_FALSE(ReleaseMutex(mutex));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NOT_OWNER));

    // Another thread takes it; this one may not release it.
    std::atomic<bool> taken{false};
    HANDLE done = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    HANDLE owner = StartThread([&] {
        WaitForSingleObject(mutex, INFINITE);
        taken = true;
        WaitForSingleObject(done, INFINITE);
        return static_cast<DWORD>(ReleaseMutex(mutex));
    });
    while (!taken) {
        Sleep(1);
    }
    EXPECT_FALSE(ReleaseMutex(mutex));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NOT_OWNER));
    SetEvent(done);
    ASSERT_EQ(WaitForSingleObject(owner, 60'000), kObject0);
    DWORD released = 0;
    GetExitCodeThread(owner, &released);
    EXPECT_EQ(released, static_cast<DWORD>(TRUE));
    CloseHandle(owner);
    CloseHandle(done);
    CloseHandle(mutex);
}

TEST(Mutex, AnOwnerThatEndsAbandonsIt) {
    // Both a thread the layer started and one it did not (its end is seen through the thread's exit hook).
    for (bool layerThread : {true, false}) {
        SCOPED_TRACE(layerThread ? "layer thread" : "std::thread");
        HANDLE mutex = CreateMutexW(nullptr, FALSE, nullptr);
        HANDLE other = CreateEventW(nullptr, FALSE, FALSE, nullptr);
        auto takeTwiceAndEnd = [&] {
            WaitForSingleObject(mutex, INFINITE);
            WaitForSingleObject(mutex, INFINITE);
            return DWORD{0};
        };
        if (layerThread) {
            Join(StartThread(takeTwiceAndEnd));
        } else {
            std::thread(takeTwiceAndEnd).join();
        }
        HANDLE both[2] = {other, mutex};
        EXPECT_EQ(WaitForMultipleObjects(2, both, FALSE, 0), kAbandoned0 + 1);
        // Now owned normally by this thread, once.
        EXPECT_TRUE(ReleaseMutex(mutex));
        EXPECT_FALSE(ReleaseMutex(mutex));
        EXPECT_EQ(WaitForSingleObject(mutex, 0), kObject0);
        EXPECT_TRUE(ReleaseMutex(mutex));
        CloseHandle(other);
        CloseHandle(mutex);
    }
}

TEST(Semaphore, CountsAndRefusesToPassItsMaximum) {
    HANDLE semaphore = CreateSemaphoreW(nullptr, 2, 3, nullptr);
    ASSERT_NE(semaphore, nullptr);
    EXPECT_EQ(WaitForSingleObject(semaphore, 0), kObject0);
    EXPECT_EQ(WaitForSingleObject(semaphore, 0), kObject0);
    EXPECT_EQ(WaitForSingleObject(semaphore, 0), kTimeout);

    LONG previous = -1;
    EXPECT_TRUE(ReleaseSemaphore(semaphore, 2, &previous));
    EXPECT_EQ(previous, 0);
    EXPECT_FALSE(ReleaseSemaphore(semaphore, 2, &previous));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_TOO_MANY_POSTS));
    EXPECT_TRUE(ReleaseSemaphore(semaphore, 1, &previous));
    EXPECT_EQ(previous, 2); // the refused release changed nothing
    EXPECT_FALSE(ReleaseSemaphore(semaphore, 0, nullptr));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
    CloseHandle(semaphore);

    struct Bad {
        LONG initial, maximum;
    };
    for (Bad bad : {Bad{0, 0}, Bad{-1, 2}, Bad{3, 2}}) {
        EXPECT_EQ(CreateSemaphoreW(nullptr, bad.initial, bad.maximum, nullptr), nullptr);
        EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
    }
}

TEST(NamedObjects, ShareOneObjectPerNameAcrossKinds) {
    SetLastError(ERROR_ACCESS_DENIED);
    HANDLE first = CreateEventW(nullptr, TRUE, FALSE, u"Ready");
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SUCCESS));
    HANDLE second = CreateEventW(nullptr, FALSE, TRUE, u"Local\\Ready"); // arguments ignored: it exists
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ALREADY_EXISTS));
    HANDLE opened = OpenEventW(EVENT_ALL_ACCESS, FALSE, u"Ready");
    ASSERT_NE(opened, nullptr);
    EXPECT_EQ(WaitForSingleObject(second, 0), kTimeout);
    SetEvent(opened);
    EXPECT_EQ(WaitForSingleObject(first, 0), kObject0);
    EXPECT_EQ(WaitForSingleObject(second, 0), kObject0); // manual reset, as first created

    EXPECT_EQ(CreateMutexW(nullptr, FALSE, u"Ready"), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
    EXPECT_EQ(OpenSemaphoreW(SEMAPHORE_ALL_ACCESS, FALSE, u"Ready"), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
    EXPECT_EQ(OpenMutexW(MUTEX_ALL_ACCESS, FALSE, u"Nothing"), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));

    // The name goes with the last handle.
    CloseHandle(first);
    CloseHandle(second);
    CloseHandle(opened);
    EXPECT_EQ(OpenEventW(EVENT_ALL_ACCESS, FALSE, u"Ready"), nullptr);
    HANDLE mutex = CreateMutexW(nullptr, FALSE, u"Ready");
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SUCCESS));
    HANDLE semaphore = CreateSemaphoreW(nullptr, 1, 1, u"Slots");
    HANDLE sameSemaphore = CreateSemaphoreW(nullptr, 0, 5, u"Slots");
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ALREADY_EXISTS));
    EXPECT_EQ(WaitForSingleObject(sameSemaphore, 0), kObject0);
    EXPECT_EQ(WaitForSingleObject(semaphore, 0), kTimeout);
    for (HANDLE h : {mutex, semaphore, sameSemaphore}) {
        CloseHandle(h);
    }
}

namespace {

// A kind defined outside the layer: signalled while it holds items, each wait taking one.
class Counter : public KernelObject {
public:
    void Add(int n) {
        auto lock = LockState();
        items_ += n;
        SetSignalledLocked(items_ > 0);
    }
    AcquireResult AcquireLocked(DWORD) override {
        --items_;
        SetSignalledLocked(items_ > 0);
        return AcquireResult::Acquired;
    }
    void HandleClosed(bool lastHandle) override { closes.push_back(lastHandle); }
    std::vector<bool> closes;

private:
    int items_ = 0;
};

} // namespace

TEST(KernelObjects, NewKindsWaitAlongsideEventsAndAreFoundByType) {
    auto counter = std::make_shared<Counter>();
    HANDLE handle = RegisterKernelObject(counter);
    HANDLE event = CreateEventW(nullptr, FALSE, FALSE, nullptr);
    HANDLE both[2] = {event, handle};
    EXPECT_EQ(WaitForMultipleObjects(2, both, FALSE, 0), kTimeout);

    HANDLE adder = StartThread([&] {
        Sleep(10);
        counter->Add(2);
        return 0;
    });
    EXPECT_EQ(WaitForMultipleObjects(2, both, FALSE, 60'000), kObject0 + 1);
    Join(adder);
    EXPECT_EQ(WaitForMultipleObjects(2, both, FALSE, 0), kObject0 + 1);
    EXPECT_EQ(WaitForMultipleObjects(2, both, FALSE, 0), kTimeout);

    EXPECT_EQ(LookupKernelObjectAs<Counter>(handle), counter);
    EXPECT_EQ(LookupKernelObjectAs<Counter>(event), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));

    HANDLE copy = nullptr;
    ASSERT_TRUE(DuplicateHandle(GetCurrentProcess(), handle, GetCurrentProcess(), &copy, 0, FALSE,
                                DUPLICATE_SAME_ACCESS));
    EXPECT_NE(copy, handle);
    CloseHandle(handle);
    EXPECT_EQ(LookupKernelObjectAs<Counter>(copy), counter);
    CloseHandle(copy);
    EXPECT_EQ(counter->closes, (std::vector<bool>{false, true}));
    EXPECT_EQ(LookupKernelObject(copy), nullptr);
    CloseHandle(event);
}
