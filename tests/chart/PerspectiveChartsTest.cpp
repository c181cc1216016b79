// Perspective charts: the box's walls and floor by the view, the back wall's size, where groups and items
// stand, and the switch to columns.
#include "ChartFixture.h"

#include <gtest/gtest.h>

using charttest::ChartFixture;

namespace {
const std::vector<std::vector<double>> kData = {{2, 4, 6}, {6, 8, 9}};
}

TEST(PerspectiveCharts, TheViewChoosesWallsAndFloor) {
    // Plot (10, 10)-(210, 210): the back wall 80 wide and 100 high at the top right, x 130 to 210.
    const struct {
        int axis;
        bool wall;
    } cases[] = {{5, false}, {7, true}, {1, true}};
    for (const auto& c : cases) {
        ChartFixture<> f(9, c.axis, kData);
        f.Plot(10, 10, 210, 210).Range(0, 10).Option(SRGO_NO_CATEGORY_LABELS | SRGO_NO_VALUE_SCALE |
                                                       SRGO_HIDDEN_GROUP | SRGO_DATA_FIRST);
        f.display->GetStyle().SetTagNibble(0);
        f.Draw();
        const COLORREF frame = f.display->GetStyle().m_crLine;
        EXPECT_EQ(f.canvas.At(130, 20) == frame, c.wall) << c.axis;  // the back wall's left edge
        EXPECT_EQ(f.canvas.At(170, 10) == frame, c.wall) << c.axis;  // its top
        EXPECT_EQ(f.canvas.At(50, 210), frame) << c.axis;             // the floor's front edge, 10 to 90
        EXPECT_EQ(f.canvas.At(170, 110), frame) << c.axis;            // the floor's back edge
    }
}

TEST(PerspectiveCharts, ItemsRecedeAndGroupsStandByAverage) {
    for (bool keep : {false, true}) {
        ChartFixture<> f(9, 0, kData);
        f.Plot(10, 10, 210, 210).Range(0, 10);
        if (keep) {
            f.Option(SRGO_KEEP_GROUP_ORDER);
        }
        f.Draw();
        // The front faces are the first of each column's three faces.
        std::vector<charttest::Record> fronts;
        const auto faces = f.Records(SRGraphFeedback::polygon);
        ASSERT_EQ(faces.size(), 18u);
        for (size_t i = 0; i < faces.size(); i += 3) {
            fronts.push_back(faces[i]);
        }
        auto front = [&](int group, int item) {
            for (const auto& r : fronts) {
                if (r.group == group && r.item == item) {
                    return r.box;
                }
            }
            return RECT{};
        };
        // Item 0 at the back (up and right), the last item on the front edge from x 10.
        EXPECT_LT(front(0, 0).bottom, front(0, 2).bottom);
        EXPECT_GT(front(0, 0).left, front(0, 2).left);
        // Group 1 has the larger average: first along the front edge unless the order is kept.
        const int first = keep ? 0 : 1, second = keep ? 1 : 0;
        EXPECT_EQ(front(first, 2).left, 10) << keep;
        EXPECT_EQ(front(second, 2).left, 50) << keep;
    }
}

TEST(PerspectiveCharts, OtherViewsDrawNoColumnsAndNegativeDataBecomeColumns) {
    ChartFixture<> flat(9, 2, kData);
    flat.Plot(10, 10, 210, 210).Range(0, 10).Draw();
    EXPECT_TRUE(flat.Records(SRGraphFeedback::polygon).empty());
    EXPECT_EQ(flat.display->GetStyle().GetGraphStyle(), 9);

    for (int graph : {9, 10}) {
        ChartFixture<> negative(graph, 1, {{2, -4, 6}});
        negative.Plot(10, 10, 210, 210).Draw();
        EXPECT_TRUE(negative.boxes.texts.empty()) << graph;
        EXPECT_EQ(negative.display->GetStyle().GetGraphStyle(), 3) << graph;
        EXPECT_EQ(negative.display->GetStyle().GetAxisStyle(), 2) << graph;
    }
}

TEST(PerspectiveCharts, RibbonsJoinTheItemsAndCloseWithFrontAndSide) {
    ChartFixture<> f(10, 0, {{2, 4, 6}});
    f.Plot(10, 10, 210, 210).Range(0, 10).Draw();
    // Two top faces in halves (four records), the front face of the last item and the side face.
    const auto faces = f.Records(SRGraphFeedback::polygon);
    ASSERT_EQ(faces.size(), 6u);
    EXPECT_EQ(faces.back().item, -1);
    EXPECT_EQ(faces[4].item, 2);
    int halves[3] = {0, 0, 0};
    for (size_t i = 0; i < 4; ++i) {
        ++halves[faces[i].item];
    }
    EXPECT_EQ(halves[0], 1);
    EXPECT_EQ(halves[1], 2);
    EXPECT_EQ(halves[2], 1);
    // Tops only: no front or side.
    ChartFixture<> tops(17, 0, {{2, 4, 6}});
    tops.Plot(10, 10, 210, 210).Range(0, 10).Draw();
    EXPECT_EQ(tops.Records(SRGraphFeedback::polygon).size(), 4u);
}
