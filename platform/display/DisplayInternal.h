// Shared internals of the window core; not for code outside platform/display.
//
// One process-wide lock (Globals::mutex) guards every window, class, queue and the input state. It is never
// held while a window procedure, hook, timer procedure or backend call runs: the public calls take it to read
// or change state, drop it, then call out. Functions whose names end in Locked expect it held.
#pragma once

#include "platform/base/Geometry.h"
#include "platform/display/DisplayBackend.h"
#include "platform/display/User.h"
#include "platform/kernel/Ticks.h"

#include <pixman.h>

#include <atomic>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <unordered_map>
#include <vector>

namespace display_detail {

// A pixman region with value semantics.
class Region {
public:
    Region() { pixman_region32_init(&r_); }
    explicit Region(const RECT& rc);
    Region(const Region& other);
    Region& operator=(const Region& other);
    ~Region() { pixman_region32_fini(&r_); }

    pixman_region32_t* get() { return &r_; }
    const pixman_region32_t* get() const { return &r_; }
    bool Empty() const { return !pixman_region32_not_empty(const_cast<pixman_region32_t*>(&r_)); }
    RECT Bounds() const;
    void Clear() { pixman_region32_clear(&r_); }
    void Set(const RECT& rc);
    void Union(const Region& other) {
        pixman_region32_union(&r_, &r_, const_cast<pixman_region32_t*>(&other.r_));
    }
    void Union(const RECT& rc);
    void Intersect(const Region& other) {
        pixman_region32_intersect(&r_, &r_, const_cast<pixman_region32_t*>(&other.r_));
    }
    void Intersect(const RECT& rc);
    void Subtract(const Region& other) {
        pixman_region32_subtract(&r_, &r_, const_cast<pixman_region32_t*>(&other.r_));
    }
    void Subtract(const RECT& rc);
    void Offset(int dx, int dy) { pixman_region32_translate(&r_, dx, dy); }
    bool Contains(POINT pt) const;
    // NULLREGION, SIMPLEREGION or COMPLEXREGION.
    int Kind() const;
    std::vector<RECT> Rects() const;

private:
    pixman_region32_t r_;
};

// A top-level window's pixels. Outstanding DCs hold a reference so that a window destroyed or resized while
// a DC is in use never leaves GDI with a dangling surface.
struct Surface {
    explicit Surface(int width, int height);
    ~Surface();
    Surface(const Surface&) = delete;
    Surface& operator=(const Surface&) = delete;
    cairo_surface_t* surface = nullptr;
    int width = 0;
    int height = 0;
};

struct WindowClass {
    ATOM atom = 0;
    std::u16string name;
    UINT style = 0;
    WNDPROC proc = nullptr;
    int clsExtra = 0;
    int wndExtra = 0;
    HINSTANCE instance = nullptr;
    HICON icon = nullptr;
    HICON iconSmall = nullptr;
    HCURSOR cursor = nullptr;
    HBRUSH background = nullptr;
    LPCWSTR menuNameId = nullptr; // an integer resource id, or null when menuName holds a name
    std::u16string menuName;
    std::vector<BYTE> extra;
    bool system = false;
    int windows = 0;
};

struct ScrollBarState {
    int min = 0;
    int max = 100;
    UINT page = 0;
    int pos = 0;
    int trackPos = 0;
    UINT disabled = ESB_ENABLE_BOTH; // ESB_* bits
    bool tracking = false;
    int pressedPart = 0; // a ScrollPart while the mouse holds it
};

struct Window {
    Window();
    ~Window();
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;

    HWND hwnd = nullptr;
    DWORD tid = 0;
    std::shared_ptr<WindowClass> cls;
    WNDPROC proc = nullptr;
    DWORD style = 0;
    DWORD exStyle = 0;
    HWND parent = nullptr; // the desktop for top-level windows; null only for the desktop itself
    HWND owner = nullptr;
    std::vector<HWND> children; // z-order, the top first
    RECT rcWindow{};            // in the parent's client coordinates (screen for top-level windows)
    RECT rcClient{};            // same coordinates
    std::u16string text;
    HINSTANCE instance = nullptr;
    LONG_PTR id = 0; // control id of a child, menu of a top-level window
    LONG_PTR userData = 0;
    std::vector<BYTE> extra;
    std::vector<std::pair<std::u16string, HANDLE>> props;

    Region update; // client coordinates
    bool erase = false;
    bool ncDirty = false;
    bool internalPaint = false;

    bool created = false;    // WM_NCCREATE has been answered
    bool destroying = false; // DestroyWindow has begun
    bool minimized = false;
    bool maximized = false;
    bool restoreMaximized = false;
    RECT normalRect{};
    POINT minPos{-1, -1};
    POINT maxPos{-1, -1};
    bool flashed = false;
    bool ncActive = false;

