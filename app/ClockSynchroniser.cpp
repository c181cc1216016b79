#include "app/ClockSynchroniser.h"

#include "app/CGpsNav.h"
#include "app/GpsDataLogger.h"
#include "app/GpsTime.h"
#include "dialogs/CSyncClockDialog.h"
#include "platform/base/LastError.h"
#include "platform/base/TimeConversions.h"
#include "platform/kernel/Handles.h"
#include "platform/kernel/Ticks.h"
#include "platform/system/Privileges.h"
#include "platform/system/SystemTime.h"
#include "receiver/ReceiverState.h"

#include <chrono>
#include <thread>

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

namespace {

constexpr std::int64_t kNsPerMs = 1000000;
constexpr std::int64_t kNsPerSecond = 1000000000;
// An edge older than this is not the one of the tick being handled.
constexpr std::int64_t kMaxEdgeAgeNs = 1500 * kNsPerMs;
// The set waits for a whole millisecond: it counts as reached up to this far past it (a pause may end a
// little late), and the wait is tried a few times at most.
constexpr std::int64_t kAlignToleranceNs = 200000;
constexpr int kMaxAlignPauses = 3;

std::int64_t FloorDiv(std::int64_t value, std::int64_t divisor) {
    std::int64_t q = value / divisor;
    if (value % divisor != 0 && (value < 0) != (divisor < 0)) {
        --q;
    }
    return q;
}

std::int64_t CounterToNs(LONGLONG counter) {
    LARGE_INTEGER frequency{};
    QueryPerformanceFrequency(&frequency);
    const std::int64_t f = frequency.QuadPart > 0 ? frequency.QuadPart : 1;
    return counter / f * kNsPerSecond + counter % f * kNsPerSecond / f;
}

} // namespace

std::int64_t IClockSyncHost::MonotonicNs() {
    LARGE_INTEGER counter{};
    QueryPerformanceCounter(&counter);
    return CounterToNs(counter.QuadPart);
}

void IClockSyncHost::PauseNs(std::int64_t nanoseconds) {
    std::this_thread::sleep_for(std::chrono::nanoseconds(nanoseconds));
}

std::int64_t IClockSyncHost::TickEdgeMonotonicNs() {
    const LONGLONG edge = g_ppsEdgeCounter.load();
    return edge > 0 ? CounterToNs(edge) : 0;
}

ClockSynchroniser::~ClockSynchroniser() {
    if (m_token) {
        CloseHandle(m_token);
    }
}

BOOL ClockSynchroniser::SetClock(std::int64_t referenceNs, CString& systemErrorText) {
    // The token and the privilege's id are looked up once: the clock may be set every second.
    if (!m_token && OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &m_token)) {
        m_havePrivilegeId = LookupPrivilegeValueW(nullptr, u"SeSystemTimePrivilege", &m_privilegeId) != FALSE;
    }
    if (m_token && m_havePrivilegeId) {
        TOKEN_PRIVILEGES privileges{};
        privileges.PrivilegeCount = 1;
        privileges.Privileges[0].Luid = m_privilegeId;
        privileges.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
        // Without the capability this quietly enables nothing, and the set below reports the refusal.
        AdjustTokenPrivileges(m_token, FALSE, &privileges, 0, nullptr, nullptr);
    }
    // The time of the edge, moved on by what has passed since. SYSTEMTIME holds whole milliseconds, so the
    // set waits (less than one, as a rule) until the time to set has just passed a whole one.
    __time64_t seconds = 0;
    int millis = 0;
    if (SystemTimeToUnixTime(m_systemTimeToSet, &seconds, &millis)) {
        const std::int64_t atEdgeNs = seconds * kNsPerSecond + millis * kNsPerMs;
        std::int64_t targetNs = atEdgeNs + (m_host.MonotonicNs() - referenceNs);
        for (int pause = 0; pause < kMaxAlignPauses; ++pause) {
            const std::int64_t pastWholeMs = targetNs - FloorDiv(targetNs, kNsPerMs) * kNsPerMs;
            if (pastWholeMs <= kAlignToleranceNs) {
                break;
            }
            m_host.PauseNs(kNsPerMs - pastWholeMs);
            targetNs = atEdgeNs + (m_host.MonotonicNs() - referenceNs);
        }
        const std::int64_t targetMs = FloorDiv(targetNs, kNsPerMs);
        const std::int64_t targetSeconds = FloorDiv(targetMs, 1000);
        UnixTimeToSystemTime(targetSeconds, static_cast<int>(targetMs - targetSeconds * 1000),
                             &m_systemTimeToSet);
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
    if (m_token) {
        AdjustTokenPrivileges(m_token, TRUE, nullptr, 0, nullptr, nullptr);
    }
    return ok;
}

std::int64_t ClockSynchroniser::ReferenceMoment(std::int64_t startNs) {
    if (m_host.IsTickHandled()) {
        const std::int64_t edgeNs = m_host.TickEdgeMonotonicNs();
        if (edgeNs > 0 && edgeNs <= startNs && startNs - edgeNs < kMaxEdgeAgeNs) {
            return edgeNs;
        }
    }
    return startNs;
}

void ClockSynchroniser::SyncPcClock() {
    const CTime rxTime = m_host.RxTime();
    if (!IsReceiverTime(rxTime)) {
        return;
    }
    // One reading gives the stamp, the whole-second PC time and the PC time at the edge, so that they
    // cannot straddle a second.
    const std::int64_t startNs = m_host.MonotonicNs();
    FILETIME fileTime{};
    GetSystemTimeAsFileTime(&fileTime);
    __time64_t nowSeconds = 0;
    std::int32_t nowNanos = 0;
    FileTimeToUnixTime(fileTime, &nowSeconds, &nowNanos);
    g_ppsTimestamp = nowSeconds * 1000 + nowNanos / kNsPerMs;
    m_host.PcTime() = CTime(nowSeconds);
    const std::int64_t referenceNs = ReferenceMoment(startNs);
    const std::int64_t pcAtReferenceNs = nowSeconds * kNsPerSecond + nowNanos - (startNs - referenceNs);
    const std::int64_t pcAtReferenceMs = FloorDiv(pcAtReferenceNs + kNsPerMs / 2, kNsPerMs);

    const CSyncClockDialog& dialog = m_host.SyncClockDialog();
    ClockStepInput in;
    in.rxTime = rxTime;
    in.pcTime = FloorDiv(pcAtReferenceMs, 1000);
    in.pcMillis = static_cast<int>(pcAtReferenceMs - in.pcTime * 1000);
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
        const BOOL ok = SetClock(referenceNs, systemErrorText);
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
