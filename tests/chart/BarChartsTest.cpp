// Bar and column charts: where each rectangle lands, where the bars stand, how stacked and layered segments
// share a column, and floating bars.
#include "ChartFixture.h"

#include <gtest/gtest.h>

using charttest::ChartFixture;

namespace {
const std::vector<std::vector<double>> kThreeByFour = {{2, 4, 6, 8}, {3, 5, 7, 9}, {1, 2, 3, 4}};
}

TEST(BarCharts, ClusteredColumnsShareTheirCategoryInFixedWidths) {
    // Plot 240 wide: categories of 60, bars of 240 / 12 x 10/11 = 18.18, the cluster 2.73 into its category.
    ChartFixture<> f(3, 0, kThreeByFour);
    f.Plot(10, 10, 250, 210).Range(0, 10).Draw();
    for (int item = 0; item < 4; ++item) {
        for (int group = 0; group < 3; ++group) {
            const RECT box = f.Box(group, item);
            const int x0 = static_cast<int>(10 + item * 60 + group * (240.0 / 12 / 1.1) + (30 - 3 * (240.0 / 12 / 1.1) / 2));
            EXPECT_EQ(box.left, x0) << group << "," << item;
            EXPECT_EQ(box.right, x0 + 18) << group << "," << item;
            EXPECT_EQ(box.bottom, 210) << group << "," << item;
            EXPECT_EQ(box.top, static_cast<int>(210 - kThreeByFour[group][item] * 20 + 0.5)) << group << "," << item;
        }
    }
    EXPECT_TRUE(f.boxes.texts.empty());
}

TEST(BarCharts, ColumnsStandOnTheZeroLineOrHangFromTheTop) {
    const struct {
        double minimum, maximum, value;
        int foot, top; // in a plot from y 10 to 210
    } cases[] = {
        {0, 10, 5, 210, 110},   // from the bottom edge
        {-5, 10, 5, 143, 77},   // the zero line: 210 - 5 x 200 / 15
        {-5, 10, -2, 143, 170}, // below it, downward
        {-10, -2, -4, 10, 60},  // all below zero: from the top edge
    };
    for (const auto& c : cases) {
        ChartFixture<> f(3, 0, {{c.value}});
        f.Plot(10, 10, 250, 210).Range(c.minimum, c.maximum).Draw();
        const RECT box = f.Box(0, 0);
        EXPECT_EQ(std::max(box.top, box.bottom), std::max(c.foot, c.top)) << c.minimum << ".." << c.maximum;
        EXPECT_EQ(std::min(box.top, box.bottom), std::min(c.foot, c.top)) << c.minimum << ".." << c.maximum;
    }
}

TEST(BarCharts, BarsRunRightwardWithCategoriesFromTheBottomUp) {
    ChartFixture<> f(2, 0, {{5, 10}, {2, 4}});
    f.Plot(10, 10, 210, 210).Range(0, 10).Draw();
    const RECT first = f.Box(0, 0), second = f.Box(1, 0), upper = f.Box(0, 1);
    EXPECT_EQ(first.left, 10);
    EXPECT_EQ(first.right, 110);
    EXPECT_EQ(upper.right, 210);
    EXPECT_EQ(second.right, 50);
    // Group 1 above group 0 in the same category; item 1 above both.
    EXPECT_LT(second.bottom, first.bottom);
    EXPECT_LE(upper.bottom, second.top);
}

TEST(BarCharts, DepthNarrowsThePlotAndDrawsBoxes) {
    ChartFixture<> flat(3, 0, {{10}});
    flat.Plot(10, 10, 250, 210).Range(0, 10).Draw();
    ChartFixture<> deep(15, 0, {{10}});
    deep.Plot(10, 10, 250, 210).Range(0, 10).Draw();
    // The depth is 10 pixels at screen resolution: the plot loses 10 at the right and the top.
    EXPECT_EQ(flat.Box(0, 0).top, 10);
    EXPECT_EQ(deep.Box(0, 0).top, 20);
    EXPECT_LT(deep.Box(0, 0).right, flat.Box(0, 0).right);
    // Three faces logged: front, side and top.
    EXPECT_EQ(deep.Records(SRGraphFeedback::polygon).size(), 3u);
    EXPECT_EQ(flat.Records(SRGraphFeedback::polygon).size(), 1u);
}

