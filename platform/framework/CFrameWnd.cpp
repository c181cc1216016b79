#include "platform/framework/CFrameWnd.h"

#include "platform/framework/AfxRes.h"
#include "platform/framework/CDocument.h"
#include "platform/framework/CView.h"
#include "platform/framework/CWinApp.h"
#include "platform/framework/FrameClass.h"
#include "platform/framework/FrameworkResources.h"

#include <algorithm>

IMPLEMENT_DYNCREATE(CFrameWnd, CWnd)

const CRect CFrameWnd::rectDefault(CW_USEDEFAULT, CW_USEDEFAULT, 0, 0);

BEGIN_MESSAGE_MAP(CFrameWnd, CWnd)
ON_WM_CREATE()
ON_WM_DESTROY()
ON_WM_CLOSE()
ON_WM_SIZE()
ON_WM_ERASEBKGND()
ON_WM_SETFOCUS()
ON_WM_ACTIVATE()
ON_WM_QUERYENDSESSION()
ON_WM_ENDSESSION()
ON_MESSAGE(WM_IDLEUPDATECMDUI, OnIdleUpdateCmdUI)
ON_MESSAGE(WM_SETMESSAGESTRING, OnSetMessageString)
ON_WM_INITMENUPOPUP()
ON_WM_MENUSELECT()
ON_WM_DRAWITEM()
ON_WM_MEASUREITEM()
ON_COMMAND_EX(ID_VIEW_TOOLBAR, OnBarCheck)
ON_COMMAND_EX(ID_VIEW_STATUS_BAR, OnBarCheck)
ON_UPDATE_COMMAND_UI(ID_VIEW_TOOLBAR, OnUpdateControlBarMenu)
ON_UPDATE_COMMAND_UI(ID_VIEW_STATUS_BAR, OnUpdateControlBarMenu)
END_MESSAGE_MAP()

namespace {

// Command-UI updates of a menu item: the item at m_nIndex of m_pMenu (a submenu's item is updated through
// the first command in it).
class CMenuCmdUI : public CCmdUI {
public:
    void Enable(BOOL bOn) override {
        if (m_pMenu) {
            m_pMenu->EnableMenuItem(m_nIndex, MF_BYPOSITION | (bOn ? MF_ENABLED : MF_GRAYED));
        }
        m_bEnableChanged = TRUE;
    }
    void SetCheck(int nCheck) override {
        if (m_pMenu && !m_pSubMenu) {
            MENUITEMINFOW info{};
            info.cbSize = sizeof info;
            info.fMask = MIIM_FTYPE;
            m_pMenu->GetMenuItemInfo(m_nIndex, &info, TRUE);
            info.fType &= ~MFT_RADIOCHECK;
            m_pMenu->SetMenuItemInfo(m_nIndex, &info, TRUE);
            m_pMenu->CheckMenuItem(m_nIndex, MF_BYPOSITION | (nCheck ? MF_CHECKED : MF_UNCHECKED));
        }
    }
    void SetRadio(BOOL bOn) override {
        if (m_pMenu && !m_pSubMenu) {
            MENUITEMINFOW info{};
            info.cbSize = sizeof info;
            info.fMask = MIIM_FTYPE;
            m_pMenu->GetMenuItemInfo(m_nIndex, &info, TRUE);
            info.fType |= MFT_RADIOCHECK;
            m_pMenu->SetMenuItemInfo(m_nIndex, &info, TRUE);
            m_pMenu->CheckMenuItem(m_nIndex, MF_BYPOSITION | (bOn ? MF_CHECKED : MF_UNCHECKED));
        }
    }
    void SetText(LPCTSTR lpszText) override {
        if (m_pMenu && !m_pSubMenu) {
            MENUITEMINFOW info{};
            info.cbSize = sizeof info;
            info.fMask = MIIM_STRING;
            info.dwTypeData = const_cast<LPWSTR>(lpszText ? lpszText : u"");
            m_pMenu->SetMenuItemInfo(m_nIndex, &info, TRUE);
        }
    }
};

} // namespace

