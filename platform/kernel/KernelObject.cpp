#include "platform/kernel/KernelObject.h"

#include "platform/kernel/Handles.h"
#include "platform/kernel/KernelDetail.h"
#include "platform/kernel/Threads.h"

#include <algorithm>
#include <cerrno>
#include <ctime>
#include <pthread.h>
#include <sys/eventfd.h>
#include <unistd.h>

namespace kernel_detail {

namespace {

void LockAllForFork() {
    Globals& g = G();
    g.state.lock();
    g.table.lock();
    g.registry.lock();
}

void UnlockAllInParent() {
    Globals& g = G();
    g.registry.unlock();
    g.table.unlock();
    g.state.unlock();
}

void UnlockAllInChild() {
    Globals& g = G();
    g.forkGeneration.fetch_add(1, std::memory_order_relaxed);
    // A child does not share the parent's named objects: names resolve afresh (shared memory through
    // shm_open), and the parent's blocks are not ours to remove.
    g.names.clear();
    g.createdShm.clear();
    g.registry.unlock();
    g.table.unlock();
    g.state.unlock();
}

} // namespace

Globals& G() {
    static Globals* globals = [] {
        auto* made = new Globals;
        pthread_atfork(&LockAllForFork, &UnlockAllInParent, &UnlockAllInChild);
        return made;
    }();
    return *globals;
}

void SignalFd(int fd) {
    const std::uint64_t one = 1;
    while (write(fd, &one, sizeof one) < 0 && errno == EINTR) {
    }
}

void DrainFd(int fd) {
    std::uint64_t value = 0;
    while (read(fd, &value, sizeof value) < 0 && errno == EINTR) {
    }
}

std::int64_t MonotonicNs() {
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return static_cast<std::int64_t>(ts.tv_sec) * 1'000'000'000 + ts.tv_nsec;
}

std::u16string_view StripNamespacePrefix(std::u16string_view name) {
    for (std::u16string_view prefix : {std::u16string_view(u"Global\\"), std::u16string_view(u"Local\\")}) {
        if (name.starts_with(prefix)) {
            name.remove_prefix(prefix.size());
            break;
        }
    }
    return name;
}

bool NameKey(LPCWSTR name, std::u16string& key) {
    key.clear();
    if (name == nullptr) {
        return true;
    }
    const std::u16string_view view = StripNamespacePrefix(name);
    if (view.size() > MAX_PATH) {
        SetLastError(ERROR_FILENAME_EXCED_RANGE);
        return false;
    }
    key.assign(view);
    return true;
}

std::shared_ptr<KernelObject> FindOrAddNamed(const std::u16string& key,
                                             const std::function<std::shared_ptr<KernelObject>()>& make,
                                             bool& existed) {
    Globals& g = G();
    std::lock_guard lock(g.registry);
    if (auto it = g.names.find(key); it != g.names.end()) {
        if (std::shared_ptr<KernelObject> found = it->second.lock()) {
            existed = true;
            return found;
        }
    }
    existed = false;
    std::shared_ptr<KernelObject> made = make();
    if (made) {
        std::erase_if(g.names, [](const auto& entry) { return entry.second.expired(); });
        g.names[key] = made;
    }
    return made;
}

} // namespace kernel_detail

using namespace kernel_detail;

KernelObject::~KernelObject() {
    if (fd_ >= 0) {
        close(fd_);
    }
}

std::unique_lock<std::mutex> KernelObject::LockState() {
    return std::unique_lock(G().state);
}

bool KernelObject::IsSignalledLocked(DWORD) const {
    return signalled_;
}

KernelObject::AcquireResult KernelObject::AcquireLocked(DWORD) {
    return AcquireResult::Acquired;
}

void KernelObject::ThreadEndedLocked(DWORD) {}

void KernelObject::HandleClosed(bool) {}

int KernelObject::PollFdLocked() {
    if (fd_ >= 0 && fdGeneration_ != ForkGeneration()) {
        close(fd_);
        fd_ = -1;
    }
    if (fd_ < 0) {
        fd_ = eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
        if (fd_ < 0) {
            SetLastErrorFromErrno();
            return -1;
        }
        fdGeneration_ = ForkGeneration();
        fdReadable_ = false;
        SyncFdLocked();
    }
    return fd_;
}

