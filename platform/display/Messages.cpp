// Sending, posting and the message loop.
#include "platform/display/DisplayInternal.h"

#include "platform/kernel/Sync.h"
#include "platform/kernel/Threads.h"

#include <poll.h>
#include <unistd.h>

#include <algorithm>
#include <climits>

namespace display_detail {
namespace {

void DrainLocked(ThreadQueue& q) {
    std::uint64_t value = 0;
    while (read(q.wakeFd, &value, sizeof value) > 0) {
    }
}

// Waits until the queue's descriptor (or the backend's) is readable or `timeout` ms pass (-1: for ever).
void WaitOnQueue(int wakeFd, int timeout) {
    pollfd fds[2] = {{wakeFd, POLLIN, 0}, {Backend().EventFd(), POLLIN, 0}};
    nfds_t n = fds[1].fd >= 0 ? 2 : 1;
    int r = poll(fds, n, timeout);
    if (r > 0 && n == 2 && (fds[1].revents & POLLIN)) {
        Backend().PumpEvents();
    }
}

int TimeoutUntil(std::uint64_t due) {
    if (G().testClockOn.load(std::memory_order_acquire)) {
        return -1; // only DisplayAdvanceTestClock moves a test clock, and it wakes the queues
    }
    std::uint64_t now = Now();
    if (due <= now) {
        return 0;
    }
    std::uint64_t wait = due - now;
    return wait > INT_MAX ? INT_MAX : static_cast<int>(wait);
}

void CollectPaintOrder(HWND hwnd, DWORD tid, std::vector<HWND>& out) {
    Window* w = FindQuietLocked(hwnd);
    if (!w) {
        return;
    }
    if (w->tid == tid && w->parent) {
        out.push_back(hwnd);
    }
    // Parents before their children; lower siblings first, so that the higher ones end up on top.
    for (auto it = w->children.rbegin(); it != w->children.rend(); ++it) {
        CollectPaintOrder(*it, tid, out);
    }
}

HWND FindPaintWindowLocked(DWORD tid, HWND filter) {
    std::vector<HWND> order;
    CollectPaintOrder(G().desktop, tid, order);
    for (HWND hwnd : order) {
        Window* w = FindQuietLocked(hwnd);
        if (w && NeedsPaintLocked(*w) && MessageMatches(filter, WM_PAINT, WM_PAINT, hwnd, WM_PAINT)) {
            return hwnd;
        }
    }
    return nullptr;
}

Timer* FindDueTimerLocked(ThreadQueue& q, HWND filter, UINT minMsg, UINT maxMsg, std::uint64_t now) {
    Timer* best = nullptr;
    for (Timer& t : q.timers) {
        if (t.due > now) {
            continue;
        }
        UINT msg = t.system ? WM_SYSTIMER : WM_TIMER;
        if (!MessageMatches(filter, minMsg, maxMsg, t.hwnd, msg)) {
            continue;
        }
        if (!best || t.due < best->due) {
            best = &t;
        }
    }
    return best;
}

bool HasNewTimerLocked(ThreadQueue& q, std::uint64_t now) {
    for (const Timer& t : q.timers) {
        if (t.due <= now && t.due > q.lastLook) {
            return true;
        }
    }
    return false;
}

bool HasPaintLocked(DWORD tid) {
    return FindPaintWindowLocked(tid, nullptr) != nullptr;
}

void FinishRetrieval(ThreadQueue& q, MSG* msg, bool remove) {
    if (remove) {
        q.current = *msg;
    }
}

// The heart of GetMessage and PeekMessage. Answers true with a message, false when there is none (only
// when !block).
bool PeekCore(MSG* out, HWND filter, UINT minMsg, UINT maxMsg, UINT flags, bool block) {
    bool remove = (flags & PM_REMOVE) != 0;
    UINT kinds = HIWORD(flags) ? HIWORD(flags) : QS_ALLINPUT;
    for (;;) {
        Backend().PumpEvents();
        if (kinds & QS_SENDMESSAGE) {
            ProcessIncomingSends();
        }
        Lock lock = LockState();
        ThreadQueue& q = CurrentQueueLocked();
        DrainLocked(q);
        if ((kinds & QS_SENDMESSAGE) && !q.incoming.empty()) {
            continue; // sent while we were not holding the lock: its wake-up is drained, handle it now
        }
        std::uint64_t now = Now();
        q.changeBits = 0;
        q.lastLook = now;

        if (kinds & (QS_POSTMESSAGE | QS_ALLPOSTMESSAGE)) {
            for (auto it = q.posted.begin(); it != q.posted.end(); ++it) {
                if (!MessageMatches(filter, minMsg, maxMsg, it->first.hwnd, it->first.message)) {
                    continue;
                }
                *out = it->first;
                q.extraInfo = it->second;
                if (remove) {
                    q.posted.erase(it);
                }
                FinishRetrieval(q, out, remove);
                return true;
            }
        }

        if ((kinds & QS_INPUT) && !q.input.empty()) {
            std::vector<std::pair<std::uint64_t, UINT>> events;
            for (const QueuedInput& in : q.input) {
                events.emplace_back(in.seq, in.kind);
            }
            lock.unlock();
            bool restart = false;
            for (auto [seq, kind] : events) {
                bool consumed = false;
                bool key = kind == WM_KEYDOWN || kind == WM_KEYUP || kind == WM_CHAR;
                if (key && !(kinds & QS_KEY)) {
                    continue;
                }
                if (!key && !(kinds & QS_MOUSE)) {
                    continue;
                }
                bool got = key ? ProcessKeyInput(q, seq, filter, minMsg, maxMsg, remove, out, consumed)
                               : ProcessMouseInput(q, seq, filter, minMsg, maxMsg, remove, out, consumed);
                if (got) {
                    Lock relock = LockState();
                    FinishRetrieval(q, out, remove);
                    return true;
                }
                if (consumed) {
                    restart = true;
                    break;
                }
            }
            if (restart) {
                continue;
            }
            lock.lock();
        }

        if (q.quit) {
            *out = MSG{};
            out->message = WM_QUIT;
            out->wParam = static_cast<WPARAM>(q.quitCode);
            out->time = static_cast<DWORD>(now);
            out->pt = G().cursorPos;
            if (remove) {
                q.quit = false;
            }
            FinishRetrieval(q, out, remove);
            return true;
        }

        if ((kinds & QS_PAINT) && filter != reinterpret_cast<HWND>(-1) &&
            MessageMatches(nullptr, minMsg, maxMsg, nullptr, WM_PAINT)) {
            if (HWND paint = FindPaintWindowLocked(q.tid, filter)) {
                *out = MSG{paint, WM_PAINT, 0, 0, static_cast<DWORD>(now), G().cursorPos};
                FinishRetrieval(q, out, remove);
                return true;
            }
        }

        if (kinds & QS_TIMER) {
            if (Timer* t = FindDueTimerLocked(q, filter, minMsg, maxMsg, now)) {
                *out = MSG{t->hwnd,
                           t->system ? static_cast<UINT>(WM_SYSTIMER) : static_cast<UINT>(WM_TIMER),
                           t->id,
                           reinterpret_cast<LPARAM>(t->proc),
                           static_cast<DWORD>(now),
                           G().cursorPos};
                if (remove) {
                    t->due = now + t->elapse;
                }
                FinishRetrieval(q, out, remove);
                return true;
            }
        }

        if (!block) {
            return false;
        }
        std::uint64_t due = 0;
        int timeout = NextTimerDueLocked(q, due) ? TimeoutUntil(due) : -1;
        int fd = q.wakeFd;
        lock.unlock();
        PresentDirty(GetCurrentThreadId());
        WaitOnQueue(fd, timeout);
    }
}

void RunGetMessageHook(MSG* msg, bool remove) {
    if (HasHooks(WH_GETMESSAGE)) {
        CallHooks(WH_GETMESSAGE, HC_ACTION, remove ? PM_REMOVE : PM_NOREMOVE, reinterpret_cast<LPARAM>(msg));
    }
}

bool ValidFilter(HWND filter) {
    if (!filter || filter == reinterpret_cast<HWND>(-1)) {
        return true;
    }
    Lock lock = LockState();
    return FindLocked(filter) != nullptr;
}

bool SendCrossThread(const std::shared_ptr<SentMessage>& sm, DWORD targetTid, UINT timeout) {
    {
        Lock lock = LockState();
        auto target = QueueOfLocked(targetTid);
        if (!target || !target->alive) {
            SetLastError(ERROR_INVALID_WINDOW_HANDLE);
            return false;
        }
        ThreadQueue& self = CurrentQueueLocked();
        sm->senderTid = self.tid;
        sm->sender = QueueOfLocked(self.tid);
        target->incoming.push_back(sm);
        WakeLocked(*target, QS_SENDMESSAGE);
    }
    std::uint64_t start = GetTickCount64();
    for (;;) {
        ProcessIncomingSends();
        Lock lock = LockState();
        if (sm->done) {
            return true;
        }
        ThreadQueue& self = CurrentQueueLocked();
        if (!self.incoming.empty()) {
            continue;
        }
        DrainLocked(self);
        int fd = self.wakeFd;
        int wait = -1;
        if (timeout != INFINITE) {
            std::uint64_t elapsed = GetTickCount64() - start;
            if (elapsed >= timeout) {
                sm->abandoned = true;
                SetLastError(ERROR_TIMEOUT);
                return false;
            }
            wait = static_cast<int>(timeout - elapsed);
        }
        lock.unlock();
        pollfd pfd{fd, POLLIN, 0};
        poll(&pfd, 1, wait);
    }
}

} // namespace

bool MessageMatches(HWND filter, UINT minMsg, UINT maxMsg, HWND hwnd, UINT msg) {
    if (minMsg || maxMsg) {
        bool inRange = minMsg <= maxMsg ? (msg >= minMsg && msg <= maxMsg) : (msg >= minMsg || msg <= maxMsg);
        if (!inRange) {
            return false;
        }
    }
    if (!filter) {
        return true;
    }
    if (filter == reinterpret_cast<HWND>(-1)) {
        return hwnd == nullptr;
    }
    return hwnd == filter || IsDescendantLocked(filter, hwnd);
}

UINT QueueKindsLocked(ThreadQueue& q) {
    UINT kinds = 0;
    if (!q.posted.empty()) {
        kinds |= QS_POSTMESSAGE | QS_ALLPOSTMESSAGE;
    }
    for (const QueuedInput& in : q.input) {
        if (in.kind == WM_KEYDOWN || in.kind == WM_KEYUP || in.kind == WM_CHAR) {
            kinds |= QS_KEY;
        } else if (in.kind == WM_MOUSEMOVE) {
            kinds |= QS_MOUSEMOVE;
        } else {
            kinds |= QS_MOUSEBUTTON;
        }
    }
    if (!q.incoming.empty()) {
        kinds |= QS_SENDMESSAGE;
    }
    if (HasPaintLocked(q.tid)) {
        kinds |= QS_PAINT;
    }
    std::uint64_t now = Now();
    for (const Timer& t : q.timers) {
        if (t.due <= now) {
            kinds |= QS_TIMER;
            break;
        }
    }
    return kinds;
}

LRESULT CallProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    WNDPROC proc = nullptr;
    {
        Lock lock = LockState();
        Window* w = FindQuietLocked(hwnd);
        if (!w) {
            return 0;
        }
        proc = w->proc;
    }
    return proc ? proc(hwnd, msg, wParam, lParam) : 0;
}

