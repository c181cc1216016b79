// Helpers of the app tests: UTC instants from fields and a scoped process time zone.
#pragma once

#include "platform/base/CString.h"
#include "platform/base/CTime.h"
#include "platform/base/CodePage.h"
#include "platform/base/TimeConversions.h"

#include <cstdlib>
#include <ctime>
#include <optional>
#include <ostream>
#include <string>

// Failure messages show the text rather than the object's bytes.
inline void PrintTo(const CString& text, std::ostream* os) {
    *os << '"' << Utf16ToUtf8(text.str()) << '"';
}

namespace apptest {

inline std::string Narrow(const CString& text) {
    return Utf16ToUtf8(text.str());
}

inline CTime Utc(int year, int month, int day, int hour = 0, int minute = 0, int second = 0) {
    return CTime(DaysFromCivil(year, month, day) * 86400 + hour * 3600 + minute * 60 + second);
}

// Sets TZ for the scope and restores the previous value (or its absence) afterwards.
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

} // namespace apptest
