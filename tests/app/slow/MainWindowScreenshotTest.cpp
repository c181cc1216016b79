// The main window as a person sees it: the program on a private X server, running against the simulated
// receiver until the clock has been set, then a screenshot of the screen written as a PNG
// (DOLIVA_MAIN_KEEP_SCREENSHOT=path keeps a copy); and the window while it searches for a receiver on a port
// where none answers.
#include "support/ScreenshotChild.h"
#include "tests/app/slow/EndToEndSupport.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>

#include <algorithm>
#include <set>

namespace {

using namespace endtoend;

const COLORREF kRootBlack = RGB(0, 0, 0);
// The form's face colour, behind its texts and around the grid.
const COLORREF kFormFace = RGB(192, 192, 192);

// The part of the screen that is not the root's black: the program's window; empty when there is none.
RECT WindowOnScreen(const testsupport::Picture& screen) {
    int left = screen.Width(), top = screen.Height(), right = -1, bottom = -1;
    for (int y = 0; y < screen.Height(); ++y) {
        for (int x = 0; x < screen.Width(); ++x) {
            if (screen.At(x, y) != kRootBlack) {
                left = std::min(left, x);
                right = std::max(right, x);
                top = std::min(top, y);
                bottom = std::max(bottom, y);
            }
        }
    }
    return right < 0 ? RECT{} : RECT{left, top, right + 1, bottom + 1};
}

// A pseudo-terminal that no receiver answers on: the program gets its other end as COM1.
class SilentPort {
public:
    SilentPort() : m_master(posix_openpt(O_RDWR | O_NOCTTY)) {
        if (m_master >= 0 && grantpt(m_master) == 0 && unlockpt(m_master) == 0) {
            if (const char* name = ptsname(m_master)) {
                m_device = name;
            }
        }
    }
    ~SilentPort() {
        if (m_master >= 0) {
            close(m_master);
        }
    }
    SilentPort(const SilentPort&) = delete;
    SilentPort& operator=(const SilentPort&) = delete;
    const std::string& Device() const { return m_device; }

private:
    int m_master = -1;
    std::string m_device;
};

TEST(MainWindowScreenshot, ClockPanesAndToolbarOnAPrivateXServer) {
    if (!testsupport::ToolInstalled("Xvfb") || !testsupport::ToolInstalled("xwd")) {
        GTEST_SKIP() << "Xvfb or xwd is not installed";
    }
    const fs::path dir = testsupport::ScratchDir() / "main-window";
    fs::create_directories(dir);
    const fs::path config = dir / "settings";
    const fs::path clockFile = dir / "clock.log";
    WriteSettings(config, "Motorola Binary", 4);

    const testsupport::PrivateXServer xvfb("1024x768x24");
    ASSERT_GE(xvfb.Display(), 0) << "Xvfb did not start";
    const std::string display = xvfb.Name();

    Simulator sim({"--protocol", "oncore", "--channels", "12", "--rate", "9600", "--offset", "2.75"}, dir);
    ASSERT_FALSE(sim.Address().empty()) << sim.Log();
    std::vector<std::string> env = ProgramEnvironment(config, sim.Address(), clockFile);
    env.insert(env.end(),
               {"DISPLAY=" + display, "SDL_VIDEODRIVER=x11", "DOLIVA_DISPLAY=", "WAYLAND_DISPLAY="});
    ChildProcess program({ProgramPath(), "-noservice"}, env, dir / "program");
    ASSERT_TRUE(program.Started());

    // The clock set twice: the receiver is running and the panes have had a second to show it.
    const auto end = std::chrono::steady_clock::now() + 45s;
    while (ReadClockSteps(clockFile).size() < 3 && program.Running() &&
           std::chrono::steady_clock::now() < end) {
        std::this_thread::sleep_for(200ms);
    }
    ASSERT_GE(ReadClockSteps(clockFile).size(), 3u) << program.Stderr();
    std::this_thread::sleep_for(500ms);

    const testsupport::Picture screen = testsupport::ShootScreen(dir, display);
    ASSERT_TRUE(screen.Valid());
    const fs::path png = dir / "main-window.png";
    ASSERT_TRUE(screen.WritePng(png));
    if (const char* keep = std::getenv("DOLIVA_MAIN_KEEP_SCREENSHOT")) {
        fs::copy_file(png, keep, fs::copy_options::overwrite_existing);
    }

    // The window, found as the part of the screen that is not the root's black: a frame of a sensible size
    // whose view is mostly white with the clock's large black digits on it, and the toolbar's and the
    // panes' colours besides.
    const RECT window = WindowOnScreen(screen);
    ASSERT_GT(window.right - window.left, 400) << "no window on the screen";
    ASSERT_GT(window.bottom - window.top, 300);
    std::set<COLORREF> colours;
    for (int y = window.top; y < window.bottom; ++y) {
        for (int x = window.left; x < window.right; ++x) {
            colours.insert(screen.At(x, y));
        }
    }
    const long face = screen.Count(window, kFormFace);
    const long black = screen.Count(window, kRootBlack);
    const long area = static_cast<long>(window.right - window.left) * (window.bottom - window.top);
    EXPECT_GT(face, area / 3) << "the form's face";
    EXPECT_GT(black, area / 50) << "the clock's digits";
    EXPECT_GE(colours.size(), 6u) << "the toolbar's bitmaps and the status panes";
    program.Stop();
}

// Against a port where no receiver answers, the program searches for one for well over ten seconds. The
// window is drawn within the search's first seconds (about one on an idle machine; the test allows eight,
// for a loaded one, which is still well inside the search) and a second later still: the frame and the form
// with its captions and the empty grid.
TEST(MainWindowScreenshot, DrawnWhileTheReceiverIsSearchedOnASilentPort) {
    if (!testsupport::ToolInstalled("Xvfb") || !testsupport::ToolInstalled("xwd")) {
        GTEST_SKIP() << "Xvfb or xwd is not installed";
    }
    const fs::path dir = testsupport::ScratchDir() / "main-window-search";
    fs::create_directories(dir);
    const fs::path config = dir / "settings";
    WriteSettings(config, "Search", 4);
    const SilentPort port;
    ASSERT_FALSE(port.Device().empty()) << "no pseudo-terminal";

    const testsupport::PrivateXServer xvfb("1024x768x24");
    ASSERT_GE(xvfb.Display(), 0) << "Xvfb did not start";
    std::vector<std::string> env = ProgramEnvironment(config, port.Device(), dir / "clock.log");
    env.insert(env.end(),
               {"DISPLAY=" + xvfb.Name(), "SDL_VIDEODRIVER=x11", "DOLIVA_DISPLAY=", "WAYLAND_DISPLAY="});
    const auto start = std::chrono::steady_clock::now();
    ChildProcess program({ProgramPath(), "-noservice"}, env, dir / "program");
    ASSERT_TRUE(program.Started());

    const auto shoot = [&](const char* name) {
        const fs::path shotDir = dir / name;
        fs::create_directories(shotDir);
        testsupport::Picture screen = testsupport::ShootScreen(shotDir, xvfb.Name());
        EXPECT_TRUE(screen.Valid() && screen.WritePng(shotDir / "screen.png")) << name;
        return screen;
    };
    testsupport::Picture first = shoot("first");
    while (WindowOnScreen(first).right - WindowOnScreen(first).left <= 400 &&
           std::chrono::steady_clock::now() - start < std::chrono::seconds(8) && program.Running()) {
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
        first = shoot("first");
    }
    ASSERT_TRUE(program.Running()) << program.Stderr();
    std::this_thread::sleep_for(std::chrono::seconds(1));
    ASSERT_TRUE(program.Running()) << program.Stderr();
    const testsupport::Picture later = shoot("later");
    for (const auto& [screen, second] :
         {std::pair<const testsupport::Picture*, const char*>{&first, "first"}, {&later, "a second later"}}) {
        ASSERT_TRUE(screen->Valid());

        const RECT window = WindowOnScreen(*screen);
        ASSERT_GT(window.right - window.left, 400) << "no window drawn, " << second;
        ASSERT_GT(window.bottom - window.top, 300);
        const long area = static_cast<long>(window.right - window.left) * (window.bottom - window.top);
        EXPECT_GT(screen->Count(window, kFormFace), area / 2) << "the form, " << second;
        EXPECT_GT(screen->Count(window, kRootBlack), area / 200) << "the menu and form texts, " << second;
    }
    program.Stop();
}

} // namespace
