#include "grid/CGXCoveredCellPool.h"
#include "grid/CGXGridParam.h"
#include "grid/GridCoveredRanges.h"
#include "tests/grid/GridTestSupport.h"

#include <gtest/gtest.h>

namespace {

using namespace GridCoveredRanges;

class CoveredCellsTest : public ::testing::Test {
protected:
    void SetUp() override {
        InstallCoveredCellPool();
        param = std::make_unique<CGXGridParam>();
    }
    CGXRange At(ROWCOL row, ROWCOL col) {
        CGXRange out(0, 0, 0, 0);
        return Find(*param, row, col, out) ? out : CGXRange();
    }
    CGXCoveredCellPool& Pool() { return *static_cast<CGXCoveredCellPool*>(param->m_pCoveredCellPool); }

    std::unique_ptr<CGXGridParam> param;
};

TEST_F(CoveredCellsTest, CoveringAndUncoveringTable) {
    ASSERT_TRUE(Store(*param, 2, 2, 4, 3, TRUE));
    struct Case {
        const char* what;
        CGXRange range;
        BOOL cover;
        BOOL stored;
        CGXRange afterAt22; // what covers (2, 2) afterwards
    };
    const Case cases[] = {
        {"overlapping another range", CGXRange(3, 3, 5, 5), TRUE, FALSE, CGXRange(2, 2, 4, 3)},
        {"the same range again", CGXRange(2, 2, 4, 3), TRUE, FALSE, CGXRange(2, 2, 4, 3)},
        {"smaller from the same start", CGXRange(2, 2, 3, 3), TRUE, FALSE, CGXRange(2, 2, 4, 3)},
        {"uncovering from inside", CGXRange(3, 3, 3, 3), FALSE, FALSE, CGXRange(2, 2, 4, 3)},
        {"larger from the same start", CGXRange(2, 2, 5, 4), TRUE, TRUE, CGXRange(2, 2, 5, 4)},
        {"uncovering from its start", CGXRange(2, 2, 2, 2), FALSE, TRUE, CGXRange()},
        {"a single cell", CGXRange(7, 7, 7, 7), TRUE, FALSE, CGXRange()},
        {"beyond the last coverable row", CGXRange(0x7FFFFFFF, 1, 0x7FFFFFFF, 2), TRUE, FALSE, CGXRange()},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Store(*param, c.range.top, c.range.left, c.range.bottom, c.range.right, c.cover), c.stored)
            << c.what;
        EXPECT_EQ(At(2, 2), c.afterAt22) << c.what;
    }
    EXPECT_TRUE(param->m_coveredRanges.IsEmpty());
    EXPECT_EQ(At(5, 4), CGXRange()) << "the grown range left nothing behind in the pool";
}

TEST_F(CoveredCellsTest, GrowingARangeToTheCoveredRangesItMeets) {
    ASSERT_TRUE(Store(*param, 2, 2, 4, 3, TRUE));
    ASSERT_TRUE(Store(*param, 4, 4, 6, 6, TRUE));
    CGXRange range(3, 1, 3, 2);
    ExpandToCoveredCells(*param, range);
    EXPECT_EQ(range, CGXRange(2, 1, 4, 3));
    range = CGXRange(3, 3, 4, 4);
    ExpandToCoveredCells(*param, range);
    EXPECT_EQ(range, CGXRange(2, 2, 6, 6)) << "both ranges, each wholly inside";
}

TEST_F(CoveredCellsTest, RemovingRowsAndColumns) {
    ASSERT_TRUE(Store(*param, 2, 2, 4, 3, TRUE));
    using Changes = std::vector<CGXRange>;
    EXPECT_EQ(ChangesForRemovedRows(*param, 4, 6), Changes{CGXRange(2, 2, 3, 3)}) << "keeps its upper part";
    EXPECT_EQ(ChangesForRemovedRows(*param, 2, 2), Changes{CGXRange(2, 2, 2, 2)}) << "top row removed: uncovered";
    EXPECT_EQ(ChangesForRemovedRows(*param, 3, 3), Changes{}) << "a row inside: the grid's row removal shrinks it";
    EXPECT_EQ(ChangesForRemovedRows(*param, 8, 9), Changes{});
    EXPECT_EQ(ChangesForRemovedCols(*param, 3, 5), Changes{CGXRange(2, 2, 4, 2)});
    EXPECT_EQ(ChangesForRemovedCols(*param, 1, 2), Changes{CGXRange(2, 2, 2, 2)});
}

TEST_F(CoveredCellsTest, PoolRefusesOverlapWithoutLeavingHalfARange) {
    CGXRangeList ranges;
    const POSITION first = ranges.AddRange(new CGXRange(2, 2, 3, 3));
    const POSITION second = ranges.AddRange(new CGXRange(1, 3, 4, 4)); // overlapping, as a damaged file may hold
    Pool().Rebuild(ranges);
    EXPECT_EQ(Pool().Lookup(3, 3), first);
    EXPECT_EQ(Pool().Lookup(1, 3), nullptr) << "the refused range's rows above the conflict stay empty";
    EXPECT_EQ(Pool().Lookup(4, 4), nullptr);
    EXPECT_FALSE(Pool().SetRange(5, 5, 5, 5, second)) << "one cell is never entered";
}

TEST_F(CoveredCellsTest, CopyRebuildsThePoolFromTheList) {
    ASSERT_TRUE(Store(*param, 2, 2, 4, 3, TRUE));
    CGXGridParam other;
    other.m_coveredRanges.Assign(param->m_coveredRanges);
    other.RebuildCoveredCellPool();
    CGXRange out;
    ASSERT_TRUE(Find(other, 4, 3, out));
    EXPECT_EQ(out, CGXRange(2, 2, 4, 3));
}

} // namespace
