// The program's application object: start-up (a single running copy, help path, sockets, profile key,
// the document template), the first idle pass that starts the receiver link, and help requests.
#pragma once

#include "platform/framework/CWinApp.h"
#include "platform/kernel/FileLock.h"

#include <chrono>

// The system version the clock-setting step asks about (platform 2: the NT family, which this system is).
struct AppOsVersionInfo {
    DWORD dwOSVersionInfoSize = sizeof(AppOsVersionInfo);
    DWORD dwMajorVersion = 0;
    DWORD dwMinorVersion = 0;
    DWORD dwBuildNumber = 0;
    DWORD dwPlatformId = 0;
};

#define VER_PLATFORM_WIN32_NT_FAMILY 2

// The message that asks the view to open the receiver link, posted once at the first idle pass.
#define WM_APP_START_GPS_INIT (WM_APP + 0x13)

class CPex32App : public CWinApp {
public:
    CPex32App();
    ~CPex32App() override = default;

    BOOL InitInstance() override;
    int ExitInstance() override;
    BOOL OnIdle(LONG lCount) override;
    // Help goes to the HTML help viewer, which this system does not have: requests do nothing.
    void WinHelp(DWORD_PTR dwData, UINT nCmd = HELP_CONTEXT) override;
    // FALSE when another copy runs: one that holds the instance lock of this runtime directory or shows a
    // frame of this class (its window is brought forward), or one in another session that uses the same
    // settings (a message says so); FALSE with a message when the runtime directory is refused. TRUE: this
    // copy holds both locks until it ends.
    BOOL CheckSingleInstance();
    // How long a copy that finds the lock taken waits for the other's frame to show.
    static constexpr std::chrono::seconds kWaitForRunningFrame{10};

    AppOsVersionInfo m_osVersion;
    CString m_registryKey;
    CString m_frameClassName;
    CString m_modulePath;

protected:
    void OnAppAbout();

    ExclusiveFileLock m_instanceLock; // in the runtime directory
    ExclusiveFileLock m_settingsLock; // beside the settings

    DECLARE_MESSAGE_MAP()
};

// Set until the first idle pass that finds the view has posted the start of the receiver link.
extern int g_firstIdle;

// The application object, when it is a CPex32App.
CPex32App* AfxGetPex32App();
