// Global memory blocks (clipboard data, shared memory files), kept inside the process. A fixed block's handle
// is its address; a moveable block's handle is an opaque token that GlobalLock turns into an address and that
// stays valid when GlobalReAlloc moves the data. Unknown handles fail with ERROR_INVALID_HANDLE.
#pragma once

#include "platform/base/WindowTypes.h" // HGLOBAL

#define GMEM_FIXED 0x0000u
#define GMEM_MOVEABLE 0x0002u
#define GMEM_NOCOMPACT 0x0010u
#define GMEM_NODISCARD 0x0020u
#define GMEM_ZEROINIT 0x0040u
#define GMEM_MODIFY 0x0080u
#define GMEM_DISCARDABLE 0x0100u
#define GMEM_NOT_BANKED 0x1000u
#define GMEM_SHARE 0x2000u
#define GMEM_DDESHARE 0x2000u
#define GMEM_NOTIFY 0x4000u
#define GMEM_LOWER GMEM_NOT_BANKED
#define GMEM_INVALID_HANDLE 0x8000u
#define GMEM_DISCARDED 0x4000u
#define GMEM_LOCKCOUNT 0x00FFu
#define GHND (GMEM_MOVEABLE | GMEM_ZEROINIT)
#define GPTR (GMEM_FIXED | GMEM_ZEROINIT)

// A moveable block of 0 bytes is created discarded: it has a handle but GlobalLock answers null.
HGLOBAL GlobalAlloc(UINT flags, SIZE_T bytes);
// Fixed blocks move only when flags include GMEM_MOVEABLE (their handle then changes); moveable blocks keep
// their handle. GMEM_ZEROINIT clears the grown part. With GMEM_MODIFY only the attributes change.
HGLOBAL GlobalReAlloc(HGLOBAL mem, SIZE_T bytes, UINT flags);
// Address of the data; moveable blocks count their locks (up to 255 are reported by GlobalFlags).
LPVOID GlobalLock(HGLOBAL mem);
// TRUE while the block stays locked; FALSE with last error NO_ERROR once it is unlocked, FALSE with
// ERROR_NOT_LOCKED when it was not locked.
BOOL GlobalUnlock(HGLOBAL mem);
SIZE_T GlobalSize(HGLOBAL mem);
// Null on success, the handle back on failure.
HGLOBAL GlobalFree(HGLOBAL mem);
// Lock count in the low byte plus GMEM_DISCARDABLE / GMEM_DISCARDED; GMEM_INVALID_HANDLE for unknown handles.
UINT GlobalFlags(HGLOBAL mem);
// The handle of the block whose data starts at the given address.
HGLOBAL GlobalHandle(LPCVOID mem);

