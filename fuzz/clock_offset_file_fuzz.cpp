// The clock offset file (DOLIVA_CLOCK_FILE) as the simulated clock reads it at start: any bytes, through
// the file reader, on a clock whose machine time stands still. Reading must never overflow; the offset it
// takes must write out as a line that reads back to it; and the time the clock then tells must go through
// the system-time calls as any time does.
#include "platform/system/SystemClock.h"
#include "platform/system/SystemTime.h"

#include <sys/mman.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const int fd = memfd_create("offsets", MFD_CLOEXEC);
    if (fd < 0 || write(fd, data, size) != static_cast<ssize_t>(size)) {
        std::abort();
    }
    const UtcInstant machine{1796126400, 250000000}; // 2026-12-01T12:00:00.250Z
    auto clock = std::make_shared<SimulatedClock>("/proc/self/fd/" + std::to_string(fd),
                                                  [machine] { return machine; });
    close(fd);

    const std::int64_t offset = clock->OffsetMicroseconds();
    const std::string line =
        SimulatedClock::FormatOffsetLine(machine, AddMicroseconds(machine, offset), offset);
    if (SimulatedClock::LastOffsetInText(line) != offset) {
        std::abort();
    }
    InstallSystemClock(clock);
    SYSTEMTIME utc{};
    GetSystemTime(&utc);
    SYSTEMTIME local{};
    GetLocalTime(&local);
    _timeb stamp{};
    _ftime(&stamp);
    InstallSystemClock(nullptr);
    return 0;
}
