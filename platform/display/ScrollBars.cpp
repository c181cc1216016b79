// Standard scroll bars: their state, geometry, classic drawing and the mouse tracking loop.
#include "platform/display/DisplayInternal.h"

#include "platform/base/MulDiv.h"
#include "platform/gdi/Gdi.h"

#include <algorithm>

namespace display_detail {
namespace {

constexpr UINT_PTR kScrollTimer = 0xFFFE;
constexpr UINT kFirstRepeat = 200;
constexpr UINT kRepeat = 50;
constexpr int kMinThumb = 8;

int Width(const RECT& rc) {
    return rc.right - rc.left;
}
int Height(const RECT& rc) {
    return rc.bottom - rc.top;
}

int PosMax(const SCROLLINFO& info) {
    return info.nMax - std::max(static_cast<int>(info.nPage) - 1, 0);
}

bool Scrollable(const ScrollBarState& s) {
    if (s.max <= s.min) {
        return false;
    }
    return s.page == 0 || static_cast<long long>(s.page) <= static_cast<long long>(s.max) - s.min;
}

void Clamp(ScrollBarState& s) {
    long long range = static_cast<long long>(s.max) - s.min + 1;
    if (range < 0) {
        range = 0;
    }
    if (static_cast<long long>(s.page) > range) {
        s.page = static_cast<UINT>(range);
    }
    int posMax = s.max - std::max(static_cast<int>(s.page) - 1, 0);
    s.pos = std::max(s.min, std::min(s.pos, std::max(posMax, s.min)));
}

SCROLLINFO InfoOf(const ScrollBarState& s) {
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SIF_ALL;
    info.nMin = s.min;
    info.nMax = s.max;
    info.nPage = s.page;
    info.nPos = s.pos;
    info.nTrackPos = s.tracking ? s.trackPos : s.pos;
    return info;
}

HBRUSH TrackBrush(HBITMAP& bitmap) {
    static const WORD pattern[8] = {0xAA, 0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA, 0x55};
    bitmap = CreateBitmap(8, 8, 1, 1, pattern);
    return CreatePatternBrush(bitmap);
}

void RedrawBar(HWND hwnd, int bar) {
    NcGeometry g = WindowNc(hwnd, false);
    const RECT& rc = bar == SB_VERT ? g.vscroll : g.hscroll;
    if (IsRectEmpty(&rc) || !IsWindowVisible(hwnd)) {
        return;
    }
    HDC dc = GetWindowDC(hwnd);
    if (!dc) {
        return;
    }
    DrawWindowScrollBars(hwnd, dc);
    ReleaseDC(hwnd, dc);
}

bool ValidBar(int bar) {
    return bar == SB_HORZ || bar == SB_VERT;
}

} // namespace

void DrawWindowScrollBars(HWND hwnd, HDC dc) {
    NcGeometry g = WindowNc(hwnd, false);
    ScrollBarState bars[2];
    bool enabled = true;
    {
        Lock lock = LockState();
        Window* w = FindQuietLocked(hwnd);
        if (!w) {
            return;
        }
        bars[0] = w->bars[0];
        bars[1] = w->bars[1];
        enabled = !(w->style & WS_DISABLED);
    }
    for (int bar : {SB_HORZ, SB_VERT}) {
        const RECT& rc = bar == SB_VERT ? g.vscroll : g.hscroll;
        if (IsRectEmpty(&rc)) {
            continue;
        }
        const ScrollBarState& s = bars[bar];
        SCROLLINFO info = InfoOf(s);
        ScrollBarPaint(dc, &rc, bar == SB_VERT, &info, s.tracking ? s.trackPos : s.pos, s.disabled,
                       enabled ? TRUE : FALSE, s.pressedPart);
    }
}

void ScrollBarTrack(HWND hwnd, int bar, POINT screen) {
    ScrollBarTracking t;
    t.captureWindow = hwnd;
    t.notifyWindow = hwnd;
    t.control = nullptr;
    t.vertical = bar == SB_VERT;
    t.barRectScreen = [hwnd, bar] {
        NcGeometry g = WindowNc(hwnd, true);
        return bar == SB_VERT ? g.vscroll : g.hscroll;
    };
    t.info = [hwnd, bar] {
        Lock lock = LockState();
        Window* w = FindQuietLocked(hwnd);
        return w ? InfoOf(w->bars[bar]) : SCROLLINFO{};
    };
    t.disabledArrows = [hwnd, bar] {
        Lock lock = LockState();
        Window* w = FindQuietLocked(hwnd);
        return w ? w->bars[bar].disabled : static_cast<UINT>(ESB_DISABLE_BOTH);
    };
    t.show = [hwnd, bar](int pressed, int trackPos, BOOL tracking) {
        {
            Lock lock = LockState();
            Window* w = FindQuietLocked(hwnd);
            if (!w) {
                return;
            }
            w->bars[bar].pressedPart = pressed;
            w->bars[bar].tracking = tracking != FALSE;
            if (tracking) {
                w->bars[bar].trackPos = trackPos;
            }
        }
        RedrawBar(hwnd, bar);
    };
    ScrollBarTrackLoop(t, screen);
}

} // namespace display_detail

