#include "toolkit/SECDockContext.h"

#include "platform/framework/AfxRes.h"
#include "platform/framework/CFrameWnd.h"
#include "platform/framework/CWinApp.h"
#include "toolkit/SECControlBar.h"
#include "toolkit/SECCustomToolBar.h"
#include "toolkit/SECDockBar.h"
#include "toolkit/SECFrameWnd.h"

#include <algorithm>
#include <cstdlib>

namespace {

SECControlBar* AsSec(CControlBar* pBar) {
    return dynamic_cast<SECControlBar*>(pBar);
}

// The floating shape of a docked size: the mini frame's caption and borders around it.
CRect WithFloatingBorders(CRect rect) {
    ::AdjustWindowRectEx(&rect, WS_POPUP | WS_CAPTION | WS_THICKFRAME, FALSE, WS_EX_TOOLWINDOW);
    return rect;
}

// Moves `r` so that `pt` lies inside it, one border inside the far edges.
void KeepInside(CRect& r, CPoint pt, int cx, int cy) {
    int dx = pt.x < r.left ? pt.x - r.left : (pt.x >= r.right ? pt.x + cx - r.right : 0);
    int dy = pt.y < r.top ? pt.y - r.top : (pt.y >= r.bottom ? pt.y + cy - r.bottom : 0);
    r.OffsetRect(dx, dy);
}

} // namespace

SECDockContext::SECDockContext(CControlBar* pBar) : CDockContext(pBar) {
    m_sizeMinFloat = CSize(::GetSystemMetrics(SM_CXMENUSIZE) +
                               2 * (::GetSystemMetrics(SM_CXFRAME) + ::GetSystemMetrics(SM_CXBORDER)),
                           ::GetSystemMetrics(SM_CYSMCAPTION) +
                               2 * (::GetSystemMetrics(SM_CYFRAME) + ::GetSystemMetrics(SM_CYBORDER)));
    m_sizeMaxFloat = CSize(::GetSystemMetrics(SM_CXFULLSCREEN), ::GetSystemMetrics(SM_CYFULLSCREEN));
}

SECDockContext::~SECDockContext() {
    if (CDockBar* pDockBar = m_pBar->m_pDockBar) {
        if (auto* sec = dynamic_cast<SECDockBar*>(pDockBar)) {
            // Out of the array for good: no placeholder for a bar that is going away.
            int nPos = sec->FindBar(m_pBar);
            if (nPos > 0) {
                sec->m_arrBars.RemoveAt(nPos);
            }
        } else {
            pDockBar->RemoveControlBar(m_pBar);
        }
        m_pBar->m_pDockBar = nullptr;
    }
}

void SECDockContext::SendStatusText(UINT nID) {
    CWnd* main = AfxGetMainWnd();
    if (!main || !main->m_hWnd) {
        return;
    }
    if (nID == IDS_SEC_PREVENT_DOCKING) {
        CString text;
        if (!text.LoadString(nID)) {
            text = u"Press the Ctrl key to prevent docking.";
        }
        main->SendMessageW(WM_SETMESSAGESTRING, 0, reinterpret_cast<LPARAM>(static_cast<LPCTSTR>(text)));
    } else {
        main->SendMessageW(WM_SETMESSAGESTRING, nID, 0);
    }
}

