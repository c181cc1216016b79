#include "BarsTestSupport.h"

#include "platform/registry/Registry.h"

using namespace barstest;

namespace barstest {
BEGIN_MESSAGE_MAP(BarFrame, CFrameWnd)
ON_WM_CREATE()
ON_COMMAND(ID_FILE_NEW, OnFileNew)
ON_COMMAND(ID_FILE_SAVE, OnFileSave)
ON_UPDATE_COMMAND_UI(ID_FILE_SAVE, OnUpdateFileSave)
ON_UPDATE_COMMAND_UI(ID_INDICATOR_MODE, OnUpdateMode)
END_MESSAGE_MAP()
} // namespace barstest

namespace {

BYTE ButtonState(CToolBar& bar, UINT id) {
    return static_cast<BYTE>(bar.SendMessageW(TB_GETSTATE, id));
}

CPoint ButtonCentre(CToolBar& bar, UINT id) {
    CRect rect;
    bar.GetItemRect(bar.CommandToIndex(id), &rect);
    return rect.CenterPoint();
}

void Click(CWnd& wnd, CPoint down, CPoint up) {
    wnd.SendMessageW(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(down.x, down.y));
    wnd.SendMessageW(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(up.x, up.y));
    wnd.SendMessageW(WM_LBUTTONUP, 0, MAKELPARAM(up.x, up.y));
}

std::u16string PartText(CStatusBar& bar, int part) {
    WCHAR buffer[128] = {};
    bar.SendMessageW(SB_GETTEXTW, static_cast<WPARAM>(part), reinterpret_cast<LPARAM>(buffer));
    return buffer;
}

DWORD ReadProfileInt(const std::u16string& section, const char16_t* name) {
    return AfxGetApp()->GetProfileInt(section.c_str(), name, 0xDEAD);
}

} // namespace

TEST_F(BarsTest, ToolbarOnTopStatusBarAtBottomViewBetween) {
    CRect client;
    m_frame->GetClientRect(&client);
    CRect toolbar = InFrame(ToolBar());
    CRect status = InFrame(m_frame->m_wndStatusBar);
    CRect view = InFrame(m_frame->m_wndView);
    CDockBar* top = dynamic_cast<CDockBar*>(m_frame->GetControlBar(AFX_IDW_DOCKBAR_TOP));
    ASSERT_NE(top, nullptr);
    EXPECT_EQ(ToolBar().GetParent(), top);
    EXPECT_EQ(toolbar.top, 0);
    EXPECT_GE(toolbar.Height(), 22 + 2); // the button and the borders around it
    EXPECT_EQ(InFrame(*top), CRect(0, 0, client.right, toolbar.Height()));
    EXPECT_EQ(status.bottom, client.bottom);
    EXPECT_EQ(status.left, 0);
    EXPECT_EQ(status.right, client.right);
    EXPECT_GT(status.Height(), 10);
    EXPECT_EQ(view, CRect(0, toolbar.bottom, client.right, status.top));

    // Hiding the toolbar gives its room to the view; a resize keeps the arrangement.
    m_frame->ShowControlBar(&ToolBar(), FALSE, FALSE);
    EXPECT_EQ(InFrame(m_frame->m_wndView).top, 0);
    m_frame->ShowControlBar(&ToolBar(), TRUE, FALSE);
    // Put off to the next idle time.
    m_frame->ShowControlBar(&ToolBar(), FALSE, TRUE);
    EXPECT_TRUE(ToolBar().IsWindowVisible());
    m_app.OnIdle(0);
    EXPECT_FALSE(ToolBar().IsWindowVisible());
    EXPECT_EQ(InFrame(m_frame->m_wndView).top, 0);
    m_frame->ShowControlBar(&ToolBar(), TRUE, TRUE);
    m_app.OnIdle(0);
    EXPECT_TRUE(ToolBar().IsWindowVisible());
    m_frame->SetWindowPos(nullptr, 0, 0, 500, 300, SWP_NOMOVE | SWP_NOZORDER);
    m_frame->GetClientRect(&client);
    EXPECT_EQ(InFrame(m_frame->m_wndView),
              CRect(0, toolbar.bottom, client.right, InFrame(m_frame->m_wndStatusBar).top));
    EXPECT_EQ(InFrame(m_frame->m_wndStatusBar).bottom, client.bottom);
}

