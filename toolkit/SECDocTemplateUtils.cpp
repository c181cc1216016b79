#include "toolkit/SECDocTemplateUtils.h"

#include "platform/framework/CControlBar.h"
#include "platform/framework/CDocument.h"
#include "platform/framework/CFrameWnd.h"
#include "platform/framework/CView.h"
#include "platform/framework/CWinApp.h"
#include "toolkit/SECDockableFrame.h"
#include "toolkit/SECMDIFrameWnd.h"
#include "toolkit/SECMultiDocTemplate.h"

namespace {

// Removes the templates `drop` answers TRUE for.
template <typename Drop>
void RemoveIf(CPtrList& list, Drop drop) {
    for (POSITION pos = list.GetHeadPosition(); pos;) {
        POSITION at = pos;
        if (drop(static_cast<CDocTemplate*>(list.GetNext(pos)))) {
            list.RemoveAt(at);
        }
    }
}

bool HasTypeName(CDocTemplate* pTemplate, LPCTSTR lpszName) {
    CString name;
    pTemplate->GetDocString(name, CDocTemplate::regFileTypeName);
    return name == CString(lpszName);
}

} // namespace

int SECDocTemplateUtils::GetTemplateIndex(CDocTemplate* pTemplate, LPCTSTR lpszName) {
    CWinApp* app = AfxGetApp();
    if (!pTemplate || !app) {
        return -1;
    }
    int index = -1;
    for (POSITION pos = app->GetFirstDocTemplatePosition(); pos;) {
        CDocTemplate* t = app->GetNextDocTemplate(pos);
        if (HasTypeName(t, lpszName)) {
            ++index;
        }
        if (t == pTemplate) {
            return index;
        }
    }
    return -1;
}

CDocTemplate* SECDocTemplateUtils::GetTemplateByIndex(LPCTSTR lpszName, int nIndex) {
    CWinApp* app = AfxGetApp();
    CDocTemplate* found = nullptr;
    int index = -1;
    for (POSITION pos = app ? app->GetFirstDocTemplatePosition() : nullptr; pos && index != nIndex;) {
        CDocTemplate* t = app->GetNextDocTemplate(pos);
        if (HasTypeName(t, lpszName)) {
            found = t;
            ++index;
        }
    }
    return found;
}

UINT SECDocTemplateUtils::GetFrameResourceId(CFrameWnd* pFrame) {
    return pFrame ? pFrame->GetFrameResourceID() : 0;
}

BOOL SECDocTemplateUtils::CollectTemplates(CPtrList& list) {
    CWinApp* app = AfxGetApp();
    if (!app) {
        return FALSE;
    }
    for (POSITION pos = app->GetFirstDocTemplatePosition(); pos;) {
        list.AddTail(app->GetNextDocTemplate(pos));
    }
    return TRUE;
}

BOOL SECDocTemplateUtils::IsDockableFrameClass(CRuntimeClass* pClass) {
    return pClass && pClass->IsDerivedFrom(RUNTIME_CLASS(SECDockableFrame));
}

CRuntimeClass* SECDocTemplateUtils::GetTemplateFrameClass(CDocTemplate* pTemplate, BOOL bDockable) {
    if (!pTemplate) {
        return nullptr;
    }
    if (bDockable) {
        auto* multi = dynamic_cast<SECMultiDocTemplate*>(pTemplate);
        return multi ? multi->m_pDockableFrameClass : nullptr;
    }
    return pTemplate->m_pFrameClass;
}

BOOL SECDocTemplateUtils::KeepByViewAndFrame(CPtrList& list, CView* pView, CFrameWnd* pFrame) {
    if (!pView || !pFrame) {
        return FALSE;
    }
    const BOOL dockable = IsDockableFrameClass(pFrame->GetRuntimeClass());
    RemoveIf(list, [&](CDocTemplate* t) {
        return t->m_pViewClass != pView->GetRuntimeClass() ||
               GetTemplateFrameClass(t, dockable) != pFrame->GetRuntimeClass();
    });
    return TRUE;
}

BOOL SECDocTemplateUtils::KeepByResourceId(CPtrList& list, CFrameWnd* pFrame) {
    if (!pFrame) {
        return FALSE;
    }
    const UINT id = GetFrameResourceId(pFrame);
    RemoveIf(list, [&](CDocTemplate* t) { return t->m_nIDResource != id; });
    return TRUE;
}

