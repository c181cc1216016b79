#include "platform/kernel/FileLock.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

ExclusiveFileLock::Result ExclusiveFileLock::TryTake(const std::string& path, std::string* why) {
    Release();
    constexpr int kFlags = O_CLOEXEC | O_NOFOLLOW;
    int fd = open(path.c_str(), O_RDWR | O_CREAT | kFlags, 0600);
    if (fd < 0 && (errno == EACCES || errno == EROFS)) {
        fd = open(path.c_str(), O_RDONLY | kFlags); // flock needs no write access
    }
    if (fd < 0) {
        if (why) {
            *why = path + " cannot be opened (" + std::strerror(errno) + ")";
        }
        return Result::kUnavailable;
    }
    int rc;
    do {
        rc = flock(fd, LOCK_EX | LOCK_NB);
    } while (rc != 0 && errno == EINTR);
    if (rc != 0) {
        const int err = errno;
        close(fd);
        if (err == EWOULDBLOCK) {
            return Result::kHeld;
        }
        if (why) {
            *why = path + " cannot be locked (" + std::strerror(err) + ")";
        }
        return Result::kUnavailable;
    }
    m_fd = fd;
    return Result::kTaken;
}

void ExclusiveFileLock::Release() {
    if (m_fd >= 0) {
        close(m_fd); // lets go of the lock
        m_fd = -1;
    }
}