CFrameWnd::CFrameWnd() = default;
CFrameWnd::~CFrameWnd() = default;

BOOL CFrameWnd::Create(LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle, const RECT& rect,
                       CWnd* pParentWnd, LPCTSTR lpszMenuName, DWORD dwExStyle, CCreateContext* pContext) {
    HMENU hMenu = nullptr;
    if (lpszMenuName) {
        hMenu = AfxGetResourceProvider().LoadMenu(AfxGetResourceHandle(), lpszMenuName);
    }
    m_strTitle = lpszWindowName;
    int cx = CW_USEDEFAULT;
    int cy = CW_USEDEFAULT;
    if (rect.left != CW_USEDEFAULT) {
        cx = rect.right - rect.left;
        cy = rect.bottom - rect.top;
    }
    return CreateEx(dwExStyle, lpszClassName, lpszWindowName, dwStyle, rect.left, rect.top, cx, cy,
                    SafeHwndOf(pParentWnd), hMenu, pContext);
}

BOOL CFrameWnd::Create(LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle, const RECT& rect,
                       CWnd* pParentWnd, UINT nID, CCreateContext* pContext) {
    m_strTitle = lpszWindowName;
    HMENU idOrMenu = (dwStyle & WS_CHILD) ? reinterpret_cast<HMENU>(static_cast<UINT_PTR>(nID)) : nullptr;
    return CreateEx(0, lpszClassName, lpszWindowName, dwStyle, rect.left, rect.top, rect.right - rect.left,
                    rect.bottom - rect.top, SafeHwndOf(pParentWnd), idOrMenu, pContext);
}

LPCTSTR AfxFrameClassForResource(UINT nIDResource, CString& title) {
    CString full;
    if (full.LoadString(nIDResource)) {
        AfxExtractSubString(title, full, 0);
    }
    AfxEndDeferRegisterClass();
    if (HICON hIcon = AfxGetResourceProvider().LoadIcon(AfxGetResourceHandle(), MAKEINTRESOURCEW(nIDResource))) {
        return AfxRegisterWndClass(CS_DBLCLKS, ::LoadCursorW(nullptr, IDC_ARROW),
                                   reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_WINDOW + 1)), hIcon);
    }
    return _afxWndFrameOrView;
}

BOOL CFrameWnd::LoadFrame(UINT nIDResource, DWORD dwDefaultStyle, CWnd* pParentWnd,
                          CCreateContext* pContext) {
    m_nIDHelp = nIDResource;
    LPCTSTR lpszClass = AfxFrameClassForResource(nIDResource, m_strTitle);
    CString title = m_strTitle;
    if (!Create(lpszClass, title, dwDefaultStyle, rectDefault, pParentWnd, MAKEINTRESOURCEW(nIDResource), 0,
                pContext)) {
        return FALSE;
    }
    m_hMenuDefault = ::GetMenu(m_hWnd);
    m_hAccelTable =
        AfxGetResourceProvider().LoadAccelerators(AfxGetResourceHandle(), MAKEINTRESOURCEW(nIDResource));
    if (!pContext) {
        SendMessageToDescendants(WM_INITIALUPDATE, 0, 0, TRUE, TRUE);
    }
    return TRUE;
}

BOOL CFrameWnd::PreCreateWindow(CREATESTRUCT& cs) {
    if (!cs.lpszClass) {
        AfxEndDeferRegisterClass();
        cs.lpszClass = _afxWndFrameOrView;
    }
    if (cs.style & FWS_ADDTOTITLE) {
        cs.style |= FWS_PREFIXTITLE;
    }
    cs.dwExStyle |= WS_EX_CLIENTEDGE;
    return TRUE;
}

int CFrameWnd::OnCreate(LPCREATESTRUCT lpcs) {
    return OnCreateHelper(lpcs, static_cast<CCreateContext*>(lpcs->lpCreateParams));
}

