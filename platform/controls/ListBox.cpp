// The "ListBox" class, and "ComboLBox", the same list dropped by a combo box.
#include "platform/controls/ControlsCommon.h"
#include "platform/controls/ListBoxInternal.h"
#include "platform/controls/StandardControls.h"

#include <cstring>
#include <vector>

namespace {

using namespace controls;

struct Item {
    std::u16string text;
    ULONG_PTR data = 0;
    bool selected = false;
    int height = 0;
};

struct ListState {
    HWND hwnd = nullptr;
    HWND combo = nullptr; // the combo box a dropped list belongs to
    std::vector<Item> items;
    int cur = -1;    // the selection of a single-selection list
    int caret = 0;   // the item with the focus rectangle
    int anchor = -1; // where an extended selection started
    int top = 0;
    int itemHeight = 16;
    HFONT font = nullptr;
    bool focused = false;
    bool tracking = false;      // the mouse is held on the list
    bool comboTracking = false; // dropped: the list follows the mouse until a click
    std::vector<int> tabStops;
    int hExtent = 0;
    bool vscroll = false;     // created with WS_VSCROLL (the style bit goes while the bar is hidden)
    int requestedHeight = -1; // the window height asked for, before rounding to whole items
};

DWORD Style(const ListState* s) {
    return ClassStyle(s->hwnd);
}
bool OwnerDraw(const ListState* s) {
    return Style(s) & (LBS_OWNERDRAWFIXED | LBS_OWNERDRAWVARIABLE);
}
bool HasStrings(const ListState* s) {
    return !OwnerDraw(s) || (Style(s) & LBS_HASSTRINGS);
}
bool MultiSel(const ListState* s) {
    return Style(s) & (LBS_MULTIPLESEL | LBS_EXTENDEDSEL);
}
int Count(const ListState* s) {
    return static_cast<int>(s->items.size());
}
bool Valid(const ListState* s, int i) {
    return i >= 0 && i < Count(s);
}

// Owner-draw messages of a dropped list go to the combo box's parent in the combo box's name.
HWND OwnerTarget(const ListState* s) {
    return GetParent(s->combo ? s->combo : s->hwnd);
}
HWND ItemWindow(const ListState* s) {
    return s->combo ? s->combo : s->hwnd;
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

// Items wholly visible from the top index (at least one).
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

void Redraw(ListState* s) {
    InvalidateRect(s->hwnd, nullptr, TRUE);
}

bool Integral(const ListState* s) {
    return !(Style(s) & (LBS_NOINTEGRALHEIGHT | LBS_OWNERDRAWVARIABLE)) && !s->combo;
}

// The height of the window for `height` asked for: the client area a whole number of items.
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
        SetWindowPos(s->hwnd, nullptr, 0, 0, window.right - window.left, wanted,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
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

// The item under a client point, and whether the point is outside the items.
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

LRESULT CALLBACK ListProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    auto* s = StateOf<ListState>(hwnd);
    if (!s && msg != WM_NCCREATE) {
        return DefWindowProcW(hwnd, msg, wParam, lParam);
    }
    switch (msg) {
    case WM_NCCREATE: {
        s = new ListState;
        s->hwnd = hwnd;
        auto* cs = reinterpret_cast<CREATESTRUCTW*>(lParam);
        if (cs->style & LBS_COMBOBOX) {
            s->combo = static_cast<HWND>(cs->lpCreateParams);
        }
        s->vscroll = (cs->style & WS_VSCROLL) != 0;
        SetState(hwnd, s);
        return DefWindowProcW(hwnd, msg, wParam, lParam);
    }
    case WM_CREATE: {
        HDC dc = CreateCompatibleDC(nullptr);
        SelectObject(dc, ControlFont(s->font));
        TEXTMETRICW tm{};
        GetTextMetricsW(dc, &tm);
        DeleteDC(dc);
        s->itemHeight = std::max<int>(1, tm.tmHeight);
        if (Style(s) & LBS_OWNERDRAWFIXED) {
            MEASUREITEMSTRUCT mis{CtlType(s), CtlId(s), 0, 0, static_cast<UINT>(s->itemHeight), 0};
            SendMessageW(OwnerTarget(s), WM_MEASUREITEM, mis.CtlID, reinterpret_cast<LPARAM>(&mis));
            s->itemHeight = std::max(1, static_cast<int>(mis.itemHeight));
        }
        s->requestedHeight = reinterpret_cast<CREATESTRUCTW*>(lParam)->cy;
        ApplyIntegralHeight(s);
        UpdateScrollBar(s);
        return 0;
    }
    case WM_NCDESTROY:
        if (OwnerDraw(s)) {
            Reset(s);
        }
        SetState(hwnd, nullptr);
        delete s;
        return DefWindowProcW(hwnd, msg, wParam, lParam);
    case WM_WINDOWPOSCHANGING: {
        // Shows whole items only: the height asked for is remembered and rounded down.
        auto* pos = reinterpret_cast<WINDOWPOS*>(lParam);
        if (Integral(s) && !(pos->flags & SWP_NOSIZE) && s->requestedHeight >= 0) {
            s->requestedHeight = pos->cy;
            pos->cy = IntegralHeight(s, pos->cy);
        }
        return DefWindowProcW(hwnd, msg, wParam, lParam);
    }
    case WM_SIZE:
        s->top = std::clamp(s->top, 0, MaxTop(s));
        UpdateScrollBar(s);
        Redraw(s);
        return 0;
    case WM_GETDLGCODE:
        return DLGC_WANTARROWS | DLGC_WANTCHARS;
    case WM_MOUSEACTIVATE:
        // The dropped list never takes the activation from the combo box's window.
        if (s->combo && !(Style(s) & WS_CHILD)) {
            return MA_NOACTIVATE;
        }
        return DefWindowProcW(hwnd, msg, wParam, lParam);
    case WM_ERASEBKGND:
        return 1;
    case WM_PAINT:
    case WM_PRINTCLIENT: {
        PAINTSTRUCT ps{};
        HDC dc = wParam ? reinterpret_cast<HDC>(wParam) : BeginPaint(hwnd, &ps);
        Paint(s, dc);
        if (!wParam) {
            EndPaint(hwnd, &ps);
        }
        return 0;
    }
    case WM_SETFOCUS:
        s->focused = true;
        Redraw(s);
        Notify(s, LBN_SETFOCUS);
        return 0;
    case WM_KILLFOCUS:
        s->focused = false;
        Redraw(s);
        Notify(s, LBN_KILLFOCUS);
        return 0;
    case WM_ENABLE:
        Redraw(s);
        return 0;
    case WM_SETFONT: {
        s->font = reinterpret_cast<HFONT>(wParam);
        if (!OwnerDraw(s)) {
            HDC dc = CreateCompatibleDC(nullptr);
            SelectObject(dc, ControlFont(s->font));
            TEXTMETRICW tm{};
            GetTextMetricsW(dc, &tm);
            DeleteDC(dc);
            s->itemHeight = std::max<int>(1, tm.tmHeight);
        }
        ApplyIntegralHeight(s);
        UpdateScrollBar(s);
        if (LOWORD(lParam)) {
            Redraw(s);
        }
        return 0;
    }
    case WM_GETFONT:
        return reinterpret_cast<LRESULT>(s->font);
    case WM_KEYDOWN:
        KeyDown(s, wParam);
        return 0;
    case WM_CHAR:
        CharTyped(s, static_cast<char16_t>(wParam));
        return 0;
    case WM_LBUTTONDOWN: {
        POINT p{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
        bool outside = false;
        int i = ItemFromPoint(s, p, &outside);
        if (s->comboTracking) {
            RECT client;
            GetClientRect(hwnd, &client);
            if (!PtInRect(&client, p)) {
                POINT screen = p;
                ClientToScreen(hwnd, &screen);
                LRESULT hit = SendMessageW(hwnd, WM_NCHITTEST, 0, MAKELPARAM(screen.x, screen.y));
                if (hit == HTVSCROLL) {
                    // The list's own scroll bar: let it track, then go on following the mouse.
                    s->comboTracking = false;
                    ReleaseCapture();
                    DefWindowProcW(hwnd, WM_NCLBUTTONDOWN, HTVSCROLL, MAKELPARAM(screen.x, screen.y));
                    if (IsWindowVisible(hwnd)) {
                        s->comboTracking = true;
                        SetCapture(hwnd);
                    }
                    return 0;
                }
                SendMessageW(s->combo, CBM_LISTDONE, FALSE, 0);
                return 0;
            }
            if (!outside) {
                SendMessageW(hwnd, LBM_SELECTQUIET, static_cast<WPARAM>(i), 0);
            }
            return 0;
        }
        if (!s->combo) {
            SetFocus(hwnd);
        }
        if (!outside || Valid(s, i)) {
            if (Count(s) > 0) {
                MouseSelect(s, i, wParam, true);
            }
        }
        s->tracking = true;
        SetCapture(hwnd);
        return 0;
    }
    case WM_MOUSEMOVE: {
        POINT p{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
        bool outside = false;
        int i = ItemFromPoint(s, p, &outside);
        if (s->comboTracking) {
            RECT client;
            GetClientRect(hwnd, &client);
            if (PtInRect(&client, p) && !outside && i != s->cur) {
                SendMessageW(hwnd, LBM_SELECTQUIET, static_cast<WPARAM>(i), 0);
            }
            return 0;
        }
        if (s->tracking && GetCapture() == hwnd && Count(s) > 0 && !(Style(s) & LBS_MULTIPLESEL)) {
            MouseSelect(s, i, wParam, false);
        }
        return 0;
    }
    case WM_LBUTTONUP: {
        if (s->comboTracking) {
            POINT p{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
            RECT client;
            GetClientRect(hwnd, &client);
            if (PtInRect(&client, p)) {
                SendMessageW(s->combo, CBM_LISTDONE, TRUE, 0);
            }
            return 0;
        }
        if (s->tracking) {
            s->tracking = false;
            if (GetCapture() == hwnd) {
                ReleaseCapture();
            }
        }
        return 0;
    }
    case WM_LBUTTONDBLCLK:
        if (s->comboTracking) {
            return ListProc(hwnd, WM_LBUTTONDOWN, wParam, lParam);
        }
        Notify(s, LBN_DBLCLK);
        return 0;
    case WM_CAPTURECHANGED:
        s->tracking = false;
        if (s->comboTracking && reinterpret_cast<HWND>(lParam) != hwnd) {
            s->comboTracking = false;
            SendMessageW(s->combo, CBM_LISTDONE, FALSE, 1);
        }
        return 0;
    case WM_VSCROLL: {
        int page = PageSize(s);
        switch (LOWORD(wParam)) {
        case SB_LINEUP:
            SetTop(s, s->top - 1);
            break;
        case SB_LINEDOWN:
            SetTop(s, s->top + 1);
            break;
        case SB_PAGEUP:
            SetTop(s, s->top - std::max(1, page - 1));
            break;
        case SB_PAGEDOWN:
            SetTop(s, s->top + std::max(1, page - 1));
            break;
        case SB_TOP:
            SetTop(s, 0);
            break;
        case SB_BOTTOM:
            SetTop(s, Count(s));
            break;
        case SB_THUMBTRACK:
        case SB_THUMBPOSITION:
            SetTop(s, static_cast<short>(HIWORD(wParam)));
            break;
        default:
            break;
        }
        return 0;
    }
    case WM_MOUSEWHEEL:
        SetTop(s, s->top - 3 * GET_WHEEL_DELTA_WPARAM(wParam) / WHEEL_DELTA);
        return 0;
    case LB_ADDSTRING:
        return Insert(s, -1, lParam, (Style(s) & LBS_SORT) != 0);
    case LB_INSERTSTRING:
        return Insert(s, static_cast<int>(wParam), lParam, false);
    case LB_DELETESTRING:
        return Delete(s, static_cast<int>(wParam));
    case LB_RESETCONTENT:
        Reset(s);
        return 0;
    case LB_GETCOUNT:
        return Count(s);
    case LB_GETCURSEL:
        if (MultiSel(s)) {
            return Count(s) ? s->caret : LB_ERR;
        }
        return s->cur;
    case LB_SETCURSEL: {
        if (MultiSel(s)) {
            return LB_ERR;
        }
        int i = static_cast<int>(wParam);
        SetCur(s, Valid(s, i) ? i : -1);
        return Valid(s, i) ? i : LB_ERR;
    }
    case LBM_SELECTQUIET: {
        int i = static_cast<int>(wParam);
        SetCur(s, Valid(s, i) ? i : -1);
        return s->cur;
    }
    case LBM_COMBOTRACK:
        s->comboTracking = wParam != 0;
        if (s->comboTracking) {
            SetCapture(hwnd);
        } else if (GetCapture() == hwnd) {
            ReleaseCapture();
        }
        return 0;
    case LB_GETSEL: {
        int i = static_cast<int>(wParam);
        return Valid(s, i) ? (s->items[i].selected ? 1 : 0) : LB_ERR;
    }
    case LB_SETSEL: {
        if (!MultiSel(s)) {
            return LB_ERR;
        }
        int i = static_cast<int>(lParam);
        if (i == -1) {
            SelectRange(s, 0, Count(s) - 1, wParam != 0);
            return 0;
        }
        if (!Valid(s, i)) {
            return LB_ERR;
        }
        s->items[i].selected = wParam != 0;
        if (wParam) {
            s->caret = s->anchor = i;
        }
        Redraw(s);
        return 0;
    }
    case LB_SELITEMRANGE:
    case LB_SELITEMRANGEEX: {
        if (!MultiSel(s)) {
            return LB_ERR;
        }
        int from = msg == LB_SELITEMRANGE ? LOWORD(lParam) : static_cast<int>(wParam);
        int to = msg == LB_SELITEMRANGE ? HIWORD(lParam) : static_cast<int>(lParam);
        bool select = msg == LB_SELITEMRANGE ? wParam != 0 : from <= to;
        SelectRange(s, from, to, select);
        return 0;
    }
    case LB_GETSELCOUNT: {
        if (!MultiSel(s)) {
            return LB_ERR;
        }
        int n = 0;
        for (const auto& item : s->items) {
            n += item.selected ? 1 : 0;
        }
        return n;
    }
    case LB_GETSELITEMS: {
        if (!MultiSel(s)) {
            return LB_ERR;
        }
        auto* out = reinterpret_cast<int*>(lParam);
        int n = 0;
        for (int i = 0; i < Count(s) && n < static_cast<int>(wParam); ++i) {
            if (s->items[i].selected) {
                out[n++] = i;
            }
        }
        return n;
    }
    case LB_GETTEXT: {
        int i = static_cast<int>(wParam);
        if (!Valid(s, i)) {
            return LB_ERR;
        }
        if (!HasStrings(s)) {
            std::memcpy(reinterpret_cast<void*>(lParam), &s->items[i].data, sizeof(ULONG_PTR));
            return sizeof(ULONG_PTR);
        }
        const std::u16string& text = s->items[i].text;
        std::memcpy(reinterpret_cast<char16_t*>(lParam), text.c_str(), (text.size() + 1) * sizeof(char16_t));
        return static_cast<LRESULT>(text.size());
    }
    case LB_GETTEXTLEN: {
        int i = static_cast<int>(wParam);
        if (!Valid(s, i)) {
            return LB_ERR;
        }
        return HasStrings(s) ? static_cast<LRESULT>(s->items[i].text.size())
                             : static_cast<LRESULT>(sizeof(ULONG_PTR));
    }
    case LB_FINDSTRING:
    case LB_FINDSTRINGEXACT:
        return Find(s, static_cast<int>(wParam), reinterpret_cast<const char16_t*>(lParam),
                    msg == LB_FINDSTRINGEXACT);
    case LB_SELECTSTRING: {
        int i = Find(s, static_cast<int>(wParam), reinterpret_cast<const char16_t*>(lParam), false);
        if (i == LB_ERR) {
            return LB_ERR;
        }
        if (MultiSel(s)) {
            s->items[i].selected = true;
            s->caret = i;
            EnsureVisible(s, i);
            Redraw(s);
        } else {
            SetCur(s, i);
        }
        return i;
    }
    case LB_GETITEMDATA: {
        int i = static_cast<int>(wParam);
        return Valid(s, i) ? static_cast<LRESULT>(s->items[i].data) : LB_ERR;
    }
    case LB_SETITEMDATA: {
        int i = static_cast<int>(wParam);
        if (i == -1) {
            for (auto& item : s->items) {
                item.data = static_cast<ULONG_PTR>(lParam);
            }
            return TRUE;
        }
        if (!Valid(s, i)) {
            return LB_ERR;
        }
        s->items[i].data = static_cast<ULONG_PTR>(lParam);
        return TRUE;
    }
    case LB_GETTOPINDEX:
        return s->top;
    case LB_SETTOPINDEX: {
        int i = static_cast<int>(wParam);
        if (!Valid(s, i) && !(i == 0 && Count(s) == 0)) {
            return LB_ERR;
        }
        SetTop(s, i);
        return 0;
    }
    case LB_GETITEMHEIGHT: {
        int i = static_cast<int>(wParam);
        if ((Style(s) & LBS_OWNERDRAWVARIABLE)) {
            return Valid(s, i) ? s->items[i].height : LB_ERR;
        }
        return s->itemHeight;
    }
    case LB_SETITEMHEIGHT: {
        int height = LOWORD(lParam);
        if (height <= 0 || height > 255) {
            return LB_ERR;
        }
        int i = static_cast<int>(wParam);
        if (Style(s) & LBS_OWNERDRAWVARIABLE) {
            if (!Valid(s, i)) {
                return LB_ERR;
            }
            s->items[i].height = height;
        } else {
            s->itemHeight = height;
            ApplyIntegralHeight(s);
        }
        s->top = std::clamp(s->top, 0, MaxTop(s));
        UpdateScrollBar(s);
        Redraw(s);
        return 0;
    }
    case LB_GETITEMRECT: {
        int i = static_cast<int>(wParam);
        if (!Valid(s, i) && !(i == 0 && Count(s) == 0)) {
            return LB_ERR;
        }
        *reinterpret_cast<RECT*>(lParam) = ItemRect(s, i);
        RECT client;
        GetClientRect(hwnd, &client);
        RECT r = ItemRect(s, i);
        RECT dummy;
        return IntersectRect(&dummy, &r, &client) ? 1 : 0;
    }
    case LB_ITEMFROMPOINT: {
        bool outside = false;
        POINT p{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
        int i = ItemFromPoint(s, p, &outside);
        return MAKELONG(static_cast<WORD>(i), outside ? 1 : 0);
    }
    case LB_SETTABSTOPS: {
        s->tabStops.clear();
        if (wParam == 0) {
            return TRUE;
        }
        // Dialog units: a quarter of the average character width each.
        const int* stops = reinterpret_cast<const int*>(lParam);
        HDC dc = CreateCompatibleDC(nullptr);
        SelectObject(dc, ControlFont(s->font));
        TEXTMETRICW tm{};
        GetTextMetricsW(dc, &tm);
        DeleteDC(dc);
        int count = wParam == 1 ? 1 : static_cast<int>(wParam);
        for (int i = 0; i < count; ++i) {
            s->tabStops.push_back(stops[i] * tm.tmAveCharWidth / 4);
        }
        Redraw(s);
        return TRUE;
    }
    case LB_SETCARETINDEX: {
        int i = static_cast<int>(wParam);
        if (!Valid(s, i)) {
            return LB_ERR;
        }
        s->caret = i;
        if (!MultiSel(s)) {
            SetCur(s, i);
        }
        EnsureVisible(s, i);
        Redraw(s);
        return 0;
    }
    case LB_GETCARETINDEX:
        return Count(s) ? s->caret : 0;
    case LB_SETANCHORINDEX:
        s->anchor = static_cast<int>(wParam);
        return 0;
    case LB_GETANCHORINDEX:
        return s->anchor;
    case LB_GETHORIZONTALEXTENT:
        return s->hExtent;
    case LB_SETHORIZONTALEXTENT:
        s->hExtent = static_cast<int>(wParam);
        return 0;
    case LB_INITSTORAGE:
        s->items.reserve(s->items.size() + wParam);
        return static_cast<LRESULT>(s->items.capacity());
    case LB_GETLOCALE:
        return 0x0409;
    case LB_SETLOCALE:
        return 0x0409;
    default:
        return DefWindowProcW(hwnd, msg, wParam, lParam);
    }
}

} // namespace

void RegisterListBoxClass() {
    RegisterControlClass(u"ListBox", ListProc, CS_DBLCLKS | CS_PARENTDC, IDC_ARROW, nullptr);
    RegisterControlClass(u"ComboLBox", ListProc, CS_DBLCLKS | CS_SAVEBITS, IDC_ARROW, nullptr);
}
