#include "tools/simulator/SimulatorSession.h"
#include "tests/tools/SimTestSupport.h"
#include "tests/tools/TelnetTestClient.h"
#include "tools/simulator/OncoreEngine.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <termios.h>

using namespace receiversim;
using namespace simtest;
using namespace std::chrono_literals;

namespace {

const UtcInstant kEdge = FromCalendar(2024, 2, 29, 23, 59, 59);

std::unique_ptr<SimulatorSession> StartOncore(TransportKind kind, PpsLine pps = PpsLine::Dcd,
                                              PulseMode pulse = PulseMode::Normal) {
    OncoreOptions oncore;
    oncore.channels = 8;
    oncore.continuousAtStart = false;
    SessionOptions options;
    options.transport = kind;
    options.pps = pps;
    options.loop.manualSeconds = true;
    options.loop.pace = false;
    options.loop.pulse = pulse;
    std::string error;
    auto session =
        SimulatorSession::Start(std::make_unique<OncoreEngine>(EngineOptions{}, oncore), options, error);
    EXPECT_TRUE(session) << error;
    return session;
}

void SetLine(int fd, speed_t speed) {
    termios t{};
    ASSERT_EQ(0, tcgetattr(fd, &t));
    cfmakeraw(&t);
    t.c_cflag |= CLOCAL | CREAD;
    cfsetispeed(&t, speed);
    cfsetospeed(&t, speed);
    ASSERT_EQ(0, tcsetattr(fd, TCSANOW, &t));
}

void Write(int fd, const std::string& text) {
    ASSERT_EQ(static_cast<ssize_t>(text.size()), write(fd, text.data(), text.size()));
}

std::vector<std::uint8_t> Deltas(const std::vector<TelnetTestClient::Notification>& notifications) {
    std::vector<std::uint8_t> out;
    for (const auto& n : notifications) {
        if ((n.state & 0x0F) != 0) {
            out.push_back(n.state);
        }
    }
    return out;
}

} // namespace

