// An exclusive advisory lock (flock) on a file, held while the object holds it. The lock goes with the open
// file, not the process: two objects of one process exclude each other as two processes do, and a process
// that ends, however it ends, lets go of its locks. Programs it starts never inherit them.
#pragma once

#include <string>

class ExclusiveFileLock {
public:
    enum class Result {
        kTaken,       // this object holds the lock now
        kHeld,        // someone else holds it
        kUnavailable, // the file cannot be opened or locked
    };

    ExclusiveFileLock() = default;
    ~ExclusiveFileLock() { Release(); }
    ExclusiveFileLock(const ExclusiveFileLock&) = delete;
    ExclusiveFileLock& operator=(const ExclusiveFileLock&) = delete;

    // Opens the file (creating it, mode 0600, when missing; for reading only when it cannot be written) and
    // takes the lock without waiting; a lock this object held before is let go first. A symbolic link is
    // never followed. With kUnavailable, *why (when given) says what failed.
    Result TryTake(const std::string& path, std::string* why = nullptr);
    bool Held() const { return m_fd >= 0; }
    void Release();

private:
    int m_fd = -1;
};
