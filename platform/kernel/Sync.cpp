#include "platform/kernel/Sync.h"

#include "platform/kernel/KernelDetail.h"

using namespace kernel_detail;

namespace {

class EventObject : public KernelObject {
public:
    EventObject(bool manualReset, bool initialState) : manualReset_(manualReset) {
        SetSignalledLocked(initialState); // not shared yet
    }

    AcquireResult AcquireLocked(DWORD) override {
        if (!manualReset_) {
            SetSignalledLocked(false);
        }
        return AcquireResult::Acquired;
    }

    void Pulse() {
        auto lock = LockState();
        PulseLocked();
    }

private:
    const bool manualReset_;
};

class MutexObject : public KernelObject {
public:
    explicit MutexObject(DWORD owner) : owner_(owner), recursion_(owner != 0 ? 1 : 0) {
        SetSignalledLocked(owner == 0); // not shared yet
    }

    bool IsSignalledLocked(DWORD tid) const override { return owner_ == 0 || owner_ == tid; }

    AcquireResult AcquireLocked(DWORD tid) override {
        if (owner_ == tid) {
            ++recursion_;
            return AcquireResult::Acquired;
        }
        owner_ = tid;
        recursion_ = 1;
        SetSignalledLocked(false);
        if (abandoned_) {
            abandoned_ = false;
            return AcquireResult::Abandoned;
        }
        return AcquireResult::Acquired;
    }

    void ThreadEndedLocked(DWORD tid) override {
        if (owner_ == tid) {
            owner_ = 0;
            recursion_ = 0;
            abandoned_ = true;
            SetSignalledLocked(true);
        }
    }

    bool Release(DWORD tid) {
        auto lock = LockState();
        if (owner_ != tid || owner_ == 0) {
            return false;
        }
        if (--recursion_ == 0) {
            owner_ = 0;
            SetSignalledLocked(true);
        }
        return true;
    }

    void Watch() {
        auto lock = LockState();
        WatchThreadEndsLocked();
    }

private:
    DWORD owner_;
    DWORD recursion_;
    bool abandoned_ = false;
};

class SemaphoreObject : public KernelObject {
public:
    SemaphoreObject(LONG initial, LONG maximum) : count_(initial), maximum_(maximum) {
        SetSignalledLocked(initial > 0); // not shared yet
    }

    AcquireResult AcquireLocked(DWORD) override {
        if (--count_ == 0) {
            SetSignalledLocked(false);
        }
        return AcquireResult::Acquired;
    }