void SECDockContext::InitDragRects(CPoint pt) {
    CRect rect;
    m_pBar->GetWindowRect(&rect);
    const DWORD style = m_pBar->m_dwStyle;
    const bool horz = (style & CBRS_ORIENT_HORZ) != 0;
    if (style & CBRS_SIZE_DYNAMIC) {
        m_rectDragHorz = CRect(rect.TopLeft(), m_pBar->CalcDynamicLayout(0, LM_HORZ | LM_HORZDOCK));
        m_rectDragVert = CRect(rect.TopLeft(), m_pBar->CalcDynamicLayout(0, LM_VERTDOCK));
        m_rectFrameDragHorz =
            WithFloatingBorders(CRect(rect.TopLeft(), m_pBar->CalcDynamicLayout(0, LM_HORZ | LM_MRUWIDTH)));
        m_rectFrameDragVert = m_rectFrameDragHorz;
    } else if (style & CBRS_SIZE_FIXED) {
        m_rectDragHorz = CRect(rect.TopLeft(), m_pBar->CalcDynamicLayout(-1, LM_HORZ | LM_HORZDOCK));
        m_rectDragVert = CRect(rect.TopLeft(), m_pBar->CalcDynamicLayout(-1, LM_VERTDOCK));
        m_rectFrameDragHorz = WithFloatingBorders(m_rectDragHorz);
        m_rectFrameDragVert = WithFloatingBorders(m_rectDragVert);
    } else {
        CSize other = horz ? m_pBar->CalcDynamicLayout(-1, LM_VERTDOCK)
                           : m_pBar->CalcDynamicLayout(-1, LM_HORZ | LM_HORZDOCK);
        if (horz) {
            m_rectDragHorz = rect;
            m_rectDragVert = CRect(CPoint(pt.x - rect.Height() / 2, rect.top), other);
        } else {
            m_rectDragVert = rect;
            m_rectDragHorz = CRect(CPoint(rect.left, pt.y - rect.Width() / 2), other);
        }
        m_rectFrameDragHorz = WithFloatingBorders(m_rectDragHorz);
        m_rectFrameDragVert = WithFloatingBorders(m_rectDragVert);
    }
    const ToolkitMetrics& m = SECGetToolkitMetrics();
    m_rectFrameDragHorz.DeflateRect(m.cxBorder, m.cyBorder);
    m_rectFrameDragVert.DeflateRect(m.cxBorder, m.cyBorder);
    for (CRect* r : {&m_rectDragHorz, &m_rectDragVert, &m_rectFrameDragHorz, &m_rectFrameDragVert}) {
        KeepInside(*r, pt, m.cxBorder, m.cyBorder);
    }
}

void SECDockContext::StartDrag(CPoint pt) {
    m_pDockSite = m_pBar->m_pDockSite;
    if (!m_pDockSite) {
        return;
    }
    m_nLastFeedbackRow = -1;
    m_ptDragStart = pt;
    m_bDragging = TRUE;
    SendStatusText(IDS_SEC_PREVENT_DOCKING);
    m_dwDockStyle = m_pBar->m_dwDockStyle;
    m_dwStyle = m_pBar->m_dwStyle;
    m_bFlip = FALSE;
    m_bForceFrame = FALSE;
    m_rectLast.SetRectEmpty();
    m_rectLastFeedback.SetRectEmpty();
    m_ptLast = pt;
    InitDragRects(pt);
    m_dwOverDockStyle = CanDock();
    Move(pt);
    Track();
}

BOOL SECDockContext::WillDock() const {
    if (!m_dwOverDockStyle) {
        return FALSE;
    }
    const int moved = std::abs(m_ptLast.x - m_ptDragStart.x) + std::abs(m_ptLast.y - m_ptDragStart.y);
    return !m_pBar->IsFloating() || moved > kDockThreshold;
}

DWORD SECDockContext::CanDock(CDockBar** ppDockBar) {
    if (!m_pDockSite) {
        return 0;
    }
    const DWORD horzBits = CBRS_ALIGN_TOP | CBRS_ALIGN_BOTTOM;
    const DWORD vertBits = CBRS_ALIGN_LEFT | CBRS_ALIGN_RIGHT;
    bool horz = (m_dwStyle & CBRS_ORIENT_HORZ) != 0;
    if (m_bFlip) {
        horz = !horz;
    }
    DWORD answer = 0;
    if (horz && (m_dwDockStyle & horzBits)) {
        answer = m_pDockSite->CanDock(m_rectDragHorz, m_dwDockStyle & ~vertBits, ppDockBar);
    } else if (m_dwDockStyle & vertBits) {
        CDockBar* pDockBar = nullptr;
        answer = m_pDockSite->CanDock(m_rectDragVert, m_dwDockStyle & ~horzBits, &pDockBar);
        CRect window;
        if (answer && pDockBar) {
            pDockBar->GetWindowRect(&window);
            if (!window.PtInRect(m_ptLast)) {
                answer = 0;
            } else if (ppDockBar) {
                *ppDockBar = pDockBar;
            }
        }
    }
    if (m_bFlip || answer) {
        return answer;
    }
    // Not where it is oriented now: the other orientation docks when both shapes agree.
    for (DWORD bits : {horzBits, vertBits}) {
        if (!(m_dwDockStyle & bits)) {
            continue;
        }
        const DWORD other = bits == horzBits ? vertBits : horzBits;
        CDockBar* first = nullptr;
        CDockBar* second = nullptr;
        DWORD a = m_pDockSite->CanDock(m_rectDragVert, m_dwDockStyle & ~other, &first);
        DWORD b = m_pDockSite->CanDock(m_rectDragHorz, m_dwDockStyle & ~other, &second);
        if (a && a == b) {
            if (ppDockBar) {
                *ppDockBar = first;
            }
            return a;
        }
        if (bits == vertBits) {
            return 0;
        }
    }
    return 0;
}

