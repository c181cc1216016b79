#include "toolkit/SECDockableFrame.h"

#include "platform/framework/CDockContext.h"
#include "platform/framework/CDocument.h"
#include "platform/framework/CWinApp.h"
#include "platform/framework/FrameClass.h"
#include "platform/framework/FrameworkResources.h"
#include "toolkit/SECDocTemplateUtils.h"
#include "toolkit/SECFrameBar.h"
#include "toolkit/SECMDIFrameWnd.h"
#include "toolkit/SECMultiDocTemplate.h"

IMPLEMENT_DYNCREATE(SECDockableFrame, SECFrameWnd)

BEGIN_MESSAGE_MAP(SECDockableFrame, SECFrameWnd)
ON_WM_ACTIVATE()
ON_WM_MOUSEACTIVATE()
ON_WM_PARENTNOTIFY()
ON_WM_NCLBUTTONDOWN()
ON_WM_NCLBUTTONDBLCLK()
ON_WM_DESTROY()
END_MESSAGE_MAP()

namespace {

bool IsBorderHit(UINT nHitTest) {
    return nHitTest >= HTLEFT && nHitTest <= HTBORDER;
}

} // namespace

BOOL SECHostsFloatingDockableFrame(CControlBar* pBar) {
    auto* bar = dynamic_cast<SECFrameBar*>(pBar);
    CFrameWnd* content = bar ? bar->GetContentFrame() : nullptr;
    return content && ::GetPropW(content->m_hWnd, kSECDockedStyleProp) != nullptr;
}

SECDockableFrame::SECDockableFrame() = default;

SECDockableFrame::~SECDockableFrame() {
    if (m_hMenu && !m_bSharedMenu) {
        ::DestroyMenu(m_hMenu);
    }
}

BOOL SECDockableFrame::CreateInBar(CFrameWnd* pDockSite, UINT nIDResource, UINT nBarID, CCreateContext* pContext,
                                   DWORD dwBarExStyle) {
    auto* bar = new SECFrameBar;
    bar->m_bAutoDelete = TRUE;
    const DWORD barStyle = WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | CBRS_TOP | CBRS_SIZE_DYNAMIC;
    if (!bar->Create(pDockSite, nullptr, barStyle, dwBarExStyle | CBRS_EX_SIZE_TO_FIT, nBarID)) {
        delete bar;
        return FALSE;
    }
    if (!LoadFrame(nIDResource, WS_CHILD | WS_VISIBLE | WS_CAPTION | WS_CLIPCHILDREN | FWS_ADDTOTITLE, bar,
                   pContext)) {
        // The frame is the caller's; the bar goes alone.
        bar->DestroyWindow();
        return FALSE;
    }
    CString title;
    GetWindowTextW(title);
    bar->SetWindowTextW(title);
    bar->EnableDocking(CBRS_ALIGN_ANY);
    return TRUE;
}

BOOL SECDockableFrame::PreCreateWindow(CREATESTRUCT& cs) {
    if (!SECFrameWnd::PreCreateWindow(cs)) {
        return FALSE;
    }
    cs.dwExStyle |= WS_EX_TOOLWINDOW;
    // The caption is the document's title alone.
    cs.style &= ~static_cast<DWORD>(FWS_PREFIXTITLE);
    return TRUE;
}

BOOL SECDockableFrame::LoadFrame(UINT nIDResource, DWORD dwDefaultStyle, CWnd* pParentWnd,
                                 CCreateContext* pContext) {
    m_nIDHelp = nIDResource;
    LPCTSTR lpszClass = AfxFrameClassForResource(nIDResource, m_strTitle);
    // The frames of a template share its menu and accelerators for this form, which it keeps.
    auto* pTemplate = pContext ? dynamic_cast<SECMultiDocTemplate*>(pContext->m_pNewDocTemplate) : nullptr;
    m_bSharedMenu = pTemplate != nullptr;
    m_hMenu = pTemplate ? pTemplate->m_hMenuDockable
                        : AfxGetResourceProvider().LoadMenu(AfxGetResourceHandle(), MAKEINTRESOURCEW(nIDResource));
    // The menu is kept for the main window rather than given to the child window.
    if (!CreateEx(0, lpszClass, m_strTitle, dwDefaultStyle | WS_CHILD, 0, 0, 0, 0, SafeHwndOf(pParentWnd),
                  nullptr, pContext)) {
        return FALSE;
    }
    m_hAccelTable = pTemplate ? pTemplate->m_hAccelDockable
                              : AfxGetResourceProvider().LoadAccelerators(AfxGetResourceHandle(),
                                                                          MAKEINTRESOURCEW(nIDResource));
    if (!pContext) {
        SendMessageToDescendants(WM_INITIALUPDATE, 0, 0, TRUE, TRUE);
    }
    return TRUE;
}

BOOL SECDockableFrame::PreTranslateMessage(MSG* pMsg) {
    if (CWnd::PreTranslateMessage(pMsg)) {
        return TRUE;
    }
    // The frame's accelerators send their commands to the main window, which routes them here while this
    // frame is the active one.
    if (pMsg->message >= WM_KEYFIRST && pMsg->message <= WM_KEYLAST) {
        HACCEL hAccel = GetDefaultAccelerator();
        CWnd* main = AfxGetMainWnd();
        return hAccel && main && ::TranslateAcceleratorW(main->m_hWnd, hAccel, pMsg);
    }
    return FALSE;
}

