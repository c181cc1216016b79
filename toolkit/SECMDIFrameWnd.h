// The docking-aware MDI frame: toolkit dock bars and floating frames as in SECFrameWnd, bars floated inside
// the main window as MDI children (each in a host window of the MDI float host class), and default dock
// positions handed out to new bars in turn.
#pragma once

#include "platform/framework/CMDIChildWnd.h"
#include "platform/framework/CMDIFrameWnd.h"
#include "toolkit/SECDockBar.h"
#include "toolkit/SECFrameFilters.h"
#include "toolkit/SECMDIChildWnd.h"
#include "toolkit/SECMDIFloatHost.h"

#include <map>
#include <memory>
#include <vector>

class SECMDIMenuBar;
class SECMenuBarFeature;

// The resource of MDI float hosts (title, menu, icon and accelerators, any of them may be missing).
inline constexpr UINT kMDIFloatHostResource = 20514;
class SECDockState;
class SECToolBarManager;

class SECMDIFrameWnd : public CMDIFrameWnd {
    DECLARE_DYNCREATE(SECMDIFrameWnd)

public:
    SECMDIFrameWnd();
    ~SECMDIFrameWnd() override;

    CDockBar* CreateDockBar(UINT nID) override;
    // Dock bars on the sides in dwDockStyle, and toolkit floating frames.
    void EnableDocking(DWORD dwDockStyle);
    // Docks on the dock bar nDockBarID (0: the one the bar's alignment names) at the requested place, the bar
    // taking `fProportion` of its row and `nSize` across it.
    virtual void DockControlBarEx(CControlBar* pBar, SECDockPos pos, UINT nDockBarID = 0,
                                  float fProportion = 1.0f, int nSize = 150);
    virtual void DockControlBarAtRowColEx(CControlBar* pBar, UINT nDockBarID, int nRow, int nCol,
                                          float fProportion = 1.0f, int nSize = 150);
    virtual void FloatControlBarEx(CControlBar* pBar, int x, int y, DWORD dwStyle = CBRS_ALIGN_TOP);
    // Floats the bar inside the MDI client as a child window; x or y negative: at the next cascade place.
    virtual void FloatControlBarInMDIChild(CControlBar* pBar, int x, int y, DWORD dwStyle = CBRS_ALIGN_TOP);
    // A new host window of the MDI float host class, or null.
    virtual class CMDIChildWnd* CreateMDIFloatHost(DWORD dwStyle, CControlBar* pBar);
    // Where the next bar floated inside the main window goes when the caller gives no place: MDI client
    // coordinates, starting at (30, 30) and stepping by (20, 23), back to 30 in a direction that passes the
    // client's extent less 30.
    CPoint NextMDIFloatPosition();
    // Clamps an MDI client position so that a host stays reachable: x within the client's width, y within
    // its height less 30.
    CPoint ClampMDIFloatPosition(CPoint point) const;
    // The next of the default dock places handed out to new bars: bottom, left and right in turn, each
    // starting a new row at first.
    virtual void GetNextDockPosition(UINT& nDockBarID, SECDockPos& pos, float& fProportion, int& nSize);

    void RecalcLayout(BOOL bNotify = TRUE) override;

    // Dockable frames: the one clicked last is the active frame in place of the active MDI child, the one
    // that gets commands and shows an active caption; activating a child clears it again.
    virtual void SetActiveDockableFrame(CFrameWnd* pFrame);
    // Clears the active dockable frame; with bActivateMDI the active MDI child shows active again.
    virtual void DeactivateDockableFrame(BOOL bActivateMDI);
    CFrameWnd* GetActiveDockableFrame() const { return m_pActiveDockableFrame; }
    // The frame inside a bar (its first child when that is a toolkit frame), or null.
    virtual CFrameWnd* GetDockableFrame(CControlBar* pBar);
    // Floating, the frame inside takes the main window's caption and borders from the floating frame around
    // it; docked, it gets its own styles back.
    virtual void SetDockableFrameFloating(CFrameWnd* pFrame, BOOL bFloating);
    // The floating form, fitted, while its bar floats in a floating frame, else the docked form.
    void SyncDockableFrameForm(CFrameWnd* pFrame);
    // Covers the floating frame around the dockable frame.
    virtual void FitDockableFrame(CFrameWnd* pFrame);
    CFrameWnd* GetActiveFrame() override;
    CDocument* GetActiveDocument() override;
    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;

