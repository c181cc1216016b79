#include "SerialTestSupport.h"

#include "platform/base/CodePage.h"
#include "platform/serial/FakeSerialPort.h"

#include <filesystem>
#include <unistd.h>

namespace serialtest {
namespace {

namespace fs = std::filesystem;
using doliva::serial::ComPortNumber;
using doliva::serial::PortSource;
using doliva::serial::ResolveComPort;

std::string DeviceOf(int n) {
    const auto target = ResolveComPort(n);
    return target ? target->device : std::string("<none>");
}

TEST(ComPortNames, OnlyWholeComNamesCount) {
    struct Case {
        const char16_t* name;
        bool prefixAllowed;
        int number;
    } cases[] = {
        {u"COM1", false, 1},           {u"com10", false, 10},
        {u"\\\\.\\COM3", true, 3},     {u"\\\\.\\COM3", false, 0},
        {u"\\\\.\\com128", true, 128}, {u"COM0", false, 0},
        {u"COM01", false, 0},          {u"COM", false, 0},
        {u"COM1x", false, 0},          {u"COM1:", false, 0},
        {u"LPT1", false, 0},           {u" COM1", false, 0},
        {u"COM99999", false, 0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ComPortNumber(c.name, c.prefixAllowed), c.number) << Utf16ToUtf8(c.name);
    }
}

class PortMapTest : public SerialTest {
protected:
    void SetUp() override {
        SerialTest::SetUp();
        // An empty device root: the defaults name devices that are not there.
        root_ = dir_ + "/dev-" + ::testing::UnitTest::GetInstance()->current_test_info()->name();
        fs::remove_all(root_);
        fs::create_directories(root_);
        doliva::serial::SetDeviceRootForTests(root_);
    }
    std::string root_;
};

TEST_F(PortMapTest, NamesMatchWhole) {
    WriteSerialComm(false, {{"/dev/ten", "COM10"}, {"/dev/one", "COM1"}, {"/dev/eleven", "COM11"}});
    EXPECT_EQ(DeviceOf(1), "/dev/one");
    EXPECT_EQ(DeviceOf(10), "/dev/ten");
    EXPECT_EQ(DeviceOf(11), "/dev/eleven");
}

TEST_F(PortMapTest, UserHiveWinsOverMachineHiveAndEnvironmentOverBoth) {
    WriteSerialComm(true, {{"/dev/machine2", "COM2"}, {"/dev/machine3", "COM3"}});
    WriteSerialComm(false, {{"/dev/user2", "COM2"}});
    auto two = ResolveComPort(2);
    ASSERT_TRUE(two);
    EXPECT_EQ(two->device, "/dev/user2");
    EXPECT_EQ(two->source, PortSource::UserHive);
    auto three = ResolveComPort(3);
    ASSERT_TRUE(three);
    EXPECT_EQ(three->device, "/dev/machine3");
    EXPECT_EQ(three->source, PortSource::MachineHive);

    ScopedEnv env("DOLIVA_COM2", "rfc2217://127.0.0.1:4001");
    two = ResolveComPort(2);
    ASSERT_TRUE(two);
    EXPECT_EQ(two->device, "rfc2217://127.0.0.1:4001");
    EXPECT_EQ(two->source, PortSource::Environment);
    EXPECT_EQ(DeviceOf(3), "/dev/machine3"); // one port only
}

TEST_F(PortMapTest, DefaultsAreTheSerialPortsThenTheById) {
    fs::create_directories(root_ + "/serial/by-id");
    for (const char* name : {"usb-Vendor_B-if00-port0", "usb-Vendor_A-if00-port0"}) {
        std::ofstream(root_ + "/serial/by-id/" + name) << "";
    }
    EXPECT_EQ(DeviceOf(1), root_ + "/ttyS0");
    EXPECT_EQ(DeviceOf(4), root_ + "/ttyS3");
    EXPECT_EQ(DeviceOf(5), root_ + "/serial/by-id/usb-Vendor_A-if00-port0");
    EXPECT_EQ(DeviceOf(6), root_ + "/serial/by-id/usb-Vendor_B-if00-port0");
    EXPECT_EQ(DeviceOf(7), "<none>");
    // An entry for a port takes it out of the defaults; the others stay.
    WriteSerialComm(false, {{"/dev/elsewhere", "COM5"}});
    EXPECT_EQ(DeviceOf(5), "/dev/elsewhere");
    EXPECT_EQ(DeviceOf(6), root_ + "/serial/by-id/usb-Vendor_B-if00-port0");
}

TEST_F(PortMapTest, DefaultCommConfigAnswersForPresentPortsWithoutOpeningThem) {
    PtyPair pty;
    fs::create_symlink(pty.SlavePath(), root_ + "/ttyS0"); // COM1 is there, COM2-COM4 are not
    auto wire = doliva::serial::FakeSerialWire::Create("probe");
    ScopedEnv fake("DOLIVA_COM8", wire->Device());
    ScopedEnv remote("DOLIVA_COM9", "rfc2217://127.0.0.1:1"); // nothing listens there; nothing is tried

    COMMCONFIG config{};
    DWORD size = sizeof config;
    std::vector<int> present;
    for (int n = 1; n <= 128; ++n) {
        const std::u16string name = u"COM" + Utf8ToUtf16(std::to_string(n));
        size = sizeof config;
        if (GetDefaultCommConfigW(name.c_str(), &config, &size)) {
            present.push_back(n);
        } else {
            EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND)) << n;
        }
    }
    EXPECT_EQ(present, (std::vector<int>{1, 8, 9}));
    EXPECT_EQ(wire->OpenCount(), 0);

