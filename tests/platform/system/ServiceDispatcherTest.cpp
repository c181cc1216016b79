// The service dispatcher: failing at once outside systemd, notify messages for the status reports, and
// signals delivered to the handler as controls.

#include "SystemTestSupport.h"

#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <csignal>
#include <cstddef>
#include <cstring>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <sys/wait.h>

using namespace system_test;

namespace {

// The receiving end of NOTIFY_SOCKET, as systemd holds it.
class NotifyReceiver {
public:
    // A path, or "@name" for an abstract socket.
    explicit NotifyReceiver(std::string address) : m_address(std::move(address)) {
        m_fd = socket(AF_UNIX, SOCK_DGRAM | SOCK_CLOEXEC, 0);
        sockaddr_un addr{};
        addr.sun_family = AF_UNIX;
        std::memcpy(addr.sun_path, m_address.data(), m_address.size());
        if (m_address[0] == '@') {
            addr.sun_path[0] = '\0';
        }
        const auto size = static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + m_address.size());
        EXPECT_EQ(bind(m_fd, reinterpret_cast<sockaddr*>(&addr), size), 0) << std::strerror(errno);
    }
    ~NotifyReceiver() { close(m_fd); }
    NotifyReceiver(const NotifyReceiver&) = delete;
    NotifyReceiver& operator=(const NotifyReceiver&) = delete;

    const std::string& Address() const { return m_address; }

    // The next datagram; nothing after a generous wait, so that a fault fails instead of hanging.
    std::optional<std::string> Receive() {
        pollfd pfd{m_fd, POLLIN, 0};
        if (poll(&pfd, 1, 30'000) != 1) {
            return std::nullopt;
        }
        char buf[1024];
        const ssize_t n = recv(m_fd, buf, sizeof buf, 0);
        return n < 0 ? std::nullopt
                     : std::optional<std::string>(std::string(buf, static_cast<std::size_t>(n)));
    }

private:
    std::string m_address;
    int m_fd = -1;
};

const char16_t kServiceName[] = u"DolivaService";

// A service as the program writes one: it reports start-pending then running, pauses and continues on
// request, re-reports its state for anything else, and stops on the stop control.
struct ServiceRun {
    std::mutex mutex;
    std::condition_variable changed;
    bool stopRequested = false;
    SERVICE_STATUS_HANDLE handle = nullptr;
    SERVICE_STATUS status{};
    std::vector<DWORD> controls;
    std::vector<std::thread::id> handlerThreads;
    std::thread::id mainThread;
    std::u16string argument;
    bool postStopWhileStarting = false;
    bool controlBeforeRunning = false;
};
ServiceRun* g_run = nullptr;

void Report(DWORD state, DWORD checkpoint, DWORD waitHint) {
    g_run->status.dwServiceType = SERVICE_WIN32_OWN_PROCESS;
    g_run->status.dwCurrentState = state;
    g_run->status.dwControlsAccepted =
        state == SERVICE_START_PENDING ? 0 : SERVICE_ACCEPT_STOP | SERVICE_ACCEPT_PAUSE_CONTINUE;
    g_run->status.dwCheckPoint = checkpoint;
    g_run->status.dwWaitHint = waitHint;
    EXPECT_TRUE(SetServiceStatus(g_run->handle, &g_run->status)) << GetLastError();
}

void Handler(DWORD control) {
    {
        std::lock_guard lock(g_run->mutex);
        g_run->controls.push_back(control);
        g_run->handlerThreads.push_back(std::this_thread::get_id());
    }
    switch (control) {
    case SERVICE_CONTROL_STOP: {
        Report(SERVICE_STOP_PENDING, 1, 3000);
        std::lock_guard lock(g_run->mutex);
        g_run->stopRequested = true;
        g_run->changed.notify_all();
        break;
    }
    case SERVICE_CONTROL_PAUSE:
        Report(SERVICE_PAUSED, 0, 0);
        break;
    case SERVICE_CONTROL_CONTINUE:
        Report(SERVICE_RUNNING, 0, 0);
        break;
    default:
        Report(g_run->status.dwCurrentState, 0, 0);
    }
}

void ServiceMain(DWORD argc, LPWSTR* argv) {
    g_run->mainThread = std::this_thread::get_id();
    if (argc >= 1) {
        g_run->argument = argv[0];
    }
    g_run->handle = RegisterServiceCtrlHandlerW(kServiceName, Handler);
    if (!g_run->handle) {
        return;
    }
    Report(SERVICE_START_PENDING, 1, 6000);
    if (g_run->postStopWhileStarting) {
        PostServiceControl(SERVICE_CONTROL_STOP);
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        std::lock_guard lock(g_run->mutex);
        g_run->controlBeforeRunning = !g_run->controls.empty();
    }
    Report(SERVICE_RUNNING, 0, 0);
    {
        std::unique_lock lock(g_run->mutex);
        g_run->changed.wait(lock, [] { return g_run->stopRequested; });
    }
    Report(SERVICE_STOPPED, 0, 0);
}

SERVICE_TABLE_ENTRYW g_table[] = {{const_cast<LPWSTR>(kServiceName), ServiceMain}, {nullptr, nullptr}};

// Runs the dispatcher on a thread of its own, as the program does.
class DispatcherThread {
public:
    DispatcherThread() {
        m_thread = std::thread([this] {
            m_id = std::this_thread::get_id();
            m_result = StartServiceCtrlDispatcherW(g_table);
        });
    }
    ~DispatcherThread() {
        if (m_thread.joinable()) {
            m_thread.join();
        }
    }
    BOOL Join() {
        m_thread.join();
        return m_result;
    }
    std::thread::id Id() const { return m_id; }

private:
    std::thread m_thread;
    std::thread::id m_id;
    BOOL m_result = FALSE;
};

std::string Abstract(const char* what) {
    return "@doliva-" + std::string(what) + "-" + std::to_string(getpid());
}

} // namespace

