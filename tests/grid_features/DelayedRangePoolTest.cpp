#include "grid_features/CGXDelayedRangePool.h"
#include "tests/grid/GridTestSupport.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

using gridtest::Bytes;

namespace {

using Intervals = std::vector<std::pair<DWORD, DWORD>>;

Intervals IntervalsOf(const CGXDelayedRange& range) {
    Intervals out;
    for (INT_PTR k = 0; k < range.m_StartRows.GetSize(); ++k) {
        out.emplace_back(range.m_StartRows[k], range.m_EndRows[k]);
    }
    return out;
}

void SetIntervals(CGXDelayedRange& range, const Intervals& intervals) {
    for (const auto& [start, end] : intervals) {
        range.m_StartRows.Add(start);
        range.m_EndRows.Add(end);
    }
}

std::vector<CGXRange> RangesOf(const CGXDelayedRangePool& pool) {
    std::vector<CGXRange> out;
    for (INT_PTR i = 0; i < pool.GetCount(); ++i) {
        out.push_back(pool.GetAt(i)->m_Range);
    }
    return out;
}

} // namespace

TEST(DelayedRange, MarkEvaluatedRecordsRowsAndNarrowsToTheNewOnes) {
    struct Case {
        const char* what;
        Intervals before;
        CGXRange rows;
        BOOL result;
        Intervals after;
        ROWCOL newTop, newBottom;
    };
    const Case cases[] = {
        {"first rows", {}, CGXRange(3, 0, 5, 0), TRUE, {{3, 5}}, 3, 5},
        {"joins over a gap, keeping the later end", {{1, 2}, {5, 6}}, CGXRange(3, 0, 10, 0), TRUE, {{1, 6}}, 3,
         10},
        {"all evaluated before", {{1, 8}}, CGXRange(2, 0, 4, 0), FALSE, {{1, 8}}, 2, 4},
        {"extends an interval downwards", {{1, 4}}, CGXRange(3, 0, 6, 0), TRUE, {{1, 6}}, 5, 6},
        {"extends an interval upwards", {{5, 9}}, CGXRange(2, 0, 6, 0), TRUE, {{2, 9}}, 2, 4},
        {"inserted before a later interval", {{10, 12}}, CGXRange(2, 0, 3, 0), TRUE, {{2, 3}, {10, 12}}, 2, 3},
        {"adjacent intervals stay apart", {{1, 2}}, CGXRange(4, 0, 5, 0), TRUE, {{1, 2}, {4, 5}}, 4, 5},
    };
    for (const Case& c : cases) {
        CGXDelayedRange range(CGXRange(0, 0, 100, 5));
        SetIntervals(range, c.before);
        CGXRange rows = c.rows;
        EXPECT_EQ(range.MarkEvaluated(rows), c.result) << c.what;
        EXPECT_EQ(IntervalsOf(range), c.after) << c.what;
        EXPECT_EQ(rows.top, c.newTop) << c.what;
        EXPECT_EQ(rows.bottom, c.newBottom) << c.what;
        EXPECT_FALSE(range.m_bDone) << c.what;
    }
}

TEST(DelayedRange, EvaluatingEveryRowMakesItDone) {
    CGXDelayedRange range(CGXRange(2, 0, 6, 3));
    CGXRange rows(2, 0, 3, 3);
    EXPECT_TRUE(range.MarkEvaluated(rows));
    rows = CGXRange(4, 0, 6, 3);
    EXPECT_TRUE(range.MarkEvaluated(rows));
    EXPECT_TRUE(range.m_bDone);
    EXPECT_TRUE(IntervalsOf(range).empty());
}

TEST(DelayedRangePool, AddRangeResetsCoveredRangesAndReusesTheirSlot) {
    CGXDelayedRangePool pool;
    pool.AddRange(CGXRange(2, 2, 3, 3));
    pool.AddRange(CGXRange(10, 10, 12, 12));
    pool.AddRange(CGXRange(0, 0, 5, 5)); // covers the first one added (now second in the pool)
    EXPECT_EQ(RangesOf(pool), (std::vector<CGXRange>{CGXRange(10, 10, 12, 12), CGXRange(0, 0, 5, 5)}));
    EXPECT_FALSE(pool.GetAt(1)->m_bDone);
}

