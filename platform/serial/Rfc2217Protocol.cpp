#include "platform/serial/Rfc2217Protocol.h"

namespace doliva::serial::rfc2217 {

namespace {

bool WeOffer(std::uint8_t option) {
    return option == kOptionBinary || option == kOptionSuppressGoAhead || option == kOptionComPort;
}

bool WeAccept(std::uint8_t option) {
    return option == kOptionBinary || option == kOptionSuppressGoAhead;
}

void Push3(std::vector<std::uint8_t>& out, std::uint8_t verb, std::uint8_t option) {
    out.push_back(kIac);
    out.push_back(verb);
    out.push_back(option);
}

} // namespace

std::vector<std::uint8_t> Client::Greeting() {
    std::vector<std::uint8_t> out;
    for (std::uint8_t option : {kOptionBinary, kOptionSuppressGoAhead, kOptionComPort}) {
        Push3(out, kWill, option);
        localAsked_.set(option);
    }
    for (std::uint8_t option : {kOptionBinary, kOptionSuppressGoAhead}) {
        Push3(out, kDo, option);
        remoteAsked_.set(option);
    }
    return out;
}

void Client::Parse(const std::uint8_t* bytes, std::size_t size, ServerInput& out) {
    for (std::size_t i = 0; i < size; ++i) {
        Byte(bytes[i], out);
    }
}

void Client::Byte(std::uint8_t b, ServerInput& out) {
    switch (state_) {
    case State::Data:
        if (b == kIac) {
            state_ = State::Iac;
        } else {
            out.data.push_back(b);
        }
        return;
    case State::Iac:
        state_ = State::Data;
        switch (b) {
        case kIac:
            out.data.push_back(kIac);
            break;
        case kWill:
            state_ = State::Will;
            break;
        case kWont:
            state_ = State::Wont;
            break;
        case kDo:
            state_ = State::Do;
            break;
        case kDont:
            state_ = State::Dont;
            break;
        case kSb:
            sb_.clear();
            sbOverflow_ = false;
            state_ = State::Sb;
            break;
        default: // NOP, GA, a stray SE and the other commands carry nothing for a serial port
            break;
        }
        return;
    case State::Will:
    case State::Wont:
    case State::Do:
    case State::Dont: {
        static constexpr std::uint8_t kVerbs[] = {kWill, kWont, kDo, kDont};
        const std::uint8_t verb = kVerbs[static_cast<int>(state_) - static_cast<int>(State::Will)];
        state_ = State::Data;
        Negotiate(verb, b, out);
        return;
    }
    case State::Sb:
        if (b == kIac) {
            state_ = State::SbIac;
        } else if (sb_.size() < kMaxSubnegotiation) {
            sb_.push_back(b);
        } else {
            sbOverflow_ = true;
        }
        return;
    case State::SbIac:
        if (b == kIac) {
            state_ = State::Sb;
            if (sb_.size() < kMaxSubnegotiation) {
                sb_.push_back(kIac);
            } else {
                sbOverflow_ = true;
            }
        } else if (b == kSe) {
            state_ = State::Data;
            if (!sbOverflow_) {
                Subnegotiation(out);
            }
        } else {
            // A command inside a sub-negotiation: the sub-negotiation was cut short; take the command.
            state_ = State::Iac;
            Byte(b, out);
        }
        return;
    }
}

void Client::Negotiate(std::uint8_t verb, std::uint8_t option, ServerInput& out) {
    switch (verb) {
    case kDo:
        if (option == kOptionComPort) {
            comPortAnswered_ = true;
        }
        if (WeOffer(option)) {
            if (!local_[option]) {
                local_.set(option);
                if (!localAsked_[option]) {
                    Push3(out.reply, kWill, option);
                }
            }
            localAsked_.reset(option);
        } else if (!localRefused_[option]) {
            localRefused_.set(option);
            Push3(out.reply, kWont, option);
        }
        break;
    case kDont:
        if (option == kOptionComPort) {
            comPortAnswered_ = true;
        }
        if (local_[option]) {
            local_.reset(option);
            Push3(out.reply, kWont, option);
        }
        localAsked_.reset(option);
        break;
    case kWill:
        if (WeAccept(option)) {
            if (!remote_[option]) {
                remote_.set(option);
                if (!remoteAsked_[option]) {
                    Push3(out.reply, kDo, option);
                }
            }
            remoteAsked_.reset(option);
        } else if (!remoteRefused_[option]) {
            remoteRefused_.set(option);
            Push3(out.reply, kDont, option);
        }
        break;
    case kWont:
        if (remote_[option]) {
            remote_.reset(option);
            Push3(out.reply, kDont, option);
        }
        remoteAsked_.reset(option);
        break;
    default:
        break;
    }
}

void Client::Subnegotiation(ServerInput& out) {
    if (sb_.size() < 2 || sb_[0] != kOptionComPort) {
        return;
    }
    const std::uint8_t command = sb_[1];
    const std::size_t valueSize = sb_.size() - 2;
    const std::uint8_t* value = sb_.data() + 2;
    switch (command) {
    case kServerOffset + kNotifyModemstate:
        if (valueSize >= 1) {
            out.modemStates.push_back(value[0]);
        }
        break;
    case kServerOffset + kNotifyLinestate:
        if (valueSize >= 1) {
            out.lineStates.push_back(value[0]);
        }
        break;
    case kServerOffset + kFlowcontrolSuspend:
        out.suspended = true;
        break;
    case kServerOffset + kFlowcontrolResume:
        out.suspended = false;
        break;
    case kServerOffset + kSetBaudrate:
        if (valueSize >= 4) {
            confirmedBaudrate_ = (std::uint32_t{value[0]} << 24) | (std::uint32_t{value[1]} << 16) |
                                 (std::uint32_t{value[2]} << 8) | value[3];
        }
        break;
    default: // the other confirmations change nothing here
        break;
    }
}

void Client::AppendData(std::vector<std::uint8_t>& out, const std::uint8_t* bytes, std::size_t size) {
    out.reserve(out.size() + size);
    for (std::size_t i = 0; i < size; ++i) {
        out.push_back(bytes[i]);
        if (bytes[i] == kIac) {
            out.push_back(kIac);
        }
    }
}

void Client::AppendCommand(std::vector<std::uint8_t>& out, std::uint8_t command, const std::uint8_t* value,
                           std::size_t size) {
    out.push_back(kIac);
    out.push_back(kSb);
    out.push_back(kOptionComPort);
    out.push_back(command);
    AppendData(out, value, size);
    out.push_back(kIac);
    out.push_back(kSe);
}

void Client::AppendBaudrate(std::vector<std::uint8_t>& out, std::uint32_t rate) {
    const std::uint8_t value[4] = {static_cast<std::uint8_t>(rate >> 24),
                                   static_cast<std::uint8_t>(rate >> 16),
                                   static_cast<std::uint8_t>(rate >> 8), static_cast<std::uint8_t>(rate)};
    AppendCommand(out, kSetBaudrate, value, sizeof value);
}

} // namespace doliva::serial::rfc2217
