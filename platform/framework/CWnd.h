// Windows as framework objects.
//
// A CWnd attached to a window is in the thread's permanent map; AfxWndProc finds it there and runs
// WindowProc -> OnWndMsg (the message maps) -> DefWindowProc. Creation attaches the object from a CBT hook,
// before WM_NCCREATE, so every message of the window reaches the object. FromHandle answers temporary
// objects for windows nobody attached; they live until the next idle cleanup (AfxDeleteTempMaps).
#pragma once

#include "platform/base/CRect.h"
#include "platform/base/CString.h"
#include "platform/display/User.h"
#include "platform/framework/CCmdTarget.h"
#include "platform/framework/CDC.h"
#include "platform/framework/CGdiObject.h"
#include "platform/framework/CMenu.h"

class CFrameWnd;
class CScrollBar;
class CDataExchange;
struct CCreateContext;

// What RepositionBars hands each bar with WM_SIZEPARENT: the rectangle still free, which the bar shrinks by
// what it takes, and the deferred positions to add its own to (null when only measuring).
struct AFX_SIZEPARENTPARAMS {
    HDWP hDWP;
    RECT rect;
    SIZE sizeTotal;
    BOOL bStretch;
};
// Moves a child within the layout pass (a no-op when measuring).
void AfxRepositionWindow(AFX_SIZEPARENTPARAMS* lpLayout, HWND hWnd, LPCRECT lpRect);

LRESULT AfxWndProc(HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam);
LRESULT AfxCallWndProc(CWnd* pWnd, HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam);
// Registers (once) a class with AfxWndProc and answers its name, "Afx:<style>:<cursor>:<brush>:<icon>".
LPCTSTR AfxRegisterWndClass(UINT nClassStyle, HCURSOR hCursor = nullptr, HBRUSH hbrBackground = nullptr,
                            HICON hIcon = nullptr);
// Registers a class with AfxWndProc as its procedure when it does not exist yet.
BOOL AfxRegisterClass(WNDCLASSW* lpWndClass);
// The framework's own classes: plain windows, and frames and views.
extern const TCHAR _afxWnd[];
extern const TCHAR _afxWndFrameOrView[];
BOOL AfxEndDeferRegisterClass();
// Deletes the temporary window, DC, GDI-object and menu wrappers of the calling thread.
void AfxDeleteTempMaps();

class CWnd : public CCmdTarget {
    DECLARE_DYNCREATE(CWnd)

public:
    CWnd();
    explicit CWnd(HWND hWnd); // a placeholder for a special handle (wndTop...); not attached
    ~CWnd() override;
    CWnd(const CWnd&) = delete;
    CWnd& operator=(const CWnd&) = delete;

    HWND m_hWnd = nullptr;
    operator HWND() const { return m_hWnd; }
    HWND GetSafeHwnd() const { return SafeHwndOf(this); }
    static HWND SafeHwndOf(const CWnd* wnd) { return wnd ? wnd->m_hWnd : nullptr; }
    BOOL operator==(const CWnd& wnd) const { return m_hWnd == wnd.m_hWnd; }
    BOOL operator!=(const CWnd& wnd) const { return m_hWnd != wnd.m_hWnd; }

    static const CWnd wndTop;
    static const CWnd wndBottom;
    static const CWnd wndTopMost;
    static const CWnd wndNoTopMost;

    // ---- Handle map
    static CWnd* FromHandle(HWND hWnd);
    static CWnd* FromHandlePermanent(HWND hWnd);
    static void DeleteTempMap();
    BOOL Attach(HWND hWndNew);
    HWND Detach();
    // Attaches and routes the window's messages through AfxWndProc; the old procedure becomes the default.
    BOOL SubclassWindow(HWND hWnd);
    BOOL SubclassDlgItem(UINT nID, CWnd* pParent);
    HWND UnsubclassWindow();
    virtual void PreSubclassWindow() {}

