// The SDL2 backend on a private X server: what a window draws reaches the screen, and native events come
// back as the window's messages.
#include "platform/display/User.h"
#include "platform/gdi/Gdi.h"
#include "platform/gdi/UserDraw.h"
#include "platform/sdl/DisplaySelect.h"
#include "platform/sdl/SdlDisplayBackend.h"
#include "support/ScreenshotChild.h"
#include "tests/platform/sdl/SdlTestLoop.h"
#include "tests/platform/sdl/X11Probe.h"

#include <SDL.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

namespace {

// ---- The scene: shapes and text through GDI on a DC of the window.
void DrawScene(HWND hwnd) {
    HDC dc = GetDC(hwnd);
    RECT red{10, 10, 110, 60};
    HBRUSH redBrush = CreateSolidBrush(RGB(255, 0, 0));
    FillRect(dc, &red, redBrush);
    DeleteObject(redBrush);
    HBRUSH green = CreateSolidBrush(RGB(0, 128, 0));
    HGDIOBJ oldBrush = SelectObject(dc, green);
    HGDIOBJ oldPen = SelectObject(dc, GetStockObject(BLACK_PEN));
    Rectangle(dc, 130, 10, 230, 60);
    SelectObject(dc, oldPen);
    SelectObject(dc, oldBrush);
    DeleteObject(green);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, RGB(0, 0, 255));
    TextOutW(dc, 10, 80, u"Doliva 123", 10);
    ReleaseDC(hwnd, dc);
}

std::vector<MSG> gMessages;

LRESULT CALLBACK SceneProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    gMessages.push_back(MSG{hwnd, msg, wParam, lParam, 0, {}});
    if (msg == WM_CLOSE) {
        return 0; // the test closes it itself
    }
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}

const WCHAR* SceneClass() {
    static const WCHAR* name = sdltest::WhiteClass(u"SdlScene", SceneProc);
    return name;
}

constexpr RECT kSceneRect{100, 80, 420, 320};

HWND CreateScene() {
    return CreateWindowExW(0, SceneClass(), u"Scene", WS_OVERLAPPEDWINDOW | WS_VISIBLE, kSceneRect.left,
                           kSceneRect.top, kSceneRect.right - kSceneRect.left,
                           kSceneRect.bottom - kSceneRect.top, nullptr, nullptr, nullptr, nullptr);
}

using sdltest::PumpPending;
using sdltest::PumpUntil;

class SdlWindowTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        if (!testsupport::ToolInstalled("Xvfb")) {
            return;
        }
        scratch_ = new std::string(TempDir());
        RenderHeadless();
        display_ = testsupport::UsePrivateXServer();
        if (display_ < 0) {
            return;
        }
        if (InitializeDisplay() == DisplayChoice::Sdl) {
            backend_ = dynamic_cast<SdlDisplayBackend*>(&DisplayGetBackend());
        }
    }

    // The backend stays for the life of the process, as in the program, and so does its X server: the server
    // ends with the process (a parent-death signal), never under a live connection.

    void SetUp() override {
        if (!testsupport::ToolInstalled("Xvfb")) {
            GTEST_SKIP() << "Xvfb is not installed";
        }
        ASSERT_GE(display_, 0) << "Xvfb did not start";
        ASSERT_NE(backend_, nullptr) << "the SDL backend did not start on the private display";
        gMessages.clear();
    }

    static std::string TempDir() {
        const char* base = std::getenv("DOLIVA_TEST_SCRATCH");
        std::string pattern = std::string(base ? base : "/tmp") + "/sdltest.XXXXXX";
        std::vector<char> buf(pattern.begin(), pattern.end());
        buf.push_back('\0');
        return mkdtemp(buf.data()) ? std::string(buf.data()) : std::string("/tmp");
    }

    // The same scene drawn by a process that never opened a display, written as a PNG.
    static void RenderHeadless() {
        std::string png = *scratch_ + "/headless.png";
        fflush(nullptr);
        pid_t child = fork();
        if (child == 0) {
            HWND hwnd = CreateScene();
            UpdateWindow(hwnd);
            PumpPending();
            DrawScene(hwnd);
            _exit(DisplayRenderWindowToPng(hwnd, png.c_str()) ? 0 : 1);
        }
        int status = 0;
        waitpid(child, &status, 0);
        headlessPng_ = WIFEXITED(status) && WEXITSTATUS(status) == 0;
    }

    testsupport::Picture Screenshot() {
        testsupport::Picture shot = testsupport::ShootScreen(*scratch_);
        EXPECT_TRUE(shot.Valid()) << "no screenshot in " << *scratch_;
        return shot;
    }

    // Pushes a native event as if the X server had sent it; pushed on the display thread, which takes it in
    // its next round.
    static void Push(SDL_Event e) {
        int pushed = 0;
        ASSERT_TRUE(backend_->RunOnDisplayThread([&] { pushed = SDL_PushEvent(&e); }));
        ASSERT_EQ(pushed, 1) << SDL_GetError();
    }

    // The SDL window that has the keyboard focus of the X server (0 for none).
    static unsigned NativeFocus() {
        unsigned id = 0;
        backend_->RunOnDisplayThread([&] {
            SDL_Window* focus = SDL_GetKeyboardFocus();
            id = focus ? SDL_GetWindowID(focus) : 0;
        });
        return id;
    }

    // Runs `probe` on the display thread with the SDL window of `hwnd`.
    static void OnNative(HWND hwnd, const std::function<void(SDL_Window*)>& probe) {
        const unsigned id = backend_->NativeWindowId(hwnd);
        backend_->RunOnDisplayThread([&] { probe(SDL_GetWindowFromID(id)); });
    }

    std::vector<MSG> Of(UINT msg) const {
        std::vector<MSG> out;
        for (const MSG& m : gMessages) {
            if (m.message == msg) {
                out.push_back(m);
            }
        }
        return out;
    }

    static inline int display_ = -1;
    static inline SdlDisplayBackend* backend_ = nullptr;
    static inline std::string* scratch_ = nullptr;
    static inline bool headlessPng_ = false;
};

TEST_F(SdlWindowTest, DrawnPixelsReachTheScreenAsHeadlessRendersThem) {
    if (!testsupport::ToolInstalled("xwd")) {
        GTEST_SKIP() << "xwd is not installed";
    }
    HWND hwnd = CreateScene();
    ASSERT_NE(hwnd, nullptr);
    UpdateWindow(hwnd);
    PumpPending();
    DrawScene(hwnd);
    DisplayFlush();
    backend_->RunOnDisplayThread([] {});

    // The window manager's frame takes the place of the caption and borders: the native content is the
    // client area (the window has no menu).
    RECT client{};
    GetClientRect(hwnd, &client);
    POINT origin{0, 0};
    ClientToScreen(hwnd, &origin);
    RECT native{};
    ASSERT_TRUE(backend_->NativeContentRect(hwnd, &native));
    EXPECT_EQ(native.left, origin.x);
    EXPECT_EQ(native.top, origin.y);
    EXPECT_EQ(native.right - native.left, client.right);
    EXPECT_EQ(native.bottom - native.top, client.bottom);

    const testsupport::Picture shot = Screenshot();
    ASSERT_TRUE(shot.Valid());
    ASSERT_LE(origin.x + client.right, shot.Width());
    ASSERT_LE(origin.y + client.bottom, shot.Height());
    EXPECT_EQ(shot.At(origin.x + 50, origin.y + 30), RGB(255, 0, 0));       // the filled rectangle
    EXPECT_EQ(shot.At(origin.x + 130, origin.y + 30), RGB(0, 0, 0));        // Rectangle's pen
    EXPECT_EQ(shot.At(origin.x + 180, origin.y + 30), RGB(0, 128, 0));      // Rectangle's brush
    EXPECT_EQ(shot.At(origin.x + 300, origin.y + 200), RGB(255, 255, 255)); // the class background
    int textPixels = 0;
    for (int y = 80; y < 100; ++y) {
        for (int x = 10; x < 100; ++x) {
            textPixels += shot.At(origin.x + x, origin.y + y) == RGB(0, 0, 255);
        }
    }
    EXPECT_GT(textPixels, 20) << "the text is not on the screen";

    // Every pixel of the client area is the one the layer holds, and the one a headless run draws.
    ASSERT_TRUE(headlessPng_);
    const testsupport::Picture png = testsupport::Picture::FromPng(*scratch_ + "/headless.png");
    ASSERT_TRUE(png.Valid());
    RECT window{};
    GetWindowRect(hwnd, &window);
    int mismatches = 0;
    for (int y = 0; y < client.bottom; ++y) {
        for (int x = 0; x < client.right; ++x) {
            COLORREF screen = shot.At(origin.x + x, origin.y + y);
            COLORREF headless = png.At(x + origin.x - window.left, y + origin.y - window.top);
            if (screen != headless || screen != DisplayGetPixel(hwnd, x, y)) {
                if (++mismatches <= 5) {
                    ADD_FAILURE() << "pixel " << x << "," << y << ": screen " << std::hex << screen
                                  << " headless " << headless;
                }
            }
        }
    }
    EXPECT_EQ(mismatches, 0);
    DestroyWindow(hwnd);
}

