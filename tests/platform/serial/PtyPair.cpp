// Kept apart from the tests: the kernel's termios2 and the C library's <termios.h> cannot meet in one file.
#include "SerialTestSupport.h"

#include <asm/termbits.h>
#include <sys/ioctl.h>

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

namespace serialtest {

namespace {

termios2 MasterTermios(int master) {
    termios2 t{};
    EXPECT_EQ(ioctl(master, TCGETS2, &t), 0);
    return t;
}

} // namespace

PtyPair::PtyPair() {
    master_ = posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    EXPECT_GE(master_, 0);
    EXPECT_EQ(grantpt(master_), 0);
    EXPECT_EQ(unlockpt(master_), 0);
    slavePath_ = ptsname(master_);
    slave_ = open(slavePath_.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC);
    EXPECT_GE(slave_, 0);
}

PtyPair::~PtyPair() {
    CloseMaster();
    if (slave_ >= 0) {
        close(slave_);
    }
}

void PtyPair::CloseMaster() {
    if (master_ >= 0) {
        close(master_);
        master_ = -1;
    }
}

DWORD PtyPair::MasterRate() const {
    return MasterTermios(master_).c_ospeed;
}

bool PtyPair::MasterUsesStandardCode() const {
    return (MasterTermios(master_).c_cflag & CBAUD) != BOTHER;
}

bool PtyPair::MasterTwoStopBits() const {
    return (MasterTermios(master_).c_cflag & CSTOPB) != 0;
}

void PtyPair::Write(const std::string& bytes) {
    std::size_t at = 0;
    while (at < bytes.size()) {
        const ssize_t n = write(master_, bytes.data() + at, bytes.size() - at);
        ASSERT_GT(n, 0);
        at += static_cast<std::size_t>(n);
    }
}

std::string PtyPair::Read(std::size_t count, DWORD ms) {
    std::string got;
    const auto start = Clock::now();
    while (got.size() < count) {
        const std::int64_t left = static_cast<std::int64_t>(ms) - MsSince(start);
        if (left <= 0) {
            break;
        }
        pollfd p{master_, POLLIN, 0};
        if (poll(&p, 1, static_cast<int>(left)) <= 0) {
            continue;
        }
        char buffer[4096];
        const ssize_t n = read(master_, buffer, std::min(sizeof buffer, count - got.size()));
        if (n <= 0) {
            break;
        }
        got.append(buffer, static_cast<std::size_t>(n));
    }
    return got;
}

} // namespace serialtest
