// GPS week-number rollover. A receiver that counts the GPS week in 10 bits reports, once the count has
// wrapped, dates 1024 weeks (about 19.6 years) back: an Oncore recorded in 2020 says 2000-08-25. Such a date
// must not reach the PC clock. A receiver date is checked against a pivot, the later of the PC clock and the
// program's build date (a machine without a real-time clock may start in 1970): a date more than 512 weeks
// before the pivot is moved on by 1024 weeks until it is not.
#pragma once

#include "platform/base/CString.h"
#include "platform/base/CTime.h"

constexpr __time64_t kSecondsPerWeek = 7 * 86400;
constexpr __time64_t kRolloverWeeks = 1024;
constexpr __time64_t kRolloverWindowWeeks = 512;

// The program's build date (00:00 UTC of the day it was compiled).
__time64_t BuildDate();
// A receiver's UTC instant moved on by whole rollovers of 1024 weeks until it lies no more than 512 weeks
// before the pivot; a date inside that window, or after it, is left as it is.
__time64_t CorrectWeekRollover(__time64_t receiverTime, __time64_t pivot);

// The check as the decoders run it, once per time they hand over: against the PC clock of the moment and
// the build date. It remembers the correction last applied, so that the raw-data window hears of it once,
// and again only when it changes.
class WeekRolloverCheck {
public:
    // The corrected time; `notice` gets the raw-data line to show, or stays empty.
    __time64_t Apply(__time64_t receiverTime, CString& notice);

private:
    __time64_t m_lastShift = 0;
};
