// The properties pane of the multiple-document docking application driven by messages: docked on the right
// beside the documents; one active caption shared with the documents; commands and F5 reaching it only while
// it is the active one; floated and docked back to the same place with its caption and borders dragging.
#include "DockAppMdi.h"
#include "DockAppTestSupport.h"
#include "DockAppIds.h"

#include "platform/framework/FrameworkTestSupport.h"
#include "platform/resources/Resources.h"
#include "toolkit/SECFrameBar.h"

#include <map>

namespace dockapp {
namespace {

// The last caption state each window was told (WM_NCACTIVATE).
std::map<HWND, BOOL>* g_captions = nullptr;

LRESULT CALLBACK RecordCaption(int code, WPARAM wParam, LPARAM lParam) {
    const auto* msg = reinterpret_cast<const CWPSTRUCT*>(lParam);
    if (code >= 0 && g_captions && msg->message == WM_NCACTIVATE) {
        (*g_captions)[msg->hwnd] = msg->wParam != 0;
    }
    return ::CallNextHookEx(nullptr, code, wParam, lParam);
}

class DockAppPropertiesTest : public fwtest::FrameworkTest {
protected:
    void SetUp() override {
        DolivaInstallResourceHooks();
        m_app.WriteProfileInt(u"DockApp MDI Layout-Summary", u"Bars", 0);
        m_frame = OpenDockAppMdiFrame();
        ASSERT_NE(m_frame, nullptr);
        m_app.m_pMainWnd = m_frame;
        m_pane = m_frame->m_pProperties;
        ASSERT_NE(m_pane, nullptr);
        g_captions = &m_captions;
        m_hook = ::SetWindowsHookExW(WH_CALLWNDPROC, RecordCaption, nullptr, ::GetCurrentThreadId());
    }
    void TearDown() override {
        ::UnhookWindowsHookEx(m_hook);
        g_captions = nullptr;
        if (m_frame) {
            m_frame->DestroyWindow();
        }
        m_app.m_pMainWnd = nullptr;
        fwtest::FrameworkTest::TearDown();
    }
    CControlBar& Bar() { return *m_pane->GetHostBar(); }
    int Refreshes() { return PropertiesViewOf(m_pane)->m_nRefreshes; }
    bool CaptionActive(CWnd* wnd) { return m_captions.count(wnd->m_hWnd) && m_captions[wnd->m_hWnd]; }
    CPoint CaptionPoint() {
        CRect r;
        m_pane->GetWindowRect(&r);
        return r.TopLeft() + CPoint(30, 6);
    }

