#include "platform/serial/Rfc2217Device.h"

#include "platform/kernel/Ticks.h"
#include "platform/serial/Rfc2217Protocol.h"

#include <cerrno>
#include <chrono>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <mutex>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <set>
#include <sys/socket.h>
#include <unistd.h>

namespace doliva::serial {

namespace {

namespace r = rfc2217;

constexpr int kConnectTimeoutMs = 3000;
// How long an open waits for the server to answer the COM-PORT-OPTION offer, so that the first settings
// reach it before any data.
constexpr int kNegotiationWaitMs = 1000;
constexpr std::size_t kMaxPendingOutput = 64 * 1024;

std::mutex g_openMutex;
std::set<std::string>& OpenAddresses() {
    static std::set<std::string> open;
    return open;
}

std::int64_t MonotonicMs() {
    return std::chrono::duration_cast<std::chrono::milliseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

int ConnectTo(const Rfc2217Address& address) {
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* list = nullptr;
    if (getaddrinfo(address.host.c_str(), address.port.c_str(), &hints, &list) != 0) {
        return -1;
    }
    int result = -1;
    for (addrinfo* ai = list; ai != nullptr && result < 0; ai = ai->ai_next) {
        const int s = socket(ai->ai_family, ai->ai_socktype | SOCK_NONBLOCK | SOCK_CLOEXEC, ai->ai_protocol);
        if (s < 0) {
            continue;
        }
        if (connect(s, ai->ai_addr, ai->ai_addrlen) != 0) {
            if (errno != EINPROGRESS) {
                close(s);
                continue;
            }
            pollfd p{s, POLLOUT, 0};
            int n;
            do {
                n = poll(&p, 1, kConnectTimeoutMs);
            } while (n < 0 && errno == EINTR);
            int soError = 0;
            socklen_t len = sizeof soError;
            if (n <= 0 || getsockopt(s, SOL_SOCKET, SO_ERROR, &soError, &len) != 0 || soError != 0) {
                close(s);
                continue;
            }
        }
        result = s;
    }
    freeaddrinfo(list);
    if (result >= 0) {
        const int one = 1;
        setsockopt(result, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
        // The kernel's arrival time of what is read: a 1PPS notification is stamped when it came, not when
        // this process got round to reading it.
        setsockopt(result, SOL_SOCKET, SO_TIMESTAMPNS, &one, sizeof one);
    }
    return result;
}

// The moment the kernel received what a read returned, as a stamp of the layer's clock and the performance
// counter: now, less the time since the arrival on the machine's clock. A kernel time that does not fit (none
// came, or the machine's clock was stepped in between) leaves the stamp at now.
ModemSample ArrivalStamp(const msghdr& message) {
    ModemSample stamp;
    StampModemSample(stamp);
    for (const cmsghdr* c = CMSG_FIRSTHDR(&message); c != nullptr;
         c = CMSG_NXTHDR(const_cast<msghdr*>(&message), const_cast<cmsghdr*>(c))) {
        if (c->cmsg_level != SOL_SOCKET || c->cmsg_type != SCM_TIMESTAMPNS) {
            continue;
        }
        timespec arrived{};
        std::memcpy(&arrived, CMSG_DATA(c), sizeof arrived);
        timespec now{};
        clock_gettime(CLOCK_REALTIME, &now);
        const std::int64_t ageNs = (static_cast<std::int64_t>(now.tv_sec) - arrived.tv_sec) * 1'000'000'000 +
                                   (now.tv_nsec - arrived.tv_nsec);
        if (ageNs < 0 || ageNs > 1'000'000'000) {
            break;
        }
        LARGE_INTEGER frequency{};
        QueryPerformanceFrequency(&frequency);
        stamp.counter -= ageNs * frequency.QuadPart / 1'000'000'000;
        std::int64_t nanoseconds = stamp.stamp.nanoseconds - ageNs;
        while (nanoseconds < 0) {
            nanoseconds += 1'000'000'000;
            --stamp.stamp.seconds;
        }
        stamp.stamp.nanoseconds = static_cast<std::int32_t>(nanoseconds);
        break;
    }
    return stamp;
}

class Rfc2217Device final : public SerialDevice {
public:
    Rfc2217Device(int socket, std::string key) : sock_(socket), key_(std::move(key)) {
        dcb_.DCBlength = sizeof(DCB);
        dcb_.BaudRate = CBR_9600;
        dcb_.fBinary = 1;
        dcb_.fDtrControl = DTR_CONTROL_ENABLE;
        dcb_.fRtsControl = RTS_CONTROL_ENABLE;
        dcb_.fTXContinueOnXoff = 1;
        dcb_.ByteSize = 8;
        dcb_.XonChar = 0x11;
        dcb_.XoffChar = 0x13;
        dcb_.XonLim = 2048;
        dcb_.XoffLim = 512;
    }

    ~Rfc2217Device() override { Close(); }

    // Sends the offers and waits a moment for the server's answer to COM-PORT-OPTION. False when the
    // connection closed meanwhile.
    bool Negotiate() {
        const std::vector<std::uint8_t> greeting = client_.Greeting();
        out_.insert(out_.end(), greeting.begin(), greeting.end());
        const std::int64_t deadline = MonotonicMs() + kNegotiationWaitMs;
        while (!client_.ComPortAnswered()) {
            Flush();
            const std::int64_t left = deadline - MonotonicMs();
            if (left <= 0) {
                break;
            }
            pollfd p{sock_, static_cast<short>(POLLIN | (Pending() > 0 ? POLLOUT : 0)), 0};
            const int n = poll(&p, 1, static_cast<int>(left));
            if (n < 0 && errno != EINTR) {
                return false;
            }
            if (n > 0 && !Receive(early_)) {
                return false;
            }
        }
        if (client_.ComPortAccepted()) {
            SendMasks();
        }
        Flush();
        return !early_.gone;
    }

    void Attach(std::weak_ptr<PortEvents>) override {}
    void Detach() override {}

    void Close() override {
        if (sock_ < 0) {
            return;
        }
        Flush();
        close(sock_);
        sock_ = -1;
        std::lock_guard lock(g_openMutex);
        OpenAddresses().erase(key_);
    }

    int PollFd() const override { return sock_; }
    short PollEvents(bool) const override {
        return static_cast<short>(POLLIN | (Pending() > 0 ? POLLOUT : 0));
    }

    bool InputPending() const override {
        return !early_.data.empty() || !early_.modem.empty() || early_.errors != 0 || early_.gone;
    }

    void ReadInput(DeviceInput& in, short revents, bool) override {
        if (InputPending()) {
            in.data.insert(in.data.end(), early_.data.begin(), early_.data.end());
            in.modem.insert(in.modem.end(), early_.modem.begin(), early_.modem.end());
            in.errors |= early_.errors;
            in.gone = in.gone || early_.gone;
            early_ = DeviceInput{};
        }
        if (revents & POLLOUT) {
            Flush();
        }
        if (revents & (POLLIN | POLLHUP | POLLERR)) {
            Receive(in);
        }
        if ((revents & (POLLERR | POLLNVAL)) != 0) {
            in.gone = true;
        }
    }

    long Write(const std::uint8_t* data, std::size_t size, DWORD* error) override {
        if (Pending() >= kMaxPendingOutput) {
            Flush();
            return 0;
        }
        r::Client::AppendData(out_, data, size);
        if (!Flush()) {
            *error = ERROR_ACCESS_DENIED;
            return -1;
        }
        return static_cast<long>(size);
    }

    std::size_t OutQueue() override { return Pending(); }

    void Purge(bool input, bool output) override {
        if (!client_.ComPortAccepted() || (!input && !output)) {
            return;
        }
        const std::uint8_t what = input && output ? r::kPurgeBoth
                                  : input         ? r::kPurgeReceive
                                                  : r::kPurgeTransmit;
        r::Client::AppendCommand(out_, r::kPurgeData, what);
        Flush();
    }

    bool OutputSuspended() const override { return suspended_; }

    DCB InitialState() override { return dcb_; }

    DWORD Configure(const DCB& dcb) override {
        dcb_ = dcb;
        if (client_.ComPortAccepted()) {
            SendSettings();
            Flush();
        }
        return 0;
    }

    DWORD SetDtr(bool on) override { return Control(on ? r::kControlDtrOn : r::kControlDtrOff); }
    DWORD SetRts(bool on) override { return Control(on ? r::kControlRtsOn : r::kControlRtsOff); }
    DWORD SetBreak(bool on) override { return Control(on ? r::kControlBreakOn : r::kControlBreakOff); }

    bool SupportsModemLines() const override { return true; }

    bool SampleModem(ModemSample* sample) override {
        sample->levels = levels_;
        sample->haveCounts = true;
        sample->counts = counts_;
        return true;
    }

private:
    std::size_t Pending() const { return out_.size() - sent_; }

    bool Flush() {
        while (sent_ < out_.size() && sock_ >= 0) {
            const ssize_t n =
                send(sock_, out_.data() + sent_, out_.size() - sent_, MSG_NOSIGNAL | MSG_DONTWAIT);
            if (n > 0) {
                sent_ += static_cast<std::size_t>(n);
                continue;
            }
            if (n < 0 && errno == EINTR) {
                continue;
            }
            if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
                break;
            }
            return false;
        }
        if (sent_ == out_.size()) {
            out_.clear();
            sent_ = 0;
        }
        return true;
    }

    // Reads what the socket holds into `in`; false once the connection has ended.
    bool Receive(DeviceInput& in) {
        std::uint8_t buffer[4096];
        alignas(cmsghdr) char control[CMSG_SPACE(sizeof(timespec)) * 2];
        for (int round = 0; round < 16; ++round) {
            iovec part{buffer, sizeof buffer};
            msghdr message{};
            message.msg_iov = &part;
            message.msg_iovlen = 1;
            message.msg_control = control;
            message.msg_controllen = sizeof control;
            const ssize_t n = recvmsg(sock_, &message, MSG_DONTWAIT);
            if (n > 0) {
                const ModemSample stamp = ArrivalStamp(message);
                const bool wasAccepted = client_.ComPortAccepted();
                r::ServerInput got;
                client_.Parse(buffer, static_cast<std::size_t>(n), got);
                Absorb(got, stamp, in);
                if (!wasAccepted && client_.ComPortAccepted()) {
                    // A late yes: bring the server up to date.
                    SendMasks();
                    SendSettings();
                }
                Flush();
                if (static_cast<std::size_t>(n) < sizeof buffer) {
                    break;
                }
                continue;
            }
            if (n < 0 && errno == EINTR) {
                continue;
            }
            if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
                break;
            }
            in.gone = true;
            return false;
        }
        return true;
    }

    void Absorb(const r::ServerInput& got, const ModemSample& stamp, DeviceInput& in) {
        in.data.insert(in.data.end(), got.data.begin(), got.data.end());
        out_.insert(out_.end(), got.reply.begin(), got.reply.end());
        for (std::uint8_t state : got.modemStates) {
            in.modem.push_back(SampleFromState(state, stamp));
        }
        for (std::uint8_t state : got.lineStates) {
            if (state & r::kLineBreak) {
                in.errors |= CE_BREAK;
            }
            if (state & r::kLineFraming) {
                in.errors |= CE_FRAME;
            }
            if (state & r::kLineParity) {
                in.errors |= CE_RXPARITY;
            }
            if (state & r::kLineOverrun) {
                in.errors |= CE_OVERRUN;
            }
        }
        if (got.suspended) {
            suspended_ = *got.suspended;
        }
    }

    // A notification gives levels and "changed since the last one" bits; a line that changed but reads as
    // before went and came back, which counts as two transitions.
    ModemSample SampleFromState(std::uint8_t state, const ModemSample& stamp) {
        struct Line {
            ModemLineIndex index;
            std::uint8_t level;
            std::uint8_t delta;
            DWORD ms;
        };
        static constexpr Line kLines[] = {
            {kLineDcd, r::kModemCd, r::kModemDeltaCd, MS_RLSD_ON},
            {kLineCts, r::kModemCts, r::kModemDeltaCts, MS_CTS_ON},
            {kLineDsr, r::kModemDsr, r::kModemDeltaDsr, MS_DSR_ON},
            {kLineRing, r::kModemRi, r::kModemTrailingRi, MS_RING_ON},
        };
        DWORD levels = 0;
        for (const Line& line : kLines) {
            const bool was = (levels_ & line.ms) != 0;
            const bool now = (state & line.level) != 0;
            if (now) {
                levels |= line.ms;
            }
            if (was != now) {
                counts_[line.index] += 1;
            } else if (state & line.delta) {
                counts_[line.index] += 2;
            }
        }
        levels_ = levels;
        ModemSample sample;
        sample.stamp = stamp.stamp;
        sample.counter = stamp.counter;
        sample.levels = levels;
        sample.haveCounts = true;
        sample.counts = counts_;
        return sample;
    }

    DWORD Control(std::uint8_t value) {
        if (client_.ComPortAccepted()) {
            r::Client::AppendCommand(out_, r::kSetControl, value);
            Flush();
        }
        return 0;
    }

    void SendMasks() {
        r::Client::AppendCommand(out_, r::kSetModemstateMask, 0xFF);
        r::Client::AppendCommand(out_, r::kSetLinestateMask,
                                 r::kLineBreak | r::kLineFraming | r::kLineParity | r::kLineOverrun);
    }

    void SendSettings() {
        r::Client::AppendBaudrate(out_, dcb_.BaudRate);
        r::Client::AppendCommand(out_, r::kSetDatasize, dcb_.ByteSize);
        static constexpr std::uint8_t kParities[] = {r::kParityNone, r::kParityOdd, r::kParityEven,
                                                     r::kParityMark, r::kParitySpace};
        r::Client::AppendCommand(out_, r::kSetParity,
                                 kParities[dcb_.Parity <= SPACEPARITY ? dcb_.Parity : 0]);
        const std::uint8_t stop = dcb_.StopBits == TWOSTOPBITS    ? r::kStopTwo
                                  : dcb_.StopBits == ONE5STOPBITS ? r::kStopOneAndHalf
                                                                  : r::kStopOne;
        r::Client::AppendCommand(out_, r::kSetStopsize, stop);
        const bool hardware = dcb_.fOutxCtsFlow || dcb_.fRtsControl == RTS_CONTROL_HANDSHAKE;
        // DTR/DSR output flow is the port's own work, as on a tty.
        r::Client::AppendCommand(out_, r::kSetControl,
                                 dcb_.fOutX ? r::kControlXonXoff
                                 : hardware ? r::kControlHardware
                                            : r::kControlNoFlow);
        r::Client::AppendCommand(out_, r::kSetControl,
                                 dcb_.fInX                                   ? r::kControlInboundXonXoff
                                 : dcb_.fRtsControl == RTS_CONTROL_HANDSHAKE ? r::kControlInboundHardware
                                                                             : r::kControlInboundNoFlow);
        r::Client::AppendCommand(out_, r::kSetControl,
                                 dcb_.fDtrControl != DTR_CONTROL_DISABLE ? r::kControlDtrOn
                                                                         : r::kControlDtrOff);
        if (!hardware) {
            r::Client::AppendCommand(out_, r::kSetControl,
                                     dcb_.fRtsControl != RTS_CONTROL_DISABLE ? r::kControlRtsOn
                                                                             : r::kControlRtsOff);
        }
    }

    int sock_;
    std::string key_;
    r::Client client_;
    std::vector<std::uint8_t> out_;
    std::size_t sent_ = 0;
    DeviceInput early_;
    DWORD levels_ = 0;
    std::array<std::uint32_t, 4> counts_{};
    bool suspended_ = false;
    DCB dcb_{};
};

} // namespace

bool ParseRfc2217Address(const std::string& device, Rfc2217Address* address) {
    static constexpr std::string_view kScheme = "rfc2217://";
    if (device.size() <= kScheme.size() || device.compare(0, kScheme.size(), kScheme) != 0) {
        return false;
    }
    std::string rest = device.substr(kScheme.size());
    while (!rest.empty() && rest.back() == '/') {
        rest.pop_back();
    }
    std::string host;
    std::string port;
    if (!rest.empty() && rest.front() == '[') {
        const std::size_t close = rest.find(']');
        if (close == std::string::npos || close + 1 >= rest.size() || rest[close + 1] != ':') {
            return false;
        }
        host = rest.substr(1, close - 1);
        port = rest.substr(close + 2);
    } else {
        const std::size_t colon = rest.rfind(':');
        if (colon == std::string::npos) {
            return false;
        }
        host = rest.substr(0, colon);
        port = rest.substr(colon + 1);
    }
    if (host.empty() || port.empty() || port.size() > 5 ||
        port.find_first_not_of("0123456789") != std::string::npos) {
        return false;
    }
    const long number = std::stol(port);
    if (number < 1 || number > 65535) {
        return false;
    }
    address->host = host;
    address->port = port;
    return true;
}

std::unique_ptr<SerialDevice> OpenRfc2217Device(const std::string& device, DWORD* error) {
    Rfc2217Address address;
    if (!ParseRfc2217Address(device, &address)) {
        *error = ERROR_FILE_NOT_FOUND;
        return nullptr;
    }
    const std::string key = address.host + "|" + address.port;
    {
        std::lock_guard lock(g_openMutex);
        if (!OpenAddresses().insert(key).second) {
            *error = ERROR_ACCESS_DENIED;
            return nullptr;
        }
    }
    const int s = ConnectTo(address);
    if (s < 0) {
        std::lock_guard lock(g_openMutex);
        OpenAddresses().erase(key);
        *error = ERROR_FILE_NOT_FOUND;
        return nullptr;
    }
    auto result = std::make_unique<Rfc2217Device>(s, key);
    if (!result->Negotiate()) {
        *error = ERROR_FILE_NOT_FOUND;
        return nullptr; // closes and releases the address
    }
    return result;
}

} // namespace doliva::serial
