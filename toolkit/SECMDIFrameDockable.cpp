// SECMDIFrameWnd's dockable frames: the active one in place of the active MDI child, and the form a dockable
// frame takes while its bar floats.
#include "toolkit/SECDocTemplateUtils.h"
#include "toolkit/SECDockableFrame.h"
#include "toolkit/SECMDIFrameWnd.h"

#include "platform/framework/CMiniDockFrameWnd.h"
#include "platform/framework/CView.h"

namespace {

// Of the main window's styles, those a floating dockable frame takes (caption, borders, boxes).
constexpr DWORD kFloatingStyleMask = 0x10CFFFFF;
constexpr DWORD kFloatingExStyleMask = 0x203A9;
// Visibility stays the floating frame's own: shown through its style alone it would never reach the screen.
constexpr DWORD kFloatingHostStyle = WS_CLIPSIBLINGS | WS_CLIPCHILDREN;

bool HasFocusIn(CWnd* pWnd) {
    HWND focus = ::GetFocus();
    return pWnd && pWnd->m_hWnd && focus && (focus == pWnd->m_hWnd || ::IsChild(pWnd->m_hWnd, focus));
}

} // namespace

void SECMDIFrameWnd::DeactivateDockableFrame(BOOL bActivateMDI) {
    if (CFrameWnd* frame = m_pActiveDockableFrame) {
        if (CView* view = frame->GetActiveView()) {
            view->OnActivateView(FALSE, view, view);
        }
        frame->SendMessageW(WM_NCACTIVATE, FALSE);
        m_pActiveDockableFrame = nullptr;
        ::SetFocus(nullptr);
    }
    if (bActivateMDI && m_hWndMDIClient) {
        ::SendMessageW(m_hWndMDIClient, WM_MDIACTIVATE, 0, 0);
        ::SendMessageW(m_hWndMDIClient, WM_NCACTIVATE, TRUE, 0);
    }
}

void SECMDIFrameWnd::SetActiveDockableFrame(CFrameWnd* pFrame) {
    if (pFrame == m_pActiveDockableFrame) {
        return;
    }
    DeactivateDockableFrame(pFrame == nullptr);
    if (pFrame) {
        // The child's view stops being the active one where the focus leaves it.
        CFrameWnd* child = CMDIFrameWnd::GetActiveFrame();
        if (CView* view = child != this ? child->GetActiveView() : nullptr; view && HasFocusIn(view)) {
            view->OnActivateView(FALSE, view, view);
        }
        pFrame->SendMessageW(WM_NCACTIVATE, TRUE);
        m_pActiveDockableFrame = pFrame;
        if (m_hWndMDIClient) {
            // The client passes the inactive caption on to its active child.
            ::SendMessageW(m_hWndMDIClient, WM_MDIACTIVATE, 0, 0);
            ::SendMessageW(m_hWndMDIClient, WM_NCACTIVATE, FALSE, 0);
        }
    }
    CFrameWnd* active = pFrame ? pFrame : GetActiveFrame();
    if (CView* view = active->GetActiveView(); view && !HasFocusIn(view)) {
        view->OnActivateView(TRUE, view, view);
    }
    OnUpdateFrameTitle(TRUE);
    if (IsMenuBarMode()) {
        // The bar shows the menu of the active frame's id, when the frame has one.
        const UINT nID = SECDocTemplateUtils().GetFrameResourceId(active);
        ActivateMenuForId(nID ? nID : static_cast<UINT>(-1));
    } else if (auto* dockable = dynamic_cast<SECDockableFrame*>(pFrame)) {
        dockable->UpdateFrameMenu(TRUE, pFrame, nullptr);
        DrawMenuBar();
    }
}

CFrameWnd* SECMDIFrameWnd::GetDockableFrame(CControlBar* pBar) {
    if (!pBar || !pBar->m_hWnd) {
        return nullptr;
    }
    return dynamic_cast<SECFrameWnd*>(CWnd::FromHandlePermanent(::GetWindow(pBar->m_hWnd, GW_CHILD)));
}

