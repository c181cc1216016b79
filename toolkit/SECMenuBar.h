// The menu bar: a toolbar whose buttons are the top-level menus of a menu, in the system menu font. Menus
// are kept by id; the frame (or, when the frame does not answer "WM_SECGETMENU", the bar's own table) says
// which pop-up a button opens. Menu mode (keys and mouse) is driven by SECMenuBarMessages.
#pragma once

#include "toolkit/SECCustomToolBar.h"

#include <map>

class SECTBMenuBtn;

// The control id of the menu bar.
#define SEC_IDW_MENUBAR 59647u

class SECMenuBar : public SECCustomToolBar {
    DECLARE_DYNCREATE(SECMenuBar)

public:
    SECMenuBar();
    ~SECMenuBar() override;

    virtual BOOL CreateMenuBar(CWnd* pParentWnd,
                               DWORD dwStyle = WS_CHILD | WS_VISIBLE | CBRS_ALIGN_TOP | CBRS_SIZE_DYNAMIC,
                               UINT nID = SEC_IDW_MENUBAR);

    // The menus the bar can show, by id; the bar does not own them.
    void AddMenu(UINT nID, HMENU hMenu) { m_menus[nID] = hMenu; }
    HMENU FindMenu(UINT nID) const;
    virtual BOOL SetMenuById(UINT nID);
    // One button per top-level item of the menu (nFlags is kept for callers of the original; unused).
    virtual BOOL SetMenu(HMENU hMenu, UINT nFlags = 0);
    HMENU GetMenu() const { return m_hMenuShown; }
    // The pop-up a button's menu id and position stand for, from the bar's own table.
    HMENU PopupFor(LPARAM nMenuId, int nSubMenu) const;

    // The button whose mnemonic is the character, or -1.
    virtual int FindMnemonic(char16_t ch) const;
    virtual void ResetMnemonics();
    SECTBMenuBtn* GetMenuButton(int nIndex) const;

    void MoveToAdjacent(BOOL bRight);
    void OpenSystemMenu();
    void DropDownSelected();

    std::map<UINT, HMENU> m_menus;
    CFont m_font;
    UINT m_nMenuShown = 0;
    HMENU m_hMenuShown = nullptr;
    BOOL m_bEmptyAreaDefault = FALSE;

protected:
    void MakeFont();
    void OnSettingChange(UINT uFlags, LPCTSTR lpszSection);
    void OnLButtonDown(UINT nFlags, CPoint point);
    void OnLButtonDblClk(UINT nFlags, CPoint point);

    DECLARE_MESSAGE_MAP()
};

// The registered "WM_SECGETMENU": wParam the menu id, lParam the sub-menu position; the answer is the menu.
UINT SECGetMenuRequestMessage();
