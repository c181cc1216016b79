#include "tools/simulator/SimulatorLoop.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <poll.h>
#include <pthread.h>
#include <sched.h>
#include <sys/eventfd.h>
#include <sys/prctl.h>
#include <unistd.h>

namespace receiversim {

namespace {

using namespace std::chrono_literals;

// The loop wakes this long before a second's edge and waits out the rest busily: a receiver's pulse comes on
// the microsecond, and a woken thread may come late by much more than that.
constexpr std::chrono::microseconds kEdgeSpin{1500};

std::chrono::nanoseconds PulseWidth(PulseMode mode) {
    switch (mode) {
    case PulseMode::Short:
        return 30us;
    case PulseMode::Hz100:
        return 2ms;
    case PulseMode::Normal:
        break;
    }
    return 100ms;
}

} // namespace

SimulatorLoop::SimulatorLoop(std::unique_ptr<ReceiverEngine> engine, std::unique_ptr<Transport> transport,
                             LoopOptions options)
    : engine_(std::move(engine)), transport_(std::move(transport)), options_(std::move(options)) {
    wakeFd_ = eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
    if (!options_.clock) {
        options_.clock = [] { return UtcInstant(std::chrono::system_clock::now().time_since_epoch()); };
    }
}

SimulatorLoop::~SimulatorLoop() {
    if (wakeFd_ >= 0) {
        close(wakeFd_);
    }
}

UtcInstant SimulatorLoop::Now() const {
    return options_.clock();
}

void SimulatorLoop::Log(const std::string& line) {
    if (!options_.log) {
        return;
    }
    const CalendarTime t = ToCalendar(Now());
    char stamp[32];
    std::snprintf(stamp, sizeof stamp, "%02d:%02d:%02d.%03d ", t.hour, t.minute, t.second,
                  static_cast<int>(t.nanos / 1'000'000));
    options_.log(stamp + line);
}

void SimulatorLoop::TakeEngineLog() {
    for (const std::string& line : engine_->TakeLog()) {
        Log(line);
    }
}

void SimulatorLoop::Stop() {
    stop_.store(true);
    const std::uint64_t one = 1;
    [[maybe_unused]] const ssize_t n = write(wakeFd_, &one, sizeof one);
}

void SimulatorLoop::TriggerSecond(UtcInstant edge) {
    {
        std::lock_guard lock(triggerMutex_);
        triggers_.push_back(edge);
    }
    const std::uint64_t one = 1;
    [[maybe_unused]] const ssize_t n = write(wakeFd_, &one, sizeof one);
}

void SimulatorLoop::WithEngine(const std::function<void(ReceiverEngine&)>& fn) {
    std::lock_guard lock(engineMutex_);
    fn(*engine_);
}

void SimulatorLoop::Run() {
    // Timers of this thread end on time rather than up to 50 us late, and where the system grants it the
    // thread runs before ordinary ones, so that its pulse keeps time on a busy machine (it spins for at
    // most kEdgeSpin a second).
    prctl(PR_SET_TIMERSLACK, 1UL, 0UL, 0UL, 0UL);
    sched_param realtime{};
    realtime.sched_priority = 10;
    pthread_setschedparam(pthread_self(), SCHED_FIFO, &realtime);
    {
        std::lock_guard lock(engineMutex_);
        engine_->SetClock(FloorSecond(ReceiverNow()) - engine_->Options().timeOffset);
        Log(engine_->Name() + " receiver, " + engine_->ProtocolState() + " at " + engine_->Line().ToString() +
            ", on " + transport_->Target());
    }
    if (!options_.manualSeconds) {
        ScheduleNextSecond();
    }
    std::vector<pollfd> fds;
    while (!stop_.load()) {
        const Clock::time_point now = Clock::now();
        ProcessDue(now);
        WriteOutput(now);

        std::chrono::nanoseconds timeout = Timeout(now);
        fds.clear();
        fds.push_back(pollfd{wakeFd_, POLLIN, 0});
        transport_->Prepare(fds, timeout);
        timeout = std::max<std::chrono::nanoseconds>(timeout, 0ns);
        const timespec ts{static_cast<time_t>(timeout.count() / 1'000'000'000),
                          static_cast<long>(timeout.count() % 1'000'000'000)};
        const int ready = ppoll(fds.data(), fds.size(), &ts, nullptr);
        if (ready < 0 && errno != EINTR) {
            Log(std::string("wait failed: ") + std::strerror(errno));
            break;
        }
        if (ready < 0) {
            continue;
        }
        if ((fds[0].revents & POLLIN) != 0) {
            std::uint64_t count = 0;
            [[maybe_unused]] const ssize_t n = read(wakeFd_, &count, sizeof count);
        }
        std::vector<UtcInstant> triggers;
        {
            std::lock_guard lock(triggerMutex_);
            triggers.swap(triggers_);
        }
        for (UtcInstant edge : triggers) {
            FireSecond(edge, Clock::now());
        }
        transport_->Service(fds, 1, *this);
    }
    transport_->SetPpsLevel(false);
}

UtcInstant SimulatorLoop::ReceiverNow() const {
    return Now() + engine_->Options().timeOffset;
}

void SimulatorLoop::ScheduleNextSecond() {
    // The edge marks the receiver's whole second, which is the clock's only when the offset is whole.
    const std::int64_t ns = ReceiverNow().time_since_epoch().count();
    std::int64_t toNext = 1'000'000'000 - ((ns % 1'000'000'000) + 1'000'000'000) % 1'000'000'000;
    if (toNext < 1'000'000) {
        toNext += 1'000'000'000; // too close to catch: the one after
    }
    nextSecond_ = Clock::now() + std::chrono::nanoseconds(toNext);
}

void SimulatorLoop::Rise(Clock::time_point at) {
    riseStarted_ = Clock::now();
    transport_->SetPpsLevel(true);
    riseSent_ = Clock::now();
    fallAt_ = at + PulseWidth(options_.pulse);
}

void SimulatorLoop::FireSecond(UtcInstant label, Clock::time_point at) {
    if (fallAt_) {
        transport_->SetPpsLevel(false);
        fallAt_.reset();
    }
    Rise(at);
    subEdges_.clear();
    if (options_.pulse == PulseMode::Hz100) {
        for (int i = 1; i < 100; ++i) {
            subEdges_.push_back(at + i * 10ms);
        }
    }
    std::vector<Emission> emissions;
    {
        std::lock_guard lock(engineMutex_);
        emissions = engine_->OnSecond(label);
        TakeEngineLog();
    }
    Schedule(std::move(emissions), at);
}

void SimulatorLoop::Schedule(std::vector<Emission> emissions, Clock::time_point base) {
    for (Emission& e : emissions) {
        const Clock::time_point due = base + e.delay;
        scheduled_.emplace(due, std::move(e));
    }
}

void SimulatorLoop::OnData(ByteSpan bytes, const LineSettings& hostLine) {
    std::vector<Emission> answers;
    {
        std::lock_guard lock(engineMutex_);
        answers = engine_->OnReceived(bytes, hostLine);
        TakeEngineLog();
    }
    Schedule(std::move(answers), Clock::now());
}

void SimulatorLoop::OnPurgeOutput() {
    scheduled_.clear();
    out_.clear();
}

void SimulatorLoop::ProcessDue(Clock::time_point now) {
    if (fallAt_ && now >= *fallAt_) {
        transport_->SetPpsLevel(false);
        fallAt_.reset();
    }
    while (!subEdges_.empty() && now >= subEdges_.front()) {
        if (fallAt_) {
            transport_->SetPpsLevel(false);
        }
        Rise(subEdges_.front());
        subEdges_.pop_front();
    }
    if (nextSecond_ && now >= *nextSecond_ - kEdgeSpin) {
        while (Clock::now() < *nextSecond_) {
        }
        const Clock::time_point edge = Clock::now();
        FireSecond(FloorSecond(ReceiverNow() + 500ms) - engine_->Options().timeOffset, edge);
        // How late the pulse went out (a busy machine may hold this thread back), between the hand-over to
        // the transport and its return: what a test of the program's timing must allow for, as the program
        // follows the pulse.
        using std::chrono::microseconds;
        const auto late = std::chrono::duration_cast<microseconds>(riseStarted_ - *nextSecond_);
        const auto sending = std::chrono::duration_cast<microseconds>(riseSent_ - riseStarted_);
        Log("1PPS " + std::to_string(late.count()) + " us late, sent in " + std::to_string(sending.count()) +
            " us");
        ScheduleNextSecond();
    }
    while (!scheduled_.empty() && scheduled_.begin()->first <= now) {
        Emission& e = scheduled_.begin()->second;
        out_.push_back(Outgoing{std::move(e.bytes), 0, e.line, std::move(e.label), false});
        scheduled_.erase(scheduled_.begin());
    }
}

void SimulatorLoop::WriteOutput(Clock::time_point now) {
    if (transport_->OutputHeld()) {
        return;
    }
    while (!out_.empty()) {
        Outgoing& o = out_.front();
        if (!transport_->Connected()) {
            out_.clear();
            break;
        }
        const LineSettings host = transport_->HostLine();
        if (!o.line.Matches(host)) {
            Log("-> " + o.label + (o.started ? ": rest" : "") + " lost: the program listens at " +
                host.ToString() + ", the receiver sends at " + o.line.ToString());
            out_.pop_front();
            continue;
        }
        if (!o.started) {
            Log("-> " + o.label);
            o.started = true;
        }
        std::size_t n = o.bytes.size() - o.sent;
        if (options_.pace) {
            const double cps = o.line.CharactersPerSecond();
            credit_ += std::chrono::duration<double>(now - lastCredit_).count() * cps;
            lastCredit_ = now;
            credit_ = std::min(credit_, std::max(1.0, cps * 0.02)); // no long bursts after a stall
            n = std::min(n, static_cast<std::size_t>(credit_));
            if (n == 0) {
                break;
            }
            credit_ -= static_cast<double>(n);
        }
        transport_->Write(ByteSpan(o.bytes).subspan(o.sent, n));
        o.sent += n;
        if (o.sent < o.bytes.size()) {
            break;
        }
        out_.pop_front();
    }
    if (out_.empty()) {
        // An idle line: the next character may start at once.
        credit_ = 1.0;
        lastCredit_ = now;
    }
}

std::chrono::nanoseconds SimulatorLoop::Timeout(Clock::time_point now) {
    Clock::time_point wake = now + 1s;
    auto earlier = [&](Clock::time_point t) { wake = std::min(wake, t); };
    if (nextSecond_) {
        earlier(*nextSecond_ - kEdgeSpin);
    }
    if (fallAt_) {
        earlier(*fallAt_);
    }
    if (!subEdges_.empty()) {
        earlier(subEdges_.front());
    }
    if (!scheduled_.empty()) {
        earlier(scheduled_.begin()->first);
    }
    if (!out_.empty()) {
        earlier(now + (options_.pace ? 2ms : 10ms));
    }
    return std::chrono::duration_cast<std::chrono::nanoseconds>(wake - now);
}

} // namespace receiversim