LRESULT SendSameThread(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (HasHooks(WH_CALLWNDPROC)) {
        CWPSTRUCT cwp{lParam, wParam, msg, hwnd};
        CallHooks(WH_CALLWNDPROC, HC_ACTION, 1, reinterpret_cast<LPARAM>(&cwp));
    }
    LRESULT result = CallProc(hwnd, msg, wParam, lParam);
    if (HasHooks(WH_CALLWNDPROCRET)) {
        CWPRETSTRUCT ret{result, lParam, wParam, msg, hwnd};
        CallHooks(WH_CALLWNDPROCRET, HC_ACTION, 1, reinterpret_cast<LPARAM>(&ret));
    }
    return result;
}

bool ProcessIncomingSends() {
    bool any = false;
    for (;;) {
        std::shared_ptr<SentMessage> sm;
        {
            Lock lock = LockState();
            ThreadQueue& q = CurrentQueueLocked();
            if (q.incoming.empty()) {
                return any;
            }
            sm = q.incoming.front();
            q.incoming.pop_front();
            q.receiving.push_back(sm);
        }
        LRESULT result = 0;
        if (sm->task) {
            result = sm->task();
        } else if (IsWindow(sm->hwnd)) {
            result = SendSameThread(sm->hwnd, sm->msg, sm->wParam, sm->lParam);
        }
        Lock lock = LockState();
        ThreadQueue& q = CurrentQueueLocked();
        q.receiving.erase(std::find(q.receiving.begin(), q.receiving.end(), sm));
        if (!sm->replied) {
            sm->result = result;
            sm->replied = true;
        }
        sm->done = true;
        if (sm->sender) {
            WakeLocked(*sm->sender, 0);
        }
        any = true;
    }
}

