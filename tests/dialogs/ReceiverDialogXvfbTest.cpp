// The manual command and port dialogs on a private X server, as a person sees them: the test runs itself
// again in a child process (the display backend is chosen once per process, before the first window), which
// shows each dialog, takes an X screenshot and writes the dialog's part of it as a PNG. Set
// DOLIVA_SCREENSHOT_DIR to keep the pictures.
#include "dialogs/CManualCommandDialog.h"
#include "dialogs/CPortDialog.h"
#include "support/PrivateXServer.h"

#include "DialogRecorders.h"
#include "DialogTestSupport.h"
#include "platform/controls/StandardControls.h"
#include "platform/display/DisplayBackend.h"
#include "platform/framework/CWinApp.h"
#include "platform/gdi/Gdi.h"
#include "platform/resources/Resources.h"
#include "platform/sdl/DisplaySelect.h"
#include "platform/sdl/SdlDisplayBackend.h"

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
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;
constexpr const char* kChildVariable = "DOLIVA_DIALOG_XVFB_DIR";

std::uint32_t Big32(const unsigned char* p) {
    return (std::uint32_t(p[0]) << 24) | (std::uint32_t(p[1]) << 16) | (std::uint32_t(p[2]) << 8) | p[3];
}

// The part `r` of a TrueColor xwd dump (what a 24-bit Xvfb screen gives) as a cairo surface; null when
// unreadable.
cairo_surface_t* ReadXwd(const std::string& xwd, const RECT& r) {
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
        data.size() < offset + std::size_t(bytesPerLine) * height || r.left < 0 || r.top < 0 ||
        r.right > width || r.bottom > height || r.right <= r.left || r.bottom <= r.top) {
        return nullptr;
    }
    cairo_surface_t* out = cairo_image_surface_create(CAIRO_FORMAT_RGB24, r.right - r.left, r.bottom - r.top);
    auto* pixels = cairo_image_surface_get_data(out);
    const int stride = cairo_image_surface_get_stride(out);
    for (int y = r.top; y < r.bottom; ++y) {
        for (int x = r.left; x < r.right; ++x) {
            const unsigned char* p = h + offset + std::size_t(y) * bytesPerLine + std::size_t(x) * step;
            const std::uint32_t v = byteOrder == 0 ? (p[0] | (p[1] << 8) | (std::uint32_t(p[2]) << 16))
                                                   : (step == 4 ? Big32(p) : Big32(p) >> 8);
            std::memcpy(pixels + (y - r.top) * stride + (x - r.left) * 4, &v, 4);
        }
    }
    cairo_surface_mark_dirty(out);
    return out;
}

int CountColour(cairo_surface_t* s, COLORREF colour) {
    int count = 0;
    for (int y = 0; y < cairo_image_surface_get_height(s); ++y) {
        for (int x = 0; x < cairo_image_surface_get_width(s); ++x) {
            std::uint32_t v = 0;
            std::memcpy(&v, cairo_image_surface_get_data(s) + y * cairo_image_surface_get_stride(s) + x * 4,
                        4);
            count += RGB((v >> 16) & 0xFF, (v >> 8) & 0xFF, v & 0xFF) == colour;
        }
    }
    return count;
}

class ReceiverDialogXvfbChild : public dialogtest::ProfileTest {
protected:
    // Shows the dialog, lets it paint, and writes its part of the screen to "<name>.png". Checks that the
    // dialog's face and a fair amount of text are on the screen.
    void Shoot(CWnd& dlg, const std::string& name) {
        dlg.SetWindowPos(nullptr, 30, 30, 0, 0, SWP_NOZORDER | SWP_NOSIZE);
        dlg.ShowWindow(SW_SHOW);
        dlg.UpdateWindow();
        MSG m{};
        for (int round = 0; round < 30; ++round) {
            while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) {
                TranslateMessage(&m);
                DispatchMessageW(&m);
            }
            usleep(10000);
        }
        DisplayFlush();
        m_backend->RunOnDisplayThread([] {});
        RECT native{};
        ASSERT_TRUE(m_backend->NativeContentRect(dlg.m_hWnd, &native));
        const std::string xwd = m_out + "/screen.xwd";
        ASSERT_EQ(std::system(("xwd -root -silent -out '" + xwd + "'").c_str()), 0);
        cairo_surface_t* shot = ReadXwd(xwd, native);
        ASSERT_NE(shot, nullptr);
        const std::string png = m_out + "/" + name + ".png";
        EXPECT_EQ(cairo_surface_write_to_png(shot, png.c_str()), CAIRO_STATUS_SUCCESS);
        const int area = cairo_image_surface_get_width(shot) * cairo_image_surface_get_height(shot);
        EXPECT_GT(CountColour(shot, GetSysColor(COLOR_BTNFACE)), area / 3) << name;
        EXPECT_GT(CountColour(shot, GetSysColor(COLOR_WINDOWTEXT)), 500) << name << ": no legible text";
        cairo_surface_destroy(shot);
    }

    std::string m_out;
    SdlDisplayBackend* m_backend = nullptr;
};

