#include "platform/base/Exceptions.h"
#include "platform/base/LastError.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <set>
#include <string>
#include <vector>

namespace {
int g_destroyed = 0;

class CountedException : public CException {
public:
    using CException::CException;
    ~CountedException() override { ++g_destroyed; }
};

struct Shown {
    std::u16string text;
    UINT type = 0;
};

// Installs a reporter that records what it is asked to show, and removes it again.
class ReporterScope {
public:
    explicit ReporterScope(std::vector<Shown>& shown, int answer = IDCANCEL) {
        SetExceptionReporter([&shown, answer](LPCTSTR text, UINT type, UINT) {
            shown.push_back({text, type});
            return answer;
        });
    }
    ~ReporterScope() { SetExceptionReporter(nullptr); }
};

std::u16string Message(CException& e, UINT units = 256) {
    std::vector<TCHAR> buffer(units + 1, u'#');
    if (!e.GetErrorMessage(buffer.data(), units)) {
        return u"<none>";
    }
    return buffer.data();
}
} // namespace

TEST(Exception, DeleteFreesOnlyAutoDeletingExceptions) {
    g_destroyed = 0;
    try {
        throw new CountedException();
    } catch (CException* e) {
        e->Delete();
    }
    EXPECT_EQ(g_destroyed, 1);

    {
        CountedException onStack(FALSE);
        onStack.Delete(); // must not free a stack object
        EXPECT_EQ(g_destroyed, 1);
    }
    EXPECT_EQ(g_destroyed, 2);
}

TEST(Exception, StatelessExceptionsAreSharedInstancesThatSurviveDelete) {
    CException* first = nullptr;
    try {
        AfxThrowMemoryException();
    } catch (CMemoryException* e) {
        first = e;
        EXPECT_FALSE(e->m_bAutoDelete);
        e->Delete();
    }
    try {
        AfxThrowMemoryException();
    } catch (CException* e) {
        EXPECT_EQ(e, first) << "no allocation is needed to report running out of memory";
        EXPECT_TRUE(e->IsKindOf(RUNTIME_CLASS(CMemoryException)));
        e->Delete();
    }
    EXPECT_THROW(AfxThrowNotSupportedException(), CNotSupportedException*);
    EXPECT_THROW(AfxThrowResourceException(), CResourceException*);
    EXPECT_THROW(AfxThrowUserException(), CUserException*);
}

TEST(Exception, MacrosCatchByClassAndRethrow) {
    int caughtAs = 0;
    TRY {
        AfxThrowFileException(CFileException::diskFull, ERROR_DISK_FULL, u"/tmp/a.log");
    }
    CATCH(CArchiveException, e) {
        caughtAs = 1;
        e->Delete();
    }
    AND_CATCH(CFileException, e) {
        caughtAs = 2;
        EXPECT_EQ(e->m_cause, CFileException::diskFull);
        EXPECT_EQ(e->m_lOsError, ERROR_DISK_FULL);
        EXPECT_EQ(e->m_strFileName, u"/tmp/a.log");
        e->Delete();
    }
    END_CATCH
    EXPECT_EQ(caughtAs, 2);

    int outer = 0;
    TRY{TRY{AfxThrowArchiveException(CArchiveException::badSchema, u"doc.dat");
}
CATCH_ALL(e) {
    THROW_LAST();
}
END_CATCH_ALL
}
CATCH(CArchiveException, e) {
    outer = e->m_cause;
    e->Delete();
}
END_CATCH
EXPECT_EQ(outer, CArchiveException::badSchema);

CException* thrown = new CUserException();
TRY {
    THROW(thrown);
}
CATCH_ALL(e) {
    EXPECT_EQ(e, thrown);
    e->Delete();
}
END_CATCH_ALL
}

TEST(Exception, MessagesNameTheFileAndFitTheBuffer) {
    CFileException named(CFileException::accessDenied, ERROR_ACCESS_DENIED, u"/data/x.txt");
    std::u16string text = Message(named);
    EXPECT_NE(text.find(u"/data/x.txt"), std::u16string::npos) << std::string(text.begin(), text.end());

    CFileException unnamed(CFileException::fileNotFound);
    text = Message(unnamed);
    EXPECT_EQ(text.find(u"%1"), std::u16string::npos);
    EXPECT_EQ(text.find(u"  "), std::u16string::npos);

    // Every cause has its own text.
    std::set<std::u16string> fileTexts;
    for (int cause = CFileException::none; cause <= CFileException::endOfFile; ++cause) {
        CFileException e(cause);
        fileTexts.insert(Message(e));
    }
    EXPECT_EQ(fileTexts.size(), 15u);
    std::set<std::u16string> archiveTexts;
    for (int cause = CArchiveException::none; cause <= CArchiveException::badSchema; ++cause) {
        CArchiveException e(cause, u"layout.grd");
        EXPECT_NE(Message(e).find(u"layout.grd"), std::u16string::npos) << cause;
        archiveTexts.insert(Message(e));
    }
    EXPECT_EQ(archiveTexts.size(), 8u);

    TCHAR small[6] = {u'#', u'#', u'#', u'#', u'#', u'#'};
    EXPECT_TRUE(named.GetErrorMessage(small, 5));
    EXPECT_EQ(std::u16string(small), Message(named).substr(0, 4));
    EXPECT_EQ(small[5], u'#');
    EXPECT_FALSE(named.GetErrorMessage(small, 0));

    CUserException user;
    EXPECT_EQ(Message(user), u"<none>");
    CMemoryException memory;
    EXPECT_NE(Message(memory), u"<none>");
}

