// Menu bars and popup menus on screen: layout and classic drawing, the popup window class "#32768", and the
// modal tracking loop behind the menu bar (mouse and keyboard), the system menu and TrackPopupMenu.
#include "platform/display/MdiApi.h"
#include "platform/display/MenuInternal.h"

#include "platform/gdi/Gdi.h"

#include <algorithm>

namespace display_detail {
namespace {

constexpr int kBarPad = 6;    // each side of a menu-bar item's text
constexpr int kEdge = 3;      // a popup's raised edge plus one pixel
constexpr int kSeparator = 8; // height of a separator in a popup
constexpr int kAccelGap = 16; // between the longest label and the accelerator column
constexpr LPCWSTR kPopupClass = u"#32768";

int Width(const RECT& rc) {
    return rc.right - rc.left;
}
int Height(const RECT& rc) {
    return rc.bottom - rc.top;
}

HFONT MenuFont(bool bold) {
    static HFONT normal = nullptr;
    static HFONT heavy = nullptr;
    HFONT& f = bold ? heavy : normal;
    if (!f) {
        NONCLIENTMETRICSW ncm{};
        ncm.cbSize = sizeof ncm;
        SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof ncm, &ncm, 0);
        LOGFONTW lf = ncm.lfMenuFont;
        if (bold) {
            lf.lfWeight = FW_BOLD;
        }
        f = CreateFontIndirectW(&lf);
    }
    return f;
}

// Measures text in the menu font, '&' marks dropped.
SIZE MeasureText(HDC dc, const std::u16string& text, bool bold) {
    HGDIOBJ old = SelectObject(dc, MenuFont(bold));
    RECT rc{0, 0, 0, 0};
    DrawTextW(dc, text.empty() ? u" " : text.c_str(), text.empty() ? 1 : static_cast<int>(text.size()), &rc,
              DT_SINGLELINE | DT_CALCRECT);
    SelectObject(dc, old);
    return SIZE{text.empty() ? 0 : Width(rc), Height(rc)};
}

struct MemDc {
    HDC dc = CreateCompatibleDC(nullptr);
    ~MemDc() { DeleteDC(dc); }
};

void SplitTab(const std::u16string& text, std::u16string& label, std::u16string& accel) {
    size_t tab = text.find(u'\t');
    label = text.substr(0, tab);
    accel = tab == std::u16string::npos ? std::u16string() : text.substr(tab + 1);
}

// ---- Menu bars

// A maximised document window's caption buttons sit in the bar as they do on a caption: menu-size buttons,
// minimise and restore side by side, close 2 pixels apart and 2 from the bar's end.
bool IsBarCaptionButton(const MenuItemData& item) {
    return item.bitmap == HBMMENU_MBAR_MINIMIZE || item.bitmap == HBMMENU_MBAR_RESTORE ||
           item.bitmap == HBMMENU_MBAR_CLOSE;
}

int BarBitmapWidth(const MenuItemData& item, int rowHeight) {
    if (!IsBarCaptionButton(item)) {
        return rowHeight;
    }
    const int button = GetSystemMetrics(SM_CXMENUSIZE) - 2;
    return item.bitmap == HBMMENU_MBAR_CLOSE ? button + 4 : button;
}

// Item rectangles of a bar whose area starts at (left, top) and is `width` wide; answers the rows' height.
int LayoutBar(const std::vector<MenuItemData>& items, int left, int top, int width,
              std::vector<RECT>& rects) {
    MemDc mem;
    int rowHeight = GetSystemMetrics(SM_CYMENU);
    int x = left;
    int y = top;
    rects.clear();
    for (std::size_t i = 0; i < items.size(); ++i) {
        const MenuItemData& item = items[i];
        int w = 0;
        if (item.type & MFT_OWNERDRAW) {
            w = 2 * kBarPad + 20;
        } else if (item.type & MFT_BITMAP) {
            w = BarBitmapWidth(item, rowHeight);
        } else {
            std::u16string label;
            std::u16string accel;
            SplitTab(item.text, label, accel);
            w = MeasureText(mem.dc, label, false).cx + 2 * kBarPad;
        }
        bool breakHere = (item.type & (MFT_MENUBREAK | MFT_MENUBARBREAK)) != 0;
        if (x > left && (breakHere || x + w > left + width)) {
            x = left;
            y += rowHeight;
        }
        if ((item.type & MFT_RIGHTJUSTIFY) && x > left) {
            // This item and the ones after it sit at the right end of the row when they fit there.
            int tail = 0;
            for (std::size_t j = i; j < items.size(); ++j) {
                tail += (items[j].type & MFT_BITMAP) ? BarBitmapWidth(items[j], rowHeight) : w;
            }
            x = std::max(x, left + width - tail);
        }
        rects.push_back(RECT{x, y, x + w, y + rowHeight});
        x += w;
    }
    return (y - top) + rowHeight;
}

// A bitmap item of a bar: the caption buttons and the icon of a maximised document window.
void DrawBarBitmap(HDC dc, const MenuItemData& item, RECT rc, bool selected) {
    if (IsBarCaptionButton(item)) {
        rc.left += item.bitmap == HBMMENU_MBAR_CLOSE ? 2 : 0;
        rc.right = rc.left + GetSystemMetrics(SM_CXMENUSIZE) - 2;
        rc.top += 2;
        rc.bottom = rc.top + GetSystemMetrics(SM_CYMENUSIZE) - 4;
    } else {
        InflateRect(&rc, -2, -2);
    }
    UINT button = 0;
    if (item.bitmap == HBMMENU_MBAR_CLOSE) {
        button = DFCS_CAPTIONCLOSE;
    } else if (item.bitmap == HBMMENU_MBAR_RESTORE) {
        button = DFCS_CAPTIONRESTORE;
    } else if (item.bitmap == HBMMENU_MBAR_MINIMIZE) {
        button = DFCS_CAPTIONMIN;
    }
    if (item.bitmap != HBMMENU_SYSTEM) {
        DrawFrameControl(dc, &rc, DFC_CAPTION, button | (selected ? DFCS_PUSHED : 0));
        return;
    }
    HWND owner = reinterpret_cast<HWND>(item.data);
    HICON icon = nullptr;
    if (IsWindow(owner)) {
        icon = reinterpret_cast<HICON>(SendMessageW(owner, WM_GETICON, ICON_SMALL, 0));
        icon = icon ? icon : reinterpret_cast<HICON>(GetClassLongPtrW(owner, GCLP_HICONSM));
        icon = icon ? icon : reinterpret_cast<HICON>(GetClassLongPtrW(owner, GCLP_HICON));
    }
    if (icon) {
        DrawIconEx(dc, rc.left, rc.top, icon, Width(rc), Height(rc), 0, nullptr, DI_NORMAL);
    } else {
        DrawEdge(dc, &rc, EDGE_RAISED, BF_RECT | BF_MIDDLE);
    }
}

// The bar's area in window coordinates for a window of `windowWidth`.
RECT BarArea(HWND hwnd, int windowWidth) {
    DWORD style = static_cast<DWORD>(GetWindowLongW(hwnd, GWL_STYLE));
    DWORD exStyle = static_cast<DWORD>(GetWindowLongW(hwnd, GWL_EXSTYLE));
    NcGeometry g = ComputeNc(style, exStyle, 0, RECT{0, 0, windowWidth, 4000}, false);
    return g.inFrame;
}

void DrawCheck(HDC dc, const RECT& box, COLORREF color, bool radio) {
    HPEN pen = CreatePen(PS_SOLID, 1, color);
    HBRUSH brush = CreateSolidBrush(color);
    HGDIOBJ oldPen = SelectObject(dc, pen);
    HGDIOBJ oldBrush = SelectObject(dc, brush);
    int cx = (box.left + box.right) / 2;
    int cy = (box.top + box.bottom) / 2;
    if (radio) {
        Ellipse(dc, cx - 3, cy - 3, cx + 3, cy + 3);
    } else {
        for (int d = 0; d < 3; ++d) {
            POINT pts[3] = {{cx - 3, cy - 1 + d}, {cx - 1, cy + 1 + d}, {cx + 4, cy - 4 + d}};
            Polyline(dc, pts, 3);
        }
    }
    SelectObject(dc, oldBrush);
    SelectObject(dc, oldPen);
    DeleteObject(brush);
    DeleteObject(pen);
}

void DrawArrow(HDC dc, const RECT& box, COLORREF color) {
    HPEN pen = CreatePen(PS_SOLID, 1, color);
    HBRUSH brush = CreateSolidBrush(color);
    HGDIOBJ oldPen = SelectObject(dc, pen);
    HGDIOBJ oldBrush = SelectObject(dc, brush);
    int cx = (box.left + box.right) / 2 - 1;
    int cy = (box.top + box.bottom) / 2;
    POINT pts[3] = {{cx, cy - 3}, {cx + 3, cy}, {cx, cy + 3}};
    Polygon(dc, pts, 3);
    SelectObject(dc, oldBrush);
    SelectObject(dc, oldPen);
    DeleteObject(brush);
    DeleteObject(pen);
}

// Text in the classic menu look: normal, highlighted, or disabled (embossed, or grey when highlighted).
void DrawMenuText(HDC dc, const std::u16string& text, RECT rc, UINT format, bool disabled, bool selected) {
    if (text.empty()) {
        return;
    }
    SetBkMode(dc, TRANSPARENT);
    int n = static_cast<int>(text.size());
    if (disabled && !selected) {
        RECT shifted = rc;
        OffsetRect(&shifted, 1, 1);
        SetTextColor(dc, GetSysColor(COLOR_3DHILIGHT));
        DrawTextW(dc, text.c_str(), n, &shifted, format);
        SetTextColor(dc, GetSysColor(COLOR_3DSHADOW));
    } else if (disabled) {
        SetTextColor(dc, GetSysColor(COLOR_GRAYTEXT));
    } else {
        SetTextColor(dc, GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_MENUTEXT));
    }
    DrawTextW(dc, text.c_str(), n, &rc, format);
}

