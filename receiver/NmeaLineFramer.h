// Cuts an NMEA byte stream into lines: CR ends a line, only printable bytes are kept, "$" lines are checked
// (a failed one is delivered empty) and lose their "*hh".
#pragma once

#include "platform/base/CString.h"
#include "platform/base/Win32Types.h"

#include <cstddef>
#include <string>
#include <vector>

class NmeaLineFramer {
public:
    // A line that reaches this many units without a CR is discarded.
    static constexpr std::size_t kMaxLine = 800;

    // Appends every line completed by these bytes to `messages`; a partial line waits for the next call.
    void Feed(const BYTE* data, std::size_t size, std::vector<CString>& messages);
    void Reset() { m_line.clear(); }

private:
    std::u16string m_line;
};

// The printable test the framers apply to one received byte (fixed, whatever the process locale).
bool IsPrintableByte(BYTE byte);
