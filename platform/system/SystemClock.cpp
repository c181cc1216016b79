#include "platform/system/SystemClock.h"

#include "platform/base/LastError.h"

#include <cerrno>
#include <cinttypes>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

std::int64_t FloorDiv(std::int64_t a, std::int64_t b) {
    std::int64_t q = a / b;
    if (a % b != 0 && ((a < 0) != (b < 0))) {
        --q;
    }
    return q;
}

UtcInstant MachineUtc() {
    timespec ts{};
    clock_gettime(CLOCK_REALTIME, &ts);
    return UtcInstant{static_cast<std::int64_t>(ts.tv_sec), static_cast<std::int32_t>(ts.tv_nsec)};
}

UtcInstant TruncateToMicroseconds(UtcInstant t) {
    t.nanoseconds -= t.nanoseconds % 1000;
    return t;
}

// "2026-12-10T12:00:01.250000Z"
void AppendIsoUtc(std::string& out, const UtcInstant& t) {
    struct tm fields {};
    if (!UtcTmFromSeconds(t.seconds, &fields)) {
        out += "?";
        return;
    }
    char buf[64];
    std::snprintf(buf, sizeof buf, "%04lld-%02d-%02dT%02d:%02d:%02d.%06dZ",
                  static_cast<long long>(fields.tm_year) + 1900, fields.tm_mon + 1, fields.tm_mday,
                  fields.tm_hour, fields.tm_min, fields.tm_sec, t.nanoseconds / 1000);
    out += buf;
}

// "+2.750000" after "offset=": sign, whole seconds, up to six decimals, as microseconds. False for anything
// else.
bool ParseOffsetValue(const char* p, const char* end, std::int64_t* microseconds) {
    bool negative = false;
    if (p < end && (*p == '+' || *p == '-')) {
        negative = *p == '-';
        ++p;
    }
    // Twelve digits of seconds (some 30,000 years) still fit in microseconds of 64 bits.
    std::int64_t whole = 0;
    int digits = 0;
    while (p < end && *p >= '0' && *p <= '9') {
        if (++digits > 12) {
            return false;
        }
        whole = whole * 10 + (*p++ - '0');
    }
    if (digits == 0) {
        return false;
    }
    std::int64_t fraction = 0;
    if (p < end && *p == '.') {
        ++p;
        int places = 0;
        while (p < end && *p >= '0' && *p <= '9') {
            if (++places > 6) {
                return false;
            }
            fraction = fraction * 10 + (*p++ - '0');
        }
        for (; places < 6; ++places) {
            fraction *= 10;
        }
    }
    if (p < end && *p != ' ' && *p != '\t' && *p != '\r') {
        return false;
    }
    const std::int64_t value = whole * 1000000 + fraction;
    *microseconds = negative ? -value : value;
    return true;
}

// The tail of the offset file: enough for many lines, never the whole of a file that has grown for months.
std::string ReadTail(const std::string& path) {
    constexpr off_t kTail = 64 * 1024;
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        if (errno != ENOENT) {
            std::fprintf(stderr, "doliva: cannot read the clock offset file %s: %s\n", path.c_str(),
                         std::strerror(errno));
        }
        return {};
    }
    std::string text;
    struct stat st {};
    if (fstat(fd, &st) == 0) {
        const off_t start = st.st_size > kTail ? st.st_size - kTail : 0;
        text.resize(static_cast<std::size_t>(st.st_size - start));
        std::size_t got = 0;
        while (got < text.size()) {
            const ssize_t n =
                pread(fd, text.data() + got, text.size() - got, start + static_cast<off_t>(got));
            if (n < 0 && errno == EINTR) {
                continue;
            }
            if (n <= 0) {
                break;
            }
            got += static_cast<std::size_t>(n);
        }
        text.resize(got);
        if (start > 0) {
            // The first line may be cut.
            const std::size_t lineEnd = text.find('\n');
            text.erase(0, lineEnd == std::string::npos ? text.size() : lineEnd + 1);
        }
    }
    close(fd);
    return text;
}

// Writes a whole line with one write, so that a watcher never sees half of it (appends of a short line are
// not split).
DWORD WriteLine(int fd, const std::string& line) {
    std::size_t done = 0;
    while (done < line.size()) {
        const ssize_t n = write(fd, line.data() + done, line.size() - done);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            return n < 0 ? Win32ErrorFromErrno(errno) : ERROR_WRITE_FAULT;
        }
        done += static_cast<std::size_t>(n);
    }
    return ERROR_SUCCESS;
}

class SystemRealtimeSetter : public RealtimeClockSetter {
public:
    int SetRealtime(const timespec& time) override {
        return clock_settime(CLOCK_REALTIME, &time) == 0 ? 0 : errno;
    }
};