LRESULT RunOnWindowThread(HWND hwnd, const std::function<LRESULT()>& task) {
    DWORD tid = 0;
    {
        Lock lock = LockState();
        Window* w = FindLocked(hwnd);
        if (!w) {
            return 0;
        }
        tid = w->tid;
    }
    if (tid == GetCurrentThreadId()) {
        return task();
    }
    auto sm = std::make_shared<SentMessage>();
    sm->hwnd = hwnd;
    sm->task = task;
    if (!SendCrossThread(sm, tid, INFINITE)) {
        return 0;
    }
    return sm->result;
}

} // namespace display_detail

using namespace display_detail;

namespace {

std::vector<HWND> TopLevelWindows() {
    std::vector<HWND> tops;
    Lock lock = LockState();
    for (HWND top : FindQuietLocked(G().desktop)->children) {
        Window* t = FindQuietLocked(top);
        if (t && !t->isMessageOnly) {
            tops.push_back(top);
        }
    }
    return tops;
}

} // namespace

LRESULT SendMessageW(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (hwnd == HWND_BROADCAST) {
        for (HWND top : TopLevelWindows()) {
            SendMessageW(top, msg, wParam, lParam);
        }
        return 1;
    }
    DWORD tid = 0;
    {
        Lock lock = LockState();
        Window* w = FindLocked(hwnd);
        if (!w) {
            return 0;
        }
        tid = w->tid;
    }
    if (tid == GetCurrentThreadId()) {
        return SendSameThread(hwnd, msg, wParam, lParam);
    }
    auto sm = std::make_shared<SentMessage>();
    sm->hwnd = hwnd;
    sm->msg = msg;
    sm->wParam = wParam;
    sm->lParam = lParam;
    if (!SendCrossThread(sm, tid, INFINITE)) {
        return 0;
    }
    return sm->result;
}

