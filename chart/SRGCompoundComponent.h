// A component that owns an ordered list of child components and draws them as one: optionally with its own
// frame, a measuring pass before the drawing pass, and some children drawn after all the others. The base of
// the axis manager.
#pragma once

#include "chart/SRGraphComponent.h"

class SRGCompoundComponent : public SRGraphComponent {
    DECLARE_SERIAL(SRGCompoundComponent)

public:
    SRGCompoundComponent();
    ~SRGCompoundComponent() override;

    void Serialize(CArchive& ar) override;
    void SetParentGraph(SRGraph* chart) override;
    void DrawComponent(CDC* dc, CWnd* window) override;
    void Draw() override;
    // Compounds have no template keyword: a line without one would end the reading of every later line.
    void WriteTemplate(SRGTemplateWriter&) override {}
    // A compound answers 1: the chart's component search looks inside it.
    int ReservedZero() const override { return 1; }

    virtual void MarkChildrenChanged();
    virtual void SetDeferredChildren(BOOL deferred) { m_bDeferredChildren = deferred; }
    virtual BOOL GetDeferredChildren() const { return m_bDeferredChildren; }
    // The index-th child of the type, counted depth-first over the whole tree with the shared counter.
    virtual SRGraphComponent* FindChild(int index, int type, int& counter);
    virtual CObList& GetChildList() { return m_children; }
    virtual void AddChild(SRGraphComponent* child);
    virtual BOOL GetHookFlag() const { return m_bHook; }
    virtual BOOL GetHookAfterFlag() const { return m_bHookAfter; }
    virtual void SetHookFlag(BOOL on) { m_bHook = on; }
    virtual void SetHookAfterFlag(BOOL on) { m_bHookAfter = on; }
    virtual void SetFrameFlag(BOOL on) { m_bFrame = on; }
    virtual BOOL GetFrameFlag() const { return m_bFrame; }
    virtual BOOL GetFrameHookFlag() const { return m_bFrameHook; }
    virtual void SetTwoPass(BOOL on) { m_bTwoPass = on; }
    virtual BOOL GetTwoPass() const { return m_bTwoPass; }
    virtual void DrawDeferredChildren();
    virtual void BeforeMeasurePass() {}
    virtual void BeforeDrawPass() {}
    virtual void AfterMeasurePass() {}
    virtual void AfterDrawPass() {}
    virtual void BeforeFrame() {}
    virtual void ChildrenHook() {}

    const CRect& GetInnerRect() const { return m_rectInner; }

protected:
    void DeleteChildren();
    void ComputeInnerRect();

    CObList m_children;
    BOOL m_bDeferredChildren = FALSE;
    BOOL m_bTwoPass = FALSE;
    BOOL m_bHook = FALSE;
    BOOL m_bHookAfter = FALSE;
    BOOL m_bFrameHook = FALSE;
    BOOL m_bFrame = FALSE;
    CRect m_rectInner;
};