    // ---- Creation
    enum AdjustType { adjustBorder = 0, adjustOutside = 1 };
    virtual BOOL Create(LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle, const RECT& rect,
                        CWnd* pParentWnd, UINT nID, CCreateContext* pContext = nullptr);
    BOOL CreateEx(DWORD dwExStyle, LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle, int x, int y,
                  int nWidth, int nHeight, HWND hWndParent, HMENU nIDorHMenu, LPVOID lpParam = nullptr);
    BOOL CreateEx(DWORD dwExStyle, LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle,
                  const RECT& rect, CWnd* pParentWnd, UINT nID, LPVOID lpParam = nullptr);
    virtual BOOL DestroyWindow();
    virtual BOOL PreCreateWindow(CREATESTRUCT& cs);
    virtual void PostNcDestroy() {}
    virtual void CalcWindowRect(LPRECT lpClientRect, UINT nAdjustType = adjustBorder);

    // ---- Dispatch
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    virtual BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult);
    virtual LRESULT DefWindowProcW(UINT message, WPARAM wParam, LPARAM lParam);
    virtual BOOL OnCommand(WPARAM wParam, LPARAM lParam);
    virtual BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult);
    // A parent offers a control its own notification first; answers whether the control took it.
    virtual BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult);
    BOOL ReflectChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult);
    // Reflects the message being handled to the child `hWndChild` (when it has an object).
    static BOOL ReflectLastMsg(HWND hWndChild, LRESULT* pResult = nullptr);
    BOOL SendChildNotifyLastMsg(LRESULT* pResult = nullptr);
    // DefWindowProc with the message being handled.
    LRESULT Default();
    static const MSG* GetCurrentMessage();

    virtual BOOL PreTranslateMessage(MSG* pMsg);
    // Offers the message to PreTranslateMessage of its window and the window's parents up to hWndStop.
    static BOOL WalkPreTranslateTree(HWND hWndStop, MSG* pMsg);
    // Dialog navigation for modeless dialogs and form views; the dialog classes fill it in.
    virtual BOOL PreTranslateInput(MSG* pMsg);

    // ---- Dialog data (the dialog classes give these meaning)
    virtual BOOL UpdateData(BOOL bSaveAndValidate = TRUE);
    virtual void DoDataExchange(CDataExchange*) {}
    void UpdateDialogControls(CCmdTarget* pTarget, BOOL bDisableIfNoHndler);

    // ---- Styles and text
    DWORD GetStyle() const;
    DWORD GetExStyle() const;
    BOOL ModifyStyle(DWORD dwRemove, DWORD dwAdd, UINT nFlags = 0);
    BOOL ModifyStyleEx(DWORD dwRemove, DWORD dwAdd, UINT nFlags = 0);
    static BOOL ModifyStyle(HWND hWnd, DWORD dwRemove, DWORD dwAdd, UINT nFlags);
    static BOOL ModifyStyleEx(HWND hWnd, DWORD dwRemove, DWORD dwAdd, UINT nFlags);
    void SetWindowTextW(LPCTSTR lpszString);
    int GetWindowTextW(LPTSTR lpszStringBuf, int nMaxCount) const;
    void GetWindowTextW(CString& rString) const;
    int GetWindowTextLengthW() const;
    void SetFont(CFont* pFont, BOOL bRedraw = TRUE);
    CFont* GetFont() const;
    HICON SetIcon(HICON hIcon, BOOL bBigIcon);
    HICON GetIcon(BOOL bBigIcon) const;
    void SetRedraw(BOOL bRedraw = TRUE);

    // ---- Size and position
    void MoveWindow(int x, int y, int nWidth, int nHeight, BOOL bRepaint = TRUE);
    void MoveWindow(LPCRECT lpRect, BOOL bRepaint = TRUE);
    BOOL SetWindowPos(const CWnd* pWndInsertAfter, int x, int y, int cx, int cy, UINT nFlags);
    void GetWindowRect(LPRECT lpRect) const;
    void GetClientRect(LPRECT lpRect) const;
    void ClientToScreen(LPPOINT lpPoint) const;
    void ClientToScreen(LPRECT lpRect) const;
    void ScreenToClient(LPPOINT lpPoint) const;
    void ScreenToClient(LPRECT lpRect) const;
    void MapWindowPoints(CWnd* pwndTo, LPPOINT lpPoint, UINT nCount) const;
    void MapWindowPoints(CWnd* pwndTo, LPRECT lpRect) const;
    BOOL GetWindowPlacement(WINDOWPLACEMENT* lpwndpl) const;
    BOOL SetWindowPlacement(const WINDOWPLACEMENT* lpwndpl);
    // Centres over the owner (or pAlternateOwner), else over the screen's work area, kept on the screen.
    void CenterWindow(CWnd* pAlternateOwner = nullptr);
    void BringWindowToTop();
    enum { reposDefault = 0, reposQuery = 1, reposExtra = 2 };
    // Lays out the children with ids in [nIDFirst, nIDLast] by WM_SIZEPARENT and gives what is left to the
    // child nIDLeftOver. reposQuery only measures (into lpRectParam); reposExtra insets the leftover by the
    // borders in lpRectParam.
    void RepositionBars(UINT nIDFirst, UINT nIDLast, UINT nIDLeftOver, UINT nFlag = reposDefault,
                        LPRECT lpRectParam = nullptr, LPCRECT lpRectClient = nullptr, BOOL bStretch = TRUE);

    // ---- Visibility and state
    BOOL ShowWindow(int nCmdShow);
    BOOL IsWindowVisible() const;
    BOOL IsIconic() const;
    BOOL IsZoomed() const;
    BOOL EnableWindow(BOOL bEnable = TRUE);
    BOOL IsWindowEnabled() const;
    BOOL FlashWindow(BOOL bInvert);
    void ShowOwnedPopups(BOOL bShow = TRUE);

    // ---- Painting
    void Invalidate(BOOL bErase = TRUE);
    void InvalidateRect(LPCRECT lpRect, BOOL bErase = TRUE);
    void InvalidateRgn(CRgn* pRgn, BOOL bErase = TRUE);
    void ValidateRect(LPCRECT lpRect);
    void ValidateRgn(CRgn* pRgn);
    void UpdateWindow();
    BOOL RedrawWindow(LPCRECT lpRectUpdate = nullptr, CRgn* prgnUpdate = nullptr,
                      UINT flags = RDW_INVALIDATE | RDW_UPDATENOW | RDW_ERASE);
    BOOL GetUpdateRect(LPRECT lpRect, BOOL bErase = FALSE);
    CDC* GetDC();
    CDC* GetWindowDC();
    int ReleaseDC(CDC* pDC);
    CDC* BeginPaint(LPPAINTSTRUCT lpPaint);
    void EndPaint(LPPAINTSTRUCT lpPaint);
    BOOL LockWindowUpdate();
    void UnlockWindowUpdate();
    void ScrollWindow(int xAmount, int yAmount, LPCRECT lpRect = nullptr, LPCRECT lpClipRect = nullptr);
    int ScrollWindowEx(int dx, int dy, LPCRECT lpRectScroll, LPCRECT lpRectClip, CRgn* prgnUpdate,
                       LPRECT lpRectUpdate, UINT flags);

    // ---- Timers, focus, capture
    UINT_PTR SetTimer(UINT_PTR nIDEvent, UINT nElapse, TIMERPROC lpfnTimer = nullptr);
    BOOL KillTimer(UINT_PTR nIDEvent);
    CWnd* SetFocus();
    static CWnd* GetFocus();
    CWnd* SetCapture();
    static CWnd* GetCapture();
    CWnd* SetActiveWindow();
    static CWnd* GetActiveWindow();
    BOOL SetForegroundWindow();
    static CWnd* GetForegroundWindow();

    // ---- Scroll bars
    // The scroll-bar control that stands for the window's own bar of that direction (a sibling the window
    // shares with others), or null. The scroll-bar operations below act on it when there is one.
    virtual CScrollBar* GetScrollBarCtrl(int nBar) const;
    BOOL SetScrollInfo(int nBar, LPSCROLLINFO lpScrollInfo, BOOL bRedraw = TRUE);
    BOOL GetScrollInfo(int nBar, LPSCROLLINFO lpScrollInfo, UINT nMask = SIF_ALL);
    int SetScrollPos(int nBar, int nPos, BOOL bRedraw = TRUE);
    int GetScrollPos(int nBar) const;
    void SetScrollRange(int nBar, int nMinPos, int nMaxPos, BOOL bRedraw = TRUE);
    void GetScrollRange(int nBar, LPINT lpMinPos, LPINT lpMaxPos) const;
    int GetScrollLimit(int nBar);
    void ShowScrollBar(UINT nBar, BOOL bShow = TRUE);
    BOOL EnableScrollBar(int nSBFlags, UINT nArrowFlags = ESB_ENABLE_BOTH);
    void EnableScrollBarCtrl(int nBar, BOOL bEnable = TRUE);

    // ---- Messages
    LRESULT SendMessageW(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const;
    BOOL PostMessageW(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const;
    BOOL SendNotifyMessageW(UINT message, WPARAM wParam, LPARAM lParam) const;
    // bOnlyPerm: only windows with objects, called directly through their WindowProc.
    void SendMessageToDescendants(UINT message, WPARAM wParam = 0, LPARAM lParam = 0, BOOL bDeep = TRUE,
                                  BOOL bOnlyPerm = FALSE);
    static void SendMessageToDescendants(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam, BOOL bDeep,
                                         BOOL bOnlyPerm);

    // ---- The tree
    CWnd* GetParent() const;
    CWnd* SetParent(CWnd* pWndNewParent);
    CWnd* GetOwner() const;
    void SetOwner(CWnd* pOwnerWnd) { m_hWndOwner = SafeHwndOf(pOwnerWnd); }
    CFrameWnd* GetParentFrame() const;
    CWnd* GetTopLevelParent() const;
    CWnd* GetTopLevelOwner() const;
    CWnd* GetParentOwner() const;
    CFrameWnd* GetTopLevelFrame() const;
    CWnd* GetDlgItem(int nID) const;
    void GetDlgItem(int nID, HWND* phWnd) const;
    int GetDlgCtrlID() const;
    int SetDlgCtrlID(int nID);
    // The first descendant with the id (children first, then deeper).
    CWnd* GetDescendantWindow(int nID, BOOL bOnlyPerm = FALSE) const;
    static CWnd* GetDescendantWindow(HWND hWnd, int nID, BOOL bOnlyPerm);
    CWnd* GetWindow(UINT nCmd) const;
    CWnd* GetTopWindow() const;
    CWnd* GetLastActivePopup() const;
    BOOL IsChild(const CWnd* pWnd) const;
    CWnd* ChildWindowFromPoint(POINT point) const;
    static CWnd* WindowFromPoint(POINT point);
    static CWnd* FindWindowW(LPCTSTR lpszClassName, LPCTSTR lpszWindowName);
    static CWnd* GetDesktopWindow();
    CMenu* GetMenu() const;
    BOOL SetMenu(CMenu* pMenu);
    void DrawMenuBar();
    CMenu* GetSystemMenu(BOOL bRevert) const;

    // ---- Dialog items
    LRESULT SendDlgItemMessageW(int nID, UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const;
    void SetDlgItemTextW(int nID, LPCTSTR lpszString);
    int GetDlgItemTextW(int nID, LPTSTR lpStr, int nMaxCount) const;
    int GetDlgItemTextW(int nID, CString& rString) const;
    void SetDlgItemInt(int nID, UINT nValue, BOOL bSigned = TRUE);
    UINT GetDlgItemInt(int nID, BOOL* lpTrans = nullptr, BOOL bSigned = TRUE) const;
    void CheckDlgButton(int nIDButton, UINT nCheck);
    UINT IsDlgButtonChecked(int nIDButton) const;
    void CheckRadioButton(int nIDFirstButton, int nIDLastButton, int nIDCheckButton);

    // ---- Help and boxes
    int MessageBoxW(LPCTSTR lpszText, LPCTSTR lpszCaption = nullptr, UINT nType = MB_OK);
    // Help does nothing on this system; kept for the callers.
    virtual void WinHelp(DWORD_PTR dwData, UINT nCmd = HELP_CONTEXT);
    void DragAcceptFiles(BOOL = TRUE) {}

    WNDPROC m_pfnSuper = nullptr; // the procedure the default handling goes to (subclassed windows)

protected:
    friend LRESULT AfxCallWndProc(CWnd*, HWND, UINT, WPARAM, LPARAM);
    friend LRESULT CbtFilterHook(int, WPARAM, LPARAM);
    HWND m_hWndOwner = nullptr;

    // Handlers for the window messages, in the framework's signatures; each does the default handling.
    int OnCreate(LPCREATESTRUCT lpCreateStruct);
    BOOL OnNcCreate(LPCREATESTRUCT lpCreateStruct);
    void OnDestroy();
    void OnNcDestroy();
    void OnPaint();
    void OnNcPaint();
    BOOL OnEraseBkgnd(CDC* pDC);
    void OnSize(UINT nType, int cx, int cy);
    void OnMove(int x, int y);
    void OnSizing(UINT nSide, LPRECT lpRect);
    void OnMoving(UINT nSide, LPRECT lpRect);
    void OnTimer(UINT_PTR nIDEvent);
    void OnClose();
    void OnLButtonDown(UINT nFlags, CPoint point);
    void OnLButtonUp(UINT nFlags, CPoint point);
    void OnLButtonDblClk(UINT nFlags, CPoint point);
    void OnRButtonDown(UINT nFlags, CPoint point);
    void OnRButtonUp(UINT nFlags, CPoint point);
    void OnRButtonDblClk(UINT nFlags, CPoint point);
    void OnMButtonDown(UINT nFlags, CPoint point);
    void OnMButtonUp(UINT nFlags, CPoint point);
    void OnMButtonDblClk(UINT nFlags, CPoint point);
    void OnMouseMove(UINT nFlags, CPoint point);
    BOOL OnMouseWheel(UINT nFlags, short zDelta, CPoint pt);
    void OnNcLButtonDown(UINT nHitTest, CPoint point);
    void OnNcLButtonUp(UINT nHitTest, CPoint point);
    void OnNcLButtonDblClk(UINT nHitTest, CPoint point);
    void OnNcRButtonDown(UINT nHitTest, CPoint point);
    void OnNcRButtonUp(UINT nHitTest, CPoint point);
    void OnNcMouseMove(UINT nHitTest, CPoint point);
    void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
    void OnKeyUp(UINT nChar, UINT nRepCnt, UINT nFlags);
    void OnChar(UINT nChar, UINT nRepCnt, UINT nFlags);
    void OnDeadChar(UINT nChar, UINT nRepCnt, UINT nFlags);
    void OnSysKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
    void OnSysKeyUp(UINT nChar, UINT nRepCnt, UINT nFlags);
    void OnSysChar(UINT nChar, UINT nRepCnt, UINT nFlags);
    void OnSetFocus(CWnd* pOldWnd);
    void OnKillFocus(CWnd* pNewWnd);
    void OnHScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar);
    void OnVScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar);
    BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message);
    HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor);
    UINT OnGetDlgCode();
    UINT OnNcHitTest(CPoint point);
    void OnNcCalcSize(BOOL bCalcValidRects, NCCALCSIZE_PARAMS* lpncsp);
    BOOL OnNcActivate(BOOL bActive);
    void OnShowWindow(BOOL bShow, UINT nStatus);
    void OnActivate(UINT nState, CWnd* pWndOther, BOOL bMinimized);
    void OnActivateApp(BOOL bActive, DWORD dwThreadID);
    int OnMouseActivate(CWnd* pDesktopWnd, UINT nHitTest, UINT message);
    void OnCancelMode();
    void OnCaptureChanged(CWnd* pWnd);
    void OnSysColorChange();
    void OnSettingChange(UINT uFlags, LPCTSTR lpszSection);
    void OnWinIniChange(LPCTSTR lpszSection);
    void OnTimeChange();
    void OnFontChange();
    void OnDrawItem(int nIDCtl, LPDRAWITEMSTRUCT lpDrawItemStruct);
    void OnMeasureItem(int nIDCtl, LPMEASUREITEMSTRUCT lpMeasureItemStruct);
    void OnInitMenu(CMenu* pMenu);
    void OnInitMenuPopup(CMenu* pPopupMenu, UINT nIndex, BOOL bSysMenu);
    void OnMenuSelect(UINT nItemID, UINT nFlags, HMENU hSysMenu);
    LRESULT OnMenuChar(UINT nChar, UINT nFlags, CMenu* pMenu);
    void OnEnterMenuLoop(BOOL bIsTrackPopupMenu);
    void OnExitMenuLoop(BOOL bIsTrackPopupMenu);
    void OnEnterIdle(UINT nWhy, CWnd* pWho);
    void OnParentNotify(UINT message, LPARAM lParam);
    void OnContextMenu(CWnd* pWnd, CPoint pos);
    void OnSysCommand(UINT nID, LPARAM lParam);
    void OnGetMinMaxInfo(MINMAXINFO* lpMMI);
    void OnWindowPosChanging(WINDOWPOS* lpwndpos);
    void OnWindowPosChanged(WINDOWPOS* lpwndpos);
    void OnStyleChanging(int nStyleType, LPSTYLESTRUCT lpStyleStruct);
    void OnStyleChanged(int nStyleType, LPSTYLESTRUCT lpStyleStruct);
    void OnEnable(BOOL bEnable);
    BOOL OnQueryEndSession();
    void OnEndSession(BOOL bEnding);
    BOOL OnHelpInfo(HELPINFO* pHelpInfo);
    void OnPaletteChanged(CWnd* pFocusWnd);
    BOOL OnQueryNewPalette();
    void OnChildActivate();
    BOOL OnCopyData(CWnd* pWnd, COPYDATASTRUCT* pCopyDataStruct);
    BOOL OnDeviceChange(UINT nEventType, DWORD_PTR dwData);

    DECLARE_MESSAGE_MAP()
};

