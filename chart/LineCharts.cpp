// Charts whose items are points along the category axis: lines, steps, areas, stacked areas, the combination
// of lines and bars, high-low bars and bands, and stock charts.
#include "chart/ChartMath.h"
#include "chart/SRGraph.h"
#include "chart/SRGraphData.h"
#include "chart/SRGraphDataList.h"
#include "chart/SRGraphDisplay.h"
#include "chart/SRGraphException.h"

#include "platform/framework/CDC.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace {
// Stock box colours by series, rising and falling.
constexpr COLORREF kStockLight[8] = {0xFF0000, 0x80FF00, 0xC0C0FF, 0xFFFF, 0xFFFF00, 0xFF00FF, 0x8000FF, 0xFF80};
constexpr COLORREF kStockDark[8] = {0x800000, 0x8000, 0xFF, 0x8080, 0xFF8000, 0x800080, 0x80, 0x80FF};

int LineOverride(const SRGraphStyle& style) {
    return style.GetLineKind() == 2 ? 1 : 0;
}
} // namespace

SRGraphDisplay::PointPlot SRGraphDisplay::GetPointPlot(bool depth) {
    PointPlot plot;
    plot.rect = m_rectDisplay;
    if (depth) {
        const CSize offset = GetDepthOffset();
        plot.rect.right -= offset.cx;
        plot.rect.top += offset.cy;
    }
    plot.perUnit = plot.rect.Height() / m_dValueSpan;
    plot.step = m_nItemCount < 2 ? plot.rect.Width() : plot.rect.Width() / static_cast<double>(m_nItemCount - 1);
    plot.base = GetBaseValue();
    // Areas and combination bars stand on the zero line when the range spans zero, else on the bottom edge.
    const bool spansZero = !m_style.HasOption(SRGO_LOG_VALUE_AXIS) && m_valueRange.m_dMin * m_valueRange.m_dMax < 0.0;
    plot.foot = SRGTrunc(plot.rect.bottom - (spansZero ? -m_valueRange.m_dMin * plot.perUnit : 0.0) + 0.5);
    return plot;
}

int SRGraphDisplay::PointPlot::X(int j) const {
    return SRGTrunc(rect.left + (j * step + 0.5));
}

int SRGraphDisplay::PointPlot::Y(double value) const {
    return SRGTrunc(rect.bottom - (value - base) * perUnit + 0.5);
}

int SRGraphDisplay::VisitedItems(int group) {
    return std::min(ScopeItems(group) - m_nResolvedFirstItem, m_nItemCount);
}

void SRGraphDisplay::DrawLines() {
    if (m_nGroupCount <= 0 || m_nItemCount <= 0 || (m_valueRange.m_dMax == 0.0 && m_valueRange.m_dMin == 0.0) ||
        !m_pChart || !m_pDC) {
        DrawDefaultData();
        return;
    }
    const int axis = m_style.GetAxisStyle();
    if (m_dValueSpan == 0.0) {
        m_dValueSpan = 1.0;
    }
    const PointPlot plot = GetPointPlot(axis == 11 || axis == 13 || axis == 20 || axis == 21);
    const bool logarithmic = m_style.HasOption(SRGO_LOG_VALUE_AXIS);
    const bool tagged = m_style.GetGraphStyle() == 31;
    const int fullWidth = m_rectDisplay.right - m_rectDisplay.left;
    for (int group = m_nResolvedFirstGroup; group <= LastStoredGroup(); ++group) {
        SetCurrentGroupIndex(group);
        const int count = VisitedItems(group);
        int walk = 1;
        if (m_style.HasThird(SRGT_LINE_THINNING) && fullWidth > 0) {
            walk = std::max(1, count / fullWidth);
        }
        bool start = true;
        POINT previous{0, 0};
        for (int j = 0; j < count; j += walk) {
            const int index = m_nResolvedFirstItem + j;
            SRGraphData* item = m_pChart->FindItem(index, group);
            if (item->IsNull()) {
                if (m_style.HasOption(SRGO_NULL_BREAKS_LINE)) {
                    start = true;
                }
                continue;
            }
            const POINT p{plot.X(j), plot.Y(item->GetValue(logarithmic))};
            m_pChart->AddFeedbackPoint(p.x, p.y, group, index);
            SRGraphStyle* style = &item->GetStyle();
            if (tagged) {
                if (!start) {
                    DrawDataLine(previous.x, previous.y, p.x, p.y, style, m_nCurrentGroupIndex, LineOverride(*style), item);
                }
                DrawValueTag(p.x, p.y, item);
            } else if (style->GetShapeKind() != 0) {
                const POINT& from = start ? p : previous;
                DrawDataObject(from.x, from.y, p.x, p.y, style, 1, item);
            }
            previous = p;
            start = false;
        }
    }
}

