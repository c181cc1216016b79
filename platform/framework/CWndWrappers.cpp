// CWnd's thin wrappers over the window API: class registration, styles and text, size and position,
// visibility, painting, timers, focus and capture, scroll bars, messages, the window tree, dialog items and
// message boxes.
#include "platform/framework/CWnd.h"

#include "platform/controls/ControlConstants.h"
#include "platform/framework/CFrameWnd.h"
#include "platform/framework/CWinApp.h"

#include <cstdio>
#include <mutex>
#include <set>
#include <string>
#include <utility>

// ---- Classes

const TCHAR _afxWnd[] = u"AfxWnd";
const TCHAR _afxWndFrameOrView[] = u"AfxFrameOrView";

BOOL AfxRegisterClass(WNDCLASSW* lpWndClass) {
    WNDCLASSW existing{};
    if (::GetClassInfoW(lpWndClass->hInstance, lpWndClass->lpszClassName, &existing)) {
        return TRUE;
    }
    return ::RegisterClassW(lpWndClass) != 0;
}

LPCTSTR AfxRegisterWndClass(UINT nClassStyle, HCURSOR hCursor, HBRUSH hbrBackground, HICON hIcon) {
    // The names live for the whole process, one per distinct combination.
    static std::mutex namesMutex;
    static std::set<std::u16string> names;
    char narrow[128];
    std::snprintf(narrow, sizeof narrow, "Afx:%x:%x:%zx:%zx:%zx", static_cast<unsigned>(nClassStyle),
                  0x400000u, reinterpret_cast<size_t>(hCursor), reinterpret_cast<size_t>(hbrBackground),
                  reinterpret_cast<size_t>(hIcon));
    std::u16string name(narrow, narrow + std::char_traits<char>::length(narrow));
    LPCTSTR stored = nullptr;
    {
        std::lock_guard lock(namesMutex);
        stored = names.insert(name).first->c_str();
    }
    WNDCLASSW wc{};
    wc.style = nClassStyle;
    wc.lpfnWndProc = &AfxWndProc;
    wc.hInstance = AfxGetInstanceHandle();
    wc.hIcon = hIcon;
    wc.hCursor = hCursor;
    wc.hbrBackground = hbrBackground;
    wc.lpszClassName = stored;
    AfxRegisterClass(&wc);
    return stored;
}

BOOL AfxEndDeferRegisterClass() {
    WNDCLASSW wc{};
    wc.lpfnWndProc = &AfxWndProc;
    wc.hInstance = AfxGetInstanceHandle();
    wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    wc.style = CS_DBLCLKS;
    wc.lpszClassName = _afxWnd;
    BOOL ok = AfxRegisterClass(&wc);
    wc.style = CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW;
    wc.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_WINDOW + 1));
    wc.lpszClassName = _afxWndFrameOrView;
    return AfxRegisterClass(&wc) && ok;
}

// ---- Styles and text

DWORD CWnd::GetStyle() const {
    return static_cast<DWORD>(::GetWindowLongW(m_hWnd, GWL_STYLE));
}
DWORD CWnd::GetExStyle() const {
    return static_cast<DWORD>(::GetWindowLongW(m_hWnd, GWL_EXSTYLE));
}

namespace {

BOOL ModifyStyleIndex(HWND hWnd, int index, DWORD dwRemove, DWORD dwAdd, UINT nFlags) {
    DWORD style = static_cast<DWORD>(::GetWindowLongW(hWnd, index));
    DWORD newStyle = (style & ~dwRemove) | dwAdd;
    if (style == newStyle) {
        return FALSE;
    }
    ::SetWindowLongW(hWnd, index, static_cast<LONG>(newStyle));
    if (nFlags != 0) {
        ::SetWindowPos(hWnd, nullptr, 0, 0, 0, 0,
                       SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | nFlags);
    }
    return TRUE;
}

} // namespace

