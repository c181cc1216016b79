// Focus, activation, the foreground window and the mouse capture.
#include "platform/display/DisplayInternal.h"

#include "platform/kernel/Threads.h"

#include <algorithm>
#include <cstdlib>

namespace display_detail {
namespace {

HWND SetFocusWindow(HWND hwnd) {
    HWND old = nullptr;
    {
        Lock lock = LockState();
        ThreadQueue& q = CurrentQueueLocked();
        old = q.focus;
        if (old == hwnd) {
            return old;
        }
        q.focus = hwnd;
    }
    if (old && IsWindow(old)) {
        SendMessageW(old, WM_KILLFOCUS, reinterpret_cast<WPARAM>(hwnd), 0);
    }
    {
        Lock lock = LockState();
        if (CurrentQueueLocked().focus != hwnd) {
            return old; // a WM_KILLFOCUS handler moved the focus elsewhere
        }
    }
    if (hwnd && IsWindow(hwnd)) {
        SendMessageW(hwnd, WM_SETFOCUS, reinterpret_cast<WPARAM>(old), 0);
    }
    return old;
}

void SendActivateApp(bool active) {
    std::vector<HWND> tops;
    {
        Lock lock = LockState();
        DWORD tid = GetCurrentThreadId();
        for (HWND top : FindQuietLocked(G().desktop)->children) {
            Window* t = FindQuietLocked(top);
            if (t && t->tid == tid && !t->isMessageOnly) {
                tops.push_back(top);
            }
        }
    }
    for (HWND top : tops) {
        if (IsWindow(top)) {
            SendMessageW(top, WM_ACTIVATEAPP, active ? TRUE : FALSE, 0);
        }
    }
}

} // namespace

bool SetActiveInternal(HWND hwnd, bool mouse) {
    HWND old = nullptr;
    {
        Lock lock = LockState();
        old = CurrentQueueLocked().active;
        if (old == hwnd) {
            return true;
        }
    }
    if (HasHooks(WH_CBT) && hwnd) {
        CBTACTIVATESTRUCT cbt{mouse ? TRUE : FALSE, old};
        if (CallHooks(WH_CBT, HCBT_ACTIVATE, reinterpret_cast<WPARAM>(hwnd),
                      reinterpret_cast<LPARAM>(&cbt))) {
            return false;
        }
    }
    if (old && IsWindow(old)) {
        if (!SendMessageW(old, WM_NCACTIVATE, FALSE, reinterpret_cast<LPARAM>(hwnd)) && hwnd) {
            return false;
        }
        SendMessageW(old, WM_ACTIVATE, MAKEWPARAM(WA_INACTIVE, IsIconic(old) ? 1 : 0),
                     reinterpret_cast<LPARAM>(hwnd));
    }
    {
        Lock lock = LockState();
        ThreadQueue& q = CurrentQueueLocked();
        if (q.active != old) {
            return q.active == hwnd; // a handler activated something else meanwhile
        }
        if (hwnd && !FindQuietLocked(hwnd)) {
            hwnd = nullptr;
        }
        q.active = hwnd;
        if (hwnd) {
            G().foreground = hwnd;
            // Every owner up the chain remembers its most recently active popup.
            for (Window* w = FindQuietLocked(FindQuietLocked(hwnd)->owner); w;
                 w = FindQuietLocked(w->owner)) {
                w->lastActivePopup = hwnd;
            }
        } else if (G().foreground == old) {
            G().foreground = nullptr;
        }
    }
    if (hwnd) {
        SetWindowPosInternal(hwnd, HWND_TOP, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE);
    }
    if (!old && hwnd) {
        SendActivateApp(true);
    } else if (old && !hwnd) {
        SendActivateApp(false);
    }
    if (hwnd && IsWindow(hwnd)) {
        SendMessageW(hwnd, WM_NCACTIVATE, TRUE, reinterpret_cast<LPARAM>(old));
        SendMessageW(hwnd, WM_ACTIVATE,
                     MAKEWPARAM(mouse ? WA_CLICKACTIVE : WA_ACTIVE, IsIconic(hwnd) ? 1 : 0),
                     reinterpret_cast<LPARAM>(old));
        Backend().WindowActivated(hwnd);
        HWND focus = nullptr;
        bool stillActive = false;
        {
            Lock lock = LockState();
            ThreadQueue& q = CurrentQueueLocked();
            focus = q.focus;
            stillActive = q.active == hwnd;
        }
        if (stillActive && (!focus || (focus != hwnd && !IsChild(hwnd, focus)))) {
            SetFocusWindow(IsIconic(hwnd) ? nullptr : hwnd);
        }
    } else if (!hwnd) {
        SetFocusWindow(nullptr);
    }
    return true;
}

void ActivateOtherWindow(HWND hwnd) {
    HWND next = nullptr;
    {
        Lock lock = LockState();
        DWORD tid = GetCurrentThreadId();
        auto usable = [&](Window* t) {
            return t && t->hwnd != hwnd && t->tid == tid && (t->style & WS_VISIBLE) &&
                   !(t->style & WS_DISABLED) && !t->minimized && !t->isMessageOnly && !t->destroying;
        };
        Window* w = FindQuietLocked(hwnd);
        if (w && w->owner && usable(FindQuietLocked(w->owner))) {
            next = w->owner;
        } else {
            for (HWND top : FindQuietLocked(G().desktop)->children) {
                if (usable(FindQuietLocked(top))) {
                    next = top;
                    break;
                }
            }
        }
    }
    SetActiveInternal(next, false);
}

void OnWindowGone(HWND hwnd) {
    Globals& g = G();
    for (auto& [tid, q] : g.threads) {
        if (q->focus == hwnd) {
            q->focus = nullptr;
        }
        if (q->active == hwnd) {
            q->active = nullptr;
        }
        if (q->lastClick.hwnd == hwnd) {
            q->lastClick = Click{};
        }
        if (q->mouseOver == hwnd) {
            q->mouseOver = nullptr;
        }
    }
    if (g.capture == hwnd) {
        g.capture = nullptr;
    }
    if (g.foreground == hwnd) {
        g.foreground = nullptr;
    }
    if (g.lockedWindow == hwnd) {
        g.lockedWindow = nullptr;
    }
}

void ReleaseCaptureInternal(HWND newCapture) {
    HWND old = nullptr;
    {
        Lock lock = LockState();
        old = G().capture;
        if (old == newCapture) {
            return;
        }
        G().capture = newCapture;
    }
    if (old && IsWindow(old)) {
        SendMessageW(old, WM_CAPTURECHANGED, 0, reinterpret_cast<LPARAM>(newCapture));
    }
    Backend().CaptureChanged(newCapture);
}

} // namespace display_detail

