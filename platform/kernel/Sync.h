// Events, mutexes, semaphores and the waits on them.
//
// Names live in one process-local namespace shared by events, mutexes, semaphores and file mappings: a
// second create of a name answers the same object with ERROR_ALREADY_EXISTS (its creation arguments are then
// ignored), and a name held by another kind fails with ERROR_INVALID_HANDLE. A "Global\" or "Local\"
// prefix is ignored. Named objects go when their last handle closes.
//
// Time-outs are milliseconds on the monotonic clock, so stepping the wall clock never shortens or stretches
// a wait; a wait never reports WAIT_TIMEOUT before its time-out has fully passed.
#pragma once

#include "platform/base/LastError.h"
#include "platform/base/Win32Types.h"
#include "platform/kernel/Handles.h"

#include <poll.h>

#define WAIT_OBJECT_0 0x00000000L
#define WAIT_ABANDONED 0x00000080L
#define WAIT_ABANDONED_0 0x00000080L
#define WAIT_IO_COMPLETION 0x000000C0L
#define WAIT_FAILED 0xFFFFFFFFu

#define EVENT_MODIFY_STATE 0x0002
#define EVENT_ALL_ACCESS 0x001F0003
#define MUTEX_MODIFY_STATE 0x0001
#define MUTEX_ALL_ACCESS 0x001F0001
#define SEMAPHORE_MODIFY_STATE 0x0002
#define SEMAPHORE_ALL_ACCESS 0x001F0003

HANDLE CreateEventW(LPSECURITY_ATTRIBUTES attributes, BOOL manualReset, BOOL initialState, LPCWSTR name);
HANDLE OpenEventW(DWORD desiredAccess, BOOL inheritHandle, LPCWSTR name);
BOOL SetEvent(HANDLE event);
BOOL ResetEvent(HANDLE event);
// Releases the threads waiting at this instant that the event satisfies (all of them for a manual-reset
// event, at most one for an auto-reset event), then leaves the event reset.
BOOL PulseEvent(HANDLE event);
#define CreateEvent CreateEventW
#define OpenEvent OpenEventW

// Owned recursively by a thread. A mutex whose owner ended without releasing it is abandoned: the next wait
// that takes it answers WAIT_ABANDONED_0 + i.
HANDLE CreateMutexW(LPSECURITY_ATTRIBUTES attributes, BOOL initialOwner, LPCWSTR name);
HANDLE OpenMutexW(DWORD desiredAccess, BOOL inheritHandle, LPCWSTR name);
// Fails with ERROR_NOT_OWNER unless the calling thread owns the mutex.
BOOL ReleaseMutex(HANDLE mutex);
#define CreateMutex CreateMutexW
#define OpenMutex OpenMutexW

HANDLE CreateSemaphoreW(LPSECURITY_ATTRIBUTES attributes, LONG initialCount, LONG maximumCount, LPCWSTR name);
HANDLE OpenSemaphoreW(DWORD desiredAccess, BOOL inheritHandle, LPCWSTR name);
// Fails with ERROR_TOO_MANY_POSTS, leaving the count alone, when the count would pass the maximum.
BOOL ReleaseSemaphore(HANDLE semaphore, LONG releaseCount, LPLONG previousCount);
#define CreateSemaphore CreateSemaphoreW
#define OpenSemaphore OpenSemaphoreW

DWORD WaitForSingleObject(HANDLE handle, DWORD milliseconds);
// Wait-any answers the lowest index whose object is signalled and takes only that object. Wait-all takes
// every object in one step, or none. Up to MAXIMUM_WAIT_OBJECTS handles; the same object twice in a wait-all
// fails with ERROR_INVALID_PARAMETER.
DWORD WaitForMultipleObjects(DWORD count, const HANDLE* handles, BOOL waitAll, DWORD milliseconds);
// Alertable waits are not supported (there are no asynchronous procedure calls): these wait as the above.
DWORD WaitForSingleObjectEx(HANDLE handle, DWORD milliseconds, BOOL alertable);
DWORD WaitForMultipleObjectsEx(DWORD count, const HANDLE* handles, BOOL waitAll, DWORD milliseconds,
                               BOOL alertable);

// Waits on handles together with raw descriptors, each with the poll events it waits for (the base of
// MsgWaitForMultipleObjects). Wait-any answers WAIT_OBJECT_0 + i for handle i, else WAIT_OBJECT_0 + count + j
// for the lowest ready descriptor j, with the revents of the descriptors filled in: handles come first.
// Wait-all answers WAIT_OBJECT_0 once every handle is taken and, when descriptors are given, one of them is
// ready. Descriptors are only polled, never read. `count` may be 0.
DWORD WaitForHandlesAndFds(DWORD count, const HANDLE* handles, DWORD fdCount, pollfd* fds, BOOL waitAll,
                           DWORD milliseconds);
