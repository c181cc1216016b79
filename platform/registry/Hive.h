// One hive file and the tree read from it. Every call first takes in what other processes wrote (a changed
// inode, size or time stamp makes it re-read the file); a change is written at once under an exclusive lock
// on "<hive>.lock": the file is read again, the change applied, a temporary file written and synced, renamed
// over the hive, and the directory synced. A damaged file is reported on standard error and moved aside to
// "<hive>.damaged-<UTC time>"; the hive then starts empty. When it cannot be moved, the hive reads as empty
// and refuses changes, so the file is never overwritten.
#pragma once

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

class Hive {
public:
    // rootName is the file's key for this hive ("HKEY_CURRENT_USER"); keys under other roots in the file are
    // kept as they are.
    Hive(std::string path, std::u16string rootName);
    Hive(const Hive&) = delete;
    Hive& operator=(const Hive&) = delete;

    const std::string& Path() const { return m_path; }
    const std::shared_ptr<KeyNode>& Root() const { return m_root; }

    // Runs op on an up-to-date tree. Answers the first error: reading the file, or op's.
    LONG Read(const std::function<LONG()>& op);
    // Runs op under the file lock on the freshly read tree; when op succeeds and sets `changed`, the file is
    // rewritten. When the write fails, the tree goes back to what the file holds and the error is answered.
    LONG Write(const std::function<LONG(bool& changed)>& op);

    // Whether this process may create or replace the hive file.
    bool CanWrite() const;
    // The hive file's modification time (zero when there is none).
    FILETIME LastWriteTime() const;

private:
    // Re-reads the file when its identity changed since it was read.
    LONG Refresh();
    // Reads the file and takes in its content when it differs from what the tree came from.
    LONG Load(bool locked);
    void Damaged(const std::string& bytes, const HiveFileId& id, size_t line, const std::string& what);
    void ResetTo(std::shared_ptr<KeyNode> forest);
    LONG WriteFile(const std::string& text);
    LONG LockFile(int* fd) const;

    std::string m_path;
    std::string m_dir;
    std::u16string m_rootName;
    std::recursive_mutex m_mutex;
    std::shared_ptr<KeyNode> m_forest;
    std::shared_ptr<KeyNode> m_root;
    HiveFileId m_seen;                     // the file the tree was read from
    std::optional<std::string> m_seenText; // its bytes; unset forces a re-read
    bool m_stuck = false;                  // a damaged file could not be moved aside
};

} // namespace doliva::registry
