#include "platform/sdl/SdlDisplayBackend.h"

#include "platform/base/CodePage.h"
#include "platform/display/User.h"
#include "platform/kernel/Threads.h"
#include "platform/sdl/SdlKeyMap.h"
#include "platform/sdl/X11Connection.h"

#include <SDL.h>
#include <cairo.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <condition_variable>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <deque>
#include <future>
#include <mutex>
#include <optional>
#include <thread>
#include <unordered_map>
#include <vector>

namespace {

// A top-level window as the backend knows it. The fields above `window` are shared under State::mutex; the
// rest belong to the SDL thread.
struct NativeWindow {
    HWND hwnd = nullptr;
    DWORD tid = 0;
    RECT layerRect{}; // the layer window on the screen, frame included
    RECT
        decoration{}; // widths of the caption and frame the window manager replaces: left, top, right, bottom
    std::vector<std::uint32_t> pixels; // the native content, BGRX as on the window's surface
    int width = 0;
    int height = 0;
    RECT pending{}; // content pixels not yet shown

    SDL_Window* window = nullptr;
    int shown = SW_HIDE;
    POINT mouse{}; // the pointer's last position in content coordinates
    // Where the content was asked to go when the window was first shown, until the window manager has
    // placed it.
    std::optional<POINT> firstPlacement;
};
using NativePtr = std::shared_ptr<NativeWindow>;

struct Command {
    enum Kind { Create, Destroy, Move, Show, Title, Raise, Flash, Cursor, Warp, Capture, Run, Quit };
    explicit Command(Kind k, std::shared_ptr<NativeWindow> r = nullptr) : kind(k), rec(std::move(r)) {}
    Kind kind = Run;
    NativePtr rec;
    DWORD style = 0;
    DWORD exStyle = 0;
    RECT rect{};      // Create, Move: the native content on the screen
    RECT requested{}; // Move caused by the native window: the content it asked for
    NativePtr owner;  // Create: the window a dialog belongs to
    bool fromNative = false;
    int value = 0;
    std::string text;
    POINT pt{};
    std::function<void()> task;
};

// Work for a window's own thread.
struct Action {
    enum Kind { Place, Activate, Deactivate, Show };
    Kind kind = Place;
    HWND hwnd = nullptr;
    RECT rect{}; // Place: the layer window rectangle
    int cmd = 0; // Show: the ShowWindow command
};

struct ThreadSlot {
    int fd = -1;
    std::deque<Action> actions;
};

RECT DecorationOf(DWORD style, DWORD exStyle) {
    if ((style & WS_CAPTION) != WS_CAPTION) {
        return RECT{};
    }
    RECT r{0, 0, 0, 0};
    AdjustWindowRectEx(&r, style, FALSE, exStyle & ~static_cast<DWORD>(WS_EX_CLIENTEDGE));
    return RECT{-r.left, -r.top, r.right, r.bottom};
}

RECT ContentOf(const RECT& layer, const RECT& deco) {
    RECT r{layer.left + deco.left, layer.top + deco.top, layer.right - deco.right,
           layer.bottom - deco.bottom};
    r.right = std::max(r.right, r.left);
    r.bottom = std::max(r.bottom, r.top);
    return r;
}

RECT LayerOf(const RECT& content, const RECT& deco) {
    return RECT{content.left - deco.left, content.top - deco.top, content.right + deco.right,
                content.bottom + deco.bottom};
}

bool SameRect(const RECT& a, const RECT& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

void Unite(RECT& into, const RECT& r) {
    if (r.right <= r.left || r.bottom <= r.top) {
        return;
    }
    if (into.right <= into.left || into.bottom <= into.top) {
        into = r;
        return;
    }
    into = RECT{std::min(into.left, r.left), std::min(into.top, r.top), std::max(into.right, r.right),
                std::max(into.bottom, r.bottom)};
}

void Signal(int fd) {
    std::uint64_t one = 1;
    (void)!write(fd, &one, sizeof one);
}

void Drain(int fd) {
    std::uint64_t value = 0;
    while (read(fd, &value, sizeof value) > 0) {
    }
}

// How deep the calling thread holds the backend's mutex. A thread-local guard that runs while its own thread
// holds it (the thread ends the process from inside) must not wait for it.
thread_local int tlsHolding = 0;

class Locked {
public:
    explicit Locked(std::mutex& mutex) : lock_(mutex) { ++tlsHolding; }
    ~Locked() { --tlsHolding; }
    Locked(const Locked&) = delete;
    Locked& operator=(const Locked&) = delete;
    std::unique_lock<std::mutex>& Lock() { return lock_; }

private:
    std::unique_lock<std::mutex> lock_;
};

// Set while a thread carries out a native move or size, so that the WindowMoved it causes is known as an
// echo.
thread_local const RECT* tlsPlacing = nullptr;

SDL_SystemCursor SystemCursorFor(int id) {
    switch (id) {
    case 32513:
        return SDL_SYSTEM_CURSOR_IBEAM;
    case 32514:
        return SDL_SYSTEM_CURSOR_WAIT;
    case 32515:
        return SDL_SYSTEM_CURSOR_CROSSHAIR;
    case 32642:
        return SDL_SYSTEM_CURSOR_SIZENWSE;
    case 32643:
        return SDL_SYSTEM_CURSOR_SIZENESW;
    case 32644:
        return SDL_SYSTEM_CURSOR_SIZEWE;
    case 32645:
        return SDL_SYSTEM_CURSOR_SIZENS;
    case 32646:
        return SDL_SYSTEM_CURSOR_SIZEALL;
    case 32648:
        return SDL_SYSTEM_CURSOR_NO;
    case 32649:
        return SDL_SYSTEM_CURSOR_HAND;
    case 32650:
        return SDL_SYSTEM_CURSOR_WAITARROW;
    default:
        return SDL_SYSTEM_CURSOR_ARROW;
    }
}

} // namespace

// Window threads never call into SDL, and the SDL thread never calls into SDL while it holds the mutex:
// SDL's X11 driver can end the process (Xlib's error handling) or wait on its own locks from inside any
// call. The SDL thread waits in poll on the X connection and on its own eventfd, never in SDL_WaitEvent,
// so nothing ever asks SDL to wake it (SDL does that with an event sent to one of its windows, which may be
// one a moment away from being destroyed).
struct SdlDisplayBackend::State {
    std::mutex mutex;
    std::condition_variable ran; // a task of Run was carried out, or the thread stopped taking work
    std::unordered_map<HWND, NativePtr> windows;
    std::deque<Command> commands;
    std::unordered_map<DWORD, ThreadSlot> threads;
    bool running = false; // the SDL thread takes commands
    bool lost = false;    // the display connection broke: the SDL thread is parked for good
    int wakeFd = -1;
    SIZE screen{1280, 1024};
    RECT work{0, 0, 1280, 1024};
    std::thread thread;
    std::thread::id threadId;

