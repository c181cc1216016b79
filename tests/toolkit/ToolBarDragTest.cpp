// The toolbar's mouse: user toolbars and their numbers, check boxes toggled everywhere at once, dragging
// buttons between bars and away, group gaps, hot tracking and the menu mode the menu bar drives.
#include "ToolBarTestSupport.h"

#include "platform/framework/CMiniDockFrameWnd.h"

using namespace tbtest;

namespace {

class ToolBarDragTest : public ToolBarTest {
protected:
    void SetUp() override {
        ToolBarTest::SetUp();
        m_frame->EnableDocking(CBRS_ALIGN_ANY);
    }
    // The button's rectangle on the screen moved by (dx, dy).
    static CRect ScreenRect(SECCustomToolBar& bar, int index, int dx = 0, int dy = 0) {
        CRect rect = bar.m_btns[static_cast<size_t>(index)]->GetRect();
        bar.ClientToScreen(&rect);
        rect.OffsetRect(dx, dy);
        return rect;
    }
    // Far from every window: the empty desktop.
    static CRect Away(int n = 0) { return CRect(3000, 2000 + 100 * n, 3023, 2022 + 100 * n); }
};

TEST_F(ToolBarDragTest, UserToolBarsTakeTheLowestFreeIdUntilTheRangeIsUsedUp) {
    CWnd listener;
    LPCTSTR cls = AfxRegisterWndClass(0);
    ASSERT_TRUE(listener.CreateEx(0, cls, u"", WS_POPUP, CRect(0, 0, 1, 1), nullptr, 0));
    m_manager->AddNotifyWindow(&listener);

    SECCustomToolBar* pFirst = m_manager->CreateUserToolBar();
    ASSERT_TRUE(pFirst);
    EXPECT_EQ(pFirst->GetDlgCtrlID(), 59424);
    CString title;
    pFirst->GetWindowText(title);
    EXPECT_EQ(title, CString(u"ToolBar1"));
    SECCustomToolBar* pSecond = m_manager->CreateUserToolBar(u"Mine");
    ASSERT_TRUE(pSecond);
    EXPECT_EQ(pSecond->GetDlgCtrlID(), 59425);
    pFirst->DestroyWindow();
    SECCustomToolBar* pReused = m_manager->CreateUserToolBar();
    ASSERT_TRUE(pReused);
    EXPECT_EQ(pReused->GetDlgCtrlID(), 59424);

    int made = 2;
    while (m_manager->CreateUserToolBar()) {
        ++made;
        ASSERT_LE(made, 224);
    }
    EXPECT_EQ(made, 224) << "59424 to 59647";
    m_manager->RemoveNotifyWindow(&listener);
    listener.DestroyWindow();
}

TEST_F(ToolBarDragTest, ReleasingACheckBoxTogglesEveryButtonWithItsId) {
    SECCustomToolBar* pA = MakeBar({ID_FIRST_CMD, ID_FIRST_CMD + 1});
    SECCustomToolBar* pB = MakeBar({ID_FIRST_CMD + 1}, ID_SECOND_BAR);
    ASSERT_TRUE(pA && pB);
    for (SECCustomToolBar* pBar : {pA, pB}) {
        for (SECStdBtn* pBtn : pBar->m_btns) {
            pBtn->m_nStyle |= SEC_TBBS_CHECKBOX;
        }
    }
    SECStdBtn& btn = *pA->m_btns[1];
    CPoint inside = btn.GetRect().CenterPoint();
    ASSERT_TRUE(btn.BtnPressDown(inside));
    EXPECT_EQ(btn.BtnPressUp(inside), ID_FIRST_CMD + 1);
    EXPECT_TRUE(pB->m_btns[0]->m_nStyle & SEC_TBBS_CHECKED);
    EXPECT_FALSE(pA->m_btns[0]->m_nStyle & SEC_TBBS_CHECKED) << "another id is left alone";
    pB->m_btns[0]->m_nStyle |= SEC_TBBS_INDETERMINATE;
    btn.BtnPressDown(inside);
    EXPECT_EQ(btn.BtnPressUp(inside), ID_FIRST_CMD + 1);
    EXPECT_FALSE(pB->m_btns[0]->m_nStyle & (SEC_TBBS_CHECKED | SEC_TBBS_INDETERMINATE));
    btn.BtnPressDown(inside);
    EXPECT_EQ(btn.BtnPressUp(btn.GetRect().BottomRight() + CPoint(1, 1)), 0u) << "released outside";
    EXPECT_FALSE(btn.m_nStyle & (SEC_TBBS_CHECKED | SEC_TBBS_PRESSED));
}

TEST_F(ToolBarDragTest, ADropDownPartNotifiesTheOwnerAndNeverStaysPressed) {
    SECCustomToolBar* pBar = MakeBar({ID_FIRST_CMD});
    ASSERT_TRUE(pBar);
    SECStdBtn& btn = *pBar->m_btns[0];
    btn.m_nStyle |= SEC_TBBS_DROPDOWN;
    EXPECT_FALSE(btn.BtnPressDown(btn.GetRect().CenterPoint()));
    EXPECT_FALSE(btn.m_nStyle & SEC_TBBS_PRESSED);
    EXPECT_EQ(m_frame->notifyCodes, std::vector<int>{SEC_TBN_DROPDOWN});
    btn.m_nStyle = SEC_TBBS_DISABLED;
    EXPECT_FALSE(btn.BtnPressDown(btn.GetRect().CenterPoint())) << "a disabled button refuses";
}

TEST_F(ToolBarDragTest, DroppingTheSelectionNearItselfOpensAndClosesGroupGaps) {
    const UINT a = ID_FIRST_CMD, b = a + 1, c = a + 2, d = a + 3;
    struct Case {
        const char* name;
        std::vector<UINT> before;
        int selected;
        int dx;
        BOOL copy;
        std::vector<UINT> after;
    } cases[] = {
        {"one pixel does nothing", {a, b, c, d}, 2, 1, FALSE, {a, b, c, d}},
        {"two right: a gap before", {a, b, c, d}, 2, 2, FALSE, {a, b, 0, c, d}},
        {"two right, nothing before, a gap after: closed", {c, 0, d}, 0, 2, FALSE, {c, d}},
        {"two left with a gap before: closed", {a, 0, c, d}, 2, -2, FALSE, {a, c, d}},
        {"two left: a gap after", {a, c, d}, 1, -2, FALSE, {a, c, 0, d}},
        {"copy: next to itself", {a, b, c, d}, 2, 2, TRUE, {a, b, c, c, d}},
        {"moved one place on", {a, b, c, d}, 1, 30, FALSE, {a, c, b, d}},
        {"moved to the start", {a, b, c, d}, 3, -(3 * 23 + 4), FALSE, {d, a, b, c}},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.name);
        SECCustomToolBar* pBar = MakeBar(k.before);
        ASSERT_TRUE(pBar);
        pBar->SelectButton(k.selected);
        SECStdBtn* pBtn = pBar->m_btns[static_cast<size_t>(k.selected)];
        EXPECT_TRUE(pBar->FinishDrag(pBtn, ScreenRect(*pBar, k.selected, k.dx), k.copy));
        EXPECT_EQ(Ids(*pBar), k.after);
        pBar->DestroyWindow();
    }
}