// ---- Popups

struct PopupLayout {
    std::vector<RECT> items; // client coordinates
    SIZE size{};
    int accelLeft = 0; // left of the accelerator column (0: none)
};

PopupLayout LayoutPopup(HWND owner, const std::vector<MenuItemData>& items) {
    PopupLayout layout;
    MemDc mem;
    int check = GetSystemMetrics(SM_CXMENUCHECK) + 4;
    int itemHeight = std::max(GetSystemMetrics(SM_CYMENU) - 2, MeasureText(mem.dc, u"Ag", false).cy + 4);
    int labelWidth = 0;
    int accelWidth = 0;
    std::vector<int> heights;
    std::vector<int> ownerWidths(items.size(), 0);
    for (size_t i = 0; i < items.size(); ++i) {
        const auto& item = items[i];
        if (item.type & MFT_OWNERDRAW) {
            MEASUREITEMSTRUCT mis{};
            mis.CtlType = ODT_MENU;
            mis.itemID = item.id;
            mis.itemData = item.data;
            mis.itemHeight = static_cast<UINT>(itemHeight);
            if (owner) {
                SendMessageW(owner, WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&mis));
            }
            ownerWidths[i] = static_cast<int>(mis.itemWidth);
            heights.push_back(static_cast<int>(mis.itemHeight));
            labelWidth = std::max(labelWidth, static_cast<int>(mis.itemWidth));
        } else if (item.Separator()) {
            heights.push_back(kSeparator);
        } else {
            std::u16string label;
            std::u16string accel;
            SplitTab(item.text, label, accel);
            bool bold = (item.state & MFS_DEFAULT) != 0;
            labelWidth = std::max<int>(labelWidth, MeasureText(mem.dc, label, bold).cx);
            accelWidth = std::max<int>(accelWidth, MeasureText(mem.dc, accel, bold).cx);
            heights.push_back(itemHeight);
        }
    }
    int arrow = GetSystemMetrics(SM_CXMENUCHECK) + 2;
    int width = kEdge + check + labelWidth + (accelWidth ? kAccelGap + accelWidth : 0) + arrow + kEdge;
    int y = kEdge;
    for (size_t i = 0; i < items.size(); ++i) {
        layout.items.push_back(RECT{kEdge, y, width - kEdge, y + heights[i]});
        y += heights[i];
    }
    layout.size = SIZE{width, y + kEdge};
    layout.accelLeft = accelWidth ? width - kEdge - arrow - accelWidth : 0;
    return layout;
}

