// The client side of the Telnet COM-PORT-OPTION (RFC 2217): option negotiation, the escaping of IAC in
// both directions, and the sub-negotiations a serial port needs. Pure byte work, no I/O: the connection
// lives in Rfc2217Device. The server's bytes are untrusted; every length is checked.
#pragma once

#include <bitset>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

namespace doliva::serial::rfc2217 {

constexpr std::uint8_t kIac = 255;
constexpr std::uint8_t kDont = 254;
constexpr std::uint8_t kDo = 253;
constexpr std::uint8_t kWont = 252;
constexpr std::uint8_t kWill = 251;
constexpr std::uint8_t kSb = 250;
constexpr std::uint8_t kSe = 240;

constexpr std::uint8_t kOptionBinary = 0;
constexpr std::uint8_t kOptionSuppressGoAhead = 3;
constexpr std::uint8_t kOptionComPort = 44;

// Client commands; the server answers with the same number plus 100.
constexpr std::uint8_t kSetBaudrate = 1;
constexpr std::uint8_t kSetDatasize = 2;
constexpr std::uint8_t kSetParity = 3;
constexpr std::uint8_t kSetStopsize = 4;
constexpr std::uint8_t kSetControl = 5;
constexpr std::uint8_t kNotifyLinestate = 6;
constexpr std::uint8_t kNotifyModemstate = 7;
constexpr std::uint8_t kFlowcontrolSuspend = 8;
constexpr std::uint8_t kFlowcontrolResume = 9;
constexpr std::uint8_t kSetLinestateMask = 10;
constexpr std::uint8_t kSetModemstateMask = 11;
constexpr std::uint8_t kPurgeData = 12;
constexpr std::uint8_t kServerOffset = 100;

// SET-PARITY values.
constexpr std::uint8_t kParityNone = 1;
constexpr std::uint8_t kParityOdd = 2;
constexpr std::uint8_t kParityEven = 3;
constexpr std::uint8_t kParityMark = 4;
constexpr std::uint8_t kParitySpace = 5;
// SET-STOPSIZE values.
constexpr std::uint8_t kStopOne = 1;
constexpr std::uint8_t kStopTwo = 2;
constexpr std::uint8_t kStopOneAndHalf = 3;
// SET-CONTROL values.
constexpr std::uint8_t kControlNoFlow = 1;
constexpr std::uint8_t kControlXonXoff = 2;
constexpr std::uint8_t kControlHardware = 3;
constexpr std::uint8_t kControlBreakOn = 5;
constexpr std::uint8_t kControlBreakOff = 6;
constexpr std::uint8_t kControlDtrOn = 8;
constexpr std::uint8_t kControlDtrOff = 9;
constexpr std::uint8_t kControlRtsOn = 11;
constexpr std::uint8_t kControlRtsOff = 12;
constexpr std::uint8_t kControlInboundNoFlow = 14;
constexpr std::uint8_t kControlInboundXonXoff = 15;
constexpr std::uint8_t kControlInboundHardware = 16;
// PURGE-DATA values.
constexpr std::uint8_t kPurgeReceive = 1;
constexpr std::uint8_t kPurgeTransmit = 2;
constexpr std::uint8_t kPurgeBoth = 3;
// NOTIFY-MODEMSTATE bits.
constexpr std::uint8_t kModemCd = 0x80;
constexpr std::uint8_t kModemRi = 0x40;
constexpr std::uint8_t kModemDsr = 0x20;
constexpr std::uint8_t kModemCts = 0x10;
constexpr std::uint8_t kModemDeltaCd = 0x08;
constexpr std::uint8_t kModemTrailingRi = 0x04;
constexpr std::uint8_t kModemDeltaDsr = 0x02;
constexpr std::uint8_t kModemDeltaCts = 0x01;
// NOTIFY-LINESTATE bits.
constexpr std::uint8_t kLineBreak = 0x10;
constexpr std::uint8_t kLineFraming = 0x08;
constexpr std::uint8_t kLineParity = 0x04;
constexpr std::uint8_t kLineOverrun = 0x02;

// What one batch of the server's bytes held.
struct ServerInput {
    std::vector<std::uint8_t> data;  // the serial data, IAC IAC undone
    std::vector<std::uint8_t> reply; // negotiation answers to send back
    std::vector<std::uint8_t> modemStates;
    std::vector<std::uint8_t> lineStates;
    std::optional<bool> suspended; // the last FLOWCONTROL-SUSPEND (true) or -RESUME (false)
};

class Client {
public:
    // The opening requests: WILL and DO BINARY, WILL and DO SUPPRESS-GO-AHEAD, WILL COM-PORT-OPTION.
    std::vector<std::uint8_t> Greeting();
    // Parses the next bytes of the server's stream; state carries over between calls.
    void Parse(const std::uint8_t* bytes, std::size_t size, ServerInput& out);

    // Whether the server has answered WILL COM-PORT-OPTION, and whether it agreed.
    bool ComPortAnswered() const { return comPortAnswered_; }
    bool ComPortAccepted() const { return local_[kOptionComPort]; }
    // The rate the server last confirmed (0 before any).
    std::uint32_t ConfirmedBaudrate() const { return confirmedBaudrate_; }

    // Serial data with IAC doubled.
    static void AppendData(std::vector<std::uint8_t>& out, const std::uint8_t* bytes, std::size_t size);
    // IAC SB COM-PORT-OPTION command value... IAC SE, the value escaped.
    static void AppendCommand(std::vector<std::uint8_t>& out, std::uint8_t command, const std::uint8_t* value,
                              std::size_t size);
    static void AppendCommand(std::vector<std::uint8_t>& out, std::uint8_t command, std::uint8_t value) {
        AppendCommand(out, command, &value, 1);
    }
    static void AppendBaudrate(std::vector<std::uint8_t>& out, std::uint32_t rate);

private:
    enum class State { Data, Iac, Will, Wont, Do, Dont, Sb, SbIac };
    static constexpr std::size_t kMaxSubnegotiation = 64;

    void Byte(std::uint8_t b, ServerInput& out);
    void Negotiate(std::uint8_t verb, std::uint8_t option, ServerInput& out);
    void Subnegotiation(ServerInput& out);

    State state_ = State::Data;
    std::vector<std::uint8_t> sb_;
    bool sbOverflow_ = false;
    std::bitset<256> local_;      // options we perform (we said WILL and the server agreed)
    std::bitset<256> localAsked_; // our WILL awaits an answer
    std::bitset<256> localRefused_;
    std::bitset<256> remote_; // options the server performs
    std::bitset<256> remoteAsked_;
    std::bitset<256> remoteRefused_;
    bool comPortAnswered_ = false;
    std::uint32_t confirmedBaudrate_ = 0;
};

} // namespace doliva::serial::rfc2217
