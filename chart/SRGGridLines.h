// Grid lines across a plot rectangle through a list of points another component computed, with minor lines
// between the major ones; the form (plain, with depth, stepped) follows the axis style. The base of the data
// watcher.
#pragma once

#include "chart/SRGraphComponent.h"

class SRGGridLines : public SRGraphComponent {
    DECLARE_SERIAL(SRGGridLines)

public:
    SRGGridLines();

    void Serialize(CArchive& ar) override;
    void DrawFill() override {}
    void DrawShadow() override {}
    void DrawBorder() override {}
    void Draw() override;
    // The minor line count came with version 2.
    CScale& GetVersionRecord(CScale& out) override;

    virtual void SetMajorStyleCount(int count) { m_nMajorStyleCount = count; }
    virtual void SetMinorStyleCount(int count) { m_nMinorStyleCount = count; }
    virtual int GetMajorStyleCount() const { return m_nMajorStyleCount; }
    virtual int GetMinorStyleCount() const { return m_nMinorStyleCount; }
    virtual void SetMinorLineCount(int count) { m_nMinorLines = count; }
    virtual int GetMinorLineCount() const { return m_nMinorLines; }
    // Logical pens and dash arrays are the caller's: they must outlive the drawing.
    virtual void SetMinorLogPen(const LOGPEN* pen) { m_pMinorLogPen = pen; }
    virtual void SetMajorLogPen(const LOGPEN* pen) { m_pMajorLogPen = pen; }
    virtual void SetMajorStyleArray(const DWORD* dashes) { m_pMajorStyles = dashes; }
    virtual void SetMinorStyleArray(const DWORD* dashes) { m_pMinorStyles = dashes; }
    virtual const LOGPEN* GetMinorLogPen() const { return m_pMinorLogPen; }
    virtual const LOGPEN* GetMajorLogPen() const { return m_pMajorLogPen; }
    virtual const DWORD* GetMajorStyleArray() const { return m_pMajorStyles; }
    virtual const DWORD* GetMinorStyleArray() const { return m_pMinorStyles; }
    virtual void SetPlotRect(CRect rect) { m_rectPlot = rect; }
    virtual CRect GetPlotRect() const { return m_rectPlot; }
    virtual void SetVertical(BOOL vertical) { m_bVertical = vertical; }
    virtual BOOL IsVertical() const { return m_bVertical; }
    // The list is not owned.
    virtual void SetLinePositions(CPtrList* positions) { m_pPositions = positions; }
    virtual void SetMajorColor(COLORREF colour) { m_crMajor = colour; }
    virtual void SetMinorColor(COLORREF colour) { m_crMinor = colour; }
    virtual void SetMajorWidth(int width) { m_nMajorWidth = width; }
    virtual void SetMinorWidth(int width) { m_nMinorWidth = width; }
    virtual void SetMajorPenStyle(int style) { m_nMajorPenStyle = style; }
    virtual void SetMinorPenStyle(int style) { m_nMinorPenStyle = style; }
    virtual COLORREF GetMajorColor() const { return m_crMajor; }
    virtual COLORREF GetMinorColor() const { return m_crMinor; }
    virtual int GetMajorWidth() const { return m_nMajorWidth; }
    virtual int GetMinorWidth() const { return m_nMinorWidth; }
    virtual int GetMajorPenStyle() const { return m_nMajorPenStyle; }
    virtual int GetMinorPenStyle() const { return m_nMinorPenStyle; }
    virtual void DrawOtherHorizontalLine(int, int) {}
    virtual void DrawOtherVerticalLine(int, int) {}
    virtual void DrawHorizontalLine(int x, int y, CPen* pen);
    virtual void DrawVerticalLine(int x, int y, CPen* pen);
    // A display switches a data watcher's limit lines on around its call of Draw; plain grid lines always
    // draw and ignore it.
    virtual void SetDrawLines(int) {}

    CPtrList* GetLinePositions() const { return m_pPositions; }

private:
    // The axis style that draws the lines, resolving the automatic style 1 once from the graph style;
    // -1 when there is none to draw.
    int LineForm();
    // The pen of the fields, the logical pen or the dash array; `own` receives a pen made for the drawing.
    CPen* MakePen(const LOGPEN* logPen, int style, int width, COLORREF colour, int styleCount,
                  const DWORD* styles, CPen& own);

    int m_nMinorLines = 0;
    int m_nMajorPenStyle = PS_SOLID;
    int m_nMinorPenStyle = PS_SOLID;
    int m_nMajorWidth = 1;
    int m_nMinorWidth = 1;
    CPtrList* m_pPositions = nullptr;
    COLORREF m_crMajor = 0x808000;
    COLORREF m_crMinor = 0x808000;
    BOOL m_bVertical = FALSE;
    CRect m_rectPlot;
    const LOGPEN* m_pMinorLogPen = nullptr;
    const LOGPEN* m_pMajorLogPen = nullptr;
    const DWORD* m_pMajorStyles = nullptr;
    const DWORD* m_pMinorStyles = nullptr;
    int m_nMajorStyleCount = 0;
    int m_nMinorStyleCount = 0;
};