// ---- Tracking

struct Level {
    HMENU menu = nullptr;
    HWND wnd = nullptr; // null for the menu bar
    int sel = -1;
    std::vector<MenuItemData> items;
    PopupLayout layout;
    std::vector<RECT> barRects; // screen coordinates (the bar level)
};

struct Tracker {
    HWND owner = nullptr;
    bool bar = false; // levels[0] is the window's menu bar
    bool sys = false; // the system menu
    bool popupMode = false;
    bool notify = true;
    UINT flags = 0;
    std::vector<Level> levels;
    bool done = false;
    bool chose = false;
    UINT cmd = 0;
    bool cmdSys = false;
    bool mouseDown = false;
};

thread_local Tracker* t_tracker = nullptr;

LRESULT Notify(Tracker& t, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (!t.notify || !IsWindow(t.owner)) {
        return 0;
    }
    return SendMessageW(t.owner, msg, wParam, lParam);
}

size_t RootPopup(const Tracker& t) {
    return t.bar ? 1 : 0;
}

void RedrawBar(Tracker& t) {
    if (t.bar && IsWindow(t.owner)) {
        DrawNonClient(t.owner, 0);
    }
}

void SendSelect(Tracker& t, size_t level, bool mouse) {
    const Level& l = t.levels[level];
    if (l.sel < 0) {
        return;
    }
    const MenuItemData& it = l.items[static_cast<size_t>(l.sel)];
    UINT flags = MF_HILITE | (it.state & (MF_GRAYED | MF_CHECKED | MF_DEFAULT)) |
                 (it.type & (MF_SEPARATOR | MF_OWNERDRAW | MF_BITMAP)) | (mouse ? MF_MOUSESELECT : 0) |
                 (t.sys ? MF_SYSMENU : 0);
    UINT item = it.id;
    if (it.sub) {
        flags |= MF_POPUP;
        item = static_cast<UINT>(l.sel);
    }
    Notify(t, WM_MENUSELECT, MAKEWPARAM(item, flags), reinterpret_cast<LPARAM>(l.menu));
}

void Select(Tracker& t, size_t level, int index, bool mouse) {
    Level& l = t.levels[level];
    if (l.sel == index) {
        return;
    }
    if (!l.wnd) {
        if (l.sel >= 0) {
            MenuSetHilite(l.menu, l.sel, false);
        }
        if (index >= 0) {
            MenuSetHilite(l.menu, index, true);
        }
        l.sel = index;
        RedrawBar(t);
    } else {
        l.sel = index;
        InvalidateRect(l.wnd, nullptr, TRUE);
        UpdateWindow(l.wnd);
    }
    SendSelect(t, level, mouse);
}

void CloseAbove(Tracker& t, size_t keep) {
    while (t.levels.size() > keep) {
        HWND wnd = t.levels.back().wnd;
        HMENU menu = t.levels.back().menu;
        t.levels.pop_back();
        if (wnd) {
            DestroyWindow(wnd);
            Notify(t, WM_UNINITMENUPOPUP, reinterpret_cast<WPARAM>(menu), 0);
        }
    }
}

void RegisterPopupClass();

