// The built program against the receiver simulator (Oncore, 12 channels, 9600 baud, 1PPS on DCD over RFC
// 2217, GPS time 2.75 s ahead), headless on the simulated clock, left to settle and then watched for a
// minute: what it costs at idle (CPU share of one core, wake-ups per second of each thread), what memory
// it holds, and how close to the receiver's time each clock set lands.
//
// DOLIVA_BENCH_SECONDS shortens the minute (the smoke run under CTest uses a few seconds).
#include "tests/support/SimulatorRun.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <dirent.h>
#include <filesystem>
#include <map>
#include <string>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

// The tree this benchmark was built in: <tree>/bench/bench_receiver_run.
fs::path Tree() {
    std::error_code ec;
    return fs::read_symlink("/proc/self/exe", ec).parent_path().parent_path();
}

std::chrono::seconds WatchTime() {
    const char* text = std::getenv("DOLIVA_BENCH_SECONDS");
    const long seconds = text ? std::strtol(text, nullptr, 10) : 0;
    return std::chrono::seconds(seconds > 0 ? seconds : 60);
}

// One thread of the program: its CPU time in nanoseconds and its voluntary context switches (each a sleep,
// so each a wake-up).
struct ThreadSample {
    std::string name;
    long long cpuNs = 0;
    long long wakeups = 0;
};

std::map<std::string, ThreadSample> SampleThreads(pid_t pid) {
    std::map<std::string, ThreadSample> threads;
    const std::string dir = "/proc/" + std::to_string(pid) + "/task";
    DIR* tasks = opendir(dir.c_str());
    if (!tasks) {
        return threads;
    }
    while (dirent* entry = readdir(tasks)) {
        if (entry->d_name[0] == '.') {
            continue;
        }
        const std::string task = dir + "/" + entry->d_name;
        ThreadSample sample;
        sample.name = testsupport::ReadWholeFile(task + "/comm");
        sample.name.erase(sample.name.find_last_not_of("\n") + 1);
        std::replace(sample.name.begin(), sample.name.end(), ' ', '_');
        sample.cpuNs = std::atoll(testsupport::ReadWholeFile(task + "/schedstat").c_str());
        const std::string status = testsupport::ReadWholeFile(task + "/status");
        if (const auto at = status.find("voluntary_ctxt_switches:"); at != std::string::npos) {
            sample.wakeups = std::atoll(status.c_str() + at + 24);
        }
        threads[entry->d_name] = sample;
    }
    closedir(tasks);
    return threads;
}

long StatusKib(pid_t pid, const std::string& key) {
    const std::string status = testsupport::ReadWholeFile("/proc/" + std::to_string(pid) + "/status");
    const auto at = status.find(key + ":");
    return at == std::string::npos ? -1 : std::atol(status.c_str() + at + key.size() + 1);
}

double Percentile(std::vector<double> values, double fraction) {
    if (values.empty()) {
        return 0;
    }
    std::sort(values.begin(), values.end());
    return values[static_cast<std::size_t>(std::lround(fraction * static_cast<double>(values.size() - 1)))];
}

