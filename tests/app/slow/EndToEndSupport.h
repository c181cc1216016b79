// The built program and the receiver simulator run as processes beside the test: settings in a scratch
// directory, COM1 pointed at the simulator's RFC 2217 address, and the simulated clock's step log.
#pragma once

#include "support/ChildProcess.h"
#include "support/TestSupport.h"

#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

namespace endtoend {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

using testsupport::ChildProcess;
using testsupport::ReadWholeFile;

// The simulator on a free loopback port with its 1PPS on DCD; Address() is empty when it did not start.
class Simulator {
public:
    Simulator(std::vector<std::string> args, const fs::path& dir) {
        std::vector<std::string> argv{std::string(DOLIVA_BINARY_DIR) +
                                      "/tools/simulator/doliva-receiver-sim"};
        argv.insert(argv.end(), args.begin(), args.end());
        argv.insert(argv.end(), {"--rfc2217", "127.0.0.1:0", "--pps", "dcd"});
        m_process.emplace(argv, std::vector<std::string>{}, dir / "simulator");
        for (int i = 0; i < 100 && m_address.empty() && m_process->Running(); ++i) {
            const std::string out = m_process->Stdout();
            if (const auto end = out.find('\n'); end != std::string::npos) {
                m_address = out.substr(0, end);
            } else {
                std::this_thread::sleep_for(100ms);
            }
        }
    }
    const std::string& Address() const { return m_address; }
    std::string Log() const { return m_process->Stderr(); }

private:
    std::optional<ChildProcess> m_process;
    std::string m_address;
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

inline std::string ProgramPath() {
    return std::string(DOLIVA_BINARY_DIR) + "/app/doliva";
}

// One line of the simulated clock's log: "real=<iso> set=<iso> offset=+S.mmm".
struct ClockStepLine {
    int realMillis = 0; // the millisecond within the second of the real time stepped at
    int setMillis = 0;  // and of the time set
    std::int64_t offsetMs = 0;
};

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

inline std::vector<ClockStepLine> ReadClockSteps(const fs::path& clockFile) {
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
        if (dot == std::string::npos || value.size() < dot + 4) {
            continue;
        }
        const std::int64_t seconds = std::llabs(std::atoll(value.substr(0, dot).c_str()));
        const std::int64_t millis = std::atoll(value.substr(dot + 1, 3).c_str());
        const std::int64_t magnitude = seconds * 1000 + millis;
        steps.push_back({*real, *set, value[0] == '-' ? -magnitude : magnitude});
    }
    return steps;
}

} // namespace endtoend
