// The list box's items, selection, scrolling, painting and keyboard and mouse selection.
#include "platform/controls/ListBoxState.h"

namespace controls::listbox {

namespace {

// The window the owner knows the items by: the combo box for a dropped list.
HWND ItemWindow(const ListState* s) {
    return s->combo ? s->combo : s->hwnd;
}

} // namespace

HWND OwnerTarget(const ListState* s) {
    return GetParent(ItemWindow(s));
}
UINT CtlType(const ListState* s) {
    return s->combo ? ODT_COMBOBOX : ODT_LISTBOX;
}
UINT CtlId(const ListState* s) {
    return static_cast<UINT>(GetDlgCtrlID(ItemWindow(s)));
}

void Notify(ListState* s, UINT code) {
    if (s->combo) {
        // The combo box turns the list's selection changes and double clicks into its own notifications.
        if (code == LBN_SELCHANGE || code == LBN_DBLCLK) {
            SendMessageW(s->combo, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(s->hwnd), code),
                         reinterpret_cast<LPARAM>(s->hwnd));
        }
        return;
    }
    if (code == LBN_SETFOCUS || code == LBN_KILLFOCUS || (Style(s) & LBS_NOTIFY)) {
        NotifyParent(s->hwnd, code);
    }
}

namespace {

int ClientHeight(const ListState* s) {
    RECT rect;
    GetClientRect(s->hwnd, &rect);
    return rect.bottom - rect.top;
}

int HeightOf(const ListState* s, int i) {
    if ((Style(s) & LBS_OWNERDRAWVARIABLE) && Valid(s, i)) {
        return s->items[i].height;
    }
    return s->itemHeight;
}

} // namespace

int PageSize(const ListState* s) {
    int height = ClientHeight(s);
    int n = 0;
    for (int i = s->top, y = 0; i < Count(s); ++i) {
        y += HeightOf(s, i);
        if (y > height) {
            break;
        }
        ++n;
    }
    if (!(Style(s) & LBS_OWNERDRAWVARIABLE) && n == Count(s) - s->top) {
        n = std::max(n, height / std::max(1, s->itemHeight));
    }
    return std::max(1, n);
}

int MaxTop(const ListState* s) {
    if (Style(s) & LBS_OWNERDRAWVARIABLE) {
        int height = ClientHeight(s);
        int top = Count(s);
        int y = 0;
        while (top > 0 && y + HeightOf(s, top - 1) <= height) {
            y += HeightOf(s, --top);
        }
        return std::min(top, std::max(0, Count(s) - 1));
    }
    return std::max(0, Count(s) - std::max(1, ClientHeight(s) / std::max(1, s->itemHeight)));
}

void UpdateScrollBar(ListState* s) {
    if (!s->vscroll) {
        return;
    }
    SCROLLINFO si{sizeof(si),
                  SIF_RANGE | SIF_PAGE | SIF_POS,
                  0,
                  std::max(0, Count(s) - 1),
                  static_cast<UINT>(PageSize(s)),
                  s->top,
                  0};
    if (Style(s) & LBS_DISABLENOSCROLL) {
        si.fMask |= SIF_DISABLENOSCROLL;
    }
    SetScrollInfo(s->hwnd, SB_VERT, &si, TRUE);
}

bool Integral(const ListState* s) {
    return !(Style(s) & (LBS_NOINTEGRALHEIGHT | LBS_OWNERDRAWVARIABLE)) && !s->combo;
}

int IntegralHeight(const ListState* s, int height) {
    RECT window;
    RECT client;
    GetWindowRect(s->hwnd, &window);
    GetClientRect(s->hwnd, &client);
    int frame = (window.bottom - window.top) - (client.bottom - client.top);
    int inside = height - frame;
    if (inside <= s->itemHeight) {
        return height;
    }
    return height - inside % s->itemHeight;
}

void ApplyIntegralHeight(ListState* s) {
    if (!Integral(s) || s->requestedHeight < 0) {
        return;
    }
    RECT window;
    GetWindowRect(s->hwnd, &window);
    int wanted = IntegralHeight(s, s->requestedHeight);
    if (wanted != window.bottom - window.top) {
        int requested = s->requestedHeight;
        SetWindowHeight(s->hwnd, wanted);
        s->requestedHeight = requested;
    }
}

void SetTop(ListState* s, int top) {
    top = std::clamp(top, 0, MaxTop(s));
    if (top != s->top) {
        s->top = top;
        Redraw(s);
    }
    UpdateScrollBar(s);
}

