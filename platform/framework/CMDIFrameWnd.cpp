#include "platform/framework/CMDIFrameWnd.h"

#include "platform/framework/AfxRes.h"
#include "platform/framework/CDocTemplate.h"
#include "platform/framework/CDocument.h"
#include "platform/framework/CMDIChildWnd.h"
#include "platform/framework/CWinApp.h"

IMPLEMENT_DYNCREATE(CMDIFrameWnd, CFrameWnd)

BEGIN_MESSAGE_MAP(CMDIFrameWnd, CFrameWnd)
ON_WM_DESTROY()
ON_COMMAND(ID_WINDOW_NEW, OnWindowNew)
ON_UPDATE_COMMAND_UI(ID_WINDOW_NEW, OnUpdateWindowNew)
ON_COMMAND_RANGE(ID_WINDOW_ARRANGE, ID_WINDOW_TILE_VERT, OnWindowCommand)
ON_UPDATE_COMMAND_UI_RANGE(ID_WINDOW_ARRANGE, ID_WINDOW_TILE_VERT, OnUpdateWindowCommand)
END_MESSAGE_MAP()

namespace {
// The command of the first child in the Window menu; the client numbers the others after it.
constexpr UINT kFirstChildCommand = 0xFF00;
} // namespace

CMDIFrameWnd::CMDIFrameWnd() = default;

BOOL CMDIFrameWnd::PreCreateWindow(CREATESTRUCT& cs) {
    if (!CFrameWnd::PreCreateWindow(cs)) {
        return FALSE;
    }
    // The client draws the sunken edge around the children.
    cs.dwExStyle &= ~static_cast<DWORD>(WS_EX_CLIENTEDGE);
    return TRUE;
}

BOOL CMDIFrameWnd::OnCreateClient(LPCREATESTRUCT lpcs, CCreateContext*) {
    CMenu* pWindowMenu = nullptr;
    if (!m_hMenuDefault) {
        if (HMENU popup = GetWindowMenuPopup(::GetMenu(m_hWnd))) {
            pWindowMenu = CMenu::FromHandle(popup);
        }
    }
    return CreateClient(lpcs, pWindowMenu);
}

BOOL CMDIFrameWnd::CreateClient(LPCREATESTRUCT, CMenu* pWindowMenu) {
    CLIENTCREATESTRUCT ccs{};
    ccs.hWindowMenu = pWindowMenu ? pWindowMenu->GetSafeHmenu() : nullptr;
    ccs.idFirstChild = kFirstChildCommand;
    m_hWndMDIClient = ::CreateWindowExW(WS_EX_CLIENTEDGE, u"MDIClient", nullptr,
                                        WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS |
                                            MDIS_ALLCHILDSTYLES,
                                        0, 0, 0, 0, m_hWnd,
                                        reinterpret_cast<HMENU>(static_cast<UINT_PTR>(AFX_IDW_PANE_FIRST)),
                                        AfxGetInstanceHandle(), &ccs);
    return m_hWndMDIClient != nullptr;
}

HMENU CMDIFrameWnd::GetWindowMenuPopup(HMENU hMenuBar) {
    if (!hMenuBar) {
        return nullptr;
    }
    // Popups only: a maximised child's icon item is a popup too, but not the Window menu.
    for (int i = ::GetMenuItemCount(hMenuBar) - 2; i >= 0; --i) {
        HMENU sub = ::GetSubMenu(hMenuBar, i);
        if (sub && !(::GetMenuState(hMenuBar, static_cast<UINT>(i), MF_BYPOSITION) & MF_BITMAP)) {
            return sub;
        }
    }
    return nullptr;
}

void CMDIFrameWnd::OnDestroy() {
    // The client's children go with it; the client itself is a plain window without an object.
    m_hWndMDIClient = nullptr;
    CFrameWnd::OnDestroy();
}

