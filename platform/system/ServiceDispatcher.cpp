// The dispatcher half of Services.h: notify messages, and signals as controls.

#include "platform/system/Services.h"

#include "platform/base/CodePage.h"

#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>

#include <fcntl.h>
#include <poll.h>
#include <pthread.h>
#include <sys/eventfd.h>
#include <sys/signalfd.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace {

constexpr int kControlSignals[] = {SIGTERM, SIGUSR1, SIGUSR2};

sigset_t ControlSignalSet() {
    sigset_t set;
    sigemptyset(&set);
    for (int signo : kControlSignals) {
        sigaddset(&set, signo);
    }
    return set;
}

DWORD ControlForSignal(int signo) {
    switch (signo) {
    case SIGTERM:
        return SERVICE_CONTROL_STOP;
    case SIGUSR1:
        return SERVICE_CONTROL_PAUSE;
    case SIGUSR2:
        return SERVICE_CONTROL_CONTINUE;
    default:
        return 0;
    }
}

// Where a thread that has the control signals unblocked passes them on; -1 while no dispatcher runs.
std::atomic<int> g_signalPipe{-1};

extern "C" void ForwardControlSignal(int signo) {
    const int fd = g_signalPipe.load();
    if (fd >= 0) {
        const int saved = errno;
        const unsigned char byte = static_cast<unsigned char>(signo);
        [[maybe_unused]] const ssize_t n = write(fd, &byte, 1);
        errno = saved;
    }
}

// The one running service.
struct Dispatcher {
    std::u16string serviceName;
    LPSERVICE_MAIN_FUNCTIONW serviceMain = nullptr;
    int notifyFd = -1;
    int wakeFd = -1;

    // Guarded by g_mutex.
    LPHANDLER_FUNCTION handler = nullptr;
    LPHANDLER_FUNCTION_EX handlerEx = nullptr;
    LPVOID handlerContext = nullptr;
    bool registered = false;
    SERVICE_STATUS status{};
    bool stopped = false;
    bool mainReturned = false;
    std::deque<DWORD> pending;
};

std::mutex g_mutex;
std::unique_ptr<Dispatcher> g_dispatcher;
SERVICE_STATUS_HANDLE__ g_statusHandle{};

void Wake(const Dispatcher& d) {
    const std::uint64_t one = 1;
    [[maybe_unused]] const ssize_t n = write(d.wakeFd, &one, sizeof one);
}

int ConnectNotifySocket(const char* address) {
    sockaddr_un addr{};
    addr.sun_family = AF_UNIX;
    const std::size_t length = std::strlen(address);
    if (length < 2 || length >= sizeof addr.sun_path || (address[0] != '/' && address[0] != '@')) {
        errno = EINVAL;
        return -1;
    }
    std::memcpy(addr.sun_path, address, length);
    if (address[0] == '@') {
        addr.sun_path[0] = '\0';
    }
    const int fd = socket(AF_UNIX, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    if (fd < 0) {
        return -1;
    }
    const auto size = static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + length);
    if (connect(fd, reinterpret_cast<const sockaddr*>(&addr), size) != 0) {
        const int saved = errno;
        close(fd);
        errno = saved;
        return -1;
    }
    return fd;
}

std::string NotifyMessage(const SERVICE_STATUS& status) {
    std::string message;
    bool pending = false;
    switch (status.dwCurrentState) {
    case SERVICE_START_PENDING:
        message = "STATUS=Starting";
        pending = true;
        break;
    case SERVICE_RUNNING:
        message = "READY=1\nSTATUS=Running";
        break;
    case SERVICE_PAUSE_PENDING:
        message = "STATUS=Pausing";
        pending = true;
        break;
    case SERVICE_PAUSED:
        message = "STATUS=Paused";
        break;
    case SERVICE_CONTINUE_PENDING:
        message = "STATUS=Continuing";
        pending = true;
        break;
    case SERVICE_STOP_PENDING:
        message = "STOPPING=1\nSTATUS=Stopping";
        pending = true;
        break;
    case SERVICE_STOPPED:
        message = "STOPPING=1\nSTATUS=Stopped";
        if (status.dwWin32ExitCode != 0) {
            message += ", exit code " + std::to_string(status.dwWin32ExitCode);
        }
        break;
    default:
        break;
    }
    if (pending && status.dwWaitHint != 0) {
        message += "\nEXTEND_TIMEOUT_USEC=" + std::to_string(std::uint64_t{status.dwWaitHint} * 1000);
    }
    return message;
}

