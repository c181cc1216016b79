// FindWindow across processes: a forked child shows a window; the parent finds it through the per-user
// rendezvous and brings it forward the way the program's second instance does.
#include "DisplayTestSupport.h"

#include "platform/display/Rendezvous.h"
#include "platform/display/RendezvousText.h"
#include "support/ScopedEnvironment.h"
#include "support/TestSupport.h"

#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <string>

using namespace displaytest;

namespace {

LRESULT ChildProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}

// Forks a child that shows a top-level window of class "RendezvousMain" titled `title` (in `scope` when one
// is given), tells the parent through a pipe, and serves messages until killed.
pid_t StartChild(const char16_t* title, const char* scope) {
    int fds[2];
    if (pipe(fds) != 0) {
        return -1;
    }
    pid_t pid = fork();
    if (pid == 0) {
        close(fds[0]);
        if (scope) {
            setenv("DOLIVA_CONFIG_DIR", scope, 1);
        }
        WNDCLASSW wc{};
        wc.lpfnWndProc = ChildProc;
        wc.lpszClassName = u"RendezvousMain";
        RegisterClassW(&wc);
        wc.lpszClassName = u"RendezvousPopup";
        RegisterClassW(&wc);
        HWND main = CreateWindowExW(0, u"RendezvousMain", title, WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10, 10,
                                    300, 200, nullptr, nullptr, nullptr, nullptr);
        // A second, owned window that was active last.
        HWND popup = CreateWindowExW(0, u"RendezvousPopup", u"Popup", WS_POPUP | WS_VISIBLE, 50, 50, 100, 100,
                                     main, nullptr, nullptr, nullptr);
        SetActiveWindow(popup);
        char ok = main ? 'y' : 'n';
        (void)!write(fds[1], &ok, 1);
        close(fds[1]);
        MSG msg{};
        while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
            DispatchMessageW(&msg);
        }
        _exit(0);
    }
    close(fds[1]);
    char ok = 0;
    bool ready = read(fds[0], &ok, 1) == 1 && ok == 'y';
    close(fds[0]);
    if (!ready) {
        kill(pid, SIGKILL);
        waitpid(pid, nullptr, 0);
        return -1;
    }
    return pid;
}

void StopChild(pid_t pid) {
    kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);
}

// Forking needs a process with no other threads yet, so the fixture's clock stays untouched.
TEST(DisplayRendezvous, FindsAndBringsForwardAWindowOfAnotherProcess) {
    pid_t child = StartChild(u"First Instance", nullptr);
    ASSERT_GT(child, 0);
    HWND found = FindWindowW(u"rendezvousmain", nullptr);
    ASSERT_NE(found, nullptr);
    DWORD pid = 0;
    GetWindowThreadProcessId(found, &pid);
    EXPECT_EQ(pid, static_cast<DWORD>(child));
    EXPECT_TRUE(IsWindow(found));
    char16_t title[64]{};
    GetWindowTextW(found, title, 64);
    EXPECT_EQ(std::u16string(title), u"First Instance");
    EXPECT_EQ(FindWindowW(nullptr, u"first instance"), found) << "titles match without regard to case";
    EXPECT_EQ(FindWindowW(u"RendezvousMain", u"Other"), nullptr);

    // What the second instance does: restore if minimised, then bring the last active popup forward.
    EXPECT_FALSE(IsIconic(found));
    ShowWindow(found, SW_MINIMIZE);
    EXPECT_TRUE(IsIconic(found));
    ShowWindow(found, SW_RESTORE);
    EXPECT_FALSE(IsIconic(found));
    HWND popup = GetLastActivePopup(found);
    ASSERT_NE(popup, nullptr);
    EXPECT_NE(popup, found);
    char16_t popupTitle[64]{};
    GetWindowTextW(popup, popupTitle, 64);
    EXPECT_EQ(std::u16string(popupTitle), u"Popup");
    EXPECT_TRUE(SetForegroundWindow(popup));

    // Once the process is gone its windows are too, and its entry is cleaned away.
    StopChild(child);
    EXPECT_FALSE(IsWindow(found));
    EXPECT_EQ(FindWindowW(u"RendezvousMain", nullptr), nullptr);
    std::string dir = std::string(std::getenv("XDG_RUNTIME_DIR"));
    int leftovers = 0;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(dir)) {
        if (entry.path().filename().string().rfind(std::to_string(child), 0) == 0) {
            ++leftovers;
        }
    }
    EXPECT_EQ(leftovers, 0);
}

