// The tab window with plain windows as sheets: switching and renaming by driven mouse and keyboard
// messages, and the splitter between the tabs and the scroll bar.
#include "grid/CGXTabWnd.h"
#include "platform/framework/FrameworkTestSupport.h"
#include "tests/grid/GridTestSupport.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// A sheet that answers the tab window's questions as the test sets them and notes what it was told.
class Sheet : public CWnd {
    DECLARE_DYNCREATE(Sheet)

public:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        switch (message) {
        case WM_TAB_SWITCHING:
            asked.push_back(static_cast<int>(wParam));
            return refuse;
        case WM_TAB_CANRENAME:
            return allowRename;
        case WM_TAB_NAMECHANGED:
        case WM_TAB_ATTACHED:
            told.push_back(message);
            return 0;
        default:
            return CWnd::WindowProc(message, wParam, lParam);
        }
    }
    std::vector<int> asked;
    std::vector<UINT> told;
    BOOL refuse = FALSE;
    BOOL allowRename = TRUE;
};
IMPLEMENT_DYNCREATE(Sheet, CWnd)

class TabWndTest : public fwtest::FrameworkTest {
protected:
    void SetUp() override {
        LPCTSTR cls = AfxRegisterWndClass(CS_DBLCLKS);
        ASSERT_TRUE(m_frame.CreateEx(0, cls, u"Workbook", WS_OVERLAPPEDWINDOW | WS_VISIBLE, CRect(0, 0, 500, 300),
                                     nullptr, 0));
        ASSERT_TRUE(m_tabs.Create(&m_frame, WS_CHILD | WS_VISIBLE | WS_HSCROLL | WS_VSCROLL, 100));
        m_tabs.MoveWindow(0, 0, 480, 260);
        m_given.Create(AfxRegisterWndClass(CS_DBLCLKS), u"", WS_CHILD, CRect(0, 0, 10, 10), &m_tabs, 50);
        m_tabs.AttachSheet(&m_given, u"Given");
        m_made1 = static_cast<Sheet*>(m_tabs.CreateSheet(RUNTIME_CLASS(Sheet), u"Made"));
        m_made2 = static_cast<Sheet*>(m_tabs.CreateSheet(RUNTIME_CLASS(Sheet), u"Third"));
        ASSERT_NE(m_made1, nullptr);
        fwtest::DrainQueue();
    }
    void TearDown() override {
        m_tabs.DestroyWindow();
        delete m_made1;
        delete m_made2;
        m_frame.DestroyWindow();
        fwtest::FrameworkTest::TearDown();
    }
    CGXTabBeam& Beam() { return *m_tabs.m_pBeam; }
    void ClickTab(int index, UINT message = WM_LBUTTONDOWN) {
        const int x = Beam().GetTabLeft(index) + Beam().m_nGap + Beam().GetTab(index).nWidth / 2;
        Beam().SendMessage(message, MK_LBUTTON, MAKELPARAM(x, 3));
        Beam().SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(x, 3));
        fwtest::DrainQueue();
    }

    CWnd m_frame;
    CGXTabWnd m_tabs;
    Sheet m_given;
    Sheet* m_made1 = nullptr;
    Sheet* m_made2 = nullptr;
};

TEST_F(TabWndTest, ClickingATabSwitchesSheetsAfterBothAgreed) {
    EXPECT_EQ(m_tabs.GetActiveSheet(), &m_given) << "the first sheet attached is shown";
    EXPECT_TRUE(m_given.IsWindowVisible());
    EXPECT_EQ(m_made1->told, (std::vector<UINT>{WM_TAB_ATTACHED}));
    CRect sheet;
    m_tabs.GetSheetRect(sheet);
    CRect placed;
    m_given.GetWindowRect(&placed);
    m_tabs.ScreenToClient(&placed);
    EXPECT_EQ(placed, sheet) << "the active sheet covers the sheet area";

    ClickTab(1);
    EXPECT_EQ(m_tabs.GetActiveSheet(), m_made1);
    EXPECT_TRUE(m_made1->IsWindowVisible());
    EXPECT_FALSE(m_given.IsWindowVisible());
    EXPECT_EQ(Beam().m_nCurrent, 1);
    // Once when the beam selects the tab and once when the window switches.
    EXPECT_EQ(m_given.asked, (std::vector<int>{0, 0}));
    EXPECT_EQ(m_made1->asked, (std::vector<int>{1, 1}));

    m_made2->refuse = TRUE;
    ClickTab(2);
    EXPECT_EQ(m_tabs.GetActiveSheet(), m_made1) << "a sheet that refuses to be entered is not shown";
    EXPECT_EQ(Beam().m_nCurrent, 1);
    EXPECT_EQ(::GetFocus(), m_made1->GetSafeHwnd()) << "the focus goes back to the active sheet";

    m_tabs.SwitchToSheet(&m_given);
    EXPECT_EQ(m_tabs.GetActiveSheet(), &m_given);
    EXPECT_EQ(Beam().m_nCurrent, 0);
}

