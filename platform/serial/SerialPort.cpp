#include "platform/serial/SerialPort.h"

#include "platform/kernel/Sync.h"
#include "platform/kernel/Threads.h"
#include "platform/kernel/Ticks.h"

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <ctime>
#include <poll.h>
#include <pthread.h>
#include <sys/eventfd.h>
#include <unistd.h>

namespace doliva::serial {

namespace {

constexpr std::size_t kMinInputCapacity = 16 * 1024;
constexpr std::int64_t kMs = 1'000'000;
// Input that keeps coming is gathered some characters' time at a time, as a USB adapter's latency timer
// gathers it, rather than read piece by piece as the device hands it over (the kernel keeps it meanwhile,
// and stamps what matters). It is reported (EV_RXCHAR) once a look finds the line quiet, at the look two
// characters after the event character (so that a line end's LF comes along), and at the latest after a
// while of unbroken input: a receive thread then wakes about once per message.
constexpr std::int64_t kGatherCharacters = 32;
constexpr std::int64_t kEventCharacterLag = 2;
constexpr std::int64_t kMinGatherNs = 1 * 1'000'000;
constexpr std::int64_t kMaxGatherNs = 40 * 1'000'000;
constexpr std::int64_t kArrivalHoldNs = 80 * 1'000'000;
// Output held for DSR or CTS is looked at this often; so is a write waiting for its bytes to leave.
constexpr std::int64_t kHoldRecheckNs = 1 * kMs;
constexpr std::int64_t kDrainRecheckNs = 2 * kMs;
// A total time-out this long counts as none (it cannot pass in any run).
constexpr std::uint64_t kForeverMs = std::uint64_t{1} << 40;

std::int64_t NowNs() {
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return static_cast<std::int64_t>(ts.tv_sec) * 1'000'000'000 + ts.tv_nsec;
}

void Earliest(std::int64_t* next, std::int64_t when) {
    if (*next < 0 || when < *next) {
        *next = when;
    }
}

bool ValidDcb(const DCB& dcb) {
    if (dcb.BaudRate == 0 || dcb.ByteSize < 5 || dcb.ByteSize > 8 || dcb.Parity > SPACEPARITY ||
        dcb.StopBits > TWOSTOPBITS) {
        return false;
    }
    if ((dcb.fOutX || dcb.fInX) && dcb.XonChar == dcb.XoffChar) {
        return false;
    }
    return true;
}

} // namespace

std::thread StartQuietThread(std::function<void()> body) {
    sigset_t all;
    sigset_t old;
    sigfillset(&all);
    pthread_sigmask(SIG_SETMASK, &all, &old);
    std::thread thread(std::move(body));
    pthread_sigmask(SIG_SETMASK, &old, nullptr);
    return thread;
}

struct SerialPort::Request {
    enum class Kind { Read, Write, Wait };
    enum class ReadMode { Immediate, FirstBytes, Full };

    Kind kind = Kind::Read;
    LPOVERLAPPED overlapped = nullptr;
    DWORD tid = 0;
    std::uint8_t* in = nullptr;
    const std::uint8_t* out = nullptr;
    DWORD size = 0;
    DWORD done = 0;
    DWORD* events = nullptr;
    DWORD eventValue = 0;

    ReadMode mode = ReadMode::Full;
    std::int64_t deadline = -1; // monotonic ns
    std::int64_t intervalNs = 0;
    std::int64_t lastByte = 0;
    bool draining = false;
};

// The port as its devices see it. Calls stop reaching the port once it is disarmed, and disarming waits for
// a call in progress.
class SerialPort::Events final : public PortEvents {
public:
    explicit Events(SerialPort* port) : port_(port) {}

