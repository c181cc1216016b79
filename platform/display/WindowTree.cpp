// Parents, owners, z-order walks, enumeration, finding windows and windows under a point.
#include "platform/display/DisplayInternal.h"

#include "platform/kernel/Threads.h"

#include <algorithm>

using namespace display_detail;

namespace {

std::vector<HWND> SiblingsLocked(const Window& w) {
    Window* p = FindQuietLocked(w.parent);
    return p ? p->children : std::vector<HWND>{};
}

void CollectDescendantsLocked(HWND hwnd, std::vector<HWND>& out) {
    Window* w = FindQuietLocked(hwnd);
    if (!w) {
        return;
    }
    for (HWND child : w->children) {
        out.push_back(child);
        CollectDescendantsLocked(child, out);
    }
}

bool NameMatches(const std::u16string& actual, LPCWSTR wanted) {
    if (!wanted) {
        return true;
    }
    return Upper(actual) == Upper(wanted);
}

bool ClassMatches(const WindowClass& cls, LPCWSTR wanted) {
    if (!wanted) {
        return true;
    }
    if (IS_INTRESOURCE(wanted)) {
        return cls.atom == static_cast<ATOM>(reinterpret_cast<ULONG_PTR>(wanted));
    }
    return Upper(cls.name) == Upper(wanted);
}

// The deepest child of `parent` under `screen`, hit-testing (for the calling thread's windows) so that
// HTTRANSPARENT passes the point to the windows beneath.
HWND SearchChildren(HWND parent, POINT screen, bool skipDisabled, bool hitTest, int* hitOut) {
    std::vector<HWND> children;
    {
        Lock lock = LockState();
        Window* p = FindQuietLocked(parent);
        if (!p) {
            return nullptr;
        }
        if (p->hwnd != G().desktop) {
            RECT client = ClientRectScreenLocked(*p);
            if (!PtInRect(&client, screen)) {
                return nullptr;
            }
        }
        children = p->children;
    }
    DWORD self = GetCurrentThreadId();
    for (HWND child : children) {
        bool candidate = false;
        bool sameThread = false;
        bool disabled = false;
        {
            Lock lock = LockState();
            Window* c = FindQuietLocked(child);
            if (!c || !(c->style & WS_VISIBLE) || c->isMessageOnly) {
                continue;
            }
            RECT rc = WindowRectScreenLocked(*c);
            candidate = PtInRect(&rc, screen);
            sameThread = c->tid == self;
            disabled = (c->style & WS_DISABLED) != 0;
        }
        if (!candidate) {
            continue;
        }
        bool topLevel = parent == G().desktop;
        if (disabled && skipDisabled && !topLevel) {
            continue;
        }
        if (!disabled) {
            if (HWND deeper = SearchChildren(child, screen, skipDisabled, hitTest, hitOut)) {
                return deeper;
            }
        }
        int hit = HTCLIENT;
        if (disabled) {
            hit = HTERROR;
        } else if (hitTest && sameThread) {
            hit = static_cast<int>(SendMessageW(child, WM_NCHITTEST, 0, MAKELPARAM(screen.x, screen.y)));
        } else {
            hit = static_cast<int>(DefNcHitTest(child, screen));
        }
        if (hit == HTTRANSPARENT) {
            continue;
        }
        if (hitOut) {
            *hitOut = hit;
        }
        return child;
    }
    return nullptr;
}

} // namespace

namespace display_detail {
HWND WindowFromPointHit(POINT screen, int* hit) {
    return SearchChildren(G().desktop, screen, true, true, hit);
}
} // namespace display_detail

HWND GetDesktopWindow() {
    return G().desktop;
}

HWND GetParent(HWND hwnd) {
    Lock lock = LockState();
    Window* w = FindLocked(hwnd);
    if (!w) {
        return nullptr;
    }
    if ((w->style & WS_CHILD) && w->parent != G().desktop) {
        return w->parent;
    }
    if (w->style & WS_POPUP) {
        return w->owner;
    }
    return nullptr;
}

