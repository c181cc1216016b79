// The component that plots a chart's data. Its pipeline runs at every drawing: the display rectangle, the
// scope, the data ranges, their widening and rounding, then the scale, axis and data routines that the chart
// type word selects. The routines are SRGraphDisplay's; this class keeps the fixed ranges, the axis ranges a
// compound display shares, the scale objects and the tick lists.
#pragma once

#include "chart/SRGraphTitle.h"

#include "platform/base/CLists.h"

class SRGraphLabelBlock;

class SRGDisplayBase : public SRGraphTitle {
    DECLARE_DYNAMIC(SRGDisplayBase)

public:
    SRGDisplayBase();
    ~SRGDisplayBase() override;

    void Serialize(CArchive& ar) override;
    int ReadTemplateTypePart(const CString& text) override;
    void WriteTemplateKeyword(SRGTemplateWriter& writer) override;
    void WriteTemplateExtraPart(SRGTemplateWriter& writer) override;
    void Draw() override;
    // A 25th of the plot height, as a character height.
    int GetAutoFontSize() override;

    virtual void SetValueAxisRangeDerived(BOOL on) { m_bValueAxisDerived = on; }
    virtual BOOL IsValueAxisRangeDerived() const { return m_bValueAxisDerived; }
    virtual void SetXAxisRangeDerived(BOOL on) { m_bXAxisDerived = on; }
    virtual BOOL IsXAxisRangeDerived() const { return m_bXAxisDerived; }
    // The groups and items shown, then the data ranges and their rounding; once per drawing.
    virtual void ResolveScope();
    virtual void SetXScale(SRGraphLabelBlock* scale) { m_pXScale = scale; }
    virtual SRGraphLabelBlock* GetXScale() const { return m_pXScale; }
    virtual void SetYScale(SRGraphLabelBlock* scale) { m_pYScale = scale; }
    virtual SRGraphLabelBlock* GetYScale() const { return m_pYScale; }
    virtual void SetLabelBlock(SRGraphLabelBlock* block) { m_pLabelBlock = block; }
    virtual SRGraphLabelBlock* GetLabelBlock() const { return m_pLabelBlock; }
    virtual double GetValueSpan() const { return m_dValueSpan; }
    virtual double GetXSpan() const { return m_dXSpan; }
    virtual void DeleteScaleObjects();
    virtual void SetXAxisRange(CScale range) { m_xAxisRange = range; }
    virtual void SetValueAxisRange(CScale range) { m_valueAxisRange = range; }
    virtual CScale GetXAxisRange() const { return m_xAxisRange; }
    virtual CScale GetValueAxisRange() const { return m_valueAxisRange; }
    virtual int ResetXAxisRange();
    virtual int ResetValueAxisRange();
    virtual CRect GetDisplayRect() const { return m_rectDisplay; }
    virtual double GetFixedMinimum() const { return m_dFixedMin; }
    virtual double GetFixedMaximum() const { return m_dFixedMax; }
    virtual void SetFixedMinimum(double value) { m_dFixedMin = value; }
    virtual void SetFixedMaximum(double value) { m_dFixedMax = value; }
    virtual double GetFixedXMinimum() const { return m_dFixedXMin; }
    virtual double GetFixedXMaximum() const { return m_dFixedXMax; }
    virtual void SetFixedXMinimum(double value) { m_dFixedXMin = value; }
    virtual void SetFixedXMaximum(double value) { m_dFixedXMax = value; }
    // Stores the rectangle; a nonzero explicit flag keeps it exactly at the next drawings (option 0x80).
    virtual void SetDisplayRect(int left, int top, int right, int bottom, BOOL explicitRect);
    virtual void SetDrawnValueRange(CScale range) { m_drawnValueRange = range; }
    virtual CScale GetDrawnValueRange() const { return m_drawnValueRange; }
    virtual void SetDrawnXRange(CScale range) { m_drawnXRange = range; }
    virtual CScale GetDrawnXRange() const { return m_drawnXRange; }
    virtual void DrawData();
    virtual void DrawAxes();
    virtual void DrawScales();
    // Graph style 0: the placeholder picture, with option 0x2000000.
    virtual void DrawDefaultData();
    virtual CPtrList& GetXTickList() { return m_xTicks; }
    virtual CPtrList& GetValueTickList() { return m_valueTicks; }
    virtual CPtrList& GetLabelTickList() { return m_labelTicks; }
    virtual void DeleteListEntries(CPtrList& list);
    virtual double GetValueMarginFactor();
    virtual double GetXMarginFactor();
    // The value span's texts from 0 by the step ("%g"); code 18 outside the drawing loop.
    virtual void MakeValueLabels(double step, CStringList& list);
    virtual double GetValueTickStep();
    virtual void ComputeScaleRanges();
    virtual void PrepareOtherRanges() {}
    virtual void DrawOtherAxes() {}
    virtual void DrawOtherScales() {}
    virtual void DrawOtherData() {}

