// The docking-aware MDI frame: the default dock places handed out in turn, bars floated inside the main
// window in host windows at cascading places, and their way back to a dock bar; the bar layout through the
// frame's toolbar manager.
#include "DockTestSupport.h"
#include "ToolBarTestSupport.h"

#include "platform/base/CArchive.h"
#include "platform/base/CMemFile.h"
#include "platform/framework/CDockContext.h"
#include "toolkit/SECDockState.h"
#include "toolkit/SECFrameDocking.h"
#include "toolkit/SECMDIFrameWnd.h"
#include "toolkit/SECPersistentTreeNode.h"
#include "toolkit/SECToolBarManager.h"
#include "toolkit/ToolkitResourceIds.h"

namespace docktest {
namespace {

class MDIFrameTest : public fwtest::FrameworkTest {
protected:
    void SetUp() override {
        m_frame = new SECMDIFrameWnd;
        ASSERT_TRUE(m_frame->Create(nullptr, u"Main", WS_OVERLAPPEDWINDOW, CRect(0, 0, 800, 600)));
        m_app.m_pMainWnd = m_frame;
        m_frame->EnableDocking(CBRS_ALIGN_ANY);
        m_frame->ShowWindow(SW_SHOW);
    }
    void TearDown() override {
        m_bars.clear();
        if (m_app.m_pMainWnd) {
            m_app.m_pMainWnd->DestroyWindow();
            m_app.m_pMainWnd = nullptr;
        }
        fwtest::FrameworkTest::TearDown();
    }
    SECControlBar* AddBar(const char16_t* title) { return AddSizingBar(m_frame, m_bars, title); }

