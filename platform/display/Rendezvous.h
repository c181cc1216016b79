// The per-user runtime directory where the program's processes meet: FindWindow across processes, and the
// single running copy of a program.
//
// The directory is "$XDG_RUNTIME_DIR/doliva", or "/tmp/doliva-runtime-<uid>/doliva" without
// XDG_RUNTIME_DIR or when it names no directory ($TMPDIR in place of /tmp when set); "doliva-<hash>" in place of "doliva" when
// DOLIVA_CONFIG_DIR is set, so that each settings directory has its own. The directories this layer makes
// (the one in /tmp and the last) are created with mode 0700 and refused unless each is a directory, not a
// symbolic link, that belongs to this user and that others cannot reach: in /tmp anyone could have made it
// first, with a window list and a socket of their own in it. A refused directory is never used.
#pragma once

#include "platform/kernel/FileLock.h"

#include <string>
#include <sys/types.h>

// The directory, created when missing; empty, with *problem saying what is wrong where, when refused.
std::string DisplayRuntimeDirectory(std::string* problem = nullptr);
// What makes `dir` unfit to be a private directory of the user `owner`, after creating it (mode 0700) when
// it is missing; empty when it is fit.
std::string DisplayPrivateDirectoryProblem(const std::string& dir, uid_t owner);

enum class InstanceClaim {
    kClaimed, // this process is the one running copy while `lock` holds
    kRunning, // another process is
    kRefused, // no claim can be made: see the problem
};
// Claims being the one running copy of the program `name` for this runtime directory: `lock` takes
// "<name>.instance" there without waiting, and holds it until released or the process ends. Taking the lock
// before looking for the other copy's window closes the race of two copies started together.
InstanceClaim DisplayClaimInstance(const std::u16string& name, ExclusiveFileLock& lock, std::string* problem);