TEST(ServiceDispatcher, WithoutSystemdItFailsAtOnceWith1063) {
    ScopedEnv notify("NOTIFY_SOCKET", nullptr);
    ServiceRun run;
    g_run = &run;
    EXPECT_FALSE(StartServiceCtrlDispatcherW(g_table));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FAILED_SERVICE_CONTROLLER_CONNECT));
    EXPECT_EQ(run.mainThread, std::thread::id());
    g_run = nullptr;
}

TEST(ServiceDispatcher, CallsOutsideARunningServiceAreRefused) {
    NotifyReceiver receiver(Abstract("refused"));
    ScopedEnv notify("NOTIFY_SOCKET", receiver.Address());
    SERVICE_TABLE_ENTRYW empty[] = {{nullptr, nullptr}};
    EXPECT_FALSE(StartServiceCtrlDispatcherW(empty));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_DATA));
    EXPECT_EQ(RegisterServiceCtrlHandlerW(kServiceName, Handler), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SERVICE_NOT_IN_EXE));
    SERVICE_STATUS status{};
    status.dwCurrentState = SERVICE_RUNNING;
    EXPECT_FALSE(SetServiceStatus(nullptr, &status));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
    EXPECT_FALSE(PostServiceControl(SERVICE_CONTROL_STOP));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SERVICE_NOT_ACTIVE));
}

TEST(ServiceDispatcher, StatusReportsBecomeNotifyMessagesAndControlsRunOnTheDispatcherThread) {
    NotifyReceiver receiver(Abstract("notify"));
    ScopedEnv notify("NOTIFY_SOCKET", receiver.Address());
    ServiceRun run;
    g_run = &run;
    DispatcherThread dispatcher;

    EXPECT_EQ(receiver.Receive(), "STATUS=Starting\nEXTEND_TIMEOUT_USEC=6000000");
    EXPECT_EQ(receiver.Receive(), "READY=1\nSTATUS=Running");
    ASSERT_TRUE(PostServiceControl(SERVICE_CONTROL_PAUSE));
    EXPECT_EQ(receiver.Receive(), "STATUS=Paused");
    // Interrogate re-reports the current state: still paused.
    ASSERT_TRUE(PostServiceControl(SERVICE_CONTROL_INTERROGATE));
    EXPECT_EQ(receiver.Receive(), "STATUS=Paused");
    ASSERT_TRUE(PostServiceControl(SERVICE_CONTROL_CONTINUE));
    EXPECT_EQ(receiver.Receive(), "READY=1\nSTATUS=Running");
    ASSERT_TRUE(PostServiceControl(SERVICE_CONTROL_STOP));
    EXPECT_EQ(receiver.Receive(), "STOPPING=1\nSTATUS=Stopping\nEXTEND_TIMEOUT_USEC=3000000");
    EXPECT_EQ(receiver.Receive(), "STOPPING=1\nSTATUS=Stopped");

    EXPECT_TRUE(dispatcher.Join());
    EXPECT_EQ(run.argument, kServiceName);
    EXPECT_NE(run.mainThread, dispatcher.Id());
    EXPECT_EQ(run.controls, (std::vector<DWORD>{SERVICE_CONTROL_PAUSE, SERVICE_CONTROL_INTERROGATE,
                                                SERVICE_CONTROL_CONTINUE, SERVICE_CONTROL_STOP}));
    for (std::thread::id id : run.handlerThreads) {
        EXPECT_EQ(id, dispatcher.Id());
    }
    // The dispatcher is gone: a new run may start.
    EXPECT_FALSE(PostServiceControl(SERVICE_CONTROL_STOP));
    g_run = nullptr;
}