TEST(DisplayRendezvous, SeparateScopesDoNotSeeEachOther) {
    std::string other = (testsupport::ScratchDir() / "other-scope").string();
    pid_t child = StartChild(u"Scoped", other.c_str());
    ASSERT_GT(child, 0);
    EXPECT_EQ(FindWindowW(u"RendezvousMain", nullptr), nullptr);
    std::string mine = std::getenv("DOLIVA_CONFIG_DIR") ? std::getenv("DOLIVA_CONFIG_DIR") : "";
    setenv("DOLIVA_CONFIG_DIR", other.c_str(), 1);
    EXPECT_NE(FindWindowW(u"RendezvousMain", nullptr), nullptr);
    if (mine.empty()) {
        unsetenv("DOLIVA_CONFIG_DIR");
    } else {
        setenv("DOLIVA_CONFIG_DIR", mine.c_str(), 1);
    }
    StopChild(child);
}

namespace fs = std::filesystem;

fs::path FreshDir(const std::string& name) {
    fs::path dir = testsupport::ScratchDir() / name;
    fs::remove_all(dir);
    fs::create_directories(dir);
    return dir;
}

unsigned Mode(const fs::path& path) {
    struct stat st {};
    lstat(path.c_str(), &st);
    return st.st_mode & 07777;
}

// Anyone may make a directory in /tmp first: only one that is this user's own, and no one else's to enter,
// is used. Another owner is given as the expected owner, which works whoever runs the test.
TEST(DisplayRendezvous, APrivateDirectoryIsThisUsersAloneAndNeverALink) {
    const fs::path dir = FreshDir("private");
    fs::create_directory(dir / "open");
    chmod((dir / "open").c_str(), 0777);
    fs::create_directory(dir / "group");
    chmod((dir / "group").c_str(), 0750);
    fs::create_directory(dir / "mine");
    chmod((dir / "mine").c_str(), 0700);
    fs::create_directory_symlink(dir / "mine", dir / "link");
    std::ofstream(dir / "file") << "x";
    const uid_t me = geteuid();
    const struct {
        std::string name;
        uid_t owner;
        std::string problem; // empty: fit
    } cases[] = {
        {"missing", me, ""},
        {"mine", me, ""},
        {"open", me, "can be reached by other users (mode 0777)"},
        {"group", me, "can be reached by other users (mode 0750)"},
        {"link", me, "is a symbolic link"},
        {"file", me, "is not a directory"},
        {"mine", me + 1, "belongs to another user (uid " + std::to_string(me) + ")"},
        {"absent/below", me, "cannot be created"},
    };
    for (const auto& c : cases) {
        const std::string path = (dir / c.name).string();
        const std::string problem = DisplayPrivateDirectoryProblem(path, c.owner);
        if (c.problem.empty()) {
            EXPECT_EQ(problem, "") << c.name;
            EXPECT_EQ(Mode(path), 0700u) << c.name;
        } else {
            EXPECT_EQ(problem.rfind(path + " ", 0), 0u) << "names the directory: " << problem;
            EXPECT_NE(problem.find(c.problem), std::string::npos) << problem;
        }
    }
    EXPECT_EQ(Mode(dir / "open"), 0777u) << "a refused directory is left as it is";
}

// Without XDG_RUNTIME_DIR (or with one naming a directory that is gone) the directory lies in the temporary
// folder; one made there by someone else is refused, and nothing planted in it is seen.
TEST(DisplayRendezvous, ARuntimeDirectoryMadeFirstBySomeoneElseIsRefused) {
    const fs::path tmp = FreshDir("tmpdir");
    testsupport::ScopedEnv runtime("XDG_RUNTIME_DIR", (tmp / "gone").string());
    testsupport::ScopedEnv tmpdir("TMPDIR", tmp.string());
    const fs::path base = tmp / ("doliva-runtime-" + std::to_string(geteuid()));

    std::string problem = "unset";
    const std::string dir = DisplayRuntimeDirectory(&problem);
    EXPECT_EQ(problem, "");
    ASSERT_EQ(fs::path(dir).parent_path(), base);
    EXPECT_EQ(Mode(base), 0700u);
    EXPECT_EQ(Mode(dir), 0700u);

    // Planted: an open directory with the window list of a live process (this test's parent).
    fs::remove_all(base);
    fs::create_directories(dir);
    chmod(base.c_str(), 0777);
    std::ofstream(fs::path(dir) / (std::to_string(getppid()) + ".windows"))
        << FormatWindowList({static_cast<int>(getppid()), "", {{0x10, true, false, u"Planted", u"Fake"}}});
    EXPECT_EQ(DisplayRuntimeDirectory(&problem), "");
    EXPECT_NE(problem.find(base.string() + " can be reached by other users"), std::string::npos) << problem;
    EXPECT_EQ(FindWindowW(u"Planted", nullptr), nullptr);
    ExclusiveFileLock lock;
    EXPECT_EQ(DisplayClaimInstance(u"Program", lock, &problem), InstanceClaim::kRefused);
    EXPECT_NE(problem.find(base.string()), std::string::npos) << problem;
    EXPECT_FALSE(lock.Held());
}