void SECDockableFrame::OnUpdateFrameTitle(BOOL bAddToTitle) {
    if (SECMDIFrameWnd* mdi = GetMDIFrame()) {
        mdi->OnUpdateFrameTitle(TRUE);
    }
    CDocument* document = GetActiveDocument();
    if (!(GetStyle() & FWS_ADDTOTITLE) || !bAddToTitle || !document) {
        return;
    }
    CString text = document->GetTitle();
    if (m_nWindow > 0) {
        text.AppendFormat(u":%d", m_nWindow);
    }
    CString current;
    GetWindowTextW(current);
    if (current != text) {
        SetWindowTextW(text);
    }
}

BOOL SECDockableFrame::DestroyWindow() {
    if (!m_hWnd) {
        return CWnd::DestroyWindow();
    }
    if (CControlBar* host = GetHostBar()) {
        return host->DestroyWindow();
    }
    return CWnd::DestroyWindow();
}

void SECDockableFrame::UpdateFrameMenu(BOOL bActivate, CWnd* pActivateWnd, HMENU hMenuAlt) {
    SECMDIFrameWnd* mdi = GetMDIFrame();
    if (!mdi || !mdi->m_hWndMDIClient) {
        return;
    }
    HWND client = mdi->m_hWndMDIClient;
    HMENU menu = hMenuAlt ? hMenuAlt : m_hMenu;
    if (!menu) {
        ::SendMessageW(client, WM_MDIREFRESHMENU, 0, 0);
        return;
    }
    if (bActivate) {
        ::SendMessageW(client, WM_MDISETMENU, reinterpret_cast<WPARAM>(menu),
                       reinterpret_cast<LPARAM>(mdi->GetWindowMenuPopup(menu)));
    } else if (pActivateWnd != this) {
        ::SendMessageW(client, WM_MDIREFRESHMENU, 0, 0);
    } else {
        ::SendMessageW(client, WM_MDISETMENU, reinterpret_cast<WPARAM>(mdi->GetDefaultMenu()), 0);
    }
}

BOOL SECDockableFrame::IsHostFloating() {
    CControlBar* host = GetHostBar();
    return host && host->IsFloating();
}

CControlBar* SECDockableFrame::GetHostBar() const {
    return dynamic_cast<CControlBar*>(GetParent());
}

SECMDIFrameWnd* SECDockableFrame::GetMDIFrame() const {
    if (auto* mdi = dynamic_cast<SECMDIFrameWnd*>(GetParentFrame())) {
        return mdi;
    }
    return dynamic_cast<SECMDIFrameWnd*>(AfxGetMainWnd());
}

void SECDockableFrame::Activate() {
    if (SECMDIFrameWnd* mdi = GetMDIFrame()) {
        mdi->SetActiveDockableFrame(this);
    }
}

void SECDockableFrame::OnActivate(UINT nState, CWnd* pWndOther, BOOL bMinimized) {
    SECFrameWnd::OnActivate(nState, pWndOther, bMinimized);
    if (nState != WA_INACTIVE) {
        Activate();
    }
}

int SECDockableFrame::OnMouseActivate(CWnd* pDesktopWnd, UINT nHitTest, UINT message) {
    const int result = SECFrameWnd::OnMouseActivate(pDesktopWnd, nHitTest, message);
    Activate();
    return result;
}

void SECDockableFrame::OnParentNotify(UINT message, LPARAM lParam) {
    SECFrameWnd::OnParentNotify(message, lParam);
    const UINT event = LOWORD(message);
    if (event == WM_LBUTTONDOWN || event == WM_RBUTTONDOWN) {
        Activate();
    }
}

void SECDockableFrame::OnNcLButtonDown(UINT nHitTest, CPoint point) {
    Activate();
    CControlBar* host = GetHostBar();
    if (host && host->IsFloating()) {
        // The floating frame drags by the caption and sizes by the borders; the close box is this frame's.
        CFrameWnd* floating = host->GetParentFrame();
        if (nHitTest != HTCLOSE && floating) {
            floating->SendMessageW(WM_NCLBUTTONDOWN, nHitTest, MAKELPARAM(point.x, point.y));
            return;
        }
    } else if (host && host->m_pDockContext && (nHitTest == HTCAPTION || IsBorderHit(nHitTest))) {
        // Docked, the bar's splitters size it: the borders drag as the caption does.
        host->m_pDockContext->StartDrag(point);
        return;
    }
    SECFrameWnd::OnNcLButtonDown(nHitTest, point);
}

void SECDockableFrame::OnNcLButtonDblClk(UINT nHitTest, CPoint point) {
    CControlBar* host = GetHostBar();
    if (nHitTest != HTCAPTION || !host) {
        SECFrameWnd::OnNcLButtonDblClk(nHitTest, point);
        return;
    }
    if (host->IsFloating()) {
        if (CFrameWnd* floating = host->GetParentFrame()) {
            floating->SendMessageW(WM_NCLBUTTONDBLCLK, HTCAPTION, MAKELPARAM(point.x, point.y));
        }
        return;
    }
    host->ScreenToClient(&point);
    host->SendMessageW(WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(point.x, point.y));
}

void SECDockableFrame::OnDestroy() {
    SECMDIFrameWnd* mdi = GetMDIFrame();
    if (mdi && mdi->GetActiveDockableFrame() == this) {
        const BOOL childShows = SECHasOtherVisibleMDIChild(nullptr);
        if (childShows || !SECActivateOtherDockableFrame(this)) {
            mdi->m_pActiveDockableFrame = nullptr;
            // The child that shows takes the active caption back.
            if (childShows) {
                ::SendMessageW(mdi->m_hWndMDIClient, WM_NCACTIVATE, TRUE, 0);
            }
        }
    }
    SECFrameWnd::OnDestroy();
}
