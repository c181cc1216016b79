#include "platform/registry/Hive.h"

#include "platform/base/LastError.h"
#include "platform/registry/HiveText.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace doliva::registry {

namespace {

// Failing to create or replace a file in the hive's directory means the user may not write there.
LONG WriteError(int err) {
    if (err == EACCES || err == EPERM || err == EROFS) {
        return ERROR_ACCESS_DENIED;
    }
    return static_cast<LONG>(Win32ErrorFromErrno(err));
}

std::string DirectoryOf(const std::string& path) {
    size_t slash = path.find_last_of('/');
    if (slash == std::string::npos) {
        return ".";
    }
    return slash == 0 ? "/" : path.substr(0, slash);
}

LONG MakeDirectories(const std::string& dir) {
    struct stat st;
    if (stat(dir.c_str(), &st) == 0) {
        return S_ISDIR(st.st_mode) ? ERROR_SUCCESS : ERROR_PATH_NOT_FOUND;
    }
    if (errno != ENOENT) {
        return WriteError(errno);
    }
    std::string parent = DirectoryOf(dir);
    if (parent != dir) {
        LONG rc = MakeDirectories(parent);
        if (rc != ERROR_SUCCESS) {
            return rc;
        }
    }
    if (mkdir(dir.c_str(), 0777) != 0 && errno != EEXIST) {
        return WriteError(errno);
    }
    return ERROR_SUCCESS;
}

void SyncDirectory(const std::string& dir) {
    int fd = open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        fsync(fd);
        close(fd);
    }
}

bool WriteAll(int fd, const std::string& text) {
    size_t done = 0;
    while (done < text.size()) {
        ssize_t n = write(fd, text.data() + done, text.size() - done);
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            return false;
        }
        done += static_cast<size_t>(n);
    }
    return true;
}

std::string UtcStamp() {
    std::time_t now = std::time(nullptr);
    std::tm tm{};
    gmtime_r(&now, &tm);
    char buf[32];
    std::strftime(buf, sizeof buf, "%Y%m%dT%H%M%SZ", &tm);
    return buf;
}

} // namespace

Hive::Hive(std::string path, std::u16string rootName)
    : m_path(std::move(path)), m_dir(DirectoryOf(m_path)), m_rootName(std::move(rootName)),
      m_forest(std::make_shared<KeyNode>(u"")), m_root(m_forest->AddSubkey(m_rootName)) {}

LONG Hive::Read(const std::function<LONG()>& op) {
    std::lock_guard<std::recursive_mutex> guard(m_mutex);
    LONG rc = Refresh();
    return rc != ERROR_SUCCESS ? rc : op();
}

LONG Hive::Write(const std::function<LONG(bool& changed)>& op) {
    std::lock_guard<std::recursive_mutex> guard(m_mutex);
    LONG rc = MakeDirectories(m_dir);
    if (rc != ERROR_SUCCESS) {
        return rc;
    }
    int lockFd = -1;
    rc = LockFile(&lockFd);
    if (rc != ERROR_SUCCESS) {
        return rc;
    }
    // Another process may have written since we read: always compare with the file itself under the lock,
    // since a rewrite can reuse the inode within one time-stamp tick.
    rc = Load(true);
    if (rc == ERROR_SUCCESS && m_stuck) {
        rc = ERROR_REGISTRY_CORRUPT;
    }
    bool changed = false;
    if (rc == ERROR_SUCCESS) {
        rc = op(changed);
    }
    if (rc == ERROR_SUCCESS && changed) {
        rc = WriteFile(FormatHiveText(*m_forest));
        if (rc != ERROR_SUCCESS) {
            m_seenText.reset();
            Load(true);
        }
    }
    close(lockFd); // releases the lock
    return rc;
}

bool Hive::CanWrite() const {
    std::string dir = m_dir;
    while (true) {
        if (access(dir.c_str(), F_OK) == 0) {
            return access(dir.c_str(), W_OK | X_OK) == 0;
        }
        std::string parent = DirectoryOf(dir);
        if (parent == dir) {
            return false;
        }
        dir = parent;
    }
}

FILETIME Hive::LastWriteTime() const {
    FILETIME ft{};
    if (m_seen.exists) {
        unsigned long long ticks =
            (static_cast<unsigned long long>(m_seen.mtimeSec) + 11644473600ull) * 10000000ull +
            static_cast<unsigned long long>(m_seen.mtimeNsec) / 100;
        ft.dwLowDateTime = static_cast<DWORD>(ticks);
        ft.dwHighDateTime = static_cast<DWORD>(ticks >> 32);
    }
    return ft;
}

namespace {
HiveFileId IdOf(const struct stat& st) {
    HiveFileId id;
    id.exists = true;
    id.dev = st.st_dev;
    id.ino = st.st_ino;
    id.size = static_cast<unsigned long long>(st.st_size);
    id.mtimeSec = st.st_mtim.tv_sec;
    id.mtimeNsec = st.st_mtim.tv_nsec;
    id.ctimeSec = st.st_ctim.tv_sec;
    id.ctimeNsec = st.st_ctim.tv_nsec;
    return id;
}
} // namespace

