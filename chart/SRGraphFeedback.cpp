#include "chart/SRGraphFeedback.h"

#include "platform/gdi/Gdi.h"

#include <algorithm>
#include <cstdlib>

SRGraphFeedback::SRGraphFeedback(const POINT* points, int count, int group, int item, SRGraph* chart)
    : m_nItem(item), m_nGroup(group), m_pChart(chart), m_nKind(polygon) {
    m_hRegion = CreatePolygonRgn(points, count, ALTERNATE);
}

SRGraphFeedback::SRGraphFeedback(int left, int top, int right, int bottom, int group, int item, SRGraph* chart)
    : m_nItem(item), m_nGroup(group), m_pChart(chart), m_nKind(rectangle) {
    m_rect = RECT{std::min(left, right), std::min(top, bottom), std::max(left, right), std::max(top, bottom)};
}

SRGraphFeedback::SRGraphFeedback(int x, int y, int tolerance, int group, int item, SRGraph* chart)
    : m_nItem(item), m_nGroup(group), m_pChart(chart), m_nTolerance(tolerance), m_point{x, y}, m_nKind(point) {}

SRGraphFeedback::~SRGraphFeedback() {
    if (m_hRegion) {
        DeleteObject(m_hRegion);
    }
}

BOOL SRGraphFeedback::HitTest(int x, int y) const {
    switch (m_nKind) {
    case polygon:
        return m_hRegion && PtInRegion(m_hRegion, x, y);
    case rectangle:
        return x >= m_rect.left && x < m_rect.right && y >= m_rect.top && y < m_rect.bottom;
    case point:
        return std::abs(x - m_point.x) < m_nTolerance && std::abs(y - m_point.y) < m_nTolerance;
    default:
        return FALSE;
    }
}
