// Undo and redo on the headless grid: every kind of change comes back as it was and goes again, a
// transaction is one step, the list keeps its limit, and a change too large for the undo buffer asks first.
#include "grid/CGXGridCore.h"
#include "grid/CGXGridParam.h"
#include "grid/CGXStylesMap.h"
#include "grid_features/CGXCommand.h"
#include "grid_features/CGXCommandFactory.h"
#include "platform/display/MessageBox.h"
#include "tests/grid/GridEngineTestSupport.h"

#include <functional>
#include <string>

namespace gridtest {
namespace {

// What a user could see of the grid: its shape, every value (header labels included) and every size.
struct Snapshot {
    ROWCOL rows = 0;
    ROWCOL cols = 0;
    ROWCOL frozenRows = 0;
    ROWCOL frozenCols = 0;
    std::vector<std::u16string> values;
    std::vector<int> sizes;
    bool operator==(const Snapshot&) const = default;
};

Snapshot Take(CGXGridCore& grid) {
    Snapshot s;
    s.rows = grid.GetRowCount();
    s.cols = grid.GetColCount();
    s.frozenRows = grid.GetFrozenRows();
    s.frozenCols = grid.GetFrozenCols();
    for (ROWCOL row = 0; row <= s.rows; ++row) {
        s.sizes.push_back(grid.GetRowHeight(row));
        for (ROWCOL col = 0; col <= s.cols; ++col) {
            s.values.emplace_back(grid.GetValueRowCol(row, col).GetString());
        }
    }
    for (ROWCOL col = 0; col <= s.cols; ++col) {
        s.sizes.push_back(grid.GetColWidth(col));
    }
    return s;
}

CGXStyle Value(const char16_t* text) {
    CGXStyle style;
    style.SetValue(text);
    return style;
}

struct UndoTest : EngineFixture {
    void SetUp() override {
        GridLibraryState::Instance().LoadTexts();
        Init(12, 6);
        // Something in every kind of place a change can take away.
        CGXStyle cell = Value(u"cell");
        CGXStyle row = Value(u"row");
        grid.SetStyleRange(CGXRange(4, 2, 4, 2), &cell);
        grid.SetStyleRange(CGXRange(5, 5, 6, 5), &cell);
        grid.SetStyleRange(CGXRange().SetRows(5, 5), &row);
        grid.SetRowHeight(5, 5, 30);
        grid.SetColWidth(2, 2, 140);
        InstallUndoRedo(&grid);
        previous = DisplaySetMessageBoxResponder([this](HWND, const std::u16string&, const std::u16string& text,
                                                        UINT) {
            prompts.push_back(text);
            return answer;
        });
    }
    void TearDown() override {
        DisplaySetMessageBoxResponder(previous);
        EngineFixture::TearDown();
    }
    CObList& UndoList() { return grid.GetParam()->GetUndoList(); }
    CObList& RedoList() { return grid.GetParam()->GetRedoList(); }

