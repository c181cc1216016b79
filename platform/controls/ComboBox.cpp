// The "ComboBox" class: a selection field (an edit child, id 1001, or a drawn field for drop-down lists)
// with a list that is always shown (CBS_SIMPLE) or dropped as a separate top-level "ComboLBox" pop-up.
//
// Notification order: a click on an item of the dropped list sends CBN_SELCHANGE (when the selection
// changed), CBN_SELENDOK, then CBN_CLOSEUP; closing with Enter or F4 sends CBN_SELENDOK then CBN_CLOSEUP;
// Esc or a click elsewhere CBN_SELENDCANCEL then CBN_CLOSEUP. Arrow keys select at once (CBN_SELCHANGE).
#include "platform/controls/ComboBoxState.h"

#include "platform/controls/ListBoxInternal.h"

namespace controls::combo {

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

namespace {

bool HasStrings(const ComboState* s) {
    return !(Style(s) & (CBS_OWNERDRAWFIXED | CBS_OWNERDRAWVARIABLE)) || (Style(s) & CBS_HASSTRINGS);
}

} // namespace

LRESULT SetEditText(ComboState* s, const char16_t* text) {
    s->settingEdit = true;
    LRESULT r = SendMessageW(s->edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text));
    s->settingEdit = false;
    return r;
}

// The edit shows the selected item (selected as a whole when the combo box has the focus).
void SyncEdit(ComboState* s) {
    int cur = Cur(s);
    if (s->edit) {
        std::u16string text = cur >= 0 && HasStrings(s) ? ItemText(s, cur) : std::u16string();
        SetEditText(s, text.c_str());
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

namespace {

RECT FieldRect(const ComboState* s) {
    RECT client;
    GetClientRect(s->hwnd, &client);
    RECT field{kEdge, kEdge, client.right - kEdge, s->fieldHeight - kEdge};
    if (!IsSimple(s)) {
        field.right = ButtonRect(s).left;
    }
    return field;
}

} // namespace

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
    if (!(Style(s) & (CBS_OWNERDRAWFIXED | CBS_OWNERDRAWVARIABLE)) || s->itemHeight == 0) {
        s->itemHeight = FontMetrics(s->font).tmHeight + 2;
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

void CloseUp(ComboState* s, bool ok, bool notifyEnd) {
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

void ToggleDropped(ComboState* s) {
    if (s->dropped) {
        CloseUp(s, true);
    } else {
        DropDown(s);
    }
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
    if ((key == VK_F4 && !alt) || (alt && (key == VK_DOWN || key == VK_UP))) {
        ToggleDropped(s);
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

LRESULT DropDownKeys(const ComboState* s, LPARAM lParam) {
    auto* m = reinterpret_cast<const MSG*>(lParam);
    bool closingKey = m && m->message == WM_KEYDOWN && (m->wParam == VK_RETURN || m->wParam == VK_ESCAPE);
    return s->dropped && closingKey ? DLGC_WANTMESSAGE : 0;
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
    case WM_GETDLGCODE:
        return CallWindowProcW(proc, hwnd, msg, wParam, lParam) | DropDownKeys(s, lParam);
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

} // namespace controls::combo
