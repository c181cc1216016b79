// The menu bar: buttons from a menu, and its menu mode driven by the frame's messages, the keyboard and
// mouse hooks and the pop-up's message filter (Alt, Alt+letter, arrows, Escape, a move or click onto
// another menu while one is open, the system icon).
#include "ToolBarTestSupport.h"

#include "toolkit/SECMenuBarFeature.h"
#include "toolkit/SECTBMenuBtn.h"

#include "platform/display/DisplayBackend.h"

using namespace tbtest;

namespace {

constexpr UINT ID_MAIN_MENU = 100;

// Records the pop-ups instead of showing them; the first one may run a step while it is "open".
class RecordingFeature : public SECMenuBarFeature {
public:
    using SECMenuBarFeature::SECMenuBarFeature;
    std::vector<HMENU> tracked;
    std::function<void()> whileOpen;

    void TrackMenu(SECMenuBar*, HMENU hMenu, const SECNMTOOLBAR&) override {
        tracked.push_back(hMenu);
        if (auto step = std::exchange(whileOpen, nullptr)) {
            step();
        }
    }
};

class MenuFrame : public ToolBarFrame {
public:
    RecordingFeature* m_pFeature = nullptr;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        LRESULT result = 0;
        if (PlugInHandled(m_pFeature, message, wParam, lParam, result)) {
            return result;
        }
        return ToolBarFrame::WindowProc(message, wParam, lParam);
    }
};

class MenuBarTest : public fwtest::FrameworkTest {
protected:
    void SetUp() override {
        m_frame = new MenuFrame;
        ASSERT_TRUE(m_frame->Create(nullptr, u"Menus", WS_OVERLAPPEDWINDOW, CRect(100, 100, 700, 400)));
        m_app.m_pMainWnd = m_frame;
        m_frame->ShowWindow(SW_SHOW);
        m_menu = ::CreateMenu();
        const char16_t* titles[] = {u"&File", u"&Edit", u"&View"};
        for (const char16_t* title : titles) {
            HMENU popup = ::CreatePopupMenu();
            ::AppendMenuW(popup, MF_STRING, 1, u"&First");
            ::AppendMenuW(m_menu, MF_POPUP, reinterpret_cast<UINT_PTR>(popup), title);
        }
        m_bar = new SECMenuBar;
        m_bar->m_bAutoDelete = TRUE;
        ASSERT_TRUE(m_bar->CreateMenuBar(m_frame));
        m_bar->AddMenu(ID_MAIN_MENU, m_menu);
        m_feature = new RecordingFeature(m_bar);
        ASSERT_TRUE(m_feature->AttachToHost(m_frame));
        m_frame->m_pFeature = m_feature;
        ASSERT_TRUE(m_feature->SetMenuById(ID_MAIN_MENU));
        m_frame->RecalcLayout();
    }
    void TearDown() override {
        m_frame->m_pFeature = nullptr;
        delete m_feature;
        if (m_app.m_pMainWnd) {
            m_app.m_pMainWnd->DestroyWindow();
            m_app.m_pMainWnd = nullptr;
        }
        ::DestroyMenu(m_menu);
        fwtest::FrameworkTest::TearDown();
    }
    HMENU Popup(int i) const { return ::GetSubMenu(m_menu, i); }
    BOOL Pre(UINT message, WPARAM wParam, LPARAM lParam = 0) {
        MSG msg{m_frame->m_hWnd, message, wParam, lParam, 0, {}};
        return m_feature->PreTranslateMessage(&msg);
    }
    CPoint OnButton(int i) const {
        CRect rect = m_bar->m_btns[static_cast<size_t>(i)]->GetRect();
        m_bar->ClientToScreen(&rect);
        return rect.CenterPoint();
    }
    // Whether a message for the frame waits in the queue (taken out, not dispatched).
    bool Queued(UINT message, WPARAM wParam) {
        MSG msg{};
        bool found = false;
        while (::PeekMessageW(&msg, m_frame->m_hWnd, message, message, PM_REMOVE)) {
            found = found || msg.wParam == wParam;
        }
        return found;
    }