TEST(DelayedRangePool, AddRangeWidensAnUnevaluatedNeighbour) {
    CGXDelayedRangePool pool;
    pool.AddRange(CGXRange(0, 0, 9, 3));
    pool.AddRange(CGXRange(2, 4, 5, 6)); // just right of it: widened, whatever the rows
    EXPECT_EQ(RangesOf(pool), (std::vector<CGXRange>{CGXRange(0, 0, 9, 6)}));
    pool.AddRange(CGXRange(10, 0, 11, 6)); // just below
    EXPECT_EQ(RangesOf(pool), (std::vector<CGXRange>{CGXRange(0, 0, 11, 6)}));

    // With rows evaluated the range is not widened: the new area gets a range of its own.
    CGXRange rows(0, 0, 0, 6);
    pool.GetAt(0)->MarkEvaluated(rows);
    pool.AddRange(CGXRange(0, 7, 0, 8));
    EXPECT_EQ(RangesOf(pool), (std::vector<CGXRange>{CGXRange(0, 7, 0, 8), CGXRange(0, 0, 11, 6)}));
}

TEST(DelayedRangePool, PendingCellsAreReportedOnce) {
    CGXDelayedRangePool pool;
    pool.AddRange(CGXRange(0, 3, 20, 8));
    CDWordArray lefts;
    CDWordArray rights;
    ASSERT_TRUE(pool.GetPendingCells(CGXRange(10, 5, 12, 6), lefts, rights));
    for (INT_PTR j = 0; j < 3; ++j) {
        EXPECT_EQ(lefts[j], 5u);
        EXPECT_EQ(rights[j], 6u);
    }
    // Split into three column pieces; the middle one keeps rows 10..12 as evaluated.
    EXPECT_EQ(RangesOf(pool),
              (std::vector<CGXRange>{CGXRange(0, 5, 20, 6), CGXRange(0, 3, 20, 4), CGXRange(0, 7, 20, 8)}));
    EXPECT_EQ(IntervalsOf(*pool.GetAt(0)), (Intervals{{10, 12}}));
    EXPECT_TRUE(IntervalsOf(*pool.GetAt(1)).empty());

    EXPECT_FALSE(pool.GetPendingCells(CGXRange(10, 5, 12, 6), lefts, rights));
    EXPECT_EQ(rights[0], 0u);
    EXPECT_EQ(lefts[0], 0xFFFFFFFFu);
}

TEST(DelayedRangePool, FullyReportedRangesAreRemoved) {
    CGXDelayedRangePool pool;
    pool.AddRange(CGXRange(1, 1, 2, 4));
    pool.AddRange(CGXRange(5, 1, 6, 2));
    CDWordArray lefts;
    CDWordArray rights;
    ASSERT_TRUE(pool.GetPendingCells(CGXRange(0, 0, 3, 9), lefts, rights));
    EXPECT_EQ(RangesOf(pool), (std::vector<CGXRange>{CGXRange(5, 1, 6, 2)}));
    EXPECT_EQ(rights[0], 0u);
    EXPECT_EQ(lefts[1], 1u);
    EXPECT_EQ(rights[2], 4u);
    // Inverted ranges are refused.
    CGXRange inverted;
    inverted.top = 5;
    inverted.bottom = 4;
    inverted.valid = TRUE;
    EXPECT_FALSE(pool.GetPendingCells(inverted, lefts, rights));
}

TEST(DelayedRangePool, ClampsAndAssign) {
    CGXDelayedRangePool pool;
    pool.AddRange(CGXRange(3, 3, 50, 60));
    pool.ClampRows(10);
    pool.ClampCols(2);
    EXPECT_EQ(RangesOf(pool), (std::vector<CGXRange>{CGXRange(3, 2, 10, 2)}));

    CGXRange rows(3, 2, 4, 2);
    pool.GetAt(0)->MarkEvaluated(rows);
    CGXDelayedRangePool copy;
    copy.AddRange(CGXRange(0, 0, 1, 1));
    copy.Assign(pool);
    copy.Assign(copy);
    ASSERT_EQ(copy.GetCount(), 1);
    EXPECT_NE(copy.GetAt(0), pool.GetAt(0));
    EXPECT_EQ(IntervalsOf(*copy.GetAt(0)), (Intervals{{3, 4}}));
}

