// Window hooks: chains per type, the newest first; a hook installed for thread 0 sees every thread.
#include "platform/display/DisplayInternal.h"

#include "platform/kernel/Threads.h"

#include <algorithm>

namespace display_detail {
namespace {

bool Applies(const Hook& h, int type, DWORD tid) {
    return !h.removed && h.type == type && (h.tid == 0 || h.tid == tid);
}

std::shared_ptr<Hook> FirstAfterLocked(int type, HHOOK after) {
    Globals& g = G();
    DWORD tid = GetCurrentThreadId();
    auto it = g.hooks.begin();
    if (after) {
        it = std::find_if(g.hooks.begin(), g.hooks.end(),
                          [after](const auto& h) { return h->handle == after; });
        if (it == g.hooks.end()) {
            return nullptr;
        }
        ++it;
    }
    for (; it != g.hooks.end(); ++it) {
        if (Applies(**it, type, tid)) {
            return *it;
        }
    }
    return nullptr;
}

bool Supported(int type) {
    switch (type) {
    case WH_MSGFILTER:
    case WH_KEYBOARD:
    case WH_GETMESSAGE:
    case WH_CALLWNDPROC:
    case WH_CALLWNDPROCRET:
    case WH_CBT:
    case WH_SYSMSGFILTER:
    case WH_MOUSE:
    case WH_FOREGROUNDIDLE:
        return true;
    default:
        return false;
    }
}

} // namespace

bool HasHooks(int type) {
    Lock lock = LockState();
    return FirstAfterLocked(type, nullptr) != nullptr;
}

LRESULT CallHooks(int type, int code, WPARAM wParam, LPARAM lParam) {
    std::shared_ptr<Hook> hook;
    {
        Lock lock = LockState();
        hook = FirstAfterLocked(type, nullptr);
    }
    return hook ? hook->proc(code, wParam, lParam) : 0;
}

} // namespace display_detail

using namespace display_detail;

HHOOK SetWindowsHookExW(int idHook, HOOKPROC proc, HINSTANCE, DWORD threadId) {
    if (!Supported(idHook)) {
        SetLastError(ERROR_INVALID_HOOK_FILTER);
        return nullptr;
    }
    if (!proc) {
        SetLastError(ERROR_INVALID_FILTER_PROC);
        return nullptr;
    }
    Lock lock = LockState();
    Globals& g = G();
    if (threadId && !QueueOfLocked(threadId)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    auto hook = std::make_shared<Hook>();
    hook->handle = reinterpret_cast<HHOOK>(g.nextHook);
    g.nextHook += 4;
    hook->type = idHook;
    hook->proc = proc;
    hook->tid = threadId;
    g.hooks.insert(g.hooks.begin(), hook);
    return hook->handle;
}

BOOL UnhookWindowsHookEx(HHOOK hook) {
    Lock lock = LockState();
    Globals& g = G();
    auto it =
        std::find_if(g.hooks.begin(), g.hooks.end(), [hook](const auto& h) { return h->handle == hook; });
    if (it == g.hooks.end()) {
        SetLastError(ERROR_INVALID_HOOK_HANDLE);
        return FALSE;
    }
    (*it)->removed = true;
    g.hooks.erase(it);
    return TRUE;
}

LRESULT CallNextHookEx(HHOOK hook, int code, WPARAM wParam, LPARAM lParam) {
    std::shared_ptr<Hook> next;
    {
        Lock lock = LockState();
        Globals& g = G();
        auto it =
            std::find_if(g.hooks.begin(), g.hooks.end(), [hook](const auto& h) { return h->handle == hook; });
        if (it == g.hooks.end()) {
            return 0;
        }
        next = FirstAfterLocked((*it)->type, hook);
    }
    return next ? next->proc(code, wParam, lParam) : 0;
}

BOOL CallMsgFilterW(LPMSG msg, int code) {
    if (!msg) {
        return FALSE;
    }
    if (HasHooks(WH_SYSMSGFILTER) && CallHooks(WH_SYSMSGFILTER, code, 0, reinterpret_cast<LPARAM>(msg))) {
        return TRUE;
    }
    return HasHooks(WH_MSGFILTER) && CallHooks(WH_MSGFILTER, code, 0, reinterpret_cast<LPARAM>(msg)) != 0;
}
