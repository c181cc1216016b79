// The "Static" class: labels, frames and rectangles, etched lines, icons and bitmaps.
#include "platform/controls/ControlsCommon.h"
#include "platform/controls/StandardControls.h"

#include <utility>

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

// An icon at the top left; a bitmap there or, with SS_CENTERIMAGE, in the middle.
void PaintImage(HWND hwnd, HDC dc, DWORD style, RECT rect, HANDLE image) {
    HBRUSH back = ControlColor(hwnd, dc, WM_CTLCOLORSTATIC);
    FillRect(dc, &rect, back);
    if (!image) {
        return;
    }
    if (TypeOf(style) == SS_ICON) {
        DrawIconEx(dc, rect.left, rect.top, static_cast<HICON>(image), 0, 0, 0, nullptr, DI_NORMAL);
        return;
    }
    BITMAP info{};
    GetObjectW(image, sizeof(info), &info);
    HDC memory = CreateCompatibleDC(dc);
    HGDIOBJ old = SelectObject(memory, image);
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

void PaintOwnerDraw(HWND hwnd, HDC dc, RECT rect) {
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
    case SS_ICON:
    case SS_BITMAP:
        PaintImage(hwnd, dc, style, rect, state->image);
        break;
    case SS_OWNERDRAW:
        PaintOwnerDraw(hwnd, dc, rect);
        break;
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

// The window name of an image static names the resource, not a text.
LRESULT OnNcCreate(HWND hwnd, WPARAM wParam, LPARAM lParam) {
    auto* state = new StaticState;
    SetState(hwnd, state);
    auto* cs = reinterpret_cast<CREATESTRUCTW*>(lParam);
    DWORD createType = static_cast<DWORD>(cs->style) & SS_TYPEMASK;
    if (createType != SS_ICON && createType != SS_BITMAP) {
        return DefWindowProcW(hwnd, WM_NCCREATE, wParam, lParam);
    }
    if (cs->lpszName && createType == SS_ICON) {
        // A template names the icon by number as 0xFFFF followed by the id.
        LPCWSTR name = cs->lpszName[0] == 0xFFFF ? MAKEINTRESOURCEW(cs->lpszName[1]) : cs->lpszName;
        state->image = LoadIconW(cs->hInstance, name);
    }
    CREATESTRUCTW copy = *cs;
    copy.lpszName = nullptr;
    return DefWindowProcW(hwnd, WM_NCCREATE, wParam, reinterpret_cast<LPARAM>(&copy));
}

LRESULT OnNcCalcSize(HWND hwnd, DWORD style, WPARAM wParam, LPARAM lParam) {
    LRESULT result = DefWindowProcW(hwnd, WM_NCCALCSIZE, wParam, lParam);
    if (style & SS_SUNKEN) {
        InflateRect(reinterpret_cast<RECT*>(lParam), -1, -1);
    }
    return result;
}

// Clicks, double clicks and enabling reach the parent only with SS_NOTIFY.
LRESULT NotifyIf(HWND hwnd, DWORD style, UINT code) {
    if (style & SS_NOTIFY) {
        NotifyParent(hwnd, code);
    }
    return 0;
}

// An image static has no text.
LRESULT OnSetText(HWND hwnd, DWORD type, WPARAM wParam, LPARAM lParam) {
    if (type == SS_ICON || type == SS_BITMAP) {
        return TRUE;
    }
    LRESULT result = DefWindowProcW(hwnd, WM_SETTEXT, wParam, lParam);
    InvalidateRect(hwnd, nullptr, FALSE);
    return result;
}

// STM_SETIMAGE takes the image type of the static's own type (an icon static also takes a cursor).
LRESULT OnSetImage(HWND hwnd, StaticState* state, DWORD type, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == STM_SETIMAGE && wParam != (type == SS_ICON ? IMAGE_ICON : IMAGE_BITMAP) &&
        !(type == SS_ICON && wParam == IMAGE_CURSOR)) {
        return 0;
    }
    HANDLE image = reinterpret_cast<HANDLE>(msg == STM_SETICON ? wParam : static_cast<WPARAM>(lParam));
    HANDLE old = std::exchange(state->image, image);
    InvalidateRect(hwnd, nullptr, FALSE);
    return reinterpret_cast<LRESULT>(old);
}

LRESULT CALLBACK StaticProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_NCCREATE) {
        return OnNcCreate(hwnd, wParam, lParam);
    }
    auto* state = StateOf<StaticState>(hwnd);
    if (!state) {
        return DefWindowProcW(hwnd, msg, wParam, lParam);
    }
    DWORD style = ClassStyle(hwnd);
    DWORD type = TypeOf(style);
    switch (msg) {
    case WM_NCDESTROY:
        return DestroyState(hwnd, state, wParam, lParam);
    case WM_NCCALCSIZE:
        return OnNcCalcSize(hwnd, style, wParam, lParam);
    case WM_NCPAINT: {
        LRESULT result = DefWindowProcW(hwnd, msg, wParam, lParam);
        DrawSunken(hwnd);
        return result;
    }
    case WM_NCHITTEST:
        return (style & SS_NOTIFY) ? DefWindowProcW(hwnd, msg, wParam, lParam) : HTTRANSPARENT;
    case WM_GETDLGCODE:
        return DLGC_STATIC;
    case WM_ERASEBKGND:
        return 1;
    case WM_PAINT:
    case WM_PRINTCLIENT:
        return PaintClient(hwnd, wParam, [&](HDC dc) { Paint(hwnd, dc, state); });
    case WM_LBUTTONDOWN:
    case WM_NCLBUTTONDOWN:
        return NotifyIf(hwnd, style, STN_CLICKED);
    case WM_LBUTTONDBLCLK:
    case WM_NCLBUTTONDBLCLK:
        return NotifyIf(hwnd, style, STN_DBLCLK);
    case WM_ENABLE:
        NotifyIf(hwnd, style, wParam ? STN_ENABLE : STN_DISABLE);
        InvalidateRect(hwnd, nullptr, FALSE);
        return 0;
    case WM_SETTEXT:
        return OnSetText(hwnd, type, wParam, lParam);
    case WM_SETFONT:
        state->font = reinterpret_cast<HFONT>(wParam);
        if (LOWORD(lParam)) {
            InvalidateRect(hwnd, nullptr, FALSE);
        }
        return 0;
    case WM_GETFONT:
        return reinterpret_cast<LRESULT>(state->font);
    case STM_SETICON:
    case STM_SETIMAGE:
        return OnSetImage(hwnd, state, type, msg, wParam, lParam);
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
