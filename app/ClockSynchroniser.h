// The work of CPex32View::SyncPcClock: once per second, from the tick handler after a handled 1PPS edge or
// from a decoder that drives the second itself. It stamps the PC clock, lets ComputeClockStep measure the
// offset and decide, sets the clock under the system-time privilege, logs or reports the outcome, shows the
// learned latency and decides the logging second.
//
// The receiver's time belongs to the 1PPS edge, which the PC acts on some milliseconds later. The step
// therefore measures the PC clock as it stood at the edge (the PC's time now, less the time since the edge
// on the monotonic clock), and sets the clock to the receiver's time plus the time since the edge at the
// moment of the set. The learned correction is left with what remains: the set's own latency.
#pragma once

#include "app/ClockStep.h"
#include "platform/base/CString.h"
#include "platform/base/CTime.h"
#include "platform/base/Win32Types.h"
#include "platform/system/Privileges.h"

#include <cstdint>

class CGpsTime;
class CGpsNav;
class CSyncClockDialog;
class GpsDataLogger;

// What the clock setting needs of the view.
class IClockSyncHost {
public:
    virtual ~IClockSyncHost() = default;
    // m_rxTime (the receiver's UTC of the tick) and m_pcTime (written here: the PC's time of the step).
    virtual const CTime& RxTime() const = 0;
    virtual CTime& PcTime() = 0;
    // m_gpsTime: its correction.
    virtual const CGpsTime& GpsTime() const = 0;
    virtual BOOL IsTickHandled() const = 0;
    virtual BOOL IsOutOfLock() const = 0;
    virtual int GetReceiverModel() const = 0;
    // The milliseconds of m_startupTimestamp.
    virtual int GetStartupStampMillis() const = 0;
    // m_syncClockDialog: the settings ApplySyncSettings copies, the two overrides read live, and its mode,
    // which follows the view's.
    virtual CSyncClockDialog& SyncClockDialog() = 0;
    // m_latencyText into control 1013.
    virtual void ShowLatencyText(const CString& text) = 0;
    // The exclamation box of a failed set.
    virtual void ShowClockSetFailure(const CString& text) = 0;
    // For the "$PQVRA" record and the logging second.
    virtual float GetRxSeconds() const = 0;
    virtual LONG GetGpsUtcOffsetSec() const = 0;
    virtual const CGpsNav& GpsNav() const = 0;

    // The monotonic clock (the performance counter) in nanoseconds, a pause on it, and its reading at the
    // 1PPS edge of the tick being handled (0 when none: g_ppsEdgeCounter). The view leaves all three to
    // the system and the receive thread.
    virtual std::int64_t MonotonicNs();
    virtual void PauseNs(std::int64_t nanoseconds);
    virtual std::int64_t TickEdgeMonotonicNs();
};

class ClockSynchroniser {
public:
    ClockSynchroniser(IClockSyncHost& host, GpsDataLogger& logger);
    ~ClockSynchroniser();
    ClockSynchroniser(const ClockSynchroniser&) = delete;
    ClockSynchroniser& operator=(const ClockSynchroniser&) = delete;

    // Copies mode (0..5, anything else off), delta switch and threshold, and the maximum correction from
    // the clock-sync dialog.
    void ApplySyncSettings();
    void SyncPcClock();

    int GetTimeSyncMode() const { return m_settings.timeSyncMode; }
    const ClockSyncSettings& Settings() const { return m_settings; }
    // Positive when the PC is ahead.
    LONGLONG GetPcOffsetMs() const { return m_pcOffsetMs; }
    BOOL& ClockWasSet() { return m_clockWasSet; }
    BOOL IsSetClockNow() const { return m_setClockNow; }
    const SYSTEMTIME& GetSystemTimeToSet() const { return m_systemTimeToSet; }
    int GetLearnedCorrectionMs() const { return m_learnedCorrectionMs; }
    const CString& GetLatencyText() const { return m_latencyText; }

private:
    // SetSystemTime with the privilege raised for the call, m_systemTimeToSet moved on by the time since the
    // reference moment; FALSE with the system's text on failure.
    BOOL SetClock(std::int64_t referenceNs, CString& systemErrorText);
    // The step's reference moment on the monotonic clock: the tick's edge, or the step's start.
    std::int64_t ReferenceMoment(std::int64_t startNs);

    IClockSyncHost& m_host;
    GpsDataLogger& m_logger;
    ClockSyncSettings m_settings;
    LONGLONG m_pcOffsetMs = 0;
    BOOL m_setClockNow = FALSE;
    BOOL m_clockWasSet = FALSE;
    SYSTEMTIME m_systemTimeToSet{};
    int m_learnedCorrectionMs = 0;
    int m_lastShownLatency = 0;
    CString m_latencyText;
    // The process token, opened at the first set and kept, and the system-time privilege's id.
    HANDLE m_token = nullptr;
    LUID m_privilegeId{};
    bool m_havePrivilegeId = false;
};
