// The default non-client area: its geometry (WM_NCCALCSIZE), hit testing (WM_NCHITTEST) and the classic
// drawing (WM_NCPAINT) of frames, edges, the caption, the menu bar space and the scroll bars.
#include "platform/display/DisplayInternal.h"
#include "platform/display/MenuInternal.h"

#include "platform/gdi/Gdi.h"

#include <algorithm>

namespace display_detail {
namespace {

int Width(const RECT& rc) {
    return rc.right - rc.left;
}
int Height(const RECT& rc) {
    return rc.bottom - rc.top;
}

void Inset(RECT& rc, int dx, int dy) {
    rc.left += dx;
    rc.top += dy;
    rc.right -= dx;
    rc.bottom -= dy;
    rc.right = std::max(rc.right, rc.left);
    rc.bottom = std::max(rc.bottom, rc.top);
}

struct NcState {
    DWORD style = 0;
    DWORD exStyle = 0;
    HMENU menu = nullptr;
    bool minimized = false;
    bool maximized = false;
    bool active = false;
    bool noClose = false;
    bool enabled = true;
    std::u16string text;
    HICON icon = nullptr;
    RECT windowScreen{};
};

bool ReadState(HWND hwnd, NcState& s) {
    Lock lock = LockState();
    Window* w = FindQuietLocked(hwnd);
    if (!w) {
        return false;
    }
    s.style = w->style;
    s.exStyle = w->exStyle;
    s.menu = !(w->style & WS_CHILD) ? reinterpret_cast<HMENU>(w->id) : nullptr;
    s.minimized = w->minimized;
    s.maximized = w->maximized;
    s.active = w->ncActive;
    s.noClose = (w->cls->style & CS_NOCLOSE) != 0;
    s.enabled = !(w->style & WS_DISABLED);
    s.text = w->text;
    s.icon = w->iconSmall
                 ? w->iconSmall
                 : (w->cls->iconSmall ? w->cls->iconSmall : (w->iconBig ? w->iconBig : w->cls->icon));
    s.windowScreen = WindowRectScreenLocked(*w);
    return true;
}

} // namespace

NcGeometry ComputeNc(DWORD style, DWORD exStyle, int menuHeight, const RECT& window, bool minimized) {
    NcGeometry g;
    g.window = window;
    RECT rc = window;
    bool thick = (style & WS_THICKFRAME) != 0;
    bool dlg = !thick && ((style & WS_DLGFRAME) || (exStyle & WS_EX_DLGMODALFRAME));
    bool border = !thick && !dlg && (style & WS_BORDER);
    if (thick) {
        Inset(rc, GetSystemMetrics(SM_CXFRAME), GetSystemMetrics(SM_CYFRAME));
    } else if (dlg) {
        Inset(rc, GetSystemMetrics(SM_CXDLGFRAME), GetSystemMetrics(SM_CYDLGFRAME));
    } else if (border || (exStyle & WS_EX_STATICEDGE)) {
        Inset(rc, GetSystemMetrics(SM_CXBORDER), GetSystemMetrics(SM_CYBORDER));
    }
    g.inFrame = rc;
    bool tool = (exStyle & WS_EX_TOOLWINDOW) != 0;
    if ((style & WS_CAPTION) == WS_CAPTION) {
        int ch = GetSystemMetrics(tool ? SM_CYSMCAPTION : SM_CYCAPTION);
        g.caption = RECT{rc.left, rc.top, rc.right, std::min<LONG>(rc.top + ch - 1, rc.bottom)};
        rc.top = std::min<LONG>(rc.top + ch, rc.bottom);
        if (style & WS_SYSMENU) {
            int bw = GetSystemMetrics(tool ? SM_CXSMSIZE : SM_CXSIZE) - 2;
            int bh = GetSystemMetrics(tool ? SM_CYSMSIZE : SM_CYSIZE) - 4;
            int top = g.caption.top + 2;
            g.closeButton = RECT{g.caption.right - 2 - bw, top, g.caption.right - 2, top + bh};
            if ((style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX)) && !tool) {
                g.maxButton = RECT{g.closeButton.left - 2 - bw, top, g.closeButton.left - 2, top + bh};
                g.minButton = RECT{g.maxButton.left - bw, top, g.maxButton.left, top + bh};
            }
            if (!tool && !(exStyle & WS_EX_DLGMODALFRAME)) {
                int icon = GetSystemMetrics(SM_CXSMICON);
                int iy = g.caption.top + (Height(g.caption) - icon) / 2;
                g.sysIcon = RECT{g.caption.left + 2, iy, g.caption.left + 2 + icon, iy + icon};
            }
        }
    }
    if (menuHeight > 0) {
        g.menu = RECT{rc.left, rc.top, rc.right, std::min<LONG>(rc.top + menuHeight, rc.bottom)};
        rc.top = g.menu.bottom;
    }
    if (exStyle & WS_EX_CLIENTEDGE) {
        Inset(rc, GetSystemMetrics(SM_CXEDGE), GetSystemMetrics(SM_CYEDGE));
    }
    g.inEdge = rc;
    if (minimized) {
        rc.right = rc.left;
        rc.bottom = rc.top;
    } else {
        int cx = GetSystemMetrics(SM_CXVSCROLL);
        int cy = GetSystemMetrics(SM_CYHSCROLL);
        bool v = (style & WS_VSCROLL) && Width(rc) >= cx;
        if (v) {
            g.vscroll = RECT{rc.right - cx, rc.top, rc.right, rc.bottom};
            rc.right -= cx;
        }
        bool h = (style & WS_HSCROLL) && Height(rc) >= cy;
        if (h) {
            g.hscroll = RECT{rc.left, rc.bottom - cy, rc.right, rc.bottom};
            rc.bottom -= cy;
            if (v) {
                g.vscroll.bottom = rc.bottom;
                g.sizeBox = RECT{rc.right, rc.bottom, rc.right + cx, rc.bottom + cy};
            }
        }
    }
    g.client = rc;
    return g;
}

