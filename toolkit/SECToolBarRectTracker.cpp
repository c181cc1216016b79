#include "toolkit/SECToolBarRectTracker.h"

#include "platform/framework/CDC.h"

#include <algorithm>

void SECToolBarRectTracker::DrawTrackerRect(CWnd* pTopLevel, const CRect* pRect) {
    CRect origin;
    pTopLevel->GetWindowRect(&origin);
    CWindowDC dc(pTopLevel);
    CRect rect = pRect ? *pRect : m_rectLast;
    rect.OffsetRect(-origin.left, -origin.top);
    int nThickness = std::max(m_nHandleSize - 1, 1);
    CSize size = pRect ? CSize(nThickness, nThickness) : CSize(0, 0);
    CRect last = m_rectLast;
    last.OffsetRect(-origin.left, -origin.top);
    dc.DrawDragRect(&rect, size, m_rectLast.IsRectEmpty() ? nullptr : &last, m_sizeLast);
    m_rectLast = pRect ? *pRect : CRect(0, 0, 0, 0);
    m_sizeLast = size;
}

BOOL SECToolBarRectTracker::TrackButton(CWnd* pWnd, CPoint point, HCURSOR hCursor) {
    if (CWnd::GetCapture() || !pWnd) {
        return FALSE;
    }
    CWnd* pTop = pWnd->GetTopLevelParent();
    if (!pTop) {
        pTop = pWnd;
    }
    // Screen coordinates from here on; the pointer drags the rectangle by where it was taken.
    pWnd->ClientToScreen(&m_rect);
    pWnd->ClientToScreen(&point);
    if (hCursor) {
        ::SetCursor(hCursor);
    }
    pWnd->SetCapture();
    DrawTrackerRect(pTop, &m_rect);
    BOOL bResult = FALSE;
    bool bDone = false;
    while (!bDone && CWnd::GetCapture() == pWnd) {
        MSG msg{};
        if (!::GetMessageW(&msg, nullptr, 0, 0)) {
            ::PostQuitMessage(static_cast<int>(msg.wParam));
            break;
        }
        switch (msg.message) {
        case WM_MOUSEMOVE:
        case WM_LBUTTONUP: {
            CPoint pt(GET_X_LPARAM(msg.lParam), GET_Y_LPARAM(msg.lParam));
            ::ClientToScreen(msg.hwnd, &pt);
            m_rect.OffsetRect(pt - point);
            point = pt;
            if (msg.message == WM_LBUTTONUP) {
                bResult = TRUE;
                bDone = true;
            } else {
                DrawTrackerRect(pTop, &m_rect);
            }
            break;
        }
        case WM_KEYDOWN:
            if (msg.wParam == VK_ESCAPE) {
                bDone = true;
            }
            break;
        case WM_RBUTTONDOWN:
            bDone = true;
            break;
        default:
            ::DispatchMessageW(&msg);
            break;
        }
    }
    DrawTrackerRect(pTop, nullptr);
    if (CWnd::GetCapture() == pWnd) {
        ::ReleaseCapture();
    }
    return bResult;
}
