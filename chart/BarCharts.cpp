// Charts made of rectangles: clustered, layered and stacked columns and bars, group-stacked columns and bars,
// and floating bars. They share the mapping of values to pixels, the bar width rule, the depth and the drawing
// of each rectangle through DrawDataBar; they differ in how they walk the data.
#include "chart/ChartMath.h"
#include "chart/SRGraph.h"
#include "chart/SRGraphData.h"
#include "chart/SRGraphDataList.h"
#include "chart/SRGraphDisplay.h"

#include <algorithm>
#include <cmath>
#include <initializer_list>
#include <vector>

namespace {
constexpr double kBarShare = 0.9090909090909091;
constexpr int kDepthBox = 0x600;
} // namespace

double SRGraphDisplay::GetBaseValue() const {
    if (!m_style.HasOption(SRGO_LOG_VALUE_AXIS)) {
        return m_valueRange.m_dMin;
    }
    return m_valueRange.m_dMin > 0.0 ? std::log10(m_valueRange.m_dMin) : -3.0;
}

double SRGraphDisplay::GetBaselineOffset(double perUnit, int extent) const {
    if (m_style.HasOption(SRGO_LOG_VALUE_AXIS)) {
        return 0.0;
    }
    if (m_valueRange.m_dMax <= 0.0) {
        return extent;
    }
    if (m_valueRange.m_dMin * m_valueRange.m_dMax < 0.0) {
        return -m_valueRange.m_dMin * perUnit;
    }
    return 0.0;
}

double SRGraphDisplay::GetBarThickness(double slot, bool acrossX) {
    if (!m_style.HasOption(SRGO_FIXED_SIZES)) {
        return slot * kBarShare;
    }
    const double scale = acrossX ? PrinterScaleX(m_pDC) : PrinterScaleY(m_pDC);
    return std::min(slot, m_style.m_dThirdLimit * scale);
}

SRGraphStyle* SRGraphDisplay::GetBarStyle(SRGraphData* item, int group) {
    SRGraphStyle& own = item->GetStyle();
    if ((own.m_dwChartType & 0xFF) != 0) {
        return &own;
    }
    return &m_pChart->GetGroup(group, TRUE)->GetStyle();
}

SRGraphDisplay::BarPlot SRGraphDisplay::GetBarPlot(bool horizontal, bool depth) {
    BarPlot plot;
    plot.horizontal = horizontal;
    plot.rect = m_rectDisplay;
    plot.kind = depth ? kDepthBox : 0;
    if (depth) {
        const CSize offset = GetDepthOffset();
        plot.rect.right -= offset.cx;
        plot.rect.top += offset.cy;
    }
    plot.along = horizontal ? plot.rect.Height() : plot.rect.Width();
    plot.across = horizontal ? plot.rect.Width() : plot.rect.Height();
    plot.perUnit = plot.across / m_dValueSpan;
    plot.base = GetBaseValue();
    plot.baseline = GetBaselineOffset(plot.perUnit, plot.across);
    return plot;
}

RECT SRGraphDisplay::BarPlot::Place(double at, double thickness, double from, double to) const {
    if (horizontal) {
        const int y0 = SRGTrunc(rect.bottom - at);
        const int y1 = SRGTrunc(y0 - thickness);
        return RECT{SRGTrunc(rect.left + from + 0.5), y1, SRGTrunc(rect.left + to + 0.5), y0};
    }
    const int x0 = SRGTrunc(rect.left + at);
    const int x1 = SRGTrunc(x0 + thickness);
    return RECT{x0, SRGTrunc(rect.bottom - to + 0.5), x1, SRGTrunc(rect.bottom - from + 0.5)};
}

void SRGraphDisplay::DrawBar(const RECT& bar, int group, int item, SRGraphStyle* style, int kind, SRGraphData* data) {
    DrawDataBar(bar.left, bar.top, bar.right, bar.bottom, group, item, style, kind, data);
}

bool SRGraphDisplay::HasPlotData() {
    if (m_nGroupCount <= 0 || m_nItemCount <= 0 || m_dValueSpan == 0.0 || !m_pChart || !m_pDC) {
        DrawDefaultData();
        return false;
    }
    return true;
}

bool SRGraphDisplay::ColumnDepth() const {
    const int axis = m_style.GetAxisStyle();
    return m_style.GetGraphStyle() == 15 || axis == 11 || axis == 13 || axis == 20 || axis == 21;
}

bool SRGraphDisplay::BarDepth() const {
    const int axis = m_style.GetAxisStyle();
    return m_style.GetGraphStyle() == 16 || axis == 16 || axis == 22;
}

