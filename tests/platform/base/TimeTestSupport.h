// Fixtures for the time tests: a process time zone and a fixed clock, both restored afterwards.
#pragma once

#include "platform/base/TimeConversions.h"

#include <cstdlib>
#include <ctime>
#include <optional>
#include <string>

class ScopedTimeZone {
public:
    explicit ScopedTimeZone(const char* zone) {
        if (const char* old = std::getenv("TZ")) {
            m_old = old;
        }
        setenv("TZ", zone, 1);
        tzset();
    }
    ~ScopedTimeZone() {
        if (m_old) {
            setenv("TZ", m_old->c_str(), 1);
        } else {
            unsetenv("TZ");
        }
        tzset();
    }
    ScopedTimeZone(const ScopedTimeZone&) = delete;
    ScopedTimeZone& operator=(const ScopedTimeZone&) = delete;

private:
    std::optional<std::string> m_old;
};

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
