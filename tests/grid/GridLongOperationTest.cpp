// Long operations: nesting without the application's long-operation object, progress and abort through it.
#include "grid/CGXLongOperation.h"
#include "tests/grid/GridEngineTestSupport.h"

namespace gridtest {
namespace {

// Answers "too early" until `abortAfter` asks, then reports the user's abort.
class FakeLongOperation : public CGXAbstractLongOperationImp {
public:
    void Begin(CGXLongOperation&) override { ++GetLongOperationState().level, ++begun; }
    void End(CGXLongOperation&) override { --GetLongOperationState().level; }
    void FreeStatusText(CGXLongOperation&) override {}
    void SetStatusText(CGXLongOperation&, LPCTSTR, BOOL) override {}
    BOOL DoMessages(CGXLongOperation&, BOOL& aborted) override {
        percents.push_back(GetLongOperationState().percent);
        aborted = static_cast<int>(percents.size()) >= abortAfter;
        return TRUE;
    }
    BOOL UpdateProgress(CGXLongOperation&) override { return TRUE; }
    void ProcessMessages(CGXLongOperation&) override {}

    int abortAfter = 1000;
    int begun = 0;
    std::vector<int> percents;
};

using LongOperationTest = EngineFixture;

TEST_F(LongOperationTest, WithoutTheApplicationsObjectOperationsOnlyNest) {
    {
        CGXLongOperation outer;
        EXPECT_EQ(GetLongOperationState().level, 1);
        {
            CGXLongOperation inner;
            EXPECT_EQ(GetLongOperationState().level, 2);
            BOOL aborted = TRUE;
            EXPECT_FALSE(inner.CheckAbort(aborted));
            EXPECT_FALSE(aborted);
        }
        EXPECT_EQ(GetLongOperationState().level, 1);
    }
    EXPECT_EQ(GetLongOperationState().level, 0);
}

TEST_F(LongOperationTest, PercentagesAreCappedAndShownOnlyForDisplayedLevels) {
    CGXLongOperation outer;
    outer.SetPercentDone(150);
    EXPECT_EQ(GetLongOperationState().percent, 100);
    CGXLongOperation inner;
    GetLongOperationState().displayLevelLimit = 0; // only the outermost level's texts show
    inner.SetPercentDone(30);
    EXPECT_EQ(GetLongOperationState().percent, 100);
}

TEST_F(LongOperationTest, AnAbortedStyleRangeKeepsThePartDoneAndFails) {
    Init();
    auto* fake = new FakeLongOperation;
    fake->abortAfter = 5;
    GridLibraryState::Instance().longOperationImp = fake;
    GridLibraryState::Instance().AddOwnedObject(fake);

    CGXStyle value;
    value.SetValue(u"x");
    EXPECT_FALSE(grid.SetStyleRange(CGXRange(1, 1, 3, 3), &value));
    EXPECT_EQ(fake->percents, (std::vector<int>{11, 22, 33, 44, 55}));
    EXPECT_EQ(grid.GetValueRowCol(2, 2), CString(u"x")); // the fifth cell, row by row
    EXPECT_TRUE(grid.GetValueRowCol(2, 3).IsEmpty());
    EXPECT_EQ(GetLongOperationState().level, 0);

    fake->abortAfter = 1000;
    EXPECT_TRUE(grid.InsertRows(1, 2));
    EXPECT_GE(fake->begun, 2);
}

} // namespace
} // namespace gridtest