TEST_F(ToolBarDragTest, ButtonsMoveBetweenBarsAndDropAwayOrCopyIntoANewBar) {
    const UINT a = ID_FIRST_CMD, b = a + 1, c = a + 2;
    SECCustomToolBar* pA = MakeBar({a, b});
    SECCustomToolBar* pB = MakeBar({c}, ID_SECOND_BAR);
    ASSERT_TRUE(pA && pB);
    m_frame->RecalcLayout();

    // Onto the right half of the other bar's button: after it, and the selection follows.
    pA->SelectButton(1);
    ASSERT_TRUE(pA->FinishDrag(pA->m_btns[1], ScreenRect(*pB, 0, 15), FALSE));
    EXPECT_EQ(Ids(*pA), std::vector<UINT>{a});
    EXPECT_EQ(Ids(*pB), (std::vector<UINT>{c, b}));
    EXPECT_EQ(m_manager->GetSelectionBar(), pB);
    EXPECT_TRUE(pB->m_btns[1]->m_nStyle & SEC_TBBS_SELECTED);

    // A locked bar gives nothing away.
    pB->m_dwLock = 1;
    ASSERT_TRUE(pB->FinishDrag(pB->m_btns[0], ScreenRect(*pA, 0, 15), FALSE));
    EXPECT_EQ(Ids(*pB), (std::vector<UINT>{c, b}));
    pB->m_dwLock = 0;

    // Dropped on the empty desktop with Ctrl: a new floating user toolbar holds a copy.
    ASSERT_TRUE(pB->FinishDrag(pB->m_btns[0], Away(), TRUE));
    SECCustomToolBar* pNew = m_manager->FindToolBar(SEC_IDW_FIRST_USER_TOOLBAR);
    ASSERT_TRUE(pNew);
    EXPECT_EQ(Ids(*pNew), std::vector<UINT>{c});
    EXPECT_TRUE(pNew->IsFloating());
    EXPECT_EQ(Ids(*pB), (std::vector<UINT>{c, b}));

    // Without Ctrl it is deleted; a user toolbar losing its last button goes with it.
    ASSERT_TRUE(pB->FinishDrag(pB->m_btns[0], Away(1), FALSE));
    EXPECT_EQ(Ids(*pB), std::vector<UINT>{b});
    HWND hNew = pNew->m_hWnd;
    EXPECT_FALSE(pNew->FinishDrag(pNew->m_btns[0], Away(2), FALSE));
    EXPECT_FALSE(::IsWindow(hNew));
}

