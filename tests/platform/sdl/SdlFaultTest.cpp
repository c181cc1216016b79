// What the SDL backend meets on a real X server, each case in a child (this binary again, on one test) so
// that a process that dies or hangs is seen as such: pop-ups and menus made and destroyed by the hundred
// while another thread keeps presenting a screenful, and an X server that goes away under the program.
#include "platform/display/MenuApi.h"
#include "platform/display/MessageBox.h"
#include "platform/display/User.h"
#include "platform/gdi/Gdi.h"
#include "platform/kernel/Threads.h"
#include "platform/sdl/DisplaySelect.h"
#include "platform/sdl/SdlDisplayBackend.h"
#include "support/ChildProcess.h"
#include "support/ScreenshotChild.h"
#include "support/TestSupport.h"
#include "tests/platform/sdl/SdlTestLoop.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <thread>
#include <vector>

namespace {

using namespace std::chrono_literals;

// Holds the name of the one case a child runs.
constexpr char kChildVariable[] = "DOLIVA_SDL_FAULT_CHILD";

// In the parent: runs SdlFaultChild.<name> in a child and waits for it. Answers what it wrote on standard
// error; a failure when it did not pass or still ran after the time-out.
std::string RunChild(const std::string& name, std::chrono::seconds timeout) {
    testsupport::ChildProcess child({"/proc/self/exe", "--gtest_filter=SdlFaultChild." + name},
                                    {std::string(kChildVariable) + "=" + name},
                                    testsupport::ScratchDir() / ("sdl-fault-" + name));
    EXPECT_TRUE(child.Started());
    const int status = child.Wait(timeout);
    EXPECT_EQ(status, 0) << (status == -1 ? "hangs\n" : "ended early\n") << child.Stdout() << child.Stderr();
    EXPECT_NE(child.Stdout().find("[  PASSED  ] 1 test"), std::string::npos) << child.Stdout();
    return child.Stderr();
}

// Skips a parent where no child can run: in a child, or without Xvfb.
#define FAULT_PARENT()                                                                                       \
    do {                                                                                                     \
        if (std::getenv(kChildVariable)) {                                                                   \
            GTEST_SKIP() << "the child runs one case only";                                                  \
        }                                                                                                    \
        if (!testsupport::ToolInstalled("Xvfb")) {                                                           \
            GTEST_SKIP() << "Xvfb is not installed";                                                         \
        }                                                                                                    \
    } while (0)

// Skips a child case unless this process is the child that runs it.
#define FAULT_CHILD(name)                                                                                    \
    do {                                                                                                     \
        const char* which = std::getenv(kChildVariable);                                                     \
        if (!which || std::strcmp(which, name) != 0) {                                                       \
            GTEST_SKIP() << "runs as the child of SdlFault";                                                 \
        }                                                                                                    \
    } while (0)

LRESULT CALLBACK PlainProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}

const WCHAR* PlainClass() {
    static const WCHAR* name = sdltest::WhiteClass(u"SdlFaultPlain", PlainProc);
    return name;
}

using sdltest::PumpPending;
using sdltest::PumpUntil;

void Paint(HWND hwnd, COLORREF colour, const RECT& area) {
    HDC dc = GetDC(hwnd);
    HBRUSH brush = CreateSolidBrush(colour);
    FillRect(dc, &area, brush);
    DeleteObject(brush);
    ReleaseDC(hwnd, dc);
    DisplayFlush();
}

