// The window core's shared state: the lock, handle lookups, coordinates, per-thread queues, the clock and
// the backend.
#include "platform/display/DisplayInternal.h"
#include "platform/display/MessageBox.h"

#include "platform/gdi/GdiInternal.h"
#include "platform/kernel/Threads.h"
#include "platform/kernel/Ticks.h"

#include <cairo.h>
#include <pthread.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <cwctype>

namespace display_detail {

// ---- Region

Region::Region(const RECT& rc) {
    pixman_region32_init(&r_);
    Set(rc);
}

Region::Region(const Region& other) {
    pixman_region32_init(&r_);
    pixman_region32_copy(&r_, const_cast<pixman_region32_t*>(&other.r_));
}

Region& Region::operator=(const Region& other) {
    if (this != &other) {
        pixman_region32_copy(&r_, const_cast<pixman_region32_t*>(&other.r_));
    }
    return *this;
}

RECT Region::Bounds() const {
    if (Empty()) {
        return RECT{0, 0, 0, 0};
    }
    const pixman_box32_t* box = pixman_region32_extents(const_cast<pixman_region32_t*>(&r_));
    return RECT{box->x1, box->y1, box->x2, box->y2};
}

void Region::Set(const RECT& rc) {
    pixman_region32_fini(&r_);
    if (rc.right > rc.left && rc.bottom > rc.top) {
        pixman_region32_init_rect(&r_, rc.left, rc.top, static_cast<unsigned>(rc.right - rc.left),
                                  static_cast<unsigned>(rc.bottom - rc.top));
    } else {
        pixman_region32_init(&r_);
    }
}

void Region::Union(const RECT& rc) {
    if (rc.right > rc.left && rc.bottom > rc.top) {
        pixman_region32_union_rect(&r_, &r_, rc.left, rc.top, static_cast<unsigned>(rc.right - rc.left),
                                   static_cast<unsigned>(rc.bottom - rc.top));
    }
}

void Region::Intersect(const RECT& rc) {
    if (rc.right > rc.left && rc.bottom > rc.top) {
        pixman_region32_intersect_rect(&r_, &r_, rc.left, rc.top, static_cast<unsigned>(rc.right - rc.left),
                                       static_cast<unsigned>(rc.bottom - rc.top));
    } else {
        Clear();
    }
}

void Region::Subtract(const RECT& rc) {
    if (rc.right > rc.left && rc.bottom > rc.top) {
        Region other(rc);
        Subtract(other);
    }
}

bool Region::Contains(POINT pt) const {
    return pixman_region32_contains_point(const_cast<pixman_region32_t*>(&r_), pt.x, pt.y, nullptr);
}

int Region::Kind() const {
    int n = pixman_region32_n_rects(const_cast<pixman_region32_t*>(&r_));
    return n == 0 ? NULLREGION : (n == 1 ? SIMPLEREGION : COMPLEXREGION);
}

std::vector<RECT> Region::Rects() const {
    int n = 0;
    const pixman_box32_t* boxes = pixman_region32_rectangles(const_cast<pixman_region32_t*>(&r_), &n);
    std::vector<RECT> out;
    out.reserve(static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i) {
        out.push_back(RECT{boxes[i].x1, boxes[i].y1, boxes[i].x2, boxes[i].y2});
    }
    return out;
}

// ---- Surface, Window, ThreadQueue

Surface::Surface(int w, int h) : width(std::max(w, 0)), height(std::max(h, 0)) {
    surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, std::max(width, 1), std::max(height, 1));
}

Surface::~Surface() {
    if (surface) {
        cairo_surface_destroy(surface);
    }
}

Window::Window() = default;
Window::~Window() = default;

ThreadQueue::ThreadQueue() {
    wakeFd = eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
}

ThreadQueue::~ThreadQueue() {
    if (wakeFd >= 0) {
        close(wakeFd);
    }
}

// ---- Globals

namespace {
void ForkChildReset();
}

