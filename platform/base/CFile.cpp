#include "platform/base/CFile.h"

#include "platform/base/CodePage.h"
#include "platform/base/LastError.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <fcntl.h>
#include <string>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

IMPLEMENT_DYNAMIC(CFile, CObject)

const HANDLE CFile::hFileNull = INVALID_HANDLE_VALUE;

namespace {
// Reads and writes are split so that one system call never sees more than Linux transfers at once.
constexpr size_t kMaxTransfer = 0x40000000;

std::u16string ToSlashes(LPCTSTR name) {
    std::u16string path(name ? name : u"");
    std::replace(path.begin(), path.end(), u'\\', u'/');
    return path;
}

std::u16string CurrentDirectory() {
    std::vector<char> buf(PATH_MAX);
    while (!getcwd(buf.data(), buf.size())) {
        if (errno != ERANGE) {
            return u"/";
        }
        buf.resize(buf.size() * 2);
    }
    return Utf8ToUtf16(buf.data());
}

// Absolute path with "." and ".." resolved by name, as the Windows full-path call does.
std::u16string FullPath(LPCTSTR name) {
    std::u16string path = ToSlashes(name);
    if (path.empty()) {
        return path;
    }
    if (path[0] != u'/') {
        path = CurrentDirectory() + u"/" + path;
    }
    std::vector<std::u16string> parts;
    size_t start = 0;
    while (start <= path.size()) {
        size_t slash = path.find(u'/', start);
        if (slash == std::u16string::npos) {
            slash = path.size();
        }
        std::u16string part = path.substr(start, slash - start);
        if (part == u"..") {
            if (!parts.empty()) {
                parts.pop_back();
            }
        } else if (!part.empty() && part != u".") {
            parts.push_back(std::move(part));
        }
        start = slash + 1;
    }
    std::u16string full;
    for (const auto& part : parts) {
        full += u'/';
        full += part;
    }
    return full.empty() ? u"/" : full;
}

bool IsDirectory(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

std::string ParentOf(const std::string& path) {
    size_t slash = path.find_last_of('/');
    if (slash == std::string::npos) {
        return ".";
    }
    return slash == 0 ? "/" : path.substr(0, slash);
}

// The Win32 code for a failed call on an open descriptor.
DWORD ErrorFromErrno(int err) {
    switch (err) {
    case ENOSPC:
    case EFBIG:
    case EDQUOT:
        return ERROR_DISK_FULL;
    case ESPIPE:
        return ERROR_SEEK;
    default:
        return Win32ErrorFromErrno(err);
    }
}

// The Win32 code for a failed call on a path. Linux says ENOENT both for a missing file and for a missing
// folder on the way to it; Windows tells them apart.
DWORD PathErrorFromErrno(int err, const std::string& path) {
    switch (err) {
    case ENOENT:
        return path.empty() || !IsDirectory(ParentOf(path)) ? ERROR_PATH_NOT_FOUND : ERROR_FILE_NOT_FOUND;
    case ENOTDIR:
    case ELOOP:
        return ERROR_PATH_NOT_FOUND;
    case ENAMETOOLONG:
        return ERROR_FILENAME_EXCED_RANGE;
    default:
        return ErrorFromErrno(err);
    }
}

CString NameOnly(const CString& path) {
    int slash = path.ReverseFind(u'/');
    return slash < 0 ? path : path.Mid(slash + 1);
}

void FillStatus(const struct stat& st, const std::u16string& fullPath, CFileStatus& status) {
    status.m_ctime = st.st_ctim.tv_sec;
    status.m_mtime = st.st_mtim.tv_sec;
    status.m_atime = st.st_atim.tv_sec;
    status.m_size = S_ISREG(st.st_mode) ? static_cast<ULONGLONG>(st.st_size) : 0;
    BYTE attribute = CFile::normal;
    if (S_ISDIR(st.st_mode)) {
        attribute |= CFile::directory;
    }
    if ((st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0) {
        attribute |= CFile::readOnly;
    }
    size_t slash = fullPath.find_last_of(u'/');
    std::u16string name = slash == std::u16string::npos ? fullPath : fullPath.substr(slash + 1);
    if (name.size() > 1 && name[0] == u'.' && name != u"..") {
        attribute |= CFile::hidden;
    }
    status.m_attribute = attribute;
    size_t units = std::min<size_t>(fullPath.size(), MAX_PATH - 1);
    fullPath.copy(status.m_szFullName, units);
    status.m_szFullName[units] = 0;
}

int LockFor(UINT openFlags) {
    const bool writes = (openFlags & 3) != CFile::modeRead;
    switch (openFlags & 0x70) {
    case CFile::shareDenyNone:
        return 0;
    case CFile::shareDenyWrite:
        return writes ? LOCK_EX : LOCK_SH;
    default: // shareCompat, shareExclusive, shareDenyRead
        return LOCK_EX;
    }
}
} // namespace

CFile::CFile() : m_hFile(hFileNull), m_bCloseOnDelete(FALSE) {}

CFile::CFile(HANDLE file) : m_hFile(file), m_bCloseOnDelete(FALSE) {}

CFile::CFile(LPCTSTR fileName, UINT openFlags) : CFile() {
    CFileException error;
    if (!Open(fileName, openFlags, &error)) {
        AfxThrowFileException(error.m_cause, error.m_lOsError, error.m_strFileName);
    }
}

CFile::~CFile() {
    if (m_hFile != hFileNull && m_bCloseOnDelete) {
        Abort();
    }
}

int CFile::ToDescriptor(HANDLE file) {
    return file == hFileNull ? -1 : static_cast<int>(reinterpret_cast<intptr_t>(file));
}

HANDLE CFile::FromDescriptor(int fd) {
    return fd < 0 ? hFileNull : reinterpret_cast<HANDLE>(static_cast<intptr_t>(fd));
}

std::string CFile::NativePath(LPCTSTR fileName) {
    return Utf16ToUtf8(ToSlashes(fileName));
}

DWORD CFile::OpenDescriptor(LPCTSTR fileName, UINT openFlags, int& fd) {
    fd = -1;
    int flags = O_CLOEXEC | O_NOCTTY;
    switch (openFlags & 3) {
    case modeRead:
        flags |= O_RDONLY;
        break;
    case modeWrite:
        flags |= O_WRONLY;
        break;
    case modeReadWrite:
        flags |= O_RDWR;
        break;
    default:
        return ERROR_INVALID_PARAMETER;
    }
    if (openFlags & modeCreate) {
        flags |= O_CREAT;
    }
    const std::string path = NativePath(fileName);
    if (path.empty()) {
        return ERROR_PATH_NOT_FOUND;
    }
    int opened;
    do {
        opened = ::open(path.c_str(), flags, 0666);
    } while (opened < 0 && errno == EINTR);
    if (opened < 0) {
        return PathErrorFromErrno(errno, path);
    }
    struct stat st {};
    if (::fstat(opened, &st) == 0 && S_ISDIR(st.st_mode)) {
        ::close(opened);
        return ERROR_ACCESS_DENIED; // a folder is not a file
    }
    if (int lock = LockFor(openFlags); lock != 0) {
        int rc;
        do {
            rc = ::flock(opened, lock | LOCK_NB);
        } while (rc < 0 && errno == EINTR);
        if (rc < 0) {
            int err = errno;
            ::close(opened);
            return err == EWOULDBLOCK ? ERROR_SHARING_VIOLATION : ErrorFromErrno(err);
        }
    }
    // Truncate only once the sharing lock is held, so a refused open leaves the other's data alone.
    if ((openFlags & modeCreate) && !(openFlags & modeNoTruncate) && S_ISREG(st.st_mode)) {
        if (::ftruncate(opened, 0) < 0) {
            int err = errno;
            ::close(opened);
            return ErrorFromErrno(err);
        }
    }
    fd = opened;
    return NO_ERROR;
}

BOOL CFile::Open(LPCTSTR fileName, UINT openFlags, CFileException* error) {
    if (m_hFile != hFileNull) {
        Abort();
    }
    int fd = -1;
    DWORD code = OpenDescriptor(fileName, openFlags, fd);
    if (code != NO_ERROR) {
        SetLastError(code);
        if (error) {
            error->m_cause = CFileException::OsErrorToException(static_cast<LONG>(code));
            error->m_lOsError = static_cast<LONG>(code);
            error->m_strFileName = fileName;
        }
        return FALSE;
    }
    m_hFile = FromDescriptor(fd);
    m_bCloseOnDelete = TRUE;
    m_strFileName = CString(FullPath(fileName));
    return TRUE;
}

void CFile::ThrowLastErrno() const {
    // EBADF on a descriptor that is open means the wrong access mode, which Windows calls access denied.
    DWORD code = errno == EBADF && m_hFile != hFileNull ? ERROR_ACCESS_DENIED : ErrorFromErrno(errno);
    SetLastError(code);
    AfxThrowFileException(CFileException::OsErrorToException(static_cast<LONG>(code)),
                          static_cast<LONG>(code), m_strFileName);
}

UINT CFile::Read(void* buffer, UINT count) {
    if (count == 0) {
        return 0;
    }
    if (m_hFile == hFileNull) {
        AfxThrowFileException(CFileException::invalidFile, ERROR_INVALID_HANDLE, m_strFileName);
    }
    auto* out = static_cast<BYTE*>(buffer);
    size_t done = 0;
    while (done < count) {
        size_t want = std::min<size_t>(count - done, kMaxTransfer);
        ssize_t n = ::read(Descriptor(), out + done, want);
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            ThrowLastErrno();
        }
        done += static_cast<size_t>(n);
        if (static_cast<size_t>(n) < want) {
            break; // end of file, or all a device or pipe has for now
        }
    }
    return static_cast<UINT>(done);
}

void CFile::Write(const void* buffer, UINT count) {
    if (count == 0) {
        return;
    }
    if (m_hFile == hFileNull) {
        AfxThrowFileException(CFileException::invalidFile, ERROR_INVALID_HANDLE, m_strFileName);
    }
    const auto* in = static_cast<const BYTE*>(buffer);
    size_t done = 0;
    while (done < count) {
        ssize_t n = ::write(Descriptor(), in + done, std::min<size_t>(count - done, kMaxTransfer));
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            ThrowLastErrno();
        }
        if (n == 0) {
            SetLastError(ERROR_DISK_FULL);
            AfxThrowFileException(CFileException::diskFull, ERROR_DISK_FULL, m_strFileName);
        }
        done += static_cast<size_t>(n);
    }
}

