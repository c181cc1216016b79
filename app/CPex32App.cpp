#include "app/CPex32App.h"

#include "app/AboutDialog.h"
#include "app/CGridControlFactory.h"
#include "app/CMainFrame.h"
#include "app/CPex32Doc.h"
#include "app/CPex32View.h"
#include "app/ProgramClose.h"
#include "platform/base/CodePage.h"
#include "platform/display/Rendezvous.h"
#include "platform/display/WindowApi.h"
#include "platform/framework/CDocTemplate.h"
#include "platform/registry/Registry.h"
#include "platform/system/Sockets.h"
#include "resources/Resource.h"

#include <chrono>
#include <cstdlib>
#include <thread>

int g_firstIdle = 1;

BEGIN_MESSAGE_MAP(CPex32App, CWinApp)
ON_COMMAND(ID_APP_ABOUT, OnAppAbout)
ON_COMMAND(ID_FILE_NEW, OnFileNew)
ON_COMMAND(ID_FILE_OPEN, OnFileOpen)
END_MESSAGE_MAP()

namespace {

BOOL AfxSocketInit() {
    WSADATA data{};
    return ::WSAStartup(MAKEWORD(1, 1), &data) == 0;
}

void ShowStartProblem(const std::string& text, UINT icon) {
    AfxMessageBox(CString(Utf8ToUtf16(text).c_str()), MB_OK | icon);
}

} // namespace

CPex32App* AfxGetPex32App() {
    return dynamic_cast<CPex32App*>(AfxGetApp());
}

CPex32App::CPex32App() : CWinApp(u"Doliva") {
    m_osVersion.dwOSVersionInfoSize = sizeof(m_osVersion);
    m_osVersion.dwPlatformId = VER_PLATFORM_WIN32_NT_FAMILY;
}

BOOL CPex32App::CheckSingleInstance() {
    std::string problem;
    const InstanceClaim claim = DisplayClaimInstance(m_frameClassName.str(), m_instanceLock, &problem);
    if (claim == InstanceClaim::kRefused) {
        ShowStartProblem(
            "Doliva cannot start: the runtime directory " + problem +
                ".\nIt must be a directory of your own that others cannot enter (XDG_RUNTIME_DIR).",
            MB_ICONSTOP);
        return FALSE;
    }
    HWND running = ::FindWindowW(m_frameClassName, nullptr);
    // A copy started a moment ago may not have shown its frame yet.
    for (auto end = std::chrono::steady_clock::now() + kWaitForRunningFrame;
         !running && claim == InstanceClaim::kRunning && std::chrono::steady_clock::now() < end;) {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        running = ::FindWindowW(m_frameClassName, nullptr);
    }
    if (running) {
        HWND popup = ::GetLastActivePopup(running);
        ::BringWindowToTop(running);
        if (::IsIconic(running)) {
            ::ShowWindow(running, SW_RESTORE);
        }
        if (popup && popup != running) {
            ::BringWindowToTop(popup);
        }
        return FALSE;
    }
    if (claim == InstanceClaim::kRunning) {
        return FALSE;
    }
    // Another runtime directory (another session) may hold a copy that uses these settings and this port.
    if (doliva::registry::ClaimUserHive(m_settingsLock) == ExclusiveFileLock::Result::kHeld) {
        ShowStartProblem("Doliva is running already with the settings in " +
                             doliva::registry::UserHivePath() +
                             ", in another session; only one copy may use them.",
                         MB_ICONEXCLAMATION);
        return FALSE;
    }
    return TRUE;
}

BOOL CPex32App::InitInstance() {
    CCommandLineInfo commandLine;
    ParseCommandLine(commandLine);

    m_registryKey = u"Halvorn";
    m_frameClassName = u"Doliva";
    WatchForProgramClose();

    if (!CheckSingleInstance()) {
        return FALSE;
    }

    if (m_pszHelpFilePath) {
        CString helpPath = m_pszHelpFilePath;
        helpPath.Replace(u".HLP", u".chm");
        std::free(const_cast<LPTSTR>(m_pszHelpFilePath));
        m_pszHelpFilePath = AfxStrDup(helpPath);
    }

    TCHAR modulePath[260];
    DWORD length = ::GetModuleFileNameW(nullptr, modulePath, 260);
    m_modulePath = CString(modulePath, static_cast<int>(length));

    if (!AfxSocketInit()) {
        AfxMessageBox(u"Windows sockets initialization failed.", MB_OK);
        return FALSE;
    }

    SetUpProgramGrids();
    Enable3dControls();

    SetRegistryKey(m_registryKey);
    if (const std::string problem = doliva::registry::CheckUserHiveWritable(); !problem.empty()) {
        ShowStartProblem(problem, MB_ICONEXCLAMATION);
    }
    LoadStdProfileSettings(4);

    auto* docTemplate = new CSingleDocTemplate(IDR_MAINFRAME, RUNTIME_CLASS(CPex32Doc),
                                               RUNTIME_CLASS(CMainFrame), RUNTIME_CLASS(CPex32View));
    AddDocTemplate(docTemplate);

    return ProcessShellCommand(commandLine);
}

int CPex32App::ExitInstance() {
    StopWatchingForProgramClose();
    return CWinApp::ExitInstance();
}

BOOL CPex32App::OnIdle(LONG lCount) {
    // The idle pass runs at the top of the loop only: the one place where closing destroys nothing that a
    // caller further up still uses.
    if (CarryOutProgramClose(m_pMainWnd)) {
        return FALSE;
    }
    BOOL more = CWinApp::OnIdle(lCount);
    if (g_firstIdle && m_pMainWnd) {
        auto* frame = dynamic_cast<CMainFrame*>(m_pMainWnd);
        CView* view = frame ? frame->GetActiveView() : nullptr;
        if (frame) {
            frame->UpdateTitle(u"");
        }
        if (view) {
            view->PostMessageW(WM_APP_START_GPS_INIT, 0, 0);
            g_firstIdle = 0;
        }
    }
    return more;
}

void CPex32App::WinHelp(DWORD_PTR, UINT) {}

void CPex32App::OnAppAbout() {
    CAboutDlg about;
    about.DoModal();
}
