// The service control manager, over systemd.
//
// Installing a service writes a unit file "<service name>.service" into the unit directory
// (DOLIVA_UNIT_DIR, else /etc/systemd/system); deleting it removes the file. Service names are matched
// without regard to case, as the original does. DeleteService only removes units that CreateServiceW wrote
// (they carry its marker line): the unit directory also holds the machine's own units.
//
// After a change the manager asks systemd to reload (and enables or disables auto-start services) through
// a command runner. The default runner spawns systemctl and runs only when the unit directory is the
// system's, never when DOLIVA_UNIT_DIR is set (tests); an injected runner always runs.
//
// The dispatcher connects only when systemd started the program for a Type=notify unit, that is when
// NOTIFY_SOCKET is set; otherwise StartServiceCtrlDispatcherW answers at once with
// ERROR_FAILED_SERVICE_CONTROLLER_CONNECT. Connected, it runs the first table entry's ServiceMain on a new
// thread and turns SetServiceStatus reports into notify datagrams:
//   START_PENDING    "STATUS=Starting"
//   RUNNING          "READY=1\nSTATUS=Running"
//   PAUSE_PENDING    "STATUS=Pausing"
//   PAUSED           "STATUS=Paused"
//   CONTINUE_PENDING "STATUS=Continuing"
//   STOP_PENDING     "STOPPING=1\nSTATUS=Stopping"
//   STOPPED          "STOPPING=1\nSTATUS=Stopped" (", exit code N" when the Win32 exit code is not 0)
// with "\nEXTEND_TIMEOUT_USEC=<wait hint in microseconds>" added to a pending state with a wait hint.
// Signals become controls, delivered to the registered handler on the dispatcher thread: SIGTERM is
// SERVICE_CONTROL_STOP, SIGUSR1 SERVICE_CONTROL_PAUSE, SIGUSR2 SERVICE_CONTROL_CONTINUE
// ("systemctl kill -s SIGUSR1 <unit>" pauses). A stop that arrives before the service accepts stops is
// held until it does (systemd's stop must not be lost); a pause or continue that is not accepted is
// dropped, as the original refuses it. The dispatcher returns once the service reports SERVICE_STOPPED and
// its ServiceMain has returned.
//
// The program must call BlockServiceSignalsInThisThread() early in main, before it creates any thread, so
// that SIGTERM, SIGUSR1 and SIGUSR2 stay blocked in every thread and reach the dispatcher (the serial
// watcher's SIGRTMIN+1 is not touched). A thread that leaves them unblocked still forwards them to the
// dispatcher through the layer's handler while it runs.
#pragma once

#include "platform/base/LastError.h"
#include "platform/base/Win32Types.h"

#include <functional>
#include <string>
#include <vector>

struct SC_HANDLE__ {
    int unused;
};
using SC_HANDLE = SC_HANDLE__*;
using LPSC_HANDLE = SC_HANDLE*;
struct SERVICE_STATUS_HANDLE__ {
    int unused;
};
using SERVICE_STATUS_HANDLE = SERVICE_STATUS_HANDLE__*;

#define SERVICES_ACTIVE_DATABASEW u"ServicesActive"
#define SERVICES_ACTIVE_DATABASE SERVICES_ACTIVE_DATABASEW

#define SC_MANAGER_CONNECT 0x0001
#define SC_MANAGER_CREATE_SERVICE 0x0002
#define SC_MANAGER_ENUMERATE_SERVICE 0x0004
#define SC_MANAGER_LOCK 0x0008
#define SC_MANAGER_QUERY_LOCK_STATUS 0x0010
#define SC_MANAGER_MODIFY_BOOT_CONFIG 0x0020
#define SC_MANAGER_ALL_ACCESS 0xF003F

#define SERVICE_QUERY_CONFIG 0x0001
#define SERVICE_CHANGE_CONFIG 0x0002
#define SERVICE_QUERY_STATUS 0x0004
#define SERVICE_ENUMERATE_DEPENDENTS 0x0008
#define SERVICE_START 0x0010
#define SERVICE_STOP 0x0020
#define SERVICE_PAUSE_CONTINUE 0x0040
#define SERVICE_INTERROGATE 0x0080
#define SERVICE_USER_DEFINED_CONTROL 0x0100
#define SERVICE_ALL_ACCESS 0xF01FF

