// The window-message entries of message maps (ON_WM_xxx): each names a cracker that unpacks wParam and
// lParam into the handler's own parameter types. Included by CWnd.h.
#pragma once

// The handler receives whatever object stands for the scroll bar (a control's own class, or a temporary);
// handlers compare it with their controls or call the scroll-bar members on it, as the framework allows.
inline CScrollBar* AfxScrollBarFromHandle(HWND hWnd) {
    return reinterpret_cast<CScrollBar*>(CWnd::FromHandle(hWnd));
}

template <class T, auto F, class Cracker>
BOOL AfxThunkWindow(CCmdTarget* target, AFX_MSGCALL& call) {
    call.result = Cracker::Call(static_cast<T*>(target), F, call);
    return TRUE;
}

struct AfxCrack_v {
    template <class T, class F>
    static LRESULT Call(T* p, F f, [[maybe_unused]] AFX_MSGCALL& c) {
        (p->*f)();
        return 0;
    }
};

struct AfxCrack_Create {
    template <class T, class F>
    static LRESULT Call(T* p, F f, [[maybe_unused]] AFX_MSGCALL& c) {
        return (p->*f)(reinterpret_cast<LPCREATESTRUCT>(c.lParam)) == -1 ? -1 : 0;
    }
};

struct AfxCrack_NcCreate {
    template <class T, class F>
    static LRESULT Call(T* p, F f, [[maybe_unused]] AFX_MSGCALL& c) {
        return (p->*f)(reinterpret_cast<LPCREATESTRUCT>(c.lParam)) ? TRUE : FALSE;
    }
};

struct AfxCrack_b_DC {
    template <class T, class F>
    static LRESULT Call(T* p, F f, [[maybe_unused]] AFX_MSGCALL& c) {
        return (p->*f)(CDC::FromHandle(reinterpret_cast<HDC>(c.wParam))) ? TRUE : FALSE;
    }
};

struct AfxCrack_Size {
    template <class T, class F>
    static LRESULT Call(T* p, F f, [[maybe_unused]] AFX_MSGCALL& c) {
        (p->*f)(static_cast<UINT>(c.wParam), static_cast<int>(LOWORD(c.lParam)),
                static_cast<int>(HIWORD(c.lParam)));
        return 0;
    }
};

struct AfxCrack_Move {
    template <class T, class F>
    static LRESULT Call(T* p, F f, [[maybe_unused]] AFX_MSGCALL& c) {
        (p->*f)(GET_X_LPARAM(c.lParam), GET_Y_LPARAM(c.lParam));
        return 0;
    }
};

struct AfxCrack_u_rect {
    template <class T, class F>
    static LRESULT Call(T* p, F f, [[maybe_unused]] AFX_MSGCALL& c) {
        (p->*f)(static_cast<UINT>(c.wParam), reinterpret_cast<LPRECT>(c.lParam));
        return TRUE;
    }
};

struct AfxCrack_Timer {
    template <class T, class F>
    static LRESULT Call(T* p, F f, [[maybe_unused]] AFX_MSGCALL& c) {
        (p->*f)(static_cast<UINT_PTR>(c.wParam));
        return 0;
    }
};

struct AfxCrack_Mouse {
    template <class T, class F>
    static LRESULT Call(T* p, F f, [[maybe_unused]] AFX_MSGCALL& c) {
        (p->*f)(static_cast<UINT>(c.wParam), CPoint(GET_X_LPARAM(c.lParam), GET_Y_LPARAM(c.lParam)));
        return 0;
    }
};

struct AfxCrack_Wheel {
    template <class T, class F>
    static LRESULT Call(T* p, F f, [[maybe_unused]] AFX_MSGCALL& c) {
        return (p->*f)(static_cast<UINT>(LOWORD(c.wParam)), static_cast<short>(HIWORD(c.wParam)),
                       CPoint(GET_X_LPARAM(c.lParam), GET_Y_LPARAM(c.lParam)))
                   ? TRUE
                   : FALSE;
    }
};

