// Clearing cells through the grid: values or whole stored styles, inside the counts and outside the headers,
// as one undo step.
#include "grid/CGXBrushValue.h"
#include "grid/CGXRangeList.h"
#include "tests/grid/GridEngineTestSupport.h"

namespace gridtest {
namespace {

class ClearTest : public EngineFixture {
protected:
    void SetUp() override {
        grid.InstallClearCells();
        grid.InstallFeature<CommandSpy>(kFeatureUndoRedo);
        Init(8, 6);
        commands = static_cast<CommandSpy*>(grid.GetFeature(kFeatureUndoRedo));
        CGXStyle filled;
        filled.SetValue(u"x").SetInterior(CGXBrushValue().SetBrush(CGXBrushValue::kSolid, RGB(255, 0, 0), 0));
        grid.SetStyleRange(CGXRange(1, 1, 8, 6), &filled);
        grid.SetStyleRange(CGXRange(0, 1, 0, 6), &filled); // header cells with a value of their own
    }
    // One character per cell of the row: v a value, s a stored style without one, . nothing stored.
    std::string Row(ROWCOL row) {
        std::string out;
        for (ROWCOL col = 1; col <= 6; ++col) {
            CGXStyle stored;
            if (!grid.LoadStoredStyleRowCol(row, col, stored, kMergeCopy)) {
                out += '.';
            } else {
                out += stored.GetIncludeValue() && !stored.GetValue().IsEmpty() ? 'v' : 's';
            }
        }
        return out;
    }
    static void Add(CGXRangeList& list, const CGXRange& range) { list.AddRange(new CGXRange(range)); }

    CommandSpy* commands = nullptr;
};

TEST_F(ClearTest, ValuesOrStylesOfTheRangesOnlyAsOneStep) {
    CGXRangeList ranges;
    Add(ranges, CGXRange(1, 1, 2, 2));
    Add(ranges, CGXRange(4, 4, 5, 5));
    ASSERT_TRUE(grid.ClearCells(ranges, FALSE));
    EXPECT_EQ(Row(1), "ssvvvv") << "values emptied, formats kept";
    EXPECT_EQ(Row(4), "vvvssv") << "the cells between two ranges stay";
    EXPECT_EQ(Row(2), "ssvvvv");
    EXPECT_EQ(commands->log.front().rfind("BeginTrans", 0), 0u);
    EXPECT_EQ(commands->log.back(), "CommitTrans");

    CGXRangeList rows;
    rows.AddRange(new CGXRange(CGXRange().SetRows(4, 4)));
    ASSERT_TRUE(grid.ClearCells(rows, TRUE));
    EXPECT_EQ(Row(4), "......") << "removing styles takes values and formats alike";
    EXPECT_EQ(Row(5), "vvvssv");
    EXPECT_EQ(grid.GetValueRowCol(0, 1), CString(u"x")) << "headers are never cleared";
}

TEST_F(ClearTest, TheSelectionOrTheCurrentCellAndWhatCannotBeCleared) {
    ASSERT_TRUE(grid.SetCurrentCell(3, 3));
    EXPECT_TRUE(grid.CanClear());
    ASSERT_TRUE(grid.Clear(FALSE));
    EXPECT_EQ(Row(3), "vvsvvv") << "nothing selected: the current cell";

    CGXStyle readOnly;
    readOnly.SetReadOnly(TRUE);
    grid.SetStyleRange(CGXRange(6, 2, 6, 2), &readOnly);
    CGXRangeList ranges;
    Add(ranges, CGXRange(6, 1, 6, 3));
    EXPECT_FALSE(grid.ClearCells(ranges, FALSE)) << "a read-only cell stops the clearing";
    EXPECT_EQ(Row(6), "svvvvv");

    grid.SetReadOnly(TRUE);
    EXPECT_FALSE(grid.CanClear());
}

} // namespace
} // namespace gridtest