ULONGLONG CFile::Seek(LONGLONG offset, UINT from) {
    int whence = from == begin ? SEEK_SET : from == current ? SEEK_CUR : from == end ? SEEK_END : -1;
    if (whence < 0) {
        AfxThrowFileException(CFileException::badSeek, ERROR_INVALID_PARAMETER, m_strFileName);
    }
    off_t pos = ::lseek(Descriptor(), static_cast<off_t>(offset), whence);
    if (pos < 0) {
        if (errno == EINVAL) {
            SetLastError(ERROR_NEGATIVE_SEEK);
            AfxThrowFileException(CFileException::badSeek, ERROR_NEGATIVE_SEEK, m_strFileName);
        }
        ThrowLastErrno();
    }
    return static_cast<ULONGLONG>(pos);
}

ULONGLONG CFile::GetLength() const {
    struct stat st {};
    if (::fstat(Descriptor(), &st) < 0) {
        ThrowLastErrno();
    }
    if (S_ISREG(st.st_mode)) {
        return static_cast<ULONGLONG>(st.st_size);
    }
    if (S_ISBLK(st.st_mode)) {
        off_t here = ::lseek(Descriptor(), 0, SEEK_CUR);
        off_t size = ::lseek(Descriptor(), 0, SEEK_END);
        if (here < 0 || size < 0 || ::lseek(Descriptor(), here, SEEK_SET) < 0) {
            ThrowLastErrno();
        }
        return static_cast<ULONGLONG>(size);
    }
    // Pipes, sockets and character devices have no length.
    SetLastError(ERROR_INVALID_FUNCTION);
    AfxThrowFileException(CFileException::genericException, ERROR_INVALID_FUNCTION, m_strFileName);
}

