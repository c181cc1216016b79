// A small application built from the menu tests' resource script: a frame from LoadFrame with its menu,
// accelerators and title; menu commands route view -> document -> frame -> application; command-UI
// handlers disable and check items.
#include "MenuTestIds.h"

#include "platform/framework/Framework.h"
#include "platform/resources/Resources.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

namespace {

std::vector<std::string> g_events;

class MenuApp : public CWinApp {
public:
    MenuApp() : CWinApp(u"MenuTest") {}
    void OnApp() { g_events.push_back("app"); }
    BOOL OnShared(UINT) {
        g_events.push_back("app shared");
        return FALSE;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(MenuApp, CWinApp)
ON_COMMAND(ID_APP_CMD, OnApp)
ON_COMMAND_EX(ID_SHARED_CMD, OnShared)
END_MESSAGE_MAP()

class MenuDoc : public CDocument {
    DECLARE_DYNCREATE(MenuDoc)

public:
    void OnDoc() { g_events.push_back("doc"); }
    BOOL OnShared(UINT) {
        g_events.push_back("doc shared");
        return FALSE;
    }
    void OnUpdateChecked(CCmdUI* ui) { ui->SetCheck(1); }
    DECLARE_MESSAGE_MAP()
};

IMPLEMENT_DYNCREATE(MenuDoc, CDocument)

BEGIN_MESSAGE_MAP(MenuDoc, CDocument)
ON_COMMAND(ID_DOC_CMD, OnDoc)
ON_COMMAND_EX(ID_SHARED_CMD, OnShared)
ON_UPDATE_COMMAND_UI(ID_CHECKED_UI, OnUpdateChecked)
END_MESSAGE_MAP()

class MenuView : public CView {
    DECLARE_DYNCREATE(MenuView)

public:
    void OnDraw(CDC*) override {}
    void OnViewCmd() { g_events.push_back("view"); }
    BOOL OnShared(UINT) {
        g_events.push_back("view shared");
        return FALSE;
    }
    void OnUpdateDisabled(CCmdUI* ui) { ui->Enable(FALSE); }
    void OnDisabled() { g_events.push_back("disabled ran"); }
    void OnChecked() {}
    DECLARE_MESSAGE_MAP()
};

IMPLEMENT_DYNCREATE(MenuView, CView)

BEGIN_MESSAGE_MAP(MenuView, CView)
ON_COMMAND(ID_VIEW_CMD, OnViewCmd)
ON_COMMAND_EX(ID_SHARED_CMD, OnShared)
ON_COMMAND(ID_DISABLED_UI, OnDisabled)
ON_UPDATE_COMMAND_UI(ID_DISABLED_UI, OnUpdateDisabled)
ON_COMMAND(ID_CHECKED_UI, OnChecked)
END_MESSAGE_MAP()

class MenuFrame : public CFrameWnd {
    DECLARE_DYNCREATE(MenuFrame)

public:
    void OnFrame() { g_events.push_back("frame"); }
    BOOL OnShared(UINT) {
        g_events.push_back("frame shared");
        return FALSE;
    }
    void OnDeep() { g_events.push_back("deep"); }
    DECLARE_MESSAGE_MAP()
};

IMPLEMENT_DYNCREATE(MenuFrame, CFrameWnd)

BEGIN_MESSAGE_MAP(MenuFrame, CFrameWnd)
ON_COMMAND(ID_FRAME_CMD, OnFrame)
ON_COMMAND_EX(ID_SHARED_CMD, OnShared)
ON_COMMAND(ID_DEEP_CMD, OnDeep)
END_MESSAGE_MAP()

// A status-bar stand-in: the frame finds it by its id and sets its text to the prompt.
class PromptBar : public CWnd {};

void Tap(UINT vk) {
    DisplayInjectKey(vk, 0, TRUE, FALSE);
    DisplayInjectKey(vk, 0, FALSE, FALSE);
}

class MenuFrameTest : public ::testing::Test {
protected:
    void SetUp() override {
        DolivaInstallResourceHooks();
        g_events.clear();
        m_app.m_nCmdShow = SW_SHOWNORMAL;
        m_app.AddDocTemplate(new CSingleDocTemplate(IDR_MENUFRAME, RUNTIME_CLASS(MenuDoc),
                                                    RUNTIME_CLASS(MenuFrame), RUNTIME_CLASS(MenuView)));
        m_app.OnFileNew();
        m_frame = dynamic_cast<MenuFrame*>(m_app.m_pMainWnd);
        ASSERT_NE(m_frame, nullptr);
        m_frame->SetForegroundWindow();
        m_frame->GetActiveView()->SetFocus();
        Pump();
        g_events.clear();
    }
    void TearDown() override {
        if (m_app.m_pMainWnd) {
            m_app.m_pMainWnd->DestroyWindow();
        }
        m_app.CloseAllDocuments(TRUE);
        Pump();
        AfxDeleteTempMaps();
    }
    // The application's own loop: PreTranslateMessage (accelerators) before dispatching.
    void Pump() {
        MSG m{};
        for (int i = 0; i < 10000 && ::PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE); ++i) {
            if (m.message == WM_QUIT || m_app.PreTranslateMessage(&m)) {
                continue;
            }
            ::TranslateMessage(&m);
            ::DispatchMessageW(&m);
        }
    }
    UINT StateOf(UINT id) { return m_frame->GetMenu()->GetMenuState(id, MF_BYCOMMAND); }

    MenuApp m_app;
    MenuFrame* m_frame = nullptr;
};

TEST_F(MenuFrameTest, LoadFrameTakesTitleMenuAndAccelerators) {
    CString title;
    m_frame->GetWindowTextW(title);
    EXPECT_EQ(m_frame->GetTitle(), CString(u"Menu Test"));
    EXPECT_NE(title.Find(u"Menu Test"), -1);
    CMenu* menu = m_frame->GetMenu();
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(menu->GetMenuItemCount(), 2);
    CString text;
    menu->GetMenuString(0, text, MF_BYPOSITION);
    EXPECT_EQ(text, CString(u"&File"));
    EXPECT_NE(m_frame->m_hAccelTable, nullptr);
    // The menu bar counts in the non-client area.
    CRect window;
    CRect client;
    m_frame->GetWindowRect(&window);
    m_frame->GetClientRect(&client);
    EXPECT_GE(window.Height() - client.Height(),
              GetSystemMetrics(SM_CYCAPTION) + GetSystemMetrics(SM_CYMENU));
}

TEST_F(MenuFrameTest, MenuCommandsRouteViewDocumentFrameApplication) {
    struct Case {
        UINT id;
        std::vector<std::string> events;
    };
    const Case cases[] = {
        {ID_VIEW_CMD, {"view"}},
        {ID_DOC_CMD, {"doc"}},
        {ID_FRAME_CMD, {"frame"}},
        {ID_APP_CMD, {"app"}},
        {ID_SHARED_CMD, {"view shared", "doc shared", "frame shared", "app shared"}},
    };
    for (const Case& c : cases) {
        g_events.clear();
        m_frame->SendMessageW(WM_COMMAND, c.id);
        EXPECT_EQ(g_events, c.events) << c.id;
    }
}

TEST_F(MenuFrameTest, CommandUiUpdatesItemsBeforeThePopupShows) {
    // Open Edit by keyboard and leave it: WM_INITMENUPOPUP runs the update handlers.
    DisplayInjectKey(VK_MENU, 0, TRUE, FALSE);
    Tap('E');
    DisplayInjectKey(VK_MENU, 0, FALSE, FALSE);
    Tap(VK_ESCAPE);
    Tap(VK_ESCAPE);
    DisplayInjectKey(VK_MENU, 0, TRUE, FALSE);
    Tap('F');
    DisplayInjectKey(VK_MENU, 0, FALSE, FALSE);
    Tap(VK_ESCAPE);
    Tap(VK_ESCAPE);
    Pump();
    EXPECT_TRUE(StateOf(ID_DISABLED_UI) & MF_GRAYED);
    EXPECT_TRUE(StateOf(ID_CHECKED_UI) & MF_CHECKED);
    EXPECT_FALSE(StateOf(ID_VIEW_CMD) & MF_GRAYED);
    EXPECT_TRUE(StateOf(ID_NO_HANDLER) & MF_GRAYED); // nobody handles it
    EXPECT_FALSE(StateOf(ID_APP_CMD) & MF_GRAYED);

    // The disabled item is not chosen by keyboard, nor by its accelerator.
    g_events.clear();
    DisplayInjectKey(VK_MENU, 0, TRUE, FALSE);
    Tap('E');
    DisplayInjectKey(VK_MENU, 0, FALSE, FALSE);
    Tap('B');
    Tap(VK_ESCAPE);
    Tap(VK_ESCAPE);
    Tap(VK_F7);
    Pump();
    EXPECT_TRUE(g_events.empty());

    // With automatic enabling off, an item without handler stays as it is.
    m_frame->m_bAutoMenuEnable = FALSE;
    m_frame->GetMenu()->EnableMenuItem(ID_NO_HANDLER, MF_ENABLED);
    DisplayInjectKey(VK_MENU, 0, TRUE, FALSE);
    Tap('F');
    DisplayInjectKey(VK_MENU, 0, FALSE, FALSE);
    Tap(VK_ESCAPE);
    Tap(VK_ESCAPE);
    Pump();
    EXPECT_FALSE(StateOf(ID_NO_HANDLER) & MF_GRAYED);
}

TEST_F(MenuFrameTest, AcceleratorsAndMenuChoicesReachTheHandlers) {
    DisplayInjectKey(VK_CONTROL, 0, TRUE, FALSE);
    Tap('A');
    DisplayInjectKey(VK_CONTROL, 0, FALSE, FALSE);
    Tap(VK_F6);
    // Alt+E, M opens the submenu, D chooses the deep item, routed to the frame.
    DisplayInjectKey(VK_MENU, 0, TRUE, FALSE);
    Tap('E');
    DisplayInjectKey(VK_MENU, 0, FALSE, FALSE);
    Tap('M');
    Tap('D');
    Pump();
    EXPECT_EQ(g_events, (std::vector<std::string>{"app", "view", "deep"}));
}

TEST_F(MenuFrameTest, SelectedItemsShowTheirPromptInTheStatusBar) {
    PromptBar bar;
    ASSERT_TRUE(
        bar.Create(nullptr, u"", WS_CHILD | WS_VISIBLE, CRect(0, 0, 100, 20), m_frame, AFX_IDW_STATUS_BAR));
    m_frame->SendMessageW(WM_MENUSELECT, MAKEWPARAM(ID_APP_CMD, MF_HILITE),
                          reinterpret_cast<LPARAM>(m_frame->GetMenu()->GetSafeHmenu()));
    CString text;
    bar.GetWindowTextW(text);
    EXPECT_EQ(text, CString(u"Runs the application's command"));
    EXPECT_EQ(m_frame->m_nIDTracking, static_cast<UINT>(ID_APP_CMD));
    m_frame->SendMessageW(WM_MENUSELECT, MAKEWPARAM(0, 0xFFFF), 0);
    EXPECT_EQ(m_frame->m_nIDTracking, static_cast<UINT>(AFX_IDS_IDLEMESSAGE));
    bar.DestroyWindow();
}

TEST_F(MenuFrameTest, ContextMenuFromResourcesThroughCMenu) {
    CMenu menu;
    ASSERT_TRUE(menu.LoadMenu(IDR_CONTEXT));
    CMenu* popup = menu.GetSubMenu(0);
    ASSERT_NE(popup, nullptr);
    EXPECT_EQ(popup->GetMenuItemCount(), 3);
    Tap('T');
    CView* view = m_frame->GetActiveView();
    EXPECT_EQ(
        popup->TrackPopupMenu(TPM_LEFTALIGN | TPM_RIGHTBUTTON | TPM_RETURNCMD | TPM_NONOTIFY, 50, 50, view),
        ID_CTX_COPY);
    CMenu missing;
    EXPECT_FALSE(missing.LoadMenu(999));
}

// The frame with its File menu open, rendered to PNG files for a person to look at (DOLIVA_MENU_PNG_DIR).
TEST_F(MenuFrameTest, RendersTheMenuBarAndAnOpenPopup) {
    const char* dir = std::getenv("DOLIVA_MENU_PNG_DIR");
    const char* scratch = std::getenv("DOLIVA_TEST_SCRATCH");
    std::string base = dir ? dir : (scratch ? scratch : "/tmp");
    static std::string s_base;
    static HWND s_frame;
    static bool s_ok;
    s_base = base;
    s_frame = m_frame->m_hWnd;
    s_ok = false;
    struct Shot {
        static void CALLBACK Run(HWND hwnd, UINT, UINT_PTR id, DWORD) {
            KillTimer(hwnd, id);
            HWND popup = FindWindowW(u"#32768", nullptr);
            s_ok = popup && DisplayRenderWindowToPng(s_frame, (s_base + "/menu-frame.png").c_str()) &&
                   DisplayRenderWindowToPng(popup, (s_base + "/menu-popup.png").c_str());
            EndMenu();
        }
    };
    m_frame->SetWindowPos(nullptr, 0, 0, 480, 300, SWP_NOZORDER);
    m_frame->UpdateWindow();
    Pump();
    DisplayUseTestClock();
    ::SetTimer(m_frame->m_hWnd, 9, 10, Shot::Run);
    DisplayAdvanceTestClock(20);
    DisplayInjectKey(VK_MENU, 0, TRUE, FALSE);
    Tap('F');
    DisplayInjectKey(VK_MENU, 0, FALSE, FALSE);
    Tap(VK_DOWN);
    Pump();
    DisplayUseRealClock();
    EXPECT_TRUE(s_ok);
}

} // namespace
