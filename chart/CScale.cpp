#include "chart/CScale.h"

#include "platform/base/CArchive.h"

#include <cmath>

IMPLEMENT_SERIAL(CScale, CObject, VERSIONABLE_SCHEMA | 1)

void CScale::Include(double value) {
    if (m_bUnset) {
        m_dMax = value;
        m_dMin = value;
        m_bUnset = FALSE;
        return;
    }
    if (value > m_dMax) {
        m_dMax = value;
    }
    if (value < m_dMin) {
        m_dMin = value;
    }
}

double CScale::GetLogSpan() const {
    if (m_dMax > 0.0 && m_dMin > 0.0) {
        return std::log10(m_dMax / m_dMin);
    }
    return 1.0;
}

void CScale::Serialize(CArchive& ar) {
    if (ar.IsStoring()) {
        ar << m_dMax << m_dMin << static_cast<LONG>(m_bUnset);
    } else {
        LONG unset = 0;
        ar >> m_dMax >> m_dMin >> unset;
        m_bUnset = unset;
    }
}
