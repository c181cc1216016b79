// Receiver initialisation end to end: the real port control, worker threads and decoders against the
// receiver simulator on a pseudo-terminal, which hears only what is sent at its own rate. Each receiver is
// searched for, identified and configured; the tests compare what the simulator received.
#include "receiver/AppProfileAccess.h"
#include "receiver/CThBufferList.h"
#include "receiver/CrossProcessSemaphore.h"
#include "receiver/GpsPortControl.h"
#include "receiver/NmeaDecoder.h"
#include "receiver/OncoreDecoder.h"
#include "receiver/ReceiverInitialisation.h"
#include "receiver/ReceiverState.h"
#include "receiver/UbxDecoder.h"
#include "tests/platform/serial/SerialTestSupport.h"
#include "tests/receiver/OncoreTestSupport.h"
#include "tests/receiver/QuietReceiverEvents.h"
#include "tools/simulator/NmeaEngine.h"
#include "tools/simulator/OncoreEngine.h"
#include "tools/simulator/SimulatorSession.h"
#include "tools/simulator/UbxEngine.h"

#include "platform/display/MessageBox.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <mutex>
#include <string>
#include <vector>

namespace sim = receiversim;

namespace {

// The decoders' view, with the identity the "@@Cj" decoding writes kept where the initialisation reads it.
class IdentityView : public oncore_test::RecordingOncoreView {
public:
    int GetActiveChannels() const override { return g_receiverIdentity.activeChannels; }
    int GetReceiverModel() const override { return g_receiverIdentity.model; }
    float GetFirmwareVersion() const override { return g_receiverIdentity.firmwareVersion; }
    void SetReceiverModel(int value) override { g_receiverIdentity.model = value; }
    void SetFirmwareVersion(float version) override { g_receiverIdentity.firmwareVersion = version; }
    void SetVersionText(const CString& text) override { g_receiverIdentity.versionText = text; }
    void SetReceiverPlusModel(BOOL plus) override { g_receiverPlusModel = plus; }
};

// The view's side of the initialisation over the real link: the port control and the decoders.
class LinkHost : public ReceiverInitHost {
public:
    explicit LinkHost(GpsPortControl& port) : m_port(port) {}

    IdentityView view;
    OncoreDecoder oncore{view};
    NmeaDecoder nmea{view};
    UbxDecoder ubx{view};
    ReceiverParameters parameters;
    std::vector<std::u16string> status;
    std::vector<int> storedModes;

    CString DecodeOncoreMessage(const CString& m) override { return oncore.DecodeOncoreMessage(m); }
    BOOL DecodeNmeaSentence(const CString& m) override { return nmea.DecodeNmeaSentence(m); }
    CString DecodeUbxMessage(const CString& m) override { return ubx.DecodeUbxMessage(m); }
    void AddRawDataLine(const CString&) override {}
    void AddIdText(const CString&) override {}
    void UpdateViewWindow() override {}
    void PumpPendingMessages() override {}
    BOOL UbxUploadRunning() override { return FALSE; }
    void SetChannelCounts(int channels) override {
        g_receiverIdentity.activeChannels = channels;
        g_receiverIdentity.nativeChannels = channels;
    }
    void SetHasDgps(BOOL value) override { g_receiverIdentity.hasDgps = value; }
    void SetHasTraim(BOOL value) override { g_receiverIdentity.hasTraim = value; }

    ReceiverParameters GetReceiverParameters() override { return parameters; }
    TimingAdjustments GetTimingAdjustments() override { return {}; }
    ReferencePosition GetReferencePosition() override { return {47.5, 8.5, 500, 450}; }
    int GetTimeZoneBiasMin() const override { return 0; }
    LONG GetGpsUtcOffsetSec() const override { return 0; }
    void GetPcTimeUtc(SYSTEMTIME& time) override { time = SYSTEMTIME{2024, 3, 5, 15, 12, 0, 0, 0}; }
    void AddStatusText(const CString&) override {}
    void RemoveStatusText(const CString&) override {}
    void ClearReceiverDisplays() override {}
    void GpsTimeSetEpochOffset(LONG) override {}
    void GpsTimeSetPpsOffset(ULONG) override {}
    void GpsTimeSetCableDelay(ULONG) override {}
    BOOL& ShowTraimStatusOnce() override { return m_showTraimStatusOnce; }

