#include "chart/SRGIndexScale.h"

#include "chart/ChartMath.h"
#include "chart/ChartResourceIds.h"
#include "chart/SRGraph.h"
#include "chart/SRGraphDataList.h"
#include "chart/SRGraphException.h"

#include "platform/base/CArchive.h"
#include "platform/framework/CDC.h"

#include <cmath>
#include <cstdlib>

IMPLEMENT_SERIAL(SRGIndexScale, SRGDecimalScale, VERSIONABLE_SCHEMA | 1)
IMPLEMENT_SERIAL(SRGGroupScale, SRGIndexScale, VERSIONABLE_SCHEMA | 1)

SRGIndexScale::SRGIndexScale() {
    m_nType = IDS_SRG_TYPE_INDEX_SCALE;
}

int SRGIndexScale::ChooseStep(int count, int fit, double given) {
    int step = SRGTrunc(given);
    if (step > 0) {
        return step;
    }
    int k = SRGTrunc(std::ceil(static_cast<double>(count) / std::max(fit, 1)));
    if (k > 500) {
        k = (k / 500 + 1) * 500;
    } else if (k > 100) {
        k = (k / 100 + 1) * 100;
    } else if (k > 5) {
        k = (k / 10 + 1) * 10;
    }
    return std::max(k, 1);
}

CString SRGIndexScale::EntryText(int index, bool groups, int itemGroup) {
    if (!m_pChart) {
        return CString();
    }
    const int key = m_pChart->GetAnnotationKey();
    if (!groups) {
        return m_pChart->FindItem(index, itemGroup)->GetAnnotation(key);
    }
    if (index < 0 || index >= m_pChart->GetGroupCount()) {
        return CString();
    }
    try {
        return m_pChart->GetGroup(index, FALSE)->GetAnnotation(key);
    } catch (SRGraphException* e) {
        e->Delete();
        return CString();
    }
}

void SRGIndexScale::BuildEntries(int first, int count, double fitLine, bool groups, int itemGroup) {
    if (count <= 0) {
        return;
    }
    BeginBuild();
    POINT start = m_start, end = m_end;
    if (!m_bEdgeLabels) {
        const int hx = SRGRound((end.x - start.x) / static_cast<double>(count) * 0.5);
        const int hy = SRGRound((end.y - start.y) / static_cast<double>(count) * 0.5);
        start = POINT{start.x + hx, start.y + hy};
        end = POINT{end.x - hx, end.y - hy};
    }
    const double working = std::hypot(static_cast<double>(end.x - start.x), static_cast<double>(end.y - start.y));
    LOGFONTW font{};
    if (m_pFont) {
        m_pFont->GetLogFont(&font);
    }
    const int band = std::abs(font.lfHeight * 6 / 5);
    const int fit = std::max(1, band > 0 ? SRGTrunc((fitLine > 0.0 ? fitLine : working) / band) : 1);
    int step = ChooseStep(count, fit, m_dStep);
    int labels = (count - 1) / step + 1;
    if (m_bEdgeLabels && labels < 2) {
        labels = 2;
        step = count - 1;
    }
    labels = std::min(labels, kSRGMaxScaleLabels);
    const double vx = end.x - start.x, vy = end.y - start.y;
    const double sx = count > 1 ? vx / (count - 1) * step : vx;
    const double sy = count > 1 ? vy / (count - 1) * step : vy;
    const POINT offset = GetLabelOffset();
    for (int k = 0; k < labels; ++k) {
        const int index = std::min(first + k * step, first + count - 1);
        SRGraphLabel* label = LabelAt(k);
        label->SetText(EntryText(index, groups, itemGroup));
        label->SetAnchor(start.x + offset.x + k * sx, start.y + offset.y + k * sy);
    }
    EndBuild(labels);
}

void SRGIndexScale::BuildLabels() {
    if (!m_pDC || !m_pChart) {
        return;
    }
    const int firstGroup = m_nFirstGroup == -1 ? 0 : m_nFirstGroup;
    const int firstItem = m_nFirstItem == -1 ? 0 : m_nFirstItem;
    const int lastItem = m_nLastItem == -1 ? m_pChart->GetMaxItemCount() - 1 : m_nLastItem;
    BuildEntries(firstItem, lastItem - firstItem + 1, 0.0, false, firstGroup);
}

void SRGIndexScale::Serialize(CArchive& ar) {
    SRGDecimalScale::Serialize(ar);
    if (ar.IsStoring()) {
        ar << static_cast<LONG>(m_bEdgeLabels);
    } else {
        LONG edge = 0;
        ar >> edge;
        m_bEdgeLabels = edge;
    }
}

SRGGroupScale::SRGGroupScale() {
    m_nType = IDS_SRG_TYPE_GROUP_SCALE;
}

void SRGGroupScale::BuildLabels() {
    if (!m_pDC || !m_pChart) {
        return;
    }
    const int firstGroup = m_nFirstGroup == -1 ? 0 : m_nFirstGroup;
    const int lastGroup = m_nLastGroup == -1 ? m_pChart->GetGroupCount() - 1 : m_nLastGroup;
    BuildEntries(firstGroup, lastGroup - firstGroup + 1, std::max(1.0, LineLength()), true, 0);
}
