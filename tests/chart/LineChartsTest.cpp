// Line, step, area and stock charts: point spacing, breaks at null items, thinning, the step shape, where
// areas stand and how stock series share a category.
#include "ChartFixture.h"

#include <gtest/gtest.h>

using charttest::ChartFixture;
using charttest::kNull;

TEST(LineCharts, PointsRunFromTheLeftToTheRightEdge) {
    ChartFixture<> f(1, 0, {{0, 5, 10}});
    f.Plot(10, 10, 210, 110).Range(0, 10).Draw();
    EXPECT_EQ(f.Point(0, 0).x, 10);
    EXPECT_EQ(f.Point(0, 0).y, 110);
    EXPECT_EQ(f.Point(0, 1).x, 110);
    EXPECT_EQ(f.Point(0, 1).y, 60);
    EXPECT_EQ(f.Point(0, 2).x, 210);
    EXPECT_EQ(f.Point(0, 2).y, 10);

    // A single item: one point at the left edge.
    ChartFixture<> single(1, 0, {{5}});
    single.Plot(10, 10, 210, 110).Range(0, 10).Draw();
    EXPECT_EQ(single.Point(0, 0).x, 10);
}

TEST(LineCharts, ANullItemBreaksTheLineOnlyWithTheOption) {
    // Items 2, null, 2: the straight line through the middle item's place is drawn unless the option breaks it.
    for (bool breaks : {false, true}) {
        ChartFixture<> f(1, 0, {{2, kNull, 2}});
        f.Plot(10, 10, 210, 110).Range(0, 4);
        if (breaks) {
            f.Option(SRGO_NULL_BREAKS_LINE);
        }
        f.Draw();
        EXPECT_EQ(f.Inked(110, 60), !breaks) << breaks;
        EXPECT_EQ(f.Point(0, 1).x, -1);
    }
}

TEST(LineCharts, ThinningDrawsAboutOnePointPerPixel) {
    std::vector<double> values(1000);
    for (size_t i = 0; i < values.size(); ++i) {
        values[i] = static_cast<double>(i % 7);
    }
    for (bool thin : {false, true}) {
        ChartFixture<> f(1, 0, {values});
        f.Plot(0, 0, 200, 100).Range(0, 10);
        f.display->GetStyle().SetThird(SRGT_LINE_THINNING, thin);
        f.Draw();
        const auto points = f.Records(SRGraphFeedback::point);
        ASSERT_EQ(points.size(), thin ? 200u : 1000u);
        if (thin) {
            EXPECT_EQ(points[1].item, 5);
        }
    }
}

TEST(LineCharts, TaggedLinesDrawWhereTheShapeKindIsZero) {
    for (int graph : {1, 31}) {
        ChartFixture<> f(graph, 0, {{2, 8}});
        f.Plot(10, 10, 210, 110).Range(0, 10);
        f.ItemStyle(0, 0).SetShapeKind(0);
        f.ItemStyle(1, 0).SetShapeKind(0);
        f.Draw();
        EXPECT_EQ(f.Inked(110, 60), graph == 31) << graph;
    }
}

TEST(LineCharts, StepsGoAcrossThenUpOrDown) {
    // Values 1, 3, 2 over a plot 200 wide: steps at x 110 and 210.
    ChartFixture<> f(36, 0, {{1, 3, 2}});
    f.Plot(10, 10, 210, 110).Range(0, 4).Draw();
    const int y1 = 85, y3 = 35, y2 = 60;
    EXPECT_EQ(f.Point(0, 1).y, y3);
    EXPECT_TRUE(f.Inked(60, y1));   // across at the first value
    EXPECT_TRUE(f.Inked(110, 60));  // up at the second item
    EXPECT_TRUE(f.Inked(160, y3));  // across at the second value
    EXPECT_TRUE(f.Inked(210, 48));  // down at the third item
    EXPECT_FALSE(f.Inked(60, y3));  // never diagonal or ahead of the step
    EXPECT_FALSE(f.Inked(160, y2 + 5));
}

TEST(AreaCharts, AreasStandOnTheZeroLineOrTheBottomEdge) {
    const struct {
        double minimum;
        int foot;
    } cases[] = {{-5, 143}, {2, 210}};
    for (const auto& c : cases) {
        ChartFixture<> f(6, 0, {{6, 8, 6}});
        f.Plot(10, 10, 250, 210).Range(c.minimum, 10);
        f.GroupStyle(0).SetFillKind(2);
        f.GroupStyle(0).m_crSecond = RGB(0, 200, 0);
        f.Draw();
        EXPECT_EQ(f.canvas.At(130, c.foot - 3), RGB(0, 200, 0)) << c.minimum;
        EXPECT_NE(f.canvas.At(130, c.foot + 3), RGB(0, 200, 0)) << c.minimum;
    }
}

