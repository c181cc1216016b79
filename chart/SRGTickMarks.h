// Short tick marks across an axis line at a list of points another component computed (an axis's tick
// points), with minor ticks between the major ones.
#pragma once

#include "chart/SRGraphComponent.h"

class SRGTickMarks : public SRGraphComponent {
    DECLARE_SERIAL(SRGTickMarks)

public:
    SRGTickMarks();

    void Serialize(CArchive& ar) override;
    void DrawFill() override {}
    void DrawShadow() override {}
    void DrawBorder() override {}
    // Only when the chart's drawing loop has marked it.
    void DrawComponent(CDC* dc, CWnd* window) override;
    void Draw() override;

    // Moves both points outward past the ticks.
    virtual void OffsetBeyondTicks(POINT& a, POINT& b);
    // (x, y) plus the vector of the length turned to the angle.
    virtual POINT GetTickEnd(int x, int y, int length, double angle);
    virtual void DrawTick(int x, int y, int length, double angle, int width, COLORREF colour);
    virtual void SetMinorTickCount(int count) { m_nMinorCount = count; }
    virtual int GetMinorTickCount() const { return m_nMinorCount; }
    virtual void SetMinorTickColor(COLORREF colour) { m_crMinor = colour; }
    virtual COLORREF GetMinorTickColor() const { return m_crMinor; }
    virtual void SetMajorTickColor(COLORREF colour) { m_crMajor = colour; }
    virtual COLORREF GetMajorTickColor() const { return m_crMajor; }
    virtual void SetMajorTickWidth(int width) { m_nMajorWidth = width; }
    virtual void SetMinorTickWidth(int width) { m_nMinorWidth = width; }
    virtual int GetMinorTickWidth() const { return m_nMinorWidth; }
    virtual int GetMajorTickWidth() const { return m_nMajorWidth; }
    // The list is not owned.
    virtual void SetTickPositions(CPtrList* positions) { m_pPositions = positions; }
    virtual CPtrList* GetTickPositions() const { return m_pPositions; }
    virtual void SetTickSide(int side) { m_nSide = side; }
    virtual int GetTickSide() const { return m_nSide; }
    virtual void SetMajorTickLength(int length) { m_nMajorLength = length; }
    virtual int GetMajorTickLength() const { return m_nMajorLength; }
    virtual void SetMinorTickRatio(double ratio) { m_dMinorRatio = ratio; }
    virtual double GetMinorTickRatio() const { return m_dMinorRatio; }

private:
    int m_nMinorWidth = 1;
    int m_nMajorWidth = 1;
    COLORREF m_crMinor = 0;
    COLORREF m_crMajor = 0;
    int m_nSide = 0;
    int m_nMajorLength = 5;
    double m_dMinorRatio = 0.75;
    CPtrList* m_pPositions = nullptr;
    int m_nMinorCount = 0;
};