// A scroll-bar control as message handlers receive it (WM_HSCROLL/WM_VSCROLL); the control classes extend it.
class CScrollBar : public CWnd {
    DECLARE_DYNAMIC(CScrollBar)

public:
    int GetScrollPos() const { return ::GetScrollPos(m_hWnd, SB_CTL); }
    int SetScrollPos(int nPos, BOOL bRedraw = TRUE) { return ::SetScrollPos(m_hWnd, SB_CTL, nPos, bRedraw); }
    void GetScrollRange(LPINT lpMinPos, LPINT lpMaxPos) const {
        ::GetScrollRange(m_hWnd, SB_CTL, lpMinPos, lpMaxPos);
    }
    void SetScrollRange(int nMinPos, int nMaxPos, BOOL bRedraw = TRUE) {
        ::SetScrollRange(m_hWnd, SB_CTL, nMinPos, nMaxPos, bRedraw);
    }
    BOOL SetScrollInfo(LPSCROLLINFO lpScrollInfo, BOOL bRedraw = TRUE) {
        ::SetScrollInfo(m_hWnd, SB_CTL, lpScrollInfo, bRedraw);
        return TRUE;
    }
    BOOL GetScrollInfo(LPSCROLLINFO lpScrollInfo, UINT nMask = SIF_ALL) {
        lpScrollInfo->cbSize = sizeof(SCROLLINFO);
        lpScrollInfo->fMask = nMask;
        return ::GetScrollInfo(m_hWnd, SB_CTL, lpScrollInfo);
    }
};

#include "platform/framework/AfxWindowMessageMap.h"
