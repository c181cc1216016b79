// Rectangular scales and axis frames: how the scales fit the plot to their labels, where they leave their
// ticks, and what the frames draw from them.
#include "ChartFixture.h"

#include "chart/SRGraphLabelBlock.h"

#include <gtest/gtest.h>

using charttest::ChartFixture;

namespace {
const std::vector<std::vector<double>> kData = {{2, 4, 6, 8}, {3, 5, 7, 9}};

CRect PlotAfterDrawing(int graph, int axis, DWORD options, int nibble = 1) {
    ChartFixture<> f(graph, axis, kData);
    f.Option(options);
    f.display->GetStyle().SetTagNibble(nibble);
    f.Draw();
    return f.display->GetDisplayRect();
}

std::vector<POINT> Ticks(CPtrList& list) {
    std::vector<POINT> out;
    for (POSITION pos = list.GetHeadPosition(); pos;) {
        out.push_back(*static_cast<const POINT*>(list.GetNext(pos)));
    }
    return out;
}
} // namespace

TEST(CartesianScales, LabelsShrinkThePlotUnlessTheyAreOffOrTheRectangleIsGiven) {
    const CRect bare = PlotAfterDrawing(3, 0, 0);
    const CRect scaled = PlotAfterDrawing(3, 2, 0);
    EXPECT_GT(scaled.left, bare.left);
    EXPECT_LT(scaled.bottom, bare.bottom);
    EXPECT_LE(scaled.top, bare.top + 10);
    // Label nibble 0: no scales at all.
    EXPECT_EQ(PlotAfterDrawing(3, 2, 0, 0), bare);
    // Without category labels only the value scale takes room, at the left.
    const CRect valuesOnly = PlotAfterDrawing(3, 2, SRGO_NO_CATEGORY_LABELS);
    EXPECT_EQ(valuesOnly.bottom, bare.bottom);
    EXPECT_GT(valuesOnly.left, bare.left);
    EXPECT_EQ(PlotAfterDrawing(3, 2, SRGO_NO_VALUE_SCALE).left, bare.left);
}

TEST(CartesianScales, AGivenRectangleStaysWhateverTheLabels) {
    ChartFixture<> f(3, 2, kData);
    f.Plot(20, 20, 220, 200).Draw();
    EXPECT_EQ(f.display->GetDisplayRect(), CRect(20, 20, 220, 200));
    // The ticks lie on the plot's edges: items centred in their slots along the bottom, values up the left.
    const std::vector<POINT> x = Ticks(f.display->GetXTickList());
    ASSERT_EQ(x.size(), 4u);
    EXPECT_EQ(x[0].y, 200);
    EXPECT_NEAR(x[0].x, 45, 1);
    EXPECT_NEAR(x[3].x, 195, 1);
    const std::vector<POINT> values = Ticks(f.display->GetValueTickList());
    ASSERT_GE(values.size(), 2u);
    EXPECT_EQ(values.front().x, 20);
    EXPECT_EQ(values.front().y, 200);
    EXPECT_LT(values.back().y, values.front().y);
}

TEST(CartesianScales, LineChartsPutTheirLabelsOnTheItems) {
    ChartFixture<> f(1, 2, kData);
    f.Plot(20, 20, 220, 200).Draw();
    const std::vector<POINT> x = Ticks(f.display->GetXTickList());
    ASSERT_EQ(x.size(), 4u);
    EXPECT_EQ(x.front().x, 20);
    EXPECT_EQ(x.back().x, 220);
}

TEST(CartesianScales, AxisStyle12PutsTheValueScaleOnTheRight) {
    const CRect bare = PlotAfterDrawing(3, 0, 0);
    const CRect right = PlotAfterDrawing(3, 12, 0);
    EXPECT_LT(right.right, bare.right);
    EXPECT_EQ(right.left, bare.left);
    ChartFixture<> f(3, 12, kData);
    f.Plot(20, 20, 220, 200).Draw();
    for (const POINT& p : Ticks(f.display->GetValueTickList())) {
        EXPECT_EQ(p.x, 220);
    }
}

