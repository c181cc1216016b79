// The frame with its toolbar and status bar on a real X server (a private Xvfb): a screenshot shows them.
// Everything runs in a child process, so that the display backend it opens stays out of the other tests.
#include "BarsTestSupport.h"
#include "support/PrivateXServer.h"

#include "platform/display/DisplayBackend.h"
#include "platform/sdl/DisplaySelect.h"
#include "platform/sdl/SdlDisplayBackend.h"

#include <cairo.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>
#include <vector>

using namespace barstest;

namespace {

std::uint32_t Big32(const unsigned char* p) {
    return (std::uint32_t(p[0]) << 24) | (std::uint32_t(p[1]) << 16) | (std::uint32_t(p[2]) << 8) | p[3];
}

struct Shot {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels; // 0x00RRGGBB
    COLORREF At(int x, int y) const {
        std::uint32_t p = pixels[static_cast<std::size_t>(y) * width + x];
        return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
    }
    int Count(const RECT& rc, COLORREF colour) const {
        int n = 0;
        for (int y = std::max(0, static_cast<int>(rc.top)); y < rc.bottom && y < height; ++y) {
            for (int x = std::max(0, static_cast<int>(rc.left)); x < rc.right && x < width; ++x) {
                n += At(x, y) == colour;
            }
        }
        return n;
    }
};

// A TrueColor xwd dump of the root window.
bool ReadXwd(const std::string& path, Shot& shot) {
    std::ifstream in(path, std::ios::binary);
    std::vector<unsigned char> data((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (data.size() < 100) {
        return false;
    }
    const unsigned char* h = data.data();
    std::uint32_t headerSize = Big32(h);
    std::uint32_t width = Big32(h + 16);
    std::uint32_t height = Big32(h + 20);
    std::uint32_t byteOrder = Big32(h + 28);
    std::uint32_t bitsPerPixel = Big32(h + 44);
    std::uint32_t bytesPerLine = Big32(h + 48);
    std::uint32_t colours = Big32(h + 76);
    std::size_t offset = headerSize + std::size_t(colours) * 12;
    std::uint32_t step = bitsPerPixel / 8;
    if ((bitsPerPixel != 24 && bitsPerPixel != 32) || bytesPerLine < width * step ||
        data.size() < offset + std::size_t(bytesPerLine) * height) {
        return false;
    }
    shot.width = static_cast<int>(width);
    shot.height = static_cast<int>(height);
    shot.pixels.resize(std::size_t(width) * height);
    for (std::uint32_t y = 0; y < height; ++y) {
        for (std::uint32_t x = 0; x < width; ++x) {
            const unsigned char* p = h + offset + std::size_t(y) * bytesPerLine + x * step;
            std::uint32_t v = byteOrder == 0 ? (p[0] | (p[1] << 8) | (std::uint32_t(p[2]) << 16))
                                             : (step == 4 ? Big32(p) : Big32(p) >> 8);
            shot.pixels[std::size_t(y) * width + x] = v & 0xFFFFFF;
        }
    }
    return true;
}

void WritePng(const Shot& shot, const RECT& area, const std::string& path) {
    int w = area.right - area.left;
    int h = area.bottom - area.top;
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, w, h);
    unsigned char* data = cairo_image_surface_get_data(surface);
    int stride = cairo_image_surface_get_stride(surface);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            *reinterpret_cast<std::uint32_t*>(data + y * stride + x * 4) =
                shot.pixels[static_cast<std::size_t>(y + area.top) * shot.width + x + area.left];
        }
    }
    cairo_surface_mark_dirty(surface);
    cairo_surface_write_to_png(surface, path.c_str());
    cairo_surface_destroy(surface);
}

void Pump(int milliseconds) {
    auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
    MSG msg;
    while (std::chrono::steady_clock::now() < until) {
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
    }
}