    // The SDL thread's own.
    std::unordered_map<Uint32, NativePtr> byId;
    SDL_Window* anchor = nullptr; // never shown: there from the start, for the X connection beneath SDL
    std::unique_ptr<X11Connection> x11;
    SDL_Cursor* cursor = nullptr;
    Uint16 keyMods = 0;           // modifiers of the last key event
    std::vector<DWORD> focusLost; // threads whose window lost the keyboard focus in this batch of events

    void PushLocked(Command c);
    void Push(Command c) {
        Locked lock(mutex);
        PushLocked(std::move(c));
    }
    void WakeLocked();
    void PostAction(DWORD tid, const Action& a);
    bool Run(const std::function<void()>& task);

    void Main(std::promise<std::string> ready);
    void Wait();
    bool RunCommands();
    void Flush();
    void ConnectionLost();
    void Handle(const SDL_Event& e);
    void HandleWindowEvent(const SDL_WindowEvent& e);
    void NativeGeometryChanged(const NativePtr& rec);
    NativePtr ById(Uint32 id) {
        auto it = byId.find(id);
        return it == byId.end() ? nullptr : it->second;
    }
    POINT ScreenPoint(const NativeWindow& rec, int x, int y) {
        Locked lock(mutex);
        return POINT{rec.layerRect.left + rec.decoration.left + x,
                     rec.layerRect.top + rec.decoration.top + y};
    }
};

namespace {

// Forgets a thread's slot and descriptor when the thread ends.
struct SlotGuard {
    std::weak_ptr<SdlDisplayBackend::State> state;
    DWORD tid = 0;
    ~SlotGuard();
};

thread_local SlotGuard tlsSlot;

} // namespace

void SdlDisplayBackend::State::WakeLocked() {
    if (running) {
        Signal(wakeFd);
    }
}

void SdlDisplayBackend::State::PushLocked(Command c) {
    if (!running) {
        return; // nobody would ever carry it out
    }
    commands.push_back(std::move(c));
    WakeLocked();
}

void SdlDisplayBackend::State::PostAction(DWORD tid, const Action& a) {
    Locked lock(mutex);
    ThreadSlot& slot = threads[tid];
    if (slot.fd < 0) {
        slot.fd = eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
    }
    slot.actions.push_back(a);
    Signal(slot.fd);
}

SlotGuard::~SlotGuard() {
    auto s = state.lock();
    if (!s || tlsHolding > 0) {
        return; // the thread ends the process from inside the backend: the slot goes with the process
    }
    Locked lock(s->mutex);
    auto it = s->threads.find(tid);
    if (it != s->threads.end()) {
        if (it->second.fd >= 0) {
            close(it->second.fd);
        }
        s->threads.erase(it);
    }
}

// ---- The SDL thread

void SdlDisplayBackend::State::Main(std::promise<std::string> ready) {
    // The program handles its own signals; SDL would turn them into SDL_QUIT.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    // Plain X images: no GPU here, and the window surface is all a present needs.
    SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
    // The click that activates a window reaches it too; WM_MOUSEACTIVATE decides what it does.
    SDL_SetHint(SDL_HINT_MOUSE_FOCUS_CLICKTHROUGH, "1");
    SDL_SetHint(SDL_HINT_VIDEO_MINIMIZE_ON_FOCUS_LOSS, "0");
    SDL_SetHint(SDL_HINT_VIDEO_ALLOW_SCREENSAVER, "1");
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
        ready.set_value(SDL_GetError()[0] ? SDL_GetError() : "SDL video failed");
        return;
    }
    // Without a display SDL falls back to drivers that show nothing; headless does that better.
    const char* driver = SDL_GetCurrentVideoDriver();
    if (!driver || std::strcmp(driver, "offscreen") == 0 || std::strcmp(driver, "dummy") == 0 ||
        std::strcmp(driver, "evdev") == 0) {
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
        ready.set_value("no display to open");
        return;
    }
    // SDL's way to the X connection beneath it is a window; this one is never shown.
    anchor =
        SDL_CreateWindow("", 0, 0, 1, 1, SDL_WINDOW_HIDDEN | SDL_WINDOW_BORDERLESS | SDL_WINDOW_SKIP_TASKBAR);
    x11 = std::make_unique<X11Connection>(anchor);
    x11->InstallErrorHandlers([this] { ConnectionLost(); });
    SDL_Rect bounds{};
    SDL_Rect usable{};
    bool haveBounds = SDL_GetDisplayBounds(0, &bounds) == 0 && bounds.w > 0 && bounds.h > 0;
    bool haveUsable = SDL_GetDisplayUsableBounds(0, &usable) == 0 && usable.w > 0 && usable.h > 0;
    {
        Locked lock(mutex);
        wakeFd = eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
        if (haveBounds) {
            screen = SIZE{bounds.x + bounds.w, bounds.y + bounds.h};
            work = RECT{bounds.x, bounds.y, bounds.x + bounds.w, bounds.y + bounds.h};
        }
        if (haveUsable) {
            work = RECT{usable.x, usable.y, usable.x + usable.w, usable.y + usable.h};
        }
        running = true;
    }
    ready.set_value(std::string());

