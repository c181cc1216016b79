#include "platform/kernel/Threads.h"

#include "platform/kernel/KernelDetail.h"

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <optional>
#include <pthread.h>
#include <sys/eventfd.h>
#include <sys/resource.h>
#include <unistd.h>

using namespace kernel_detail;

namespace {

// Requests below this are raised to it: sanitizer builds need far larger frames than the original's.
constexpr std::size_t kStackFloor = 1024 * 1024;

class ThreadObject : public KernelObject {
public:
    void FinishLocked(DWORD code) {
        if (!ended) {
            exitCode = code;
            ended = true;
            SetSignalledLocked(true);
        }
    }

    // The start gate: the creator learns the thread id, and a suspended thread waits for ResumeThread.
    std::mutex gateMutex;
    std::condition_variable gate;
    DWORD suspendCount = 0;
    std::atomic<DWORD> tid{0};

    LPTHREAD_START_ROUTINE start = nullptr;
    LPVOID parameter = nullptr;

    // Guarded by the state lock.
    DWORD exitCode = STILL_ACTIVE;
    bool ended = false;
    int priority = THREAD_PRIORITY_NORMAL;

    // Touched only by the thread itself.
    DWORD pendingExitCode = 0;
};

// What the layer keeps per thread. Its destructor runs when the thread ends, for threads the layer started
// and for any other thread that used it, so that mutexes the thread still owns are abandoned.
struct ThreadState {
    std::shared_ptr<ThreadObject> self;
    bool startedByLayer = false;
    int wakeFd = -1;
    unsigned wakeGeneration = 0;

    ~ThreadState();
};

thread_local bool t_stateGone = false;
thread_local DWORD t_tid = 0;
thread_local unsigned t_tidGeneration = 0;

ThreadState* State() {
    if (t_stateGone) {
        return nullptr;
    }
    thread_local ThreadState state;
    return &state;
}

ThreadState::~ThreadState() {
    t_stateGone = true;
    NotifyThreadEnded(CurrentTid());
    if (self && !startedByLayer) {
        auto lock = KernelObject::LockState();
        self->FinishLocked(self->pendingExitCode);
    }
    if (wakeFd >= 0) {
        close(wakeFd);
    }
}

std::shared_ptr<ThreadObject> SelfObject() {
    ThreadState* state = State();
    if (state == nullptr) {
        return nullptr;
    }
    if (!state->self) {
        state->self = std::make_shared<ThreadObject>();
        state->self->tid = CurrentTid();
    }
    return state->self;
}

int NiceFor(int priority) {
    switch (priority) {
    case THREAD_PRIORITY_IDLE:
        return 19;
    case THREAD_PRIORITY_LOWEST:
        return 10;
    case THREAD_PRIORITY_BELOW_NORMAL:
        return 5;
    case THREAD_PRIORITY_ABOVE_NORMAL:
        return -5;
    case THREAD_PRIORITY_HIGHEST:
        return -10;
    case THREAD_PRIORITY_TIME_CRITICAL:
        return -20;
    default:
        return 0;
    }
}

bool IsValidPriority(int priority) {
    return priority == THREAD_PRIORITY_IDLE || priority == THREAD_PRIORITY_TIME_CRITICAL ||
           (priority >= THREAD_PRIORITY_LOWEST && priority <= THREAD_PRIORITY_HIGHEST);
}

void* ThreadMain(void* argument) {
    std::shared_ptr<ThreadObject> self;
    {
        std::unique_ptr<std::shared_ptr<ThreadObject>> handoff(
            static_cast<std::shared_ptr<ThreadObject>*>(argument));
        self = std::move(*handoff);
    }
    ThreadState* state = State();
    state->self = self;
    state->startedByLayer = true;
    {
        std::unique_lock lock(self->gateMutex);
        self->tid = CurrentTid();
        self->gate.notify_all();
        self->gate.wait(lock, [&] { return self->suspendCount == 0; });
    }

    // Runs on return and on ExitThread's unwinding alike. Owned mutexes are abandoned before the handle is
    // signalled, so that whoever waited for the thread finds them abandoned.
    struct Finisher {
        ThreadObject& thread;
        std::optional<DWORD> returned;
        ~Finisher() {
            NotifyThreadEnded(CurrentTid());
            auto lock = KernelObject::LockState();
            thread.FinishLocked(returned ? *returned : thread.pendingExitCode);
        }
    } finisher{*self, std::nullopt};
    finisher.returned = self->start(self->parameter);
    return nullptr;
}

} // namespace

DWORD kernel_detail::CurrentTid() {
    const unsigned generation = ForkGeneration();
    if (t_tidGeneration != generation) {
        t_tid = static_cast<DWORD>(gettid());
        t_tidGeneration = generation;
    }
    return t_tid;
}

int kernel_detail::CurrentWakeFd() {
    ThreadState* state = State();
    if (state == nullptr) {
        return -1;
    }
    const unsigned generation = ForkGeneration();
    if (state->wakeFd >= 0 && state->wakeGeneration != generation) {
        close(state->wakeFd);
        state->wakeFd = -1;
    }
    if (state->wakeFd < 0) {
        state->wakeFd = eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
        state->wakeGeneration = generation;
    }
    return state->wakeFd;
}

