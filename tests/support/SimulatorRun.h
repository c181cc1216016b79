// The program run against the receiver simulator, as the end-to-end tests and the benchmark that measures it
// do: the simulator on loopback RFC 2217, the program's settings and environment, and reading back the
// simulated clock's log ("real=... set=... offset=..." per set) and the simulator's pulse timings.
#pragma once

#include "ChildProcess.h"
#include "WholeFile.h"

#include <cctype>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

namespace testsupport {

namespace fs = std::filesystem;

// The simulator at `path` on a free loopback port with its 1PPS on DCD; Address() is empty when it did not
// start.
class ReceiverSimulator {
public:
    // `listen`: the server's address, any free port unless given (a server started again on the port of
    // one that went).
    ReceiverSimulator(const std::string& path, std::vector<std::string> args, const fs::path& dir,
                      const std::string& listen = "127.0.0.1:0") {
        std::vector<std::string> argv{path};
        argv.insert(argv.end(), args.begin(), args.end());
        argv.insert(argv.end(), {"--rfc2217", listen, "--pps", "dcd"});
        m_process.emplace(argv, std::vector<std::string>{},
                          dir / ("simulator-" + std::to_string(++m_starts)));
        for (int i = 0; i < 100 && m_address.empty() && m_process->Running(); ++i) {
            const std::string out = m_process->Stdout();
            if (const auto end = out.find('\n'); end != std::string::npos) {
                m_address = out.substr(0, end);
            } else {
                std::this_thread::sleep_for(std::chrono::milliseconds(100));
            }
        }
    }
    const std::string& Address() const { return m_address; }
    std::string Log() const { return m_process->Stderr(); }

private:
    std::optional<ChildProcess> m_process;
    std::string m_address;
    static inline int m_starts = 0;
};

// The settings a first start would find: the receiver on COM1 with its 1PPS on DCD, and the clock set at
// every second.
inline void WriteSettings(const fs::path& configDir, const std::string& pexMode, int rateIndex) {
    fs::create_directories(configDir);
    std::ofstream reg(configDir / "user.reg");
    char rate[16];
    std::snprintf(rate, sizeof rate, "%08x", rateIndex);
    reg << "REGEDIT4\n\n"
        << "[HKEY_CURRENT_USER\\Software\\Halvorn\\Doliva\\GPS Interface]\n"
        << "\"Port\"=\"COM1\"\n"
        << "\"PEX Mode\"=\"" << pexMode << "\"\n"
        << "\"Port Rate\"=dword:" << rate << "\n"
        << "\"1PPS Interface\"=dword:00000001\n\n"
        << "[HKEY_CURRENT_USER\\Software\\Halvorn\\Doliva\\Time Sync]\n"
        << "\"Time Sync Mode\"=dword:00000002\n";
}

// The program against the simulator at address, on the simulated clock logging to clockFile.
inline std::vector<std::string> ProgramEnvironment(const fs::path& configDir, const std::string& address,
                                                   const fs::path& clockFile) {
    std::vector<std::string> env{"DOLIVA_CONFIG_DIR=" + configDir.string(), "DOLIVA_COM1=" + address,
                                 "DOLIVA_CLOCK=simulated", "DOLIVA_CLOCK_FILE=" + clockFile.string()};
    for (int n = 2; n <= 8; ++n) {
        env.push_back("DOLIVA_COM" + std::to_string(n) + "=fake://absent");
    }
    return env;
}

// One line of the simulated clock's log: "real=<iso> set=<iso> offset=+S.uuuuuu".
struct ClockStepLine {
    int realMillis = 0; // the millisecond within the second of the real time stepped at
    int setMillis = 0;  // and of the time set
    std::int64_t offsetMs = 0;
    std::int64_t offsetUs = 0;
    std::string setDate;              // "2026-12-10T12:00:04.000000Z"
    std::int64_t realMicrosOfDay = 0; // the real time stepped at
};

// "HH:MM:SS.fff..." as microseconds of the day; -1 when it is not such a time.
inline std::int64_t MicrosOfDay(const std::string& text) {
    if (text.size() < 12 || text[2] != ':' || text[5] != ':' || text[8] != '.') {
        return -1;
    }
    std::int64_t micros = 0;
    int digits = 0;
    for (std::size_t i = 9;
         i < text.size() && digits < 6 && std::isdigit(static_cast<unsigned char>(text[i])); ++i) {
        micros = micros * 10 + (text[i] - '0');
        ++digits;
    }
    for (; digits < 6; ++digits) {
        micros *= 10;
    }
    return ((std::atoll(text.substr(0, 2).c_str()) * 60 + std::atoll(text.substr(3, 2).c_str())) * 60 +
            std::atoll(text.substr(6, 2).c_str())) *
               1000000 +
           micros;
}

// How late one of the simulator's 1PPS pulses went out: at least `late` microseconds after its second, and
// at most `sending` microseconds more (the time its transport took to send it). `at` is the moment it was
// logged, in microseconds of the day.
struct PulseTiming {
    std::int64_t at = -1;
    std::int64_t late = 0;
    std::int64_t sending = 0;
};

// "hh:mm:ss.mmm 1PPS 12 us late, sent in 34 us" lines of the simulator's log.
inline std::vector<PulseTiming> PulseTimings(const std::string& simulatorLog) {
    std::vector<PulseTiming> pulses;
    std::istringstream in(simulatorLog);
    std::string line;
    while (std::getline(in, line)) {
        const auto at = line.find(" 1PPS ");
        const auto sent = line.find(" us late, sent in ", at);
        if (at != std::string::npos && sent != std::string::npos) {
            pulses.push_back({MicrosOfDay(line.substr(0, at)), std::atoll(line.c_str() + at + 6),
                              std::atoll(line.c_str() + sent + 18)});
        }
    }
    return pulses;
}

// The last pulse logged before a moment; an on-time one when none is known.
inline PulseTiming PulseBefore(const std::vector<PulseTiming>& pulses, std::int64_t microsOfDay) {
    PulseTiming last;
    for (const PulseTiming& pulse : pulses) {
        if (pulse.at >= 0 && pulse.at <= microsOfDay) {
            last = pulse;
        }
    }
    return last;
}

inline std::optional<int> MillisOfIso(const std::string& line, const std::string& key) {
    const auto at = line.find(key);
    if (at == std::string::npos) {
        return std::nullopt;
    }
    const auto dot = line.find('.', at);
    if (dot == std::string::npos || dot + 4 > line.size()) {
        return std::nullopt;
    }
    return std::atoi(line.substr(dot + 1, 3).c_str());
}

inline std::vector<ClockStepLine> ReadClockSteps(const std::filesystem::path& clockFile) {
    std::vector<ClockStepLine> steps;
    std::istringstream in(ReadWholeFile(clockFile));
    std::string line;
    while (std::getline(in, line)) {
        const auto real = MillisOfIso(line, "real=");
        const auto set = MillisOfIso(line, "set=");
        const auto key = line.find("offset=");
        if (!real || !set || key == std::string::npos) {
            continue;
        }
        const std::string value = line.substr(key + 7);
        const auto dot = value.find('.');
        if (dot == std::string::npos || value.size() < dot + 7) {
            continue;
        }
        const std::int64_t seconds = std::llabs(std::atoll(value.substr(0, dot).c_str()));
        const std::int64_t micros = std::atoll(value.substr(dot + 1, 6).c_str());
        const std::int64_t magnitude = seconds * 1000000 + micros;
        const std::int64_t offsetUs = value[0] == '-' ? -magnitude : magnitude;
        const auto setAt = line.find("set=");
        const auto setEnd = line.find(' ', setAt);
        const auto realAt = line.find('T', line.find("real="));
        steps.push_back(
            {*real, *set, offsetUs >= 0 ? offsetUs / 1000 : -((-offsetUs + 999) / 1000), offsetUs,
             line.substr(setAt + 4, setEnd == std::string::npos ? std::string::npos : setEnd - setAt - 4),
             realAt == std::string::npos ? -1 : MicrosOfDay(line.substr(realAt + 1, 15))});
    }
    return steps;
}

} // namespace testsupport
