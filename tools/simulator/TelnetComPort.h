// The server side of a Telnet connection with the COM-PORT option (RFC 2217), with no I/O: it splits what
// the client sends into serial data and commands, answers negotiation and port commands, and encodes data
// and modem-state notifications for the client.
#pragma once

#include "tools/simulator/SimTypes.h"

#include <string>
#include <vector>

namespace receiversim {

namespace telnet {
constexpr std::uint8_t kIac = 255, kDont = 254, kDo = 253, kWont = 252, kWill = 251, kSb = 250, kSe = 240;
constexpr std::uint8_t kBinary = 0, kSuppressGoAhead = 3, kComPort = 44;
// Client commands of the COM-PORT option; the server answers with the code plus 100.
constexpr std::uint8_t kSignature = 0, kSetBaudRate = 1, kSetDataSize = 2, kSetParity = 3, kSetStopSize = 4,
                       kSetControl = 5, kNotifyLineState = 6, kNotifyModemState = 7, kFlowSuspend = 8,
                       kFlowResume = 9, kSetLineStateMask = 10, kSetModemStateMask = 11, kPurgeData = 12;
constexpr std::uint8_t kServerOffset = 100;
// Modem-state bits.
constexpr std::uint8_t kCd = 0x80, kRi = 0x40, kDsr = 0x20, kCts = 0x10, kDeltaCd = 0x08, kDeltaDsr = 0x02,
                       kDeltaCts = 0x01;
} // namespace telnet

class TelnetComPort {
public:
    TelnetComPort();

    // Bytes from the client; returns the serial data among them. Answers go to TakeReplies.
    Bytes Feed(ByteSpan bytes);
    Bytes TakeReplies();
    std::vector<std::string> TakeLog();

    // Serial data for the client, with 0xFF doubled.
    static Bytes EscapeData(ByteSpan data);
    // A NOTIFY-MODEMSTATE for these levels and change bits, masked as the client asked; empty when the
    // mask hides every bit that changed, or the client never took up the COM-PORT option.
    Bytes ModemStateNotification(std::uint8_t state, std::uint8_t changed) const;

    const LineSettings& Line() const { return line_; }
    bool ComPortAgreed() const { return comPortRemote_ || comPortLocal_; }
    bool OutputSuspended() const { return suspended_; }
    std::uint8_t ModemStateMask() const { return modemMask_; }
    // True once after the client asked to drop data not yet sent to it.
    bool TakePurgeOutput();

private:
    void OnOption(std::uint8_t verb, std::uint8_t option);
    void OnSubnegotiation();
    void OnComPortCommand(std::uint8_t command, ByteSpan value);
    void Reply(std::initializer_list<std::uint8_t> bytes);
    void ReplyComPort(std::uint8_t command, ByteSpan value);

    enum class State { Data, Iac, Verb, Sub, SubIac };
    State state_ = State::Data;
    std::uint8_t verb_ = 0;
    Bytes sub_;
    Bytes replies_;
    std::vector<std::string> log_;

    bool binaryRemote_ = false, binaryLocal_ = false;
    bool sgaRemote_ = false, sgaLocal_ = false;
    bool comPortRemote_ = false, comPortLocal_ = false;

    LineSettings line_;
    std::uint8_t control_ = 1;        // no flow control
    std::uint8_t dtr_ = 8, rts_ = 11; // on
    std::uint8_t lineStateMask_ = 0;
    std::uint8_t modemMask_ = 0xFF;
    bool suspended_ = false;
    bool purgeOutput_ = false;
};

} // namespace receiversim
