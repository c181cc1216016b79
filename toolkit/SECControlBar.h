// The base of the toolkit's control bars: sizes remembered per docking state, a share of the dock row, an
// extended style word (borders, margins, gripper with close/expand buttons, proportional child layout,
// context menu) and hooks around docking and floating. Also the toolkit-wide metrics.
#pragma once

#include "platform/framework/CControlBar.h"
#include "platform/framework/CMenu.h"

#include <vector>

// Extended styles of SECControlBar.
#define CBRS_EX_STDCONTEXTMENU 0x0001L
#define CBRS_EX_STRETCH_ON_SIZE 0x0002L
#define CBRS_EX_FIXEDSIZE 0x0004L
#define CBRS_EX_COOLBORDERS 0x0008L
#define CBRS_EX_BORDERSPACE 0x0010L
#define CBRS_EX_ALLOW_MDI_FLOAT 0x0020L
#define CBRS_EX_SIZE_TO_FIT 0x0040L
#define CBRS_EX_FULL_ROW 0x0080L
#define CBRS_EX_FLATSTYLE 0x0100L
#define CBRS_EX_GRIPPER 0x0200L
#define CBRS_EX_GRIPPER_CLOSE 0x0400L
#define CBRS_EX_GRIPPER_EXPAND 0x0800L

// The context-menu commands and the gripper buttons' tooltip strings.
#define ID_SEC_ALLOWDOCKING 43040
#define ID_SEC_HIDE 43041
#define ID_SEC_MDIFLOAT 43042
#define IDS_SEC_HIDE_DOCKED 20655
#define IDS_SEC_EXPAND_DOCKED 20657
#define IDS_SEC_CONTRACT_DOCKED 20658
// Sent to the dock site with (bar, menu) so that the frame adds its own context-menu items.
#define WM_SEC_EXTENDCONTEXTMENU 0x38FF

struct ToolkitMetrics {
    int cxBorder = 1;
    int cyBorder = 1;
    COLORREF clrBtnFace = 0;
    COLORREF clrBtnShadow = 0;
    COLORREF clrBtnHilite = 0;
    COLORREF clrWindowFrame = 0;
    COLORREF clr3DLight = 0;
    COLORREF clr3DDkShadow = 0;
    COLORREF clrWindowText = 0;
    COLORREF clrWindow = 0;
    COLORREF clrHighlight = 0;
    COLORREF clrHighlightText = 0;
    HCURSOR hcurArrow = nullptr;
    HCURSOR hcurDockSizeH = nullptr;
    HCURSOR hcurDockSizeV = nullptr;
    HBRUSH hbrDither = nullptr;
    BOOL bIsNewShell = FALSE;
    BOOL bDockBarExtraEdge = FALSE;

    ToolkitMetrics();
    void ReloadColors();
};

// The program-wide record, the size every bar starts with, and whether child moves skip redrawing.
ToolkitMetrics& SECGetToolkitMetrics();
extern const CSize g_secDefaultBarSize;
extern BOOL g_secNoRedrawLayout;
// Registered with the metrics for the toolkit's combo boxes; nothing in this program reads them.
extern UINT g_secComboExNewItem;
extern UINT g_secComboExApply;
extern DWORD g_secMacroSignature;

class SECGripperInfo : public CObject {
public:
    SECGripperInfo();
    // Sums of the five horizontal and the five vertical metrics.
    virtual int GetWidth() const;
    virtual int GetHeight() const;

    int m_cxLeftGap = 4;
    int m_cxFirstBar = 3;
    int m_cxBarGap = 1;
    int m_cxSecondBar = 3;
    int m_cxRightGap = 6;
    int m_cyTopGap = 4;
    int m_cyFirstBar = 3;
    int m_cyBarGap = 1;
    int m_cySecondBar = 3;
    int m_cyBottomGap = 6;
    int m_nEndInset = 3;
    CString m_strHide;
    CString m_strExpand;
    CString m_strContract;
};

class SECControlBar : public CControlBar {
    DECLARE_DYNCREATE(SECControlBar)

public:
    SECControlBar();
    ~SECControlBar() override;

    virtual BOOL Create(CWnd* pParentWnd, LPCTSTR lpszWindowName, DWORD dwStyle, DWORD dwExStyle, UINT nID,
                        CCreateContext* pContext = nullptr);
    virtual BOOL CreateEx(LPCTSTR lpszClassName, LPCTSTR lpszWindowName, UINT nID, DWORD dwStyle,
                          DWORD dwExStyle, const RECT& rect, CWnd* pParentWnd,
                          CCreateContext* pContext = nullptr);
    using CWnd::Create;
    using CWnd::CreateEx;
    virtual void GetInsideRect(CRect& rectInside) const;
    virtual CDockContext* CreateDockContext();
    virtual void SetExStyle(DWORD dwExStyle, BOOL bRedraw = TRUE);
    virtual void ModifyExStyle(DWORD dwRemove, DWORD dwAdd, BOOL bRedraw = TRUE);
    DWORD GetExBarStyle() const { return m_dwExStyle; }
    void DrawBorders(CDC* pDC, CRect& rect) override;
    virtual void CalcInsideRect(CRect& rect, BOOL bHorz, BOOL bVertGripper) const;
    void CalcInsideRect(CRect& rect, BOOL bHorz) const override { CalcInsideRect(rect, bHorz, FALSE); }

