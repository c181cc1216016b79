#include "toolkit/SECMDIFloatHost.h"

#include "platform/framework/CDockContext.h"
#include "platform/framework/CMDIFrameWnd.h"
#include "toolkit/SECControlBar.h"

CControlBar* SECMDIFloatHost::Bar() const {
    for (INT_PTR i = 0; i < m_wndDockBar.m_arrBars.GetSize(); ++i) {
        if (CControlBar* pBar = m_wndDockBar.GetDockedControlBar(static_cast<int>(i))) {
            return pBar;
        }
    }
    return nullptr;
}

BOOL SECMDIFloatHost::CreateHostDockBar() {
    // The main frame is the dock bar's dock site, so that the bar's commands and layout stay the frame's.
    CWnd* mainFrame = m_pWnd->GetMDIFrame();
    BOOL created = m_wndDockBar.Create(mainFrame ? mainFrame : m_pWnd, WS_CHILD | WS_VISIBLE | CBRS_ALIGN_LEFT,
                                       AFX_IDW_DOCKBAR_FLOAT);
    if (created) {
        m_wndDockBar.SetParent(m_pWnd);
    }
    return created;
}

void SECMDIFloatHost::LayoutHost() {
    CRect client;
    m_pWnd->GetClientRect(&client);
    m_wndDockBar.MoveWindow(&client, TRUE);
    if (CControlBar* pBar = Bar(); pBar && !IsMulti()) {
        // The bar's own borders lie just outside the host's client area.
        const ToolkitMetrics& m = SECGetToolkitMetrics();
        pBar->SetWindowPos(nullptr, -m.cxBorder, -m.cyBorder, client.Width() + 2 * m.cxBorder,
                           client.Height() + 2 * m.cyBorder, SWP_NOZORDER | SWP_NOACTIVATE);
        CString text;
        pBar->GetWindowTextW(text);
        m_pWnd->SetWindowTextW(text);
    }
}

void SECMDIFloatHost::CommitHostSize(int cx, int cy) {
    CControlBar* pBar = Bar();
    if (pBar && !IsMulti() && (pBar->GetStyle() & WS_VISIBLE)) {
        const ToolkitMetrics& m = SECGetToolkitMetrics();
        pBar->CalcDynamicLayout(cx + 2 * m.cxBorder, LM_MRUWIDTH | LM_COMMIT);
        pBar->CalcDynamicLayout(cy + 2 * m.cyBorder, LM_LENGTHY | LM_MRUWIDTH | LM_COMMIT);
    }
}

BOOL SECMDIFloatHost::HideBarOnClose() {
    CControlBar* pBar = Bar();
    if (!pBar || IsMulti()) {
        return FALSE;
    }
    // The frame's bar commands show it again.
    ::SendMessageW(::GetParent(m_pWnd->m_hWnd), WM_MDIRESTORE, reinterpret_cast<WPARAM>(m_pWnd->m_hWnd), 0);
    if (CFrameWnd* site = pBar->m_pDockSite) {
        site->ShowControlBar(pBar, FALSE, FALSE);
    }
    if (m_wndDockBar.GetDockedVisibleCount() == 0) {
        m_pWnd->ShowWindow(SW_HIDE);
    }
    return TRUE;
}

void SECMDIFloatHost::RememberHostPlace() {
    CControlBar* pBar = Bar();
    if (pBar && !IsMulti() && pBar->m_pDockContext) {
        CRect window;
        m_pWnd->GetWindowRect(&window);
        pBar->m_pDockContext->m_ptMRUFloatPos = window.TopLeft();
    }
}
