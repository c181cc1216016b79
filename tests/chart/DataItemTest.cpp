#include "ChartTestSupport.h"

#include "chart/SRGraphData.h"
#include "chart/SRGraphDataList.h"
#include "chart/SRGraphDynamicData.h"
#include "chart/SRGraphException.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>

using charttest::CodeOf;

TEST(ChartDataItem, ValuesWidenTheItemsRangeAndTheDummyStaysNull) {
    SRGraphData item;
    EXPECT_TRUE(item.IsNull());
    EXPECT_EQ(item.GetValue(FALSE), 0.0);
    EXPECT_EQ(item.GetValue(TRUE), -99.0);
    item.SetValue(5.0);
    item.SetValue(2.0);
    EXPECT_FALSE(item.IsNull());
    EXPECT_EQ(item.GetValueRange().m_dMin, 2.0);
    EXPECT_EQ(item.GetValueRange().m_dMax, 5.0);
    EXPECT_DOUBLE_EQ(item.GetValue(TRUE), std::log10(2.0));

    SRGraphDummyData dummy;
    dummy.SetValue(4.0);
    dummy.SetNull(FALSE);
    EXPECT_TRUE(dummy.IsNull());
    EXPECT_EQ(dummy.GetValue(FALSE), 0.0);
}

TEST(ChartDataItem, GroupsGrowOnCreateAndPadWhenSetBeyondTheirEnd) {
    SRGraphDataList group;
    group.GetItem(3, TRUE);
    EXPECT_EQ(group.GetItemCount(), 4);
    EXPECT_EQ(CodeOf([&] { group.GetItem(5, FALSE); }), SRGE_INDEX_RANGE);
    EXPECT_EQ(CodeOf([&] { group.GetItem(-1, TRUE); }), SRGE_INDEX_RANGE);

    auto* first = new SRGraphData;
    group.SetItem(first, -2);
    EXPECT_EQ(group.GetItem(0, FALSE), first);
    auto* far = new SRGraphData;
    group.SetItem(far, 8);
    EXPECT_EQ(group.GetItemCount(), 9);
    EXPECT_EQ(group.GetItem(8, FALSE), far);
}

TEST(ChartDynamicData, FullBuffersGrowOrWrap) {
    for (BOOL wrap : {FALSE, TRUE}) {
        SRGraphDynamicData buffer;
        buffer.Allocate(3);
        buffer.SetGrowth(2);
        buffer.SetWrap(wrap);
        for (double v : {1.0, 2.0, 3.0, 4.0}) {
            buffer.SetValue(v);
        }
        EXPECT_EQ(buffer.GetSize(), wrap ? 3u : 5u);
        buffer.SetReadPosition(wrap ? 0 : 3);
        EXPECT_EQ(buffer.GetValue(FALSE), 4.0) << wrap;
    }
}

TEST(ChartDynamicData, CellsKeepOneTypeAndRefuseValuesThatDoNotFit) {
    SRGraphDynamicData doubles;
    doubles.Allocate(4);
    doubles.SetValue(1.5);
    EXPECT_EQ(CodeOf([&] { doubles.PushInt(3); }), SRGE_DATA_TYPE);
    EXPECT_EQ(CodeOf([&] { doubles.PushShort(3); }), SRGE_DATA_TYPE);
    doubles.ResetReadPosition();
    EXPECT_EQ(doubles.GetValue(FALSE), 1.5);
    EXPECT_EQ(CodeOf([&] { doubles.SetReadPosition(4); }), SRGE_INDEX_RANGE);

    SRGraphDynamicData unallocated;
    EXPECT_EQ(CodeOf([&] { unallocated.SetValue(1.0); }), SRGE_NO_BUFFER);
}
