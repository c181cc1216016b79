// The MDI frame's menu-bar mode: the bar made with the window, the menus it shows by id, and the active or
// maximised document window it follows.
#include "toolkit/SECMDIFrameWnd.h"

#include "toolkit/SECMDIMenuBar.h"
#include "toolkit/SECMenuBarFeature.h"

int SECMDIFrameWnd::OnCreate(LPCREATESTRUCT lpcs) {
    if (CMDIFrameWnd::OnCreate(lpcs) == -1) {
        return -1;
    }
    if (m_bMenuBarMode && !CreateMenuBarFeature()) {
        return -1;
    }
    return 0;
}

BOOL SECMDIFrameWnd::CreateMenuBarFeature() {
    auto* pBar = new SECMDIMenuBar;
    pBar->m_bAutoDelete = TRUE;
    if (!pBar->CreateMenuBar(this)) {
        delete pBar;
        return FALSE;
    }
    std::unique_ptr<SECMenuBarFeature> feature(NewMenuBarFeature(pBar));
    if (!feature->AttachToHost(this)) {
        pBar->DestroyWindow();
        return FALSE;
    }
    m_pMenuBar = pBar;
    m_pMenuFeature = std::move(feature);
    // The maximised document window's buttons are the bar's now.
    for (const SECMsgFilter::Descriptor& descriptor : m_filters.m_table) {
        if (descriptor.nID == SEC_FILTER_CAPTION_LIST) {
            m_filters.Root().ApplyDescriptor(descriptor, FALSE);
        }
    }
    if (HMENU hWindowMenu = ::GetMenu(m_hWnd)) {
        // The menu the window was made with (its resource's) shows on the bar instead.
        ::SetMenu(m_hWnd, nullptr);
        m_hMenuDefault = nullptr;
        SetFrameMenu(m_nIDHelp, hWindowMenu);
    } else {
        ActivateMenuForId(static_cast<UINT>(-1));
    }
    return TRUE;
}

SECMenuBarFeature* SECMDIFrameWnd::NewMenuBarFeature(SECMDIMenuBar* pBar) {
    return new SECMenuBarFeature(pBar);
}

void SECMDIFrameWnd::DestroyMenus() {
    if (m_hMenuBarMenu) {
        ::DestroyMenu(m_hMenuBarMenu);
        m_hMenuBarMenu = nullptr;
    }
    for (auto& [id, hMenu] : m_menusById) {
        ::DestroyMenu(hMenu);
    }
    m_menusById.clear();
}

void SECMDIFrameWnd::SetFrameMenu(UINT nID, HMENU hMenu) {
    if (m_hMenuBarMenu && m_hMenuBarMenu != hMenu) {
        ::DestroyMenu(m_hMenuBarMenu);
    }
    m_nIDMenuResource = nID;
    m_hMenuBarMenu = hMenu;
    ActivateMenuForId(static_cast<UINT>(-1));
}

void SECMDIFrameWnd::AddMenuForId(UINT nID, HMENU hMenu) {
    HMENU& slot = m_menusById[nID];
    if (slot && slot != hMenu) {
        ::DestroyMenu(slot);
    }
    slot = hMenu;
}

HMENU SECMDIFrameWnd::GetMenuForId(UINT nID) {
    if (m_hMenuBarMenu && nID == m_nIDMenuResource) {
        return m_hMenuBarMenu;
    }
    auto it = m_menusById.find(nID);
    return it == m_menusById.end() ? nullptr : it->second;
}

LRESULT SECMDIFrameWnd::OnGetMenu(WPARAM wParam, LPARAM lParam) {
    HMENU hMenu = GetMenuForId(static_cast<UINT>(wParam));
    return hMenu ? reinterpret_cast<LRESULT>(::GetSubMenu(hMenu, static_cast<int>(lParam))) : 0;
}

void SECMDIFrameWnd::ActivateMenuForId(UINT nID) {
    if (!m_pMenuBar || !m_pMenuFeature) {
        return;
    }
    const bool own =
        nID == 0 || nID == static_cast<UINT>(-1) || (nID == kMDIFloatHostResource && !GetMenuForId(nID));
    if (own) {
        nID = m_nIDMenuResource;
    }
    if (HMENU hMenu = GetMenuForId(nID)) {
        m_pMenuBar->AddMenu(nID, hMenu);
        m_pMenuFeature->SetMenuById(nID);
    }
    if (own) {
        RefreshMenuBar();
    }
    UpdateWindowMenu();
}

BOOL SECMDIFrameWnd::RefreshMenuBar() {
    if (!m_pMenuBar || !m_pMenuBar->UpdateMaximizedChild()) {
        return FALSE;
    }
    m_pMenuBar->Invalidate();
    RecalcLayout();
    return TRUE;
}

void SECMDIFrameWnd::UpdateWindowMenu() {
    if (!m_pMenuBar || !m_hWndMDIClient || ::GetMenu(m_hWnd)) {
        return;
    }
    if (HMENU hPopup = GetWindowMenuPopup(GetMenuForId(m_pMenuBar->m_nMenuShown))) {
        ::SendMessageW(m_hWndMDIClient, WM_MDISETMENU, 0, reinterpret_cast<LPARAM>(hPopup));
    }
}

BOOL SECMDIFrameWnd::PreTranslateMessage(MSG* pMsg) {
    if (m_pMenuFeature && m_pMenuFeature->PreTranslateMessage(pMsg)) {
        return TRUE;
    }
    return CMDIFrameWnd::PreTranslateMessage(pMsg);
}
