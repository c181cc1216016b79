#include "platform/framework/CMiniDockFrameWnd.h"

#include "platform/framework/CDockContext.h"

IMPLEMENT_DYNCREATE(CMiniDockFrameWnd, CFrameWnd)

BEGIN_MESSAGE_MAP(CMiniDockFrameWnd, CFrameWnd)
ON_WM_CLOSE()
ON_WM_NCLBUTTONDOWN()
ON_WM_NCLBUTTONDBLCLK()
END_MESSAGE_MAP()

CMiniDockFrameWnd::CMiniDockFrameWnd() : CMiniDockFrameWnd(new CDockBar(TRUE)) {}

CMiniDockFrameWnd::CMiniDockFrameWnd(CDockBar* pDockBar)
    : m_pOwnedDockBar(pDockBar), m_wndDockBar(*m_pOwnedDockBar) {
    m_wndDockBar.m_bAutoDelete = FALSE;
}

CMiniDockFrameWnd::~CMiniDockFrameWnd() = default;

BOOL CMiniDockFrameWnd::PreCreateWindow(CREATESTRUCT& cs) {
    if (!cs.lpszClass) {
        AfxEndDeferRegisterClass();
        cs.lpszClass = _afxWnd;
    }
    return TRUE;
}

BOOL CMiniDockFrameWnd::Create(CWnd* pParent, DWORD dwBarStyle) {
    m_bInRecalcLayout = TRUE; // nothing to lay out before the dock bar exists
    DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN | WS_CLIPSIBLINGS;
    BOOL created =
        CreateEx(WS_EX_TOOLWINDOW, nullptr, nullptr, style, 0, 0, 0, 0, SafeHwndOf(pParent), nullptr);
    m_bInRecalcLayout = FALSE;
    if (!created) {
        return FALSE;
    }
    SetOwner(pParent);
    DWORD align = (dwBarStyle & CBRS_ALIGN_ANY) ? (dwBarStyle & CBRS_ALIGN_ANY) : CBRS_ALIGN_TOP;
    if (!m_wndDockBar.Create(this, WS_CHILD | WS_VISIBLE | align, AFX_IDW_DOCKBAR_FLOAT)) {
        DestroyWindow();
        return FALSE;
    }
    // Commands of the bars inside go to the frame the bars belong to.
    m_wndDockBar.SetOwner(pParent);
    return TRUE;
}

void CMiniDockFrameWnd::RecalcLayout(BOOL) {
    if (m_bInRecalcLayout || !m_hWnd || !m_wndDockBar.m_hWnd) {
        return;
    }
    m_bInRecalcLayout = TRUE;
    CSize size = m_wndDockBar.CalcFixedLayout(FALSE, (m_wndDockBar.m_dwStyle & CBRS_ORIENT_HORZ) != 0);
    CRect rect(0, 0, size.cx, size.cy);
    m_wndDockBar.MoveWindow(&rect, TRUE);
    CalcWindowRect(&rect);
    SetWindowPos(nullptr, 0, 0, rect.Width(), rect.Height(), SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    m_bInRecalcLayout = FALSE;
}

CControlBar* CMiniDockFrameWnd::SingleBar() const {
    CControlBar* found = nullptr;
    for (int i = 0; i < m_wndDockBar.m_arrBars.GetSize(); ++i) {
        if (CControlBar* pBar = m_wndDockBar.GetDockedControlBar(i)) {
            if (found) {
                return nullptr;
            }
            found = pBar;
        }
    }
    return found;
}

void CMiniDockFrameWnd::OnClose() {
    // Closing hides the bars; the frame stays for when they are shown again.
    for (int i = 0; i < m_wndDockBar.m_arrBars.GetSize(); ++i) {
        if (CControlBar* pBar = m_wndDockBar.GetDockedControlBar(i)) {
            if (pBar->m_pDockSite) {
                pBar->m_pDockSite->ShowControlBar(pBar, FALSE, FALSE);
            }
        }
    }
}

void CMiniDockFrameWnd::OnNcLButtonDown(UINT nHitTest, CPoint point) {
    if (nHitTest == HTCAPTION) {
        if (CControlBar* pBar = SingleBar(); pBar && pBar->m_pDockContext) {
            BringWindowToTop();
            pBar->m_pDockContext->StartDrag(point);
            return;
        }
    }
    CFrameWnd::OnNcLButtonDown(nHitTest, point);
}

void CMiniDockFrameWnd::OnNcLButtonDblClk(UINT nHitTest, CPoint point) {
    if (nHitTest == HTCAPTION) {
        if (CControlBar* pBar = SingleBar(); pBar && pBar->m_pDockContext) {
            pBar->m_pDockContext->ToggleDocking();
            return;
        }
    }
    CFrameWnd::OnNcLButtonDblClk(nHitTest, point);
}
