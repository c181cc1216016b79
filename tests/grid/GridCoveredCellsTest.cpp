// Covered cells on the headless grid: covering through the grid with its read-only lock, redraw and undo
// record, the current cell kept on a block's top-left cell, blocks following row and column removal, and a
// block half scrolled out painted as one cell.
#include "grid/CGXBrushValue.h"
#include "tests/grid/GridEngineTestSupport.h"

namespace gridtest {
namespace {

class CoveredTest : public EngineFixture {
protected:
    void SetUp() override {
        grid.InstallCoveredCells();
        grid.InstallFeature<CommandSpy>(kFeatureUndoRedo);
        Init();
        commands = static_cast<CommandSpy*>(grid.GetFeature(kFeatureUndoRedo));
    }
    CGXRange At(ROWCOL row, ROWCOL col) {
        CGXRange out;
        return grid.GetCoveredCellsRowCol(row, col, out) ? out : CGXRange();
    }

    CommandSpy* commands = nullptr;
};

TEST_F(CoveredTest, CoveringThroughTheGridRecordsTheOldExtentAndRedrawsIt) {
    ASSERT_TRUE(grid.SetCoveredCellsRowCol(2, 2, 4, 3));
    EXPECT_EQ(At(4, 3), CGXRange(2, 2, 4, 3));
    host.Validate();
    struct Case {
        const char* what;
        CGXRange range;
        BOOL done;
        CGXRange after; // what covers (2, 2) afterwards
    };
    const Case cases[] = {
        {"overlapping another block", CGXRange(3, 3, 5, 5), FALSE, CGXRange(2, 2, 4, 3)},
        {"smaller from the same start", CGXRange(2, 2, 3, 3), FALSE, CGXRange(2, 2, 4, 3)},
        {"larger from the same start", CGXRange(2, 2, 5, 4), TRUE, CGXRange(2, 2, 5, 4)},
        {"one cell: uncovering", CGXRange(2, 2, 2, 2), TRUE, CGXRange()},
        {"at the last index", CGXRange(0x7FFFFFFF, 1, 0x7FFFFFFF, 2), FALSE, CGXRange()},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(grid.SetCoveredCellsRowCol(c.range.top, c.range.left, c.range.bottom, c.range.right), c.done)
            << c.what;
        EXPECT_EQ(At(2, 2), c.after) << c.what;
    }
    EXPECT_EQ(grid.GetCoveredCellsRowCol(0x7FFFFFFF, 2, *std::make_unique<CGXRange>()), nullptr);
    EXPECT_EQ(commands->log, (std::vector<std::string>{"Covered 2,2 was to 2,2 0", "AddCommand 0",
                                                       "Covered 2,2 was to 4,3 0", "AddCommand 0",
                                                       "Covered 2,2 was to 5,4 0", "AddCommand 0"}));
    // Uncovering redraws where the block was, not only its first cell: rows 2-5, columns 2-4 (to the
    // window's right edge).
    const RECT update = host.UpdateRect();
    EXPECT_LE(update.left, 160);
    EXPECT_EQ(update.right, 400);
    EXPECT_GE(update.bottom, 21 + 5 * 18);
}

TEST_F(CoveredTest, UndoAndRollbackRecordNothingAndAReadOnlyGridRefuses) {
    EXPECT_TRUE(grid.SetCoveredCellsRowCol(2, 2, 3, 3, 1, kCmdRollback));
    grid.GetParam()->EnableUndo(FALSE);
    EXPECT_TRUE(grid.SetCoveredCellsRowCol(5, 5, 6, 6));
    EXPECT_TRUE(commands->log.empty());
    grid.SetReadOnly(TRUE);
    EXPECT_FALSE(grid.SetCoveredCellsRowCol(8, 1, 9, 2));
    EXPECT_FALSE(grid.SetCoveredCellsRowCol(2, 2, 2, 2)) << "nor is a block uncovered";
    EXPECT_EQ(At(3, 3), CGXRange(2, 2, 3, 3));
}

TEST_F(CoveredTest, TheCurrentCellStaysOnABlocksTopLeftCell) {
    ASSERT_TRUE(grid.SetCurrentCell(3, 3));
    ASSERT_TRUE(grid.SetCoveredCellsRowCol(2, 2, 4, 4));
    ROWCOL row = 0;
    ROWCOL col = 0;
    ASSERT_TRUE(grid.GetCurrentCell(row, col));
    EXPECT_EQ(SpyControl::Cell(row, col), "2,2") << "covering moved it";
    ASSERT_TRUE(grid.SetCurrentCell(4, 3));
    ASSERT_TRUE(grid.GetCurrentCell(row, col));
    EXPECT_EQ(SpyControl::Cell(row, col), "2,2") << "moving into the middle lands on the top-left cell";
    // A click in the block's cell (4, 3) (x 260..360, y 75..93) names the block.
    grid.SetCurrentCell(8, 1);
    grid.OnGridLButtonDown(MK_LBUTTON, POINT{300, 80});
    grid.OnGridLButtonUp(0, POINT{300, 80});
    ASSERT_TRUE(grid.GetCurrentCell(row, col));
    EXPECT_EQ(SpyControl::Cell(row, col), "2,2");
}

TEST_F(CoveredTest, BlocksFollowRemovedAndInsertedRowsAndColumns) {
    ASSERT_TRUE(grid.SetCoveredCellsRowCol(2, 2, 4, 3));
    ASSERT_TRUE(grid.SetCoveredCellsRowCol(8, 1, 9, 2));
    ASSERT_TRUE(grid.SetCoveredCellsRowCol(12, 5, 13, 7));
    commands->log.clear();

    ASSERT_TRUE(grid.RemoveRows(4, 5));
    EXPECT_EQ(At(2, 2), CGXRange(2, 2, 3, 3)) << "its bottom row removed: the part above stays";
    EXPECT_EQ(At(6, 1), CGXRange(6, 1, 7, 2)) << "below the removed rows: moved up";
    EXPECT_EQ(commands->log.front().rfind("BeginTrans", 0), 0u) << "one undo step";
    EXPECT_EQ(commands->log.back(), "CommitTrans");

    ASSERT_TRUE(grid.RemoveRows(6, 6));
    EXPECT_EQ(At(6, 1), CGXRange()) << "its top row removed: uncovered";
    EXPECT_EQ(At(6, 2), CGXRange());

    ASSERT_TRUE(grid.InsertRows(1, 2));
    EXPECT_EQ(At(4, 2), CGXRange(4, 2, 5, 3));
    commands->log.clear();
    ASSERT_TRUE(grid.RemoveCols(6, 9));
    EXPECT_EQ(commands->log.front().rfind("BeginTrans", 0), 0u) << "columns too: one undo step";
    EXPECT_EQ(commands->log.back(), "CommitTrans");
    EXPECT_EQ(At(12, 5), CGXRange(11, 5, 12, 5)) << "its right columns removed: the left one stays";
    ASSERT_TRUE(grid.RemoveCols(1, 2));
    EXPECT_EQ(At(4, 1), CGXRange()) << "its left column removed";
}

// Draws the cell's interior where the grid asks and a 10-pixel black square at the centre of the rectangle
// it is given: where a centred value would go.
class CentreMark : public SpyControl {
public:
    using SpyControl::SpyControl;
    void Draw(CDC* dc, const RECT& rect, ROWCOL, ROWCOL, const CGXStyle& style, const CGXStyle*) override {
        DrawBackground(dc, rect, style, FALSE);
        const CRect r(rect);
        const CPoint centre = r.CenterPoint();
        dc->FillSolidRect(CRect(centre.x - 5, centre.y - 5, centre.x + 5, centre.y + 5), RGB(0, 0, 0));
    }
};

TEST_F(CoveredTest, ABlockHalfScrolledOutDrawsAsOneCellClippedToWhatShows) {
    grid.RegisterControl(0x7002, new CentreMark(&grid, nullptr), TRUE, FALSE);
    CGXStyle interior;
    interior.SetInterior(CGXBrushValue().SetBrush(CGXBrushValue::kSolid, RGB(0, 0, 255), 0));
    grid.SetStyleRange(CGXRange(2, 2, 7, 3), &interior);
    ASSERT_TRUE(grid.SetCoveredCellsRowCol(2, 2, 7, 3));
    // Rows 2-7, columns 2-3 (x 160..360); with row 5 on top they would span y -33..75, centre y 21.
    grid.SetTopRow(5, 0);
    ::InvalidateRect(grid.GetSafeHwnd(), nullptr, FALSE);
    host.Paint();

    const COLORREF blue = RGB(0, 0, 255);
    const COLORREF black = RGB(0, 0, 0);
    EXPECT_EQ(host.Pixel(260, 22), black) << "the mark sits where the whole block's centre is";
    EXPECT_EQ(host.Pixel(260, 25), black);
    EXPECT_NE(host.Pixel(260, 18), black) << "clipped: nothing drawn over the header row";
    EXPECT_NE(host.Pixel(260, 27), black);
    for (const POINT p : {POINT{260, 50}, POINT{200, 57}, POINT{340, 39}, POINT{170, 70}}) {
        EXPECT_EQ(host.Pixel(p.x, p.y), blue) << "no grid line inside the block at " << p.x << "," << p.y;
    }
    EXPECT_NE(host.Pixel(360, 50), blue) << "the grid line right of the block";
    EXPECT_NE(host.Pixel(200, 75), blue) << "the grid line below the block";
}

// Records the rectangles it is asked to draw one cell in (column x, row y of `watch`).
class RectSpy : public SpyControl {
public:
    using SpyControl::SpyControl;
    void Draw(CDC*, const RECT& rect, ROWCOL row, ROWCOL col, const CGXStyle&, const CGXStyle*) override {
        if (row == static_cast<ROWCOL>(watch.y) && col == static_cast<ROWCOL>(watch.x)) {
            rects.push_back(CRect(rect));
        }
    }
    CPoint watch{1, 2};
    std::vector<CRect> rects;
};

TEST_F(CoveredTest, ABlockAcrossTheFrozenColumnsIsDrawnInEachPaneAsIfWhole) {
    auto* spy = new RectSpy(&grid, nullptr);
    grid.RegisterControl(0x7003, spy, TRUE, FALSE);
    grid.SetFrozenCols(2);
    grid.SetLeftCol(4, 0);
    ASSERT_TRUE(grid.SetCoveredCellsRowCol(2, 1, 3, 4));
    ::InvalidateRect(grid.GetSafeHwnd(), nullptr, FALSE);
    host.Paint();
    // Columns 1-4 are 400 pixels: from x 60 in the frozen pane; the scrolling pane shows column 4 at 260,
    // so there the block starts 300 pixels further left. Rows 2-3: y 39..75.
    EXPECT_EQ(spy->rects, (std::vector<CRect>{CRect(60, 39, 460, 75), CRect(-40, 39, 360, 75)}));
}

// Row 5's columns 1-3 merged row-wise; records the pane parts it is asked to evaluate.
struct MergeRowFive : CGXAbstractGridMergeCellsImp {
    BOOL GetMergedCellsRowCol(CGXGridCore*, ROWCOL row, ROWCOL col, CGXRange& range, int kind) override {
        if (kind != 0 || row != 5 || col < 1 || col > 3) {
            return FALSE;
        }
        range = CGXRange(5, 1, 5, 3);
        return TRUE;
    }
    void DelayMergeCells(CGXGridCore*, const CGXRange&) override {}
    BOOL EvalMergeCells(CGXGridCore*, const CGXRange& range, BOOL, CGXRange*, UINT) override {
        evaluated.push_back(range);
        return FALSE;
    }
    std::vector<CGXRange> evaluated;
};

TEST_F(CoveredTest, AMergedRangeIsDrawnAsOneUnlessItsActiveCurrentCellDrawsItself) {
    grid.InstallFeature<MergeRowFive>(kFeatureMergeCells);
    auto* merged = static_cast<MergeRowFive*>(grid.GetFeature(kFeatureMergeCells));
    auto* spy = new RectSpy(&grid, nullptr);
    spy->watch = CPoint(1, 5);
    grid.RegisterControl(0x7003, spy, TRUE, FALSE);
    ::InvalidateRect(grid.GetSafeHwnd(), nullptr, FALSE);
    host.Paint();
    // Row 5: y 93..111; columns 1-3: x 60..360.
    EXPECT_EQ(spy->rects, (std::vector<CRect>{CRect(60, 93, 360, 111)}));
    EXPECT_FALSE(merged->evaluated.empty()) << "the drawing asks for the merged cells of what it shows";

    // The active current cell in the middle of the range draws itself over it.
    ASSERT_TRUE(grid.SetCurrentCell(5, 2, 0x10 | 0x0A));
    spy->SetActive(TRUE);
    spy->rects.clear();
    spy->watch = CPoint(2, 5);
    ::InvalidateRect(grid.GetSafeHwnd(), nullptr, FALSE);
    host.Paint();
    EXPECT_EQ(spy->rects, (std::vector<CRect>{CRect(160, 93, 260, 111)}));
}

} // namespace
} // namespace gridtest
