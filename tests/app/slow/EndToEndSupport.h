// The built program and the receiver simulator run as processes beside the test: settings in a scratch
// directory, COM1 pointed at the simulator's RFC 2217 address, and the simulated clock's step log.
#pragma once

#include "support/TestSupport.h"

#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <optional>
#include <signal.h>
#include <spawn.h>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace endtoend {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

inline std::string ReadFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

// A child process with its standard output and error in files; killed when it goes out of scope.
class ChildProcess {
public:
    ChildProcess(const std::vector<std::string>& argv, const std::vector<std::string>& extraEnv,
                 const fs::path& logStem)
        : m_stdout(logStem.string() + ".stdout"), m_stderr(logStem.string() + ".stderr") {
        std::vector<std::string> env;
        for (char** e = environ; *e; ++e) {
            env.emplace_back(*e);
        }
        // Later entries win for getenv only when earlier ones with the same name are gone.
        for (const std::string& extra : extraEnv) {
            const std::string name = extra.substr(0, extra.find('=') + 1);
            std::erase_if(env, [&](const std::string& e) { return e.starts_with(name); });
            env.push_back(extra);
        }
        std::vector<std::string> args = argv;
        std::vector<char*> argp, envp;
        for (auto& a : args) {
            argp.push_back(a.data());
        }
        argp.push_back(nullptr);
        for (auto& e : env) {
            envp.push_back(e.data());
        }
        envp.push_back(nullptr);
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
        posix_spawn_file_actions_addopen(&actions, 1, m_stdout.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        posix_spawn_file_actions_addopen(&actions, 2, m_stderr.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        if (posix_spawn(&m_pid, argp[0], &actions, nullptr, argp.data(), envp.data()) != 0) {
            m_pid = -1;
        }
        posix_spawn_file_actions_destroy(&actions);
    }
    ~ChildProcess() { Stop(); }
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    bool Started() const { return m_pid > 0; }
    bool Running() {
        if (m_pid <= 0 || m_exited) {
            return false;
        }
        int status = 0;
        if (waitpid(m_pid, &status, WNOHANG) == m_pid) {
            m_exited = true;
        }
        return !m_exited;
    }
    // Asks it to end, and ends it when it does not within a few seconds.
    void Stop() {
        if (m_pid <= 0 || !Running()) {
            return;
        }
        kill(m_pid, SIGTERM);
        for (int i = 0; i < 50 && Running(); ++i) {
            std::this_thread::sleep_for(100ms);
        }
        if (Running()) {
            kill(m_pid, SIGKILL);
            waitpid(m_pid, nullptr, 0);
            m_exited = true;
        }
    }
    std::string Stdout() const { return ReadFile(m_stdout); }
    std::string Stderr() const { return ReadFile(m_stderr); }

private:
    pid_t m_pid = -1;
    bool m_exited = false;
    std::string m_stdout;
    std::string m_stderr;
};

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
    std::istringstream in(ReadFile(clockFile));
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
