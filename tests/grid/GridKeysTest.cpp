// Keys: the twelve directions, what a move skips, the control's first look and the keys' own actions.
#include "platform/display/InputApi.h"
#include "tests/grid/GridEngineTestSupport.h"

namespace gridtest {
namespace {

class KeysTest : public EngineFixture {
protected:
    void SetUp() override { Init(); }
    std::string Current() {
        ROWCOL row = 0;
        ROWCOL col = 0;
        return grid.GetCurrentCell(row, col) ? SpyControl::Cell(row, col) : "none";
    }
    void Key(UINT key) { grid.SendMessage(WM_KEYDOWN, key, 1); }
};

TEST_F(KeysTest, EachDirectionLandsWhereItShould) {
    // From (5, 3) of the 21 x 9 grid in a 400 x 300 window showing rows 1 to 15 whole.
    struct Case {
        int direction;
        const char* lands;
    } cases[] = {{1, "4,3"},  {2, "5,2"},  {3, "6,3"},  {4, "5,4"},   {5, "20,3"}, {6, "1,3"},
                 {7, "1,3"},  {8, "21,3"}, {9, "5,1"},  {10, "5,9"},  {11, "1,1"}, {12, "21,9"}};
    for (const Case& c : cases) {
        grid.SetTopRow(1);
        grid.SetLeftCol(1);
        ASSERT_TRUE(grid.SetCurrentCell(5, 3));
        EXPECT_TRUE(grid.ProcessMoveKey(c.direction, 1)) << c.direction;
        EXPECT_EQ(Current(), c.lands) << "direction " << c.direction;
    }
}

TEST_F(KeysTest, AnArrowAtTheEdgeChangesNothingAndSucceeds) {
    grid.SetCurrentCell(21, 1);
    EXPECT_TRUE(grid.ProcessMoveKey(3, 1));
    EXPECT_TRUE(grid.ProcessMoveKey(2, 1));
    EXPECT_EQ(Current(), "21,1");
    grid.SetCurrentCell(1, 9);
    EXPECT_TRUE(grid.ProcessMoveKey(1, 1));
    EXPECT_EQ(Current(), "1,9");
}

TEST_F(KeysTest, MovesSkipHiddenDisabledAndCoveredCells) {
    grid.InstallFeature<HideFourth>(kFeatureHideCells);
    grid.SetCurrentCell(2, 3);
    grid.ProcessMoveKey(4, 1);
    EXPECT_EQ(Current(), "2,5"); // over hidden column 4

    CGXStyle disabled;
    disabled.SetEnabled(FALSE);
    grid.SetStyleRange(CGXRange(2, 6, 2, 6), &disabled);
    grid.ProcessMoveKey(4, 1);
    EXPECT_EQ(Current(), "2,7");

    grid.SetStyleRange(CGXRange().SetCols(1, 2), &disabled);
    grid.ProcessMoveKey(11, 1);
    EXPECT_EQ(Current(), "1,3");
}

TEST_F(KeysTest, DownFromACoveredCellLandsBelowItsRange) {
    grid.InstallFeature<CoverColumnTwo>(kFeatureCoveredCells);
    EXPECT_TRUE(grid.SetCurrentCell(6, 2)); // inside the range: its top-left becomes current
    EXPECT_EQ(Current(), "5,2");
    grid.ProcessMoveKey(3, 1);
    EXPECT_EQ(Current(), "8,2");
    grid.ProcessMoveKey(1, 1);
    EXPECT_EQ(Current(), "5,2"); // up onto the range lands on its top-left
}

TEST_F(KeysTest, TheControlSeesKeysFirstAndEnterStoresThenMovesRight) {
    grid.SetCurrentCell(3, 3);
    spy->keyResult = TRUE;
    log.clear();
    Key(VK_DOWN);
    EXPECT_EQ(Current(), "3,3");
    EXPECT_EQ(log.front(), "KeyDown " + std::to_string(VK_DOWN));

    spy->keyResult = FALSE;
    Key(VK_DOWN);
    EXPECT_EQ(Current(), "4,3");

    spy->SetActive(TRUE);
    spy->SetModified(TRUE);
    log.clear();
    Key(VK_RETURN);
    EXPECT_EQ(Current(), "4,4");
    EXPECT_NE(std::find(log.begin(), log.end(), "StoreValue"), log.end());

    grid.GetParam()->m_nEnterKeyDirection = 0;
    Key(VK_RETURN);
    EXPECT_EQ(Current(), "4,4");
}

TEST_F(KeysTest, KeysWaitWhileTheMouseIsCapturedAndEscapeCancels) {
    grid.SetCurrentCell(3, 3);
    grid.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(110, 30)); // cell (1, 1)
    ASSERT_EQ(::GetCapture(), grid.GetSafeHwnd());
    Key(VK_DOWN);
    EXPECT_EQ(Current(), "1,1");
    Key(VK_ESCAPE);
    EXPECT_EQ(::GetCapture(), nullptr);
    EXPECT_EQ(grid.GetButtonState(), 0);
}

TEST_F(KeysTest, RecordRequestsMoveToTheirRows) {
    grid.SetCurrentCell(5, 2);
    grid.SendMessage(WM_GX_MOVETORECORD, 4, 12);
    EXPECT_EQ(Current(), "12,1");
    grid.MoveToRecord(2, 0);
    EXPECT_EQ(Current(), "13,1");
    grid.MoveToRecord(3, 0);
    EXPECT_EQ(Current(), "21,1");
}

} // namespace
} // namespace gridtest
