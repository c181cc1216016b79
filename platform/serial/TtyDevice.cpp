// The kernel's termios2 interface clashes with the C library's <termios.h>; this file uses only the former.
#include "platform/serial/TtyDevice.h"

#include "platform/serial/SerialPort.h"

#include <asm/termbits.h>
#include <linux/serial.h>
#include <sys/ioctl.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <csignal>
#include <ctime>
#include <fcntl.h>
#include <mutex>
#include <poll.h>
#include <pthread.h>
#include <sys/file.h>
#include <thread>
#include <unistd.h>

namespace doliva::serial {

namespace {

// The kernel's "ioctl not handled by this driver" code, which may leak out of some USB serial drivers.
constexpr int kENOIOCTLCMD = 515;

struct RateCode {
    DWORD rate;
    unsigned code;
};

constexpr std::array<RateCode, 30> kRates{{
    {50, B50},           {75, B75},           {110, B110},         {134, B134},         {150, B150},
    {200, B200},         {300, B300},         {600, B600},         {1200, B1200},       {1800, B1800},
    {2400, B2400},       {4800, B4800},       {9600, B9600},       {19200, B19200},     {38400, B38400},
    {57600, B57600},     {115200, B115200},   {230400, B230400},   {460800, B460800},   {500000, B500000},
    {576000, B576000},   {921600, B921600},   {1000000, B1000000}, {1152000, B1152000}, {1500000, B1500000},
    {2000000, B2000000}, {2500000, B2500000}, {3000000, B3000000}, {3500000, B3500000}, {4000000, B4000000},
}};

unsigned CodeForRate(DWORD rate) {
    for (const RateCode& r : kRates) {
        if (r.rate == rate) {
            return r.code;
        }
    }
    return BOTHER;
}

DWORD RateOf(const termios2& t) {
    const unsigned code = t.c_cflag & CBAUD;
    if (code == BOTHER) {
        return t.c_ospeed;
    }
    for (const RateCode& r : kRates) {
        if (r.code == code) {
            return r.rate;
        }
    }
    return t.c_ospeed;
}

int Ioctl(int fd, unsigned long request, void* arg) {
    int r;
    do {
        r = ioctl(fd, request, arg);
    } while (r < 0 && errno == EINTR);
    return r;
}

int IoctlValue(int fd, unsigned long request, long value) {
    int r;
    do {
        r = ioctl(fd, request, value);
    } while (r < 0 && errno == EINTR);
    return r;
}

DWORD OpenError(int err) {
    switch (err) {
    case ENOENT:
    case ENOTDIR:
    case ENXIO:
    case ENODEV:
    case EIO:
        return ERROR_FILE_NOT_FOUND;
    case EACCES:
    case EPERM:
    case EBUSY:
    case EWOULDBLOCK:
        return ERROR_ACCESS_DENIED;
    default:
        return Win32ErrorFromErrno(err);
    }
}

DWORD LevelsFromBits(int bits) {
    DWORD levels = 0;
    if (bits & TIOCM_CTS) {
        levels |= MS_CTS_ON;
    }
    if (bits & TIOCM_DSR) {
        levels |= MS_DSR_ON;
    }
    if (bits & TIOCM_RNG) {
        levels |= MS_RING_ON;
    }
    if (bits & TIOCM_CD) {
        levels |= MS_RLSD_ON;
    }
    return levels;
}

std::mutex g_callsMutex;
TtyModemCalls g_calls;

void NoOpHandler(int) {}

void InstallStopHandler() {
    static std::once_flag once;
    std::call_once(once, [] {
        struct sigaction action {};
        action.sa_handler = &NoOpHandler;
        sigemptyset(&action.sa_mask);
        action.sa_flags = 0; // no SA_RESTART: the watcher's ioctl must return EINTR
        sigaction(WatcherStopSignal(), &action, nullptr);
    });
}

class TtyDevice final : public SerialDevice {
public:
    TtyDevice(int fd, const termios2& original, TtyModemCalls calls)
        : fd_(fd), original_(original), calls_(std::move(calls)) {
        ModemSample probe;
        modemLines_ = Sample(&probe);
        serial_icounter_struct counts{};
        countsKnown_ = Ioctl(fd_, TIOCGICOUNT, &counts) == 0;
        if (countsKnown_) {
            lastErrorCounts_ = counts;
        }
    }

    ~TtyDevice() override {
        Detach();
        Close();
    }

