// The "ComboBox" class: a selection field (an edit child, id 1001, or a drawn field for drop-down lists)
// with a list that is always shown (CBS_SIMPLE) or dropped as a separate top-level "ComboLBox" pop-up.
//
// Notification order: a click on an item of the dropped list sends CBN_SELCHANGE (when the selection
// changed), CBN_SELENDOK, then CBN_CLOSEUP; closing with Enter or F4 sends CBN_SELENDOK then CBN_CLOSEUP;
// Esc or a click elsewhere CBN_SELENDCANCEL then CBN_CLOSEUP. Arrow keys select at once (CBN_SELCHANGE).
#include "platform/controls/ControlsCommon.h"
#include "platform/controls/ListBoxInternal.h"
#include "platform/controls/StandardControls.h"

#include <cstring>

namespace {

using namespace controls;

constexpr int kEditId = 1001;
constexpr int kListId = 1000;
constexpr int kEdge = 2;

struct ComboState {
    HWND hwnd = nullptr;
    HWND edit = nullptr;
    HWND list = nullptr;
    WNDPROC editProc = nullptr;
    HFONT font = nullptr;
    bool dropped = false;
    bool focused = false;
    bool settingEdit = false; // our own change of the edit text: no CBN_EDIT* notifications
    bool extendedUi = false;
    int fieldHeight = 0;   // the height of the closed combo box
    int itemHeight = 0;    // the height of the selection field's text area
    int droppedHeight = 0; // the whole height with the list dropped
    int droppedWidth = 0;
    int committed = -1; // the selection when the list was dropped (restored by a cancel)
};

DWORD Style(const ComboState* s) {
    return ClassStyle(s->hwnd);
}
DWORD Kind(const ComboState* s) {
    return Style(s) & 3;
}
bool IsList(const ComboState* s) {
    return Kind(s) == CBS_DROPDOWNLIST;
}
bool IsSimple(const ComboState* s) {
    return Kind(s) == CBS_SIMPLE;
}

void Notify(ComboState* s, UINT code) {
    NotifyParent(s->hwnd, code);
}

int Cur(const ComboState* s) {
    return static_cast<int>(SendMessageW(s->list, LB_GETCURSEL, 0, 0));
}

std::u16string ItemText(const ComboState* s, int i) {
    LRESULT len = SendMessageW(s->list, LB_GETTEXTLEN, static_cast<WPARAM>(i), 0);
    if (len == LB_ERR) {
        return {};
    }
    std::u16string text(static_cast<size_t>(len) + 1, u'\0');
    SendMessageW(s->list, LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<size_t>(len));
    return text;
}

bool HasStrings(const ComboState* s) {
    return !(Style(s) & (CBS_OWNERDRAWFIXED | CBS_OWNERDRAWVARIABLE)) || (Style(s) & CBS_HASSTRINGS);
}

// The edit shows the selected item (selected as a whole when the combo box has the focus).
void SyncEdit(ComboState* s) {
    int cur = Cur(s);
    if (s->edit) {
        std::u16string text = cur >= 0 && HasStrings(s) ? ItemText(s, cur) : std::u16string();
        s->settingEdit = true;
        SetWindowTextW(s->edit, text.c_str());
        s->settingEdit = false;
        if (s->focused || GetFocus() == s->edit) {
            SendMessageW(s->edit, EM_SETSEL, 0, -1);
        }
    }
    InvalidateRect(s->hwnd, nullptr, FALSE);
}

RECT ButtonRect(const ComboState* s) {
    RECT client;
    GetClientRect(s->hwnd, &client);
    int width = GetSystemMetrics(SM_CXVSCROLL);
    return RECT{client.right - kEdge - width, kEdge, client.right - kEdge, s->fieldHeight - kEdge};
}

RECT FieldRect(const ComboState* s) {
    RECT client;
    GetClientRect(s->hwnd, &client);
    RECT field{kEdge, kEdge, client.right - kEdge, s->fieldHeight - kEdge};
    if (!IsSimple(s)) {
        field.right = ButtonRect(s).left;
    }
    return field;
}

void Layout(ComboState* s) {
    RECT client;
    GetClientRect(s->hwnd, &client);
    if (s->edit) {
        RECT field = FieldRect(s);
        MoveWindow(s->edit, field.left + 1, field.top + 1,
                   std::max(0, static_cast<int>(field.right - field.left - 2)),
                   std::max(0, static_cast<int>(field.bottom - field.top - 2)), TRUE);
    }
    if (IsSimple(s) && s->list) {
        MoveWindow(s->list, 0, s->fieldHeight, client.right,
                   std::max(0, static_cast<int>(client.bottom - s->fieldHeight)), TRUE);
    }
}

void ComputeHeights(ComboState* s) {
    HDC dc = CreateCompatibleDC(nullptr);
    SelectObject(dc, ControlFont(s->font));
    TEXTMETRICW tm{};
    GetTextMetricsW(dc, &tm);
    DeleteDC(dc);
    if (!(Style(s) & (CBS_OWNERDRAWFIXED | CBS_OWNERDRAWVARIABLE)) || s->itemHeight == 0) {
        s->itemHeight = tm.tmHeight + 2;
    }
    s->fieldHeight = s->itemHeight + 2 * kEdge + 2;
}

void DropDown(ComboState* s) {
    if (s->dropped || IsSimple(s)) {
        return;
    }
    Notify(s, CBN_DROPDOWN);
    s->committed = Cur(s);
    RECT window;
    GetWindowRect(s->hwnd, &window);
    int count = static_cast<int>(SendMessageW(s->list, LB_GETCOUNT, 0, 0));
    int itemHeight = static_cast<int>(SendMessageW(s->list, LB_GETITEMHEIGHT, 0, 0));
    int listHeight = std::max(s->droppedHeight - s->fieldHeight, itemHeight + 2);
    if (!(Style(s) & CBS_NOINTEGRALHEIGHT) && !(Style(s) & CBS_OWNERDRAWVARIABLE)) {
        int rows = std::max(1, std::min(count, (listHeight - 2) / std::max(1, itemHeight)));
        listHeight = rows * itemHeight + 2;
    }
    int width = std::max<int>(window.right - window.left, s->droppedWidth);
    int y = window.bottom;
    if (y + listHeight > GetSystemMetrics(SM_CYSCREEN) && window.top - listHeight >= 0) {
        y = window.top - listHeight;
    }
    SetWindowPos(s->list, HWND_TOPMOST, window.left, y, width, listHeight, SWP_NOACTIVATE | SWP_SHOWWINDOW);
    int cur = Cur(s);
    if (cur >= 0) {
        SendMessageW(s->list, LB_SETTOPINDEX, static_cast<WPARAM>(cur), 0);
    }
    s->dropped = true;
    SendMessageW(s->list, LBM_COMBOTRACK, TRUE, 0);
    InvalidateRect(s->hwnd, nullptr, FALSE);
}

void CloseUp(ComboState* s, bool ok, bool notifyEnd = true) {
    if (!s->dropped) {
        return;
    }
    s->dropped = false;
    SendMessageW(s->list, LBM_COMBOTRACK, FALSE, 0);
    if (!ok && Cur(s) != s->committed) {
        SendMessageW(s->list, LBM_SELECTQUIET, static_cast<WPARAM>(s->committed), 0);
    }
    if (notifyEnd) {
        Notify(s, ok ? CBN_SELENDOK : CBN_SELENDCANCEL);
    }
    ShowWindow(s->list, SW_HIDE);
    InvalidateRect(s->hwnd, nullptr, FALSE);
    Notify(s, CBN_CLOSEUP);
}

// A selection the user made (keys or a click): the field follows, then CBN_SELCHANGE.
void UserSelect(ComboState* s, int i) {
    int count = static_cast<int>(SendMessageW(s->list, LB_GETCOUNT, 0, 0));
    if (count == 0) {
        return;
    }
    i = std::clamp(i, 0, count - 1);
    if (i == Cur(s)) {
        return;
    }
    SendMessageW(s->list, LBM_SELECTQUIET, static_cast<WPARAM>(i), 0);
    s->committed = i;
    SyncEdit(s);
    Notify(s, CBN_SELCHANGE);
}

// Keys of the combo box (its own in a drop-down list, its edit's otherwise). Answers whether they were used.
bool Key(ComboState* s, UINT msg, WPARAM key) {
    bool alt = msg == WM_SYSKEYDOWN;
    if (key == VK_F4 && !alt) {
        if (s->dropped) {
            CloseUp(s, true);
        } else {
            DropDown(s);
        }
        return true;
    }
    if (alt && (key == VK_DOWN || key == VK_UP)) {
        if (s->dropped) {
            CloseUp(s, true);
        } else {
            DropDown(s);
        }
        return true;
    }
    if (alt) {
        return false;
    }
    if (s->dropped && key == VK_RETURN) {
        CloseUp(s, true);
        return true;
    }
    if (s->dropped && key == VK_ESCAPE) {
        CloseUp(s, false);
        return true;
    }
    if (s->extendedUi && !s->dropped && key == VK_DOWN) {
        DropDown(s);
        return true;
    }
    int cur = Cur(s);
    int count = static_cast<int>(SendMessageW(s->list, LB_GETCOUNT, 0, 0));
    int page = 1;
    if (s->dropped || IsSimple(s)) {
        RECT rect;
        GetClientRect(s->list, &rect);
        page = std::max(
            1, static_cast<int>(rect.bottom /
                                std::max<LRESULT>(1, SendMessageW(s->list, LB_GETITEMHEIGHT, 0, 0))) -
                   1);
    }
    switch (key) {
    case VK_UP:
        UserSelect(s, cur < 0 ? 0 : cur - 1);
        return true;
    case VK_DOWN:
        UserSelect(s, cur < 0 ? 0 : cur + 1);
        return true;
    case VK_PRIOR:
        UserSelect(s, cur - page);
        return true;
    case VK_NEXT:
        UserSelect(s, cur < 0 ? 0 : cur + page);
        return true;
    case VK_HOME:
        if (IsList(s)) {
            UserSelect(s, 0);
            return true;
        }
        return false;
    case VK_END:
        if (IsList(s)) {
            UserSelect(s, count - 1);
            return true;
        }
        return false;
    default:
        return false;
    }
}

void GotFocus(ComboState* s) {
    if (s->focused) {
        return;
    }
    s->focused = true;
    if (s->edit) {
        SendMessageW(s->edit, EM_SETSEL, 0, -1);
    }
    InvalidateRect(s->hwnd, nullptr, FALSE);
    Notify(s, CBN_SETFOCUS);
}

void LostFocus(ComboState* s, HWND next) {
    if (!s->focused || next == s->hwnd || (next && (next == s->edit || next == s->list))) {
        return;
    }
    CloseUp(s, false);
    s->focused = false;
    if (s->edit) {
        SendMessageW(s->edit, EM_SETSEL, static_cast<WPARAM>(-1), 0);
    }
    InvalidateRect(s->hwnd, nullptr, FALSE);
    Notify(s, CBN_KILLFOCUS);
}

LRESULT CALLBACK ComboEditProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    HWND combo = GetParent(hwnd);
    auto* s = combo ? StateOf<ComboState>(combo) : nullptr;
    if (!s || s->edit != hwnd || !s->editProc) {
        return DefWindowProcW(hwnd, msg, wParam, lParam);
    }
    WNDPROC proc = s->editProc;
    switch (msg) {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
        if (Key(s, msg, wParam)) {
            return 0;
        }
        break;
    case WM_CHAR:
        // Enter and Esc close the list; they are not text.
        if (s->dropped && (wParam == u'\r' || wParam == 0x1B)) {
            return 0;
        }
        break;
    case WM_GETDLGCODE: {
        LRESULT code = CallWindowProcW(proc, hwnd, msg, wParam, lParam);
        auto* m = reinterpret_cast<const MSG*>(lParam);
        if (s->dropped && m && m->message == WM_KEYDOWN &&
            (m->wParam == VK_RETURN || m->wParam == VK_ESCAPE)) {
            code |= DLGC_WANTMESSAGE;
        }
        return code;
    }
    case WM_SETFOCUS: {
        LRESULT r = CallWindowProcW(proc, hwnd, msg, wParam, lParam);
        GotFocus(s);
        return r;
    }
    case WM_KILLFOCUS: {
        LRESULT r = CallWindowProcW(proc, hwnd, msg, wParam, lParam);
        LostFocus(s, reinterpret_cast<HWND>(wParam));
        return r;
    }
    default:
        break;
    }
    return CallWindowProcW(proc, hwnd, msg, wParam, lParam);
}