    ScrollBarState bars[2];
    std::shared_ptr<Surface> surface; // top-level windows only
    RECT dirty{};                     // part of the surface changed since the last present
    HWND lastActivePopup = nullptr;
    HICON iconBig = nullptr;
    HICON iconSmall = nullptr;
    DWORD trackFlags = 0;    // TrackMouseEvent
    unsigned paintCount = 0; // BeginPaint calls, to spot a WM_PAINT handler that never painted
    bool isMessageOnly = false;
};

struct ThreadQueue;

struct SentMessage {
    HWND hwnd = nullptr;
    UINT msg = 0;
    WPARAM wParam = 0;
    LPARAM lParam = 0;
    DWORD senderTid = 0;
    std::shared_ptr<ThreadQueue> sender; // null for notifications nobody waits for
    std::function<LRESULT()> task;       // work run on the receiving thread instead of a window procedure
    LRESULT result = 0;
    bool done = false;
    bool replied = false;
    bool abandoned = false; // the sender stopped waiting
};

enum class KeyTextMode {
    Derive,      // characters from the virtual key and the shift state (a US layout)
    ControlOnly, // only control characters (Ctrl+letter, Backspace, Tab, Enter, Esc); text arrives apart
    Given,       // exactly the text given
};

struct QueuedInput {
    std::uint64_t seq = 0;
    UINT kind = 0; // WM_MOUSEMOVE .. WM_MOUSEHWHEEL, WM_KEYDOWN, WM_KEYUP, WM_CHAR
    POINT pt{};    // screen
    DWORD time = 0;
    WPARAM keys = 0; // MK_* for the mouse, the virtual key for keys, the unit for WM_CHAR
    LPARAM lParam = 0;
    int wheel = 0;
    WORD xbutton = 0;
    bool sys = false;
    KeyTextMode textMode = KeyTextMode::Derive;
    std::u16string text;
    bool dead = false;
    ULONG_PTR extraInfo = 0;
};

struct Timer {
    HWND hwnd = nullptr;
    UINT_PTR id = 0;
    TIMERPROC proc = nullptr;
    UINT elapse = 0;
    std::uint64_t due = 0;
    bool system = false;
};

struct Hook {
    HHOOK handle = nullptr;
    int type = 0;
    HOOKPROC proc = nullptr;
    DWORD tid = 0; // 0: every thread
    bool removed = false;
};

struct Caret {
    HWND hwnd = nullptr;
    HBITMAP bitmap = nullptr;
    int width = 0;
    int height = 0;
    POINT pos{};
    int hideCount = 1;
    bool on = false; // drawn at the moment
};

struct Click {
    HWND hwnd = nullptr;
    UINT message = 0; // the button-down (client or non-client) of the last click
    DWORD time = 0;
    POINT pt{};
};

struct ThreadQueue {
    ThreadQueue();
    ~ThreadQueue();
    ThreadQueue(const ThreadQueue&) = delete;
    ThreadQueue& operator=(const ThreadQueue&) = delete;

    DWORD tid = 0;
    int wakeFd = -1;
    bool alive = true;
    std::deque<std::shared_ptr<SentMessage>> incoming;
    std::deque<std::pair<MSG, ULONG_PTR>> posted;
    std::deque<QueuedInput> input;
    bool quit = false;
    int quitCode = 0;
    UINT changeBits = 0;

    HWND focus = nullptr;
    HWND active = nullptr;
    BYTE keyState[256]{};
    std::vector<Timer> timers;
    UINT_PTR nextTimerId = 1;
    MSG current{};
    ULONG_PTR extraInfo = 0;
    std::vector<std::shared_ptr<SentMessage>> receiving;
    Caret caret;
    Click lastClick;
    MSG lastKey{};
    KeyTextMode lastKeyMode = KeyTextMode::Derive;
    std::u16string lastKeyText;
    bool lastKeyDead = false;
    HWND mouseOver = nullptr;   // for WM_MOUSELEAVE
    std::uint64_t lastLook = 0; // when GetMessage/PeekMessage last looked (timers due since are new)
};

struct DcRecord {
    HWND hwnd = nullptr;
    std::shared_ptr<Surface> surface;
    HWND topLevel = nullptr;
    bool paint = false;
    RECT dirty{}; // surface pixels the DC could touch
    // How the visible region was made, so that a DC kept across calls follows the window's changes.
    bool windowArea = false;
    bool clipChildren = false;
    bool clipSiblings = false;
    POINT origin{};
    int clipMode = 0; // 0, DCX_INTERSECTRGN or DCX_EXCLUDERGN, with `clip` in screen coordinates
    Region clip;
};

struct Globals {
    std::mutex mutex;
    std::unordered_map<HWND, std::shared_ptr<Window>> windows;
    std::uintptr_t nextHandle = 0x10010;
    std::vector<std::shared_ptr<WindowClass>> classes;
    std::vector<std::pair<std::u16string, void (*)()>> lazyClasses;
    std::unordered_map<DWORD, std::shared_ptr<ThreadQueue>> threads;
    HWND desktop = nullptr;

