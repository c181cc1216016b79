// Program-wide state of the receiver link that the worker threads read while the GUI thread writes it.
#pragma once

#include <atomic>
#include <cstdint>

// Receiver interface modes (g_interfaceMode).
enum InterfaceMode : int {
    kModeMotorolaLoran = 0,
    kModeMotorolaNmea = 1,
    kModeMotorolaBinary = 2,
    kModeMotorolaRxOnly = 3,
    kModeGenericNmea = 6,
    kModeUbloxUbx = 9,
    kModeUbloxNmea = 10,
    kModeSearch = 11,
};

// 1PPS input lines (g_ppsInterface).
enum PpsLine : int { kPpsNone = 0, kPpsDcd = 1, kPpsCts = 2, kPpsDsr = 3 };

extern std::atomic<int> g_interfaceMode;        // starts in Search
extern std::atomic<int> g_initializing;         // 1 from start-up until initialisation hands the link over
extern std::atomic<int> g_ppsInterface;         // PpsLine
extern std::atomic<int> g_firmwareUploadActive; // the Motorola framer then delivers boot-loader lines
// Wall-clock time of the last accepted 1PPS edge, milliseconds since 1970-01-01 UTC.
extern std::atomic<std::int64_t> g_ppsTimestamp;
// The performance counter (QueryPerformanceCounter) at the edge of the tick last posted to the view: the
// clock setting measures from it how long the PC took to act on the edge, which the wall clock cannot tell
// once the program has set it. 0 before the first tick.
extern std::atomic<std::int64_t> g_ppsEdgeCounter;

// Custom window messages the worker threads post to the view.
constexpr unsigned kMsgGpsDataQueued = 0x8000 + 0x0A; // WM_APP+0x0A, wParam 0
constexpr unsigned kMsgPpsTick = 0x8000 + 0x0C;       // WM_APP+0x0C, wParam 1
