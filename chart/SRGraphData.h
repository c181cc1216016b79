// One data item: a value with its value range, a null flag, its own style and its annotations; and the
// dummy item that stands where an item is missing.
#pragma once

#include "chart/CScale.h"
#include "chart/SRGraphAnnotation.h"
#include "chart/SRGraphStyle.h"

class SRGraphData : public CObject {
    DECLARE_SERIAL(SRGraphData)

public:
    SRGraphData();

    virtual SRGraphStyle& GetStyle() { return m_style; }
    virtual void SetNull(BOOL null) { m_bNull = null; }
    virtual BOOL IsNull() const { return m_bNull; }
    // Decimal logarithm of the value; -99 for a value not above 0.
    virtual double GetLogValue() const;
    // Value 0.0 and an unset range; the null flag stays.
    virtual void Clear();
    virtual CScale GetValueRange();
    virtual BOOL IsDynamic() const { return FALSE; }
    virtual const CString& GetAnnotation(int key) { return m_annotations.GetText(key); }
    virtual double GetValue(BOOL logarithm = FALSE);
    // Stores the value, widens the range with it and clears the null flag.
    virtual void SetValue(double value);
    virtual void SetAnnotation(const CString& text, BOOL clearFirst, int key);
    virtual void SetAnnotationForKey(int key, const CString& text);
    virtual SRGraphAnnotationList& GetAnnotations() { return m_annotations; }
    virtual CScale& GetValueRangeRef() { return m_range; }

    void Serialize(CArchive& ar) override;

protected:
    CScale m_range;
    double m_dValue = 0.0;
    SRGraphAnnotationList m_annotations;
    SRGraphStyle m_style;
    BOOL m_bNull = TRUE;
};

// Stands where an item is missing: null, 0.0, and deaf to writes. One lives in every chart; the program-wide
// one (SRGGlobalDummyData) answers dynamic groups for cells out of range.
class SRGraphDummyData : public SRGraphData {
public:
    CRuntimeClass* GetRuntimeClass() const override { return RUNTIME_CLASS(SRGraphData); }
    void SetNull(BOOL) override {}
    void SetValue(double) override {}
    void SetAnnotation(const CString&, BOOL, int) override {}
    void SetAnnotationForKey(int, const CString&) override {}
};

SRGraphDummyData& SRGGlobalDummyData();
