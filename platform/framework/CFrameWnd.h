// Frame windows: the window around a document's views and the control bars. The frame lays out its bars by
// the WM_SIZEPARENT protocol and gives the rest to the view (AFX_IDW_PANE_FIRST); commands it receives go to
// the active view (and its document) first, then to the frame, then to the application.
#pragma once

#include "platform/base/CArrays.h" // control bars and docking
#include "platform/base/CLists.h"  // control bars and docking
#include "platform/framework/CWnd.h"

class CView;
class CDocument;
class CDocTemplate;

// What creating a frame passes down to the creation of its views.
struct CCreateContext {
    CRuntimeClass* m_pNewViewClass = nullptr;
    CDocument* m_pCurrentDoc = nullptr;
    CDocTemplate* m_pNewDocTemplate = nullptr;
    CView* m_pLastView = nullptr;
    CFrameWnd* m_pCurrentFrame = nullptr;
};

class CFrameWnd : public CWnd {
    DECLARE_DYNCREATE(CFrameWnd)

public:
    CFrameWnd();
    ~CFrameWnd() override;

    static const CRect rectDefault;

    // The window form of Create: a frame with no menu (a child frame takes nID as its id).
    BOOL Create(LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle, const RECT& rect,
                CWnd* pParentWnd, UINT nID, CCreateContext* pContext = nullptr) override;
    BOOL Create(LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle = WS_OVERLAPPEDWINDOW,
                const RECT& rect = rectDefault, CWnd* pParentWnd = nullptr, LPCTSTR lpszMenuName = nullptr,
                DWORD dwExStyle = 0, CCreateContext* pContext = nullptr);
    // Title (the first part of string nIDResource), menu, icon and accelerators of nIDResource, through the
    // resource provider; any of them may be missing.
    virtual BOOL LoadFrame(UINT nIDResource, DWORD dwDefaultStyle = WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE,
                           CWnd* pParentWnd = nullptr, CCreateContext* pContext = nullptr);
    CWnd* CreateView(CCreateContext* pContext, UINT nID = AFX_IDW_PANE_FIRST);

    CView* GetActiveView() const { return m_pViewActive; }
    void SetActiveView(CView* pViewNew, BOOL bNotify = TRUE);
    virtual CDocument* GetActiveDocument();
    virtual CFrameWnd* GetActiveFrame() { return this; }
    virtual void ActivateFrame(int nCmdShow = -1);
    void InitialUpdateFrame(CDocument* pDoc, BOOL bMakeVisible);

    virtual void RecalcLayout(BOOL bNotify = TRUE);
    void DelayRecalcLayout(BOOL bNotify = TRUE);
    virtual void OnUpdateFrameTitle(BOOL bAddToTitle);
    void UpdateFrameTitleForDocument(LPCTSTR lpszDocName);
    void DelayUpdateFrameTitle() { m_nIdleFlags |= idleTitle; }
    void SetTitle(LPCTSTR lpszTitle) { m_strTitle = lpszTitle; }
    CString GetTitle() const { return m_strTitle; }
    // The resource the frame was loaded from (also its help id); 0 when it was created without one.
    UINT GetFrameResourceID() const { return m_nIDHelp; }
    void BringToTop(int nCmdShow);

