#include "grid/CGXRange.h"
#include "grid_features/CGXSpanCellPool.h"
#include "tests/grid/GridTestSupport.h"

#include <gtest/gtest.h>

#include <vector>

using gridtest::Bytes;

namespace {

CGXRange Lookup(const CGXSpanCellPool& pool, ROWCOL row, ROWCOL col, BOOL* found = nullptr) {
    CGXRange range(row, col, row, col);
    const BOOL result = pool.GetSpanCellsRowCol(row, col, range);
    if (found) {
        *found = result;
    }
    return range;
}

// The entries of one inner array, or {} for a missing one.
std::vector<DWORD> Entries(const CGXDWordArrayPtrArray& store, INT_PTR outer) {
    std::vector<DWORD> out;
    if (const CDWordArray* inner = store.GetArray(outer)) {
        out.assign(inner->GetData(), inner->GetData() + inner->GetSize());
    }
    return out;
}

constexpr DWORD N = kNoSpan;

} // namespace

TEST(SpanCellPool, BlocksAreStoredOnlyInTheDirectionsTheySpan) {
    CGXSpanCellPool pool;
    EXPECT_TRUE(pool.SetSpanCellsRowCol(2, 1, 2, 3, TRUE)); // 1 x 3
    EXPECT_EQ(Entries(pool.m_HorzSpans, 2), (std::vector<DWORD>{N, 1, 1, 1}));
    EXPECT_EQ(pool.m_VertSpans.GetSize(), 0);

    CGXSpanCellPool vertical;
    EXPECT_TRUE(vertical.SetSpanCellsRowCol(1, 4, 3, 4, TRUE)); // 3 x 1
    EXPECT_EQ(Entries(vertical.m_VertSpans, 4), (std::vector<DWORD>{N, 1, 1, 1}));
    EXPECT_EQ(vertical.m_HorzSpans.GetSize(), 0);

    CGXSpanCellPool single;
    EXPECT_FALSE(single.SetSpanCellsRowCol(5, 5, 5, 5, TRUE));
    EXPECT_EQ(single.m_HorzSpans.GetSize() + single.m_VertSpans.GetSize(), 0);
}

TEST(SpanCellPool, EveryCellOfABlockLooksUpTheWholeBlock) {
    CGXSpanCellPool pool;
    pool.SetSpanCellsRowCol(4, 2, 5, 4, TRUE); // 2 x 3
    for (ROWCOL row = 4; row <= 5; ++row) {
        for (ROWCOL col = 2; col <= 4; ++col) {
            BOOL found = FALSE;
            EXPECT_EQ(Lookup(pool, row, col, &found), CGXRange(4, 2, 5, 4)) << row << "," << col;
            EXPECT_TRUE(found);
        }
    }
    BOOL found = TRUE;
    EXPECT_EQ(Lookup(pool, 6, 2, &found), CGXRange(6, 2, 6, 2));
    EXPECT_FALSE(found);
    // Rows and columns that count as negative are refused, the range untouched.
    CGXRange untouched(1, 1, 1, 1);
    EXPECT_FALSE(pool.GetSpanCellsRowCol(0x80000000, 2, untouched));
    EXPECT_EQ(untouched, CGXRange(1, 1, 1, 1));
    EXPECT_FALSE(pool.SetSpanCellsRowCol(0, 0, 0x80000000, 1, TRUE));
}

TEST(SpanCellPool, MiddleCellsSeeTheStartAndTheTrueEnd) {
    CGXSpanCellPool pool;
    pool.SetSpanCellsRowCol(1, 2, 1, 7, TRUE);
    EXPECT_EQ(Lookup(pool, 1, 5), CGXRange(1, 2, 1, 7));
}

TEST(SpanCellPool, ClearingInsideASpanKeepsTheCellsBeforeIt) {
    CGXSpanCellPool pool;
    pool.SetSpanCellsRowCol(1, 2, 1, 7, TRUE);
    EXPECT_TRUE(pool.SetSpanCellsRowCol(1, 5, 1, 5, FALSE));
    EXPECT_EQ(Entries(pool.m_HorzSpans, 1), (std::vector<DWORD>{N, N, 2, 2, 2, N, N, N}));
    EXPECT_EQ(Lookup(pool, 1, 3), CGXRange(1, 2, 1, 4));
    // Nothing to clear: no change.
    EXPECT_FALSE(pool.SetSpanCellsRowCol(3, 1, 3, 1, FALSE));
}