TEST_F(ToolBarDragTest, ADropOnTheCustomiseDialogDoesNothing) {
    SECCustomToolBar* pBar = MakeBar({ID_FIRST_CMD, ID_FIRST_CMD + 1});
    ASSERT_TRUE(pBar);
    CWnd dialog;
    ASSERT_TRUE(dialog.CreateEx(0, AfxRegisterWndClass(0), u"Customize", WS_POPUP | WS_VISIBLE,
                                CRect(900, 500, 1100, 700), nullptr, 0));
    m_manager->SetCustomizeDialog(&dialog);
    ASSERT_TRUE(pBar->FinishDrag(pBar->m_btns[0], CRect(950, 550, 973, 572), FALSE));
    EXPECT_EQ(pBar->GetBtnCount(), 2);
    m_manager->SetCustomizeDialog(nullptr);
    dialog.DestroyWindow();
}

TEST_F(ToolBarDragTest, SeparatorsAndDisabledButtonsNeverTurnHot) {
    SECCustomToolBar* pBar = MakeBar({ID_FIRST_CMD, 0, ID_FIRST_CMD + 1});
    ASSERT_TRUE(pBar);
    m_frame->SetActiveWindow();
    pBar->m_btns[2]->m_nStyle |= SEC_TBBS_DISABLED;
    struct Case {
        int index;
        int hot;
    } cases[] = {{0, 0}, {1, -1}, {2, -1}, {0, 0}};
    for (const Case& k : cases) {
        CPoint pt = ScreenRect(*pBar, k.index).CenterPoint();
        ::SetCursorPos(pt.x, pt.y);
        pBar->UpdateHotTracking();
        EXPECT_EQ(pBar->m_nHot, k.hot) << k.index;
        EXPECT_EQ((pBar->m_btns[0]->m_nStyle & SEC_TBBS_HOT) != 0, k.hot == 0) << k.index;
    }
}

// A menu button of the test: pressing it opens its "menu" through the bar.
class MenuBtn : public SECStdBtn {
    SEC_DECLARE_BUTTON()
public:
    MenuBtn() { m_nType = SEC_BTN_MENU; }
    BOOL BtnPressDown(CPoint) override {
        m_nStyle |= SEC_TBBS_PRESSED;
        m_pToolBar->OpenMenuButton(this, 0, 0);
        return FALSE;
    }
};
SEC_IMPLEMENT_BUTTON(MenuBtn)