Globals& G() {
    // Never destroyed: threads still running while the process exits find it intact.
    static Globals* globals = [] {
        auto* g = new Globals;
        auto desktop = std::make_shared<Window>();
        desktop->hwnd = reinterpret_cast<HWND>(g->nextHandle);
        g->nextHandle += 2;
        desktop->style = WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS;
        desktop->rcWindow = desktop->rcClient = RECT{0, 0, 1280, 1024};
        desktop->created = true;
        auto cls = std::make_shared<WindowClass>();
        cls->name = u"#32769";
        cls->system = true;
        cls->proc = DefWindowProcW;
        cls->background = reinterpret_cast<HBRUSH>(static_cast<LONG_PTR>(COLOR_DESKTOP + 1));
        desktop->cls = cls;
        desktop->proc = DefWindowProcW;
        g->desktop = desktop->hwnd;
        g->windows.emplace(desktop->hwnd, desktop);
        g->lazyClasses.emplace_back(u"MDIClient", RegisterMdiClientClass);
        // A forked child starts with the state consistent (no other thread holds the lock at the fork) and
        // without the parent's windows and queues, which belong to the parent's threads.
        pthread_atfork([] { G().mutex.lock(); }, [] { G().mutex.unlock(); },
                       [] {
                           G().mutex.unlock();
                           ForkChildReset();
                       });
        return g;
    }();
    return *globals;
}

std::uint64_t Now() {
    Globals& g = G();
    if (g.testClockOn.load(std::memory_order_acquire)) {
        return g.testNow.load(std::memory_order_acquire);
    }
    return GetTickCount64();
}

namespace {

class HeadlessBackend final : public DisplayBackend {
public:
    const char* Name() const override { return "headless"; }
    SIZE ScreenSize() override { return SIZE{1280, 1024}; }
};

struct ThreadHolder {
    std::shared_ptr<ThreadQueue> queue;
    ~ThreadHolder();
};

thread_local ThreadHolder tlsQueue;

void ForkChildReset() {
    Globals& g = G();
    std::shared_ptr<Window> desktop = g.windows[g.desktop];
    desktop->children.clear();
    g.windows.clear();
    g.windows.emplace(g.desktop, desktop);
    g.threads.clear();
    g.capture = nullptr;
    g.foreground = nullptr;
    g.lockedWindow = nullptr;
    g.hooks.clear();
    for (auto& cls : g.classes) {
        cls->windows = 0;
    }
    tlsQueue.queue.reset();
}

// The thread is ending: its windows go without messages (nothing can run their procedures any more), and
// threads waiting for answers from it are released with 0.
ThreadHolder::~ThreadHolder() {
    if (!queue) {
        return;
    }
    std::vector<HWND> gone;
    {
        Lock lock = LockState();
        Globals& g = G();
        queue->alive = false;
        for (auto& sent : queue->incoming) {
            sent->done = true;
            if (sent->sender) {
                WakeLocked(*sent->sender, 0);
            }
        }
        queue->incoming.clear();
        for (auto& [hwnd, w] : g.windows) {
            if (w->tid == queue->tid && hwnd != g.desktop) {
                gone.push_back(hwnd);
            }
        }
        for (HWND hwnd : gone) {
            auto it = g.windows.find(hwnd);
            if (it == g.windows.end()) {
                continue;
            }
            Window& w = *it->second;
            if (Window* parent = FindQuietLocked(w.parent)) {
                auto& siblings = parent->children;
                siblings.erase(std::remove(siblings.begin(), siblings.end(), hwnd), siblings.end());
            }
            if (w.cls) {
                --w.cls->windows;
            }
            OnWindowGone(hwnd);
        }
        for (HWND hwnd : gone) {
            g.windows.erase(hwnd);
        }
        g.threads.erase(queue->tid);
    }
    for (HWND hwnd : gone) {
        Backend().WindowDestroyed(hwnd);
    }
    if (!gone.empty()) {
        RendezvousUpdate();
    }
}

} // namespace

DisplayBackend& Backend() {
    Globals& g = G();
    static std::once_flag once;
    std::call_once(once, [&g] {
        if (!g.backend) {
            g.backend = std::make_unique<HeadlessBackend>();
            SIZE s = g.backend->ScreenSize();
            GdiSetScreenSize(s.cx, s.cy);
        }
    });
    return *g.backend;
}

