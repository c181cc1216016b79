#include "tools/simulator/Rfc2217Transport.h"

#include <arpa/inet.h>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>
#include <unistd.h>

namespace receiversim {

using namespace telnet;

namespace {

constexpr std::size_t kMaxQueued = 256 * 1024;

void SetNonBlocking(int fd) {
    fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) | O_NONBLOCK);
    fcntl(fd, F_SETFD, FD_CLOEXEC);
}

std::uint8_t LineBit(PpsLine line) {
    switch (line) {
    case PpsLine::Dcd:
        return kCd;
    case PpsLine::Cts:
        return kCts;
    case PpsLine::Dsr:
        return kDsr;
    case PpsLine::None:
        break;
    }
    return 0;
}

std::uint8_t DeltaBit(PpsLine line) {
    switch (line) {
    case PpsLine::Dcd:
        return kDeltaCd;
    case PpsLine::Cts:
        return kDeltaCts;
    case PpsLine::Dsr:
        return kDeltaDsr;
    case PpsLine::None:
        break;
    }
    return 0;
}

} // namespace

std::unique_ptr<Rfc2217Transport> Rfc2217Transport::Create(const std::string& host, std::uint16_t port,
                                                           PpsLine pps, std::string& error) {
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(port);
    if (inet_pton(AF_INET, host.c_str(), &address.sin_addr) != 1) {
        error = "not an IPv4 address: " + host;
        return nullptr;
    }
    const int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) {
        error = std::string("socket: ") + std::strerror(errno);
        return nullptr;
    }
    const int yes = 1;
    setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
    if (bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 || listen(fd, 4) != 0) {
        error = host + ":" + std::to_string(port) + ": " + std::strerror(errno);
        close(fd);
        return nullptr;
    }
    socklen_t length = sizeof address;
    getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length);
    SetNonBlocking(fd);
    return std::unique_ptr<Rfc2217Transport>(new Rfc2217Transport(fd, host, ntohs(address.sin_port), pps));
}

Rfc2217Transport::Rfc2217Transport(int listener, std::string host, std::uint16_t port, PpsLine pps)
    : listener_(listener), host_(std::move(host)), port_(port), pps_(pps) {}

Rfc2217Transport::~Rfc2217Transport() {
    if (client_ >= 0) {
        close(client_);
    }
    close(listener_);
}

std::string Rfc2217Transport::Target() const {
    return "rfc2217://" + host_ + ":" + std::to_string(port_);
}

void Rfc2217Transport::Prepare(std::vector<pollfd>& fds, std::chrono::nanoseconds& /*timeout*/) {
    fds.push_back(pollfd{listener_, POLLIN, 0});
    fds.push_back(pollfd{client_, static_cast<short>(POLLIN | (out_.empty() ? 0 : POLLOUT)), 0});
}

void Rfc2217Transport::Service(const std::vector<pollfd>& fds, std::size_t first, TransportSink& sink) {
    ServiceClient(fds[first + 1], sink);
    if ((fds[first].revents & POLLIN) != 0) {
        Accept(sink);
    }
}

void Rfc2217Transport::ServiceClient(const pollfd& c, TransportSink& sink) {
    if (client_ < 0 || c.fd != client_) {
        return;
    }
    if ((c.revents & (POLLIN | POLLHUP | POLLERR)) != 0) {
        std::uint8_t buffer[4096];
        const ssize_t n = read(client_, buffer, sizeof buffer);
        if (n == 0 || (n < 0 && errno != EAGAIN && errno != EINTR)) {
            Drop(sink, n == 0 ? "client left" : std::string("client lost: ") + std::strerror(errno));
            return;
        }
        if (n > 0) {
            const Bytes data = telnet_->Feed(ByteSpan(buffer, static_cast<std::size_t>(n)));
            Pass(sink);
            if (!data.empty()) {
                sink.OnData(data, telnet_->Line());
            }
        }
    }
    if (client_ >= 0) {
        Flush(sink);
    }
}

