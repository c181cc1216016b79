// The "Button" class: push buttons, check boxes, radio buttons, group boxes and owner-drawn buttons.
#include "platform/controls/ControlsCommon.h"
#include "platform/controls/StandardControls.h"

#include <utility>

namespace {

using namespace controls;

struct ButtonState {
    UINT check = BST_UNCHECKED;
    bool pushed = false;
    bool focused = false;
    bool captured = false; // the mouse went down on the button and is held
    bool spaceDown = false;
    HFONT font = nullptr;
    HANDLE image = nullptr;
};

constexpr int kCheckSize = 13;

DWORD TypeOf(DWORD style) {
    return style & BS_TYPEMASK;
}

bool IsCheckType(DWORD type) {
    return type == BS_CHECKBOX || type == BS_AUTOCHECKBOX || type == BS_3STATE || type == BS_AUTO3STATE;
}
bool IsRadioType(DWORD type) {
    return type == BS_RADIOBUTTON || type == BS_AUTORADIOBUTTON;
}
bool IsPushType(DWORD type) {
    return type == BS_PUSHBUTTON || type == BS_DEFPUSHBUTTON || type == BS_PUSHBOX;
}

void Redraw(HWND hwnd) {
    InvalidateRect(hwnd, nullptr, FALSE);
}

// Unchecks the other auto radio buttons of the group the button belongs to.
void UncheckGroup(HWND hwnd) {
    HWND first = hwnd;
    while (!(GetWindowLongW(first, GWL_STYLE) & WS_GROUP)) {
        HWND prev = GetWindow(first, GW_HWNDPREV);
        if (!prev) {
            break;
        }
        first = prev;
    }
    for (HWND sibling = first; sibling; sibling = GetWindow(sibling, GW_HWNDNEXT)) {
        if (sibling != first && (GetWindowLongW(sibling, GWL_STYLE) & WS_GROUP)) {
            break;
        }
        if (sibling == hwnd) {
            continue;
        }
        LRESULT code = SendMessageW(sibling, WM_GETDLGCODE, 0, 0);
        if ((code & DLGC_RADIOBUTTON) && TypeOf(ClassStyle(sibling)) == BS_AUTORADIOBUTTON) {
            SendMessageW(sibling, BM_SETCHECK, BST_UNCHECKED, 0);
        }
    }
}

// The button was pressed and released over it: the automatic state change, then BN_CLICKED.
void Clicked(HWND hwnd, ButtonState* state) {
    DWORD type = TypeOf(ClassStyle(hwnd));
    switch (type) {
    case BS_AUTOCHECKBOX:
        SendMessageW(hwnd, BM_SETCHECK, state->check == BST_CHECKED ? BST_UNCHECKED : BST_CHECKED, 0);
        break;
    case BS_AUTO3STATE:
        SendMessageW(hwnd, BM_SETCHECK, (state->check + 1) % 3, 0);
        break;
    case BS_AUTORADIOBUTTON:
        SendMessageW(hwnd, BM_SETCHECK, BST_CHECKED, 0);
        UncheckGroup(hwnd);
        break;
    default:
        break;
    }
    NotifyParent(hwnd, BN_CLICKED);
}

void SetPushed(HWND hwnd, ButtonState* state, bool pushed) {
    if (state->pushed != pushed) {
        state->pushed = pushed;
        Redraw(hwnd);
    }
}

void DrawLabel(HDC dc, const std::u16string& text, RECT rect, UINT format, bool enabled) {
    SetBkMode(dc, TRANSPARENT);
    if (!enabled) {
        COLORREF old = SetTextColor(dc, GetSysColor(COLOR_BTNHIGHLIGHT));
        RECT shifted = rect;
        OffsetRect(&shifted, 1, 1);
        DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &shifted, format);
        SetTextColor(dc, GetSysColor(COLOR_BTNSHADOW));
        DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &rect, format);
        SetTextColor(dc, old);
        return;
    }
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &rect, format);
}

