// The base of the simulated receivers: a protocol engine with no I/O. The transport hands it the bytes the
// program wrote (with the line settings the program wrote them at) and calls it once per simulated second;
// both return what the receiver sends, with the settings it sends it at.
#pragma once

#include "tools/simulator/SimTypes.h"

#include <chrono>
#include <string>
#include <vector>

namespace receiversim {

struct Satellite {
    int prn = 0;
    int elevation = 0; // degrees
    int azimuth = 0;   // degrees
    int cno = 0;       // dB-Hz
    int dopplerHz = 0;
    bool used = false;
};

struct EngineOptions {
    LineSettings line;
    // Reported GPS time minus the clock's time: lets a test or a developer make the receiver lie.
    std::chrono::nanoseconds timeOffset{0};
    // When the second's messages leave after the 1PPS edge.
    std::chrono::milliseconds messageDelay{150};
    double latitude = 47.376900;    // degrees, north positive
    double longitude = 8.541700;    // degrees, east positive
    double heightEllipsoid = 456.0; // metres
    double heightMsl = 408.0;       // metres
    int satellites = 9;             // in view, at most 16
    int leapSeconds = 18;           // GPS - UTC
};

// The dilutions of precision every simulated fix reports.
struct Dops {
    static constexpr double geometric = 2.1;
    static constexpr double position = 1.8;
    static constexpr double time = 0.9;
    static constexpr double vertical = 1.5;
    static constexpr double horizontal = 1.0;
};

// Satellites in view, taken from a fixed sky; those above 10 degrees are used in the fix.
std::vector<Satellite> SkySatellites(int count);

class ReceiverEngine {
public:
    explicit ReceiverEngine(const EngineOptions& options);
    virtual ~ReceiverEngine();
    ReceiverEngine(const ReceiverEngine&) = delete;
    ReceiverEngine& operator=(const ReceiverEngine&) = delete;

    // Bytes the program wrote at hostLine. A receiver at other settings reads only noise: the bytes are
    // dropped, and so is any command they interrupted.
    std::vector<Emission> OnReceived(ByteSpan bytes, const LineSettings& hostLine);
    std::vector<Emission> OnReceived(ByteSpan bytes) { return OnReceived(bytes, line_); }
    std::vector<Emission> OnReceived(std::string_view text) {
        return OnReceived(ByteSpan(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()), line_);
    }
    // The 1PPS edge at this instant of the clock; returns the second's output.
    std::vector<Emission> OnSecond(UtcInstant edge);
    // Sets the clock without a second's output, for answers to polls before the first edge.
    void SetClock(UtcInstant edge) { edge_ = edge; }

    const LineSettings& Line() const { return line_; }
    virtual std::string ProtocolState() const = 0;
    virtual std::string Name() const = 0;
    // Log lines about what was received (one per command) since the last call.
    std::vector<std::string> TakeLog();
    // The time the receiver reports for the last edge: the clock plus the offset.
    UtcInstant ReportedTime() const { return edge_ + options_.timeOffset; }
    const EngineOptions& Options() const { return options_; }

protected:
    virtual void HandleBytes(ByteSpan bytes) = 0;
    virtual void HandleSecond() = 0;
    // Forget a partly received command.
    virtual void ResetInput() {}

    // Queues bytes at the current settings: with the second's delay inside HandleSecond, at once otherwise.
    void Send(Bytes bytes, std::string label);
    // Text is labelled with itself, without its line end, unless a label is given.
    void Send(std::string_view text, std::string label = {});
    // Later output goes out at these settings; what was queued before keeps the old ones.
    void SwitchLine(const LineSettings& line);
    void Note(std::string line);
    const std::vector<Satellite>& Sky() const { return sky_; }
    int UsedCount() const;
    int SecondsRun() const { return secondsRun_; }

private:
    EngineOptions options_;
    LineSettings line_;
    UtcInstant edge_{};
    bool inSecond_ = false;
    int secondsRun_ = 0;
    std::vector<Satellite> sky_;
    std::vector<Emission> pending_;
    std::vector<std::string> log_;
};

} // namespace receiversim
