#include "ChartTestSupport.h"

#include "chart/SRGraphBackground.h"
#include "chart/SRGraphDisplay.h"
#include "chart/SRGraphFeedback.h"
#include "chart/SRGraphTitle.h"

#include <gtest/gtest.h>

#include <cmath>

using charttest::Canvas;
using charttest::RecordedBoxes;

namespace {
constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kRed = RGB(255, 0, 0);

SRGraphBackground* AddBackground(SRGraph& chart, const RECT& r, COLORREF colour) {
    auto* background = new SRGraphBackground;
    background->SetRect(r.left, r.top, r.right, r.bottom);
    background->GetStyle().SetFrameFillKind(1);
    background->GetStyle().m_crSecond = colour;
    chart.AddComponent(background);
    return background;
}
} // namespace

TEST(ChartRender, BackgroundFillsItsRectangleOnScreenAndOffScreenAlike) {
    for (BOOL offscreen : {FALSE, TRUE}) {
        SRGraph chart;
        chart.SetOffscreen(offscreen);
        AddBackground(chart, RECT{10, 20, 60, 50}, kRed);
        Canvas canvas(100, 80);
        chart.DrawGraph(canvas.DC(), nullptr);
        EXPECT_EQ(canvas.Count(RECT{11, 21, 59, 49}, kRed), 48 * 28) << offscreen;
        // Off screen the whole drawing area is copied over; on screen what lies outside stays.
        EXPECT_EQ(canvas.At(5, 5) == kWhite, !offscreen);
        EXPECT_EQ(canvas.Count(RECT{0, 0, 10, 80}, kRed) + canvas.Count(RECT{60, 0, 100, 80}, kRed), 0);
        EXPECT_FALSE(SRGraph::IsAnyChartDrawing());
    }
}

TEST(ChartRender, PercentPlacementFollowsTheDrawingArea) {
    // Off screen the drawing area is the context's bitmap (on screen without a window it is 200 by 150).
    SRGraph chart;
    auto* background = AddBackground(chart, RECT{0, 0, 50, 50}, kRed);
    background->SetUnitMode(SRG_PERCENT);
    Canvas canvas(120, 60);
    chart.DrawGraph(canvas.DC(), nullptr);
    EXPECT_EQ(canvas.At(30, 15), kRed);
    EXPECT_NE(canvas.At(90, 15), kRed);
    EXPECT_NE(canvas.At(30, 45), kRed);
    EXPECT_EQ(canvas.At(59, 29), kRed);
}

TEST(ChartRender, ComponentsDrawInListOrderAndAnExceptionStopsThePass) {
    SRGraph chart;
    chart.SetOffscreen(FALSE);
    AddBackground(chart, RECT{0, 0, 40, 40}, kRed);
    AddBackground(chart, RECT{20, 0, 60, 40}, RGB(0, 0, 255));
    Canvas canvas(80, 50);
    chart.DrawGraph(canvas.DC(), nullptr);
    EXPECT_EQ(canvas.At(30, 20), RGB(0, 0, 255));
    EXPECT_EQ(canvas.At(10, 20), kRed);

    // A polar chart needs pairs of groups: three groups raise code 21, reported once, and the pass ends.
    for (int g = 0; g < 3; ++g) {
        chart.SetItemValue(0, g, 10.0 * (g + 1), FALSE);
    }
    auto* display = new SRGraphDisplay;
    display->SetRect(0, 0, 80, 50);
    display->GetStyle().SetGraphStyle(26);
    chart.AddComponent(display);
    AddBackground(chart, RECT{0, 0, 80, 50}, RGB(0, 255, 0));
    RecordedBoxes boxes;
    canvas.Clear(kWhite);
    chart.DrawGraph(canvas.DC(), nullptr);
    ASSERT_EQ(boxes.texts.size(), 1u);
    EXPECT_EQ(boxes.texts[0], u"A graph type was requested which is not compatible with the type of data or the "
                              u"number of data items available.");
    EXPECT_EQ(canvas.Count(RGB(0, 255, 0)), 0);
}

// The sky plot's needs: spokes and rings, points at a direction and distance, hit-test records for them.
TEST(ChartRender, PolarChartPlacesPointsByDirectionAndLogsThemForHitTests) {
    SRGraph chart;
    chart.SetOffscreen(FALSE);
    const double directions[] = {0.0, 90.0, 180.0, 270.0};
    const double distances[] = {50.0, 50.0, 25.0, 100.0};
    for (int i = 0; i < 4; ++i) {
        chart.SetItemValue(i, 0, directions[i], FALSE);
        chart.SetItemValue(i, 1, distances[i], FALSE);
    }
    auto* display = new SRGraphDisplay;
    display->SetRect(0, 0, 300, 300);
    display->GetStyle().SetGraphStyle(26);
    display->GetStyle().SetAxisStyle(1);
    chart.AddComponent(display);
    Canvas canvas(300, 300);
    RecordedBoxes boxes;
    chart.DrawGraph(canvas.DC(), nullptr);
    EXPECT_TRUE(boxes.texts.empty());

    std::vector<POINT> points(4);
    int logged = 0;
    for (POSITION pos = chart.GetFeedbackList().GetHeadPosition(); pos;) {
        auto* record = static_cast<SRGraphFeedback*>(chart.GetFeedbackList().GetNext(pos));
        if (record->GetKind() == SRGraphFeedback::point && record->GetGroup() == 0) {
            ASSERT_LT(record->m_nItem, 4);
            record->GetPoint(points[static_cast<size_t>(record->m_nItem)]);
            ++logged;
        }
    }
    ASSERT_EQ(logged, 4);
    // North is up, east to the right, clockwise; the distance scales the radius.
    const POINT& north = points[0];
    const POINT& east = points[1];
    const POINT& south = points[2];
    const POINT& west = points[3];
    const int cx = north.x, cy = east.y;
    EXPECT_NEAR(south.x, cx, 1);
    EXPECT_NEAR(west.y, cy, 1);
    EXPECT_GT(east.x, cx);
    EXPECT_LT(west.x, cx);
    EXPECT_LT(north.y, cy);
    EXPECT_GT(south.y, cy);
    EXPECT_NEAR(east.x - cx, cy - north.y, 1);
    EXPECT_NEAR(2.0 * (south.y - cy), east.x - cx, 2);
    EXPECT_NEAR(cx - west.x, 2.0 * (east.x - cx), 2);

    for (int i = 0; i < 4; ++i) {
        SRGraphFeedback* hit = chart.HitTestFeedback(points[static_cast<size_t>(i)].x + 2, points[static_cast<size_t>(i)].y - 2);
        ASSERT_NE(hit, nullptr) << i;
        EXPECT_EQ(hit->m_nItem, i);
        // The symbol is drawn where the point is.
        EXPECT_NE(canvas.At(points[static_cast<size_t>(i)].x, points[static_cast<size_t>(i)].y), kWhite) << i;
    }
    EXPECT_EQ(chart.HitTestFeedback(cx + 3, cy + 3), nullptr);
    // Spokes and rings: the web crosses the area between the centre and the points.
    EXPECT_GT(canvas.CountOther(RECT{cx - 60, cy - 2, cx - 10, cy + 2}, kWhite), 10);
}