TEST(ServiceDispatcher, AStopBeforeTheServiceAcceptsStopsIsHeldUntilItDoes) {
    NotifyReceiver receiver(Abstract("held"));
    ScopedEnv notify("NOTIFY_SOCKET", receiver.Address());
    ServiceRun run;
    run.postStopWhileStarting = true;
    g_run = &run;
    DispatcherThread dispatcher;
    EXPECT_TRUE(dispatcher.Join());
    EXPECT_FALSE(run.controlBeforeRunning);
    EXPECT_EQ(run.controls, std::vector<DWORD>{SERVICE_CONTROL_STOP});
    g_run = nullptr;
}

TEST(ServiceDispatcher, ControlSignalsAreBlockedOnlyWhenSystemdStartedTheProgram) {
    sigset_t controls;
    sigemptyset(&controls);
    for (int signo : {SIGTERM, SIGUSR1, SIGUSR2}) {
        sigaddset(&controls, signo);
    }
    sigset_t old;
    pthread_sigmask(SIG_UNBLOCK, &controls, &old);
    auto blocked = [] {
        sigset_t now;
        pthread_sigmask(SIG_SETMASK, nullptr, &now);
        return sigismember(&now, SIGTERM) && sigismember(&now, SIGUSR1) && sigismember(&now, SIGUSR2);
    };
    {
        ScopedEnv notify("NOTIFY_SOCKET", nullptr);
        BlockServiceSignalsInThisThread();
        EXPECT_FALSE(blocked());
    }
    {
        ScopedEnv notify("NOTIFY_SOCKET", "/run/systemd/notify");
        BlockServiceSignalsInThisThread();
        EXPECT_TRUE(blocked());
    }
    pthread_sigmask(SIG_SETMASK, &old, nullptr);
}

// Real signals, in a child process so that nothing else in the test process can take them. With
// `blockEverywhere` the child blocks them first, as the program does; without, its main thread leaves them
// unblocked and the layer's handler passes them on.
class ServiceSignals : public ::testing::TestWithParam<bool> {};

TEST_P(ServiceSignals, SigtermSigusr1AndSigusr2ReachTheHandlerAsControls) {
    const bool blockEverywhere = GetParam();
    ScratchDir dir;
    NotifyReceiver receiver(dir / "notify");
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        ServiceRun run;
        g_run = &run;
        setenv("NOTIFY_SOCKET", receiver.Address().c_str(), 1);
        BOOL ok = FALSE;
        std::thread::id dispatcherId;
        if (blockEverywhere) {
            BlockServiceSignalsInThisThread();
            dispatcherId = std::this_thread::get_id();
            ok = StartServiceCtrlDispatcherW(g_table);
        } else {
            DispatcherThread dispatcher;
            ok = dispatcher.Join();
            dispatcherId = dispatcher.Id();
        }
        bool sameThread = !run.handlerThreads.empty();
        for (std::thread::id id : run.handlerThreads) {
            sameThread = sameThread && id == dispatcherId;
        }
        const bool controls =
            run.controls ==
            std::vector<DWORD>{SERVICE_CONTROL_PAUSE, SERVICE_CONTROL_CONTINUE, SERVICE_CONTROL_STOP};
        _exit(ok && sameThread && controls ? 0 : 1);
    }

    struct Step {
        int signal; // sent after the message before it arrived; 0 for none
        const char* message;
    };
    const Step steps[] = {
        {0, "STATUS=Starting\nEXTEND_TIMEOUT_USEC=6000000"},
        {0, "READY=1\nSTATUS=Running"},
        {SIGUSR1, "STATUS=Paused"},
        {SIGUSR2, "READY=1\nSTATUS=Running"},
        {SIGTERM, "STOPPING=1\nSTATUS=Stopping\nEXTEND_TIMEOUT_USEC=3000000"},
        {0, "STOPPING=1\nSTATUS=Stopped"},
    };
    bool allArrived = true;
    for (const Step& step : steps) {
        if (step.signal != 0) {
            kill(child, step.signal);
        }
        const std::optional<std::string> message = receiver.Receive();
        EXPECT_EQ(message, step.message);
        if (message != step.message) {
            allArrived = false;
            break;
        }
    }
    if (!allArrived) {
        kill(child, SIGKILL);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status)) << status;
    EXPECT_EQ(WEXITSTATUS(status), 0);
}

INSTANTIATE_TEST_SUITE_P(, ServiceSignals, ::testing::Values(true, false),
                         [](const ::testing::TestParamInfo<bool>& info) {
                             return info.param ? "BlockedInEveryThread" : "UnblockedInTheMainThread";
                         });
