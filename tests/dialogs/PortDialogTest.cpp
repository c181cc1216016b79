#include "dialogs/CPortDialog.h"

#include "DialogTestSupport.h"
#include "platform/serial/PortMap.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

constexpr char16_t kSection[] = u"GPS Interface";

// The system's ports are the ones a test names through the environment; /dev stands for an empty folder.
class PortDialog : public dialogtest::ProfileTest {
protected:
    void SetUp() override {
        ProfileTest::SetUp();
        const auto root = testsupport::ScratchDir() / "no-devices";
        std::filesystem::create_directories(root);
        doliva::serial::SetDeviceRootForTests(root.string());
    }
    void TearDown() override {
        for (int n : m_ports) {
            unsetenv(("DOLIVA_COM" + std::to_string(n)).c_str());
        }
        doliva::serial::SetDeviceRootForTests("");
        ProfileTest::TearDown();
    }
    void AddSystemPort(int n) {
        setenv(("DOLIVA_COM" + std::to_string(n)).c_str(), "rfc2217://127.0.0.1:2217", 1);
        m_ports.push_back(n);
    }
    static void Store(LPCTSTR key, LPCTSTR value) { AppWriteProfileString(kSection, key, value); }

private:
    std::vector<int> m_ports;
};

TEST_F(PortDialog, FreshProfileProbesThePortsAndStartsInSearch) {
    AddSystemPort(3);
    AddSystemPort(12);
    {
        CPortDialog dlg;
        EXPECT_EQ(dlg.m_portList, u"COM3,COM12");
        EXPECT_EQ(dlg.GetPortName(), u"COM3");
        EXPECT_EQ(dlg.m_modeText, u"Search");
        EXPECT_EQ(dlg.GetInterfaceMode(), kModeSearch);
        EXPECT_EQ(dlg.GetBaudRate(), 9600u);
        EXPECT_EQ(dlg.GetPpsInterface(), kPpsDcd);
        EXPECT_EQ(dlg.GetDataBitsFlag(), 1);
        EXPECT_EQ(dlg.GetHandshake(), 0);
        EXPECT_EQ(dlg.GetParity(), 0);
        EXPECT_EQ(dlg.GetStopBits(), 0);
        EXPECT_FALSE(dlg.GetNoGpsInit());
        EXPECT_FALSE(dlg.GetAutoRestart());
        EXPECT_TRUE(dlg.m_networkAddress.IsEmpty());
        // No receiver type chosen yet: the type dialog's identity for no choice (a UT+ of firmware 2.0).
        ReceiverIdentity identity;
        EXPECT_TRUE(dlg.GetReceiverIdentity(identity));
        EXPECT_EQ(identity.model, 9);
        EXPECT_EQ(identity.versionText, u"2.0");
        // Written while the lists were repaired, before anything else.
        EXPECT_EQ(Stored(kSection, u"COM Ports"), u"COM3,COM12");
        EXPECT_EQ(Stored(kSection, u"Port"), u"COM3");
        EXPECT_EQ(Stored(kSection, u"Port Rate"), u"<none>");
    }
    // The destructor stores the settings once more.
    EXPECT_EQ(StoredInt(kSection, u"Port Rate"), 4);
    EXPECT_EQ(StoredInt(kSection, u"1PPS Interface"), 1);
    EXPECT_EQ(Stored(kSection, u"PEX Mode"), u"Search");
}

TEST_F(PortDialog, NoPortAtAllLeavesOnlyTheNetworkChoice) {
    CPortDialog dlg;
    EXPECT_TRUE(dlg.m_portList.IsEmpty());
    EXPECT_TRUE(dlg.GetPortName().IsEmpty());
    EXPECT_EQ(dlg.PortChoices(), std::vector<CString>{u"TCP/IP"});
}

