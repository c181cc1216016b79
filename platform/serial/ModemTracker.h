// Turns samples of the modem lines (levels and, where the device has them, transition counters) into comm
// events and per-line stamps. Shared by every kind of port, so that a tty's watcher, an RFC 2217
// notification and the fake port count edges alike.
#pragma once

#include "platform/base/TimeConversions.h"
#include "platform/serial/CommApi.h"

#include <array>
#include <cstdint>

namespace doliva::serial {

enum ModemLineIndex { kLineDcd = 0, kLineCts = 1, kLineDsr = 2, kLineRing = 3 };

struct ModemSample {
    UtcInstant stamp{};
    LONGLONG counter = 0; // QueryPerformanceCounter at the moment of stamp
    DWORD levels = 0;     // MS_* bits
    bool haveCounts = false;
    std::array<std::uint32_t, 4> counts{}; // transitions per line, by ModemLineIndex
};

// Stamps a sample now: the layer's UTC clock and the performance counter together.
void StampModemSample(ModemSample& sample);

class ModemTracker {
public:
    // Takes the sample as the new reference without reporting anything.
    void Rebase(const ModemSample& sample);
    // Applies a sample; answers the EV_RLSD/EV_CTS/EV_DSR/EV_RING bits of the lines that changed. A line
    // whose counter moved counts that many transitions even when its level reads as before (a pulse shorter
    // than the time to read it); without counters a change of level is one transition.
    DWORD Apply(const ModemSample& sample);

    const ModemEdgeStamp& Stamp() const { return stamp_; }
    DWORD Levels() const { return levels_; }

private:
    DWORD levels_ = 0;
    bool haveCounts_ = false;
    std::array<std::uint32_t, 4> counts_{};
    ModemEdgeStamp stamp_{};
};

} // namespace doliva::serial