    DWORD& PortBaudRate() override { return m_port.m_baudRate; }
    BOOL SetPortBaudRate(DWORD rate) override { return m_port.SetCommBaudRate(g_hGpsPort, rate); }
    void ReconfigurePort() override { m_port.ConfigureCommPort(); }
    void TakePortSettings() override {}
    BOOL UseChosenPort(const CString& path) override { return m_port.UsePort(path); }
    BOOL NoGpsInit() override { return FALSE; }
    void StoreFoundInterfaceMode(int mode) override { storedModes.push_back(mode); }
    BOOL GetRxOnlyIdentity(ReceiverIdentity&) override { return FALSE; }
    void LoadReceiverParameters() override {}
    void ClearPvt6AndLocalTimeFlags() override {}
    BOOL IsRefLocOnStart() override { return FALSE; }
    void GpsNavSaveAverages() override {}
    void GpsNavLoadAverages() override {}
    void GpsNavSetTimingErrorTerms(double, double) override {}
    void ShowBusyCursor(BOOL) override {}
    void RepaintView() override {}
    void SetStatusText(const CString& text) override { status.push_back(text.str()); }
    void SetAntennaStatus(int) override {}
    void SetReceiverModeStatus(int) override {}
    void ClearRxIdWindow() override {}
    void SetSatsGridCellText(int, int, const CString&) override {}
    void FlashTickIcon() override {}
    void ResetReceiverDerivedState() override {}
    int ShowMessageBox(const CString& text, UINT type) override {
        return MessageBoxW(nullptr, text, u"Doliva", type);
    }

private:
    GpsPortControl& m_port;
    BOOL m_showTraimStatusOnce = FALSE;
};

class InitialisationOverPty : public serialtest::SerialTest {
protected:
    // The receiver on the pty; the program's port set to "Port Rate" and the interface mode.
    void Start(std::unique_ptr<sim::ReceiverEngine> engine, DWORD portRate, int mode, bool seconds = true) {
        sim::SessionOptions options;
        options.transport = sim::TransportKind::Pty;
        options.loop.pace = false;
        options.loop.manualSeconds = !seconds;
        const auto start = std::chrono::steady_clock::now();
        options.loop.clock = [start] {
            return sim::FromCalendar(2024, 3, 15, 12, 0, 0) + (std::chrono::steady_clock::now() - start);
        };
        options.loop.log = [this](const std::string& line) {
            std::lock_guard lock(m_logMutex);
            m_log.push_back(line);
        };
        std::string error;
        m_session = sim::SimulatorSession::Start(std::move(engine), options, error);
        ASSERT_TRUE(m_session) << error;
        m_env = std::make_unique<serialtest::ScopedEnv>("DOLIVA_COM7", m_session->Target());

        CreateLinkSemaphores();
        g_receiverIdentity = ReceiverIdentity{};
        g_receiverPlusModel = FALSE;
        g_receiverNotFound = FALSE;
        g_initializing = 1;
        g_interfaceMode = mode;
        g_ppsInterface = kPpsNone;
        m_control = std::make_unique<GpsPortControl>(m_events);
        m_control->m_portDevicePath = GpsPortControl::DevicePathFor(u"COM7");
        m_control->m_baudRate = portRate;
        ASSERT_TRUE(m_control->OpenGpsPort());
        m_host = std::make_unique<LinkHost>(*m_control);
        m_configuration = std::make_unique<ReceiverConfiguration>(*m_host);
        m_init = std::make_unique<ReceiverInitialisation>(*m_host, *m_configuration);
        AppWriteProfileInt(u"PexView", u"Mode", -1);
    }

    void TearDown() override {
        m_init.reset();
        m_configuration.reset();
        m_host.reset();
        m_control.reset();
        DestroyLinkSemaphores();
        g_receiveList.RemoveAll();
        g_transmitList.RemoveAll();
        g_interfaceMode = kModeSearch;
        m_session.reset();
        m_env.reset();
        SerialTest::TearDown();
    }