    HWND capture = nullptr;
    HWND foreground = nullptr;
    POINT cursorPos{};
    RECT clipCursor{};
    bool clipCursorOn = false;
    HCURSOR cursor = nullptr;
    int cursorCount = 0;
    BYTE asyncKeys[256]{};
    std::uint64_t inputSeq = 0;

    std::unordered_map<std::u16string, ATOM> atoms;
    ATOM nextAtom = 0xC000;

    HWND lockedWindow = nullptr;
    std::unordered_map<HDC, DcRecord> dcs;
    std::vector<std::shared_ptr<Hook>> hooks; // newest first
    std::uintptr_t nextHook = 0x20000;

    std::unique_ptr<DisplayBackend> backend;
    std::atomic<bool> testClockOn{false};
    std::atomic<std::uint64_t> testNow{0};
    UINT doubleClickTime = 500;
    UINT caretBlinkTime = 530;
    DisplayMenuBarHooks menuHooks;
};

Globals& G();
// Registers the "MDIClient" class (MdiClient.cpp); the class table runs it the first time the name is looked up.
void RegisterMdiClientClass();
using Lock = std::unique_lock<std::mutex>;
inline Lock LockState() {
    return Lock(G().mutex);
}

// The display clock in milliseconds: the test clock when one is installed, else the tick count.
std::uint64_t Now();
DisplayBackend& Backend();

// Lookups; null (with ERROR_INVALID_WINDOW_HANDLE set) for handles that name no live window.
Window* FindLocked(HWND hwnd);
std::shared_ptr<Window> FindSharedLocked(HWND hwnd);
Window* FindQuietLocked(HWND hwnd);
bool IsTopLevelLocked(const Window& w);
HWND TopLevelOfLocked(HWND hwnd);
bool IsVisibleLocked(HWND hwnd); // the window and every ancestor visible
bool IsDescendantLocked(HWND ancestor, HWND hwnd);
POINT ClientOriginScreenLocked(const Window& w);
POINT WindowOriginScreenLocked(const Window& w);
RECT WindowRectScreenLocked(const Window& w);
RECT ClientRectScreenLocked(const Window& w);

ThreadQueue& CurrentQueueLocked();
std::shared_ptr<ThreadQueue> QueueOfLocked(DWORD tid);
void WakeLocked(ThreadQueue& q, UINT bits);

// Calling window procedures (lock not held).
LRESULT CallProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
LRESULT SendSameThread(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
// Runs `task` on the thread that owns hwnd (directly when that is the calling thread) and answers its result.
LRESULT RunOnWindowThread(HWND hwnd, const std::function<LRESULT()>& task);
// Handles the sends other threads queued for the calling thread; answers whether any ran.
bool ProcessIncomingSends();

// Hooks (lock not held). Answers the first hook's result, or 0 when the chain is empty.
bool HasHooks(int type);
LRESULT CallHooks(int type, int code, WPARAM wParam, LPARAM lParam);

// Timers kept by the window core for itself (caret blink, scroll-bar repeat); they come as WM_SYSTIMER.
void SetSystemTimer(HWND hwnd, UINT_PTR id, UINT elapse);
void KillSystemTimer(HWND hwnd, UINT_PTR id);
void KillWindowTimersLocked(HWND hwnd);
bool NextTimerDueLocked(ThreadQueue& q, std::uint64_t& due);

// Painting internals.
void InvalidateLocked(Window& w, const Region* rgn, UINT flags); // flags: RDW_*; rgn in client coordinates
// The non-client area needs WM_NCPAINT (when the window has one).
void InvalidateFrameLocked(Window& w);
void UpdateNow(HWND hwnd, UINT flags);
bool NeedsPaintLocked(const Window& w);
void EraseNow(HWND hwnd);
void ResizeSurfaceLocked(Window& w);
void MarkDirtyLocked(HWND topLevel, const RECT& surfaceRect);
void PresentDirty(DWORD tid);
// Recomputes the visible regions of the DCs kept across calls (not paint DCs) after windows changed.
void RefreshKeptDcs();
Region VisibleRegionLocked(const Window& w, bool windowArea, bool clipChildren, bool clipSiblings);
std::shared_ptr<Surface> SurfaceOfLocked(HWND hwnd, POINT* topLevelOrigin);

// Non-client areas.
// The parts of a window's non-client area, in the coordinates of `window`.
struct NcGeometry {
    RECT window{};
    RECT inFrame{}; // inside the outer frame (thick, dialog or border) or static edge
    RECT caption{}; // empty without a caption
    RECT menu{};    // empty without a menu bar
    RECT inEdge{};  // inside the client edge: client area plus scroll bars
    RECT vscroll{}; // empty without a vertical bar
    RECT hscroll{};
    RECT sizeBox{}; // the corner between two bars
    RECT client{};
    RECT closeButton{};
    RECT maxButton{};
    RECT minButton{};
    RECT sysIcon{};
};
NcGeometry ComputeNc(DWORD style, DWORD exStyle, int menuHeight, const RECT& window, bool minimized);
RECT CalcClientFromWindow(DWORD style, DWORD exStyle, int menuHeight, const RECT& window, bool minimized);
// The geometry of a live window in window coordinates (0,0 at its top-left), or in screen coordinates.
NcGeometry WindowNc(HWND hwnd, bool screen);
LRESULT DefNcHitTest(HWND hwnd, POINT screen);
void DefNcPaint(HWND hwnd, HRGN rgn);
// Draws the non-client area now; `pressed` is a caption button's hit code to draw pushed (0 for none).
void DrawNonClient(HWND hwnd, int pressed);
int MenuBarHeight(HWND hwnd, int width);

// Scroll bars of a window.
void ScrollBarTrack(HWND hwnd, int bar, POINT screen);
void DrawWindowScrollBars(HWND hwnd, HDC windowDc);

// Focus, activation and capture.
void ActivateOtherWindow(HWND hwnd);
bool SetActiveInternal(HWND hwnd, bool mouse);
void OnWindowGone(HWND hwnd); // forget focus, capture, active for a destroyed window (lock held)
void HideCaretForPaint(HWND hwnd);
void ShowCaretAfterPaint(HWND hwnd);
void DestroyCaretOfWindowLocked(HWND hwnd);

// Input internals.
void ReleaseCaptureInternal(HWND newCapture);
bool ProcessMouseInput(ThreadQueue& q, std::uint64_t seq, HWND filterHwnd, UINT minMsg, UINT maxMsg,
                       bool remove, MSG* out, bool& consumed);
bool ProcessKeyInput(ThreadQueue& q, std::uint64_t seq, HWND filterHwnd, UINT minMsg, UINT maxMsg,
                     bool remove, MSG* out, bool& consumed);
bool MessageMatches(HWND filterHwnd, UINT minMsg, UINT maxMsg, HWND hwnd, UINT msg);
HWND WindowFromPointHit(POINT screen, int* hit);
void HandleSystemTimer(HWND hwnd, UINT_PTR id);
// What the queue holds now, as QS_* bits.
UINT QueueKindsLocked(ThreadQueue& q);

// Window positions.
BOOL SetWindowPosInternal(HWND hwnd, HWND insertAfter, int x, int y, int cx, int cy, UINT flags);
void SendSizeMove(HWND hwnd);
std::u16string Upper(std::u16string_view text);
std::u16string ClassKey(LPCWSTR name); // the lookup key of a class name or atom
std::shared_ptr<WindowClass> FindClassLocked(LPCWSTR name, HINSTANCE instance);
std::shared_ptr<WindowClass> FindClassWithLazy(Lock& lock, LPCWSTR name);
ATOM AtomFor(const std::u16string& name);
// Copies text into a caller's buffer of maxCount units, always terminated; answers the units copied.
int CopyText(const std::u16string& text, LPWSTR buffer, int maxCount);
void NotifyParent(HWND hwnd, UINT event);

// Cross-process windows (rendezvous). Foreign handles name top-level windows of other processes.
void RendezvousUpdate();
bool IsForeignHandle(HWND hwnd);
HWND RendezvousFind(const std::u16string* className, const std::u16string* title, HWND after);
bool ForeignIsWindow(HWND hwnd);
DWORD ForeignProcessId(HWND hwnd);
std::u16string ForeignClassName(HWND hwnd);
std::u16string ForeignTitle(HWND hwnd);
// Asks the owning process: "foreground", "show <cmd>", "iconic", "popup". Answers false when it is gone.
bool ForeignRequest(HWND hwnd, const std::string& request, std::int64_t& answer);

} // namespace display_detail
