// The data ranges a display prepares before it rounds them to its scales: which items each chart layout
// visits, and the rule by which the fixed ranges replace, bound or widen what the data give.
#include "chart/SRGraph.h"
#include "chart/SRGraphData.h"
#include "chart/SRGraphDisplay.h"
#include "chart/SRGraphException.h"

#include <algorithm>
#include <cmath>

namespace {
// One axis's fixed range and the two options that rule it.
struct FixedRule {
    bool fixedBit;
    bool combine;
    double fixedMin;
    double fixedMax;

    bool Counts() const { return fixedMax > fixedMin; }
    // Step 1: the range is exactly the fixed range and the data are not visited for it.
    bool Take(CScale& range) const {
        if (!(fixedBit && !combine && Counts())) {
            return false;
        }
        range.Reset();
        range.Include(fixedMax);
        range.Include(fixedMin);
        return true;
    }
    // Step 3: the union with the fixed range, or (fixed bit clear) the data clipped to it.
    void Combine(CScale& range) const {
        if (!(combine && Counts())) {
            return;
        }
        if (fixedBit) {
            range.Include(fixedMax);
            range.Include(fixedMin);
            return;
        }
        const double low = std::max(range.m_dMin, fixedMin);
        const double high = std::min(range.m_dMax, fixedMax);
        range.Reset();
        range.Include(low);
        range.Include(high);
    }
    bool Within(double low, double high) const { return high >= fixedMin && low <= fixedMax; }
};

// The frame of the XY-family range routines: both ranges emptied, then each set to its fixed range where the
// options say so. The data widen an axis that took no fixed range, and only by points whose coordinate on
// the other axis lies within that axis's fixed range; Finish bounds or widens what they gave.
class XYRanges {
public:
    XYRanges(const SRGraphStyle& style, CScale& x, CScale& y, double xMin, double xMax, double yMin, double yMax)
        : m_xRule{style.HasOption(SRGO_FIXED_RANGES) != 0, style.HasOption(SRGO_COMBINE_FIXED) != 0, xMin, xMax},
          m_yRule{m_xRule.fixedBit, m_xRule.combine, yMin, yMax}, m_x(x), m_y(y) {
        x.Reset();
        y.Reset();
    }
    // False when both axes took their fixed ranges: the data have nothing left to widen.
    bool TakeFixed() {
        m_xFixed = m_xRule.Take(m_x);
        m_yFixed = m_yRule.Take(m_y);
        return !(m_xFixed && m_yFixed);
    }
    void Widen(double xLow, double xHigh, double yLow, double yHigh) const {
        if (!m_xFixed && (!m_yFixed || m_yRule.Within(yLow, yHigh))) {
            m_x.Include(xLow);
            m_x.Include(xHigh);
        }
        if (!m_yFixed && (!m_xFixed || m_xRule.Within(xLow, xHigh))) {
            m_y.Include(yLow);
            m_y.Include(yHigh);
        }
    }
    void Finish() const {
        if (!m_xFixed) {
            m_xRule.Combine(m_x);
        }
        if (!m_yFixed) {
            m_yRule.Combine(m_y);
        }
    }

private:
    const FixedRule m_xRule;
    const FixedRule m_yRule;
    CScale& m_x;
    CScale& m_y;
    bool m_xFixed = false;
    bool m_yFixed = false;
};
} // namespace

int SRGraphDisplay::ScopeItems(int group) {
    // A group past the store holds nothing: creating it would let a scope from a file fill memory.
    if (!m_pChart || group >= m_pChart->GetGroupCount()) {
        return 0;
    }
    try {
        return m_pChart->GetGroupItemCount(group, FALSE);
    } catch (SRGraphException* e) {
        if (e->m_nCode != SRGE_GROUP_RANGE) {
            throw;
        }
        e->Delete();
        return 0;
    }
}