    CWinApp m_app{u"MDIFrameTest"};
    SECMDIFrameWnd* m_frame = nullptr;
    std::vector<std::unique_ptr<SECControlBar>> m_bars;
};

TEST_F(MDIFrameTest, DefaultDockPlacesGoRoundBottomLeftAndRight) {
    struct Expected {
        UINT id;
        SECDockPos pos;
    };
    constexpr DWORD kEndCol = SECDockPos::fromEndCol;
    constexpr DWORD kEndRowCol = SECDockPos::fromEndRow | SECDockPos::fromEndCol;
    constexpr DWORD kNew = SECDockPos::newRow;
    const Expected expected[] = {
        {AFX_IDW_DOCKBAR_BOTTOM, {0, 1, kEndCol | kNew}}, {AFX_IDW_DOCKBAR_LEFT, {1, 1, kEndRowCol | kNew}},
        {AFX_IDW_DOCKBAR_RIGHT, {0, 1, kEndCol | kNew}},  {AFX_IDW_DOCKBAR_BOTTOM, {0, 1, kEndCol}},
        {AFX_IDW_DOCKBAR_LEFT, {0, 1, kEndRowCol}},       {AFX_IDW_DOCKBAR_RIGHT, {0, 1, kEndCol}},
        {AFX_IDW_DOCKBAR_BOTTOM, {0, 1, kEndCol}},        {AFX_IDW_DOCKBAR_LEFT, {1, 1, kEndRowCol | kNew}},
    };
    for (std::size_t i = 0; i < std::size(expected); ++i) {
        UINT id = 0;
        SECDockPos pos;
        float proportion = 0;
        int size = 0;
        m_frame->GetNextDockPosition(id, pos, proportion, size);
        EXPECT_EQ(id, expected[i].id) << i;
        EXPECT_EQ(pos.nRow, expected[i].pos.nRow) << i;
        EXPECT_EQ(pos.nCol, expected[i].pos.nCol) << i;
        EXPECT_EQ(pos.dwFlags, expected[i].pos.dwFlags) << i;
        EXPECT_EQ(proportion, 1.0f);
        EXPECT_EQ(size, 150);
    }
    // The sequence is walked round: after its 18 places the first comes again.
    for (int i = 0; i < 18 - 8; ++i) {
        UINT id = 0;
        SECDockPos pos;
        float proportion = 0;
        int size = 0;
        m_frame->GetNextDockPosition(id, pos, proportion, size);
    }
    UINT id = 0;
    SECDockPos pos;
    float proportion = 0;
    int size = 0;
    m_frame->GetNextDockPosition(id, pos, proportion, size);
    EXPECT_EQ(id, static_cast<UINT>(AFX_IDW_DOCKBAR_BOTTOM));
    EXPECT_EQ(pos.dwFlags, kEndCol | kNew);

    m_frame->m_dockSequence.clear();
    m_frame->GetNextDockPosition(id, pos, proportion, size);
    EXPECT_EQ(id, static_cast<UINT>(AFX_IDW_DOCKBAR_BOTTOM));
    EXPECT_EQ(pos.dwFlags, kNew);
}

TEST_F(MDIFrameTest, FloatPlacesCascadeWrapAndClamp) {
    std::vector<CPoint> places;
    for (int i = 0; i < 4; ++i) {
        places.push_back(m_frame->NextMDIFloatPosition());
    }
    EXPECT_EQ(places[3], CPoint(90, 99));
    // Past the client's extent less 30 a direction starts again at 30.
    CRect client;
    ::GetClientRect(m_frame->m_hWndMDIClient, &client);
    m_frame->m_ptNextMDIFloat = CPoint(client.Width() - 40, client.Height() - 40);
    m_frame->NextMDIFloatPosition();
    EXPECT_EQ(m_frame->m_ptNextMDIFloat, CPoint(30, 30));
    m_frame->m_ptNextMDIFloat = CPoint(client.Width() - 60, client.Height() - 40);
    m_frame->NextMDIFloatPosition();
    EXPECT_EQ(m_frame->m_ptNextMDIFloat, CPoint(client.Width() - 40, 30));

    EXPECT_EQ(m_frame->ClampMDIFloatPosition(CPoint(50, client.Height() + 100)),
              CPoint(50, client.Height() - 30));
    EXPECT_EQ(m_frame->ClampMDIFloatPosition(CPoint(-5, -5)), CPoint(0, 0));
    EXPECT_EQ(m_frame->ClampMDIFloatPosition(CPoint(client.Width() + 9, 10)), CPoint(client.Width(), 10));
}

TEST_F(MDIFrameTest, ABarFloatsInsideTheMainWindowAndComesBack) {
    SECControlBar* bar = AddBar(u"Output");
    ASSERT_NE(bar, nullptr);
    m_frame->DockControlBarEx(bar, {0, 0, 0}, AFX_IDW_DOCKBAR_BOTTOM, 1.0f, 120);
    EXPECT_EQ(bar->m_pDockBar->GetDlgCtrlID(), AFX_IDW_DOCKBAR_BOTTOM);

    m_frame->FloatControlBarInMDIChild(bar, -1, -1);
    auto* dock = dynamic_cast<SECDockBar*>(bar->m_pDockBar);
    ASSERT_NE(dock, nullptr);
    EXPECT_TRUE(dock->m_bMDIHost);
    auto* host = dynamic_cast<SECControlBarMDIChildWnd*>(dock->GetParent());
    ASSERT_NE(host, nullptr);
    EXPECT_EQ(::GetParent(host->m_hWnd), m_frame->m_hWndMDIClient);
    EXPECT_TRUE(host->IsWindowVisible());
    CRect window;
    host->GetWindowRect(&window);
    ::ScreenToClient(m_frame->m_hWndMDIClient, reinterpret_cast<POINT*>(&window));
    EXPECT_EQ(window.TopLeft(), CPoint(30, 30));
    // The bar fills the host's client area, its borders just outside.
    CRect client;
    host->GetClientRect(&client);
    CRect barRect;
    bar->GetWindowRect(&barRect);
    host->ScreenToClient(&barRect);
    const ToolkitMetrics& m = SECGetToolkitMetrics();
    EXPECT_EQ(barRect, CRect(-m.cxBorder, -m.cyBorder, client.right + m.cxBorder, client.bottom + m.cyBorder));
    CString title;
    host->GetWindowTextW(title);
    EXPECT_EQ(title, u"Output");

    // Moving the host moves the bar's floating place; floating again there only moves the host.
    host->SetWindowPos(nullptr, 70, 40, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    CRect moved;
    host->GetWindowRect(&moved);
    EXPECT_EQ(bar->m_pDockContext->m_ptMRUFloatPos, moved.TopLeft());
    CPoint screen(10, 20);
    ::ClientToScreen(m_frame->m_hWndMDIClient, &screen);
    m_frame->FloatControlBarInMDIChild(bar, screen.x, screen.y);
    EXPECT_EQ(bar->m_pDockBar, dock);

    // Closing the host hides the bar instead of destroying it.
    host->SendMessageW(WM_CLOSE);
    EXPECT_TRUE(::IsWindow(host->m_hWnd));
    EXPECT_FALSE(bar->IsWindowVisible());
    EXPECT_FALSE(host->IsWindowVisible());

    // Docked again, the bar leaves its host, which goes.
    HWND hostWindow = host->m_hWnd;
    m_frame->ShowControlBar(bar, TRUE, FALSE);
    m_frame->DockControlBarEx(bar, {0, 0, 0}, AFX_IDW_DOCKBAR_LEFT, 1.0f, 120);
    EXPECT_EQ(bar->m_pDockBar->GetDlgCtrlID(), AFX_IDW_DOCKBAR_LEFT);
    EXPECT_FALSE(::IsWindow(hostWindow));
    EXPECT_EQ(m_frame->MDIGetActive(), nullptr);
}

TEST_F(MDIFrameTest, AUserToolBarComesBackThroughTheFramesToolBarManager) {
    auto manager = std::make_unique<SECToolBarManager>(m_frame);
    m_frame->SetToolBarManager(manager.get());
    SECCustomToolBar* bar = manager->CreateUserToolBar(u"Mine");
    ASSERT_NE(bar, nullptr);
    const std::vector<UINT> ids = {1000, 0, 1001};
    bar->SetButtons(ids.data(), static_cast<int>(ids.size()));
    m_frame->DockControlBarEx(bar, {0, 0, 0}, AFX_IDW_DOCKBAR_LEFT, 1.0f, 30);
    m_frame->SaveBarLayout(u"Mdi");

    // The next start makes no user toolbar of its own.
    manager.reset();
    m_frame->DestroyWindow();
    m_app.m_pMainWnd = nullptr;
    SetUp();
    manager = std::make_unique<SECToolBarManager>(m_frame);
    m_frame->SetToolBarManager(manager.get());
    ASSERT_TRUE(m_frame->LoadBarLayout(u"Mdi"));
    SECCustomToolBar* back = manager->FindToolBar(SEC_IDW_FIRST_USER_TOOLBAR);
    ASSERT_NE(back, nullptr);
    EXPECT_EQ(tbtest::ButtonIds(*back), ids);
    ASSERT_NE(back->m_pDockBar, nullptr);
    EXPECT_EQ(back->m_pDockBar->GetDlgCtrlID(), static_cast<int>(AFX_IDW_DOCKBAR_LEFT));
    manager.reset();
}

// Each form: the bar comes back in a host inside the main window, where the host stood; the profile and
// the tree keep the host's size too.
TEST_F(MDIFrameTest, ABarFloatingInsideTheMainWindowComesBackThereFromASavedLayout) {
    SECControlBar* bar = AddBar(u"Output");
    ASSERT_NE(bar, nullptr);
    const CRect hostAt(70, 40, 320, 200); // MDI client coordinates
    for (const char* form : {"profile", "archive", "tree"}) {
        m_frame->DockControlBarEx(bar, {0, 0, 0}, AFX_IDW_DOCKBAR_BOTTOM, 1.0f, 120);
        m_frame->FloatControlBarInMDIChild(bar, -1, -1);
        CWnd* host = bar->m_pDockBar->GetParent();
        host->SetWindowPos(nullptr, hostAt.left, hostAt.top, hostAt.Width(), hostAt.Height(),
                           SWP_NOZORDER | SWP_NOACTIVATE);
        CMemFile file;
        SECPersistentTreeNode root;
        root.Create(u"Layouts");
        const std::string which(form);
        if (which == "profile") {
            m_frame->SaveBarLayout(u"Mdi");
        } else if (which == "archive") {
            CArchive ar(&file, CArchive::store);
            SECSaveFrameBarLayout(m_frame, ar);
        } else {
            ASSERT_TRUE(SECSaveFrameBarLayout(m_frame, &root));
        }
        m_frame->DockControlBarEx(bar, {0, 0, 0}, AFX_IDW_DOCKBAR_LEFT, 1.0f, 120);
        ASSERT_FALSE(bar->IsFloating());

        if (which == "profile") {
            ASSERT_TRUE(m_frame->LoadBarLayout(u"Mdi"));
        } else if (which == "archive") {
            file.SeekToBegin();
            CArchive ar(&file, CArchive::load);
            ASSERT_TRUE(SECLoadFrameBarLayout(m_frame, ar));
        } else {
            ASSERT_TRUE(SECLoadFrameBarLayout(m_frame, &root));
        }
        auto* dock = dynamic_cast<SECDockBar*>(bar->m_pDockBar);
        ASSERT_NE(dock, nullptr) << form;
        ASSERT_TRUE(dock->m_bMDIHost) << form;
        CRect back;
        dock->GetParent()->GetWindowRect(&back);
        ::MapWindowPoints(nullptr, m_frame->m_hWndMDIClient, reinterpret_cast<POINT*>(&back), 2);
        EXPECT_EQ(back.TopLeft(), hostAt.TopLeft()) << form;
        if (which != "archive") {
            EXPECT_EQ(back, hostAt) << form;
        }
        EXPECT_TRUE(bar->IsWindowVisible()) << form;
    }
    // A placement of another size is damage: the layout is refused.
    for (int i = 0; i < 16; ++i) {
        CString section;
        section.Format(u"Mdi-Bar%d", i);
        if (m_app.GetProfileInt(section, u"BarID", 0) == static_cast<UINT>(bar->GetDlgCtrlID())) {
            const BYTE cut[] = {44, 0, 0};
            ASSERT_TRUE(SECDockState::WriteBinary(&m_app, section, u"MDIChildWindowPlacement", cut, 3));
        }
    }
    m_frame->DockControlBarEx(bar, {0, 0, 0}, AFX_IDW_DOCKBAR_LEFT, 1.0f, 120);
    EXPECT_FALSE(m_frame->LoadBarLayout(u"Mdi"));
    EXPECT_FALSE(bar->IsFloating());
}

} // namespace
} // namespace docktest
