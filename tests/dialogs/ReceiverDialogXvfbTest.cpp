// The manual command and port dialogs on a private X server, as a person sees them: the test runs itself
// again in a child process (the display backend is chosen once per process, before the first window), which
// shows each dialog, takes an X screenshot and writes the dialog's part of it as a PNG. Set
// DOLIVA_SCREENSHOT_DIR to keep the pictures.
#include "dialogs/CManualCommandDialog.h"
#include "dialogs/CPortDialog.h"
#include "support/ScreenshotChild.h"

#include "DialogRecorders.h"
#include "DialogTestSupport.h"
#include "platform/controls/StandardControls.h"
#include "platform/display/DisplayBackend.h"
#include "platform/framework/CWinApp.h"
#include "platform/gdi/Gdi.h"
#include "platform/resources/Resources.h"

#include <unistd.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

namespace {

namespace fs = std::filesystem;
constexpr const char* kChildVariable = "DOLIVA_DIALOG_XVFB_DIR";

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
        const testsupport::Picture shot = testsupport::ShootScreen(m_out).Crop(native);
        ASSERT_TRUE(shot.Valid());
        EXPECT_TRUE(shot.WritePng(m_out + "/" + name + ".png"));
        EXPECT_GT(shot.Count(GetSysColor(COLOR_BTNFACE)), shot.Width() * shot.Height() / 3) << name;
        EXPECT_GT(shot.Count(GetSysColor(COLOR_WINDOWTEXT)), 500) << name << ": no legible text";
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
    m_backend = testsupport::OpenPrivateSdlDisplay();
    ASSERT_NE(m_backend, nullptr) << "no SDL display on a private X server";
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
    REQUIRE_SCREENSHOT_CHILD(kChildVariable);
    const fs::path out = testsupport::ScratchDir() / "dialog-xvfb";
    const testsupport::ChildRun child =
        testsupport::RunScreenshotChild(kChildVariable, out, "ReceiverDialogXvfbChild.Shoot");
    ASSERT_TRUE(child.passed) << child.log;
    for (const char* name : {"manual_commands_x11.png", "port_settings_x11.png"}) {
        EXPECT_TRUE(fs::exists(out / name)) << name;
        if (const char* keep = std::getenv("DOLIVA_SCREENSHOT_DIR")) {
            fs::copy_file(out / name, fs::path(keep) / name, fs::copy_options::overwrite_existing);
        }
    }
}

} // namespace
