// Environment variables and the process time zone, set for a scope and put back as they were afterwards.
#pragma once

#include <cstdlib>
#include <ctime>
#include <optional>
#include <string>

namespace testsupport {

class ScopedEnv {
public:
    // A null value unsets the variable.
    ScopedEnv(std::string name, const char* value) : m_name(std::move(name)) {
        if (const char* old = std::getenv(m_name.c_str())) {
            m_old = old;
        }
        if (value) {
            setenv(m_name.c_str(), value, 1);
        } else {
            unsetenv(m_name.c_str());
        }
    }
    ScopedEnv(std::string name, const std::string& value) : ScopedEnv(std::move(name), value.c_str()) {}
    ~ScopedEnv() { Restore(); }
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

    // Puts back the value (or the absence) the variable had before; the destructor then leaves it alone.
    void Restore() {
        if (m_restored) {
            return;
        }
        m_restored = true;
        if (m_old) {
            setenv(m_name.c_str(), m_old->c_str(), 1);
        } else {
            unsetenv(m_name.c_str());
        }
    }

private:
    std::string m_name;
    std::optional<std::string> m_old;
    bool m_restored = false;
};

// TZ for the scope, made current with tzset; afterwards the previous zone is current again.
class ScopedTimeZone {
public:
    explicit ScopedTimeZone(const char* zone) : m_tz("TZ", zone) { tzset(); }
    ~ScopedTimeZone() {
        m_tz.Restore();
        tzset();
    }
    ScopedTimeZone(const ScopedTimeZone&) = delete;
    ScopedTimeZone& operator=(const ScopedTimeZone&) = delete;

private:
    ScopedEnv m_tz;
};

} // namespace testsupport