// ---- Lookups

Window* FindQuietLocked(HWND hwnd) {
    if (!hwnd) {
        return nullptr;
    }
    Globals& g = G();
    auto it = g.windows.find(hwnd);
    return it == g.windows.end() ? nullptr : it->second.get();
}

Window* FindLocked(HWND hwnd) {
    Window* w = FindQuietLocked(hwnd);
    if (!w) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    }
    return w;
}

std::shared_ptr<Window> FindSharedLocked(HWND hwnd) {
    Globals& g = G();
    auto it = hwnd ? g.windows.find(hwnd) : g.windows.end();
    if (it == g.windows.end()) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return nullptr;
    }
    return it->second;
}

bool IsTopLevelLocked(const Window& w) {
    return w.parent == G().desktop;
}

HWND TopLevelOfLocked(HWND hwnd) {
    Globals& g = G();
    Window* w = FindQuietLocked(hwnd);
    while (w && w->parent && w->parent != g.desktop) {
        Window* p = FindQuietLocked(w->parent);
        if (!p) {
            break;
        }
        w = p;
    }
    return w ? w->hwnd : nullptr;
}

bool IsVisibleLocked(HWND hwnd) {
    Globals& g = G();
    Window* w = FindQuietLocked(hwnd);
    if (!w) {
        return false;
    }
    while (w && w->hwnd != g.desktop) {
        if (!(w->style & WS_VISIBLE)) {
            return false;
        }
        w = FindQuietLocked(w->parent);
    }
    return w != nullptr;
}

bool IsDescendantLocked(HWND ancestor, HWND hwnd) {
    Window* w = FindQuietLocked(hwnd);
    while (w && w->parent) {
        if (w->parent == ancestor) {
            return true;
        }
        w = FindQuietLocked(w->parent);
    }
    return false;
}

POINT ClientOriginScreenLocked(const Window& w) {
    POINT pt{w.rcClient.left, w.rcClient.top};
    const Window* p = FindQuietLocked(w.parent);
    while (p && p->parent) {
        pt.x += p->rcClient.left;
        pt.y += p->rcClient.top;
        p = FindQuietLocked(p->parent);
    }
    return pt;
}

POINT WindowOriginScreenLocked(const Window& w) {
    POINT pt{w.rcWindow.left, w.rcWindow.top};
    const Window* p = FindQuietLocked(w.parent);
    while (p && p->parent) {
        pt.x += p->rcClient.left;
        pt.y += p->rcClient.top;
        p = FindQuietLocked(p->parent);
    }
    return pt;
}

RECT WindowRectScreenLocked(const Window& w) {
    POINT o = WindowOriginScreenLocked(w);
    return RECT{o.x, o.y, o.x + (w.rcWindow.right - w.rcWindow.left),
                o.y + (w.rcWindow.bottom - w.rcWindow.top)};
}

RECT ClientRectScreenLocked(const Window& w) {
    POINT o = ClientOriginScreenLocked(w);
    return RECT{o.x, o.y, o.x + (w.rcClient.right - w.rcClient.left),
                o.y + (w.rcClient.bottom - w.rcClient.top)};
}

// ---- Queues

ThreadQueue& CurrentQueueLocked() {
    if (!tlsQueue.queue) {
        auto q = std::make_shared<ThreadQueue>();
        q->tid = GetCurrentThreadId();
        G().threads[q->tid] = q;
        tlsQueue.queue = q;
    }
    return *tlsQueue.queue;
}

std::shared_ptr<ThreadQueue> QueueOfLocked(DWORD tid) {
    Globals& g = G();
    auto it = g.threads.find(tid);
    if (it != g.threads.end()) {
        return it->second;
    }
    if (tid == GetCurrentThreadId()) {
        CurrentQueueLocked();
        return tlsQueue.queue;
    }
    return nullptr;
}

