#include "tools/simulator/NmeaEngine.h"

#include "tools/simulator/NmeaSentences.h"

namespace receiversim {

NmeaEngine::NmeaEngine(const EngineOptions& options) : ReceiverEngine(options) {}

void NmeaEngine::HandleBytes(ByteSpan bytes) {
    // Nothing is understood, but a developer wants to see what the program tried.
    for (std::uint8_t b : bytes) {
        if (b == '\r' || b == '\n') {
            if (!partial_.empty()) {
                Note("<- " + partial_ + " (not understood)");
                partial_.clear();
            }
        } else if (partial_.size() < 200) {
            partial_ += static_cast<char>(b);
        }
    }
}

void NmeaEngine::HandleSecond() {
    const NmeaSentences nmea(ToCalendar(ReportedTime()), Options(), Sky());
    Send(nmea.Gga());
    Send(nmea.Gsa());
    for (const std::string& gsv : nmea.Gsv()) {
        Send(gsv);
    }
    Send(nmea.Rmc());
    Send(nmea.Zda());
}

} // namespace receiversim
