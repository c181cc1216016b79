#include "platform/base/LastError.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {
thread_local DWORD t_lastError = ERROR_SUCCESS;

struct ErrorText {
    DWORD code;
    const char16_t* text;
};

constexpr ErrorText kTexts[] = {
    {ERROR_SUCCESS, u"The operation completed successfully."},
    {ERROR_INVALID_FUNCTION, u"Incorrect function."},
    {ERROR_FILE_NOT_FOUND, u"The system cannot find the file specified."},
    {ERROR_PATH_NOT_FOUND, u"The system cannot find the path specified."},
    {ERROR_TOO_MANY_OPEN_FILES, u"The system cannot open the file."},
    {ERROR_ACCESS_DENIED, u"Access is denied."},
    {ERROR_INVALID_HANDLE, u"The handle is invalid."},
    {ERROR_NOT_ENOUGH_MEMORY, u"Not enough storage is available to process this command."},
    {ERROR_BAD_FORMAT, u"An attempt was made to load a program with an incorrect format."},
    {ERROR_INVALID_DATA, u"The data is invalid."},
    {ERROR_OUTOFMEMORY, u"Not enough storage is available to complete this operation."},
    {ERROR_WRITE_PROTECT, u"The media is write protected."},
    {ERROR_BAD_UNIT, u"The system cannot find the device specified."},
    {ERROR_NOT_READY, u"The device is not ready."},
    {ERROR_CRC, u"Data error (cyclic redundancy check)."},
    {ERROR_SEEK, u"The drive cannot locate a specific area or track on the disk."},
    {ERROR_WRITE_FAULT, u"The system cannot write to the specified device."},
    {ERROR_READ_FAULT, u"The system cannot read from the specified device."},
    {ERROR_GEN_FAILURE, u"A device attached to the system is not functioning."},
    {ERROR_SHARING_VIOLATION,
     u"The process cannot access the file because it is being used by another process."},
    {ERROR_LOCK_VIOLATION,
     u"The process cannot access the file because another process has locked a portion of the file."},
    {ERROR_HANDLE_EOF, u"Reached the end of the file."},
    {ERROR_HANDLE_DISK_FULL, u"The disk is full."},
    {ERROR_NOT_SUPPORTED, u"The request is not supported."},
    {ERROR_DEV_NOT_EXIST, u"The specified network resource or device is no longer available."},
    {ERROR_FILE_EXISTS, u"The file exists."},
    {ERROR_CANNOT_MAKE, u"The directory or file cannot be created."},
    {ERROR_INVALID_PARAMETER, u"The parameter is incorrect."},
    {ERROR_BROKEN_PIPE, u"The pipe has been ended."},
    {ERROR_OPEN_FAILED, u"The system cannot open the device or file specified."},
    {ERROR_BUFFER_OVERFLOW, u"The file name is too long."},
    {ERROR_DISK_FULL, u"There is not enough space on the disk."},
    {ERROR_CALL_NOT_IMPLEMENTED, u"This function is not supported on this system."},
    {ERROR_SEM_TIMEOUT, u"The semaphore timeout period has expired."},
    {ERROR_INSUFFICIENT_BUFFER, u"The data area passed to a system call is too small."},
    {ERROR_INVALID_NAME, u"The filename, directory name, or volume label syntax is incorrect."},
    {ERROR_NEGATIVE_SEEK, u"An attempt was made to move the file pointer before the beginning of the file."},
    {ERROR_DIR_NOT_EMPTY, u"The directory is not empty."},
    {ERROR_NOT_LOCKED, u"The segment is already unlocked."},
    {ERROR_BUSY, u"The requested resource is in use."},
    {ERROR_ALREADY_EXISTS, u"Cannot create a file when that file already exists."},
    {ERROR_FILENAME_EXCED_RANGE, u"The filename or extension is too long."},
    {ERROR_MORE_DATA, u"More data is available."},
    {WAIT_TIMEOUT, u"The wait operation timed out."},
    {ERROR_NO_MORE_ITEMS, u"No more data is available."},
    {ERROR_NOT_OWNER, u"Attempt to release mutex not owned by caller."},
    {ERROR_TOO_MANY_POSTS, u"Too many posts were made to a semaphore."},
    {ERROR_INVALID_ADDRESS, u"Attempt to access invalid address."},
    {ERROR_MAPPED_ALIGNMENT,
     u"The base address or the file offset specified does not have the proper alignment."},
    {ERROR_OPERATION_ABORTED,
     u"The I/O operation has been aborted because of either a thread exit or an application request."},
    {ERROR_IO_INCOMPLETE, u"Overlapped I/O event is not in a signaled state."},
    {ERROR_IO_PENDING, u"Overlapped I/O operation is in progress."},
    {ERROR_NOACCESS, u"Invalid access to memory location."},
    {ERROR_BADDB, u"The configuration registry database is corrupt."},
    {ERROR_BADKEY, u"The configuration registry key is invalid."},
    {ERROR_CANTOPEN, u"The configuration registry key could not be opened."},
    {ERROR_CANTREAD, u"The configuration registry key could not be read."},
    {ERROR_CANTWRITE, u"The configuration registry key could not be written."},
    {ERROR_REGISTRY_CORRUPT,
     u"The structure of one of the files containing registry data is corrupt, or the system's memory image "
     u"of "
     u"the file is corrupt, or the file could not be recovered because the alternate copy or log was absent "
     u"or corrupt."},
    {ERROR_REGISTRY_IO_FAILED, u"An I/O operation initiated by the registry failed unrecoverably."},
    {ERROR_KEY_DELETED, u"Illegal operation attempted on a registry key that has been marked for deletion."},
    {ERROR_INVALID_SERVICE_CONTROL, u"The requested control is not valid for this service."},
    {ERROR_SERVICE_REQUEST_TIMEOUT,
     u"The service did not respond to the start or control request in a timely fashion."},
    {ERROR_SERVICE_NO_THREAD, u"A thread could not be created for the service."},
    {ERROR_SERVICE_ALREADY_RUNNING, u"An instance of the service is already running."},
    {ERROR_SERVICE_DOES_NOT_EXIST, u"The specified service does not exist as an installed service."},
    {ERROR_SERVICE_CANNOT_ACCEPT_CTRL, u"The service cannot accept control messages at this time."},
    {ERROR_SERVICE_NOT_ACTIVE, u"The service has not been started."},
    {ERROR_DATABASE_DOES_NOT_EXIST, u"The database specified does not exist."},
    {ERROR_FAILED_SERVICE_CONTROLLER_CONNECT,
     u"The service process could not connect to the service controller."},
    {ERROR_SERVICE_MARKED_FOR_DELETE, u"The specified service has been marked for deletion."},
    {ERROR_SERVICE_EXISTS, u"The specified service already exists."},
    {ERROR_SERVICE_NOT_IN_EXE,
     u"The executable program that this service is configured to run in does not implement the service."},
    {ERROR_DEVICE_NOT_CONNECTED, u"The device is not connected."},
    {ERROR_NOT_FOUND, u"Element not found."},
    {ERROR_INVALID_WINDOW_HANDLE, u"Invalid window handle."},
    {ERROR_CLASS_ALREADY_EXISTS, u"Class already exists."},
    {ERROR_CLASS_DOES_NOT_EXIST, u"Class does not exist."},
    {ERROR_CLIPBOARD_NOT_OPEN, u"Thread does not have a clipboard open."},
    {ERROR_RESOURCE_DATA_NOT_FOUND, u"The specified image file did not contain a resource section."},
    {ERROR_RESOURCE_TYPE_NOT_FOUND, u"The specified resource type cannot be found in the image file."},
    {ERROR_RESOURCE_NAME_NOT_FOUND, u"The specified resource name cannot be found in the image file."},
    {ERROR_RESOURCE_LANG_NOT_FOUND, u"The specified resource language ID cannot be found in the image file."},
    {ERROR_NOT_ALL_ASSIGNED, u"Not all privileges or groups referenced are assigned to the caller."},
    {ERROR_NO_SUCH_PRIVILEGE, u"A specified privilege does not exist."},
    {ERROR_PRIVILEGE_NOT_HELD, u"A required privilege is not held by the client."},
    {ERROR_TIMEOUT, u"This operation returned because the timeout period expired."},
};
} // namespace