void Run(benchmark::State& state, int tickDelayMs) {
    const fs::path tree = Tree();
    const fs::path program = tree / "app" / "doliva";
    const fs::path simulatorPath = tree / "tools" / "simulator" / "doliva-receiver-sim";
    if (!fs::exists(program) || !fs::exists(simulatorPath)) {
        state.SkipWithError("the program and the simulator are not built beside the benchmark");
        return;
    }
    std::string scratch = (fs::temp_directory_path() / "doliva-bench-run.XXXXXX").string();
    if (!mkdtemp(scratch.data())) {
        state.SkipWithError("no scratch directory");
        return;
    }
    const fs::path dir = scratch;
    for (auto _ : state) {
        testsupport::WriteSettings(dir / "settings", "Motorola Binary", 4);
        testsupport::ReceiverSimulator simulator(simulatorPath.string(),
                                                 {"--protocol", "oncore", "--channels", "12", "--rate",
                                                  "9600", "--offset", "2.750", "--satellites", "8"},
                                                 dir);
        if (simulator.Address().empty()) {
            state.SkipWithError("the simulator did not start");
            break;
        }
        const fs::path clockFile = dir / "clock.log";
        std::vector<std::string> env =
            testsupport::ProgramEnvironment(dir / "settings", simulator.Address(), clockFile);
        env.push_back("DOLIVA_DISPLAY=headless");
        env.push_back("DOLIVA_TICK_DELAY_MS=" + std::to_string(tickDelayMs));
        testsupport::ChildProcess doliva({program.string(), "-noservice"}, env, dir / "program");

        // Settled: the receiver is set up and the clock has been set a few times.
        const auto settleEnd = std::chrono::steady_clock::now() + 60s;
        while (testsupport::ReadClockSteps(clockFile).size() < 3 && doliva.Running() &&
               std::chrono::steady_clock::now() < settleEnd) {
            std::this_thread::sleep_for(200ms);
        }
        if (!doliva.Running() || testsupport::ReadClockSteps(clockFile).size() < 3) {
            state.SkipWithError("the program did not settle");
            break;
        }
        const std::size_t setsBefore = testsupport::ReadClockSteps(clockFile).size();
        const auto before = SampleThreads(doliva.Pid());
        const auto start = std::chrono::steady_clock::now();
        std::this_thread::sleep_for(WatchTime());
        const auto after = SampleThreads(doliva.Pid());
        const double seconds =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        const long rss = StatusKib(doliva.Pid(), "VmRSS");
        const long peak = StatusKib(doliva.Pid(), "VmHWM");
        const auto steps = testsupport::ReadClockSteps(clockFile);
        const auto pulses = testsupport::PulseTimings(simulator.Log());
        doliva.Stop();

        long long cpuNs = 0;
        std::map<std::string, double> wakeupsByName;
        std::map<std::string, double> cpuByName;
        for (const auto& [tid, sample] : after) {
            const auto was = before.find(tid);
            const long long cpu = sample.cpuNs - (was != before.end() ? was->second.cpuNs : 0);
            const long long wakeups = sample.wakeups - (was != before.end() ? was->second.wakeups : 0);
            cpuNs += cpu;
            wakeupsByName[sample.name] += static_cast<double>(wakeups) / seconds;
            cpuByName[sample.name] += static_cast<double>(cpu) / 1e9 / seconds * 100.0;
        }
        using benchmark::Counter;
        state.counters["cpu_percent"] = static_cast<double>(cpuNs) / 1e9 / seconds * 100.0;
        for (const auto& [name, perSecond] : wakeupsByName) {
            state.counters["wakeups_per_s_" + name] = perSecond;
            state.counters["cpu_percent_" + name] = cpuByName[name];
        }
        state.counters["rss"] =
            Counter(static_cast<double>(rss) * 1024.0, Counter::kDefaults, Counter::kIs1024);
        state.counters["peak_rss"] =
            Counter(static_cast<double>(peak) * 1024.0, Counter::kDefaults, Counter::kIs1024);

        // Each set against the simulator's time; a set whose pulse the simulator could not send on time (a
        // busy machine held it back) is measured against the pulse as it went.
        std::vector<double> errors;
        int within = 0;
        for (std::size_t i = std::max<std::size_t>(setsBefore, 1); i < steps.size(); ++i) {
            const testsupport::PulseTiming pulse = testsupport::PulseBefore(pulses, steps[i].realMicrosOfDay);
            const double error = static_cast<double>(steps[i].offsetUs - 2'750'000 + pulse.late);
            errors.push_back(std::fabs(error));
            within += std::fabs(error) <= 1000 ? 1 : 0;
        }
        state.counters["sets"] = static_cast<double>(errors.size());
        state.counters["set_error_us_median"] = Percentile(errors, 0.5);
        state.counters["set_error_us_p95"] = Percentile(errors, 0.95);
        state.counters["set_error_us_max"] = Percentile(errors, 1.0);
        state.counters["sets_within_1ms_percent"] =
            errors.empty() ? 0.0 : 100.0 * within / static_cast<double>(errors.size());
    }
    fs::remove_all(dir);
}

void BM_IdleAgainstTheSimulator(benchmark::State& state) {
    Run(state, 0);
}
BENCHMARK(BM_IdleAgainstTheSimulator)->Iterations(1)->Unit(benchmark::kSecond);

// The same with the program acting on each edge 25 ms late, as a busy machine would.
void BM_ClockSetsWithALateTick(benchmark::State& state) {
    Run(state, 25);
}
BENCHMARK(BM_ClockSetsWithALateTick)->Iterations(1)->Unit(benchmark::kSecond);

} // namespace
