// The default window procedure.
#include "platform/display/DisplayInternal.h"

#include "platform/gdi/Gdi.h"

#include <algorithm>
#include <optional>
#include <utility>

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

// Reads the window's record under the state lock; `missing` when the window is gone.
template <typename R, typename Read>
R WithWindow(HWND hwnd, R missing, Read&& read) {
    Lock lock = LockState();
    Window* w = FindQuietLocked(hwnd);
    return w ? read(*w) : missing;
}

// The window keeps the name it was created with.
LRESULT OnNcCreate(HWND hwnd, const CREATESTRUCTW* cs) {
    if (cs && cs->lpszName && !IS_INTRESOURCE(cs->lpszName) && cs->lpszName[0] != 0xFFFF) {
        WithWindow(hwnd, 0, [cs](Window& w) {
            w.text = cs->lpszName;
            return 0;
        });
    }
    return TRUE;
}

// The client area is what the frame, caption, menu bar and scroll bars leave of the window.
LRESULT OnNcCalcSize(HWND hwnd, WPARAM wParam, LPARAM lParam) {
    struct Frame {
        DWORD style = 0;
        DWORD exStyle = 0;
        bool minimized = false;
    };
    std::optional<Frame> frame = WithWindow(hwnd, std::optional<Frame>(), [](Window& w) {
        return std::optional<Frame>(Frame{w.style, w.exStyle, w.minimized});
    });
    RECT* rc =
        wParam ? &reinterpret_cast<NCCALCSIZE_PARAMS*>(lParam)->rgrc[0] : reinterpret_cast<RECT*>(lParam);
    if (!frame || !rc) {
        return 0;
    }
    int menu = MenuBarHeight(hwnd, rc->right - rc->left);
    *rc = CalcClientFromWindow(frame->style, frame->exStyle, menu, *rc, frame->minimized);
    return 0;
}

LRESULT OnNcActivate(HWND hwnd, bool active) {
    WithWindow(hwnd, 0, [active](Window& w) {
        w.ncActive = active;
        return 0;
    });
    if (IsWindowVisible(hwnd)) {
        DrawNonClient(hwnd, 0);
    }
    return TRUE;
}

// A top-level window's title goes to the desktop too; a caption shows it.
LRESULT OnSetText(HWND hwnd, LPCWSTR text) {
    bool topLevel = false;
    bool caption = false;
    std::u16string title;
    {
        Lock lock = LockState();
        Window* w = FindQuietLocked(hwnd);
        if (!w) {
            return FALSE;
        }
        w->text = text ? std::u16string(text) : std::u16string();
        title = w->text;
        topLevel = IsTopLevelLocked(*w) && !w->isMessageOnly;
        caption = (w->style & WS_CAPTION) == WS_CAPTION;
    }
    if (topLevel) {
        Backend().WindowTextChanged(hwnd, title);
        RendezvousUpdate();
    }
    if (caption && IsWindowVisible(hwnd)) {
        DrawNonClient(hwnd, 0);
    }
    return TRUE;
}

LRESULT OnPaint(HWND hwnd) {
    PAINTSTRUCT ps{};
    BeginPaint(hwnd, &ps);
    EndPaint(hwnd, &ps);
    return 0;
}

// The class's background brush, if it has one.
LRESULT OnEraseBackground(HWND hwnd, HDC dc) {
    HBRUSH brush = reinterpret_cast<HBRUSH>(GetClassLongPtrW(hwnd, GCLP_HBRBACKGROUND));
    if (!brush) {
        return 0;
    }
    RECT rc{};
    GetClientRect(hwnd, &rc);
    FillRect(dc, &rc, brush);
    return 1;
}

// A press on the frame moves or sizes the window, on a scroll bar scrolls, on a caption button tracks it, on
// the system menu or menu bar opens the menu.
LRESULT OnNcLButtonDown(HWND hwnd, WPARAM hit, LPARAM lParam) {
    switch (static_cast<int>(hit)) {
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
        SendMessageW(hwnd, WM_SYSCOMMAND, SC_SIZE + (hit - (HTLEFT - WMSZ_LEFT)), lParam);
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
        TrackCaptionButton(hwnd, static_cast<int>(hit));
        break;
    case HTSYSMENU:
    case HTMENU:
        SendMessageW(hwnd, WM_SYSCOMMAND, SC_MOUSEMENU + static_cast<WPARAM>(hit), lParam);
        break;
    default:
        break;
    }
    return 0;
}

