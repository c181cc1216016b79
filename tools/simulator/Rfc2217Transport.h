// An RFC 2217 server on a TCP port: one client at a time, who may leave and come back. Besides data it
// carries the 1PPS edges as modem-state notifications on the chosen line.
#pragma once

#include "tools/simulator/TelnetComPort.h"
#include "tools/simulator/Transport.h"

#include <memory>

namespace receiversim {

class Rfc2217Transport : public Transport {
public:
    // Listens on host:port (port 0: any free port). Null with the reason in error on failure.
    static std::unique_ptr<Rfc2217Transport> Create(const std::string& host, std::uint16_t port, PpsLine pps,
                                                    std::string& error);
    ~Rfc2217Transport() override;

    std::string Target() const override;
    std::uint16_t Port() const { return port_; }
    void Prepare(std::vector<pollfd>& fds, std::chrono::nanoseconds& timeout) override;
    void Service(const std::vector<pollfd>& fds, std::size_t first, TransportSink& sink) override;
    bool Connected() const override { return client_ >= 0; }
    LineSettings HostLine() const override { return telnet_ ? telnet_->Line() : LineSettings{}; }
    void Write(ByteSpan bytes) override;
    bool OutputHeld() const override { return telnet_ && telnet_->OutputSuspended(); }
    void SetPpsLevel(bool high) override;

private:
    Rfc2217Transport(int listener, std::string host, std::uint16_t port, PpsLine pps);
    void ServiceClient(const pollfd& client, TransportSink& sink);
    void Accept(TransportSink& sink);
    void Drop(TransportSink& sink, const std::string& why);
    void Queue(const Bytes& bytes);
    void Flush(TransportSink& sink);
    std::uint8_t Levels() const;
    void Pass(TransportSink& sink);

    int listener_;
    std::string host_;
    std::uint16_t port_;
    PpsLine pps_;
    bool ppsHigh_ = false;
    bool announced_ = false;
    int client_ = -1;
    std::unique_ptr<TelnetComPort> telnet_;
    Bytes out_;
};

} // namespace receiversim
