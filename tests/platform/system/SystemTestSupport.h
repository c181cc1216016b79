// Fixtures shared by the system tests: clocks, environment variables, time zones and scratch directories,
// each put back as it was afterwards.
#pragma once

#include "platform/system/System.h"
#include "support/ScopedEnvironment.h"
#include "support/ScopedSystemClock.h"
#include "support/TestSupport.h"

#include <cstdlib>
#include <ctime>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

namespace system_test {

using testsupport::ScopedEnv;
using testsupport::ScopedSystemClock;
using testsupport::ScopedTimeZone;

inline bool HaveZone(const std::string& zone) {
    struct stat st {};
    return zone.find('/') == std::string::npos || stat(("/usr/share/zoneinfo/" + zone).c_str(), &st) == 0;
}

// A fresh directory under the launcher's scratch directory (or /tmp when run by hand), removed afterwards.
class ScratchDir {
public:
    ScratchDir() {
        const char* base = std::getenv("DOLIVA_TEST_SCRATCH");
        std::string pattern = std::string(base && *base ? base : "/tmp") + "/system-test-XXXXXX";
        if (mkdtemp(pattern.data())) {
            m_path = pattern;
        }
    }
    ~ScratchDir() {
        if (!m_path.empty()) {
            std::string command = "rm -rf '" + m_path + "'";
            [[maybe_unused]] int rc = std::system(command.c_str());
        }
    }
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;

    const std::string& Path() const { return m_path; }
    std::string operator/(const std::string& name) const { return m_path + "/" + name; }

private:
    std::string m_path;
};

using testsupport::ReadWholeFile;

inline void WriteWholeFile(const std::string& path, const std::string& text) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << text;
}

inline bool Exists(const std::string& path) {
    struct stat st {};
    return stat(path.c_str(), &st) == 0;
}

// UTC instant of a calendar time.
inline UtcInstant Utc(int year, int month, int day, int hour, int minute, int second, int millisecond = 0) {
    return UtcInstant{DaysFromCivil(year, month, day) * 86400 + hour * 3600 + minute * 60 + second,
                      millisecond * 1000000};
}

inline SYSTEMTIME Fields(int year, int month, int day, int hour, int minute, int second,
                         int millisecond = 0) {
    SYSTEMTIME st{};
    st.wYear = static_cast<WORD>(year);
    st.wMonth = static_cast<WORD>(month);
    st.wDay = static_cast<WORD>(day);
    st.wHour = static_cast<WORD>(hour);
    st.wMinute = static_cast<WORD>(minute);
    st.wSecond = static_cast<WORD>(second);
    st.wMilliseconds = static_cast<WORD>(millisecond);
    return st;
}

} // namespace system_test
