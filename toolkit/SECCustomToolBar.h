// The toolkit's toolbar: a control bar whose buttons are SECStdBtn objects it lays out in rows (wrapping at
// any length), paints through an off-screen buffer, hot-tracks in the flat look and lets the user drag
// between toolbars while customising (or with Alt held). It offers the menu mode the menu bar is built on.
// Images come from a shared SECBmpMgr; a SECToolBarManager, when attached, numbers user toolbars and
// broadcasts what happens to them.
#pragma once

#include "toolkit/SECControlBar.h"
#include "toolkit/SECStdBtn.h"

#include <memory>
#include <vector>

class SECBmpMgr;
class SECBtnDrawContext;
class SECCustomToolBarInfoEx;
class SECToolBarManager;

// Extended style of toolbars: with flat borders, button faces show what the bar paints behind them.
#define CBRS_EX_TRANSPARENT 0x1000L

// User toolbars take the control ids above this one.
#define SEC_IDW_LAST_STD_TOOLBAR 59423u
#define SEC_IDW_FIRST_USER_TOOLBAR 59424u
#define SEC_IDW_USER_TOOLBAR_END 59648u

// Notifications to the owner (WM_NOTIFY) with the bar's control id.
#define SEC_TBN_OPENMENU (-2120)
#define SEC_TBN_CLOSEMENU (-2121)
#define SEC_TBN_ENTERMENUMODE (-2122)
#define SEC_TBN_LEAVEMENUMODE (-2123)

#define SEC_HOTTRACK_TIMER 0xE002
#define SEC_IDC_COPY_CURSOR 20691

// A button-class table entry: the class, the command id, the style and the creation data; tables end with
// a null class.
struct SECBtnMapEntry {
    const SECButtonClass* pClass;
    UINT nID;
    UINT nStyle;
    const void* pData;
};

// One row of the wrapped layout: its first and last button, its width (without a closing separator) and
// height, and whether it ends at a separator.
struct SECToolBarRow {
    int nFirst = 0;
    int nLast = -1;
    int nWidth = 0;
    int nHeight = 0;
    BOOL bSepEnd = FALSE;
};

class SECCustomToolBar : public SECControlBar {
    DECLARE_DYNCREATE(SECCustomToolBar)

public:
    using SECBtnArray = std::vector<SECStdBtn*>;

    SECCustomToolBar();
    ~SECCustomToolBar() override;

    virtual BOOL CreateToolBar(CWnd* pParentWnd, DWORD dwStyle, UINT nID, LPCTSTR lpszTitle = nullptr);
    virtual BOOL CreateToolBarEx(DWORD dwExStyle, CWnd* pParentWnd, DWORD dwStyle, UINT nID,
                                 LPCTSTR lpszTitle = nullptr);
    BOOL CreateEx(LPCTSTR lpszClassName, LPCTSTR lpszWindowName, UINT nID, DWORD dwStyle, DWORD dwExStyle,
                  const RECT& rect, CWnd* pParentWnd, CCreateContext* pContext = nullptr) override;
    using SECControlBar::Create;

    virtual BOOL RemoveButton(int nIndex, BOOL bNoRecalc = FALSE);
    virtual void InsertButton(int nIndex, UINT nID, BOOL bSeparator = FALSE, BOOL bNoRecalc = FALSE);
    virtual int GetImageIndex(UINT nID, UINT& nFoundID) const;
    virtual void RecalcButtonSizes(int cxImage = 0, int cyImage = 0);
    virtual BOOL SetButtons(const UINT* pIDs, int nCount);
    virtual void RemoveAllButtons();
    virtual HFONT GetFont() const { return m_hFont; }
    virtual BOOL IsFlat() const { return (m_dwExStyle & CBRS_EX_FLATSTYLE) != 0; }
    virtual BOOL AcceptsButtons() const { return TRUE; }
    virtual BOOL IsCopyKeyDown() const;
    virtual int GetImageWidth() const;
    virtual int GetImageHeight() const;
    virtual int GetButtonWidth() const { return GetImageWidth() + 7; }
    virtual int GetButtonHeight() const { return GetImageHeight() + 7; }
    virtual int GetSeparatorWidth() const { return (GetImageWidth() + 8) / 3; }
    virtual int GetSeparatorHeight() const { return GetButtonHeight(); }
    virtual void FitToParent(AFX_SIZEPARENTPARAMS* pLayout);