// A window list whose process is gone and whose id another user's process has taken since is stale, not a
// window to find (as root the child drops to another user and names its parent; otherwise it names init).
TEST(DisplayRendezvous, AListWhoseProcessIdBelongsToAnotherUserIsStale) {
    fflush(nullptr);
    const pid_t parent = getpid();
    const pid_t child = fork();
    if (child == 0) {
        pid_t other = 1;
        if (geteuid() == 0) {
            other = parent;
            if (setgid(65534) != 0 || setuid(65534) != 0) {
                _exit(2);
            }
        }
        char tmpl[] = "/tmp/doliva-stale.XXXXXX";
        if (!mkdtemp(tmpl)) {
            _exit(3);
        }
        setenv("XDG_RUNTIME_DIR", tmpl, 1);
        const std::string dir = DisplayRuntimeDirectory();
        const std::string list = dir + "/" + std::to_string(other) + ".windows";
        std::ofstream(list) << FormatWindowList(
            {static_cast<int>(other), "", {{0x10, true, false, u"Stale", u""}}});
        const bool found = FindWindowW(u"Stale", nullptr) != nullptr;
        const bool kept = access(list.c_str(), F_OK) == 0;
        fs::remove_all(tmpl);
        _exit(found ? 4 : kept ? 5 : 0);
    }
    int status = -1;
    waitpid(child, &status, 0);
    EXPECT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0) << "2, 3: set-up; 4: found; 5: not cleaned away";
}

// The lock goes with the claim, not the process: a second claim of the same program waits for the first.
TEST(DisplayRendezvous, OneRunningCopyOfAProgramAtATime) {
    ExclusiveFileLock first, second, other;
    std::string problem;
    EXPECT_EQ(DisplayClaimInstance(u"Program", first, &problem), InstanceClaim::kClaimed) << problem;
    EXPECT_EQ(DisplayClaimInstance(u"Program", second, &problem), InstanceClaim::kRunning);
    EXPECT_FALSE(second.Held());
    EXPECT_EQ(DisplayClaimInstance(u"Other", other, &problem), InstanceClaim::kClaimed);
    first.Release();
    EXPECT_EQ(DisplayClaimInstance(u"Program", second, &problem), InstanceClaim::kClaimed);
}

// What other processes write is read strictly: an id that is no process, a header or line that is not one,
// a request for a command that does not exist. What is accepted writes back the same.
TEST(DisplayRendezvous, WindowListsAndRequestsReadOnlyWhatFits) {
    const RendezvousWindowList list{
        4242,
        "12345",
        {{0xabc, true, true, u"Cls\\tab\t", u"T\u00EFtle\nline\r"}, {0x1, false, false, u"", u""}}};
    const std::string text = FormatWindowList(list);
    RendezvousWindowList read;
    ASSERT_TRUE(ParseWindowList(text, &read));
    EXPECT_EQ(read, list);
    ASSERT_TRUE(ParseWindowList(text + "junk\nzz\tv-\ta\tb\n1\tv-\ta\n", &read));
    EXPECT_EQ(read.windows.size(), 2u) << "lines that are not windows are skipped";
    for (const char* bad :
         {"doliva-windows 1 0 x\n", "doliva-windows 1 -5 x\n", "doliva-windows 1 2147483648\n",
          "doliva-windows 2 42 x\n", "doliva-windows 1 42 x y\n", "other 1 42\n", ""}) {
        EXPECT_FALSE(ParseWindowList(bad, &read)) << bad;
    }
    EXPECT_FALSE(ParseWindowList("doliva-windows 1 42\n" + std::string(kMaxWindowListBytes, 'x'), &read));

    const struct {
        const char* line;
        bool ok;
    } requests[] = {
        {"iconic 1f", true},
        {"show 1f 9", true},
        {"show 1f 11", true},
        {"show 1f 12", false},
        {"show 1f -1", false},
        {"show 1f", false},
        {"popup 1f 3", false},
        {"raise 1f", false},
        {"iconic", false},
        {"iconic 1g", false},
        {"iconic 12345678901234567", false},
        {"", false},
    };
    for (const auto& r : requests) {
        RendezvousRequest request;
        EXPECT_EQ(ParseRequest(r.line, &request), r.ok) << r.line;
        if (r.ok) {
            EXPECT_EQ(FormatRequest(request), r.line);
        }
    }
}

} // namespace