void SRGraphDisplay::DrawClustered(bool horizontal, bool depth) {
    if (!HasPlotData()) {
        return;
    }
    const BarPlot plot = GetBarPlot(horizontal, depth);
    const bool logarithmic = m_style.HasOption(SRGO_LOG_VALUE_AXIS);
    const double width = plot.along / m_nItemCount;
    const double thickness = GetBarThickness(plot.along / (static_cast<double>(m_nGroupCount) * m_nItemCount), !horizontal);
    const double centring = width / 2 - m_nGroupCount * thickness / 2;
    // Positions past the store are empty items, which draw nothing.
    const int items = StoredItemSpan();
    const int groups = std::max(LastStoredGroup() - m_nResolvedFirstGroup + 1, 0);
    for (int i = 0; i < items; ++i) {
        const int index = m_nResolvedFirstItem + i;
        for (int j = 0; j < groups; ++j) {
            const int group = m_nResolvedFirstGroup + j;
            SRGraphData* item = m_pChart->FindItem(index, group);
            if (item->IsNull()) {
                continue;
            }
            const double v = item->GetValue(logarithmic) - plot.base;
            SetCurrentGroupIndex(group);
            const RECT bar = plot.Place(i * width + j * thickness + centring, thickness, plot.baseline, v * plot.perUnit);
            DrawBar(bar, group, index, GetBarStyle(item, group), plot.kind, item);
        }
    }
}

void SRGraphDisplay::DrawColumns() {
    DrawClustered(false, ColumnDepth());
}

void SRGraphDisplay::DrawBars() {
    DrawClustered(true, BarDepth());
}

void SRGraphDisplay::DrawLayered(bool horizontal, bool depth) {
    if (!HasPlotData()) {
        return;
    }
    const BarPlot plot = GetBarPlot(horizontal, depth);
    const bool logarithmic = m_style.HasOption(SRGO_LOG_VALUE_AXIS);
    const double width = plot.along / m_nItemCount;
    const double thickness = GetBarThickness(width, !horizontal);
    struct Level {
        double value;
        int group; // -1: the baseline
    };
    std::vector<Level> levels;
    // Positions past the store are empty items: only the stored ones are layered.
    const int items = StoredItemSpan();
    const int groups = std::max(LastStoredGroup() - m_nResolvedFirstGroup + 1, 0);
    for (int i = 0; i < items; ++i) {
        const int index = m_nResolvedFirstItem + i;
        levels.clear();
        for (int j = 0; j < groups; ++j) {
            const int group = m_nResolvedFirstGroup + j;
            SRGraphData* item = m_pChart->FindItem(index, group);
            levels.push_back(Level{item->IsNull() ? 0.0 : item->GetValue(logarithmic) - plot.base, group});
        }
        levels.push_back(Level{plot.baseline / plot.perUnit, -1});
        std::stable_sort(levels.begin(), levels.end(), [](const Level& a, const Level& b) { return a.value < b.value; });
        const size_t baseline = static_cast<size_t>(
            std::find_if(levels.begin(), levels.end(), [](const Level& l) { return l.group < 0; }) - levels.begin());
        const double at = i * width + width / 2 - thickness / 2;
        for (size_t k = 0; k + 1 < levels.size(); ++k) {
            // Below the baseline a segment is its lower end's, above it its upper end's.
            const int group = k + 1 <= baseline ? levels[k].group : levels[k + 1].group;
            SRGraphData* item = m_pChart->FindItem(index, group);
            SetCurrentGroupIndex(group);
            const RECT bar = plot.Place(at, thickness, levels[k].value * plot.perUnit, levels[k + 1].value * plot.perUnit);
            DrawBar(bar, group, index, GetBarStyle(item, group), plot.kind, item);
        }
    }
}

void SRGraphDisplay::DrawLayeredColumns() {
    DrawLayered(false, ColumnDepth());
}

void SRGraphDisplay::DrawLayeredBars() {
    DrawLayered(true, BarDepth());
}