// A double click on the caption maximizes or restores; on the system menu it closes.
LRESULT OnNcLButtonDblClk(HWND hwnd, WPARAM hit, LPARAM lParam) {
    if (hit == HTCAPTION) {
        DWORD style = static_cast<DWORD>(GetWindowLongW(hwnd, GWL_STYLE));
        if (IsIconic(hwnd) || IsZoomed(hwnd)) {
            SendMessageW(hwnd, WM_SYSCOMMAND, SC_RESTORE, lParam);
        } else if (style & WS_MAXIMIZEBOX) {
            SendMessageW(hwnd, WM_SYSCOMMAND, SC_MAXIMIZE, lParam);
        }
    } else if (hit == HTSYSMENU) {
        if (!(GetClassLongW(hwnd, GCL_STYLE) & CS_NOCLOSE)) {
            SendMessageW(hwnd, WM_SYSCOMMAND, SC_CLOSE, lParam);
        }
    } else if (hit == HTVSCROLL || hit == HTHSCROLL) {
        return OnNcLButtonDown(hwnd, hit, lParam);
    }
    return 0;
}

LRESULT OnRButtonUp(HWND hwnd, LPARAM lParam) {
    POINT pt = PointFromLParam(lParam);
    ClientToScreen(hwnd, &pt);
    SendMessageW(hwnd, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(hwnd), MAKELPARAM(pt.x, pt.y));
    return 0;
}

// A child passes the message on to its parent.
LRESULT ToParent(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    HWND parent = nullptr;
    if (IsChildWindow(hwnd, &parent)) {
        return SendMessageW(parent, msg, wParam, lParam);
    }
    return 0;
}

void ContextMenuFromKeyboard(HWND hwnd) {
    SendMessageW(hwnd, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(hwnd), static_cast<LPARAM>(-1));
}

// Alt+F4 closes the top-level window, Shift+F10 asks for the context menu; Alt pressed and released with no
// key between enters the menu bar.
LRESULT OnSysKeyDown(HWND hwnd, WPARAM key, LPARAM lParam) {
    if (key == VK_MENU) {
        t_altAlone = t_altAlone || !(lParam & (1 << 30));
    } else {
        t_altAlone = false;
    }
    if (key == VK_F4 && (lParam & (1 << 29))) {
        HWND top = TopOf(hwnd);
        if (top && !(GetClassLongW(top, GCL_STYLE) & CS_NOCLOSE)) {
            PostMessageW(top, WM_SYSCOMMAND, SC_CLOSE, 0);
        }
    } else if (key == VK_F10 && (GetKeyState(VK_SHIFT) & 0x8000)) {
        ContextMenuFromKeyboard(hwnd);
    }
    return 0;
}

LRESULT OnSysKeyUp(HWND hwnd, WPARAM key) {
    if (key == VK_MENU && t_altAlone) {
        t_altAlone = false;
        SendMessageW(TopOf(hwnd), WM_SYSCOMMAND, SC_KEYMENU, 0);
    } else if (key == VK_F10 && !(GetKeyState(VK_SHIFT) & 0x8000)) {
        SendMessageW(TopOf(hwnd), WM_SYSCOMMAND, SC_KEYMENU, 0);
    }
    return 0;
}

// Enter restores a minimized window; Alt with a character opens the menu with that mnemonic.
LRESULT OnSysChar(HWND hwnd, WPARAM ch, LPARAM lParam) {
    if (ch == VK_RETURN && IsIconic(hwnd)) {
        PostMessageW(hwnd, WM_SYSCOMMAND, SC_RESTORE, 0);
    } else if ((lParam & (1 << 29)) && ch != VK_TAB && ch != VK_ESCAPE) {
        SendMessageW(TopOf(hwnd), WM_SYSCOMMAND, SC_KEYMENU, ch);
    }
    return 0;
}

// A child's parent may answer first.
LRESULT OnMouseActivate(HWND hwnd, WPARAM wParam, LPARAM lParam) {
    if (LRESULT r = ToParent(hwnd, WM_MOUSEACTIVATE, wParam, lParam)) {
        return r;
    }
    return MA_ACTIVATE;
}

