#include "receiver/WeekRollover.h"

#include "platform/base/CTime.h"
#include "platform/base/TimeConversions.h"

#include <algorithm>

namespace {

// "Mmm dd yyyy" as the compiler spells the day it ran.
constexpr __time64_t DateFromCompilerText(const char* text) {
    constexpr const char* kMonths = "JanFebMarAprMayJunJulAugSepOctNovDec";
    int month = 1;
    for (int m = 0; m < 12; ++m) {
        if (text[0] == kMonths[3 * m] && text[1] == kMonths[3 * m + 1] && text[2] == kMonths[3 * m + 2]) {
            month = m + 1;
        }
    }
    const int day = (text[4] == ' ' ? 0 : text[4] - '0') * 10 + (text[5] - '0');
    const int year = (text[7] - '0') * 1000 + (text[8] - '0') * 100 + (text[9] - '0') * 10 + (text[10] - '0');
    // Days from 1970-01-01, as DaysFromCivil counts them (constexpr here).
    const int y = month <= 2 ? year - 1 : year;
    const int era = (y >= 0 ? y : y - 399) / 400;
    const int yoe = y - era * 400;
    const int doy = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    const int doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return (static_cast<__time64_t>(era) * 146097 + doe - 719468) * 86400;
}

CString DateText(__time64_t time) {
    return CTime(time).FormatGmt(u"%Y-%m-%d");
}

} // namespace

__time64_t BuildDate() {
    static constexpr __time64_t kBuildDate = DateFromCompilerText(__DATE__);
    return kBuildDate;
}

__time64_t CorrectWeekRollover(__time64_t receiverTime, __time64_t pivot) {
    constexpr __time64_t kRollover = kRolloverWeeks * kSecondsPerWeek;
    const __time64_t earliest = pivot - kRolloverWindowWeeks * kSecondsPerWeek;
    if (receiverTime >= earliest) {
        return receiverTime;
    }
    const __time64_t rollovers = (earliest - receiverTime + kRollover - 1) / kRollover;
    return receiverTime + rollovers * kRollover;
}

__time64_t WeekRolloverCheck::Apply(__time64_t receiverTime, CString& notice) {
    const __time64_t pivot = std::max<__time64_t>(CurrentUtc().seconds, BuildDate());
    const __time64_t corrected = CorrectWeekRollover(receiverTime, pivot);
    const __time64_t shift = corrected - receiverTime;
    if (shift != m_lastShift) {
        m_lastShift = shift;
        if (shift != 0) {
            notice.Format(u"WARNING: receiver date %s taken as %s (GPS week rollover, %lld weeks on)",
                          DateText(receiverTime).GetString(), DateText(corrected).GetString(),
                          static_cast<long long>(shift / kSecondsPerWeek));
        } else {
            notice.Format(u"Receiver date %s taken as it is again", DateText(receiverTime).GetString());
        }
    }
    return corrected;
}
