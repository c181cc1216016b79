#include "toolkit/SECMultiDocTemplate.h"

#include "platform/framework/CDocument.h"
#include "platform/framework/CMDIChildWnd.h"
#include "platform/framework/CView.h"
#include "platform/framework/CWinApp.h"
#include "platform/framework/FrameworkResources.h"
#include "toolkit/SECDockableFrame.h"
#include "toolkit/SECMDIFrameWnd.h"

IMPLEMENT_DYNAMIC(SECMultiDocTemplate, CMultiDocTemplate)

namespace {

// Bars of documents' frames take ids from here up, clear of the frame's own bars.
constexpr UINT kFirstDocumentBarId = 0xEA00;
constexpr UINT kLastDocumentBarId = 0xEFFF;
constexpr DWORD kAlignAndBorder = CBRS_ALIGN_ANY | CBRS_BORDER_ANY;

UINT FreeBarId(CFrameWnd* pSite) {
    for (UINT id = kFirstDocumentBarId; id <= kLastDocumentBarId; ++id) {
        if (!pSite->GetControlBar(id)) {
            return id;
        }
    }
    return 0;
}

// The style of a bar docked on the dock bar nDockBarID: its alignment and the border facing the client.
DWORD DockedStyle(UINT nDockBarID) {
    switch (nDockBarID) {
    case AFX_IDW_DOCKBAR_TOP:
        return CBRS_ALIGN_TOP | CBRS_BORDER_BOTTOM;
    case AFX_IDW_DOCKBAR_LEFT:
        return CBRS_ALIGN_LEFT | CBRS_BORDER_RIGHT;
    case AFX_IDW_DOCKBAR_RIGHT:
        return CBRS_ALIGN_RIGHT | CBRS_BORDER_LEFT;
    case AFX_IDW_DOCKBAR_BOTTOM:
        return CBRS_ALIGN_BOTTOM | CBRS_BORDER_TOP;
    default:
        return 0;
    }
}

// Top and left: a new row at the far end; right and bottom: a new row next to the client.
SECDockPos DefaultDockPos(UINT nDockBarID) {
    if (nDockBarID == AFX_IDW_DOCKBAR_TOP || nDockBarID == AFX_IDW_DOCKBAR_LEFT) {
        return {1, 0, SECDockPos::fromEndRow | SECDockPos::fromEndCol};
    }
    return {0, 0, SECDockPos::newRow};
}

} // namespace

SECMultiDocTemplate::SECMultiDocTemplate(UINT nIDResource, CRuntimeClass* pDocClass, CRuntimeClass* pFrameClass,
                                         CRuntimeClass* pViewClass, CRuntimeClass* pDockableFrameClass,
                                         UINT nIDDockableResource)
    : CMultiDocTemplate(nIDResource, pDocClass, pFrameClass, pViewClass),
      m_pDockableFrameClass(pDockableFrameClass ? pDockableFrameClass : RUNTIME_CLASS(SECDockableFrame)),
      m_nIDDockableResource(nIDDockableResource ? nIDDockableResource : nIDResource) {}

SECMultiDocTemplate::~SECMultiDocTemplate() {
    if (m_hMenuDockable) {
        ::DestroyMenu(m_hMenuDockable);
    }
}

void SECMultiDocTemplate::LoadTemplate() {
    CMultiDocTemplate::LoadTemplate();
    // A menu of their own, also from the same resource: the MDI client edits the children's menu.
    if (!m_hMenuDockable) {
        m_hMenuDockable =
            AfxGetResourceProvider().LoadMenu(AfxGetResourceHandle(), MAKEINTRESOURCEW(m_nIDDockableResource));
    }
    if (!m_hAccelDockable) {
        m_hAccelDockable = AfxGetResourceProvider().LoadAccelerators(AfxGetResourceHandle(),
                                                                     MAKEINTRESOURCEW(m_nIDDockableResource));
    }
}

SECMDIFrameWnd* SECMultiDocTemplate::GetMDIFrame() {
    return dynamic_cast<SECMDIFrameWnd*>(AfxGetMainWnd());
}