TEST(SimulatorSession, OverAPtyTheReceiverHearsOnlyAtTheRateSetOnTheSlave) {
    auto session = StartOncore(TransportKind::Pty);
    ASSERT_TRUE(session);
    EXPECT_EQ(0u, session->Port());
    const int fd = open(session->Target().c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    ASSERT_GE(fd, 0) << session->Target();

    // (The pty driver forces 8 data bits without parity, so only the rate can differ here.)
    SetLine(fd, B4800);
    Write(fd, OncoreCommand("Cj"));
    EXPECT_TRUE(ReadFor(fd, 300ms).empty());

    SetLine(fd, B9600);
    Write(fd, OncoreCommand("Cj"));
    const auto identity = DecodeOncore(ReadFor(fd, 2s, 294));
    ASSERT_EQ(1u, identity.size());
    EXPECT_EQ("Cj", identity[0].id);

    // "@@Wb": the answer still arrives at 9600, then the receiver listens at 19200 only.
    Write(fd, OncoreCommand("Wb", {0x41, 0x92}));
    EXPECT_EQ(1u, DecodeOncore(ReadFor(fd, 2s, 9)).size());
    Write(fd, OncoreCommand("Ea", {1}));
    EXPECT_TRUE(ReadFor(fd, 200ms).empty()); // heard by nobody: the receiver is at 19200 now
    SetLine(fd, B19200);
    Write(fd, OncoreCommand("Ea", {1}));
    EXPECT_TRUE(ReadFor(fd, 200ms).empty());
    session->TriggerSecond(kEdge);
    const auto position = DecodeOncore(ReadFor(fd, 2s, 76));
    ASSERT_EQ(1u, position.size());
    EXPECT_EQ("Ea", position[0].id);
    EXPECT_EQ(59, position[0].whole[10]);

    // Output at 19200 is lost on a program listening at 9600.
    SetLine(fd, B9600);
    session->TriggerSecond(kEdge + 1s);
    EXPECT_TRUE(ReadFor(fd, 400ms).empty());
    session->WithEngine([](ReceiverEngine& engine) { EXPECT_EQ(19200u, engine.Line().baud); });
    close(fd);
}

TEST(SimulatorSession, OverRfc2217TheClientSetsTheRateAndSeesEachPpsEdge) {
    auto session = StartOncore(TransportKind::Rfc2217);
    ASSERT_TRUE(session);
    ASSERT_NE(0u, session->Port());
    EXPECT_EQ("rfc2217://127.0.0.1:" + std::to_string(session->Port()), session->Target());

    TelnetTestClient client(session->Port());
    ASSERT_TRUE(client.Connected());
    ASSERT_TRUE(client.Negotiate());
    ASSERT_TRUE(client.SetBaud(4800));
    client.SendData(OncoreCommand("Cj"));
    client.Pump(300ms);
    EXPECT_TRUE(client.data.empty());
    ASSERT_TRUE(client.SetBaud(9600));
    client.SendData(OncoreCommand("Cj"));
    ASSERT_TRUE(client.PumpUntil([&] { return client.data.size() >= 294; }, 2s));
    EXPECT_EQ(1u, DecodeOncore(client.data).size());

    // The lines' levels came once with the agreement: DSR and CTS on, DCD (the pulse) off, nothing changed.
    ASSERT_FALSE(client.notifications.empty());
    EXPECT_EQ(0x30, client.notifications[0].state);
    // Each edge once, with its change bit: up on the second, down about 100 ms later.
    for (int s = 0; s < 2; ++s) {
        client.notifications.clear();
        session->TriggerSecond(kEdge + std::chrono::seconds(s));
        ASSERT_TRUE(client.PumpUntil([&] { return Deltas(client.notifications).size() >= 2; }, 2s));
        client.Pump(50ms);
        EXPECT_EQ((std::vector<std::uint8_t>{0xB8, 0x38}), Deltas(client.notifications));
        const auto high = client.notifications[1].at - client.notifications[0].at;
        EXPECT_GE(high, 60ms);
        EXPECT_LE(high, 600ms);
    }
    // A mask leaves only the pulse's line.
    client.ComPort(11, Bytes{0x88});
    client.Pump(100ms);
    client.notifications.clear();
    session->TriggerSecond(kEdge + 2s);
    ASSERT_TRUE(client.PumpUntil([&] { return client.notifications.size() >= 2; }, 2s));
    EXPECT_EQ(0x88, client.notifications[0].state);
    EXPECT_EQ(0x08, client.notifications[1].state);
}

TEST(SimulatorSession, Rfc2217ServesOneClientAtATimeAndTakesAReturningOne) {
    auto session = StartOncore(TransportKind::Rfc2217);
    ASSERT_TRUE(session);
    {
        TelnetTestClient first(session->Port());
        ASSERT_TRUE(first.Negotiate());
        TelnetTestClient second(session->Port());
        second.Pump(500ms);
        EXPECT_TRUE(second.ServerClosed());
        ASSERT_TRUE(first.SetBaud(9600));
    }
    TelnetTestClient again(session->Port());
    ASSERT_TRUE(again.Negotiate());
    ASSERT_TRUE(again.SetBaud(9600));
    again.SendData(OncoreCommand("Cj"));
    ASSERT_TRUE(again.PumpUntil([&] { return again.data.size() >= 294; }, 2s));
    EXPECT_EQ(1u, DecodeOncore(again.data).size());
}

TEST(SimulatorSession, AShortPulseOnCtsStillGivesBothEdges) {
    auto session = StartOncore(TransportKind::Rfc2217, PpsLine::Cts, PulseMode::Short);
    ASSERT_TRUE(session);
    TelnetTestClient client(session->Port());
    ASSERT_TRUE(client.Negotiate());
    client.Pump(100ms);
    client.notifications.clear();
    session->TriggerSecond(kEdge);
    ASSERT_TRUE(client.PumpUntil([&] { return Deltas(client.notifications).size() >= 2; }, 2s));
    EXPECT_EQ((std::vector<std::uint8_t>{0x31, 0x21}),
              Deltas(client.notifications)); // CTS up, CTS down; DSR on
    EXPECT_LT(client.notifications[1].at - client.notifications[0].at, 50ms);
}
