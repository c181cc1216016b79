#include "app/ClockSynchroniser.h"

#include "app/CGpsNav.h"
#include "app/GpsDataLogger.h"
#include "app/GpsTime.h"
#include "dialogs/CSyncClockDialog.h"
#include "platform/base/LastError.h"
#include "platform/kernel/Handles.h"
#include "platform/system/Privileges.h"
#include "platform/system/SystemTime.h"
#include "receiver/ReceiverState.h"

ClockSynchroniser::ClockSynchroniser(IClockSyncHost& host, GpsDataLogger& logger)
    : m_host(host), m_logger(logger) {}

void ClockSynchroniser::ApplySyncSettings() {
    const CSyncClockDialog& dialog = m_host.SyncClockDialog();
    m_settings.timeSyncMode =
        dialog.m_syncMode >= kSyncOff && dialog.m_syncMode <= kSyncEveryDay ? dialog.m_syncMode : kSyncOff;
    m_settings.deltaSyncOn = dialog.m_deltaOn;
    m_settings.deltaThresholdMs = dialog.m_deltaMs;
    m_settings.maxCorrectionSec = dialog.GetMaxCorrectionSeconds();
}

BOOL ClockSynchroniser::SetClock(CString& systemErrorText) {
    HANDLE token = nullptr;
    const BOOL haveToken =
        OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &token);
    if (haveToken) {
        TOKEN_PRIVILEGES privileges{};
        if (LookupPrivilegeValueW(nullptr, u"SeSystemTimePrivilege", &privileges.Privileges[0].Luid)) {
            privileges.PrivilegeCount = 1;
            privileges.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
            // Without the capability this quietly enables nothing, and the set below reports the refusal.
            AdjustTokenPrivileges(token, FALSE, &privileges, 0, nullptr, nullptr);
        }
    }
    const BOOL ok = SetSystemTime(&m_systemTimeToSet);
    if (!ok) {
        const DWORD error = GetLastError();
        LPWSTR text = nullptr;
        if (FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_ALLOCATE_BUFFER, nullptr, error, 0,
                           reinterpret_cast<LPWSTR>(&text), 0, nullptr) != 0 &&
            text != nullptr) {
            systemErrorText = text;
        }
        LocalFree(text);
    }
    if (haveToken) {
        AdjustTokenPrivileges(token, TRUE, nullptr, 0, nullptr, nullptr);
        CloseHandle(token);
    }
    return ok;
}

void ClockSynchroniser::SyncPcClock() {
    const CTime rxTime = m_host.RxTime();
    if (!IsReceiverTime(rxTime)) {
        return;
    }
    // One reading gives both the stamp and the whole-second PC time, so they cannot straddle a second.
    _timeb stamp{};
    _ftime(&stamp);
    g_ppsTimestamp = static_cast<std::int64_t>(stamp.time) * 1000 + stamp.millitm;
    m_host.PcTime() = CTime(stamp.time);

    const CSyncClockDialog& dialog = m_host.SyncClockDialog();
    ClockStepInput in;
    in.rxTime = rxTime;
    in.pcTime = stamp.time;
    in.pcMillis = stamp.millitm;
    in.correctionMs = m_host.GpsTime().GetCorrection();
    in.learnedCorrectionMs = m_learnedCorrectionMs;
    in.setClockNow = m_setClockNow;
    in.tickHandled = m_host.IsTickHandled();
    in.outOfLock = m_host.IsOutOfLock();
    in.settings = m_settings;
    in.settings.overrideTraim = dialog.m_overrideTraim;
    in.settings.overrideIntegrity = dialog.m_overrideIntegrity;
    in.receiverModel = m_host.GetReceiverModel();
    _timeb fresh{};
    _ftime(&fresh);
    in.millisSinceStartupStamp = static_cast<int>(fresh.millitm) - m_host.GetStartupStampMillis();
    in.lastShownLatency = m_lastShownLatency;

    const ClockStepResult out = ComputeClockStep(in);
    m_pcOffsetMs = out.pcOffsetMs;
    m_learnedCorrectionMs = out.learnedCorrectionMs;
    m_setClockNow = out.setClockNow;
    m_systemTimeToSet = out.systemTimeToSet;

    if (out.setClock) {
        CString systemErrorText;
        const BOOL ok = SetClock(systemErrorText);
        const ClockSetReport report =
            ReportClockSet(ok, m_settings.timeSyncMode, m_systemTimeToSet, m_pcOffsetMs, systemErrorText);
        if (report.timeSyncMode != m_settings.timeSyncMode) {
            m_settings.timeSyncMode = report.timeSyncMode;
            m_host.SyncClockDialog().m_syncMode = report.timeSyncMode;
        }
        if (ok) {
            m_clockWasSet = TRUE;
            // Still the previous step's logging second.
            m_logger.WriteTextLogLine(GpsDataLogger::kNmeaFile, report.logRecord);
        } else {
            // Synchronisation is already off when the box's message loop runs.
            m_host.ShowClockSetFailure(report.failureMessage);
        }
    }

    if (out.latencyChanged) {
        m_lastShownLatency = m_learnedCorrectionMs;
        m_latencyText = out.latencyText;
        m_host.ShowLatencyText(m_latencyText);
    }

    struct tm rx {};
    m_logger.DecideLogSecond(rxTime.GetGmtTm(&rx) ? rx.tm_sec : 0, m_host.GetGpsUtcOffsetSec());
    m_logger.WritePositionRecord(rxTime, m_host.GetRxSeconds(), m_host.GpsNav());
}
