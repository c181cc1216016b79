// The framework's binary file over a Linux file descriptor. Failures raise CFileException with the Win32 code
// in m_lOsError.
//
// Names are UTF-16 and are stored on disk as UTF-8. The program builds paths the Windows way, so every
// backslash in a name is taken as a path separator and becomes '/'; names that contain a literal backslash
// cannot be used. Paths handed back (GetFilePath, CFileStatus::m_szFullName) are absolute, with '/'.
//
// Sharing modes are enforced with flock among this layer's own opens (other programs' access is not
// restricted, and the lock is advisory): shareCompat and shareExclusive take an exclusive lock;
// shareDenyWrite takes a shared lock when the file is opened for reading only and an exclusive one when it
// is opened for writing; shareDenyRead takes an exclusive lock; shareDenyNone takes none. So two readers that
// deny writing coexist, a writer that denies writing excludes every other locking open, and opens with
// shareDenyNone are neither refused nor refuse others. A refused open fails with sharingViolation.
// Descriptors are always opened close-on-exec; modeNoInherit is accepted.
#pragma once

#include "platform/base/CObject.h"
#include "platform/base/CString.h"
#include "platform/base/Exceptions.h"
#include "platform/base/Win32Types.h"

#include <cstdint>

using __time64_t = std::int64_t;

// What GetStatus reports. The times are seconds since 1970 (UTC).
struct CFileStatus {
    __time64_t m_ctime = 0; // status change (Linux has no creation time)
    __time64_t m_mtime = 0;
    __time64_t m_atime = 0;
    ULONGLONG m_size = 0;
    BYTE m_attribute = 0; // CFile::Attribute bits
    BYTE m_padding = 0;
    TCHAR m_szFullName[MAX_PATH] = {};
};

class CFile : public CObject {
    DECLARE_DYNAMIC(CFile)
public:
    enum OpenFlags : UINT {
        modeRead = 0x0000,
        modeWrite = 0x0001,
        modeReadWrite = 0x0002,
        shareCompat = 0x0000,
        shareExclusive = 0x0010,
        shareDenyWrite = 0x0020,
        shareDenyRead = 0x0030,
        shareDenyNone = 0x0040,
        modeNoInherit = 0x0080,
        modeCreate = 0x1000,
        modeNoTruncate = 0x2000,
        typeText = 0x4000,
        typeBinary = 0x8000,
    };
    enum Attribute : BYTE {
        normal = 0x00,
        readOnly = 0x01,
        hidden = 0x02,
        system = 0x04,
        volume = 0x08,
        directory = 0x10,
        archive = 0x20,
    };
    enum SeekPosition : UINT { begin = 0, current = 1, end = 2 };

    static const HANDLE hFileNull;

    CFile();
    // Wraps an open descriptor (see FromDescriptor); it is not closed on destruction.
    explicit CFile(HANDLE file);
    // Opens or throws CFileException.
    CFile(LPCTSTR fileName, UINT openFlags);
    ~CFile() override;

    CFile(const CFile&) = delete;
    CFile& operator=(const CFile&) = delete;

    // FALSE on failure, with the details in *error when given.
    virtual BOOL Open(LPCTSTR fileName, UINT openFlags, CFileException* error = nullptr);

    virtual UINT Read(void* buffer, UINT count);
    // A write that the disk cannot take whole raises diskFull.
    virtual void Write(const void* buffer, UINT count);
    virtual ULONGLONG Seek(LONGLONG offset, UINT from);
    void SeekToBegin() { Seek(0, begin); }
    ULONGLONG SeekToEnd() { return Seek(0, end); }
    virtual ULONGLONG GetLength() const;
    virtual void SetLength(ULONGLONG newLength);
    virtual ULONGLONG GetPosition() const;
    // Writes the file's data through to the disk.
    virtual void Flush();
    // Throws when the close fails.
    virtual void Close();
    // Closes without ever throwing.
    virtual void Abort();
    // A second CFile on the same open file (sharing its position and locks).
    virtual CFile* Duplicate() const;
    // Exclusive byte-range locks among open files (open file description locks); a range another open
    // holds raises lockViolation at once.
    virtual void LockRange(ULONGLONG position, ULONGLONG count);
    virtual void UnlockRange(ULONGLONG position, ULONGLONG count);

    // The name part, the name without its extension, and the full path.
    virtual CString GetFileName() const;
    virtual CString GetFileTitle() const;
    virtual CString GetFilePath() const;
    virtual void SetFilePath(LPCTSTR newName);

    BOOL GetStatus(CFileStatus& status) const;
    static BOOL GetStatus(LPCTSTR fileName, CFileStatus& status);
    // Fails (accessDenied) when newName exists, as the original does.
    static void Rename(LPCTSTR oldName, LPCTSTR newName);
    static void Remove(LPCTSTR fileName);

    operator HANDLE() const { return m_hFile; }

    // The descriptor behind m_hFile (-1 when closed) and the handle for a descriptor.
    static int ToDescriptor(HANDLE file);
    static HANDLE FromDescriptor(int fd);
    // The Linux path for a program path: UTF-8, '\' taken as '/'.
    static std::string NativePath(LPCTSTR fileName);

    HANDLE m_hFile;
    BOOL m_bCloseOnDelete;
    CString m_strFileName;

protected:
    int Descriptor() const { return ToDescriptor(m_hFile); }
    // Opens the descriptor with the sharing lock; answers the Win32 error (0 on success).
    DWORD OpenDescriptor(LPCTSTR fileName, UINT openFlags, int& fd);
    // The error for a failed call on an open file: the Win32 code from errno, thrown as CFileException.
    [[noreturn]] void ThrowLastErrno() const;
};
