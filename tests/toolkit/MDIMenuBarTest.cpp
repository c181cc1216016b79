// The docking-aware MDI frame's menu bar: the frame's own menu or the active document window's by its id,
// the document windows listed in the window popup, and a maximised document window's icon and caption
// buttons on the bar, driven with the mouse and the keyboard.
#include "DockTestSupport.h"

#include "toolkit/SECDockableFrame.h"
#include "toolkit/SECMDIFrameWnd.h"
#include "toolkit/SECMDIMenuBar.h"
#include "toolkit/SECMDIMenuButtons.h"
#include "toolkit/SECMenuBarFeature.h"

#include "platform/display/DisplayBackend.h"

namespace docktest {
namespace {

constexpr UINT ID_FRAME_MENU = 100;
constexpr UINT ID_DOCUMENT_MENU = 200;

// Records the pop-ups instead of showing them.
class RecordingFeature : public SECMenuBarFeature {
public:
    using SECMenuBarFeature::SECMenuBarFeature;
    std::vector<HMENU> tracked;
    void TrackMenu(SECMenuBar*, HMENU hMenu, const SECNMTOOLBAR&) override { tracked.push_back(hMenu); }
};

class MenuBarFrame : public SECMDIFrameWnd {
public:
    RecordingFeature* Feature() const { return static_cast<RecordingFeature*>(GetMenuFeature()); }

protected:
    SECMenuBarFeature* NewMenuBarFeature(SECMDIMenuBar* pBar) override { return new RecordingFeature(pBar); }
};

HMENU MakeMenu(std::initializer_list<const char16_t*> titles) {
    HMENU menu = ::CreateMenu();
    for (const char16_t* title : titles) {
        HMENU popup = ::CreatePopupMenu();
        ::AppendMenuW(popup, MF_STRING, 1, u"&First");
        ::AppendMenuW(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(popup), title);
    }
    return menu;
}

void Pump() {
    MSG msg{};
    for (int i = 0; i < 1000 && ::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE); ++i) {
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
}

class MDIMenuBarTest : public fwtest::FrameworkTest {
protected:
    void SetUp() override {
        DisplayUseTestClock(50000);
        m_frame = new MenuBarFrame;
        m_frame->SetMenuBarMode(TRUE);
        ASSERT_TRUE(m_frame->Create(nullptr, u"Main", WS_OVERLAPPEDWINDOW, CRect(0, 0, 800, 600)));
        m_app.m_pMainWnd = m_frame;
        m_frameMenu = MakeMenu({u"&File", u"&Window"});
        m_documentMenu = MakeMenu({u"&File", u"&Edit", u"&Window", u"&Help"});
        m_frame->SetFrameMenu(ID_FRAME_MENU, m_frameMenu);
        m_frame->AddMenuForId(ID_DOCUMENT_MENU, m_documentMenu);
        m_frame->ShowWindow(SW_SHOW);
        m_frame->RecalcLayout();
        m_bar = m_frame->GetMenuBar();
    }
    void TearDown() override {
        if (m_app.m_pMainWnd) {
            m_app.m_pMainWnd->DestroyWindow();
            m_app.m_pMainWnd = nullptr;
        }
        fwtest::FrameworkTest::TearDown();
    }
    SECMDIChildWnd* OpenDocument() {
        auto* child = new SECMDIChildWnd;
        if (!child->LoadFrame(ID_DOCUMENT_MENU, WS_CHILD | WS_VISIBLE | WS_OVERLAPPEDWINDOW, m_frame)) {
            return nullptr;
        }
        child->MoveWindow(10, 10, 300, 200);
        Pump();
        return child;
    }
    std::vector<CString> Texts() const {
        std::vector<CString> texts;
        for (int i = 0; i < m_bar->GetBtnCount(); ++i) {
            if (SECTBMenuBtn* button = m_bar->GetMenuButton(i)) {
                texts.push_back(button->m_strText);
            }
        }
        return texts;
    }
    CPoint OnScreen(CPoint inBar) const {
        m_bar->ClientToScreen(&inBar);
        return inBar;
    }

