#include "grid/CGXRangeList.h"
#include "tests/grid/GridTestSupport.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

CGXRange Cells(ROWCOL t, ROWCOL l, ROWCOL b, ROWCOL r) {
    return CGXRange(t, l, b, r);
}
CGXRange Rows(ROWCOL t, ROWCOL b) {
    return CGXRange().SetRows(t, b);
}
CGXRange Cols(ROWCOL l, ROWCOL r) {
    return CGXRange().SetCols(l, r);
}
CGXRange Table() {
    return CGXRange().SetTable();
}

std::vector<CGXRange> Ranges(const CGXRangeList& list) {
    std::vector<CGXRange> out;
    for (POSITION pos = list.GetHeadPosition(); pos;) {
        out.push_back(*list.GetNextRange(pos));
    }
    return out;
}

CGXRange Invalid(CGXRange range) {
    range.valid = FALSE;
    return range;
}

// A range with its fields as given, unordered: what an empty intersection leaves.
CGXRange Raw(DWORD type, ROWCOL t, ROWCOL l, ROWCOL b, ROWCOL r) {
    CGXRange range;
    range.type = type;
    range.top = t;
    range.left = l;
    range.bottom = b;
    range.right = r;
    return range;
}

} // namespace

TEST(RangeTest, SettersOrderTheirCornersAndContainmentFollowsTheType) {
    const CGXRange cells = Cells(5, 7, 2, 3);
    EXPECT_EQ(cells, Cells(2, 3, 5, 7));
    EXPECT_TRUE(cells.ContainsCell(2, 3));
    EXPECT_TRUE(cells.ContainsCell(5, 7));
    EXPECT_FALSE(cells.ContainsCell(6, 7));
    EXPECT_TRUE(Rows(4, 2).ContainsCell(3, 999));
    EXPECT_FALSE(Rows(4, 2).ContainsCell(5, 1));
    EXPECT_TRUE(Cols(9, 9).ContainsCell(kGridMaxRowCol, 9));
    EXPECT_TRUE(Table().ContainsCell(0, 0));
    EXPECT_FALSE(CGXRange().ContainsCell(0, 0)) << "a default range is invalid and names no cell";
    EXPECT_EQ(Rows(2, 3).ExpandToCells(0, 1, 10, 20), Cells(2, 1, 3, 20));
    EXPECT_EQ(Table().ExpandToCells(1, 1, 10, 20), Cells(1, 1, 10, 20));
}

TEST(RangeTest, IntersectionsAndUnionsOfEveryPairOfTypes) {
    struct Case {
        CGXRange a, b, intersection, unionRange;
        bool overlap;
    };
    const Case cases[] = {
        {Cells(1, 1, 5, 5), Cells(3, 3, 8, 8), Cells(3, 3, 5, 5), Cells(1, 1, 8, 8), true},
        {Cells(1, 1, 2, 2), Cells(4, 4, 5, 5), Raw(CGXRange::kCells, 4, 4, 2, 2), Cells(1, 1, 5, 5), false},
        {Rows(2, 6), Cols(3, 4), Cells(2, 3, 6, 4), Table(), true},
        {Cols(3, 4), Rows(2, 6), Cells(2, 3, 6, 4), Table(), true},
        {Rows(2, 6), Cells(4, 1, 9, 3), Cells(4, 1, 6, 3), Rows(2, 9), true},
        {Cols(2, 6), Cells(1, 4, 3, 9), Cells(1, 4, 3, 6), Cols(2, 9), true},
        {Rows(1, 2), Rows(5, 6), Raw(CGXRange::kRows, 5, 0, 2, 0), Rows(1, 6), false},
        {Table(), Cells(2, 2, 3, 3), Cells(2, 2, 3, 3), Table(), true},
        {Cells(2, 2, 3, 3), Table(), Cells(2, 2, 3, 3), Table(), true},
    };
    for (const Case& c : cases) {
        CGXRange intersection;
        EXPECT_EQ(intersection.IntersectRanges(c.a, c.b) != FALSE, c.overlap);
        EXPECT_EQ(intersection, c.intersection) << "intersection " << &c - cases;
        CGXRange unionRange;
        EXPECT_TRUE(unionRange.UnionRanges(c.a, c.b));
        EXPECT_EQ(unionRange, c.unionRange) << "union " << &c - cases;
    }
}

