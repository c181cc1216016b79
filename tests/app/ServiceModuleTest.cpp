// The entry's command-line splitting and the service control handler's states.
#include "app/ServiceModule.h"
#include "app/ProgramClose.h"
#include "platform/base/CodePage.h"
#include "platform/kernel/Sync.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

namespace {

std::vector<std::string> Split(const char16_t* line) {
    int count = 0;
    LPWSTR* words = nullptr;
    if (!SplitCommandLine(u"Service", line, &count, &words)) {
        return {"<failed>"};
    }
    std::vector<std::string> result;
    for (int i = 0; i < count; ++i) {
        result.push_back(Utf16ToUtf8(words[i]));
    }
    std::free(words);
    return result;
}

TEST(SplitCommandLine, WordsQuotesAndTheFirstWord) {
    using V = std::vector<std::string>;
    EXPECT_EQ(Split(u""), (V{"Service"}));
    EXPECT_EQ(Split(u"  -install\t -remove "), (V{"Service", "-install", "-remove"}));
    EXPECT_EQ(Split(u"\"-install\" 'a b' \"c 'd'\""), (V{"Service", "-install", "a b", "c 'd'"}));
    EXPECT_EQ(Split(u"\"open ended"), (V{"Service", "open ended"}));
    int count = 0;
    LPWSTR* words = nullptr;
    EXPECT_FALSE(SplitCommandLine(u"Service", nullptr, &count, &words));
}

// Without a connection to the manager every report fails, which signals the stop event; the states and
// the GUI thread's hold still follow the controls.
class ControlHandlerTest : public ::testing::Test {
protected:
    void SetUp() override {
        g_serviceModule = &m_module;
        m_module.m_stopEvent = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
        m_module.m_status.dwCurrentState = SERVICE_RUNNING;
    }
    void TearDown() override {
        m_module.ResumeGuiThread();
        m_module.CloseStopEvent();
        g_serviceModule = nullptr;
    }
    bool StopSignalled() { return ::WaitForSingleObject(m_module.m_stopEvent, 0) == WAIT_OBJECT_0; }
    ServiceModule m_module;
};

TEST_F(ControlHandlerTest, PauseHoldsTheGuiAndInterrogationKeepsThePausedState) {
    ServiceControlHandler(SERVICE_CONTROL_PAUSE);
    EXPECT_EQ(m_module.m_status.dwCurrentState, static_cast<DWORD>(SERVICE_PAUSED));
    EXPECT_TRUE(m_module.IsGuiThreadSuspended());
    ServiceControlHandler(SERVICE_CONTROL_INTERROGATE);
    ServiceControlHandler(SERVICE_CONTROL_PAUSE);
    EXPECT_EQ(m_module.m_status.dwCurrentState, static_cast<DWORD>(SERVICE_PAUSED));
    ServiceControlHandler(SERVICE_CONTROL_CONTINUE);
    EXPECT_EQ(m_module.m_status.dwCurrentState, static_cast<DWORD>(SERVICE_RUNNING));
    EXPECT_FALSE(m_module.IsGuiThreadSuspended());
    EXPECT_EQ(m_module.m_status.dwControlsAccepted,
              static_cast<DWORD>(SERVICE_ACCEPT_STOP | SERVICE_ACCEPT_PAUSE_CONTINUE));
}

TEST_F(ControlHandlerTest, StopReportsPendingAndSignalsTheEvent) {
    ServiceControlHandler(SERVICE_CONTROL_STOP);
    EXPECT_EQ(m_module.m_status.dwCurrentState, static_cast<DWORD>(SERVICE_STOP_PENDING));
    EXPECT_EQ(m_module.m_status.dwCheckPoint, 1u);
    EXPECT_EQ(m_module.m_status.dwWaitHint, 3000u);
    EXPECT_TRUE(StopSignalled());
}

TEST_F(ControlHandlerTest, StartingAcceptsNoControls) {
    m_module.ReportStatus(SERVICE_START_PENDING, 0, 1, 6000);
    EXPECT_EQ(m_module.m_status.dwControlsAccepted, 0u);
    EXPECT_TRUE(StopSignalled()) << "a failed report releases the service thread";
}

// A stop that comes while the GUI thread is still starting (no main window yet) is a close request the
// program carries out once its window is up, not an exit with nothing saved.
TEST_F(ControlHandlerTest, StopWhileStartingBecomesACloseRequest) {
    ResetProgramCloseRequest();
    WatchForProgramClose();
    ServiceControlHandler(SERVICE_CONTROL_STOP);
    ServiceMain(0, nullptr);
    EXPECT_TRUE(ProgramCloseRequested());
    StopWatchingForProgramClose();
    ResetProgramCloseRequest();
}

} // namespace
