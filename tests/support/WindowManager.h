// A window manager (openbox) on this process's display for the life of the object: top-level windows get
// the frames and captions a person sees, which the display backend leaves to the manager.
#pragma once

#include "platform/sdl/SdlDisplayBackend.h"

#include <SDL.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

namespace testsupport {

class WindowManager {
public:
    WindowManager() {
        m_pid = fork();
        if (m_pid == 0) {
            prctl(PR_SET_PDEATHSIG, SIGTERM);
            execlp("openbox", "openbox", "--sm-disable", static_cast<char*>(nullptr));
            _exit(127);
        }
    }
    ~WindowManager() {
        if (m_pid > 0) {
            kill(m_pid, SIGTERM);
            waitpid(m_pid, nullptr, 0);
        }
    }
    WindowManager(const WindowManager&) = delete;
    WindowManager& operator=(const WindowManager&) = delete;

private:
    pid_t m_pid = -1;
};

// The decoration the window manager gave the native window: its left and top border (0, 0 while unframed).
inline POINT ManagedFrameOffset(SdlDisplayBackend& backend, HWND hwnd) {
    const unsigned id = backend.NativeWindowId(hwnd);
    POINT offset{};
    backend.RunOnDisplayThread([&] {
        int top = 0, left = 0, bottom = 0, right = 0;
        if (SDL_Window* w = SDL_GetWindowFromID(id);
            w && SDL_GetWindowBordersSize(w, &top, &left, &bottom, &right) == 0) {
            offset = POINT{left, top};
        }
    });
    return offset;
}

} // namespace testsupport
