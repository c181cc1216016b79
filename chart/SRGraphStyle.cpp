#include "chart/SRGraphStyle.h"

#include "platform/base/CArchive.h"

IMPLEMENT_SERIAL(SRGraphStyle, CObject, VERSIONABLE_SCHEMA | 1)

void SRGraphStyle::Assign(const SRGraphStyle& other) {
    m_dwStyle = other.m_dwStyle;
    m_crColour = other.m_crColour;
    m_dwThird = other.m_dwThird;
    m_dFirstLimit = other.m_dFirstLimit;
    m_dSecondLimit = other.m_dSecondLimit;
    m_dThirdLimit = other.m_dThirdLimit;
    m_strShapeName = other.m_strShapeName;
    m_dwChartType = other.m_dwChartType;
    m_dwOptions = other.m_dwOptions;
    m_dwSecondary = other.m_dwSecondary;
    m_crLine = other.m_crLine;
    m_strPatternName = other.m_strPatternName;
    m_nLineWidth = other.m_nLineWidth;
    m_crSecond = other.m_crSecond;
    m_crThird = other.m_crThird;
    m_dShadeAngle = other.m_dShadeAngle;
    m_strPictureName = other.m_strPictureName;
    m_dPieAngle = other.m_dPieAngle;
    m_dReserved = other.m_dReserved;
    m_dRotation = other.m_dRotation;
}

void SRGraphStyle::SetPictureName(const CString& name) {
    if (name != m_strPictureName) {
        SetThird(SRGT_PICTURE_LOADED, FALSE);
    }
    m_strPictureName = name;
}

void SRGraphStyle::SetLogarithmic(BOOL logarithmic) {
    BOOL was = HasOption(SRGO_LOG_VALUE_AXIS);
    SetOption(SRGO_LOG_VALUE_AXIS, logarithmic);
    if (!was != !logarithmic) {
        m_bChanged = TRUE;
    }
}

void SRGraphStyle::Serialize(CArchive& ar) {
    if (ar.IsStoring()) {
        ar << m_dwChartType << m_dwOptions << m_dwThird << m_dwSecondary << m_crSecond << m_crThird << m_crLine;
        ar << m_dShadeAngle << m_dSecondLimit << m_dFirstLimit << m_dThirdLimit;
        ar << static_cast<LONG>(m_nLineWidth);
        ar << m_strPictureName << m_strShapeName;
        ar << m_dwStyle << m_crColour;
        ar << m_dPieAngle << m_dReserved << m_dRotation;
    } else {
        LONG width = 0;
        ar >> m_dwChartType >> m_dwOptions >> m_dwThird >> m_dwSecondary >> m_crSecond >> m_crThird >> m_crLine;
        ar >> m_dShadeAngle >> m_dSecondLimit >> m_dFirstLimit >> m_dThirdLimit;
        ar >> width;
        m_nLineWidth = width;
        ar >> m_strPictureName >> m_strShapeName;
        ar >> m_dwStyle >> m_crColour;
        ar >> m_dPieAngle >> m_dReserved >> m_dRotation;
    }
}