TEST_F(BarsTest, LoadToolBarMakesButtonsSeparatorsAndImages) {
    CToolBar& bar = ToolBar();
    ASSERT_EQ(bar.SendMessageW(TB_BUTTONCOUNT), 4);
    EXPECT_EQ(bar.GetItemID(0), static_cast<UINT>(ID_FILE_NEW));
    EXPECT_EQ(bar.GetItemID(2), static_cast<UINT>(ID_SEPARATOR));
    EXPECT_EQ(bar.CommandToIndex(ID_TOOL_MODE), 3);
    EXPECT_EQ(bar.CommandToIndex(0x7777), -1);
    UINT id = 0;
    UINT style = 0;
    int image = 0;
    bar.GetButtonInfo(3, id, style, image);
    EXPECT_EQ(id, ID_TOOL_MODE);
    EXPECT_EQ(image, 2); // the separator takes no image
    EXPECT_EQ(style & TBBS_SEPARATOR, 0u);
    bar.GetButtonInfo(2, id, style, image);
    EXPECT_NE(style & TBBS_SEPARATOR, 0u);
    CRect first;
    CRect second;
    CRect last;
    bar.GetItemRect(0, &first);
    bar.GetItemRect(1, &second);
    bar.GetItemRect(3, &last);
    EXPECT_EQ(first.Size(), CSize(23, 22)); // the image and 7 pixels
    EXPECT_EQ(second.left, first.right);
    EXPECT_EQ(last.left, second.right + 6);
    EXPECT_FALSE(bar.LoadToolBar(999)); // no such resource

    // A check box keeps its latched state; the style word round-trips.
    bar.SetButtonStyle(0, TBBS_CHECKBOX | TBBS_CHECKED);
    EXPECT_EQ(bar.GetButtonStyle(0), static_cast<UINT>(TBBS_CHECKBOX | TBBS_CHECKED));
    EXPECT_NE(ButtonState(bar, ID_FILE_NEW) & TBSTATE_CHECKED, 0);
    bar.SetButtonInfo(3, 0x8002, TBBS_BUTTON | TBBS_DISABLED, 0);
    EXPECT_EQ(bar.CommandToIndex(0x8002), 3);
    EXPECT_EQ(ButtonState(bar, 0x8002) & TBSTATE_ENABLED, 0);
}

TEST_F(BarsTest, IdleUpdateEnablesAndDisablesButtonsAndPanes) {
    ASSERT_TRUE(m_app.OnIdle(0));
    EXPECT_NE(ButtonState(ToolBar(), ID_FILE_NEW) & TBSTATE_ENABLED, 0);  // a handler exists
    EXPECT_EQ(ButtonState(ToolBar(), ID_FILE_SAVE) & TBSTATE_ENABLED, 0); // its update handler disables it
    EXPECT_EQ(ButtonState(ToolBar(), ID_TOOL_MODE) & TBSTATE_ENABLED, 0); // nobody would run it
    m_frame->saveEnabled = TRUE;
    m_app.OnIdle(0);
    EXPECT_NE(ButtonState(ToolBar(), ID_FILE_SAVE) & TBSTATE_ENABLED, 0);

    // Status panes: text from the handler; lock-key panes follow the keys (all off here).
    CStatusBar& status = m_frame->m_wndStatusBar;
    EXPECT_EQ(status.GetPaneText(1), CString(u"Mode: 3D fix"));
    EXPECT_EQ(PartText(status, 1), u"Mode: 3D fix");
    EXPECT_NE(status.GetPaneStyle(2) & SBPS_DISABLED, 0u);
    EXPECT_EQ(PartText(status, 2), u"");
    EXPECT_EQ(status.GetPaneText(2), CString(u"CAP"));
}

TEST_F(BarsTest, ClickOnButtonSendsItsCommandToTheFrame) {
    m_frame->saveEnabled = TRUE;
    m_app.OnIdle(0);
    CPoint nw = ButtonCentre(ToolBar(), ID_FILE_NEW);
    Click(ToolBar(), nw, nw);
    EXPECT_EQ(m_frame->commands, std::vector<UINT>({ID_FILE_NEW}));
    // Released away from the button: nothing; on a disabled button: nothing.
    Click(ToolBar(), ButtonCentre(ToolBar(), ID_FILE_SAVE), CPoint(500, 5));
    m_frame->saveEnabled = FALSE;
    m_app.OnIdle(0);
    CPoint save = ButtonCentre(ToolBar(), ID_FILE_SAVE);
    Click(ToolBar(), save, save);
    EXPECT_EQ(m_frame->commands.size(), 1u);
    EXPECT_EQ(CWnd::GetCapture(), nullptr);
    EXPECT_EQ(ButtonState(ToolBar(), ID_FILE_NEW) & TBSTATE_PRESSED, 0);

    // Floating, the click still reaches the frame that owns the bar.
    m_frame->FloatControlBar(&ToolBar(), CPoint(300, 300));
    Click(ToolBar(), nw, nw);
    EXPECT_EQ(m_frame->commands, std::vector<UINT>({ID_FILE_NEW, ID_FILE_NEW}));
}