CMDIChildWnd* CMDIFrameWnd::MDIGetActive(BOOL* pbMaximized) const {
    if (!m_hWndMDIClient) {
        if (pbMaximized) {
            *pbMaximized = FALSE;
        }
        return nullptr;
    }
    HWND active = reinterpret_cast<HWND>(
        ::SendMessageW(m_hWndMDIClient, WM_MDIGETACTIVE, 0, reinterpret_cast<LPARAM>(pbMaximized)));
    return dynamic_cast<CMDIChildWnd*>(CWnd::FromHandlePermanent(active));
}

void CMDIFrameWnd::MDIActivate(CWnd* pWndActivate) {
    ::SendMessageW(m_hWndMDIClient, WM_MDIACTIVATE, reinterpret_cast<WPARAM>(pWndActivate->GetSafeHwnd()), 0);
}
void CMDIFrameWnd::MDIMaximize(CWnd* pWnd) {
    ::SendMessageW(m_hWndMDIClient, WM_MDIMAXIMIZE, reinterpret_cast<WPARAM>(pWnd->GetSafeHwnd()), 0);
}
void CMDIFrameWnd::MDIRestore(CWnd* pWnd) {
    ::SendMessageW(m_hWndMDIClient, WM_MDIRESTORE, reinterpret_cast<WPARAM>(pWnd->GetSafeHwnd()), 0);
}
void CMDIFrameWnd::MDINext() {
    ::SendMessageW(m_hWndMDIClient, WM_MDINEXT, 0, 0);
}
void CMDIFrameWnd::MDIPrev() {
    ::SendMessageW(m_hWndMDIClient, WM_MDINEXT, 0, 1);
}
void CMDIFrameWnd::MDICascade(int nType) {
    ::SendMessageW(m_hWndMDIClient, WM_MDICASCADE, static_cast<WPARAM>(nType), 0);
}
void CMDIFrameWnd::MDITile(int nType) {
    ::SendMessageW(m_hWndMDIClient, WM_MDITILE, static_cast<WPARAM>(nType), 0);
}
void CMDIFrameWnd::MDIIconArrange() {
    ::SendMessageW(m_hWndMDIClient, WM_MDIICONARRANGE, 0, 0);
}

CMenu* CMDIFrameWnd::MDISetMenu(CMenu* pFrameMenu, CMenu* pWindowMenu) {
    HMENU old = reinterpret_cast<HMENU>(
        ::SendMessageW(m_hWndMDIClient, WM_MDISETMENU, reinterpret_cast<WPARAM>(pFrameMenu->GetSafeHmenu()),
                       reinterpret_cast<LPARAM>(pWindowMenu->GetSafeHmenu())));
    return CMenu::FromHandle(old);
}

void CMDIFrameWnd::OnUpdateFrameMenu(HMENU hMenuAlt) {
    if (CMDIChildWnd* pActive = MDIGetActive()) {
        pActive->OnUpdateFrameMenu(TRUE, pActive, hMenuAlt);
        return;
    }
    HMENU menu = hMenuAlt ? hMenuAlt : GetDefaultMenu();
    ::SendMessageW(m_hWndMDIClient, WM_MDISETMENU, reinterpret_cast<WPARAM>(menu),
                   reinterpret_cast<LPARAM>(GetWindowMenuPopup(menu)));
}

CFrameWnd* CMDIFrameWnd::GetActiveFrame() {
    CMDIChildWnd* pActive = MDIGetActive();
    return pActive ? static_cast<CFrameWnd*>(pActive) : this;
}

CDocument* CMDIFrameWnd::GetActiveDocument() {
    CMDIChildWnd* pActive = MDIGetActive();
    return pActive ? pActive->GetActiveDocument() : CFrameWnd::GetActiveDocument();
}

BOOL CMDIFrameWnd::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) {
    CMDIChildWnd* pActive = MDIGetActive();
    if (pActive && pActive->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo)) {
        return TRUE;
    }
    return CFrameWnd::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}