TEST(DelayedRangePool, ArchiveFormKeepsIntervalsAndReadsDoneRangesAsPending) {
    CGXDelayedRangePool pool;
    pool.AddRange(CGXRange(1, 2, 3, 4));
    pool.AddRange(CGXRange(7, 7, 8, 8));
    CGXRange rows(7, 7, 7, 8);
    pool.GetAt(0)->MarkEvaluated(rows);
    pool.GetAt(1)->m_bDone = TRUE;
    const Bytes bytes = gridtest::Store([&](CArchive& ar) { ar << &pool; });

    CGXDelayedRangePool* read = nullptr;
    EXPECT_TRUE(gridtest::Load(bytes, [&](CArchive& ar) {
        read = static_cast<CGXDelayedRangePool*>(ar.ReadObject(RUNTIME_CLASS(CGXDelayedRangePool)));
    }));
    ASSERT_NE(read, nullptr);
    EXPECT_EQ(RangesOf(*read), RangesOf(pool));
    EXPECT_EQ(IntervalsOf(*read->GetAt(0)), (Intervals{{7, 7}}));
    EXPECT_FALSE(read->GetAt(1)->m_bDone);
    const Bytes again = gridtest::Store([&](CArchive& ar) { ar << read; });
    EXPECT_EQ(again, bytes);
    delete read;
}

TEST(DelayedRangePool, DamagedArchivesAreRefused) {
    // A range whose interval arrays differ in length, and a pool that holds another class of object.
    CGXDelayedRangePool pool;
    pool.AddRange(CGXRange(1, 1, 2, 2));
    pool.GetAt(0)->m_StartRows.Add(1);
    Bytes bytes = gridtest::Store([&](CArchive& ar) { pool.Serialize(ar); });
    CGXDelayedRangePool read;
    EXPECT_EQ(gridtest::LoadCause(bytes, [&](CArchive& ar) { read.Serialize(ar); }), CArchiveException::badIndex);

    CObArray foreign;
    foreign.Add(new CDWordArray);
    bytes = gridtest::Store([&](CArchive& ar) { foreign.Serialize(ar); });
    delete foreign.GetAt(0);
    EXPECT_EQ(gridtest::LoadCause(bytes, [&](CArchive& ar) { read.Serialize(ar); }), CArchiveException::badClass);
    EXPECT_EQ(read.GetCount(), 0);

    // A count larger than the bytes that follow.
    EXPECT_EQ(gridtest::LoadCause({0x10, 0x00}, [&](CArchive& ar) { read.Serialize(ar); }),
              CArchiveException::endOfFile);
}

TEST(DelayedRangePool, WholeTableDelayAndInstaller) {
    InstallDelayedRangePool();
    CGXAbstractDelayedRangePoolImp* imp = GridLibraryState::Instance().delayedRangePoolImp;
    ASSERT_NE(imp, nullptr);
    InstallDelayedRangePool();
    EXPECT_EQ(GridLibraryState::Instance().delayedRangePoolImp, imp);

    CObject* pool = imp->CreatePool();
    static_cast<CGXDelayedRangePool*>(pool)->AddRange(CGXRange(1, 1, 1, 1));
    imp->DelayWholeTable(pool);
    EXPECT_EQ(RangesOf(*static_cast<CGXDelayedRangePool*>(pool)),
              (std::vector<CGXRange>{CGXRange(0, 0, 0xFFFFFFFE, 0xFFFFFFFE)}));
    CObject* clone = imp->ClonePool(pool);
    EXPECT_EQ(RangesOf(*static_cast<CGXDelayedRangePool*>(clone)), RangesOf(*static_cast<CGXDelayedRangePool*>(pool)));
    delete clone;
    delete pool;
}
