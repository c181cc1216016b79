// A scripted stand-in for the view that runs the receiver initialisation and configuration: a virtual
// clock, a receiver played by a function of the command and the port's rate, and records of everything the
// host was asked to do.
#pragma once

#include "receiver/CThBufferList.h"
#include "receiver/CrossProcessSemaphore.h"
#include "receiver/ReceiverInitialisation.h"
#include "receiver/ReceiverState.h"
#include "support/ReceiverLinkState.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace init_test {

using Texts = std::vector<std::u16string>;

// A command as it left, without the checksum the send path added.
inline std::u16string Unframed(const std::u16string& framed) {
    if (framed.starts_with(u"@@")) {
        return framed.substr(0, framed.size() - 1);
    }
    if (framed.starts_with(u"\u00B5\u0062")) {
        return framed.substr(0, framed.size() - 2);
    }
    if (framed.starts_with(u"$")) {
        const auto star = framed.rfind(u'*');
        return star == std::u16string::npos ? framed : framed.substr(0, star);
    }
    return framed;
}

// "@@" + id + bytes, for expectations.
inline std::u16string Oncore(const char* id, std::initializer_list<int> bytes = {}) {
    std::u16string s = u"@@";
    s.push_back(static_cast<char16_t>(id[0]));
    s.push_back(static_cast<char16_t>(id[1]));
    for (int b : bytes) {
        s.push_back(static_cast<char16_t>(b & 0xFF));
    }
    return s;
}

struct SentCommand {
    std::u16string command; // unframed
    DWORD rate;
    int mode; // g_interfaceMode when it left
};

class ScriptedInitHost : public ReceiverInitHost {
public:
    // --- The receiver: answers a command (unframed) sent at a rate with messages, after replyDelayMs.
    std::function<Texts(const std::u16string& command, DWORD rate)> receiver = [](const auto&, DWORD) {
        return Texts{};
    };
    ULONGLONG replyDelayMs = 50;
    // What the "@@Cj" decoding identifies.
    int cjModel = 3;
    CString cjVersion = u"10.2";
    BOOL cjPlus = FALSE;

    // --- Settings and state.
    ReceiverParameters parameters;
    TimingAdjustments timing;
    ReferencePosition reference;
    int timeZoneBiasMin = 0;
    LONG gpsUtcOffsetSec = 0;
    SYSTEMTIME pcTime{2024, 3, 0, 15, 12, 34, 56, 789};
    DWORD baudRate = 9600;
    BOOL portOk = true;
    int failRateSetAfter = -1; // the n-th rate set (0 first) and all after it fail
    BOOL noGpsInit = FALSE;
    BOOL refLocOnStart = FALSE;
    ReceiverIdentity rxOnlyIdentity;
    BOOL showTraimStatusOnce = FALSE;

    // --- Records.
    ULONGLONG now = 0;
    std::vector<SentCommand> sent;
    std::vector<DWORD> rateSets;
    Texts status, raw, idTexts, boxes;
    std::u16string statusText;
    std::vector<int> storedModes, antenna, receiverMode;
    std::vector<std::pair<double, double>> errorTerms;
    int displaysCleared = 0, flashes = 0, gateReleases = 0, saves = 0, loads = 0, reconfigures = 0,
        settingsTaken = 0, parameterLoads = 0, flagClears = 0;
    std::vector<CString> usedPorts;
    std::vector<LONG> epochOffsets;
    std::vector<ULONG> ppsOffsets, cableDelays;

    // Takes what the last sends queued.
    void Flush() { SleepMs(0); }
    std::vector<std::u16string> Commands() const {
        std::vector<std::u16string> out;
        for (const auto& s : sent) {
            out.push_back(s.command);
        }
        return out;
    }
    std::vector<std::u16string> OncoreIds() const {
        std::vector<std::u16string> out;
        for (const auto& s : sent) {
            if (s.command.starts_with(u"@@")) {
                out.push_back(s.command.substr(0, 4));
            }
        }
        return out;
    }

    // GpsSendHost.
    CString DecodeOncoreMessage(const CString& m) override {
        if (m.str().starts_with(u"@@Cj")) {
            g_receiverIdentity.model = cjModel;
            g_receiverIdentity.versionText = cjVersion;
            g_receiverPlusModel = cjPlus;
        }
        return m.str().starts_with(u"@@") ? CString(m.Left(4) + u" text\n") : CString();
    }
    BOOL DecodeNmeaSentence(const CString& m) override { return m.str().starts_with(u"$GP"); }
    CString DecodeUbxMessage(const CString& m) override {
        return m.str().starts_with(u"\u00B5\u0062") ? CString(u"UBX\n") : CString();
    }
    void AddRawDataLine(const CString& line) override { raw.push_back(line.str()); }
    void AddIdText(const CString& text) override { idTexts.push_back(text.str()); }
    void UpdateViewWindow() override {}
    void PumpPendingMessages() override {}
    BOOL UbxUploadRunning() override { return FALSE; }
    void SetChannelCounts(int channels) override {
        g_receiverIdentity.activeChannels = channels;
        g_receiverIdentity.nativeChannels = channels;
    }
    void SetHasDgps(BOOL value) override { g_receiverIdentity.hasDgps = value; }
    void SetHasTraim(BOOL value) override { g_receiverIdentity.hasTraim = value; }
    ULONGLONG MonotonicMs() override {
        Deliver();
        return now;
    }
    void SleepMs(DWORD ms) override {
        Deliver();
        now += ms;
        Deliver();
    }

