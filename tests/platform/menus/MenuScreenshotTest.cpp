// The menu test application on a private X server, as a person sees it: the test runs itself again in a
// child process (the display backend is chosen once per process, before the first window), which opens the
// File menu of a frame loaded from the resources, takes an X screenshot and writes it as a PNG.
#include "MenuTestIds.h"

#include "platform/framework/Framework.h"
#include "platform/gdi/Gdi.h"
#include "platform/resources/Resources.h"
#include "platform/sdl/DisplaySelect.h"
#include "platform/sdl/SdlDisplayBackend.h"
#include "support/PrivateXServer.h"
#include "support/TestSupport.h"

#include <cairo.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace {

namespace fs = std::filesystem;
constexpr const char* kChildVariable = "DOLIVA_MENU_SCREENSHOT_DIR";

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
    std::uint32_t headerSize = Big32(h);
    int width = static_cast<int>(Big32(h + 16));
    int height = static_cast<int>(Big32(h + 20));
    std::uint32_t byteOrder = Big32(h + 28);
    std::uint32_t bitsPerPixel = Big32(h + 44);
    std::uint32_t bytesPerLine = Big32(h + 48);
    std::size_t offset = headerSize + std::size_t(Big32(h + 76)) * 12;
    std::uint32_t step = bitsPerPixel / 8;
    if ((bitsPerPixel != 24 && bitsPerPixel != 32) ||
        data.size() < offset + std::size_t(bytesPerLine) * height) {
        return nullptr;
    }
    cairo_surface_t* out = cairo_image_surface_create(CAIRO_FORMAT_RGB24, width, height);
    auto* pixels = cairo_image_surface_get_data(out);
    int stride = cairo_image_surface_get_stride(out);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const unsigned char* p = h + offset + std::size_t(y) * bytesPerLine + std::size_t(x) * step;
            std::uint32_t v = byteOrder == 0 ? (p[0] | (p[1] << 8) | (std::uint32_t(p[2]) << 16))
                                             : (step == 4 ? Big32(p) : Big32(p) >> 8);
            std::memcpy(pixels + y * stride + x * 4, &v, 4);
        }
    }
    cairo_surface_mark_dirty(out);
    return out;
}

COLORREF PixelAt(cairo_surface_t* s, int x, int y) {
    if (x < 0 || y < 0 || x >= cairo_image_surface_get_width(s) || y >= cairo_image_surface_get_height(s)) {
        return CLR_INVALID;
    }
    std::uint32_t v = 0;
    std::memcpy(&v, cairo_image_surface_get_data(s) + y * cairo_image_surface_get_stride(s) + x * 4, 4);
    return RGB((v >> 16) & 0xFF, (v >> 8) & 0xFF, v & 0xFF);
}

class ShotFrame : public CFrameWnd {};

struct ShotState {
    std::string outDir;
    SdlDisplayBackend* backend = nullptr;
    HWND frame = nullptr;
    bool shot = false;
    RECT barNative{};
    RECT popupNative{};
};
ShotState* g_shot = nullptr;

void CALLBACK TakeShot(HWND hwnd, UINT, UINT_PTR id, DWORD) {
    KillTimer(hwnd, id);
    ShotState& s = *g_shot;
    HWND popup = FindWindowW(u"#32768", nullptr);
    if (popup) {
        DisplayFlush();
        s.backend->RunOnDisplayThread([] {});
        bool rects = s.backend->NativeContentRect(s.frame, &s.barNative) &&
                     s.backend->NativeContentRect(popup, &s.popupNative);
        std::string xwd = s.outDir + "/screen.xwd";
        if (rects && std::system(("xwd -root -silent -out '" + xwd + "'").c_str()) == 0) {
            if (cairo_surface_t* screen = ReadXwd(xwd)) {
                s.shot = cairo_surface_write_to_png(screen, (s.outDir + "/menu-screen.png").c_str()) ==
                         CAIRO_STATUS_SUCCESS;
                cairo_surface_destroy(screen);
            }
        }
    }
    EndMenu();
}

