// Pie charts: slice angles clockwise from three o'clock, explosion, the single-item ellipse, the label texts
// and the switch to columns for negative data.
#include "ChartFixture.h"

#include <gtest/gtest.h>

using charttest::ChartFixture;

namespace {
// Reads the label texts the display would write beside its slices.
class PieProbe : public SRGraphDisplay {
public:
    std::vector<CString> LabelTexts() {
        std::vector<CString> texts;
        const PieGeometry pie = GetPieGeometry();
        for (const Slice& slice : pie.slices) {
            texts.push_back(PieLabelText(slice, pie.total));
        }
        return texts;
    }
};
} // namespace

TEST(PieCharts, EqualSlicesGoClockwiseFromThreeOclock) {
    // A 200 x 200 plot: centre (110, 110), radius 60.
    ChartFixture<> f(4, 0, {{1, 1}, {1, 1}});
    f.Plot(10, 10, 210, 210).Draw();
    const int cx = 110, cy = 110;
    const struct {
        int group, item;
        bool right, below;
    } quarters[] = {{0, 0, true, true}, {0, 1, false, true}, {1, 0, false, false}, {1, 1, true, false}};
    for (const auto& q : quarters) {
        const RECT box = f.Box(q.group, q.item);
        if (q.right) {
            EXPECT_GE(box.left, cx - 1) << q.group << q.item;
            EXPECT_NEAR(box.right, cx + 60, 1) << q.group << q.item;
        } else {
            EXPECT_LE(box.right, cx + 1) << q.group << q.item;
            EXPECT_NEAR(box.left, cx - 60, 1) << q.group << q.item;
        }
        if (q.below) {
            EXPECT_GE(box.top, cy - 1) << q.group << q.item;
        } else {
            EXPECT_LE(box.bottom, cy + 1) << q.group << q.item;
        }
    }
}

TEST(PieCharts, AnExplodedSliceMovesOutAlongItsMiddle) {
    ChartFixture<> plain(4, 0, {{1, 1, 1, 1}});
    plain.Plot(10, 10, 210, 210).Draw();
    ChartFixture<> exploded(4, 0, {{1, 1, 1, 1}});
    exploded.Plot(10, 10, 210, 210);
    exploded.ItemStyle(0, 0).m_dwStyle |= 0x400; // explode code 4: a fifth of the radii
    exploded.Draw();
    const RECT before = plain.Box(0, 0), after = exploded.Box(0, 0);
    const int shift = static_cast<int>(std::cos(0.7853981) * 0.2 * 60);
    EXPECT_EQ(after.left - before.left, shift);
    EXPECT_NEAR(after.top - before.top, shift, 1);
    EXPECT_EQ(exploded.Box(0, 1).left, plain.Box(0, 1).left);
}

TEST(PieCharts, ASingleItemIsAWholeEllipse) {
    ChartFixture<> f(4, 0, {{5}});
    f.Plot(10, 10, 210, 210).Draw();
    const RECT box = f.Box(0, 0);
    // A polygon of 5 degree steps, its region short of the right and bottom edges.
    EXPECT_NEAR(box.left, 50, 2);
    EXPECT_NEAR(box.right, 170, 2);
    EXPECT_NEAR(box.top, 50, 2);
    EXPECT_NEAR(box.bottom, 170, 2);
}

TEST(PieCharts, TiltedPieShowsItsRimBelowTheTop) {
    ChartFixture<> flat(4, 0, {{1, 1}});
    flat.Plot(10, 10, 210, 210).Draw();
    ChartFixture<> tilted(13, 0, {{1, 1}});
    tilted.Plot(10, 10, 210, 210).Draw();
    // At 30 degrees the ellipse is half as high as wide, with a rim under its front half.
    const RECT back = tilted.Box(0, 1), front = tilted.Box(0, 0);
    EXPECT_NEAR(back.bottom - back.top, 30, 2);
    // The rim: 15 pixels thick seen at 30 degrees, 13 high under the front half.
    EXPECT_TRUE(tilted.Inked(110, front.bottom + 8));
    EXPECT_FALSE(tilted.Inked(110, front.bottom + 20));
    EXPECT_FALSE(flat.Inked(110, flat.Box(0, 0).bottom + 3));
}

TEST(PieCharts, LabelTextsFollowTheItemsLabelKind) {
    const struct {
        int kind;
        const char16_t* first;
    } cases[] = {{3, u"25.00%"}, {2, u"1.000000"}, {0, u""}, {1, u"1 (25.00%)"}, {7, u"Low=1.000000 (25.00%)"}};
    for (const auto& c : cases) {
        ChartFixture<PieProbe> f(4, 0, {{1, 3}});
        f.Plot(10, 10, 210, 210);
        f.chart.SetItemAnnotation(0, 0, u"Low");
        f.ItemStyle(0, 0).SetTagNibble(c.kind);
        f.ItemStyle(1, 0).SetTagNibble(3);
        f.Draw();
        const std::vector<CString> texts = f.display->LabelTexts();
        ASSERT_EQ(texts.size(), 2u);
        EXPECT_EQ(texts[0], CString(c.first)) << c.kind;
        EXPECT_EQ(texts[1], CString(u"75.00%"));
    }
}

TEST(PieCharts, NegativeDataTurnThePieIntoColumns) {
    ChartFixture<> f(4, 1, {{3, -1}});
    f.Plot(10, 10, 210, 210).Draw();
    EXPECT_TRUE(f.Records(SRGraphFeedback::polygon).empty());
    EXPECT_EQ(f.display->GetStyle().GetGraphStyle(), 3);
    EXPECT_EQ(f.display->GetStyle().GetAxisStyle(), 2);
    f.Draw();
    EXPECT_FALSE(f.Records(SRGraphFeedback::polygon).empty());
}