TEST(SpanCellPool, ANewSpanCutsTheRestOfTheOlderSpanItOverlaps) {
    CGXSpanCellPool pool;
    pool.SetSpanCellsRowCol(0, 0, 0, 5, TRUE);
    pool.SetSpanCellsRowCol(0, 2, 0, 3, TRUE);
    EXPECT_EQ(Entries(pool.m_HorzSpans, 0), (std::vector<DWORD>{0, 0, 2, 2, N, N}));
    EXPECT_EQ(Lookup(pool, 0, 0), CGXRange(0, 0, 0, 1));
}

TEST(SpanCellPool, RowsAreInsertedRemovedAndMovedInBothStores) {
    CGXSpanCellPool pool;
    for (ROWCOL row = 0; row < 10; ++row) {
        pool.SetSpanCellsRowCol(row, 0, row, row + 1, TRUE); // row r spans columns 0..r+1
    }
    pool.SetSpanCellsRowCol(0, 20, 9, 20, TRUE); // column 20 spans rows 0..9
    const auto widthOf = [&](INT_PTR row) { return static_cast<DWORD>(Entries(pool.m_HorzSpans, row).size()); };

    EXPECT_TRUE(pool.MoveRows(2, 3, 6));
    std::vector<DWORD> widths;
    for (INT_PTR row = 0; row < 10; ++row) {
        widths.push_back(widthOf(row));
    }
    // Old rows 2 and 3 (widths 4 and 5) now stand at 6 and 7.
    EXPECT_EQ(widths, (std::vector<DWORD>{2, 3, 6, 7, 8, 9, 4, 5, 10, 11}));
    EXPECT_TRUE(pool.MoveRows(6, 7, 2));
    widths.clear();
    for (INT_PTR row = 0; row < 10; ++row) {
        widths.push_back(widthOf(row));
    }
    EXPECT_EQ(widths, (std::vector<DWORD>{2, 3, 4, 5, 6, 7, 8, 9, 10, 11}));

    EXPECT_TRUE(pool.InsertRows(1, 2));
    EXPECT_EQ(widthOf(1), 0u);
    EXPECT_EQ(widthOf(3), 3u);
    EXPECT_EQ(Entries(pool.m_VertSpans, 20), (std::vector<DWORD>{0, N, N, 0, 0, 0, 0, 0, 0, 0, 0, 0}));

    EXPECT_TRUE(pool.RemoveRows(4, 0xFFFFFFFE));
    EXPECT_EQ(pool.m_HorzSpans.GetSize(), 4);
    EXPECT_EQ(Entries(pool.m_VertSpans, 20), (std::vector<DWORD>{0, N, N, 0}));
    EXPECT_FALSE(pool.m_HorzSpans.RemoveArrays(4, 9));
    EXPECT_FALSE(pool.MoveRows(0x80000000, 1, 2));
}

TEST(SpanCellPool, ColumnOperationsTakeTheStoresTheOtherWayRound) {
    CGXSpanCellPool pool;
    pool.SetSpanCellsRowCol(0, 1, 0, 3, TRUE);
    pool.SetSpanCellsRowCol(2, 5, 4, 5, TRUE);
    EXPECT_TRUE(pool.InsertCols(0, 1));
    EXPECT_EQ(Entries(pool.m_HorzSpans, 0), (std::vector<DWORD>{N, N, 1, 1, 1}));
    EXPECT_EQ(Entries(pool.m_VertSpans, 6), (std::vector<DWORD>{N, N, 2, 2, 2}));
    EXPECT_TRUE(pool.RemoveCols(0, 1));
    EXPECT_EQ(Entries(pool.m_HorzSpans, 0), (std::vector<DWORD>{1, 1, 1}));
    EXPECT_EQ(Entries(pool.m_VertSpans, 4), (std::vector<DWORD>{N, N, 2, 2, 2}));
    // An empty store refuses.
    CGXSpanCellPool empty;
    EXPECT_FALSE(empty.InsertCols(0, 1));
    EXPECT_FALSE(empty.MoveCols(0, 1, 3));
}

