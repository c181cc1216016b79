#include "platform/framework/CMDIChildWnd.h"

#include "platform/framework/CDocument.h"
#include "platform/framework/CMDIFrameWnd.h"
#include "platform/framework/CMultiDocTemplate.h"
#include "platform/framework/CView.h"
#include "platform/framework/CWinApp.h"
#include "platform/framework/FrameClass.h"
#include "platform/framework/FrameworkResources.h"

IMPLEMENT_DYNCREATE(CMDIChildWnd, CFrameWnd)

BEGIN_MESSAGE_MAP(CMDIChildWnd, CFrameWnd)
ON_WM_CREATE()
ON_WM_DESTROY()
ON_MESSAGE(WM_MDIACTIVATE, OnMDIActivate)
END_MESSAGE_MAP()

CMDIChildWnd::CMDIChildWnd() = default;

BOOL CMDIChildWnd::PreCreateWindow(CREATESTRUCT& cs) {
    if (!CFrameWnd::PreCreateWindow(cs)) {
        return FALSE;
    }
    cs.style |= WS_CHILD;
    cs.dwExStyle &= ~static_cast<DWORD>(WS_EX_CLIENTEDGE);
    return TRUE;
}

BOOL CMDIChildWnd::Create(LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle, const RECT& rect,
                          CMDIFrameWnd* pParentWnd, CCreateContext* pContext) {
    if (!pParentWnd) {
        CWinApp* pApp = AfxGetApp();
        pParentWnd = pApp ? dynamic_cast<CMDIFrameWnd*>(pApp->m_pMainWnd) : nullptr;
    }
    if (!pParentWnd || !pParentWnd->m_hWndMDIClient) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        PostNcDestroy();
        return FALSE;
    }
    m_strTitle = lpszWindowName;
    CREATESTRUCT cs{};
    cs.style = static_cast<LONG>(dwStyle | WS_CHILD);
    cs.lpszClass = lpszClassName;
    cs.lpszName = lpszWindowName;
    cs.hwndParent = pParentWnd->m_hWnd;
    cs.x = rect.left;
    cs.y = rect.top;
    cs.cx = rect.left == CW_USEDEFAULT ? CW_USEDEFAULT : rect.right - rect.left;
    cs.cy = rect.left == CW_USEDEFAULT ? CW_USEDEFAULT : rect.bottom - rect.top;
    cs.lpCreateParams = pContext;
    if (!PreCreateWindow(cs)) {
        PostNcDestroy();
        return FALSE;
    }
    MDICREATESTRUCTW mcs{};
    mcs.szClass = cs.lpszClass;
    mcs.szTitle = cs.lpszName;
    mcs.hOwner = AfxGetInstanceHandle();
    mcs.x = cs.x;
    mcs.y = cs.y;
    mcs.cx = cs.cx;
    mcs.cy = cs.cy;
    mcs.style = static_cast<DWORD>(cs.style) & ~static_cast<DWORD>(WS_MAXIMIZE | WS_VISIBLE);
    mcs.lParam = reinterpret_cast<LPARAM>(pContext);
    HWND client = pParentWnd->m_hWndMDIClient;
    if (!CreateAttached([&] {
            return reinterpret_cast<HWND>(::SendMessageW(client, WM_MDICREATE, 0, reinterpret_cast<LPARAM>(&mcs)));
        })) {
        return FALSE;
    }
    if (cs.style & WS_MAXIMIZE) {
        MDIMaximize();
    }
    if (cs.style & WS_VISIBLE) {
        ShowWindow(SW_SHOW);
        MDIActivate();
    }
    return TRUE;
}

BOOL CMDIChildWnd::LoadFrame(UINT nIDResource, DWORD dwDefaultStyle, CWnd* pParentWnd, CCreateContext* pContext) {
    m_nIDHelp = nIDResource;
    // The children of a multiple-document template share its menu and accelerators, which it keeps.
    if (auto* pTemplate = pContext ? dynamic_cast<CMultiDocTemplate*>(pContext->m_pNewDocTemplate) : nullptr) {
        m_hMenuShared = pTemplate->m_hMenuShared;
        m_hAccelShared = pTemplate->m_hAccelTable;
    }
    LPCTSTR lpszClass = AfxFrameClassForResource(nIDResource, m_strTitle);
    CString title = m_strTitle;
    if (!Create(lpszClass, title, dwDefaultStyle, rectDefault, dynamic_cast<CMDIFrameWnd*>(pParentWnd), pContext)) {
        return FALSE;
    }
    if (!m_hMenuShared) {
        m_hMenuShared = AfxGetResourceProvider().LoadMenu(AfxGetResourceHandle(), MAKEINTRESOURCEW(nIDResource));
    }
    if (!m_hAccelShared) {
        m_hAccelShared =
            AfxGetResourceProvider().LoadAccelerators(AfxGetResourceHandle(), MAKEINTRESOURCEW(nIDResource));
    }
    if (!pContext) {
        SendMessageToDescendants(WM_INITIALUPDATE, 0, 0, TRUE, TRUE);
    }
    return TRUE;
}

int CMDIChildWnd::OnCreate(LPCREATESTRUCT lpcs) {
    // The client passes the MDI creation record; the create context rides in its lParam.
    auto* mcs = static_cast<const MDICREATESTRUCTW*>(lpcs->lpCreateParams);
    return OnCreateHelper(lpcs, mcs ? reinterpret_cast<CCreateContext*>(mcs->lParam) : nullptr);
}

