// The toolkit's document window inside a docking-aware MDI frame: a click into it activates it in the MDI
// client and gives its view the focus notice, and it repaints its caption active. It remembers the last menu
// it was given so that the frame can show it again. Its caption buttons are the toolkit's, kept in a tree of
// message filters.
#pragma once

#include "platform/framework/CMDIChildWnd.h"
#include "toolkit/SECFrameFilters.h"

class SECMDIChildWnd : public CMDIChildWnd {
    DECLARE_DYNCREATE(SECMDIChildWnd)

public:
    SECMDIChildWnd();

    BOOL LoadFrame(UINT nIDResource, DWORD dwDefaultStyle = WS_CHILD | WS_VISIBLE | WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE,
                   CWnd* pParentWnd = nullptr, CCreateContext* pContext = nullptr) override;
    void OnUpdateFrameMenu(BOOL bActivate, CWnd* pActivateWnd, HMENU hMenuAlt) override;
    // The frame's menu for this child again, with the menu it was last given.
    virtual void ReapplyFrameMenu(CWnd* pActivateWnd);
    // Which caption filters are on (SEC_CAPTION_CFG_*): without window modes only the standard buttons.
    virtual void ConfigureCaptionButtons(UINT nFlags);
    LRESULT DefWindowProcW(UINT message, WPARAM wParam, LPARAM lParam) override;

    BOOL m_bMenuBarMode = FALSE;
    UINT m_nMenuId = 0;
    HMENU m_hMenuAlt = nullptr;
    SECFrameFilterTree m_filters{this};

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    // Brings the child forward in its client as a click into it does.
    void ActivateFromClick();
    // Clears the MDI frame's active dockable frame.
    void DropActiveDockableFrame();
    int OnMouseActivate(CWnd* pDesktopWnd, UINT nHitTest, UINT message);
    void OnParentNotify(UINT message, LPARAM lParam);
    void OnChildActivate();
    void OnDestroy();
    LRESULT OnMDIActivate(WPARAM wParam, LPARAM lParam);
    void OnSize(UINT nType, int cx, int cy);
    // The docking-aware MDI frame when it shows a menu bar, else null.
    class SECMDIFrameWnd* MenuBarFrame() const;

    DECLARE_MESSAGE_MAP()
};
