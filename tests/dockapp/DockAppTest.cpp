// The docking test application driven by messages: the top row's shares, a splitter drag held by its
// limits, a float and re-dock by double-clicks that come back to the same place, and the layout read back
// by the next frame.
#include "DockApp.h"
#include "DockAppIds.h"
#include "DockAppTestSupport.h"

#include "platform/framework/FrameworkTestSupport.h"

#include <vector>

namespace dockapp {
namespace {

class DockAppTest : public fwtest::FrameworkTest {
protected:
    void SetUp() override {
        m_app.WriteProfileInt(u"DockApp Layout-Summary", u"Bars", 0); // no saved layout: the default
        m_app.WriteProfileInt(u"DockApp-ToolBars", u"Count", 0);
        m_frame = OpenDockAppFrame();
        ASSERT_NE(m_frame, nullptr);
        m_app.m_pMainWnd = m_frame;
    }
    void TearDown() override {
        if (m_frame) {
            m_frame->DestroyWindow();
        }
        m_app.m_pMainWnd = nullptr;
        fwtest::FrameworkTest::TearDown();
    }
    CWinApp m_app{u"DockApp"};
    DockAppFrame* m_frame = nullptr;
};

TEST_F(DockAppTest, TopRowIsSharedFourToSixAndSplitterDragsStopAtTheLimits) {
    CRect client;
    m_frame->GetClientRect(&client);
    ExpectTopRowSharedFourToSix(m_frame, m_frame->m_satellites, m_frame->m_log);
    // The dialog bar spans the bottom below the view, as high as its dialog, without the caption.
    CRect controls;
    m_frame->m_controls.GetWindowRect(&controls);
    CRect view;
    m_frame->m_view.GetWindowRect(&view);
    EXPECT_GE(controls.top, view.bottom);
    EXPECT_EQ(controls.Width(), client.Width());
    EXPECT_EQ(controls.Height(), m_frame->m_controls.m_sizeDefault.cy);
    EXPECT_FALSE(m_frame->m_controls.GetStyle() & WS_CAPTION);
    EXPECT_NE(m_frame->m_controls.GetDlgItem(IDC_DOCK_CONNECT), nullptr);

    ExpectInRowSplitterDragsStopAtTheLimits(m_frame, m_frame->m_satellites, m_frame->m_log);
}

TEST_F(DockAppTest, DoubleClicksFloatABarAndDockItBackWhereItWas) {
    ExpectDoubleClicksFloatAndDockBack(m_frame, m_frame->m_log, m_frame->m_satellites);
}

TEST_F(DockAppTest, TheNextFrameOpensWithTheLayoutTheLastOneClosedWith) {
    DragTopSplitter(m_frame, TRUE, CPoint(70, 0));
    m_frame->FloatControlBarEx(&m_frame->m_controls, 520, 330);
    m_frame->RecalcLayout();
    const CRect satellites = InParent(m_frame->m_satellites);
    const CRect log = InParent(m_frame->m_log);
    CRect floating;
    m_frame->m_controls.GetParentFrame()->GetWindowRect(&floating);
    m_frame->SendMessageW(WM_CLOSE);
    fwtest::DrainQueue();

    m_frame = OpenDockAppFrame();
    ASSERT_NE(m_frame, nullptr);
    m_app.m_pMainWnd = m_frame;
    EXPECT_EQ(InParent(m_frame->m_satellites), satellites);
    EXPECT_EQ(InParent(m_frame->m_log), log);
    ASSERT_TRUE(m_frame->m_controls.IsFloating());
    CRect back;
    m_frame->m_controls.GetParentFrame()->GetWindowRect(&back);
    EXPECT_EQ(back.TopLeft(), floating.TopLeft());
    EXPECT_EQ(back.Size(), floating.Size())
        << back.Width() << "x" << back.Height() << " " << floating.Width() << "x" << floating.Height();

    // A damaged saved layout is passed over: the default one shows.
    m_frame->SendMessageW(WM_CLOSE);
    fwtest::DrainQueue();
    m_app.WriteProfileString(u"DockApp Layout-Summary", u"Bars", u"");
    m_app.WriteProfileInt(u"DockApp Layout-Summary", u"Bars", 99);
    m_frame = OpenDockAppFrame();
    ASSERT_NE(m_frame, nullptr);
    m_app.m_pMainWnd = m_frame;
    EXPECT_FALSE(m_frame->m_controls.IsFloating());
    EXPECT_EQ(m_frame->m_controls.m_pDockBar, m_frame->GetControlBar(AFX_IDW_DOCKBAR_BOTTOM));
}

// The menu command opens the toolbar list; a toolbar hidden there and a button taken off the other come back
// at the next start, above the panels, with the menu bar still showing its menus.
TEST_F(DockAppTest, CustomisedToolBarsComeBackAtTheNextStart) {
    SECToolBarManager& manager = *m_frame->m_pManager;
    SECCustomToolBar* standard = manager.FindToolBar(ID_BAR_STANDARD);
    SECCustomToolBar* receiver = manager.FindToolBar(ID_BAR_RECEIVER);
    ASSERT_TRUE(standard && receiver);
    EXPECT_EQ(InParent(*standard).top, InParent(*receiver).top) << "the toolbars share a row";
    EXPECT_LT(InParent(*m_frame->m_pMenuBar).bottom, InParent(*standard).bottom);
    EXPECT_LE(InParent(*standard).bottom, InParent(m_frame->m_satellites).top);

    CString title;
    receiver->GetWindowTextW(title);
    EXPECT_EQ(title, CString(u"Receiver"));
    m_frame->SendMessageW(WM_COMMAND, ID_DOCK_CUSTOMIZE);
    ASSERT_TRUE(m_frame->m_pCustomize && m_frame->m_pCustomize->IsWindowVisible());
    EXPECT_TRUE(manager.IsCustomizing());
    SECToolBarListLogic& list = *m_frame->m_pCustomize->m_pLogic;
    CString item;
    list.m_list.GetText(list.FindItemById(ID_BAR_RECEIVER), item);
    EXPECT_EQ(item, title);
    list.m_list.SetCheck(list.FindItemById(ID_BAR_RECEIVER), 0); // as a click on its box does
    list.ToggleVisible(list.FindItemById(ID_BAR_RECEIVER));
    m_frame->m_pCustomize->SendMessageW(WM_COMMAND, IDOK);
    EXPECT_FALSE(manager.IsCustomizing());
    EXPECT_FALSE(receiver->IsWindowVisible());
    standard->RemoveButton(2); // Save
    const int menus = m_frame->m_pMenuBar->GetBtnCount();
    m_frame->SendMessageW(WM_CLOSE);
    fwtest::DrainQueue();

    m_frame = OpenDockAppFrame();
    ASSERT_NE(m_frame, nullptr);
    m_app.m_pMainWnd = m_frame;
    standard = m_frame->m_pManager->FindToolBar(ID_BAR_STANDARD);
    receiver = m_frame->m_pManager->FindToolBar(ID_BAR_RECEIVER);
    ASSERT_TRUE(standard && receiver);
    std::vector<UINT> ids;
    for (const SECStdBtn* b : standard->m_btns) {
        ids.push_back(b->m_nID);
    }
    EXPECT_EQ(ids, (std::vector<UINT>{ID_DOCK_NEW, ID_DOCK_OPEN, 0, ID_DOCK_CONNECT}));
    EXPECT_FALSE(receiver->IsWindowVisible());
    EXPECT_TRUE(standard->IsWindowVisible());
    EXPECT_EQ(m_frame->m_pMenuBar->GetBtnCount(), menus);
    EXPECT_LE(InParent(*standard).bottom, InParent(m_frame->m_satellites).top);
}

} // namespace
} // namespace dockapp