// Opens `menu` as a new level next to `anchor` (screen): below it when it comes from the bar, else beside.
bool OpenPopup(Tracker& t, HMENU menu, const RECT& anchor, bool below, int indexInParent, bool selectFirst,
               POINT at = POINT{-1, -1}, UINT align = 0) {
    Notify(t, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(menu), MAKELPARAM(indexInParent, t.sys ? 1 : 0));
    Level l;
    l.menu = menu;
    if (!MenuSnapshot(menu, l.items)) {
        return false;
    }
    l.layout = LayoutPopup(t.owner, l.items);
    int w = l.layout.size.cx;
    int h = l.layout.size.cy;
    int sw = GetSystemMetrics(SM_CXSCREEN);
    int sh = GetSystemMetrics(SM_CYSCREEN);
    int x = 0;
    int y = 0;
    if (at.x != -1 || at.y != -1 || (anchor.left == anchor.right)) {
        x = at.x;
        y = at.y;
        if (align & TPM_RIGHTALIGN) {
            x -= w;
        } else if (align & TPM_CENTERALIGN) {
            x -= w / 2;
        }
        if (align & TPM_BOTTOMALIGN) {
            y -= h;
        } else if (align & TPM_VCENTERALIGN) {
            y -= h / 2;
        }
        if (x + w > sw) {
            x = std::max(0, sw - w);
        }
        if (y + h > sh) {
            y = std::max(0, (align & TPM_BOTTOMALIGN) ? sh - h : at.y - h);
        }
    } else if (below) {
        x = anchor.left;
        y = anchor.bottom;
        if (x + w > sw) {
            x = std::max(0, sw - w);
        }
        if (y + h > sh) {
            y = std::max(0, static_cast<int>(anchor.top) - h);
        }
    } else {
        x = anchor.right - kEdge;
        y = anchor.top - kEdge;
        if (x + w > sw) {
            x = std::max(0, static_cast<int>(anchor.left) - w + kEdge);
        }
        if (y + h > sh) {
            y = std::max(0, sh - h);
        }
    }
    x = std::max(0, x);
    y = std::max(0, y);
    RegisterPopupClass();
    HWND wnd = CreateWindowExW(WS_EX_TOOLWINDOW | WS_EX_TOPMOST, kPopupClass, u"", WS_POPUP, x, y, w, h,
                               t.owner, nullptr, nullptr, nullptr);
    if (!wnd) {
        return false;
    }
    l.wnd = wnd;
    SetWindowLongPtrW(wnd, GWLP_USERDATA, static_cast<LONG_PTR>(t.levels.size()));
    t.levels.push_back(std::move(l));
    SetWindowPos(wnd, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
    if (selectFirst) {
        Level& top = t.levels.back();
        for (size_t i = 0; i < top.items.size(); ++i) {
            if (!top.items[i].Separator()) {
                Select(t, t.levels.size() - 1, static_cast<int>(i), false);
                break;
            }
        }
    }
    UpdateWindow(wnd);
    return true;
}

RECT ItemScreenRect(const Level& l, int index) {
    if (!l.wnd) {
        return l.barRects[static_cast<size_t>(index)];
    }
    RECT rc = l.layout.items[static_cast<size_t>(index)];
    POINT origin{0, 0};
    ClientToScreen(l.wnd, &origin);
    OffsetRect(&rc, origin.x, origin.y);
    return rc;
}

// Opens the submenu of the selected item of `level` (replacing anything opened from that level).
void OpenSelected(Tracker& t, size_t level, bool selectFirst) {
    CloseAbove(t, level + 1);
    Level& l = t.levels[level];
    if (l.sel < 0) {
        return;
    }
    const MenuItemData& it = l.items[static_cast<size_t>(l.sel)];
    if (!it.sub || it.Disabled()) {
        return;
    }
    OpenPopup(t, it.sub, ItemScreenRect(l, l.sel), !l.wnd, l.sel, selectFirst);
}

void Choose(Tracker& t, size_t level, int index) {
    Level& l = t.levels[level];
    if (index < 0 || index >= static_cast<int>(l.items.size())) {
        return;
    }
    const MenuItemData& it = l.items[static_cast<size_t>(index)];
    if (it.Separator()) {
        return;
    }
    Select(t, level, index, false);
    if (it.sub) {
        if (t.levels.size() == level + 1) {
            OpenSelected(t, level, true);
        }
        return;
    }
    if (it.Disabled()) {
        return;
    }
    t.cmd = it.id;
    t.cmdSys = t.sys;
    t.chose = true;
    t.done = true;
}

// Finds the level and item under a screen point; false when it is outside every level.
bool HitTest(Tracker& t, POINT pt, size_t& level, int& index) {
    for (size_t i = t.levels.size(); i-- > 0;) {
        Level& l = t.levels[i];
        if (l.wnd) {
            RECT wr{};
            GetWindowRect(l.wnd, &wr);
            if (!PtInRect(&wr, pt)) {
                continue;
            }
            POINT c = pt;
            ScreenToClient(l.wnd, &c);
            level = i;
            index = -1;
            for (size_t k = 0; k < l.layout.items.size(); ++k) {
                if (PtInRect(&l.layout.items[k], c)) {
                    index = static_cast<int>(k);
                }
            }
            return true;
        }
        for (size_t k = 0; k < l.barRects.size(); ++k) {
            if (PtInRect(&l.barRects[k], pt)) {
                level = i;
                index = static_cast<int>(k);
                return true;
            }
        }
    }
    return false;
}

void MoveInLevel(Tracker& t, size_t level, int step) {
    Level& l = t.levels[level];
    int n = static_cast<int>(l.items.size());
    if (n == 0) {
        return;
    }
    int i = l.sel;
    for (int k = 0; k < n; ++k) {
        i = i < 0 ? (step > 0 ? 0 : n - 1) : (i + step + n) % n;
        if (!l.items[static_cast<size_t>(i)].Separator()) {
            break;
        }
    }
    Select(t, level, i, false);
}

void MoveBar(Tracker& t, int step) {
    bool wasOpen = t.levels.size() > 1;
    CloseAbove(t, 1);
    MoveInLevel(t, 0, step);
    if (wasOpen) {
        OpenSelected(t, 0, true);
    }
}

void OnKey(Tracker& t, WPARAM key) {
    size_t top = t.levels.size() - 1;
    bool inBar = t.bar && top == 0;
    switch (key) {
    case VK_MENU:
    case VK_F10:
        t.done = true;
        break;
    case VK_ESCAPE:
        if (top > RootPopup(t)) {
            CloseAbove(t, top);
        } else if (t.bar && top == 1) {
            CloseAbove(t, 1);
        } else {
            t.done = true;
        }
        break;
    case VK_LEFT:
    case VK_RIGHT: {
        int step = key == VK_RIGHT ? 1 : -1;
        if (inBar) {
            MoveInLevel(t, 0, step);
            break;
        }
        Level& l = t.levels[top];
        if (key == VK_RIGHT && l.sel >= 0 && l.items[static_cast<size_t>(l.sel)].sub &&
            !l.items[static_cast<size_t>(l.sel)].Disabled()) {
            OpenSelected(t, top, true);
        } else if (key == VK_LEFT && top > RootPopup(t)) {
            CloseAbove(t, top);
        } else if (t.bar) {
            MoveBar(t, step);
        }
        break;
    }
    case VK_UP:
    case VK_DOWN:
        if (inBar) {
            OpenSelected(t, 0, true);
        } else {
            MoveInLevel(t, top, key == VK_DOWN ? 1 : -1);
        }
        break;
    case VK_RETURN:
        Choose(t, top, t.levels[top].sel);
        break;
    default:
        break;
    }
}

void OnChar(Tracker& t, WPARAM ch) {
    size_t top = t.levels.size() - 1;
    Level& l = t.levels[top];
    char16_t c = static_cast<char16_t>(ch);
    if (c < 128) {
        c = static_cast<char16_t>(std::tolower(static_cast<int>(c)));
    }
    std::vector<int> matches;
    for (size_t i = 0; i < l.items.size(); ++i) {
        if (!l.items[i].Separator() && MenuMnemonic(l.items[i].text) == c) {
            matches.push_back(static_cast<int>(i));
        }
    }
    if (matches.empty()) {
        LRESULT r = Notify(t, WM_MENUCHAR, MAKEWPARAM(ch, (l.wnd ? MF_POPUP : 0) | (t.sys ? MF_SYSMENU : 0)),
                           reinterpret_cast<LPARAM>(l.menu));
        switch (HIWORD(r)) {
        case MNC_EXECUTE:
            Choose(t, top, LOWORD(r));
            break;
        case MNC_SELECT:
            Select(t, top, LOWORD(r), false);
            break;
        case MNC_CLOSE:
            t.done = true;
            break;
        default:
            MessageBeep(0);
            break;
        }
        return;
    }
    if (matches.size() > 1) {
        // Several items share the letter: step through them.
        auto next = std::upper_bound(matches.begin(), matches.end(), l.sel);
        Select(t, top, next == matches.end() ? matches.front() : *next, false);
        return;
    }
    if (!l.wnd) {
        Select(t, top, matches.front(), false);
        if (l.items[static_cast<size_t>(matches.front())].sub) {
            OpenSelected(t, top, true);
            return;
        }
    }
    Choose(t, top, matches.front());
}

void OnMouse(Tracker& t, const MSG& msg) {
    size_t level = 0;
    int index = -1;
    bool hit = HitTest(t, msg.pt, level, index);
    switch (msg.message) {
    case WM_MOUSEMOVE:
    case WM_NCMOUSEMOVE:
        if (!hit || index < 0) {
            break;
        }
        if (t.levels[level].wnd) {
            if (t.levels[level].sel != index) {
                CloseAbove(t, level + 1);
                Select(t, level, index, true);
                OpenSelected(t, level, false);
            }
        } else if (t.levels[level].sel != index && (t.levels.size() > 1 || t.mouseDown)) {
            CloseAbove(t, 1);
            Select(t, 0, index, true);
            OpenSelected(t, 0, false);
        }
        break;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_NCLBUTTONDOWN:
    case WM_NCRBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_NCLBUTTONDBLCLK:
        t.mouseDown = true;
        if (!hit) {
            t.done = true;
        } else if (!t.levels[level].wnd && index >= 0) {
            if (t.levels[0].sel == index && t.levels.size() > 1) {
                CloseAbove(t, 1);
            } else {
                CloseAbove(t, 1);
                Select(t, 0, index, true);
                OpenSelected(t, 0, false);
            }
        }
        break;
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_NCLBUTTONUP:
    case WM_NCRBUTTONUP: {
        t.mouseDown = false;
        bool right = msg.message == WM_RBUTTONUP || msg.message == WM_NCRBUTTONUP;
        if (right && t.popupMode && !(t.flags & TPM_RIGHTBUTTON)) {
            break;
        }
        if (hit && index >= 0) {
            const MenuItemData& it = t.levels[level].items[static_cast<size_t>(index)];
            if (!it.sub) {
                Choose(t, level, index);
            }
        }
        break;
    }
    default:
        break;
    }
}

bool IsMouseMessage(UINT m) {
    return (m >= WM_MOUSEFIRST && m <= WM_MOUSELAST) || (m >= WM_NCMOUSEMOVE && m <= WM_NCMBUTTONDBLCLK);
}

// The modal loop; answers the chosen command (0 when dismissed).
void RunLoop(Tracker& t) {
    SetCapture(t.owner);
    while (!t.done) {
        MSG msg{};
        if (!GetMessageW(&msg, nullptr, 0, 0)) {
            PostQuitMessage(static_cast<int>(msg.wParam));
            break;
        }
        // The owner's message filters see the menu's input first and may eat it.
        if (CallMsgFilterW(&msg, MSGF_MENU)) {
            continue;
        }
        if (GetCapture() != t.owner) {
            // Something took the mouse away (another window, a message box): the menu goes.
            DispatchMessageW(&msg);
            break;
        }
        if (IsMouseMessage(msg.message)) {
            OnMouse(t, msg);
            continue;
        }
        switch (msg.message) {
        case WM_KEYDOWN:
        case WM_SYSKEYDOWN:
            TranslateMessage(&msg);
            OnKey(t, msg.wParam);
            continue;
        case WM_CHAR:
        case WM_SYSCHAR:
            OnChar(t, msg.wParam);
            continue;
        case WM_KEYUP:
        case WM_SYSKEYUP:
        case WM_DEADCHAR:
        case WM_SYSDEADCHAR:
            continue;
        default:
            break;
        }
        DispatchMessageW(&msg);
    }
}

void Finish(Tracker& t, Tracker* previous) {
    CloseAbove(t, t.bar ? 1 : 0);
    if (t.bar && !t.levels.empty()) {
        Select(t, 0, -1, false);
        t.levels.clear();
        RedrawBar(t);
    }
    if (GetCapture() == t.owner) {
        ReleaseCapture();
    }
    Notify(t, WM_MENUSELECT, MAKEWPARAM(0, 0xFFFF), 0);
    Notify(t, WM_EXITMENULOOP, t.popupMode ? TRUE : FALSE, 0);
    t_tracker = previous;
}

void PostChoice(const Tracker& t) {
    if (!t.chose || !IsWindow(t.owner)) {
        return;
    }
    if (t.cmdSys) {
        PostMessageW(t.owner, WM_SYSCOMMAND, t.cmd, 0);
    } else {
        PostMessageW(t.owner, WM_COMMAND, MAKEWPARAM(t.cmd, 0), 0);
    }
}

std::vector<RECT> BarRectsScreen(HWND hwnd, HMENU menu) {
    std::vector<MenuItemData> items;
    std::vector<RECT> rects;
    if (!MenuSnapshot(menu, items)) {
        return rects;
    }
    NcGeometry g = WindowNc(hwnd, true);
    LayoutBar(items, g.menu.left, g.menu.top, Width(g.menu), rects);
    return rects;
}

// Updates the system menu's items to the window's state before it shows.
void PrepareSystemMenu(HWND hwnd, HMENU sys) {
    DWORD style = static_cast<DWORD>(GetWindowLongW(hwnd, GWL_STYLE));
    bool zoomed = IsZoomed(hwnd) != FALSE;
    bool iconic = IsIconic(hwnd) != FALSE;
    EnableMenuItem(sys, SC_RESTORE, (zoomed || iconic) ? MF_ENABLED : MF_GRAYED);
    EnableMenuItem(sys, SC_MOVE, zoomed ? MF_GRAYED : MF_ENABLED);
    EnableMenuItem(sys, SC_SIZE, (zoomed || iconic || !(style & WS_THICKFRAME)) ? MF_GRAYED : MF_ENABLED);
    EnableMenuItem(sys, SC_MINIMIZE, (iconic || !(style & WS_MINIMIZEBOX)) ? MF_GRAYED : MF_ENABLED);
    EnableMenuItem(sys, SC_MAXIMIZE, (zoomed || !(style & WS_MAXIMIZEBOX)) ? MF_GRAYED : MF_ENABLED);
}

void TrackSystemMenu(HWND hwnd, bool keyboard) {
    HMENU sys = GetSystemMenu(hwnd, FALSE);
    if (!sys || t_tracker) {
        return;
    }
    PrepareSystemMenu(hwnd, sys);
    Tracker t;
    t.owner = hwnd;
    t.sys = true;
    t.popupMode = false;
    Tracker* previous = t_tracker;
    t_tracker = &t;
    Notify(t, WM_ENTERMENULOOP, FALSE, 0);
    Notify(t, WM_INITMENU, reinterpret_cast<WPARAM>(sys), 0);
    NcGeometry g = WindowNc(hwnd, true);
    POINT at{g.caption.left, g.caption.bottom + 1};
    if (IsRectEmpty(&g.caption)) {
        at = POINT{g.window.left, g.window.top};
    }
    if (OpenPopup(t, sys, RECT{}, true, 0, keyboard, at)) {
        RunLoop(t);
    }
    Finish(t, previous);
    PostChoice(t);
}

// Menu-bar tracking: `start` the bar item to select (-1 none); `open` opens its popup.
void TrackBar(HWND hwnd, int start, bool open, bool mouse) {
    HMENU menu = GetMenu(hwnd);
    if (!menu || t_tracker) {
        return;
    }
    Tracker t;
    t.owner = hwnd;
    t.bar = true;
    t.mouseDown = mouse;
    Level bar;
    bar.menu = menu;
    t.levels.push_back(std::move(bar));
    Tracker* previous = t_tracker;
    t_tracker = &t;
    Notify(t, WM_ENTERMENULOOP, FALSE, 0);
    Notify(t, WM_INITMENU, reinterpret_cast<WPARAM>(menu), 0);
    // WM_INITMENU may have changed the bar.
    MenuSnapshot(menu, t.levels[0].items);
    t.levels[0].barRects = BarRectsScreen(hwnd, menu);
    if (start >= 0 && start < static_cast<int>(t.levels[0].items.size())) {
        Select(t, 0, start, mouse);
        if (open) {
            OpenSelected(t, 0, !mouse);
        }
    }
    RunLoop(t);
    Finish(t, previous);
    PostChoice(t);
}

// ---- The popup window

void PaintPopup(HWND hwnd, HDC dc) {
    RECT client{};
    GetClientRect(hwnd, &client);
    FillRect(dc, &client, GetSysColorBrush(COLOR_MENU));
    RECT edge = client;
    DrawEdge(dc, &edge, EDGE_RAISED, BF_RECT);
    Tracker* t = t_tracker;
    size_t index = static_cast<size_t>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (!t || index >= t->levels.size() || t->levels[index].wnd != hwnd) {
        return;
    }
    const Level& l = t->levels[index];
    int check = GetSystemMetrics(SM_CXMENUCHECK) + 4;
    int arrow = GetSystemMetrics(SM_CXMENUCHECK) + 2;
    for (size_t i = 0; i < l.items.size(); ++i) {
        const MenuItemData& it = l.items[i];
        RECT rc = l.layout.items[i];
        bool selected = static_cast<int>(i) == l.sel;
        if (it.Separator()) {
            RECT line{rc.left + 1, rc.top + Height(rc) / 2 - 1, rc.right - 1, rc.top + Height(rc) / 2 + 1};
            DrawEdge(dc, &line, EDGE_ETCHED, BF_TOP);
            continue;
        }
        if (it.type & MFT_OWNERDRAW) {
            DRAWITEMSTRUCT dis{};
            dis.CtlType = ODT_MENU;
            dis.itemID = it.id;
            dis.itemAction = ODA_DRAWENTIRE;
            dis.itemState =
                (selected ? ODS_SELECTED : 0) | (it.Disabled() ? (ODS_GRAYED | ODS_DISABLED) : 0) |
                ((it.state & MFS_CHECKED) ? ODS_CHECKED : 0) | ((it.state & MFS_DEFAULT) ? ODS_DEFAULT : 0);
            dis.hwndItem = reinterpret_cast<HWND>(l.menu);
            dis.hDC = dc;
            dis.rcItem = rc;
            dis.itemData = it.data;
            if (selected) {
                FillRect(dc, &rc, GetSysColorBrush(COLOR_HIGHLIGHT));
            }
            if (IsWindow(t->owner)) {
                SendMessageW(t->owner, WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&dis));
            }
            continue;
        }
        if (selected) {
            FillRect(dc, &rc, GetSysColorBrush(COLOR_HIGHLIGHT));
        }
        COLORREF mark =
            GetSysColor(it.Disabled() ? COLOR_GRAYTEXT : (selected ? COLOR_HIGHLIGHTTEXT : COLOR_MENUTEXT));
        if (it.state & MFS_CHECKED) {
            RECT box{rc.left, rc.top, rc.left + check, rc.bottom};
            DrawCheck(dc, box, mark, (it.type & MFT_RADIOCHECK) != 0);
        }
        if (it.sub) {
            RECT box{rc.right - arrow, rc.top, rc.right, rc.bottom};
            DrawArrow(dc, box, mark);
        }
        std::u16string label;
        std::u16string accel;
        SplitTab(it.text, label, accel);
        bool bold = (it.state & MFS_DEFAULT) != 0;
        HGDIOBJ old = SelectObject(dc, MenuFont(bold));
        RECT textRc{rc.left + check, rc.top, rc.right - arrow, rc.bottom};
        DrawMenuText(dc, label, textRc, DT_SINGLELINE | DT_VCENTER | DT_LEFT, it.Disabled(), selected);
        if (!accel.empty()) {
            RECT accelRc{l.layout.accelLeft, rc.top, rc.right - arrow, rc.bottom};
            DrawMenuText(dc, accel, accelRc, DT_SINGLELINE | DT_VCENTER | DT_RIGHT | DT_NOPREFIX,
                         it.Disabled(), selected);
        }
        SelectObject(dc, old);
    }
}

