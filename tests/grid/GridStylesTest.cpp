// Composed styles of cells: header labels, row and column styles, the cache, and replacing base styles.
#include "grid/CGXStylesMap.h"
#include "grid/GridResourceIds.h"
#include "tests/grid/GridEngineTestSupport.h"

namespace gridtest {
namespace {

using StylesTest = EngineFixture;

TEST_F(StylesTest, HeadersAreLabelledWithLettersAndNumbers) {
    Init(21, 703);
    struct Case {
        ROWCOL row, col;
        const char16_t* label;
    } cases[] = {{0, 1, u"A"}, {0, 26, u"Z"}, {0, 27, u"AA"}, {0, 702, u"ZZ"}, {0, 703, u"AAA"}, {7, 0, u"7"}};
    for (const Case& c : cases) {
        EXPECT_EQ(grid.GetValueRowCol(c.row, c.col), CString(c.label)) << c.row << "," << c.col;
    }
    grid.GetParam()->m_bLetterColHeaders = FALSE;
    EXPECT_TRUE(grid.GetValueRowCol(0, 3).IsEmpty());
}

TEST_F(StylesTest, CellsFillInFromTheirRowColumnAndTableStyles) {
    Init();
    CGXStyle row;
    row.SetValue(u"row");
    CGXStyle column;
    column.SetValue(u"column").SetReadOnly(TRUE);
    grid.SetStyleRange(CGXRange().SetRows(3, 3), &row);
    grid.SetStyleRange(CGXRange().SetCols(2, 2), &column);
    EXPECT_EQ(grid.GetValueRowCol(3, 2), CString(u"row")); // the row style comes first
    EXPECT_EQ(grid.GetValueRowCol(4, 2), CString(u"column"));
    EXPECT_TRUE(grid.LookupStyleRowCol(3, 2).GetReadOnly());

    // Between two cache releases a cell's style is the same object; storing releases the cache.
    const CGXStyle* first = &grid.LookupStyleRowCol(5, 5);
    EXPECT_EQ(&grid.LookupStyleRowCol(5, 5), first);
    CGXStyle value;
    value.SetValue(u"new");
    grid.SetStyleRange(CGXRange(5, 5, 5, 5), &value);
    EXPECT_EQ(grid.LookupStyleRowCol(5, 5).GetValue(), CString(u"new"));
}

TEST_F(StylesTest, ABaseStyleChangeReachesEveryCellUnlessTheGridIsReadOnly) {
    Init();
    const WORD standard = grid.GetParam()->GetStylesMap()->standardStyleId;
    CGXStyle green;
    green.SetInteriorColor(RGB(0, 128, 0));
    ASSERT_TRUE(grid.ChangeBaseStyle(standard, green));
    EXPECT_EQ(grid.LookupStyleRowCol(9, 4).GetInterior().GetColor() & 0xFFFFFF, RGB(0, 128, 0));
    EXPECT_FALSE(grid.ChangeBaseStyle(999, green));

    grid.SetReadOnly(TRUE);
    CGXStylesMap other;
    EXPECT_FALSE(grid.ChangeStylesMap(other));
    EXPECT_FALSE(grid.ChangeBaseStyle(standard, green));
}

TEST_F(StylesTest, NegativeNumbersTakeTheirAttributesColourUnlessBeingEdited) {
    Init();
    constexpr COLORREF kRed = RGB(255, 0, 0);
    struct Case {
        const char16_t* value;
        bool red;
    } cases[] = {{u"-5", true}, {u"-0.25", true}, {u"0", false}, {u"12", false}, {u"abc", false}};
    ROWCOL row = 1;
    for (const Case& c : cases) {
        CGXStyle style;
        style.SetValue(c.value).SetTextColor(RGB(0, 0, 255)).SetUserAttribute(IDS_GRID_UA_NEGATIVE_COLOR, u"255");
        grid.SetStyleRange(CGXRange(row, 1, row, 1), &style);
        EXPECT_EQ(grid.LookupStyleRowCol(row, 1).GetTextColor() == kRed, c.red) << row;
        ++row;
    }
    // The edit shows the text as typed, in the cell's own colour.
    grid.SetCurrentCell(1, 1);
    spy->SetActive(TRUE);
    grid.ResetCurrentCellCache();
    EXPECT_EQ(grid.LookupStyleRowCol(1, 1).GetTextColor(), RGB(0, 0, 255));
}

TEST_F(StylesTest, ShownMarkedRangesAreGrey) {
    Init();
    CGXGridParam* param = grid.GetParam();
    param->m_markedRanges.AddRange(new CGXRange(2, 2, 3, 3));
    param->m_bMarkRanges = TRUE;
    EXPECT_NE(grid.LookupStyleRowCol(2, 2).GetInterior().GetColor() & 0xFFFFFF, RGB(192, 192, 192));
    param->m_bShowMarkedRanges = TRUE;
    grid.FreeObjectCache();
    EXPECT_EQ(grid.LookupStyleRowCol(2, 2).GetInterior().GetColor() & 0xFFFFFF, RGB(192, 192, 192));
    EXPECT_NE(grid.LookupStyleRowCol(4, 4).GetInterior().GetColor() & 0xFFFFFF, RGB(192, 192, 192));
}

} // namespace
} // namespace gridtest
