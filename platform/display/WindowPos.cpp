// Positions, sizes, z-order, showing, minimising and maximising, enabling, placement.
#include "platform/display/DisplayInternal.h"

#include "platform/kernel/Threads.h"

#include <algorithm>
#include <mutex>
#include <set>

namespace display_detail {
namespace {

RECT Offset(RECT rc, int dx, int dy) {
    OffsetRect(&rc, dx, dy);
    return rc;
}

int Width(const RECT& rc) {
    return rc.right - rc.left;
}
int Height(const RECT& rc) {
    return rc.bottom - rc.top;
}

// Places hwnd in its parent's z-order. Answers whether the order changed.
bool ReorderLocked(Window& w, HWND after) {
    Window* p = FindQuietLocked(w.parent);
    if (!p) {
        return false;
    }
    auto& list = p->children;
    std::vector<HWND> before = list;
    bool top = IsTopLevelLocked(w);
    if (top && after == HWND_TOPMOST) {
        w.exStyle |= WS_EX_TOPMOST;
        after = HWND_TOP;
    } else if (top && after == HWND_NOTOPMOST) {
        w.exStyle &= ~static_cast<DWORD>(WS_EX_TOPMOST);
        after = HWND_TOP;
    } else if (!top && (after == HWND_TOPMOST || after == HWND_NOTOPMOST)) {
        after = HWND_TOP;
    }
    list.erase(std::remove(list.begin(), list.end(), w.hwnd), list.end());
    auto topmost = [&](HWND h) {
        Window* s = FindQuietLocked(h);
        return s && (s->exStyle & WS_EX_TOPMOST);
    };
    std::vector<HWND>::iterator at;
    if (after == HWND_TOP) {
        at = list.begin();
        if (top && !(w.exStyle & WS_EX_TOPMOST)) {
            while (at != list.end() && topmost(*at)) {
                ++at;
            }
        }
    } else if (after == HWND_BOTTOM) {
        // The bottom of the z-order; a topmost window loses its topmost state there.
        if (top) {
            w.exStyle &= ~static_cast<DWORD>(WS_EX_TOPMOST);
        }
        at = list.end();
    } else {
        at = std::find(list.begin(), list.end(), after);
        if (at == list.end()) {
            at = list.begin();
        } else {
            ++at;
        }
    }
    list.insert(at, w.hwnd);
    return list != before;
}

// Owned windows stay above their owner.
void RaiseOwnedLocked(HWND owner) {
    Window* d = FindQuietLocked(G().desktop);
    auto& list = d->children;
    std::vector<HWND> owned;
    std::set<HWND> owners{owner};
    bool grew = true;
    while (grew) {
        grew = false;
        for (HWND h : list) {
            Window* s = FindQuietLocked(h);
            if (s && s->owner && owners.count(s->owner) && !owners.count(h)) {
                owners.insert(h);
                grew = true;
            }
        }
    }
    for (HWND h : list) {
        if (h != owner && owners.count(h)) {
            owned.push_back(h);
        }
    }
    if (owned.empty()) {
        return;
    }
    auto ownerPos = std::find(list.begin(), list.end(), owner);
    bool needed = false;
    for (HWND h : owned) {
        if (std::find(list.begin(), ownerPos, h) == ownerPos) {
            needed = true;
        }
    }
    if (!needed) {
        return;
    }
    for (HWND h : owned) {
        list.erase(std::remove(list.begin(), list.end(), h), list.end());
    }
    auto at = std::find(list.begin(), list.end(), owner);
    list.insert(at, owned.begin(), owned.end());
}

bool OverlapsSiblingLocked(const Window& w) {
    Window* p = FindQuietLocked(w.parent);
    if (!p) {
        return false;
    }
    for (HWND h : p->children) {
        Window* s = FindQuietLocked(h);
        if (!s || h == w.hwnd || !(s->style & WS_VISIBLE)) {
            continue;
        }
        RECT inter{};
        if (IntersectRect(&inter, &s->rcWindow, &w.rcWindow)) {
            return true;
        }
    }
    return false;
}

int ShowStateLocked(const Window& w) {
    if (!(w.style & WS_VISIBLE)) {
        return SW_HIDE;
    }
    return w.minimized ? SW_SHOWMINIMIZED : (w.maximized ? SW_SHOWMAXIMIZED : SW_SHOWNORMAL);
}

MINMAXINFO MinMaxInfo(HWND hwnd) {
    MINMAXINFO mmi{};
    DWORD style = static_cast<DWORD>(GetWindowLongW(hwnd, GWL_STYLE));
    RECT area = Backend().WorkArea();
    RECT parentClient = area;
    bool child = (style & WS_CHILD) != 0;
    if (child) {
        GetClientRect(GetParent(hwnd), &parentClient);
    }
    int frame = 0;
    if (style & WS_THICKFRAME) {
        frame = GetSystemMetrics(SM_CXFRAME);
    } else if (style & WS_DLGFRAME) {
        frame = GetSystemMetrics(SM_CXDLGFRAME);
    } else if (style & WS_BORDER) {
        frame = GetSystemMetrics(SM_CXBORDER);
    }
    mmi.ptMaxSize = POINT{Width(parentClient) + 2 * frame, Height(parentClient) + 2 * frame};
    mmi.ptMaxPosition = POINT{-frame, -frame};
    mmi.ptMinTrackSize = POINT{GetSystemMetrics(SM_CXMINTRACK), GetSystemMetrics(SM_CYMINTRACK)};
    mmi.ptMaxTrackSize = POINT{GetSystemMetrics(SM_CXMAXTRACK), GetSystemMetrics(SM_CYMAXTRACK)};
    SendMessageW(hwnd, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&mmi));
    if (!child) {
        mmi.ptMaxPosition.x += area.left;
        mmi.ptMaxPosition.y += area.top;
    }
    return mmi;
}

} // namespace

