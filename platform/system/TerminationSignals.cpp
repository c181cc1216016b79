#include "platform/system/TerminationSignals.h"

#include <csignal>
#include <cstdint>
#include <future>
#include <mutex>
#include <thread>

#include <poll.h>
#include <pthread.h>
#include <sys/eventfd.h>
#include <sys/signalfd.h>
#include <unistd.h>

namespace {

sigset_t TerminationSet() {
    sigset_t set;
    sigemptyset(&set);
    for (int signo : {SIGTERM, SIGINT, SIGHUP}) {
        sigaddset(&set, signo);
    }
    return set;
}

} // namespace

struct TerminationSignalWatcher::State {
    std::function<void(int)> onSignal;
    std::mutex mutex; // guards `taken` and the descriptor's mask
    sigset_t taken{};
    int signalFd = -1;
    int stopFd = -1;
    int tid = 0;
    std::thread thread;

    void Run() {
        for (;;) {
            pollfd fds[2] = {{signalFd, POLLIN, 0}, {stopFd, POLLIN, 0}};
            if (poll(fds, 2, -1) < 0) {
                continue;
            }
            if (fds[1].revents & POLLIN) {
                return;
            }
            signalfd_siginfo info{};
            while (read(signalFd, &info, sizeof info) == static_cast<ssize_t>(sizeof info)) {
                onSignal(static_cast<int>(info.ssi_signo));
            }
        }
    }
};

void BlockTerminationSignalsInThisThread() {
    const sigset_t set = TerminationSet();
    pthread_sigmask(SIG_BLOCK, &set, nullptr);
}

TerminationSignalWatcher::TerminationSignalWatcher(std::initializer_list<int> signals,
                                                   std::function<void(int)> onSignal)
    : state_(std::make_unique<State>()) {
    State& s = *state_;
    s.onSignal = std::move(onSignal);
    sigemptyset(&s.taken);
    for (int signo : signals) {
        sigaddset(&s.taken, signo);
    }
    s.signalFd = signalfd(-1, &s.taken, SFD_NONBLOCK | SFD_CLOEXEC);
    s.stopFd = eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
    std::promise<int> started;
    std::future<int> tid = started.get_future();
    s.thread = std::thread([&s, &started] {
        // Whatever the thread that started it had, this one never lets the three through.
        BlockTerminationSignalsInThisThread();
        started.set_value(static_cast<int>(gettid()));
        s.Run();
    });
    s.tid = tid.get();
}

TerminationSignalWatcher::~TerminationSignalWatcher() {
    const std::uint64_t one = 1;
    [[maybe_unused]] const ssize_t n = write(state_->stopFd, &one, sizeof one);
    state_->thread.join();
    close(state_->signalFd);
    close(state_->stopFd);
}

void TerminationSignalWatcher::Take(int signo) {
    std::lock_guard lock(state_->mutex);
    sigaddset(&state_->taken, signo);
    signalfd(state_->signalFd, &state_->taken, SFD_NONBLOCK | SFD_CLOEXEC);
}

int TerminationSignalWatcher::ThreadId() const {
    return state_->tid;
}
