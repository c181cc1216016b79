// The main window as a person sees it: the program on a private X server, running against the simulated
// receiver until the clock has been set, then a screenshot of the screen written as a PNG
// (DOLIVA_MAIN_KEEP_SCREENSHOT=path keeps a copy).
#include "support/PrivateXServer.h"
#include "tests/app/slow/EndToEndSupport.h"

#include <cairo.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <iterator>
#include <poll.h>
#include <set>
#include <sys/prctl.h>

namespace {

using namespace endtoend;

std::uint32_t Big32(const unsigned char* p) {
    return (std::uint32_t(p[0]) << 24) | (std::uint32_t(p[1]) << 16) | (std::uint32_t(p[2]) << 8) | p[3];
}

// Reads a TrueColor xwd dump (what a 24-bit Xvfb screen gives) as a cairo surface; null when unreadable.
cairo_surface_t* ReadXwd(const std::string& xwd) {
    std::ifstream in(xwd, std::ios::binary);
    std::vector<unsigned char> data((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (data.size() < 100) {
        return nullptr;
    }
    const unsigned char* h = data.data();
    const std::uint32_t headerSize = Big32(h);
    const int width = static_cast<int>(Big32(h + 16));
    const int height = static_cast<int>(Big32(h + 20));
    const std::uint32_t byteOrder = Big32(h + 28);
    const std::uint32_t bitsPerPixel = Big32(h + 44);
    const std::uint32_t bytesPerLine = Big32(h + 48);
    const std::size_t offset = headerSize + std::size_t(Big32(h + 76)) * 12;
    const std::uint32_t step = bitsPerPixel / 8;
    if ((bitsPerPixel != 24 && bitsPerPixel != 32) ||
        data.size() < offset + std::size_t(bytesPerLine) * height) {
        return nullptr;
    }
    cairo_surface_t* out = cairo_image_surface_create(CAIRO_FORMAT_RGB24, width, height);
    auto* pixels = cairo_image_surface_get_data(out);
    const int stride = cairo_image_surface_get_stride(out);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const unsigned char* p = h + offset + std::size_t(y) * bytesPerLine + std::size_t(x) * step;
            const std::uint32_t v = byteOrder == 0 ? (p[0] | (p[1] << 8) | (std::uint32_t(p[2]) << 16))
                                                   : (step == 4 ? Big32(p) : Big32(p) >> 8);
            std::memcpy(pixels + y * stride + x * 4, &v, 4);
        }
    }
    cairo_surface_mark_dirty(out);
    return out;
}

// A private X server, ended with the test; its display number, or -1.
class Xvfb {
public:
    Xvfb() {
        int fds[2];
        if (pipe(fds) != 0) {
            return;
        }
        m_pid = fork();
        if (m_pid == 0) {
            close(fds[0]);
            prctl(PR_SET_PDEATHSIG, SIGTERM);
            const std::string fd = std::to_string(fds[1]);
            const int devnull = open("/dev/null", O_WRONLY);
            dup2(devnull, 2);
            execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", "1024x768x24", "-nolisten",
                   "tcp", static_cast<char*>(nullptr));
            _exit(127);
        }
        close(fds[1]);
        pollfd p{fds[0], POLLIN, 0};
        std::string number;
        while (poll(&p, 1, 10000) > 0) {
            char c = 0;
            if (read(fds[0], &c, 1) != 1 || c == '\n') {
                break;
            }
            number += c;
        }
        close(fds[0]);
        m_display = number.empty() ? -1 : std::atoi(number.c_str());
    }
    ~Xvfb() {
        if (m_pid > 0) {
            kill(m_pid, SIGTERM);
            waitpid(m_pid, nullptr, 0);
        }
    }
    int Display() const { return m_display; }

private:
    pid_t m_pid = -1;
    int m_display = -1;
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

    Xvfb xvfb;
    ASSERT_GE(xvfb.Display(), 0) << "Xvfb did not start";
    const std::string display = ":" + std::to_string(xvfb.Display());

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

    const fs::path xwd = dir / "screen.xwd";
    const fs::path png = dir / "main-window.png";
    ASSERT_EQ(std::system(("xwd -root -silent -display " + display + " -out '" + xwd.string() + "'").c_str()),
              0);
    cairo_surface_t* screen = ReadXwd(xwd.string());
    ASSERT_NE(screen, nullptr);
    ASSERT_EQ(cairo_surface_write_to_png(screen, png.c_str()), CAIRO_STATUS_SUCCESS);
    if (const char* keep = std::getenv("DOLIVA_MAIN_KEEP_SCREENSHOT")) {
        fs::copy_file(png, keep, fs::copy_options::overwrite_existing);
    }

    // The window, found as the part of the screen that is not the root's black: a frame of a sensible size
    // whose view is mostly white with the clock's large black digits on it, and the toolbar's and the
    // panes' colours besides.
    const int width = cairo_image_surface_get_width(screen);
    const int height = cairo_image_surface_get_height(screen);
    const int stride = cairo_image_surface_get_stride(screen);
    const unsigned char* pixels = cairo_image_surface_get_data(screen);
    auto at = [&](int x, int y) {
        std::uint32_t v = 0;
        std::memcpy(&v, pixels + y * stride + x * 4, 4);
        return v & 0xFFFFFF;
    };
    int left = width, top = height, right = -1, bottom = -1;
    std::set<std::uint32_t> colours;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            if (const std::uint32_t v = at(x, y); v != 0) {
                left = std::min(left, x);
                right = std::max(right, x);
                top = std::min(top, y);
                bottom = std::max(bottom, y);
                colours.insert(v);
            }
        }
    }
    ASSERT_GT(right - left, 400) << "no window on the screen";
    ASSERT_GT(bottom - top, 300);
    long white = 0, black = 0;
    for (int y = top; y <= bottom; ++y) {
        for (int x = left; x <= right; ++x) {
            white += at(x, y) == 0xFFFFFF;
            black += at(x, y) == 0;
        }
    }
    const long area = static_cast<long>(right - left + 1) * (bottom - top + 1);
    cairo_surface_destroy(screen);
    EXPECT_GT(white, area / 2) << "the view's white background";
    EXPECT_GT(black, area / 50) << "the clock's digits";
    EXPECT_GE(colours.size(), 6u) << "the toolbar's bitmaps and the status panes";
    program.Stop();
}

} // namespace
