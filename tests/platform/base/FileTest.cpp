#include "platform/base/CFile.h"
#include "platform/base/CodePage.h"
#include "platform/base/LastError.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {
fs::path FreshDir(const char* name) {
    fs::path dir = testsupport::ScratchDir() / "file-test" / name;
    fs::remove_all(dir);
    fs::create_directories(dir);
    return dir;
}

CString Name(const fs::path& path) {
    return CString(Utf8ToUtf16(path.string()));
}

void WriteBytes(const fs::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

std::string ReadBytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// The cause of a failed Open (-1 when it succeeds), with the Win32 code in *osError.
int OpenCause(LPCTSTR name, UINT flags, LONG* osError = nullptr) {
    CFile file;
    CFileException error;
    if (file.Open(name, flags, &error)) {
        return -1;
    }
    EXPECT_EQ(error.m_strFileName, name);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(error.m_lOsError));
    if (osError) {
        *osError = error.m_lOsError;
    }
    return error.m_cause;
}

template <class F>
int FileCause(F&& f) {
    try {
        f();
    } catch (CFileException* e) {
        int cause = e->m_cause;
        e->Delete();
        return cause;
    }
    return -1;
}
} // namespace

TEST(File, OpenFailuresMapToTheirCauses) {
    fs::path dir = FreshDir("open");
    WriteBytes(dir / "plain.txt", "x");
    struct Case {
        const char* what;
        CString name;
        UINT flags;
        int cause;
        LONG osError;
    };
    const Case cases[] = {
        {"missing file", Name(dir / "missing.txt"), CFile::modeRead, CFileException::fileNotFound,
         ERROR_FILE_NOT_FOUND},
        {"missing folder", Name(dir / "nowhere" / "x.txt"), CFile::modeCreate | CFile::modeWrite,
         CFileException::badPath, ERROR_PATH_NOT_FOUND},
        {"file used as folder", Name(dir / "plain.txt" / "x.txt"), CFile::modeRead, CFileException::badPath,
         ERROR_PATH_NOT_FOUND},
        {"folder opened for reading", Name(dir), CFile::modeRead, CFileException::accessDenied,
         ERROR_ACCESS_DENIED},
        {"folder opened for writing", Name(dir), CFile::modeCreate | CFile::modeWrite,
         CFileException::accessDenied, ERROR_ACCESS_DENIED},
        {"empty name", CString(u""), CFile::modeRead, CFileException::badPath, ERROR_PATH_NOT_FOUND},
    };
    for (const Case& c : cases) {
        LONG osError = 0;
        EXPECT_EQ(OpenCause(c.name, c.flags, &osError), c.cause) << c.what;
        EXPECT_EQ(osError, c.osError) << c.what;
    }
    // The opening constructor throws the same exception.
    try {
        CFile file(Name(dir / "missing.txt"), CFile::modeRead);
        ADD_FAILURE() << "opened a missing file";
    } catch (CFileException* e) {
        EXPECT_EQ(e->m_cause, CFileException::fileNotFound);
        EXPECT_EQ(e->m_strFileName, Name(dir / "missing.txt"));
        e->Delete();
    }
}

TEST(File, PermissionDeniedIsAccessDenied) {
    fs::path dir = FreshDir("permission");
    fs::path secret = dir / "secret.txt";
    WriteBytes(secret, "x");
    ASSERT_EQ(chmod(secret.c_str(), 0600), 0);
    const CString name = Name(secret);
    if (geteuid() != 0) {
        ASSERT_EQ(chmod(secret.c_str(), 0), 0);
        EXPECT_EQ(OpenCause(name, CFile::modeRead), CFileException::accessDenied);
        return;
    }
    // Root may open anything: try as an unprivileged user in a child process.
    pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        if (setgid(65534) != 0 || setuid(65534) != 0) {
            _exit(200);
        }
        CFile file;
        CFileException error;
        _exit(file.Open(name, CFile::modeRead, &error) ? 201 : error.m_cause);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    if (WEXITSTATUS(status) == 200) {
        GTEST_SKIP() << "cannot drop privileges here";
    }
    EXPECT_EQ(WEXITSTATUS(status), CFileException::accessDenied);
}

TEST(File, ReadWriteSeekAndLengthUse64BitOffsets) {
    fs::path path = FreshDir("io") / "data.bin";
    CFile file(Name(path), CFile::modeCreate | CFile::modeReadWrite);
    file.Write("hello world", 11);
    EXPECT_EQ(file.GetLength(), 11u);
    EXPECT_EQ(file.Seek(-5, CFile::end), 6u);
    char buf[16] = {};
    EXPECT_EQ(file.Read(buf, sizeof buf), 5u);
    EXPECT_EQ(std::string(buf, 5), "world");
    EXPECT_EQ(file.Read(buf, sizeof buf), 0u);
    file.SeekToBegin();
    EXPECT_EQ(file.GetPosition(), 0u);
    EXPECT_EQ(file.Seek(2, CFile::current), 2u);

    const ULONGLONG far = 5ULL << 30;
    EXPECT_EQ(file.Seek(static_cast<LONGLONG>(far), CFile::begin), far);
    file.Write("!", 1);
    EXPECT_EQ(file.GetLength(), far + 1);
    EXPECT_EQ(file.SeekToEnd(), far + 1);
    file.SetLength(4);
    EXPECT_EQ(file.GetLength(), 4u);
    EXPECT_EQ(file.GetPosition(), 4u) << "as the original, SetLength leaves the position at the new end";

    EXPECT_EQ(FileCause([&] { file.Seek(-1, CFile::begin); }), CFileException::badSeek);
    file.Flush();
    file.Close();
    EXPECT_EQ(file.m_hFile, CFile::hFileNull);
    EXPECT_EQ(ReadBytes(path), "hell");
}

