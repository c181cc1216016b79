// The file dialog on a private X server, as a person would see it: the test runs itself again in a child
// process (the display backend is chosen once per process, before the first window), which shows the
// dialog over a folder, takes an X screenshot of it and writes it as a PNG beside a headless render.
#include "CommDlgTestSupport.h"

#include "platform/base/CodePage.h"
#include "platform/gdi/Gdi.h"
#include "support/ScreenshotChild.h"
#include "support/TestSupport.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace {

namespace fs = std::filesystem;
constexpr const char* kChildVariable = "DOLIVA_COMMDLG_SCREENSHOT_DIR";

// Runs in the child: everything on the private display.
class FileDialogScreenshotChild : public commdlgtest::CommDlgTest {
protected:
    void SetUp() override {
        const char* out = std::getenv(kChildVariable);
        if (!out) {
            GTEST_SKIP() << "runs only as the child of FileDialogScreenshot";
        }
        outDir = out;
        backend = testsupport::OpenPrivateSdlDisplay();
        ASSERT_NE(backend, nullptr) << "no SDL display on a private X server";
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
        shot = testsupport::ShootScreen(outDir).Crop(native).WritePng(outDir + "/file-dialog.png");
        // What the screen shows is what the layer drew.
        for (POINT p : {POINT{10, 10}, POINT{30, 60}, POINT{200, 200}}) {
            samples.push_back(DisplayGetPixel(d, p.x, p.y));
        }
        Command(d, IDCANCEL, BN_CLICKED);
    });
    EXPECT_FALSE(GetOpenFileNameW(&ofn));
    EXPECT_TRUE(shot);
    const testsupport::Picture png = testsupport::Picture::FromPng(outDir + "/file-dialog.png");
    ASSERT_TRUE(png.Valid());
    EXPECT_EQ(png.Width(), native.right - native.left);
    std::size_t i = 0;
    for (POINT p : {POINT{10, 10}, POINT{30, 60}, POINT{200, 200}}) {
        EXPECT_EQ(png.At(p.x, p.y), samples[i++]) << p.x << "," << p.y;
    }
}

TEST(FileDialogScreenshot, OnAPrivateXServer) {
    REQUIRE_SCREENSHOT_CHILD(kChildVariable);
    const fs::path out = testsupport::ScratchDir() / "screenshot";
    const testsupport::ChildRun child =
        testsupport::RunScreenshotChild(kChildVariable, out, "FileDialogScreenshotChild.Shoot");
    ASSERT_TRUE(child.passed) << child.log;
    EXPECT_TRUE(fs::exists(out / "file-dialog.png"));
    if (const char* keep = std::getenv("DOLIVA_COMMDLG_KEEP_SCREENSHOT")) {
        fs::copy_file(out / "file-dialog.png", keep, fs::copy_options::overwrite_existing);
    }
}

} // namespace
