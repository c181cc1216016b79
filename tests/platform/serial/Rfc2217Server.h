// A small RFC 2217 port server on 127.0.0.1 for the tests: it takes one client, agrees to BINARY,
// SUPPRESS-GO-AHEAD and COM-PORT-OPTION, confirms every command as a real server does, and records what the
// client sent. Its parser is its own, so that the client's is checked against an independent reading.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace serialtest {

class Rfc2217Server {
public:
    struct Command {
        std::uint8_t code;
        std::vector<std::uint8_t> value;
        bool operator==(const Command&) const = default;
    };

    Rfc2217Server();
    ~Rfc2217Server();
    Rfc2217Server(const Rfc2217Server&) = delete;
    Rfc2217Server& operator=(const Rfc2217Server&) = delete;

    std::string Address() const;

    // Bytes to the client as they are, or as serial data (IAC doubled).
    void SendRaw(const std::vector<std::uint8_t>& bytes);
    void SendData(const std::string& data);
    void SendNotification(std::uint8_t code, std::uint8_t value); // code is the server's (107, 106, ...)
    // Closes the client's connection.
    void Drop();

    // Serial data from the client, IAC IAC undone; the raw stream; the negotiation as (verb, option) pairs.
    std::string Data() const;
    std::vector<std::uint8_t> Raw() const;
    std::vector<std::pair<std::uint8_t, std::uint8_t>> Negotiation() const;
    std::vector<Command> Commands() const;
    void ClearCommands();

    // Waits (up to `ms`) until `ready` holds for the recorded state.
    bool WaitFor(const std::function<bool()>& ready, int ms = 10'000) const;

private:
    void Run();
    void Parse(std::uint8_t b);
    void Send(const std::vector<std::uint8_t>& bytes);

    int listen_ = -1;
    int client_ = -1;
    int stop_[2] = {-1, -1};
    int port_ = 0;
    std::thread thread_;

    mutable std::mutex mutex_;
    mutable std::condition_variable changed_;
    std::string data_;
    std::vector<std::uint8_t> raw_;
    std::vector<std::pair<std::uint8_t, std::uint8_t>> negotiation_;
    std::vector<Command> commands_;

    // Parser state (server thread only).
    int state_ = 0;
    std::uint8_t verb_ = 0;
    std::vector<std::uint8_t> sb_;
};

} // namespace serialtest
