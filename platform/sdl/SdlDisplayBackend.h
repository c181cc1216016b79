// The display backend that shows top-level windows as SDL2 windows (X11 first) and feeds their input back.
//
// Every SDL call runs on one thread of the backend's own, which owns the video subsystem: it waits in poll on
// the X connection and on an eventfd of its own, turns native events into the core's injected input, and
// carries out what window threads ask (create, move, show, present) from a queue, woken through that eventfd.
// Window threads never call into SDL and never wait for the thread: Present copies the changed pixels into
// the window's own buffer and returns.
//
// X protocol errors are reported on standard error and survived. When the X connection breaks, the thread
// stops for good, nothing is shown any more, and DisplayReportConnectionLost tells the program.
//
// What has to happen on a window's own thread (SetWindowPos after the user moved or sized the native window,
// activation, minimize and maximize) goes into a queue per thread, announced through that thread's own
// eventfd: EventFd answers the calling thread's descriptor, which the core polls beside its queue, and
// PumpEvents carries the thread's share out. Posted messages still wake the loop through the core's own
// descriptor.
//
// The window manager decorates: a window with a caption shows as a native window with a native frame whose
// content is the layer's window minus its caption and borders (menu bar, client edge, scroll bars and client
// area); the layer window's position follows the native content, so screen coordinates agree with X.
// Windows without a caption (popups, menus, tool tips) show whole, borderless.
#pragma once

#include "platform/display/DisplayBackend.h"

#include <functional>
#include <memory>
#include <string>

class SdlDisplayBackend final : public DisplayBackend {
public:
    // Starts the SDL thread and the video subsystem; null (with the reason in `error`) when no display can be
    // opened or a backend already runs (SDL's event queue is the process's: one backend per process).
    // `whileOpening` runs on the calling thread while the SDL thread opens the display (a round trip or more to
    // the X server each step): work that needs no display is done by then.
    static std::unique_ptr<SdlDisplayBackend> Start(std::string* error = nullptr,
                                                    const std::function<void()>& whileOpening = {});
    ~SdlDisplayBackend() override;

    const char* Name() const override { return "sdl"; }
    SIZE ScreenSize() override;
    RECT WorkArea() override;

    void WindowCreated(HWND hwnd, const RECT& windowRect, DWORD style, DWORD exStyle) override;
    void WindowDestroyed(HWND hwnd) override;
    void WindowMoved(HWND hwnd, const RECT& windowRect) override;
    void WindowShown(HWND hwnd, int showState) override;
    void WindowTextChanged(HWND hwnd, const std::u16string& text) override;
    void WindowActivated(HWND hwnd) override;
    void WindowFlashed(HWND hwnd, bool on) override;
    void Present(HWND hwnd, cairo_surface_t* surface, const RECT& dirty) override;

    void CursorChanged(HCURSOR cursor) override;
    void CursorMoved(POINT screen) override;
    void CaptureChanged(HWND capture) override;

    int EventFd() override;
    void PumpEvents() override;

    // Runs `task` on the SDL thread after everything asked before it (pending presents shown) and waits for
    // it. For code that must call SDL's video functions (the clipboard) and for tests that need the screen
    // to be up to date. False, the task not run, when the thread no longer takes work (the display is gone).
    bool RunOnDisplayThread(const std::function<void()>& task);
    // The same on the backend that runs, if one does (false, task not run, when none does): for code that
    // cannot know which backend was chosen.
    static bool RunOnRunningDisplay(const std::function<void()>& task);

    // Where the native content of a top-level window lies on the X screen, by the native window's own
    // account (false without a native window).
    bool NativeContentRect(HWND hwnd, RECT* rect);
    // The SDL window id of a top-level window (0 without a native window), for tools and tests that speak
    // to SDL directly.
    unsigned NativeWindowId(HWND hwnd);

    struct State;

private:
    SdlDisplayBackend();
    std::shared_ptr<State> state_;
};
