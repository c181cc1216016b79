#include "platform/kernel/KernelDetail.h"
#include "platform/kernel/Sync.h"

#include <algorithm>
#include <cerrno>
#include <ctime>
#include <poll.h>

using namespace kernel_detail;

namespace {

// Whether any descriptor is ready now; used only by wait-all, which needs handles and descriptors together.
bool AnyFdReadyNow(const pollfd* fds, DWORD fdCount) {
    std::vector<pollfd> copy(fds, fds + fdCount);
    int n;
    do {
        n = poll(copy.data(), copy.size(), 0);
    } while (n < 0 && errno == EINTR);
    return n > 0;
}

} // namespace

std::optional<DWORD> WaitEngine::TrySatisfyLocked(const Waiter& w) {
    if (!w.waitAll) {
        for (DWORD i = 0; i < w.count; ++i) {
            if (w.objects[i]->IsSignalledLocked(w.tid)) {
                const auto taken = w.objects[i]->AcquireLocked(w.tid);
                return (taken == KernelObject::AcquireResult::Abandoned ? WAIT_ABANDONED_0 : WAIT_OBJECT_0) +
                       i;
            }
        }
        return std::nullopt;
    }
    for (DWORD i = 0; i < w.count; ++i) {
        if (!w.objects[i]->IsSignalledLocked(w.tid)) {
            return std::nullopt;
        }
    }
    if (w.fdCount > 0 && !AnyFdReadyNow(w.fds, w.fdCount)) {
        return std::nullopt;
    }
    std::optional<DWORD> abandoned;
    for (DWORD i = 0; i < w.count; ++i) {
        if (w.objects[i]->AcquireLocked(w.tid) == KernelObject::AcquireResult::Abandoned && !abandoned) {
            abandoned = WAIT_ABANDONED_0 + i;
        }
    }
    return abandoned ? *abandoned : static_cast<DWORD>(WAIT_OBJECT_0);
}

void WaitEngine::AddWaiterLocked(KernelObject& object, Waiter* waiter) {
    object.waiters_.push_back(waiter);
}

void WaitEngine::RemoveWaiterLocked(KernelObject& object, Waiter* waiter) {
    std::erase(object.waiters_, waiter);
}

void KernelObject::PulseLocked() {
    // The descriptor is left alone: a poller woken by it would find the state already cleared. The released
    // waiters are handed their result and woken through their own thread's descriptor instead.
    signalled_ = true;
    for (Waiter* waiter : waiters_) {
        if (!signalled_) {
            break;
        }
        if (waiter->granted) {
            continue;
        }
        if (std::optional<DWORD> result = WaitEngine::TrySatisfyLocked(*waiter)) {
            waiter->granted = true;
            waiter->result = *result;
            SignalFd(waiter->wakeFd);
        }
    }
    SetSignalledLocked(false);
}

namespace {

struct WaitSetup {
    std::vector<std::shared_ptr<KernelObject>> holders;
    std::vector<KernelObject*> objects;
};

bool ResolveHandles(DWORD count, const HANDLE* handles, BOOL waitAll, WaitSetup& setup) {
    setup.holders.reserve(count);
    setup.objects.reserve(count);
    for (DWORD i = 0; i < count; ++i) {
        std::shared_ptr<KernelObject> object = LookupKernelObject(handles[i]);
        if (!object || !object->IsWaitable()) {
            SetLastError(ERROR_INVALID_HANDLE);
            return false;
        }
        if (waitAll &&
            std::find(setup.objects.begin(), setup.objects.end(), object.get()) != setup.objects.end()) {
            SetLastError(ERROR_INVALID_PARAMETER);
            return false;
        }
        setup.objects.push_back(object.get());
        setup.holders.push_back(std::move(object));
    }
    return true;
}

timespec ToTimespec(std::int64_t ns) {
    ns = std::max<std::int64_t>(ns, 0);
    return timespec{static_cast<time_t>(ns / 1'000'000'000), static_cast<long>(ns % 1'000'000'000)};
}

} // namespace

