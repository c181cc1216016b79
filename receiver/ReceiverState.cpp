#include "receiver/ReceiverState.h"

std::atomic<int> g_interfaceMode{kModeSearch};
std::atomic<int> g_initializing{1};
std::atomic<int> g_ppsInterface{kPpsNone};
std::atomic<int> g_firmwareUploadActive{0};
std::atomic<std::int64_t> g_ppsTimestamp{0};
std::atomic<std::int64_t> g_ppsEdgeCounter{0};
std::atomic<std::int64_t> g_ppsEdgeGapNs{-1};
std::atomic<std::uint64_t> g_ppsTickDataMark{kNoTickWaiting};
