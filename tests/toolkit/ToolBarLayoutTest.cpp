// The custom toolbar's button list and rows: wrapping at a width or for a height, rows ending at separators,
// tidying separators when buttons go, user toolbars that go with their last button.
#include "ToolBarTestSupport.h"

#include "platform/controls/Toolbar.h"

using namespace tbtest;

namespace {

class ToolBarLayoutTest : public ToolBarTest {};

TEST_F(ToolBarLayoutTest, WrappingForAHeightFindsTheNarrowestWidthThatFits) {
    SECCustomToolBar* pBar = MakeBar(std::vector<UINT>(12, ID_FIRST_CMD));
    ASSERT_TRUE(pBar);
    // Two rows of six: five a row would need three rows, 66 high.
    EXPECT_EQ(pBar->CalcWrappedSize(50, TRUE), CSize(138, 44));
    for (int i = 0; i < 12; ++i) {
        EXPECT_EQ((pBar->m_btns[static_cast<size_t>(i)]->m_nStyle & SEC_TBBS_WRAPPED) != 0, i == 5) << i;
    }
    // A width narrower than any button still holds one button a row.
    EXPECT_EQ(pBar->CalcWrappedSize(5, FALSE), CSize(23, 12 * 22));
}

TEST_F(ToolBarLayoutTest, ARowBreaksAtItsLastSeparatorAndTheNextSitsLower) {
    const UINT b = ID_FIRST_CMD;
    SECCustomToolBar* pBar = MakeBar({b, b, b, 0, b, b, b});
    ASSERT_TRUE(pBar);
    // 69 + 8 + 23 fits in 100 + 2; the fifth button does not: the row ends at the separator, whose width
    // is not the row's.
    EXPECT_EQ(pBar->CalcWrappedSize(100, FALSE), CSize(69, 22 + 5 + 22));
    EXPECT_TRUE(pBar->m_btns[3]->m_nStyle & SEC_TBBS_WRAPPED);

    CRect inside(0, 0, 0, 0);
    pBar->CalcInsideRect(inside, TRUE);
    pBar->CalcLayout(100 - inside.Width(), LM_COMMIT | LM_HORZ);
    const SECStdBtn& first = *pBar->m_btns[0];
    const SECStdBtn& nextRow = *pBar->m_btns[4];
    EXPECT_EQ(nextRow.m_x, first.m_x);
    EXPECT_EQ(nextRow.m_y, first.m_y + 22 + 5);
}

TEST_F(ToolBarLayoutTest, HiddenButtonsTakeNoPlaceAndTheHitTestSkipsSeparators) {
    const UINT b = ID_FIRST_CMD;
    SECCustomToolBar* pBar = MakeBar({b, b + 1, 0, b + 2});
    ASSERT_TRUE(pBar);
    pBar->m_btns[1]->m_nStyle |= SEC_TBBS_HIDDEN;
    pBar->CalcLayout(-1, LM_COMMIT | LM_HORZ | LM_HORZDOCK);
    const SECStdBtn& sep = *pBar->m_btns[2];
    const SECStdBtn& last = *pBar->m_btns[3];
    EXPECT_EQ(sep.m_x, pBar->m_btns[0]->m_x + 23);
    EXPECT_EQ(last.m_x, sep.m_x + sep.m_cx);
    CRect rect;
    EXPECT_EQ(pBar->HitTest(CPoint(last.m_x + 3, last.m_y + 3), &rect), 3);
    EXPECT_EQ(rect, last.GetRect());
    EXPECT_EQ(pBar->HitTest(CPoint(sep.m_x + 2, sep.m_y + 3)), -1);
    EXPECT_EQ(pBar->HitTest(CPoint(last.m_x + 3, last.m_y - 5)), -1);
}

TEST_F(ToolBarLayoutTest, RemovingAButtonKeepsTheSeparatorsTidy) {
    const UINT a = ID_FIRST_CMD, b = a + 1, c = a + 2;
    struct Case {
        std::vector<UINT> before;
        int index;
        BOOL result;
        std::vector<UINT> after;
    } cases[] = {
        {{a, 0, b, 0, c}, 2, TRUE, {a, 0, c}}, // between two separators: one stays
        {{a, 0, b}, 0, TRUE, {b}},             // no leading separator
        {{a, 0, b}, 2, TRUE, {a}},             // no trailing separator
        {{a, b, c}, 1, TRUE, {a, c}},
        {{a, b}, 2, FALSE, {a, b}}, // out of range
        {{a, b}, -1, FALSE, {a, b}},
    };
    for (const Case& k : cases) {
        SECCustomToolBar* pBar = MakeBar(k.before);
        ASSERT_TRUE(pBar);
        EXPECT_EQ(pBar->RemoveButton(k.index), k.result) << k.index;
        EXPECT_EQ(Ids(*pBar), k.after) << k.index;
        pBar->DestroyWindow();
    }
}

TEST_F(ToolBarLayoutTest, OnlyAUserToolBarGoesWithItsLastButton) {
    SECCustomToolBar* pStd = MakeBar({ID_FIRST_CMD}, SEC_IDW_LAST_STD_TOOLBAR);
    SECCustomToolBar* pUser = MakeBar({ID_FIRST_CMD}, SEC_IDW_LAST_STD_TOOLBAR + 3);
    ASSERT_TRUE(pStd && pUser);
    HWND hStd = pStd->m_hWnd;
    HWND hUser = pUser->m_hWnd;
    EXPECT_TRUE(pStd->RemoveButton(0));
    EXPECT_TRUE(::IsWindow(hStd));
    EXPECT_EQ(pStd->GetBtnCount(), 0);
    EXPECT_FALSE(pUser->RemoveButton(0));
    EXPECT_FALSE(::IsWindow(hUser));
}

TEST_F(ToolBarLayoutTest, CommonControlButtonRecordsAddButtonsWithTheirStates) {
    SECCustomToolBar* pBar = MakeBar({});
    ASSERT_TRUE(pBar);
    TBBUTTON buttons[3]{};
    buttons[0].idCommand = ID_FIRST_CMD;
    buttons[1].idCommand = 0;
    buttons[2].idCommand = ID_FIRST_CMD + 1;
    buttons[2].fsStyle = TBSTYLE_CHECK;
    buttons[2].fsState = TBSTATE_CHECKED;
    pBar->SendMessage(TB_ADDBUTTONS, 3, reinterpret_cast<LPARAM>(buttons));
    EXPECT_EQ(Ids(*pBar), (std::vector<UINT>{ID_FIRST_CMD, 0, ID_FIRST_CMD + 1}));
    EXPECT_TRUE(pBar->m_btns[1]->m_nStyle & SEC_TBBS_SEPARATOR);
    EXPECT_TRUE(pBar->m_btns[2]->HasStyle(SEC_TBBS_CHECKBOX | SEC_TBBS_CHECKED));
    pBar->SendMessage(TB_DELETEBUTTON, 0);
    EXPECT_EQ(Ids(*pBar), (std::vector<UINT>{ID_FIRST_CMD + 1}));
}

TEST_F(ToolBarLayoutTest, DockingMeasuresTheBarAgainWithTheDockBarsBorders) {
    m_frame->EnableDocking(CBRS_ALIGN_ANY);
    const UINT b = ID_FIRST_CMD;
    SECCustomToolBar* pBar = MakeBar({b, b, b}); // bordered at the bottom only, and measured so
    ASSERT_TRUE(pBar);
    m_frame->DockControlBar(pBar);
    ASSERT_EQ(pBar->GetBarStyle() & CBRS_BORDER_ANY, static_cast<DWORD>(CBRS_BORDER_ANY));
    // A bar made with the docked style from the start.
    SECCustomToolBar* pFresh = m_manager->CreateToolBar(
        ID_SECOND_BAR, u"Bar", WS_CHILD | WS_VISIBLE | (pBar->GetBarStyle() & CBRS_ALL));
    ASSERT_TRUE(pFresh);
    const UINT ids[] = {b, b, b};
    pFresh->SetButtons(ids, 3);
    EXPECT_EQ(pBar->CalcDynamicLayout(-1, LM_HORZ | LM_HORZDOCK),
              pFresh->CalcDynamicLayout(-1, LM_HORZ | LM_HORZDOCK));
}

} // namespace