int CFrameWnd::OnCreateHelper(LPCREATESTRUCT lpcs, CCreateContext* pContext) {
    if (CWnd::OnCreate(lpcs) == -1) {
        return -1;
    }
    if (!OnCreateClient(lpcs, pContext)) {
        return -1;
    }
    PostMessageW(WM_SETMESSAGESTRING, AFX_IDS_IDLEMESSAGE);
    RecalcLayout();
    return 0;
}

BOOL CFrameWnd::OnCreateClient(LPCREATESTRUCT, CCreateContext* pContext) {
    if (pContext && pContext->m_pNewViewClass) {
        return CreateView(pContext, AFX_IDW_PANE_FIRST) != nullptr;
    }
    return TRUE;
}

CWnd* CFrameWnd::CreateView(CCreateContext* pContext, UINT nID) {
    CObject* object = pContext->m_pNewViewClass->CreateObject();
    auto* pView = dynamic_cast<CWnd*>(object);
    if (!pView) {
        delete object;
        return nullptr;
    }
    // A view that fails to create has deleted itself (PostNcDestroy).
    if (!pView->Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE | WS_BORDER, CRect(0, 0, 0, 0), this, nID,
                       pContext)) {
        return nullptr;
    }
    if (pView->GetExStyle() & WS_EX_CLIENTEDGE) {
        ModifyStyleEx(WS_EX_CLIENTEDGE, 0, SWP_FRAMECHANGED);
    }
    return pView;
}

void CFrameWnd::PostNcDestroy() {
    delete this;
}

void CFrameWnd::OnDestroy() {
    m_pViewActive = nullptr;
    // A shared menu on the bar (a document template's) is its owner's to destroy, not the window's.
    if (m_hMenuDefault && ::GetMenu(m_hWnd) != m_hMenuDefault) {
        ::SetMenu(m_hWnd, m_hMenuDefault);
    }
    CWnd::OnDestroy();
}

CDocument* CFrameWnd::GetActiveDocument() {
    CView* pView = GetActiveView();
    return pView ? pView->GetDocument() : nullptr;
}

void CFrameWnd::SetActiveView(CView* pViewNew, BOOL bNotify) {
    CView* pViewOld = m_pViewActive;
    if (pViewNew == pViewOld) {
        return;
    }
    m_pViewActive = nullptr;
    if (pViewOld && bNotify) {
        pViewOld->OnActivateView(FALSE, pViewNew, pViewOld);
    }
    m_pViewActive = pViewNew;
    if (pViewNew && bNotify) {
        pViewNew->OnActivateView(TRUE, pViewNew, pViewOld);
    }
}

void CFrameWnd::ActivateFrame(int nCmdShow) {
    if (nCmdShow == -1) {
        if (!IsWindowVisible()) {
            nCmdShow = SW_SHOWNORMAL;
        } else if (IsIconic()) {
            nCmdShow = SW_RESTORE;
        }
    }
    BringToTop(nCmdShow);
    if (nCmdShow != -1) {
        ShowWindow(nCmdShow);
        BringToTop(nCmdShow);
    }
}

void CFrameWnd::BringToTop(int nCmdShow) {
    if (nCmdShow != SW_HIDE && nCmdShow != SW_MINIMIZE && nCmdShow != SW_SHOWMINNOACTIVE &&
        nCmdShow != SW_SHOWNA && nCmdShow != SW_SHOWNOACTIVATE) {
        HWND hWndLastPop = ::GetLastActivePopup(m_hWnd);
        if (hWndLastPop && ::IsWindowVisible(hWndLastPop)) {
            ::BringWindowToTop(hWndLastPop);
        } else {
            ::BringWindowToTop(m_hWnd);
        }
    }
}

