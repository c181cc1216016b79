// The chart's statistics over its data: averages, sums, the largest item count and the data range.
#include "chart/SRGraph.h"
#include "chart/SRGraphDataList.h"
#include "chart/SRGraphDynamicData.h"
#include "chart/SRGraphException.h"

#include <algorithm>

double SRGraph::AverageOfIndexRange(int firstItem, int lastItem, int group) {
    const int count = lastItem - firstItem + 1;
    if (count <= 0) {
        return 0.0;
    }
    double sum = 0.0;
    for (int i = firstItem; i <= lastItem; ++i) {
        SRGraphData* item = GetItem(i, group);
        if (!item->IsNull()) {
            sum += item->GetValue(FALSE);
        }
    }
    return sum / count;
}

double SRGraph::AverageOfGroup(int group) {
    if (group > GetGroupCount()) {
        return 0.0;
    }
    SRGraphDataList* list = GetGroup(group, TRUE);
    const int count = list->GetItemCount();
    if (count == 0) {
        return 0.0;
    }
    double sum = 0.0;
    for (int i = 0; i < count; ++i) {
        sum += list->GetItem(i, TRUE)->GetValue(FALSE);
    }
    return sum / count;
}

double SRGraph::SumOfIndex(int item, int firstGroup, int lastGroup) {
    if (item >= GetMaxItemCount()) {
        ThrowSRGraphException(SRGE_INDEX_RANGE);
    }
    if (firstGroup == 0 && lastGroup == 0) {
        lastGroup = GetGroupCount() - 1;
    }
    double sum = 0.0;
    for (int g = firstGroup; g <= lastGroup; ++g) {
        sum += FindItem(item, g)->GetValue(FALSE);
    }
    return sum;
}

double SRGraph::SumOfGroup(int group) {
    if (group == -1) {
        group = m_nCurrentGroup;
    }
    if (m_groups.IsEmpty()) {
        return 0.0;
    }
    SRGraphDataList* list = GetGroup(group, TRUE);
    double sum = 0.0;
    const int count = list->GetItemCount();
    for (int i = 0; i < count; ++i) {
        sum += list->GetItem(i, TRUE)->GetValue(FALSE);
    }
    return sum;
}

double SRGraph::SumOfRange(int firstGroup, int firstItem, int lastGroup, int lastItem) {
    double sum = 0.0;
    for (int g = firstGroup; g <= lastGroup; ++g) {
        for (int i = firstItem; i <= lastItem; ++i) {
            SRGraphData* item = GetItem(i, g);
            if (!item->IsNull()) {
                sum += item->GetValue(FALSE);
            }
        }
    }
    return sum;
}

double SRGraph::SumOfAll() {
    double sum = 0.0;
    for (POSITION pos = m_groups.GetHeadPosition(); pos;) {
        SRGraphDataList* list = GetNextGroup(pos);
        const int count = list->GetItemCount();
        for (int i = 0; i < count; ++i) {
            SRGraphData* item = list->GetItem(i, FALSE);
            if (!item->IsNull()) {
                sum += item->GetValue(FALSE);
            }
        }
    }
    return sum;
}

int SRGraph::GetMaxItemCount() {
    int largest = 0;
    for (POSITION pos = m_groups.GetHeadPosition(); pos;) {
        SRGraphDataList* list = GetNextGroup(pos);
        int count = static_cast<int>(list->GetCount());
        if (list->IsDynamic() && count == 1) {
            if (auto* buffer = dynamic_cast<SRGraphDynamicData*>(list->GetHead())) {
                count = static_cast<int>(buffer->GetSize());
            }
        }
        largest = std::max(largest, count);
    }
    return largest;
}

CScale& SRGraph::GetDataRange(CScale& out, BOOL useItemRanges) {
    for (POSITION pos = m_groups.GetHeadPosition(); pos;) {
        SRGraphDataList* list = GetNextGroup(pos);
        const int count = list->GetItemCount();
        for (int i = 0; i < count; ++i) {
            SRGraphData* item = list->GetItem(i, FALSE);
            if (useItemRanges) {
                const CScale range = item->GetValueRange();
                out.Include(range.m_dMax);
                out.Include(range.m_dMin);
            } else {
                out.Include(item->GetValue(FALSE));
            }
        }
    }
    return out;
}
