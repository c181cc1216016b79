// The initialisation state machine against scripted receivers on a virtual clock: the probes and their
// rates, the set-up per mode, the failure texts, the identity lines and the not-found box.
#include "receiver/ReceiverInitialisation.h"
#include "receiver/AppProfileAccess.h"
#include "tests/receiver/InitTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace init_test;

namespace {

const std::u16string kMonVer{0xB5, 0x62, 0x0A, 0x04, 0, 0};

// A Motorola receiver talking at one rate: its answers to identification, the channel-count probes, T-RAIM,
// ZDA and the LORAN time request.
struct OncoreScript {
    DWORD rate = 9600;
    int channels = 12;
    bool traim = true;
    Texts operator()(const std::u16string& c, DWORD at) const {
        if (at != rate) {
            return {};
        }
        const auto is = [&](const char16_t* prefix) { return c.starts_with(prefix); };
        const bool poll = c.size() == 5 && c[4] == 0;
        if (is(u"@@Cj") || (is(u"@@Hb") && channels == 12)) {
            return {c.substr(0, 4) + u"...."};
        }
        if (poll && ((is(u"@@Ha") && channels == 12) || (is(u"@@Ea") && channels == 8) ||
                     (is(u"@@Ba") && channels == 6))) {
            return {c.substr(0, 4) + u"...."};
        }
        if (traim && ((is(u"@@Hn") && channels == 12) || (is(u"@@En") && channels == 8))) {
            return {c.substr(0, 4) + u"...."};
        }
        if (is(u"$PMOTG,ZDA,0001")) {
            return {u"$GPZDA,123456.00,15,03,2024,00,00"};
        }
        if (c == u"T0") {
            return {u"T20240315123456"};
        }
        return {};
    }
};

class Initialisation : public LinkStateTest {
protected:
    void SetUp() override {
        LinkStateTest::SetUp();
        AppWriteProfileInt(u"PexView", u"Mode", -1);
    }
    int StoredMode() { return AppGetProfileInt(u"PexView", u"Mode", -1); }
    bool WasSent(const std::u16string& prefix) const {
        const auto all = host.Commands();
        return std::any_of(all.begin(), all.end(), [&](const auto& c) { return c.starts_with(prefix); });
    }

