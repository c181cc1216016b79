#include "platform/framework/CDockContext.h"

#include "platform/framework/CDockBar.h"
#include "platform/framework/CFrameWnd.h"

CDockContext::CDockContext(CControlBar* pBar) : m_pBar(pBar), m_pDockSite(pBar->m_pDockSite) {
    m_rectLast.SetRectEmpty();
    m_rectMRUDockPos.SetRectEmpty();
}

void CDockContext::StartDrag(CPoint pt) {
    m_pDockSite = m_pBar->m_pDockSite;
    if (!m_pDockSite) {
        return;
    }
    m_dwDockStyle = m_pBar->m_dwDockStyle;
    m_dwStyle = m_pBar->m_dwStyle & CBRS_ALIGN_ANY;
    m_bForceFrame = FALSE;
    m_bFlip = FALSE;
    CRect rect;
    m_pBar->GetWindowRect(&rect);
    m_ptLast = pt;
    CSize sizeHorz = m_pBar->CalcDynamicLayout(0, LM_HORZ | LM_HORZDOCK);
    CSize sizeVert = m_pBar->CalcDynamicLayout(0, LM_VERTDOCK);
    CSize sizeFloat = m_pBar->CalcDynamicLayout(0, LM_HORZ | LM_MRUWIDTH);
    m_rectDragHorz = CRect(rect.TopLeft(), sizeHorz);
    m_rectDragVert = CRect(rect.TopLeft(), sizeVert);
    m_rectFrameDragHorz = CRect(rect.TopLeft(), sizeFloat);
    m_rectFrameDragVert = CRect(rect.TopLeft(), sizeVert);
    // Each shape keeps the pointer inside it.
    for (CRect* r : {&m_rectDragHorz, &m_rectDragVert, &m_rectFrameDragHorz, &m_rectFrameDragVert}) {
        if (pt.x >= r->right)
            r->OffsetRect(pt.x - r->right + r->Width() / 2, 0);
        if (pt.y >= r->bottom)
            r->OffsetRect(0, pt.y - r->bottom + r->Height() / 2);
    }
    Track();
}

DWORD CDockContext::CanDock(CDockBar** ppDockBar) {
    if (m_bForceFrame || !m_pDockSite) {
        return 0;
    }
    DWORD dock = m_pDockSite->CanDock(m_rectDragHorz, m_dwDockStyle & ~static_cast<DWORD>(CBRS_ORIENT_VERT),
                                      ppDockBar);
    if (!dock) {
        dock = m_pDockSite->CanDock(m_rectDragVert, m_dwDockStyle & ~static_cast<DWORD>(CBRS_ORIENT_HORZ),
                                    ppDockBar);
    }
    return dock;
}

void CDockContext::DrawFocusRect(BOOL bRemoveRect) {
    if (!m_pDockSite || !m_pDockSite->m_hWnd) {
        return;
    }
    DWORD dock = CanDock();
    CRect rect = dock ? ((dock & CBRS_ORIENT_VERT) ? m_rectDragVert : m_rectDragHorz) : m_rectFrameDragHorz;
    // The rectangle is drawn by inversion on the frame, in its window coordinates.
    CRect origin;
    m_pDockSite->GetWindowRect(&origin);
    rect.OffsetRect(-origin.left, -origin.top);
    CSize size = dock ? CSize(1, 1) : CSize(3, 3);
    CWindowDC dc(m_pDockSite);
    if (bRemoveRect) {
        size = CSize(0, 0);
    }
    dc.DrawDragRect(&rect, size, m_rectLast.IsRectEmpty() ? nullptr : &m_rectLast, m_sizeLast);
    m_rectLast = bRemoveRect ? CRect(0, 0, 0, 0) : rect;
    m_sizeLast = size;
}

void CDockContext::Move(CPoint pt) {
    CPoint offset = pt - m_ptLast;
    m_ptLast = pt;
    m_rectDragHorz.OffsetRect(offset);
    m_rectDragVert.OffsetRect(offset);
    m_rectFrameDragHorz.OffsetRect(offset);
    m_rectFrameDragVert.OffsetRect(offset);
    DrawFocusRect();
}

void CDockContext::CancelLoop() {
    DrawFocusRect(TRUE);
    m_bDragging = FALSE;
    if (CWnd::GetCapture() == m_pBar) {
        ::ReleaseCapture();
    }
}

