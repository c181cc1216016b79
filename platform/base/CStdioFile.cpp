#include "platform/base/CStdioFile.h"

#include "platform/base/LastError.h"

#include <cerrno>
#include <climits>
#include <string>
#include <unistd.h>

IMPLEMENT_DYNAMIC(CStdioFile, CFile)

CStdioFile::CStdioFile() : m_pStream(nullptr), m_bText(true) {}

CStdioFile::CStdioFile(FILE* stream) : m_pStream(stream), m_bText(true) {
    m_hFile = stream ? FromDescriptor(fileno(stream)) : hFileNull;
}

CStdioFile::CStdioFile(LPCTSTR fileName, UINT openFlags) : CStdioFile() {
    CFileException error;
    if (!Open(fileName, openFlags, &error)) {
        AfxThrowFileException(error.m_cause, error.m_lOsError, error.m_strFileName);
    }
}

CStdioFile::~CStdioFile() {
    if (m_pStream && m_bCloseOnDelete) {
        Abort();
    }
    m_pStream = nullptr;
    m_hFile = hFileNull; // the stream owned the descriptor
}

BOOL CStdioFile::Open(LPCTSTR fileName, UINT openFlags, CFileException* error) {
    if (m_pStream) {
        Abort();
    }
    if (!CFile::Open(fileName, openFlags & ~static_cast<UINT>(typeText | typeBinary), error)) {
        return FALSE;
    }
    const char* mode = (openFlags & 3) == modeRead ? "r" : (openFlags & 3) == modeWrite ? "w" : "r+";
    m_pStream = ::fdopen(Descriptor(), mode);
    if (!m_pStream) {
        DWORD code = Win32ErrorFromErrno(errno);
        CFile::Abort();
        SetLastError(code);
        if (error) {
            error->m_cause = CFileException::OsErrorToException(static_cast<LONG>(code));
            error->m_lOsError = static_cast<LONG>(code);
            error->m_strFileName = fileName;
        }
        return FALSE;
    }
    m_bText = !(openFlags & typeBinary);
    return TRUE;
}

void CStdioFile::ThrowStreamError(int fallbackCause) const {
    const int err = errno;
    DWORD code = err == ENOSPC || err == EFBIG || err == EDQUOT ? ERROR_DISK_FULL : Win32ErrorFromErrno(err);
    int cause = err == 0 ? fallbackCause : CFileException::OsErrorToException(static_cast<LONG>(code));
    SetLastError(code);
    AfxThrowFileException(cause, static_cast<LONG>(code), m_strFileName);
}

int CStdioFile::GetTextByte() {
    int ch = getc_unlocked(m_pStream);
    if (ch == '\r' && m_bText) {
        int next = getc_unlocked(m_pStream);
        if (next == '\n') {
            return '\n';
        }
        if (next != EOF) {
            ungetc(next, m_pStream);
        }
    }
    return ch;
}

BOOL CStdioFile::ReadString(CString& line) {
    std::u16string text;
    bool any = false;
    if (m_bText) {
        for (int ch; (ch = GetTextByte()) != EOF;) {
            any = true;
            if (ch == '\n') {
                break;
            }
            text += static_cast<char16_t>(static_cast<unsigned char>(ch));
        }
    } else {
        for (;;) {
            int lo = getc_unlocked(m_pStream);
            int hi = lo == EOF ? EOF : getc_unlocked(m_pStream);
            if (hi == EOF) {
                break;
            }
            any = true;
            auto unit = static_cast<char16_t>(lo | (hi << 8));
            if (unit == u'\n') {
                break;
            }
            text += unit;
        }
    }
    if (ferror(m_pStream)) {
        clearerr(m_pStream);
        ThrowStreamError(CFileException::genericException);
    }
    line = CString(std::move(text));
    return any ? TRUE : FALSE;
}

LPTSTR CStdioFile::ReadString(LPTSTR buffer, UINT maxUnits) {
    if (!buffer || maxUnits == 0) {
        return nullptr;
    }
    UINT n = 0;
    while (n + 1 < maxUnits) {
        char16_t unit;
        if (m_bText) {
            int ch = GetTextByte();
            if (ch == EOF) {
                break;
            }
            unit = static_cast<char16_t>(static_cast<unsigned char>(ch));
        } else {
            int lo = getc_unlocked(m_pStream);
            int hi = lo == EOF ? EOF : getc_unlocked(m_pStream);
            if (hi == EOF) {
                break;
            }
            unit = static_cast<char16_t>(lo | (hi << 8));
        }
        buffer[n++] = unit;
        if (unit == u'\n') {
            break;
        }
    }
    if (ferror(m_pStream)) {
        clearerr(m_pStream);
        ThrowStreamError(CFileException::genericException);
    }
    buffer[n] = 0;
    return n == 0 && maxUnits > 1 ? nullptr : buffer;
}

void CStdioFile::WriteString(LPCTSTR text) {
    if (!text) {
        return;
    }
    std::string bytes;
    for (const char16_t* p = text; *p; ++p) {
        if (m_bText) {
            if (*p == u'\n') {
                bytes += '\r';
            }
            bytes += static_cast<char>(*p & 0xFF);
        } else {
            bytes += static_cast<char>(*p & 0xFF);
            bytes += static_cast<char>(*p >> 8);
        }
    }
    errno = 0;
    if (!bytes.empty() && fwrite(bytes.data(), 1, bytes.size(), m_pStream) != bytes.size()) {
        clearerr(m_pStream);
        ThrowStreamError(CFileException::diskFull);
    }
}

