// One hive file and the tree read from it. Every call first takes in what other processes wrote (a changed
// inode, size or time stamp makes it re-read the file); a change is written at once under an exclusive lock
// on "<hive>.lock": the file is read again, the change applied, a temporary file written and synced, renamed
// over the hive, and the directory synced. A damaged file is reported on standard error and moved aside to
// "<hive>.damaged-<UTC time>"; the hive then starts empty. A file larger than kMaxHiveBytes counts as damaged
// (no settings file grows that large; reading one would take the program's start and its memory). When a
// damaged file cannot be moved, the hive reads as empty and refuses changes, so the file is never
// overwritten.
//
// A hive that keeps its settings in memory (the user's) never fails a call because its file cannot be read
// or written: it says once, on standard error, what cannot be written and where, and from then on works on
// the tree in memory alone, leaving the file as it is.
#pragma once

#include "platform/kernel/FileLock.h"
#include "platform/registry/KeyNode.h"

#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>

namespace doliva::registry {

// What identifies one version of a hive file cheaply.
struct HiveFileId {
    bool exists = false;
    unsigned long long dev = 0, ino = 0, size = 0;
    long long mtimeSec = 0, mtimeNsec = 0, ctimeSec = 0, ctimeNsec = 0;
    bool operator==(const HiveFileId&) const = default;
};

// The largest hive file read; a larger one is damaged.
constexpr size_t kMaxHiveBytes = 4u << 20;

class Hive {
public:
    // rootName is the file's key for this hive ("HKEY_CURRENT_USER"); keys under other roots in the file are
    // kept as they are. With keepInMemory the hive goes on in memory when its file cannot be used (above).
    Hive(std::string path, std::u16string rootName, bool keepInMemory = false);
    Hive(const Hive&) = delete;
    Hive& operator=(const Hive&) = delete;

    const std::string& Path() const { return m_path; }
    const std::shared_ptr<KeyNode>& Root() const { return m_root; }

    // Runs op on an up-to-date tree. Answers the first error: reading the file, or op's.
    LONG Read(const std::function<LONG()>& op);
    // Runs op under the file lock on the freshly read tree; when op succeeds and sets `changed`, the file is
    // rewritten. When the write fails, the tree goes back to what the file holds and the error is answered.
    LONG Write(const std::function<LONG(bool& changed)>& op);

    // Whether changes are taken: the process may create or replace the hive file, or the hive keeps its
    // settings in memory.
    bool CanWrite() const;
    // Checks, without changing the file, that the hive can be read and replaced. When it cannot, a hive that
    // keeps its settings in memory goes on in memory at once and the answer says what cannot be written and
    // where, for the caller to show; the problem is then not reported again. Empty when all is well, or when
    // the problem was reported already.
    std::string CheckWritable();
    // Whether the hive works in memory alone.
    bool InMemory() const;
    // Takes an exclusive lock on "<hive>.instance" beside the file (its folder made when missing) for one
    // process to use the hive alone while `lock` holds.
    ExclusiveFileLock::Result Claim(ExclusiveFileLock& lock);
    // The hive file's modification time (zero when there is none).
    FILETIME LastWriteTime() const;

private:
    // Re-reads the file when its identity changed since it was read. A failure sets *why to what cannot be
    // done, as the settings report says it.
    LONG Refresh(std::string* why);
    // Reads the file and takes in its content when it differs from what the tree came from.
    LONG Load(bool locked, std::string* why);
    // `what` says where or how the file is damaged.
    void Damaged(const std::string& bytes, const HiveFileId& id, const std::string& what);
    void ResetTo(std::shared_ptr<KeyNode> forest);
    LONG WriteFile(const std::string& text, std::string* why);
    LONG LockFile(int* fd, std::string* why) const;
    // What stops the hive from being read and replaced; empty when nothing does.
    std::string WriteProblem();
    // From now on the hive works in memory alone; the problem is printed unless it was reported before or
    // `report` is false.
    void KeepInMemory(const std::string& why, bool report);
    std::string SettingsProblemMessage(const std::string& why) const;

    std::string m_path;
    std::string m_dir;
    std::u16string m_rootName;
    mutable std::recursive_mutex m_mutex;
    std::shared_ptr<KeyNode> m_forest;
    std::shared_ptr<KeyNode> m_root;
    HiveFileId m_seen;                     // the file the tree was read from
    std::optional<std::string> m_seenText; // its bytes; unset forces a re-read
    bool m_stuck = false;                  // a damaged file could not be moved aside
    const bool m_keepInMemory;
    bool m_inMemory = false;
    bool m_reported = false; // the file's problem was reported (or handed to the caller)
};

} // namespace doliva::registry