using namespace display_detail;

void ScrollBarCalcGeometry(const RECT* bar, BOOL vertical, const SCROLLINFO* info, int pos,
                           ScrollBarGeometry* out) {
    if (!bar || !info || !out) {
        return;
    }
    *out = ScrollBarGeometry{};
    RECT rc = *bar;
    int length = vertical ? Height(rc) : Width(rc);
    int thickness = vertical ? Width(rc) : Height(rc);
    int arrow =
        std::min(vertical ? GetSystemMetrics(SM_CYVSCROLL) : GetSystemMetrics(SM_CXHSCROLL), length / 2);
    (void)thickness;
    if (vertical) {
        out->lineUp = RECT{rc.left, rc.top, rc.right, rc.top + arrow};
        out->lineDown = RECT{rc.left, rc.bottom - arrow, rc.right, rc.bottom};
    } else {
        out->lineUp = RECT{rc.left, rc.top, rc.left + arrow, rc.bottom};
        out->lineDown = RECT{rc.right - arrow, rc.top, rc.right, rc.bottom};
    }
    int trackStart = (vertical ? rc.top : rc.left) + arrow;
    int trackEnd = (vertical ? rc.bottom : rc.right) - arrow;
    int trackLen = std::max(trackEnd - trackStart, 0);
    long long range = static_cast<long long>(info->nMax) - info->nMin;
    int thumbLen = 0;
    if (range > 0) {
        if (info->nPage == 0) {
            thumbLen = vertical ? GetSystemMetrics(SM_CYVTHUMB) : GetSystemMetrics(SM_CXHTHUMB);
        } else {
            thumbLen = static_cast<int>(static_cast<long long>(trackLen) * info->nPage / (range + 1));
            thumbLen = std::max(thumbLen, kMinThumb);
        }
    }
    bool scrollable = range > 0 && (info->nPage == 0 || static_cast<long long>(info->nPage) <= range);
    if (!scrollable || thumbLen == 0 || thumbLen > trackLen) {
        if (vertical) {
            out->pageUp = RECT{rc.left, trackStart, rc.right, trackStart + trackLen};
        } else {
            out->pageUp = RECT{trackStart, rc.top, trackStart + trackLen, rc.bottom};
        }
        out->pageDown = RECT{};
        out->thumb = RECT{};
        out->thumbShown = FALSE;
        return;
    }
    int posMax = PosMax(*info);
    int span = posMax - info->nMin;
    int clamped = std::max(info->nMin, std::min(pos, posMax));
    int thumbStart = trackStart + (span > 0 ? MulDiv(clamped - info->nMin, trackLen - thumbLen, span) : 0);
    if (vertical) {
        out->pageUp = RECT{rc.left, trackStart, rc.right, thumbStart};
        out->thumb = RECT{rc.left, thumbStart, rc.right, thumbStart + thumbLen};
        out->pageDown = RECT{rc.left, thumbStart + thumbLen, rc.right, trackStart + trackLen};
    } else {
        out->pageUp = RECT{trackStart, rc.top, thumbStart, rc.bottom};
        out->thumb = RECT{thumbStart, rc.top, thumbStart + thumbLen, rc.bottom};
        out->pageDown = RECT{thumbStart + thumbLen, rc.top, trackStart + trackLen, rc.bottom};
    }
    out->thumbShown = TRUE;
}

