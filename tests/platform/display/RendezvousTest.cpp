// FindWindow across processes: a forked child shows a window; the parent finds it through the per-user
// rendezvous and brings it forward the way the program's second instance does.
#include "DisplayTestSupport.h"

#include "support/TestSupport.h"

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
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

} // namespace