// The child's whole run; its exit code says what went wrong.
int ShowAndShoot(const std::string& dir) {
    int display = testsupport::StartXvfb();
    if (display < 0) {
        return 10;
    }
    setenv("DISPLAY", (":" + std::to_string(display)).c_str(), 1);
    unsetenv("WAYLAND_DISPLAY");
    setenv("SDL_VIDEODRIVER", "x11", 1);
    unsetenv("DOLIVA_DISPLAY");
    if (InitializeDisplay() != DisplayChoice::Sdl) {
        return 11;
    }
    auto* backend = dynamic_cast<SdlDisplayBackend*>(&DisplayGetBackend());
    InstallTestResources();
    CWinApp app(u"BarsScreen");
    auto* frame = new BarFrame;
    if (!frame->Create(nullptr, u"Bars", WS_OVERLAPPEDWINDOW, CRect(60, 40, 660, 440))) {
        return 12;
    }
    app.m_pMainWnd = frame;
    frame->ShowWindow(SW_SHOW);
    Pump(300);
    app.OnIdle(0);
    frame->RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ERASE | RDW_ALLCHILDREN);
    Pump(300);
    DisplayFlush();
    if (backend) {
        backend->RunOnDisplayThread([] {});
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    std::string xwd = dir + "/bars-screen.xwd";
    if (std::system(("xwd -root -silent -out '" + xwd + "'").c_str()) != 0) {
        return 13;
    }
    Shot shot;
    if (!ReadXwd(xwd, shot)) {
        return 14;
    }
    CRect client;
    frame->GetClientRect(&client);
    frame->ClientToScreen(&client);
    WritePng(shot, client, dir + "/bars-screen.png");
    if (const char* keep = std::getenv("DOLIVA_BARS_SCREEN_PNG")) {
        WritePng(shot, client, keep);
    }
    // The New button's black square, the embossed (disabled) Save button, the status bar's face and text.
    CRect newButton;
    frame->m_wndToolBar.GetItemRect(0, &newButton);
    frame->m_wndToolBar.ClientToScreen(&newButton);
    CRect saveButton;
    frame->m_wndToolBar.GetItemRect(1, &saveButton);
    frame->m_wndToolBar.ClientToScreen(&saveButton);
    CRect pane;
    frame->m_wndStatusBar.GetItemRect(0, &pane);
    frame->m_wndStatusBar.ClientToScreen(&pane);
    CRect view;
    frame->m_wndView.GetWindowRect(&view);
    int code = 0;
    if (shot.Count(newButton, RGB(0, 0, 0)) < 60) {
        code = 20;
    } else if (shot.Count(saveButton, ::GetSysColor(COLOR_BTNSHADOW)) < 40) {
        code = 21;
    } else if (shot.Count(pane, ::GetSysColor(COLOR_BTNFACE)) < pane.Width() * pane.Height() / 2 ||
               shot.Count(pane, ::GetSysColor(COLOR_BTNTEXT)) < 10) {
        code = 22;
    } else if (shot.Count(CRect(view.left + 10, view.top + 10, view.left + 60, view.top + 60),
                          RGB(255, 255, 255)) != 2500) {
        code = 23;
    }
    std::fflush(nullptr);
    return code;
}

} // namespace

TEST(BarsScreenTest, ScreenshotShowsToolbarAndStatusBar) {
    if (!testsupport::ToolInstalled("Xvfb") || !testsupport::ToolInstalled("xwd")) {
        GTEST_SKIP() << "Xvfb or xwd is not installed";
    }
    const char* base = std::getenv("DOLIVA_TEST_SCRATCH");
    std::string dir = base ? base : "/tmp";
    std::fflush(nullptr);
    pid_t child = fork();
    if (child == 0) {
        _exit(ShowAndShoot(dir));
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status)) << "the screen run crashed";
    // 10-14: the display or the screenshot failed; 20-23: the toolbar, the status bar or the view is missing.
    EXPECT_EQ(WEXITSTATUS(status), 0) << "see " << dir << "/bars-screen.png";
}