RECT CalcClientFromWindow(DWORD style, DWORD exStyle, int menuHeight, const RECT& window, bool minimized) {
    return ComputeNc(style, exStyle, menuHeight, window, minimized).client;
}

int MenuBarHeight(HWND hwnd, int width) {
    HMENU menu = nullptr;
    std::function<int(HWND, HMENU, int)> hook;
    {
        Lock lock = LockState();
        Window* w = FindQuietLocked(hwnd);
        if (!w || (w->style & WS_CHILD) || !w->id) {
            return 0;
        }
        menu = reinterpret_cast<HMENU>(w->id);
        hook = G().menuHooks.height;
    }
    return hook ? hook(hwnd, menu, width) : MenuBarLayoutHeight(hwnd, menu, width);
}

NcGeometry WindowNc(HWND hwnd, bool screen) {
    NcState s;
    if (!ReadState(hwnd, s)) {
        return NcGeometry{};
    }
    RECT rc = s.windowScreen;
    if (!screen) {
        OffsetRect(&rc, -rc.left, -rc.top);
    }
    return ComputeNc(s.style, s.exStyle, s.menu ? MenuBarHeight(hwnd, Width(rc)) : 0, rc, s.minimized);
}

LRESULT DefNcHitTest(HWND hwnd, POINT pt) {
    NcState s;
    if (!ReadState(hwnd, s)) {
        return HTERROR;
    }
    NcGeometry g = ComputeNc(s.style, s.exStyle, s.menu ? MenuBarHeight(hwnd, Width(s.windowScreen)) : 0,
                             s.windowScreen, s.minimized);
    if (!PtInRect(&g.window, pt)) {
        return HTNOWHERE;
    }
    if (s.minimized) {
        return HTCAPTION;
    }
    if (PtInRect(&g.client, pt)) {
        return HTCLIENT;
    }
    if (!PtInRect(&g.inFrame, pt)) {
        if (!(s.style & WS_THICKFRAME) || s.maximized) {
            return HTBORDER;
        }
        int cornerX = GetSystemMetrics(SM_CXSIZE) + GetSystemMetrics(SM_CXFRAME);
        int cornerY = GetSystemMetrics(SM_CYSIZE) + GetSystemMetrics(SM_CYFRAME);
        bool left = pt.x < g.window.left + cornerX;
        bool right = pt.x >= g.window.right - cornerX;
        bool top = pt.y < g.window.top + cornerY;
        bool bottom = pt.y >= g.window.bottom - cornerY;
        if (pt.x < g.inFrame.left) {
            return top ? HTTOPLEFT : (bottom ? HTBOTTOMLEFT : HTLEFT);
        }
        if (pt.x >= g.inFrame.right) {
            return top ? HTTOPRIGHT : (bottom ? HTBOTTOMRIGHT : HTRIGHT);
        }
        if (pt.y < g.inFrame.top) {
            return left ? HTTOPLEFT : (right ? HTTOPRIGHT : HTTOP);
        }
        return left ? HTBOTTOMLEFT : (right ? HTBOTTOMRIGHT : HTBOTTOM);
    }
    if (!IsRectEmpty(&g.caption) && pt.y < g.caption.bottom + 1 && pt.y >= g.caption.top) {
        if (PtInRect(&g.sysIcon, pt)) {
            return HTSYSMENU;
        }
        if (PtInRect(&g.closeButton, pt)) {
            return HTCLOSE;
        }
        if (PtInRect(&g.maxButton, pt)) {
            return HTMAXBUTTON;
        }
        if (PtInRect(&g.minButton, pt)) {
            return HTMINBUTTON;
        }
        return HTCAPTION;
    }
    if (PtInRect(&g.menu, pt)) {
        return HTMENU;
    }
    if (!PtInRect(&g.inEdge, pt)) {
        return HTBORDER;
    }
    if (PtInRect(&g.vscroll, pt)) {
        return HTVSCROLL;
    }
    if (PtInRect(&g.hscroll, pt)) {
        return HTHSCROLL;
    }
    if (PtInRect(&g.sizeBox, pt)) {
        return (s.style & WS_THICKFRAME) && !(s.style & WS_CHILD) ? HTSIZE : HTNOWHERE;
    }
    return HTNOWHERE;
}

