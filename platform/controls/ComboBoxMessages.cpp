// The "ComboBox" class's messages, a handler each; most list messages go on to the list as they are.
#include "platform/controls/ComboBoxState.h"
#include "platform/controls/ListBoxInternal.h"
#include "platform/controls/StandardControls.h"

#include <iterator>

namespace {

using namespace controls;
using namespace controls::combo;

// The combo box messages the list answers as its own list box message.
constexpr std::pair<UINT, UINT> kForwarded[] = {
    {CB_ADDSTRING, LB_ADDSTRING},
    {CB_INSERTSTRING, LB_INSERTSTRING},
    {CB_GETCOUNT, LB_GETCOUNT},
    {CB_FINDSTRING, LB_FINDSTRING},
    {CB_FINDSTRINGEXACT, LB_FINDSTRINGEXACT},
    {CB_GETLBTEXT, LB_GETTEXT},
    {CB_GETLBTEXTLEN, LB_GETTEXTLEN},
    {CB_GETITEMDATA, LB_GETITEMDATA},
    {CB_SETITEMDATA, LB_SETITEMDATA},
    {CB_GETTOPINDEX, LB_GETTOPINDEX},
    {CB_SETTOPINDEX, LB_SETTOPINDEX},
    {CB_GETHORIZONTALEXTENT, LB_GETHORIZONTALEXTENT},
    {CB_SETHORIZONTALEXTENT, LB_SETHORIZONTALEXTENT},
    {CB_INITSTORAGE, LB_INITSTORAGE},
};

UINT ListMessageFor(UINT msg) {
    auto it = std::find_if(std::begin(kForwarded), std::end(kForwarded),
                           [msg](const auto& pair) { return pair.first == msg; });
    return it == std::end(kForwarded) ? 0 : it->second;
}

int FieldHeightFor(int itemHeight) {
    return itemHeight + 2 * kEdge + 2;
}

// A drop-down combo box is as high as its field; the dropped height asked for is kept.
void ShrinkToField(ComboState* s) {
    if (IsSimple(s)) {
        return;
    }
    int dropped = s->droppedHeight;
    SetWindowHeight(s->hwnd, s->fieldHeight);
    s->droppedHeight = dropped;
}

void SelectQuietly(ComboState* s, int i) {
    SendMessageW(s->list, LBM_SELECTQUIET, static_cast<WPARAM>(i), 0);
}

LRESULT OnNcCreate(HWND hwnd, WPARAM wParam, LPARAM lParam) {
    auto* s = new ComboState;
    s->hwnd = hwnd;
    SetState(hwnd, s);
    // Scroll-bar styles belong to the drop-down list, which always has its own; the combo shows none.
    SetWindowLongW(hwnd, GWL_STYLE,
                   GetWindowLongW(hwnd, GWL_STYLE) & ~static_cast<LONG>(WS_VSCROLL | WS_HSCROLL));
    return DefWindowProcW(hwnd, WM_NCCREATE, wParam, lParam);
}

// The owner sizes the selection field (item -1) as well as the items.
void MeasureOwnerDrawnField(ComboState* s) {
    MEASUREITEMSTRUCT mis{ODT_COMBOBOX,
                          static_cast<UINT>(GetDlgCtrlID(s->hwnd)),
                          static_cast<UINT>(-1),
                          0,
                          static_cast<UINT>(s->itemHeight),
                          0};
    SendMessageW(GetParent(s->hwnd), WM_MEASUREITEM, mis.CtlID, reinterpret_cast<LPARAM>(&mis));
    s->itemHeight = std::max(1, static_cast<int>(mis.itemHeight));
    s->fieldHeight = FieldHeightFor(s->itemHeight);
}

DWORD ListStyleFor(DWORD style) {
    constexpr std::pair<DWORD, DWORD> kPassed[] = {
        {CBS_SORT, LBS_SORT},
        {CBS_OWNERDRAWFIXED, LBS_OWNERDRAWFIXED},
        {CBS_OWNERDRAWVARIABLE, LBS_OWNERDRAWVARIABLE},
        {CBS_HASSTRINGS, LBS_HASSTRINGS},
        {CBS_NOINTEGRALHEIGHT, LBS_NOINTEGRALHEIGHT},
        {CBS_DISABLENOSCROLL, LBS_DISABLENOSCROLL},
    };
    DWORD listStyle = LBS_COMBOBOX | LBS_NOTIFY | WS_VSCROLL | WS_BORDER;
    for (auto [combo, list] : kPassed) {
        if (style & combo) {
            listStyle |= list;
        }
    }
    return listStyle;
}

// A simple combo box's list is a child below the field; the others drop a top-level pop-up.
HWND CreateList(ComboState* s, const CREATESTRUCTW* cs) {
    DWORD listStyle = ListStyleFor(static_cast<DWORD>(cs->style));
    int height = std::max(0, cs->cy - s->fieldHeight);
    if (IsSimple(s)) {
        return CreateWindowExW(
            0, u"ComboLBox", nullptr, listStyle | WS_CHILD | WS_VISIBLE, 0, s->fieldHeight, cs->cx, height,
            s->hwnd, reinterpret_cast<HMENU>(static_cast<INT_PTR>(kListId)), cs->hInstance, s->hwnd);
    }
    return CreateWindowExW(WS_EX_TOOLWINDOW | WS_EX_TOPMOST, u"ComboLBox", nullptr, listStyle | WS_POPUP, 0,
                           0, cs->cx, height, s->hwnd, nullptr, cs->hInstance, s->hwnd);
}

// The edit, subclassed so that the combo box sees its keys and focus first.
HWND CreateEdit(ComboState* s, const CREATESTRUCTW* cs) {
    DWORD style = static_cast<DWORD>(cs->style);
    DWORD editStyle = WS_CHILD | WS_VISIBLE | (style & CBS_AUTOHSCROLL ? ES_AUTOHSCROLL : 0);
    if (style & CBS_UPPERCASE) {
        editStyle |= ES_UPPERCASE;
    } else if (style & CBS_LOWERCASE) {
        editStyle |= ES_LOWERCASE;
    }
    HWND edit =
        CreateWindowExW(0, u"Edit", cs->lpszName, editStyle, 0, 0, 0, 0, s->hwnd,
                        reinterpret_cast<HMENU>(static_cast<INT_PTR>(kEditId)), cs->hInstance, nullptr);
    if (edit) {
        s->editProc = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrW(edit, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(ComboEditProc)));
    }
    return edit;
}