TEST_F(TabWndTest, DoubleClickOpensTheRenameEditAndEnterOrEscapeEndsIt) {
    const int widthBefore = Beam().GetTab(0).nWidth;
    ClickTab(0, WM_LBUTTONDBLCLK);
    ASSERT_TRUE(m_tabs.IsRenaming());
    CGXEditLabelPopup* edit = m_tabs.GetRenameEdit();
    CString text;
    edit->GetWindowText(text);
    EXPECT_EQ(text, CString(u"Given"));
    CRect box;
    edit->GetWindowRect(&box);
    m_tabs.ScreenToClient(&box);
    EXPECT_GE(box.left, 0);
    edit->SetWindowText(u"");
    for (char16_t c : std::u16string(u"Renamed sheet")) {
        edit->SendMessage(WM_CHAR, c, 0);
    }
    edit->SendMessage(WM_KEYDOWN, VK_RETURN, 0);
    fwtest::DrainQueue();
    EXPECT_FALSE(m_tabs.IsRenaming());
    EXPECT_EQ(*m_tabs.GetTabName(&m_given), CString(u"Renamed sheet"));
    EXPECT_GT(Beam().GetTab(0).nWidth, widthBefore) << "the tab grows with its name";
    EXPECT_EQ(m_given.told.back(), static_cast<UINT>(WM_TAB_NAMECHANGED));

    ClickTab(0, WM_LBUTTONDBLCLK);
    ASSERT_TRUE(m_tabs.IsRenaming());
    m_tabs.GetRenameEdit()->SendMessage(WM_CHAR, u'x', 0);
    m_tabs.GetRenameEdit()->SendMessage(WM_KEYDOWN, VK_ESCAPE, 0);
    fwtest::DrainQueue();
    EXPECT_FALSE(m_tabs.IsRenaming());
    EXPECT_EQ(*m_tabs.GetTabName(&m_given), CString(u"Renamed sheet")) << "Escape keeps the name";

    m_given.allowRename = FALSE;
    ClickTab(0, WM_LBUTTONDBLCLK);
    EXPECT_FALSE(m_tabs.IsRenaming()) << "a sheet that does not allow it keeps its name";
}

TEST_F(TabWndTest, SplitterDragIsBoundedAndResizeScalesItsPosition) {
    CRect client;
    m_tabs.GetClientRect(&client);
    EXPECT_EQ(m_tabs.m_nSplitterX, client.right / 2) << "the first layout splits at half the width";
    const int y = client.bottom - 3;
    const int grab = m_tabs.m_nSplitterX + 2;
    m_tabs.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(grab, y));
    ASSERT_TRUE(m_tabs.m_bTracking);
    const int leftLimit = Beam().m_nButtonsWidth + 20;
    const int rightLimit = client.right - 2 * m_tabs.m_nBeamHeight;
    for (int x : {leftLimit - 1, rightLimit + 1}) {
        const int before = m_tabs.m_nSplitterX;
        m_tabs.SendMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(x, y));
        EXPECT_EQ(m_tabs.m_nSplitterX, before) << x;
    }
    m_tabs.SendMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(leftLimit, y));
    m_tabs.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(leftLimit, y));
    EXPECT_FALSE(m_tabs.m_bTracking);
    EXPECT_EQ(m_tabs.m_nSplitterX, leftLimit);
    EXPECT_EQ(Beam().m_nRepaintFrom, -1);
    CRect beam;
    Beam().GetWindowRect(&beam);
    EXPECT_EQ(beam.Width(), leftLimit + 2) << "the beam ends at the splitter";

    // The part right of buttons width - 20 scales with the width.
    const int c = Beam().m_nButtonsWidth - 20;
    m_tabs.MoveWindow(0, 0, 240, 260);
    m_tabs.GetClientRect(&client);
    EXPECT_EQ(m_tabs.m_nSplitterX, (client.right * (leftLimit - c) * 100 / 480 + c * 100) / 100);
    m_tabs.SendMessage(WM_SIZE, SIZE_MINIMIZED, MAKELPARAM(10, 10));
    EXPECT_EQ(m_tabs.m_nLastWidth, client.right) << "a minimised size moves nothing";
}

} // namespace
