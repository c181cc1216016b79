#include "toolkit/SECCustomStatusBar.h"

#include "platform/framework/CDC.h"
#include "platform/framework/CFrameWnd.h"

#include <algorithm>

IMPLEMENT_DYNAMIC(SECCustomStatusBar, SECStatusBar)

BEGIN_MESSAGE_MAP(SECCustomStatusBar, SECStatusBar)
ON_WM_SETCURSOR()
ON_MESSAGE(WM_SETFONT, OnSetFont)
ON_MESSAGE(WM_SIZEPARENT, OnSizeParentEx)
ON_MESSAGE(SB_SETMINHEIGHT, OnSetMinHeightEx)
ON_MESSAGE(WM_SETTEXT, OnSetTextEx)
END_MESSAGE_MAP()

namespace {

// Copies a bitmap to (x, y); a zero width or height takes the bitmap's own, any given size stretches.
void SECDrawBitmap(CDC* pDC, int x, int y, CBitmap* pBitmap, int cx, int cy, DWORD rop) {
    BITMAP info{};
    if (!pBitmap || !pBitmap->GetBitmap(&info)) {
        return;
    }
    CDC memory;
    if (!memory.CreateCompatibleDC(pDC)) {
        return;
    }
    CBitmap* old = memory.SelectObject(pBitmap);
    const int width = cx ? cx : static_cast<int>(info.bmWidth);
    const int height = cy ? cy : static_cast<int>(info.bmHeight);
    if (cx || cy) {
        pDC->StretchBlt(x, y, width, height, &memory, 0, 0, info.bmWidth, info.bmHeight, rop);
    } else {
        pDC->BitBlt(x, y, width, height, &memory, 0, 0, rop);
    }
    memory.SelectObject(old);
}

} // namespace

SECCustomStatusBar::~SECCustomStatusBar() {
    if (m_pProgress && m_pProgress->GetSafeHwnd()) {
        m_pProgress->DestroyWindow();
    }
    m_pProgress.reset();
    if (m_hWnd) {
        DestroyWindow();
    }
}

BOOL SECCustomStatusBar::PreCreateWindow(CREATESTRUCT& cs) {
    cs.style |= 0x1000;
    return SECStatusBar::PreCreateWindow(cs);
}

BOOL SECCustomStatusBar::SetPanes(const UINT* lpIDArray, int nIDCount) {
    BOOL result = SECStatusBar::SetPanes(lpIDArray, nIDCount);
    m_drawInfo.assign(m_panes.size(), SECPaneDrawInfo{});
    for (size_t i = 0; i < m_panes.size(); ++i) {
        // The pane's own style says owner-drawn too, so later text sends keep the part owner-drawn.
        m_panes[i].nStyle |= SBPS_OWNERDRAW;
        if (m_hWnd) {
            const LRESULT info = ::SendMessageW(m_hWnd, SB_GETTEXTLENGTHW, i, 0);
            const WPARAM type = HIWORD(static_cast<DWORD>(info));
            ::SendMessageW(m_hWnd, SB_SETTEXTW, i | type | SBPS_OWNERDRAW, 0);
        }
    }
    return result;
}

