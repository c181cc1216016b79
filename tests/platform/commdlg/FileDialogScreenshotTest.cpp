// The file dialog on a private X server, as a person would see it: the test runs itself again in a child
// process (the display backend is chosen once per process, before the first window), which shows the
// dialog over a folder, takes an X screenshot of it and writes it as a PNG beside a headless render.
#include "CommDlgTestSupport.h"

#include "platform/base/CodePage.h"
#include "platform/gdi/Gdi.h"
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

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace {

namespace fs = std::filesystem;
constexpr const char* kChildVariable = "DOLIVA_COMMDLG_SCREENSHOT_DIR";

std::uint32_t Big32(const unsigned char* p) {
    return (std::uint32_t(p[0]) << 24) | (std::uint32_t(p[1]) << 16) | (std::uint32_t(p[2]) << 8) | p[3];
}

// Crops a TrueColor xwd dump (what a 24-bit Xvfb screen gives) to `area` and writes it as a PNG.
bool XwdToPng(const std::string& xwd, const RECT& area, const std::string& png) {
    std::ifstream in(xwd, std::ios::binary);
    std::vector<unsigned char> data((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (data.size() < 100) {
        return false;
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
        data.size() < offset + std::size_t(bytesPerLine) * height || area.left < 0 || area.top < 0 ||
        area.right > width || area.bottom > height) {
        return false;
    }
    int w = area.right - area.left;
    int hgt = area.bottom - area.top;
    cairo_surface_t* out = cairo_image_surface_create(CAIRO_FORMAT_RGB24, w, hgt);
    auto* pixels = cairo_image_surface_get_data(out);
    int stride = cairo_image_surface_get_stride(out);
    for (int y = 0; y < hgt; ++y) {
        for (int x = 0; x < w; ++x) {
            const unsigned char* p =
                h + offset + std::size_t(y + area.top) * bytesPerLine + (x + area.left) * step;
            std::uint32_t v = byteOrder == 0 ? (p[0] | (p[1] << 8) | (std::uint32_t(p[2]) << 16))
                                             : (step == 4 ? Big32(p) : Big32(p) >> 8);
            std::memcpy(pixels + y * stride + x * 4, &v, 4);
        }
    }
    cairo_surface_mark_dirty(out);
    bool ok = cairo_surface_write_to_png(out, png.c_str()) == CAIRO_STATUS_SUCCESS;
    cairo_surface_destroy(out);
    return ok;
}

// Runs in the child: everything on the private display.
class FileDialogScreenshotChild : public commdlgtest::CommDlgTest {
protected:
    void SetUp() override {
        const char* out = std::getenv(kChildVariable);
        if (!out) {
            GTEST_SKIP() << "runs only as the child of FileDialogScreenshot";
        }
        outDir = out;
        int display = testsupport::StartXvfb();
        ASSERT_GE(display, 0) << "Xvfb did not start";
        setenv("DISPLAY", (":" + std::to_string(display)).c_str(), 1);
        unsetenv("WAYLAND_DISPLAY");
        setenv("SDL_VIDEODRIVER", "x11", 1);
        ASSERT_EQ(InitializeDisplay(), DisplayChoice::Sdl);
        backend = dynamic_cast<SdlDisplayBackend*>(&DisplayGetBackend());
        ASSERT_NE(backend, nullptr);
        CommDlgTest::SetUp();
    }

    std::string outDir;
    SdlDisplayBackend* backend = nullptr;
};

TEST_F(FileDialogScreenshotChild, Shoot) {
    fs::path folder = fs::path(outDir) / "Receiver logs";
    fs::create_directories(folder / "2026-12");
    fs::create_directories(folder / "archive");
    for (const char* name : {"DolivaLog.txt", "raw 0900.txt", "pvt.csv", "position.log", "firmware.hex"}) {
        std::ofstream(folder / name) << "x";
    }
    std::u16string dir = Utf8ToUtf16(folder.string());
    WCHAR file[512] = u"DolivaLog.txt";
    OPENFILENAMEW ofn{};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = owner;
    ofn.lpstrFilter = u"GPS Log Files (*.txt;*.log)\0*.txt;*.log\0All Files (*.*)\0*.*\0";
    ofn.lpstrFile = file;
    ofn.nMaxFile = 512;
    ofn.lpstrInitialDir = dir.c_str();
    ofn.lpstrTitle = u"Open GPS Log";
    ofn.Flags = OFN_NOCHANGEDIR | OFN_FILEMUSTEXIST;
    RECT native{};
    bool shot = false;
    std::vector<COLORREF> samples;
    steps.push_back([&](HWND d) {
        UpdateWindow(d);
        DisplayFlush();
        backend->RunOnDisplayThread([] {});
        ASSERT_TRUE(DisplayRenderWindowToPng(d, (outDir + "/file-dialog-headless.png").c_str()));
        ASSERT_TRUE(backend->NativeContentRect(d, &native));
        std::string xwd = outDir + "/screen.xwd";
        ASSERT_EQ(std::system(("xwd -root -silent -out '" + xwd + "'").c_str()), 0);
        shot = XwdToPng(xwd, native, outDir + "/file-dialog.png");
        // What the screen shows is what the layer drew.
        for (POINT p : {POINT{10, 10}, POINT{30, 60}, POINT{200, 200}}) {
            samples.push_back(DisplayGetPixel(d, p.x, p.y));
        }
        Command(d, IDCANCEL, BN_CLICKED);
    });
    EXPECT_FALSE(GetOpenFileNameW(&ofn));
    EXPECT_TRUE(shot);
    cairo_surface_t* png = cairo_image_surface_create_from_png((outDir + "/file-dialog.png").c_str());
    ASSERT_EQ(cairo_surface_status(png), CAIRO_STATUS_SUCCESS);
    EXPECT_EQ(cairo_image_surface_get_width(png), native.right - native.left);
    const unsigned char* data = cairo_image_surface_get_data(png);
    int stride = cairo_image_surface_get_stride(png);
    std::size_t i = 0;
    for (POINT p : {POINT{10, 10}, POINT{30, 60}, POINT{200, 200}}) {
        std::uint32_t v = 0;
        std::memcpy(&v, data + p.y * stride + p.x * 4, 4);
        EXPECT_EQ(RGB((v >> 16) & 0xFF, (v >> 8) & 0xFF, v & 0xFF), samples[i++]) << p.x << "," << p.y;
    }
    cairo_surface_destroy(png);
}

TEST(FileDialogScreenshot, OnAPrivateXServer) {
    if (std::getenv(kChildVariable)) {
        GTEST_SKIP() << "the child runs only the shot";
    }
    if (!testsupport::ToolInstalled("Xvfb") || !testsupport::ToolInstalled("xwd")) {
        GTEST_SKIP() << "Xvfb or xwd is not installed";
    }
    fs::path out = testsupport::ScratchDir() / "screenshot";
    fs::create_directories(out);
    std::string command =
        std::string(kChildVariable) + "='" + out.string() + "' /proc/" + std::to_string(getpid()) +
        "/exe --gtest_filter=FileDialogScreenshotChild.Shoot > '" + (out / "child.log").string() + "' 2>&1";
    int status = std::system(command.c_str());
    std::ifstream log(out / "child.log");
    std::string text((std::istreambuf_iterator<char>(log)), std::istreambuf_iterator<char>());
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << text;
    EXPECT_NE(text.find("[  PASSED  ] 1 test"), std::string::npos) << text;
    EXPECT_TRUE(fs::exists(out / "file-dialog.png"));
    if (const char* keep = std::getenv("DOLIVA_COMMDLG_KEEP_SCREENSHOT")) {
        fs::copy_file(out / "file-dialog.png", keep, fs::copy_options::overwrite_existing);
    }
}

} // namespace