// Draws the frame; `pressed` is a caption button hit code drawn pushed (0 for none).
void DrawNonClient(HWND hwnd, int pressed) {
    NcState s;
    if (!ReadState(hwnd, s)) {
        return;
    }
    RECT win = s.windowScreen;
    OffsetRect(&win, -win.left, -win.top);
    std::function<void(HWND, HMENU, HDC, const RECT&)> menuDraw;
    {
        Lock lock = LockState();
        menuDraw = G().menuHooks.draw;
    }
    NcGeometry g =
        ComputeNc(s.style, s.exStyle, s.menu ? MenuBarHeight(hwnd, Width(win)) : 0, win, s.minimized);
    if (EqualRect(&g.window, &g.client)) {
        return;
    }
    HDC dc = GetWindowDC(hwnd);
    if (!dc) {
        return;
    }
    ExcludeClipRect(dc, g.client.left, g.client.top, g.client.right, g.client.bottom);
    RECT rc = g.window;
    bool thick = (s.style & WS_THICKFRAME) != 0;
    bool dlg = !thick && ((s.style & WS_DLGFRAME) || (s.exStyle & WS_EX_DLGMODALFRAME));
    if (thick || dlg) {
        DrawEdge(dc, &rc, EDGE_RAISED, BF_RECT | BF_ADJUST);
        int band = thick ? GetSystemMetrics(SM_CXFRAME) - GetSystemMetrics(SM_CXEDGE)
                         : GetSystemMetrics(SM_CXDLGFRAME) - GetSystemMetrics(SM_CXEDGE);
        HBRUSH brush = thick ? GetSysColorBrush(s.active ? COLOR_ACTIVEBORDER : COLOR_INACTIVEBORDER)
                             : GetSysColorBrush(COLOR_3DFACE);
        for (int i = 0; i < band; ++i) {
            FrameRect(dc, &rc, brush);
            InflateRect(&rc, -1, -1);
        }
    } else if (s.style & WS_BORDER) {
        FrameRect(dc, &rc, GetSysColorBrush(COLOR_WINDOWFRAME));
        InflateRect(&rc, -1, -1);
    } else if (s.exStyle & WS_EX_STATICEDGE) {
        DrawEdge(dc, &rc, BDR_SUNKENOUTER, BF_RECT | BF_ADJUST);
    }
    if (!IsRectEmpty(&g.caption)) {
        FillRect(dc, &g.caption, GetSysColorBrush(s.active ? COLOR_ACTIVECAPTION : COLOR_INACTIVECAPTION));
        RECT line{g.caption.left, g.caption.bottom, g.caption.right, g.caption.bottom + 1};
        FillRect(dc, &line, GetSysColorBrush(COLOR_3DFACE));
        int textLeft = g.caption.left + 2;
        if (!IsRectEmpty(&g.sysIcon) && s.icon) {
            DrawIconEx(dc, g.sysIcon.left, g.sysIcon.top, s.icon, Width(g.sysIcon), Height(g.sysIcon), 0,
                       nullptr, DI_NORMAL);
            textLeft = g.sysIcon.right + 2;
        }
        int textRight = g.caption.right - 2;
        for (const RECT* b : {&g.closeButton, &g.maxButton, &g.minButton}) {
            if (!IsRectEmpty(b)) {
                textRight = std::min<int>(textRight, b->left - 2);
            }
        }
        if (!s.text.empty() && textRight > textLeft) {
            NONCLIENTMETRICSW ncm{};
            ncm.cbSize = sizeof ncm;
            SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof ncm, &ncm, 0);
            LOGFONTW lf = (s.exStyle & WS_EX_TOOLWINDOW) ? ncm.lfSmCaptionFont : ncm.lfCaptionFont;
            HFONT font = CreateFontIndirectW(&lf);
            HGDIOBJ oldFont = SelectObject(dc, font);
            SetBkMode(dc, TRANSPARENT);
            SetTextColor(dc, GetSysColor(s.active ? COLOR_CAPTIONTEXT : COLOR_INACTIVECAPTIONTEXT));
            RECT textRc{textLeft, g.caption.top, textRight, g.caption.bottom};
            DrawTextW(dc, s.text.c_str(), static_cast<int>(s.text.size()), &textRc,
                      DT_SINGLELINE | DT_VCENTER | DT_LEFT | DT_NOPREFIX | DT_END_ELLIPSIS);
            SelectObject(dc, oldFont);
            DeleteObject(font);
        }
        if (!IsRectEmpty(&g.closeButton)) {
            RECT b = g.closeButton;
            DrawFrameControl(dc, &b, DFC_CAPTION,
                             DFCS_CAPTIONCLOSE | (s.noClose ? DFCS_INACTIVE : 0) |
                                 (pressed == HTCLOSE ? DFCS_PUSHED : 0));
        }
        if (!IsRectEmpty(&g.maxButton)) {
            RECT b = g.maxButton;
            DrawFrameControl(dc, &b, DFC_CAPTION,
                             (s.maximized ? DFCS_CAPTIONRESTORE : DFCS_CAPTIONMAX) |
                                 ((s.style & WS_MAXIMIZEBOX) ? 0 : DFCS_INACTIVE) |
                                 (pressed == HTMAXBUTTON ? DFCS_PUSHED : 0));
        }
        if (!IsRectEmpty(&g.minButton)) {
            RECT b = g.minButton;
            DrawFrameControl(dc, &b, DFC_CAPTION,
                             (s.minimized ? DFCS_CAPTIONRESTORE : DFCS_CAPTIONMIN) |
                                 ((s.style & WS_MINIMIZEBOX) ? 0 : DFCS_INACTIVE) |
                                 (pressed == HTMINBUTTON ? DFCS_PUSHED : 0));
        }
    }
    if (!IsRectEmpty(&g.menu)) {
        if (menuDraw) {
            menuDraw(hwnd, s.menu, dc, g.menu);
        } else {
            MenuBarDraw(hwnd, s.menu, dc, g.menu);
        }
    }
    if (s.exStyle & WS_EX_CLIENTEDGE) {
        RECT edge = g.inEdge;
        InflateRect(&edge, GetSystemMetrics(SM_CXEDGE), GetSystemMetrics(SM_CYEDGE));
        DrawEdge(dc, &edge, EDGE_SUNKEN, BF_RECT);
    }
    DrawWindowScrollBars(hwnd, dc);
    if (!IsRectEmpty(&g.sizeBox)) {
        FillRect(dc, &g.sizeBox, GetSysColorBrush(COLOR_3DFACE));
    }
    ReleaseDC(hwnd, dc);
}

void DefNcPaint(HWND hwnd, HRGN) {
    DrawNonClient(hwnd, 0);
}

} // namespace display_detail