    size = sizeof config;
    ASSERT_TRUE(GetDefaultCommConfigW(u"\\\\.\\COM1", &config, &size));
    EXPECT_EQ(config.dwSize, sizeof(COMMCONFIG));
    EXPECT_EQ(config.dwProviderSubType, DWORD{PST_RS232});
    EXPECT_EQ(config.dcb.BaudRate, 9600u);
    EXPECT_EQ(config.dcb.ByteSize, 8);
    size = 4;
    EXPECT_FALSE(GetDefaultCommConfigW(u"COM1", &config, &size));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER));
    EXPECT_EQ(size, sizeof(COMMCONFIG));

    // The probes left the device free.
    HANDLE port = OpenPort(u"COM1");
    EXPECT_NE(port, INVALID_HANDLE_VALUE);
    CloseHandle(port);
}

TEST_F(PortMapTest, ListShowsEveryMappedPortWithItsSource) {
    WriteSerialComm(true, {{"/dev/machine12", "COM12"}});
    WriteSerialComm(false, {{"/dev/user2", "COM2"}});
    ScopedEnv env("DOLIVA_COM20", "rfc2217://localhost:2217");
    const auto ports = doliva::serial::ListComPorts();
    std::vector<std::pair<int, PortSource>> seen;
    for (const auto& p : ports) {
        seen.emplace_back(p.number, p.source);
        EXPECT_EQ(p.name, u"COM" + Utf8ToUtf16(std::to_string(p.number)));
    }
    EXPECT_EQ(seen, (std::vector<std::pair<int, PortSource>>{{1, PortSource::Default},
                                                             {2, PortSource::UserHive},
                                                             {3, PortSource::Default},
                                                             {4, PortSource::Default},
                                                             {12, PortSource::MachineHive},
                                                             {20, PortSource::Environment}}));
    EXPECT_FALSE(ports[0].present);
    EXPECT_TRUE(ports.back().present);
}

TEST_F(PortMapTest, OpenErrors) {
    EXPECT_EQ(OpenPort(u"C:\\file.txt"), INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
    EXPECT_EQ(OpenPort(u"\\\\.\\COM1"), INVALID_HANDLE_VALUE); // the default device is missing
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
    EXPECT_EQ(OpenPort(u"\\\\.\\COM77"), INVALID_HANDLE_VALUE); // nothing maps it
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
    // A file that is no tty is no port.
    std::ofstream(dir_ + "/plain") << "x";
    ScopedEnv env("DOLIVA_COM2", dir_ + "/plain");
    EXPECT_EQ(OpenPort(u"COM2"), INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
    EXPECT_EQ(CreateFileW(u"COM2", GENERIC_READ, 0, nullptr, CREATE_ALWAYS, 0, nullptr),
              INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
}

TEST_F(PortMapTest, CommCallsRefuseOtherHandles) {
    HANDLE event = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    DCB dcb{};
    EXPECT_FALSE(GetCommState(event, &dcb));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
    DWORD n = 0;
    EXPECT_FALSE(ReadFile(event, &dcb, 1, &n, nullptr));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
    CloseHandle(event);
}

TEST(BuildCommDcb, BothFormsAreRead) {
    DCB dcb{};
    ASSERT_TRUE(BuildCommDCBW(u"baud=4800 parity=E data=7 stop=2 dtr=hs rts=off", &dcb));
    EXPECT_EQ(dcb.BaudRate, 4800u);
    EXPECT_EQ(dcb.Parity, EVENPARITY);
    EXPECT_EQ(dcb.ByteSize, 7);
    EXPECT_EQ(dcb.StopBits, TWOSTOPBITS);
    EXPECT_EQ(dcb.fDtrControl, DWORD{DTR_CONTROL_HANDSHAKE});
    EXPECT_EQ(dcb.fRtsControl, DWORD{RTS_CONTROL_DISABLE});
    ASSERT_TRUE(BuildCommDCBW(u"COM1: 19200,m,8,1,x", &dcb));
    EXPECT_EQ(dcb.BaudRate, 19200u);
    EXPECT_EQ(dcb.Parity, MARKPARITY);
    EXPECT_EQ(dcb.StopBits, ONESTOPBIT);
    EXPECT_TRUE(dcb.fOutX);
    EXPECT_FALSE(BuildCommDCBW(u"baud=fast", &dcb));
    EXPECT_FALSE(BuildCommDCBW(u"9600,q,8,1", &dcb));
    EXPECT_EQ(dcb.BaudRate, 19200u); // a refusal changes nothing
}

} // namespace
} // namespace serialtest