void CFile::SetLength(ULONGLONG newLength) {
    if (newLength > static_cast<ULONGLONG>(LLONG_MAX)) {
        AfxThrowFileException(CFileException::badSeek, ERROR_INVALID_PARAMETER, m_strFileName);
    }
    // As the original, the position ends up at the new end.
    Seek(static_cast<LONGLONG>(newLength), begin);
    if (::ftruncate(Descriptor(), static_cast<off_t>(newLength)) < 0) {
        ThrowLastErrno();
    }
}

ULONGLONG CFile::GetPosition() const {
    off_t pos = ::lseek(Descriptor(), 0, SEEK_CUR);
    if (pos < 0) {
        ThrowLastErrno();
    }
    return static_cast<ULONGLONG>(pos);
}

void CFile::Flush() {
    if (m_hFile == hFileNull) {
        return;
    }
    if (::fsync(Descriptor()) < 0 && errno != EINVAL && errno != EROFS) {
        ThrowLastErrno();
    }
}

void CFile::Close() {
    int fd = Descriptor();
    m_hFile = hFileNull;
    m_bCloseOnDelete = FALSE;
    bool failed = fd >= 0 && ::close(fd) < 0 && errno != EINTR;
    if (failed) {
        DWORD code = ErrorFromErrno(errno);
        CString name = m_strFileName;
        m_strFileName.Empty();
        SetLastError(code);
        AfxThrowFileException(CFileException::OsErrorToException(static_cast<LONG>(code)),
                              static_cast<LONG>(code), name);
    }
    m_strFileName.Empty();
}

