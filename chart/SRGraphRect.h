// A component's placement: four doubles in pixels, millimetres, inches or percent of the chart's drawn area.
// A coordinate of exactly -1.0 stands for the drawn area's edge.
#pragma once

#include "platform/base/CObject.h"
#include "platform/base/CRect.h"

class CDC;
class CWnd;
class SRGraph;

enum SRGUnitMode { SRG_PIXELS = 0, SRG_MILLIMETRES = 1, SRG_INCHES = 2, SRG_PERCENT = 3 };

// Millimetres per inch, the two factors the conversions use.
constexpr double kSRGInchesPerMillimetre = 0.03937007933143675;
constexpr double kSRGInchesPerMillimetreExact = 0.03937007874015748;

class SRGraphRect : public CObject {
    DECLARE_SERIAL(SRGraphRect)

public:
    SRGraphRect() = default;
    SRGraphRect(const SRGraphRect& other) : CObject() { *this = other; }
    SRGraphRect& operator=(const SRGraphRect& other);

    virtual void SetChart(SRGraph* chart) { m_pChart = chart; }
    virtual int GetUnitMode() const { return m_nUnitMode; }
    virtual void SetUnitModeOnly(int mode) { m_nUnitMode = mode; }
    virtual void SetValues(double left, double top, double right, double bottom);
    virtual void SetValuesFromRect(const RECT& rect);
    // The rectangle in device pixels against the chart's drawn area.
    virtual CRect GetPixelRect(CDC* dc, CWnd* window) const;
    // Sets the values from a pixel rectangle, against the window's client area, else the chart's fixed
    // rectangle, else its drawing size.
    virtual void SetFromPixelRect(const RECT& rect, CDC* dc, CWnd* window);
    void Serialize(CArchive& ar) override;

    double m_dLeft = -1.0;
    double m_dTop = -1.0;
    double m_dRight = -1.0;
    double m_dBottom = -1.0;

private:
    SRGraph* m_pChart = nullptr;
    int m_nUnitMode = SRG_PIXELS;
};