BOOL SECCustomStatusBar::SetPaneAttributes(const SECPaneAttributes& a, BOOL bFit) {
    if (a.nIndex < 0 || a.nIndex >= static_cast<int>(m_panes.size())) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    const int index = a.nIndex;
    UINT id = 0;
    UINT style = 0;
    int width = 0;
    GetPaneInfo(index, id, style, width);
    int bitmapHeight = 0;
    if (a.fMask & SBP_ID) {
        id = a.nID;
    }
    if (a.fMask & SBP_STYLE) {
        style = a.nStyle;
    }
    BITMAP info{};
    if (a.fMask & SBP_WIDTH) {
        width = a.cx;
    } else if (bFit && (a.fMask & SBP_BITMAP) && a.pBitmap && a.pBitmap->GetBitmap(&info)) {
        width = info.bmWidth;
        bitmapHeight = std::max(0, static_cast<int>(info.bmHeight));
    }
    SetPaneInfo(index, id, style | SBPS_OWNERDRAW, width);
    if (a.fMask & SBP_TEXT) {
        SetPaneText(index, a.strText, FALSE);
    }
    SECPaneDrawInfo& draw = m_drawInfo[static_cast<size_t>(index)];
    if (a.fMask & SBP_TEXTALIGN) {
        draw.nAlign = a.nAlign;
    }
    if (a.fMask & SBP_FOREGROUND) {
        draw.clrFore = a.clrFore;
    }
    if (a.fMask & SBP_BACKGROUND) {
        draw.clrBack = a.clrBack;
    }
    if (a.fMask & SBP_BITMAP) {
        draw.pBitmap = a.pBitmap;
    }
    if (a.fMask & SBP_CURSOR) {
        draw.hCursor = a.hCursor;
    }
    draw.fMask = (draw.fMask & ~static_cast<UINT>(SBP_DRAWMASK)) | (a.fMask & SBP_DRAWMASK);
    if (bFit && bitmapHeight > 0 && m_hWnd) {
        int borders[3];
        GetControlBorders(borders);
        SendMessageW(SB_SETMINHEIGHT, static_cast<WPARAM>(bitmapHeight + 2 * borders[1]));
        RelayoutParent();
    }
    if (a.fMask & SBP_WIDTH) {
        PositionPaneWindows();
    }
    if (m_hWnd) {
        CRect rect;
        GetPaneRect(index, &rect);
        InvalidateRect(&rect, TRUE);
    }
    return TRUE;
}

BOOL SECCustomStatusBar::GetPaneAttributes(SECPaneAttributes& a) const {
    if (a.nIndex < 0 || a.nIndex >= static_cast<int>(m_panes.size())) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    GetPaneInfo(a.nIndex, a.nID, a.nStyle, a.cx);
    a.strText = GetPaneText(a.nIndex);
    const SECPaneDrawInfo& draw = m_drawInfo[static_cast<size_t>(a.nIndex)];
    a.clrFore = draw.clrFore;
    a.clrBack = draw.clrBack;
    a.pBitmap = draw.pBitmap;
    a.hCursor = draw.hCursor;
    a.nAlign = draw.nAlign;
    a.fMask = draw.fMask;
    return TRUE;
}

void SECCustomStatusBar::RelayoutParent() {
    if (CWnd* parent = GetParent()) {
        CRect window;
        parent->GetWindowRect(&window);
        parent->SendMessageW(WM_SIZE, 0, MAKELPARAM(window.Width(), window.Height()));
    }
}

void SECCustomStatusBar::GetPaneRect(int nIndex, LPRECT lpRect) const {
    ::SetRectEmpty(lpRect);
    if (!m_hWnd || nIndex < 0 || nIndex >= 32) {
        return;
    }
    int edges[32];
    const int count =
        static_cast<int>(::SendMessageW(m_hWnd, SB_GETPARTS, 32, reinterpret_cast<LPARAM>(edges)));
    if (count <= 0 || nIndex >= count) {
        return;
    }
    CRect client;
    GetClientRect(&client);
    int borders[3];
    GetControlBorders(borders);
    lpRect->left = nIndex == 0 ? borders[0] : edges[nIndex - 1] + borders[2];
    lpRect->right = edges[nIndex] == -1 ? client.right - borders[0] : edges[nIndex];
    lpRect->top = borders[1];
    lpRect->bottom = std::max(0, static_cast<int>(client.bottom) - borders[1] + 1);
}