void WakeLocked(ThreadQueue& q, UINT bits) {
    q.changeBits |= bits;
    std::uint64_t one = 1;
    (void)!write(q.wakeFd, &one, sizeof one);
}

std::u16string Upper(std::u16string_view text) {
    std::u16string out(text);
    for (char16_t& c : out) {
        if (c < 0x80) {
            if (c >= u'a' && c <= u'z') {
                c = static_cast<char16_t>(c - u'a' + u'A');
            }
        } else {
            c = static_cast<char16_t>(std::towupper(static_cast<wint_t>(c)));
        }
    }
    return out;
}

} // namespace display_detail

using namespace display_detail;

// ---- Backend defaults

RECT DisplayBackend::WorkArea() {
    SIZE s = ScreenSize();
    return RECT{0, 0, s.cx, s.cy};
}
void DisplayBackend::WindowCreated(HWND, const RECT&, DWORD, DWORD) {}
void DisplayBackend::WindowDestroyed(HWND) {}
void DisplayBackend::WindowMoved(HWND, const RECT&) {}
void DisplayBackend::WindowShown(HWND, int) {}
void DisplayBackend::WindowTextChanged(HWND, const std::u16string&) {}
void DisplayBackend::WindowActivated(HWND) {}
void DisplayBackend::WindowFlashed(HWND, bool) {}
void DisplayBackend::Present(HWND, cairo_surface_t*, const RECT&) {}
bool DisplayBackend::BeginMoveSize(HWND, int) {
    return false;
}
void DisplayBackend::CursorChanged(HCURSOR) {}
void DisplayBackend::CursorMoved(POINT) {}
void DisplayBackend::CaptureChanged(HWND) {}
int DisplayBackend::EventFd() {
    return -1;
}
void DisplayBackend::PumpEvents() {}

void DisplaySetBackend(std::unique_ptr<DisplayBackend> backend) {
    if (!backend) {
        return;
    }
    Globals& g = G();
    Lock lock = LockState();
    g.backend = std::move(backend);
    SIZE s = g.backend->ScreenSize();
    if (Window* desktop = FindQuietLocked(g.desktop)) {
        desktop->rcWindow = desktop->rcClient = RECT{0, 0, s.cx, s.cy};
    }
    lock.unlock();
    Backend(); // settles the once-flag so that the installed backend stays
    GdiSetScreenSize(s.cx, s.cy);
}

DisplayBackend& DisplayGetBackend() {
    return Backend();
}

bool DisplayHeadlessRequested() {
    const char* value = std::getenv("DOLIVA_DISPLAY");
    return value && std::strcmp(value, "headless") == 0;
}

namespace {

std::mutex& LostHandlerMutex() {
    static auto* mutex = new std::mutex;
    return *mutex;
}

std::function<void()>& LostHandler() {
    static auto* handler = new std::function<void()>;
    return *handler;
}

} // namespace

void DisplaySetConnectionLostHandler(std::function<void()> handler) {
    std::lock_guard lock(LostHandlerMutex());
    LostHandler() = std::move(handler);
}

void DisplayReportConnectionLost() {
    DisplaySetMessageBoxResponder({});
    std::function<void()> handler;
    {
        std::lock_guard lock(LostHandlerMutex());
        handler = LostHandler();
    }
    if (handler) {
        handler();
    }
}

void DisplayUseTestClock(std::uint64_t start) {
    Globals& g = G();
    g.testNow.store(start, std::memory_order_release);
    g.testClockOn.store(true, std::memory_order_release);
}

void DisplayAdvanceTestClock(std::uint64_t milliseconds) {
    Globals& g = G();
    g.testNow.fetch_add(milliseconds, std::memory_order_acq_rel);
    Lock lock = LockState();
    for (auto& [tid, q] : g.threads) {
        WakeLocked(*q, 0);
    }
}

void DisplayUseRealClock() {
    G().testClockOn.store(false, std::memory_order_release);
}

std::uint64_t DisplayNow() {
    return Now();
}

void DisplaySetMenuBarHooks(DisplayMenuBarHooks hooks) {
    Lock lock = LockState();
    G().menuHooks = std::move(hooks);
}
