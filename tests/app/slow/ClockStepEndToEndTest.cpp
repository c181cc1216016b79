// The whole chain at work: the program, headless, linked over RFC 2217 to a simulated receiver whose 1PPS
// comes on DCD, sets the simulated clock at every tick to the receiver's time.
#include "tests/app/slow/EndToEndSupport.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>

namespace {

using namespace endtoend;
using namespace std::chrono_literals;

struct Receiver {
    const char* name;
    std::vector<std::string> simulatorArgs;
    const char* pexMode;
    int rateIndex; // 3: 4800, 4: 9600
    double offsetSeconds;
};

std::ostream& operator<<(std::ostream& out, const Receiver& r) {
    return out << r.name;
}

class ClockStepEndToEnd : public ::testing::TestWithParam<Receiver> {};

// The first step sets the clock to the receiver's time, which the 1PPS edge marks. Every later step finds
// the clock right and leaves it there; a clock that jumps again by the offset each second, or lands a
// fraction of a second off, fails here.
TEST_P(ClockStepEndToEnd, StepsTheSimulatedClockToTheReceiversTimeAtATick) {
    const Receiver& r = GetParam();
    const fs::path dir = testsupport::ScratchDir() / r.name;
    fs::create_directories(dir);
    const fs::path config = dir / "settings";
    const fs::path clockFile = dir / "clock.log";
    WriteSettings(config, r.pexMode, r.rateIndex);

    char offset[16];
    std::snprintf(offset, sizeof offset, "%.3f", r.offsetSeconds);
    std::vector<std::string> args = r.simulatorArgs;
    args.insert(args.end(), {"--offset", offset, "--satellites", "8"});
    Simulator sim(args, dir);
    ASSERT_FALSE(sim.Address().empty()) << sim.Log();
    ASSERT_TRUE(sim.Address().starts_with("rfc2217://")) << sim.Address();

    std::vector<std::string> env = ProgramEnvironment(config, sim.Address(), clockFile);
    env.push_back("DOLIVA_DISPLAY=headless");
    ChildProcess program({ProgramPath(), "-noservice"}, env, dir / "program");
    ASSERT_TRUE(program.Started());

    std::vector<ClockStepLine> steps;
    const auto end = std::chrono::steady_clock::now() + 45s;
    while (steps.size() < 4 && program.Running() && std::chrono::steady_clock::now() < end) {
        std::this_thread::sleep_for(200ms);
        steps = ReadClockSteps(clockFile);
    }
    const bool running = program.Running();
    program.Stop();
    const std::string context = "clock log:\n" + ReadWholeFile(clockFile) + "\nprogram:\n" + program.Stderr() +
                                "\nsimulator (tail):\n" +
                                sim.Log().substr(sim.Log().size() > 4000 ? sim.Log().size() - 4000 : 0);
    ASSERT_TRUE(running) << context;
    ASSERT_GE(steps.size(), 4u) << context;

    const auto offsetMs = static_cast<std::int64_t>(std::llround(r.offsetSeconds * 1000));
    // Where the edges fall in the real second: the receiver's whole seconds.
    const int edgeMillis = static_cast<int>(((1000 - offsetMs % 1000) % 1000 + 1000) % 1000);
    for (std::size_t i = 0; i < steps.size(); ++i) {
        SCOPED_TRACE("step " + std::to_string(i));
        // Set to the receiver's time at the moment of the set (ClockAccuracyEndToEnd holds it to 1 ms). The
        // first tick may come before the line's first rise was stamped and then counts from when it was
        // handled, which a busy machine delays by tens of milliseconds; it must still land on the second.
        const std::int64_t slackMs = i == 0 ? 150 : 20;
        EXPECT_LE(steps[i].offsetMs, offsetMs + slackMs) << context;
        EXPECT_GE(steps[i].offsetMs, offsetMs - slackMs) << context;
        // Taken just after an edge.
        const int sinceEdge = ((steps[i].realMillis - edgeMillis) % 1000 + 1000) % 1000;
        EXPECT_LE(sinceEdge, 150) << context;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Receivers, ClockStepEndToEnd,
    ::testing::Values(Receiver{"OncoreM12",
                               {"--protocol", "oncore", "--channels", "12", "--rate", "9600"},
                               "Motorola Binary",
                               4,
                               3.0},
                      Receiver{
                          "GenericNmea", {"--protocol", "nmea", "--rate", "4800"}, "Generic NMEA", 3, 3.0},
                      Receiver{"UbloxUbx", {"--protocol", "ubx", "--rate", "9600"}, "u-blox UBX", 4, 3.0},
                      // The run command's receiver: a fraction of a second ahead as well.
                      Receiver{"OncoreM12Fraction",
                               {"--protocol", "oncore", "--channels", "12", "--rate", "9600"},
                               "Motorola Binary",
                               4,
                               2.75}),
    [](const ::testing::TestParamInfo<Receiver>& info) { return std::string(info.param.name); });

} // namespace
