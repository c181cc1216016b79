// Row heights and column widths, rectangles, hit testing and zoom at the fixed test metrics.
#include "grid/CGXProperties.h"
#include "tests/grid/GridEngineTestSupport.h"

namespace gridtest {
namespace {


class SizesTest : public EngineFixture {};

TEST_F(SizesTest, SizesAreStoredInThousandthsOfTheFontUnits) {
    Init();
    EXPECT_EQ(grid.GetRowHeight(0), 21); // 1400 / 66
    EXPECT_EQ(grid.GetColWidth(0), 60);  // 6000 / 100
    EXPECT_EQ(grid.GetRowHeight(1), 18); // 1200 / 66
    EXPECT_EQ(grid.GetColWidth(1), 100);

    grid.StoreRowHeight(2, 18);
    EXPECT_EQ(grid.GetParam()->m_rowHeights[2], 1188);
    EXPECT_EQ(grid.GetRowHeight(2), 18);
    grid.StoreRowHeight(3, 17);
    EXPECT_EQ(grid.GetParam()->m_rowHeights[3], 1122);
    EXPECT_EQ(grid.GetRowHeight(3), 17);

    grid.StoreRowHeight(3, -1);
    LONG stored = 0;
    EXPECT_FALSE(grid.GetParam()->m_rowHeights.Lookup(3, stored));
    EXPECT_EQ(grid.GetRowHeight(3), 18);

    EXPECT_FALSE(grid.StoreDefaultRowHeight(0));
    EXPECT_FALSE(grid.SetRowHeight(5, 4, 30));
    EXPECT_TRUE(grid.SetColWidth(2, 3, 40));
    EXPECT_EQ(grid.GetColWidth(3), 40);
}

TEST_F(SizesTest, RectanglesAndPointsFollowTheVisibleCells) {
    Init();
    EXPECT_EQ(grid.CalcCellRect(0, 0), CRect(0, 0, 60, 21));
    EXPECT_EQ(grid.CalcCellRect(2, 1), CRect(60, 39, 160, 57));
    EXPECT_EQ(grid.ComputeCellRangeRect(3, 2, 1, 1), CRect(60, 21, 260, 75));

    grid.SetTopRow(3);
    EXPECT_EQ(grid.CalcCellRect(1, 1), CRect(0, 0, 0, 0)); // scrolled out
    EXPECT_EQ(grid.CalcCellRect(3, 1).top, 21);

    struct Case {
        int x, y;
        ROWCOL visibleRow, visibleCol;
    } cases[] = {{0, 0, 0, 0}, {59, 20, 0, 0}, {60, 21, 1, 1}, {159, 38, 1, 1}, {160, 39, 2, 2}};
    for (const Case& c : cases) {
        EXPECT_EQ(grid.CalcClientRowFromPt(POINT{c.x, c.y}), c.visibleRow) << c.x << "," << c.y;
        EXPECT_EQ(grid.CalcClientColFromPt(POINT{c.x, c.y}), c.visibleCol) << c.x << "," << c.y;
    }
    grid.SetColCount(2);
    EXPECT_EQ(grid.CalcClientColFromPt(POINT{300, 5}), kGridNoRowCol); // right of the last column
}

TEST_F(SizesTest, HitTestClassifiesEdgesCellsAndHeaders) {
    Init();
    // Column 2's right edge is at x 260, row 1's bottom at y 39.
    struct Case {
        int x, y;
        WORD colFlags;
        int code;
        ROWCOL row, col;
    } cases[] = {
        {257, 10, 178, kHitColEdge, 0, 2}, // 3 px left of the edge, in the header row
        {255, 10, 178, kHitHeader, 0, 2},  // 5 px left
        {257, 30, 178, kHitCell, 1, 2},    // only header rows size columns by default
        {257, 30, 178 | 4, kHitColEdge, 1, 2},
        {255, 30, 178 | 4, kHitCell, 1, 2},
        {162, 10, 178, kHitColEdge, 0, 1}, // just right of column 2's left edge: column 1
        {257, 10, 178 | 8, kHitColEdge, 0, 2},
        {57, 10, 178 | 8, kHitHeader, 0, 0},  // the header's own edge cannot be dragged
        {30, 36, 178, kHitRowEdge, 1, 0},     // row 1's bottom edge in the header column
        {-5, 10, 178, kHitNothing, 0, 0},
    };
    for (const Case& c : cases) {
        grid.GetParam()->m_wColResizeFlags = c.colFlags;
        ROWCOL row = 99;
        ROWCOL col = 99;
        const int code = grid.HitTest(POINT{c.x, c.y}, &row, &col);
        EXPECT_EQ(code, c.code) << c.x << "," << c.y << " flags " << c.colFlags;
        if (code != kHitNothing) {
            EXPECT_EQ(row, c.row) << c.x << "," << c.y;
            EXPECT_EQ(col, c.col) << c.x << "," << c.y;
        }
    }
    ROWCOL row = 0;
    grid.SetRowCount(3);
    EXPECT_EQ(grid.HitTest(POINT{100, 290}, &row), kHitNothing);
    EXPECT_EQ(row, 4u); // far below the last row: the row count + 1
}

TEST_F(SizesTest, AnEdgeBesideAHiddenColumnNamesItOrTheNearestVisible) {
    grid.InstallFeature<HideFourth>(kFeatureHideCells);
    Init();
    EXPECT_EQ(grid.GetColWidth(4), 0);
    EXPECT_EQ(grid.GetRowHeight(4), 0);
    // Column 5 starts where column 4 would: 60 + 3 * 100.
    ROWCOL row = 0;
    ROWCOL col = 0;
    EXPECT_EQ(grid.HitTest(POINT{363, 10}, &row, &col), kHitHiddenCol);
    EXPECT_EQ(col, 4u);
    EXPECT_EQ(grid.HitTest(POINT{361, 10}, &row, &col), kHitColEdge);
    EXPECT_EQ(col, 3u);
}

TEST_F(SizesTest, ScrollableRowsNeverExceedTheRoomLeftByTheFrozenOnes) {
    Init();
    grid.StoreRowHeight(5, 1000);
    EXPECT_EQ(grid.GetRowHeight(5), 300 - 21);
    grid.m_bLimitRowHeight = FALSE;
    EXPECT_EQ(grid.GetRowHeight(5), 1000);
}

TEST_F(SizesTest, ZoomRedrawsOnlyWhenItChanges) {
    Init();
    host.Paint();
    grid.SetZoom(100);
    EXPECT_FALSE(host.HasUpdate());
    grid.SetZoom(150);
    EXPECT_EQ(grid.GetZoom(), 150);
    EXPECT_EQ(grid.GetParam()->GetProperties()->percentSetting, 150u);
    EXPECT_TRUE(host.HasUpdate());
    grid.SetPrintingMode(TRUE);
    EXPECT_EQ(grid.GetZoom(), 100);
    grid.SetPrintingMode(FALSE);
}

} // namespace
} // namespace gridtest