struct AfxCrack_Key {
    template <class T, class F>
    static LRESULT Call(T* p, F f, [[maybe_unused]] AFX_MSGCALL& c) {
        (p->*f)(static_cast<UINT>(c.wParam), static_cast<UINT>(LOWORD(c.lParam)),
                static_cast<UINT>(HIWORD(c.lParam)));
        return 0;
    }
};

struct AfxCrack_Wnd {
    template <class T, class F>
    static LRESULT Call(T* p, F f, [[maybe_unused]] AFX_MSGCALL& c) {
        (p->*f)(CWnd::FromHandle(reinterpret_cast<HWND>(c.wParam)));
        return 0;
    }
};

struct AfxCrack_WndL {
    template <class T, class F>
    static LRESULT Call(T* p, F f, [[maybe_unused]] AFX_MSGCALL& c) {
        (p->*f)(CWnd::FromHandle(reinterpret_cast<HWND>(c.lParam)));
        return 0;
    }
};

struct AfxCrack_Scroll {
    template <class T, class F>
    static LRESULT Call(T* p, F f, [[maybe_unused]] AFX_MSGCALL& c) {
        (p->*f)(static_cast<UINT>(LOWORD(c.wParam)), static_cast<UINT>(HIWORD(c.wParam)),
                AfxScrollBarFromHandle(reinterpret_cast<HWND>(c.lParam)));
        return 0;
    }
};

struct AfxCrack_SetCursor {
    template <class T, class F>
    static LRESULT Call(T* p, F f, [[maybe_unused]] AFX_MSGCALL& c) {
        return (p->*f)(CWnd::FromHandle(reinterpret_cast<HWND>(c.wParam)),
                       static_cast<UINT>(LOWORD(c.lParam)), static_cast<UINT>(HIWORD(c.lParam)))
                   ? TRUE
                   : FALSE;
    }
};

struct AfxCrack_CtlColor {
    template <class T, class F>
    static LRESULT Call(T* p, F f, [[maybe_unused]] AFX_MSGCALL& c) {
        return reinterpret_cast<LRESULT>(
            static_cast<HBRUSH>((p->*f)(CDC::FromHandle(reinterpret_cast<HDC>(c.wParam)),
                                        CWnd::FromHandle(reinterpret_cast<HWND>(c.lParam)), c.nID)));
    }
};

struct AfxCrack_CtlColorReflect {
    template <class T, class F>
    static LRESULT Call(T* p, F f, [[maybe_unused]] AFX_MSGCALL& c) {
        return reinterpret_cast<LRESULT>(
            static_cast<HBRUSH>((p->*f)(CDC::FromHandle(reinterpret_cast<HDC>(c.wParam)), c.nID)));
    }
};

struct AfxCrack_u_v {
    template <class T, class F>
    static LRESULT Call(T* p, F f, [[maybe_unused]] AFX_MSGCALL& c) {
        return static_cast<LRESULT>((p->*f)());
    }
};

struct AfxCrack_b_v {
    template <class T, class F>
    static LRESULT Call(T* p, F f, [[maybe_unused]] AFX_MSGCALL& c) {
        return (p->*f)() ? TRUE : FALSE;
    }
};

struct AfxCrack_HitTest {
    template <class T, class F>
    static LRESULT Call(T* p, F f, [[maybe_unused]] AFX_MSGCALL& c) {
        return static_cast<LRESULT>((p->*f)(CPoint(GET_X_LPARAM(c.lParam), GET_Y_LPARAM(c.lParam))));
    }
};

struct AfxCrack_NcCalcSize {
    template <class T, class F>
    static LRESULT Call(T* p, F f, [[maybe_unused]] AFX_MSGCALL& c) {
        (p->*f)(static_cast<BOOL>(c.wParam), reinterpret_cast<NCCALCSIZE_PARAMS*>(c.lParam));
        return 0;
    }
};

struct AfxCrack_b_b {
    template <class T, class F>
    static LRESULT Call(T* p, F f, [[maybe_unused]] AFX_MSGCALL& c) {
        return (p->*f)(static_cast<BOOL>(c.wParam)) ? TRUE : FALSE;
    }
};

