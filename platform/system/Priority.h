// Process priority classes, best effort: the class is remembered and answered back, and the process's
// nice value follows it as far as the system permits (negative values need CAP_SYS_NICE or RLIMIT_NICE). A
// refusal is no error to the caller, who only asks. There is no real-time scheduling: REALTIME is the
// lowest nice value.
#pragma once

#include "platform/base/LastError.h"
#include "platform/base/Win32Types.h"
#include "platform/kernel/Handles.h"

#include <functional>

#define NORMAL_PRIORITY_CLASS 0x00000020
#define IDLE_PRIORITY_CLASS 0x00000040
#define HIGH_PRIORITY_CLASS 0x00000080
#define REALTIME_PRIORITY_CLASS 0x00000100
#define BELOW_NORMAL_PRIORITY_CLASS 0x00004000
#define ABOVE_NORMAL_PRIORITY_CLASS 0x00008000

// Only the current process; another handle gives ERROR_INVALID_HANDLE, an unknown class
// ERROR_INVALID_PARAMETER.
BOOL SetPriorityClass(HANDLE process, DWORD priorityClass);
// 0 with ERROR_INVALID_HANDLE for another process.
DWORD GetPriorityClass(HANDLE process);

// The nice value of a class: IDLE 19, BELOW_NORMAL 5, NORMAL 0, ABOVE_NORMAL -5, HIGH -10, REALTIME -20.
int NiceValueOfPriorityClass(DWORD priorityClass);

// Applies a nice value to every thread of the process (Linux keeps it per thread); answers whether the
// system took it. Tests put their own in place; an empty one restores the system's.
using ProcessNiceSetter = std::function<bool(int nice)>;
void SetProcessNiceSetter(ProcessNiceSetter setter);