LRESULT SendMessageTimeoutW(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT, UINT timeout,
                            DWORD_PTR* result) {
    if (hwnd == HWND_BROADCAST) {
        for (HWND top : TopLevelWindows()) {
            SendMessageTimeoutW(top, msg, wParam, lParam, 0, timeout, nullptr);
        }
        return 1;
    }
    DWORD tid = 0;
    {
        Lock lock = LockState();
        Window* w = FindLocked(hwnd);
        if (!w) {
            return 0;
        }
        tid = w->tid;
    }
    LRESULT answer = 0;
    if (tid == GetCurrentThreadId()) {
        answer = SendSameThread(hwnd, msg, wParam, lParam);
    } else {
        auto sm = std::make_shared<SentMessage>();
        sm->hwnd = hwnd;
        sm->msg = msg;
        sm->wParam = wParam;
        sm->lParam = lParam;
        if (!SendCrossThread(sm, tid, timeout)) {
            return 0;
        }
        answer = sm->result;
    }
    if (result) {
        *result = static_cast<DWORD_PTR>(answer);
    }
    return 1;
}

BOOL SendNotifyMessageW(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (hwnd == HWND_BROADCAST) {
        for (HWND top : TopLevelWindows()) {
            SendNotifyMessageW(top, msg, wParam, lParam);
        }
        return TRUE;
    }
    DWORD tid = 0;
    {
        Lock lock = LockState();
        Window* w = FindLocked(hwnd);
        if (!w) {
            return FALSE;
        }
        tid = w->tid;
        if (tid != GetCurrentThreadId()) {
            auto target = QueueOfLocked(tid);
            if (!target || !target->alive) {
                SetLastError(ERROR_INVALID_WINDOW_HANDLE);
                return FALSE;
            }
            auto sm = std::make_shared<SentMessage>();
            sm->hwnd = hwnd;
            sm->msg = msg;
            sm->wParam = wParam;
            sm->lParam = lParam;
            target->incoming.push_back(sm);
            WakeLocked(*target, QS_SENDMESSAGE);
            return TRUE;
        }
    }
    SendSameThread(hwnd, msg, wParam, lParam);
    return TRUE;
}

