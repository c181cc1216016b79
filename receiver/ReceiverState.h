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
// How long before the edge of the tick last posted the line rose before (performance-counter time, in
// ns), 0 when it rose more than once since the thread last looked; -1 when no rise before it was seen. A
// line at one pulse a second shows no gap much under a second.
extern std::atomic<std::int64_t> g_ppsEdgeGapNs;
// While a posted tick waits for the view: the number of the first received message (CThBufferList) that
// came after its edge. The time messages after an edge already describe the next one, so the view hands
// none of them to the decoders before that tick is handled, and all before it first. kNoTickWaiting else.
constexpr std::uint64_t kNoTickWaiting = UINT64_MAX;
extern std::atomic<std::uint64_t> g_ppsTickDataMark;

// Custom window messages the worker threads post to the view.
constexpr unsigned kMsgGpsDataQueued = 0x8000 + 0x0A; // WM_APP+0x0A, wParam 0
constexpr unsigned kMsgPpsTick = 0x8000 + 0x0C;       // WM_APP+0x0C, wParam 1
constexpr unsigned kMsgGpsLinkLost = 0x8000 + 0x21;   // WM_APP+0x21, wParam the error