    CWinApp m_app{u"MenuBarTest"};
    MenuFrame* m_frame = nullptr;
    SECMenuBar* m_bar = nullptr;
    RecordingFeature* m_feature = nullptr;
    HMENU m_menu = nullptr;
};

TEST_F(MenuBarTest, TheBarHasOneTextButtonPerMenuWithItsMnemonic) {
    ASSERT_EQ(m_bar->GetBtnCount(), 3);
    SECTBMenuBtn* pEdit = m_bar->GetMenuButton(1);
    ASSERT_TRUE(pEdit);
    EXPECT_EQ(pEdit->m_strText, CString(u"&Edit"));
    EXPECT_EQ(m_bar->FindMnemonic(u'e'), 1);
    EXPECT_EQ(m_bar->FindMnemonic(u'q'), -1);
    EXPECT_GT(pEdit->m_cx, 10);
    EXPECT_FALSE(m_bar->SetMenuById(999)) << "an unknown id leaves the bar alone";
    EXPECT_EQ(m_bar->GetBtnCount(), 3);
}

TEST_F(MenuBarTest, AltHighlightsTheFirstMenuAndASecondAltLeaves) {
    EXPECT_TRUE(Pre(WM_SYSKEYUP, VK_MENU));
    EXPECT_TRUE(m_bar->IsInMenuMode());
    EXPECT_EQ(m_bar->m_nMenuBtn, 0);
    EXPECT_TRUE(m_bar->m_btns[0]->m_nStyle & SEC_TBBS_HOT);
    EXPECT_TRUE(m_feature->tracked.empty()) << "highlighted, not opened";
    EXPECT_EQ(SECMenuBarMessages::GetActive(), m_feature);

    // The keyboard hook moves the highlight, Down opens it.
    EXPECT_TRUE(m_feature->FilterKey(VK_RIGHT, 0));
    EXPECT_EQ(m_bar->m_nMenuBtn, 1);
    EXPECT_TRUE(m_feature->FilterKey(VK_LEFT, 0));
    EXPECT_TRUE(m_feature->FilterKey(VK_LEFT, 0));
    EXPECT_EQ(m_bar->m_nMenuBtn, 2) << "left of the first is the last";

    EXPECT_TRUE(Pre(WM_SYSKEYUP, VK_MENU));
    EXPECT_FALSE(m_bar->IsInMenuMode());
    EXPECT_FALSE(m_bar->m_btns[2]->m_nStyle & SEC_TBBS_HOT);
}

TEST_F(MenuBarTest, EscapeLeavesAndDownOpensTheHighlightedMenu) {
    Pre(WM_SYSKEYUP, VK_MENU);
    EXPECT_TRUE(m_feature->FilterKey(VK_ESCAPE, 0));
    EXPECT_FALSE(m_bar->IsInMenuMode());

    Pre(WM_SYSKEYUP, VK_MENU);
    m_feature->FilterKey(VK_RIGHT, 0);
    EXPECT_TRUE(m_feature->FilterKey(VK_DOWN, 0));
    EXPECT_EQ(m_feature->tracked, std::vector<HMENU>{Popup(1)});
    EXPECT_FALSE(m_bar->IsInMenuMode());
    EXPECT_EQ(m_bar->m_nMenuBtn, -1) << "closed again";
    EXPECT_FALSE(m_feature->FilterKey(VK_MENU, 0)) << "Alt passes on";
}