void PaintField(ComboState* s, HDC dc) {
    RECT client;
    GetClientRect(s->hwnd, &client);
    RECT frame{0, 0, client.right, IsSimple(s) ? s->fieldHeight : client.bottom};
    int saved = SaveDC(dc);
    SelectObject(dc, ControlFont(s->font));
    bool enabled = IsWindowEnabled(s->hwnd);
    UINT colourMessage = !enabled ? WM_CTLCOLORSTATIC : (s->edit ? WM_CTLCOLOREDIT : WM_CTLCOLORLISTBOX);
    HBRUSH back = ControlColor(s->hwnd, dc, colourMessage);
    RECT inner = frame;
    FillRect(dc, &inner, back);
    DrawEdge(dc, &inner, EDGE_SUNKEN, BF_RECT);
    if (!IsSimple(s)) {
        RECT button = ButtonRect(s);
        DrawFrameControl(dc, &button, DFC_SCROLL,
                         DFCS_SCROLLCOMBOBOX | (s->dropped ? DFCS_PUSHED | DFCS_FLAT : 0) |
                             (enabled ? 0 : DFCS_INACTIVE));
    }
    if (IsList(s)) {
        RECT field = FieldRect(s);
        InflateRect(&field, -1, -1);
        int cur = Cur(s);
        bool highlight = s->focused && !s->dropped;
        if (Style(s) & (CBS_OWNERDRAWFIXED | CBS_OWNERDRAWVARIABLE)) {
            DRAWITEMSTRUCT dis{};
            dis.CtlType = ODT_COMBOBOX;
            dis.CtlID = static_cast<UINT>(GetDlgCtrlID(s->hwnd));
            dis.itemID = static_cast<UINT>(cur);
            dis.itemAction = ODA_DRAWENTIRE;
            dis.itemState =
                ODS_COMBOBOXEDIT | (highlight ? ODS_SELECTED | ODS_FOCUS : 0) | (enabled ? 0 : ODS_DISABLED);
            dis.hwndItem = s->hwnd;
            dis.hDC = dc;
            dis.rcItem = field;
            dis.itemData = cur >= 0 ? static_cast<ULONG_PTR>(
                                          SendMessageW(s->list, LB_GETITEMDATA, static_cast<WPARAM>(cur), 0))
                                    : 0;
            SendMessageW(GetParent(s->hwnd), WM_DRAWITEM, dis.CtlID, reinterpret_cast<LPARAM>(&dis));
        } else {
            if (highlight) {
                FillRect(dc, &field, GetSysColorBrush(COLOR_HIGHLIGHT));
                SetTextColor(dc, GetSysColor(COLOR_HIGHLIGHTTEXT));
            } else if (!enabled) {
                SetTextColor(dc, GetSysColor(COLOR_GRAYTEXT));
            }
            SetBkMode(dc, TRANSPARENT);
            std::u16string text = cur >= 0 ? ItemText(s, cur) : std::u16string();
            RECT textRect = field;
            textRect.left += 1;
            DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &textRect,
                      DT_SINGLELINE | DT_VCENTER | DT_LEFT | DT_NOPREFIX);
            if (highlight) {
                DrawFocusRect(dc, &field);
            }
        }
    }
    RestoreDC(dc, saved);
}

