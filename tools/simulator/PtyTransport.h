// A pseudo-terminal: the program opens the slave path; the simulator works the master. Data only, no modem
// lines. The program's line settings are read from the master, which shares the slave's termios; of those
// only the rate tells anything, as the pty driver forces 8 data bits without parity whatever is set.
#pragma once

#include "tools/simulator/Transport.h"

#include <memory>

namespace receiversim {

class PtyTransport : public Transport {
public:
    // Null with the reason in error when no pseudo-terminal can be had.
    static std::unique_ptr<PtyTransport> Create(const LineSettings& initial, std::string& error);
    ~PtyTransport() override;

    std::string Target() const override { return slavePath_; }
    void Prepare(std::vector<pollfd>& fds, std::chrono::nanoseconds& timeout) override;
    void Service(const std::vector<pollfd>& fds, std::size_t first, TransportSink& sink) override;
    bool Connected() const override { return connected_; }
    LineSettings HostLine() const override;
    void Write(ByteSpan bytes) override;

private:
    PtyTransport(int master, std::string slavePath);
    void CheckConnected(TransportSink& sink);
    void Flush();

    int master_;
    std::string slavePath_;
    bool connected_ = false;
    bool servicedOnce_ = false;
    Bytes pending_; // written while the master's buffer was full
};

// The settings in a terminal's termios (tcgetattr on a pty master reads the pair's).
bool ReadLineSettings(int fd, LineSettings& line);

} // namespace receiversim