    MessageBoxResponder previous;
    std::vector<std::u16string> prompts;
    int answer = IDOK;
};

TEST_F(UndoTest, EveryKindOfChangeUndoesAndRedoesExactly) {
    const CGXStyle text = Value(u"new");
    struct Case {
        const char* name;
        std::function<BOOL()> change;
    } cases[] = {
        {"values over stored and empty cells", [&] { return grid.SetStyleRange(CGXRange(4, 1, 5, 3), &text); }},
        {"a whole row's style", [&] { return grid.SetStyleRange(CGXRange().SetRows(5, 6), &text); }},
        {"inserting rows", [&] { return grid.InsertRows(3, 2); }},
        {"removing rows with values, a row style and a height", [&] { return grid.RemoveRows(4, 6); }},
        {"inserting columns", [&] { return grid.InsertCols(1, 1); }},
        {"removing columns", [&] { return grid.RemoveCols(2, 5); }},
        {"row heights", [&] { return grid.SetRowHeight(2, 6, 40); }},
        {"column widths", [&] { return grid.SetColWidth(1, 3, 55); }},
        {"the default row height", [&] { return grid.SetDefaultRowHeight(25); }},
        {"the default column width", [&] { return grid.SetDefaultColWidth(70); }},
        {"frozen rows", [&] { return grid.SetFrozenRows(2, 1); }},
        {"frozen columns", [&] { return grid.SetFrozenCols(3); }},
        {"a base style", [&] {
             const CGXStylesMap& map = *grid.GetParam()->GetStylesMap();
             return grid.ChangeBaseStyle(map.standardStyleId, text);
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const Snapshot before = Take(grid);
        ASSERT_TRUE(c.change());
        const Snapshot after = Take(grid);
        ASSERT_NE(after, before);
        EXPECT_TRUE(grid.Undo());
        EXPECT_EQ(Take(grid), before);
        EXPECT_TRUE(grid.Redo());
        EXPECT_EQ(Take(grid), after);
        EXPECT_TRUE(grid.Undo());
        EXPECT_EQ(Take(grid), before);
    }
    // Each undo made room in the redo list and each redo took it back: nothing is left over but the last.
    EXPECT_EQ(UndoList().GetCount(), 0);
    EXPECT_EQ(RedoList().GetCount(), 1);
    EXPECT_FALSE(grid.Undo());
}

TEST_F(UndoTest, ANewChangeDropsWhatCouldBeRedoneAndRedoGoesBackToTheCell) {
    const CGXStyle text = Value(u"x");
    grid.SetStyleRange(CGXRange(2, 2, 2, 2), &text);
    // The step to redo is recorded while undoing, with the current cell of that moment.
    grid.SetCurrentCell(7, 4);
    EXPECT_TRUE(grid.Undo());
    grid.SetCurrentCell(1, 1);
    EXPECT_TRUE(grid.Redo());
    ROWCOL row = 0;
    ROWCOL col = 0;
    ASSERT_TRUE(grid.GetCurrentCell(row, col));
    EXPECT_EQ(row, 7u);
    EXPECT_EQ(col, 4u);

    EXPECT_TRUE(grid.Undo());
    EXPECT_EQ(RedoList().GetCount(), 1);
    grid.SetRowHeight(3, 3, 50);
    EXPECT_EQ(RedoList().GetCount(), 0);
    EXPECT_FALSE(grid.Redo());
}

TEST_F(UndoTest, ATransactionIsOneStepAndRollbackUndoesItWithoutATrace) {
    const Snapshot before = Take(grid);
    const CGXStyle text = Value(u"t");
    grid.BeginTrans(u"Edit");
    grid.SetStyleRange(CGXRange(1, 1, 1, 1), &text);
    grid.InsertRows(2, 1);
    grid.BeginTrans(u"inner"); // nested: counted, no second step
    grid.SetColWidth(1, 1, 77);
    grid.CommitTrans();
    grid.CommitTrans();
    const Snapshot after = Take(grid);
    ASSERT_EQ(UndoList().GetCount(), 1);
    EXPECT_EQ(CString(static_cast<CGXCommand*>(UndoList().GetHead())->GetName()), CString(u"Edit"));

    EXPECT_TRUE(grid.Undo());
    EXPECT_EQ(Take(grid), before);
    EXPECT_TRUE(grid.Redo());
    EXPECT_EQ(Take(grid), after);

    // A transaction that records nothing leaves nothing.
    grid.BeginTrans(u"empty");
    grid.CommitTrans();
    EXPECT_EQ(UndoList().GetCount(), 1);

    // Only the outermost rollback acts; it records nothing to redo.
    grid.BeginTrans(u"outer");
    grid.BeginTrans(u"inner");
    grid.SetStyleRange(CGXRange(8, 1, 8, 6), &text);
    grid.SetFrozenRows(3);
    grid.Rollback();
    EXPECT_EQ(Take(grid).frozenRows, 3u);
    grid.Rollback();
    EXPECT_EQ(Take(grid), after);
    EXPECT_EQ(UndoList().GetCount(), 1);
    EXPECT_EQ(RedoList().GetCount(), 0);
}

TEST_F(UndoTest, RemovingRowsIsOneNamedStep) {
    ASSERT_TRUE(grid.RemoveRows(2, 3));
    ASSERT_EQ(UndoList().GetCount(), 1);
    EXPECT_EQ(CString(static_cast<CGXCommand*>(UndoList().GetHead())->GetName()), CString(u"Removing rows ..."));
    ASSERT_TRUE(grid.InsertRows(1, 1));
    EXPECT_EQ(CString(static_cast<CGXCommand*>(UndoList().GetHead())->GetName()), CString(u"Insert Rows"));
}

TEST_F(UndoTest, TheListKeepsTheMaximumPlusOneAndDropsTheOldest) {
    grid.GetParam()->m_nMaxUndoCount = 3;
    for (int height = 20; height < 26; ++height) {
        grid.SetRowHeight(1, 1, height);
    }
    EXPECT_EQ(UndoList().GetCount(), 4);
    for (int i = 0; i < 4; ++i) {
        EXPECT_TRUE(grid.Undo());
    }
    EXPECT_FALSE(grid.Undo());
    EXPECT_EQ(grid.GetRowHeight(1), 21); // the two oldest steps are gone
}

TEST_F(UndoTest, AChangeTooLargeForTheUndoBufferAsksFirst) {
    const CGXStyle text = Value(u"big");
    const CGXRange tall(1, 1, 0x8000, 1);

    answer = IDCANCEL;
    EXPECT_FALSE(grid.SetStyleRange(tall, &text));
    ASSERT_EQ(prompts.size(), 1u);
    EXPECT_NE(prompts[0].find(u"too large for the undo buffer"), std::u16string::npos);
    EXPECT_TRUE(grid.GetValueRowCol(1, 1).IsEmpty());

    answer = IDOK;
    EXPECT_TRUE(grid.SetStyleRange(tall, &text));
    EXPECT_EQ(grid.GetValueRowCol(0x8000, 1), CString(u"big"));
    EXPECT_EQ(UndoList().GetCount(), 0); // stored without a record

    // One row short of the limit needs no question.
    prompts.clear();
    EXPECT_TRUE(grid.SetStyleRange(CGXRange(1, 2, 0x7FFF, 2), &text));
    EXPECT_TRUE(prompts.empty());
    EXPECT_EQ(UndoList().GetCount(), 1);
}

TEST_F(UndoTest, RemovingTooManyRowsAsksAndCancelLeavesTheGrid) {
    grid.GetParam()->EnableUndo(FALSE);
    grid.SetRowCount(0x8000);
    grid.GetParam()->EnableUndo(TRUE);
    answer = IDCANCEL;
    EXPECT_FALSE(grid.RemoveRows(1, 0x8000));
    EXPECT_EQ(grid.GetRowCount(), 0x8000u);
    EXPECT_EQ(prompts.size(), 1u);

    answer = IDOK;
    EXPECT_TRUE(grid.RemoveRows(1, 0x8000));
    EXPECT_EQ(grid.GetRowCount(), 0u);
    // Undo brings the rows back, without what they held.
    EXPECT_TRUE(grid.Undo());
    EXPECT_EQ(grid.GetRowCount(), 0x8000u);
    EXPECT_TRUE(grid.GetValueRowCol(4, 2).IsEmpty());
}

TEST_F(UndoTest, UndoFirstThrowsAwayAPendingEditAndTheMenuSaysSo) {
    const CGXStyle text = Value(u"x");
    grid.SetStyleRange(CGXRange(2, 2, 2, 2), &text);
    grid.SetCurrentCell(3, 3);
    spy->SetActive(TRUE);
    spy->SetModified(TRUE);
    CTestCmdUI item;
    grid.OnUpdateEditUndo(&item);
    EXPECT_TRUE(item.m_bEnabled);

    EXPECT_TRUE(grid.Undo());
    EXPECT_EQ(UndoList().GetCount(), 1);
    EXPECT_EQ(grid.GetValueRowCol(2, 2), CString(u"x"));

    spy->SetActive(FALSE);
    EXPECT_TRUE(grid.Undo());
    EXPECT_TRUE(grid.GetValueRowCol(2, 2).IsEmpty());
    grid.OnUpdateEditUndo(&item);
    EXPECT_FALSE(item.m_bEnabled);
    grid.OnUpdateEditRedo(&item);
    EXPECT_TRUE(item.m_bEnabled);
}

TEST_F(UndoTest, NothingIsRecordedWhileUndoIsOffOrTheGridIsReadOnlyStillUndoes) {
    const CGXStyle text = Value(u"x");
    grid.GetParam()->EnableUndo(FALSE);
    grid.SetStyleRange(CGXRange(2, 2, 2, 2), &text);
    grid.BeginTrans(u"off");
    EXPECT_EQ(UndoList().GetCount(), 0);
    grid.GetParam()->EnableUndo(TRUE);

    grid.SetStyleRange(CGXRange(3, 3, 3, 3), &text);
    grid.SetReadOnly(TRUE);
    EXPECT_TRUE(grid.Undo());
    EXPECT_TRUE(grid.GetValueRowCol(3, 3).IsEmpty());
    EXPECT_TRUE(grid.IsReadOnly());
}

} // namespace
} // namespace gridtest
