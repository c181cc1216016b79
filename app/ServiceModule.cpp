#include "app/ServiceModule.h"

#include "app/ProgramClose.h"
#include "platform/base/CString.h"
#include "platform/base/WideRuntime.h"
#include "platform/display/MessageBox.h"
#include "platform/display/WindowConstants.h"
#include "platform/framework/CWinApp.h"
#include "platform/framework/CWnd.h"
#include "platform/kernel/Handles.h"
#include "platform/kernel/Sync.h"
#include "platform/kernel/Threads.h"
#include "platform/registry/Registry.h"

#include <cstdlib>
#include <cstring>
#include <string>
#include <unistd.h>
#include <vector>

ServiceModule* g_serviceModule = nullptr;

namespace {

void CopyText(WCHAR* target, size_t capacity, const CString& text) {
    size_t n = std::min(static_cast<size_t>(text.GetLength()), capacity - 1);
    std::memcpy(target, text.GetString(), n * sizeof(WCHAR));
    target[n] = 0;
}

} // namespace

ServiceModule::ServiceModule() = default;

ServiceModule::~ServiceModule() {
    RemovePauseHook();
    if (m_service) {
        ::CloseServiceHandle(m_service);
    }
    if (m_manager) {
        ::CloseServiceHandle(m_manager);
    }
    if (m_dispatcherThread) {
        ::CloseHandle(m_dispatcherThread);
    }
    if (m_mainThread) {
        ::CloseHandle(m_mainThread);
    }
}

void ServiceModule::ShowMessage(LPCWSTR caption) {
    ::MessageBoxW(nullptr, m_messageText, caption, MB_OK);
}

BOOL ServiceModule::ConnectToScm() {
    if (m_manager) {
        return TRUE;
    }
    m_manager = ::OpenSCManagerW(nullptr, nullptr, SC_MANAGER_ALL_ACCESS);
    if (m_manager) {
        return TRUE;
    }
    DWORD error = ::GetLastError();
    CString detail;
    switch (error) {
    case ERROR_ACCESS_DENIED:
        detail = u"The requested access was denied.";
        break;
    case ERROR_INVALID_PARAMETER:
        detail = u"A specified parameter is invalid.";
        break;
    case ERROR_DATABASE_DOES_NOT_EXIST:
        detail = u"The specified database does not exist.";
        break;
    default:
        detail.Format(u"Unknown error (%d)", static_cast<int>(error));
        break;
    }
    CopyText(m_detailText, std::size(m_detailText), detail);
    CString message;
    message.Format(u"Failed: to connect to Service Control Manager\n%s\n", m_detailText);
    CopyText(m_messageText, std::size(m_messageText), message);
    ShowMessage(u"Error");
    return FALSE;
}

void ServiceModule::Install(LPCWSTR serviceName) {
    if (!ConnectToScm()) {
        return;
    }
    CString message;
    WCHAR path[512];
    if (!::GetModuleFileNameW(nullptr, path, 512)) {
        message.Format(u"Failed to get exe for service %s (%d)\n", DOLIVA_SERVICE_NAME,
                       static_cast<int>(::GetLastError()));
        CopyText(m_messageText, std::size(m_messageText), message);
        ShowMessage(u"Error");
        return;
    }
    // A path with blanks is quoted, so that the manager reads it as one word.
    CString binaryPath = path;
    if (binaryPath.Find(u' ') >= 0) {
        binaryPath = CString(u"\"") + binaryPath + u"\"";
    }
    m_service =
        ::CreateServiceW(m_manager, serviceName, DOLIVA_SERVICE_DISPLAY_NAME, SERVICE_ALL_ACCESS,
                         SERVICE_WIN32_OWN_PROCESS | SERVICE_INTERACTIVE_PROCESS, SERVICE_AUTO_START,
                         SERVICE_ERROR_NORMAL, binaryPath, nullptr, nullptr, nullptr, nullptr, nullptr);
    if (!m_service) {
        message.Format(u"Failed to create service %s (%d)\n", serviceName,
                       static_cast<int>(::GetLastError()));
        CopyText(m_messageText, std::size(m_messageText), message);
        ShowMessage(u"Error");
        return;
    }
    message.Format(u"Created service %s\n", serviceName);
    CopyText(m_messageText, std::size(m_messageText), message);
    ShowMessage(u"Completed");
    ::CloseServiceHandle(m_service);
    m_service = nullptr;

    HKEY key = nullptr;
    LONG result = ::RegCreateKeyW(HKEY_LOCAL_MACHINE, DOLIVA_SERVICE_PARAMETERS_KEY, &key);
    if (result != ERROR_SUCCESS) {
        message.Format(u"Problem creating key %s (%d)\n", DOLIVA_SERVICE_PARAMETERS_KEY,
                       static_cast<int>(result));
        CopyText(m_messageText, std::size(m_messageText), message);
        ShowMessage(u"Error");
        return;
    }
    ::RegCloseKey(key);
}

