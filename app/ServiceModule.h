// The program's entry with the service layer around the framework's start: the "-install", "-remove",
// "-service" and "-noservice" switches, and, when the program runs as a service, a dispatcher thread that
// reports the service's states to the service manager and turns its controls into closing, pausing and
// resuming the program. The application itself does not know whether it runs as a service.
#pragma once

#include "platform/base/Win32Types.h"
#include "platform/display/MessageApi.h"
#include "platform/system/Services.h"

#include <atomic>
#include <condition_variable>
#include <mutex>

#define DOLIVA_SERVICE_NAME u"DolivaService"
#define DOLIVA_SERVICE_DISPLAY_NAME u"Doliva Service"
#define DOLIVA_SERVICE_PARAMETERS_KEY u"System\\CurrentControlSet\\Services\\DolivaService\\Parameters"

class ServiceModule {
public:
    ServiceModule();
    ~ServiceModule();
    ServiceModule(const ServiceModule&) = delete;
    ServiceModule& operator=(const ServiceModule&) = delete;

    // Each shows one message box (no owner, OK only) telling how it went.
    void Install(LPCWSTR serviceName);
    void Remove(LPCWSTR serviceName);
    // TRUE when the manager connection is (or could be) opened; otherwise shows the error box.
    BOOL ConnectToScm();
    // Controls accepted: none while starting, stop and pause/continue otherwise. A failed report signals
    // the stop event.
    BOOL ReportStatus(DWORD currentState, DWORD exitCode, DWORD checkpoint, DWORD waitHint);
    // Creates the stop event and starts the dispatcher thread.
    void StartDispatcher();
    void SignalStop();
    void CloseStopEvent();
    // Waits (bounded) for the dispatcher thread to end, so that its last report precedes freeing this.
    void WaitForDispatcher(DWORD milliseconds);

    // Pausing holds the GUI thread at its next message until it is resumed.
    void SuspendGuiThread();
    void ResumeGuiThread();
    bool IsGuiThreadSuspended() const { return m_guiSuspended.load(); }
    void InstallPauseHook();
    void RemovePauseHook();

    HINSTANCE m_instance = nullptr;
    HINSTANCE m_previousInstance = nullptr;
    LPCWSTR m_commandLine = nullptr;
    int m_showCommand = 0;
    HANDLE m_stopEvent = nullptr;
    SC_HANDLE m_service = nullptr;
    SC_HANDLE m_manager = nullptr;
    SERVICE_STATUS m_status{};
    SERVICE_STATUS_HANDLE m_statusHandle = nullptr;
    int m_runAsService = 0;
    HANDLE m_mainThread = nullptr;
    DWORD m_mainThreadId = 0;
    DWORD m_stopExitCode = 0;
    WCHAR m_messageText[256]{};
    WCHAR m_detailText[132]{};
    // Set by the entry routine before it signals the stop at the end of its own run: the service thread
    // then leaves the process to end normally.
    std::atomic<bool> m_guiEnding{false};

private:
    void ShowMessage(LPCWSTR caption);
    void HoldWhileSuspended();
    static LRESULT CALLBACK PauseHookProc(int code, WPARAM wParam, LPARAM lParam);

    HANDLE m_dispatcherThread = nullptr;
    HHOOK m_pauseHook = nullptr;
    std::atomic<bool> m_guiSuspended{false};
    std::mutex m_pauseMutex;
    std::condition_variable m_pauseChanged;
};

extern ServiceModule* g_serviceModule;

// Splits the command line into words (blanks separate words; a word starting with a double or single quote
// runs to the next quote of the same kind, without the quotes) after the given first word. One heap block
// holds the pointers and the text: free it once with free(). FALSE when the command line is null.
BOOL SplitCommandLine(LPCWSTR firstWord, LPCWSTR commandLine, int* wordCount, LPWSTR** words);

DWORD WINAPI ServiceDispatcherThread(LPVOID parameter);
void ServiceMain(DWORD argc, LPWSTR* argv);
void ServiceControlHandler(DWORD control);

// The program's entry after main: the framework's start, the switches and the service layer. Answers the
// exit code (0 after an install or remove, -1 when the framework or the application failed to start).
int AfxWinMainWithService(int argc, char** argv);