TEST_F(BarsTest, PromptOfTheButtonUnderTheMouseShowsInTheStatusBar) {
    fwtest::DrainQueue(); // the frame's first idle prompt
    CStatusBar& status = m_frame->m_wndStatusBar;
    EXPECT_EQ(status.GetPaneText(0), CString(u"Ready"));
    CPoint save = ButtonCentre(ToolBar(), ID_FILE_SAVE);
    ToolBar().SendMessageW(WM_MOUSEMOVE, 0, MAKELPARAM(save.x, save.y));
    EXPECT_EQ(status.GetPaneText(0), CString(u"Save the document"));
    ToolBar().SendMessageW(WM_MOUSELEAVE);
    EXPECT_EQ(status.GetPaneText(0), CString(u"Ready"));
}

TEST_F(BarsTest, TooltipTextIsTheStringAfterTheNewline) {
    auto tip = reinterpret_cast<HWND>(ToolBar().SendMessageW(TB_GETTOOLTIPS));
    ASSERT_NE(tip, nullptr);
    EXPECT_EQ(::SendMessageW(tip, TTM_GETTOOLCOUNT, 0, 0), 3); // the separator has no tool
    NMTTDISPINFOW info{};
    info.hdr.hwndFrom = tip;
    info.hdr.idFrom = ID_FILE_SAVE;
    info.hdr.code = TTN_NEEDTEXTW;
    ToolBar().SendMessageW(WM_NOTIFY, ID_FILE_SAVE, reinterpret_cast<LPARAM>(&info));
    ASSERT_NE(info.lpszText, nullptr);
    EXPECT_EQ(std::u16string(info.lpszText), u"Save");
}

TEST_F(BarsTest, ToolbarDocksLeftFloatsAndComesBackFromSavedState) {
    CToolBar& bar = ToolBar();
    m_frame->DockControlBar(&bar, AFX_IDW_DOCKBAR_LEFT);
    CDockBar* left = dynamic_cast<CDockBar*>(m_frame->GetControlBar(AFX_IDW_DOCKBAR_LEFT));
    ASSERT_NE(left, nullptr);
    EXPECT_EQ(bar.GetParent(), left);
    EXPECT_EQ(bar.m_pDockBar, left);
    EXPECT_NE(bar.GetBarStyle() & CBRS_ALIGN_LEFT, 0u);
    EXPECT_EQ(bar.SendMessageW(TB_GETROWS), 4); // one button a row
    CRect vertical = InFrame(bar);
    EXPECT_GT(vertical.Height(), vertical.Width());
    EXPECT_EQ(vertical.left, 0);
    EXPECT_EQ(InFrame(m_frame->m_wndView).left, vertical.right);
    EXPECT_EQ(InFrame(m_frame->m_wndView).top, 0);
    m_frame->SaveBarState(u"Left");

    m_frame->FloatControlBar(&bar, CPoint(300, 320));
    ASSERT_TRUE(bar.IsFloating());
    CFrameWnd* floating = bar.GetParentFrame();
    ASSERT_NE(floating, m_frame);
    EXPECT_TRUE(floating->IsKindOf(RUNTIME_CLASS(CMiniDockFrameWnd)));
    EXPECT_TRUE(floating->IsWindowVisible());
    CRect frameRect;
    floating->GetWindowRect(&frameRect);
    EXPECT_EQ(frameRect.TopLeft(), CPoint(300, 320));
    CRect client;
    floating->GetClientRect(&client);
    EXPECT_GE(client.Width(), 3 * 23); // all buttons on one row
    EXPECT_EQ(InFrame(m_frame->m_wndView).left, 0);
    m_frame->SaveBarState(u"Float");

    // Saved as the profile says: a summary and one section per bar.
    int bars = static_cast<int>(ReadProfileInt(u"Float-Summary", u"Bars"));
    EXPECT_GE(bars, 6); // four dock bars, the floating one, the toolbar (the status bar too)
    bool found = false;
    for (int i = 0; i < bars; ++i) {
        std::u16string section = u"Float-Bar" + std::u16string(1, static_cast<char16_t>(u'0' + i));
        if (ReadProfileInt(section, u"BarID") == AFX_IDW_TOOLBAR) {
            found = true;
            EXPECT_EQ(ReadProfileInt(section, u"Floating"), 1u);
            EXPECT_EQ(ReadProfileInt(section, u"MRUDockID"), static_cast<DWORD>(AFX_IDW_DOCKBAR_LEFT));
        }
    }
    EXPECT_TRUE(found);

    // Docked on top again, then the saved states bring it back to where they were taken.
    m_frame->DockControlBar(&bar, AFX_IDW_DOCKBAR_TOP);
    EXPECT_FALSE(bar.IsFloating());
    m_frame->LoadBarState(u"Float");
    ASSERT_TRUE(bar.IsFloating());
    bar.GetParentFrame()->GetWindowRect(&frameRect);
    EXPECT_EQ(frameRect.TopLeft(), CPoint(300, 320));
    m_frame->LoadBarState(u"Left");
    EXPECT_EQ(bar.m_pDockBar, left);
    EXPECT_EQ(InFrame(m_frame->m_wndView).left, InFrame(bar).right);
}

