// A private X server for the tests that look at windows as a person sees them: Xvfb picks a free display
// number and says it through -displayfd; it dies with the test that started it.
#pragma once

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/prctl.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

namespace testsupport {

// The display number of a new 800x600x24 Xvfb, or -1 when it did not start.
inline int StartXvfb() {
    int fds[2];
    if (pipe(fds) != 0) {
        return -1;
    }
    const pid_t pid = fork();
    if (pid == 0) {
        close(fds[0]);
        prctl(PR_SET_PDEATHSIG, SIGTERM);
        const std::string fd = std::to_string(fds[1]);
        const int devnull = open("/dev/null", O_WRONLY);
        dup2(devnull, 2);
        execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", "800x600x24", "-nolisten", "tcp",
               static_cast<char*>(nullptr));
        _exit(127);
    }
    close(fds[1]);
    pollfd p{fds[0], POLLIN, 0};
    std::string number;
    while (poll(&p, 1, 10000) > 0) {
        char c = 0;
        if (read(fds[0], &c, 1) != 1 || c == '\n') {
            break;
        }
        number += c;
    }
    close(fds[0]);
    return number.empty() ? -1 : std::atoi(number.c_str());
}

inline bool ToolInstalled(const char* tool) {
    return std::system((std::string("command -v ") + tool + " >/dev/null 2>&1").c_str()) == 0;
}

} // namespace testsupport
