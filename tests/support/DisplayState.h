// The test thread's display state as a fresh process has it.
#pragma once

#include "platform/display/DisplayBackend.h"
#include "platform/display/MessageApi.h"

namespace testsupport {

// The real clock for message times and timers, and no message left in the thread's queue by an earlier test
// (its window may be gone); posted messages are dropped, not dispatched.
inline void ResetDisplayState() {
    DisplayUseRealClock();
    MSG msg{};
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    }
}

} // namespace testsupport
