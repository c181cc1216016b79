// The base of every part a chart draws: its placement, style and scope, the drawing sequence fill, shadow,
// border, content, and the toolkit with which the display routines draw data (palette pens and brushes, area
// fills, polygon fills and outlines, lines, bars, symbols, markers, line ends and value tags).
#pragma once

#include "chart/CScale.h"
#include "chart/SRGraphRect.h"
#include "chart/SRGraphStyle.h"

#include "platform/base/CLists.h"
#include "platform/framework/CGdiObject.h"

class CDC;
class CWnd;
class SRGraph;
class SRGraphData;
class SRGraphLabel;
class SRGCompiledPolygon;
class SRGTemplateWriter;

class SRGraphComponent : public CObject {
    DECLARE_SERIAL(SRGraphComponent)

public:
    SRGraphComponent();
    ~SRGraphComponent() override;
    SRGraphComponent(const SRGraphComponent&) = delete;
    SRGraphComponent& operator=(const SRGraphComponent&) = delete;

    void Serialize(CArchive& ar) override;

    virtual void DrawCustomBorder() {}
    virtual void DrawCustomShadow() {}
    virtual void DrawCustomFill(HRGN region, SRGraphStyle* style, double value, int kind);
    // A line between two data points with its symbols (0 at the start, 1 at the end, 2 at both), line ends
    // or tag.
    virtual void DrawDataObject(int x0, int y0, int x1, int y1, SRGraphStyle* style, int symbolEnds,
                                SRGraphData* item);
    virtual BOOL SelectBrush(int code, int colourCount);
    virtual BOOL SelectPen(int code, int width);
    virtual void UpdateText() {}
    virtual double GetDepthY();
    virtual double GetDepthX();
    virtual double GetDepth();
    virtual void SetParentGraph(SRGraph* chart);
    virtual void SetPictureName(const CString& name) { m_style.SetPictureName(name); }
    virtual void SetShadeAngle(int degrees) { m_style.m_dShadeAngle = degrees; }
    virtual void SetFillColours(COLORREF second, COLORREF third);
    virtual void SetRectFrom(const SRGraphRect& rect) { m_rect = rect; }
    virtual void SetRect(double left, double top, double right, double bottom);
    virtual void SetRectValues(const RECT& rect) { m_rect.SetValuesFromRect(rect); }
    virtual SRGraphRect& GetRect() { return m_rect; }
    virtual void SetUnitMode(int mode);
    virtual void DrawComponent(CDC* dc, CWnd* window);
    virtual void FillPolygon(const POINT* points, int count, SRGraphStyle* style, int kind);
    virtual void DrawOutline(const POINT* points, int count, SRGraphStyle* style, int kind);
    virtual void FrameRegion(HRGN region, SRGraphStyle* style, double ignored, int kind);
    virtual void FillRegion(HRGN region, SRGraphStyle* style, double value, int kind);
    virtual void Invalidate(CWnd* window);
    virtual int ReadTemplateTypePart(const CString&) { return 0; }
    // The rectangle, unit, frame and fill; codes 8 and 9 for what does not read.
    virtual int ReadTemplateCommonPart(const CString& text);
    virtual void WriteTemplate(SRGTemplateWriter& writer);
    virtual void WriteTemplateKeyword(SRGTemplateWriter&) {}
    virtual void WriteTemplateTypePart(SRGTemplateWriter&) {}
    virtual void WriteTemplateCommonPart(SRGTemplateWriter& writer);
    virtual void WriteTemplateExtraPart(SRGTemplateWriter&) {}
    virtual void DrawDataLine(int x0, int y0, int x1, int y1, SRGraphStyle* style, int paletteCode, int lineKind,
                              SRGraphData* item);
    virtual void DrawDataBar(int left, int top, int right, int bottom, int group, int item, SRGraphStyle* style,
                             int kind, SRGraphData* data);
    virtual void OffsetPoints(POINT* points, int count, int dx, int dy);
    virtual void SetAnnotationKey(int key);
    virtual int GetAnnotationKey() const;
    virtual SIZE GetPointsExtent(const POINT* points, int count) const;
    virtual void EndDraw() { m_bDrawing = FALSE; }
    virtual void BeginDraw(CDC* dc, CWnd* window);
    virtual BOOL IsDrawing() const { return m_bDrawing; }
    virtual void DrawDataSymbol(int x, int y, SRGraphStyle* style, SRGraphData* item);
    // Bitmap resource 21609 as the picture.
    virtual CBitmap* GetBitmap();
    virtual int GetCustomBorderWidth() const { return 6; }
    // The rectangle inset by the depth values and the border's width.
    virtual CRect LabelSpace(const CRect& rect);
    virtual BOOL SupplyPicture(CBitmap*) { return FALSE; }
    virtual void DrawLineEnd(int x, int y, SRGraphStyle* style, int end, double angle);
    virtual double PrinterScaleY(CDC* dc);
    virtual double PrinterScaleX(CDC* dc);
    virtual void DrawValueTag(int x, int y, SRGraphData* item);
    virtual SRGCompiledPolygon* LoadPolygon(const CString& name, LPCTSTR resourceType);
    virtual int ReservedZero() const { return 0; }
    virtual BOOL IsInScope(int item, int group) const;
    virtual void DrawMarker(int x, int y, SRGraphStyle* style, SRGraphData* item);
    virtual void DrawDataEndHook(int, int, SRGraphStyle*, SRGraphData*) {}
    virtual CPen* GetDefaultPen();
    // First item, last item, first group, last group.
    virtual void GetScope(int& firstItem, int& lastItem, int& firstGroup, int& lastGroup) const;
    virtual void SetScope(int firstItem, int lastItem, int firstGroup, int lastGroup);
    virtual void UpdatePlacement();
    // When loading: the version the stored value range carries, else -1.
    virtual int GetArchiveVersion(CArchive& ar);
    virtual CScale& GetVersionRecord(CScale& out);
    virtual POINT RotatePoint(int x, int y, double angle, BOOL radians);
    virtual void HighlightInvertLine(SRGraphStyle& style);
    virtual void HighlightSymbol(SRGraphStyle& style);
    virtual void HighlightLine(int group, int item, SRGraphStyle& style);
    virtual void DrawFill();
    virtual void DrawBorder();
    virtual void Draw() {}
    virtual void DrawShadow();

