// A stand-in for the view around the tick handler, the clock synchroniser and the data logger: it holds the
// view's members, wires the three parts together as the view does, and records what reaches the frame,
// the windows, the receiver and the speaker.
#pragma once

#include "AppTestSupport.h"
#include "app/CGpsNav.h"
#include "app/ClockSynchroniser.h"
#include "app/GpsDataLogger.h"
#include "app/GpsTickHandler.h"
#include "app/GpsTime.h"
#include "dialogs/CLogType.h"
#include "dialogs/CSyncClockDialog.h"
#include "platform/system/SystemClock.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace apptest {

// A ManualClock installed for the scope at a UTC instant with milliseconds.
class ScopedManualClock {
public:
    ScopedManualClock(const CTime& at, int millis)
        : clock(std::make_shared<ManualClock>(UtcInstant{at.GetTime(), millis * 1000000})) {
        InstallSystemClock(clock);
    }
    ~ScopedManualClock() { InstallSystemClock(nullptr); }
    ScopedManualClock(const ScopedManualClock&) = delete;
    ScopedManualClock& operator=(const ScopedManualClock&) = delete;

    // Puts the clock at a UTC instant with milliseconds.
    void Put(const CTime& at, int millis) {
        const UtcInstant now = clock->Now();
        clock->Advance((at.GetTime() - now.seconds) * 1000 + millis - now.nanoseconds / 1000000);
    }

    std::shared_ptr<ManualClock> clock;
};