using namespace display_detail;

HWND SetFocus(HWND hwnd) {
    if (hwnd) {
        {
            Lock lock = LockState();
            Window* w = FindLocked(hwnd);
            if (!w) {
                return nullptr;
            }
            if (w->tid != GetCurrentThreadId()) {
                SetLastError(ERROR_ACCESS_DENIED);
                return nullptr;
            }
            // Neither the window nor its ancestors may be minimised or disabled.
            for (Window* cur = w; cur && cur->hwnd != G().desktop; cur = FindQuietLocked(cur->parent)) {
                if (cur->style & (WS_MINIMIZE | WS_DISABLED)) {
                    return nullptr;
                }
            }
        }
        HWND previous = GetFocus();
        if (HasHooks(WH_CBT) && CallHooks(WH_CBT, HCBT_SETFOCUS, reinterpret_cast<WPARAM>(hwnd),
                                          reinterpret_cast<LPARAM>(previous))) {
            return nullptr;
        }
        HWND top = GetAncestor(hwnd, GA_ROOT);
        if (top && top != GetActiveWindow()) {
            if (!SetActiveInternal(top, false)) {
                return nullptr;
            }
            if (top != GetActiveWindow()) {
                return nullptr;
            }
            if (!IsWindow(hwnd)) {
                return nullptr;
            }
        }
        HWND old = SetFocusWindow(hwnd);
        return old;
    }
    HWND previous = GetFocus();
    if (HasHooks(WH_CBT) && CallHooks(WH_CBT, HCBT_SETFOCUS, 0, reinterpret_cast<LPARAM>(previous))) {
        return nullptr;
    }
    return SetFocusWindow(nullptr);
}

HWND GetFocus() {
    Lock lock = LockState();
    return CurrentQueueLocked().focus;
}

HWND SetActiveWindow(HWND hwnd) {
    HWND previous = GetActiveWindow();
    if (hwnd) {
        Lock lock = LockState();
        Window* w = FindLocked(hwnd);
        if (!w) {
            return nullptr;
        }
        if (w->tid != GetCurrentThreadId()) {
            SetLastError(ERROR_ACCESS_DENIED);
            return nullptr;
        }
        if ((w->style & (WS_POPUP | WS_CHILD)) == WS_CHILD) {
            return previous;
        }
    }
    if (!SetActiveInternal(hwnd, false)) {
        return nullptr;
    }
    return previous;
}

HWND GetActiveWindow() {
    Lock lock = LockState();
    return CurrentQueueLocked().active;
}

BOOL SetForegroundWindow(HWND hwnd) {
    if (IsForeignHandle(hwnd)) {
        std::int64_t answer = 0;
        return ForeignRequest(hwnd, "foreground", answer) && answer != 0;
    }
    HWND top = nullptr;
    {
        Lock lock = LockState();
        if (!FindLocked(hwnd)) {
            return FALSE;
        }
        top = TopLevelOfLocked(hwnd);
        G().foreground = top;
    }
    RunOnWindowThread(top, [top] { return static_cast<LRESULT>(SetActiveInternal(top, false)); });
    Backend().WindowActivated(top);
    return TRUE;
}

