// Windows on a private X server, as a person sees them. The display backend is chosen once per process,
// before the first window, so a test runs its own binary again as a child on one test: the child starts
// an Xvfb, opens the SDL backend on it, shows the windows, takes screenshots of the screen with xwd and
// writes them as PNGs into a directory the parent named; the parent collects them.
#pragma once

#include "platform/display/DisplayBackend.h"
#include "platform/display/MessageApi.h"
#include "platform/sdl/DisplaySelect.h"
#include "platform/sdl/SdlDisplayBackend.h"
#include "support/Picture.h"
#include "support/PrivateXServer.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>
#include <vector>

namespace testsupport {

// A TrueColor xwd dump (what a 24-bit Xvfb screen gives) as a picture; not Valid when unreadable.
inline Picture ReadXwd(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    const std::vector<unsigned char> data((std::istreambuf_iterator<char>(in)),
                                          std::istreambuf_iterator<char>());
    if (data.size() < 100) {
        return Picture();
    }
    const auto big32 = [](const unsigned char* p) {
        return (std::uint32_t(p[0]) << 24) | (std::uint32_t(p[1]) << 16) | (std::uint32_t(p[2]) << 8) | p[3];
    };
    const unsigned char* h = data.data();
    const std::uint32_t headerSize = big32(h);
    const std::uint32_t width = big32(h + 16);
    const std::uint32_t height = big32(h + 20);
    const std::uint32_t byteOrder = big32(h + 28);
    const std::uint32_t bitsPerPixel = big32(h + 44);
    const std::uint32_t bytesPerLine = big32(h + 48);
    const std::size_t offset = headerSize + std::size_t(big32(h + 76)) * 12;
    // Pixels are packed (24 bits) or in 32-bit units; lines may be longer than their pixels.
    const std::uint32_t step = bitsPerPixel / 8;
    if ((bitsPerPixel != 24 && bitsPerPixel != 32) || bytesPerLine < width * step ||
        data.size() < offset + std::size_t(bytesPerLine) * height) {
        return Picture();
    }
    cairo_surface_t* surface =
        cairo_image_surface_create(CAIRO_FORMAT_RGB24, static_cast<int>(width), static_cast<int>(height));
    unsigned char* pixels = cairo_image_surface_get_data(surface);
    const int stride = cairo_image_surface_get_stride(surface);
    for (std::uint32_t y = 0; y < height; ++y) {
        for (std::uint32_t x = 0; x < width; ++x) {
            const unsigned char* p = h + offset + std::size_t(y) * bytesPerLine + std::size_t(x) * step;
            const std::uint32_t v = byteOrder == 0 ? (p[0] | (p[1] << 8) | (std::uint32_t(p[2]) << 16))
                                                   : (step == 4 ? big32(p) : big32(p) >> 8);
            std::memcpy(pixels + y * stride + x * 4, &v, 4);
        }
    }
    cairo_surface_mark_dirty(surface);
    return Picture(surface);
}

// The whole screen of an X display (this process's DISPLAY when none is named), dumped to dir/screen.xwd;
// not Valid when xwd failed.
inline Picture ShootScreen(const std::filesystem::path& dir, const std::string& display = {}) {
    const std::string xwd = (dir / "screen.xwd").string();
    const std::string command =
        "xwd -root -silent" + (display.empty() ? "" : " -display " + display) + " -out '" + xwd + "'";
    return std::system(command.c_str()) == 0 ? ReadXwd(xwd) : Picture();
}

// Dispatches this thread's messages for a while (paints, layouts, the display's events).
inline void PumpMessagesFor(int milliseconds) {
    auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
    MSG msg;
    while (std::chrono::steady_clock::now() < until) {
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
    }
}

// The screen once the windows have painted and the display has shown what they drew: shot again until
// two shots agree, since a loaded machine's X server can lag any fixed wait (a screen that keeps changing
// is taken as it is after a few rounds).
inline Picture ShootSettledScreen(SdlDisplayBackend* backend, const std::filesystem::path& dir) {
    Picture last;
    for (int round = 0; round < 8; ++round) {
        PumpMessagesFor(300);
        DisplayFlush();
        backend->RunOnDisplayThread([] {});
        std::this_thread::sleep_for(std::chrono::milliseconds(round == 0 ? 300 : 150));
        Picture shot = ShootScreen(dir);
        if (shot.Valid() && shot.SamePixels(last)) {
            return shot;
        }
        last = std::move(shot);
    }
    return last;
}

// In the child: a private X server and the SDL backend on it; null when either did not start.
inline SdlDisplayBackend* OpenPrivateSdlDisplay() {
    if (UsePrivateXServer() < 0 || InitializeDisplay() != DisplayChoice::Sdl) {
        return nullptr;
    }
    return dynamic_cast<SdlDisplayBackend*>(&DisplayGetBackend());
}

// Why the parent cannot run a screenshot child here (it is the child itself, or Xvfb or xwd is missing),
// or empty.
inline std::string ScreenshotChildUnavailable(const char* variable) {
    if (std::getenv(variable)) {
        return "the child runs only the screenshots";
    }
    if (!ToolInstalled("Xvfb") || !ToolInstalled("xwd")) {
        return "Xvfb or xwd is not installed";
    }
    return {};
}

struct ChildRun {
    bool passed = false; // it exited with 0 after its one test passed
    std::string log;     // what it printed
};

// Runs this test binary again on the one test `childTest`, with variable=dir in its environment (the child
// test skips without it), and waits for it; its output goes to dir/child.log.
inline ChildRun RunScreenshotChild(const char* variable, const std::filesystem::path& dir,
                                   const char* childTest) {
    std::filesystem::create_directories(dir);
    const std::filesystem::path log = dir / "child.log";
    const std::string command = std::string(variable) + "='" + dir.string() + "' /proc/" +
                                std::to_string(getpid()) + "/exe --gtest_filter=" + childTest + " > '" +
                                log.string() + "' 2>&1";
    const int status = std::system(command.c_str());
    std::ifstream in(log);
    ChildRun run;
    run.log.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    run.passed = WIFEXITED(status) && WEXITSTATUS(status) == 0 &&
                 run.log.find("[  PASSED  ] 1 test") != std::string::npos;
    return run;
}

} // namespace testsupport

// Skips the parent test where no screenshot child can run: in the child itself, or without Xvfb or xwd.
#define REQUIRE_SCREENSHOT_CHILD(variable)                                                                   \
    do {                                                                                                     \
        if (const std::string why = testsupport::ScreenshotChildUnavailable(variable); !why.empty()) {       \
            GTEST_SKIP() << why;                                                                             \
        }                                                                                                    \
    } while (0)