    // The simulator's log lines of what it received ("<- ..."), once the transmit thread sent everything.
    std::vector<std::string> Received() {
        for (int i = 0; i < 200 && !g_transmitList.IsEmpty(); ++i) {
            Sleep(10);
        }
        Sleep(300);
        std::vector<std::string> out;
        std::lock_guard lock(m_logMutex);
        for (const std::string& stamped : m_log) {
            const std::string line =
                stamped.substr(std::min<std::size_t>(stamped.size(), 13)); // "hh:mm:ss.mmm "
            if (line.starts_with("<- ")) {
                out.push_back(line.substr(3));
            }
        }
        return out;
    }
    // The received Oncore commands from the first with `id` on, up to the next that is not Oncore.
    static std::vector<std::string> OncoreRun(const std::vector<std::string>& received,
                                              const std::string& first, std::size_t from = 0) {
        std::vector<std::string> out;
        auto it = std::find(received.begin() + static_cast<std::ptrdiff_t>(from), received.end(), first);
        for (; it != received.end() && it->starts_with("@@"); ++it) {
            out.push_back(*it);
        }
        return out;
    }
    static bool Has(const std::vector<std::string>& lines, const std::string& text) {
        return std::find(lines.begin(), lines.end(), text) != lines.end();
    }
    std::string Status() const {
        return m_host->status.empty() ? std::string() : decoder_test::Narrow(m_host->status.back());
    }
    std::string Protocol() {
        std::string state;
        m_session->WithEngine([&](sim::ReceiverEngine& e) { state = e.ProtocolState(); });
        return state;
    }

