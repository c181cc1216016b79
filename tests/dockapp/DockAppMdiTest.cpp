// The multiple-document docking application driven by messages: the top row's shares beside three document
// windows, a float and re-dock that comes back to the same place, the layout read back by the next frame,
// and bars floated inside the main window placed at cascading places.
#include "DockAppMdi.h"
#include "DockAppTestSupport.h"

#include "platform/framework/FrameworkTestSupport.h"

namespace dockapp {
namespace {

class DockAppMdiTest : public fwtest::FrameworkTest {
protected:
    void SetUp() override {
        m_app.WriteProfileInt(u"DockApp MDI Layout-Summary", u"Bars", 0); // no saved layout: the default
        Open();
    }
    void TearDown() override {
        if (m_frame) {
            m_frame->DestroyWindow();
        }
        m_app.m_pMainWnd = nullptr;
        fwtest::FrameworkTest::TearDown();
    }
    void Open() {
        m_frame = OpenDockAppMdiFrame();
        ASSERT_NE(m_frame, nullptr);
        m_app.m_pMainWnd = m_frame;
    }
    void CloseAndReopen() {
        m_frame->SendMessageW(WM_CLOSE);
        fwtest::DrainQueue();
        Open();
    }
    CRect MdiClientArea() {
        CRect r;
        ::GetWindowRect(m_frame->m_hWndMDIClient, &r);
        m_frame->ScreenToClient(&r);
        return r;
    }

    CWinApp m_app{u"DockApp"};
    DockAppMdiFrame* m_frame = nullptr;
};

TEST_F(DockAppMdiTest, PanelsShareTheTopRowAboveTheDocumentsAndTheControlsBelow) {
    ASSERT_EQ(m_frame->m_documents.size(), 3u);
    CRect client;
    m_frame->GetClientRect(&client);
    ExpectTopRowSharedFourToSix(m_frame, m_frame->m_satellites, m_frame->m_log);
    // The MDI client takes what the bars leave: below the panels, above the controls.
    CRect controls;
    m_frame->m_controls.GetWindowRect(&controls);
    m_frame->ScreenToClient(&controls);
    const CRect area = MdiClientArea();
    EXPECT_GE(area.top, InParent(m_frame->m_satellites).bottom);
    EXPECT_LE(area.bottom, controls.top);
    EXPECT_EQ(controls.Width(), client.Width());
    // The three documents live in the client, the last one opened active.
    for (DocumentFrame* document : m_frame->m_documents) {
        EXPECT_EQ(::GetParent(document->m_hWnd), m_frame->m_hWndMDIClient);
    }
    EXPECT_EQ(m_frame->MDIGetActive(), m_frame->m_documents.back());
}

// Between the panels 24 pixels stay for each; between the panels' row and the documents 19 pixels stay for
// each side.
TEST_F(DockAppMdiTest, SplitterDragsStopAtTheLimits) {
    ExpectInRowSplitterDragsStopAtTheLimits(m_frame, m_frame->m_satellites, m_frame->m_log);
    const CRect area = MdiClientArea();
    DragTopSplitter(m_frame, FALSE, CPoint(0, 5000));
    EXPECT_EQ(MdiClientArea().Height(), SECDockBar::kMinRowThickness);
    EXPECT_EQ(MdiClientArea().bottom, area.bottom);
    EXPECT_EQ(InParent(m_frame->m_log).Height(), InParent(m_frame->m_satellites).Height());
    DragTopSplitter(m_frame, FALSE, CPoint(0, -5000));
    EXPECT_EQ(InParent(m_frame->m_satellites).Height(), SECDockBar::kMinRowThickness);
    EXPECT_EQ(InParent(m_frame->m_log).Height(), SECDockBar::kMinRowThickness);
    DragTopSplitter(m_frame, FALSE, CPoint(0, 50));
    EXPECT_EQ(InParent(m_frame->m_satellites).Height(), SECDockBar::kMinRowThickness + 50);
}

TEST_F(DockAppMdiTest, DoubleClicksFloatABarAndDockItBackWhereItWas) {
    const CRect areaBefore = MdiClientArea();
    ExpectDoubleClicksFloatAndDockBack(m_frame, m_frame->m_log, m_frame->m_satellites);
    EXPECT_EQ(MdiClientArea(), areaBefore);
}

TEST_F(DockAppMdiTest, TheNextFrameOpensWithTheLayoutTheLastOneClosedWith) {
    m_frame->FloatControlBarEx(&m_frame->m_controls, 520, 330);
    m_frame->DockControlBarAtRowColEx(&m_frame->m_log, AFX_IDW_DOCKBAR_LEFT, 0, 0, 1.0f, 180);
    m_frame->RecalcLayout();
    const CRect satellites = InParent(m_frame->m_satellites);
    const CRect log = InParent(m_frame->m_log);
    CRect floating;
    m_frame->m_controls.GetParentFrame()->GetWindowRect(&floating);
    CloseAndReopen();

    EXPECT_EQ(m_frame->m_log.m_pDockBar, m_frame->GetControlBar(AFX_IDW_DOCKBAR_LEFT));
    EXPECT_EQ(InParent(m_frame->m_satellites), satellites);
    EXPECT_EQ(InParent(m_frame->m_log), log);
    ASSERT_TRUE(m_frame->m_controls.IsFloating());
    CRect back;
    m_frame->m_controls.GetParentFrame()->GetWindowRect(&back);
    EXPECT_EQ(back, floating);
}

// Bars floated inside the main window without a place cascade from (30, 30) by (20, 23): a bar taken back
// and floated again is the fourth host, at (90, 99). Closing a host hides its bar.
TEST_F(DockAppMdiTest, BarsFloatedInsideTheMainWindowCascade) {
    auto hostOf = [](CControlBar& bar) { return dynamic_cast<SECMDIFloatHost*>(bar.GetParentFrame()); };
    auto placeOf = [this](CWnd* host) {
        CRect r;
        host->GetWindowRect(&r);
        ::ScreenToClient(m_frame->m_hWndMDIClient, reinterpret_cast<POINT*>(&r));
        return r.TopLeft();
    };
    CControlBar* bars[] = {&m_frame->m_satellites, &m_frame->m_log, &m_frame->m_controls};
    const CPoint expected[] = {{30, 30}, {50, 53}, {70, 76}};
    for (int i = 0; i < 3; ++i) {
        m_frame->FloatControlBarInMDIChild(bars[i], -1, -1);
        SECMDIFloatHost* host = hostOf(*bars[i]);
        ASSERT_NE(host, nullptr) << i;
        EXPECT_EQ(::GetParent(host->HostWindow()->m_hWnd), m_frame->m_hWndMDIClient);
        EXPECT_EQ(placeOf(host->HostWindow()), expected[i]) << i;
    }
    m_frame->DockControlBarAtRowColEx(&m_frame->m_satellites, AFX_IDW_DOCKBAR_TOP, 0, 0, 1.0f, 110);
    ASSERT_EQ(hostOf(m_frame->m_satellites), nullptr);
    m_frame->FloatControlBarInMDIChild(&m_frame->m_satellites, -1, -1);
    SECMDIFloatHost* fourth = hostOf(m_frame->m_satellites);
    ASSERT_NE(fourth, nullptr);
    EXPECT_EQ(placeOf(fourth->HostWindow()), CPoint(90, 99));

    fourth->HostWindow()->SendMessageW(WM_CLOSE);
    EXPECT_FALSE(m_frame->m_satellites.IsWindowVisible());
    EXPECT_FALSE(fourth->HostWindow()->IsWindowVisible());
}

} // namespace
} // namespace dockapp