HWND SetParent(HWND hwnd, HWND newParent) {
    HWND old = nullptr;
    bool wasVisible = false;
    bool becameTopLevel = false;
    bool becameChild = false;
    {
        Lock lock = LockState();
        Globals& g = G();
        Window* w = FindLocked(hwnd);
        if (!w || hwnd == g.desktop) {
            return nullptr;
        }
        if (!newParent) {
            newParent = g.desktop;
        }
        Window* np = FindLocked(newParent);
        if (!np) {
            return nullptr;
        }
        if (newParent == hwnd || IsDescendantLocked(hwnd, newParent)) {
            SetLastError(ERROR_INVALID_PARAMETER);
            return nullptr;
        }
        old = w->parent;
        wasVisible = (w->style & WS_VISIBLE) != 0;
    }
    if (wasVisible) {
        ShowWindow(hwnd, SW_HIDE);
    }
    {
        Lock lock = LockState();
        Globals& g = G();
        Window* w = FindQuietLocked(hwnd);
        Window* np = FindQuietLocked(newParent);
        if (!w || !np) {
            SetLastError(ERROR_INVALID_WINDOW_HANDLE);
            return nullptr;
        }
        if (Window* op = FindQuietLocked(w->parent)) {
            op->children.erase(std::remove(op->children.begin(), op->children.end(), hwnd),
                               op->children.end());
        }
        bool wasTop = IsTopLevelLocked(*w);
        w->parent = newParent;
        np->children.insert(np->children.begin(), hwnd);
        bool isTop = IsTopLevelLocked(*w);
        if (isTop && !wasTop) {
            becameTopLevel = true;
            w->surface = std::make_shared<Surface>(w->rcWindow.right - w->rcWindow.left,
                                                   w->rcWindow.bottom - w->rcWindow.top);
        } else if (!isTop && wasTop) {
            becameChild = true;
            w->surface.reset();
            if (g.foreground == hwnd) {
                g.foreground = nullptr;
            }
        }
    }
    if (becameChild) {
        Backend().WindowDestroyed(hwnd);
    }
    if (becameTopLevel) {
        RECT rc{};
        GetWindowRect(hwnd, &rc);
        Backend().WindowCreated(hwnd, rc, static_cast<DWORD>(GetWindowLongW(hwnd, GWL_STYLE)),
                                static_cast<DWORD>(GetWindowLongW(hwnd, GWL_EXSTYLE)));
    }
    if (becameChild || becameTopLevel) {
        RendezvousUpdate();
    }
    if (wasVisible) {
        ShowWindow(hwnd, SW_SHOWNA);
        RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
    }
    return old;
}

