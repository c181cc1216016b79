// The scroll-bar control ("ScrollBar"): a bar of its own, drawn and tracked with the window core's scroll-bar
// pieces, reporting to its parent with WM_HSCROLL/WM_VSCROLL and its own handle; or a size box.
#include "platform/controls/CommonControls.h"
#include "platform/controls/ControlsCommon.h"

#include "platform/base/Geometry.h"
#include "platform/gdi/Gdi.h"

#include <algorithm>

namespace {

using namespace controls;

struct ScrollBarState {
    SCROLLINFO info{sizeof(SCROLLINFO), SIF_ALL, 0, 100, 0, 0, 0};
    UINT disabledArrows = ESB_ENABLE_BOTH;
    int pressedPart = SBP_NONE;
    int trackPos = 0;
    bool tracking = false;
};

bool Vertical(HWND hwnd) {
    return (ClassStyle(hwnd) & SBS_VERT) != 0;
}

bool SizeBox(HWND hwnd) {
    return (ClassStyle(hwnd) & (SBS_SIZEBOX | SBS_SIZEGRIP)) != 0;
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
        if (ClassStyle(hwnd) & SBS_SIZEGRIP) {
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
        ScrollBarState* st = StateOf<ScrollBarState>(hwnd);
        return st ? st->info : SCROLLINFO{sizeof(SCROLLINFO), SIF_ALL, 0, 0, 0, 0, 0};
    };
    tracking.disabledArrows = [hwnd] {
        ScrollBarState* st = StateOf<ScrollBarState>(hwnd);
        return st ? st->disabledArrows : static_cast<UINT>(ESB_DISABLE_BOTH);
    };
    tracking.show = [hwnd](int pressedPart, int trackPos, BOOL isTracking) {
        ScrollBarState* st = StateOf<ScrollBarState>(hwnd);
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
    if (ScrollBarState* st = StateOf<ScrollBarState>(hwnd)) {
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

// A size box is all grip: its top-left or bottom-right corner.
LRESULT OnNcHitTest(HWND hwnd, WPARAM wParam, LPARAM lParam) {
    if (!SizeBox(hwnd)) {
        return DefWindowProcW(hwnd, WM_NCHITTEST, wParam, lParam);
    }
    DWORD style = ClassStyle(hwnd);
    return (style & SBS_SIZEBOXTOPLEFTALIGN) && !(style & SBS_SIZEGRIP) ? HTTOPLEFT : HTBOTTOMRIGHT;
}

LRESULT OnNcLButtonDown(HWND hwnd, WPARAM hit, LPARAM lParam) {
    if (!SizeBox(hwnd) || (hit != HTBOTTOMRIGHT && hit != HTTOPLEFT)) {
        return DefWindowProcW(hwnd, WM_NCLBUTTONDOWN, hit, lParam);
    }
    SizeTopLevelFromGrip(hwnd, hit == HTBOTTOMRIGHT ? WMSZ_BOTTOMRIGHT : WMSZ_TOPLEFT, lParam);
    return 0;
}

LRESULT OnLButtonDown(HWND hwnd, ScrollBarState& s, LPARAM lParam) {
    if (!SizeBox(hwnd) && IsWindowEnabled(hwnd)) {
        if (ClassStyle(hwnd) & WS_TABSTOP) {
            SetFocus(hwnd);
        }
        Track(hwnd, s, POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
    }
    return 0;
}

// A key scrolls as the arrow or page it stands for; its release ends the scroll.
LRESULT OnKey(HWND hwnd, ScrollBarState& s, UINT msg, WPARAM wParam, LPARAM lParam) {
    int code = SizeBox(hwnd) ? -1 : KeyCode(wParam, Vertical(hwnd));
    if (code < 0) {
        return DefWindowProcW(hwnd, msg, wParam, lParam);
    }
    Notify(hwnd, msg == WM_KEYDOWN ? code : SB_ENDSCROLL, s.info.nPos);
    return 0;
}

LRESULT OnGetScrollInfo(const ScrollBarState& s, SCROLLINFO* out) {
    if (!out) {
        return FALSE;
    }
    if (out->fMask & SIF_RANGE) {
        out->nMin = s.info.nMin;
        out->nMax = s.info.nMax;
    }
    if (out->fMask & SIF_PAGE) {
        out->nPage = s.info.nPage;
    }
    if (out->fMask & SIF_POS) {
        out->nPos = s.info.nPos;
    }
    if (out->fMask & SIF_TRACKPOS) {
        out->nTrackPos = s.tracking ? s.trackPos : s.info.nPos;
    }
    return TRUE;
}

// Changes what `in` names; answers the position before.
LRESULT Change(HWND hwnd, ScrollBarState& s, const SCROLLINFO& in, BOOL redraw) {
    int old = s.info.nPos;
    SetInfo(hwnd, s, &in, redraw);
    return old;
}

LRESULT OnEnableArrows(HWND hwnd, ScrollBarState& s, WPARAM wParam) {
    UINT arrows = static_cast<UINT>(wParam) & ESB_DISABLE_BOTH;
    if (arrows == s.disabledArrows) {
        return FALSE;
    }
    s.disabledArrows = arrows;
    InvalidateRect(hwnd, nullptr, FALSE);
    return TRUE;
}

// The SBM_* messages.
LRESULT ScrollBarMessage(HWND hwnd, ScrollBarState& s, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case SBM_SETSCROLLINFO:
        return SetInfo(hwnd, s, reinterpret_cast<const SCROLLINFO*>(lParam), static_cast<BOOL>(wParam));
    case SBM_GETSCROLLINFO:
        return OnGetScrollInfo(s, reinterpret_cast<SCROLLINFO*>(lParam));
    case SBM_SETPOS:
        return Change(hwnd, s, SCROLLINFO{sizeof(SCROLLINFO), SIF_POS, 0, 0, 0, static_cast<int>(wParam), 0},
                      static_cast<BOOL>(lParam));
    case SBM_GETPOS:
        return s.info.nPos;
    case SBM_SETRANGE:
    case SBM_SETRANGEREDRAW:
        return Change(hwnd, s,
                      SCROLLINFO{sizeof(SCROLLINFO), SIF_RANGE, static_cast<int>(wParam),
                                 static_cast<int>(lParam), 0, 0, 0},
                      msg == SBM_SETRANGEREDRAW);
    case SBM_GETRANGE:
        if (wParam) {
            *reinterpret_cast<LPINT>(wParam) = s.info.nMin;
        }
        if (lParam) {
            *reinterpret_cast<LPINT>(lParam) = s.info.nMax;
        }
        return 0;
    case SBM_ENABLE_ARROWS:
        return OnEnableArrows(hwnd, s, wParam);
    default:
        return DefWindowProcW(hwnd, msg, wParam, lParam);
    }
}

LRESULT WindowMessage(HWND hwnd, ScrollBarState& s, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_PAINT:
        Paint(hwnd, s);
        return 0;
    case WM_ENABLE:
        InvalidateRect(hwnd, nullptr, FALSE);
        return 0;
    case WM_NCHITTEST:
        return OnNcHitTest(hwnd, wParam, lParam);
    case WM_NCLBUTTONDOWN:
        return OnNcLButtonDown(hwnd, wParam, lParam);
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        return OnLButtonDown(hwnd, s, lParam);
    case WM_GETDLGCODE:
        return SizeBox(hwnd) ? 0 : DLGC_WANTARROWS;
    case WM_KEYDOWN:
    case WM_KEYUP:
        return OnKey(hwnd, s, msg, wParam, lParam);
    default:
        return ScrollBarMessage(hwnd, s, msg, wParam, lParam);
    }
}

} // namespace

void RegisterScrollBarClass() {
    RegisterControlClass(WC_SCROLLBARW, ControlProc<ScrollBarState, WindowMessage>,
                         CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW, IDC_ARROW, nullptr);
}