TEST(MenuScreenshotChild, Shoot) {
    const char* out = std::getenv(kChildVariable);
    if (!out) {
        GTEST_SKIP() << "runs only as the child of MenuScreenshot";
    }
    int display = testsupport::StartXvfb();
    ASSERT_GE(display, 0) << "Xvfb did not start";
    setenv("DISPLAY", (":" + std::to_string(display)).c_str(), 1);
    unsetenv("WAYLAND_DISPLAY");
    setenv("SDL_VIDEODRIVER", "x11", 1);
    ASSERT_EQ(InitializeDisplay(), DisplayChoice::Sdl);
    ShotState state;
    state.outDir = out;
    state.backend = dynamic_cast<SdlDisplayBackend*>(&DisplayGetBackend());
    ASSERT_NE(state.backend, nullptr);
    g_shot = &state;
    DolivaInstallResourceHooks();

    // A frame straight from the resources: title, menu and accelerators.
    auto* frame = new ShotFrame;
    ASSERT_TRUE(frame->LoadFrame(IDR_MENUFRAME));
    frame->m_bAutoMenuEnable = FALSE; // no handlers here: keep the items as the script has them
    frame->ShowWindow(SW_SHOWNORMAL);
    ASSERT_NE(frame, nullptr);
    state.frame = frame->m_hWnd;
    frame->SetWindowPos(nullptr, 40, 40, 480, 320, SWP_NOZORDER);
    frame->SetForegroundWindow();
    frame->UpdateWindow();
    DisplayFlush();

    // Alt+F opens File with its first item selected; the timer fires inside the menu loop.
    SetTimer(state.frame, 7, 300, TakeShot);
    DisplayInjectKey(VK_MENU, 0, TRUE, FALSE);
    DisplayInjectKey('F', 0, TRUE, FALSE);
    DisplayInjectKey('F', 0, FALSE, FALSE);
    DisplayInjectKey(VK_MENU, 0, FALSE, FALSE);
    MSG m{};
    for (int round = 0; !state.shot && round < 500; ++round) {
        while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&m);
            DispatchMessageW(&m);
        }
        usleep(10000);
    }
    ASSERT_TRUE(state.shot);

    // On the screen: File highlighted in the bar, and the popup's first item highlighted below it, with
    // menu-text pixels in the popup.
    cairo_surface_t* screen =
        cairo_image_surface_create_from_png((state.outDir + "/menu-screen.png").c_str());
    ASSERT_EQ(cairo_surface_status(screen), CAIRO_STATUS_SUCCESS);
    COLORREF highlight = GetSysColor(COLOR_HIGHLIGHT);
    EXPECT_EQ(PixelAt(screen, state.barNative.left + 3, state.barNative.top + 3), highlight);
    EXPECT_EQ(PixelAt(screen, state.popupNative.left + 6, state.popupNative.top + 5), highlight);
    EXPECT_GE(state.popupNative.top, state.barNative.top);
    int text = 0;
    for (int y = state.popupNative.top; y < state.popupNative.bottom; ++y) {
        for (int x = state.popupNative.left; x < state.popupNative.right; ++x) {
            text += PixelAt(screen, x, y) == GetSysColor(COLOR_MENUTEXT);
        }
    }
    EXPECT_GT(text, 50) << "no legible text in the popup";
    cairo_surface_destroy(screen);
    frame->DestroyWindow();
}

TEST(MenuScreenshot, MenuBarAndOpenPopupOnAPrivateXServer) {
    if (std::getenv(kChildVariable)) {
        GTEST_SKIP() << "the child runs only the shot";
    }
    if (!testsupport::ToolInstalled("Xvfb") || !testsupport::ToolInstalled("xwd")) {
        GTEST_SKIP() << "Xvfb or xwd is not installed";
    }
    fs::path out = testsupport::ScratchDir() / "menu-screenshot";
    fs::create_directories(out);
    std::string command = std::string(kChildVariable) + "='" + out.string() + "' /proc/" +
                          std::to_string(getpid()) + "/exe --gtest_filter=MenuScreenshotChild.Shoot > '" +
                          (out / "child.log").string() + "' 2>&1";
    int status = std::system(command.c_str());
    std::ifstream log(out / "child.log");
    std::string text((std::istreambuf_iterator<char>(log)), std::istreambuf_iterator<char>());
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << text;
    EXPECT_NE(text.find("[  PASSED  ] 1 test"), std::string::npos) << text;
    EXPECT_TRUE(fs::exists(out / "menu-screen.png"));
    if (const char* keep = std::getenv("DOLIVA_MENU_KEEP_SCREENSHOT")) {
        fs::copy_file(out / "menu-screen.png", keep, fs::copy_options::overwrite_existing);
    }
}

} // namespace