    CWinApp m_app{u"DockApp"};
    DockAppMdiFrame* m_frame = nullptr;
    SECDockableFrame* m_pane = nullptr;
    std::map<HWND, BOOL> m_captions;
    HHOOK m_hook = nullptr;
};

TEST_F(DockAppPropertiesTest, ThePaneDocksOnTheRightAndFillsItsBar) {
    EXPECT_EQ(Bar().m_pDockBar, m_frame->GetControlBar(AFX_IDW_DOCKBAR_RIGHT));
    EXPECT_TRUE(Bar().IsKindOf(RUNTIME_CLASS(SECFrameBar)));
    CRect bar;
    Bar().GetClientRect(&bar);
    EXPECT_EQ(InParent(*m_pane), bar);
    EXPECT_EQ(InParent(Bar()).Width(), 180);
    // Its caption is the title from its resource, in a tool-window caption.
    CString title;
    m_pane->GetWindowTextW(title);
    EXPECT_EQ(std::u16string(title.GetString()), std::u16string(u"Properties"));
    EXPECT_TRUE(m_pane->GetExStyle() & WS_EX_TOOLWINDOW);
    CRect client;
    ::GetWindowRect(m_frame->m_hWndMDIClient, &client);
    CRect pane;
    Bar().GetWindowRect(&pane);
    EXPECT_LE(client.right, pane.left) << "the documents end where the pane starts";
}

TEST_F(DockAppPropertiesTest, ThePaneAndTheDocumentsShareOneActiveCaption) {
    DocumentFrame* document = m_frame->m_documents.back();
    ASSERT_EQ(m_frame->MDIGetActive(), document);
    m_pane->SendMessageW(WM_MOUSEACTIVATE, reinterpret_cast<WPARAM>(m_frame->m_hWnd),
                         MAKELPARAM(HTCLIENT, WM_LBUTTONDOWN));
    EXPECT_EQ(m_frame->GetActiveDockableFrame(), m_pane);
    EXPECT_EQ(m_frame->GetActiveFrame(), m_pane);
    EXPECT_TRUE(CaptionActive(m_pane));
    EXPECT_FALSE(CaptionActive(document)) << "the document's caption goes inactive";
    EXPECT_EQ(m_frame->MDIGetActive(), document) << "the document stays the client's active child";

    // A click into another document takes the active caption back.
    DocumentFrame* first = m_frame->m_documents.front();
    first->SendMessageW(WM_MOUSEACTIVATE, reinterpret_cast<WPARAM>(m_frame->m_hWnd),
                        MAKELPARAM(HTCLIENT, WM_LBUTTONDOWN));
    EXPECT_EQ(m_frame->GetActiveDockableFrame(), nullptr);
    EXPECT_EQ(m_frame->MDIGetActive(), first);
    EXPECT_FALSE(CaptionActive(m_pane));
    EXPECT_TRUE(CaptionActive(first));

    // A click into the pane's view activates it too (the view tells its parent frame).
    PropertiesView* view = PropertiesViewOf(m_pane);
    m_pane->SendMessageW(WM_PARENTNOTIFY, WM_LBUTTONDOWN, MAKELPARAM(5, 5));
    EXPECT_EQ(m_frame->GetActiveDockableFrame(), m_pane);
    EXPECT_FALSE(CaptionActive(first));
    EXPECT_EQ(CWnd::GetFocus(), view);
}

TEST_F(DockAppPropertiesTest, CommandsAndTheF5KeyReachThePaneOnlyWhileItIsActive) {
    m_frame->SendMessageW(WM_COMMAND, ID_DOCK_REFRESH);
    EXPECT_EQ(Refreshes(), 0) << "a document is the active frame";
    m_frame->SetActiveDockableFrame(m_pane);
    m_frame->SendMessageW(WM_COMMAND, ID_DOCK_REFRESH);
    EXPECT_EQ(Refreshes(), 1);
    // F5 pressed in the pane's view: the pane's accelerator sends Refresh through the main window.
    MSG key{};
    key.hwnd = PropertiesViewOf(m_pane)->m_hWnd;
    key.message = WM_KEYDOWN;
    key.wParam = VK_F5;
    EXPECT_TRUE(m_pane->PreTranslateMessage(&key));
    EXPECT_EQ(Refreshes(), 2);

    m_frame->DeactivateDockableFrame(TRUE);
    m_frame->SendMessageW(WM_COMMAND, ID_DOCK_REFRESH);
    EXPECT_EQ(Refreshes(), 2);
    EXPECT_TRUE(CaptionActive(m_frame->m_documents.back())) << "the document shows active again";
}

TEST_F(DockAppPropertiesTest, FloatedThePaneTakesTheCaptionAndDocksBackWhereItWas) {
    const CRect before = InParent(Bar());
    const DWORD dockedStyle = m_pane->GetStyle();
    // A double-click on the docked pane's caption floats its bar.
    const CPoint caption = CaptionPoint();
    m_pane->SendMessageW(WM_NCLBUTTONDBLCLK, HTCAPTION, MAKELPARAM(caption.x, caption.y));
    ASSERT_TRUE(Bar().IsFloating());
    EXPECT_TRUE(m_pane->IsHostFloating());
    CFrameWnd* floating = Bar().GetParentFrame();
    ASSERT_NE(floating, m_frame);
    // The pane wears the main window's caption and borders; the floating frame around it has none.
    EXPECT_EQ(m_pane->GetStyle() & (WS_CAPTION | WS_THICKFRAME | WS_SYSMENU), WS_CAPTION | WS_THICKFRAME | WS_SYSMENU);
    EXPECT_EQ(floating->GetStyle() & (WS_CAPTION | WS_THICKFRAME), 0u);
    CRect outer;
    floating->GetWindowRect(&outer);
    CRect pane;
    m_pane->GetWindowRect(&pane);
    EXPECT_EQ(pane, outer) << "the pane covers its floating frame";

    // A double-click on the floating pane's caption docks it back.
    const CPoint floatingCaption = CaptionPoint();
    m_pane->SendMessageW(WM_NCLBUTTONDBLCLK, HTCAPTION, MAKELPARAM(floatingCaption.x, floatingCaption.y));
    ASSERT_FALSE(Bar().IsFloating());
    m_frame->RecalcLayout();
    EXPECT_EQ(InParent(Bar()), before);
    EXPECT_EQ(m_pane->GetStyle(), dockedStyle);
}

// Docked, the caption and the borders both start a drag of the bar (the splitters size a docked bar);
// released over the documents with Ctrl held, the bar floats there.
TEST_F(DockAppPropertiesTest, TheDockedPaneDragsByItsCaptionAndItsBorders) {
    for (UINT hit : {static_cast<UINT>(HTCAPTION), static_cast<UINT>(HTLEFT), static_cast<UINT>(HTBOTTOM)}) {
        m_frame->DockControlBarAtRowColEx(&Bar(), AFX_IDW_DOCKBAR_RIGHT, 0, 0, 1.0f, 180);
        m_frame->RecalcLayout();
        ASSERT_FALSE(Bar().IsFloating());
        CRect r;
        m_pane->GetWindowRect(&r);
        const CPoint start = hit == HTCAPTION ? CaptionPoint()
                             : hit == HTLEFT  ? CPoint(r.left, r.top + 60)
                                              : CPoint(r.left + 40, r.bottom - 1);
        CRect client;
        ::GetWindowRect(m_frame->m_hWndMDIClient, &client);
        CPoint drop = client.CenterPoint();
        Bar().ScreenToClient(&drop);
        Bar().PostMessageW(WM_KEYDOWN, VK_CONTROL, 0);
        Bar().PostMessageW(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(drop.x, drop.y));
        Bar().PostMessageW(WM_LBUTTONUP, 0, MAKELPARAM(drop.x, drop.y));
        m_pane->SendMessageW(WM_NCLBUTTONDOWN, hit, MAKELPARAM(start.x, start.y));
        EXPECT_TRUE(Bar().IsFloating()) << hit;
        EXPECT_EQ(m_frame->GetActiveDockableFrame(), m_pane) << hit;
        EXPECT_EQ(CWnd::GetCapture(), nullptr);
        fwtest::DrainQueue();
    }
}

// The pane's place is part of the saved layout: moved to the left, it opens there in the next frame.
TEST_F(DockAppPropertiesTest, TheNextFrameOpensWithThePaneWhereTheLastOneLeftIt) {
    m_frame->DockControlBarAtRowColEx(&Bar(), AFX_IDW_DOCKBAR_LEFT, 0, 0, 1.0f, 150);
    m_frame->RecalcLayout();
    const CRect before = InParent(Bar());
    m_frame->SendMessageW(WM_CLOSE);
    fwtest::DrainQueue();
    m_frame = OpenDockAppMdiFrame();
    ASSERT_NE(m_frame, nullptr);
    m_app.m_pMainWnd = m_frame;
    m_pane = m_frame->m_pProperties;
    EXPECT_EQ(Bar().m_pDockBar, m_frame->GetControlBar(AFX_IDW_DOCKBAR_LEFT));
    EXPECT_EQ(InParent(Bar()), before);
    CRect client;
    Bar().GetClientRect(&client);
    EXPECT_EQ(InParent(*m_pane), client);
}

// Closing the active pane (its close box while it floats) takes its bar and any floating frame with it; the
// documents' caption shows active again.
TEST_F(DockAppPropertiesTest, ClosingTheActivePaneDestroysItsBar) {
    m_frame->FloatControlBarEx(&Bar(), 420, 330);
    CFrameWnd* floating = Bar().GetParentFrame();
    ASSERT_NE(floating, m_frame);
    HWND floatingWnd = floating->m_hWnd;
    m_frame->SetActiveDockableFrame(m_pane);
    HWND bar = Bar().m_hWnd;
    CRect r;
    m_pane->GetWindowRect(&r);
    // The close box is the pane's own: pressed and released over it, the pane closes.
    const CPoint close(r.right - 8, r.top + 8);
    ::SetCursorPos(close.x, close.y);
    ::PostMessageW(m_pane->m_hWnd, WM_LBUTTONUP, 0, 0);
    m_pane->SendMessageW(WM_NCLBUTTONDOWN, HTCLOSE, MAKELPARAM(close.x, close.y));
    fwtest::DrainQueue();
    EXPECT_FALSE(::IsWindow(bar));
    EXPECT_FALSE(::IsWindow(floatingWnd) && ::IsWindowVisible(floatingWnd)) << "no empty floating frame stays";
    EXPECT_EQ(m_frame->GetActiveDockableFrame(), nullptr);
    EXPECT_EQ(m_frame->GetControlBar(ID_BAR_PROPERTIES), nullptr);
    EXPECT_TRUE(CaptionActive(m_frame->m_documents.back()));
    m_frame->m_pProperties = nullptr;
    m_frame->RecalcLayout();
}

} // namespace
} // namespace dockapp
