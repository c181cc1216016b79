#include "toolkit/SECMDIMenuBar.h"

#include "toolkit/SECMDIMenuButtons.h"

#include "platform/framework/CFrameWnd.h"
#include "platform/framework/CMDIChildWnd.h"

IMPLEMENT_DYNCREATE(SECMDIMenuBar, SECMenuBar)

namespace {

HICON SmallIconOf(HWND hWnd) {
    auto icon = reinterpret_cast<HICON>(::SendMessageW(hWnd, WM_GETICON, ICON_SMALL, 0));
    icon = icon ? icon : reinterpret_cast<HICON>(::GetClassLongPtrW(hWnd, GCLP_HICONSM));
    return icon ? icon : reinterpret_cast<HICON>(::GetClassLongPtrW(hWnd, GCLP_HICON));
}

} // namespace

BOOL SECMDIMenuBar::CreateMenuBar(CWnd* pParentWnd, DWORD dwStyle, UINT nID) {
    if (!SECMenuBar::CreateMenuBar(pParentWnd, dwStyle, nID)) {
        return FALSE;
    }
    m_dwExStyle |= CBRS_EX_FULL_ROW;
    return TRUE;
}

BOOL SECMDIMenuBar::SetMenu(HMENU hMenu, UINT nFlags) {
    if (!SECMenuBar::SetMenu(hMenu, nFlags)) {
        return FALSE;
    }
    // The new buttons replaced the document window's: put them back.
    m_hWndMaxChild = nullptr;
    UpdateMaximizedChild();
    return TRUE;
}

BOOL SECMDIMenuBar::UpdateMaximizedChild() {
    CMDIChildWnd* pChild = SECMenuBarMaximizedChild(this);
    HWND hWnd = pChild ? pChild->m_hWnd : nullptr;
    if (hWnd == m_hWndMaxChild) {
        return FALSE;
    }
    RemoveChildButtons();
    m_hWndMaxChild = hWnd;
    if (pChild) {
        AddChildButtons(pChild);
    }
    m_bDirtyHorz = m_bDirtyVert = m_bDirtyFloat = TRUE;
    RecalcParentLayout();
    return TRUE;
}

void SECMDIMenuBar::OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler) {
    SECMenuBar::OnUpdateCmdUI(pTarget, bDisableIfNoHndler);
    if (UpdateMaximizedChild()) {
        Invalidate();
        if (m_pDockSite) {
            m_pDockSite->DelayRecalcLayout();
        }
    }
}

void SECMDIMenuBar::AddChildButtons(CMDIChildWnd* pChild) {
    auto* pIcon = new SECCapMenuBtn;
    pIcon->m_nStyle |= SEC_TBBS_KEEPENABLED;
    pIcon->Init(this, nullptr);
    pIcon->m_hIcon = SmallIconOf(pChild->m_hWnd);
    pIcon->SetOrientation(m_nOrientation);
    m_btns.insert(m_btns.begin(), pIcon);
    auto* pCaption = new SECBtnCaption;
    pCaption->Init(this, nullptr);
    const DWORD style = pChild->GetStyle();
    if (!(style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX))) {
        pCaption->m_nFlags &= ~SECBtnCaption::kMinRestoreEnabled;
    }
    pCaption->SetOrientation(m_nOrientation);
    m_btns.push_back(pCaption);
}

void SECMDIMenuBar::RemoveChildButtons() {
    for (int i = GetBtnCount() - 1; i >= 0; --i) {
        const int type = m_btns[static_cast<std::size_t>(i)]->m_nType;
        if (type == SEC_BTN_MENU || type == SEC_BTN_FAREND) {
            RemoveButton(i, TRUE);
        }
    }
}