    void Attach(std::weak_ptr<PortEvents> port) override {
        std::lock_guard lock(watchMutex_);
        port_ = std::move(port);
    }

    void Detach() override {
        std::unique_lock lock(watchMutex_);
        detached_ = true;
        stop_ = true;
        watchCv_.notify_all();
        if (!watcher_.joinable()) {
            return;
        }
        // The signal can land just before the watcher enters TIOCMIWAIT, so it is sent until the watcher has
        // gone.
        while (!exited_) {
            pthread_kill(watcher_.native_handle(), WatcherStopSignal());
            watchCv_.wait_for(lock, std::chrono::milliseconds(2));
        }
        lock.unlock();
        watcher_.join();
    }

    void Close() override {
        if (fd_ < 0) {
            return;
        }
        Ioctl(fd_, TCSETS2, &original_);
        Ioctl(fd_, TIOCNXCL, nullptr);
        close(fd_);
        fd_ = -1;
    }

    int PollFd() const override { return fd_; }
    short PollEvents(bool writeBlocked) const override {
        return static_cast<short>(POLLIN | (writeBlocked ? POLLOUT : 0));
    }

    void ReadInput(DeviceInput& in, short revents, bool) override {
        if (revents & (POLLIN | POLLHUP | POLLERR)) {
            std::uint8_t buffer[4096];
            for (int round = 0; round < 16; ++round) {
                const ssize_t n = read(fd_, buffer, sizeof buffer);
                if (n > 0) {
                    in.data.insert(in.data.end(), buffer, buffer + n);
                    if (static_cast<std::size_t>(n) < sizeof buffer) {
                        break;
                    }
                    continue;
                }
                if (n < 0 && errno == EINTR) {
                    continue;
                }
                if (n < 0 && errno != EAGAIN) {
                    in.gone = true;
                }
                break;
            }
        }
        if (revents & (POLLHUP | POLLERR | POLLNVAL)) {
            in.gone = true;
        }
        in.errors |= NewLineErrors();
    }

    long Write(const std::uint8_t* data, std::size_t size, DWORD* error) override {
        for (;;) {
            const ssize_t n = write(fd_, data, size);
            if (n >= 0) {
                return static_cast<long>(n);
            }
            if (errno == EINTR) {
                continue;
            }
            if (errno == EAGAIN) {
                return 0;
            }
            *error = ERROR_ACCESS_DENIED;
            return -1;
        }
    }

    std::size_t OutQueue() override {
        int queued = 0;
        return Ioctl(fd_, TIOCOUTQ, &queued) == 0 && queued > 0 ? static_cast<std::size_t>(queued) : 0;
    }

    std::size_t InQueue() override {
        int queued = 0;
        return Ioctl(fd_, FIONREAD, &queued) == 0 && queued > 0 ? static_cast<std::size_t>(queued) : 0;
    }

    void Purge(bool input, bool output) override {
        if (input && output) {
            IoctlValue(fd_, TCFLSH, TCIOFLUSH);
        } else if (input) {
            IoctlValue(fd_, TCFLSH, TCIFLUSH);
        } else if (output) {
            IoctlValue(fd_, TCFLSH, TCOFLUSH);
        }
    }

    DCB InitialState() override {
        termios2 t{};
        if (Ioctl(fd_, TCGETS2, &t) != 0) {
            t = original_;
        }
        DCB dcb{};
        dcb.DCBlength = sizeof(DCB);
        dcb.BaudRate = RateOf(t);
        dcb.fBinary = 1;
        switch (t.c_cflag & CSIZE) {
        case CS5:
            dcb.ByteSize = 5;
            break;
        case CS6:
            dcb.ByteSize = 6;
            break;
        case CS7:
            dcb.ByteSize = 7;
            break;
        default:
            dcb.ByteSize = 8;
            break;
        }
        if (t.c_cflag & PARENB) {
            if (t.c_cflag & CMSPAR) {
                dcb.Parity = (t.c_cflag & PARODD) ? MARKPARITY : SPACEPARITY;
            } else {
                dcb.Parity = (t.c_cflag & PARODD) ? ODDPARITY : EVENPARITY;
            }
        }
        dcb.fParity = (t.c_iflag & INPCK) != 0;
        dcb.StopBits = (t.c_cflag & CSTOPB) ? TWOSTOPBITS : ONESTOPBIT;
        const bool crtscts = (t.c_cflag & CRTSCTS) != 0;
        dcb.fOutxCtsFlow = crtscts;
        dcb.fRtsControl = crtscts ? RTS_CONTROL_HANDSHAKE : RTS_CONTROL_ENABLE;
        dcb.fDtrControl = DTR_CONTROL_ENABLE;
        dcb.fOutX = (t.c_iflag & IXON) != 0;
        dcb.fInX = (t.c_iflag & IXOFF) != 0;
        dcb.fTXContinueOnXoff = 1;
        dcb.XonChar = static_cast<char>(t.c_cc[VSTART]);
        dcb.XoffChar = static_cast<char>(t.c_cc[VSTOP]);
        dcb.XonLim = 2048;
        dcb.XoffLim = 512;
        return dcb;
    }