BOOL SECMultiDocTemplate::IsDockableForm(CFrameWnd* pFrame) const {
    return dynamic_cast<SECDockableFrame*>(pFrame) != nullptr;
}

CFrameWnd* SECMultiDocTemplate::CreateNewFrame(CDocument* pDoc, CFrameWnd* pOther) {
    if (m_nNewForm != formMDIChild && GetMDIFrame()) {
        return CreateDockableFrame(pDoc, pOther, m_nNewForm == formFloating);
    }
    return CMultiDocTemplate::CreateNewFrame(pDoc, pOther);
}

SECDockableFrame* SECMultiDocTemplate::CreateDockableFrameWith(CDocument* pDoc, CFrameWnd* pOther,
                                                               CRuntimeClass* pViewClass) {
    SECMDIFrameWnd* mdi = GetMDIFrame();
    const UINT barId = mdi ? FreeBarId(mdi) : 0;
    auto* frame = barId ? AfxCreateObjectOf<SECDockableFrame>(m_pDockableFrameClass) : nullptr;
    if (!frame) {
        return nullptr;
    }
    CCreateContext context;
    context.m_pCurrentFrame = pOther;
    context.m_pCurrentDoc = pDoc;
    context.m_pNewViewClass = pViewClass;
    context.m_pNewDocTemplate = this;
    // The template's own resource id: it tells the template apart from others by the frame.
    if (!frame->CreateInBar(mdi, m_nIDResource, barId, &context)) {
        delete frame;
        return nullptr;
    }
    return frame;
}

SECDockableFrame* SECMultiDocTemplate::CreateDockableFrame(CDocument* pDoc, CFrameWnd* pOther, BOOL bFloating) {
    SECDockableFrame* frame = CreateDockableFrameWith(pDoc, pOther, m_pViewClass);
    if (!frame) {
        return nullptr;
    }
    if (bFloating) {
        FloatNearMainWindow(frame);
    } else {
        DockAtNextPlace(frame);
    }
    return frame;
}

void SECMultiDocTemplate::MoveView(CView* pView, CFrameWnd* pFrom, CFrameWnd* pTo) {
    pFrom->SetActiveView(nullptr, FALSE);
    pView->SetParent(pTo);
    pView->SetDlgCtrlID(AFX_IDW_PANE_FIRST);
    pTo->SetActiveView(pView, FALSE);
    pTo->RecalcLayout();
    // The view is no longer the old frame's child: it stays, and with it its document.
    pFrom->DestroyWindow();
    if (CDocument* doc = pView->GetDocument()) {
        doc->UpdateFrameCounts();
    }
    pTo->OnUpdateFrameTitle(TRUE);
}

void SECMultiDocTemplate::DockAtNextPlace(SECDockableFrame* pFrame) {
    SECMDIFrameWnd* mdi = GetMDIFrame();
    CControlBar* bar = pFrame->GetHostBar();
    if (!mdi || !bar) {
        return;
    }
    UINT id = 0;
    SECDockPos pos;
    float proportion = 1.0f;
    int size = 150;
    mdi->GetNextDockPosition(id, pos, proportion, size);
    bar->m_dwStyle = (bar->m_dwStyle & ~kAlignAndBorder) | DockedStyle(id);
    mdi->DockControlBarEx(bar, pos, id, proportion, size);
    mdi->RecalcLayout();
}

void SECMultiDocTemplate::FloatNearMainWindow(SECDockableFrame* pFrame) {
    SECMDIFrameWnd* mdi = GetMDIFrame();
    CControlBar* bar = pFrame->GetHostBar();
    if (!mdi || !bar) {
        return;
    }
    CRect main;
    mdi->GetWindowRect(&main);
    mdi->FloatControlBarEx(bar, main.left + 60, main.top + 60);
    mdi->RecalcLayout();
}