TEST(CartesianScales, BarScalesRunTheCategoriesUpTheSide) {
    ChartFixture<> f(2, 10, kData);
    f.Plot(20, 20, 220, 200).Draw();
    const std::vector<POINT> categories = Ticks(f.display->GetValueTickList());
    ASSERT_EQ(categories.size(), 4u);
    EXPECT_EQ(categories[0].x, 20);
    EXPECT_GT(categories[0].y, categories[3].y);
    for (const POINT& p : Ticks(f.display->GetXTickList())) {
        EXPECT_EQ(p.y, 200);
    }
}

TEST(AxisFrames, GridLinesFollowTheTicksAndTheOptionsRemoveThem) {
    // Lines whose points have shape kind 0 draw nothing: only the frame shows.
    auto gridPixels = [](DWORD options) {
        ChartFixture<> f(1, 2, kData);
        f.Plot(20, 20, 220, 200).Option(options);
        for (int g = 0; g < 2; ++g) {
            for (int i = 0; i < 4; ++i) {
                f.ItemStyle(i, g).SetShapeKind(0);
            }
        }
        f.Draw();
        return f.canvas.Count(RECT{22, 22, 218, 198}, f.display->GetStyle().m_crColour);
    };
    const int all = gridPixels(0);
    const int noHorizontal = gridPixels(SRGO_NO_VALUE_GRID);
    EXPECT_GT(all, 0);
    EXPECT_GT(noHorizontal, 0);
    EXPECT_LT(noHorizontal, all);
    EXPECT_EQ(gridPixels(SRGO_NO_VALUE_GRID | SRGO_NO_X_GRID), 0);
}

TEST(AxisFrames, TheFrameAndTicksSurroundThePlot) {
    ChartFixture<> f(1, 2, kData);
    f.Plot(20, 20, 220, 200).Option(SRGO_NO_VALUE_GRID | SRGO_NO_X_GRID).Draw();
    const COLORREF frame = f.display->GetStyle().m_crLine;
    EXPECT_EQ(f.canvas.At(120, 20), frame);
    EXPECT_EQ(f.canvas.At(20, 120), frame);
    EXPECT_EQ(f.canvas.At(220, 120), frame);
    // Ticks inside the plot (it is clipped to its rectangle): up from the bottom edge, right of the left one.
    const POINT tick = Ticks(f.display->GetXTickList())[1];
    EXPECT_EQ(f.canvas.At(tick.x, 198), frame);
    EXPECT_NE(f.canvas.At(tick.x + 3, 198), frame);
    const POINT value = Ticks(f.display->GetValueTickList())[1];
    EXPECT_EQ(f.canvas.At(22, value.y), frame);
    // The fill option paints the plot.
    ChartFixture<> filled(1, 2, kData);
    filled.Plot(20, 20, 220, 200).Option(SRGO_FILL_PLOT_AREA);
    filled.display->GetStyle().m_crSecond = RGB(250, 250, 200);
    filled.Draw();
    EXPECT_EQ(filled.canvas.At(121, 191), RGB(250, 250, 200));
}

TEST(AxisFrames, TheDepthFrameDrawsAWallAndAFloor) {
    ChartFixture<> f(3, 11, kData);
    f.Plot(20, 20, 220, 200).Option(SRGO_NO_VALUE_GRID | SRGO_NO_X_GRID | SRGO_DATA_FIRST).Draw();
    const COLORREF frame = f.display->GetStyle().m_crLine;
    // Depth 10: the back wall from (30, 20) to (220, 190), the floor's front edge from (20, 200) to (210, 200).
    EXPECT_EQ(f.canvas.At(30, 100), frame);
    EXPECT_EQ(f.canvas.At(100, 190), frame);
    EXPECT_EQ(f.canvas.At(100, 200), frame);
    EXPECT_EQ(f.canvas.At(25, 195), frame);
}