void SRGraphDisplay::DrawSteps() {
    if (!HasPlotData()) {
        return;
    }
    const PointPlot plot = GetPointPlot(false);
    const bool logarithmic = m_style.HasOption(SRGO_LOG_VALUE_AXIS);
    const bool symbols = m_style.GetGraphStyle() != 36;
    for (int group = m_nResolvedFirstGroup; group <= LastStoredGroup(); ++group) {
        SetCurrentGroupIndex(group);
        const int count = VisitedItems(group);
        bool first = true;
        POINT previous{0, 0};
        for (int j = 0; j < count; ++j) {
            const int index = m_nResolvedFirstItem + j;
            SRGraphData* item = m_pChart->FindItem(index, group);
            if (item->IsNull()) {
                continue;
            }
            const POINT p{plot.X(j), plot.Y(item->GetValue(logarithmic))};
            m_pChart->AddFeedbackPoint(p.x, p.y, group, index);
            SRGraphStyle* style = &item->GetStyle();
            const int kind = style->GetShapeKind();
            if (kind == 2) {
                DrawDataSymbol(p.x, p.y, style, item);
            } else if (kind != 0) {
                if (kind != 4 && symbols) {
                    DrawDataSymbol(p.x, p.y, style, item);
                }
                if (!first) {
                    DrawDataLine(previous.x, previous.y, p.x, previous.y, style, m_nCurrentGroupIndex,
                                 LineOverride(*style), item);
                    DrawDataLine(p.x, previous.y, p.x, p.y, style, m_nCurrentGroupIndex, LineOverride(*style), item);
                }
            }
            previous = p;
            first = false;
        }
    }
}

std::vector<int> SRGraphDisplay::GroupsByAverage() {
    std::vector<int> groups;
    std::vector<double> averages;
    for (int group = m_nResolvedFirstGroup; group <= m_nResolvedLastGroup; ++group) {
        groups.push_back(group);
        averages.push_back(m_pChart->AverageOfIndexRange(m_nResolvedFirstItem, m_nResolvedLastItem, group));
    }
    if (!m_style.HasOption(SRGO_KEEP_GROUP_ORDER)) {
        std::vector<size_t> order(groups.size());
        for (size_t i = 0; i < order.size(); ++i) {
            order[i] = i;
        }
        std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) { return averages[a] > averages[b]; });
        std::vector<int> sorted;
        for (size_t i : order) {
            sorted.push_back(groups[i]);
        }
        groups = sorted;
    }
    return groups;
}

void SRGraphDisplay::DrawAreas() {
    if (!HasPlotData()) {
        return;
    }
    const PointPlot plot = GetPointPlot(false);
    const bool logarithmic = m_style.HasOption(SRGO_LOG_VALUE_AXIS);
    std::vector<POINT> points;
    for (int group : GroupsByAverage()) {
        SetCurrentGroupIndex(group);
        points.clear();
        const int count = VisitedItems(group);
        for (int j = 0; j < count; ++j) {
            const int index = m_nResolvedFirstItem + j;
            SRGraphData* item = m_pChart->FindItem(index, group);
            // A null item has no point: the area runs straight from its neighbours.
            if (item->IsNull()) {
                continue;
            }
            points.push_back(POINT{plot.X(j), plot.Y(item->GetValue(logarithmic))});
            m_pChart->AddFeedbackPoint(points.back().x, points.back().y, group, index);
        }
        if (points.empty()) {
            continue;
        }
        // Down to the foot under the last and the first point, and closed.
        const POINT first = points.front();
        points.push_back(POINT{points.back().x, plot.foot});
        points.push_back(POINT{first.x, plot.foot});
        points.push_back(first);
        SRGraphStyle* style = &m_pChart->GetGroup(group, TRUE)->GetStyle();
        FillPolygon(points.data(), static_cast<int>(points.size()), style, 0);
        if (style->GetLineKind() != 0) {
            DrawOutline(points.data(), static_cast<int>(points.size()), style, 0);
        }
    }
}

