// Hidden rows and columns: the bit arrays' insert, remove and move, and hiding through the grid with the
// marks following the structure, the undo record and the headers a splitter pane or printing hides.
#include "grid/CGXGridHideCellsImp.h"
#include "grid/CGXProperties.h"
#include "platform/base/CArrays.h"
#include "tests/grid/GridEngineTestSupport.h"

namespace gridtest {
namespace {

// "0110..." from bit 0 on, as far as the array reaches.
std::string Bits(const CByteArray& bits) {
    std::string out;
    for (ROWCOL n = 0; n < static_cast<ROWCOL>(bits.GetSize() * 8); ++n) {
        out += HiddenBitsTest(bits, n) ? '1' : '0';
    }
    return out;
}

void Fill(CByteArray& bits, std::initializer_list<ROWCOL> set) {
    for (ROWCOL n : set) {
        HiddenBitsSet(bits, n, TRUE);
    }
}

TEST(HiddenBitsTest, SetTestAndWhatLiesPastTheEnd) {
    CByteArray bits;
    Fill(bits, {3, 9});
    EXPECT_EQ(bits.GetSize(), 2);
    EXPECT_EQ(Bits(bits), "0001000001000000");
    EXPECT_FALSE(HiddenBitsTest(bits, 1000));
    HiddenBitsSet(bits, 500, FALSE);
    EXPECT_EQ(bits.GetSize(), 2) << "clearing past the end grows nothing";
    HiddenBitsSet(bits, 3, FALSE);
    EXPECT_EQ(Bits(bits), "0000000001000000");
}

TEST(HiddenBitsTest, RemoveInsertAndMoveTable) {
    struct Case {
        const char* what;
        std::function<void(CByteArray&)> change;
        std::string after;
    };
    const Case cases[] = {
        {"remove 4 of 3-5", [](CByteArray& b) { HiddenBitsRemove(b, 4, 4); }, "0001100000100000"},
        {"remove across bytes", [](CByteArray& b) { HiddenBitsRemove(b, 1, 8); }, "00010000"},
        {"remove past the end", [](CByteArray& b) { HiddenBitsRemove(b, 40, 50); }, "0001110000010000"},
        {"insert 2 at 3", [](CByteArray& b) { HiddenBitsInsert(b, 3, 2); }, "000001110000010000000000"},
        {"insert past the end", [](CByteArray& b) { HiddenBitsInsert(b, 99, 2); }, "0001110000010000"},
        {"move 3-4 down to 7", [](CByteArray& b) { HiddenBitsMove(b, 3, 4, 7); }, "0001000110010000"},
        {"move 11 up to 0", [](CByteArray& b) { HiddenBitsMove(b, 11, 11, 0); }, "10001110"},
        {"move onto itself", [](CByteArray& b) { HiddenBitsMove(b, 3, 5, 3); }, "0001110000010000"},
    };
    for (const Case& c : cases) {
        CByteArray bits;
        Fill(bits, {3, 4, 5, 11});
        c.change(bits);
        EXPECT_EQ(Bits(bits), c.after) << c.what;
    }
}

class HiddenTest : public EngineFixture {
protected:
    void SetUp() override {
        grid.InstallHideCells();
        grid.InstallFeature<CommandSpy>(kFeatureUndoRedo);
        Init();
        commands = static_cast<CommandSpy*>(grid.GetFeature(kFeatureUndoRedo));
    }
    std::string HiddenRows(ROWCOL last) {
        std::string out;
        for (ROWCOL row = 1; row <= last; ++row) {
            out += grid.IsRowHidden(row) ? '1' : '0';
        }
        return out;
    }

    CommandSpy* commands = nullptr;
};

TEST_F(HiddenTest, HiddenRowsFollowRemovalAndInsertion) {
    ASSERT_TRUE(grid.HideRows(3, 5));
    EXPECT_EQ(HiddenRows(7), "0011100");
    EXPECT_EQ(grid.GetRowHeight(4), 0);
    ASSERT_TRUE(grid.RemoveRows(4, 4));
    EXPECT_EQ(HiddenRows(7), "0011000") << "old row 5 moved up";
    ASSERT_TRUE(grid.InsertRows(3, 2));
    EXPECT_EQ(HiddenRows(7), "0000110") << "the new rows are visible";
    ASSERT_TRUE(grid.HideCols(2, 0));
    ASSERT_TRUE(grid.RemoveCols(1, 1));
    EXPECT_TRUE(grid.IsColHidden(1));
    EXPECT_EQ(grid.GetColWidth(1), 0);
}

TEST_F(HiddenTest, OnlyAChangeCountsAndRecordsTheOldStates) {
    ASSERT_TRUE(grid.HideRows(3, 4));
    EXPECT_FALSE(grid.HideRows(3, 4)) << "already hidden";
    BOOL perRow[] = {FALSE, TRUE, TRUE};
    EXPECT_TRUE(grid.HideRows(3, 5, TRUE, perRow));
    EXPECT_EQ(HiddenRows(6), "000110") << "the array, not the flag, says which";
    EXPECT_FALSE(grid.HideRows(5, 4)) << "reversed";
    EXPECT_TRUE(grid.HideRows(4, 0, FALSE, nullptr, 1, kCmdRollback));
    EXPECT_EQ(commands->log,
              (std::vector<std::string>{"HideRows 3-4 was 00 0", "AddCommand 0", "HideRows 3-5 was 110 0",
                                        "AddCommand 0"}));
}

TEST_F(HiddenTest, MovedRowsTakeTheirMarksAlong) {
    ASSERT_TRUE(grid.HideRows(2, 0));
    auto* hidden = static_cast<CGXAbstractGridHideCellsImp*>(grid.GetFeature(kFeatureHideCells));
    hidden->MoveRows(&grid, 1, 2, 5);
    EXPECT_EQ(HiddenRows(7), "0000010");
    hidden->MoveRows(&grid, 6, 6, 1);
    EXPECT_EQ(HiddenRows(7), "1000000");
}

TEST_F(HiddenTest, HeadersALowerPaneOrPrintingHides) {
    grid.GetParam()->m_nHeaderRows = 1;
    EXPECT_FALSE(grid.IsRowHidden(1));
    grid.m_nSplitterRow = 1;
    EXPECT_TRUE(grid.IsRowHidden(0));
    EXPECT_TRUE(grid.IsRowHidden(1));
    EXPECT_FALSE(grid.IsRowHidden(2));
    grid.SetPrintingMode(TRUE);
    EXPECT_FALSE(grid.IsRowHidden(1)) << "printing shows them";
    grid.m_nSplitterRow = 0;
    CGXProperties* properties = grid.GetParam()->GetProperties();
    properties->printing = TRUE;
    properties->printColumnHeaders = FALSE;
    EXPECT_TRUE(grid.IsRowHidden(0));
    EXPECT_FALSE(grid.IsColHidden(0));
    properties->printRowHeaders = FALSE;
    EXPECT_TRUE(grid.IsColHidden(0));
    grid.SetPrintingMode(FALSE);
    EXPECT_FALSE(grid.IsRowHidden(0));
}

} // namespace
} // namespace gridtest
