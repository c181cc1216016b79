#include "chart/SRGraphRect.h"

#include "chart/ChartMath.h"
#include "chart/SRGraph.h"

#include "platform/base/CArchive.h"
#include "platform/framework/CDC.h"
#include "platform/framework/CWnd.h"

#include <cmath>

IMPLEMENT_SERIAL(SRGraphRect, CObject, VERSIONABLE_SCHEMA | 1)

namespace {
int Resolution(CDC* dc, int index) {
    if (dc && dc->m_hAttribDC) {
        return dc->GetDeviceCaps(index);
    }
    HDC screen = ::GetDC(nullptr);
    int value = ::GetDeviceCaps(screen, index);
    ::ReleaseDC(nullptr, screen);
    return value;
}
} // namespace

SRGraphRect& SRGraphRect::operator=(const SRGraphRect& other) {
    m_dLeft = other.m_dLeft;
    m_dTop = other.m_dTop;
    m_dRight = other.m_dRight;
    m_dBottom = other.m_dBottom;
    m_pChart = other.m_pChart;
    m_nUnitMode = other.m_nUnitMode;
    return *this;
}

void SRGraphRect::SetValues(double left, double top, double right, double bottom) {
    m_dLeft = left;
    m_dTop = top;
    m_dRight = right;
    m_dBottom = bottom;
}

void SRGraphRect::SetValuesFromRect(const RECT& rect) {
    SetValues(rect.left, rect.top, rect.right, rect.bottom);
}

CRect SRGraphRect::GetPixelRect(CDC* dc, CWnd*) const {
    CRect drawn = m_pChart ? m_pChart->GetDrawnRect() : CRect();
    const double w = drawn.Width();
    const double h = drawn.Height();
    double fx = 1.0, fy = 1.0;
    switch (m_nUnitMode) {
    case SRG_MILLIMETRES:
        fx = Resolution(dc, LOGPIXELSX) * kSRGInchesPerMillimetre;
        fy = Resolution(dc, LOGPIXELSY) * kSRGInchesPerMillimetre;
        break;
    case SRG_INCHES:
        fx = Resolution(dc, LOGPIXELSX);
        fy = Resolution(dc, LOGPIXELSY);
        break;
    case SRG_PERCENT:
        fx = w * 0.01;
        fy = h * 0.01;
        break;
    default:
        break;
    }
    auto convert = [](double value, double factor) { return SRGPixel(value * factor); };
    CRect r(convert(m_dLeft, fx), convert(m_dTop, fy), convert(m_dRight, fx), convert(m_dBottom, fy));
    if (m_dLeft == -1.0) {
        r.left = 0;
    }
    if (m_dTop == -1.0) {
        r.top = 0;
    }
    if (m_dRight == -1.0) {
        r.right = static_cast<int>(w);
    }
    if (m_dBottom == -1.0) {
        r.bottom = static_cast<int>(h);
    }
    if (m_pChart && m_pChart->IsFixedRectSet()) {
        r.OffsetRect(drawn.left, drawn.top);
    }
    return r;
}

void SRGraphRect::SetFromPixelRect(const RECT& rect, CDC* dc, CWnd* window) {
    CRect reference;
    if (window && window->GetSafeHwnd()) {
        window->GetClientRect(&reference);
    } else if (m_pChart && m_pChart->IsFixedRectSet()) {
        reference = m_pChart->GetFixedRect();
    } else if (m_pChart) {
        SIZE size{};
        m_pChart->GetDrawingSize(size);
        reference = CRect(0, 0, size.cx, size.cy);
    }
    double fx = 1.0, fy = 1.0;
    switch (m_nUnitMode) {
    case SRG_PERCENT:
        fx = reference.Width() ? 100.0 / reference.Width() : 0.0;
        fy = reference.Height() ? 100.0 / reference.Height() : 0.0;
        break;
    case SRG_MILLIMETRES:
        fx = 1.0 / (Resolution(dc, LOGPIXELSX) * kSRGInchesPerMillimetreExact);
        fy = 1.0 / (Resolution(dc, LOGPIXELSY) * kSRGInchesPerMillimetreExact);
        break;
    case SRG_INCHES:
        fx = 1.0 / Resolution(dc, LOGPIXELSX);
        fy = 1.0 / Resolution(dc, LOGPIXELSY);
        break;
    default:
        break;
    }
    SetValues(rect.left * fx, rect.top * fy, rect.right * fx, rect.bottom * fy);
}

void SRGraphRect::Serialize(CArchive& ar) {
    if (ar.IsStoring()) {
        ar << m_dLeft << m_dTop << m_dRight << m_dBottom << static_cast<LONG>(m_nUnitMode);
    } else {
        LONG mode = 0;
        ar >> m_dLeft >> m_dTop >> m_dRight >> m_dBottom >> mode;
        m_nUnitMode = mode;
    }
}
