#include "platform/base/Exceptions.h"

#include "platform/base/CodePage.h"
#include "platform/base/LastError.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <iterator>
#include <mutex>
#include <new>
#include <string>

IMPLEMENT_DYNAMIC(CException, CObject)
IMPLEMENT_DYNAMIC(CMemoryException, CException)
IMPLEMENT_DYNAMIC(CNotSupportedException, CException)
IMPLEMENT_DYNAMIC(CResourceException, CException)
IMPLEMENT_DYNAMIC(CUserException, CException)
IMPLEMENT_DYNAMIC(CFileException, CException)
IMPLEMENT_DYNAMIC(CArchiveException, CException)

namespace {
std::mutex g_reporterMutex;
ExceptionReporter g_reporter;

int DefaultReporter(LPCTSTR text, UINT, UINT) {
    std::string line = Utf16ToUtf8(text ? std::u16string_view(text) : std::u16string_view());
    line += '\n';
    std::fputs(line.c_str(), stderr);
    return IDOK;
}

// Fills a message template: "%1" becomes " <name>", or nothing when there is no name, so that the texts
// read well either way.
CString WithName(const char16_t* pattern, const CString& name) {
    std::u16string text(pattern);
    std::u16string insert = name.IsEmpty() ? std::u16string() : u" " + name.str();
    size_t at = text.find(u"%1");
    if (at != std::u16string::npos) {
        text.replace(at, 2, insert);
    }
    return CString(std::move(text));
}

const char16_t* FileCauseText(int cause) {
    switch (cause) {
    case CFileException::none:
        return u"No error occurred with the file%1.";
    case CFileException::fileNotFound:
        return u"The file%1 could not be found.";
    case CFileException::badPath:
        return u"The folder of the file%1 does not exist, or its path is not valid.";
    case CFileException::tooManyOpenFiles:
        return u"The file%1 could not be opened because too many files are already open.";
    case CFileException::accessDenied:
        return u"The file%1 could not be accessed: permission was refused.";
    case CFileException::invalidFile:
        return u"The file%1 was used through a handle that is not valid.";
    case CFileException::removeCurrentDir:
        return u"The folder%1 is in use as the current folder and cannot be removed.";
    case CFileException::directoryFull:
        return u"The folder has no room left for the file%1.";
    case CFileException::badSeek:
        return u"The position in the file%1 could not be set.";
    case CFileException::hardIO:
        return u"A device error occurred while the file%1 was being accessed.";
    case CFileException::sharingViolation:
        return u"The file%1 is in use by another program.";
    case CFileException::lockViolation:
        return u"Part of the file%1 is locked by another program.";
    case CFileException::diskFull:
        return u"The disk is full; the file%1 could not be written.";
    case CFileException::endOfFile:
        return u"The end of the file%1 was reached unexpectedly.";
    default:
        return u"An unexpected error occurred with the file%1.";
    }
}

const char16_t* ArchiveCauseText(int cause) {
    switch (cause) {
    case CArchiveException::none:
        return u"No error occurred with the file%1.";
    case CArchiveException::readOnly:
        return u"The file%1 is being read and cannot be written to.";
    case CArchiveException::endOfFile:
        return u"The file%1 ended before all of its data had been read.";
    case CArchiveException::writeOnly:
        return u"The file%1 is being written and cannot be read from.";
    case CArchiveException::badIndex:
        return u"The file%1 is damaged: it refers to data it does not contain.";
    case CArchiveException::badClass:
        return u"The file%1 holds data of an unknown or unexpected type.";
    case CArchiveException::badSchema:
        return u"The file%1 was written by an incompatible version of the program.";
    default:
        return u"An unexpected error occurred while the file%1 was being read or written.";
    }
}

// The stateless exceptions are shared instances, never deleted, so they can be thrown without allocating.
CMemoryException g_memoryException(FALSE);
CNotSupportedException g_notSupportedException(FALSE);
CResourceException g_resourceException(FALSE);
CUserException g_userException(FALSE);
} // namespace

