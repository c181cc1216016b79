// The main window as a person sees it: the program on a private X server, running against the simulated
// receiver until the clock has been set, then a screenshot of the screen written as a PNG
// (DOLIVA_MAIN_KEEP_SCREENSHOT=path keeps a copy).
#include "support/ScreenshotChild.h"
#include "tests/app/slow/EndToEndSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>

namespace {

using namespace endtoend;

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
    const COLORREF rootBlack = RGB(0, 0, 0);
    int left = screen.Width(), top = screen.Height(), right = -1, bottom = -1;
    std::set<COLORREF> colours;
    for (int y = 0; y < screen.Height(); ++y) {
        for (int x = 0; x < screen.Width(); ++x) {
            if (const COLORREF c = screen.At(x, y); c != rootBlack) {
                left = std::min(left, x);
                right = std::max(right, x);
                top = std::min(top, y);
                bottom = std::max(bottom, y);
                colours.insert(c);
            }
        }
    }
    ASSERT_GT(right - left, 400) << "no window on the screen";
    ASSERT_GT(bottom - top, 300);
    const RECT window{left, top, right + 1, bottom + 1};
    const long white = screen.Count(window, RGB(255, 255, 255));
    const long black = screen.Count(window, rootBlack);
    const long area = static_cast<long>(right - left + 1) * (bottom - top + 1);
    EXPECT_GT(white, area / 2) << "the view's white background";
    EXPECT_GT(black, area / 50) << "the clock's digits";
    EXPECT_GE(colours.size(), 6u) << "the toolbar's bitmaps and the status panes";
    program.Stop();
}

} // namespace
