#include "tools/simulator/TelnetComPort.h"

#include <utility>

namespace receiversim {

using namespace telnet;

namespace {

const char* VerbName(std::uint8_t verb) {
    switch (verb) {
    case kWill:
        return "WILL";
    case kWont:
        return "WONT";
    case kDo:
        return "DO";
    default:
        return "DONT";
    }
}

std::string OptionName(std::uint8_t option) {
    switch (option) {
    case kBinary:
        return "BINARY";
    case kSuppressGoAhead:
        return "SUPPRESS-GO-AHEAD";
    case kComPort:
        return "COM-PORT-OPTION";
    default:
        return "option " + std::to_string(option);
    }
}

} // namespace

TelnetComPort::TelnetComPort() {
    // The port's state before the client sets anything.
    line_ = LineSettings{9600, 8, Parity::None, 1};
}

Bytes TelnetComPort::Feed(ByteSpan bytes) {
    Bytes data;
    for (std::uint8_t b : bytes) {
        switch (state_) {
        case State::Data:
            if (b == kIac) {
                state_ = State::Iac;
            } else {
                data.push_back(b);
            }
            break;
        case State::Iac:
            if (b == kIac) {
                data.push_back(kIac); // a doubled 0xFF is one data byte
                state_ = State::Data;
            } else if (b == kWill || b == kWont || b == kDo || b == kDont) {
                verb_ = b;
                state_ = State::Verb;
            } else if (b == kSb) {
                sub_.clear();
                state_ = State::Sub;
            } else {
                state_ = State::Data; // NOP, GA and the like
            }
            break;
        case State::Verb:
            OnOption(verb_, b);
            state_ = State::Data;
            break;
        case State::Sub:
            if (b == kIac) {
                state_ = State::SubIac;
            } else if (sub_.size() < 512) {
                sub_.push_back(b);
            }
            break;
        case State::SubIac:
            if (b == kSe) {
                OnSubnegotiation();
                state_ = State::Data;
            } else {
                if (sub_.size() < 512) {
                    sub_.push_back(b); // IAC IAC inside a subnegotiation
                }
                state_ = State::Sub;
            }
            break;
        }
    }
    return data;
}

Bytes TelnetComPort::TakeReplies() {
    return std::exchange(replies_, {});
}

std::vector<std::string> TelnetComPort::TakeLog() {
    return std::exchange(log_, {});
}

bool TelnetComPort::TakePurgeOutput() {
    return std::exchange(purgeOutput_, false);
}

Bytes TelnetComPort::EscapeData(ByteSpan data) {
    Bytes out;
    out.reserve(data.size());
    for (std::uint8_t b : data) {
        out.push_back(b);
        if (b == kIac) {
            out.push_back(kIac);
        }
    }
    return out;
}

Bytes TelnetComPort::ModemStateNotification(std::uint8_t state, std::uint8_t changed) const {
    if (!ComPortAgreed() || (changed & modemMask_) == 0) {
        return {};
    }
    const std::uint8_t value = state & modemMask_;
    Bytes out{kIac, kSb, kComPort, static_cast<std::uint8_t>(kNotifyModemState + kServerOffset)};
    const Bytes escaped = EscapeData(ByteSpan(&value, 1));
    out.insert(out.end(), escaped.begin(), escaped.end());
    out.push_back(kIac);
    out.push_back(kSe);
    return out;
}

void TelnetComPort::Reply(std::initializer_list<std::uint8_t> bytes) {
    replies_.insert(replies_.end(), bytes);
}

void TelnetComPort::OnOption(std::uint8_t verb, std::uint8_t option) {
    log_.push_back(std::string("telnet: client ") + VerbName(verb) + " " + OptionName(option));
    bool* remote = option == kBinary            ? &binaryRemote_
                   : option == kSuppressGoAhead ? &sgaRemote_
                   : option == kComPort         ? &comPortRemote_
                                                : nullptr;
    bool* local = option == kBinary            ? &binaryLocal_
                  : option == kSuppressGoAhead ? &sgaLocal_
                  : option == kComPort         ? &comPortLocal_
                                               : nullptr;
    // Answer only changes of state, so that two ends never loop on each other's answers.
    switch (verb) {
    case kWill:
        if (remote == nullptr) {
            Reply({kIac, kDont, option});
        } else if (!*remote) {
            *remote = true;
            Reply({kIac, kDo, option});
        }
        break;
    case kWont:
        if (remote != nullptr && *remote) {
            *remote = false;
            Reply({kIac, kDont, option});
        }
        break;
    case kDo:
        if (local == nullptr) {
            Reply({kIac, kWont, option});
        } else if (!*local) {
            *local = true;
            Reply({kIac, kWill, option});
        }
        break;
    case kDont:
        if (local != nullptr && *local) {
            *local = false;
            Reply({kIac, kWont, option});
        }
        break;
    default:
        break;
    }
}

void TelnetComPort::OnSubnegotiation() {
    if (sub_.size() < 2 || sub_[0] != kComPort) {
        log_.push_back("telnet: subnegotiation ignored");
        return;
    }
    OnComPortCommand(sub_[1], ByteSpan(sub_).subspan(2));
}

void TelnetComPort::ReplyComPort(std::uint8_t command, ByteSpan value) {
    Reply({kIac, kSb, kComPort, static_cast<std::uint8_t>(command + kServerOffset)});
    const Bytes escaped = EscapeData(value);
    replies_.insert(replies_.end(), escaped.begin(), escaped.end());
    Reply({kIac, kSe});
}

void TelnetComPort::OnComPortCommand(std::uint8_t command, ByteSpan value) {
    const std::uint8_t v = value.empty() ? 0 : value[0];
    auto reply1 = [&](std::uint8_t byte) { ReplyComPort(command, ByteSpan(&byte, 1)); };
    switch (command) {
    case kSignature: {
        log_.push_back("rfc2217: SIGNATURE");
        static constexpr char kName[] = "doliva receiver simulator";
        ReplyComPort(command, ByteSpan(reinterpret_cast<const std::uint8_t*>(kName), sizeof kName - 1));
        break;
    }
    case kSetBaudRate: {
        if (value.size() >= 4) {
            const auto baud = static_cast<std::uint32_t>(GetBe(value, 0, 4));
            if (baud != 0) {
                line_.baud = baud;
            }
        }
        log_.push_back("rfc2217: SET-BAUDRATE " + std::to_string(line_.baud));
        Bytes answer;
        PutBe(answer, line_.baud, 4);
        ReplyComPort(command, answer);
        break;
    }
    case kSetDataSize:
        if (v >= 5 && v <= 8) {
            line_.dataBits = v;
        }
        log_.push_back("rfc2217: SET-DATASIZE " + std::to_string(line_.dataBits));
        reply1(line_.dataBits);
        break;
    case kSetParity: {
        static constexpr Parity kParities[] = {Parity::None, Parity::None, Parity::Odd,
                                               Parity::Even, Parity::Mark, Parity::Space};
        if (v >= 1 && v <= 5) {
            line_.parity = kParities[v];
        }
        log_.push_back(std::string("rfc2217: SET-PARITY ") + static_cast<char>(line_.parity));
        std::uint8_t code = 1;
        for (std::uint8_t i = 1; i <= 5; ++i) {
            if (kParities[i] == line_.parity) {
                code = i;
                break;
            }
        }
        reply1(code);
        break;
    }
    case kSetStopSize:
        if (v == 1 || v == 2) {
            line_.stopBits = v;
        }
        log_.push_back("rfc2217: SET-STOPSIZE " + std::to_string(line_.stopBits));
        reply1(v == 3 ? 3 : line_.stopBits);
        break;
    case kSetControl: {
        std::uint8_t answer = v;
        if (v == 0) {
            answer = control_;
        } else if (v <= 3) {
            control_ = v;
        } else if (v == 4) {
            answer = 6; // break off
        } else if (v == 7) {
            answer = dtr_;
        } else if (v == 8 || v == 9) {
            dtr_ = v;
        } else if (v == 10) {
            answer = rts_;
        } else if (v == 11 || v == 12) {
            rts_ = v;
        } else if (v == 13) {
            answer = 14; // no inbound flow control
        }
        log_.push_back("rfc2217: SET-CONTROL " + std::to_string(v));
        reply1(answer);
        break;
    }
    case kFlowSuspend:
        suspended_ = true;
        log_.push_back("rfc2217: FLOWCONTROL-SUSPEND");
        break;
    case kFlowResume:
        suspended_ = false;
        log_.push_back("rfc2217: FLOWCONTROL-RESUME");
        break;
    case kSetLineStateMask:
        lineStateMask_ = v;
        log_.push_back("rfc2217: SET-LINESTATE-MASK " + std::to_string(v));
        reply1(v);
        break;
    case kSetModemStateMask:
        modemMask_ = v;
        log_.push_back("rfc2217: SET-MODEMSTATE-MASK " + std::to_string(v));
        reply1(v);
        break;
    case kPurgeData:
        if (v == 2 || v == 3) {
            purgeOutput_ = true;
        }
        log_.push_back("rfc2217: PURGE-DATA " + std::to_string(v));
        reply1(v);
        break;
    default:
        log_.push_back("rfc2217: command " + std::to_string(command) + " ignored");
        break;
    }
}

} // namespace receiversim
