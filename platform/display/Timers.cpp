// Timers: due times on the display clock; WM_TIMER is made when the queue is otherwise empty, so a timer
// never has more than one pending.
#include "platform/display/DisplayInternal.h"

#include "platform/kernel/Threads.h"

#include <algorithm>

namespace display_detail {
namespace {

ThreadQueue* TimerQueueLocked(HWND hwnd) {
    if (!hwnd) {
        return &CurrentQueueLocked();
    }
    Window* w = FindLocked(hwnd);
    if (!w) {
        return nullptr;
    }
    if (w->tid != GetCurrentThreadId()) {
        SetLastError(ERROR_ACCESS_DENIED);
        return nullptr;
    }
    return &CurrentQueueLocked();
}

UINT_PTR Arm(HWND hwnd, UINT_PTR id, UINT elapse, TIMERPROC proc, bool system) {
    Lock lock = LockState();
    ThreadQueue* q = TimerQueueLocked(hwnd);
    if (!q) {
        return 0;
    }
    elapse = std::clamp<UINT>(elapse, USER_TIMER_MINIMUM, USER_TIMER_MAXIMUM);
    std::uint64_t due = Now() + elapse;
    auto same = [&](const Timer& t) { return t.hwnd == hwnd && t.id == id && t.system == system; };
    if (!hwnd && !system) {
        // A thread timer keeps its id only when it names an existing thread timer.
        if (!id || std::none_of(q->timers.begin(), q->timers.end(), same)) {
            do {
                id = q->nextTimerId++;
                if (q->nextTimerId == 0) {
                    q->nextTimerId = 1;
                }
            } while (std::any_of(q->timers.begin(), q->timers.end(), same));
        }
    }
    auto it = std::find_if(q->timers.begin(), q->timers.end(), same);
    if (it != q->timers.end()) {
        it->elapse = elapse;
        it->proc = proc;
        it->due = due;
    } else {
        q->timers.push_back(Timer{hwnd, id, proc, elapse, due, system});
    }
    WakeLocked(*q, 0);
    return hwnd ? (id ? id : 1) : id;
}

BOOL Disarm(HWND hwnd, UINT_PTR id, bool system) {
    Lock lock = LockState();
    Globals& g = G();
    ThreadQueue* q = nullptr;
    if (hwnd) {
        Window* w = FindLocked(hwnd);
        if (!w) {
            return FALSE;
        }
        auto shared = QueueOfLocked(w->tid);
        q = shared.get();
    } else {
        q = &CurrentQueueLocked();
    }
    (void)g;
    if (!q) {
        return FALSE;
    }
    auto it = std::find_if(q->timers.begin(), q->timers.end(), [&](const Timer& t) {
        return t.hwnd == hwnd && t.id == id && t.system == system;
    });
    if (it == q->timers.end()) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    q->timers.erase(it);
    return TRUE;
}

} // namespace

void SetSystemTimer(HWND hwnd, UINT_PTR id, UINT elapse) {
    Arm(hwnd, id, elapse, nullptr, true);
}

void KillSystemTimer(HWND hwnd, UINT_PTR id) {
    Disarm(hwnd, id, true);
}

void KillWindowTimersLocked(HWND hwnd) {
    for (auto& [tid, q] : G().threads) {
        auto& timers = q->timers;
        timers.erase(
            std::remove_if(timers.begin(), timers.end(), [hwnd](const Timer& t) { return t.hwnd == hwnd; }),
            timers.end());
    }
}

bool NextTimerDueLocked(ThreadQueue& q, std::uint64_t& due) {
    if (q.timers.empty()) {
        return false;
    }
    due = std::min_element(q.timers.begin(), q.timers.end(), [](const Timer& a, const Timer& b) {
              return a.due < b.due;
          })->due;
    return true;
}

} // namespace display_detail

using namespace display_detail;

UINT_PTR SetTimer(HWND hwnd, UINT_PTR id, UINT elapse, TIMERPROC proc) {
    return Arm(hwnd, id, elapse, proc, false);
}

BOOL KillTimer(HWND hwnd, UINT_PTR id) {
    return Disarm(hwnd, id, false);
}