struct AfxCrack_v_b {
    template <class T, class F>
    static LRESULT Call(T* p, F f, [[maybe_unused]] AFX_MSGCALL& c) {
        (p->*f)(static_cast<BOOL>(c.wParam));
        return 0;
    }
};

struct AfxCrack_ShowWindow {
    template <class T, class F>
    static LRESULT Call(T* p, F f, [[maybe_unused]] AFX_MSGCALL& c) {
        (p->*f)(static_cast<BOOL>(c.wParam), static_cast<UINT>(c.lParam));
        return 0;
    }
};

struct AfxCrack_Activate {
    template <class T, class F>
    static LRESULT Call(T* p, F f, [[maybe_unused]] AFX_MSGCALL& c) {
        (p->*f)(static_cast<UINT>(LOWORD(c.wParam)), CWnd::FromHandle(reinterpret_cast<HWND>(c.lParam)),
                static_cast<BOOL>(HIWORD(c.wParam)));
        return 0;
    }
};

struct AfxCrack_ActivateApp {
    template <class T, class F>
    static LRESULT Call(T* p, F f, [[maybe_unused]] AFX_MSGCALL& c) {
        (p->*f)(static_cast<BOOL>(c.wParam), static_cast<DWORD>(c.lParam));
        return 0;
    }
};

struct AfxCrack_MouseActivate {
    template <class T, class F>
    static LRESULT Call(T* p, F f, [[maybe_unused]] AFX_MSGCALL& c) {
        return static_cast<LRESULT>((p->*f)(CWnd::FromHandle(reinterpret_cast<HWND>(c.wParam)),
                                            static_cast<UINT>(LOWORD(c.lParam)),
                                            static_cast<UINT>(HIWORD(c.lParam))));
    }
};

struct AfxCrack_SettingChange {
    template <class T, class F>
    static LRESULT Call(T* p, F f, [[maybe_unused]] AFX_MSGCALL& c) {
        (p->*f)(static_cast<UINT>(c.wParam), reinterpret_cast<LPCTSTR>(c.lParam));
        return 0;
    }
};

struct AfxCrack_WinIniChange {
    template <class T, class F>
    static LRESULT Call(T* p, F f, [[maybe_unused]] AFX_MSGCALL& c) {
        (p->*f)(reinterpret_cast<LPCTSTR>(c.lParam));
        return 0;
    }
};

struct AfxCrack_DrawItem {
    template <class T, class F>
    static LRESULT Call(T* p, F f, [[maybe_unused]] AFX_MSGCALL& c) {
        (p->*f)(static_cast<int>(c.wParam), reinterpret_cast<LPDRAWITEMSTRUCT>(c.lParam));
        return TRUE;
    }
};

struct AfxCrack_MeasureItem {
    template <class T, class F>
    static LRESULT Call(T* p, F f, [[maybe_unused]] AFX_MSGCALL& c) {
        (p->*f)(static_cast<int>(c.wParam), reinterpret_cast<LPMEASUREITEMSTRUCT>(c.lParam));
        return TRUE;
    }
};

struct AfxCrack_InitMenu {
    template <class T, class F>
    static LRESULT Call(T* p, F f, [[maybe_unused]] AFX_MSGCALL& c) {
        (p->*f)(CMenu::FromHandle(reinterpret_cast<HMENU>(c.wParam)));
        return 0;
    }
};

struct AfxCrack_InitMenuPopup {
    template <class T, class F>
    static LRESULT Call(T* p, F f, [[maybe_unused]] AFX_MSGCALL& c) {
        (p->*f)(CMenu::FromHandle(reinterpret_cast<HMENU>(c.wParam)), static_cast<UINT>(LOWORD(c.lParam)),
                static_cast<BOOL>(HIWORD(c.lParam)));
        return 0;
    }
};

struct AfxCrack_MenuSelect {
    template <class T, class F>
    static LRESULT Call(T* p, F f, [[maybe_unused]] AFX_MSGCALL& c) {
        (p->*f)(static_cast<UINT>(LOWORD(c.wParam)), static_cast<UINT>(HIWORD(c.wParam)),
                reinterpret_cast<HMENU>(c.lParam));
        return 0;
    }
};