bool Accepts(const SERVICE_STATUS& status, DWORD control) {
    switch (control) {
    case SERVICE_CONTROL_STOP:
        return status.dwControlsAccepted & SERVICE_ACCEPT_STOP;
    case SERVICE_CONTROL_PAUSE:
    case SERVICE_CONTROL_CONTINUE:
        return status.dwControlsAccepted & SERVICE_ACCEPT_PAUSE_CONTINUE;
    case SERVICE_CONTROL_SHUTDOWN:
        return status.dwControlsAccepted & SERVICE_ACCEPT_SHUTDOWN;
    default:
        return true;
    }
}

// Hands the pending controls that the service takes now to its handler, on this (the dispatcher's)
// thread. A stop not yet accepted waits; other controls not accepted are refused.
void DeliverControls(Dispatcher& d) {
    for (;;) {
        DWORD control = 0;
        LPHANDLER_FUNCTION handler = nullptr;
        LPHANDLER_FUNCTION_EX handlerEx = nullptr;
        LPVOID context = nullptr;
        {
            std::lock_guard lock(g_mutex);
            if (!d.registered || d.stopped) {
                return;
            }
            auto it = d.pending.begin();
            while (it != d.pending.end() && !Accepts(d.status, *it)) {
                it = *it == SERVICE_CONTROL_STOP ? it + 1 : d.pending.erase(it);
            }
            if (it == d.pending.end()) {
                return;
            }
            control = *it;
            d.pending.erase(it);
            handler = d.handler;
            handlerEx = d.handlerEx;
            context = d.handlerContext;
        }
        if (handlerEx) {
            handlerEx(control, 0, nullptr, context);
        } else if (handler) {
            handler(control);
        }
    }
}

void QueueControl(Dispatcher& d, DWORD control) {
    std::lock_guard lock(g_mutex);
    d.pending.push_back(control);
}

void DrainWake(int fd) {
    std::uint64_t value = 0;
    [[maybe_unused]] const ssize_t n = read(fd, &value, sizeof value);
}

// Everything the dispatcher sets up around its loop, and puts back after it.
class DispatcherResources {
public:
    ~DispatcherResources() {
        g_signalPipe.store(-1);
        for (std::size_t i = 0; i < std::size(kControlSignals); ++i) {
            if (actionsSaved_) {
                sigaction(kControlSignals[i], &oldActions_[i], nullptr);
            }
        }
        if (maskSaved_) {
            pthread_sigmask(SIG_SETMASK, &oldMask_, nullptr);
        }
        for (int fd : {signalFd, pipeRead, pipeWrite, wakeFd, notifyFd}) {
            if (fd >= 0) {
                close(fd);
            }
        }
    }

    bool Open(const char* notifySocket) {
        notifyFd = ConnectNotifySocket(notifySocket);
        if (notifyFd < 0) {
            return false;
        }
        wakeFd = eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
        int pipeFds[2];
        if (wakeFd < 0 || pipe2(pipeFds, O_CLOEXEC | O_NONBLOCK) != 0) {
            return false;
        }
        pipeRead = pipeFds[0];
        pipeWrite = pipeFds[1];
        const sigset_t signals = ControlSignalSet();
        pthread_sigmask(SIG_BLOCK, &signals, &oldMask_);
        maskSaved_ = true;
        signalFd = signalfd(-1, &signals, SFD_CLOEXEC | SFD_NONBLOCK);
        if (signalFd < 0) {
            return false;
        }
        g_signalPipe.store(pipeWrite);
        struct sigaction action {};
        action.sa_handler = ForwardControlSignal;
        action.sa_flags = SA_RESTART;
        sigemptyset(&action.sa_mask);
        for (std::size_t i = 0; i < std::size(kControlSignals); ++i) {
            sigaction(kControlSignals[i], &action, &oldActions_[i]);
        }
        actionsSaved_ = true;
        return true;
    }