TEST(Exception, ReportErrorGoesThroughTheReporter) {
    std::vector<Shown> shown;
    ReporterScope scope(shown, IDRETRY);
    CFileException e(CFileException::sharingViolation, ERROR_SHARING_VIOLATION, u"gps.log");
    EXPECT_EQ(e.ReportError(MB_RETRYCANCEL | MB_ICONEXCLAMATION), IDRETRY);
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].text, Message(e));
    EXPECT_EQ(shown[0].type, MB_RETRYCANCEL | MB_ICONEXCLAMATION);

    // Without a text of its own the string resource is shown, else a generic text.
    SetStringResourceLoader([](UINT id, std::u16string& text) {
        if (id != 4711) {
            return false;
        }
        text = u"From the string table.";
        return true;
    });
    CException plain;
    plain.ReportError(MB_OK, 4711);
    plain.ReportError(MB_OK, 4712);
    SetStringResourceLoader(nullptr);
    ASSERT_EQ(shown.size(), 3u);
    EXPECT_EQ(shown[1].text, u"From the string table.");
    EXPECT_FALSE(shown[2].text.empty());

    // The user has been told already: nothing is shown.
    CUserException user;
    EXPECT_EQ(user.ReportError(), 0);
    EXPECT_EQ(shown.size(), 3u);
}

TEST(Exception, DefaultReporterAnswersOk) {
    CNotSupportedException e;
    testing::internal::CaptureStderr();
    EXPECT_EQ(e.ReportError(), IDOK);
    std::string printed = testing::internal::GetCapturedStderr();
    EXPECT_NE(printed.find("not supported"), std::string::npos) << printed;
}

TEST(Exception, OsErrorsAndErrnoValuesMapToCauses) {
    struct OsCase {
        LONG code;
        int cause;
    };
    const OsCase os[] = {
        {NO_ERROR, CFileException::none},
        {ERROR_FILE_NOT_FOUND, CFileException::fileNotFound},
        {ERROR_PATH_NOT_FOUND, CFileException::badPath},
        {ERROR_TOO_MANY_OPEN_FILES, CFileException::tooManyOpenFiles},
        {ERROR_ACCESS_DENIED, CFileException::accessDenied},
        {ERROR_WRITE_PROTECT, CFileException::accessDenied},
        {ERROR_INVALID_HANDLE, CFileException::fileNotFound},
        {ERROR_BAD_FORMAT, CFileException::invalidFile},
        {ERROR_DIR_NOT_EMPTY, CFileException::removeCurrentDir},
        {ERROR_NEGATIVE_SEEK, CFileException::badSeek},
        {ERROR_CRC, CFileException::hardIO},
        {ERROR_SHARING_VIOLATION, CFileException::sharingViolation},
        {ERROR_LOCK_VIOLATION, CFileException::lockViolation},
        {ERROR_DISK_FULL, CFileException::diskFull},
        {ERROR_HANDLE_DISK_FULL, CFileException::diskFull},
        {ERROR_HANDLE_EOF, CFileException::endOfFile},
        {ERROR_ALREADY_EXISTS, CFileException::genericException},
        {123456, CFileException::genericException},
    };
    for (const OsCase& c : os) {
        EXPECT_EQ(CFileException::OsErrorToException(c.code), c.cause) << c.code;
    }
    struct ErrnoCase {
        int err;
        int cause;
    };
    const ErrnoCase errnos[] = {
        {0, CFileException::none},
        {ENOENT, CFileException::fileNotFound},
        {ENOTDIR, CFileException::badPath},
        {EMFILE, CFileException::tooManyOpenFiles},
        {EACCES, CFileException::accessDenied},
        {EROFS, CFileException::accessDenied},
        {EBADF, CFileException::invalidFile},
        {ESPIPE, CFileException::badSeek},
        {EIO, CFileException::hardIO},
        {ENOSPC, CFileException::diskFull},
        {EXDEV, CFileException::genericException},
    };
    for (const ErrnoCase& c : errnos) {
        EXPECT_EQ(CFileException::ErrnoToException(c.err), c.cause) << c.err;
    }

    EXPECT_NO_THROW(CFileException::ThrowOsError(0));
    EXPECT_NO_THROW(CFileException::ThrowErrno(0));
    try {
        CFileException::ThrowErrno(ENOSPC, u"full.bin");
    } catch (CFileException* e) {
        EXPECT_EQ(e->m_cause, CFileException::diskFull);
        EXPECT_EQ(e->m_lOsError, ERROR_DISK_FULL);
        EXPECT_EQ(e->m_strFileName, u"full.bin");
        e->Delete();
    }
}

TEST(Exception, ClassRecordsFormTheFrameworkTree) {
    EXPECT_TRUE(RUNTIME_CLASS(CFileException)->IsDerivedFrom(RUNTIME_CLASS(CException)));
    EXPECT_TRUE(RUNTIME_CLASS(CArchiveException)->IsDerivedFrom(RUNTIME_CLASS(CObject)));
    EXPECT_FALSE(RUNTIME_CLASS(CArchiveException)->IsDerivedFrom(RUNTIME_CLASS(CFileException)));
    CArchiveException e;
    EXPECT_TRUE(e.IsKindOf(RUNTIME_CLASS(CException)));
    EXPECT_FALSE(e.IsSerializable());
}
