// ShellExecute through a recording launcher, the socket library calls and priority classes.

#include "SystemTestSupport.h"

#include "platform/base/CodePage.h"

#include <cerrno>
#include <csignal>
#include <vector>

#include <fcntl.h>
#include <sys/socket.h>

using namespace system_test;

namespace {

class ShellExecuteTest : public ::testing::Test {
protected:
    ShellExecuteTest() {
        SetShellLauncher([this](const ShellLaunch& launch) {
            launches.push_back(launch);
            return launchError;
        });
    }
    ~ShellExecuteTest() override { SetShellLauncher({}); }

    static INT_PTR Result(HINSTANCE h) { return reinterpret_cast<INT_PTR>(h); }

    ScratchDir scratch;
    std::vector<ShellLaunch> launches;
    int launchError = 0;
};

} // namespace

TEST_F(ShellExecuteTest, AddressesAndDocumentsGoToXdgOpenAndProgramsRunWithTheirParameters) {
    EXPECT_GT(Result(ShellExecuteW(nullptr, u"open", u"https://example.com/a?b=c", nullptr, nullptr, 1)), 32);
    EXPECT_GT(Result(ShellExecuteW(nullptr, nullptr, u"mailto:someone@example.com", nullptr, nullptr, 1)),
              32);

    WriteWholeFile(scratch / "notes.txt", "x");
    const std::u16string dir = Utf8ToUtf16(scratch.Path());
    EXPECT_GT(Result(ShellExecuteW(nullptr, u"open", u"notes.txt", nullptr, dir.c_str(), 1)), 32);

    WriteWholeFile(scratch / "tool", "#!/bin/sh\n");
    chmod((scratch / "tool").c_str(), 0755);
    EXPECT_GT(Result(ShellExecuteW(nullptr, u"open", u"tool", u"\"two words\" -x", dir.c_str(), 1)), 32);

    ASSERT_EQ(launches.size(), 4u);
    EXPECT_EQ(launches[0].argv, (std::vector<std::string>{"xdg-open", "https://example.com/a?b=c"}));
    EXPECT_EQ(launches[1].argv, (std::vector<std::string>{"xdg-open", "mailto:someone@example.com"}));
    EXPECT_EQ(launches[2].argv, (std::vector<std::string>{"xdg-open", scratch / "notes.txt"}));
    EXPECT_EQ(launches[3].argv, (std::vector<std::string>{scratch / "tool", "two words", "-x"}));
    EXPECT_EQ(launches[3].directory, scratch.Path());
}

TEST_F(ShellExecuteTest, FailuresAnswerTheOriginalsSmallCodes) {
    EXPECT_EQ(Result(ShellExecuteW(nullptr, u"open", u"/no/such/file.txt", nullptr, nullptr, 1)), SE_ERR_FNF);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
    EXPECT_EQ(Result(ShellExecuteW(nullptr, u"open", u"", nullptr, nullptr, 1)), SE_ERR_FNF);
    EXPECT_EQ(Result(ShellExecuteW(nullptr, u"print", u"https://example.com", nullptr, nullptr, 1)),
              SE_ERR_NOASSOC);
    EXPECT_TRUE(launches.empty());

    launchError = ENOENT; // no xdg-open
    EXPECT_EQ(Result(ShellExecuteW(nullptr, u"open", u"https://example.com", nullptr, nullptr, 1)),
              SE_ERR_NOASSOC);
    launchError = EACCES;
    EXPECT_EQ(Result(ShellExecuteW(nullptr, u"open", u"https://example.com", nullptr, nullptr, 1)),
              SE_ERR_ACCESSDENIED);
}

TEST(Sockets, StartupVersionsAndCleanupCounting) {
    struct Case {
        WORD requested;
        int result;
        WORD version;
    };
    const Case cases[] = {
        {MAKEWORD(2, 2), 0, MAKEWORD(2, 2)},
        {MAKEWORD(1, 1), 0, MAKEWORD(1, 1)},
        {MAKEWORD(3, 0), 0, MAKEWORD(2, 2)},
        {MAKEWORD(2, 5), 0, MAKEWORD(2, 2)},
        {MAKEWORD(0, 9), WSAVERNOTSUPPORTED, MAKEWORD(0, 9)},
    };
    int started = 0;
    for (const Case& c : cases) {
        WSADATA data{};
        EXPECT_EQ(WSAStartup(c.requested, &data), c.result) << std::hex << c.requested;
        EXPECT_EQ(data.wVersion, c.version) << std::hex << c.requested;
        EXPECT_EQ(data.wHighVersion, MAKEWORD(2, 2));
        started += c.result == 0 ? 1 : 0;
    }
    EXPECT_EQ(WSAStartup(MAKEWORD(2, 2), nullptr), WSAEFAULT);
    for (int i = 0; i < started; ++i) {
        EXPECT_EQ(WSACleanup(), 0);
    }
    EXPECT_EQ(WSACleanup(), SOCKET_ERROR);
    EXPECT_EQ(WSAGetLastError(), WSANOTINITIALISED);
}

