// The objects behind HANDLE values. Every waitable kind (events, mutexes, semaphores, threads, and the
// serial ports and message queues built later) derives from KernelObject and is put in the process's handle
// table with RegisterKernelObject.
//
// The signal state of all objects is guarded by one lock (LockState), so that a wait can test several objects
// and take them all at once. Each object owns an eventfd that polls readable exactly while its shared signal
// state is set; waits poll those descriptors together with any raw descriptors the caller adds. A kind adds
// its own behaviour by overriding IsSignalledLocked/AcquireLocked and by calling SetSignalledLocked whenever
// its state changes.
#pragma once

#include "platform/base/LastError.h"
#include "platform/base/Win32Types.h"

#include <memory>
#include <mutex>
#include <vector>

namespace kernel_detail {
struct Waiter;
class WaitEngine;
} // namespace kernel_detail

class KernelObject : public std::enable_shared_from_this<KernelObject> {
public:
    enum class AcquireResult { Acquired, Abandoned };

    KernelObject() = default;
    virtual ~KernelObject();
    KernelObject(const KernelObject&) = delete;
    KernelObject& operator=(const KernelObject&) = delete;

    // The lock over every object's signal state. Hold it around the *Locked calls, and take no other lock of
    // the layer while holding it; never let the last reference to an object drop while holding it.
    static std::unique_lock<std::mutex> LockState();

    // False for kinds that a handle can name but nothing can wait on (file mappings).
    virtual bool IsWaitable() const { return true; }

    // Whether a wait by thread `tid` would be satisfied now. The default answers the shared signal state; an
    // override may answer true more often (a mutex for its owner) but never false while that state is set,
    // or waits would spin on a readable descriptor.
    virtual bool IsSignalledLocked(DWORD tid) const;
    // Takes the object for thread `tid`, right after IsSignalledLocked(tid) answered true under the same hold
    // of the lock. The default consumes nothing, as a manual-reset event; consuming kinds clear their state
    // here.
    virtual AcquireResult AcquireLocked(DWORD tid);
    // Called for kinds that asked with WatchThreadEndsLocked whenever a thread that used the layer ends.
    virtual void ThreadEndedLocked(DWORD tid);
    // Called, outside every lock, each time a handle naming this object is closed; `lastHandle` is true when
    // the handle table no longer names it (waits in progress may still hold it).
    virtual void HandleClosed(bool lastHandle);

    // The descriptor that polls readable while the shared signal state is set; made on first use. Answers -1
    // and sets the last error when it cannot be made.
    int PollFdLocked();

    // How many waits are in progress on the object (for diagnostics and tests).
    std::size_t WaiterCountLocked() const { return waiters_.size(); }

    // The shared signal state, for code that does not already hold the lock.
    void SetSignalled(bool on);
    bool IsSignalled() const;

protected:
    bool SignalledLocked() const { return signalled_; }
    void SetSignalledLocked(bool on);
    // Sets the state for an instant: every thread waiting at this moment that the state satisfies is released
    // (taking the object as its wait would), then the state is cleared. Kinds whose AcquireLocked clears the
    // state so release at most one waiter.
    void PulseLocked();
    // Asks for ThreadEndedLocked calls (mutexes use it to notice owners that ended).
    void WatchThreadEndsLocked();

private:
    friend class kernel_detail::WaitEngine;
    void SyncFdLocked();

    bool signalled_ = false;
    bool fdReadable_ = false;
    bool watchesThreads_ = false;
    int fd_ = -1;
    unsigned fdGeneration_ = 0;
    std::vector<kernel_detail::Waiter*> waiters_;
};

// Puts an object in the handle table and answers its new handle (null with the last error set on failure).
HANDLE RegisterKernelObject(std::shared_ptr<KernelObject> object);

// The object a handle names, including the GetCurrentThread() pseudo-handle; null with ERROR_INVALID_HANDLE
// when the handle names nothing.
std::shared_ptr<KernelObject> LookupKernelObject(HANDLE handle);

// The object a handle names when it is of kind T; null with ERROR_INVALID_HANDLE otherwise.
template <class T>
std::shared_ptr<T> LookupKernelObjectAs(HANDLE handle) {
    std::shared_ptr<T> typed = std::dynamic_pointer_cast<T>(LookupKernelObject(handle));
    if (!typed) {
        SetLastError(ERROR_INVALID_HANDLE);
    }
    return typed;
}