TEST_F(BarsTest, ASavedStateFromAnotherScreenSizeIsScaledAndKeepsFloatingFramesOnTheScreen) {
    CToolBar& bar = ToolBar();
    m_frame->FloatControlBar(&bar, CPoint(600, 500));
    m_frame->SaveBarState(u"Other");
    // As if saved on a screen twice as large as this 1280 x 1024 one.
    m_app.WriteProfileInt(u"Other-Summary", u"ScreenCX", 2560);
    m_app.WriteProfileInt(u"Other-Summary", u"ScreenCY", 2048);
    m_frame->DockControlBar(&bar, AFX_IDW_DOCKBAR_TOP);
    m_frame->LoadBarState(u"Other");
    ASSERT_TRUE(bar.IsFloating());
    CRect frameRect;
    bar.GetParentFrame()->GetWindowRect(&frameRect);
    EXPECT_EQ(frameRect.TopLeft(), CPoint(300, 250));

    // Saved on this size at a place the frame would leave the screen from: moved back onto it.
    m_app.WriteProfileInt(u"Other-Summary", u"ScreenCX", 1280);
    m_app.WriteProfileInt(u"Other-Summary", u"ScreenCY", 1024);
    for (int i = 0; i < 8; ++i) {
        std::u16string section = u"Other-Bar" + std::u16string(1, static_cast<char16_t>(u'0' + i));
        if (ReadProfileInt(section, u"BarID") == AFX_IDW_DOCKBAR_FLOAT) {
            m_app.WriteProfileInt(section.c_str(), u"XPos", 1270);
            m_app.WriteProfileInt(section.c_str(), u"YPos", 1020);
        }
    }
    m_frame->DockControlBar(&bar, AFX_IDW_DOCKBAR_TOP);
    m_frame->LoadBarState(u"Other");
    ASSERT_TRUE(bar.IsFloating());
    bar.GetParentFrame()->GetWindowRect(&frameRect);
    EXPECT_EQ(frameRect.BottomRight(), CPoint(1280, 1024));
}

TEST_F(BarsTest, HiddenBarStaysHiddenThroughItsSavedState) {
    CToolBar& bar = ToolBar();
    m_frame->ShowControlBar(&bar, FALSE, FALSE);
    m_frame->SaveBarState(u"Hidden");
    EXPECT_EQ(ReadProfileInt(u"Hidden-Summary", u"Bars"), 6u); // the toolbar, the status bar, four dock bars
    m_frame->ShowControlBar(&bar, TRUE, FALSE);
    ASSERT_TRUE(bar.IsWindowVisible());
    m_frame->LoadBarState(u"Hidden");
    EXPECT_FALSE(bar.IsWindowVisible());
    EXPECT_EQ(InFrame(m_frame->m_wndView).top, 0);
    m_frame->LoadBarState(u"Nothing saved"); // changes nothing
    EXPECT_FALSE(bar.IsWindowVisible());
}