std::mutex g_clockMutex;
std::shared_ptr<SystemClock> g_clock;

std::shared_ptr<SystemClock> ClockFromEnvironment() {
    const char* mode = std::getenv("DOLIVA_CLOCK");
    if (!mode || !*mode || std::strcmp(mode, "real") == 0) {
        return std::make_shared<RealClock>();
    }
    if (std::strcmp(mode, "simulated") != 0) {
        std::fprintf(stderr, "doliva: DOLIVA_CLOCK=%s is not known; running on the simulated clock\n", mode);
    }
    const char* file = std::getenv("DOLIVA_CLOCK_FILE");
    return std::make_shared<SimulatedClock>(file ? file : "");
}

UtcSource SourceOf(const std::shared_ptr<SystemClock>& clock) {
    return [clock] { return clock->Now(); };
}

} // namespace

std::int64_t MillisecondsBetween(const UtcInstant& later, const UtcInstant& earlier) {
    return (later.seconds - earlier.seconds) * 1000 +
           FloorDiv(std::int64_t{later.nanoseconds} - earlier.nanoseconds, 1000000);
}

std::int64_t MicrosecondsBetween(const UtcInstant& later, const UtcInstant& earlier) {
    return (later.seconds - earlier.seconds) * 1000000 +
           FloorDiv(std::int64_t{later.nanoseconds} - earlier.nanoseconds, 1000);
}

UtcInstant AddMicroseconds(const UtcInstant& instant, std::int64_t microseconds) {
    UtcInstant out = instant;
    const std::int64_t seconds = FloorDiv(microseconds, 1000000);
    out.seconds += seconds;
    const std::int64_t nanos = std::int64_t{out.nanoseconds} + (microseconds - seconds * 1000000) * 1000;
    out.seconds += nanos / 1000000000;
    out.nanoseconds = static_cast<std::int32_t>(nanos % 1000000000);
    return out;
}

UtcInstant AddMilliseconds(const UtcInstant& instant, std::int64_t milliseconds) {
    UtcInstant out = instant;
    out.seconds += FloorDiv(milliseconds, 1000);
    const std::int64_t nanos =
        std::int64_t{out.nanoseconds} + (milliseconds - FloorDiv(milliseconds, 1000) * 1000) * 1000000;
    out.seconds += nanos / 1000000000;
    out.nanoseconds = static_cast<std::int32_t>(nanos % 1000000000);
    return out;
}

std::shared_ptr<RealtimeClockSetter> RealtimeClockSetter::System() {
    static const std::shared_ptr<RealtimeClockSetter> setter = std::make_shared<SystemRealtimeSetter>();
    return setter;
}

RealClock::RealClock(std::shared_ptr<RealtimeClockSetter> setter) : m_setter(std::move(setter)) {}

UtcInstant RealClock::Now() {
    return MachineUtc();
}

DWORD RealClock::Set(const UtcInstant& utc) {
    timespec ts{};
    ts.tv_sec = static_cast<time_t>(utc.seconds);
    ts.tv_nsec = utc.nanoseconds;
    const int err = m_setter->SetRealtime(ts);
    switch (err) {
    case 0:
        return ERROR_SUCCESS;
    case EPERM:
        return ERROR_PRIVILEGE_NOT_HELD;
    case EINVAL:
        return ERROR_INVALID_PARAMETER;
    default:
        return Win32ErrorFromErrno(err);
    }
}

SimulatedClock::SimulatedClock(std::string offsetFile, UtcSource base)
    : m_file(std::move(offsetFile)), m_base(std::move(base)) {
    if (!m_file.empty()) {
        m_offsetUs = LastOffsetInText(ReadTail(m_file));
    }
}

SimulatedClock::~SimulatedClock() {
    if (m_fd >= 0) {
        close(m_fd);
    }
}

UtcInstant SimulatedClock::Base() const {
    return m_base ? m_base() : MachineUtc();
}

UtcInstant SimulatedClock::Now() {
    std::int64_t offset = 0;
    {
        std::lock_guard lock(m_mutex);
        offset = m_offsetUs;
    }
    return AddMicroseconds(Base(), offset);
}