void CDockContext::EndDrag() {
    CancelLoop();
    CDockBar* pDockBar = nullptr;
    DWORD dock = CanDock(&pDockBar);
    if (dock && pDockBar) {
        CRect rect = (dock & CBRS_ORIENT_VERT) ? m_rectDragVert : m_rectDragHorz;
        m_uMRUDockID = static_cast<UINT>(pDockBar->GetDlgCtrlID());
        m_rectMRUDockPos = rect;
        pDockBar->ScreenToClient(&m_rectMRUDockPos);
        m_pDockSite->DockControlBar(m_pBar, pDockBar, &rect);
    } else {
        m_ptMRUFloatPos = m_rectFrameDragHorz.TopLeft();
        m_dwMRUFloatStyle = CBRS_ALIGN_TOP | (m_dwDockStyle & CBRS_FLOAT_MULTI);
        m_pDockSite->FloatControlBar(m_pBar, m_ptMRUFloatPos, m_dwMRUFloatStyle);
    }
    m_pDockSite->RecalcLayout();
}

BOOL CDockContext::Track() {
    if (CWnd::GetCapture()) {
        return FALSE;
    }
    m_pBar->SetCapture();
    m_bDragging = TRUE;
    DrawFocusRect();
    while (CWnd::GetCapture() == m_pBar) {
        MSG msg{};
        if (!::GetMessageW(&msg, nullptr, 0, 0)) {
            ::PostQuitMessage(static_cast<int>(msg.wParam));
            break;
        }
        switch (msg.message) {
        case WM_LBUTTONUP: {
            CPoint pt(GET_X_LPARAM(msg.lParam), GET_Y_LPARAM(msg.lParam));
            ::ClientToScreen(msg.hwnd, &pt);
            Move(pt);
            EndDrag();
            return TRUE;
        }
        case WM_MOUSEMOVE: {
            CPoint pt(GET_X_LPARAM(msg.lParam), GET_Y_LPARAM(msg.lParam));
            ::ClientToScreen(msg.hwnd, &pt);
            Move(pt);
            break;
        }
        case WM_KEYDOWN:
        case WM_KEYUP:
            if (msg.wParam == VK_CONTROL) {
                // Ctrl held: the bar floats wherever it is dropped.
                m_bForceFrame = msg.message == WM_KEYDOWN;
                Move(m_ptLast);
            } else if (msg.wParam == VK_SHIFT) {
                m_bFlip = msg.message == WM_KEYDOWN;
                Move(m_ptLast);
            } else if (msg.message == WM_KEYDOWN && msg.wParam == VK_ESCAPE) {
                CancelLoop();
                return FALSE;
            }
            break;
        case WM_RBUTTONDOWN:
            CancelLoop();
            return FALSE;
        default:
            ::DispatchMessageW(&msg);
            break;
        }
    }
    CancelLoop();
    return FALSE;
}

void CDockContext::ToggleDocking() {
    m_pDockSite = m_pBar->m_pDockSite;
    if (!m_pDockSite) {
        return;
    }
    if (m_pBar->IsFloating()) {
        CDockBar* pDockBar = nullptr;
        if (m_uMRUDockID) {
            pDockBar = dynamic_cast<CDockBar*>(m_pDockSite->GetControlBar(m_uMRUDockID));
        }
        if (pDockBar && !m_rectMRUDockPos.IsRectEmpty()) {
            CRect rect = m_rectMRUDockPos;
            pDockBar->ClientToScreen(&rect);
            m_pDockSite->DockControlBar(m_pBar, pDockBar, &rect);
        } else {
            m_pDockSite->DockControlBar(m_pBar, pDockBar);
        }
    } else {
        CPoint pt = m_ptMRUFloatPos;
        if (pt.x == 0 && pt.y == 0) {
            CRect rect;
            m_pBar->GetWindowRect(&rect);
            pt = rect.TopLeft() + CPoint(20, 20);
        }
        DWORD style = m_dwMRUFloatStyle ? m_dwMRUFloatStyle
                                        : (CBRS_ALIGN_TOP | (m_pBar->m_dwDockStyle & CBRS_FLOAT_MULTI));
        m_pDockSite->FloatControlBar(m_pBar, pt, style);
    }
    m_pDockSite->RecalcLayout();
}
