// Placement kept in the profile: the frame's "Window size" and a dialog's "Dialog ... size".
#include "AppframeTestIds.h"
#include "appframe/CPersistentDialog.h"
#include "appframe/CPersistentFrame.h"
#include "platform/base/CodePage.h"
#include "platform/controls/StandardControls.h"
#include "platform/framework/CWinApp.h"
#include "platform/resources/Resources.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

namespace {

class PlacementTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        setenv("DOLIVA_DISPLAY", "headless", 1);
        RegisterStandardControls();
        DolivaInstallResourceHooks();
    }
    void SetUp() override { m_app.SetRegistryKey(u"Halvorn"); }
    void Write(const char16_t* section, const char16_t* key, const char16_t* value) {
        m_app.WriteProfileString(section, key, value);
    }
    std::string Read(const char16_t* section, const char16_t* key) {
        return Utf16ToUtf8(m_app.GetProfileString(section, key, u"").str());
    }

    CWinApp m_app{u"Doliva"};
};

// Creates a frame and activates it once, as the template does.
CPersistentFrame* OpenFrame(BOOL saveMaxPosition) {
    auto* frame = new CPersistentFrame;
    frame->SetSaveMaxPosition(saveMaxPosition);
    EXPECT_TRUE(frame->Create(nullptr, u"Persistent"));
    frame->ActivateFrame();
    return frame;
}

WINDOWPLACEMENT PlacementOf(CWnd* wnd) {
    WINDOWPLACEMENT wp{};
    wp.length = sizeof(wp);
    wnd->GetWindowPlacement(&wp);
    return wp;
}

TEST(PlacementNumbers, FourDigitFieldsWithSignsAndWiderNumbers) {
    EXPECT_EQ(ParsePlacementNumbers(u"0010 0010 0660 0500"), (std::vector<int>{10, 10, 660, 500}));
    EXPECT_EQ(ParsePlacementNumbers(u"-008 -008 1288 1032 0000 0000"),
              (std::vector<int>{-8, -8, 1288, 1032, 0, 0}));
    EXPECT_EQ(ParsePlacementNumbers(u"-1280 0010 -0100 0500"), (std::vector<int>{-1280, 10, -100, 500}));
    EXPECT_TRUE(ParsePlacementNumbers(u"").empty());
}

TEST_F(PlacementTest, FrameRestoresTheStoredShowStateAndRectangle) {
    struct Case {
        const char16_t* rect;
        int icon;
        int max;
        UINT showCmd;
        UINT flags;
        RECT normal;
    };
    const Case cases[] = {
        {nullptr, 0, 0, SW_SHOWNORMAL, WPF_SETMINPOSITION, {10, 10, 660, 500}},
        {u"0100 0050 0500 0400", 0, 0, SW_SHOWNORMAL, WPF_SETMINPOSITION, {100, 50, 500, 400}},
        // The restore-to-maximised flag reads back only while the window is minimised.
        {u"0100 0050 0500 0400", 0, 1, SW_SHOWMAXIMIZED, 0, {100, 50, 500, 400}},
        {u"0100 0050 0500 0400", 1, 1, SW_SHOWMINIMIZED, WPF_RESTORETOMAXIMIZED, {100, 50, 500, 400}},
        {u"0100 0050 0500 0400", 1, 0, SW_SHOWMINIMIZED, 0, {100, 50, 500, 400}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.icon * 10 + c.max);
        if (c.rect) {
            Write(CPersistentFrame::s_profileSection, u"Rect", c.rect);
        }
        m_app.WriteProfileInt(CPersistentFrame::s_profileSection, u"icon", c.icon);
        m_app.WriteProfileInt(CPersistentFrame::s_profileSection, u"max", c.max);
        CPersistentFrame* frame = OpenFrame(FALSE);
        WINDOWPLACEMENT wp = PlacementOf(frame);
        EXPECT_EQ(wp.showCmd, c.showCmd);
        EXPECT_EQ(wp.flags & WPF_RESTORETOMAXIMIZED, c.flags & WPF_RESTORETOMAXIMIZED);
        EXPECT_EQ(CRect(wp.rcNormalPosition), CRect(c.normal));
        frame->DestroyWindow();
    }
}