BOOL SECDocTemplateUtils::KeepByDocument(CPtrList& list, CDocument* pDoc) {
    if (!pDoc) {
        return FALSE;
    }
    RemoveIf(list, [&](CDocTemplate* t) { return t->m_pDocClass != pDoc->GetRuntimeClass(); });
    return TRUE;
}

BOOL SECDocTemplateUtils::GetSingle(CPtrList& list, CDocTemplate*& pTemplate) {
    pTemplate = nullptr;
    if (list.GetCount() > 1) {
        return FALSE;
    }
    if (!list.IsEmpty()) {
        pTemplate = static_cast<CDocTemplate*>(list.GetHead());
    }
    return TRUE;
}

CDocTemplate* SECDocTemplateUtils::FindTemplate(CDocument* pDoc, CView* pView, CFrameWnd* pFrame) {
    if (!pDoc || !pView || !pFrame) {
        return nullptr;
    }
    CPtrList list;
    CollectTemplates(list);
    CDocTemplate* single = nullptr;
    if (GetSingle(list, single)) {
        return single;
    }
    KeepByViewAndFrame(list, pView, pFrame);
    if (GetSingle(list, single)) {
        return single;
    }
    KeepByResourceId(list, pFrame);
    if (GetSingle(list, single)) {
        return single;
    }
    KeepByDocument(list, pDoc);
    if (GetSingle(list, single)) {
        return single;
    }
    if (list.Find(pDoc->GetDocTemplate())) {
        return pDoc->GetDocTemplate();
    }
    return static_cast<CDocTemplate*>(list.GetHead());
}

BOOL SECIsFullyVisible(CWnd* pWnd) {
    for (CWnd* wnd = pWnd; wnd && wnd->m_hWnd; wnd = wnd->GetParent()) {
        auto* bar = dynamic_cast<CControlBar*>(wnd);
        if (bar ? !bar->IsVisible() : !(wnd->GetStyle() & WS_VISIBLE)) {
            return FALSE;
        }
    }
    return pWnd != nullptr;
}

BOOL SECHasOtherVisibleMDIChild(CWnd* pExcluded) {
    auto* mdi = dynamic_cast<CMDIFrameWnd*>(AfxGetMainWnd());
    if (!mdi || !::IsWindow(mdi->m_hWndMDIClient)) {
        return FALSE;
    }
    const HWND excluded = pExcluded ? pExcluded->m_hWnd : nullptr;
    for (HWND child = ::GetWindow(mdi->m_hWndMDIClient, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
        if (child != excluded && (::GetWindowLongW(child, GWL_STYLE) & WS_VISIBLE) &&
            dynamic_cast<CMDIChildWnd*>(CWnd::FromHandlePermanent(child))) {
            return TRUE;
        }
    }
    return FALSE;
}

BOOL SECActivateOtherDockableFrame(CFrameWnd* pExcluded) {
    auto* mdi = dynamic_cast<SECMDIFrameWnd*>(AfxGetMainWnd());
    CWinApp* app = AfxGetApp();
    if (!mdi || !app) {
        return FALSE;
    }
    auto isCandidate = [&](CFrameWnd* frame) {
        return dynamic_cast<SECDockableFrame*>(frame) && frame != pExcluded && SECIsFullyVisible(frame);
    };
    if (isCandidate(mdi->GetActiveFrame())) {
        return FALSE;
    }
    for (POSITION tpos = app->GetFirstDocTemplatePosition(); tpos;) {
        CDocTemplate* pTemplate = app->GetNextDocTemplate(tpos);
        for (POSITION dpos = pTemplate->GetFirstDocPosition(); dpos;) {
            CDocument* pDoc = pTemplate->GetNextDoc(dpos);
            for (POSITION vpos = pDoc->GetFirstViewPosition(); vpos;) {
                CFrameWnd* frame = pDoc->GetNextView(vpos)->GetParentFrame();
                if (isCandidate(frame)) {
                    mdi->SetActiveDockableFrame(frame);
                    return TRUE;
                }
            }
        }
    }
    return FALSE;
}
