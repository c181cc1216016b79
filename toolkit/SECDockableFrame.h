// A frame with its own view that lives in a frame bar, so that it docks and floats like a bar. In a
// docking-aware MDI frame it acts as an MDI child: a click makes it the frame's active dockable frame, which
// gets the commands and shows the active caption. Its caption and borders drag the bar while it is docked;
// while it floats they drag and size the floating frame around it.
#pragma once

#include "toolkit/SECControlBar.h"
#include "toolkit/SECFrameWnd.h"

class SECMDIFrameWnd;
class SECFrameBar;

// Where the dockable frame's own styles wait while it floats with the main window's caption and borders.
inline constexpr const char16_t* kSECDockedStyleProp = u"SECDockableFrame PreFloat Docked Style";
inline constexpr const char16_t* kSECDockedExStyleProp = u"SECDockableFrame PreFloat Docked ExStyle";

class SECDockableFrame : public SECFrameWnd {
    DECLARE_DYNCREATE(SECDockableFrame)

public:
    SECDockableFrame();
    ~SECDockableFrame() override;

    // A new frame bar (id nBarID, titled as the frame) on `pDockSite`, allowed to dock on every side, with
    // this frame inside, loaded from nIDResource with the context's view. The bar deletes itself with its
    // window; FALSE when either cannot be made (nothing is left behind, and this object is not deleted).
    BOOL CreateInBar(CFrameWnd* pDockSite, UINT nIDResource, UINT nBarID, CCreateContext* pContext,
                     DWORD dwBarExStyle = 0);

    BOOL PreCreateWindow(CREATESTRUCT& cs) override;
    BOOL PreTranslateMessage(MSG* pMsg) override;
    // Created as a child of `pParentWnd` (its host bar); the menu (the template's for dockable frames when
    // the context names one, else the resource's) is kept for the main window's menu bar while this frame
    // is active.
    BOOL LoadFrame(UINT nIDResource, DWORD dwDefaultStyle = WS_CHILD | WS_VISIBLE | WS_CAPTION | FWS_ADDTOTITLE,
                   CWnd* pParentWnd = nullptr, CCreateContext* pContext = nullptr) override;
    // The main window's title first; then the caption reads the document's title, with ":n" when several
    // frames show it.
    void OnUpdateFrameTitle(BOOL bAddToTitle) override;
    // Destroys the host bar, which takes this frame with it.
    BOOL DestroyWindow() override;
    // The main window's menu bar while this frame becomes (bActivate) or stops being the active one.
    virtual void UpdateFrameMenu(BOOL bActivate, CWnd* pActivateWnd, HMENU hMenuAlt);
    virtual BOOL IsHostFloating();

    // The bar this frame lives in, or null.
    CControlBar* GetHostBar() const;
    // The docking-aware MDI frame this frame acts as a child of: its parent frame, else the main window,
    // when that is one.
    SECMDIFrameWnd* GetMDIFrame() const;

    HMENU m_hMenu = nullptr;
    BOOL m_bSharedMenu = FALSE; // the template's, not destroyed with the frame

protected:
    // Makes this the MDI frame's active dockable frame.
    void Activate();
    void OnActivate(UINT nState, CWnd* pWndOther, BOOL bMinimized);
    int OnMouseActivate(CWnd* pDesktopWnd, UINT nHitTest, UINT message);
    void OnParentNotify(UINT message, LPARAM lParam);
    void OnNcLButtonDown(UINT nHitTest, CPoint point);
    void OnNcLButtonDblClk(UINT nHitTest, CPoint point);
    void OnDestroy();
    DECLARE_MESSAGE_MAP()
};

// Whether `pBar` holds a dockable frame in its floating form (the floating frame around it then has no
// caption or borders of its own).
BOOL SECHostsFloatingDockableFrame(CControlBar* pBar);