    for (;;) {
        SDL_Event e;
        while (SDL_PollEvent(&e)) {
            Handle(e);
        }
        // The focus went to another program (not to another window of ours, which would hold it now): the
        // program's windows lose the activation.
        if (!focusLost.empty() && !SDL_GetKeyboardFocus()) {
            for (DWORD tid : focusLost) {
                PostAction(tid, Action{Action::Deactivate, nullptr, {}, 0});
            }
        }
        focusLost.clear();
        if (!RunCommands()) {
            break;
        }
        Flush();
        Wait();
    }

    {
        Locked lock(mutex);
        running = false;
    }
    ran.notify_all();
    for (auto& [id, rec] : byId) {
        SDL_DestroyWindow(rec->window);
        rec->window = nullptr;
    }
    byId.clear();
    SDL_DestroyWindow(anchor);
    if (cursor) {
        SDL_FreeCursor(cursor);
    }
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
}

void SdlDisplayBackend::State::Wait() {
    // What SDL or Xlib already took in (while carrying out a command) would not wake the poll.
    if (SDL_HasEvents(SDL_FIRSTEVENT, SDL_LASTEVENT) || x11->EventsWaiting()) {
        return;
    }
    bool idle = false;
    {
        Locked lock(mutex);
        idle = windows.empty();
    }
    pollfd fds[2] = {{wakeFd, POLLIN, 0}, {x11->Fd(), POLLIN, 0}};
    const nfds_t n = fds[1].fd >= 0 ? 2 : 1;
    // SDL settles some things a moment after the event that started them (a change of focus); without the
    // X connection to wait on, only the wake-up would end the wait.
    const int timeout = n == 1 ? 10 : idle ? -1 : 100;
    poll(fds, n, timeout);
    Drain(wakeFd);
}

void SdlDisplayBackend::State::ConnectionLost() {
    {
        Locked lock(mutex);
        running = false;
        lost = true;
        commands.clear();
    }
    ran.notify_all();
    DisplayReportConnectionLost();
}