void SECDockContext::Move(CPoint pt) {
    if (m_bResizing) {
        Stretch(pt);
        return;
    }
    CPoint offset = pt - m_ptLast;
    m_rectDragHorz.OffsetRect(offset);
    m_rectDragVert.OffsetRect(offset);
    m_rectFrameDragHorz.OffsetRect(offset);
    m_rectFrameDragVert.OffsetRect(offset);
    m_ptLast = pt;
    m_dwOverDockStyle = m_bForceFrame ? 0 : CanDock();
    DrawFocusRect(FALSE);
}

void SECDockContext::DrawFocusRect(BOOL bRemoveRect) {
    if (!m_pDockSite || !m_pDockSite->m_hWnd) {
        return;
    }
    CSize size(1, 1);
    CRect rect;
    const bool horz = (m_dwStyle & CBRS_ORIENT_HORZ) != 0;
    if (WillDock()) {
        const bool vert = (m_dwOverDockStyle & CBRS_ORIENT_VERT) != 0;
        rect = vert ? m_rectDragVert : m_rectDragHorz;
        CDockBar* pDockBar = nullptr;
        CanDock(&pDockBar);
        if (auto* sec = dynamic_cast<SECDockBar*>(pDockBar)) {
            rect = sec->GetFeedbackRect(m_pBar, rect, m_ptLast, m_nLastFeedbackRow, m_rectLastFeedback,
                                        m_ptLastFeedback);
        }
        if (SECGetToolkitMetrics().bIsNewShell) {
            rect.DeflateRect(1, 1);
        }
    } else {
        m_nLastFeedbackRow = -1;
        size = CSize(std::max(::GetSystemMetrics(SM_CXFRAME) - 1, 1),
                     std::max(::GetSystemMetrics(SM_CYFRAME) - 1, 1));
        rect =
            (m_bResizing || horz != static_cast<bool>(m_bFlip)) ? m_rectFrameDragHorz : m_rectFrameDragVert;
    }
    m_rectLastFeedback = rect;
    if (bRemoveRect) {
        size = CSize(0, 0);
    }
    // Inverted on the frame's window, in its window coordinates.
    CRect origin;
    m_pDockSite->GetWindowRect(&origin);
    rect.OffsetRect(-origin.left, -origin.top);
    CWindowDC dc(m_pDockSite);
    if (bRemoveRect) {
        if (!m_rectLast.IsRectEmpty()) {
            dc.DrawDragRect(&m_rectLast, size, &m_rectLast, m_sizeLast);
        }
        m_rectLast.SetRectEmpty();
        return;
    }
    dc.DrawDragRect(&rect, size, m_rectLast.IsRectEmpty() ? nullptr : &m_rectLast, m_sizeLast);
    m_rectLast = rect;
    m_sizeLast = size;
}

void SECDockContext::CancelLoop() {
    DrawFocusRect(TRUE);
    if (CWnd::GetCapture() == m_pBar) {
        ::ReleaseCapture();
    }
    SendStatusText(AFX_IDS_IDLEMESSAGE);
}

void SECDockContext::FloatBar(CPoint pt, DWORD dwStyle) {
    if (auto* frame = dynamic_cast<SECFrameWnd*>(m_pDockSite)) {
        frame->FloatControlBarEx(m_pBar, pt.x, pt.y, dwStyle);
    } else {
        m_pDockSite->FloatControlBar(m_pBar, pt, dwStyle);
    }
}