void CFrameWnd::InitialUpdateFrame(CDocument* pDoc, BOOL bMakeVisible) {
    CView* pView = GetActiveView();
    if (!pView) {
        CWnd* pWnd = GetDescendantWindow(AFX_IDW_PANE_FIRST, TRUE);
        if (pWnd && pWnd->IsKindOf(RUNTIME_CLASS(CView))) {
            pView = static_cast<CView*>(pWnd);
            SetActiveView(pView, FALSE);
        }
    }
    if (bMakeVisible) {
        SendMessageToDescendants(WM_INITIALUPDATE, 0, 0, TRUE, TRUE);
        if (pView) {
            pView->OnActivateFrame(WA_INACTIVE, this);
        }
        CWinApp* pApp = AfxGetApp();
        int nCmdShow = -1;
        if (pApp && pApp->m_pMainWnd == this) {
            nCmdShow = pApp->m_nCmdShow;
            pApp->m_nCmdShow = -1; // only the first frame takes the start-up show state
        }
        ActivateFrame(nCmdShow);
        if (pView) {
            pView->OnActivateView(TRUE, pView, pView);
        }
    }
    if (pDoc) {
        pDoc->UpdateFrameCounts();
    }
    OnUpdateFrameTitle(TRUE);
}

void CFrameWnd::RecalcLayout(BOOL) {
    if (m_bInRecalcLayout || !m_hWnd) {
        return;
    }
    m_bInRecalcLayout = TRUE;
    m_nIdleFlags &= ~(idleLayout | idleNotify);
    RECT borders = m_rectBorder;
    RepositionBars(0, 0xFFFF, AFX_IDW_PANE_FIRST, reposExtra, &borders);
    m_bInRecalcLayout = FALSE;
}

void CFrameWnd::DelayRecalcLayout(BOOL bNotify) {
    m_nIdleFlags |= (idleLayout | (bNotify ? idleNotify : 0));
}

void CFrameWnd::OnSize(UINT nType, int cx, int cy) {
    CWnd::OnSize(nType, cx, cy);
    if (nType != SIZE_MINIMIZED) {
        RecalcLayout();
    }
}

BOOL CFrameWnd::OnEraseBkgnd(CDC* pDC) {
    // The view covers the client area; erasing under it would only flicker.
    if (m_pViewActive) {
        return TRUE;
    }
    return CWnd::OnEraseBkgnd(pDC);
}

void CFrameWnd::OnSetFocus(CWnd* pOldWnd) {
    if (m_pViewActive) {
        m_pViewActive->SetFocus();
    } else {
        CWnd::OnSetFocus(pOldWnd);
    }
}

void CFrameWnd::OnActivate(UINT nState, CWnd* pWndOther, BOOL bMinimized) {
    CWnd::OnActivate(nState, pWndOther, bMinimized);
    if (m_pViewActive) {
        m_pViewActive->OnActivateFrame(nState, this);
    }
}

void CFrameWnd::OnClose() {
    CDocument* pDocument = GetActiveDocument();
    if (pDocument && !pDocument->CanCloseFrame(this)) {
        return;
    }
    CWinApp* pApp = AfxGetApp();
    if (pApp && pApp->m_pMainWnd == this) {
        if (!pDocument && !pApp->SaveAllModified()) {
            return;
        }
        pApp->HideApplication();
        pApp->CloseAllDocuments(FALSE);
        // Closing the documents may already have destroyed this frame.
        if (!pApp->m_pMainWnd) {
            AfxPostQuitMessage(0);
            return;
        }
    }
    if (pDocument) {
        pDocument->PreCloseFrame(this);
    }
    DestroyWindow();
}

BOOL CFrameWnd::OnQueryEndSession() {
    CWinApp* pApp = AfxGetApp();
    if (pApp && pApp->m_pMainWnd == this) {
        return pApp->SaveAllModified();
    }
    return TRUE;
}

void CFrameWnd::OnEndSession(BOOL bEnding) {
    if (!bEnding) {
        return;
    }
    CWinApp* pApp = AfxGetApp();
    if (pApp && pApp->m_pMainWnd == this) {
        pApp->CloseAllDocuments(TRUE);
        pApp->ExitInstance();
    }
}

