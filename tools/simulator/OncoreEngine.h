// A Motorola Oncore receiver of 6, 8 or 12 channels: its binary "@@" protocol, and its NMEA and LORAN
// modes reached by "@@Ci".
#pragma once

#include "tools/simulator/ReceiverEngine.h"

#include <map>
#include <optional>
#include <string>

namespace receiversim {

enum class OncoreProtocol { Binary, Nmea, Loran };

struct OncoreOptions {
    int channels = 8; // 6, 8 or 12
    OncoreProtocol protocol = OncoreProtocol::Binary;
    // The identity answer's first line (33 characters); its maker's name stands at fixed columns.
    std::string copyright = "COPYRIGHT 1991-2000 MOTOROLA INC.";
    std::string modelNumber; // empty: one that names the channel count's model family
    std::string softwareVersion = "10";
    std::string softwareRevision = "2";
    std::string softwareDate = "JUN 13 2000";
    bool traim = true; // answers the T-RAIM commands of its channel count
    bool dgps = false; // answers "@@Bh" with "@@Ce"
    // Sends its channel count's position message every second from the start, as a receiver that was set
    // up before; otherwise it waits to be asked.
    bool continuousAtStart = true;
};

class OncoreEngine : public ReceiverEngine {
public:
    OncoreEngine(const EngineOptions& options, const OncoreOptions& oncore);

    std::string ProtocolState() const override;
    std::string Name() const override;
    OncoreProtocol Protocol() const { return protocol_; }
    const OncoreOptions& Oncore() const { return oncore_; }
    // Seconds between two outputs of a message ("Ea", "GGA", ...); 0 when it is not sent on its own.
    int OutputRate(const std::string& id) const;

    // The "@@Cj" answer's payload: 287 characters in ten lines.
    static Bytes IdentityPayload(const OncoreOptions& oncore);
    static std::string DefaultModelNumber(int channels);
    // The rate a "@@Wb" code names, or none for a code the receiver does not know.
    static std::optional<std::uint32_t> RateFromCode(std::uint8_t high, std::uint8_t low);
    // Whole message length (from "@@" to LF) of an output message, or 0.
    static int MessageLength(std::string_view id);

protected:
    void HandleBytes(ByteSpan bytes) override;
    void HandleSecond() override;
    void ResetInput() override;

private:
    void ParseBinary();
    void ExecuteBinary(const std::string& id, ByteSpan params);
    void ExecuteText(const std::string& line);
    void ExecuteNmea(const std::string& line);
    void ExecuteLoran(const std::string& line);
    void SendOncore(const std::string& id, const Bytes& payload);
    void SetProtocol(OncoreProtocol protocol);

    Bytes CommonFields() const;               // bytes 4-30 of the position messages
    Bytes PositionMessage(char family) const; // 'B', 'E' or 'H'
    Bytes ShortPositionMessage() const;       // "@@Hb"
    Bytes VisibleSatellites() const;          // "@@Bb"
    Bytes TraimStatus(const std::string& id) const;
    bool Answers(const std::string& id) const;
    std::string LoranTimeLine() const;

    OncoreOptions oncore_;
    OncoreProtocol protocol_;
    Bytes binaryInput_;
    std::string textInput_;
    std::map<std::string, int> binaryRates_;
    std::map<std::string, int> nmeaRates_;
    bool loranContinuous_ = false;
    std::map<std::string, Bytes> settings_; // last parameters of each set command
    Bytes traimSetup_;
    std::string traimId_;
    int traimRate_ = 0;
};

} // namespace receiversim