namespace dockapp {
namespace {

// As a workbook each document has a tab below the client, 90 wide at most, and a click on one activates its
// document.
TEST_F(DockAppMdiTest, AsAWorkbookEachDocumentHasATabThatActivatesIt) {
    m_frame->ShowAsWorkbook();
    ASSERT_EQ(m_frame->m_sheets.size(), 3u);
    EXPECT_EQ(m_frame->m_nTabWidth, 90);
    const CRect area = MdiClientArea();
    CRect controls;
    m_frame->m_controls.GetWindowRect(&controls);
    m_frame->ScreenToClient(&controls);
    EXPECT_LE(area.bottom + 4 + m_frame->m_nTabHeight, controls.top);
    DocumentFrame* first = m_frame->m_documents.front();
    const CPoint onFirst(area.left + 20, area.bottom + 12);
    m_frame->SendMessageW(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(onFirst.x, onFirst.y));
    m_frame->SendMessageW(WM_LBUTTONUP, 0, MAKELPARAM(onFirst.x, onFirst.y));
    EXPECT_EQ(m_frame->MDIGetActive(), first);
    // A closed document takes its tab with it.
    first->SendMessageW(WM_CLOSE);
    fwtest::DrainQueue();
    ASSERT_EQ(m_frame->m_sheets.size(), 2u);
    EXPECT_EQ(m_frame->m_sheets.front()->m_nIndex, 0);
}

} // namespace
} // namespace dockapp