UINT TextFormat(DWORD style, UINT defaultAlign) {
    UINT format = (style & BS_MULTILINE) ? DT_WORDBREAK : DT_SINGLELINE;
    switch (style & BS_CENTER) {
    case BS_LEFT:
        format |= DT_LEFT;
        break;
    case BS_RIGHT:
        format |= DT_RIGHT;
        break;
    case BS_CENTER:
        format |= DT_CENTER;
        break;
    default:
        format |= defaultAlign;
        break;
    }
    if (!(style & BS_MULTILINE)) {
        switch (style & BS_VCENTER) {
        case BS_TOP:
            break;
        case BS_BOTTOM:
            format |= DT_BOTTOM;
            break;
        default:
            format |= DT_VCENTER;
            break;
        }
    }
    return format;
}

// The rectangle the label takes inside `area` for a multi-line text, vertically centred.
RECT LabelRect(HDC dc, const std::u16string& text, RECT area, UINT format) {
    if (!(format & DT_WORDBREAK)) {
        return area;
    }
    RECT measure = area;
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &measure, format | DT_CALCRECT);
    int height = measure.bottom - measure.top;
    RECT out = area;
    out.top = area.top + std::max(0, (area.bottom - area.top - height) / 2);
    out.bottom = out.top + height;
    return out;
}

// BS_ICON/BS_BITMAP: the image in place of the text, centred unless the style aligns it.
void DrawImage(HDC dc, RECT area, DWORD style, HANDLE image) {
    int width = 0;
    int height = 0;
    if (style & BS_ICON) {
        width = GetSystemMetrics(SM_CXICON);
        height = GetSystemMetrics(SM_CYICON);
    } else {
        BITMAP info{};
        GetObjectW(image, sizeof(info), &info);
        width = info.bmWidth;
        height = info.bmHeight;
    }
    int x = area.left + (area.right - area.left - width) / 2;
    if ((style & BS_CENTER) == BS_LEFT) {
        x = area.left;
    } else if ((style & BS_CENTER) == BS_RIGHT) {
        x = area.right - width;
    }
    int y = area.top + (area.bottom - area.top - height) / 2;
    if (style & BS_ICON) {
        DrawIconEx(dc, x, y, static_cast<HICON>(image), 0, 0, 0, nullptr, DI_NORMAL);
        return;
    }
    HDC memory = CreateCompatibleDC(dc);
    HGDIOBJ old = SelectObject(memory, image);
    BitBlt(dc, x, y, width, height, memory, 0, 0, SRCCOPY);
    SelectObject(memory, old);
    DeleteDC(memory);
}

void PaintPush(HWND hwnd, HDC dc, ButtonState* state, RECT rect, bool pushedLook) {
    DWORD style = ClassStyle(hwnd);
    bool isDefault = TypeOf(style) == BS_DEFPUSHBUTTON;
    bool enabled = IsWindowEnabled(hwnd);
    // The parent hears of the drawing and may set the text colour; the classic face stays the face colour.
    ControlColor(hwnd, dc, WM_CTLCOLORBTN);
    FillRect(dc, &rect, GetSysColorBrush(COLOR_BTNFACE));
    RECT frame = rect;
    if (isDefault) {
        FrameRect(dc, &frame, GetSysColorBrush(COLOR_WINDOWFRAME));
        InflateRect(&frame, -1, -1);
    }
    if (style & BS_FLAT) {
        FrameRect(dc, &frame, GetSysColorBrush(COLOR_WINDOWFRAME));
        InflateRect(&frame, -1, -1);
    } else if (pushedLook) {
        if (isDefault) {
            FrameRect(dc, &frame, GetSysColorBrush(COLOR_BTNSHADOW));
            InflateRect(&frame, -1, -1);
        } else {
            RECT edge = frame;
            DrawEdge(dc, &edge, EDGE_SUNKEN, BF_RECT | BF_ADJUST);
            frame = edge;
        }
    } else {
        RECT edge = frame;
        DrawEdge(dc, &edge, EDGE_RAISED, BF_RECT | BF_SOFT | BF_ADJUST);
        frame = edge;
    }
    RECT textRect = rect;
    InflateRect(&textRect, -3, -3);
    if (pushedLook) {
        OffsetRect(&textRect, 1, 1);
    }
    if ((style & (BS_ICON | BS_BITMAP)) && state->image) {
        DrawImage(dc, textRect, style, state->image);
    } else {
        std::u16string text = WindowText(hwnd);
        UINT format = TextFormat(style, DT_CENTER);
        DrawLabel(dc, text, LabelRect(dc, text, textRect, format), format, enabled);
    }
    if (state->focused) {
        RECT focus = rect;
        InflateRect(&focus, isDefault ? -4 : -3, isDefault ? -4 : -3);
        DrawFocusRect(dc, &focus);
    }
}

