#include "ChartTestSupport.h"

#include "chart/SRGraphData.h"
#include "chart/SRGraphDataList.h"
#include "chart/SRGraphException.h"

#include <gtest/gtest.h>

using charttest::CodeOf;

TEST(ChartDataStore, ItemsAreMadeOnWriteAndMissingOnesAnswerTheDummy) {
    SRGraph chart;
    EXPECT_TRUE(chart.IsEmpty());
    chart.SetItemValue(3, 2, 7.5, FALSE);
    EXPECT_FALSE(chart.IsEmpty());
    EXPECT_EQ(chart.GetGroupCount(), 3);
    EXPECT_EQ(chart.GetGroupItemCount(2, FALSE), 4);
    EXPECT_EQ(chart.GetItemValue(3, 2), 7.5);
    EXPECT_EQ(chart.GetMaxItemCount(), 4);

    // Reading through FindItem never grows the store.
    EXPECT_EQ(chart.FindItem(9, 2), &chart.GetDummyItem());
    EXPECT_EQ(chart.FindItem(0, 8), &chart.GetDummyItem());
    EXPECT_EQ(chart.GetGroupCount(), 3);
    EXPECT_EQ(chart.GetGroupItemCount(2, FALSE), 4);

    EXPECT_EQ(CodeOf([&] { chart.GetGroup(-1, TRUE); }), SRGE_GROUP_RANGE);
    EXPECT_EQ(CodeOf([&] { chart.GetGroup(5, FALSE); }), SRGE_GROUP_RANGE);
}

TEST(ChartDataStore, SumsAndAveragesOverGroupsAndItems) {
    SRGraph chart;
    const double values[2][3] = {{1, 2, 3}, {10, 20, 30}};
    for (int g = 0; g < 2; ++g) {
        for (int i = 0; i < 3; ++i) {
            chart.SetItemValue(i, g, values[g][i], FALSE);
        }
    }
    EXPECT_DOUBLE_EQ(chart.SumOfGroup(1), 60.0);
    EXPECT_DOUBLE_EQ(chart.AverageOfGroup(0), 2.0);
    EXPECT_DOUBLE_EQ(chart.SumOfIndex(2, 0, 1), 33.0);
    EXPECT_DOUBLE_EQ(chart.SumOfRange(0, 1, 1, 2), 55.0);
    EXPECT_DOUBLE_EQ(chart.SumOfAll(), 66.0);
    EXPECT_DOUBLE_EQ(chart.AverageOfIndexRange(0, 1, 1), 15.0);
    EXPECT_EQ(CodeOf([&] { chart.SumOfIndex(3, 0, 1); }), SRGE_INDEX_RANGE);

    CScale range;
    chart.GetDataRange(range, FALSE);
    EXPECT_EQ(range.m_dMin, 1.0);
    EXPECT_EQ(range.m_dMax, 30.0);
}

TEST(ChartDataStore, ShiftingInKeepsTheGroupLengthAndClearAllEmpties) {
    SRGraph chart;
    for (int i = 0; i < 3; ++i) {
        chart.SetItemValue(i, 0, i + 1.0, FALSE);
    }
    chart.ShiftInValue(0, 9.0, FALSE);
    EXPECT_EQ(chart.GetGroupItemCount(0, FALSE), 3);
    EXPECT_EQ(chart.GetItemValue(0, 0), 2.0);
    EXPECT_EQ(chart.GetItemValue(2, 0), 9.0);
    chart.ShiftInValue(0, 5.0, TRUE);
    EXPECT_EQ(chart.GetItemValue(0, 0), 5.0);
    EXPECT_EQ(chart.GetItemValue(2, 0), 3.0);
    chart.ClearAll();
    EXPECT_EQ(chart.GetGroupCount(), 0);
}