std::shared_ptr<KernelObject> kernel_detail::CurrentThreadObject() {
    return SelfObject();
}

void kernel_detail::EnsureThreadEndHook() {
    State();
}

HANDLE CreateThread(LPSECURITY_ATTRIBUTES, SIZE_T stackSize, LPTHREAD_START_ROUTINE start, LPVOID parameter,
                    DWORD creationFlags, LPDWORD threadId) {
    if (start == nullptr ||
        (creationFlags & ~DWORD{CREATE_SUSPENDED | STACK_SIZE_PARAM_IS_A_RESERVATION}) != 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    auto thread = std::make_shared<ThreadObject>();
    thread->start = start;
    thread->parameter = parameter;
    thread->suspendCount = (creationFlags & CREATE_SUSPENDED) ? 1 : 0;

    pthread_attr_t attributes;
    pthread_attr_init(&attributes);
    pthread_attr_setdetachstate(&attributes, PTHREAD_CREATE_DETACHED);
    if (stackSize != 0) {
        const auto page = static_cast<std::size_t>(sysconf(_SC_PAGESIZE));
        const std::size_t size = (std::max<std::size_t>(stackSize, kStackFloor) + page - 1) / page * page;
        pthread_attr_setstacksize(&attributes, size);
    }
    auto* handoff = new std::shared_ptr<ThreadObject>(thread);
    pthread_t id;
    const int rc = pthread_create(&id, &attributes, &ThreadMain, handoff);
    pthread_attr_destroy(&attributes);
    if (rc != 0) {
        delete handoff;
        SetLastError(rc == EAGAIN ? ERROR_NOT_ENOUGH_MEMORY : Win32ErrorFromErrno(rc));
        return nullptr;
    }
    {
        std::unique_lock lock(thread->gateMutex);
        thread->gate.wait(lock, [&] { return thread->tid != 0; });
    }
    if (threadId != nullptr) {
        *threadId = thread->tid;
    }
    return RegisterKernelObject(std::move(thread));
}

DWORD ResumeThread(HANDLE handle) {
    auto thread = LookupKernelObjectAs<ThreadObject>(handle);
    if (!thread) {
        return static_cast<DWORD>(-1);
    }
    std::lock_guard lock(thread->gateMutex);
    const DWORD previous = thread->suspendCount;
    if (previous > 0 && --thread->suspendCount == 0) {
        thread->gate.notify_all();
    }
    return previous;
}

BOOL GetExitCodeThread(HANDLE handle, LPDWORD exitCode) {
    auto thread = LookupKernelObjectAs<ThreadObject>(handle);
    if (!thread) {
        return FALSE;
    }
    if (exitCode == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    auto lock = KernelObject::LockState();
    *exitCode = thread->exitCode;
    return TRUE;
}

void ExitThread(DWORD exitCode) {
    if (std::shared_ptr<ThreadObject> self = SelfObject()) {
        self->pendingExitCode = exitCode;
    }
    pthread_exit(nullptr);
}

HANDLE GetCurrentThread() {
    return reinterpret_cast<HANDLE>(static_cast<std::uintptr_t>(-2));
}

HRESULT SetThreadDescription(HANDLE thread, LPCWSTR description) {
    if (thread != GetCurrentThread()) {
        return E_NOTIMPL;
    }
    if (!description) {
        return E_INVALIDARG;
    }
    char name[16] = {};
    for (std::size_t i = 0; i < sizeof name - 1 && description[i]; ++i) {
        name[i] = description[i] < 0x80 ? static_cast<char>(description[i]) : '?';
    }
    return pthread_setname_np(pthread_self(), name) == 0 ? S_OK : E_FAIL;
}

DWORD GetCurrentThreadId() {
    return CurrentTid();
}

DWORD GetThreadId(HANDLE handle) {
    auto thread = LookupKernelObjectAs<ThreadObject>(handle);
    return thread ? thread->tid.load() : 0;
}

DWORD GetCurrentProcessId() {
    return static_cast<DWORD>(getpid());
}

BOOL SetThreadPriority(HANDLE handle, int priority) {
    if (!IsValidPriority(priority)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    auto thread = LookupKernelObjectAs<ThreadObject>(handle);
    if (!thread) {
        return FALSE;
    }
    const int savedErrno = errno;
    auto lock = KernelObject::LockState();
    thread->priority = priority;
    // Under the lock the thread cannot be marked ended, so its id is still its own and not a reused one.
    if (!thread->ended) {
        setpriority(PRIO_PROCESS, static_cast<id_t>(thread->tid.load()), NiceFor(priority));
    }
    errno = savedErrno;
    return TRUE;
}

int GetThreadPriority(HANDLE handle) {
    auto thread = LookupKernelObjectAs<ThreadObject>(handle);
    if (!thread) {
        return THREAD_PRIORITY_ERROR_RETURN;
    }
    auto lock = KernelObject::LockState();
    return thread->priority;
}
