// The display pipeline: which routines the style words select, the ranges it prepares, and the polar
// chart's options.
#include "ChartTestSupport.h"

#include "chart/SRGraphDataList.h"
#include "chart/SRGraphDisplay.h"

#include <gtest/gtest.h>

using charttest::Canvas;
using charttest::RecordedBoxes;

namespace {
constexpr COLORREF kWhite = RGB(255, 255, 255);

// A display that lets the tests give it a value span.
class SpanDisplay : public SRGraphDisplay {
public:
    void SetValueSpan(double span) { m_dValueSpan = span; }
};

struct Drawn {
    int inked = 0;          // pixels that are not white
    int placeholder = 0;    // of them, inside the centred 48 by 48 square
    size_t reports = 0;
    CScale range;
};

Drawn DrawDisplay(int graphStyle, int axisStyle, DWORD options) {
    SRGraph chart;
    chart.SetOffscreen(FALSE);
    const double directions[] = {0.0, 90.0, 180.0, 270.0};
    for (int i = 0; i < 4; ++i) {
        chart.SetItemValue(i, 0, directions[i], FALSE);
        chart.SetItemValue(i, 1, 0.5 + 0.5 * (i % 2), FALSE);
    }
    auto* display = new SRGraphDisplay;
    display->SetRect(0, 0, 200, 200);
    display->GetStyle().SetGraphStyle(graphStyle);
    display->GetStyle().SetAxisStyle(axisStyle);
    display->GetStyle().SetOption(options, TRUE);
    chart.AddComponent(display);
    Canvas canvas(200, 200);
    RecordedBoxes boxes;
    chart.DrawGraph(canvas.DC(), nullptr);
    Drawn drawn;
    drawn.inked = canvas.CountOther(RECT{0, 0, 200, 200}, kWhite);
    const CRect plot = display->GetDisplayRect();
    const CPoint c = plot.CenterPoint();
    drawn.placeholder = canvas.CountOther(RECT{c.x - 24, c.y - 24, c.x + 24, c.y + 24}, kWhite);
    drawn.reports = boxes.texts.size();
    drawn.range = display->GetValueRange();
    return drawn;
}
} // namespace

TEST(DisplayPipeline, StyleWordsChooseTheRoutines) {
    // Graph style 0: the placeholder picture only, and only with its option.
    Drawn d = DrawDisplay(0, 1, SRGO_PLACEHOLDER_PICTURE);
    EXPECT_GT(d.placeholder, 0);
    EXPECT_EQ(d.inked, d.placeholder);
    // No data range: what the scale rounding makes of nothing but the forced zero.
    EXPECT_EQ(d.range.m_dMin, 0.0);
    EXPECT_EQ(d.range.m_dMax, 0.0);
    EXPECT_EQ(DrawDisplay(0, 1, 0).inked, 0);

    // Out of range styles draw nothing and prepare no range.
    d = DrawDisplay(47, 1, 0);
    EXPECT_EQ(d.inked, 0);
    EXPECT_EQ(d.range.m_dMax, 0.0);

    // A polar chart with axis style 1 draws web, labels and data; axis style 28 only the data.
    const Drawn full = DrawDisplay(26, 1, 0);
    const Drawn dataOnly = DrawDisplay(26, 28, 0);
    EXPECT_GT(dataOnly.inked, 0);
    EXPECT_GT(full.inked, 2 * dataOnly.inked);
    EXPECT_EQ(full.reports, 0u);

    // Axis style 0 draws the data of any family without scales or frame; a stock chart needs its groups in
    // fours and reports the two here.
    for (int style : {1, 2, 3, 4, 6}) {
        d = DrawDisplay(style, 0, 0);
        EXPECT_GT(d.inked, 0) << style;
        EXPECT_EQ(d.reports, 0u) << style;
    }
    EXPECT_EQ(DrawDisplay(28, 0, 0).reports, 1u);
}

TEST(DisplayPipeline, PolarOptionsLeaveOutTheirParts) {
    const int full = DrawDisplay(26, 1, 0).inked;
    for (DWORD option : {SRGO_NO_CATEGORY_LABELS, SRGO_NO_VALUE_SCALE, SRGO_NO_X_GRID, SRGO_NO_VALUE_GRID}) {
        EXPECT_LT(DrawDisplay(26, 1, option).inked, full) << std::hex << option;
    }
    // A filled polar chart inks more than the curve alone.
    EXPECT_GT(DrawDisplay(27, 28, 0).inked, DrawDisplay(26, 28, 0).inked);
}

TEST(DisplayPipeline, TickStepAndAutoFontSize) {
    const struct {
        double span, step;
    } cases[] = {{5, 0.1}, {50, 1}, {1, 0.01}, {0.5, 0.001}};
    for (const auto& c : cases) {
        SpanDisplay display;
        display.SetValueSpan(c.span);
        EXPECT_DOUBLE_EQ(display.GetValueTickStep(), c.step) << c.span;
    }
    SRGraphDisplay display;
    display.SetDisplayRect(0, 0, 50, 100, TRUE);
    EXPECT_EQ(display.GetAutoFontSize(), -4);
}

namespace {
// The ranges a display over a 4 by 4 store of positive data prepares for the scope [0, last] of items and
// groups; the store's own groups and items are left as they were.
std::pair<CScale, CScale> ScopeRanges(int graphStyle, int axisStyle, int last) {
    SRGraph chart;
    for (int g = 0; g < 4; ++g) {
        for (int i = 0; i < 4; ++i) {
            chart.SetItemValue(i, g, 1.0 + g + 3.0 * i, FALSE);
        }
    }
    auto* display = new SRGraphDisplay;
    display->SetRect(0, 0, 200, 200);
    display->GetStyle().SetGraphStyle(graphStyle);
    display->GetStyle().SetAxisStyle(axisStyle);
    display->SetScope(0, last, 0, last);
    chart.AddComponent(display);
    Canvas canvas(200, 200);
    display->BeginDraw(canvas.DC(), nullptr);
    display->ResolveScope();
    EXPECT_EQ(chart.GetGroupCount(), 4);
    EXPECT_EQ(chart.GetGroup(0, FALSE)->GetItemCount(), 4);
    return {display->GetValueRange(), display->GetXRange()};
}
} // namespace

TEST(DisplayPipeline, ScopePastTheStoreIsWalkedOnlyWhereItHolds) {
    // A scope a file gives can reach hundreds of millions of groups and items: the walk must stay within the
    // store, and positions past it (the empty item) count as they do for a scope slightly past it.
    const struct {
        int graph;
        int axis;
    } cases[] = {{1, 1}, {7, 1}, {26, 10}, {14, 1}, {37, 1}, {39, 1}, {19, 1}, {20, 1}, {21, 1}, {41, 1}, {43, 1}};
    for (const auto& c : cases) {
        const auto [nearValue, nearX] = ScopeRanges(c.graph, c.axis, 5);
        const auto [farValue, farX] = ScopeRanges(c.graph, c.axis, 399999999);
        EXPECT_EQ(farValue.m_dMin, nearValue.m_dMin) << c.graph;
        EXPECT_EQ(farValue.m_dMax, nearValue.m_dMax) << c.graph;
        EXPECT_EQ(farX.m_dMin, nearX.m_dMin) << c.graph;
        EXPECT_EQ(farX.m_dMax, nearX.m_dMax) << c.graph;
    }
}
