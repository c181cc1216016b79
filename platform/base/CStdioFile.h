// A buffered file over a C stream, with the original platform's text mode: unless opened with typeBinary,
// writing turns each LF into CR LF and reading turns CR LF back into LF. WriteString narrows each UTF-16 unit
// to its low byte and ReadString widens each byte to one unit, so log files match the original's byte for
// byte. In binary mode strings are read and written as UTF-16LE units without any translation. (Unlike the
// original runtime, text mode does not treat Ctrl-Z as the end of the file.)
#pragma once

#include "platform/base/CFile.h"

#include <cstdio>

class CStdioFile : public CFile {
    DECLARE_DYNAMIC(CStdioFile)
public:
    CStdioFile();
    // Wraps an open stream in text mode; it is not closed on destruction.
    explicit CStdioFile(FILE* stream);
    // Opens or throws CFileException.
    CStdioFile(LPCTSTR fileName, UINT openFlags);
    ~CStdioFile() override;

    BOOL Open(LPCTSTR fileName, UINT openFlags, CFileException* error = nullptr) override;

    // The next line without its line end; FALSE at the end of the file.
    virtual BOOL ReadString(CString& line);
    // Up to maxUnits - 1 units, stopping after a line end, which is kept as "\n"; null at the end of the
    // file.
    virtual LPTSTR ReadString(LPTSTR buffer, UINT maxUnits);
    virtual void WriteString(LPCTSTR text);

    UINT Read(void* buffer, UINT count) override;
    void Write(const void* buffer, UINT count) override;
    ULONGLONG Seek(LONGLONG offset, UINT from) override;
    ULONGLONG GetLength() const override;
    void SetLength(ULONGLONG newLength) override;
    ULONGLONG GetPosition() const override;
    // Hands the stream's buffer to the system (no sync to the disk).
    void Flush() override;
    void Close() override;
    void Abort() override;
    // Not available on streams: they throw CNotSupportedException.
    CFile* Duplicate() const override;
    void LockRange(ULONGLONG position, ULONGLONG count) override;
    void UnlockRange(ULONGLONG position, ULONGLONG count) override;

    FILE* m_pStream;

protected:
    // One byte after text-mode translation; EOF at the end.
    int GetTextByte();
    [[noreturn]] void ThrowStreamError(int fallbackCause) const;

    bool m_bText;
};
