// XY, bubble and vector charts: where the pairs land, how bubble sizes become radii and where vectors point.
#include "ChartFixture.h"

#include <gtest/gtest.h>

using charttest::ChartFixture;
using charttest::kNull;

namespace {
// Both axes from 0 to 100 over a plot of 200 by 200: two pixels per unit.
template <class F>
void Square(F& f) {
    f.Plot(10, 10, 210, 210).Range(0, 100);
    f.display->SetFixedXMinimum(0);
    f.display->SetFixedXMaximum(100);
}
} // namespace

TEST(XYCharts, PairsMakePointsJoinedWithinTheirSeries) {
    // Items (1, 2, 3, 4) are the points (1, 2) and (3, 4): one series of a group under graph style 19; under
    // 20 a series takes the same pair from each group in turn, so one group's two pairs stay apart.
    const struct {
        int graph;
        std::vector<std::vector<double>> groups;
        bool joined;
    } cases[] = {
        {19, {{10, 20, 30, 40}}, true},
        {20, {{10, 20, 30, 40}}, false},
        {20, {{10, 20}, {30, 40}}, true},
        {21, {{10, 30}, {20, 40}}, true},
    };
    for (const auto& c : cases) {
        ChartFixture<> f(c.graph, 0, c.groups);
        Square(f);
        f.Draw();
        const auto points = f.Records(SRGraphFeedback::point);
        ASSERT_EQ(points.size(), 2u) << c.graph;
        EXPECT_EQ(points[0].point.x, 30) << c.graph;
        EXPECT_EQ(points[0].point.y, 170) << c.graph;
        EXPECT_EQ(points[1].point.x, 70) << c.graph;
        EXPECT_EQ(points[1].point.y, 130) << c.graph;
        EXPECT_EQ(f.Inked(50, 150), c.joined) << c.graph;
    }
}

TEST(XYCharts, AHalfNullPairIsAnError) {
    ChartFixture<> f(19, 0, {{10, kNull, 30, 40}});
    Square(f);
    f.Draw();
    ASSERT_EQ(f.boxes.texts.size(), 1u);
    // Both null: the pair is left out quietly.
    ChartFixture<> both(19, 0, {{kNull, kNull, 30, 40}});
    Square(both);
    both.Draw();
    EXPECT_TRUE(both.boxes.texts.empty());
    EXPECT_EQ(both.Records(SRGraphFeedback::point).size(), 1u);
}

TEST(BubbleCharts, SizesBecomeRadiiOrAreas) {
    const struct {
        int graph;
        double smallSize, largeSize, ratio;
    } cases[] = {{41, 4, 16, 4.0}, {42, 400, 1600, 2.0}};
    for (const auto& c : cases) {
        // Two bubbles at (25, 50) and (75, 50), the second of four times the first one's size.
        ChartFixture<> f(c.graph, 0, {{25, 75}, {50, 50}, {c.smallSize, c.largeSize}});
        Square(f);
        f.Draw();
        const RECT small = f.Box(0, 0), large = f.Box(0, 1);
        const double ratio = static_cast<double>(large.right - large.left) / (small.right - small.left);
        EXPECT_NEAR(ratio, c.ratio, 0.3) << c.graph;
        EXPECT_NEAR((small.left + small.right) / 2, 60, 1) << c.graph;
    }
}

TEST(VectorCharts, DirectionsAreClockwiseFromUp) {
    // From (50, 50): direction 90 of length 20 points right; direction 0 points up.
    ChartFixture<> f(43, 0, {{50, 20}, {50, 20}, {90, 0}, {20, 20}});
    Square(f);
    f.Draw();
    const POINT start = f.Point(0, 0), right = f.Point(2, 0);
    EXPECT_EQ(start.x, 110);
    EXPECT_EQ(start.y, 110);
    EXPECT_EQ(right.y, 110);
    EXPECT_NEAR(right.x, 150, 1);
    const POINT up = f.Point(2, 1);
    EXPECT_NEAR(up.x, f.Point(0, 1).x, 1);
    EXPECT_NEAR(up.y, f.Point(0, 1).y - 40, 1);
    // Offsets (graph style 45) are added as they are.
    ChartFixture<> offsets(45, 0, {{50}, {50}, {10}, {-10}});
    Square(offsets);
    offsets.Draw();
    EXPECT_EQ(offsets.Point(2, 0).x, 130);
    EXPECT_EQ(offsets.Point(2, 0).y, 130);
}

TEST(XYCharts, ScalesAndFrameNeedARange) {
    // Data all zero: no scales, no frame, no points.
    ChartFixture<> zero(19, 1, {{0, 0, 0, 0}});
    zero.Draw();
    EXPECT_EQ(zero.canvas.CountOther(RECT{0, 0, 300, 260}, charttest::kWhite), 0);
    ChartFixture<> some(19, 1, {{1, 2, 3, 4}});
    some.Draw();
    EXPECT_GT(some.canvas.CountOther(RECT{0, 0, 300, 260}, charttest::kWhite), 0);
}

TEST(XYCharts, EqualUnitsNarrowThePlotOfFixedRanges) {
    // 0..100 on both axes over a plot twice as wide as high: the plot is narrowed to a square, equally on both
    // sides.
    ChartFixture<> f(19, 15, {{10, 20, 30, 40}});
    f.Plot(0, 0, 200, 100).Range(0, 100).Option(SRGO_EQUAL_UNITS);
    f.display->SetFixedXMinimum(0);
    f.display->SetFixedXMaximum(100);
    f.Draw();
    const CRect plot = f.display->GetDisplayRect();
    EXPECT_EQ(plot.Width(), plot.Height());
    EXPECT_EQ(plot.left, 200 - plot.right);
}