void EnsureVisible(ListState* s, int i) {
    if (!Valid(s, i)) {
        return;
    }
    if (i < s->top) {
        SetTop(s, i);
        return;
    }
    int height = ClientHeight(s);
    int y = 0;
    for (int k = s->top; k <= i; ++k) {
        y += HeightOf(s, k);
    }
    int top = s->top;
    while (y > height && top < i) {
        y -= HeightOf(s, top++);
    }
    SetTop(s, top);
}

RECT ItemRect(const ListState* s, int i) {
    RECT client;
    GetClientRect(s->hwnd, &client);
    int y = 0;
    if (i >= s->top) {
        for (int k = s->top; k < i; ++k) {
            y += HeightOf(s, k);
        }
    } else {
        for (int k = i; k < s->top; ++k) {
            y -= HeightOf(s, k);
        }
    }
    return RECT{0, y, client.right, y + HeightOf(s, i)};
}

int ItemFromPoint(const ListState* s, POINT p, bool* outside) {
    RECT client;
    GetClientRect(s->hwnd, &client);
    *outside = !PtInRect(&client, p);
    if (Count(s) == 0) {
        *outside = true;
        return 0;
    }
    if (p.y < 0) {
        return std::max(0, s->top - 1);
    }
    int y = 0;
    for (int i = s->top; i < Count(s); ++i) {
        y += HeightOf(s, i);
        if (p.y < y) {
            return i;
        }
    }
    *outside = true;
    return Count(s) - 1;
}

namespace {

int Compare(ListState* s, const Item& a, int ai, const Item& b, int bi) {
    if (HasStrings(s)) {
        return CompareNoCase(a.text, b.text);
    }
    COMPAREITEMSTRUCT cis{
        CtlType(s), CtlId(s), ItemWindow(s), static_cast<UINT>(ai), a.data, static_cast<UINT>(bi),
        b.data,     0x0409};
    return static_cast<int>(
        SendMessageW(OwnerTarget(s), WM_COMPAREITEM, cis.CtlID, reinterpret_cast<LPARAM>(&cis)));
}

void Measure(ListState* s, int i) {
    if (!OwnerDraw(s) || !(Style(s) & LBS_OWNERDRAWVARIABLE)) {
        return;
    }
    MEASUREITEMSTRUCT mis{
        CtlType(s), CtlId(s), static_cast<UINT>(i), 0, static_cast<UINT>(s->itemHeight), s->items[i].data};
    if (HasStrings(s)) {
        mis.itemData = reinterpret_cast<ULONG_PTR>(s->items[i].text.c_str());
    }
    SendMessageW(OwnerTarget(s), WM_MEASUREITEM, mis.CtlID, reinterpret_cast<LPARAM>(&mis));
    s->items[i].height = static_cast<int>(mis.itemHeight);
}

} // namespace

int Insert(ListState* s, int index, LPARAM lParam, bool sorted) {
    Item item;
    if (HasStrings(s)) {
        auto* text = reinterpret_cast<const char16_t*>(lParam);
        item.text = text ? text : u"";
    } else {
        item.data = static_cast<ULONG_PTR>(lParam);
    }
    if (sorted) {
        // After the equal items already there.
        index = Count(s);
        for (int i = 0; i < Count(s); ++i) {
            if (Compare(s, item, -1, s->items[i], i) < 0) {
                index = i;
                break;
            }
        }
    } else if (index < 0 || index > Count(s)) {
        if (index != -1) {
            return LB_ERR;
        }
        index = Count(s);
    }
    s->items.insert(s->items.begin() + index, std::move(item));
    if (s->cur >= index) {
        ++s->cur;
    }
    if (s->caret >= index && Count(s) > 1) {
        ++s->caret;
    }
    if (s->anchor >= index) {
        ++s->anchor;
    }
    Measure(s, index);
    UpdateScrollBar(s);
    Redraw(s);
    return index;
}

int Delete(ListState* s, int index) {
    if (!Valid(s, index)) {
        return LB_ERR;
    }
    if (OwnerDraw(s) || s->items[index].data) {
        DELETEITEMSTRUCT dis{CtlType(s), CtlId(s), static_cast<UINT>(index), ItemWindow(s),
                             s->items[index].data};
        SendMessageW(OwnerTarget(s), WM_DELETEITEM, dis.CtlID, reinterpret_cast<LPARAM>(&dis));
    }
    s->items.erase(s->items.begin() + index);
    if (s->cur == index) {
        s->cur = -1;
    } else if (s->cur > index) {
        --s->cur;
    }
    if (s->caret >= Count(s) || s->caret > index) {
        s->caret = std::max(0, s->caret - 1);
    }
    if (s->anchor >= index) {
        --s->anchor;
    }
    s->top = std::clamp(s->top, 0, MaxTop(s));
    UpdateScrollBar(s);
    Redraw(s);
    return Count(s);
}

