// Helpers shared by the kernel tests.
#pragma once

#include "platform/kernel/Kernel.h"

#include <chrono>
#include <functional>
#include <memory>
#include <thread>

#include <gtest/gtest.h>

namespace kernel_test {

using Clock = std::chrono::steady_clock; // the monotonic clock

inline std::int64_t MsSince(Clock::time_point start) {
    return std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count();
}

// Starts a layer thread running `body`; answers its handle.
inline HANDLE StartThread(std::function<DWORD()> body, DWORD flags = 0, DWORD* id = nullptr) {
    auto* heap = new std::function<DWORD()>(std::move(body));
    HANDLE thread = CreateThread(
        nullptr, 0,
        [](LPVOID p) -> DWORD {
            std::unique_ptr<std::function<DWORD()>> fn(static_cast<std::function<DWORD()>*>(p));
            return (*fn)();
        },
        heap, flags, id);
    if (thread == nullptr) {
        delete heap;
    }
    return thread;
}

// Waits for a thread handle with a generous limit, so that a fault fails the test instead of hanging it.
inline void Join(HANDLE thread) {
    ASSERT_EQ(WaitForSingleObject(thread, 60'000), static_cast<DWORD>(WAIT_OBJECT_0));
    CloseHandle(thread);
}

// Waits until `n` waits are in progress on the object behind `handle`.
inline bool WaitForWaiters(HANDLE handle, std::size_t n) {
    std::shared_ptr<KernelObject> object = LookupKernelObject(handle);
    const auto start = Clock::now();
    while (MsSince(start) < 60'000) {
        {
            auto lock = KernelObject::LockState();
            if (object->WaiterCountLocked() >= n) {
                return true;
            }
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return false;
}

} // namespace kernel_test
