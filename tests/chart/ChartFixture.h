// A chart with one data display drawn into a canvas, for the geometry tests of the chart styles: the data
// given group by group, the display rectangle fixed (no border inset, no fitting to labels) unless a test
// lets the scales lay it out, and the hit-test records read back as boxes and points.
#pragma once

#include "ChartTestSupport.h"

#include "chart/SRGraphData.h"
#include "chart/SRGraphDataList.h"
#include "chart/SRGraphDisplay.h"
#include "chart/SRGraphFeedback.h"

#include <cmath>
#include <optional>
#include <vector>

namespace charttest {

constexpr COLORREF kWhite = RGB(255, 255, 255);

// NaN marks a null item.
inline const double kNull = std::nan("");

struct Record {
    int kind = 0;
    int group = 0;
    int item = 0;
    RECT box{}; // of a polygon's region or a rectangle
    POINT point{};
};

template <class Display = SRGraphDisplay>
class ChartFixture {
public:
    ChartFixture(int graphStyle, int axisStyle, const std::vector<std::vector<double>>& groups, int width = 300,
                 int height = 260)
        : canvas(width, height) {
        chart.SetOffscreen(FALSE);
        for (size_t g = 0; g < groups.size(); ++g) {
            for (size_t i = 0; i < groups[g].size(); ++i) {
                const double v = groups[g][i];
                chart.SetItemValue(static_cast<int>(i), static_cast<int>(g), std::isnan(v) ? 0.0 : v, FALSE);
                if (std::isnan(v)) {
                    chart.GetItem(static_cast<int>(i), static_cast<int>(g))->SetNull(TRUE);
                }
            }
        }
        display = new Display;
        display->SetRect(0, 0, width, height);
        display->GetStyle().SetGraphStyle(graphStyle);
        display->GetStyle().SetAxisStyle(axisStyle);
        chart.AddComponent(display);
    }

    // The plot exactly here, not fitted to labels.
    ChartFixture& Plot(int left, int top, int right, int bottom) {
        display->SetDisplayRect(left, top, right, bottom, TRUE);
        return *this;
    }
    ChartFixture& Range(double minimum, double maximum) {
        display->GetStyle().SetOption(SRGO_FIXED_RANGES, TRUE);
        display->SetFixedMinimum(minimum);
        display->SetFixedMaximum(maximum);
        return *this;
    }
    ChartFixture& Option(DWORD bits) {
        display->GetStyle().SetOption(bits, TRUE);
        return *this;
    }
    SRGraphStyle& ItemStyle(int item, int group) { return chart.GetItem(item, group)->GetStyle(); }
    SRGraphStyle& GroupStyle(int group) { return chart.GetGroup(group, TRUE)->GetStyle(); }

    ChartFixture& Draw() {
        canvas.Clear(kWhite);
        chart.DrawGraph(canvas.DC(), nullptr);
        return *this;
    }

    std::vector<Record> Records(int kind) {
        std::vector<Record> out;
        for (POSITION pos = chart.GetFeedbackList().GetHeadPosition(); pos;) {
            auto* f = static_cast<SRGraphFeedback*>(chart.GetFeedbackList().GetNext(pos));
            if (f->GetKind() != kind) {
                continue;
            }
            Record r;
            r.kind = kind;
            r.group = f->GetGroup();
            r.item = f->m_nItem;
            if (kind == SRGraphFeedback::polygon) {
                ::GetRgnBox(f->GetRegion(), &r.box);
            } else if (kind == SRGraphFeedback::rectangle) {
                f->GetRect(r.box);
            } else {
                f->GetPoint(r.point);
            }
            out.push_back(r);
        }
        return out;
    }
    // The last record of a kind for a group and item (the face drawn on top).
    std::optional<Record> Find(int kind, int group, int item) {
        std::optional<Record> found;
        for (const Record& r : Records(kind)) {
            if (r.group == group && r.item == item) {
                found = r;
            }
        }
        return found;
    }
    RECT Box(int group, int item) {
        const auto r = Find(SRGraphFeedback::polygon, group, item);
        return r ? r->box : RECT{-1, -1, -1, -1};
    }
    POINT Point(int group, int item) {
        const auto r = Find(SRGraphFeedback::point, group, item);
        return r ? r->point : POINT{-1, -1};
    }
    bool Inked(int x, int y) { return canvas.At(x, y) != kWhite; }

    SRGraph chart;
    Display* display = nullptr;
    Canvas canvas;
    RecordedBoxes boxes;
};

} // namespace charttest
