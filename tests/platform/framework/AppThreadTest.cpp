#include "FrameworkTestSupport.h"

#include "platform/kernel/Sync.h"
#include "platform/kernel/Ticks.h"
#include "platform/registry/Registry.h"

#include <atomic>
#include <string>
#include <vector>

using namespace fwtest;

namespace {

std::u16string ReadRegString(LPCWSTR subKey, LPCWSTR value) {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, subKey, 0, KEY_READ, &key) != ERROR_SUCCESS) {
        return u"<no key>";
    }
    WCHAR buffer[256] = {};
    DWORD size = sizeof buffer;
    DWORD type = 0;
    LONG rc = RegQueryValueExW(key, value, nullptr, &type, reinterpret_cast<LPBYTE>(buffer), &size);
    RegCloseKey(key);
    return rc == ERROR_SUCCESS ? std::u16string(buffer) : u"<no value>";
}

DWORD ReadRegDword(LPCWSTR subKey, LPCWSTR value) {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, subKey, 0, KEY_READ, &key) != ERROR_SUCCESS) {
        return 0xDEADu;
    }
    DWORD data = 0;
    DWORD size = sizeof data;
    LONG rc = RegQueryValueExW(key, value, nullptr, nullptr, reinterpret_cast<LPBYTE>(&data), &size);
    RegCloseKey(key);
    return rc == ERROR_SUCCESS ? data : 0xBEEFu;
}

using AppTest = FrameworkTest;

TEST_F(AppTest, ProfileFunctionsWriteUnderRegistryKeyAndApplication) {
    CWinApp app(u"Doliva");
    app.SetRegistryKey(u"Halvorn");
    EXPECT_EQ(std::u16string(app.m_pszProfileName), u"Doliva");
    app.WriteProfileString(u"Clock", nullptr, nullptr); // a fresh section, also when the test is repeated
    EXPECT_EQ(app.GetProfileInt(u"Clock", u"Mode", 3), 3u);
    ASSERT_TRUE(app.WriteProfileInt(u"Clock", u"Mode", 2));
    ASSERT_TRUE(app.WriteProfileString(u"Clock", u"Zone", u"UTC"));
    EXPECT_EQ(ReadRegDword(u"Software\\Halvorn\\Doliva\\Clock", u"Mode"), 2u);
    EXPECT_EQ(ReadRegString(u"Software\\Halvorn\\Doliva\\Clock", u"Zone"), u"UTC");
    EXPECT_EQ(app.GetProfileInt(u"Clock", u"Mode", 3), 2u);
    EXPECT_EQ(app.GetProfileString(u"Clock", u"Zone"), CString(u"UTC"));
    BYTE bytes[] = {9, 8, 7};
    ASSERT_TRUE(app.WriteProfileBinary(u"Clock", u"Blob", bytes, 3));
    LPBYTE data = nullptr;
    UINT size = 0;
    ASSERT_TRUE(app.GetProfileBinary(u"Clock", u"Blob", &data, &size));
    EXPECT_EQ(std::vector<BYTE>(data, data + size), std::vector<BYTE>(bytes, bytes + 3));
    delete[] data;
    HKEY section = app.GetSectionKey(u"Clock");
    EXPECT_NE(section, nullptr);
    RegCloseKey(section);
}