TEST_F(SdlWindowTest, NativeInputComesBackAsMessages) {
    HWND hwnd = CreateScene();
    ASSERT_NE(hwnd, nullptr);
    PumpPending();
    unsigned id = backend_->NativeWindowId(hwnd);
    ASSERT_NE(id, 0u);
    gMessages.clear();

    SDL_Event e{};
    e.type = SDL_MOUSEBUTTONDOWN;
    e.button.windowID = id;
    e.button.button = SDL_BUTTON_LEFT;
    e.button.state = SDL_PRESSED;
    e.button.x = 20;
    e.button.y = 30;
    Push(e);
    e.type = SDL_MOUSEBUTTONUP;
    e.button.state = SDL_RELEASED;
    Push(e);
    ASSERT_TRUE(PumpUntil([&] { return !Of(WM_LBUTTONUP).empty(); }));
    ASSERT_EQ(Of(WM_LBUTTONDOWN).size(), 1u);
    EXPECT_EQ(Of(WM_LBUTTONDOWN)[0].lParam, MAKELPARAM(20, 30));

    e = SDL_Event{};
    e.type = SDL_MOUSEWHEEL;
    e.wheel.windowID = id;
    e.wheel.y = -1;
    e.wheel.preciseY = -1.0f;
    e.wheel.direction = SDL_MOUSEWHEEL_NORMAL;
    Push(e);
    ASSERT_TRUE(PumpUntil([&] { return !Of(WM_MOUSEWHEEL).empty(); }));
    EXPECT_EQ(GET_WHEEL_DELTA_WPARAM(Of(WM_MOUSEWHEEL)[0].wParam), -WHEEL_DELTA);

    // A key, then its text in UTF-8 with a character outside the BMP: WM_KEYDOWN with the scan code, and
    // WM_CHAR per UTF-16 unit, the pair in order, with nothing made twice from the key.
    SetFocus(hwnd);
    PumpPending();
    gMessages.clear();
    e = SDL_Event{};
    e.type = SDL_KEYDOWN;
    e.key.windowID = id;
    e.key.state = SDL_PRESSED;
    e.key.keysym.scancode = SDL_SCANCODE_A;
    e.key.keysym.sym = SDLK_a;
    Push(e);
    e = SDL_Event{};
    e.type = SDL_TEXTINPUT;
    e.text.windowID = id;
    std::strcpy(e.text.text, "a\xC3\xA9\xF0\x9F\x98\x80");
    Push(e);
    e = SDL_Event{};
    e.type = SDL_KEYUP;
    e.key.windowID = id;
    e.key.state = SDL_RELEASED;
    e.key.keysym.scancode = SDL_SCANCODE_A;
    e.key.keysym.sym = SDLK_a;
    Push(e);
    ASSERT_TRUE(PumpUntil([&] { return !Of(WM_KEYUP).empty(); }));
    ASSERT_EQ(Of(WM_KEYDOWN).size(), 1u);
    EXPECT_EQ(Of(WM_KEYDOWN)[0].wParam, WPARAM('A'));
    EXPECT_EQ((Of(WM_KEYDOWN)[0].lParam >> 16) & 0xFF, 0x1E);
    std::u16string chars;
    for (const MSG& m : Of(WM_CHAR)) {
        chars += static_cast<char16_t>(m.wParam);
    }
    EXPECT_EQ(chars, u"a\u00e9\U0001F600");

    // The close box of the window manager.
    e = SDL_Event{};
    e.type = SDL_WINDOWEVENT;
    e.window.windowID = id;
    e.window.event = SDL_WINDOWEVENT_CLOSE;
    Push(e);
    ASSERT_TRUE(PumpUntil([&] { return !Of(WM_CLOSE).empty(); }));
    DestroyWindow(hwnd);
}

