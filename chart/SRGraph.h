// The chart: an ordered list of owned components drawn in list order, a two-level data store (groups of
// items), the chart's annotations and styles, the hit-test records of the last drawing, and the drawing
// resources its components share (pens, shapes, palette, off-screen bitmap, clip stack).
#pragma once

#include "chart/CObStack.h"
#include "chart/SRGraphAnnotation.h"
#include "chart/SRGraphData.h"
#include "chart/SRGraphStyle.h"

#include "platform/base/CMaps.h"
#include "platform/base/CRect.h"
#include "platform/framework/CGdiObject.h"

class CDC;
class CWnd;
class SRGraphComponent;
class SRGraphDataList;
class SRGraphFeedback;
class SRGCompiledPolygon;
class SRGTemplateWriter;

// The tags of value-tag components, deleted at the start of every drawing (unless the tag mode is 1).
#define SRG_TEMPORARY_TAG u"_OC_TEMPORARY_TAG_OBJECT_"
#define SRG_TAG_BLOCK u"_OC_TAG_BLOCK_"
// Names beginning so name stock shapes ("_OC_STOCK_SHAPE_CIRCLE").
#define SRG_STOCK_SHAPE u"_OC_STOCK_SHAPE_"

class SRGraph : public CObject {
    DECLARE_SERIAL(SRGraph)

public:
    SRGraph();
    ~SRGraph() override;
    SRGraph(const SRGraph&) = delete;
    SRGraph& operator=(const SRGraph&) = delete;

    void Serialize(CArchive& ar) override;