    // Layout.
    virtual int WrapRows(int nMaxWidth, std::vector<SECToolBarRow>& rows) const;
    virtual CSize CalcWrappedSize(int nLength, BOOL bHeight);
    virtual void BalanceRows(std::vector<SECToolBarRow>& rows) const;
    virtual CSize CalcLayout(int nLength, DWORD dwMode);
    CSize CalcFixedLayout(BOOL bStretch, BOOL bHorz) override;
    CSize CalcDynamicLayout(int nLength, DWORD dwMode) override;

    virtual void InvalidateButton(int nIndex);
    virtual int HitTest(CPoint point, CRect* pRect = nullptr) const;
    virtual void UpdateButtonCmdUI(int nIndex);
    virtual SECStdBtn* CreateButton(UINT nID, SECCustomToolBar* pOwner = nullptr);
    virtual SECStdBtn* CreateSeparator(SECCustomToolBar* pOwner = nullptr);

    // Dragging buttons (the drop is in this bar's client coordinates).
    virtual BOOL DragButton(int nIndex, CPoint point);
    virtual BOOL DropButton(const CRect& rectDrop, SECStdBtn* pBtn, BOOL bCopy, BOOL bNoRecalc = FALSE);
    // Follows the mouse with the button's outline; FALSE when cancelled. The rectangle is in client
    // coordinates of this bar before and in screen coordinates after.
    virtual BOOL TrackButton(CRect& rect, CPoint point, BOOL bCopy);
    // Finishes a drag of the button at nIndex (-1: from outside any bar) dropped at a screen rectangle.
    BOOL FinishDrag(SECStdBtn* pBtn, const CRect& rectScreen, BOOL bCopy);

    // Menu mode.
    virtual BOOL OpenMenuButton(SECStdBtn* pBtn, LPARAM a, LPARAM b);
    virtual void MoveMenuTo(int nIndex);
    virtual void SelectMenuButton(int nIndex);
    virtual void SelectMenuButtonAt(CPoint point);
    virtual void ExitMenuMode();
    virtual BOOL IsInMenuMode() const { return m_bMenuMode; }
    virtual int FirstMenuButton() const;
    virtual int LastMenuButton() const;
    virtual int FirstTopMenuButton() const;
    virtual int NextMenuButton(BOOL bForward) const;
    virtual BOOL FilterMenuModeMessage(const MSG& msg);
    virtual void OnMenuClosed();

