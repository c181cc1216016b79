// The menu bar's menu mode, driven by the frame's messages and three thread hooks: Alt and Alt+letter from
// the frame's pre-translation, arrows, Escape and Down from a keyboard hook and the pointer from a mouse
// hook while a button is only highlighted, and arrows and pointer moves from a message filter while a
// pop-up is tracked. One menu mode runs at a time in the process.
#pragma once

#include "toolkit/SECMenuBar.h"

class SECMenuBarMessages {
public:
    SECMenuBarMessages() = default;
    SECMenuBarMessages(const SECMenuBarMessages&) = delete;
    SECMenuBarMessages& operator=(const SECMenuBarMessages&) = delete;
    virtual ~SECMenuBarMessages();

    void SetMenuBar(SECMenuBar* pBar) { m_pMenuBar = pBar; }
    SECMenuBar* GetMenuBar() const { return m_pMenuBar; }

    virtual void RequestAdjacentMenu(int nDirection);
    virtual void CancelMenuMode();
    virtual BOOL SetMenuById(UINT nID);
    virtual void DropDownSelected();
    virtual void TrackMouseAt(CPoint ptScreen);
    virtual void IgnoreNextAltUp() { m_bIgnoreAltUp = TRUE; }
    virtual BOOL HitSystemIcon(const MSG& msg) const;
    virtual CWnd* GetFrame() = 0;
    // Shows the pop-up under the button the record names; returns when it closes.
    virtual void TrackMenu(SECMenuBar* pBar, HMENU hMenu, const SECNMTOOLBAR& nm);
    virtual void TrackSystemMenu(SECMenuBar* pBar, HMENU hMenu, const SECNMTOOLBAR& nm);
    virtual void HookMenuMessages(BOOL bOn);
    virtual void HookKeyboardAndMouse(BOOL bOn);
    // From the frame's pre-translation; TRUE when the message is consumed.
    virtual BOOL PreTranslate(const MSG& msg);
    virtual BOOL OnMenuSelect();
    virtual void OnMenuProd();
    virtual BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult);
    virtual BOOL OnInitMenuPopup();
    virtual BOOL OnSysCommand(UINT nID, LPARAM lParam);
    virtual BOOL OnNcActivate(BOOL bActive);

    // The hooks' work, for the active menu mode; TRUE eats the event.
    BOOL FilterMenuMessage(const MSG& msg);
    BOOL FilterKey(WPARAM vk, LPARAM lParam);
    void FilterMouse(UINT message, CPoint ptScreen);

    BOOL m_bPressDown = FALSE;
    BOOL m_bSelectionChanged = FALSE;
    int m_nDirection = 0;
    BOOL m_bIgnoreAltUp = FALSE;

    // Which menu mode is running, and whether a pop-up is shown (the bar's window while it is).
    static SECMenuBarMessages* GetActive();
    static HWND GetTrackedWindow();

protected:
    // Opens the button whose mnemonic is the character, or the system menu for space and "-".
    BOOL OpenByKey(char16_t ch, BOOL bConsumeUnmatched);
    HMENU SystemMenu();
    // Shows what one open request asks for, then the requests that arrived meanwhile.
    void ProcessOpen(const SECNMTOOLBAR& nm);
    HMENU MenuFor(const SECNMTOOLBAR& nm, BOOL& bSystem);

    SECMenuBar* m_pMenuBar = nullptr;
};

// The registered "WM_SEC_MENUPROD", posted to the frame after an arrow key in a pop-up.
UINT SECGetMenuProdMessage();
