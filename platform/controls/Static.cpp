// The "Static" class: labels, frames and rectangles, etched lines, icons and bitmaps.
#include "platform/controls/ControlsCommon.h"
#include "platform/controls/StandardControls.h"

namespace {

using namespace controls;

struct StaticState {
    HFONT font = nullptr;
    HANDLE image = nullptr; // HICON for SS_ICON, HBITMAP for SS_BITMAP
};

DWORD TypeOf(DWORD style) {
    return style & SS_TYPEMASK;
}

void PaintText(HWND hwnd, HDC dc, DWORD style, RECT rect) {
    DWORD type = TypeOf(style);
    HBRUSH back = ControlColor(hwnd, dc, WM_CTLCOLORSTATIC);
    std::u16string text = WindowText(hwnd);
    UINT format = DT_EXPANDTABS;
    switch (type) {
    case SS_CENTER:
        format |= DT_CENTER | DT_WORDBREAK;
        break;
    case SS_RIGHT:
        format |= DT_RIGHT | DT_WORDBREAK;
        break;
    case SS_LEFTNOWORDWRAP:
    case SS_SIMPLE:
        format |= DT_LEFT | DT_SINGLELINE;
        break;
    default:
        format |= DT_LEFT | DT_WORDBREAK;
        break;
    }
    if (style & SS_NOPREFIX) {
        format |= DT_NOPREFIX;
    }
    if (style & SS_CENTERIMAGE) {
        format = (format & ~DT_WORDBREAK) | DT_SINGLELINE | DT_VCENTER;
    }
    switch (style & SS_ELLIPSISMASK) {
    case SS_ENDELLIPSIS:
        format |= DT_END_ELLIPSIS;
        break;
    case SS_PATHELLIPSIS:
        format |= DT_PATH_ELLIPSIS;
        break;
    case SS_WORDELLIPSIS:
        format |= DT_WORD_ELLIPSIS;
        break;
    default:
        break;
    }
    if (type != SS_SIMPLE) {
        FillRect(dc, &rect, back);
    }
    if (!IsWindowEnabled(hwnd)) {
        SetTextColor(dc, GetSysColor(COLOR_GRAYTEXT));
    }
    if (type == SS_SIMPLE) {
        // One line, opaque in the DC's background colour, clipped to the window.
        SetBkMode(dc, OPAQUE);
        ExtTextOutW(dc, rect.left, rect.top, ETO_OPAQUE | ETO_CLIPPED, &rect, text.c_str(),
                    static_cast<UINT>(text.size()), nullptr);
        return;
    }
    SetBkMode(dc, TRANSPARENT);
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &rect, format);
}