    DWORD Configure(const DCB& dcb) override {
        termios2 t{};
        if (Ioctl(fd_, TCGETS2, &t) != 0) {
            return Win32ErrorFromErrno(errno);
        }
        const TtyModes modes = TtyModesForDcb(dcb, t.c_cflag);
        t.c_cflag = modes.cflag;
        t.c_iflag = modes.iflag;
        t.c_oflag = 0;
        t.c_lflag = 0;
        t.c_ispeed = modes.ispeed;
        t.c_ospeed = modes.ospeed;
        t.c_cc[VSTART] = modes.startChar;
        t.c_cc[VSTOP] = modes.stopChar;
        t.c_cc[VMIN] = 0;
        t.c_cc[VTIME] = 0;
        const bool crtscts = (modes.cflag & CRTSCTS) != 0;
        if (Ioctl(fd_, TCSETS2, &t) != 0) {
            return Win32ErrorFromErrno(errno);
        }
        // The lines are set apart from termios; a pty has none, which is no failure.
        SetLine(TIOCM_DTR, dcb.fDtrControl != DTR_CONTROL_DISABLE);
        if (!crtscts) {
            SetLine(TIOCM_RTS, dcb.fRtsControl != RTS_CONTROL_DISABLE);
        }
        return 0;
    }

    DWORD SetDtr(bool on) override { return SetLine(TIOCM_DTR, on); }
    DWORD SetRts(bool on) override { return SetLine(TIOCM_RTS, on); }

    DWORD SetBreak(bool on) override {
        if (Ioctl(fd_, on ? TIOCSBRK : TIOCCBRK, nullptr) != 0 && errno != ENOTTY && errno != EINVAL) {
            return Win32ErrorFromErrno(errno);
        }
        return 0;
    }

    DWORD SetOutputStopped(bool stopped) override {
        if (IoctlValue(fd_, TCXONC, stopped ? TCOOFF : TCOON) != 0) {
            return Win32ErrorFromErrno(errno);
        }
        return 0;
    }

    bool SupportsModemLines() const override { return modemLines_; }

    bool SampleModem(ModemSample* sample) override { return Sample(sample); }

    void SetModemInterest(DWORD eventBits) override {
        if (!modemLines_) {
            return;
        }
        int lines = 0;
        if (eventBits & EV_RLSD) {
            lines |= TIOCM_CD;
        }
        if (eventBits & EV_CTS) {
            lines |= TIOCM_CTS;
        }
        if (eventBits & EV_DSR) {
            lines |= TIOCM_DSR;
        }
        if (eventBits & EV_RING) {
            lines |= TIOCM_RNG;
        }
        std::unique_lock lock(watchMutex_);
        if (detached_ || exited_ || (lines == interest_ && (lines == 0 || watcher_.joinable()))) {
            return; // nothing to change: a mask set again as it was leaves the watcher alone
        }
        interest_ = lines;
        const unsigned generation = ++requested_;
        if (!watcher_.joinable()) {
            if (lines == 0) {
                return;
            }
            InstallStopHandler();
            watcher_ = StartQuietThread([this] {
                pthread_setname_np(pthread_self(), "modem watch");
                WatchLoop();
            });
        }
        watchCv_.notify_all();
        // Wake a TIOCMIWAIT on the old lines, until the watcher has taken the new ones (and its reference
        // levels): from then on every change is reported.
        for (int round = 0; round < 500 && acknowledged_ < generation && !exited_; ++round) {
            pthread_kill(watcher_.native_handle(), WatcherStopSignal());
            watchCv_.wait_for(lock, std::chrono::milliseconds(2));
        }
    }

private:
    bool Sample(ModemSample* sample) {
        if (calls_.sample) {
            return calls_.sample(fd_, sample);
        }
        const int fd = fd_;
        int bits = 0;
        if (Ioctl(fd, TIOCMGET, &bits) != 0) {
            return false;
        }
        sample->levels = LevelsFromBits(bits);
        serial_icounter_struct counts{};
        sample->haveCounts = Ioctl(fd, TIOCGICOUNT, &counts) == 0;
        if (sample->haveCounts) {
            sample->counts[kLineDcd] = static_cast<std::uint32_t>(counts.dcd);
            sample->counts[kLineCts] = static_cast<std::uint32_t>(counts.cts);
            sample->counts[kLineDsr] = static_cast<std::uint32_t>(counts.dsr);
            sample->counts[kLineRing] = static_cast<std::uint32_t>(counts.rng);
        }
        return true;
    }

