// The "ListBox" class, and "ComboLBox", the same list dropped by a combo box: a handler per message.
#include "platform/controls/ListBoxInternal.h"
#include "platform/controls/ListBoxState.h"
#include "platform/controls/StandardControls.h"

#include <cstring>

namespace {

using namespace controls;
using namespace controls::listbox;

int FontItemHeight(const ListState* s) {
    return std::max<int>(1, FontMetrics(s->font).tmHeight);
}

POINT PointOf(LPARAM lParam) {
    return POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
}

bool InClient(HWND hwnd, POINT p) {
    RECT client;
    GetClientRect(hwnd, &client);
    return PtInRect(&client, p);
}

// A list index from a message parameter valid as an item, or -1.
int ItemOrNone(const ListState* s, WPARAM wParam) {
    int i = static_cast<int>(wParam);
    return Valid(s, i) ? i : -1;
}

LRESULT OnNcCreate(HWND hwnd, WPARAM wParam, LPARAM lParam) {
    auto* s = new ListState;
    s->hwnd = hwnd;
    auto* cs = reinterpret_cast<CREATESTRUCTW*>(lParam);
    if (cs->style & LBS_COMBOBOX) {
        s->combo = static_cast<HWND>(cs->lpCreateParams);
    }
    s->vscroll = (cs->style & WS_VSCROLL) != 0;
    SetState(hwnd, s);
    return DefWindowProcW(hwnd, WM_NCCREATE, wParam, lParam);
}

LRESULT OnCreate(ListState* s, const CREATESTRUCTW* cs) {
    s->itemHeight = FontItemHeight(s);
    if (Style(s) & LBS_OWNERDRAWFIXED) {
        MEASUREITEMSTRUCT mis{CtlType(s), CtlId(s), 0, 0, static_cast<UINT>(s->itemHeight), 0};
        SendMessageW(OwnerTarget(s), WM_MEASUREITEM, mis.CtlID, reinterpret_cast<LPARAM>(&mis));
        s->itemHeight = std::max(1, static_cast<int>(mis.itemHeight));
    }
    s->requestedHeight = cs->cy;
    ApplyIntegralHeight(s);
    UpdateScrollBar(s);
    return 0;
}

// The owner hears of every item going (WM_DELETEITEM).
LRESULT OnNcDestroy(ListState* s, WPARAM wParam, LPARAM lParam) {
    if (OwnerDraw(s)) {
        Reset(s);
    }
    return DestroyState(s->hwnd, s, wParam, lParam);
}

// Shows whole items only: the height asked for is remembered and rounded down.
void KeepWholeItems(ListState* s, WINDOWPOS* pos) {
    if (Integral(s) && !(pos->flags & SWP_NOSIZE) && s->requestedHeight >= 0) {
        s->requestedHeight = pos->cy;
        pos->cy = IntegralHeight(s, pos->cy);
    }
}

LRESULT OnSize(ListState* s) {
    s->top = std::clamp(s->top, 0, MaxTop(s));
    UpdateScrollBar(s);
    Redraw(s);
    return 0;
}

LRESULT OnFocus(ListState* s, bool focused) {
    s->focused = focused;
    Redraw(s);
    Notify(s, focused ? LBN_SETFOCUS : LBN_KILLFOCUS);
    return 0;
}

LRESULT OnSetFont(ListState* s, WPARAM wParam, LPARAM lParam) {
    s->font = reinterpret_cast<HFONT>(wParam);
    if (!OwnerDraw(s)) {
        s->itemHeight = FontItemHeight(s);
    }
    ApplyIntegralHeight(s);
    UpdateScrollBar(s);
    if (LOWORD(lParam)) {
        Redraw(s);
    }
    return 0;
}

// A click of a dropped list that follows the mouse: on an item it selects, on the list's scroll bar the bar
// tracks, anywhere else the list closes.
LRESULT ComboTrackingClick(ListState* s, POINT p) {
    HWND hwnd = s->hwnd;
    if (InClient(hwnd, p)) {
        bool outside = false;
        int i = ItemFromPoint(s, p, &outside);
        if (!outside) {
            SendMessageW(hwnd, LBM_SELECTQUIET, static_cast<WPARAM>(i), 0);
        }
        return 0;
    }
    POINT screen = p;
    ClientToScreen(hwnd, &screen);
    LRESULT hit = SendMessageW(hwnd, WM_NCHITTEST, 0, MAKELPARAM(screen.x, screen.y));
    if (hit != HTVSCROLL) {
        SendMessageW(s->combo, CBM_LISTDONE, FALSE, 0);
        return 0;
    }
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

LRESULT OnLButtonDown(ListState* s, WPARAM keys, LPARAM lParam) {
    POINT p = PointOf(lParam);
    if (s->comboTracking) {
        return ComboTrackingClick(s, p);
    }
    bool outside = false;
    int i = ItemFromPoint(s, p, &outside);
    if (!s->combo) {
        SetFocus(s->hwnd);
    }
    if ((!outside || Valid(s, i)) && Count(s) > 0) {
        MouseSelect(s, i, keys, true);
    }
    s->tracking = true;
    SetCapture(s->hwnd);
    return 0;
}

LRESULT OnMouseMove(ListState* s, WPARAM keys, LPARAM lParam) {
    POINT p = PointOf(lParam);
    bool outside = false;
    int i = ItemFromPoint(s, p, &outside);
    if (s->comboTracking) {
        if (InClient(s->hwnd, p) && !outside && i != s->cur) {
            SendMessageW(s->hwnd, LBM_SELECTQUIET, static_cast<WPARAM>(i), 0);
        }
        return 0;
    }
    if (s->tracking && GetCapture() == s->hwnd && Count(s) > 0 && !(Style(s) & LBS_MULTIPLESEL)) {
        MouseSelect(s, i, keys, false);
    }
    return 0;
}

LRESULT OnLButtonUp(ListState* s, LPARAM lParam) {
    if (s->comboTracking) {
        if (InClient(s->hwnd, PointOf(lParam))) {
            SendMessageW(s->combo, CBM_LISTDONE, TRUE, 0);
        }
        return 0;
    }
    if (s->tracking) {
        s->tracking = false;
        if (GetCapture() == s->hwnd) {
            ReleaseCapture();
        }
    }
    return 0;
}

LRESULT OnLButtonDblClk(ListState* s, WPARAM keys, LPARAM lParam) {
    if (s->comboTracking) {
        return OnLButtonDown(s, keys, lParam);
    }
    Notify(s, LBN_DBLCLK);
    return 0;
}

LRESULT OnCaptureChanged(ListState* s, HWND gaining) {
    s->tracking = false;
    if (s->comboTracking && gaining != s->hwnd) {
        s->comboTracking = false;
        SendMessageW(s->combo, CBM_LISTDONE, FALSE, 1);
    }
    return 0;
}

LRESULT OnVScroll(ListState* s, WPARAM wParam) {
    int step = std::max(1, PageSize(s) - 1);
    switch (LOWORD(wParam)) {
    case SB_LINEUP:
        SetTop(s, s->top - 1);
        break;
    case SB_LINEDOWN:
        SetTop(s, s->top + 1);
        break;
    case SB_PAGEUP:
        SetTop(s, s->top - step);
        break;
    case SB_PAGEDOWN:
        SetTop(s, s->top + step);
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

LRESULT OnComboTrack(ListState* s, bool track) {
    s->comboTracking = track;
    if (track) {
        SetCapture(s->hwnd);
    } else if (GetCapture() == s->hwnd) {
        ReleaseCapture();
    }
    return 0;
}

LRESULT OnGetText(const ListState* s, WPARAM wParam, LPARAM lParam) {
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

LRESULT OnGetTextLen(const ListState* s, WPARAM wParam) {
    int i = static_cast<int>(wParam);
    if (!Valid(s, i)) {
        return LB_ERR;
    }
    return HasStrings(s) ? static_cast<LRESULT>(s->items[i].text.size())
                         : static_cast<LRESULT>(sizeof(ULONG_PTR));
}

LRESULT OnSelectString(ListState* s, WPARAM wParam, LPARAM lParam) {
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

// Item -1 sets the data of every item.
LRESULT OnSetItemData(ListState* s, WPARAM wParam, LPARAM lParam) {
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

LRESULT OnGetItemHeight(const ListState* s, WPARAM wParam) {
    int i = static_cast<int>(wParam);
    if (Style(s) & LBS_OWNERDRAWVARIABLE) {
        return Valid(s, i) ? s->items[i].height : LB_ERR;
    }
    return s->itemHeight;
}

LRESULT OnSetItemHeight(ListState* s, WPARAM wParam, LPARAM lParam) {
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
    return OnSize(s);
}

// An empty list answers for item 0 too.
bool ValidOrFirstOfEmpty(const ListState* s, int i) {
    return Valid(s, i) || (i == 0 && Count(s) == 0);
}

// The item's rectangle, and whether any of it is in the client area.
LRESULT OnGetItemRect(const ListState* s, WPARAM wParam, LPARAM lParam) {
    int i = static_cast<int>(wParam);
    if (!ValidOrFirstOfEmpty(s, i)) {
        return LB_ERR;
    }
    RECT item = ItemRect(s, i);
    *reinterpret_cast<RECT*>(lParam) = item;
    RECT client;
    GetClientRect(s->hwnd, &client);
    RECT overlap;
    return IntersectRect(&overlap, &item, &client) ? 1 : 0;
}

LRESULT OnItemFromPoint(const ListState* s, LPARAM lParam) {
    bool outside = false;
    int i = ItemFromPoint(s, PointOf(lParam), &outside);
    return MAKELONG(static_cast<WORD>(i), outside ? 1 : 0);
}

LRESULT OnSetTabStops(ListState* s, WPARAM count, LPARAM lParam) {
    s->tabStops.clear();
    if (count == 0) {
        return TRUE;
    }
    // Dialog units: a quarter of the average character width each.
    const int* stops = reinterpret_cast<const int*>(lParam);
    int average = FontMetrics(s->font).tmAveCharWidth;
    for (WPARAM i = 0; i < count; ++i) {
        s->tabStops.push_back(stops[i] * average / 4);
    }
    Redraw(s);
    return TRUE;
}

LRESULT OnGetCurSel(const ListState* s) {
    if (MultiSel(s)) {
        return Count(s) ? s->caret : LB_ERR;
    }
    return s->cur;
}

LRESULT OnSetCurSel(ListState* s, WPARAM wParam) {
    if (MultiSel(s)) {
        return LB_ERR;
    }
    int i = ItemOrNone(s, wParam);
    SetCur(s, i);
    return i >= 0 ? i : LB_ERR;
}

// Item -1 selects or clears every item.
LRESULT OnSetSel(ListState* s, WPARAM select, LPARAM lParam) {
    if (!MultiSel(s)) {
        return LB_ERR;
    }
    int i = static_cast<int>(lParam);
    if (i == -1) {
        SelectRange(s, 0, Count(s) - 1, select != 0);
        return 0;
    }
    if (!Valid(s, i)) {
        return LB_ERR;
    }
    s->items[i].selected = select != 0;
    if (select) {
        s->caret = s->anchor = i;
    }
    Redraw(s);
    return 0;
}

LRESULT OnSelItemRange(ListState* s, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (!MultiSel(s)) {
        return LB_ERR;
    }
    if (msg == LB_SELITEMRANGE) {
        SelectRange(s, LOWORD(lParam), HIWORD(lParam), wParam != 0);
    } else {
        int from = static_cast<int>(wParam);
        int to = static_cast<int>(lParam);
        SelectRange(s, from, to, from <= to);
    }
    return 0;
}

LRESULT OnGetSelCount(const ListState* s) {
    if (!MultiSel(s)) {
        return LB_ERR;
    }
    return std::count_if(s->items.begin(), s->items.end(), [](const Item& item) { return item.selected; });
}

LRESULT OnGetSelItems(const ListState* s, WPARAM size, LPARAM lParam) {
    if (!MultiSel(s)) {
        return LB_ERR;
    }
    auto* out = reinterpret_cast<int*>(lParam);
    int n = 0;
    for (int i = 0; i < Count(s) && n < static_cast<int>(size); ++i) {
        if (s->items[i].selected) {
            out[n++] = i;
        }
    }
    return n;
}

LRESULT OnSetTopIndex(ListState* s, WPARAM wParam) {
    int i = static_cast<int>(wParam);
    if (!ValidOrFirstOfEmpty(s, i)) {
        return LB_ERR;
    }
    SetTop(s, i);
    return 0;
}

LRESULT OnSetCaretIndex(ListState* s, WPARAM wParam) {
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

// The items: adding, removing, their text, data and height.
LRESULT ItemMessage(ListState* s, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
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
    case LB_GETTEXT:
        return OnGetText(s, wParam, lParam);
    case LB_GETTEXTLEN:
        return OnGetTextLen(s, wParam);
    case LB_FINDSTRING:
    case LB_FINDSTRINGEXACT:
        return Find(s, static_cast<int>(wParam), reinterpret_cast<const char16_t*>(lParam),
                    msg == LB_FINDSTRINGEXACT);
    case LB_GETITEMDATA: {
        int i = static_cast<int>(wParam);
        return Valid(s, i) ? static_cast<LRESULT>(s->items[i].data) : LB_ERR;
    }
    case LB_SETITEMDATA:
        return OnSetItemData(s, wParam, lParam);
    case LB_GETITEMHEIGHT:
        return OnGetItemHeight(s, wParam);
    case LB_SETITEMHEIGHT:
        return OnSetItemHeight(s, wParam, lParam);
    case LB_GETITEMRECT:
        return OnGetItemRect(s, wParam, lParam);
    case LB_ITEMFROMPOINT:
        return OnItemFromPoint(s, lParam);
    case LB_SETTABSTOPS:
        return OnSetTabStops(s, wParam, lParam);
    case LB_INITSTORAGE:
        s->items.reserve(s->items.size() + wParam);
        return static_cast<LRESULT>(s->items.capacity());
    case LB_GETLOCALE:
    case LB_SETLOCALE:
        return 0x0409;
    default:
        return DefWindowProcW(s->hwnd, msg, wParam, lParam);
    }
}

// The selection, the caret and anchor, and what is scrolled into view.
LRESULT SelectionMessage(ListState* s, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case LB_GETCURSEL:
        return OnGetCurSel(s);
    case LB_SETCURSEL:
        return OnSetCurSel(s, wParam);
    case LBM_SELECTQUIET:
        SetCur(s, ItemOrNone(s, wParam));
        return s->cur;
    case LB_SELECTSTRING:
        return OnSelectString(s, wParam, lParam);
    case LB_GETSEL: {
        int i = static_cast<int>(wParam);
        return Valid(s, i) ? (s->items[i].selected ? 1 : 0) : LB_ERR;
    }
    case LB_SETSEL:
        return OnSetSel(s, wParam, lParam);
    case LB_SELITEMRANGE:
    case LB_SELITEMRANGEEX:
        return OnSelItemRange(s, msg, wParam, lParam);
    case LB_GETSELCOUNT:
        return OnGetSelCount(s);
    case LB_GETSELITEMS:
        return OnGetSelItems(s, wParam, lParam);
    case LB_GETTOPINDEX:
        return s->top;
    case LB_SETTOPINDEX:
        return OnSetTopIndex(s, wParam);
    case LB_SETCARETINDEX:
        return OnSetCaretIndex(s, wParam);
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
    default:
        return ItemMessage(s, msg, wParam, lParam);
    }
}

LRESULT CALLBACK ListProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_NCCREATE) {
        return OnNcCreate(hwnd, wParam, lParam);
    }
    auto* s = StateOf<ListState>(hwnd);
    if (!s) {
        return DefWindowProcW(hwnd, msg, wParam, lParam);
    }
    switch (msg) {
    case WM_CREATE:
        return OnCreate(s, reinterpret_cast<const CREATESTRUCTW*>(lParam));
    case WM_NCDESTROY:
        return OnNcDestroy(s, wParam, lParam);
    case WM_WINDOWPOSCHANGING:
        KeepWholeItems(s, reinterpret_cast<WINDOWPOS*>(lParam));
        return DefWindowProcW(hwnd, msg, wParam, lParam);
    case WM_SIZE:
        return OnSize(s);
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
    case WM_PRINTCLIENT:
        return PaintClient(hwnd, wParam, [s](HDC dc) { Paint(s, dc); });
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
        return OnFocus(s, msg == WM_SETFOCUS);
    case WM_ENABLE:
        Redraw(s);
        return 0;
    case WM_SETFONT:
        return OnSetFont(s, wParam, lParam);
    case WM_GETFONT:
        return reinterpret_cast<LRESULT>(s->font);
    case WM_KEYDOWN:
        KeyDown(s, wParam);
        return 0;
    case WM_CHAR:
        CharTyped(s, static_cast<char16_t>(wParam));
        return 0;
    case WM_LBUTTONDOWN:
        return OnLButtonDown(s, wParam, lParam);
    case WM_MOUSEMOVE:
        return OnMouseMove(s, wParam, lParam);
    case WM_LBUTTONUP:
        return OnLButtonUp(s, lParam);
    case WM_LBUTTONDBLCLK:
        return OnLButtonDblClk(s, wParam, lParam);
    case WM_CAPTURECHANGED:
        return OnCaptureChanged(s, reinterpret_cast<HWND>(lParam));
    case WM_VSCROLL:
        return OnVScroll(s, wParam);
    case WM_MOUSEWHEEL:
        SetTop(s, s->top - 3 * GET_WHEEL_DELTA_WPARAM(wParam) / WHEEL_DELTA);
        return 0;
    case LBM_COMBOTRACK:
        return OnComboTrack(s, wParam != 0);
    default:
        return SelectionMessage(s, msg, wParam, lParam);
    }
}

} // namespace

void RegisterListBoxClass() {
    RegisterControlClass(u"ListBox", ListProc, CS_DBLCLKS | CS_PARENTDC, IDC_ARROW, nullptr);
    RegisterControlClass(u"ComboLBox", ListProc, CS_DBLCLKS | CS_SAVEBITS, IDC_ARROW, nullptr);
}
