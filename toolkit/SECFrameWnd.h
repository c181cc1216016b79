// The docking-aware frame: toolkit dock bars on its edges and toolkit floating frames, docking at a row and
// column with a share of the row, floating that understands sizing bars, and repaint of what a layout moved.
#pragma once

#include "platform/framework/CFrameWnd.h"
#include "toolkit/SECDockBar.h"

#include <vector>

class SECDockState;
class SECToolBarManager;

class SECFrameWnd : public CFrameWnd {
    DECLARE_DYNCREATE(SECFrameWnd)

public:
    SECFrameWnd();
    ~SECFrameWnd() override;

    CDockBar* CreateDockBar(UINT nID) override;
    // Dock bars on the sides in dwDockStyle, and toolkit floating frames.
    void EnableDocking(DWORD dwDockStyle);
    // Docks on the dock bar nDockBarID (0: the first the bar's alignment names) at a row and column, the
    // bar taking `fProportion` of its row and `nSize` across it.
    virtual void DockControlBarEx(CControlBar* pBar, UINT nDockBarID = 0, int nCol = 0, int nRow = 0,
                                  float fProportion = 1.0f, int nSize = 150);
    // Floats the bar at (x, y) (screen): a bar alone in a floating frame moves that frame.
    virtual void FloatControlBarEx(CControlBar* pBar, int x, int y, DWORD dwStyle = CBRS_ALIGN_TOP);
    void RecalcLayout(BOOL bNotify = TRUE) override;
    // The bar layout in the profile under `lpszProfileName`: a missing or damaged one leaves the layout
    // as it is (FALSE).
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

    // The dock bar a bar of this alignment docks on (the first of top, bottom, left, right it matches).
    SECDockBar* DockBarFor(DWORD dwAlign);

    // The gradient caption (off after construction); the previous setting.
    BOOL EnableGradientCaption(BOOL bEnable = TRUE, BOOL bRedraw = TRUE);
    // Paints the gradient caption onto the window's non-client area.
    virtual void DrawCaption();

    CRect m_rectLastViewArea;
    BOOL m_bGradientCaption = FALSE;
    BOOL m_bCaptionActive = FALSE;
    int m_nCaptionAlignment = 0; // 0 left, 1 centred, else right

protected:
    void OnNcPaint();
    BOOL OnNcActivate(BOOL bActive);
    LRESULT OnSetText(WPARAM wParam, LPARAM lParam);
    // The default processing of a message with WS_VISIBLE off for the call, so that it paints no caption.
    LRESULT DefaultHidden();
    DECLARE_MESSAGE_MAP()
};

// The layout mode that measures a bar as it is docked: floating sizing bars by their floating size,
// horizontal bars docked on top or bottom, the rest docked left or right.
DWORD SECBarLayoutMode(const CControlBar* pBar);