    virtual void OnBeforeDock() { OnDocking(); }
    virtual void OnDocking() {}
    virtual void OnAfterDock() {}
    virtual void OnBeforeFloat() { OnFloating(); }
    virtual void OnFloating() {}
    virtual void OnAfterFloat() {}
    virtual void OnBeforeMDIFloat() { OnMDIFloating(); }
    virtual void OnMDIFloating() {}
    virtual void OnAfterMDIFloat() {}
    virtual void OnExtendContextMenu(CMenu* pMenu) { (void)pMenu; }
    // What the bar's kind adds to its saved record (an extension attached to it), and restoring from it.
    virtual void GetBarInfoEx(class SECControlBarInfo* pInfo) { (void)pInfo; }
    virtual void SetBarInfoEx(class SECControlBarInfo* pInfo, CFrameWnd* pFrame) {
        (void)pInfo;
        (void)pFrame;
    }
    virtual BOOL CanCloseFromGripper() { return TRUE; }
    virtual BOOL CanExpandFromGripper() { return TRUE; }
    virtual void AddGripperSpace(CRect& rect, BOOL bHorz) const;
    void DrawGripper(CDC* pDC, const CRect& rect) override;
    virtual void LayoutCloseButton(CDC* pDC, CRect& rectStrip, BOOL bHorz);
    virtual void DrawCloseButtonPressed(CDC* pDC);
    virtual void DrawCloseButton(CDC* pDC);
    virtual void LayoutExpandButton(CDC* pDC, CRect& rectStrip, BOOL bHorz);
    virtual void DrawExpandButtonPressed(CDC* pDC);
    virtual void DrawExpandButton(CDC* pDC);
    virtual void UpdateExpandState(BOOL bHorz);

    INT_PTR OnToolHitTest(CPoint point, TOOLINFO* pTI) const override;
    CSize CalcFixedLayout(BOOL bStretch, BOOL bHorz) override;
    CSize CalcDynamicLayout(int nLength, DWORD nMode) override;
    void OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler) override;
    void DoPaint(CDC* pDC) override;

    void EnableDocking(DWORD dwDockStyle);
    BOOL IsMDIFloating() const;
    // The non-client paint: borders around the client area, then WM_ERASEBKGND with that context.
    void EraseNonClient();

    CSize m_szHorzDock;
    CSize m_szVertDock;
    CSize m_szFloat;
    DWORD m_dwSavedDockStyle = 0;
    float m_fProportion = 1.0f;
    float m_fSavedProportion = 1.0f;
    DWORD m_dwExStyle = 0;
    CRect m_rcBorderSpace{10, 10, 10, 10};
    void* m_pManager = nullptr;
    SECGripperInfo m_gripperInfo;
    CRect m_rcClose;
    BOOL m_bClosePressed = FALSE;
    CRect m_rcExpand;
    BOOL m_bExpandPressed = FALSE;
    BOOL m_bExpandEnabled = TRUE;
    BOOL m_bNotMaximized = TRUE;
    BOOL m_bHorzExpand = TRUE;

protected:
    struct ChildLayout {
        HWND hWnd = nullptr;
        CRect rect;
    };
    // The first record is the client rectangle when recorded; the rest are the children.
    void RecordChildLayout();
    void FreeChildLayout() { m_childLayout.clear(); }
    BOOL HasGripper() const { return (m_dwExStyle & CBRS_EX_GRIPPER) != 0; }
    BOOL IsDockedHorz() const { return (m_dwStyle & (CBRS_ALIGN_TOP | CBRS_ALIGN_BOTTOM)) != 0; }
    BOOL IsDockedVert() const { return (m_dwStyle & (CBRS_ALIGN_LEFT | CBRS_ALIGN_RIGHT)) != 0; }

    std::vector<ChildLayout> m_childLayout;

    void OnSize(UINT nType, int cx, int cy);
    void OnLButtonDown(UINT nFlags, CPoint point);
    void OnLButtonUp(UINT nFlags, CPoint point);
    void OnLButtonDblClk(UINT nFlags, CPoint point);
    void OnContextMenu(CWnd* pWnd, CPoint point);
    void OnDestroy();
    BOOL OnEraseBkgnd(CDC* pDC);
    void OnAllowDocking();
    void OnHide();
    void OnMDIFloat();

    DECLARE_MESSAGE_MAP()
};
