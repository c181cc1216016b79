// A recording stand-in for the view the Motorola binary decoder talks to, and a builder of its messages.
#pragma once

#include "platform/base/CString.h"
#include "receiver/OncoreDecoder.h"
#include "receiver/OncoreView.h"
#include "tests/receiver/DecoderTestSupport.h"

#include <functional>
#include <map>
#include <string>
#include <utility>
#include <vector>

namespace oncore_test {

using decoder_test::Narrow;
using decoder_test::Position;
using decoder_test::Utc;

// "@@" + id + payload, `units` long (the framer's length minus checksum, CR and LF); numbers big-endian.
class OncoreBuilder {
public:
    OncoreBuilder(const char* id, int units) : m_units(static_cast<std::size_t>(units), u'\0') {
        m_units[0] = m_units[1] = u'@';
        m_units[2] = static_cast<char16_t>(id[0]);
        m_units[3] = static_cast<char16_t>(id[1]);
    }
    OncoreBuilder& Put(int at, long long value, int width) {
        for (int i = 0; i < width; ++i) {
            m_units.at(static_cast<std::size_t>(at + i)) = static_cast<char16_t>(
                (static_cast<unsigned long long>(value) >> (8 * (width - 1 - i))) & 0xFF);
        }
        return *this;
    }
    OncoreBuilder& Text(int at, const std::string& text) {
        for (std::size_t i = 0; i < text.size(); ++i) {
            m_units.at(at + i) = static_cast<unsigned char>(text[i]);
        }
        return *this;
    }
    CString Message() const { return CString(m_units); }
    operator CString() const { return Message(); }

private:
    std::u16string m_units;
};

struct TimerCall {
    bool armed; // false: killed
    UINT id;
    UINT elapse;
    friend bool operator==(const TimerCall&, const TimerCall&) = default;
};

class RecordingOncoreView : public OncoreView {
public:
    RecordingOncoreView() { table.fill(SatelliteChannelTables::m_emptySatRow); }

    // State.
    CTime rxTime{-1};
    float rxSeconds = 0.0f, rxSecondFraction = 0.0f;
    BOOL tickHandled = TRUE, tickSinceZda = FALSE, tickSinceRmc = FALSE, zdaSinceTick = FALSE,
         decoderTicks = FALSE;
    int dgpsStatus = 0;
    LONG gpsUtcOffsetSec = 0;
    int leapSecondPending = -1, ntpLeapIndicator = 0;
    SatelliteChannelTable table;
    BOOL rawWindowShown = FALSE, logSecond = FALSE;
    int timeZoneBiasMin = 0;
    BOOL gpsRxOnLocalTime = FALSE;
    int model = 0;
    float firmwareVersion = 0.0f;
    CString versionText;
    BOOL plusModel = FALSE;
    int activeChannels = 8;
    int gpsYear = 2021, gpsMonth = 2, gpsDay = 15;
    BOOL rxIdDialog = TRUE;
    int fixType = 0;
    int haPrecedenceTicks = 0, eaPrecedenceTicks = 0, antennaStatus = 0;
    BOOL showTraimStatusOnce = TRUE, onePpsPulseMode = TRUE;
    bool portOpen = true;
    DWORD commMask = 0x01;
    LONG epochOffset = 0;
    ULONG ppsOffset = 0, cableDelay = 0;
    double geoidSeparation = 40.0;
    CString dopsText = u"<dops>";

    // What was called.
    std::vector<__time64_t> clockSyncs;
    int clockDisplays = 0, gridRefreshes = 0, startupStamps = 0;
    std::vector<Position> positions;
    std::vector<std::u16string> binaryLog, pvtLines, rxIdSet, rxIdAdded, sent;
    std::map<std::pair<int, int>, std::u16string> cells;
    std::vector<int> antenna, receiverMode, fixQualities, trackedCounts, fixTypes;
    std::vector<std::vector<double>> dops;
    std::vector<double> speeds, headings;
    std::vector<TimerCall> timers;
    std::vector<DWORD> commMaskWrites;
    std::vector<std::pair<double, double>> geoidQueries;
    std::function<void()> onSend; // a nested decode, as the send routine may run one

    CString Cell(int row, int column) const {
        auto it = cells.find({row, column});
        return it == cells.end() ? CString(u"<unset>") : CString(it->second);
    }

    CTime& RxTime() override { return rxTime; }
    float& RxSeconds() override { return rxSeconds; }
    BOOL& TickHandled() override { return tickHandled; }
    BOOL& TickSinceZda() override { return tickSinceZda; }
    BOOL& TickSinceRmc() override { return tickSinceRmc; }
    BOOL& ZdaSinceTick() override { return zdaSinceTick; }
    BOOL& DecoderTicks() override { return decoderTicks; }
    int& DgpsStatus() override { return dgpsStatus; }
    LONG& GpsUtcOffsetSec() override { return gpsUtcOffsetSec; }
    int& LeapSecondPending() override { return leapSecondPending; }
    int& NtpLeapIndicator() override { return ntpLeapIndicator; }
    SatelliteChannelTable& SatTable() override { return table; }
    BOOL IsRawWindowShown() const override { return rawWindowShown; }
    BOOL IsLogSecond() const override { return logSecond; }
    int GetTimeZoneBiasMin() const override { return timeZoneBiasMin; }
    BOOL IsGpsRxOnLocalTime() const override { return gpsRxOnLocalTime; }
    int GetReceiverModel() const override { return model; }
    float GetFirmwareVersion() const override { return firmwareVersion; }
    int GetGpsTimeYear() const override { return gpsYear; }
    int GetGpsTimeMonth() const override { return gpsMonth; }

