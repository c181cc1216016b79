#include "tools/simulator/ReceiverEngine.h"

#include <algorithm>
#include <iterator>
#include <utility>

namespace receiversim {

namespace {

// A plausible sky: a spread of elevations and azimuths, signal falling with elevation.
constexpr Satellite kSky[] = {
    {5, 72, 301, 49, -512, true},   {13, 64, 118, 48, 1240, true},  {2, 55, 45, 47, -2210, true},
    {29, 48, 212, 46, 830, true},   {15, 41, 160, 45, -1570, true}, {18, 33, 258, 43, 2870, true},
    {21, 27, 82, 41, -3120, true},  {26, 19, 334, 39, 3305, true},  {10, 14, 190, 37, -2980, true},
    {7, 9, 12, 34, 3410, false},    {30, 6, 140, 31, -3550, false}, {24, 4, 236, 29, 3620, false},
    {16, 3, 290, 27, -3700, false}, {8, 2, 100, 25, 3750, false},   {12, 1, 20, 24, -3800, false},
    {31, 1, 170, 23, 3810, false},
};

} // namespace

std::vector<Satellite> SkySatellites(int count) {
    const int n = std::clamp(count, 0, static_cast<int>(std::size(kSky)));
    return std::vector<Satellite>(std::begin(kSky), std::begin(kSky) + n);
}

ReceiverEngine::ReceiverEngine(const EngineOptions& options)
    : options_(options), line_(options.line), sky_(SkySatellites(options.satellites)) {}

ReceiverEngine::~ReceiverEngine() = default;

std::vector<Emission> ReceiverEngine::OnReceived(ByteSpan bytes, const LineSettings& hostLine) {
    if (bytes.empty()) {
        return {};
    }
    if (!hostLine.Matches(line_)) {
        Note("ignored " + std::to_string(bytes.size()) + " bytes sent at " + hostLine.ToString() +
             " (receiver at " + line_.ToString() + ")");
        ResetInput();
        return {};
    }
    HandleBytes(bytes);
    return std::exchange(pending_, {});
}

std::vector<Emission> ReceiverEngine::OnSecond(UtcInstant edge) {
    edge_ = edge;
    inSecond_ = true;
    HandleSecond();
    inSecond_ = false;
    ++secondsRun_;
    return std::exchange(pending_, {});
}

std::vector<std::string> ReceiverEngine::TakeLog() {
    return std::exchange(log_, {});
}

void ReceiverEngine::Send(Bytes bytes, std::string label) {
    Emission e;
    e.delay = inSecond_ ? std::chrono::duration_cast<std::chrono::microseconds>(options_.messageDelay)
                        : std::chrono::microseconds(0);
    e.bytes = std::move(bytes);
    e.line = line_;
    e.label = std::move(label);
    pending_.push_back(std::move(e));
}

void ReceiverEngine::Send(std::string_view text, std::string label) {
    if (label.empty()) {
        label = text.substr(0, text.find_first_of("\r\n"));
    }
    Send(Bytes(text.begin(), text.end()), std::move(label));
}

void ReceiverEngine::SwitchLine(const LineSettings& line) {
    if (!(line == line_)) {
        Note("line now " + line.ToString() + " (was " + line_.ToString() + ")");
    }
    line_ = line;
}

void ReceiverEngine::Note(std::string line) {
    log_.push_back(std::move(line));
}

int ReceiverEngine::UsedCount() const {
    return static_cast<int>(
        std::count_if(sky_.begin(), sky_.end(), [](const Satellite& s) { return s.used; }));
}

} // namespace receiversim