LRESULT OnCreate(ComboState* s, const CREATESTRUCTW* cs) {
    ComputeHeights(s);
    if (cs->style & (CBS_OWNERDRAWFIXED | CBS_OWNERDRAWVARIABLE)) {
        MeasureOwnerDrawnField(s);
    }
    s->droppedHeight = cs->cy;
    s->list = CreateList(s, cs);
    if (!s->list) {
        return -1;
    }
    if (!IsList(s)) {
        s->edit = CreateEdit(s, cs);
        if (!s->edit) {
            return -1;
        }
    }
    if (!IsSimple(s)) {
        SetWindowPos(s->hwnd, nullptr, 0, 0, cs->cx, s->fieldHeight,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    Layout(s);
    return 0;
}

LRESULT OnDestroy(ComboState* s) {
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
}

// A drop-down combo box keeps its field height; the height asked for is the dropped height.
void KeepFieldHeight(ComboState* s, WINDOWPOS* pos) {
    if (!IsSimple(s) && !(pos->flags & SWP_NOSIZE) && s->fieldHeight && pos->cy != s->fieldHeight) {
        s->droppedHeight = pos->cy;
        pos->cy = s->fieldHeight;
    }
}

LRESULT OnEnable(ComboState* s, WPARAM enable) {
    if (s->edit) {
        EnableWindow(s->edit, static_cast<BOOL>(enable));
    }
    EnableWindow(s->list, static_cast<BOOL>(enable));
    InvalidateRect(s->hwnd, nullptr, FALSE);
    return 0;
}

LRESULT OnSetFont(ComboState* s, WPARAM wParam, LPARAM lParam) {
    s->font = reinterpret_cast<HFONT>(wParam);
    if (s->edit) {
        SendMessageW(s->edit, WM_SETFONT, wParam, lParam);
    }
    SendMessageW(s->list, WM_SETFONT, wParam, lParam);
    ComputeHeights(s);
    ShrinkToField(s);
    Layout(s);
    if (LOWORD(lParam)) {
        InvalidateRect(s->hwnd, nullptr, FALSE);
    }
    return 0;
}

// Without an edit the text names the item to select.
LRESULT OnSetText(ComboState* s, LPARAM lParam) {
    if (s->edit) {
        return SetEditText(s, reinterpret_cast<const char16_t*>(lParam));
    }
    int i = static_cast<int>(Forward(s, LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), lParam));
    if (i == LB_ERR) {
        return CB_ERR;
    }
    SelectQuietly(s, i);
    InvalidateRect(s->hwnd, nullptr, FALSE);
    return TRUE;
}

std::u16string SelectedText(const ComboState* s) {
    int cur = Cur(s);
    return cur >= 0 ? ItemText(s, cur) : std::u16string();
}

LRESULT OnGetText(ComboState* s, WPARAM wParam, LPARAM lParam) {
    if (s->edit) {
        return SendMessageW(s->edit, WM_GETTEXT, wParam, lParam);
    }
    return CopyTextOut(SelectedText(s), wParam, lParam);
}

LRESULT OnGetTextLength(ComboState* s) {
    if (s->edit) {
        return SendMessageW(s->edit, WM_GETTEXTLENGTH, 0, 0);
    }
    return static_cast<LRESULT>(SelectedText(s).size());
}

// A drop-down list opens or closes on a click anywhere, a drop-down combo box on its arrow.
LRESULT OnLButtonDown(ComboState* s, LPARAM lParam) {
    POINT p{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    SetFocus(s->edit ? s->edit : s->hwnd);
    if (IsSimple(s)) {
        return 0;
    }
    RECT button = ButtonRect(s);
    if (IsList(s) || PtInRect(&button, p)) {
        ToggleDropped(s);
    }
    return 0;
}

// A drop-down list selects the next item starting with the character typed.
LRESULT OnChar(ComboState* s, WPARAM wParam, LPARAM lParam) {
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
}

LRESULT OnMouseWheel(ComboState* s, WPARAM wParam, LPARAM lParam) {
    if (!s->dropped) {
        UserSelect(s, Cur(s) - GET_WHEEL_DELTA_WPARAM(wParam) / WHEEL_DELTA);
    } else {
        SendMessageW(s->list, WM_MOUSEWHEEL, wParam, lParam);
    }
    return 0;
}

void OnEditCommand(ComboState* s, UINT code) {
    if (s->settingEdit) {
        return;
    }
    if (code == EN_UPDATE) {
        Notify(s, CBN_EDITUPDATE);
        return;
    }
    if (code != EN_CHANGE) {
        return;
    }
    Notify(s, CBN_EDITCHANGE);
    if (s->dropped || IsSimple(s)) {
        // The list follows the typed prefix.
        std::u16string typed = WindowText(s->edit);
        int i = typed.empty() ? LB_ERR
                              : static_cast<int>(Forward(s, LB_FINDSTRING, static_cast<WPARAM>(-1),
                                                         reinterpret_cast<LPARAM>(typed.c_str())));
        SelectQuietly(s, i);
    }
}

// The selection the list shows becomes the combo box's.
void CommitListSelection(ComboState* s) {
    s->committed = Cur(s);
    SyncEdit(s);
    Notify(s, CBN_SELCHANGE);
}

void OnListCommand(ComboState* s, UINT code) {
    if (code == LBN_SELCHANGE) {
        CommitListSelection(s);
    } else if (code == LBN_DBLCLK && IsSimple(s)) {
        Notify(s, CBN_DBLCLK);
    }
}

LRESULT OnCommand(ComboState* s, WPARAM wParam, LPARAM lParam) {
    HWND from = reinterpret_cast<HWND>(lParam);
    if (from && from == s->edit) {
        OnEditCommand(s, HIWORD(wParam));
    } else if (from && from == s->list) {
        OnListCommand(s, HIWORD(wParam));
    }
    return 0;
}

// The dropped list is done: an item chosen (`chosen`), or a click outside or the capture lost.
LRESULT OnListDone(ComboState* s, bool chosen) {
    if (!s->dropped) {
        return 0;
    }
    if (chosen && Cur(s) != s->committed) {
        CommitListSelection(s);
    }
    CloseUp(s, chosen);
    return 0;
}

LRESULT OnDeleteString(ComboState* s, WPARAM wParam, LPARAM lParam) {
    int before = Cur(s);
    LRESULT r = Forward(s, LB_DELETESTRING, wParam, lParam);
    if (r != LB_ERR && before == static_cast<int>(wParam)) {
        InvalidateRect(s->hwnd, nullptr, FALSE);
    }
    return r;
}

LRESULT OnResetContent(ComboState* s) {
    Forward(s, LB_RESETCONTENT, 0, 0);
    if (s->edit) {
        SetEditText(s, u"");
    }
    s->committed = -1;
    InvalidateRect(s->hwnd, nullptr, FALSE);
    return CB_OKAY;
}

// Selects item `i` (-1 for none) as the program asks: no notifications.
void SetSelection(ComboState* s, int i) {
    SelectQuietly(s, i);
    s->committed = i;
    SyncEdit(s);
}

LRESULT OnSetCurSel(ComboState* s, WPARAM wParam) {
    int i = static_cast<int>(wParam);
    int count = static_cast<int>(Forward(s, LB_GETCOUNT, 0, 0));
    bool valid = i >= 0 && i < count;
    SetSelection(s, valid ? i : -1);
    return valid ? i : CB_ERR;
}

LRESULT OnSelectString(ComboState* s, WPARAM wParam, LPARAM lParam) {
    int i = static_cast<int>(Forward(s, LB_FINDSTRING, wParam, lParam));
    if (i == LB_ERR) {
        return CB_ERR;
    }
    SetSelection(s, i);
    return i;
}

LRESULT OnSetEditSel(ComboState* s, LPARAM lParam) {
    if (!s->edit) {
        return CB_ERR;
    }
    SendMessageW(s->edit, EM_SETSEL, static_cast<WPARAM>(static_cast<short>(LOWORD(lParam))),
                 static_cast<LPARAM>(static_cast<short>(HIWORD(lParam))));
    return TRUE;
}

int WindowWidth(HWND hwnd) {
    RECT window;
    GetWindowRect(hwnd, &window);
    return window.right - window.left;
}

LRESULT OnGetDroppedControlRect(const ComboState* s, LPARAM lParam) {
    RECT window;
    GetWindowRect(s->hwnd, &window);
    if (!IsSimple(s)) {
        window.bottom = window.top + std::max(s->droppedHeight, s->fieldHeight);
        window.right = window.left + std::max<int>(window.right - window.left, s->droppedWidth);
    }
    *reinterpret_cast<RECT*>(lParam) = window;
    return TRUE;
}

// Item -1 is the selection field.
LRESULT OnSetItemHeight(ComboState* s, WPARAM wParam, LPARAM lParam) {
    int height = static_cast<int>(lParam);
    if (height <= 0 || height > 255) {
        return CB_ERR;
    }
    if (static_cast<int>(wParam) != -1) {
        return Forward(s, LB_SETITEMHEIGHT, wParam, lParam);
    }
    s->itemHeight = height;
    s->fieldHeight = FieldHeightFor(height);
    ShrinkToField(s);
    Layout(s);
    InvalidateRect(s->hwnd, nullptr, FALSE);
    return CB_OKAY;
}

// The combo box's own messages (those the list answers as they are go on to it).
LRESULT ComboMessage(ComboState* s, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case CBM_LISTDONE:
        return OnListDone(s, wParam != 0);
    case CB_DELETESTRING:
        return OnDeleteString(s, wParam, lParam);
    case CB_RESETCONTENT:
        return OnResetContent(s);
    case CB_GETCURSEL:
        return Cur(s);
    case CB_SETCURSEL:
        return OnSetCurSel(s, wParam);
    case CB_SELECTSTRING:
        return OnSelectString(s, wParam, lParam);
    case CB_LIMITTEXT:
        if (s->edit) {
            SendMessageW(s->edit, EM_LIMITTEXT, wParam, 0);
        }
        return TRUE;
    case CB_GETEDITSEL:
        return s->edit ? SendMessageW(s->edit, EM_GETSEL, wParam, lParam) : CB_ERR;
    case CB_SETEDITSEL:
        return OnSetEditSel(s, lParam);
    case CB_SHOWDROPDOWN:
        if (wParam) {
            DropDown(s);
        } else {
            CloseUp(s, false, false);
        }
        return TRUE;
    case CB_GETDROPPEDSTATE:
        return s->dropped ? TRUE : FALSE;
    case CB_GETDROPPEDCONTROLRECT:
        return OnGetDroppedControlRect(s, lParam);
    case CB_SETITEMHEIGHT:
        return OnSetItemHeight(s, wParam, lParam);
    case CB_GETITEMHEIGHT:
        return static_cast<int>(wParam) == -1 ? s->itemHeight : Forward(s, LB_GETITEMHEIGHT, wParam, 0);
    case CB_SETEXTENDEDUI:
        s->extendedUi = wParam != 0;
        return CB_OKAY;
    case CB_GETEXTENDEDUI:
        return s->extendedUi;
    case CB_GETDROPPEDWIDTH:
        return std::max(s->droppedWidth, WindowWidth(s->hwnd));
    case CB_SETDROPPEDWIDTH:
        s->droppedWidth = static_cast<int>(wParam);
        return s->droppedWidth;
    case CB_GETLOCALE:
    case CB_SETLOCALE:
        return 0x0409;
    default:
        return DefWindowProcW(s->hwnd, msg, wParam, lParam);
    }
}

LRESULT CALLBACK ComboProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_NCCREATE) {
        return OnNcCreate(hwnd, wParam, lParam);
    }
    auto* s = StateOf<ComboState>(hwnd);
    if (!s) {
        return DefWindowProcW(hwnd, msg, wParam, lParam);
    }
    if (UINT listMessage = ListMessageFor(msg)) {
        return Forward(s, listMessage, wParam, lParam);
    }
    switch (msg) {
    case WM_CREATE:
        return OnCreate(s, reinterpret_cast<const CREATESTRUCTW*>(lParam));
    case WM_DESTROY:
        return OnDestroy(s);
    case WM_NCDESTROY:
        return DestroyState(hwnd, s, wParam, lParam);
    case WM_WINDOWPOSCHANGING:
        KeepFieldHeight(s, reinterpret_cast<WINDOWPOS*>(lParam));
        return DefWindowProcW(hwnd, msg, wParam, lParam);
    case WM_SIZE:
        Layout(s);
        InvalidateRect(hwnd, nullptr, FALSE);
        return 0;
    case WM_ERASEBKGND:
        return 1;
    case WM_PAINT:
    case WM_PRINTCLIENT:
        return PaintClient(hwnd, wParam, [s](HDC dc) { PaintField(s, dc); });
    case WM_GETDLGCODE:
        return DLGC_WANTARROWS | DLGC_WANTCHARS | DropDownKeys(s, lParam);
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
        return OnEnable(s, wParam);
    case WM_SETFONT:
        return OnSetFont(s, wParam, lParam);
    case WM_GETFONT:
        return reinterpret_cast<LRESULT>(s->font);
    case WM_SETTEXT:
        return OnSetText(s, lParam);
    case WM_GETTEXT:
        return OnGetText(s, wParam, lParam);
    case WM_GETTEXTLENGTH:
        return OnGetTextLength(s);
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        return OnLButtonDown(s, lParam);
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
        return Key(s, msg, wParam) ? 0 : DefWindowProcW(hwnd, msg, wParam, lParam);
    case WM_CHAR:
        return OnChar(s, wParam, lParam);
    case WM_MOUSEWHEEL:
        return OnMouseWheel(s, wParam, lParam);
    case WM_COMMAND:
        return OnCommand(s, wParam, lParam);
    default:
        return ComboMessage(s, msg, wParam, lParam);
    }
}

} // namespace

void RegisterComboBoxClass() {
    RegisterEditClass();
    RegisterListBoxClass();
    RegisterControlClass(u"ComboBox", ComboProc, CS_DBLCLKS | CS_PARENTDC | CS_VREDRAW | CS_HREDRAW,
                         IDC_ARROW, nullptr);
}
