// Counts, frozen rows, the top row, visible indices, inserting and removing.
#include "tests/grid/GridEngineTestSupport.h"

namespace gridtest {
namespace {

using StructureTest = EngineFixture;

TEST_F(StructureTest, RowCountGrowsFromZeroAndTheSameCountChangesNothing) {
    Init(0, 9);
    EXPECT_TRUE(grid.SetRowCount(21));
    EXPECT_EQ(grid.GetRowCount(), 21u);
    host.Validate();
    EXPECT_TRUE(grid.SetRowCount(21));
    EXPECT_FALSE(host.HasUpdate());
    EXPECT_TRUE(grid.SetRowCount(5));
    EXPECT_EQ(grid.GetRowCount(), 5u);
}

TEST_F(StructureTest, TopRowIsClampedToTheFrozenRowsAndTheLastRow) {
    Init(0, 0);
    grid.SetTopRow(7);
    EXPECT_EQ(grid.GetTopRow(), 1u);

    grid.SetRowCount(21);
    grid.SetFrozenRows(3);
    grid.SetTopRow(2);
    EXPECT_EQ(grid.GetTopRow(), 4u);
    grid.SetTopRow(99);
    EXPECT_EQ(grid.GetTopRow(), 21u);
}

TEST_F(StructureTest, VisibleIndicesFollowFrozenRowsAndTheTopRow) {
    Init();
    struct Case {
        ROWCOL frozen, top, row, visible;
    } cases[] = {
        {0, 1, 0, 0},  {0, 1, 5, 5},   {0, 4, 3, 0},  {0, 4, 4, 1},          {0, 4, 10, 7},
        {2, 3, 1, 1},  {2, 3, 2, 2},   {2, 3, 3, 3},  {2, 6, 6, 3},          {2, 6, 4, 0},
        {2, 1, 5, 5}, // a top row at the frozen rows counts as the first scrollable one
        {0, 1, kGridNoRowCol, kGridNoRowCol},
    };
    for (const Case& c : cases) {
        grid.SetFrozenRows(c.frozen);
        grid.m_nTopRow = c.top;
        EXPECT_EQ(grid.GetClientRow(c.row), c.visible) << c.frozen << " " << c.top << " " << c.row;
        if (c.visible != 0 || c.row == 0) {
            EXPECT_EQ(grid.GetRow(grid.GetClientRow(c.row)), c.row);
        }
    }
}

TEST_F(StructureTest, InsertingAndRemovingMoveTheCurrentCellAndTheSizes) {
    Init();
    grid.SetCurrentCell(5, 1);
    grid.StoreRowHeight(4, 30);
    grid.StoreRowHeight(7, 40);
    EXPECT_TRUE(grid.InsertRows(3, 2));
    ROWCOL row = 0;
    ROWCOL col = 0;
    ASSERT_TRUE(grid.GetCurrentCell(row, col));
    EXPECT_EQ(row, 7u);
    EXPECT_EQ(col, 1u);
    EXPECT_EQ(grid.GetRowHeight(6), 30);
    EXPECT_EQ(grid.GetRowHeight(4), 18); // the default again

    EXPECT_TRUE(grid.RemoveRows(6, 8));
    EXPECT_FALSE(grid.GetCurrentCell(row, col));
    EXPECT_EQ(grid.GetRowCount(), 20u);
    EXPECT_EQ(grid.GetRowHeight(6), 40); // row 9 moved up; row 6's own height went with it

    grid.SetCurrentCell(2, 5);
    EXPECT_TRUE(grid.RemoveCols(1, 2));
    ASSERT_TRUE(grid.GetCurrentCell(row, col));
    EXPECT_EQ(col, 3u);
}

TEST_F(StructureTest, AReadOnlyGridRefusesStructureChangesAndReportsIt) {
    Init();
    grid.SetReadOnly(TRUE);
    EXPECT_FALSE(grid.InsertRows(1, 1));
    EXPECT_FALSE(grid.RemoveRows(1, 3)); // nothing removed: no success reported
    EXPECT_FALSE(grid.SetFrozenRows(2));
    EXPECT_EQ(grid.GetRowCount(), 21u);
    grid.GetParam()->m_bReadOnlyProtectsData = FALSE;
    EXPECT_TRUE(grid.RemoveRows(1, 3));
    EXPECT_EQ(grid.GetRowCount(), 18u);
}

TEST_F(StructureTest, AGridInALowerSplitterPaneHasNoFrozenRows) {
    Init();
    grid.SetFrozenRows(2);
    grid.SetFrozenCols(1);
    grid.m_nSplitterRow = 1;
    EXPECT_EQ(grid.GetFrozenRows(), 0u);
    EXPECT_EQ(grid.GetFrozenCols(), 1u);
}

TEST_F(StructureTest, TheSelectionListFallsBackOnTheCurrentCellOnlyWhenEmpty) {
    Init();
    CGXRangeList list;
    EXPECT_FALSE(grid.GetSelectedRangeList(list, TRUE));
    grid.SetCurrentCell(3, 2);
    ASSERT_TRUE(grid.GetSelectedRangeList(list, TRUE));
    EXPECT_EQ(*list.GetRangeAt(list.GetHeadPosition()), CGXRange(3, 2, 3, 2));
    EXPECT_FALSE(grid.GetSelectedRangeList(list, FALSE));
    grid.GetParam()->m_selectedRanges.AddRange(new CGXRange(5, 5, 6, 6));
    ASSERT_TRUE(grid.GetSelectedRangeList(list, TRUE));
    EXPECT_EQ(list.GetCount(), 1);
    EXPECT_EQ(*list.GetRangeAt(list.GetHeadPosition()), CGXRange(5, 5, 6, 6));
}

} // namespace
} // namespace gridtest