struct AfxCrack_MenuChar {
    template <class T, class F>
    static LRESULT Call(T* p, F f, [[maybe_unused]] AFX_MSGCALL& c) {
        return (p->*f)(static_cast<UINT>(LOWORD(c.wParam)), static_cast<UINT>(HIWORD(c.wParam)),
                       CMenu::FromHandle(reinterpret_cast<HMENU>(c.lParam)));
    }
};

struct AfxCrack_EnterIdle {
    template <class T, class F>
    static LRESULT Call(T* p, F f, [[maybe_unused]] AFX_MSGCALL& c) {
        (p->*f)(static_cast<UINT>(c.wParam), CWnd::FromHandle(reinterpret_cast<HWND>(c.lParam)));
        return 0;
    }
};

struct AfxCrack_ParentNotify {
    template <class T, class F>
    static LRESULT Call(T* p, F f, [[maybe_unused]] AFX_MSGCALL& c) {
        (p->*f)(static_cast<UINT>(c.wParam), c.lParam);
        return 0;
    }
};

struct AfxCrack_ContextMenu {
    template <class T, class F>
    static LRESULT Call(T* p, F f, [[maybe_unused]] AFX_MSGCALL& c) {
        (p->*f)(CWnd::FromHandle(reinterpret_cast<HWND>(c.wParam)),
                CPoint(GET_X_LPARAM(c.lParam), GET_Y_LPARAM(c.lParam)));
        return 0;
    }
};

struct AfxCrack_SysCommand {
    template <class T, class F>
    static LRESULT Call(T* p, F f, [[maybe_unused]] AFX_MSGCALL& c) {
        (p->*f)(static_cast<UINT>(c.wParam), c.lParam);
        return 0;
    }
};

struct AfxCrack_MinMax {
    template <class T, class F>
    static LRESULT Call(T* p, F f, [[maybe_unused]] AFX_MSGCALL& c) {
        (p->*f)(reinterpret_cast<MINMAXINFO*>(c.lParam));
        return 0;
    }
};

struct AfxCrack_WindowPos {
    template <class T, class F>
    static LRESULT Call(T* p, F f, [[maybe_unused]] AFX_MSGCALL& c) {
        (p->*f)(reinterpret_cast<WINDOWPOS*>(c.lParam));
        return 0;
    }
};

struct AfxCrack_Style {
    template <class T, class F>
    static LRESULT Call(T* p, F f, [[maybe_unused]] AFX_MSGCALL& c) {
        (p->*f)(static_cast<int>(c.wParam), reinterpret_cast<LPSTYLESTRUCT>(c.lParam));
        return 0;
    }
};

struct AfxCrack_HelpInfo {
    template <class T, class F>
    static LRESULT Call(T* p, F f, [[maybe_unused]] AFX_MSGCALL& c) {
        return (p->*f)(reinterpret_cast<HELPINFO*>(c.lParam)) ? TRUE : FALSE;
    }
};

struct AfxCrack_CopyData {
    template <class T, class F>
    static LRESULT Call(T* p, F f, [[maybe_unused]] AFX_MSGCALL& c) {
        return (p->*f)(CWnd::FromHandle(reinterpret_cast<HWND>(c.wParam)),
                       reinterpret_cast<COPYDATASTRUCT*>(c.lParam))
                   ? TRUE
                   : FALSE;
    }
};

struct AfxCrack_DeviceChange {
    template <class T, class F>
    static LRESULT Call(T* p, F f, [[maybe_unused]] AFX_MSGCALL& c) {
        return (p->*f)(static_cast<UINT>(c.wParam), static_cast<DWORD_PTR>(c.lParam)) ? TRUE : FALSE;
    }
};

