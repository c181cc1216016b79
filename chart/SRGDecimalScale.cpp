#include "chart/SRGDecimalScale.h"

#include "chart/ChartMath.h"
#include "chart/ChartResourceIds.h"
#include "chart/SRGCompiledPolygon.h"
#include "chart/SRGraph.h"

#include "platform/base/CArchive.h"
#include "platform/framework/CDC.h"

#include <cmath>

IMPLEMENT_SERIAL(SRGDecimalScale, SRGraphLabelBlock, VERSIONABLE_SCHEMA | 1)

bool SRGIsNumberFormat(const CString& format) {
    const std::u16string& f = format.str();
    int conversions = 0;
    for (size_t i = 0; i < f.size(); ++i) {
        if (f[i] != u'%') {
            continue;
        }
        ++i;
        if (i < f.size() && f[i] == u'%') {
            continue;
        }
        while (i < f.size() && (f[i] == u'-' || f[i] == u'+' || f[i] == u' ' || f[i] == u'#' || f[i] == u'0')) {
            ++i;
        }
        while (i < f.size() && f[i] >= u'0' && f[i] <= u'9') {
            ++i;
        }
        if (i < f.size() && f[i] == u'.') {
            ++i;
            while (i < f.size() && f[i] >= u'0' && f[i] <= u'9') {
                ++i;
            }
        }
        if (i < f.size() && f[i] == u'l') {
            ++i;
        }
        if (i >= f.size() || std::u16string_view(u"eEfgG").find(f[i]) == std::u16string_view::npos) {
            return false;
        }
        ++conversions;
    }
    return conversions == 1;
}

SRGDecimalScale::SRGDecimalScale() {
    m_nType = IDS_SRG_TYPE_DECIMAL_SCALE;
    m_style.m_dRotation = -500.0;
    m_bAvoidOverlap = FALSE;
}

SRGDecimalScale::~SRGDecimalScale() {
    RemoveAll();
}

double SRGDecimalScale::LineLength() const {
    return std::hypot(static_cast<double>(m_end.x - m_start.x), static_cast<double>(m_end.y - m_start.y));
}

POINT SRGDecimalScale::GetLabelOffset() {
    const double a = SegmentAngle(m_start.x, m_start.y, m_end.x, m_end.y);
    const int length = SRGTrunc(GetDepthX());
    const double b = m_nLabelSide ? a + kSRGQuarterTurn : a - kSRGQuarterTurn;
    return POINT{SRGRound(length * std::cos(b)), SRGRound(-length * std::sin(b))};
}

void SRGDecimalScale::OrientLabels() {
    const double a = SegmentAngle(m_start.x, m_start.y, m_end.x, m_end.y);
    double t = a + kSRGQuarterTurn;
    if (t < 0.0) {
        t += 6.2831852;
    }
    if (!(m_style.m_dwOptions & 0x80000000)) {
        SetAllAngles(t * kSRGDegreesPerRadian);
        SetAllSides(m_nLabelSide ? SRGL_RIGHT : SRGL_LEFT);
    } else {
        SetAllAngles(m_style.m_dRotation);
        SetAllSides(m_nSide);
    }
    if (m_nLabelSide) {
        SetMoveFactors(std::cos(t), std::sin(t));
    } else {
        SetMoveFactors(-std::cos(t), std::sin(t));
    }
}

CString SRGDecimalScale::TidyExponent(const CString& text) {
    static const char16_t* const kMarks[] = {u"e+0", u"E+0", u"e-0", u"E-0"};
    for (const char16_t* mark : kMarks) {
        const int at = text.Find(mark);
        if (at < 0) {
            continue;
        }
        CString tidy = text.Left(at + 1);
        if (mark[1] == u'-') {
            tidy += u'-';
        }
        CString rest = text.Mid(at + 3);
        if (!rest.IsEmpty() && rest[0] == u'0') {
            rest = rest.Mid(1);
        }
        return tidy + rest;
    }
    return text;
}

CString SRGDecimalScale::FormatNumber(double value) {
    CString text;
    text.Format(SRGIsNumberFormat(m_strFormat) ? static_cast<LPCTSTR>(m_strFormat) : u"%g", value);
    return TidyExponent(text);
}

int SRGDecimalScale::TextHeight(const CString& text) {
    if (!m_pDC) {
        return 0;
    }
    return m_pDC->GetTextExtent(text).cy;
}

