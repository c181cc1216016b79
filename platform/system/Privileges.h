// The process token and its privileges, over capabilities (Capabilities.h).
//
// A privilege stands for a capability: enabling it raises the capability into the effective set when the
// permitted set holds it; otherwise the call still succeeds but answers ERROR_NOT_ALL_ASSIGNED, and the
// operation that needs it fails later with ERROR_PRIVILEGE_NOT_HELD. The system-time privilege is
// CAP_SYS_TIME, which the program gets from "setcap cap_sys_time+p" on its binary or from its service
// unit. DisableAllPrivileges drops from the effective set the capabilities that privileges stand for (and
// nothing else: a process running as root keeps its file access). Privileges without a capability
// (change notify, time zone, base priority) are always held.
#pragma once

#include "platform/base/LastError.h"
#include "platform/base/Win32Types.h"
#include "platform/kernel/Handles.h"

using PHANDLE = HANDLE*;
using PDWORD = DWORD*;

typedef struct _LUID {
    DWORD LowPart;
    LONG HighPart;
} LUID, *PLUID;

typedef struct _LUID_AND_ATTRIBUTES {
    LUID Luid;
    DWORD Attributes;
} LUID_AND_ATTRIBUTES, *PLUID_AND_ATTRIBUTES;

#define ANYSIZE_ARRAY 1

typedef struct _TOKEN_PRIVILEGES {
    DWORD PrivilegeCount;
    LUID_AND_ATTRIBUTES Privileges[ANYSIZE_ARRAY];
} TOKEN_PRIVILEGES, *PTOKEN_PRIVILEGES;

#define SE_PRIVILEGE_ENABLED_BY_DEFAULT 0x00000001u
#define SE_PRIVILEGE_ENABLED 0x00000002u
#define SE_PRIVILEGE_REMOVED 0x00000004u
#define SE_PRIVILEGE_USED_FOR_ACCESS 0x80000000u

#define TOKEN_ASSIGN_PRIMARY 0x0001
#define TOKEN_DUPLICATE 0x0002
#define TOKEN_IMPERSONATE 0x0004
#define TOKEN_QUERY 0x0008
#define TOKEN_QUERY_SOURCE 0x0010
#define TOKEN_ADJUST_PRIVILEGES 0x0020
#define TOKEN_ADJUST_GROUPS 0x0040
#define TOKEN_ADJUST_DEFAULT 0x0080
#define TOKEN_ADJUST_SESSIONID 0x0100
#define TOKEN_ALL_ACCESS 0x000F01FF

#define SE_LOCK_MEMORY_NAME u"SeLockMemoryPrivilege"
#define SE_SYSTEMTIME_NAME u"SeSystemtimePrivilege"
#define SE_INC_BASE_PRIORITY_NAME u"SeIncreaseBasePriorityPrivilege"
#define SE_SHUTDOWN_NAME u"SeShutdownPrivilege"
#define SE_DEBUG_NAME u"SeDebugPrivilege"
#define SE_CHANGE_NOTIFY_NAME u"SeChangeNotifyPrivilege"
#define SE_TIME_ZONE_NAME u"SeTimeZonePrivilege"

// Only the current process (GetCurrentProcess()). The token is closed with CloseHandle.
BOOL OpenProcessToken(HANDLE processHandle, DWORD desiredAccess, PHANDLE tokenHandle);
// The names above, in any case ("SeSystemTimePrivilege" too); others give ERROR_NO_SUCH_PRIVILEGE. Only
// the local system (null or empty name).
BOOL LookupPrivilegeValueW(LPCWSTR systemName, LPCWSTR name, PLUID luid);
// The token needs TOKEN_ADJUST_PRIVILEGES (and TOKEN_QUERY for previousState). On success the last error is
// ERROR_SUCCESS, or ERROR_NOT_ALL_ASSIGNED when a privilege could not be enabled. previousState, when
// given, receives the earlier state of the privileges that changed; a buffer too small for it gives
// ERROR_INSUFFICIENT_BUFFER and changes nothing.
BOOL AdjustTokenPrivileges(HANDLE tokenHandle, BOOL disableAllPrivileges, PTOKEN_PRIVILEGES newState,
                           DWORD bufferLength, PTOKEN_PRIVILEGES previousState, PDWORD returnLength);

#define LookupPrivilegeValue LookupPrivilegeValueW