void SECDockContext::EndDrag() {
    if (m_bResizing) {
        EndResize();
        return;
    }
    CancelLoop();
    CDockBar* pDockBar = nullptr;
    if (WillDock() && (CanDock(&pDockBar), pDockBar)) {
        CRect rect = (m_dwOverDockStyle & CBRS_ORIENT_VERT) ? m_rectDragVert : m_rectDragHorz;
        const UINT id = static_cast<UINT>(pDockBar->GetDlgCtrlID());
        if (id >= AFX_IDW_DOCKBAR_TOP && id <= AFX_IDW_DOCKBAR_BOTTOM) {
            m_uMRUDockID = id;
            m_rectMRUDockPos = rect;
            pDockBar->ScreenToClient(&m_rectMRUDockPos);
        }
        auto* sec = dynamic_cast<SECDockBar*>(pDockBar);
        if (sec && m_pBar->IsFloating()) {
            sec->m_pPriorityBar = m_pBar;
        }
        m_pDockSite->DockControlBar(m_pBar, pDockBar, &rect);
        m_pDockSite->RecalcLayout(TRUE);
    } else {
        const bool horz = (m_dwStyle & CBRS_ORIENT_HORZ) != 0;
        CPoint pt;
        if ((m_dwStyle & CBRS_SIZE_DYNAMIC) || horz != static_cast<bool>(m_bFlip)) {
            m_dwMRUFloatStyle = CBRS_ALIGN_TOP | (m_dwDockStyle & CBRS_FLOAT_MULTI);
            pt = m_rectFrameDragHorz.TopLeft();
        } else {
            m_dwMRUFloatStyle = CBRS_ALIGN_LEFT | (m_dwDockStyle & CBRS_FLOAT_MULTI);
            pt = m_rectFrameDragVert.TopLeft();
        }
        const ToolkitMetrics& m = SECGetToolkitMetrics();
        pt.Offset(-m.cxBorder, -m.cyBorder);
        m_ptMRUFloatPos = pt;
        FloatBar(pt, m_dwMRUFloatStyle);
    }
    m_bDragging = FALSE;
}

BOOL SECDockContext::StartResize(int nHitTest, CPoint pt) {
    m_pDockSite = m_pBar->m_pDockSite;
    if (!m_pDockSite || nHitTest < HTLEFT || nHitTest > HTBOTTOMRIGHT || CWnd::GetCapture()) {
        return FALSE;
    }
    m_bResizing = TRUE;
    m_dwDockStyle = m_pBar->m_dwDockStyle;
    m_dwStyle = m_pBar->m_dwStyle;
    m_bFlip = FALSE;
    m_bForceFrame = FALSE;
    m_dwOverDockStyle = 0;
    m_rectLast.SetRectEmpty();
    m_ptLast = pt;
    m_nHitTest = nHitTest;
    CRect rect;
    m_pBar->GetWindowRect(&rect);
    m_rectDragHorz = CRect(rect.TopLeft(), m_pBar->CalcDynamicLayout(0, LM_HORZ | LM_MRUWIDTH));
    m_rectDragVert = m_rectDragHorz;
    PlaceResizeFrame();
    // Each step commits the bar's size; a cancelled resize puts it back.
    const CSize before = m_pBar->CalcDynamicLayout(-1, LM_HORZ);
    Stretch(pt);
    const BOOL done = Track();
    if (!done) {
        m_pBar->CalcDynamicLayout(before.cx, LM_HORZ | LM_COMMIT);
        m_pBar->CalcDynamicLayout(before.cy, LM_LENGTHY | LM_HORZ | LM_COMMIT);
    }
    m_bResizing = FALSE;
    return done;
}

void SECDockContext::PlaceResizeFrame() {
    const ToolkitMetrics& m = SECGetToolkitMetrics();
    m_rectFrameDragHorz = WithFloatingBorders(m_rectDragHorz);
    m_rectFrameDragHorz.DeflateRect(m.cxBorder, m.cyBorder);
    m_rectFrameDragVert = m_rectFrameDragHorz;
}

void SECDockContext::Stretch(CPoint pt) {
    const CPoint d = pt - m_ptLast;
    const int hit = m_nHitTest;
    const bool left = hit == HTLEFT || hit == HTTOPLEFT || hit == HTBOTTOMLEFT;
    const bool right = hit == HTRIGHT || hit == HTTOPRIGHT || hit == HTBOTTOMRIGHT;
    const bool top = hit == HTTOP || hit == HTTOPLEFT || hit == HTTOPRIGHT;
    const bool bottom = hit == HTBOTTOM || hit == HTBOTTOMLEFT || hit == HTBOTTOMRIGHT;
    SECControlBar* sec = AsSec(m_pBar);
    const bool sizing = sec && !(sec->m_dwExStyle & CBRS_EX_FIXEDSIZE);
    CRect& r = m_rectDragHorz;
    CPoint kept = pt;
    if (left || right) {
        CRect next = r;
        (left ? next.left : next.right) += d.x;
        // Other bars take the width they are given (a toolbar wraps to it); only one edge at a time.
        const bool fits =
            sizing ? next.Width() >= m_sizeMinFloat.cx && next.Width() <= m_sizeMaxFloat.cx : !top && !bottom;
        if (fits) {
            r = next;
            m_pBar->CalcDynamicLayout(std::max(static_cast<int>(r.Width()), 0), LM_HORZ | LM_COMMIT);
        } else {
            kept.x = m_ptLast.x;
        }
    }
    if (top || bottom) {
        CRect next = r;
        (top ? next.top : next.bottom) += d.y;
        const bool fits = sizing ? next.Height() >= m_sizeMinFloat.cy && next.Height() <= m_sizeMaxFloat.cy
                                 : !left && !right;
        if (fits) {
            r = next;
            m_pBar->CalcDynamicLayout(std::max(static_cast<int>(r.Height()), 0),
                                      LM_LENGTHY | LM_HORZ | LM_COMMIT);
        } else {
            kept.y = m_ptLast.y;
        }
    }
    // The size the bar took, held at the edge opposite the one dragged.
    const CSize size = m_pBar->CalcDynamicLayout(-1, LM_HORZ);
    if (left) {
        r.left = r.right - size.cx;
    } else {
        r.right = r.left + size.cx;
    }
    if (top) {
        r.top = r.bottom - size.cy;
    } else {
        r.bottom = r.top + size.cy;
    }
    m_rectDragVert = r;
    PlaceResizeFrame();
    m_ptLast = kept;
    DrawFocusRect(FALSE);
}