int SRGraphDisplay::LastStoredGroup() const {
    return m_pChart ? std::min(m_nResolvedLastGroup, m_pChart->GetGroupCount() - 1) : m_nResolvedFirstGroup - 1;
}

int SRGraphDisplay::StoredScopeItems(int group) {
    return std::clamp(ScopeItems(group) - m_nResolvedFirstItem, 0, std::max(m_nItemCount, 0));
}

int SRGraphDisplay::StoredItemSpan() {
    int span = 0;
    for (int g = m_nResolvedFirstGroup; g <= LastStoredGroup(); ++g) {
        span = std::max(span, StoredScopeItems(g));
    }
    return span;
}

void SRGraphDisplay::PrepareDataRanges() {
    const int graph = m_style.GetGraphStyle();
    const int axis = m_style.GetAxisStyle();
    switch (graph) {
    case 0:
        return;
    case 7:
    case 24:
        m_bItemRanges = TRUE;
        PrepareStandardRanges();
        return;
    case 15:
    case 16:
        PrepareBarRanges();
        return;
    case 2:
    case 3:
    case 11:
    case 12:
        if (axis == 11 || axis == 13 || axis == 16 || axis == 20 || axis == 21 || axis == 22) {
            PrepareBarRanges();
        } else {
            PrepareStandardRanges();
        }
        return;
    case 26:
    case 27:
        PreparePolarRanges();
        return;
    case 14:
        PrepareStackedRanges();
        return;
    case 37:
    case 38:
        PrepareStackRanges();
        return;
    case 39:
    case 40:
        PrepareGroupStackRanges();
        return;
    case 41:
    case 42:
        PrepareBubbleRanges();
        return;
    case 43:
    case 44:
    case 45:
        PrepareVectorRanges();
        return;
    case 19:
    case 20:
    case 21:
    case 32:
    case 33:
    case 34:
        PrepareXYRanges();
        return;
    default:
        if (graph <= 46) {
            PrepareStandardRanges();
        } else {
            PrepareOtherRanges();
        }
        return;
    }
}

void SRGraphDisplay::PrepareBarRanges() {
    PrepareStandardRanges();
}

void SRGraphDisplay::PrepareStandardRanges() {
    const FixedRule rule{m_style.HasOption(SRGO_FIXED_RANGES) != 0, m_style.HasOption(SRGO_COMBINE_FIXED) != 0,
                         m_dFixedMin, m_dFixedMax};
    m_valueRange.Reset();
    if (rule.Take(m_valueRange) || !m_pChart) {
        return;
    }
    for (int g = m_nResolvedFirstGroup; g <= LastStoredGroup(); ++g) {
        const int visited = StoredScopeItems(g);
        for (int j = 0; j < visited; ++j) {
            SRGraphData* item = m_pChart->FindItem(m_nResolvedFirstItem + j, g);
            if (item->IsNull()) {
                continue;
            }
            if (m_bItemRanges) {
                const CScale range = item->GetValueRange();
                m_valueRange.Include(range.m_dMin);
                m_valueRange.Include(range.m_dMax);
            }
            m_valueRange.Include(item->GetValue(FALSE));
        }
    }
    rule.Combine(m_valueRange);
}

void SRGraphDisplay::PreparePolarRanges() {
    const FixedRule rule{m_style.HasOption(SRGO_FIXED_RANGES) != 0, m_style.HasOption(SRGO_COMBINE_FIXED) != 0,
                         m_dFixedMin, m_dFixedMax};
    m_valueRange.Reset();
    if (rule.Take(m_valueRange) || !m_pChart) {
        return;
    }
    // Positions past the store read as the chart's empty item: they count once, not one by one.
    bool missing = false;
    for (int offset = 1; offset < m_nGroupCount; offset += 2) {
        const int g = m_nResolvedFirstGroup + offset;
        if (g > LastStoredGroup()) {
            missing = m_nItemCount > 0;
            break;
        }
        const int visited = StoredScopeItems(g);
        for (int j = 0; j < visited; ++j) {
            m_valueRange.Include(m_pChart->FindItem(m_nResolvedFirstItem + j, g)->GetValue(FALSE));
        }
        missing = missing || visited < m_nItemCount;
    }
    if (missing) {
        m_valueRange.Include(m_pChart->GetDummyItem().GetValue(FALSE));
    }
    rule.Combine(m_valueRange);
}

