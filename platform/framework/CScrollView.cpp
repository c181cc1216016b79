#include "platform/framework/CScrollView.h"

#include <algorithm>

IMPLEMENT_DYNAMIC(CScrollView, CView)

BEGIN_MESSAGE_MAP(CScrollView, CView)
ON_WM_SIZE()
ON_WM_HSCROLL()
ON_WM_VSCROLL()
ON_WM_MOUSEWHEEL()
END_MESSAGE_MAP()

const SIZE CScrollView::sizeDefault = {0, 0};

CScrollView::CScrollView() = default;
CScrollView::~CScrollView() = default;

void CScrollView::SetScrollSizes(int nMapMode, SIZE sizeTotal, const SIZE& sizePage, const SIZE& sizeLine) {
    // Every mapping is taken as pixels: the program's views use the text mapping only.
    m_nMapMode = nMapMode ? nMapMode : MM_TEXT;
    m_totalLog = sizeTotal;
    m_totalDev = sizeTotal;
    m_pageDev = sizePage;
    m_lineDev = sizeLine;
    if (m_pageDev.cx == 0) {
        m_pageDev.cx = m_totalDev.cx / 10;
    }
    if (m_pageDev.cy == 0) {
        m_pageDev.cy = m_totalDev.cy / 10;
    }
    if (m_lineDev.cx == 0) {
        m_lineDev.cx = std::max(1L, static_cast<long>(m_totalDev.cx / 100));
    }
    if (m_lineDev.cy == 0) {
        m_lineDev.cy = std::max(1L, static_cast<long>(m_totalDev.cy / 100));
    }
    if (m_hWnd) {
        UpdateBars();
    }
}

CPoint CScrollView::GetScrollPosition() const {
    if (!m_hWnd) {
        return CPoint(0, 0);
    }
    return CPoint(::GetScrollPos(m_hWnd, SB_HORZ), ::GetScrollPos(m_hWnd, SB_VERT));
}

void CScrollView::GetDeviceScrollSizes(int& nMapMode, SIZE& sizeTotal, SIZE& sizePage, SIZE& sizeLine) const {
    nMapMode = m_nMapMode;
    sizeTotal = m_totalDev;
    sizePage = m_pageDev;
    sizeLine = m_lineDev;
}

void CScrollView::UpdateBars() {
    if (m_bInsideUpdate || !m_hWnd || m_nMapMode == 0) {
        return;
    }
    m_bInsideUpdate = TRUE;
    CRect rc;
    GetClientRect(&rc);
    // The client size without the bars, then which bars the total needs (one bar may call for the other).
    CSize client(rc.Width(), rc.Height());
    DWORD style = GetStyle();
    int cxBar = ::GetSystemMetrics(SM_CXVSCROLL);
    int cyBar = ::GetSystemMetrics(SM_CYHSCROLL);
    if (style & WS_VSCROLL) {
        client.cx += cxBar;
    }
    if (style & WS_HSCROLL) {
        client.cy += cyBar;
    }
    bool needH = m_totalDev.cx > client.cx;
    bool needV = m_totalDev.cy > client.cy;
    if (needH && !needV) {
        needV = m_totalDev.cy > client.cy - cyBar;
    }
    if (needV && !needH) {
        needH = m_totalDev.cx > client.cx - cxBar;
    }
    CSize avail(std::max(0L, static_cast<long>(client.cx - (needV ? cxBar : 0))),
                std::max(0L, static_cast<long>(client.cy - (needH ? cyBar : 0))));
    CPoint old = GetScrollPosition();
    CPoint pos(
        needH ? std::clamp(static_cast<long>(old.x), 0L, static_cast<long>(m_totalDev.cx - avail.cx)) : 0,
        needV ? std::clamp(static_cast<long>(old.y), 0L, static_cast<long>(m_totalDev.cy - avail.cy)) : 0);
    if (pos != old) {
        ScrollWindow(old.x - pos.x, old.y - pos.y);
    }
    SCROLLINFO si{};
    si.cbSize = sizeof si;
    si.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
    si.nMin = 0;
    si.nMax = needH ? m_totalDev.cx - 1 : 0;
    si.nPage = needH ? static_cast<UINT>(avail.cx) : 0;
    si.nPos = pos.x;
    SetScrollInfo(SB_HORZ, &si, TRUE);
    si.nMax = needV ? m_totalDev.cy - 1 : 0;
    si.nPage = needV ? static_cast<UINT>(avail.cy) : 0;
    si.nPos = pos.y;
    SetScrollInfo(SB_VERT, &si, TRUE);
    m_bInsideUpdate = FALSE;
}

