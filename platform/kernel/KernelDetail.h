// Shared internals of the kernel objects; not for code outside platform/kernel.
#pragma once

#include "platform/kernel/KernelObject.h"

#include <atomic>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

struct pollfd;

namespace kernel_detail {

struct HandleEntry {
    std::shared_ptr<KernelObject> object;
};

struct View {
    std::shared_ptr<KernelObject> mapping;
    std::size_t length = 0;
};

// Process-wide state. Never destroyed, so that threads still running while the process exits find it intact.
// Locks are never nested, which keeps the fork handlers (that take them all) free of ordering problems.
struct Globals {
    std::mutex state; // every object's signal state and waiter list

    std::mutex table; // handles, objectHandleCounts, nextHandle
    std::unordered_map<std::uintptr_t, std::shared_ptr<KernelObject>> handles;
    std::unordered_map<const KernelObject*, std::size_t> objectHandleCounts;
    std::uintptr_t nextHandle = 0x1000;

    std::mutex registry; // names, views, createdShm
    std::unordered_map<std::u16string, std::weak_ptr<KernelObject>> names;
    std::map<std::uintptr_t, View> views;
    std::set<std::string> createdShm;

    // Guarded by `state`.
    std::vector<std::weak_ptr<KernelObject>> threadWatchers;

    // Bumped in a forked child: descriptors made before are shared with the parent and must be remade.
    std::atomic<unsigned> forkGeneration{1};
};

Globals& G();
inline unsigned ForkGeneration() {
    return G().forkGeneration.load(std::memory_order_relaxed);
}

// One thread's wait in progress, listed on every object it waits on so that PulseLocked can release it.
struct Waiter {
    DWORD tid = 0;
    bool waitAll = false;
    KernelObject* const* objects = nullptr;
    DWORD count = 0;
    const pollfd* fds = nullptr;
    DWORD fdCount = 0;
    int wakeFd = -1;
    bool granted = false;
    DWORD result = 0;
};

class WaitEngine {
public:
    // Satisfies the wait if it can, taking the objects; answers the WAIT_* result. State lock held.
    static std::optional<DWORD> TrySatisfyLocked(const Waiter& waiter);
    static void AddWaiterLocked(KernelObject& object, Waiter* waiter);
    static void RemoveWaiterLocked(KernelObject& object, Waiter* waiter);
};

// The calling thread's Linux id, cached.
DWORD CurrentTid();
// The calling thread's wake-up eventfd (for pulses); -1 once the thread is ending or if it cannot be made.
int CurrentWakeFd();
// The calling thread's own object, made on first use for threads the layer did not start.
std::shared_ptr<KernelObject> CurrentThreadObject();
// Makes sure the calling thread tells the watchers when it ends.
void EnsureThreadEndHook();
// Tells the watchers that `tid` ended.
void NotifyThreadEnded(DWORD tid);

// A name without its "Global\" or "Local\" prefix.
std::u16string_view StripNamespacePrefix(std::u16string_view name);

// The key in the process-local namespace of named objects: the name without a "Global\" or "Local\" prefix.
// Answers false with the last error set for names that are too long; an empty key means unnamed.
bool NameKey(LPCWSTR name, std::u16string& key);

// The object registered under `key`, or the one `make` answers (registered in its place). `make` runs under
// the registry lock, so it must not take another lock of the layer; it answers null with the last error set
// to fail. `existed` tells which happened.
std::shared_ptr<KernelObject> FindOrAddNamed(const std::u16string& key,
                                             const std::function<std::shared_ptr<KernelObject>()>& make,
                                             bool& existed);

// Writes to an eventfd so that a poller wakes; reads to empty it.
void SignalFd(int fd);
void DrainFd(int fd);

// Monotonic clock in nanoseconds.
std::int64_t MonotonicNs();

} // namespace kernel_detail
