// Hit-test records, the clip stack and compiled shapes.
#include "ChartTestSupport.h"

#include "chart/CObStack.h"
#include "chart/SRGCompiledPolygon.h"
#include "chart/SRGraphFeedback.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <vector>

TEST(ChartFeedback, RecordsHitByTheirKind) {
    SRGraph chart;
    const SRGraphFeedback point(10, 10, 5, 0, 0, &chart);
    const SRGraphFeedback rectangle(0, 0, 10, 10, 0, 0, &chart);
    const POINT triangle[] = {{0, 0}, {20, 0}, {0, 20}};
    const SRGraphFeedback polygon(triangle, 3, 0, 0, &chart);
    const struct {
        const SRGraphFeedback& record;
        int x, y;
        bool hit;
    } cases[] = {
        {point, 14, 6, true},      {point, 15, 10, false},   {point, 10, 5, false},
        {rectangle, 9, 9, true},   {rectangle, 10, 5, false}, {rectangle, 5, 10, false},
        {polygon, 2, 2, true},     {polygon, 15, 15, false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.record.HitTest(c.x, c.y) != FALSE, c.hit) << c.record.GetKind() << " " << c.x << "," << c.y;
    }
}

TEST(ChartFeedback, TheLastRecordContainingThePointWinsAndLoggingCanBeOff) {
    SRGraph chart;
    chart.AddFeedbackRect(RECT{0, 0, 50, 50}, 1, 1);
    chart.AddFeedbackPointEx(20, 20, 2, 7, 3);
    EXPECT_EQ(chart.HitTestFeedback(21, 21)->GetGroup(), 2);
    EXPECT_EQ(chart.HitTestFeedback(30, 30)->GetGroup(), 1);
    EXPECT_EQ(chart.HitTestFeedback(60, 60), nullptr);
    chart.SetFeedbackLogging(FALSE);
    chart.AddFeedbackPoint(70, 70, 3, 0);
    EXPECT_EQ(chart.HitTestFeedback(70, 70), nullptr);
}

TEST(ChartClipStack, PopsInReverseOrderAndEmptyGivesNone) {
    CObStack stack;
    EXPECT_EQ(stack.Pop(), nullptr);
    auto* first = new CScale;
    auto* second = new CScale;
    stack.Push(first);
    stack.Push(second);
    std::unique_ptr<CObject> top(stack.Pop());
    EXPECT_EQ(top.get(), second);
    stack.Push(top.release()); // the stack deletes what it still holds
}

TEST(ChartShapes, FittingPlacingAndRotating) {
    std::unique_ptr<SRGCompiledPolygon> square(SRGCompiledPolygon::CreateStockShape(-1));
    const POINT* fitted = square->FitToRect(RECT{0, 0, 100, 100});
    const std::vector<POINT> expected = {{0, 100}, {100, 100}, {100, 0}, {0, 0}, {0, 100}};
    ASSERT_EQ(square->GetPointCount(), 5);
    for (size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(fitted[i].x, expected[i].x) << i;
        EXPECT_EQ(fitted[i].y, expected[i].y) << i;
    }

    // A bar 20 wide and 4 high, placed about a point, then turned a quarter (points round toward zero).
    SRGCompiledPolygon bar;
    for (const POINT& p : std::vector<POINT>{{-10, -2}, {10, -2}, {10, 2}, {-10, 2}}) {
        bar.AddPoint(static_cast<int>(p.x), static_cast<int>(p.y));
    }
    auto bounds = [&bar] {
        const POINT* p = bar.GetPoints();
        CRect r(p[0].x, p[0].y, p[0].x, p[0].y);
        for (int i = 1; i < bar.GetPointCount(); ++i) {
            r.SetRect(std::min<int>(r.left, p[i].x), std::min<int>(r.top, p[i].y), std::max<int>(r.right, p[i].x),
                      std::max<int>(r.bottom, p[i].y));
        }
        return r;
    };
    bar.PlaceAt(100, 50);
    CRect placed = bounds();
    EXPECT_NEAR(placed.Width(), 20, 1);
    EXPECT_NEAR(placed.Height(), 4, 1);
    EXPECT_NEAR(placed.CenterPoint().x, 100, 1);
    EXPECT_NEAR(placed.CenterPoint().y, 50, 1);
    bar.SetRotation(90.0);
    EXPECT_TRUE(bar.GetRotate());
    bar.PlaceAt(100, 50);
    placed = bounds();
    EXPECT_NEAR(placed.Width(), 4, 1);
    EXPECT_NEAR(placed.Height(), 20, 1);
    bar.SetRotation(0.0);
    EXPECT_FALSE(bar.GetRotate());

    SRGCompiledPolygon many;
    for (int i = 0; i < 129; ++i) {
        many.AddPoint(i, i);
    }
    many.EnsureCapacity();
    EXPECT_EQ(many.GetCapacity(), 256);
}