// Closed minimised from the maximised state: it reopens minimised and restores to maximised.
TEST_F(PlacementTest, FrameClosedMinimisedFromMaximisedReopensSo) {
    CPersistentFrame* frame = OpenFrame(TRUE);
    frame->ShowWindow(SW_MAXIMIZE);
    frame->ShowWindow(SW_MINIMIZE);
    frame->DestroyWindow();
    EXPECT_EQ(m_app.GetProfileInt(CPersistentFrame::s_profileSection, u"icon", -1), 1);
    EXPECT_EQ(m_app.GetProfileInt(CPersistentFrame::s_profileSection, u"max", -1), 1);
    EXPECT_EQ(
        ParsePlacementNumbers(m_app.GetProfileString(CPersistentFrame::s_profileSection, u"Rect")).size(),
        6u);

    frame = OpenFrame(TRUE);
    EXPECT_TRUE(frame->IsIconic());
    frame->ShowWindow(SW_RESTORE);
    EXPECT_TRUE(frame->IsZoomed());
    frame->DestroyWindow();
}

TEST_F(PlacementTest, FrameWritesFourDigitFieldsAndAKeptMaximisedPosition) {
    Write(CPersistentFrame::s_profileSection, u"Rect", u"0020 0030 0420 0330 -005 0007");
    CPersistentFrame* frame = OpenFrame(TRUE);
    EXPECT_EQ(PlacementOf(frame).ptMaxPosition.x, 0) << "a negative maximised position becomes 0";
    EXPECT_EQ(PlacementOf(frame).ptMaxPosition.y, 7);
    frame->DestroyWindow();
    EXPECT_EQ(Read(CPersistentFrame::s_profileSection, u"Rect"), "0020 0030 0420 0330 0000 0007");

    frame = OpenFrame(FALSE);
    frame->MoveWindow(-8, 12, 300, 200);
    frame->DestroyWindow();
    EXPECT_EQ(Read(CPersistentFrame::s_profileSection, u"Rect"), "-008 0012 0292 0212");
}

class FixedSizeDialog : public CPersistentDialog {
public:
    FixedSizeDialog() : CPersistentDialog(IDD_FIXED_SIZE) {}
};

TEST_F(PlacementTest, SectionNamesFollowTheIdOrTheTemplateName) {
    EXPECT_EQ(CPersistentDialog(129).GetSectionName(), CString(u"Dialog 129 size"));
    EXPECT_EQ(CPersistentDialog(146, u"GpsRaw").GetSectionName(), CString(u"Dialog GpsRaw size"));
    EXPECT_EQ(CPersistentDialog(146, u"").GetSectionName(), CString(u"Dialog 146 size"));
}

// A fixed-size dialog only moves; one with a sizing border takes the stored size too; an empty "Rect"
// leaves it alone.
TEST_F(PlacementTest, DialogRestoreMovesFixedSizeAndSizesSizable) {
    FixedSizeDialog dialog;
    ASSERT_TRUE(dialog.Create(IDD_FIXED_SIZE));
    CRect before(PlacementOf(&dialog).rcNormalPosition);

    Write(u"Dialog 100 size", u"Rect", u"");
    dialog.RestorePlacement();
    EXPECT_EQ(CRect(PlacementOf(&dialog).rcNormalPosition), before);

    Write(u"Dialog 100 size", u"Rect", u"0040 0030 0999 0888");
    dialog.RestorePlacement();
    EXPECT_EQ(CRect(PlacementOf(&dialog).rcNormalPosition),
              CRect(40, 30, 40 + before.Width(), 30 + before.Height()));

    dialog.ModifyStyle(0, WS_THICKFRAME);
    dialog.RestorePlacement();
    EXPECT_EQ(CRect(PlacementOf(&dialog).rcNormalPosition), CRect(40, 30, 999, 888));

    dialog.MoveWindow(5, 6, 200, 100);
    dialog.DestroyWindow();
    EXPECT_EQ(Read(u"Dialog 100 size", u"Rect"), "0005 0006 0205 0106");
}

TEST_F(PlacementTest, ShowingRestoringAppliesTheStoredPosition) {
    FixedSizeDialog dialog;
    ASSERT_TRUE(dialog.Create(IDD_FIXED_SIZE));
    Write(u"Dialog 100 size", u"Rect", u"0070 0080 0100 0100");
    dialog.ShowWindowRestoring(SW_SHOW);
    EXPECT_NE(PlacementOf(&dialog).rcNormalPosition.left, 70);
    dialog.ShowWindowRestoring(SW_RESTORE);
    EXPECT_EQ(PlacementOf(&dialog).rcNormalPosition.left, 70);
    EXPECT_EQ(PlacementOf(&dialog).rcNormalPosition.top, 80);
    dialog.DestroyWindow();
}

} // namespace
