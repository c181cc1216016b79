// Radar charts: one spoke per item clockwise from twelve o'clock, at least three of them, and a label block
// that keeps one label per spoke.
#include "ChartFixture.h"

#include "chart/SRGraphLabelBlock.h"

#include <gtest/gtest.h>

using charttest::ChartFixture;

TEST(RadarCharts, FourItemsGiveSpokesAtTwelveThreeSixAndNine) {
    // A 200 x 200 plot: centre (110, 110), web radius 80; values 5 of 0..10 lie halfway out.
    ChartFixture<> f(18, 0, {{5, 5, 5, 5}});
    f.Plot(10, 10, 210, 210).Range(0, 10).Draw();
    EXPECT_EQ(f.Point(0, 0).x, 110);
    EXPECT_EQ(f.Point(0, 0).y, 70);
    EXPECT_EQ(f.Point(0, 1).x, 150);
    EXPECT_EQ(f.Point(0, 1).y, 110);
    EXPECT_EQ(f.Point(0, 2).x, 110);
    EXPECT_EQ(f.Point(0, 2).y, 150);
    EXPECT_EQ(f.Point(0, 3).x, 70);
    EXPECT_EQ(f.Point(0, 3).y, 110);
    // The curve closes from the last spoke back to the first.
    EXPECT_TRUE(f.Inked(90, 90));
}

TEST(RadarCharts, TwoItemsAreTooFewForAWeb) {
    ChartFixture<> f(18, 1, {{5, 5}});
    f.Plot(10, 10, 210, 210).Range(0, 10).Draw();
    ASSERT_EQ(f.boxes.texts.size(), 1u);
    EXPECT_FALSE(f.Inked(110, 50)); // no spoke up from the centre
}

TEST(RadarCharts, FilledAreasAndTheFilledWeb) {
    ChartFixture<> f(23, 0, {{5, 5, 5, 5}});
    f.Plot(10, 10, 210, 210).Range(0, 10);
    f.GroupStyle(0).SetFillKind(2);
    f.GroupStyle(0).m_crSecond = RGB(0, 200, 0);
    f.Draw();
    EXPECT_EQ(f.canvas.At(120, 100), RGB(0, 200, 0));
    // No symbols: nothing but the outline at the points.
    EXPECT_NE(f.canvas.At(110, 66), RGB(0, 200, 0));

    ChartFixture<> web(18, 14, {{5, 5, 5, 5}});
    web.Plot(10, 10, 210, 210).Range(0, 10).Option(SRGO_FILL_PLOT_AREA);
    web.display->GetStyle().m_crSecond = RGB(250, 250, 200);
    web.display->GetStyle().SetFrameFillKind(0); // the display's own background would take the colour too
    web.Draw();
    // One wedge per spoke: the square web is filled out to its corners.
    EXPECT_EQ(web.canvas.At(180, 112), RGB(250, 250, 200));
    EXPECT_EQ(web.canvas.At(112, 35), RGB(250, 250, 200));
    EXPECT_NE(web.canvas.At(170, 50), RGB(250, 250, 200));
}

TEST(RadarCharts, TheLabelBlockKeepsOneLabelPerSpoke) {
    ChartFixture<> f(18, 1, {{1, 2, 3, 4, 5, 6}});
    for (int i = 0; i < 6; ++i) {
        CString text;
        text.Format(u"item %d", i);
        f.chart.SetItemAnnotation(i, 0, text);
    }
    f.Plot(10, 10, 210, 210).Range(0, 10).Draw();
    ASSERT_NE(f.display->GetXScale(), nullptr);
    EXPECT_EQ(f.display->GetXScale()->GetCount(), 6);
    EXPECT_EQ(f.display->GetXScale()->GetLabel(2)->GetText(1), CString(u"item 2"));
    f.display->SetScope(0, 3, -1, -1);
    f.Draw();
    EXPECT_EQ(f.display->GetXScale()->GetCount(), 4);
}
