// The kind of kernel object that ReadFile, WriteFile and the other file calls work on. Each kind of handle
// (serial ports today) derives from it and brings its own I/O; the calls in FileIo.h only find the object
// and hand over.
#pragma once

#include "platform/kernel/KernelObject.h"
#include "platform/serial/FileIo.h"

class IoObject : public KernelObject {
public:
    // Called with the arguments of ReadFile/WriteFile as given. `overlapped` may be null.
    virtual BOOL Read(LPVOID buffer, DWORD bytesToRead, LPDWORD bytesRead, LPOVERLAPPED overlapped) = 0;
    virtual BOOL Write(LPCVOID buffer, DWORD bytesToWrite, LPDWORD bytesWritten, LPOVERLAPPED overlapped) = 0;
    // Ends pending requests with ERROR_OPERATION_ABORTED: those of thread `tid` (0 for every thread), or
    // only the one that uses `overlapped` when it is given. Answers how many were ended.
    virtual std::size_t Cancel(DWORD tid, LPOVERLAPPED overlapped) = 0;
    virtual BOOL Flush() { return TRUE; }
    virtual DWORD FileType() const = 0;
};

// Overlapped bookkeeping shared by every IoObject kind.
namespace io_detail {

// Marks a request as started: Internal is STATUS_PENDING and the event (or, without one, the object) is
// reset.
void BeginOverlapped(IoObject& object, LPOVERLAPPED overlapped);
// Records the outcome (error 0 for success) and sets the event (or the object). Call it outside the
// object's own locks.
void CompleteOverlapped(IoObject& object, LPOVERLAPPED overlapped, DWORD error, DWORD bytes);
// Whether the request has ended, and its outcome.
bool OverlappedDone(const OVERLAPPED& overlapped, DWORD* error, DWORD* bytes);

} // namespace io_detail