void PaintCheck(HWND hwnd, HDC dc, ButtonState* state, RECT rect) {
    DWORD style = ClassStyle(hwnd);
    DWORD type = TypeOf(style);
    bool enabled = IsWindowEnabled(hwnd);
    HBRUSH back = ControlColor(hwnd, dc, WM_CTLCOLORSTATIC);
    FillRect(dc, &rect, back);
    int top = rect.top + (rect.bottom - rect.top - kCheckSize) / 2;
    RECT box{rect.left, top, rect.left + kCheckSize, top + kCheckSize};
    RECT textRect{box.right + 4, rect.top, rect.right, rect.bottom};
    if (style & BS_LEFTTEXT) {
        box.left = rect.right - kCheckSize;
        box.right = rect.right;
        textRect = RECT{rect.left, rect.top, box.left - 4, rect.bottom};
    }
    UINT kind = IsRadioType(type) ? DFCS_BUTTONRADIO : DFCS_BUTTONCHECK;
    if (state->check == BST_CHECKED) {
        kind |= DFCS_CHECKED;
    } else if (state->check == BST_INDETERMINATE) {
        kind |= DFCS_BUTTON3STATE | DFCS_CHECKED;
    }
    if (state->pushed) {
        kind |= DFCS_PUSHED;
    }
    if (!enabled) {
        kind |= DFCS_INACTIVE;
    }
    if (style & BS_FLAT) {
        kind |= DFCS_FLAT;
    }
    DrawFrameControl(dc, &box, DFC_BUTTON, kind);
    std::u16string text = WindowText(hwnd);
    UINT format = TextFormat(style, DT_LEFT);
    RECT label = LabelRect(dc, text, textRect, format);
    if (enabled) {
        DrawLabel(dc, text, label, format, true);
    } else {
        COLORREF old = SetTextColor(dc, GetSysColor(COLOR_GRAYTEXT));
        SetBkMode(dc, TRANSPARENT);
        DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &label, format);
        SetTextColor(dc, old);
    }
    if (state->focused && !text.empty()) {
        RECT measure = label;
        DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &measure,
                  (format & ~DT_VCENTER) | DT_CALCRECT);
        int height = measure.bottom - measure.top;
        RECT focus = measure;
        if (!(format & DT_WORDBREAK)) {
            focus.top = label.top + (label.bottom - label.top - height) / 2;
            focus.bottom = focus.top + height;
        }
        InflateRect(&focus, 1, 1);
        IntersectRect(&focus, &focus, &rect);
        DrawFocusRect(dc, &focus);
    }
}

void PaintGroup(HWND hwnd, HDC dc, RECT rect) {
    HBRUSH back = ControlColor(hwnd, dc, WM_CTLCOLORSTATIC);
    std::u16string text = WindowText(hwnd);
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc, &metrics);
    RECT frame = rect;
    frame.top += metrics.tmHeight / 2;
    DrawEdge(dc, &frame, EDGE_ETCHED, BF_RECT);
    if (!text.empty()) {
        RECT label{rect.left + 8, rect.top, rect.right - 8, rect.top + metrics.tmHeight};
        DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &label,
                  DT_SINGLELINE | DT_LEFT | DT_CALCRECT);
        label.left -= 1;
        label.right += 1;
        FillRect(dc, &label, back);
        label.left += 1;
        SetBkMode(dc, TRANSPARENT);
        if (!IsWindowEnabled(hwnd)) {
            SetTextColor(dc, GetSysColor(COLOR_GRAYTEXT));
        }
        DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &label, DT_SINGLELINE | DT_LEFT);
    }
}