    virtual BOOL IsFeedbackEnabled() const { return m_bFeedbackLogging; }
    // "Syntax error in..>" and the line, in a message box.
    virtual void ReportTemplateError(const CString& line);
    // The chart owns the component from now on.
    virtual POSITION AddComponent(SRGraphComponent* component);
    // The factory by component type id; none for a type it cannot make.
    virtual SRGraphComponent* CreateComponent(int type, int unitMode, const RECT& rect, DWORD border,
                                              DWORD shadow, DWORD fill, DWORD graphStyle, DWORD axisStyle);
    // A polygon from the resource of that name and type, else the file of that name; code 19 when neither
    // reads.
    virtual SRGCompiledPolygon* LoadPolygon(const CString& name, LPCTSTR resourceType);
    virtual void SetDefaultStyle(SRGraphStyle style) { m_defaultStyle = style; }
    virtual SRGraphStyle& GetDefaultStyle() { return m_defaultStyle; }
    virtual void SetColourCount(int count) { m_nColourCount = count; }
    virtual int GetColourCount() const { return m_nColourCount; }
    virtual void DeleteTaggedComponents(const CString& tag);
    virtual SRGraphComponent* FindTaggedComponent(const CString& tag);
    // A named shape from the cache, a stock shape or a polygon resource, rotated by the angle.
    virtual BOOL GetShape(const CString& name, LPCTSTR resourceType, SRGCompiledPolygon*& shape, double angle);
    virtual void CreateDefaultPalette(CPalette* palette);
    virtual void SerializeComponents(CArchive& ar);
    virtual void AddFeedbackPoint(int x, int y, int group, int item) { AddFeedbackPointEx(x, y, group, item, 5); }
    virtual void AddFeedbackPointEx(int x, int y, int group, int item, int tolerance);
    virtual void DeleteGroups();
    virtual void ClipToPolygon(const POINT* points, int count, int mode);
    virtual void ClipToRect(int left, int top, int right, int bottom, int mode);
    virtual void PopClip();
    virtual void PushClip();
    // Removes the clip region of the drawing context.
    void RemoveClip();
    virtual void PrintBanded(CDC* dc, CWnd* window);
    virtual POSITION GetCurrentComponentPosition() const { return m_posCurrentComponent; }
    virtual SRGraphDataList* NewGroup();
    // The dummy item when the group or the item is missing.
    virtual SRGraphData* FindItem(int item, int group);
    virtual SRGraphData* GetItem(int item, int group);
    virtual SIZE& GetDrawingSize(SIZE& size);
    virtual void ShiftInValue(int group, double value, BOOL atHead);
    virtual void AddFeedbackRect(const RECT& rect, int group, int item);
    virtual void InvalidateAll();
    virtual void ApplyStyleRange(int firstGroup, int lastGroup, int firstItem, int lastItem,
                                 const SRGraphStyle& style, BOOL includeGroups);
    virtual void SetComponentMinIndex(int n, int value, int type);
    virtual void SetComponentMaxIndex(int n, int value, int type);
    virtual void SetComponentMinGroup(int n, int value, int type);
    virtual void SetComponentMaxGroup(int n, int value, int type);
    virtual double AverageOfIndexRange(int firstItem, int lastItem, int group);
    virtual double AverageOfGroup(int group);
    virtual double SumOfIndex(int item, int firstGroup, int lastGroup);
    virtual int ReservedZero() const { return 0; }
    virtual void DeleteComponents();
    virtual void SetGraphAnnotation(const CString& text, int key) { m_annotations.SetText(key, text); }
    virtual void InvalidateComponents(CWnd* window, int mode, int extra);
    virtual void ImportText(const CString& text);
    virtual void ClearAll();
    virtual double SumOfGroup(int group);
    virtual double SumOfRange(int firstGroup, int firstItem, int lastGroup, int lastItem);
    virtual int GetGroupItemCount(int group, BOOL create);
    // Reads a template from the resource "SRGRAPH_TEMPLATE" of that name, else the file of that name.
    virtual void LoadTemplate(const CString& name);
    // Reads a template from memory.
    void LoadTemplateText(const BYTE* data, size_t size);
    // Writes every component's template line, in list order: what LoadTemplateText reads back.
    void WriteTemplate(SRGTemplateWriter& writer);
    virtual int OnUnknownTemplateCommand(const CString& line);
    virtual const CString& GetGroupAnnotation(int group, int key);
    virtual const CString& GetItemAnnotation(int group, int item, int key);
    virtual const CString& GetGraphAnnotation(int key) { return m_annotations.GetText(key); }
    virtual int GetGroupCount() const { return static_cast<int>(m_groups.GetCount()); }
    virtual int GetMaxItemCount();
    virtual CScale& GetDataRange(CScale& out, BOOL useItemRanges);
    // Code 2 for a negative index, a missing group without create, or a group hidden during a draw.
    virtual SRGraphDataList* GetGroup(int group, BOOL create);
    virtual void DrawGraph(CDC* dc, CWnd* window);
    // The last record containing the point (records logged later were drawn on top), or null.
    virtual SRGraphFeedback* HitTestFeedback(int x, int y);
    virtual void AddFeedbackPolygon(const POINT* points, int count, int group, int item);
    virtual double SumOfAll();
    virtual BOOL IsOffscreen() const { return m_bOffscreen; }
    virtual BOOL IsFeedbackLogging() const { return m_bFeedbackLogging; }
    virtual void SetFeedbackLogging(BOOL on) { m_bFeedbackLogging = on; }
    virtual void SetOffscreen(BOOL on) { m_bOffscreen = on; }
    virtual SRGraphAnnotationList& GetGraphAnnotations() { return m_annotations; }
    virtual CObList& GetFeedbackList() { return m_feedback; }
    virtual CObList& GetComponentList() { return m_components; }
    virtual SRGraphStyle& GetStyle() { return m_style; }
    virtual double GetItemValue(int item, int group);
    // The n-th component of a type (-1: any), searching compounds too for a given type.
    virtual SRGraphComponent* FindComponent(int n, int type);
    virtual SRGraphComponent* GetNextComponentOfType(POSITION& position, int type);
    virtual POSITION FindComponentPosition(int type);
    virtual CObList& GetGroupList() { return m_groups; }
    virtual POSITION GetFirstGroupPosition() const { return m_groups.GetHeadPosition(); }
    virtual SRGraphDataList* GetNextGroup(POSITION& position);
    virtual void SetAnnotationKey(int key);
    virtual int GetAnnotationKey() const { return m_nAnnotationKey; }
    virtual void SetBandedPrinting(BOOL on) { m_bBandedPrinting = on; }
    virtual BOOL IsBandedPrinting() const { return m_bBandedPrinting; }
    virtual void SetPaletteDevice(BOOL on) { m_bPaletteDevice = on; }
    virtual BOOL IsPaletteDevice() const { return m_bPaletteDevice; }
    virtual void SetRepaintFromCache(BOOL on) { m_bRepaintFromCache = on; }
    virtual BOOL IsRepaintFromCache() const { return m_bRepaintFromCache; }
    virtual CPalette& GetPalette() { return m_palette; }
    // Moves the rectangle, keeping its size, onto the fixed rectangle's top-left corner; 0 and nothing
    // changed unless the fixed-rectangle flag is set.
    virtual BOOL PlaceFixedRect(RECT& rect, int left, int top, int right, int bottom);