BOOL CFrameWnd::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) {
    // The active view (and through it its document) first.
    CView* pView = GetActiveView();
    if (pView && pView->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo)) {
        return TRUE;
    }
    if (CWnd::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo)) {
        return TRUE;
    }
    CWinApp* pApp = AfxGetApp();
    return pApp && pApp->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}

BOOL CFrameWnd::OnCommand(WPARAM wParam, LPARAM lParam) {
    return CWnd::OnCommand(wParam, lParam);
}

BOOL CFrameWnd::PreTranslateMessage(MSG* pMsg) {
    if (CWnd::PreTranslateMessage(pMsg)) {
        return TRUE;
    }
    if (pMsg->message >= WM_KEYFIRST && pMsg->message <= WM_KEYLAST) {
        HACCEL hAccel = GetDefaultAccelerator();
        return hAccel && ::TranslateAcceleratorW(m_hWnd, hAccel, pMsg);
    }
    return FALSE;
}

LRESULT CFrameWnd::OnIdleUpdateCmdUI(WPARAM, LPARAM) {
    if (m_nIdleFlags & idleLayout) {
        RecalcLayout(m_nIdleFlags & idleNotify);
    }
    if (m_nIdleFlags & idleTitle) {
        OnUpdateFrameTitle(TRUE);
    }
    m_nIdleFlags = 0;
    return 0;
}

LRESULT CFrameWnd::OnSetMessageString(WPARAM wParam, LPARAM lParam) {
    UINT nIDLast = m_nIDLastMessage;
    if (CWnd* pBar = GetMessageBar()) {
        CString text;
        if (lParam) {
            text = reinterpret_cast<LPCTSTR>(lParam);
        } else if (wParam) {
            GetMessageString(static_cast<UINT>(wParam), text);
        }
        pBar->SetWindowTextW(text);
    }
    m_nIDLastMessage = static_cast<UINT>(wParam);
    return nIDLast;
}

void CFrameWnd::GetMessageString(UINT nID, CString& rMessage) const {
    CString full;
    rMessage.Empty();
    if (full.LoadString(nID)) {
        AfxExtractSubString(rMessage, full, 0);
    }
}

void CFrameWnd::OnInitMenuPopup(CMenu* pMenu, UINT, BOOL bSysMenu) {
    if (bSysMenu || !pMenu) {
        return;
    }
    CMenuCmdUI state;
    state.m_pMenu = pMenu;
    state.m_nIndexMax = static_cast<UINT>(pMenu->GetMenuItemCount());
    for (state.m_nIndex = 0; state.m_nIndex < state.m_nIndexMax; ++state.m_nIndex) {
        state.m_nID = pMenu->GetMenuItemID(static_cast<int>(state.m_nIndex));
        if (state.m_nID == 0) {
            continue; // a separator
        }
        if (state.m_nID == static_cast<UINT>(-1)) {
            // A submenu follows its first command.
            state.m_pSubMenu = pMenu->GetSubMenu(static_cast<int>(state.m_nIndex));
            if (!state.m_pSubMenu) {
                continue;
            }
            state.m_nID = state.m_pSubMenu->GetMenuItemID(0);
            if (state.m_nID == 0 || state.m_nID == static_cast<UINT>(-1)) {
                continue;
            }
            state.DoUpdate(this, FALSE);
        } else {
            state.m_pSubMenu = nullptr;
            state.DoUpdate(this, m_bAutoMenuEnable && state.m_nID < 0xF000);
        }
        // A handler may have added or removed items.
        UINT count = static_cast<UINT>(pMenu->GetMenuItemCount());
        if (count < state.m_nIndexMax) {
            state.m_nIndex -= std::min(state.m_nIndex, state.m_nIndexMax - count);
            while (state.m_nIndex < count &&
                   pMenu->GetMenuItemID(static_cast<int>(state.m_nIndex)) == state.m_nID) {
                ++state.m_nIndex;
            }
        }
        state.m_nIndexMax = count;
    }
}