void SECCustomStatusBar::DrawPane(LPDRAWITEMSTRUCT dis) {
    const int index = static_cast<int>(dis->itemID);
    const SECStatusPane* pane = GetPanePtr(index);
    if (!pane || index >= static_cast<int>(m_drawInfo.size()) || (pane->nStyle & SBPS_DISABLED) ||
        (m_pProgress && index != 0)) {
        return;
    }
    const SECPaneDrawInfo& draw = m_drawInfo[static_cast<size_t>(index)];
    CDC* dc = CDC::FromHandle(dis->hDC);
    const CRect rect(dis->rcItem);
    if ((draw.fMask & SBP_BITMAP) && draw.pBitmap) {
        SECDrawBitmap(dc, rect.left, rect.top, draw.pBitmap, 0, 0, SRCCOPY);
        return;
    }
    const int saved = dc->SaveDC();
    const CSize extent = dc->GetTextExtent(pane->strText);
    dc->SetBkMode(TRANSPARENT);
    if (draw.fMask & SBP_FOREGROUND) {
        dc->SetTextColor(draw.clrFore);
    }
    UINT options = 0;
    if (draw.fMask & SBP_BACKGROUND) {
        dc->SetBkColor(draw.clrBack);
        options = ETO_OPAQUE;
    }
    int x = rect.left + 1;
    if (draw.fMask & SBP_TEXTALIGN) {
        dc->SetTextAlign(draw.nAlign);
        if (draw.nAlign == TA_RIGHT) {
            x = rect.right - 1;
        } else if (draw.nAlign == TA_CENTER) {
            x = rect.left + (rect.right - rect.left) / 2;
        }
    }
    const int y = rect.top + (rect.bottom - rect.top - static_cast<int>(extent.cy)) / 2;
    dc->ExtTextOutW(x, y, options, &rect, pane->strText, nullptr);
    dc->RestoreDC(saved);
}

BOOL SECCustomStatusBar::OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message) {
    if (nHitTest == HTCLIENT) {
        CPoint point;
        ::GetCursorPos(&point);
        ScreenToClient(&point);
        for (int i = 0; i < static_cast<int>(m_drawInfo.size()); ++i) {
            CRect rect;
            GetPaneRect(i, &rect);
            if (rect.PtInRect(point)) {
                const SECPaneDrawInfo& draw = m_drawInfo[static_cast<size_t>(i)];
                if ((draw.fMask & SBP_CURSOR) && draw.hCursor) {
                    ::SetCursor(draw.hCursor);
                    return TRUE;
                }
                break;
            }
        }
    }
    (void)pWnd;
    (void)message;
    return static_cast<BOOL>(Default());
}

LRESULT SECCustomStatusBar::OnSetFont(WPARAM, LPARAM) {
    LRESULT result = Default();
    RelayoutParent();
    return result;
}

LRESULT SECCustomStatusBar::OnSizeParentEx(WPARAM wParam, LPARAM lParam) {
    LRESULT result = OnSizeParent(wParam, lParam);
    if (m_pProgress && m_pProgress->GetSafeHwnd()) {
        CRect client;
        GetClientRect(&client);
        CRect rect;
        m_pProgress->GetWindowRect(&rect);
        ScreenToClient(&rect);
        rect.right = client.right;
        m_pProgress->SetWindowPos(nullptr, rect.left, rect.top, rect.Width(), rect.Height(),
                                  SWP_NOZORDER | SWP_NOACTIVATE);
    } else {
        PositionPaneWindows();
    }
    return result;
}

LRESULT SECCustomStatusBar::OnSetMinHeightEx(WPARAM wParam, LPARAM lParam) {
    return OnSetMinHeight(wParam, lParam);
}

LRESULT SECCustomStatusBar::OnSetTextEx(WPARAM wParam, LPARAM lParam) {
    if (m_pProgress) {
        return 0;
    }
    return OnSetText(wParam, lParam);
}