void SRGraphDisplay::PrepareStackedRanges() {
    const FixedRule rule{m_style.HasOption(SRGO_FIXED_RANGES) != 0, m_style.HasOption(SRGO_COMBINE_FIXED) != 0,
                         m_dFixedMin, m_dFixedMax};
    m_valueRange.Reset();
    if (rule.Take(m_valueRange) || !m_pChart) {
        return;
    }
    // Past the store every position reads as the empty item: it adds nothing to a running total, and its
    // value counts once where it stands for the first group's.
    const int lastGroup = LastStoredGroup();
    if (m_nGroupCount > 0 && StoredScopeItems(m_nResolvedFirstGroup) < m_nItemCount) {
        m_valueRange.Include(m_pChart->GetDummyItem().GetValue(FALSE));
    }
    for (int j = 0; j < StoredItemSpan(); ++j) {
        double total = 0.0;
        for (int g = m_nResolvedFirstGroup; g <= lastGroup; ++g) {
            const double value = m_pChart->FindItem(m_nResolvedFirstItem + j, g)->GetValue(FALSE);
            if (g == m_nResolvedFirstGroup) {
                m_valueRange.Include(value);
            }
            total += value;
            m_valueRange.Include(total);
        }
    }
    rule.Combine(m_valueRange);
}

void SRGraphDisplay::PrepareStackRanges() {
    const FixedRule rule{m_style.HasOption(SRGO_FIXED_RANGES) != 0, m_style.HasOption(SRGO_COMBINE_FIXED) != 0,
                         m_dFixedMin, m_dFixedMax};
    m_valueRange.Reset();
    if (!m_pChart) {
        return;
    }
    const bool byGroup = m_style.GetGraphStyle() == 39 || m_style.GetGraphStyle() == 40;
    // Only stored positions are walked: past the store the empty item adds nothing to a running total, and
    // stands as a zero total where a column's first position is missing.
    const int storedGroups = std::max(LastStoredGroup() - m_nResolvedFirstGroup + 1, 0);
    const int outer = byGroup ? storedGroups : StoredItemSpan();
    bool missingFirst = false;
    if (byGroup) {
        missingFirst = m_nItemCount > 0 && m_nGroupCount > storedGroups;
        for (int o = 0; o < outer && !missingFirst; ++o) {
            missingFirst = StoredScopeItems(m_nResolvedFirstGroup + o) == 0;
        }
    } else {
        missingFirst = m_nGroupCount > 0 && StoredScopeItems(m_nResolvedFirstGroup) < m_nItemCount;
    }
    if (missingFirst) {
        m_valueRange.Include(m_pChart->GetDummyItem().GetValue(FALSE));
    }
    for (int o = 0; o < outer; ++o) {
        double total = 0.0;
        const int visited = byGroup ? StoredScopeItems(m_nResolvedFirstGroup + o) : storedGroups;
        for (int i = 0; i < visited; ++i) {
            const int group = m_nResolvedFirstGroup + (byGroup ? o : i);
            const int item = m_nResolvedFirstItem + (byGroup ? i : o);
            const double value = m_pChart->FindItem(item, group)->GetValue(FALSE);
            if (!(value >= 0.0)) {
                // Negative data cannot stack: the display draws clustered columns from now on.
                m_style.SetGraphStyle(3);
                m_style.SetAxisStyle(2);
                m_style.m_bChanged = TRUE;
                PrepareStandardRanges();
                return;
            }
            total += value;
            m_valueRange.Include(total);
        }
    }
    rule.Combine(m_valueRange);
    if (rule.fixedBit && !rule.combine && rule.Counts()) {
        rule.Take(m_valueRange);
    }
}

