// The serial layer against the receiver simulator over RFC 2217 on loopback: what the program will see of a
// receiver with a 1PPS line, end to end.
#include "tests/platform/serial/SerialTestSupport.h"
#include "tools/simulator/OncoreEngine.h"
#include "tools/simulator/SimulatorSession.h"

#include <gtest/gtest.h>

using namespace serialtest;
namespace sim = receiversim;

namespace {

std::int64_t Ns(::UtcInstant t) {
    return t.seconds * 1'000'000'000LL + t.nanoseconds;
}

class SimulatorOverSerial : public SerialTest {
protected:
    void SetUp() override {
        SerialTest::SetUp();
        sim::OncoreOptions oncore;
        oncore.channels = 8;
        oncore.continuousAtStart = false;
        sim::SessionOptions options;
        options.transport = sim::TransportKind::Rfc2217;
        options.pps = sim::PpsLine::Dcd;
        options.loop.manualSeconds = true;
        options.loop.pace = false;
        std::string error;
        session_ = sim::SimulatorSession::Start(
            std::make_unique<sim::OncoreEngine>(sim::EngineOptions{}, oncore), options, error);
        ASSERT_TRUE(session_) << error;
        env_ = std::make_unique<ScopedEnv>("DOLIVA_COM1", session_->Target());
        port_ = OpenPort(u"COM1");
        ASSERT_NE(port_, INVALID_HANDLE_VALUE) << GetLastError();
        DCB dcb{};
        dcb.DCBlength = sizeof dcb;
        ASSERT_TRUE(GetCommState(port_, &dcb));
        dcb.BaudRate = 9600;
        dcb.ByteSize = 8;
        dcb.Parity = NOPARITY;
        dcb.StopBits = ONESTOPBIT;
        ASSERT_TRUE(SetCommState(port_, &dcb));
        UseProgramTimeouts(port_);
    }
    void TearDown() override {
        if (port_ != INVALID_HANDLE_VALUE) {
            CloseHandle(port_);
        }
        session_.reset();
        env_.reset();
        SerialTest::TearDown();
    }

    std::unique_ptr<sim::SimulatorSession> session_;
    std::unique_ptr<ScopedEnv> env_;
    HANDLE port_ = INVALID_HANDLE_VALUE;
};

TEST_F(SimulatorOverSerial, EachPpsEdgeReachesOneWaitWithAStampBetweenSendAndReturn) {
    ASSERT_TRUE(SetCommMask(port_, EV_RLSD));
    for (DWORD second = 1; second <= 3; ++second) {
        const ::UtcInstant sent = CurrentUtc();
        session_->TriggerSecond(sim::FromCalendar(2026, 12, 10, 12, 0, static_cast<int>(second)));
        // The rise, then the fall 100 ms later: two changes, one counted rise.
        for (int change = 0; change < 2; ++change) {
            EXPECT_EQ(WaitEvents(port_), DWORD{EV_RLSD});
        }
        const ::UtcInstant returned = CurrentUtc();
        ModemEdgeStamp stamp{};
        ASSERT_TRUE(GetCommEventStamp(port_, &stamp));
        EXPECT_EQ(stamp.dcd.rises, second);
        EXPECT_FALSE(stamp.dcd.level);
        EXPECT_LE(Ns(sent), Ns(stamp.dcd.lastRise));
        EXPECT_LE(Ns(stamp.dcd.lastRise), Ns(returned));
    }
}

TEST_F(SimulatorOverSerial, ACommandIsAnsweredThroughThePort) {
    ASSERT_TRUE(SetCommMask(port_, EV_RXCHAR));
    // "@@Cj" with its checksum and line end, as the program frames it.
    EXPECT_EQ(WriteSome(port_, std::string("@@Cj\x29\r\n")), 7u);
    std::string answer;
    while (answer.find("\r\n", 4) == std::string::npos || answer.size() < 8) {
        ASSERT_EQ(WaitEvents(port_), DWORD{EV_RXCHAR});
        answer += ReadSome(port_);
    }
    EXPECT_EQ(answer.substr(0, 4), "@@Cj");
}

TEST_F(SimulatorOverSerial, AReceiverThatGoesAwayEndsThePendingWaitWithAnError) {
    ASSERT_TRUE(SetCommMask(port_, EV_RLSD | EV_RXCHAR));
    Overlapped wait;
    DWORD events = 0;
    ASSERT_TRUE(Pending(WaitCommEvent(port_, &events, &wait.ov)));
    session_.reset(); // the receiver and its server go away
    DWORD n = 0;
    DWORD error = 0;
    EXPECT_FALSE(Finish(port_, wait, &n, &error));
    EXPECT_EQ(error, static_cast<DWORD>(ERROR_ACCESS_DENIED));
}

} // namespace
