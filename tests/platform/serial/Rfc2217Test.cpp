#include "SerialTestSupport.h"

#include "Rfc2217Server.h"

#include <arpa/inet.h>
#include <memory>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace serialtest {
namespace {

using Command = Rfc2217Server::Command;
using Bytes = std::vector<std::uint8_t>;

constexpr std::uint8_t kNotifyModemstate = 107;
constexpr std::uint8_t kCd = 0x80, kDsr = 0x20, kCts = 0x10, kDeltaCd = 0x08;

std::int64_t Ns(const UtcInstant& t) {
    return t.seconds * 1'000'000'000 + t.nanoseconds;
}

class Rfc2217Test : public SerialTest {
protected:
    void SetUp() override {
        SerialTest::SetUp();
        server_ = std::make_unique<Rfc2217Server>();
        env_ = std::make_unique<ScopedEnv>("DOLIVA_COM9", server_->Address());
        port_ = OpenPort(u"\\\\.\\COM9");
        ASSERT_NE(port_, INVALID_HANDLE_VALUE) << GetLastError();
    }
    void TearDown() override {
        if (port_ != nullptr && port_ != INVALID_HANDLE_VALUE) {
            CloseHandle(port_);
        }
        env_.reset();
        server_.reset();
        SerialTest::TearDown();
    }

    bool HasCommand(const Command& wanted) {
        for (const Command& c : server_->Commands()) {
            if (c == wanted) {
                return true;
            }
        }
        return false;
    }
    bool WaitCommand(const Command& wanted) {
        return server_->WaitFor([&] { return HasCommand(wanted); });
    }