BOOL CWnd::ModifyStyle(HWND hWnd, DWORD dwRemove, DWORD dwAdd, UINT nFlags) {
    return ModifyStyleIndex(hWnd, GWL_STYLE, dwRemove, dwAdd, nFlags);
}
BOOL CWnd::ModifyStyleEx(HWND hWnd, DWORD dwRemove, DWORD dwAdd, UINT nFlags) {
    return ModifyStyleIndex(hWnd, GWL_EXSTYLE, dwRemove, dwAdd, nFlags);
}
BOOL CWnd::ModifyStyle(DWORD dwRemove, DWORD dwAdd, UINT nFlags) {
    return ModifyStyle(m_hWnd, dwRemove, dwAdd, nFlags);
}
BOOL CWnd::ModifyStyleEx(DWORD dwRemove, DWORD dwAdd, UINT nFlags) {
    return ModifyStyleEx(m_hWnd, dwRemove, dwAdd, nFlags);
}

void CWnd::SetWindowTextW(LPCTSTR lpszString) {
    ::SetWindowTextW(m_hWnd, lpszString);
}
int CWnd::GetWindowTextW(LPTSTR lpszStringBuf, int nMaxCount) const {
    return ::GetWindowTextW(m_hWnd, lpszStringBuf, nMaxCount);
}
void CWnd::GetWindowTextW(CString& rString) const {
    int length = ::GetWindowTextLengthW(m_hWnd);
    ::GetWindowTextW(m_hWnd, rString.GetBufferSetLength(length), length + 1);
    rString.ReleaseBuffer();
}
int CWnd::GetWindowTextLengthW() const {
    return ::GetWindowTextLengthW(m_hWnd);
}
void CWnd::SetFont(CFont* pFont, BOOL bRedraw) {
    SendMessageW(WM_SETFONT, reinterpret_cast<WPARAM>(CGdiObject::SafeHandleOf(pFont)), bRedraw);
}
CFont* CWnd::GetFont() const {
    return CFont::FromHandle(reinterpret_cast<HFONT>(SendMessageW(WM_GETFONT)));
}
HICON CWnd::SetIcon(HICON hIcon, BOOL bBigIcon) {
    return reinterpret_cast<HICON>(
        SendMessageW(WM_SETICON, bBigIcon ? ICON_BIG : ICON_SMALL, reinterpret_cast<LPARAM>(hIcon)));
}
HICON CWnd::GetIcon(BOOL bBigIcon) const {
    return reinterpret_cast<HICON>(SendMessageW(WM_GETICON, bBigIcon ? ICON_BIG : ICON_SMALL));
}
void CWnd::SetRedraw(BOOL bRedraw) {
    SendMessageW(WM_SETREDRAW, bRedraw);
}

// ---- Size and position

void CWnd::MoveWindow(int x, int y, int nWidth, int nHeight, BOOL bRepaint) {
    ::MoveWindow(m_hWnd, x, y, nWidth, nHeight, bRepaint);
}
void CWnd::MoveWindow(LPCRECT r, BOOL bRepaint) {
    ::MoveWindow(m_hWnd, r->left, r->top, r->right - r->left, r->bottom - r->top, bRepaint);
}
BOOL CWnd::SetWindowPos(const CWnd* pWndInsertAfter, int x, int y, int cx, int cy, UINT nFlags) {
    return ::SetWindowPos(m_hWnd, SafeHwndOf(pWndInsertAfter), x, y, cx, cy, nFlags);
}
void CWnd::GetWindowRect(LPRECT lpRect) const {
    ::GetWindowRect(m_hWnd, lpRect);
}
void CWnd::GetClientRect(LPRECT lpRect) const {
    ::GetClientRect(m_hWnd, lpRect);
}
void CWnd::ClientToScreen(LPPOINT lpPoint) const {
    ::ClientToScreen(m_hWnd, lpPoint);
}
void CWnd::ClientToScreen(LPRECT r) const {
    ::MapWindowPoints(m_hWnd, nullptr, reinterpret_cast<LPPOINT>(r), 2);
}
void CWnd::ScreenToClient(LPPOINT lpPoint) const {
    ::ScreenToClient(m_hWnd, lpPoint);
}
void CWnd::ScreenToClient(LPRECT r) const {
    ::MapWindowPoints(nullptr, m_hWnd, reinterpret_cast<LPPOINT>(r), 2);
}
void CWnd::MapWindowPoints(CWnd* pwndTo, LPPOINT lpPoint, UINT nCount) const {
    ::MapWindowPoints(m_hWnd, SafeHwndOf(pwndTo), lpPoint, nCount);
}
void CWnd::MapWindowPoints(CWnd* pwndTo, LPRECT r) const {
    ::MapWindowPoints(m_hWnd, SafeHwndOf(pwndTo), reinterpret_cast<LPPOINT>(r), 2);
}
BOOL CWnd::GetWindowPlacement(WINDOWPLACEMENT* p) const {
    return ::GetWindowPlacement(m_hWnd, p);
}
BOOL CWnd::SetWindowPlacement(const WINDOWPLACEMENT* p) {
    return ::SetWindowPlacement(m_hWnd, p);
}
void CWnd::BringWindowToTop() {
    ::BringWindowToTop(m_hWnd);
}