class FakeTimekeepingView : public IGpsTickHost,
                            public IClockSyncHost,
                            public IGpsLogHost,
                            public IPositionAveragerHost {
public:
    FakeTimekeepingView() : nav(*this), logger(*this), sync(*this, logger), ticks(*this) {}

    // A receiver time message for the coming tick, as the decoders leave it.
    void TimeMessage(const CTime& rx) {
        rxTime = rx;
        rxSeconds = static_cast<float>((rx.GetTime() + 59) % 60);
        gpsTime.SetTime(rx);
        tickHandled = FALSE;
    }

    // --- IGpsTickHost
    BOOL IsClosing() const override { return closing; }
    BOOL& TickHandled() override { return tickHandled; }
    BOOL& TickSinceZda() override { return tickSinceZda; }
    BOOL& TickSinceRmc() override { return tickSinceRmc; }
    BOOL& ZdaSinceTick() override { return zdaSinceTick; }
    BOOL& DecoderTicks() override { return decoderTicks; }
    int& HaPrecedenceTicks() override { return haPrecedenceTicks; }
    int& EaPrecedenceTicks() override { return eaPrecedenceTicks; }
    const CTime& RxTime() const override { return rxTime; }
    const CTime& PcTime() const override { return pcTime; }
    int GetInterfaceMode() const override { return interfaceMode; }
    int GetReceiverModel() const override { return receiverModel; }
    int GetPpsInterface() const override { return ppsInterface; }
    BYTE& PpsRate100() override { return ppsRate100; }
    BYTE& PpsRateTicks() override { return ppsRateTicks; }
    BOOL IsSoundOn() const override { return soundOn; }
    BOOL IsSoundOutOfLock() const override { return soundOutOfLock; }
    BOOL IsOutOfLock() const override { return outOfLock; }
    BOOL IsOverrideTraim() const override { return syncDialog.m_overrideTraim; }
    void DecideLogSecondForExtraTick() override { logger.DecideLogSecondForExtraTick(); }
    void SyncPcClock() override {
        ++syncCalls;
        if (onSync) {
            onSync();
        }
        sync.SyncPcClock();
    }
    void UpdateClockDisplay() override { ++displayUpdates; }
    void ClearUtcInfoText() override { utcInfoText.Empty(); }
    void UpdateControls() override { ++controlUpdates; }
    BOOL HasRawDataWindow() const override { return rawWindow; }
    void AddRawDataLine(const CString& line) override {
        rawLines.push_back(Narrow(line));
        logger.WriteTextLogLine(GpsDataLogger::kRawFile, line);
    }
    void SendGpsCommand(const CString& command) override { sent.push_back(command); }
    void ReopenLogFiles() override {
        ++reopens;
        logger.ReopenLogFiles();
    }
    void ShowTickIcon() override { events.push_back("icon"); }
    void ClearTickIcon() override { events.push_back("idle icon"); }
    void SetViewTimer(UINT id, UINT elapseMs) override {
        events.push_back("timer " + std::to_string(id) + " " + std::to_string(elapseMs));
    }
    BOOL GetPortCommMask(DWORD& mask) override {
        mask = commMask;
        return TRUE;
    }
    BOOL SetPortCommMask(DWORD mask) override {
        commMask = mask;
        return TRUE;
    }
    void ReleasePpsGate() override { ++gateReleases; }
    void ReportPpsLineFault(const CString& text) override { lineFaults.push_back(Narrow(text)); }
    void PlayTickSound(LPCTSTR name) override { sounds.push_back(Narrow(name)); }

    // --- IClockSyncHost
    CTime& PcTime() override { return pcTime; }
    const CGpsTime& GpsTime() const override { return gpsTime; }
    BOOL IsTickHandled() const override { return tickHandled; }
    int GetStartupStampMillis() const override { return startupMillis; }
    CSyncClockDialog& SyncClockDialog() override { return syncDialog; }
    void ShowLatencyText(const CString& text) override { latencyTexts.push_back(Narrow(text)); }
    void ShowClockSetFailure(const CString& text) override { boxes.push_back(Narrow(text)); }
    float GetRxSeconds() const override { return rxSeconds; }
    LONG GetGpsUtcOffsetSec() const override { return gpsUtcOffsetSec; }
    const CGpsNav& GpsNav() const override { return nav; }
    // A monotonic clock that moves only when the test (or a pause) moves it.
    std::int64_t MonotonicNs() override { return monotonicNs; }
    void PauseNs(std::int64_t nanoseconds) override {
        pauses.push_back(nanoseconds);
        monotonicNs += nanoseconds;
    }
    std::int64_t TickEdgeMonotonicNs() override { return tickEdgeNs; }

    // --- IGpsLogHost
    CLogType& LogType() override { return logType; }
    int GetActiveChannelCount() const override { return channels; }
    void ShowLogFailure(const CString& text) override { boxes.push_back(Narrow(text)); }
    BOOL ShowLogTypeDialog() override {
        captions.push_back(Narrow(logType.m_caption));
        return logTypeAnswer;
    }
    BOOL ShowLogFileDialog(const LogFileDialogRequest& request, CString& path) override {
        fileRequests.push_back(request);
        path = chosenPath;
        return fileAnswer;
    }
    CString GetVersionText() const override { return u"Version 2.7.29"; }

    // --- IPositionAveragerHost
    bool IsDialogOpen() const override { return false; }
    void ShowControlText(UINT, const CString&) override {}

    // The view's members.
    BOOL closing = FALSE;
    BOOL tickHandled = FALSE, tickSinceZda = FALSE, tickSinceRmc = FALSE, zdaSinceTick = FALSE,
         decoderTicks = FALSE;
    int haPrecedenceTicks = 0, eaPrecedenceTicks = 0;
    CTime rxTime{kNoReceiverTime};
    CTime pcTime{kNoReceiverTime};
    float rxSeconds = 0.0f;
    CGpsTime gpsTime;
    int interfaceMode = 2;
    int receiverModel = 0;
    int channels = 8;
    int ppsInterface = 1;
    BYTE ppsRate100 = 0;
    BYTE ppsRateTicks = 0;
    BOOL soundOn = TRUE;
    BOOL soundOutOfLock = TRUE;
    BOOL outOfLock = FALSE;
    BOOL rawWindow = FALSE;
    DWORD commMask = 0x1B9;
    int startupMillis = 0;
    LONG gpsUtcOffsetSec = 18;
    // The monotonic clock and the tick's edge on it (0: no edge stamped).
    std::int64_t monotonicNs = 5'000'000'000;
    std::int64_t tickEdgeNs = 0;
    std::vector<std::int64_t> pauses;
    CString utcInfoText = u"UTC Day #070";
    CSyncClockDialog syncDialog;
    CLogType logType;
    BOOL logTypeAnswer = TRUE;
    BOOL fileAnswer = TRUE;
    CString chosenPath;

    // What reached the outside.
    int syncCalls = 0, displayUpdates = 0, controlUpdates = 0, reopens = 0, gateReleases = 0;
    std::vector<std::string> rawLines, events, sounds, latencyTexts, boxes, captions, lineFaults;
    std::vector<CString> sent;
    std::vector<LogFileDialogRequest> fileRequests;
    std::function<void()> onSync;

    // The parts, in the order they depend on each other.
    CGpsNav nav;
    GpsDataLogger logger;
    ClockSynchroniser sync;
    GpsTickHandler ticks;
};

} // namespace apptest
