// Pictures of the receiver dialogs as drawn, for a look by eye: written to the test's scratch directory and,
// when DOLIVA_SCREENSHOT_DIR names one, copied there. The checks catch an empty or unreadable picture.
#include "dialogs/CCoaxDelayCalculator.h"
#include "dialogs/CGpsRxModeSelect.h"
#include "dialogs/CGpsRxUpld.h"
#include "dialogs/CLogType.h"
#include "dialogs/CManualCommandDialog.h"
#include "dialogs/CManualSatelliteSelect.h"
#include "dialogs/COncoreIdDialog.h"
#include "dialogs/CPortDialog.h"
#include "dialogs/CReferencePositionDialog.h"
#include "dialogs/CSyncClockDialog.h"
#include "dialogs/CTimingDialog.h"

#include "DialogRecorders.h"
#include "DialogTestSupport.h"
#include "platform/controls/StandardControls.h"
#include "platform/display/DisplayBackend.h"
#include "platform/framework/CWinApp.h"
#include "platform/resources/Resources.h"

#include <cairo.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <set>
#include <string>

namespace {

class ReceiverDialogScreenshot : public dialogtest::WindowTest {
protected:
    // Draws the dialog to "<name>.png" and answers how many colours the picture holds.
    static int Shoot(CWnd& dlg, const std::string& name) {
        dlg.ShowWindow(SW_SHOW);
        dlg.UpdateWindow();
        Pump();
        const std::filesystem::path path = testsupport::ScratchDir() / (name + ".png");
        EXPECT_TRUE(DisplayRenderWindowToPng(dlg.m_hWnd, path.c_str()));
        if (const char* keep = std::getenv("DOLIVA_SCREENSHOT_DIR")) {
            std::filesystem::copy_file(path, std::filesystem::path(keep) / path.filename(),
                                       std::filesystem::copy_options::overwrite_existing);
        }
        cairo_surface_t* png = cairo_image_surface_create_from_png(path.c_str());
        std::set<std::uint32_t> colours;
        if (cairo_surface_status(png) == CAIRO_STATUS_SUCCESS) {
            const int stride = cairo_image_surface_get_stride(png);
            const unsigned char* data = cairo_image_surface_get_data(png);
            for (int y = 0; y < cairo_image_surface_get_height(png); ++y) {
                const auto* row = reinterpret_cast<const std::uint32_t*>(data + y * stride);
                colours.insert(row, row + cairo_image_surface_get_width(png));
            }
        }
        cairo_surface_destroy(png);
        return static_cast<int>(colours.size());
    }

    CWinApp m_app{u"Doliva"};
    dialogtest::RecordingSender m_sender;
};

TEST_F(ReceiverDialogScreenshot, ManualCommands) {
    g_receiverIdentity.model = 10;
    CManualCommandDialog dlg(&m_sender);
    ASSERT_TRUE(dlg.Create());
    dlg.SetDlgItemTextW(CManualCommandDialog::kCommandListId, u"@@Bn");
    dlg.SelectCommand(u"@@Bn");
    EXPECT_GT(Shoot(dlg, "manual_commands"), 4);
    dlg.DestroyWindow();
}

TEST_F(ReceiverDialogScreenshot, PortSettings) {
    AppWriteProfileString(u"GPS Interface", u"COM Ports", u"COM1,COM2,COM10");
    AppWriteProfileString(u"GPS Interface", u"PEX Mode", u"Motorola Binary");
    CPortDialog dlg;
    ASSERT_TRUE(dlg.Create(CPortDialog::IDD));
    EXPECT_GT(Shoot(dlg, "port_settings"), 4);
    dlg.DestroyWindow();
}

// The other templates, one picture each.
TEST_F(ReceiverDialogScreenshot, OtherReceiverDialogs) {
    {
        CManualSatelliteSelect dlg(&m_sender, nullptr);
        ASSERT_TRUE(dlg.Create(CManualSatelliteSelect::IDD));
        EXPECT_GT(Shoot(dlg, "satellite_select"), 4);
        dlg.DestroyWindow();
    }
    {
        COncoreIdDialog dlg;
        ASSERT_TRUE(dlg.Create(COncoreIdDialog::IDD));
        EXPECT_GT(Shoot(dlg, "receiver_type"), 4);
        dlg.DestroyWindow();
    }
    {
        CSyncClockDialog dlg;
        ASSERT_TRUE(dlg.Create(CSyncClockDialog::IDD));
        EXPECT_GT(Shoot(dlg, "set_pc_clock"), 4);
        dlg.DestroyWindow();
    }
    {
        CTimingDialog dlg;
        ASSERT_TRUE(dlg.Create(CTimingDialog::IDD));
        EXPECT_GT(Shoot(dlg, "timing_setup"), 4);
        dlg.DestroyWindow();
    }
    {
        CCoaxDelayCalculator dlg;
        ASSERT_TRUE(dlg.Create(CCoaxDelayCalculator::IDD));
        EXPECT_GT(Shoot(dlg, "coax_calculator"), 4);
        dlg.DestroyWindow();
    }
    {
        CReferencePositionDialog dlg;
        dlg.m_locLatitude = 51.5;
        dlg.m_locLongitude = -0.25;
        dlg.m_mslAltitude = 73.5;
        ASSERT_TRUE(dlg.Create(CReferencePositionDialog::IDD));
        EXPECT_GT(Shoot(dlg, "reference_location"), 4);
        dlg.DestroyWindow();
    }
    {
        g_receiverIdentity.model = 10;
        g_receiverIdentity.firmwareVersion = 10.0f;
        CGpsRxModeSelect dlg;
        ASSERT_TRUE(dlg.Create(CGpsRxModeSelect::IDD));
        EXPECT_GT(Shoot(dlg, "receiver_parameters"), 4);
        dlg.DestroyWindow();
    }
    {
        class NoUploadHost : public FirmwareUploadHost {
            void SendGpsCommand(const CString&) override {}
            BOOL SendGpsCommandAndWait(const CString&) override { return FALSE; }
            BOOL SetCommBaudRate(DWORD) override { return FALSE; }
            CString DecodeUbxMessage(const CString&) override { return {}; }
            void AddRawDataLine(const CString&) override {}
            int ShowMessageBox(const CString&, UINT) override { return IDOK; }
            void SetProgress(int) override {}
            void SetUbxUploadRunning(BOOL) override {}
            void SetUploadRunning(BOOL) override {}
        } host;
        CGpsRxUpld dlg(host);
        ASSERT_TRUE(dlg.Create(CGpsRxUpld::IDD));
        dlg.SetProgress(35);
        EXPECT_GT(Shoot(dlg, "firmware_upload"), 4);
        dlg.DestroyWindow();
    }
    {
        CLogType dlg;
        ASSERT_TRUE(dlg.Create(CLogType::IDD));
        EXPECT_GT(Shoot(dlg, "log_type"), 4);
        dlg.DestroyWindow();
    }
}

} // namespace
