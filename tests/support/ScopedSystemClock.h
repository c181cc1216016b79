// A system clock installed for a scope; both the clock and the layer's UTC source are put back afterwards.
#pragma once

#include "platform/system/SystemClock.h"

#include <memory>

namespace testsupport {

class ScopedSystemClock {
public:
    explicit ScopedSystemClock(std::shared_ptr<SystemClock> clock)
        : m_previousClock(PeekSystemClock()), m_previousSource(GetCurrentUtcSource()) {
        InstallSystemClock(std::move(clock));
    }
    ~ScopedSystemClock() {
        InstallSystemClock(m_previousClock);
        SetCurrentUtcSource(m_previousSource);
    }
    ScopedSystemClock(const ScopedSystemClock&) = delete;
    ScopedSystemClock& operator=(const ScopedSystemClock&) = delete;

private:
    std::shared_ptr<SystemClock> m_previousClock;
    UtcSource m_previousSource;
};

} // namespace testsupport