TEST(File, CreateTruncatesUnlessAskedNotTo) {
    fs::path path = FreshDir("create") / "keep.txt";
    WriteBytes(path, "abc");
    {
        CFile file(Name(path), CFile::modeCreate | CFile::modeNoTruncate | CFile::modeWrite);
        EXPECT_EQ(file.GetLength(), 3u);
    }
    {
        CFile file(Name(path), CFile::modeCreate | CFile::modeWrite);
        EXPECT_EQ(file.GetLength(), 0u);
    }
    EXPECT_EQ(OpenCause(Name(path.parent_path() / "new.txt"), CFile::modeWrite),
              CFileException::fileNotFound);
}

TEST(File, WriteErrorsRaiseFileExceptions) {
    fs::path path = FreshDir("writes") / "ro.txt";
    WriteBytes(path, "abc");
    CFile reader(Name(path), CFile::modeRead);
    EXPECT_EQ(FileCause([&] { reader.Write("x", 1); }), CFileException::accessDenied);

    if (access("/dev/full", W_OK) != 0) {
        GTEST_SKIP() << "no /dev/full";
    }
    CFile full(u"/dev/full", CFile::modeWrite | CFile::shareDenyNone);
    EXPECT_EQ(FileCause([&] { full.Write("x", 1); }), CFileException::diskFull);
}

TEST(File, SharingModesAreEnforcedAmongOpens) {
    fs::path path = FreshDir("share") / "shared.txt";
    WriteBytes(path, "data");
    const CString name = Name(path);
    struct Case {
        const char* what;
        UINT first;
        UINT second;
        bool secondOpens;
    };
    const Case cases[] = {
        {"compatibility mode is exclusive", CFile::modeRead, CFile::modeRead, false},
        {"exclusive writer keeps readers out", CFile::modeWrite | CFile::shareExclusive,
         CFile::modeRead | CFile::shareDenyWrite, false},
        {"readers denying writes coexist", CFile::modeRead | CFile::shareDenyWrite,
         CFile::modeRead | CFile::shareDenyWrite, true},
        {"a writer denying writes excludes them", CFile::modeWrite | CFile::shareDenyWrite,
         CFile::modeRead | CFile::shareDenyWrite, false},
        {"deny-none opens coexist", CFile::modeRead | CFile::shareDenyNone,
         CFile::modeWrite | CFile::shareDenyNone, true},
    };
    for (const Case& c : cases) {
        CFile first(name, c.first);
        LONG osError = 0;
        int cause = OpenCause(name, c.second, &osError);
        if (c.secondOpens) {
            EXPECT_EQ(cause, -1) << c.what;
        } else {
            EXPECT_EQ(cause, CFileException::sharingViolation) << c.what;
            EXPECT_EQ(osError, ERROR_SHARING_VIOLATION) << c.what;
        }
    }
    // A refused open must not truncate the file the other holds.
    {
        CFile holder(name, CFile::modeRead | CFile::shareExclusive);
        EXPECT_EQ(OpenCause(name, CFile::modeCreate | CFile::modeWrite), CFileException::sharingViolation);
    }
    EXPECT_EQ(ReadBytes(path), "data");
    EXPECT_EQ(OpenCause(name, CFile::modeRead), -1) << "the lock goes with the closed file";
}

TEST(File, BackslashesSeparateAndNamesAreUtf8OnDisk) {
    fs::path dir = FreshDir("names");
    fs::create_directories(dir / "sub");
    CString name = Name(dir) + u"\\sub\\..\\sub\\.\\Grüße.tar.gz";
    CFile file(name, CFile::modeCreate | CFile::modeWrite);
    const fs::path onDisk = dir / "sub" /
                            "Gr\xC3\xBC\xC3\x9F"
                            "e.tar.gz";
    EXPECT_TRUE(fs::exists(onDisk));
    EXPECT_EQ(file.GetFilePath(), Name(onDisk));
    EXPECT_EQ(file.GetFileName(), u"Grüße.tar.gz");
    EXPECT_EQ(file.GetFileTitle(), u"Grüße.tar");
    file.SetFilePath(u"/a/b/../c.txt");
    EXPECT_EQ(file.GetFilePath(), u"/a/c.txt");
    EXPECT_EQ(file.GetFileTitle(), u"c");
}