TEST_F(ToolBarDragTest, WhileAMenuIsOpenThePointerMovesItOrClosesIt) {
    const UINT a = ID_FIRST_CMD, plain = a + 1, b = a + 2;
    static const SECBtnMapEntry map[] = {
        {&MenuBtn::classRecord, a, 0, nullptr}, {&MenuBtn::classRecord, b, 0, nullptr}, {nullptr, 0, 0, nullptr}};
    m_manager->SetButtonMap(map);
    SECCustomToolBar* pBar = MakeBar({a, plain, b});
    ASSERT_TRUE(pBar);
    auto message = [&](UINT msg, int index) {
        MSG m{};
        m.message = msg;
        m.pt = ScreenRect(*pBar, index).CenterPoint();
        return pBar->FilterMenuModeMessage(m);
    };
    EXPECT_FALSE(message(WM_MOUSEMOVE, 1)) << "nothing is open";
    EXPECT_EQ(pBar->FirstMenuButton(), 0);
    EXPECT_EQ(pBar->LastMenuButton(), 2);

    pBar->m_btns[0]->BtnPressDown(CPoint());
    EXPECT_EQ(pBar->m_nMenuBtn, 0);
    EXPECT_EQ(pBar->NextMenuButton(TRUE), 2) << "the plain button is no menu";
    m_frame->notifyCodes.clear();
    EXPECT_TRUE(message(WM_MOUSEMOVE, 0));
    EXPECT_TRUE(message(WM_MOUSEMOVE, 1));
    EXPECT_EQ(m_frame->notifyCodes, std::vector<int>{SEC_TBN_CLOSEMENU});

    m_frame->notifyCodes.clear();
    EXPECT_TRUE(message(WM_MOUSEMOVE, 2));
    EXPECT_EQ(pBar->m_nMenuBtn, 2);
    EXPECT_FALSE(pBar->m_btns[0]->m_nStyle & SEC_TBBS_PRESSED);
    EXPECT_EQ(m_frame->notifyCodes, std::vector<int>{SEC_TBN_OPENMENU});

    m_frame->notifyCodes.clear();
    EXPECT_FALSE(message(WM_LBUTTONDOWN, 0)) << "a click elsewhere goes on";
    EXPECT_TRUE(message(WM_LBUTTONDOWN, 2));
    EXPECT_EQ(m_frame->notifyCodes, std::vector<int>{SEC_TBN_CLOSEMENU});
    pBar->OnMenuClosed();
    EXPECT_EQ(pBar->m_nMenuBtn, -1);
    EXPECT_FALSE(message(WM_MOUSEMOVE, 0));
}

TEST_F(ToolBarDragTest, MenuModeHighlightsOneButtonAndTellsTheOwner) {
    SECCustomToolBar* pBar = MakeBar({ID_FIRST_CMD, ID_FIRST_CMD + 1});
    ASSERT_TRUE(pBar);
    pBar->SelectMenuButton(1);
    EXPECT_TRUE(pBar->IsInMenuMode());
    EXPECT_TRUE(pBar->m_btns[1]->m_nStyle & SEC_TBBS_HOT);
    pBar->SelectMenuButtonAt(pBar->m_btns[0]->GetRect().CenterPoint());
    EXPECT_FALSE(pBar->m_btns[1]->m_nStyle & SEC_TBBS_HOT);
    EXPECT_TRUE(pBar->m_btns[0]->m_nStyle & SEC_TBBS_HOT);
    pBar->ExitMenuMode();
    EXPECT_FALSE(pBar->IsInMenuMode());
    EXPECT_FALSE(pBar->m_btns[0]->m_nStyle & SEC_TBBS_HOT);
    EXPECT_EQ(m_frame->notifyCodes,
              (std::vector<int>{SEC_TBN_ENTERMENUMODE, SEC_TBN_ENTERMENUMODE, SEC_TBN_LEAVEMENUMODE}));
}

} // namespace
