#include "platform/serial/ModemTracker.h"

#include "platform/kernel/Ticks.h"

namespace doliva::serial {

namespace {

struct LineInfo {
    DWORD levelBit;
    DWORD eventBit;
    ModemLineStamp ModemEdgeStamp::*stamp;
};

constexpr std::array<LineInfo, 4> kLines{{
    {MS_RLSD_ON, EV_RLSD, &ModemEdgeStamp::dcd},
    {MS_CTS_ON, EV_CTS, &ModemEdgeStamp::cts},
    {MS_DSR_ON, EV_DSR, &ModemEdgeStamp::dsr},
    {MS_RING_ON, EV_RING, &ModemEdgeStamp::ring},
}};

} // namespace

void StampModemSample(ModemSample& sample) {
    LARGE_INTEGER counter{};
    QueryPerformanceCounter(&counter);
    sample.counter = counter.QuadPart;
    sample.stamp = CurrentUtc();
}

void ModemTracker::Rebase(const ModemSample& sample) {
    levels_ = sample.levels;
    haveCounts_ = sample.haveCounts;
    counts_ = sample.counts;
    for (const LineInfo& line : kLines) {
        (stamp_.*line.stamp).level = (sample.levels & line.levelBit) != 0;
    }
}

DWORD ModemTracker::Apply(const ModemSample& sample) {
    DWORD events = 0;
    for (std::size_t i = 0; i < kLines.size(); ++i) {
        const LineInfo& line = kLines[i];
        const bool was = (levels_ & line.levelBit) != 0;
        const bool now = (sample.levels & line.levelBit) != 0;
        std::uint32_t transitions = 0;
        if (sample.haveCounts && haveCounts_) {
            transitions = sample.counts[i] - counts_[i];
        }
        if (transitions == 0 && was != now) {
            transitions = 1;
        }
        if (transitions == 0) {
            continue;
        }
        // Transitions alternate, starting from the level seen last: from low the odd ones rise.
        const std::uint32_t rises = was ? transitions / 2 : (transitions + 1) / 2;
        ModemLineStamp& stamp = stamp_.*line.stamp;
        stamp.lastChange = sample.stamp;
        stamp.changes += transitions;
        stamp.level = now;
        if (rises > 0) {
            stamp.lastRise = sample.stamp;
            stamp.lastRiseCounter = sample.counter;
            stamp.rises += rises;
            stamp.lastWasPulse = !now;
        }
        events |= line.eventBit;
    }
    levels_ = sample.levels;
    if (sample.haveCounts) {
        counts_ = sample.counts;
    }
    haveCounts_ = sample.haveCounts;
    return events;
}

} // namespace doliva::serial
