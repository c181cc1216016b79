#include "toolkit/SECMenuBar.h"

#include "toolkit/SECTBMenuBtn.h"

#include "platform/framework/CFrameWnd.h"

IMPLEMENT_DYNCREATE(SECMenuBar, SECCustomToolBar)

UINT SECGetMenuRequestMessage() {
    static const UINT message = ::RegisterWindowMessageW(u"WM_SECGETMENU");
    return message;
}

SECMenuBar::SECMenuBar() {
    MakeFont();
    SECGetMenuRequestMessage();
}

SECMenuBar::~SECMenuBar() = default;

void SECMenuBar::MakeFont() {
    m_font.DeleteObject();
    NONCLIENTMETRICSW ncm{};
    ncm.cbSize = sizeof ncm;
    ::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof ncm, &ncm, 0);
    if (m_font.CreateFontIndirect(&ncm.lfMenuFont)) {
        m_hFont = static_cast<HFONT>(m_font.m_hObject);
    }
}

BOOL SECMenuBar::CreateMenuBar(CWnd* pParentWnd, DWORD dwStyle, UINT nID) {
    if (!CreateToolBarEx(CBRS_EX_FLATSTYLE | CBRS_EX_GRIPPER, pParentWnd, dwStyle, nID, u"Menu Bar")) {
        return FALSE;
    }
    EnableDocking(CBRS_ALIGN_TOP | CBRS_ALIGN_BOTTOM);
    return TRUE;
}

HMENU SECMenuBar::FindMenu(UINT nID) const {
    auto it = m_menus.find(nID);
    return it == m_menus.end() ? nullptr : it->second;
}

BOOL SECMenuBar::SetMenuById(UINT nID) {
    HMENU hMenu = FindMenu(nID);
    if (!hMenu && nID == 20514) {
        // The main window's own menu.
        if (CFrameWnd* pFrame = GetParentFrame()) {
            hMenu = ::GetMenu(pFrame->m_hWnd);
        }
    }
    if (!hMenu || !SetMenu(hMenu)) {
        return FALSE;
    }
    m_nMenuShown = nID;
    return TRUE;
}

BOOL SECMenuBar::SetMenu(HMENU hMenu, UINT) {
    if (!::IsMenu(hMenu)) {
        return FALSE;
    }
    RemoveAllButtons();
    m_nMaxBtnWidth = 0;
    m_hMenuShown = hMenu;
    const int count = ::GetMenuItemCount(hMenu);
    for (int pos = 0; pos < count; ++pos) {
        char16_t text[256] = {};
        ::GetMenuStringW(hMenu, static_cast<UINT>(pos), reinterpret_cast<LPWSTR>(text), 256, MF_BYPOSITION);
        SECTBMenuBtn::CreateData data;
        data.lpszText = text;
        // A menu kept in the table is asked for by id and position; any other by its pop-up's handle.
        if (m_nMenuShown && FindMenu(m_nMenuShown) == hMenu) {
            data.nMenuId = m_nMenuShown;
            data.nSubMenu = pos;
        }
        auto* pBtn = new SECTBMenuBtn;
        pBtn->m_nID = 0;
        pBtn->Init(this, &data);
        if (!data.nMenuId) {
            pBtn->m_nMenuId = reinterpret_cast<LPARAM>(::GetSubMenu(hMenu, pos));
            pBtn->m_nSubMenu = -1;
        }
        pBtn->SetOrientation(m_nOrientation);
        m_btns.push_back(pBtn);
    }
    RecalcParentLayout();
    return TRUE;
}

HMENU SECMenuBar::PopupFor(LPARAM nMenuId, int nSubMenu) const {
    if (nSubMenu < 0) {
        return ::IsMenu(reinterpret_cast<HMENU>(nMenuId)) ? reinterpret_cast<HMENU>(nMenuId) : nullptr;
    }
    HMENU hMenu = FindMenu(static_cast<UINT>(nMenuId));
    return hMenu ? ::GetSubMenu(hMenu, nSubMenu) : nullptr;
}

SECTBMenuBtn* SECMenuBar::GetMenuButton(int nIndex) const {
    SECStdBtn* pBtn = GetButton(nIndex);
    return pBtn && pBtn->m_nType == SEC_BTN_TOPMENU ? static_cast<SECTBMenuBtn*>(pBtn) : nullptr;
}

int SECMenuBar::FindMnemonic(char16_t ch) const {
    for (int i = 0; i < GetBtnCount(); ++i) {
        const SECTBMenuBtn* pBtn = GetMenuButton(i);
        if (pBtn && !(pBtn->m_nStyle & (SEC_TBBS_HIDDEN | SEC_TBBS_DISABLED)) && pBtn->m_chMnemonic == ch) {
            return i;
        }
    }
    return -1;
}

void SECMenuBar::ResetMnemonics() {
    for (int i = 0; i < GetBtnCount(); ++i) {
        if (SECTBMenuBtn* pBtn = GetMenuButton(i)) {
            pBtn->UpdateMnemonic();
        }
    }
}

void SECMenuBar::MoveToAdjacent(BOOL bRight) {
    int nNext = NextMenuButton(bRight);
    if (nNext < 0) {
        // Past the last (or before the first) the row starts again at the other end.
        nNext = bRight ? FirstMenuButton() : LastMenuButton();
    }
    if (m_bMenuMode) {
        SelectMenuButton(nNext);
    } else if (nNext < 0) {
        OpenSystemMenu();
    } else {
        MoveMenuTo(nNext);
    }
}

void SECMenuBar::OpenSystemMenu() {
    if (SECStdBtn* pOpen = GetButton(m_nMenuBtn); pOpen && m_bMenuOpen) {
        pOpen->BtnPressCancel();
    }
    NotifyOwner(SEC_TBN_OPENMENU, -1, 0, -1);
}

void SECMenuBar::DropDownSelected() {
    int nSelected = m_nMenuBtn;
    ExitMenuMode();
    if (SECStdBtn* pBtn = GetButton(nSelected)) {
        MoveMenuTo(nSelected);
        (void)pBtn;
    } else {
        OpenSystemMenu();
    }
}

void SECMenuBar::OnSettingChange(UINT, LPCTSTR) {
    MakeFont();
    RecalcButtonSizes();
    if (CFrameWnd* pFrame = GetDockingFrame()) {
        pFrame->RecalcLayout();
    }
    Invalidate(FALSE);
}

void SECMenuBar::OnLButtonDown(UINT nFlags, CPoint point) {
    if (m_bEmptyAreaDefault && HitTest(point) < 0) {
        Default();
        return;
    }
    SECCustomToolBar::OnLButtonDown(nFlags, point);
}

void SECMenuBar::OnLButtonDblClk(UINT nFlags, CPoint point) {
    if (m_bEmptyAreaDefault && HitTest(point) < 0) {
        Default();
        return;
    }
    SECCustomToolBar::OnLButtonDblClk(nFlags, point);
}

BEGIN_MESSAGE_MAP(SECMenuBar, SECCustomToolBar)
ON_WM_SETTINGCHANGE()
ON_WM_LBUTTONDOWN()
ON_WM_LBUTTONDBLCLK()
END_MESSAGE_MAP()
