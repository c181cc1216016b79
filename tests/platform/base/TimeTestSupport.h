// Fixtures for the time tests: a process time zone and a fixed clock, both restored afterwards.
#pragma once

#include "platform/base/TimeConversions.h"
#include "support/ScopedEnvironment.h"

#include <cstdint>
#include <utility>

using testsupport::ScopedTimeZone;

// POSIX rules, so that the tests need no zone database.
inline constexpr const char* kNewYorkZone = "EST5EDT,M3.2.0,M11.1.0";
inline constexpr const char* kBerlinZone = "CET-1CEST,M3.5.0,M10.5.0/3";

class ScopedFixedClock {
public:
    explicit ScopedFixedClock(std::int64_t seconds, std::int32_t nanoseconds = 0)
        : m_previous(GetCurrentUtcSource()) {
        SetCurrentUtcSource([seconds, nanoseconds] { return UtcInstant{seconds, nanoseconds}; });
    }
    ~ScopedFixedClock() { SetCurrentUtcSource(std::move(m_previous)); }
    ScopedFixedClock(const ScopedFixedClock&) = delete;
    ScopedFixedClock& operator=(const ScopedFixedClock&) = delete;

private:
    UtcSource m_previous;
};
