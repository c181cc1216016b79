// Data watchers: the checks that mark items, the limit lines, and their template and archive forms.
#include "ChartTestSupport.h"

#include "chart/ChartResourceIds.h"
#include "chart/SRGDataWatcher.h"
#include "chart/SRGraphData.h"
#include "chart/TemplateText.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using charttest::Canvas;

namespace {
class CountingWatcher : public SRGDataWatcher {
public:
    void OnCheckFailed() override { ++failed; }
    void OnCheckPassed() override { ++passed; }
    int failed = 0;
    int passed = 0;
};

std::vector<int> Highlights(SRGraph& chart, int group, int count) {
    std::vector<int> out;
    for (int i = 0; i < count; ++i) {
        out.push_back(chart.FindItem(i, group)->GetStyle().GetHighlight());
    }
    return out;
}
} // namespace

TEST(DataWatcher, ModesMarkTheOffendingItemsAndReportTheCheck) {
    const struct {
        int mode;
        std::vector<double> values;
        std::vector<int> marks;
        bool passes;
    } cases[] = {
        {SRGW_ALL_BELOW_UPPER, {3, 10, 12}, {0, 3, 3}, false},
        {SRGW_ALL_ABOVE_LOWER, {3, 0, -1}, {0, 3, 3}, false},
        {SRGW_NONE_INSIDE, {0, 5, 10}, {0, 3, 0}, false},
        {SRGW_ALL_INSIDE, {0, 5, 10}, {3, 0, 3}, false},
        {SRGW_ALL_INSIDE, {1, 5, 9}, {0, 0, 0}, true},
        {SRGW_AVERAGE_BELOW_UPPER, {3, 10, 12}, {9, 9, 9}, true},   // 8.33 < 10; marks untouched
        {SRGW_AVERAGE_ABOVE_LOWER, {-3, 0, 1}, {9, 9, 9}, false},   // -0.67 is not above 0
        {SRGW_AVERAGE_OUTSIDE, {20, 20, 20}, {9, 9, 9}, true},
        {SRGW_AVERAGE_INSIDE, {20, 20, 20}, {9, 9, 9}, false},
        {9, {20, 20, 20}, {9, 9, 9}, true},                          // other modes pass and touch nothing
    };
    for (const auto& c : cases) {
        SRGraph chart;
        for (size_t i = 0; i < c.values.size(); ++i) {
            chart.SetItemValue(static_cast<int>(i), 0, c.values[i], FALSE);
            chart.FindItem(static_cast<int>(i), 0)->GetStyle().SetHighlight(9);
        }
        auto* watcher = new CountingWatcher;
        watcher->SetMode(c.mode);
        watcher->SetLowerLimit(0);
        watcher->SetUpperLimit(10);
        chart.AddComponent(watcher);
        Canvas canvas(50, 50);
        chart.DrawGraph(canvas.DC(), nullptr);
        EXPECT_EQ(Highlights(chart, 0, 3), c.marks) << c.mode;
        EXPECT_EQ(watcher->passed, c.passes ? 1 : 0) << c.mode;
        EXPECT_EQ(watcher->failed, c.passes ? 0 : 1) << c.mode;
    }
}

TEST(DataWatcher, StepsAndScopeChooseTheItemsVisited) {
    SRGraph chart;
    for (int g = 0; g < 4; ++g) {
        for (int i = 0; i < 5; ++i) {
            chart.SetItemValue(i, g, 100.0, FALSE);
        }
    }
    auto* watcher = new SRGDataWatcher;
    watcher->SetUpperLimit(50);
    watcher->SetIndexStep(2);
    watcher->SetGroupStep(3);
    chart.AddComponent(watcher);
    Canvas canvas(50, 50);
    chart.DrawGraph(canvas.DC(), nullptr);
    EXPECT_EQ(Highlights(chart, 0, 5), (std::vector<int>{3, 0, 3, 0, 3}));
    EXPECT_EQ(Highlights(chart, 1, 5), (std::vector<int>(5, 0)));
    EXPECT_EQ(Highlights(chart, 3, 5), (std::vector<int>{3, 0, 3, 0, 3}));

    // A first index of 3 visits from there to the end of the group, the last index notwithstanding; steps
    // below 1 count as 1; a scope far past the groups creates none.
    SRGraph other;
    for (int i = 0; i < 5; ++i) {
        other.SetItemValue(i, 0, 100.0, FALSE);
    }
    auto* scoped = new SRGDataWatcher;
    scoped->SetUpperLimit(50);
    scoped->SetScope(3, 3, 0, 1000000);
    scoped->SetIndexStep(0);
    scoped->SetGroupStep(-2);
    other.AddComponent(scoped);
    other.DrawGraph(canvas.DC(), nullptr);
    EXPECT_EQ(Highlights(other, 0, 5), (std::vector<int>{0, 0, 0, 3, 3}));
    EXPECT_EQ(other.GetGroupCount(), 1);

    // An empty chart has no average: the average check passes.
    SRGraph empty;
    auto* average = new CountingWatcher;
    average->SetMode(SRGW_AVERAGE_INSIDE);
    empty.AddComponent(average);
    empty.DrawGraph(canvas.DC(), nullptr);
    EXPECT_EQ(average->passed, 1);
}