    std::unique_ptr<Rfc2217Server> server_;
    std::unique_ptr<ScopedEnv> env_;
    HANDLE port_ = nullptr;
};

TEST_F(Rfc2217Test, NegotiationAndSettingsReachTheServer) {
    for (auto wanted : std::vector<std::pair<std::uint8_t, std::uint8_t>>{
             {251, 0}, {253, 0}, {251, 3}, {253, 3}, {251, 44}}) {
        EXPECT_TRUE(server_->WaitFor([&] {
            const auto negotiation = server_->Negotiation();
            return std::find(negotiation.begin(), negotiation.end(), wanted) != negotiation.end();
        })) << int{wanted.first}
            << " " << int{wanted.second};
    }
    EXPECT_TRUE(WaitCommand({11, {0xFF}})); // every modem-line change, please

    DCB dcb{};
    ASSERT_TRUE(GetCommState(port_, &dcb));
    dcb.BaudRate = 4800;
    dcb.ByteSize = 7;
    dcb.Parity = EVENPARITY;
    dcb.StopBits = TWOSTOPBITS;
    dcb.fOutX = 1;
    dcb.fInX = 1;
    dcb.fDtrControl = DTR_CONTROL_ENABLE;
    dcb.fRtsControl = RTS_CONTROL_DISABLE;
    ASSERT_TRUE(SetCommState(port_, &dcb));
    for (const Command& wanted : std::vector<Command>{{1, {0, 0, 0x12, 0xC0}},
                                                      {2, {7}},
                                                      {3, {3}},
                                                      {4, {2}},
                                                      {5, {2}},
                                                      {5, {15}},
                                                      {5, {8}},
                                                      {5, {12}}}) {
        EXPECT_TRUE(WaitCommand(wanted)) << int{wanted.code} << " " << int{wanted.value[0]};
    }
    // A rate whose bytes hold 0xFF goes out escaped and arrives whole, with the other seven settings.
    const std::size_t before = server_->Commands().size();
    dcb.BaudRate = 0xFFFF;
    ASSERT_TRUE(SetCommState(port_, &dcb));
    ASSERT_TRUE(server_->WaitFor([&] { return server_->Commands().size() == before + 8; }));
    EXPECT_EQ(server_->Commands()[before], (Command{1, {0, 0, 0xFF, 0xFF}}));

    server_->ClearCommands();
    EXPECT_TRUE(EscapeCommFunction(port_, CLRDTR));
    EXPECT_TRUE(EscapeCommFunction(port_, SETRTS));
    EXPECT_TRUE(EscapeCommFunction(port_, SETBREAK));
    EXPECT_TRUE(PurgeComm(port_, PURGE_TXCLEAR | PURGE_RXCLEAR));
    ASSERT_TRUE(WaitCommand({12, {3}}));
    EXPECT_EQ(server_->Commands(), (std::vector<Command>{{5, {9}}, {5, {11}}, {5, {5}}, {12, {3}}}));
}

TEST_F(Rfc2217Test, IacIsEscapedBothWays) {
    UseProgramTimeouts(port_);
    EXPECT_EQ(WriteSome(port_, std::string("\x01\xFF\x02", 3)), 3u);
    ASSERT_TRUE(server_->WaitFor([&] { return server_->Data().size() >= 3; }));
    EXPECT_EQ(server_->Data(), std::string("\x01\xFF\x02", 3));
    const Bytes raw = server_->Raw();
    const Bytes escaped{0x01, 0xFF, 0xFF, 0x02};
    EXPECT_NE(std::search(raw.begin(), raw.end(), escaped.begin(), escaped.end()), raw.end());

    ASSERT_TRUE(SetCommMask(port_, EV_RXCHAR));
    server_->SendData(std::string("A\xFF"
                                  "B",
                                  3));
    std::string got;
    while (got.size() < 3) {
        EXPECT_EQ(WaitEvents(port_), DWORD{EV_RXCHAR});
        got += ReadSome(port_);
    }
    EXPECT_EQ(got, std::string("A\xFF"
                               "B",
                               3));
}

TEST_F(Rfc2217Test, EachDcdChangeReachesOneWaitWithItsStamp) {
    ASSERT_TRUE(SetCommMask(port_, EV_RLSD | EV_RXCHAR));
    DWORD expectedRises = 0;
    for (int round = 0; round < 3; ++round) {
        for (bool high : {true, false}) {
            Overlapped o;
            DWORD events = 0;
            ASSERT_TRUE(Pending(WaitCommEvent(port_, &events, &o.ov))) << "an event was reported twice";
            const UtcInstant sent = CurrentUtc();
            server_->SendNotification(kNotifyModemstate,
                                      static_cast<std::uint8_t>((high ? kCd : 0) | kDeltaCd));
            DWORD ignored = 0;
            ASSERT_TRUE(Finish(port_, o, &ignored));
            const UtcInstant returned = CurrentUtc();
            EXPECT_EQ(events, DWORD{EV_RLSD});
            ModemEdgeStamp stamp{};
            ASSERT_TRUE(GetCommEventStamp(port_, &stamp));
            EXPECT_LE(Ns(sent), Ns(stamp.dcd.lastChange));
            EXPECT_LE(Ns(stamp.dcd.lastChange), Ns(returned));
            EXPECT_EQ(stamp.dcd.level != FALSE, high);
            expectedRises += high ? 1 : 0;
            EXPECT_EQ(stamp.dcd.rises, expectedRises);
        }
    }
    // "Changed" with the level low as before: a pulse came and went between two notifications.
    server_->SendNotification(kNotifyModemstate, kDeltaCd);
    EXPECT_EQ(WaitEvents(port_), DWORD{EV_RLSD});
    ModemEdgeStamp stamp{};
    ASSERT_TRUE(GetCommEventStamp(port_, &stamp));
    EXPECT_EQ(stamp.dcd.rises, expectedRises + 1);
    EXPECT_TRUE(stamp.dcd.lastWasPulse);
}

TEST_F(Rfc2217Test, ModemLevelsAndFlowControlFromTheServer) {
    EXPECT_TRUE(PortSupportsModemLines(port_));
    ASSERT_TRUE(SetCommMask(port_, EV_CTS | EV_DSR));
    server_->SendNotification(kNotifyModemstate, kCts | kDsr | 0x01 | 0x02);
    EXPECT_EQ(WaitEvents(port_), DWORD{EV_CTS | EV_DSR});
    DWORD modem = 0;
    ASSERT_TRUE(GetCommModemStatus(port_, &modem));
    EXPECT_EQ(modem, DWORD{MS_CTS_ON | MS_DSR_ON});

    // FLOWCONTROL-SUSPEND holds output until FLOWCONTROL-RESUME.
    COMMTIMEOUTS t{MAXDWORD, 0, 0, 0, 5000};
    ASSERT_TRUE(SetCommTimeouts(port_, &t));
    server_->SendNotification(108, 0);
    // The suspend must have been read before the write starts; a modem change sent after it tells when.
    ASSERT_TRUE(SetCommMask(port_, EV_RLSD));
    server_->SendNotification(kNotifyModemstate, kCts | kDsr | kCd | kDeltaCd);
    EXPECT_EQ(WaitEvents(port_), DWORD{EV_RLSD});
    Overlapped o;
    DWORD n = 0;
    ASSERT_TRUE(Pending(WriteFile(port_, "held", 4, &n, &o.ov)));
    EXPECT_FALSE(o.Done(50));
    EXPECT_EQ(server_->Data(), "");
    server_->SendRaw({255, 250, 44, 109, 255, 240});
    ASSERT_TRUE(Finish(port_, o, &n));
    EXPECT_EQ(n, 4u);
    EXPECT_TRUE(server_->WaitFor([&] { return server_->Data() == "held"; }));
}

TEST_F(Rfc2217Test, ADroppedConnectionEndsPendingRequestsWithAnError) {
    ExpectLossEndsPendingRequests(port_, EV_RXCHAR | EV_RLSD, [&] { server_->Drop(); });
}

TEST_F(Rfc2217Test, TheAddressOpensOnceAndANonListeningOneIsMissing) {
    EXPECT_EQ(OpenPort(u"COM9"), INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));

    // A port nobody listens on: take a free one and let it go.
    const int s = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ASSERT_EQ(bind(s, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    socklen_t length = sizeof address;
    getsockname(s, reinterpret_cast<sockaddr*>(&address), &length);
    close(s);
    ScopedEnv env("DOLIVA_COM10", "rfc2217://127.0.0.1:" + std::to_string(ntohs(address.sin_port)));
    EXPECT_EQ(OpenPort(u"COM10"), INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
    ScopedEnv bad("DOLIVA_COM11", "rfc2217://127.0.0.1");
    EXPECT_EQ(OpenPort(u"COM11"), INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
}

} // namespace
} // namespace serialtest