    DWORD SetLine(int line, bool on) {
        if (Ioctl(fd_, on ? TIOCMBIS : TIOCMBIC, &line) != 0 && errno != ENOTTY && errno != EINVAL) {
            return Win32ErrorFromErrno(errno);
        }
        return 0;
    }

    DWORD NewLineErrors() {
        if (!countsKnown_) {
            return 0;
        }
        serial_icounter_struct now{};
        if (Ioctl(fd_, TIOCGICOUNT, &now) != 0) {
            return 0;
        }
        DWORD errors = 0;
        if (now.frame != lastErrorCounts_.frame) {
            errors |= CE_FRAME;
        }
        if (now.overrun != lastErrorCounts_.overrun) {
            errors |= CE_OVERRUN;
        }
        if (now.parity != lastErrorCounts_.parity) {
            errors |= CE_RXPARITY;
        }
        if (now.brk != lastErrorCounts_.brk) {
            errors |= CE_BREAK;
        }
        if (now.buf_overrun != lastErrorCounts_.buf_overrun) {
            errors |= CE_RXOVER;
        }
        lastErrorCounts_ = now;
        return errors;
    }

    void Report(const ModemSample& sample, bool rebase) {
        std::shared_ptr<PortEvents> port;
        {
            std::lock_guard lock(watchMutex_);
            port = port_.lock();
        }
        if (port) {
            if (rebase) {
                port->OnModemRebase(sample);
            } else {
                port->OnModemSample(sample);
            }
        }
    }

    void WatchLoop() {
        sigset_t stop;
        sigemptyset(&stop);
        sigaddset(&stop, WatcherStopSignal());
        pthread_sigmask(SIG_UNBLOCK, &stop, nullptr);

        bool useWait = true;
        int watched = 0;
        ModemSample last;
        bool haveLast = false;
        for (;;) {
            int lines = 0;
            unsigned generation = 0;
            {
                std::unique_lock lock(watchMutex_);
                while (!stop_ && interest_ == 0) {
                    haveLast = false; // start afresh once lines are wanted again
                    acknowledged_ = requested_;
                    watchCv_.notify_all();
                    watchCv_.wait(lock);
                }
                if (stop_) {
                    break;
                }
                lines = interest_;
                generation = requested_;
            }
            if (lines != watched || !haveLast) {
                // Changes while the lines were not watched are not reported, as the mask did not ask for
                // them.
                ModemSample base;
                if (!Sample(&base)) {
                    break;
                }
                StampModemSample(base);
                Report(base, true);
                last = base;
                haveLast = true;
                watched = lines;
            }
            {
                std::lock_guard lock(watchMutex_);
                acknowledged_ = generation;
                watchCv_.notify_all();
            }
            int result = 0;
            int err = 0;
            if (useWait) {
                result = calls_.wait ? calls_.wait(fd_, lines) : ioctl(fd_, TIOCMIWAIT, lines);
                err = errno;
            } else {
                timespec pause{0, 1'000'000};
                result = nanosleep(&pause, nullptr);
                err = errno;
            }
            ModemSample woke;
            StampModemSample(woke);
            if (result < 0 && err != EINTR) {
                if (useWait && (err == ENOTTY || err == EINVAL || err == kENOIOCTLCMD || err == EOPNOTSUPP)) {
                    useWait = false;
                    continue;
                }
                break; // the device has gone
            }
            ModemSample sample;
            if (!Sample(&sample)) {
                break;
            }
            sample.stamp = woke.stamp;
            sample.counter = woke.counter;
            if (sample.levels != last.levels || sample.haveCounts != last.haveCounts ||
                sample.counts != last.counts) {
                Report(sample, false);
                last = sample;
            }
        }
        std::lock_guard lock(watchMutex_);
        exited_ = true;
        watchCv_.notify_all();
    }

