#include "AppTestSupport.h"

#include "app/AveragingDialog.h"
#include "app/CGpsNav.h"
#include "platform/controls/ControlConstants.h"
#include "platform/controls/StandardControls.h"
#include "platform/display/DisplayBackend.h"
#include "platform/display/MessageBox.h"
#include "platform/framework/CWinApp.h"
#include "receiver/AppProfileAccess.h"
#include "receiver/ReceiverState.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace {

// A dialog template in memory with the averaging dialog's controls (the layout does not matter here).
class TemplateBuilder {
public:
    explicit TemplateBuilder(DWORD style) {
        Put32(style);
        Put32(0);
        m_countAt = m_bytes.size();
        Put16(0);
        for (int v : {0, 0, 300, 200}) {
            Put16(static_cast<std::uint16_t>(v));
        }
        Put16(0); // menu
        Put16(0); // class
        PutText(u"Averaging Parameters");
    }
    void Item(UINT id, std::uint16_t atom, DWORD style, const char16_t* text = u"") {
        while (m_bytes.size() % 4) {
            m_bytes.push_back(0);
        }
        Put32(style | WS_CHILD | WS_VISIBLE);
        Put32(0);
        for (int v : {5, 5 + 12 * m_count, 80, 10}) {
            Put16(static_cast<std::uint16_t>(v));
        }
        Put16(static_cast<std::uint16_t>(id));
        Put16(0xFFFF);
        Put16(atom);
        PutText(text);
        Put16(0);
        ++m_count;
        std::memcpy(&m_bytes[m_countAt], &m_count, 2);
    }
    const std::vector<std::uint8_t>& Bytes() const { return m_bytes; }

private:
    void Put16(std::uint16_t v) {
        m_bytes.push_back(static_cast<std::uint8_t>(v));
        m_bytes.push_back(static_cast<std::uint8_t>(v >> 8));
    }
    void Put32(DWORD v) {
        Put16(static_cast<std::uint16_t>(v));
        Put16(static_cast<std::uint16_t>(v >> 16));
    }
    void PutText(const char16_t* text) {
        for (; *text; ++text) {
            Put16(*text);
        }
        Put16(0);
    }
    std::vector<std::uint8_t> m_bytes;
    std::size_t m_countAt = 0;
    std::uint16_t m_count = 0;
};

constexpr std::uint16_t kButton = 0x80, kEdit = 0x81, kStatic = 0x82;

class NavHost : public IPositionAveragerHost {
public:
    int GetInterfaceMode() const override { return mode; }
    int GetReceiverModel() const override { return model; }
    int GetActiveChannelCount() const override { return 12; }
    void SendGpsCommand(const CString&) override {}
    bool IsDialogOpen() const override { return false; }
    void ShowControlText(UINT, const CString&) override {}
    int mode = kModeGenericNmea;
    int model = 14;
};

class AveragingDialogTest : public ::testing::Test {
protected:
    void SetUp() override {
        DisplayUseTestClock(100000);
        RegisterStandardControls();
        m_previousResponder =
            DisplaySetMessageBoxResponder([this](HWND, const std::u16string&, const std::u16string&, UINT) {
                ++m_boxes;
                return IDOK;
            });
        TemplateBuilder t(WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_VISIBLE);
        for (UINT id : {kIdcLimitPosition, kIdcLimitRms, kIdcLimitTiming, kIdcHdopWeight, kIdcVdopWeight,
                        kIdcTdopWeight}) {
            t.Item(id, kEdit, WS_BORDER | ES_AUTOHSCROLL | WS_TABSTOP);
        }
        t.Item(kIdcReport, kEdit, ES_MULTILINE | ES_READONLY);
        for (UINT id : {kIdcPositionCount, kIdcRmsCount, kIdcTimingCount, kIdcLockedSince, kIdcUnlockCount,
                        kIdcTsigma}) {
            t.Item(id, kStatic, SS_LEFT);
        }
        for (UINT id : {CAveragingDialog::kIdcUseDopWeighting, CAveragingDialog::kIdcRestartOnUnlock,
                        CAveragingDialog::kIdcContinueOnRestart}) {
            t.Item(id, kButton, BS_AUTOCHECKBOX | WS_TABSTOP);
        }
        for (UINT id : {CAveragingDialog::kIdcResetPosition, CAveragingDialog::kIdcResetRms,
                        CAveragingDialog::kIdcResetTiming, CAveragingDialog::kIdcResetUnlock,
                        CAveragingDialog::kIdcResetAll, CAveragingDialog::kIdcDefaults}) {
            t.Item(id, kButton, BS_PUSHBUTTON);
        }
        t.Item(IDOK, kButton, BS_DEFPUSHBUTTON, u"OK");
        t.Item(IDCANCEL, kButton, BS_PUSHBUTTON, u"Cancel");
        m_template = t.Bytes();
    }
    void TearDown() override { DisplaySetMessageBoxResponder(m_previousResponder); }

    void Open(CAveragingDialog& dialog) {
        ASSERT_TRUE(dialog.CreateIndirect(m_template.data(), m_template.size(), nullptr));
    }
    static CString Text(CWnd& dialog, UINT id) {
        CString text;
        dialog.GetDlgItemTextW(static_cast<int>(id), text);
        return text;
    }

    CWinApp m_app{u"Doliva"};
    NavHost m_host;
    std::vector<std::uint8_t> m_template;
    MessageBoxResponder m_previousResponder;
    int m_boxes = 0;
};

