#include "platform/framework/CView.h"

#include "platform/framework/CDocument.h"

IMPLEMENT_DYNAMIC(CView, CWnd)

BEGIN_MESSAGE_MAP(CView, CWnd)
ON_WM_CREATE()
ON_WM_DESTROY()
ON_WM_PAINT()
ON_WM_MOUSEACTIVATE()
ON_MESSAGE(WM_INITIALUPDATE, OnInitialUpdateMessage)
END_MESSAGE_MAP()

CView::CView() = default;

CView::~CView() {
    if (m_pDocument) {
        m_pDocument->RemoveView(this);
    }
}

BOOL CView::PreCreateWindow(CREATESTRUCT& cs) {
    if (!cs.lpszClass) {
        AfxEndDeferRegisterClass();
        cs.lpszClass = _afxWndFrameOrView;
    }
    // The border is drawn as a sunken client edge inside the space the frame gives the view.
    if (cs.style & WS_BORDER) {
        cs.dwExStyle |= WS_EX_CLIENTEDGE;
        cs.style &= ~static_cast<LONG>(WS_BORDER);
    }
    cs.style |= WS_CLIPSIBLINGS;
    return TRUE;
}

int CView::OnCreate(LPCREATESTRUCT lpcs) {
    if (CWnd::OnCreate(lpcs) == -1) {
        return -1;
    }
    auto* pContext = static_cast<CCreateContext*>(lpcs->lpCreateParams);
    if (pContext && pContext->m_pCurrentDoc) {
        pContext->m_pCurrentDoc->AddView(this);
    }
    return 0;
}

void CView::OnDestroy() {
    CFrameWnd* pFrame = GetParentFrame();
    if (pFrame && pFrame->GetActiveView() == this) {
        pFrame->SetActiveView(nullptr, FALSE);
    }
    CWnd::OnDestroy();
}

void CView::PostNcDestroy() {
    delete this;
}

void CView::OnPaint() {
    CPaintDC dc(this);
    OnPrepareDC(&dc);
    OnDraw(&dc);
}

void CView::OnPrepareDC(CDC*, void*) {}

void CView::OnInitialUpdate() {
    OnUpdate(nullptr, 0, nullptr);
}

void CView::OnUpdate(CView* pSender, LPARAM, CObject*) {
    if (pSender != this) {
        Invalidate(TRUE);
    }
}

LRESULT CView::OnInitialUpdateMessage(WPARAM, LPARAM) {
    OnInitialUpdate();
    return 0;
}

void CView::OnActivateView(BOOL bActivate, CView* pActivateView, CView*) {
    if (bActivate && pActivateView == this) {
        CFrameWnd* pFrame = GetParentFrame();
        // The frame's window that can be active: the first one up that is not a child.
        if (pFrame && ::GetActiveWindow() == pFrame->GetParentOwner()->GetSafeHwnd() &&
            ::GetFocus() != m_hWnd) {
            SetFocus();
        }
    }
}

void CView::OnActivateFrame(UINT, CFrameWnd*) {}

int CView::OnMouseActivate(CWnd* pDesktopWnd, UINT nHitTest, UINT message) {
    int result = CWnd::OnMouseActivate(pDesktopWnd, nHitTest, message);
    if (result == MA_NOACTIVATE || result == MA_NOACTIVATEANDEAT) {
        return result;
    }
    if (CFrameWnd* pFrame = GetParentFrame()) {
        pFrame->SetActiveView(this);
    }
    return result;
}

BOOL CView::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) {
    if (CWnd::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo)) {
        return TRUE;
    }
    return m_pDocument && m_pDocument->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}
