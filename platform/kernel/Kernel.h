// The kernel services: handles, synchronisation objects and waits, threads, critical sections, interlocked
// operations, ticks and shared memory.
#pragma once

#include "platform/kernel/CriticalSection.h"
#include "platform/kernel/Handles.h"
#include "platform/kernel/Interlocked.h"
#include "platform/kernel/KernelObject.h"
#include "platform/kernel/SharedMemory.h"
#include "platform/kernel/Sync.h"
#include "platform/kernel/Threads.h"
#include "platform/kernel/Ticks.h"
