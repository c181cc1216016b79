// Creating and destroying windows, in the original's message order.
#include "platform/display/DisplayInternal.h"

#include "platform/kernel/Threads.h"

#include <algorithm>
#include <mutex>
#include <vector>

namespace display_detail {

void NotifyParent(HWND hwnd, UINT event) {
    HWND parent = nullptr;
    LONG_PTR id = 0;
    {
        Lock lock = LockState();
        Window* w = FindQuietLocked(hwnd);
        if (!w || (w->style & (WS_CHILD | WS_POPUP)) != WS_CHILD || (w->exStyle & WS_EX_NOPARENTNOTIFY) ||
            w->parent == G().desktop) {
            return;
        }
        parent = w->parent;
        id = w->id;
    }
    SendMessageW(parent, WM_PARENTNOTIFY, MAKEWPARAM(event, static_cast<WORD>(id)),
                 reinterpret_cast<LPARAM>(hwnd));
}

namespace {

// Removes a window from the tree and the handle table once WM_NCDESTROY has been answered.
void FreeWindow(HWND hwnd) {
    bool topLevel = false;
    {
        Lock lock = LockState();
        Globals& g = G();
        Window* w = FindQuietLocked(hwnd);
        if (!w) {
            return;
        }
        topLevel = IsTopLevelLocked(*w) && !w->isMessageOnly;
        if (Window* parent = FindQuietLocked(w->parent)) {
            auto& siblings = parent->children;
            siblings.erase(std::remove(siblings.begin(), siblings.end(), hwnd), siblings.end());
        }
        for (auto& [other, ow] : g.windows) {
            if (ow->owner == hwnd) {
                ow->owner = nullptr;
            }
            if (ow->lastActivePopup == hwnd) {
                ow->lastActivePopup = nullptr;
            }
        }
        KillWindowTimersLocked(hwnd);
        if (auto q = QueueOfLocked(w->tid)) {
            auto& posted = q->posted;
            posted.erase(std::remove_if(posted.begin(), posted.end(),
                                        [hwnd](const auto& entry) { return entry.first.hwnd == hwnd; }),
                         posted.end());
        }
        DestroyCaretOfWindowLocked(hwnd);
        OnWindowGone(hwnd);
        if (w->cls) {
            --w->cls->windows;
        }
        g.windows.erase(hwnd);
    }
    if (topLevel) {
        Backend().WindowDestroyed(hwnd);
    }
}

std::mutex& DestroyHooksMutex() {
    static std::mutex mutex;
    return mutex;
}

std::vector<WindowDestroyHook>& DestroyHooks() {
    static std::vector<WindowDestroyHook> hooks;
    return hooks;
}

void RunDestroyHooks(HWND hwnd) {
    std::vector<WindowDestroyHook> hooks;
    {
        std::lock_guard lock(DestroyHooksMutex());
        hooks = DestroyHooks();
    }
    for (WindowDestroyHook hook : hooks) {
        hook(hwnd);
    }
}

void SendDestroyMessages(HWND hwnd) {
    RunDestroyHooks(hwnd);
    SendMessageW(hwnd, WM_DESTROY, 0, 0);
    std::vector<HWND> children;
    {
        Lock lock = LockState();
        if (Window* w = FindQuietLocked(hwnd)) {
            children = w->children;
        }
    }
    for (HWND child : children) {
        if (IsWindow(child)) {
            SendDestroyMessages(child);
        }
    }
}

void FinalDestroy(HWND hwnd) {
    std::vector<HWND> children;
    {
        Lock lock = LockState();
        Window* w = FindQuietLocked(hwnd);
        if (!w) {
            return;
        }
        w->destroying = true;
        children = w->children;
    }
    for (HWND child : children) {
        FinalDestroy(child);
    }
    SendMessageW(hwnd, WM_NCDESTROY, 0, 0);
    // A top-level window takes its menu bar and system menu with it.
    if (!(GetWindowLongW(hwnd, GWL_STYLE) & WS_CHILD)) {
        if (HMENU menu = GetMenu(hwnd)) {
            DestroyMenu(menu);
        }
        GetSystemMenu(hwnd, TRUE);
    }
    FreeWindow(hwnd);
}

int cascadeIndex = 0;

} // namespace
} // namespace display_detail