void SRGraphDisplay::PrepareGroupStackRanges() {
    PrepareStackRanges();
}

void SRGraphDisplay::PrepareXYRanges() {
    XYRanges ranges(m_style, m_xRange, m_valueRange, m_dFixedXMin, m_dFixedXMax, m_dFixedMin, m_dFixedMax);
    const int graph = m_style.GetGraphStyle();
    if ((graph == 19 || graph == 32) && (static_cast<long long>(m_nItemCount) * m_nGroupCount) % 2 != 0) {
        ThrowSRGraphException(SRGE_ODD_COUNT);
    }
    if ((graph == 20 || graph == 33) && m_nItemCount % 2 != 0) {
        ThrowSRGraphException(SRGE_ODD_COUNT);
    }
    if ((graph == 21 || graph == 34) && m_nGroupCount % 2 != 0) {
        ThrowSRGraphException(SRGE_ODD_COUNT);
    }
    if (!ranges.TakeFixed() || !m_pChart) {
        return;
    }
    auto pair = [&](int xItem, int xGroup, int yItem, int yGroup) {
        SRGraphData* x = m_pChart->FindItem(xItem, xGroup);
        SRGraphData* y = m_pChart->FindItem(yItem, yGroup);
        if (x->IsNull() != y->IsNull()) {
            ThrowSRGraphException(SRGE_NULL_ITEM);
        }
        if (!x->IsNull()) {
            const double xv = x->GetValue(FALSE), yv = y->GetValue(FALSE);
            ranges.Widen(xv, xv, yv, yv);
        }
    };
    // Pairs wholly past the store are two empty items, which widen nothing: only stored pairs are walked.
    if (graph == 19 || graph == 32) {
        for (int g = m_nResolvedFirstGroup; g <= LastStoredGroup(); ++g) {
            const int visited = StoredScopeItems(g);
            for (int j = 0; j + 1 < visited; j += 2) {
                pair(m_nResolvedFirstItem + j, g, m_nResolvedFirstItem + j + 1, g);
            }
        }
    } else if (graph == 20 || graph == 33) {
        for (int g = m_nResolvedFirstGroup; g <= LastStoredGroup(); ++g) {
            const int visited = StoredScopeItems(g);
            for (int j = 0; j + 1 < m_nItemCount && j < visited; j += 2) {
                pair(m_nResolvedFirstItem + j, g, m_nResolvedFirstItem + j + 1, g);
            }
        }
    } else {
        for (int offset = 0; offset + 1 < m_nGroupCount && m_nResolvedFirstGroup + offset <= LastStoredGroup();
             offset += 2) {
            const int g = m_nResolvedFirstGroup + offset;
            const int visited = std::max(StoredScopeItems(g), StoredScopeItems(g + 1));
            for (int j = 0; j < visited; ++j) {
                pair(m_nResolvedFirstItem + j, g, m_nResolvedFirstItem + j, g + 1);
            }
        }
    }
    ranges.Finish();
}

