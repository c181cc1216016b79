#include "tests/platform/sdl/X11Probe.h"

#include <SDL.h>
#include <SDL_syswm.h>
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

namespace x11probe {
namespace {

bool Info(SDL_Window* window, SDL_SysWMinfo& info) {
    SDL_VERSION(&info.version);
    return window && SDL_GetWindowWMInfo(window, &info) && info.subsystem == SDL_SYSWM_X11;
}

} // namespace

void SendToDestroyedWindow(SDL_Window* anyWindow) {
    SDL_SysWMinfo info;
    if (!Info(anyWindow, info)) {
        return;
    }
    Display* display = info.info.x11.display;
    const ::Window gone = XCreateSimpleWindow(display, DefaultRootWindow(display), 0, 0, 1, 1, 0, 0, 0);
    XDestroyWindow(display, gone);
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = gone;
    event.xclient.format = 8;
    XSendEvent(display, gone, False, NoEventMask, &event);
    XSync(display, False);
}

bool IsTransientFor(SDL_Window* window, SDL_Window* owner) {
    SDL_SysWMinfo info;
    SDL_SysWMinfo ownerInfo;
    if (!Info(window, info) || !Info(owner, ownerInfo)) {
        return false;
    }
    ::Window transientFor = 0;
    return XGetTransientForHint(info.info.x11.display, info.info.x11.window, &transientFor) &&
           transientFor == ownerInfo.info.x11.window;
}

std::string WindowType(SDL_Window* window) {
    SDL_SysWMinfo info;
    if (!Info(window, info)) {
        return {};
    }
    Display* display = info.info.x11.display;
    Atom type = 0;
    int format = 0;
    unsigned long count = 0;
    unsigned long after = 0;
    unsigned char* data = nullptr;
    std::string names;
    if (XGetWindowProperty(display, info.info.x11.window, XInternAtom(display, "_NET_WM_WINDOW_TYPE", False),
                           0, 16, False, XA_ATOM, &type, &format, &count, &after, &data) == Success &&
        data) {
        const auto* atoms = reinterpret_cast<const Atom*>(data);
        for (unsigned long i = 0; i < count; ++i) {
            char* name = XGetAtomName(display, atoms[i]);
            names += (names.empty() ? "" : " ") + std::string(name ? name : "?");
            XFree(name);
        }
        XFree(data);
    }
    return names;
}

} // namespace x11probe