void SetExceptionReporter(ExceptionReporter reporter) {
    std::lock_guard lock(g_reporterMutex);
    g_reporter = std::move(reporter);
}

int ReportExceptionText(LPCTSTR text, UINT type, UINT helpContext) {
    ExceptionReporter reporter;
    {
        std::lock_guard lock(g_reporterMutex);
        reporter = g_reporter;
    }
    return reporter ? reporter(text, type, helpContext) : DefaultReporter(text, type, helpContext);
}

void CException::Delete() {
    if (m_bAutoDelete > 0) {
        delete this;
    }
}

BOOL CException::GetErrorMessage(LPTSTR buffer, UINT maxUnits, PUINT helpContext) {
    if (helpContext) {
        *helpContext = 0;
    }
    if (buffer && maxUnits > 0) {
        buffer[0] = 0;
    }
    return FALSE;
}

int CException::ReportError(UINT type, UINT messageId) {
    TCHAR text[512];
    UINT helpContext = 0;
    if (GetErrorMessage(text, static_cast<UINT>(std::size(text)), &helpContext)) {
        return ReportExceptionText(text, type, helpContext);
    }
    std::u16string resource;
    if (messageId != 0 && LoadStringResource(messageId, resource)) {
        return ReportExceptionText(resource.c_str(), type, helpContext);
    }
    return ReportExceptionText(u"No further information is available about this error.", type, helpContext);
}

BOOL CException::CopyMessage(const CString& text, LPTSTR buffer, UINT maxUnits, PUINT helpContext) {
    if (helpContext) {
        *helpContext = 0;
    }
    if (!buffer || maxUnits == 0) {
        return FALSE;
    }
    size_t units = std::min<size_t>(static_cast<size_t>(text.GetLength()), maxUnits - 1);
    text.str().copy(buffer, units);
    buffer[units] = 0;
    return TRUE;
}

BOOL CMemoryException::GetErrorMessage(LPTSTR buffer, UINT maxUnits, PUINT helpContext) {
    return CopyMessage(CString(u"There is not enough memory to complete the operation."), buffer, maxUnits,
                       helpContext);
}

BOOL CNotSupportedException::GetErrorMessage(LPTSTR buffer, UINT maxUnits, PUINT helpContext) {
    return CopyMessage(CString(u"This operation is not supported."), buffer, maxUnits, helpContext);
}

BOOL CResourceException::GetErrorMessage(LPTSTR buffer, UINT maxUnits, PUINT helpContext) {
    return CopyMessage(CString(u"A resource the program needs could not be found or loaded."), buffer,
                       maxUnits, helpContext);
}

int CUserException::ReportError(UINT, UINT) {
    return 0;
}

CFileException::CFileException(int cause, LONG osError, LPCTSTR fileName)
    : m_cause(cause), m_lOsError(osError), m_strFileName(fileName) {}

BOOL CFileException::GetErrorMessage(LPTSTR buffer, UINT maxUnits, PUINT helpContext) {
    return CopyMessage(WithName(FileCauseText(m_cause), m_strFileName), buffer, maxUnits, helpContext);
}