#define SERVICE_KERNEL_DRIVER 0x00000001
#define SERVICE_FILE_SYSTEM_DRIVER 0x00000002
#define SERVICE_WIN32_OWN_PROCESS 0x00000010
#define SERVICE_WIN32_SHARE_PROCESS 0x00000020
#define SERVICE_WIN32 0x00000030
#define SERVICE_INTERACTIVE_PROCESS 0x00000100

#define SERVICE_BOOT_START 0x00000000
#define SERVICE_SYSTEM_START 0x00000001
#define SERVICE_AUTO_START 0x00000002
#define SERVICE_DEMAND_START 0x00000003
#define SERVICE_DISABLED 0x00000004

#define SERVICE_ERROR_IGNORE 0x00000000
#define SERVICE_ERROR_NORMAL 0x00000001
#define SERVICE_ERROR_SEVERE 0x00000002
#define SERVICE_ERROR_CRITICAL 0x00000003

#define SERVICE_STOPPED 0x00000001
#define SERVICE_START_PENDING 0x00000002
#define SERVICE_STOP_PENDING 0x00000003
#define SERVICE_RUNNING 0x00000004
#define SERVICE_CONTINUE_PENDING 0x00000005
#define SERVICE_PAUSE_PENDING 0x00000006
#define SERVICE_PAUSED 0x00000007

#define SERVICE_ACCEPT_STOP 0x00000001
#define SERVICE_ACCEPT_PAUSE_CONTINUE 0x00000002
#define SERVICE_ACCEPT_SHUTDOWN 0x00000004

#define SERVICE_CONTROL_STOP 0x00000001
#define SERVICE_CONTROL_PAUSE 0x00000002
#define SERVICE_CONTROL_CONTINUE 0x00000003
#define SERVICE_CONTROL_INTERROGATE 0x00000004
#define SERVICE_CONTROL_SHUTDOWN 0x00000005

#define SC_GROUP_IDENTIFIERW u'+'

typedef struct _SERVICE_STATUS {
    DWORD dwServiceType;
    DWORD dwCurrentState;
    DWORD dwControlsAccepted;
    DWORD dwWin32ExitCode;
    DWORD dwServiceSpecificExitCode;
    DWORD dwCheckPoint;
    DWORD dwWaitHint;
} SERVICE_STATUS, *LPSERVICE_STATUS;

using LPSERVICE_MAIN_FUNCTIONW = void (*)(DWORD argc, LPWSTR* argv);
using LPHANDLER_FUNCTION = void (*)(DWORD control);
using LPHANDLER_FUNCTION_EX = DWORD (*)(DWORD control, DWORD eventType, LPVOID eventData, LPVOID context);

typedef struct _SERVICE_TABLE_ENTRYW {
    LPWSTR lpServiceName;
    LPSERVICE_MAIN_FUNCTIONW lpServiceProc;
} SERVICE_TABLE_ENTRYW, *LPSERVICE_TABLE_ENTRYW;

// Only the local machine (null or empty name) and the active database (null or "ServicesActive"; another
// name gives ERROR_DATABASE_DOES_NOT_EXIST). Any access beyond connecting, enumerating and querying needs a
// writable unit directory, else ERROR_ACCESS_DENIED.
SC_HANDLE OpenSCManagerW(LPCWSTR machineName, LPCWSTR databaseName, DWORD desiredAccess);