#define AFX_WM_ENTRY(message, cracker, memberFxn)                                                            \
    {static_cast<UINT>(message),                                                                             \
     AfxKindWindow,                                                                                          \
     0,                                                                                                      \
     0,                                                                                                      \
     0,                                                                                                      \
     nullptr,                                                                                                \
     &AfxThunkWindow<ThisClass, &ThisClass::memberFxn, AfxCrack_##cracker>},

#define ON_WM_CREATE() AFX_WM_ENTRY(WM_CREATE, Create, OnCreate)
#define ON_WM_NCCREATE() AFX_WM_ENTRY(WM_NCCREATE, NcCreate, OnNcCreate)
#define ON_WM_DESTROY() AFX_WM_ENTRY(WM_DESTROY, v, OnDestroy)
#define ON_WM_NCDESTROY() AFX_WM_ENTRY(WM_NCDESTROY, v, OnNcDestroy)
#define ON_WM_PAINT() AFX_WM_ENTRY(WM_PAINT, v, OnPaint)
#define ON_WM_NCPAINT() AFX_WM_ENTRY(WM_NCPAINT, v, OnNcPaint)
#define ON_WM_ERASEBKGND() AFX_WM_ENTRY(WM_ERASEBKGND, b_DC, OnEraseBkgnd)
#define ON_WM_SIZE() AFX_WM_ENTRY(WM_SIZE, Size, OnSize)
#define ON_WM_MOVE() AFX_WM_ENTRY(WM_MOVE, Move, OnMove)
#define ON_WM_SIZING() AFX_WM_ENTRY(WM_SIZING, u_rect, OnSizing)
#define ON_WM_MOVING() AFX_WM_ENTRY(WM_MOVING, u_rect, OnMoving)
#define ON_WM_TIMER() AFX_WM_ENTRY(WM_TIMER, Timer, OnTimer)
#define ON_WM_CLOSE() AFX_WM_ENTRY(WM_CLOSE, v, OnClose)
#define ON_WM_LBUTTONDOWN() AFX_WM_ENTRY(WM_LBUTTONDOWN, Mouse, OnLButtonDown)
#define ON_WM_LBUTTONUP() AFX_WM_ENTRY(WM_LBUTTONUP, Mouse, OnLButtonUp)
#define ON_WM_LBUTTONDBLCLK() AFX_WM_ENTRY(WM_LBUTTONDBLCLK, Mouse, OnLButtonDblClk)
#define ON_WM_RBUTTONDOWN() AFX_WM_ENTRY(WM_RBUTTONDOWN, Mouse, OnRButtonDown)
#define ON_WM_RBUTTONUP() AFX_WM_ENTRY(WM_RBUTTONUP, Mouse, OnRButtonUp)
#define ON_WM_RBUTTONDBLCLK() AFX_WM_ENTRY(WM_RBUTTONDBLCLK, Mouse, OnRButtonDblClk)
#define ON_WM_MBUTTONDOWN() AFX_WM_ENTRY(WM_MBUTTONDOWN, Mouse, OnMButtonDown)
#define ON_WM_MBUTTONUP() AFX_WM_ENTRY(WM_MBUTTONUP, Mouse, OnMButtonUp)
#define ON_WM_MBUTTONDBLCLK() AFX_WM_ENTRY(WM_MBUTTONDBLCLK, Mouse, OnMButtonDblClk)
#define ON_WM_MOUSEMOVE() AFX_WM_ENTRY(WM_MOUSEMOVE, Mouse, OnMouseMove)
#define ON_WM_MOUSEWHEEL() AFX_WM_ENTRY(WM_MOUSEWHEEL, Wheel, OnMouseWheel)
#define ON_WM_NCLBUTTONDOWN() AFX_WM_ENTRY(WM_NCLBUTTONDOWN, Mouse, OnNcLButtonDown)
#define ON_WM_NCLBUTTONUP() AFX_WM_ENTRY(WM_NCLBUTTONUP, Mouse, OnNcLButtonUp)
#define ON_WM_NCLBUTTONDBLCLK() AFX_WM_ENTRY(WM_NCLBUTTONDBLCLK, Mouse, OnNcLButtonDblClk)
#define ON_WM_NCRBUTTONDOWN() AFX_WM_ENTRY(WM_NCRBUTTONDOWN, Mouse, OnNcRButtonDown)
#define ON_WM_NCRBUTTONUP() AFX_WM_ENTRY(WM_NCRBUTTONUP, Mouse, OnNcRButtonUp)
#define ON_WM_NCMOUSEMOVE() AFX_WM_ENTRY(WM_NCMOUSEMOVE, Mouse, OnNcMouseMove)
#define ON_WM_KEYDOWN() AFX_WM_ENTRY(WM_KEYDOWN, Key, OnKeyDown)
#define ON_WM_KEYUP() AFX_WM_ENTRY(WM_KEYUP, Key, OnKeyUp)
#define ON_WM_CHAR() AFX_WM_ENTRY(WM_CHAR, Key, OnChar)
#define ON_WM_DEADCHAR() AFX_WM_ENTRY(WM_DEADCHAR, Key, OnDeadChar)
#define ON_WM_SYSKEYDOWN() AFX_WM_ENTRY(WM_SYSKEYDOWN, Key, OnSysKeyDown)
#define ON_WM_SYSKEYUP() AFX_WM_ENTRY(WM_SYSKEYUP, Key, OnSysKeyUp)
#define ON_WM_SYSCHAR() AFX_WM_ENTRY(WM_SYSCHAR, Key, OnSysChar)
#define ON_WM_SETFOCUS() AFX_WM_ENTRY(WM_SETFOCUS, Wnd, OnSetFocus)
#define ON_WM_KILLFOCUS() AFX_WM_ENTRY(WM_KILLFOCUS, Wnd, OnKillFocus)
#define ON_WM_HSCROLL() AFX_WM_ENTRY(WM_HSCROLL, Scroll, OnHScroll)
#define ON_WM_VSCROLL() AFX_WM_ENTRY(WM_VSCROLL, Scroll, OnVScroll)
#define ON_WM_SETCURSOR() AFX_WM_ENTRY(WM_SETCURSOR, SetCursor, OnSetCursor)
#define ON_WM_CTLCOLOR() AFX_WM_ENTRY(WM_CTLCOLOR, CtlColor, OnCtlColor)
#define ON_WM_GETDLGCODE() AFX_WM_ENTRY(WM_GETDLGCODE, u_v, OnGetDlgCode)
#define ON_WM_NCHITTEST() AFX_WM_ENTRY(WM_NCHITTEST, HitTest, OnNcHitTest)
#define ON_WM_NCCALCSIZE() AFX_WM_ENTRY(WM_NCCALCSIZE, NcCalcSize, OnNcCalcSize)
#define ON_WM_NCACTIVATE() AFX_WM_ENTRY(WM_NCACTIVATE, b_b, OnNcActivate)
#define ON_WM_SHOWWINDOW() AFX_WM_ENTRY(WM_SHOWWINDOW, ShowWindow, OnShowWindow)
#define ON_WM_ACTIVATE() AFX_WM_ENTRY(WM_ACTIVATE, Activate, OnActivate)
#define ON_WM_ACTIVATEAPP() AFX_WM_ENTRY(WM_ACTIVATEAPP, ActivateApp, OnActivateApp)
#define ON_WM_MOUSEACTIVATE() AFX_WM_ENTRY(WM_MOUSEACTIVATE, MouseActivate, OnMouseActivate)
#define ON_WM_CANCELMODE() AFX_WM_ENTRY(WM_CANCELMODE, v, OnCancelMode)
#define ON_WM_CAPTURECHANGED() AFX_WM_ENTRY(WM_CAPTURECHANGED, WndL, OnCaptureChanged)
#define ON_WM_SYSCOLORCHANGE() AFX_WM_ENTRY(WM_SYSCOLORCHANGE, v, OnSysColorChange)
#define ON_WM_SETTINGCHANGE() AFX_WM_ENTRY(WM_SETTINGCHANGE, SettingChange, OnSettingChange)
#define ON_WM_WININICHANGE() AFX_WM_ENTRY(WM_WININICHANGE, WinIniChange, OnWinIniChange)
#define ON_WM_TIMECHANGE() AFX_WM_ENTRY(WM_TIMECHANGE, v, OnTimeChange)
#define ON_WM_FONTCHANGE() AFX_WM_ENTRY(WM_FONTCHANGE, v, OnFontChange)
#define ON_WM_DRAWITEM() AFX_WM_ENTRY(WM_DRAWITEM, DrawItem, OnDrawItem)
#define ON_WM_MEASUREITEM() AFX_WM_ENTRY(WM_MEASUREITEM, MeasureItem, OnMeasureItem)
#define ON_WM_INITMENU() AFX_WM_ENTRY(WM_INITMENU, InitMenu, OnInitMenu)
#define ON_WM_INITMENUPOPUP() AFX_WM_ENTRY(WM_INITMENUPOPUP, InitMenuPopup, OnInitMenuPopup)
#define ON_WM_MENUSELECT() AFX_WM_ENTRY(WM_MENUSELECT, MenuSelect, OnMenuSelect)
#define ON_WM_MENUCHAR() AFX_WM_ENTRY(WM_MENUCHAR, MenuChar, OnMenuChar)
#define ON_WM_ENTERMENULOOP() AFX_WM_ENTRY(WM_ENTERMENULOOP, v_b, OnEnterMenuLoop)
#define ON_WM_EXITMENULOOP() AFX_WM_ENTRY(WM_EXITMENULOOP, v_b, OnExitMenuLoop)
#define ON_WM_ENTERIDLE() AFX_WM_ENTRY(WM_ENTERIDLE, EnterIdle, OnEnterIdle)
#define ON_WM_PARENTNOTIFY() AFX_WM_ENTRY(WM_PARENTNOTIFY, ParentNotify, OnParentNotify)
#define ON_WM_CONTEXTMENU() AFX_WM_ENTRY(WM_CONTEXTMENU, ContextMenu, OnContextMenu)
#define ON_WM_SYSCOMMAND() AFX_WM_ENTRY(WM_SYSCOMMAND, SysCommand, OnSysCommand)
#define ON_WM_GETMINMAXINFO() AFX_WM_ENTRY(WM_GETMINMAXINFO, MinMax, OnGetMinMaxInfo)
#define ON_WM_WINDOWPOSCHANGING() AFX_WM_ENTRY(WM_WINDOWPOSCHANGING, WindowPos, OnWindowPosChanging)
#define ON_WM_WINDOWPOSCHANGED() AFX_WM_ENTRY(WM_WINDOWPOSCHANGED, WindowPos, OnWindowPosChanged)
#define ON_WM_STYLECHANGING() AFX_WM_ENTRY(WM_STYLECHANGING, Style, OnStyleChanging)
#define ON_WM_STYLECHANGED() AFX_WM_ENTRY(WM_STYLECHANGED, Style, OnStyleChanged)
#define ON_WM_ENABLE() AFX_WM_ENTRY(WM_ENABLE, v_b, OnEnable)
#define ON_WM_QUERYENDSESSION() AFX_WM_ENTRY(WM_QUERYENDSESSION, b_v, OnQueryEndSession)
#define ON_WM_ENDSESSION() AFX_WM_ENTRY(WM_ENDSESSION, v_b, OnEndSession)
#define ON_WM_HELPINFO() AFX_WM_ENTRY(WM_HELP, HelpInfo, OnHelpInfo)
#define ON_WM_PALETTECHANGED() AFX_WM_ENTRY(WM_PALETTECHANGED, Wnd, OnPaletteChanged)
#define ON_WM_QUERYNEWPALETTE() AFX_WM_ENTRY(WM_QUERYNEWPALETTE, b_v, OnQueryNewPalette)
#define ON_WM_CHILDACTIVATE() AFX_WM_ENTRY(WM_CHILDACTIVATE, v, OnChildActivate)
#define ON_WM_COPYDATA() AFX_WM_ENTRY(WM_COPYDATA, CopyData, OnCopyData)
#define ON_WM_DEVICECHANGE() AFX_WM_ENTRY(WM_DEVICECHANGE, DeviceChange, OnDeviceChange)
// The control handles its own WM_CTLCOLOR before its parent: HBRUSH CtlColor(CDC*, UINT nCtlColor),
// a null brush leaving it to the parent.
#define ON_WM_CTLCOLOR_REFLECT() AFX_WM_ENTRY(WM_REFLECT_BASE + WM_CTLCOLOR, CtlColorReflect, CtlColor)
