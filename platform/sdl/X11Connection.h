// The X connection beneath SDL's X11 video driver, for what SDL has no call for: the connection's
// descriptor (the SDL thread waits on it beside its own wake-up), error handlers that report and survive,
// and the window type a window manager reads. Kept apart because Xlib's headers define names (None, Bool,
// Status, Window) that clash with the layer's.
#pragma once

#include <functional>

struct SDL_Window;

class X11Connection {
public:
    // The connection of an SDL window; not Valid when SDL does not run on X11.
    explicit X11Connection(SDL_Window* window);
    bool Valid() const { return display_ != nullptr; }
    int Fd() const;
    // Sends what was asked, reads what has arrived, and answers whether events wait in Xlib's own queue,
    // where a poll of the descriptor would not see them.
    bool EventsWaiting() const;

    // For the thread that uses the connection, once: a protocol error (a request naming a window already
    // gone) is reported on standard error and survived; when the connection breaks, `lost` runs on the
    // thread that found it, which then stays parked for good and never returns into Xlib.
    void InstallErrorHandlers(std::function<void()> lost);

    // Marks a window, before it is first shown, as a dialog (of the window it is transient for).
    void MarkAsDialog(SDL_Window* window) const;

private:
    void* display_ = nullptr;
};
