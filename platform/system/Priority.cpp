#include "platform/system/Priority.h"

#include "platform/kernel/Handles.h"

#include <atomic>
#include <cstdlib>
#include <mutex>

#include <dirent.h>
#include <sys/resource.h>

namespace {

std::atomic<DWORD> g_class{NORMAL_PRIORITY_CLASS};
std::mutex g_setterMutex;
ProcessNiceSetter g_setter;

bool SystemNiceSetter(int nice) {
    bool all = true;
    DIR* tasks = opendir("/proc/self/task");
    if (!tasks) {
        return setpriority(PRIO_PROCESS, 0, nice) == 0;
    }
    while (dirent* entry = readdir(tasks)) {
        if (entry->d_name[0] == '.') {
            continue;
        }
        const auto tid = static_cast<id_t>(std::strtoul(entry->d_name, nullptr, 10));
        if (setpriority(PRIO_PROCESS, tid, nice) != 0) {
            all = false;
        }
    }
    closedir(tasks);
    return all;
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
