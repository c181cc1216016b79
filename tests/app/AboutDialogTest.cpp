#include "AppTestSupport.h"

#include "app/AboutDialog.h"
#include "platform/base/GlobalMemory.h"
#include "platform/clipboard/Clipboard.h"
#include "platform/controls/StandardControls.h"
#include "platform/display/DisplayBackend.h"
#include "platform/framework/CWinApp.h"
#include "platform/resources/Resources.h"
#include "platform/system/Shell.h"
#include "resources/Resource.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

class AboutDialogTest : public ::testing::Test {
protected:
    void SetUp() override {
        DisplayUseTestClock(100000);
        RegisterStandardControls();
        DolivaInstallResourceHooks();
        SetShellLauncher([this](const ShellLaunch& launch) {
            m_launches.push_back(launch.argv);
            return 0;
        });
        ASSERT_TRUE(m_about.Create(IDD_ABOUTBOX));
    }
    void TearDown() override {
        m_about.DestroyWindow();
        SetShellLauncher(nullptr);
        MSG msg{};
        while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            ::DispatchMessageW(&msg);
        }
    }
    static void Move(CHLinkCtrl& link, int x, int y) { link.SendMessageW(WM_MOUSEMOVE, 0, MAKELPARAM(x, y)); }

    CWinApp m_app{u"Doliva"};
    CAboutDlg m_about;
    std::vector<std::vector<std::string>> m_launches;
};

TEST_F(AboutDialogTest, ShowsTheVersionAndGivesEveryLinkItsAddress) {
    CString version;
    m_about.GetDlgItemTextW(IDC_ABOUT_VERSION, version);
    EXPECT_EQ(version, CString(u"Version 2.7.29 (U)"));
    for (int i = 0; i < CAboutDlg::kLinkCount; ++i) {
        ASSERT_NE(m_about.Link(i).m_hWnd, nullptr) << i;
        EXPECT_FALSE(m_about.Link(i).GetUrl().IsEmpty()) << i;
        EXPECT_EQ(m_about.Link(i).GetLinkState(), CHLinkCtrl::kUnvisited);
    }
    // The template's icon control names the program icon by its number.
    HICON icon = nullptr;
    for (HWND child = ::GetWindow(m_about.m_hWnd, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
        if ((::GetWindowLongW(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON) {
            icon = reinterpret_cast<HICON>(::SendMessageW(child, STM_GETICON, 0, 0));
        }
    }
    EXPECT_NE(icon, nullptr) << "the About box shows no program icon";
}

TEST_F(AboutDialogTest, HoverClickAndLeaveFollowTheLinkStates) {
    CHLinkCtrl& link = m_about.Link(0);
    Move(link, 2, 2);
    EXPECT_EQ(link.GetLinkState(), CHLinkCtrl::kHover);
    EXPECT_EQ(link.GetLinkColour(), RGB(255, 0, 0));
    Move(link, -5, -5);
    EXPECT_EQ(link.GetLinkState(), CHLinkCtrl::kUnvisited);
    EXPECT_EQ(link.GetLinkColour(), RGB(0, 0, 255));

    // A click posts the open command to the link; the shell opens the address and the link turns visited.
    Move(link, 2, 2);
    link.SendMessageW(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
    MSG msg{};
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        ::DispatchMessageW(&msg);
    }
    ASSERT_EQ(m_launches.size(), 1u);
    EXPECT_EQ(m_launches[0].back(), apptest::Narrow(link.GetUrl()));
    EXPECT_EQ(link.GetLinkState(), CHLinkCtrl::kVisited);

    // Visited stays visited after another hover.
    Move(link, 3, 3);
    EXPECT_EQ(link.GetLinkState(), CHLinkCtrl::kHover);
    Move(link, -5, -5);
    EXPECT_EQ(link.GetLinkState(), CHLinkCtrl::kVisited);
    EXPECT_EQ(link.GetLinkColour(), RGB(128, 0, 128));
}

TEST_F(AboutDialogTest, FailedShellLeavesTheLinkUnvisited) {
    SetShellLauncher([](const ShellLaunch&) { return 2; });
    CHLinkCtrl& link = m_about.Link(1);
    link.SendMessageW(WM_COMMAND, MAKEWPARAM(ID_HLINK_OPEN, 0), 0);
    EXPECT_EQ(link.GetLinkState(), CHLinkCtrl::kUnvisited);
}

TEST_F(AboutDialogTest, CopyShortcutPutsTheAddressOnTheClipboard) {
    CHLinkCtrl& link = m_about.Link(3);
    link.SendMessageW(WM_COMMAND, MAKEWPARAM(ID_HLINK_COPY_SHORTCUT, 0), 0);
    ASSERT_TRUE(::OpenClipboard(nullptr));
    HANDLE data = ::GetClipboardData(CF_UNICODETEXT);
    ASSERT_NE(data, nullptr);
    const auto* text = static_cast<const char16_t*>(::GlobalLock(data));
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(CString(text), link.GetUrl());
    ::GlobalUnlock(data);
    ::CloseClipboard();
}

TEST_F(AboutDialogTest, KeyboardMenuOpensAtTheTopLeftPlusFiveAndToolTipsHitTheControl) {
    CHLinkCtrl& link = m_about.Link(2);
    CRect rect;
    link.GetWindowRect(&rect);
    EXPECT_EQ(link.ContextMenuPoint(CPoint(-1, -1)), CPoint(rect.left + 5, rect.top + 5));
    EXPECT_EQ(link.ContextMenuPoint(CPoint(40, 50)), CPoint(40, 50));

    TOOLINFO info{};
    EXPECT_EQ(link.OnToolHitTest(CPoint(1, 1), &info), 1);
    EXPECT_TRUE(info.uFlags & TTF_IDISHWND);
    EXPECT_EQ(info.uId, reinterpret_cast<UINT_PTR>(link.m_hWnd));
    EXPECT_EQ(link.OnToolHitTest(CPoint(-3, 1), &info), -1);
    link.EnableToolTips(FALSE);
    EXPECT_EQ(link.OnToolHitTest(CPoint(1, 1), &info), -1);
}

} // namespace