TEST(AreaCharts, LargerAveragesLieBehindUnlessTheOrderIsKept) {
    // Group 1 is larger everywhere: drawn first it lies behind group 0, which stays visible.
    for (bool keep : {false, true}) {
        ChartFixture<> f(6, 0, {{2, 2}, {6, 6}});
        f.Plot(10, 10, 210, 210).Range(0, 10);
        f.GroupStyle(0).SetFillKind(2);
        f.GroupStyle(0).m_crSecond = RGB(0, 200, 0);
        f.GroupStyle(1).SetFillKind(2);
        f.GroupStyle(1).m_crSecond = RGB(200, 0, 0);
        if (keep) {
            f.Option(SRGO_KEEP_GROUP_ORDER);
        }
        f.Draw();
        EXPECT_EQ(f.canvas.At(110, 200), keep ? RGB(200, 0, 0) : RGB(0, 200, 0)) << keep;
    }
}

TEST(AreaCharts, StackedAreasPileTheGroupsPerItem) {
    ChartFixture<> f(14, 0, {{2, 4}, {3, kNull}});
    f.Plot(10, 10, 210, 210).Range(0, 10).Draw();
    EXPECT_EQ(f.Point(0, 0).y, 170);
    EXPECT_EQ(f.Point(1, 0).y, 110);
    EXPECT_EQ(f.Point(1, 1).y, f.Point(0, 1).y);
}

TEST(StockCharts, QuadruplesMakeSeriesSideBySide) {
    // Two series of (high, low, open, close).
    ChartFixture<> f(29, 0, {{9, 8}, {1, 2}, {3, 4}, {7, 6}, {9, 8}, {1, 2}, {3, 4}, {7, 6}});
    f.Plot(10, 10, 210, 110).Range(0, 10).Draw();
    EXPECT_TRUE(f.boxes.texts.empty());
    const POINT first = f.Point(0, 0), second = f.Point(4, 0), next = f.Point(0, 1);
    // Categories of 100: bars of 200 / 4 x 10/11 = 45.45, the two series next to each other in the first.
    EXPECT_NEAR(second.x - first.x, 45, 1);
    EXPECT_LT(second.x, 110);
    EXPECT_EQ(next.x - first.x, 100);
    EXPECT_EQ(f.Point(1, 0).y, 100);
    EXPECT_EQ(f.Point(3, 0).x, first.x);

    ChartFixture<> six(28, 0, {{9}, {1}, {3}, {7}, {9}, {1}});
    six.Plot(10, 10, 210, 110).Range(0, 10).Draw();
    ASSERT_EQ(six.boxes.texts.size(), 1u);
    EXPECT_EQ(six.boxes.texts[0], u"A graph type was requested which is not compatible with the type of data or the "
                                  u"number of data items available.");
}

TEST(StockCharts, CandlesShadeRisingAndFallingBoxesApart) {
    // Item 0 rises (open 3, close 7), item 1 falls (open 7, close 3).
    ChartFixture<> f(46, 0, {{9, 9}, {1, 1}, {3, 7}, {7, 3}});
    f.Plot(10, 10, 210, 110).Range(0, 10).Draw();
    const POINT rising = f.Point(0, 0), falling = f.Point(0, 1);
    // The two colours of the series run the other way round in a falling box.
    EXPECT_NE(f.canvas.At(rising.x - 18, 60), f.canvas.At(falling.x - 18, 60));
    EXPECT_NE(f.canvas.At(rising.x - 18, 60), charttest::kWhite);
}

TEST(HighLowCharts, BandsNeedEveryItem) {
    ChartFixture<> f(24, 0, {{2, kNull, 4}});
    f.Plot(10, 10, 210, 110).Range(0, 10).Draw();
    ASSERT_EQ(f.boxes.texts.size(), 1u);
}

TEST(CombinationCharts, ShapeKindsChooseBarsOrLines) {
    // Group 0 as bars centred in their categories, group 1 as a line with symbols, group 2 not at all.
    ChartFixture<> f(25, 0, {{4, 6}, {2, 8}, {5, 5}});
    f.Plot(10, 10, 210, 110).Range(0, 10);
    for (int i = 0; i < 2; ++i) {
        f.ItemStyle(i, 0).SetShapeKind(5);
        f.ItemStyle(i, 1).SetShapeKind(2);
        f.ItemStyle(i, 2).SetShapeKind(1);
    }
    f.Draw();
    const RECT bar = f.Box(0, 1);
    EXPECT_NEAR((bar.left + bar.right) / 2, 160, 1);
    EXPECT_EQ(bar.top, 50);
    EXPECT_EQ(bar.bottom, 110);
    EXPECT_EQ(f.Point(1, 0).x, 60);
    EXPECT_EQ(f.Point(1, 0).y, 90);
    EXPECT_EQ(f.Point(2, 0).x, -1);
}
