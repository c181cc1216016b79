#include "tools/simulator/PtyTransport.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

namespace receiversim {

namespace {

speed_t SpeedCode(std::uint32_t baud) {
    switch (baud) {
    case 300:
        return B300;
    case 600:
        return B600;
    case 1200:
        return B1200;
    case 2400:
        return B2400;
    case 4800:
        return B4800;
    case 19200:
        return B19200;
    case 38400:
        return B38400;
    case 57600:
        return B57600;
    case 115200:
        return B115200;
    default:
        return B9600;
    }
}

constexpr std::size_t kMaxPending = 256 * 1024;

} // namespace

std::unique_ptr<PtyTransport> PtyTransport::Create(const LineSettings& initial, std::string& error) {
    // Raw from the start: with the default line discipline the slave would echo the receiver's output
    // back to it before the program sets its own modes.
    struct termios t {};
    cfmakeraw(&t);
    t.c_cflag |= CLOCAL | CREAD;
    cfsetispeed(&t, SpeedCode(initial.baud));
    cfsetospeed(&t, SpeedCode(initial.baud));
    int master = -1;
    int slave = -1;
    char name[256] = {};
    if (openpty(&master, &slave, name, &t, nullptr) != 0) {
        error = std::string("openpty: ") + std::strerror(errno);
        return nullptr;
    }
    // Only the program holds the slave open, so that the master sees when it comes and goes.
    close(slave);
    fcntl(master, F_SETFL, fcntl(master, F_GETFL) | O_NONBLOCK);
    fcntl(master, F_SETFD, FD_CLOEXEC);
    return std::unique_ptr<PtyTransport>(new PtyTransport(master, name));
}

PtyTransport::PtyTransport(int master, std::string slavePath)
    : master_(master), slavePath_(std::move(slavePath)) {}

PtyTransport::~PtyTransport() {
    close(master_);
}

LineSettings PtyTransport::HostLine() const {
    LineSettings line;
    ReadLineSettings(master_, line);
    return line;
}

void PtyTransport::Prepare(std::vector<pollfd>& fds, std::chrono::nanoseconds& timeout) {
    if (connected_) {
        fds.push_back(pollfd{master_, static_cast<short>(POLLIN | (pending_.empty() ? 0 : POLLOUT)), 0});
    } else {
        // While nobody holds the slave the master reports a hang-up at once: look again shortly.
        fds.push_back(pollfd{-1, 0, 0});
        timeout = std::min<std::chrono::nanoseconds>(timeout, std::chrono::milliseconds(20));
    }
}

void PtyTransport::CheckConnected(TransportSink& sink) {
    pollfd p{master_, POLLIN, 0};
    const bool now = poll(&p, 1, 0) >= 0 && (p.revents & POLLHUP) == 0;
    if (now != connected_ || !servicedOnce_) {
        if (now) {
            sink.OnLog("program opened " + slavePath_ + " at " + HostLine().ToString());
        } else if (servicedOnce_) {
            sink.OnLog("program closed " + slavePath_);
        }
        connected_ = now;
        servicedOnce_ = true;
        if (!now) {
            pending_.clear();
        }
    }
}

void PtyTransport::Service(const std::vector<pollfd>& fds, std::size_t first, TransportSink& sink) {
    const short revents = fds[first].revents;
    if (!connected_ || (revents & (POLLHUP | POLLERR)) != 0) {
        CheckConnected(sink);
    }
    if (!connected_) {
        return;
    }
    if ((revents & POLLIN) != 0) {
        std::uint8_t buffer[4096];
        const ssize_t n = read(master_, buffer, sizeof buffer);
        if (n > 0) {
            sink.OnData(ByteSpan(buffer, static_cast<std::size_t>(n)), HostLine());
        } else if (n < 0 && errno == EIO) {
            CheckConnected(sink);
        }
    }
    if ((revents & POLLOUT) != 0) {
        Flush();
    }
}

void PtyTransport::Flush() {
    while (!pending_.empty()) {
        const ssize_t n = write(master_, pending_.data(), pending_.size());
        if (n <= 0) {
            return;
        }
        pending_.erase(pending_.begin(), pending_.begin() + n);
    }
}

void PtyTransport::Write(ByteSpan bytes) {
    if (!connected_) {
        return;
    }
    if (pending_.size() + bytes.size() > kMaxPending) {
        return; // the program does not read: a receiver's output is lost just the same
    }
    pending_.insert(pending_.end(), bytes.begin(), bytes.end());
    Flush();
}

} // namespace receiversim
