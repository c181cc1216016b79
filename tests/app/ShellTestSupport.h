// The program started in the test's own process: the application object, its frame, document and view, on
// the headless display with the test's scratch settings. The receiver link is never started: the message
// that would start it stays in the queue.
#pragma once

#include "app/CMainFrame.h"
#include "app/CPex32App.h"
#include "app/CPex32Doc.h"
#include "app/CPex32View.h"
#include "platform/base/CodePage.h"
#include "platform/controls/StandardControls.h"
#include "platform/display/MessageApi.h"
#include "platform/display/MessageBox.h"
#include "platform/resources/Resources.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <ostream>
#include <string>

inline void PrintTo(const CString& text, std::ostream* os) {
    *os << '"' << Utf16ToUtf8(text.str()) << '"';
}

namespace shelltest {

// Takes every queued message for the window without dispatching it; answers how many had the id.
inline int TakeQueued(HWND hwnd, UINT message) {
    int count = 0;
    MSG msg{};
    while (::PeekMessageW(&msg, hwnd, message, message, PM_REMOVE)) {
        ++count;
    }
    return count;
}

class ShellTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        setenv("DOLIVA_DISPLAY", "headless", 1);
        // No real port is ever reached, even if the link were started.
        for (int n = 1; n <= 8; ++n) {
            setenv(("DOLIVA_COM" + std::to_string(n)).c_str(), "fake://absent", 1);
        }
        RegisterStandardControls();
        DolivaInstallResourceHooks();
    }

    // Runs the start as the entry routine does, up to the message loop.
    bool StartProgram() {
        m_app = std::make_unique<CPex32App>();
        m_closed = false;
        TakeQueued(nullptr, WM_APP_START_GPS_INIT);
        g_firstIdle = 1;
        static char name[] = "doliva";
        static char* argv[] = {name, nullptr};
        if (!AfxWinInit(1, argv) || !m_app->InitApplication() || !m_app->InitInstance()) {
            return false;
        }
        m_frame = dynamic_cast<CMainFrame*>(m_app->m_pMainWnd);
        return m_frame != nullptr;
    }

    void CloseProgram() {
        if (m_closed) {
            return;
        }
        m_closed = true;
        if (m_frame && ::IsWindow(m_frame->GetSafeHwnd())) {
            m_frame->SendMessageW(WM_CLOSE);
        }
        m_frame = nullptr;
        if (m_app) {
            m_app->ExitInstance();
        }
    }

    void TearDown() override {
        CloseProgram();
        AfxWinTerm();
        m_app.reset();
    }

    std::unique_ptr<CPex32App> m_app;
    CMainFrame* m_frame = nullptr;
    bool m_closed = false;
};

} // namespace shelltest
