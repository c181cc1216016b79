#include "ChartTestSupport.h"

#include "chart/SRGTickMarks.h"

#include <gtest/gtest.h>

using charttest::Canvas;

namespace {
constexpr COLORREF kMajor = RGB(255, 0, 0);
constexpr COLORREF kMinor = RGB(0, 0, 255);
} // namespace

TEST(ChartTickMarks, MajorTicksAtThePointsAndMinorOnesBetween) {
    CPtrList positions;
    POINT a{20, 50}, b{120, 50};
    positions.AddTail(&a);
    positions.AddTail(&b);
    SRGraph chart;
    chart.SetOffscreen(FALSE);
    auto* ticks = new SRGTickMarks;
    ticks->SetTickPositions(&positions);
    ticks->SetMajorTickColor(kMajor);
    ticks->SetMinorTickColor(kMinor);
    ticks->SetMinorTickCount(3);
    chart.AddComponent(ticks);
    Canvas canvas(140, 80);
    chart.DrawGraph(canvas.DC(), nullptr);

    // Along a horizontal axis with the side flag clear each tick runs down from its point.
    for (int x : {20, 120}) {
        EXPECT_EQ(canvas.At(x, 52), kMajor) << x;
        EXPECT_EQ(canvas.At(x, 47), RGB(255, 255, 255)) << x;
    }
    // Minor ticks at a quarter, a half and three quarters, shorter than the major ones.
    for (int x : {45, 70, 95}) {
        EXPECT_EQ(canvas.At(x, 51), kMinor) << x;
        EXPECT_EQ(canvas.At(x, 55), RGB(255, 255, 255)) << x;
    }
    EXPECT_EQ(canvas.Count(RECT{21, 45, 44, 60}, kMinor), 0); // nothing else between
    EXPECT_GT(canvas.Count(RECT{0, 53, 140, 56}, kMajor), 0);
}
