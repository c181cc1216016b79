#include "app/ClockStep.h"

#include "app/GpsTime.h"
#include "platform/base/TimeConversions.h"
#include "receiver/ReceiverIdentity.h"

#include <algorithm>
#include <cstdlib>

namespace {

// Floor division, so that every total correction gives milliseconds 0..999 and a whole-second shift.
LONGLONG FloorDiv(LONGLONG value, LONGLONG divisor) {
    LONGLONG q = value / divisor;
    if ((value % divisor != 0) && ((value < 0) != (divisor < 0))) {
        --q;
    }
    return q;
}

bool TriggerFires(int mode, const struct tm& rx) {
    switch (mode) {
    case kSyncOnce:
    case kSyncEverySecond:
        return true;
    case kSyncEveryMinute:
        return rx.tm_sec == 0;
    case kSyncEveryHour:
        return rx.tm_sec == 0 && rx.tm_min == 0;
    case kSyncEveryDay:
        return rx.tm_sec == 0 && rx.tm_min == 0 && rx.tm_hour == 0;
    default:
        return false;
    }
}

} // namespace

bool IsOneSecondRuleModel(int receiverModel) {
    return ReceiverModel(receiverModel).Has(kOneSecondRule);
}

ClockStepResult ComputeClockStep(const ClockStepInput& in) {
    ClockStepResult out;
    out.learnedCorrectionMs = in.learnedCorrectionMs;
    out.setClockNow = in.setClockNow;
    struct tm rx {};
    if (!IsReceiverTime(in.rxTime) || !in.rxTime.GetGmtTm(&rx)) {
        return out;
    }
    out.ran = true;

    const int correction = in.correctionMs;
    // Both times are UTC instants, so no time-zone term enters.
    out.pcOffsetMs = (in.pcTime - in.rxTime.GetTime()) * 1000 + in.pcMillis - correction;

    if (in.setClockNow) {
        // Learn the latency between the stamp and the set from the offset that the last set left.
        if (out.pcOffsetMs > 1000 || out.pcOffsetMs < -1000) {
            out.learnedCorrectionMs = 0;
        } else if (out.pcOffsetMs < 0) {
            out.learnedCorrectionMs = std::min(out.learnedCorrectionMs + 1, 999);
        } else if (out.pcOffsetMs > 0) {
            out.learnedCorrectionMs = std::max(out.learnedCorrectionMs - 1, -999);
        }
    }
    out.setClockNow = FALSE;

    const ClockSyncSettings& s = in.settings;
    if (in.tickHandled || s.overrideTraim) {
        if (TriggerFires(s.timeSyncMode, rx)) {
            out.setClockNow = TRUE;
        }
        if (s.deltaSyncOn && std::llabs(out.pcOffsetMs) >= s.deltaThresholdMs) {
            out.setClockNow = TRUE;
        }
    }

    const LONGLONG total = static_cast<LONGLONG>(correction) + out.learnedCorrectionMs;
    LONGLONG shift = FloorDiv(total, 1000);
    const LONGLONG millis = total - 1000 * shift;
    if (total >= 0 && total <= 999 && IsOneSecondRuleModel(in.receiverModel) && correction > 0 &&
        correction < 500 && in.millisSinceStartupStamp >= 0 && in.millisSinceStartupStamp <= 499) {
        shift = -1;
    }
    UnixTimeToSystemTime(in.rxTime.GetTime() + shift, static_cast<int>(millis), &out.systemTimeToSet);

    if (s.maxCorrectionSec > 0 && std::llabs(out.pcOffsetMs / 1000) > s.maxCorrectionSec) {
        out.setClockNow = FALSE;
    }
    out.setClock = out.setClockNow && ((in.tickHandled && !in.outOfLock) || s.overrideIntegrity);

    if (out.learnedCorrectionMs != in.lastShownLatency) {
        out.latencyChanged = true;
        out.latencyText.Format(u"%1.1i", out.learnedCorrectionMs);
    }
    return out;
}

CString FormatClockSetRecord(const SYSTEMTIME& st, LONGLONG pcOffsetMs) {
    CString text;
    text.Format(u"$PQVRT,%04u%02u%02u,%02u%02u%02u.%03u,%lli", st.wYear, st.wMonth, st.wDay, st.wHour,
                st.wMinute, st.wSecond, st.wMilliseconds, static_cast<long long>(pcOffsetMs));
    return text;
}

CString FormatClockSetFailure(const SYSTEMTIME& st, LPCTSTR systemErrorText) {
    __time64_t seconds = 0;
    int millis = 0;
    CString value;
    if (SystemTimeToUnixTime(st, &seconds, &millis)) {
        value = CTime(seconds).FormatGmt(u"%#c");
    }
    CString text = u"Error while trying to set System Time\nValue = \"";
    text += value;
    text += u" UTC\"\nSysErr: ";
    text += systemErrorText ? systemErrorText : u"";
    text += u"\nWARNING - Disabling system clock synchronization.\n\t use Set PC Clock on main menu to "
            u"re-enable.";
    return text;
}

ClockSetReport ReportClockSet(BOOL succeeded, int timeSyncMode, const SYSTEMTIME& systemTime,
                              LONGLONG pcOffsetMs, LPCTSTR systemErrorText) {
    ClockSetReport report;
    if (succeeded) {
        report.clockWasSet = TRUE;
        report.timeSyncMode = timeSyncMode == kSyncOnce ? kSyncOff : timeSyncMode;
        report.logRecord = FormatClockSetRecord(systemTime, pcOffsetMs);
    } else {
        report.timeSyncMode = kSyncOff;
        report.failureMessage = FormatClockSetFailure(systemTime, systemErrorText);
    }
    return report;
}