TEST_F(PortDialog, StoredPortListIsRepaired) {
    struct Case {
        const char16_t* stored;
        const char16_t* list;
        const char16_t* written; // null: not written again
    };
    const Case cases[] = {
        {u"COM1,COM3,", u"COM1,COM3", u"COM1,COM3"},
        {u"TCP/IP,COM1,COM2", u"TCP/IP,COM1,COM2", nullptr},
        {u"COM1,COM2,TCP/IP", u"COM1,COM2", u"COM1,COM2"},
        {u"TCP/IP", u"COM5", u"COM5"}, // nothing left: probed
    };
    AddSystemPort(5);
    for (const Case& c : cases) {
        SCOPED_TRACE(Utf16ToUtf8(c.stored));
        Store(u"COM Ports", c.stored);
        Store(u"Port", u"COM1");
        doliva::registry::DropCachedHives();
        CPortDialog dlg;
        EXPECT_EQ(dlg.m_portList, c.list);
        EXPECT_EQ(Stored(kSection, u"COM Ports"), c.written ? c.written : c.stored);
    }
}

// A stored port must be one of the list's entries, whole: "COM1" is not in "COM10,COM12".
TEST_F(PortDialog, PortNotInTheListBecomesTheFirstEntry) {
    struct Case {
        const char16_t* list;
        const char16_t* port;
        const char16_t* kept;
    };
    const Case cases[] = {
        {u"COM10,COM12", u"COM1", u"COM10"}, {u"COM3,COM1", u"COM1", u"COM1"},
        {u"COM3,COM11", u"COM1", u"COM3"},   {u"COM3,COM4", u"", u"COM3"},
        {u"COM3,COM4", u"OM4", u"COM3"},     {u"TCP/IP,COM4", u"TCP/IP", u"TCP/IP"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(Utf16ToUtf8(c.port));
        Store(u"COM Ports", c.list);
        Store(u"Port", c.port);
        doliva::registry::DropCachedHives();
        CPortDialog dlg;
        EXPECT_EQ(dlg.GetPortName(), c.kept);
        EXPECT_EQ(Stored(kSection, u"Port"), c.kept);
    }
}

TEST_F(PortDialog, StoredModeThatIsNotListedBecomesSearch) {
    Store(u"COM Ports", u"COM1");
    for (auto [stored, kept] : {std::pair{u"Motorola LORAN", u"Search"},
                                {u"", u"Search"},
                                {u"u-blox UBX", u"u-blox UBX"},
                                {u"Generic NMEA", u"Generic NMEA"}}) {
        Store(u"PEX Mode", stored);
        doliva::registry::DropCachedHives();
        CPortDialog dlg;
        EXPECT_EQ(dlg.m_modeText, kept);
        EXPECT_EQ(Stored(kSection, u"PEX Mode"), kept);
    }
}

TEST_F(PortDialog, ModeNamesAndCodes) {
    const std::pair<const char16_t*, int> modes[] = {
        {u"Search", 11},       {u"Motorola Binary", 2}, {u"Motorola Binary Rx Only", 3},
        {u"Motorola NMEA", 1}, {u"u-blox UBX", 9},      {u"u-blox NMEA", 10},
        {u"Generic NMEA", 6},  {u"Motorola LORAN", 0},
    };
    for (auto [name, code] : modes) {
        EXPECT_EQ(CPortDialog::InterfaceModeFromName(name), code);
        EXPECT_EQ(CPortDialog::InterfaceModeName(code), name);
    }
    EXPECT_EQ(CPortDialog::InterfaceModeFromName(u"Motorola"), kModeSearch);
    EXPECT_EQ(CPortDialog::InterfaceModeFromName(u"search"), kModeSearch);
    EXPECT_TRUE(CPortDialog::InterfaceModeName(4).IsEmpty());
    EXPECT_EQ(CPortDialog::ModeList(), u"Search,Motorola Binary,Motorola Binary Rx Only,Motorola NMEA,"
                                       u"u-blox UBX,u-blox NMEA,Generic NMEA");
}

TEST_F(PortDialog, SetInterfaceModeStoresNamedModesOnly) {
    Store(u"COM Ports", u"COM1");
    CPortDialog dlg;
    dlg.SetInterfaceMode(kModeMotorolaNmea);
    EXPECT_EQ(dlg.GetInterfaceMode(), kModeMotorolaNmea);
    EXPECT_EQ(Stored(kSection, u"PEX Mode"), u"Motorola NMEA");
    dlg.SetInterfaceMode(5);
    EXPECT_EQ(dlg.m_modeText, u"Motorola NMEA");
    dlg.SetInterfaceMode(kModeMotorolaLoran);
    EXPECT_EQ(Stored(kSection, u"PEX Mode"), u"Motorola LORAN");
}

TEST_F(PortDialog, RateOfEachIndex) {
    const DWORD rates[] = {300, 1200, 2400, 4800, 9600, 14400, 19200, 38400, 57600, 115200};
    for (int i = 0; i < 10; ++i) {
        EXPECT_EQ(CPortDialog::RateForIndex(i), rates[i]);
    }
    for (int outside : {-1, 10, 1000}) {
        EXPECT_EQ(CPortDialog::RateForIndex(outside), 4800u) << outside;
    }
}

TEST_F(PortDialog, ChosenModeSetsItsRateAndOffersOnlyItsRates) {
    struct Case {
        const char16_t* mode;
        int rateIndex;
        const char* enabled; // one character per rate index
    };
    const Case cases[] = {
        {u"Search", 3, "0000000000"},
        {u"Motorola Binary", 4, "0001101110"},
        {u"Motorola Binary Rx Only", 4, "1111111111"},
        {u"Motorola NMEA", 3, "1111111111"},
        {u"u-blox UBX", 8, "0001101110"},
        {u"u-blox NMEA", 8, "0001101110"},
        {u"Generic NMEA", 3, "1111111111"},
    };
    Store(u"COM Ports", u"COM1");
    CPortDialog dlg;
    for (const Case& c : cases) {
        SCOPED_TRACE(Utf16ToUtf8(c.mode));
        dlg.m_autoRestart = TRUE;
        dlg.m_rateIndex = 0;
        dlg.OnModeChanged(c.mode);
        EXPECT_EQ(dlg.m_rateIndex, c.rateIndex);
        EXPECT_FALSE(dlg.m_autoRestart);
        std::string enabled;
        for (int i = 0; i < 10; ++i) {
            enabled += CPortDialog::IsRateEnabled(c.mode, i) ? '1' : '0';
        }
        EXPECT_EQ(enabled, c.enabled);
        EXPECT_EQ(CPortDialog::IsAutoRestartEnabled(c.mode), c.rateIndex == 4 && c.enabled[0] == '0');
    }
}

TEST_F(PortDialog, OpeningReplacesARateTheModeDoesNotOffer) {
    Store(u"COM Ports", u"COM1");
    AppWriteProfileInt(kSection, u"gps_auto_restart", 1);
    for (auto [mode, stored, opened, autoRestart] : {std::tuple{u"Motorola Binary", 9, 4, FALSE},
                                                     {u"Motorola Binary", 7, 7, TRUE},
                                                     {u"u-blox UBX", 5, 8, FALSE},
                                                     {u"Search", 4, 3, FALSE},
                                                     {u"Generic NMEA", 9, 9, TRUE}}) {
        SCOPED_TRACE(Utf16ToUtf8(mode));
        Store(u"PEX Mode", mode);
        AppWriteProfileInt(kSection, u"Port Rate", stored);
        doliva::registry::DropCachedHives();
        CPortDialog dlg;
        dlg.m_autoRestart = TRUE;
        dlg.OnInitDialog();
        EXPECT_EQ(dlg.m_rateIndex, opened);
        EXPECT_EQ(dlg.m_autoRestart, autoRestart);
    }
}

TEST_F(PortDialog, NetworkAddressCheck) {
    struct Case {
        const char16_t* address;
        BOOL valid;
    };
    const Case cases[] = {
        {u"192.168.10.123", TRUE},
        {u"192.168.10.123:9761", TRUE},
        {u"999.1.2.3", TRUE},
        {u"192.168.10.123;9761", FALSE},
        {u"192.168.10.123 9761", FALSE},
        {u"host", FALSE},
        {u"", FALSE},
        {u"192.168.10", FALSE},
        {u"host:9761", FALSE},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(CPortDialog::IsValidNetworkAddress(c.address), c.valid) << Utf16ToUtf8(c.address);
    }
}

TEST_F(PortDialog, OkStoresTheSettingsAndThePortChoices) {
    Store(u"COM Ports", u"COM1,COM2");
    {
        CPortDialog dlg;
        dlg.m_portName = u"COM2";
        dlg.OnModeChanged(u"u-blox UBX");
        dlg.m_rateIndex = 6;
        dlg.m_ppsIndex = kPpsCts;
        dlg.m_noGpsInit = TRUE;
        dlg.m_networkAddress = u"10.0.0.1:4001";
        dlg.OnOK();
        EXPECT_EQ(Stored(kSection, u"COM Ports"), u"TCP/IP,COM1,COM2");
        EXPECT_EQ(Stored(kSection, u"Port"), u"COM2");
        EXPECT_EQ(StoredInt(kSection, u"Port Rate"), 6);
        EXPECT_EQ(StoredInt(kSection, u"1PPS Interface"), 2);
        EXPECT_EQ(Stored(kSection, u"PEX Mode"), u"u-blox UBX");
        EXPECT_EQ(StoredInt(kSection, u"NoGpsInit"), 1);
        EXPECT_EQ(StoredInt(kSection, u"gps_auto_restart"), 0);
        EXPECT_EQ(Stored(kSection, u"PEX TCP/IP Address"), u"10.0.0.1:4001");

        dlg.m_networkAddress = u"gps.local";
        dlg.OnOK();
        EXPECT_TRUE(dlg.m_networkAddress.IsEmpty());
        EXPECT_EQ(Stored(kSection, u"PEX TCP/IP Address"), u"");
    }
    CPortDialog reread;
    EXPECT_EQ(reread.m_portList, u"TCP/IP,COM1,COM2");
    EXPECT_EQ(reread.PortChoices(), (std::vector<CString>{u"TCP/IP", u"COM1", u"COM2"}));
    EXPECT_EQ(reread.GetPortName(), u"COM2");
    EXPECT_EQ(reread.GetBaudRate(), 19200u);
    EXPECT_EQ(reread.GetInterfaceMode(), kModeUbloxUbx);
    EXPECT_EQ(reread.GetPpsInterface(), kPpsCts);
    EXPECT_TRUE(reread.GetNoGpsInit());
}

TEST_F(PortDialog, ProbeReplacesAChangedList) {
    Store(u"COM Ports", u"COM1");
    AddSystemPort(2);
    CPortDialog dlg;
    EXPECT_EQ(dlg.m_portList, u"COM1");
    dlg.OnProbePorts();
    EXPECT_EQ(dlg.m_portList, u"COM2");
    EXPECT_EQ(Stored(kSection, u"COM Ports"), u"COM2");
}

TEST_F(PortDialog, ReceiverIdentityCountsWithAVersion) {
    Store(u"COM Ports", u"COM1");
    CPortDialog dlg;
    ReceiverIdentity chosen;
    chosen.model = 3;
    chosen.firmwareVersion = 1.3f;
    chosen.versionText = u"1.3";
    chosen.hasTraim = TRUE;
    dlg.SetReceiverIdentity(chosen);
    ReceiverIdentity copy;
    EXPECT_TRUE(dlg.GetReceiverIdentity(copy));
    EXPECT_EQ(copy.model, 3);
    EXPECT_EQ(copy.versionText, u"1.3");
    EXPECT_TRUE(copy.hasTraim);
}

} // namespace