void SRGraphDisplay::PrepareBubbleRanges() {
    if (m_nGroupCount <= 2) {
        ThrowSRGraphException(SRGE_GRAPH_TYPE);
    }
    if (m_style.HasOption(SRGO_LOG_VALUE_AXIS)) {
        ThrowSRGraphException(SRGE_NOT_LOGARITHMIC);
    }
    XYRanges ranges(m_style, m_xRange, m_valueRange, m_dFixedXMin, m_dFixedXMax, m_dFixedMin, m_dFixedMax);
    if (!ranges.TakeFixed() || !m_pChart) {
        return;
    }
    const bool extent = m_style.HasThird(SRGT_EXTENT) && !m_style.HasOption(SRGO_FIXED_SIZES);
    // A bubble needs all three of its items: only those the store holds are walked.
    for (int offset = 0; offset + 2 < m_nGroupCount && m_nResolvedFirstGroup + offset + 2 <= LastStoredGroup();
         offset += 3) {
        const int g = m_nResolvedFirstGroup + offset;
        const int visited = std::min({StoredScopeItems(g), StoredScopeItems(g + 1), StoredScopeItems(g + 2)});
        for (int j = 0; j < visited; ++j) {
            const int item = m_nResolvedFirstItem + j;
            SRGraphData* x = m_pChart->FindItem(item, g);
            SRGraphData* y = m_pChart->FindItem(item, g + 1);
            SRGraphData* size = m_pChart->FindItem(item, g + 2);
            if (x->IsNull() || y->IsNull() || size->IsNull()) {
                continue;
            }
            const double xv = x->GetValue(FALSE), yv = y->GetValue(FALSE), s = std::fabs(size->GetValue(FALSE));
            double r = 0.0;
            if (extent) {
                r = s;
                if (m_style.GetGraphStyle() == 42) {
                    // Area proportional to the size: a circle's radius, a square bubble's half side.
                    r = std::sqrt(x->GetStyle().GetShapeKind() == 5 ? s : s * 0.31830989161357204);
                }
            }
            ranges.Widen(xv - r, xv + r, yv - r, yv + r);
        }
    }
    ranges.Finish();
}

void SRGraphDisplay::PrepareVectorRanges() {
    if (m_nGroupCount <= 3) {
        ThrowSRGraphException(SRGE_GRAPH_TYPE);
    }
    if (m_style.HasOption(SRGO_LOG_VALUE_AXIS)) {
        ThrowSRGraphException(SRGE_NOT_LOGARITHMIC);
    }
    XYRanges ranges(m_style, m_xRange, m_valueRange, m_dFixedXMin, m_dFixedXMax, m_dFixedMin, m_dFixedMax);
    if (!ranges.TakeFixed() || !m_pChart) {
        return;
    }
    const int graph = m_style.GetGraphStyle();
    const bool polar = m_style.HasThird(SRGT_EXTENT) && !m_style.HasOption(SRGO_FIXED_SIZES);
    // A vector needs all four of its items: only those the store holds are walked.
    for (int offset = 0; offset + 3 < m_nGroupCount && m_nResolvedFirstGroup + offset + 3 <= LastStoredGroup();
         offset += 4) {
        const int g = m_nResolvedFirstGroup + offset;
        int visited = StoredScopeItems(g);
        for (int k = 1; k < 4; ++k) {
            visited = std::min(visited, StoredScopeItems(g + k));
        }
        for (int j = 0; j < visited; ++j) {
            const int item = m_nResolvedFirstItem + j;
            SRGraphData* data[4];
            bool null = false;
            for (int k = 0; k < 4; ++k) {
                data[k] = m_pChart->FindItem(item, g + k);
                null = null || data[k]->IsNull();
            }
            if (null) {
                continue;
            }
            const double x = data[0]->GetValue(FALSE), y = data[1]->GetValue(FALSE);
            const double a = data[2]->GetValue(FALSE), b = data[3]->GetValue(FALSE);
            if (graph == 45) {
                ranges.Widen(x, x, y, y);
                ranges.Widen(x + a, x + a, y + b, y + b);
            } else if (polar) {
                const double angle = (90.0 - a) * 0.017453292222222222;
                const double dx = std::cos(angle) * b, dy = std::sin(angle) * b;
                if (graph == 43) {
                    ranges.Widen(x, x, y, y);
                    ranges.Widen(x + dx, x + dx, y + dy, y + dy);
                } else {
                    ranges.Widen(x - dx / 2, x - dx / 2, y - dy / 2, y - dy / 2);
                    ranges.Widen(x + dx / 2, x + dx / 2, y + dy / 2, y + dy / 2);
                }
            } else {
                ranges.Widen(x, x, y, y);
            }
        }
    }
    ranges.Finish();
}
