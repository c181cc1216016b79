#include "receiver/GpsWeekToDate.h"

#include "platform/base/WideRuntime.h"

void GpsWeekToDate(WORD week, LONG seconds, BYTE* second, BYTE* minute, BYTE* hour, BYTE* day, BYTE* month,
                   WORD* year) {
    static constexpr int kMonthEnds[2][12] = {
        {31, 59, 90, 120, 151, 181, 212, 243, 273, 304, 334, 365},
        {31, 60, 91, 121, 152, 182, 213, 244, 274, 305, 335, 366},
    };
    // Days from 1901-01-01 to 1980-01-06, the start of GPS week 0.
    const long long days = static_cast<long long>(week) * 7 + seconds / 86400 + 28859;
    const long daySeconds = seconds % 86400;
    *hour = static_cast<BYTE>(daySeconds / 3600);
    *minute = static_cast<BYTE>((daySeconds % 3600) / 60);
    *second = static_cast<BYTE>(daySeconds % 60);

    const long long cycles = days / 1461;
    const long long rest = days % 1461;
    const long long yearInCycle = rest / 365 - rest / 1460;
    const long long fullYear = 1901 + 4 * cycles + yearInCycle;
    long long dayOfYear = rest - 365 * yearInCycle + 1;

    const bool leap = (fullYear % 4 == 0 && fullYear % 100 != 0) || fullYear % 400 == 0;
    const int* ends = kMonthEnds[leap ? 1 : 0];
    if (dayOfYear > ends[11]) {
        dayOfYear = ends[11];
    }
    int m = 0;
    while (ends[m] < dayOfYear) {
        ++m;
    }
    *month = static_cast<BYTE>(m + 1);
    *day = static_cast<BYTE>(dayOfYear - (m == 0 ? 0 : ends[m - 1]));
    *year = static_cast<WORD>(fullYear);
}

BOOL IsLoranLine(CString line) {
    line.Trim();
    for (int i = 0; i < line.GetLength(); ++i) {
        if (!iswalnum(line[i])) {
            return FALSE;
        }
    }
    return TRUE;
}