void Reset(ListState* s) {
    while (!s->items.empty()) {
        Delete(s, Count(s) - 1);
    }
    s->cur = -1;
    s->caret = 0;
    s->anchor = -1;
    s->top = 0;
    UpdateScrollBar(s);
    Redraw(s);
}

int Find(const ListState* s, int start, const char16_t* text, bool exact) {
    if (Count(s) == 0) {
        return LB_ERR;
    }
    if (start < -1 || start >= Count(s)) {
        start = -1;
    }
    for (int k = 1; k <= Count(s); ++k) {
        int i = (start + k) % Count(s);
        const Item& item = s->items[i];
        if (HasStrings(s)) {
            std::u16string wanted = text ? text : u"";
            if (exact ? CompareNoCase(item.text, wanted) == 0 : StartsWithNoCase(item.text, wanted)) {
                return i;
            }
        } else if (item.data == reinterpret_cast<ULONG_PTR>(text)) {
            return i;
        }
    }
    return LB_ERR;
}

void SetCur(ListState* s, int i) {
    if (i != s->cur) {
        if (Valid(s, s->cur)) {
            s->items[s->cur].selected = false;
        }
        s->cur = Valid(s, i) ? i : -1;
        if (s->cur >= 0) {
            s->items[s->cur].selected = true;
        }
        Redraw(s);
    }
    if (Valid(s, i)) {
        s->caret = i;
        EnsureVisible(s, i);
    }
}

void SelectRange(ListState* s, int from, int to, bool select) {
    if (from > to) {
        std::swap(from, to);
    }
    for (int i = std::max(0, from); i <= to && i < Count(s); ++i) {
        s->items[i].selected = select;
    }
    Redraw(s);
}

namespace {

void DrawItem(ListState* s, HDC dc, int i, const RECT& rect) {
    bool enabled = IsWindowEnabled(s->hwnd);
    bool selected = Valid(s, i) && s->items[i].selected;
    bool focus = s->focused && i == s->caret && !s->combo;
    if (OwnerDraw(s)) {
        DRAWITEMSTRUCT dis{};
        dis.CtlType = CtlType(s);
        dis.CtlID = CtlId(s);
        dis.itemID = Valid(s, i) ? static_cast<UINT>(i) : static_cast<UINT>(-1);
        dis.itemAction = ODA_DRAWENTIRE;
        dis.itemState =
            (selected ? ODS_SELECTED : 0) | (focus ? ODS_FOCUS : 0) | (enabled ? 0 : ODS_DISABLED);
        dis.hwndItem = s->hwnd;
        dis.hDC = dc;
        dis.rcItem = rect;
        dis.itemData = Valid(s, i) ? s->items[i].data : 0;
        SendMessageW(OwnerTarget(s), WM_DRAWITEM, dis.CtlID, reinterpret_cast<LPARAM>(&dis));
        return;
    }
    COLORREF oldText = GetTextColor(dc);
    if (selected) {
        FillRect(dc, &rect, GetSysColorBrush(COLOR_HIGHLIGHT));
        SetTextColor(dc, GetSysColor(COLOR_HIGHLIGHTTEXT));
    } else if (!enabled) {
        SetTextColor(dc, GetSysColor(COLOR_GRAYTEXT));
    }
    const std::u16string& text = s->items[i].text;
    SetBkMode(dc, TRANSPARENT);
    if (Style(s) & LBS_USETABSTOPS) {
        TabbedTextOutW(dc, rect.left + 1, rect.top, text.c_str(), static_cast<int>(text.size()),
                       static_cast<int>(s->tabStops.size()),
                       s->tabStops.empty() ? nullptr : s->tabStops.data(), rect.left + 1);
    } else {
        TextOutW(dc, rect.left + 1, rect.top, text.c_str(), static_cast<int>(text.size()));
    }
    SetTextColor(dc, oldText);
    if (focus) {
        DrawFocusRect(dc, &rect);
    }
}

} // namespace

void Paint(ListState* s, HDC dc) {
    RECT client;
    GetClientRect(s->hwnd, &client);
    int saved = SaveDC(dc);
    SelectObject(dc, ControlFont(s->font));
    HBRUSH back = ControlColor(s->combo ? s->combo : s->hwnd, dc, WM_CTLCOLORLISTBOX);
    FillRect(dc, &client, back);
    int y = 0;
    for (int i = s->top; i < Count(s) && y < client.bottom; ++i) {
        RECT rect{0, y, client.right, y + HeightOf(s, i)};
        DrawItem(s, dc, i, rect);
        y = rect.bottom;
    }
    if (Count(s) == 0 && s->focused && !s->combo && !OwnerDraw(s)) {
        RECT rect{0, 0, client.right, s->itemHeight};
        DrawFocusRect(dc, &rect);
    }
    RestoreDC(dc, saved);
}