TEST_F(AppTest, RecentFileListKeepsMostRecentFirstAndPersists) {
    {
        CWinApp app(u"Doliva");
        app.SetRegistryKey(u"Halvorn");
        app.LoadStdProfileSettings(3);
        ASSERT_NE(app.m_pRecentFileList, nullptr);
        app.AddToRecentFileList(u"/data/a.pex");
        app.AddToRecentFileList(u"/data/b.pex");
        app.AddToRecentFileList(u"/data/c.pex");
        app.AddToRecentFileList(u"/DATA/A.PEX"); // the same file again moves up
        app.AddToRecentFileList(u"/data/d.pex"); // pushes the oldest out
        CRecentFileList& list = *app.m_pRecentFileList;
        EXPECT_EQ(list[0], CString(u"/data/d.pex"));
        EXPECT_EQ(list[1], CString(u"/DATA/A.PEX"));
        EXPECT_EQ(list[2], CString(u"/data/c.pex"));
        app.SaveStdProfileSettings();
    }
    EXPECT_EQ(ReadRegString(u"Software\\Halvorn\\Doliva\\Recent File List", u"File1"), u"/data/d.pex");
    EXPECT_EQ(ReadRegString(u"Software\\Halvorn\\Doliva\\Recent File List", u"File3"), u"/data/c.pex");
    CWinApp again(u"Doliva");
    again.SetRegistryKey(u"Halvorn");
    again.LoadStdProfileSettings(4);
    EXPECT_EQ((*again.m_pRecentFileList)[1], CString(u"/DATA/A.PEX"));
    EXPECT_TRUE((*again.m_pRecentFileList)[3].IsEmpty());
}

TEST_F(AppTest, CommandLineSelectsTheShellCommand) {
    struct Case {
        std::vector<const char*> args;
        int command;
        const char16_t* file;
    };
    const Case cases[] = {
        {{"prog"}, CCommandLineInfo::FileNew, u""},
        {{"prog", "/home/user/log.pex"}, CCommandLineInfo::FileOpen, u"/home/user/log.pex"},
        {{"prog", "-p", "x.pex"}, CCommandLineInfo::FilePrint, u"x.pex"},
        {{"prog", "/Unregister"}, CCommandLineInfo::AppUnregister, u""},
    };
    for (const Case& c : cases) {
        CWinApp app(u"Doliva");
        std::vector<char*> argv;
        for (const char* a : c.args) {
            argv.push_back(const_cast<char*>(a));
        }
        ASSERT_TRUE(AfxWinInit(static_cast<int>(argv.size()), argv.data()));
        CCommandLineInfo info;
        app.ParseCommandLine(info);
        EXPECT_EQ(static_cast<int>(info.m_nShellCommand), c.command);
        EXPECT_EQ(info.m_strFileName, CString(c.file));
    }
}

TEST_F(AppTest, WinInitNamesTheProgramFromItsModule) {
    CWinApp app;
    char arg0[] = "ignored";
    char* argv[] = {arg0};
    ASSERT_TRUE(AfxWinInit(1, argv));
    ASSERT_NE(app.m_pszExeName, nullptr);
    EXPECT_EQ(std::u16string(app.m_pszExeName), u"test_platform_framework");
    EXPECT_EQ(std::u16string(app.m_pszAppName), u"test_platform_framework");
    std::u16string help(app.m_pszHelpFilePath);
    EXPECT_EQ(help.substr(help.size() - 28), u"/test_platform_framework.HLP");
    EXPECT_EQ(AfxGetApp(), &app);
    EXPECT_EQ(AfxGetThread(), &app);
}

TEST_F(AppTest, ModuleFileNameTruncatesIntoSmallBuffers) {
    WCHAR full[4096];
    DWORD length = GetModuleFileNameW(nullptr, full, 4096);
    ASSERT_GT(length, 0u);
    EXPECT_EQ(full[0], u'/');
    WCHAR small[5];
    SetLastError(0);
    EXPECT_EQ(GetModuleFileNameW(nullptr, small, 5), 5u);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER));
    EXPECT_EQ(std::u16string(small), std::u16string(full, 4));
    EXPECT_EQ(GetModuleHandleW(nullptr), AfxGetInstanceHandle());
    EXPECT_EQ(GetModuleHandleW(u"other.dll"), nullptr);
}

class ExitingApp : public CWinApp {
public:
    BOOL InitInstance() override { return FALSE; }
    int ExitInstance() override { return 17; }
};