    // Which caption filters are on: bit 0 (SEC_CAPTION_CFG_MODES) the window-mode commands; the maximised
    // document window's caption buttons in the menu row always.
    virtual void ConfigureCaptionButtons(UINT nFlags);
    LRESULT DefWindowProcW(UINT message, WPARAM wParam, LPARAM lParam) override;

    // Menu-bar mode, chosen before the window is created: the toolkit's menu bar, made with the window, in
    // place of a window menu. It shows the frame's own menu, or the menu of the active document window's id.
    void SetMenuBarMode(BOOL bMenuBar) { m_bMenuBarMode = bMenuBar; }
    BOOL IsMenuBarMode() const { return m_pMenuBar != nullptr; }
    // The frame's own menu and its id, and menus by id for document windows; the frame destroys them.
    void SetFrameMenu(UINT nID, HMENU hMenu);
    void AddMenuForId(UINT nID, HMENU hMenu);
    virtual HMENU GetMenuForId(UINT nID);
    // The menu bar shows the menu of the id; -1 (or 0) the frame's own, as does a bar's host window without
    // a menu of its own.
    virtual void ActivateMenuForId(UINT nID);
    // The maximised document window's buttons follow it; TRUE when they changed.
    virtual BOOL RefreshMenuBar();
    // The MDI client lists the document windows in the window popup of the menu shown.
    virtual void UpdateWindowMenu();
    SECMDIMenuBar* GetMenuBar() const { return m_pMenuBar; }
    SECMenuBarFeature* GetMenuFeature() const { return m_pMenuFeature.get(); }
    BOOL PreTranslateMessage(MSG* pMsg) override;

    virtual BOOL LoadBarLayout(LPCTSTR lpszProfileName);
    virtual void SaveBarLayout(LPCTSTR lpszProfileName);
    // Ask the dock state to apply itself to this frame, or to collect this frame's layout.
    virtual void ApplyDockState(SECDockState& state);
    virtual void CollectDockState(SECDockState& state);
    // The frame's toolbar manager (not owned): it gives saved toolbars their titles and buttons and makes
    // the user toolbars a layout names.
    virtual SECToolBarManager* GetToolBarManager() const { return m_pToolBarMgr; }
    virtual void SetToolBarManager(SECToolBarManager* pManager) { m_pToolBarMgr = pManager; }

    SECToolBarManager* m_pToolBarMgr = nullptr;
    std::vector<CControlBar*> m_ownedBars; // bars a layout made by their class, deleted with the frame

    CRect m_rectLastViewArea;
    CRuntimeClass* m_pMDIFloatHostClass; // SECControlBarMDIChildWnd or a class derived from it
    CPoint m_ptNextMDIFloat{30, 30};
    BOOL m_bInMDITransition = FALSE; // set while a bar switches into or out of floating in the main window
    std::vector<UINT> m_dockSequence;   // dock-bar ids, 0 marks a new row
    std::size_t m_nDockSequenceCursor = 0;
    CFrameWnd* m_pActiveDockableFrame = nullptr;
    SECFrameFilterTree m_filters{this};
    BOOL m_bMenuBarMode = FALSE;
    SECMDIMenuBar* m_pMenuBar = nullptr; // deletes itself with its window
    std::unique_ptr<SECMenuBarFeature> m_pMenuFeature;
    UINT m_nIDMenuResource = 0;
    HMENU m_hMenuBarMenu = nullptr;
    std::map<UINT, HMENU> m_menusById;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    int OnCreate(LPCREATESTRUCT lpcs);
    // The menu bar and its feature; the maximised child's buttons then live in the bar, not the caption.
    BOOL CreateMenuBarFeature();
    // The feature that drives the bar's menu mode.
    virtual SECMenuBarFeature* NewMenuBarFeature(SECMDIMenuBar* pBar);
    // The pop-up at a position of the menu of an id ("WM_SECGETMENU").
    LRESULT OnGetMenu(WPARAM wParam, LPARAM lParam);
    void DestroyMenus();

    DECLARE_MESSAGE_MAP()
};

// The host window of a bar floated inside an MDI frame's client, an MDI document window of the toolkit.
class SECControlBarMDIChildWnd : public SECMDIFloatHostWnd<SECMDIChildWnd> {
    DECLARE_DYNCREATE(SECControlBarMDIChildWnd)
};