namespace {

// A keyboard or mouse move of the caret to `i`, selecting as the style asks.
void UserMove(ListState* s, int i, bool shift, bool ctrl) {
    if (Count(s) == 0) {
        return;
    }
    i = std::clamp(i, 0, Count(s) - 1);
    DWORD style = Style(s);
    if (style & LBS_EXTENDEDSEL) {
        if (!ctrl) {
            if (!shift || s->anchor < 0) {
                s->anchor = i;
            }
            for (auto& item : s->items) {
                item.selected = false;
            }
            SelectRange(s, s->anchor, i, true);
        }
        s->caret = i;
        EnsureVisible(s, i);
        Redraw(s);
        Notify(s, LBN_SELCHANGE);
        return;
    }
    if (style & LBS_MULTIPLESEL) {
        s->caret = i;
        EnsureVisible(s, i);
        Redraw(s);
        return;
    }
    if (i != s->cur) {
        SetCur(s, i);
        Notify(s, LBN_SELCHANGE);
    } else {
        EnsureVisible(s, i);
    }
}

} // namespace

void KeyDown(ListState* s, WPARAM key) {
    bool shift = GetKeyState(VK_SHIFT) < 0;
    bool ctrl = GetKeyState(VK_CONTROL) < 0;
    int from = MultiSel(s) ? s->caret : (s->cur >= 0 ? s->cur : s->caret);
    if ((Style(s) & LBS_WANTKEYBOARDINPUT) && !s->combo) {
        LRESULT r = SendMessageW(GetParent(s->hwnd), WM_VKEYTOITEM, MAKEWPARAM(key, s->caret),
                                 reinterpret_cast<LPARAM>(s->hwnd));
        if (r == -2) {
            return;
        }
        if (r >= 0) {
            UserMove(s, static_cast<int>(r), shift, ctrl);
            return;
        }
    }
    int page = PageSize(s);
    switch (key) {
    case VK_UP:
        UserMove(s, from - 1, shift, ctrl);
        break;
    case VK_DOWN:
        UserMove(s, s->cur < 0 && !MultiSel(s) ? 0 : from + 1, shift, ctrl);
        break;
    case VK_PRIOR:
        UserMove(s, from - std::max(1, page - 1), shift, ctrl);
        break;
    case VK_NEXT:
        UserMove(s, from + std::max(1, page - 1), shift, ctrl);
        break;
    case VK_HOME:
        UserMove(s, 0, shift, ctrl);
        break;
    case VK_END:
        UserMove(s, Count(s) - 1, shift, ctrl);
        break;
    case VK_SPACE:
        if ((Style(s) & (LBS_MULTIPLESEL | LBS_EXTENDEDSEL)) && Valid(s, s->caret)) {
            if (Style(s) & LBS_EXTENDEDSEL && !ctrl) {
                break;
            }
            s->items[s->caret].selected = !s->items[s->caret].selected;
            s->anchor = s->caret;
            Redraw(s);
            Notify(s, LBN_SELCHANGE);
        }
        break;
    default:
        break;
    }
}

void CharTyped(ListState* s, char16_t ch) {
    if ((Style(s) & LBS_WANTKEYBOARDINPUT) && !HasStrings(s) && !s->combo) {
        LRESULT r = SendMessageW(GetParent(s->hwnd), WM_CHARTOITEM, MAKEWPARAM(ch, s->caret),
                                 reinterpret_cast<LPARAM>(s->hwnd));
        if (r >= 0) {
            UserMove(s, static_cast<int>(r), false, false);
        }
        return;
    }
    if (!HasStrings(s) || ch < 0x20) {
        return;
    }
    int start = MultiSel(s) ? s->caret : s->cur;
    char16_t text[2] = {ch, 0};
    int found = Find(s, start, text, false);
    if (found != LB_ERR) {
        UserMove(s, found, false, false);
    }
}

void MouseSelect(ListState* s, int i, WPARAM keys, bool down) {
    DWORD style = Style(s);
    if (style & LBS_MULTIPLESEL) {
        if (down) {
            s->items[i].selected = !s->items[i].selected;
            s->caret = i;
            Redraw(s);
            Notify(s, LBN_SELCHANGE);
        }
        return;
    }
    if (style & LBS_EXTENDEDSEL) {
        bool ctrl = keys & MK_CONTROL;
        bool shift = keys & MK_SHIFT;
        if (down && ctrl && !shift) {
            s->items[i].selected = !s->items[i].selected;
            s->anchor = s->caret = i;
            Redraw(s);
            Notify(s, LBN_SELCHANGE);
            return;
        }
        UserMove(s, i, shift || !down, false);
        return;
    }
    UserMove(s, i, false, false);
}

} // namespace controls::listbox