using namespace display_detail;

HWND CreateWindowExW(DWORD exStyle, LPCWSTR className, LPCWSTR windowName, DWORD style, int x, int y,
                     int width, int height, HWND parent, HMENU menu, HINSTANCE instance, LPVOID param) {
    SIZE screen = Backend().ScreenSize();
    HWND hwnd = nullptr;
    CREATESTRUCTW cs{};
    bool messageOnly = false;
    bool child = (style & WS_CHILD) != 0;
    {
        Lock lock = LockState();
        Globals& g = G();
        auto cls = FindClassWithLazy(lock, className);
        if (!cls) {
            SetLastError(ERROR_CANNOT_FIND_WND_CLASS);
            return nullptr;
        }
        HWND owner = nullptr;
        if (parent == HWND_MESSAGE) {
            messageOnly = true;
            parent = g.desktop;
            child = false;
        } else if (child) {
            if (!parent) {
                SetLastError(ERROR_TLW_WITH_WSCHILD);
                return nullptr;
            }
            if (!FindLocked(parent)) {
                return nullptr;
            }
        } else {
            if (parent && !FindLocked(parent)) {
                return nullptr;
            }
            owner = parent && parent != g.desktop ? TopLevelOfLocked(parent) : nullptr;
        }
        if (!child) {
            // Overlapped windows always have a caption; top-level windows always clip their siblings.
            if (!(style & WS_POPUP)) {
                style |= WS_CAPTION;
            }
            style |= WS_CLIPSIBLINGS;
            if (!messageOnly && (x == CW_USEDEFAULT || width == CW_USEDEFAULT) && !(style & WS_POPUP)) {
                if (x == CW_USEDEFAULT) {
                    int step = (cascadeIndex++ % 10) * 26;
                    x = step;
                    y = step;
                }
                if (width == CW_USEDEFAULT) {
                    width = screen.cx * 3 / 4;
                    height = screen.cy * 3 / 4;
                }
            }
        }
        if (x == CW_USEDEFAULT) {
            x = 0;
            y = 0;
        }
        if (width == CW_USEDEFAULT) {
            width = 0;
            height = 0;
        }
        if ((style & (WS_DLGFRAME | WS_THICKFRAME)) || (exStyle & WS_EX_DLGMODALFRAME)) {
            exStyle |= WS_EX_WINDOWEDGE;
        } else {
            exStyle &= ~static_cast<DWORD>(WS_EX_WINDOWEDGE);
        }

        auto w = std::make_shared<Window>();
        hwnd = reinterpret_cast<HWND>(g.nextHandle);
        g.nextHandle += 2;
        w->hwnd = hwnd;
        w->tid = GetCurrentThreadId();
        w->cls = cls;
        w->proc = cls->proc;
        w->style = style & ~static_cast<DWORD>(WS_VISIBLE | WS_MAXIMIZE | WS_MINIMIZE);
        w->exStyle = exStyle;
        w->parent = child ? parent : g.desktop;
        w->owner = owner;
        w->instance = instance;
        w->id = reinterpret_cast<LONG_PTR>(menu);
        w->extra.assign(static_cast<std::size_t>(cls->wndExtra), 0);
        w->rcWindow = RECT{x, y, x + std::max(width, 0), y + std::max(height, 0)};
        w->rcClient = w->rcWindow;
        w->normalRect = w->rcWindow;
        w->isMessageOnly = messageOnly;
        if (!child && !messageOnly) {
            w->surface = std::make_shared<Surface>(std::max(width, 0), std::max(height, 0));
        }
        ++cls->windows;
        g.windows.emplace(hwnd, w);
        Window* p = FindQuietLocked(w->parent);
        if (child) {
            p->children.push_back(hwnd); // new children go to the bottom: creation order is tab order
        } else {
            auto it = p->children.begin();
            if (!(exStyle & WS_EX_TOPMOST)) {
                while (it != p->children.end()) {
                    Window* sibling = FindQuietLocked(*it);
                    if (!sibling || !(sibling->exStyle & WS_EX_TOPMOST)) {
                        break;
                    }
                    ++it;
                }
            }
            p->children.insert(it, hwnd);
        }
        CurrentQueueLocked();

        cs.lpCreateParams = param;
        cs.hInstance = instance;
        cs.hMenu = menu;
        cs.hwndParent = child ? parent : owner;
        cs.cy = height;
        cs.cx = width;
        cs.y = y;
        cs.x = x;
        cs.style = static_cast<LONG>(style);
        cs.lpszName = windowName;
        cs.lpszClass = className;
        cs.dwExStyle = exStyle;
    }

    auto abandon = [hwnd] {
        Lock lock = LockState();
        Globals& g = G();
        Window* w = FindQuietLocked(hwnd);
        if (!w) {
            return;
        }
        if (Window* p = FindQuietLocked(w->parent)) {
            p->children.erase(std::remove(p->children.begin(), p->children.end(), hwnd), p->children.end());
        }
        --w->cls->windows;
        OnWindowGone(hwnd);
        g.windows.erase(hwnd);
    };

    if (HasHooks(WH_CBT)) {
        CBT_CREATEWNDW cbt{&cs, HWND_TOP};
        if (CallHooks(WH_CBT, HCBT_CREATEWND, reinterpret_cast<WPARAM>(hwnd),
                      reinterpret_cast<LPARAM>(&cbt))) {
            abandon();
            SetLastError(ERROR_INVALID_PARAMETER);
            return nullptr;
        }
        Lock lock = LockState();
        Window* w = FindQuietLocked(hwnd);
        if (!w) {
            return nullptr;
        }
        w->style = static_cast<DWORD>(cs.style) & ~static_cast<DWORD>(WS_VISIBLE | WS_MAXIMIZE | WS_MINIMIZE);
        w->exStyle = cs.dwExStyle;
        w->rcWindow = RECT{cs.x, cs.y, cs.x + std::max(cs.cx, 0), cs.y + std::max(cs.cy, 0)};
        w->rcClient = w->rcWindow;
        w->normalRect = w->rcWindow;
    }

    if ((cs.style & WS_THICKFRAME) || !(cs.style & (WS_POPUP | WS_CHILD))) {
        MINMAXINFO mmi{};
        SIZE scr = Backend().ScreenSize();
        int frame =
            (cs.style & WS_THICKFRAME) ? GetSystemMetrics(SM_CXFRAME) : GetSystemMetrics(SM_CXDLGFRAME);
        mmi.ptMaxSize = POINT{scr.cx + 2 * frame, scr.cy + 2 * frame};
        mmi.ptMaxPosition = POINT{-frame, -frame};
        mmi.ptMinTrackSize = POINT{GetSystemMetrics(SM_CXMINTRACK), GetSystemMetrics(SM_CYMINTRACK)};
        mmi.ptMaxTrackSize = POINT{GetSystemMetrics(SM_CXMAXTRACK), GetSystemMetrics(SM_CYMAXTRACK)};
        SendMessageW(hwnd, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&mmi));
        if (!(cs.style & WS_CHILD)) {
            Lock lock = LockState();
            if (Window* w = FindQuietLocked(hwnd)) {
                int cx = std::clamp<int>(w->rcWindow.right - w->rcWindow.left, 0, mmi.ptMaxTrackSize.x);
                int cy = std::clamp<int>(w->rcWindow.bottom - w->rcWindow.top, 0, mmi.ptMaxTrackSize.y);
                if (cs.style & WS_THICKFRAME) {
                    cx = std::max<int>(cx, mmi.ptMinTrackSize.x);
                    cy = std::max<int>(cy, mmi.ptMinTrackSize.y);
                }
                w->rcWindow.right = w->rcWindow.left + cx;
                w->rcWindow.bottom = w->rcWindow.top + cy;
                w->rcClient = w->rcWindow;
                w->normalRect = w->rcWindow;
                cs.cx = cx;
                cs.cy = cy;
            }
        }
    }

    if (!IsWindow(hwnd)) {
        return nullptr;
    }
    if (!SendMessageW(hwnd, WM_NCCREATE, 0, reinterpret_cast<LPARAM>(&cs))) {
        if (IsWindow(hwnd)) {
            SendMessageW(hwnd, WM_NCDESTROY, 0, 0);
            FreeWindow(hwnd);
        }
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    RECT windowRect{};
    {
        Lock lock = LockState();
        Window* w = FindQuietLocked(hwnd);
        if (!w) {
            return nullptr;
        }
        w->created = true;
        windowRect = w->rcWindow;
    }
    RECT calc = windowRect;
    SendMessageW(hwnd, WM_NCCALCSIZE, FALSE, reinterpret_cast<LPARAM>(&calc));
    {
        Lock lock = LockState();
        Window* w = FindQuietLocked(hwnd);
        if (!w) {
            return nullptr;
        }
        w->rcClient = calc;
        if (w->rcClient.right < w->rcClient.left) {
            w->rcClient.right = w->rcClient.left;
        }
        if (w->rcClient.bottom < w->rcClient.top) {
            w->rcClient.bottom = w->rcClient.top;
        }
        ResizeSurfaceLocked(*w);
    }
    if (SendMessageW(hwnd, WM_CREATE, 0, reinterpret_cast<LPARAM>(&cs)) == -1) {
        if (IsWindow(hwnd)) {
            DestroyWindow(hwnd);
        }
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    if (!IsWindow(hwnd)) {
        return nullptr;
    }
    SendSizeMove(hwnd);
    if (child) {
        NotifyParent(hwnd, WM_CREATE);
    }
    if (!IsWindow(hwnd)) {
        return nullptr;
    }
    if (!child && !messageOnly) {
        Lock lock = LockState();
        Window* w = FindQuietLocked(hwnd);
        RECT rc = w ? w->rcWindow : RECT{};
        DWORD st = w ? w->style : 0;
        DWORD ex = w ? w->exStyle : 0;
        lock.unlock();
        Backend().WindowCreated(hwnd, rc, st, ex);
        RendezvousUpdate();
    }
    if (cs.style & (WS_MAXIMIZE | WS_MINIMIZE)) {
        int cmd = (cs.style & WS_MINIMIZE) ? ((cs.style & WS_VISIBLE) ? SW_SHOWMINIMIZED : SW_MINIMIZE)
                                           : SW_SHOWMAXIMIZED;
        if (!(cs.style & WS_VISIBLE) && (cs.style & WS_MAXIMIZE)) {
            // Maximised but hidden: take the state and the rectangle without showing.
            ShowWindow(hwnd, SW_SHOWMAXIMIZED);
            ShowWindow(hwnd, SW_HIDE);
        } else {
            ShowWindow(hwnd, cmd);
        }
    } else if (cs.style & WS_VISIBLE) {
        ShowWindow(hwnd, SW_SHOW);
    }
    return IsWindow(hwnd) ? hwnd : nullptr;
}

void DisplayAddWindowDestroyHook(WindowDestroyHook hook) {
    std::lock_guard lock(DestroyHooksMutex());
    if (std::find(DestroyHooks().begin(), DestroyHooks().end(), hook) == DestroyHooks().end()) {
        DestroyHooks().push_back(hook);
    }
}

BOOL DestroyWindow(HWND hwnd) {
    bool child = false;
    bool topLevel = false;
    {
        Lock lock = LockState();
        Window* w = FindLocked(hwnd);
        if (!w) {
            return FALSE;
        }
        if (hwnd == G().desktop || w->tid != GetCurrentThreadId()) {
            SetLastError(ERROR_ACCESS_DENIED);
            return FALSE;
        }
        if (w->destroying) {
            return TRUE;
        }
        child = (w->style & WS_CHILD) != 0 && w->parent != G().desktop;
        topLevel = IsTopLevelLocked(*w);
    }
    if (HasHooks(WH_CBT) && CallHooks(WH_CBT, HCBT_DESTROYWND, reinterpret_cast<WPARAM>(hwnd), 0)) {
        return FALSE;
    }
    {
        Lock lock = LockState();
        Window* w = FindQuietLocked(hwnd);
        if (!w || w->destroying) {
            return w != nullptr;
        }
        w->destroying = true;
    }
    if (child) {
        NotifyParent(hwnd, WM_DESTROY);
    }
    if (topLevel) {
        // Owned windows go first.
        for (;;) {
            HWND owned = nullptr;
            {
                Lock lock = LockState();
                for (auto& [other, ow] : G().windows) {
                    if (ow->owner == hwnd && !ow->destroying && ow->tid == GetCurrentThreadId()) {
                        owned = other;
                        break;
                    }
                }
            }
            if (!owned) {
                break;
            }
            if (!DestroyWindow(owned)) {
                Lock lock = LockState();
                if (Window* ow = FindQuietLocked(owned)) {
                    ow->owner = nullptr;
                }
            }
        }
    }
    if (IsWindowVisible(hwnd) || (IsWindow(hwnd) && (GetWindowLongW(hwnd, GWL_STYLE) & WS_VISIBLE))) {
        SetWindowPos(hwnd, nullptr, 0, 0, 0, 0,
                     SWP_HIDEWINDOW | SWP_NOACTIVATE | SWP_NOZORDER | SWP_NOMOVE | SWP_NOSIZE);
    }
    HWND focusParent = nullptr;
    bool moveFocus = false;
    bool wasActive = false;
    bool dropCapture = false;
    {
        Lock lock = LockState();
        Window* w = FindQuietLocked(hwnd);
        if (!w) {
            return TRUE;
        }
        ThreadQueue& q = CurrentQueueLocked();
        if (q.focus && (q.focus == hwnd || IsDescendantLocked(hwnd, q.focus))) {
            moveFocus = true;
            focusParent = child ? w->parent : nullptr;
        }
        wasActive = q.active == hwnd;
        HWND cap = G().capture;
        dropCapture = cap && (cap == hwnd || IsDescendantLocked(hwnd, cap));
    }
    if (dropCapture) {
        ReleaseCapture();
    }
    if (wasActive) {
        ActivateOtherWindow(hwnd);
    }
    if (moveFocus) {
        Lock lock = LockState();
        ThreadQueue& q = CurrentQueueLocked();
        bool stillInside = q.focus && (q.focus == hwnd || IsDescendantLocked(hwnd, q.focus));
        lock.unlock();
        if (stillInside) {
            SetFocus(focusParent);
        }
    }
    if (!IsWindow(hwnd)) {
        return TRUE;
    }
    SendDestroyMessages(hwnd);
    FinalDestroy(hwnd);
    if (topLevel) {
        RendezvousUpdate();
    }
    return TRUE;
}

BOOL IsWindow(HWND hwnd) {
    if (IsForeignHandle(hwnd)) {
        return ForeignIsWindow(hwnd);
    }
    Lock lock = LockState();
    return FindQuietLocked(hwnd) != nullptr;
}

BOOL IsWindowUnicode(HWND hwnd) {
    return IsWindow(hwnd);
}