bool SdlDisplayBackend::State::RunCommands() {
    std::deque<Command> work;
    {
        Locked lock(mutex);
        work.swap(commands);
    }
    for (Command& c : work) {
        NativeWindow* rec = c.rec.get();
        switch (c.kind) {
        case Command::Create: {
            Uint32 flags = SDL_WINDOW_HIDDEN;
            if ((c.style & WS_CAPTION) != WS_CAPTION) {
                flags |= SDL_WINDOW_BORDERLESS;
                if (!(c.exStyle & WS_EX_APPWINDOW)) {
                    flags |= SDL_WINDOW_SKIP_TASKBAR;
                }
            } else {
                if (c.style & WS_THICKFRAME) {
                    flags |= SDL_WINDOW_RESIZABLE;
                }
                if (c.exStyle & WS_EX_TOOLWINDOW) {
                    flags |= SDL_WINDOW_UTILITY;
                }
            }
            if (c.exStyle & WS_EX_TOPMOST) {
                flags |= SDL_WINDOW_ALWAYS_ON_TOP;
            }
            int w = std::max(1, static_cast<int>(c.rect.right - c.rect.left));
            int h = std::max(1, static_cast<int>(c.rect.bottom - c.rect.top));
            rec->window = SDL_CreateWindow(c.text.c_str(), c.rect.left, c.rect.top, w, h, flags);
            if (!rec->window) {
                break;
            }
            byId[SDL_GetWindowID(rec->window)] = c.rec;
            if (c.owner && c.owner->window) {
                // An owned window with a caption (a dialog, a message box) stays with its owner, and the
                // window manager gives it a dialog's frame rather than a main window's.
                SDL_SetWindowModalFor(rec->window, c.owner->window);
                if (!(c.exStyle & WS_EX_TOOLWINDOW)) {
                    x11->MarkAsDialog(rec->window);
                }
            }
            break;
        }
        case Command::Destroy:
            if (rec->window) {
                byId.erase(SDL_GetWindowID(rec->window));
                SDL_DestroyWindow(rec->window);
                rec->window = nullptr;
            }
            break;
        case Command::Move: {
            if (!rec->window || (c.fromNative && SameRect(c.rect, c.requested))) {
                break;
            }
            int x = 0, y = 0, w = 0, h = 0;
            SDL_GetWindowPosition(rec->window, &x, &y);
            SDL_GetWindowSize(rec->window, &w, &h);
            int cw = std::max(1, static_cast<int>(c.rect.right - c.rect.left));
            int ch = std::max(1, static_cast<int>(c.rect.bottom - c.rect.top));
            if (w != cw || h != ch) {
                SDL_SetWindowSize(rec->window, cw, ch);
            }
            if (x != c.rect.left || y != c.rect.top) {
                SDL_SetWindowPosition(rec->window, c.rect.left, c.rect.top);
            }
            SDL_SetWindowBordered(rec->window, c.value ? SDL_TRUE : SDL_FALSE);
            break;
        }
        case Command::Show: {
            if (!rec->window) {
                break;
            }
            int before = rec->shown;
            rec->shown = c.value;
            if (c.value == SW_HIDE) {
                SDL_HideWindow(rec->window);
                break;
            }
            if (!(SDL_GetWindowFlags(rec->window) & (SDL_WINDOW_SHOWN | SDL_WINDOW_BORDERLESS))) {
                POINT asked{};
                SDL_GetWindowPosition(rec->window, &asked.x, &asked.y);
                rec->firstPlacement = asked;
            }
            SDL_ShowWindow(rec->window);
            if (c.value == SW_SHOWMINIMIZED) {
                SDL_MinimizeWindow(rec->window);
            } else if (c.value == SW_SHOWMAXIMIZED) {
                SDL_MaximizeWindow(rec->window);
            } else if (before == SW_SHOWMINIMIZED || before == SW_SHOWMAXIMIZED) {
                SDL_RestoreWindow(rec->window);
            }
            {
                Locked lock(mutex);
                rec->pending = RECT{0, 0, rec->width, rec->height};
            }
            // The window's pixels go up at once, not after the commands queued behind the show (its title,
            // the cursor, a raise: round trips to the X server each).
            Flush();
            break;
        }
        case Command::Title:
            if (rec->window) {
                SDL_SetWindowTitle(rec->window, c.text.c_str());
            }
            break;
        case Command::Raise:
            if (rec->window && rec->shown != SW_HIDE && SDL_GetKeyboardFocus() != rec->window) {
                SDL_RaiseWindow(rec->window);
            }
            break;
        case Command::Flash:
            if (rec->window) {
                SDL_FlashWindow(rec->window, c.value ? SDL_FLASH_UNTIL_FOCUSED : SDL_FLASH_CANCEL);
            }
            break;
        case Command::Cursor: {
            if (c.value < 0) {
                SDL_ShowCursor(SDL_DISABLE);
                break;
            }
            SDL_Cursor* next = SDL_CreateSystemCursor(SystemCursorFor(c.value));
            if (next) {
                SDL_SetCursor(next);
                if (cursor) {
                    SDL_FreeCursor(cursor);
                }
                cursor = next;
            }
            SDL_ShowCursor(SDL_ENABLE);
            break;
        }
        case Command::Warp:
            for (auto& [id, r] : byId) {
                RECT content{};
                {
                    Locked lock(mutex);
                    content = ContentOf(r->layerRect, r->decoration);
                }
                if (r->shown != SW_HIDE && c.pt.x >= content.left && c.pt.x < content.right &&
                    c.pt.y >= content.top && c.pt.y < content.bottom) {
                    SDL_WarpMouseInWindow(r->window, c.pt.x - content.left, c.pt.y - content.top);
                    break;
                }
            }
            break;
        case Command::Capture:
            SDL_CaptureMouse(c.value ? SDL_TRUE : SDL_FALSE);
            break;
        case Command::Run:
            Flush();
            c.task();
            break;
        case Command::Quit:
            return false;
        }
    }
    return true;
}

void SdlDisplayBackend::State::Flush() {
    // The changed pixels are copied out under the mutex and blitted without it.
    struct Blit {
        NativePtr rec;
        SDL_Rect area{};
        std::vector<std::uint32_t> pixels;
    };
    std::vector<Blit> blits;
    {
        Locked lock(mutex);
        for (auto& [hwnd, rec] : windows) {
            RECT area = rec->pending;
            area.right = std::min(area.right, static_cast<LONG>(rec->width));
            area.bottom = std::min(area.bottom, static_cast<LONG>(rec->height));
            if (!rec->window || rec->shown == SW_HIDE || area.right <= area.left || area.bottom <= area.top) {
                continue;
            }
            Blit b{rec, SDL_Rect{area.left, area.top, area.right - area.left, area.bottom - area.top}, {}};
            b.pixels.resize(static_cast<std::size_t>(b.area.w) * static_cast<std::size_t>(b.area.h));
            for (int y = 0; y < b.area.h; ++y) {
                std::memcpy(&b.pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(b.area.w)],
                            &rec->pixels[static_cast<std::size_t>(area.top + y) *
                                             static_cast<std::size_t>(rec->width) +
                                         static_cast<std::size_t>(area.left)],
                            static_cast<std::size_t>(b.area.w) * 4);
            }
            rec->pending = RECT{};
            blits.push_back(std::move(b));
        }
    }
    for (Blit& b : blits) {
        SDL_Surface* target = SDL_GetWindowSurface(b.rec->window);
        if (!target) {
            continue;
        }
        SDL_Surface* source = SDL_CreateRGBSurfaceWithFormatFrom(b.pixels.data(), b.area.w, b.area.h, 32,
                                                                 b.area.w * 4, SDL_PIXELFORMAT_RGB888);
        if (!source) {
            continue;
        }
        SDL_SetSurfaceBlendMode(source, SDL_BLENDMODE_NONE);
        SDL_Rect to = b.area;
        SDL_BlitSurface(source, nullptr, target, &to);
        SDL_FreeSurface(source);
        SDL_Rect shown = b.area;
        shown.w = std::min(shown.w, target->w - shown.x);
        shown.h = std::min(shown.h, target->h - shown.y);
        if (shown.w > 0 && shown.h > 0) {
            SDL_UpdateWindowSurfaceRects(b.rec->window, &shown, 1);
        }
    }
}

