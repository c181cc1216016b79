// A value range: a maximum and a minimum widened value by value, unset until the first value arrives.
#pragma once

#include "platform/base/CObject.h"

class CArchive;

class CScale : public CObject {
    DECLARE_SERIAL(CScale)

public:
    CScale() = default;
    CScale(const CScale& other) : CObject(), m_dMax(other.m_dMax), m_dMin(other.m_dMin), m_bUnset(other.m_bUnset) {}
    CScale& operator=(const CScale& other) {
        m_dMax = other.m_dMax;
        m_dMin = other.m_dMin;
        m_bUnset = other.m_bUnset;
        return *this;
    }

    // An unset range takes the value as both ends; a set one moves the end the value passes.
    void Include(double value);
    double GetSpan() const { return m_dMax - m_dMin; }
    virtual BOOL IsUnset() const { return m_bUnset; }
    // Decades between the ends when both are above 0, else 1.0.
    virtual double GetLogSpan() const;
    // Unset, both ends 0.
    void Reset() {
        m_dMax = 0.0;
        m_dMin = 0.0;
        m_bUnset = TRUE;
    }
    void Serialize(CArchive& ar) override;

    double m_dMax = 0.0;
    double m_dMin = 0.0;
    BOOL m_bUnset = TRUE;
};