TEST(BarCharts, AnItemWithoutKindsTakesItsGroupsStyle) {
    ChartFixture<> f(3, 0, {{5, 5}});
    f.Plot(10, 10, 250, 210).Range(0, 10);
    f.GroupStyle(0).SetFillKind(2);
    f.GroupStyle(0).m_crSecond = RGB(0, 200, 0);
    f.ItemStyle(0, 0).m_dwChartType &= ~0xFFu;
    f.Draw();
    const RECT own = f.Box(0, 0), kept = f.Box(0, 1);
    EXPECT_EQ(f.canvas.At((own.left + own.right) / 2, (own.top + own.bottom) / 2), RGB(0, 200, 0));
    EXPECT_NE(f.canvas.At((kept.left + kept.right) / 2, (kept.top + kept.bottom) / 2), RGB(0, 200, 0));
}

TEST(BarCharts, StackedSegmentsContinueWhereTheLastEnded) {
    // Stacked over the groups per item (null counts as 0), and over the items per group.
    ChartFixture<> items(37, 0, {{2, 1}, {charttest::kNull, 3}, {4, 2}});
    items.Plot(10, 10, 210, 210).Range(0, 10).Draw();
    EXPECT_EQ(items.Box(0, 0).top, 170);
    EXPECT_EQ(items.Box(2, 0).bottom, 170);
    EXPECT_EQ(items.Box(2, 0).top, 90);
    EXPECT_EQ(items.Box(1, 1).bottom, items.Box(0, 1).top);

    ChartFixture<> groups(39, 0, {{2, 1}, {3, 3}});
    groups.Plot(10, 10, 210, 210).Range(0, 10).Draw();
    const RECT first = groups.Box(0, 0), second = groups.Box(0, 1), other = groups.Box(1, 0);
    EXPECT_EQ(second.bottom, first.top);
    EXPECT_EQ(second.top, 150);
    // One column per group: 100 wide slots.
    EXPECT_GE(other.left, 110);
    EXPECT_EQ(first.left, second.left);
}

TEST(BarCharts, LayeredSegmentsBelongToTheirUpperEndAboveTheBaseline) {
    // Values 5 (group 0) and 3 (group 1): group 1 owns 0..3, group 0 owns 3..5.
    ChartFixture<> f(11, 0, {{5}, {3}});
    f.Plot(10, 10, 210, 210).Range(0, 10).Draw();
    EXPECT_EQ(f.Box(1, 0).bottom, 210);
    EXPECT_EQ(f.Box(1, 0).top, 150);
    EXPECT_EQ(f.Box(0, 0).bottom, 150);
    EXPECT_EQ(f.Box(0, 0).top, 110);
}

TEST(BarCharts, FloatingBarsOrderTheirEndsAndStopAtThePlot) {
    auto bar = [](double start, double end) {
        ChartFixture<> f(30, 0, {{start}, {end}});
        f.Plot(10, 10, 210, 110).Range(0, 10).Draw();
        RECT whole{10000, 10000, -1, -1};
        for (const auto& r : f.Records(SRGraphFeedback::rectangle)) {
            whole.left = std::min(whole.left, r.box.left);
            whole.top = std::min(whole.top, r.box.top);
            whole.right = std::max(whole.right, r.box.right);
            whole.bottom = std::max(whole.bottom, r.box.bottom);
        }
        return whole;
    };
    const RECT forward = bar(2, 6), backward = bar(6, 2);
    EXPECT_EQ(forward.left, 50);
    EXPECT_EQ(forward.right, 130);
    EXPECT_EQ(backward.left, forward.left);
    EXPECT_EQ(backward.right, forward.right);
    // One row, its bar 10/11 of the plot height, centred.
    EXPECT_EQ(forward.top, 14);
    EXPECT_EQ(forward.bottom, 104);
    const RECT past = bar(5, 20);
    EXPECT_EQ(past.right, 210);
}
