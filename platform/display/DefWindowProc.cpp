// The default window procedure.
#include "platform/display/DisplayInternal.h"

#include "platform/gdi/Gdi.h"

#include <algorithm>

namespace display_detail {
namespace {

bool IsChildWindow(HWND hwnd, HWND* parent) {
    Lock lock = LockState();
    Window* w = FindQuietLocked(hwnd);
    if (!w || !(w->style & WS_CHILD) || w->parent == G().desktop) {
        return false;
    }
    if (parent) {
        *parent = w->parent;
    }
    return true;
}

thread_local bool t_altAlone = false;

bool IsButtonDownMessage(UINT msg) {
    return msg == WM_LBUTTONDOWN || msg == WM_RBUTTONDOWN || msg == WM_MBUTTONDOWN || msg == WM_XBUTTONDOWN;
}

HWND TopOf(HWND hwnd) {
    return GetAncestor(hwnd, GA_ROOT);
}

POINT PointFromLParam(LPARAM lParam) {
    return POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
}

LRESULT SetCursorDefault(HWND hwnd, WPARAM wParam, LPARAM lParam) {
    HWND parent = nullptr;
    if (IsChildWindow(hwnd, &parent) && SendMessageW(parent, WM_SETCURSOR, wParam, lParam)) {
        return TRUE;
    }
    int hit = static_cast<short>(LOWORD(lParam));
    UINT mouse = HIWORD(lParam);
    LPCWSTR shape = IDC_ARROW;
    switch (hit) {
    case HTCLIENT: {
        HCURSOR cursor = reinterpret_cast<HCURSOR>(GetClassLongPtrW(hwnd, GCLP_HCURSOR));
        if (!cursor) {
            return FALSE;
        }
        SetCursor(cursor);
        return TRUE;
    }
    case HTERROR:
        if (IsButtonDownMessage(mouse)) {
            MessageBeep(0);
        }
        break;
    case HTLEFT:
    case HTRIGHT:
        shape = IDC_SIZEWE;
        break;
    case HTTOP:
    case HTBOTTOM:
        shape = IDC_SIZENS;
        break;
    case HTTOPLEFT:
    case HTBOTTOMRIGHT:
    case HTSIZE:
        shape = IDC_SIZENWSE;
        break;
    case HTTOPRIGHT:
    case HTBOTTOMLEFT:
        shape = IDC_SIZENESW;
        break;
    default:
        break;
    }
    SetCursor(LoadCursorW(nullptr, shape));
    return TRUE;
}

void MoveSizeLoop(HWND hwnd, WPARAM cmd, POINT start) {
    int hit = HTCAPTION;
    UINT edge = static_cast<UINT>(cmd & 0x0F);
    if ((cmd & 0xFFF0) == SC_SIZE) {
        if (edge < WMSZ_LEFT || edge > WMSZ_BOTTOMRIGHT) {
            return;
        }
        hit = static_cast<int>(edge) + HTLEFT - WMSZ_LEFT;
    }
    if (IsZoomed(hwnd) || IsIconic(hwnd)) {
        return;
    }
    if (Backend().BeginMoveSize(hwnd, hit)) {
        return;
    }
    RECT orig{};
    GetWindowRect(hwnd, &orig);
    HWND parent = nullptr;
    bool child = IsChildWindow(hwnd, &parent);
    if (child) {
        MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&orig), 2);
    }
    int minX = GetSystemMetrics(SM_CXMINTRACK);
    int minY = GetSystemMetrics(SM_CYMINTRACK);
    SendMessageW(hwnd, WM_ENTERSIZEMOVE, 0, 0);
    SetCapture(hwnd);
    while (GetCapture() == hwnd) {
        MSG msg{};
        if (!GetMessageW(&msg, nullptr, 0, 0)) {
            PostQuitMessage(static_cast<int>(msg.wParam));
            break;
        }
        if (msg.message == WM_LBUTTONUP) {
            break;
        }
        if (msg.message == WM_KEYDOWN && msg.wParam == VK_ESCAPE) {
            SetWindowPos(hwnd, nullptr, orig.left, orig.top, orig.right - orig.left, orig.bottom - orig.top,
                         SWP_NOZORDER | SWP_NOACTIVATE);
            break;
        }
        if (msg.message == WM_MOUSEMOVE) {
            int dx = msg.pt.x - start.x;
            int dy = msg.pt.y - start.y;
            RECT rc = orig;
            if (hit == HTCAPTION) {
                OffsetRect(&rc, dx, dy);
                SendMessageW(hwnd, WM_MOVING, 0, reinterpret_cast<LPARAM>(&rc));
            } else {
                if (hit == HTLEFT || hit == HTTOPLEFT || hit == HTBOTTOMLEFT) {
                    rc.left = std::min<LONG>(rc.left + dx, rc.right - minX);
                }
                if (hit == HTRIGHT || hit == HTTOPRIGHT || hit == HTBOTTOMRIGHT) {
                    rc.right = std::max<LONG>(rc.right + dx, rc.left + minX);
                }
                if (hit == HTTOP || hit == HTTOPLEFT || hit == HTTOPRIGHT) {
                    rc.top = std::min<LONG>(rc.top + dy, rc.bottom - minY);
                }
                if (hit == HTBOTTOM || hit == HTBOTTOMLEFT || hit == HTBOTTOMRIGHT) {
                    rc.bottom = std::max<LONG>(rc.bottom + dy, rc.top + minY);
                }
                SendMessageW(hwnd, WM_SIZING, edge, reinterpret_cast<LPARAM>(&rc));
            }
            SetWindowPos(hwnd, nullptr, rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top,
                         SWP_NOZORDER | SWP_NOACTIVATE);
            UpdateWindow(hwnd);
            continue;
        }
        if (msg.message >= WM_MOUSEFIRST && msg.message <= WM_MOUSELAST) {
            continue;
        }
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    if (GetCapture() == hwnd) {
        ReleaseCapture();
    }
    SendMessageW(hwnd, WM_EXITSIZEMOVE, 0, 0);
}

void TrackCaptionButton(HWND hwnd, int hit) {
    bool noClose = (GetClassLongW(hwnd, GCL_STYLE) & CS_NOCLOSE) != 0;
    DWORD style = static_cast<DWORD>(GetWindowLongW(hwnd, GWL_STYLE));
    if ((hit == HTCLOSE && noClose) || (hit == HTMAXBUTTON && !(style & WS_MAXIMIZEBOX)) ||
        (hit == HTMINBUTTON && !(style & WS_MINIMIZEBOX))) {
        return;
    }
    SetCapture(hwnd);
    bool over = true;
    DrawNonClient(hwnd, hit);
    POINT last{};
    bool released = false;
    while (GetCapture() == hwnd) {
        MSG msg{};
        if (!GetMessageW(&msg, nullptr, 0, 0)) {
            PostQuitMessage(static_cast<int>(msg.wParam));
            break;
        }
        if (msg.message == WM_LBUTTONUP) {
            last = msg.pt;
            released = true;
            break;
        }
        if (msg.message == WM_MOUSEMOVE) {
            bool now = DefNcHitTest(hwnd, msg.pt) == hit;
            if (now != over) {
                over = now;
                DrawNonClient(hwnd, over ? hit : 0);
            }
            continue;
        }
        if (msg.message >= WM_MOUSEFIRST && msg.message <= WM_MOUSELAST) {
            continue;
        }
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    if (GetCapture() == hwnd) {
        ReleaseCapture();
    }
    if (!IsWindow(hwnd)) {
        return;
    }
    DrawNonClient(hwnd, 0);
    if (released && DefNcHitTest(hwnd, last) == hit) {
        WPARAM cmd = SC_CLOSE;
        if (hit == HTMAXBUTTON) {
            cmd = IsZoomed(hwnd) ? SC_RESTORE : SC_MAXIMIZE;
        } else if (hit == HTMINBUTTON) {
            cmd = IsIconic(hwnd) ? SC_RESTORE : SC_MINIMIZE;
        }
        SendMessageW(hwnd, WM_SYSCOMMAND, cmd, MAKELPARAM(last.x, last.y));
    }
}

LRESULT SysCommand(HWND hwnd, WPARAM wParam, LPARAM lParam) {
    if (HasHooks(WH_CBT) && CallHooks(WH_CBT, HCBT_SYSCOMMAND, wParam, lParam)) {
        return 0;
    }
    switch (wParam & 0xFFF0) {
    case SC_MOVE:
    case SC_SIZE:
        MoveSizeLoop(hwnd, wParam, PointFromLParam(lParam));
        break;
    case SC_MINIMIZE:
        ShowWindow(hwnd, SW_MINIMIZE);
        break;
    case SC_MAXIMIZE:
        ShowWindow(hwnd, SW_MAXIMIZE);
        break;
    case SC_RESTORE:
        ShowWindow(hwnd, SW_RESTORE);
        break;
    case SC_CLOSE:
        SendMessageW(hwnd, WM_CLOSE, 0, 0);
        break;
    case SC_VSCROLL:
    case SC_HSCROLL:
        ScrollBarTrack(hwnd, (wParam & 0xFFF0) == SC_VSCROLL ? SB_VERT : SB_HORZ, PointFromLParam(lParam));
        break;
    case SC_KEYMENU:
    case SC_MOUSEMENU:
        MenuSysCommand(hwnd, wParam, lParam);
        break;
    default:
        break;
    }
    return 0;
}

LRESULT CtlColor(UINT msg, HDC dc) {
    int back = (msg == WM_CTLCOLOREDIT || msg == WM_CTLCOLORLISTBOX) ? COLOR_WINDOW : COLOR_3DFACE;
    SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
    SetBkColor(dc, GetSysColor(back));
    return reinterpret_cast<LRESULT>(GetSysColorBrush(back));
}

} // namespace
} // namespace display_detail