CFrameWnd* SECMultiDocTemplate::ToggleFrame(CFrameWnd* pFrame) {
    CView* view = pFrame ? pFrame->GetActiveView() : nullptr;
    SECMDIFrameWnd* mdi = GetMDIFrame();
    if (!view || !mdi) {
        return nullptr;
    }
    CDocument* doc = view->GetDocument();
    if (IsDockableForm(pFrame)) {
        CFrameWnd* child = CreateFrameOf(m_pFrameClass, doc, pFrame, nullptr);
        if (!child) {
            return nullptr;
        }
        MoveView(view, pFrame, child);
        mdi->RecalcLayout();
        child->ActivateFrame();
        return child;
    }
    if (!dynamic_cast<CMDIChildWnd*>(pFrame)) {
        return nullptr;
    }
    SECDockableFrame* dockable = CreateDockableFrameWith(doc, pFrame, nullptr);
    if (!dockable) {
        return nullptr;
    }
    MoveView(view, pFrame, dockable);
    DockAtNextPlace(dockable);
    mdi->SetActiveDockableFrame(dockable);
    return dockable;
}

int SECMultiDocTemplate::GetDockSide(CFrameWnd* pFrame) {
    return SECDockSideOf(pFrame);
}

CFrameWnd* SECMultiDocTemplate::DockFrame(CFrameWnd* pFrame, UINT nDockBarID, const SECDockPos* pPos,
                                          const SECDockSize* pSize) {
    SECMDIFrameWnd* mdi = GetMDIFrame();
    if (!mdi || !pFrame || !DockedStyle(nDockBarID) || !mdi->GetControlBar(nDockBarID)) {
        return nullptr;
    }
    auto* dockable = dynamic_cast<SECDockableFrame*>(pFrame);
    if (!dockable) {
        CView* view = pFrame->GetActiveView();
        if (!view || !dynamic_cast<CMDIChildWnd*>(pFrame)) {
            return nullptr;
        }
        dockable = CreateDockableFrameWith(view->GetDocument(), pFrame, nullptr);
        if (!dockable) {
            return nullptr;
        }
        MoveView(view, pFrame, dockable);
    }
    CControlBar* bar = dockable->GetHostBar();
    if (!bar) {
        return nullptr;
    }
    const SECDockPos pos = pPos ? *pPos : DefaultDockPos(nDockBarID);
    const SECDockSize size = pSize ? *pSize : SECDockSize{};
    bar->m_dwStyle = (bar->m_dwStyle & ~kAlignAndBorder) | DockedStyle(nDockBarID);
    mdi->DockControlBarEx(bar, pos, nDockBarID, size.fProportion, static_cast<int>(size.size.cx));
    mdi->RecalcLayout();
    mdi->SetActiveDockableFrame(dockable);
    return dockable;
}

int SECDockSideOf(CFrameWnd* pFrame) {
    using Side = SECMultiDocTemplate::DockSide;
    auto* dockable = dynamic_cast<SECDockableFrame*>(pFrame);
    CControlBar* bar = dockable ? dockable->GetHostBar() : nullptr;
    if (!bar) {
        return Side::sideNone;
    }
    if (bar->IsFloating()) {
        return Side::sideFloating;
    }
    switch (bar->m_pDockBar ? bar->m_pDockBar->GetDlgCtrlID() : 0) {
    case AFX_IDW_DOCKBAR_TOP:
        return Side::sideTop;
    case AFX_IDW_DOCKBAR_LEFT:
        return Side::sideLeft;
    case AFX_IDW_DOCKBAR_BOTTOM:
        return Side::sideBottom;
    case AFX_IDW_DOCKBAR_RIGHT:
        return Side::sideRight;
    default:
        return Side::sideNone;
    }
}

BOOL SECHasMultiDocTemplate() {
    CWinApp* app = AfxGetApp();
    for (POSITION pos = app ? app->GetFirstDocTemplatePosition() : nullptr; pos;) {
        if (dynamic_cast<SECMultiDocTemplate*>(app->GetNextDocTemplate(pos))) {
            return TRUE;
        }
    }
    return FALSE;
}
