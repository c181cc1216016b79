// Starting other programs (systemctl, xdg-open). The child starts with every signal at its default and
// none blocked, whatever this process has blocked for its service controls.
#pragma once

#include <string>
#include <vector>

namespace system_detail {

// Runs argv (argv[0] searched in PATH) and waits for it: its exit status, 128 + the signal that ended it,
// or -1 when it could not be started.
int RunAndWait(const std::vector<std::string>& argv);

// Starts argv in a session of its own, in `directory` when not empty, and leaves it running (a detached
// thread collects it when it ends). 0, or the errno value of the failure to start.
int SpawnDetached(const std::vector<std::string>& argv, const std::string& directory);

// Splits a command line into words at blanks and tabs; double quotes group blanks into a word and are
// dropped.
std::vector<std::string> SplitCommandWords(const std::string& text);

} // namespace system_detail
