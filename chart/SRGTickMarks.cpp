#include "chart/SRGTickMarks.h"

#include "chart/ChartMath.h"
#include "chart/ChartResourceIds.h"
#include "chart/SRGCompiledPolygon.h"

#include "platform/base/CArchive.h"
#include "platform/framework/CDC.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

IMPLEMENT_SERIAL(SRGTickMarks, SRGraphComponent, VERSIONABLE_SCHEMA | 1)

SRGTickMarks::SRGTickMarks() {
    m_nType = IDS_SRG_TYPE_TICK_MARKS;
}

void SRGTickMarks::DrawComponent(CDC* dc, CWnd* window) {
    if (m_nDrawnMark) {
        SRGraphComponent::DrawComponent(dc, window);
    }
}

POINT SRGTickMarks::GetTickEnd(int x, int y, int length, double angle) {
    return POINT{x + SRGRound(length * std::cos(angle)), y + SRGRound(-length * std::sin(angle))};
}

void SRGTickMarks::DrawTick(int x, int y, int length, double angle, int width, COLORREF colour) {
    CPen pen(PS_SOLID, width, colour);
    CPen* old = m_pDC->SelectObject(&pen);
    const POINT end = GetTickEnd(x, y, length, angle);
    m_pDC->MoveTo(x, y);
    m_pDC->LineTo(end.x, end.y);
    m_pDC->SelectObject(old);
}

void SRGTickMarks::Draw() {
    if (!m_nDrawnMark || !m_pPositions || m_pPositions->IsEmpty() || !m_pDC) {
        return;
    }
    const auto* first = static_cast<const POINT*>(m_pPositions->GetHead());
    const auto* last = static_cast<const POINT*>(m_pPositions->GetTail());
    const double a = SegmentAngle(first->x, first->y, last->x, last->y);
    const double t = m_nSide ? a + kSRGQuarterTurn : a - kSRGQuarterTurn;
    int major = m_nMajorLength;
    int minor = SRGRound(major * m_dMinorRatio);
    if (IsPrinting()) {
        const bool vertical = std::abs(last->y - first->y) > std::abs(last->x - first->x);
        const double factor = vertical ? PrinterScaleX(m_pDC) : PrinterScaleY(m_pDC);
        major = SRGRound(m_nMajorLength * factor);
        minor = SRGRound(m_nMajorLength * factor * m_dMinorRatio);
    }
    const POINT* previous = nullptr;
    for (POSITION pos = m_pPositions->GetHeadPosition(); pos;) {
        const auto* p = static_cast<const POINT*>(m_pPositions->GetNext(pos));
        DrawTick(p->x, p->y, major, t, m_nMajorWidth, m_crMajor);
        if (previous) {
            // No more minor ticks than pixels between the two points.
            const int n = std::min(m_nMinorCount, std::max(std::abs(previous->x - p->x), std::abs(previous->y - p->y)));
            for (int i = 1; i <= n; ++i) {
                const int x = SRGRound(p->x + i * static_cast<double>(previous->x - p->x) / (n + 1));
                const int y = SRGRound(p->y + i * static_cast<double>(previous->y - p->y) / (n + 1));
                DrawTick(x, y, minor, t, m_nMinorWidth, m_crMinor);
            }
        }
        previous = p;
    }
}

void SRGTickMarks::OffsetBeyondTicks(POINT& a, POINT& b) {
    double angle = SegmentAngle(a.x, a.y, b.x, b.y) - kSRGQuarterTurn;
    if (m_nSide) {
        angle += 3.1415926;
    }
    const int offset = std::max(m_nMajorLength, SRGRound(m_nMajorLength * m_dMinorRatio));
    const POINT move = GetTickEnd(0, 0, offset, angle);
    a.x += move.x;
    a.y += move.y;
    b.x += move.x;
    b.y += move.y;
}

void SRGTickMarks::Serialize(CArchive& ar) {
    SRGraphComponent::Serialize(ar);
    if (ar.IsStoring()) {
        ar << static_cast<LONG>(m_nMinorWidth) << static_cast<LONG>(m_nMajorWidth) << static_cast<DWORD>(m_crMinor)
           << static_cast<DWORD>(m_crMajor) << static_cast<LONG>(m_nSide) << static_cast<LONG>(m_nMajorLength);
        ar << m_dMinorRatio << static_cast<LONG>(m_nMinorCount);
        return;
    }
    LONG minorWidth = 0, majorWidth = 0, side = 0, length = 0, count = 0;
    DWORD minor = 0, major = 0;
    ar >> minorWidth >> majorWidth >> minor >> major >> side >> length;
    ar >> m_dMinorRatio >> count;
    m_nMinorWidth = minorWidth;
    m_nMajorWidth = majorWidth;
    m_crMinor = minor;
    m_crMajor = major;
    m_nSide = side;
    m_nMajorLength = length;
    m_nMinorCount = count;
}