TEST_F(BarsTest, DraggingWithTheMouseDocksOrFloatsTheBar) {
    CToolBar& bar = ToolBar();
    ASSERT_NE(bar.m_pDockContext, nullptr);
    CRect barRect;
    bar.GetWindowRect(&barRect);
    CPoint start = barRect.TopLeft() + CPoint(3, 5);
    CPoint clientOrigin(0, 0);
    m_frame->ClientToScreen(&clientOrigin);
    // To the frame's left edge, half way down: the left dock bar takes it.
    CPoint target(clientOrigin.x + 2, clientOrigin.y + 120);
    auto post = [&](UINT msg, CPoint screen) {
        CPoint pt = screen;
        bar.ScreenToClient(&pt);
        bar.PostMessageW(msg, msg == WM_LBUTTONUP ? 0 : MK_LBUTTON, MAKELPARAM(pt.x, pt.y));
    };
    post(WM_MOUSEMOVE, target);
    post(WM_LBUTTONUP, target);
    bar.m_pDockContext->StartDrag(start);
    EXPECT_EQ(bar.m_pDockBar, m_frame->GetControlBar(AFX_IDW_DOCKBAR_LEFT));
    EXPECT_EQ(CWnd::GetCapture(), nullptr);

    // Far from every edge: it floats there.
    bar.GetWindowRect(&barRect);
    start = barRect.TopLeft() + CPoint(5, 3);
    target = clientOrigin + CPoint(250, 150);
    post(WM_MOUSEMOVE, target);
    post(WM_LBUTTONUP, target);
    bar.m_pDockContext->StartDrag(start);
    EXPECT_TRUE(bar.IsFloating());

    // Escape leaves it where it was; a double click docks it where it was last docked.
    bar.GetWindowRect(&barRect);
    post(WM_MOUSEMOVE, clientOrigin + CPoint(2, 120));
    bar.PostMessageW(WM_KEYDOWN, VK_ESCAPE, 0);
    bar.m_pDockContext->StartDrag(barRect.TopLeft() + CPoint(5, 5));
    EXPECT_TRUE(bar.IsFloating());
    fwtest::DrainQueue();
    bar.m_pDockContext->ToggleDocking();
    EXPECT_EQ(bar.m_pDockBar, m_frame->GetControlBar(AFX_IDW_DOCKBAR_LEFT));
}

TEST_F(BarsTest, StatusBarPanesShowTextsAndOwnerDrawnPaneCallsDrawItem) {
    CStatusBar& status = m_frame->m_wndStatusBar;
    EXPECT_EQ(status.GetCount(), 4);
    EXPECT_EQ(status.CommandToIndex(ID_INDICATOR_NUM), 3);
    EXPECT_EQ(status.GetItemID(1), ID_INDICATOR_MODE);
    EXPECT_EQ(status.GetPaneText(1), CString(u"Mode: position hold"));
    EXPECT_NE(status.GetPaneStyle(0) & SBPS_STRETCH, 0u);

    // The message pane takes what the fixed panes leave; the window text is its text.
    CRect client;
    status.GetClientRect(&client);
    CRect pane0;
    CRect pane1;
    CRect pane3;
    status.GetItemRect(0, &pane0);
    status.GetItemRect(1, &pane1);
    status.GetItemRect(3, &pane3);
    EXPECT_GT(pane0.Width(), pane1.Width());
    EXPECT_GT(pane1.left, pane0.right - 1);
    EXPECT_LE(pane3.right, client.right);
    EXPECT_GT(pane3.right, client.right - 40);
    status.SetWindowTextW(u"Ready");
    EXPECT_EQ(PartText(status, 0), u"Ready");
    CString text;
    status.GetWindowTextW(text);
    EXPECT_EQ(text, CString(u"Ready"));
    EXPECT_TRUE(status.SetPaneText(3, u"SCRL"));
    EXPECT_EQ(PartText(status, 3), u"SCRL");
    EXPECT_FALSE(status.SetPaneText(4, u"none"));

    // A wider pane: the fixed panes move, the message pane shrinks.
    UINT id = 0;
    UINT style = 0;
    int width = 0;
    status.GetPaneInfo(1, id, style, width);
    status.SetPaneInfo(1, id, style | SBPS_OWNERDRAW, width + 30);
    CRect wider;
    status.GetItemRect(1, &wider);
    EXPECT_EQ(wider.Width(), pane1.Width() + 30);
    status.GetItemRect(0, &pane0);
    EXPECT_EQ(pane0.right + 2, wider.left);

    m_frame->m_wndStatusBar.drawn.clear();
    status.Invalidate();
    status.UpdateWindow();
    ASSERT_EQ(m_frame->m_wndStatusBar.drawn.size(), 1u);
    const DRAWITEMSTRUCT& dis = m_frame->m_wndStatusBar.drawn[0];
    EXPECT_EQ(dis.itemID, 1u);
    EXPECT_EQ(dis.hwndItem, status.m_hWnd);
    EXPECT_GE(dis.rcItem.left, wider.left);
    EXPECT_LE(dis.rcItem.right, wider.right);
}