TEST_F(ReceiverDialogXvfbChild, Shoot) {
    const char* out = std::getenv(kChildVariable);
    if (!out) {
        GTEST_SKIP() << "runs only as the child of ReceiverDialogXvfb";
    }
    m_out = out;
    const int display = testsupport::StartXvfb();
    ASSERT_GE(display, 0) << "Xvfb did not start";
    setenv("DISPLAY", (":" + std::to_string(display)).c_str(), 1);
    unsetenv("WAYLAND_DISPLAY");
    setenv("SDL_VIDEODRIVER", "x11", 1);
    ASSERT_EQ(InitializeDisplay(), DisplayChoice::Sdl);
    m_backend = dynamic_cast<SdlDisplayBackend*>(&DisplayGetBackend());
    ASSERT_NE(m_backend, nullptr);
    RegisterStandardControls();
    DolivaInstallResourceHooks();
    CWinApp app{u"Doliva"};

    g_receiverIdentity.model = 10;
    dialogtest::RecordingSender sender;
    {
        CManualCommandDialog dlg(&sender);
        ASSERT_TRUE(dlg.Create());
        dlg.SetDlgItemTextW(CManualCommandDialog::kCommandListId, u"@@Bn");
        dlg.SelectCommand(u"@@Bn");
        Shoot(dlg, "manual_commands_x11");
        dlg.DestroyWindow();
    }
    {
        AppWriteProfileString(u"GPS Interface", u"COM Ports", u"COM1,COM2,COM10");
        AppWriteProfileString(u"GPS Interface", u"PEX Mode", u"Motorola Binary");
        CPortDialog dlg;
        ASSERT_TRUE(dlg.Create(CPortDialog::IDD));
        Shoot(dlg, "port_settings_x11");
        dlg.DestroyWindow();
    }
}

TEST(ReceiverDialogXvfb, ManualCommandAndPortDialogsOnAPrivateXServer) {
    if (std::getenv(kChildVariable)) {
        GTEST_SKIP() << "the child runs only the shots";
    }
    if (!testsupport::ToolInstalled("Xvfb") || !testsupport::ToolInstalled("xwd")) {
        GTEST_SKIP() << "Xvfb or xwd is not installed";
    }
    const fs::path out = testsupport::ScratchDir() / "dialog-xvfb";
    fs::create_directories(out);
    const std::string command =
        std::string(kChildVariable) + "='" + out.string() + "' /proc/" + std::to_string(getpid()) +
        "/exe --gtest_filter=ReceiverDialogXvfbChild.Shoot > '" + (out / "child.log").string() + "' 2>&1";
    const int status = std::system(command.c_str());
    std::ifstream log(out / "child.log");
    const std::string text((std::istreambuf_iterator<char>(log)), std::istreambuf_iterator<char>());
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << text;
    EXPECT_NE(text.find("[  PASSED  ] 1 test"), std::string::npos) << text;
    for (const char* name : {"manual_commands_x11.png", "port_settings_x11.png"}) {
        EXPECT_TRUE(fs::exists(out / name)) << name;
        if (const char* keep = std::getenv("DOLIVA_SCREENSHOT_DIR")) {
            fs::copy_file(out / name, fs::path(keep) / name, fs::copy_options::overwrite_existing);
        }
    }
}

} // namespace
