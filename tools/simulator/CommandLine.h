// The options of doliva-receiver-sim, and the engine they describe.
#pragma once

#include "tools/simulator/OncoreEngine.h"
#include "tools/simulator/ReplayEngine.h"
#include "tools/simulator/SimulatorSession.h"
#include "tools/simulator/UbxEngine.h"

#include <memory>
#include <string>
#include <vector>

namespace receiversim {

struct SimulatorConfig {
    std::string protocol = "oncore"; // oncore, nmea or ubx
    EngineOptions engine;
    OncoreOptions oncore;
    UbxOptions ubx;
    bool rateGiven = false;
    SessionOptions session;
    std::string replayFile;
    bool replayLoop = false;
    CaptureFormat replayFormat = CaptureFormat::Auto;
    bool quiet = false;
    bool help = false;
};

bool ParseCommandLine(const std::vector<std::string>& args, SimulatorConfig& config, std::string& error);
std::unique_ptr<ReceiverEngine> MakeEngine(const SimulatorConfig& config, std::string& error);
std::string UsageText();

} // namespace receiversim
