// The receiver link's send path end to end: commands framed as the program frames them go through the
// transmit thread and the serial layer to the receiver simulator over a pseudo-terminal, which accepts them
// only with the right checksums.
#include "receiver/CThBufferList.h"
#include "receiver/CommandFraming.h"
#include "receiver/CrossProcessSemaphore.h"
#include "receiver/GpsPortControl.h"
#include "receiver/ReceiverState.h"
#include "tests/platform/serial/SerialTestSupport.h"
#include "tests/receiver/QuietReceiverEvents.h"
#include "tools/simulator/OncoreEngine.h"
#include "tools/simulator/SimulatorSession.h"

#include <gtest/gtest.h>

#include <chrono>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace sim = receiversim;

namespace {

class PtyCommandFraming : public serialtest::SerialTest {
protected:
    void Start(sim::OncoreProtocol protocol, int interfaceMode, DWORD rate) {
        sim::OncoreOptions oncore;
        oncore.protocol = protocol;
        oncore.continuousAtStart = false;
        sim::SessionOptions options;
        options.transport = sim::TransportKind::Pty;
        options.loop.manualSeconds = true;
        options.loop.pace = false;
        options.loop.log = [this](const std::string& line) {
            std::lock_guard lock(m_logMutex);
            m_log.push_back(line);
        };
        std::string error;
        m_session = sim::SimulatorSession::Start(
            std::make_unique<sim::OncoreEngine>(sim::EngineOptions{}, oncore), options, error);
        ASSERT_TRUE(m_session) << error;
        m_env = std::make_unique<serialtest::ScopedEnv>("DOLIVA_COM9", m_session->Target());

        CreateLinkSemaphores();
        ReleaseCrossProcessSemaphore(g_receiveGate, 1, nullptr);
        ReleaseCrossProcessSemaphore(g_ppsGate, 1, nullptr);
        g_initializing = 0;
        g_interfaceMode = interfaceMode;
        g_ppsInterface = kPpsNone;
        m_control = std::make_unique<GpsPortControl>(m_events);
        m_control->m_portDevicePath = GpsPortControl::DevicePathFor(u"COM9");
        m_control->m_baudRate = rate;
        ASSERT_TRUE(m_control->OpenGpsPort());
    }

    void TearDown() override {
        m_control.reset();
        DestroyLinkSemaphores();
        g_receiveList.RemoveAll();
        g_transmitList.RemoveAll();
        g_interfaceMode = kModeSearch;
        m_session.reset();
        m_env.reset();
        SerialTest::TearDown();
    }

    // Frames the command as the send routine does and hands it to the transmit thread.
    static void Send(CString command) {
        FrameGpsCommand(command);
        g_transmitList.AddTail(command);
        ReleaseCrossProcessSemaphore(g_transmitReady, 1, nullptr);
    }

    // The simulator's log once it holds a line with `text` (or after a bound, so that a fault fails).
    std::vector<std::string> LogUntil(const std::string& text) {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
        for (;;) {
            std::vector<std::string> log;
            {
                std::lock_guard lock(m_logMutex);
                log = m_log;
            }
            if (Has(log, text) || std::chrono::steady_clock::now() > deadline) {
                return log;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
    }

    static bool Has(const std::vector<std::string>& log, const std::string& text) {
        for (const std::string& line : log) {
            if (line.find(text) != std::string::npos) {
                return true;
            }
        }
        return false;
    }

    QuietReceiverEvents m_events;
    std::unique_ptr<sim::SimulatorSession> m_session;
    std::unique_ptr<serialtest::ScopedEnv> m_env;
    std::unique_ptr<GpsPortControl> m_control;
    std::mutex m_logMutex;
    std::vector<std::string> m_log;
};

TEST_F(PtyCommandFraming, OncoreCommandsArriveWithTheirChecksum) {
    Start(sim::OncoreProtocol::Binary, kModeMotorolaBinary, 9600);
    Send(CString(u"@@Cj"));
    Send(CString(std::u16string(u"@@Cg\x01")));
    const std::vector<std::string> log = LogUntil("<- @@Cg");
    EXPECT_TRUE(Has(log, "<- @@Cj")) << ::testing::PrintToString(log);
    EXPECT_TRUE(Has(log, "<- @@Cg")) << ::testing::PrintToString(log);
    EXPECT_FALSE(Has(log, "not a command")) << ::testing::PrintToString(log);
    EXPECT_FALSE(Has(log, "ignored")) << ::testing::PrintToString(log);
}

TEST_F(PtyCommandFraming, NmeaCommandsArriveWithTheirChecksum) {
    Start(sim::OncoreProtocol::Nmea, kModeMotorolaNmea, 9600);
    Send(CString(u"$PMOTG,GGA,0001"));
    Send(CString(u"$PMOTG,FOR,0"));
    const std::vector<std::string> log = LogUntil("<- $PMOTG,FOR");
    EXPECT_TRUE(Has(log, "<- $PMOTG,GGA,0001*")) << ::testing::PrintToString(log);
    EXPECT_TRUE(Has(log, "<- $PMOTG,FOR,0*")) << ::testing::PrintToString(log);
    EXPECT_FALSE(Has(log, "bad checksum")) << ::testing::PrintToString(log);
    EXPECT_TRUE(Has(log, "protocol now")) << ::testing::PrintToString(log);
}

} // namespace
