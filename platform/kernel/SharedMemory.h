// Memory shared by name between processes (over POSIX shared memory) or privately within one process.
//
// A named block is the POSIX object "/doliva-<uid>-<hash of the settings directory>-<encoded name>": one
// user's blocks never meet another's, and processes with different settings directories (DOLIVA_CONFIG_DIR,
// as every test gets its own) never share one. Within a process the name resolves to one object, like the
// other named objects.
//
// Lifetime: the process that created a block removes its name when its last handle and last view of it are
// gone, or at process exit, whichever comes first. Processes that opened it keep their mappings, but from
// then on the name no longer opens it. A process that only opened a block never removes it.
#pragma once

#include "platform/base/LastError.h"
#include "platform/base/Win32Types.h"
#include "platform/kernel/Handles.h"

#include <string>
#include <string_view>

#define PAGE_NOACCESS 0x01
#define PAGE_READONLY 0x02
#define PAGE_READWRITE 0x04
#define PAGE_WRITECOPY 0x08
#define PAGE_EXECUTE 0x10
#define PAGE_EXECUTE_READ 0x20
#define PAGE_EXECUTE_READWRITE 0x40
#define SEC_COMMIT 0x08000000
#define SEC_RESERVE 0x04000000

#define SECTION_QUERY 0x0001
#define SECTION_MAP_WRITE 0x0002
#define SECTION_MAP_READ 0x0004
#define SECTION_MAP_EXECUTE 0x0008
#define SECTION_EXTEND_SIZE 0x0010
#define SECTION_ALL_ACCESS 0x000F001F

#define FILE_MAP_COPY SECTION_QUERY
#define FILE_MAP_WRITE SECTION_MAP_WRITE
#define FILE_MAP_READ SECTION_MAP_READ
#define FILE_MAP_EXECUTE SECTION_MAP_EXECUTE
#define FILE_MAP_ALL_ACCESS SECTION_ALL_ACCESS


// Only memory not backed by a file: `file` must be INVALID_HANDLE_VALUE. The size must not be 0. protect is
// PAGE_READONLY, PAGE_READWRITE or PAGE_WRITECOPY, optionally with SEC_COMMIT. A new block is zero-filled; an
// existing one (ERROR_ALREADY_EXISTS) is used with its own size.
HANDLE CreateFileMappingW(HANDLE file, LPSECURITY_ATTRIBUTES attributes, DWORD protect, DWORD maximumSizeHigh,
                          DWORD maximumSizeLow, LPCWSTR name);
// ERROR_FILE_NOT_FOUND when no such block exists.
HANDLE OpenFileMappingW(DWORD desiredAccess, BOOL inheritHandle, LPCWSTR name);
// The offset must be a multiple of 64 KiB; bytes 0 maps from the offset to the end. FILE_MAP_COPY gives a
// private copy-on-write view.
LPVOID MapViewOfFile(HANDLE mapping, DWORD desiredAccess, DWORD offsetHigh, DWORD offsetLow, SIZE_T bytes);
// Takes the address MapViewOfFile answered.
BOOL UnmapViewOfFile(LPCVOID baseAddress);
BOOL FlushViewOfFile(LPCVOID baseAddress, SIZE_T bytes);
#define CreateFileMapping CreateFileMappingW
#define OpenFileMapping OpenFileMappingW

// The POSIX shared-memory object name a block name maps to in this process's scope (for diagnostics).
std::string SharedMemoryObjectName(std::u16string_view name);