void CMDIChildWnd::OnDestroy() {
    CFrameWnd::OnDestroy();
}

BOOL CMDIChildWnd::DestroyWindow() {
    if (!m_hWnd) {
        return FALSE;
    }
    HWND client = ::GetParent(m_hWnd);
    if (client && (::GetWindowLongW(m_hWnd, GWL_EXSTYLE) & WS_EX_MDICHILD)) {
        ::SendMessageW(client, WM_MDIDESTROY, reinterpret_cast<WPARAM>(m_hWnd), 0);
        return TRUE;
    }
    return CFrameWnd::DestroyWindow();
}

void CMDIChildWnd::ActivateFrame(int nCmdShow) {
    BOOL maximized = FALSE;
    CMDIFrameWnd* pFrame = GetMDIFrame();
    CMDIChildWnd* pActive = pFrame ? pFrame->MDIGetActive(&maximized) : nullptr;
    // A new child comes up maximised when the active one is.
    if (nCmdShow == -1 && !IsWindowVisible() && pActive && maximized && pActive != this) {
        nCmdShow = SW_SHOWMAXIMIZED;
    }
    CFrameWnd::ActivateFrame(nCmdShow);
    MDIActivate();
}

CMDIFrameWnd* CMDIChildWnd::GetMDIFrame() const {
    HWND client = m_hWnd ? ::GetParent(m_hWnd) : nullptr;
    return client ? dynamic_cast<CMDIFrameWnd*>(CWnd::FromHandlePermanent(::GetParent(client))) : nullptr;
}

void CMDIChildWnd::MDIActivate() {
    ::SendMessageW(::GetParent(m_hWnd), WM_MDIACTIVATE, reinterpret_cast<WPARAM>(m_hWnd), 0);
}
void CMDIChildWnd::MDIDestroy() {
    ::SendMessageW(::GetParent(m_hWnd), WM_MDIDESTROY, reinterpret_cast<WPARAM>(m_hWnd), 0);
}
void CMDIChildWnd::MDIMaximize() {
    ::SendMessageW(::GetParent(m_hWnd), WM_MDIMAXIMIZE, reinterpret_cast<WPARAM>(m_hWnd), 0);
}
void CMDIChildWnd::MDIRestore() {
    ::SendMessageW(::GetParent(m_hWnd), WM_MDIRESTORE, reinterpret_cast<WPARAM>(m_hWnd), 0);
}

LRESULT CMDIChildWnd::OnMDIActivate(WPARAM, LPARAM lParam) {
    HWND activated = reinterpret_cast<HWND>(lParam);
    BOOL bActivate = activated == m_hWnd;
    CView* pView = GetActiveView();
    if (!bActivate && pView) {
        pView->OnActivateView(FALSE, pView, pView);
    }
    // The next child sets its own menu; only the last one going gives the frame its menu back.
    if (bActivate || !activated) {
        OnUpdateFrameMenu(bActivate, CWnd::FromHandle(activated), nullptr);
        if (CMDIFrameWnd* pFrame = GetMDIFrame()) {
            pFrame->DrawMenuBar();
            pFrame->OnUpdateFrameTitle(TRUE);
        }
    }
    if (bActivate && pView) {
        pView->OnActivateView(TRUE, pView, pView);
    }
    return 0;
}

void CMDIChildWnd::OnUpdateFrameMenu(BOOL bActivate, CWnd* pActivateWnd, HMENU hMenuAlt) {
    CMDIFrameWnd* pFrame = GetMDIFrame();
    if (!pFrame) {
        return;
    }
    HWND client = pFrame->m_hWndMDIClient;
    if (!hMenuAlt) {
        hMenuAlt = m_hMenuShared;
    }
    if (hMenuAlt && bActivate) {
        ::SendMessageW(client, WM_MDISETMENU, reinterpret_cast<WPARAM>(hMenuAlt),
                       reinterpret_cast<LPARAM>(pFrame->GetWindowMenuPopup(hMenuAlt)));
    } else if (!bActivate && !pActivateWnd) {
        HMENU menu = pFrame->GetDefaultMenu();
        ::SendMessageW(client, WM_MDISETMENU, reinterpret_cast<WPARAM>(menu),
                       reinterpret_cast<LPARAM>(pFrame->GetWindowMenuPopup(menu)));
    } else {
        ::SendMessageW(client, WM_MDIREFRESHMENU, 0, 0);
    }
}

void CMDIChildWnd::OnUpdateFrameTitle(BOOL bAddToTitle) {
    if (CMDIFrameWnd* pFrame = GetMDIFrame()) {
        pFrame->OnUpdateFrameTitle(bAddToTitle);
    }
    if (!(GetStyle() & FWS_ADDTOTITLE)) {
        return;
    }
    CDocument* pDocument = GetActiveDocument();
    CString text = m_strTitle;
    if (bAddToTitle && pDocument) {
        text = pDocument->GetTitle();
        if (m_nWindow > 0) {
            text.AppendFormat(u":%d", m_nWindow);
        }
    }
    CString current;
    GetWindowTextW(current);
    if (current != text) {
        SetWindowTextW(text);
    }
}

LRESULT CMDIChildWnd::DefWindowProcW(UINT message, WPARAM wParam, LPARAM lParam) {
    if (m_pfnSuper) {
        return CFrameWnd::DefWindowProcW(message, wParam, lParam);
    }
    return ::DefMDIChildProcW(m_hWnd, message, wParam, lParam);
}
