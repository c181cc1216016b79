// A counting semaphore made of an auto-reset event and a small shared block guarded by a spin lock. It can be
// named so that creators of the same name share one count; the program uses four unnamed binary ones as
// gates and wake-up signals between its threads.
//
// Threads may also wait on the semaphore's event together with other handles (CrossProcessSemaphoreEvent):
// such a wake does not take the count. Every Release that adds to the count sets the event, so those
// watchers wake even when no Wait is in progress.
#pragma once

#include "platform/base/Win32Types.h"

struct CrossProcessSemaphoreRecord;
using CrossProcessSemaphore = CrossProcessSemaphoreRecord*;

// Null with ERROR_INVALID_PARAMETER for maximum < 1, initial < 0, initial > maximum or a name over 128
// characters.
CrossProcessSemaphore CreateCrossProcessSemaphore(LONG initialCount, LONG maximumCount, LPCWSTR name);
// 0 when a count was taken, WAIT_TIMEOUT (258) when none came within the time-out; 0 ms is a "try".
DWORD WaitCrossProcessSemaphore(CrossProcessSemaphore semaphore, DWORD milliseconds);
// FALSE with ERROR_INVALID_PARAMETER, count unchanged, when n < 0 or the count would pass the maximum.
BOOL ReleaseCrossProcessSemaphore(CrossProcessSemaphore semaphore, LONG n, LONG* previousCount);
// A null semaphore is ignored.
void DestroyCrossProcessSemaphore(CrossProcessSemaphore semaphore);

// The event to wait on with WaitForMultipleObjects; null for a null semaphore.
HANDLE CrossProcessSemaphoreEvent(CrossProcessSemaphore semaphore);
// The count and the wake-ups owed to waiters, read under the lock (diagnostics and tests).
BOOL QueryCrossProcessSemaphore(CrossProcessSemaphore semaphore, LONG* count, LONG* waiters);

// The program's four binary instances (initial 0, maximum 1).
extern CrossProcessSemaphore g_receiveGate;   // at most one "data queued" message waits in the view's queue
extern CrossProcessSemaphore g_transmitReady; // wakes the transmit thread
extern CrossProcessSemaphore g_ppsGate;       // at most one 1PPS message waits in the view's queue
extern CrossProcessSemaphore g_stopSemaphore; // asks both worker threads to end

// Creates the four in the program's order (receive gate, transmit ready, 1PPS gate, stop) / destroys them.
void CreateLinkSemaphores();
void DestroyLinkSemaphores();
