#include "platform/system/Priority.h"

#include "platform/kernel/Handles.h"

#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <mutex>
#include <vector>

#include <dirent.h>
#include <sys/resource.h>

namespace {

std::atomic<DWORD> g_class{NORMAL_PRIORITY_CLASS};
std::mutex g_setterMutex;
ProcessNiceSetter g_setter;

// The process's threads as /proc/self/task last listed them. The clock setting changes the priority twice a
// second, so the list is kept (with its directory open) and read again only when a thread of it has gone,
// or after a while, for threads started since (they begin with the nice value of the thread that started
// them).
class ThreadList {
public:
    bool SetNice(int nice) {
        std::lock_guard lock(m_mutex);
        const auto now = std::chrono::steady_clock::now();
        if (m_tids.empty() || now - m_readAt > kRereadAfter) {
            Read(now);
        }
        if (m_tids.empty()) {
            return setpriority(PRIO_PROCESS, 0, nice) == 0;
        }
        bool all = true;
        bool gone = false;
        for (const id_t tid : m_tids) {
            if (setpriority(PRIO_PROCESS, tid, nice) != 0) {
                gone = gone || errno == ESRCH;
                all = all && errno == ESRCH;
            }
        }
        if (gone) {
            Read(now);
        }
        return all;
    }

private:
    static constexpr std::chrono::seconds kRereadAfter{10};

    void Read(std::chrono::steady_clock::time_point now) {
        m_tids.clear();
        m_readAt = now;
        if (!m_tasks) {
            m_tasks = opendir("/proc/self/task");
            if (!m_tasks) {
                return;
            }
        } else {
            rewinddir(m_tasks);
        }
        while (dirent* entry = readdir(m_tasks)) {
            if (entry->d_name[0] != '.') {
                m_tids.push_back(static_cast<id_t>(std::strtoul(entry->d_name, nullptr, 10)));
            }
        }
    }

    std::mutex m_mutex;
    DIR* m_tasks = nullptr;
    std::vector<id_t> m_tids;
    std::chrono::steady_clock::time_point m_readAt{};
};

bool SystemNiceSetter(int nice) {
    // Never destroyed: a thread may still change the priority while the process ends.
    static ThreadList* const threads = new ThreadList;
    return threads->SetNice(nice);
}

bool KnownClass(DWORD priorityClass) {
    switch (priorityClass) {
    case IDLE_PRIORITY_CLASS:
    case BELOW_NORMAL_PRIORITY_CLASS:
    case NORMAL_PRIORITY_CLASS:
    case ABOVE_NORMAL_PRIORITY_CLASS:
    case HIGH_PRIORITY_CLASS:
    case REALTIME_PRIORITY_CLASS:
        return true;
    default:
        return false;
    }
}

} // namespace

int NiceValueOfPriorityClass(DWORD priorityClass) {
    switch (priorityClass) {
    case IDLE_PRIORITY_CLASS:
        return 19;
    case BELOW_NORMAL_PRIORITY_CLASS:
        return 5;
    case ABOVE_NORMAL_PRIORITY_CLASS:
        return -5;
    case HIGH_PRIORITY_CLASS:
        return -10;
    case REALTIME_PRIORITY_CLASS:
        return -20;
    default:
        return 0;
    }
}

BOOL SetPriorityClass(HANDLE process, DWORD priorityClass) {
    if (process != GetCurrentProcess()) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    if (!KnownClass(priorityClass)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    ProcessNiceSetter setter;
    {
        std::lock_guard lock(g_setterMutex);
        setter = g_setter;
    }
    const int nice = NiceValueOfPriorityClass(priorityClass);
    // A refusal leaves the old nice value; the class is still the one asked for.
    (setter ? setter : SystemNiceSetter)(nice);
    g_class.store(priorityClass);
    return TRUE;
}

DWORD GetPriorityClass(HANDLE process) {
    if (process != GetCurrentProcess()) {
        SetLastError(ERROR_INVALID_HANDLE);
        return 0;
    }
    return g_class.load();
}

void SetProcessNiceSetter(ProcessNiceSetter setter) {
    std::lock_guard lock(g_setterMutex);
    g_setter = std::move(setter);
}