void SendSizeMove(HWND hwnd) {
    RECT client{};
    POINT origin{};
    WPARAM type = SIZE_RESTORED;
    {
        Lock lock = LockState();
        Window* w = FindQuietLocked(hwnd);
        if (!w) {
            return;
        }
        client = w->rcClient;
        origin = POINT{w->rcClient.left, w->rcClient.top};
        type = w->minimized ? SIZE_MINIMIZED : (w->maximized ? SIZE_MAXIMIZED : SIZE_RESTORED);
    }
    SendMessageW(hwnd, WM_SIZE, type, MAKELPARAM(Width(client), Height(client)));
    SendMessageW(hwnd, WM_MOVE, 0, MAKELPARAM(origin.x, origin.y));
}

BOOL SetWindowPosInternal(HWND hwnd, HWND insertAfter, int x, int y, int cx, int cy, UINT flags) {
    WINDOWPOS wp{hwnd, insertAfter, x, y, cx, cy, flags};
    RECT oldWindow{};
    RECT oldClient{};
    bool wasVisible = false;
    bool topLevel = false;
    {
        Lock lock = LockState();
        Window* w = FindLocked(hwnd);
        if (!w) {
            return FALSE;
        }
        if (hwnd == G().desktop) {
            SetLastError(ERROR_ACCESS_DENIED);
            return FALSE;
        }
        oldWindow = w->rcWindow;
        oldClient = w->rcClient;
        wasVisible = (w->style & WS_VISIBLE) != 0;
        topLevel = IsTopLevelLocked(*w);
        if (wp.cx < 0) {
            wp.cx = 0;
        }
        if (wp.cy < 0) {
            wp.cy = 0;
        }
        if (Width(oldWindow) == wp.cx && Height(oldWindow) == wp.cy) {
            wp.flags |= SWP_NOSIZE;
        }
        if (oldWindow.left == wp.x && oldWindow.top == wp.y) {
            wp.flags |= SWP_NOMOVE;
        }
        if (wp.hwndInsertAfter == hwnd) {
            wp.flags |= SWP_NOZORDER;
        }
        if ((wp.flags & SWP_SHOWWINDOW) && wasVisible) {
            wp.flags &= ~static_cast<UINT>(SWP_SHOWWINDOW);
        }
        if ((wp.flags & SWP_HIDEWINDOW) && !wasVisible) {
            wp.flags &= ~static_cast<UINT>(SWP_HIDEWINDOW);
        }
        if (wp.flags & SWP_NOSIZE) {
            wp.cx = Width(oldWindow);
            wp.cy = Height(oldWindow);
        }
        if (wp.flags & SWP_NOMOVE) {
            wp.x = oldWindow.left;
            wp.y = oldWindow.top;
        }
    }
    if (!(wp.flags & SWP_NOSENDCHANGING)) {
        SendMessageW(hwnd, WM_WINDOWPOSCHANGING, 0, reinterpret_cast<LPARAM>(&wp));
    }

    RECT newWindow{};
    bool sizeChanged = false;
    bool zChanged = false;
    {
        Lock lock = LockState();
        Window* w = FindLocked(hwnd);
        if (!w) {
            return FALSE;
        }
        newWindow = oldWindow;
        if (!(wp.flags & SWP_NOMOVE)) {
            newWindow = Offset(newWindow, wp.x - oldWindow.left, wp.y - oldWindow.top);
        }
        if (!(wp.flags & SWP_NOSIZE)) {
            newWindow.right = newWindow.left + std::max(wp.cx, 0);
            newWindow.bottom = newWindow.top + std::max(wp.cy, 0);
        }
        sizeChanged = Width(newWindow) != Width(oldWindow) || Height(newWindow) != Height(oldWindow);
        if (!(wp.flags & SWP_NOZORDER)) {
            zChanged = ReorderLocked(*w, wp.hwndInsertAfter);
            if (topLevel && !(wp.flags & SWP_NOOWNERZORDER)) {
                RaiseOwnedLocked(hwnd);
            }
        }
    }

    RECT newClient = Offset(oldClient, newWindow.left - oldWindow.left, newWindow.top - oldWindow.top);
    if (sizeChanged || (wp.flags & SWP_FRAMECHANGED)) {
        NCCALCSIZE_PARAMS params{};
        params.rgrc[0] = newWindow;
        params.rgrc[1] = oldWindow;
        params.rgrc[2] = oldClient;
        WINDOWPOS copy = wp;
        params.lppos = &copy;
        SendMessageW(hwnd, WM_NCCALCSIZE, TRUE, reinterpret_cast<LPARAM>(&params));
        newClient = params.rgrc[0];
        newClient.right = std::max(newClient.right, newClient.left);
        newClient.bottom = std::max(newClient.bottom, newClient.top);
    }

    bool nowVisible = false;
    bool clientMoved = false;
    bool clientSized = false;
    {
        Lock lock = LockState();
        Window* w = FindLocked(hwnd);
        if (!w) {
            return FALSE;
        }
        clientSized = Width(newClient) != Width(oldClient) || Height(newClient) != Height(oldClient);
        clientMoved = newClient.left != oldClient.left || newClient.top != oldClient.top;
        if (!clientSized) {
            wp.flags |= SWP_NOCLIENTSIZE;
        }
        if (!clientMoved) {
            wp.flags |= SWP_NOCLIENTMOVE;
        }
        w->rcWindow = newWindow;
        w->rcClient = newClient;
        if (wp.flags & SWP_SHOWWINDOW) {
            w->style |= WS_VISIBLE;
        }
        if (wp.flags & SWP_HIDEWINDOW) {
            w->style &= ~static_cast<DWORD>(WS_VISIBLE);
        }
        nowVisible = (w->style & WS_VISIBLE) != 0;
        if (!w->minimized && !w->maximized) {
            w->normalRect = newWindow;
        }
        if (topLevel && sizeChanged) {
            ResizeSurfaceLocked(*w);
        }
        // Keep the update region inside the client area.
        RECT clientArea{0, 0, Width(newClient), Height(newClient)};
        w->update.Intersect(clientArea);

        bool parentVisible = IsVisibleLocked(w->parent) || w->parent == G().desktop;
        if (!(wp.flags & SWP_NOREDRAW) && parentVisible) {
            if (!topLevel) {
                // What the window no longer covers shows its parent and siblings again.
                Region exposed;
                if (wasVisible) {
                    exposed.Set(oldWindow);
                }
                if (nowVisible) {
                    exposed.Subtract(newWindow);
                }
                if (zChanged && nowVisible && OverlapsSiblingLocked(*w)) {
                    // Siblings it now covers or uncovers.
                    exposed.Union(newWindow);
                }
                if (!exposed.Empty()) {
                    if (Window* p = FindQuietLocked(w->parent)) {
                        Region rgn = exposed;
                        InvalidateLocked(*p, &rgn, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
                    }
                }
            }
            bool moved = newWindow.left != oldWindow.left || newWindow.top != oldWindow.top;
            if (nowVisible) {
                const UINT all = RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN;
                UINT clsStyle = w->cls ? w->cls->style : 0;
                bool redrawAll = !wasVisible || (moved && !topLevel) ||
                                 ((clsStyle & CS_HREDRAW) && Width(newWindow) != Width(oldWindow)) ||
                                 ((clsStyle & CS_VREDRAW) && Height(newWindow) != Height(oldWindow)) ||
                                 (newClient.left - newWindow.left != oldClient.left - oldWindow.left) ||
                                 (newClient.top - newWindow.top != oldClient.top - oldWindow.top);
                if (redrawAll) {
                    InvalidateLocked(*w, nullptr, all);
                } else if (sizeChanged || (wp.flags & SWP_FRAMECHANGED) || clientSized) {
                    // Old pixels stay; only what the client area gained needs painting.
                    Region gained(RECT{0, 0, Width(newClient), Height(newClient)});
                    gained.Subtract(RECT{0, 0, Width(oldClient), Height(oldClient)});
                    if (!gained.Empty()) {
                        InvalidateLocked(*w, &gained, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
                    }
                    InvalidateFrameLocked(*w);
                }
            }
        }
    }

    if (sizeChanged || zChanged || wasVisible != nowVisible || !(wp.flags & SWP_NOMOVE) ||
        (wp.flags & SWP_FRAMECHANGED)) {
        RefreshKeptDcs();
    }
    SendMessageW(hwnd, WM_WINDOWPOSCHANGED, 0, reinterpret_cast<LPARAM>(&wp));

    if (topLevel && !(wp.flags & SWP_NOMOVE && wp.flags & SWP_NOSIZE)) {
        Backend().WindowMoved(hwnd, newWindow);
    }
    if (topLevel && wasVisible != nowVisible) {
        int state = SW_HIDE;
        {
            Lock lock = LockState();
            if (Window* w = FindQuietLocked(hwnd)) {
                state = ShowStateLocked(*w);
            }
        }
        Backend().WindowShown(hwnd, state);
        RendezvousUpdate();
    }
    if (wasVisible && !nowVisible) {
        bool active = false;
        {
            Lock lock = LockState();
            active = CurrentQueueLocked().active == hwnd;
        }
        if (active) {
            ActivateOtherWindow(hwnd);
        }
    }
    if (topLevel && nowVisible && !(wp.flags & SWP_NOACTIVATE) && !(wp.flags & SWP_HIDEWINDOW)) {
        bool isActive = false;
        bool messageOnly = false;
        {
            Lock lock = LockState();
            isActive = CurrentQueueLocked().active == hwnd;
            Window* w = FindQuietLocked(hwnd);
            messageOnly = w && w->isMessageOnly;
        }
        if (!isActive && !messageOnly) {
            SetActiveInternal(hwnd, false);
        }
    }
    return TRUE;
}

} // namespace display_detail

using namespace display_detail;

BOOL SetWindowPos(HWND hwnd, HWND insertAfter, int x, int y, int cx, int cy, UINT flags) {
    if (IsForeignHandle(hwnd)) {
        SetLastError(ERROR_ACCESS_DENIED);
        return FALSE;
    }
    return static_cast<BOOL>(RunOnWindowThread(hwnd, [=] {
        return static_cast<LRESULT>(SetWindowPosInternal(hwnd, insertAfter, x, y, cx, cy, flags));
    }));
}

BOOL MoveWindow(HWND hwnd, int x, int y, int width, int height, BOOL repaint) {
    return SetWindowPos(hwnd, nullptr, x, y, width, height,
                        SWP_NOZORDER | SWP_NOACTIVATE | (repaint ? 0u : static_cast<UINT>(SWP_NOREDRAW)));
}

BOOL BringWindowToTop(HWND hwnd) {
    return SetWindowPos(hwnd, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
}

namespace {
struct DeferInfo {
    std::vector<WINDOWPOS> entries;
};
std::mutex deferLock;
std::set<DeferInfo*>& LiveDefers() {
    static std::set<DeferInfo*> live;
    return live;
}
} // namespace

HDWP BeginDeferWindowPos(int count) {
    if (count < 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    auto* info = new DeferInfo;
    info->entries.reserve(static_cast<std::size_t>(count));
    std::lock_guard<std::mutex> guard(deferLock);
    LiveDefers().insert(info);
    return reinterpret_cast<HDWP>(info);
}

HDWP DeferWindowPos(HDWP handle, HWND hwnd, HWND insertAfter, int x, int y, int cx, int cy, UINT flags) {
    auto* info = reinterpret_cast<DeferInfo*>(handle);
    {
        std::lock_guard<std::mutex> guard(deferLock);
        if (!LiveDefers().count(info)) {
            SetLastError(ERROR_INVALID_DWP_HANDLE);
            return nullptr;
        }
    }
    if (!IsWindow(hwnd)) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return nullptr;
    }
    for (WINDOWPOS& entry : info->entries) {
        if (entry.hwnd == hwnd) {
            // A later call for the same window merges into the earlier one.
            if (!(flags & SWP_NOMOVE)) {
                entry.x = x;
                entry.y = y;
                entry.flags &= ~static_cast<UINT>(SWP_NOMOVE);
            }
            if (!(flags & SWP_NOSIZE)) {
                entry.cx = cx;
                entry.cy = cy;
                entry.flags &= ~static_cast<UINT>(SWP_NOSIZE);
            }
            if (!(flags & SWP_NOZORDER)) {
                entry.hwndInsertAfter = insertAfter;
                entry.flags &= ~static_cast<UINT>(SWP_NOZORDER);
            }
            entry.flags |= flags & (SWP_SHOWWINDOW | SWP_HIDEWINDOW | SWP_FRAMECHANGED);
            return handle;
        }
    }
    info->entries.push_back(WINDOWPOS{hwnd, insertAfter, x, y, cx, cy, flags});
    return handle;
}

BOOL EndDeferWindowPos(HDWP handle) {
    auto* info = reinterpret_cast<DeferInfo*>(handle);
    {
        std::lock_guard<std::mutex> guard(deferLock);
        if (!LiveDefers().erase(info)) {
            SetLastError(ERROR_INVALID_DWP_HANDLE);
            return FALSE;
        }
    }
    BOOL ok = TRUE;
    for (const WINDOWPOS& e : info->entries) {
        if (!SetWindowPos(e.hwnd, e.hwndInsertAfter, e.x, e.y, e.cx, e.cy, e.flags)) {
            ok = FALSE;
        }
    }
    delete info;
    return ok;
}

BOOL GetWindowRect(HWND hwnd, LPRECT rect) {
    if (!rect) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    Lock lock = LockState();
    Window* w = FindLocked(hwnd);
    if (!w) {
        return FALSE;
    }
    *rect = WindowRectScreenLocked(*w);
    return TRUE;
}

BOOL GetClientRect(HWND hwnd, LPRECT rect) {
    if (!rect) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    Lock lock = LockState();
    Window* w = FindLocked(hwnd);
    if (!w) {
        return FALSE;
    }
    *rect = RECT{0, 0, Width(w->rcClient), Height(w->rcClient)};
    return TRUE;
}

BOOL ClientToScreen(HWND hwnd, LPPOINT point) {
    if (!point) {
        return FALSE;
    }
    Lock lock = LockState();
    Window* w = FindLocked(hwnd);
    if (!w) {
        return FALSE;
    }
    POINT o = ClientOriginScreenLocked(*w);
    point->x += o.x;
    point->y += o.y;
    return TRUE;
}

BOOL ScreenToClient(HWND hwnd, LPPOINT point) {
    if (!point) {
        return FALSE;
    }
    Lock lock = LockState();
    Window* w = FindLocked(hwnd);
    if (!w) {
        return FALSE;
    }
    POINT o = ClientOriginScreenLocked(*w);
    point->x -= o.x;
    point->y -= o.y;
    return TRUE;
}

int MapWindowPoints(HWND from, HWND to, LPPOINT points, UINT count) {
    Lock lock = LockState();
    POINT a{0, 0};
    POINT b{0, 0};
    if (from && from != G().desktop) {
        Window* w = FindLocked(from);
        if (!w) {
            return 0;
        }
        a = ClientOriginScreenLocked(*w);
    }
    if (to && to != G().desktop) {
        Window* w = FindLocked(to);
        if (!w) {
            return 0;
        }
        b = ClientOriginScreenLocked(*w);
    }
    int dx = a.x - b.x;
    int dy = a.y - b.y;
    for (UINT i = 0; points && i < count; ++i) {
        points[i].x += dx;
        points[i].y += dy;
    }
    SetLastError(ERROR_SUCCESS);
    return MAKELONG(static_cast<WORD>(dx), static_cast<WORD>(dy));
}

BOOL AdjustWindowRectEx(LPRECT rect, DWORD style, BOOL menu, DWORD exStyle) {
    if (!rect) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    if ((style & (WS_DLGFRAME | WS_THICKFRAME)) || (exStyle & WS_EX_DLGMODALFRAME)) {
        exStyle |= WS_EX_WINDOWEDGE;
    }
    style &= ~static_cast<DWORD>(WS_HSCROLL | WS_VSCROLL | WS_MINIMIZE | WS_MAXIMIZE);
    RECT probe{0, 0, 10000, 10000};
    RECT client = CalcClientFromWindow(style, exStyle, menu ? GetSystemMetrics(SM_CYMENU) : 0, probe, false);
    rect->left -= client.left - probe.left;
    rect->top -= client.top - probe.top;
    rect->right += probe.right - client.right;
    rect->bottom += probe.bottom - client.bottom;
    return TRUE;
}

BOOL AdjustWindowRect(LPRECT rect, DWORD style, BOOL menu) {
    return AdjustWindowRectEx(rect, style, menu, 0);
}

BOOL IsWindowVisible(HWND hwnd) {
    Lock lock = LockState();
    return IsVisibleLocked(hwnd);
}

BOOL IsIconic(HWND hwnd) {
    if (IsForeignHandle(hwnd)) {
        std::int64_t answer = 0;
        return ForeignRequest(hwnd, "iconic", answer) && answer != 0;
    }
    Lock lock = LockState();
    Window* w = FindLocked(hwnd);
    return w && w->minimized;
}

BOOL IsZoomed(HWND hwnd) {
    Lock lock = LockState();
    Window* w = FindLocked(hwnd);
    return w && w->maximized;
}

BOOL IsWindowEnabled(HWND hwnd) {
    Lock lock = LockState();
    Window* w = FindLocked(hwnd);
    return w && !(w->style & WS_DISABLED);
}

namespace {

BOOL ShowWindowInternal(HWND hwnd, int cmd) {
    bool wasVisible = false;
    bool topLevel = false;
    bool minimized = false;
    bool maximized = false;
    bool restoreMax = false;
    bool child = false;
    {
        Lock lock = LockState();
        Window* w = FindLocked(hwnd);
        if (!w) {
            return FALSE;
        }
        wasVisible = (w->style & WS_VISIBLE) != 0;
        topLevel = IsTopLevelLocked(*w);
        minimized = w->minimized;
        maximized = w->maximized;
        restoreMax = w->restoreMaximized;
        child = (w->style & WS_CHILD) != 0;
    }
    UINT swp = 0;
    enum class State { Keep, Minimize, Maximize, Restore } change = State::Keep;
    bool show = true;
    bool activate = topLevel;
    switch (cmd) {
    case SW_HIDE:
        if (!wasVisible) {
            return FALSE;
        }
        show = false;
        activate = false;
        swp = SWP_HIDEWINDOW | SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE | SWP_NOZORDER;
        break;
    case SW_SHOWMINNOACTIVE:
    case SW_MINIMIZE:
    case SW_FORCEMINIMIZE:
        change = minimized ? State::Keep : State::Minimize;
        activate = false;
        swp = SWP_SHOWWINDOW | SWP_NOACTIVATE;
        break;
    case SW_SHOWMINIMIZED:
        change = minimized ? State::Keep : State::Minimize;
        swp = SWP_SHOWWINDOW;
        break;
    case SW_SHOWMAXIMIZED:
        change = maximized ? State::Keep : State::Maximize;
        swp = SWP_SHOWWINDOW;
        break;
    case SW_SHOWNA:
        activate = false;
        swp = SWP_SHOWWINDOW | SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE | SWP_NOZORDER;
        break;
    case SW_SHOW:
        swp = SWP_SHOWWINDOW | SWP_NOSIZE | SWP_NOMOVE;
        break;
    case SW_SHOWNOACTIVATE:
        activate = false;
        [[fallthrough]];
    case SW_SHOWNORMAL:
    case SW_SHOWDEFAULT:
    case SW_RESTORE:
        if (minimized || maximized) {
            change = State::Restore;
        }
        swp = SWP_SHOWWINDOW | (activate ? 0u : static_cast<UINT>(SWP_NOACTIVATE));
        if (change == State::Keep) {
            swp |= SWP_NOSIZE | SWP_NOMOVE;
        }
        break;
    default:
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    if (!activate) {
        swp |= SWP_NOACTIVATE | SWP_NOZORDER;
    }

    RECT target{};
    if (change != State::Keep) {
        int hookCmd =
            change == State::Minimize ? SW_MINIMIZE : (change == State::Maximize ? SW_MAXIMIZE : SW_RESTORE);
        if (HasHooks(WH_CBT) && CallHooks(WH_CBT, HCBT_MINMAX, reinterpret_cast<WPARAM>(hwnd), hookCmd)) {
            return wasVisible;
        }
        if (minimized && change != State::Minimize && !SendMessageW(hwnd, WM_QUERYOPEN, 0, 0)) {
            return wasVisible;
        }
        MINMAXINFO mmi{};
        bool wantMax = change == State::Maximize || (change == State::Restore && minimized && restoreMax);
        if (wantMax) {
            mmi = MinMaxInfo(hwnd);
        }
        Lock lock = LockState();
        Window* w = FindLocked(hwnd);
        if (!w) {
            return FALSE;
        }
        if (!w->minimized && !w->maximized) {
            w->normalRect = w->rcWindow;
        }
        if (change == State::Minimize) {
            w->restoreMaximized = w->maximized;
            w->minimized = true;
            w->maximized = false;
            w->style = (w->style | WS_MINIMIZE) & ~static_cast<DWORD>(WS_MAXIMIZE);
            POINT pos = w->minPos;
            if (pos.x == -1 && pos.y == -1) {
                pos = child ? POINT{0, 0} : POINT{-32000, -32000};
            }
            target = RECT{pos.x, pos.y, pos.x + GetSystemMetrics(SM_CXMINIMIZED),
                          pos.y + GetSystemMetrics(SM_CYMINIMIZED)};
        } else if (wantMax) {
            w->minimized = false;
            w->maximized = true;
            w->style = (w->style | WS_MAXIMIZE) & ~static_cast<DWORD>(WS_MINIMIZE);
            POINT pos = mmi.ptMaxPosition;
            target = RECT{pos.x, pos.y, pos.x + mmi.ptMaxSize.x, pos.y + mmi.ptMaxSize.y};
            w->maxPos = pos;
        } else {
            w->minimized = false;
            w->maximized = false;
            w->restoreMaximized = false;
            w->style &= ~static_cast<DWORD>(WS_MINIMIZE | WS_MAXIMIZE);
            target = w->normalRect;
        }
        swp &= ~static_cast<UINT>(SWP_NOSIZE | SWP_NOMOVE);
        swp |= SWP_FRAMECHANGED | SWP_STATECHANGED;
    }

    if (show != wasVisible) {
        SendMessageW(hwnd, WM_SHOWWINDOW, show ? TRUE : FALSE, 0);
    }
    if (!IsWindow(hwnd)) {
        return wasVisible;
    }
    if (!show) {
        // The focus leaves a window that goes out of sight.
        bool focusInside = false;
        HWND parent = nullptr;
        {
            Lock lock = LockState();
            ThreadQueue& q = CurrentQueueLocked();
            focusInside = q.focus && (q.focus == hwnd || IsDescendantLocked(hwnd, q.focus));
            Window* w = FindQuietLocked(hwnd);
            parent = w && child && w->parent != G().desktop ? w->parent : nullptr;
        }
        if (focusInside) {
            SetFocus(parent);
        }
    }
    SetWindowPosInternal(hwnd, HWND_TOP, target.left, target.top, target.right - target.left,
                         target.bottom - target.top, swp);
    if (!IsWindow(hwnd)) {
        return wasVisible;
    }
    if (change == State::Minimize) {
        bool active = false;
        bool focusInside = false;
        {
            Lock lock = LockState();
            ThreadQueue& q = CurrentQueueLocked();
            active = q.active == hwnd;
            focusInside = q.focus && (q.focus == hwnd || IsDescendantLocked(hwnd, q.focus));
        }
        if (focusInside) {
            SetFocus(nullptr);
        }
        if (active && cmd != SW_SHOWMINIMIZED) {
            ActivateOtherWindow(hwnd);
        }
    } else if (show && topLevel) {
        bool needFocus = false;
        {
            Lock lock = LockState();
            ThreadQueue& q = CurrentQueueLocked();
            Window* w = FindQuietLocked(hwnd);
            needFocus = w && !w->minimized && q.active == hwnd && !q.focus;
        }
        if (needFocus) {
            SetFocus(hwnd);
        }
    }
    if (topLevel && change != State::Keep && wasVisible && show) {
        int state = SW_SHOWNORMAL;
        {
            Lock lock = LockState();
            if (Window* w = FindQuietLocked(hwnd)) {
                state = ShowStateLocked(*w);
            }
        }
        Backend().WindowShown(hwnd, state);
        RendezvousUpdate();
    }
    return wasVisible;
}

} // namespace

BOOL ShowWindow(HWND hwnd, int cmd) {
    if (IsForeignHandle(hwnd)) {
        std::int64_t answer = 0;
        return ForeignRequest(hwnd, "show " + std::to_string(cmd), answer) && answer != 0;
    }
    return static_cast<BOOL>(
        RunOnWindowThread(hwnd, [=] { return static_cast<LRESULT>(ShowWindowInternal(hwnd, cmd)); }));
}

BOOL ShowOwnedPopups(HWND owner, BOOL show) {
    std::vector<HWND> owned;
    {
        Lock lock = LockState();
        if (!FindLocked(owner)) {
            return FALSE;
        }
        for (HWND top : FindQuietLocked(G().desktop)->children) {
            Window* t = FindQuietLocked(top);
            if (t && t->owner == owner && (t->style & WS_POPUP)) {
                owned.push_back(top);
            }
        }
    }
    for (HWND popup : owned) {
        if (show) {
            if (!IsWindowVisible(popup)) {
                SendMessageW(popup, WM_SHOWWINDOW, TRUE, SW_PARENTOPENING);
                SetWindowPos(popup, nullptr, 0, 0, 0, 0,
                             SWP_SHOWWINDOW | SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
            }
        } else if (IsWindowVisible(popup)) {
            SendMessageW(popup, WM_SHOWWINDOW, FALSE, SW_PARENTCLOSING);
            SetWindowPos(popup, nullptr, 0, 0, 0, 0,
                         SWP_HIDEWINDOW | SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        }
    }
    return TRUE;
}

BOOL OpenIcon(HWND hwnd) {
    if (!IsIconic(hwnd)) {
        return IsWindow(hwnd);
    }
    ShowWindow(hwnd, SW_SHOWNORMAL);
    return TRUE;
}

BOOL CloseWindow(HWND hwnd) {
    if (!IsWindow(hwnd)) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    ShowWindow(hwnd, SW_MINIMIZE);
    return TRUE;
}

BOOL EnableWindow(HWND hwnd, BOOL enable) {
    bool wasDisabled = false;
    {
        Lock lock = LockState();
        Window* w = FindLocked(hwnd);
        if (!w) {
            return FALSE;
        }
        wasDisabled = (w->style & WS_DISABLED) != 0;
        if (enable && wasDisabled) {
            w->style &= ~static_cast<DWORD>(WS_DISABLED);
        }
    }
    if (enable && wasDisabled) {
        SendMessageW(hwnd, WM_ENABLE, TRUE, 0);
    } else if (!enable && !wasDisabled) {
        SendMessageW(hwnd, WM_CANCELMODE, 0, 0);
        bool dropFocus = false;
        bool dropCapture = false;
        {
            Lock lock = LockState();
            Window* w = FindLocked(hwnd);
            if (!w) {
                return FALSE;
            }
            w->style |= WS_DISABLED;
            dropFocus = CurrentQueueLocked().focus == hwnd;
            HWND cap = G().capture;
            dropCapture = cap && (cap == hwnd || IsDescendantLocked(hwnd, cap));
        }
        if (dropFocus) {
            SetFocus(nullptr);
        }
        if (dropCapture) {
            ReleaseCapture();
        }
        SendMessageW(hwnd, WM_ENABLE, FALSE, 0);
    }
    return wasDisabled;
}

BOOL FlashWindow(HWND hwnd, BOOL invert) {
    bool previous = false;
    bool next = false;
    {
        Lock lock = LockState();
        Window* w = FindLocked(hwnd);
        if (!w) {
            return FALSE;
        }
        previous = w->ncActive;
        next = invert ? !w->ncActive : (CurrentQueueLocked().active == hwnd);
        w->flashed = invert != FALSE;
    }
    SendMessageW(hwnd, WM_NCACTIVATE, next ? TRUE : FALSE, 0);
    Backend().WindowFlashed(hwnd, invert != FALSE);
    return previous;
}

BOOL GetWindowPlacement(HWND hwnd, WINDOWPLACEMENT* placement) {
    if (!placement) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    Lock lock = LockState();
    Window* w = FindLocked(hwnd);
    if (!w) {
        return FALSE;
    }
    placement->length = sizeof(WINDOWPLACEMENT);
    placement->flags = w->minimized && w->restoreMaximized ? WPF_RESTORETOMAXIMIZED : 0;
    placement->showCmd = w->minimized ? SW_SHOWMINIMIZED : (w->maximized ? SW_SHOWMAXIMIZED : SW_SHOWNORMAL);
    placement->ptMinPosition = w->minPos;
    placement->ptMaxPosition = w->maxPos;
    placement->rcNormalPosition = (w->minimized || w->maximized) ? w->normalRect : w->rcWindow;
    return TRUE;
}

BOOL SetWindowPlacement(HWND hwnd, const WINDOWPLACEMENT* placement) {
    if (!placement || placement->length != sizeof(WINDOWPLACEMENT)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    bool normal = false;
    {
        Lock lock = LockState();
        Window* w = FindLocked(hwnd);
        if (!w) {
            return FALSE;
        }
        w->normalRect = placement->rcNormalPosition;
        if (placement->flags & WPF_SETMINPOSITION) {
            w->minPos = placement->ptMinPosition;
        }
        w->maxPos = placement->ptMaxPosition;
        normal = !w->minimized && !w->maximized;
    }
    if (normal) {
        const RECT& rc = placement->rcNormalPosition;
        SetWindowPos(hwnd, nullptr, rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top,
                     SWP_NOZORDER | SWP_NOACTIVATE);
    }
    ShowWindow(hwnd, static_cast<int>(placement->showCmd));
    if (placement->flags & WPF_RESTORETOMAXIMIZED) {
        Lock lock = LockState();
        if (Window* w = FindQuietLocked(hwnd); w && w->minimized) {
            w->restoreMaximized = true;
        }
    }
    return TRUE;
}