void CFile::Abort() {
    int fd = Descriptor();
    m_hFile = hFileNull;
    m_bCloseOnDelete = FALSE;
    m_strFileName.Empty();
    if (fd >= 0) {
        ::close(fd);
    }
}

CFile* CFile::Duplicate() const {
    if (m_hFile == hFileNull) {
        return nullptr;
    }
    int fd = ::fcntl(Descriptor(), F_DUPFD_CLOEXEC, 0);
    if (fd < 0) {
        ThrowLastErrno();
    }
    auto* copy = new CFile(FromDescriptor(fd));
    copy->m_bCloseOnDelete = m_bCloseOnDelete;
    copy->m_strFileName = m_strFileName;
    return copy;
}

void CFile::LockRange(ULONGLONG position, ULONGLONG count) {
    if (count == 0) {
        return;
    }
    if (position > static_cast<ULONGLONG>(LLONG_MAX) ||
        count > static_cast<ULONGLONG>(LLONG_MAX) - position) {
        AfxThrowFileException(CFileException::lockViolation, ERROR_INVALID_PARAMETER, m_strFileName);
    }
    int access = ::fcntl(Descriptor(), F_GETFL);
    if (access < 0) {
        ThrowLastErrno();
    }
    struct flock lock {};
    // A read-only descriptor can hold only a shared lock; it still keeps writers' locks out.
    lock.l_type = (access & O_ACCMODE) == O_RDONLY ? F_RDLCK : F_WRLCK;
    lock.l_whence = SEEK_SET;
    lock.l_start = static_cast<off_t>(position);
    lock.l_len = static_cast<off_t>(count);
    if (::fcntl(Descriptor(), F_OFD_SETLK, &lock) < 0) {
        if (errno == EAGAIN || errno == EACCES) {
            SetLastError(ERROR_LOCK_VIOLATION);
            AfxThrowFileException(CFileException::lockViolation, ERROR_LOCK_VIOLATION, m_strFileName);
        }
        ThrowLastErrno();
    }
}

