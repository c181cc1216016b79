// A u-blox timing receiver speaking UBX: version poll, CFG acknowledgements (and the port rate after the
// acknowledgement), leap-second data, and the navigation messages once a second. Its NMEA output is
// switched by CFG-MSG like the UBX messages.
#pragma once

#include "tools/simulator/ReceiverEngine.h"

#include <map>
#include <string>
#include <vector>

namespace receiversim {

struct UbxOptions {
    std::string software = "ROM CORE 3.01 (107888)";
    std::string hardware = "00080000";
    std::vector<std::string> extensions = {"FWVER=TIM 1.10", "PROTVER=22.00", "MOD=NEO-M8T",
                                           "GPS;GLO;GAL;BDS", "SBAS;IMES;QZSS"};
    // Starts with NMEA output (GGA, GSA, GSV, RMC, ZDA) in place of the UBX navigation messages.
    bool nmeaAtStart = false;
};

class UbxEngine : public ReceiverEngine {
public:
    UbxEngine(const EngineOptions& options, const UbxOptions& ubx);

    std::string ProtocolState() const override;
    std::string Name() const override { return "u-blox"; }
    // Navigation solutions (seconds) between two outputs of a message on the port; 0 when off.
    int MessageRate(std::uint8_t cls, std::uint8_t id) const;

    Bytes MonVer() const;     // payload of MON-VER
    Bytes NavTimeUtc() const; // payload of NAV-TIMEUTC
    Bytes AidHui() const;     // payload of AID-HUI

protected:
    void HandleBytes(ByteSpan bytes) override;
    void HandleSecond() override;
    void ResetInput() override { input_.clear(); }

private:
    void ParseFrames();
    void Execute(std::uint8_t cls, std::uint8_t id, ByteSpan payload);
    void ExecuteCfg(std::uint8_t id, ByteSpan payload);
    void SendUbx(std::uint8_t cls, std::uint8_t id, const Bytes& payload);
    void Ack(bool ok, std::uint8_t id);
    // The payload of an output message, or nothing when this receiver does not make it.
    bool Build(std::uint8_t cls, std::uint8_t id, Bytes& payload) const;
    Bytes PortConfig() const;

    std::uint32_t Tow() const; // GPS time of week of the reported time, ms
    Bytes NavPosLlh() const;
    Bytes NavStatus() const;
    Bytes NavDop() const;
    Bytes NavTimeGps() const;
    Bytes NavSvInfo() const;
    Bytes MonHw() const;
    Bytes TimTp() const;

    UbxOptions ubx_;
    Bytes input_;
    std::map<std::uint16_t, int> rates_;
    std::map<std::uint8_t, Bytes> cfg_; // last payload of each CFG set
    std::uint16_t inProtocols_ = 0x0003;
    std::uint16_t outProtocols_ = 0x0003;
};

} // namespace receiversim