LRESULT Forward(ComboState* s, UINT msg, WPARAM wParam, LPARAM lParam) {
    return SendMessageW(s->list, msg, wParam, lParam);
}

LRESULT CALLBACK ComboProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    auto* s = StateOf<ComboState>(hwnd);
    if (!s && msg != WM_NCCREATE) {
        return DefWindowProcW(hwnd, msg, wParam, lParam);
    }
    switch (msg) {
    case WM_NCCREATE: {
        s = new ComboState;
        s->hwnd = hwnd;
        SetState(hwnd, s);
        // Scroll-bar styles belong to the drop-down list, which always has its own; the combo shows none.
        SetWindowLongW(hwnd, GWL_STYLE,
                       GetWindowLongW(hwnd, GWL_STYLE) & ~static_cast<LONG>(WS_VSCROLL | WS_HSCROLL));
        return DefWindowProcW(hwnd, msg, wParam, lParam);
    }
    case WM_CREATE: {
        auto* cs = reinterpret_cast<CREATESTRUCTW*>(lParam);
        DWORD style = static_cast<DWORD>(cs->style);
        ComputeHeights(s);
        if (style & (CBS_OWNERDRAWFIXED | CBS_OWNERDRAWVARIABLE)) {
            // The owner sizes the selection field (item -1) as well as the items.
            MEASUREITEMSTRUCT mis{ODT_COMBOBOX,
                                  static_cast<UINT>(GetDlgCtrlID(hwnd)),
                                  static_cast<UINT>(-1),
                                  0,
                                  static_cast<UINT>(s->itemHeight),
                                  0};
            SendMessageW(GetParent(hwnd), WM_MEASUREITEM, mis.CtlID, reinterpret_cast<LPARAM>(&mis));
            s->itemHeight = std::max(1, static_cast<int>(mis.itemHeight));
            s->fieldHeight = s->itemHeight + 2 * kEdge + 2;
        }
        s->droppedHeight = cs->cy;
        HINSTANCE instance = cs->hInstance;
        DWORD listStyle = LBS_COMBOBOX | LBS_NOTIFY | WS_VSCROLL | WS_BORDER;
        if (style & CBS_SORT) {
            listStyle |= LBS_SORT;
        }
        if (style & CBS_OWNERDRAWFIXED) {
            listStyle |= LBS_OWNERDRAWFIXED;
        }
        if (style & CBS_OWNERDRAWVARIABLE) {
            listStyle |= LBS_OWNERDRAWVARIABLE;
        }
        if (style & CBS_HASSTRINGS) {
            listStyle |= LBS_HASSTRINGS;
        }
        if (style & CBS_NOINTEGRALHEIGHT) {
            listStyle |= LBS_NOINTEGRALHEIGHT;
        }
        if (style & CBS_DISABLENOSCROLL) {
            listStyle |= LBS_DISABLENOSCROLL;
        }
        if (IsSimple(s)) {
            s->list = CreateWindowExW(0, u"ComboLBox", nullptr, listStyle | WS_CHILD | WS_VISIBLE, 0,
                                      s->fieldHeight, cs->cx, std::max(0, cs->cy - s->fieldHeight), hwnd,
                                      reinterpret_cast<HMENU>(static_cast<INT_PTR>(kListId)), instance, hwnd);
        } else {
            s->list = CreateWindowExW(WS_EX_TOOLWINDOW | WS_EX_TOPMOST, u"ComboLBox", nullptr,
                                      listStyle | WS_POPUP, 0, 0, cs->cx,
                                      std::max(0, cs->cy - s->fieldHeight), hwnd, nullptr, instance, hwnd);
        }
        if (!s->list) {
            return -1;
        }
        if (!IsList(s)) {
            DWORD editStyle = WS_CHILD | WS_VISIBLE | (style & CBS_AUTOHSCROLL ? ES_AUTOHSCROLL : 0);
            if (style & CBS_UPPERCASE) {
                editStyle |= ES_UPPERCASE;
            } else if (style & CBS_LOWERCASE) {
                editStyle |= ES_LOWERCASE;
            }
            s->edit =
                CreateWindowExW(0, u"Edit", cs->lpszName, editStyle, 0, 0, 0, 0, hwnd,
                                reinterpret_cast<HMENU>(static_cast<INT_PTR>(kEditId)), instance, nullptr);
            if (!s->edit) {
                return -1;
            }
            s->editProc = reinterpret_cast<WNDPROC>(
                SetWindowLongPtrW(s->edit, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(ComboEditProc)));
        }
        if (!IsSimple(s)) {
            SetWindowPos(hwnd, nullptr, 0, 0, cs->cx, s->fieldHeight,
                         SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        }
        Layout(s);
        return 0;
    }
    case WM_DESTROY:
        if (s->dropped) {
            // Going away while dropped: no notifications for the close.
            s->dropped = false;
            SendMessageW(s->list, LBM_COMBOTRACK, FALSE, 0);
        }
        if (s->list && IsWindow(s->list) && !IsSimple(s)) {
            DestroyWindow(s->list);
        }
        s->list = nullptr;
        return 0;
    case WM_NCDESTROY:
        SetState(hwnd, nullptr);
        delete s;
        return DefWindowProcW(hwnd, msg, wParam, lParam);
    case WM_WINDOWPOSCHANGING: {
        // A drop-down combo box keeps its field height; the height asked for is the dropped height.
        auto* pos = reinterpret_cast<WINDOWPOS*>(lParam);
        if (!IsSimple(s) && !(pos->flags & SWP_NOSIZE) && s->fieldHeight && pos->cy != s->fieldHeight) {
            s->droppedHeight = pos->cy;
            pos->cy = s->fieldHeight;
        }
        return DefWindowProcW(hwnd, msg, wParam, lParam);
    }
    case WM_SIZE:
        Layout(s);
        InvalidateRect(hwnd, nullptr, FALSE);
        return 0;
    case WM_ERASEBKGND:
        return 1;
    case WM_PAINT:
    case WM_PRINTCLIENT: {
        PAINTSTRUCT ps{};
        HDC dc = wParam ? reinterpret_cast<HDC>(wParam) : BeginPaint(hwnd, &ps);
        PaintField(s, dc);
        if (!wParam) {
            EndPaint(hwnd, &ps);
        }
        return 0;
    }
    case WM_GETDLGCODE: {
        LRESULT code = DLGC_WANTARROWS | DLGC_WANTCHARS;
        auto* m = reinterpret_cast<const MSG*>(lParam);
        if (s->dropped && m && m->message == WM_KEYDOWN &&
            (m->wParam == VK_RETURN || m->wParam == VK_ESCAPE)) {
            code |= DLGC_WANTMESSAGE;
        }
        return code;
    }
    case WM_SETFOCUS:
        if (s->edit) {
            SetFocus(s->edit);
        } else {
            GotFocus(s);
        }
        return 0;
    case WM_KILLFOCUS:
        if (!s->edit) {
            LostFocus(s, reinterpret_cast<HWND>(wParam));
        }
        return 0;
    case WM_ENABLE:
        if (s->edit) {
            EnableWindow(s->edit, static_cast<BOOL>(wParam));
        }
        EnableWindow(s->list, static_cast<BOOL>(wParam));
        InvalidateRect(hwnd, nullptr, FALSE);
        return 0;
    case WM_SETFONT:
        s->font = reinterpret_cast<HFONT>(wParam);
        if (s->edit) {
            SendMessageW(s->edit, WM_SETFONT, wParam, lParam);
        }
        SendMessageW(s->list, WM_SETFONT, wParam, lParam);
        ComputeHeights(s);
        if (!IsSimple(s)) {
            RECT window;
            GetWindowRect(hwnd, &window);
            SetWindowPos(hwnd, nullptr, 0, 0, window.right - window.left, s->fieldHeight,
                         SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        }
        Layout(s);
        if (LOWORD(lParam)) {
            InvalidateRect(hwnd, nullptr, FALSE);
        }
        return 0;
    case WM_GETFONT:
        return reinterpret_cast<LRESULT>(s->font);
    case WM_SETTEXT:
        if (s->edit) {
            s->settingEdit = true;
            LRESULT r = SendMessageW(s->edit, WM_SETTEXT, wParam, lParam);
            s->settingEdit = false;
            return r;
        } else {
            int i = static_cast<int>(Forward(s, LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), lParam));
            if (i == LB_ERR) {
                return CB_ERR;
            }
            SendMessageW(s->list, LBM_SELECTQUIET, static_cast<WPARAM>(i), 0);
            InvalidateRect(hwnd, nullptr, FALSE);
            return TRUE;
        }
    case WM_GETTEXT:
        if (s->edit) {
            return SendMessageW(s->edit, WM_GETTEXT, wParam, lParam);
        } else {
            if (wParam == 0 || !lParam) {
                return 0;
            }
            int cur = Cur(s);
            std::u16string text = cur >= 0 ? ItemText(s, cur) : std::u16string();
            size_t count = std::min(text.size(), static_cast<size_t>(wParam) - 1);
            auto* out = reinterpret_cast<char16_t*>(lParam);
            std::memcpy(out, text.data(), count * sizeof(char16_t));
            out[count] = 0;
            return static_cast<LRESULT>(count);
        }
    case WM_GETTEXTLENGTH:
        if (s->edit) {
            return SendMessageW(s->edit, WM_GETTEXTLENGTH, 0, 0);
        } else {
            int cur = Cur(s);
            return cur >= 0 ? static_cast<LRESULT>(ItemText(s, cur).size()) : 0;
        }
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: {
        POINT p{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
        SetFocus(s->edit ? s->edit : hwnd);
        if (IsSimple(s)) {
            return 0;
        }
        RECT button = ButtonRect(s);
        if (IsList(s) || PtInRect(&button, p)) {
            if (s->dropped) {
                CloseUp(s, true);
            } else {
                DropDown(s);
            }
        }
        return 0;
    }
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
        if (Key(s, msg, wParam)) {
            return 0;
        }
        return DefWindowProcW(hwnd, msg, wParam, lParam);
    case WM_CHAR:
        if (IsList(s) && wParam >= 0x20) {
            char16_t text[2] = {static_cast<char16_t>(wParam), 0};
            int found = static_cast<int>(
                Forward(s, LB_FINDSTRING, static_cast<WPARAM>(Cur(s)), reinterpret_cast<LPARAM>(text)));
            if (found != LB_ERR) {
                UserSelect(s, found);
            }
            return 0;
        }
        if (s->edit && !s->dropped) {
            return SendMessageW(s->edit, WM_CHAR, wParam, lParam);
        }
        return 0;
    case WM_MOUSEWHEEL:
        if (!s->dropped) {
            UserSelect(s, Cur(s) - GET_WHEEL_DELTA_WPARAM(wParam) / WHEEL_DELTA);
        } else {
            SendMessageW(s->list, msg, wParam, lParam);
        }
        return 0;
    case WM_COMMAND: {
        HWND from = reinterpret_cast<HWND>(lParam);
        UINT code = HIWORD(wParam);
        if (from && from == s->edit) {
            if (s->settingEdit) {
                return 0;
            }
            if (code == EN_UPDATE) {
                Notify(s, CBN_EDITUPDATE);
            } else if (code == EN_CHANGE) {
                Notify(s, CBN_EDITCHANGE);
                if (s->dropped || IsSimple(s)) {
                    // The list follows the typed prefix.
                    std::u16string typed = WindowText(s->edit);
                    int i = typed.empty()
                                ? LB_ERR
                                : static_cast<int>(Forward(s, LB_FINDSTRING, static_cast<WPARAM>(-1),
                                                           reinterpret_cast<LPARAM>(typed.c_str())));
                    SendMessageW(s->list, LBM_SELECTQUIET, static_cast<WPARAM>(i), 0);
                }
            }
            return 0;
        }
        if (from && from == s->list) {
            if (code == LBN_SELCHANGE) {
                int cur = Cur(s);
                s->committed = cur;
                SyncEdit(s);
                Notify(s, CBN_SELCHANGE);
            } else if (code == LBN_DBLCLK && IsSimple(s)) {
                Notify(s, CBN_DBLCLK);
            }
        }
        return 0;
    }
    case CBM_LISTDONE: {
        if (!s->dropped) {
            return 0;
        }
        if (wParam) {
            int cur = Cur(s);
            bool changed = cur != s->committed;
            if (changed) {
                s->committed = cur;
                SyncEdit(s);
                Notify(s, CBN_SELCHANGE);
            }
            CloseUp(s, true);
        } else {
            // Lost capture (lParam 1) or a click outside the list.
            CloseUp(s, false);
        }
        return 0;
    }
    case CB_ADDSTRING:
        return Forward(s, LB_ADDSTRING, wParam, lParam);
    case CB_INSERTSTRING:
        return Forward(s, LB_INSERTSTRING, wParam, lParam);
    case CB_DELETESTRING: {
        int before = Cur(s);
        LRESULT r = Forward(s, LB_DELETESTRING, wParam, lParam);
        if (r != LB_ERR && before == static_cast<int>(wParam)) {
            InvalidateRect(hwnd, nullptr, FALSE);
        }
        return r;
    }
    case CB_RESETCONTENT:
        Forward(s, LB_RESETCONTENT, 0, 0);
        if (s->edit) {
            s->settingEdit = true;
            SetWindowTextW(s->edit, u"");
            s->settingEdit = false;
        }
        s->committed = -1;
        InvalidateRect(hwnd, nullptr, FALSE);
        return CB_OKAY;
    case CB_GETCOUNT:
        return Forward(s, LB_GETCOUNT, 0, 0);
    case CB_GETCURSEL:
        return Cur(s);
    case CB_SETCURSEL: {
        int i = static_cast<int>(wParam);
        int count = static_cast<int>(Forward(s, LB_GETCOUNT, 0, 0));
        bool valid = i >= 0 && i < count;
        SendMessageW(s->list, LBM_SELECTQUIET, valid ? static_cast<WPARAM>(i) : static_cast<WPARAM>(-1), 0);
        s->committed = valid ? i : -1;
        SyncEdit(s);
        return valid ? i : CB_ERR;
    }
    case CB_SELECTSTRING: {
        int i = static_cast<int>(Forward(s, LB_FINDSTRING, wParam, lParam));
        if (i == LB_ERR) {
            return CB_ERR;
        }
        SendMessageW(s->list, LBM_SELECTQUIET, static_cast<WPARAM>(i), 0);
        s->committed = i;
        SyncEdit(s);
        return i;
    }
    case CB_FINDSTRING:
        return Forward(s, LB_FINDSTRING, wParam, lParam);
    case CB_FINDSTRINGEXACT:
        return Forward(s, LB_FINDSTRINGEXACT, wParam, lParam);
    case CB_GETLBTEXT:
        return Forward(s, LB_GETTEXT, wParam, lParam);
    case CB_GETLBTEXTLEN:
        return Forward(s, LB_GETTEXTLEN, wParam, lParam);
    case CB_GETITEMDATA:
        return Forward(s, LB_GETITEMDATA, wParam, lParam);
    case CB_SETITEMDATA:
        return Forward(s, LB_SETITEMDATA, wParam, lParam);
    case CB_GETTOPINDEX:
        return Forward(s, LB_GETTOPINDEX, wParam, lParam);
    case CB_SETTOPINDEX:
        return Forward(s, LB_SETTOPINDEX, wParam, lParam);
    case CB_GETHORIZONTALEXTENT:
        return Forward(s, LB_GETHORIZONTALEXTENT, wParam, lParam);
    case CB_SETHORIZONTALEXTENT:
        return Forward(s, LB_SETHORIZONTALEXTENT, wParam, lParam);
    case CB_INITSTORAGE:
        return Forward(s, LB_INITSTORAGE, wParam, lParam);
    case CB_LIMITTEXT:
        if (s->edit) {
            SendMessageW(s->edit, EM_LIMITTEXT, wParam, 0);
        }
        return TRUE;
    case CB_GETEDITSEL:
        if (!s->edit) {
            return CB_ERR;
        }
        return SendMessageW(s->edit, EM_GETSEL, wParam, lParam);
    case CB_SETEDITSEL:
        if (!s->edit) {
            return CB_ERR;
        }
        SendMessageW(s->edit, EM_SETSEL, static_cast<WPARAM>(static_cast<short>(LOWORD(lParam))),
                     static_cast<LPARAM>(static_cast<short>(HIWORD(lParam))));
        return TRUE;
    case CB_SHOWDROPDOWN:
        if (wParam) {
            DropDown(s);
        } else {
            CloseUp(s, false, false);
        }
        return TRUE;
    case CB_GETDROPPEDSTATE:
        return s->dropped ? TRUE : FALSE;
    case CB_GETDROPPEDCONTROLRECT: {
        RECT window;
        GetWindowRect(hwnd, &window);
        if (!IsSimple(s)) {
            window.bottom = window.top + std::max(s->droppedHeight, s->fieldHeight);
            window.right = window.left + std::max<int>(window.right - window.left, s->droppedWidth);
        }
        *reinterpret_cast<RECT*>(lParam) = window;
        return TRUE;
    }
    case CB_SETITEMHEIGHT: {
        int height = static_cast<int>(lParam);
        if (height <= 0 || height > 255) {
            return CB_ERR;
        }
        if (static_cast<int>(wParam) == -1) {
            s->itemHeight = height;
            s->fieldHeight = height + 2 * kEdge + 2;
            if (!IsSimple(s)) {
                RECT window;
                GetWindowRect(hwnd, &window);
                int dropped = s->droppedHeight;
                SetWindowPos(hwnd, nullptr, 0, 0, window.right - window.left, s->fieldHeight,
                             SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
                s->droppedHeight = dropped;
            }
            Layout(s);
            InvalidateRect(hwnd, nullptr, FALSE);
            return CB_OKAY;
        }
        return Forward(s, LB_SETITEMHEIGHT, wParam, lParam);
    }
    case CB_GETITEMHEIGHT:
        if (static_cast<int>(wParam) == -1) {
            return s->itemHeight;
        }
        return Forward(s, LB_GETITEMHEIGHT, wParam, 0);
    case CB_SETEXTENDEDUI:
        s->extendedUi = wParam != 0;
        return CB_OKAY;
    case CB_GETEXTENDEDUI:
        return s->extendedUi;
    case CB_GETDROPPEDWIDTH:
        return std::max(s->droppedWidth, [&] {
            RECT w;
            GetWindowRect(hwnd, &w);
            return static_cast<int>(w.right - w.left);
        }());
    case CB_SETDROPPEDWIDTH:
        s->droppedWidth = static_cast<int>(wParam);
        return s->droppedWidth;
    case CB_GETLOCALE:
    case CB_SETLOCALE:
        return 0x0409;
    default:
        return DefWindowProcW(hwnd, msg, wParam, lParam);
    }
}

} // namespace

void RegisterComboBoxClass() {
    RegisterEditClass();
    RegisterListBoxClass();
    RegisterControlClass(u"ComboBox", ComboProc, CS_DBLCLKS | CS_PARENTDC | CS_VREDRAW | CS_HREDRAW,
                         IDC_ARROW, nullptr);
}