void CFile::UnlockRange(ULONGLONG position, ULONGLONG count) {
    if (count == 0) {
        return;
    }
    if (position > static_cast<ULONGLONG>(LLONG_MAX) ||
        count > static_cast<ULONGLONG>(LLONG_MAX) - position) {
        AfxThrowFileException(CFileException::lockViolation, ERROR_INVALID_PARAMETER, m_strFileName);
    }
    struct flock lock {};
    lock.l_type = F_UNLCK;
    lock.l_whence = SEEK_SET;
    lock.l_start = static_cast<off_t>(position);
    lock.l_len = static_cast<off_t>(count);
    if (::fcntl(Descriptor(), F_OFD_SETLK, &lock) < 0) {
        ThrowLastErrno();
    }
}

CString CFile::GetFileName() const {
    return NameOnly(m_strFileName);
}

CString CFile::GetFileTitle() const {
    CString name = GetFileName();
    int dot = name.ReverseFind(u'.');
    return dot > 0 ? name.Left(dot) : name;
}

CString CFile::GetFilePath() const {
    return m_strFileName;
}

void CFile::SetFilePath(LPCTSTR newName) {
    m_strFileName = CString(FullPath(newName));
}

BOOL CFile::GetStatus(CFileStatus& status) const {
    status = CFileStatus();
    struct stat st {};
    if (m_hFile == hFileNull || ::fstat(Descriptor(), &st) < 0) {
        SetLastError(m_hFile == hFileNull ? ERROR_INVALID_HANDLE : ErrorFromErrno(errno));
        return FALSE;
    }
    FillStatus(st, m_strFileName.str(), status);
    return TRUE;
}

BOOL CFile::GetStatus(LPCTSTR fileName, CFileStatus& status) {
    status = CFileStatus();
    const std::string path = NativePath(fileName);
    struct stat st {};
    if (path.empty() || ::stat(path.c_str(), &st) < 0) {
        SetLastError(path.empty() ? ERROR_PATH_NOT_FOUND : PathErrorFromErrno(errno, path));
        return FALSE;
    }
    FillStatus(st, FullPath(fileName), status);
    return TRUE;
}

void CFile::Rename(LPCTSTR oldName, LPCTSTR newName) {
    const std::string from = NativePath(oldName);
    const std::string to = NativePath(newName);
    int rc = ::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE);
    if (rc < 0 && (errno == EINVAL || errno == ENOSYS)) {
        // The file system cannot refuse to replace by itself.
        struct stat st {};
        if (::lstat(to.c_str(), &st) == 0) {
            errno = EEXIST;
        } else {
            rc = ::rename(from.c_str(), to.c_str());
        }
    }
    if (rc < 0) {
        int err = errno;
        DWORD code;
        if (err == EEXIST) {
            code = ERROR_ALREADY_EXISTS;
        } else if (err == ENOENT) {
            struct stat st {};
            code = ::lstat(from.c_str(), &st) == 0 ? ERROR_PATH_NOT_FOUND : PathErrorFromErrno(err, from);
        } else {
            code = PathErrorFromErrno(err, from);
        }
        SetLastError(code);
        CFileException::ThrowOsError(static_cast<LONG>(code), oldName);
    }
}

void CFile::Remove(LPCTSTR fileName) {
    const std::string path = NativePath(fileName);
    if (path.empty() || ::unlink(path.c_str()) < 0) {
        DWORD code = path.empty() ? ERROR_PATH_NOT_FOUND : PathErrorFromErrno(errno, path);
        SetLastError(code);
        CFileException::ThrowOsError(static_cast<LONG>(code), fileName);
    }
}