    void OnModemSample(const ModemSample& sample) override {
        std::lock_guard lock(mutex_);
        if (port_ != nullptr) {
            port_->ModemSampleArrived(sample);
        }
    }
    void OnModemRebase(const ModemSample& sample) override {
        std::lock_guard lock(mutex_);
        if (port_ != nullptr) {
            port_->ModemRebase(sample);
        }
    }
    void WakeEngine() override {
        std::lock_guard lock(mutex_);
        if (port_ != nullptr) {
            port_->Wake();
        }
    }
    void Disarm() {
        std::lock_guard lock(mutex_);
        port_ = nullptr;
    }

private:
    std::mutex mutex_;
    SerialPort* port_;
};

SerialPort::SerialPort(std::unique_ptr<SerialDevice> device, bool overlapped)
    : device_(std::move(device)), overlapped_(overlapped), events_(std::make_shared<Events>(this)),
      inCapacity_(kMinInputCapacity) {}

SerialPort::~SerialPort() {
    Shutdown();
}

DWORD SerialPort::Start() {
    wakeFd_ = eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    if (wakeFd_ < 0) {
        return Win32ErrorFromErrno(errno);
    }
    {
        std::lock_guard lock(mutex_);
        dcb_ = device_->InitialState();
        dcb_.DCBlength = sizeof(DCB);
        modemLines_ = device_->SupportsModemLines();
        ModemSample sample;
        if (modemLines_ && device_->SampleModem(&sample)) {
            modem_.Rebase(sample);
        }
    }
    device_->Attach(events_);
    engine_ = StartQuietThread([this] {
        pthread_setname_np(pthread_self(), "port service");
        EngineLoop();
    });
    return 0;
}

void SerialPort::HandleClosed(bool lastHandle) {
    if (lastHandle) {
        Shutdown();
    }
}

void SerialPort::Shutdown() {
    Completions done;
    {
        std::lock_guard lock(mutex_);
        if (closed_) {
            return;
        }
        closed_ = true;
        stopping_ = true;
        AbortAllLocked(ERROR_OPERATION_ABORTED, done);
    }
    Fire(done);
    events_->Disarm();
    device_->Detach();
    if (engine_.joinable()) {
        Wake();
        engine_.join();
    }
    {
        std::lock_guard lock(mutex_);
        device_->Close();
    }
    if (wakeFd_ >= 0) {
        close(wakeFd_);
        wakeFd_ = -1;
    }
}

void SerialPort::Wake() {
    const std::uint64_t one = 1;
    if (wakeFd_ >= 0) {
        while (write(wakeFd_, &one, sizeof one) < 0 && errno == EINTR) {
        }
    }
}

void SerialPort::Fire(Completions& done) {
    for (Completion& c : done) {
        if (c.events != nullptr) {
            *c.events = c.eventValue;
        }
        io_detail::CompleteOverlapped(*this, c.overlapped, c.error, c.bytes);
    }
    done.clear();
}

void SerialPort::FinishLocked(std::unique_ptr<Request> request, DWORD error, Completions& done) {
    done.push_back(
        Completion{request->overlapped, error, request->done, request->events, request->eventValue});
}

void SerialPort::AbortAllLocked(DWORD error, Completions& done) {
    for (auto& read : reads_) {
        FinishLocked(std::move(read), error, done);
    }
    reads_.clear();
    for (auto& write : writes_) {
        FinishLocked(std::move(write), error, done);
    }
    writes_.clear();
    if (wait_) {
        wait_->eventValue = 0;
        FinishLocked(std::move(wait_), error, done);
    }
}

void SerialPort::GoneLocked(Completions& done) {
    if (!gone_) {
        gone_ = true;
        AbortAllLocked(ERROR_ACCESS_DENIED, done);
    }
}

void SerialPort::RaiseLocked(DWORD events, Completions& done) {
    events &= mask_;
    if (events == 0) {
        return;
    }
    if (wait_) {
        wait_->eventValue = events;
        FinishLocked(std::move(wait_), 0, done);
    } else {
        history_ |= events;
    }
}

// ---- requests

BOOL SerialPort::Issue(std::unique_ptr<Request> request, LPOVERLAPPED overlapped, LPDWORD transferred) {
    const bool async = overlapped_;
    if (async && overlapped == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    OVERLAPPED local{};
    HANDLE event = nullptr;
    if (!async) {
        event = CreateEventW(nullptr, TRUE, FALSE, nullptr);
        if (event == nullptr) {
            return FALSE;
        }
        local.hEvent = event;
        overlapped = &local;
    }
    request->overlapped = overlapped;
    request->tid = GetCurrentThreadId();

    Completions done;
    DWORD error = 0;
    Submit submitted;
    {
        std::lock_guard lock(mutex_);
        submitted = SubmitLocked(request, done, &error);
    }
    Fire(done);

    if (submitted == Submit::Failed) {
        if (event != nullptr) {
            CloseHandle(event);
        }
        SetLastError(error);
        return FALSE;
    }
    if (submitted == Submit::Pending) {
        if (async) {
            if (transferred != nullptr) {
                *transferred = 0;
            }
            SetLastError(ERROR_IO_PENDING);
            return FALSE;
        }
        DWORD ignored = 0;
        while (!io_detail::OverlappedDone(local, &error, &ignored)) {
            WaitForSingleObject(event, INFINITE);
        }
    }
    DWORD bytes = 0;
    io_detail::OverlappedDone(*overlapped, &error, &bytes);
    if (event != nullptr) {
        CloseHandle(event);
    }
    if (transferred != nullptr) {
        *transferred = bytes;
    }
    if (error != 0) {
        SetLastError(error);
        return FALSE;
    }
    return TRUE;
}

SerialPort::Submit SerialPort::SubmitLocked(std::unique_ptr<Request>& request, Completions& done,
                                            DWORD* error) {
    if (stopping_) {
        *error = ERROR_OPERATION_ABORTED;
        return Submit::Failed;
    }
    if (gone_) {
        *error = ERROR_ACCESS_DENIED;
        return Submit::Failed;
    }
    const std::int64_t now = NowNs();
    Request& r = *request;
    switch (r.kind) {
    case Request::Kind::Read: {
        const COMMTIMEOUTS& t = timeouts_;
        std::uint64_t totalMs = kForeverMs;
        if (t.ReadIntervalTimeout == MAXDWORD) {
            if (t.ReadTotalTimeoutMultiplier == 0 && t.ReadTotalTimeoutConstant == 0) {
                r.mode = Request::ReadMode::Immediate;
            } else {
                r.mode = Request::ReadMode::FirstBytes;
                const std::uint64_t multiplier =
                    t.ReadTotalTimeoutMultiplier == MAXDWORD ? 0 : t.ReadTotalTimeoutMultiplier;
                if (t.ReadTotalTimeoutConstant != MAXDWORD) {
                    totalMs = multiplier * r.size + t.ReadTotalTimeoutConstant;
                }
            }
        } else {
            r.mode = Request::ReadMode::Full;
            if (t.ReadTotalTimeoutMultiplier != 0 || t.ReadTotalTimeoutConstant != 0) {
                totalMs = std::uint64_t{t.ReadTotalTimeoutMultiplier} * r.size + t.ReadTotalTimeoutConstant;
            }
            r.intervalNs = static_cast<std::int64_t>(t.ReadIntervalTimeout) * kMs;
        }
        if (totalMs < kForeverMs) {
            r.deadline = now + static_cast<std::int64_t>(totalMs) * kMs;
        }
        io_detail::BeginOverlapped(*this, r.overlapped);
        std::int64_t next = -1;
        if (reads_.empty() && ServiceReadLocked(r, now, &next)) {
            FinishLocked(std::move(request), 0, done);
            if (input_.empty() && device_->InputPending()) {
                Wake();
            }
            return Submit::Done;
        }
        reads_.push_back(std::move(request));
        Wake();
        return Submit::Pending;
    }
    case Request::Kind::Write: {
        const COMMTIMEOUTS& t = timeouts_;
        if (t.WriteTotalTimeoutMultiplier != 0 || t.WriteTotalTimeoutConstant != 0) {
            const std::uint64_t totalMs =
                std::uint64_t{t.WriteTotalTimeoutMultiplier} * r.size + t.WriteTotalTimeoutConstant;
            if (totalMs < kForeverMs) {
                r.deadline = now + static_cast<std::int64_t>(totalMs) * kMs;
            }
        }
        io_detail::BeginOverlapped(*this, r.overlapped);
        if (r.size == 0) {
            FinishLocked(std::move(request), 0, done);
            return Submit::Done;
        }
        writes_.push_back(std::move(request));
        Wake();
        return Submit::Pending;
    }
    case Request::Kind::Wait:
        if (wait_ || mask_ == 0) {
            *error = ERROR_INVALID_PARAMETER;
            return Submit::Failed;
        }
        io_detail::BeginOverlapped(*this, r.overlapped);
        if (history_ != 0) {
            r.eventValue = history_;
            history_ = 0;
            FinishLocked(std::move(request), 0, done);
            return Submit::Done;
        }
        wait_ = std::move(request);
        return Submit::Pending;
    }
    *error = ERROR_INVALID_PARAMETER;
    return Submit::Failed;
}

BOOL SerialPort::Read(LPVOID buffer, DWORD bytesToRead, LPDWORD bytesRead, LPOVERLAPPED overlapped) {
    auto request = std::make_unique<Request>();
    request->kind = Request::Kind::Read;
    request->in = static_cast<std::uint8_t*>(buffer);
    request->size = bytesToRead;
    return Issue(std::move(request), overlapped, bytesRead);
}

BOOL SerialPort::Write(LPCVOID buffer, DWORD bytesToWrite, LPDWORD bytesWritten, LPOVERLAPPED overlapped) {
    auto request = std::make_unique<Request>();
    request->kind = Request::Kind::Write;
    request->out = static_cast<const std::uint8_t*>(buffer);
    request->size = bytesToWrite;
    return Issue(std::move(request), overlapped, bytesWritten);
}

BOOL SerialPort::WaitEvent(DWORD* events, LPOVERLAPPED overlapped) {
    auto request = std::make_unique<Request>();
    request->kind = Request::Kind::Wait;
    request->events = events;
    return Issue(std::move(request), overlapped, nullptr);
}

std::size_t SerialPort::Cancel(DWORD tid, LPOVERLAPPED overlapped) {
    Completions done;
    std::size_t count = 0;
    {
        std::lock_guard lock(mutex_);
        auto matches = [&](const Request& r) {
            return (tid == 0 || r.tid == tid) && (overlapped == nullptr || r.overlapped == overlapped);
        };
        for (auto* queue : {&reads_, &writes_}) {
            for (auto it = queue->begin(); it != queue->end();) {
                if (matches(**it)) {
                    FinishLocked(std::move(*it), ERROR_OPERATION_ABORTED, done);
                    it = queue->erase(it);
                    ++count;
                } else {
                    ++it;
                }
            }
        }
        if (wait_ && matches(*wait_)) {
            wait_->eventValue = 0;
            FinishLocked(std::move(wait_), ERROR_OPERATION_ABORTED, done);
            ++count;
        }
    }
    Fire(done);
    Wake();
    return count;
}

BOOL SerialPort::Flush() {
    for (;;) {
        {
            std::lock_guard lock(mutex_);
            if (gone_) {
                SetLastError(ERROR_ACCESS_DENIED);
                return FALSE;
            }
            if (writes_.empty() && device_->OutQueue() == 0) {
                return TRUE;
            }
        }
        Sleep(2);
    }
}

// ---- the engine

bool SerialPort::ServiceReadLocked(Request& r, std::int64_t now, std::int64_t* next) {
    const std::size_t take = std::min<std::size_t>(r.size - r.done, input_.size());
    if (take > 0) {
        std::copy_n(input_.begin(), take, r.in + r.done);
        input_.erase(input_.begin(), input_.begin() + static_cast<std::ptrdiff_t>(take));
        r.done += static_cast<DWORD>(take);
        r.lastByte = now;
    }
    if (r.done == r.size) {
        return true;
    }
    if (r.mode == Request::ReadMode::Immediate || (r.mode == Request::ReadMode::FirstBytes && r.done > 0)) {
        return true;
    }
    if (r.deadline >= 0) {
        if (now >= r.deadline) {
            return true;
        }
        Earliest(next, r.deadline);
    }
    if (r.intervalNs > 0 && r.done > 0) {
        if (now - r.lastByte >= r.intervalNs) {
            return true;
        }
        Earliest(next, r.lastByte + r.intervalNs);
    }
    return false;
}

bool SerialPort::WriteHeldLocked(bool* ctsHold, bool* dsrHold) {
    *ctsHold = false;
    *dsrHold = false;
    if (device_->OutputSuspended()) {
        return true;
    }
    const bool needDsr = dcb_.fOutxDsrFlow && modemLines_;
    const bool needCts = dcb_.fOutxCtsFlow && modemLines_ && device_->NeedsLayerCtsFlow();
    if (!needDsr && !needCts) {
        return false;
    }
    DWORD levels = modem_.Levels();
    ModemSample sample;
    if (device_->SampleModem(&sample)) {
        levels = sample.levels;
    }
    *dsrHold = needDsr && (levels & MS_DSR_ON) == 0;
    *ctsHold = needCts && (levels & MS_CTS_ON) == 0;
    return *dsrHold || *ctsHold;
}

bool SerialPort::ServiceWriteLocked(Request& w, std::int64_t now, std::int64_t* next, Completions& done) {
    if (!w.draining) {
        bool ctsHold = false;
        bool dsrHold = false;
        if (WriteHeldLocked(&ctsHold, &dsrHold)) {
            Earliest(next, now + kHoldRecheckNs);
        } else {
            while (w.done < w.size) {
                DWORD error = 0;
                const long n = device_->Write(w.out + w.done, w.size - w.done, &error);
                if (n < 0) {
                    GoneLocked(done); // ends `w` too
                    return false;
                }
                if (n == 0) {
                    writeBlocked_ = true;
                    break;
                }
                w.done += static_cast<DWORD>(n);
            }
            w.draining = w.done == w.size;
        }
    }
    std::size_t queued = 0;
    if (w.draining) {
        queued = device_->OutQueue();
        if (queued == 0) {
            return true;
        }
        Earliest(next, now + kDrainRecheckNs);
    }
    if (w.deadline >= 0) {
        if (now >= w.deadline) {
            // What has not left the device by now is not sent at all: the caller writes the rest again.
            queued = device_->OutQueue();
            if (queued > 0) {
                device_->Purge(false, true);
            }
            w.done -= static_cast<DWORD>(std::min<std::size_t>(queued, w.done));
            return true;
        }
        Earliest(next, w.deadline);
    }
    return false;
}

std::int64_t SerialPort::CharacterNs() const {
    // Start bit, data bits, parity and stop bits.
    const std::int64_t bits =
        1 + dcb_.ByteSize + (dcb_.fParity ? 1 : 0) + (dcb_.StopBits == TWOSTOPBITS ? 2 : 1);
    return bits * 1'000'000'000 / std::max<std::int64_t>(dcb_.BaudRate, 1);
}

std::int64_t SerialPort::GatherNs() const {
    return std::clamp(kGatherCharacters * CharacterNs(), kMinGatherNs, kMaxGatherNs);
}

void SerialPort::NoteArrivalLocked(bool eventChar) {
    const std::int64_t now = NowNs();
    if (!arrival_.unreported) {
        arrival_ = Arrival{};
        arrival_.unreported = true;
        arrival_.reportBy = now + kArrivalHoldNs;
    }
    gatherUntil_ = now + GatherNs();
    if (eventChar) {
        arrival_.eventChar = true;
        if (arrival_.eventLookAt == 0) {
            arrival_.eventLookAt = now + std::min(kEventCharacterLag * CharacterNs(), GatherNs());
        }
        gatherUntil_ = std::min(gatherUntil_, arrival_.eventLookAt);
    }
}

void SerialPort::GatherLocked(Completions& done) {
    const std::int64_t now = NowNs();
    DeviceInput in;
    device_->ReadInput(in, POLLIN, input_.empty());
    gatherUntil_ = 0;
    const bool quiet = in.data.empty();
    TakeInputLocked(in, done);
    if (arrival_.unreported && (quiet || (arrival_.eventLookAt != 0 && now >= arrival_.eventLookAt))) {
        arrival_.reportBy = now;
    }
}

void SerialPort::ReportArrivalLocked(std::int64_t now, std::int64_t* next, Completions& done) {
    if (!arrival_.unreported) {
        return;
    }
    if (now < arrival_.reportBy) {
        Earliest(next, arrival_.reportBy);
        return;
    }
    RaiseLocked(arrival_.eventChar ? EV_RXCHAR | EV_RXFLAG : EV_RXCHAR, done);
    arrival_ = Arrival{};
}

std::int64_t SerialPort::ServiceLocked(Completions& done) {
    const std::int64_t now = NowNs();
    std::int64_t next = -1;
    ReportArrivalLocked(now, &next, done);
    while (!reads_.empty() && ServiceReadLocked(*reads_.front(), now, &next)) {
        std::unique_ptr<Request> read = std::move(reads_.front());
        reads_.pop_front();
        FinishLocked(std::move(read), 0, done);
    }
    while (!gone_ && !writes_.empty()) {
        Request& head = *writes_.front();
        if (!ServiceWriteLocked(head, now, &next, done)) {
            break;
        }
        std::unique_ptr<Request> write = std::move(writes_.front());
        writes_.pop_front();
        FinishLocked(std::move(write), 0, done);
        if (writes_.empty() && device_->OutQueue() == 0) {
            RaiseLocked(EV_TXEMPTY, done);
        }
    }
    if (!gone_ && input_.empty() && device_->InputPending()) {
        next = now;
    }
    return next;
}

void SerialPort::TakeInputLocked(DeviceInput& in, Completions& done) {
    if (!in.data.empty()) {
        const std::size_t room = inCapacity_ > input_.size() ? inCapacity_ - input_.size() : 0;
        const std::size_t n = std::min(room, in.data.size());
        if (n < in.data.size()) {
            in.errors |= CE_RXOVER;
        }
        input_.insert(input_.end(), in.data.begin(), in.data.begin() + static_cast<std::ptrdiff_t>(n));
        NoteArrivalLocked(std::find(in.data.begin(), in.data.begin() + static_cast<std::ptrdiff_t>(n),
                                    static_cast<std::uint8_t>(dcb_.EvtChar)) !=
                          in.data.begin() + static_cast<std::ptrdiff_t>(n));
    }
    for (const ModemSample& sample : in.modem) {
        RaiseLocked(modem_.Apply(sample), done);
    }
    if (in.errors != 0) {
        errors_ |= in.errors;
        DWORD events = 0;
        if (in.errors & (CE_FRAME | CE_OVERRUN | CE_RXPARITY | CE_RXOVER)) {
            events |= EV_ERR;
        }
        if (in.errors & CE_BREAK) {
            events |= EV_BREAK;
        }
        RaiseLocked(events, done);
    }
    if (in.gone) {
        GoneLocked(done);
    }
}

void SerialPort::EngineLoop() {
    Completions done;
    std::unique_lock lock(mutex_);
    while (!stopping_) {
        if (!gone_ && input_.empty() && device_->InputPending()) {
            DeviceInput in;
            device_->ReadInput(in, 0, true);
            TakeInputLocked(in, done);
        }
        if (!gone_ && gatherUntil_ != 0 && NowNs() >= gatherUntil_) {
            GatherLocked(done);
        }
        writeBlocked_ = false;
        std::int64_t next = gone_ ? -1 : ServiceLocked(done);
        pollfd fds[2] = {{wakeFd_, POLLIN, 0}, {-1, 0, 0}};
        nfds_t count = 1;
        if (!gone_ && device_->PollFd() >= 0) {
            short events = device_->PollEvents(writeBlocked_);
            if (gatherUntil_ != 0) {
                events = static_cast<short>(events & ~POLLIN);
                Earliest(&next, gatherUntil_);
            }
            fds[1] = pollfd{device_->PollFd(), events, 0};
            count = 2;
        }
        const bool roomForData = input_.empty();
        lock.unlock();
        Fire(done);

        timespec timeout{};
        const timespec* timeoutPtr = nullptr;
        if (next >= 0) {
            const std::int64_t wait = std::max<std::int64_t>(0, next - NowNs());
            timeout =
                timespec{static_cast<time_t>(wait / 1'000'000'000), static_cast<long>(wait % 1'000'000'000)};
            timeoutPtr = &timeout;
        }
        const int n = ppoll(fds, count, timeoutPtr, nullptr);

        lock.lock();
        if (n > 0 && fds[0].revents != 0) {
            std::uint64_t value = 0;
            while (read(wakeFd_, &value, sizeof value) < 0 && errno == EINTR) {
            }
        }
        if (n > 0 && count == 2 && fds[1].revents != 0 && !gone_ && !stopping_) {
            DeviceInput in;
            device_->ReadInput(in, fds[1].revents, roomForData && input_.empty());
            TakeInputLocked(in, done);
        }
    }
    lock.unlock();
    Fire(done);
}

void SerialPort::ModemSampleArrived(const ModemSample& sample) {
    Completions done;
    bool writesWaiting = false;
    {
        std::lock_guard lock(mutex_);
        if (stopping_ || gone_) {
            return;
        }
        RaiseLocked(modem_.Apply(sample), done);
        writesWaiting = !writes_.empty();
    }
    Fire(done);
    if (writesWaiting) {
        Wake();
    }
}

void SerialPort::ModemRebase(const ModemSample& sample) {
    std::lock_guard lock(mutex_);
    modem_.Rebase(sample);
}

// ---- the comm calls

BOOL SerialPort::GetState(DCB* dcb) {
    std::lock_guard lock(mutex_);
    if (gone_) {
        SetLastError(ERROR_ACCESS_DENIED);
        return FALSE;
    }
    *dcb = dcb_;
    dcb->DCBlength = sizeof(DCB);
    return TRUE;
}

BOOL SerialPort::SetState(const DCB& dcb) {
    if (!ValidDcb(dcb)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    {
        std::lock_guard lock(mutex_);
        if (gone_) {
            SetLastError(ERROR_ACCESS_DENIED);
            return FALSE;
        }
        if (const DWORD error = device_->Configure(dcb); error != 0) {
            SetLastError(error);
            return FALSE;
        }
        dcb_ = dcb;
        dcb_.DCBlength = sizeof(DCB);
    }
    Wake(); // held output may go now
    return TRUE;
}

BOOL SerialPort::GetTimeouts(COMMTIMEOUTS* timeouts) {
    std::lock_guard lock(mutex_);
    if (gone_) {
        SetLastError(ERROR_ACCESS_DENIED);
        return FALSE;
    }
    *timeouts = timeouts_;
    return TRUE;
}

BOOL SerialPort::SetTimeouts(const COMMTIMEOUTS& timeouts) {
    std::lock_guard lock(mutex_);
    if (gone_) {
        SetLastError(ERROR_ACCESS_DENIED);
        return FALSE;
    }
    timeouts_ = timeouts;
    return TRUE;
}

BOOL SerialPort::Setup(DWORD inQueue, DWORD) {
    std::lock_guard lock(mutex_);
    if (gone_) {
        SetLastError(ERROR_ACCESS_DENIED);
        return FALSE;
    }
    inCapacity_ = std::max<std::size_t>(kMinInputCapacity, inQueue);
    return TRUE;
}

BOOL SerialPort::Purge(DWORD flags) {
    if ((flags & ~DWORD{PURGE_TXABORT | PURGE_RXABORT | PURGE_TXCLEAR | PURGE_RXCLEAR}) != 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    Completions done;
    {
        std::lock_guard lock(mutex_);
        if (gone_) {
            SetLastError(ERROR_ACCESS_DENIED);
            return FALSE;
        }
        if (flags & PURGE_TXABORT) {
            for (auto& write : writes_) {
                FinishLocked(std::move(write), ERROR_OPERATION_ABORTED, done);
            }
            writes_.clear();
        }
        if (flags & PURGE_RXABORT) {
            for (auto& read : reads_) {
                FinishLocked(std::move(read), ERROR_OPERATION_ABORTED, done);
            }
            reads_.clear();
        }
        if (flags & PURGE_RXCLEAR) {
            input_.clear();
        }
        if (flags & (PURGE_TXCLEAR | PURGE_RXCLEAR)) {
            device_->Purge((flags & PURGE_RXCLEAR) != 0, (flags & PURGE_TXCLEAR) != 0);
        }
    }
    Fire(done);
    Wake();
    return TRUE;
}

BOOL SerialPort::ClearError(DWORD* errors, COMSTAT* status) {
    std::lock_guard lock(mutex_);
    if (gone_) {
        SetLastError(ERROR_ACCESS_DENIED);
        return FALSE;
    }
    if (errors != nullptr) {
        *errors = errors_;
    }
    errors_ = 0;
    if (status != nullptr) {
        *status = COMSTAT{};
        status->cbInQue = static_cast<DWORD>(input_.size() + device_->InQueue());
        std::size_t out = device_->OutQueue();
        for (const auto& write : writes_) {
            out += write->size - write->done;
        }
        status->cbOutQue = static_cast<DWORD>(out);
        if (!writes_.empty()) {
            bool ctsHold = false;
            bool dsrHold = false;
            WriteHeldLocked(&ctsHold, &dsrHold);
            status->fCtsHold = ctsHold;
            status->fDsrHold = dsrHold;
        }
        status->fXoffHold = device_->OutputSuspended();
    }
    return TRUE;
}

BOOL SerialPort::Escape(DWORD function) {
    std::lock_guard lock(mutex_);
    if (gone_) {
        SetLastError(ERROR_ACCESS_DENIED);
        return FALSE;
    }
    DWORD error = 0;
    switch (function) {
    case SETDTR:
    case CLRDTR:
        error = device_->SetDtr(function == SETDTR);
        break;
    case SETRTS:
    case CLRRTS:
        error = device_->SetRts(function == SETRTS);
        break;
    case SETBREAK:
    case CLRBREAK:
        error = device_->SetBreak(function == SETBREAK);
        break;
    case SETXOFF:
    case SETXON:
        error = device_->SetOutputStopped(function == SETXOFF);
        break;
    case RESETDEV:
        break;
    default:
        error = ERROR_INVALID_PARAMETER;
        break;
    }
    if (error != 0) {
        SetLastError(error);
        return FALSE;
    }
    return TRUE;
}

BOOL SerialPort::ModemStatus(DWORD* status) {
    std::lock_guard lock(mutex_);
    if (gone_) {
        SetLastError(ERROR_ACCESS_DENIED);
        return FALSE;
    }
    ModemSample sample;
    if (modemLines_ && device_->SampleModem(&sample)) {
        *status = sample.levels & (MS_CTS_ON | MS_DSR_ON | MS_RING_ON | MS_RLSD_ON);
    } else {
        *status = 0;
    }
    return TRUE;
}

BOOL SerialPort::SetMask(DWORD mask) {
    std::lock_guard order(maskMutex_);
    Completions done;
    {
        std::lock_guard lock(mutex_);
        if (gone_) {
            SetLastError(ERROR_ACCESS_DENIED);
            return FALSE;
        }
        if (wait_) {
            wait_->eventValue = 0;
            FinishLocked(std::move(wait_), 0, done);
        }
        history_ = 0;
        mask_ = mask;
    }
    Fire(done);
    device_->SetModemInterest(mask & (EV_CTS | EV_DSR | EV_RLSD | EV_RING));
    return TRUE;
}

BOOL SerialPort::GetMask(DWORD* mask) {
    std::lock_guard lock(mutex_);
    if (gone_) {
        SetLastError(ERROR_ACCESS_DENIED);
        return FALSE;
    }
    *mask = mask_;
    return TRUE;
}

BOOL SerialPort::EventStamp(ModemEdgeStamp* stamp) {
    std::lock_guard lock(mutex_);
    *stamp = modem_.Stamp();
    return TRUE;
}

BOOL SerialPort::SupportsModemLines() {
    std::lock_guard lock(mutex_);
    if (!modemLines_) {
        SetLastError(ERROR_NOT_SUPPORTED);
        return FALSE;
    }
    return TRUE;
}

} // namespace doliva::serial