TEST(SpanCellPool, AssigningCopiesDeeplyAndFillsNullArrays) {
    CGXSpanCellPool pool;
    pool.SetSpanCellsRowCol(3, 0, 3, 2, TRUE);
    pool.Assign(pool);
    EXPECT_EQ(Entries(pool.m_HorzSpans, 3), (std::vector<DWORD>{0, 0, 0}));

    CGXSpanCellPool copy;
    copy.SetSpanCellsRowCol(0, 0, 0, 9, TRUE);
    copy.Assign(pool);
    ASSERT_EQ(copy.m_HorzSpans.GetSize(), 4);
    for (INT_PTR row = 0; row < 3; ++row) {
        ASSERT_NE(copy.m_HorzSpans.GetArray(row), nullptr);
        EXPECT_EQ(copy.m_HorzSpans.GetArray(row)->GetSize(), 0);
    }
    EXPECT_NE(copy.m_HorzSpans.GetArray(3), pool.m_HorzSpans.GetArray(3));
    EXPECT_EQ(Lookup(copy, 3, 1), CGXRange(3, 0, 3, 2));
}

TEST(SpanCellPool, ArchiveFormRoundTripsAndKeepsNullArrays) {
    CGXSpanCellPool pool;
    pool.SetSpanCellsRowCol(1, 0, 1, 1, TRUE);
    const Bytes bytes = gridtest::Store([&](CArchive& ar) { pool.Serialize(ar); });
    const Bytes expected = {
        1, 0, 2, 0, 0, 0,                        // horizontal: version, size 2
        1, 0, 0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0, // index 1, two entries 0 0
        0xFF, 0xFF, 0xFF, 0xFF,                  // end
        1, 0, 0, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF, // vertical: version, size 0, end
    };
    EXPECT_EQ(bytes, expected) << gridtest::FirstDifference(bytes, expected);

    CGXSpanCellPool read;
    read.SetSpanCellsRowCol(0, 0, 5, 5, TRUE);
    EXPECT_TRUE(gridtest::Load(bytes, [&](CArchive& ar) { read.Serialize(ar); }));
    EXPECT_EQ(read.m_HorzSpans.GetSize(), 2);
    EXPECT_EQ(read.m_HorzSpans.GetArray(0), nullptr);
    EXPECT_EQ(Lookup(read, 1, 0), CGXRange(1, 0, 1, 1));
    EXPECT_EQ(read.m_VertSpans.GetSize(), 0);
}

TEST(SpanCellPool, DamagedArchivesAreRefused) {
    struct Case {
        const char* what;
        Bytes bytes;
        int cause;
    };
    const Case cases[] = {
        {"version 2", {2, 0, 0, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF}, CArchiveException::badSchema},
        {"index beyond the size", {1, 0, 1, 0, 0, 0, 1, 0, 0, 0, 0, 0}, CArchiveException::badIndex},
        {"index twice", {1, 0, 3, 0, 0, 0, 1, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0, 0}, CArchiveException::badIndex},
        {"no end marker", {1, 0, 3, 0, 0, 0, 1, 0, 0, 0, 0, 0}, CArchiveException::endOfFile},
        {"a size past the load budget", {1, 0, 0xFF, 0xFF, 0xFF, 0x7F}, CArchiveException::genericException},
    };
    for (const Case& c : cases) {
        CGXSpanCellPool pool;
        EXPECT_EQ(gridtest::LoadCause(c.bytes, [&](CArchive& ar) { pool.Serialize(ar); }), c.cause) << c.what;
    }
}

TEST(SpanCellPool, InstallerFillsTheEmptySlotOnce) {
    GridLibraryState& state = GridLibraryState::Instance();
    InstallSpanCellPool();
    CGXAbstractSpanCellPoolImp* installed = state.spanCellPoolImp;
    ASSERT_NE(installed, nullptr);
    InstallSpanCellPool();
    EXPECT_EQ(state.spanCellPoolImp, installed);

    CObject* pool = installed->CreatePool();
    static_cast<CGXSpanCellPool*>(pool)->SetSpanCellsRowCol(0, 0, 0, 1, TRUE);
    CObject* clone = installed->ClonePool(pool);
    installed->MoveCols(clone, 0, 1, 4);
    installed->MoveCols(nullptr, 0, 1, 4);
    // The entries move with their columns and keep their values.
    EXPECT_EQ(Entries(static_cast<CGXSpanCellPool*>(clone)->m_HorzSpans, 0), (std::vector<DWORD>{N, N, N, N, 0, 0}));
    EXPECT_EQ(Lookup(*static_cast<CGXSpanCellPool*>(pool), 0, 1), CGXRange(0, 0, 0, 1));
    delete clone;
    delete pool;
}