void SRGraphDisplay::DrawStackedArea() {
    if (!HasPlotData()) {
        return;
    }
    const PointPlot plot = GetPointPlot(false);
    const bool logarithmic = m_style.HasOption(SRGO_LOG_VALUE_AXIS);
    const double minimum = m_valueRange.m_dMin;
    auto yOf = [&](double total) {
        if (!logarithmic) {
            return plot.Y(std::max(total, minimum));
        }
        return total < minimum || total <= 0.0 ? static_cast<int>(plot.rect.bottom) : plot.Y(std::log10(total));
    };
    std::vector<double> totals(static_cast<size_t>(m_nItemCount), 0.0);
    std::vector<POINT> upper(static_cast<size_t>(m_nItemCount));
    std::vector<POINT> lower(static_cast<size_t>(m_nItemCount));
    std::vector<POINT> polygon;
    for (int group = m_nResolvedFirstGroup; group <= m_nResolvedLastGroup; ++group) {
        SetCurrentGroupIndex(group);
        for (int j = 0; j < m_nItemCount; ++j) {
            const int index = m_nResolvedFirstItem + j;
            SRGraphData* item = m_pChart->FindItem(index, group);
            const double value = item->IsNull() ? (logarithmic ? 1.0 : 0.0) : item->GetValue(FALSE);
            double& total = totals[static_cast<size_t>(j)];
            const int x = plot.X(j);
            lower[static_cast<size_t>(j)] = POINT{x, yOf(total)};
            total += value;
            upper[static_cast<size_t>(j)] = POINT{x, yOf(total)};
            m_pChart->AddFeedbackPoint(x, upper[static_cast<size_t>(j)].y, group, index);
        }
        polygon.assign(upper.begin(), upper.end());
        polygon.insert(polygon.end(), lower.rbegin(), lower.rend());
        polygon.push_back(upper.front());
        FillPolygon(polygon.data(), static_cast<int>(polygon.size()), &m_pChart->GetGroup(group, TRUE)->GetStyle(), 0);
    }
}

void SRGraphDisplay::DrawCombination() {
    if (!HasPlotData()) {
        return;
    }
    const PointPlot plot = GetPointPlot(false);
    const bool logarithmic = m_style.HasOption(SRGO_LOG_VALUE_AXIS);
    const double width = plot.rect.Width() / static_cast<double>(m_nItemCount);
    const double thickness = GetBarThickness(width, true);
    for (int group = m_nResolvedFirstGroup; group <= m_nResolvedLastGroup; ++group) {
        SetCurrentGroupIndex(group);
        bool havePrevious = false;
        POINT previous{0, 0};
        for (int j = 0; j < m_nItemCount; ++j) {
            const int index = m_nResolvedFirstItem + j;
            SRGraphData* item = m_pChart->FindItem(index, group);
            if (item->IsNull()) {
                continue;
            }
            const int xc = SRGTrunc(plot.rect.left + j * width + width / 2);
            const int y = plot.Y(item->GetValue(logarithmic));
            SRGraphStyle* style = &item->GetStyle();
            switch (style->GetShapeKind()) {
            case 2:
            case 3:
            case 4:
            case 0x0B:
                if (havePrevious) {
                    DrawDataLine(previous.x, previous.y, xc, y, style, m_nCurrentGroupIndex, LineOverride(*style), item);
                }
                m_pChart->AddFeedbackPoint(xc, y, group, index);
                DrawDataSymbol(xc, y, style, item);
                break;
            case 5:
            case 6:
            case 0x0A:
                DrawDataBar(SRGTrunc(xc - thickness / 2), y, SRGTrunc(xc + thickness / 2), plot.foot, group, index, style,
                            0, item);
                break;
            default:
                break;
            }
            previous = POINT{xc, y};
            havePrevious = true;
        }
    }
}

