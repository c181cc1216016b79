#include "platform/serial/FileIo.h"

#include "platform/kernel/Sync.h"
#include "platform/kernel/Threads.h"
#include "platform/kernel/Ticks.h"
#include "platform/serial/IoObject.h"
#include "platform/serial/PortMap.h"
#include "platform/serial/SerialPort.h"

#include <atomic>

namespace io_detail {

namespace {

constexpr ULONG_PTR kErrorFlag = 0xC0000000u;

std::atomic_ref<ULONG_PTR> InternalOf(OVERLAPPED& ov) {
    return std::atomic_ref<ULONG_PTR>(ov.Internal);
}

} // namespace

void BeginOverlapped(IoObject& object, LPOVERLAPPED ov) {
    ov->InternalHigh = 0;
    InternalOf(*ov).store(STATUS_PENDING, std::memory_order_release);
    if (ov->hEvent != nullptr) {
        ResetEvent(ov->hEvent);
    } else {
        object.SetSignalled(false);
    }
}

void CompleteOverlapped(IoObject& object, LPOVERLAPPED ov, DWORD error, DWORD bytes) {
    // Once Internal says "done" the caller may drop the OVERLAPPED, so nothing of it is read after that.
    HANDLE event = ov->hEvent;
    ov->InternalHigh = bytes;
    InternalOf(*ov).store(error == 0 ? 0 : (kErrorFlag | error), std::memory_order_release);
    if (event != nullptr) {
        SetEvent(event);
    } else {
        object.SetSignalled(true);
    }
}

bool OverlappedDone(const OVERLAPPED& ov, DWORD* error, DWORD* bytes) {
    const ULONG_PTR status =
        std::atomic_ref<ULONG_PTR>(const_cast<ULONG_PTR&>(ov.Internal)).load(std::memory_order_acquire);
    if (status == STATUS_PENDING) {
        return false;
    }
    *error = (status & kErrorFlag) == kErrorFlag ? static_cast<DWORD>(status & ~kErrorFlag) : 0;
    *bytes = static_cast<DWORD>(ov.InternalHigh);
    return true;
}

} // namespace io_detail

namespace {

std::shared_ptr<IoObject> LookupIo(HANDLE handle) {
    return LookupKernelObjectAs<IoObject>(handle);
}

} // namespace

HANDLE CreateFileW(LPCWSTR fileName, DWORD desiredAccess, DWORD, LPSECURITY_ATTRIBUTES,
                   DWORD creationDisposition, DWORD flagsAndAttributes, HANDLE) {
    if (fileName == nullptr) {
        SetLastError(ERROR_PATH_NOT_FOUND);
        return INVALID_HANDLE_VALUE;
    }
    const int port = doliva::serial::ComPortNumber(fileName, true);
    if (port == 0) {
        // Only serial ports are opened through handles so far.
        SetLastError(ERROR_FILE_NOT_FOUND);
        return INVALID_HANDLE_VALUE;
    }
    if (creationDisposition != OPEN_EXISTING) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return INVALID_HANDLE_VALUE;
    }
    HANDLE handle = doliva::serial::OpenComPort(port, desiredAccess, flagsAndAttributes);
    return handle != nullptr ? handle : INVALID_HANDLE_VALUE;
}

BOOL ReadFile(HANDLE file, LPVOID buffer, DWORD bytesToRead, LPDWORD bytesRead, LPOVERLAPPED overlapped) {
    std::shared_ptr<IoObject> io = LookupIo(file);
    if (!io) {
        return FALSE;
    }
    if (buffer == nullptr && bytesToRead > 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    return io->Read(buffer, bytesToRead, bytesRead, overlapped);
}

BOOL WriteFile(HANDLE file, LPCVOID buffer, DWORD bytesToWrite, LPDWORD bytesWritten,
               LPOVERLAPPED overlapped) {
    std::shared_ptr<IoObject> io = LookupIo(file);
    if (!io) {
        return FALSE;
    }
    if (buffer == nullptr && bytesToWrite > 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    return io->Write(buffer, bytesToWrite, bytesWritten, overlapped);
}

BOOL GetOverlappedResult(HANDLE file, LPOVERLAPPED overlapped, LPDWORD transferred, BOOL wait) {
    if (overlapped == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    DWORD error = 0;
    DWORD bytes = 0;
    while (!io_detail::OverlappedDone(*overlapped, &error, &bytes)) {
        if (!wait) {
            SetLastError(ERROR_IO_INCOMPLETE);
            return FALSE;
        }
        // The event may be set by someone else before the request ends; look again after every wake.
        HANDLE target = overlapped->hEvent != nullptr ? overlapped->hEvent : file;
        if (WaitForSingleObject(target, INFINITE) == WAIT_FAILED) {
            return FALSE;
        }
        if (overlapped->hEvent == nullptr) {
            // The handle stays signalled after a completion; do not spin on it while another request runs.
            if (!io_detail::OverlappedDone(*overlapped, &error, &bytes)) {
                Sleep(1);
            }
        }
    }
    if (transferred != nullptr) {
        *transferred = bytes;
    }
    if (error != 0) {
        SetLastError(error);
        return FALSE;
    }
    return TRUE;
}

BOOL CancelIo(HANDLE file) {
    std::shared_ptr<IoObject> io = LookupIo(file);
    if (!io) {
        return FALSE;
    }
    io->Cancel(GetCurrentThreadId(), nullptr);
    return TRUE;
}

BOOL CancelIoEx(HANDLE file, LPOVERLAPPED overlapped) {
    std::shared_ptr<IoObject> io = LookupIo(file);
    if (!io) {
        return FALSE;
    }
    if (io->Cancel(0, overlapped) == 0) {
        SetLastError(ERROR_NOT_FOUND);
        return FALSE;
    }
    return TRUE;
}

BOOL FlushFileBuffers(HANDLE file) {
    std::shared_ptr<IoObject> io = LookupIo(file);
    if (!io) {
        return FALSE;
    }
    return io->Flush();
}

DWORD GetFileType(HANDLE file) {
    std::shared_ptr<IoObject> io = LookupIo(file);
    if (!io) {
        return FILE_TYPE_UNKNOWN;
    }
    SetLastError(NO_ERROR);
    return io->FileType();
}
