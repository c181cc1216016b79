#include "toolkit/SECMenuBarFeature.h"

#include "platform/framework/CFrameWnd.h"

IMPLEMENT_DYNAMIC(SECMenuBarFeature, SECBmpMenuPlugIn)

SECMenuBarFeature::SECMenuBarFeature(SECMenuBar* pMenuBar) : SECBmpMenuPlugIn(TRUE) {
    SetMenuBar(pMenuBar);
}

BOOL SECMenuBarFeature::SetMenuById(UINT nID) {
    if (!SECMenuBarMessages::SetMenuById(nID)) {
        return FALSE;
    }
    if (CFrameWnd* pFrame = m_pMenuBar->GetParentFrame()) {
        pFrame->RecalcLayout(TRUE);
    }
    m_pMenuBar->Invalidate(FALSE);
    return TRUE;
}

BOOL SECMenuBarFeature::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
    return SECMenuBarMessages::OnNotify(wParam, lParam, pResult);
}

BOOL SECMenuBarFeature::PreTranslateMessage(MSG* pMsg) {
    return m_bAttached && pMsg && PreTranslate(*pMsg);
}

BOOL SECMenuBarFeature::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
    if (!m_bAttached) {
        return FALSE;
    }
    // The menu mode's messages first; the bitmap menus see the rest (pop-ups after the press-Down check).
    BOOL bHandled = FALSE;
    switch (message) {
    case WM_NOTIFY:
        bHandled = OnNotify(wParam, lParam, pResult);
        break;
    case WM_MENUSELECT:
        bHandled = SECMenuBarMessages::OnMenuSelect();
        break;
    case WM_SYSCOMMAND:
        bHandled = SECMenuBarMessages::OnSysCommand(static_cast<UINT>(wParam), lParam);
        break;
    case WM_NCACTIVATE:
        bHandled = SECMenuBarMessages::OnNcActivate(static_cast<BOOL>(wParam));
        if (bHandled && pResult) {
            *pResult = TRUE;
        }
        break;
    case WM_INITMENUPOPUP:
        SECMenuBarMessages::OnInitMenuPopup();
        return SECBmpMenuPlugIn::OnWndMsg(message, wParam, lParam, pResult);
    default:
        if (message == SECGetMenuProdMessage()) {
            OnMenuProd();
            bHandled = TRUE;
            break;
        }
        return SECBmpMenuPlugIn::OnWndMsg(message, wParam, lParam, pResult);
    }
    m_bHandled = bHandled;
    return bHandled;
}
