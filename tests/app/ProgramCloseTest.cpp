// A close asked from outside the GUI thread (a termination signal, the service's stop, a lost display) is
// carried out by the program's own loop as the Close command: what is modal at the time is cancelled first.
#include "ShellTestSupport.h"

#include "app/ProgramClose.h"
#include "platform/dialog/Dialog.h"
#include "platform/display/WindowApi.h"
#include "platform/framework/AfxRes.h"

#include <atomic>
#include <chrono>
#include <filesystem>
#include <thread>

using namespace shelltest;

namespace {

std::atomic<int> g_dialogsShown{0};
std::atomic<bool> g_fallbackFired{false};

LRESULT CALLBACK CountDialogs(int code, WPARAM wParam, LPARAM lParam) {
    if (code >= 0 && reinterpret_cast<const CWPSTRUCT*>(lParam)->message == WM_INITDIALOG) {
        ++g_dialogsShown;
    }
    return ::CallNextHookEx(nullptr, code, wParam, lParam);
}

// Ends whatever still holds the loop when the close did not, so that a failing test ends.
void CALLBACK Fallback(HWND, UINT, UINT_PTR id, DWORD) {
    ::KillTimer(nullptr, id);
    g_fallbackFired = true;
    ::EndDialog(::GetActiveWindow(), IDCANCEL);
    ::PostMessageW(AfxGetApp()->m_pMainWnd->GetSafeHwnd(), WM_CLOSE, 0, 0);
}

TEST_F(ShellTest, ACloseRequestedWhileADialogIsOpenCancelsItAndClosesAsTheCloseCommand) {
    ASSERT_TRUE(StartProgram());
    const std::filesystem::path document(Utf16ToUtf8(CPex32Doc::DocumentFilePath().str()));
    std::filesystem::remove(document);
    const HWND frame = m_frame->GetSafeHwnd();
    g_dialogsShown = 0;
    g_fallbackFired = false;
    HHOOK hook = ::SetWindowsHookExW(WH_CALLWNDPROC, CountDialogs, nullptr, ::GetCurrentThreadId());
    const UINT_PTR fallback = ::SetTimer(nullptr, 0, 20000, Fallback);

    // The About box comes up; another thread asks for the close while it is up.
    m_frame->PostMessageW(WM_COMMAND, ID_APP_ABOUT);
    std::thread requester([] {
        const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(20);
        while (!g_dialogsShown && std::chrono::steady_clock::now() < end) {
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        RequestProgramClose();
    });
    m_app->Run();
    requester.join();
    m_closed = true; // the loop ended the application itself
    m_frame = nullptr;
    ::KillTimer(nullptr, fallback);
    ::UnhookWindowsHookEx(hook);

    EXPECT_EQ(g_dialogsShown.load(), 1);
    EXPECT_FALSE(g_fallbackFired) << "the dialog was not cancelled";
    EXPECT_FALSE(::IsWindow(frame));
    EXPECT_FALSE(ProgramCloseRequested());
    EXPECT_TRUE(std::filesystem::exists(document)) << document;
    EXPECT_EQ(m_app->GetProfileInt(u"PexView", u"Sound", -1), 1);
    EXPECT_FALSE(m_app->GetProfileString(u"Window size", u"Rect", u"").IsEmpty());
}

// A request that comes before the loop runs (the program is still starting) waits for the loop.
TEST_F(ShellTest, ACloseRequestedDuringTheStartIsCarriedOutByTheFirstIdlePass) {
    RequestProgramClose();
    ASSERT_TRUE(StartProgram());
    const HWND frame = m_frame->GetSafeHwnd();
    EXPECT_TRUE(::IsWindow(frame));
    m_app->Run();
    m_closed = true;
    m_frame = nullptr;
    EXPECT_FALSE(::IsWindow(frame));
    EXPECT_EQ(m_app->GetProfileInt(u"PexView", u"Clock Display Mode Enum", -1), 0);
}

} // namespace