HWND GetForegroundWindow() {
    Lock lock = LockState();
    HWND fg = G().foreground;
    return FindQuietLocked(fg) ? fg : nullptr;
}

HWND SetCapture(HWND hwnd) {
    HWND previous = nullptr;
    {
        Lock lock = LockState();
        Window* w = FindLocked(hwnd);
        if (!w) {
            return nullptr;
        }
        HWND cap = G().capture;
        Window* c = FindQuietLocked(cap);
        previous = c && c->tid == GetCurrentThreadId() ? cap : nullptr;
    }
    ReleaseCaptureInternal(hwnd);
    return previous;
}

BOOL ReleaseCapture() {
    ReleaseCaptureInternal(nullptr);
    return TRUE;
}

HWND GetCapture() {
    Lock lock = LockState();
    HWND cap = G().capture;
    Window* c = FindQuietLocked(cap);
    return c && c->tid == GetCurrentThreadId() ? cap : nullptr;
}

BOOL TrackMouseEvent(LPTRACKMOUSEEVENT track) {
    if (!track || track->cbSize != sizeof(TRACKMOUSEEVENT)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    Lock lock = LockState();
    ThreadQueue& q = CurrentQueueLocked();
    if (track->dwFlags & TME_QUERY) {
        track->hwndTrack = q.mouseOver;
        Window* w = FindQuietLocked(q.mouseOver);
        track->dwFlags = w ? w->trackFlags : 0;
        track->dwHoverTime = HOVER_DEFAULT;
        return TRUE;
    }
    Window* w = FindLocked(track->hwndTrack);
    if (!w) {
        return FALSE;
    }
    if (track->dwFlags & TME_CANCEL) {
        w->trackFlags &= ~(track->dwFlags & (TME_LEAVE | TME_HOVER | TME_NONCLIENT));
        if (!(w->trackFlags & TME_LEAVE) && q.mouseOver == track->hwndTrack) {
            q.mouseOver = nullptr;
        }
        return TRUE;
    }
    w->trackFlags |= track->dwFlags & (TME_LEAVE | TME_HOVER | TME_NONCLIENT);
    if (track->dwFlags & TME_LEAVE) {
        // Tracking a window the mouse is not over answers WM_MOUSELEAVE at once.
        POINT pt = G().cursorPos;
        RECT rc = (track->dwFlags & TME_NONCLIENT) ? WindowRectScreenLocked(*w) : ClientRectScreenLocked(*w);
        if (!PtInRect(&rc, pt)) {
            UINT msg = (track->dwFlags & TME_NONCLIENT) ? WM_NCMOUSELEAVE : WM_MOUSELEAVE;
            w->trackFlags &= ~static_cast<DWORD>(TME_LEAVE);
            q.posted.emplace_back(MSG{track->hwndTrack, msg, 0, 0, static_cast<DWORD>(Now()), pt}, 0);
            WakeLocked(q, QS_POSTMESSAGE);
        } else {
            q.mouseOver = track->hwndTrack;
        }
    }
    return TRUE;
}

BOOL DragDetect(HWND hwnd, POINT point) {
    if (!IsWindow(hwnd)) {
        return FALSE;
    }
    int cx = GetSystemMetrics(SM_CXDRAG);
    int cy = GetSystemMetrics(SM_CYDRAG);
    RECT rc{point.x - cx, point.y - cy, point.x + cx + 1, point.y + cy + 1};
    SetCapture(hwnd);
    BOOL dragged = FALSE;
    for (;;) {
        MSG msg{};
        if (!GetMessageW(&msg, nullptr, 0, 0)) {
            PostQuitMessage(static_cast<int>(msg.wParam));
            break;
        }
        if (msg.message == WM_LBUTTONUP || msg.message == WM_RBUTTONUP) {
            break;
        }
        if (msg.message == WM_MOUSEMOVE) {
            POINT pt = msg.pt;
            if (!PtInRect(&rc, pt)) {
                dragged = TRUE;
                break;
            }
            continue;
        }
        if (msg.message == WM_KEYDOWN && msg.wParam == VK_ESCAPE) {
            break;
        }
        if (msg.message >= WM_MOUSEFIRST && msg.message <= WM_MOUSELAST) {
            continue;
        }
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
        if (GetCapture() != hwnd) {
            break;
        }
    }
    if (GetCapture() == hwnd) {
        ReleaseCapture();
    }
    return dragged;
}

BOOL DisplayActivateFromBackend(HWND hwnd, BOOL active) {
    if (!IsWindow(hwnd)) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    if (active) {
        return SetForegroundWindow(hwnd);
    }
    return static_cast<BOOL>(RunOnWindowThread(hwnd, [hwnd] {
        HWND top = GetAncestor(hwnd, GA_ROOT);
        if (GetActiveWindow() != top) {
            return static_cast<LRESULT>(FALSE);
        }
        return static_cast<LRESULT>(SetActiveInternal(nullptr, false));
    }));
}