// A size change within the tracking limits the window reports in WM_GETMINMAXINFO; a window without a
// sizing frame is held to the maximum only.
LRESULT OnWindowPosChanging(HWND hwnd, WINDOWPOS* wp) {
    DWORD style = static_cast<DWORD>(GetWindowLongW(hwnd, GWL_STYLE));
    if (!wp || (wp->flags & SWP_NOSIZE) || (wp->flags & SWP_STATECHANGED) || IsIconic(hwnd) ||
        IsZoomed(hwnd) || !((style & WS_THICKFRAME) || !(style & (WS_POPUP | WS_CHILD)))) {
        return 0;
    }
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
    return 0;
}

// WM_MOVE and WM_SIZE for what changed.
LRESULT OnWindowPosChanged(HWND hwnd, const WINDOWPOS* wp) {
    struct Client {
        RECT rect{};
        WPARAM type = SIZE_RESTORED;
    };
    std::optional<Client> client = WithWindow(hwnd, std::optional<Client>(), [](Window& w) {
        WPARAM type = w.minimized ? SIZE_MINIMIZED : (w.maximized ? SIZE_MAXIMIZED : SIZE_RESTORED);
        return std::optional<Client>(Client{w.rcClient, type});
    });
    if (!wp || !client) {
        return 0;
    }
    const RECT& rc = client->rect;
    if (!(wp->flags & SWP_NOCLIENTMOVE)) {
        SendMessageW(hwnd, WM_MOVE, 0, MAKELPARAM(rc.left, rc.top));
    }
    if (!(wp->flags & SWP_NOCLIENTSIZE) || (wp->flags & SWP_STATECHANGED)) {
        SendMessageW(hwnd, WM_SIZE, client->type, MAKELPARAM(rc.right - rc.left, rc.bottom - rc.top));
    }
    return 0;
}

// Turning redrawing off validates the window and its children; the visible bit stands for the flag.
LRESULT OnSetRedraw(HWND hwnd, bool redraw) {
    if (!redraw) {
        RedrawWindow(hwnd, nullptr, nullptr, RDW_ALLCHILDREN | RDW_VALIDATE);
    }
    return WithWindow(hwnd, 0, [redraw](Window& w) {
        if (redraw) {
            w.style |= WS_VISIBLE;
        } else {
            w.style &= ~static_cast<DWORD>(WS_VISIBLE);
        }
        return 0;
    });
}

// ICON_SMALL2 falls back to the class's small icon.
LRESULT OnGetIcon(HWND hwnd, WPARAM which) {
    return WithWindow(hwnd, LRESULT{0}, [which](Window& w) {
        if (which == ICON_BIG) {
            return reinterpret_cast<LRESULT>(w.iconBig);
        }
        if (which == ICON_SMALL) {
            return reinterpret_cast<LRESULT>(w.iconSmall);
        }
        return reinterpret_cast<LRESULT>(w.iconSmall ? w.iconSmall : w.cls->iconSmall);
    });
}

LRESULT OnSetIcon(HWND hwnd, WPARAM which, HICON icon) {
    std::optional<HICON> old = WithWindow(hwnd, std::optional<HICON>(), [which, icon](Window& w) {
        HICON& slot = which == ICON_BIG ? w.iconBig : w.iconSmall;
        return std::optional<HICON>(std::exchange(slot, icon));
    });
    if (!old) {
        return 0;
    }
    if (IsWindowVisible(hwnd)) {
        DrawNonClient(hwnd, 0);
    }
    return reinterpret_cast<LRESULT>(*old);
}

LRESULT OnPrint(HWND hwnd, HDC dc, LPARAM flags) {
    if ((flags & PRF_CHECKVISIBLE) && !IsWindowVisible(hwnd)) {
        return 0;
    }
    if (flags & PRF_ERASEBKGND) {
        SendMessageW(hwnd, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
    }
    if (flags & PRF_CLIENT) {
        SendMessageW(hwnd, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), flags);
    }
    return 0;
}