void CFrameWnd::OnMenuSelect(UINT nItemID, UINT nFlags, HMENU hSysMenu) {
    if (nFlags == 0xFFFF && hSysMenu == nullptr) {
        m_nIDTracking = AFX_IDS_IDLEMESSAGE; // the menu closed
    } else if (nItemID == 0 || (nFlags & (MF_SEPARATOR | MF_POPUP))) {
        m_nIDTracking = 0;
    } else {
        m_nIDTracking = nItemID;
    }
    if (m_nIDTracking != m_nIDLastMessage) {
        SendMessageW(WM_SETMESSAGESTRING, m_nIDTracking);
    }
}

void CFrameWnd::OnDrawItem(int nIDCtl, LPDRAWITEMSTRUCT lpDrawItemStruct) {
    if (lpDrawItemStruct->CtlType == ODT_MENU) {
        if (CMenu* pMenu = CMenu::FromHandlePermanent(reinterpret_cast<HMENU>(lpDrawItemStruct->hwndItem))) {
            pMenu->DrawItem(lpDrawItemStruct);
            return;
        }
    }
    CWnd::OnDrawItem(nIDCtl, lpDrawItemStruct);
}

namespace {

// The program's CMenu holding command `id` in the tree of `menu`.
CMenu* FindPermanentMenu(HMENU menu, UINT id, int depth = 0) {
    if (!menu || depth > 8) {
        return nullptr;
    }
    int count = ::GetMenuItemCount(menu);
    for (int i = 0; i < count; ++i) {
        if (HMENU sub = ::GetSubMenu(menu, i)) {
            if (CMenu* found = FindPermanentMenu(sub, id, depth + 1)) {
                return found;
            }
        } else if (::GetMenuItemID(menu, i) == id) {
            return CMenu::FromHandlePermanent(menu);
        }
    }
    return nullptr;
}

} // namespace

void CFrameWnd::OnMeasureItem(int nIDCtl, LPMEASUREITEMSTRUCT lpMeasureItemStruct) {
    if (lpMeasureItemStruct->CtlType == ODT_MENU) {
        if (CMenu* pMenu = FindPermanentMenu(::GetMenu(m_hWnd), lpMeasureItemStruct->itemID)) {
            pMenu->MeasureItem(lpMeasureItemStruct);
            return;
        }
    }
    CWnd::OnMeasureItem(nIDCtl, lpMeasureItemStruct);
}

void CFrameWnd::OnUpdateFrameTitle(BOOL bAddToTitle) {
    if (!(GetStyle() & FWS_ADDTOTITLE)) {
        return;
    }
    CDocument* pDocument = GetActiveDocument();
    if (bAddToTitle && pDocument) {
        UpdateFrameTitleForDocument(pDocument->GetTitle());
    } else {
        UpdateFrameTitleForDocument(nullptr);
    }
}

void CFrameWnd::UpdateFrameTitleForDocument(LPCTSTR lpszDocName) {
    if (!(GetStyle() & FWS_ADDTOTITLE)) {
        return;
    }
    CString text;
    if (GetStyle() & FWS_PREFIXTITLE) {
        if (lpszDocName && *lpszDocName) {
            text = lpszDocName;
            if (m_nWindow > 0) {
                text.AppendFormat(u":%d", m_nWindow);
            }
            text += u" - ";
        }
        text += m_strTitle;
    } else {
        text = m_strTitle;
        if (lpszDocName && *lpszDocName) {
            text += u" - ";
            text += lpszDocName;
            if (m_nWindow > 0) {
                text.AppendFormat(u":%d", m_nWindow);
            }
        }
    }
    CString current;
    GetWindowTextW(current);
    if (current != text) {
        SetWindowTextW(text);
    }
}