LRESULT CALLBACK PopupProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_PAINT: {
        PAINTSTRUCT ps{};
        HDC dc = BeginPaint(hwnd, &ps);
        PaintPopup(hwnd, dc);
        EndPaint(hwnd, &ps);
        return 0;
    }
    case WM_ERASEBKGND:
        return 1;
    case WM_MOUSEACTIVATE:
        return MA_NOACTIVATE;
    default:
        return DefWindowProcW(hwnd, msg, wParam, lParam);
    }
}

void RegisterPopupClass() {
    static bool done = false;
    if (done) {
        return;
    }
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.style = CS_SAVEBITS | CS_DBLCLKS;
    wc.lpfnWndProc = PopupProc;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.lpszClassName = kPopupClass;
    DisplayRegisterSystemClass(&wc);
    done = true;
}

} // namespace

int MenuBarLayoutHeight(HWND hwnd, HMENU menu, int windowWidth) {
    std::vector<MenuItemData> items;
    if (!MenuSnapshot(menu, items)) {
        return 0;
    }
    RECT area = BarArea(hwnd, windowWidth);
    std::vector<RECT> rects;
    return LayoutBar(items, area.left, 0, std::max<int>(1, Width(area)), rects);
}

void MenuBarDraw(HWND, HMENU menu, HDC dc, const RECT& bar) {
    FillRect(dc, &bar, GetSysColorBrush(COLOR_MENU));
    std::vector<MenuItemData> items;
    if (!MenuSnapshot(menu, items)) {
        return;
    }
    std::vector<RECT> rects;
    LayoutBar(items, bar.left, bar.top, Width(bar), rects);
    HGDIOBJ old = SelectObject(dc, MenuFont(false));
    for (size_t i = 0; i < items.size(); ++i) {
        const MenuItemData& it = items[i];
        RECT rc = rects[i];
        rc.bottom = std::min(rc.bottom, bar.bottom);
        bool selected = (it.state & MFS_HILITE) != 0;
        if (selected) {
            FillRect(dc, &rc, GetSysColorBrush(COLOR_HIGHLIGHT));
        }
        if (it.type & MFT_BITMAP) {
            DrawBarBitmap(dc, it, rc, selected);
            continue;
        }
        std::u16string label;
        std::u16string accel;
        SplitTab(it.text, label, accel);
        DrawMenuText(dc, label, rc, DT_SINGLELINE | DT_VCENTER | DT_CENTER, it.Disabled(), selected);
    }
    SelectObject(dc, old);
}

} // namespace display_detail