namespace {

// A window manager that frames a new window puts its frame's corner where the content was asked to go (the
// position a window asks for names its frame's corner), so the content lands one frame offset further; the
// layer window would follow it there, and a placement stored and restored would creep by that offset at
// every start. The content is moved back to where it was asked to go, once the frame's size is known, unless
// that would put the frame's title above the screen's edge.
bool UndoFirstFrameOffset(NativeWindow& rec, int x, int y) {
    if (!rec.firstPlacement) {
        return false;
    }
    const POINT asked = *rec.firstPlacement;
    int top = 0, left = 0, bottom = 0, right = 0;
    if (SDL_GetWindowBordersSize(rec.window, &top, &left, &bottom, &right) != 0 || (top == 0 && left == 0)) {
        return false; // not framed yet (or never): wait for the next placement
    }
    rec.firstPlacement.reset();
    if (x - asked.x != left || y - asked.y != top || asked.x < left || asked.y < top) {
        return false;
    }
    SDL_SetWindowPosition(rec.window, asked.x, asked.y);
    return true;
}

} // namespace

void SdlDisplayBackend::State::NativeGeometryChanged(const NativePtr& rec) {
    if (!rec->window || (SDL_GetWindowFlags(rec->window) & SDL_WINDOW_MINIMIZED)) {
        return;
    }
    int x = 0, y = 0, w = 0, h = 0;
    SDL_GetWindowPosition(rec->window, &x, &y);
    SDL_GetWindowSize(rec->window, &w, &h);
    if (UndoFirstFrameOffset(*rec, x, y)) {
        return;
    }
    RECT wanted{};
    DWORD tid = 0;
    {
        Locked lock(mutex);
        wanted = LayerOf(RECT{x, y, x + w, y + h}, rec->decoration);
        if (SameRect(wanted, rec->layerRect)) {
            return;
        }
        tid = rec->tid;
    }
    PostAction(tid, Action{Action::Place, rec->hwnd, wanted, 0});
}

void SdlDisplayBackend::State::HandleWindowEvent(const SDL_WindowEvent& e) {
    NativePtr rec = ById(e.windowID);
    if (!rec) {
        return;
    }
    switch (e.event) {
    case SDL_WINDOWEVENT_MOVED:
    case SDL_WINDOWEVENT_SIZE_CHANGED:
        NativeGeometryChanged(rec);
        break;
    case SDL_WINDOWEVENT_EXPOSED:
    case SDL_WINDOWEVENT_SHOWN: {
        Locked lock(mutex);
        rec->pending = RECT{0, 0, rec->width, rec->height};
        break;
    }
    case SDL_WINDOWEVENT_CLOSE:
        PostMessageW(rec->hwnd, WM_CLOSE, 0, 0);
        break;
    case SDL_WINDOWEVENT_FOCUS_GAINED:
        PostAction(rec->tid, Action{Action::Activate, rec->hwnd, {}, 0});
        break;
    case SDL_WINDOWEVENT_FOCUS_LOST:
        focusLost.push_back(rec->tid);
        break;
    case SDL_WINDOWEVENT_MINIMIZED:
        if (rec->shown != SW_SHOWMINIMIZED) {
            rec->shown = SW_SHOWMINIMIZED;
            PostAction(rec->tid, Action{Action::Show, rec->hwnd, {}, SW_MINIMIZE});
        }
        break;
    case SDL_WINDOWEVENT_MAXIMIZED:
        if (rec->shown != SW_SHOWMAXIMIZED) {
            rec->shown = SW_SHOWMAXIMIZED;
            PostAction(rec->tid, Action{Action::Show, rec->hwnd, {}, SW_MAXIMIZE});
        }
        break;
    case SDL_WINDOWEVENT_RESTORED:
        if (rec->shown == SW_SHOWMINIMIZED || rec->shown == SW_SHOWMAXIMIZED) {
            rec->shown = SW_SHOWNORMAL;
            PostAction(rec->tid, Action{Action::Show, rec->hwnd, {}, SW_RESTORE});
        }
        break;
    default:
        break;
    }
}