    void SetItemValue(int item, int group, double value, BOOL applyDefaultStyle);
    void SetItemAnnotation(int item, int group, const CString& text);
    void SetGroupAnnotation(int group, const CString& text, BOOL clearFirst);
    // The shared pen of the style, width and colour.
    CPen* GetPen(int style, int width, COLORREF colour);

    // State the components read while the chart draws.
    BOOL IsInDraw() const { return m_bInDraw; }
    CDC* GetDrawingDC() const { return m_pDrawingDC; }
    CWnd* GetDrawingWindow() const { return m_pDrawingWindow; }
    const CRect& GetDrawnRect() const { return m_rectDrawn; }
    BOOL IsFixedRectSet() const { return m_bFixedRect; }
    const CRect& GetFixedRect() const { return m_rectFixed; }
    BOOL IsPartialRedraw() const { return m_bPartialRedraw; }
    int GetRedrawMode() const { return m_nRedrawMode; }
    int GetRedrawExtra() const { return m_nRedrawExtra; }
    BOOL IsEmpty() const { return m_bEmpty; }
    int GetCurrentGroup() const { return m_nCurrentGroup; }
    void SetCurrentGroup(int group) { m_nCurrentGroup = group; }
    SRGraphData& GetDummyItem() { return m_dummy; }

    // The program-wide flag that a chart is drawing: while it is set no chart draws.
    static BOOL IsAnyChartDrawing();

protected:
    // The drawing loop over the components (step 9 of a draw).
    void DrawComponents(CDC* dc, CWnd* window);
    // The off-screen bitmap for the drawing area, (re)made when the area's size changed.
    void PrepareOffscreen(CDC* dc, const CRect& area);
    // The drawing area of a draw on this context.
    CRect DrawingArea(CDC* dc, CWnd* window);
    // Reading one template line; false ends the reading.
    bool ApplyTemplateLine(const CString& line, class SRGraphLabelBlock*& openBlock,
                           SRGraphComponent*& current);
    // The next cell of ImportText's table.
    int NextImportCell(const CString& text, int& at, CString& cell, double& value);

    CString m_strScratch;
    BOOL m_bAllInvalidated = TRUE;
    int m_nAnnotationKey = 1;
    int m_nRedrawExtra = 0;
    int m_nRedrawMode = 0;
    BOOL m_bPartialRedraw = FALSE;
    BOOL m_bOffscreen = TRUE;
    int m_nCurrentGroup = 0;
    SRGraphStyle m_style;
    CObList m_components;
    BOOL m_bEmpty = TRUE;
    SRGraphAnnotationList m_annotations;
    CObList m_groups;
    BOOL m_bFeedbackLogging = TRUE;
    CObList m_feedback;
    CRect m_rectDrawn;
    BOOL m_bRepaintFromCache = FALSE;
    CMapStringToOb m_pens;
    CObList m_shapes;
    SRGraphStyle m_defaultStyle;
    int m_nColourCount = 16;
    BOOL m_bPaletteDevice = FALSE;
    CPalette m_palette;
    CObStack m_clipStack;
    CRect m_rectPage;
    BOOL m_bBandedPrinting = FALSE;
    SRGraphDummyData m_dummy;
    POSITION m_posCurrentComponent = nullptr;
    POSITION m_posGroupCursor = nullptr;
    int m_nGroupCursor = -1;
    BOOL m_bInDraw = FALSE;
    CWnd* m_pDrawingWindow = nullptr;
    CDC* m_pDrawingDC = nullptr;
    CRect m_rectLastOffscreen;
    CBitmap m_offscreenBitmap;
    CRect m_rectFixed;
    int m_nAlignment = 0;
    BOOL m_bFixedRect = FALSE;
};
