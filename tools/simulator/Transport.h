// How a simulated receiver reaches the program: a pseudo-terminal or an RFC 2217 server. The loop waits on
// the transport's descriptors, hands it the receiver's output and asks it for the program's line settings.
#pragma once

#include "tools/simulator/SimTypes.h"

#include <chrono>
#include <string>
#include <vector>

#include <poll.h>

namespace receiversim {

enum class PpsLine { None, Dcd, Cts, Dsr };

class TransportSink {
public:
    virtual ~TransportSink() = default;
    // Bytes the program wrote, at its line settings.
    virtual void OnData(ByteSpan bytes, const LineSettings& hostLine) = 0;
    virtual void OnLog(const std::string& line) = 0;
    // The program asked to drop what has not been sent to it yet.
    virtual void OnPurgeOutput() {}
};

class Transport {
public:
    virtual ~Transport() = default;
    // What the program connects to: a device path or "rfc2217://host:port".
    virtual std::string Target() const = 0;
    // Adds the descriptors to wait on and may shorten the wait.
    virtual void Prepare(std::vector<pollfd>& fds, std::chrono::nanoseconds& timeout) = 0;
    // Handles the results of the wait for the descriptors from index first on.
    virtual void Service(const std::vector<pollfd>& fds, std::size_t first, TransportSink& sink) = 0;
    // Someone is there to receive.
    virtual bool Connected() const = 0;
    virtual LineSettings HostLine() const = 0;
    virtual void Write(ByteSpan bytes) = 0;
    // The program asked for a pause in the data it receives.
    virtual bool OutputHeld() const { return false; }
    // The 1PPS line's level; a transport without modem lines ignores it.
    virtual void SetPpsLevel(bool /*high*/) {}
};

} // namespace receiversim
