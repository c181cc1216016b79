// The modem-line watcher of tty ports, run over a pty with stand-ins for the modem-line calls: the wait
// blocks in a pipe read (which the stop signal interrupts as it does TIOCMIWAIT), the levels and counters
// are the test's.
#include "SerialTestSupport.h"

#include "platform/serial/TtyDevice.h"

#include <sys/ioctl.h>

#include <cerrno>
#include <memory>
#include <mutex>
#include <unistd.h>

namespace serialtest {
namespace {

using doliva::serial::kLineDcd;
using doliva::serial::ModemSample;

struct Lines {
    std::mutex mutex;
    DWORD levels = 0;
    std::array<std::uint32_t, 4> counts{};
    std::vector<int> waitedOn;
    int interrupted = 0;
    bool noWait = false;
    int pipe[2] = {-1, -1};
};

Lines* g_lines = nullptr;

class TtyWatcherTest : public SerialTest {
protected:
    void SetUp() override {
        SerialTest::SetUp();
        lines_ = std::make_unique<Lines>();
        ASSERT_EQ(pipe(lines_->pipe), 0);
        g_lines = lines_.get();
        doliva::serial::SetTtyModemCallsForTests({
            [](int, int lines) -> int {
                {
                    std::lock_guard lock(g_lines->mutex);
                    g_lines->waitedOn.push_back(lines);
                    if (g_lines->noWait) {
                        errno = ENOTTY;
                        return -1;
                    }
                }
                char c;
                if (read(g_lines->pipe[0], &c, 1) < 0) {
                    const int err = errno;
                    std::lock_guard lock(g_lines->mutex);
                    g_lines->interrupted += err == EINTR ? 1 : 0;
                    errno = err;
                    return -1;
                }
                return 0;
            },
            [](int, ModemSample* sample) {
                std::lock_guard lock(g_lines->mutex);
                sample->levels = g_lines->levels;
                sample->haveCounts = true;
                sample->counts = g_lines->counts;
                return true;
            },
        });
        pty_ = std::make_unique<PtyPair>();
        env_ = std::make_unique<ScopedEnv>("DOLIVA_COM3", pty_->SlavePath());
        port_ = OpenPort(u"COM3");
        ASSERT_NE(port_, INVALID_HANDLE_VALUE);
    }
    void TearDown() override {
        if (port_ != nullptr && port_ != INVALID_HANDLE_VALUE) {
            CloseHandle(port_);
        }
        doliva::serial::SetTtyModemCallsForTests({});
        env_.reset();
        pty_.reset();
        close(lines_->pipe[0]);
        close(lines_->pipe[1]);
        g_lines = nullptr;
        SerialTest::TearDown();
    }

    // Changes DCD by `transitions` to `high`; `wake` lets the blocked wait return, as the driver would.
    void Dcd(bool high, std::uint32_t transitions, bool wake = true) {
        {
            std::lock_guard lock(lines_->mutex);
            lines_->levels = high ? MS_RLSD_ON : 0;
            lines_->counts[kLineDcd] += transitions;
        }
        if (wake) {
            ASSERT_EQ(write(lines_->pipe[1], "x", 1), 1);
        }
    }

    bool WaitingOn(int lines) {
        for (int i = 0; i < 5000; ++i) {
            {
                std::lock_guard lock(lines_->mutex);
                if (!lines_->waitedOn.empty() && lines_->waitedOn.back() == lines) {
                    return true;
                }
            }
            Sleep(1);
        }
        return false;
    }

    int Interrupted() {
        std::lock_guard lock(lines_->mutex);
        return lines_->interrupted;
    }