void SdlDisplayBackend::State::Handle(const SDL_Event& e) {
    switch (e.type) {
    case SDL_WINDOWEVENT:
        HandleWindowEvent(e.window);
        break;
    case SDL_MOUSEMOTION:
        if (NativePtr rec = ById(e.motion.windowID)) {
            rec->mouse = POINT{e.motion.x, e.motion.y};
            DisplayInjectMouse(WM_MOUSEMOVE, ScreenPoint(*rec, e.motion.x, e.motion.y));
        }
        break;
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP:
        if (NativePtr rec = ById(e.button.windowID)) {
            bool down = e.type == SDL_MOUSEBUTTONDOWN;
            UINT msg = 0;
            WORD xButton = 0;
            switch (e.button.button) {
            case SDL_BUTTON_LEFT:
                msg = down ? WM_LBUTTONDOWN : WM_LBUTTONUP;
                break;
            case SDL_BUTTON_MIDDLE:
                msg = down ? WM_MBUTTONDOWN : WM_MBUTTONUP;
                break;
            case SDL_BUTTON_RIGHT:
                msg = down ? WM_RBUTTONDOWN : WM_RBUTTONUP;
                break;
            case SDL_BUTTON_X1:
                msg = down ? WM_XBUTTONDOWN : WM_XBUTTONUP;
                xButton = 1;
                break;
            case SDL_BUTTON_X2:
                msg = down ? WM_XBUTTONDOWN : WM_XBUTTONUP;
                xButton = 2;
                break;
            default:
                break;
            }
            if (msg) {
                rec->mouse = POINT{e.button.x, e.button.y};
                DisplayInjectMouse(msg, ScreenPoint(*rec, e.button.x, e.button.y), 0, xButton);
            }
        }
        break;
    case SDL_MOUSEWHEEL:
        if (NativePtr rec = ById(e.wheel.windowID)) {
            float flip = e.wheel.direction == SDL_MOUSEWHEEL_FLIPPED ? -1.0f : 1.0f;
            int dy = static_cast<int>(std::lround(e.wheel.preciseY * flip * WHEEL_DELTA));
            int dx = static_cast<int>(std::lround(e.wheel.preciseX * flip * WHEEL_DELTA));
            POINT pt = ScreenPoint(*rec, rec->mouse.x, rec->mouse.y);
            if (dy) {
                DisplayInjectMouse(WM_MOUSEWHEEL, pt, dy);
            }
            if (dx) {
                DisplayInjectMouse(WM_MOUSEHWHEEL, pt, dx);
            }
        }
        break;
    case SDL_KEYDOWN:
    case SDL_KEYUP: {
        const SDL_Keysym& k = e.key.keysym;
        keyMods = k.mod;
        SdlKeyTranslation t = SdlTranslateKey(k.scancode, k.sym, (k.mod & KMOD_NUM) != 0);
        if (!t.virtualKey) {
            break;
        }
        // With the left Alt alone the characters are menu mnemonics (WM_SYSCHAR), made from the key;
        // otherwise typed text comes through SDL_TEXTINPUT and the key gives only control characters.
        bool mnemonic = (k.mod & KMOD_LALT) && !(k.mod & KMOD_CTRL);
        DisplayInjectKey(t.virtualKey, t.scanCode, e.type == SDL_KEYDOWN ? TRUE : FALSE, t.extended,
                         mnemonic ? DisplayKeyText::Derive : DisplayKeyText::ControlOnly);
        break;
    }
    case SDL_TEXTINPUT:
        if (!((keyMods & KMOD_LALT) && !(keyMods & KMOD_CTRL))) {
            DisplayInjectText(Utf8ToUtf16(e.text.text));
        }
        break;
    default:
        break;
    }
}

// ---- The backend

SdlDisplayBackend::SdlDisplayBackend() : state_(std::make_shared<State>()) {}

namespace {
// SDL's event queue is the process's: only one backend may read it.
std::atomic<bool> gStarted{false};
// The backend whose thread runs, for RunOnRunningDisplay.
std::mutex gRunningMutex;
std::weak_ptr<SdlDisplayBackend::State> gRunning;
} // namespace

std::unique_ptr<SdlDisplayBackend> SdlDisplayBackend::Start(std::string* error,
                                                           const std::function<void()>& whileOpening) {
    if (gStarted.exchange(true)) {
        if (error) {
            *error = "the SDL display is already running";
        }
        return nullptr;
    }
    std::unique_ptr<SdlDisplayBackend> backend(new SdlDisplayBackend);
    std::shared_ptr<State> s = backend->state_;
    std::promise<std::string> ready;
    std::future<std::string> result = ready.get_future();
    s->thread = std::thread([s, p = std::move(ready)]() mutable { s->Main(std::move(p)); });
    s->threadId = s->thread.get_id();
    if (whileOpening) {
        whileOpening();
    }
    std::string failure = result.get();
    if (!failure.empty()) {
        s->thread.join();
        gStarted = false;
        if (error) {
            *error = failure;
        }
        return nullptr;
    }
    std::lock_guard lock(gRunningMutex);
    gRunning = s;
    return backend;
}

bool SdlDisplayBackend::RunOnRunningDisplay(const std::function<void()>& task) {
    std::shared_ptr<State> s;
    {
        std::lock_guard lock(gRunningMutex);
        s = gRunning.lock();
    }
    return s && s->Run(task);
}

SdlDisplayBackend::~SdlDisplayBackend() {
    if (!state_->thread.joinable()) {
        return;
    }
    {
        std::lock_guard lock(gRunningMutex);
        gRunning.reset();
    }
    bool lost = false;
    {
        Locked lock(state_->mutex);
        lost = state_->lost;
        state_->PushLocked(Command(Command::Quit));
    }
    if (lost) {
        state_->thread.detach(); // parked for good where the broken connection found it
        return;
    }
    state_->thread.join();
    gStarted = false;
    Locked lock(state_->mutex);
    close(state_->wakeFd);
    state_->wakeFd = -1;
    for (auto& [tid, slot] : state_->threads) {
        if (slot.fd >= 0) {
            close(slot.fd);
            slot.fd = -1;
        }
    }
}

SIZE SdlDisplayBackend::ScreenSize() {
    Locked lock(state_->mutex);
    return state_->screen;
}

RECT SdlDisplayBackend::WorkArea() {
    Locked lock(state_->mutex);
    return state_->work;
}