TEST_F(AppTest, WinMainAnswersExitInstanceWhenInitInstanceFails) {
    ExitingApp app;
    char arg0[] = "prog";
    char* argv[] = {arg0};
    EXPECT_EQ(AfxWinMain(1, argv), 17);
}

UINT WorkerProc(LPVOID param) {
    static_cast<std::atomic<int>*>(param)->store(1);
    return 42;
}

TEST_F(AppTest, WorkerThreadRunsAndCanBeJoined) {
    std::atomic<int> ran{0};
    CWinThread* thread = AfxBeginThread(&WorkerProc, &ran, THREAD_PRIORITY_NORMAL, 0, CREATE_SUSPENDED);
    ASSERT_NE(thread, nullptr);
    thread->m_bAutoDelete = FALSE;
    EXPECT_EQ(::WaitForSingleObject(thread->m_hThread, 50), static_cast<DWORD>(WAIT_TIMEOUT));
    EXPECT_EQ(ran.load(), 0);
    thread->ResumeThread();
    ASSERT_EQ(::WaitForSingleObject(thread->m_hThread, 10000), static_cast<DWORD>(WAIT_OBJECT_0));
    DWORD code = 0;
    ASSERT_TRUE(::GetExitCodeThread(thread->m_hThread, &code));
    EXPECT_EQ(code, 42u);
    EXPECT_EQ(ran.load(), 1);
    delete thread;
}

#define WM_TEST_THREAD (WM_APP + 1)

class UiThread : public CWinThread {
    DECLARE_DYNCREATE(UiThread)

public:
    static std::atomic<int> received;
    static std::atomic<bool> idled;
    BOOL InitInstance() override { return TRUE; }
    int ExitInstance() override { return 5 + CWinThread::ExitInstance(); }
    BOOL OnIdle(LONG count) override {
        idled = true;
        return CWinThread::OnIdle(count);
    }
    void OnTestMessage(WPARAM w, LPARAM) {
        received += static_cast<int>(w);
        ::PostQuitMessage(3);
    }
    DECLARE_MESSAGE_MAP()
};

std::atomic<int> UiThread::received{0};
std::atomic<bool> UiThread::idled{false};
IMPLEMENT_DYNCREATE(UiThread, CWinThread)

BEGIN_MESSAGE_MAP(UiThread, CWinThread)
ON_THREAD_MESSAGE(WM_TEST_THREAD, OnTestMessage)
END_MESSAGE_MAP()

TEST_F(AppTest, UserInterfaceThreadDispatchesThreadMessagesUntilQuit) {
    UiThread::received = 0;
    UiThread::idled = false;
    CWinThread* thread = AfxBeginThread(RUNTIME_CLASS(UiThread), THREAD_PRIORITY_NORMAL, 0, CREATE_SUSPENDED);
    ASSERT_NE(thread, nullptr);
    thread->m_bAutoDelete = FALSE;
    thread->ResumeThread();
    // An empty queue makes the thread idle; a message posted before that would be taken first.
    for (int i = 0; i < 2000 && !UiThread::idled.load(); ++i) {
        ::Sleep(5);
    }
    // The thread's queue exists once it looks at it; keep posting until the message is taken.
    for (int i = 0; i < 1000 && !thread->PostThreadMessageW(WM_TEST_THREAD, 4, 0); ++i) {
        ::Sleep(5);
    }
    ASSERT_EQ(::WaitForSingleObject(thread->m_hThread, 10000), static_cast<DWORD>(WAIT_OBJECT_0));
    DWORD code = 0;
    ASSERT_TRUE(::GetExitCodeThread(thread->m_hThread, &code));
    EXPECT_EQ(code, 8u); // ExitInstance: 5 + the WM_QUIT code 3
    EXPECT_EQ(UiThread::received.load(), 4);
    EXPECT_TRUE(UiThread::idled.load());
    delete thread;
}

} // namespace
