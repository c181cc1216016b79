// The scroll-bar control ("ScrollBar"): a bar of its own, drawn and tracked with the window core's scroll-bar
// pieces, reporting to its parent with WM_HSCROLL/WM_VSCROLL and its own handle; or a size box.
#include "platform/controls/CommonControls.h"

#include "platform/base/Geometry.h"
#include "platform/gdi/Gdi.h"

#include <algorithm>

namespace {

struct ScrollBarState {
    SCROLLINFO info{sizeof(SCROLLINFO), SIF_ALL, 0, 100, 0, 0, 0};
    UINT disabledArrows = ESB_ENABLE_BOTH;
    int pressedPart = SBP_NONE;
    int trackPos = 0;
    bool tracking = false;
};

ScrollBarState* StateOf(HWND hwnd) {
    return reinterpret_cast<ScrollBarState*>(GetWindowLongPtrW(hwnd, 0));
}

DWORD Style(HWND hwnd) {
    return static_cast<DWORD>(GetWindowLongW(hwnd, GWL_STYLE));
}

bool Vertical(HWND hwnd) {
    return (Style(hwnd) & SBS_VERT) != 0;
}

bool SizeBox(HWND hwnd) {
    return (Style(hwnd) & (SBS_SIZEBOX | SBS_SIZEGRIP)) != 0;
}

void Clamp(SCROLLINFO& info) {
    if (info.nMax < info.nMin) {
        info.nMax = info.nMin;
    }
    long long span = static_cast<long long>(info.nMax) - info.nMin + 1;
    if (static_cast<long long>(info.nPage) > span) {
        info.nPage = static_cast<UINT>(span);
    }
    long long top =
        static_cast<long long>(info.nMax) - std::max<long long>(static_cast<long long>(info.nPage) - 1, 0);
    info.nPos =
        static_cast<int>(std::clamp<long long>(info.nPos, info.nMin, std::max<long long>(top, info.nMin)));
}

void Redraw(HWND hwnd, BOOL redraw) {
    if (redraw) {
        InvalidateRect(hwnd, nullptr, FALSE);
    }
}

int SetInfo(HWND hwnd, ScrollBarState& s, const SCROLLINFO* in, BOOL redraw) {
    if (!in) {
        return s.info.nPos;
    }
    if (in->fMask & SIF_RANGE) {
        s.info.nMin = in->nMin;
        s.info.nMax = in->nMax;
    }
    if (in->fMask & SIF_PAGE) {
        s.info.nPage = in->nPage;
    }
    if (in->fMask & SIF_POS) {
        s.info.nPos = in->nPos;
    }
    Clamp(s.info);
    if (in->fMask & SIF_DISABLENOSCROLL) {
        bool scrolls =
            static_cast<long long>(s.info.nMax) - s.info.nMin + 1 > static_cast<long long>(s.info.nPage) &&
            s.info.nMax > s.info.nMin;
        s.disabledArrows = scrolls ? ESB_ENABLE_BOTH : ESB_DISABLE_BOTH;
    }
    Redraw(hwnd, redraw);
    return s.info.nPos;
}

void Notify(HWND hwnd, int code, int pos) {
    if (HWND parent = GetParent(hwnd)) {
        SendMessageW(parent, Vertical(hwnd) ? WM_VSCROLL : WM_HSCROLL,
                     MAKEWPARAM(code, static_cast<WORD>(pos)), reinterpret_cast<LPARAM>(hwnd));
    }
}

void Paint(HWND hwnd, ScrollBarState& s) {
    PAINTSTRUCT ps{};
    HDC dc = BeginPaint(hwnd, &ps);
    RECT rc{};
    GetClientRect(hwnd, &rc);
    if (SizeBox(hwnd)) {
        FillRect(dc, &rc, GetSysColorBrush(COLOR_3DFACE));
        if (Style(hwnd) & SBS_SIZEGRIP) {
            DrawFrameControl(dc, &rc, DFC_SCROLL, DFCS_SCROLLSIZEGRIP);
        }
    } else {
        ScrollBarPaint(dc, &rc, Vertical(hwnd) ? TRUE : FALSE, &s.info, s.tracking ? s.trackPos : s.info.nPos,
                       s.disabledArrows, IsWindowEnabled(hwnd), s.pressedPart);
    }
    EndPaint(hwnd, &ps);
}

void Track(HWND hwnd, ScrollBarState& s, POINT client) {
    ScrollBarTracking tracking;
    tracking.captureWindow = hwnd;
    tracking.notifyWindow = GetParent(hwnd);
    tracking.control = hwnd;
    tracking.vertical = Vertical(hwnd) ? TRUE : FALSE;
    tracking.barRectScreen = [hwnd] {
        RECT rc{};
        GetClientRect(hwnd, &rc);
        MapWindowPoints(hwnd, nullptr, reinterpret_cast<POINT*>(&rc), 2);
        return rc;
    };
    tracking.info = [hwnd] {
        ScrollBarState* st = StateOf(hwnd);
        return st ? st->info : SCROLLINFO{sizeof(SCROLLINFO), SIF_ALL, 0, 0, 0, 0, 0};
    };
    tracking.disabledArrows = [hwnd] {
        ScrollBarState* st = StateOf(hwnd);
        return st ? st->disabledArrows : static_cast<UINT>(ESB_DISABLE_BOTH);
    };
    tracking.show = [hwnd](int pressedPart, int trackPos, BOOL isTracking) {
        ScrollBarState* st = StateOf(hwnd);
        if (!st) {
            return;
        }
        st->pressedPart = pressedPart;
        st->trackPos = trackPos;
        st->tracking = isTracking != FALSE;
        InvalidateRect(hwnd, nullptr, FALSE);
        UpdateWindow(hwnd);
    };
    ClientToScreen(hwnd, &client);
    s.trackPos = s.info.nPos;
    ScrollBarTrackLoop(tracking, client);
    if (ScrollBarState* st = StateOf(hwnd)) {
        st->pressedPart = SBP_NONE;
        st->tracking = false;
        InvalidateRect(hwnd, nullptr, FALSE);
    }
}

int KeyCode(WPARAM key, bool vertical) {
    switch (key) {
    case VK_UP:
        return vertical ? SB_LINEUP : -1;
    case VK_DOWN:
        return vertical ? SB_LINEDOWN : -1;
    case VK_LEFT:
        return vertical ? -1 : SB_LINELEFT;
    case VK_RIGHT:
        return vertical ? -1 : SB_LINERIGHT;
    case VK_PRIOR:
        return SB_PAGEUP;
    case VK_NEXT:
        return SB_PAGEDOWN;
    case VK_HOME:
        return SB_TOP;
    case VK_END:
        return SB_BOTTOM;
    default:
        return -1;
    }
}

LRESULT ScrollBarProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    ScrollBarState* s = StateOf(hwnd);
    if (!s) {
        if (msg == WM_NCCREATE) {
            s = new ScrollBarState;
            SetWindowLongPtrW(hwnd, 0, reinterpret_cast<LONG_PTR>(s));
        }
        return DefWindowProcW(hwnd, msg, wParam, lParam);
    }
    switch (msg) {
    case WM_NCDESTROY:
        SetWindowLongPtrW(hwnd, 0, 0);
        delete s;
        return DefWindowProcW(hwnd, msg, wParam, lParam);
    case WM_ERASEBKGND:
        return 1;
    case WM_PAINT:
        Paint(hwnd, *s);
        return 0;
    case WM_ENABLE:
        InvalidateRect(hwnd, nullptr, FALSE);
        return 0;
    case WM_NCHITTEST:
        if (SizeBox(hwnd)) {
            return (Style(hwnd) & SBS_SIZEBOXTOPLEFTALIGN) && !(Style(hwnd) & SBS_SIZEGRIP) ? HTTOPLEFT
                                                                                            : HTBOTTOMRIGHT;
        }
        return DefWindowProcW(hwnd, msg, wParam, lParam);
    case WM_NCLBUTTONDOWN:
        if (SizeBox(hwnd) && (wParam == HTBOTTOMRIGHT || wParam == HTTOPLEFT)) {
            if (HWND top = GetAncestor(hwnd, GA_ROOT)) {
                UINT edge = wParam == HTBOTTOMRIGHT ? WMSZ_BOTTOMRIGHT : WMSZ_TOPLEFT;
                SendMessageW(top, WM_SYSCOMMAND, SC_SIZE | edge, lParam);
            }
            return 0;
        }
        return DefWindowProcW(hwnd, msg, wParam, lParam);
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        if (!SizeBox(hwnd) && IsWindowEnabled(hwnd)) {
            if (Style(hwnd) & WS_TABSTOP) {
                SetFocus(hwnd);
            }
            Track(hwnd, *s, POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
        }
        return 0;
    case WM_GETDLGCODE:
        return SizeBox(hwnd) ? 0 : DLGC_WANTARROWS;
    case WM_KEYDOWN: {
        int code = SizeBox(hwnd) ? -1 : KeyCode(wParam, Vertical(hwnd));
        if (code >= 0) {
            Notify(hwnd, code, s->info.nPos);
            return 0;
        }
        break;
    }
    case WM_KEYUP:
        if (!SizeBox(hwnd) && KeyCode(wParam, Vertical(hwnd)) >= 0) {
            Notify(hwnd, SB_ENDSCROLL, s->info.nPos);
            return 0;
        }
        break;
    case SBM_SETSCROLLINFO:
        return SetInfo(hwnd, *s, reinterpret_cast<const SCROLLINFO*>(lParam), static_cast<BOOL>(wParam));
    case SBM_GETSCROLLINFO: {
        auto* out = reinterpret_cast<SCROLLINFO*>(lParam);
        if (!out) {
            return FALSE;
        }
        if (out->fMask & SIF_RANGE) {
            out->nMin = s->info.nMin;
            out->nMax = s->info.nMax;
        }
        if (out->fMask & SIF_PAGE) {
            out->nPage = s->info.nPage;
        }
        if (out->fMask & SIF_POS) {
            out->nPos = s->info.nPos;
        }
        if (out->fMask & SIF_TRACKPOS) {
            out->nTrackPos = s->tracking ? s->trackPos : s->info.nPos;
        }
        return TRUE;
    }
    case SBM_SETPOS: {
        int old = s->info.nPos;
        SCROLLINFO in{sizeof in, SIF_POS, 0, 0, 0, static_cast<int>(wParam), 0};
        SetInfo(hwnd, *s, &in, static_cast<BOOL>(lParam));
        return old;
    }
    case SBM_GETPOS:
        return s->info.nPos;
    case SBM_SETRANGE:
    case SBM_SETRANGEREDRAW: {
        int old = s->info.nPos;
        SCROLLINFO in{sizeof in, SIF_RANGE, static_cast<int>(wParam), static_cast<int>(lParam), 0, 0, 0};
        SetInfo(hwnd, *s, &in, msg == SBM_SETRANGEREDRAW);
        return old;
    }
    case SBM_GETRANGE:
        if (wParam) {
            *reinterpret_cast<LPINT>(wParam) = s->info.nMin;
        }
        if (lParam) {
            *reinterpret_cast<LPINT>(lParam) = s->info.nMax;
        }
        return 0;
    case SBM_ENABLE_ARROWS: {
        UINT arrows = static_cast<UINT>(wParam) & ESB_DISABLE_BOTH;
        if (arrows == s->disabledArrows) {
            return FALSE;
        }
        s->disabledArrows = arrows;
        InvalidateRect(hwnd, nullptr, FALSE);
        return TRUE;
    }
    default:
        break;
    }
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}

} // namespace

void RegisterScrollBarClass() {
    WNDCLASSEXW existing{};
    existing.cbSize = sizeof existing;
    if (GetClassInfoExW(nullptr, WC_SCROLLBARW, &existing)) {
        return;
    }
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.style = CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW;
    wc.lpfnWndProc = ScrollBarProc;
    wc.cbWndExtra = sizeof(void*);
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.lpszClassName = WC_SCROLLBARW;
    DisplayRegisterSystemClass(&wc);
}
