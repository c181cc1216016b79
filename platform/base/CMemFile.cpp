#include "platform/base/CMemFile.h"

#include "platform/base/LastError.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>

IMPLEMENT_DYNAMIC(CMemFile, CFile)

CMemFile::CMemFile(UINT growBytes)
    : m_nGrowBytes(growBytes), m_nPosition(0), m_nBufferSize(0), m_nFileSize(0), m_lpBuffer(nullptr),
      m_bAutoDelete(TRUE) {}

CMemFile::CMemFile(BYTE* buffer, UINT bufferSize, UINT growBytes) : CMemFile(growBytes) {
    Attach(buffer, bufferSize, growBytes);
}

CMemFile::~CMemFile() {
    if (m_lpBuffer && m_bAutoDelete) {
        Free(m_lpBuffer);
    }
    m_lpBuffer = nullptr;
}

void CMemFile::Attach(BYTE* buffer, UINT bufferSize, UINT growBytes) {
    Close();
    m_lpBuffer = buffer;
    m_nBufferSize = buffer ? bufferSize : 0;
    m_nFileSize = growBytes == 0 ? m_nBufferSize : 0;
    m_nGrowBytes = growBytes;
    m_nPosition = 0;
    m_bAutoDelete = FALSE;
}

BYTE* CMemFile::Detach() {
    BYTE* buffer = m_lpBuffer;
    m_lpBuffer = nullptr;
    m_nFileSize = 0;
    m_nBufferSize = 0;
    m_nPosition = 0;
    m_bAutoDelete = TRUE;
    return buffer;
}

BYTE* CMemFile::Alloc(SIZE_T bytes) {
    return static_cast<BYTE*>(std::malloc(bytes ? bytes : 1));
}

BYTE* CMemFile::Realloc(BYTE* buffer, SIZE_T bytes) {
    return static_cast<BYTE*>(std::realloc(buffer, bytes ? bytes : 1));
}

BYTE* CMemFile::Memcpy(BYTE* target, const BYTE* source, SIZE_T count) {
    if (count > 0) {
        std::memcpy(target, source, count);
    }
    return target;
}

void CMemFile::Free(BYTE* buffer) {
    std::free(buffer);
}

void CMemFile::GrowFile(SIZE_T newLength) {
    if (newLength <= m_nBufferSize) {
        return;
    }
    if (m_nGrowBytes == 0) {
        SetLastError(ERROR_DISK_FULL);
        AfxThrowFileException(CFileException::diskFull, ERROR_DISK_FULL, m_strFileName);
    }
    const SIZE_T steps = (newLength - m_nBufferSize + m_nGrowBytes - 1) / m_nGrowBytes;
    if (steps > (SIZE_MAX - m_nBufferSize) / m_nGrowBytes) {
        AfxThrowMemoryException();
    }
    const SIZE_T newSize = m_nBufferSize + steps * m_nGrowBytes;
    BYTE* grown = m_lpBuffer ? Realloc(m_lpBuffer, newSize) : Alloc(newSize);
    if (!grown) {
        AfxThrowMemoryException();
    }
    m_lpBuffer = grown;
    m_nBufferSize = newSize;
}

UINT CMemFile::Read(void* buffer, UINT count) {
    if (count == 0 || m_nPosition >= m_nFileSize) {
        return 0;
    }
    const SIZE_T n = std::min<SIZE_T>(count, m_nFileSize - m_nPosition);
    Memcpy(static_cast<BYTE*>(buffer), m_lpBuffer + m_nPosition, n);
    m_nPosition += n;
    return static_cast<UINT>(n);
}

void CMemFile::Write(const void* buffer, UINT count) {
    if (count == 0) {
        return;
    }
    if (m_nPosition > SIZE_MAX - count) {
        AfxThrowFileException(CFileException::diskFull, ERROR_DISK_FULL, m_strFileName);
    }
    const SIZE_T end = m_nPosition + count;
    GrowFile(end);
    if (m_nPosition > m_nFileSize) {
        // Seeking past the end leaves a gap; it reads as zeros.
        std::memset(m_lpBuffer + m_nFileSize, 0, m_nPosition - m_nFileSize);
    }
    Memcpy(m_lpBuffer + m_nPosition, static_cast<const BYTE*>(buffer), count);
    m_nPosition = end;
    m_nFileSize = std::max(m_nFileSize, end);
}

ULONGLONG CMemFile::Seek(LONGLONG offset, UINT from) {
    LONGLONG base;
    switch (from) {
    case begin:
        base = 0;
        break;
    case current:
        base = static_cast<LONGLONG>(m_nPosition);
        break;
    case end:
        base = static_cast<LONGLONG>(m_nFileSize);
        break;
    default:
        AfxThrowFileException(CFileException::badSeek, ERROR_INVALID_PARAMETER, m_strFileName);
    }
    LONGLONG target;
    if (__builtin_add_overflow(base, offset, &target) || target < 0) {
        SetLastError(ERROR_NEGATIVE_SEEK);
        AfxThrowFileException(CFileException::badSeek, ERROR_NEGATIVE_SEEK, m_strFileName);
    }
    m_nPosition = static_cast<SIZE_T>(target);
    return static_cast<ULONGLONG>(target);
}

ULONGLONG CMemFile::GetLength() const {
    return m_nFileSize;
}

void CMemFile::SetLength(ULONGLONG newLength) {
    if (newLength > SIZE_MAX) {
        AfxThrowMemoryException();
    }
    const SIZE_T length = static_cast<SIZE_T>(newLength);
    GrowFile(length);
    if (length > m_nFileSize) {
        std::memset(m_lpBuffer + m_nFileSize, 0, length - m_nFileSize);
    }
    m_nPosition = std::min(m_nPosition, length);
    m_nFileSize = length;
}

ULONGLONG CMemFile::GetPosition() const {
    return m_nPosition;
}

void CMemFile::Flush() {}

void CMemFile::Close() {
    if (m_lpBuffer && m_bAutoDelete) {
        Free(m_lpBuffer);
    }
    m_lpBuffer = nullptr;
    m_nPosition = 0;
    m_nBufferSize = 0;
    m_nFileSize = 0;
    m_bAutoDelete = TRUE;
}

void CMemFile::Abort() {
    Close();
}

CFile* CMemFile::Duplicate() const {
    AfxThrowNotSupportedException();
}

void CMemFile::LockRange(ULONGLONG, ULONGLONG) {
    AfxThrowNotSupportedException();
}

void CMemFile::UnlockRange(ULONGLONG, ULONGLONG) {
    AfxThrowNotSupportedException();
}

BOOL CMemFile::GetStatus(CFileStatus& status) const {
    status = CFileStatus();
    status.m_size = m_nFileSize;
    return TRUE;
}