void SdlDisplayBackend::WindowCreated(HWND hwnd, const RECT& windowRect, DWORD style, DWORD exStyle) {
    auto rec = std::make_shared<NativeWindow>();
    rec->hwnd = hwnd;
    rec->tid = GetCurrentThreadId();
    rec->layerRect = windowRect;
    rec->decoration = DecorationOf(style, exStyle);
    WCHAR title[256] = {};
    InternalGetWindowText(hwnd, title, 256);
    Command c(Command::Create, rec);
    c.style = style;
    c.exStyle = exStyle;
    c.rect = ContentOf(windowRect, rec->decoration);
    c.text = Utf16ToUtf8(title);
    HWND owner = (style & WS_CAPTION) == WS_CAPTION ? GetWindow(hwnd, GW_OWNER) : nullptr;
    Locked lock(state_->mutex);
    if (auto o = state_->windows.find(owner); owner && o != state_->windows.end()) {
        c.owner = o->second;
    }
    state_->windows[hwnd] = rec;
    state_->PushLocked(std::move(c));
}

void SdlDisplayBackend::WindowDestroyed(HWND hwnd) {
    Locked lock(state_->mutex);
    auto it = state_->windows.find(hwnd);
    if (it == state_->windows.end()) {
        return;
    }
    NativePtr rec = it->second;
    state_->windows.erase(it);
    state_->PushLocked(Command(Command::Destroy, rec));
}

void SdlDisplayBackend::WindowMoved(HWND hwnd, const RECT& windowRect) {
    if (IsIconic(hwnd)) {
        return; // the native window stays where it was; restoring moves the layer window back
    }
    DWORD style = static_cast<DWORD>(GetWindowLongW(hwnd, GWL_STYLE));
    RECT deco = DecorationOf(style, static_cast<DWORD>(GetWindowLongW(hwnd, GWL_EXSTYLE)));
    Locked lock(state_->mutex);
    auto it = state_->windows.find(hwnd);
    if (it == state_->windows.end()) {
        return;
    }
    NativeWindow& rec = *it->second;
    rec.layerRect = windowRect;
    rec.decoration = deco;
    Command c(Command::Move, it->second);
    c.rect = ContentOf(windowRect, deco);
    c.value = (style & WS_CAPTION) == WS_CAPTION;
    if (tlsPlacing) {
        c.fromNative = true;
        c.requested = ContentOf(*tlsPlacing, deco);
    }
    state_->PushLocked(std::move(c));
}

void SdlDisplayBackend::WindowShown(HWND hwnd, int showState) {
    Locked lock(state_->mutex);
    auto it = state_->windows.find(hwnd);
    if (it != state_->windows.end()) {
        Command c(Command::Show, it->second);
        c.value = showState;
        state_->PushLocked(std::move(c));
    }
}

void SdlDisplayBackend::WindowTextChanged(HWND hwnd, const std::u16string& text) {
    Locked lock(state_->mutex);
    auto it = state_->windows.find(hwnd);
    if (it != state_->windows.end()) {
        Command c(Command::Title, it->second);
        c.text = Utf16ToUtf8(text);
        state_->PushLocked(std::move(c));
    }
}

void SdlDisplayBackend::WindowActivated(HWND hwnd) {
    Locked lock(state_->mutex);
    auto it = state_->windows.find(hwnd);
    if (it != state_->windows.end()) {
        state_->PushLocked(Command(Command::Raise, it->second));
    }
}

void SdlDisplayBackend::WindowFlashed(HWND hwnd, bool on) {
    Locked lock(state_->mutex);
    auto it = state_->windows.find(hwnd);
    if (it != state_->windows.end()) {
        Command c(Command::Flash, it->second);
        c.value = on;
        state_->PushLocked(std::move(c));
    }
}

void SdlDisplayBackend::Present(HWND hwnd, cairo_surface_t* surface, const RECT& dirty) {
    if (!surface || cairo_surface_get_type(surface) != CAIRO_SURFACE_TYPE_IMAGE || IsIconic(hwnd)) {
        return;
    }
    const unsigned char* data = cairo_image_surface_get_data(surface);
    int stride = cairo_image_surface_get_stride(surface);
    int sw = cairo_image_surface_get_width(surface);
    int sh = cairo_image_surface_get_height(surface);
    if (!data) {
        return;
    }
    Locked lock(state_->mutex);
    auto it = state_->windows.find(hwnd);
    if (it == state_->windows.end() || !state_->running) {
        return;
    }
    NativeWindow& rec = *it->second;
    const RECT& d = rec.decoration;
    int cw = std::max(0, sw - static_cast<int>(d.left + d.right));
    int ch = std::max(0, sh - static_cast<int>(d.top + d.bottom));
    RECT area{};
    if (cw != rec.width || ch != rec.height) {
        // A new size: the surface kept the old pixels, so take all of it.
        rec.pixels.assign(static_cast<std::size_t>(cw) * static_cast<std::size_t>(ch), 0);
        rec.width = cw;
        rec.height = ch;
        area = RECT{0, 0, cw, ch};
    } else {
        area = RECT{std::max<LONG>(dirty.left - d.left, 0), std::max<LONG>(dirty.top - d.top, 0),
                    std::min<LONG>(dirty.right - d.left, cw), std::min<LONG>(dirty.bottom - d.top, ch)};
    }
    if (area.right <= area.left || area.bottom <= area.top) {
        return;
    }
    std::size_t bytes = static_cast<std::size_t>(area.right - area.left) * 4;
    for (LONG y = area.top; y < area.bottom; ++y) {
        const unsigned char* from =
            data + static_cast<std::ptrdiff_t>(y + d.top) * stride + (area.left + d.left) * 4;
        std::memcpy(&rec.pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(cw) +
                                static_cast<std::size_t>(area.left)],
                    from, bytes);
    }
    Unite(rec.pending, area);
    state_->WakeLocked();
}

