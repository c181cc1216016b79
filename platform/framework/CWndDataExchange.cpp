// CWnd's data exchange and the reflection of child notifications: the messages a control's parent receives
// about it go back to the control's own object first.
#include "platform/framework/CWnd.h"

#include "platform/framework/DataExchange.h"

BOOL CWnd::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
    return ReflectChildNotify(message, wParam, lParam, pResult);
}

BOOL CWnd::ReflectChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
    AFX_MSGCALL call;
    call.wParam = wParam;
    call.lParam = lParam;
    if (message >= WM_CTLCOLORMSGBOX && message <= WM_CTLCOLORSTATIC) {
        const AFX_MSGMAP_ENTRY* e = FindMessageEntry(AfxKindWindow, WM_REFLECT_BASE + WM_CTLCOLOR, 0, 0);
        if (!e) {
            return FALSE;
        }
        call.message = WM_REFLECT_BASE + WM_CTLCOLOR;
        call.nID = message - WM_CTLCOLORMSGBOX;
        e->pfn(this, call);
        if (!call.result) {
            return FALSE; // a null brush leaves the colours to the parent
        }
        if (pResult) {
            *pResult = call.result;
        }
        return TRUE;
    }
    switch (message) {
    case WM_COMMAND: {
        const AFX_MSGMAP_ENTRY* e =
            FindMessageEntry(AfxKindReflectCommand, WM_REFLECT_BASE + WM_COMMAND, HIWORD(wParam), 0);
        if (!e) {
            return FALSE;
        }
        call.message = WM_REFLECT_BASE + WM_COMMAND;
        return e->pfn(this, call);
    }
    case WM_NOTIFY: {
        auto* hdr = reinterpret_cast<NMHDR*>(lParam);
        const AFX_MSGMAP_ENTRY* e =
            FindMessageEntry(AfxKindReflectNotify, WM_REFLECT_BASE + WM_NOTIFY, hdr->code, 0);
        if (!e) {
            return FALSE;
        }
        LRESULT ignored = 0;
        AFX_NOTIFY notify{pResult ? pResult : &ignored, hdr};
        call.message = WM_REFLECT_BASE + WM_NOTIFY;
        call.nID = static_cast<UINT>(hdr->idFrom);
        call.pExtra = &notify;
        return e->pfn(this, call);
    }
    default: {
        // Other reflected messages go to ON_MESSAGE(WM_REFLECT_BASE + message) entries.
        const AFX_MSGMAP_ENTRY* e = FindMessageEntry(AfxKindWindow, WM_REFLECT_BASE + message, 0, 0);
        if (!e) {
            return FALSE;
        }
        call.message = WM_REFLECT_BASE + message;
        e->pfn(this, call);
        if (pResult) {
            *pResult = call.result;
        }
        return TRUE;
    }
    }
}

BOOL CWnd::ReflectLastMsg(HWND hWndChild, LRESULT* pResult) {
    CWnd* pWnd = FromHandlePermanent(hWndChild);
    return pWnd ? pWnd->SendChildNotifyLastMsg(pResult) : FALSE;
}

BOOL CWnd::SendChildNotifyLastMsg(LRESULT* pResult) {
    const MSG* msg = GetCurrentMessage();
    return OnChildNotify(msg->message, msg->wParam, msg->lParam, pResult);
}

BOOL CWnd::UpdateData(BOOL bSaveAndValidate) {
    return AfxUpdateData(this, bSaveAndValidate);
}

void CWnd::UpdateDialogControls(CCmdTarget* pTarget, BOOL bDisableIfNoHndler) {
    CCmdUI state;
    CWnd wndTemp;
    for (HWND hWndChild = ::GetTopWindow(m_hWnd); hWndChild;
         hWndChild = ::GetWindow(hWndChild, GW_HWNDNEXT)) {
        CWnd* pChild = FromHandlePermanent(hWndChild);
        state.m_pOther = pChild ? pChild : &wndTemp;
        wndTemp.m_hWnd = hWndChild;
        state.m_nID = static_cast<UINT>(::GetDlgCtrlID(hWndChild));
        // Commands of the window itself first, then the target's.
        if (!state.DoUpdate(this, FALSE)) {
            state.DoUpdate(pTarget, bDisableIfNoHndler);
        }
    }
    wndTemp.m_hWnd = nullptr;
}

void CWnd::OnHScroll(UINT, UINT, CScrollBar* pScrollBar) {
    if (pScrollBar && ReflectLastMsg(pScrollBar->m_hWnd)) {
        return;
    }
    Default();
}
void CWnd::OnVScroll(UINT, UINT, CScrollBar* pScrollBar) {
    if (pScrollBar && ReflectLastMsg(pScrollBar->m_hWnd)) {
        return;
    }
    Default();
}
void CWnd::OnDrawItem(int, LPDRAWITEMSTRUCT lpDrawItemStruct) {
    if (lpDrawItemStruct->CtlType != ODT_MENU && ReflectLastMsg(lpDrawItemStruct->hwndItem)) {
        return;
    }
    Default();
}
void CWnd::OnMeasureItem(int nIDCtl, LPMEASUREITEMSTRUCT lpMeasureItemStruct) {
    if (lpMeasureItemStruct->CtlType != ODT_MENU && nIDCtl != 0) {
        CWnd* pChild = GetDescendantWindow(nIDCtl, TRUE);
        if (pChild && pChild->SendChildNotifyLastMsg()) {
            return;
        }
    }
    Default();
}