void SECMDIFrameWnd::SetDockableFrameFloating(CFrameWnd* pFrame, BOOL bFloating) {
    if (!pFrame || !pFrame->m_hWnd) {
        return;
    }
    HWND hWnd = pFrame->m_hWnd;
    if (!bFloating) {
        if (::GetPropW(hWnd, kSECDockedStyleProp)) {
            ::SetWindowLongW(hWnd, GWL_STYLE, static_cast<LONG>(reinterpret_cast<INT_PTR>(::RemovePropW(hWnd, kSECDockedStyleProp))));
            ::SetWindowLongW(hWnd, GWL_EXSTYLE,
                             static_cast<LONG>(reinterpret_cast<INT_PTR>(::RemovePropW(hWnd, kSECDockedExStyleProp))));
            pFrame->SetWindowPos(nullptr, 0, 0, 0, 0,
                                 SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
        }
        return;
    }
    ::SetPropW(hWnd, kSECDockedStyleProp, reinterpret_cast<HANDLE>(static_cast<INT_PTR>(pFrame->GetStyle())));
    ::SetPropW(hWnd, kSECDockedExStyleProp, reinterpret_cast<HANDLE>(static_cast<INT_PTR>(pFrame->GetExStyle())));
    const DWORD style = GetStyle();
    const DWORD exStyle = GetExStyle();
    if (CFrameWnd* floating = pFrame->GetParentFrame(); floating && floating != this) {
        floating->ModifyStyle(style & ~static_cast<DWORD>(WS_VISIBLE), kFloatingHostStyle, 0);
        floating->ModifyStyleEx(exStyle, 0, SWP_FRAMECHANGED);
    }
    pFrame->ModifyStyle(0, (style & kFloatingStyleMask) | WS_CAPTION, 0);
    pFrame->ModifyStyleEx(0, exStyle & kFloatingExStyleMask, SWP_FRAMECHANGED);
}

void SECMDIFrameWnd::SyncDockableFrameForm(CFrameWnd* pFrame) {
    CWnd* bar = pFrame ? pFrame->GetParent() : nullptr;
    if (!bar) {
        return;
    }
    // The window tree tells, also while a dock bar is still taking the bar over.
    CFrameWnd* around = bar->GetParentFrame();
    const BOOL floating = around && around->IsKindOf(RUNTIME_CLASS(CMiniDockFrameWnd));
    if (floating != (::GetPropW(pFrame->m_hWnd, kSECDockedStyleProp) != nullptr)) {
        SetDockableFrameFloating(pFrame, floating);
    }
    if (floating) {
        FitDockableFrame(pFrame);
    }
}

void SECMDIFrameWnd::FitDockableFrame(CFrameWnd* pFrame) {
    CFrameWnd* floating = pFrame ? pFrame->GetParentFrame() : nullptr;
    if (!floating || floating == this) {
        return;
    }
    CRect rect;
    floating->GetWindowRect(&rect);
    pFrame->GetParent()->ScreenToClient(&rect);
    pFrame->SetWindowPos(nullptr, rect.left, rect.top, rect.Width(), rect.Height(), SWP_NOZORDER | SWP_NOACTIVATE);
}

CFrameWnd* SECMDIFrameWnd::GetActiveFrame() {
    return m_pActiveDockableFrame ? m_pActiveDockableFrame : CMDIFrameWnd::GetActiveFrame();
}

CDocument* SECMDIFrameWnd::GetActiveDocument() {
    return m_pActiveDockableFrame ? m_pActiveDockableFrame->GetActiveDocument() : CMDIFrameWnd::GetActiveDocument();
}

BOOL SECMDIFrameWnd::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) {
    if (!m_pActiveDockableFrame) {
        return CMDIFrameWnd::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
    }
    // The active dockable frame stands in for the active child.
    if (m_pActiveDockableFrame->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo)) {
        return TRUE;
    }
    return CFrameWnd::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}