    std::unique_ptr<Lines> lines_;
    std::unique_ptr<PtyPair> pty_;
    std::unique_ptr<ScopedEnv> env_;
    HANDLE port_ = nullptr;
};

TEST_F(TtyWatcherTest, EdgesAndShortPulsesReachWaitCommEvent) {
    EXPECT_TRUE(PortSupportsModemLines(port_));
    ASSERT_TRUE(SetCommMask(port_, EV_RLSD | EV_RXCHAR));
    ASSERT_TRUE(WaitingOn(TIOCM_CD));

    const UtcInstant before = CurrentUtc();
    Dcd(true, 1);
    EXPECT_EQ(WaitEvents(port_), DWORD{EV_RLSD});
    ModemEdgeStamp stamp{};
    ASSERT_TRUE(GetCommEventStamp(port_, &stamp));
    EXPECT_EQ(stamp.dcd.rises, 1u);
    EXPECT_GE(stamp.dcd.lastRise.seconds * 1'000'000'000 + stamp.dcd.lastRise.nanoseconds,
              before.seconds * 1'000'000'000 + before.nanoseconds);
    DWORD modem = 0;
    ASSERT_TRUE(GetCommModemStatus(port_, &modem));
    EXPECT_EQ(modem, DWORD{MS_RLSD_ON});

    Dcd(false, 1);
    EXPECT_EQ(WaitEvents(port_), DWORD{EV_RLSD});
    // Rose and fell before the watcher read it: two transitions, low level.
    Dcd(false, 2);
    EXPECT_EQ(WaitEvents(port_), DWORD{EV_RLSD});
    ASSERT_TRUE(GetCommEventStamp(port_, &stamp));
    EXPECT_EQ(stamp.dcd.rises, 2u);
    EXPECT_TRUE(stamp.dcd.lastWasPulse);
}

TEST_F(TtyWatcherTest, AMaskChangeMovesTheWaitToTheNewLines) {
    ASSERT_TRUE(SetCommMask(port_, EV_RLSD));
    ASSERT_TRUE(WaitingOn(TIOCM_CD));
    ASSERT_TRUE(SetCommMask(port_, EV_DSR | EV_CTS));
    EXPECT_TRUE(WaitingOn(TIOCM_DSR | TIOCM_CTS));
    EXPECT_GE(Interrupted(), 1);

    // No modem bits: the watcher rests; a change meanwhile is not reported once the lines are wanted again.
    ASSERT_TRUE(SetCommMask(port_, EV_RXCHAR));
    Dcd(true, 1, false);
    ASSERT_TRUE(SetCommMask(port_, EV_RLSD));
    ASSERT_TRUE(WaitingOn(TIOCM_CD));
    Overlapped o;
    DWORD events = 0;
    EXPECT_TRUE(Pending(WaitCommEvent(port_, &events, &o.ov)));
    Dcd(false, 1);
    DWORD ignored = 0;
    ASSERT_TRUE(Finish(port_, o, &ignored));
    EXPECT_EQ(events, DWORD{EV_RLSD});
}

TEST_F(TtyWatcherTest, ClosingStopsABlockedWatcher) {
    ASSERT_TRUE(SetCommMask(port_, EV_RLSD));
    ASSERT_TRUE(WaitingOn(TIOCM_CD));
    EXPECT_TRUE(CloseHandle(port_));
    port_ = nullptr;
    EXPECT_GE(Interrupted(), 1);
}

TEST_F(TtyWatcherTest, WithoutTheWaitCallTheLinesArePolled) {
    {
        std::lock_guard lock(lines_->mutex);
        lines_->noWait = true;
    }
    ASSERT_TRUE(SetCommMask(port_, EV_RLSD));
    Overlapped o;
    DWORD events = 0;
    ASSERT_TRUE(Pending(WaitCommEvent(port_, &events, &o.ov)));
    Dcd(true, 1, false);
    DWORD ignored = 0;
    ASSERT_TRUE(Finish(port_, o, &ignored));
    EXPECT_EQ(events, DWORD{EV_RLSD});
    std::lock_guard lock(lines_->mutex);
    EXPECT_EQ(lines_->waitedOn.size(), 1u); // tried once, then polled
}

} // namespace
} // namespace serialtest
