// Helpers of the app tests: readable CString failures and UTC instants from fields.
#pragma once

#include "platform/base/CString.h"
#include "platform/base/CTime.h"
#include "platform/base/CodePage.h"
#include "platform/base/TimeConversions.h"

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

} // namespace apptest