void CWnd::CenterWindow(CWnd* pAlternateOwner) {
    DWORD style = GetStyle();
    HWND hWndCenter = SafeHwndOf(pAlternateOwner);
    if (!hWndCenter) {
        hWndCenter = (style & WS_CHILD) ? ::GetParent(m_hWnd) : ::GetWindow(m_hWnd, GW_OWNER);
    }
    RECT dlg{};
    ::GetWindowRect(m_hWnd, &dlg);
    RECT area{};
    RECT center{};
    if (style & WS_CHILD) {
        HWND parent = ::GetParent(m_hWnd);
        ::GetClientRect(parent, &area);
        ::GetClientRect(hWndCenter ? hWndCenter : parent, &center);
        ::MapWindowPoints(hWndCenter ? hWndCenter : parent, parent, reinterpret_cast<LPPOINT>(&center), 2);
    } else {
        ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
        if (hWndCenter && ::IsWindowVisible(hWndCenter) && !::IsIconic(hWndCenter)) {
            ::GetWindowRect(hWndCenter, &center);
        } else {
            center = area;
        }
    }
    int w = dlg.right - dlg.left;
    int h = dlg.bottom - dlg.top;
    int x = (center.left + center.right) / 2 - w / 2;
    int y = (center.top + center.bottom) / 2 - h / 2;
    if (x + w > area.right) {
        x = area.right - w;
    }
    if (x < area.left) {
        x = area.left;
    }
    if (y + h > area.bottom) {
        y = area.bottom - h;
    }
    if (y < area.top) {
        y = area.top;
    }
    ::SetWindowPos(m_hWnd, nullptr, x, y, -1, -1, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void AfxRepositionWindow(AFX_SIZEPARENTPARAMS* lpLayout, HWND hWnd, LPCRECT lpRect) {
    if (!lpLayout->hDWP) {
        return;
    }
    HWND hWndParent = ::GetParent(hWnd);
    RECT old{};
    ::GetWindowRect(hWnd, &old);
    ::MapWindowPoints(nullptr, hWndParent, reinterpret_cast<LPPOINT>(&old), 2);
    if (old.left == lpRect->left && old.top == lpRect->top && old.right == lpRect->right &&
        old.bottom == lpRect->bottom) {
        return;
    }
    lpLayout->hDWP = ::DeferWindowPos(lpLayout->hDWP, hWnd, nullptr, lpRect->left, lpRect->top,
                                      lpRect->right - lpRect->left, lpRect->bottom - lpRect->top,
                                      SWP_NOACTIVATE | SWP_NOZORDER);
}

void CWnd::RepositionBars(UINT nIDFirst, UINT nIDLast, UINT nIDLeftOver, UINT nFlag, LPRECT lpRectParam,
                          LPCRECT lpRectClient, BOOL bStretch) {
    AFX_SIZEPARENTPARAMS layout{};
    layout.bStretch = bStretch;
    if (lpRectClient) {
        layout.rect = *lpRectClient;
    } else {
        ::GetClientRect(m_hWnd, &layout.rect);
    }
    layout.hDWP = nFlag == reposQuery ? nullptr : ::BeginDeferWindowPos(8);
    HWND hWndLeftOver = nullptr;
    for (HWND hWndChild = ::GetTopWindow(m_hWnd); hWndChild;
         hWndChild = ::GetWindow(hWndChild, GW_HWNDNEXT)) {
        UINT nIDC = static_cast<UINT>(::GetDlgCtrlID(hWndChild));
        if (nIDC == nIDLeftOver) {
            hWndLeftOver = hWndChild;
        } else if (nIDC >= nIDFirst && nIDC <= nIDLast && FromHandlePermanent(hWndChild)) {
            ::SendMessageW(hWndChild, WM_SIZEPARENT, 0, reinterpret_cast<LPARAM>(&layout));
        }
    }
    if (nFlag == reposQuery) {
        if (lpRectParam) {
            if (bStretch) {
                *lpRectParam = layout.rect;
            } else {
                lpRectParam->left = lpRectParam->top = 0;
                lpRectParam->right = layout.sizeTotal.cx;
                lpRectParam->bottom = layout.sizeTotal.cy;
            }
        }
        return;
    }
    if (nIDLeftOver != 0 && hWndLeftOver) {
        RECT r = layout.rect;
        if (nFlag == reposExtra && lpRectParam) {
            r.left += lpRectParam->left;
            r.top += lpRectParam->top;
            r.right -= lpRectParam->right;
            r.bottom -= lpRectParam->bottom;
        }
        CWnd* pLeftOver = FromHandle(hWndLeftOver);
        pLeftOver->CalcWindowRect(&r);
        AfxRepositionWindow(&layout, hWndLeftOver, &r);
    }
    if (layout.hDWP) {
        ::EndDeferWindowPos(layout.hDWP);
    }
}

// ---- Visibility and state

BOOL CWnd::ShowWindow(int nCmdShow) {
    return ::ShowWindow(m_hWnd, nCmdShow);
}
BOOL CWnd::IsWindowVisible() const {
    return ::IsWindowVisible(m_hWnd);
}
BOOL CWnd::IsIconic() const {
    return ::IsIconic(m_hWnd);
}
BOOL CWnd::IsZoomed() const {
    return ::IsZoomed(m_hWnd);
}
BOOL CWnd::EnableWindow(BOOL bEnable) {
    return ::EnableWindow(m_hWnd, bEnable);
}
BOOL CWnd::IsWindowEnabled() const {
    return ::IsWindowEnabled(m_hWnd);
}
BOOL CWnd::FlashWindow(BOOL bInvert) {
    return ::FlashWindow(m_hWnd, bInvert);
}
void CWnd::ShowOwnedPopups(BOOL bShow) {
    ::ShowOwnedPopups(m_hWnd, bShow);
}

// ---- Painting

void CWnd::Invalidate(BOOL bErase) {
    ::InvalidateRect(m_hWnd, nullptr, bErase);
}
void CWnd::InvalidateRect(LPCRECT lpRect, BOOL bErase) {
    ::InvalidateRect(m_hWnd, lpRect, bErase);
}
void CWnd::InvalidateRgn(CRgn* pRgn, BOOL bErase) {
    ::InvalidateRgn(m_hWnd, static_cast<HRGN>(CGdiObject::SafeHandleOf(pRgn)), bErase);
}
void CWnd::ValidateRect(LPCRECT lpRect) {
    ::ValidateRect(m_hWnd, lpRect);
}
void CWnd::ValidateRgn(CRgn* pRgn) {
    ::ValidateRgn(m_hWnd, static_cast<HRGN>(CGdiObject::SafeHandleOf(pRgn)));
}
void CWnd::UpdateWindow() {
    ::UpdateWindow(m_hWnd);
}
BOOL CWnd::RedrawWindow(LPCRECT lpRectUpdate, CRgn* prgnUpdate, UINT flags) {
    return ::RedrawWindow(m_hWnd, lpRectUpdate, static_cast<HRGN>(CGdiObject::SafeHandleOf(prgnUpdate)),
                          flags);
}
BOOL CWnd::GetUpdateRect(LPRECT lpRect, BOOL bErase) {
    return ::GetUpdateRect(m_hWnd, lpRect, bErase);
}
CDC* CWnd::GetDC() {
    return CDC::FromHandle(::GetDC(m_hWnd));
}
CDC* CWnd::GetWindowDC() {
    return CDC::FromHandle(::GetWindowDC(m_hWnd));
}
int CWnd::ReleaseDC(CDC* pDC) {
    return ::ReleaseDC(m_hWnd, CDC::SafeHdcOf(pDC));
}
CDC* CWnd::BeginPaint(LPPAINTSTRUCT lpPaint) {
    return CDC::FromHandle(::BeginPaint(m_hWnd, lpPaint));
}
void CWnd::EndPaint(LPPAINTSTRUCT lpPaint) {
    ::EndPaint(m_hWnd, lpPaint);
}
BOOL CWnd::LockWindowUpdate() {
    return ::LockWindowUpdate(m_hWnd);
}
void CWnd::UnlockWindowUpdate() {
    ::LockWindowUpdate(nullptr);
}
void CWnd::ScrollWindow(int xAmount, int yAmount, LPCRECT lpRect, LPCRECT lpClipRect) {
    ::ScrollWindow(m_hWnd, xAmount, yAmount, lpRect, lpClipRect);
}
int CWnd::ScrollWindowEx(int dx, int dy, LPCRECT lpRectScroll, LPCRECT lpRectClip, CRgn* prgnUpdate,
                         LPRECT lpRectUpdate, UINT flags) {
    return ::ScrollWindowEx(m_hWnd, dx, dy, lpRectScroll, lpRectClip,
                            static_cast<HRGN>(CGdiObject::SafeHandleOf(prgnUpdate)), lpRectUpdate, flags);
}

// ---- Timers, focus, capture

UINT_PTR CWnd::SetTimer(UINT_PTR nIDEvent, UINT nElapse, TIMERPROC lpfnTimer) {
    return ::SetTimer(m_hWnd, nIDEvent, nElapse, lpfnTimer);
}
BOOL CWnd::KillTimer(UINT_PTR nIDEvent) {
    return ::KillTimer(m_hWnd, nIDEvent);
}
CWnd* CWnd::SetFocus() {
    return FromHandle(::SetFocus(m_hWnd));
}
CWnd* CWnd::GetFocus() {
    return FromHandle(::GetFocus());
}
CWnd* CWnd::SetCapture() {
    return FromHandle(::SetCapture(m_hWnd));
}
CWnd* CWnd::GetCapture() {
    return FromHandle(::GetCapture());
}
CWnd* CWnd::SetActiveWindow() {
    return FromHandle(::SetActiveWindow(m_hWnd));
}
CWnd* CWnd::GetActiveWindow() {
    return FromHandle(::GetActiveWindow());
}
BOOL CWnd::SetForegroundWindow() {
    return ::SetForegroundWindow(m_hWnd);
}
CWnd* CWnd::GetForegroundWindow() {
    return FromHandle(::GetForegroundWindow());
}

// ---- Scroll bars

namespace {

// The window and bar code that carry the bar: the standing-in control, or the window's own bar.
std::pair<HWND, int> ScrollTarget(const CWnd* wnd, int nBar) {
    if (CScrollBar* control = wnd->GetScrollBarCtrl(nBar)) {
        return {control->GetSafeHwnd(), SB_CTL};
    }
    return {wnd->GetSafeHwnd(), nBar};
}

} // namespace

CScrollBar* CWnd::GetScrollBarCtrl(int) const {
    return nullptr;
}
BOOL CWnd::SetScrollInfo(int nBar, LPSCROLLINFO lpScrollInfo, BOOL bRedraw) {
    lpScrollInfo->cbSize = sizeof(SCROLLINFO);
    const auto [hwnd, bar] = ScrollTarget(this, nBar);
    ::SetScrollInfo(hwnd, bar, lpScrollInfo, bRedraw);
    return TRUE;
}
BOOL CWnd::GetScrollInfo(int nBar, LPSCROLLINFO lpScrollInfo, UINT nMask) {
    lpScrollInfo->cbSize = sizeof(SCROLLINFO);
    lpScrollInfo->fMask = nMask;
    const auto [hwnd, bar] = ScrollTarget(this, nBar);
    return ::GetScrollInfo(hwnd, bar, lpScrollInfo);
}
int CWnd::SetScrollPos(int nBar, int nPos, BOOL bRedraw) {
    const auto [hwnd, bar] = ScrollTarget(this, nBar);
    return ::SetScrollPos(hwnd, bar, nPos, bRedraw);
}
int CWnd::GetScrollPos(int nBar) const {
    const auto [hwnd, bar] = ScrollTarget(this, nBar);
    return ::GetScrollPos(hwnd, bar);
}
void CWnd::SetScrollRange(int nBar, int nMinPos, int nMaxPos, BOOL bRedraw) {
    const auto [hwnd, bar] = ScrollTarget(this, nBar);
    ::SetScrollRange(hwnd, bar, nMinPos, nMaxPos, bRedraw);
}
void CWnd::GetScrollRange(int nBar, LPINT lpMinPos, LPINT lpMaxPos) const {
    const auto [hwnd, bar] = ScrollTarget(this, nBar);
    ::GetScrollRange(hwnd, bar, lpMinPos, lpMaxPos);
}
int CWnd::GetScrollLimit(int nBar) {
    SCROLLINFO info{};
    if (!GetScrollInfo(nBar, &info, SIF_RANGE | SIF_PAGE)) {
        return 0;
    }
    int limit = info.nMax;
    if (info.nPage > 1) {
        limit -= static_cast<int>(info.nPage) - 1;
    }
    return limit;
}
void CWnd::ShowScrollBar(UINT nBar, BOOL bShow) {
    ::ShowScrollBar(m_hWnd, static_cast<int>(nBar), bShow);
}
BOOL CWnd::EnableScrollBar(int nSBFlags, UINT nArrowFlags) {
    return ::EnableScrollBar(m_hWnd, nSBFlags, nArrowFlags);
}
void CWnd::EnableScrollBarCtrl(int nBar, BOOL bEnable) {
    if (nBar == SB_BOTH) {
        EnableScrollBarCtrl(SB_HORZ, bEnable);
        EnableScrollBarCtrl(SB_VERT, bEnable);
        return;
    }
    if (CScrollBar* control = GetScrollBarCtrl(nBar)) {
        control->EnableWindow(bEnable);
        return;
    }
    ::ShowScrollBar(m_hWnd, nBar, bEnable);
}

// ---- Messages

LRESULT CWnd::SendMessageW(UINT message, WPARAM wParam, LPARAM lParam) const {
    return ::SendMessageW(m_hWnd, message, wParam, lParam);
}
BOOL CWnd::PostMessageW(UINT message, WPARAM wParam, LPARAM lParam) const {
    return ::PostMessageW(m_hWnd, message, wParam, lParam);
}
BOOL CWnd::SendNotifyMessageW(UINT message, WPARAM wParam, LPARAM lParam) const {
    return ::SendNotifyMessageW(m_hWnd, message, wParam, lParam);
}
void CWnd::SendMessageToDescendants(UINT message, WPARAM wParam, LPARAM lParam, BOOL bDeep, BOOL bOnlyPerm) {
    SendMessageToDescendants(m_hWnd, message, wParam, lParam, bDeep, bOnlyPerm);
}
void CWnd::SendMessageToDescendants(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam, BOOL bDeep,
                                    BOOL bOnlyPerm) {
    // Collect first: handlers may create or destroy children.
    std::vector<HWND> children;
    for (HWND hChild = ::GetTopWindow(hWnd); hChild; hChild = ::GetWindow(hChild, GW_HWNDNEXT)) {
        children.push_back(hChild);
    }
    for (HWND hChild : children) {
        if (!::IsWindow(hChild)) {
            continue;
        }
        if (bOnlyPerm) {
            if (CWnd* pWnd = FromHandlePermanent(hChild)) {
                AfxCallWndProc(pWnd, hChild, message, wParam, lParam);
            }
        } else {
            ::SendMessageW(hChild, message, wParam, lParam);
        }
        if (bDeep && ::IsWindow(hChild) && ::GetTopWindow(hChild)) {
            SendMessageToDescendants(hChild, message, wParam, lParam, bDeep, bOnlyPerm);
        }
    }
}

// ---- The tree

CWnd* CWnd::GetParent() const {
    return FromHandle(::GetParent(m_hWnd));
}
CWnd* CWnd::SetParent(CWnd* pWndNewParent) {
    return FromHandle(::SetParent(m_hWnd, SafeHwndOf(pWndNewParent)));
}
CWnd* CWnd::GetOwner() const {
    return m_hWndOwner ? FromHandle(m_hWndOwner) : GetParent();
}

CFrameWnd* CWnd::GetParentFrame() const {
    if (!m_hWnd) {
        return nullptr;
    }
    for (HWND h = ::GetParent(m_hWnd); h; h = ::GetParent(h)) {
        CWnd* pWnd = FromHandlePermanent(h);
        if (pWnd && pWnd->IsKindOf(RUNTIME_CLASS(CFrameWnd))) {
            return static_cast<CFrameWnd*>(pWnd);
        }
    }
    return nullptr;
}

// Up through the parents of children and the owners of the others, to the window that has neither.
CWnd* CWnd::GetTopLevelParent() const {
    if (!m_hWnd) {
        return nullptr;
    }
    HWND h = m_hWnd;
    for (;;) {
        HWND next = (::GetWindowLongW(h, GWL_STYLE) & WS_CHILD) ? ::GetParent(h) : ::GetWindow(h, GW_OWNER);
        if (!next) {
            return FromHandle(h);
        }
        h = next;
    }
}

CWnd* CWnd::GetTopLevelOwner() const {
    if (!m_hWnd) {
        return nullptr;
    }
    HWND h = m_hWnd;
    for (HWND owner; (owner = ::GetParent(h)) != nullptr;) {
        h = owner;
    }
    return FromHandle(h);
}

// The first window up the parent chain that is not a child; its owner is not followed.
CWnd* CWnd::GetParentOwner() const {
    if (!m_hWnd) {
        return nullptr;
    }
    HWND h = m_hWnd;
    for (HWND parent; (::GetWindowLongW(h, GWL_STYLE) & WS_CHILD) && (parent = ::GetParent(h)) != nullptr;) {
        h = parent;
    }
    return FromHandle(h);
}

CFrameWnd* CWnd::GetTopLevelFrame() const {
    if (!m_hWnd) {
        return nullptr;
    }
    CFrameWnd* pFrame = nullptr;
    if (IsKindOf(RUNTIME_CLASS(CFrameWnd))) {
        pFrame = const_cast<CFrameWnd*>(static_cast<const CFrameWnd*>(this));
    } else {
        pFrame = GetParentFrame();
    }
    while (pFrame) {
        CFrameWnd* pParent = pFrame->GetParentFrame();
        if (!pParent) {
            break;
        }
        pFrame = pParent;
    }
    return pFrame;
}

CWnd* CWnd::GetDlgItem(int nID) const {
    return FromHandle(::GetDlgItem(m_hWnd, nID));
}
void CWnd::GetDlgItem(int nID, HWND* phWnd) const {
    *phWnd = ::GetDlgItem(m_hWnd, nID);
}
int CWnd::GetDlgCtrlID() const {
    return ::GetDlgCtrlID(m_hWnd);
}
int CWnd::SetDlgCtrlID(int nID) {
    return static_cast<int>(::SetWindowLongW(m_hWnd, GWL_ID, nID));
}

CWnd* CWnd::GetDescendantWindow(int nID, BOOL bOnlyPerm) const {
    return GetDescendantWindow(m_hWnd, nID, bOnlyPerm);
}
CWnd* CWnd::GetDescendantWindow(HWND hWnd, int nID, BOOL bOnlyPerm) {
    if (HWND hChild = ::GetDlgItem(hWnd, nID)) {
        if (CWnd* pWnd = bOnlyPerm ? FromHandlePermanent(hChild) : FromHandle(hChild)) {
            return pWnd;
        }
    }
    for (HWND hChild = ::GetTopWindow(hWnd); hChild; hChild = ::GetWindow(hChild, GW_HWNDNEXT)) {
        if (CWnd* pWnd = GetDescendantWindow(hChild, nID, bOnlyPerm)) {
            return pWnd;
        }
    }
    return nullptr;
}

CWnd* CWnd::GetWindow(UINT nCmd) const {
    return FromHandle(::GetWindow(m_hWnd, nCmd));
}
CWnd* CWnd::GetTopWindow() const {
    return FromHandle(::GetTopWindow(m_hWnd));
}
CWnd* CWnd::GetLastActivePopup() const {
    return FromHandle(::GetLastActivePopup(m_hWnd));
}
BOOL CWnd::IsChild(const CWnd* pWnd) const {
    return ::IsChild(m_hWnd, SafeHwndOf(pWnd));
}
CWnd* CWnd::ChildWindowFromPoint(POINT point) const {
    return FromHandle(::ChildWindowFromPoint(m_hWnd, point));
}
CWnd* CWnd::WindowFromPoint(POINT point) {
    return FromHandle(::WindowFromPoint(point));
}
CWnd* CWnd::FindWindowW(LPCTSTR lpszClassName, LPCTSTR lpszWindowName) {
    return FromHandle(::FindWindowW(lpszClassName, lpszWindowName));
}
CWnd* CWnd::GetDesktopWindow() {
    return FromHandle(::GetDesktopWindow());
}
CMenu* CWnd::GetMenu() const {
    return CMenu::FromHandle(::GetMenu(m_hWnd));
}
CMenu* CWnd::GetSystemMenu(BOOL bRevert) const {
    return CMenu::FromHandle(::GetSystemMenu(m_hWnd, bRevert));
}
BOOL CWnd::SetMenu(CMenu* pMenu) {
    return ::SetMenu(m_hWnd, CMenu::SafeHmenuOf(pMenu));
}
void CWnd::DrawMenuBar() {
    ::DrawMenuBar(m_hWnd);
}

// ---- Dialog items

LRESULT CWnd::SendDlgItemMessageW(int nID, UINT message, WPARAM wParam, LPARAM lParam) const {
    HWND hItem = ::GetDlgItem(m_hWnd, nID);
    return hItem ? ::SendMessageW(hItem, message, wParam, lParam) : 0;
}
void CWnd::SetDlgItemTextW(int nID, LPCTSTR lpszString) {
    if (HWND hItem = ::GetDlgItem(m_hWnd, nID)) {
        ::SetWindowTextW(hItem, lpszString);
    }
}
int CWnd::GetDlgItemTextW(int nID, LPTSTR lpStr, int nMaxCount) const {
    HWND hItem = ::GetDlgItem(m_hWnd, nID);
    if (!hItem) {
        if (lpStr && nMaxCount > 0) {
            lpStr[0] = 0;
        }
        return 0;
    }
    return ::GetWindowTextW(hItem, lpStr, nMaxCount);
}
int CWnd::GetDlgItemTextW(int nID, CString& rString) const {
    rString.Empty();
    HWND hItem = ::GetDlgItem(m_hWnd, nID);
    if (!hItem) {
        return 0;
    }
    int length = ::GetWindowTextLengthW(hItem);
    ::GetWindowTextW(hItem, rString.GetBufferSetLength(length), length + 1);
    rString.ReleaseBuffer();
    return rString.GetLength();
}
void CWnd::SetDlgItemInt(int nID, UINT nValue, BOOL bSigned) {
    CString text;
    if (bSigned) {
        text.Format(u"%d", static_cast<int>(nValue));
    } else {
        text.Format(u"%u", nValue);
    }
    SetDlgItemTextW(nID, text);
}
UINT CWnd::GetDlgItemInt(int nID, BOOL* lpTrans, BOOL bSigned) const {
    CString text;
    GetDlgItemTextW(nID, text);
    text.Trim();
    std::string narrow;
    for (int i = 0; i < text.GetLength(); ++i) {
        narrow.push_back(static_cast<char>(text[i] < 128 ? text[i] : '?'));
    }
    char* end = nullptr;
    long long value = narrow.empty() ? 0 : std::strtoll(narrow.c_str(), &end, 10);
    bool ok = !narrow.empty() && end && *end == 0 && (bSigned || value >= 0) && value >= INT32_MIN &&
              value <= (bSigned ? INT32_MAX : static_cast<long long>(UINT32_MAX));
    if (lpTrans) {
        *lpTrans = ok ? TRUE : FALSE;
    }
    return ok ? static_cast<UINT>(value) : 0;
}
void CWnd::CheckDlgButton(int nIDButton, UINT nCheck) {
    SendDlgItemMessageW(nIDButton, BM_SETCHECK, nCheck);
}
UINT CWnd::IsDlgButtonChecked(int nIDButton) const {
    return static_cast<UINT>(SendDlgItemMessageW(nIDButton, BM_GETCHECK));
}
void CWnd::CheckRadioButton(int nIDFirstButton, int nIDLastButton, int nIDCheckButton) {
    for (int id = nIDFirstButton; id <= nIDLastButton; ++id) {
        CheckDlgButton(id, id == nIDCheckButton ? 1u : 0u);
    }
}

// ---- Help and boxes

int CWnd::MessageBoxW(LPCTSTR lpszText, LPCTSTR lpszCaption, UINT nType) {
    if (!lpszCaption) {
        CWinApp* pApp = AfxGetApp();
        lpszCaption = pApp && pApp->m_pszAppName ? pApp->m_pszAppName : u"";
    }
    return ::MessageBoxW(m_hWnd, lpszText, lpszCaption, nType);
}

void CWnd::WinHelp(DWORD_PTR dwData, UINT nCmd) {
    if (CWinApp* pApp = AfxGetApp()) {
        pApp->WinHelp(dwData, nCmd);
    }
}