    // The chart routines, by the table of the chart type word.
    virtual void PrepareDataRanges() = 0;
    virtual void PrepareStandardRanges() = 0;
    virtual void DrawCategoryScales() = 0;
    virtual void DrawAxisFrame() = 0;
    virtual void DrawAxisFrame3D() = 0;
    virtual void DrawBarScales() = 0;
    virtual void DrawBarAxisFrame() = 0;
    virtual void GetFrontRect3D(CSize& backWall, int& offset) = 0;
    virtual void DrawScales3D() = 0;
    virtual void DrawAxes3D() = 0;
    virtual void DrawPieLabels() = 0;
    virtual void DrawPieData() = 0;
    virtual void DrawPie() = 0;
    virtual void DrawColumns() = 0;
    virtual void DrawBars() = 0;
    virtual void DrawLayeredColumns() = 0;
    virtual void DrawLayeredBars() = 0;
    virtual void PrepareBarRanges() = 0;
    virtual void DrawColumns3D() = 0;
    virtual void PreparePolarRanges() = 0;
    virtual void DrawPolarGrid() = 0;
    virtual void DrawPolarAxis() = 0;
    virtual void DrawPolarData() = 0;
    virtual void PrepareStackedRanges() = 0;
    virtual void DrawStackedArea() = 0;
    virtual void DrawGroupBarScales() = 0;
    virtual void DrawGroupColumnScales() = 0;
    virtual void DrawGroupStackedBars() = 0;
    virtual void DrawGroupStackedColumns() = 0;
    virtual void PrepareGroupStackRanges() = 0;
    virtual void PrepareStackRanges() = 0;
    virtual void DrawStackedBars() = 0;
    virtual void DrawStackedColumns() = 0;
    virtual void DrawFloatingBarScales() = 0;
    virtual void DrawFloatingBars() = 0;
    virtual void DrawRadar() = 0;
    virtual void DrawRadarGrid() = 0;
    virtual void DrawRadarAxis() = 0;
    virtual void PrepareBubbleRanges() = 0;
    virtual void DrawBubbles() = 0;
    virtual void PrepareVectorRanges() = 0;
    virtual void DrawVectors() = 0;
    virtual void PrepareXYRanges() = 0;
    virtual void DrawXY() = 0;
    virtual void DrawXYScales() = 0;
    virtual void DrawXYAxes() = 0;
    virtual void DrawLines() = 0;
    virtual void DrawSteps() = 0;
    virtual void DrawStock() = 0;
    virtual void DrawAreas() = 0;
    virtual void DrawCombination() = 0;
    virtual void DrawHighLow() = 0;
    virtual void DrawRibbons3D() = 0;

    // The resolved scope: first and last group and item, and their counts.
    int GetFirstGroup() const { return m_nResolvedFirstGroup; }
    int GetLastGroup() const { return m_nResolvedLastGroup; }
    int GetScopeGroupCount() const { return m_nGroupCount; }
    int GetFirstItem() const { return m_nResolvedFirstItem; }
    int GetLastItem() const { return m_nResolvedLastItem; }
    int GetScopeItemCount() const { return m_nItemCount; }
    int GetCurrentGroupIndex() const { return m_nCurrentGroupIndex; }
    void SetCurrentGroupIndex(int index) {
        m_nCurrentGroupIndex = index;
        m_nPaletteCode = index;
    }

protected:
    // The data watchers before this display in the chart's list draw their limit lines.
    void DrawDataWatchers();
    bool ValueAxisIsDate();
    bool XAxisIsDate();

    CScale m_valueAxisRange;
    CScale m_xAxisRange;
    double m_dFixedMin = 0.0;
    double m_dFixedMax = 0.0;
    double m_dValueSpan = 0.0;
    double m_dFixedXMin = 0.0;
    double m_dFixedXMax = 0.0;
    double m_dXSpan = 0.0;
    SRGraphLabelBlock* m_pXScale = nullptr;
    SRGraphLabelBlock* m_pYScale = nullptr;
    SRGraphLabelBlock* m_pLabelBlock = nullptr;
    CPtrList m_valueTicks;
    CPtrList m_xTicks;
    CPtrList m_labelTicks;
    CRect m_rectDisplay;
    BOOL m_bScopeReady = FALSE;
    BOOL m_bValueAxisDerived = FALSE;
    BOOL m_bXAxisDerived = FALSE;
    CScale m_drawnValueRange;
    CScale m_drawnXRange;
    // Set once graph style 7 or 24 has been prepared: items' own ranges widen the value range.
    BOOL m_bItemRanges = FALSE;
    int m_nCurrentGroupIndex = 0;
};
