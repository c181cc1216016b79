// The termination signals taken by a thread of their own: each one taken reaches the callback on that
// thread, and a signal taken later (SIGTERM when no dispatcher takes it) does too. The signals are aimed at
// the watcher thread alone, so that no other thread of the test process can meet them.
#include "platform/system/TerminationSignals.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <vector>

namespace {

TEST(TerminationSignals, TakenSignalsReachTheCallbackOnTheWatcherThread) {
    std::mutex mutex;
    std::condition_variable arrived;
    std::vector<int> seen;
    std::vector<int> threads;
    TerminationSignalWatcher watcher({SIGHUP}, [&](int signo) {
        std::lock_guard lock(mutex);
        seen.push_back(signo);
        threads.push_back(static_cast<int>(gettid()));
        arrived.notify_all();
    });
    auto send = [&](int signo, std::size_t count) {
        syscall(SYS_tgkill, getpid(), watcher.ThreadId(), signo);
        std::unique_lock lock(mutex);
        return arrived.wait_for(lock, std::chrono::seconds(5), [&] { return seen.size() >= count; });
    };

    ASSERT_TRUE(send(SIGHUP, 1));
    watcher.Take(SIGTERM);
    ASSERT_TRUE(send(SIGTERM, 2));
    EXPECT_EQ(seen, (std::vector<int>{SIGHUP, SIGTERM}));
    EXPECT_EQ(threads, (std::vector<int>{watcher.ThreadId(), watcher.ThreadId()}));
}

} // namespace