    QuietReceiverEvents m_events;
    std::unique_ptr<sim::SimulatorSession> m_session;
    std::unique_ptr<serialtest::ScopedEnv> m_env;
    std::unique_ptr<GpsPortControl> m_control;
    std::unique_ptr<LinkHost> m_host;
    std::unique_ptr<ReceiverConfiguration> m_configuration;
    std::unique_ptr<ReceiverInitialisation> m_init;
    std::mutex m_logMutex;
    std::vector<std::string> m_log;
};

std::unique_ptr<sim::OncoreEngine> Oncore(sim::OncoreProtocol protocol, int channels, std::uint32_t rate) {
    sim::EngineOptions engine;
    engine.line.baud = rate;
    sim::OncoreOptions oncore;
    oncore.protocol = protocol;
    oncore.channels = channels;
    oncore.continuousAtStart = false;
    return std::make_unique<sim::OncoreEngine>(engine, oncore);
}

TEST_F(InitialisationOverPty, SearchFindsAMotorolaReceiverInNmeaAt4800) {
    Start(Oncore(sim::OncoreProtocol::Nmea, 12, 4800), 4800, kModeSearch);
    ASSERT_TRUE(m_init->RunGpsInitialisation());
    EXPECT_EQ(g_interfaceMode, kModeMotorolaNmea);
    EXPECT_EQ(m_host->storedModes, (std::vector<int>{kModeMotorolaNmea}));
    EXPECT_EQ(AppGetProfileInt(u"PexView", u"Mode", -1), kModeMotorolaNmea);
    EXPECT_EQ(m_control->m_baudRate, 4800u);
    EXPECT_TRUE(Status().starts_with("Motorola M12, NMEA Mode, 12 ch, V")) << Status();
    const auto received = Received();
    EXPECT_TRUE(Has(received, "$PMOTG,FOR,0*2A")) << testing::PrintToString(received);
    // Identified and configured in binary, then back to NMEA with its outputs.
    const auto binary = OncoreRun(received, "@@Cj");
    ASSERT_GE(binary.size(), 10u) << testing::PrintToString(received);
    EXPECT_EQ(binary[1], "@@Cg 01");
    EXPECT_EQ(binary.back(), "@@Ci 01");
    const auto ci = std::find(received.begin(), received.end(), "@@Ci 01");
    const std::vector<std::string> nmea(ci + 1, received.end());
    EXPECT_EQ(nmea,
              (std::vector<std::string>{"$PMOTG,ZDA,0001*1F", "$PMOTG,GLL,0000*06", "$PMOTG,VTG,0000*04",
                                        "$PMOTG,GGA,0001*01", "$PMOTG,GSA,0001*15", "$PMOTG,GSV,0001*02",
                                        "$PMOTG,RMC,0001*1C"}));
    EXPECT_EQ(Protocol(), "nmea");
}

TEST_F(InitialisationOverPty, SearchFindsAMotorolaBinaryReceiverAt9600AndConfiguresIt) {
    Start(Oncore(sim::OncoreProtocol::Binary, 8, 9600), 9600, kModeSearch);
    ASSERT_TRUE(m_init->RunGpsInitialisation());
    EXPECT_EQ(g_interfaceMode, kModeMotorolaBinary);
    EXPECT_EQ(m_host->storedModes, (std::vector<int>{kModeMotorolaBinary}));
    EXPECT_EQ(AppGetProfileInt(u"PexView", u"Mode", -1), kModeMotorolaBinary);
    EXPECT_EQ(g_receiverIdentity.activeChannels, 8);
    EXPECT_TRUE(g_receiverIdentity.hasTraim);
    EXPECT_TRUE(Status().starts_with("Motorola UT+, Bin, 8 ch, V")) << Status();
    EXPECT_TRUE(Status().ends_with(", TRAIM")) << Status();
    const auto received = Received();
    // The search's "@@Cj" at 9600 is the first thing the receiver hears; then the set-up.
    ASSERT_FALSE(received.empty());
    EXPECT_EQ(received[0], "@@Cj");
    const std::vector<std::string> expected = {
        "@@Cj",
        "@@Cg 01",
        "@@Ba 00",
        "@@Ea 00",
        "@@Ha 00",
        "@@Ea 00",
        "@@Hb 00",
        "@@Bb 00",
        "@@Bk 00",
        "@@Ek 00",
        "@@Bl 00",
        "@@Bh 00",
        "@@Bg 00",
        "@@Eg 00",
        "@@Bi 00",
        "@@Bj",
        "@@Bo 01",
        // The receiver set-up with its time set-up.
        "@@Aw 01",
        "@@Aa 0C 00 00",
        "@@Ab 00 00 00",
        "@@Ac 03 0F 07 E8",
        "@@AP 00",
        "@@Gc 01",
        "@@Ag 00",
        "@@At 00",
        "@@Av 00",
        "@@Aq 03",
        "@@Ar 01",
        "@@Ah 00",
        "@@Aj 00",
        "@@AB 00",
        "@@AE 00",
        "@@Bh 00",
        "@@Am 00 00 00 00 00",
        "@@Hb 00",
        "@@Ea 01",
        "@@Ek 01",
        "@@Bn 00 00 00 0A 01 00 00 01 00 00 00 00 00 00 00",
        "@@En 00 00 00 0A 01 00 00 01 00 00 00 00 00 00 00",
        "@@Hn 00",
        "@@En 00 00 00 0A 01 00 00 01 00 00 00 00 00 00 00",
        // The timing set-up of a UT+, then T-RAIM with the timing settings.
        "@@Ay 00 00 00 00",
        "@@Az 00 00 00 00",
        "@@En 00 00 00 0A 01 00 00 01 00 00 00 00 00 00 00",
        "@@Bb 01",
    };
    EXPECT_EQ(OncoreRun(received, "@@Cj", 1), expected) << testing::PrintToString(received);
    EXPECT_EQ(Protocol(), "binary");
}

TEST_F(InitialisationOverPty, SearchFindsAMotorolaLoranReceiverAt1200) {
    Start(Oncore(sim::OncoreProtocol::Loran, 12, 1200), 1200, kModeSearch);
    ASSERT_TRUE(m_init->RunGpsInitialisation());
    EXPECT_EQ(g_interfaceMode, kModeMotorolaLoran);
    EXPECT_EQ(m_host->storedModes, (std::vector<int>{kModeMotorolaLoran}));
    EXPECT_EQ(AppGetProfileInt(u"PexView", u"Mode", -1), kModeMotorolaLoran);
    EXPECT_EQ(Status(), "Ready - Loran Mode");
    EXPECT_EQ(g_receiverIdentity.activeChannels, 12);
    const auto received = Received();
    ASSERT_GE(received.size(), 4u);
    EXPECT_EQ(received[0], "T0");
    EXPECT_EQ(received[1], "BIN");
    const auto binary = OncoreRun(received, "@@Cj");
    ASSERT_GE(binary.size(), 10u) << testing::PrintToString(received);
    // The 12-channel family's commands, and the way back.
    EXPECT_TRUE(Has(binary, "@@Gj"));
    EXPECT_TRUE(Has(binary, "@@AQ 01"));
    EXPECT_TRUE(Has(binary, "@@Ha 01"));
    EXPECT_EQ(binary.back(), "@@Ci 02");
    EXPECT_EQ(received.back(), "T1");
    EXPECT_EQ(Protocol(), "loran");
}

TEST_F(InitialisationOverPty, SearchFindsAUbloxReceiverAt9600) {
    sim::EngineOptions engine;
    engine.line.baud = 9600;
    Start(std::make_unique<sim::UbxEngine>(engine, sim::UbxOptions{}), 9600, kModeSearch);
    ASSERT_TRUE(m_init->RunGpsInitialisation());
    EXPECT_EQ(g_interfaceMode, kModeUbloxUbx);
    EXPECT_EQ(m_host->storedModes, (std::vector<int>{kModeUbloxUbx}));
    EXPECT_EQ(AppGetProfileInt(u"PexView", u"Mode", -1), kModeUbloxUbx);
    EXPECT_EQ(Status(), "u-blox with DGPS, WAAS, EGNOS, MSAS");
    const auto received = Received();
    std::vector<std::string> ubx;
    for (const auto& line : received) {
        if (line.starts_with("UBX ")) {
            ubx.push_back(line.substr(4));
        }
    }
    ASSERT_GE(ubx.size(), 3u) << testing::PrintToString(received);
    EXPECT_TRUE(ubx[0].starts_with("MON-VER")) << ubx[0];
    EXPECT_TRUE(ubx[1].starts_with("CFG-PRT")) << ubx[1];
    EXPECT_TRUE(ubx[2].starts_with("MON-VER")) << ubx[2];
    EXPECT_EQ(std::count_if(ubx.begin(), ubx.end(), [](const auto& l) { return l.starts_with("CFG-MSG"); }),
              25 + 8);
    EXPECT_TRUE(ubx.back().starts_with("CFG-CFG")) << ubx.back();
    // The outputs of the UBX mode are on, the NMEA sentences off.
    m_session->WithEngine([](sim::ReceiverEngine& e) {
        auto& u = dynamic_cast<sim::UbxEngine&>(e);
        EXPECT_EQ(u.MessageRate(0x01, 0x21), 1);
        EXPECT_EQ(u.MessageRate(0x01, 0x04), 37);
        EXPECT_EQ(u.MessageRate(0x01, 0x20), 48);
        EXPECT_EQ(u.MessageRate(0xF0, 0x00), 0);
    });
}

TEST_F(InitialisationOverPty, NothingAttachedEndsInMotorolaBinaryAt9600WithTheBox) {
    std::vector<std::u16string> boxes;
    const auto previous = DisplaySetMessageBoxResponder(
        [&](HWND, const std::u16string&, const std::u16string& text, UINT type) {
            EXPECT_EQ(type & MB_ICONMASK, static_cast<UINT>(MB_ICONEXCLAMATION));
            boxes.push_back(text);
            return IDOK;
        });
    // A receiver that says nothing and hears nothing it knows.
    sim::EngineOptions engine;
    engine.line.baud = 4800;
    Start(std::make_unique<sim::NmeaEngine>(engine), 4800, kModeSearch, false);
    EXPECT_FALSE(m_init->RunGpsInitialisation());
    DisplaySetMessageBoxResponder(previous);
    EXPECT_EQ(boxes, (std::vector<std::u16string>{kReceiverNotFoundText}));
    EXPECT_TRUE(g_receiverNotFound);
    EXPECT_EQ(g_interfaceMode, kModeMotorolaBinary);
    EXPECT_EQ(m_host->storedModes, (std::vector<int>{kModeMotorolaBinary}));
    EXPECT_EQ(AppGetProfileInt(u"PexView", u"Mode", -1), kModeMotorolaBinary);
    EXPECT_EQ(m_control->m_baudRate, 9600u);
    EXPECT_EQ(Status(), "ERROR: Motorola GPS Receiver Not Found");
    EXPECT_EQ(g_initializing, 0);
}

} // namespace