    bool Release(LONG n, LONG* previous) {
        auto lock = LockState();
        if (static_cast<std::int64_t>(count_) + n > maximum_) {
            return false;
        }
        if (previous != nullptr) {
            *previous = count_;
        }
        count_ += n;
        SetSignalledLocked(true);
        return true;
    }

private:
    LONG count_;
    const LONG maximum_;
};

// The named object of kind T, or a new one from `make`. Null with the last error set when the name is
// unusable or held by another kind.
template <class T, class Make>
std::shared_ptr<T> FindOrMake(LPCWSTR name, Make make, bool& existed) {
    existed = false;
    std::u16string key;
    if (!NameKey(name, key)) {
        return nullptr;
    }
    if (key.empty()) {
        return make();
    }
    std::shared_ptr<KernelObject> object = FindOrAddNamed(
        key, [&]() -> std::shared_ptr<KernelObject> { return make(); }, existed);
    if (!object) {
        return nullptr;
    }
    auto typed = std::dynamic_pointer_cast<T>(object);
    if (!typed) {
        SetLastError(ERROR_INVALID_HANDLE);
    }
    return typed;
}

HANDLE Answer(std::shared_ptr<KernelObject> object, bool existed) {
    if (!object) {
        return nullptr;
    }
    HANDLE handle = RegisterKernelObject(std::move(object));
    if (handle != nullptr) {
        SetLastError(existed ? ERROR_ALREADY_EXISTS : ERROR_SUCCESS);
    }
    return handle;
}

template <class T>
HANDLE OpenNamed(LPCWSTR name) {
    std::u16string key;
    if (name == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    if (!NameKey(name, key)) {
        return nullptr;
    }
    if (key.empty()) {
        SetLastError(ERROR_FILE_NOT_FOUND);
        return nullptr;
    }
    bool existed = false;
    std::shared_ptr<KernelObject> object = FindOrAddNamed(
        key,
        []() -> std::shared_ptr<KernelObject> {
            SetLastError(ERROR_FILE_NOT_FOUND);
            return nullptr;
        },
        existed);
    if (!object) {
        return nullptr;
    }
    if (!std::dynamic_pointer_cast<T>(object)) {
        SetLastError(ERROR_INVALID_HANDLE);
        return nullptr;
    }
    return RegisterKernelObject(std::move(object));
}

} // namespace

HANDLE CreateEventW(LPSECURITY_ATTRIBUTES, BOOL manualReset, BOOL initialState, LPCWSTR name) {
    bool existed = false;
    auto event = FindOrMake<EventObject>(
        name, [&] { return std::make_shared<EventObject>(manualReset != FALSE, initialState != FALSE); },
        existed);
    return Answer(std::move(event), existed);
}

HANDLE OpenEventW(DWORD, BOOL, LPCWSTR name) {
    return OpenNamed<EventObject>(name);
}

BOOL SetEvent(HANDLE handle) {
    auto event = LookupKernelObjectAs<EventObject>(handle);
    if (!event) {
        return FALSE;
    }
    event->SetSignalled(true);
    return TRUE;
}

BOOL ResetEvent(HANDLE handle) {
    auto event = LookupKernelObjectAs<EventObject>(handle);
    if (!event) {
        return FALSE;
    }
    event->SetSignalled(false);
    return TRUE;
}

BOOL PulseEvent(HANDLE handle) {
    auto event = LookupKernelObjectAs<EventObject>(handle);
    if (!event) {
        return FALSE;
    }
    event->Pulse();
    return TRUE;
}

HANDLE CreateMutexW(LPSECURITY_ATTRIBUTES, BOOL initialOwner, LPCWSTR name) {
    bool existed = false;
    const DWORD owner = initialOwner ? CurrentTid() : 0;
    if (owner != 0) {
        EnsureThreadEndHook();
    }
    auto mutex = FindOrMake<MutexObject>(
        name, [&] { return std::make_shared<MutexObject>(owner); }, existed);
    if (mutex && !existed) {
        mutex->Watch();
    }
    return Answer(std::move(mutex), existed);
}

HANDLE OpenMutexW(DWORD, BOOL, LPCWSTR name) {
    return OpenNamed<MutexObject>(name);
}

BOOL ReleaseMutex(HANDLE handle) {
    auto mutex = LookupKernelObjectAs<MutexObject>(handle);
    if (!mutex) {
        return FALSE;
    }
    if (!mutex->Release(CurrentTid())) {
        SetLastError(ERROR_NOT_OWNER);
        return FALSE;
    }
    return TRUE;
}

HANDLE CreateSemaphoreW(LPSECURITY_ATTRIBUTES, LONG initialCount, LONG maximumCount, LPCWSTR name) {
    if (maximumCount <= 0 || initialCount < 0 || initialCount > maximumCount) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    bool existed = false;
    auto semaphore = FindOrMake<SemaphoreObject>(
        name, [&] { return std::make_shared<SemaphoreObject>(initialCount, maximumCount); }, existed);
    return Answer(std::move(semaphore), existed);
}

HANDLE OpenSemaphoreW(DWORD, BOOL, LPCWSTR name) {
    return OpenNamed<SemaphoreObject>(name);
}

BOOL ReleaseSemaphore(HANDLE handle, LONG releaseCount, LPLONG previousCount) {
    auto semaphore = LookupKernelObjectAs<SemaphoreObject>(handle);
    if (!semaphore) {
        return FALSE;
    }
    if (releaseCount <= 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    if (!semaphore->Release(releaseCount, previousCount)) {
        SetLastError(ERROR_TOO_MANY_POSTS);
        return FALSE;
    }
    return TRUE;
}
