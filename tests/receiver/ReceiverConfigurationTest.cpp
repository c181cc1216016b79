// The configuration commands per model family, byte for byte, as the transmit thread would get them.
#include "receiver/ReceiverConfiguration.h"
#include "tests/receiver/DecoderTestSupport.h"
#include "tests/receiver/InitTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace init_test;
using decoder_test::InterfaceModeScope;

namespace {

std::u16string TraimLong(const char* id, int on, int alarm, int control) {
    return Oncore(id, {0, on, alarm >> 8, alarm & 0xFF, control, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0});
}

class Configuration : public LinkStateTest {
protected:
    void Identify(int model, int channels, BOOL traim = FALSE) {
        g_receiverIdentity.model = model;
        g_receiverIdentity.activeChannels = channels;
        g_receiverIdentity.nativeChannels = channels;
        g_receiverIdentity.hasTraim = traim;
    }
    // The commands sent from the first one starting with `from`.
    std::vector<std::u16string> From(const std::u16string& from) const {
        const auto all = host.Commands();
        const auto it =
            std::find_if(all.begin(), all.end(), [&](const auto& c) { return c.starts_with(from); });
        return std::vector<std::u16string>(it, all.end());
    }
    bool WasSent(const std::u16string& prefix) const {
        const auto all = host.Commands();
        return std::any_of(all.begin(), all.end(), [&](const auto& c) { return c.starts_with(prefix); });
    }
    void Flush() { host.SleepMs(0); }