TEST(DataWatcher, LimitLinesStandWhereTheLimitsFallInTheRange) {
    const struct {
        BOOL vertical;
        int mode;
        double lower, upper;
        std::vector<POINT> points;
    } cases[] = {
        {TRUE, SRGW_ALL_BELOW_UPPER, 0, 25, {{200, 150}}},
        {TRUE, SRGW_ALL_BELOW_UPPER, 0, 60, {}},             // beyond the range
        {FALSE, SRGW_ALL_ABOVE_LOWER, 10, 25, {{100, 100}}}, // modes 0 to 3 draw the upper limit only
        {FALSE, SRGW_NONE_INSIDE, 10, 25, {{100, 130}, {100, 100}}},
    };
    for (const auto& c : cases) {
        SRGraph chart;
        chart.SetOffscreen(FALSE);
        auto* watcher = new SRGDataWatcher;
        watcher->SetMode(c.mode);
        watcher->SetLowerLimit(c.lower);
        watcher->SetUpperLimit(c.upper);
        watcher->SetVertical(c.vertical);
        watcher->SetPlotRect(CRect(100, 50, 300, 150));
        watcher->SetMajorColor(RGB(255, 0, 0));
        watcher->GetStyle().SetAxisStyle(2);
        CScale range;
        range.Include(0);
        range.Include(50);
        watcher->SetValueRange(range);
        chart.AddComponent(watcher);
        Canvas canvas(320, 170);
        chart.DrawGraph(canvas.DC(), nullptr); // the check, without lines
        EXPECT_EQ(canvas.Count(RGB(255, 0, 0)), 0);
        watcher->SetDrawLines(1);
        watcher->SetValueRange(range);
        chart.DrawGraph(canvas.DC(), nullptr);
        std::vector<POINT> points;
        for (POSITION pos = watcher->GetLinePositions()->GetHeadPosition(); pos;) {
            points.push_back(*static_cast<POINT*>(watcher->GetLinePositions()->GetNext(pos)));
        }
        ASSERT_EQ(points.size(), c.points.size()) << c.mode << " " << c.upper;
        for (size_t i = 0; i < points.size(); ++i) {
            EXPECT_EQ(points[i].x, c.points[i].x);
            EXPECT_EQ(points[i].y, c.points[i].y);
        }
        if (c.vertical && !points.empty()) {
            EXPECT_EQ(canvas.At(200, 100), RGB(255, 0, 0));
        }
    }
}

TEST(DataWatcher, TemplateAndArchiveKeepItsSettings) {
    SRGraph chart;
    auto* watcher = new SRGDataWatcher;
    watcher->SetRect(1, 2, 3, 4);
    watcher->SetMode(SRGW_ALL_INSIDE);
    watcher->SetUpperLimit(12.5);
    watcher->SetLowerLimit(-2.0);
    watcher->SetUseDisplayScope(TRUE);
    watcher->SetMinorLineCount(4);
    watcher->SetIndexStep(5);
    chart.AddComponent(watcher);

    SRGraph loaded;
    charttest::CopyThroughArchive(chart, loaded);
    auto* copy = dynamic_cast<SRGDataWatcher*>(loaded.FindComponent(0, IDS_SRG_TYPE_DATA_WATCHER));
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(copy->GetMode(), SRGW_ALL_INSIDE);
    EXPECT_EQ(copy->GetUpperLimit(), 12.5);
    EXPECT_EQ(copy->GetLowerLimit(), -2.0);
    EXPECT_TRUE(copy->GetUseDisplayScope());
    EXPECT_EQ(copy->GetMinorLineCount(), 4);
    // The steps and the draw-lines flag are not stored: the new object's stay.
    EXPECT_EQ(copy->GetIndexStep(), 1);
    EXPECT_EQ(copy->GetGroupStep(), 1);
    EXPECT_EQ(copy->GetDrawLines(), 0);

    // Its template line is the keyword and the common part, and it reads back as a watcher, with the
    // lines after it.
    SRGStringTemplateWriter writer;
    chart.WriteTemplate(writer);
    const std::string text = writer.Bytes() + "background 0 0 1 1 0 0 0 0\r\n";
    EXPECT_EQ(text.substr(0, 21), "datawatcher 1 2 3 4 0");
    SRGraph read;
    charttest::RecordedBoxes boxes;
    read.LoadTemplateText(reinterpret_cast<const BYTE*>(text.data()), text.size());
    EXPECT_TRUE(boxes.texts.empty());
    EXPECT_NE(dynamic_cast<SRGDataWatcher*>(read.FindComponent(0, IDS_SRG_TYPE_DATA_WATCHER)), nullptr);
    EXPECT_EQ(read.GetComponentList().GetCount(), 2);
}
