#include "toolkit/SECWndPlugIn.h"

IMPLEMENT_DYNAMIC(SECWndPlugIn, CWnd)

SECWndPlugIn::~SECWndPlugIn() {
    // The handle is borrowed: the window base must not destroy it.
    m_hWnd = nullptr;
}

void SECWndPlugIn::OverrideResult(LRESULT nResult) {
    m_bResultOverridden = TRUE;
    m_nResultOverride = nResult;
}

BOOL SECWndPlugIn::AttachToHost(CWnd* pHost) {
    if (!pHost || !pHost->GetSafeHwnd()) {
        return FALSE;
    }
    m_hWnd = pHost->m_hWnd;
    m_bAttached = TRUE;
    return TRUE;
}

void SECWndPlugIn::DetachFromHost() {
    m_bAttached = FALSE;
    m_hWnd = nullptr;
}

BOOL SECWndPlugIn::HasOwnEntry(UINT message) const {
    const AFX_MSGMAP* pStop = CWnd::GetThisMessageMap();
    for (const AFX_MSGMAP* pMap = GetMessageMap(); pMap && pMap != pStop;
         pMap = pMap->pfnGetBaseMap ? pMap->pfnGetBaseMap() : nullptr) {
        for (const AFX_MSGMAP_ENTRY* e = pMap->lpEntries; e && e->pfn; ++e) {
            bool registered = e->nKind == AfxKindRegistered && e->pnRegistered && *e->pnRegistered == message;
            if ((e->nKind == AfxKindWindow && e->nMessage == message) || registered) {
                return TRUE;
            }
        }
    }
    return FALSE;
}

BOOL SECWndPlugIn::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
    if (!m_bAttached) {
        return FALSE;
    }
    m_bHandled = FALSE;
    m_bCallDefault = FALSE;
    BOOL bResult = FALSE;
    if (message == WM_COMMAND) {
        bResult = OnCmdMsg(LOWORD(wParam), HIWORD(wParam), nullptr, nullptr);
    } else if (HasOwnEntry(message)) {
        bResult = CWnd::OnWndMsg(message, wParam, lParam, pResult);
    }
    if (m_bResultOverridden) {
        m_bResultOverridden = FALSE;
        return m_nResultOverride != 0;
    }
    return bResult;
}

BOOL SECWndPlugIn::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) {
    if (!m_bAttached) {
        return FALSE;
    }
    return CCmdTarget::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}

LRESULT SECWndPlugIn::DefWindowProcW(UINT message, WPARAM wParam, LPARAM lParam) {
    if (m_bAttached && m_bCallDefault && m_hWnd) {
        return ::DefWindowProcW(m_hWnd, message, wParam, lParam);
    }
    return 0;
}
