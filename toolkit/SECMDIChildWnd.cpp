#include "toolkit/SECMDIChildWnd.h"

#include "platform/framework/CMDIFrameWnd.h"
#include "platform/framework/CView.h"
#include "platform/framework/CWinApp.h"
#include "toolkit/SECMDIFrameWnd.h"
#include "toolkit/ScxButtonMsgFilter.h"

IMPLEMENT_DYNCREATE(SECMDIChildWnd, CMDIChildWnd)

BEGIN_MESSAGE_MAP(SECMDIChildWnd, CMDIChildWnd)
ON_WM_MOUSEACTIVATE()
ON_WM_PARENTNOTIFY()
ON_WM_CHILDACTIVATE()
ON_WM_DESTROY()
ON_WM_SIZE()
ON_MESSAGE(WM_MDIACTIVATE, OnMDIActivate)
END_MESSAGE_MAP()

SECMDIChildWnd::SECMDIChildWnd() {
    m_filters.RegisterDocumentFilters(
        &nsSysCommandEx::ScxButtonMDIChildMsgFilter::classScxButtonMDIChildMsgFilter);
    SECMDIChildWnd::ConfigureCaptionButtons(SECDefaultCaptionConfig());
}

void SECMDIChildWnd::ConfigureCaptionButtons(UINT nFlags) {
    m_filters.ConfigureDocumentFilters(nFlags);
}

LRESULT SECMDIChildWnd::DefWindowProcW(UINT message, WPARAM wParam, LPARAM lParam) {
    LRESULT result = 0;
    if (m_filters.OnSysCommandEx(message, wParam, lParam, result)) {
        return result;
    }
    return CMDIChildWnd::DefWindowProcW(message, wParam, lParam);
}

LRESULT SECMDIChildWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    return m_filters.Route(message, wParam, lParam,
                           [&] { return CMDIChildWnd::WindowProc(message, wParam, lParam); });
}

BOOL SECMDIChildWnd::LoadFrame(UINT nIDResource, DWORD dwDefaultStyle, CWnd* pParentWnd, CCreateContext* pContext) {
    // Under a frame with a menu bar the bar shows this window's menu by its id; no window menu is set.
    auto* frame = dynamic_cast<SECMDIFrameWnd*>(pParentWnd ? pParentWnd : AfxGetMainWnd());
    m_bMenuBarMode = frame && frame->IsMenuBarMode() && nIDResource != 0;
    m_nMenuId = m_bMenuBarMode ? nIDResource : 0;
    return CMDIChildWnd::LoadFrame(nIDResource, dwDefaultStyle | WS_CHILD, pParentWnd, pContext);
}

SECMDIFrameWnd* SECMDIChildWnd::MenuBarFrame() const {
    auto* frame = dynamic_cast<SECMDIFrameWnd*>(GetMDIFrame());
    return frame && frame->IsMenuBarMode() ? frame : nullptr;
}

void SECMDIChildWnd::OnUpdateFrameMenu(BOOL bActivate, CWnd* pActivateWnd, HMENU hMenuAlt) {
    m_hMenuAlt = hMenuAlt;
    CMDIChildWnd::OnUpdateFrameMenu(bActivate, pActivateWnd, hMenuAlt);
    if (SECMDIFrameWnd* frame = MenuBarFrame()) {
        if (::GetMenu(frame->m_hWnd)) {
            ::SetMenu(frame->m_hWnd, nullptr);
        }
        frame->UpdateWindowMenu();
    }
}

LRESULT SECMDIChildWnd::OnMDIActivate(WPARAM wParam, LPARAM lParam) {
    const LRESULT result = CMDIChildWnd::OnMDIActivate(wParam, lParam);
    SECMDIFrameWnd* frame = MenuBarFrame();
    if (!frame) {
        return result;
    }
    const HWND activated = reinterpret_cast<HWND>(lParam);
    if (activated == m_hWnd && m_nMenuId) {
        frame->ActivateMenuForId(m_nMenuId);
    } else if (!activated) {
        // The last document window went: the frame's own menu again.
        frame->ActivateMenuForId(static_cast<UINT>(-1));
    }
    frame->RefreshMenuBar();
    return result;
}

void SECMDIChildWnd::OnSize(UINT nType, int cx, int cy) {
    // The client knows the window as maximised once the default processing has run.
    CMDIChildWnd::OnSize(nType, cx, cy);
    if (nType <= SIZE_MAXIMIZED) {
        if (SECMDIFrameWnd* frame = MenuBarFrame()) {
            frame->RefreshMenuBar();
        }
    }
}

void SECMDIChildWnd::ReapplyFrameMenu(CWnd* pActivateWnd) {
    OnUpdateFrameMenu(TRUE, pActivateWnd, m_hMenuAlt);
}

void SECMDIChildWnd::ActivateFromClick() {
    CMDIFrameWnd* frame = GetMDIFrame();
    if (frame && frame->MDIGetActive() != this) {
        ::SendMessageW(frame->m_hWndMDIClient, WM_MDIACTIVATE, reinterpret_cast<WPARAM>(m_hWnd), 0);
    }
    // A view that lost the focus to another window hears that it is active again.
    if (CView* view = GetActiveView()) {
        HWND focus = ::GetFocus();
        if (focus != view->m_hWnd && !::IsChild(view->m_hWnd, focus)) {
            view->OnActivateView(TRUE, view, view);
        }
    }
    SendMessageW(WM_NCACTIVATE, TRUE);
    OnUpdateFrameTitle(TRUE);
    ReapplyFrameMenu(this);
    if (SECMDIFrameWnd* menuBarFrame = MenuBarFrame(); menuBarFrame && m_nMenuId) {
        // Back from a dockable frame: the bar shows this window's menu again.
        menuBarFrame->ActivateMenuForId(m_nMenuId);
    }
}

void SECMDIChildWnd::DropActiveDockableFrame() {
    // A child and a dockable frame share one active caption.
    if (auto* frame = dynamic_cast<SECMDIFrameWnd*>(GetMDIFrame())) {
        frame->DeactivateDockableFrame(FALSE);
    }
}

int SECMDIChildWnd::OnMouseActivate(CWnd* pDesktopWnd, UINT nHitTest, UINT message) {
    DropActiveDockableFrame();
    const int result = CMDIChildWnd::OnMouseActivate(pDesktopWnd, nHitTest, message);
    ActivateFromClick();
    return result;
}

void SECMDIChildWnd::OnParentNotify(UINT message, LPARAM lParam) {
    CMDIChildWnd::OnParentNotify(message, lParam);
    const UINT event = LOWORD(message);
    CView* view = GetActiveView();
    if ((event == WM_LBUTTONDOWN || event == WM_RBUTTONDOWN) && view && ::GetFocus() != view->m_hWnd) {
        ActivateFromClick();
    }
}

void SECMDIChildWnd::OnChildActivate() {
    DropActiveDockableFrame();
    CMDIChildWnd::OnChildActivate();
    SendMessageW(WM_NCACTIVATE, TRUE);
}

void SECMDIChildWnd::OnDestroy() {
    // The main window's frame changes when a maximised child's caption buttons leave it.
    if (IsZoomed()) {
        if (CMDIFrameWnd* frame = GetMDIFrame()) {
            frame->SetWindowPos(nullptr, 0, 0, 0, 0,
                                SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED |
                                    SWP_NOOWNERZORDER);
        }
    }
    CMDIChildWnd::OnDestroy();
}