using namespace display_detail;

void MenuSysCommand(HWND hwnd, WPARAM wParam, LPARAM lParam) {
    if (t_tracker) {
        return;
    }
    UINT cmd = static_cast<UINT>(wParam & 0xFFF0);
    if (cmd == SC_MOUSEMENU) {
        int hit = static_cast<int>(wParam & 0x000F);
        if (hit == HTSYSMENU) {
            TrackSystemMenu(hwnd, false);
            return;
        }
        HMENU menu = GetMenu(hwnd);
        if (!menu) {
            return;
        }
        POINT pt{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
        std::vector<RECT> rects = BarRectsScreen(hwnd, menu);
        int start = -1;
        for (size_t i = 0; i < rects.size(); ++i) {
            if (PtInRect(&rects[i], pt)) {
                start = static_cast<int>(i);
            }
        }
        if (start >= 0) {
            TrackBar(hwnd, start, true, true);
        }
        return;
    }
    if (cmd != SC_KEYMENU) {
        return;
    }
    char16_t ch = static_cast<char16_t>(lParam);
    HMENU menu = GetMenu(hwnd);
    if (ch == u' ') {
        if (GetWindowLongW(hwnd, GWL_STYLE) & WS_SYSMENU) {
            TrackSystemMenu(hwnd, true);
        }
        return;
    }
    if (!menu) {
        if (ch) {
            MessageBeep(0);
        }
        return;
    }
    if (ch == 0) {
        TrackBar(hwnd, 0, false, false);
        return;
    }
    std::vector<MenuItemData> items;
    MenuSnapshot(menu, items);
    char16_t lower = ch < 128 ? static_cast<char16_t>(std::tolower(static_cast<int>(ch))) : ch;
    for (size_t i = 0; i < items.size(); ++i) {
        if (MenuMnemonic(items[i].text) == lower) {
            TrackBar(hwnd, static_cast<int>(i), true, false);
            return;
        }
    }
    LRESULT r = SendMessageW(hwnd, WM_MENUCHAR, MAKEWPARAM(ch, 0), reinterpret_cast<LPARAM>(menu));
    if (HIWORD(r) == MNC_EXECUTE || HIWORD(r) == MNC_SELECT) {
        TrackBar(hwnd, LOWORD(r), true, false);
    } else {
        MessageBeep(0);
    }
}

BOOL TrackPopupMenuEx(HMENU menu, UINT flags, int x, int y, HWND owner, LPTPMPARAMS params) {
    (void)params;
    if (!IsMenu(menu)) {
        SetLastError(ERROR_INVALID_MENU_HANDLE);
        return FALSE;
    }
    if (!IsWindow(owner)) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    if (t_tracker && !(flags & TPM_RECURSE)) {
        SetLastError(ERROR_POPUP_ALREADY_ACTIVE);
        return FALSE;
    }
    Tracker t;
    t.owner = owner;
    t.popupMode = true;
    t.flags = flags;
    t.notify = !(flags & TPM_NONOTIFY);
    Tracker* previous = t_tracker;
    t_tracker = &t;
    Notify(t, WM_ENTERMENULOOP, TRUE, 0);
    Notify(t, WM_INITMENU, reinterpret_cast<WPARAM>(menu), 0);
    bool shown = OpenPopup(t, menu, RECT{}, false, 0, false, POINT{x, y}, flags);
    if (shown) {
        RunLoop(t);
    }
    Finish(t, previous);
    if (!shown) {
        return FALSE;
    }
    if (flags & TPM_RETURNCMD) {
        return t.chose ? static_cast<BOOL>(t.cmd) : 0;
    }
    if (t.notify) {
        PostChoice(t);
    }
    return TRUE;
}

BOOL TrackPopupMenu(HMENU menu, UINT flags, int x, int y, int, HWND owner, const RECT*) {
    return TrackPopupMenuEx(menu, flags, x, y, owner, nullptr);
}

BOOL EndMenu() {
    if (!t_tracker) {
        return FALSE;
    }
    t_tracker->done = true;
    PostMessageW(t_tracker->owner, WM_NULL, 0, 0);
    return TRUE;
}

BOOL GetMenuItemRect(HWND hwnd, HMENU menu, UINT item, LPRECT rect) {
    if (!rect) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    if (t_tracker) {
        for (const Level& l : t_tracker->levels) {
            if (l.menu == menu && l.wnd && item < l.layout.items.size()) {
                *rect = ItemScreenRect(l, static_cast<int>(item));
                return TRUE;
            }
        }
    }
    if (hwnd && GetMenu(hwnd) == menu) {
        std::vector<RECT> rects = BarRectsScreen(hwnd, menu);
        if (item < rects.size()) {
            *rect = rects[item];
            return TRUE;
        }
    }
    SetRectEmpty(rect);
    return FALSE;
}