void Rfc2217Transport::Pass(TransportSink& sink) {
    for (const std::string& line : telnet_->TakeLog()) {
        sink.OnLog(line);
    }
    Queue(telnet_->TakeReplies());
    if (telnet_->TakePurgeOutput()) {
        sink.OnPurgeOutput();
    }
    if (!announced_ && telnet_->ComPortAgreed()) {
        // The lines' levels once, so that the client starts from a known state.
        announced_ = true;
        Queue(telnet_->ModemStateNotification(Levels(), 0xFF));
    }
}

void Rfc2217Transport::Accept(TransportSink& sink) {
    sockaddr_in peer{};
    socklen_t length = sizeof peer;
    const int fd = accept(listener_, reinterpret_cast<sockaddr*>(&peer), &length);
    if (fd < 0) {
        return;
    }
    char address[INET_ADDRSTRLEN] = {};
    inet_ntop(AF_INET, &peer.sin_addr, address, sizeof address);
    const std::string who = std::string(address) + ":" + std::to_string(ntohs(peer.sin_port));
    if (client_ >= 0) {
        // The last client may have left without its close being seen yet.
        std::uint8_t probe = 0;
        if (recv(client_, &probe, 1, MSG_PEEK | MSG_DONTWAIT) == 0) {
            Drop(sink, "client left");
        } else {
            sink.OnLog("refused " + who + ": one client at a time");
            close(fd);
            return;
        }
    }
    SetNonBlocking(fd);
    const int yes = 1;
    setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &yes, sizeof yes);
    client_ = fd;
    telnet_ = std::make_unique<TelnetComPort>();
    announced_ = false;
    out_.clear();
    sink.OnLog("client " + who + " connected");
}

void Rfc2217Transport::Drop(TransportSink& sink, const std::string& why) {
    sink.OnLog(why);
    close(client_);
    client_ = -1;
    telnet_.reset();
    out_.clear();
}

void Rfc2217Transport::Queue(const Bytes& bytes) {
    if (client_ < 0 || bytes.empty() || out_.size() + bytes.size() > kMaxQueued) {
        return;
    }
    out_.insert(out_.end(), bytes.begin(), bytes.end());
}

void Rfc2217Transport::Flush(TransportSink& sink) {
    while (!out_.empty()) {
        const ssize_t n = send(client_, out_.data(), out_.size(), MSG_NOSIGNAL);
        if (n < 0) {
            if (errno != EAGAIN && errno != EINTR) {
                Drop(sink, std::string("client lost: ") + std::strerror(errno));
            }
            return;
        }
        out_.erase(out_.begin(), out_.begin() + n);
    }
}

void Rfc2217Transport::Write(ByteSpan bytes) {
    if (client_ < 0) {
        return;
    }
    Queue(TelnetComPort::EscapeData(bytes));
    if (!out_.empty()) {
        const ssize_t n = send(client_, out_.data(), out_.size(), MSG_NOSIGNAL);
        if (n > 0) {
            out_.erase(out_.begin(), out_.begin() + n);
        }
    }
}

std::uint8_t Rfc2217Transport::Levels() const {
    // Lines other than the pulse's are held as a powered receiver holds them: DSR and CTS on.
    std::uint8_t levels = static_cast<std::uint8_t>((kDsr | kCts) & ~LineBit(pps_));
    if (ppsHigh_) {
        levels |= LineBit(pps_);
    }
    return levels;
}

void Rfc2217Transport::SetPpsLevel(bool high) {
    if (pps_ == PpsLine::None || high == ppsHigh_) {
        return;
    }
    ppsHigh_ = high;
    if (client_ < 0) {
        return;
    }
    Queue(telnet_->ModemStateNotification(static_cast<std::uint8_t>(Levels() | DeltaBit(pps_)),
                                          static_cast<std::uint8_t>(LineBit(pps_) | DeltaBit(pps_))));
    if (!out_.empty()) {
        const ssize_t n = send(client_, out_.data(), out_.size(), MSG_NOSIGNAL);
        if (n > 0) {
            out_.erase(out_.begin(), out_.begin() + n);
        }
    }
}

} // namespace receiversim