void ServiceModule::Remove(LPCWSTR serviceName) {
    if (!ConnectToScm()) {
        return;
    }
    CString message;
    m_service = ::OpenServiceW(m_manager, serviceName, SERVICE_ALL_ACCESS);
    if (!m_service) {
        DWORD error = ::GetLastError();
        CString detail;
        switch (error) {
        case ERROR_ACCESS_DENIED:
            detail =
                u"The specified service control manager database handle does not have access to the service.";
            break;
        case ERROR_INVALID_HANDLE:
            detail = u"The specified handle is invalid.";
            break;
        case ERROR_INVALID_NAME:
            detail = u"The specified service name is invalid.";
            break;
        case ERROR_SERVICE_DOES_NOT_EXIST:
            detail = u"The specified service does not exist.";
            break;
        default:
            detail.Format(u"Unknown error (%d)", static_cast<int>(error));
            break;
        }
        CopyText(m_detailText, std::size(m_detailText), detail);
        message.Format(u"Failed: to open service %s\n%s\n", serviceName, m_detailText);
        CopyText(m_messageText, std::size(m_messageText), message);
        ShowMessage(u"Error");
        return;
    }
    if (::DeleteService(m_service)) {
        message.Format(u"Deleted service %s\n", serviceName);
        CopyText(m_messageText, std::size(m_messageText), message);
        ShowMessage(u"Completed");
    } else {
        message.Format(u"Failed in attempt to delete service %s (%d)\n", serviceName,
                       static_cast<int>(::GetLastError()));
        CopyText(m_messageText, std::size(m_messageText), message);
        ShowMessage(u"Error");
    }
    ::CloseServiceHandle(m_service);
    m_service = nullptr;
}

BOOL ServiceModule::ReportStatus(DWORD currentState, DWORD exitCode, DWORD checkpoint, DWORD waitHint) {
    m_status.dwCurrentState = currentState;
    m_status.dwControlsAccepted =
        currentState == SERVICE_START_PENDING ? 0 : SERVICE_ACCEPT_STOP | SERVICE_ACCEPT_PAUSE_CONTINUE;
    m_status.dwWin32ExitCode = exitCode;
    m_status.dwCheckPoint = checkpoint;
    m_status.dwWaitHint = waitHint;
    BOOL ok = ::SetServiceStatus(m_statusHandle, &m_status);
    if (!ok) {
        SignalStop();
    }
    return ok;
}

void ServiceModule::StartDispatcher() {
    m_stopEvent = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
    m_dispatcherThread = ::CreateThread(nullptr, 0, ServiceDispatcherThread, nullptr, 0, nullptr);
}

void ServiceModule::SignalStop() {
    if (m_stopEvent) {
        ::SetEvent(m_stopEvent);
    }
}

void ServiceModule::CloseStopEvent() {
    if (m_stopEvent) {
        ::CloseHandle(m_stopEvent);
        m_stopEvent = nullptr;
    }
}

void ServiceModule::WaitForDispatcher(DWORD milliseconds) {
    if (m_dispatcherThread) {
        ::WaitForSingleObject(m_dispatcherThread, milliseconds);
    }
}

void ServiceModule::SuspendGuiThread() {
    m_guiSuspended = true;
    // Wakes the GUI thread's wait for a message, so that it stops at once rather than at its next input.
    ::PostThreadMessageW(m_mainThreadId, WM_NULL, 0, 0);
}

void ServiceModule::ResumeGuiThread() {
    {
        std::lock_guard lock(m_pauseMutex);
        m_guiSuspended = false;
    }
    m_pauseChanged.notify_all();
}

void ServiceModule::HoldWhileSuspended() {
    std::unique_lock lock(m_pauseMutex);
    m_pauseChanged.wait(lock, [this] { return !m_guiSuspended.load(); });
}

void ServiceModule::InstallPauseHook() {
    if (!m_pauseHook) {
        m_pauseHook = ::SetWindowsHookExW(WH_GETMESSAGE, PauseHookProc, nullptr, m_mainThreadId);
    }
}

void ServiceModule::RemovePauseHook() {
    if (m_pauseHook) {
        ::UnhookWindowsHookEx(m_pauseHook);
        m_pauseHook = nullptr;
    }
}