LONG Hive::Refresh() {
    if (m_seenText) {
        struct stat st;
        HiveFileId id;
        if (stat(m_path.c_str(), &st) == 0) {
            id = IdOf(st);
        } else if (errno != ENOENT) {
            return static_cast<LONG>(Win32ErrorFromErrno(errno));
        }
        if (id == m_seen) {
            return ERROR_SUCCESS;
        }
    }
    return Load(false);
}

LONG Hive::Load(bool locked) {
    std::string bytes;
    HiveFileId id;
    int fd = open(m_path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        if (errno != ENOENT) {
            return static_cast<LONG>(Win32ErrorFromErrno(errno));
        }
    } else {
        struct stat st;
        if (fstat(fd, &st) == 0) {
            id = IdOf(st);
        }
        char buf[65536];
        while (true) {
            ssize_t n = read(fd, buf, sizeof buf);
            if (n < 0 && errno == EINTR) {
                continue;
            }
            if (n < 0) {
                int err = errno;
                close(fd);
                return static_cast<LONG>(Win32ErrorFromErrno(err));
            }
            if (n == 0) {
                break;
            }
            bytes.append(buf, static_cast<size_t>(n));
        }
        close(fd);
    }
    bool sameText = m_seenText && *m_seenText == bytes;
    if (sameText && !(m_stuck && locked)) {
        m_seen = id;
        return ERROR_SUCCESS;
    }
    HiveParseResult parsed = ParseHiveText(bytes);
    if (parsed.Ok()) {
        ResetTo(parsed.forest);
        m_seen = id;
        m_seenText = std::move(bytes);
        m_stuck = false;
        return ERROR_SUCCESS;
    }
    if (!locked) {
        // Moving the file aside must not race a writer; without the lock (a directory we may not write)
        // the move fails anyway.
        int lockFd = -1;
        if (LockFile(&lockFd) == ERROR_SUCCESS) {
            LONG rc = Load(true);
            close(lockFd);
            return rc;
        }
    }
    if (!(sameText && m_stuck)) {
        Damaged(bytes, id, parsed.errorLine, parsed.error);
    } else {
        // Already reported; try the move again now that we hold the lock.
        std::string aside = m_path + ".damaged-" + UtcStamp();
        if (access(aside.c_str(), F_OK) != 0 && rename(m_path.c_str(), aside.c_str()) == 0) {
            std::fprintf(stderr, "doliva: the damaged settings file %s was moved to %s\n", m_path.c_str(),
                         aside.c_str());
            SyncDirectory(m_dir);
            m_seen = HiveFileId{};
            m_seenText = std::string();
            m_stuck = false;
        }
    }
    return ERROR_SUCCESS;
}

void Hive::Damaged(const std::string& bytes, const HiveFileId& id, size_t line, const std::string& what) {
    std::string stamp = UtcStamp();
    std::string aside = m_path + ".damaged-" + stamp;
    for (int n = 2; access(aside.c_str(), F_OK) == 0; ++n) {
        aside = m_path + ".damaged-" + stamp + "-" + std::to_string(n);
    }
    ResetTo(std::make_shared<KeyNode>(u""));
    if (rename(m_path.c_str(), aside.c_str()) == 0) {
        SyncDirectory(m_dir);
        std::fprintf(stderr,
                     "doliva: the settings file %s is damaged at line %zu (%s); it was moved to %s and the "
                     "settings start empty\n",
                     m_path.c_str(), line, what.c_str(), aside.c_str());
        m_seen = HiveFileId{};
        m_seenText = std::string();
        m_stuck = false;
    } else {
        std::fprintf(stderr,
                     "doliva: the settings file %s is damaged at line %zu (%s); it could not be moved aside "
                     "(%s), so it is left as it is, read as empty and not written\n",
                     m_path.c_str(), line, what.c_str(), std::strerror(errno));
        m_seen = id;
        m_seenText = bytes;
        m_stuck = true;
    }
}

void Hive::ResetTo(std::shared_ptr<KeyNode> forest) {
    forest->AddSubkey(m_rootName); // the hive's own root never goes away
    m_forest->Adopt(*forest);
}

LONG Hive::LockFile(int* fd) const {
    std::string lockPath = m_path + ".lock";
    int lfd = open(lockPath.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
    if (lfd < 0) {
        return WriteError(errno);
    }
    while (flock(lfd, LOCK_EX) != 0) {
        if (errno != EINTR) {
            int err = errno;
            close(lfd);
            return static_cast<LONG>(Win32ErrorFromErrno(err));
        }
    }
    *fd = lfd;
    return ERROR_SUCCESS;
}

LONG Hive::WriteFile(const std::string& text) {
    std::string tmp = m_path + ".tmp";
    int fd = open(tmp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC | O_NOFOLLOW, 0666);
    if (fd < 0) {
        return WriteError(errno);
    }
    struct stat old;
    if (stat(m_path.c_str(), &old) == 0) {
        fchmod(fd, old.st_mode & 07777);
    }
    if (!WriteAll(fd, text) || fsync(fd) != 0 || rename(tmp.c_str(), m_path.c_str()) != 0) {
        int err = errno;
        close(fd);
        unlink(tmp.c_str());
        return WriteError(err);
    }
    struct stat st;
    HiveFileId id;
    if (fstat(fd, &st) == 0) {
        id = IdOf(st);
    }
    close(fd);
    SyncDirectory(m_dir);
    m_seen = id;
    m_seenText = text;
    return ERROR_SUCCESS;
}

} // namespace doliva::registry