BOOL PostThreadMessageW(DWORD threadId, UINT msg, WPARAM wParam, LPARAM lParam) {
    Lock lock = LockState();
    auto q = QueueOfLocked(threadId);
    if (!q || !q->alive) {
        SetLastError(ERROR_INVALID_THREAD_ID);
        return FALSE;
    }
    q->posted.emplace_back(MSG{nullptr, msg, wParam, lParam, static_cast<DWORD>(Now()), G().cursorPos}, 0);
    WakeLocked(*q, QS_POSTMESSAGE | QS_ALLPOSTMESSAGE);
    return TRUE;
}

BOOL PostMessageW(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (hwnd == HWND_BROADCAST) {
        for (HWND top : TopLevelWindows()) {
            PostMessageW(top, msg, wParam, lParam);
        }
        return TRUE;
    }
    if (!hwnd) {
        return PostThreadMessageW(GetCurrentThreadId(), msg, wParam, lParam);
    }
    if (IsForeignHandle(hwnd)) {
        SetLastError(ERROR_ACCESS_DENIED);
        return FALSE;
    }
    Lock lock = LockState();
    Window* w = FindLocked(hwnd);
    if (!w) {
        return FALSE;
    }
    auto q = QueueOfLocked(w->tid);
    if (!q || !q->alive) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    q->posted.emplace_back(MSG{hwnd, msg, wParam, lParam, static_cast<DWORD>(Now()), G().cursorPos}, 0);
    WakeLocked(*q, QS_POSTMESSAGE | QS_ALLPOSTMESSAGE);
    return TRUE;
}

void PostQuitMessage(int exitCode) {
    Lock lock = LockState();
    ThreadQueue& q = CurrentQueueLocked();
    q.quit = true;
    q.quitCode = exitCode;
    WakeLocked(q, QS_POSTMESSAGE);
}

BOOL GetMessageW(LPMSG msg, HWND hwnd, UINT msgFilterMin, UINT msgFilterMax) {
    if (!msg) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return -1;
    }
    if (!ValidFilter(hwnd)) {
        return -1;
    }
    PeekCore(msg, hwnd, msgFilterMin, msgFilterMax, PM_REMOVE, true);
    RunGetMessageHook(msg, true);
    return msg->message == WM_QUIT ? FALSE : TRUE;
}

BOOL PeekMessageW(LPMSG msg, HWND hwnd, UINT msgFilterMin, UINT msgFilterMax, UINT removeMsg) {
    if (!msg) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    if (!ValidFilter(hwnd)) {
        return FALSE;
    }
    if (!PeekCore(msg, hwnd, msgFilterMin, msgFilterMax, removeMsg, false)) {
        // A thread that found its whole queue empty has caught up: what it painted is shown now, as the
        // original shows painting at once. A thread busy with work between such looks (a receiver search
        // that handles its messages while it waits) would otherwise show nothing until it next blocks.
        if (!hwnd && msgFilterMin == 0 && msgFilterMax == 0) {
            PresentDirty(GetCurrentThreadId());
        }
        return FALSE;
    }
    RunGetMessageHook(msg, (removeMsg & PM_REMOVE) != 0);
    return TRUE;
}