void SdlDisplayBackend::CursorChanged(HCURSOR cursor) {
    Command c(Command::Cursor);
    c.value = cursor ? DisplayStandardCursorId(cursor) : -1;
    state_->Push(std::move(c));
}

void SdlDisplayBackend::CursorMoved(POINT screen) {
    Command c(Command::Warp);
    c.pt = screen;
    state_->Push(std::move(c));
}

void SdlDisplayBackend::CaptureChanged(HWND capture) {
    Command c(Command::Capture);
    c.value = capture != nullptr;
    state_->Push(std::move(c));
}

int SdlDisplayBackend::EventFd() {
    DWORD tid = GetCurrentThreadId();
    Locked lock(state_->mutex);
    ThreadSlot& slot = state_->threads[tid];
    if (slot.fd < 0) {
        slot.fd = eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
    }
    if (tlsSlot.tid != tid || tlsSlot.state.expired()) {
        tlsSlot.state = state_;
        tlsSlot.tid = tid;
    }
    return slot.fd;
}

void SdlDisplayBackend::PumpEvents() {
    DWORD tid = GetCurrentThreadId();
    std::deque<Action> work;
    {
        Locked lock(state_->mutex);
        auto it = state_->threads.find(tid);
        if (it == state_->threads.end() || it->second.actions.empty()) {
            return;
        }
        if (it->second.fd >= 0) {
            Drain(it->second.fd);
        }
        work.swap(it->second.actions);
        if (tlsSlot.tid != tid || tlsSlot.state.expired()) {
            tlsSlot.state = state_;
            tlsSlot.tid = tid;
        }
    }
    for (const Action& a : work) {
        if (a.kind == Action::Deactivate) {
            if (GetActiveWindow()) {
                SetActiveWindow(nullptr);
            }
            continue;
        }
        if (!IsWindow(a.hwnd)) {
            continue;
        }
        switch (a.kind) {
        case Action::Place:
            if (!IsIconic(a.hwnd)) {
                tlsPlacing = &a.rect;
                SetWindowPos(a.hwnd, nullptr, a.rect.left, a.rect.top, a.rect.right - a.rect.left,
                             a.rect.bottom - a.rect.top, SWP_NOZORDER | SWP_NOACTIVATE);
                tlsPlacing = nullptr;
            }
            break;
        case Action::Activate: {
            HWND target = a.hwnd;
            LONG ex = GetWindowLongW(target, GWL_EXSTYLE);
            LONG style = GetWindowLongW(target, GWL_STYLE);
            if ((ex & WS_EX_NOACTIVATE) || ((style & WS_POPUP) && (style & WS_CAPTION) != WS_CAPTION)) {
                break; // menus, tool tips and other popups never take the activation
            }
            if (!IsWindowEnabled(target)) {
                // A modal dialog disables its owner: the dialog comes forward instead.
                HWND popup = GetLastActivePopup(target);
                if (!popup || popup == target || !IsWindowEnabled(popup)) {
                    break;
                }
                target = popup;
            }
            if (IsWindowVisible(target) && GetForegroundWindow() != target) {
                SetForegroundWindow(target);
            }
            break;
        }
        case Action::Show:
            ShowWindow(a.hwnd, a.cmd);
            break;
        case Action::Deactivate:
            break;
        }
    }
}

bool SdlDisplayBackend::State::Run(const std::function<void()>& task) {
    if (std::this_thread::get_id() == threadId) {
        task();
        return true;
    }
    bool done = false;
    Command c(Command::Run);
    c.task = [this, &task, &done] {
        task();
        {
            Locked lock(mutex);
            done = true;
        }
        ran.notify_all();
    };
    Locked lock(mutex);
    if (!running) {
        return false; // the thread has stopped: nothing would ever run it
    }
    PushLocked(std::move(c));
    // A thread that stops (the display is gone) leaves the task undone; the wait ends all the same.
    ran.wait(lock.Lock(), [&] { return done || !running; });
    return done;
}

bool SdlDisplayBackend::RunOnDisplayThread(const std::function<void()>& task) {
    return state_->Run(task);
}

bool SdlDisplayBackend::NativeContentRect(HWND hwnd, RECT* rect) {
    NativePtr rec;
    {
        Locked lock(state_->mutex);
        auto it = state_->windows.find(hwnd);
        if (it == state_->windows.end()) {
            return false;
        }
        rec = it->second;
    }
    bool found = false;
    RunOnDisplayThread([&] {
        if (!rec->window) {
            return;
        }
        int x = 0, y = 0, w = 0, h = 0;
        SDL_GetWindowPosition(rec->window, &x, &y);
        SDL_GetWindowSize(rec->window, &w, &h);
        *rect = RECT{x, y, x + w, y + h};
        found = true;
    });
    return found;
}

unsigned SdlDisplayBackend::NativeWindowId(HWND hwnd) {
    NativePtr rec;
    {
        Locked lock(state_->mutex);
        auto it = state_->windows.find(hwnd);
        if (it == state_->windows.end()) {
            return 0;
        }
        rec = it->second;
    }
    unsigned id = 0;
    RunOnDisplayThread([&] { id = rec->window ? SDL_GetWindowID(rec->window) : 0; });
    return id;
}
