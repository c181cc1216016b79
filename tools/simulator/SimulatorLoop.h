// Runs a receiver engine over a transport: waits for the program's bytes, makes the 1PPS edges and the
// seconds, and sends the receiver's output when it is due, paced at the line rate.
#pragma once

#include "tools/simulator/ReceiverEngine.h"
#include "tools/simulator/Transport.h"

#include <atomic>
#include <chrono>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <vector>

namespace receiversim {

enum class PulseMode {
    Normal, // one pulse a second, 100 ms high
    Short,  // one pulse a second, 30 microseconds high
    Hz100,  // a hundred pulses a second, 2 ms high; the second's messages still come once a second
};

struct LoopOptions {
    PulseMode pulse = PulseMode::Normal;
    // Output leaves no faster than the line rate; off, each message is written at once.
    bool pace = true;
    // The seconds come only from TriggerSecond, not from the clock.
    bool manualSeconds = false;
    // The clock whose seconds the receiver reports (before its offset); empty: the system's real time.
    std::function<UtcInstant()> clock;
    // One line per event: what came in, what went out; empty: silent.
    std::function<void(const std::string&)> log;
};

class SimulatorLoop : private TransportSink {
public:
    SimulatorLoop(std::unique_ptr<ReceiverEngine> engine, std::unique_ptr<Transport> transport,
                  LoopOptions options);
    ~SimulatorLoop() override;
    SimulatorLoop(const SimulatorLoop&) = delete;
    SimulatorLoop& operator=(const SimulatorLoop&) = delete;

    std::string Target() const { return transport_->Target(); }
    // Runs until Stop.
    void Run();
    // From any thread, and from a signal handler.
    void Stop();
    // From any thread: a 1PPS edge now, reported as this instant of the clock.
    void TriggerSecond(UtcInstant edge);
    // From any thread: fn runs with the engine while the loop leaves it alone.
    void WithEngine(const std::function<void(ReceiverEngine&)>& fn);

private:
    using Clock = std::chrono::steady_clock;
    struct Outgoing {
        Bytes bytes;
        std::size_t sent = 0;
        LineSettings line;
        std::string label;
        bool started = false;
    };

    void OnData(ByteSpan bytes, const LineSettings& hostLine) override;
    void OnLog(const std::string& line) override { Log(line); }
    void OnPurgeOutput() override;

    UtcInstant Now() const;
    // The clock plus the engine's offset: the time the receiver keeps.
    UtcInstant ReceiverNow() const;
    void Log(const std::string& line);
    void TakeEngineLog();
    void Schedule(std::vector<Emission> emissions, Clock::time_point base);
    void ScheduleNextSecond();
    void FireSecond(UtcInstant label, Clock::time_point at);
    void Rise(Clock::time_point at);
    void ProcessDue(Clock::time_point now);
    void WriteOutput(Clock::time_point now);
    std::chrono::nanoseconds Timeout(Clock::time_point now);

    std::unique_ptr<ReceiverEngine> engine_;
    std::unique_ptr<Transport> transport_;
    LoopOptions options_;
    std::mutex engineMutex_;
    int wakeFd_ = -1;
    std::atomic<bool> stop_{false};
    std::mutex triggerMutex_;
    std::vector<UtcInstant> triggers_;

    std::optional<Clock::time_point> nextSecond_;
    std::optional<Clock::time_point> fallAt_;
    // When the last rising edge was handed to the transport, and when the transport had sent it.
    Clock::time_point riseStarted_{};
    Clock::time_point riseSent_{};
    std::deque<Clock::time_point> subEdges_;
    std::multimap<Clock::time_point, Emission> scheduled_;
    std::deque<Outgoing> out_;
    double credit_ = 0;
    Clock::time_point lastCredit_{};
};

} // namespace receiversim