SRGraphLabel* SRGDecimalScale::LabelAt(int index) {
    if (index < GetCount()) {
        return GetLabel(index);
    }
    auto* label = new SRGraphLabel;
    AttachLabel(label, FALSE);
    return label;
}

void SRGDecimalScale::BeginBuild() {
    CreateTitleFont();
    m_oldFont = m_pFont && m_pFont->m_hObject && m_pDC ? ::SelectObject(m_pDC->m_hDC, m_pFont->m_hObject) : nullptr;
}

void SRGDecimalScale::EndBuild(int used) {
    while (GetCount() > used) {
        RemoveLast();
    }
    OrientLabels();
    const POINT offset = GetLabelOffset();
    SavePositions(-offset.x, -offset.y);
    if (m_oldFont && m_pDC) {
        ::SelectObject(m_pDC->m_hDC, m_oldFont);
    }
    m_oldFont = nullptr;
}

void SRGDecimalScale::PlaceAt(SRGraphLabel* label, double t, double span, POINT offset) {
    const double f = span != 0.0 ? t / span : 0.0;
    label->SetAnchor(m_start.x + offset.x + f * (m_end.x - m_start.x), m_start.y + offset.y + f * (m_end.y - m_start.y));
}

void SRGDecimalScale::BuildLabels() {
    if (!m_bDrawing || !m_pDC) {
        return;
    }
    const int n = SRGTrunc(LineLength());
    if (n < 1) {
        return;
    }
    BeginBuild();
    if (m_strFormat.IsEmpty()) {
        m_strFormat = u"%g";
    }
    const double span = m_dMax - m_dMin;
    double s = m_dStep > 0.0 ? m_dStep : 1.0;
    const double h = TextHeight(FormatNumber(m_dMax));
    double m = h * span * 1.2 / n;
    const double e = std::max(std::fabs(m_dMax), std::fabs(m_dMin)) * 2.220446049250313e-16;
    m = std::max(m, e);
    double step = span;
    if (span > m) {
        while (s < m) {
            s *= 10.0;
        }
        if (m_dStep <= 0.0) {
            while (s > 10.0 * e && s > m) {
                s *= 0.1;
            }
        } else {
            while (s > 10.0 * e && s > span) {
                s *= 0.1;
            }
        }
        step = s;
        for (double k : {1.0, 2.0, 5.0, 10.0}) {
            if (s * k >= m) {
                step = s * k;
                break;
            }
        }
    }
    if (step + m_dMin <= m_dMin) {
        step *= 10.0;
    }
    const POINT offset = GetLabelOffset();
    int used = 0;
    if (!(step > 0.0) || !std::isfinite(step) || !std::isfinite(span)) {
        // No usable step (an empty or broken range): one label at the start.
        SRGraphLabel* label = LabelAt(used++);
        label->SetText(FormatNumber(m_bAscending ? m_dMin : m_dMax));
        PlaceAt(label, 0.0, 1.0, offset);
        EndBuild(used);
        return;
    }
    const double start = m_bAscending ? m_dMin : m_dMax;
    for (double u = start; (m_bAscending ? u <= m_dMax : u >= m_dMin) && used < kSRGMaxScaleLabels;
         u += m_bAscending ? step : -step) {
        SRGraphLabel* label = LabelAt(used++);
        label->SetText(std::fabs(u) < step * 0.0001 ? CString(u"0") : FormatNumber(u));
        PlaceAt(label, std::fabs(u - start), span, offset);
    }
    EndBuild(used);
}

void SRGDecimalScale::Serialize(CArchive& ar) {
    SRGraphLabelBlock::Serialize(ar);
    if (ar.IsStoring()) {
        ar << static_cast<LONG>(m_bAscending) << static_cast<LONG>(m_start.x) << static_cast<LONG>(m_start.y)
           << static_cast<LONG>(m_end.x) << static_cast<LONG>(m_end.y);
        ar << m_dMin << m_dMax << m_dStep << static_cast<LONG>(m_nLabelSide) << m_strFormat;
        return;
    }
    LONG ascending = 0, sx = 0, sy = 0, ex = 0, ey = 0, side = 0;
    ar >> ascending >> sx >> sy >> ex >> ey;
    ar >> m_dMin >> m_dMax >> m_dStep >> side >> m_strFormat;
    m_bAscending = ascending;
    m_start = POINT{sx, sy};
    m_end = POINT{ex, ey};
    m_nLabelSide = side;
}