void PaintOwnerDraw(HWND hwnd, HDC dc, ButtonState* state, RECT rect) {
    DRAWITEMSTRUCT item{};
    item.CtlType = ODT_BUTTON;
    item.CtlID = static_cast<UINT>(GetDlgCtrlID(hwnd));
    item.itemAction = ODA_DRAWENTIRE;
    item.itemState = (state->pushed ? ODS_SELECTED : 0) | (state->focused ? ODS_FOCUS : 0) |
                     (IsWindowEnabled(hwnd) ? 0 : ODS_DISABLED);
    item.hwndItem = hwnd;
    item.hDC = dc;
    item.rcItem = rect;
    ControlColor(hwnd, dc, WM_CTLCOLORBTN);
    HWND parent = GetParent(hwnd);
    if (parent) {
        SendMessageW(parent, WM_DRAWITEM, item.CtlID, reinterpret_cast<LPARAM>(&item));
    }
}

void Paint(HWND hwnd, HDC dc, ButtonState* state) {
    RECT rect;
    GetClientRect(hwnd, &rect);
    int saved = SaveDC(dc);
    SelectObject(dc, ControlFont(state->font));
    DWORD style = ClassStyle(hwnd);
    DWORD type = TypeOf(style);
    if (type == BS_OWNERDRAW) {
        PaintOwnerDraw(hwnd, dc, state, rect);
    } else if (type == BS_GROUPBOX) {
        PaintGroup(hwnd, dc, rect);
    } else if (IsPushType(type) || ((style & BS_PUSHLIKE) && (IsCheckType(type) || IsRadioType(type)))) {
        bool pushedLook = state->pushed || (!IsPushType(type) && state->check != BST_UNCHECKED);
        PaintPush(hwnd, dc, state, rect, pushedLook);
    } else {
        PaintCheck(hwnd, dc, state, rect);
    }
    RestoreDC(dc, saved);
}

void Release(HWND hwnd, ButtonState* state, bool click) {
    bool wasPushed = state->pushed;
    state->captured = false;
    state->spaceDown = false;
    SetPushed(hwnd, state, false);
    if (GetCapture() == hwnd) {
        ReleaseCapture();
    }
    if (click && wasPushed) {
        Clicked(hwnd, state);
    }
}

LRESULT DialogCode(DWORD type) {
    switch (type) {
    case BS_PUSHBUTTON:
    case BS_PUSHBOX:
        return DLGC_BUTTON | DLGC_UNDEFPUSHBUTTON;
    case BS_DEFPUSHBUTTON:
        return DLGC_BUTTON | DLGC_DEFPUSHBUTTON;
    case BS_RADIOBUTTON:
    case BS_AUTORADIOBUTTON:
        return DLGC_BUTTON | DLGC_RADIOBUTTON;
    case BS_GROUPBOX:
        return DLGC_STATIC;
    default:
        return DLGC_BUTTON;
    }
}

