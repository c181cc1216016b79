#include "platform/display/User.h"
#include "platform/kernel/Threads.h"

#include <atomic>
#include <thread>

#include <benchmark/benchmark.h>

namespace {

LRESULT Counting(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_APP) {
        return static_cast<LRESULT>(wParam + 1);
    }
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}

HWND MakeWindow() {
    static bool registered = [] {
        WNDCLASSW wc{};
        wc.lpfnWndProc = Counting;
        wc.lpszClassName = u"BenchWindow";
        return RegisterClassW(&wc) != 0;
    }();
    (void)registered;
    return CreateWindowExW(0, u"BenchWindow", u"", WS_POPUP, 0, 0, 100, 100, nullptr, nullptr, nullptr,
                           nullptr);
}

// A send to a window of the same thread: hooks checked, the procedure called.
void BM_SendSameThread(benchmark::State& state) {
    HWND hwnd = MakeWindow();
    WPARAM n = 0;
    for (auto _ : state) {
        n = static_cast<WPARAM>(SendMessageW(hwnd, WM_APP, n, 0));
    }
    benchmark::DoNotOptimize(n);
    DestroyWindow(hwnd);
}
BENCHMARK(BM_SendSameThread);

// The worker threads' path: a post, then the loop taking and dispatching it.
void BM_PostAndDispatch(benchmark::State& state) {
    HWND hwnd = MakeWindow();
    MSG msg{};
    for (auto _ : state) {
        PostMessageW(hwnd, WM_APP, 1, 0);
        PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE);
        DispatchMessageW(&msg);
    }
    DestroyWindow(hwnd);
}
BENCHMARK(BM_PostAndDispatch);

// A send to a window of another thread and its answer.
void BM_SendCrossThread(benchmark::State& state) {
    HWND hwnd = nullptr;
    DWORD tid = 0;
    std::atomic<bool> ready{false};
    std::thread owner([&] {
        hwnd = MakeWindow();
        tid = GetCurrentThreadId();
        ready = true;
        MSG msg{};
        while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
            DispatchMessageW(&msg);
        }
        DestroyWindow(hwnd);
    });
    while (!ready) {
        std::this_thread::yield();
    }
    WPARAM n = 0;
    for (auto _ : state) {
        n = static_cast<WPARAM>(SendMessageW(hwnd, WM_APP, n, 0));
    }
    benchmark::DoNotOptimize(n);
    PostThreadMessageW(tid, WM_QUIT, 0, 0);
    owner.join();
}
BENCHMARK(BM_SendCrossThread);

// Invalidating and painting a window with the default WM_PAINT.
void BM_InvalidateAndUpdate(benchmark::State& state) {
    HWND hwnd = MakeWindow();
    ShowWindow(hwnd, SW_SHOWNA);
    RECT rc{10, 10, 60, 60};
    for (auto _ : state) {
        InvalidateRect(hwnd, &rc, TRUE);
        UpdateWindow(hwnd);
    }
    DestroyWindow(hwnd);
}
BENCHMARK(BM_InvalidateAndUpdate);

} // namespace