void SECDockContext::EndResize() {
    CancelLoop();
    SECControlBar* sec = AsSec(m_pBar);
    const bool sizing = sec && !(sec->m_dwExStyle & CBRS_EX_FIXEDSIZE);
    m_pBar->CalcDynamicLayout(m_rectDragHorz.Width(), LM_HORZ | LM_COMMIT);
    if (sizing) {
        m_pBar->CalcDynamicLayout(m_rectDragHorz.Height(), LM_LENGTHY | LM_HORZ | LM_COMMIT);
    }
    CPoint pt = m_rectFrameDragHorz.TopLeft();
    if (!m_pBar->IsKindOf(RUNTIME_CLASS(SECCustomToolBar))) {
        const ToolkitMetrics& m = SECGetToolkitMetrics();
        pt.Offset(-m.cxBorder, -m.cyBorder);
    }
    FloatBar(pt, (m_dwDockStyle & CBRS_FLOAT_MULTI) | CBRS_ALIGN_TOP | CBRS_SIZE_DYNAMIC);
    // A bar alone in its frame keeps that frame, which now takes the bar's new size.
    if (CFrameWnd* frame = m_pBar->GetParentFrame(); frame && frame != m_pDockSite) {
        frame->RecalcLayout();
    }
    m_bResizing = FALSE;
}

void SECDockContext::ToggleDocking() {
    m_pDockSite = m_pBar->m_pDockSite;
    if (!m_pDockSite) {
        return;
    }
    SECControlBar* sec = AsSec(m_pBar);
    if (m_pBar->IsFloating()) {
        if (!(m_pBar->m_dwDockStyle & CBRS_ALIGN_ANY)) {
            return;
        }
        if (sec) {
            sec->m_fProportion = sec->m_fSavedProportion;
        }
        CDockBar* pDockBar =
            m_uMRUDockID ? dynamic_cast<CDockBar*>(m_pDockSite->GetControlBar(m_uMRUDockID)) : nullptr;
        CRect rect = m_rectMRUDockPos;
        if (pDockBar) {
            pDockBar->ClientToScreen(&rect);
        }
        if (m_pBar->m_dwStyle & CBRS_SIZE_FIXED) {
            rect.right += 1;
        }
        LPCRECT lpRect = rect.IsRectEmpty() ? nullptr : &rect;
        if (auto* secDock = dynamic_cast<SECDockBar*>(pDockBar)) {
            secDock->ReDockBarAt(m_pBar, lpRect);
        } else {
            m_pDockSite->ReDockControlBar(m_pBar, pDockBar, lpRect);
        }
        m_pDockSite->RecalcLayout(TRUE);
        return;
    }
    if (sec) {
        sec->m_fSavedProportion = sec->m_fProportion;
    }
    CPoint pt = m_ptMRUFloatPos;
    if (pt.x < 0 || pt.y < 0 || (pt.x == 0 && pt.y == 0)) {
        // Never floated where it could be seen: next to where it is docked.
        CRect rect = m_rectMRUDockPos;
        if (CWnd* parent = m_pBar->GetParent()) {
            parent->ClientToScreen(&rect);
        }
        pt = rect.TopLeft();
    }
    DWORD style =
        m_dwMRUFloatStyle ? m_dwMRUFloatStyle : (CBRS_ALIGN_TOP | (m_pBar->m_dwDockStyle & CBRS_FLOAT_MULTI));
    FloatBar(pt, style);
}
