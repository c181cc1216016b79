// The MDI client window and the default frame and child procedures (MdiApi.h).
#include "platform/display/DisplayInternal.h"
#include "platform/display/MdiApi.h"
#include "platform/display/User.h"
#include "platform/display/VirtualKeys.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

namespace {

constexpr const char16_t* kClientClass = u"MDIClient";

struct ClientState {
    HWND frame = nullptr;
    HMENU windowMenu = nullptr;
    UINT idFirstChild = 0;
    HWND active = nullptr;
    HWND maximized = nullptr;       // the maximised child, whose buttons sit in the frame's menu
    HMENU buttonsMenu = nullptr;    // the frame menu carrying those buttons
    std::vector<HWND> children;     // creation order: the order of the window menu and of the child ids
    std::u16string frameText;       // the frame's own caption, without the maximised child's title
    bool listSeparator = false;     // the window menu got a separator before the list
};

int Width(const RECT& rc) {
    return rc.right - rc.left;
}
int Height(const RECT& rc) {
    return rc.bottom - rc.top;
}

bool IsClient(HWND hwnd) {
    char16_t name[16]{};
    return hwnd && GetClassNameW(hwnd, name, 16) && std::u16string(name) == kClientClass;
}

ClientState* StateOf(HWND client) {
    if (!IsClient(client)) {
        return nullptr;
    }
    return reinterpret_cast<ClientState*>(GetWindowLongPtrW(client, 0));
}

std::u16string TextOf(HWND hwnd) {
    int n = GetWindowTextLengthW(hwnd);
    std::u16string text(static_cast<std::size_t>(n) + 1, u'\0');
    text.resize(static_cast<std::size_t>(GetWindowTextW(hwnd, text.data(), n + 1)));
    return text;
}

bool Listed(HWND child) {
    return IsWindow(child) && IsWindowVisible(child);
}

// Visible children in Z order, the top first; `skip` is left out (a child being destroyed).
std::vector<HWND> ZOrder(HWND client, HWND skip = nullptr, bool skipDisabled = false) {
    std::vector<HWND> out;
    for (HWND c = GetWindow(client, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
        if (c != skip && IsWindowVisible(c) && (!skipDisabled || IsWindowEnabled(c))) {
            out.push_back(c);
        }
    }
    return out;
}

// ---- The maximised child's menu items and caption

bool IsButtonItem(HMENU menu, int pos) {
    UINT id = GetMenuItemID(menu, pos);
    return (GetMenuState(menu, static_cast<UINT>(pos), MF_BYPOSITION) & MF_BITMAP) &&
           (id == SC_MINIMIZE || id == SC_RESTORE || id == SC_CLOSE);
}

void RemoveButtons(ClientState& s) {
    HMENU menu = s.buttonsMenu;
    s.buttonsMenu = nullptr;
    if (!menu || GetMenuItemCount(menu) < 0) {
        return;
    }
    for (int pos = GetMenuItemCount(menu) - 1; pos >= 0 && IsButtonItem(menu, pos); --pos) {
        RemoveMenu(menu, static_cast<UINT>(pos), MF_BYPOSITION);
    }
    if (GetMenuItemCount(menu) > 0 && (GetMenuState(menu, 0, MF_BYPOSITION) & MF_BITMAP) && GetSubMenu(menu, 0)) {
        RemoveMenu(menu, 0, MF_BYPOSITION);
    }
}

void AddButtons(ClientState& s) {
    HMENU menu = GetMenu(s.frame);
    if (!menu || !s.maximized) {
        return;
    }
    if (HMENU system = GetSystemMenu(s.maximized, FALSE)) {
        InsertMenuW(menu, 0, MF_BYPOSITION | MF_POPUP | MF_BITMAP, reinterpret_cast<UINT_PTR>(system),
                    reinterpret_cast<LPCWSTR>(HBMMENU_SYSTEM));
        MENUITEMINFOW info{};
        info.cbSize = sizeof info;
        info.fMask = MIIM_DATA;
        info.dwItemData = reinterpret_cast<ULONG_PTR>(s.maximized);
        SetMenuItemInfoW(menu, 0, TRUE, &info);
    }
    AppendMenuW(menu, MF_BITMAP | MF_RIGHTJUSTIFY, SC_MINIMIZE, reinterpret_cast<LPCWSTR>(HBMMENU_MBAR_MINIMIZE));
    AppendMenuW(menu, MF_BITMAP, SC_RESTORE, reinterpret_cast<LPCWSTR>(HBMMENU_MBAR_RESTORE));
    AppendMenuW(menu, MF_BITMAP, SC_CLOSE, reinterpret_cast<LPCWSTR>(HBMMENU_MBAR_CLOSE));
    s.buttonsMenu = menu;
}

void ShowFrameText(const ClientState& s) {
    std::u16string text = s.frameText;
    if (s.maximized) {
        std::u16string child = TextOf(s.maximized);
        text += text.empty() ? u"[" + child + u"]" : u" - [" + child + u"]";
    }
    DefWindowProcW(s.frame, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

// ---- The window menu

void RefreshWindowMenu(ClientState& s) {
    HMENU menu = s.windowMenu;
    if (!menu || GetMenuItemCount(menu) < 0) {
        return;
    }
    UINT last = s.idFirstChild + MDI_MAX_LISTED_CHILDREN;
    for (int pos = GetMenuItemCount(menu) - 1; pos >= 0; --pos) {
        UINT id = GetMenuItemID(menu, pos);
        if (id >= s.idFirstChild && id < last) {
            RemoveMenu(menu, static_cast<UINT>(pos), MF_BYPOSITION);
        }
    }
    int count = GetMenuItemCount(menu);
    if (s.listSeparator && count > 0 && (GetMenuState(menu, static_cast<UINT>(count - 1), MF_BYPOSITION) & MF_SEPARATOR)) {
        RemoveMenu(menu, static_cast<UINT>(count - 1), MF_BYPOSITION);
    }
    s.listSeparator = false;
    int listed = 0;
    for (std::size_t i = 0; i < s.children.size() && listed < MDI_MAX_LISTED_CHILDREN; ++i) {
        HWND child = s.children[i];
        if (!Listed(child)) {
            continue;
        }
        if (listed == 0 && GetMenuItemCount(menu) > 0) {
            AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
            s.listSeparator = true;
        }
        std::string number = std::to_string(listed + 1);
        std::u16string label = u"&" + std::u16string(number.begin(), number.end()) + u" " + TextOf(child);
        AppendMenuW(menu, MF_STRING | (child == s.active ? MF_CHECKED : 0),
                    s.idFirstChild + static_cast<UINT>(i), label.c_str());
        ++listed;
    }
}

void Renumber(ClientState& s) {
    for (std::size_t i = 0; i < s.children.size(); ++i) {
        SetWindowLongPtrW(s.children[i], GWLP_ID, static_cast<LONG_PTR>(s.idFirstChild + i));
    }
}

// ---- Activation and sizes

void Activate(HWND client, ClientState& s, HWND child) {
    if (child == s.active) {
        if (child) {
            SetWindowPos(child, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        }
        return;
    }
    HWND old = s.active;
    bool keepMaximized = old && s.maximized == old && child;
    s.active = child;
    if (old && IsWindow(old)) {
        SendMessageW(old, WM_NCACTIVATE, FALSE, 0);
        SendMessageW(old, WM_MDIACTIVATE, reinterpret_cast<WPARAM>(old), reinterpret_cast<LPARAM>(child));
    }
    if (child) {
        if (keepMaximized) {
            // The maximised state passes to the child that becomes active.
            ShowWindow(old, SW_RESTORE);
            ShowWindow(child, SW_SHOWMAXIMIZED);
        }
        SetWindowPos(child, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        SendMessageW(child, WM_NCACTIVATE, TRUE, 0);
        SendMessageW(child, WM_MDIACTIVATE, reinterpret_cast<WPARAM>(old), reinterpret_cast<LPARAM>(child));
        HWND focus = GetFocus();
        if (GetActiveWindow() == GetAncestor(client, GA_ROOT) && focus != child && !IsChild(child, focus)) {
            SetFocus(child);
        }
    } else if (old && GetFocus() && (GetFocus() == old || IsChild(old, GetFocus()))) {
        SetFocus(client);
    }
    RefreshWindowMenu(s);
}

RECT MaximizedRect(HWND client, HWND child) {
    RECT rc{};
    GetClientRect(client, &rc);
    AdjustWindowRectEx(&rc, static_cast<DWORD>(GetWindowLongW(child, GWL_STYLE)), FALSE,
                       static_cast<DWORD>(GetWindowLongW(child, GWL_EXSTYLE)));
    return rc;
}

int CascadeStep() {
    return GetSystemMetrics(SM_CYCAPTION) + GetSystemMetrics(SM_CYFRAME);
}

// The area left to restored children: the client less the rows of minimised ones.
RECT ArrangeArea(HWND client) {
    RECT rc{};
    GetClientRect(client, &rc);
    int iconRows = 0;
    int perRow = std::max(1, Width(rc) / GetSystemMetrics(SM_CXMINSPACING));
    int icons = 0;
    for (HWND c : ZOrder(client)) {
        icons += IsIconic(c) ? 1 : 0;
    }
    iconRows = (icons + perRow - 1) / perRow;
    rc.bottom = std::max(rc.top, rc.bottom - iconRows * GetSystemMetrics(SM_CYMINSPACING));
    return rc;
}

// The number of cascade positions that still leave each window half the area.
int CascadeSlots(const RECT& area) {
    int step = CascadeStep();
    return std::max(1, std::min(Width(area), Height(area)) / 2 / step + 1);
}

void RestoreMaximized(ClientState& s) {
    if (s.maximized) {
        ShowWindow(s.maximized, SW_RESTORE);
    }
}

// The children cascade and tile arrange, in Z order: every visible one that is not minimised, with the
// maximised one restored first.
std::vector<HWND> Arranged(HWND client, ClientState& s, WPARAM flags) {
    RestoreMaximized(s);
    std::vector<HWND> windows;
    for (HWND c : ZOrder(client, nullptr, (flags & MDITILE_SKIPDISABLED) != 0)) {
        if (!IsIconic(c)) {
            windows.push_back(c);
        }
    }
    return windows;
}

LRESULT Cascade(HWND client, ClientState& s, WPARAM flags) {
    std::vector<HWND> windows = Arranged(client, s, flags);
    RECT area = ArrangeArea(client);
    int slots = CascadeSlots(area);
    int used = std::min(static_cast<int>(windows.size()), slots);
    int step = CascadeStep();
    int cx = std::max(GetSystemMetrics(SM_CXMINTRACK), Width(area) - step * (used - 1));
    int cy = std::max(GetSystemMetrics(SM_CYMINTRACK), Height(area) - step * (used - 1));
    // The bottom of the Z order takes the first place, so the top window stays on top at the last one.
    int n = static_cast<int>(windows.size());
    for (int i = 0; i < n; ++i) {
        HWND w = windows[static_cast<std::size_t>(n - 1 - i)];
        int offset = (i % slots) * step;
        SetWindowPos(w, nullptr, area.left + offset, area.top + offset, cx, cy, SWP_NOZORDER | SWP_NOACTIVATE);
    }
    return n;
}

LRESULT Tile(HWND client, ClientState& s, WPARAM flags) {
    std::vector<HWND> windows = Arranged(client, s, flags);
    int n = static_cast<int>(windows.size());
    if (n == 0) {
        return 0;
    }
    RECT area = ArrangeArea(client);
    bool sideBySide = !(flags & MDITILE_HORIZONTAL);
    // Up to three windows lie in one line; more make a grid whose last lines take the odd ones.
    int lines = n <= 3 ? n : static_cast<int>(std::sqrt(static_cast<double>(n)));
    int along = sideBySide ? Width(area) : Height(area);
    int across = sideBySide ? Height(area) : Width(area);
    int index = 0;
    for (int line = 0; line < lines; ++line) {
        int inLine = n / lines + (line >= lines - n % lines ? 1 : 0);
        int a0 = along * line / lines;
        int a1 = along * (line + 1) / lines;
        for (int k = 0; k < inLine; ++k, ++index) {
            int b0 = across * k / inLine;
            int b1 = across * (k + 1) / inLine;
            RECT rc = sideBySide ? RECT{area.left + a0, area.top + b0, area.left + a1, area.top + b1}
                                 : RECT{area.left + b0, area.top + a0, area.left + b1, area.top + a1};
            SetWindowPos(windows[static_cast<std::size_t>(index)], nullptr, rc.left, rc.top, Width(rc), Height(rc),
                         SWP_NOZORDER | SWP_NOACTIVATE);
        }
    }
    return n;
}

LRESULT ArrangeIcons(HWND client) {
    RECT rc{};
    GetClientRect(client, &rc);
    int dx = GetSystemMetrics(SM_CXMINSPACING);
    int dy = GetSystemMetrics(SM_CYMINSPACING);
    int cx = GetSystemMetrics(SM_CXMINIMIZED);
    int cy = GetSystemMetrics(SM_CYMINIMIZED);
    int x = rc.left;
    int y = rc.bottom - dy;
    int count = 0;
    std::vector<HWND> windows = ZOrder(client);
    std::reverse(windows.begin(), windows.end());
    for (HWND c : windows) {
        if (!IsIconic(c)) {
            continue;
        }
        if (x > rc.left && x + cx > rc.right) {
            x = rc.left;
            y -= dy;
        }
        SetWindowPos(c, nullptr, x, y + (dy - cy), cx, cy, SWP_NOZORDER | SWP_NOACTIVATE);
        x += dx;
        ++count;
    }
    return count;
}

// ---- Children coming and going

POINT DefaultPosition(HWND client, const ClientState& s) {
    RECT area = ArrangeArea(client);
    int index = static_cast<int>(s.children.size()) % CascadeSlots(area);
    return POINT{area.left + index * CascadeStep(), area.top + index * CascadeStep()};
}

LRESULT CreateChild(HWND client, ClientState& s, const MDICREATESTRUCTW& mcs) {
    DWORD style = (mcs.style & ~static_cast<DWORD>(WS_POPUP | WS_VISIBLE | WS_MAXIMIZE | WS_MINIMIZE)) | WS_CHILD |
                  WS_CLIPSIBLINGS;
    if (!(GetWindowLongW(client, GWL_STYLE) & MDIS_ALLCHILDSTYLES)) {
        style |= WS_OVERLAPPEDWINDOW;
    }
    RECT area = ArrangeArea(client);
    POINT at = DefaultPosition(client, s);
    int x = mcs.x == CW_USEDEFAULT ? at.x : mcs.x;
    int y = mcs.x == CW_USEDEFAULT ? at.y : mcs.y;
    int cx = mcs.cx == CW_USEDEFAULT ? Width(area) * 3 / 4 : mcs.cx;
    int cy = mcs.cx == CW_USEDEFAULT ? Height(area) * 3 / 4 : mcs.cy;
    UINT id = s.idFirstChild + static_cast<UINT>(s.children.size());
    MDICREATESTRUCTW copy = mcs;
    HWND child = CreateWindowExW(WS_EX_MDICHILD, mcs.szClass, mcs.szTitle, style, x, y, cx, cy, client,
                                 reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)),
                                 reinterpret_cast<HINSTANCE>(mcs.hOwner), &copy);
    if (!child) {
        return 0;
    }
    if (std::find(s.children.begin(), s.children.end(), child) == s.children.end()) {
        s.children.push_back(child);
    }
    Renumber(s);
    if (mcs.style & WS_VISIBLE) {
        bool maximize = (mcs.style & WS_MAXIMIZE) || s.maximized;
        ShowWindow(child, maximize ? SW_SHOWMAXIMIZED : ((mcs.style & WS_MINIMIZE) ? SW_SHOWMINNOACTIVE : SW_SHOW));
        Activate(client, s, child);
    }
    RefreshWindowMenu(s);
    return reinterpret_cast<LRESULT>(child);
}

void ChildGone(HWND client, ClientState& s, HWND child) {
    auto it = std::find(s.children.begin(), s.children.end(), child);
    if (it == s.children.end()) {
        return;
    }
    s.children.erase(it);
    bool wasMaximized = s.maximized == child;
    if (wasMaximized) {
        RemoveButtons(s);
        s.maximized = nullptr;
        ShowFrameText(s);
        DrawMenuBar(s.frame);
    }
    Renumber(s);
    if (s.active == child) {
        s.active = nullptr;
        std::vector<HWND> rest = ZOrder(client, child);
        if (!rest.empty()) {
            if (wasMaximized) {
                ShowWindow(rest.front(), SW_SHOWMAXIMIZED);
            }
            Activate(client, s, rest.front());
        } else {
            // The last child going tells itself so, and gives the frame its own menu back.
            s.active = child;
            Activate(client, s, nullptr);
        }
    }
    RefreshWindowMenu(s);
}

void ChildSized(HWND child, WPARAM type) {
    HWND client = GetParent(child);
    ClientState* s = StateOf(client);
    if (!s) {
        return;
    }
    if (type == SIZE_MAXIMIZED && s->maximized != child) {
        // One child at a time is maximised.
        HWND previous = s->maximized;
        RemoveButtons(*s);
        s->maximized = child;
        if (previous) {
            ShowWindow(previous, SW_RESTORE);
        }
        AddButtons(*s);
        ShowFrameText(*s);
        DrawMenuBar(s->frame);
    } else if (type != SIZE_MAXIMIZED && s->maximized == child) {
        RemoveButtons(*s);
        s->maximized = nullptr;
        ShowFrameText(*s);
        DrawMenuBar(s->frame);
    }
    if (type == SIZE_MINIMIZED) {
        ArrangeIcons(client);
    }
}

LRESULT Next(HWND client, ClientState& s, HWND from, bool previous) {
    std::vector<HWND> order = ZOrder(client);
    if (!from) {
        from = s.active;
    }
    auto it = std::find(order.begin(), order.end(), from);
    if (order.size() < 2 || it == order.end()) {
        return 0;
    }
    if (previous) {
        Activate(client, s, order.back());
    } else {
        HWND next = order[static_cast<std::size_t>(it - order.begin() + 1) % order.size()];
        Activate(client, s, next);
        SetWindowPos(from, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    }
    return 0;
}

LRESULT SetMenus(ClientState& s, HMENU frameMenu, HMENU windowMenu) {
    HMENU old = GetMenu(s.frame);
    if (frameMenu && frameMenu != old) {
        RemoveButtons(s);
        SetMenu(s.frame, frameMenu);
        AddButtons(s);
    }
    if (windowMenu && windowMenu != s.windowMenu) {
        HMENU keep = s.windowMenu;
        s.windowMenu = nullptr;
        if (keep) {
            // Take the list out of the menu that no longer shows it.
            ClientState gone = s;
            gone.windowMenu = keep;
            gone.children.clear();
            RefreshWindowMenu(gone);
        }
        s.windowMenu = windowMenu;
        s.listSeparator = false;
    }
    RefreshWindowMenu(s);
    return reinterpret_cast<LRESULT>(old);
}

// ---- The client's messages

LRESULT OnCreate(HWND client, const CREATESTRUCTW* cs) {
    auto* s = new ClientState;
    s->frame = GetParent(client);
    if (auto* ccs = static_cast<const CLIENTCREATESTRUCT*>(cs->lpCreateParams)) {
        s->windowMenu = reinterpret_cast<HMENU>(ccs->hWindowMenu);
        s->idFirstChild = ccs->idFirstChild;
    }
    s->frameText = TextOf(s->frame);
    SetWindowLongPtrW(client, 0, reinterpret_cast<LONG_PTR>(s));
    return 0;
}

void OnSize(HWND client, ClientState& s) {
    if (s.maximized) {
        RECT rc = MaximizedRect(client, s.maximized);
        SetWindowPos(s.maximized, nullptr, rc.left, rc.top, Width(rc), Height(rc), SWP_NOZORDER | SWP_NOACTIVATE);
    }
    ArrangeIcons(client);
}

LRESULT ClientMessage(HWND client, ClientState& s, UINT msg, WPARAM wParam, LPARAM lParam) {
    HWND child = reinterpret_cast<HWND>(wParam);
    switch (msg) {
    case WM_MDICREATE:
        return lParam ? CreateChild(client, s, *reinterpret_cast<const MDICREATESTRUCTW*>(lParam)) : 0;
    case WM_MDIDESTROY:
        if (GetParent(child) == client) {
            ChildGone(client, s, child);
            DestroyWindow(child);
        }
        return 0;
    case WM_MDIACTIVATE:
        if (GetParent(child) == client) {
            Activate(client, s, child);
        }
        return 0;
    case WM_MDIGETACTIVE:
        if (lParam) {
            *reinterpret_cast<BOOL*>(lParam) = s.maximized && s.maximized == s.active;
        }
        return reinterpret_cast<LRESULT>(s.active);
    case WM_MDIMAXIMIZE:
        if (GetParent(child) == client) {
            ShowWindow(child, SW_SHOWMAXIMIZED);
            Activate(client, s, child);
        }
        return 0;
    case WM_MDIRESTORE:
        if (GetParent(child) == client) {
            ShowWindow(child, SW_RESTORE);
        }
        return 0;
    case WM_MDINEXT:
        return Next(client, s, child, lParam != 0);
    case WM_MDICASCADE:
        return Cascade(client, s, wParam);
    case WM_MDITILE:
        return Tile(client, s, wParam);
    case WM_MDIICONARRANGE:
        return ArrangeIcons(client);
    case WM_MDISETMENU:
        return SetMenus(s, reinterpret_cast<HMENU>(wParam), reinterpret_cast<HMENU>(lParam));
    case WM_MDIREFRESHMENU:
        RefreshWindowMenu(s);
        return reinterpret_cast<LRESULT>(GetMenu(s.frame));
    case WM_SIZE:
        OnSize(client, s);
        return DefWindowProcW(client, msg, wParam, lParam);
    case WM_NCACTIVATE:
        // Others that share the active caption with the children (docked document frames) turn the
        // active child's caption on and off through the client.
        if (s.active) {
            SendMessageW(s.active, WM_NCACTIVATE, wParam, 0);
        }
        return DefWindowProcW(client, msg, wParam, lParam);
    case WM_SETFOCUS:
        if (s.active && !IsIconic(s.active)) {
            SetFocus(s.active);
        }
        return 0;
    case WM_DESTROY:
        RemoveButtons(s);
        s.children.clear();
        RefreshWindowMenu(s);
        return DefWindowProcW(client, msg, wParam, lParam);
    default:
        return DefWindowProcW(client, msg, wParam, lParam);
    }
}

LRESULT CALLBACK ClientProc(HWND client, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_CREATE) {
        return OnCreate(client, reinterpret_cast<const CREATESTRUCTW*>(lParam));
    }
    auto* s = reinterpret_cast<ClientState*>(GetWindowLongPtrW(client, 0));
    if (msg == WM_NCDESTROY) {
        SetWindowLongPtrW(client, 0, 0);
        delete s;
        return DefWindowProcW(client, msg, wParam, lParam);
    }
    if (!s) {
        return DefWindowProcW(client, msg, wParam, lParam);
    }
    return ClientMessage(client, *s, msg, wParam, lParam);
}

// ---- The default child procedure's messages

LRESULT ChildMinMax(HWND child, MINMAXINFO* mmi) {
    RECT rc = MaximizedRect(GetParent(child), child);
    mmi->ptMaxPosition = POINT{rc.left, rc.top};
    mmi->ptMaxSize = POINT{Width(rc), Height(rc)};
    mmi->ptMaxTrackSize.x = std::max(mmi->ptMaxTrackSize.x, Width(rc));
    mmi->ptMaxTrackSize.y = std::max(mmi->ptMaxTrackSize.y, Height(rc));
    return 0;
}

void ActivateInClient(HWND child) {
    HWND client = GetParent(child);
    if (ClientState* s = StateOf(client); s && s->active != child) {
        Activate(client, *s, child);
    }
}

LRESULT ChildSysCommand(HWND child, WPARAM wParam, LPARAM lParam) {
    HWND client = GetParent(child);
    switch (wParam & 0xFFF0) {
    case SC_NEXTWINDOW:
    case SC_PREVWINDOW:
        return SendMessageW(client, WM_MDINEXT, reinterpret_cast<WPARAM>(child), (wParam & 0xFFF0) == SC_PREVWINDOW);
    case SC_MAXIMIZE:
        ActivateInClient(child);
        return DefWindowProcW(child, WM_SYSCOMMAND, wParam, lParam);
    case SC_KEYMENU:
        // The menu belongs to the frame.
        if (ClientState* s = StateOf(client)) {
            return SendMessageW(s->frame, WM_SYSCOMMAND, wParam, lParam);
        }
        return 0;
    default:
        return DefWindowProcW(child, WM_SYSCOMMAND, wParam, lParam);
    }
}

void ChildTextChanged(HWND child) {
    if (ClientState* s = StateOf(GetParent(child))) {
        if (s->maximized == child) {
            ShowFrameText(*s);
        }
        RefreshWindowMenu(*s);
    }
}

} // namespace

namespace display_detail {

void RegisterMdiClientClass() {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = ClientProc;
    wc.cbWndExtra = sizeof(void*);
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<LONG_PTR>(COLOR_APPWORKSPACE + 1));
    wc.lpszClassName = kClientClass;
    DisplayRegisterSystemClass(&wc);
}

} // namespace display_detail

LRESULT DefMDIChildProcW(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_GETMINMAXINFO:
        return ChildMinMax(hwnd, reinterpret_cast<MINMAXINFO*>(lParam));
    case WM_SIZE:
        ChildSized(hwnd, wParam);
        return DefWindowProcW(hwnd, msg, wParam, lParam);
    case WM_SYSCOMMAND:
        return ChildSysCommand(hwnd, wParam, lParam);
    case WM_CLOSE:
        SendMessageW(GetParent(hwnd), WM_MDIDESTROY, reinterpret_cast<WPARAM>(hwnd), 0);
        return 0;
    case WM_CHILDACTIVATE:
        ActivateInClient(hwnd);
        return 0;
    case WM_MOUSEACTIVATE: {
        LRESULT r = DefWindowProcW(hwnd, msg, wParam, lParam);
        ActivateInClient(hwnd);
        return r;
    }
    case WM_SETFOCUS:
        ActivateInClient(hwnd);
        return DefWindowProcW(hwnd, msg, wParam, lParam);
    case WM_SETTEXT: {
        LRESULT r = DefWindowProcW(hwnd, msg, wParam, lParam);
        ChildTextChanged(hwnd);
        return r;
    }
    case WM_DESTROY:
        if (ClientState* s = StateOf(GetParent(hwnd))) {
            ChildGone(GetParent(hwnd), *s, hwnd);
        }
        return DefWindowProcW(hwnd, msg, wParam, lParam);
    default:
        return DefWindowProcW(hwnd, msg, wParam, lParam);
    }
}

LRESULT DefFrameProcW(HWND hwnd, HWND client, UINT msg, WPARAM wParam, LPARAM lParam) {
    ClientState* s = StateOf(client);
    if (!s) {
        return DefWindowProcW(hwnd, msg, wParam, lParam);
    }
    switch (msg) {
    case WM_COMMAND: {
        UINT id = LOWORD(wParam);
        if (id >= s->idFirstChild && id < s->idFirstChild + s->children.size()) {
            HWND child = s->children[id - s->idFirstChild];
            if (IsIconic(child)) {
                ShowWindow(child, SW_RESTORE);
            }
            Activate(client, *s, child);
            return 0;
        }
        if (id >= 0xF000 && s->maximized) {
            // The maximised child's system menu and caption buttons in the frame's menu bar.
            return SendMessageW(s->maximized, WM_SYSCOMMAND, id, lParam);
        }
        return DefWindowProcW(hwnd, msg, wParam, lParam);
    }
    case WM_SIZE:
        MoveWindow(client, 0, 0, LOWORD(lParam), HIWORD(lParam), TRUE);
        return 0;
    case WM_SETFOCUS:
        SetFocus(client);
        return 0;
    case WM_SETTEXT:
        s->frameText = lParam ? reinterpret_cast<LPCWSTR>(lParam) : u"";
        ShowFrameText(*s);
        return TRUE;
    case WM_NCACTIVATE:
        if (s->active) {
            SendMessageW(s->active, WM_NCACTIVATE, wParam, 0);
        }
        return DefWindowProcW(hwnd, msg, wParam, lParam);
    default:
        return DefWindowProcW(hwnd, msg, wParam, lParam);
    }
}

BOOL TranslateMDISysAccel(HWND client, LPMSG msg) {
    ClientState* s = StateOf(client);
    if (!s || !msg || !s->active || (msg->message != WM_KEYDOWN && msg->message != WM_SYSKEYDOWN)) {
        return FALSE;
    }
    if (GetKeyState(VK_CONTROL) >= 0 || GetKeyState(VK_MENU) < 0) {
        return FALSE;
    }
    WPARAM command = 0;
    switch (msg->wParam) {
    case VK_F4:
        command = SC_CLOSE;
        break;
    case VK_F6:
    case VK_TAB:
        command = GetKeyState(VK_SHIFT) < 0 ? SC_PREVWINDOW : SC_NEXTWINDOW;
        break;
    default:
        return FALSE;
    }
    SendMessageW(s->active, WM_SYSCOMMAND, command, 0);
    return TRUE;
}