TEST_F(BarsTest, DockingAtARectangleJoinsARowOrStartsOne) {
    auto* second = new CToolBar;
    second->m_bAutoDelete = TRUE;
    ASSERT_TRUE(
        second->CreateEx(m_frame, TBSTYLE_FLAT, WS_CHILD | WS_VISIBLE | CBRS_TOP, CRect(0, 0, 0, 0), 0xE810));
    const UINT ids[] = {ID_FILE_NEW, ID_FILE_SAVE};
    ASSERT_TRUE(second->SetButtons(ids, 2));
    second->EnableDocking(CBRS_ALIGN_ANY);
    CRect first;
    ToolBar().GetWindowRect(&first);
    CSize size = second->CalcFixedLayout(FALSE, TRUE);

    // Dropped beside the first toolbar: the same row.
    CRect beside(CPoint(first.right + 40, first.top), size);
    m_frame->DockControlBar(second, AFX_IDW_DOCKBAR_TOP, &beside);
    EXPECT_EQ(InFrame(*second).top, 0);
    EXPECT_EQ(InFrame(*second).left, InFrame(ToolBar()).right + 40);
    auto* top = static_cast<CDockBar*>(m_frame->GetControlBar(AFX_IDW_DOCKBAR_TOP));
    CUIntArray rows;
    top->GetBarIDs(rows);
    ASSERT_EQ(rows.GetSize(), 3);
    EXPECT_EQ(rows[0], static_cast<UINT>(AFX_IDW_TOOLBAR));
    EXPECT_EQ(rows[1], 0xE810u);

    // Dropped below it: a row of its own, and the view moves down.
    CRect below(CPoint(first.left, first.bottom + first.Height() - 2), size);
    m_frame->DockControlBar(second, AFX_IDW_DOCKBAR_TOP, &below);
    top->GetBarIDs(rows);
    ASSERT_EQ(rows.GetSize(), 4);
    EXPECT_EQ(rows[1], 0u);
    EXPECT_EQ(InFrame(*second).top, InFrame(ToolBar()).bottom);
    EXPECT_EQ(InFrame(m_frame->m_wndView).top, InFrame(*second).bottom);

    // Closing its floating frame hides a bar; showing it again brings the frame back.
    m_frame->FloatControlBar(second, CPoint(400, 400));
    CFrameWnd* floating = second->GetParentFrame();
    floating->SendMessageW(WM_CLOSE);
    EXPECT_FALSE(second->IsWindowVisible());
    EXPECT_FALSE(floating->IsWindowVisible());
    m_frame->ShowControlBar(second, TRUE, FALSE);
    EXPECT_TRUE(floating->IsWindowVisible());
}

TEST_F(BarsTest, DestroyingTheOnlyBarOfAFloatingFrameTakesTheFrameWithIt) {
    auto* bar = new CToolBar;
    bar->m_bAutoDelete = TRUE;
    ASSERT_TRUE(bar->CreateEx(m_frame, TBSTYLE_FLAT, WS_CHILD | WS_VISIBLE | CBRS_TOP, CRect(0, 0, 0, 0), 0xE811));
    bar->EnableDocking(CBRS_ALIGN_ANY);
    m_frame->FloatControlBar(bar, CPoint(400, 400));
    HWND hFloating = bar->GetParentFrame()->m_hWnd;
    HWND hBar = bar->m_hWnd;
    EXPECT_TRUE(bar->DestroyWindow());
    EXPECT_FALSE(::IsWindow(hBar));
    EXPECT_FALSE(::IsWindow(hFloating));
    EXPECT_EQ(m_frame->GetControlBar(0xE811), nullptr);
}