LRESULT DispatchMessageW(const MSG* msg) {
    if (!msg) {
        return 0;
    }
    if ((msg->message == WM_TIMER || msg->message == WM_SYSTIMER) && msg->lParam) {
        auto proc = reinterpret_cast<TIMERPROC>(msg->lParam);
        bool known = false;
        {
            Lock lock = LockState();
            for (const Timer& t : CurrentQueueLocked().timers) {
                if (t.proc == proc) {
                    known = true;
                    break;
                }
            }
        }
        if (known) {
            proc(msg->hwnd, msg->message, msg->wParam, GetTickCount());
        }
        return 0;
    }
    if (msg->message == WM_SYSTIMER) {
        HandleSystemTimer(msg->hwnd, msg->wParam);
        return 0;
    }
    if (!msg->hwnd) {
        return 0;
    }
    unsigned paintCount = 0;
    {
        Lock lock = LockState();
        Window* w = FindLocked(msg->hwnd);
        if (!w) {
            return 0;
        }
        if (w->tid != GetCurrentThreadId()) {
            SetLastError(ERROR_MESSAGE_SYNC_ONLY);
            return 0;
        }
        paintCount = w->paintCount;
    }
    LRESULT result = CallProc(msg->hwnd, msg->message, msg->wParam, msg->lParam);
    if (msg->message == WM_PAINT) {
        // A handler that never called BeginPaint would get WM_PAINT for ever.
        Lock lock = LockState();
        Window* w = FindQuietLocked(msg->hwnd);
        if (w && w->paintCount == paintCount && NeedsPaintLocked(*w)) {
            w->update.Clear();
            w->erase = false;
            w->ncDirty = false;
            w->internalPaint = false;
        }
    }
    return result;
}

BOOL WaitMessage() {
    for (;;) {
        Backend().PumpEvents();
        ProcessIncomingSends();
        Lock lock = LockState();
        ThreadQueue& q = CurrentQueueLocked();
        DrainLocked(q);
        if (!q.incoming.empty()) {
            continue;
        }
        std::uint64_t now = Now();
        if ((q.changeBits & QS_ALLINPUT) || HasNewTimerLocked(q, now)) {
            return TRUE;
        }
        std::uint64_t due = 0;
        int timeout = -1;
        if (NextTimerDueLocked(q, due) && due > q.lastLook) {
            timeout = TimeoutUntil(due);
        }
        int fd = q.wakeFd;
        lock.unlock();
        PresentDirty(GetCurrentThreadId());
        WaitOnQueue(fd, timeout);
    }
}

DWORD MsgWaitForMultipleObjectsEx(DWORD count, const HANDLE* handles, DWORD milliseconds, DWORD wakeMask,
                                  DWORD flags) {
    if (count > MAXIMUM_WAIT_OBJECTS - 1 || (count && !handles)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return WAIT_FAILED;
    }
    std::uint64_t start = GetTickCount64();
    bool waitAll = (flags & MWMO_WAITALL) != 0;
    for (;;) {
        Backend().PumpEvents();
        int fd = -1;
        int timerTimeout = -1;
        {
            Lock lock = LockState();
            ThreadQueue& q = CurrentQueueLocked();
            DrainLocked(q);
            std::uint64_t now = Now();
            UINT bits = (flags & MWMO_INPUTAVAILABLE) ? QueueKindsLocked(q) : q.changeBits;
            if (!(flags & MWMO_INPUTAVAILABLE) && HasNewTimerLocked(q, now)) {
                bits |= QS_TIMER;
            }
            if (!q.incoming.empty()) {
                bits |= QS_SENDMESSAGE;
            }
            if ((bits & wakeMask) && !waitAll) {
                return WAIT_OBJECT_0 + count;
            }
            std::uint64_t due = 0;
            if ((wakeMask & QS_TIMER) && NextTimerDueLocked(q, due) && due > q.lastLook) {
                timerTimeout = TimeoutUntil(due);
            }
            fd = q.wakeFd;
        }
        DWORD wait = milliseconds;
        if (milliseconds != INFINITE) {
            std::uint64_t elapsed = GetTickCount64() - start;
            wait = elapsed >= milliseconds ? 0 : static_cast<DWORD>(milliseconds - elapsed);
        }
        if (timerTimeout >= 0 && (wait == INFINITE || static_cast<DWORD>(timerTimeout) < wait)) {
            wait = static_cast<DWORD>(timerTimeout);
        }
        pollfd fds[2] = {{fd, POLLIN, 0}, {Backend().EventFd(), POLLIN, 0}};
        DWORD fdCount = fds[1].fd >= 0 ? 2 : 1;
        PresentDirty(GetCurrentThreadId());
        DWORD r = WaitForHandlesAndFds(count, handles, waitAll ? 0 : fdCount, fds, waitAll, wait);
        if (r == WAIT_FAILED) {
            return WAIT_FAILED;
        }
        if (r < WAIT_OBJECT_0 + count || (r >= WAIT_ABANDONED_0 && r < WAIT_ABANDONED_0 + count)) {
            return r;
        }
        if (waitAll && r == WAIT_OBJECT_0) {
            return r;
        }
        if (fdCount == 2 && (fds[1].revents & POLLIN)) {
            Backend().PumpEvents();
        }
        if (r == WAIT_TIMEOUT && milliseconds != INFINITE && GetTickCount64() - start >= milliseconds) {
            return WAIT_TIMEOUT;
        }
    }
}

