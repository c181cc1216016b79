// Control bars: windows along a frame's edges (toolbars, status bars, dock bars) that the frame lays out by
// WM_SIZEPARENT before giving the rest to the view. A bar keeps its own CBRS_* style word beside the window
// style, draws its borders and gripper in its non-client area, forwards the notifications its controls send
// it to its owner, and updates its items at idle time through CCmdUI.
#pragma once

#include "platform/controls/CommonControls.h"
#include "platform/framework/CWnd.h"

class CFrameWnd;
class CDockBar;
class CDockContext;

// Bar styles (CControlBar::m_dwStyle; the window style never carries them).
#define CBRS_ALIGN_LEFT 0x1000L
#define CBRS_ALIGN_TOP 0x2000L
#define CBRS_ALIGN_RIGHT 0x4000L
#define CBRS_ALIGN_BOTTOM 0x8000L
#define CBRS_ALIGN_ANY 0xF000L
#define CBRS_BORDER_LEFT 0x0100L
#define CBRS_BORDER_TOP 0x0200L
#define CBRS_BORDER_RIGHT 0x0400L
#define CBRS_BORDER_BOTTOM 0x0800L
#define CBRS_BORDER_ANY 0x0F00L
#define CBRS_TOOLTIPS 0x0010L
#define CBRS_FLYBY 0x0020L
#define CBRS_FLOAT_MULTI 0x0040L
#define CBRS_BORDER_3D 0x0080L
#define CBRS_HIDE_INPLACE 0x0008L
#define CBRS_SIZE_DYNAMIC 0x0004L
#define CBRS_SIZE_FIXED 0x0002L
#define CBRS_FLOATING 0x0001L
#define CBRS_GRIPPER 0x00400000L
#define CBRS_ORIENT_HORZ (CBRS_ALIGN_TOP | CBRS_ALIGN_BOTTOM)
#define CBRS_ORIENT_VERT (CBRS_ALIGN_LEFT | CBRS_ALIGN_RIGHT)
#define CBRS_ORIENT_ANY (CBRS_ORIENT_HORZ | CBRS_ORIENT_VERT)
#define CBRS_ALL 0x0040FFFFL
#define CBRS_NOALIGN 0x00000000L
#define CBRS_LEFT (CBRS_ALIGN_LEFT | CBRS_BORDER_RIGHT)
#define CBRS_TOP (CBRS_ALIGN_TOP | CBRS_BORDER_BOTTOM)
#define CBRS_RIGHT (CBRS_ALIGN_RIGHT | CBRS_BORDER_LEFT)
#define CBRS_BOTTOM (CBRS_ALIGN_BOTTOM | CBRS_BORDER_TOP)

// The layout modes of CalcDynamicLayout.
#define LM_STRETCH 0x01
#define LM_HORZ 0x02
#define LM_MRUWIDTH 0x04
#define LM_HORZDOCK 0x08
#define LM_VERTDOCK 0x10
#define LM_LENGTHY 0x20
#define LM_COMMIT 0x40

class CControlBar : public CWnd {
    DECLARE_DYNAMIC(CControlBar)

public:
    CControlBar();
    ~CControlBar() override;

    int GetCount() const { return m_nCount; }
    void SetBarStyle(DWORD dwStyle);
    DWORD GetBarStyle() const { return m_dwStyle; }
    void SetBorders(int cxLeft = 0, int cyTop = 0, int cxRight = 0, int cyBottom = 0);
    void SetBorders(LPCRECT lpRect) { SetBorders(lpRect->left, lpRect->top, lpRect->right, lpRect->bottom); }
    CRect GetBorders() const {
        return CRect(m_cxLeftBorder, m_cyTopBorder, m_cxRightBorder, m_cyBottomBorder);
    }
    CFrameWnd* GetDockingFrame() const;
    BOOL IsFloating() const;
    // Which sides the bar may dock on (CBRS_ALIGN_*), and whether it may float at all (CBRS_FLOAT_MULTI).
    void EnableDocking(DWORD dwDockStyle);
    BOOL EnableToolTips(BOOL bEnable = TRUE);

    virtual CSize CalcFixedLayout(BOOL bStretch, BOOL bHorz);
    virtual CSize CalcDynamicLayout(int nLength, DWORD nMode);
    // The client rectangle less the borders and the gripper.
    virtual void CalcInsideRect(CRect& rect, BOOL bHorz) const;
    virtual void OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler) = 0;
    virtual void DoPaint(CDC* pDC);
    virtual void DrawBorders(CDC* pDC, CRect& rect);
    virtual void DrawGripper(CDC* pDC, const CRect& rect);
    virtual void DelayShow(BOOL bShow);
    virtual BOOL IsVisible() const;
    virtual DWORD RecalcDelayShow(AFX_SIZEPARENTPARAMS* lpLayout);
    virtual void OnBarStyleChange(DWORD dwOldStyle, DWORD dwNewStyle);
    virtual BOOL IsDockBar() const { return FALSE; }
    // A floating bar alone in its frame takes the frame with it.
    BOOL DestroyWindow() override;
    // The item under `point` (client coordinates), or -1; pressing anywhere else drags the bar.
    virtual INT_PTR OnToolHitTest(CPoint point, TOOLINFO* pTI) const;

    BOOL m_bAutoDelete = FALSE;
    int m_cxLeftBorder = 6;
    int m_cxRightBorder = 6;
    int m_cyTopBorder = 1;
    int m_cyBottomBorder = 1;
    int m_cxDefaultGap = 2;
    UINT m_nMRUWidth = 32767;
    int m_nCount = 0;
    void* m_pData = nullptr; // AllocElements
    enum StateFlags { delayHide = 1, delayShow = 2, tempHide = 4, statusSet = 8 };
    UINT m_nStateFlags = 0;
    UINT m_nFlybyID = 0; // the item whose prompt CBRS_FLYBY shows (0: none)
    DWORD m_dwStyle = 0;
    DWORD m_dwDockStyle = 0;
    CFrameWnd* m_pDockSite = nullptr;
    CDockBar* m_pDockBar = nullptr;
    CDockContext* m_pDockContext = nullptr;

protected:
    // Zeroed storage for nElements items of cbElement bytes (plain records only).
    BOOL AllocElements(int nElements, int cbElement);
    // Creates the window: the CBRS_* bits of dwStyle go to m_dwStyle, the rest to the window; the bar joins
    // the control bars of the frame it lives in.
    BOOL CreateBar(DWORD dwExStyle, LPCTSTR lpszClassName, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd,
                   UINT nID);
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    void PostNcDestroy() override;
    // CBRS_FLYBY: the prompt of the item under the mouse in the frame's status bar, the idle prompt after.
    void UpdateFlyby(UINT message, LPARAM lParam);
    // The gripper's breadth, or 0.
    int GripperSize() const;

    LRESULT OnSizeParent(WPARAM wParam, LPARAM lParam);
    LRESULT OnIdleUpdateCmdUI(WPARAM wParam, LPARAM lParam);
    int OnCreate(LPCREATESTRUCT lpcs);
    void OnDestroy();
    void OnPaint();
    BOOL OnEraseBkgnd(CDC* pDC);
    void OnNcCalcSize(BOOL bCalcValidRects, NCCALCSIZE_PARAMS* lpncsp);
    void OnNcPaint();
    void OnLButtonDown(UINT nFlags, CPoint point);
    void OnLButtonDblClk(UINT nFlags, CPoint point);

    DECLARE_MESSAGE_MAP()
};
