// Handles in general: closing, duplicating, the process pseudo-handle and the access rights that the
// creating calls accept (kept for the program's sake; the layer grants every handle full access).
#pragma once

#include "platform/base/LastError.h"
#include "platform/base/Win32Types.h"

#define DUPLICATE_CLOSE_SOURCE 0x00000001
#define DUPLICATE_SAME_ACCESS 0x00000002

#define MAXIMUM_WAIT_OBJECTS 64

// Closes a handle; the object goes when nothing else names it. The thread pseudo-handle closes as a no-op.
BOOL CloseHandle(HANDLE handle);

// Only within this process: both process handles must be GetCurrentProcess(). Duplicating GetCurrentThread()
// gives a real handle to the calling thread. Access and inheritance are ignored.
BOOL DuplicateHandle(HANDLE sourceProcess, HANDLE source, HANDLE targetProcess, LPHANDLE target,
                     DWORD desiredAccess, BOOL inheritHandle, DWORD options);

// The pseudo-handle of the calling process. It has the value of INVALID_HANDLE_VALUE and is only accepted
// by DuplicateHandle as a process handle; elsewhere it counts as invalid.
HANDLE GetCurrentProcess();