DWORD WaitForHandlesAndFds(DWORD count, const HANDLE* handles, DWORD fdCount, pollfd* fds, BOOL waitAll,
                           DWORD milliseconds) {
    if (count > MAXIMUM_WAIT_OBJECTS || (count > 0 && handles == nullptr) ||
        (fdCount > 0 && fds == nullptr) || (count == 0 && fdCount == 0 && milliseconds == INFINITE)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return WAIT_FAILED;
    }
    const std::int64_t deadline =
        milliseconds == INFINITE ? 0 : MonotonicNs() + static_cast<std::int64_t>(milliseconds) * 1'000'000;

    // Declared before any lock is taken so that the references drop after it is released.
    WaitSetup setup;
    if (!ResolveHandles(count, handles, waitAll, setup)) {
        return WAIT_FAILED;
    }

    Waiter waiter;
    waiter.tid = CurrentTid();
    waiter.waitAll = waitAll != FALSE;
    waiter.objects = setup.objects.data();
    waiter.count = count;
    waiter.fds = fds;
    waiter.fdCount = fdCount;
    waiter.wakeFd = CurrentWakeFd();

    std::vector<pollfd> polled;
    polled.reserve(count + fdCount + 1);
    bool registered = false;
    bool timedOut = false;
    int readyFd = -1;

    auto lock = KernelObject::LockState();
    auto finish = [&](DWORD result) {
        if (registered) {
            for (KernelObject* object : setup.objects) {
                WaitEngine::RemoveWaiterLocked(*object, &waiter);
            }
        }
        return result;
    };

    for (;;) {
        // Under the lock: a pulse may have handed us a result, the objects may be ready now, or a descriptor
        // was seen ready by the last poll.
        if (waiter.granted) {
            DrainFd(waiter.wakeFd); // the pulse's wake-up may not have been polled yet
            return finish(waiter.result);
        }
        if (std::optional<DWORD> result = WaitEngine::TrySatisfyLocked(waiter)) {
            return finish(*result);
        }
        if (readyFd >= 0) {
            return finish(WAIT_OBJECT_0 + count + static_cast<DWORD>(readyFd));
        }
        // A zero time-out on handles alone is a plain test: no descriptor or poll needed.
        if (timedOut || (milliseconds == 0 && fdCount == 0)) {
            return finish(static_cast<DWORD>(WAIT_TIMEOUT));
        }
        if (!registered && waiter.wakeFd >= 0) {
            for (KernelObject* object : setup.objects) {
                WaitEngine::AddWaiterLocked(*object, &waiter);
            }
            registered = true;
        }

        // Poll what can make progress. A wait-all leaves out the objects already signalled (their descriptors
        // would keep the poll from sleeping); when all are signalled it is the descriptors it lacks.
        polled.clear();
        bool allSignalled = true;
        for (KernelObject* object : setup.objects) {
            if (waiter.waitAll && object->IsSignalledLocked(waiter.tid)) {
                continue;
            }
            allSignalled = false;
            const int fd = object->PollFdLocked();
            if (fd < 0) {
                return finish(WAIT_FAILED);
            }
            polled.push_back(pollfd{fd, POLLIN, 0});
        }
        const std::size_t firstExtra = polled.size();
        if (!waiter.waitAll || allSignalled) {
            for (DWORD j = 0; j < fdCount; ++j) {
                polled.push_back(pollfd{fds[j].fd, fds[j].events, 0});
            }
        }
        const std::size_t extraEnd = polled.size();
        if (waiter.wakeFd >= 0) {
            polled.push_back(pollfd{waiter.wakeFd, POLLIN, 0});
        }
        lock.unlock();

        timespec remaining{};
        const timespec* timeout = nullptr;
        if (milliseconds != INFINITE) {
            remaining = ToTimespec(deadline - MonotonicNs());
            timeout = &remaining;
        }
        const int n = ppoll(polled.data(), polled.size(), timeout, nullptr);
        const int pollError = errno;
        lock.lock();
        if (n < 0 && pollError != EINTR) {
            SetLastError(Win32ErrorFromErrno(pollError));
            return finish(WAIT_FAILED);
        }
        if (n > 0) {
            if (waiter.wakeFd >= 0 && polled.back().revents != 0) {
                DrainFd(waiter.wakeFd);
            }
            if (!waiter.waitAll) {
                for (std::size_t k = firstExtra; k < extraEnd; ++k) {
                    const DWORD j = static_cast<DWORD>(k - firstExtra);
                    fds[j].revents = polled[k].revents;
                    if (polled[k].revents != 0 && readyFd < 0) {
                        readyFd = static_cast<int>(j);
                    }
                }
            }
        }
        timedOut = milliseconds != INFINITE && MonotonicNs() >= deadline;
    }
}

DWORD WaitForMultipleObjects(DWORD count, const HANDLE* handles, BOOL waitAll, DWORD milliseconds) {
    if (count == 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return WAIT_FAILED;
    }
    return WaitForHandlesAndFds(count, handles, 0, nullptr, waitAll, milliseconds);
}

DWORD WaitForSingleObject(HANDLE handle, DWORD milliseconds) {
    return WaitForHandlesAndFds(1, &handle, 0, nullptr, FALSE, milliseconds);
}

DWORD WaitForSingleObjectEx(HANDLE handle, DWORD milliseconds, BOOL) {
    return WaitForSingleObject(handle, milliseconds);
}

DWORD WaitForMultipleObjectsEx(DWORD count, const HANDLE* handles, BOOL waitAll, DWORD milliseconds, BOOL) {
    return WaitForMultipleObjects(count, handles, waitAll, milliseconds);
}
