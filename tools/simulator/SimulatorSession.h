// A simulated receiver running in a background thread, for the program's own tests: start it over a
// pseudo-terminal or an RFC 2217 server, point the program at Target(), stop it (or let it go out of scope).
#pragma once

#include "tools/simulator/SimulatorLoop.h"

#include <memory>
#include <string>
#include <thread>

namespace receiversim {

enum class TransportKind { Pty, Rfc2217 };

struct SessionOptions {
    TransportKind transport = TransportKind::Pty;
    std::string host = "127.0.0.1";
    std::uint16_t port = 0; // 0: any free port
    PpsLine pps = PpsLine::Dcd;
    LoopOptions loop;
};

class SimulatorSession {
public:
    // Null with the reason in error when the transport cannot be set up.
    static std::unique_ptr<SimulatorSession> Start(std::unique_ptr<ReceiverEngine> engine,
                                                   const SessionOptions& options, std::string& error);
    ~SimulatorSession();
    SimulatorSession(const SimulatorSession&) = delete;
    SimulatorSession& operator=(const SimulatorSession&) = delete;

    // The pty's slave path, or "rfc2217://host:port".
    const std::string& Target() const { return target_; }
    // The TCP port of an RFC 2217 session, 0 for a pty.
    std::uint16_t Port() const { return port_; }
    void TriggerSecond(UtcInstant edge) { loop_->TriggerSecond(edge); }
    void WithEngine(const std::function<void(ReceiverEngine&)>& fn) { loop_->WithEngine(fn); }
    void Stop();

private:
    SimulatorSession() = default;
    std::unique_ptr<SimulatorLoop> loop_;
    std::thread thread_;
    std::string target_;
    std::uint16_t port_ = 0;
};

} // namespace receiversim
