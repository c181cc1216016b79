// The built program and the receiver simulator run as processes beside the test: settings in a scratch
// directory, COM1 pointed at the simulator's RFC 2217 address, and the simulated clock's step log
// (support/SimulatorRun.h), with the paths of this build.
#pragma once

#include "support/SimulatorRun.h"
#include "support/TestSupport.h"

#include <cctype>
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
using testsupport::ClockStepLine;
using testsupport::ProgramEnvironment;
using testsupport::PulseBefore;
using testsupport::PulseTiming;
using testsupport::PulseTimings;
using testsupport::ReadClockSteps;
using testsupport::ReadWholeFile;
using testsupport::ReceiverSimulator;
using testsupport::WriteSettings;

// The simulator built beside the program.
class Simulator : public ReceiverSimulator {
public:
    Simulator(std::vector<std::string> args, const fs::path& dir, const std::string& listen = "127.0.0.1:0")
        : ReceiverSimulator(std::string(DOLIVA_BINARY_DIR) + "/tools/simulator/doliva-receiver-sim",
                            std::move(args), dir, listen) {}
};

inline std::string ProgramPath() {
    return std::string(DOLIVA_BINARY_DIR) + "/app/doliva";
}

} // namespace endtoend