int ScrollBarHitTest(const ScrollBarGeometry* g, BOOL, POINT pt) {
    if (!g) {
        return SBP_NONE;
    }
    if (PtInRect(&g->lineUp, pt)) {
        return SBP_LINEUP;
    }
    if (PtInRect(&g->lineDown, pt)) {
        return SBP_LINEDOWN;
    }
    if (g->thumbShown && PtInRect(&g->thumb, pt)) {
        return SBP_THUMB;
    }
    if (g->thumbShown && PtInRect(&g->pageUp, pt)) {
        return SBP_PAGEUP;
    }
    if (g->thumbShown && PtInRect(&g->pageDown, pt)) {
        return SBP_PAGEDOWN;
    }
    return SBP_NONE;
}

int ScrollBarPosFromThumb(const RECT* bar, BOOL vertical, const SCROLLINFO* info, int thumbStart) {
    ScrollBarGeometry g{};
    ScrollBarCalcGeometry(bar, vertical, info, info->nMin, &g);
    if (!g.thumbShown) {
        return info->nMin;
    }
    int trackStart = vertical ? g.lineUp.bottom : g.lineUp.right;
    int trackEnd = vertical ? g.lineDown.top : g.lineDown.left;
    int thumbLen = vertical ? Height(g.thumb) : Width(g.thumb);
    int room = trackEnd - trackStart - thumbLen;
    int posMax = PosMax(*info);
    if (room <= 0) {
        return info->nMin;
    }
    int offset = std::max(0, std::min(thumbStart - trackStart, room));
    return info->nMin + MulDiv(offset, posMax - info->nMin, room);
}

void ScrollBarPaint(HDC dc, const RECT* bar, BOOL vertical, const SCROLLINFO* info, int pos,
                    UINT disabledArrows, BOOL enabled, int pressedPart) {
    if (!dc || !bar || !info) {
        return;
    }
    ScrollBarGeometry g{};
    ScrollBarCalcGeometry(bar, vertical, info, pos, &g);
    bool upOff = !enabled || (disabledArrows & ESB_DISABLE_LTUP);
    bool downOff = !enabled || (disabledArrows & ESB_DISABLE_RTDN);
    RECT up = g.lineUp;
    RECT down = g.lineDown;
    DrawFrameControl(dc, &up, DFC_SCROLL,
                     (vertical ? DFCS_SCROLLUP : DFCS_SCROLLLEFT) | (upOff ? DFCS_INACTIVE : 0) |
                         (pressedPart == SBP_LINEUP ? DFCS_PUSHED | DFCS_FLAT : 0));
    DrawFrameControl(dc, &down, DFC_SCROLL,
                     (vertical ? DFCS_SCROLLDOWN : DFCS_SCROLLRIGHT) | (downOff ? DFCS_INACTIVE : 0) |
                         (pressedPart == SBP_LINEDOWN ? DFCS_PUSHED | DFCS_FLAT : 0));
    HBRUSH track = nullptr;
    HBITMAP pattern = nullptr;
    bool dither = GetSysColor(COLOR_SCROLLBAR) == GetSysColor(COLOR_3DFACE);
    if (dither) {
        track = TrackBrush(pattern);
        SetTextColor(dc, GetSysColor(COLOR_3DFACE));
        SetBkColor(dc, GetSysColor(COLOR_3DHILIGHT));
    } else {
        track = GetSysColorBrush(COLOR_SCROLLBAR);
    }
    bool thumb = g.thumbShown && enabled && (disabledArrows & ESB_DISABLE_BOTH) != ESB_DISABLE_BOTH;
    if (!thumb) {
        RECT all = g.pageUp;
        if (!IsRectEmpty(&g.pageDown)) {
            UnionRect(&all, &g.pageUp, &g.pageDown);
        }
        if (!IsRectEmpty(&g.thumb)) {
            UnionRect(&all, &all, &g.thumb);
        }
        FillRect(dc, &all, track);
    } else {
        FillRect(dc, &g.pageUp, pressedPart == SBP_PAGEUP ? GetSysColorBrush(COLOR_3DDKSHADOW) : track);
        FillRect(dc, &g.pageDown, pressedPart == SBP_PAGEDOWN ? GetSysColorBrush(COLOR_3DDKSHADOW) : track);
        RECT t = g.thumb;
        DrawEdge(dc, &t, EDGE_RAISED, BF_RECT | BF_MIDDLE);
    }
    if (pattern) {
        DeleteObject(track);
        DeleteObject(pattern);
    }
}