void SRGraphDisplay::DrawStacked(bool horizontal, bool depth, bool byGroup) {
    if (!HasPlotData()) {
        return;
    }
    const BarPlot plot = GetBarPlot(horizontal, depth);
    const bool logarithmic = m_style.HasOption(SRGO_LOG_VALUE_AXIS);
    // One column per item stacking its groups, or one per group stacking its items.
    const int columns = byGroup ? m_nGroupCount : m_nItemCount;
    const double width = plot.along / columns;
    const double thickness = GetBarThickness(width, !horizontal);
    // Empty positions past the store add nothing to a stack.
    const int storedGroups = std::max(LastStoredGroup() - m_nResolvedFirstGroup + 1, 0);
    const int storedItems = StoredItemSpan();
    const int storedColumns = byGroup ? storedGroups : storedItems;
    const int storedLayers = byGroup ? storedItems : storedGroups;
    for (int c = 0; c < storedColumns; ++c) {
        const double at = c * width + width / 2 - thickness / 2;
        double sum = 0.0;
        double previous = 0.0;
        for (int l = 0; l < storedLayers; ++l) {
            const int group = m_nResolvedFirstGroup + (byGroup ? c : l);
            const int index = m_nResolvedFirstItem + (byGroup ? l : c);
            SRGraphData* item = m_pChart->FindItem(index, group);
            if (!item->IsNull()) {
                sum += item->GetValue(FALSE);
            }
            const double top = ((logarithmic ? (sum > 0.0 ? std::log10(sum) : -3.0) : sum) - plot.base) * plot.perUnit;
            SRGraphStyle* style = nullptr;
            if (byGroup) {
                // Each item keeps its colour across the columns.
                SetCurrentGroupIndex(index);
                style = (item->GetStyle().m_dwChartType & 0xFF) != 0 ? &item->GetStyle() : &m_style;
            } else {
                SetCurrentGroupIndex(group);
                style = GetBarStyle(item, group);
            }
            DrawBar(plot.Place(at, thickness, previous, top), group, index, style, plot.kind, item);
            previous = top;
        }
    }
}

void SRGraphDisplay::DrawStackedColumns() {
    DrawStacked(false, ColumnDepth(), false);
}

void SRGraphDisplay::DrawStackedBars() {
    DrawStacked(true, BarDepth(), false);
}

void SRGraphDisplay::DrawGroupStackedColumns() {
    DrawStacked(false, ColumnDepth(), true);
}

void SRGraphDisplay::DrawGroupStackedBars() {
    DrawStacked(true, BarDepth(), true);
}

void SRGraphDisplay::DrawFloatingBars() {
    if (!HasPlotData()) {
        return;
    }
    const BarPlot plot = GetBarPlot(true, false);
    const CRect& r = plot.rect;
    const bool logarithmic = m_style.HasOption(SRGO_LOG_VALUE_AXIS);
    // A single group still makes one row rather than a division by zero.
    const int rows = std::max(1, m_nGroupCount / 2);
    const double row = r.Height() / rows;
    double thickness = row * kBarShare;
    if (m_style.HasOption(SRGO_FIXED_SIZES)) {
        thickness = std::min(thickness, m_style.m_dThirdLimit * PrinterScaleY(m_pDC));
    }
    // A pair whose start group is past the store has no start values and draws nothing.
    for (int k = 0; 2 * k + 1 < m_nGroupCount && m_nResolvedFirstGroup + 2 * k <= LastStoredGroup(); ++k) {
        const int startGroup = m_nResolvedFirstGroup + 2 * k;
        SetCurrentGroupIndex(m_nResolvedFirstGroup + k);
        const int items = StoredScopeItems(startGroup);
        for (int i = 0; i < items; ++i) {
            const int index = m_nResolvedFirstItem + i;
            SRGraphData* start = m_pChart->FindItem(index, startGroup);
            if (start->IsNull()) {
                continue;
            }
            SRGraphData* end = m_pChart->FindItem(index, startGroup + 1);
            const double a = start->GetValue(logarithmic) - plot.base;
            const double b = end->GetValue(logarithmic) - plot.base;
            int x0 = SRGTrunc(r.left + a * plot.perUnit + 0.5);
            int x1 = SRGTrunc(r.left + b * plot.perUnit + 0.5);
            // The half nearer the smaller value is that group's.
            const int lowGroup = a <= b ? startGroup : startGroup + 1;
            if (x0 > x1) {
                std::swap(x0, x1);
            }
            x0 = std::clamp(x0, static_cast<int>(r.left), static_cast<int>(r.right));
            x1 = std::clamp(x1, static_cast<int>(r.left), static_cast<int>(r.right));
            const int y0 = SRGTrunc(r.bottom - (k * row + row / 2) - thickness / 2);
            const int y1 = SRGTrunc(y0 + thickness);
            const int middle = x0 + (x1 - x0) / 2;
            const BOOL logging = m_pChart->IsFeedbackLogging();
            m_pChart->AddFeedbackRect(RECT{x0, y0, middle, y1}, lowGroup, index);
            m_pChart->AddFeedbackRect(RECT{middle, y0, x1, y1}, lowGroup == startGroup ? startGroup + 1 : startGroup,
                                      index);
            m_pChart->SetFeedbackLogging(FALSE);
            DrawDataBar(x0, y0, x1, y1, startGroup, index, GetBarStyle(start, startGroup), 0, nullptr);
            m_pChart->SetFeedbackLogging(logging);
        }
    }
}
