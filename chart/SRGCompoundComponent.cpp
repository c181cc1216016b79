#include "chart/SRGCompoundComponent.h"

#include "chart/ChartResourceIds.h"
#include "chart/SRGraph.h"
#include "chart/SRGraphAnnotation.h"

#include "platform/base/CArchive.h"

IMPLEMENT_SERIAL(SRGCompoundComponent, SRGraphComponent, VERSIONABLE_SCHEMA | 1)

SRGCompoundComponent::SRGCompoundComponent() {
    m_nType = IDS_SRG_TYPE_COMPOUND;
}

SRGCompoundComponent::~SRGCompoundComponent() {
    DeleteChildren();
}

void SRGCompoundComponent::DeleteChildren() {
    for (POSITION pos = m_children.GetHeadPosition(); pos;) {
        delete m_children.GetNext(pos);
    }
    m_children.RemoveAll();
}

void SRGCompoundComponent::SetParentGraph(SRGraph* chart) {
    SRGraphComponent::SetParentGraph(chart);
    for (POSITION pos = m_children.GetHeadPosition(); pos;) {
        static_cast<SRGraphComponent*>(m_children.GetNext(pos))->SetParentGraph(chart);
    }
}

void SRGCompoundComponent::MarkChildrenChanged() {
    for (POSITION pos = m_children.GetHeadPosition(); pos;) {
        static_cast<SRGraphComponent*>(m_children.GetNext(pos))->SetChanged(TRUE);
    }
}

void SRGCompoundComponent::AddChild(SRGraphComponent* child) {
    child->SetParentGraph(m_pChart);
    child->SetCompoundChildMark(1);
    m_children.AddTail(child);
}

SRGraphComponent* SRGCompoundComponent::FindChild(int index, int type, int& counter) {
    for (POSITION pos = m_children.GetHeadPosition(); pos && counter <= index;) {
        auto* child = static_cast<SRGraphComponent*>(m_children.GetNext(pos));
        if (child->GetComponentType() == type) {
            if (counter == index) {
                return child;
            }
            ++counter;
        }
        if (child->ReservedZero() == 1) {
            if (SRGraphComponent* found = static_cast<SRGCompoundComponent*>(child)->FindChild(index, type, counter)) {
                return found;
            }
        }
    }
    return nullptr;
}

void SRGCompoundComponent::ComputeInnerRect() {
    if (!m_style.HasOption(SRGO_EXPLICIT_RECT)) {
        m_rectInner = LabelSpace(GetPixelRect());
    }
}

void SRGCompoundComponent::DrawComponent(CDC* dc, CWnd* window) {
    m_bDrawing = TRUE;
    m_pDC = dc;
    m_pWindow = window;
    PushClipState();
    struct Restore {
        SRGCompoundComponent& c;
        ~Restore() {
            c.m_bDrawing = FALSE;
            c.PopClipState();
        }
    } restore{*this};
    if (m_nDrawnMark && m_bFrame) {
        if (m_bFrameHook) {
            BeforeFrame();
        }
        DrawFill();
        DrawShadow();
        DrawBorder();
    }
    ComputeInnerRect();
    if (m_bTwoPass) {
        m_nDrawnMark = 0;
    }
    if (m_nDrawnMark == 0) {
        BeforeMeasurePass();
        Draw();
        AfterMeasurePass();
    }
    if (m_bTwoPass) {
        m_nDrawnMark = 1;
    }
    if (m_nDrawnMark == 1) {
        BeforeDrawPass();
        Draw();
        AfterDrawPass();
    }
    if (m_bDeferredChildren) {
        DrawDeferredChildren();
    }
    m_bChanged = FALSE;
}

void SRGCompoundComponent::Draw() {
    ComputeInnerRect();
    if (m_bHook && !m_bHookAfter && m_nDrawnMark) {
        ChildrenHook();
    }
    for (POSITION pos = m_children.GetHeadPosition(); pos;) {
        auto* child = static_cast<SRGraphComponent*>(m_children.GetNext(pos));
        child->SetDrawnMark(m_nDrawnMark);
        if (m_nDrawnMark && child->GetStyle().HasOption(SRGO_DEFERRED_CHILD) && m_bDeferredChildren) {
            continue;
        }
        child->DrawComponent(m_pDC, m_pWindow);
    }
    if (m_bHook && m_bHookAfter && m_nDrawnMark) {
        ChildrenHook();
    }
}

void SRGCompoundComponent::DrawDeferredChildren() {
    for (POSITION pos = m_children.GetHeadPosition(); pos;) {
        auto* child = static_cast<SRGraphComponent*>(m_children.GetNext(pos));
        child->SetDrawnMark(m_nDrawnMark);
        if (!m_nDrawnMark) {
            continue;
        }
        if (child->IsKindOf(RUNTIME_CLASS(SRGCompoundComponent))) {
            static_cast<SRGCompoundComponent*>(child)->DrawDeferredChildren();
        }
        SRGraphStyle& style = child->GetStyle();
        if (style.HasOption(SRGO_DEFERRED_CHILD)) {
            style.SetOption(SRGO_DEFERRED_CHILD, FALSE);
            try {
                child->DrawComponent(m_pDC, m_pWindow);
            } catch (...) {
                style.SetOption(SRGO_DEFERRED_CHILD, TRUE);
                throw;
            }
            style.SetOption(SRGO_DEFERRED_CHILD, TRUE);
        }
    }
}

void SRGCompoundComponent::Serialize(CArchive& ar) {
    SRGraphComponent::Serialize(ar);
    if (ar.IsStoring()) {
        SRGWriteList(ar, m_children);
        ar << static_cast<LONG>(m_bDeferredChildren) << static_cast<LONG>(m_bTwoPass) << static_cast<LONG>(m_bHook)
           << static_cast<LONG>(m_bHookAfter) << static_cast<LONG>(m_bFrameHook) << static_cast<LONG>(m_bFrame);
        ar << static_cast<LONG>(m_rectInner.left) << static_cast<LONG>(m_rectInner.top)
           << static_cast<LONG>(m_rectInner.right) << static_cast<LONG>(m_rectInner.bottom);
        return;
    }
    DeleteChildren();
    SRGReadOwnedList(ar, m_children, RUNTIME_CLASS(SRGraphComponent));
    for (POSITION pos = m_children.GetHeadPosition(); pos;) {
        static_cast<SRGraphComponent*>(m_children.GetNext(pos))->SetCompoundChildMark(1);
    }
    LONG values[10] = {};
    for (LONG& value : values) {
        ar >> value;
    }
    m_bDeferredChildren = values[0];
    m_bTwoPass = values[1];
    m_bHook = values[2];
    m_bHookAfter = values[3];
    m_bFrameHook = values[4];
    m_bFrame = values[5];
    m_rectInner = CRect(values[6], values[7], values[8], values[9]);
}