    void OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler) override;
    void DelayShow(BOOL bShow) override;
    void OnBarStyleChange(DWORD dwOldStyle, DWORD dwNewStyle) override;
    void DoPaint(CDC* pDC) override;
    void DrawBorders(CDC* pDC, CRect& rect) override;
    void AddGripperSpace(CRect& rect, BOOL bHorz) const override;
    INT_PTR OnToolHitTest(CPoint point, TOOLINFO* pTI) const override;

    // The saved form: the title and the buttons; restoring replaces the buttons.
    std::unique_ptr<SECCustomToolBarInfoEx> GetBarInfoEx() const;
    void SetBarInfoEx(const SECCustomToolBarInfoEx& info);
    // The same through a saved layout's record.
    void GetBarInfoEx(SECControlBarInfo* pInfo) override;
    void SetBarInfoEx(SECControlBarInfo* pInfo, CFrameWnd* pFrame) override;

    // Customise mode, switched by the toolbar manager; the selection is the one button selected frame-wide.
    virtual void SetCustomizeValue(BOOL bCustomizing);
    void SelectButton(int nIndex, BOOL bRedraw = TRUE);
    void ClearSelection(BOOL bRedraw = TRUE);

    void SetBmpMgr(SECBmpMgr* pMgr);
    SECBmpMgr* GetBmpMgr() const { return m_pBmpMgr; }
    SECToolBarManager* GetManager() const { return static_cast<SECToolBarManager*>(m_pManager); }
    void SetManager(SECToolBarManager* pManager) { m_pManager = pManager; }
    // The bar's own button-class table (used when no manager is attached).
    void SetButtonMap(const SECBtnMapEntry* pMap) { m_pBtnMap = pMap; }

    int GetBtnCount() const { return static_cast<int>(m_btns.size()); }
    SECStdBtn* GetButton(int nIndex) const;
    int ButtonIndex(const SECStdBtn* pBtn) const;
    // The index and rectangle of the button with the id; -1 when none.
    int CommandToIndex(UINT nID) const;
    // Hot tracking: the button under the cursor gets the hot bit (flat look).
    void UpdateHotTracking();

    SECBmpMgr* m_pBmpMgr = nullptr;
    int m_nSepWidth = 8;
    int m_nPressed = -1;
    int m_nHot = -1;
    int m_nMenuBtn = -1;
    BOOL m_bCustomizing = FALSE;
    SECBtnDrawContext* m_pDrawCtx = nullptr;
    DWORD m_nOrientation = 0;
    BOOL m_bDirtyFloat = TRUE;
    BOOL m_bDirtyHorz = TRUE;
    BOOL m_bDirtyVert = TRUE;
    CSize m_sizeHorz;
    CSize m_sizeVert;
    CSize m_sizeFloat;
    DWORD m_dwLock = 0;
    HFONT m_hFont = nullptr;
    const SECBtnMapEntry* m_pBtnMap = nullptr;
    std::unique_ptr<SECBtnMapEntry[]> m_pBtnMapExtra;
    BOOL m_bMenuMode = FALSE;
    // A menu button's drop-down is open (m_nMenuBtn is that button).
    BOOL m_bMenuOpen = FALSE;
    int m_nMaxBtnWidth = 0;
    SECBtnArray m_btns;

    // Set while a drag begun with Alt outside customise mode runs, and while a button's command is posted.
    static BOOL s_bAltDrag;
    static BOOL s_bPostingCommand;

protected:
    SECBtnDrawContext& DrawContext();
    void NotifyManager(UINT nCode) const;
    void RecalcParentLayout();
    void DestroyIfEmptyUserBar();
    // The sums of a button walk: narrowest and widest non-hidden buttons.
    int NarrowestButton() const;
    int WidestButton() const;
    int WrappedHeight(int nWidth) const;
    void PositionButtons(const CRect& inside);
    void SetPressed(int nIndex);
    void SendMessageString(UINT nID);
    // WM_NOTIFY to the owner for the button at nIndex (-1: none).
    void NotifyOwner(int nCode, int nIndex, LPARAM a, LPARAM b);
    int NextMenuButtonFrom(int nStart, int nStep, bool bTopOnly) const;
    BOOL IsFullRow() const { return (m_dwExStyle & CBRS_EX_FULL_ROW) != 0; }

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    int OnCreate(LPCREATESTRUCT lpcs);
    void OnDestroy();
    void OnShowWindow(BOOL bShow, UINT nStatus);
    void OnWindowPosChanging(WINDOWPOS* pPos);
    void OnSysColorChange();
    void OnLButtonDown(UINT nFlags, CPoint point);
    void OnLButtonDblClk(UINT nFlags, CPoint point);
    void OnMouseMove(UINT nFlags, CPoint point);
    void OnLButtonUp(UINT nFlags, CPoint point);
    void OnCancelMode();
    int OnMouseActivate(CWnd* pDesktopWnd, UINT nHitTest, UINT message);
    void OnTimer(UINT_PTR nIDEvent);
    LRESULT OnAddButtons(WPARAM wParam, LPARAM lParam);
    LRESULT OnDeleteButton(WPARAM wParam, LPARAM lParam);
    LRESULT OnNoDelayHide(WPARAM wParam, LPARAM lParam);
    LRESULT OnSizeParentMsg(WPARAM wParam, LPARAM lParam);

    DECLARE_MESSAGE_MAP()
};

// The registered "WM_NODELAYHIDE".
UINT SECGetNoDelayHideMessage();