    void SyncPcClock() override { clockSyncs.push_back(rxTime.GetTime()); }
    void UpdateClockDisplay() override { ++clockDisplays; }
    void UpdateControls() override {}
    void UpdateSatsGrid() override { ++gridRefreshes; }
    void UpdatePositionText(double latitude, double longitude, double heightWgs84,
                            double altitudeMsl) override {
        positions.push_back({latitude, longitude, heightWgs84, altitudeMsl});
    }
    void WriteBinaryLogMessage(const CString& message) override { binaryLog.push_back(message.str()); }
    void WritePvtLogLine(const CString& text) override { pvtLines.push_back(text.str()); }
    void GpsNavSetFixQuality(int level) override { fixQualities.push_back(level); }
    void GpsNavSetTrackedCount(int count) override { trackedCounts.push_back(count); }
    void GpsNavSetFixType(int type) override {
        fixTypes.push_back(type);
        fixType = type;
    }
    int GpsNavGetFixType() const override { return fixType; }
    void GpsNavSetDops(double gdop, double pdop, double hdop, double vdop, double tdop) override {
        dops.push_back({gdop, pdop, hdop, vdop, tdop});
    }
    void GpsNavSetSpeed(double knots) override { speeds.push_back(knots); }
    void GpsNavSetHeading(double degrees) override { headings.push_back(degrees); }
    void SetSatsGridCellText(int row, int column, const CString& text) override {
        cells[{row, column}] = text.str();
    }
    BOOL HasRxIdDialog() const override { return rxIdDialog; }
    void RxIdSetText(const CString& text) override { rxIdSet.push_back(text.str()); }
    void RxIdAddText(const CString& text) override { rxIdAdded.push_back(text.str()); }
    void SetAntennaStatus(int status) override { antenna.push_back(status); }
    void SetReceiverModeStatus(int status) override { receiverMode.push_back(status); }

    float& RxSecondFraction() override { return rxSecondFraction; }
    int& HaPrecedenceTicks() override { return haPrecedenceTicks; }
    int& EaPrecedenceTicks() override { return eaPrecedenceTicks; }
    int& AntennaStatus() override { return antennaStatus; }
    BOOL& ShowTraimStatusOnce() override { return showTraimStatusOnce; }
    BOOL& OnePpsPulseMode() override { return onePpsPulseMode; }
    int GetGpsTimeDay() const override { return gpsDay; }
    int GetActiveChannels() const override { return activeChannels; }
    void SetReceiverModel(int value) override { model = value; }
    void SetFirmwareVersion(float version) override { firmwareVersion = version; }
    void SetVersionText(const CString& text) override { versionText = text; }
    void SetReceiverPlusModel(BOOL plus) override { plusModel = plus; }
    void SetViewTimer(UINT id, UINT elapse) override { timers.push_back({true, id, elapse}); }
    void KillViewTimer(UINT id) override { timers.push_back({false, id, 0}); }
    void StampStartupTime() override { ++startupStamps; }
    void SendGpsCommand(const CString& command) override {
        sent.push_back(command.str());
        if (onSend) {
            onSend();
        }
    }
    BOOL GetPortCommMask(DWORD& mask) override {
        mask = commMask;
        return portOpen;
    }
    BOOL SetPortCommMask(DWORD mask) override {
        commMask = mask;
        commMaskWrites.push_back(mask);
        return portOpen;
    }
    double GetGeoidSeparation(double latitude, double longitude) const override {
        const_cast<RecordingOncoreView*>(this)->geoidQueries.emplace_back(latitude, longitude);
        return geoidSeparation;
    }
    CString GetMonthName(int month) const override {
        static const char16_t* kNames[] = {u"January",   u"February", u"March",    u"April",
                                           u"May",       u"June",     u"July",     u"August",
                                           u"September", u"October",  u"November", u"December"};
        return month >= 1 && month <= 12 ? CString(kNames[month - 1]) : CString(u"Illegal month");
    }
    CString GpsNavFormatDops() const override { return dopsText; }
    void GpsTimeSetEpochOffset(LONG ms) override { epochOffset = ms; }
    LONG GpsTimeGetEpochOffset() const override { return epochOffset; }
    void GpsTimeSetPpsOffset(ULONG ns) override { ppsOffset = ns; }
    ULONG GpsTimeGetPpsOffset() const override { return ppsOffset; }
    void GpsTimeSetCableDelay(ULONG ns) override { cableDelay = ns; }
    ULONG GpsTimeGetCableDelay() const override { return cableDelay; }
};

// Decodes and answers the text as narrow bytes, for readable comparisons.
inline std::string Decode(OncoreDecoder& decoder, const CString& message) {
    return Narrow(decoder.DecodeOncoreMessage(message).str());
}

} // namespace oncore_test