TEST_F(MenuBarTest, AltLetterOpensItsMenuWithTheFirstItemSelected) {
    m_feature->whileOpen = [&] { m_frame->SendMessage(WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(Popup(0)), 0); };
    EXPECT_TRUE(Pre(WM_SYSCOMMAND, SC_KEYMENU, u'F'));
    EXPECT_EQ(m_feature->tracked, std::vector<HMENU>{Popup(0)});
    EXPECT_TRUE(Queued(WM_KEYDOWN, VK_DOWN));
    EXPECT_TRUE(Pre(WM_SYSCOMMAND, SC_KEYMENU, u'q')) << "the command is taken even unmatched";

    BYTE keys[256] = {};
    ::GetKeyboardState(keys);
    BYTE saved = keys[VK_MENU];
    keys[VK_MENU] = 0x80;
    ::SetKeyboardState(keys);
    EXPECT_FALSE(Pre(WM_SYSKEYDOWN, 'Q')) << "an unmatched Alt+letter is the system's";
    EXPECT_TRUE(Pre(WM_SYSKEYDOWN, 'V'));
    keys[VK_MENU] = saved;
    ::SetKeyboardState(keys);
    EXPECT_EQ(m_feature->tracked, (std::vector<HMENU>{Popup(0), Popup(2)}));
}

TEST_F(MenuBarTest, MovingOntoAnotherMenuWhileOneIsOpenSwitchesToIt) {
    m_feature->whileOpen = [&] {
        MSG move{m_bar->m_hWnd, WM_MOUSEMOVE, 0, 0, 0, OnButton(2)};
        EXPECT_TRUE(m_feature->FilterMenuMessage(move));
    };
    m_bar->MoveMenuTo(0);
    EXPECT_EQ(m_feature->tracked, (std::vector<HMENU>{Popup(0), Popup(2)}));
    EXPECT_EQ(SECMenuBarMessages::GetTrackedWindow(), nullptr);
    EXPECT_EQ(m_bar->m_nMenuBtn, -1);

    // A click on the open button closes it; nothing else opens.
    m_feature->tracked.clear();
    m_feature->whileOpen = [&] {
        MSG click{m_bar->m_hWnd, WM_LBUTTONDOWN, 0, 0, 0, OnButton(1)};
        EXPECT_TRUE(m_feature->FilterMenuMessage(click));
    };
    m_bar->MoveMenuTo(1);
    EXPECT_EQ(m_feature->tracked, std::vector<HMENU>{Popup(1)});
}

TEST_F(MenuBarTest, AnArrowThePopUpDidNotUseMovesToTheNextMenu) {
    m_feature->whileOpen = [&] {
        MSG right{m_frame->m_hWnd, WM_KEYDOWN, VK_RIGHT, 0, 0, {}};
        EXPECT_FALSE(m_feature->FilterMenuMessage(right)) << "the key still reaches the menu";
        fwtest::DrainQueue();
    };
    m_bar->MoveMenuTo(0);
    EXPECT_EQ(m_feature->tracked, (std::vector<HMENU>{Popup(0), Popup(1)}));

    // When the menu used it (a selection changed), nothing moves.
    m_feature->tracked.clear();
    m_feature->whileOpen = [&] {
        MSG right{m_frame->m_hWnd, WM_KEYDOWN, VK_RIGHT, 0, 0, {}};
        m_feature->FilterMenuMessage(right);
        m_frame->SendMessage(WM_MENUSELECT, 0, 0);
        fwtest::DrainQueue();
    };
    m_bar->MoveMenuTo(0);
    EXPECT_EQ(m_feature->tracked, std::vector<HMENU>{Popup(0)});
}

TEST_F(MenuBarTest, DoubleClickingTheSystemIconWhileItsMenuIsOpenPostsItsDefaultCommand) {
    CRect window;
    m_frame->GetWindowRect(&window);
    CPoint icon(window.left + ::GetSystemMetrics(SM_CXFRAME) + 3, window.top + ::GetSystemMetrics(SM_CYFRAME) + 3);
    ::SetCursorPos(icon.x, icon.y);
    m_frame->PostMessage(WM_LBUTTONDBLCLK, 0, MAKELPARAM(3, 3));
    m_bar->OpenSystemMenu();
    EXPECT_TRUE(Queued(WM_SYSCOMMAND, SC_CLOSE)) << "the default item, SC_CLOSE when there was none";
}

} // namespace