int CFileException::OsErrorToException(LONG osError) {
    switch (osError) {
    case NO_ERROR:
        return none;
    case ERROR_FILE_NOT_FOUND:
    case ERROR_INVALID_HANDLE:
    case ERROR_NO_MORE_FILES:
        return fileNotFound;
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_DRIVE:
    case ERROR_NOT_SAME_DEVICE:
    case ERROR_WRONG_DISK:
    case ERROR_BAD_NETPATH:
    case ERROR_BAD_NET_NAME:
    case ERROR_DEV_NOT_EXIST:
    case ERROR_INVALID_NAME:
    case ERROR_DIRECTORY:
    case ERROR_FILENAME_EXCED_RANGE:
        return badPath;
    case ERROR_TOO_MANY_OPEN_FILES:
    case ERROR_SHARING_BUFFER_EXCEEDED:
        return tooManyOpenFiles;
    case ERROR_ACCESS_DENIED:
    case ERROR_INVALID_ACCESS:
    case ERROR_WRITE_PROTECT:
    case ERROR_WRITE_FAULT:
    case ERROR_NETWORK_ACCESS_DENIED:
    case ERROR_FILE_EXISTS:
    case ERROR_CANNOT_MAKE:
        return accessDenied;
    case ERROR_BAD_FORMAT:
    case ERROR_NOT_DOS_DISK:
        return invalidFile;
    case ERROR_CURRENT_DIRECTORY:
    case ERROR_DIR_NOT_EMPTY:
        return removeCurrentDir;
    case ERROR_SEEK:
    case ERROR_BAD_LENGTH:
    case ERROR_SECTOR_NOT_FOUND:
    case ERROR_READ_FAULT:
    case ERROR_NEGATIVE_SEEK:
    case ERROR_SEEK_ON_DEVICE:
        return badSeek;
    case ERROR_BAD_UNIT:
    case ERROR_NOT_READY:
    case ERROR_BAD_COMMAND:
    case ERROR_CRC:
    case ERROR_GEN_FAILURE:
        return hardIO;
    case ERROR_SHARING_VIOLATION:
        return sharingViolation;
    case ERROR_LOCK_VIOLATION:
    case ERROR_DRIVE_LOCKED:
        return lockViolation;
    case ERROR_HANDLE_DISK_FULL:
    case ERROR_DISK_FULL:
        return diskFull;
    case ERROR_HANDLE_EOF:
        return endOfFile;
    default:
        return genericException;
    }
}

int CFileException::ErrnoToException(int errnoValue) {
    switch (errnoValue) {
    case 0:
        return none;
    case ENOENT:
        return fileNotFound;
    case ENOTDIR:
    case ENAMETOOLONG:
    case ELOOP:
    case ENODEV:
    case ENXIO:
        return badPath;
    case EMFILE:
    case ENFILE:
        return tooManyOpenFiles;
    case EACCES:
    case EPERM:
    case EROFS:
    case EISDIR:
    case EEXIST:
        return accessDenied;
    case EBADF:
        return invalidFile;
    case ENOTEMPTY:
    case EBUSY:
        return removeCurrentDir;
    case ESPIPE:
    case EOVERFLOW:
        return badSeek;
    case EIO:
        return hardIO;
    case EWOULDBLOCK:
        return sharingViolation;
    case EDEADLK:
        return lockViolation;
    case ENOSPC:
    case EFBIG:
    case EDQUOT:
        return diskFull;
    default:
        return genericException;
    }
}

void CFileException::ThrowOsError(LONG osError, LPCTSTR fileName) {
    if (osError != 0) {
        AfxThrowFileException(OsErrorToException(osError), osError, fileName);
    }
}

void CFileException::ThrowErrno(int errnoValue, LPCTSTR fileName) {
    if (errnoValue != 0) {
        AfxThrowFileException(ErrnoToException(errnoValue),
                              static_cast<LONG>(Win32ErrorFromErrno(errnoValue)), fileName);
    }
}

CArchiveException::CArchiveException(int cause, LPCTSTR fileName) : m_cause(cause), m_strFileName(fileName) {}

BOOL CArchiveException::GetErrorMessage(LPTSTR buffer, UINT maxUnits, PUINT helpContext) {
    return CopyMessage(WithName(ArchiveCauseText(m_cause), m_strFileName), buffer, maxUnits, helpContext);
}

void AfxThrowMemoryException() {
    throw &g_memoryException;
}

void AfxThrowNotSupportedException() {
    throw &g_notSupportedException;
}

void AfxThrowResourceException() {
    throw &g_resourceException;
}

void AfxThrowUserException() {
    throw &g_userException;
}

void AfxThrowFileException(int cause, LONG osError, LPCTSTR fileName) {
    auto* e = new (std::nothrow) CFileException(cause, osError, fileName);
    if (!e) {
        AfxThrowMemoryException();
    }
    throw e;
}

void AfxThrowArchiveException(int cause, LPCTSTR fileName) {
    auto* e = new (std::nothrow) CArchiveException(cause, fileName);
    if (!e) {
        AfxThrowMemoryException();
    }
    throw e;
}
