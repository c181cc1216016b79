#include "ChartTestSupport.h"

#include "chart/SRGraphBackground.h"
#include "chart/SRGraphComponent.h"

#include <gtest/gtest.h>

using charttest::Canvas;

namespace {
// Records where it would draw.
class Probe : public SRGraphComponent {
public:
    void Draw() override { placed = GetPixelRect(); }
    CRect placed;
};
} // namespace

TEST(ChartComponent, PlacementUnitsTurnIntoPixelsOfTheDrawnArea) {
    const struct {
        int unit;
        double left, top, right, bottom;
        CRect pixels;
    } cases[] = {
        {SRG_PIXELS, 10, 20, 30, 40, CRect(10, 20, 30, 40)},
        {SRG_MILLIMETRES, 0, 0, 10, 20, CRect(0, 0, 37, 75)}, // 96 pixels an inch
        {SRG_INCHES, 0.5, 0, 1, 2, CRect(48, 0, 96, 192)},
        {SRG_PERCENT, 50, 0, 100, 100, CRect(200, 0, 400, 300)},
        {SRG_PERCENT, -1, -1, -1, -1, CRect(0, 0, 400, 300)}, // -1 is the whole area in any unit
        {SRG_MILLIMETRES, -1, 5, -1, -1, CRect(0, 18, 400, 300)},
    };
    for (const auto& c : cases) {
        SRGraph chart;
        auto* probe = new Probe;
        probe->SetRect(c.left, c.top, c.right, c.bottom);
        probe->SetUnitMode(c.unit);
        chart.AddComponent(probe);
        Canvas canvas(400, 300);
        chart.DrawGraph(canvas.DC(), nullptr);
        EXPECT_EQ(probe->placed, c.pixels) << c.unit << " " << c.left << " " << c.right;
    }
}

TEST(ChartComponent, ShadowsAndShadesPaintWhereAndHowTheStyleSays) {
    SRGraph chart;
    chart.SetOffscreen(FALSE);
    auto* shaded = new SRGraphBackground;
    shaded->SetRect(0, 0, 100, 40);
    shaded->GetStyle().SetFrameFillKind(2); // a vertical shade between the two colours
    shaded->SetFillColours(RGB(0, 0, 0), RGB(255, 0, 0));
    shaded->GetStyle().SetShadowType(2);
    chart.AddComponent(shaded);
    Canvas canvas(140, 80);
    chart.DrawGraph(canvas.DC(), nullptr);
    // The shade runs from black at the top to red at the bottom, in bands.
    const COLORREF start = canvas.At(50, 1), end = canvas.At(50, 38);
    EXPECT_NE(start, end);
    EXPECT_LT(GetRValue(start), 20);
    EXPECT_GT(GetRValue(end), 200);
    EXPECT_LT(GetRValue(start), GetRValue(canvas.At(50, 20)));
    EXPECT_LT(GetRValue(canvas.At(50, 20)), GetRValue(end));
    // The shadow: 8 pixels to the right and below, starting 8 pixels in from the corner.
    EXPECT_EQ(canvas.At(104, 4), RGB(255, 255, 255));
    EXPECT_GT(canvas.CountOther(RECT{100, 8, 108, 48}, RGB(255, 255, 255)), 0);
    EXPECT_GT(canvas.CountOther(RECT{8, 40, 108, 48}, RGB(255, 255, 255)), 0);
    EXPECT_EQ(canvas.CountOther(RECT{110, 0, 140, 80}, RGB(255, 255, 255)), 0);
}
