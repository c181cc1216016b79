// The menu bar of a docking-aware MDI frame: while the active document window is maximised it shows that
// window's icon (its system menu) before the menus and its minimise, restore and close buttons at the far
// end of the bar.
#pragma once

#include "toolkit/SECMenuBar.h"

class CMDIChildWnd;

class SECMDIMenuBar : public SECMenuBar {
    DECLARE_DYNCREATE(SECMDIMenuBar)

public:
    // Takes the whole row, so that the document window's buttons sit at its far end.
    BOOL CreateMenuBar(CWnd* pParentWnd,
                       DWORD dwStyle = WS_CHILD | WS_VISIBLE | CBRS_ALIGN_TOP | CBRS_SIZE_DYNAMIC,
                       UINT nID = SEC_IDW_MENUBAR) override;
    BOOL SetMenu(HMENU hMenu, UINT nFlags = 0) override;
    // Follows the maximised document window: TRUE when its buttons came, went or now stand for another
    // window.
    virtual BOOL UpdateMaximizedChild();
    // At idle too: a document window maximised, restored or closed by any path shows here.
    void OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler) override;

    HWND m_hWndMaxChild = nullptr;

private:
    void AddChildButtons(CMDIChildWnd* pChild);
    void RemoveChildButtons();
};
