// Threads and the process's identity.
//
// CreateThread starts a detached POSIX thread: nothing needs to join it, its resources go back to the
// system as soon as it ends, and its handle (a waitable object, signalled once the thread has ended and its
// exit code is set) stays valid until closed. Threads still running when the process exits end with it, as
// the original's do. A thread ending while it owns mutexes abandons them.
#pragma once

#include "platform/base/LastError.h"
#include "platform/base/Win32Types.h"
#include "platform/kernel/Handles.h"

using THREAD_START_ROUTINE = DWORD (*)(LPVOID parameter);
using LPTHREAD_START_ROUTINE = THREAD_START_ROUTINE;

#define CREATE_SUSPENDED 0x00000004
#define STACK_SIZE_PARAM_IS_A_RESERVATION 0x00010000
#define STILL_ACTIVE 259

#define THREAD_PRIORITY_IDLE (-15)
#define THREAD_PRIORITY_LOWEST (-2)
#define THREAD_PRIORITY_BELOW_NORMAL (-1)
#define THREAD_PRIORITY_NORMAL 0
#define THREAD_PRIORITY_ABOVE_NORMAL 1
#define THREAD_PRIORITY_HIGHEST 2
#define THREAD_PRIORITY_TIME_CRITICAL 15
#define THREAD_PRIORITY_ERROR_RETURN 0x7FFFFFFF

#define THREAD_TERMINATE 0x0001
#define THREAD_SUSPEND_RESUME 0x0002
#define THREAD_QUERY_INFORMATION 0x0040
#define THREAD_SET_INFORMATION 0x0020
#define THREAD_ALL_ACCESS 0x001FFFFF

// stackSize 0 takes the system default; a smaller request than the layer's floor is raised to it. Only
// CREATE_SUSPENDED (and STACK_SIZE_PARAM_IS_A_RESERVATION) are accepted in flags. threadId receives the
// new thread's Linux thread id.
HANDLE CreateThread(LPSECURITY_ATTRIBUTES attributes, SIZE_T stackSize, LPTHREAD_START_ROUTINE start,
                    LPVOID parameter, DWORD creationFlags, LPDWORD threadId);
// Starts a thread created suspended; answers the previous suspend count (0 when it was already running),
// or (DWORD)-1 on failure.
DWORD ResumeThread(HANDLE thread);
// STILL_ACTIVE while the thread runs, then the value its routine returned or it passed to ExitThread.
BOOL GetExitCodeThread(HANDLE thread, LPDWORD exitCode);
// Ends the calling thread, unwinding its stack (destructors run) through the POSIX thread exit.
[[noreturn]] void ExitThread(DWORD exitCode);

// The pseudo-handle for "the calling thread", valid only in that thread; DuplicateHandle makes a real one.
HANDLE GetCurrentThread();
// Names the calling thread (GetCurrentThread()) for the system's tools, cut to 15 characters; another
// handle gives E_NOTIMPL.
HRESULT SetThreadDescription(HANDLE thread, LPCWSTR description);
// The Linux thread id.
DWORD GetCurrentThreadId();
DWORD GetThreadId(HANDLE thread);
DWORD GetCurrentProcessId();

// The THREAD_PRIORITY_* value is kept per thread and answered back as set. The system nice value is also
// changed as far as the process is permitted to; a refusal does not fail the call.
BOOL SetThreadPriority(HANDLE thread, int priority);
int GetThreadPriority(HANDLE thread);
