// A recording stand-in for the view the decoders talk to, and helpers to build their input.
#pragma once

#include "platform/base/CString.h"
#include "platform/base/TimeConversions.h"
#include "receiver/OncoreView.h"
#include "receiver/ReceiverState.h"
#include "receiver/WeekRollover.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <optional>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

namespace decoder_test {

inline std::string Narrow(const std::u16string& text) {
    std::string out;
    for (char16_t c : text) {
        out.push_back(static_cast<char>(c));
    }
    return out;
}

inline __time64_t Utc(int year, int month, int day, int hour, int minute, int second) {
    return DaysFromCivil(year, month, day) * 86400 + hour * 3600 + minute * 60 + second;
}

// A receiver's time as the decoders hand it over today: moved on past a GPS week rollover when it lies too
// far back (receiver/WeekRollover.h).
inline __time64_t AfterRolloverCheck(__time64_t receiverTime) {
    return CorrectWeekRollover(receiverTime, std::max<__time64_t>(CurrentUtc().seconds, BuildDate()));
}

struct Position {
    double latitude, longitude, heightWgs84, altitudeMsl;
};

struct TimerCall {
    bool armed; // false: killed
    UINT id;
    UINT elapse;
    friend bool operator==(const TimerCall&, const TimerCall&) = default;
};

// The view of all three decoders: what they read is a member a test sets, what they do is recorded.
class RecordingView : public OncoreView {
public:
    RecordingView() { table.fill(SatelliteChannelTables::m_emptySatRow); }

    // State.
    CTime rxTime{-1};
    float rxSeconds = 0.0f, rxSecondFraction = 0.0f;
    BOOL tickHandled = FALSE, tickSinceZda = FALSE, tickSinceRmc = FALSE, zdaSinceTick = FALSE;
    BOOL decoderTicks = FALSE;
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
    std::vector<__time64_t> clockSyncs; // m_rxTime at each SyncPcClock
    int clockDisplays = 0, controlUpdates = 0, gridRefreshes = 0, startupStamps = 0;
    std::vector<Position> positions;
    std::vector<std::u16string> binaryLog;
    std::vector<std::u16string> pvtLines; // every WritePvtLogLine call, empty texts too
    std::map<std::pair<int, int>, std::u16string> cells;
    int cellWrites = 0;
    std::vector<std::u16string> rxIdSet, rxIdAdded, sent, rawLines;
    WeekRolloverCheck rolloverCheck;
    std::vector<int> antenna, receiverMode, fixQualities, trackedCounts, fixTypes;
    std::vector<std::vector<double>> dops;
    std::vector<double> speeds, headings;
    std::vector<TimerCall> timers;
    std::vector<DWORD> commMaskWrites;
    std::vector<std::pair<double, double>> geoidQueries;
    std::function<void()> onRxIdSetText; // lets a test decode nested, as the window's message pump may
    std::function<void()> onSend;        // a nested decode, as the send routine may run one

    CString Cell(int row, int column) const {
        auto it = cells.find({row, column});
        return it == cells.end() ? CString(u"<unset>") : CString(it->second);
    }
    // The PVT lines the view would really write: in a logging second, not empty.
    std::vector<std::u16string> WrittenPvtLines() const {
        std::vector<std::u16string> out;
        for (const auto& line : pvtLines) {
            if (logSecond && !line.empty()) {
                out.push_back(line);
            }
        }
        return out;
    }

    // DecoderView.
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
    void UpdateControls() override { ++controlUpdates; }
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
        ++cellWrites;
    }
    BOOL HasRxIdDialog() const override { return rxIdDialog; }
    void RxIdSetText(const CString& text) override {
        rxIdSet.push_back(text.str());
        if (onRxIdSetText) {
            onRxIdSetText();
        }
    }
    void RxIdAddText(const CString& text) override { rxIdAdded.push_back(text.str()); }
    void SetAntennaStatus(int status) override { antenna.push_back(status); }
    void SetReceiverModeStatus(int status) override { receiverMode.push_back(status); }
    WeekRolloverCheck& RolloverCheck() override { return rolloverCheck; }
    void AddRawDataLine(const CString& line) override { rawLines.push_back(line.str()); }

    // OncoreView.
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
        const_cast<RecordingView*>(this)->geoidQueries.emplace_back(latitude, longitude);
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

// Sets g_interfaceMode for one test and puts the old value back.
class InterfaceModeScope {
public:
    explicit InterfaceModeScope(int mode) : m_old(g_interfaceMode.load()) { g_interfaceMode = mode; }
    ~InterfaceModeScope() { g_interfaceMode = m_old; }
    InterfaceModeScope(const InterfaceModeScope&) = delete;
    InterfaceModeScope& operator=(const InterfaceModeScope&) = delete;

private:
    int m_old;
};

// Little-endian payload builder.
class PayloadBuilder {
public:
    explicit PayloadBuilder(std::size_t size = 0) : m_bytes(size, '\0') {}
    PayloadBuilder& Put(std::size_t at, unsigned long long value, int width) {
        if (m_bytes.size() < at + width) {
            m_bytes.resize(at + width, '\0');
        }
        for (int i = 0; i < width; ++i) {
            m_bytes[at + i] = static_cast<char>((value >> (8 * i)) & 0xFF);
        }
        return *this;
    }
    PayloadBuilder& PutText(std::size_t at, const std::string& text) {
        if (m_bytes.size() < at + text.size()) {
            m_bytes.resize(at + text.size(), '\0');
        }
        m_bytes.replace(at, text.size(), text);
        return *this;
    }
    const std::string& Bytes() const { return m_bytes; }

private:
    std::string m_bytes;
};

// The bytes of a file, untouched.
// A text capture as the receiver sent it: '#' lines dropped, every line ended with CR LF.
inline std::string ReplayableText(const std::string& capture) {
    std::string out;
    std::istringstream in(capture);
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        if (!line.empty() && line[0] != '#') {
            out += line + "\r\n";
        }
    }
    return out;
}

// A value of the flat JSON objects the .chk files hold: a number, or a string's text.
inline std::optional<double> JsonNumber(const std::string& object, const std::string& key) {
    const std::string tag = "\"" + key + "\":";
    const std::size_t at = object.find(tag);
    if (at == std::string::npos) {
        return std::nullopt;
    }
    return std::strtod(object.c_str() + at + tag.size(), nullptr);
}

inline std::optional<std::string> JsonString(const std::string& object, const std::string& key) {
    const std::string tag = "\"" + key + "\":\"";
    const std::size_t at = object.find(tag);
    if (at == std::string::npos) {
        return std::nullopt;
    }
    const std::size_t start = at + tag.size();
    return object.substr(start, object.find('"', start) - start);
}

// "2014-12-31T03:07:19.000Z" to whole UTC seconds (the fraction rounded).
inline __time64_t IsoSeconds(const std::string& text) {
    int year = 0, month = 0, day = 0, hour = 0, minute = 0;
    double second = 0.0;
    std::sscanf(text.c_str(), "%d-%d-%dT%d:%d:%lfZ", &year, &month, &day, &hour, &minute, &second);
    return Utc(year, month, day, hour, minute, 0) + static_cast<__time64_t>(second + 0.5);
}

} // namespace decoder_test
