#include "chart/SRGGridLines.h"

#include "chart/ChartMath.h"
#include "chart/ChartResourceIds.h"

#include "platform/base/CArchive.h"
#include "platform/framework/CDC.h"

#include <algorithm>
#include <cstdlib>

IMPLEMENT_SERIAL(SRGGridLines, SRGraphComponent, VERSIONABLE_SCHEMA | 1)

namespace {
constexpr int kArchiveVersion = 2;

// The axis style that automatic grid lines take for a graph style; -1 for a graph style without one.
int ResolvedAxisStyle(int graph) {
    switch (graph) {
    case 2:
    case 12:
    case 22:
    case 30:
        return 10;
    case 4:
    case 13:
        return 9;
    case 9:
    case 10:
    case 17:
        return 6;
    case 15:
    case 16:
        return 11;
    case 18:
    case 23:
    case 26:
    case 27:
        return 14;
    case 0:
        return -1;
    default:
        return graph <= 46 ? 2 : -1;
    }
}
} // namespace

SRGGridLines::SRGGridLines() {
    m_nType = IDS_SRG_TYPE_GRID_LINES;
}

CScale& SRGGridLines::GetVersionRecord(CScale& out) {
    SRGraphComponent::GetVersionRecord(out);
    out.m_dMin = kArchiveVersion;
    return out;
}

int SRGGridLines::LineForm() {
    int axis = m_style.GetAxisStyle();
    if (axis == 1) {
        const int resolved = ResolvedAxisStyle(m_style.GetGraphStyle());
        if (resolved < 0) {
            return -1; // no axis style to take: no grid lines, and no resolving again and again
        }
        m_style.SetAxisStyle(resolved);
        m_style.m_bChanged = TRUE;
        axis = resolved;
    }
    return axis;
}

void SRGGridLines::DrawHorizontalLine(int x, int y, CPen* pen) {
    CPen* old = pen ? m_pDC->SelectObject(pen) : nullptr;
    const int d = m_style.HasOption(SRGO_FIXED_SIZES) ? SRGTrunc(m_style.m_dSecondLimit) : 10;
    const int dx = SRGRound(d * PrinterScaleX(m_pDC));
    const int dy = SRGRound(d * PrinterScaleY(m_pDC));
    const int width = m_rectPlot.right - m_rectPlot.left;
    const bool fromLeft = x == m_rectPlot.left;
    switch (LineForm()) {
    case 2: case 3: case 8: case 10: case 12: case 15: case 18: case 19: case 23: case 24: case 25: case 26: case 27:
        m_pDC->MoveTo(x, y);
        m_pDC->LineTo(fromLeft ? x + width : x - width, y);
        break;
    case 11: case 16: case 20: case 22: case 13: case 21:
        m_pDC->MoveTo(x, y);
        if (fromLeft) {
            m_pDC->LineTo(x + dx, y - dy);
            m_pDC->LineTo(x + width, y - dy);
        } else if (LineForm() == 13 || LineForm() == 21) {
            m_pDC->LineTo(x - width, y);
            m_pDC->LineTo(x - width, y + dy);
        } else {
            m_pDC->LineTo(x - width + dx, y);
            m_pDC->LineTo(x - width, y + dy);
        }
        break;
    case -1: case 0: case 1: case 4: case 5: case 6: case 7: case 9: case 14: case 17:
        break;
    default:
        DrawOtherHorizontalLine(x, y);
        break;
    }
    if (old) {
        m_pDC->SelectObject(old);
    }
}

void SRGGridLines::DrawVerticalLine(int x, int y, CPen* pen) {
    CPen* old = pen ? m_pDC->SelectObject(pen) : nullptr;
    const int d = m_style.HasOption(SRGO_FIXED_SIZES) ? SRGTrunc(m_style.m_dSecondLimit) : 10;
    const int dx = SRGRound(d * PrinterScaleX(m_pDC));
    const int dy = SRGRound(d * PrinterScaleY(m_pDC));
    const int height = m_rectPlot.bottom - m_rectPlot.top;
    const bool fromBottom = y == m_rectPlot.bottom;
    switch (LineForm()) {
    case 2: case 3: case 8: case 10: case 12: case 15: case 18: case 19: case 23: case 24: case 25: case 26: case 27:
        m_pDC->MoveTo(x, y);
        m_pDC->LineTo(x, fromBottom ? y - height : y + height);
        break;
    case 11: case 16: case 20: case 22: case 13: case 21:
        m_pDC->MoveTo(x, y);
        if (fromBottom) {
            m_pDC->LineTo(x + dx, y - dy);
            m_pDC->LineTo(x + dx, y - height);
        } else {
            m_pDC->LineTo(x, y + height - dy);
            m_pDC->LineTo(x - dx, y + height);
        }
        break;
    case -1: case 0: case 1: case 4: case 5: case 6: case 7: case 9: case 14: case 17:
        break;
    default:
        DrawOtherVerticalLine(x, y);
        break;
    }
    if (old) {
        m_pDC->SelectObject(old);
    }
}