    // The general fill of an area, clipped to the region when one is given.
    void FillArea(HRGN region, SRGraphStyle* style, double value, int kind, const RECT& area);
    CPen* GetPen(int style, int width, COLORREF colour);
    CRect GetPointsBounds(const POINT* points, int count) const;

    SRGraph* GetParentGraph() const { return m_pChart; }
    // A label in a block answers the block's style, context and window.
    virtual SRGraphStyle& GetStyle() { return m_style; }
    virtual CDC* GetDC() const { return m_pDC; }
    virtual CWnd* GetWindow() const { return m_pWindow; }
    int GetComponentType() const { return m_nType; }
    BOOL IsChanged() const { return m_bChanged; }
    void SetChanged(BOOL changed) { m_bChanged = changed; }
    int GetDrawnMark() const { return m_nDrawnMark; }
    void SetDrawnMark(int mark) { m_nDrawnMark = mark; }
    int GetCompoundChildMark() const { return m_nCompoundChild; }
    void SetCompoundChildMark(int mark) { m_nCompoundChild = static_cast<BYTE>(mark); }
    int GetPaletteCode() const { return m_nPaletteCode; }
    void SetPaletteCode(int code) { m_nPaletteCode = code; }
    CScale& GetValueRange() { return m_valueRange; }
    CScale& GetXRange() { return m_xRange; }
    void SetValueRange(const CScale& range) { m_valueRange = range; }
    void SetXRange(const CScale& range) { m_xRange = range; }
    void SetDepths(double first, double second, double third) {
        m_dDepth = first;
        m_dDepthY = second;
        m_dDepthX = third;
    }
    // The placement rectangle in device pixels for the current drawing.
    CRect GetPixelRect() const { return m_rect.GetPixelRect(m_pDC, m_pWindow); }
    BOOL IsPrinting() const;
    // The position of the component just before this one in the chart's list; null when there is none.
    POSITION PreviousComponentPosition() const;

