// From the 1PPS tick message to SetSystemTime: the whole handled second on the GUI thread (tick flags, the
// clock step, the privilege, the set, the logging second) against a clock that stands still until moved.
// Every microsecond here is latency between the edge and the set.
#include "app/CGpsNav.h"
#include "app/ClockSynchroniser.h"
#include "app/GpsDataLogger.h"
#include "app/GpsTickHandler.h"
#include "app/GpsTime.h"
#include "dialogs/CLogType.h"
#include "dialogs/CSyncClockDialog.h"
#include "platform/registry/Registry.h"
#include "platform/system/Priority.h"
#include "platform/system/SystemClock.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

namespace {

// The profile of a throw-away directory, before anything reads settings.
const bool g_privateProfile = [] {
    std::string dir = (std::filesystem::temp_directory_path() / "doliva-bench.XXXXXX").string();
    if (mkdtemp(dir.data()) != nullptr) {
        setenv("DOLIVA_CONFIG_DIR", dir.c_str(), 1);
        doliva::registry::DropCachedHives();
    }
    return true;
}();

class BenchView : public IGpsTickHost,
                  public IClockSyncHost,
                  public IGpsLogHost,
                  public IPositionAveragerHost {
public:
    BenchView() : nav(*this), logger(*this), sync(*this, logger), ticks(*this) {}

    BOOL IsClosing() const override { return FALSE; }
    BOOL& TickHandled() override { return tickHandled; }
    BOOL& TickSinceZda() override { return flag; }
    BOOL& TickSinceRmc() override { return flag; }
    BOOL& ZdaSinceTick() override { return flag; }
    BOOL& DecoderTicks() override { return flag; }
    int& HaPrecedenceTicks() override { return precedenceTicks[0]; }
    int& EaPrecedenceTicks() override { return precedenceTicks[1]; }
    const CTime& RxTime() const override { return rxTime; }
    const CTime& PcTime() const override { return pcTime; }
    int GetInterfaceMode() const override { return 6; }
    int GetReceiverModel() const override { return 14; }
    int GetPpsInterface() const override { return 1; }
    BYTE& PpsRate100() override { return rate100; }
    BYTE& PpsRateTicks() override { return rateTicks; }
    BOOL IsSoundOn() const override { return FALSE; }
    BOOL IsSoundOutOfLock() const override { return FALSE; }
    BOOL IsOutOfLock() const override { return FALSE; }
    BOOL IsOverrideTraim() const override { return FALSE; }
    void DecideLogSecondForExtraTick() override { logger.DecideLogSecondForExtraTick(); }
    void SyncPcClock() override { sync.SyncPcClock(); }
    void UpdateClockDisplay() override {}
    void ClearUtcInfoText() override {}
    void UpdateControls() override {}
    BOOL HasRawDataWindow() const override { return FALSE; }
    void AddRawDataLine(const CString&) override {}
    void SendGpsCommand(const CString&) override {}
    void ReopenLogFiles() override { logger.ReopenLogFiles(); }
    void ShowTickIcon() override {}
    void ClearTickIcon() override {}
    void SetViewTimer(UINT, UINT) override {}
    BOOL GetPortCommMask(DWORD&) override { return FALSE; }
    BOOL SetPortCommMask(DWORD) override { return FALSE; }
    void ReleasePpsGate() override {}
    void ReportPpsLineFault(const CString&) override {}
    void PlayTickSound(LPCTSTR) override {}

    CTime& PcTime() override { return pcTime; }
    const CGpsTime& GpsTime() const override { return gpsTime; }
    BOOL IsTickHandled() const override { return tickHandled; }
    int GetStartupStampMillis() const override { return 0; }
    CSyncClockDialog& SyncClockDialog() override { return syncDialog; }
    void ShowLatencyText(const CString&) override {}
    void ShowClockSetFailure(const CString&) override {}
    float GetRxSeconds() const override { return 0.0f; }
    LONG GetGpsUtcOffsetSec() const override { return 18; }
    const CGpsNav& GpsNav() const override { return nav; }
    // The wait for a whole millisecond is the clock's, not work.
    void PauseNs(std::int64_t) override {}

    CLogType& LogType() override { return logType; }
    int GetActiveChannelCount() const override { return 0; }
    void ShowLogFailure(const CString&) override {}
    BOOL ShowLogTypeDialog() override { return FALSE; }
    BOOL ShowLogFileDialog(const LogFileDialogRequest&, CString&) override { return FALSE; }

    bool IsDialogOpen() const override { return false; }
    void ShowControlText(UINT, const CString&) override {}

    BOOL tickHandled = FALSE, flag = FALSE;
    int precedenceTicks[2] = {};
    CTime rxTime{1710072000}; // 2024-03-10 12:00:00 UTC
    CTime pcTime{1710072000};
    CGpsTime gpsTime;
    BYTE rate100 = 0, rateTicks = 0;
    CSyncClockDialog syncDialog;
    CLogType logType;
    CGpsNav nav;
    GpsDataLogger logger;
    ClockSynchroniser sync;
    GpsTickHandler ticks;
};

void BM_TickToSetSystemTime(benchmark::State& state) {
    auto clock = std::make_shared<ManualClock>(UtcInstant{1710072000, 250000000});
    InstallSystemClock(clock);
    // The priority changes are the system's cost, not ours.
    SetProcessNiceSetter([](int) { return true; });
    BenchView view;
    view.syncDialog.m_syncMode = kSyncEverySecond;
    view.sync.ApplySyncSettings();
    for (auto _ : state) {
        view.rxTime += CTimeSpan(1);
        view.tickHandled = FALSE;
        clock->Advance(1000);
        view.ticks.OnGpsTick();
    }
    state.counters["sets"] = static_cast<double>(clock->Sets().size());
    SetProcessNiceSetter({});
    InstallSystemClock(nullptr);
}
BENCHMARK(BM_TickToSetSystemTime);

} // namespace