    // Control bars and docking
    // Creates the dock bars for the sides in dwDockStyle (CBRS_ALIGN_*); bars may then dock there.
    void EnableDocking(DWORD dwDockStyle);
    // The dock bar EnableDocking makes for one side; frames with their own dock bars give theirs.
    virtual class CDockBar* CreateDockBar(UINT nID);
    // Docks on the given dock bar (0: the first side the bar accepts), at lpRect (screen) when given.
    void DockControlBar(class CControlBar* pBar, UINT nDockBarID = 0, LPCRECT lpRect = nullptr);
    void DockControlBar(class CControlBar* pBar, class CDockBar* pDockBar, LPCRECT lpRect = nullptr);
    // Floats the bar in a mini frame whose top left is `point` (screen), laid out as dwStyle says (the
    // default is CBRS_ALIGN_TOP).
    void FloatControlBar(class CControlBar* pBar, CPoint point, DWORD dwStyle = 0x2000L);
    void ReDockControlBar(class CControlBar* pBar, class CDockBar* pDockBar, LPCRECT lpRect = nullptr);
    void ShowControlBar(class CControlBar* pBar, BOOL bShow, BOOL bDelay);
    class CControlBar* GetControlBar(UINT nID);
    void AddControlBar(class CControlBar* pBar);
    void RemoveControlBar(class CControlBar* pBar);
    // The dock bar that a rectangle (screen) over the frame would dock in, given the bar's dock style; its
    // CBRS_ALIGN_* side, or 0.
    DWORD CanDock(CRect rect, DWORD dwDockStyle, class CDockBar** ppDockBar = nullptr);
    virtual class CMiniDockFrameWnd* CreateFloatingFrame(DWORD dwStyle);
    void LoadBarState(LPCTSTR lpszProfileName);
    void SaveBarState(LPCTSTR lpszProfileName) const;
    void SetDockState(const class CDockState& state);
    void GetDockState(class CDockState& state) const;
    // Shows and hides the bars whose change was delayed (ShowControlBar with bDelay).
    void RecalcDelayShow();
    // Idle update of the bars outside this frame's window tree (those floating in mini frames).
    void UpdateFloatingBars(BOOL bDisableIfNoHndler);
    // The bar that shows the prompt strings (the status bar), or null.
    CWnd* GetMessageBar();
    // View > Toolbar and View > Status Bar (the bar's id is the command's): show or hide the bar; the
    // item is checked while the bar shows.
    BOOL OnBarCheck(UINT nID);
    void OnUpdateControlBarMenu(CCmdUI* pCmdUI);
    CPtrList m_listControlBars;
    CRuntimeClass* m_pFloatingFrameClass = nullptr;
    // End of control bars and docking

    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;
    BOOL PreCreateWindow(CREATESTRUCT& cs) override;
    BOOL PreTranslateMessage(MSG* pMsg) override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    virtual BOOL OnCreateClient(LPCREATESTRUCT lpcs, CCreateContext* pContext);

    enum IdleFlags { idleMenu = 1, idleTitle = 2, idleNotify = 4, idleLayout = 8 };
    UINT m_nIdleFlags = 0;
    int m_nWindow = -1; // the number shown after the document name when several frames show it
    HACCEL m_hAccelTable = nullptr;
    CRect m_rectBorder;
    BOOL m_bAutoMenuEnable = TRUE;
    CString m_strTitle;

protected:
    void PostNcDestroy() override;
    int OnCreateHelper(LPCREATESTRUCT lpcs, CCreateContext* pContext);

    CView* m_pViewActive = nullptr;
    UINT m_nIDHelp = 0;
    BOOL m_bInRecalcLayout = FALSE;
    HMENU m_hMenuDefault = nullptr;

    int OnCreate(LPCREATESTRUCT lpcs);
    void OnDestroy();
    void OnClose();
    void OnSize(UINT nType, int cx, int cy);
    BOOL OnEraseBkgnd(CDC* pDC);
    void OnSetFocus(CWnd* pOldWnd);
    void OnActivate(UINT nState, CWnd* pWndOther, BOOL bMinimized);
    BOOL OnQueryEndSession();
    void OnEndSession(BOOL bEnding);
    LRESULT OnIdleUpdateCmdUI(WPARAM wParam, LPARAM lParam);
    LRESULT OnSetMessageString(WPARAM wParam, LPARAM lParam);
    // Menus: command-UI updates of a popup before it shows, the prompt of the selected item in the status
    // bar, owner-drawn items through their CMenu.
    void OnInitMenuPopup(CMenu* pMenu, UINT nIndex, BOOL bSysMenu);
    void OnMenuSelect(UINT nItemID, UINT nFlags, HMENU hSysMenu);
    void OnDrawItem(int nIDCtl, LPDRAWITEMSTRUCT lpDrawItemStruct);
    void OnMeasureItem(int nIDCtl, LPMEASUREITEMSTRUCT lpMeasureItemStruct);

public:
    // The prompt for a command: the first part of its string resource.
    virtual void GetMessageString(UINT nID, CString& rMessage) const;
    virtual HACCEL GetDefaultAccelerator() { return m_hAccelTable; }
    UINT m_nIDTracking = 0;    // the menu item whose prompt shows
    UINT m_nIDLastMessage = 0; // the last prompt shown

protected:
    DECLARE_MESSAGE_MAP()
};