void SRGraphDisplay::DrawHighLow() {
    if (!HasPlotData()) {
        return;
    }
    if (m_style.GetGraphStyle() == 24) {
        DrawHighLowBands();
        return;
    }
    const PointPlot plot = GetPointPlot(false);
    const bool logarithmic = m_style.HasOption(SRGO_LOG_VALUE_AXIS);
    auto valueOf = [&](double v) { return logarithmic ? (v > 0.0 ? std::log10(v) : -3.0) : v; };
    const double width = plot.rect.Width() / static_cast<double>(m_nItemCount);
    const double thickness = GetBarThickness(plot.rect.Width() / (static_cast<double>(m_nGroupCount) * m_nItemCount), true);
    const double centring = width / 2 - m_nGroupCount * thickness / 2;
    for (int j = 0; j < m_nGroupCount; ++j) {
        const int group = m_nResolvedFirstGroup + j;
        SRGraphStyle& groupStyle = m_pChart->GetGroup(group, TRUE)->GetStyle();
        CPen* oldPen = m_pDC->SelectObject(GetPen(PS_SOLID, 1, groupStyle.m_crLine));
        const bool ownColours = groupStyle.GetFillKind() == 2;
        for (int i = 0; i < m_nItemCount; ++i) {
            const int index = m_nResolvedFirstItem + i;
            SRGraphData* item = m_pChart->FindItem(index, group);
            if (item->IsNull()) {
                continue;
            }
            const CScale range = item->GetValueRange();
            const int x0 = SRGTrunc(plot.rect.left + i * width + j * thickness + centring);
            const int x1 = SRGTrunc(x0 + thickness);
            const int y = plot.Y(item->GetValue(logarithmic));
            SRGraphStyle working = groupStyle;
            SetCurrentGroupIndex(group);
            auto bar = [&](double bound, COLORREF colour, int paletteCode) {
                if (ownColours) {
                    working.SetFillKind(2);
                    working.m_crSecond = colour;
                } else {
                    working.SetFillKind(1);
                    m_nPaletteCode = paletteCode;
                }
                DrawDataBar(x0, std::min(y, plot.Y(valueOf(bound))), x1, std::max(y, plot.Y(valueOf(bound))), group, index,
                            &working, 0x500, item);
            };
            bar(range.m_dMax, groupStyle.m_crSecond, 2 * group);
            bar(range.m_dMin, groupStyle.m_crThird, 2 * group + 1);
            SetCurrentGroupIndex(group);
            m_pChart->AddFeedbackPoint(x0 + (x1 - x0) / 2, y, group, index);
            DrawDataSymbol(x0 + (x1 - x0) / 2, y, &item->GetStyle(), item);
        }
        m_pDC->SelectObject(oldPen);
    }
}

void SRGraphDisplay::DrawHighLowBands() {
    const PointPlot plot = GetPointPlot(false);
    const bool logarithmic = m_style.HasOption(SRGO_LOG_VALUE_AXIS);
    auto valueOf = [&](double v) { return logarithmic ? (v > 0.0 ? std::log10(v) : -3.0) : v; };
    std::vector<POINT> values, highs, lows, band;
    for (int group = m_nResolvedFirstGroup; group <= LastStoredGroup(); ++group) {
        SetCurrentGroupIndex(group);
        values.clear();
        highs.clear();
        lows.clear();
        const int count = VisitedItems(group);
        for (int j = 0; j < count; ++j) {
            const int index = m_nResolvedFirstItem + j;
            SRGraphData* item = m_pChart->FindItem(index, group);
            if (item->IsNull()) {
                ThrowSRGraphException(SRGE_NULL_ITEM);
            }
            const CScale range = item->GetValueRange();
            const int x = plot.X(j);
            values.push_back(POINT{x, plot.Y(item->GetValue(logarithmic))});
            highs.push_back(POINT{x, plot.Y(valueOf(range.m_dMax))});
            lows.push_back(POINT{x, plot.Y(valueOf(range.m_dMin))});
            m_pChart->AddFeedbackPoint(x, values.back().y, group, index);
        }
        if (values.empty()) {
            continue;
        }
        SRGraphStyle& groupStyle = m_pChart->GetGroup(group, TRUE)->GetStyle();
        auto drawBand = [&](const std::vector<POINT>& edge, COLORREF colour, const CString& picture, int paletteCode) {
            band.assign(values.begin(), values.end());
            band.insert(band.end(), edge.rbegin(), edge.rend());
            band.push_back(values.front());
            SRGraphStyle working = groupStyle;
            if (groupStyle.GetFillKind() == 2) {
                working.m_crSecond = colour;
            } else if (groupStyle.GetFillKind() == 6) {
                working.SetPictureName(picture);
            } else {
                working.SetFillKind(1);
                m_nPaletteCode = paletteCode;
            }
            FillPolygon(band.data(), static_cast<int>(band.size()), &working, 0);
            DrawOutline(band.data(), static_cast<int>(band.size()), &working, 0);
        };
        drawBand(highs, groupStyle.m_crSecond, groupStyle.m_strPictureName, 2 * group);
        drawBand(lows, groupStyle.m_crThird, groupStyle.m_strPatternName, 2 * group + 1);
    }
}

