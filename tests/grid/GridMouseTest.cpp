// Driven mouse messages: the current cell moves with the click phases, the control sees them, a refused
// store or validation keeps the old cell, capture and cancel mode.
#include "grid/CGXData.h"
#include "platform/display/InputApi.h"
#include "platform/framework/CWnd.h"
#include "tests/grid/GridEngineTestSupport.h"
#include "tests/support/RecordedBoxes.h"

namespace gridtest {
namespace {

class MouseTest : public EngineFixture {
protected:
    void SetUp() override { Init(); }
    void Send(UINT message, UINT flags, POINT point) {
        grid.SendMessage(message, flags, MAKELPARAM(point.x, point.y));
    }
    void Click(ROWCOL row, ROWCOL col) {
        Send(WM_LBUTTONDOWN, MK_LBUTTON, CellCentre(row, col));
        Send(WM_LBUTTONUP, 0, CellCentre(row, col));
    }
    std::string Current() {
        ROWCOL row = 0;
        ROWCOL col = 0;
        return grid.GetCurrentCell(row, col) ? SpyControl::Cell(row, col) : "none";
    }
};

TEST_F(MouseTest, APressDragAndReleaseGoThroughTheThreePhases) {
    Send(WM_LBUTTONDOWN, MK_LBUTTON, CellCentre(3, 2));
    EXPECT_EQ(Current(), "3,2");
    EXPECT_EQ(::GetCapture(), grid.GetSafeHwnd());
    Send(WM_MOUSEMOVE, MK_LBUTTON, CellCentre(3, 2));
    Send(WM_MOUSEMOVE, MK_LBUTTON, CellCentre(5, 4));
    Send(WM_LBUTTONUP, 0, CellCentre(5, 4));
    // Down: pressed (1) | down (4) | on the press cell (0x40); moves: 8, then off it just after (0x20);
    // up: 0x10, neither on nor just off the press cell.
    EXPECT_EQ(log, (std::vector<std::string>{"InitCell 3,2", "Hide", "LButtonDown 3,2 69", "MouseMove 73", "MouseMove 41",
                                             "LButtonUp 3,2 17"}));
    EXPECT_EQ(::GetCapture(), nullptr);
    EXPECT_EQ(Current(), "3,2"); // the release cell becomes current only when the parameter asks

    grid.GetParam()->m_wCurrentCellSelectFlags = 1;
    Send(WM_LBUTTONDOWN, MK_LBUTTON, CellCentre(3, 2));
    Send(WM_MOUSEMOVE, MK_LBUTTON, CellCentre(5, 4));
    Send(WM_LBUTTONUP, 0, CellCentre(5, 4));
    EXPECT_EQ(Current(), "5,4");
}

TEST_F(MouseTest, AClickOnTheCellBeingEditedGoesToTheControlAndKeepsTheFocusInside) {
    Click(3, 2);
    CWnd edit;
    edit.Create(u"edit", u"", WS_CHILD | WS_VISIBLE, CRect(160, 57, 260, 75), &grid, 5);
    edit.SetFocus();
    spy->SetActive(TRUE);
    log.clear();
    Click(3, 2);
    EXPECT_EQ(log, (std::vector<std::string>{"LButtonDown 3,2 325", "LButtonUp 3,2 337"})); // 0x100 set
    EXPECT_EQ(::GetFocus(), edit.GetSafeHwnd());
    edit.DestroyWindow();
}

TEST_F(MouseTest, AnotherButtonDownCancelsThePress) {
    Click(2, 2);
    Send(WM_LBUTTONDOWN, MK_LBUTTON | MK_RBUTTON, CellCentre(6, 3));
    EXPECT_EQ(Current(), "2,2");
    EXPECT_EQ(grid.GetButtonState(), 0);

    Send(WM_LBUTTONDOWN, MK_LBUTTON, CellCentre(6, 3));
    EXPECT_EQ(::GetCapture(), grid.GetSafeHwnd());
    grid.SendMessage(WM_CANCELMODE);
    EXPECT_EQ(::GetCapture(), nullptr);
    EXPECT_EQ(grid.GetButtonState(), 0);
    log.clear();
    Send(WM_LBUTTONUP, 0, CellCentre(6, 3));
    EXPECT_TRUE(log.empty()); // the press was abandoned
}

TEST_F(MouseTest, AFailedStoreKeepsTheOldCellActiveWithItsText) {
    testsupport::RecordedBoxes boxes;
    Click(3, 2);
    spy->SetActive(TRUE);
    spy->SetModified(TRUE);
    spy->storeResult = FALSE;
    spy->failWarning = u"Out of range";
    log.clear();
    Click(7, 3);
    EXPECT_EQ(Current(), "3,2");
    EXPECT_TRUE(spy->IsActive());
    EXPECT_TRUE(spy->IsModified());
    ASSERT_FALSE(log.empty());
    EXPECT_EQ(log.front(), "ValidateValue");
    EXPECT_EQ(log[1], "StoreValue");
    EXPECT_EQ(boxes.texts, (std::vector<std::u16string>{u"Out of range"}));

    spy->storeResult = TRUE;
    spy->validateResult = FALSE;
    log.clear();
    Click(7, 3);
    EXPECT_EQ(Current(), "3,2");
    EXPECT_EQ(log.front(), "ValidateValue");
    EXPECT_EQ(std::count(log.begin(), log.end(), "StoreValue"), 0);

    spy->validateResult = TRUE;
    Click(7, 3);
    EXPECT_EQ(Current(), "7,3");
}

TEST_F(MouseTest, ADisabledCellNeverBecomesCurrent) {
    Click(2, 2);
    CGXStyle disabled;
    disabled.SetEnabled(FALSE);
    grid.SetStyleRange(CGXRange(4, 4, 4, 4), &disabled);
    Click(4, 4);
    EXPECT_EQ(Current(), "2,2");
    EXPECT_FALSE(grid.SetCurrentCell(4, 4));
    EXPECT_FALSE(grid.SetCurrentCell(30, 1));
    EXPECT_EQ(Current(), "2,2");
}

TEST_F(MouseTest, ADoubleClickMakesTheCellCurrentBeforeTheControlSeesIt) {
    Send(WM_LBUTTONDBLCLK, MK_LBUTTON, CellCentre(4, 3));
    EXPECT_EQ(Current(), "4,3");
    Send(WM_LBUTTONUP, 0, CellCentre(4, 3));
    EXPECT_EQ(log.front(), "InitCell 4,3");
}

TEST_F(MouseTest, ACurrentCellBeyondAShrunkGridIsDroppedForGood) {
    Click(15, 2);
    grid.GetParam()->GetData()->SetRowCount(10); // behind the grid's back
    ROWCOL row = 0;
    ROWCOL col = 0;
    EXPECT_FALSE(grid.GetCurrentCell(row, col));
    grid.GetParam()->GetData()->SetRowCount(21);
    EXPECT_FALSE(grid.GetCurrentCell(row, col));
}

} // namespace
} // namespace gridtest
