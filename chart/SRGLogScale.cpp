#include "chart/SRGLogScale.h"

#include "chart/ChartMath.h"
#include "chart/SRGraphException.h"

#include <cmath>

IMPLEMENT_SERIAL(SRGLogScale, SRGDecimalScale, VERSIONABLE_SCHEMA | 1)

SRGLogScale::SRGLogScale() {
    m_bAvoidOverlap = TRUE;
}

void SRGLogScale::BuildLabels() {
    if (!m_bDrawing || !m_pDC) {
        return;
    }
    if (!(m_dMin > 0.0) || !(m_dMax > 0.0)) {
        ThrowSRGraphException(SRGE_NOT_LOGARITHMIC);
    }
    BeginBuild();
    const double a = std::log10(m_dMin), b = std::log10(m_dMax), decades = b - a;
    if (LineLength() < 1.0) {
        EndBuild(GetCount());
        return;
    }
    if (m_strFormat.IsEmpty()) {
        m_strFormat = u"%g";
    }
    const bool labelAll = decades <= 1.01;
    const double lo = std::pow(10.0, a), hi = std::pow(10.0, b);
    double q = std::pow(10.0, std::floor(a));
    if ((hi - lo) / q < 3.0) {
        q *= 0.1;
    }
    const bool fixedStep = (hi - lo) / q < 16.0;
    const POINT offset = GetLabelOffset();
    int used = 0;
    double v = lo;
    auto label = [&](const CString& text, double t) {
        SetLabelText(text, used, 1);
        PlaceAt(GetLabel(used), t, decades, offset);
        ++used;
    };
    if (!(lo / q >= 7.0)) {
        label(FormatNumber(m_dMin), 0.0);
        v = lo + q;
    }
    while (hi - q * 0.5 > v && used < kSRGMaxScaleLabels) {
        const double r = v / q;
        bool major = false;
        if (r <= 1.2) {
            v = q;
            major = true;
        } else if (r > 9.8) {
            if (!fixedStep) {
                q *= 10.0;
                v = q;
            }
            major = true;
        }
        if (v > 0.95 && q >= 1.0) {
            v = std::floor(v + 0.5);
        }
        label(major || labelAll ? FormatNumber(v) : CString(), std::log10(v) - a);
        v += q;
    }
    label(FormatNumber(m_dMax), decades);
    EndBuild(used);
}
