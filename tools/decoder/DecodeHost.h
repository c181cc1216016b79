// The view as the decoding-speed tool needs it: the three decoders over a view that keeps the state the
// decoders read and write, updates no display, and hands each line the raw-data window would show to a
// sink while that window is "open".
#pragma once

#include "receiver/GpsCommandSender.h"
#include "receiver/NmeaDecoder.h"
#include "receiver/OncoreDecoder.h"
#include "receiver/OncoreView.h"
#include "receiver/ReceiverEvents.h"
#include "receiver/UbxDecoder.h"

#include <functional>

class DecodeHost : public OncoreView, public GpsSendHost, public ReceiverEvents {
public:
    // `rawLine` receives every raw-data line; null: the window is closed and nothing asks for the texts.
    explicit DecodeHost(std::function<void(const CString&)> rawLine);

    // GpsSendHost
    CString DecodeOncoreMessage(const CString& message) override;
    BOOL DecodeNmeaSentence(const CString& sentence) override;
    CString DecodeUbxMessage(const CString& frame) override;
    void AddRawDataLine(const CString& line) override;
    void AddIdText(const CString&) override {}
    void UpdateViewWindow() override {}
    void PumpPendingMessages() override {}
    BOOL UbxUploadRunning() override { return FALSE; }
    void SetChannelCounts(int channels) override { m_activeChannels = channels; }
    void SetHasDgps(BOOL) override {}
    void SetHasTraim(BOOL) override {}

    // ReceiverEvents
    void PostGpsDataQueued() override {}
    void PostPpsTick() override {}
    void ShowLinkError(const CString& text) override { AddRawDataLine(text); }

    // DecoderView
    CTime& RxTime() override { return m_rxTime; }
    float& RxSeconds() override { return m_rxSeconds; }
    BOOL& TickHandled() override { return m_tickHandled; }
    BOOL& TickSinceZda() override { return m_tickSinceZda; }
    BOOL& TickSinceRmc() override { return m_tickSinceRmc; }
    BOOL& ZdaSinceTick() override { return m_zdaSinceTick; }
    BOOL& DecoderTicks() override { return m_decoderTicks; }
    int& DgpsStatus() override { return m_dgpsStatus; }
    LONG& GpsUtcOffsetSec() override { return m_gpsUtcOffsetSec; }
    int& LeapSecondPending() override { return m_leapSecondPending; }
    int& NtpLeapIndicator() override { return m_ntpLeapIndicator; }
    SatelliteChannelTable& SatTable() override { return m_table; }
    BOOL IsRawWindowShown() const override { return m_rawLine ? TRUE : FALSE; }
    BOOL IsLogSecond() const override { return FALSE; }
    int GetTimeZoneBiasMin() const override { return 0; }
    BOOL IsGpsRxOnLocalTime() const override { return FALSE; }
    int GetReceiverModel() const override { return m_model; }
    float GetFirmwareVersion() const override { return m_firmwareVersion; }
    int GetGpsTimeYear() const override { return 2024; }
    int GetGpsTimeMonth() const override { return 6; }
    void SyncPcClock() override {}
    void UpdateClockDisplay() override {}
    void UpdateControls() override {}
    void UpdateSatsGrid() override {}
    void UpdatePositionText(double, double, double, double) override {}
    void WriteBinaryLogMessage(const CString&) override {}
    void WritePvtLogLine(const CString&) override {}
    void GpsNavSetFixQuality(int) override {}
    void GpsNavSetTrackedCount(int) override {}
    void GpsNavSetFixType(int fixType) override { m_fixType = fixType; }
    int GpsNavGetFixType() const override { return m_fixType; }
    void GpsNavSetDops(double, double, double, double, double) override {}
    void GpsNavSetSpeed(double) override {}
    void GpsNavSetHeading(double) override {}
    void SetSatsGridCellText(int, int, const CString&) override {}
    BOOL HasRxIdDialog() const override { return FALSE; }
    void RxIdSetText(const CString&) override {}
    void RxIdAddText(const CString&) override {}
    void SetAntennaStatus(int) override {}
    void SetReceiverModeStatus(int) override {}
    WeekRolloverCheck& RolloverCheck() override { return m_rolloverCheck; }

    // OncoreView
    float& RxSecondFraction() override { return m_rxSecondFraction; }
    int& HaPrecedenceTicks() override { return m_haPrecedenceTicks; }
    int& EaPrecedenceTicks() override { return m_eaPrecedenceTicks; }
    int& AntennaStatus() override { return m_antennaStatus; }
    BOOL& ShowTraimStatusOnce() override { return m_showTraimStatusOnce; }
    BOOL& OnePpsPulseMode() override { return m_onePpsPulseMode; }
    int GetGpsTimeDay() const override { return 15; }
    int GetActiveChannels() const override { return m_activeChannels; }
    void SetReceiverModel(int model) override { m_model = model; }
    void SetFirmwareVersion(float version) override { m_firmwareVersion = version; }
    void SetVersionText(const CString&) override {}
    void SetReceiverPlusModel(BOOL) override {}
    void SetViewTimer(UINT, UINT) override {}
    void KillViewTimer(UINT) override {}
    void StampStartupTime() override {}
    void SendGpsCommand(const CString&) override {}
    BOOL GetPortCommMask(DWORD&) override { return FALSE; }
    BOOL SetPortCommMask(DWORD) override { return FALSE; }
    double GetGeoidSeparation(double, double) const override { return 0.0; }
    CString GetMonthName(int) const override { return CString(); }
    CString GpsNavFormatDops() const override { return CString(); }
    void GpsTimeSetEpochOffset(LONG) override {}
    LONG GpsTimeGetEpochOffset() const override { return 0; }
    void GpsTimeSetPpsOffset(ULONG) override {}
    ULONG GpsTimeGetPpsOffset() const override { return 0; }
    void GpsTimeSetCableDelay(ULONG) override {}
    ULONG GpsTimeGetCableDelay() const override { return 0; }

private:
    std::function<void(const CString&)> m_rawLine;
    OncoreDecoder m_oncore{*this};
    NmeaDecoder m_nmea{*this};
    UbxDecoder m_ubx{*this};

    CTime m_rxTime{-1};
    float m_rxSeconds = 0, m_rxSecondFraction = 0;
    BOOL m_tickHandled = TRUE, m_tickSinceZda = TRUE, m_tickSinceRmc = TRUE, m_zdaSinceTick = FALSE;
    BOOL m_decoderTicks = FALSE, m_showTraimStatusOnce = FALSE, m_onePpsPulseMode = TRUE;
    int m_dgpsStatus = 0, m_leapSecondPending = -1, m_ntpLeapIndicator = 0, m_fixType = 0;
    LONG m_gpsUtcOffsetSec = 0;
    SatelliteChannelTable m_table{};
    int m_model = 0, m_activeChannels = 8;
    float m_firmwareVersion = 0;
    int m_haPrecedenceTicks = 0, m_eaPrecedenceTicks = 0, m_antennaStatus = 0;
    WeekRolloverCheck m_rolloverCheck;
};