DWORD SimulatedClock::AppendToFile(const std::string& line) {
    if (m_fd < 0) {
        m_fd = open(m_file.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
        if (m_fd < 0) {
            return Win32ErrorFromErrno(errno);
        }
    }
    const DWORD error = WriteLine(m_fd, line);
    if (error != ERROR_SUCCESS) {
        // The next set opens the file afresh.
        close(m_fd);
        m_fd = -1;
    }
    return error;
}

DWORD SimulatedClock::Set(const UtcInstant& utc) {
    std::lock_guard lock(m_mutex);
    // Whole microseconds on both sides, so that each line adds up: set = real + offset.
    const UtcInstant real = TruncateToMicroseconds(Base());
    const UtcInstant set = TruncateToMicroseconds(utc);
    const std::int64_t offset = MicrosecondsBetween(set, real);
    if (!m_file.empty()) {
        if (const DWORD error = AppendToFile(FormatOffsetLine(real, set, offset)); error != ERROR_SUCCESS) {
            return error;
        }
    }
    m_offsetUs = offset;
    return ERROR_SUCCESS;
}

std::int64_t SimulatedClock::OffsetMicroseconds() const {
    std::lock_guard lock(m_mutex);
    return m_offsetUs;
}

std::int64_t SimulatedClock::LastOffsetInText(const std::string& text) {
    static constexpr char kKey[] = "offset=";
    std::int64_t result = 0;
    std::size_t lineStart = 0;
    while (lineStart < text.size()) {
        std::size_t lineEnd = text.find('\n', lineStart);
        if (lineEnd == std::string::npos) {
            lineEnd = text.size();
        }
        const std::string_view line(text.data() + lineStart, lineEnd - lineStart);
        if (const std::size_t key = line.rfind(kKey); key != std::string_view::npos) {
            std::int64_t value = 0;
            if (ParseOffsetValue(line.data() + key + sizeof kKey - 1, line.data() + line.size(), &value)) {
                result = value;
            }
        }
        lineStart = lineEnd + 1;
    }
    return result;
}

std::string SimulatedClock::FormatOffsetLine(const UtcInstant& real, const UtcInstant& set,
                                             std::int64_t offsetMicroseconds) {
    std::string line = "real=";
    AppendIsoUtc(line, TruncateToMicroseconds(real));
    line += " set=";
    AppendIsoUtc(line, TruncateToMicroseconds(set));
    const std::uint64_t magnitude = offsetMicroseconds < 0
                                        ? 0 - static_cast<std::uint64_t>(offsetMicroseconds)
                                        : static_cast<std::uint64_t>(offsetMicroseconds);
    char buf[48];
    std::snprintf(buf, sizeof buf, " offset=%c%" PRIu64 ".%06u\n", offsetMicroseconds < 0 ? '-' : '+',
                  magnitude / 1000000, static_cast<unsigned>(magnitude % 1000000));
    line += buf;
    return line;
}

ManualClock::ManualClock(UtcInstant start) : m_now(start) {}

UtcInstant ManualClock::Now() {
    std::lock_guard lock(m_mutex);
    return m_now;
}

DWORD ManualClock::Set(const UtcInstant& utc) {
    std::lock_guard lock(m_mutex);
    if (m_failWith != ERROR_SUCCESS) {
        return m_failWith;
    }
    m_sets.push_back(utc);
    m_now = utc;
    return ERROR_SUCCESS;
}

void ManualClock::Advance(std::int64_t milliseconds) {
    std::lock_guard lock(m_mutex);
    m_now = AddMilliseconds(m_now, milliseconds);
}

void ManualClock::AdvanceNanoseconds(std::int64_t nanoseconds) {
    std::lock_guard lock(m_mutex);
    const std::int64_t total = std::int64_t{m_now.nanoseconds} + nanoseconds;
    const std::int64_t carry = FloorDiv(total, 1000000000);
    m_now.seconds += carry;
    m_now.nanoseconds = static_cast<std::int32_t>(total - carry * 1000000000);
}

void ManualClock::FailSetsWith(DWORD code) {
    std::lock_guard lock(m_mutex);
    m_failWith = code;
}

std::vector<UtcInstant> ManualClock::Sets() const {
    std::lock_guard lock(m_mutex);
    return m_sets;
}

std::shared_ptr<SystemClock> InitializeSystemClock() {
    std::shared_ptr<SystemClock> clock = ClockFromEnvironment();
    InstallSystemClock(clock);
    return clock;
}

void InstallSystemClock(std::shared_ptr<SystemClock> clock) {
    std::lock_guard lock(g_clockMutex);
    SetCurrentUtcSource(clock ? SourceOf(clock) : UtcSource());
    g_clock = std::move(clock);
}

std::shared_ptr<SystemClock> GetSystemClock() {
    std::lock_guard lock(g_clockMutex);
    if (!g_clock) {
        g_clock = ClockFromEnvironment();
        // A source that someone installed on purpose (a test's fixed clock) stays.
        if (!GetCurrentUtcSource()) {
            SetCurrentUtcSource(SourceOf(g_clock));
        }
    }
    return g_clock;
}

std::shared_ptr<SystemClock> PeekSystemClock() {
    std::lock_guard lock(g_clockMutex);
    return g_clock;
}