    int fd_;
    termios2 original_;
    const TtyModemCalls calls_;
    bool modemLines_ = false;
    bool countsKnown_ = false;
    serial_icounter_struct lastErrorCounts_{};

    std::mutex watchMutex_;
    std::condition_variable watchCv_;
    std::weak_ptr<PortEvents> port_;
    int interest_ = 0;
    unsigned requested_ = 0;
    unsigned acknowledged_ = 0;
    bool stop_ = false;
    bool detached_ = false;
    bool exited_ = false;
    std::thread watcher_;
};

} // namespace

TtyModes TtyModesForDcb(const DCB& dcb, std::uint32_t currentCflag) {
    TtyModes m;
    m.cflag = currentCflag & ~static_cast<std::uint32_t>(CBAUD | (CBAUD << IBSHIFT) | CSIZE | PARENB |
                                                         PARODD | CMSPAR | CSTOPB | CRTSCTS | HUPCL);
    m.cflag |= CREAD | CLOCAL | CodeForRate(dcb.BaudRate);
    m.ispeed = dcb.BaudRate;
    m.ospeed = dcb.BaudRate;
    static constexpr tcflag_t kSizes[] = {CS5, CS6, CS7, CS8};
    m.cflag |= kSizes[std::clamp<int>(dcb.ByteSize, 5, 8) - 5];
    switch (dcb.Parity) {
    case ODDPARITY:
        m.cflag |= PARENB | PARODD;
        break;
    case EVENPARITY:
        m.cflag |= PARENB;
        break;
    case MARKPARITY:
        m.cflag |= PARENB | CMSPAR | PARODD;
        break;
    case SPACEPARITY:
        m.cflag |= PARENB | CMSPAR;
        break;
    default:
        break;
    }
    if (dcb.StopBits != ONESTOPBIT) {
        m.cflag |= CSTOPB;
    }
    if (dcb.fOutxCtsFlow || dcb.fRtsControl == RTS_CONTROL_HANDSHAKE) {
        m.cflag |= CRTSCTS;
    }
    if (dcb.fParity && dcb.Parity != NOPARITY) {
        m.iflag |= INPCK;
    }
    if (dcb.fOutX) {
        m.iflag |= IXON;
    }
    if (dcb.fInX) {
        m.iflag |= IXOFF;
    }
    m.startChar = static_cast<std::uint8_t>(dcb.XonChar);
    m.stopChar = static_cast<std::uint8_t>(dcb.XoffChar);
    return m;
}

void SetTtyModemCallsForTests(TtyModemCalls calls) {
    std::lock_guard lock(g_callsMutex);
    g_calls = std::move(calls);
}

int WatcherStopSignal() {
    return SIGRTMIN + 1;
}

std::unique_ptr<SerialDevice> OpenTtyDevice(const std::string& path, DWORD* error) {
    const int fd = open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        *error = OpenError(errno);
        return nullptr;
    }
    termios2 original{};
    if (Ioctl(fd, TCGETS2, &original) != 0) {
        close(fd);
        *error = ERROR_FILE_NOT_FOUND;
        return nullptr;
    }
    // One open at a time, as on the original: flock keeps out this layer's other opens (root included),
    // TIOCEXCL the opens of other programs.
    if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
        const int err = errno;
        close(fd);
        *error = err == EWOULDBLOCK ? ERROR_ACCESS_DENIED : OpenError(err);
        return nullptr;
    }
    Ioctl(fd, TIOCEXCL, nullptr);
    termios2 raw = original;
    raw.c_iflag &= IXON | IXOFF | INPCK;
    raw.c_oflag = 0;
    raw.c_lflag = 0;
    raw.c_cflag |= CREAD | CLOCAL;
    raw.c_cflag &= ~static_cast<tcflag_t>(HUPCL);
    raw.c_cc[VMIN] = 0;
    raw.c_cc[VTIME] = 0;
    Ioctl(fd, TCSETS2, &raw);
    TtyModemCalls calls;
    {
        std::lock_guard lock(g_callsMutex);
        calls = g_calls;
    }
    return std::make_unique<TtyDevice>(fd, original, std::move(calls));
}

} // namespace doliva::serial