LRESULT CALLBACK ServiceModule::PauseHookProc(int code, WPARAM wParam, LPARAM lParam) {
    if (code >= 0 && g_serviceModule && g_serviceModule->m_guiSuspended) {
        g_serviceModule->HoldWhileSuspended();
    }
    return ::CallNextHookEx(nullptr, code, wParam, lParam);
}

BOOL SplitCommandLine(LPCWSTR firstWord, LPCWSTR commandLine, int* wordCount, LPWSTR** words) {
    if (!commandLine || !wordCount || !words) {
        return FALSE;
    }
    std::vector<std::u16string> list;
    list.emplace_back(firstWord ? firstWord : u"");
    const char16_t* p = commandLine;
    auto blank = [](char16_t c) { return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n'; };
    while (*p) {
        while (*p && blank(*p)) {
            ++p;
        }
        if (!*p) {
            break;
        }
        std::u16string word;
        if (*p == u'"' || *p == u'\'') {
            char16_t quote = *p++;
            while (*p && *p != quote) {
                word += *p++;
            }
            if (*p) {
                ++p;
            }
        } else {
            while (*p && !blank(*p)) {
                word += *p++;
            }
        }
        list.push_back(std::move(word));
    }
    size_t textUnits = 0;
    for (const auto& w : list) {
        textUnits += w.size() + 1;
    }
    size_t pointerBytes = list.size() * sizeof(LPWSTR);
    auto* block = static_cast<unsigned char*>(std::malloc(pointerBytes + textUnits * sizeof(WCHAR)));
    if (!block) {
        return FALSE;
    }
    auto** array = reinterpret_cast<LPWSTR*>(block);
    auto* text = reinterpret_cast<WCHAR*>(block + pointerBytes);
    for (size_t i = 0; i < list.size(); ++i) {
        array[i] = text;
        std::memcpy(text, list[i].data(), list[i].size() * sizeof(WCHAR));
        text[list[i].size()] = 0;
        text += list[i].size() + 1;
    }
    *wordCount = static_cast<int>(list.size());
    *words = array;
    return TRUE;
}

DWORD WINAPI ServiceDispatcherThread(LPVOID) {
    if (!g_serviceModule) {
        ::MessageBoxW(nullptr, u"The Service Class is NULL in the Service Control Thread", u"Error", MB_OK);
        return 0;
    }
    WCHAR name[] = DOLIVA_SERVICE_NAME;
    const SERVICE_TABLE_ENTRYW table[] = {{name, ServiceMain}, {nullptr, nullptr}};
    if (::StartServiceCtrlDispatcherW(table)) {
        return 0;
    }
    DWORD error = ::GetLastError();
    if (StartedByServiceManager()) {
        TakeSigtermAsCloseRequest(); // systemd's stop will not come through the dispatcher
    }
    CString detail;
    switch (error) {
    case ERROR_FAILED_SERVICE_CONTROLLER_CONNECT:
        return 0; // started from the desktop, not by the service manager
    case ERROR_INVALID_DATA:
        detail = u"The dispatch table contains entries that are not in the proper format.";
        break;
    case ERROR_SERVICE_ALREADY_RUNNING:
        detail = u"The process has already called StartServiceCtrlDispatcher.";
        break;
    default:
        detail.Format(u"Unknown error (%d)", static_cast<int>(error));
        break;
    }
    CopyText(g_serviceModule->m_detailText, std::size(g_serviceModule->m_detailText), detail);
    CString message;
    message.Format(u"Failed: to Start Service Control Dispatcher.\n%s\n", g_serviceModule->m_detailText);
    ::MessageBoxW(nullptr, message, u"Error", MB_OK);
    return 0;
}

void ServiceMain(DWORD, LPWSTR*) {
    ServiceModule* module = g_serviceModule;
    if (!module) {
        return;
    }
    module->m_statusHandle = ::RegisterServiceCtrlHandlerW(DOLIVA_SERVICE_NAME, ServiceControlHandler);
    if (module->m_statusHandle) {
        module->m_status.dwServiceType = SERVICE_WIN32_OWN_PROCESS;
        module->m_status.dwServiceSpecificExitCode = 0;
        if (module->ReportStatus(SERVICE_START_PENDING, NO_ERROR, 1, 6000) &&
            module->ReportStatus(SERVICE_RUNNING, NO_ERROR, 0, 0)) {
            ::WaitForSingleObject(module->m_stopEvent, INFINITE);
        }
    }
    // A paused GUI thread must be able to close.
    module->ResumeGuiThread();
    if (module->m_statusHandle) {
        module->ReportStatus(SERVICE_STOPPED, module->m_stopExitCode, 0, 0);
    }
    if (module->m_guiEnding) {
        return;
    }
    CWinApp* app = AfxGetApp();
    if ((app && app->m_pMainWnd && app->m_pMainWnd->GetSafeHwnd()) || ProgramCloseWatched()) {
        // The user's Close, from the top of the GUI thread's loop: a WM_CLOSE posted into a modal loop would
        // destroy the view under the code that opened it. A stop while the program still starts waits for
        // its main window rather than ending the process with nothing saved.
        RequestProgramClose();
    } else {
        ::_exit(0);
    }
}

void ServiceControlHandler(DWORD control) {
    ServiceModule* module = g_serviceModule;
    if (!module) {
        return;
    }
    DWORD state = module->m_status.dwCurrentState;
    switch (control) {
    case SERVICE_CONTROL_STOP:
        module->ReportStatus(SERVICE_STOP_PENDING, NO_ERROR, 1, 3000);
        module->SignalStop();
        break;
    case SERVICE_CONTROL_PAUSE:
        if (state == SERVICE_RUNNING) {
            module->SuspendGuiThread();
            module->ReportStatus(SERVICE_PAUSED, NO_ERROR, 0, 0);
        } else {
            module->ReportStatus(state, NO_ERROR, 0, 0);
        }
        break;
    case SERVICE_CONTROL_CONTINUE:
        if (module->IsGuiThreadSuspended()) {
            module->ResumeGuiThread();
        }
        module->ReportStatus(SERVICE_RUNNING, NO_ERROR, 0, 0);
        break;
    default:
        // Interrogation and unknown controls report the state as it is.
        module->ReportStatus(state, NO_ERROR, 0, 0);
        break;
    }
}

int AfxWinMainWithService(int argc, char** argv) {
    int result = -1;
    CWinApp* app = AfxGetApp();
    if (!app || !AfxWinInit(argc, argv) || !app->InitApplication()) {
        AfxWinTerm();
        return result;
    }

    g_serviceModule = new ServiceModule;
    g_serviceModule->m_instance = app->m_hInstance;
    g_serviceModule->m_previousInstance = app->m_hPrevInstance;
    g_serviceModule->m_commandLine = app->m_lpCmdLine;
    g_serviceModule->m_showCommand = app->m_nCmdShow;
    ::DuplicateHandle(::GetCurrentProcess(), ::GetCurrentThread(), ::GetCurrentProcess(),
                      &g_serviceModule->m_mainThread, 0, FALSE, DUPLICATE_SAME_ACCESS);
    g_serviceModule->m_mainThreadId = ::GetCurrentThreadId();

    int wordCount = 0;
    LPWSTR* words = nullptr;
    bool serviceTakesSigterm = false;
    if (SplitCommandLine(u"Service", app->m_lpCmdLine, &wordCount, &words)) {
        g_serviceModule->m_runAsService = 1;
        for (int i = 1; i < wordCount; ++i) {
            if (_wcsicmp(words[i], u"-service") == 0) {
                g_serviceModule->m_runAsService = 1;
            }
            if (_wcsicmp(words[i], u"-noservice") == 0) {
                g_serviceModule->m_runAsService = 0;
            }
            bool install = _wcsicmp(words[i], u"-install") == 0;
            bool remove = !install && _wcsicmp(words[i], u"-remove") == 0;
            if (install || remove) {
                if (install) {
                    g_serviceModule->Install(DOLIVA_SERVICE_NAME);
                } else {
                    g_serviceModule->Remove(DOLIVA_SERVICE_NAME);
                }
                std::free(words);
                g_serviceModule->CloseStopEvent();
                delete g_serviceModule;
                g_serviceModule = nullptr;
                return 0;
            }
        }
        std::free(words);
        if (g_serviceModule->m_runAsService == 1) {
            g_serviceModule->InstallPauseHook();
            serviceTakesSigterm = StartedByServiceManager();
        } else {
            delete g_serviceModule;
            g_serviceModule = nullptr;
        }
    }
    ListenForOutsideCloseRequests(serviceTakesSigterm);
    if (g_serviceModule && g_serviceModule->m_runAsService == 1) {
        g_serviceModule->StartDispatcher();
    }

    if (app->InitInstance()) {
        result = app->Run();
    } else {
        if (app->m_pMainWnd && app->m_pMainWnd->GetSafeHwnd()) {
            app->m_pMainWnd->DestroyWindow();
        }
        result = app->ExitInstance();
    }

    StopListeningForOutsideCloseRequests();
    if (g_serviceModule) {
        g_serviceModule->m_guiEnding = true;
        g_serviceModule->SignalStop();
    }
    AfxWinTerm();
    if (g_serviceModule) {
        g_serviceModule->WaitForDispatcher(3000);
        g_serviceModule->CloseStopEvent();
        delete g_serviceModule;
        g_serviceModule = nullptr;
    }
    return result;
}
