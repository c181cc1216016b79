// CreateFile, ReadFile, WriteFile and overlapped I/O over the handle table.
//
// Every handle these calls work on names an IoObject (IoObject.h), so each kind of handle brings its own
// reading and writing. Today the only kind is the serial port: CreateFileW opens "COMn" and "\\.\COMn" (see
// PortMap.h) and answers ERROR_FILE_NOT_FOUND for every other name. Plain files go through CFile.
//
// Overlapped requests follow the original's contract: the call resets hEvent and either completes at once
// (TRUE, the event set) or answers FALSE with ERROR_IO_PENDING and sets the event when the request ends.
// While a request is pending, OVERLAPPED::Internal holds STATUS_PENDING; when it has ended, Internal is 0 for
// success or 0xC0000000 | the Win32 error code, and InternalHigh holds the byte count. A request without
// hEvent signals the handle itself instead. The buffer and the OVERLAPPED must stay valid until the request
// has ended.
#pragma once

#include "platform/base/LastError.h"
#include "platform/base/Win32Types.h"
#include "platform/kernel/Handles.h"

#define FILE_SHARE_READ 0x00000001
#define FILE_SHARE_WRITE 0x00000002
#define FILE_SHARE_DELETE 0x00000004

#define CREATE_NEW 1
#define CREATE_ALWAYS 2
#define OPEN_EXISTING 3
#define OPEN_ALWAYS 4
#define TRUNCATE_EXISTING 5

#define FILE_ATTRIBUTE_READONLY 0x00000001
#define FILE_ATTRIBUTE_HIDDEN 0x00000002
#define FILE_ATTRIBUTE_SYSTEM 0x00000004
#define FILE_ATTRIBUTE_DIRECTORY 0x00000010
#define FILE_ATTRIBUTE_ARCHIVE 0x00000020
#define FILE_ATTRIBUTE_NORMAL 0x00000080
#define FILE_FLAG_WRITE_THROUGH 0x80000000u
#define FILE_FLAG_OVERLAPPED 0x40000000u
#define FILE_FLAG_NO_BUFFERING 0x20000000u
#define FILE_FLAG_RANDOM_ACCESS 0x10000000u
#define FILE_FLAG_SEQUENTIAL_SCAN 0x08000000u

#define FILE_TYPE_UNKNOWN 0x0000
#define FILE_TYPE_DISK 0x0001
#define FILE_TYPE_CHAR 0x0002
#define FILE_TYPE_PIPE 0x0003

#define STATUS_PENDING 0x00000103ul

typedef struct _OVERLAPPED {
    ULONG_PTR Internal;
    ULONG_PTR InternalHigh;
    union {
        struct {
            DWORD Offset;
            DWORD OffsetHigh;
        };
        PVOID Pointer;
    };
    HANDLE hEvent;
} OVERLAPPED, *LPOVERLAPPED;

#define HasOverlappedIoCompleted(lpOverlapped) ((lpOverlapped)->Internal != STATUS_PENDING)

// Answers INVALID_HANDLE_VALUE on failure. Serial ports need OPEN_EXISTING; they are always opened
// exclusively (a port in use answers ERROR_ACCESS_DENIED), whatever the share mode says.
HANDLE CreateFileW(LPCWSTR fileName, DWORD desiredAccess, DWORD shareMode, LPSECURITY_ATTRIBUTES attributes,
                   DWORD creationDisposition, DWORD flagsAndAttributes, HANDLE templateFile);
#define CreateFile CreateFileW

BOOL ReadFile(HANDLE file, LPVOID buffer, DWORD bytesToRead, LPDWORD bytesRead, LPOVERLAPPED overlapped);
BOOL WriteFile(HANDLE file, LPCVOID buffer, DWORD bytesToWrite, LPDWORD bytesWritten,
               LPOVERLAPPED overlapped);

// With wait FALSE a pending request answers FALSE and ERROR_IO_INCOMPLETE. A request that ended in failure
// answers FALSE with its error; *transferred is the count reached all the same.
BOOL GetOverlappedResult(HANDLE file, LPOVERLAPPED overlapped, LPDWORD transferred, BOOL wait);

// Ends the requests the calling thread issued on the handle (CancelIo), or the one request (CancelIoEx with
// an OVERLAPPED; all requests of every thread with null). Cancelled requests end with
// ERROR_OPERATION_ABORTED. CancelIoEx answers FALSE with ERROR_NOT_FOUND when nothing was pending.
BOOL CancelIo(HANDLE file);
BOOL CancelIoEx(HANDLE file, LPOVERLAPPED overlapped);

// Waits until everything written has left the device.
BOOL FlushFileBuffers(HANDLE file);
DWORD GetFileType(HANDLE file);
