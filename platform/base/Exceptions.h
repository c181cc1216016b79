// The framework's exceptions. They live on the heap and are thrown by pointer; whoever catches one releases
// it with Delete(). The exceptions that carry no state (memory, not supported, resource, user) are static
// instances with auto-delete off, so that Delete() on them does nothing and running out of memory can still
// be reported.
#pragma once

#include "platform/base/CObject.h"
#include "platform/base/CString.h"
#include "platform/base/MessageBoxConstants.h"
#include "platform/base/Win32Types.h"

#include <functional>

// Shows an exception's text and answers the button pressed. The display layer installs a message box; until
// then the text goes to stderr and the answer is IDOK.
using ExceptionReporter = std::function<int(LPCTSTR text, UINT type, UINT helpContext)>;
void SetExceptionReporter(ExceptionReporter reporter);
// Passes the text to the installed reporter (or the default one).
int ReportExceptionText(LPCTSTR text, UINT type, UINT helpContext);

class CException : public CObject {
    DECLARE_DYNAMIC(CException)
public:
    explicit CException(BOOL autoDelete = TRUE) : m_bAutoDelete(autoDelete) {}
    ~CException() override = default;

    // Releases a caught exception: deletes it when it is auto-deleting, otherwise does nothing.
    void Delete();

    // Copies the exception's text (truncated to maxUnits - 1 units and terminated); FALSE when it has none.
    virtual BOOL GetErrorMessage(LPTSTR buffer, UINT maxUnits, PUINT helpContext = nullptr);
    // Shows the text through the reporter; without a text, the string resource messageId, or a generic text.
    virtual int ReportError(UINT type = MB_OK, UINT messageId = 0);

    BOOL m_bAutoDelete;

protected:
    // Copies text into the caller's buffer the way GetErrorMessage promises.
    static BOOL CopyMessage(const CString& text, LPTSTR buffer, UINT maxUnits, PUINT helpContext);
};

class CMemoryException : public CException {
    DECLARE_DYNAMIC(CMemoryException)
public:
    explicit CMemoryException(BOOL autoDelete = TRUE) : CException(autoDelete) {}
    BOOL GetErrorMessage(LPTSTR buffer, UINT maxUnits, PUINT helpContext = nullptr) override;
};

class CNotSupportedException : public CException {
    DECLARE_DYNAMIC(CNotSupportedException)
public:
    explicit CNotSupportedException(BOOL autoDelete = TRUE) : CException(autoDelete) {}
    BOOL GetErrorMessage(LPTSTR buffer, UINT maxUnits, PUINT helpContext = nullptr) override;
};

class CResourceException : public CException {
    DECLARE_DYNAMIC(CResourceException)
public:
    explicit CResourceException(BOOL autoDelete = TRUE) : CException(autoDelete) {}
    BOOL GetErrorMessage(LPTSTR buffer, UINT maxUnits, PUINT helpContext = nullptr) override;
};

// Thrown after the user has already been told (a failed validation): it has no text and reports nothing.
class CUserException : public CException {
    DECLARE_DYNAMIC(CUserException)
public:
    explicit CUserException(BOOL autoDelete = TRUE) : CException(autoDelete) {}
    // Shows nothing and answers 0.
    int ReportError(UINT type = MB_OK, UINT messageId = 0) override;
};

class CFileException : public CException {
    DECLARE_DYNAMIC(CFileException)
public:
    enum {
        none = 0,
        generic = 1,
        genericException = 1,
        fileNotFound,
        badPath,
        tooManyOpenFiles,
        accessDenied,
        invalidFile,
        removeCurrentDir,
        directoryFull,
        badSeek,
        hardIO,
        sharingViolation,
        lockViolation,
        diskFull,
        endOfFile
    };

    explicit CFileException(int cause = none, LONG osError = -1, LPCTSTR fileName = nullptr);

    BOOL GetErrorMessage(LPTSTR buffer, UINT maxUnits, PUINT helpContext = nullptr) override;

    // The cause for a Win32 error code and for a C runtime errno value.
    static int OsErrorToException(LONG osError);
    static int ErrnoToException(int errnoValue);
    // Throw the matching exception; do nothing for code 0.
    static void ThrowOsError(LONG osError, LPCTSTR fileName = nullptr);
    static void ThrowErrno(int errnoValue, LPCTSTR fileName = nullptr);

    int m_cause;
    LONG m_lOsError; // Win32 error code, -1 when unknown
    CString m_strFileName;
};

class CArchiveException : public CException {
    DECLARE_DYNAMIC(CArchiveException)
public:
    enum {
        none = 0,
        generic = 1,
        genericException = 1,
        readOnly = 2,
        endOfFile = 3,
        writeOnly = 4,
        badIndex = 5,
        badClass = 6,
        badSchema = 7
    };

    explicit CArchiveException(int cause = none, LPCTSTR fileName = nullptr);

    BOOL GetErrorMessage(LPTSTR buffer, UINT maxUnits, PUINT helpContext = nullptr) override;

    int m_cause;
    CString m_strFileName;
};

[[noreturn]] void AfxThrowMemoryException();
[[noreturn]] void AfxThrowNotSupportedException();
[[noreturn]] void AfxThrowResourceException();
[[noreturn]] void AfxThrowUserException();
[[noreturn]] void AfxThrowFileException(int cause, LONG osError = -1, LPCTSTR fileName = nullptr);
[[noreturn]] void AfxThrowArchiveException(int cause, LPCTSTR fileName = nullptr);

// The framework's exception macros over C++ try/catch. The catcher owns the caught exception and releases
// it with e->Delete() unless it rethrows it with THROW_LAST().
#define TRY try
#define CATCH(class_name, e) catch (class_name * e)
#define AND_CATCH(class_name, e) catch (class_name * e)
#define END_CATCH
#define CATCH_ALL(e) catch (CException * e)
#define AND_CATCH_ALL(e) catch (CException * e)
#define END_CATCH_ALL
#define THROW(e) throw e
#define THROW_LAST() throw
