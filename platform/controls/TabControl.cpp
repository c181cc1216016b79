// The tab control ("SysTabControl32"): one row of tabs over a raised body; a click or the arrow keys pick a
// tab, asking the parent first (TCN_SELCHANGING) and telling it after (TCN_SELCHANGE).
#include "platform/controls/CommonControls.h"
#include "platform/controls/ControlsCommon.h"

#include "platform/display/VirtualKeys.h"
#include "platform/gdi/Gdi.h"
#include "platform/gdi/UserDraw.h"

#include <algorithm>
#include <string>
#include <vector>

namespace {

using namespace controls;

struct TabItem {
    std::u16string text;
    LPARAM param = 0;
    int image = -1;
    DWORD state = 0;
};

struct TabState {
    HFONT font = nullptr;
    std::vector<TabItem> items;
    int current = -1;
    bool focused = false;
};

// The selected tab stands this much taller and wider than the others.
constexpr int kLift = 2;
constexpr int kPadX = 6;

int TabHeight(const TabState& s) {
    return FontMetrics(s.font).tmHeight + 6;
}

int TextWidth(const TabState& s, const std::u16string& text) {
    HDC dc = GetDC(nullptr);
    HGDIOBJ old = SelectObject(dc, ControlFont(s.font));
    SIZE size{};
    GetTextExtentPoint32W(dc, reinterpret_cast<LPCWSTR>(text.c_str()), static_cast<int>(text.size()), &size);
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
    return size.cx;
}

// The tab's rectangle as drawn when not selected; tabs follow each other from the left edge.
RECT ItemRect(const TabState& s, int index) {
    int left = kLift;
    for (int i = 0; i < index; ++i) {
        left += TextWidth(s, s.items[static_cast<size_t>(i)].text) + 2 * kPadX;
    }
    const std::u16string& text = s.items[static_cast<size_t>(index)].text;
    return RECT{left, kLift, left + TextWidth(s, text) + 2 * kPadX, kLift + TabHeight(s)};
}

int BodyTop(const TabState& s) {
    return kLift + TabHeight(s);
}

int HitTest(const TabState& s, POINT pt) {
    for (int i = 0; i < static_cast<int>(s.items.size()); ++i) {
        RECT rc = ItemRect(s, i);
        if (PtInRect(&rc, pt)) {
            return i;
        }
    }
    return -1;
}

LRESULT Notify(HWND hwnd, UINT code) {
    NMHDR nm{};
    nm.hwndFrom = hwnd;
    nm.idFrom = static_cast<UINT_PTR>(GetDlgCtrlID(hwnd));
    nm.code = code;
    return SendMessageW(GetParent(hwnd), WM_NOTIFY, nm.idFrom, reinterpret_cast<LPARAM>(&nm));
}

// A change the user asked for: the parent may refuse it.
void Choose(HWND hwnd, TabState& s, int index) {
    if (index < 0 || index >= static_cast<int>(s.items.size()) || index == s.current) {
        return;
    }
    if (Notify(hwnd, TCN_SELCHANGING)) {
        return;
    }
    s.current = index;
    InvalidateRect(hwnd, nullptr, TRUE);
    Notify(hwnd, TCN_SELCHANGE);
}

void DrawLine(HDC dc, int x1, int y1, int x2, int y2, COLORREF color) {
    HPEN pen = CreatePen(PS_SOLID, 1, color);
    HGDIOBJ old = SelectObject(dc, pen);
    MoveToEx(dc, x1, y1, nullptr);
    LineTo(dc, x2, y2);
    SelectObject(dc, old);
    DeleteObject(pen);
}

// A tab: light left and top edges, a dark right edge, open at the bottom when selected so that it joins
// the body.
void DrawTab(HDC dc, const TabState& s, int index, bool selected) {
    RECT rc = ItemRect(s, index);
    if (selected) {
        InflateRect(&rc, kLift, 0);
        rc.top -= kLift;
        rc.bottom += 1;
    }
    COLORREF light = GetSysColor(COLOR_3DHIGHLIGHT);
    COLORREF shadow = GetSysColor(COLOR_3DSHADOW);
    COLORREF dark = GetSysColor(COLOR_3DDKSHADOW);
    HBRUSH face = CreateSolidBrush(GetSysColor(COLOR_3DFACE));
    FillRect(dc, &rc, face);
    DeleteObject(face);
    DrawLine(dc, rc.left, rc.bottom - 1, rc.left, rc.top + 2, light);
    DrawLine(dc, rc.left, rc.top + 2, rc.left + 2, rc.top, light);
    DrawLine(dc, rc.left + 2, rc.top, rc.right - 2, rc.top, light);
    DrawLine(dc, rc.right - 2, rc.top + 1, rc.right - 2, rc.bottom - 1, shadow);
    DrawLine(dc, rc.right - 1, rc.top + 2, rc.right - 1, rc.bottom - 1, dark);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
    const std::u16string& text = s.items[static_cast<size_t>(index)].text;
    RECT label = rc;
    DrawTextW(dc, reinterpret_cast<LPCWSTR>(text.c_str()), static_cast<int>(text.size()), &label,
              DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    if (selected && s.focused) {
        RECT focus = rc;
        InflateRect(&focus, -3, -3);
        DrawFocusRect(dc, &focus);
    }
}

// The body's frame: a light top and left, a shadowed right and bottom.
void DrawBody(HDC dc, const RECT& rc) {
    COLORREF light = GetSysColor(COLOR_3DHIGHLIGHT);
    DrawLine(dc, rc.left, rc.bottom - 1, rc.left, rc.top, light);
    DrawLine(dc, rc.left, rc.top, rc.right, rc.top, light);
    DrawLine(dc, rc.right - 2, rc.top + 1, rc.right - 2, rc.bottom - 1, GetSysColor(COLOR_3DSHADOW));
    DrawLine(dc, rc.left + 1, rc.bottom - 2, rc.right - 1, rc.bottom - 2, GetSysColor(COLOR_3DSHADOW));
    DrawLine(dc, rc.right - 1, rc.top, rc.right - 1, rc.bottom, GetSysColor(COLOR_3DDKSHADOW));
    DrawLine(dc, rc.left, rc.bottom - 1, rc.right, rc.bottom - 1, GetSysColor(COLOR_3DDKSHADOW));
}

void Paint(HWND hwnd, const TabState& s, HDC dc) {
    RECT client{};
    GetClientRect(hwnd, &client);
    // What lies beside the tabs is the parent's background.
    HBRUSH back = ControlColor(hwnd, dc, WM_CTLCOLORSTATIC);
    RECT strip{client.left, client.top, client.right, BodyTop(s)};
    FillRect(dc, &strip, back);
    RECT body{client.left, BodyTop(s), client.right, client.bottom};
    HBRUSH face = CreateSolidBrush(GetSysColor(COLOR_3DFACE));
    FillRect(dc, &body, face);
    DeleteObject(face);
    DrawBody(dc, body);
    HGDIOBJ oldFont = SelectObject(dc, ControlFont(s.font));
    for (int i = 0; i < static_cast<int>(s.items.size()); ++i) {
        if (i != s.current) {
            DrawTab(dc, s, i, false);
        }
    }
    if (s.current >= 0) {
        DrawTab(dc, s, s.current, true);
    }
    SelectObject(dc, oldFont);
}

void ReadItem(const TCITEMW& in, TabItem& item) {
    if ((in.mask & TCIF_TEXT) && in.pszText) {
        item.text = reinterpret_cast<const char16_t*>(in.pszText);
    }
    if (in.mask & TCIF_PARAM) {
        item.param = in.lParam;
    }
    if (in.mask & TCIF_IMAGE) {
        item.image = in.iImage;
    }
    if (in.mask & TCIF_STATE) {
        item.state = (item.state & ~in.dwStateMask) | (in.dwState & in.dwStateMask);
    }
}

LRESULT GetItem(const TabState& s, int index, TCITEMW* out) {
    if (!out || index < 0 || index >= static_cast<int>(s.items.size())) {
        return FALSE;
    }
    const TabItem& item = s.items[static_cast<size_t>(index)];
    if (out->mask & TCIF_TEXT) {
        CopyTextOut(item.text, static_cast<WPARAM>(std::max(out->cchTextMax, 0)),
                    reinterpret_cast<LPARAM>(out->pszText));
    }
    if (out->mask & TCIF_PARAM) {
        out->lParam = item.param;
    }
    if (out->mask & TCIF_IMAGE) {
        out->iImage = item.image;
    }
    if (out->mask & TCIF_STATE) {
        out->dwState = item.state & out->dwStateMask;
    }
    return TRUE;
}

LRESULT InsertItem(HWND hwnd, TabState& s, int index, const TCITEMW* in) {
    if (!in || index < 0) {
        return -1;
    }
    index = std::min(index, static_cast<int>(s.items.size()));
    TabItem item;
    ReadItem(*in, item);
    s.items.insert(s.items.begin() + index, item);
    if (s.current >= index) {
        ++s.current;
    } else if (s.current < 0) {
        s.current = 0; // the first tab is selected as soon as there is one
    }
    InvalidateRect(hwnd, nullptr, TRUE);
    return index;
}

LRESULT DeleteItem(HWND hwnd, TabState& s, int index) {
    if (index < 0 || index >= static_cast<int>(s.items.size())) {
        return FALSE;
    }
    s.items.erase(s.items.begin() + index);
    if (s.current == index) {
        s.current = -1; // the owner picks the next one
    } else if (s.current > index) {
        --s.current;
    }
    InvalidateRect(hwnd, nullptr, TRUE);
    return TRUE;
}

// wParam FALSE: the display rectangle of a window rectangle; TRUE: the window rectangle of a display one.
LRESULT AdjustRect(const TabState& s, BOOL larger, RECT* rc) {
    if (!rc) {
        return 0;
    }
    constexpr int border = 4;
    int top = BodyTop(s) + border;
    if (larger) {
        rc->left -= border;
        rc->right += border;
        rc->top -= top;
        rc->bottom += border;
    } else {
        rc->left += border;
        rc->right -= border;
        rc->top += top;
        rc->bottom -= border;
    }
    return 0;
}

LRESULT OnHitTest(const TabState& s, TCHITTESTINFO* info) {
    if (!info) {
        return -1;
    }
    int index = HitTest(s, info->pt);
    info->flags = index >= 0 ? TCHT_ONITEMLABEL : TCHT_NOWHERE;
    return index;
}

LRESULT OnKeyDown(HWND hwnd, TabState& s, WPARAM key) {
    if (key == VK_LEFT) {
        Choose(hwnd, s, s.current - 1);
    } else if (key == VK_RIGHT) {
        Choose(hwnd, s, s.current + 1);
    } else if (key == VK_HOME) {
        Choose(hwnd, s, 0);
    } else if (key == VK_END) {
        Choose(hwnd, s, static_cast<int>(s.items.size()) - 1);
    }
    return 0;
}

LRESULT OnLButtonDown(HWND hwnd, TabState& s, LPARAM lParam) {
    POINT pt{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
    int index = HitTest(s, pt);
    if (index >= 0 && !(ClassStyle(hwnd) & TCS_FOCUSNEVER)) {
        SetFocus(hwnd);
    }
    Choose(hwnd, s, index);
    return 0;
}

LRESULT OnFocus(HWND hwnd, TabState& s, bool focused) {
    s.focused = focused;
    InvalidateRect(hwnd, nullptr, TRUE);
    return 0;
}

// The TCM_* messages.
LRESULT TabMessage(HWND hwnd, TabState& s, UINT msg, WPARAM wParam, LPARAM lParam) {
    int index = static_cast<int>(wParam);
    switch (msg) {
    case TCM_GETITEMCOUNT:
        return static_cast<LRESULT>(s.items.size());
    case TCM_INSERTITEMW:
        return InsertItem(hwnd, s, index, reinterpret_cast<const TCITEMW*>(lParam));
    case TCM_GETITEMW:
        return GetItem(s, index, reinterpret_cast<TCITEMW*>(lParam));
    case TCM_SETITEMW:
        if (!lParam || index < 0 || index >= static_cast<int>(s.items.size())) {
            return FALSE;
        }
        ReadItem(*reinterpret_cast<const TCITEMW*>(lParam), s.items[static_cast<size_t>(index)]);
        InvalidateRect(hwnd, nullptr, TRUE);
        return TRUE;
    case TCM_DELETEITEM:
        return DeleteItem(hwnd, s, index);
    case TCM_DELETEALLITEMS:
        s.items.clear();
        s.current = -1;
        InvalidateRect(hwnd, nullptr, TRUE);
        return TRUE;
    case TCM_GETITEMRECT:
        if (!lParam || index < 0 || index >= static_cast<int>(s.items.size())) {
            return FALSE;
        }
        *reinterpret_cast<RECT*>(lParam) = ItemRect(s, index);
        return TRUE;
    case TCM_GETCURSEL:
    case TCM_GETCURFOCUS:
        return s.current;
    case TCM_SETCURSEL:
    case TCM_SETCURFOCUS: {
        int old = s.current;
        if (index < 0 || index >= static_cast<int>(s.items.size())) {
            return -1;
        }
        s.current = index;
        InvalidateRect(hwnd, nullptr, TRUE);
        return old;
    }
    case TCM_HITTEST:
        return OnHitTest(s, reinterpret_cast<TCHITTESTINFO*>(lParam));
    case TCM_ADJUSTRECT:
        return AdjustRect(s, static_cast<BOOL>(wParam), reinterpret_cast<RECT*>(lParam));
    case TCM_GETROWCOUNT:
        return 1;
    default:
        return DefWindowProcW(hwnd, msg, wParam, lParam);
    }
}

LRESULT WindowMessage(HWND hwnd, TabState& s, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_SETFONT:
        s.font = reinterpret_cast<HFONT>(wParam);
        if (lParam) {
            InvalidateRect(hwnd, nullptr, TRUE);
        }
        return 0;
    case WM_GETFONT:
        return reinterpret_cast<LRESULT>(s.font);
    case WM_PAINT:
    case WM_PRINTCLIENT:
        return PaintClient(hwnd, msg == WM_PRINTCLIENT ? wParam : 0, [&](HDC dc) { Paint(hwnd, s, dc); });
    case WM_LBUTTONDOWN:
        return OnLButtonDown(hwnd, s, lParam);
    case WM_KEYDOWN:
        return OnKeyDown(hwnd, s, wParam);
    case WM_GETDLGCODE:
        return DLGC_WANTARROWS;
    case WM_SETFOCUS:
        return OnFocus(hwnd, s, true);
    case WM_KILLFOCUS:
        return OnFocus(hwnd, s, false);
    default:
        return TabMessage(hwnd, s, msg, wParam, lParam);
    }
}

} // namespace

void RegisterTabControlClass() {
    RegisterControlClass(WC_TABCONTROLW, ControlProc<TabState, WindowMessage>, CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS,
                         IDC_ARROW, nullptr);
}