    int notifyFd = -1;
    int wakeFd = -1;
    int signalFd = -1;
    int pipeRead = -1;
    int pipeWrite = -1;

private:
    sigset_t oldMask_{};
    bool maskSaved_ = false;
    struct sigaction oldActions_[std::size(kControlSignals)]{};
    bool actionsSaved_ = false;
};

void RunLoop(Dispatcher& d, const DispatcherResources& res) {
    for (;;) {
        DeliverControls(d);
        {
            std::lock_guard lock(g_mutex);
            if (d.mainReturned && (d.stopped || !d.registered)) {
                return;
            }
        }
        pollfd fds[3] = {{res.signalFd, POLLIN, 0}, {res.pipeRead, POLLIN, 0}, {res.wakeFd, POLLIN, 0}};
        if (poll(fds, 3, -1) < 0) {
            continue;
        }
        if (fds[0].revents & POLLIN) {
            signalfd_siginfo info{};
            while (read(res.signalFd, &info, sizeof info) == static_cast<ssize_t>(sizeof info)) {
                QueueControl(d, ControlForSignal(static_cast<int>(info.ssi_signo)));
            }
        }
        if (fds[1].revents & POLLIN) {
            unsigned char signals[64];
            ssize_t n = 0;
            while ((n = read(res.pipeRead, signals, sizeof signals)) > 0) {
                for (ssize_t i = 0; i < n; ++i) {
                    QueueControl(d, ControlForSignal(signals[i]));
                }
            }
        }
        if (fds[2].revents & POLLIN) {
            DrainWake(res.wakeFd);
        }
    }
}

SERVICE_STATUS_HANDLE Register(LPCWSTR serviceName, LPHANDLER_FUNCTION handler,
                               LPHANDLER_FUNCTION_EX handlerEx, LPVOID context) {
    std::lock_guard lock(g_mutex);
    Dispatcher* d = g_dispatcher.get();
    auto sameName = [](LPCWSTR a, const std::u16string& b) {
        std::u16string_view av(a);
        if (av.size() != b.size()) {
            return false;
        }
        for (std::size_t i = 0; i < b.size(); ++i) {
            auto lower = [](char16_t c) {
                return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c + 32) : c;
            };
            if (lower(av[i]) != lower(b[i])) {
                return false;
            }
        }
        return true;
    };
    if (!d || !serviceName || !sameName(serviceName, d->serviceName)) {
        SetLastError(ERROR_SERVICE_NOT_IN_EXE);
        return nullptr;
    }
    if (!handler && !handlerEx) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    d->handler = handler;
    d->handlerEx = handlerEx;
    d->handlerContext = context;
    d->registered = true;
    Wake(*d);
    return &g_statusHandle;
}

} // namespace

void BlockServiceSignalsInThisThread() {
    // Started from the desktop no dispatcher would ever take them.
    if (!StartedByServiceManager()) {
        return;
    }
    const sigset_t signals = ControlSignalSet();
    pthread_sigmask(SIG_BLOCK, &signals, nullptr);
}

bool StartedByServiceManager() {
    const char* notifySocket = std::getenv("NOTIFY_SOCKET");
    return notifySocket && *notifySocket;
}

