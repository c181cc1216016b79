// Grids as the sheets of a tab window in a resizable frame: they share the tab window's scroll bars and
// keep their positions across switches, take their names from their tabs, and the size box, the frame and
// the window class that dialog templates use.
#include "grid/CGXTabWnd.h"
#include "platform/display/DisplayBackend.h"
#include "platform/display/ScrollBarApi.h"
#include "platform/framework/CFrameWnd.h"
#include "platform/framework/FrameworkTestSupport.h"
#include "tests/grid/GridEngineTestSupport.h"

namespace gridtest {
namespace {

class TabWndGridTest : public fwtest::FrameworkTest {
protected:
    void SetUp() override {
        GridLibraryState::Instance().isWindows4OrLater = TRUE;
        RegisterEngineClasses();
        m_frame = new CFrameWnd;
        ASSERT_TRUE(
            m_frame->Create(nullptr, u"Workbook", WS_OVERLAPPEDWINDOW | WS_VISIBLE, CRect(0, 0, 520, 320)));
        ASSERT_TRUE(
            m_tabs.Create(m_frame, WS_CHILD | WS_VISIBLE | WS_HSCROLL | WS_VSCROLL, AFX_IDW_PANE_FIRST));
        m_frame->RecalcLayout();
        const char16_t* names[2] = {u"Satellites", u"Positions"};
        for (int i = 0; i < 2; ++i) {
            ASSERT_TRUE(
                m_grids[i].Create(u"CGXGridWnd", u"", WS_CHILD, CRect(0, 0, 50, 50), &m_tabs, 10 + i));
            m_grids[i].InitializeFromStyle();
            m_grids[i].SetRowCount(200);
            m_grids[i].SetColCount(40);
            m_tabs.AttachSheet(&m_grids[i], names[i]);
        }
        m_tabs.RecalcLayout(); // as the frame's next resize does
        fwtest::DrainQueue();
    }
    void TearDown() override {
        m_tabs.DestroyWindow();
        m_frame->DestroyWindow(); // deletes the frame
        fwtest::FrameworkTest::TearDown();
    }
    CGXTabBeam& Beam() { return *m_tabs.m_pBeam; }
    HWND Bar(UINT id) { return ::GetDlgItem(m_tabs.GetSafeHwnd(), static_cast<int>(id)); }
    void ClickTab(int index, UINT message = WM_LBUTTONDOWN) {
        const int x = Beam().GetTabLeft(index) + Beam().m_nGap + Beam().GetTab(index).nWidth / 2;
        Beam().SendMessage(message, MK_LBUTTON, MAKELPARAM(x, 3));
        Beam().SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(x, 3));
        fwtest::DrainQueue();
    }
    // What the shared scroll bars send their parent.
    void Scroll(UINT message, UINT code, int times) {
        const HWND bar = Bar(message == WM_VSCROLL ? CGXTabWnd::kVertBarId : CGXTabWnd::kHorzBarId);
        for (int i = 0; i < times; ++i) {
            m_tabs.SendMessage(message, code, reinterpret_cast<LPARAM>(bar));
        }
    }

