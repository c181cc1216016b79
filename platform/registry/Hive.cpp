#include "platform/registry/Hive.h"

#include "platform/base/LastError.h"
#include "platform/registry/HiveText.h"

#include <algorithm>
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

std::string Reason(const std::string& what, int err) {
    return what + " (" + std::strerror(err) + ")";
}

// Creating or replacing a file in `dir` failed with err.
std::string FolderWriteReason(const std::string& dir, int err) {
    return Reason("the folder " + dir + " cannot be written", err);
}

LONG MakeDirectories(const std::string& dir, std::string* why) {
    struct stat st;
    if (stat(dir.c_str(), &st) == 0) {
        if (S_ISDIR(st.st_mode)) {
            return ERROR_SUCCESS;
        }
        *why = dir + " is not a folder";
        return ERROR_PATH_NOT_FOUND;
    }
    if (errno != ENOENT && errno != ENOTDIR) {
        *why = Reason("the folder " + dir + " cannot be reached", errno);
        return WriteError(errno);
    }
    std::string parent = DirectoryOf(dir);
    if (parent != dir) {
        LONG rc = MakeDirectories(parent, why);
        if (rc != ERROR_SUCCESS) {
            return rc;
        }
    }
    if (mkdir(dir.c_str(), 0777) != 0 && errno != EEXIST) {
        *why = Reason("the folder " + dir + " cannot be created", errno);
        return WriteError(errno);
    }
    return ERROR_SUCCESS;
}