BOOL SECCustomStatusBar::StartProgress(LPCTSTR lpszCaption, int nLower, int nUpper, BOOL bResetPos,
                                       DWORD dwProgressStyle) {
    if (!m_hWnd) {
        return FALSE;
    }
    CRect area;
    GetClientRect(&area);
    bool created = false;
    if (!m_pProgress) {
        auto progress = std::make_unique<SECProgressCtrl>();
        if (!progress->Create(WS_CHILD, area, this, 1, dwProgressStyle)) {
            return FALSE;
        }
        m_pProgress = std::move(progress);
        created = true;
    } else {
        m_pProgress->SetProgressStyle(dwProgressStyle);
    }
    ShowPaneWindows(FALSE);
    if (lpszCaption && !m_panes.empty()) {
        if (!m_pSavedFirstPane) {
            m_pSavedFirstPane = std::make_unique<SECPaneAttributes>();
            m_pSavedFirstPane->nIndex = 0;
            GetPaneAttributes(*m_pSavedFirstPane);
            m_pSavedFirstPane->fMask |= SBP_STYLE | SBP_WIDTH | SBP_TEXT | SBP_TEXTALIGN;
        }
        SECPaneAttributes first;
        first.nIndex = 0;
        first.nStyle = SBPS_NOBORDERS;
        first.strText = CString(lpszCaption) + u" ";
        first.cx = TextWidth(first.strText);
        first.nAlign = TA_LEFT;
        first.clrFore = m_pSavedFirstPane->clrFore;
        first.clrBack = m_pSavedFirstPane->clrBack;
        first.fMask = SBP_STYLE | SBP_WIDTH | SBP_TEXT | SBP_TEXTALIGN |
                      (m_pSavedFirstPane->fMask & (SBP_FOREGROUND | SBP_BACKGROUND));
        SetPaneAttributes(first, TRUE);
        int borders[3];
        GetControlBorders(borders);
        area.left += first.cx + 2 * (borders[0] + borders[2]) + 1;
    }
    m_pProgress->SetWindowPos(nullptr, area.left, area.top, area.Width(), area.Height(),
                              SWP_NOZORDER | SWP_NOACTIVATE | (created ? SWP_SHOWWINDOW : 0));
    m_pProgress->SetRange(nLower, nUpper);
    if (bResetPos) {
        m_pProgress->SetPos(nLower, TRUE);
    }
    return m_pProgress != nullptr;
}

void SECCustomStatusBar::EndProgress() {
    if (m_pProgress) {
        if (m_pProgress->GetSafeHwnd()) {
            m_pProgress->DestroyWindow();
        }
        m_pProgress.reset();
    }
    if (m_pSavedFirstPane) {
        std::unique_ptr<SECPaneAttributes> saved = std::move(m_pSavedFirstPane);
        SetPaneAttributes(*saved, TRUE);
    }
    ShowPaneWindows(TRUE);
    if (m_hWnd) {
        Invalidate();
    }
}

void SECCustomStatusBar::ShowPaneWindows(BOOL bShow) {
    for (CWnd* window : m_paneWindows) {
        if (window && window->GetSafeHwnd()) {
            window->ShowWindow(bShow ? SW_SHOW : SW_HIDE);
        }
    }
}

void SECCustomStatusBar::PositionPaneWindows() {
    for (size_t i = 0; i < m_paneWindows.size(); ++i) {
        CWnd* window = m_paneWindows[i];
        if (!window || !window->GetSafeHwnd()) {
            continue;
        }
        const UINT flags = GetPaneWindowFlags(static_cast<int>(i));
        CRect target;
        GetItemRect(static_cast<int>(i), &target);
        CRect current;
        window->GetWindowRect(&current);
        if (flags & SBP_KEEPWIDTH) {
            target.right = target.left + current.Width();
        } else if (flags & SBP_INSET) {
            target.left += 1;
            target.right -= 1;
        }
        if (flags & SBP_KEEPHEIGHT) {
            target.bottom = target.top + current.Height();
        } else if (flags & SBP_INSET) {
            target.top += 1;
            target.bottom -= 1;
        }
        window->SetWindowPos(nullptr, target.left, target.top, target.Width(), target.Height(),
                             SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

CWnd* SECCustomStatusBar::GetPaneWindow(int nIndex) const {
    return nIndex >= 0 && nIndex < static_cast<int>(m_paneWindows.size()) ? m_paneWindows[nIndex] : nullptr;
}

UINT SECCustomStatusBar::GetPaneWindowFlags(int nIndex) const {
    return nIndex >= 0 && nIndex < static_cast<int>(m_paneWindowFlags.size()) ? m_paneWindowFlags[nIndex] : 0;
}