// A pop-up shown, drawn, presented and destroyed at once.
void FlashPopup(int x, int y) {
    HWND popup = CreateWindowExW(WS_EX_TOOLWINDOW, PlainClass(), u"", WS_POPUP | WS_BORDER | WS_VISIBLE, x, y,
                                 110, 70, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(popup, nullptr);
    UpdateWindow(popup);
    DisplayFlush();
    DestroyWindow(popup);
    PumpPending();
}

TEST(SdlFault, PopupsAndMenusComeAndGoWhileAnotherThreadPresents) {
    FAULT_PARENT();
    const std::string errors = RunChild("Rounds", 120s);
    EXPECT_EQ(errors.find("X error"), std::string::npos) << errors;
}

TEST(SdlFaultChild, Rounds) {
    FAULT_CHILD("Rounds");
    SdlDisplayBackend* backend = testsupport::OpenPrivateSdlDisplay();
    ASSERT_NE(backend, nullptr);

    // The presenting thread: a window over the whole screen, repainted and presented as fast as it goes, so
    // that the X server is busy with its pictures while the others come and go.
    std::atomic<bool> stop{false};
    std::atomic<int> presents{0};
    std::thread presenter([&] {
        HWND w = CreateWindowExW(WS_EX_NOACTIVATE | WS_EX_TOOLWINDOW, PlainClass(), u"",
                                 WS_POPUP | WS_VISIBLE, 0, 0, 800, 600, nullptr, nullptr, nullptr, nullptr);
        for (int i = 0; !stop; ++i) {
            Paint(w, RGB(i & 0xFF, 0x80, 0x40), RECT{0, 0, 800, 600});
            PumpPending();
            ++presents;
        }
        DestroyWindow(w);
    });
    // Pop-ups of three more threads.
    std::vector<std::thread> makers;
    for (int t = 0; t < 3; ++t) {
        makers.emplace_back([t] {
            for (int round = 0; round < 400; ++round) {
                FlashPopup(100 + t * 150, 400);
            }
        });
    }
    // Pop-ups and menus of this one; each menu dismissed with Escape, as a person does it.
    HWND owner = CreateWindowExW(0, PlainClass(), u"Owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 40, 40, 400,
                                 300, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(owner, nullptr);
    HMENU menu = CreatePopupMenu();
    AppendMenuW(menu, MF_STRING, 101, u"&Open");
    AppendMenuW(menu, MF_STRING, 102, u"&Save");
    AppendMenuW(menu, MF_STRING, 103, u"E&xit");
    for (int round = 0; round < 300; ++round) {
        FlashPopup(60 + round % 50, 80);
        PostMessageW(owner, WM_KEYDOWN, VK_ESCAPE, 0);
        EXPECT_EQ(TrackPopupMenu(menu, TPM_RETURNCMD, 100, 100, 0, owner, nullptr), 0);
        PumpPending();
    }
    for (std::thread& maker : makers) {
        maker.join();
    }
    stop = true;
    presenter.join();
    EXPECT_GT(presents.load(), 0);

    // The display thread still carries out what it is asked.
    EXPECT_NE(backend->NativeWindowId(owner), 0u);
    DestroyMenu(menu);
    DestroyWindow(owner);
}

TEST(SdlFault, TheXServerGoingAwayIsReportedAndNothingWaitsForIt) {
    FAULT_PARENT();
    const std::string errors = RunChild("LostServer", 60s);
    EXPECT_NE(errors.find("connection to the X server"), std::string::npos) << errors;
}

TEST(SdlFaultChild, LostServer) {
    FAULT_CHILD("LostServer");
    const testsupport::XvfbProcess xvfb = testsupport::LaunchXvfb();
    ASSERT_GE(xvfb.display, 0);
    setenv("DISPLAY", (":" + std::to_string(xvfb.display)).c_str(), 1);
    unsetenv("WAYLAND_DISPLAY");
    unsetenv("DOLIVA_DISPLAY");
    setenv("SDL_VIDEODRIVER", "x11", 1);
    ASSERT_EQ(InitializeDisplay(), DisplayChoice::Sdl);
    auto* backend = dynamic_cast<SdlDisplayBackend*>(&DisplayGetBackend());
    ASSERT_NE(backend, nullptr);
    std::atomic<int> reports{0};
    const DWORD tid = GetCurrentThreadId();
    DisplaySetConnectionLostHandler([&] {
        ++reports;
        PostThreadMessageW(tid, WM_NULL, 0, 0);
    });
    HWND hwnd = CreateWindowExW(0, PlainClass(), u"Lost", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 40, 40, 300, 200,
                                nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(hwnd, nullptr);
    PumpPending();
    ASSERT_TRUE(backend->RunOnDisplayThread([] {}));

    kill(xvfb.pid, SIGTERM);
    waitpid(xvfb.pid, nullptr, 0);
    ASSERT_TRUE(PumpUntil([&] { return reports.load() > 0; }, 20s)) << "the loss was never reported";
    EXPECT_EQ(reports.load(), 1);

    // The display thread takes no more work, and nothing waits for it: asking, drawing, destroying.
    EXPECT_FALSE(backend->RunOnDisplayThread([] {}));
    Paint(hwnd, RGB(0, 0, 255), RECT{0, 0, 100, 100});
    DestroyWindow(hwnd);
    PumpPending();
    // A message box is no longer drawn for a person who cannot see it: it answers its default at once.
    EXPECT_EQ(MessageBoxW(nullptr, u"Still there?", u"Lost", MB_OKCANCEL | MB_DEFBUTTON2), IDCANCEL);
    DisplaySetConnectionLostHandler({});
}

} // namespace