TEST_F(AveragingDialogTest, ShowsTheSettingsAndWritesThemOnlyWhenTheyAreValid) {
    CGpsNav engine(m_host);
    CAveragingDialog dialog(engine);
    Open(dialog);
    EXPECT_EQ(Text(dialog, kIdcLimitPosition), CString(u"28800"));
    EXPECT_EQ(Text(dialog, kIdcHdopWeight), CString(u"1.5"));
    EXPECT_EQ(dialog.IsDlgButtonChecked(CAveragingDialog::kIdcUseDopWeighting), BST_CHECKED);
    EXPECT_FALSE(Text(dialog, kIdcReport).IsEmpty());

    // A DOP weight of 11 fails: the box shows, nothing is written and the dialog stays.
    dialog.SetDlgItemTextW(kIdcHdopWeight, u"11");
    dialog.SendMessageW(WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    EXPECT_EQ(m_boxes, 1);
    EXPECT_TRUE(dialog.IsWindowVisible());
    EXPECT_EQ(AppGetProfileString(u"Averaging Data", u"HDOP Weight", u"<none>"), CString(u"<none>"));

    // A negative RMS limit fails too.
    dialog.SetDlgItemTextW(kIdcHdopWeight, u"2.5");
    dialog.SetDlgItemTextW(kIdcLimitRms, u"-5");
    dialog.SendMessageW(WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    EXPECT_EQ(m_boxes, 2);

    dialog.SetDlgItemTextW(kIdcLimitRms, u"200000");
    dialog.SendMessageW(WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    EXPECT_EQ(m_boxes, 2);
    EXPECT_FALSE(dialog.IsWindowVisible());
    EXPECT_EQ(AppGetProfileString(u"Averaging Data", u"RMS Weight Limit", u""), CString(u"200000.0"));
    EXPECT_EQ(AppGetProfileString(u"Averaging Data", u"HDOP Weight", u""), CString(u"02.5"));
    EXPECT_EQ(AppGetProfileString(u"Averaging Data", u"Position Weight Limit", u""), CString(u"028800.0"));
    EXPECT_DOUBLE_EQ(engine.Settings().rmsWeightLimit, 200000.0);
    dialog.DestroyWindow();
}

TEST_F(AveragingDialogTest, DefaultsFillTheControlsOnlyAndResetsShowZero) {
    CGpsNav engine(m_host);
    engine.Settings().positionWeightLimit = 100.0;
    CAveragingDialog dialog(engine);
    Open(dialog);
    dialog.SendMessageW(WM_COMMAND, MAKEWPARAM(CAveragingDialog::kIdcDefaults, BN_CLICKED),
                        reinterpret_cast<LPARAM>(dialog.GetDlgItem(CAveragingDialog::kIdcDefaults)->m_hWnd));
    EXPECT_EQ(Text(dialog, kIdcLimitPosition), CString(u"28800"));
    EXPECT_EQ(Text(dialog, kIdcLimitRms), CString(u"86400"));
    EXPECT_EQ(Text(dialog, kIdcVdopWeight), CString(u"2.0"));
    EXPECT_DOUBLE_EQ(engine.Settings().positionWeightLimit, 100.0);

    engine.UpdatePosition(32.9, -117.1, 96.0, 100.0, 0);
    dialog.SendMessageW(WM_COMMAND, MAKEWPARAM(CAveragingDialog::kIdcResetAll, BN_CLICKED),
                        reinterpret_cast<LPARAM>(dialog.GetDlgItem(CAveragingDialog::kIdcResetAll)->m_hWnd));
    EXPECT_EQ(Text(dialog, kIdcPositionCount), CString(u"0"));
    EXPECT_EQ(Text(dialog, kIdcRmsCount), CString(u"0"));
    EXPECT_EQ(Text(dialog, kIdcTimingCount), CString(u"0"));
    EXPECT_EQ(engine.GetPositionCount(), 0.0);
    dialog.DestroyWindow();
}

TEST_F(AveragingDialogTest, MotorolaBinaryWithoutUsableDopsDisablesTheWeighting) {
    m_host.mode = kModeMotorolaBinary;
    m_host.model = 3;
    CGpsNav engine(m_host);
    CAveragingDialog dialog(engine);
    Open(dialog);
    EXPECT_EQ(dialog.IsDlgButtonChecked(CAveragingDialog::kIdcUseDopWeighting), BST_UNCHECKED);
    EXPECT_FALSE(dialog.GetDlgItem(CAveragingDialog::kIdcUseDopWeighting)->IsWindowEnabled());
    EXPECT_FALSE(dialog.GetDlgItem(kIdcHdopWeight)->IsWindowEnabled());
    EXPECT_FALSE(engine.Settings().useDopWeighting);
    dialog.DestroyWindow();
}

} // namespace

namespace {

TEST_F(AveragingDialogTest, TheProgramsTemplateHoldsEveryControl) {
    CGpsNav engine(m_host);
    CAveragingDialog dialog(engine);
    ASSERT_TRUE(dialog.Create(CAveragingDialog::IDD, nullptr));
    for (UINT id : {1061u, 1062u, 1063u, 1045u, 1048u, 1059u, 1060u, 1154u, 1217u, 1042u, 1043u, 1044u, 1047u,
                    1046u, 1051u, 1064u, 1056u, 1054u, 1052u, 1049u, 1132u, 1130u, 1u, 2u}) {
        EXPECT_NE(::GetDlgItem(dialog.m_hWnd, static_cast<int>(id)), nullptr) << id;
    }
    dialog.DestroyWindow();
}

} // namespace