DWORD GetLastError() {
    return t_lastError;
}

void SetLastError(DWORD code) {
    t_lastError = code;
}

DWORD Win32ErrorFromErrno(int err) {
    switch (err) {
    case 0:
        return ERROR_SUCCESS;
    case ENOENT:
        return ERROR_FILE_NOT_FOUND;
    case ENOTDIR:
        return ERROR_PATH_NOT_FOUND;
    case EMFILE:
    case ENFILE:
        return ERROR_TOO_MANY_OPEN_FILES;
    case EACCES:
    case EPERM:
    case EISDIR:
        return ERROR_ACCESS_DENIED;
    case EBADF:
        return ERROR_INVALID_HANDLE;
    case ENOMEM:
        return ERROR_NOT_ENOUGH_MEMORY;
    case EROFS:
        return ERROR_WRITE_PROTECT;
    case ENODEV:
    case ENXIO:
        return ERROR_BAD_UNIT;
    case EIO:
        return ERROR_GEN_FAILURE;
    case EBUSY:
        return ERROR_BUSY;
    case EAGAIN:
        return ERROR_SHARING_VIOLATION;
    case ENOSPC:
        return ERROR_DISK_FULL;
    case EEXIST:
        return ERROR_ALREADY_EXISTS;
    case EINVAL:
        return ERROR_INVALID_PARAMETER;
    case ENAMETOOLONG:
        return ERROR_FILENAME_EXCED_RANGE;
    case ENOTEMPTY:
        return ERROR_DIR_NOT_EMPTY;
    case EPIPE:
        return ERROR_BROKEN_PIPE;
    case ETIMEDOUT:
        return ERROR_TIMEOUT;
    case ENOSYS:
    case EOPNOTSUPP:
        return ERROR_NOT_SUPPORTED;
    case ECANCELED:
    case EINTR:
        return ERROR_OPERATION_ABORTED;
    default:
        return ERROR_GEN_FAILURE;
    }
}

