#include "receiver/CrossProcessSemaphore.h"

#include "platform/base/LastError.h"
#include "platform/kernel/Kernel.h"

#include <string>

namespace {

// The shared block: five 32-bit fields in this order.
struct SharedBlock {
    LONG initialized;
    LONG lock;
    LONG waiters;
    LONG count;
    LONG maximum;
};
static_assert(sizeof(SharedBlock) == 20);

constexpr std::size_t kMaxNameLength = 128;

} // namespace

struct CrossProcessSemaphoreRecord {
    HANDLE event = nullptr;
    HANDLE mapping = nullptr;
    volatile SharedBlock* block = nullptr;
};

CrossProcessSemaphore g_receiveGate = nullptr;
CrossProcessSemaphore g_transmitReady = nullptr;
CrossProcessSemaphore g_ppsGate = nullptr;
CrossProcessSemaphore g_stopSemaphore = nullptr;

namespace {

class SpinLock {
public:
    explicit SpinLock(volatile SharedBlock* block) : m_block(block) {
        while (InterlockedExchange(const_cast<LONG*>(&m_block->lock), 1) != 0) {
            Sleep(0);
        }
    }
    ~SpinLock() { InterlockedExchange(const_cast<LONG*>(&m_block->lock), 0); }
    SpinLock(const SpinLock&) = delete;
    SpinLock& operator=(const SpinLock&) = delete;

private:
    volatile SharedBlock* m_block;
};

std::u16string KernelName(const char16_t* prefix, LPCWSTR name) {
    return std::u16string(prefix) + name;
}

} // namespace

void DestroyCrossProcessSemaphore(CrossProcessSemaphore semaphore) {
    if (semaphore == nullptr) {
        return;
    }
    if (semaphore->block != nullptr) {
        UnmapViewOfFile(const_cast<SharedBlock*>(semaphore->block));
    }
    if (semaphore->mapping != nullptr) {
        CloseHandle(semaphore->mapping);
    }
    if (semaphore->event != nullptr) {
        CloseHandle(semaphore->event);
    }
    delete semaphore;
}

CrossProcessSemaphore CreateCrossProcessSemaphore(LONG initialCount, LONG maximumCount, LPCWSTR name) {
    if (maximumCount < 1 || initialCount > maximumCount || initialCount < 0 ||
        (name != nullptr && std::char_traits<char16_t>::length(name) > kMaxNameLength)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    auto* record = new (std::nothrow) CrossProcessSemaphoreRecord;
    if (record == nullptr) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
    const std::u16string eventName = name ? KernelName(u"QLM_MSECT_EVT_", name) : std::u16string();
    const std::u16string mappingName = name ? KernelName(u"QLM_MSECT_MMF_", name) : std::u16string();

    record->event = CreateEventW(nullptr, FALSE, FALSE, name ? eventName.c_str() : nullptr);
    if (record->event == nullptr) {
        const DWORD error = GetLastError();
        DestroyCrossProcessSemaphore(record);
        SetLastError(error);
        return nullptr;
    }
    record->mapping = CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0,
                                         sizeof(SharedBlock), name ? mappingName.c_str() : nullptr);
    const bool existed = record->mapping != nullptr && GetLastError() == ERROR_ALREADY_EXISTS;
    if (record->mapping != nullptr) {
        record->block = static_cast<SharedBlock*>(
            MapViewOfFile(record->mapping, FILE_MAP_WRITE | FILE_MAP_READ, 0, 0, sizeof(SharedBlock)));
    }
    if (record->block == nullptr) {
        const DWORD error = GetLastError();
        DestroyCrossProcessSemaphore(record);
        SetLastError(error);
        return nullptr;
    }
    volatile SharedBlock* block = record->block;
    if (existed) {
        while (InterlockedExchangeAdd(const_cast<LONG*>(&block->initialized), 0) == 0) {
            Sleep(0);
        }
    } else {
        block->lock = 0;
        block->waiters = 0;
        block->count = initialCount;
        block->maximum = maximumCount;
        InterlockedExchange(const_cast<LONG*>(&block->initialized), 1);
    }
    return record;
}

DWORD WaitCrossProcessSemaphore(CrossProcessSemaphore semaphore, DWORD milliseconds) {
    if (semaphore == nullptr) {
        SetLastError(ERROR_INVALID_HANDLE);
        return WAIT_FAILED;
    }
    volatile SharedBlock* block = semaphore->block;
    for (;;) {
        {
            SpinLock lock(block);
            if (block->count >= 1) {
                block->count = block->count - 1;
                return 0;
            }
            block->waiters = block->waiters + 1;
            ResetEvent(semaphore->event);
        }
        if (WaitForSingleObject(semaphore->event, milliseconds) == WAIT_OBJECT_0) {
            continue;
        }
        // A waiter that gives up withdraws its claim on a wake-up; otherwise failed tries would pile up in
        // the counter of a semaphore that a worker thread tries several times a second, for months.
        SpinLock lock(block);
        if (WaitForSingleObject(semaphore->event, 0) == WAIT_OBJECT_0) {
            // A release paid this waiter just as it timed out: take the count it brought instead.
            if (block->count >= 1) {
                block->count = block->count - 1;
                return 0;
            }
            return WAIT_TIMEOUT;
        }
        if (block->waiters > 0) {
            block->waiters = block->waiters - 1;
        }
        return WAIT_TIMEOUT;
    }
}

BOOL ReleaseCrossProcessSemaphore(CrossProcessSemaphore semaphore, LONG n, LONG* previousCount) {
    if (semaphore == nullptr) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    volatile SharedBlock* block = semaphore->block;
    SpinLock lock(block);
    if (previousCount != nullptr) {
        *previousCount = block->count;
    }
    if (n < 0 || static_cast<long long>(block->count) + n > block->maximum) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    block->count = block->count + n;
    LONG woken = 0;
    while (woken < n && block->waiters > 0) {
        block->waiters = block->waiters - 1;
        SetEvent(semaphore->event);
        ++woken;
    }
    // Threads that watch the event together with other handles are not counted as waiters.
    if (n > 0 && woken == 0) {
        SetEvent(semaphore->event);
    }
    return TRUE;
}

HANDLE CrossProcessSemaphoreEvent(CrossProcessSemaphore semaphore) {
    return semaphore ? semaphore->event : nullptr;
}

BOOL QueryCrossProcessSemaphore(CrossProcessSemaphore semaphore, LONG* count, LONG* waiters) {
    if (semaphore == nullptr) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    SpinLock lock(semaphore->block);
    if (count) {
        *count = semaphore->block->count;
    }
    if (waiters) {
        *waiters = semaphore->block->waiters;
    }
    return TRUE;
}

void CreateLinkSemaphores() {
    g_receiveGate = CreateCrossProcessSemaphore(0, 1, nullptr);
    g_transmitReady = CreateCrossProcessSemaphore(0, 1, nullptr);
    g_ppsGate = CreateCrossProcessSemaphore(0, 1, nullptr);
    g_stopSemaphore = CreateCrossProcessSemaphore(0, 1, nullptr);
}

void DestroyLinkSemaphores() {
    for (CrossProcessSemaphore* semaphore :
         {&g_receiveGate, &g_transmitReady, &g_ppsGate, &g_stopSemaphore}) {
        DestroyCrossProcessSemaphore(*semaphore);
        *semaphore = nullptr;
    }
}