void SRGraphDisplay::DrawStock() {
    if (!HasPlotData()) {
        return;
    }
    if (m_nGroupCount < 4 || m_nGroupCount % 4 != 0) {
        ThrowSRGraphException(SRGE_GRAPH_TYPE);
    }
    const PointPlot plot = GetPointPlot(false);
    const bool logarithmic = m_style.HasOption(SRGO_LOG_VALUE_AXIS);
    const int graph = m_style.GetGraphStyle();
    const int series = m_nGroupCount / 4;
    const double width = plot.rect.Width() / static_cast<double>(m_nItemCount);
    const double thickness = GetBarThickness(plot.rect.Width() / (static_cast<double>(series) * m_nItemCount), true);
    const double centring = width / 2 - series * thickness / 2;
    for (int i = 0; i < m_nItemCount; ++i) {
        const int index = m_nResolvedFirstItem + i;
        for (int k = 0; k < series; ++k) {
            const int highGroup = m_nResolvedFirstGroup + 4 * k;
            SRGraphData* high = m_pChart->FindItem(index, highGroup);
            if (high->IsNull()) {
                continue;
            }
            SRGraphStyle* style = GetBarStyle(high, highGroup);
            int y[4];
            double v[4];
            for (int q = 0; q < 4; ++q) {
                v[q] = m_pChart->FindItem(index, highGroup + q)->GetValue(logarithmic);
                y[q] = plot.Y(v[q]);
            }
            const int x0 = SRGTrunc(plot.rect.left + k * thickness + i * width + centring);
            const int x1 = SRGTrunc(x0 + thickness);
            const int xc = SRGTrunc(x0 + thickness / 2);
            SetCurrentGroupIndex(m_nResolvedFirstGroup + k);
            for (int q = 0; q < 4; ++q) {
                m_pChart->AddFeedbackPoint(xc, y[q], highGroup + q, index);
            }
            const BOOL logging = m_pChart->IsFeedbackLogging();
            m_pChart->SetFeedbackLogging(FALSE);
            const int high_ = y[0], low = y[1], open = y[2], close = y[3];
            DrawDataLine(xc, high_, xc, low, style, m_nCurrentGroupIndex, LineOverride(*style), nullptr);
            if (graph == 29) {
                DrawDataLine(x0, open, xc, open, style, m_nCurrentGroupIndex, LineOverride(*style), nullptr);
                DrawDataLine(xc, close, x1, close, style, m_nCurrentGroupIndex, LineOverride(*style), nullptr);
            } else {
                SRGraphStyle box = *style;
                const int s = (m_nResolvedFirstGroup + k) % 8;
                if (graph == 46) {
                    if (v[3] > v[2]) {
                        box.SetFillKind(3);
                        box.m_crSecond = kStockLight[s];
                        box.m_crThird = kStockDark[s];
                    } else if (v[3] < v[2]) {
                        box.SetFillKind(3);
                        box.m_crSecond = kStockDark[s];
                        box.m_crThird = kStockLight[s];
                    } else {
                        box.SetFillKind(2);
                        box.m_crSecond = kStockDark[s];
                    }
                } else if (box.GetFillKind() == 1) {
                    box.SetFillKind(2);
                    box.m_crSecond = v[2] >= v[3] ? kStockDark[s] : kStockLight[s];
                }
                DrawDataBar(x0, std::min(open, close), x1, std::max(open, close), highGroup, index, &box, 0, nullptr);
            }
            m_pChart->SetFeedbackLogging(logging);
        }
    }
}
