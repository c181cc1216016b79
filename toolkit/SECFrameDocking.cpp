#include "toolkit/SECFrameDocking.h"

#include "platform/framework/CDockContext.h"
#include "platform/framework/CMiniDockFrameWnd.h"
#include "platform/framework/CWinThread.h"
#include "toolkit/SECControlBar.h"
#include "toolkit/SECDockState.h"
#include "toolkit/SECFrameWnd.h"
#include "toolkit/SECMDIFrameWnd.h"
#include "toolkit/SECToolBarManager.h"

const UINT kSECFrameDockBarIDs[4] = {AFX_IDW_DOCKBAR_TOP, AFX_IDW_DOCKBAR_BOTTOM, AFX_IDW_DOCKBAR_LEFT,
                                     AFX_IDW_DOCKBAR_RIGHT};

SECDockBar* SECDockBarFor(CFrameWnd* pFrame, DWORD dwAlign) {
    for (UINT id : kSECFrameDockBarIDs) {
        auto* pDockBar = dynamic_cast<SECDockBar*>(pFrame->GetControlBar(id));
        if (pDockBar && (pDockBar->m_dwStyle & dwAlign & CBRS_ALIGN_ANY)) {
            return pDockBar;
        }
    }
    return nullptr;
}

void SECDockBarInFrame(CFrameWnd* pFrame, CControlBar* pBar, SECDockBar* pDockBar, SECDockPos pos,
                       float fProportion, int nSize) {
    if (!pBar || !pBar->m_hWnd) {
        return;
    }
    SECControlBar* sec = dynamic_cast<SECControlBar*>(pBar);
    if (sec) {
        sec->OnBeforeDock();
    }
    if (!pDockBar) {
        pDockBar = SECDockBarFor(pFrame, pBar->m_dwDockStyle & CBRS_ALIGN_ANY);
    }
    if (!pDockBar) {
        return;
    }
    if (sec) {
        sec->m_fProportion = fProportion;
    }
    // The size across the row is measured in the orientation of the dock bar it goes to.
    const DWORD mode = pDockBar->IsHorzDock() ? (LM_LENGTHY | LM_HORZDOCK | LM_HORZ) : LM_VERTDOCK;
    pBar->CalcDynamicLayout(nSize, mode | LM_COMMIT);
    HWND oldFloating =
        pBar->m_pDockBar && pBar->m_pDockBar->m_bFloating ? pBar->m_pDockBar->GetParent()->m_hWnd : nullptr;
    pDockBar->DockControlBarAt(pBar, pos);
    if (oldFloating && ::IsWindow(oldFloating)) {
        if (auto* frame = dynamic_cast<CFrameWnd*>(CWnd::FromHandlePermanent(oldFloating))) {
            frame->RecalcLayout();
        }
    }
    if (sec) {
        sec->OnAfterDock();
    }
    pFrame->RecalcLayout();
}