BOOL StartServiceCtrlDispatcherW(const SERVICE_TABLE_ENTRYW* serviceTable) {
    {
        std::lock_guard lock(g_mutex);
        if (g_dispatcher) {
            SetLastError(ERROR_SERVICE_ALREADY_RUNNING);
            return FALSE;
        }
    }
    const char* notifySocket = std::getenv("NOTIFY_SOCKET");
    if (!notifySocket || !*notifySocket) {
        SetLastError(ERROR_FAILED_SERVICE_CONTROLLER_CONNECT);
        return FALSE;
    }
    if (!serviceTable || !serviceTable[0].lpServiceName || !*serviceTable[0].lpServiceName ||
        !serviceTable[0].lpServiceProc) {
        SetLastError(ERROR_INVALID_DATA);
        return FALSE;
    }
    DispatcherResources res;
    if (!res.Open(notifySocket)) {
        SetLastError(ERROR_FAILED_SERVICE_CONTROLLER_CONNECT);
        return FALSE;
    }
    Dispatcher* d = nullptr;
    {
        std::lock_guard lock(g_mutex);
        if (g_dispatcher) {
            SetLastError(ERROR_SERVICE_ALREADY_RUNNING);
            return FALSE;
        }
        g_dispatcher = std::make_unique<Dispatcher>();
        d = g_dispatcher.get();
        d->serviceName = serviceTable[0].lpServiceName;
        d->serviceMain = serviceTable[0].lpServiceProc;
        d->notifyFd = res.notifyFd;
        d->wakeFd = res.wakeFd;
    }

    // ServiceMain gets the service name as its only argument, as the original passes it. The thread starts
    // with the control signals blocked (it inherits this thread's mask).
    std::u16string argument = d->serviceName;
    LPWSTR argv[2] = {argument.data(), nullptr};
    std::thread serviceThread;
    try {
        serviceThread = std::thread([d, &argv] {
            d->serviceMain(1, argv);
            std::lock_guard lock(g_mutex);
            d->mainReturned = true;
            Wake(*d);
        });
    } catch (const std::system_error&) {
        std::lock_guard lock(g_mutex);
        g_dispatcher.reset();
        SetLastError(ERROR_SERVICE_NO_THREAD);
        return FALSE;
    }

    RunLoop(*d, res);
    serviceThread.join();
    {
        std::lock_guard lock(g_mutex);
        g_dispatcher.reset();
    }
    return TRUE;
}

SERVICE_STATUS_HANDLE RegisterServiceCtrlHandlerW(LPCWSTR serviceName, LPHANDLER_FUNCTION handler) {
    return Register(serviceName, handler, nullptr, nullptr);
}

SERVICE_STATUS_HANDLE RegisterServiceCtrlHandlerExW(LPCWSTR serviceName, LPHANDLER_FUNCTION_EX handler,
                                                    LPVOID context) {
    return Register(serviceName, nullptr, handler, context);
}

BOOL SetServiceStatus(SERVICE_STATUS_HANDLE statusHandle, LPSERVICE_STATUS status) {
    std::lock_guard lock(g_mutex);
    Dispatcher* d = g_dispatcher.get();
    if (!d || !d->registered || statusHandle != &g_statusHandle) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    if (!status || status->dwCurrentState < SERVICE_STOPPED || status->dwCurrentState > SERVICE_PAUSED) {
        SetLastError(ERROR_INVALID_DATA);
        return FALSE;
    }
    const std::string message = NotifyMessage(*status);
    if (send(d->notifyFd, message.data(), message.size(), MSG_NOSIGNAL) < 0) {
        SetLastErrorFromErrno();
        return FALSE;
    }
    d->status = *status;
    if (status->dwCurrentState == SERVICE_STOPPED) {
        d->stopped = true;
    }
    // Controls held back may be accepted now; a stop ends the loop.
    Wake(*d);
    return TRUE;
}

BOOL PostServiceControl(DWORD control) {
    std::lock_guard lock(g_mutex);
    Dispatcher* d = g_dispatcher.get();
    if (!d) {
        SetLastError(ERROR_SERVICE_NOT_ACTIVE);
        return FALSE;
    }
    d->pending.push_back(control);
    Wake(*d);
    return TRUE;
}
