// Critical sections: in-process locks, recursive by thread as on the original. The structure embeds its
// POSIX mutex, so nothing is allocated and one that is never deleted leaks nothing.
#pragma once

#include "platform/base/Win32Types.h"

#include <pthread.h>

typedef struct _CRITICAL_SECTION {
    pthread_mutex_t Mutex;
    LONG RecursionCount; // meaningful to the owner only
    DWORD OwningThread;  // Linux thread id of the owner, 0 when free
    ULONG_PTR SpinCount;
} CRITICAL_SECTION, *LPCRITICAL_SECTION, *PCRITICAL_SECTION;

void InitializeCriticalSection(LPCRITICAL_SECTION section);
// The spin count is how many times Enter retries a busy section before sleeping.
BOOL InitializeCriticalSectionAndSpinCount(LPCRITICAL_SECTION section, DWORD spinCount);
DWORD SetCriticalSectionSpinCount(LPCRITICAL_SECTION section, DWORD spinCount);
void EnterCriticalSection(LPCRITICAL_SECTION section);
BOOL TryEnterCriticalSection(LPCRITICAL_SECTION section);
void LeaveCriticalSection(LPCRITICAL_SECTION section);
void DeleteCriticalSection(LPCRITICAL_SECTION section);
