#include "app/ProgramClose.h"

#include "platform/dialog/Dialog.h"
#include "platform/display/DisplayBackend.h"
#include "platform/display/MenuApi.h"
#include "platform/display/MessageApi.h"
#include "platform/display/WindowApi.h"
#include "platform/framework/CDialog.h"
#include "platform/framework/CWinApp.h"
#include "platform/framework/CWnd.h"
#include "platform/kernel/Threads.h"
#include "platform/system/TerminationSignals.h"

#include <atomic>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <memory>
#include <mutex>

namespace {

std::atomic<bool> g_closeRequested{false};
std::atomic<DWORD> g_guiThread{0};
// The GUI thread's own.
HHOOK g_watchHook = nullptr;
HWND g_lastCancelled = nullptr;

std::mutex g_listenMutex;
std::unique_ptr<TerminationSignalWatcher> g_signalWatcher;

void WakeGuiThread(DWORD threadId) {
    if (threadId) {
        ::PostThreadMessageW(threadId, WM_NULL, 0, 0);
    }
}

// The modal window on top of the main window, if one is up: a modal dialog or box disables its owner and
// takes the activation.
HWND ModalAboveMainWindow() {
    CWinApp* app = AfxGetApp();
    HWND main = app && app->m_pMainWnd ? app->m_pMainWnd->GetSafeHwnd() : nullptr;
    if (!main || ::IsWindowEnabled(main)) {
        return nullptr;
    }
    HWND modal = ::GetLastActivePopup(main);
    if (modal == main) {
        modal = ::GetActiveWindow();
    }
    if (!modal || modal == main || !::IsWindowEnabled(modal) || !::IsWindowVisible(modal)) {
        return nullptr;
    }
    for (HWND owner = ::GetWindow(modal, GW_OWNER); owner; owner = ::GetWindow(owner, GW_OWNER)) {
        if (owner == main) {
            return modal;
        }
    }
    return nullptr;
}

// Ends the innermost modal state of the GUI thread: a menu, then the modal window on top. Each ended loop
// returns to the one beneath, which takes its turn at the next message: a wake-up makes sure there is one.
void CancelModalStates() {
    bool cancelled = ::EndMenu() != FALSE;
    if (HWND modal = ModalAboveMainWindow(); modal && modal != g_lastCancelled) {
        g_lastCancelled = modal;
        if (auto* dialog = dynamic_cast<CDialog*>(CWnd::FromHandlePermanent(modal))) {
            dialog->EndDialog(IDCANCEL);
        } else {
            ::EndDialog(modal, IDCANCEL);
        }
        cancelled = true;
    }
    if (cancelled) {
        WakeGuiThread(::GetCurrentThreadId());
    }
}

LRESULT CALLBACK WatchHookProc(int code, WPARAM wParam, LPARAM lParam) {
    if (code >= 0 && wParam == PM_REMOVE && g_closeRequested) {
        CancelModalStates();
    }
    return ::CallNextHookEx(nullptr, code, wParam, lParam);
}

void OnTerminationSignal(int signo) {
    std::fprintf(stderr, "%s: closing\n", strsignal(signo));
    RequestProgramClose();
}

} // namespace

void RequestProgramClose() {
    g_closeRequested = true;
    WakeGuiThread(g_guiThread.load());
}

bool ProgramCloseRequested() {
    return g_closeRequested;
}

void WatchForProgramClose() {
    const DWORD threadId = ::GetCurrentThreadId();
    if (!g_watchHook) {
        g_watchHook = ::SetWindowsHookExW(WH_GETMESSAGE, WatchHookProc, nullptr, threadId);
    }
    g_guiThread = threadId;
    // A request that came before the loop ran finds the loop now.
    if (g_closeRequested) {
        WakeGuiThread(threadId);
    }
}

void StopWatchingForProgramClose() {
    g_guiThread = 0;
    if (g_watchHook) {
        ::UnhookWindowsHookEx(g_watchHook);
        g_watchHook = nullptr;
    }
}

bool ProgramCloseWatched() {
    return g_guiThread.load() != 0;
}

BOOL CarryOutProgramClose(CWnd* mainWnd) {
    if (!g_closeRequested || !mainWnd || !mainWnd->GetSafeHwnd()) {
        return FALSE;
    }
    g_closeRequested = false;
    g_lastCancelled = nullptr;
    mainWnd->SendMessageW(WM_CLOSE);
    return TRUE;
}

void ResetProgramCloseRequest() {
    g_closeRequested = false;
    g_lastCancelled = nullptr;
}

void ListenForOutsideCloseRequests(bool serviceTakesSigterm) {
    {
        std::lock_guard lock(g_listenMutex);
        g_signalWatcher = std::make_unique<TerminationSignalWatcher>(
            std::initializer_list<int>{SIGINT, SIGHUP}, OnTerminationSignal);
        if (!serviceTakesSigterm) {
            g_signalWatcher->Take(SIGTERM);
        }
    }
    // Nothing can be shown any more, so nobody could close the program: it saves and ends by itself.
    DisplaySetConnectionLostHandler(RequestProgramClose);
}

void TakeSigtermAsCloseRequest() {
    std::lock_guard lock(g_listenMutex);
    if (g_signalWatcher) {
        g_signalWatcher->Take(SIGTERM);
    }
}

void StopListeningForOutsideCloseRequests() {
    DisplaySetConnectionLostHandler({});
    std::lock_guard lock(g_listenMutex);
    g_signalWatcher.reset();
}