// Mouse and keyboard messages.
LRESULT InputMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_NCLBUTTONDOWN:
        return OnNcLButtonDown(hwnd, wParam, lParam);
    case WM_NCLBUTTONDBLCLK:
        return OnNcLButtonDblClk(hwnd, wParam, lParam);
    case WM_NCRBUTTONUP:
        SendMessageW(hwnd, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(hwnd), lParam);
        return 0;
    case WM_RBUTTONUP:
        return OnRButtonUp(hwnd, lParam);
    case WM_CONTEXTMENU:
    case WM_MOUSEWHEEL:
    case WM_MOUSEHWHEEL:
    case WM_HELP:
    case WM_APPCOMMAND:
        return ToParent(hwnd, msg, wParam, lParam);
    case WM_KEYUP:
        if (wParam == VK_APPS) {
            ContextMenuFromKeyboard(hwnd);
        }
        return 0;
    case WM_SYSKEYDOWN:
        return OnSysKeyDown(hwnd, wParam, lParam);
    case WM_SYSKEYUP:
        return OnSysKeyUp(hwnd, wParam);
    case WM_SYSCHAR:
        return OnSysChar(hwnd, wParam, lParam);
    case WM_SETCURSOR:
        return SetCursorDefault(hwnd, wParam, lParam);
    case WM_MOUSEACTIVATE:
        return OnMouseActivate(hwnd, wParam, lParam);
    case WM_ACTIVATE:
        if (LOWORD(wParam) != WA_INACTIVE && !HIWORD(wParam)) {
            SetFocus(hwnd);
        }
        return 0;
    case WM_CANCELMODE:
        if (GetCapture() == hwnd) {
            ReleaseCapture();
        }
        return 0;
    default:
        return 0;
    }
}

// Colours, icons, queries and printing.
LRESULT QueryMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg >= WM_CTLCOLORMSGBOX && msg <= WM_CTLCOLORSTATIC) {
        return CtlColor(msg, reinterpret_cast<HDC>(wParam));
    }
    switch (msg) {
    case WM_GETICON:
        return OnGetIcon(hwnd, wParam);
    case WM_SETICON:
        return OnSetIcon(hwnd, wParam, reinterpret_cast<HICON>(lParam));
    case WM_QUERYDRAGICON:
        return static_cast<LRESULT>(GetClassLongPtrW(hwnd, GCLP_HICON));
    case WM_QUERYOPEN:
    case WM_QUERYENDSESSION:
        return TRUE;
    case WM_NOTIFYFORMAT:
        return 2; // NFR_UNICODE
    case WM_PRINT:
        return OnPrint(hwnd, reinterpret_cast<HDC>(wParam), lParam);
    default:
        return InputMessage(hwnd, msg, wParam, lParam);
    }
}

} // namespace
} // namespace display_detail

using namespace display_detail;

LRESULT DefWindowProcW(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_NCCREATE:
        return OnNcCreate(hwnd, reinterpret_cast<const CREATESTRUCTW*>(lParam));
    case WM_NCCALCSIZE:
        return OnNcCalcSize(hwnd, wParam, lParam);
    case WM_NCHITTEST:
        return DefNcHitTest(hwnd, PointFromLParam(lParam));
    case WM_NCPAINT:
        DefNcPaint(hwnd, reinterpret_cast<HRGN>(wParam));
        return 0;
    case WM_NCACTIVATE:
        return OnNcActivate(hwnd, wParam != 0);
    case WM_SETTEXT:
        return OnSetText(hwnd, reinterpret_cast<LPCWSTR>(lParam));
    case WM_GETTEXT:
        return WithWindow(hwnd, LRESULT{0}, [wParam, lParam](Window& w) -> LRESULT {
            return CopyText(w.text, reinterpret_cast<LPWSTR>(lParam), static_cast<int>(wParam));
        });
    case WM_GETTEXTLENGTH:
        return WithWindow(hwnd, LRESULT{0}, [](Window& w) { return static_cast<LRESULT>(w.text.size()); });
    case WM_PAINT:
        return OnPaint(hwnd);
    case WM_ERASEBKGND:
        return OnEraseBackground(hwnd, reinterpret_cast<HDC>(wParam));
    case WM_CLOSE:
        DestroyWindow(hwnd);
        return 0;
    case WM_SYSCOMMAND:
        return SysCommand(hwnd, wParam, lParam);
    case WM_WINDOWPOSCHANGING:
        return OnWindowPosChanging(hwnd, reinterpret_cast<WINDOWPOS*>(lParam));
    case WM_WINDOWPOSCHANGED:
        return OnWindowPosChanged(hwnd, reinterpret_cast<const WINDOWPOS*>(lParam));
    case WM_SETREDRAW:
        return OnSetRedraw(hwnd, wParam != 0);
    case WM_SYSTIMER:
        HandleSystemTimer(hwnd, wParam);
        return 0;
    default:
        return QueryMessage(hwnd, msg, wParam, lParam);
    }
}