    ScriptedInitHost host;
    ReceiverConfiguration config{host};
    ReceiverInitialisation init{host, config};
};

TEST_F(Initialisation, SearchWithNothingAttachedEndsInMotorolaBinaryAt9600WithTheBox) {
    g_interfaceMode = kModeSearch;
    host.baudRate = 4800;
    EXPECT_FALSE(init.RunGpsInitialisation());

    const std::vector<std::u16string> commands = {u"$PMOTG,RMC,0000",
                                                  u"$PMOTG,GGA,0000",
                                                  u"$PMOTG,GSA,0000",
                                                  u"$PMOTG,GSV,0000",
                                                  u"$PMOTG,GLL,0000",
                                                  u"$PMOTG,VTG,0000",
                                                  u"$PMOTG,ZDA,0001",
                                                  u"@@Cj",
                                                  u"T0",
                                                  kMonVer,
                                                  u"@@Cj",
                                                  u"@@Cj"};
    EXPECT_EQ(host.Commands(), commands);
    std::vector<DWORD> rates;
    for (const auto& s : host.sent) {
        rates.push_back(s.rate);
    }
    EXPECT_EQ(rates,
              (std::vector<DWORD>{4800, 4800, 4800, 4800, 4800, 4800, 4800, 9600, 1200, 9600, 9600, 9600}));
    EXPECT_EQ(host.statusText, u"ERROR: Motorola GPS Receiver Not Found");
    EXPECT_EQ(host.boxes, (Texts{kReceiverNotFoundText}));
    EXPECT_TRUE(g_receiverNotFound);
    EXPECT_EQ(g_interfaceMode, kModeMotorolaBinary);
    EXPECT_EQ(host.storedModes, (std::vector<int>{kModeMotorolaBinary}));
    EXPECT_EQ(StoredMode(), kModeMotorolaBinary);
    EXPECT_EQ(host.baudRate, 9600u);
    EXPECT_EQ(host.portRate, 9600u);
    EXPECT_EQ(g_initializing, 0);
    EXPECT_EQ(host.gateReleases, 1);
    EXPECT_EQ(host.flashes, 0) << "no identity line for a receiver that did not answer";
}

TEST_F(Initialisation, WatchdogRerunShowsNoBox) {
    g_interfaceMode = kModeMotorolaBinary;
    EXPECT_FALSE(init.InitGpsReceiver());
    EXPECT_TRUE(host.boxes.empty());
    EXPECT_FALSE(g_receiverNotFound);
    // A binary receiver that does not answer is looked for at the other rates, then identified twice.
    const auto commands = host.Commands();
    EXPECT_EQ(std::count(commands.begin(), commands.end(), u"@@Cj"), 4);
}

TEST_F(Initialisation, MotorolaBinaryTwelveChannelSetup) {
    g_interfaceMode = kModeMotorolaBinary;
    host.receiver = OncoreScript{};
    host.refLocOnStart = TRUE;
    host.parameters.gpsMode = 2;
    EXPECT_TRUE(init.RunGpsInitialisation());
    host.Flush();
    const auto commands = host.Commands();
    const std::vector<std::u16string> head(commands.begin(), commands.begin() + 20);
    EXPECT_EQ(head, (std::vector<std::u16string>{u"@@Cj",
                                                 u"@@Cj",
                                                 Oncore("Cg", {1}),
                                                 Oncore("Ba", {0}),
                                                 Oncore("Ea", {0}),
                                                 Oncore("Ha", {0}),
                                                 Oncore("Hb", {0}),
                                                 Oncore("Bb", {0}),
                                                 Oncore("Bk", {0}),
                                                 Oncore("Ek", {0}),
                                                 Oncore("Bl", {0}),
                                                 Oncore("Bh", {0}),
                                                 Oncore("Bg", {0}),
                                                 Oncore("Eg", {0}),
                                                 Oncore("Bi", {0}),
                                                 Oncore("Gj"),
                                                 Oncore("Bo", {1}),
                                                 Oncore("AQ", {1}),
                                                 Oncore("Gd", {0}), // the position set-up comes first
                                                 Oncore("Ga", {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0})}));
    EXPECT_EQ(commands[commands.size() - 2], Oncore("Bb", {1}));
    EXPECT_EQ(commands.back(), Oncore("Gk", {'*', '*', '*', '*', '*', '*'}));
    EXPECT_TRUE(WasSent(Oncore("Aw", {1}))) << "the receiver set-up";
    EXPECT_TRUE(WasSent(Oncore("Ay"))) << "the timing set-up";
    EXPECT_EQ(g_receiverIdentity.activeChannels, 12);
    EXPECT_TRUE(g_receiverIdentity.hasTraim);
    EXPECT_EQ(host.statusText, u"Motorola M12, Bin, 12 ch, V10.2, TRAIM");
    EXPECT_EQ(host.flashes, 1);
    EXPECT_EQ(StoredMode(), kModeMotorolaBinary);
    EXPECT_TRUE(host.storedModes.empty()) << "only a search stores the mode in the port settings";
    EXPECT_EQ(g_initializing, 0);
    EXPECT_TRUE(host.boxes.empty());
}

TEST_F(Initialisation, MinimisedSetupTakesTheChannelCountFromTheModelTable) {
    g_interfaceMode = kModeMotorolaBinary;
    host.noGpsInit = TRUE;
    host.cjModel = 6;
    host.receiver = OncoreScript{9600, 6, false};
    EXPECT_TRUE(init.InitGpsReceiver());
    host.Flush();
    EXPECT_EQ(g_receiverIdentity.activeChannels, 6);
    EXPECT_EQ(g_receiverIdentity.nativeChannels, 6);
    for (const char* id : {"Cg", "Ha", "Ea"}) {
        EXPECT_FALSE(WasSent(Oncore(id, {0}))) << id;
    }
    EXPECT_FALSE(WasSent(Oncore("Ba", {0})));
    EXPECT_TRUE(WasSent(Oncore("Hb", {0})));
    EXPECT_TRUE(WasSent(Oncore("Ba", {1}))) << "the receiver set-up of a 6-channel receiver";
    EXPECT_EQ(host.statusText, u"Motorola PVT6, Bin, 6 ch, V10.2");
}

TEST_F(Initialisation, MotorolaNmeaIsSetUpInBinaryAndSwitchedBack) {
    g_interfaceMode = kModeMotorolaNmea;
    host.baudRate = 4800;
    host.cjModel = 9;
    host.receiver = OncoreScript{4800, 8, false};
    EXPECT_TRUE(init.InitGpsReceiver());
    host.Flush();
    const auto commands = host.Commands();
    EXPECT_EQ(commands[0], u"$PMOTG,ZDA,0001");
    EXPECT_EQ(commands[1], u"$PMOTG,FOR,0");
    EXPECT_EQ(commands[2], u"@@Cj");
    const auto ci = std::find(commands.begin(), commands.end(), Oncore("Ci", {1}));
    ASSERT_NE(ci, commands.end());
    EXPECT_EQ(std::vector<std::u16string>(ci + 1, commands.end()),
              (std::vector<std::u16string>{u"$PMOTG,ZDA,0001", u"$PMOTG,GLL,0000", u"$PMOTG,VTG,0000",
                                           u"$PMOTG,GGA,0001", u"$PMOTG,GSA,0001", u"$PMOTG,GSV,0001",
                                           u"$PMOTG,RMC,0001"}));
    for (const auto& s : host.sent) {
        EXPECT_EQ(s.rate, 4800u);
    }
    EXPECT_EQ(g_interfaceMode, kModeMotorolaNmea);
    EXPECT_EQ(host.statusText, u"Motorola UT+, NMEA Mode, 8 ch, V10.2");
    EXPECT_EQ(StoredMode(), kModeMotorolaNmea);
}

TEST_F(Initialisation, LoranIsFoundBySearchAndStartedWithT1) {
    g_interfaceMode = kModeMotorolaLoran;
    host.baudRate = 1200;
    host.receiver = OncoreScript{1200, 12, true};
    EXPECT_TRUE(init.InitGpsReceiver());
    host.Flush();
    const auto commands = host.Commands();
    const auto bin = std::find(commands.begin(), commands.end(), u"BIN");
    ASSERT_NE(bin, commands.end());
    EXPECT_EQ(*(bin - 1), u"T0") << "the search found it";
    EXPECT_EQ(*(bin + 1), u"@@Cj");
    EXPECT_EQ(commands[commands.size() - 2], Oncore("Ci", {2}));
    EXPECT_EQ(commands.back(), u"T1");
    EXPECT_EQ(host.statusText, u"Ready - Loran Mode");
    EXPECT_EQ(g_interfaceMode, kModeMotorolaLoran);
    EXPECT_EQ(host.baudRate, 1200u);
}

TEST_F(Initialisation, UbloxSetupSequence) {
    g_interfaceMode = kModeUbloxNmea;
    host.receiver = [](const std::u16string& c, DWORD) {
        return c == kMonVer ? Texts{kMonVer + u"version"} : Texts{};
    };
    EXPECT_TRUE(init.InitGpsReceiver());
    host.Flush();
    const auto commands = host.Commands();
    ASSERT_GE(commands.size(), 33u);
    EXPECT_EQ(commands[0], UbxPortConfiguration(9600).str());
    EXPECT_EQ(commands[1], kMonVer);
    const auto msg = [](int cls, int id, int rate) {
        return std::u16string{0xB5,
                              0x62,
                              0x06,
                              0x01,
                              3,
                              0,
                              static_cast<char16_t>(cls),
                              static_cast<char16_t>(id),
                              static_cast<char16_t>(rate)};
    };
    EXPECT_EQ(commands[2], msg(0xF1, 0x00, 0));
    EXPECT_EQ(commands[26], msg(0xF0, 0x08, 0));
    EXPECT_EQ(commands[27], (std::u16string{0xB5, 0x62, 0x06, 0x13, 4, 0, 0x17, 0, 0, 0}));
    EXPECT_EQ(commands[28], msg(0xF0, 0x00, 1));
    EXPECT_EQ(commands[32], msg(0xF0, 0x08, 1));
    EXPECT_EQ(commands.back(),
              (std::u16string{0xB5, 0x62, 0x06, 0x09, 12, 0, 0, 0, 0, 0, 0x0B, 0x04, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(host.statusText, u"u-blox NMEA Mode");
    EXPECT_EQ(host.receiverMode.back(), 0);
    EXPECT_EQ(g_receiverIdentity.model, kModelUblox);
    EXPECT_EQ(g_receiverIdentity.activeChannels, 16);
    EXPECT_EQ(StoredMode(), kModeUbloxNmea);
}

TEST_F(Initialisation, UbloxWithoutAnswerPollsThreeTimes) {
    g_interfaceMode = kModeUbloxUbx;
    EXPECT_FALSE(init.RunGpsInitialisation());
    EXPECT_EQ(host.Commands(),
              (std::vector<std::u16string>{UbxPortConfiguration(9600).str(), kMonVer, kMonVer, kMonVer}));
    EXPECT_GE(host.now, 12000u);
    EXPECT_EQ(host.statusText, u"UBX ERROR: COM port setup failure");
    EXPECT_EQ(g_initializing, 0);
    EXPECT_EQ(host.gateReleases, 0);
    EXPECT_EQ(host.boxes.size(), 1u);
}

TEST_F(Initialisation, MinimisedInitialisationSearchesOnlyForUblox) {
    g_interfaceMode = kModeSearch;
    host.noGpsInit = TRUE;
    EXPECT_FALSE(init.InitGpsReceiver());
    EXPECT_EQ(host.Commands(), (std::vector<std::u16string>{kMonVer, u"@@Cj", u"@@Cj"}));

    // A u-blox receiver found so is only given its rate.
    host.sent.clear();
    host.receiver = [](const std::u16string& c, DWORD) {
        return c == kMonVer ? Texts{kMonVer + u"version"} : Texts{};
    };
    g_interfaceMode = kModeSearch;
    EXPECT_TRUE(init.InitGpsReceiver());
    host.Flush();
    EXPECT_EQ(host.Commands(), (std::vector<std::u16string>{kMonVer}));
    EXPECT_EQ(g_interfaceMode, kModeUbloxUbx);
    EXPECT_EQ(StoredMode(), kModeUbloxUbx);
}

TEST_F(Initialisation, RateFailuresGiveTheirTexts) {
    struct Case {
        int mode;
        int failAfter;
        const char16_t* text;
    };
    const Case cases[] = {
        {kModeGenericNmea, 1, u"Generic NMEA Mode - ERROR: COM port setup failure"},
        {kModeMotorolaRxOnly, 1, u"Motorola Rx ERROR: COM port setup failure"},
        {kModeUbloxUbx, 1, u"UBX ERROR: COM port setup failure"},
        {kModeMotorolaBinary, 1, u"Motorola Binary ERROR: COM port setup failure"},
        {kModeMotorolaNmea, 1, u"Motorola NMEA ERROR: COM port setup failure"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.mode);
        ScriptedInitHost h;
        h.receiver = OncoreScript{9600, 12, true};
        h.failRateSetAfter = c.failAfter;
        ReceiverConfiguration conf(h);
        ReceiverInitialisation in(h, conf);
        g_interfaceMode = c.mode;
        EXPECT_FALSE(in.InitGpsReceiver());
        EXPECT_EQ(h.statusText, c.text);
        EXPECT_EQ(g_initializing, 0);
        EXPECT_EQ(h.gateReleases, 0);
        g_receiveList.RemoveAll();
    }
    // No port: nothing is said and the link stays with the initialisation.
    ScriptedInitHost h;
    h.portOk = FALSE;
    ReceiverConfiguration conf(h);
    ReceiverInitialisation in(h, conf);
    g_interfaceMode = kModeSearch;
    EXPECT_FALSE(in.InitGpsReceiver());
    EXPECT_TRUE(h.status.empty());
    EXPECT_TRUE(h.sent.empty());
    EXPECT_EQ(g_initializing, 1);
}

TEST_F(Initialisation, ReceiveOnlyAndGenericNmeaSendNothing) {
    g_interfaceMode = kModeMotorolaRxOnly;
    host.rxOnlyIdentity.model = 3;
    host.rxOnlyIdentity.nativeChannels = 12;
    host.rxOnlyIdentity.activeChannels = 12;
    host.rxOnlyIdentity.versionText = u"2.0";
    g_receiveList.AddTail(u"@@Ha....");
    EXPECT_TRUE(init.InitGpsReceiver());
    host.Flush();
    EXPECT_TRUE(g_receiveList.IsEmpty()) << "queued messages go to the decoder";
    EXPECT_EQ(host.statusText, u"Motorola M12, Rx Only, Bin, 12 ch, V2.0");
    EXPECT_EQ(StoredMode(), kModeMotorolaRxOnly);

    g_interfaceMode = kModeGenericNmea;
    EXPECT_TRUE(init.InitGpsReceiver());
    host.Flush();
    EXPECT_EQ(host.statusText, u"Generic NMEA GPS Receiver");
    EXPECT_EQ(g_receiverIdentity.model, kModelGenericNmea);
    EXPECT_EQ(g_receiverIdentity.nativeChannels, -1);
    EXPECT_EQ(StoredMode(), kModeGenericNmea);
    EXPECT_TRUE(host.sent.empty());
}

TEST_F(Initialisation, IdentityLines) {
    struct Case {
        int model;
        BOOL plus, rxOnly, pvt6, localTime, dgps, traim;
        int channels;
        const char16_t* line;
    };
    const Case cases[] = {
        {24, TRUE, FALSE, FALSE, FALSE, FALSE, FALSE, 12, u"Motorola WQT-M8T+, Bin, 12 ch, V9.1"},
        {24, FALSE, FALSE, FALSE, FALSE, FALSE, FALSE, 12, u"Halvorn WQT-M8T, Bin, 12 ch, V9.1"},
        {3, TRUE, TRUE, FALSE, FALSE, FALSE, FALSE, 12, u"Motorola M12, Rx Only, Bin, 12 ch, V9.1"},
        {17, FALSE, FALSE, FALSE, FALSE, TRUE, FALSE, 8, u"CNXT/NVMN, Bin, 8 ch, V9.1, has DGPS"},
        {5, FALSE, FALSE, TRUE, TRUE, FALSE, TRUE, 12,
         u"i-Lotus M12M, Bin, 12 ch, V9.1, TRAIM, PVT6 Mode, Local Time Mode"},
        {23, FALSE, FALSE, FALSE, FALSE, FALSE, FALSE, -1, u"Halvorn WQT-M8F, Bin, 0 ch, V9.1"},
        {0, FALSE, FALSE, FALSE, FALSE, FALSE, FALSE, 8, u"Motorola , Bin, 8 ch, V9.1"},
    };
    for (const Case& c : cases) {
        ReceiverIdentity id;
        id.model = c.model;
        id.nativeChannels = c.channels;
        id.versionText = u"9.1";
        id.hasDgps = c.dgps;
        id.hasTraim = c.traim;
        EXPECT_EQ(BinaryIdentityLine(id, c.plus, c.rxOnly, c.pvt6, c.localTime).str(), c.line);
    }
    ReceiverIdentity id;
    id.model = 20;
    id.nativeChannels = 8;
    id.versionText = u"1.0";
    id.hasDgps = TRUE;
    EXPECT_EQ(NmeaIdentityLine(id).str(), u"i-Lotus TX Oncore, NMEA Mode, 8 ch, V1.0, has DGPS");
}

TEST_F(Initialisation, ConfirmedPortDialogTellsTheReceiverItsNewRateFirst) {
    g_interfaceMode = kModeMotorolaBinary;
    host.receiver = OncoreScript{};
    init.ApplyConfirmedPortDialog(kModeMotorolaBinary, 19200, u"\\\\.\\COM3", FALSE);
    ASSERT_FALSE(host.sent.empty());
    EXPECT_EQ(host.sent[0].command, Oncore("Wb", {0x41, 0x92}));
    EXPECT_EQ(host.sent[0].rate, 9600u) << "at the old rate";
    EXPECT_EQ(host.settingsTaken, 1);
    EXPECT_EQ(host.usedPorts, (std::vector<CString>{u"\\\\.\\COM3"}));
    EXPECT_EQ(host.reconfigures, 1);
    EXPECT_EQ(host.baudRate, 19200u);
    EXPECT_EQ(host.parameterLoads, 1);

    host.sent.clear();
    init.ApplyConfirmedPortDialog(kModeUbloxUbx, 57600, u"\\\\.\\COM3", TRUE);
    EXPECT_EQ(host.sent[0].command, Oncore("Wb", {0x01, 0x34}));

    host.sent.clear();
    init.ApplyConfirmedPortDialog(kModeGenericNmea, 4800, u"\\\\.\\COM3", FALSE);
    EXPECT_TRUE(host.sent.empty());
}

} // namespace