void Paint(HWND hwnd, HDC dc, StaticState* state) {
    RECT rect;
    GetClientRect(hwnd, &rect);
    DWORD style = ClassStyle(hwnd);
    DWORD type = TypeOf(style);
    int saved = SaveDC(dc);
    SelectObject(dc, ControlFont(state->font));
    switch (type) {
    case SS_LEFT:
    case SS_CENTER:
    case SS_RIGHT:
    case SS_SIMPLE:
    case SS_LEFTNOWORDWRAP:
        PaintText(hwnd, dc, style, rect);
        break;
    case SS_BLACKRECT:
        FillRect(dc, &rect, GetSysColorBrush(COLOR_WINDOWFRAME));
        break;
    case SS_GRAYRECT:
        FillRect(dc, &rect, GetSysColorBrush(COLOR_BTNSHADOW));
        break;
    case SS_WHITERECT:
        FillRect(dc, &rect, GetSysColorBrush(COLOR_BTNHIGHLIGHT));
        break;
    case SS_BLACKFRAME:
        FrameRect(dc, &rect, GetSysColorBrush(COLOR_WINDOWFRAME));
        break;
    case SS_GRAYFRAME:
        FrameRect(dc, &rect, GetSysColorBrush(COLOR_BTNSHADOW));
        break;
    case SS_WHITEFRAME:
        FrameRect(dc, &rect, GetSysColorBrush(COLOR_BTNHIGHLIGHT));
        break;
    case SS_ETCHEDHORZ:
        DrawEdge(dc, &rect, EDGE_ETCHED, BF_TOP | BF_BOTTOM);
        break;
    case SS_ETCHEDVERT:
        DrawEdge(dc, &rect, EDGE_ETCHED, BF_LEFT | BF_RIGHT);
        break;
    case SS_ETCHEDFRAME:
        DrawEdge(dc, &rect, EDGE_ETCHED, BF_RECT);
        break;
    case SS_ICON: {
        HBRUSH back = ControlColor(hwnd, dc, WM_CTLCOLORSTATIC);
        FillRect(dc, &rect, back);
        if (state->image) {
            DrawIconEx(dc, rect.left, rect.top, static_cast<HICON>(state->image), 0, 0, 0, nullptr,
                       DI_NORMAL);
        }
        break;
    }
    case SS_BITMAP: {
        HBRUSH back = ControlColor(hwnd, dc, WM_CTLCOLORSTATIC);
        FillRect(dc, &rect, back);
        if (state->image) {
            BITMAP info{};
            GetObjectW(state->image, sizeof(info), &info);
            HDC memory = CreateCompatibleDC(dc);
            HGDIOBJ old = SelectObject(memory, state->image);
            int x = rect.left;
            int y = rect.top;
            if (style & SS_CENTERIMAGE) {
                x = (rect.right - info.bmWidth) / 2;
                y = (rect.bottom - info.bmHeight) / 2;
            }
            BitBlt(dc, x, y, info.bmWidth, info.bmHeight, memory, 0, 0, SRCCOPY);
            SelectObject(memory, old);
            DeleteDC(memory);
        }
        break;
    }
    case SS_OWNERDRAW: {
        DRAWITEMSTRUCT item{};
        item.CtlType = ODT_STATIC;
        item.CtlID = static_cast<UINT>(GetDlgCtrlID(hwnd));
        item.itemAction = ODA_DRAWENTIRE;
        item.itemState = IsWindowEnabled(hwnd) ? 0 : ODS_DISABLED;
        item.hwndItem = hwnd;
        item.hDC = dc;
        item.rcItem = rect;
        if (HWND parent = GetParent(hwnd)) {
            SendMessageW(parent, WM_DRAWITEM, item.CtlID, reinterpret_cast<LPARAM>(&item));
        }
        break;
    }
    default:
        break;
    }
    RestoreDC(dc, saved);
}

// SS_SUNKEN is a frame of the window: its client area is inside it.
void DrawSunken(HWND hwnd) {
    if (!(ClassStyle(hwnd) & SS_SUNKEN)) {
        return;
    }
    HDC dc = GetWindowDC(hwnd);
    RECT rect;
    GetWindowRect(hwnd, &rect);
    OffsetRect(&rect, -rect.left, -rect.top);
    DrawEdge(dc, &rect, BDR_SUNKENOUTER, BF_RECT);
    ReleaseDC(hwnd, dc);
}