// Why reading the hive file at `path` in `dir` failed with err.
std::string ReadReason(const std::string& path, const std::string& dir, int err) {
    if (err == EISDIR) {
        return path + " is a folder";
    }
    if (err == ENOTDIR) {
        // Some folder on the way is a file.
        for (std::string d = dir;; d = DirectoryOf(d)) {
            struct stat st;
            if (stat(d.c_str(), &st) == 0 && !S_ISDIR(st.st_mode)) {
                return d + " is not a folder";
            }
            if (DirectoryOf(d) == d) {
                break;
            }
        }
    }
    return Reason(path + " cannot be read", err);
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

Hive::Hive(std::string path, std::u16string rootName, bool keepInMemory)
    : m_path(std::move(path)), m_dir(DirectoryOf(m_path)), m_rootName(std::move(rootName)),
      m_forest(std::make_shared<KeyNode>(u"")), m_root(m_forest->AddSubkey(m_rootName)),
      m_keepInMemory(keepInMemory) {}

LONG Hive::Read(const std::function<LONG()>& op) {
    std::lock_guard<std::recursive_mutex> guard(m_mutex);
    if (m_inMemory) {
        return op();
    }
    std::string why;
    LONG rc = Refresh(&why);
    if (rc != ERROR_SUCCESS && m_keepInMemory) {
        KeepInMemory(why, true);
        rc = ERROR_SUCCESS;
    }
    return rc != ERROR_SUCCESS ? rc : op();
}

LONG Hive::Write(const std::function<LONG(bool& changed)>& op) {
    std::lock_guard<std::recursive_mutex> guard(m_mutex);
    bool changed = false;
    if (m_inMemory) {
        return op(changed);
    }
    std::string why;
    int lockFd = -1;
    LONG rc = MakeDirectories(m_dir, &why);
    if (rc == ERROR_SUCCESS) {
        rc = LockFile(&lockFd, &why);
    }
    if (rc == ERROR_SUCCESS) {
        // Another process may have written since we read: always compare with the file itself under the
        // lock, since a rewrite can reuse the inode within one time-stamp tick.
        rc = Load(true, &why);
    }
    if (rc == ERROR_SUCCESS && m_stuck) {
        rc = ERROR_REGISTRY_CORRUPT; // reported as damaged already
    }
    if (rc != ERROR_SUCCESS) {
        if (lockFd >= 0) {
            close(lockFd);
        }
        if (!m_keepInMemory) {
            return rc;
        }
        KeepInMemory(why, !m_stuck);
        return op(changed);
    }
    rc = op(changed);
    if (rc == ERROR_SUCCESS && changed) {
        rc = WriteFile(FormatHiveText(*m_forest), &why);
        if (rc != ERROR_SUCCESS && m_keepInMemory) {
            KeepInMemory(why, true); // the tree keeps the change
            rc = ERROR_SUCCESS;
        } else if (rc != ERROR_SUCCESS) {
            m_seenText.reset();
            std::string ignored;
            Load(true, &ignored);
        }
    }
    close(lockFd); // releases the lock
    return rc;
}

bool Hive::InMemory() const {
    std::lock_guard<std::recursive_mutex> guard(m_mutex);
    return m_inMemory;
}

ExclusiveFileLock::Result Hive::Claim(ExclusiveFileLock& lock) {
    std::string why;
    if (MakeDirectories(m_dir, &why) != ERROR_SUCCESS) {
        return ExclusiveFileLock::Result::kUnavailable;
    }
    return lock.TryTake(m_path + ".instance");
}

std::string Hive::CheckWritable() {
    std::lock_guard<std::recursive_mutex> guard(m_mutex);
    if (m_inMemory || !m_keepInMemory) {
        return {};
    }
    std::string why = WriteProblem();
    if (why.empty() && !m_stuck) {
        return {};
    }
    const bool first = !m_reported && !m_stuck;
    KeepInMemory(why, false);
    return first ? SettingsProblemMessage(why) : std::string();
}

std::string Hive::WriteProblem() {
    std::string why;
    if (Refresh(&why) != ERROR_SUCCESS || MakeDirectories(m_dir, &why) != ERROR_SUCCESS) {
        return why;
    }
    struct stat st;
    if (lstat(m_path.c_str(), &st) == 0 && S_ISDIR(st.st_mode)) {
        return m_path + " is a folder";
    }
    int lockFd = -1;
    if (LockFile(&lockFd, &why) != ERROR_SUCCESS) {
        return why;
    }
    // The temporary file a write makes; nobody else uses it while we hold the lock.
    const std::string tmp = m_path + ".tmp";
    int fd = open(tmp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd < 0) {
        why = FolderWriteReason(m_dir, errno);
    } else {
        close(fd);
        unlink(tmp.c_str());
    }
    close(lockFd);
    return why;
}

void Hive::KeepInMemory(const std::string& why, bool report) {
    m_inMemory = true;
    if (report && !m_reported) {
        std::fprintf(stderr, "doliva: %s\n", SettingsProblemMessage(why).c_str());
    }
    m_reported = true;
}

std::string Hive::SettingsProblemMessage(const std::string& why) const {
    return "The settings cannot be saved in " + m_path + ": " + why +
           ". The program goes on with the settings it has; changes made now are kept until it ends.";
}

bool Hive::CanWrite() const {
    if (m_keepInMemory) {
        return true;
    }
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

LONG Hive::Refresh(std::string* why) {
    if (m_seenText) {
        struct stat st;
        HiveFileId id;
        if (stat(m_path.c_str(), &st) == 0) {
            id = IdOf(st);
        } else if (errno != ENOENT) {
            *why = ReadReason(m_path, m_dir, errno);
            return static_cast<LONG>(Win32ErrorFromErrno(errno));
        }
        if (id == m_seen) {
            return ERROR_SUCCESS;
        }
    }
    return Load(false, why);
}

LONG Hive::Load(bool locked, std::string* why) {
    std::string bytes;
    HiveFileId id;
    int fd = open(m_path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        if (errno != ENOENT) {
            *why = ReadReason(m_path, m_dir, errno);
            return static_cast<LONG>(Win32ErrorFromErrno(errno));
        }
    } else {
        struct stat st;
        if (fstat(fd, &st) == 0) {
            id = IdOf(st);
        }
        // One byte past the limit tells a file that is too large, however large it is.
        char buf[65536];
        while (bytes.size() <= kMaxHiveBytes) {
            ssize_t n = read(fd, buf, std::min(sizeof buf, kMaxHiveBytes + 1 - bytes.size()));
            if (n < 0 && errno == EINTR) {
                continue;
            }
            if (n < 0) {
                int err = errno;
                close(fd);
                *why = ReadReason(m_path, m_dir, err);
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
    HiveParseResult parsed;
    std::string damage;
    if (bytes.size() > kMaxHiveBytes) {
        damage = "(it is larger than the " + std::to_string(kMaxHiveBytes >> 20) +
                 " MiB a settings file may hold)";
    } else {
        parsed = ParseHiveText(bytes);
        damage = "at line " + std::to_string(parsed.errorLine) + " (" + parsed.error + ")";
    }
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
        std::string ignored;
        if (LockFile(&lockFd, &ignored) == ERROR_SUCCESS) {
            LONG rc = Load(true, why);
            close(lockFd);
            return rc;
        }
    }
    if (!(sameText && m_stuck)) {
        Damaged(bytes, id, damage);
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

void Hive::Damaged(const std::string& bytes, const HiveFileId& id, const std::string& what) {
    std::string stamp = UtcStamp();
    std::string aside = m_path + ".damaged-" + stamp;
    for (int n = 2; access(aside.c_str(), F_OK) == 0; ++n) {
        aside = m_path + ".damaged-" + stamp + "-" + std::to_string(n);
    }
    ResetTo(std::make_shared<KeyNode>(u""));
    if (rename(m_path.c_str(), aside.c_str()) == 0) {
        SyncDirectory(m_dir);
        std::fprintf(stderr,
                     "doliva: the settings file %s is damaged %s; it was moved to %s and the settings start "
                     "empty\n",
                     m_path.c_str(), what.c_str(), aside.c_str());
        m_seen = HiveFileId{};
        m_seenText = std::string();
        m_stuck = false;
    } else {
        std::fprintf(stderr,
                     "doliva: the settings file %s is damaged %s; it could not be moved aside (%s), so it is "
                     "left as it is, read as empty and not written\n",
                     m_path.c_str(), what.c_str(), std::strerror(errno));
        m_seen = id;
        m_seenText = bytes;
        m_stuck = true;
    }
}

void Hive::ResetTo(std::shared_ptr<KeyNode> forest) {
    forest->AddSubkey(m_rootName); // the hive's own root never goes away
    m_forest->Adopt(*forest);
}

LONG Hive::LockFile(int* fd, std::string* why) const {
    std::string lockPath = m_path + ".lock";
    int lfd = open(lockPath.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
    if (lfd < 0) {
        *why = errno == EACCES || errno == EROFS ? FolderWriteReason(m_dir, errno)
                                                 : Reason(lockPath + " cannot be opened", errno);
        return WriteError(errno);
    }
    while (flock(lfd, LOCK_EX) != 0) {
        if (errno != EINTR) {
            int err = errno;
            close(lfd);
            *why = Reason(lockPath + " cannot be locked", err);
            return static_cast<LONG>(Win32ErrorFromErrno(err));
        }
    }
    *fd = lfd;
    return ERROR_SUCCESS;
}

LONG Hive::WriteFile(const std::string& text, std::string* why) {
    std::string tmp = m_path + ".tmp";
    int fd = open(tmp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC | O_NOFOLLOW, 0666);
    if (fd < 0) {
        *why = FolderWriteReason(m_dir, errno);
        return WriteError(errno);
    }
    struct stat old;
    if (stat(m_path.c_str(), &old) == 0) {
        fchmod(fd, old.st_mode & 07777);
    }
    bool written = WriteAll(fd, text) && fsync(fd) == 0;
    if (!written || rename(tmp.c_str(), m_path.c_str()) != 0) {
        int err = errno;
        close(fd);
        unlink(tmp.c_str());
        *why = !written        ? Reason(tmp + " cannot be written", err)
               : err == EISDIR ? m_path + " is a folder"
                               : Reason(m_path + " cannot be replaced", err);
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