    CWinApp m_app{u"MDIMenuBarTest"};
    MenuBarFrame* m_frame = nullptr;
    SECMDIMenuBar* m_bar = nullptr;
    HMENU m_frameMenu = nullptr;    // the frame's
    HMENU m_documentMenu = nullptr; // the frame's
};

TEST_F(MDIMenuBarTest, TheBarShowsTheActiveDocumentsMenuAndTheFramesWhenNoneIsLeft) {
    ASSERT_NE(m_bar, nullptr);
    EXPECT_EQ(::GetMenu(m_frame->m_hWnd), nullptr) << "no window menu beside the bar";
    EXPECT_FALSE(m_frame->m_filters.IsEnabled(SEC_FILTER_CAPTION_LIST))
        << "the bar has the maximised buttons";
    EXPECT_EQ(Texts(), (std::vector<CString>{u"&File", u"&Window"}));

    SECMDIChildWnd* first = OpenDocument();
    ASSERT_NE(first, nullptr);
    EXPECT_TRUE(first->m_bMenuBarMode);
    EXPECT_EQ(m_bar->m_nMenuShown, ID_DOCUMENT_MENU);
    EXPECT_EQ(Texts(), (std::vector<CString>{u"&File", u"&Edit", u"&Window", u"&Help"}));
    EXPECT_EQ(::GetMenu(m_frame->m_hWnd), nullptr);
    // The document windows are listed in the window popup of the menu shown.
    HMENU window = ::GetSubMenu(m_documentMenu, 2);
    EXPECT_GT(::GetMenuItemCount(window), 1);

    // A bar floating in a host window inside the main window brings the frame's own menu.
    m_frame->ActivateMenuForId(kMDIFloatHostResource);
    EXPECT_EQ(Texts(), (std::vector<CString>{u"&File", u"&Window"}));
    first->MDIActivate();
    m_frame->ActivateMenuForId(ID_DOCUMENT_MENU);

    SECMDIChildWnd* second = OpenDocument();
    ASSERT_NE(second, nullptr);
    second->DestroyWindow();
    Pump();
    EXPECT_EQ(m_bar->m_nMenuShown, ID_DOCUMENT_MENU) << "another document is still active";
    first->DestroyWindow();
    Pump();
    EXPECT_EQ(m_bar->m_nMenuShown, ID_FRAME_MENU);
    EXPECT_EQ(Texts(), (std::vector<CString>{u"&File", u"&Window"}));
}

TEST_F(MDIMenuBarTest, AMaximisedDocumentsIconAndButtonsSitAtTheEndsOfTheBar) {
    SECMDIChildWnd* child = OpenDocument();
    ASSERT_NE(child, nullptr);
    EXPECT_EQ(m_bar->GetBtnCount(), 4);
    child->MDIMaximize();
    Pump();
    ASSERT_EQ(m_bar->GetBtnCount(), 6);
    EXPECT_EQ(m_bar->GetButton(0)->m_nType, SEC_BTN_MENU);
    auto* caption = dynamic_cast<SECBtnCaption*>(m_bar->GetButton(5));
    ASSERT_NE(caption, nullptr);
    CRect client;
    m_bar->GetClientRect(&client);
    EXPECT_EQ(caption->GetRect().right, client.right - 2) << "at the far end of the row";
    EXPECT_EQ(caption->GetRect().Width(), 3 * (::GetSystemMetrics(SM_CXSIZE) - 2) + 2);
    EXPECT_LT(m_bar->GetButton(0)->GetRect().right, m_bar->GetButton(1)->GetRect().left + 1);

    // Alt highlights the first menu, not the icon.
    MSG alt{m_frame->m_hWnd, WM_SYSKEYUP, VK_MENU, 0, 0, {}};
    EXPECT_TRUE(m_frame->PreTranslateMessage(&alt));
    EXPECT_EQ(m_bar->m_nMenuBtn, 1);
    EXPECT_TRUE(m_frame->PreTranslateMessage(&alt));

    // The icon opens the document's system menu, with Close as its default.
    DisplayInjectMouse(WM_LBUTTONDOWN, OnScreen(m_bar->GetButton(0)->GetRect().CenterPoint()));
    DisplayInjectMouse(WM_LBUTTONUP, OnScreen(m_bar->GetButton(0)->GetRect().CenterPoint()));
    Pump();
    HMENU system = ::GetSystemMenu(child->m_hWnd, FALSE);
    EXPECT_EQ(m_frame->Feature()->tracked, std::vector<HMENU>{system});
    EXPECT_EQ(::GetMenuDefaultItem(system, FALSE, 0), static_cast<UINT>(SC_CLOSE));

    // Pressed on close and left, nothing; pressed and released on restore, the document is restored and
    // the buttons go.
    DisplayAdvanceTestClock(1000);
    const CPoint close = OnScreen(caption->PartRect(SECBtnCaption::Close).CenterPoint());
    DisplayInjectMouse(WM_LBUTTONDOWN, close);
    DisplayInjectMouse(WM_MOUSEMOVE, close + CPoint(0, 60));
    Pump();
    EXPECT_FALSE(caption->m_nStyle & SEC_TBBS_PRESSED);
    DisplayInjectMouse(WM_LBUTTONUP, close + CPoint(0, 60));
    Pump();
    ASSERT_TRUE(::IsWindow(child->m_hWnd));
    EXPECT_TRUE(child->IsZoomed());
    DisplayAdvanceTestClock(1000);
    const CPoint restore = OnScreen(caption->PartRect(SECBtnCaption::Restore).CenterPoint());
    DisplayInjectMouse(WM_LBUTTONDOWN, restore);
    DisplayInjectMouse(WM_LBUTTONUP, restore);
    Pump();
    EXPECT_FALSE(child->IsZoomed());
    EXPECT_EQ(m_bar->GetBtnCount(), 4);

    // Maximised again and closed from the bar: the frame's own menu comes back.
    child->MDIMaximize();
    Pump();
    DisplayAdvanceTestClock(1000);
    const CPoint closeAgain = OnScreen(
        static_cast<SECBtnCaption*>(m_bar->GetButton(5))->PartRect(SECBtnCaption::Close).CenterPoint());
    DisplayInjectMouse(WM_LBUTTONDOWN, closeAgain);
    DisplayInjectMouse(WM_LBUTTONUP, closeAgain);
    Pump();
    EXPECT_EQ(m_frame->MDIGetActive(), nullptr);
    EXPECT_EQ(Texts(), (std::vector<CString>{u"&File", u"&Window"}));
    EXPECT_EQ(m_bar->GetBtnCount(), 2);
}

TEST_F(MDIMenuBarTest, AltLetterOpensTheActiveDocumentsMenu) {
    ASSERT_NE(OpenDocument(), nullptr);
    MSG keyMenu{m_frame->m_hWnd, WM_SYSCOMMAND, SC_KEYMENU, u'e', 0, {}};
    EXPECT_TRUE(m_frame->PreTranslateMessage(&keyMenu));
    EXPECT_EQ(m_frame->Feature()->tracked, std::vector<HMENU>{::GetSubMenu(m_documentMenu, 1)});
}

// A dockable frame made active shows the menu of its id on the bar, never a window menu; a click back
// into the document shows the document's again.
TEST_F(MDIMenuBarTest, ADockableFrameAndTheDocumentsTakeTurnsOnTheBar) {
    constexpr UINT ID_PANE_MENU = 300;
    m_frame->AddMenuForId(ID_PANE_MENU, MakeMenu({u"&Pane", u"&Window", u"&Help"}));
    m_frame->EnableDocking(CBRS_ALIGN_ANY);
    SECMDIChildWnd* child = OpenDocument();
    ASSERT_NE(child, nullptr);
    auto* pane = new SECDockableFrame;
    ASSERT_TRUE(pane->CreateInBar(m_frame, ID_PANE_MENU, 0xE900, nullptr));
    m_frame->DockControlBarEx(pane->GetHostBar(), {0, 0, 0}, AFX_IDW_DOCKBAR_BOTTOM);

    m_frame->SetActiveDockableFrame(pane);
    EXPECT_EQ(m_bar->m_nMenuShown, ID_PANE_MENU);
    EXPECT_EQ(Texts().front(), CString(u"&Pane"));
    EXPECT_EQ(::GetMenu(m_frame->m_hWnd), nullptr);

    child->SendMessageW(WM_MOUSEACTIVATE, reinterpret_cast<WPARAM>(m_frame->m_hWnd),
                        MAKELPARAM(HTCLIENT, WM_LBUTTONDOWN));
    EXPECT_EQ(m_frame->GetActiveDockableFrame(), nullptr);
    EXPECT_EQ(m_bar->m_nMenuShown, ID_DOCUMENT_MENU);
    EXPECT_EQ(::GetMenu(m_frame->m_hWnd), nullptr);
}

// A frame made with a window menu (as from its resource) shows that menu on the bar, not as a window menu.
TEST_F(MDIMenuBarTest, AMenuTheWindowIsMadeWithGoesToTheBar) {
    class WithMenu : public SECMDIFrameWnd {
    public:
        HMENU m_hMenu = MakeMenu({u"&Start", u"&Window", u"&Help"});

    protected:
        BOOL PreCreateWindow(CREATESTRUCT& cs) override {
            cs.hMenu = m_hMenu;
            return SECMDIFrameWnd::PreCreateWindow(cs);
        }
    };
    auto* frame = new WithMenu;
    frame->SetMenuBarMode(TRUE);
    ASSERT_TRUE(frame->Create(nullptr, u"Made with a menu", WS_OVERLAPPEDWINDOW, CRect(0, 0, 600, 400)));
    EXPECT_EQ(::GetMenu(frame->m_hWnd), nullptr);
    EXPECT_EQ(frame->GetMenuBar()->GetMenu(), frame->m_hMenu);
    EXPECT_EQ(frame->GetMenuForId(frame->m_nIDMenuResource), frame->m_hMenu);
    frame->DestroyWindow();
}

} // namespace
} // namespace docktest