BOOL CMDIFrameWnd::OnCommand(WPARAM wParam, LPARAM lParam) {
    // A control notification of the active child is the child's; menu commands route through OnCmdMsg.
    CMDIChildWnd* pActive = MDIGetActive();
    if (pActive && lParam && ::IsChild(pActive->m_hWnd, reinterpret_cast<HWND>(lParam))) {
        return pActive->SendMessageW(WM_COMMAND, wParam, lParam) != 0 || TRUE;
    }
    // The Window menu's child list and the maximised child's buttons belong to the client.
    UINT nID = LOWORD(wParam);
    if (lParam == 0 && (nID >= kFirstChildCommand || (pActive && nID >= 0xF000))) {
        DefWindowProcW(WM_COMMAND, wParam, lParam);
        return TRUE;
    }
    return CFrameWnd::OnCommand(wParam, lParam);
}

BOOL CMDIFrameWnd::PreTranslateMessage(MSG* pMsg) {
    CMDIChildWnd* pActive = MDIGetActive();
    if (pActive && pActive->m_hAccelShared && pMsg->message >= WM_KEYFIRST && pMsg->message <= WM_KEYLAST &&
        ::TranslateAcceleratorW(m_hWnd, pActive->m_hAccelShared, pMsg)) {
        return TRUE;
    }
    if (m_hWndMDIClient && ::TranslateMDISysAccel(m_hWndMDIClient, pMsg)) {
        return TRUE;
    }
    return CFrameWnd::PreTranslateMessage(pMsg);
}

void CMDIFrameWnd::OnUpdateFrameTitle(BOOL bAddToTitle) {
    if (!(GetStyle() & FWS_ADDTOTITLE)) {
        return;
    }
    BOOL maximized = FALSE;
    CMDIChildWnd* pActive = MDIGetActive(&maximized);
    CDocument* pDocument = pActive && !maximized ? pActive->GetActiveDocument() : nullptr;
    if (bAddToTitle && pDocument) {
        UpdateFrameTitleForDocument(pDocument->GetTitle());
        return;
    }
    // A maximised child's title already shows in the caption, put there by the client.
    CString childTitle;
    if (bAddToTitle && pActive && !maximized) {
        childTitle = pActive->GetTitle();
    }
    UpdateFrameTitleForDocument(childTitle.IsEmpty() ? nullptr : static_cast<LPCTSTR>(childTitle));
}

LRESULT CMDIFrameWnd::DefWindowProcW(UINT message, WPARAM wParam, LPARAM lParam) {
    if (m_pfnSuper) {
        return CFrameWnd::DefWindowProcW(message, wParam, lParam);
    }
    return ::DefFrameProcW(m_hWnd, m_hWndMDIClient, message, wParam, lParam);
}

void CMDIFrameWnd::OnWindowCommand(UINT nID) {
    switch (nID) {
    case ID_WINDOW_ARRANGE:
        MDIIconArrange();
        break;
    case ID_WINDOW_CASCADE:
        MDICascade();
        break;
    case ID_WINDOW_TILE_HORZ:
        MDITile(MDITILE_HORIZONTAL);
        break;
    case ID_WINDOW_TILE_VERT:
        MDITile(MDITILE_VERTICAL);
        break;
    default:
        break;
    }
}

CDocument* CMDIFrameWnd::DocumentForNewWindow(CFrameWnd*& pActive) {
    pActive = GetActiveFrame();
    CDocument* pDoc = pActive != this ? pActive->GetActiveDocument() : nullptr;
    return pDoc && pDoc->GetDocTemplate() ? pDoc : nullptr;
}

void CMDIFrameWnd::OnWindowNew() {
    CFrameWnd* pActive = nullptr;
    CDocument* pDoc = DocumentForNewWindow(pActive);
    if (!pDoc) {
        return;
    }
    CDocTemplate* pTemplate = pDoc->GetDocTemplate();
    if (CFrameWnd* pFrame = pTemplate->CreateNewFrame(pDoc, pActive)) {
        pTemplate->InitialUpdateFrame(pFrame, pDoc);
    }
}

void CMDIFrameWnd::OnUpdateWindowNew(CCmdUI* pCmdUI) {
    CFrameWnd* pActive = nullptr;
    pCmdUI->Enable(DocumentForNewWindow(pActive) != nullptr);
}

void CMDIFrameWnd::OnUpdateWindowCommand(CCmdUI* pCmdUI) {
    pCmdUI->Enable(MDIGetActive() != nullptr);
}