bool InClient(HWND hwnd, LPARAM lParam) {
    RECT rect;
    GetClientRect(hwnd, &rect);
    POINT point{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    return PtInRect(&rect, point);
}

// The button shows pushed and holds the mouse until it is released.
LRESULT OnLButtonDown(HWND hwnd, ButtonState* state, DWORD type) {
    if (type == BS_GROUPBOX) {
        return 0;
    }
    SetFocus(hwnd);
    SetCapture(hwnd);
    state->captured = true;
    SetPushed(hwnd, state, true);
    return 0;
}

// Buttons that notify, radio buttons and owner-drawn buttons report a double click; others take it as a
// second click.
LRESULT OnLButtonDblClk(HWND hwnd, ButtonState* state, DWORD type) {
    if (type == BS_GROUPBOX) {
        return 0;
    }
    if ((ClassStyle(hwnd) & BS_NOTIFY) || IsRadioType(type) || type == BS_OWNERDRAW) {
        NotifyParent(hwnd, BN_DOUBLECLICKED);
        return 0;
    }
    return OnLButtonDown(hwnd, state, type);
}

LRESULT OnMouseMove(HWND hwnd, ButtonState* state, LPARAM lParam) {
    if (state->captured && GetCapture() == hwnd) {
        SetPushed(hwnd, state, InClient(hwnd, lParam));
    }
    return 0;
}

// Released on the button: a click.
LRESULT OnLButtonUp(HWND hwnd, ButtonState* state, LPARAM lParam) {
    if (state->captured) {
        state->pushed = state->pushed && InClient(hwnd, lParam);
        Release(hwnd, state, true);
    }
    return 0;
}

LRESULT OnCaptureChanged(HWND hwnd, ButtonState* state, HWND gaining) {
    if (state->captured && gaining != hwnd) {
        state->captured = false;
        SetPushed(hwnd, state, false);
    }
    return 0;
}

// Space pushes the button; its release clicks it.
LRESULT OnKey(HWND hwnd, ButtonState* state, DWORD type, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (wParam == VK_SPACE && msg == WM_KEYDOWN && type != BS_GROUPBOX) {
        if (!state->pushed) {
            state->spaceDown = true;
            SetPushed(hwnd, state, true);
        }
        return 0;
    }
    if (wParam == VK_SPACE && msg == WM_KEYUP && state->spaceDown) {
        Release(hwnd, state, true);
        return 0;
    }
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}

// Losing the focus releases the button without a click.
LRESULT OnFocus(HWND hwnd, ButtonState* state, bool focused) {
    state->focused = focused;
    if (!focused && (state->pushed || state->captured)) {
        Release(hwnd, state, false);
    }
    Redraw(hwnd);
    if (ClassStyle(hwnd) & BS_NOTIFY) {
        NotifyParent(hwnd, focused ? BN_SETFOCUS : BN_KILLFOCUS);
    }
    return 0;
}

LRESULT OnSetCheck(HWND hwnd, ButtonState* state, DWORD type, WPARAM wParam) {
    if (!IsCheckType(type) && !IsRadioType(type)) {
        return 0;
    }
    UINT check = static_cast<UINT>(wParam);
    if (check == BST_INDETERMINATE && type != BS_3STATE && type != BS_AUTO3STATE) {
        check = BST_CHECKED;
    }
    if (check > BST_INDETERMINATE) {
        check = BST_CHECKED;
    }
    if (IsRadioType(type)) {
        // The checked radio button of a group is the one the Tab key reaches.
        LONG style = GetWindowLongW(hwnd, GWL_STYLE);
        LONG wanted = check ? (style | WS_TABSTOP) : (style & ~WS_TABSTOP);
        if (wanted != style) {
            SetWindowLongW(hwnd, GWL_STYLE, wanted);
        }
    }
    if (state->check != check) {
        state->check = check;
        Redraw(hwnd);
    }
    return 0;
}

UINT CheckOf(const ButtonState* state, DWORD type) {
    return (IsCheckType(type) || IsRadioType(type)) ? state->check : 0;
}

LRESULT OnSetStyle(HWND hwnd, WPARAM wParam, LPARAM lParam) {
    LONG style = GetWindowLongW(hwnd, GWL_STYLE);
    SetWindowLongW(hwnd, GWL_STYLE, (style & ~0xFFFF) | static_cast<LONG>(LOWORD(wParam)));
    if (LOWORD(lParam)) {
        Redraw(hwnd);
    }
    return 0;
}

// The BM_* messages.
LRESULT ButtonMessage(HWND hwnd, ButtonState* state, DWORD type, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case BM_GETCHECK:
        return CheckOf(state, type);
    case BM_SETCHECK:
        return OnSetCheck(hwnd, state, type, wParam);
    case BM_GETSTATE:
        return CheckOf(state, type) | (state->pushed ? BST_PUSHED : 0) | (state->focused ? BST_FOCUS : 0);
    case BM_SETSTATE:
        SetPushed(hwnd, state, wParam != 0);
        return 0;
    case BM_SETSTYLE:
        return OnSetStyle(hwnd, wParam, lParam);
    case BM_CLICK:
        if (IsWindowEnabled(hwnd)) {
            SendMessageW(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, 0);
            SendMessageW(hwnd, WM_LBUTTONUP, 0, 0);
        }
        return 0;
    case BM_GETIMAGE:
        return reinterpret_cast<LRESULT>(state->image);
    case BM_SETIMAGE: {
        HANDLE old = std::exchange(state->image, reinterpret_cast<HANDLE>(lParam));
        Redraw(hwnd);
        return reinterpret_cast<LRESULT>(old);
    }
    default:
        return DefWindowProcW(hwnd, msg, wParam, lParam);
    }
}

