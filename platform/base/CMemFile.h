// A file in memory. It either owns a buffer that grows in steps of growBytes, or reads and writes a buffer
// the caller attached (without copying it). An attached buffer with growBytes 0 is fixed: a write past its
// end raises CFileException diskFull. An attached buffer with growBytes > 0 grows through Realloc, so it must
// come from malloc.
#pragma once

#include "platform/base/CFile.h"

class CMemFile : public CFile {
    DECLARE_DYNAMIC(CMemFile)
public:
    explicit CMemFile(UINT growBytes = 1024);
    CMemFile(BYTE* buffer, UINT bufferSize, UINT growBytes = 0);
    ~CMemFile() override;

    // growBytes 0: the buffer holds bufferSize bytes of data to read or overwrite; otherwise the file starts
    // empty and uses the buffer as its first storage.
    void Attach(BYTE* buffer, UINT bufferSize, UINT growBytes = 0);
    // Hands back the buffer (the caller owns it from now on, free() it when it came from here) and leaves
    // the file empty.
    BYTE* Detach();

    UINT Read(void* buffer, UINT count) override;
    void Write(const void* buffer, UINT count) override;
    ULONGLONG Seek(LONGLONG offset, UINT from) override;
    ULONGLONG GetLength() const override;
    void SetLength(ULONGLONG newLength) override;
    ULONGLONG GetPosition() const override;
    void Flush() override;
    void Close() override;
    void Abort() override;
    // Not available on memory files: they throw CNotSupportedException.
    CFile* Duplicate() const override;
    void LockRange(ULONGLONG position, ULONGLONG count) override;
    void UnlockRange(ULONGLONG position, ULONGLONG count) override;

    using CFile::GetStatus;
    BOOL GetStatus(CFileStatus& status) const;

    // The data in place, for readers that want no copy.
    const BYTE* GetBufferPtr() const { return m_lpBuffer; }

protected:
    virtual BYTE* Alloc(SIZE_T bytes);
    virtual BYTE* Realloc(BYTE* buffer, SIZE_T bytes);
    virtual BYTE* Memcpy(BYTE* target, const BYTE* source, SIZE_T count);
    virtual void Free(BYTE* buffer);
    // Makes room for at least newLength bytes; throws diskFull when the buffer may not grow and
    // CMemoryException when memory runs out.
    virtual void GrowFile(SIZE_T newLength);

    SIZE_T m_nGrowBytes;
    SIZE_T m_nPosition;
    SIZE_T m_nBufferSize;
    SIZE_T m_nFileSize;
    BYTE* m_lpBuffer;
    BOOL m_bAutoDelete;
};
