#include "platform/sdl/X11Connection.h"

#include <SDL.h>
#include <SDL_syswm.h>
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <unistd.h>

#include <cstdio>
#include <string>
#include <utility>

namespace {

Display* DisplayOf(SDL_Window* window) {
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (!window || !SDL_GetWindowWMInfo(window, &info) || info.subsystem != SDL_SYSWM_X11) {
        return nullptr;
    }
    return info.info.x11.display;
}

::Window XWindowOf(SDL_Window* window) {
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (!window || !SDL_GetWindowWMInfo(window, &info) || info.subsystem != SDL_SYSWM_X11) {
        return 0;
    }
    return info.info.x11.window;
}

// One connection per process (one SDL video subsystem), so the handlers' state is the process's.
std::function<void()>& LostCallback() {
    static auto* callback = new std::function<void()>;
    return *callback;
}

// Xlib's default ends the process from whichever thread read the error, in the middle of whatever it holds.
int ReportProtocolError(Display* display, XErrorEvent* error) {
    char text[128] = {};
    XGetErrorText(display, error->error_code, text, sizeof text);
    char request[64] = {};
    const std::string major = std::to_string(error->request_code);
    XGetErrorDatabaseText(display, "XRequest", major.c_str(), major.c_str(), request, sizeof request);
    std::fprintf(stderr, "X error: %s in %s (minor %d), resource 0x%lx\n", text, request, error->minor_code,
                 error->resourceid);
    return 0;
}

int ReportBrokenConnection(Display* display) {
    std::fprintf(stderr, "The connection to the X server %s was lost\n", DisplayString(display));
    return 0;
}

[[noreturn]] void ParkAfterBrokenConnection(Display*, void*) {
    if (const std::function<void()>& lost = LostCallback()) {
        lost();
    }
    // Returning would carry on in Xlib and SDL with a dead connection.
    for (;;) {
        pause();
    }
}

} // namespace

X11Connection::X11Connection(SDL_Window* window) : display_(DisplayOf(window)) {}

int X11Connection::Fd() const {
    return display_ ? ConnectionNumber(static_cast<Display*>(display_)) : -1;
}

bool X11Connection::EventsWaiting() const {
    return display_ && XEventsQueued(static_cast<Display*>(display_), QueuedAfterFlush) > 0;
}

void X11Connection::InstallErrorHandlers(std::function<void()> lost) {
    if (!display_) {
        return;
    }
    LostCallback() = std::move(lost);
    XSetErrorHandler(ReportProtocolError);
    XSetIOErrorHandler(ReportBrokenConnection);
    XSetIOErrorExitHandler(static_cast<Display*>(display_), ParkAfterBrokenConnection, nullptr);
}

void X11Connection::MarkAsDialog(SDL_Window* window) const {
    const ::Window xwindow = XWindowOf(window);
    if (!display_ || !xwindow) {
        return;
    }
    auto* display = static_cast<Display*>(display_);
    const Atom type = XInternAtom(display, "_NET_WM_WINDOW_TYPE", False);
    Atom dialog = XInternAtom(display, "_NET_WM_WINDOW_TYPE_DIALOG", False);
    XChangeProperty(display, xwindow, type, XA_ATOM, 32, PropModeReplace,
                    reinterpret_cast<unsigned char*>(&dialog), 1);
}