CPen* SRGGridLines::MakePen(const LOGPEN* logPen, int style, int width, COLORREF colour, int styleCount,
                            const DWORD* styles, CPen& own) {
    if (logPen) {
        own.CreatePenIndirect(const_cast<LOGPEN*>(logPen));
        return &own;
    }
    if (style == PS_USERSTYLE && styleCount > 0 && styles) {
        LOGBRUSH brush{BS_SOLID, colour, 0};
        own.CreatePen(PS_GEOMETRIC | PS_USERSTYLE, width, &brush, styleCount, styles);
        return &own;
    }
    return GetPen(style, width, colour);
}

void SRGGridLines::Draw() {
    if (!m_nDrawnMark || !m_pPositions || m_pPositions->IsEmpty() || !m_pDC) {
        return;
    }
    CPen ownMajor, ownMinor;
    CPen* major = MakePen(m_pMajorLogPen, m_nMajorPenStyle, m_nMajorWidth, m_crMajor, m_nMajorStyleCount,
                          m_pMajorStyles, ownMajor);
    CPen* minor = MakePen(m_pMinorLogPen, m_nMinorPenStyle, m_nMinorWidth, m_crMinor, m_nMinorStyleCount,
                          m_pMinorStyles, ownMinor);
    const int oldMode = m_pDC->SetBkMode(TRANSPARENT);
    const POINT* previous = nullptr;
    for (POSITION pos = m_pPositions->GetHeadPosition(); pos;) {
        const auto* p = static_cast<const POINT*>(m_pPositions->GetNext(pos));
        if (m_bVertical) {
            DrawVerticalLine(p->x, p->y, major);
        } else {
            DrawHorizontalLine(p->x, p->y, major);
        }
        if (previous && m_nMinorLines > 0) {
            // No more minor lines than pixels between the two points.
            const int n = std::min(m_nMinorLines, std::max(std::abs(previous->x - p->x), std::abs(previous->y - p->y)));
            for (int i = 1; i <= n; ++i) {
                if (m_bVertical) {
                    DrawVerticalLine(SRGRound(p->x + i * static_cast<double>(previous->x - p->x) / (n + 1)), p->y, minor);
                } else {
                    DrawHorizontalLine(p->x, SRGRound(p->y + i * static_cast<double>(previous->y - p->y) / (n + 1)), minor);
                }
            }
        }
        previous = p;
    }
    m_pDC->SetBkMode(oldMode);
}

void SRGGridLines::Serialize(CArchive& ar) {
    SRGraphComponent::Serialize(ar);
    if (ar.IsStoring()) {
        ar << static_cast<LONG>(m_nMajorPenStyle) << static_cast<LONG>(m_nMinorPenStyle)
           << static_cast<LONG>(m_nMajorWidth) << static_cast<LONG>(m_nMinorWidth) << static_cast<DWORD>(m_crMajor)
           << static_cast<DWORD>(m_crMinor) << static_cast<LONG>(m_bVertical) << static_cast<LONG>(m_nMinorLines);
        return;
    }
    LONG majorStyle = 0, minorStyle = 0, majorWidth = 0, minorWidth = 0, vertical = 0;
    DWORD major = 0, minor = 0;
    ar >> majorStyle >> minorStyle >> majorWidth >> minorWidth >> major >> minor >> vertical;
    m_nMajorPenStyle = majorStyle;
    m_nMinorPenStyle = minorStyle;
    m_nMajorWidth = majorWidth;
    m_nMinorWidth = minorWidth;
    m_crMajor = major;
    m_crMinor = minor;
    m_bVertical = vertical;
    if (GetArchiveVersion(ar) >= kArchiveVersion) {
        LONG lines = 0;
        ar >> lines;
        m_nMinorLines = lines;
    }
}