    // Helpers shared with the display routines.
    static double PointDistance(double x0, double y0, double x1, double y1);
    static double SegmentAngle(double x0, double y0, double x1, double y1);
    static int CompareAscending(const void* a, const void* b);
    static int CompareDescending(const void* a, const void* b);
    static int CompareBySecondField(const void* a, const void* b);

protected:
    // Paints the polygon again with a shading pattern (a bitmap resource) in a mix mode, without an outline.
    void ShadePolygon(const POINT* points, int count, int pattern, int rop);
    // Pushes the chart's clip state and removes clipping; PopClipState undoes it.
    void PushClipState();
    void PopClipState();
    void DrawShadeFill(const SRGraphStyle& style, int kind, const RECT& area);
    void DrawAngledShade(const SRGraphStyle& style, const RECT& area);
    void DrawBitmapFill(CBitmap* bitmap, const SRGraphStyle& style, const RECT& area);
    CBitmap* LoadResourceBitmap(const CString& name);
    // The picture file of the style, read once; the placeholder bitmap when nothing reads it.
    CBitmap* LoadPicture(SRGraphStyle& style);
    // Resolution of the drawing context (or the screen's), and the screen's, per direction.
    int ContextPixelsPerInch(bool horizontal) const;
    int ScreenPixelsPerInch(bool horizontal);
    // A data style's kinds: the fill kind to use for k = 0.
    static int StyleFillKind(const SRGraphStyle& style);

    int m_nBrushCode = -1;
    int m_nPenCode = -1;
    int m_nPenWidth = 0;
    int m_nDrawnMark = 0;
    int m_nReserved = 0;
    BOOL m_bChanged = TRUE;
    CObList m_shapes;
    int m_nAnnotationKey = 1;
    int m_nReservedWord = 0;
    int m_nLastItem = -1;
    int m_nFirstItem = -1;
    int m_nLastGroup = -1;
    int m_nFirstGroup = -1;
    // The scope resolved against the chart (displays fill it).
    int m_nItemCount = 0;
    int m_nResolvedLastItem = 0;
    int m_nResolvedFirstItem = 0;
    int m_nGroupCount = 0;
    int m_nResolvedFirstGroup = 0;
    int m_nResolvedLastGroup = 0;
    CScale m_valueRange;
    CScale m_xRange;
    double m_dDepth = 5.0;
    double m_dDepthY = 5.0;
    double m_dDepthX = 5.0;
    CPen m_pen;
    CBrush m_paletteBrush;
    SRGraphRect m_rect;
    int m_nPaletteCode = 0;
    SRGraphStyle m_style;
    BOOL m_bDrawing = FALSE;
    CWnd* m_pWindow = nullptr;
    CDC* m_pDC = nullptr;
    SRGraph* m_pChart = nullptr;
    int m_nType;
    CBitmap* m_pPicture = nullptr;
    BOOL m_bPictureLoaded = FALSE;
    BYTE m_nCompoundChild = 0;
    CString m_strResourceBitmap;
    CBitmap* m_pResourceBitmap = nullptr;
    int m_nScreenPixelsX = 0;
    int m_nScreenPixelsY = 0;
    CPen* m_pPalettePen = nullptr;
    SRGraphLabel* m_pTagLabel = nullptr;
};

// Palette tables: colours by code & 15, pen styles by (code >> 3) & 7, hatch styles by (code >> 4) & 7.
COLORREF SRGPaletteColour(int code);
int SRGPalettePenStyle(int code);
int SRGPaletteHatch(int code);