LRESULT CALLBACK StaticProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    auto* state = StateOf<StaticState>(hwnd);
    if (!state && msg != WM_NCCREATE) {
        return DefWindowProcW(hwnd, msg, wParam, lParam);
    }
    DWORD style = ClassStyle(hwnd);
    DWORD type = TypeOf(style);
    switch (msg) {
    case WM_NCCREATE: {
        state = new StaticState;
        SetState(hwnd, state);
        auto* cs = reinterpret_cast<CREATESTRUCTW*>(lParam);
        DWORD createType = static_cast<DWORD>(cs->style) & SS_TYPEMASK;
        if (createType == SS_ICON || createType == SS_BITMAP) {
            // The window name of an image static names the resource, not a text.
            if (cs->lpszName) {
                HINSTANCE instance = cs->hInstance;
                if (createType == SS_ICON) {
                    state->image = LoadIconW(instance, cs->lpszName);
                }
            }
            CREATESTRUCTW copy = *cs;
            copy.lpszName = nullptr;
            return DefWindowProcW(hwnd, msg, wParam, reinterpret_cast<LPARAM>(&copy));
        }
        return DefWindowProcW(hwnd, msg, wParam, lParam);
    }
    case WM_NCDESTROY:
        SetState(hwnd, nullptr);
        delete state;
        return DefWindowProcW(hwnd, msg, wParam, lParam);
    case WM_NCCALCSIZE: {
        LRESULT result = DefWindowProcW(hwnd, msg, wParam, lParam);
        if (style & SS_SUNKEN) {
            RECT* rect = reinterpret_cast<RECT*>(lParam);
            InflateRect(rect, -1, -1);
        }
        return result;
    }
    case WM_NCPAINT: {
        LRESULT result = DefWindowProcW(hwnd, msg, wParam, lParam);
        DrawSunken(hwnd);
        return result;
    }
    case WM_NCHITTEST:
        if (!(style & SS_NOTIFY)) {
            return HTTRANSPARENT;
        }
        return DefWindowProcW(hwnd, msg, wParam, lParam);
    case WM_GETDLGCODE:
        return DLGC_STATIC;
    case WM_ERASEBKGND:
        return 1;
    case WM_PAINT:
    case WM_PRINTCLIENT: {
        PAINTSTRUCT ps{};
        HDC dc = wParam ? reinterpret_cast<HDC>(wParam) : BeginPaint(hwnd, &ps);
        Paint(hwnd, dc, state);
        if (!wParam) {
            EndPaint(hwnd, &ps);
        }
        return 0;
    }
    case WM_LBUTTONDOWN:
    case WM_NCLBUTTONDOWN:
        if (style & SS_NOTIFY) {
            NotifyParent(hwnd, STN_CLICKED);
        }
        return 0;
    case WM_LBUTTONDBLCLK:
    case WM_NCLBUTTONDBLCLK:
        if (style & SS_NOTIFY) {
            NotifyParent(hwnd, STN_DBLCLK);
        }
        return 0;
    case WM_ENABLE:
        if (style & SS_NOTIFY) {
            NotifyParent(hwnd, wParam ? STN_ENABLE : STN_DISABLE);
        }
        InvalidateRect(hwnd, nullptr, FALSE);
        return 0;
    case WM_SETTEXT: {
        if (type == SS_ICON || type == SS_BITMAP) {
            return TRUE;
        }
        LRESULT result = DefWindowProcW(hwnd, msg, wParam, lParam);
        InvalidateRect(hwnd, nullptr, FALSE);
        return result;
    }
    case WM_SETFONT:
        state->font = reinterpret_cast<HFONT>(wParam);
        if (LOWORD(lParam)) {
            InvalidateRect(hwnd, nullptr, FALSE);
        }
        return 0;
    case WM_GETFONT:
        return reinterpret_cast<LRESULT>(state->font);
    case STM_SETICON:
    case STM_SETIMAGE: {
        if (msg == STM_SETIMAGE && wParam != (type == SS_ICON ? IMAGE_ICON : IMAGE_BITMAP) &&
            !(type == SS_ICON && wParam == IMAGE_CURSOR)) {
            return 0;
        }
        HANDLE image = reinterpret_cast<HANDLE>(msg == STM_SETICON ? wParam : static_cast<WPARAM>(lParam));
        HANDLE old = state->image;
        state->image = image;
        InvalidateRect(hwnd, nullptr, FALSE);
        return reinterpret_cast<LRESULT>(old);
    }
    case STM_GETICON:
        return type == SS_ICON ? reinterpret_cast<LRESULT>(state->image) : 0;
    case STM_GETIMAGE:
        return reinterpret_cast<LRESULT>(state->image);
    default:
        return DefWindowProcW(hwnd, msg, wParam, lParam);
    }
}

} // namespace

void RegisterStaticClass() {
    RegisterControlClass(u"Static", StaticProc, CS_DBLCLKS | CS_PARENTDC, IDC_ARROW, nullptr);
}