TEST(Sockets, ClosesocketClosesSocketsOnly) {
    int pair[2];
    ASSERT_EQ(socketpair(AF_UNIX, SOCK_STREAM, 0, pair), 0);
    EXPECT_EQ(closesocket(static_cast<SOCKET>(pair[0])), 0);
    EXPECT_EQ(fcntl(pair[0], F_GETFD), -1);
    close(pair[1]);

    int pipeFds[2];
    ASSERT_EQ(pipe(pipeFds), 0);
    EXPECT_EQ(closesocket(static_cast<SOCKET>(pipeFds[0])), SOCKET_ERROR);
    EXPECT_EQ(WSAGetLastError(), WSAENOTSOCK);
    EXPECT_NE(fcntl(pipeFds[0], F_GETFD), -1);
    close(pipeFds[0]);
    close(pipeFds[1]);
    EXPECT_EQ(closesocket(INVALID_SOCKET), SOCKET_ERROR);
}

TEST(Priority, ClassesAreRememberedAndARefusalIsNoError) {
    std::vector<int> asked;
    bool permitted = true;
    SetProcessNiceSetter([&](int nice) {
        asked.push_back(nice);
        return permitted;
    });
    EXPECT_EQ(GetPriorityClass(GetCurrentProcess()), static_cast<DWORD>(NORMAL_PRIORITY_CLASS));
    EXPECT_TRUE(SetPriorityClass(GetCurrentProcess(), HIGH_PRIORITY_CLASS));
    EXPECT_EQ(GetPriorityClass(GetCurrentProcess()), static_cast<DWORD>(HIGH_PRIORITY_CLASS));
    permitted = false;
    EXPECT_TRUE(SetPriorityClass(GetCurrentProcess(), REALTIME_PRIORITY_CLASS));
    EXPECT_EQ(GetPriorityClass(GetCurrentProcess()), static_cast<DWORD>(REALTIME_PRIORITY_CLASS));
    EXPECT_TRUE(SetPriorityClass(GetCurrentProcess(), NORMAL_PRIORITY_CLASS));
    EXPECT_EQ(asked, (std::vector<int>{-10, -20, 0}));

    EXPECT_FALSE(SetPriorityClass(GetCurrentProcess(), 0x12345));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
    EXPECT_FALSE(SetPriorityClass(reinterpret_cast<HANDLE>(0x1234), HIGH_PRIORITY_CLASS));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
    EXPECT_EQ(asked.size(), 3u);
    SetProcessNiceSetter({});
}

// The real launcher, with a harmless program of the test's own: it starts detached and with no signal
// blocked, although this thread blocks the service controls.
TEST(ShellExecuteLaunch, AProgramStartsWithNoSignalBlocked) {
    ScratchDir scratch;
    const std::string out = scratch / "mask";
    WriteWholeFile(scratch / "probe", "#!/bin/sh\ngrep SigBlk /proc/self/status > '" + out + ".tmp' && mv '" +
                                          out + ".tmp' '" + out + "'\n");
    chmod((scratch / "probe").c_str(), 0755);

    sigset_t controls;
    sigemptyset(&controls);
    sigaddset(&controls, SIGTERM);
    sigset_t old;
    pthread_sigmask(SIG_BLOCK, &controls, &old);
    const std::u16string program = Utf8ToUtf16(scratch / "probe");
    const INT_PTR result =
        reinterpret_cast<INT_PTR>(ShellExecuteW(nullptr, u"open", program.c_str(), nullptr, nullptr, 1));
    pthread_sigmask(SIG_SETMASK, &old, nullptr);
    ASSERT_GT(result, 32);

    for (int i = 0; i < 3000 && !Exists(out); ++i) {
        usleep(10'000);
    }
    EXPECT_EQ(ReadWholeFile(out), "SigBlk:\t0000000000000000\n");
}
