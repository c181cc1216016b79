// A tiny RFC 2217 client for the tests: connects on loopback, negotiates the COM-PORT option, and sorts what
// the server sends into data, port-command answers and modem-state notifications (with their arrival times).
#pragma once

#include "tests/tools/SimTestSupport.h"

#include <arpa/inet.h>
#include <chrono>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace simtest {

class TelnetTestClient {
public:
    using Clock = std::chrono::steady_clock;
    struct Notification {
        std::uint8_t state;
        Clock::time_point at;
    };

    explicit TelnetTestClient(std::uint16_t port) {
        fd_ = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_in a{};
        a.sin_family = AF_INET;
        a.sin_port = htons(port);
        a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        connected_ = connect(fd_, reinterpret_cast<sockaddr*>(&a), sizeof a) == 0;
    }
    ~TelnetTestClient() { Close(); }
    TelnetTestClient(const TelnetTestClient&) = delete;
    TelnetTestClient& operator=(const TelnetTestClient&) = delete;

    bool Connected() const { return connected_; }
    void Close() {
        if (fd_ >= 0) {
            close(fd_);
            fd_ = -1;
        }
    }
    void Send(const Bytes& bytes) {
        ASSERT_EQ(static_cast<ssize_t>(bytes.size()), write(fd_, bytes.data(), bytes.size()));
    }
    void SendData(const std::string& text) {
        Bytes out;
        for (char c : text) {
            out.push_back(static_cast<std::uint8_t>(c));
            if (static_cast<std::uint8_t>(c) == 0xFF) {
                out.push_back(0xFF);
            }
        }
        Send(out);
    }
    void ComPort(std::uint8_t command, const Bytes& value) {
        Bytes out{255, 250, 44, command};
        for (std::uint8_t b : value) {
            out.push_back(b);
            if (b == 255) {
                out.push_back(255);
            }
        }
        out.insert(out.end(), {255, 240});
        Send(out);
    }
    // WILL COM-PORT-OPTION, then waits for the server's DO.
    bool Negotiate() {
        Send(Bytes{255, 251, 44});
        return PumpUntil([&] { return agreed_; }, std::chrono::seconds(2));
    }
    bool SetBaud(std::uint32_t baud) {
        ComPort(1, Bytes{static_cast<std::uint8_t>(baud >> 24), static_cast<std::uint8_t>(baud >> 16),
                         static_cast<std::uint8_t>(baud >> 8), static_cast<std::uint8_t>(baud)});
        const std::size_t before = answers_.size();
        return PumpUntil([&] { return answers_.size() > before; }, std::chrono::seconds(2)) &&
               answers_.back() ==
                   Bytes{101, static_cast<std::uint8_t>(baud >> 24), static_cast<std::uint8_t>(baud >> 16),
                         static_cast<std::uint8_t>(baud >> 8), static_cast<std::uint8_t>(baud)};
    }

    // Reads until the condition holds, the time is up or the server closes.
    template <typename Condition>
    bool PumpUntil(Condition done, std::chrono::milliseconds limit) {
        const auto end = Clock::now() + limit;
        while (!done()) {
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(end - Clock::now());
            if (left.count() <= 0 || closed_) {
                return false;
            }
            pollfd p{fd_, POLLIN, 0};
            if (poll(&p, 1, static_cast<int>(left.count())) <= 0) {
                continue;
            }
            std::uint8_t buffer[4096];
            const ssize_t n = read(fd_, buffer, sizeof buffer);
            if (n <= 0) {
                closed_ = true;
                return done();
            }
            for (ssize_t i = 0; i < n; ++i) {
                Parse(buffer[i]);
            }
        }
        return true;
    }
    void Pump(std::chrono::milliseconds limit) {
        PumpUntil([] { return false; }, limit);
    }

    Bytes data;
    std::vector<Notification> notifications;
    bool ServerClosed() const { return closed_; }

private:
    void Parse(std::uint8_t b) {
        switch (state_) {
        case 0:
            if (b == 255) {
                state_ = 1;
            } else {
                data.push_back(b);
            }
            break;
        case 1:
            if (b == 255) {
                data.push_back(b);
                state_ = 0;
            } else if (b >= 251) {
                verb_ = b;
                state_ = 2;
            } else if (b == 250) {
                sub_.clear();
                state_ = 3;
            } else {
                state_ = 0;
            }
            break;
        case 2:
            if (verb_ == 253 && b == 44) {
                agreed_ = true;
            }
            state_ = 0;
            break;
        case 3:
            if (b == 255) {
                state_ = 4;
            } else {
                sub_.push_back(b);
            }
            break;
        case 4:
            if (b == 240) {
                if (sub_.size() >= 3 && sub_[0] == 44 && sub_[1] == 107) {
                    notifications.push_back({sub_[2], Clock::now()});
                } else if (sub_.size() >= 2 && sub_[0] == 44) {
                    answers_.push_back(Bytes(sub_.begin() + 1, sub_.end()));
                }
                state_ = 0;
            } else {
                sub_.push_back(b);
                state_ = 3;
            }
            break;
        }
    }

    int fd_ = -1;
    bool connected_ = false;
    bool closed_ = false;
    bool agreed_ = false;
    int state_ = 0;
    std::uint8_t verb_ = 0;
    Bytes sub_;
    std::vector<Bytes> answers_;
};

} // namespace simtest