TEST(File, StatusReportsSizeTimesAndAttributes) {
    fs::path dir = FreshDir("status");
    fs::path path = dir / "ten.bin";
    WriteBytes(path, "0123456789");
    struct stat st {};
    ASSERT_EQ(stat(path.c_str(), &st), 0);

    CFileStatus status;
    ASSERT_TRUE(CFile::GetStatus(Name(path), status));
    EXPECT_EQ(status.m_size, 10u);
    EXPECT_EQ(status.m_mtime, st.st_mtim.tv_sec);
    EXPECT_EQ(status.m_atime, st.st_atim.tv_sec);
    EXPECT_EQ(status.m_attribute, CFile::normal);
    EXPECT_EQ(std::u16string(status.m_szFullName), Name(path).str());

    CFile file(Name(path), CFile::modeRead);
    CFileStatus open;
    ASSERT_TRUE(file.GetStatus(open));
    EXPECT_EQ(open.m_size, 10u);
    EXPECT_EQ(open.m_mtime, status.m_mtime);

    ASSERT_TRUE(CFile::GetStatus(Name(dir), status));
    EXPECT_TRUE(status.m_attribute & CFile::directory);
    WriteBytes(dir / ".hidden", "");
    ASSERT_EQ(chmod((dir / ".hidden").c_str(), 0444), 0);
    ASSERT_TRUE(CFile::GetStatus(Name(dir / ".hidden"), status));
    EXPECT_EQ(status.m_attribute, CFile::hidden | CFile::readOnly);

    EXPECT_FALSE(CFile::GetStatus(Name(dir / "missing"), status));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
}

TEST(File, RenameAndRemove) {
    fs::path dir = FreshDir("rename");
    WriteBytes(dir / "a.txt", "a");
    WriteBytes(dir / "b.txt", "b");
    CFile::Rename(Name(dir / "a.txt"), Name(dir / "c.txt"));
    EXPECT_FALSE(fs::exists(dir / "a.txt"));
    EXPECT_EQ(ReadBytes(dir / "c.txt"), "a");

    // As the original, an existing target is not replaced.
    try {
        CFile::Rename(Name(dir / "c.txt"), Name(dir / "b.txt"));
        ADD_FAILURE() << "replaced an existing file";
    } catch (CFileException* e) {
        EXPECT_EQ(e->m_lOsError, ERROR_ALREADY_EXISTS);
        EXPECT_EQ(e->m_strFileName, Name(dir / "c.txt"));
        e->Delete();
    }
    EXPECT_EQ(ReadBytes(dir / "b.txt"), "b");
    EXPECT_EQ(FileCause([&] { CFile::Rename(Name(dir / "gone.txt"), Name(dir / "x.txt")); }),
              CFileException::fileNotFound);
    EXPECT_EQ(FileCause([&] { CFile::Rename(Name(dir / "c.txt"), Name(dir / "no" / "x.txt")); }),
              CFileException::badPath);

    CFile::Remove(Name(dir / "c.txt"));
    EXPECT_FALSE(fs::exists(dir / "c.txt"));
    EXPECT_EQ(FileCause([&] { CFile::Remove(Name(dir / "c.txt")); }), CFileException::fileNotFound);
    EXPECT_EQ(FileCause([&] { CFile::Remove(Name(dir / "no" / "c.txt")); }), CFileException::badPath);
    fs::create_directories(dir / "folder");
    EXPECT_EQ(FileCause([&] { CFile::Remove(Name(dir / "folder")); }), CFileException::accessDenied);
}

TEST(File, DuplicatesShareThePositionAndWrappedHandlesStayOpen) {
    fs::path path = FreshDir("dup") / "d.txt";
    CFile file(Name(path), CFile::modeCreate | CFile::modeReadWrite);
    file.Write("abc", 3);
    CFile* copy = file.Duplicate();
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(copy->GetPosition(), 3u);
    copy->Write("d", 1);
    EXPECT_EQ(file.GetPosition(), 4u);
    EXPECT_EQ(copy->GetFilePath(), file.GetFilePath());
    delete copy;

    {
        CFile wrapped(file.m_hFile);
        EXPECT_EQ(wrapped.GetLength(), 4u);
    }
    EXPECT_EQ(file.GetLength(), 4u) << "a wrapped handle is not closed with its wrapper";
    file.Abort();
    file.Abort();
    EXPECT_EQ(file.Duplicate(), nullptr);
    EXPECT_EQ(ReadBytes(path), "abcd");
}

TEST(File, LockedRangesKeepOtherOpensOut) {
    fs::path path = FreshDir("lock") / "l.bin";
    WriteBytes(path, std::string(32, 'x'));
    const UINT flags = CFile::modeReadWrite | CFile::shareDenyNone;
    CFile a(Name(path), flags);
    CFile b(Name(path), flags);
    a.LockRange(0, 10);
    EXPECT_EQ(FileCause([&] { b.LockRange(5, 10); }), CFileException::lockViolation);
    b.LockRange(10, 5);
    a.UnlockRange(0, 10);
    b.LockRange(0, 5);
}
