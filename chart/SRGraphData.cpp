#include "chart/SRGraphData.h"

#include "platform/base/CArchive.h"

#include <cmath>

IMPLEMENT_SERIAL(SRGraphData, CObject, VERSIONABLE_SCHEMA | 1)

SRGraphData::SRGraphData() {
    m_style.SetKind(2);
}

double SRGraphData::GetLogValue() const {
    return m_dValue > 0.0 ? std::log10(m_dValue) : -99.0;
}

void SRGraphData::Clear() {
    m_dValue = 0.0;
    m_range.Reset();
}

CScale SRGraphData::GetValueRange() {
    return m_range;
}

double SRGraphData::GetValue(BOOL logarithm) {
    return logarithm ? GetLogValue() : m_dValue;
}

void SRGraphData::SetValue(double value) {
    m_dValue = value;
    m_range.Include(value);
    SetNull(FALSE);
}

void SRGraphData::SetAnnotation(const CString& text, BOOL clearFirst, int key) {
    if (clearFirst) {
        m_annotations.RemoveAll();
    }
    m_annotations.SetText(key, text);
}

void SRGraphData::SetAnnotationForKey(int key, const CString& text) {
    m_annotations.SetText(key, text);
}

void SRGraphData::Serialize(CArchive& ar) {
    if (ar.IsLoading()) {
        m_annotations.RemoveAll();
    }
    m_annotations.Serialize(ar);
    m_style.Serialize(ar);
    m_range.Serialize(ar);
    if (ar.IsStoring()) {
        ar << m_dValue << static_cast<LONG>(m_bNull);
    } else {
        LONG null = 0;
        ar >> m_dValue >> null;
        m_bNull = null;
    }
}

SRGraphDummyData& SRGGlobalDummyData() {
    static SRGraphDummyData dummy;
    return dummy;
}