void CScrollView::ScrollToPosition(POINT pt) {
    CPoint old = GetScrollPosition();
    int maxX = GetScrollLimit(SB_HORZ);
    int maxY = GetScrollLimit(SB_VERT);
    CPoint pos(std::clamp(static_cast<int>(pt.x), 0, std::max(0, maxX)),
               std::clamp(static_cast<int>(pt.y), 0, std::max(0, maxY)));
    if (pos == old) {
        return;
    }
    SetScrollPos(SB_HORZ, pos.x);
    SetScrollPos(SB_VERT, pos.y);
    ScrollWindow(old.x - pos.x, old.y - pos.y);
}

void CScrollView::ResizeParentToFit(BOOL bShrinkOnly) {
    CFrameWnd* pFrame = GetParentFrame();
    if (!pFrame || m_nMapMode == 0) {
        return;
    }
    CRect client;
    GetClientRect(&client);
    CSize delta(m_totalDev.cx - client.Width(), m_totalDev.cy - client.Height());
    if (bShrinkOnly) {
        delta.cx = std::min(0L, static_cast<long>(delta.cx));
        delta.cy = std::min(0L, static_cast<long>(delta.cy));
    }
    if (delta.cx == 0 && delta.cy == 0) {
        return;
    }
    CRect frame;
    pFrame->GetWindowRect(&frame);
    pFrame->SetWindowPos(nullptr, 0, 0, frame.Width() + delta.cx, frame.Height() + delta.cy,
                         SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void CScrollView::OnPrepareDC(CDC* pDC, void* pInfo) {
    CView::OnPrepareDC(pDC, pInfo);
    CPoint pos = GetScrollPosition();
    pDC->SetViewportOrg(-pos.x, -pos.y);
}

BOOL CScrollView::OnScroll(UINT nScrollCode, UINT nPos, BOOL bDoScroll) {
    // Low byte: the horizontal code; high byte: the vertical one; 0xFF for none.
    CPoint pos = GetScrollPosition();
    CPoint target = pos;
    auto step = [&](UINT code, LONG& value, LONG line, LONG page, int limit) {
        switch (code) {
        case SB_TOP:
            value = 0;
            break;
        case SB_BOTTOM:
            value = limit;
            break;
        case SB_LINEUP:
            value -= line;
            break;
        case SB_LINEDOWN:
            value += line;
            break;
        case SB_PAGEUP:
            value -= page;
            break;
        case SB_PAGEDOWN:
            value += page;
            break;
        case SB_THUMBTRACK:
        case SB_THUMBPOSITION:
            value = static_cast<LONG>(nPos);
            break;
        default:
            break;
        }
    };
    step(LOBYTE(nScrollCode), target.x, m_lineDev.cx, m_pageDev.cx, GetScrollLimit(SB_HORZ));
    step(HIBYTE(nScrollCode), target.y, m_lineDev.cy, m_pageDev.cy, GetScrollLimit(SB_VERT));
    return OnScrollBy(CSize(target.x - pos.x, target.y - pos.y), bDoScroll);
}

BOOL CScrollView::OnScrollBy(CSize sizeScroll, BOOL bDoScroll) {
    DWORD style = GetStyle();
    if (!(style & WS_HSCROLL)) {
        sizeScroll.cx = 0;
    }
    if (!(style & WS_VSCROLL)) {
        sizeScroll.cy = 0;
    }
    CPoint pos = GetScrollPosition();
    CPoint target(
        std::clamp(static_cast<int>(pos.x + sizeScroll.cx), 0, std::max(0, GetScrollLimit(SB_HORZ))),
        std::clamp(static_cast<int>(pos.y + sizeScroll.cy), 0, std::max(0, GetScrollLimit(SB_VERT))));
    if (target == pos) {
        return FALSE;
    }
    if (bDoScroll) {
        ScrollToPosition(target);
    }
    return TRUE;
}

void CScrollView::OnSize(UINT nType, int cx, int cy) {
    CView::OnSize(nType, cx, cy);
    UpdateBars();
}

void CScrollView::OnHScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar) {
    if (pScrollBar && pScrollBar->GetSafeHwnd()) {
        CView::OnHScroll(nSBCode, nPos, pScrollBar); // a scroll-bar control of the view
        return;
    }
    OnScroll(MAKEWORD(nSBCode, 0xFF), nPos);
}

void CScrollView::OnVScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar) {
    if (pScrollBar && pScrollBar->GetSafeHwnd()) {
        CView::OnVScroll(nSBCode, nPos, pScrollBar);
        return;
    }
    OnScroll(MAKEWORD(0xFF, nSBCode), nPos);
}

BOOL CScrollView::OnMouseWheel(UINT, short zDelta, CPoint) {
    DWORD style = GetStyle();
    int lines = -zDelta / WHEEL_DELTA * 3;
    if (style & WS_VSCROLL) {
        return OnScrollBy(CSize(0, lines * m_lineDev.cy));
    }
    if (style & WS_HSCROLL) {
        return OnScrollBy(CSize(lines * m_lineDev.cx, 0));
    }
    return FALSE;
}
