#include "chart/SRGDataWatcher.h"

#include "chart/ChartMath.h"
#include "chart/ChartResourceIds.h"
#include "chart/SRGraph.h"
#include "chart/SRGraphData.h"
#include "chart/SRGraphLabelBlock.h"
#include "chart/TemplateText.h"

#include "platform/base/CArchive.h"

#include <algorithm>

IMPLEMENT_SERIAL(SRGDataWatcher, SRGGridLines, VERSIONABLE_SCHEMA | 1)

namespace {
constexpr int kMarked = 3;

} // namespace

SRGDataWatcher::SRGDataWatcher() {
    m_nType = IDS_SRG_TYPE_DATA_WATCHER;
    SetLinePositions(&m_points);
}

SRGDataWatcher::~SRGDataWatcher() {
    SRGFreePositions(m_points);
}

void SRGDataWatcher::WriteTemplateKeyword(SRGTemplateWriter& writer) {
    writer.WriteText(u"datawatcher ");
}

void SRGDataWatcher::ClearItemMark(int item, int group) {
    if (m_pChart) {
        m_pChart->FindItem(item, group)->GetStyle().SetHighlight(0);
    }
}

void SRGDataWatcher::MarkItem(int item, int group) {
    BeforeMarkItem(item, group);
    if (m_pChart) {
        m_pChart->FindItem(item, group)->GetStyle().SetHighlight(kMarked);
    }
}

int SRGDataWatcher::ResolveScope() {
    int lastItem = m_nLastItem, firstItem = m_nFirstItem, lastGroup = m_nLastGroup, firstGroup = m_nFirstGroup;
    if (!m_pChart) {
        return 0;
    }
    if (m_bUseDisplayScope) {
        CObList& components = m_pChart->GetComponentList();
        for (POSITION pos = m_pChart->GetCurrentComponentPosition(); pos;) {
            auto* component = static_cast<SRGraphComponent*>(components.GetNext(pos));
            if (component->GetComponentType() != IDS_SRG_TYPE_DATA_WATCHER) {
                component->GetScope(firstItem, lastItem, firstGroup, lastGroup);
                break;
            }
        }
    }
    m_nResolvedFirstGroup = firstGroup == -1 ? 0 : firstGroup;
    m_nResolvedLastGroup = lastGroup == -1 ? m_pChart->GetGroupCount() - 1 : lastGroup;
    m_nResolvedFirstItem = firstItem == -1 ? 0 : firstItem;
    m_nResolvedLastItem = lastItem == -1 ? m_pChart->GetMaxItemCount() - 1 : lastItem;
    m_nGroupCount = SRGCountBetween(m_nResolvedFirstGroup, m_nResolvedLastGroup);
    m_nItemCount = SRGCountBetween(m_nResolvedFirstItem, m_nResolvedLastItem);
    return m_nItemCount;
}

template <typename Visit> void SRGDataWatcher::WalkItems(Visit visit) {
    ResolveScope();
    // A step below 1 would never leave its group.
    const int groupStep = m_nGroupStep > 0 ? m_nGroupStep : 1;
    const int indexStep = m_nIndexStep > 0 ? m_nIndexStep : 1;
    // Groups beyond the chart's hold no items: a scope reaching far past them creates none.
    const long long first = m_nResolvedFirstGroup;
    const long long end = std::min<long long>(first + m_nGroupCount, m_pChart->GetGroupCount());
    long long group = first;
    if (group < 0) {
        group += (-group + groupStep - 1) / groupStep * groupStep;
    }
    for (; group < end; group += groupStep) {
        const int count = m_pChart->GetGroupItemCount(static_cast<int>(group), TRUE);
        // Every item from the first index to the end of the group: the last index does not bound the walk.
        long long item = m_nResolvedFirstItem;
        if (item < 0) {
            item += (-item + indexStep - 1) / indexStep * indexStep;
        }
        for (; item < count; item += indexStep) {
            visit(static_cast<int>(item), static_cast<int>(group));
        }
    }
}

template <typename Condition> BOOL SRGDataWatcher::CheckItems(Condition marked) {
    BOOL passed = TRUE;
    if (!m_pChart) {
        return passed;
    }
    WalkItems([&](int item, int group) {
        if (marked(m_pChart->FindItem(item, group)->GetValue(FALSE))) {
            MarkItem(item, group);
            passed = FALSE;
        } else {
            ClearItemMark(item, group);
        }
    });
    return passed;
}

bool SRGDataWatcher::ScopeAverage(double& average) {
    if (!m_pChart) {
        return false;
    }
    double sum = 0.0;
    int count = 0;
    WalkItems([&](int item, int group) {
        sum += m_pChart->FindItem(item, group)->GetValue(FALSE);
        ++count;
    });
    // An empty scope has no average: the check passes rather than dividing by zero.
    if (count == 0) {
        return false;
    }
    average = sum / count;
    return true;
}