UINT CStdioFile::Read(void* buffer, UINT count) {
    auto* out = static_cast<BYTE*>(buffer);
    size_t n = 0;
    if (m_bText) {
        for (int ch; n < count && (ch = GetTextByte()) != EOF;) {
            out[n++] = static_cast<BYTE>(ch);
        }
    } else if (count > 0) {
        n = fread(out, 1, count, m_pStream);
    }
    if (ferror(m_pStream)) {
        clearerr(m_pStream);
        ThrowStreamError(CFileException::genericException);
    }
    return static_cast<UINT>(n);
}

void CStdioFile::Write(const void* buffer, UINT count) {
    const auto* in = static_cast<const BYTE*>(buffer);
    errno = 0;
    bool ok = true;
    if (m_bText) {
        for (UINT i = 0; i < count && ok; ++i) {
            if (in[i] == '\n') {
                ok = putc_unlocked('\r', m_pStream) != EOF;
            }
            ok = ok && putc_unlocked(in[i], m_pStream) != EOF;
        }
    } else if (count > 0) {
        ok = fwrite(in, 1, count, m_pStream) == count;
    }
    if (!ok) {
        clearerr(m_pStream);
        ThrowStreamError(CFileException::diskFull);
    }
}

ULONGLONG CStdioFile::Seek(LONGLONG offset, UINT from) {
    int whence = from == begin ? SEEK_SET : from == current ? SEEK_CUR : from == end ? SEEK_END : -1;
    if (whence < 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        AfxThrowFileException(CFileException::badSeek, ERROR_INVALID_PARAMETER, m_strFileName);
    }
    if (fseeko(m_pStream, static_cast<off_t>(offset), whence) != 0) {
        DWORD code = errno == EINVAL ? ERROR_NEGATIVE_SEEK : ERROR_SEEK;
        SetLastError(code);
        AfxThrowFileException(CFileException::badSeek, static_cast<LONG>(code), m_strFileName);
    }
    return GetPosition();
}

ULONGLONG CStdioFile::GetLength() const {
    off_t here = ftello(m_pStream);
    if (here < 0 || fseeko(m_pStream, 0, SEEK_END) != 0) {
        ThrowStreamError(CFileException::badSeek);
    }
    off_t length = ftello(m_pStream);
    if (length < 0 || fseeko(m_pStream, here, SEEK_SET) != 0) {
        ThrowStreamError(CFileException::badSeek);
    }
    return static_cast<ULONGLONG>(length);
}

void CStdioFile::SetLength(ULONGLONG newLength) {
    if (newLength > static_cast<ULONGLONG>(LLONG_MAX)) {
        AfxThrowFileException(CFileException::badSeek, ERROR_INVALID_PARAMETER, m_strFileName);
    }
    if (fflush(m_pStream) != 0 || ::ftruncate(fileno(m_pStream), static_cast<off_t>(newLength)) != 0 ||
        fseeko(m_pStream, static_cast<off_t>(newLength), SEEK_SET) != 0) {
        ThrowStreamError(CFileException::genericException);
    }
}

ULONGLONG CStdioFile::GetPosition() const {
    off_t pos = ftello(m_pStream);
    if (pos < 0) {
        ThrowStreamError(CFileException::badSeek);
    }
    return static_cast<ULONGLONG>(pos);
}

void CStdioFile::Flush() {
    errno = 0;
    if (m_pStream && fflush(m_pStream) != 0) {
        ThrowStreamError(CFileException::diskFull);
    }
}

void CStdioFile::Close() {
    int result = 0;
    int err = 0;
    if (m_pStream) {
        errno = 0;
        result = fclose(m_pStream);
        err = errno;
    }
    m_pStream = nullptr;
    m_hFile = hFileNull;
    m_bCloseOnDelete = FALSE;
    if (result != 0) {
        errno = err;
        CString name = m_strFileName;
        m_strFileName.Empty();
        DWORD code = err == ENOSPC || err == EDQUOT ? ERROR_DISK_FULL : Win32ErrorFromErrno(err);
        SetLastError(code);
        AfxThrowFileException(err == 0 ? CFileException::diskFull
                                       : CFileException::OsErrorToException(static_cast<LONG>(code)),
                              static_cast<LONG>(code), name);
    }
    m_strFileName.Empty();
}

void CStdioFile::Abort() {
    if (m_pStream) {
        fclose(m_pStream);
    }
    m_pStream = nullptr;
    m_hFile = hFileNull;
    m_bCloseOnDelete = FALSE;
    m_strFileName.Empty();
}

CFile* CStdioFile::Duplicate() const {
    AfxThrowNotSupportedException();
}

void CStdioFile::LockRange(ULONGLONG, ULONGLONG) {
    AfxThrowNotSupportedException();
}

void CStdioFile::UnlockRange(ULONGLONG, ULONGLONG) {
    AfxThrowNotSupportedException();
}
