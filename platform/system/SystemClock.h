// The clock that the system-time calls read and set.
//
// One SystemClock is installed per process. Installing it also makes it the layer's UTC source
// (SetCurrentUtcSource), so that CTime, COleDateTime and every other reader of "now" follow it.
//
// Which clock runs is chosen by the environment when InitializeSystemClock() is called:
// - DOLIVA_CLOCK unset, empty or "real": the machine's clock. Reading it is clock_gettime(CLOCK_REALTIME);
//   setting it is clock_settime, which needs CAP_SYS_TIME in the effective set (AdjustTokenPrivileges with
//   the system-time privilege raises it there); without it SetSystemTime fails with
//   ERROR_PRIVILEGE_NOT_HELD.
// - DOLIVA_CLOCK=simulated: an offset over the machine's clock, starting at zero. Setting it moves the
//   offset and needs no privilege. With DOLIVA_CLOCK_FILE=path the offset lives in that file: at start the
//   clock takes the offset of its last line, and every set appends one line
//   "real=2026-12-10T12:00:01.250000Z set=2026-12-10T12:00:04.000000Z offset=+2.750000" (the real UTC of
//   the set, the UTC set and the new offset in seconds, to the microsecond), so that an outside observer
//   can watch the program set it, and tell how close to a time it came.
// - Any other value is taken as "simulated" (with a warning on standard error): a misspelt setting must
//   never step the machine's clock.
//
// The program calls InitializeSystemClock() first thing in main. The system-time calls also initialise it
// lazily on first use; that lazy start installs the UTC source only when nothing else has installed one.
#pragma once

#include "platform/base/TimeConversions.h"
#include "platform/base/Win32Types.h"

#include <ctime>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

class SystemClock {
public:
    virtual ~SystemClock() = default;
    virtual UtcInstant Now() = 0;
    // Sets the clock to a UTC instant; answers ERROR_SUCCESS or the Win32 error code.
    virtual DWORD Set(const UtcInstant& utc) = 0;
};

// Steps CLOCK_REALTIME. Kept behind an interface so that nothing but the program itself ever reaches
// clock_settime: tests put a fake in its place.
class RealtimeClockSetter {
public:
    virtual ~RealtimeClockSetter() = default;
    // 0 or the errno value of the failure.
    virtual int SetRealtime(const timespec& time) = 0;
    // The one that calls clock_settime.
    static std::shared_ptr<RealtimeClockSetter> System();
};

// The machine's clock. EPERM from the setter is ERROR_PRIVILEGE_NOT_HELD, EINVAL ERROR_INVALID_PARAMETER.
class RealClock : public SystemClock {
public:
    explicit RealClock(std::shared_ptr<RealtimeClockSetter> setter = RealtimeClockSetter::System());
    UtcInstant Now() override;
    DWORD Set(const UtcInstant& utc) override;

private:
    std::shared_ptr<RealtimeClockSetter> m_setter;
};

// An offset in whole microseconds over a base clock (the machine's unless given), optionally kept in an
// offset file as described above. The file stays open from the first set on: a program that sets the clock
// every second should not open and close it every second.
class SimulatedClock : public SystemClock {
public:
    explicit SimulatedClock(std::string offsetFile = {}, UtcSource base = {});
    ~SimulatedClock() override;
    UtcInstant Now() override;
    // A failed write of the offset file fails the set (with the file's error) and leaves the offset alone.
    DWORD Set(const UtcInstant& utc) override;
    std::int64_t OffsetMicroseconds() const;

    // The offset in microseconds of the last offset line in a file's text; 0 when it holds none.
    static std::int64_t LastOffsetInText(const std::string& text);
    // One offset file line, with its line end.
    static std::string FormatOffsetLine(const UtcInstant& real, const UtcInstant& set,
                                        std::int64_t offsetMicroseconds);

private:
    UtcInstant Base() const;
    DWORD AppendToFile(const std::string& line);

    const std::string m_file;
    const UtcSource m_base;
    mutable std::mutex m_mutex;
    std::int64_t m_offsetUs = 0;
    int m_fd = -1;
};

// A clock that stands still until the test moves it. Sets take effect at once and are recorded; a test
// can make them fail with a chosen code.
class ManualClock : public SystemClock {
public:
    explicit ManualClock(UtcInstant start = {});
    UtcInstant Now() override;
    DWORD Set(const UtcInstant& utc) override;

    void Advance(std::int64_t milliseconds);
    void AdvanceNanoseconds(std::int64_t nanoseconds);
    // ERROR_SUCCESS lets sets through again.
    void FailSetsWith(DWORD code);
    std::vector<UtcInstant> Sets() const;

private:
    mutable std::mutex m_mutex;
    UtcInstant m_now;
    DWORD m_failWith = 0;
    std::vector<UtcInstant> m_sets;
};

// Builds the clock the environment asks for (see above), installs it and answers it.
std::shared_ptr<SystemClock> InitializeSystemClock();
// Installs a clock and makes it the layer's UTC source; null uninstalls both (the next system-time call
// starts lazily again).
void InstallSystemClock(std::shared_ptr<SystemClock> clock);
// The installed clock, starting one lazily when there is none.
std::shared_ptr<SystemClock> GetSystemClock();
// The installed clock without starting one (null when none).
std::shared_ptr<SystemClock> PeekSystemClock();

// UtcInstant arithmetic in whole milliseconds or microseconds (floor), valid over the whole SYSTEMTIME range.
std::int64_t MillisecondsBetween(const UtcInstant& later, const UtcInstant& earlier);
UtcInstant AddMilliseconds(const UtcInstant& instant, std::int64_t milliseconds);
std::int64_t MicrosecondsBetween(const UtcInstant& later, const UtcInstant& earlier);
UtcInstant AddMicroseconds(const UtcInstant& instant, std::int64_t microseconds);