LRESULT CALLBACK ButtonProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_NCCREATE) {
        SetState(hwnd, new ButtonState);
        return DefWindowProcW(hwnd, msg, wParam, lParam);
    }
    auto* state = StateOf<ButtonState>(hwnd);
    if (!state) {
        return DefWindowProcW(hwnd, msg, wParam, lParam);
    }
    DWORD type = TypeOf(ClassStyle(hwnd));
    switch (msg) {
    case WM_NCDESTROY:
        return DestroyState(hwnd, state, wParam, lParam);
    case WM_GETDLGCODE:
        return DialogCode(type);
    case WM_NCHITTEST:
        return type == BS_GROUPBOX ? HTTRANSPARENT : DefWindowProcW(hwnd, msg, wParam, lParam);
    case WM_ERASEBKGND:
        return 1;
    case WM_PAINT:
    case WM_PRINTCLIENT:
        return PaintClient(hwnd, wParam, [&](HDC dc) { Paint(hwnd, dc, state); });
    case WM_LBUTTONDBLCLK:
        return OnLButtonDblClk(hwnd, state, type);
    case WM_LBUTTONDOWN:
        return OnLButtonDown(hwnd, state, type);
    case WM_MOUSEMOVE:
        return OnMouseMove(hwnd, state, lParam);
    case WM_LBUTTONUP:
        return OnLButtonUp(hwnd, state, lParam);
    case WM_CAPTURECHANGED:
        return OnCaptureChanged(hwnd, state, reinterpret_cast<HWND>(lParam));
    case WM_KEYDOWN:
    case WM_KEYUP:
        return OnKey(hwnd, state, type, msg, wParam, lParam);
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
        return OnFocus(hwnd, state, msg == WM_SETFOCUS);
    case WM_CANCELMODE:
        if (state->captured) {
            Release(hwnd, state, false);
        }
        return 0;
    case WM_ENABLE:
    case WM_SYSCOLORCHANGE:
        Redraw(hwnd);
        return 0;
    case WM_SETTEXT: {
        LRESULT result = DefWindowProcW(hwnd, msg, wParam, lParam);
        Redraw(hwnd);
        return result;
    }
    case WM_SETFONT:
        state->font = reinterpret_cast<HFONT>(wParam);
        if (LOWORD(lParam)) {
            Redraw(hwnd);
        }
        return 0;
    case WM_GETFONT:
        return reinterpret_cast<LRESULT>(state->font);
    default:
        return ButtonMessage(hwnd, state, type, msg, wParam, lParam);
    }
}

} // namespace

void RegisterButtonClass() {
    RegisterControlClass(u"Button", ButtonProc, CS_DBLCLKS | CS_VREDRAW | CS_HREDRAW | CS_PARENTDC, IDC_ARROW,
                         nullptr);
}
