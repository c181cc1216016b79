#include "Rfc2217Server.h"

#include <arpa/inet.h>
#include <cerrno>
#include <chrono>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace serialtest {

namespace {

constexpr std::uint8_t IAC = 255, WILL = 251, WONT = 252, DO = 253, DONT = 254, SB = 250, SE = 240;
enum { kData, kIac, kVerb, kSb, kSbIac };

} // namespace

Rfc2217Server::Rfc2217Server() {
    listen_ = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    bind(listen_, reinterpret_cast<sockaddr*>(&address), sizeof address);
    listen(listen_, 4);
    socklen_t length = sizeof address;
    getsockname(listen_, reinterpret_cast<sockaddr*>(&address), &length);
    port_ = ntohs(address.sin_port);
    if (pipe2(stop_, O_CLOEXEC) != 0) {
        stop_[0] = stop_[1] = -1;
    }
    thread_ = std::thread([this] { Run(); });
}

Rfc2217Server::~Rfc2217Server() {
    const char one = 1;
    (void)!write(stop_[1], &one, 1);
    thread_.join();
    for (int fd : {listen_, client_, stop_[0], stop_[1]}) {
        if (fd >= 0) {
            close(fd);
        }
    }
}

std::string Rfc2217Server::Address() const {
    return "rfc2217://127.0.0.1:" + std::to_string(port_);
}

void Rfc2217Server::Run() {
    for (;;) {
        int current;
        {
            std::lock_guard lock(mutex_);
            current = client_;
        }
        pollfd fds[2] = {{stop_[0], POLLIN, 0}, {current >= 0 ? current : listen_, POLLIN, 0}};
        if (poll(fds, 2, -1) < 0 && errno != EINTR) {
            return;
        }
        if (fds[0].revents != 0) {
            return;
        }
        if (fds[1].revents == 0) {
            continue;
        }
        if (current < 0) {
            const int accepted = accept4(listen_, nullptr, nullptr, SOCK_CLOEXEC);
            std::lock_guard lock(mutex_);
            client_ = accepted;
            continue;
        }
        std::uint8_t buffer[4096];
        const ssize_t n = recv(current, buffer, sizeof buffer, 0);
        if (n <= 0) {
            std::lock_guard lock(mutex_);
            if (client_ == current) {
                close(client_);
                client_ = -1;
            }
            changed_.notify_all();
            continue;
        }
        for (ssize_t i = 0; i < n; ++i) {
            Parse(buffer[i]);
        }
        std::lock_guard lock(mutex_);
        raw_.insert(raw_.end(), buffer, buffer + n);
        changed_.notify_all();
    }
}

void Rfc2217Server::Parse(std::uint8_t b) {
    switch (state_) {
    case kData:
        if (b == IAC) {
            state_ = kIac;
        } else {
            std::lock_guard lock(mutex_);
            data_.push_back(static_cast<char>(b));
        }
        break;
    case kIac:
        if (b == IAC) {
            std::lock_guard lock(mutex_);
            data_.push_back(static_cast<char>(b));
            state_ = kData;
        } else if (b == WILL || b == WONT || b == DO || b == DONT) {
            verb_ = b;
            state_ = kVerb;
        } else if (b == SB) {
            sb_.clear();
            state_ = kSb;
        } else {
            state_ = kData;
        }
        break;
    case kVerb: {
        {
            std::lock_guard lock(mutex_);
            negotiation_.emplace_back(verb_, b);
        }
        const bool known = b == 0 || b == 3 || b == 44;
        if (verb_ == WILL) {
            Send({IAC, static_cast<std::uint8_t>(known ? DO : DONT), b});
        } else if (verb_ == DO) {
            Send({IAC, static_cast<std::uint8_t>(known && b != 44 ? WILL : WONT), b});
        }
        state_ = kData;
        break;
    }
    case kSb:
        if (b == IAC) {
            state_ = kSbIac;
        } else {
            sb_.push_back(b);
        }
        break;
    case kSbIac:
        if (b == IAC) {
            sb_.push_back(b);
            state_ = kSb;
        } else {
            state_ = kData;
            if (b == SE && sb_.size() >= 2 && sb_[0] == 44) {
                Command command{sb_[1], std::vector<std::uint8_t>(sb_.begin() + 2, sb_.end())};
                // Confirm as a server does: the same value under the command's number plus 100.
                std::vector<std::uint8_t> reply{IAC, SB, 44, static_cast<std::uint8_t>(command.code + 100)};
                for (std::uint8_t v : command.value) {
                    reply.push_back(v);
                    if (v == IAC) {
                        reply.push_back(IAC);
                    }
                }
                reply.insert(reply.end(), {IAC, SE});
                Send(reply);
                std::lock_guard lock(mutex_);
                commands_.push_back(std::move(command));
            }
        }
        break;
    }
}

void Rfc2217Server::Send(const std::vector<std::uint8_t>& bytes) {
    int fd;
    {
        std::lock_guard lock(mutex_);
        fd = client_;
    }
    std::size_t at = 0;
    while (fd >= 0 && at < bytes.size()) {
        const ssize_t n = send(fd, bytes.data() + at, bytes.size() - at, MSG_NOSIGNAL);
        if (n <= 0) {
            break;
        }
        at += static_cast<std::size_t>(n);
    }
}

void Rfc2217Server::SendRaw(const std::vector<std::uint8_t>& bytes) {
    Send(bytes);
}

void Rfc2217Server::SendData(const std::string& data) {
    std::vector<std::uint8_t> bytes;
    for (char c : data) {
        bytes.push_back(static_cast<std::uint8_t>(c));
        if (static_cast<std::uint8_t>(c) == IAC) {
            bytes.push_back(IAC);
        }
    }
    Send(bytes);
}

void Rfc2217Server::SendNotification(std::uint8_t code, std::uint8_t value) {
    std::vector<std::uint8_t> bytes{IAC, SB, 44, code, value};
    if (value == IAC) {
        bytes.push_back(IAC);
    }
    bytes.insert(bytes.end(), {IAC, SE});
    Send(bytes);
}

void Rfc2217Server::Drop() {
    std::lock_guard lock(mutex_);
    if (client_ >= 0) {
        shutdown(client_, SHUT_RDWR);
    }
}

std::string Rfc2217Server::Data() const {
    std::lock_guard lock(mutex_);
    return data_;
}

std::vector<std::uint8_t> Rfc2217Server::Raw() const {
    std::lock_guard lock(mutex_);
    return raw_;
}

std::vector<std::pair<std::uint8_t, std::uint8_t>> Rfc2217Server::Negotiation() const {
    std::lock_guard lock(mutex_);
    return negotiation_;
}

std::vector<Rfc2217Server::Command> Rfc2217Server::Commands() const {
    std::lock_guard lock(mutex_);
    return commands_;
}

void Rfc2217Server::ClearCommands() {
    std::lock_guard lock(mutex_);
    commands_.clear();
}

bool Rfc2217Server::WaitFor(const std::function<bool()>& ready, int ms) const {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    while (!ready()) {
        if (std::chrono::steady_clock::now() >= deadline) {
            return false;
        }
        std::unique_lock lock(mutex_);
        changed_.wait_for(lock, std::chrono::milliseconds(5));
    }
    return true;
}

} // namespace serialtest