DWORD MsgWaitForMultipleObjects(DWORD count, const HANDLE* handles, BOOL waitAll, DWORD milliseconds,
                                DWORD wakeMask) {
    return MsgWaitForMultipleObjectsEx(count, handles, milliseconds, wakeMask, waitAll ? MWMO_WAITALL : 0);
}

LONG GetMessageTime() {
    Lock lock = LockState();
    return static_cast<LONG>(CurrentQueueLocked().current.time);
}

DWORD GetMessagePos() {
    Lock lock = LockState();
    POINT pt = CurrentQueueLocked().current.pt;
    return static_cast<DWORD>(MAKELONG(pt.x, pt.y));
}

LPARAM GetMessageExtraInfo() {
    Lock lock = LockState();
    return static_cast<LPARAM>(CurrentQueueLocked().extraInfo);
}

LPARAM SetMessageExtraInfo(LPARAM lParam) {
    Lock lock = LockState();
    ThreadQueue& q = CurrentQueueLocked();
    LPARAM old = static_cast<LPARAM>(q.extraInfo);
    q.extraInfo = static_cast<ULONG_PTR>(lParam);
    return old;
}

DWORD GetQueueStatus(UINT flags) {
    Lock lock = LockState();
    ThreadQueue& q = CurrentQueueLocked();
    UINT kinds = QueueKindsLocked(q) & flags;
    UINT changed = q.changeBits & flags;
    q.changeBits &= ~flags;
    return static_cast<DWORD>(MAKELONG(changed, kinds));
}

BOOL GetInputState() {
    Lock lock = LockState();
    return (QueueKindsLocked(CurrentQueueLocked()) & (QS_KEY | QS_MOUSEBUTTON)) != 0;
}

BOOL InSendMessage() {
    Lock lock = LockState();
    ThreadQueue& q = CurrentQueueLocked();
    return !q.receiving.empty() && q.receiving.back()->sender != nullptr;
}

DWORD InSendMessageEx(LPVOID) {
    Lock lock = LockState();
    ThreadQueue& q = CurrentQueueLocked();
    if (q.receiving.empty()) {
        return ISMEX_NOSEND;
    }
    const auto& sm = q.receiving.back();
    DWORD kind = sm->sender ? ISMEX_SEND : ISMEX_NOTIFY;
    if (sm->replied) {
        kind |= ISMEX_REPLIED;
    }
    return kind;
}

BOOL ReplyMessage(LRESULT result) {
    Lock lock = LockState();
    ThreadQueue& q = CurrentQueueLocked();
    if (q.receiving.empty()) {
        return FALSE;
    }
    auto& sm = q.receiving.back();
    if (sm->replied || !sm->sender) {
        return FALSE;
    }
    sm->result = result;
    sm->replied = true;
    sm->done = true;
    WakeLocked(*sm->sender, 0);
    return TRUE;
}