BOOL SRGDataWatcher::CheckAllBelowUpper() {
    return CheckItems([this](double v) { return v >= m_dUpper; });
}

BOOL SRGDataWatcher::CheckAllAboveLower() {
    return CheckItems([this](double v) { return v <= m_dLower; });
}

BOOL SRGDataWatcher::CheckNoneInside() {
    return CheckItems([this](double v) { return v > m_dLower && v < m_dUpper; });
}

BOOL SRGDataWatcher::CheckAllInside() {
    return CheckItems([this](double v) { return v <= m_dLower || v >= m_dUpper; });
}

BOOL SRGDataWatcher::CheckAverageBelowUpper() {
    double average = 0.0;
    return !ScopeAverage(average) || average < m_dUpper;
}

BOOL SRGDataWatcher::CheckAverageAboveLower() {
    double average = 0.0;
    return !ScopeAverage(average) || average > m_dLower;
}

BOOL SRGDataWatcher::CheckAverageOutside() {
    double average = 0.0;
    return !ScopeAverage(average) || average < m_dLower || average > m_dUpper;
}

BOOL SRGDataWatcher::CheckAverageInside() {
    double average = 0.0;
    return !ScopeAverage(average) || (average > m_dLower && average < m_dUpper);
}

void SRGDataWatcher::Check() {
    BOOL passed = TRUE;
    switch (m_nMode) {
    case SRGW_ALL_BELOW_UPPER:
        passed = CheckAllBelowUpper();
        break;
    case SRGW_ALL_ABOVE_LOWER:
        passed = CheckAllAboveLower();
        break;
    case SRGW_AVERAGE_BELOW_UPPER:
        passed = CheckAverageBelowUpper();
        break;
    case SRGW_AVERAGE_ABOVE_LOWER:
        passed = CheckAverageAboveLower();
        break;
    case SRGW_NONE_INSIDE:
        passed = CheckNoneInside();
        break;
    case SRGW_ALL_INSIDE:
        passed = CheckAllInside();
        break;
    case SRGW_AVERAGE_OUTSIDE:
        passed = CheckAverageOutside();
        break;
    case SRGW_AVERAGE_INSIDE:
        passed = CheckAverageInside();
        break;
    default:
        passed = CheckOtherMode();
        break;
    }
    if (passed) {
        OnCheckPassed();
    } else {
        OnCheckFailed();
    }
}

void SRGDataWatcher::DrawComponent(CDC* dc, CWnd* window) {
    m_pDC = dc;
    m_pWindow = window;
    m_bDrawing = TRUE;
    struct Restore {
        SRGDataWatcher& w;
        ~Restore() {
            w.m_bDrawing = FALSE;
            w.m_bChanged = FALSE;
        }
    } restore{*this};
    if (m_nDrawnMark) {
        Check();
    }
    if (m_bDrawLines) {
        Draw();
    }
}

void SRGDataWatcher::AddLimitPoint(double limit, double minimum, double span) {
    const CRect plot = GetPlotRect();
    if (IsVertical()) {
        const int x = plot.left + SRGRound((plot.right - plot.left) / span * (limit - minimum));
        if (plot.left <= x && x <= plot.right) {
            m_points.AddTail(new POINT{x, plot.bottom});
        }
    } else {
        const int y = plot.bottom - SRGRound((plot.bottom - plot.top) / span * (limit - minimum));
        if (plot.top <= y && y <= plot.bottom) {
            m_points.AddTail(new POINT{plot.left, y});
        }
    }
}

void SRGDataWatcher::Draw() {
    SRGFreePositions(m_points);
    SetLinePositions(&m_points);
    if (m_nMode < 0 || m_nMode > 7) {
        DrawOtherModeLines();
        SRGGridLines::Draw();
        return;
    }
    const double minimum = m_valueRange.m_dMin;
    const double span = m_valueRange.GetSpan();
    // A range without span has no place for a limit.
    if (span > 0.0) {
        if (m_nMode >= SRGW_NONE_INSIDE) {
            AddLimitPoint(m_dLower, minimum, span);
        }
        AddLimitPoint(m_dUpper, minimum, span);
    }
    SRGGridLines::Draw();
}

void SRGDataWatcher::Serialize(CArchive& ar) {
    SRGGridLines::Serialize(ar);
    if (ar.IsStoring()) {
        ar << static_cast<LONG>(m_bUseDisplayScope) << m_dUpper << m_dLower << static_cast<LONG>(m_nMode);
        return;
    }
    LONG useScope = 0, mode = 0;
    ar >> useScope >> m_dUpper >> m_dLower >> mode;
    m_bUseDisplayScope = useScope;
    m_nMode = mode;
}