void SECFloatBarInFrame(CFrameWnd* pFrame, CControlBar* pBar, int x, int y, DWORD dwStyle) {
    if (!pBar || !pBar->m_hWnd) {
        return;
    }
    CDockBar* pOld = pBar->m_pDockBar;
    if (pOld && pOld->m_bFloating && pOld->GetDockedCount() == 1 &&
        (pOld->m_dwStyle & dwStyle & CBRS_ALIGN_ANY) &&
        pOld->GetParent()->IsKindOf(RUNTIME_CLASS(CMiniDockFrameWnd))) {
        CWnd* frame = pOld->GetParent();
        frame->SetWindowPos(nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        frame->UpdateWindow();
        return;
    }
    SECControlBar* sec = dynamic_cast<SECControlBar*>(pBar);
    if (sec) {
        sec->OnBeforeFloat();
    }
    if (pBar->m_dwStyle & CBRS_SIZE_DYNAMIC) {
        dwStyle |= CBRS_SIZE_DYNAMIC;
        if (dwStyle & CBRS_ORIENT_VERT) {
            dwStyle = (dwStyle & ~static_cast<DWORD>(CBRS_ALIGN_ANY)) | CBRS_ALIGN_TOP;
        }
    }
    CMiniDockFrameWnd* frame = pFrame->CreateFloatingFrame(dwStyle);
    if (!frame) {
        return;
    }
    frame->SetWindowPos(nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    frame->m_wndDockBar.DockControlBar(pBar);
    frame->RecalcLayout();
    if (pBar->GetStyle() & WS_VISIBLE) {
        frame->ShowWindow(SW_SHOWNA);
        frame->UpdateWindow();
    }
    if (pBar->m_pDockContext) {
        pBar->m_pDockContext->m_ptMRUFloatPos = CPoint(x, y);
        pBar->m_pDockContext->m_dwMRUFloatStyle = dwStyle;
    }
    if (sec) {
        sec->OnAfterFloat();
    }
    pFrame->RecalcLayout();
}

void SECFlushFrameRedraws(CFrameWnd* pFrame, const CRect& rectLastViewArea) {
    if (rectLastViewArea.IsRectEmpty()) {
        pFrame->RedrawWindow(nullptr, nullptr, RDW_ALLCHILDREN | RDW_ERASE | RDW_INVALIDATE);
        return;
    }
    for (UINT id : kSECFrameDockBarIDs) {
        if (auto* pDockBar = dynamic_cast<SECDockBar*>(pFrame->GetControlBar(id))) {
            pDockBar->FlushRedraws();
        }
    }
}

namespace {

// A toolkit frame's layout goes through its toolbar manager and keeps the bars it makes by class.
void PrepareState(CFrameWnd* pFrame, SECDockState& state) {
    if (auto* sdi = dynamic_cast<SECFrameWnd*>(pFrame)) {
        state.m_pBarInfoFactory = sdi->GetToolBarManager();
        state.m_pCreatedBars = &sdi->m_ownedBars;
    } else if (auto* mdi = dynamic_cast<SECMDIFrameWnd*>(pFrame)) {
        state.m_pBarInfoFactory = mdi->GetToolBarManager();
        state.m_pCreatedBars = &mdi->m_ownedBars;
    }
}

// A layout read whole and found sound is applied; any other leaves the frame as it is.
BOOL ApplyLoadedLayout(CFrameWnd* pFrame, SECDockState& state, BOOL bLoaded) {
    if (!bLoaded) {
        return FALSE;
    }
    CWinThread* thread = AfxGetThread();
    if (thread && !thread->m_pMainWnd) {
        thread->m_pMainWnd = pFrame;
    }
    if (auto* sdi = dynamic_cast<SECFrameWnd*>(pFrame)) {
        sdi->ApplyDockState(state);
    } else if (auto* mdi = dynamic_cast<SECMDIFrameWnd*>(pFrame)) {
        mdi->ApplyDockState(state);
    } else {
        state.Apply(pFrame);
    }
    return TRUE;
}

} // namespace

BOOL SECLoadFrameBarLayout(CFrameWnd* pFrame, LPCTSTR lpszProfileName) {
    SECDockState state;
    PrepareState(pFrame, state);
    const BOOL loaded = state.LoadState(lpszProfileName);
    return ApplyLoadedLayout(pFrame, state, loaded);
}

BOOL SECLoadFrameBarLayout(CFrameWnd* pFrame, CArchive& ar) {
    SECDockState state;
    PrepareState(pFrame, state);
    try {
        state.Serialize(ar);
    } catch (CException* e) {
        e->Delete();
        return FALSE;
    }
    return ApplyLoadedLayout(pFrame, state, TRUE);
}

void SECSaveFrameBarLayout(CFrameWnd* pFrame, CArchive& ar) {
    SECDockState state;
    PrepareState(pFrame, state);
    state.Collect(pFrame);
    state.Normalize();
    state.Serialize(ar);
}

BOOL SECLoadFrameBarLayout(CFrameWnd* pFrame, SECPersistentTreeNode* pParent) {
    SECDockState state;
    PrepareState(pFrame, state);
    const BOOL loaded = state.LoadFromTree(pParent);
    return ApplyLoadedLayout(pFrame, state, loaded);
}

BOOL SECSaveFrameBarLayout(CFrameWnd* pFrame, SECPersistentTreeNode* pParent) {
    SECDockState state;
    PrepareState(pFrame, state);
    state.Collect(pFrame);
    state.Normalize();
    return state.SaveToTree(pParent);
}

void SECSaveFrameBarLayout(CFrameWnd* pFrame, LPCTSTR lpszProfileName) {
    SECDockState state;
    PrepareState(pFrame, state);
    state.Collect(pFrame);
    state.Normalize();
    state.SaveState(lpszProfileName);
}