void ScrollBarTrackLoop(const ScrollBarTracking& t, POINT screen) {
    if (!t.barRectScreen || !t.info || !t.show) {
        return;
    }
    RECT bar = t.barRectScreen();
    SCROLLINFO info = t.info();
    ScrollBarGeometry g{};
    ScrollBarCalcGeometry(&bar, t.vertical, &info, info.nPos, &g);
    int part = ScrollBarHitTest(&g, t.vertical, screen);
    UINT disabled = t.disabledArrows ? t.disabledArrows() : 0;
    if (part == SBP_NONE || (part == SBP_LINEUP && (disabled & ESB_DISABLE_LTUP)) ||
        (part == SBP_LINEDOWN && (disabled & ESB_DISABLE_RTDN))) {
        return;
    }
    UINT msgId = t.vertical ? WM_VSCROLL : WM_HSCROLL;
    auto notify = [&](int code, int pos) {
        if (IsWindow(t.notifyWindow)) {
            SendMessageW(t.notifyWindow, msgId, MAKEWPARAM(code, static_cast<WORD>(pos)),
                         reinterpret_cast<LPARAM>(t.control));
        }
    };
    HWND capture = t.captureWindow;
    SetCapture(capture);
    int code = part == SBP_LINEUP
                   ? SB_LINEUP
                   : (part == SBP_LINEDOWN ? SB_LINEDOWN : (part == SBP_PAGEUP ? SB_PAGEUP : SB_PAGEDOWN));
    bool released = false;
    if (part != SBP_THUMB) {
        t.show(part, 0, FALSE);
        notify(code, 0);
        SetSystemTimer(capture, kScrollTimer, kFirstRepeat);
        POINT cursor = screen;
        bool over = true;
        while (GetCapture() == capture) {
            MSG msg{};
            if (!GetMessageW(&msg, nullptr, 0, 0)) {
                PostQuitMessage(static_cast<int>(msg.wParam));
                break;
            }
            if (CallMsgFilterW(&msg, MSGF_SCROLLBAR)) {
                continue;
            }
            if (msg.message == WM_LBUTTONUP) {
                released = true;
                break;
            }
            if (msg.message == WM_MOUSEMOVE) {
                cursor = msg.pt;
            }
            if ((msg.message == WM_MOUSEMOVE) ||
                (msg.message == WM_SYSTIMER && msg.hwnd == capture && msg.wParam == kScrollTimer)) {
                bar = t.barRectScreen();
                info = t.info();
                ScrollBarCalcGeometry(&bar, t.vertical, &info, info.nPos, &g);
                bool nowOver = ScrollBarHitTest(&g, t.vertical, cursor) == part;
                if (nowOver != over) {
                    over = nowOver;
                    t.show(over ? part : SBP_NONE, 0, FALSE);
                }
                if (msg.message == WM_SYSTIMER) {
                    if (over) {
                        notify(code, 0);
                    }
                    SetSystemTimer(capture, kScrollTimer, kRepeat);
                }
                continue;
            }
            if (msg.message >= WM_MOUSEFIRST && msg.message <= WM_MOUSELAST) {
                continue;
            }
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        KillSystemTimer(capture, kScrollTimer);
    } else {
        int grab = t.vertical ? screen.y - g.thumb.top : screen.x - g.thumb.left;
        int track = info.nPos;
        t.show(SBP_THUMB, track, TRUE);
        while (GetCapture() == capture) {
            MSG msg{};
            if (!GetMessageW(&msg, nullptr, 0, 0)) {
                PostQuitMessage(static_cast<int>(msg.wParam));
                break;
            }
            if (CallMsgFilterW(&msg, MSGF_SCROLLBAR)) {
                continue;
            }
            if (msg.message == WM_LBUTTONUP) {
                released = true;
                break;
            }
            if (msg.message == WM_MOUSEMOVE) {
                bar = t.barRectScreen();
                info = t.info();
                int start = (t.vertical ? msg.pt.y : msg.pt.x) - grab;
                int pos = ScrollBarPosFromThumb(&bar, t.vertical, &info, start);
                if (pos != track) {
                    track = pos;
                    t.show(SBP_THUMB, track, TRUE);
                    notify(SB_THUMBTRACK, track);
                }
                continue;
            }
            if (msg.message >= WM_MOUSEFIRST && msg.message <= WM_MOUSELAST) {
                continue;
            }
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        if (released) {
            notify(SB_THUMBPOSITION, track);
        }
    }
    t.show(SBP_NONE, 0, FALSE);
    notify(SB_ENDSCROLL, 0);
    if (GetCapture() == capture) {
        ReleaseCapture();
    }
}

int SetScrollInfo(HWND hwnd, int bar, LPCSCROLLINFO info, BOOL redraw) {
    if (bar == SB_CTL) {
        return static_cast<int>(
            SendMessageW(hwnd, SBM_SETSCROLLINFO, redraw, reinterpret_cast<LPARAM>(info)));
    }
    if (!info || !ValidBar(bar) ||
        (info->cbSize != sizeof(SCROLLINFO) && info->cbSize != sizeof(SCROLLINFO) - sizeof(int))) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    bool show = false;
    bool hide = false;
    bool enableChange = false;
    int pos = 0;
    bool visible = false;
    {
        Lock lock = LockState();
        Window* w = FindLocked(hwnd);
        if (!w) {
            return 0;
        }
        ScrollBarState& s = w->bars[bar];
        if (info->fMask & SIF_PAGE) {
            s.page = info->nPage;
        }
        if (info->fMask & SIF_RANGE) {
            s.min = info->nMin;
            s.max = info->nMax;
        }
        if (info->fMask & SIF_POS) {
            s.pos = info->nPos;
        }
        Clamp(s);
        pos = s.pos;
        DWORD styleBit = bar == SB_VERT ? WS_VSCROLL : WS_HSCROLL;
        bool has = (w->style & styleBit) != 0;
        if (info->fMask & (SIF_RANGE | SIF_PAGE)) {
            bool scrollable = Scrollable(s);
            if (info->fMask & SIF_DISABLENOSCROLL) {
                UINT want = scrollable ? ESB_ENABLE_BOTH : ESB_DISABLE_BOTH;
                enableChange = s.disabled != want;
                s.disabled = want;
                show = !has;
            } else if (scrollable) {
                show = !has;
                if (s.disabled == ESB_DISABLE_BOTH) {
                    s.disabled = ESB_ENABLE_BOTH;
                    enableChange = true;
                }
            } else {
                hide = has;
            }
        }
        visible = has && IsVisibleLocked(hwnd);
    }
    if (show || hide) {
        ShowScrollBar(hwnd, bar, show ? TRUE : FALSE);
    } else if ((redraw || enableChange) && visible) {
        RedrawBar(hwnd, bar);
    }
    return pos;
}

BOOL GetScrollInfo(HWND hwnd, int bar, LPSCROLLINFO info) {
    if (bar == SB_CTL) {
        return static_cast<BOOL>(SendMessageW(hwnd, SBM_GETSCROLLINFO, 0, reinterpret_cast<LPARAM>(info)));
    }
    if (!info || !ValidBar(bar)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    Lock lock = LockState();
    Window* w = FindLocked(hwnd);
    if (!w) {
        return FALSE;
    }
    SCROLLINFO all = InfoOf(w->bars[bar]);
    if (info->fMask & SIF_RANGE) {
        info->nMin = all.nMin;
        info->nMax = all.nMax;
    }
    if (info->fMask & SIF_PAGE) {
        info->nPage = all.nPage;
    }
    if (info->fMask & SIF_POS) {
        info->nPos = all.nPos;
    }
    if ((info->fMask & SIF_TRACKPOS) && info->cbSize == sizeof(SCROLLINFO)) {
        info->nTrackPos = all.nTrackPos;
    }
    return TRUE;
}

int SetScrollPos(HWND hwnd, int bar, int pos, BOOL redraw) {
    int old = GetScrollPos(hwnd, bar);
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SIF_POS;
    info.nPos = pos;
    SetScrollInfo(hwnd, bar, &info, redraw);
    return old;
}

int GetScrollPos(HWND hwnd, int bar) {
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SIF_POS;
    if (!GetScrollInfo(hwnd, bar, &info)) {
        return 0;
    }
    return info.nPos;
}

BOOL SetScrollRange(HWND hwnd, int bar, int minPos, int maxPos, BOOL redraw) {
    if (static_cast<long long>(maxPos) - minPos > 0x7FFFFFFF) {
        SetLastError(ERROR_INVALID_SCROLLBAR_RANGE);
        return FALSE;
    }
    if (bar == SB_CTL) {
        SendMessageW(hwnd, redraw ? SBM_SETRANGEREDRAW : SBM_SETRANGE, static_cast<WPARAM>(minPos), maxPos);
        return TRUE;
    }
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SIF_RANGE;
    info.nMin = minPos;
    info.nMax = maxPos;
    SetScrollInfo(hwnd, bar, &info, redraw);
    return IsWindow(hwnd);
}

BOOL GetScrollRange(HWND hwnd, int bar, LPINT minPos, LPINT maxPos) {
    if (!minPos || !maxPos) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    if (bar == SB_CTL) {
        SendMessageW(hwnd, SBM_GETRANGE, reinterpret_cast<WPARAM>(minPos), reinterpret_cast<LPARAM>(maxPos));
        return TRUE;
    }
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SIF_RANGE;
    if (!GetScrollInfo(hwnd, bar, &info)) {
        return FALSE;
    }
    *minPos = info.nMin;
    *maxPos = info.nMax;
    return TRUE;
}

BOOL ShowScrollBar(HWND hwnd, int bar, BOOL show) {
    if (bar == SB_CTL) {
        ShowWindow(hwnd, show ? SW_SHOW : SW_HIDE);
        return TRUE;
    }
    DWORD bits = bar == SB_HORZ
                     ? WS_HSCROLL
                     : (bar == SB_VERT ? WS_VSCROLL : (bar == SB_BOTH ? WS_HSCROLL | WS_VSCROLL : 0));
    if (!bits) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    bool changed = false;
    {
        Lock lock = LockState();
        Window* w = FindLocked(hwnd);
        if (!w) {
            return FALSE;
        }
        DWORD next = show ? (w->style | bits) : (w->style & ~bits);
        changed = next != w->style;
        w->style = next;
    }
    if (changed) {
        SetWindowPos(hwnd, nullptr, 0, 0, 0, 0,
                     SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    }
    return TRUE;
}

BOOL EnableScrollBar(HWND hwnd, int bar, UINT arrows) {
    if (bar == SB_CTL) {
        return static_cast<BOOL>(SendMessageW(hwnd, SBM_ENABLE_ARROWS, arrows, 0));
    }
    bool changed = false;
    {
        Lock lock = LockState();
        Window* w = FindLocked(hwnd);
        if (!w) {
            return FALSE;
        }
        for (int b : {SB_HORZ, SB_VERT}) {
            if (bar == b || bar == SB_BOTH) {
                changed = changed || w->bars[b].disabled != arrows;
                w->bars[b].disabled = arrows;
            }
        }
    }
    if (changed) {
        if (bar == SB_BOTH || bar == SB_VERT) {
            RedrawBar(hwnd, SB_VERT);
        }
        if (bar == SB_BOTH || bar == SB_HORZ) {
            RedrawBar(hwnd, SB_HORZ);
        }
    }
    return changed ? TRUE : FALSE;
}