HWND GetWindow(HWND hwnd, UINT cmd) {
    Lock lock = LockState();
    Globals& g = G();
    Window* w = FindLocked(hwnd);
    if (!w) {
        return nullptr;
    }
    switch (cmd) {
    case GW_CHILD:
        return w->children.empty() ? nullptr : w->children.front();
    case GW_OWNER:
        return w->owner;
    case GW_HWNDFIRST:
    case GW_HWNDLAST:
    case GW_HWNDNEXT:
    case GW_HWNDPREV: {
        if (!w->parent) {
            return nullptr;
        }
        std::vector<HWND> siblings = SiblingsLocked(*w);
        if (siblings.empty()) {
            return nullptr;
        }
        if (cmd == GW_HWNDFIRST) {
            return siblings.front();
        }
        if (cmd == GW_HWNDLAST) {
            return siblings.back();
        }
        auto it = std::find(siblings.begin(), siblings.end(), hwnd);
        if (it == siblings.end()) {
            return nullptr;
        }
        if (cmd == GW_HWNDNEXT) {
            ++it;
            return it == siblings.end() ? nullptr : *it;
        }
        return it == siblings.begin() ? nullptr : *(it - 1);
    }
    case GW_ENABLEDPOPUP:
        for (HWND top : FindQuietLocked(g.desktop)->children) {
            Window* t = FindQuietLocked(top);
            if (t && t->owner == hwnd && (t->style & WS_VISIBLE) && !(t->style & WS_DISABLED)) {
                return top;
            }
        }
        return nullptr;
    default:
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
}

HWND GetAncestor(HWND hwnd, UINT flags) {
    Lock lock = LockState();
    Globals& g = G();
    Window* w = FindLocked(hwnd);
    if (!w || hwnd == g.desktop) {
        return nullptr;
    }
    switch (flags) {
    case GA_PARENT:
        return w->parent;
    case GA_ROOT:
        return TopLevelOfLocked(hwnd);
    case GA_ROOTOWNER: {
        HWND cur = TopLevelOfLocked(hwnd);
        for (;;) {
            Window* c = FindQuietLocked(cur);
            HWND next = nullptr;
            if (c && (c->style & WS_POPUP) && c->owner) {
                next = c->owner;
            }
            if (!next) {
                return cur;
            }
            cur = TopLevelOfLocked(next);
        }
    }
    default:
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
}

BOOL IsChild(HWND parent, HWND hwnd) {
    Lock lock = LockState();
    Window* w = FindQuietLocked(hwnd);
    while (w && (w->style & WS_CHILD) && w->parent) {
        if (w->parent == parent) {
            return TRUE;
        }
        w = FindQuietLocked(w->parent);
    }
    return FALSE;
}

HWND GetTopWindow(HWND hwnd) {
    Lock lock = LockState();
    Window* w = FindLocked(hwnd ? hwnd : G().desktop);
    if (!w || w->children.empty()) {
        return nullptr;
    }
    return w->children.front();
}

BOOL EnumChildWindows(HWND parent, WNDENUMPROC proc, LPARAM lParam) {
    if (!proc) {
        return FALSE;
    }
    std::vector<HWND> all;
    {
        Lock lock = LockState();
        HWND start = parent ? parent : G().desktop;
        if (!FindLocked(start)) {
            return FALSE;
        }
        CollectDescendantsLocked(start, all);
    }
    for (HWND hwnd : all) {
        if (!IsWindow(hwnd)) {
            continue;
        }
        if (!proc(hwnd, lParam)) {
            return FALSE;
        }
    }
    return TRUE;
}

namespace {
BOOL EnumTopLevel(DWORD tid, WNDENUMPROC proc, LPARAM lParam) {
    if (!proc) {
        return FALSE;
    }
    std::vector<HWND> tops;
    {
        Lock lock = LockState();
        for (HWND top : FindQuietLocked(G().desktop)->children) {
            Window* t = FindQuietLocked(top);
            if (t && !t->isMessageOnly && (tid == 0 || t->tid == tid)) {
                tops.push_back(top);
            }
        }
    }
    for (HWND hwnd : tops) {
        if (IsWindow(hwnd) && !proc(hwnd, lParam)) {
            return FALSE;
        }
    }
    return TRUE;
}
} // namespace

BOOL EnumWindows(WNDENUMPROC proc, LPARAM lParam) {
    return EnumTopLevel(0, proc, lParam);
}

BOOL EnumThreadWindows(DWORD threadId, WNDENUMPROC proc, LPARAM lParam) {
    if (threadId == 0) {
        SetLastError(ERROR_INVALID_THREAD_ID);
        return FALSE;
    }
    return EnumTopLevel(threadId, proc, lParam);
}

HWND GetLastActivePopup(HWND hwnd) {
    if (IsForeignHandle(hwnd)) {
        std::int64_t answer = 0;
        if (!ForeignRequest(hwnd, "popup", answer)) {
            return nullptr;
        }
        return answer ? reinterpret_cast<HWND>(static_cast<std::intptr_t>(answer)) : hwnd;
    }
    Lock lock = LockState();
    Window* w = FindLocked(hwnd);
    if (!w) {
        return nullptr;
    }
    HWND popup = w->lastActivePopup;
    Window* p = FindQuietLocked(popup);
    if (!p || !(p->style & WS_VISIBLE) || (p->style & WS_DISABLED)) {
        return hwnd;
    }
    // It must still be owned, directly or through other popups, by this window.
    for (Window* cur = p; cur; cur = FindQuietLocked(cur->owner)) {
        if (cur->owner == hwnd) {
            return popup;
        }
    }
    return hwnd;
}

DWORD GetWindowThreadProcessId(HWND hwnd, LPDWORD processId) {
    if (IsForeignHandle(hwnd)) {
        DWORD pid = ForeignProcessId(hwnd);
        if (processId) {
            *processId = pid;
        }
        // The thread of a foreign window is not known here; answer its process id so that the answer is
        // non-zero for a live window.
        return pid;
    }
    Lock lock = LockState();
    Window* w = FindLocked(hwnd);
    if (!w) {
        if (processId) {
            *processId = 0;
        }
        return 0;
    }
    if (processId) {
        *processId = GetCurrentProcessId();
    }
    return w->tid;
}

HWND FindWindowExW(HWND parent, HWND childAfter, LPCWSTR className, LPCWSTR windowName) {
    bool foreignAfter = IsForeignHandle(childAfter);
    if (!foreignAfter) {
        Lock lock = LockState();
        Globals& g = G();
        bool messageOnly = parent == HWND_MESSAGE;
        HWND start = (!parent || messageOnly) ? g.desktop : parent;
        Window* p = FindLocked(start);
        if (!p) {
            return nullptr;
        }
        bool passed = childAfter == nullptr;
        for (HWND child : p->children) {
            if (!passed) {
                passed = child == childAfter;
                continue;
            }
            Window* c = FindQuietLocked(child);
            if (!c || c->isMessageOnly != messageOnly) {
                continue;
            }
            if (ClassMatches(*c->cls, className) && NameMatches(c->text, windowName)) {
                return child;
            }
        }
        if (parent) {
            SetLastError(ERROR_FILE_NOT_FOUND);
            return nullptr;
        }
    } else if (parent) {
        return nullptr;
    }
    std::u16string cls;
    std::u16string title;
    if (className) {
        cls = IS_INTRESOURCE(className) ? ClassKey(className) : std::u16string(className);
    }
    if (windowName) {
        title = windowName;
    }
    HWND found = RendezvousFind(className ? &cls : nullptr, windowName ? &title : nullptr,
                                foreignAfter ? childAfter : nullptr);
    if (!found) {
        SetLastError(ERROR_FILE_NOT_FOUND);
    }
    return found;
}

HWND FindWindowW(LPCWSTR className, LPCWSTR windowName) {
    return FindWindowExW(nullptr, nullptr, className, windowName);
}

HWND WindowFromPoint(POINT point) {
    return WindowFromPointHit(point, nullptr);
}

HWND ChildWindowFromPointEx(HWND parent, POINT point, UINT flags) {
    Lock lock = LockState();
    Window* p = FindLocked(parent);
    if (!p) {
        return nullptr;
    }
    RECT client{0, 0, p->rcClient.right - p->rcClient.left, p->rcClient.bottom - p->rcClient.top};
    if (parent != G().desktop && !PtInRect(&client, point)) {
        return nullptr;
    }
    for (HWND child : p->children) {
        Window* c = FindQuietLocked(child);
        if (!c || c->isMessageOnly) {
            continue;
        }
        if ((flags & CWP_SKIPINVISIBLE) && !(c->style & WS_VISIBLE)) {
            continue;
        }
        if ((flags & CWP_SKIPDISABLED) && (c->style & WS_DISABLED)) {
            continue;
        }
        if ((flags & CWP_SKIPTRANSPARENT) && (c->exStyle & WS_EX_TRANSPARENT)) {
            continue;
        }
        if (PtInRect(&c->rcWindow, point)) {
            return child;
        }
    }
    return parent;
}

HWND ChildWindowFromPoint(HWND parent, POINT point) {
    return ChildWindowFromPointEx(parent, point, CWP_ALL);
}

HWND RealChildWindowFromPoint(HWND parent, POINT point) {
    std::vector<HWND> children;
    POINT screen = point;
    {
        Lock lock = LockState();
        Window* p = FindLocked(parent);
        if (!p) {
            return nullptr;
        }
        children = p->children;
        POINT o = ClientOriginScreenLocked(*p);
        screen.x += o.x;
        screen.y += o.y;
    }
    for (HWND child : children) {
        bool inside = false;
        bool sameThread = false;
        {
            Lock lock = LockState();
            Window* c = FindQuietLocked(child);
            if (!c || !(c->style & WS_VISIBLE)) {
                continue;
            }
            inside = PtInRect(&c->rcWindow, point);
            sameThread = c->tid == GetCurrentThreadId();
        }
        if (!inside) {
            continue;
        }
        if (sameThread &&
            SendMessageW(child, WM_NCHITTEST, 0, MAKELPARAM(screen.x, screen.y)) == HTTRANSPARENT) {
            continue;
        }
        return child;
    }
    return parent;
}
