// The message loop as the SDL backend's tests run it: what is queued now, or until a condition holds.
#pragma once

#include "platform/display/User.h"

#include <chrono>
#include <functional>

namespace sdltest {

inline void PumpPending() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

// Runs the loop until `done` holds; false when it still does not after `limit`.
inline bool PumpUntil(const std::function<bool()>& done,
                      std::chrono::seconds limit = std::chrono::seconds(5)) {
    const auto end = std::chrono::steady_clock::now() + limit;
    while (!done()) {
        if (std::chrono::steady_clock::now() > end) {
            return false;
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
        PumpPending();
    }
    return true;
}

// Registers a window class with a white background (once per name) and answers its name.
inline const WCHAR* WhiteClass(const WCHAR* name, WNDPROC proc) {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = proc;
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    wc.lpszClassName = name;
    RegisterClassExW(&wc);
    return name;
}

} // namespace sdltest