    CFrameWnd* m_frame = nullptr;
    CGXTabWnd m_tabs;
    TestGrid m_grids[2];
};

TEST_F(TabWndGridTest, GridsShareTheScrollBarsAndKeepTheirPositionsAcrossSwitches) {
    for (TestGrid& grid : m_grids) {
        EXPECT_EQ(grid.GetScrollBarMode(SB_VERT), 12) << "the tab window's bars";
        EXPECT_EQ(grid.GetScrollBarCtrl(SB_VERT)->GetSafeHwnd(), Bar(CGXTabWnd::kVertBarId));
        EXPECT_EQ(grid.GetScrollBarCtrl(SB_HORZ)->GetSafeHwnd(), Bar(CGXTabWnd::kHorzBarId));
    }
    Scroll(WM_VSCROLL, SB_LINEDOWN, 5);
    Scroll(WM_HSCROLL, SB_LINEDOWN, 2);
    EXPECT_EQ(m_grids[0].m_nTopRow, 6u);
    EXPECT_EQ(::GetScrollPos(Bar(CGXTabWnd::kVertBarId), SB_CTL), 6);
    EXPECT_EQ(::GetScrollPos(Bar(CGXTabWnd::kHorzBarId), SB_CTL), 3);

    ClickTab(1);
    ASSERT_EQ(m_tabs.GetActiveSheet(), &m_grids[1]);
    EXPECT_TRUE(m_grids[1].IsWindowVisible());
    EXPECT_FALSE(m_grids[0].IsWindowVisible());
    EXPECT_EQ(::GetScrollPos(Bar(CGXTabWnd::kVertBarId), SB_CTL), 1) << "the second grid's own position";
    Scroll(WM_VSCROLL, SB_LINEDOWN, 2);
    EXPECT_EQ(m_grids[1].m_nTopRow, 3u);
    EXPECT_EQ(m_grids[0].m_nTopRow, 6u) << "only the grid shown scrolls";

    ClickTab(0);
    ASSERT_EQ(m_tabs.GetActiveSheet(), &m_grids[0]);
    EXPECT_EQ(::GetScrollPos(Bar(CGXTabWnd::kVertBarId), SB_CTL), 6);
    EXPECT_EQ(::GetScrollPos(Bar(CGXTabWnd::kHorzBarId), SB_CTL), 3);
    ClickTab(1);
    EXPECT_EQ(::GetScrollPos(Bar(CGXTabWnd::kVertBarId), SB_CTL), 3);
    EXPECT_EQ(::GetScrollPos(Bar(CGXTabWnd::kHorzBarId), SB_CTL), 1);
}

TEST_F(TabWndGridTest, RenamingATabByKeyboardRenamesTheGridsSheet) {
    ClickTab(1);
    ClickTab(1, WM_LBUTTONDBLCLK);
    ASSERT_TRUE(m_tabs.IsRenaming());
    CGXEditLabelPopup* edit = m_tabs.GetRenameEdit();
    edit->SendMessage(WM_KEYDOWN, VK_END, 0);
    for (char16_t c : std::u16string(u" 2")) {
        edit->SendMessage(WM_CHAR, c, 0);
    }
    edit->SendMessage(WM_KEYDOWN, VK_RETURN, 0);
    fwtest::DrainQueue();
    EXPECT_FALSE(m_tabs.IsRenaming());
    EXPECT_EQ(*m_tabs.GetTabName(&m_grids[1]), CString(u"Positions 2"));
    EXPECT_EQ(m_grids[1].GetParam()->m_strTabName, CString(u"Positions 2"))
        << "the grid keeps its tab's name";
    EXPECT_TRUE(m_grids[0].GetParam()->m_strTabName.IsEmpty());

    // A grid whose parameter object forbids it keeps its name.
    m_grids[1].GetParam()->m_bTabFlag = FALSE;
    ClickTab(1, WM_LBUTTONDBLCLK);
    EXPECT_FALSE(m_tabs.IsRenaming());

    // Grids set and read their tab's name through the library's interface.
    CString name = u"Sky";
    GridLibraryState::Instance().tabWndInterface->TabNameOfWindow(&m_grids[0], name, TRUE);
    EXPECT_EQ(*m_tabs.GetTabName(&m_grids[0]), CString(u"Sky"));
    CString read;
    GridLibraryState::Instance().tabWndInterface->TabNameOfWindow(&m_grids[0], read, FALSE);
    EXPECT_EQ(read, CString(u"Sky"));
}

TEST_F(TabWndGridTest, ResizingLocksTheSheetsSizeWorkUntilTheLayoutIsDone) {
    CRect client;
    m_frame->GetClientRect(&client);
    m_frame->MoveWindow(0, 0, 400, 260);
    m_frame->RecalcLayout();
    CRect sheet;
    m_tabs.GetSheetRect(sheet);
    CRect grid;
    m_grids[0].GetClientRect(&grid);
    EXPECT_EQ(grid.Width(), sheet.Width()) << "the grid follows the sheet area";
    EXPECT_EQ(m_grids[0].SendMessage(WM_GX_INVALIDATERECT, 1, 0), 0);
    EXPECT_EQ(m_grids[0].SendMessage(WM_GX_INVALIDATERECT, 0, 0), 0);
    RECT update{};
    EXPECT_TRUE(::GetUpdateRect(m_grids[0].GetSafeHwnd(), &update, FALSE)) << "unlocking repaints the grid";
    EXPECT_EQ(m_grids[0].SendMessage(WM_GX_VALIDATEREQUEST, 1, 0), FALSE) << "a grid lets itself be entered";
}

TEST_F(TabWndGridTest, TheSizeBoxGripsOnlyInTheFramesCorner) {
    CWnd* box = m_tabs.GetDlgItem(CGXTabWnd::kSizeBoxId);
    ASSERT_NE(box, nullptr) << "a tab window in a frame has a size box";
    EXPECT_EQ(m_tabs.FindSizeGripFrame(), m_frame);
    EXPECT_TRUE(box->GetStyle() & SBS_SIZEGRIP);
    EXPECT_TRUE(box->IsWindowEnabled());
    CRect rect;
    box->GetWindowRect(&rect);
    m_tabs.ScreenToClient(&rect);
    CRect client;
    m_tabs.GetClientRect(&client);
    EXPECT_TRUE(rect.PtInRect(CPoint(client.right - 1, client.bottom - 1)))
        << "in the corner between the bars";

    m_tabs.MoveWindow(0, 0, 300, 200); // no longer in the frame's corner
    EXPECT_EQ(m_tabs.FindSizeGripFrame(), nullptr);
    EXPECT_TRUE(box->GetStyle() & SBS_SIZEBOX);
    EXPECT_FALSE(box->GetStyle() & SBS_SIZEGRIP);
    EXPECT_FALSE(box->IsWindowEnabled());
}

TEST_F(TabWndGridTest, TheBorderIsDrawnIntoTheParentAroundTheWindow) {
    m_tabs.MoveWindow(10, 10, 300, 200);
    m_frame->UpdateWindow();
    fwtest::DrainQueue();
    const COLORREF before = DisplayGetPixel(m_frame->GetSafeHwnd(), 8, 100);
    m_tabs.SendMessage(WM_NCPAINT, 1, 0);
    EXPECT_EQ(DisplayGetPixel(m_frame->GetSafeHwnd(), 8, 100), before) << "no border asked for";
    m_tabs.m_bBorder = TRUE;
    m_tabs.SendMessage(WM_NCPAINT, 1, 0);
    EXPECT_NE(DisplayGetPixel(m_frame->GetSafeHwnd(), 8, 100), before);
}

TEST(TabWndClass, AWindowOfTheClassMakesItsChildrenAtItsFirstLayoutAndDeletesItself) {
    CGXTabWnd::RegisterClass(AfxGetInstanceHandle());
    CWnd host;
    ASSERT_TRUE(host.CreateEx(0, AfxRegisterWndClass(0), u"dialog", WS_POPUP | WS_VISIBLE,
                              CRect(0, 0, 300, 200), nullptr, 0));
    // As a dialog template makes its controls: by class name, without an object.
    const HWND hwnd = ::CreateWindowExW(
        0, u"CGXTabWnd", u"", WS_CHILD | WS_VISIBLE, 0, 0, 280, 180, host.GetSafeHwnd(),
        reinterpret_cast<HMENU>(static_cast<UINT_PTR>(1001)), AfxGetInstanceHandle(), nullptr);
    ASSERT_NE(hwnd, nullptr);
    auto* tabs = dynamic_cast<CGXTabWnd*>(CWnd::FromHandlePermanent(hwnd));
    ASSERT_NE(tabs, nullptr);
    tabs->RecalcLayout();
    EXPECT_NE(::GetDlgItem(hwnd, CGXTabWnd::kHorzBarId), nullptr);
    EXPECT_NE(::GetDlgItem(hwnd, CGXTabWnd::kVertBarId), nullptr);
    EXPECT_NE(::GetDlgItem(hwnd, CGXTabWnd::kBeamId), nullptr);
    EXPECT_EQ(::GetDlgItem(hwnd, CGXTabWnd::kSizeBoxId), nullptr) << "a dialog is no frame";
    EXPECT_EQ(tabs->GetDlgCtrlID(), 1001);
    ::DestroyWindow(hwnd); // the object goes with it (the leak check would see it otherwise)
    EXPECT_EQ(CWnd::FromHandlePermanent(hwnd), nullptr);
    host.DestroyWindow();
    fwtest::DrainQueue();
}

TEST(TabWndClass, AWindowWhoseChildrenCannotBeMadeStaysEmpty) {
    CGXTabWnd::RegisterClass(AfxGetInstanceHandle());
    CWnd host;
    ASSERT_TRUE(host.CreateEx(0, AfxRegisterWndClass(0), u"dialog", WS_POPUP | WS_VISIBLE, CRect(0, 0, 300, 200),
                              nullptr, 0));
    // A scroll-bar class of the program's own that refuses every window hides the system's.
    WNDCLASSW refusing{};
    refusing.lpfnWndProc = [](HWND, UINT message, WPARAM, LPARAM) -> LRESULT {
        return message == WM_NCCREATE ? FALSE : 0;
    };
    refusing.hInstance = AfxGetInstanceHandle();
    refusing.lpszClassName = u"SCROLLBAR";
    ASSERT_TRUE(::RegisterClassW(&refusing));
    const HWND hwnd = ::CreateWindowExW(0, u"CGXTabWnd", u"", WS_CHILD | WS_VISIBLE, 0, 0, 280, 180,
                                        host.GetSafeHwnd(), nullptr, AfxGetInstanceHandle(), nullptr);
    auto* tabs = dynamic_cast<CGXTabWnd*>(CWnd::FromHandlePermanent(hwnd));
    ASSERT_NE(tabs, nullptr);
    tabs->MoveWindow(0, 0, 250, 150); // its layout asks for the children
    EXPECT_TRUE(::IsWindow(hwnd));
    EXPECT_EQ(::GetDlgItem(hwnd, CGXTabWnd::kHorzBarId), nullptr);
    CWnd sheet;
    EXPECT_EQ(tabs->AttachSheet(&sheet, u"None"), nullptr);
    ::UpdateWindow(hwnd);
    ::UnregisterClassW(u"SCROLLBAR", AfxGetInstanceHandle());
    tabs->RecalcLayout(); // a later layout makes them
    EXPECT_NE(::GetDlgItem(hwnd, CGXTabWnd::kHorzBarId), nullptr);
    host.DestroyWindow();
    fwtest::DrainQueue();
}

} // namespace
} // namespace gridtest
