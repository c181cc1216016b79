// A private X server for the tests that look at windows as a person sees them: Xvfb picks a free display
// number and says it through -displayfd; it dies with the process that started it.
#pragma once

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

namespace testsupport {

struct XvfbProcess {
    pid_t pid = -1;
    int display = -1; // -1 when it did not start
};

// A new Xvfb with one screen of the given size ("WIDTHxHEIGHTxDEPTH").
inline XvfbProcess LaunchXvfb(const char* screen = "800x600x24") {
    XvfbProcess xvfb;
    int fds[2];
    if (pipe(fds) != 0) {
        return xvfb;
    }
    xvfb.pid = fork();
    if (xvfb.pid == 0) {
        close(fds[0]);
        prctl(PR_SET_PDEATHSIG, SIGTERM);
        const std::string fd = std::to_string(fds[1]);
        const int devnull = open("/dev/null", O_WRONLY);
        dup2(devnull, 2);
        execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", screen, "-nolisten", "tcp",
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
    xvfb.display = number.empty() ? -1 : std::atoi(number.c_str());
    return xvfb;
}

// The display number of a new 800x600x24 Xvfb, or -1 when it did not start.
inline int StartXvfb() {
    return LaunchXvfb().display;
}

// Starts a private X server and points this process's display at it: the next InitializeDisplay opens the
// SDL backend there. Answers the display number, or -1 (nothing changed) when the server did not start.
inline int UsePrivateXServer() {
    const int display = StartXvfb();
    if (display >= 0) {
        setenv("DISPLAY", (":" + std::to_string(display)).c_str(), 1);
        unsetenv("WAYLAND_DISPLAY");
        unsetenv("DOLIVA_DISPLAY");
        setenv("SDL_VIDEODRIVER", "x11", 1);
    }
    return display;
}

// An Xvfb that ends with the object, for a program run in another process.
class PrivateXServer {
public:
    explicit PrivateXServer(const char* screen = "800x600x24") : m_xvfb(LaunchXvfb(screen)) {}
    ~PrivateXServer() {
        if (m_xvfb.pid > 0) {
            kill(m_xvfb.pid, SIGTERM);
            waitpid(m_xvfb.pid, nullptr, 0);
        }
    }
    PrivateXServer(const PrivateXServer&) = delete;
    PrivateXServer& operator=(const PrivateXServer&) = delete;

    int Display() const { return m_xvfb.display; }
    // ":N", what DISPLAY takes.
    std::string Name() const { return ":" + std::to_string(m_xvfb.display); }

private:
    XvfbProcess m_xvfb;
};

inline bool ToolInstalled(const char* tool) {
    return std::system((std::string("command -v ") + tool + " >/dev/null 2>&1").c_str()) == 0;
}

} // namespace testsupport
