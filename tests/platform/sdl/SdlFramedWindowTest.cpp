// A window under a window manager that frames it (openbox on a private Xvfb): it stays where it was asked to
// go, so that a placement stored and restored does not creep by the frame's offset at every start. Runs in a
// child process: the display backend and the window manager stay out of the other tests.
#include "platform/display/User.h"
#include "platform/gdi/Gdi.h"
#include "platform/sdl/SdlDisplayBackend.h"
#include "support/ScreenshotChild.h"
#include "support/TestSupport.h"
#include "support/WindowManager.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <thread>

namespace {

constexpr const char* kChildVariable = "DOLIVA_FRAMED_WINDOW_DIR";

bool PumpUntil(const std::function<bool()>& done, int seconds = 5) {
    const auto limit = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
    while (!done()) {
        if (std::chrono::steady_clock::now() > limit) {
            return false;
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            DispatchMessageW(&msg);
        }
    }
    return true;
}

HWND CreatePlainWindow(int x, int y, int width, int height) {
    static const bool registered = [] {
        WNDCLASSW wc{};
        wc.lpfnWndProc = DefWindowProcW;
        wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
        wc.lpszClassName = u"FramedWindow";
        return RegisterClassW(&wc) != 0;
    }();
    HWND hwnd = registered ? CreateWindowExW(0, u"FramedWindow", u"Framed", WS_OVERLAPPEDWINDOW, x, y, width,
                                             height, nullptr, nullptr, nullptr, nullptr)
                           : nullptr;
    // Shown without activation: raising a window the manager has not mapped yet is an X error of its own.
    if (hwnd) {
        ShowWindow(hwnd, SW_SHOWNOACTIVATE);
    }
    return hwnd;
}

} // namespace

TEST(SdlFramedWindowChild, Place) {
    if (!std::getenv(kChildVariable)) {
        GTEST_SKIP() << "runs only as the child of SdlFramedWindowTest";
    }
    SdlDisplayBackend* backend = testsupport::OpenPrivateSdlDisplay();
    ASSERT_NE(backend, nullptr) << "no SDL display on a private X server";
    const testsupport::WindowManager wm;
    // The window manager is up once it frames a window.
    HWND probe = CreatePlainWindow(10, 10, 100, 80);
    ASSERT_TRUE(PumpUntil([&] { return testsupport::ManagedFrameOffset(*backend, probe).y > 0; }, 10))
        << "openbox framed nothing";
    // The windows stay until the child ends: one destroyed while the manager still handles it gives an X error
    // that ends the process.

    // Where the window is asked to go, and whether it stays there: it does while its frame's title fits on
    // the screen above the client area (the window's own border and caption leave room for it at 0,0).
    struct Case {
        POINT asked;
        bool stays;
    };
    for (const Case& c : {Case{{120, 90}, true}, Case{{0, 0}, true}, Case{{0, -15}, false}}) {
        HWND hwnd = CreatePlainWindow(c.asked.x, c.asked.y, 300, 200);
        ASSERT_NE(hwnd, nullptr);
        ASSERT_TRUE(PumpUntil([&] { return testsupport::ManagedFrameOffset(*backend, hwnd).y > 0; }));
        const POINT frame = testsupport::ManagedFrameOffset(*backend, hwnd);
        // Time for the window manager's moves and the backend's answer to them.
        PumpUntil([] { return false; }, 1);
        RECT rect{};
        GetWindowRect(hwnd, &rect);
        if (c.stays) {
            EXPECT_EQ(rect.left, c.asked.x) << "moved by the frame's offset " << frame.x << "," << frame.y;
            EXPECT_EQ(rect.top, c.asked.y) << "moved by the frame's offset " << frame.x << "," << frame.y;
        }
        // The native window is where the window's client area says it is, the frame's title on the screen.
        POINT origin{0, 0};
        ClientToScreen(hwnd, &origin);
        RECT native{};
        ASSERT_TRUE(backend->NativeContentRect(hwnd, &native));
        EXPECT_EQ(native.left, origin.x);
        EXPECT_EQ(native.top, origin.y);
        EXPECT_GE(native.top, frame.y) << "the frame's title left the screen, asked " << c.asked.y;
    }
}

TEST(SdlFramedWindowTest, AFramedWindowStaysWhereItWasAskedToGo) {
    REQUIRE_SCREENSHOT_CHILD(kChildVariable);
    if (!testsupport::ToolInstalled("openbox")) {
        GTEST_SKIP() << "openbox is not installed";
    }
    const std::filesystem::path dir = testsupport::ScratchDir() / "framed-window";
    const testsupport::ChildRun child =
        testsupport::RunScreenshotChild(kChildVariable, dir, "SdlFramedWindowChild.Place");
    EXPECT_TRUE(child.passed) << child.log;
}
