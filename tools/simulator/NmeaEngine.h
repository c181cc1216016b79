// A generic NMEA receiver: GGA, GSA, GSV, RMC and ZDA once a second; it takes no commands.
#pragma once

#include "tools/simulator/ReceiverEngine.h"

namespace receiversim {

class NmeaEngine : public ReceiverEngine {
public:
    explicit NmeaEngine(const EngineOptions& options);
    std::string ProtocolState() const override { return "nmea"; }
    std::string Name() const override { return "generic NMEA"; }

protected:
    void HandleBytes(ByteSpan bytes) override;
    void HandleSecond() override;

private:
    std::string partial_;
};

} // namespace receiversim
