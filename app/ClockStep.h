// The once-a-second PC clock-setting step as a function of what the view measured and holds: it answers
// the offset, the learned latency correction, whether to set the clock and the SYSTEMTIME to set. The view
// performs the set and then asks ReportClockSet what follows from its outcome.
#pragma once

#include "platform/base/CString.h"
#include "platform/base/CTime.h"
#include "platform/base/Win32Types.h"

// Time Sync Mode values; any other stored value counts as off.
enum TimeSyncMode {
    kSyncOff = 0,
    kSyncOnce = 1,
    kSyncEverySecond = 2,
    kSyncEveryMinute = 3,
    kSyncEveryHour = 4,
    kSyncEveryDay = 5
};

struct ClockSyncSettings {
    int timeSyncMode = kSyncOff;
    BOOL deltaSyncOn = FALSE;
    LONGLONG deltaThresholdMs = 100;
    // 0 = no limit.
    LONGLONG maxCorrectionSec = 0;
    // Evaluate the triggers without a handled 1PPS tick / set the clock without a tick or out of lock.
    BOOL overrideTraim = FALSE;
    BOOL overrideIntegrity = FALSE;
};

struct ClockStepInput {
    // The receiver's UTC instant of the tick; kNoReceiverTime (any time before 1970) skips the step.
    CTime rxTime;
    // The PC's UTC time stamped at the start of the step, whole seconds and milliseconds.
    __time64_t pcTime = 0;
    int pcMillis = 0;
    // CGpsTime::GetCorrection.
    int correctionMs = 0;
    int learnedCorrectionMs = 0;
    // The previous step's decision to set the clock (whether or not the set then ran).
    BOOL setClockNow = FALSE;
    BOOL tickHandled = FALSE;
    BOOL outOfLock = FALSE;
    ClockSyncSettings settings;
    // For the one-second rule: the receiver model code and the milliseconds of a fresh stamp minus those of
    // the start-up stamp.
    int receiverModel = 0;
    int millisSinceStartupStamp = 0;
    // The learned correction last shown.
    int lastShownLatency = 0;
};

struct ClockStepResult {
    // False when there was no receiver time: nothing else changed.
    bool ran = false;
    // Positive when the PC is ahead.
    LONGLONG pcOffsetMs = 0;
    int learnedCorrectionMs = 0;
    // The new m_setClockNow.
    BOOL setClockNow = FALSE;
    // Call SetSystemTime(systemTimeToSet) now.
    bool setClock = false;
    SYSTEMTIME systemTimeToSet{};
    // The learned correction changed since it was last shown: show latencyText ("%1.1i").
    bool latencyChanged = false;
    CString latencyText;
};

ClockStepResult ComputeClockStep(const ClockStepInput& input);

// The receiver models whose set time may be taken one second earlier (the one-second rule).
bool IsOneSecondRuleModel(int receiverModel);

struct ClockSetReport {
    BOOL clockWasSet = FALSE;
    // The mode afterwards, for the view and the clock-sync dialog alike ("once" is used up by a success,
    // a failure switches synchronisation off).
    int timeSyncMode = kSyncOff;
    // On success: the "$PQVRT" record for the text log (written only while the log and the logging second
    // allow). On failure: the exclamation box's text.
    CString logRecord;
    CString failureMessage;
};

ClockSetReport ReportClockSet(BOOL succeeded, int timeSyncMode, const SYSTEMTIME& systemTime,
                              LONGLONG pcOffsetMs, LPCTSTR systemErrorText);
CString FormatClockSetRecord(const SYSTEMTIME& systemTime, LONGLONG pcOffsetMs);
CString FormatClockSetFailure(const SYSTEMTIME& systemTime, LPCTSTR systemErrorText);