TEST(RangeTest, ListsFollowInsertedRemovedAndMovedRows) {
    CGXRangeList list;
    list.AddRange(new CGXRange(Cells(1, 1, 4, 2))); // straddles the removed rows
    list.AddRange(new CGXRange(Cells(3, 1, 5, 1))); // wholly removed
    list.AddRange(new CGXRange(Cells(7, 1, 9, 1))); // below them
    list.AddRange(new CGXRange(Cols(2, 3)));        // no rows of its own
    list.RemoveRows(3, 5, 20);
    EXPECT_EQ(Ranges(list), (std::vector<CGXRange>{Cells(1, 1, 2, 2), Invalid(Cells(3, 1, 5, 1)),
                                                   Cells(4, 1, 6, 1), Cols(2, 3)}));
    list.RemoveInvalid();
    list.InsertRows(2, 10);
    EXPECT_EQ(Ranges(list), (std::vector<CGXRange>{Cells(1, 1, 12, 2), Cells(14, 1, 16, 1), Cols(2, 3)}));

    CGXRangeList moved;
    moved.AddRange(new CGXRange(Cells(2, 1, 3, 1)));
    moved.AddRange(new CGXRange(Cells(5, 1, 5, 1)));
    moved.AddRange(new CGXRange(Cells(8, 1, 8, 1)));
    moved.MoveRows(2, 3, 4, 10); // rows 2-3 go to 4-5; rows 4-5 close up to 2-3
    EXPECT_EQ(Ranges(moved),
              (std::vector<CGXRange>{Cells(4, 1, 5, 1), Cells(3, 1, 3, 1), Cells(8, 1, 8, 1)}));
    moved.MoveRows(4, 5, 1, 10); // and back up above row 3
    EXPECT_EQ(Ranges(moved),
              (std::vector<CGXRange>{Cells(1, 1, 2, 1), Cells(5, 1, 5, 1), Cells(8, 1, 8, 1)}));
}

TEST(RangeTest, RowIntervalsJoinOverlappingAndAdjacentRanges) {
    CGXRangeList list;
    list.AddRange(new CGXRange(Rows(8, 9)));
    list.AddRange(new CGXRange(Cells(2, 1, 4, 1)));
    list.AddRange(new CGXRange(Rows(5, 6))); // adjacent to 2-4
    list.AddRange(new CGXRange(Invalid(Rows(11, 12))));
    CDWordArray starts, ends;
    ASSERT_TRUE(list.GetRowArray(20, starts, ends, FALSE));
    ASSERT_EQ(starts.GetSize(), 2);
    EXPECT_EQ(starts[0], 2u);
    EXPECT_EQ(ends[0], 6u);
    EXPECT_EQ(starts[1], 8u);
    EXPECT_EQ(ends[1], 9u);

    ASSERT_TRUE(list.GetRowArray(20, starts, ends, TRUE)) << "whole rows only";
    ASSERT_EQ(starts.GetSize(), 2);
    EXPECT_EQ(starts[0], 5u);

    CGXRangeList cellsOnly;
    cellsOnly.AddRange(new CGXRange(Cells(1, 1, 1, 1)));
    EXPECT_FALSE(cellsOnly.GetRowArray(20, starts, ends, TRUE));
    EXPECT_EQ(starts.GetSize(), 0);
}

TEST(RangeTest, ListArchiveDropsInvalidRangesAndRefusesOtherVersions) {
    CGXRangeList list;
    list.AddRange(new CGXRange(Cells(1, 2, 3, 4)));
    list.AddRange(new CGXRange(Invalid(Rows(1, 1))));
    list.AddRange(new CGXRange(Table()));
    const gridtest::Bytes bytes = gridtest::Store([&](CArchive& ar) { list.Serialize(ar); });
    EXPECT_EQ(bytes.size(), 2u + 4u + 2u * 18u);
    CGXRangeList loaded;
    EXPECT_TRUE(gridtest::Load(bytes, [&](CArchive& ar) { loaded.Serialize(ar); }));
    EXPECT_EQ(Ranges(loaded), (std::vector<CGXRange>{Cells(1, 2, 3, 4), Table()}));

    gridtest::Bytes badVersion = bytes;
    badVersion[0] = 2;
    EXPECT_EQ(gridtest::LoadCause(badVersion, [](CArchive& ar) { CGXRangeList().Serialize(ar); }),
              CArchiveException::badSchema);
    gridtest::Bytes hugeCount = bytes;
    hugeCount[5] = 0x7F;
    EXPECT_EQ(gridtest::LoadCause(hugeCount, [](CArchive& ar) { CGXRangeList().Serialize(ar); }),
              CArchiveException::endOfFile);
}