    // ReceiverSetupHost.
    ReceiverParameters GetReceiverParameters() override { return parameters; }
    TimingAdjustments GetTimingAdjustments() override { return timing; }
    ReferencePosition GetReferencePosition() override { return reference; }
    int GetTimeZoneBiasMin() const override { return timeZoneBiasMin; }
    LONG GetGpsUtcOffsetSec() const override { return gpsUtcOffsetSec; }
    void GetPcTimeUtc(SYSTEMTIME& time) override { time = pcTime; }
    void AddStatusText(const CString& text) override {
        if (statusText.find(text.str()) == std::u16string::npos) {
            statusText += text.str();
        }
    }
    void RemoveStatusText(const CString& text) override {
        const auto at = statusText.find(text.str());
        if (at != std::u16string::npos) {
            statusText.erase(at, text.str().size());
        }
    }
    void ClearReceiverDisplays() override { ++displaysCleared; }
    void GpsTimeSetEpochOffset(LONG ms) override { epochOffsets.push_back(ms); }
    void GpsTimeSetPpsOffset(ULONG ns) override { ppsOffsets.push_back(ns); }
    void GpsTimeSetCableDelay(ULONG ns) override { cableDelays.push_back(ns); }
    BOOL& ShowTraimStatusOnce() override { return showTraimStatusOnce; }

    // ReceiverInitHost.
    DWORD& PortBaudRate() override { return baudRate; }
    BOOL SetPortBaudRate(DWORD rate) override {
        Deliver();
        const bool ok =
            portOk && (failRateSetAfter < 0 || static_cast<int>(rateSets.size()) < failRateSetAfter);
        rateSets.push_back(rate);
        if (!ok) {
            return FALSE;
        }
        portRate = rate;
        now += 250;
        return TRUE;
    }
    void ReconfigurePort() override {
        ++reconfigures;
        portRate = baudRate;
    }
    void TakePortSettings() override { ++settingsTaken; }
    BOOL UseChosenPort(const CString& path) override {
        usedPorts.push_back(path);
        return TRUE;
    }
    BOOL NoGpsInit() override { return noGpsInit; }
    void StoreFoundInterfaceMode(int mode) override { storedModes.push_back(mode); }
    BOOL GetRxOnlyIdentity(ReceiverIdentity& identity) override {
        identity = rxOnlyIdentity;
        return TRUE;
    }
    void LoadReceiverParameters() override { ++parameterLoads; }
    void ClearPvt6AndLocalTimeFlags() override {
        ++flagClears;
        parameters.sixChannelMode = FALSE;
        parameters.gpsRxOnLocalTime = FALSE;
    }
    BOOL IsRefLocOnStart() override { return refLocOnStart; }
    void GpsNavSaveAverages() override { ++saves; }
    void GpsNavLoadAverages() override { ++loads; }
    void GpsNavSetTimingErrorTerms(double a, double b) override { errorTerms.emplace_back(a, b); }
    void ShowBusyCursor(BOOL) override {}
    void RepaintView() override {}
    void SetStatusText(const CString& text) override {
        statusText = text.str();
        status.push_back(text.str());
    }
    void SetAntennaStatus(int s) override { antenna.push_back(s); }
    void SetReceiverModeStatus(int s) override { receiverMode.push_back(s); }
    void ClearRxIdWindow() override {}
    void SetSatsGridCellText(int, int, const CString&) override {}
    void FlashTickIcon() override { ++flashes; }
    void ResetReceiverDerivedState() override {}
    int ShowMessageBox(const CString& text, UINT) override {
        boxes.push_back(text.str());
        return 1;
    }
    void ReleaseLinkGates() override { ++gateReleases; }

    DWORD portRate = 9600;

private:
    // Plays the receiver: takes what was queued for the port and answers it on time.
    void Deliver() {
        while (!g_transmitList.IsEmpty()) {
            const std::u16string command = Unframed(g_transmitList.RemoveHead().str());
            sent.push_back({command, portRate, g_interfaceMode.load()});
            for (const auto& reply : receiver(command, portRate)) {
                pending.emplace_back(now + replyDelayMs, reply);
            }
        }
        for (auto it = pending.begin(); it != pending.end();) {
            if (it->first <= now) {
                g_receiveList.AddTail(CString(it->second));
                it = pending.erase(it);
            } else {
                ++it;
            }
        }
    }
    std::vector<std::pair<ULONGLONG, std::u16string>> pending;
};

// Resets the program-wide link state around each test.
class LinkStateTest : public testing::Test {
protected:
    void SetUp() override {
        testsupport::ResetReceiverLink();
        CreateLinkSemaphores();
    }
    void TearDown() override { testsupport::ResetReceiverLink(); }
};

} // namespace init_test
