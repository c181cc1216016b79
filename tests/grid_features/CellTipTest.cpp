// The static cells' tip: which cells overflow, and in which directions, at the grid test metrics (100-pixel
// columns after a 60-pixel header column, in a 400-pixel-wide grid window).
#include "grid/CGXStatic.h"
#include "grid_features/CGXCellTipStatic.h"
#include "tests/grid/GridEngineTestSupport.h"

namespace gridtest {
namespace {

class CellTipTest : public ::testing::Test {
protected:
    CellTipTest() : host(&grid) {
        grid.Initialize();
        grid.RegisterControl(52513, control = new CGXStatic(&grid), TRUE, FALSE);
        control->SetCellTip(tip = new CGXCellTipStatic(control));
        grid.SetRowCount(10);
        grid.SetColCount(6);
    }
    void TearDown() override { AfxDeleteTempMaps(); }
    int Needs(ROWCOL row, ROWCOL col, LPCTSTR text, int align = 0, BOOL wrap = FALSE) {
        CGXStyle cell;
        cell.SetValue(text).SetWrapText(wrap);
        if (align) {
            cell.SetHorizontalAlignment(align);
        }
        grid.SetStyleRange(CGXRange(row, col, row, col), &cell);
        const CGXStyle& style = grid.LookupStyleRowCol(row, col);
        return control->NeedsCellTip(row, col, style);
    }

    TestGrid grid;
    GridHost host;
    CGXStatic* control = nullptr;
    CGXCellTipStatic* tip = nullptr;
};

TEST_F(CellTipTest, OnlyClippedTextNeedsATip) {
    const std::u16string longText(60, u'x');
    EXPECT_EQ(Needs(2, 2, u"x"), 0);
    EXPECT_EQ(Needs(2, 2, longText.c_str()), kTipWiderThanCell);
    EXPECT_EQ(Needs(2, 2, longText.c_str(), 0, TRUE), 0); // a wrapped cell never gets one
    EXPECT_EQ(control->GetCellTipKind(2, 2, grid.LookupStyleRowCol(2, 2)), kTipText);
    // Column 4 ends past the window's right edge: right-aligned text there passes it.
    EXPECT_EQ(Needs(2, 4, u"x"), 0);
    EXPECT_EQ(Needs(3, 4, u"x", DT_RIGHT), kTipPastWindowSides);
}

TEST_F(CellTipTest, AControlWithoutATipNeverAsksForOne) {
    CGXStatic bare(&grid);
    const CGXStyle& style = grid.LookupStyleRowCol(2, 2);
    EXPECT_FALSE(bare.NeedsCellTip(2, 2, style));
    EXPECT_EQ(bare.GetCellTipKind(2, 2, style), 0x7FFFFFFF);
}

} // namespace
} // namespace gridtest
