// The program against the receiver simulator over RFC 2217 when things go wrong: a server that goes away
// and comes back, and a program that acts on each 1PPS edge late, after the next second's time message.
#include "tests/app/slow/EndToEndSupport.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <optional>

namespace {

using namespace endtoend;
using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

constexpr std::int64_t kOffsetMs = 3000; // the simulator's time runs this far ahead of the real clock

std::vector<std::string> OncoreArgs() {
    return {"--protocol", "oncore",   "--channels", "12",           "--rate",
            "9600",       "--offset", "3.000",      "--satellites", "8"};
}

std::size_t CountOf(const std::string& text, const std::string& part) {
    std::size_t count = 0;
    for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) {
        ++count;
    }
    return count;
}

// Waits until the clock log holds more than `count` steps; how long that took, or nothing.
std::optional<Clock::duration> WaitForStepsBeyond(const fs::path& clockFile, std::size_t count,
                                                  ChildProcess& program, Clock::duration limit) {
    const auto start = Clock::now();
    while (Clock::now() - start < limit && program.Running()) {
        if (ReadClockSteps(clockFile).size() > count) {
            return Clock::now() - start;
        }
        std::this_thread::sleep_for(100ms);
    }
    return std::nullopt;
}

// The server goes away: the program says so once, sets no clock while it is gone, and finds it again on
// its own once it is back (no auto-restart), setting the clock right again within 15 s.
TEST(ReceiverLossEndToEnd, AServerThatGoesAwayIsToldSetsNoClockMeanwhileAndIsFoundAgain) {
    const fs::path dir = testsupport::ScratchDir() / "receiver-loss";
    fs::create_directories(dir);
    const fs::path config = dir / "settings";
    const fs::path clockFile = dir / "clock.log";
    WriteSettings(config, "Motorola Binary", 4);

    std::optional<Simulator> sim(std::in_place, OncoreArgs(), dir);
    const std::string address = sim->Address();
    ASSERT_TRUE(address.starts_with("rfc2217://")) << address << sim->Log();
    std::vector<std::string> env = ProgramEnvironment(config, address, clockFile);
    env.push_back("DOLIVA_DISPLAY=headless");
    ChildProcess program({ProgramPath(), "-noservice"}, env, dir / "program");
    ASSERT_TRUE(program.Started());
    const auto context = [&] {
        return "clock log:\n" + ReadWholeFile(clockFile) + "\nprogram:\n" + program.Stderr();
    };

    ASSERT_TRUE(WaitForStepsBeyond(clockFile, 1, program, 45s)) << context();
    sim.reset();
    // A step already under way when the server went may still land.
    std::this_thread::sleep_for(1500ms);
    const std::size_t whileGone = ReadClockSteps(clockFile).size();
    std::this_thread::sleep_for(6s);
    EXPECT_EQ(ReadClockSteps(clockFile).size(), whileGone) << "no step without a receiver\n" << context();
    EXPECT_EQ(CountOf(program.Stderr(), " lost - "), 1u) << context();

    sim.emplace(OncoreArgs(), dir, address.substr(std::string("rfc2217://").size()));
    ASSERT_EQ(sim->Address(), address) << sim->Log();
    const auto back = WaitForStepsBeyond(clockFile, whileGone, program, 20s);
    ASSERT_TRUE(back) << context();
    EXPECT_LT(*back, 15s) << context();
    EXPECT_EQ(CountOf(program.Stderr(), " open again"), 1u) << context();
    const std::vector<ClockStepLine> steps = ReadClockSteps(clockFile);
    EXPECT_NEAR(static_cast<double>(steps.back().offsetMs), static_cast<double>(kOffsetMs), 20.0)
        << context();
    EXPECT_TRUE(program.Running()) << context();
}

struct LateReceiver {
    const char* name;
    std::vector<std::string> simulatorArgs;
    const char* pexMode;
    int rateIndex; // 3: 4800, 4: 9600
};

std::ostream& operator<<(std::ostream& out, const LateReceiver& r) {
    return out << r.name;
}

class LateTickEndToEnd : public ::testing::TestWithParam<LateReceiver> {};

// Each tick is handled 600 ms after its edge, long after the next second's time message came in and while
// the program goes on handling it: every set must still use the time of the tick's own edge, not the
// following second.
TEST_P(LateTickEndToEnd, ATickHandledAfterTheNextTimeMessageSetsTheTimeOfItsOwnEdge) {
    const LateReceiver& r = GetParam();
    const fs::path dir = testsupport::ScratchDir() / (std::string("late-") + r.name);
    fs::create_directories(dir);
    const fs::path config = dir / "settings";
    const fs::path clockFile = dir / "clock.log";
    WriteSettings(config, r.pexMode, r.rateIndex);
    std::vector<std::string> args = r.simulatorArgs;
    args.insert(args.end(), {"--offset", "3.000", "--satellites", "8"});
    Simulator sim(args, dir);
    ASSERT_TRUE(sim.Address().starts_with("rfc2217://")) << sim.Log();

    std::vector<std::string> env = ProgramEnvironment(config, sim.Address(), clockFile);
    env.push_back("DOLIVA_DISPLAY=headless");
    env.push_back("DOLIVA_TICK_DELAY_MS=600");
    ChildProcess program({ProgramPath(), "-noservice"}, env, dir / "program");
    ASSERT_TRUE(program.Started());
    std::vector<ClockStepLine> steps;
    const auto end = Clock::now() + 45s;
    while (steps.size() < 4 && program.Running() && Clock::now() < end) {
        std::this_thread::sleep_for(200ms);
        steps = ReadClockSteps(clockFile);
    }
    const std::string context = "clock log:\n" + ReadWholeFile(clockFile) + "\nprogram:\n" + program.Stderr();
    ASSERT_GE(steps.size(), 4u) << context;
    // The following second's time would be a whole second off; the simulator's edges themselves come tens
    // of milliseconds late on a loaded machine (ClockAccuracyEndToEnd holds the precision).
    for (std::size_t i = 0; i < steps.size(); ++i) {
        EXPECT_NEAR(static_cast<double>(steps[i].offsetMs), static_cast<double>(kOffsetMs), 100.0)
            << "step " << i << "\n"
            << context;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Receivers, LateTickEndToEnd,
    ::testing::Values(LateReceiver{"OncoreM12",
                                   {"--protocol", "oncore", "--channels", "12", "--rate", "9600"},
                                   "Motorola Binary",
                                   4},
                      LateReceiver{
                          "GenericNmea", {"--protocol", "nmea", "--rate", "4800"}, "Generic NMEA", 3},
                      LateReceiver{"UbloxUbx", {"--protocol", "ubx", "--rate", "9600"}, "u-blox UBX", 4}),
    [](const ::testing::TestParamInfo<LateReceiver>& info) { return std::string(info.param.name); });

} // namespace