// Writes the unit:
//   [Unit] Description=<display name>, Requires= and After= for each dependency;
//   [Service] Type=notify, ExecStart=<binary path with its arguments>, AmbientCapabilities=CAP_SYS_TIME,
//   Restart=no, and User=<account> for an account other than LocalSystem;
//   [Install] WantedBy=multi-user.target for SERVICE_AUTO_START.
// The binary path is a command line as the original takes it (a quoted or space-free program path, or an
// existing file's path with spaces, then the arguments). Names other than letters, digits and ":_.-" give
// ERROR_INVALID_NAME; an existing unit ERROR_SERVICE_EXISTS; driver types and boot or system start
// ERROR_INVALID_PARAMETER. The password is not used.
SC_HANDLE CreateServiceW(SC_HANDLE manager, LPCWSTR serviceName, LPCWSTR displayName, DWORD desiredAccess,
                         DWORD serviceType, DWORD startType, DWORD errorControl, LPCWSTR binaryPathName,
                         LPCWSTR loadOrderGroup, LPDWORD tagId, LPCWSTR dependencies,
                         LPCWSTR serviceStartName, LPCWSTR password);
// ERROR_SERVICE_DOES_NOT_EXIST when there is no such unit.
SC_HANDLE OpenServiceW(SC_HANDLE manager, LPCWSTR serviceName, DWORD desiredAccess);
// Removes the unit file (disabling it first). A second delete gives ERROR_SERVICE_MARKED_FOR_DELETE; a
// unit that CreateServiceW did not write, ERROR_ACCESS_DENIED.
BOOL DeleteService(SC_HANDLE service);
BOOL CloseServiceHandle(SC_HANDLE handle);

// See above. A second call while one runs gives ERROR_SERVICE_ALREADY_RUNNING; a table without a first
// entry ERROR_INVALID_DATA.
BOOL StartServiceCtrlDispatcherW(const SERVICE_TABLE_ENTRYW* serviceTable);
// Only from the running service (its name, any case); else ERROR_SERVICE_NOT_IN_EXE.
SERVICE_STATUS_HANDLE RegisterServiceCtrlHandlerW(LPCWSTR serviceName, LPHANDLER_FUNCTION handler);
SERVICE_STATUS_HANDLE RegisterServiceCtrlHandlerExW(LPCWSTR serviceName, LPHANDLER_FUNCTION_EX handler,
                                                    LPVOID context);
// Sends the state's notify message (above). ERROR_INVALID_HANDLE for a handle that is not the running
// service's, ERROR_INVALID_DATA for an unknown state; a failed send fails the call with its error.
BOOL SetServiceStatus(SERVICE_STATUS_HANDLE statusHandle, LPSERVICE_STATUS status);

#define OpenSCManager OpenSCManagerW
#define CreateService CreateServiceW
#define OpenService OpenServiceW
#define StartServiceCtrlDispatcher StartServiceCtrlDispatcherW
#define RegisterServiceCtrlHandler RegisterServiceCtrlHandlerW
#define RegisterServiceCtrlHandlerEx RegisterServiceCtrlHandlerExW
#define SERVICE_TABLE_ENTRY SERVICE_TABLE_ENTRYW
#define LPSERVICE_TABLE_ENTRY LPSERVICE_TABLE_ENTRYW

// ---- Layer additions

// Blocks SIGTERM, SIGUSR1 and SIGUSR2 in the calling thread when systemd started the program
// (NOTIFY_SOCKET is set); threads it creates inherit the mask. Started any other way it leaves them alone,
// as no dispatcher will read them.
void BlockServiceSignalsInThisThread();
// Whether systemd started the program for a notify unit (NOTIFY_SOCKET is set): only then can the dispatcher
// connect, and SIGTERM is its stop.
bool StartedByServiceManager();

// Hands a control to the running dispatcher as a signal would (for the program's own use and for tests;
// INTERROGATE has no systemd counterpart). FALSE with ERROR_SERVICE_NOT_ACTIVE when no dispatcher runs.
BOOL PostServiceControl(DWORD control);

// DOLIVA_UNIT_DIR, else /etc/systemd/system.
std::string ServiceUnitDirectory();

// Runs one command (argv[0] is "systemctl") and answers its exit status, or -1 when it could not run.
using ServiceCommandRunner = std::function<int(const std::vector<std::string>& argv)>;
// An empty runner restores the default one.
void SetServiceCommandRunner(ServiceCommandRunner runner);