    ScriptedInitHost host;
    ReceiverConfiguration config{host};
};

TEST_F(Configuration, EightChannelReceiverSetupSendsTheWholeSequence) {
    InterfaceModeScope mode(kModeMotorolaBinary);
    Identify(9, 8);
    host.parameters.dgpsOutput = TRUE;
    host.parameters.dgpsRate = 20;
    host.parameters.satEnableMask = 0xFFFFFFFEu; // PRN 1 disabled
    config.SendReceiverSetup();
    Flush();
    const std::vector<std::u16string> expected = {
        Oncore("Aw", {1}),
        Oncore("Aa", {12, 34, 56}),
        Oncore("Ab", {0, 0, 0}),
        Oncore("Ac", {3, 15, 0x07, 0xE8}),
        Oncore("AP", {0}),
        Oncore("Gc", {1}),
        Oncore("Ag", {0}),
        Oncore("At", {0}),
        Oncore("Av", {0}),
        Oncore("Aq", {3}),
        Oncore("Ar", {1}),
        Oncore("Ah", {0}),
        Oncore("Aj", {0}),
        Oncore("AB", {0}),
        Oncore("AE", {0}),
        Oncore("Bh", {20}),
        Oncore("Am", {0, 0, 0, 0, 1}),
        Oncore("Hb", {0}),
        Oncore("Ea", {1}),
        Oncore("Ek", {1}),
        TraimLong("Bn", 0, 10, 1),
        TraimLong("En", 0, 10, 1),
        Oncore("Hn", {0}),
        TraimLong("En", 0, 10, 1),
    };
    EXPECT_EQ(host.Commands(), expected);
    EXPECT_TRUE(host.showTraimStatusOnce);
    EXPECT_FALSE(g_receiverIdentity.hasTraim) << "the last T-RAIM command timed out";
}

TEST_F(Configuration, ModelFamiliesChooseTheirCommands) {
    struct Case {
        int model, channels, gpsMode;
        std::vector<std::u16string> present, absent;
        std::u16string lastTraim;
    };
    const Case cases[] = {
        // A 12-channel receiver: position control by "@@Gd" and the 12-channel outputs.
        {3,
         12,
         2,
         {Oncore("Gd", {1}), Oncore("Ha", {1}), Oncore("Gb")},
         {u"@@At", u"@@Ar", u"@@Sc", u"@@Aa"},
         Oncore("Hn", {0})},
        // The M8 receivers get the selection group and the constellations as well.
        {24,
         12,
         1,
         {Oncore("Gd", {2}), Oncore("Ar", {1}), Oncore("Sc", {0x81})},
         {u"@@At"},
         Oncore("Hn", {0})},
        // A 6-channel receiver.
        {11,
         6,
         2,
         {Oncore("At", {1}), Oncore("Av", {0}), Oncore("Ba", {1}), Oncore("Bk", {1})},
         {u"@@Gd", u"@@Ha"},
         TraimLong("Bn", 0, 10, 1)},
        // 2-D on an 8-channel receiver.
        {9, 8, 1, {Oncore("At", {0}), Oncore("Av", {1})}, {u"@@Gd"}, TraimLong("En", 0, 10, 1)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.model);
        TearDown();
        SetUp();
        host.sent.clear();
        InterfaceModeScope mode(kModeMotorolaBinary);
        Identify(c.model, c.channels);
        host.parameters.gpsMode = c.gpsMode;
        host.parameters.satGps = TRUE;
        host.parameters.satSbas = TRUE;
        config.SendReceiverSetup();
        Flush();
        for (const auto& p : c.present) {
            EXPECT_TRUE(WasSent(p)) << decoder_test::Narrow(p);
        }
        for (const auto& a : c.absent) {
            EXPECT_FALSE(WasSent(a)) << decoder_test::Narrow(a);
        }
        EXPECT_EQ(host.Commands().back(), c.lastTraim);
    }
}

TEST_F(Configuration, CorrectionsAndSatelliteMask) {
    InterfaceModeScope mode(kModeMotorolaBinary);
    Identify(9, 8);
    const struct { int iono, tropo, code; } cases[] = {{0, 0, 3}, {0, 1, 1}, {1, 0, 2}, {1, 1, 0}};
    for (const auto& c : cases) {
        host.sent.clear();
        host.parameters.ionoCorrection = c.iono;
        host.parameters.tropoCorrection = c.tropo;
        config.SendReceiverSetup();
        Flush();
        EXPECT_TRUE(WasSent(Oncore("Aq", {c.code}))) << c.iono << c.tropo;
        EXPECT_TRUE(WasSent(Oncore("Am", {0, 0, 0, 0, 0}))) << "all PRNs enabled";
    }
}

TEST_F(Configuration, SixChannelModeSwitchesTheCountAndTheStatusText) {
    InterfaceModeScope mode(kModeMotorolaBinary);
    Identify(9, 8);
    host.parameters.sixChannelMode = TRUE;
    config.SendReceiverSetup();
    config.SendReceiverSetup();
    Flush();
    EXPECT_EQ(g_receiverIdentity.activeChannels, 6);
    EXPECT_EQ(host.displaysCleared, 1);
    EXPECT_EQ(host.statusText, u", PVT6 Mode");
    EXPECT_TRUE(WasSent(Oncore("Ba", {1})));
    EXPECT_TRUE(WasSent(Oncore("Bk", {1})));
    EXPECT_EQ(host.Commands().back(), TraimLong("Bn", 0, 10, 1));

    host.parameters.sixChannelMode = FALSE;
    config.SendReceiverSetup();
    EXPECT_EQ(g_receiverIdentity.activeChannels, 8);
    EXPECT_EQ(host.statusText, u"");
    EXPECT_EQ(host.displaysCleared, 2);
}

TEST_F(Configuration, TimeSetupOffsetsByTimeZone) {
    InterfaceModeScope mode(kModeMotorolaBinary);
    Identify(3, 12);
    host.parameters.gpsRxOnLocalTime = TRUE;
    const struct {
        int bias;
        std::initializer_list<int> offset;
    } cases[] = {{-60, {0x00, 1, 0}}, {300, {0xFF, 5, 0}}, {0, {0xFF, 0, 0}}, {-330, {0x00, 5, 30}}};
    for (const auto& c : cases) {
        host.sent.clear();
        host.timeZoneBiasMin = c.bias;
        config.SendTimeSetup();
        Flush();
        std::u16string gb = Oncore("Gb", {3, 15, 0x07, 0xE8, 12, 34, 56});
        for (int b : c.offset) {
            gb.push_back(static_cast<char16_t>(b));
        }
        EXPECT_EQ(host.Commands(), (std::vector<std::u16string>{Oncore("Aw", {1}), gb})) << c.bias;
    }
    EXPECT_EQ(host.statusText, u", Local Time Mode");
    host.parameters.gpsRxOnLocalTime = FALSE;
    config.SendTimeSetup();
    EXPECT_EQ(host.statusText, u"");
}

TEST_F(Configuration, TimingSetupForNewerAndOlderModels) {
    InterfaceModeScope mode(kModeMotorolaBinary);
    host.timing.totalLate = 1234.5678; // µs
    host.timing.utcCorrection = -42.9;
    Identify(3, 12);
    config.SendTimingSetup();
    Flush();
    // 1234567.8 ns + 0.5, truncated; -42.
    EXPECT_EQ(host.Commands(),
              (std::vector<std::u16string>{Oncore("Ay", {0x00, 0x12, 0xD6, 0x88}),
                                           Oncore("Az", {0xFF, 0xFF, 0xFF, 0xD6}), Oncore("Gc", {1})}));
    EXPECT_EQ(host.epochOffsets, (std::vector<LONG>{0}));
    EXPECT_EQ(host.ppsOffsets, (std::vector<ULONG>{1234568}));

    host.sent.clear();
    Identify(1, 8);
    config.SendTimingSetup();
    Flush();
    // 1 ms epoch, 234568 ns.
    EXPECT_EQ(host.Commands(),
              (std::vector<std::u16string>{Oncore("Ax", {0, 1}), Oncore("Ay", {0x00, 0x03, 0x94, 0x48}),
                                           Oncore("Az", {0xFF, 0xFF, 0xFF, 0xD6})}));

    // A whole second is no offset at all.
    host.sent.clear();
    host.timing.totalLate = 1000000;
    config.SendTimingSetup();
    Flush();
    EXPECT_EQ(host.Commands()[0], Oncore("Ax", {0, 0}));
    EXPECT_EQ(host.Commands()[1], Oncore("Ay", {0, 0, 0, 0}));
    host.sent.clear();
    Identify(3, 12);
    config.SendTimingSetup();
    Flush();
    EXPECT_EQ(host.Commands()[0], Oncore("Ay", {0, 0, 0, 0}));
}

TEST_F(Configuration, TraimSettingsOfTheTwelveChannelFamily) {
    InterfaceModeScope mode(kModeMotorolaBinary);
    Identify(3, 12, TRUE);
    host.timing.traimLimit = 500;
    config.SendTimingSetup();
    Flush();
    EXPECT_EQ(From(u"@@Hn"), (std::vector<std::u16string>{Oncore("Hn", {0}), Oncore("Gc", {1}),
                                                          Oncore("Ge", {1}), Oncore("Gf", {0, 5})}));
    EXPECT_EQ(config.m_traim.on, 1);
    EXPECT_EQ(config.m_traim.ppsControl, 1);

    host.sent.clear();
    host.timing.traimLimit = 150;
    host.timing.traimConditioned = TRUE;
    host.parameters.ppsDuration = 1;
    config.SendTimingSetup();
    Flush();
    EXPECT_EQ(From(u"@@Hn"), (std::vector<std::u16string>{Oncore("Hn", {0}), Oncore("Gc", {7}),
                                                          Oncore("Ge", {1}), Oncore("Gf", {0, 3})}));
    EXPECT_EQ(config.m_traim.alarmLimit, 3);

    // An 8-channel receiver gets the long T-RAIM command with the settings.
    host.sent.clear();
    Identify(9, 8, TRUE);
    host.timing.traimLimit = 0;
    config.SendTimingSetup();
    Flush();
    EXPECT_EQ(host.Commands().back(), TraimLong("En", 0, 10, 1));
}

TEST_F(Configuration, PositionSetupLimitsTheHeight) {
    InterfaceModeScope mode(kModeMotorolaBinary);
    Identify(9, 8);
    host.reference = {47.5, -8.25, 20000, 0};
    config.SendPositionSetup();
    Flush();
    // 171000000 and -29700000 milliarcseconds; 1800000 cm.
    const std::initializer_list<int> lat = {0x0A, 0x31, 0x40, 0xC0};
    const std::initializer_list<int> lon = {0xFE, 0x3A, 0xD0, 0x60};
    const std::initializer_list<int> height = {0x00, 0x1B, 0x77, 0x40};
    auto join = [](const char* id, std::initializer_list<std::initializer_list<int>> parts) {
        std::u16string s = Oncore(id);
        for (const auto& part : parts) {
            for (int b : part) {
                s.push_back(static_cast<char16_t>(b));
            }
        }
        return s;
    };
    EXPECT_EQ(host.Commands(),
              (std::vector<std::u16string>{join("Ad", {lat}), join("Ae", {lon}), join("Af", {height, {0}}),
                                           join("As", {lat, lon, height, {0}}), join("Au", {height, {0}})}));

    host.sent.clear();
    Identify(3, 12);
    host.parameters.gpsMode = 2;
    host.reference.heightWgs84 = -2000;
    config.SendPositionSetup();
    Flush();
    const std::initializer_list<int> low = {0xFF, 0xFE, 0x79, 0x60}; // -100000 cm
    EXPECT_EQ(host.Commands(),
              (std::vector<std::u16string>{Oncore("Gd", {0}), join("Ga", {lat, lon, low, {0}}),
                                           join("As", {lat, lon, low, {0}}), join("Au", {low, {0}}),
                                           Oncore("Gd", {1})}));
}

TEST_F(Configuration, EarthCentredCoordinates) {
    LONG xyz[3];
    EarthCentredCm(0, 0, 0, xyz);
    EXPECT_EQ(xyz[0], 637813700);
    EXPECT_EQ(xyz[1], 0);
    EXPECT_EQ(xyz[2], 0);
    EarthCentredCm(90, 0, 0, xyz);
    EXPECT_NEAR(xyz[2], 635675231, 2); // the polar radius
}

TEST_F(Configuration, UbloxReceiverSetupSendsTheTimePulseOnlyWhenItChanged) {
    InterfaceModeScope mode(kModeUbloxUbx);
    g_receiverIdentity.model = kModelUblox;
    host.parameters.applicationType = 4;
    host.parameters.elevationMask = -5;
    host.parameters.gpsMode = 2;
    host.parameters.satGps = TRUE;
    config.SendReceiverSetup();
    Flush();
    std::vector<std::u16string> ids;
    for (const auto& c : host.Commands()) {
        ids.push_back(c.substr(2, 2));
    }
    EXPECT_EQ(ids, (std::vector<std::u16string>{u"\u0006\u0024", u"\u000B\u0001", u"\u0006\u001D",
                                                u"\u0006\u003E"}));
    const auto sent = host.Commands();
    const auto& nav = sent[0];
    ASSERT_EQ(nav.size(), 6u + 36u);
    EXPECT_EQ(nav[8], 2); // static
    EXPECT_EQ(nav[9], 3);
    EXPECT_EQ(nav[18], 0); // the negative mask becomes 0
    const auto& gnss = sent[3];
    ASSERT_EQ(gnss.size(), 6u + 60u);
    EXPECT_EQ(gnss.substr(6, 4), (std::u16string{0, 0, 0x20, 7}));
    EXPECT_EQ(gnss.substr(10, 8), (std::u16string{0, 8, 16, 0, 1, 0, 1, 1})); // GPS on
    EXPECT_EQ(gnss.substr(26, 8), (std::u16string{2, 0, 16, 0, 0, 0, 0, 1})); // Galileo off
    EXPECT_EQ(gnss.substr(42, 8), (std::u16string{4, 0, 16, 0, 0, 0, 1, 1})); // IMES always off

    host.sent.clear();
    host.parameters.pulseMode = 1;
    host.parameters.ppsDuration = 1;
    host.timing.totalLate = 1.5;     // 1500 ns
    host.timing.utcCorrection = 100; // ns
    config.SendReceiverSetup();
    Flush();
    const auto tp = From(u"\u00B5\u0062\u0006\u0031");
    ASSERT_FALSE(tp.empty());
    std::u16string payload = tp[0].substr(6);
    EXPECT_EQ(payload,
              (std::u16string{1,    1,    0, 0, 0,    0,    0, 0, 100,  0,    0,    0,    100,  0,    0, 0,
                              0x51, 0xF7, 1, 0, 0x51, 0xF7, 1, 0, 0x88, 0xFA, 0xFF, 0xFF, 0xEF, 0x08, 0, 0}));
    EXPECT_EQ(g_ppsRate100, 1);
    EXPECT_EQ(g_ppsDurationSent, 1);
}

TEST_F(Configuration, PortConfigurationCarriesTheWholeRate) {
    const std::u16string prt = UbxPortConfiguration(115200).str();
    EXPECT_EQ(prt.substr(0, 6), (std::u16string{0xB5, 0x62, 6, 0, 20, 0}));
    EXPECT_EQ(prt.substr(6 + 4, 4), (std::u16string{0xC0, 0x08, 0, 0}));
    EXPECT_EQ(prt.substr(6 + 8, 4), (std::u16string{0x00, 0xC2, 0x01, 0x00}));
    EXPECT_EQ(prt.substr(6 + 12, 8), (std::u16string{3, 0, 3, 0, 0, 0, 0, 0}));
}

// The time aiding carries GPS time, not UTC: the GPS-UTC offset is added, and the accuracy is claimed in
// milliseconds (one second), not as a microsecond in the nanosecond field.
TEST_F(Configuration, AidingFrames) {
    auto le32 = [](ULONG v) {
        return std::u16string{static_cast<char16_t>(v & 0xFF), static_cast<char16_t>((v >> 8) & 0xFF),
                              static_cast<char16_t>((v >> 16) & 0xFF), static_cast<char16_t>(v >> 24)};
    };
    // 2024-03-15 12:34:56.789 UTC is GPS 12:35:14.789: week 2305, 5 days and 45314.789 s into it.
    const std::u16string time = UbxTimeAiding(1710506096, 789, 18).str();
    ASSERT_EQ(time.size(), 6u + 48u);
    EXPECT_EQ(time.substr(6 + 18, 2), (std::u16string{0x01, 0x09}));
    EXPECT_EQ(time.substr(6 + 20, 4), le32(5 * 86400000u + 45314789u));
    EXPECT_EQ(time.substr(6 + 28, 4), le32(1000)); // tAccMs
    EXPECT_EQ(time.substr(6 + 32, 4), le32(0));    // tAccNs
    EXPECT_EQ(time.substr(6 + 44, 4), le32(2));    // the time is valid
    // The leap seconds carry across the end of the week.
    const std::u16string weekEnd = UbxTimeAiding(1710633600 - 10, 0, 18).str(); // Saturday 23:59:50 UTC
    EXPECT_EQ(weekEnd.substr(6 + 18, 2), (std::u16string{0x02, 0x09}));
    EXPECT_EQ(weekEnd.substr(6 + 20, 4), le32(8000));

    // The time set-up takes the receiver's offset, and the known one until the receiver has said.
    InterfaceModeScope mode(kModeUbloxUbx);
    for (const auto& [said, used] : {std::pair<LONG, ULONG>{0, 18}, {17, 17}}) {
        host.sent.clear();
        host.gpsUtcOffsetSec = said;
        config.SendTimeSetup();
        Flush();
        const auto aiding = From(u"\u00B5\u0062\u000B\u0001");
        ASSERT_EQ(aiding.size(), 1u);
        EXPECT_EQ(aiding[0].substr(6 + 20, 4), le32(5 * 86400000u + (45296u + used) * 1000u + 789u)) << said;
    }
    const std::u16string position = UbxPositionAiding({-1.5, 2.25, 10, 0}).str();
    EXPECT_EQ(position.substr(6, 8), (std::u16string{0x40, 0x1E, 0x1B, 0xFF, 0xA0, 0x52, 0x57, 0x01}));
}

TEST_F(Configuration, OtherModesSendNothing) {
    for (int m : {kModeGenericNmea, kModeMotorolaNmea, kModeMotorolaRxOnly, kModeMotorolaLoran}) {
        InterfaceModeScope mode(m);
        Identify(3, 12, TRUE);
        config.SendReceiverSetup();
        config.SendTimingSetup();
        config.SendTimeSetup();
        config.SendPositionSetup();
        Flush();
        EXPECT_TRUE(host.Commands().empty()) << m;
        EXPECT_EQ(g_receiverIdentity.activeChannels, 12);
    }
}

} // namespace