void KernelObject::SyncFdLocked() {
    if (fd_ < 0 || fdGeneration_ != ForkGeneration() || fdReadable_ == signalled_) {
        return;
    }
    if (signalled_) {
        SignalFd(fd_);
    } else {
        DrainFd(fd_);
    }
    fdReadable_ = signalled_;
}

void KernelObject::SetSignalledLocked(bool on) {
    signalled_ = on;
    SyncFdLocked();
}

void KernelObject::SetSignalled(bool on) {
    auto lock = LockState();
    SetSignalledLocked(on);
}

bool KernelObject::IsSignalled() const {
    auto lock = LockState();
    return signalled_;
}

void KernelObject::WatchThreadEndsLocked() {
    if (!watchesThreads_) {
        watchesThreads_ = true;
        std::erase_if(G().threadWatchers, [](const auto& w) { return w.expired(); });
        G().threadWatchers.push_back(weak_from_this());
    }
}

void kernel_detail::NotifyThreadEnded(DWORD tid) {
    std::vector<std::shared_ptr<KernelObject>> alive;
    {
        auto lock = KernelObject::LockState();
        for (const auto& watcher : G().threadWatchers) {
            if (std::shared_ptr<KernelObject> object = watcher.lock()) {
                object->ThreadEndedLocked(tid);
                alive.push_back(std::move(object));
            }
        }
    }
    // `alive` drops here, outside the lock, in case it held the last references.
}

// ---- the handle table

namespace {
constexpr std::uintptr_t kCurrentProcess = static_cast<std::uintptr_t>(-1);
constexpr std::uintptr_t kCurrentThread = static_cast<std::uintptr_t>(-2);
} // namespace

HANDLE RegisterKernelObject(std::shared_ptr<KernelObject> object) {
    if (!object) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    Globals& g = G();
    std::lock_guard lock(g.table);
    // Values are never reused, so that a stale handle fails instead of naming a newer object.
    const std::uintptr_t value = g.nextHandle;
    g.nextHandle += 4;
    ++g.objectHandleCounts[object.get()];
    g.handles.emplace(value, std::move(object));
    return reinterpret_cast<HANDLE>(value);
}

std::shared_ptr<KernelObject> LookupKernelObject(HANDLE handle) {
    const auto value = reinterpret_cast<std::uintptr_t>(handle);
    if (value == kCurrentThread) {
        if (std::shared_ptr<KernelObject> self = CurrentThreadObject()) {
            return self;
        }
        SetLastError(ERROR_INVALID_HANDLE);
        return nullptr;
    }
    {
        Globals& g = G();
        std::lock_guard lock(g.table);
        if (auto it = g.handles.find(value); it != g.handles.end()) {
            return it->second;
        }
    }
    SetLastError(ERROR_INVALID_HANDLE);
    return nullptr;
}

BOOL CloseHandle(HANDLE handle) {
    const auto value = reinterpret_cast<std::uintptr_t>(handle);
    if (value == kCurrentThread) {
        return TRUE;
    }
    std::shared_ptr<KernelObject> object;
    bool last = false;
    {
        Globals& g = G();
        std::lock_guard lock(g.table);
        auto it = g.handles.find(value);
        if (it == g.handles.end()) {
            SetLastError(ERROR_INVALID_HANDLE);
            return FALSE;
        }
        object = std::move(it->second);
        g.handles.erase(it);
        auto count = g.objectHandleCounts.find(object.get());
        if (--count->second == 0) {
            g.objectHandleCounts.erase(count);
            last = true;
        }
    }
    object->HandleClosed(last);
    return TRUE;
}

BOOL DuplicateHandle(HANDLE sourceProcess, HANDLE source, HANDLE targetProcess, LPHANDLE target, DWORD, BOOL,
                     DWORD options) {
    if (reinterpret_cast<std::uintptr_t>(sourceProcess) != kCurrentProcess ||
        reinterpret_cast<std::uintptr_t>(targetProcess) != kCurrentProcess) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    std::shared_ptr<KernelObject> object = LookupKernelObject(source);
    if (!object) {
        return FALSE;
    }
    BOOL ok = TRUE;
    if (target != nullptr) {
        *target = RegisterKernelObject(object);
        ok = *target != nullptr;
    }
    if (options & DUPLICATE_CLOSE_SOURCE) {
        CloseHandle(source);
    }
    return ok;
}

HANDLE GetCurrentProcess() {
    return reinterpret_cast<HANDLE>(kCurrentProcess);
}