DWORD SetLastErrorFromErrno() {
    DWORD code = Win32ErrorFromErrno(errno);
    SetLastError(code);
    return code;
}

std::u16string SystemErrorText(DWORD code) {
    for (const auto& e : kTexts) {
        if (e.code == code) {
            return e.text;
        }
    }
    char buf[40];
    std::snprintf(buf, sizeof buf, "Unknown error 0x%08X.", static_cast<unsigned>(code));
    return std::u16string(buf, buf + std::strlen(buf));
}

HLOCAL LocalAlloc(UINT flags, SIZE_T bytes) {
    void* p = (flags & LMEM_ZEROINIT) ? std::calloc(1, bytes ? bytes : 1) : std::malloc(bytes ? bytes : 1);
    if (!p) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    }
    return p;
}

HLOCAL LocalFree(HLOCAL mem) {
    std::free(mem);
    return nullptr;
}

DWORD FormatMessageW(DWORD flags, LPCVOID, DWORD messageId, DWORD, LPWSTR buffer, DWORD size, void*) {
    if (!(flags & FORMAT_MESSAGE_FROM_SYSTEM) || !buffer) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    std::u16string text = SystemErrorText(messageId) + u"\r\n";
    const DWORD units = static_cast<DWORD>(text.size());
    if (flags & FORMAT_MESSAGE_ALLOCATE_BUFFER) {
        DWORD alloc = units + 1 > size ? units + 1 : size;
        auto* out = static_cast<WCHAR*>(LocalAlloc(LMEM_FIXED, alloc * sizeof(WCHAR)));
        if (!out) {
            return 0;
        }
        text.copy(out, units);
        out[units] = 0;
        *reinterpret_cast<WCHAR**>(buffer) = out;
        return units;
    }
    if (units + 1 > size) {
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return 0;
    }
    text.copy(buffer, units);
    buffer[units] = 0;
    return units;
}