using namespace display_detail;

LRESULT DefWindowProcW(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_NCCREATE: {
        auto* cs = reinterpret_cast<CREATESTRUCTW*>(lParam);
        if (cs && cs->lpszName && !IS_INTRESOURCE(cs->lpszName) && cs->lpszName[0] != 0xFFFF) {
            Lock lock = LockState();
            if (Window* w = FindQuietLocked(hwnd)) {
                w->text = cs->lpszName;
            }
        }
        return TRUE;
    }
    case WM_NCCALCSIZE: {
        DWORD style = 0;
        DWORD exStyle = 0;
        bool minimized = false;
        {
            Lock lock = LockState();
            Window* w = FindQuietLocked(hwnd);
            if (!w) {
                return 0;
            }
            style = w->style;
            exStyle = w->exStyle;
            minimized = w->minimized;
        }
        RECT* rc =
            wParam ? &reinterpret_cast<NCCALCSIZE_PARAMS*>(lParam)->rgrc[0] : reinterpret_cast<RECT*>(lParam);
        if (!rc) {
            return 0;
        }
        int menu = MenuBarHeight(hwnd, rc->right - rc->left);
        *rc = CalcClientFromWindow(style, exStyle, menu, *rc, minimized);
        return 0;
    }
    case WM_NCHITTEST:
        return DefNcHitTest(hwnd, PointFromLParam(lParam));
    case WM_NCPAINT:
        DefNcPaint(hwnd, reinterpret_cast<HRGN>(wParam));
        return 0;
    case WM_NCACTIVATE: {
        {
            Lock lock = LockState();
            if (Window* w = FindQuietLocked(hwnd)) {
                w->ncActive = wParam != 0;
            }
        }
        if (IsWindowVisible(hwnd)) {
            DrawNonClient(hwnd, 0);
        }
        return TRUE;
    }
    case WM_SETTEXT: {
        bool topLevel = false;
        bool caption = false;
        std::u16string text;
        {
            Lock lock = LockState();
            Window* w = FindQuietLocked(hwnd);
            if (!w) {
                return FALSE;
            }
            auto* s = reinterpret_cast<LPCWSTR>(lParam);
            w->text = s ? std::u16string(s) : std::u16string();
            text = w->text;
            topLevel = IsTopLevelLocked(*w) && !w->isMessageOnly;
            caption = (w->style & WS_CAPTION) == WS_CAPTION;
        }
        if (topLevel) {
            Backend().WindowTextChanged(hwnd, text);
            RendezvousUpdate();
        }
        if (caption && IsWindowVisible(hwnd)) {
            DrawNonClient(hwnd, 0);
        }
        return TRUE;
    }
    case WM_GETTEXT: {
        Lock lock = LockState();
        Window* w = FindQuietLocked(hwnd);
        if (!w) {
            return 0;
        }
        return CopyText(w->text, reinterpret_cast<LPWSTR>(lParam), static_cast<int>(wParam));
    }
    case WM_GETTEXTLENGTH: {
        Lock lock = LockState();
        Window* w = FindQuietLocked(hwnd);
        return w ? static_cast<LRESULT>(w->text.size()) : 0;
    }
    case WM_PAINT: {
        PAINTSTRUCT ps{};
        BeginPaint(hwnd, &ps);
        EndPaint(hwnd, &ps);
        return 0;
    }
    case WM_ERASEBKGND: {
        HBRUSH brush = reinterpret_cast<HBRUSH>(GetClassLongPtrW(hwnd, GCLP_HBRBACKGROUND));
        if (!brush) {
            return 0;
        }
        RECT rc{};
        GetClientRect(hwnd, &rc);
        FillRect(reinterpret_cast<HDC>(wParam), &rc, brush);
        return 1;
    }
    case WM_CLOSE:
        DestroyWindow(hwnd);
        return 0;
    case WM_SYSCOMMAND:
        return SysCommand(hwnd, wParam, lParam);
    case WM_NCLBUTTONDOWN:
        switch (static_cast<int>(wParam)) {
        case HTCAPTION:
            SendMessageW(hwnd, WM_SYSCOMMAND, SC_MOVE + HTCAPTION, lParam);
            break;
        case HTLEFT:
        case HTRIGHT:
        case HTTOP:
        case HTTOPLEFT:
        case HTTOPRIGHT:
        case HTBOTTOM:
        case HTBOTTOMLEFT:
        case HTBOTTOMRIGHT:
            SendMessageW(hwnd, WM_SYSCOMMAND, SC_SIZE + (wParam - (HTLEFT - WMSZ_LEFT)), lParam);
            break;
        case HTVSCROLL:
            SendMessageW(hwnd, WM_SYSCOMMAND, SC_VSCROLL + HTVSCROLL, lParam);
            break;
        case HTHSCROLL:
            SendMessageW(hwnd, WM_SYSCOMMAND, SC_HSCROLL + HTHSCROLL, lParam);
            break;
        case HTCLOSE:
        case HTMINBUTTON:
        case HTMAXBUTTON:
            TrackCaptionButton(hwnd, static_cast<int>(wParam));
            break;
        case HTSYSMENU:
        case HTMENU:
            SendMessageW(hwnd, WM_SYSCOMMAND, SC_MOUSEMENU + static_cast<WPARAM>(wParam), lParam);
            break;
        default:
            break;
        }
        return 0;
    case WM_NCLBUTTONDBLCLK:
        if (wParam == HTCAPTION) {
            DWORD style = static_cast<DWORD>(GetWindowLongW(hwnd, GWL_STYLE));
            if (IsIconic(hwnd) || IsZoomed(hwnd)) {
                SendMessageW(hwnd, WM_SYSCOMMAND, SC_RESTORE, lParam);
            } else if (style & WS_MAXIMIZEBOX) {
                SendMessageW(hwnd, WM_SYSCOMMAND, SC_MAXIMIZE, lParam);
            }
        } else if (wParam == HTSYSMENU) {
            if (!(GetClassLongW(hwnd, GCL_STYLE) & CS_NOCLOSE)) {
                SendMessageW(hwnd, WM_SYSCOMMAND, SC_CLOSE, lParam);
            }
        } else if (wParam == HTVSCROLL || wParam == HTHSCROLL) {
            return DefWindowProcW(hwnd, WM_NCLBUTTONDOWN, wParam, lParam);
        }
        return 0;
    case WM_NCRBUTTONUP:
        SendMessageW(hwnd, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(hwnd), lParam);
        return 0;
    case WM_RBUTTONUP: {
        POINT pt = PointFromLParam(lParam);
        ClientToScreen(hwnd, &pt);
        SendMessageW(hwnd, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(hwnd), MAKELPARAM(pt.x, pt.y));
        return 0;
    }
    case WM_CONTEXTMENU:
    case WM_MOUSEWHEEL:
    case WM_MOUSEHWHEEL:
    case WM_HELP:
    case WM_APPCOMMAND: {
        HWND parent = nullptr;
        if (IsChildWindow(hwnd, &parent)) {
            return SendMessageW(parent, msg, wParam, lParam);
        }
        return 0;
    }
    case WM_KEYUP:
        if (wParam == VK_APPS) {
            SendMessageW(hwnd, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(hwnd), static_cast<LPARAM>(-1));
        }
        return 0;
    case WM_SYSKEYDOWN:
        // Alt pressed and released with no key between enters the menu bar.
        if (wParam == VK_MENU) {
            t_altAlone = t_altAlone || !(lParam & (1 << 30));
        } else {
            t_altAlone = false;
        }
        if (wParam == VK_F4 && (lParam & (1 << 29))) {
            HWND top = TopOf(hwnd);
            if (top && !(GetClassLongW(top, GCL_STYLE) & CS_NOCLOSE)) {
                PostMessageW(top, WM_SYSCOMMAND, SC_CLOSE, 0);
            }
        } else if (wParam == VK_F10 && (GetKeyState(VK_SHIFT) & 0x8000)) {
            SendMessageW(hwnd, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(hwnd), static_cast<LPARAM>(-1));
        }
        return 0;
    case WM_SYSKEYUP:
        if (wParam == VK_MENU && t_altAlone) {
            t_altAlone = false;
            SendMessageW(TopOf(hwnd), WM_SYSCOMMAND, SC_KEYMENU, 0);
        } else if (wParam == VK_F10 && !(GetKeyState(VK_SHIFT) & 0x8000)) {
            SendMessageW(TopOf(hwnd), WM_SYSCOMMAND, SC_KEYMENU, 0);
        }
        return 0;
    case WM_SYSCHAR:
        if (wParam == VK_RETURN && IsIconic(hwnd)) {
            PostMessageW(hwnd, WM_SYSCOMMAND, SC_RESTORE, 0);
        } else if ((lParam & (1 << 29)) && wParam != VK_TAB && wParam != VK_ESCAPE) {
            SendMessageW(TopOf(hwnd), WM_SYSCOMMAND, SC_KEYMENU, wParam);
        }
        return 0;
    case WM_SETCURSOR:
        return SetCursorDefault(hwnd, wParam, lParam);
    case WM_MOUSEACTIVATE: {
        HWND parent = nullptr;
        if (IsChildWindow(hwnd, &parent)) {
            if (LRESULT r = SendMessageW(parent, WM_MOUSEACTIVATE, wParam, lParam)) {
                return r;
            }
        }
        return MA_ACTIVATE;
    }
    case WM_ACTIVATE:
        if (LOWORD(wParam) != WA_INACTIVE && !HIWORD(wParam)) {
            SetFocus(hwnd);
        }
        return 0;
    case WM_WINDOWPOSCHANGING: {
        auto* wp = reinterpret_cast<WINDOWPOS*>(lParam);
        DWORD style = static_cast<DWORD>(GetWindowLongW(hwnd, GWL_STYLE));
        if (wp && !(wp->flags & SWP_NOSIZE) && !(wp->flags & SWP_STATECHANGED) && !IsIconic(hwnd) &&
            !IsZoomed(hwnd) && ((style & WS_THICKFRAME) || !(style & (WS_POPUP | WS_CHILD)))) {
            MINMAXINFO mmi{};
            mmi.ptMinTrackSize = POINT{GetSystemMetrics(SM_CXMINTRACK), GetSystemMetrics(SM_CYMINTRACK)};
            mmi.ptMaxTrackSize = POINT{GetSystemMetrics(SM_CXMAXTRACK), GetSystemMetrics(SM_CYMAXTRACK)};
            SIZE screen = Backend().ScreenSize();
            mmi.ptMaxSize = POINT{screen.cx, screen.cy};
            SendMessageW(hwnd, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&mmi));
            if (style & WS_THICKFRAME) {
                wp->cx = std::max<int>(wp->cx, mmi.ptMinTrackSize.x);
                wp->cy = std::max<int>(wp->cy, mmi.ptMinTrackSize.y);
            }
            wp->cx = std::min<int>(wp->cx, mmi.ptMaxTrackSize.x);
            wp->cy = std::min<int>(wp->cy, mmi.ptMaxTrackSize.y);
        }
        return 0;
    }
    case WM_WINDOWPOSCHANGED: {
        auto* wp = reinterpret_cast<WINDOWPOS*>(lParam);
        if (!wp) {
            return 0;
        }
        RECT client{};
        WPARAM type = SIZE_RESTORED;
        {
            Lock lock = LockState();
            Window* w = FindQuietLocked(hwnd);
            if (!w) {
                return 0;
            }
            client = w->rcClient;
            type = w->minimized ? SIZE_MINIMIZED : (w->maximized ? SIZE_MAXIMIZED : SIZE_RESTORED);
        }
        if (!(wp->flags & SWP_NOCLIENTMOVE)) {
            SendMessageW(hwnd, WM_MOVE, 0, MAKELPARAM(client.left, client.top));
        }
        if (!(wp->flags & SWP_NOCLIENTSIZE) || (wp->flags & SWP_STATECHANGED)) {
            SendMessageW(hwnd, WM_SIZE, type,
                         MAKELPARAM(client.right - client.left, client.bottom - client.top));
        }
        return 0;
    }
    case WM_CANCELMODE:
        if (GetCapture() == hwnd) {
            ReleaseCapture();
        }
        return 0;
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
        return CtlColor(msg, reinterpret_cast<HDC>(wParam));
    case WM_SETREDRAW: {
        if (!wParam) {
            RedrawWindow(hwnd, nullptr, nullptr, RDW_ALLCHILDREN | RDW_VALIDATE);
        }
        Lock lock = LockState();
        if (Window* w = FindQuietLocked(hwnd)) {
            if (wParam) {
                w->style |= WS_VISIBLE;
            } else {
                w->style &= ~static_cast<DWORD>(WS_VISIBLE);
            }
        }
        return 0;
    }
    case WM_GETICON: {
        Lock lock = LockState();
        Window* w = FindQuietLocked(hwnd);
        if (!w) {
            return 0;
        }
        if (wParam == ICON_BIG) {
            return reinterpret_cast<LRESULT>(w->iconBig);
        }
        if (wParam == ICON_SMALL) {
            return reinterpret_cast<LRESULT>(w->iconSmall);
        }
        return reinterpret_cast<LRESULT>(w->iconSmall ? w->iconSmall : w->cls->iconSmall);
    }
    case WM_SETICON: {
        HICON old = nullptr;
        {
            Lock lock = LockState();
            Window* w = FindQuietLocked(hwnd);
            if (!w) {
                return 0;
            }
            HICON& slot = wParam == ICON_BIG ? w->iconBig : w->iconSmall;
            old = slot;
            slot = reinterpret_cast<HICON>(lParam);
        }
        if (IsWindowVisible(hwnd)) {
            DrawNonClient(hwnd, 0);
        }
        return reinterpret_cast<LRESULT>(old);
    }
    case WM_QUERYDRAGICON:
        return static_cast<LRESULT>(GetClassLongPtrW(hwnd, GCLP_HICON));
    case WM_QUERYOPEN:
    case WM_QUERYENDSESSION:
        return TRUE;
    case WM_NOTIFYFORMAT:
        return 2; // NFR_UNICODE
    case WM_PRINT: {
        HDC dc = reinterpret_cast<HDC>(wParam);
        if ((lParam & PRF_CHECKVISIBLE) && !IsWindowVisible(hwnd)) {
            return 0;
        }
        if (lParam & PRF_ERASEBKGND) {
            SendMessageW(hwnd, WM_ERASEBKGND, wParam, 0);
        }
        if (lParam & PRF_CLIENT) {
            SendMessageW(hwnd, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), lParam);
        }
        return 0;
    }
    case WM_SYSTIMER:
        HandleSystemTimer(hwnd, wParam);
        return 0;
    default:
        return 0;
    }
}
