// Xlib requests on the X connection beneath an SDL window, for the tests that look past SDL: kept apart
// because Xlib's headers define names (None, Bool, Status) that clash with the layer's. Call them on the
// display thread, which owns the connection.
#pragma once

#include <string>

struct SDL_Window;

namespace x11probe {

// Sends a client message to a window destroyed a moment before, and waits for the server's answer: a
// BadWindow error in X_SendEvent, as SDL's own wake-up met it.
void SendToDestroyedWindow(SDL_Window* anyWindow);
// Whether `window` is marked as transient for `owner`.
bool IsTransientFor(SDL_Window* window, SDL_Window* owner);
// The names of the window's _NET_WM_WINDOW_TYPE atoms, blank-separated.
std::string WindowType(SDL_Window* window);

} // namespace x11probe
