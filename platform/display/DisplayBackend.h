// The seam between the window core and whatever shows its windows, and the layer's own calls for backends,
// tests and developers: input injection, the display clock, rendering a window to PNG, the hooks the
// framework fills in (menu bars, resource loaders, system classes).
//
// The core runs without any display: the headless backend (the default) keeps a virtual 1280x1024 screen,
// shows nothing and takes input only through the injection calls. A display backend presents top-level
// windows' surfaces, creates, moves, shows and destroys a native window for each top-level window, and feeds
// the native input back through the same injection calls.
#pragma once

#include "platform/base/WindowTypes.h"
#include "platform/display/WindowMessages.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

typedef struct _cairo_surface cairo_surface_t;

class DisplayBackend {
public:
    virtual ~DisplayBackend() = default;
    virtual const char* Name() const = 0;

    // The screen in pixels (SM_CXSCREEN, SM_CYSCREEN) and the work area (SPI_GETWORKAREA).
    virtual SIZE ScreenSize() = 0;
    virtual RECT WorkArea();

    // Top-level windows. Rectangles are screen coordinates of the whole window, frame included; `showState`
    // is SW_HIDE, SW_SHOWNORMAL, SW_SHOWMINIMIZED or SW_SHOWMAXIMIZED. Called on the window's thread with no
    // lock of the core held.
    virtual void WindowCreated(HWND hwnd, const RECT& windowRect, DWORD style, DWORD exStyle);
    virtual void WindowDestroyed(HWND hwnd);
    virtual void WindowMoved(HWND hwnd, const RECT& windowRect);
    virtual void WindowShown(HWND hwnd, int showState);
    virtual void WindowTextChanged(HWND hwnd, const std::u16string& text);
    virtual void WindowActivated(HWND hwnd);
    virtual void WindowFlashed(HWND hwnd, bool on);
    // Pixels of a top-level window changed inside `dirty` (window coordinates); called before the thread
    // waits for messages and by DisplayFlush.
    virtual void Present(HWND hwnd, cairo_surface_t* surface, const RECT& dirty);
    // A caption or border drag began (hit code HTCAPTION or HTLEFT..HTBOTTOMRIGHT). Answer true when the
    // native window manager carries it out (the core then leaves the mouse alone); false runs the core's
    // own move/size loop.
    virtual bool BeginMoveSize(HWND hwnd, int hitCode);

    virtual void CursorChanged(HCURSOR cursor);
    virtual void CursorMoved(POINT screen); // SetCursorPos
    virtual void CaptureChanged(HWND capture);

    // The loop: a descriptor polled with the queue (-1 for none); PumpEvents runs when it is readable and
    // before each look at the queue, on the thread that looks.
    virtual int EventFd();
    virtual void PumpEvents();
};

// Installs a backend (before the first window; the core takes it over). Without one, the headless backend
// is used. DisplayHeadlessRequested() says whether DOLIVA_DISPLAY=headless asks for headless explicitly.
void DisplaySetBackend(std::unique_ptr<DisplayBackend> backend);
DisplayBackend& DisplayGetBackend();
bool DisplayHeadlessRequested();

// A backend calls DisplayReportConnectionLost (from any thread) when its display is gone for good: it shows
// nothing from then on, message boxes go to standard error again (a drawn one could never be answered), and
// the handler runs, on the reporting thread (none is installed by default; the program's saves and ends).
void DisplaySetConnectionLostHandler(std::function<void()> handler);
void DisplayReportConnectionLost();

// ---- The display clock: message times, timers, double-click and caret timing.
// A test clock starts at `start` and moves only by DisplayAdvanceTestClock (which wakes waiting loops).
void DisplayUseTestClock(std::uint64_t start = 1000);
void DisplayAdvanceTestClock(std::uint64_t milliseconds);
void DisplayUseRealClock();
std::uint64_t DisplayNow();

// ---- Input injection (any thread)
// A mouse event at a screen point: WM_MOUSEMOVE, WM_[LRM]BUTTONDOWN/UP, WM_XBUTTONDOWN/UP (xButton 1 or 2),
// WM_MOUSEWHEEL or WM_MOUSEHWHEEL (wheelDelta in WHEEL_DELTA units). The event goes to the queue of the
// thread owning the capture window or the window under the point; hit testing, double-click synthesis,
// WM_MOUSEACTIVATE, WM_PARENTNOTIFY and WM_SETCURSOR happen when that thread takes it from its queue.
BOOL DisplayInjectMouse(UINT message, POINT screen, int wheelDelta = 0, WORD xButton = 0);

enum class DisplayKeyText {
    Derive,      // TranslateMessage makes the characters from the virtual key with a US layout
    ControlOnly, // only control characters; the typed text comes through DisplayInjectText
    Given,       // the characters in `text` (empty: none)
};
// A key going down or up. Left/right variants of Shift, Ctrl and Alt (VK_LSHIFT...) give messages with the
// generic key (VK_SHIFT...) and keep both states. `dead` makes TranslateMessage answer WM_DEADCHAR.
BOOL DisplayInjectKey(UINT virtualKey, UINT scanCode, BOOL down, BOOL extended,
                      DisplayKeyText textMode = DisplayKeyText::Derive, const std::u16string& text = {},
                      BOOL dead = FALSE);
// Text typed without keys (input methods, the backend's text events): WM_CHAR messages to the focus window,
// a surrogate pair as two messages.
BOOL DisplayInjectText(const std::u16string& text);

// The native window of `hwnd` gained (TRUE) or lost (FALSE) the input focus of the desktop: activates it, or
// deactivates the application when its active window lost it to another application. Any thread.
BOOL DisplayActivateFromBackend(HWND hwnd, BOOL active);

// ---- Surfaces
// The surface of the window's top-level window, and where the window's client origin lies on it.
cairo_surface_t* DisplayWindowSurface(HWND hwnd, POINT* clientOrigin);
// A pixel of a window's client area as it is on the surface (CLR_INVALID outside it).
COLORREF DisplayGetPixel(HWND hwnd, int x, int y);
// Writes the top-level window of `hwnd` (frame included) to a PNG file.
BOOL DisplayRenderWindowToPng(HWND hwnd, const char* path);
// Presents every changed surface of the calling thread's windows now.
void DisplayFlush();

// The IDC_* number of a standard cursor handle (for backends that show the system's own cursors), else 0.
int DisplayStandardCursorId(HCURSOR cursor);

// ---- Hooks the framework fills in
// The menu bar of a top-level window with a menu: its height for a window width, and its drawing on the
// window DC. Without hooks, SM_CYMENU is reserved and drawn blank.
struct DisplayMenuBarHooks {
    std::function<int(HWND hwnd, HMENU menu, int windowWidth)> height;
    std::function<void(HWND hwnd, HMENU menu, HDC windowDc, const RECT& bar)> draw;
};
void DisplaySetMenuBarHooks(DisplayMenuBarHooks hooks);

// Registers a class of the system (global, never unregistered by the program, hidden by a program class of
// the same name). DisplayAddLazySystemClass names a registrar run the first time the class is looked up.
ATOM DisplayRegisterSystemClass(const WNDCLASSEXW* wc);
void DisplayAddLazySystemClass(LPCWSTR className, void (*registrar)());