TEST_F(SdlWindowTest, NativeMovesAndSizesBecomeWindowPositions) {
    HWND hwnd = CreateScene();
    ASSERT_NE(hwnd, nullptr);
    PumpPending();
    unsigned id = backend_->NativeWindowId(hwnd);
    ASSERT_NE(id, 0u);
    RECT before{};
    GetWindowRect(hwnd, &before);
    RECT client{};
    GetClientRect(hwnd, &client);
    gMessages.clear();

    // What a window manager does: the native window moves and grows, then says so.
    backend_->RunOnDisplayThread([&] {
        SDL_Window* w = SDL_GetWindowFromID(id);
        int x = 0, y = 0;
        SDL_GetWindowPosition(w, &x, &y);
        SDL_SetWindowPosition(w, x + 50, y + 40);
        SDL_SetWindowSize(w, client.right + 30, client.bottom + 20);
    });
    SDL_Event e{};
    e.type = SDL_WINDOWEVENT;
    e.window.windowID = id;
    e.window.event = SDL_WINDOWEVENT_MOVED;
    Push(e);
    e.window.event = SDL_WINDOWEVENT_SIZE_CHANGED;
    Push(e);
    // The work falls to the window's thread: its own descriptor, the one the loop polls, says so.
    pollfd ready{backend_->EventFd(), POLLIN, 0};
    ASSERT_EQ(poll(&ready, 1, 5000), 1);

    RECT after{};
    ASSERT_TRUE(PumpUntil([&] {
        GetWindowRect(hwnd, &after);
        return after.left == before.left + 50 && after.right - after.left == before.right - before.left + 30;
    }));
    EXPECT_EQ(after.top, before.top + 40);
    EXPECT_EQ(after.bottom - after.top, before.bottom - before.top + 20);
    ASSERT_FALSE(Of(WM_SIZE).empty());
    EXPECT_EQ(Of(WM_SIZE).back().lParam, MAKELPARAM(client.right + 30, client.bottom + 20));
    EXPECT_FALSE(Of(WM_MOVE).empty());

    // The echo does not move the native window again, and a move by the program moves it.
    SetWindowPos(hwnd, nullptr, 200, 150, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    PumpPending();
    POINT origin{0, 0};
    ClientToScreen(hwnd, &origin);
    RECT native{};
    ASSERT_TRUE(backend_->NativeContentRect(hwnd, &native));
    EXPECT_EQ(native.left, origin.x);
    EXPECT_EQ(native.top, origin.y);
    EXPECT_EQ(native.right - native.left, client.right + 30);
    DestroyWindow(hwnd);
}

TEST_F(SdlWindowTest, PopupsShowWholeAndFollowTheirWindowsVisibility) {
    // Without a caption the window manager adds nothing: the native window is the whole window, border too.
    HWND popup = CreateWindowExW(WS_EX_TOOLWINDOW, SceneClass(), u"", WS_POPUP | WS_BORDER | WS_VISIBLE, 300,
                                 200, 120, 90, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(popup, nullptr);
    PumpPending();
    RECT window{};
    GetWindowRect(popup, &window);
    RECT native{};
    ASSERT_TRUE(backend_->NativeContentRect(popup, &native));
    EXPECT_EQ(native.left, window.left);
    EXPECT_EQ(native.top, window.top);
    EXPECT_EQ(native.right, window.right);
    EXPECT_EQ(native.bottom, window.bottom);

    unsigned id = backend_->NativeWindowId(popup);
    auto flags = [&] {
        Uint32 f = 0;
        backend_->RunOnDisplayThread([&] { f = SDL_GetWindowFlags(SDL_GetWindowFromID(id)); });
        return f;
    };
    EXPECT_TRUE(flags() & SDL_WINDOW_BORDERLESS);
    EXPECT_TRUE(flags() & SDL_WINDOW_SHOWN);
    ShowWindow(popup, SW_HIDE);
    EXPECT_TRUE(flags() & SDL_WINDOW_HIDDEN);
    ShowWindow(popup, SW_SHOWNA);
    EXPECT_TRUE(flags() & SDL_WINDOW_SHOWN);

    DestroyWindow(popup);
    backend_->RunOnDisplayThread([] {});
    EXPECT_EQ(backend_->NativeWindowId(popup), 0u);
    // Code that does not hold the backend (the clipboard) reaches the same thread.
    Uint32 gone = 1;
    EXPECT_TRUE(SdlDisplayBackend::RunOnRunningDisplay([&] { gone = SDL_GetWindowFromID(id) ? 1 : 0; }));
    EXPECT_EQ(gone, 0u);
}

TEST_F(SdlWindowTest, NativeFocusMovesTheActivation) {
    HWND first = CreateScene();
    HWND second = CreateWindowExW(0, SceneClass(), u"Second", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 450, 100, 200,
                                  150, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(first, nullptr);
    ASSERT_NE(second, nullptr);
    // The X server answers the two activations in its own time, the first one's focus perhaps after the
    // second was created: the activation settles on the second once the native focus has.
    const unsigned secondId = backend_->NativeWindowId(second);
    ASSERT_TRUE(PumpUntil([&] { return NativeFocus() == secondId && GetActiveWindow() == second; }))
        << "native focus " << NativeFocus() << ", the second is " << secondId;
    unsigned id = backend_->NativeWindowId(first);
    gMessages.clear();

    SDL_Event e{};
    e.type = SDL_WINDOWEVENT;
    e.window.windowID = id;
    e.window.event = SDL_WINDOWEVENT_FOCUS_GAINED;
    Push(e);
    ASSERT_TRUE(PumpUntil([&] { return GetActiveWindow() == first; }));
    EXPECT_EQ(GetForegroundWindow(), first);

    DestroyWindow(second);
    DestroyWindow(first);
}

TEST_F(SdlWindowTest, OwnedWindowsWithACaptionAreDialogsOfTheirOwner) {
    HWND owner = CreateScene();
    HWND dialog = CreateWindowExW(WS_EX_DLGMODALFRAME, SceneClass(), u"Dialog",
                                  WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_VISIBLE, 150, 120, 200, 120, owner,
                                  nullptr, nullptr, nullptr);
    HWND tip = CreateWindowExW(WS_EX_TOOLWINDOW, SceneClass(), u"", WS_POPUP | WS_BORDER | WS_VISIBLE, 160,
                               130, 60, 20, owner, nullptr, nullptr, nullptr);
    ASSERT_NE(dialog, nullptr);
    ASSERT_NE(tip, nullptr);
    PumpPending();
    SDL_Window* ownerWindow = nullptr;
    OnNative(owner, [&](SDL_Window* w) {
        ownerWindow = w;
        EXPECT_EQ(x11probe::WindowType(w), "_NET_WM_WINDOW_TYPE_NORMAL");
    });
    OnNative(dialog, [&](SDL_Window* w) {
        EXPECT_TRUE(x11probe::IsTransientFor(w, ownerWindow));
        EXPECT_EQ(x11probe::WindowType(w), "_NET_WM_WINDOW_TYPE_DIALOG");
    });
    // A window without a caption gets no frame from the window manager: nothing to mark.
    OnNative(tip, [&](SDL_Window* w) { EXPECT_FALSE(x11probe::IsTransientFor(w, ownerWindow)); });
    DestroyWindow(owner);
}

TEST_F(SdlWindowTest, AnXProtocolErrorIsReportedAndSurvived) {
    HWND hwnd = CreateScene();
    PumpPending();
    testing::internal::CaptureStderr();
    OnNative(hwnd, [](SDL_Window* w) { x11probe::SendToDestroyedWindow(w); });
    const std::string reported = testing::internal::GetCapturedStderr();
    EXPECT_NE(reported.find("X error: BadWindow"), std::string::npos) << reported;
    EXPECT_NE(reported.find("X_SendEvent"), std::string::npos) << reported;
    // The connection still serves.
    EXPECT_NE(backend_->NativeWindowId(hwnd), 0u);
    RECT native{};
    EXPECT_TRUE(backend_->NativeContentRect(hwnd, &native));
    DestroyWindow(hwnd);
}

} // namespace
